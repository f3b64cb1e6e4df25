#include "instrument.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "glview.h"
#include "hkutils.h"
#include "utexture.h"

TInstrument EngineInstruments[DialCount];

const uint8_t GLWhite[3] = {255, 255, 255};
const uint8_t GLGreen[3] = {0, 200, 0};
const uint8_t GLYellow[3] = {210, 200, 0};
const uint8_t GLRed[3] = {242, 0, 0};
const uint8_t GLBlack[3] = {0, 0, 0};
const uint8_t GLTitleBlue[3] = {150, 150, 255};
const uint8_t GLUnitGrey[3] = {200, 200, 190};

namespace {

constexpr double DegToRad = 3.14159265358979323846 / 180.0;

bool In(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

// A point on the circle, truncated to integers.
void CirclePoint(const TInstrumentConfig& c, double angle, double radius, int* x, int* y) {
    *x = c.cx + static_cast<int>(std::cos(angle * DegToRad) * radius);
    *y = c.cy + static_cast<int>(std::sin(angle * DegToRad) * radius);
}

void RadialLine(const TInstrumentConfig& c, double angle, double outer, double inner) {
    int x0, y0, x1, y1;
    CirclePoint(c, angle, outer, &x0, &y0);
    CirclePoint(c, angle, inner, &x1, &y1);
    glVertex2i(x0, y0);
    glVertex2i(x1, y1);
}

void StripPair(const TInstrumentConfig& c, double angle) {
    int x0, y0, x1, y1;
    CirclePoint(c, angle, c.radius, &x0, &y0);
    CirclePoint(c, angle, c.radius - c.tickLength, &x1, &y1);
    glVertex2i(x0, y0);
    glVertex2i(x1, y1);
}

}  // namespace

bool TInstrument::Valid() const {
    const TInstrumentConfig& c = config;
    const int64_t span = std::llabs(static_cast<int64_t>(c.endAngle) - c.startAngle);
    const int64_t range = std::llabs(static_cast<int64_t>(c.maximum) - c.minimum);
    return In(c.radius, 10, 300) && In(c.tickLength, 2, 20) && span >= 30 && span <= 360 &&
           In(c.minimum, 0, 100000) && In(c.maximum, 0, 100000) && range >= 1 && range <= 100000 &&
           In(c.minorPerMajor, 1, 100000) && In(c.labelDivisor, 1, 100000) && In(c.minorStep, 1, 100000) &&
           In(c.scaleFontSize, 1, 100) && c.minimum <= c.greenStart && c.greenStart <= c.yellowStart &&
           c.yellowStart <= c.maximum && In(c.titleFontSize, 1, 100) && In(c.readoutFontSize, 1, 100) &&
           In(c.decimals, 0, 6) && In(c.unitFontSize, 1, 100);
}

double TInstrument::ValueAngle(double value) const {
    const TInstrumentConfig& c = config;
    const double span = std::fabs(static_cast<double>(c.endAngle) - c.startAngle);
    const double range = std::fabs(static_cast<double>(c.maximum) - c.minimum);
    if (range == 0) return c.startAngle;
    const double sign = c.clockwise ? -1.0 : 1.0;
    return c.startAngle + sign * (value - c.minimum) * span / range;
}

namespace {

// A band between the radius and the radius less the tick length, in 2-degree
// steps, the last pair exactly at the far end; shorter than a step: nothing.
void Band(const TInstrument& d, int32_t from, int32_t to, const uint8_t* rgb) {
    // Limits outside the scale (the low arcs and the red start are not checked
    // with the configuration) end at the scale, so a band never runs round and round.
    const int32_t lo = std::min(d.config.minimum, d.config.maximum), hi = std::max(d.config.minimum, d.config.maximum);
    from = std::clamp(from, lo, hi);
    to = std::clamp(to, lo, hi);
    const double a1 = d.ValueAngle(from), a2 = d.ValueAngle(to);
    if (std::fabs(a2 - a1) < 2.0) return;
    const double step = a2 > a1 ? 2.0 : -2.0;
    GLColour(rgb);
    glBegin(GL_TRIANGLE_STRIP);
    for (double a = a1; (step > 0 ? a < a2 : a > a2); a += step) StripPair(d.config, a);
    StripPair(d.config, a2);
    glEnd();
}

void Arcs(const TInstrument& d) {
    const TInstrumentConfig& c = d.config;
    Band(d, c.greenStart, c.yellowStart, GLGreen);
    Band(d, c.yellowStart, c.redStart ? c.redStart : c.maximum, GLYellow);
    if (c.redStart) Band(d, c.redStart, c.maximum, GLRed);
    if (c.lowYellowEnd) Band(d, c.lowRedEnd ? c.lowRedEnd : c.minimum, c.lowYellowEnd, GLYellow);
    if (c.lowRedEnd) Band(d, c.minimum, c.lowRedEnd, GLRed);
}

// Ticks follow the arcs' direction rule for every scale.
void Ticks(const TInstrumentConfig& c) {
    const double range = std::fabs(static_cast<double>(c.maximum) - c.minimum);
    double h = std::fabs(static_cast<double>(c.endAngle) - c.startAngle) * c.minorStep / range;
    if (h < 0.001) h = 0.001;
    if (c.clockwise) h = -h;
    const int n = static_cast<int>(range / c.minorStep);
    GLColour(GLWhite);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    for (int i = 0; i <= n; ++i) RadialLine(c, c.startAngle + i * h, c.radius, c.radius - c.tickLength);
    glEnd();
    glLineWidth(3.0f);
    glBegin(GL_LINES);
    for (int j = 0; j <= n / c.minorPerMajor; ++j)
        RadialLine(c, c.startAngle + j * h * c.minorPerMajor, c.radius, c.radius - 1.5 * c.tickLength);
    glEnd();
    glLineWidth(1.0f);
}

void Numbers(const TInstrumentConfig& c) {
    const int64_t range = std::llabs(static_cast<int64_t>(c.maximum) - c.minimum);
    const int64_t span = std::llabs(static_cast<int64_t>(c.endAngle) - c.startAngle);
    int64_t s = (c.clockwise ? -1 : 1) * static_cast<int64_t>(c.minorStep) * span * 10 / range;
    if (s == 0) s = 1;
    const int64_t count = std::llabs(span * 10 / s) / c.minorPerMajor;
    s *= c.minorPerMajor;
    GLColour(GLWhite);
    const double anchorRadius = c.radius - 2.0 * c.tickLength;
    for (int64_t i = 0; i <= count; ++i) {
        const int64_t a = static_cast<int64_t>(c.startAngle) * 10 + i * s;
        int x, y;
        CirclePoint(c, static_cast<double>(a) / 10.0, anchorRadius, &x, &y);
        const int64_t value = (count ? range * i / count : 0) / c.labelDivisor + c.minimum / c.labelDivisor;
        char text[24];
        snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
        int64_t A = (a / 10) % 360;
        if (A < 0) A += 360;
        const int64_t w = GLTextWidth(text, c.scaleFontSize, GLLanguageFont());
        int64_t dx, dy;
        if (A < 90) {
            dy = (90 - A) * 12 / 90;
            dx = (-w * (90 - A) / 90) / 2 - w / 2 - 5;
        } else if (A < 180) {
            dy = (12 * A - 1080) / 90;
            dx = (-w * (180 - A) / 90) / 2 - 1;
        } else if (A < 270) {
            dy = (12 * A - 2160) / 90 + 8;
            dx = (w * (270 - A) / 90) / 2 - 1;
        } else {
            dy = (4320 - 12 * A) / 90 + 8;
            dx = (-w * (A - 270) / 90) / 2 - w / 2 - 5;
        }
        GLDrawText(x + static_cast<int>(dx), y + static_cast<int>(dy), text, c.scaleFontSize, GLLanguageFont());
    }
}

void Readout(const TInstrumentConfig& c, int32_t value) {
    char text[FixTextSize];
    FixToText(text, value, c.decimals);
    const uint8_t* ink = GLWhite;
    if (value > c.yellowStart && c.readoutBoxWidth > 0) {
        const bool red = c.redStart != 0 && value > c.redStart;
        GLFillRect(c.cx + c.readoutBoxX - c.readoutBoxWidth, c.cy + c.readoutY - 4, c.readoutBoxWidth,
                   2 * c.readoutFontSize, red ? GLRed : GLYellow, true);
        ink = red ? GLWhite : GLBlack;
    }
    GLColour(ink);
    const int w = GLTextWidth(text, c.readoutFontSize, GLLanguageFont());
    GLDrawText(c.cx + c.readoutX - w, c.cy + c.readoutY, text, c.readoutFontSize, GLLanguageFont());
}

}  // namespace

void TInstrument::Draw(int32_t value) {
    if (!Valid()) return;
    const TInstrumentConfig& c = config;
    if (face) {
        glDisable(GL_TEXTURE_2D);
        glLineWidth(1.0f);
        if (c.covered) {
            if (c.radius < 80)
                GLFillRect(c.cx + c.coverX, c.cy + c.coverY, c.coverWidth, c.coverHeight, GLBlack, true);
            return;
        }
        if (c.radius > 80) {
            const int which = c.startAngle > 0 && c.endAngle > 0   ? TexBud2
                              : c.startAngle < 0 && c.endAngle < 0 ? TexBud3
                                                                   : TexBud1;
            glEnable(GL_TEXTURE_2D);
            GLColour(GLWhite);
            GLTextureCentred(&GLTextures[which], c.cx, c.cy);
            glDisable(GL_TEXTURE_2D);
        }
        glEnable(GL_LINE_SMOOTH);
        Arcs(*this);
        Ticks(c);
        glDisable(GL_LINE_SMOOTH);
        glEnable(GL_TEXTURE_2D);
        Numbers(c);
    }
    if (readoutLive) {
        glEnable(GL_TEXTURE_2D);
        Readout(c, value);
    }
    if (face) {
        const int font = GLLanguageFont();
        // A half dial's title (below the hub) keeps within its own half dial: beside the
        // hub it stays on its side, clear of the scale's end number; under the hub within
        // four fifths of the radius, clear of its neighbour's. A longer translation is
        // written smaller.
        int size = c.titleFontSize;
        const int room = c.titleX ? 2 * (std::abs(c.titleX) - 1) : c.radius * 4 / 5;
        while (c.titleY < 0 && size > 3 && GLTextWidth(c.title, size, font) > room) --size;
        GLColour(GLTitleBlue);
        GLDrawText(c.cx + c.titleX - GLTextWidth(c.title, size, font) / 2, c.cy + c.titleY, c.title, size, font);
        GLColour(GLUnitGrey);
        GLDrawText(c.cx + c.unitX, c.cy + c.unitY, c.unit, c.unitFontSize, font);
    }
    if (readoutLive) DrawNeedle(value);
}

void TInstrument::DrawNeedle(int32_t value) {
    const TInstrumentConfig& c = config;
    const TGLTexture* t = c.needleTexture;
    if (!t || t->name == 0 || t->height <= 0 || c.minimum == c.maximum) return;
    const int32_t lo = c.minimum < c.maximum ? c.minimum : c.maximum;
    const int32_t hi = c.minimum < c.maximum ? c.maximum : c.minimum;
    const int64_t v = value < lo ? lo : value > hi ? hi : value;
    const int64_t k = std::llabs(static_cast<int64_t>(c.endAngle) - c.startAngle) * 100000 /
                      std::llabs(static_cast<int64_t>(c.maximum) - c.minimum);
    const int64_t g = c.clockwise ? -1 : 1;
    const double rotation =
        static_cast<double>(c.startAngle - 90) + static_cast<double>((v - c.minimum) * k * g) / 100000.0 -
        static_cast<double>(g);
    const double length = c.radius - 1.5 * c.tickLength - 10;
    if (length <= 0) return;
    const double width = length * t->width / t->height;
    glPushMatrix();
    glTranslatef(static_cast<float>(c.cx), static_cast<float>(c.cy), 0.0f);
    glRotatef(static_cast<float>(rotation), 0.0f, 0.0f, 1.0f);
    GLColour(GLWhite);
    const float x0 = static_cast<float>(-width / 2 + c.needleX), y0 = static_cast<float>(c.needleY);
    const float x1 = x0 + static_cast<float>(width), y1 = y0 + static_cast<float>(length);
    glBindTexture(GL_TEXTURE_2D, t->name);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glEnd();
    glPopMatrix();
}
