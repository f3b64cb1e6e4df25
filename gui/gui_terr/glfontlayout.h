// Layout of the GL texture fonts the view loads: characters in glyph order
// and advance widths. The picture generator draws the font textures from it.
#pragma once

#include <cstdint>

namespace pic {

// GL texture fonts: the characters of each font in glyph order (its code
// page's bytes) and each glyph's advance width in the 32-unit cell; letter
// spacing and digit advance are the font records' own (4/12, 2/13, 2/13, 2/13).
#define PIC_ASCII                                                                                      \
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"
inline constexpr const char* GlFontCharset[4] = {
    // font6 and font_t: Windows-1250, Central European letters
    PIC_ASCII "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3"
              "\xF8\x9A\x9D\xFA\xF9\xFD\x9E\xB0\xC4\xE4",
    PIC_ASCII "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3"
              "\xF8\x9A\x9D\xFA\xF9\xFD\x9E\xB0\xC4\xE4",
    // font_r: Windows-1251, capitals and punctuation of ASCII, then Cyrillic
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^\xB0"
    "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7"
    "\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
    "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF",
    // font_w: Windows-1252, Western European accents
    PIC_ASCII "\xC0\xC2\xC4\xC7\xC8\xC9\xCA\xCB\xCE\xCF\xD4\xD6\xD9\xDB\xDC\xDF\xE0\xE2\xE4\xE7\xE8\xE9\xEA"
              "\xEB\xEE\xEF\xF4\xF6\xF9\xFB\xFC\xB0\xFF",
};
#undef PIC_ASCII
inline constexpr const char* GlFontCodePage[4] = {"CP1250", "CP1250", "CP1251", "CP1252"};
inline constexpr int GlFontGlyphs = 128;

inline constexpr uint8_t GlFontWidths[4][128] = {
    {4, 5, 6, 11, 8, 12, 10, 3, 5, 5, 6, 11, 4, 5, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 4, 4, 11, 11, 11, 7,
     13, 9, 9, 9, 10, 8, 7, 10, 9, 4, 4, 8, 7, 11, 9, 10, 8, 10, 9, 8, 8, 9, 9, 12, 9, 8, 9, 5, 4, 5, 11, 6,
     6, 8, 8, 7, 8, 8, 4, 8, 8, 4, 4, 7, 4, 12, 8, 8, 8, 8, 5, 7, 5, 8, 7, 10, 7, 7, 7, 8, 4, 8, 11, 9,
     9, 10, 8, 8, 4, 9, 10, 9, 8, 8, 9, 9, 8, 9, 8, 7, 8, 8, 8, 4, 8, 8, 5, 7, 5, 8, 8, 7, 7, 6, 9, 8},
    {5, 7, 8, 13, 11, 16, 14, 5, 7, 7, 8, 13, 6, 7, 6, 6, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 6, 6, 13, 13, 13, 9,
     16, 12, 12, 12, 13, 11, 11, 13, 13, 6, 6, 12, 10, 16, 13, 13, 12, 13, 12, 11, 11, 13, 12, 17, 12, 11, 11, 7, 6, 7, 13, 8,
     8, 11, 11, 9, 11, 11, 7, 11, 11, 5, 5, 11, 5, 16, 11, 11, 11, 11, 8, 9, 8, 11, 10, 15, 10, 10, 9, 11, 6, 11, 13, 12,
     12, 13, 11, 11, 6, 13, 13, 12, 11, 11, 13, 13, 11, 11, 11, 9, 11, 11, 11, 5, 11, 11, 8, 9, 8, 11, 11, 10, 9, 8, 12, 11},
    {5, 7, 8, 13, 11, 16, 14, 5, 7, 7, 8, 13, 6, 7, 6, 6, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 6, 6, 13, 13, 13, 9,
     16, 12, 12, 12, 13, 11, 11, 13, 13, 6, 6, 12, 10, 16, 13, 13, 12, 13, 12, 11, 11, 13, 12, 17, 12, 11, 11, 7, 6, 7, 13, 8,
     12, 12, 12, 10, 14, 11, 19, 11, 13, 13, 13, 13, 16, 13, 13, 13, 12, 12, 11, 12, 16, 12, 15, 13, 20, 21, 15, 16, 12, 12, 19, 12,
     11, 11, 10, 8, 13, 11, 16, 9, 11, 11, 11, 12, 13, 11, 11, 11, 11, 9, 9, 10, 16, 10, 12, 11, 17, 17, 12, 14, 10, 9, 15, 10},
    {5, 7, 8, 13, 11, 16, 14, 5, 7, 7, 8, 13, 6, 7, 6, 6, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 6, 6, 13, 13, 13, 9,
     16, 12, 12, 12, 13, 11, 11, 13, 13, 6, 6, 12, 10, 16, 13, 13, 12, 13, 12, 11, 11, 13, 12, 17, 12, 11, 11, 7, 6, 7, 13, 8,
     8, 11, 11, 9, 11, 11, 7, 11, 11, 5, 5, 11, 5, 16, 11, 11, 11, 11, 8, 9, 8, 11, 10, 15, 10, 10, 9, 11, 6, 11, 13, 12,
     12, 12, 12, 11, 11, 11, 11, 6, 6, 13, 13, 13, 13, 13, 11, 11, 11, 11, 9, 11, 11, 11, 11, 5, 5, 11, 11, 11, 11, 11, 8, 10},
};

}  // namespace pic
