#include "overlays.h"

#include <libintl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "averdata.h"
#include "checklist.h"
#include "configmanager.h"
#include "displayitems.h"
#include "editors.h"
#include "extremes.h"
#include "fgbase.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "hkmeasure.h"
#include "hkutils.h"
#include "infopages.h"
#include "keyboard.h"
#include "limiteditors.h"
#include "menu.h"
#include "menulinks.h"
#include "readfile.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "screenkeys.h"
#include "shellstate.h"
#include "statusbar.h"
#include "tankcalib.h"
#include "units.h"

uint32_t PanelInk = DefaultPanelColour;
uint32_t PanelPaper = 0;
int OverlayScheme = 0;

int EngineExtremesShown = 0, FlightExtremesShown = 0, AirportDataShown = 0;
int DemoBoxShown = 0;
int ServoSetupShown = 0, ServoDeflectionShown = 0, RollAxisShown = 0, PitchAxisShown = 0;
int UnitsPageShown = 0, AirspeedLimitsShown = 0, DevicesPageShown = 0, MemoryFieldsShown = 0, DataSharingShown = 0;
int RangeLimitsShown = 0, SensorsPageShown = 0, AirTempSensorsShown = 0, ThermocouplePageShown = 0;
int AircraftPageShown = 0;
int MessageBoxShown = 0, MessageBoxPrompt = 0, MessageBoxStyle = MessageStyleRed;
int LevelSliderShown = 0, PercentSlider1Shown = 0, PercentSlider2Shown = 0;
int AboutBoxShown = 0;
int RuntimeConfigError = 0, MeasureConfigError = 0, StatisticConfigError = 0, FatalSharingError = 0;
long DemoSaveFileLength = 0;
TOverlayDialogs OverlayDialogs = {};

void (*PowerOffPostEvent)(int type) = [](int type) { RefreshPostToApp(type, 0); };
void (*PowerOffSleepMs)(int ms) = [](int ms) { usleep(static_cast<useconds_t>(ms) * 1000); };

namespace {

constexpr uint32_t Black = 0x000000, White = 0xFFFFFF;

int TextWidth(FGDrawBuffer* w, const char* text) {
    const int font = w->get_font();
    return FGFontManager::is_font(font) && text ? FGFontManager::textwidth(font, text) : 0;
}

// Selects the font of a role; a role without a font leaves the font as it is.
void RoleFont(FGDrawBuffer* w, int role) {
    const int font = OverlayRoleFont(role);
    if (FGFontManager::is_font(font)) w->set_font(font);
}

// A red alert box around one line, centred in [0, c): x = (c - w) / 2.
void AlertBox(FGDrawBuffer* w, const char* text, int c, int y, int extraW, int h, int textDx, int textDy) {
    const int tw = TextWidth(w, text);
    const int x = (c - tw) / 2;
    w->set_mode(DrawModeCopy);
    w->fillbox(x, y, tw + extraW, h, AlertColour);
    w->box(x, y, tw + extraW, h, Black);
    w->text(x + textDx, y + textDy, text, White, AlertColour);
}

FGDrawBuffer* Target() { return MainWindow; }

}  // namespace

// ---- scheme ----

void SetOverlayScheme(int kind) {
    if (kind == 0 || kind == 1)
        OverlayScheme = kind;
    else if (kind == 2)
        OverlayScheme = OverlayScheme % 2 + 1;
}

// ---- alert boxes ----

void DrawTemperatureAlert() {
    FGDrawBuffer* w = Target();
    if (!w || !TemperatureAlertUp()) return;
    const int saved = w->get_font();
    RoleFont(w, 11);
    char number[FixTextSize];
    FixToText(number, RefreshValues.instTemp, 1);
    char text[256];
    std::snprintf(text, sizeof text, "%s   %s = %s %s", gettext("Operational Temperature Out of Range!"),
                  gettext("Value"), number, gettext("\xB0" "C"));
    AlertBox(w, text, 650, 200, 150, 75, 75, 25);
    w->set_font(saved);
}

void DrawApPowerMessage() {
    FGDrawBuffer* w = Target();
    if (!w || !AverReader || !AverReader->Vals) return;
    int32_t status = 0;
    if (AverReader->Vals->GetVal(echInternalAutopilotStatus, status) < 0) return;
    if ((status & 5) != 5) return;
    const char* text = nullptr;
    if (status & 0x100)
        text = gettext("AP: INCREASE ENGINE POWER");
    else if (status & 0x200)
        text = gettext("AP: REDUCE ENGINE POWER");
    if (!text) return;
    const int saved = w->get_font();
    RoleFont(w, 11);
    AlertBox(w, text, 740, 280, 60, 50, 30, 12);
    w->set_font(saved);
}

