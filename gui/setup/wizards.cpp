#include "wizards.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>

#include "averdata.h"
#include "checklist.h"
#include "configmanager.h"
#include "editors.h"
#include "keyboard.h"
#include "keyglue.h"
#include "menu.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "tankcalib.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

TDetectedServo DetectedServo[2] = {};
int DetectedServoCount = 0;
uint16_t CompassCalibMask = CompassDoneBit;
TServoWizard Servo = {};
TGyroWizard Gyro = {};
TCompassWizard Compass = {};

namespace {

int64_t MonotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}


int64_t Now() { return WizardClockMs ? WizardClockMs() : MonotonicMs(); }

// ---- the popup list of a wizard ----

int BodyFont() { return LanguageTextFont(LanguageId); }
int HeadingFont() { return OverlayRoleFont(11); }

void PopupBegin(const char* title) {
    PopupListAdd(PopupClear, 0, 0);
    PopupListAdd(gettext(title), HeadingFont(), 0);
    PopupListAdd(" ", BodyFont(), 0);
}
void PopupLine(const char* text) { PopupListAdd(gettext(text), BodyFont(), 0); }
void PopupRaw(const char* text) { PopupListAdd(text, BodyFont(), 0); }
void PopupEnd() {
    PopupListAdd(" ", BodyFont(), 0);
    PopupListAdd(PopupShow, 0, 0);
}

// A wait: the title, up to two lines and the progress line of the time waited so far.
void WaitPopup(const char* title, const char* first, const char* second, int64_t elapsedMs) {
    PopupBegin(title);
    if (first) PopupLine(first);
    if (second) PopupLine(second);
    char line[64];
    ProgressLine(line, elapsedMs);
    PopupRaw(line);
    PopupEnd();
}

// Every key to nothing, held against the soft-key time-out.
void HoldAllKeys() {
    Keyboard.Clear();
    Keyboard.BindNone(AllKeys);
    SoftKeyHold = 1;
}

void CloseWizard() {
    PopupListAdd(PopupClear, 0, 0);
    Keyboard.Clear();
    CloseMessageBox();
    SoftKeyHold = 0;
}

// Reopens the setup menu at a root page and the given pages below it.
void ReopenPages(int root, std::initializer_list<int> pages) {
    MainMenu.Show(0);
    MainMenu.OpenPage(root);
    MainMenuKeys(-1);
    for (int p : pages) MainMenu.OpenPage(p);
}

}  // namespace

int64_t (*WizardClockMs)() = MonotonicMs;

void ProgressLine(char* out, int64_t elapsedMs) {
    constexpr int Blanks = 14, Blocks = 30;
    const int64_t seconds = std::max<int64_t>(0, elapsedMs) / 1000;
    const int n = static_cast<int>(std::min<int64_t>(Blanks + 1 + seconds, Blanks + Blocks));
    for (int i = 0; i < n; ++i) out[i] = i < Blanks ? ' ' : '\xA0';
    out[n] = '\0';
}

// ---- servo wizard ----

int ServoResultText(int32_t result, const char* lines[5]) {
    int n = 0;
    auto add = [&](const char* t) { lines[n++] = t; };
    switch (result) {
        case 1:
        case 5:
            add(gettext_noop("Some servo has not been detected."));
            add(gettext_noop("(At first check whether right servos are set "));
            add(gettext_noop(" to \"Installed\" in menu Servo Setup. If the "));
            add(gettext_noop("problem persists, check wire connection of servos.)"));
            break;
        case 2:
        case 6:
            add(gettext_noop("There are no selected servos in menu Servo Setup."));
            add(gettext_noop("At first set available servos to \"Installed\" in menu Servo Setup."));
            break;
        case 3:
        case 7:
            add(gettext_noop("No servos have been detected for communication."));
            add(gettext_noop("Check wire connection of servos."));
            break;
        case 4: add(gettext_noop("Servo detection has failed, follow the instructions.")); break;
        case 8: add(gettext_noop("Deflection Calibration has failed, follow the instructions.")); break;
        case 9: add(gettext_noop("Error of calibration has occured.")); break;
        case 10: add(gettext_noop("Error of servo communication has occured.")); break;
        case -1: add(gettext_noop("Timeout expired.")); break;
        default: add(gettext_noop("Process went wrong.")); break;
    }
    lines[n] = nullptr;
    return n;
}

void ReadDetectedServos() {
    int n = 0;
    for (int i = 0; i < 2; ++i) {
        GetSS(SsServoRecord, static_cast<uint16_t>(i));
        const TApCommand3& r = ApCommand3[i];
        if (r.reserved[ServoRecId] == 0) continue;
        DetectedServo[n++] = TDetectedServo{r.reserved[ServoRecId], std::clamp(r.reserved[ServoRecSlip], 0, 100),
                                            static_cast<uint8_t>(r.reserved[ServoRecFlags] & 1)};
    }
    for (int i = n; i < 2; ++i) DetectedServo[i] = TDetectedServo{};
    DetectedServoCount = n;
}

bool ServoDetected(int servo) {
    if (servo < 0 || servo > 1) return false;
    const int32_t id = ServoSetting[servo].servoId;
    const int n = std::clamp(DetectedServoCount, 0, 2);
    for (int i = 0; i < n; ++i)
        if (id != 0 && DetectedServo[i].servoId == id) return true;
    return false;
}

