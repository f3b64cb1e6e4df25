// 24-bit BMP writer for frames of 0x00RRGGBB pixels.
#pragma once

#include <cstdint>
#include <vector>

// Return codes of the BMP writer.
enum {
    BMP_OK = 0,
    BMP_ERR_ARGS = -341,   // no pixels, or a size out of range
    BMP_ERR_OPEN = -342,   // the file could not be created
    BMP_ERR_WRITE = -343,  // writing or closing failed (full disk, I/O error)
};

// File header (14 bytes) and info header (40 bytes), little-endian on disk.
constexpr uint32_t BmpFileHeaderSize = 14;
constexpr uint32_t BmpInfoHeaderSize = 40;
constexpr uint32_t BmpPixelOffset = BmpFileHeaderSize + BmpInfoHeaderSize;
constexpr int32_t BmpMaxSide = 16384;

struct TBmpHeaders {
    uint8_t bytes[BmpPixelOffset];
};
static_assert(sizeof(TBmpHeaders) == 54, "BMP headers are 54 bytes");

// Bytes of one stored row: 3 per pixel, padded to a multiple of 4.
uint32_t BmpRowBytes(int32_t width);

// Encodes width x height pixels (row stride `pitch` pixels) as a bottom-up BGR file image.
int BmpEncode24(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitch,
                std::vector<uint8_t>* out);

// Encodes and writes to `path`; a partial regular file is removed on failure.
int BmpWrite24(const char* path, const uint32_t* pixels, int32_t width, int32_t height,
               int32_t pitch);
