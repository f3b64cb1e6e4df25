// The engine-related setup information pages (range and limits, sensors, air-temperature
// sensors, thermocouples, aircraft) and the fuel-pressure zero calibration.
#include <libintl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "chandesc.h"
#include "configmanager.h"
#include "hkutils.h"
#include "infopage_build.h"
#include "infopages.h"
#include "keyboard.h"
#include "menu.h"
#include "menuaction.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

// ---- range and limits ----

namespace {

constexpr int RangeColumnX[6] = {185, 255, 325, 395, 465, 535};
enum { ColRange, ColMinAlarm, ColMinWarn, ColNorm, ColWarn, ColAlarm };
constexpr uint32_t NormGreen = 0x00C800;  // RGB(0, 200, 0)

// One row: the label and up to six values (null: the cell stays empty).
struct TLimitRow {
    const char* cells[6];
    char text[6][24];
    void Set(int col, const char* value) {
        snprintf(text[col], sizeof text[col], "%s", value);
        cells[col] = text[col];
    }
};

using TConvert = void (*)(char* out, size_t size, int32_t v);

void Plain(char* out, size_t size, int32_t v) { snprintf(out, size, "%d", static_cast<int>(v)); }
void Tenths(char* out, size_t size, int32_t v) { FormatFixedSigned(out, size, v, 1); }

// (|v| x mul + add) / div with the sign of v: a negative limit converts like its mirror.
int64_t MirrorDiv(int64_t v, int64_t mul, int64_t add, int64_t div) {
    const int64_t q = ((v < 0 ? -v : v) * mul + add) / div;
    return v < 0 ? -q : q;
}
// Rounds a value of (scale x the shown unit) to whole shown units, halves away from zero.
int64_t RoundAway(int64_t v, int64_t scale) { return MirrorDiv(v, 1, scale / 2, scale); }
// Tenths of a bar (or hundredths) into tenths (or hundredths) of a kg/cm2.
int64_t BarToKg(int64_t v) { return PressureSettingRounded(UnitKpCm2, v); }

void MapInHg(char* out, size_t size, int32_t v) {  // mbar
    const int64_t hundredths = ConvertManifoldSetting(UnitInHg, v);
    FormatFixedSigned(out, size, RoundAway(hundredths, 10), 1);
}
void MapTorr(char* out, size_t size, int32_t v) {
    snprintf(out, size, "%lld", static_cast<long long>(ConvertManifoldSetting(UnitTorr, v)));
}
void OilPsi(char* out, size_t size, int32_t v) {  // tenths of a bar
    snprintf(out, size, "%lld", static_cast<long long>(PressureSettingRounded(UnitPsi, v)));
}
void OilKg(char* out, size_t size, int32_t v) {
    FormatFixedSigned(out, size, BarToKg(v), 1);
}
void FuelPsi(char* out, size_t size, int32_t v) {  // hundredths of a bar
    FormatFixedSigned(out, size, PressureSettingRounded(UnitPsi, v), 1);
}
void FuelBar(char* out, size_t size, int32_t v) { FormatFixedSigned(out, size, v, 2); }
void FuelKg(char* out, size_t size, int32_t v) {
    FormatFixedSigned(out, size, BarToKg(v), 2);
}
void TempF(char* out, size_t size, int32_t v) {
    snprintf(out, size, "%lld", static_cast<long long>(ConvertTemperature(UnitFahrenheit, v)));
}
void ThermoC(char* out, size_t size, int32_t v) { snprintf(out, size, "%d", static_cast<int>(v / 10)); }
void ThermoF(char* out, size_t size, int32_t v) {
    snprintf(out, size, "%lld", static_cast<long long>(FahrenheitFromTenthC(v)));
}
void Fuel(char* out, size_t size, int32_t v) {
    FormatFixedSigned(out, size, ConvertFuelQuantity(UnitsSetting.fuel, v), 1);
}

struct TRowBuilder {
    TInfoPage* page;
    int labelX;
    void Row(int k, const char* quantity, const char* unit, const TLimitRow& row) {
        const int y = 35 + 20 * k;
        PageAddF(page, labelX, y, PageAlignLeft, "%s (%s):", gettext(quantity), unit);
        for (int c = 0; c < 6; ++c)
            if (row.cells[c]) PageAdd(page, RangeColumnX[c] + 55, y, row.cells[c], PageAlignRight);
    }
};

// Cells of a row by which values it shows; minima marked "if set" only when non-zero.
struct TCell {
    int col;
    int32_t value;
    bool ifSet;
};
TLimitRow Cells(std::initializer_list<TCell> cells, TConvert convert, bool fahrenheitMin = false) {
    TLimitRow row{};
    for (const TCell& c : cells) {
        if (c.ifSet && c.value == 0) continue;
        char text[24];
        convert(text, sizeof text, c.value);
        // A Fahrenheit minimum that comes out as 0 is not shown.
        if (fahrenheitMin && (c.col == ColMinAlarm || c.col == ColMinWarn) && strcmp(text, "0") == 0) continue;
        row.Set(c.col, text);
    }
    return row;
}

TLimitRow LimitARow(const TLimitA& l, TConvert convert, bool minima, bool fahrenheit = false) {
    if (minima)
        return Cells({{ColRange, l.range, false}, {ColMinAlarm, l.alarmMin, true}, {ColMinWarn, l.warningMin, true},
                      {ColNorm, l.normal, false}, {ColWarn, l.warning, false}, {ColAlarm, l.alarm, false}},
                     convert, fahrenheit);
    return Cells({{ColRange, l.range, false}, {ColNorm, l.normal, false}, {ColWarn, l.warning, false},
                  {ColAlarm, l.alarm, false}},
                 convert);
}

}  // namespace

