// The read-only setup information pages that the overlay painter draws beside the setup
// menus (units, external devices, radio memories, data sharing, autopilot servos and axes,
// range and limits, sensors, thermocouples, aircraft), and the fuel-pressure zero
// calibration box, which also drives its calibration steps.
//
// Every page is built first as a list of boxes and texts (TInfoPage) from the settings
// records, then drawn; the build step is what tests read back. A page draws only while
// its show flag (overlay painter) is set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

class FGDrawBuffer;

// ---- the pages, in the painter's order; (fill raster op, text raster op, fill colour) ----
void DrawServoSetupPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawServoDeflectionPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawRollAxisPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawPitchAxisPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawUnitsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);  // both boxes by flag
void DrawDevicesPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);  // both variants by flag
void DrawMemoryFieldsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawDataSharingPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawRangeLimitsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawSensorsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawAirTempSensorsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawThermocouplePage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);
void DrawAircraftPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour);  // full or short by flag

// ---- fuel-pressure zero calibration ----
enum {
    FuelCalibHidden = 0,
    FuelCalibWaitSet = 1,       // "Press Set to store new value"
    FuelCalibSend1 = 2,         // command 512 goes out
    FuelCalibWait1 = 3,
    FuelCalibSend2 = 4,         // command 513 goes out
    FuelCalibWait2 = 5,
    FuelCalibDone = 6,
    FuelCalibSensorError = 7,
    FuelCalibEcuCommError = 8,
    FuelCalibSensorFailed = 9,
    FuelCalibEcuFailed = 10,
};
extern int FuelPressCalibState;       // 0 hidden; the box is drawn while non-zero
extern int64_t FuelPressCalibStartMs;  // monotonic time at which the last command went out
// Monotonic milliseconds of the calibration's wait; tests put a fake clock here.
extern std::function<int64_t()> FuelPressCalibClock;
constexpr int64_t FuelCalibAnswerWaitMs = 2000;  // the answer is not looked at earlier
constexpr int32_t FuelCalibCommandZero = 512, FuelCalibCommandEcu = 513;

// Draws the box and advances the calibration by one step (no-op in state 0).
void DrawFuelPressZeroCalib(FGDrawBuffer* window);
// Message line of a state ("Please wait...", "Sensor calibration failed !"; "" for 0).
const char* FuelPressCalibMessage(int state, char* buffer, size_t size);
// Binds the calibration's keys for its current state: '5' "Set" (state 1, to state 2),
// '4' "Cancel" in every state, '5' "OK" once it has ended; the others to nothing.
void BindFuelPressCalibKeys();
// Key callback: leaves the calibration from any state (Cancel and OK).
void FuelPressCalibLeave(int32_t unused);
// Key callback of Set: state 1 to 2 (the argument names the state to go to: 2 or 4).
void FuelPressCalibSet(int32_t state);

// ---- page model (what the draw step paints; tests read it back) ----
enum : uint8_t { PageAlignLeft = 0, PageAlignRight = 1, PageAlignCentre = 2 };
enum : uint8_t { PageFontBody = 10, PageFontTitle = 11 };
constexpr uint32_t PageTextColour = 0xFFFFFFFFu;  // "the panel paper colour" (scheme dependent)
constexpr uint32_t PageBackColour = 0xFFFFFFFEu;  // "the panel ink colour" (scheme dependent)
constexpr size_t PageTextSize = 112;
struct TPageText {
    int32_t x, y;      // anchor: left end, right end or centre by align
    uint8_t font;      // PageFontBody or PageFontTitle
    uint8_t align;
    uint8_t shiftBy;   // n > 0: x moves right by the width of text n - 1 (in this text's font)
    uint32_t ink, paper;
    char text[PageTextSize];
};
struct TPageRect {
    int32_t x, y, w, h;
    uint32_t colour;
    uint8_t filled;    // 0 outline
};
constexpr int PageMaxTexts = 176, PageMaxRects = 16;
struct TInfoPage {
    int32_t x, y, w, h;  // the page box; w 0: nothing to draw
    int textCount, rectCount;
    TPageText texts[PageMaxTexts];
    TPageRect rects[PageMaxRects];  // drawn after the box, before the texts
};

// Builders: fill page from the settings records (no show-flag test). Variant: units 0
// flight box, 1 engine box; devices 0 flight, 1 engine screen; aircraft 0 full, 1 short.
void BuildUnitsPage(TInfoPage* page, int variant);
void BuildDevicesPage(TInfoPage* page, int variant);
void BuildMemoryFieldsPage(TInfoPage* page);
void BuildDataSharingPage(TInfoPage* page);
void BuildServoSetupPage(TInfoPage* page);
void BuildServoDeflectionPage(TInfoPage* page);
void BuildRollAxisPage(TInfoPage* page);
void BuildPitchAxisPage(TInfoPage* page);
void BuildRangeLimitsPage(TInfoPage* page);
void BuildSensorsPage(TInfoPage* page);
void BuildAirTempSensorsPage(TInfoPage* page);
void BuildThermocouplePage(TInfoPage* page);
void BuildAircraftPage(TInfoPage* page, int variant);
void BuildFuelPressCalibBox(TInfoPage* page);
// Paints a built page: box fill with fillOp, then outline, rects and texts with textOp.
void PaintInfoPage(FGDrawBuffer* window, const TInfoPage& page, int fillOp, int textOp, uint32_t fillColour);
// Where the painter starts a text: its anchor moved by align and shiftBy, in its role font.
int PageTextLeft(const TInfoPage& page, const TPageText& text);
// The text anchored at (x, y), or null.
const TPageText* FindPageText(const TInfoPage& page, int x, int y);

// ---- formatting shared with the setup editors ----
// Title of the units record: "Units Metric", "Units Imperial UK", "Units Imperial US", "Units Custom".
const char* UnitsTitle();
// Fixed point with the sign kept for values between -1 and 0: "%s%d.%0*d".
int FormatFixedSigned(char* buffer, size_t size, int64_t value, int decimals);
