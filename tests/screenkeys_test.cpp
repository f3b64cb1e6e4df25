// The screen's soft keys, the COMM and transponder controls and the default key actions,
// over a real settings store in a temporary folder.
#include "screenkeys.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>

#include "limiteditors.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "softkey_fixture.h"
#include "statusbar.h"

namespace {

int64_t FakeSeconds = 1000000;
void FakeClock(int64_t* sec, int32_t* usec) {
    *sec = FakeSeconds;
    *usec = 0;
}

std::string Label(char key) { return KeyLabelOf(key); }
std::string Message() { return ShownMessage(); }
void Press(const char* keys) { PressKeys(keys); }

class ScreenKeysTest : public SoftKeyFixture {
protected:
    void SetUp() override {
        SoftKeyFixture::SetUp();
        RefreshClock = FakeClock;
        for (TDevicePort& p : DevicePort) p.flags = 0;
    }
    void TearDown() override {
        PowerOffState = 0;
        OverTempFlag = 0;
        FatalSharingError = 0;
        DemoBannerShown = 0;
        AutopilotActive = 0;
        XpdrReplying = nullptr;
        SoftKeyFixture::TearDown();
    }
    static void Radios(bool comm, bool xpdr) {
        DevicePort[CommPortSub - 1].flags = comm ? PortConnected : 0;
        DevicePort[XpdrPortSub - 1].flags = xpdr ? PortConnected : 0;
    }
};

}  // namespace

// ---------------------------------------------------------------- frequencies

TEST(FrequencySteps, ChannelsAndWraps) {
    struct Row { int32_t from; int cursor; int spacing25, up; int32_t high; int32_t to; } rows[] = {
        {118000000, 3, 1, 0, CommBandHigh, 136000000},   // the band wraps at the MHz digit
        {136950000, 3, 1, 1, CommBandHigh, 118950000},
        {127300000, 3, 0, 1, CommBandHigh, 128300000},
        {121500000, 1, 1, 0, CommBandHigh, 121475000},   // 25 kHz down lands on the channel
        {121475000, 1, 1, 1, CommBandHigh, 121500000},
        {121500000, 2, 1, 1, CommBandHigh, 121525000},   // cursor 2 steps channels at 25 kHz
        {118975000, 1, 1, 1, CommBandHigh, 118000000},   // the MHz is kept
        {118000000, 1, 1, 0, CommBandHigh, 118975000},
        {121591667, 1, 0, 1, CommBandHigh, 121500000},   // 8.33 kHz wraps within the 100 kHz block
        {121500000, 1, 0, 0, CommBandHigh, 121591667},
        {121508333, 0, 0, 1, CommBandHigh, 121516667},
        {121516667, 0, 0, 0, CommBandHigh, 121508333},
        {118950000, 2, 0, 1, CommBandHigh, 118050000},   // the 100 kHz digit wraps within the MHz
        {118050000, 2, 0, 0, CommBandHigh, 118950000},
        {136975000, 1, 1, 1, CommMemoryHigh, 136000000},
        {136975000, 1, 0, 1, CommMemoryHigh, 136975000},  // past the memories' limit: no step
    };
    for (const Row& r : rows)
        EXPECT_EQ(StepFrequency(r.from, r.cursor, r.spacing25, r.up, CommBandLow, r.high), r.to)
            << r.from << " cursor " << r.cursor << (r.up ? " up" : " down");
}

