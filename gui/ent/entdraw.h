// Small drawing helpers of the entertainment screen and the file dialogs.
#pragma once

#include <cstdint>

class FGDrawBuffer;

constexpr uint32_t Rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           static_cast<uint32_t>(b & 0xFF);
}

// The registered font of the active set by nominal size (14, 16, 19, 20, 23, 25, 29,
// 32, 58); -1 for another size or a font that is not registered.
int NominalFont(int size);
// Selects the font when it exists; returns its height (0 when none is selected).
int UseFont(FGDrawBuffer* w, int font);
// Text on transparent paper in the buffer's current font.
void KeyedText(FGDrawBuffer* w, int x, int y, const char* text, uint32_t colour);
// The same, cut at the edges of the box (bx, by, bw, bh).
void KeyedTextIn(FGDrawBuffer* w, int x, int y, const char* text, uint32_t colour, int bx, int by, int bw, int bh);
// Width of a text in a font (0 for no font).
int TextWidth(int font, const char* text);
