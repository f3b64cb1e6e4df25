// Bitmaps: construction, loading by format, palette expansion and saving as
// a 24-bit BMP (through the platform's encoder).
#include "fgbitmap.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "bmpfile.h"
#include "fgimage.h"
#include "readfile.h"
#include "unique_fd.h"

namespace {

constexpr FGPixel GIF_NO_KEY = 0xFFFFFFFF;   // a GIF without transparent index

bool decodable(int format) {
    return format == FG_IMAGE_BMP || format == FG_IMAGE_GIF || format == FG_IMAGE_TGA ||
           format == FG_IMAGE_PCX;
}

FGPixel palette_colour(const FGPaletteEntry& e) {
    return static_cast<FGPixel>(e.red) << 16 | static_cast<FGPixel>(e.green) << 8 | e.blue;
}

}  // namespace

// ---------------------------------------------------------------- shared by the decoders

bool FGImageReader::skip(int64_t n) {
    uint8_t chunk[4096];
    while (n > 0) {
        const size_t part = n > static_cast<int64_t>(sizeof chunk) ? sizeof chunk
                                                                  : static_cast<size_t>(n);
        if (!read(chunk, part)) return false;
        n -= static_cast<int64_t>(part);
    }
    return true;
}

void fg_image_error(const char* text, const char* argument) {
    char line[600];
    std::snprintf(line, sizeof line, text, argument ? argument : "");
    fg_error_print(line, 0);
}

bool fg_image_size_ok(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w <= FG_BITMAP_MAX_SIDE && h <= FG_BITMAP_MAX_SIDE &&
           w * h <= FG_BITMAP_MAX_PIXELS;
}

void fg_bitmap_set_array(FGBitmap& b, int w, int h, bool zeroed) {
    std::lock_guard<FGMutex> guard(b.state_lock);
    std::free(b.pixels);
    b.pixels = nullptr;
    b.width = b.height = 0;
    FGPixel* array;
    if (zeroed) {
        array = static_cast<FGPixel*>(std::calloc(areasize(w, h), 1));
        if (!array) fg_assert_fail("SetArray((FGPixel *) calloc(areasize(w, h), 1))", "fgbitmap",
                                   __LINE__);
    } else {
        array = static_cast<FGPixel*>(std::malloc(areasize(w, h)));
        if (!array) fg_assert_fail("SetArray((FGPixel *) malloc(areasize(w, h)))", "fgbitmap",
                                   __LINE__);
    }
    b.pixels = array;
    b.width = w;
    b.height = h;
    b.info.width = w;
    b.info.height = h;
}

// ---------------------------------------------------------------- life

FGBitmap::FGBitmap(const char* path)
    : FGDrawBuffer(0, 0, nullptr, FG_TYPE_BITMAP, 0xFFFFFF, 0),
      file_header{}, data_offset(0), info{}, palette{}, unused(0), format(FG_IMAGE_NONE) {
    load(path, FG_IMAGE_UNKNOWN);
}

FGBitmap::FGBitmap(int w, int h, FGPixel colour)
    : FGDrawBuffer(w, h, FG_TYPE_BITMAP, colour),
      file_header{}, data_offset(0), info{}, palette{}, unused(0), format(FG_IMAGE_NONE) {
    default_state();
}

FGBitmap::FGBitmap(const FGDrawBuffer* other)
    : FGDrawBuffer(other ? other->width : 0, other ? other->height : 0, FG_TYPE_BITMAP, 0),
      file_header{}, data_offset(0), info{}, palette{}, unused(0), format(FG_IMAGE_NONE) {
    if (pixels && other->pixels)
        std::memcpy(pixels, other->pixels, areasize(width, height));
    default_state();
}

FGBitmap::~FGBitmap() = default;

void FGBitmap::default_state() {
    state = FGDrawState{0xFFFFFF, 0, 2, 0, FG_NO_KEY, 0};
}

// ---------------------------------------------------------------- loading

