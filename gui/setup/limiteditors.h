// Editors behind the setup menus: the engine and supply limits of the Range and Limits
// page, single setup values (sensor constants, averaging times, RPM threshold, unusable
// fuel, aircraft identification, supply names, clock and date). They sit on the shared
// editor record.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

// ---- shared by the editors of the setup ----
// Closes the menu and every overlay, removes every binding and holds the keys.
void TakeKeysForEditor();
// Removes every binding and closes every overlay (the screen's keys come back).
void ReleaseEditorKeys();
// Clears the open flag of every value editor, the airspeed-limits panel and the Range
// and Limits page flags and the editors' shared state.
void ResetEditorFlags();

// Character set of label editors, in order, wrapping at both ends: terminator, blank,
// '-', '0'..'9', 'A'..'Z'. A character outside the set steps to the terminator's
// neighbours (blank for next, 'Z' for previous).
char LabelCharNext(char c);
char LabelCharPrev(char c);

// ---- limit editors (setting 0x4065, sub id = channel) ----
// Fields, in the order of the limit pages' items.
enum TLimitField {
    LimitRange = 0, LimitAlarm = 1, LimitWarning = 2, LimitNormal = 3, LimitAlarmMin = 4, LimitWarningMin = 5,
    LimitDemoRpm = 5,  // RPM has no minimums: its field 5 is the demo RPM limit (0x4003 byte 24)
};
// Opens the editor of one limit of a channel: RPM 0xB00, rotor RPM 0xB01, MAP 0x201, oil
// temperature 0x603, oil pressure 0x200, water 0x602 and 0x604, tanks 0x401 and 0x402,
// fuel pressure 0x202, fuel flow 0x400, EGT 0x100, CHT 0x101, volts 0x900..0x902 and
// currents 0xA03..0xA05. 0 opened; -1 a channel or field without such a limit; 1 the
// calibrated tank's range waits for the recalibration prompt ('4' Yes, '5' No).
int LimitEditorOpen(int channel, int field);
// The callback of every limit editor (the quantity comes from the open field).
void LimitEditor(int32_t command);
// Demo RPM limit (setting 0x4003 byte 24): LimitEditorOpen(0xB00, 5).
void DemoRpmLimitEditor(int32_t command);
// The open limit field (for tests and the painter): channel, field, bounds.
struct TLimitEdit {
    int channel;   // 0: none
    int field;
    int32_t* value;
    int32_t minimum, maximum;
    int reversed;  // current minimums: 's' raises, 'w' lowers
};
extern TLimitEdit LimitEdit;
// Bounds of a limit field from its neighbours (max never below min); -1 when unknown.
int LimitFieldBounds(int channel, int field, int32_t* minimum, int32_t* maximum, int32_t** value);

// ---- setup value editors ----
enum TSetupValueItem {
    SetupUnusableFuelLeft = 1, SetupUnusableFuelRight, SetupKFactor, SetupFlowAverage,
    SetupQuantityAverage, SetupRpmPulses, SetupRpmRatio, SetupRotorPulses, SetupRotorRatio,
    SetupActivationRpm,
};
// Opens the editor of one setup value; 0 done, -1 unknown item. returnPage: the page
// that the fuel-quantity averaging time goes back to (0: the fuel-flow page's parent).
int SetupValueEditor(int item, int returnPage = 0);
void SetupValueCallback(int32_t command);

// Aircraft identification (0x400F): 0 open / "Position" 5, 3/4 the character at the cursor.
void AircraftIdEditor(int32_t command);
// Supply channel names (0x400E): open with the channel, then the callback.
int SupplyNameEditorOpen(int channel);
void SupplyNameEditor(int32_t command);

// Clock editors; the wall clock and the clock setter are injectable for tests.
void TimeEditor(int32_t command);
void DateEditor(int32_t command);
// Sets the system clock: -1 before 946681200, -2 when refused (shown in a message box).
int SetClock(int64_t seconds);
void SetEditorClocks(std::function<int64_t()> now, std::function<int(int64_t)> setClock);
// Time editor fields (hours, minutes, seconds) and date editor fields (day, month, year).
extern int32_t TimeFields[3], DateFields[3];
extern int64_t EditedTime;  // seconds since 1970 of the time editor
extern struct tm EditedDate;

// Firmware update: the file "update/fwu.tls" under the working directory.
constexpr const char* FirmwareFile = "update/fwu.tls";
bool FirmwareFilePresent();
// 0 started; -1 nothing to download (no file); -2 no updater on this system.
int StartFirmwareDownload();

// Fills the shell's hooks this library serves (baro time-out).
void InstallSetupLinks();
