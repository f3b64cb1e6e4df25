// Setup wizards (servo detection and deflection, compass calibration, gyro) and the
// autopilot/compass setting editors. The wizards talk to the devices only through their
// command settings and poll the answers on every refresh tick; each request clears the
// answer fields it waits on, so that an answer left from before never counts.
#pragma once

#include <cstdint>

// A servo found by the servo detection.
struct TDetectedServo {
    int32_t servoId;
    int32_t slip;   // percent
    uint8_t flags;  // bit 0 deflection calibrated
};
extern TDetectedServo DetectedServo[2];
extern int DetectedServoCount;  // 0..2
// Compass-calibration bits that count as calibrated (start-up and the compass calibration set them).
extern uint16_t CompassCalibMask;

// Servo wizards on 0x6006: 1 detection, 2 deflection calibration, 3 deflection test.
void ServoWizard(int32_t state);
// 1 when the servo (0 pitch, 1 roll) was found by the detection.
bool ServoDetected(int servo);
// Slip editor of a detected servo (0 pitch, 1 roll).
void SlipEditor(int32_t servo);
// Compass calibration on 0x4017: CompassOpen starts it (TCompassState below).
void CompassCalibration(int32_t state);
// Compass parameter editors: 1 declination, 2 inclination, 3 total field.
void CompassEditor(int32_t which);
// Autopilot axis parameter editors of the menu items of the axis pages.
void ApParamEditor(int32_t item);

// ---- clock ----
// Monotonic milliseconds of every wizard deadline; tests install a fake clock (null
// restores the real one).
extern int64_t (*WizardClockMs)();

// ---- servo wizard ----
constexpr int32_t ServoDetection = 0x10000, ServoCalibration = 0x20000, ServoTest = 0x30000;
constexpr uint8_t ServoCmdStart = 1, ServoCmdNext = 2, ServoCmdEnd = 3;
constexpr uint8_t ServoAnswered = 0x20;          // status bit: the device has answered
constexpr int64_t ServoStartWaitMs = 10000, ServoStepWaitMs = 30000;
// The device's servo records (0x6003/0 and /1) past the control word: servo id, flags
// (bit 0 deflection test passed) and slip in percent.
enum { ServoRecId = 0, ServoRecFlags = 1, ServoRecSlip = 2 };
struct TServoWizard {
    int32_t state;      // the last state entered
    int32_t process;    // ServoDetection, ServoCalibration or ServoTest
    const char* title;  // untranslated
    int32_t next;       // the state a pending wait goes on to; 0 no wait
    int64_t waitStart;  // ms
    int64_t deadline;   // ms
    int32_t result;     // the device's result code of the failed answer; -1 none (time-out)
    uint8_t succeeded;
};
extern TServoWizard Servo;
// The failure text of a device result code, one line per entry (null-terminated, at most 4).
int ServoResultText(int32_t result, const char* lines[5]);
// Copies the device's servo records into DetectedServo.
void ReadDetectedServos();
// The wait's progress line: 14 blanks and one block per started second, 44 characters at most.
void ProgressLine(char* out, int64_t elapsedMs);

// ---- gyro stabilisation ----
enum { GyroTick = 0, GyroCancel = 1, GyroRestart = 2, GyroCancelled = 3, GyroYes = 4, GyroNo = 5, GyroClose = 6 };
constexpr int32_t GyroReqStart = 256, GyroReqProgress = 257, GyroReqStill = 259, GyroReqFinish = 260, GyroReqEnd = 261;
constexpr int64_t GyroAnswerWaitMs = 2000, GyroStillPeriodMs = 6000, GyroCountdownMs = 25000;
constexpr int32_t GyroProgressFull = 8000;
// The device's answer in the record: its state once answered, its status, a still aircraft.
constexpr int16_t GyroStateAnswered = 2;
constexpr uint8_t GyroStatusOk = 1, GyroStatusFailed = 2;
constexpr int32_t GyroStill = 1;
enum class TGyroState : int32_t {
    Reset,      // clears the record, then asks
    Ask,        // start the calibration? Yes / No
    Countdown,  // 25 s to leave the aircraft
    Start,      // the start request
    Running,    // progress and stillness requests until the device reports it full
    Finish,     // the finish request
    End,        // the end request after a failure or a cancel
    Question,   // a failure: Repeat / Cancel
    Done,       // completed: OK closes
    Cancelled,  // cancelled: OK closes
    Closed,     // the wizard is gone
};
struct TGyroWizard {
    int32_t active;        // the tick runs the wizard while set (never in demo mode)
    TGyroState state;
    int32_t progress;      // 0..8000
    int32_t pending;       // the request waiting for its answer; 0 none
    int64_t sentAt;        // ms
    int64_t lastStill;     // ms of the last stillness check
    int64_t countdownStart;
    uint8_t cancel;        // a cancel waits for the pending request
    const char* message;   // shown by the question (untranslated); null none
};
extern TGyroWizard Gyro;
// Entry of the keys and the tick (events above).
void GyroStabilisation(int32_t event);
// Sets the wizard's flag: the next ticks run it from the start.
void StartGyroStabilisation();

// ---- compass calibration ----
constexpr uint16_t CompassStepAck = 0x0002;   // the device acknowledged the step
constexpr uint16_t CompassDoneBit = 0x0001;   // the device finished a good calibration
constexpr int64_t CompassStepWaitMs = 30000;
// States of the compass calibration, the argument of its keys. The device works through
// steps 1..6; each has a state that waits on it and one that its answer leads to.
enum TCompassState : int32_t {
    CompassOpen = 1, CompassOpenToo = 2,  // the menu's entries: the mounting is checked first
    CompassAskNorth = 5,
    CompassWaitNorth = 11, CompassNorthTaken = 12,     // step 1; step 2 follows at once
    CompassWaitNorthToo = 13, CompassAskWest = 14,     // step 2
    CompassWaitWest = 15, CompassAskSouth = 16,        // step 3
    CompassWaitSouth = 17, CompassAskEast = 18,        // step 4
    CompassWaitEast = 19, CompassEastTaken = 20,       // step 5; the check follows at once
    CompassWaitCheck = 21, CompassChecked = 22,        // step 6: the done flag decides
    CompassFailed = 80,                                // a failure or a time-out
    CompassCancel = 81,
};
struct TCompassWizard {
    int32_t state;      // TCompassState
    int32_t next;       // 0 no wait pending
    int64_t waitStart;
    int64_t deadline;
    int32_t status;     // the device's status of the failure
    uint8_t wrong;      // step 6 ended without the done flag
    uint8_t timedOut;
};
extern TCompassWizard Compass;
// The failure text of a compass status, one line per entry (null-terminated, at most 4).
int CompassFailureText(const TCompassWizard& c, const char* lines[5]);

// ---- degree-and-minute editing ----
// Hundredths of a degree into degrees x 100 + minutes and back (signs kept).
int32_t DegMinOf(int32_t hundredths);
int32_t HundredthsOf(int32_t degMin);
// A step of delta on the minute digits of a value in hundredths; the result in hundredths.
int32_t StepDegMin(int32_t hundredths, int32_t delta);
// Editor ranges of the compass values (hundredths of a degree, nT).
constexpr int32_t DeclinationMax = 8979, InclinationMax = 8969, TotalFieldMax = 99999;

// The refresh's tick of every running wizard, the tank calibration's included.
void WizardTicks();
// Fills RefreshHooks.WizardTicks and gives the tank calibration its soft keys.
void InstallWizardLinks();