namespace {

const char* const ServoInstructions[3][5][2] = {
    {{gettext_noop("Move control wheel steering in the Pitch Axis to the Forward."),
      gettext_noop("Avoid moving Left & Right in Roll Axis during the detection.")},
     {gettext_noop("Move control wheel steering in the Pitch Axis to the Backward."),
      gettext_noop("Avoid moving Left & Right in Roll Axis during the detection.")},
     {gettext_noop("Move control wheel steering in the Roll Axis to the Left."),
      gettext_noop("Avoid moving Forward & Backward in Pitch Axis during the detection.")},
     {gettext_noop("Move control wheel steering in the Roll Axis to the Right."),
      gettext_noop("Avoid moving Forward & Backward in Pitch Axis during the detection.")},
     {gettext_noop("The device complete process. Wait please."), nullptr}},
    {{gettext_noop("Move control wheel steering in the Pitch & Roll Axis"), gettext_noop("in the FORWARD LEFT position.")},
     {gettext_noop("Move control wheel steering in the Pitch & Roll Axis"), gettext_noop("in the FORWARD RIGHT position.")},
     {gettext_noop("Move control wheel steering in the Pitch & Roll Axis"), gettext_noop("in the BACKWARD LEFT position.")},
     {gettext_noop("Move control wheel steering in the Pitch & Roll Axis"), gettext_noop("in the BACKWARD RIGHT position.")},
     {gettext_noop("The device complete process. Wait please."), nullptr}},
    {{gettext_noop("Release the Control Wheel Steering. Device will work itself."), nullptr},
     {gettext_noop("Is the Control Wheel Steering located in the Forward position?"), nullptr},
     {gettext_noop("Is the Control Wheel Steering located in the Backward position?"), nullptr},
     {gettext_noop("Is the Control Wheel Steering located in the Left position?"), nullptr},
     {gettext_noop("Is the Control Wheel Steering located in the Right position?"), nullptr}},
};

int ProcessIndex() { return Servo.process == ServoTest ? 2 : Servo.process == ServoCalibration ? 1 : 0; }

// Writes the process record with a command; the answer fields are cleared first, so
// only the device's answer to this request ends the wait.
int SendServoCommand(uint8_t command, int32_t stepNumber) {
    ServoProcess.process = Servo.process;
    ServoProcess.step = Servo.process + stepNumber;
    ServoProcess.command = command;
    ServoProcess.error = 0;
    ServoProcess.status = 0;
    ServoProcess.result = 0;
    return SetSS(SsServoProcess, 0);
}

int32_t EndStep() { return Servo.process == ServoTest ? 6 : 7; }

void ServoWaitPopup(int64_t now) {
    const char* first = Servo.process == ServoTest && Servo.state != 11
                            ? gettext_noop("Keep loose the Control Wheel Steering.")
                        : Servo.state == 11 ? gettext_noop("The device initiate process. Wait please.")
                                            : nullptr;
    const char* second = Servo.state == 21 ? gettext_noop("The device complete process. Wait please.") : nullptr;
    WaitPopup(Servo.title, first, second, now - Servo.waitStart);
}

void ServoWait(int32_t state) {
    Servo.state = state;
    Keyboard.BindNone(KeySet<KeySoft3>);
    Keyboard.Bind(KeySoft4, LabelCancel, ServoWizard, 5);
    SoftKeyHold = 1;
    const int64_t now = Now();
    Servo.waitStart = now;
    Servo.deadline = now + (state == 11 ? ServoStartWaitMs : ServoStepWaitMs);
    // The last wait of detection and calibration ends the process with success.
    Servo.next = state == 21 ? 30 : state + 1;
    if (state != 11) SendServoCommand(ServoCmdNext, (state - 11) / 2 + 1);
    ServoWaitPopup(now);
}

void ServoInstruction(int32_t state) {
    Servo.state = state;
    const char* const* text = ServoInstructions[ProcessIndex()][(state - 12) / 2];
    if (state == 20 && Servo.process != ServoTest) {
        ServoWait(21);
        return;
    }
    PopupBegin(Servo.title);
    PopupLine(text[0]);
    if (text[1]) PopupLine(text[1]);
    PopupRaw(" ");
    PopupLine(gettext_noop("Press OK button for continue"));
    PopupEnd();
    HoldAllKeys();
    Keyboard.Bind(KeySoft4, LabelCancel, ServoWizard, 5);
    Keyboard.Bind(KeySoft3, LabelOk, ServoWizard, state == 20 ? 22 : state + 1);
}

void ServoEnd() {
    Servo.state = 30;
    Servo.next = 0;
    SendServoCommand(ServoCmdEnd, EndStep());
    if (Servo.succeeded) ReadDetectedServos();
    PopupBegin(Servo.title);
    HoldAllKeys();
    if (Servo.succeeded) {
        PopupLine(gettext_noop("Process done succesfully."));
    } else {
        const char* lines[5];
        ServoResultText(Servo.result, lines);
        for (int i = 0; lines[i]; ++i) PopupLine(lines[i]);
        Keyboard.Bind(KeySoft3, LabelRepeat, ServoWizard, 7);
    }
    PopupEnd();
    Keyboard.Bind(KeySoft4, LabelConfirm, ServoWizard, 6);
}

void ServoTestPassed() {
    ApCommand5.reserved[0] |= 1;
    for (TApCommand3& r : ApCommand3) r.reserved[ServoRecFlags] |= 1;
    SetSS(SsServoPass, 0);
    SetSS(SsServoRecord, 0);
    SetSS(SsServoRecord, 1);
    Servo.succeeded = 1;
    ServoEnd();
}

void ServoTick() {
    if (Servo.next == 0) return;
    GetSS(SsServoProcess, 0);
    const TServoProcess& p = ServoProcess;
    const int64_t now = Now();
    if ((p.status & ServoAnswered) || p.error != 0) {
        const int32_t next = Servo.next;
        Servo.next = 0;
        if (p.error == 1) {
            if (next == 30) Servo.succeeded = 1;
            ServoWizard(next);
        } else {
            Servo.result = p.result;
            ServoWizard(30);
        }
    } else if (now >= Servo.deadline) {
        Servo.next = 0;
        Servo.result = -1;
        ServoWizard(30);
    } else {
        ServoWaitPopup(now);
    }
}

}  // namespace

