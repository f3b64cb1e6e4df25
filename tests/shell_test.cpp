// The shell's hooks: screen selection, the refresh-period rule, the idle
// restart, the queued-event hook, the main window's keys and pictures, and the
// start-up steps that need no window.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "configmanager.h"
#include "enginepage.h"
#include "fgbase.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgwindow.h"
#include "file_io.h"
#include "flighthsi.h"
#include "hkutils.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "startup.h"
#include "trace_capture.h"

namespace {

// Shell state back to a device that allows everything, outside demo mode.
void ResetShell() {
    ScreenType = 0;
    SetupModeActive = 0;
    DemoMarker = 0;
    DisplaySetting.screenWord = 0;
    TerrainViewOn = 0;
    Entertainer = nullptr;
    LayoutCaps = 0x1F;
    FunctionBits = 3;
    RefreshPeriod = 50;
    RefreshPending = 0;
    ShellBusy = 0;
    DemoBannerShown = 0;
    DemoIdleCountdown = -1;
    MainWindow = nullptr;
}

// Which capabilities a layout needs.
bool Allowed(int kind, int caps) {
    const bool flight = caps & 0x04;
    switch (kind) {
        case 1: return caps & 0x01;
        case 2: return flight;
        case 3: return (flight || (caps & 0x10)) && (caps & (0x01 | 0x10));
        case 4: return flight && (caps & 0x80);
        case 5: return flight && (caps & 0x40);
        default: return false;
    }
}

// A settings store over the current directory, loaded as at start-up.
void StartStore() {
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.Store()->SetSleep([](uint32_t) {});
    ConfigManager.SetSleep([](uint32_t) {});
    ConfigManager.Store()->SetOwner(0);
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
}

}  // namespace

// ---- screen selection ----

TEST(SelectScreen, EveryCapabilityCombinationSettlesOnAnAllowedLayout) {
    const int bits[5] = {0x01, 0x04, 0x10, 0x40, 0x80};
    for (int combo = 0; combo < 32; ++combo) {
        int caps = 0;
        for (int b = 0; b < 5; ++b)
            if (combo & (1 << b)) caps |= bits[b];
        for (int kind = 0; kind <= 7; ++kind) {
            for (int setup = 0; setup < 2; ++setup) {
                const int got = ChooseScreen(kind, caps, setup != 0);
                SCOPED_TRACE(testing::Message() << "caps " << caps << " kind " << kind << " setup " << setup);
                EXPECT_TRUE(got == 0 || Allowed(got, caps)) << got;
                EXPECT_NE(got, 6);
                if (setup && (caps & 0x05)) {
                    EXPECT_LE(got, 2);
                }
                // A layout that is allowed is taken as asked (outside setup mode).
                if (!setup && kind >= 1 && kind <= 5 && Allowed(kind, caps)) {
                    EXPECT_EQ(got, kind);
                }
                // Something is always found while the engine or the flight page is allowed.
                if ((caps & 0x05) && kind >= 1 && kind <= 6) {
                    EXPECT_NE(got, 0);
                }
            }
        }
    }
}

TEST(SelectScreen, TransitionalKindAndFallBacks) {
    EXPECT_EQ(ChooseScreen(6, 0x04 | 0x10, false), 3);
    EXPECT_EQ(ChooseScreen(6, 0x04 | 0x01, false), 3);
    EXPECT_EQ(ChooseScreen(6, 0x04 | 0x80, false), 4);
    EXPECT_EQ(ChooseScreen(6, 0x04 | 0x40, false), 5);
    // 6, 3, 4, 5, 3: from the fourth pass on the flight page is taken.
    EXPECT_EQ(ChooseScreen(6, 0x04, false), 2);
    for (int kind = 1; kind <= 6; ++kind) EXPECT_EQ(ChooseScreen(kind, 0x01, false), 1) << kind;
    EXPECT_EQ(ChooseScreen(5, 0x1F, true), 2);
    EXPECT_EQ(ChooseScreen(5, 0x01 | 0x10, true), 1);
    EXPECT_EQ(ChooseScreen(3, 0, false), 0);
    // An unknown kind is carried along until the fourth pass turns it into the flight page.
    EXPECT_EQ(ChooseScreen(9, 0x1F, false), 2);
}

