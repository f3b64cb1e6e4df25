// The servo, gyro and compass wizards on a fake clock, with the device played by
// writing its answers into the settings store; the compass and autopilot editors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config_tempdir.h"
#include "configmanager.h"
#include "editors.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "wizards.h"

namespace {

int64_t FakeNow = 0;
int64_t FakeClock() { return FakeNow; }

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        FakeNow = 1000000;
        WizardClockMs = FakeClock;
        InstallWizardLinks();
        Keyboard.Clear();
        PopupListAdd(PopupClear, 0, 0);
        Servo = {};
        Gyro = {};
        Compass = {};
        DemoMarker = 0;
    }
    void TearDown() override {
        Gyro = {};
        Servo = {};
        Compass = {};
        Keyboard.Clear();
        CloseMessageBox();
        MainMenu.Show(0);
        PopupListAdd(PopupClear, 0, 0);
        ConfigManager.Release();
    }
    // Every popup line, trimmed, joined by '|'.
    static std::string Popup() {
        std::string all;
        for (int i = 0; i < PopupListActive(2); ++i) {
            std::string line = PopupListLine(i);
            const size_t a = line.find_first_not_of(' '), b = line.find_last_not_of(' ');
            if (a == std::string::npos) continue;
            if (!all.empty()) all += '|';
            all += line.substr(a, b - a + 1);
        }
        return all;
    }
    static bool Shows(const std::string& text) { return Popup().find(text) != std::string::npos; }
    static std::string Label(char key) { return Keyboard.GetKeyLabel(key); }
    // Ticks at a given time after the wizard's last action.
    static void TickAt(int64_t ms) {
        FakeNow = ms;
        WizardTicks();
    }
    // The device answers the servo process record.
    static void ServoAnswer(uint8_t error, uint8_t result) {
        GetSS(SsServoProcess, 0);
        ServoProcess.error = error;
        ServoProcess.status = ServoAnswered;
        ServoProcess.result = result;
        ASSERT_EQ(SetSS(SsServoProcess, 0), 0);
    }
    static void GyroAnswer(uint8_t status, int32_t value) {
        GetSS(SsGyroProcess, 0);
        GyroProcess.status = status;
        GyroProcess.state = GyroStateAnswered;
        GyroProcess.value = value;
        ASSERT_EQ(SetSS(SsGyroProcess, 0), 0);
    }
    // The device answers, the wizard ticks 100 ms later; the request it sends next.
    static int32_t GyroAnswerThenRequest(uint8_t status, int32_t value, int64_t after = 100) {
        GyroAnswer(status, value);
        TickAt(FakeNow + after);
        GetSS(SsGyroProcess, 0);
        return GyroProcess.request;
    }
    static void CompassAnswer(int8_t status, uint16_t flags) {
        GetSS(SsCompass, 0);
        CompassSetting.calibStatus = status;
        CompassSetting.calibFlags = static_cast<uint16_t>(CompassSetting.calibFlags | flags);
        ASSERT_EQ(SetSS(SsCompass, 0), 0);
    }
    ConfigTempDir dir;
};

// ---- servo wizard ----

TEST_F(WizardTest, ServoStartTimesOutAtTenSecondsAndNeverEarlier) {
    ServoWizard(1);
    EXPECT_TRUE(Shows("Servo Detection"));
    EXPECT_TRUE(Shows("The device initiate process. Wait please."));
    EXPECT_EQ(Label('5'), "Cancel");
    GetSS(SsServoProcess, 0);
    EXPECT_EQ(ServoProcess.process, ServoDetection);
    EXPECT_EQ(ServoProcess.command, ServoCmdStart);
    const int64_t start = FakeNow;
    // One block at the start of the wait and one more for every second.
    TickAt(start + 2500);
    EXPECT_NE(Popup().find(std::string(3, '\xA0')), std::string::npos);
    EXPECT_EQ(Popup().find(std::string(4, '\xA0')), std::string::npos);
    TickAt(start + ServoStartWaitMs - 1);
    EXPECT_FALSE(Shows("Timeout expired."));
    TickAt(start + ServoStartWaitMs);
    EXPECT_TRUE(Shows("Timeout expired."));
    EXPECT_EQ(Label('4'), "Repeat");
    EXPECT_EQ(Label('5'), "Confirm");
    GetSS(SsServoProcess, 0);
    EXPECT_EQ(ServoProcess.command, ServoCmdEnd);
    EXPECT_EQ(ServoProcess.step, ServoDetection + 7);
    // Repeat starts again; Confirm returns to the servo setup page.
    Keyboard.Dispatch('4');
    EXPECT_TRUE(Shows("The device initiate process. Wait please."));
    Keyboard.Dispatch('5');
    EXPECT_TRUE(MainMenu.open);
    EXPECT_EQ(MainMenu.CurrentPage(), PageServoSetup);
    EXPECT_EQ(ServoSetupShown, 1);
    EXPECT_EQ(PopupListActive(2), 0);
}

