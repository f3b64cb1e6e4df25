#include "editors.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "aboutbox.h"
#include "bugeditors.h"
#include "checklist.h"
#include "configmanager.h"
#include "displayitems.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"
#include "infopages.h"
#include "keyboard.h"
#include "keyglue.h"
#include "menu.h"
#include "overlays.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

TEditorRecord Editor = {0, 0, nullptr, 1, 0, 0};
TValueEditorMark ValueEditorMarks[ValueEditorCount] = {};
char EditorTitle[EditorTitleSize] = "";
void (*DrawCodeEntry)() = nullptr;
char MessageText[MessageTextSize] = "";

namespace {

// Draws titled boxes at x 20 (the autopilot bug editors).
bool ForceLeftX = false;

int64_t Pow10(int exponent) {
    int64_t p = 1;
    for (int i = 0; i < exponent && p <= INT32_MAX; ++i) p *= 10;
    return p;
}

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// Nearest integer of num / den, halves away from zero; den > 0.
int64_t RoundDiv(int64_t num, int64_t den) { return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den); }

// v rounded to the nearest multiple of step (step <= 0: unchanged).
int64_t RoundToStep(int64_t v, int64_t step) { return step > 0 ? RoundDiv(v, step) * step : v; }

}  // namespace

// ---- editor record and key bindings ----

void OpenEditor(int32_t minimum, int32_t maximum, int32_t* value, TEditorHandler handler, int32_t stepArg,
                int32_t cursorArg) {
    Editor.minimum = minimum;
    Editor.maximum = maximum;
    Editor.value = value;
    Editor.baseExponent = 0;
    Editor.cursor = 0;
    Editor.step = 1;
    CloseMenuKeysAndBox();
    Keyboard.BindNone(AllKeys);
    if (cursorArg != 0 && handler)
        Keyboard.Bind(KeyRightPush, LabelPosition, handler, cursorArg);
    else
        Keyboard.Bind(KeyRightPush, LabelPosition, EditorDefaultStep, 0);
    Keyboard.Bind(KeySoft3, LabelCancel, handler, EditorCmdCancel);
    Keyboard.Bind(KeySoft4, LabelSet, handler, EditorCmdOk);
    if (stepArg != 0 && handler) {
        Keyboard.Bind(KeyRightTurnLeft, 0, handler, stepArg);
        Keyboard.Bind(KeyRightTurnRight, 0, handler, stepArg + 1);
    } else {
        Keyboard.Bind(KeyRightTurnLeft, 0, EditorDefaultStep, 1);
        Keyboard.Bind(KeyRightTurnRight, 0, EditorDefaultStep, 2);
    }
}

void EditorDefaultStep(int32_t rule) {
    TEditorRecord& e = Editor;
    const int digit = std::clamp(e.cursor + e.baseExponent, 0, 10);
    if (rule >= 0 && rule <= 2) e.step = Clamp32(Pow10(digit));
    const int64_t next = Pow10(digit + 1);
    switch (rule) {
        case 0:
            if (e.maximum / next != 0 || e.minimum / next != 0)
                ++e.cursor;
            else
                e.cursor = 0;
            break;
        case 1:
        case 3:
            if (e.value && static_cast<int64_t>(*e.value) - e.step >= e.minimum)
                *e.value -= e.step;
            else if (e.cursor > 0)
                --e.cursor;
            break;
        case 2:
        case 4:
            if (e.value && static_cast<int64_t>(*e.value) + e.step <= e.maximum)
                *e.value += e.step;
            else if (e.cursor > 0)
                --e.cursor;
            break;
        default:
            break;
    }
}

// Every frame is painted whole: there is no pending repaint for keep to withdraw.
void CloseEditor(int32_t /*keep*/) { MainMenuKeys(-1); }

// ---- knob acceleration ----

namespace {

int64_t MonotonicUs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

std::function<int64_t()> KnobClock;
int KnobCounter = 0;
int64_t KnobBurstStart = INT64_MIN / 2;  // long ago: the first turn starts a burst

constexpr int64_t KnobBurstUs = 350000;

}  // namespace

void SetKnobClock(std::function<int64_t()> clockUs) {
    KnobClock = std::move(clockUs);
    KnobAccelerationReset();
}

void KnobAccelerationReset() {
    KnobCounter = 0;
    KnobBurstStart = INT64_MIN / 2;
}

int KnobAcceleration(int up) {
    KnobCounter += up ? 1 : -1;
    const int64_t now = KnobClock ? KnobClock() : MonotonicUs();
    const int64_t elapsed = now - KnobBurstStart;
    const bool inBurst = elapsed >= 0 && elapsed < KnobBurstUs;
    if (!inBurst) KnobCounter = 0;
    const bool coarse = inBurst && std::abs(KnobCounter) >= 2;
    if (!coarse && KnobCounter == 0) KnobBurstStart = now;
    if (coarse) KnobCounter = 0;
    return coarse ? 1 : 0;
}

