#include "flightpage.h"

#include <libintl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "averdata.h"
#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "flighttapes.h"
#include "gui_terr/glview.h"
#include "hkmeasure.h"
#include "hkutils.h"
#include "initialsetting.h"
#include "lookup.h"
#include "refresh.h"
#include "shellstate.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

const TFlightLayout FlightLayoutFull = {161, 84, 475, 336, 239, 156, 400, 800, 402, 435, 382, 426,
                                        402, 59, 380, 58, 219, 210, 224, 210, 750, 730, 230};
const TFlightLayout FlightLayoutSplit = {80, 84, 342, 336, 180, 156, 260, 560, 260, 435, 240, 426,
                                         262, 59, 240, 58, 140, 210, 155, 210, 510, 495, 230};

TFlightErrors FlightErrors;
TFlightFrame FlightFrame;
TFlightSwitches FlightSwitches = {1, 0, 0, 1};  // until InitialSetting reads the installed probes
TFlightPageHooks FlightPageHooks;

bool ReadFlightChannel(uint32_t id, int32_t* value) {
    *value = 0;
    int32_t v = 0;
    if (!AverReader || AverReader->GetValue(id, v) != 0) return false;
    *value = v;
    return true;
}

namespace {

constexpr FGPixel White = WhiteColour;
constexpr FGPixel Black = 0x000000;
const FGPixel& ErrRed = DisplayPalette.PalRed;
const FGPixel& Grey128 = DisplayPalette.PalGrey128;
const FGPixel& ZoneYellow = DisplayPalette.PalYellow;
const FGPixel& ZoneGreen = DisplayPalette.PalGreen;
constexpr FGPixel VsiBox = 0x687784;       // (104, 119, 132)
constexpr double Pi = 3.14159265358979323846;

constexpr int32_t CameraBit = 0x100, CameraBit2 = 0x200, AttitudeForced = 0x400;
constexpr int StatusHeight = 465;   // page height above the status bar

bool Split() { return ScreenType >= ScreenFlightEms; }

// A line px pixels wide across its major axis.
void WideLine(FGDrawBuffer* w, int x1, int y1, int x2, int y2, int px, FGPixel c) {
    if (px <= 1) {
        w->line(x1, y1, x2, y2, c);
    } else if (px == 2) {
        const bool xmajor = std::abs(x2 - x1) > std::abs(y2 - y1);
        w->line(x1, y1, x2, y2, c);
        if (xmajor) w->line(x1, y1 + 1, x2, y2 + 1, c);
        else w->line(x1 + 1, y1, x2 + 1, y2, c);
    } else {
        const int saved = w->get_line_width();
        w->set_line_width(px - 1);
        w->line(x1, y1, x2, y2, c);
        w->set_line_width(saved);
    }
}

void FillTriangle(FGDrawBuffer* w, FGPoint a, FGPoint b, FGPoint c, FGPixel colour) {
    const FGPoint p[3] = {a, b, c};
    DrawFlightPolygon(w, p, 3, true, colour);
}

// Point at radius r and angle a (thousandths of a degree, counter-clockwise from
// the right, y up on the screen) around (cx, cy).
FGPoint Polar(int cx, int cy, int64_t a, int r) {
    int64_t m = a % 360000;
    if (m < 0) m += 360000;
    const int32_t am = static_cast<int32_t>(m);
    return {SatInt32(cx + static_cast<int64_t>(CosMilli(am)) * r / 1000),
            SatInt32(cy - static_cast<int64_t>(SinMilli(am)) * r / 1000)};
}

// A point of the pitch ladder (x right, y up) turned by the roll, given as its
// 16.16 sine and cosine, about the screen point (cx, cy).
FGPoint LadderPoint(int cx, int cy, int64_t s, int64_t c, int64_t x, int64_t y) {
    return FGPoint{SatInt32(cx + ((x * c + 0x8000) >> 16) - ((y * s + 0x8000) >> 16)),
                   SatInt32(cy - (((x * s + 0x8000) >> 16) + ((y * c + 0x8000) >> 16)))};
}

int Mod(int v, int m) {
    const int r = v % m;
    return r < 0 ? r + m : r;
}

// ---- frame pieces ----

// Past the vertical the aircraft is upside down: pitch 160 is the nose 20 degrees above
// the horizon, rolled over. `pitch` lies within half a turn of level (`half` in its unit);
// it folds back to within 90 degrees and `roll` turns by `rollHalf`, half a turn in its unit.
void TurnOverPastVertical(int64_t& pitch, int64_t& roll, int64_t half, int64_t rollHalf) {
    if (pitch <= half / 2 && pitch >= -half / 2) return;
    pitch = (pitch > 0 ? half : -half) - pitch;
    roll += rollHalf;
}

// With no terrain picture the sky and ground are filled flat along the horizon
// so that no layer of an earlier frame stays behind.
void DrawFlatHorizon(FGDrawBuffer* w, const TFlightLayout& l, int32_t pitch, int32_t roll) {
    const int width = l.greyWidth;
    w->fillbox(0, 0, width, StatusHeight, DisplayPalette.PalSkyBlue);
    const int cx = l.screenX, cy = 240;
    // Upside down past the vertical, as on the ladder.
    int64_t folded = Mod(pitch, 3600), turned = Mod(roll, 3600);
    if (folded > 1800) folded -= 3600;
    TurnOverPastVertical(folded, turned, 1800, 1800);
    // The horizon's ladder y, as the pitch ladder places its horizon line.
    const int64_t horizonY = (-folded * 1144 + 500) / 1000;
    const int turn = Mod(static_cast<int>(turned), 3600);
    const int64_t s = FixSin(turn), c = FixCos(turn);
    // Horizon through the centre moved down by the pitch, turned with the roll;
    // the ground lies below it in the ladder's frame.
    const int64_t far = 2000;
    // along: ladder x; across: ladder y (up) relative to the horizon
    auto at = [&](int64_t along, int64_t across) { return LadderPoint(cx, cy, s, c, along, across + horizonY); };
    const FGPoint p[4] = {at(-far, 0), at(far, 0), at(far, -far), at(-far, -far)};
    FGPointArray pts(4, p);
    int sx, sy, sw, sh;
    w->get_clip_rect(&sx, &sy, &sw, &sh);
    w->set_clip_rect(0, 0, width, StatusHeight);
    w->fillpolygon(pts, DisplayPalette.PalBrown);
    w->set_clip_rect(sx, sy, sw, sh);
}

// Label and value rows of the TAS, OAT, IAT and AUXT boxes.
TDisplayItem Box(int x, int y, int32_t value, int32_t fontCode) {
    TDisplayItem item{};
    item.x = x;
    item.y = y;
    item.value = value;
    item.fontCode = fontCode;
    item.width = 50;
    item.height = 30;
    item.textColour = static_cast<int32_t>(FlightLabelInk);
    return item;
}

void SetText(char (&dst)[32], const char* src) {
    std::snprintf(dst, sizeof dst, "%s", src ? src : "");
}

void FillValue(TDisplayItem& item, int32_t value) {
    item.value = value;
    item.warn = 0;
    SetText(item.text, value == NoValue ? "- - -" : "");
}

// The TAS box's paper by the speed zone: the value box's own zones are set so
// that the value always falls in the wanted one.
void ColourTasBox(TDisplayItem& item, int32_t zone) {
    constexpr int32_t Lowest = INT32_MIN + 1;   // non-zero: zones on, every value at or above
    item.warn = 0;
    item.warnColour = static_cast<int32_t>(ZoneYellow);
    item.alarmColour = static_cast<int32_t>(ErrRed);
    switch (zone) {
        case 4: item.warn = item.alarm = Lowest; break;
        case 3: item.warn = Lowest; item.alarm = INT32_MAX; break;
        case 2:
            item.warn = item.alarm = Lowest;
            item.alarmColour = static_cast<int32_t>(ZoneGreen);
            break;
        default: break;
    }
}

// The boxes drawn in this frame, as label and value pairs: in the split layouts they
// stand inside the attitude's viewport, and the ladder passes behind them.
struct TBoxArea {
    int x, y, w, h;
};
constexpr int BoxPairs = FlightBoxCount / 2;
constexpr int ValueOverhang = 10;  // a value's cell reaches this far left of its box
TBoxArea DrawnBoxes[BoxPairs];
int DrawnBoxCount = 0;

// A label from its x, its value right-aligned in the box below it.
void DrawBoxPair(TDisplayItem& label, TDisplayItem& value) {
    DrawDisplayItem(&label);
    DrawDisplayItem(&value);
    if (DrawnBoxCount >= BoxPairs) return;
    const int font = DisplayItemFont(label.fontCode, LanguageId);
    const int textWidth = FGFontManager::is_font(font) ? FGFontManager::textwidth(font, label.text) : 0;
    const int x0 = std::min(label.x, value.x) - ValueOverhang;
    const int x1 = std::max({label.x + textWidth, label.x + label.width, value.x + value.width});
    DrawnBoxes[DrawnBoxCount++] = {x0, label.y, x1 - x0, value.y + value.height - label.y};
}

// Whether the block with these corners (in the attitude viewport) meets a drawn box.
bool BehindABox(FGPoint a, FGPoint b, FGPoint c, FGPoint d, const TFlightLayout& l) {
    const int x0 = std::min({a.x, b.x, c.x, d.x}) + l.viewX, x1 = std::max({a.x, b.x, c.x, d.x}) + l.viewX;
    const int y0 = std::min({a.y, b.y, c.y, d.y}) + l.viewY, y1 = std::max({a.y, b.y, c.y, d.y}) + l.viewY;
    for (int i = 0; i < DrawnBoxCount; ++i) {
        const TBoxArea& box = DrawnBoxes[i];
        if (x0 < box.x + box.w && box.x <= x1 && y0 < box.y + box.h && box.y <= y1) return true;
    }
    return false;
}

// The pixels of the drawn boxes, put back once the attitude is drawn over them.
class TKeptBoxes {
public:
    explicit TKeptBoxes(FGDrawBuffer* w) : w_(w) { Copy(true); }
    ~TKeptBoxes() { Copy(false); }
    TKeptBoxes(const TKeptBoxes&) = delete;
    TKeptBoxes& operator=(const TKeptBoxes&) = delete;

private:
    void Copy(bool save) {
        size_t k = 0;
        for (int i = 0; i < DrawnBoxCount; ++i) {
            const TBoxArea& a = DrawnBoxes[i];
            const int x0 = std::max(a.x, 0), x1 = std::min(a.x + a.w, w_->width);
            for (int y = std::max(a.y, 0); y < std::min(a.y + a.h, w_->height); ++y)
                for (int x = x0; x < x1; ++x, ++k) {
                    FGPixel& p = w_->pixels[static_cast<size_t>(y) * w_->width + x];
                    if (save)
                        pixels_.push_back(p);
                    else if (k < pixels_.size())
                        p = pixels_[k];
                }
        }
    }
    FGDrawBuffer* w_;
    std::vector<FGPixel> pixels_;
};

void DrawValueBoxes(bool split) {
    TDisplayItem* b = split ? FlightBoxesSplit : FlightBoxesFull;
    DrawnBoxCount = 0;
    SetText(b[0].text, UnitTexts.tasLabel);
    SetText(b[2].text, UnitTexts.oat);
    SetText(b[4].text, UnitTexts.iat);
    SetText(b[6].text, UnitTexts.auxt);
    const int32_t tas = RefreshValues.tas;
    FillValue(b[1], tas < -9998 ? tas : tas / 10);
    FillValue(b[3], RefreshValues.oat);
    FillValue(b[5], RefreshValues.iat);
    FillValue(b[7], RefreshValues.auxTemp);
    if (FlightSwitches.tasBox) {
        if (b[1].value != NoValue) ColourTasBox(b[1], TasSpeedZone);
        DrawBoxPair(b[0], b[1]);
    }
    DrawBoxPair(b[2], b[3]);
    if (FlightSwitches.iatBox) DrawBoxPair(b[4], b[5]);
    const bool cameraHidesAuxt = split && (DisplaySetting.screenWord & CameraBit) && (LayoutCaps & CapEnginePage);
    if (FlightSwitches.auxtBox && !cameraHidesAuxt) DrawBoxPair(b[6], b[7]);
}

// The two side-slip bars: 0..500 over 133 px, 14 thick, right and left of the origin.
void DrawSideSlipBars(FGDrawBuffer* w, const TFlightLayout& l, int32_t left, int32_t right) {
    FGBitmap* pic = TapePictures[SideSlipBar];
    auto length = [](int32_t v) { return static_cast<int>(std::min<int64_t>(std::max<int64_t>(int64_t(v) * 133 / 500, 0), 133)); };
    const int lr = length(right), ll = length(left);
    if (lr > 0) TileHorizontal(l.sideSlipX, l.sideSlipY, lr, pic, w);
    if (ll > 0) TileHorizontal(l.sideSlipX - ll, l.sideSlipY, ll, pic, w);
}

}  // namespace

