// Round engine dials drawn with OpenGL into the GL view: face, range arcs,
// ticks, scale numbers, title, unit, readout and textured needle.
#pragma once

#include <cstdint>

#include "dialconfig.h"

class TInstrument {
public:
    TInstrumentConfig config;
    uint8_t readoutLive = 0;  // draws the readout and allows the needle
    uint8_t face = 1;         // draws face, arcs, ticks, numbers, title and unit

    TInstrument() : config{} {}
    void SetConfig(const TInstrumentConfig& c) { config = c; }
    // Every range of the configuration holds.
    bool Valid() const;
    // Angle in degrees of a value on the arcs.
    double ValueAngle(double value) const;
    // The whole dial (context current; nothing for an invalid configuration).
    void Draw(int32_t value);
    // The needle alone, when the dial has a loaded needle texture.
    void DrawNeedle(int32_t value);
};

// The twelve dials, by the dial positions.
extern TInstrument EngineInstruments[DialCount];

// Colours of the scales (red, green, blue).
extern const uint8_t GLWhite[3], GLGreen[3], GLYellow[3], GLRed[3], GLBlack[3];
// Dial titles and unit texts.
extern const uint8_t GLTitleBlue[3], GLUnitGrey[3];
