#include "flighthsi.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "averdata.h"
#include "chandesc.h"
#include "configmanager.h"
#include "fgbase.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "flightpage.h"
#include "hkmeasure.h"
#include "lookup.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

TFlightHeading FlightHeading = {0, 0};
TFlightNavLinks FlightNavLinks = {0, 0, 0, 0};
int32_t PathStep = 0;

namespace {

constexpr FGPixel Black = 0x000000, White = WhiteColour;
// The palette's colours, read when drawing (start-up fills the palette).
const FGPixel& NavGreen = DisplayPalette.PalNavGreen;
const FGPixel& GpsBlue = DisplayPalette.PalGpsBlue;
const FGPixel& Yellow = DisplayPalette.PalYellow;
const FGPixel& Red = DisplayPalette.PalRed;
const FGPixel& Orange = DisplayPalette.PalOrange;
const FGPixel& StandbyOrange = DisplayPalette.PalOrangeRed;
constexpr FGPixel XpdrRed = 0xF80000;
constexpr FGPixel BoxGreen = 0x00F800;     // autopilot box, HSI label, 3-D path
constexpr int32_t FullTurn = 360000;       // thousandths of a degree
constexpr int32_t Missing = -9998;         // values below are "no value"

int32_t Turn(int64_t milli) {
    int64_t a = milli % FullTurn;
    return static_cast<int32_t>(a < 0 ? a + FullTurn : a);
}

// Tenths of a degree into 0..3599 and into the short way -1800..1800.
int32_t Tenths360(int64_t v) {
    int64_t a = v % 3600;
    return static_cast<int32_t>(a < 0 ? a + 3600 : a);
}
int32_t ShortWay(int64_t v) {
    int32_t a = Tenths360(v);
    return a > 1800 ? a - 3600 : a;
}

bool Valid(int32_t v) { return v > Missing; }

// A channel straight from the block.
bool ReadBlock(uint32_t id, int32_t& value) {
    value = 0;
    return AverReader && AverReader->Vals && AverReader->Vals->GetVal(id, value) >= 0;
}

// Bounded copy that always ends the text.
void Copy(char* dst, size_t capacity, const char* src) {
    const size_t n = strnlen(src, capacity - 1);
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

FGBitmap* Picture(int slot) { return MainPictures[slot]; }

void Blit(FGDrawBuffer* w, int x, int y, int sx, int sy, int width, int height, FGBitmap* pic) {
    if (pic) w->bitblt(x, y, sx, sy, width, height, pic);
}

// ---- the card of the HSI ----

constexpr int CardX = 670, CardY = 310;

// The point at radius r (negative: the tail side) in the direction of a card
// angle (bearing + 90 degrees - card heading, thousandths).
FGPoint CardPoint(int64_t angle, int64_t r, int64_t across = 0) {
    const int32_t a = Turn(angle);
    const int64_t c = CosMilli(a), s = SinMilli(a);
    // Along: -(cos, sin); across: (sin, -cos), the right-hand side of "along".
    return {SatInt32(CardX + (-c * r + s * across) / 1000), SatInt32(CardY + (-s * r - c * across) / 1000)};
}

void CardBar(int64_t angle, int64_t r, int length, int width, bool filled, FGPixel colour, int64_t across = 0) {
    const FGPoint p = CardPoint(angle, r, across);
    DrawRotatedBar(p.x, p.y, Turn(angle), length, width, filled, colour);
}

// Triangle along the card angle: tip at radius tip, base at radius base.
void CardTriangle(FGDrawBuffer* w, int64_t angle, int64_t tip, int64_t base, int64_t width, FGPixel colour) {
    const FGPoint pts[3] = {CardPoint(angle, tip), CardPoint(angle, base, width / 2),
                            CardPoint(angle, base, -width / 2)};
    DrawFlightPolygon(w, pts, 3, true, colour);
}

int32_t CardAngle(int32_t tenths, int32_t headingMilli) {
    return Turn(static_cast<int64_t>(tenths) * 100 + 90000 - headingMilli);
}

// ---- the strip rows ----

TDisplayItem Label(int x, int y, const char* text) {
    TDisplayItem it = {};
    it.x = x;
    it.y = y;
    Copy(it.text, sizeof it.text, text);
    it.value = ItemPlainText;
    it.fontCode = 8;
    it.width = 40;
    it.height = 16;
    it.textColour = static_cast<int32_t>(FlightLabelInk);
    return it;
}

// A value right-aligned to x + width.
TDisplayItem Value(int x, int y, int width, int fontCode) {
    TDisplayItem it = {};
    it.x = x;
    it.y = y;
    std::snprintf(it.text, sizeof it.text, "- - -");
    it.value = ItemNoValue;
    it.fontCode = fontCode;
    it.width = width;
    it.height = 22;
    it.textColour = static_cast<int32_t>(White);
    return it;
}

TDisplayItem Centred(int x, int y, int width, int fontCode) {
    TDisplayItem it = Value(x, y, width, fontCode);
    it.value = ItemLabel;
    return it;
}

void SetNumber(TDisplayItem& it, int32_t value) {
    if (Valid(value)) {
        it.value = value;
        it.decimals = 0;
    } else {
        it.value = ItemNoValue;
        std::snprintf(it.text, sizeof it.text, "- - -");
    }
}

void SetText(TDisplayItem& it, const char* text) {
    it.value = ItemNoValue;
    Copy(it.text, sizeof it.text, text && *text ? text : "- - -");
}

void SetLabel(TDisplayItem& it, const char* english) {
    Copy(it.text, sizeof it.text, gettext(english));
}

}  // namespace

// Left column values end at x 655 (circle markers at 660), right column ones
// at x 762 (markers at 767); the heading readout sits in the lubber frame.
TDisplayItem NavStripItems[NavStripRows] = {
    {},
    Centred(560, 3, 238, 10),
    Label(563, 27, "CRS"), Value(595, 20, 60, 12),
    Label(672, 27, "BUG"), Value(702, 20, 60, 12),
    Label(563, 52, "ID"), Value(585, 48, 70, 10),
    Label(672, 52, "ACT"), Value(700, 48, 95, 10),
    Label(672, 76, "SBY"), Value(700, 72, 95, 10),
    Value(620, 100, 35, 12), Value(727, 100, 35, 12),
    Centred(632, 172, 76, 12),
};

TDisplayItem GpsStripItems[GpsStripRows] = {
    {},
    Centred(560, 3, 238, 10),
    Label(563, 27, "WPT"), Value(590, 24, 65, 8),
    Label(672, 27, "CRS"), Value(702, 20, 60, 12),
    Label(563, 52, "BRG"), Value(622, 42, 43, 12),
    Label(672, 52, "DIS"), Value(695, 48, 67, 10),
    Label(563, 86, "ALT"), Value(595, 82, 60, 10),
    Label(672, 86, "GS"), Value(702, 82, 60, 10),
    Label(563, 126, "TRK"), Value(595, 122, 60, 12),
    Label(672, 126, "BUG"), Value(702, 122, 60, 12),
    Centred(632, 172, 76, 12),
    Label(765, 52, ""),
};


void DrawTextItem(const TTextItem& item, const char* text) {
    FGDrawBuffer* w = MainWindow;
    if (!w || !text) return;
    int x = item.x;
    const int width = FlightTextWidth(item.font, text);
    if (item.align == TextAlignRight) x -= width;
    else if (item.align == TextAlignCentre) x -= width / 2;
    DrawFlightText(w, x, item.y, text, item.font, item.ink, item.paper);
}

void DrawStripItems(TDisplayItem* rows, int first, int last) {
    if (!rows) return;
    for (int i = first; i <= last; ++i) DrawDisplayItem(&rows[i]);
}

// ---- rotated shapes ----

void DrawRotatedBar(int cx, int cy, int32_t angle, int length, int width, bool filled, uint32_t colour) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const int32_t a = Turn(angle);
    const int64_t c = CosMilli(a), s = SinMilli(a);
    const int64_t lx = c * length, ly = s * length;   // along, x 1000
    const int64_t wx = -s * width, wy = c * width;    // across, x 1000
    const FGPoint pts[4] = {
        {SatInt32(cx + (-lx - wx) / 2000), SatInt32(cy + (-ly - wy) / 2000)},
        {SatInt32(cx + (lx - wx) / 2000), SatInt32(cy + (ly - wy) / 2000)},
        {SatInt32(cx + (lx + wx) / 2000), SatInt32(cy + (ly + wy) / 2000)},
        {SatInt32(cx + (-lx + wx) / 2000), SatInt32(cy + (-ly + wy) / 2000)},
    };
    DrawFlightPolygon(w, pts, 4, filled, colour);
}