void BuildRangeLimitsPage(TInfoPage* page) {
    const TUnitsSetting& u = UnitsSetting;
    PageBegin(page, 5, 0, 610, 450);
    struct THead {
        const char* top;
        const char* bottom;
        uint32_t colour;
        uint32_t ink;
    };
    const THead heads[6] = {{gettext_noop("Range "), nullptr, 0x000000, WhiteColour},
                            {gettext_noop("Min"), gettext_noop("Alarm"), AlertColour, 0x000000},
                            {gettext_noop("Min"), gettext_noop("Warn"), WarningColour, 0x000000},
                            {gettext_noop("Norm"), nullptr, NormGreen, 0x000000},
                            {gettext_noop("Warn"), nullptr, WarningColour, 0x000000},
                            {gettext_noop("Alarm"), nullptr, AlertColour, 0x000000}};
    // The columns close under the last row ("Current 3", row 19, 20 px high), not
    // through it.
    const int bottom = std::min(35 + 20 * 20 + 5, page->y + page->h - 2);
    for (int c = 0; c < 6; ++c) {
        const int x = RangeColumnX[c];
        PageRect(page, x, 15, 60, 40, heads[c].colour, true);
        PageRect(page, x, 15, 60, bottom - 15, PageTextColour, false);
        for (int line = 0; line < 2; ++line) {
            const char* text = line ? heads[c].bottom : heads[c].top;
            if (!text) continue;
            if (TPageText* t = PageAdd(page, x + 5, 15 + 20 * line, gettext(text))) {
                t->ink = heads[c].ink;
                t->paper = heads[c].colour;
            }
        }
    }
    TRowBuilder b{page, LanguageId == LanguageRussian ? 15 : 25};

    b.Row(1, gettext_noop("RPM"), gettext("rpm"), LimitARow(LimitRpm, Plain, false));
    // MAP: mbar.
    static const TConvert MapConv[3] = {MapInHg, Plain, MapTorr};
    if (u.manifoldPress >= 0 && u.manifoldPress <= 2) {
        const TLimitA& l = LimitMap;
        b.Row(2, gettext_noop("MAP"), PickText(u.manifoldPress, {"inHg", "mBar", "torr"}),
              Cells({{ColRange, l.range, false}, {ColMinWarn, l.warningMin, false}, {ColWarn, l.warning, false}},
                    MapConv[u.manifoldPress]));
    }
    {
        const TLimitA& l = LimitRotorRpm;
        b.Row(3, gettext_noop("Rotor RPM"), gettext("rpm"),
              Cells({{ColRange, l.range, false}, {ColMinAlarm, l.alarmMin, true}, {ColMinWarn, l.warningMin, true},
                     {ColWarn, l.warning, false}, {ColAlarm, l.alarm, false}},
                    Plain));
    }
    static const TConvert OilConv[3] = {OilPsi, Tenths, OilKg};
    if (u.enginePress >= 0 && u.enginePress <= 2)
        b.Row(4, gettext_noop("Oil Press"), PickText(u.enginePress, {"psi", "bar", "kg/cm2"}),
              LimitARow(LimitOilPress, OilConv[u.enginePress], true));
    const bool f = u.temperature == UnitFahrenheit;
    const char* tempUnit = PickText(u.temperature, {gettext_noop("\xB0") gettext_noop("F"), gettext_noop("\xB0") gettext_noop("C")});
    const TConvert tempConv = f ? TempF : Plain;
    b.Row(5, gettext_noop("Oil Temp"), tempUnit, LimitARow(LimitOilTemp, tempConv, true, f));
    b.Row(6, gettext_noop("Water CHT"), tempUnit, LimitARow(LimitWaterCht, tempConv, false));
    b.Row(7, gettext_noop("Water Aux"), tempUnit, LimitARow(LimitWaterAux, tempConv, false));

    const char* fuelUnit = u.fuel == UnitLitre ? gettext("l") : gettext("gal");
    b.Row(8, gettext_noop("Left/Total tank"), fuelUnit,
          Cells({{ColRange, LimitTankLeft.range, false}, {ColMinAlarm, LimitTankLeft.alarmMin, false}}, Fuel));
    b.Row(9, gettext_noop("Right tank"), fuelUnit,
          Cells({{ColRange, LimitTankRight.range, false}, {ColMinAlarm, LimitTankRight.alarmMin, false}}, Fuel));
    static const TConvert FuelPressConv[3] = {FuelPsi, FuelBar, FuelKg};
    if (u.enginePress >= 0 && u.enginePress <= 2) {
        const TLimitB& l = LimitFuelPress;
        b.Row(10, gettext_noop("Fuel Press"), PickText(u.enginePress, {"psi", "bar", "kg/cm2"}),
              Cells({{ColRange, l.range, false}, {ColMinAlarm, l.alarmMin, false}, {ColMinWarn, l.warningMin, false},
                     {ColWarn, l.warning, false}, {ColAlarm, l.alarm, false}},
                    FuelPressConv[u.enginePress]));
    }
    b.Row(11, gettext_noop("Fuel flow"), u.fuel == UnitLitre ? gettext("l/h") : gettext("gal/h"),
          Cells({{ColRange, LimitFuelFlow.range, false}, {ColAlarm, LimitFuelFlow.alarm, false}}, Fuel));
    const TConvert thermo = f ? ThermoF : ThermoC;
    b.Row(12, gettext_noop("EGT"), tempUnit,
          Cells({{ColRange, LimitEgt.range, false}, {ColWarn, LimitEgt.warning, false}, {ColAlarm, LimitEgt.alarm, false}},
                thermo));
    b.Row(13, gettext_noop("CHT"), tempUnit,
          Cells({{ColRange, LimitCht.range, false}, {ColWarn, LimitCht.warning, false}, {ColAlarm, LimitCht.alarm, false}},
                thermo));
    static const char* const Supply[6] = {gettext_noop("Voltage 1"), gettext_noop("Current 1"), gettext_noop("Voltage 2"), gettext_noop("Current 2"), gettext_noop("Voltage 3"), gettext_noop("Current 3")};
    for (int i = 0; i < 6; ++i) {
        // SupplyLimit holds the volts first (0x900..0x902), then the currents (0xA03..0xA05).
        const bool current = i % 2 == 1;
        const TLimitRecord& l = SupplyLimit[(current ? 3 : 0) + i / 2];
        b.Row(14 + i, Supply[i], current ? gettext("A") : gettext("V"),
              Cells({{ColRange, l.range, false}, {ColMinAlarm, l.alarmMin, true}, {ColMinWarn, l.warningMin, true},
                     {ColWarn, l.warning, false}, {ColAlarm, l.alarm, false}},
                    Tenths));
    }
}

void DrawRangeLimitsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (RangeLimitsShown) DrawPlainPage(window, BuildRangeLimitsPage, fillOp, textOp, fillColour);
}

// ---- sensors ----

namespace {

const char* Used(int32_t used) { return used ? gettext("used") : gettext("not used"); }

// The type name of a sensor from its catalogue list, or "not used".
const char* TypeOrUnused(int32_t used, int32_t listKey, int32_t typeIndex) {
    if (!used) return gettext("not used");
    return SensorTypeName(listKey, typeIndex, ConfigManager.GetDeviceType());
}

// Catalogue lists: the air temperatures share 0x601, the liquid temperatures 0x603.
constexpr int32_t ListAirTemp = echTempOAT, ListLiquidTemp = echTempOil, ListMap = echPressMap, ListOilPress = echPressOil,
                  ListFuelPress = echPressFuel, ListTank = echInternalFuelLev1Raw, ListExhaust = echThermo1, ListHead = echThermo0;

}  // namespace

void BuildSensorsPage(TInfoPage* page) {
    const TEngineGaugeConfig& g = EngineGaugeConfig;
    PageBegin(page, -15, 90, 640, 260);
    int y = 110;
    auto left = [&](const char* label, const char* value) {
        PageAdd(page, 5, y, gettext(label));
        PageAdd(page, 125, y, value);
        y += 20;
    };
    left(gettext_noop("RPM:"), Used(g.rpmUsed));
    left(gettext_noop("MAP:"), TypeOrUnused(g.mapUsed, ListMap, g.mapType));
    left(gettext_noop("Rotor RPM:"), Used(g.rotorRpmUsed));
    left(gettext_noop("Oil press:"), TypeOrUnused(g.oilPressUsed, ListOilPress, g.oilPressType));
    left(gettext_noop("Oil temp:"), TypeOrUnused(g.oilTempUsed, ListLiquidTemp, g.oilTempType));
    left(gettext_noop("Water CHT:"), TypeOrUnused(g.waterChtUsed, ListLiquidTemp, g.waterChtType));
    left(gettext_noop("Water Aux:"), TypeOrUnused(g.waterAuxUsed, ListLiquidTemp, g.waterAuxType));
    left(g.twoTanks ? gettext_noop("Left tank:") : gettext_noop("Total tank:"), TypeOrUnused(g.tankUsed, ListTank, g.tankType));
    if (g.twoTanks) left(gettext_noop("Right tank:"), TypeOrUnused(g.tankUsed, ListTank, g.rightTankType));
    left(gettext_noop("Fuel press:"), TypeOrUnused(g.fuelPressUsed, ListFuelPress, g.fuelPressType));
    left(gettext_noop("Fuel flow:"), Used(g.fuelFlowUsed));

    y = 110;
    auto right = [&](const char* label, const char* value) {
        PageAdd(page, 265, y, gettext(label));
        PageAdd(page, 385, y, value);
        y += 20;
    };
    char text[PageTextSize];
    snprintf(text, sizeof text, gettext_noop("%dx"), static_cast<int>(g.cylinders));
    right(gettext_noop("EGT, CHT:"), text);
    right(gettext_noop("IAT:"), TypeOrUnused(g.iatUsed, ListAirTemp, g.iatType));
    right(gettext_noop("OAT:"), TypeOrUnused(g.oatUsed, ListAirTemp, g.oatType));
    static const int Channels[6] = {echVolt1, echVolt2, echVolt3, echCurr1, echCurr2, echCurr3};
    static const char* const Labels[6] = {gettext_noop("Voltage 1:"), gettext_noop("Voltage 2:"), gettext_noop("Voltage 3:"),
                                          gettext_noop("Current 1:"), gettext_noop("Current 2:"), gettext_noop("Current 3:")};
    for (int i = 0; i < 6; ++i) {
        const TSupplyNameSetting& own = SupplyNameSetting[i];
        char name[sizeof own.name + 1];
        memcpy(name, own.name, sizeof own.name);
        name[sizeof own.name] = '\0';
        const int32_t mask = i < 3 ? g.voltsMask : g.currentsMask;
        snprintf(text, sizeof text, "\"%s\", %s", (own.flags & 1) ? name : SupplyChannelName(Channels[i]),
                 Used(mask & (1 << (i % 3))));
        right(Labels[i], text);
    }
}