// ---- unit-step rounders ----

int32_t CelsiusStepFahrenheit(int32_t celsius, int32_t stepF10) {
    const int64_t f10 = RoundToStep(TenthFahrenheitFromCelsius(celsius), stepF10);
    return Clamp32(CelsiusFromTenthFahrenheit(f10));
}

int32_t CelsiusIncrement(int32_t celsius, int32_t count, int32_t stepF10) {
    const int64_t target = TenthFahrenheitFromCelsius(celsius) + static_cast<int64_t>(count) * stepF10;
    int64_t change = CelsiusFromTenthFahrenheit(target) - celsius;
    // A step finer than half a degree C still moves the value.
    if (change == 0 && count != 0 && stepF10 != 0) change = (count > 0) == (stepF10 > 0) ? 1 : -1;
    return Clamp32(change);
}

namespace {

// Display = stored x mul / div; both ways rounded to nearest, so that a whole step
// of the display unit never moves a stored value that lies on it.
int32_t RatioStep(int32_t stored, int32_t step, const TUnitRatio& r) {
    const int64_t shown = RoundToStep(RoundDiv(static_cast<int64_t>(stored) * r.mul, r.div), step);
    return Clamp32(RoundDiv(shown * r.div, r.mul));
}

}  // namespace

int32_t InHgStep(int32_t mbarBased, int32_t step) { return RatioStep(mbarBased, step, HundredthInHgPerMbar); }
int32_t PsiStep(int32_t barBased, int32_t step) { return RatioStep(barBased, step, PsiPerTenthBar); }

int32_t FeetStep(int32_t metres, int32_t stepFeet) {
    return RatioStep(metres, stepFeet, FeetPerMetre);
}

int32_t ToSelectedUnit(int quantity, int32_t value) {
    const TUnitsSetting& u = UnitsSetting;
    switch (quantity) {
        case QuantitySpeed: return ConvertSpeed(u.airspeed, value);
        case QuantityAltitude: return ConvertAltitude(u.altitude, value);
        case QuantityTemperature: return ConvertTemperature(u.temperature, value);
        case QuantityEnginePressure: return ConvertPressureSetting(u.enginePress, value);
        case QuantityManifold: return ConvertManifoldSetting(u.manifoldPress, value);
        case QuantityVerticalSpeed: return ConvertVerticalSpeed(u.verticalSpeed, value);
        case QuantityDistance: return ConvertDistance(u.distance, value);
        default: return value;
    }
}

int32_t FromSelectedUnit(int quantity, int32_t shown) {
    // Every conversion rises with the stored value: the stored value whose reading
    // lies nearest to the one asked for, found by bisection.
    int64_t lo = -100000000, hi = 100000000;
    if (ToSelectedUnit(quantity, static_cast<int32_t>(lo)) >= shown) return static_cast<int32_t>(lo);
    if (ToSelectedUnit(quantity, static_cast<int32_t>(hi)) < shown) return static_cast<int32_t>(hi);
    while (hi - lo > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (ToSelectedUnit(quantity, static_cast<int32_t>(mid)) >= shown)
            hi = mid;
        else
            lo = mid;
    }
    const int64_t above = static_cast<int64_t>(ToSelectedUnit(quantity, static_cast<int32_t>(hi))) - shown;
    const int64_t below = static_cast<int64_t>(shown) - ToSelectedUnit(quantity, static_cast<int32_t>(lo));
    return static_cast<int32_t>(below < above ? lo : hi);
}

int32_t SelectedUnitStep(int quantity, int32_t value, int32_t step) {
    const int64_t shown = RoundToStep(ToSelectedUnit(quantity, value), step);
    return FromSelectedUnit(quantity, Clamp32(shown));
}

char* FormatFixed(char* buffer, int32_t value, int decimals) {
    if (!buffer) return nullptr;
    FixToText(buffer, value, decimals, FixTextSize);
    return buffer;
}

// ---- drawing helpers ----