void ServoWizard(int32_t state) {
    switch (state) {
        case 1:
        case 2:
        case 3: {
            static const char* const Titles[] = {gettext_noop("Servo Detection"), gettext_noop("Deflection Calibration"), gettext_noop("Deflection Test")};
            static const int32_t Processes[] = {ServoDetection, ServoCalibration, ServoTest};
            Servo.title = Titles[state - 1];
            Servo.process = Processes[state - 1];
            ServoWizard(7);
            return;
        }
        case 7:
            Servo.state = 7;
            Servo.next = 0;
            Servo.succeeded = 0;
            Servo.result = 0;
            CloseMenuKeysAndBox();
            HoldAllKeys();
            if (SendServoCommand(ServoCmdStart, 1) != 0) {
                PopupBegin(Servo.title);
                PopupLine(gettext_noop("Function not supported."));
                PopupEnd();
                Keyboard.Bind(KeySoft4, LabelConfirm, ServoWizard, 5);
                return;
            }
            ServoWait(11);
            return;
        case 11: case 13: case 15: case 17: case 19: case 21: ServoWait(state); return;
        case 12: case 14: case 16: case 18: case 20: ServoInstruction(state); return;
        case 22: ServoTestPassed(); return;
        case 30: ServoEnd(); return;
        case 5:
            Servo.next = 0;
            SendServoCommand(ServoCmdEnd, EndStep());
            [[fallthrough]];
        case 6:
            Servo.state = 6;
            Servo.next = 0;
            CloseWizard();
            if (Servo.process == ServoDetection) {
                ReopenPages(PageSetupInstallerFlight, {PageAutopilotSetup, PageServoSetup});
                ServoSetupShown = 1;
            } else {
                ReopenPages(PageSetupInstallerFlight, {PageAutopilotSetup, PageServoDeflection});
                ServoDeflectionShown = 1;
            }
            return;
        default: return;
    }
}

// ---- gyro stabilisation ----