void BuildAirTempSensorsPage(TInfoPage* page) {
    const TEngineGaugeConfig& g = EngineGaugeConfig;
    PageBegin(page, 160, 155, 290, 130);
    PageTitle(page, gettext("Sensors"), 165);
    // AUXT is the auxiliary liquid-temperature input (the water aux sensor).
    const char* labels[3] = {gettext_noop("IAT:"), gettext_noop("OAT:"), gettext_noop("AUXT:")};
    const char* values[3] = {TypeOrUnused(g.iatUsed, ListAirTemp, g.iatType),
                             TypeOrUnused(g.oatUsed, ListAirTemp, g.oatType),
                             TypeOrUnused(g.waterAuxUsed, ListLiquidTemp, g.waterAuxType)};
    for (int k = 0; k < 3; ++k) {
        PageAdd(page, 180, 200 + 20 * k, gettext(labels[k]));
        PageAdd(page, 250, 200 + 20 * k, values[k]);
    }
}

void BuildThermocouplePage(TInfoPage* page) {
    const TEngineGaugeConfig& g = EngineGaugeConfig;
    PageBegin(page, 45, 5, 550, 305);
    PageAdd(page, 255, 15, gettext("EGT,  CHT  setting"), PageAlignLeft, PageFontTitle);
    const int cylinders = g.cylinders < 0 ? 0 : g.cylinders > ThermoSlots ? ThermoSlots : g.cylinders;
    auto slots = [&](const char* name, const TThermoSlot* slot, int32_t list, int y0) {
        for (int n = 1; n <= cylinders; ++n) {
            const int y = y0 + 20 * (n - 1);
            const TThermoSlot& s = slot[n - 1];
            PageAddF(page, 65, y, PageAlignLeft, "%s %d:", gettext(name), n);
            if (s.thermocouple) {
                const int label = page->textCount;
                PageAdd(page, 135, y, gettext("Thermocouple No."));
                if (TPageText* t = PageAddF(page, 140, y, PageAlignLeft, "%d", s.thermocouple))
                    t->shiftBy = static_cast<uint8_t>(label + 1);
            } else {
                PageAdd(page, 135, y, gettext("Not Connected"));
            }
            const int label = page->textCount;
            PageAdd(page, 385, y, gettext("Sensor:"));
            if (s.thermocouple)
                if (TPageText* t = PageAdd(page, 390, y, SensorTypeName(list, s.typeIndex, ConfigManager.GetDeviceType())))
                    t->shiftBy = static_cast<uint8_t>(label + 1);
        }
    };
    slots(gettext_noop("EGT"), g.egt, ListExhaust, 50);
    slots(gettext_noop("CHT"), g.cht, ListHead, 60 + 20 * cylinders);
}

void DrawSensorsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (SensorsPageShown) DrawPlainPage(window, BuildSensorsPage, fillOp, textOp, fillColour);
}
void DrawAirTempSensorsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (AirTempSensorsShown) DrawPlainPage(window, BuildAirTempSensorsPage, fillOp, textOp, fillColour);
}
void DrawThermocouplePage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (ThermocouplePageShown) DrawPlainPage(window, BuildThermocouplePage, fillOp, textOp, fillColour);
}

// ---- aircraft ----

namespace {

// The stored fuel-pressure offset (hundredths of a bar); 0 when absent or out of -100..100.
int32_t StoredPressOffset() {
    const int32_t v = FuelFlowSetting.pressOffset;
    if (v == -9999 || v == -1 || v < -100 || v > 100) return 0;
    return v;
}

// The offset in hundredths of the engine-pressure unit.
int64_t PressOffsetInUnit(int32_t v) {
    switch (UnitsSetting.enginePress) {
        case UnitPsi: return static_cast<int64_t>(ConvertFuelPressure(UnitPsi, v)) * 10;
        case UnitKpCm2: return BarToKg(v);
        default: return v;
    }
}

const char* PressUnitText() { return PickText(UnitsSetting.enginePress, {"psi", "bar", "kg/cm2"}); }

const char* InputText(int32_t v) {
    return PickText(v, {gettext_noop("not used"), gettext_noop("Used activ. HI"), gettext_noop("Used activ. LO")});
}

}  // namespace

