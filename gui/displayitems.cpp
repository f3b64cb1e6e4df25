#include "displayitems.h"

#include "configmanager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "averdata.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"
#include "lookup.h"
#include "shellstate.h"
#include "units.h"

namespace {

constexpr int32_t FullCircle = 360000;   // thousandths of a degree

// Coordinates are worked out in 64 bits and saturated with SatInt32: anything
// beyond int lies far outside every window, so saturating keeps it there.

FGPixel Colour(int32_t c) { return static_cast<FGPixel>(c); }

// Filled length of v within min..max over full pixels, kept inside 0..full.
// A range without extent is empty below min and full from min up.
int64_t FillLength(int64_t v, int64_t min, int64_t max, int64_t full) {
    if (full <= 0) return 0;
    int64_t length;
    if (max == min)
        length = v >= min ? full : 0;
    else
        length = (v - min) * full / (max - min);   // |v - min| < 2^33, full < 2^31
    return std::min(std::max<int64_t>(length, 0), full);
}

// Angle reduced to one turn so that it fits the sine table's argument.
int32_t Turn(int64_t milli) {
    int64_t a = milli % FullCircle;
    return static_cast<int32_t>(a < 0 ? a + FullCircle : a);
}

FGPoint Polar(int64_t cx, int64_t cy, int64_t angle, int64_t length) {
    const int32_t a = Turn(angle);
    return {SatInt32(cx + CosMilli(a) * length / 1000), SatInt32(cy + SinMilli(a) * length / 1000)};
}

void DrawItemText(FGDrawBuffer* w, int64_t x, int64_t y, const char* text) {
    w->text(SatInt32(x), SatInt32(y), text);
}

}  // namespace

int DisplayItemFont(int32_t fontCode, int languageId) {
    const bool cyrillic = languageId == LanguageRussian;
    int index;
    switch (fontCode) {
        case 8: index = cyrillic ? FontMsRefSans15 : FontEuromode14; break;
        case 10: index = cyrillic ? FontMsRefSans16 : FontEuromode16; break;
        case 11: index = cyrillic ? FontMsRefSans17 : FontEuromode19; break;
        case 12: index = FontEuromode20; break;
        case 14: index = FontEuromode23; break;
        case 16: index = FontEuromode25; break;
        case 18: index = FontEuromode29; break;
        case 20: index = FontEuromode32; break;
        case 21: index = FontMsRefSans19; break;
        case 22: index = FontMsRefSans22; break;
        case 23: index = FontMsRefSans25; break;
        case 24: index = FontMsRefSans28; break;
        case 25: index = FontMsRefSans32; break;
        default: return LanguageTextFont(languageId);
    }
    return LatinFont(static_cast<TDisplayFontIndex>(index), languageId);
}

void DrawDisplayItem(TDisplayItem* item) {
    FGDrawBuffer* w = MainWindow;
    if (!item || !w) return;
    w->set_ink(Colour(item->textColour));
    w->set_paper(PageKeyColour);
    w->set_mode(DrawModeKeyed);
    const int font = DisplayItemFont(item->fontCode, LanguageId);
    if (FGFontManager::is_font(font)) w->set_font(font);

    // The record may come without its terminator.
    char text[sizeof item->text + 1];
    std::memcpy(text, item->text, sizeof item->text);
    text[sizeof item->text] = '\0';
    const int64_t x = item->x, y = item->y, width = item->width;
    const int64_t textWidth = FGFontManager::textwidth(w->get_font(), text);

    switch (item->value) {
        case ItemNoValue:
            DrawItemText(w, x + width - textWidth, y, text);
            return;
        case ItemLabel:
            DrawItemText(w, x + (width - textWidth) / 2, y, text);
            return;
        case ItemHighlight:
            w->set_mode(DrawModeCopy);
            w->set_paper(Colour(item->warnColour));
            DrawItemText(w, x + (width - textWidth) / 2, y, text);
            return;
        case ItemPlainText:
            DrawItemText(w, x, y, text);
            return;
        default:
            break;
    }

    char number[FixTextSize];
    FixToText(number, item->value, item->decimals);
    char shown[FixTextSize + 2];
    std::snprintf(shown, sizeof shown, " %s ", number);
    if (item->warn != 0 && item->value >= item->warn) {
        w->set_mode(DrawModeCopy);
        if (item->value < item->alarm) {
            w->set_ink(DisplayPalette.PalBlack);
            w->set_paper(Colour(item->warnColour));
        } else {
            w->set_paper(Colour(item->alarmColour));
        }
    }
    DrawItemText(w, x + width - FGFontManager::textwidth(w->get_font(), shown), y, shown);
}