TEST_F(WizardTest, ServoStepWaitIsThirtySeconds) {
    ServoWizard(2);
    ServoAnswer(1, 0);
    WizardTicks();
    EXPECT_TRUE(Shows("in the FORWARD LEFT position."));
    EXPECT_EQ(Label('4'), "OK");
    Keyboard.Dispatch('4');
    const int64_t start = FakeNow;
    GetSS(SsServoProcess, 0);
    EXPECT_EQ(ServoProcess.command, ServoCmdNext);
    EXPECT_EQ(ServoProcess.step, ServoCalibration + 2);
    TickAt(start + ServoStepWaitMs - 1);
    EXPECT_FALSE(Shows("Timeout expired."));
    TickAt(start + ServoStepWaitMs);
    EXPECT_TRUE(Shows("Timeout expired."));
}

TEST_F(WizardTest, ServoStaleAnswerNeverEndsAWait) {
    // An answer left in the record from an earlier run.
    ServoProcess.error = 1;
    ServoProcess.status = ServoAnswered;
    ASSERT_EQ(SetSS(SsServoProcess, 0), 0);
    ServoWizard(1);
    WizardTicks();
    EXPECT_TRUE(Shows("The device initiate process. Wait please.")) << Popup();
    ServoAnswer(1, 0);
    WizardTicks();
    EXPECT_TRUE(Shows("to the Forward.")) << Popup();
    // The next step's request clears the answer again.
    Keyboard.Dispatch('4');
    WizardTicks();
    EXPECT_FALSE(Shows("to the Backward."));
}

TEST_F(WizardTest, ServoResultCodesGiveTheirTexts) {
    struct Case {
        uint8_t result;
        const char* text;
    } cases[] = {
        {1, "Some servo has not been detected."},
        {5, "problem persists, check wire connection of servos.)"},
        {2, "There are no selected servos in menu Servo Setup."},
        {6, "At first set available servos to \"Installed\" in menu Servo Setup."},
        {3, "No servos have been detected for communication."},
        {7, "Check wire connection of servos."},
        {4, "Servo detection has failed, follow the instructions."},
        {8, "Deflection Calibration has failed, follow the instructions."},
        {9, "Error of calibration has occured."},
        {10, "Error of servo communication has occured."},
        {11, "Process went wrong."},
        {0, "Process went wrong."},
    };
    for (const Case& c : cases) {
        ServoWizard(1);
        ServoAnswer(2, c.result);
        WizardTicks();
        EXPECT_TRUE(Shows(c.text)) << int(c.result) << ": " << Popup();
        EXPECT_FALSE(Shows("Timeout expired."));
        EXPECT_EQ(Label('4'), "Repeat");
    }
}

