#include "engineback.h"

#include <GL/gl.h>
#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "fgbitmap.h"
#include "glshell.h"
#include "glview.h"
#include "instrument.h"
#include "settingvars.h"
#include "utexture.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

TGLFuelRecord EngineFuel;
TGLTempFace EngineTempFace;
TGLCylinders EngineCylinders;
char EngineUnitSigns[6][4];

namespace {

const uint8_t CaptionColour[3] = {192, 192, 192};

template <size_t N>
void SetText(char (&dst)[N], const char* text) {
    snprintf(dst, N, "%s", text ? text : "");
}

int Font() { return GLLanguageFont(); }

void Text(int x, int y, const char* text, const uint8_t* rgb, int size = 5) {
    GLColour(rgb);
    GLDrawText(x, y, text, size, Font());
}
void TextCentred(int x, int y, const char* text, const uint8_t* rgb, int size = 5) {
    Text(x - GLTextWidth(text, size, Font()) / 2, y, text, rgb, size);
}
void Caption(int x, int y, const char* text) { Text(x, y, gettext(text), CaptionColour); }
void CaptionCentred(int x, int y, const char* text) { TextCentred(x, y, gettext(text), CaptionColour); }

// A white tick line of the given width.
void Tick(int x0, int x1, int y, float width) {
    glLineWidth(width);
    GLColour(GLWhite);
    glBegin(GL_LINES);
    glVertex2i(x0, y);
    glVertex2i(x1, y);
    glEnd();
}

// Clamped before narrowing: a quotient beyond int must not wrap into the range.
int Clamp(int64_t v, int lo, int hi) { return static_cast<int>(std::clamp<int64_t>(v, lo, hi)); }
// Height of a limit on an 80-pixel scale.
int ScaleHeight(int32_t limit, int32_t maximum) { return Clamp(static_cast<int64_t>(limit) * 80 / maximum, 0, 80); }

TInstrumentConfig Template(int cx, int cy, int startAngle, int endAngle, int minimum, int maximum, bool clockwise,
                           int perMajor, int divisor, int minorStep, int font, int green, int yellow, int red,
                           int readoutX, int boxX, int boxWidth, int decimals) {
    TInstrumentConfig c = {};
    c.cx = cx;
    c.cy = cy;
    c.radius = 90;
    c.tickLength = 10;
    c.startAngle = startAngle;
    c.endAngle = endAngle;
    c.minimum = minimum;
    c.maximum = maximum;
    c.clockwise = clockwise;
    c.minorPerMajor = perMajor;
    c.labelDivisor = divisor;
    c.minorStep = minorStep;
    c.scaleFontSize = font;
    c.greenStart = green;
    c.yellowStart = yellow;
    c.redStart = red;
    c.needleTexture = &GLTextures[TexNeedle];
    c.readoutFontSize = 10;
    c.readoutX = readoutX;
    c.readoutY = -40;
    c.readoutBoxX = boxX;
    c.readoutBoxWidth = boxWidth;
    c.decimals = decimals;
    c.titleFontSize = 6;
    c.unitFontSize = 5;
    // Title and unit inside the face: below the centre for full dials, in the
    // open quarter for the half dials.
    if (endAngle < 0 && startAngle > 0) {
        c.titleY = 40;
        c.unitX = -14;
        c.unitY = 20;
    } else {
        const int side = startAngle > 0 ? -1 : 1;
        c.titleFontSize = 5;
        c.titleX = 28 * side;
        c.titleY = -20;
        c.unitX = side < 0 ? -45 : 25;
        c.unitY = 15;
    }
    return c;
}

TInstrumentConfig Moved(TInstrumentConfig c, int cx, int cy, int radius = 0) {
    c.cx = cx;
    c.cy = cy;
    if (radius && radius != c.radius) {
        // Title and unit keep their place in the face of a smaller dial, clear of
        // its numbers.
        auto scale = [&](int32_t& v) { v = v * radius / c.radius; };
        scale(c.titleX);
        scale(c.unitX);
        if (c.titleY > 0) {
            // Full dials: the numbers stand about half a radius out, so title and
            // unit go between them and the hub.
            c.titleY = radius * 2 / 5;
            c.unitY = radius / 7;
        }
        // Half dials keep their title below the hub, clear of the needle's base.
        c.titleFontSize = 5;
        c.scaleFontSize = std::max(5, c.scaleFontSize * radius / c.radius);
        if (c.titleY < 0 && radius < 80) {
            // A small pair of half dials: the value boxes stand under the hubs, so the
            // title goes between hub and box, the unit into the gap between the
            // hubs, and the numbers are written smaller and further out (shorter
            // ticks) so that they stay apart.
            const int side = c.startAngle > 0 ? -1 : 1;
            c.titleFontSize = c.unitFontSize = c.scaleFontSize = 4;
            c.tickLength = c.tickLength * radius / c.radius;
            c.titleX = 0;
            c.titleY = -9;
            c.unitX = side < 0 ? 10 : -14;
            c.unitY = 5;
        }
        c.radius = radius;
    }
    return c;
}

bool AnyChtConfigured() {
    for (const TThermoSlot& s : EngineGaugeConfig.cht)
        if (s.thermocouple) return true;
    return false;
}

bool AltLayout() { return (GLView.paintFlags & GLPaintAltLayout) != 0; }

}  // namespace