TDisplayItem FlightBoxesFull[FlightBoxCount] = {
    Box(5, 70, ItemPlainText, 10),  Box(5, 85, NoValue, 14),  Box(5, 110, ItemPlainText, 10),
    Box(5, 125, NoValue, 14),       Box(5, 150, ItemPlainText, 10), Box(5, 165, NoValue, 14),
    Box(5, 190, ItemPlainText, 10), Box(5, 205, NoValue, 14),
};
TDisplayItem FlightBoxesSplit[FlightBoxCount] = {
    Box(105, 74, ItemPlainText, 10),  Box(105, 89, NoValue, 14),  Box(105, 117, ItemPlainText, 10),
    Box(105, 129, NoValue, 14),       Box(348, 74, ItemPlainText, 10), Box(340, 89, NoValue, 14),
    Box(340, 117, ItemPlainText, 10), Box(340, 129, NoValue, 14),
};

const TFlightLayout& CurrentFlightLayout() { return Split() ? FlightLayoutSplit : FlightLayoutFull; }

// The nominal sizes are the value boxes' fonts by another name.
int FlightFont(int size) {
    static const int Sizes[8][2] = {{14, 8}, {16, 10}, {19, 11}, {20, 12}, {23, 14}, {25, 16}, {29, 18}, {32, 20}};
    if (size == 58) return DisplayFonts[FontEuromode58];
    for (const auto& s : Sizes)
        if (s[0] == size) return DisplayItemFont(s[1], LanguageId);
    return DisplayTextFont;
}

