#include "keyglue.h"

#include <libintl.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "aboutbox.h"
#include "averdata.h"
#include "baroeditor.h"
#include "bugeditors.h"
#include "chandesc.h"
#include "configmanager.h"
#include "editors.h"
#include "entertainer.h"
#include "flighthsi.h"
#include "flightpage.h"
#include "hkutils.h"
#include "keyboard.h"
#include "limiteditors.h"
#include "menu.h"
#include "menuaction.h"
#include "overlays.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "screenkeys.h"
#include "setupentry.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "units.h"

int32_t ObsValue = 0;
int SetupMenuShown = 0;
int EngineRunPromptPending = 0, EngineRunPromptAcked = 0;
int64_t EngineRunPromptSec = 0;
int32_t EngineRunPromptUsec = 0;

void CloseMenuKeysAndBox() {
    MainMenu.Show(0);
    Keyboard.Clear();
    CloseMessageBox();
}

namespace {

int32_t ObsRemembered = 0;

bool ReadAveraged(uint32_t id, int32_t& value) {
    value = NoValue;
    if (!AverReader || AverReader->GetValue(id, value) != 0 || value == NoValue) {
        value = NoValue;
        return false;
    }
    return true;
}

// ---- modes 4 and 10-14: the horizon/camera key ----
void HorizonCamera() {
    int32_t& word = DisplaySetting.screenWord;
    int state = ((word >> 10) & 1) | (((word >> 9) & 1) << 1);
    state = (state + 1) % 4;
    word = (word & ~0x600) | ((state & 1) << 10) | (((state >> 1) & 1) << 9);
    // The screen's keys come back for the new state.
    CloseMenuKeysAndBox();
    if (!InDemoMode()) {
        const bool raise = (word & 0x200) != 0;
        const bool ok = JpdMakeUpDown(nullptr, raise);
        HookPrintf("%s%s", raise ? "GUI: Make up JPD = " : "GUI: Make down JPD = ", ok ? "TRUE\n" : "FALSE\n");
    }
    SetSS(SsDisplay, 0);
    SaveRuntime();
    SetTimerPeriod();
}

void TimerPanel() {
    CloseMenuKeysAndBox();
    Keyboard.BindNone(AllKeys);
    Keyboard.Bind(KeySoft1, LabelBack, TimerKeys, 0);
    Keyboard.Bind(KeySoft2, LabelStartStop, TimerKeys, 1);
    Keyboard.Bind(KeySoft3, LabelReset, TimerKeys, 2);
}

void StatisticOverlay() {
    CloseMenuKeysAndBox();
    if (ScreenType == ScreenEngine)
        EngineExtremesShown = 1;
    else
        FlightExtremesShown = 1;
    SoftKeyHold = 1;
    Keyboard.Bind(KeySoft3, LabelHide, MainMenuKeys, 0);
}

// ---- mode 21 ----
void Confirm() {
    if (DemoBannerShown) {
        DemoBannerShown = 0;
        Keyboard.Clear();
        CloseMessageBox();
        if (DeviceID == DeviceRemoteDisplay && InDemoMode()) ResetDemo(true);
    } else if (EngineRunPromptPending) {
        EngineRunPromptPending = 0;
        EngineRunPromptAcked = 1;
        RefreshClock(&EngineRunPromptSec, &EngineRunPromptUsec);
    } else if (PopupListActive(1)) {
        if (ConfirmLastStatus(RefreshNowSeconds()) < 0) HookPrintf("GUI: last_status not renamed\n");
    } else {
        ConfirmAlerts();
    }
    Keyboard.Clear();
    BindScreenKeys();
}

// ---- autopilot panels (modes 24, 26, 27) ----
void StoreAutopilot() {
    SetSS(SsDisplay, 0);
    SetSS(SsAutopilotRuntime, 0);
}

void CompassError() {
    GuiMessageBox(gettext("Bug was not changed, due to compass error!"), 1, KeySoft4, LabelConfirm, DismissMessage, 0);
}

void AutopilotAxisRequest(int key) {
    const int bits = key == KeySoft1 ? 7 : key == KeySoft2 ? 3 : 5;
    OperApApAxis |= bits;
    HookPrintf("MAKE_IM_AP_AXIS_END (Activation request)\n");
    Keyboard.Clear();
    if (AutopilotActive) {
        CloseMessageBox();
        SetSS(SsAutopilotRuntime, 0);
    } else {
        Keyboard.SetMode(26);
        SoftKeyHold = 1;
    }
}

void AutopilotEngage(int state) {
    AutopilotActive = state;
    HookPrintf("MAKE_IM_AP_CONTROL_END (Activation request)\n");
    StoreAutopilot();
    CloseMenuKeysAndBox();
}

void AutopilotFunction(int key) {
    const bool roll = (OperApApAxis & 2) != 0, pitch = (OperApApAxis & 4) != 0;
    if (key == KeySoft1) {
        int32_t heading = NoValue, altitude = NoValue;
        // A missing value never becomes a bug or a command.
        if ((roll && !ReadShownHeading(&heading)) || (pitch && !ReadAveraged(echAltitudeQNH, altitude))) {
            CompassError();
            return;
        }
        if (roll) {
            const int32_t degrees = ((heading + 5) / 10 % 360 + 360) % 360;
            DisplaySetting.hdgBug = degrees;
            AutopilotRuntime.headingTarget = degrees * 100;
        }
        if (pitch) {
            DisplaySetting.altBug = SatInt32(static_cast<int64_t>(altitude) * 10);
            AutopilotRuntime.altitudeTarget = DisplaySetting.altBug;
        }
        AutopilotEngage(1);
    } else if (key == KeySoft2) {
        if (roll) AutopilotRuntime.headingTarget = DisplaySetting.hdgBug * 100;
        if (pitch) AutopilotRuntime.altitudeTarget = DisplaySetting.altBug;
        AutopilotEngage(2);
    } else if (key == KeySoft3) {
        if (ViewSetting.navSource != 2) {
            ViewSetting.navSource = 2;
            SetSS(SsView, 0);
            SaveRuntime();
        }
        AutopilotRuntime.modeWord = 0x1100;
        AutopilotEngage(3);
    } else if (key == KeySoft4) {
        GetSS(SsAutopilotRuntime, 0);
        CloseMenuKeysAndBox();
    }
}

void AutopilotEngaged(int key) {
    switch (key) {
        case KeySoft1:
            AutopilotActive = 0;
            OperApApAxis = 0;
            AutopilotRuntime.modeWord = 1;
            SetSS(SsAutopilotRuntime, 0);
            Keyboard.Clear();
            CloseMessageBox();
            break;
        case KeySoft2:
            Keyboard.Clear();
            Keyboard.SetMode(24);
            SoftKeyHold = 1;
            break;
        case KeySoft3:
            Keyboard.Clear();
            Keyboard.SetMode(26);
            SoftKeyHold = 1;
            break;
        case KeySoft4:
            CloseMenuKeysAndBox();
            break;
        default:
            break;
    }
}

// ---- modes 28 and 29 ----
void CommPanelKey(int key) {
    switch (key) {
        case KeyRightPush: StandbyFreqEditor(EditorCmdOpen); break;
        case KeySoft1:
            SwapActiveStandby(0);
            CloseMenuKeysAndBox();
            break;
        case KeySoft2: CloseMenuKeysAndBox(); break;
        case KeySoft3:
            MainMenuKeys(-1);
            MemorySelection = -1;
            MainMenu.OpenPage(PageRadioMemories);
            break;
        case KeySoft4: SquawkCodeEditor(10); break;
        default: break;
    }
}

void XpdrPanelKey(int key) {
    switch (key) {
        case KeyRightPush:
        case KeyRightTurnLeft:
        case KeyRightTurnRight: SquawkCodeEditor(EditorCmdOpen); break;
        case KeySoft1:
            SetXpdrMode(-1);
            Keyboard.BindNone(KeySet<KeyRightTurnLeft, KeyRightTurnRight, KeyRightPush, KeySoft2>);
            break;
        case KeySoft2:
            StartIdent(0);
            CloseMenuKeysAndBox();
            break;
        case KeySoft3:
            if (VfrCodeSetting.code != 0) {
                XpdrRuntime.squawk = PackSquawk(UnpackSquawk(VfrCodeSetting.code));
                SetSS(SsXpdrRuntime, 0);
                SaveRuntime();
                SquawkCodeEditor(10);
            }
            break;
        case KeySoft4: SquawkCodeEditor(EditorCmdCancel); break;
        default: break;
    }
}

// ---- the instrument screens' own keys ----
void HeadingMenu() {
    Keyboard.Clear();
    CloseMessageBox();
    RenewMenuDeadline();
    Keyboard.Bind(KeyLeftTurnLeft, 0, MainMenuKeys, 2);
    Keyboard.Bind(KeyLeftTurnRight, 0, MainMenuKeys, 1);
    Keyboard.Bind(KeyLeftPush, LabelSelect, MainMenuKeys, 3);
    MainMenu.OpenPage(PageHeadingBugs);
    MainMenu.left = 1;
    MainMenu.Show(1);
}

void BindScreenSelect() {
    Keyboard.Bind(KeyRightTurnLeft, 0, ScreenSelectKeys, 1);
    Keyboard.Bind(KeyRightTurnRight, 0, ScreenSelectKeys, 2);
    Keyboard.Bind(KeyRightPush, LabelScreen, ScreenSelectKeys, 0);
    Keyboard.Bind(KeySoft4, LabelNext, ScreenSelectKeys, 1);
}

void BaroEditorKeys() {
    Keyboard.Clear();
    CloseMessageBox();
    ArmBaroDeadline();
    Keyboard.BindNone(AllKeys);
    Keyboard.Bind(KeyRightTurnLeft, 0, BaroSettingEditor, BaroDown);
    Keyboard.Bind(KeyRightTurnRight, 0, BaroSettingEditor, BaroUp);
    Keyboard.Bind(KeySoft1, LabelQfe, BaroSettingEditor, BaroQfe);
    const int unit = UnitsSetting.baro;
    Keyboard.Bind(KeySoft2, unit == UnitInHg ? Label2992 : unit == UnitTorr ? Label760 : Label1013, BaroSettingEditor,
                  BaroStandard);
    Keyboard.Bind(KeyRightPush, LabelSetPress, BaroSettingEditor, BaroSet);
    Keyboard.Bind(KeySoft3, LabelCancel, BaroSettingEditor, BaroCancel);
}

void ScreenKey(int mode, int key) {
    const bool engineModes = mode == 15 || mode == 16;
    switch (key) {
        case KeyLeftPush:
            if (!engineModes) HeadingMenu();
            break;
        case KeyRightPush: MainMenuKeys(-1); break;
        case KeySoft4:
            if ((LayoutCaps & CapEngineStrip) || mode != 2) {
                CloseMenuKeysAndBox();
                BindScreenSelect();
            }
            break;
        case KeyLeftTurnRight:
        case KeyLeftTurnLeft:
            if (!engineModes) {
                MainMenu.Show(0);
                BugEditorOpen(key == KeyLeftTurnRight ? BugHeading : BugHeadingToo);
            }
            break;
        case KeyRightTurnLeft:
        case KeyRightTurnRight:
            if (DeviceID != DeviceEms && DeviceID != DeviceEms2 && !engineModes && (LayoutCaps & CapFlightPage)) BaroEditorKeys();
            break;
        default: break;
    }
}

void ResetStatPair(TStatPair& pair) {
    pair.max = INT32_MIN;
    pair.min = INT32_MAX;
}

void ResetShownStatistics() {
    const bool engine = EngineExtremesShown || (!FlightExtremesShown && ScreenType == ScreenEngine);
    if (engine) {
        TEngineStatistics& e = EngineStatistics;
        for (TStatPair* p : {&e.rpm, &e.map, &e.rpm2, &e.oilTemp, &e.oilPress, &e.iat, &e.oat, &e.fuelPress,
                             &e.fuelFlow})
            ResetStatPair(*p);
        std::fill(std::begin(e.egtMax), std::end(e.egtMax), INT32_MIN);
        std::fill(std::begin(e.chtMax), std::end(e.chtMax), INT32_MIN);
    } else {
        TFlightStatistics& f = FlightStatistics;
        for (TStatPair* p : {&f.altitude, &f.speed, &f.verticalSpeed, &f.acceleration}) ResetStatPair(*p);
    }
}

void CloseBoreSightEditorHook() { BoreSightEditor(0); }
uint8_t SymbolAdjustMode() { return BoreSightEditOpen != 0; }

}  // namespace

