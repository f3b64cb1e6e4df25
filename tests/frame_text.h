// Text read back from a frame: where a text, drawn alone in a font, stands in the page.
#pragma once

#include <utility>
#include <vector>

#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "shellstate.h"

// Where the text, drawn alone in the font, stands in the page (0, 60)..(800, 540) of
// the frame: every pixel of its ink in one colour and no other pixel of its cell in
// that colour (the paper may be shaded). {-1, -1} when nowhere.
inline std::pair<int, int> FindText(const FGBitmap& frame, int font, const char* text) {
    const int w = FGFontManager::textwidth(font, text), h = FGFontManager::get_font_height(font);
    if (w <= 0 || h <= 0) return {-1, -1};
    FGDrawBuffer cell(w, h, FG_TYPE_BITMAP, 0);
    cell.set_font(font);
    cell.text(0, 0, text, 0xFFFFFF, 0);
    // The cell's pixels as offsets into the frame, ink and paper interleaved so that a
    // wrong place fails within a few compares (sanitised builds scan many frames).
    std::vector<std::pair<int, bool>> order;
    std::vector<int> ink, paper;
    for (int i = 0; i < w * h; ++i)
        ((cell.pixels[i] & 0xFFFFFF) != 0 ? ink : paper).push_back((i / w) * frame.width + i % w);
    if (ink.empty()) return {-1, -1};
    for (size_t k = 0; k < ink.size() || k < paper.size(); ++k) {
        if (k < ink.size()) order.emplace_back(ink[k], true);
        if (k < paper.size()) order.emplace_back(paper[k], false);
    }
    const FGPixel* const pixels = frame.pixels;
    for (int y = 60; y + h <= 540; ++y)
        for (int x = 0; x + w <= 800; ++x) {
            const FGPixel* const at = pixels + y * frame.width + x;
            const FGPixel colour = at[ink[0]] & 0xFFFFFF;
            bool match = true;
            for (size_t k = 0; k < order.size() && match; ++k)
                match = ((at[order[k].first] & 0xFFFFFF) == colour) == order[k].second;
            if (match) return {x, y - 60};
        }
    return {-1, -1};
}

// Whether the text stands in the page in any of the display fonts.
inline bool TextShown(const FGBitmap& frame, const char* text) {
    for (int font : DisplayFonts)
        if (font >= 0 && FindText(frame, font, text).first >= 0) return true;
    return false;
}