void DrawFlightText(FGDrawBuffer* w, int x, int y, const char* text, int size, uint32_t ink, uint32_t paper) {
    const int font = FlightFont(size);
    if (!w || !text || !FGFontManager::is_font(font)) return;
    const int saved = w->get_font();
    const unsigned mode = w->get_mode();
    w->set_font(font);
    w->set_mode(paper == PageKeyColour ? 9 : 0);
    w->text(x, y, text, ink, paper);
    w->set_mode(mode);
    w->set_font(saved);
}

int FlightTextWidth(int size, const char* text) {
    const int font = FlightFont(size);
    return text && FGFontManager::is_font(font) ? FGFontManager::textwidth(font, text) : 0;
}

void DrawFlightPolygon(FGDrawBuffer* w, const FGPoint* pts, int n, bool filled, uint32_t colour) {
    if (!w || !pts || n <= 0) return;
    if (filled) {
        FGPointArray a(n, pts);
        w->fillpolygon(a, colour);
        return;
    }
    for (int i = 0; i < n; ++i) {
        const FGPoint& p = pts[i];
        const FGPoint& q = pts[(i + 1) % n];
        w->line(p.x, p.y, q.x, q.y, colour);
    }
}

void DrawErrText(FGDrawBuffer* w, int x, int y, const char* text) {
    DrawFlightText(w, x, y, gettext(text), 16, Black, ErrRed);
}

