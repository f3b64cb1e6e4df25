// Bitmaps: drawing buffers made from picture files (BMP, GIF, PCX, TGA read;
// 24-bit BMP written), from a size and colour, or copied from another buffer.
#pragma once

#include <cstdint>
#include <cstdio>

#include "fgdrawbuffer.h"

// Format codes, chosen from the file name.
enum {
    FG_IMAGE_UNKNOWN = 0,
    FG_IMAGE_BMP = 1,
    FG_IMAGE_GIF = 2,
    FG_IMAGE_TGA = 3,
    FG_IMAGE_PNG = 4,
    FG_IMAGE_JPG = 5,
    FG_IMAGE_TIFF = 6,
    FG_IMAGE_PCX = 7,
    FG_IMAGE_NONE = 8,   // made without a file
};

// Results of load and save.
enum {
    FG_BITMAP_OK = 0,
    FG_BITMAP_NOT_FOUND = 1,    // load: cannot open; save: cannot create or write
    FG_BITMAP_BAD_FORMAT = 2,   // load: not a supported picture; save: not loaded
    FG_BITMAP_TGA_VARIANT = 3,  // load: unsupported TGA variant
};

// Key of the transparent pixels of pictures decoded from paletted files.
constexpr FGPixel FG_PALETTE_KEY = 0xFE00FE;

// Largest picture a decoder accepts (per side and in pixels): far above any
// picture of the display, and a file cannot make us take more than 16 MB.
constexpr int FG_BITMAP_MAX_SIDE = 8192;
constexpr int64_t FG_BITMAP_MAX_PIXELS = int64_t(1) << 22;

// BMP file header without the pixel-data offset (decoded values).
struct FGBmpFileHeader {
    uint16_t magic;       // "BM" = 0x4D42
    uint16_t size_low;
    uint16_t size_high;
    uint16_t reserved1;
    uint16_t reserved2;
};
static_assert(sizeof(FGBmpFileHeader) == 10, "BMP file header is 10 bytes");

// The 40-byte BMP information header (decoded values).
struct FGBmpInfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bit_count;
    uint32_t compression;
    uint32_t image_size;
    int32_t x_pels_per_meter;
    int32_t y_pels_per_meter;
    uint32_t colors_used;
    uint32_t colors_important;
};
static_assert(sizeof(FGBmpInfoHeader) == 40, "BMP information header is 40 bytes");

struct FGPaletteEntry {
    uint8_t blue, green, red, reserved;
};
static_assert(sizeof(FGPaletteEntry) == 4, "palette entry is 4 bytes");

class FGBitmap : public FGDrawBuffer {
public:
    FGBmpFileHeader file_header;
    uint32_t data_offset;
    FGBmpInfoHeader info;
    FGPaletteEntry palette[256];
    int unused;
    int format;

    // An empty bitmap, then load(path, 0).
    explicit FGBitmap(const char* path);
    // w x h pixels of the colour, default drawing state, no name.
    FGBitmap(int w, int h, FGPixel colour);
    // A copy of another buffer's size and pixels, default drawing state.
    explicit FGBitmap(const FGDrawBuffer* other);
    ~FGBitmap() override;
    FGBitmap(const FGBitmap&) = delete;
    FGBitmap& operator=(const FGBitmap&) = delete;

    // Format 0: by the file name. Returns an FG_BITMAP_* result.
    int load(const char* path, int format = FG_IMAGE_UNKNOWN);
    // The same over a file opened for reading (not closed here); the name is kept
    // as the bitmap's name and chooses the format when it is 0.
    int load(FILE* file, const char* name, int format = FG_IMAGE_UNKNOWN);
    // Writes a 24-bit BMP (".bmp" appended when missing). Returns an FG_BITMAP_* result.
    int save(const char* name);

    // Format code for a file name (extensions searched in a fixed order).
    static int format_of(const char* path);

private:
    // Ink, paper, font, mode, key and blend back to the defaults.
    void default_state();
};
