#include "flighttapes.h"

#include <algorithm>
#include <cstdio>

#include "averdata.h"
#include "configmanager.h"
#include "displayitems.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "flightpage.h"
#include "hkmeasure.h"
#include "refresh.h"
#include "shellstate.h"
#include "units.h"

int32_t TasSpeedZone = 0;
FGBitmap* TapePictures[TapePictureCount] = {};

namespace {

constexpr FGPixel Black = 0x000000;
constexpr int TapeHeight = 355;

const char* const TapeFiles[TapePictureCount] = {
    "Data/VerBar3d-White.tga", "Data/VerBar3d-GreenWhite.tga", "Data/VerBar3d-Green.tga",
    "Data/VerBar3d-Yellow.tga", "Data/VerBar3d-Red.tga",      "Data/HorBarT3d-Gray.tga",
};

void DrawCuts(FGDrawBuffer* w, const TDrumCut* cuts, int n) {
    for (int i = 0; i < n; ++i) {
        const TDrumCut& c = cuts[i];
        if (FGBitmap* pic = MainPictures[c.picture]) w->bitblt(c.x, c.y, c.srcX, c.srcY, c.w, c.h, pic);
    }
}

void Band(FGDrawBuffer* w, int x, int y, int length, int picture) {
    if (length > 0) TileVertical(x, y, length, TapePictures[picture], w);
}

// Rows of the tape labels' clip: labels are placed in its coordinates.
constexpr int LabelClipTop = 31;

// A tape label (screen rectangle) that the drum would cover in part: its frame's
// drawn pixels or a digit strip. Such a label is left out whole, so that no piece
// of it shows around the drum.
bool LabelMeetsDrum(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const FGBitmap* frame, int fx, int fy, int fw,
                    int fh, const TDrumCut* cuts, int n) {
    for (int i = 0; i < n; ++i) {
        const TDrumCut& c = cuts[i];
        if (x0 < c.x + c.w && c.x < x1 && y0 < c.y + c.h && c.y < y1) return true;
    }
    if (!frame) return false;
    const int64_t ax = std::max<int64_t>(x0, fx), bx = std::min<int64_t>({x1, int64_t(fx) + fw, int64_t(fx) + frame->width});
    const int64_t ay = std::max<int64_t>(y0, fy), by = std::min<int64_t>({y1, int64_t(fy) + fh, int64_t(fy) + frame->height});
    const FGPixel key = frame->get_colorkey();
    for (int64_t y = ay; y < by; ++y)
        for (int64_t x = ax; x < bx; ++x)
            if (key == FG_NO_KEY || frame->pixels[(y - fy) * frame->width + (x - fx)] != key) return true;
    return false;
}

}  // namespace

void LoadTapePictures() {
    for (int i = 0; i < TapePictureCount; ++i) {
        delete TapePictures[i];
        FGBitmap* pic = new FGBitmap(TapeFiles[i]);
        if (pic->width <= 0 || pic->height <= 0) {
            ShellPrint("MAIN: picture %s not loaded\n", TapeFiles[i]);
            delete pic;
            pic = nullptr;
        }
        TapePictures[i] = pic;
    }
}

void FreeTapePictures() {
    for (FGBitmap*& pic : TapePictures) {
        delete pic;
        pic = nullptr;
    }
}

