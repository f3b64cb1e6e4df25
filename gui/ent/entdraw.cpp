#include "entdraw.h"

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

int TextWidth(int font, const char* text) {
    if (!text || !FGFontManager::is_font(font)) return 0;
    return FGFontManager::textwidth(font, text);
}