int ConfigErrorPending() { return RuntimeConfigError || MeasureConfigError || StatisticConfigError || FatalSharingError; }

int TemperatureAlertUp() { return OverTempFlag && !InstTempShown; }

int AlertsPending() { return ConfigErrorPending() || TemperatureAlertUp(); }

void DrawConfigErrorBox() {
    FGDrawBuffer* w = Target();
    if (!w || !ConfigErrorPending()) return;
    const int saved = w->get_font();
    w->set_mode(DrawModeCopy);
    w->fillbox(140, 125, 480, 190, AlertColour);
    w->box(140, 125, 480, 190, Black);
    RoleFont(w, 11);
    w->text(255, 145, gettext("Error reading configuration"), White, AlertColour);
    RoleFont(w, 10);
    if (FatalSharingError) {
        w->text(165, 175, gettext("Fatal error while sharing data, can not continue"), White, AlertColour);
        w->text(165, 195, gettext("may restart can help"), White, AlertColour);
    } else {
        int y = 175;
        if (RuntimeConfigError) {
            w->text(165, y, gettext("Can not read runtime configuration, default is used"), White, AlertColour);
            y += 20;
        }
        if (StatisticConfigError) {
            w->text(165, y, gettext("Can not read statistic, default values are used"), White, AlertColour);
            y += 20;
        }
        if (MeasureConfigError) {
            w->text(165, y, gettext("Can not read measure and/or instrument setting, please"), White, AlertColour);
            w->text(165, y + 20, gettext("enter setup and set your configuration"), White, AlertColour);
        }
    }
    w->set_font(saved);
}

void DrawPowerOffCountdown() {
    FGDrawBuffer* w = Target();
    if (!w || PowerOffState == PowerIdle || PowerOffState == PowerCancelled || PowerOffState == PowerShutting) return;
    const int saved = w->get_font();
    RoleFont(w, 10);
    char text[256];
    std::snprintf(text, sizeof text, "%s %d %s", gettext("Power will be turn off in"), PowerOffCountdown,
                  gettext("sec, pres any key to cancel operation"));
    AlertBox(w, text, 770, 220, 30, 40, 15, 10);
    w->set_font(saved);
}

void DrawDemoModeBox(int show) {
    if (!show) {
        DemoSaveFileLength = 0;
        if (FILE* f = OpenStreamForReading("demosetup.dat")) {
            if (std::fseek(f, 0, SEEK_END) == 0) {
                const long n = std::ftell(f);
                DemoSaveFileLength = n > 0 ? n : 0;
            }
            std::fclose(f);
        }
        return;
    }
    FGDrawBuffer* w = Target();
    if (!w) return;
    const int saved = w->get_font();
    w->set_mode(DrawModeCopy);
    w->fillbox(250, 165, 300, 150, DefaultPanelColour);
    w->box(250, 165, 300, 150, Black);
    RoleFont(w, 11);
    const char* title = gettext("Demo mode");
    w->text(400 - TextWidth(w, title) / 2, 175, title, Black, DefaultPanelColour);
    RoleFont(w, 10);
    const char* type;
    switch (DemoModelCode) {
        case 27: type = "EFIS"; break;
        case 30: type = "EMS"; break;
        case 29: type = "EFIS + EMS"; break;
        case 31: type = "Remote Display"; break;
        default: type = "Unknown"; break;
    }
    char reset[32];
    std::snprintf(reset, sizeof reset, "%d s", static_cast<int>(DemoSetting.resetTime));
    const char* rows[4][2] = {
        {gettext("Status:"), InDemoMode() ? gettext("ON ") : gettext("OFF ")},
        {gettext("Skyvane type:"), gettext(type)},
        {gettext("Reset time:"), reset},
        {gettext("Save setting:"), DemoSaveFileLength ? gettext("yes") : gettext("none")},
    };
    for (int i = 0; i < 4; ++i) {
        w->text(265, 215 + 20 * i, rows[i][0], Black, DefaultPanelColour);
        w->text(410, 215 + 20 * i, rows[i][1], Black, DefaultPanelColour);
    }
    w->set_font(saved);
}

// ---- the painter ----