void InitEngineLayouts() {
    TInstrumentConfig* d = GLShellLinks.dialConfig;
    d[DialRpm] = Template(123, 353, 198, -20, 0, 3000, true, 5, 100, 100, 8, 500, 2700, 2800, 26, 34, 68, 0);
    d[DialFourth] = Template(677, 353, 198, -15, 1000, 4000, true, 5, 100, 100, 8, 1500, 3700, 3800, 32, 40, 76, 2);
    d[DialOilPress] = Template(354, 353, 199, 91, 0, 120, true, 5, 1, 6, 6, 15, 95, 110, 2, 8, 50, 0);
    d[DialOilTemp] = Template(445, 353, -20, -130, 0, 240, false, 4, 1, 15, 6, 120, 200, 210, 35, 41, 50, 0);
    d[DialAuxTemp] = Moved(d[DialOilPress], 112, 90);
    d[DialWater] = Moved(d[DialOilTemp], 179, 90);
    d[DialStripRpm] = Moved(d[DialRpm], 101, 374, 60);
    d[DialStripFourth] = Moved(d[DialFourth], 101, 233, 60);
    d[DialStripOilPress] = Moved(d[DialOilPress], 75, 93, 60);
    d[DialStripOilTemp] = Moved(d[DialOilTemp], 126, 93, 60);
    d[DialCombinedRpm] = Moved(d[DialStripRpm], 73, 374);
    d[DialCombinedMap] = Moved(d[DialStripOilPress], 217, 374);
    for (int i = 0; i < DialCount; ++i) EngineInstruments[i].SetConfig(d[i]);

    EngineFuel = TGLFuelRecord{};
    EngineFuel.tankCount = 2;
    EngineFuel.capacity1 = EngineFuel.capacity2 = 500;
    EngineFuel.reserve1 = EngineFuel.reserve2 = 100;
    EngineFuel.pressMax = 600;
    EngineFuel.pressLowRedEnd = 80;
    EngineFuel.pressLowYellowEnd = 100;
    EngineFuel.pressYellowStart = 500;
    EngineFuel.pressRedStart = 550;
    EngineFuel.pressDivisions = 5;
    EngineFuel.pressShown = 1;
    EngineFuel.pressFlags = ScaleDivideByTen;
    EngineFuel.flowMax = 200;
    EngineFuel.flowRedStart = 160;
    EngineFuel.flowDivisions = 3;
    EngineFuel.flowShown = 1;
    EngineCylinders = TGLCylinders{4, {12000, 11000, 10000}, {3000, 2500, 2800}, "\xB0", 148, 4};
    for (int i = 0; i < 6; ++i) SetText(EngineUnitSigns[i], i < 3 ? "\xB0" : "Q");
}