TEST_F(WizardTest, ServoDetectionSuccessReadsTheDetectedServos) {
    ServoSetting[0].servoId = 0x1234;
    ServoSetting[1].servoId = 0x5678;
    ServoWizard(1);
    EXPECT_FALSE(ServoDetected(0));
    ServoAnswer(1, 0);
    WizardTicks();
    for (int wait = 13; wait <= 19; wait += 2) {
        ASSERT_EQ(Label('4'), "OK") << wait;
        Keyboard.Dispatch('4');
        GetSS(SsServoProcess, 0);
        EXPECT_EQ(ServoProcess.step, ServoDetection + (wait - 11) / 2 + 1);
        ServoAnswer(1, 0);
        WizardTicks();
    }
    // Step 20 goes straight into the final wait.
    EXPECT_TRUE(Shows("The device complete process. Wait please."));
    GetSS(SsServoProcess, 0);
    EXPECT_EQ(ServoProcess.step, ServoDetection + 6);
    // The device fills its servo records and reports the step done.
    for (int i = 0; i < 2; ++i) {
        ApCommand3[i].reserved[ServoRecId] = i == 0 ? 0x5678 : 0x1234;
        ApCommand3[i].reserved[ServoRecSlip] = 10 + i;
        ASSERT_EQ(SetSS(SsServoRecord, static_cast<uint16_t>(i)), 0);
    }
    ServoAnswer(1, 0);
    WizardTicks();
    EXPECT_TRUE(Shows("Process done succesfully.")) << Popup();
    EXPECT_EQ(Label('4'), "");
    EXPECT_EQ(DetectedServoCount, 2);
    EXPECT_TRUE(ServoDetected(0));
    EXPECT_TRUE(ServoDetected(1));
    EXPECT_EQ(DetectedServo[1].slip, 11);
    // The slip editor edits the record of the pitch servo (matched by its id).
    SlipEditor(0);
    EXPECT_EQ(Editor.minimum, 0);
    EXPECT_EQ(Editor.maximum, 100);
    EXPECT_EQ(*Editor.value, 11);
    Keyboard.Dispatch('w');
    Keyboard.Dispatch('5');
    ApCommand3[1] = {};
    GetSS(SsServoRecord, 1);
    EXPECT_EQ(ApCommand3[1].reserved[ServoRecSlip], 12);
    EXPECT_EQ(MainMenu.CurrentPage(), PagePitchServo);
}

TEST_F(WizardTest, ServoTestPassedMarksTheRecords) {
    ServoWizard(3);
    ServoAnswer(1, 0);
    WizardTicks();
    EXPECT_TRUE(Shows("Release the Control Wheel Steering. Device will work itself."));
    for (int state = 13; state <= 19; state += 2) {
        Keyboard.Dispatch('4');
        EXPECT_TRUE(Shows("Keep loose the Control Wheel Steering.")) << state;
        ServoAnswer(1, 0);
        WizardTicks();
    }
    EXPECT_TRUE(Shows("Is the Control Wheel Steering located in the Right position?"));
    Keyboard.Dispatch('4');
    EXPECT_TRUE(Shows("Process done succesfully."));
    ApCommand5 = {};
    ApCommand3[0] = ApCommand3[1] = {};
    GetSS(SsServoPass, 0);
    GetSS(SsServoRecord, 0);
    GetSS(SsServoRecord, 1);
    EXPECT_EQ(ApCommand5.reserved[0] & 1, 1);
    EXPECT_EQ(ApCommand3[0].reserved[ServoRecFlags] & 1, 1);
    EXPECT_EQ(ApCommand3[1].reserved[ServoRecFlags] & 1, 1);
    GetSS(SsServoProcess, 0);
    EXPECT_EQ(ServoProcess.step, ServoTest + 6);
    // Cancel from a later run ends the process and returns to the deflection page.
    ServoWizard(3);
    Keyboard.Dispatch('5');
    GetSS(SsServoProcess, 0);
    EXPECT_EQ(ServoProcess.command, ServoCmdEnd);
    EXPECT_EQ(MainMenu.CurrentPage(), PageServoDeflection);
    EXPECT_EQ(Servo.next, 0);
}

TEST(ProgressLine, GrowsOneBlockPerSecondUpToThirty) {
    char line[64];
    for (auto [ms, blocks] : {std::pair<int64_t, int>{0, 1}, {999, 1}, {1000, 2}, {28999, 29}, {29000, 30}, {90000, 30}}) {
        ProgressLine(line, ms);
        EXPECT_EQ(std::strlen(line), 14u + blocks) << ms;
        EXPECT_EQ(std::string(line, 14), std::string(14, ' '));
        EXPECT_EQ(line[14], '\xA0');
    }
}

// ---- gyro stabilisation ----