namespace {

constexpr char GyroTitle[] = gettext_noop("Gyro stabilization");
constexpr char GyroInternalError[] = gettext_noop("Process failed due to an internal error.");

void GyroSend(int32_t request) {
    std::memset(&GyroProcess, 0, sizeof GyroProcess);
    GyroProcess.request = request;
    GyroProcess.sent = 1;
    GyroProcess.started = 1;
    SetSS(SsGyroProcess, 0);
    Gyro.pending = request;
    Gyro.sentAt = Now();
}

// The answer to the pending request: true once the device has answered it.
bool GyroAnswered() {
    if (!Gyro.pending) return false;
    GetSS(SsGyroProcess, 0);
    if (GyroProcess.state != GyroStateAnswered) return false;
    Gyro.pending = 0;
    return true;
}

// One request at a time: sends it when none is pending; true once it is answered.
bool GyroRequest(int32_t request) {
    if (!Gyro.pending) {
        GyroSend(request);
        return false;
    }
    return GyroAnswered();
}

void GyroQuestion(const char* message) {
    Gyro.message = message;
    Gyro.state = TGyroState::Question;
}

void GyroPopup(const char* text, bool wrapped) {
    PopupBegin(GyroTitle);
    if (wrapped)
        PopupListAddWrapped(gettext(text), 440, BodyFont());
    else if (text)
        PopupLine(text);
}

// One pass of the state machine; false when the state waits.
bool GyroStep(int64_t now) {
    const TGyroState before = Gyro.state;
    switch (Gyro.state) {
        case TGyroState::Reset:
            std::memset(&GyroProcess, 0, sizeof GyroProcess);
            Gyro.progress = 0;
            Gyro.pending = 0;
            Gyro.message = nullptr;
            Gyro.state = TGyroState::Ask;
            break;
        case TGyroState::Ask:
            GyroPopup(gettext_noop("Gyro stabilization with auto calibration is required. This process is finished only once. "
                      "BEWARE, it is necessary to leave the aircraft and keep the aircraft still all the time "
                      "during calibration. Do you want to continue and start the calibration? If you select NO, "
                      "this message will appear during next start up of the Skyvane."),
                      true);
            PopupEnd();
            Keyboard.Bind(KeySoft3, LabelYes, GyroStabilisation, GyroYes);
            Keyboard.Bind(KeySoft4, LabelNo, GyroStabilisation, GyroNo);
            break;
        case TGyroState::Countdown: {
            const int64_t left = GyroCountdownMs - (now - Gyro.countdownStart);
            if (left <= 0) {
                Gyro.state = TGyroState::Start;
                break;
            }
            GyroPopup(gettext_noop("Please leave the aircraft. The process will take up to 5 minutes."), false);
            char line[160];
            std::snprintf(line, sizeof line, "%s %d %s", gettext("Calibration will begin after"),
                          static_cast<int>((left + 999) / 1000), gettext("sec"));
            PopupRaw(line);
            PopupEnd();
            Keyboard.Bind(KeySoft4, LabelCancel, GyroStabilisation, GyroCancelled);
            break;
        }
        case TGyroState::Start:
            if (GyroRequest(GyroReqStart)) {
                if (GyroProcess.status == GyroStatusOk && GyroProcess.value == 0)
                    Gyro.state = TGyroState::Running;
                else
                    GyroQuestion(GyroInternalError);
                Gyro.lastStill = now;
            } else {
                GyroPopup(gettext_noop("Wait until the process is completed"), false);
                PopupEnd();
            }
            break;
        case TGyroState::Running: {
            if (GyroAnswered()) {
                const int32_t request = GyroProcess.request;
                const bool failed = GyroProcess.status == GyroStatusFailed;
                if (request == GyroReqProgress) {
                    if (failed || GyroProcess.value < 0) {
                        Gyro.message = GyroInternalError;
                        Gyro.state = TGyroState::End;
                    } else {
                        Gyro.progress = std::min(GyroProcess.value, GyroProgressFull);
                        if (GyroProcess.value > GyroProgressFull - 1) Gyro.state = TGyroState::Finish;
                    }
                } else if (request == GyroReqStill && (failed || GyroProcess.value != GyroStill)) {
                    Gyro.message =
                        gettext_noop("The process was not completed successfully, because the aircraft did not remain still. "
                        "Do you want to Repeat the process or Cancel? If you select Cancel, you can start gyro "
                        "calibration after next start-up of the Skyvane.");
                    Gyro.state = TGyroState::End;
                }
            }
            if (Gyro.state != TGyroState::Running) break;
            if (Gyro.cancel && !Gyro.pending) {
                Gyro.cancel = 0;
                Gyro.state = TGyroState::End;
                break;
            }
            if (!Gyro.pending) {
                if (now - Gyro.lastStill >= GyroStillPeriodMs) {
                    Gyro.lastStill = now;
                    GyroSend(GyroReqStill);
                } else {
                    GyroSend(GyroReqProgress);
                }
            }
            const unsigned percent =
                static_cast<unsigned>(std::min<int64_t>(100, static_cast<int64_t>(Gyro.progress) * 100 / GyroProgressFull));
            char line[160];
            std::snprintf(line, sizeof line, "%s (%3u %%)", gettext("Wait until the process is completed"), percent);
            PopupBegin(GyroTitle);
            PopupRaw(line);
            char bar[64];
            const int blocks = static_cast<int>(percent * 30 / 100);
            std::memset(bar, ' ', 14);
            std::memset(bar + 14, '\xA0', static_cast<size_t>(blocks));
            bar[14 + blocks] = '\0';
            PopupRaw(bar);
            PopupEnd();
            Keyboard.Bind(KeySoft4, LabelCancel, GyroStabilisation, GyroCancel);
            break;
        }
        case TGyroState::Finish:
            if (GyroRequest(GyroReqFinish)) {
                if (GyroProcess.status == GyroStatusFailed)
                    GyroQuestion(GyroInternalError);
                else
                    Gyro.state = TGyroState::Done;
            }
            break;
        case TGyroState::End:
            if (GyroRequest(GyroReqEnd)) Gyro.state = Gyro.message ? TGyroState::Question : TGyroState::Cancelled;
            break;
        case TGyroState::Question:
            GyroPopup(Gyro.message ? Gyro.message : gettext_noop("Process went wrong."), true);
            PopupEnd();
            Keyboard.Bind(KeySoft4, LabelRepeat, GyroStabilisation, GyroRestart);
            Keyboard.Bind(KeySoft3, LabelCancel, GyroStabilisation, GyroCancelled);
            break;
        case TGyroState::Done:
            GyroPopup(gettext_noop("Process completed successfully."), false);
            PopupEnd();
            Keyboard.Bind(KeySoft3, LabelOk, GyroStabilisation, GyroClose);
            break;
        case TGyroState::Cancelled:
            GyroPopup(gettext_noop("The process of gyro calibration was cancelled. You can start gyro calibration after next "
                      "start-up of the Skyvane."),
                      true);
            PopupEnd();
            Keyboard.Bind(KeySoft3, LabelOk, GyroStabilisation, GyroClose);
            break;
        case TGyroState::Closed:
        default:
            Gyro = TGyroWizard{};
            CloseWizard();
            return false;
    }
    return Gyro.state != before;
}

}  // namespace

void StartGyroStabilisation() {
    Gyro = TGyroWizard{};
    Gyro.active = 1;
}

