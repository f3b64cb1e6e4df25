// Everything drawn over the instrument screen after the page: setup information pages,
// dialogs, value editors, the popup list, the message box, alert boxes, the "SETUP MODE"
// tag and sliders; the one-key message box, the closing of every overlay, the power-off
// state machine, the overlay colour scheme, "last_status" and two helpers of the refresh.
#pragma once

#include <cstdint>

class FGDrawBuffer;
class FGWindow;
struct TDisplayItem;

// ---- colours (0x00RRGGBB) ----
constexpr uint32_t DefaultPanelColour = 0xD2D2E1;  // RGB(210, 210, 225)
constexpr uint32_t AlertColour = 0xF20000;         // RGB(242, 0, 0)
constexpr uint32_t WarningColour = 0xFCE000;
extern uint32_t PanelInk;    // the setup pages' fill (scheme dependent while they draw)
extern uint32_t PanelPaper;  // the setup pages' text

// Overlay colour scheme: 0 or 1 solid boxes, 2 see-through boxes.
extern int OverlayScheme;
// 0 or 1 set the scheme; 2 toggles 1 <-> 2 (0 becomes 1); other kinds do nothing.
void SetOverlayScheme(int kind);

// ---- show flags (0/1) ----
extern int EngineExtremesShown, FlightExtremesShown, AirportDataShown;  // checklist: ChecklistBoxLineCount
extern int DemoBoxShown;
// Setup information pages.
extern int ServoSetupShown, ServoDeflectionShown, RollAxisShown, PitchAxisShown;
extern int UnitsPageShown, AirspeedLimitsShown, DevicesPageShown, MemoryFieldsShown, DataSharingShown;
extern int RangeLimitsShown, SensorsPageShown, AirTempSensorsShown, ThermocouplePageShown;
extern int AircraftPageShown;  // 2: the short backlight-only page, which closing the overlays keeps
// Message box: shown, prompt (the keys are held by a prompt) and style (TMessageStyle).
extern int MessageBoxShown, MessageBoxPrompt, MessageBoxStyle;
// Sliders of the level editors.
extern int LevelSliderShown, PercentSlider1Shown, PercentSlider2Shown;
extern int AboutBoxShown;
// Setting-read errors kept on the screen until confirmed.
extern int RuntimeConfigError, MeasureConfigError, StatisticConfigError, FatalSharingError;
// The temperature alert: OverTempFlag (raised by the refresh from RefreshValues.instTemp)
// until confirmed, which clears it and sets InstTempShown (the page's red temperature).
int TemperatureAlertUp();
// Any setting-read error flag.
int ConfigErrorPending();
// Start-up: the flag of each kind whose files were lost (runtime, statistic, or the setup,
// calibration and checklist files as the measure setting), and SettingsError as the
// measure setting's.
void RaiseConfigErrors();
// An error or temperature alert waits for mode 21's "Confirm".
int AlertsPending();

// Dialogs drawn by the painter, filled in by their owners (null: none).
struct TOverlayDialogs {
    void (*DrawAboutBox)(FGDrawBuffer* window);         // while the about box is open
    void (*CloseAboutBox)();                            // closing every overlay closes it
    void (*DrawSelectDir)(FGDrawBuffer* window);        // while the directory dialog is open
};
extern TOverlayDialogs OverlayDialogs;

// ---- the painter ----
// Once per paint after the page and the status bar; draws into window (the main window).
void PaintOverlays(FGWindow* window);
void DrawTemperatureAlert();
void DrawApPowerMessage();
void DrawConfigErrorBox();
// show 0: only refreshes the saved-demo flag from "demosetup.dat".
void DrawDemoModeBox(int show);
void DrawPowerOffCountdown();
// The saved-demo flag (length of "demosetup.dat"; 0 when absent).
extern long DemoSaveFileLength;

// ---- message box ----
// The one-key message box: alert 0 a normal message, else a prompt; only key is bound.
void GuiMessageBox(const char* text, int alert, int key, int label, void (*callback)(int), int argument);
// Key callback: removes every binding and closes the box.
void DismissMessage(int argument);
// Closes every overlay at once, then binds the screen's keys.
void CloseMessageBox();
// Clears the configuration-error flags and acknowledges the temperature alert (mode 21's "Confirm").
void ConfirmAlerts();
// Mode 21's "Confirm" of the popup list: renames "last_status" to the seconds given
// ("%d") and clears the list. 1 renamed, 0 no list shown, -1 the rename failed.
int ConfirmLastStatus(int64_t nowSeconds);
// The start-up demo notice: "Device is in DEMO MODE!" and soft-key mode 21.
void ShowDemoNotice();

// ---- power off ----
// 0 main switch back / clear a cancel, 1 cancel, 2 countdown 20 s from the main
// switch (when allowed), 3 countdown 5 s from the key, 4 shut down, 5 save (mask 3) then shut down.
enum { PowerIdle = 0, PowerCancelled = 1, PowerMainSwitch = 2, PowerKey = 3, PowerShutting = 4, PowerSave = 5 };
int RequestPowerOff(int kind);
// The main-switch countdown is allowed by StatusInputFlags[2] (bit 0x1000 of the input status).
// What kind 4 does after stopping the timer (tests replace them): a 10 ms pause, then
// toolkit events of type 3 (quit) and 6 posted.
extern void (*PowerOffPostEvent)(int type);
extern void (*PowerOffSleepMs)(int ms);

// ---- start-up and refresh helpers ----
// Reads "last_status" into the popup list and shows it with soft-key mode 21.
void LoadLastStatus();
// Engine value box text " value unit " (one decimal) and colours by the four limits
// (warning low, warning high, alarm low, alarm high; 0 = not set); NoValue gives " - - - unit ".
void FormatLimitedValue(TDisplayItem* item, const int32_t* limits, int32_t value, const char* unit);

// Fills the shell's hook tables (refresh hooks, menu links) with this file's routines.
void InstallOverlayLinks();
