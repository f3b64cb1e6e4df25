// The flight page's frame: what each frame reads, the order of its layers, the
// attitude with pitch ladder, bank scale and aircraft symbol, the slip ball and
// side-slip bars, the load factor, the vertical-speed arc and the TAS, OAT, IAT
// and AUXT boxes. The tapes and drums live in flighttapes.h.
#pragma once

#include <cstdint>

#include "displayitems.h"

class FGDrawBuffer;
struct FGPoint;
struct TGLViewInput;

// Where the page's elements sit in one of the two layouts.
struct TFlightLayout {
    int32_t viewX, viewY, viewW, viewH;   // attitude viewport
    int32_t centreX, centreY;             // attitude centre in the viewport
    int32_t screenX;                      // attitude centre on the screen (y 240)
    int32_t greyWidth;                    // grey fill when pitch or roll fails (height 465)
    int32_t slipX, slipY;                 // slip ball centre
    int32_t slipErrX, slipErrY;
    int32_t sideSlipX, sideSlipY;         // side-slip bars' origin
    int32_t sideSlipErrX, sideSlipErrY;
    int32_t loadX, loadY;                 // load-factor text
    int32_t loadErrX, loadErrY;
    int32_t vsiX;                         // vertical-speed scale x (b)
    int32_t vsiErrX, vsiErrY;
};
extern const TFlightLayout FlightLayoutFull;   // ScreenType 2
extern const TFlightLayout FlightLayoutSplit;  // ScreenType 3..6
// The layout of the current ScreenType.
const TFlightLayout& CurrentFlightLayout();

// Error flags of the current frame; the heading, HSI and annunciation routines
// read them in the same frame.
struct TFlightErrors {
    uint8_t pitch, roll;
    uint8_t headingMissing, headingFromTrack;
    uint8_t slip, sideSlip, loadFactor, verticalSpeed;
    uint8_t altitude, airspeed;   // written by the tapes
};
extern TFlightErrors FlightErrors;

// Values of the current frame.
struct TFlightFrame {
    int32_t roll, pitch, heading;   // tenths of a degree
    int32_t altitude;               // metres (0 when missing)
    int32_t loadFactor;             // tenths of g
    int32_t verticalSpeed;          // in the scale's unit (tens of ft/min, tenths of m/s or kt)
    int32_t sideSlipLeft, sideSlipRight;
};
extern TFlightFrame FlightFrame;

// Switches of the page's optional elements (layout flags of the settings).
struct TFlightSwitches {
    uint8_t tasBox, iatBox, auxtBox, headingTape;
};
extern TFlightSwitches FlightSwitches;

// Operations of the GL view and of the heading, HSI, 3-D path, radio and
// annunciation routines, connected by the program; a null entry is skipped.
struct TFlightPageHooks {
    TGLViewInput* glInput;                  // the GL view's input block
    int (*openGLPaint)(int32_t flags);      // 0 when the whole target was painted
    void (*drawHsi)();
    void (*draw3dPath)();
    void (*drawHeadingTape)(int32_t heading);
    void (*drawRadioBox)();
    void (*drawMissingInputs)();
    uint8_t (*symbolAdjustMode)();          // the menus' aircraft-symbol adjust mode
    int32_t (*terrainElevation)();          // metres under the aircraft; see flighttapes.h
};
extern TFlightPageHooks FlightPageHooks;

// The TAS, OAT, IAT and AUXT boxes: label/value pairs in that order.
constexpr int FlightBoxCount = 8;
extern TDisplayItem FlightBoxesFull[FlightBoxCount];
extern TDisplayItem FlightBoxesSplit[FlightBoxCount];

// A channel through the averaging reader; false (value 0) when it has no valid value.
bool ReadFlightChannel(uint32_t id, int32_t* value);
// Font of a nominal size (14, 16, 19, 20, 23, 25, 29, 32, 58) in the active font set.
int FlightFont(int size);
// Ink of the value boxes' labels, and of the speed, altitude and heading bugs
// (not the pictures' key: PageKeyColour differs by its top byte).
constexpr uint32_t FlightLabelInk = 0xD8D0B8;
constexpr uint32_t FlightBugMagenta = 0xF000F0;

// A text in the font of a nominal size; paper PageKeyColour leaves the
// background. The window's font and mode are restored afterwards.
void DrawFlightText(FGDrawBuffer* w, int x, int y, const char* text, int size, uint32_t ink, uint32_t paper);
// Width of a text in the font of a nominal size (0 without that font).
int FlightTextWidth(int size, const char* text);
// A polygon of n points, filled or as its outline.
void DrawFlightPolygon(FGDrawBuffer* w, const FGPoint* pts, int n, bool filled, uint32_t colour);
// An "  ERR  "-type text (translated): font 16, black on red.
void DrawErrText(FGDrawBuffer* w, int x, int y, const char* text);

// One frame of the page's dynamic layers.
// With a paper colour, the window's paper is laid here, unless the GL picture
// covers the whole window.
void DrawFlightPage(const uint32_t* paper = nullptr);
// Pitch and roll in radians.
void DrawAttitude(float pitch, float roll);
// Pitch and roll in tenths of a degree; returns the upper end of the drawn ladder (tenths).
int DrawPitchLadder(int a, int b);
void DrawAircraftSymbol(int offset);
void DrawVerticalSpeed(int32_t value, int b, int height, FGDrawBuffer* window);
int32_t RoundDiv1000(int64_t v);
// The needle angle (tenths of a degree, positive below the centre line) of a value
// in the scale's unit; *peg is -1 below the scale, 1 above it, else 0.
int32_t VerticalSpeedAngle(int32_t value, int unit, int* peg);
// The load-factor text ("" while 0.5 g .. 1.5 g).
void FormatLoadFactor(char* buffer, int size, int32_t tenths);
