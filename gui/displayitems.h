// The page records (value box, bar, dial needle) and their drawing into
// MainWindow, with the picture-based drawing aids of the pages.
#pragma once

#include <cstddef>
#include <cstdint>

class FGDrawBuffer;

// Copies a text into a fixed record field, cut to the field and always terminated.
template <size_t N>
void SetItemText(char (&dst)[N], const char* text) {
    size_t n = 0;
    for (; n + 1 < N && text[n]; ++n) dst[n] = text[n];
    dst[n] = '\0';
}

// Value-box sentinels held in TDisplayItem::value.
constexpr int32_t ItemNoValue = -9999;       // text right-aligned
constexpr int32_t ItemLabel = -99999;        // text centred in the width
constexpr int32_t ItemHighlight = -99998;    // text centred on the warning colour
constexpr int32_t ItemPlainText = -999999;   // text at (x, y)

// Value box: 20 words.
struct TDisplayItem {
    int32_t x, y;            // top-left corner in window pixels
    char text[32];           // label or ready text, NUL-terminated
    int32_t value;           // number to show, or a sentinel above
    int32_t decimals;        // digits after the point
    int32_t fontCode;
    int32_t width, height;
    int32_t warn, alarm;     // warn 0: no zones
    int32_t textColour, warnColour, alarmColour;   // 0x00RRGGBB, PageKeyColour transparent
};
static_assert(sizeof(TDisplayItem) == 20 * 4, "value box is 20 words");

// Bar orientations.
enum { BarRight = 0, BarLeft = 1, BarUp = 2, BarDown = 3 };

// Bar: 17 words.
struct TBarItem {
    int32_t x, y;
    int32_t orientation;
    int32_t min, max;        // max 0: not drawn
    int32_t value;
    int32_t width, height;
    int32_t dx, dy;          // offset of the bar from x, y
    int32_t reserved[2];
    int32_t warn, alarm;
    int32_t normalColour, warnColour, alarmColour;
};
static_assert(sizeof(TBarItem) == 17 * 4, "bar is 17 words");

// Dial needle: 17 words. Angles in degrees, 0 pointing right, clockwise on screen.
struct TDialItem {
    int32_t cx, cy;          // centre
    int32_t min, max;
    int32_t startAngle, endAngle;
    int32_t value;
    int32_t radius;          // needle length
    int32_t width;           // needle base width
    int32_t enabled;         // non-zero: drawn
    int32_t dx, dy;          // offset of the centre
    int32_t reserved[4];
    int32_t colour;
};
static_assert(sizeof(TDialItem) == 17 * 4, "dial needle is 17 words");

// Toolkit font id of a value-box font code for a language (-1: none registered).
int DisplayItemFont(int32_t fontCode, int languageId);

void DrawDisplayItem(TDisplayItem* item);
void DrawBarItem(TBarItem* bar);
// Clamps the dial's value into min..max (kept in the record) before drawing.
void DrawDialNeedle(TDialItem* dial);
// The bar or needle, then its value box; the force flag pushes a substitute
// value into the averaging reader for the channel.
void DrawBarWithItem(TBarItem* bar, TDisplayItem* item, uint32_t channelId, int force);
void DrawDialWithItem(TDialItem* dial, TDisplayItem* item, uint32_t channelId, int force);

// Bar of tiled pictures placed by the record's dx, dy (window coordinates).
void DrawPictureBar(TBarItem bar, int32_t v);
// record: the flight page's 14-word slip record; n: deflection in pixels.
void DrawSlipBall(const int32_t* record, int32_t n);
void DrawDigitString(int x, int y, const char* text, FGDrawBuffer* target);
// Advance of a text in the tape digits (digits 14 px, minus 7 px).
int TapeDigitsWidth(const char* text);
// Returns 40 - y when the clip applies, else 0.
int DrawTapeDigits(int x, int y, const char* text, FGDrawBuffer* target, int clip, int clipY,
                   int rightAlign);
void TileHorizontal(int x, int y, int length, FGDrawBuffer* picture, FGDrawBuffer* target);
void TileVertical(int x, int y, int length, FGDrawBuffer* picture, FGDrawBuffer* target);
void DrawBootLogo();