void DrawRotatedRect(int x, int y, int cx, int cy, int32_t angle, int w, int h, bool filled, uint32_t colour) {
    FGDrawBuffer* win = MainWindow;
    if (!win) return;
    const int32_t a = Turn(angle);
    const int64_t c = CosMilli(a), s = SinMilli(a);
    const int64_t corner[4][2] = {{2LL * x - w, 2LL * y - h}, {2LL * x + w, 2LL * y - h},
                                  {2LL * x + w, 2LL * y + h}, {2LL * x - w, 2LL * y + h}};
    FGPoint pts[4];
    for (int i = 0; i < 4; ++i) {
        const int64_t px = corner[i][0], py = corner[i][1];   // doubled
        pts[i] = {SatInt32(cx + (px * c - py * s) / 2000), SatInt32(cy + (px * s + py * c) / 2000)};
    }
    DrawFlightPolygon(win, pts, 4, filled, colour);
}

// ---- heading tape ----

namespace {
bool HeadingGraceLatched = false;
}  // namespace
uint32_t (*HeadingGraceClock)() = fg_time_ms;

bool HeadingGraceOver() {
    if (!HeadingGraceLatched && (HeadingGraceClock ? HeadingGraceClock() : fg_time_ms()) > 30000)
        HeadingGraceLatched = true;
    return HeadingGraceLatched;
}

