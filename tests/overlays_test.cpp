#include "overlays.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "aver_block.h"
#include "checklist.h"
#include "config_tempdir.h"
#include "configmanager.h"
#include "displayitems.h"
#include "editors.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"
#include "keyboard.h"
#include "keyglue.h"
#include "menu.h"
#include "menulinks.h"
#include "page_assets.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "screenkeys.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"
#include "window_probe.h"

namespace {

std::vector<int> Posted;
void RecordPost(int type) { Posted.push_back(type); }

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The overlay state as at start, with quit events recorded instead of posted.
void ResetOverlayState() {
    Keyboard.Clear();
    Keyboard.SetMode(0);
    Keyboard.SetDefaultHandler(DefaultKeyAction);  // as start-up sets it
    PowerOffState = PowerIdle;
    PowerOffCountdown = 0;
    StatusInputFlags[2] = 0;
    OverTempFlag = InstTempShown = 0;
    RuntimeConfigError = MeasureConfigError = StatisticConfigError = FatalSharingError = 0;
    SetupModeActive = 0;
    OverlayScheme = 0;
    CloseMessageBox();
    PopupListAdd(PopupClear, 0, 0);
    Posted.clear();
    PowerOffPostEvent = RecordPost;
    PowerOffSleepMs = nullptr;
}

class OverlayState : public ::testing::Test {
protected:
    void SetUp() override { ResetOverlayState(); }
    void TearDown() override { ResetOverlayState(); }
};

// ---------------------------------------------------------------- power off

using PowerOff = OverlayState;

TEST_F(PowerOff, TheKeyCountsDownFromFiveAndIsNotRestarted) {
    EXPECT_EQ(RequestPowerOff(PowerKey), 0);
    EXPECT_EQ(PowerOffState, PowerKey);
    EXPECT_EQ(PowerOffCountdown, 5);
    EXPECT_EQ(Keyboard.GetMode(), 23) << "every key cancels while it runs";
    PowerOffCountdown = 3;
    RequestPowerOff(PowerKey);
    RequestPowerOff(PowerMainSwitch);
    EXPECT_EQ(PowerOffState, PowerKey);
    EXPECT_EQ(PowerOffCountdown, 3);
    EXPECT_TRUE(Posted.empty());
}

TEST_F(PowerOff, TheMainSwitchCountsTwentyOnlyWhenAllowed) {
    RequestPowerOff(PowerMainSwitch);
    EXPECT_EQ(PowerOffState, PowerKey);
    EXPECT_EQ(PowerOffCountdown, 5);
    RequestPowerOff(PowerCancelled);
    StatusInputFlags[2] = 1;
    RequestPowerOff(PowerMainSwitch);
    EXPECT_EQ(PowerOffState, PowerMainSwitch);
    EXPECT_EQ(PowerOffCountdown, 20);
}

TEST_F(PowerOff, CancelThenPowerBackReturnsToIdle) {
    StatusInputFlags[2] = 1;
    RequestPowerOff(PowerMainSwitch);
    RequestPowerOff(PowerIdle);  // power back during the countdown: cancelled
    EXPECT_EQ(PowerOffState, PowerCancelled);
    EXPECT_EQ(PowerOffCountdown, 0);
    RequestPowerOff(PowerIdle);
    EXPECT_EQ(PowerOffState, PowerIdle);
    EXPECT_EQ(RequestPowerOff(9), -1);
    EXPECT_EQ(RequestPowerOff(-1), -1);
}

TEST_F(PowerOff, AnyKeyCancelsTheCountdownEvenUnderAnAlert) {
    RequestPowerOff(PowerKey);
    OverTempFlag = 1;
    MeasureConfigError = 1;
    BindScreenKeys();
    EXPECT_EQ(Keyboard.GetMode(), 23);
    Keyboard.Dispatch('3');
    EXPECT_EQ(PowerOffState, PowerCancelled);
    EXPECT_NE(Keyboard.GetMode(), 23);
}

int EntertainerScreens = 0;

TEST_F(PowerOff, ACountdownClosesTheEntertainmentScreen) {
    EntertainerScreens = 1;
    MenuLinks.EntertainerOpen = [] { return EntertainerScreens; };
    MenuLinks.DestroyEntertainer = [] { EntertainerScreens = 0; };
    RequestPowerOff(PowerCancelled);
    EXPECT_EQ(EntertainerScreens, 1) << "a cancel leaves the screen";
    RequestPowerOff(PowerKey);
    EXPECT_EQ(EntertainerScreens, 0);
    EXPECT_EQ(Keyboard.GetMode(), 23);
    MenuLinks.EntertainerOpen = nullptr;
    MenuLinks.DestroyEntertainer = nullptr;
}

// The refresh drives the countdown; at zero the statistic and runtime files are
// saved and the quit is posted, once.
class PowerOffRefresh : public AverBlockTest {
protected:
    static void Clock(int64_t* sec, int32_t* usec) {
        *sec = Sec;
        *usec = Usec;
    }
    void SetUp() override {
        AverBlockTest::SetUp();
        ResetOverlayState();
        SubscribeDisplayChannels();
        RefreshClock = Clock;
        Sec = 1700000000;
        Usec = 0;
        LastSecond = 0;
        ShellBusy = 0;
        KeyFlagUntil = INT32_MAX;
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        LoadSetting(nullptr, KindAll, 0);
        InstallOverlayLinks();
    }
    void TearDown() override {
        RefreshClock = nullptr;
        ConfigManager.Release();
        ResetOverlayState();
        AverBlockTest::TearDown();
    }
    void Seconds(int n) {
        for (int i = 0; i < n * 10; ++i) {
            Usec += 100000;
            if (Usec >= 1000000) {
                Usec = 0;
                ++Sec;
            }
            RefreshDisplayData();
        }
    }
    static int64_t Sec;
    static int32_t Usec;
    ConfigTempDir dir;
};
int64_t PowerOffRefresh::Sec = 0;
int32_t PowerOffRefresh::Usec = 0;

TEST_F(PowerOffRefresh, QuitAtZeroSavesMaskThreeOnce) {
    RequestPowerOff(PowerKey);
    Seconds(3);
    EXPECT_EQ(PowerOffState, PowerKey);
    EXPECT_GT(PowerOffCountdown, 0);
    EXPECT_TRUE(Posted.empty());
    Seconds(3);
    EXPECT_EQ(PowerOffState, PowerShutting);
    EXPECT_EQ(Posted, (std::vector<int>{3, 6}));
    EXPECT_TRUE(Exists(dir.Path() + "/statistic.dat"));
    EXPECT_TRUE(Exists(dir.Path() + "/runtime.dat"));
    EXPECT_FALSE(Exists(dir.Path() + "/setup.dat"));
    Seconds(3);
    EXPECT_EQ(Posted, (std::vector<int>{3, 6})) << "the quit is asked for once";
}

// ---------------------------------------------------------------- message box

using MessageBox = OverlayState;

int Dismissed = 0;
void CountDismiss(int) { ++Dismissed; }

TEST_F(MessageBox, OneKeyStaysLiveAndEveryOverlayCloses) {
    UnitsPageShown = 1;
    EngineExtremesShown = 1;
    ChecklistBoxLineCount = 3;
    int32_t v = 0;
    MarkValueEditor(EdRpm, &v);
    GuiMessageBox("Checklist file is not found!", 0, '1', 66, CountDismiss, 0);
    EXPECT_EQ(UnitsPageShown, 0) << "a message box closes the setup page under it";
    EXPECT_EQ(EngineExtremesShown, 0);
    EXPECT_EQ(ChecklistBoxLineCount, 0);
    EXPECT_EQ(ValueEditorMarks[EdRpm].open, 0);
    EXPECT_EQ(MessageBoxShown, 1);
    EXPECT_EQ(MessageBoxStyle, MessageStylePanel);
    EXPECT_EQ(MessageBoxPrompt, 0);
    EXPECT_EQ(SoftKeyHold, 1);
    EXPECT_STREQ(MessageText, "  Checklist file is not found!  ");
    for (char k : std::string("02345adsw")) {
        const EVENT_ITEM* b = Keyboard.FindBinding(KeyCode(k));
        ASSERT_NE(b, nullptr) << k;
        EXPECT_EQ(b->callback, nullptr) << k;
    }
    EXPECT_EQ(std::string(Keyboard.GetKeyLabel('1')), "OK");
    Dismissed = 0;
    Keyboard.Dispatch('1');
    EXPECT_EQ(Dismissed, 1);

    GuiMessageBox("Are you sure?", 1, '4', 53, DismissMessage, 0);
    EXPECT_EQ(MessageBoxPrompt, 1);
    EXPECT_EQ(MessageBoxStyle, MessageStyleRed);
    Keyboard.Dispatch('4');
    EXPECT_EQ(MessageBoxShown, 0);
    EXPECT_EQ(MessageBoxPrompt, 0);
    EXPECT_EQ(SoftKeyHold, 0);
}

TEST_F(MessageBox, NullTextKeepsTheBindingsAndLongTextIsCut) {
    Keyboard.Bind('2', 1, CountDismiss, 7);
    GuiMessageBox(nullptr, 0, '1', 66, DismissMessage, 0);
    EXPECT_EQ(MessageBoxShown, 0);
    ASSERT_NE(Keyboard.FindBinding(KeyCode('2')), nullptr);
    EXPECT_EQ(Keyboard.FindBinding(KeyCode('2'))->callback, CountDismiss);
    const std::string huge(600, 'x');
    GuiMessageBox(huge.c_str(), 1, '1', 66, DismissMessage, 0);
    EXPECT_EQ(std::string(MessageText).size(), MessageTextSize - 1);
}

TEST_F(MessageBox, ConfirmClearsErrorsAndAcknowledgesTheTemperature) {
    OverTempFlag = 1;
    RuntimeConfigError = FatalSharingError = 1;
    EXPECT_TRUE(AlertsPending());
    EXPECT_TRUE(TemperatureAlertUp());
    ConfirmAlerts();
    EXPECT_FALSE(AlertsPending());
    EXPECT_EQ(OverTempFlag, 0);
    EXPECT_EQ(InstTempShown, 1);
}

TEST(OverlayScheme, KindsSetOrToggle) {
    struct Case {
        int before, kind, after;
    } cases[] = {{2, 0, 0}, {0, 1, 1}, {1, 2, 2}, {2, 2, 1}, {0, 2, 1}, {2, 3, 2}, {1, -1, 1}};
    for (const Case& c : cases) {
        OverlayScheme = c.before;
        SetOverlayScheme(c.kind);
        EXPECT_EQ(OverlayScheme, c.after) << c.before << " " << c.kind;
    }
    OverlayScheme = 0;
}

// ---------------------------------------------------------------- refresh helpers

TEST(LimitedValue, TextAndColoursByTheLimits) {
    struct Case {
        int32_t value;
        int32_t limits[4];  // warning low, warning high, alarm low, alarm high
        const char* text;
        int32_t warn, ink;
    } cases[] = {
        {125, {110, 145, 100, 150}, " 12.5 V ", 0, 0xFFFFFF},
        {147, {110, 145, 100, 150}, " 14.7 V ", 0xFCE000, 0},
        {155, {110, 145, 100, 150}, " 15.5 V ", 0xF20000, 0xFFFFFF},
        {105, {110, 145, 100, 150}, " 10.5 V ", 0xFCE000, 0},
        {95, {110, 145, 100, 150}, " 9.5 V ", 0xF20000, 0xFFFFFF},
        {500, {0, 0, 0, 0}, " 50.0 V ", 0, 0xFFFFFF},
        {-9998, {0, 0, 0, 0}, " -999.8 V ", 0, 0xFFFFFF},
        {-9999, {110, 145, 100, 150}, " - - - V ", 0, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        TDisplayItem item{};
        item.warnColour = 123;
        FormatLimitedValue(&item, c.limits, c.value, "V");
        char want[FixTextSize + 8];
        if (c.value > -9999) {
            char number[FixTextSize];
            FixToText(number, c.value, 1);
            std::snprintf(want, sizeof want, " %s V ", number);
        } else {
            std::snprintf(want, sizeof want, "%s", c.text);
        }
        EXPECT_STREQ(item.text, want) << c.value;
        EXPECT_EQ(item.warnColour, c.warn) << c.value;
        EXPECT_EQ(item.textColour, c.ink) << c.value;
        EXPECT_EQ(item.value, ItemHighlight) << "the text is what the box shows";
    }
    FormatLimitedValue(nullptr, nullptr, 0, "V");  // nothing to write into
}

// ---------------------------------------------------------------- "last_status" and the demo file

class LastStatus : public OverlayState {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    void Write(const std::string& text) { std::ofstream(dir.Path() + "/last_status") << text; }
    ConfigTempDir dir;
};

TEST_F(LastStatus, CommentsOnlyLeaveTheKeysAlone) {
    Write("# firmware 1.2\n#\n");
    Keyboard.SetMode(5);
    LoadLastStatus();
    EXPECT_EQ(PopupListActive(1), 0);
    EXPECT_EQ(PopupListActive(2), 0);
    EXPECT_EQ(Keyboard.GetMode(), 5);
}

TEST_F(LastStatus, LinesShowTheListAndConfirmRenamesTheFile) {
    Write("Update OK\n# note\nEngine monitor 2.04\nEFIS 3.10");
    LoadLastStatus();
    EXPECT_EQ(PopupListActive(1), 1);
    ASSERT_EQ(PopupListActive(2), 3);
    EXPECT_STREQ(PopupListLine(0), "Update OK");
    EXPECT_STREQ(PopupListLine(2), "EFIS 3.10");
    EXPECT_EQ(Keyboard.GetMode(), 21);
    EXPECT_EQ(std::string(Keyboard.GetKeyLabel('2')), "Confirm");
    EXPECT_EQ(ConfirmLastStatus(1234567), 1);
    EXPECT_FALSE(Exists("last_status"));
    EXPECT_TRUE(Exists("1234567"));
    EXPECT_EQ(PopupListActive(1), 0);
    EXPECT_EQ(ConfirmLastStatus(1234568), 0) << "nothing shown, nothing renamed";
}

TEST_F(LastStatus, LongFilesStopAtTheListsSize) {
    std::string text;
    for (int i = 0; i < 25; ++i) text += "line " + std::to_string(i) + "\n";
    text += std::string(1500, 'y') + "\nlast\n";
    Write(text);
    LoadLastStatus();
    EXPECT_EQ(PopupListActive(2), PopupListMaxLines);
    EXPECT_STREQ(PopupListLine(20), "line 20");
}

TEST_F(LastStatus, DemoSaveFlagIsTheFilesLength) {
    DrawDemoModeBox(0);
    EXPECT_EQ(DemoSaveFileLength, 0);
    std::ofstream(dir.Path() + "/demosetup.dat") << "0123456789";
    DrawDemoModeBox(0);
    EXPECT_EQ(DemoSaveFileLength, 10);
}

// ---------------------------------------------------------------- painting

class OverlayPaint : public OverlayState {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    void TearDown() override {
        MenuLinks.EntertainerOpen = nullptr;
        OverlayState::TearDown();
    }
    FGPixel At(int x, int y) const { return probe.At(x, y); }
    int Count(int x, int y, int w, int h, FGPixel c) const { return probe.Count(x, y, w, h, c); }
    static constexpr FGPixel Page = 0x305070;
    ProbedWindow probe{Page};
    FGDrawBuffer& window = probe.window;
};

TEST_F(OverlayPaint, TheMessageBoxCoversThePageInEitherScheme) {
    GuiMessageBox("Saved", 0, '1', 66, DismissMessage, 0);
    PaintOverlays(nullptr);
    EXPECT_EQ(At(390, 252), DefaultPanelColour);
    EXPECT_GT(Count(350, 255, 80, 35, 0), 10) << "black text";
    std::vector<FGPixel> solid(window.pixels, window.pixels + 800 * 480);
    window.clear(Page);
    OverlayScheme = 2;
    PaintOverlays(nullptr);
    EXPECT_TRUE(std::equal(solid.begin(), solid.end(), window.pixels)) << "the scheme changes only setup pages";
    EXPECT_EQ(window.get_mode(), DrawModeCopy);
}

TEST_F(OverlayPaint, NothingOverTheEntertainmentScreen) {
    GuiMessageBox("Saved", 1, '1', 66, DismissMessage, 0);
    SetupModeActive = 1;
    MenuLinks.EntertainerOpen = [] { return 1; };
    PaintOverlays(nullptr);
    EXPECT_EQ(Count(0, 0, 800, 480, Page), 800 * 480);
}

TEST_F(OverlayPaint, SetupTagCountdownAndErrorBox) {
    SetupModeActive = 1;
    RequestPowerOff(PowerKey);
    MeasureConfigError = 1;
    PaintOverlays(nullptr);
    SavePageSnapshot(window, "overlays_alerts.bmp");
    EXPECT_EQ(At(785, 14), AlertColour) << "the SETUP MODE tag's box ends at x 790";
    EXPECT_EQ(At(150, 130), AlertColour) << "the configuration error box";
    EXPECT_EQ(At(140, 200), 0u) << "its black outline";
    EXPECT_GT(Count(0, 220, 770, 40, AlertColour), 3000) << "the countdown box";
    RequestPowerOff(PowerCancelled);
    ConfirmAlerts();
    SetupModeActive = 0;
    window.clear(Page);
    PaintOverlays(nullptr);
    EXPECT_EQ(Count(0, 0, 800, 480, Page), 800 * 480);
}

}  // namespace
