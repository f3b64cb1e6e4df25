#include "extremes.h"

#include <libintl.h>

#include <climits>
#include <cstdio>

#include "configmanager.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"

namespace {


const char* Word(int which) { return which == ExtremeMax ? gettext("MAX") : gettext("MIN"); }

bool IsSet(int32_t value, int which) { return value != (which == ExtremeMax ? INT32_MIN : INT32_MAX); }

// A set value with decimals: "%s %s = %s %s" of name, word, the fixed-point text
// and the unit. The sign stays on values between -1 and 0, which a split into
// whole and fraction would lose.
void FormatFixedExtreme(char* buffer, size_t size, const char* name, const char* unit, int32_t fixed, int decimals,
                        int32_t stored, int which) {
    if (!FormatExtreme(buffer, size, name, unit, stored, which)) return;
    char number[FixTextSize];
    FixToText(number, fixed, decimals);
    snprintf(buffer, size, "%s %s = %s %s", name, Word(which), number, unit);
}

// Collects the lines of an overlay, never more than the caller's array holds.
struct TLineSink {
    TOverlayLine* lines;
    int count;
    TOverlayLine* Next(int x, int y) {
        if (count >= OverlayMaxLines) return nullptr;
        TOverlayLine* line = &lines[count++];
        line->x = x;
        line->y = y;
        line->text[0] = '\0';
        return line;
    }
};

// ---- flight extremes ----

constexpr int FlightMinX = 190, FlightMaxX = 410;
constexpr int FlightRowY[4] = {205, 225, 245, 265};

// Unit text and converted value of a flight row; false when the unit word has no text.
bool FlightConvert(int row, int32_t x, const char** unit, int32_t* converted) {
    const TUnitsSetting& u = UnitsSetting;
    switch (row) {
        case 0:  // altitude, metres
            if (u.altitude == UnitFeet) { *unit = gettext("ft"); *converted = FeetFromMetres(x); return true; }
            if (u.altitude == UnitMetres) { *unit = gettext("m"); *converted = x; return true; }
            return false;
        case 1:  // speed, km/h
            if (u.airspeed == UnitKnots) { *unit = gettext("kts"); *converted = ExtremesKnotsFromKmh(x); return true; }
            if (u.airspeed == UnitMph) { *unit = gettext("mph"); *converted = ConvertSpeed(UnitMph, x); return true; }
            if (u.airspeed == UnitKmh) { *unit = gettext("km/h"); *converted = x; return true; }
            return false;
        default:  // vertical speed
            if (u.verticalSpeed == UnitFeetPerMin) {
                *unit = gettext("ft/min");
                *converted = FtMinFromMs(x);
                return true;
            }
            if (u.verticalSpeed == UnitMetresPerSec) { *unit = gettext("m/s"); *converted = x; return true; }
            if (u.verticalSpeed == UnitVsKnots) { *unit = gettext("kts"); *converted = KnotsFromMs(x); return true; }
            return false;
    }
}

// ---- engine extremes ----

constexpr int EngineMinX = 180, EngineMaxX = 405;
constexpr int EngineRowY0 = 100, EngineRowStep = 20;
constexpr int CylinderRowY0 = 270;

enum TEngineKind { KindPlain, KindOilPress, KindTemp, KindManifold, KindFuelPress, KindFuelFlow };

// One engine extreme in the selected unit; false (nothing written) when the unit
// word has none of the values the row knows.
bool EngineEntry(char* buffer, size_t size, TEngineKind kind, const char* name, int32_t x, int which) {
    const TUnitsSetting& u = UnitsSetting;
    switch (kind) {
        case KindPlain:
            FormatExtreme(buffer, size, name, "", x, which);
            return true;
        case KindOilPress:  // thousandths of a bar
            if (u.enginePress == UnitPsi) {
                FormatConvertedExtreme(buffer, size, name, gettext("psi"), ConvertOilPressure(UnitPsi, x), x, which);
            } else if (u.enginePress == UnitBar) {
                FormatFixedExtreme(buffer, size, name, gettext("bar"), x / 100, 1, x, which);
            } else if (u.enginePress == UnitKpCm2) {
                FormatFixedExtreme(buffer, size, name, gettext("kg/cm2"), ConvertPressureSetting(UnitKpCm2, x) / 100, 1, x, which);
            } else {
                return false;
            }
            return true;
        case KindTemp:  // degrees Celsius
            if (u.temperature == UnitFahrenheit)
                FormatConvertedExtreme(buffer, size, name, gettext("\xB0" "F"), ConvertTemperature(UnitFahrenheit, x), x, which);
            else if (u.temperature == UnitCelsius)
                FormatExtreme(buffer, size, name, gettext("\xB0" "C"), x, which);
            else
                return false;
            return true;
        case KindManifold:  // hPa
            if (u.manifoldPress == UnitInHg)
                FormatFixedExtreme(buffer, size, name, gettext("inHg"), ConvertManifoldSetting(UnitInHg, x), 2, x, which);
            else if (u.manifoldPress == UnitMbar)
                FormatExtreme(buffer, size, name, gettext("mBar"), x, which);
            else if (u.manifoldPress == UnitTorr)
                FormatConvertedExtreme(buffer, size, name, gettext("torr"), ConvertManifoldSetting(UnitTorr, x), x, which);
            else
                return false;
            return true;
        case KindFuelPress:  // hundredths of a bar; psi = bar x 14.5
            if (u.enginePress == UnitPsi)
                FormatConvertedExtreme(buffer, size, name, gettext("psi"), ConvertFuelPressure(UnitPsi, x) / 10, x, which);
            else if (u.enginePress == UnitBar)
                FormatFixedExtreme(buffer, size, name, gettext("bar"), x, 2, x, which);
            else if (u.enginePress == UnitKpCm2)
                FormatFixedExtreme(buffer, size, name, gettext("kg/cm2"), ConvertPressureSetting(UnitKpCm2, x), 2, x, which);
            else
                return false;
            return true;
        case KindFuelFlow:  // a flow: per hour
            FormatConvertedExtreme(buffer, size, name, u.fuel == UnitLitre ? gettext("l/h") : gettext("gal/h"),
                                   ConvertFuelQuantity(u.fuel, x), x, which);
            return true;
    }
    return false;
}

// One engine extreme as a line at (x, y); no line where the unit has no text.
void EngineLine(TLineSink& sink, int x, int y, TEngineKind kind, const char* name, int32_t value, int which) {
    char text[ExtremeLineSize];
    if (!EngineEntry(text, sizeof text, kind, name, value, which)) return;
    if (TOverlayLine* line = sink.Next(x, y)) snprintf(line->text, sizeof line->text, "%s", text);
}

void EngineRow(TLineSink& sink, int k, TEngineKind kind, const char* name, const TStatPair& stat) {
    const int y = EngineRowY0 + EngineRowStep * k;
    EngineLine(sink, EngineMinX, y, kind, name, stat.min, ExtremeMin);
    EngineLine(sink, EngineMaxX, y, kind, name, stat.max, ExtremeMax);
}

// The box, then its lines opaque in the overlay colours.
void DrawExtremes(FGDrawBuffer* window, int font, int x, int y, int w, int h, int (*build)(TOverlayLine*)) {
    if (!window) return;
    SelectDisplayFont(window, font);
    window->set_mode(DrawModeCopy);
    DrawOverlayBox(window, x, y, w, h);
    TOverlayLine lines[OverlayMaxLines];
    const int count = build(lines);
    const FGPixel ink = DisplayPalette.PalOverlayText, paper = DisplayPalette.PalOverlayPanel;
    for (int i = 0; i < count; ++i) window->text(lines[i].x, lines[i].y, lines[i].text, ink, paper);
}

}  // namespace

