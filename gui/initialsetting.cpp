#include "initialsetting.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "chandesc.h"
#include "configmanager.h"
#include "flightpage.h"
#include "gui_terr/engineback.h"
#include "hkutils.h"
#include "process.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

const TDialScale RpmScale[RpmScaleRows] = {
    {0, 3000, 5, 100, 100}, {0, 4000, 5, 100, 100}, {0, 5000, 5, 200, 100}, {0, 6000, 5, 200, 100},
    {0, 7000, 5, 200, 100}, {0, 8000, 5, 200, 100}, {0, 9000, 5, 300, 100}, {0, 10000, 5, 200, 1000},
    {0, 12000, 5, 400, 1000}, {0, 14000, 5, 400, 1000},
};
const TDialScale RotorRpmScale[RotorScaleRows] = {
    {0, 300, 5, 10, 10}, {0, 400, 5, 10, 10}, {0, 500, 5, 20, 10}, {0, 600, 5, 20, 10},
    {0, 700, 5, 20, 10}, {0, 800, 5, 20, 10}, {0, 900, 5, 30, 10}, {0, 1000, 5, 20, 100},
    {0, 1200, 5, 40, 100}, {0, 1400, 5, 40, 100}, {0, 2000, 8, 50, 100}, {0, 3000, 5, 100, 100},
};
const TDialScale ManifoldScale[ManifoldScaleRows][3] = {
    {{1000, 3500, 5, 100, 100}, {300, 1100, 4, 25, 100}, {200, 900, 4, 25, 100}},
    {{1000, 4000, 5, 100, 100}, {300, 1300, 4, 50, 100}, {200, 1000, 4, 25, 100}},
    {{1000, 5000, 5, 200, 100}, {300, 1700, 4, 50, 100}, {200, 1400, 4, 50, 100}},
    {{1000, 6000, 5, 200, 100}, {300, 1900, 4, 50, 100}, {200, 1600, 4, 50, 100}},
};
const TDialScale OilPressScale[OilPressScaleRows][2] = {
    {{0, 30, 5, 2, 10}, {0, 40, 5, 2, 1}},   {{0, 40, 5, 2, 10}, {0, 60, 5, 4, 1}},
    {{0, 50, 5, 2, 10}, {0, 80, 4, 5, 1}},   {{0, 60, 4, 5, 10}, {0, 100, 5, 5, 1}},
    {{0, 80, 4, 5, 10}, {0, 120, 5, 6, 1}},  {{0, 100, 4, 5, 10}, {0, 160, 4, 10, 1}},
};
const TDialScale TempScale[TempScaleRows][2] = {
    {{0, 80, 4, 5, 1}, {0, 180, 4, 15, 1}},   {{0, 100, 5, 5, 1}, {0, 200, 5, 10, 1}},
    {{0, 120, 5, 6, 1}, {0, 240, 4, 15, 1}},  {{0, 160, 4, 10, 1}, {0, 300, 5, 20, 1}},
    {{0, 180, 4, 15, 1}, {0, 360, 6, 20, 1}}, {{0, 200, 5, 10, 1}, {0, 400, 4, 25, 1}},
    {{0, 240, 4, 15, 1}, {0, 480, 4, 40, 1}}, {{0, 300, 5, 20, 1}, {0, 640, 4, 40, 1}},
};
const TBarScale TankScale[TankScaleRows] = {
    {20, 2, 100, 5},   {40, 4, 150, 5},   {60, 3, 200, 5},   {80, 4, 250, 5},   {100, 5, 300, 5},
    {120, 4, 350, 5},  {140, 2, 400, 5},  {160, 4, 500, 5},  {180, 3, 600, 5},  {200, 5, 700, 5},
    {240, 4, 800, 5},  {280, 4, 900, 5},  {320, 4, 1000, 5}, {360, 3, 1250, 5}, {400, 5, 1500, 5},
    {500, 5, 2000, 5}, {600, 5, 2500, 5},
};
const TBarScale FuelPressScale[FuelPressScaleRows] = {
    {30, 3, 50, 5},   {50, 5, 100, 5},  {100, 5, 120, 4}, {120, 4, 160, 4}, {150, 5, 200, 5}, {180, 6, 250, 5},
    {200, 4, 300, 5}, {250, 5, 350, 5}, {300, 6, 450, 5}, {350, 7, 500, 5}, {400, 4, 600, 5}, {500, 5, 700, 5},
};