int32_t RoundDiv1000(int64_t v) {
    return SatInt32(v < 0 ? (v - 500) / 1000 : (v + 500) / 1000);
}

void FormatLoadFactor(char* buffer, int size, int32_t tenths) {
    if (!buffer || size <= 0) return;
    buffer[0] = '\0';
    if (tenths <= 15 && tenths >= 5) return;
    const uint32_t a = tenths < 0 ? 0u - static_cast<uint32_t>(tenths) : static_cast<uint32_t>(tenths);
    std::snprintf(buffer, static_cast<size_t>(size), "%c%u.%u %s", tenths < 0 ? '-' : '+', a / 10, a % 10, "g");
}

// ---- attitude ----

int DrawPitchLadder(int a, int b) {
    FGDrawBuffer* w = MainWindow;
    const TFlightLayout& l = CurrentFlightLayout();
    const int cx = l.centreX, cy = l.centreY;
    a = Mod(a, 3600);
    b = Mod(b, 3600);
    const int64_t s = FixSin(b), c = FixCos(b);
    auto at = [&](int64_t x, int64_t y) { return LadderPoint(cx, cy, s, c, x, y); };
    const int e = a / 50 * 50;
    if (!w) return e + 100;
    FGBitmap* numbers = MainPictures[PicStupniceAngle];
    for (int line = e - 100; line <= e + 100; line += 50) {
        const int y = ((line - e - a % 50) * 1144 + 500) / 1000;
        const int lm = Mod(line, 3600);
        if (line % 100 != 0) {
            const FGPoint p0 = at(-70, y), p1 = at(70, y);
            w->line(p0.x, p0.y, p1.x, p1.y, White);
            continue;
        }
        const FGPoint p0 = at(-90, y), p1 = at(90, y);
        WideLine(w, p0.x, p0.y, p1.x, p1.y, lm == 0 ? 3 : 1, White);
        if (lm % 900 == 0) continue;
        const bool above = (lm >= 1 && lm <= 900) || (lm >= 1801 && lm <= 2699);
        const int tick = above ? -8 : 8;
        for (int side : {-90, 90}) {
            const FGPoint t0 = at(side, y), t1 = at(side, y + tick);
            w->line(t0.x, t0.y, t1.x, t1.y, White);
        }
        // The number: the pitch folded into 0..90 degrees.
        int deg = lm / 10;
        if (deg > 180) deg -= 360;
        int n = std::abs(deg);
        if (n > 90) n = 180 - n;
        if (!numbers || !numbers->pixels) continue;
        const int row0 = 28 * n / 10 + 3;
        for (int ox : {92, -122}) {
            // A number half behind a value box would read as another: the other end's tells it.
            if (BehindABox(at(ox, y + 7), at(ox + 31, y + 7), at(ox, y - 12), at(ox + 31, y - 12), l)) continue;
            for (int j = 0; j < 20; ++j) {
                const int sy = row0 + j;
                if (sy < 0 || sy >= numbers->height) continue;
                for (int i = 0; i < 32 && i < numbers->width; ++i) {
                    if ((numbers->pixels[static_cast<int64_t>(sy) * numbers->width + i] & 0xFFFFFF) != White)
                        continue;
                    const FGPoint p = at(ox + i, y + 7 - j);
                    w->pixel(p.x, p.y, White);
                }
            }
        }
    }
    return e + 100;
}