void DrawBarItem(TBarItem* bar) {
    FGDrawBuffer* w = MainWindow;
    if (!bar || !w || bar->max == 0) return;
    const bool horizontal = bar->orientation == BarRight || bar->orientation == BarLeft;
    const int64_t full = horizontal ? bar->width : bar->height;
    int64_t length = FillLength(bar->value, bar->min, bar->max, full);
    int32_t colour = bar->normalColour;
    const bool alarm = bar->value >= bar->warn && bar->value >= bar->alarm;
    if (alarm)
        colour = bar->alarmColour;
    else if (bar->value >= bar->warn)
        colour = bar->warnColour;
    if (alarm && horizontal) length++;

    const int64_t bx = static_cast<int64_t>(bar->x) + bar->dx;
    const int64_t by = static_cast<int64_t>(bar->y) + bar->dy;
    int64_t fx = bx, fy = by, fw = length, fh = bar->height;
    switch (bar->orientation) {
        case BarRight: break;
        case BarLeft: fx = bx + bar->width - length; break;
        case BarUp: fy = by + bar->height - length; fw = bar->width; fh = length; break;
        case BarDown: fw = bar->width; fh = length; break;
        default: return;
    }
    w->fillbox(SatInt32(fx), SatInt32(fy), SatInt32(fw), SatInt32(fh), Colour(colour));
}

void DrawDialNeedle(TDialItem* dial) {
    FGDrawBuffer* w = MainWindow;
    if (!dial || !w || !dial->enabled) return;
    w->set_mode(DrawModeCopy);
    const int32_t lo = std::min(dial->min, dial->max), hi = std::max(dial->min, dial->max);
    dial->value = std::min(std::max(dial->value, lo), hi);

    const int64_t min = dial->min, max = dial->max, start = dial->startAngle, end = dial->endAngle;
    const int64_t p = max == min ? 0 : (dial->value - min) * 100 / (max - min);
    const int64_t a = start < end ? (start + p * (end - start) / 100) * 1000
                                  : (end + (start - end) * (100 - p) / 100) * 1000;

    const int64_t cx = static_cast<int64_t>(dial->cx) + dial->dx;
    const int64_t cy = static_cast<int64_t>(dial->cy) + dial->dy;
    const int64_t half = dial->width / 2, fifth = dial->width / 5;
    const int32_t ta = Turn(a);
    const int64_t tipX = cx + CosMilli(ta) * static_cast<int64_t>(dial->radius) / 1000;
    const int64_t tipY = cy + SinMilli(ta) * static_cast<int64_t>(dial->radius) / 1000;
    const FGPoint corners[4] = {
        Polar(cx, cy, a + 270000, half),
        Polar(cx, cy, a + 90000, half),
        Polar(tipX, tipY, a + 90000, fifth),
        Polar(tipX, tipY, a + 270000, fifth),
    };
    FGPointArray needle(4, corners);
    w->fillpolygon(needle, Colour(dial->colour));
    if (PicDialCentre) w->bitblt(SatInt32(cx - 7), SatInt32(cy - 7), 0, 0, 14, 14, PicDialCentre);
}

void DrawBarWithItem(TBarItem* bar, TDisplayItem* item, uint32_t channelId, int force) {
    if (force && bar && bar->value > bar->min && AverReader) AverReader->ForceValue(channelId, -32);
    DrawBarItem(bar);
    DrawDisplayItem(item);
}

void DrawDialWithItem(TDialItem* dial, TDisplayItem* item, uint32_t channelId, int force) {
    if (force) {
        if (item) item->value = ItemNoValue;
        if (dial && dial->value > dial->min && AverReader) AverReader->ForceValue(channelId, -32);
    }
    DrawDialNeedle(dial);
    DrawDisplayItem(item);
}

// ---------------------------------------------------------------- picture aids

