// Colours with their hue, saturation and lightness, and two-colour gradient
// fills of rectangles of a drawing buffer.
#pragma once

#include <cstdint>

#include "fgbase.h"
#include "fgdrawbuffer.h"

// A colour value; hue, saturation and lightness are worked out once, when it is made.
class FGColor {
public:
    FGPixel packed;      // 0x00RRGGBB: the four bytes below as one little-endian word
    uint8_t blue, green, red, alpha;   // alpha is always 0
    float hue;           // degrees; a pure red is 360, not 0
    float saturation;    // 0 to 1
    float lightness;     // 0 to 1

    FGColor() : FGColor(0, 0, 0) {}
    FGColor(uint8_t r, uint8_t g, uint8_t b);
    // The top byte of the word is not a component and is dropped.
    FGColor(FGPixel rgb);
};

// Gradient shapes (FGGradient::shape); any other value fills as FG_GRADIENT_X.
constexpr int FG_GRADIENT_X = 0;         // distance along the vector
constexpr int FG_GRADIENT_XY = 1;        // product of the two coordinates
constexpr int FG_GRADIENT_RADIAL = 2;    // distance from the start point
constexpr int FG_GRADIENT_DIAMOND = 3;   // larger of the two coordinate distances
constexpr int FG_GRADIENT_CONIC = 4;     // angle around the start point
constexpr int FG_GRADIENT_SQRT_XY = 5;   // square root of the product of the coordinates

// What lies beyond the ends of the ramp (FGGradient::spread); any other value pads.
constexpr int FG_SPREAD_PAD = 0;
constexpr int FG_SPREAD_REFLECT = 1;
constexpr int FG_SPREAD_REPEAT = 2;

constexpr int FG_RAMP_SIZE = 256;

// A 256-step ramp between two colours, drawn along a vector.
class FGGradient {
public:
    int spread;
    int shape;
    // FG_RAMP_SIZE words: red in the low byte, then green, blue, and 0xFF on top.
    uint32_t* ramp;

    FGGradient(const FGColor& from, const FGColor& to);
    ~FGGradient();
    FGGradient(const FGGradient&) = delete;
    FGGradient& operator=(const FGGradient&) = delete;

    // Fills rect (the whole buffer when null) so that the ramp runs from start
    // to end. Coordinates are pixels of the array: the clip rectangle is neither
    // the origin nor a limit, the array's bounds are. Filled pixels are 0x00RRGGBB.
    void draw(FGDrawBuffer* buffer, FGPoint start, FGPoint end, const FGRect* rect = nullptr);
};