void DrawAttitude(float pitch, float roll) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const TFlightLayout& l = CurrentFlightLayout();
    const int cx = l.centreX, cy = l.centreY;
    const double pd = std::isfinite(pitch) ? std::fmod(static_cast<double>(pitch), 2 * Pi) : 0.0;
    const double rd = std::isfinite(roll) ? std::fmod(static_cast<double>(roll), 2 * Pi) : 0.0;
    int64_t p = std::llround(pd * 18000.0 / Pi);
    while (p > 18000) p -= 36000;
    while (p <= -18000) p += 36000;
    int64_t r = std::llround(rd * 180000.0 / Pi);
    // The ladder and the bank scale turn over with the terrain view's horizon.
    TurnOverPastVertical(p, r, 18000, 180000);
    while (r > 180000) r -= 360000;
    while (r <= -180000) r += 360000;
    DrawPitchLadder(static_cast<int>(p / 10), static_cast<int>(r / 100));

    FillTriangle(w, {cx, cy - 104}, {cx + 5, cy - 94}, {cx - 5, cy - 94}, White);
    const int64_t zero = 90000 + r;   // thousandths of a degree
    w->arc(cx, cy, (zero - 60000) * Pi / 180000.0, (zero + 60000) * Pi / 180000.0, 105, White);
    static const int Ticks[10] = {-60, -45, -30, -20, -10, 10, 20, 30, 45, 60};
    for (int t : Ticks) {
        const int len = (t == 30 || t == -30 || t == 60 || t == -60) ? 24 : 15;
        const FGPoint a = Polar(cx, cy, zero + t * 1000, 105), b = Polar(cx, cy, zero + t * 1000, 105 + len / 2);
        w->line(a.x, a.y, b.x, b.y, White);
    }
    // Base 12 px wide at radius 117: half a width of 6 px is 2.94 degrees there.
    FillTriangle(w, Polar(cx, cy, zero, 105), Polar(cx, cy, zero - 2940, 117), Polar(cx, cy, zero + 2940, 117), White);
}

void DrawAircraftSymbol(int offset) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const int x = Split() ? 260 : 400;
    FGBitmap* symbol = MainPictures[Pic3dBreminko];
    if (FlightPageHooks.symbolAdjustMode && FlightPageHooks.symbolAdjustMode())
        symbol = MainPictures[offset == 0 ? Pic3dBreminkoC : Pic3dBreminkoE];
    if (symbol) w->bitblt(x - 54, SatInt32(int64_t(offset) + 239), 0, 0, 110, 30, symbol);
    if (FGBitmap* left = MainPictures[Pic3dSipkaHorL]) w->bitblt(x - 100, 233, 0, 0, 50, 16, left);
    if (FGBitmap* right = MainPictures[Pic3dSipkaHorR]) w->bitblt(x + 51, 233, 0, 0, 50, 16, right);
}

// ---- vertical speed ----

