// Text read back from a frame: where a text, drawn alone in a font, stands in the page.
#pragma once

#include <utility>
#include <vector>

#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"

// Where the text, drawn alone in the font, stands in the page (0, 60)..(800, 540) of
// the frame: every pixel of its ink in one colour and no other pixel of its cell in
// that colour (the paper may be shaded). {-1, -1} when nowhere.
inline std::pair<int, int> FindText(const FGBitmap& frame, int font, const char* text) {
    const int w = FGFontManager::textwidth(font, text), h = FGFontManager::get_font_height(font);
    if (w <= 0 || h <= 0) return {-1, -1};
    FGDrawBuffer cell(w, h, FG_TYPE_BITMAP, 0);
    cell.set_font(font);
    cell.text(0, 0, text, 0xFFFFFF, 0);
    std::vector<bool> ink(size_t(w) * h);
    int first = -1;
    for (int i = 0; i < w * h; ++i)
        if ((ink[size_t(i)] = (cell.pixels[i] & 0xFFFFFF) != 0) && first < 0) first = i;
    if (first < 0) return {-1, -1};
    auto at = [&](int x, int y) { return frame.pixels[y * frame.width + x] & 0xFFFFFF; };
    for (int y = 60; y + h <= 540; ++y)
        for (int x = 0; x + w <= 800; ++x) {
            const FGPixel colour = at(x + first % w, y + first / w);
            bool match = true;
            for (int j = 0; j < h && match; ++j)
                for (int i = 0; i < w && match; ++i) match = (at(x + i, y + j) == colour) == ink[size_t(j * w + i)];
            if (match) return {x, y - 60};
        }
    return {-1, -1};
}