int RefreshNowSeconds() {
    int64_t sec = 0;
    int32_t usec = 0;
    RefreshClock(&sec, &usec);
    return SatInt32(sec);
}

void DefaultKeyAction(int mode, int keyCode) {
    const int key = keyCode & 0xFF;
    if (mode >= 10 && mode <= 14 && (key == KeySoft1 || key == KeySoft2)) mode = 4;
    switch (mode) {
        case 4:
            if (key == KeySoft1) HorizonCamera();
            break;
        case 5: case 6: case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 14:
            if (key == KeySoft3) {
                static const int target[15] = {0, 0, 0, 0, 0, 4, 5, 5, 6, 3, 4, 5, 5, 6, 3};
                CloseMenuKeysAndBox();
                SelectScreen(target[mode]);
                return;
            }
            break;
        case 15:
        case 16:
            if (key == KeySoft1) {
                TimerPanel();
                return;
            }
            if (key == KeySoft2) {
                if (LoadChecklistFile()) {
                    MainMenuKeys(-1);
                    MainMenu.OpenPage(PageChecklists);
                }
                return;
            }
            if (key == KeySoft3) {
                StatisticOverlay();
                return;
            }
            break;
        case 17: case 18: case 19: case 20:
            if (key == KeyRightPush) {
                SetupMenuShown = 1;
                MainMenuKeys(-1);
            } else if (key == KeySoft1) {
                SetupMenuShown = 0;
                exitSetup(1);
            } else if (key == KeySoft2) {
                SetupMenuShown = 0;
                exitSetup(4);
            } else if (key == KeySoft4) {
                CloseMenuKeysAndBox();
                SelectScreen(ScreenType < 2 ? 2 : 1);
            }
            return;
        case 21:
            if (key == KeySoft1) Confirm();
            return;
        case 22:
            return;
        case 23:
            RequestPowerOff(1);
            return;
        case 24:
            if (key == KeySoft1 || key == KeySoft2 || key == KeySoft3) AutopilotAxisRequest(key);
            if (key == KeySoft4) CloseMenuKeysAndBox();
            return;
        case 26:
            AutopilotFunction(key);
            return;
        case 27:
            AutopilotEngaged(key);
            return;
        case 28:
            CommPanelKey(key);
            return;
        case 29:
            XpdrPanelKey(key);
            return;
        default:
            break;
    }
    if (DemoBannerShown) return;
    if ((mode >= 1 && mode <= 16) || mode == 25) ScreenKey(mode, key);
}