void BuildAircraftPage(TInfoPage* page, int variant) {
    const TEngineGaugeConfig& g = EngineGaugeConfig;
    const bool engine = ScreenType == ScreenEngine;
    const bool full = variant == 0;
    int h = 100;
    if (full) h = !engine ? 200 : !g.tankUsed ? 320 : g.twoTanks ? 420 : 380;
    const int x = engine ? 20 : 50;
    const int top = (480 - h) / 2 - 10;
    PageBegin(page, x, top, 500, full && !engine ? 220 : h);
    PageAdd(page, x + 140, top + 10, gettext("Setting and calibration"), PageAlignLeft, PageFontTitle);

    int y = full ? top + 45 : top + 65;
    char text[PageTextSize];
    auto row = [&](const char* label, const char* value) {
        PageAdd(page, x + 20, y, label);
        PageAdd(page, x + 320, y, value);
        y += 20;
    };
    const char* dimmer = PickText(g.dimmerControl, {gettext_noop("manual"), gettext_noop("auto"), gettext_noop("extern max 5V"),
                                                    gettext_noop("extern max 12V"), gettext_noop("extern max 24V")});
    if (!full) {
        row(gettext("Backlight dimmer ctrl:"), dimmer);
        return;
    }
    char id[sizeof AircraftIdSetting.id + 1];
    memcpy(id, AircraftIdSetting.id, sizeof AircraftIdSetting.id);
    id[sizeof AircraftIdSetting.id] = '\0';
    row(gettext("Aircraft identification:"), id[0] ? id : "AIRCRAFT");
    if (!engine) {
        FormatFixedSigned(text, sizeof text, MiscSetting[MiscPitchOffset].value, 1);
        row(gettext("Pitch offset (deg):"), text);
        FormatFixedSigned(text, sizeof text, MiscSetting[MiscRollOffset].value, 1);
        row(gettext("Roll offset (deg):"), text);
    }
    row(gettext("Backlight dimmer ctrl:"), dimmer);
    row(gettext("CNPY:"), InputText(g.canopyInput));
    row(gettext("Gear Up:"), InputText(g.gearUpInput));
    row(gettext("Gear Down:"), InputText(g.gearDownInput));
    if (!engine) return;

    const int fuel = UnitsSetting.fuel;
    const char* fuelUnit = fuel == UnitLitre ? gettext("l") : gettext("gal");
    char label[PageTextSize];
    int64_t k = GallonsToLitres(fuel, FuelFlowSetting.kFactor);
    if (fuel == UnitUsGallon || fuel == UnitUkGallon) k = RoundAway(k, 10) * 10;
    snprintf(label, sizeof label, "%s (%s):", gettext("Fuel flow k-factor"), fuelUnit);
    snprintf(text, sizeof text, "%lld", static_cast<long long>(k));
    row(label, text);
    snprintf(label, sizeof label, "%s:", gettext("Fuel flow time of average"));
    snprintf(text, sizeof text, "%d", FuelFlowSetting.flowAverage);
    row(label, text);
    snprintf(label, sizeof label, "%s (%s):", gettext("Fuel press offset"), PressUnitText());
    FormatFixedSigned(text, sizeof text, PressOffsetInUnit(StoredPressOffset()), 2);
    row(label, text);
    if (g.tankUsed) {
        const int tanks = g.twoTanks ? 2 : 1;
        const char* names[2] = {g.twoTanks ? gettext_noop("Left tank:") : gettext_noop("Total tank:"), gettext_noop("Right tank:")};
        for (int i = 0; i < tanks; ++i)
            row(gettext(names[i]), TankSetting[i].calibrated ? gettext("calibrated") : gettext("not calibrated"));
        const char* unusable[2] = {g.twoTanks ? gettext_noop("Unexhaustible fuel in left tank") : gettext_noop("Unexhaustible fuel in total tank"),
                                   gettext_noop("Unexhaustible fuel in right tank")};
        for (int i = 0; i < tanks; ++i) {
            snprintf(label, sizeof label, "%s (%s):", gettext(unusable[i]), fuelUnit);
            FormatFixedSigned(text, sizeof text, ConvertFuelQuantity(fuel, TankSetting[i].unusable), 1);
            row(label, text);
        }
        snprintf(label, sizeof label, "%s:", gettext("Fuel quantity time of average"));
        snprintf(text, sizeof text, "%d", FuelFlowSetting.quantityAverage);
        row(label, text);
    }
    snprintf(text, sizeof text, "%d", static_cast<int>(RpmSensorSetting[0].pulsesPerRev));
    row(gettext("RPM pulse per rev:"), text);
    const int32_t ratio = RpmSensorSetting[0].reductionRatio;
    char number[32];
    FormatFixedSigned(number, sizeof number, ratio, 2);
    snprintf(text, sizeof text, "1:%s", number);
    row(gettext("RPM reduction ratio:"), text);
    snprintf(text, sizeof text, "%d", static_cast<int>(RpmSensorSetting[1].pulsesPerRev));
    row(gettext("Rotor RPM pulse per rev:"), text);
    snprintf(text, sizeof text, "%d", static_cast<int>(MiscSetting[MiscRpmThreshold].value));
    row(gettext("Threshold for activation RPM:"), text);
    row(gettext("Main switch control:"), g.mainSwitch ? gettext("connected") : gettext("not connected"));
}

void DrawAircraftPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (AircraftPageShown) DrawVariantPage(window, BuildAircraftPage, AircraftPageShown == 2 ? 1 : 0, fillOp, textOp,
                                           fillColour);
}

// ---- fuel-pressure zero calibration ----

int FuelPressCalibState = FuelCalibHidden;
int64_t FuelPressCalibStartMs = 0;
std::function<int64_t()> FuelPressCalibClock = [] {
    using namespace std::chrono;
    return static_cast<int64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
};

namespace {

int64_t Now() { return FuelPressCalibClock ? FuelPressCalibClock() : 0; }

// Sends one zero-calibration command to the device through its command block.
void SendCommand(int32_t command, int next) {
    memset(&GyroProcess, 0, sizeof GyroProcess);
    GyroProcess.request = command;
    GyroProcess.sent = 1;
    SetSS(SsGyroProcess, 0);
    FuelPressCalibState = next;
    FuelPressCalibStartMs = Now();
}

// One step per frame.
void Advance() {
    switch (FuelPressCalibState) {
        case FuelCalibSend1: SendCommand(FuelCalibCommandZero, FuelCalibWait1); break;
        case FuelCalibSend2: SendCommand(FuelCalibCommandEcu, FuelCalibWait2); break;
        case FuelCalibWait1:
        case FuelCalibWait2: {
            if (Now() - FuelPressCalibStartMs < FuelCalibAnswerWaitMs) break;
            GetSS(SsGyroProcess, 0);
            const bool ok = GyroProcess.status == 1;
            FuelPressCalibState = ok ? FuelCalibDone
                                     : FuelPressCalibState == FuelCalibWait1 ? FuelCalibSensorFailed : FuelCalibEcuFailed;
            // Finished either way: only Cancel and OK remain, both leave.
            BindFuelPressCalibKeys();
            break;
        }
        default: break;
    }
}

}  // namespace