int FormatExtreme(char* buffer, size_t size, const char* name, const char* unit, int32_t value, int which) {
    if (!buffer || size == 0) return 0;
    const int set = IsSet(value, which);
    if (set)
        snprintf(buffer, size, "%s %s = %d %s", name, Word(which), static_cast<int>(value), unit);
    else
        snprintf(buffer, size, "%s %s  - - -  %s", name, Word(which), unit);
    return set;
}

int FormatConvertedExtreme(char* buffer, size_t size, const char* name, const char* unit, int32_t converted,
                           int32_t stored, int which) {
    if (!FormatExtreme(buffer, size, name, unit, stored, which)) return 0;
    // The stored value alone decides: a saturated conversion still shows as a number.
    snprintf(buffer, size, "%s %s = %d %s", name, Word(which), static_cast<int>(converted), unit);
    return 1;
}

int OverlayStatusFont() { return LanguageFont(FontEuromode14, FontMsRefSans15); }
int Overlay16pxFont() { return LanguageFont(FontEuromode16, FontMsRefSans16); }

void DrawOverlayBox(FGDrawBuffer* window, int x, int y, int w, int h) {
    window->fillbox(x, y, w, h, DisplayPalette.PalOverlayPanel);
    window->box(x, y, w, h, DisplayPalette.PalOverlayText);
}