void GyroStabilisation(int32_t event) {
    if (!Gyro.active) return;
    const int64_t now = Now();
    HoldAllKeys();
    // An unanswered request fails at its limit, never earlier; an answer that is there
    // by then is taken by its state below.
    if (Gyro.pending && now - Gyro.sentAt >= GyroAnswerWaitMs) {
        GetSS(SsGyroProcess, 0);
        if (GyroProcess.state != GyroStateAnswered) {
            Gyro.pending = 0;
            GyroQuestion(gettext_noop("Timeout exceeded."));
        }
    }
    switch (event) {
        case GyroCancel: Gyro.cancel = 1; break;
        case GyroRestart: Gyro.state = TGyroState::Reset; Gyro.cancel = 0; break;
        case GyroCancelled: Gyro.state = TGyroState::Cancelled; Gyro.cancel = 0; break;
        case GyroYes:
            if (Gyro.state == TGyroState::Ask) {
                Gyro.state = TGyroState::Countdown;
                Gyro.countdownStart = now;
            }
            break;
        case GyroNo:
            if (Gyro.state == TGyroState::Ask) {
                if (GyroSetting.refusals < 0x7fff) ++GyroSetting.refusals;
                SetSS(SsGyro, 0);
                Gyro.state = TGyroState::Cancelled;
            }
            break;
        case GyroClose: Gyro.state = TGyroState::Closed; break;
        default: break;
    }
    if (Gyro.cancel && !Gyro.pending) {
        Gyro.cancel = 0;
        Gyro.state = Gyro.state > TGyroState::Countdown ? TGyroState::End : TGyroState::Closed;
    }
    for (int pass = 0; pass < 12 && Gyro.active; ++pass)
        if (!GyroStep(now)) break;
}

// ---- compass calibration ----

int CompassFailureText(const TCompassWizard& c, const char* lines[5]) {
    int n = 0;
    auto add = [&](const char* t) { lines[n++] = t; };
    if (c.wrong) {
        add(gettext_noop("Wrong calibration!"));
    } else if (!c.timedOut && c.status < -3) {
        add(gettext_noop("Calibration failed. Error number:"));
    } else if (!c.timedOut && c.status == -3) {
        add(gettext_noop("Hard iron affecting to the Remote Compass."));
        add(gettext_noop("Please either remove metal part and cables"));
        add(gettext_noop("or move the Remote Compass to the different location."));
    } else if (!c.timedOut && c.status == -2) {
        add(gettext_noop("Communication error."));
        add(gettext_noop("Please check power supply to the Remote Compass"));
        add(gettext_noop("and/or Corvix Bus connection."));
    } else if (!c.timedOut && c.status == -1) {
        add(gettext_noop("Wrong installation of the Remote Compass."));
        add(gettext_noop("Check axis orientation of the Remote Compass "));
        add(gettext_noop("and configuration in Setting/Build in."));
    } else {
        add(gettext_noop("Communication timeout."));
        add(gettext_noop("Please check power supply to the Remote Compass"));
        add(gettext_noop("and/or Corvix Bus connection."));
    }
    lines[n] = nullptr;
    return n;
}

namespace {

constexpr char CompassTitle[] = gettext_noop("Remote compass calibration");

// The device's steps 1..6 in order: the state that waits on each, the state its answer
// leads to, and there the heading to turn to before the next step (null: it goes out at once).
struct TCompassStep {
    int32_t wait, answered;
    const char* heading;
};
const TCompassStep CompassSteps[] = {
    {CompassWaitNorth, CompassNorthTaken, nullptr},
    {CompassWaitNorthToo, CompassAskWest,
     gettext_noop("Align the airplane pointing magnetic West as closely as possible.")},
    {CompassWaitWest, CompassAskSouth,
     gettext_noop("Align the airplane pointing magnetic South as closely as possible.")},
    {CompassWaitSouth, CompassAskEast,
     gettext_noop("Align the airplane pointing magnetic East as closely as possible.")},
    {CompassWaitEast, CompassEastTaken, nullptr},
    {CompassWaitCheck, CompassChecked, nullptr},
};
constexpr int CompassStepCount = static_cast<int>(std::size(CompassSteps));

void CompassReopen() {
    CloseWizard();
    ReopenPages(ScreenType == ScreenEngine ? PageSetupInstallerEngine : PageSetupInstallerFlight,
                {PageDevicesFlight, PageRemoteCompass});
}

void CompassConfirm(int32_t) { CompassReopen(); }

void CompassWaitPopup(int64_t now) {
    WaitPopup(CompassTitle, Compass.state == CompassWaitCheck ? gettext_noop("Checking calibration.") : nullptr,
              nullptr, now - Compass.waitStart);
}

// Sends the device step (1..6) and waits for its answer.
void CompassWait(int step) {
    Compass.state = CompassSteps[step - 1].wait;
    TCompassSetting& c = CompassSetting;
    c.calibStep = static_cast<uint8_t>(step);
    // Clear what this step waits on: a stale acknowledgement, status or done flag in
    // the record (or in setup.dat) must not count as the device's answer.
    c.calibFlags = static_cast<uint16_t>(c.calibFlags & ~CompassStepAck);
    if (step == 1) {
        c.calibStatus = 0;
        c.calibFlags = static_cast<uint16_t>(c.calibFlags & ~CompassDoneBit);
    }
    SetSS(SsCompass, 0);
    const int64_t now = Now();
    Compass.waitStart = now;
    Compass.deadline = now + CompassStepWaitMs;
    Compass.next = 1;
    HoldAllKeys();
    Keyboard.Bind(KeySoft4, LabelCancel, CompassCalibration, CompassCancel);
    CompassWaitPopup(now);
}

// A heading to turn to (after a lead line when there is one); OK goes on to the state next.
void CompassAskHeading(int32_t state, const char* lead, const char* heading, int32_t next) {
    Compass.state = state;
    PopupBegin(CompassTitle);
    if (lead) PopupLine(lead);
    PopupLine(heading);
    PopupRaw(" ");
    PopupLine(gettext_noop("Press OK button for continue"));
    PopupEnd();
    HoldAllKeys();
    Keyboard.Bind(KeySoft4, LabelCancel, CompassCalibration, CompassCancel);
    Keyboard.Bind(KeySoft3, LabelOk, CompassCalibration, next);
}

void CompassFail() {
    Compass.state = CompassFailed;
    Compass.next = 0;
    CompassSetting.calibStep = 0;
    SetSS(SsCompass, 0);
    PopupBegin(CompassTitle);
    const char* lines[5];
    CompassFailureText(Compass, lines);
    for (int i = 0; lines[i]; ++i) {
        if (i == 0 && !Compass.wrong && !Compass.timedOut && Compass.status < -3) {
            char line[160];
            std::snprintf(line, sizeof line, "  %s %hd   ", gettext(lines[0]), static_cast<short>(Compass.status));
            PopupRaw(line);
        } else {
            PopupLine(lines[i]);
        }
    }
    PopupEnd();
    HoldAllKeys();
    Keyboard.Bind(KeySoft3, LabelRepeat, CompassCalibration, CompassAskNorth);
    Keyboard.Bind(KeySoft4, LabelConfirm, CompassConfirm, 0);
}

void CompassTick() {
    if (Compass.next == 0) return;
    GetSS(SsCompass, 0);
    const TCompassSetting& c = CompassSetting;
    const int step = c.calibStep;
    const int status = c.calibStatus;
    const int64_t now = Now();
    if (status < 0 || (status == 0 && step > 1)) {
        Compass.status = status;
        Compass.timedOut = 0;
        CompassFail();
    } else if ((status == step || status == CompassStepCount) && status > 0 && (c.calibFlags & CompassStepAck)) {
        Compass.next = 0;
        // A step the calibration does not have leads nowhere.
        if (status <= CompassStepCount) CompassCalibration(CompassSteps[status - 1].answered);
    } else if (now >= Compass.deadline) {
        Compass.status = status;
        Compass.timedOut = 1;
        CompassFail();
    } else {
        CompassWaitPopup(now);
    }
}

}  // namespace

