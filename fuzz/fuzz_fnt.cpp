// ".fnt" loader: any bytes load into a slot or are refused, never read or
// write outside their data; every glyph the table hands out lies in its masks.
#include <cstddef>
#include <cstdint>

#include "fgfontmanager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int id = FGFontManager::register_font_image(data, size, "fuzz", 63);
    if (id < 0)
        return 0;
    int h = FGFontManager::get_font_height(id);
    volatile FGPixel sum = 0;
    for (int c = 0; c < 256; ++c) {
        int pitch = 0;
        const FGPixel* g = FGFontManager::glyph(id, static_cast<unsigned char>(c), &pitch);
        if (g)
            sum = sum + g[0] + g[pitch * h - 1];
    }
    sum = sum + static_cast<FGPixel>(FGFontManager::textwidth(id, "\x01\x7f\xff AZ"));
    return 0;
}