TInstrumentConfig EngineDialConfig[DialCount];
void (*InstrumentSetConfig)(int dial, const TInstrumentConfig* config) = nullptr;
TBarItem ThermoBarsPage[12], ThermoBarsStrip[8], ThermoBarsCombined[4];
TDisplayItem ThermoItemsPage[12], ThermoItemsStrip[8], ThermoItemsCombined[4];
TBarItem TankBar[2], FuelPressBar, FuelFlowBar;
int32_t TankDivisions, FuelPressDivisions;
int32_t FuelPressScaleFlags, OilPressScaleFlags;
int32_t TankLowLimit[2];
int32_t FuelPressLimits[4];
TDisplayItem SupplyItems[6];
uint8_t SupplyItemOn[6];
char SupplyNames[6][16];
TUnitTexts UnitTexts;
int (*RebuildBackground)(int flags) = nullptr;

namespace {

// Titles are cut to 15 characters whatever the translation.
void SetTitle(int dial, const char* text) { SetItemText(EngineDialConfig[dial].title, gettext(text)); }


// A non-zero limit kept inside the scale; zero means "not set" and stays.
void ClampLimit(int32_t& limit, int32_t minimum, int32_t maximum) {
    if (limit == 0) return;
    limit = std::min(std::max(limit, minimum), maximum);
}
void LowerTo(int32_t& limit, int32_t bound) {
    if (bound != 0 && bound < limit) limit = bound;
}

// Arcs from a program-form A record, converted by conv.
template <typename Conv>
void SetArcs(TInstrumentConfig& c, const TLimitA& l, Conv conv) {
    c.greenStart = l.warningMin ? conv(l.warningMin) : 0;
    c.yellowStart = l.warning ? conv(l.warning) : 0;
    c.redStart = l.alarm ? conv(l.alarm) : 0;
    c.lowYellowEnd = l.warningMin ? conv(l.warningMin) : 0;
    c.lowRedEnd = l.alarmMin ? conv(l.alarmMin) : 0;
}

int UnitsTemp() { return UnitsSetting.temperature; }
int UnitsPress() { return UnitsSetting.enginePress; }

// Column of the pressure tables: psi has its own, bar, kp/cm2 and kPa share the other.
int PressColumn() { return UnitsPress() == UnitPsi ? 1 : 0; }
int TempColumn() { return UnitsTemp() == UnitFahrenheit ? 1 : 0; }

template <int Cols>
int PickRow(const TDialScale (*table)[Cols], int rows, int col, int32_t value) {
    return SelectScaleRow(&table[0][col].maximum, static_cast<int>(sizeof(TDialScale) * Cols / sizeof(int32_t)),
                          rows, value);
}

}  // namespace

int SelectScaleRow(const int32_t* tops, int stride, int rows, int32_t value) {
    for (int i = 0; i < rows; ++i)
        if (tops[i * stride] >= value) return i;
    return rows - 1;
}

void ApplyDialScale(int dial, TInstrumentConfig* c, const TDialScale& row) {
    c->minimum = row.minimum;
    c->maximum = row.maximum;
    c->minorPerMajor = row.minorPerMajor;
    c->minorStep = row.minorStep;
    c->labelDivisor = row.labelDivisor;
    for (int32_t* limit : {&c->greenStart, &c->yellowStart, &c->redStart, &c->lowYellowEnd, &c->lowRedEnd})
        ClampLimit(*limit, c->minimum, c->maximum);
    LowerTo(c->yellowStart, c->redStart);
    LowerTo(c->greenStart, c->yellowStart);  // keeps green <= yellow, which the dial requires
    LowerTo(c->lowYellowEnd, c->greenStart);
    LowerTo(c->lowRedEnd, c->lowYellowEnd);
    if (InstrumentSetConfig) InstrumentSetConfig(dial, c);
}

