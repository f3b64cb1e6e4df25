// The static engine-page pictures rendered with OpenGL: the full engine page
// and the engine strip, with the layout records they read. Values are off:
// every block draws only its captions, scales and frames.
#pragma once

#include <cstdint>

constexpr int EngineCaptionsOn = 1;
constexpr int EngineValuesOn = 0;

struct TGLFuelRecord {
    int32_t tankCount;
    int32_t capacity1, reserve1, capacity2, reserve2;
    char unit[12];
    int32_t level1, level2;
    int32_t pressMax, pressLowRedEnd, pressLowYellowEnd, pressYellowStart, pressRedStart, pressDivisions;
    char pressUnit[12];
    int32_t pressValue;
    uint8_t pressShown, pressOneDecimal;
    int32_t pressFlags;  // how the scale writes its numbers (scale format flags)
    int32_t flowMax, flowRedStart, flowDivisions;
    char flowUnit[12];
    int32_t flowValue;
    uint8_t flowShown;
};
extern TGLFuelRecord EngineFuel;

struct TGLTempFace {
    uint8_t shown;
    int32_t kind;  // non-zero CHT, 0 water
    char unit[12];
};
extern TGLTempFace EngineTempFace;

struct TGLCylinders {
    int32_t count;
    int32_t egt[3], cht[3];
    char unit[4];
    int32_t x, y;
};
extern TGLCylinders EngineCylinders;
extern char EngineUnitSigns[6][4];

// The dial templates into the shell's (GLShellLinks.dialConfig) and their dials, and the records' defaults.
void InitEngineLayouts();
// Takes tank, pressure, flow and cylinder settings into the records.
void SyncEngineRecords();

// Scenes, context current, under the flat (page) or strip projection; y upwards.
void DrawEnginePageScene(int width, int height);
void DrawEngineStripScene(int width, int height);

// Block routines (view coordinates, y upwards; format bits below).
constexpr int ScaleOneDecimal = 0x01, ScaleTicksRight = 0x08, ScaleDivideByTen = 0x10;
void GLTankGauge(int x, int y, bool rightHand, int32_t reserve, int32_t capacity, bool caption);
void GLBarScale(int x, int y, int divisions, int32_t lowRedEnd, int32_t lowYellowEnd, int32_t yellowStart,
                int32_t redStart, int32_t maximum, const char* caption, int flags);
void GLFlowScale(int x, int y, int divisions, int32_t maximum, int32_t redStart, const char* caption, int flags);
void GLCylinderBarScale(int x, int y, int direction);

// Background refresh: paints with the flags and keeps a copy of the main
// window (bit 0 set: the strip's); 0 done, else OpenGLPaint's code.
int RebuildEngineBackground(int flags);