TEST(SelectScreen, SwitchClearsTheWindowAndSetsTheLayoutState) {
    ResetShell();
    FGDrawBuffer win(800, 480, FG_TYPE_BITMAP, 0x123456);
    win.clear(0x123456);
    MainWindow = &win;
    LayoutCaps = 0x9F;
    SelectScreen(4);
    EXPECT_EQ(ScreenType, 4);
    EXPECT_EQ(StripIndex, 1);
    EXPECT_EQ(SavedScreenType, 4);
    EXPECT_EQ(LayoutReady, 1);
    EXPECT_EQ(RepaintEnabled, 1);
    EXPECT_EQ(ShellBusy, 0);
    EXPECT_EQ(win.pixels[0], 0u);
    EXPECT_EQ(win.pixels[479 * 800 + 799], 0u);
    EXPECT_EQ(RefreshPeriod, 100);

    // A kind that nothing allows leaves the layout and only sets the period.
    win.clear(0x123456);
    LayoutCaps = 0;
    FunctionBits = 0;
    SelectScreen(5);
    EXPECT_EQ(ScreenType, 4);
    EXPECT_EQ(win.pixels[0], 0x123456u);
    ResetShell();
}

// ---- refresh period ----

TEST(RefreshPeriod, FirstRuleThatApplies) {
    ResetShell();
    ScreenType = 1;
    EXPECT_EQ(RefreshPeriodRule(), 100);
    TerrainViewOn = 1;
    EXPECT_EQ(RefreshPeriodRule(), 100);  // the engine page has no terrain
    ScreenType = 2;
    EXPECT_EQ(RefreshPeriodRule(), 125);
    TerrainViewOn = 0;
    DisplaySetting.screenWord = RuntimeFlag0;
    EXPECT_EQ(RefreshPeriodRule(), 100);  // flag 0 counts only for the split layouts
    ScreenType = 3;
    EXPECT_EQ(RefreshPeriodRule(), 110);
    DisplaySetting.screenWord = 0;
    EXPECT_EQ(RefreshPeriodRule(), 100);
    SetupModeActive = 1;
    EXPECT_EQ(RefreshPeriodRule(), 110);
    TerrainViewOn = 1;
    EXPECT_EQ(RefreshPeriodRule(), 125);
    Entertainer = reinterpret_cast<CPanel*>(&ScreenType);  // only its presence is read
    EXPECT_EQ(RefreshPeriodRule(), 150);
    SetTimerPeriod();
    EXPECT_EQ(RefreshPeriod, 150);
    ResetShell();
}

// ---- idle hook ----

TEST(IdleHook, RestartsAfterFourSilentSecondsOnly) {
    ResetShell();
    int64_t nowMs = 1000000;
    SetShellClock([&] { return nowMs; });
    ResetIdleWatch();
    FGTimer timer(0, nullptr);
    RefreshTimer = &timer;
    LastRefreshTime = 500;

    IdleHook(nullptr);  // first sight
    RefreshPending = 2;
    ShellBusy = 1;
    nowMs += 3900;
    IdleHook(nullptr);
    EXPECT_EQ(RefreshPending.load(), 2);
    EXPECT_EQ(ShellBusy, 1);

    // Refreshes keep coming: no restart however long the run.
    for (int i = 0; i < 10; ++i) {
        nowMs += 1000;
        ++LastRefreshTime;
        IdleHook(nullptr);
    }
    EXPECT_EQ(RefreshPending.load(), 2);

    // Four seconds without one: the lost pending refreshes are forgotten.
    nowMs += 4000;
    IdleHook(nullptr);
    EXPECT_EQ(RefreshPending.load(), 0);
    EXPECT_EQ(ShellBusy, 0);

    // The next restart waits another four seconds.
    RefreshPending = 1;
    nowMs += 100;
    IdleHook(nullptr);
    EXPECT_EQ(RefreshPending.load(), 1);
    nowMs += 4000;
    IdleHook(nullptr);
    EXPECT_EQ(RefreshPending.load(), 0);

    // A wall clock set back does not silence the watch: only changes count.
    LastRefreshTime -= 3600;
    RefreshPending = 2;
    nowMs += 10;
    IdleHook(nullptr);
    EXPECT_EQ(RefreshPending.load(), 2);

    RefreshTimer = nullptr;
    SetShellClock(nullptr);
    ResetShell();
}