namespace {

constexpr uint32_t EditorTextColour = 0x000000;  // titles and units on the light box picture
constexpr uint32_t EditorFrameColour = 0x000000;
constexpr uint32_t BlackColour = 0x000000;

uint32_t HighlightColour() { return DisplayPalette.PalRed; }

int UnitFont() { return LanguageFont(FontEuromode16, FontMsRefSans16); }
int DigitFont() { return DisplayFonts[FontEuromode23]; }
int TitleFont() { return OverlayRoleFont(11); }

int TextWidth(int font, const char* text) {
    return FGFontManager::is_font(font) && text ? FGFontManager::textwidth(font, text) : 0;
}

// Draws text in font (when registered) and restores the window's font.
void TextIn(FGDrawBuffer* w, int font, int x, int y, const char* text, uint32_t ink, uint32_t paper) {
    if (!w || !text || !text[0] || !FGFontManager::is_font(font)) return;
    const int saved = w->get_font();
    const unsigned mode = w->get_mode();
    w->set_font(font);
    if (paper == PageKeyColour) w->set_mode(DrawModeKeyed);  // no paper: the picture shows through
    w->text(x, y, text, ink, paper);
    w->set_mode(mode);
    w->set_font(saved);
}

void CopyPicture(FGDrawBuffer* w, int slot, int x, int y) {
    FGBitmap* pic = MainPictures[slot];
    if (!pic) {
        w->fillbox(x, y, slot == Pic3dNastaveni ? 200 : 150, slot == Pic3dNastaveni ? 81 : 80, 0x303040);
        return;
    }
    const unsigned saved = w->get_mode();
    w->set_mode(DrawModeKeyed);
    w->bitblt(x, y, 0, 0, pic->width, pic->height, pic);
    w->set_mode(saved);
}

const char* Translated(const char* msgid) { return msgid && msgid[0] ? gettext(msgid) : ""; }

}  // namespace

// ---- the numeric editor box ----

void DrawNumericEditor(const char* title, const char* unit, int32_t value, int decimals, int cursor, int x, int y,
                       int /*mode*/) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    w->set_mode(DrawModeCopy);
    if (title) {
        if (ForceLeftX) x = 20;
        CopyPicture(w, Pic3dNastaveni2, x, y);
        // A title wider than the box's face takes the smaller label font.
        constexpr int TitleRoom = 150 - 2 * 6;
        int tf = TitleFont();
        if (TextWidth(tf, title) > TitleRoom) tf = OverlayRoleFont(10);
        TextIn(w, tf, x + 75 - TextWidth(tf, title) / 2, y + 10, title, EditorTextColour, PageKeyColour);
    } else {
        x -= 15;
        y -= 35;
    }
    const bool three = decimals == 3;
    const int boxX = three ? x + 10 : x + 15, boxW = three ? 100 : 90;
    w->fillbox(boxX, y + 35, boxW, 30, WhiteColour);
    w->box(boxX, y + 35, boxW, 30, EditorFrameColour);
    if (unit && unit[0]) {
        const int ux = std::strlen(unit) > 4 ? x + 105 : x + 110;
        TextIn(w, UnitFont(), ux, y + 40, unit, EditorTextColour, PageKeyColour);
    }

    // |value| by decimals.
    const int64_t mag = value < 0 ? -static_cast<int64_t>(value) : value;
    char digits[40];
    if (decimals < 0)
        std::snprintf(digits, sizeof digits, "%0*lld", std::min(-decimals, 12), static_cast<long long>(mag));
    else if (decimals == 0)
        std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(mag));
    else if (decimals == 1)
        std::snprintf(digits, sizeof digits, "%lld.%lld", static_cast<long long>(mag / 10),
                      static_cast<long long>(mag % 10));
    else if (decimals == 2)
        std::snprintf(digits, sizeof digits, "%lld.%02lld", static_cast<long long>(mag / 100),
                      static_cast<long long>(mag % 100));
    else
        std::snprintf(digits, sizeof digits, "%lld.%03lld", static_cast<long long>(mag / 1000),
                      static_cast<long long>(mag % 1000));

    const int font = DigitFont();
    if (!FGFontManager::is_font(font)) return;
    const int saved = w->get_font();
    w->set_font(font);
    const int ty = y + 37;
    int cell = three ? x + 90 : x + 85;  // left edge of the current cell
    int digitIndex = 0;                   // digits drawn, 1 = units
    bool afterPoint = false;
    char one[2] = {0, 0};
    auto advance = [&]() { cell -= afterPoint ? 5 : 15; };
    for (int i = static_cast<int>(std::strlen(digits)) - 1; i >= 0; --i) {
        one[0] = digits[i];
        if (one[0] == '.') {
            w->text(cell + 9, ty, one, BlackColour, WhiteColour);
            afterPoint = true;
            cell -= 5;
            continue;
        }
        ++digitIndex;
        const bool at = digitIndex == cursor;
        const uint32_t ink = at ? HighlightColour() : BlackColour;
        w->text(cell + (15 - FGFontManager::charwidth(font, static_cast<unsigned char>(one[0]))) / 2, ty, one, ink,
                WhiteColour);
        if (at) w->fillbox(cell, y + 60, 15, 3, HighlightColour());
        afterPoint = false;
        if (i > 0) advance();
    }
    // Zeros up to a cursor left of the last digit, then the sign.
    if (digitIndex > 0) cell -= 15;
    one[0] = '0';
    while (digitIndex < cursor && digitIndex < 12) {
        ++digitIndex;
        const bool at = digitIndex == cursor;
        w->text(cell, ty, one, at ? HighlightColour() : BlackColour, WhiteColour);
        if (at) w->fillbox(cell, y + 60, 15, 3, HighlightColour());
        cell -= 15;
    }
    if (value < 0) {
        one[0] = '-';
        w->text(cell, ty, one, BlackColour, WhiteColour);
    }
    w->set_font(saved);
}