int AltimeterDrumCuts(int32_t h, int a, TDrumCut* cuts, bool* fiveDigits) {
    const bool five = h < 0 || h > 9990;
    if (fiveDigits) *fiveDigits = five;
    int n = 0;
    const int r = h % 100, t = r / 10, u = h % 10, d = (h / 100) % 10;
    if (h >= 11) {
        int hundreds = 1256 - 112 * d - u * 28 / 10;
        if (t >= 8) hundreds -= 28;
        if (t == 9) hundreds -= 28;
        if (t == 0) hundreds += 28;
        const int th = (h / 1000) % 10;
        int thousands = 351 - 32 * th;
        if (d == 9 && t == 9) thousands -= u * 32 / 10;
        cuts[n++] = {PicDesitky, 0, 277 - r * 28 / 10, 32, 82, a + 75, 168};
        cuts[n++] = {PicStovky, 0, hundreds, 14, 82, a + 60, 168};
        cuts[n++] = {PicJednotky, 0, thousands, 22, 28, a + 35, 195};
        if (five) {
            int tenThousands = 351 - 32 * ((h / 10000) % 10);
            if (th == 9 && d == 9 && t == 9) tenThousands -= u * 32 / 10;
            cuts[n++] = {PicJednotky, 0, tenThousands, 22, 28, a + 11, 195};
        }
    } else if (h < -9) {
        int hundreds = 109 - 112 * d - u * 28 / 10;
        if (t < -7) hundreds += 28;
        if (t == -9) hundreds += 28;
        if (t == 0) hundreds -= 28;
        int thousands = 64 - 32 * ((h / 1000) % 10);
        if (d == -9 && t == -9) thousands -= u * 32 / 10;
        cuts[n++] = {PicZDesitky, 0, 24 - r * 28 / 10, 32, 82, a + 76, 168};
        cuts[n++] = {PicZStovky, 1, hundreds, 14, 82, a + 60, 168};
        cuts[n++] = {PicZJednotky, 0, thousands, 22, 28, a + 35, 195};
    } else {
        cuts[n++] = {PicDesitkyAltNula, 0, 36 - r * 28 / 10, 55, 82, a + 60, 168};
        cuts[n++] = {PicJednotky, 0, 351, 22, 28, a + 35, 195};
    }
    return n;
}

int AirspeedDrumCuts(int32_t s, int e, TDrumCut* cuts) {
    // A negative speed has no drum position; it reads as 0.
    s = std::max(s, 0);
    const int units = (s / 10) % 10, tens = (s / 100) % 10, roll = (s % 10) * 32 / 10;
    int tensOffset = 351 - tens * 32;
    if (units == 9) tensOffset -= roll;
    int hundredsOffset = 351 - ((s / 1000) % 10) * 32;
    if (tens == 9 && units == 9) hundredsOffset -= roll;
    cuts[0] = {PicJednotky, 0, 324 - (s % 100) * 32 / 10, 22, 83, e + 81, 167};
    cuts[1] = {PicJednotky, 0, tensOffset, 22, 29, e + 56, 194};
    cuts[2] = {PicJednotky, 0, hundredsOffset, 22, 29, e + 31, 194};
    return 3;
}

int32_t SpeedZone(int32_t tas, int32_t white, int32_t green, int32_t yellow, int32_t red) {
    if (tas >= red) return 4;
    if (tas >= yellow) return 3;
    if (tas >= green) return 2;
    if (tas >= white) return 1;
    return 0;
}

// ---- altimeter ----