void VfrSquawkKey(int32_t) { DefaultKeyAction(29, KeyCode(KeySoft3)); }

void MainMenuKeys(int32_t command) {
    switch (command) {
        case -1:
            Keyboard.Clear();
            CloseMessageBox();
            RenewMenuDeadline();
            Keyboard.Bind(KeyRightTurnLeft, 0, MainMenuKeys, 2);
            Keyboard.Bind(KeyRightTurnRight, 0, MainMenuKeys, 1);
            Keyboard.Bind(KeyRightPush, LabelSelect, MainMenuKeys, 3);
            MainMenu.Show(1);
            break;
        case 1: MainMenu.Next(); break;
        case 2: MainMenu.Prev(); break;
        case 3: MainMenu.Activate(); break;
        case 0:
            CloseMenuKeysAndBox();
            return;
        default: return;
    }
    RenewMenuDeadline();
}

int NextScreenType(int t, int command, int caps, int strip) {
    const int split = 3 + strip;
    if (command == 1) return t >= 3 ? 1 : t == 2 ? split : t + 1;
    int n = t < 3 ? t - 1 : 2;
    if (n == 2 && !(caps & CapFlightPage)) n = 1;
    if (n == 0 || (n == 1 && !(caps & CapEnginePage))) n = split;
    return n;
}