// The pause between two idle passes lasts until the watch falls due (keys and
// refreshes end it at once), never longer than 100 ms.
TEST(IdleHook, PauseLastsUntilTheWatchFallsDue) {
    ResetShell();
    int64_t nowMs = 50000;
    SetShellClock([&] { return nowMs; });
    ResetIdleWatch();
    EXPECT_EQ(IdlePauseMs(), 100);  // nothing seen yet
    LastRefreshTime = 7;
    IdleHook(nullptr);  // the watch starts at 50000
    const struct {
        int64_t at;
        int pause;
    } rows[] = {{50000, 100}, {53850, 100}, {53950, 50}, {53999, 1}, {54000, 0}, {60000, 0}};
    for (const auto& row : rows) {
        nowMs = row.at;
        EXPECT_EQ(IdlePauseMs(), row.pause) << row.at;
    }
    SetShellClock(nullptr);
    ResetShell();
}

TEST(IdleHook, WithoutTimerOnlyClearsTheBusyFlag) {
    ResetShell();
    int64_t nowMs = 0;
    SetShellClock([&] { return nowMs; });
    ResetIdleWatch();
    IdleHook(nullptr);
    RefreshPending = 2;
    ShellBusy = 1;
    nowMs += 5000;
    IdleHook(nullptr);
    EXPECT_EQ(ShellBusy, 0);
    EXPECT_EQ(RefreshPending.load(), 2);
    SetShellClock(nullptr);
    ResetShell();
}

// ---- queued events and keys ----

TEST(QueuedEvent, RefreshKeyCountsDownPendingNeverBelowZero) {
    ResetShell();
    FGEvent e{};
    e.type = 1;
    e.key = KeyRefresh;
    RefreshPending = 2;
    OnQueuedEvent(&e);
    EXPECT_EQ(RefreshPending.load(), 1);
    OnQueuedEvent(&e);
    OnQueuedEvent(&e);
    EXPECT_EQ(RefreshPending.load(), 0);
    e.type = 9;  // only the key field counts
    RefreshPending = 1;
    EXPECT_EQ(OnQueuedEvent(&e), 0);
    EXPECT_EQ(RefreshPending.load(), 0);
    EXPECT_EQ(OnQueuedEvent(nullptr), 0);
}

class DemoResetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShell();
        StartStore();
        old = PrintHook;
        PrintHook = CaptureLine;
        TracedLines.clear();
        WriteTextFile("setup.dat", "instrument setup");
        WriteTextFile("runtime.dat", "instrument runtime");
        WriteTextFile("demosetup.dat", "demo setup");
        WriteTextFile("demoruntime.dat", "demo runtime");
    }
    void TearDown() override {
        PrintHook = old;
        ConfigManager.Release();
        ResetShell();
    }
    ConfigTempDir dir;
    TPrintHook old = nullptr;
};

TEST_F(DemoResetTest, ResetKeyOutsideDemoModeKeepsTheInstrumentsFiles) {
    FGEvent e{};
    e.type = 1;
    e.key = KeyDemoReset;
    OnQueuedEvent(&e);
    EXPECT_EQ(FileText("setup.dat"), "instrument setup");
    EXPECT_EQ(FileText("runtime.dat"), "instrument runtime");
    EXPECT_NE(DemoMarker, DemoMarkerValue);
    for (const auto& l : TracedLines) EXPECT_EQ(l.find("DEMO is being reset"), std::string::npos);
}

TEST_F(DemoResetTest, ResetKeyInDemoModeReloadsTheDemo) {
    DemoMarker = DemoMarkerValue;
    DemoModelCode = 27;
    DemoIdleCountdown = 12;
    FGEvent e{};
    e.key = KeyDemoReset;
    OnQueuedEvent(&e);
    EXPECT_EQ(FileText("setup.dat"), "demo setup");
    EXPECT_EQ(FileText("runtime.dat"), "demo runtime");
    ASSERT_FALSE(TracedLines.empty());
    EXPECT_EQ(TracedLines[0], "DEMO is being reset\n");
    EXPECT_EQ(DemoMarker, DemoMarkerValue);
    EXPECT_EQ(DemoIdleCountdown, -1);
    EXPECT_EQ(SetupModeActive, 0);
}