TEST_F(WizardTest, GyroWaitsTwoSecondsForItsAnswerBeforeFailing) {
    StartGyroStabilisation();
    WizardTicks();
    EXPECT_TRUE(Shows("Gyro stabilization"));
    EXPECT_EQ(Label('4'), "Yes");
    Keyboard.Dispatch('4');
    EXPECT_TRUE(Shows("Calibration will begin after 25 sec")) << Popup();
    const int64_t countdown = FakeNow;
    TickAt(countdown + GyroCountdownMs - 1);
    EXPECT_TRUE(Shows("Calibration will begin after 1 sec")) << Popup();
    TickAt(countdown + GyroCountdownMs);
    GetSS(SsGyroProcess, 0);
    EXPECT_EQ(GyroProcess.request, GyroReqStart);
    EXPECT_EQ(GyroProcess.sent, 1);
    const int64_t sent = FakeNow;
    // No answer yet: the start request is not failed on the next tick.
    TickAt(sent + 100);
    TickAt(sent + GyroAnswerWaitMs - 1);
    EXPECT_FALSE(Shows("Timeout exceeded."));
    EXPECT_FALSE(Shows("internal error"));
    TickAt(sent + GyroAnswerWaitMs);
    EXPECT_TRUE(Shows("Timeout exceeded.")) << Popup();
    EXPECT_EQ(Label('5'), "Repeat");
    EXPECT_EQ(Label('4'), "Cancel");
    Keyboard.Dispatch('4');
    EXPECT_TRUE(Shows("The process of gyro calibration was cancelled."));
    Keyboard.Dispatch('4');
    EXPECT_EQ(Gyro.active, 0);
    EXPECT_EQ(PopupListActive(2), 0);
}

TEST_F(WizardTest, GyroRunsToSuccessOneRequestAtATime) {
    StartGyroStabilisation();
    WizardTicks();
    Keyboard.Dispatch('4');
    TickAt(FakeNow + GyroCountdownMs);
    GyroAnswer(GyroStatusOk, 0);
    TickAt(FakeNow + 100);
    EXPECT_EQ(Gyro.state, TGyroState::Running);
    GetSS(SsGyroProcess, 0);
    EXPECT_EQ(GyroProcess.request, GyroReqProgress);
    // The progress answer arrives late but inside its limit; the stillness check is due.
    const int64_t entered = FakeNow;
    GyroAnswer(GyroStatusOk, 4000);
    TickAt(entered + GyroStillPeriodMs);
    EXPECT_TRUE(Shows("Wait until the process is completed ( 50 %)")) << Popup();
    GetSS(SsGyroProcess, 0);
    EXPECT_EQ(GyroProcess.request, GyroReqStill);
    // While the stillness request waits, no progress request replaces it.
    TickAt(FakeNow + 100);
    GetSS(SsGyroProcess, 0);
    EXPECT_EQ(GyroProcess.request, GyroReqStill);
    EXPECT_EQ(GyroAnswerThenRequest(GyroStatusOk, 1), GyroReqProgress);
    EXPECT_EQ(GyroAnswerThenRequest(GyroStatusOk, 8000), GyroReqFinish);
    GyroAnswer(GyroStatusOk, 0);
    TickAt(FakeNow + 100);
    EXPECT_TRUE(Shows("Process completed successfully."));
    Keyboard.Dispatch('4');
    EXPECT_EQ(Gyro.active, 0);
}

TEST_F(WizardTest, GyroStillnessFailureAndRefusal) {
    StartGyroStabilisation();
    WizardTicks();
    Keyboard.Dispatch('4');
    TickAt(FakeNow + GyroCountdownMs);
    EXPECT_EQ(GyroAnswerThenRequest(GyroStatusOk, 0), GyroReqProgress);
    ASSERT_EQ(GyroAnswerThenRequest(GyroStatusOk, 100, GyroStillPeriodMs), GyroReqStill);
    EXPECT_EQ(GyroAnswerThenRequest(GyroStatusOk, 0), GyroReqEnd);
    GyroAnswer(GyroStatusOk, 0);
    TickAt(FakeNow + 100);
    EXPECT_TRUE(Shows("did not remain still")) << Popup();
    Keyboard.Dispatch('5');  // Repeat
    EXPECT_TRUE(Shows("Gyro stabilization with auto calibration is required."));
    // No counts a refusal in the gyro settings.
    const int16_t before = GyroSetting.refusals;
    Keyboard.Dispatch('5');
    EXPECT_EQ(GyroSetting.refusals, before + 1);
    GyroSetting = {};
    GetSS(SsGyro, 0);
    EXPECT_EQ(GyroSetting.refusals, before + 1);
    EXPECT_TRUE(Shows("was cancelled"));
}