namespace {

enum TickKind : uint8_t { TickShort, TickLong, TickHalf };
struct TVsiRow {
    int32_t label;   // -999: none
    int32_t angle;   // tenths of a degree, positive below the centre line
    TickKind kind;
};
constexpr int VsiRows = 15;
constexpr int32_t NoLabel = -999;

void VsiTable(int unit, TVsiRow* rows) {
    static const int32_t Angles[VsiRows] = {70, 50, 40, 30, 25, 20, 10, 0, -10, -20, -25, -30, -40, -50, -70};
    static const TickKind Kinds[VsiRows] = {TickLong, TickLong, TickShort, TickShort, TickHalf,
                                            TickShort, TickShort, TickLong, TickShort, TickShort,
                                            TickHalf, TickShort, TickShort, TickLong, TickLong};
    const int32_t big = unit == UnitFeetPerMin ? 20 : 10, small = unit == UnitFeetPerMin ? 10 : 5;
    for (int i = 0; i < VsiRows; ++i) rows[i] = {NoLabel, Angles[i], Kinds[i]};
    rows[0].label = -big;
    rows[1].label = -small;
    rows[7].label = 0;
    rows[13].label = small;
    rows[14].label = big;
}

// 16.16 sine and cosine of an angle in hundredths of a degree, interpolated
// between the tenths of the table.
void FixSinCosHundredths(int64_t h, int64_t* s, int64_t* c) {
    int64_t m = h % 36000;
    if (m < 0) m += 36000;
    const int base = static_cast<int>(m / 10), frac = static_cast<int>(m % 10);
    const int next = (base + 1) % 3600;
    *s = FixSin(base) + (static_cast<int64_t>(FixSin(next)) - FixSin(base)) * frac / 10;
    *c = FixCos(base) + (static_cast<int64_t>(FixCos(next)) - FixCos(base)) * frac / 10;
}

// Point at radius r on the arc's circle, angle in hundredths below the centre line.
FGPoint VsiPoint(int cx, int cy, int64_t hundredths, int r) {
    int64_t s, c;
    FixSinCosHundredths(hundredths, &s, &c);
    return {SatInt32(cx - ((c * r + 0x8000) >> 16)), SatInt32(cy + ((s * r + 0x8000) >> 16))};
}

int DigitsWidth(const char* text) {
    int w = 0;
    for (const char* p = text; *p; ++p) w += *p == '-' ? 5 : (*p >= '0' && *p <= '9') ? 10 : 0;
    return w;
}

void DrawVsiBox(FGDrawBuffer* w, int b, int boxY, int textY, int32_t value) {
    w->fillbox(b - 10, boxY, 50, 25, VsiBox);
    w->box(b - 10, boxY, 50, 25, White);
    char text[16];
    std::snprintf(text, sizeof text, "%d", value / 10);
    DrawFlightText(w, b + 30 - FlightTextWidth(20, text), textY, text, 20, White, PageKeyColour);
}

}  // namespace

int32_t VerticalSpeedAngle(int32_t value, int unit, int* peg) {
    TVsiRow rows[VsiRows];
    VsiTable(unit, rows);
    // Labelled rows in ascending label order: the table runs from the lowest label down.
    int32_t labels[5], angles[5];
    int n = 0;
    for (int i = 0; i < VsiRows; ++i)
        if (rows[i].label != NoLabel) {
            labels[n] = rows[i].label;
            angles[n] = rows[i].angle;
            ++n;
        }
    if (peg) *peg = 0;
    const int64_t v = value;
    if (v <= int64_t(labels[0]) * 10) {
        if (peg) *peg = -1;
        return angles[0];
    }
    if (v >= int64_t(labels[n - 1]) * 10) {
        if (peg) *peg = 1;
        return angles[n - 1] + (angles[n - 1] < 0 ? 1 : -1);
    }
    for (int i = 0; i + 1 < n; ++i) {
        const int64_t l1 = labels[i], l2 = labels[i + 1];
        if (v >= l1 * 10 && v <= l2 * 10)
            return static_cast<int32_t>(angles[i] + (int64_t(angles[i + 1]) - angles[i]) * (v - l1 * 10) / (l2 - l1) / 10);
    }
    return 0;
}

void DrawVerticalSpeed(int32_t value, int b, int height, FGDrawBuffer* window) {
    FGDrawBuffer* w = window;
    if (!w) return;
    const int unit = UnitsSetting.verticalSpeed;
    const int cx = b + 1250, cy = height / 2;
    TVsiRow rows[VsiRows];
    VsiTable(unit, rows);
    const double first = rows[0].angle / 10.0;
    const double a1 = (180.0 - first + 0.1) * Pi / 180.0, a2 = (180.0 + first) * Pi / 180.0;
    w->arc(cx, cy, a1, a2, 1250, White);
    w->arc(cx + 1, cy, a1, a2, 1250, White);
    for (const TVsiRow& row : rows) {
        const int64_t h = int64_t(row.angle) * 10;
        int inner = 1242, outer = 1250, px = 1;
        if (row.kind == TickLong) {
            inner = 1239;
            outer = 1256;
            px = 2;
        } else if (row.kind == TickHalf) {
            inner = 1250;
            outer = 1261;
            px = 2;
        }
        const FGPoint p0 = VsiPoint(cx, cy, h, outer), p1 = VsiPoint(cx, cy, h, inner);
        WideLine(w, p0.x, p0.y, p1.x, p1.y, px, White);
        if (row.label == NoLabel) continue;
        char text[8];
        std::snprintf(text, sizeof text, "%d", row.label);
        const int x = p0.x - 1 - DigitsWidth(text) + (row.label < 0 ? 5 : 0);
        DrawDigitString(x, p0.y - 5, text, w);
    }
    int peg = 0;
    const int32_t angle = VerticalSpeedAngle(value, unit, &peg);
    if (peg < 0) DrawVsiBox(w, b, 350, 352, value);
    if (peg > 0) {
        const int h20 = FGFontManager::get_font_height(FlightFont(20));
        DrawVsiBox(w, b, 130 - h20, 132 - h20, value);
    }
    const int64_t h = int64_t(angle) * 10;
    FillTriangle(w, VsiPoint(cx, cy, h, 1240), VsiPoint(cx, cy, h + 16, 1230), VsiPoint(cx, cy, h - 13, 1230), White);
    FGPoint outer = VsiPoint(cx, cy, h, 1230), inner = VsiPoint(cx, cy, h, 1210);
    if (inner.x > b + 45 && inner.x != outer.x) {
        inner.y = outer.y + SatInt32(int64_t(inner.y - outer.y) * (b + 45 - outer.x) / (inner.x - outer.x));
        inner.x = b + 45;
    }
    WideLine(w, outer.x, outer.y, inner.x, inner.y, 7, White);
    switch (unit) {
        case UnitVsKnots: DrawFlightText(w, b, 400, "KTS", 16, White, PageKeyColour); break;
        case UnitMetresPerSec: DrawFlightText(w, b, 400, "m/s", 16, White, PageKeyColour); break;
        default:
            DrawFlightText(w, b - 4, 400, "FT/min", 16, White, PageKeyColour);
            DrawFlightText(w, b - 4, 415, "x100", 16, White, PageKeyColour);
            break;
    }
}

