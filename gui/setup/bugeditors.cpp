#include "bugeditors.h"

#include <algorithm>

#include "configmanager.h"
#include "editors.h"
#include "keyboard.h"
#include "limiteditors.h"
#include "menu.h"
#include "overlays.h"
#include "refresh.h"
#include "settingvars.h"
#include "units.h"

// Marks editor titles for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

int AttitudeOffsetEditing = 0;

namespace {

// Closing every overlay takes the bug's box with it.
void EndBugEditor() { ReleaseEditorKeys(); }

// Floor division for negative values as well.
int64_t FloorTo(int64_t v, int64_t step) {
    int64_t q = v / step;
    if (v % step != 0 && v < 0) --q;
    return q * step;
}

int64_t RoundDivNearest(int64_t num, int64_t den) {
    return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

}  // namespace

void BugEditorOpen(int32_t kind) {
    if (kind < BugAltitude || kind > BugHeadingToo) {
        ReleaseEditorKeys();
        return;
    }
    TakeKeysForEditor();
    TEditorHandler handler = nullptr;
    switch (kind) {
        case BugAltitude:
            DisplaySetting.bugsShown = 1;
            handler = AltBugEditor;
            MarkValueEditor(EdApAltitude, &DisplaySetting.altBug);
            break;
        case BugIas:
            DisplaySetting.iasBugOn = 1;
            handler = IasBugEditor;
            MarkValueEditor(EdApSpeed, &DisplaySetting.iasBug);
            break;
        default:
            DisplaySetting.hdgBugOn = 1;
            handler = HdgBugEditor;
            MarkValueEditor(EdApHeading, &DisplaySetting.hdgBug);
            break;
    }
    Keyboard.Bind(KeySoft3, LabelCancel, handler, EditorCmdCancel);
    Keyboard.Bind(KeyLeftPush, LabelSetEdit, handler, EditorCmdOk);
    Keyboard.Bind(KeyLeftTurnRight, 0, handler, EditorCmdUp);
    Keyboard.Bind(KeyLeftTurnLeft, 0, handler, EditorCmdDown);
    Keyboard.Bind(KeySoft2, LabelDisable, handler, 5);
    Keyboard.BindNone(KeySet<KeyRightPush, KeySoft1, KeySoft4, KeyRightTurnRight, KeyRightTurnLeft>);
}

int32_t AltBugStep(int32_t decimetres, int up, int fast, int metres) {
    const int64_t step = fast ? (metres ? 800 : 248) : (metres ? 100 : 31);
    int64_t v = static_cast<int64_t>(decimetres) + (up ? step : -step);
    if (metres) return static_cast<int32_t>(std::clamp<int64_t>(FloorTo(v, 100), -30000, 100000));
    v = std::clamp<int64_t>(v, -27432, 97536);
    // Feet on a 10 ft grid, back to decimetres.
    return static_cast<int32_t>(DecimetresFromFeetExact(AltBugFeet(static_cast<int32_t>(v))));
}

int32_t AltBugFeet(int32_t decimetres) {
    // The exact foot (0.3048 m): the rounded factor 3.28 would stall the steps
    // near 20000 ft, and the box would show one number on two steps.
    return static_cast<int32_t>(RoundDivNearest(TenthFeetFromDecimetresExact(decimetres), 100) * 10);
}

void AltBugEditor(int32_t command) {
    switch (command) {
        case EditorCmdDown:
        case EditorCmdUp: {
            const int up = command == EditorCmdUp;
            DisplaySetting.altBug = AltBugStep(DisplaySetting.altBug, up, KnobAcceleration(up),
                                               UnitsSetting.altitude != 0);
            break;
        }
        case EditorCmdOk:
            AutopilotRuntime.altitudeTarget = DisplaySetting.altBug;
            SetSS(SsAutopilotRuntime, 0);
            SetSS(SsDisplay, 0);
            SaveRuntime();
            EndBugEditor();
            break;
        case EditorCmdCancel:
            GetSS(SsDisplay, 0);
            EndBugEditor();
            break;
        case 5:
            DisplaySetting.bugsShown = 0;
            SetSS(SsDisplay, 0);
            SaveRuntime();
            EndBugEditor();
            break;
        default: break;
    }
}

int32_t IasBugStep(int32_t value, int up, int airspeedUnit) {
    // One unit in cm/h; the bug is in hundredths of km/h (1000 cm/h). Whole units are
    // counted by rounding so that steps never drift.
    const int64_t unit = CmPerHourOfSpeedUnit(airspeedUnit);
    int64_t units = RoundDivNearest(static_cast<int64_t>(value) * 1000, unit) + (up ? 1 : -1);
    int64_t v = RoundDivNearest(units * unit, 1000);
    if (v < 0) v = 0;
    if (v > 99900) v = RoundDivNearest((99900 * 1000 / unit) * unit, 1000);
    return static_cast<int32_t>(v);
}

void IasBugEditor(int32_t command) {
    switch (command) {
        case EditorCmdDown:
        case EditorCmdUp:
            DisplaySetting.iasBug = IasBugStep(DisplaySetting.iasBug, command == EditorCmdUp, UnitsSetting.airspeed);
            break;
        case 5:
            DisplaySetting.iasBugOn = 0;
            [[fallthrough]];
        case EditorCmdOk:
            SetSS(SsDisplay, 0);
            SaveRuntime();
            EndBugEditor();
            break;
        case EditorCmdCancel:
            GetSS(SsDisplay, 0);
            EndBugEditor();
            break;
        default: break;
    }
}

int32_t HdgBugStep(int32_t degrees, int up, int fast) {
    const int step = fast ? 16 : 1;
    int v = (degrees % 360 + 360) % 360 + (up ? step : -step);
    return (v % 360 + 360) % 360;
}

void HdgBugEditor(int32_t command) {
    switch (command) {
        case EditorCmdDown:
        case EditorCmdUp: {
            const int up = command == EditorCmdUp;
            DisplaySetting.hdgBug = HdgBugStep(DisplaySetting.hdgBug, up, KnobAcceleration(up));
            break;
        }
        case EditorCmdOk:
            if ((AutopilotRuntime.modeWord & 0xF00) == 0) {
                AutopilotRuntime.headingTarget = DisplaySetting.hdgBug * 100;
                SetSS(SsAutopilotRuntime, 0);
            }
            SetSS(SsDisplay, 0);
            SaveRuntime();
            EndBugEditor();
            break;
        case 5:
            DisplaySetting.hdgBugOn = 0;
            SetSS(SsDisplay, 0);
            SaveRuntime();
            EndBugEditor();
            break;
        case EditorCmdCancel:
            GetSS(SsDisplay, 0);
            EndBugEditor();
            break;
        default: break;
    }
}

// ---- attitude offsets ----

namespace {

int32_t OffsetBefore = 0;

void OffsetEditor(int subId, TEditorHandler self, const char* title, int32_t command) {
    int32_t& value = MiscSetting[subId].value;
    switch (command) {
        case EditorCmdOpen:
            OffsetBefore = value;
            value = std::clamp<int32_t>(value, -300, 300);
            OpenEditor(-300, 300, &value, self, 3, 0);
            Keyboard.Bind(KeySoft2, LabelReset, self, 5);
            AttitudeOffsetEditing = subId;
            MarkValueEditor(EdAttitudeOffset, &value, title);
            return;
        case EditorCmdDown:
        case EditorCmdUp:
            EditorDefaultStep(command - 2);
            SetSS(SsMisc, static_cast<uint16_t>(subId));
            return;
        case 5:
            value = 0;
            SetSS(SsMisc, static_cast<uint16_t>(subId));
            return;
        case EditorCmdCancel:
            value = OffsetBefore;
            [[fallthrough]];
        case EditorCmdOk:
            AttitudeOffsetEditing = 0;
            ValueEditorMarks[EdAttitudeOffset].open = 0;
            SetSS(SsMisc, static_cast<uint16_t>(subId));
            CloseEditor(1);
            AircraftPageShown = 1;
            MainMenu.OpenPage(PageOtherFlight);
            return;
        default: return;
    }
}

}  // namespace

void PitchOffsetEditor(int32_t command) {
    OffsetEditor(MiscPitchOffset, PitchOffsetEditor, gettext_noop("Pitch offset"), command);
}
void RollOffsetEditor(int32_t command) {
    OffsetEditor(MiscRollOffset, RollOffsetEditor, gettext_noop("Roll offset"), command);
}

// ---- airspeed limits ----

namespace {

int32_t* AirspeedLimitField(int which) {
    switch (which) {
        case 1: return &AirspeedLimits.vs;
        case 2: return &AirspeedLimits.vfe;
        case 3: return &AirspeedLimits.vno;
        case 4: return &AirspeedLimits.vne;
        case 5: return &DemoSetting.airspeedLimit;
        default: return nullptr;
    }
}

const char* const AirspeedLimitTitles[] = {gettext_noop("Vs speed"), gettext_noop("Vfe speed"), gettext_noop("Vno speed"),
                                           gettext_noop("Vne speed"), gettext_noop("Limit speed")};

}  // namespace

void AirspeedLimitBounds(int which, int32_t* minimum, int32_t* maximum) {
    const TAirspeedLimits& a = AirspeedLimits;
    int64_t lo = 0, hi = 21600;
    switch (which) {
        case 1: hi = int64_t(a.vfe) - 50; break;
        case 2: lo = int64_t(a.vs) + 50; hi = int64_t(a.vno) - 50; break;
        case 3: lo = int64_t(a.vfe) + 50; hi = int64_t(a.vne) - 50; break;
        case 4: lo = int64_t(a.vno) + 50; break;
        default: break;
    }
    // Neighbours that were never set (or set too close) must not invert the range.
    lo = std::clamp<int64_t>(lo, 0, 21600);
    hi = std::clamp<int64_t>(hi, lo, 21600);
    *minimum = static_cast<int32_t>(lo);
    *maximum = static_cast<int32_t>(hi);
}

void AirspeedLimitOpen(int32_t which) {
    int32_t* field = AirspeedLimitField(which);
    if (!field) return;
    int32_t lo = 0, hi = 21600;
    if (which != 5) AirspeedLimitBounds(which, &lo, &hi);
    *field = std::clamp(*field, lo, hi);
    OpenEditor(lo, hi, field, which == 5 ? DemoLimitEditor : AirspeedLimitEditor, 3, 0);
    Editor.baseExponent = 2;
    MarkValueEditor(EdSpeedLimit, field, AirspeedLimitTitles[which - 1]);
    if (which == 5)
        DemoBoxShown = 1;
    else
        AirspeedLimitsShown = 1;
}

int32_t AirspeedLimitStep(int cursor, int airspeedUnit) {
    const int32_t base = airspeedUnit == 1 ? 87 : airspeedUnit == 2 ? 54 : 100;
    int32_t step = base;
    for (int i = 0; i < cursor && step < 100000000; ++i) step *= 10;
    return step;
}

namespace {

// Steps the open airspeed limit at its cursor, then as the default rule: a step that
// would leave the bounds moves the cursor to a finer digit.
void AirspeedStep(int32_t command) {
    Editor.step = AirspeedLimitStep(Editor.cursor, UnitsSetting.airspeed);
    EditorDefaultStep(command);
}

}  // namespace

namespace {

// Steps the limit, or stores or reloads its setting; true when the editor closed.
bool SpeedLimitCommand(int32_t command, uint16_t ssid) {
    switch (command) {
        case EditorCmdDown:
        case EditorCmdUp: AirspeedStep(command); return false;
        case EditorCmdCancel: GetSS(ssid, 0); break;
        case EditorCmdOk: SetSS(ssid, 0); break;
        default: return false;
    }
    ValueEditorMarks[EdSpeedLimit].open = 0;
    CloseEditor(0);
    return true;
}

}  // namespace

void AirspeedLimitEditor(int32_t command) {
    if (!SpeedLimitCommand(command, SsAirspeedLimits)) return;
    AirspeedLimitsShown = 1;
    MainMenu.OpenPage(PageFlightRangeLimits);
    MainMenu.OpenPage(PageAirspeedLimits);
    MainMenu.Show(1);
}

void DemoLimitEditor(int32_t command) {
    if (!SpeedLimitCommand(command, SsDemo)) return;
    DemoBoxShown = 1;
    MainMenu.OpenPage(PageDemoMode);
}