void PaintOverlays(FGWindow* window) {
    FGDrawBuffer* w = window ? static_cast<FGDrawBuffer*>(window) : MainWindow;
    if (!w) return;
    // 1. The entertainment screen covers everything.
    if (Entertainer || (MenuLinks.EntertainerOpen && MenuLinks.EntertainerOpen())) return;
    const int savedFont = w->get_font();
    // 2. About box.
    if (OverlayDialogs.DrawAboutBox) OverlayDialogs.DrawAboutBox(w);
    // 3. Statistics, checklist, airport data, demo box.
    if (EngineExtremesShown) DrawEngineExtremes(w);
    if (FlightExtremesShown) DrawFlightExtremes(w);
    if (ChecklistBoxLineCount > 0) DrawTextMessageBox(w);
    if (AirportDataShown) DrawAirportData(w);
    if (DemoBoxShown) DrawDemoModeBox(1);
    // 4. Page colours by the scheme.
    int fillOp = 0, textOp = 0;
    uint32_t fill = PanelInk;
    if (OverlayScheme == 2) {
        if (ScreenType == ScreenEngine) {
            PanelInk = 0;
            PanelPaper = 0xFFFFFF;
            fillOp = 2;
            fill = 0x5F5F5F;
            textOp = 3;
        } else {
            PanelInk = 0xFFFFFF;
            PanelPaper = 0x585858;
            fillOp = 3;
            fill = 0x808080;
            textOp = 2;
        }
    }
    // 5. Setup information pages (each tests its own flag).
    DrawServoSetupPage(w, fillOp, textOp, fill);
    DrawServoDeflectionPage(w, fillOp, textOp, fill);
    DrawRollAxisPage(w, fillOp, textOp, fill);
    DrawPitchAxisPage(w, fillOp, textOp, fill);
    DrawUnitsPage(w, fillOp, textOp, fill);
    DrawAirspeedLimitsPage(fillOp, textOp, fill);
    DrawDevicesPage(w, fillOp, textOp, fill);
    DrawMemoryFieldsPage(w, fillOp, textOp, fill);
    DrawDataSharingPage(w, fillOp, textOp, fill);
    DrawRangeLimitsPage(w, fillOp, textOp, fill);
    DrawSensorsPage(w, fillOp, textOp, fill);
    DrawAirTempSensorsPage(w, fillOp, textOp, fill);
    DrawThermocouplePage(w, fillOp, textOp, fill);
    DrawAircraftPage(w, fillOp, textOp, fill);
    // 6. Back to the plain colours and the plain raster mode.
    PanelInk = DefaultPanelColour;
    PanelPaper = 0;
    w->set_mode(DrawModeCopy);
    // 7. Dialogs, editors, popup list, configuration errors.
    DrawFuelPressZeroCalib(w);
    TankCalibration.Draw(w);
    if (OverlayDialogs.DrawSelectDir) OverlayDialogs.DrawSelectDir(w);
    w->set_mode(DrawModeCopy);
    DrawValueEditors(SetupModeActive);
    DrawPopupList();
    DrawConfigErrorBox();
    // 8. The message box.
    if (MessageBoxShown || MessageBoxPrompt) DrawMessageBox(MessageBoxStyle);
    // 9. The setup tag.
    if (SetupModeActive) {
        RoleFont(w, 11);
        const char* tag = gettext("SETUP MODE");
        const int tw = TextWidth(w, tag);
        w->set_mode(DrawModeCopy);
        w->fillbox(770 - tw, 12, tw + 20, 28, AlertColour);
        w->box(770 - tw, 12, tw + 20, 28, Black);
        w->text(780 - tw, 14, tag, Black, AlertColour);
    }
    // 10. Alerts, countdown, sliders, autopilot power.
    DrawTemperatureAlert();
    DrawPowerOffCountdown();
    if (LevelSliderShown) DrawLevelSlider();
    if (PercentSlider1Shown) DrawPercentSlider1();
    if (PercentSlider2Shown) DrawPercentSlider2();
    DrawApPowerMessage();
    w->set_mode(DrawModeCopy);
    w->set_font(savedFont);
}

// ---- message box ----

void GuiMessageBox(const char* text, int alert, int key, int label, void (*callback)(int), int argument) {
    if (!text) return;
    CloseMenuKeysAndBox();
    SetMessageText(text);
    if (alert == 0)
        MessageBoxStyle = MessageStylePanel;
    else
        MessageBoxPrompt = 1;
    MessageBoxShown = 1;
    Keyboard.BindNone(AllKeys);
    Keyboard.Bind(key, label, callback, argument);
    SoftKeyHold = 1;
}

