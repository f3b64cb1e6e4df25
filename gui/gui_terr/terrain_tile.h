// The ".hkm" terrain tile: a 112-byte little-endian header and 300 x 300
// signed 16-bit elevations in metres, row 0 at the cell's northern edge.
// Header-only so that the tile generator writes what the loader reads.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t TileSamples = 300;         // per row and rows per tile
constexpr uint32_t TileSpacing = 12;          // arc-seconds between samples
constexpr uint32_t TileHeaderSize = 112;
constexpr uint32_t TileRowBytes = TileSamples * 2;
constexpr uint32_t TileArrayBytes = TileSamples * TileRowBytes;

// Layout of the header as stored (documentation and size check; read and
// written byte by byte through the accessors below).
struct THkmHeader {
    char magic[4];             // "HKeM"
    uint32_t zero4;
    uint32_t crcLength;        // header bytes covered by the checksum, from offset 0
    uint32_t arrayOffset;      // of the elevations, from the start of the file
    uint8_t unused16[8];
    uint32_t zero24;
    uint32_t spacing;          // arc-seconds, 12
    uint8_t unused32[24];
    uint32_t samplesPerRow;    // 300
    uint32_t rows;             // 300
    uint8_t unused64[44];
    uint16_t crc;              // CRC-16/ARC of the first crcLength bytes
    uint8_t unused110[2];
};
static_assert(sizeof(THkmHeader) == TileHeaderSize, "tile header is 112 bytes");
static_assert(offsetof(THkmHeader, spacing) == 28 && offsetof(THkmHeader, samplesPerRow) == 56 &&
                  offsetof(THkmHeader, crc) == 108,
              "tile header offsets");

inline uint32_t TileGetU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t TileGetU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline void TilePutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void TilePutU16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline int16_t TileGetI16(const uint8_t* p) { return int16_t(TileGetU16(p)); }