// ---- editor families: title, unit and shown value ----

namespace {

struct TFamily {
    const char* title;  // default title (msgid); null: from the mark or the title buffer
};

const TFamily Families[ValueEditorCount] = {
    {gettext_noop("ALT")}, {gettext_noop("Speed")}, {gettext_noop("HDG")}, {nullptr}, {gettext_noop("Squawk")}, {gettext_noop("Aircraft ID")}, {nullptr}, {gettext_noop("Time")}, {gettext_noop("Date")},
    {gettext_noop("Vs speed")}, {nullptr}, {gettext_noop("Roll sensitivity")}, {gettext_noop("Bank angle")}, {gettext_noop("Max. climb")}, {gettext_noop("Min. air speed")},
    {gettext_noop("Declination")}, {gettext_noop("Tot.mag.field")}, {gettext_noop("RPM range")}, {gettext_noop("MAP range")}, {gettext_noop("Oil tmp range")}, {gettext_noop("Oil press range")},
    {gettext_noop("Wat tmp range")}, {gettext_noop("Total tnk range")}, {gettext_noop("Fuel flow range")}, {gettext_noop("Fuel pres range")}, {gettext_noop("EGT range")},
    {gettext_noop("Total unexh fuel")}, {gettext_noop("K-Factor")}, {gettext_noop("Time of average")}, {gettext_noop("RPM puls/rev")}, {gettext_noop("RPM reduct rat")},
    {gettext_noop("Eng active RPM")}, {gettext_noop("Pitch offset")}, {nullptr},
};

}  // namespace

