#include "limiteditors.h"

#include <libintl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "aboutbox.h"
#include "averdata.h"
#include "baroeditor.h"
#include "bugeditors.h"
#include "chandesc.h"
#include "configmanager.h"
#include "editors.h"
#include "infopages.h"
#include "initialsetting.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"
#include "readfile.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

namespace {

int64_t RoundDiv(int64_t num, int64_t den) {
    if (den < 0) num = -num, den = -den;
    return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

int32_t Pow10(int n) {
    int32_t p = 1;
    for (int i = 0; i < n && p < 100000000; ++i) p *= 10;
    return p;
}

}  // namespace

// ---- shared ----

void TakeKeysForEditor() {
    CloseMenuKeysAndBox();
    Keyboard.Clear();
    SoftKeyHold = 1;
}

void ReleaseEditorKeys() {
    Keyboard.Clear();
    CloseMessageBox();
}

char LabelCharNext(char c) {
    if (c == '\0') return ' ';
    if (c == ' ') return '-';
    if (c == '-') return '0';
    if (c >= '0' && c < '9') return static_cast<char>(c + 1);
    if (c == '9') return 'A';
    if (c >= 'A' && c < 'Z') return static_cast<char>(c + 1);
    if (c == 'Z') return '\0';
    return ' ';
}

char LabelCharPrev(char c) {
    if (c == '\0') return 'Z';
    if (c == ' ') return '\0';
    if (c == '-') return ' ';
    if (c == '0') return '-';
    if (c > '0' && c <= '9') return static_cast<char>(c - 1);
    if (c == 'A') return '9';
    if (c > 'A' && c <= 'Z') return static_cast<char>(c - 1);
    return 'Z';
}

// ---- limit editors ----

TLimitEdit LimitEdit = {};

namespace {

// How a quantity shows its stored value; steps are digits of the shown value.
enum TShowRule {
    ShowPlain,         // the stored value (rpm, tenths of V/A, mbar)
    ShowManifold,      // hPa: inHg tenths, mBar, torr
    ShowTemperature,   // whole C: F or C
    ShowPressure,      // oil (tenths of bar) and fuel (hundredths): psi, bar, kg/cm2
    ShowFuel,          // tenths of a litre: litres or gallons
    ShowThermo,        // tenths of C: whole F or whole C
};

struct TLimitQuantity {
    int channel;
    TShowRule rule;
    int pageA, pageB;   // pages reopened after PageEngineRangeLimits
    const char* name;   // title prefix
};

const TLimitQuantity Quantities[] = {
    {echRpmEng, ShowPlain, PageRpmLimits, 0, gettext_noop("RPM")},
    {echRpmAux, ShowPlain, PageRotorRpmLimits, 0, gettext_noop("Rotor RPM")},
    {echPressMap, ShowManifold, PageManifoldLimits, 0, gettext_noop("MAP")},
    {echTempOil, ShowTemperature, PageOilTemperatureLimits, 0, gettext_noop("Oil tmp")},
    {echPressOil, ShowPressure, PageOilPressureLimits, 0, gettext_noop("Oil press")},
    {echTempWater, ShowTemperature, PageWaterChtLimits, 0, gettext_noop("Wat tmp")},
    {echTempAux1, ShowTemperature, PageWaterAuxLimits, 0, gettext_noop("Aux1 tmp")},
    {echFuelLevel1, ShowFuel, PageLeftTankLimits, 0, gettext_noop("Left tnk")},
    {echFuelLevel2, ShowFuel, PageRightTankLimits, 0, gettext_noop("Right tnk")},
    {echPressFuel, ShowPressure, PageFuelPressureLimits, 0, gettext_noop("Fuel pres")},
    {echFuelFlow, ShowFuel, PageFuelFlowLimits, 0, gettext_noop("Fuel flow")},
    {echThermo0, ShowThermo, PageEgtLimits, 0, gettext_noop("EGT")},
    {echThermo1, ShowThermo, PageChtLimits, 0, gettext_noop("CHT")},
    {echVolt1, ShowPlain, PageVoltageLimits, 0, gettext_noop("Voltage")},
    {echVolt2, ShowPlain, PageVoltageLimits, 0, gettext_noop("Voltage")},
    {echVolt3, ShowPlain, PageVoltageLimits, 0, gettext_noop("Voltage")},
    {echCurr1, ShowPlain, PageCurrentLimits, 0, gettext_noop("Current")},
    {echCurr2, ShowPlain, PageCurrentLimits, 0, gettext_noop("Current")},
    {echCurr3, ShowPlain, PageCurrentLimits, 0, gettext_noop("Current")},
};

const TLimitQuantity* QuantityOf(int channel) {
    for (const TLimitQuantity& q : Quantities)
        if (q.channel == channel) return &q;
    return nullptr;
}

int SupplyIndex(int channel) {
    if (channel >= int{echVolt1} && channel <= int{echVolt3}) return channel - int{echVolt1};
    if (channel >= int{echCurr1} && channel <= int{echCurr3}) return channel - int{echCurr1} + 3;
    return -1;
}

struct TFieldSpec {
    int32_t* value;
    int64_t lo, hi;
    const char* suffix;  // title after the quantity's name
    int kind;            // value-editor family
    int reversed;
    int unitPad;         // the unit text keeps its trailing blank (TValueEditorMark)
};

// Bounds from the neighbours for every (channel, field); false when unknown.
bool FieldSpec(int channel, int field, TFieldSpec* s) {
    auto set = [&](int32_t* v, int64_t lo, int64_t hi, const char* suffix, int kind, int reversed = 0,
                   int unitPad = 0) {
        *s = TFieldSpec{v, lo, hi, suffix, kind, reversed, unitPad};
        return true;
    };
    // Range, normal, warning and alarm in a chain; the minimums below the range.
    auto limitA = [&](TLimitA& l, int64_t top, int kind, bool minimums) -> bool {
        switch (field) {
            case LimitRange: return set(&l.range, 0, top, gettext_noop("range"), kind);
            case LimitNormal: return set(&l.normal, 0, l.warning, gettext_noop("norm"), kind);
            case LimitWarning: return set(&l.warning, l.normal, l.alarm, gettext_noop("max.W"), kind);
            case LimitAlarm: return set(&l.alarm, l.warning, l.range, gettext_noop("max.A"), kind);
            case LimitWarningMin: return minimums && set(&l.warningMin, 0, l.range, gettext_noop("min.W"), kind);
            case LimitAlarmMin: return minimums && set(&l.alarmMin, 0, l.range, gettext_noop("min.A"), kind);
            default: return false;
        }
    };
    auto limitB3 = [&](TLimitB& l, int64_t top, int kind) -> bool {
        switch (field) {
            case LimitRange: return set(&l.range, 0, top, gettext_noop("range"), kind);
            case LimitWarning: return set(&l.warning, 0, l.alarm, gettext_noop("max.W"), kind);
            case LimitAlarm: return set(&l.alarm, l.warning, l.range, gettext_noop("max.A"), kind);
            default: return false;
        }
    };
    switch (channel) {
        case echRpmEng:
            if (field == LimitDemoRpm) return set(&DemoSetting.rpmLimit, 0, 20000, "", EdRpm);
            return limitA(LimitRpm, 20000, EdRpm, false);
        case echRpmAux: {
            TLimitA& l = LimitRotorRpm;
            switch (field) {
                case LimitRange: return set(&l.range, 0, 20000, gettext_noop("range"), EdRpm);
                case LimitWarning: return set(&l.warning, l.warningMin, l.alarm, gettext_noop("max.W"), EdRpm);
                case LimitAlarm: return set(&l.alarm, l.warning, l.range, gettext_noop("max.A"), EdRpm);
                case LimitWarningMin: return set(&l.warningMin, 0, l.warning, gettext_noop("min.W"), EdRpm);
                case LimitAlarmMin:
                    return set(&l.alarmMin, 0, l.warningMin ? l.warningMin : l.warning, gettext_noop("min.A"), EdRpm);
                default: return false;
            }
        }
        case echPressMap: {
            TLimitA& l = LimitMap;
            switch (field) {
                case LimitRange: return set(&l.range, 0, 1860, gettext_noop("range"), EdManifold);
                case LimitWarning: return set(&l.warning, l.warningMin, l.range, gettext_noop("max.W"), EdManifold);
                case LimitWarningMin: return set(&l.warningMin, 350, l.warning, gettext_noop("min.W"), EdManifold);
                default: return false;
            }
        }
        case echTempOil: return limitA(LimitOilTemp, 800, EdOilTemp, true);
        case echPressOil: return limitA(LimitOilPress, 2000, EdOilPressure, true);
        case echTempWater: return limitA(LimitWaterCht, 400, EdWaterTemp, false);
        case echTempAux1: return limitA(LimitWaterAux, 400, EdWaterTemp, false);
        case echFuelLevel1:
        case echFuelLevel2: {
            TLimitB& l = channel == echFuelLevel1 ? LimitTankLeft : LimitTankRight;
            if (field == LimitRange) return set(&l.range, 0, 10000, gettext_noop("range"), EdTankQuantity);
            if (field == LimitAlarmMin) return set(&l.alarmMin, 0, l.range, gettext_noop("min.A"), EdTankQuantity);
            return false;
        }
        case echPressFuel: {
            TLimitB& l = LimitFuelPress;
            switch (field) {
                case LimitRange: return set(&l.range, 0, 2000, gettext_noop("range"), EdFuelPressure);
                case LimitAlarmMin: return set(&l.alarmMin, 0, l.warningMin, gettext_noop("min.A"), EdFuelPressure);
                case LimitWarningMin: return set(&l.warningMin, l.alarmMin, l.warning, gettext_noop("min.W"), EdFuelPressure, 0, 1);
                case LimitWarning: return set(&l.warning, l.warningMin, l.alarm, gettext_noop("max.W"), EdFuelPressure, 0, 1);
                case LimitAlarm: return set(&l.alarm, l.warning, l.range, gettext_noop("max.A"), EdFuelPressure);
                default: return false;
            }
        }
        case echFuelFlow: {
            TLimitB& l = LimitFuelFlow;
            if (field == LimitRange) return set(&l.range, 0, 10000, gettext_noop("range"), EdFuelFlow);
            if (field == LimitAlarm) return set(&l.alarm, 0, l.range, gettext_noop("max.A"), EdFuelFlow);
            return false;
        }
        case echThermo0: return limitB3(LimitEgt, 50000, EdThermo);
        case echThermo1: return limitB3(LimitCht, 10000, EdThermo);
        default: break;
    }
    const int i = SupplyIndex(channel);
    if (i < 0) return false;
    TLimitRecord& l = SupplyLimit[i];
    const bool current = i >= 3;
    switch (field) {
        case LimitRange: return set(&l.range, 0, current ? 500 : 400, gettext_noop("range"), EdCustomUnit);
        case LimitWarning: return set(&l.warning, std::max(l.warningMin, 0), l.alarm, gettext_noop("max.W"), EdCustomUnit);
        case LimitAlarm: return set(&l.alarm, l.warning, l.range, gettext_noop("max.A"), EdCustomUnit);
        case LimitWarningMin:
            return current ? set(&l.warningMin, -500, 0, gettext_noop("min.W"), EdCustomUnit, 1)
                           : set(&l.warningMin, l.alarmMin, l.warning, gettext_noop("min.W"), EdCustomUnit);
        case LimitAlarmMin:
            return current ? set(&l.alarmMin, -500, l.warningMin, gettext_noop("min.A"), EdCustomUnit, 1)
                           : set(&l.alarmMin, 0, l.warningMin, gettext_noop("min.A"), EdCustomUnit);
        default: return false;
    }
}

// ---- shown units: stored value <-> shown value, and the shown step of the cursor ----

struct TShown {
    int64_t mul, div;   // shown = round(stored x mul / div) + offset
    int64_t offset;
};

TShown Shown(const TUnitRatio& r, int64_t offset = 0) { return {r.mul, r.div, offset}; }

// The scale of the quantity in the selected unit; identity when the unit shows the
// stored value. scale: the shown step of cursor 0 in shown units.
TShown ShownScale(TShowRule rule, int64_t* scale) {
    *scale = 1;
    const TUnitsSetting& u = UnitsSetting;
    switch (rule) {
        case ShowManifold:
            if (u.manifoldPress == UnitInHg) return Shown(TenthInHgPerMbar);
            if (u.manifoldPress == UnitTorr) return Shown(TorrPerMbar);
            return {1, 1, 0};
        case ShowTemperature:
            if (u.temperature == UnitFahrenheit) return Shown(FahrenheitPerCelsius, FahrenheitAtZeroCelsius);
            return {1, 1, 0};
        case ShowPressure:
            if (u.enginePress == UnitPsi) return Shown(PsiPerTenthBar);
            if (u.enginePress == UnitKpCm2) return Shown(KpCm2PerBar);
            return {1, 1, 0};
        case ShowFuel:
            if (u.fuel == UnitUsGallon || u.fuel == UnitUkGallon) return {1000, GallonsToLitres(u.fuel, 1000), 0};
            return {1, 1, 0};
        case ShowThermo:
            if (u.temperature == UnitFahrenheit) return Shown(FahrenheitPerTenthCelsius, FahrenheitAtZeroCelsius);
            *scale = 10;  // whole degrees on tenths
            return {1, 1, 0};
        default: return {1, 1, 0};
    }
}

int64_t ToShown(const TShown& s, int64_t v) { return RoundDiv(v * s.mul, s.div) + s.offset; }
int64_t FromShown(const TShown& s, int64_t d) { return RoundDiv((d - s.offset) * s.div, s.mul); }

// One digit step of the shown value, back into the stored unit; a stored unit coarser
// than the shown digit moves by one stored unit so that a step never stalls.
int32_t LimitStepValue(TShowRule rule, int32_t value, int cursor, int up) {
    int64_t scale = 1;
    const TShown s = ShownScale(rule, &scale);
    const int64_t step = scale * Pow10(cursor);
    const int64_t shown = ToShown(s, value);
    int64_t v = FromShown(s, up ? shown + step : shown - step);
    if (v == value) v += up ? 1 : -1;
    return SatInt32(v);
}

const TLimitQuantity* OpenQuantity = nullptr;
TFieldSpec OpenSpec = {};
int TankPromptChannel = 0, TankPromptField = 0;
int32_t TankRangeBefore = 0;
char SupplyUnit[4] = "";

void CloseLimitEditor() {
    ValueEditorMarks[OpenSpec.kind].open = 0;
    const TLimitQuantity* q = OpenQuantity;
    LimitEdit = {};
    OpenQuantity = nullptr;
    CloseEditor(0);
    RangeLimitsShown = 1;
    InitialSetting();
    MainMenu.OpenPage(PageEngineRangeLimits);
    if (q && q->pageA) MainMenu.OpenPage(q->pageA);
    MainMenu.Show(1);
}

// The tank record keeps the calibration: only a changed range needs a new one.
void TankRangeStored(int channel, int field) {
    if (field != LimitRange) return;
    const int tank = channel == echFuelLevel1 ? 0 : 1;
    const TLimitB& l = tank == 0 ? LimitTankLeft : LimitTankRight;
    if (l.range != TankRangeBefore && TankSetting[tank].calibrated) {
        TankSetting[tank].calibrated = 0;
        SetSS(SsTank, static_cast<uint16_t>(tank));
    }
}

int OpenLimitField(int channel, int field) {
    TFieldSpec s;
    const TLimitQuantity* q = QuantityOf(channel);
    if (!q || !FieldSpec(channel, field, &s)) return -1;
    if (s.hi < s.lo) s.hi = s.lo;  // neighbours out of order never invert the range
    const int32_t lo = SatInt32(s.lo), hi = SatInt32(s.hi);
    *s.value = std::clamp(*s.value, lo, hi);
    const bool demo = channel == echRpmEng && field == LimitDemoRpm;
    OpenEditor(lo, hi, s.value, demo ? DemoRpmLimitEditor : LimitEditor, 3, 0);
    OpenQuantity = q;
    OpenSpec = s;
    LimitEdit = {channel, field, s.value, lo, hi, s.reversed};
    if ((q->channel == echFuelLevel1 || q->channel == echFuelLevel2) && field == LimitRange) TankRangeBefore = *s.value;
    static char title[48];
    const int supply = SupplyIndex(channel);
    if (demo) {
        MarkValueEditor(EdRpm, s.value, gettext_noop("Limit RPM"));
        DemoBoxShown = 1;
        return 0;
    }
    if (supply >= 0) {
        snprintf(EditorTitle, EditorTitleSize, "%s %d %s", gettext(q->name), supply % 3 + 1, gettext(s.suffix));
        snprintf(SupplyUnit, sizeof SupplyUnit, "%s", supply >= 3 ? "A" : "V");
        MarkValueEditor(EdCustomUnit, s.value, nullptr, SupplyUnit);
    } else {
        const bool left = channel == echFuelLevel1;
        const char* name = left && !EngineGaugeConfig.twoTanks ? gettext_noop("Total tnk") : q->name;
        if (channel == echTempAux1 && field == LimitNormal) name = gettext_noop("Aux1 tmp ");  // the catalogue's own spelling
        snprintf(title, sizeof title, "%s %s", name, s.suffix);
        MarkValueEditor(s.kind, s.value, title);
        ValueEditorMarks[s.kind].unitPad = s.unitPad;
    }
    RangeLimitsShown = 1;
    return 0;
}

void TankPromptAnswer(int32_t yes) {
    const int channel = TankPromptChannel, field = TankPromptField;
    TankPromptChannel = 0;
    Keyboard.Clear();
    CloseMessageBox();
    if (yes) {
        OpenLimitField(channel, field);
        return;
    }
    CloseEditor(0);
    RangeLimitsShown = 1;
    MainMenu.OpenPage(PageEngineRangeLimits);
}

}  // namespace

int LimitFieldBounds(int channel, int field, int32_t* minimum, int32_t* maximum, int32_t** value) {
    TFieldSpec s;
    if (!QuantityOf(channel) || !FieldSpec(channel, field, &s)) return -1;
    if (s.hi < s.lo) s.hi = s.lo;
    *minimum = SatInt32(s.lo);
    *maximum = SatInt32(s.hi);
    if (value) *value = s.value;
    return 0;
}

int LimitEditorOpen(int channel, int field) {
    const bool tankRange = (channel == echFuelLevel1 || channel == echFuelLevel2) && field == LimitRange;
    if (tankRange && TankSetting[channel == echFuelLevel1 ? 0 : 1].calibrated) {
        TFieldSpec s;
        if (!FieldSpec(channel, field, &s)) return -1;
        GuiMessageBox(gettext("After tank capacity change you have to recalibrate fuel tank, do you want to continue?"),
                      1, KeySoft3, LabelYes, TankPromptAnswer, 1);
        TankPromptChannel = channel;
        TankPromptField = field;
        Keyboard.Bind(KeySoft4, LabelNo, TankPromptAnswer, 0);
        return 1;
    }
    return OpenLimitField(channel, field);
}

void LimitEditor(int32_t command) {
    if (!OpenQuantity || !LimitEdit.value) return;
    switch (command) {
        case EditorCmdOpen: RangeLimitsShown = 1; return;
        case EditorCmdDown:
        case EditorCmdUp: {
            int up = command == EditorCmdUp;
            if (LimitEdit.reversed) up = !up;
            const int32_t v = *LimitEdit.value;
            const int32_t next = LimitStepValue(OpenQuantity->rule, v, Editor.cursor, up);
            if (next >= LimitEdit.minimum && next <= LimitEdit.maximum)
                *LimitEdit.value = next;
            else if (Editor.cursor > 0)
                --Editor.cursor;
            return;
        }
        case EditorCmdCancel: GetSS(SsLimit, static_cast<uint16_t>(OpenQuantity->channel)); break;
        case EditorCmdOk:
            SetSS(SsLimit, static_cast<uint16_t>(OpenQuantity->channel));
            if (OpenQuantity->channel == echFuelLevel1 || OpenQuantity->channel == echFuelLevel2)
                TankRangeStored(OpenQuantity->channel, LimitEdit.field);
            break;
        default: return;
    }
    CloseLimitEditor();
}

void DemoRpmLimitEditor(int32_t command) {
    switch (command) {
        case EditorCmdDown:
        case EditorCmdUp: EditorDefaultStep(command - 2); return;
        case EditorCmdCancel: GetSS(SsDemo, 0); break;
        case EditorCmdOk: SetSS(SsDemo, 0); break;
        default: return;
    }
    ValueEditorMarks[EdRpm].open = 0;
    LimitEdit = {};
    OpenQuantity = nullptr;
    CloseEditor(0);
    DemoBoxShown = 1;
    MainMenu.OpenPage(PageDemoMode);
}

// ---- setup value editors ----

namespace {

int OpenSetupItem = 0;
int SetupReturnPage = 0;
int32_t SetupCopy = 0;  // fields narrower than the editor's value are edited here

// The engine-screen page of the fuel and sensor items: 110 with tanks, else 111.
int SensorsPageOf() { return EngineGaugeConfig.tankUsed ? PageOtherEngine : PageOtherEngineNoFuelCalib; }

void SetupValueStep(int32_t command) {
    const int up = command == EditorCmdUp;
    if (!Editor.value) return;
    int32_t next;
    if (OpenSetupItem == SetupUnusableFuelLeft || OpenSetupItem == SetupUnusableFuelRight) {
        next = LimitStepValue(ShowFuel, *Editor.value, Editor.cursor, up);
    } else if (OpenSetupItem == SetupKFactor && (UnitsSetting.fuel == 1 || UnitsSetting.fuel == 2)) {
        // Pulses per gallon shown in tens.
        const int64_t g = GallonsToLitres(UnitsSetting.fuel, 1000);
        const int64_t shown = RoundDiv(int64_t(*Editor.value) * g, 10000) * 10;
        const int64_t step = std::max<int64_t>(10, Pow10(Editor.cursor));
        next = SatInt32(RoundDiv((up ? shown + step : shown - step) * 1000, g));
    } else {
        EditorDefaultStep(command - 2);
        return;
    }
    if (next >= Editor.minimum && next <= Editor.maximum)
        *Editor.value = next;
    else if (Editor.cursor > 0)
        --Editor.cursor;
}

}  // namespace

int SetupValueEditor(int item, int returnPage) {
    int32_t* value = nullptr;
    int32_t lo = 0, hi = 0;
    int kind = EdUnexhFuel;
    const char* title = nullptr;
    switch (item) {
        case SetupUnusableFuelLeft:
            value = &TankSetting[0].unusable, hi = LimitTankLeft.range;
            title = EngineGaugeConfig.twoTanks ? gettext_noop("Left unexh fuel") : gettext_noop("Total unexh fuel");
            break;
        case SetupUnusableFuelRight:
            value = &TankSetting[1].unusable, hi = LimitTankRight.range, title = gettext_noop("Right unexh fuel");
            break;
        case SetupKFactor: value = &FuelFlowSetting.kFactor, lo = 100, hi = 25000, kind = EdKFactor; break;
        case SetupFlowAverage:
            SetupCopy = FuelFlowSetting.flowAverage, value = &SetupCopy, lo = 1, hi = 10, kind = EdAverageTime;
            break;
        case SetupQuantityAverage:
            SetupCopy = FuelFlowSetting.quantityAverage, value = &SetupCopy, lo = 30, hi = 300, kind = EdAverageTime;
            break;
        case SetupRpmPulses: value = &RpmSensorSetting[0].pulsesPerRev, lo = 1, hi = 200, kind = EdPulseCount,
                             title = gettext_noop("RPM puls/rev"); break;
        case SetupRpmRatio: value = &RpmSensorSetting[0].reductionRatio, lo = 100, hi = 600,
                            kind = EdReductionRatio, title = gettext_noop("RPM reduct rat"); break;
        case SetupRotorPulses: value = &RpmSensorSetting[1].pulsesPerRev, lo = 1, hi = 200, kind = EdPulseCount,
                               title = gettext_noop("Rotor puls/rev"); break;
        case SetupRotorRatio: value = &RpmSensorSetting[1].reductionRatio, lo = 100, hi = 600,
                              kind = EdReductionRatio, title = gettext_noop("Rotor reduct rat"); break;
        case SetupActivationRpm: value = &MiscSetting[MiscRpmThreshold].value, lo = 0, hi = 10000,
                                 kind = EdEngActiveRpm; break;
        default: return -1;
    }
    hi = std::max(hi, lo);
    *value = std::clamp(*value, lo, hi);
    OpenEditor(lo, hi, value, SetupValueCallback, 3, 0);
    OpenSetupItem = item;
    SetupReturnPage = returnPage;
    MarkValueEditor(kind, value, title);
    AircraftPageShown = 1;
    return 0;
}

void SetupValueCallback(int32_t command) {
    const int item = OpenSetupItem;
    if (!item) return;
    uint16_t ssid = 0, par = 0;
    switch (item) {
        case SetupUnusableFuelLeft: ssid = SsTank; break;
        case SetupUnusableFuelRight: ssid = SsTank, par = 1; break;
        case SetupKFactor: case SetupFlowAverage: case SetupQuantityAverage: ssid = SsFuelFlow; break;
        case SetupRpmPulses: case SetupRpmRatio: ssid = SsRpmSensor; break;
        case SetupRotorPulses: case SetupRotorRatio: ssid = SsRpmSensor, par = 1; break;
        default: ssid = SsMisc; break;
    }
    switch (command) {
        case EditorCmdDown:
        case EditorCmdUp: SetupValueStep(command); return;
        case EditorCmdCancel: GetSS(ssid, par); break;
        case EditorCmdOk:
            // The copy goes back only within the field's bounds.
            if (item == SetupFlowAverage)
                FuelFlowSetting.flowAverage = static_cast<int16_t>(std::clamp<int32_t>(SetupCopy, 1, 10));
            else if (item == SetupQuantityAverage)
                FuelFlowSetting.quantityAverage = static_cast<int16_t>(std::clamp<int32_t>(SetupCopy, 30, 300));
            SetSS(ssid, par);
            break;
        default: return;
    }
    OpenSetupItem = 0;
    ClearValueEditorMarks();
    CloseEditor(1);
    AircraftPageShown = 1;
    const int base = SensorsPageOf();
    switch (item) {
        case SetupUnusableFuelLeft:
            MainMenu.OpenPage(PageOtherEngine);
            MainMenu.OpenPage(EngineGaugeConfig.twoTanks ? PageUnusableTankChoice : PageUnusableTotalTank);
            break;
        case SetupUnusableFuelRight:
            MainMenu.OpenPage(PageOtherEngine);
            MainMenu.OpenPage(PageUnusableTankChoice);
            break;
        case SetupKFactor: case SetupFlowAverage:
            MainMenu.OpenPage(base);
            MainMenu.OpenPage(PageFuelFlowSetting);
            break;
        case SetupQuantityAverage: MainMenu.OpenPage(SetupReturnPage ? SetupReturnPage : base); break;
        case SetupRpmPulses: case SetupRpmRatio: MainMenu.OpenPage(base); MainMenu.OpenPage(PageRpmSetting); break;
        case SetupRotorPulses: case SetupRotorRatio:
            MainMenu.OpenPage(base);
            MainMenu.OpenPage(PageRotorRpmSetting);
            break;
        default: MainMenu.OpenPage(base); break;
    }
}

// ---- text editors: aircraft identification and supply names ----

namespace {

int AircraftIdOpen = 0;
int SupplyNameChannel = 0;
char SupplyNameTitle[EditorTitleSize] = "";

// Back to the aircraft item: page 49 on the flight screen, else the engine pages.
void BackToAircraftPage() {
    CloseEditor(1);
    AircraftPageShown = 1;
    MainMenu.OpenPage(ScreenType == ScreenEngine ? SensorsPageOf() : PageOtherFlight);
}

// Characters 1..length of text at the cursor; the terminator after them stays.
void TextEditorStep(char* text, int length, int32_t command) {
    if (command == EditorCmdDown || command == EditorCmdUp) {
        const int i = std::clamp<int32_t>(Editor.cursor, 1, length) - 1;
        text[i] = command == EditorCmdUp ? LabelCharNext(text[i]) : LabelCharPrev(text[i]);
    } else if (command == 5) {
        Editor.cursor = Editor.cursor >= length || Editor.cursor < 1 ? 1 : Editor.cursor + 1;
    }
    text[length] = '\0';
}

}  // namespace

void AircraftIdEditor(int32_t command) {
    constexpr int Length = 8;
    char* id = AircraftIdSetting.id;
    switch (command) {
        case EditorCmdOpen:
            OpenEditor(0, 0, nullptr, AircraftIdEditor, 3, 5);
            Editor.cursor = 1;
            id[Length] = '\0';
            AircraftIdOpen = 1;
            MarkValueEditor(EdAircraftId, nullptr, nullptr, nullptr, id);
            return;
        case EditorCmdDown:
        case EditorCmdUp:
        case 5:
            if (AircraftIdOpen) TextEditorStep(id, Length, command);
            return;
        case EditorCmdCancel: GetSS(SsAircraftId, 0); break;
        case EditorCmdOk: id[Length] = '\0'; SetSS(SsAircraftId, 0); break;
        default: return;
    }
    AircraftIdOpen = 0;
    ValueEditorMarks[EdAircraftId].open = 0;
    BackToAircraftPage();
}

int SupplyNameEditorOpen(int channel) {
    const int i = SupplyIndex(channel);
    if (i < 0) return -1;
    TSupplyNameSetting& s = SupplyNameSetting[i];
    if (!(s.flags & 1)) {
        snprintf(s.name, sizeof s.name, "%.10s", SupplyChannelName(channel));
        s.flags |= 1;
    }
    OpenEditor(0, 0, nullptr, SupplyNameEditor, 3, 5);
    Editor.cursor = 1;
    SupplyNameChannel = channel;
    snprintf(SupplyNameTitle, sizeof SupplyNameTitle, "%s %d %s", s.name, i % 3 + 1, gettext("label"));
    MarkValueEditor(EdTextField, nullptr, SupplyNameTitle, nullptr, s.name, SupplyNameLength);
    SensorsPageShown = 1;
    return 0;
}

void SupplyNameEditor(int32_t command) {
    const int i = SupplyIndex(SupplyNameChannel);
    if (i < 0) return;
    TSupplyNameSetting& s = SupplyNameSetting[i];
    switch (command) {
        case EditorCmdDown:
        case EditorCmdUp:
        case 5: TextEditorStep(s.name, SupplyNameLength, command); return;
        case EditorCmdCancel: GetSS(SsSupplyName, static_cast<uint16_t>(SupplyNameChannel)); break;
        case EditorCmdOk: s.name[SupplyNameLength] = '\0'; SetSS(SsSupplyName, static_cast<uint16_t>(SupplyNameChannel)); break;
        default: return;
    }
    SupplyNameChannel = 0;
    ValueEditorMarks[EdTextField].open = 0;
    CloseEditor(1);
    SensorsPageShown = 1;
}

// ---- clock and date ----

int32_t TimeFields[3] = {0, 0, 0};
int32_t DateFields[3] = {1, 1, 2000};
int64_t EditedTime = 0;
struct tm EditedDate = {};

namespace {

int64_t SystemNow() { return static_cast<int64_t>(time(nullptr)); }

int SystemSetClock(int64_t seconds) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    return clock_settime(CLOCK_REALTIME, &ts) == 0 ? 0 : -1;
}

std::function<int64_t()> WallNow = SystemNow;
std::function<int(int64_t)> SetWallClock = SystemSetClock;
int TimeEditorOpen = 0, DateEditorOpen = 0;

struct tm LocalOf(int64_t t) {
    struct tm tm {};
    const time_t tt = static_cast<time_t>(t);
    localtime_r(&tt, &tm);
    return tm;
}

void TimeFieldsOf(int64_t t) {
    const struct tm tm = LocalOf(t);
    TimeFields[0] = tm.tm_hour, TimeFields[1] = tm.tm_min, TimeFields[2] = tm.tm_sec;
}

void DateFieldsOf(const struct tm& tm) {
    DateFields[0] = tm.tm_mday, DateFields[1] = tm.tm_mon + 1, DateFields[2] = tm.tm_year % 100;
}

int DaysIn(int year, int month) {  // year since 1900, month 0..11
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int y = year + 1900;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return month == 1 && leap ? 29 : days[month];
}

int Wrap(int v, int n) { return ((v % n) + n) % n; }

void ClockEditorDone() {
    TimeEditorOpen = DateEditorOpen = 0;
    ValueEditorMarks[EdTime].open = 0;
    ValueEditorMarks[EdDate].open = 0;
    BackToAircraftPage();
}

// Opens a clock editor on its three fields with the cursor on the last one.
void OpenClockEditor(TEditorHandler handler, int kind, const int32_t* fields, int* openFlag) {
    OpenEditor(0, 0, nullptr, handler, 3, 5);
    Editor.cursor = 3;
    *openFlag = 1;
    MarkValueEditor(kind, fields);
}

// "Position" (5), OK with the edited time and Cancel; false for the steps.
bool ClockEditorKey(int32_t command, int64_t edited) {
    switch (command) {
        case 5: Editor.cursor = Editor.cursor <= 1 ? 3 : Editor.cursor - 1; return true;
        case EditorCmdOk: ClockEditorDone(); SetClock(edited); return true;
        case EditorCmdCancel: ClockEditorDone(); return true;
        default: return false;
    }
}

}  // namespace