void CompassCalibration(int32_t state) {
    switch (state) {
        case CompassOpen:
        case CompassOpenToo: {
            Compass = TCompassWizard{};
            const uint8_t m = CompassSetting.mounting;
            CloseMenuKeysAndBox();
            if (m != MountXFrontYLeft && m != MountXFrontYDown && m != MountXUpYRight) {
                PopupBegin(CompassTitle);
                PopupLine(gettext_noop("Calibration do not continue before adjustment setting."));
                PopupEnd();
                HoldAllKeys();
                Keyboard.Bind(KeySoft4, LabelConfirm, CompassConfirm, 0);
                return;
            }
            CompassCalibration(CompassAskNorth);
            return;
        }
        case CompassAskNorth:
            Compass = TCompassWizard{};
            CompassAskHeading(state,
                              gettext_noop("Move the airplane on the airport compass rose or other suitable place."),
                              gettext_noop("Align the airplane pointing magnetic North as closely as possible."),
                              CompassWaitNorth);
            return;
        case CompassChecked:
            Compass.state = CompassChecked;
            if (!(CompassSetting.calibFlags & CompassDoneBit)) {
                Compass.wrong = 1;
                CompassFail();
                return;
            }
            CompassSetting.calibStep = 0;
            SetSS(SsCompass, 0);
            CompassCalibMask = static_cast<uint16_t>(CompassCalibMask | CompassDoneBit);
            PopupBegin(CompassTitle);
            PopupLine(gettext_noop("Calibration has been done."));
            PopupEnd();
            HoldAllKeys();
            Keyboard.Bind(KeySoft4, LabelConfirm, CompassConfirm, 0);
            return;
        case CompassCancel:  // the device leaves the calibration
            Compass.next = 0;
            CompassSetting.calibStep = 0;
            SetSS(SsCompass, 0);
            CompassReopen();
            return;
        default: break;
    }
    for (int step = 1; step <= CompassStepCount; ++step) {
        const TCompassStep& s = CompassSteps[step - 1];
        if (state == s.wait) {
            CompassWait(step);
            return;
        }
        if (state == s.answered && step < CompassStepCount) {
            if (s.heading)
                CompassAskHeading(state, nullptr, s.heading, CompassSteps[step].wait);
            else
                CompassWait(step + 1);
            return;
        }
    }
}

// ---- degree-and-minute editing ----

int32_t DegMinOf(int32_t hundredths) {
    const int64_t h = hundredths;
    return static_cast<int32_t>(h / 100 * 100 + h % 100 * 60 / 100);
}

int32_t HundredthsOf(int32_t degMin) {
    const int64_t d = degMin;
    // Minutes round up in magnitude, so that the minutes shown (truncated) come back.
    const int64_t m = d % 100;
    const int64_t part = m >= 0 ? (m * 100 + 59) / 60 : -((-m * 100 + 59) / 60);
    return static_cast<int32_t>(d / 100 * 100 + part);
}

int32_t StepDegMin(int32_t hundredths, int32_t delta) {
    int64_t v = static_cast<int64_t>(DegMinOf(hundredths)) + delta;
    const int64_t m = v % 100;
    if (m >= 70) v -= 40;
    else if (m < -69) v += 40;
    return HundredthsOf(static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)));
}