int FlightExtremeLines(TOverlayLine* lines) {
    TLineSink sink{lines, 0};
    const char* names[3] = {gettext("Altitude"), gettext("Speed"), gettext("VSI")};
    const TStatPair* stats[3] = {&FlightStatistics.altitude, &FlightStatistics.speed,
                                 &FlightStatistics.verticalSpeed};
    for (int row = 0; row < 3; ++row)
        for (int which : {ExtremeMin, ExtremeMax}) {
            const int32_t x = which == ExtremeMin ? stats[row]->min : stats[row]->max;
            const char* unit;
            int32_t converted;
            if (!FlightConvert(row, x, &unit, &converted)) continue;
            if (TOverlayLine* line = sink.Next(which == ExtremeMin ? FlightMinX : FlightMaxX, FlightRowY[row]))
                FormatConvertedExtreme(line->text, sizeof line->text, names[row], unit, converted, x, which);
        }
    const TStatPair& g = FlightStatistics.acceleration;  // tenths of g
    for (int which : {ExtremeMin, ExtremeMax})
        if (TOverlayLine* line = sink.Next(which == ExtremeMin ? FlightMinX : FlightMaxX, FlightRowY[3]))
            FormatFixedExtreme(line->text, sizeof line->text, gettext("Acceleration"), gettext("g"),
                               which == ExtremeMin ? g.min : g.max, 1, which == ExtremeMin ? g.min : g.max, which);
    return sink.count;
}

int EngineExtremeLines(TOverlayLine* lines) {
    TLineSink sink{lines, 0};
    const TEngineStatistics& s = EngineStatistics;
    EngineRow(sink, 0, KindPlain, gettext("RPM"), s.rpm);
    EngineRow(sink, 1, KindOilPress, gettext("OIL PRESS"), s.oilPress);
    EngineRow(sink, 2, KindTemp, gettext("OIL TEMP"), s.oilTemp);
    if (EngineGaugeConfig.rotorRpmUsed)
        EngineRow(sink, 3, KindPlain, gettext("Rotor RPM"), s.rpm2);
    else
        EngineRow(sink, 3, KindManifold, gettext("MAP"), s.map);
    EngineRow(sink, 4, KindFuelPress, gettext("FUEL PRESS"), s.fuelPress);
    EngineRow(sink, 5, KindFuelFlow, gettext("FUEL FLOW"), s.fuelFlow);
    EngineRow(sink, 6, KindTemp, gettext("IAT "), s.iat);
    EngineRow(sink, 7, KindTemp, gettext("OAT "), s.oat);

    const int cylinders = EngineGaugeConfig.cylinders == 4 || EngineGaugeConfig.cylinders == 6
                              ? EngineGaugeConfig.cylinders
                              : 2;
    for (int c = 1; c <= cylinders; ++c) {
        const int y = CylinderRowY0 + EngineRowStep * (c - 1);
        char name[32];
        snprintf(name, sizeof name, "%s%d", gettext("EGT"), c);
        EngineLine(sink, EngineMinX, y, KindTemp, name, s.egtMax[c - 1], ExtremeMax);
        snprintf(name, sizeof name, "%s%d", gettext("CHT"), c);
        EngineLine(sink, EngineMaxX, y, KindTemp, name, s.chtMax[c - 1], ExtremeMax);
    }
    return sink.count;
}

void DrawFlightExtremes(FGDrawBuffer* window) {
    DrawExtremes(window, OverlayStatusFont(), FlightExtremesX, FlightExtremesY, FlightExtremesW, FlightExtremesH,
                 FlightExtremeLines);
}

void DrawAirportData(FGDrawBuffer* window) {
    if (!window) return;
    window->set_mode(DrawModeCopy);
    DrawOverlayBox(window, AirportDataX, AirportDataY, AirportDataW, AirportDataH);
    window->text(AirportDataX + 10, AirportDataY + 10, gettext("AIRPORT DATA"), DisplayPalette.PalOverlayText,
                 DisplayPalette.PalOverlayPanel);
}

void DrawEngineExtremes(FGDrawBuffer* window) {
    DrawExtremes(window, Overlay16pxFont(), EngineExtremesX, EngineExtremesY, EngineExtremesW, EngineExtremesH,
                 EngineExtremeLines);
}