TEST(MainWindowKeys, KeyArmsTheDemoCountdownAtLeastThirtySeconds) {
    ResetShell();
    FGEvent e{};
    e.type = FGE_KEY;
    e.key = '1';
    DemoSetting.resetTime = 10;
    KeyPressed = 0;
    OnMainWindowEvent(nullptr, &e);
    EXPECT_EQ(DemoIdleCountdown, 30);
    EXPECT_EQ(KeyPressed, 1);
    EXPECT_GE(KeyFlagUntil, static_cast<int>(time(nullptr)) + 4);
    DemoSetting.resetTime = 90;
    OnMainWindowEvent(nullptr, &e);
    EXPECT_EQ(DemoIdleCountdown, 90);
    // While the demo message shows, keys do not arm it; key 0 does nothing.
    DemoIdleCountdown = -1;
    DemoBannerShown = 1;
    OnMainWindowEvent(nullptr, &e);
    EXPECT_EQ(DemoIdleCountdown, -1);
    DemoBannerShown = 0;
    KeyPressed = 0;
    e.key = 0;
    OnMainWindowEvent(nullptr, &e);
    EXPECT_EQ(KeyPressed, 0);
    EXPECT_EQ(DemoIdleCountdown, -1);
    DemoSetting.resetTime = 0;
    ResetShell();
}

// ---- pictures and fonts of a run folder ----

class RunFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        old = PrintHook;
        PrintHook = CaptureLine;
        TracedLines.clear();
        std::string cmd = "cp -r '" RUN_DIR "/Data' '" + dir.Path() + "/Data'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
    void TearDown() override {
        PrintHook = old;
        FreeMainPictures();
    }
    bool Said(const std::string& text) const {
        for (const auto& l : TracedLines)
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
    ConfigTempDir dir;
    TPrintHook old = nullptr;
};

TEST_F(RunFolderTest, EveryPictureLoadsWithItsKey) {
    FGEvent e{};
    e.type = FGE_OPENED;
    OnMainWindowEvent(nullptr, &e);
    for (int i = 0; i < MainPictureCount; ++i) {
        ASSERT_NE(MainPictures[i], nullptr) << MainPictureFiles[i].file;
        const TPictureKeying k = MainPictureFiles[i].keying;
        EXPECT_EQ(MainPictures[i]->get_colorkey() == PageKeyColour, k != PictureOpaque) << MainPictureFiles[i].file;
        EXPECT_EQ(MainPictures[i]->get_mode() == 9u, k == PictureKeyed) << MainPictureFiles[i].file;
    }
    EXPECT_EQ(PicDigits, MainPictures[PicCisliceFont]);
    EXPECT_EQ(EngineBackground, nullptr);
    EXPECT_TRUE(TracedLines.empty());
    e.type = FGE_CLOSING;
    OnMainWindowEvent(nullptr, &e);
    EXPECT_EQ(MainPictures[0], nullptr);
    EXPECT_EQ(PicDigits, nullptr);
}

TEST_F(RunFolderTest, MissingAndDamagedFilesAreNamedAndLeftOut) {
    ASSERT_EQ(remove("Data/3dkompas.tga"), 0);
    WriteTextFile("Data/kompas.gif", "GIF89a\x01");
    WriteTextFile("Data/cisliceFont.tga", std::string(7, '\xff'));
    LoadMainPictures();
    EXPECT_EQ(MainPictures[Pic3dKompas], nullptr);
    EXPECT_EQ(MainPictures[PicKompas], nullptr);
    EXPECT_EQ(MainPictures[PicCisliceFont], nullptr);
    EXPECT_EQ(PicDigits, nullptr);
    EXPECT_NE(MainPictures[Pic3dTlak], nullptr);
    EXPECT_TRUE(Said("Data/3dkompas.tga"));
    EXPECT_TRUE(Said("Data/kompas.gif"));
    EXPECT_TRUE(Said("Data/cisliceFont.tga"));

    ASSERT_EQ(remove("Data/euromode_19b.fnt"), 0);
    WriteTextFile("Data/euromode_25b.fnt", "short");
    const int registered = RegisterDisplayFonts();
    EXPECT_EQ(registered, DisplayFontCount - 2);
    EXPECT_EQ(DisplayFonts[FontEuromode19], -1);
    EXPECT_EQ(DisplayFonts[FontEuromode25], -1);
    EXPECT_GE(DisplayFonts[FontLucidaConsole16], 9);
    EXPECT_TRUE(Said("Data/euromode_19b.fnt"));
    EXPECT_TRUE(Said("Data/euromode_25b.fnt"));
}