// ---- setting editors ----

namespace {

// The working value of the open setting editor (its unit is the editor's own) and the
// stored form the overlay shows.
int32_t EditWork = 0;
int32_t EditShown = 0;
int32_t EditItem = 0;   // compass 1..3, autopilot item, slip 1000 + servo
int32_t EditRecord = 0;  // slip: index of the 0x6003 record

// ---- compass ----

int32_t* CompassField(int which) {
    switch (which) {
        case 1: return &CompassSetting.declination;
        case 2: return &CompassSetting.inclination;
        case 3: return &CompassSetting.totalField;
        default: return nullptr;
    }
}

void CompassPages() {
    ReopenPages(ScreenType == ScreenEngine ? PageSetupInstallerEngine : PageSetupInstallerFlight,
                {PageDevicesFlight, PageRemoteCompass, PageCompassSettings});
}

void CompassEditorKeys(int32_t command) {
    switch (command) {
        case EditorCmdCancel:
            GetSS(SsCompass, 0);
            CloseEditor(0);
            CompassPages();
            return;
        case EditorCmdOk:
            if (int32_t* field = CompassField(EditItem)) *field = EditWork;
            SetSS(SsCompass, 0);
            CloseEditor(0);
            CompassPages();
            return;
        case EditorCmdDown:
        case EditorCmdUp: {
            if (EditItem == 3) {
                EditorDefaultStep(command == EditorCmdUp ? 2 : 1);
                return;
            }
            const int32_t most = EditItem == 1 ? DeclinationMax : InclinationMax;
            const int digit = std::clamp(Editor.cursor, 0, 4);
            int32_t step = 1;
            for (int i = 0; i < digit; ++i) step *= 10;
            const int32_t next = StepDegMin(EditWork, command == EditorCmdUp ? step : -step);
            if (next >= -most && next <= most)
                EditWork = next;
            else if (Editor.cursor > 0)
                --Editor.cursor;
            return;
        }
        default: return;
    }
}

void OpenCompassEditor(int32_t which) {
    const int32_t* field = CompassField(which);
    if (!field) return;
    EditItem = which;
    EditWork = *field;
    if (which == 3) {
        EditWork = std::clamp(EditWork, 0, TotalFieldMax);
        OpenEditor(0, TotalFieldMax, &EditWork, CompassEditorKeys, EditorCmdDown, 0);
        MarkValueEditor(EdMagField, &EditWork);
        return;
    }
    const int32_t most = which == 1 ? DeclinationMax : InclinationMax;
    EditWork = std::clamp(EditWork, -most, most);
    // The cursor walks the degree-and-minute digits: the bounds as whole degrees and minutes.
    OpenEditor(-DegMinOf(most), DegMinOf(most), &EditWork, CompassEditorKeys, EditorCmdDown, 0);
    MarkValueEditor(EdAngle, &EditWork, which == 1 ? gettext_noop("Declination") : gettext_noop("Inclination"));
}

void CompassQuestion(int32_t answer) {
    if (answer > 0) {
        OpenCompassEditor(answer);
        return;
    }
    Keyboard.Clear();
    CloseMessageBox();
    CompassPages();
}

// ---- autopilot ----

struct TApEditor {
    int16_t item;
    int16_t kind;      // value-editor family
    const char* title;
    int32_t minimum, maximum;
    int16_t scale;     // stored = work x scale (0: the airspeed units)
};
const TApEditor ApEditors[] = {
    {ItemRollSensitivity, EdSensitivity, gettext_noop("Roll sensitivity"), 1, 24, 1},
    {ItemPitchSensitivity, EdSensitivity, gettext_noop("Pitch sensitivity"), 1, 24, 1},
    {ItemMaxBankAngle, EdApAngle, gettext_noop("Bank angle"), 50, 300, 10},
    {ItemTurnRateTarget, EdApAngle, gettext_noop("Turn rate"), 5, 30, 10},
    {ItemMaxLongitudinalAngle, EdApAngle, gettext_noop("Longit. angle"), 10, 150, 10},
    {ItemMinAirSpeed, EdApAirSpeed, gettext_noop("Min. air speed"), 0, 0, 0},
    {ItemMaxAirSpeed, EdApAirSpeed, gettext_noop("Max. air speed"), 0, 0, 0},
};

const TApEditor* FindApEditor(int item) {
    for (const TApEditor& e : ApEditors)
        if (e.item == item) return &e;
    return nullptr;
}

// The airspeed bound in tenths of the selected unit.
int32_t SpeedMaximum() { return UnitsSetting.airspeed == UnitKnots ? 2430 : UnitsSetting.airspeed == UnitMph ? 2794 : 4500; }

int16_t* ApWord(int item) {
    TAutopilotSetting& a = AutopilotSetting;
    switch (item) {
        case ItemMaxBankAngle: return &a.maxBank;
        case ItemTurnRateTarget: return &a.turnRate;
        case ItemMaxLongitudinalAngle: return &a.maxPitch;
        case ItemMinAirSpeed: return &a.minSpeed;
        case ItemMaxAirSpeed: return &a.maxSpeed;
        default: return nullptr;
    }
}
uint8_t* ApByte(int item) {
    if (item == ItemRollSensitivity) return &AutopilotSetting.rollSensitivity;
    if (item == ItemPitchSensitivity) return &AutopilotSetting.pitchSensitivity;
    return nullptr;
}

int32_t ApStored(const TApEditor& e, int32_t work) {
    if (e.scale) return work * e.scale;
    return KmhFromSpeed(UnitsSetting.airspeed, work);
}

void ApPages(int item) {
    const bool roll = item == ItemRollSensitivity || item == ItemMaxBankAngle || item == ItemTurnRateTarget;
    ReopenPages(PageSetupInstallerFlight, {PageAutopilotSetup, roll ? PageRollAxis : PagePitchAxis});
    if (roll) RollAxisShown = 1;
    else PitchAxisShown = 1;
}

void ApEditorKeys(int32_t command) {
    const TApEditor* e = FindApEditor(EditItem);
    if (!e) return;
    switch (command) {
        case EditorCmdCancel:
            GetSS(SsAutopilot, 0);
            CloseEditor(0);
            ApPages(EditItem);
            return;
        case EditorCmdOk: {
            const int32_t stored = ApStored(*e, EditWork);
            if (uint8_t* b = ApByte(EditItem)) *b = static_cast<uint8_t>(std::clamp(stored, 0, 255));
            if (int16_t* w = ApWord(EditItem)) *w = static_cast<int16_t>(std::clamp(stored, INT16_MIN + 0, INT16_MAX + 0));
            SetSS(SsAutopilot, 0);
            CloseEditor(0);
            ApPages(EditItem);
            return;
        }
        case EditorCmdDown:
        case EditorCmdUp:
            EditorDefaultStep(command == EditorCmdUp ? 2 : 1);
            EditShown = ApStored(*e, EditWork);
            return;
        default: return;
    }
}

// ---- slip ----

void SlipPages(int servo) {
    ReopenPages(PageSetupInstallerFlight,
                {PageAutopilotSetup, PageServoSetup, servo == 1 ? PageRollServo : PagePitchServo});
    ServoSetupShown = 1;
}

void SlipEditorKeys(int32_t command) {
    const int servo = EditItem - 1000;
    switch (command) {
        case EditorCmdCancel:
            GetSS(SsServoRecord, static_cast<uint16_t>(EditRecord));
            CloseEditor(0);
            SlipPages(servo);
            return;
        case EditorCmdOk:
            ApCommand3[EditRecord].reserved[ServoRecSlip] = EditWork;
            SetSS(SsServoRecord, static_cast<uint16_t>(EditRecord));
            ReadDetectedServos();
            CloseEditor(0);
            SlipPages(servo);
            return;
        default: return;
    }
}

}  // namespace

