#include "entdraw.h"

#include <algorithm>

#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "shellstate.h"

int NominalFont(int size) {
    switch (size) {
        case 14: return LanguageFont(FontEuromode14, FontMsRefSans15);
        case 16: return LanguageFont(FontEuromode16, FontMsRefSans16);
        case 19: return LanguageFont(FontEuromode19, FontMsRefSans17);
        case 20: return LanguageFont(FontEuromode20, FontMsRefSans19);
        case 23: return LanguageFont(FontEuromode23, FontMsRefSans22);
        case 25: return LanguageFont(FontEuromode25, FontMsRefSans25);
        case 29: return LanguageFont(FontEuromode29, FontMsRefSans28);
        case 32: return LanguageFont(FontEuromode32, FontMsRefSans32);
        case 58: return LanguageFont(FontEuromode58, FontMsRefSans32);
        default: return -1;
    }
}

int UseFont(FGDrawBuffer* w, int font) {
    if (!w || !FGFontManager::is_font(font)) return 0;
    w->set_font(font);
    return FGFontManager::get_font_height(font);
}

void KeyedText(FGDrawBuffer* w, int x, int y, const char* text, uint32_t colour) {
    if (!w || !text || !*text) return;
    const unsigned mode = w->get_mode();
    w->set_mode(DrawModeKeyed);
    w->text(x, y, text, colour, PageKeyColour);
    w->set_mode(mode);
}

void KeyedTextIn(FGDrawBuffer* w, int x, int y, const char* text, uint32_t colour, int bx, int by, int bw, int bh) {
    if (!w) return;
    // The clip rectangle is also the origin: draw in the box's own coordinates, within
    // the clip already set.
    int cx, cy, cw, ch;
    w->get_clip_rect(&cx, &cy, &cw, &ch);
    const int left = std::max(cx, cx + bx), top = std::max(cy, cy + by);
    const int right = std::min(cx + cw, cx + bx + std::max(bw, 0)), bottom = std::min(cy + ch, cy + by + std::max(bh, 0));
    if (right > left && bottom > top) {
        w->set_clip_rect(left, top, right - left, bottom - top);
        KeyedText(w, x + cx - left, y + cy - top, text, colour);
    }
    w->set_clip_rect(cx, cy, cw, ch);
}

int TextWidth(int font, const char* text) {
    if (!text || !FGFontManager::is_font(font)) return 0;
    return FGFontManager::textwidth(font, text);
}
