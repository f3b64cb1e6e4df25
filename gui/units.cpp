#include "units.h"

#include <algorithm>
#include <cstdio>

int32_t SatInt32(int64_t v) {
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX));
}

// |x| < 2^31 and the factors below are < 2^17, so the products stay inside int64.
int32_t MulDiv(int64_t x, int64_t mul, int64_t div, int64_t add) { return SatInt32((x * mul + add) / div); }

namespace {

// (x * mul + div / 2) / div for either sign: a negative setting rounds like its mirror.
int64_t RoundedRatio(int64_t x, int64_t mul, int64_t div) {
    const int64_t q = ((x < 0 ? -x : x) * mul + div / 2) / div;
    return x < 0 ? -q : q;
}

}  // namespace

int ConvertFuelQuantity(int unit, int litres) {
    // The shift is arithmetic: a negative quantity rounds toward minus infinity.
    const int64_t x = litres;
    if (unit == UnitUsGallon) return SatInt32((x * 17313 + 32768) >> 16);
    if (unit == UnitUkGallon) return SatInt32((x * 14416 + 32768) >> 16);
    return litres;
}

int32_t GallonsToLitres(int kind, int32_t value) {
    // Arithmetic shift as the instrument does: negative values round toward minus infinity.
    const int64_t v = value;
    if (kind == UnitUsGallon) return SatInt32((v * 31010 + 4096) >> 13);
    if (kind == UnitUkGallon) return SatInt32((v * 37242 + 4096) >> 13);
    return value;
}

const TUnitRatio FeetPerMetre = {328, 100};
const TUnitRatio HundredthInHgPerMbar = {2953, 1000};
const TUnitRatio TenthInHgPerMbar = {2953, 10000};
const TUnitRatio TorrPerMbar = {75006, 100000};
const TUnitRatio PsiPerTenthBar = {145, 100};
const TUnitRatio KpCm2PerBar = {10197, 10000};
const TUnitRatio FahrenheitPerCelsius = {9, 5};
const TUnitRatio FahrenheitPerTenthCelsius = {9, 50};

namespace {

// Airspeed unit per km/h x 1000; km/h itself and unknown units 1000.
int64_t SpeedPerMille(int unit) { return unit == UnitKnots ? 540 : unit == UnitMph ? 621 : 1000; }

}  // namespace

int32_t ConvertSpeed(int unit, int64_t kmh) {
    if (unit == UnitKnots || unit == UnitMph) return MulDiv(kmh, SpeedPerMille(unit), 1000);
    return SatInt32(kmh);
}

int32_t KmhFromSpeed(int unit, int64_t shown) { return MulDiv(shown, 1000, SpeedPerMille(unit)); }

int32_t ExtremesKnotsFromKmh(int64_t kmh) { return MulDiv(kmh, 539, 1000); }

int64_t CmPerHourOfSpeedUnit(int unit) { return unit == UnitKnots ? 185200 : unit == UnitMph ? 160934 : 100000; }

int32_t ConvertSpeedLimit(int unit, int64_t centiKnots) {
    switch (unit) {
        case UnitKnots: return SatInt32(centiKnots / 10);
        case UnitMph: return MulDiv(centiKnots, 1150, 10000);
        default: return MulDiv(centiKnots, 1852, 10000);
    }
}

int32_t FeetFromMetres(int64_t metres) { return MulDiv(metres, FeetPerMetre.mul, FeetPerMetre.div); }

int32_t ConvertAltitude(int unit, int32_t metres) {
    return unit == UnitFeet ? MulDiv(metres, 3281, 1000) : metres;
}

int64_t TenthFeetFromDecimetresExact(int64_t decimetres) { return RoundedRatio(decimetres, 10000, 3048); }
int64_t DecimetresFromFeetExact(int64_t feet) { return RoundedRatio(feet, 30480, 10000); }

int32_t ConvertVerticalSpeed(int unit, int32_t tenthsMs) {
    if (unit == UnitFeetPerMin) return MulDiv(tenthsMs, 19685, 1000);
    if (unit == UnitVsKnots) return MulDiv(tenthsMs, 19438, 10000);
    return tenthsMs;
}

int32_t TensFtMinFromTenthMs(int64_t tenthsMs) { return MulDiv(tenthsMs, 19680, 10000); }
int32_t FtMinFromMs(int64_t ms) { return MulDiv(ms, 19680, 100); }
int32_t KnotsFromMs(int64_t ms) { return MulDiv(ms, 3600, 1852); }

int32_t ConvertTemperature(int unit, int32_t celsius) {
    return unit == UnitFahrenheit ? SatInt32(static_cast<int64_t>(celsius) * 9 / 5 + 32) : celsius;
}

int64_t TenthFahrenheitFromCelsius(int64_t celsius) { return celsius * 18 + 320; }
int64_t CelsiusFromTenthFahrenheit(int64_t tenthsF) { return RoundedRatio(tenthsF - 320, 1, 18); }

int32_t ConvertThermoLimit(int unit, int32_t tenthsC) {
    if (unit == UnitFahrenheit) return SatInt32((static_cast<int64_t>(tenthsC) * 9 / 5 + 320) / 10);
    return tenthsC / 10;
}