void DismissMessage(int /*argument*/) {
    Keyboard.Clear();
    CloseMessageBox();
}

void CloseMessageBox() {
    MessageBoxShown = MessageBoxPrompt = 0;
    MessageBoxStyle = MessageStyleRed;
    SoftKeyHold = 0;
    LevelSliderShown = PercentSlider1Shown = PercentSlider2Shown = 0;
    EngineExtremesShown = FlightExtremesShown = AirportDataShown = 0;
    ChecklistBoxLineCount = 0;
    DemoBoxShown = 0;
    DemoBannerShown = 0;
    ServoSetupShown = ServoDeflectionShown = RollAxisShown = PitchAxisShown = 0;
    UnitsPageShown = AirspeedLimitsShown = DevicesPageShown = MemoryFieldsShown = DataSharingShown = 0;
    RangeLimitsShown = SensorsPageShown = AirTempSensorsShown = ThermocouplePageShown = 0;
    if (AircraftPageShown != 2) AircraftPageShown = 0;  // the short backlight page stays
    FuelPressCalibState = FuelCalibHidden;
    ClearValueEditorMarks();
    ResetEditorFlags();
    PopupListHide();
    AboutBoxShown = 0;
    if (OverlayDialogs.CloseAboutBox) OverlayDialogs.CloseAboutBox();
    BindScreenKeys();
}

void RaiseConfigErrors() {
    const uint32_t damaged = DamagedSettingKinds();
    if (damaged & KindRuntime) RuntimeConfigError = 1;
    if (damaged & KindStatistic) StatisticConfigError = 1;
    if ((damaged & (KindSetup | KindCalib | KindChecklist)) || SettingsError) MeasureConfigError = 1;
}

void ConfirmAlerts() {
    RuntimeConfigError = MeasureConfigError = StatisticConfigError = FatalSharingError = 0;
    SettingsError = 0;
    AcceptDamagedSettings();
    if (OverTempFlag) {
        // Acknowledged: the engine page shows the temperature in red instead, and the
        // refresh raises the alert again only after the temperature was back in range.
        OverTempFlag = 0;
        InstTempShown = 1;
    }
}

// ---- power off ----

int RequestPowerOff(int kind) {
    PowerOffMissCount = 0;
    if (kind < PowerIdle || kind > PowerSave) return -1;
    if (kind <= PowerKey) {
        // The quit is already on its way: nothing to start or cancel.
        if (PowerOffState == PowerShutting) return 0;
        const bool idle = PowerOffState == PowerIdle || PowerOffState == PowerCancelled;
        int next = kind;
        if (kind == PowerIdle) {
            if (PowerOffState == PowerCancelled) {
                PowerOffState = PowerIdle;
                return 0;
            }
            next = PowerCancelled;
        }
        if (next == PowerCancelled) PowerOffCountdown = 0;
        if (next == PowerMainSwitch) {
            if (idle && StatusInputFlags[2])
                PowerOffCountdown = 20;
            else
                next = PowerKey;
        }
        if (next == PowerKey) {
            if (!idle) return 0;  // a running countdown is not restarted
            PowerOffCountdown = 5;
        }
        PowerOffState = next;
        // Nothing is drawn over the entertainment screen and its keys bypass the soft keys:
        // it closes, so that the countdown is seen and a key can cancel it.
        if ((next == PowerMainSwitch || next == PowerKey) && MenuLinks.EntertainerOpen &&
            MenuLinks.EntertainerOpen() && MenuLinks.DestroyEntertainer)
            MenuLinks.DestroyEntertainer();
        CloseMenuKeysAndBox();
        return 0;
    }
    if (PowerOffState == PowerShutting) return 0;  // never twice
    if (kind == PowerSave) {
        SaveAtQuit();
        SetBrightness(0, 1);
    }
    PowerOffState = PowerShutting;
    fg_set_timer(0, nullptr);
    if (PowerOffSleepMs) PowerOffSleepMs(10);
    if (PowerOffPostEvent) {
        PowerOffPostEvent(3);
        PowerOffPostEvent(6);
    }
    return 0;
}

// ---- start-up ----