int FGBitmap::format_of(const char* path) {
    static const struct {
        const char* extension;
        int format;
    } order[] = {
        {".gif", FG_IMAGE_GIF},   {".GIF", FG_IMAGE_GIF},   {".pcx", FG_IMAGE_PCX},
        {".PCX", FG_IMAGE_PCX},   {".tga", FG_IMAGE_TGA},   {".TGA", FG_IMAGE_TGA},
        {".png", FG_IMAGE_PNG},   {".PNG", FG_IMAGE_PNG},   {".jpg", FG_IMAGE_JPG},
        {".JPG", FG_IMAGE_JPG},   {".jpeg", FG_IMAGE_JPG},  {".JPEG", FG_IMAGE_JPG},
        {".tiff", FG_IMAGE_TIFF}, {".TIFF", FG_IMAGE_TIFF}, {".tif", FG_IMAGE_TIFF},
        {".TIF", FG_IMAGE_TIFF},  {".bmp", FG_IMAGE_BMP},   {".BMP", FG_IMAGE_BMP},
    };
    if (!path) return FG_IMAGE_UNKNOWN;
    for (const auto& e : order)
        if (std::strstr(path, e.extension)) return e.format;
    return FG_IMAGE_UNKNOWN;
}

int FGBitmap::load(const char* path, int fmt) {
    UniqueFile file(path ? OpenStreamForReading(path) : nullptr);
    return load(file.get(), path, fmt);
}

int FGBitmap::load(FILE* file, const char* nm, int fmt) {
    std::lock_guard<FGMutex> guard(state_lock);
    type = FG_TYPE_LOADING;
    default_state();
    set_name(nm);
    format = fmt != FG_IMAGE_UNKNOWN ? fmt : format_of(nm);
    if (!decodable(format)) {
        fg_image_error("Unknown image format!");
        return FG_BITMAP_BAD_FORMAT;
    }
    if (!file) {
        fg_image_error(format == FG_IMAGE_GIF ? "GIF file '%s' loading error!"
                                              : "FGBitmap '%s' not found!",
                       name);
        return FG_BITMAP_NOT_FOUND;
    }
    // Nothing of an earlier picture may show through a shorter palette.
    std::memset(palette, 0, sizeof palette);
    info = FGBmpInfoHeader{};
    FGImageReader in(file);
    int rc = FG_BITMAP_BAD_FORMAT;
    switch (format) {
    case FG_IMAGE_BMP: rc = fg_decode_bmp(in, *this, name); break;
    case FG_IMAGE_GIF: rc = fg_decode_gif(in, *this, name); break;
    case FG_IMAGE_PCX: rc = fg_decode_pcx(in, *this, name); break;
    case FG_IMAGE_TGA: rc = fg_decode_tga(in, *this, name); break;
    }
    if (rc != FG_BITMAP_OK) return rc;

    if (info.bit_count <= 8) {
        // Indices to colours; the key index (GIF) becomes the palette key.
        const FGPixel key = state.colorkey;
        const int64_t n = static_cast<int64_t>(width) * height;
        for (int64_t i = 0; i < n; i++) {
            const FGPixel index = pixels[i];
            pixels[i] = key != GIF_NO_KEY && index == key ? FG_PALETTE_KEY
                                                          : palette_colour(palette[index & 0xFF]);
        }
        if (key != GIF_NO_KEY) state.colorkey = FG_PALETTE_KEY;
    }
    type = FG_TYPE_BITMAP_FILE;
    set_clip_rect(0, 0, width, height);
    return FG_BITMAP_OK;
}

// ---------------------------------------------------------------- saving

int FGBitmap::save(const char* nm) {
    std::lock_guard<FGMutex> guard(state_lock);
    if (type == FG_TYPE_LOADING || !pixels || !nm) return FG_BITMAP_BAD_FORMAT;
    char path[128];
    const char* target = nm;
    if (!std::strstr(nm, ".bmp")) {
        std::snprintf(path, sizeof path, "%.123s.bmp", nm);
        target = path;
    }
    std::vector<uint8_t> image;
    bool ok = BmpEncode24(pixels, width, height, width, &image) == BMP_OK;
    if (ok) {
        // Our files carry no resolution.
        std::memset(image.data() + BmpFileHeaderSize + 24, 0, 8);
        UniqueFile f(std::fopen(target, "wb"));
        ok = f && std::fwrite(image.data(), 1, image.size(), f.get()) == image.size() &&
             std::fflush(f.get()) == 0;
        struct stat st;
        const bool regular = f && fstat(fileno(f.get()), &st) == 0 && S_ISREG(st.st_mode);
        if (f) ok = std::fclose(f.release()) == 0 && ok;
        // A half-written picture would pass for a good one later.
        if (!ok && regular) unlink(target);
    }
    if (ok) return FG_BITMAP_OK;
    fg_image_error("Bitmap not saved because of disk write error!");
    return FG_BITMAP_NOT_FOUND;
}