void SyncEngineRecords() {
    const TEngineGaugeConfig& g = EngineGaugeConfig;
    TGLFuelRecord& f = EngineFuel;
    f.tankCount = !g.tankUsed ? 0 : g.twoTanks ? 2 : 1;
    for (int i = 0; i < 2; ++i) {
        int32_t& capacity = i ? f.capacity2 : f.capacity1;
        int32_t& reserve = i ? f.reserve2 : f.reserve1;
        capacity = *GLShellLinks.tankTop[i];
        reserve = GLShellLinks.tankReserve[i];
    }
    SetText(f.unit, GLShellLinks.fuelUnit);
    if (*GLShellLinks.fuelPressTop > 0) {
        const int32_t* limits = GLShellLinks.fuelPressLimits;
        f.pressMax = *GLShellLinks.fuelPressTop;
        f.pressLowRedEnd = limits[0];
        f.pressLowYellowEnd = limits[1];
        f.pressYellowStart = limits[2];
        f.pressRedStart = limits[3];
        f.pressDivisions = *GLShellLinks.fuelPressDivisions;
        f.pressFlags = *GLShellLinks.fuelPressFlags;
        f.pressOneDecimal = (f.pressFlags & ScaleOneDecimal) != 0;
    }
    // The printed flow scale is the bar's own range.
    if (*GLShellLinks.fuelFlowTop > 0) {
        f.flowMax = *GLShellLinks.fuelFlowTop;
        f.flowRedStart = *GLShellLinks.fuelFlowHigh;
    }
    SetText(f.pressUnit, GLShellLinks.pressUnit);
    f.pressShown = g.fuelPressUsed != 0;
    f.flowShown = g.fuelFlowUsed != 0;
    SetText(f.flowUnit, GLShellLinks.flowUnit);
    EngineTempFace.shown = g.waterChtUsed != 0;
    EngineTempFace.kind = g.waterChtLabel;
    SetText(EngineTempFace.unit, GLShellLinks.tempUnit);
    EngineCylinders.count = g.cylinders;
}

// ---- block routines ----

void GLTankGauge(int x, int y, bool rightHand, int32_t reserve, int32_t capacity, bool caption) {
    if (capacity == 0) return;
    const int r = Clamp(static_cast<int64_t>(reserve) * 80 / capacity, 1, 79);
    glDisable(GL_TEXTURE_2D);
    GLFillRect(x - 2, y + 80, 5, 80, GLGreen, false);
    GLFillRect(x - 2, y + r, 5, r, GLRed, false);
    const int wide = rightHand ? x + 10 : x - 9, narrow = rightHand ? x + 7 : x - 6, end = rightHand ? x - 2 : x + 3;
    for (int dy : {1, 79, 40}) Tick(wide, end, y + dy, 2.0f);
    for (int dy : {20, 60}) Tick(narrow, end, y + dy, 1.0f);
    glLineWidth(1.0f);
    glEnable(GL_TEXTURE_2D);
    const int tx = rightHand ? x - 15 : x + 6;
    Text(tx, y + 11, "E ", GLWhite);
    Text(tx, y + 83, "F ", GLWhite);
    Text(rightHand ? x - 26 : x + 6, y + 47, "1/2", GLWhite, 4);
    if (rightHand) {
        Caption(x + 27, y + 85, gettext_noop("RIGHT"));
        Text(x + 29, y - 5, EngineFuel.unit, CaptionColour);
    } else if (caption) {
        Text(x - 5, y - 5, EngineFuel.unit, CaptionColour);
    }
}

namespace {

void ScaleLabel(int x, int y, int32_t value, bool oneDecimal) {
    char text[24];
    if (oneDecimal)
        snprintf(text, sizeof text, "%d.%d", value / 10, std::abs(value % 10));
    else
        snprintf(text, sizeof text, "%d", value);
    Text(x, y, text, GLWhite);
}

}  // namespace