// RPM dials: arcs as set, the unit caption "x<divisor>" in the dial's own decimals.
static void ScaleRpmDials(std::initializer_list<int> dials, const TLimitA& limit, const TDialScale& row) {
    for (int dial : dials) {
        TInstrumentConfig& c = EngineDialConfig[dial];
        SetArcs(c, limit, [](int32_t v) { return v; });
        const int decimals = std::min(std::max(c.decimals, 0), 6);
        snprintf(c.unit, sizeof c.unit, "x%d", row.labelDivisor / IntPower(10, decimals));
        ApplyDialScale(dial, &c, row);
    }
}

void ScaleRpm() {
    const TDialScale& row = RpmScale[SelectScaleRow(&RpmScale[0].maximum, 5, RpmScaleRows, LimitRpm.range)];
    ScaleRpmDials({DialRpm, DialStripRpm, DialCombinedRpm}, LimitRpm, row);
}

void ScaleRotorRpm() {
    const TDialScale& row =
        RotorRpmScale[SelectScaleRow(&RotorRpmScale[0].maximum, 5, RotorScaleRows, LimitRotorRpm.range)];
    ScaleRpmDials({DialFourth, DialStripFourth}, LimitRotorRpm, row);
}

void ScaleManifold() {
    const int unit = UnitsSetting.manifoldPress;
    const int col = unit == UnitInHg ? 0 : unit == UnitTorr ? 2 : 1;
    auto conv = [unit](int32_t v) { return ConvertManifoldSetting(unit, v); };
    const TDialScale& row = ManifoldScale[PickRow(ManifoldScale, ManifoldScaleRows, col, conv(LimitMap.range))][col];
    // With a second RPM channel the fourth gauges show rotor RPM; the combined view keeps MAP.
    const int dials[3] = {DialCombinedMap, DialFourth, DialStripFourth};
    const int count = EngineGaugeConfig.rotorRpmUsed ? 1 : 3;
    for (int i = 0; i < count; ++i) {
        const int dial = dials[i];
        TInstrumentConfig& c = EngineDialConfig[dial];
        SetArcs(c, LimitMap, conv);
        SetItemText(c.unit, UnitTexts.manifoldDial);
        ApplyDialScale(dial, &c, row);
    }
}

void ScaleOilPress() {
    const int unit = UnitsPress(), col = PressColumn();
    auto conv = [unit](int32_t v) { return ConvertPressureSetting(unit, v); };
    const TDialScale& row =
        OilPressScale[PickRow(OilPressScale, OilPressScaleRows, col, conv(LimitOilPress.range))][col];
    for (int dial : {DialOilPress, DialStripOilPress}) {
        TInstrumentConfig& c = EngineDialConfig[dial];
        SetArcs(c, LimitOilPress, conv);
        SetItemText(c.unit, UnitTexts.enginePress);
        ApplyDialScale(dial, &c, row);
    }
}

namespace {

void ScaleTemperatureDial(int dial, const TLimitA& limit) {
    const int unit = UnitsTemp(), col = TempColumn();
    auto conv = [unit](int32_t v) { return ConvertTemperature(unit, v); };
    const TDialScale& row = TempScale[PickRow(TempScale, TempScaleRows, col, conv(limit.range))][col];
    TInstrumentConfig& c = EngineDialConfig[dial];
    SetArcs(c, limit, conv);
    SetItemText(c.unit, UnitTexts.oilTempDial);
    ApplyDialScale(dial, &c, row);
}

// A thermocouple bar and its box from an EGT or CHT limit record (tenths of C).
void SetThermoBar(TBarItem& bar, TDisplayItem& item, const TLimitB& limit) {
    const int unit = UnitsTemp();
    bar.min = 0;
    bar.max = ConvertThermoLimit(unit, limit.range);
    bar.warn = item.warn = ConvertThermoLimit(unit, limit.warning);
    bar.alarm = item.alarm = ConvertThermoLimit(unit, limit.alarm);
}

template <size_t N>
void SetThermoBars(TBarItem (&bars)[N], TDisplayItem (&items)[N]) {
    for (size_t i = 0; i < N; ++i) SetThermoBar(bars[i], items[i], i % 2 == 0 ? LimitEgt : LimitCht);
}

}  // namespace