int EditorViewOf(int kind, const TValueEditorMark* mark, int32_t stored, int32_t cursor, TEditorView* view) {
    if (!view) return 0;
    const int64_t s = stored;
    const TUnitsSetting& u = UnitsSetting;
    TEditorView v{"", stored, 0, cursor + 1};
    auto set = [&](const char* unit, int64_t value, int decimals) {
        v.unit = unit;
        v.value = Clamp32(value);
        v.decimals = decimals;
    };
    switch (kind) {
        case EdApAltitude:
            v.cursor = 0;
            if (u.altitude != UnitFeet)
                set(gettext_noop("m"), s / 10, 0);
            else
                set(gettext_noop("FT"), AltBugFeet(stored), 0);
            break;
        case EdApSpeed:
            v.cursor = 0;
            if (u.airspeed == UnitKnots) set(gettext_noop("KTS"), ConvertSpeed(UnitKnots, s + 50) / 100, 0);
            else if (u.airspeed == UnitMph) set(gettext_noop("mph"), ConvertSpeed(UnitMph, s + 50) / 100, 0);
            else if (u.airspeed == UnitKmh) set(gettext_noop("km/h"), (s + 50) / 100, 0);
            else return 0;
            break;
        case EdApHeading:
            v.cursor = 0;
            set(gettext_noop("deg"), s, 0);
            break;
        case EdRadioFrequency: set(gettext_noop("MHz"), s / 1000, 3); break;
        case EdSquawk: set("", s, -4); break;
        case EdSpeedLimit:
            if (u.airspeed == UnitKnots) set(gettext_noop("KTS"), (s + 50) / 100, 0);
            else if (u.airspeed == UnitMph) set(gettext_noop("mph"), ConvertSpeedLimit(UnitMph, s + 50) / 10, 0);
            else if (u.airspeed == UnitKmh) set(gettext_noop("km/h"), ConvertSpeedLimit(UnitKmh, s + 50) / 10, 0);
            else return 0;
            break;
        case EdPercent: set(gettext_noop("%"), s, 0); break;
        case EdSensitivity: set("", s, 0); break;
        case EdApAngle: set(gettext_noop("\xB0"), s / 10, 1); break;
        case EdClimbRate:
            if (u.verticalSpeed == UnitFeetPerMin) {
                set(gettext_noop("ft/min"), (static_cast<int64_t>(TensFtMinFromTenthMs(s)) + 5) / 10 * 100, 0);
                v.cursor = cursor + 3;
            } else if (u.verticalSpeed == UnitMetresPerSec) {
                set(gettext_noop("m/s"), s, 1);
            } else if (u.verticalSpeed == UnitVsKnots) {
                set(gettext_noop("kts"), KnotsFromMs(s), 1);
            } else {
                return 0;
            }
            break;
        case EdApAirSpeed:
            if (u.airspeed == UnitKnots) set(gettext_noop("KTS"), (static_cast<int64_t>(ConvertSpeed(UnitKnots, s)) + 5) / 10, 0);
            else if (u.airspeed == UnitMph) set(gettext_noop("mph"), (static_cast<int64_t>(ConvertSpeed(UnitMph, s)) + 5) / 10, 0);
            else if (u.airspeed == UnitKmh) set(gettext_noop("km/h"), (s + 5) / 10, 0);
            else return 0;
            break;
        case EdMagField: set(gettext_noop("nT"), s, 0); break;
        case EdRpm: set(gettext_noop("rpm"), s, 0); break;
        case EdManifold:
            if (u.manifoldPress == UnitInHg) set(gettext_noop("inHg "), ConvertManifold(UnitInHg, stored), 1);
            else if (u.manifoldPress == UnitMbar) set(gettext_noop("mBar "), s, 0);
            else if (u.manifoldPress == UnitTorr) set(gettext_noop("torr "), ConvertManifold(UnitTorr, stored), 0);
            else return 0;
            break;
        case EdOilTemp:
        case EdWaterTemp:
            if (u.temperature == UnitFahrenheit) set(gettext_noop("\xB0" "F"), ConvertTemperature(UnitFahrenheit, stored), 0);
            else if (u.temperature == UnitCelsius) set(gettext_noop("\xB0" "C"), s, 0);
            else return 0;
            break;
        case EdOilPressure:
            if (u.enginePress == UnitPsi) set(gettext_noop("psi"), PressureSettingRounded(UnitPsi, s), 0);
            else if (u.enginePress == UnitBar) set(gettext_noop("Bar"), s, 1);
            else if (u.enginePress == UnitKpCm2) set(gettext_noop("kg/cm2"), PressureSettingRounded(UnitKpCm2, s), 1);
            else return 0;
            break;
        case EdTankQuantity:
        case EdUnexhFuel:
            set(u.fuel == UnitLitre ? gettext_noop("l") : gettext_noop("gal"), ConvertFuelQuantity(u.fuel, stored), 1);
            break;
        case EdFuelFlow: set(u.fuel == UnitLitre ? gettext_noop("l/h") : gettext_noop("gal/h"), ConvertFuelQuantity(u.fuel, stored), 1); break;
        case EdFuelPressure:
            if (u.enginePress == UnitPsi) set(gettext_noop("psi"), PressureSettingRounded(UnitPsi, s), 1);
            else if (u.enginePress == UnitBar) set(gettext_noop("Bar"), s, 2);
            else if (u.enginePress == UnitKpCm2)
                set(mark && mark->unitPad ? gettext_noop("kg/cm2 ") : gettext_noop("kg/cm2"), PressureSettingRounded(UnitKpCm2, s), 2);
            else return 0;
            break;
        case EdThermo:
            if (u.temperature == UnitFahrenheit) set(gettext_noop("\xB0" "F"), FahrenheitFromTenthC(s), 0);
            else if (u.temperature == UnitCelsius) set(gettext_noop("\xB0" "C"), s / 10, 0);
            else return 0;
            break;
        case EdKFactor:
            if (u.fuel == UnitLitre) set(gettext_noop("p/l"), s, 0);
            else set(gettext_noop("p/gal"), (static_cast<int64_t>(GallonsToLitres(u.fuel, stored)) + 5) / 10 * 10, 0);
            break;
        case EdAverageTime: set(gettext_noop("sec"), s, 0); break;
        case EdPulseCount: set("", s, 0); break;
        case EdReductionRatio: set("", s, 2); break;
        case EdEngActiveRpm: set(gettext_noop("  rpm"), s, 0); break;
        case EdAttitudeOffset: set(gettext_noop("  deg"), s, 1); break;
        case EdCustomUnit: set("", s, 1); break;
        default: return 0;
    }
    *view = v;
    return 1;
}

// ---- own layouts ----