void DrawAltitudeTape(int32_t h, FGDrawBuffer* window, int x, int y) {
    FGDrawBuffer* w = window;
    if (!w) return;
    const bool feet = UnitsSetting.altitude == UnitFeet;
    Band(w, x, y, TapeHeight, TapeGreen);
    if (TerrainViewOn && FlightPageHooks.terrainElevation) {
        const int64_t metres = FlightPageHooks.terrainElevation();
        const int64_t t = feet ? FeetFromMetres(metres) : metres;
        const int64_t bounds[2] = {t + (feet ? 300 : 100), t};
        const int pictures[2] = {TapeYellow, TapeRed};
        for (int i = 0; i < 2; ++i) {
            if (bounds[i] <= int64_t(h) - 740) continue;
            const int64_t q = (int64_t(h) - bounds[i] - 140) * 3 / 10;
            if (q >= 176) continue;
            const int k = static_cast<int>(std::max<int64_t>(q + 180, 0));
            Band(w, x, y + k, TapeHeight - k, pictures[i]);
        }
    }
    if (DisplaySetting.bugsShown) {
        const int64_t decimetres = DisplaySetting.altBug;
        const int64_t target = feet ? FeetFromMetres(decimetres) / 10 : decimetres / 10;
        const int k = static_cast<int>(std::clamp<int64_t>((target - h + 140) * 3 / 10, -163, 169));
        const int by = 250 - k;
        const FGPoint p[7] = {{x + 5, by - 11}, {x + 5, by + 11}, {x - 3, by + 11}, {x - 3, by + 6},
                              {x + 2, by},      {x - 3, by - 6},  {x - 3, by - 11}};
        DrawFlightPolygon(w, p, 7, true, FlightBugMagenta);
    }
    // The drum in front, as the readout draws it over the tape.
    const int a = x - 124;
    TDrumCut cuts[4];
    bool five = false;
    const int n = AltimeterDrumCuts(h, a, cuts, &five);
    const FGBitmap* frame = MainPictures[five ? Pic3dVyskomer : Pic3dVyskomer2];
    w->set_clip_rect(0, LabelClipTop, 800, 394);
    const int64_t m = (int64_t(h) - 1000) / 200 * 2;
    for (int64_t i = m - 80; i <= m + 78; i += 2) {
        const int64_t ly = 529 - (i * 100 - h + 1000) * 3 / 10;
        if (ly < -40 || ly > 394) continue;
        char text[24];
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(i * 100 - 200));
        const int width = TapeDigitsWidth(text);
        if (LabelMeetsDrum(x - 5 - width, ly + LabelClipTop, x - 3, ly + LabelClipTop + 18, frame, a, 157, 125, 100,
                           cuts, n))
            continue;
        DrawTapeDigits(x - 5, static_cast<int>(ly), text, w, 1, 40, 1);
    }
    w->set_clip_rect(0, 0, 800, 480);
}

void DrawAltimeter() {
    FGDrawBuffer* w = MainWindow;
    int32_t metres = 0;
    FlightErrors.altitude = !ReadFlightChannel(echAltitudeQNH, &metres);
    if (!FlightErrors.altitude)
        UpdateSettledMinMax(echAltitudeQNH, metres, &FlightStatistics.altitude.max, &FlightStatistics.altitude.min);
    if (!w || ScreenType == ScreenEngine) return;
    DrawAltimeterReadout(UnitsSetting.altitude == UnitFeet ? FeetFromMetres(metres) : metres);
}

void DrawAltimeterReadout(int32_t h) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const int a = ScreenType >= ScreenFlightEms ? AltimeterXSplit : AltimeterXFull;
    DrawAltitudeTape(h, w, a + 124, 70);
    TDrumCut cuts[4];
    bool five = false;
    const int n = AltimeterDrumCuts(h, a, cuts, &five);
    if (FGBitmap* frame = MainPictures[five ? Pic3dVyskomer : Pic3dVyskomer2]) w->bitblt(a, 157, 0, 0, 125, 100, frame);
    DrawCuts(w, cuts, n);
    if (h < 0) w->fillbox(a + 12, 208, 16, 4, Black);
    if (FlightErrors.altitude) DrawErrText(w, a + 10, 177, "  ERR  ");
}

// ---- airspeed ----

