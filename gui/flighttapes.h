// The airspeed and altitude tapes of the flight page with their rolling-digit
// drums, the speed bands, the speed and altitude bugs and the terrain bands.
#pragma once

#include <cstdint>

class FGDrawBuffer;
class FGBitmap;

// Airspeed frame x (E) and altimeter frame x (A) of the two layouts.
constexpr int AirspeedXFull = 89, AirspeedXSplit = 35;
constexpr int AltimeterXFull = 573, AltimeterXSplit = 351;

// Speed zone of the TAS value (0..4), computed by the last airspeed tape.
extern int32_t TasSpeedZone;

// Tape band textures: white, green-white, green, yellow, red, and the side-slip bar.
enum { TapeWhite, TapeGreenWhite, TapeGreen, TapeYellow, TapeRed, SideSlipBar, TapePictureCount };
extern FGBitmap* TapePictures[TapePictureCount];
// Loads them from "Data/" (once; missing files stay null) and frees them.
void LoadTapePictures();
void FreeTapePictures();

// One source cut of a drum: the strip picture, its column and row, the size and
// where it goes. The drums are worked out separately from drawing.
struct TDrumCut {
    int picture;   // TMainPicture slot
    int srcX, srcY;
    int w, h;
    int x, y;
};
// The cuts of the altimeter drums for h (display unit) with the frame at x A;
// returns their number (at most 4); *fiveDigits tells the frame.
int AltimeterDrumCuts(int32_t h, int a, TDrumCut* cuts, bool* fiveDigits);
// The cuts of the airspeed drums for s (tenths of the display unit), frame x E.
int AirspeedDrumCuts(int32_t s, int e, TDrumCut* cuts);
// Speed zone of a TAS value against the converted limits.
int32_t SpeedZone(int32_t tas, int32_t white, int32_t green, int32_t yellow, int32_t red);

void DrawAltimeter();
void DrawAirspeedIndicator();
// Tape, frame, drums and error text of the current layout for an altitude in the
// altitude unit and a speed in tenths of the airspeed unit (the error flags as set).
void DrawAltimeterReadout(int32_t h);
void DrawAirspeedReadout(int32_t s);
void DrawAltitudeTape(int32_t h, FGDrawBuffer* window, int x, int y);
void DrawAirspeedTape(int32_t s, FGDrawBuffer* window, int x, int y);