void ResetHeadingGrace() { HeadingGraceLatched = false; }

void DrawHeadingSourceBox(int x, int y, int missing, int x2, int y2, int fromTrack) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    if (missing) {
        int32_t status = 0;
        const bool read = ReadBlock(echInternalInputStatus, status);
        if (read && (status & 0x2000)) {
            if (!(CompassSetting.calibFlags & 0x2)) DrawFlightText(w, x, y, gettext("  CAL  "), 16, Black, Yellow);
        } else if (read && !HeadingGraceOver()) {
            DrawFlightText(w, x, y, gettext("  CON  "), 16, Black, Orange);
        } else {
            DrawFlightText(w, x, y, gettext("  ERR  "), 16, Black, Red);
        }
    }
    if (fromTrack) DrawFlightText(w, x2, y2, gettext(" GPS "), 14, Black, GpsBlue);
}

namespace {

// Tape width and centre of the heading tape.
int TapeWidth() { return ScreenType == ScreenFlight ? 800 : 560; }
int TapeCentre() { return TapeWidth() / 2 - 2 - (ScreenType == ScreenFlight ? 0 : 20); }

int TapeX(int32_t target, int32_t heading) {
    const int64_t x = static_cast<int64_t>(ShortWay(static_cast<int64_t>(target) - heading)) * 100 / 125 + TapeCentre();
    return static_cast<int>(std::min<int64_t>(std::max<int64_t>(x, 15), TapeWidth() - 15));
}

int32_t HeadingBugTenths() {
    const int64_t bug = DisplaySetting.hdgBug;
    return Tenths360((bug < 0 ? -bug : bug) * 10);
}

// Course of the navigation source in tenths (the heading bug without one);
// Missing - 1 when that value is missing.
int32_t SourceCourse() {
    switch (ViewSetting.navSource) {
        case 1:
        case 3: {
            // Read here: the refresh fills the NAV values only for the NAV strip.
            int32_t obs;
            return ReadFlightChannel(echNavObs, &obs) ? obs : Missing - 1;
        }
        case 2: {
            int32_t btw;
            return ReadFlightChannel(echGPSBtw, &btw) ? btw : Missing - 1;
        }
        default:
            return HeadingBugTenths();
    }
}

bool PathOrMarkerEnabled() {
    return DisplaySetting.bugsShown && (ViewSetting.navSource != 0 || DisplaySetting.hdgBugOn);
}

}  // namespace

void DrawHeadingBugs(int32_t heading) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const int32_t h = Tenths360(heading);
    if (DisplaySetting.hdgBugOn) {
        const int x = TapeX(HeadingBugTenths(), h);
        const FGPoint bug[7] = {{x - 11, 35}, {x - 6, 35}, {x, 40}, {x + 6, 35}, {x + 11, 35}, {x + 11, 44}, {x - 11, 44}};
        DrawFlightPolygon(w, bug, 7, true, FlightBugMagenta);
    }
    if (!PathOrMarkerEnabled()) return;
    const int source = ViewSetting.navSource;
    if (source != 1 && source != 2) return;
    const int32_t course = SourceCourse();
    if (!Valid(course)) return;
    w->fillcircle(TapeX(Tenths360(course), h), 50, 6, source == 1 ? NavGreen : GpsBlue);
}

void DrawHeadingTape(int32_t heading) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const int32_t h = Tenths360(heading);
    int32_t d = (h + 5) / 10;
    if (d == 360) d = 0;
    const bool full = ScreenType == ScreenFlight;
    const int stripX = full ? 10 : 5, stripW = full ? 780 : 548, shift = full ? 122 : 256;
    const int windowX = full ? 362 : 222, digitX = full ? 408 : 268;
    const int boxX = full ? 410 : 270, gpsX = full ? 423 : 283;

    Blit(w, stripX, 5, h * 80 / 100 + shift, 0, stripW, 42, Picture(PicKompas));
    DrawHeadingBugs(h);
    Blit(w, windowX, 0, 0, 0, 75, 43, Picture(Pic3dKompas));
    const int digits[3] = {d % 10, d / 10 % 10, d / 100};
    for (int i = 0; i < 3; ++i)
        Blit(w, digitX - 16 * i, 1, 0, 1252 - 112 * digits[i], 14, 32, Picture(PicStovky));
    DrawHeadingSourceBox(boxX, 28, FlightHeading.missing, gpsX, 25, FlightHeading.fromTrack);
}