void GLBarScale(int x, int y, int divisions, int32_t lowRedEnd, int32_t lowYellowEnd, int32_t yellowStart,
                int32_t redStart, int32_t maximum, const char* caption, int flags) {
    if (maximum == 0) return;
    const int n = Clamp(divisions, 2, 5);
    const int lr = ScaleHeight(lowRedEnd, maximum), ly = ScaleHeight(lowYellowEnd, maximum);
    const int ys = ScaleHeight(yellowStart, maximum), rs = ScaleHeight(redStart, maximum);
    glDisable(GL_TEXTURE_2D);
    GLFillRect(x - 2, y + 80, 5, 80, GLGreen, false);
    GLFillRect(x - 2, y + ly, 5, ly, GLYellow, false);
    GLFillRect(x - 2, y + 80, 5, 80 - ys, GLYellow, false);
    GLFillRect(x - 2, y + lr, 5, lr, GLRed, false);
    GLFillRect(x - 2, y + 80, 5, 80 - rs, GLRed, false);
    Tick(x - 9, x + 3, y + 1, 2.0f);
    Tick(x - 9, x + 3, y + 79, 2.0f);
    for (int i = 1; i < n; ++i) Tick(x - 6, x + 3, y + std::min(i * (80 / n), 80), 2.0f);
    glLineWidth(1.0f);
    glEnable(GL_TEXTURE_2D);
    const int32_t D = (flags & ScaleDivideByTen) ? 10 : 1;
    const bool dec = (flags & ScaleOneDecimal) != 0;
    Text(x + 6, y + 11, dec ? "0.0" : "0", GLWhite);
    ScaleLabel(x + 6, y + 83, maximum / D, dec);
    for (int i = 1; i < n; ++i) ScaleLabel(x + 6, y + std::min(i * (80 / n), 80) + 7, i * ((maximum / n) / D), dec);
    if (caption) Text(x - 5, y - 5, caption, CaptionColour);
}

void GLFlowScale(int x, int y, int divisions, int32_t maximum, int32_t redStart, const char* caption, int flags) {
    if (maximum == 0) return;
    const int n = Clamp(divisions, 2, 5);
    const int rs = ScaleHeight(redStart, maximum);
    const bool right = (flags & ScaleTicksRight) != 0;
    glDisable(GL_TEXTURE_2D);
    GLFillRect(x - 2, y + 80, 5, 80, GLGreen, false);
    GLFillRect(x - 2, y + 80, 5, 80 - rs, GLRed, false);
    const int wide = right ? x + 10 : x - 9, narrow = right ? x + 7 : x - 6, end = right ? x - 2 : x + 3;
    Tick(wide, end, y + 1, 2.0f);
    Tick(wide, end, y + 79, 2.0f);
    for (int i = 1; i < n; ++i) Tick(narrow, end, y + std::min(i * (80 / n), 80), 2.0f);
    glLineWidth(1.0f);
    glEnable(GL_TEXTURE_2D);
    auto label = [&](int ly, int32_t value) {
        char text[24];
        snprintf(text, sizeof text, "%d", value);
        const int lx = right ? x - GLTextWidth(text, 5, Font()) - 9 : x + 6;
        Text(lx, ly, text, GLWhite);
    };
    label(y + 11, 0);
    label(y + 83, maximum / 10);
    for (int i = 1; i < n; ++i) label(y + std::min(i * (80 / n), 80) + 7, (maximum / n) * i / 10);
    if (caption) Text(x + 29, y - 5, caption, CaptionColour);
}

void GLCylinderBarScale(int x, int y, int s) {
    GLFillRect(x, y + 6, 38 * s, 8, GLGreen, true);
    GLFillRect(x + 39 * s, y + 6, 6 * s, 8, GLYellow, true);
    GLFillRect(x + 46 * s, y + 6, 3 * s, 8, GLRed, true);
}