TEST(FrequencySteps, EveryChannelStaysOnTheGridInTheBand) {
    static const int32_t eight[12] = {0, 8333, 16667, 25000, 33333, 41667, 50000, 58333, 66667, 75000, 83333, 91667};
    const std::set<int32_t> grid833(std::begin(eight), std::end(eight));
    for (int32_t f = CommBandLow; f <= 136975000; f += 25000)
        for (int up = 0; up < 2; ++up) {
            const int32_t n = StepFrequency(f, 1, 1, up, CommBandLow, CommBandHigh);
            ASSERT_EQ(n % 25000, 0) << f;
            ASSERT_EQ(n / 1000000, f / 1000000) << f;
            ASSERT_EQ(StepFrequency(n, 1, 1, !up, CommBandLow, CommBandHigh), f) << f;
        }
    for (int32_t block = CommBandLow; block < 137000000; block += 100000)
        for (int32_t offset : eight)
            for (int up = 0; up < 2; ++up) {
                const int32_t f = block + offset, n = StepFrequency(f, 0, 0, up, CommBandLow, CommBandHigh);
                ASSERT_EQ(n / 100000 * 100000, block) << f;
                ASSERT_TRUE(grid833.count(n - block)) << f << " -> " << n;
                ASSERT_EQ(StepFrequency(n, 0, 0, !up, CommBandLow, CommBandHigh), f) << f;
            }
}

// ---------------------------------------------------------------- squawk