// ---- start-up steps ----

// The palette's colours reach the item tables; the white warning colours the
// tables hold in a few strip rows stay.
TEST(StartUpSteps, ItemColourDefaults) {
    BuildDisplayPalette();
    NavStripItems[2].warnColour = GpsStripItems[4].alarmColour = GpsStripItems[19].warnColour = 0xFFFFFF;
    SetItemColourDefaults();
    const TDisplayPalette& p = DisplayPalette;
    EXPECT_EQ(uint32_t(PageItems[10].alarmColour), p.PalRed);
    EXPECT_EQ(uint32_t(PageItems[51].alarmColour), p.PalRed);
    EXPECT_NE(uint32_t(PageItems[52].alarmColour), p.PalRed);
    EXPECT_EQ(uint32_t(PageItems[79].warnColour), p.PalRed);
    EXPECT_EQ(uint32_t(PageItems[30].textColour), p.PalSkyBlue);
    EXPECT_EQ(uint32_t(NavStripItems[3].textColour), p.PalNavGreen);
    EXPECT_EQ(uint32_t(NavStripItems[3].warnColour), p.PalNavGreen);
    EXPECT_EQ(NavStripItems[2].warnColour, 0xFFFFFF);
    EXPECT_EQ(uint32_t(GpsStripItems[19].alarmColour), p.PalGpsBlue);
    EXPECT_EQ(GpsStripItems[19].warnColour, 0xFFFFFF);
    EXPECT_EQ(GpsStripItems[4].alarmColour, 0xFFFFFF);
}

TEST(StartUpSteps, GpsBitSquawkPresetAndStartTime) {
    DevicePort[1].protocol = 2;
    SelectGpsStatusBit();
    EXPECT_EQ(GpsStatusBit, 4);
    DevicePort[1].protocol = 1;
    SelectGpsStatusBit();
    EXPECT_EQ(GpsStatusBit, 1);
    DevicePort[1].protocol = 0;

    ConfigTempDir dir;
    StartStore();
    for (uint16_t code : {0x1200, 0x7000}) {
        VfrCodeSetting.code = code;
        CheckVfrSquawkPreset();
        EXPECT_EQ(VfrCodeSetting.code, code);
    }
    VfrCodeSetting.code = 0x1234;
    CheckVfrSquawkPreset();
    EXPECT_EQ(VfrCodeSetting.code, 0x7000);
    VfrCodeSetting.code = 0;
    ASSERT_EQ(GetSS(0x4020, 0), 0);
    EXPECT_EQ(VfrCodeSetting.code, 0x7000);  // stored, not only set
    ConfigManager.Release();

    TakeStartTime(1700000000123456LL);
    EXPECT_EQ(StartTimeSec, 1700000000);
    EXPECT_EQ(StartTimeUsec, 123456);
}

TEST(StartUpSteps, UnknownLastScreenStartsOnOneAndIsSavedAtOnce) {
    ConfigTempDir dir;
    StartStore();
    for (int last : {0, 7, 63}) {
        ResetShell();
        SCOPED_TRACE(last);
        remove("runtime.dat");
        DisplaySetting.screenWord = RuntimeFlag0 | last;
        StartScreen();
        EXPECT_EQ(ScreenType, 1);
        EXPECT_EQ(DisplaySetting.screenWord, RuntimeFlag0 | 1);
        EXPECT_EQ(access("runtime.dat", F_OK), 0);
        EXPECT_NE(access("setup.dat", F_OK), 0);
    }
    ResetShell();
    remove("runtime.dat");
    LayoutCaps = 0x5F;
    DisplaySetting.screenWord = 5;
    StartScreen();
    EXPECT_EQ(ScreenType, 5);
    EXPECT_NE(access("runtime.dat", F_OK), 0);
    ConfigManager.Release();
    ResetShell();
}