void ScaleOilTemp() {
    ScaleTemperatureDial(DialOilTemp, LimitOilTemp);
    ScaleTemperatureDial(DialStripOilTemp, LimitOilTemp);
}

void ScaleWaterCht() {
    ScaleTemperatureDial(DialWater, LimitWaterCht);
    ScaleTemperatureDial(DialAuxTemp, LimitWaterAux);
}

void ScaleTankBar() {
    const int unit = UnitsSetting.fuel;
    const bool litres = unit == UnitLitre;
    // The tables hold whole units; the bars and the limits run in tenths.
    const int32_t range = ConvertFuelQuantity(unit, LimitTankLeft.range) / 10;
    const int32_t* tops = litres ? &TankScale[0].topB : &TankScale[0].topA;
    const TBarScale& row = TankScale[SelectScaleRow(tops, 4, TankScaleRows, range)];
    const TLimitB* limits[2] = {&LimitTankLeft, &LimitTankRight};
    for (int i = 0; i < 2; ++i) {
        // The gauges read E, 1/2 and F: full scale is the tank's own capacity, so that a
        // full tank reaches F in every unit (a table row would put it below half in litres).
        TankBar[i].min = 0;
        TankBar[i].max = ConvertFuelQuantity(unit, limits[i]->range);
        TankLowLimit[i] = ConvertFuelQuantity(unit, limits[i]->alarmMin);
        TankBar[i].alarm = TankLowLimit[i];
    }
    TankDivisions = litres ? row.divisionsB : row.divisionsA;
}

void ScaleFuelPressBar() {
    const int unit = UnitsPress();
    const bool psi = unit == UnitPsi;
    const int32_t range = ConvertPressureSetting(unit, LimitFuelPress.range);
    const int32_t* tops = psi ? &FuelPressScale[0].topB : &FuelPressScale[0].topA;
    const TBarScale& row = FuelPressScale[SelectScaleRow(tops, 4, FuelPressScaleRows, range)];
    FuelPressBar.min = 0;
    FuelPressBar.max = psi ? row.topB : row.topA;
    FuelPressDivisions = psi ? row.divisionsB : row.divisionsA;
    const int32_t stored[4] = {LimitFuelPress.alarmMin, LimitFuelPress.warningMin, LimitFuelPress.warning,
                               LimitFuelPress.alarm};
    for (int i = 0; i < 4; ++i) FuelPressLimits[i] = ConvertPressureSetting(unit, stored[i]);
    FuelPressBar.warn = FuelPressLimits[2];
    FuelPressBar.alarm = FuelPressLimits[3];
    // The bar runs in hundredths of bar or kg/cm2, tenths of psi, or kPa.
    FuelPressScaleFlags = unit == UnitKPa ? 0 : psi ? ScaleDivideByTen : ScaleDivideByTen | ScaleOneDecimal;
    // The oil pressure dials run in tenths of bar or kg/cm2, or whole psi.
    OilPressScaleFlags = unit == UnitBar || unit == UnitKpCm2 ? ScaleOneDecimal : 0;
}

void ScaleFuelFlowBar() {
    const int unit = UnitsSetting.fuel;
    FuelFlowBar.min = 0;
    FuelFlowBar.max = ConvertFuelQuantity(unit, LimitFuelFlow.range);
    FuelFlowBar.alarm = ConvertFuelQuantity(unit, LimitFuelFlow.alarm);
}