void SetEditorClocks(std::function<int64_t()> now, std::function<int(int64_t)> setClock) {
    WallNow = now ? std::move(now) : SystemNow;
    SetWallClock = setClock ? std::move(setClock) : SystemSetClock;
}

int SetClock(int64_t seconds) {
    if (seconds < 946681200) return -1;
    if (SetWallClock(seconds) != 0) {
        const int err = errno;
        ShellPrint("SetClock: the system refused the time (%s)\n", strerror(err));
        GuiMessageBox(gettext("The clock could not be set."), 0, KeyRightPush, 0, DismissMessage, 0);
        return -2;
    }
    return 0;
}

void TimeEditor(int32_t command) {
    switch (command) {
        case EditorCmdOpen:
            EditedTime = WallNow();
            TimeFieldsOf(EditedTime);
            OpenClockEditor(TimeEditor, EdTime, TimeFields, &TimeEditorOpen);
            return;
        case EditorCmdDown:
        case EditorCmdUp: {
            if (!TimeEditorOpen) return;
            struct tm tm = LocalOf(EditedTime);
            const int d = command == EditorCmdUp ? 1 : -1;
            if (Editor.cursor == 3) tm.tm_sec = Wrap(tm.tm_sec + d, 60);
            else if (Editor.cursor == 2) tm.tm_min = Wrap(tm.tm_min + d, 60);
            else tm.tm_hour = Wrap(tm.tm_hour + d, 24);
            tm.tm_isdst = -1;
            EditedTime = static_cast<int64_t>(mktime(&tm));
            TimeFieldsOf(EditedTime);
            return;
        }
        default: ClockEditorKey(command, EditedTime); return;
    }
}