namespace {

void CylinderBlock() {
    const TGLCylinders& c = EngineCylinders;
    const int x = c.x, y = c.y;
    const bool cht = AnyChtConfigured();
    const int unitWidth = GLTextWidth(c.unit, 5, Font());
    GLColour(GLWhite);
    int rows, egtY, chtY;
    const TGLTexture* picture;
    if (c.count == 6) {
        picture = &GLTextures[TexMotorV6];
        rows = 3, egtY = 147, chtY = 132;
    } else if (c.count == 4) {
        picture = &GLTextures[TexMotorV4];
        rows = 2, egtY = 116, chtY = 101;
    } else {
        picture = &GLTextures[TexMotorV2];
        rows = 1, egtY = 102, chtY = 87;
    }
    const int lower = c.count == 6 || c.count == 4 ? y - 38 : y + 37;
    GLTextureQuad(picture, 0, 0, 0, 0, x - picture->width / 2, lower, picture->width, picture->height);
    // Bar rows: their y, and which rows carry the unit and the bars.
    int barRows = 1, unitBase = 65, barBase = 59;
    if (c.count == 6) barRows = 2, unitBase = 113, barBase = 103;
    else if (c.count == 4) barRows = 1, unitBase = 82, barBase = 72;
    for (int r = 0; r < rows; ++r) {
        Text(x - 13, y + egtY - 56 * r, "EGT", GLWhite);
        if (cht) Text(x - 14, y + chtY - 56 * r, "CHT", GLWhite);
    }
    for (int r = 0; r < barRows; ++r) Text(x - 4 - unitWidth / 2, y + unitBase - 56 * r, c.unit, GLWhite);
    glDisable(GL_TEXTURE_2D);
    for (int r = 0; r < barRows; ++r) {
        GLCylinderBarScale(x + 24, y + barBase - 56 * r, 1);
        GLCylinderBarScale(x - 24, y + barBase - 56 * r, -1);
    }
    glEnable(GL_TEXTURE_2D);
}

void TimeTempBlock() {
    CaptionCentred(555, 231, gettext_noop("IAT "));
    CaptionCentred(652, 231, gettext_noop("OAT "));
    // Fuel used and endurance come from the fuel flow.
    if (EngineGaugeConfig.fuelFlowUsed) {
        CaptionCentred(555, 181, gettext_noop("FUEL USED"));
        CaptionCentred(652, 181, gettext_noop("ENDURANCE"));
    }
    CaptionCentred(555, 131, gettext_noop("ENGINE TIME"));
    CaptionCentred(652, 131, gettext_noop("TIMER"));
    CaptionCentred(555, 81, gettext_noop("TIME"));
    CaptionCentred(652, 81, gettext_noop("DATE"));
    CaptionCentred(603, 79, gettext_noop("(UTC)"));
}

// Volt captions in the left column, amp captions in the right; a row only for a pair in use.
void SmallValueBlock() {
    static const int rowsY[3] = {235, 205, 175};
    int row = 0;
    const uint8_t* on = GLShellLinks.supplyOn;
    const char(*names)[16] = GLShellLinks.supplyNames;
    for (int i = 0; i < 3 && row < 3; ++i) {
        if (!on[i] && !on[3 + i]) continue;
        if (on[i]) Text(79, rowsY[row], names[i], CaptionColour);
        if (on[3 + i]) Text(217, rowsY[row], names[3 + i], CaptionColour);
        ++row;
    }
}

void FuelBlock() {
    const TGLFuelRecord& f = EngineFuel;
    int d = 0;
    if (f.tankCount != 0) {
        CaptionCentred(397, 256, gettext_noop("FUEL QUANTITY"));
        if (f.tankCount == 2) {
            Caption(307, 241, gettext_noop("LEFT"));
            GLTankGauge(364, 156, false, f.reserve1, f.capacity1, true);
            GLTankGauge(430, 156, true, f.reserve2, f.capacity2, true);
        } else {
            GLTankGauge(407, 156, false, f.reserve1, f.capacity1, true);
        }
    } else {
        d = 60;
    }
    if (f.pressShown) {
        const int px = f.flowShown ? 364 : 407;
        Caption(f.flowShown ? 314 : 357, d + 125, gettext_noop("FUEL PRESS"));
        GLBarScale(px, d + 30, f.pressDivisions, f.pressLowRedEnd, f.pressLowYellowEnd, f.pressYellowStart,
                   f.pressRedStart, f.pressMax, f.pressUnit, f.pressFlags);
    }
    if (f.flowShown) {
        Caption(f.pressShown ? 413 : 360, d + 125, gettext_noop("FUEL FLOW"));
        GLFlowScale(f.pressShown ? 430 : 387, d + 30, f.flowDivisions, f.flowMax, f.flowRedStart, f.flowUnit,
                    ScaleTicksRight);
    }
    // The face's bar and value are drawn over it on the normal page only; the
    // alternative page reads water on its own half dial, so an empty face stays away.
    if (EngineTempFace.shown && !AltLayout()) {
        GLColour(GLWhite);
        GLTextureCentred(&GLTextures[TexBud4], 402, 365);
        TextCentred(402, 330, gettext(EngineTempFace.kind ? gettext_noop("CHT ") : gettext_noop("WATER ")), GLTitleBlue);
        TextCentred(417, 345, EngineTempFace.unit, GLUnitGrey);
        // The scale of the reading the face's bar shows: the water channel's dial.
        const TInstrumentConfig& c = EngineInstruments[DialWater].config;
        GLBarScale(404, 350, 4, c.lowRedEnd, c.lowYellowEnd, c.yellowStart, c.redStart, c.maximum, nullptr, 0);
    }
}

void StripTankBlock() {
    const TGLFuelRecord& f = EngineFuel;
    if (f.tankCount == 0) return;
    if (f.tankCount == 2) {
        Caption(188, 443, gettext_noop("LEFT"));
        GLTankGauge(213, 343, false, f.reserve1, f.capacity1, true);
        Caption(188, 303, gettext_noop("RIGHT"));
        GLTankGauge(213, 202, false, f.reserve2, f.capacity2, true);
    } else {
        Caption(188, 443, gettext_noop("TOTAL"));
        GLTankGauge(213, 343, false, f.reserve1, f.capacity1, true);
    }
}

// The units under the alternative strip's scales stand beside the value boxes,
// whose black paper would cover their first column: they move 3 px right, clear
// of it ("l/h" would read "1/h").
constexpr int UnitClear = 3;

// The first character of a unit text alone.
void Mark(int x, int y, const char* unit, const char* suffix = "") {
    char text[8];
    snprintf(text, sizeof text, "%.1s%s", unit, suffix);
    Text(x + UnitClear, y, text, CaptionColour);
}

void StripTankBlockAlt() {
    const TGLFuelRecord& f = EngineFuel;
    if (f.tankCount != 0) {
        if (f.tankCount == 2) {
            Caption(16, 308, gettext_noop("LEFT"));
            Caption(66, 308, gettext_noop("RIGHT"));
            Mark(108, 202, f.unit);
            GLTankGauge(101, 210, false, f.reserve2, f.capacity2, false);
        } else {
            Caption(16, 308, gettext_noop("TOTAL"));
        }
        Mark(53, 202, f.unit);
        GLTankGauge(46, 210, false, f.reserve1, f.capacity1, false);
    }
    if (f.pressShown) {
        Caption(116, 308, gettext_noop("PRESS FUEL"));
        Mark(163, 202, f.pressUnit);
        GLBarScale(156, 210, f.pressDivisions, f.pressLowRedEnd, f.pressLowYellowEnd, f.pressYellowStart,
                   f.pressRedStart, f.pressMax, nullptr, f.pressFlags);
    }
    if (f.flowShown) {
        if (f.pressShown)
            Caption(196, 308, gettext_noop("FLOW"));
        else
            Caption(156, 308, gettext_noop("FUEL FLOW"));
        Mark(218, 202, f.flowUnit, "/h");
        GLFlowScale(211, 210, f.flowDivisions, f.flowMax, f.flowRedStart, nullptr, 0);
    }
    // The lower row stands over the 2-D bars of oil pressure, oil temperature, water
    // and auxiliary temperature (x 582, 637, 692, 747 on the screen): each column
    // carries the caption, unit and scale of the reading its bar shows, whenever its
    // sensor is installed. The four-dial strip's oil dials are covered in this layout
    // and say nothing about the bars.
    const TEngineGaugeConfig& g = EngineGaugeConfig;
    struct Gauge {
        int dial;
        bool shown;
        int captionX;
        const char* caption;
        int unitX, scaleX, divisions, flags;
        bool firstCharOnly;
    };
    const Gauge gauges[4] = {
        {DialStripOilPress, g.oilPressUsed != 0, 11, gettext_noop("PRESS OIL"), 53, 46, 5, -1, true},
        {DialStripOilTemp, g.oilTempUsed != 0, g.oilPressUsed ? 81 : 61,
         g.oilPressUsed ? gettext_noop("TEMP") : gettext_noop("OIL TEMP"), 108, 101, 5, 0, false},
        {DialWater, g.waterChtUsed != 0, 131, gettext_noop("WATER"), 163, 156, 4, 0, false},
        {DialAuxTemp, g.waterAuxUsed != 0, 196, gettext_noop("CHT"), 218, 211, 4, 0, false},
    };
    for (const Gauge& gauge : gauges) {
        if (!gauge.shown) continue;
        const TInstrumentConfig& c = EngineInstruments[gauge.dial].config;
        Caption(gauge.captionX, 171, gauge.caption);
        if (gauge.firstCharOnly)
            Mark(gauge.unitX, 65, c.unit);
        else
            Text(gauge.unitX + UnitClear, 65, c.unit, CaptionColour);
        GLBarScale(gauge.scaleX, 73, gauge.divisions, c.lowRedEnd, c.lowYellowEnd, c.yellowStart, c.redStart,
                   c.maximum, nullptr, gauge.flags < 0 ? *GLShellLinks.oilPressFlags : gauge.flags);
    }
}

void SceneBegin() {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
}
void SceneEnd() {
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

}  // namespace

void DrawEnginePageScene(int width, int height) {
    SceneBegin();
    GLColour(GLWhite);
    GLTextureCentred(&GLTextures[TexEmsMain1], width / 2, height / 2);
    FuelBlock();
    for (int dial : {DialRpm, DialFourth, DialOilPress, DialOilTemp}) EngineInstruments[dial].Draw(0);
    glEnable(GL_TEXTURE_2D);
    if (AltLayout()) {
        EngineInstruments[DialAuxTemp].Draw(0);
        EngineInstruments[DialWater].Draw(0);
        glEnable(GL_TEXTURE_2D);
    } else {
        CylinderBlock();
    }
    TimeTempBlock();
    SmallValueBlock();
    SceneEnd();
}

void DrawEngineStripScene(int width, int height) {
    (void)width;
    SceneBegin();
    GLColour(GLWhite);
    const TGLTexture* picture = &GLTextures[AltLayout() ? TexEmsDMale : TexEmsMale];
    GLTextureQuad(picture, 0, 0, 0, 0, 0, height - picture->height, picture->width, picture->height);
    if (AltLayout()) {
        EngineInstruments[DialCombinedRpm].Draw(0);
        EngineInstruments[DialCombinedMap].Draw(0);
    } else {
        for (int dial : {DialStripRpm, DialStripFourth, DialStripOilPress, DialStripOilTemp})
            EngineInstruments[dial].Draw(0);
    }
    glEnable(GL_TEXTURE_2D);
    if (AltLayout())
        StripTankBlockAlt();
    else
        StripTankBlock();
    SceneEnd();
}

int RebuildEngineBackground(int flags) {
    std::unique_ptr<FGBitmap>& slot =
        (flags & GLPaintNarrow) ? *GLShellLinks.stripBackground : *GLShellLinks.engineBackground;
    slot.reset();
    SyncEngineRecords();
    const int result = OpenGLPaint(flags);
    // The strip is the last of a rebuild's two pictures: until the next rebuild only
    // the needle's texture is drawn.
    if (flags & GLPaintNarrow) GLViewReleaseSceneTextures();
    FGDrawBuffer* window = *GLShellLinks.window;
    if (result != 0 || !window) return result != 0 ? result : -1;
    slot = std::make_unique<FGBitmap>(window);
    return 0;
}