namespace {

// The box picture at (x, 360) with the title centred on it and the white field at
// (fieldX, 395).
void DrawTitledField(FGDrawBuffer* w, int picture, int x, int boxW, const char* title, int fieldX, int fieldW) {
    CopyPicture(w, picture, x, 360);
    const int tf = TitleFont();
    const char* t = Translated(title);
    TextIn(w, tf, x + boxW / 2 - TextWidth(tf, t) / 2, 370, t, EditorTextColour, PageKeyColour);
    w->fillbox(fieldX, 395, fieldW, 30, WhiteColour);
    w->box(fieldX, 395, fieldW, 30, EditorFrameColour);
}

// The own layouts' text at (662, 397); the characters first..first + count - 1 are the
// cursor's: in the highlight colour with a bar under them (none when count is 0).
void DrawOwnBox(FGDrawBuffer* w, const char* title, const char* text, int first, int count) {
    DrawTitledField(w, Pic3dNastaveni2, 640, 150, title, 655, 120);
    const int font = DigitFont();
    TextIn(w, font, 662, 397, text, BlackColour, WhiteColour);
    const int length = static_cast<int>(std::strlen(text));
    if (count <= 0 || first < 0 || first + count > length) return;
    const std::string before(text, static_cast<size_t>(first)), field(text + first, static_cast<size_t>(count));
    const int x = 662 + TextWidth(font, before.c_str());
    TextIn(w, font, x, 397, field.c_str(), HighlightColour(), WhiteColour);
    w->fillbox(x, 420, TextWidth(font, field.c_str()), 3, HighlightColour());
}

// One character per cell from x 605 with the cursor (1 = the first character) in the
// highlight colour over its bar; fields longer than 8 characters take narrower cells.
void DrawTextEditor(FGDrawBuffer* w, const char* title, const char* text, int length) {
    DrawTitledField(w, Pic3dNastaveni, 590, 200, title, 600, 180);
    const int font = DigitFont();
    const int cellW = length > 8 ? 170 / length : 21;
    const int at = Editor.cursor - 1;
    char one[2] = {0, 0};
    // A terminator shows as an empty cell: the cells after it are edited too.
    for (int i = 0; text && i < length; ++i) {
        if (!text[i]) continue;
        one[0] = text[i];
        // Narrow cells centre their character.
        const int x = 605 + cellW * i + (cellW == 21 ? 0 : (cellW - TextWidth(font, one)) / 2);
        TextIn(w, font, x, 397, one, i == at ? HighlightColour() : BlackColour, WhiteColour);
    }
    if (at >= 0 && at < length) w->fillbox(605 + cellW * at, 420, cellW, 3, HighlightColour());
}

// The characters of the angle layout's digit under the cursor (0 = the minutes' units).
int AngleDigitAt(const char* text, int cursor) {
    const int length = static_cast<int>(std::strlen(text));
    const int i = cursor <= 1 ? length - 2 - cursor : length - 3 - cursor;
    return i >= 0 && i < length ? i : -1;
}

const int32_t* MarkValue(const TValueEditorMark& m) { return m.value ? m.value : Editor.value; }

void DrawFamily(FGDrawBuffer* w, int kind) {
    const TValueEditorMark& m = ValueEditorMarks[kind];
    const int32_t* pv = MarkValue(m);
    char text[64];
    switch (kind) {
        case EdAircraftId:
            DrawTextEditor(w, "Aircraft ID", m.text ? m.text : "AIRCRAFT", 8);
            return;
        case EdTextField:
            // No text: the cells stay empty (the cells are read up to the length, past any terminator).
            DrawTextEditor(w, m.title ? m.title : "", m.text, m.length > 0 ? m.length : 8);
            return;
        case EdTime:
            if (!pv) return;
            if (pv[0] < 0 || pv[0] > 23 || pv[1] < 0 || pv[1] > 59 || pv[2] < 0 || pv[2] > 59)
                std::snprintf(text, sizeof text, "err");
            else
                std::snprintf(text, sizeof text, "%02d:%02d:%02d", pv[0], pv[1], pv[2]);
            // Cursor 1 hours, 2 minutes, 3 seconds.
            DrawOwnBox(w, "Time", text, 3 * (Editor.cursor - 1), text[0] == 'e' ? 0 : 2);
            return;
        case EdDate:
            if (!pv) return;
            std::snprintf(text, sizeof text, "%02d.%02d.%02d", pv[0] % 100, pv[1] % 100, pv[2] % 100);
            // Cursor 1 day, 2 month, 3 year.
            DrawOwnBox(w, "Date", text, 3 * (Editor.cursor - 1), 2);
            return;
        case EdAngle: {
            if (!pv) return;
            // The sign apart from the degrees, so that -0\xB030' keeps it.
            const int64_t v = *pv, mag = v < 0 ? -v : v;
            char degrees[16];
            std::snprintf(degrees, sizeof degrees, "%s%lld", v < 0 ? "-" : " ", static_cast<long long>(mag / 100));
            std::snprintf(text, sizeof text, "%3s\xB0%02u'", degrees, static_cast<unsigned>(mag % 100 * 60 / 100));
            DrawOwnBox(w, m.title ? m.title : Families[kind].title, text, AngleDigitAt(text, Editor.cursor), 1);
            return;
        }
        default:
            break;
    }
    if (!pv) return;
    const char* title = m.title ? m.title : Families[kind].title;
    if (kind == EdRadioFrequency || kind == EdCustomUnit) title = EditorTitle;
    TEditorView view;
    if (!EditorViewOf(kind, &m, *pv, Editor.cursor, &view)) return;
    const char* unit = kind == EdCustomUnit ? (m.unit ? m.unit : "") : view.unit;
    DrawNumericEditor(Translated(title), Translated(unit), view.value, view.decimals, view.cursor, 640, 360, 0);
}

}  // namespace