// ---- 3-D path ----

void Draw3DPath(int32_t heading, int32_t roll, int32_t pitch, int32_t altitude) {
    FGDrawBuffer* w = MainWindow;
    const int32_t course = SourceCourse();
    if (!w || !PathOrMarkerEnabled() || FlightHeading.missing || !Valid(altitude) || !Valid(course)) {
        PathStep = 0;
        return;
    }
    if (PathStep < 0 || PathStep > 195 || PathStep % 5) PathStep = 0;
    const int64_t width = TapeWidth();
    const int64_t x0 = static_cast<int64_t>(ShortWay(static_cast<int64_t>(Tenths360(course)) - heading)) * 100 / 125;
    int64_t p = pitch % 1800;
    if (p > 900) p -= 1800;
    int64_t target = DisplaySetting.altBug / 10;
    // Terrain elevations are metres, as the altitude tape takes them: 300 m above the terrain.
    if (TerrainViewOn) target = std::max<int64_t>(target, static_cast<int64_t>(FlightNavLinks.terrainElevation) + 300);
    const int64_t v = std::max<int64_t>(std::min<int64_t>((altitude - target) * 4, 500), -500);
    const int64_t r = ShortWay(roll);
    const int64_t y0 = p % 900 * 1144 / 1000;
    for (int i = 0; i < 5; ++i) {
        const int64_t o = PathStep / 10 + 20 * i;
        const int64_t scale = (2 * o * o * o - 78 * o * o + 1459 * o + 100000) / 10000;
        DrawRotatedRect(SatInt32(x0 * (100 - o) / 100), SatInt32(y0 * (100 - o) / 100 + v * o / 100),
                        static_cast<int>(width / 2 - 20), 240, Turn((o - 100) * r / 100 * 100),
                        SatInt32(width * scale / 300 * 2), SatInt32(480 * scale / 300 * 2), false, BoxGreen);
    }
    PathStep = PathStep + 5 >= 200 ? 0 : PathStep + 5;
}

// ---- HSI strip ----