void DrawPictureBar(TBarItem bar, int32_t v) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    const bool horizontal = bar.orientation == BarRight || bar.orientation == BarLeft;
    const int64_t length = FillLength(v, bar.min, bar.max, horizontal ? bar.width : bar.height);
    const int64_t dx = bar.dx, dy = bar.dy;
    switch (bar.orientation) {
        case BarRight:
            TileHorizontal(bar.dx, bar.dy, SatInt32(length), PicBarHorizontal, w);
            if (v != 0) w->fillbox(SatInt32(dx + length - 2), SatInt32(dy + 2), 2, 10, DisplayPalette.PalBlack);
            w->fillbox(SatInt32(dx - 4), SatInt32(dy - 6), 3, 27, WhiteColour);
            w->fillbox(SatInt32(dx + bar.warn), SatInt32(dy - 6), 3, 27, WhiteColour);
            break;
        case BarLeft: {
            const int64_t start = dx - length - 4;
            TileHorizontal(SatInt32(start), bar.dy, SatInt32(length), PicBarHorizontal, w);
            if (v != 0) w->fillbox(SatInt32(start), SatInt32(dy + 2), 2, 10, DisplayPalette.PalBlack);
            w->fillbox(SatInt32(dx - 4), SatInt32(dy - 6), 3, 27, WhiteColour);
            w->fillbox(SatInt32(dx - bar.warn - 8), SatInt32(dy - 6), 3, 27, WhiteColour);
            break;
        }
        case BarUp:
            w->fillbox(SatInt32(dx - 6), SatInt32(dy - 4), 27, 3, WhiteColour);
            TileVertical(bar.dx, SatInt32(dy - length - 4), SatInt32(length), PicBarVertical, w);
            break;
        case BarDown:
            w->fillbox(SatInt32(dx - 6), SatInt32(dy - 4), 27, 3, WhiteColour);
            w->fillbox(bar.dx, bar.dy, bar.width, SatInt32(length), Colour(bar.normalColour));
            TileVertical(bar.dx, bar.dy, SatInt32(length), PicBarVertical, w);
            break;
        default:
            break;
    }
}

void DrawSlipBall(const int32_t* record, int32_t n) {
    FGDrawBuffer* w = MainWindow;
    if (!record || !w || record[2] != 0) return;
    const int64_t cx = record[7], cy = record[8];
    n = std::min(std::max(n, -80), 80);
    if (PicSlipBall) w->bitblt(SatInt32(cx + n - 14), SatInt32(cy - 14), 0, 0, 30, 30, PicSlipBall);
    w->fillbox(SatInt32(cx - 22), SatInt32(cy - 15), 3, 30, WhiteColour);
    w->fillbox(SatInt32(cx + 20), SatInt32(cy - 15), 3, 30, WhiteColour);
}

void DrawDigitString(int x, int y, const char* text, FGDrawBuffer* target) {
    if (!text || !target || !PicDigits) return;
    int64_t px = x;
    for (const char* c = text; *c; c++) {
        if (*c >= '0' && *c <= '9') {
            target->bitblt(SatInt32(px), y, 0, (*c - '0') * 19, 10, 12, PicDigits);
            px += 10;
        } else if (*c == '-') {
            target->bitblt(SatInt32(px), y, 0, 190, 10, 12, PicDigits);
            px += 5;
        }
    }
}

int TapeDigitsWidth(const char* text) {
    int64_t w = 0;
    for (const char* c = text; c && *c; c++) w += (*c >= '0' && *c <= '9') ? 14 : *c == '-' ? 7 : 0;
    return SatInt32(w);
}

int DrawTapeDigits(int x, int y, const char* text, FGDrawBuffer* target, int clip, int clipY,
                   int rightAlign) {
    if (!text) return 0;
    int64_t px = x;
    if (rightAlign) px -= TapeDigitsWidth(text);
    const bool clipped = clip && y < clipY;
    const int64_t rows = clipped ? std::min<int64_t>(static_cast<int64_t>(y) - 22, 18) : 18;
    const int64_t cut = 18 - rows;
    if (target && PicTapeDigits && rows > 0) {
        for (const char* c = text; *c; c++) {
            if (*c >= '0' && *c <= '9') {
                target->bitblt(SatInt32(px), SatInt32(y + cut), 0, SatInt32((*c - '0') * 25 + 6 + cut), 16,
                               static_cast<int>(rows), PicTapeDigits);
                px += 14;
            } else if (*c == '-') {
                target->bitblt(SatInt32(px), SatInt32(y + cut), 0, SatInt32(258 + cut), 10,
                               static_cast<int>(rows), PicTapeDigits);
                px += 7;
            }
        }
    }
    return clipped ? SatInt32(40 - static_cast<int64_t>(y)) : 0;
}

// bitblt repeats the picture across a wider area and cuts the last copy, and
// visits only the copies that reach the target's clip.
void TileHorizontal(int x, int y, int length, FGDrawBuffer* picture, FGDrawBuffer* target) {
    if (!picture || !target || picture->width <= 0 || picture->height <= 0) return;
    target->bitblt(x, y, 0, 0, length, picture->height, picture);
}

void TileVertical(int x, int y, int length, FGDrawBuffer* picture, FGDrawBuffer* target) {
    if (!picture || !target || picture->width <= 0 || picture->height <= 0) return;
    target->bitblt(x, y, 0, 0, picture->width, length, picture);
}

void DrawBootLogo() {
    FGDrawBuffer* w = MainWindow;
    if (!w || !BootLogo) return;
    w->clear(DisplayPalette.PalBlack);
    w->bitblt((w->width - BootLogo->width) / 2, (w->height - BootLogo->height) / 2, 0, 0,
              BootLogo->width, BootLogo->height, BootLogo);
}