void MarkValueEditor(int kind, const int32_t* value, const char* title, const char* unit, const char* text,
                     int length) {
    if (kind < 0 || kind >= ValueEditorCount) return;
    ValueEditorMarks[kind] = TValueEditorMark{1, value, title, unit, text, length, 0};
}

void ClearValueEditorMarks() {
    for (TValueEditorMark& m : ValueEditorMarks) m = TValueEditorMark{};
}

void DrawValueEditors(int all) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    for (int kind = 0; kind < ValueEditorCount; ++kind) {
        if (kind == EdRadioFrequency) {
            ForceLeftX = false;
            if (DrawCodeEntry) DrawCodeEntry();
        }
        if (kind >= EdSpeedLimit && !all) break;
        ForceLeftX = kind < EdRadioFrequency;
        if (ValueEditorMarks[kind].open) DrawFamily(w, kind);
    }
    ForceLeftX = false;
}

// ---- message box ----

void SetMessageText(const char* text) {
    std::snprintf(MessageText, sizeof MessageText, "  %s  ", text ? text : "");
}

void DrawMessageBox(int style) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const int font = TitleFont();
    const int tw = TextWidth(font, MessageText);
    const int x = (780 - tw) / 2;
    const bool panel = style == MessageStylePanel;
    const uint32_t fill = panel ? DefaultPanelColour : AlertColour;
    const uint32_t ink = panel ? BlackColour : WhiteColour;
    w->set_mode(DrawModeCopy);
    w->fillbox(x, 250, tw + 20, 45, fill);
    w->box(x, 250, tw + 20, 45, BlackColour);
    TextIn(w, font, x + 10, 260, MessageText, ink, fill);
}

// ---- popup message list ----

namespace {

struct TPopupLine {
    int font;
    std::string text;
};

struct TPopupList {
    int shown = 0;
    int maxLines = PopupListMaxLines;
    int widest = 0;
    int height = 0;
    std::vector<TPopupLine> lines;
} Popup;

void PopupRemoveAll() {
    Popup.lines.clear();
    Popup.widest = 0;
    Popup.height = 0;
    Popup.shown = 0;
}

int WrapFont = -1;
int WidthInWrapFont(const char* text, FGDrawBuffer*) { return TextWidth(WrapFont, text); }

}  // namespace

int PopupListAdd(const char* text, int font, int indent) {
    if (!text) return 0;
    if (text[0] != 0 && text[1] == 0 && text[0] >= 1 && text[0] <= 3) {
        if (text[0] == 1)
            Popup.shown = 1;
        else
            PopupRemoveAll();  // codes 2 and 3 alike: a new list starts from nothing
        return 0;
    }
    if (static_cast<int>(Popup.lines.size()) >= Popup.maxLines) return 254;
    indent = std::clamp(indent, 0, 30);
    std::string line(static_cast<size_t>(indent), ' ');
    size_t len = strnlen(text, PopupLineSize - static_cast<size_t>(indent));
    if (len > 0 && text[len - 1] == '\n') --len;
    line.append(text, len);
    try {
        Popup.lines.push_back(TPopupLine{font, std::move(line)});
    } catch (const std::bad_alloc&) {
        return 255;
    }
    const std::string cut(text, len);
    const int width = TextWidth(font, cut.c_str()) + TextWidth(font, " ") * (indent + 2);
    Popup.widest = std::max(Popup.widest, width);
    Popup.height += FGFontManager::is_font(font) ? FGFontManager::get_font_height(font) : 0;
    return 0;
}

int PopupListActive(int kind) {
    if (kind == 1) return Popup.shown;
    if (kind == 2) return static_cast<int>(Popup.lines.size());
    return 0;
}

