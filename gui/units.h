// Conversions from the fixed units of the measured channels and the settings into
// the display units of the units record, and the texts built from them. Every
// conversion is worked out in 64 bits and saturated to int32, so no stored value
// or setting can overflow it; no divisor depends on input.
#pragma once

#include <cstddef>
#include <cstdint>

// Units record entries (TUnitsSetting).
enum { UnitKnots = 0, UnitMph = 1, UnitKmh = 2 };
enum { UnitFeet = 0, UnitMetres = 1 };
enum { UnitFahrenheit = 0, UnitCelsius = 1 };
enum { UnitLitre = 0, UnitUsGallon = 1, UnitUkGallon = 2 };
enum { UnitInHg = 0, UnitMbar = 1, UnitTorr = 2 };
enum { UnitFeetPerMin = 0, UnitMetresPerSec = 1, UnitVsKnots = 2 };
enum { UnitPsi = 0, UnitBar = 1, UnitKpCm2 = 2, UnitKPa = 3 };
enum { UnitKm = 0, UnitNm = 1, UnitSm = 2 };

// The no-value mark of every numeric field.
constexpr int32_t NoValue = -9999;
constexpr int32_t StandardQnh = 101325;  // Pa

int32_t SatInt32(int64_t v);
// (x * mul + add) / div, truncated toward zero, saturated; div must be a constant > 0.
int32_t MulDiv(int64_t x, int64_t mul, int64_t div, int64_t add = 0);

// A factor as numerator over denominator, for code that converts both ways and
// rounds on its own (the editors' step rounders, the limit editors' shown scale).
struct TUnitRatio {
    int64_t mul, div;
};
extern const TUnitRatio FeetPerMetre;               // 3.28: the feet step of the editors
extern const TUnitRatio HundredthInHgPerMbar;       // the inHg step of the editors
extern const TUnitRatio TenthInHgPerMbar;           // the manifold limit editor
extern const TUnitRatio TorrPerMbar;                // the manifold limit editor
extern const TUnitRatio PsiPerTenthBar;             // 1.45: psi step, oil and fuel pressure limit editors
extern const TUnitRatio KpCm2PerBar;                // 1.0197, the same decade in and out
extern const TUnitRatio FahrenheitPerCelsius;       // 9 / 5, then FahrenheitAtZeroCelsius
extern const TUnitRatio FahrenheitPerTenthCelsius;  // 9 / 50, then FahrenheitAtZeroCelsius
constexpr int32_t FahrenheitAtZeroCelsius = 32;