void CompassEditor(int32_t which) {
    if (!CompassField(which)) return;
    if (CompassSetting.calibFlags & CompassCalibMask) {
        GuiMessageBox(gettext("After setting change you have to recalibrate compass, do you want to continue?"), 1,
                      KeySoft3, LabelYes, CompassQuestion, which);
        Keyboard.Bind(KeySoft4, LabelNo, CompassQuestion, 0);
        return;
    }
    OpenCompassEditor(which);
}

void ApParamEditor(int32_t item) {
    const TApEditor* e = FindApEditor(item);
    if (!e) return;
    EditItem = item;
    int32_t minimum = e->minimum, maximum = e->maximum;
    if (const uint8_t* b = ApByte(item)) EditWork = *b;
    if (const int16_t* w = ApWord(item)) {
        EditWork = e->scale ? *w / e->scale : ConvertSpeed(UnitsSetting.airspeed, *w);
    }
    if (!e->scale) maximum = SpeedMaximum();
    EditWork = std::clamp(EditWork, minimum, maximum);
    EditShown = ApStored(*e, EditWork);
    OpenEditor(minimum, maximum, &EditWork, ApEditorKeys, EditorCmdDown, 0);
    // Speeds are shown in whole units: their tenths are not edited.
    if (!e->scale) Editor.baseExponent = 1;
    MarkValueEditor(e->kind, e->kind == EdSensitivity ? &EditWork : &EditShown, e->title);
}

void SlipEditor(int32_t servo) {
    if (servo < 0 || servo > 1) return;
    const int32_t id = ServoSetting[servo].servoId;
    int record = -1;
    for (int i = 0; i < 2; ++i) {
        GetSS(SsServoRecord, static_cast<uint16_t>(i));
        if (id != 0 && ApCommand3[i].reserved[ServoRecId] == id) record = i;
    }
    if (record < 0) return;
    EditItem = 1000 + servo;
    EditRecord = record;
    EditWork = std::clamp(ApCommand3[record].reserved[ServoRecSlip], 0, 100);
    OpenEditor(0, 100, &EditWork, SlipEditorKeys, 0, 0);
    MarkValueEditor(EdPercent, &EditWork, servo == 1 ? gettext_noop("Roll slip") : gettext_noop("Pitch slip"));
}

// ---- refresh ----

void WizardTicks() {
    if (!TankCalibration.reader && AverReader) TankCalibration.SetReader(AverReader->Vals);
    TankCalibration.MeasureTick();
    CompassTick();
    ServoTick();
    if (Gyro.active && !InDemoMode()) GyroStabilisation(GyroTick);
}

void InstallWizardLinks() {
    RefreshHooks.WizardTicks = WizardTicks;
    TankCalibration.SetKeyboard(&Keyboard);
}