int PopupListAddWrapped(const char* text, int width, int font) {
    if (!text) return -1;
    const char* lines[32];
    WrapFont = font;
    const int n = WordWrap(text, lines, 32, width, WidthInWrapFont);
    if (n < 0) return -1;
    for (int i = 0; i < n; ++i) PopupListAdd(lines[i], font, 2);
    return n;
}

int PopupListWidth() { return Popup.widest; }
int PopupListHeight() { return Popup.height; }
const char* PopupListLine(int index) {
    return index >= 0 && index < static_cast<int>(Popup.lines.size()) ? Popup.lines[index].text.c_str() : nullptr;
}
void PopupListHide() { Popup.shown = 0; }

void DrawPopupList() {
    FGDrawBuffer* w = MainWindow;
    if (!w || !Popup.shown) return;
    const int x = (780 - Popup.widest) / 2, y = (460 - Popup.height) / 2;
    w->set_mode(DrawModeCopy);
    w->fillbox(x, y, Popup.widest + 20, Popup.height + 20, DefaultPanelColour);
    w->box(x, y, Popup.widest + 20, Popup.height + 20, BlackColour);
    int ty = y + 10;
    for (const TPopupLine& line : Popup.lines) {
        TextIn(w, line.font, x + 10, ty, line.text.c_str(), BlackColour, DefaultPanelColour);
        ty += FGFontManager::is_font(line.font) ? FGFontManager::get_font_height(line.font) : 0;
    }
}

// ---- airspeed limits overview ----

void DrawAirspeedLimitsPage(int fillOp, int textOp, uint32_t fillColour) {
    FGDrawBuffer* w = MainWindow;
    if (!w || !AirspeedLimitsShown) return;
    const int x = 200, y = 120, bw = 400, bh = 150;
    w->set_mode(static_cast<unsigned>(fillOp));
    w->fillbox(x, y, bw, bh, fillColour);
    w->set_mode(static_cast<unsigned>(textOp));
    w->box(x, y, bw, bh, PanelPaper);
    const int tf = TitleFont(), bf = OverlayRoleFont(10);
    const char* title = gettext("Airspeed limits");
    TextIn(w, tf, x + bw / 2 - TextWidth(tf, title) / 2, y + 10, title, PanelPaper, PanelInk);
    const int unit = UnitsSetting.airspeed;
    const char* unitText = unit == 0 ? "kts" : unit == 1 ? "mph" : "km/h";
    struct Row {
        const char* label;
        int32_t hundredthsKt;
        uint32_t colour;
    };
    const TAirspeedLimits& l = AirspeedLimits;
    const Row rows[4] = {
        {gettext_noop("Vne - Never exceed:"), l.vne, DisplayPalette.PalRed},
        {gettext_noop("Vno - Maximum structural cruising:"), l.vno, DisplayPalette.PalYellow},
        {gettext_noop("Vfe  - Maximum flap extended:"), l.vfe, WhiteColour},
        {gettext_noop("Vs   - Stall speed:"), l.vs, DisplayPalette.PalGreen},
    };
    for (int i = 0; i < 4; ++i) {
        const int ry = y + 45 + 22 * i;
        TEditorView v;
        char text[48];
        // A unit outside the list (an imported file) has no value to show.
        if (EditorViewOf(EdSpeedLimit, nullptr, rows[i].hundredthsKt, 0, &v))
            std::snprintf(text, sizeof text, "%d %s", v.value, unitText);
        else
            std::snprintf(text, sizeof text, "- - -");
        w->fillbox(219, ry + 2, 8, 14, rows[i].colour);
        TextIn(w, bf, 235, ry, gettext(rows[i].label), PanelPaper, PanelInk);
        TextIn(w, bf, x + bw - 15 - TextWidth(bf, text), ry, text, PanelPaper, PanelInk);
    }
    w->set_mode(DrawModeCopy);
}

// ---- the enlarged barometric box ----

void DrawBaroBox(int x, int y, const char* text, uint32_t colour) {
    FGDrawBuffer* w = MainWindow;
    if (!w || !text) return;
    w->set_mode(DrawModeCopy);
    CopyPicture(w, Pic3dNastaveni, x, y);
    const size_t len = std::strlen(text);
    int tx = x + 11;
    if (len <= 5) tx += 25;
    if (len < 4) tx += 21;
    const int font = LanguageFont(FontEuromode32, FontMsRefSans32);
    TextIn(w, font, tx, y + 10, text, colour, PageKeyColour);
    if (QnhSetting.qnh == StandardQnh && UnitsSetting.baro == UnitMbar) {
        // "1013.2" and a small "5": 1013.25
        TextIn(w, DisplayFonts[FontEuromode16], tx + TextWidth(font, text) + 3, y + 15, "5", colour, PageKeyColour);
    }
}
