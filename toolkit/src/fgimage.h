// Picture decoders behind FGBitmap::load, each over an open file. A decoder
// sizes the bitmap's pixel array itself and leaves palette indices (8 or fewer
// bits per pixel) or finished 0x00RRGGBB pixels in it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "fgbitmap.h"

class FGImageReader {
public:
    explicit FGImageReader(FILE* f) : file(f) {}
    // All n bytes or false.
    bool read(void* dst, size_t n) { return n == 0 || std::fread(dst, 1, n, file) == n; }
    // Next byte, or -1 at the end of the data.
    int byte() { return std::getc(file); }
    // Reads past n bytes; false when the data end first.
    bool skip(int64_t n);
    bool seek(int64_t position) { return fseeko(file, position, SEEK_SET) == 0; }
    bool seek_before_end(int64_t back) { return fseeko(file, -back, SEEK_END) == 0; }

private:
    FILE* file;
};

inline uint16_t fg_le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t fg_le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// A toolkit error line; a "%s" in the text takes the argument.
void fg_image_error(const char* text, const char* argument = nullptr);
// True when a w x h picture is within the decoders' limits.
bool fg_image_size_ok(int64_t w, int64_t h);
// Replaces the pixel array by a w x h one (zeroed unless told otherwise);
// ends the process when memory runs out.
void fg_bitmap_set_array(FGBitmap& b, int w, int h, bool zeroed = true);

// Each returns an FG_BITMAP_* result.
int fg_decode_bmp(FGImageReader& in, FGBitmap& b, const char* name);
int fg_decode_gif(FGImageReader& in, FGBitmap& b, const char* name);
int fg_decode_pcx(FGImageReader& in, FGBitmap& b, const char* name);
int fg_decode_tga(FGImageReader& in, FGBitmap& b, const char* name);