void DateEditor(int32_t command) {
    struct tm& tm = EditedDate;
    switch (command) {
        case EditorCmdOpen:
            tm = LocalOf(WallNow());
            DateFieldsOf(tm);
            OpenClockEditor(DateEditor, EdDate, DateFields, &DateEditorOpen);
            return;
        case EditorCmdDown:
        case EditorCmdUp: {
            if (!DateEditorOpen) return;
            const int d = command == EditorCmdUp ? 1 : -1;
            if (Editor.cursor == 3) {
                tm.tm_year = std::clamp(tm.tm_year + d, 100, 199);
            } else if (Editor.cursor == 2) {
                tm.tm_mon = Wrap(tm.tm_mon + d, 12);
            } else {
                const int last = DaysIn(tm.tm_year, tm.tm_mon);
                tm.tm_mday = Wrap(tm.tm_mday - 1 + d, last) + 1;
            }
            // A day the new month or year lacks (29 February) moves back to its last day.
            tm.tm_mday = std::min(tm.tm_mday, DaysIn(tm.tm_year, tm.tm_mon));
            DateFieldsOf(tm);
            return;
        }
        case EditorCmdOk: {
            // Today's time of day on the edited date.
            struct tm now = LocalOf(WallNow());
            now.tm_mday = tm.tm_mday, now.tm_mon = tm.tm_mon, now.tm_year = tm.tm_year;
            now.tm_isdst = -1;
            ClockEditorKey(command, static_cast<int64_t>(mktime(&now)));
            return;
        }
        default: ClockEditorKey(command, 0); return;
    }
}