void DrawAirspeedTape(int32_t s, FGDrawBuffer* window, int x, int y) {
    FGDrawBuffer* w = window;
    if (!w) return;
    const int unit = UnitsSetting.airspeed;
    const int32_t white = ConvertSpeedLimit(unit, AirspeedLimits.vs);
    const int32_t green = ConvertSpeedLimit(unit, AirspeedLimits.vfe);
    const int32_t yellow = ConvertSpeedLimit(unit, AirspeedLimits.vno);
    const int32_t red = ConvertSpeedLimit(unit, AirspeedLimits.vne);
    TasSpeedZone = SpeedZone(RefreshValues.tas, white, green, yellow, red);

    Band(w, x, y, TapeHeight, TapeWhite);
    const int64_t top = int64_t(s) + 600;
    auto length = [&](int32_t limit, bool plainClamp) {
        const int64_t off = (3 * int64_t(limit) - 3 * int64_t(s)) / 10;
        int64_t p = off + 215;
        if (!plainClamp && off > 140) p = TapeHeight;
        return TapeHeight - static_cast<int>(std::clamp<int64_t>(p, 0, TapeHeight));
    };
    if (white < top) Band(w, x, y, length(white, false), TapeGreenWhite);
    if (green < top && white < top) Band(w, x, y, length(green, true), TapeGreen);
    if (yellow < top) Band(w, x, y, length(yellow, false), TapeYellow);
    if (red < top) Band(w, x, y, length(red, false), TapeRed);

    if (DisplaySetting.iasBugOn) {
        const int64_t bug = DisplaySetting.iasBug;
        int64_t b;
        switch (unit) {
            case UnitKnots:
            case UnitMph: b = ConvertSpeed(unit, bug + 50) / 10; break;
            default: b = (bug + 50) / 10; break;
        }
        const int bx = ScreenType >= ScreenFlightEms ? 47 : 101;
        const int by = 208 - static_cast<int>(std::clamp<int64_t>((3 * b - 3 * int64_t(s)) / 10, -205, 127));
        const FGPoint p[7] = {{bx, by - 11},    {bx, by + 11}, {bx + 8, by + 11}, {bx + 8, by + 6},
                              {bx + 2, by},     {bx + 8, by - 6}, {bx + 8, by - 11}};
        DrawFlightPolygon(w, p, 7, true, FlightBugMagenta);
    }

    // The drum in front, as the readout draws it over the tape.
    TDrumCut cuts[3];
    const int n = AirspeedDrumCuts(s, x, cuts);
    const FGBitmap* frame = MainPictures[Pic3dRychlomer];
    w->set_clip_rect(0, LabelClipTop, 200, 394);
    for (int64_t i = int64_t(s) / 100 - 8; i <= int64_t(s) / 100 + 7; ++i) {
        if (i < 0 || i % 2 != 0) continue;
        char text[24];
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(i * 10));
        const int64_t ly = 168 - (i * 3000 - int64_t(s) * 30) / 100;
        if (LabelMeetsDrum(x + 18, ly + LabelClipTop, x + 20 + TapeDigitsWidth(text), ly + LabelClipTop + 18, frame,
                           x + 12, 156, 96, 100, cuts, n))
            continue;
        DrawTapeDigits(x + 18, SatInt32(ly), text, w, 1, 40, 0);
    }
    w->set_clip_rect(0, 0, 800, 480);
}

void DrawAirspeedIndicator() {
    FGDrawBuffer* w = MainWindow;
    int32_t v = 0;
    FlightErrors.airspeed = !ReadFlightChannel(echSpeedIas, &v);
    if (!FlightErrors.airspeed)
        UpdateSettledMinMax(echSpeedIas, v / 10, &FlightStatistics.speed.max, &FlightStatistics.speed.min);
    if (!w || ScreenType == ScreenEngine) return;
    switch (UnitsSetting.airspeed) {
        case UnitKnots:
        case UnitMph: DrawAirspeedReadout(ConvertSpeed(UnitsSetting.airspeed, v)); break;
        default: DrawAirspeedReadout(v); break;
    }
}

void DrawAirspeedReadout(int32_t s) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const int e = ScreenType >= ScreenFlightEms ? AirspeedXSplit : AirspeedXFull;
    DrawAirspeedTape(s, w, e, 70);
    if (FGBitmap* frame = MainPictures[Pic3dRychlomer]) w->bitblt(e + 12, 156, 0, 0, 96, 100, frame);
    TDrumCut cuts[3];
    DrawCuts(w, cuts, AirspeedDrumCuts(s, e, cuts));
    if (FlightErrors.airspeed) DrawErrText(w, e + 30, 175, "  ERR  ");
}