// Tenths of a litre into tenths of the fuel unit; unknown units unchanged.
int ConvertFuelQuantity(int unit, int litres);
// Gallons into litres (any fixed-point scale): kind 1 US, kind 2 UK, other kinds unchanged.
int32_t GallonsToLitres(int kind, int32_t value);
// km/h into the airspeed unit in the same decade (tenths in, tenths out), truncated:
// knots x 0.540, mph x 0.621. The refresh, the tapes, the bug and autopilot editors.
int32_t ConvertSpeed(int unit, int64_t kmh);
// Tenths of the airspeed unit back into tenths of km/h (the autopilot speed wizard).
int32_t KmhFromSpeed(int unit, int64_t shown);
// Whole km/h into whole knots x 0.539: the flight extremes overlay only.
int32_t ExtremesKnotsFromKmh(int64_t kmh);
// One airspeed unit in cm/h: knots 185200, mph 160934, km/h and unknown units 100000.
// The IAS bug counts whole units in it.
int64_t CmPerHourOfSpeedUnit(int unit);
// A speed limit (hundredths of a knot) in tenths of the airspeed unit.
int32_t ConvertSpeedLimit(int unit, int64_t centiKnots);
// Metres into feet x 3.28, any decade (decimetres give tenths of feet): the
// altimeter tape and drums, the altitude bug mark, GPS altitude, flight level, extremes.
int32_t FeetFromMetres(int64_t metres);
// Metres into the altitude unit, feet x 3.281: the editors' selected-unit step.
int32_t ConvertAltitude(int unit, int32_t metres);
// Decimetres into tenths of a foot and whole feet into decimetres on the exact foot
// (0.3048 m), to nearest: the altitude bug's steps, which must not drift.
int64_t TenthFeetFromDecimetresExact(int64_t decimetres);
int64_t DecimetresFromFeetExact(int64_t feet);
// Tenths of m/s into whole ft/min (x 19.685), tenths of m/s or tenths of a knot
// (x 1.9438): the vertical-speed number of the refresh, the editors' selected-unit step.
int32_t ConvertVerticalSpeed(int unit, int32_t tenthsMs);
// Tenths of m/s into tens of ft/min (x 1.968): the vertical-speed arc, the climb editor.
int32_t TensFtMinFromTenthMs(int64_t tenthsMs);
// Whole m/s into whole ft/min (x 196.8): the flight extremes overlay.
int32_t FtMinFromMs(int64_t ms);
// m/s into knots x 3600 / 1852 in the same decade: the arc, the climb editor, extremes.
int32_t KnotsFromMs(int64_t ms);
// Whole degrees Celsius into the temperature unit.
int32_t ConvertTemperature(int unit, int32_t celsius);
// Whole degrees Celsius into tenths of a degree Fahrenheit (x 18 + 320), and back to
// the nearest whole degree Celsius: the temperature editors' Fahrenheit steps.
int64_t TenthFahrenheitFromCelsius(int64_t celsius);
int64_t CelsiusFromTenthFahrenheit(int64_t tenthsF);
// Tenths of a degree Celsius (thermocouple limits) into whole degrees of the unit.
int32_t ConvertThermoLimit(int unit, int32_t tenthsC);
// Tenths of a degree Celsius into whole degrees Fahrenheit, t x 9 / 50 + 32 truncated
// as one division: the EGT and CHT editors and the limits page.
int32_t FahrenheitFromTenthC(int64_t tenthsC);
// Oil pressure channel (thousandths of a bar): psi, tenths of bar or kp/cm2, kPa.
int32_t ConvertOilPressure(int unit, int32_t milliBar);
// Fuel pressure channel (hundredths of a bar): tenths of psi, hundredths of kp/cm2,
// else unchanged (hundredths of a bar, kPa).
int32_t ConvertFuelPressure(int unit, int32_t centiBar);
// Manifold pressure channel (hPa): tenths of inHg, hPa, mmHg.
int32_t ConvertManifold(int unit, int32_t hPa);
// Manifold pressure setting (mbar) into the dial's scale unit: hundredths of inHg, mbar, mmHg.
int32_t ConvertManifoldSetting(int unit, int32_t mbar);
// Engine pressure settings (tenths of a bar for oil, hundredths for fuel) into the
// dial's scale unit: psi x 145 / 100, kp/cm2 x 10197 / 10000, bar unchanged.
int32_t ConvertPressureSetting(int unit, int32_t value);
// The same to nearest, halves away from zero: the pressure editors and the limits page.
int32_t PressureSettingRounded(int unit, int64_t value);
// Tenths of a km into tenths of the distance unit.
int32_t ConvertDistance(int unit, int32_t tenthsKm);
// RPM shown to the nearest ten.
int32_t RoundRpm(int32_t rpm);

// "%d.%d" of a value in tenths with the sign kept for values between -1 and 0.
int FormatTenths(char* buffer, size_t size, int32_t tenths);
// The barometric text of a setting in Pa: hPa "1013", "1013.2" for the standard
// setting; inHg "29.92"; mmHg "760.0".
int FormatBaro(char* buffer, size_t size, int unit, int32_t pa);
// "%d %s" of a temperature with the unit letter, " - - - %s" without a value.
int FormatTemperature(char* buffer, size_t size, int unit, int32_t value, bool valid);

// Unit letters and texts.
const char* TemperatureLetter(int unit);  // "C" or "F"
const char* FuelUnitText(int unit);       // "l" or "gal"
const char* DistanceUnitText(int unit);   // "km", "NM" or "SM"