TEST(Squawk, DigitsWrapWithinOctalWithoutCarry) {
    struct Row { int32_t code; int cursor, up; int32_t to; } rows[] = {
        {7000, 3, 1, 0}, {0, 3, 0, 7000}, {1277, 0, 1, 1270}, {1270, 0, 0, 1277},
        {1234, 1, 1, 1244}, {1274, 1, 1, 1204}, {7777, 2, 1, 7077}, {0, 5, 1, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(StepSquawkDigit(r.code, r.cursor, r.up), r.to) << r.code << " " << r.cursor;
    EXPECT_EQ(PackSquawk(7700), 0x7700);
    EXPECT_EQ(UnpackSquawk(0x1200), 1200);
    EXPECT_EQ(UnpackSquawk(0x9A89), 7777);  // digits from a file never exceed 7
    EXPECT_EQ(PackSquawk(9999), 0x7777);
    EXPECT_EQ(VfrSquawkLabel(0x1200), 101);
    EXPECT_EQ(VfrSquawkLabel(0x7000), 102);
    EXPECT_EQ(VfrSquawkLabel(0x7700), 0);
}

TEST_F(ScreenKeysTest, EmergencyCodeAsksAndYesOrNoDecide) {
    struct Row { uint16_t code; char key; uint16_t stored; int editorOpen; } rows[] = {
        {0x7700, '4', 0x7700, 0},  // Yes sets it
        {0x7700, '5', 0x1200, 1},  // No keeps the old code and reopens the editor on the rejected one
        {0x7500, '4', 0x7500, 0},
        {0x2345, 0, 0x2345, 0},    // any other code is set at once
    };
    for (const Row& r : rows) {
        XpdrRuntime.squawk = 0x1200;
        SetSS(0x200D, 0);
        SquawkCodeEditor(EditorCmdOpen);
        EditValue = UnpackSquawk(r.code);
        Keyboard.Dispatch('5');  // "Set"
        if (r.key) {
            EXPECT_NE(Message().find("squawk code?"), std::string::npos) << r.code;
            EXPECT_EQ(Label('4'), "Yes");
            EXPECT_EQ(Label('5'), "No");
            Keyboard.Dispatch(r.key);
        }
        EXPECT_EQ(XpdrRuntime.squawk, r.stored) << r.code;
        EXPECT_EQ(SquawkEditorState, r.editorOpen) << r.code;
        if (r.editorOpen) EXPECT_EQ(EditValue, UnpackSquawk(r.code));
        SquawkEditorState = 0;
    }
}

TEST_F(ScreenKeysTest, SquawkEditorKeysStepAndMoveTheCursor) {
    XpdrRuntime.squawk = 0x7000;
    SquawkCodeEditor(EditorCmdOpen);
    EXPECT_EQ(Editor.cursor, 3);
    Press("w");                  // 7 up gives 0
    EXPECT_EQ(EditValue, 0);
    Press("s1w1w");              // 0 down gives 7, then the next two digits up
    EXPECT_EQ(EditValue, 7110);
    Press("11s");                // from the rightmost back to the leftmost: 7 down is 6
    EXPECT_EQ(EditValue, 6110);
    Press("5");
    EXPECT_EQ(XpdrRuntime.squawk, 0x6110);
}

TEST_F(ScreenKeysTest, IdentHoldEndsOnlyWhenTheReplyIsOverOrUnreadable) {
    static int replying = 1;
    XpdrReplying = [] { return replying; };
    XpdrRuntime.mode = 1;
    XpdrRuntime.ident = 0;
    StartIdent(0);
    EXPECT_EQ(XpdrRuntime.mode, 2);
    EXPECT_EQ(XpdrRuntime.ident, 1);
    EXPECT_EQ(IdentHold, 1 * 256 + 5);
    for (int i = 0; i < 6; ++i) RefreshHooks.XpdrIdentTick();
    EXPECT_EQ(IdentHold, 1 * 256 + 1);  // counted down, still replying
    replying = 0;
    RefreshHooks.XpdrIdentTick();
    EXPECT_EQ(IdentHold, 0);
    EXPECT_EQ(XpdrRuntime.mode, 1);
    EXPECT_EQ(XpdrRuntime.ident, 0);
    // Without a readable status (no reader) the hold ends as well.
    XpdrReplying = nullptr;
    StartIdent(0);
    for (int i = 0; i < 5; ++i) SetXpdrMode(-2);
    EXPECT_EQ(XpdrRuntime.mode, 1);
    EXPECT_EQ(IdentHold, 0);
}

// ---------------------------------------------------------------- COMM

TEST_F(ScreenKeysTest, SwapAndRecall) {
    CommRuntime.active = 121500000;
    CommRuntime.standby = 118000000;
    CommRuntime.memoryIndex = 3;
    SwapActiveStandby(0);
    EXPECT_EQ(CommRuntime.active, 118000000);
    EXPECT_EQ(CommRuntime.standby, 121500000);
    EXPECT_EQ(CommRuntime.memoryIndex, 255);
    EXPECT_EQ(access("runtime.dat", F_OK), 0);

    FreqMemorySetting[2].frequency = 122800000;
    FreqMemorySetting[4].frequency = 0;
    struct Row { int index; int result; int32_t active; } rows[] = {
        {4, 0, 118000000}, {10, 0, 118000000}, {-1, 0, 118000000}, {2, 1, 122800000},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(RecallFrequencyMemory(r.index), r.result) << r.index;
        EXPECT_EQ(CommRuntime.active, r.active) << r.index;
    }
    EXPECT_EQ(CommRuntime.standby, 118000000);
    EXPECT_EQ(CommRuntime.memoryIndex, 2);
}

TEST_F(ScreenKeysTest, StandbyEditorFromTheCommPanel) {
    Radios(true, true);
    FreqStepSetting.step = 1;
    CommRuntime.standby = 118000000;
    OpenCommPanel(0);
    EXPECT_EQ(Keyboard.GetMode(), 28);
    EXPECT_EQ(Label('0'), "Volume");
    EXPECT_EQ(FreqEditorShown, 1);
    Press("1");               // "Set SBY"
    EXPECT_EQ(Editor.cursor, 3);
    Press("s");               // 118 down wraps to 136
    EXPECT_EQ(EditValue, 136000000);
    Press("1s");              // the channel digit: 136.000 down keeps the MHz
    EXPECT_EQ(EditValue, 136975000);
    Press("5");
    EXPECT_EQ(CommRuntime.standby, 136975000);
    EXPECT_EQ(Keyboard.GetMode(), 28);
}

TEST_F(ScreenKeysTest, VolumeAndSquelchCancelRestoreAndNeverLeaveTheirRange) {
    CommRuntime.volume = 1;
    VolumeEditor(EditorCmdOpen);
    Press("dd");              // 1 - 2 - 2 stays at 0
    EXPECT_EQ(CommRuntime.volume, 0);
    Press("3");               // Cancel
    EXPECT_EQ(CommRuntime.volume, 1);
    EXPECT_EQ(PercentSlider1Shown, 0);
    VolumeEditor(EditorCmdOpen);
    for (int i = 0; i < 60; ++i) Keyboard.Dispatch('a');
    EXPECT_EQ(CommRuntime.volume, 100);
    Press("0");               // stored
    EXPECT_EQ(CommRuntime.volume, 100);

    CommRuntime.squelchLevel = 41;
    SquelchThresholdEditor(EditorCmdOpen);
    Press("w");
    EXPECT_EQ(CommRuntime.squelchLevel, 42);
    Press("4");               // Cancel
    EXPECT_EQ(CommRuntime.squelchLevel, 41);
    const int squelch = CommRuntime.squelch & 1;
    ToggleSquelch(0);
    EXPECT_EQ(CommRuntime.squelch & 1, !squelch);
    EXPECT_EQ(OneSecondCountdown[CountdownSquelch], 3);
}

TEST_F(ScreenKeysTest, MemoryLabelCyclesAndBlanksStoreEmpty) {
    char c = '\0';
    for (int i = 0; i < 39; ++i) c = LabelCharNext(c);
    EXPECT_EQ(c, '\0');  // 39 symbols, wrapping
    EXPECT_EQ(LabelCharNext('\0'), ' ');
    EXPECT_EQ(LabelCharPrev('\0'), 'Z');
    EXPECT_EQ(LabelCharNext('9'), 'A');

    memset(FreqMemorySetting[2].label, 0, 8);
    memcpy(FreqMemorySetting[2].label, "AB", 2);
    MemorySelection = 3;
    MemoryLabelEditor(EditorCmdOpen);
    EXPECT_STREQ(ValueEditorMarks[EdTextField].text, "AB      ");
    Press("w1s");             // A -> B, then B -> A on the second character
    EXPECT_STREQ(ValueEditorMarks[EdTextField].text, "BA      ");
    Press("5");
    EXPECT_EQ(std::string(FreqMemorySetting[2].label, 8), std::string("BA\0\0\0\0\0\0", 8));
    EXPECT_EQ(MemorySelection, -1);
    EXPECT_EQ(MemoryFieldsShown, 1);  // back on the memory list with its page
    EXPECT_EQ(MainMenu.CurrentPage(), PageMemoryFields);

    memcpy(FreqMemorySetting[2].label, "12345678", 8);
    MemorySelection = 3;
    MemoryLabelEditor(EditorCmdOpen);
    for (int i = 0; i < 8; ++i) {
        // Each character down to the blank: digits step back past '-' to the blank.
        while (ValueEditorMarks[EdTextField].text[i] != ' ') Keyboard.Dispatch('s');
        Keyboard.Dispatch('1');
    }
    Press("5");
    EXPECT_EQ(std::string(FreqMemorySetting[2].label, 8), std::string(8, '\0'));
}

// ---------------------------------------------------------------- the screen's keys

TEST(ScreenModes, InstrumentScreenTable) {
    struct Row { int type, mask, r, camera, mode; } rows[] = {
        {1, 0x04, 0, 0, 15}, {1, 0x01, 0, 0, 16}, {2, 0x40, 0, 0, 1}, {2, 0x0C, 0, 0, 2},
        {3, 0x80, 1, 0, 10}, {3, 0x80, 0, 0, 5}, {3, 0x00, 1, 0, 4}, {3, 0x40, 0, 1, 7}, {3, 0x40, 1, 0, 11},
        {4, 0x10, 1, 0, 14}, {4, 0x00, 0, 0, 3}, {4, 0x40, 1, 1, 12}, {5, 0x10, 0, 0, 9}, {5, 0x80, 1, 0, 10},
        {5, 0x00, 0, 0, 3}, {6, 0x40, 0, 0, 6}, {6, 0x10, 1, 0, 14}, {7, 0xFF, 0, 0, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(InstrumentScreenMode(r.type, r.mask, r.r, r.camera), r.mode) << r.type << " " << r.mask;
}

TEST_F(ScreenKeysTest, BindScreenKeysByStateRadiosAndRole) {
    struct Row {
        const char* what;
        int screen, setup, role, comm, xpdr, fatal, powerOff, overTemp, mode;
        const char* label3;
        int page;  // menu page after the binder (0: not checked)
    } rows[] = {
        {"flight, both radios", 2, 0, 1, 1, 1, 0, 0, 0, 1, "COM/XPDR", 2},
        {"flight, COMM", 2, 0, 1, 1, 0, 0, 0, 0, 1, "COMM", 3},
        {"flight, XPDR", 2, 0, 1, 0, 1, 0, 0, 0, 1, "XPDR", 4},
        {"flight, none", 2, 0, 1, 0, 0, 0, 0, 0, 1, "", 1},
        {"engine, both", 1, 0, 1, 1, 1, 0, 0, 0, 15, "COM/XPDR", 11},
        {"setup engine installer", 1, 1, 1, 0, 0, 0, 0, 0, 18, "Only Exit", 19},
        {"setup flight user", 2, 1, 4, 0, 0, 0, 0, 0, 19, "Only Exit", 16},
        {"fatal sharing error", 2, 0, 1, 1, 1, 1, 0, 0, 22, "", 0},
        {"temperature alert", 2, 0, 1, 1, 1, 0, 0, 1, 21, "", 0},
        {"countdown beats the alert", 2, 0, 1, 1, 1, 0, 3, 1, 23, "Cancel", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ScreenType = r.screen;
        SetupModeActive = static_cast<uint8_t>(r.setup);
        SetupRole = r.role;
        Radios(r.comm, r.xpdr);
        FatalSharingError = r.fatal;
        PowerOffState = r.powerOff;
        OverTempFlag = r.overTemp;
        Keyboard.Bind('0', 0, MainMenuKeys, 0);  // a stale binding the binder must drop
        BindScreenKeys();
        EXPECT_EQ(Keyboard.GetMode(), r.mode);
        EXPECT_EQ(Label('3'), r.label3);
        if (r.page) EXPECT_EQ(MainMenu.CurrentPage(), r.page);
        if (r.fatal) {
            EXPECT_EQ(Label('5'), "Update FW");
            EXPECT_EQ(Label('4'), "Pwr off");
        } else if (r.mode != 21 && r.mode != 23) {
            EXPECT_EQ(Keyboard.FindBinding(KeyCode('0')), nullptr);
        }
    }
    // The restricted role keeps no setup menu and no save.
    FatalSharingError = PowerOffState = OverTempFlag = 0;
    ScreenType = ScreenFlight;
    SetupModeActive = 1;
    SetupRole = RoleRestricted;
    BindScreenKeys();
    EXPECT_EQ(Label('1'), "");
    EXPECT_EQ(Label('2'), "");
    EXPECT_EQ(Label('3'), "Only Exit");
    EXPECT_EQ(Label('4'), "Data Port");
    // The autopilot key on a flight page with the flight capability.
    SetupModeActive = 0;
    BindScreenKeys();
    EXPECT_EQ(Label('2'), "AP");
    AutopilotActive = 1;
    BindScreenKeys();
    EXPECT_EQ(Label('2'), "AP FN");
}

TEST(ScreenSelect, StepsOverTheCapabilityMasks) {
    struct Row { int type, command, caps, strip, to; } rows[] = {
        {2, 1, 0x1F, 0, 3}, {2, 1, 0x1F, 2, 5}, {3, 1, 0x1F, 0, 1}, {5, 1, 0x1F, 2, 1}, {1, 1, 0x1F, 0, 2},
        {1, 2, 0x1F, 0, 3},   // 0 becomes the split layout
        {2, 2, 0x1F, 0, 1}, {4, 2, 0x1F, 1, 2},
        {4, 2, 0x13, 1, 1},   // no flight page: 2 becomes 1
        {2, 2, 0x1C, 1, 4},   // no engine page: 1 becomes the split layout
        {4, 2, 0x12, 1, 4},   // neither: back to the split layout
    };
    for (const Row& r : rows)
        EXPECT_EQ(NextScreenType(r.type, r.command, r.caps, r.strip), r.to)
            << r.type << " cmd " << r.command << " caps " << r.caps;
}

// Every mode with every key: nothing crashes, and each key reaches what its row says.
TEST_F(ScreenKeysTest, KeyMapOverEveryModeAndKey) {
    Radios(true, true);
    LayoutCaps = 0x1F;
    for (int mode = 1; mode <= 29; ++mode)
        for (const char* k = AllKeys; *k; ++k) {
            SetUp();
            Radios(true, true);
            ScreenType = mode >= 15 && mode <= 16 ? ScreenEngine : ScreenFlight;
            SetupModeActive = mode >= 17 && mode <= 20;
            Keyboard.Clear();
            Keyboard.SetMode(mode);
            const int screenWord = DisplaySetting.screenWord;
            DefaultKeyAction(mode, KeyCode(*k));
            char row[160];
            snprintf(row, sizeof row, "%d%c menu=%d page=%d mode=%d msg=%s", mode, *k, MainMenu.open,
                     MainMenu.CurrentPage(), Keyboard.GetMode(), Message().substr(0, 24).c_str());
            SCOPED_TRACE(row);
            if (mode == 10 && *k == '3') EXPECT_EQ(DisplaySetting.screenWord, screenWord);
            if (mode == 10 && *k == '2') EXPECT_NE(DisplaySetting.screenWord & 0x600, screenWord & 0x600);
            if (mode == 1 && *k == '1') EXPECT_TRUE(MainMenu.open && MainMenu.CurrentPage() == PageFlightMainCommXpdr);
            if (mode == 1 && *k == '0')
                EXPECT_TRUE(MainMenu.open && MainMenu.left && MainMenu.CurrentPage() == PageHeadingBugs);
            if (mode == 1 && *k == '5') EXPECT_EQ(Label('5'), "Next");
            if (mode == 15 && *k == '2') EXPECT_EQ(Label('3'), "Start/Stop");
            if (mode == 15 && *k == '4') EXPECT_EQ(EngineExtremesShown, 1);
            if (mode == 17 && *k == '1')
                EXPECT_TRUE(MainMenu.open && MainMenu.CurrentPage() == PageSetupInstallerFlight);
            if (mode == 17 && *k == '2')
                EXPECT_EQ(Message(), "Are you sure you want to save configuration and exit setup?");
            if (mode == 17 && *k == '3')
                EXPECT_EQ(Message(), "Are you sure you want to exit setup without saving changes?");
            if (mode == 23) EXPECT_EQ(PowerOffState, 1);
            if (mode == 28 && *k == '1') EXPECT_EQ(FreqEditorShown, 1);
            if (mode == 29 && *k == '3') EXPECT_EQ(XpdrRuntime.mode, 2);
            if (mode == 2 && *k == '5') EXPECT_EQ(Label('5'), "Next");
            if (mode == 16 && (*k == 'a' || *k == '0')) EXPECT_FALSE(MainMenu.open);
            if (mode == 1 && (*k == 's' || *k == 'w')) EXPECT_EQ(BaroEditActive, 1);
            BaroEditActive = 0;
            IdentHold = 0;
            XpdrRuntime.ident = 0;
            TearDown();
        }
}

TEST_F(ScreenKeysTest, MenuDeadlineOnTheRefreshClockAndTimerKeys) {
    FakeSeconds = 2000000;
    MainMenuKeys(-1);
    EXPECT_EQ(MenuCloseTime, 2000005);
    EXPECT_EQ(MenuOpen, 1);
    MainMenuKeys(0);
    EXPECT_EQ(MenuOpen, 0);

    ScreenType = ScreenEngine;
    BindScreenKeys();
    Press("2");
    EXPECT_EQ(Label('2'), "Back");
    EXPECT_EQ(Label('4'), "Reset");
    FlightTimerRunning = 0;
    FlightTimerSeconds = 77;
    Press("3");
    EXPECT_EQ(FlightTimerRunning, 1);
    Press("4");
    EXPECT_EQ(FlightTimerSeconds, 0);
    Press("2");
    EXPECT_EQ(Keyboard.GetMode(), 15);
    EXPECT_EQ(Label('2'), "Timer");
}

TEST(KeyGlue, BoreSightSteps) {
    struct Row { int32_t from; int up; int32_t to; } rows[] = {
        {1, 0, 0}, {-49, 0, -50}, {-50, 0, -50}, {0, 0, -2}, {49, 1, 50}, {50, 1, 50}, {-50, 1, -48},
    };
    for (const Row& r : rows) EXPECT_EQ(BoreSightStep(r.from, r.up), r.to) << r.from;
}

TEST_F(ScreenKeysTest, DeleteValuesResetsTheShownStatistics) {
    for (int shown = 0; shown < 2; ++shown) {
        FlightStatistics.speed = {300, 10};
        EngineStatistics.rpm = {5000, 100};
        EngineStatistics.egtMax[0] = 700;
        EngineExtremesShown = shown == 0;
        FlightExtremesShown = shown == 1;
        ScreenType = ScreenFlight;  // the shown overlay decides, not the screen type
        ConfirmDeleteStatistics(1);
        EXPECT_EQ(Message(), "Are you sure you want to delete statistics?");
        Press("4");
        if (shown == 0) {
            EXPECT_EQ(EngineStatistics.rpm.max, INT32_MIN);
            EXPECT_EQ(EngineStatistics.egtMax[0], INT32_MIN);
            EXPECT_EQ(FlightStatistics.speed.max, 300);
        } else {
            EXPECT_EQ(FlightStatistics.speed.min, INT32_MAX);
            EXPECT_EQ(EngineStatistics.rpm.max, 5000);
        }
        EXPECT_EQ(Label('5'), "Delete values");
        EXPECT_EQ(MessageBoxShown, 0);
    }
}

TEST_F(ScreenKeysTest, AutopilotNeverTakesAMissingHeadingAsItsBug) {
    // Without a reader every channel is missing.
    DisplaySetting.hdgBug = 123;
    AutopilotRuntime.headingTarget = 12300;
    OperApApAxis = 3;
    Keyboard.SetMode(26);
    DefaultKeyAction(26, KeyCode('2'));
    EXPECT_EQ(Message(), "Bug was not changed, due to compass error!");
    EXPECT_EQ(DisplaySetting.hdgBug, 123);
    EXPECT_EQ(AutopilotRuntime.headingTarget, 12300);
    EXPECT_EQ(AutopilotActive, 0);
    OperApApAxis = 0;
}

// The refresh's soft-key time-out takes the volume slider with its keys; the radio editors,
// opened from a panel that holds the keys, keep theirs and their edit for Set.
TEST_F(ScreenKeysTest, TheKeyTimeOutClosesTheVolumeSliderAndKeepsTheRadioEditors) {
    Radios(true, false);
    const int last = LastSecond;
    for (int which = 0; which < 3; ++which) {
        BindScreenKeys();
        if (which == 0) VolumeEditor(EditorCmdOpen);
        if (which == 1) SquawkCodeEditor(EditorCmdOpen);
        if (which == 2) StandbyFreqEditor(EditorCmdOpen);
        EXPECT_TRUE(PercentSlider1Shown || ValueEditorMarks[EdSquawk].open || ValueEditorMarks[EdRadioFrequency].open);
        if (which) Press("w");  // an edit under way
        const int32_t edited = EditValue;
        KeyFlagUntil = 0;  // the keys' five seconds have passed
        LastSecond = static_cast<int>(FakeSeconds);
        RefreshDisplayData();
        EXPECT_EQ(PercentSlider1Shown, 0) << which;
        EXPECT_EQ(ValueEditorMarks[EdSquawk].open, which == 1) << which;
        EXPECT_EQ(ValueEditorMarks[EdRadioFrequency].open, which == 2) << which;
        EXPECT_EQ(Keyboard.FindBinding(KeyCode('s')) != nullptr, which != 0) << which;
        if (!which) continue;
        EXPECT_EQ(EditValue, edited) << which;
        Press("5");  // "Set"
        if (which == 1) EXPECT_EQ(XpdrRuntime.squawk, PackSquawk(edited));
        if (which == 2) EXPECT_EQ(CommRuntime.standby, edited);
    }
    LastSecond = last;
}
