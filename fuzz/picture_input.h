// Shared body of the picture decoder targets: the input is decoded as a file
// of the given name; a loaded bitmap's pixel array must hold every pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fgbitmap.h"

inline void fuzz_picture(const uint8_t* data, size_t size, const char* name) {
    static uint8_t empty[1];
    FILE* f = fmemopen(size ? const_cast<uint8_t*>(data) : empty, size ? size : 1, "rb");
    if (!f) return;
    if (!size) std::fgetc(f);   // nothing to read
    FGBitmap b(1, 1, 0);
    const int rc = b.load(f, name);
    std::fclose(f);
    if (rc != 0) return;
    volatile FGPixel sum = 0;
    for (int64_t i = 0, n = int64_t(b.width) * b.height; i < n; i++) sum = sum + b.pixels[i];
}