namespace {

int32_t CdiCourse = 0;   // the OBS course, held while a localizer is detected

void Dot(FGDrawBuffer* w, int x, int y, int r, FGPixel c) { w->fillcircle(x, y, r, c); }

void Diamond(FGDrawBuffer* w, int x, int y, FGPixel c) {
    const FGPoint pts[4] = {{x, y - 5}, {x + 5, y}, {x, y + 5}, {x - 5, y}};
    DrawFlightPolygon(w, pts, 4, false, c);
}

void TitleBox(FGDrawBuffer* w, FGPixel colour, TDisplayItem& title, const char* text) {
    w->box(560, 1, 238, 22, colour);
    if (text) SetLabel(title, text);
    DrawDisplayItem(&title);
}

// Whole degrees 0..359 of a value in tenths; no value stays no value.
int32_t Degrees(int32_t tenths) { return Valid(tenths) ? Tenths360(tenths) / 10 : ItemNoValue; }

// "%d.%02d" of hundredths, or "- - -".
void SetHundredths(TDisplayItem& it, int64_t v, bool valid) {
    if (!valid) {
        SetText(it, nullptr);
        return;
    }
    const int64_t a = v < 0 ? -v : v;
    std::snprintf(it.text, sizeof it.text, "%s%lld.%02lld", v < 0 ? "-" : "", static_cast<long long>(a / 100),
                  static_cast<long long>(a % 100));
    it.value = ItemNoValue;
}

// The deviation bar, 100 x 5 along the course, moved across it by dev / 1000 px
// (positive: the right-hand side of the course arrow).
void DeviationBar(int32_t courseAngle, int64_t dev, FGPixel colour) {
    dev = std::max<int64_t>(std::min<int64_t>(dev, 40000), -40000);
    CardBar(courseAngle, 0, 100, 5, true, colour, dev / 1000);
}

struct TNeedles {
    int32_t course = Missing - 1;    // tenths
    int32_t first = Missing - 1;     // NAV active bearing or GPS bearing to waypoint
    int32_t standby = Missing - 1;   // NAV standby bearing
    int32_t track = Missing - 1;     // GPS track
};

void NavRows(FGDrawBuffer* w, bool locDetected, TNeedles& n) {
    const TRefreshValues& rv = RefreshValues;
    TDisplayItem* it = NavStripItems;
    SetLabel(it[NavCrsLabel], gettext_noop("CRS"));
    SetLabel(it[NavBugLabel], gettext_noop("BUG"));
    SetLabel(it[NavIdLabel], gettext_noop("ID"));
    SetLabel(it[NavActLabel], gettext_noop("ACT"));
    SetLabel(it[NavSbyLabel], gettext_noop("SBY"));
    Copy(it[NavTitle].text, sizeof it[NavTitle].text, gettext(rv.navTitle));
    if (rv.navValid == 1) TitleBox(w, NavGreen, it[NavTitle], nullptr);
    else if (Valid(rv.navValid)) TitleBox(w, Yellow, it[NavTitle], gettext_noop("NAV - NO ACTIVE"));
    else TitleBox(w, Red, it[NavTitle], gettext_noop("NAV - NO DATA"));

    n.course = locDetected ? CdiCourse : rv.navObs;
    n.first = rv.navBta;
    n.standby = rv.navBts;
    SetNumber(it[NavCrs], Degrees(n.course));
    SetNumber(it[NavBug], Degrees(HeadingBugTenths()));
    SetNumber(it[NavBearingA], Degrees(n.first));
    SetNumber(it[NavBearingS], Degrees(n.standby));
    for (const FGPoint& p : {FGPoint{660, 30}, FGPoint{767, 30}, FGPoint{660, 110}, FGPoint{767, 110}})
        Dot(w, p.x, p.y, 2, NavGreen);
    Diamond(w, 610, 115, Yellow);
    w->circle(715, 115, 5, StandbyOrange);
    SetText(it[NavIdent], rv.navIdent);
    SetHundredths(it[NavFreqA], rv.navFreqA, Valid(rv.navFreqA) && rv.navFreqA >= 0);
    SetHundredths(it[NavFreqS], rv.navFreqS, Valid(rv.navFreqS) && rv.navFreqS >= 0);
}

void GpsRows(FGDrawBuffer* w, TNeedles& n) {
    const TRefreshValues& rv = RefreshValues;
    TDisplayItem* it = GpsStripItems;
    SetLabel(it[GpsWptLabel], gettext_noop("WPT"));
    SetLabel(it[GpsCrsLabel], gettext_noop("CRS"));
    SetLabel(it[GpsBrgLabel], gettext_noop("BRG"));
    SetLabel(it[GpsDisLabel], gettext_noop("DIS"));
    SetLabel(it[GpsAltLabel], gettext_noop("ALT"));
    SetLabel(it[GpsGsLabel], gettext_noop("GS"));
    SetLabel(it[GpsTrkLabel], gettext_noop("TRK"));
    SetLabel(it[GpsBugLabel], gettext_noop("BUG"));
    SetLabel(it[GpsDisUnit], DistanceUnitText(UnitsSetting.distance));

    int32_t word = 0;
    const bool readable = ReadFlightChannel(echGPSValid, &word);
    const int fix = word & 0xFF;
    const bool valid = ((word >> 8) & 1) && fix >= 1 && fix <= 3;
    Copy(it[GpsTitle].text, sizeof it[GpsTitle].text, gettext("GPS"));
    if (!readable) TitleBox(w, Red, it[GpsTitle], gettext_noop("GPS - NO DATA"));
    else if (!valid) TitleBox(w, Yellow, it[GpsTitle], gettext_noop("GPS - NO VALID"));
    else if (!Valid(rv.gpsCdi)) TitleBox(w, Yellow, it[GpsTitle], gettext_noop("GPS - NO ACTIVE"));
    else TitleBox(w, GpsBlue, it[GpsTitle], nullptr);

    int32_t v;
    n.course = ReadFlightChannel(echGPSCrs, &v) ? v : Missing - 1;
    n.first = ReadFlightChannel(echGPSBtw, &v) ? v : Missing - 1;
    n.track = rv.gpsTrack;
    SetText(it[GpsWpt], rv.gpsIdent);
    SetNumber(it[GpsCrs], Degrees(n.course));
    Dot(w, 767, 30, 2, GpsBlue);
    SetNumber(it[GpsBrg], Degrees(n.first));
    Dot(w, 670, 50, 2, GpsBlue);
    SetHundredths(it[GpsDis], ConvertDistance(UnitsSetting.distance, rv.gpsDistance), Valid(rv.gpsDistance));
    SetNumber(it[GpsAlt], !Valid(rv.gpsAlt) ? ItemNoValue
                          : UnitsSetting.altitude == UnitFeet ? FeetFromMetres(rv.gpsAlt)
                                                       : rv.gpsAlt);
    int32_t gs = ItemNoValue;
    if (Valid(rv.gpsGroundSpeed)) gs = ConvertSpeed(UnitsSetting.airspeed, rv.gpsGroundSpeed / 10);
    SetNumber(it[GpsGs], gs);
    SetNumber(it[GpsTrk], Degrees(n.track));
    Dot(w, 660, 130, 2, GpsBlue);
    SetNumber(it[GpsBug], Degrees(HeadingBugTenths()));
    Dot(w, 767, 130, 2, GpsBlue);
    Diamond(w, 615, 55, Yellow);
}

// Scale of the GPS cross-track by the distance to the waypoint.
void GpsDeviation(FGDrawBuffer* w, int32_t courseAngle, bool courseValid, FGPixel needle) {
    const TRefreshValues& rv = RefreshValues;
    if (!Valid(rv.gpsCdi)) return;
    const char* letter = gettext_noop(" I ");
    const char* range = gettext_noop(" 1.25 NM ");
    int64_t factor = -320;
    if (Valid(rv.gpsDistance)) {
        const int64_t nm = ConvertDistance(UnitNm, rv.gpsDistance);
        if (nm <= 199) {
            letter = gettext_noop(" F ");
            range = gettext_noop(" 0.25 NM ");
            factor = -1600;
        } else if (nm > 3000) {
            letter = gettext_noop(" E ");
            range = gettext_noop(" 5.0 NM ");
            factor = -80;
        }
    }
    DrawFlightText(w, 585, 406, gettext(letter), 20, needle, Black);
    // At x 725 unless the range would run off the screen with the fonts at hand.
    const char* rangeText = gettext(range);
    DrawFlightText(w, std::min(725, 799 - FlightTextWidth(20, rangeText)), 406, rangeText, 20, needle, Black);
    w->box(584, 406, 20, 20, needle);
    if (courseValid) DeviationBar(courseAngle, -(static_cast<int64_t>(rv.gpsCdi) * factor), needle);
}

void NavFlags(FGDrawBuffer* w, int32_t courseAngle, bool courseValid, bool locDetected, FGPixel needle) {
    const TRefreshValues& rv = RefreshValues;
    if (rv.navFrom == 1) {
        if (courseValid) CardTriangle(w, courseAngle, -42, -29, 16, needle);
        DrawFlightText(w, 575, 180, gettext("FROM "), 20, White, Black);
        const FGPoint t[3] = {{590, 200}, {602, 200}, {596, 206}};
        DrawFlightPolygon(w, t, 3, true, White);
    }
    if (rv.navTo == 1) {
        if (courseValid) CardTriangle(w, courseAngle, 42, 29, 16, needle);
        DrawFlightText(w, 587, 148, gettext("TO "), 20, White, Black);
        const FGPoint t[3] = {{590, 175}, {602, 175}, {596, 169}};
        DrawFlightPolygon(w, t, 3, true, White);
    }
    if (rv.navValid == 1 && Valid(rv.navCdiDef) && courseValid) {
        const int64_t raw = locDetected ? static_cast<int64_t>(rv.navCdiDef) * 2 : rv.navCdiDef;
        DeviationBar(courseAngle, raw * 400, needle);
    } else {
        DrawFlightText(w, 740, 170, gettext(" NAV "), 16, Black, Red);
    }
    if (!locDetected) return;
    for (int i = 0; i < 15; ++i) w->pixel(795, 226 + 12 * i, White), w->pixel(794, 226 + 12 * i, White);
    for (int y : {226, 310, 394}) w->line(795, y, 785, y, White);
    if (rv.navGsiValid == 1 && Valid(rv.navGsiDef)) {
        const int64_t scaled = static_cast<int64_t>(rv.navGsiDef) * 142857 / 20000;
        const int d = scaled > 100 ? 84 : static_cast<int>(std::max<int64_t>(std::min<int64_t>(scaled * 840 / 1000, 84), -84));
        const FGPoint t[3] = {{795, 310 + d}, {783, 304 + d}, {783, 316 + d}};
        DrawFlightPolygon(w, t, 3, true, Yellow);
    } else {
        DrawFlightText(w, 750, 200, gettext(" GS "), 16, Black, Red);
    }
}


// The pictures' card labels: label j is the 32 x 16 block at row 28 j + 3.
void CardLabels(FGDrawBuffer* w, int32_t headingMilli) {
    FGBitmap* labels = Picture(PicStupniceHsi);
    if (!labels) return;
    for (int j = 0; j < 12; ++j) {
        const FGPoint p = CardPoint(CardAngle(300 * j, headingMilli), 67);
        w->bitblt(p.x - 16, p.y - 8, 0, 28 * j + 3, 32, 16, labels);
    }
}

}  // namespace