// ---- the frame ----

void DrawFlightPage(const uint32_t* paper) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    // The tapes set their own flags later in the frame; the annunciations of this
    // frame see theirs from the one before.
    const uint8_t altitudeError = FlightErrors.altitude, airspeedError = FlightErrors.airspeed;
    FlightErrors = TFlightErrors{};
    FlightErrors.altitude = altitudeError;
    FlightErrors.airspeed = airspeedError;
    TFlightFrame& f = FlightFrame;
    const TFlightLayout& l = CurrentFlightLayout();
    const bool split = Split();
    const int32_t sw = DisplaySetting.screenWord;

    // 1. Attitude, heading and altitude.
    FlightErrors.roll = !ReadFlightChannel(echInercialRoll, &f.roll);
    FlightErrors.pitch = !ReadFlightChannel(echInercialPitch, &f.pitch);
    if (!ReadFlightChannel(echInercialAzimut, &f.heading)) {
        if (ReadFlightChannel(echGPSTrk, &f.heading)) FlightErrors.headingFromTrack = 1;
        else FlightErrors.headingMissing = 1;
    }
    ReadFlightChannel(echAltitudeQNH, &f.altitude);
    const bool attitudeFailed = FlightErrors.pitch || FlightErrors.roll;
    const bool cameraInUse = (sw & CameraBit) && ScreenType != ScreenFlight && (sw & CameraBit2);

    // 2. Terrain view.
    bool painted = false;
    if (!SetupModeActive && !cameraInUse && !attitudeFailed && ScreenType >= ScreenFlight) {
        if (TGLViewInput* in = FlightPageHooks.glInput) {
            int32_t lat = 0, lon = 0;
            if (!ReadFlightChannel(echGPSLat, &lat) || !ReadFlightChannel(echGPSLon, &lon)) lat = lon = 0;
            *in = TGLViewInput{f.altitude, f.roll, f.pitch, f.heading, lat, lon};
        }
        if (FlightPageHooks.openGLPaint) {
            const int32_t flags = (split ? GLPaintNarrow : 0) | (TerrainViewOn ? 0 : GLPaintTerrainOff);
            painted = FlightPageHooks.openGLPaint(flags) == 0;
        }
    }
    if (paper && !painted) w->fillbox(0, 0, w->width, w->height, *paper);

    // 3. Background.
    if (!SetupModeActive) {
        if (cameraInUse) {
            w->fillbox(0, 0, 560, StatusHeight, Grey128);
            const char* text = gettext_noop(" CAMERA ERR ");
            DrawErrText(w, (540 - FlightTextWidth(16, gettext(text))) / 2, 100, text);
            painted = true;
        } else if (attitudeFailed) {
            w->fillbox(0, 0, l.greyWidth, StatusHeight, Grey128);
            painted = true;
        }
    } else if (ScreenType == ScreenFlight) {
        w->fillbox(0, 0, 800, 240, DisplayPalette.PalGrey180);
        w->fillbox(0, 240, 800, 225, DisplayPalette.PalGrey100);
        painted = true;
    }
    if (!painted) DrawFlatHorizon(w, l, f.pitch, f.roll);

    // 4, 5. HSI and 3-D path.
    if (ScreenType >= ScreenFlightNav && ScreenType <= ScreenTransit && FlightPageHooks.drawHsi)
        FlightPageHooks.drawHsi();
    if (DisplaySetting.path3d == 1 && FlightPageHooks.draw3dPath) {
        if (split) w->set_clip_rect(0, 0, 558, 480);
        FlightPageHooks.draw3dPath();
        if (split) w->set_clip_rect(0, 0, 800, 480);
    }

    // 6. Slip ball.
    int32_t slip = 0;
    FlightErrors.slip = !ReadFlightChannel(echInercialSlip, &slip);
    int32_t record[14] = {};
    record[7] = l.slipX;
    record[8] = l.slipY;
    DrawSlipBall(record, std::min(std::max(slip, -80), 80));
    if (FlightErrors.slip) DrawErrText(w, l.slipErrX, l.slipErrY, gettext_noop("  ERR  "));

    // 7. Load factor.
    FlightErrors.loadFactor = !ReadFlightChannel(echInercialAccPilot, &f.loadFactor);
    if (!FlightErrors.loadFactor)
        UpdateSettledMinMax(echInercialAccPilot, f.loadFactor, &FlightStatistics.acceleration.max,
                            &FlightStatistics.acceleration.min);

    // 8. Value boxes.
    DrawValueBoxes(split);

    // 9. Attitude.
    if ((sw & AttitudeForced) || !(sw & CameraBit) || ScreenType == ScreenEngine || ScreenType == ScreenFlight) {
        {
            const TKeptBoxes kept(w);
            w->set_clip_rect(l.viewX, l.viewY, l.viewW, l.viewH);
            DrawAttitude(static_cast<float>(f.pitch * Pi / 1800.0), static_cast<float>(f.roll * Pi / 1800.0));
            w->set_clip_rect(0, 0, 800, 480);
        }
        const char* errPitch = gettext_noop("  ERR PITCH  ");
        const char* errRoll = gettext_noop("  ERR ROLL  ");
        if (FlightErrors.pitch) DrawErrText(w, l.screenX - FlightTextWidth(16, gettext(errPitch)) / 2, 210, errPitch);
        if (FlightErrors.roll) DrawErrText(w, l.screenX - FlightTextWidth(16, gettext(errRoll)) / 2, 150, errRoll);
        DrawAircraftSymbol(ViewSetting.symbolOffset);
        // Without a reading there is no load factor to show, only the flag: a
        // "+0.0 g" under it would stand out around it as white fragments.
        char text[24];
        FormatLoadFactor(text, sizeof text, f.loadFactor);
        if (FlightErrors.loadFactor)
            DrawErrText(w, l.loadErrX, l.loadErrY, gettext_noop("  ERR  "));
        else if (text[0])
            DrawFlightText(w, l.loadX, l.loadY, text, 23, White, PageKeyColour);
    }

    // 10. Side slip.
    int32_t side = 0;
    FlightErrors.sideSlip = !ReadFlightChannel(echInercialSideSlip, &side);
    f.sideSlipLeft = f.sideSlipRight = 0;
    auto curve = [](int32_t x) {
        int32_t y = 0;
        if (!SlipCurve || SlipCurve->GetValue(x, &y) != 0) y = 0;
        return y;
    };
    if (side >= 0) {
        f.sideSlipRight = curve(side);
        f.sideSlipLeft = 0;
    }
    if (side < 1) {
        f.sideSlipLeft = curve(side == INT32_MIN ? INT32_MAX : -side);
        f.sideSlipRight = side >= 0 ? f.sideSlipRight : 0;
    }
    DrawSideSlipBars(w, l, f.sideSlipLeft, f.sideSlipRight);
    if (FlightErrors.sideSlip) DrawErrText(w, l.sideSlipErrX, l.sideSlipErrY, gettext_noop("  ERR  "));

    // 11. Vertical speed.
    int32_t vs = 0;
    FlightErrors.verticalSpeed = !ReadFlightChannel(echSpeedVertical, &vs);
    if (!FlightErrors.verticalSpeed)
        UpdateSettledMinMax(echSpeedVertical, vs / 10, &FlightStatistics.verticalSpeed.max,
                            &FlightStatistics.verticalSpeed.min);
    switch (UnitsSetting.verticalSpeed) {
        case UnitFeetPerMin: f.verticalSpeed = TensFtMinFromTenthMs(vs); break;
        case UnitVsKnots: f.verticalSpeed = KnotsFromMs(vs); break;
        default: f.verticalSpeed = vs; break;
    }
    DrawVerticalSpeed(f.verticalSpeed, l.vsiX, 480, w);
    if (FlightErrors.verticalSpeed) DrawErrText(w, l.vsiErrX, l.vsiErrY, gettext_noop("  ERR  "));

    // 12. Heading tape, radio box, annunciations.
    if (FlightSwitches.headingTape && FlightPageHooks.drawHeadingTape) FlightPageHooks.drawHeadingTape(f.heading);
    if (FlightPageHooks.drawRadioBox) FlightPageHooks.drawRadioBox();
    if (TerrainViewOn && FlightPageHooks.drawMissingInputs) FlightPageHooks.drawMissingInputs();
}