void LoadLastStatus() {
    FILE* f = OpenStreamForReading("last_status");
    if (!f) return;
    PopupListAdd(PopupClear, 0, 0);
    const int font = OverlayRoleFont(10);
    char line[PopupLineSize + 1];
    while (std::fgets(line, sizeof line, f)) {
        const size_t n = std::strlen(line);
        // The rest of an overlong line is dropped, not shown as a line of its own.
        if (n > 0 && line[n - 1] != '\n') {
            int c;
            while ((c = std::fgetc(f)) != EOF && c != '\n') {
            }
        }
        if (line[0] == '#') continue;
        if (PopupListAdd(line, font, 0) != 0) break;
    }
    std::fclose(f);
    if (PopupListActive(2) > 0) {
        PopupListAdd(PopupShow, 0, 0);
        Keyboard.Clear();
        Keyboard.SetMode(21);
    }
}

int ConfirmLastStatus(int64_t nowSeconds) {
    if (!PopupListActive(1)) return 0;
    char name[32];
    std::snprintf(name, sizeof name, "%lld", static_cast<long long>(nowSeconds));
    const int r = std::rename("last_status", name);
    PopupListAdd(PopupClear, 0, 0);
    return r == 0 ? 1 : -1;
}

void ShowDemoNotice() {
    SetMessageText(gettext("Device is in DEMO MODE!"));
    MessageBoxStyle = MessageStylePanel;
    MessageBoxShown = 1;
    DemoBannerShown = 1;
    Keyboard.Clear();
    Keyboard.SetMode(21);
}

// ---- refresh helpers ----

void FormatLimitedValue(TDisplayItem* item, const int32_t* limits, int32_t value, const char* unit) {
    if (!item) return;
    item->textColour = static_cast<int32_t>(White);
    item->warnColour = 0;
    item->value = ItemHighlight;  // the box shows this text on its warning colour
    if (!unit) unit = "";
    if (value < -9998) {
        // A failed reading shows no value rather than the last one.
        std::snprintf(item->text, sizeof item->text, " - - - %s ", unit);
        return;
    }
    char number[FixTextSize];
    FixToText(number, value, 1);
    std::snprintf(item->text, sizeof item->text, " %.12s %.12s ", number, unit);
    if (!limits) return;
    const int32_t warnLow = limits[0], warnHigh = limits[1], alarmLow = limits[2], alarmHigh = limits[3];
    if ((alarmHigh != 0 && value > alarmHigh) || (alarmLow != 0 && value < alarmLow)) {
        item->warnColour = static_cast<int32_t>(AlertColour);
    } else if ((warnHigh != 0 && value > warnHigh) || (warnLow != 0 && value < warnLow)) {
        item->warnColour = static_cast<int32_t>(WarningColour);
        item->textColour = 0;
    }
}

// ---- links into the shell ----

namespace {

void ShowFirmwareFailure(const char* text) { GuiMessageBox(text, 1, KeyRightPush, LabelOk, DismissMessage, 0); }

// A failed runtime save, told once by the refresh, and never over another box, an alert,
// the popup list, a countdown, a wizard's keys or the entertainment screen (which hides it).
int ShowSaveFailure() {
    const bool busy = MessageBoxShown || MessageBoxPrompt || SoftKeyHold || AlertsPending() || PopupListActive(1) ||
                      (PowerOffState != PowerIdle && PowerOffState != PowerCancelled) ||
                      (MenuLinks.EntertainerOpen && MenuLinks.EntertainerOpen());
    if (busy) return 0;
    GuiMessageBox(gettext("Setting could not be stored!"), 1, KeySoft4, LabelConfirm, DismissMessage, 0);
    return 1;
}

}  // namespace

void InstallOverlayLinks() {
    RefreshHooks.RequestPowerOff = RequestPowerOff;
    RefreshHooks.FormatLimitedValue = FormatLimitedValue;
    RefreshHooks.ShowFirmwareFailure = ShowFirmwareFailure;
    RefreshHooks.ShowSaveFailure = ShowSaveFailure;
    MenuLinks.PowerOffReset = [] { RequestPowerOff(PowerIdle); };
    MenuLinks.ShowDemoNotice = ShowDemoNotice;
    MenuLinks.LoadLastStatus = [] {
        // The settings as loaded at start-up: a read error stays on the screen until confirmed.
        const int before = ConfigErrorPending();
        RaiseConfigErrors();
        if (ConfigErrorPending() && !before) BindScreenKeys();
        LoadLastStatus();
    };
    MenuLinks.DrawBaroBox = DrawBaroBox;
    MenuLinks.CloseMessageBox = CloseMessageBox;
}