void DrawHsiStrip() {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const TRefreshValues& rv = RefreshValues;
    w->set_mode(DrawModeCopy);
    w->fillbox(558, 0, 800 - 558, 480, Black);

    int32_t loc = 0;
    const bool locDetected = ReadFlightChannel(echNavLocDetect, &loc) && loc == 1;
    if (!locDetected) CdiCourse = rv.navObs;

    FGPixel needle = White;
    TNeedles n;
    TDisplayItem* heading = nullptr;
    if (StripIndex == 1) {
        needle = NavGreen;
        NavRows(w, locDetected, n);
        heading = &NavStripItems[NavHeading];
    } else if (StripIndex == 2) {
        needle = GpsBlue;
        GpsRows(w, n);
        heading = &GpsStripItems[GpsHeading];
    }

    int32_t cardTenths = 0;
    ReadFlightChannel(FlightHeading.fromTrack ? echGPSTrk : echInercialAzimut, &cardTenths);
    cardTenths = Tenths360(cardTenths);
    const int32_t hm = cardTenths * 100;

    Blit(w, 630, 169, 0, 0, 80, 37, Picture(PicRamecekHsi));
    for (int d = 0; d < 360; d += 5) {
        const int len = d % 30 == 0 ? 20 : d % 10 == 0 ? 10 : 5;
        const int32_t a = CardAngle(d * 10, hm);
        const FGPoint p = CardPoint(a, 104), q = CardPoint(a, 104 - len);
        w->line(p.x, p.y, q.x, q.y, White);
    }
    if (DisplaySetting.hdgBugOn) {
        const int32_t a = CardAngle(HeadingBugTenths(), hm);
        CardBar(a, 107, 10, 24, true, FlightBugMagenta);
        CardTriangle(w, a, 102, 113, 10, Black);
    }
    if (Valid(n.first)) {
        const int32_t a = CardAngle(n.first, hm);
        CardBar(a, 0, 188, 1, true, Yellow);
        CardBar(a, 0, 108, 4, true, Black);
        CardBar(a, -(14 + 85 / 2), 85, 14, false, Yellow);
        const FGPoint head = CardPoint(a, 40);
        DrawRotatedRect(0, 0, head.x, head.y, Turn(a + 45000), 20, 20, false, Yellow);
        w->fillcircle(CardX, CardY, 15, Black);
    }
    if (StripIndex == 1 && Valid(n.standby)) {
        const int32_t a = CardAngle(n.standby, hm);
        CardBar(a, 62, 62, 1, true, StandbyOrange);
        CardBar(a, -52, 67, 1, true, StandbyOrange);
        const FGPoint c = CardPoint(a, 22);
        w->circle(c.x, c.y, 10, StandbyOrange);
    }
    const bool courseValid = Valid(n.course);
    const int32_t ca = courseValid ? CardAngle(n.course, hm) : 0;
    if (courseValid) {
        CardBar(ca, 62, 54, 5, true, needle);
        CardBar(ca, -62, 54, 5, true, needle);
        CardTriangle(w, ca, 99, 86, 20, needle);
        for (int i = -5; i <= 5; ++i) {
            const FGPoint p = CardPoint(ca, 0, 8 * i);
            w->fillcircle(p.x, p.y, 1, White);
        }
    }
    if (StripIndex == 2) {
        if (Valid(n.track)) CardTriangle(w, CardAngle(n.track, hm), 104, 114, 16, needle);
        GpsDeviation(w, ca, courseValid, needle);
    } else if (StripIndex == 1) {
        NavFlags(w, ca, courseValid, locDetected, needle);
    }
    w->circle(CardX, CardY, 5, White);
    if (heading) std::snprintf(heading->text, sizeof heading->text, "%03d", cardTenths / 10);
    CardLabels(w, hm);
}