namespace {

void SetUnitTexts() {
    TUnitTexts& t = UnitTexts;
    const TUnitsSetting& u = UnitsSetting;
    SetItemText(t.airspeed, u.airspeed == UnitKnots ? "KTS" : u.airspeed == UnitMph ? "MPH" : "km/h");
    char label[256];
    snprintf(label, sizeof label, "%s%s", gettext("TAS "), t.airspeed);
    SetItemText(t.tasLabel, label);
    SetItemText(t.altitude, u.altitude == UnitFeet ? "FT" : "M");
    const char* letter = TemperatureLetter(u.temperature);
    snprintf(t.oat, sizeof t.oat, "%s\xB0%s ", gettext("OAT "), letter);
    snprintf(t.iat, sizeof t.iat, "%s\xB0%s ", gettext("IAT "), letter);
    snprintf(t.auxt, sizeof t.auxt, "%s\xB0%s ", gettext("AUXT "), letter);
    const bool litres = u.fuel == UnitLitre;
    SetItemText(t.fuel, litres ? gettext("litre") : "GAL");
    SetItemText(t.fuelFlow, litres ? "l/h" : "GAL/h");
    SetItemText(t.fuelCaps, litres ? gettext("LITRE") : "GAL");
    SetItemText(t.baro, u.baro == UnitInHg ? "inHg" : u.baro == UnitTorr ? "torr" : "mBar");
    SetItemText(t.enginePress, u.enginePress == UnitPsi ? "psi " : u.enginePress == UnitKpCm2 ? "kg/cm2 "
                                                           : u.enginePress == UnitKPa ? "kPa " : "Bar ");
    SetItemText(t.distance, DistanceUnitText(u.distance));
    SetItemText(t.oilTempDial, u.temperature == UnitFahrenheit ? " F" : " C");
    SetItemText(t.manifold, u.manifoldPress == UnitInHg ? "inHg " : u.manifoldPress == UnitTorr ? "torr " : "mBar ");
    SetItemText(t.manifoldDial, u.manifoldPress == UnitInHg ? "inHg " : u.manifoldPress == UnitTorr ? " torr" : " mB");
}

void SetTitles() {
    const bool rotor = EngineGaugeConfig.rotorRpmUsed != 0;
    SetTitle(DialRpm, gettext_noop("RPM"));
    SetTitle(DialFourth, rotor ? gettext_noop("Rotor RPM") : gettext_noop("MAP"));
    SetTitle(DialOilPress, gettext_noop("OIL PRESS"));
    SetTitle(DialOilTemp, gettext_noop("OIL TEMP"));
    SetTitle(DialWater, gettext_noop("WATER"));
    SetTitle(DialAuxTemp, gettext_noop("CHT"));
    SetTitle(DialCombinedRpm, gettext_noop("RPM"));
    SetTitle(DialCombinedMap, gettext_noop("MAP"));
    const int page[4] = {DialRpm, DialOilPress, DialOilTemp, DialFourth};
    const int strip[4] = {DialStripRpm, DialStripOilPress, DialStripOilTemp, DialStripFourth};
    for (int i = 0; i < 4; ++i) SetItemText(EngineDialConfig[strip[i]].title, EngineDialConfig[page[i]].title);
}

void SetSupplyItems() {
    static const int channels[6] = {echVolt1, echVolt2, echVolt3, echCurr1, echCurr2, echCurr3};
    for (int i = 0; i < 3; ++i) {
        SupplyItemOn[i] = (EngineGaugeConfig.voltsMask >> i) & 1;
        SupplyItemOn[3 + i] = (EngineGaugeConfig.currentsMask >> i) & 1;
    }
    if (RuntimeFlags() & 1) {
        // The strip has room for one pair only: the lowest-numbered one in use.
        if (SupplyItemOn[0] || SupplyItemOn[3])
            SupplyItemOn[1] = SupplyItemOn[2] = SupplyItemOn[4] = SupplyItemOn[5] = 0;
        else if (SupplyItemOn[1] || SupplyItemOn[4])
            SupplyItemOn[2] = SupplyItemOn[5] = 0;
    }
    for (int i = 0; i < 6; ++i) {
        const TSupplyNameSetting& own = SupplyNameSetting[i];
        char name[sizeof own.name + 1];
        memcpy(name, own.name, sizeof own.name);
        name[sizeof own.name] = '\0';
        SetItemText(SupplyNames[i], (own.flags & 1) ? name : SupplyChannelName(channels[i]));
        SetItemText(SupplyItems[i].text, SupplyNames[i]);
    }
}

}  // namespace

