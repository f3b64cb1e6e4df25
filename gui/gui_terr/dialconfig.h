// Configuration of the round engine dials the GL view draws, and the dial
// positions; the shell's gauge descriptors fill them from the settings.
#pragma once

#include <cstdint>

struct TGLTexture;

// Configuration of one round dial (in-process record, never stored).
struct TInstrumentConfig {
    int32_t cx, cy;              // GL view coordinates, y upwards
    int32_t radius, tickLength;
    int32_t startAngle, endAngle;
    int32_t minimum, maximum;
    uint8_t clockwise;
    int32_t minorPerMajor;       // the scale row's major-count column
    int32_t labelDivisor;
    int32_t minorStep;
    int32_t scaleFontSize;
    int32_t greenStart, yellowStart, redStart;  // red 0: no red arc
    const TGLTexture* needleTexture;  // none: no needle
    int32_t needleX, needleY;
    char title[16];
    int32_t titleFontSize, titleX, titleY;
    int32_t readoutFontSize, readoutX, readoutY, readoutBoxX, readoutBoxWidth;
    int32_t decimals;
    char unit[16];
    int32_t unitFontSize, unitX, unitY;
    uint8_t covered;
    int32_t coverX, coverY, coverWidth, coverHeight;
    int32_t lowRedEnd, lowYellowEnd;  // 0: none; lowRedEnd <= lowYellowEnd <= greenStart
};

// The twelve dial templates, by position: 0..5 engine page (RPM, oil pressure, oil
// temperature, fourth gauge, auxiliary temperature, water), 6..9 engine strip (RPM, oil
// pressure, oil temperature, fourth gauge), 10 and 11 combined view (RPM, MAP).
enum {
    DialRpm, DialOilPress, DialOilTemp, DialFourth, DialAuxTemp, DialWater,
    DialStripRpm, DialStripOilPress, DialStripOilTemp, DialStripFourth,
    DialCombinedRpm, DialCombinedMap, DialCount
};