int32_t FahrenheitFromTenthC(int64_t tenthsC) {
    const TUnitRatio& r = FahrenheitPerTenthCelsius;
    return SatInt32(tenthsC * r.mul / r.div + FahrenheitAtZeroCelsius);
}

int32_t ConvertOilPressure(int unit, int32_t milliBar) {
    switch (unit) {
        case UnitPsi: return MulDiv(milliBar, 145, 10000);
        case UnitKpCm2: return MulDiv(milliBar, 10197, 1000000, 5);
        case UnitKPa: return milliBar / 10;
        default: return milliBar / 100;
    }
}

int32_t ConvertFuelPressure(int unit, int32_t centiBar) {
    if (unit == UnitPsi) return MulDiv(centiBar, 145, 100);
    if (unit == UnitKpCm2) return MulDiv(centiBar, KpCm2PerBar.mul, KpCm2PerBar.div, 5);
    return centiBar;
}

int32_t ConvertManifold(int unit, int32_t hPa) {
    if (unit == UnitInHg) return SatInt32((static_cast<int64_t>(hPa) * 2953 / 1000 + 5) / 10);
    if (unit == UnitTorr) return MulDiv(hPa, TorrPerMbar.mul, TorrPerMbar.div);
    return hPa;
}

int32_t ConvertManifoldSetting(int unit, int32_t mbar) {
    if (unit == UnitInHg) return MulDiv(mbar, HundredthInHgPerMbar.mul, HundredthInHgPerMbar.div);
    if (unit == UnitTorr) return MulDiv(mbar, TorrPerMbar.mul, TorrPerMbar.div);
    return mbar;
}

int32_t ConvertPressureSetting(int unit, int32_t value) {
    if (unit == UnitPsi) return MulDiv(value, PsiPerTenthBar.mul, PsiPerTenthBar.div);
    if (unit == UnitKpCm2) return MulDiv(value, KpCm2PerBar.mul, KpCm2PerBar.div);
    return value;
}

int32_t PressureSettingRounded(int unit, int64_t value) {
    // psi to nearest; kg/cm2 adds 5 / 10000 only, as the fuel-pressure channel does.
    const int64_t m = value < 0 ? -value : value;
    int64_t q;
    if (unit == UnitPsi) q = MulDiv(m, PsiPerTenthBar.mul, PsiPerTenthBar.div, PsiPerTenthBar.div / 2);
    else if (unit == UnitKpCm2) q = MulDiv(m, KpCm2PerBar.mul, KpCm2PerBar.div, 5);
    else return SatInt32(value);
    // A negative limit converts like its mirror.
    return SatInt32(value < 0 ? -q : q);
}

int32_t ConvertDistance(int unit, int32_t tenthsKm) {
    if (unit == UnitNm) return MulDiv(tenthsKm, 1000, 1852);
    if (unit == UnitSm) return MulDiv(tenthsKm, 1000, 1609);
    return tenthsKm;
}

int32_t RoundRpm(int32_t rpm) { return SatInt32((static_cast<int64_t>(rpm) + 5) / 10 * 10); }

namespace {

// "%d.%0*d" of value / 10^digits, with the sign written once for the whole number.
int FormatFixed(char* buffer, size_t size, int64_t value, int digits) {
    int64_t scale = 1;
    for (int i = 0; i < digits; ++i) scale *= 10;
    const char* sign = value < 0 ? "-" : "";
    const int64_t magnitude = value < 0 ? -value : value;
    return snprintf(buffer, size, "%s%lld.%0*lld", sign, static_cast<long long>(magnitude / scale), digits,
                    static_cast<long long>(magnitude % scale));
}

}  // namespace

int FormatTenths(char* buffer, size_t size, int32_t tenths) { return FormatFixed(buffer, size, tenths, 1); }

int FormatBaro(char* buffer, size_t size, int unit, int32_t pa) {
    const int64_t p = pa;
    switch (unit) {
        case UnitInHg: return FormatFixed(buffer, size, RoundedRatio(p, 2953, 100000), 2);
        case UnitTorr: {
            // mmHg rounds with 5000 over 101325, not half the divisor.
            const int64_t q = ((p < 0 ? -p : p) * 7600 + 5000) / StandardQnh;
            return FormatFixed(buffer, size, p < 0 ? -q : q, 1);
        }
        default:
            if (pa == StandardQnh) return FormatFixed(buffer, size, p / 10, 1);
            return snprintf(buffer, size, "%lld", static_cast<long long>(RoundedRatio(p, 1, 100)));
    }
}

int FormatTemperature(char* buffer, size_t size, int unit, int32_t value, bool valid) {
    if (!valid) return snprintf(buffer, size, " - - - %s", TemperatureLetter(unit));
    return snprintf(buffer, size, "%d %s", static_cast<int>(value), TemperatureLetter(unit));
}

const char* TemperatureLetter(int unit) { return unit == UnitFahrenheit ? "F" : "C"; }
const char* FuelUnitText(int unit) { return unit == UnitLitre ? "l" : "gal"; }
const char* DistanceUnitText(int unit) { return unit == UnitNm ? "NM" : unit == UnitSm ? "SM" : "km"; }
