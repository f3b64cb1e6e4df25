// The extremes overlays (flight and engine statistics since they were last
// cleared) and the empty airport data frame, drawn by the overlay painter over
// the page while they are open. Values come from the statistic records that the
// refresh keeps in their stored units; the overlays convert them for display.
#pragma once

#include <cstddef>
#include <cstdint>

class FGDrawBuffer;

// Which extreme a line shows.
enum { ExtremeMax = 0, ExtremeMin = 1 };

// Longest overlay line, NUL included.
constexpr size_t ExtremeLineSize = 96;

// "%s %s = %d " + unit for a set value; "%s %s  - - -  " + unit for the cleared
// value of its kind (INT32_MIN for a maximum, INT32_MAX for a minimum). Returns
// 1 when the value is set, 0 when it is not.
int FormatExtreme(char* buffer, size_t size, const char* name, const char* unit, int32_t value, int which);
// The unset test on the stored value; a set value shows the converted one.
int FormatConvertedExtreme(char* buffer, size_t size, const char* name, const char* unit, int32_t converted,
                           int32_t stored, int which);

// One text of an overlay at its window position.
struct TOverlayLine {
    int32_t x, y;
    char text[ExtremeLineSize];
};
// Enough for the engine extremes: eight rows of two and six cylinders of two.
constexpr int OverlayMaxLines = 28;

// The lines the overlays draw, from the statistics and the units record; each
// returns the number of lines written (at most OverlayMaxLines).
int FlightExtremeLines(TOverlayLine* lines);
int EngineExtremeLines(TOverlayLine* lines);

// Box geometry of the overlays.
constexpr int FlightExtremesX = 180, FlightExtremesY = 190, FlightExtremesW = 440, FlightExtremesH = 100;
constexpr int EngineExtremesW = 460, EngineExtremesH = 310;
constexpr int EngineExtremesX = (800 - EngineExtremesW) / 2, EngineExtremesY = (480 - EngineExtremesH) / 2;
constexpr int AirportDataX = 40, AirportDataY = 70, AirportDataW = 720, AirportDataH = 340;

// The overlay font of the flight extremes (the language's status font) and the
// 16-px font of the active font set; -1 when not registered.
int OverlayStatusFont();
int Overlay16pxFont();

// A box filled with PalOverlayPanel and outlined with PalOverlayText.
void DrawOverlayBox(FGDrawBuffer* window, int x, int y, int w, int h);

void DrawFlightExtremes(FGDrawBuffer* window);
void DrawAirportData(FGDrawBuffer* window);
void DrawEngineExtremes(FGDrawBuffer* window);