void ScreenSelectKeys(int32_t command) {
    if (command == 1 || command == 2) {
        SelectScreen(NextScreenType(ScreenType, command, LayoutCaps, StripIndex));
        BindScreenSelect();
    } else if (command == 0) {
        Keyboard.Clear();
        CloseMessageBox();
    }
}

void TimerKeys(int32_t command) {
    if (command == 0) {
        Keyboard.Clear();
        CloseMessageBox();
    } else if (command == 1) {
        FlightTimerRunning = !FlightTimerRunning;
    } else if (command == 2) {
        FlightTimerSeconds = 0;
    }
}

void HeadingBugEditor(int32_t command) {
    switch (command) {
        case 0: ObsRemembered = ObsValue; break;
        case 1:
        case 2: {
            const int step = KnobAcceleration(command == 1) ? 10 : 1;
            ObsValue = ((ObsValue + (command == 1 ? step : -step)) % 360 + 360) % 360;
            break;
        }
        case 3:
            ObsValue = ObsRemembered;
            MainMenuKeys(0);
            break;
        default: break;
    }
}

int BrightnessEditor(int32_t command) {
    int32_t& level = BrightnessSetting.level;
    if (command == 1) level = std::max(level - 50, 1);
    if (command == 2) level = std::min(level + 50, 1000);
    if (command == 3) {
        SetSS(SsBrightness, 0);
        SaveRuntime();
        // The slider's keys go first; closing the box then binds the screen's keys.
        Keyboard.Clear();
        CloseMessageBox();
    }
    return SetBrightness(level, 0);
}