namespace {
// Set by InitialSetting: the backgrounds no longer match the settings. A pilot who
// never shows an engine layout never pays for them (two full-screen pictures, the
// textures and shaders they are drawn with).
bool BackgroundsStale = false;

// The end of a settings change or a rebuild: the layout is ready and painted.
void SettleLayout() {
    RepaintEnabled = 1;
    ShellBusy = 0;
    LayoutReady = 1;
}
}  // namespace

void InvalidateBackgroundBitmaps() { BackgroundsStale = true; }

bool BackgroundBitmapsStale() { return BackgroundsStale; }

void RebuildBackgroundBitmaps() {
    BackgroundsStale = false;
    const uint8_t setup = SetupModeActive;
    LayoutReady = 0;
    ShellBusy = 1;
    RepaintEnabled = 0;
    SetupModeActive = 1;
    if (RebuildBackground) {
        const int flags = (RuntimeFlags() & 1) ? 4 : 0;
        RebuildBackground(flags);
        RebuildBackground(flags | 1);
        ProcessTrimHeap();
    }
    SetupModeActive = setup;
    SettleLayout();
}

void CoverEngineDials() {
    // The alternative layout (runtime flag bit 0) shows the page's auxiliary and water
    // dials and the two-dial strip; the normal one the four-dial strip instead.
    const bool alternative = RuntimeFlags() & 1;
    for (int dial = 0; dial < DialCount; ++dial) EngineDialConfig[dial].covered = 0;
    for (int dial : {DialAuxTemp, DialWater, DialCombinedRpm, DialCombinedMap})
        EngineDialConfig[dial].covered = !alternative;
    for (int dial : {DialStripRpm, DialStripOilPress, DialStripOilTemp, DialStripFourth})
        EngineDialConfig[dial].covered = alternative;
}

// The flight page's optional elements: the IAT and AUXT boxes need their probes; TAS
// (from the air data) and the heading tape are always there.
void SetFlightSwitches() {
    FlightSwitches.tasBox = 1;
    FlightSwitches.iatBox = EngineGaugeConfig.iatUsed != 0;
    FlightSwitches.auxtBox = EngineGaugeConfig.waterAuxUsed != 0;
    FlightSwitches.headingTape = 1;
}

void InitialSetting() {
    PrintHook(">>InitialSetting()\n");
    SetFlightSwitches();
    SetUnitTexts();
    SetTitles();
    ScaleRpm();
    if (EngineGaugeConfig.rotorRpmUsed) ScaleRotorRpm();
    ScaleManifold();
    ScaleOilPress();
    ScaleOilTemp();
    ScaleWaterCht();
    SetThermoBars(ThermoBarsPage, ThermoItemsPage);
    SetThermoBars(ThermoBarsStrip, ThermoItemsStrip);
    SetThermoBars(ThermoBarsCombined, ThermoItemsCombined);
    ScaleTankBar();
    ScaleFuelPressBar();
    ScaleFuelFlowBar();
    CoverEngineDials();
    if (InstrumentSetConfig)
        for (int dial = 0; dial < DialCount; ++dial) InstrumentSetConfig(dial, &EngineDialConfig[dial]);
    SetSupplyItems();
    InvalidateBackgroundBitmaps();
    SettleLayout();
    PrintHook("<<InitialSetting()\n");
}
