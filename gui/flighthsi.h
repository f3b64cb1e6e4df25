// The navigation layers of the flight page: the heading tape with its bugs and
// heading-source box, the 3-D path boxes, the HSI strip (NAV or GPS) with its
// value rows, the radio box, the missing-input annunciation, and the autopilot
// and HSI-source labels of the bottom-left corner. Everything draws into
// MainWindow in screen coordinates.
#pragma once

#include <cstdint>

#include "displayitems.h"

class FGDrawBuffer;

// Heading source of the current frame; the flight page's frame routine sets it
// from its heading reads before it draws the heading tape and the HSI.
struct TFlightHeading {
    int32_t missing;    // neither the azimuth nor the GPS track could be read
    int32_t fromTrack;  // the heading is the GPS track
};
extern TFlightHeading FlightHeading;

// State of other parts that the navigation layers show: the autopilot's mode
// word (0 HDG, 1 TRK, 2 NAV, 3 ALT; its active flag is AutopilotActive), the
// transponder-mode choice open in the menus, and the terrain elevation under
// the aircraft that the terrain view keeps (the unit the altitude tape uses)
// with whether its last update found terrain.
struct TFlightNavLinks {
    int32_t autopilotMode;
    int32_t xpdrModeChoosing;
    int32_t terrainElevation;
    int32_t terrainFound;
};
extern TFlightNavLinks FlightNavLinks;

// Value rows of the NAV strip (rows 1..14) and of the GPS strip (rows 1..19);
// row 0 is not used. The HSI fills their values, the paint draws them.
enum TNavStripRow {
    NavTitle = 1, NavCrsLabel, NavCrs, NavBugLabel, NavBug, NavIdLabel, NavIdent, NavActLabel,
    NavFreqA, NavSbyLabel, NavFreqS, NavBearingA, NavBearingS, NavHeading, NavStripRows
};
enum TGpsStripRow {
    GpsTitle = 1, GpsWptLabel, GpsWpt, GpsCrsLabel, GpsCrs, GpsBrgLabel, GpsBrg, GpsDisLabel, GpsDis,
    GpsAltLabel, GpsAlt, GpsGsLabel, GpsGs, GpsTrkLabel, GpsTrk, GpsBugLabel, GpsBug, GpsHeading,
    GpsDisUnit, GpsStripRows
};
extern TDisplayItem NavStripItems[NavStripRows];
extern TDisplayItem GpsStripItems[GpsStripRows];

// Text item of the radio box.
enum { TextAlignLeft = 0, TextAlignRight = 1, TextAlignCentre = 2 };
struct TTextItem {
    int16_t x, y;
    int32_t font;        // nominal size in the active font set
    uint32_t ink;
    uint32_t paper;      // PageKeyColour: transparent
    int32_t align;
};
static_assert(sizeof(TTextItem) == 20, "text item is 20 bytes");

void DrawTextItem(const TTextItem& item, const char* text);

// heading in tenths of a degree.
void DrawHeadingTape(int32_t heading);
void DrawHeadingBugs(int32_t heading);
void DrawHeadingSourceBox(int x, int y, int missing, int x2, int y2, int fromTrack);
// False while the millisecond clock is at most 30 000, then true for good.
bool HeadingGraceOver();
// The millisecond clock it reads (fg_time_ms; tests replace it).
extern uint32_t (*HeadingGraceClock)();
// Forgets the latch (tests).
void ResetHeadingGrace();

// Angles and attitude in tenths of a degree, altitude in metres.
void Draw3DPath(int32_t heading, int32_t roll, int32_t pitch, int32_t altitude);
// Animation step of the path, 0..195 in steps of 5.
extern int32_t PathStep;

void DrawHsiStrip();
void DrawRadioBox(bool fullWidth);
void DrawInputWarning();
void DrawAutopilotBox(FGDrawBuffer* window);
void DrawHsiSourceLabel(FGDrawBuffer* window);
// Rows first..last of a strip table through DrawDisplayItem.
void DrawStripItems(TDisplayItem* rows, int first, int last);

// Angles in thousandths of a degree, screen y downwards.
void DrawRotatedBar(int cx, int cy, int32_t angle, int length, int width, bool filled, uint32_t colour);
void DrawRotatedRect(int x, int y, int cx, int cy, int32_t angle, int w, int h, bool filled, uint32_t colour);