// ---- radio box ----

namespace {

constexpr uint8_t PresentBit = 0x80;
constexpr int CommPort = 6, XpdrPort = 7;   // device ports 7 (COMM) and 8 (transponder)

void RadioText(int x, int y, int size, FGPixel ink, FGPixel paper, int align, const char* text) {
    const TTextItem item = {static_cast<int16_t>(x), static_cast<int16_t>(y), size, ink, paper, align};
    DrawTextItem(item, text);
}

// "%d.%03d" MHz of a frequency in Hz; a negative one has no meaning.
void FormatMHz(char* text, size_t size, int32_t hz) {
    if (hz < 0) Copy(text, size, "- - -");
    else std::snprintf(text, size, "%d.%03d", hz / 1000000, hz % 1000000 / 1000);
}

void CommRow(int b, int r) {
    char text[32];
    FormatMHz(text, sizeof text, CommRuntime.active);
    RadioText(b + 10, r + 5, 23, Black, PageKeyColour, TextAlignLeft, text);
    FormatMHz(text, sizeof text, CommRuntime.standby);
    RadioText(b + 10, r + 26, 16, Black, PageKeyColour, TextAlignLeft, text);
    RadioText(b + 122, r + 7, 14, Black, PageKeyColour, TextAlignCentre, gettext(" MHz "));
    if (CommRuntime.memoryIndex < 10) {
        std::snprintf(text, sizeof text, " M %02d ", CommRuntime.memoryIndex + 1);
        RadioText(b + 122, r + 24, 14, White, Black, TextAlignCentre, text);
    }
}

void XpdrRow(int b, int x) {
    char text[32];
    std::snprintf(text, sizeof text, "%04X", XpdrRuntime.squawk);
    RadioText(b + 10, x + 5, 23, Black, PageKeyColour, TextAlignLeft, text);
    if (XpdrRuntime.mode == 2) {
        int32_t fl = 0;
        if (ReadBlock(echAltitudeFL_XPDR, fl)) {
            int64_t f = FeetFromMetres(fl);
            f += f > 0 ? 5 : -5;
            std::snprintf(text, sizeof text, "%s %5lld", gettext("FL"), static_cast<long long>((f + 500) / 1000));
        } else {
            Copy(text, sizeof text, gettext("FL  - - -"));
        }
        RadioText(b + 10, x + 26, 16, Black, PageKeyColour, TextAlignLeft, text);
    }
    static const char* const modes[3] = {gettext_noop(" SBY "), gettext_noop(" ON "), gettext_noop(" ALT ")};
    if (XpdrRuntime.mode < 3)
        RadioText(b + 122, x + 7, 14, White, FlightNavLinks.xpdrModeChoosing ? XpdrRed : Black, TextAlignCentre,
                  gettext(modes[XpdrRuntime.mode]));
    int32_t error = 0;
    if (ReadBlock(echExtDevXpdrError, error) && error != 0) {
        std::snprintf(text, sizeof text, "Err: %u", static_cast<unsigned>(error) & 0xFFFFu);
        RadioText(b + 144, x + 24, 14, Red, PageKeyColour, TextAlignRight, text);
    }
    int32_t status = 0;
    if (ReadBlock(echExtDevXpdrStatus, status)) {
        if (status & 2) RadioText(b + 122, x + 24, 14, Black, PageKeyColour, TextAlignCentre, gettext(" IDENT "));
        if (status & 1) RadioText(b + 86, x + 9, 14, White, Black, TextAlignCentre, gettext(" R "));
    }
}

}  // namespace