void BrightnessKey(int32_t command) { BrightnessEditor(command); }

bool ReadShownHeading(int32_t* tenths) {
    int32_t v = NoValue;
    const bool ok = ReadAveraged(echInercialAzimut, v) || ReadAveraged(echGPSTrk, v);
    *tenths = v;
    return ok;
}

void SetNavSource(int32_t source) {
    ViewSetting.navSource = source;
    SetSS(SsView, 0);
    SaveRuntime();
    CloseMenuKeysAndBox();
}

int32_t BoreSightStep(int32_t offset, int up) {
    if (up) return std::min(offset + 2, 50);
    const int32_t v = offset - 2;
    return v == -1 ? 0 : std::max(v, -50);
}

void BoreSightEditor(int32_t command) {
    switch (command) {
        case 0:
            BoreSightEditOpen = 0;
            GetSS(SsView, 0);
            break;
        case 1:
            BoreSightEditOpen = 0;
            SetSS(SsView, 0);
            SaveRuntime();
            break;
        case 2:
        case 3: ViewSetting.symbolOffset = BoreSightStep(ViewSetting.symbolOffset, command == 3); return;
        default: return;
    }
    Keyboard.Clear();
    CloseMessageBox();
}

void ConfirmDeleteStatistics(int32_t command) {
    switch (command) {
        case 1:
            Keyboard.BindNone(KeySet<KeyRightPush>);
            Keyboard.Bind(KeySoft4, LabelNo, ConfirmDeleteStatistics, 2);
            Keyboard.Bind(KeySoft3, LabelYes, ConfirmDeleteStatistics, 3);
            SetMessageText(gettext("Are you sure you want to delete statistics?"));
            MessageBoxShown = 1;
            MessageBoxStyle = MessageStylePanel;
            SoftKeyHold = 1;
            return;
        case 3: ResetShownStatistics(); [[fallthrough]];
        case 2:
            MessageBoxShown = 0;
            Keyboard.Bind(KeyRightPush, LabelHide, MainMenuKeys, 0);
            Keyboard.Bind(KeySoft4, LabelDeleteValues, ConfirmDeleteStatistics, 1);
            Keyboard.BindNone(KeySet<KeySoft3>);
            return;
        default: return;
    }
}

void OpenEntertainer(int32_t command) {
    MessageBoxShown = 0;
    Keyboard.Clear();
    CloseMessageBox();
    if (command != 1) return;
    JpdMakeUpDown(nullptr, 0);
    if (NEnt::VideoPlayer.state == NEnt::PlayerPlaying) NEnt::VideoPlayer.Stop();
    if (!MainWindow || !CreateEntertainer(MainWindow)) PrintHook("MENU: Entertainer creation failed\n");
    SetTimerPeriod();
}

void InstallKeyGlueLinks() {
    RefreshHooks.CloseBoreSightEditor = CloseBoreSightEditorHook;
    FlightPageHooks.symbolAdjustMode = SymbolAdjustMode;
}
