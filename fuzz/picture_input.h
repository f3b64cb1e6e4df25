// Shared body of the picture decoder targets: the input is decoded as a file
// of the given name; a loaded bitmap's pixel array must hold every pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "bytes_file.h"
#include "fgbitmap.h"

inline void fuzz_picture(const uint8_t* data, size_t size, const char* name) {
    FILE* f = FuzzBytesFile(data, size);
    if (!f) return;
    FGBitmap b(1, 1, 0);
    const int rc = b.load(f, name);
    std::fclose(f);
    if (rc != 0) return;
    volatile FGPixel sum = 0;
    for (int64_t i = 0, n = int64_t(b.width) * b.height; i < n; i++) sum = sum + b.pixels[i];
}