TEST_F(WizardTest, GyroNeverRunsInDemoMode) {
    StartGyroStabilisation();
    DemoMarker = DemoMarkerValue;
    WizardTicks();
    EXPECT_EQ(PopupListActive(2), 0);
    DemoMarker = 0;
    WizardTicks();
    EXPECT_TRUE(Shows("Gyro stabilization"));
}

// ---- compass calibration ----

TEST_F(WizardTest, CompassNeedsTheBuildInSetting) {
    CompassSetting.mounting = 0;
    CompassCalibration(CompassOpen);
    EXPECT_TRUE(Shows("Calibration do not continue before adjustment setting."));
    EXPECT_EQ(Label('5'), "Confirm");
}

TEST_F(WizardTest, CompassStepTimesOutAtThirtySeconds) {
    CompassSetting.mounting = 9;
    CompassCalibration(CompassOpen);
    EXPECT_TRUE(Shows("Align the airplane pointing magnetic North as closely as possible."));
    Keyboard.Dispatch('4');
    const int64_t start = FakeNow;
    GetSS(SsCompass, 0);
    EXPECT_EQ(CompassSetting.calibStep, 1);
    TickAt(start + CompassStepWaitMs - 1);
    EXPECT_FALSE(Shows("Communication timeout."));
    TickAt(start + CompassStepWaitMs);
    EXPECT_TRUE(Shows("Communication timeout.")) << Popup();
    EXPECT_TRUE(Shows("and/or Corvix Bus connection."));
    EXPECT_EQ(Label('4'), "Repeat");
    GetSS(SsCompass, 0);
    EXPECT_EQ(CompassSetting.calibStep, 0);
}

TEST_F(WizardTest, CompassStatusCodesGiveTheirTexts) {
    struct Case {
        int8_t status;
        int step;  // the step at which the device answers
        const char* text;
    } cases[] = {
        {-1, 1, "Wrong installation of the Remote Compass."},
        {-2, 1, "Communication error."},
        {-3, 1, "Hard iron affecting to the Remote Compass."},
        {-4, 1, "Calibration failed. Error number: -4"},
        {0, 2, "Communication timeout."},
    };
    for (const Case& c : cases) {
        CompassSetting.mounting = 1;
        CompassCalibration(CompassOpen);
        Keyboard.Dispatch('4');
        if (c.step == 2) {
            CompassAnswer(1, CompassStepAck);
            WizardTicks();  // step 1 passes straight on to step 2
            GetSS(SsCompass, 0);
            ASSERT_EQ(CompassSetting.calibStep, 2);
        }
        CompassAnswer(c.status, 0);
        WizardTicks();
        EXPECT_TRUE(Shows(c.text)) << int(c.status) << ": " << Popup();
    }
}

TEST_F(WizardTest, CompassRunsThroughItsStepsAndChecksTheDoneFlag) {
    for (bool done : {true, false}) {
        CompassSetting.mounting = 17;
        // A stale success in the stored record must not end the first wait.
        CompassSetting.calibStatus = 6;
        CompassSetting.calibFlags = CompassStepAck | CompassDoneBit;
        ASSERT_EQ(SetSS(SsCompass, 0), 0);
        CompassCalibration(CompassOpen);
        Keyboard.Dispatch('4');
        WizardTicks();
        EXPECT_FALSE(Shows("Calibration has been done."));
        EXPECT_EQ(Compass.next, 1);
        for (int status = 1; status <= 6; ++status) {
            CompassAnswer(static_cast<int8_t>(status), CompassStepAck | (status == 6 && done ? CompassDoneBit : 0));
            WizardTicks();
            if (status == 1) {
                EXPECT_EQ(CompassSetting.calibStep, 2);
            }
            if (status >= 2 && status <= 4) {
                static const char* const Dirs[] = {"West", "South", "East"};
                EXPECT_TRUE(Shows(Dirs[status - 2])) << Popup();
                Keyboard.Dispatch('4');
            }
            if (status == 5) {
                EXPECT_TRUE(Shows("Checking calibration."));
            }
        }
        EXPECT_EQ(Shows("Calibration has been done."), done) << Popup();
        EXPECT_EQ(Shows("Wrong calibration!"), !done) << Popup();
    }
}

// ---- degree-and-minute editing ----