const char* FuelPressCalibMessage(int state, char* buffer, size_t size) {
    if (!buffer || size == 0) return "";
    const char* text = "";
    switch (state) {
        case FuelCalibWaitSet: text = gettext_noop("Press Set to store new value"); break;
        case FuelCalibSend1: case FuelCalibWait1: case FuelCalibSend2: case FuelCalibWait2: text = gettext_noop("Please wait..."); break;
        case FuelCalibDone: text = gettext_noop("Calibration has been done."); break;
        case FuelCalibSensorError: text = gettext_noop("Sensor error"); break;
        case FuelCalibEcuCommError: text = gettext_noop("ECU communication error"); break;
        case FuelCalibSensorFailed: text = gettext_noop("Sensor calibration failed"); break;
        case FuelCalibEcuFailed: text = gettext_noop("ECU calibration failed"); break;
        default: buffer[0] = '\0'; return buffer;
    }
    if (state >= FuelCalibSensorError)
        snprintf(buffer, size, "%s !", gettext(text));
    else
        snprintf(buffer, size, "%s", gettext(text));
    return buffer;
}

void BuildFuelPressCalibBox(TInfoPage* page) {
    PageBegin(page, 200, 180, 400, 120);
    PageTitle(page, gettext("Fuel press zero calibration"), 190);
    char number[32];
    FormatFixedSigned(number, sizeof number, PressOffsetInUnit(StoredPressOffset()), 2);
    PageAddF(page, 220, 225, PageAlignLeft, "%s%s %s", gettext("Offset value: "), number, PressUnitText());
    char message[PageTextSize];
    PageAdd(page, 400, 260, FuelPressCalibMessage(FuelPressCalibState, message, sizeof message), PageAlignCentre);
}

void DrawFuelPressZeroCalib(FGDrawBuffer* window) {
    if (FuelPressCalibState == FuelCalibHidden) return;
    Advance();
    static TInfoPage page;
    BuildFuelPressCalibBox(&page);
    PaintInfoPage(window, page, DrawModeCopy, DrawModeCopy, PanelInk);
}

void BindFuelPressCalibKeys() {
    Keyboard.Clear();
    Keyboard.BindNone(AllKeys);
    const int state = FuelPressCalibState;
    if (state == FuelCalibWaitSet) Keyboard.Bind(KeySoft4, LabelSet, FuelPressCalibSet, FuelCalibSend1);
    if (state >= FuelCalibDone || state == FuelCalibHidden) Keyboard.Bind(KeySoft4, LabelOk, FuelPressCalibLeave, 0);
    Keyboard.Bind(KeySoft3, LabelCancel, FuelPressCalibLeave, 0);
    SoftKeyHold = 1;
}

void FuelPressCalibSet(int32_t state) {
    if (state != FuelCalibSend1 && state != FuelCalibSend2) return;
    if (FuelPressCalibState != FuelCalibWaitSet) return;
    FuelPressCalibState = state;
    BindFuelPressCalibKeys();
}

void FuelPressCalibLeave(int32_t) {
    FuelPressCalibState = FuelCalibHidden;
    SoftKeyHold = 0;
    Keyboard.Clear();
    // The dispatcher's step 0 reopens the settings page and reloads the stored offset.
    FuelPressZeroCalib(0);
}