// ---- firmware ----

bool FirmwareFilePresent() {
    FILE* f = OpenStreamForReading(FirmwareFile);
    if (!f) return false;
    fclose(f);
    return true;
}

int StartFirmwareDownload() {
    if (!FirmwareFilePresent()) {
        ShellPrint("StartFirmwareDownload: no %s\n", FirmwareFile);
        return -1;
    }
    // No device takes a firmware image on this system: nothing is downloaded.
    ShellPrint("StartFirmwareDownload: no updater for %s\n", FirmwareFile);
    return -2;
}

// ---- flags ----

void ResetEditorFlags() {
    ClearValueEditorMarks();
    AttitudeOffsetEditing = 0;
    AirspeedLimitsShown = 0;
    RangeLimitsShown = 0;
    LimitEdit = {};
    OpenQuantity = nullptr;
    TankPromptChannel = TankPromptField = 0;
    OpenSetupItem = 0;
    AircraftIdOpen = 0;
    SupplyNameChannel = 0;
    TimeEditorOpen = DateEditorOpen = 0;
}

void InstallSetupLinks() {
    RefreshHooks.CloseBaroEditor = [] { BaroSettingEditor(BaroSet); };
    OverlayDialogs.DrawAboutBox = [](FGDrawBuffer*) { AboutBox.Draw(); };
    OverlayDialogs.CloseAboutBox = [] { AboutBox.SetSurface(nullptr); };
}