TEST(DegMin, StepsCarryThroughTheMinutes) {
    struct Case {
        int32_t degMin, delta, expect;
    } cases[] = {
        {1200, -1, 1159}, {-1159, -1, -1200}, {1159, 1, 1200}, {-1200, 1, -1159},
        {0, -1, -1}, {-1, 1, 0}, {1259, 10, 1309}, {0, 100, 100}, {8947, -1000, 7947},
    };
    for (const Case& c : cases) {
        const int32_t h = StepDegMin(HundredthsOf(c.degMin), c.delta);
        EXPECT_EQ(DegMinOf(h), c.expect) << c.degMin << " + " << c.delta;
    }
    // Every minute survives the trip through hundredths, as the editor shows it.
    for (int32_t v = -8959; v <= 8959; ++v) {
        if (v % 100 >= 60 || v % 100 <= -60) continue;
        ASSERT_EQ(DegMinOf(HundredthsOf(v)), v);
    }
}

TEST_F(WizardTest, CompassEditorAsksWhenCalibratedAndStoresOnOk) {
    CompassSetting.declination = 1200;
    CompassSetting.calibFlags = CompassCalibMask;
    CompassEditor(1);
    EXPECT_EQ(MessageBoxPrompt, 1);
    EXPECT_EQ(Label('4'), "Yes");
    EXPECT_EQ(Label('5'), "No");
    Keyboard.Dispatch('4');
    ASSERT_EQ(ValueEditorMarks[EdAngle].open, 1);
    Keyboard.Dispatch('s');
    EXPECT_EQ(DegMinOf(*Editor.value), 1159);
    Keyboard.Dispatch('5');
    CompassSetting.declination = 0;
    GetSS(SsCompass, 0);
    EXPECT_EQ(DegMinOf(CompassSetting.declination), 1159);
    EXPECT_EQ(MainMenu.CurrentPage(), PageCompassSettings);
    // Cancel keeps the stored value; the total field has its own bounds.
    CompassSetting.calibFlags = 0;
    const int32_t field = CompassSetting.totalField;
    CompassEditor(3);
    EXPECT_EQ(MessageBoxPrompt, 0);
    EXPECT_EQ(Editor.maximum, TotalFieldMax);
    Keyboard.Dispatch('w');
    Keyboard.Dispatch('4');
    EXPECT_EQ(CompassSetting.totalField, field);
    GetSS(SsCompass, 0);
    EXPECT_EQ(CompassSetting.totalField, field);
}

// ---- autopilot editors ----

TEST_F(WizardTest, AutopilotEditorsStoreInTheirUnits) {
    AutopilotSetting.maxBank = 2000;  // 20.0 degrees in hundredths
    ApParamEditor(382);
    EXPECT_EQ(Editor.minimum, 50);
    EXPECT_EQ(Editor.maximum, 300);
    EXPECT_EQ(*Editor.value, 200);
    Keyboard.Dispatch('w');
    Keyboard.Dispatch('5');
    AutopilotSetting = {};
    GetSS(0x401B, 0);
    EXPECT_EQ(AutopilotSetting.maxBank, 2010);
    EXPECT_EQ(MainMenu.CurrentPage(), PageRollAxis);

    struct Case {
        int16_t unit;
        int32_t maximum;
        int16_t stored;  // tenths of km/h after one coarse step up from 0
    } cases[] = {{0, 2430, 18}, {1, 2794, 16}, {2, 4500, 10}};
    for (const Case& c : cases) {
        UnitsSetting.airspeed = c.unit;
        AutopilotSetting.maxSpeed = 0;
        ApParamEditor(391);
        EXPECT_EQ(Editor.maximum, c.maximum);
        Keyboard.Dispatch('w');  // one whole unit
        Keyboard.Dispatch('5');
        AutopilotSetting = {};
        GetSS(0x401B, 0);
        EXPECT_EQ(AutopilotSetting.maxSpeed, c.stored) << c.unit;
    }
    AutopilotSetting.rollSensitivity = 30;  // out of range: the editor opens inside its bounds
    ApParamEditor(379);
    EXPECT_EQ(*Editor.value, 24);
    Keyboard.Dispatch('4');
    EXPECT_EQ(MainMenu.CurrentPage(), PageRollAxis);
}

}  // namespace
