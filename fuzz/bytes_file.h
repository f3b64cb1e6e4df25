// The input as a read-only stream; an empty input is a stream already at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

inline FILE* FuzzBytesFile(const uint8_t* data, size_t size) {
    // fmemopen refuses a zero size: one byte, read away at once.
    static uint8_t empty[1];
    FILE* f = fmemopen(size ? const_cast<uint8_t*>(data) : empty, size ? size : 1, "rb");
    if (f && !size) std::fgetc(f);
    return f;
}