void DrawRadioBox(bool fullWidth) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const bool radio = DevicePort[CommPort].flags & PresentBit;
    const bool xpdr = DevicePort[XpdrPort].flags & PresentBit;
    if (!radio && !xpdr) return;
    const int b = fullWidth ? 170 : 110;
    if (radio && xpdr) {
        Blit(w, b, 320, 0, 0, 154, 84, Picture(PicBoxCommXpdr2r));
        CommRow(b, 320);
        XpdrRow(b, 357);
    } else {
        Blit(w, b, 358, 0, 0, 154, 49, Picture(PicBoxCommXpdr1r));
        if (radio) CommRow(b, 358);
        else XpdrRow(b, 358);
    }
}

// ---- annunciation and the bottom-left labels ----

void DrawInputWarning() {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    int32_t v;
    const char* message = nullptr;
    if (!ReadFlightChannel(echGPSLon, &v) || !ReadFlightChannel(echGPSLat, &v)) message = gettext_noop("NO GPS");
    else if (!ReadFlightChannel(echInercialAzimut, &v)) message = gettext_noop("NO COMPASS");
    else if (!FlightNavLinks.terrainFound) message = gettext_noop("NO DATA");
    if (!message) return;
    const bool full = ScreenType == ScreenFlight;
    const int x = full ? 153 : 99, y = full ? 276 : 274;
    FGBitmap* frame = Picture(Pic3dTerrainErr);
    Blit(w, x + 2, y, 0, 0, frame ? frame->width : 0, frame ? frame->height : 0, frame);
    char text[16];
    Copy(text, sizeof text, gettext(message));
    DrawFlightText(w, x, y + (frame ? frame->height : 0) + 1, text, 16, Red, PageKeyColour);
}

namespace {

// The translated source label; null without a navigation source.
const char* HsiSourceText() {
    static const char* const labels[4] = {nullptr, gettext_noop(" HSI : VOR/LOC "), gettext_noop(" HSI : GPS "), gettext_noop(" HSI : APR ")};
    const int source = ViewSetting.navSource;
    return source >= 1 && source <= 3 ? gettext(labels[source]) : nullptr;
}

}  // namespace

void DrawAutopilotBox(FGDrawBuffer* window) {
    if (!window || !AutopilotActive) return;
    static const char* const modes[4] = {gettext_noop("HDG"), gettext_noop("TRK"), gettext_noop("NAV"), gettext_noop("ALT")};
    const int mode = FlightNavLinks.autopilotMode;
    if (mode < 0 || mode > 3) return;
    char text[64];
    std::snprintf(text, sizeof text, " %s : %s ", gettext("AUTOPILOT"), gettext(modes[mode]));
    int x = 5;
    if (HsiSourceText()) {
        // Beside the source label, which the paint draws next: never under it.
        x = std::max(85, 5 + FlightTextWidth(14, HsiSourceText()) + 2);
    }
    DrawFlightText(window, x, 440, text, 14, Black, BoxGreen);
}

void DrawHsiSourceLabel(FGDrawBuffer* window) {
    if (window && HsiSourceText()) DrawFlightText(window, 5, 440, HsiSourceText(), 14, Black, BoxGreen);
}
