// State and operations of the menus, editors and overlays that the refresh reads,
// clears or calls. The shell defines the words (refreshlinks.cpp, the refresh's own in
// refresh.cpp) and the libraries above it write them or fill the hook table; the shell
// never includes those libraries' headers. The shell's own state is in shellstate.h.
#pragma once

#include <cstdint>

#include "shellstate.h"

struct TDisplayItem;

// ---- menus, editors, overlays, devices ----
extern int MenuOpen;
extern int MenuCloseTime;         // seconds of time()
extern int FirmwareUpdateFailed;
extern int64_t BaroEditCloseMs;   // ShellClockMs() at which the baro editor closes by itself
extern int SoftKeyHold;           // a wizard holds the soft keys
extern int BoreSightEditOpen;
extern int SquawkChanged;
extern int PowerOffState;         // 0 none, 1.. the power-off state machine
extern int PowerOffCountdown;     // seconds
extern int PowerOffMonitoring;    // setting: watch the supply bits
extern int OneSecondCountdown[2];
extern int GpsValid;
extern int32_t GpsValidValue;
extern int XpdrModePending;       // -1 none
extern int AutopilotActive;
extern int OverTempFlag;
extern int InstTempShown;
extern uint8_t StatusInputFlags[3];  // bits 0x100, 0x200, 0x1000 of the input status
extern int RemoteDataFlags;
extern int FlightTimerRunning, FlightTimerSeconds;
extern int EngineTimerRunning, EngineTimerSeconds;
extern int DemoOptions;           // bit 2: the demo steps the colour schemes
extern int ExternalPowerOn;

// Opens the baro editor, or keeps it open, for 5 s more: every key of it calls this.
void ArmBaroDeadline();

// Operations of other parts; a null entry is skipped.
struct TRefreshHooks {
    void (*BindScreenKeys)();
    int (*RequestPowerOff)(int kind);
    int (*JpdStartStamp)();
    void (*FormatLimitedValue)(TDisplayItem* item, const int32_t* limits, int32_t value, const char* unit);
    void (*ShowFirmwareFailure)(const char* text);  // message box with '1' dismissing it
    int (*ShowSaveFailure)();                       // 1 told; 0 not now (another box is up)
    void (*CloseMenu)();                            // also clears the soft keys and open editors
    void (*ClearSoftKeys)();
    void (*CloseBaroEditor)();
    void (*CloseBoreSightEditor)();
    void (*SquawkEditorChanged)();
    void (*ApplyXpdrMode)(int mode);
    void (*XpdrIdentTick)();      // once per second: the transponder's IDENT hold
    void (*WizardTicks)();        // tank, compass, servo and gyro wizards
    void (*DemoVideoRestart)();
    void (*EntertainerTick)();    // non-null while the entertainment screen exists
    void (*RepaintMainWindow)();  // the main window's frame (FGWindow::DrawFrame)
};
extern TRefreshHooks RefreshHooks;

// Catalogue name of a supply channel ("BATTERY", "PUMP", "AVIONICS"; translated).
const char* SupplyChannelName(int channel);

// Autopilot settings cleared when the autopilot turns off.
extern int OperApApAxis, OperApNavSrc;
