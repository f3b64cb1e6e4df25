// BMP decoder: Windows and OS/2 headers; 1, 4, 8 (also run-length coded) and
// 24 bits per pixel; rows bottom-up, padded to 4 bytes.
#include <vector>

#include "fgimage.h"

namespace {

constexpr const char* BAD_FORMAT = "Bad FGBitmap format!";

int fail(const char* text, const char* argument = nullptr) {
    fg_image_error(text, argument);
    return FG_BITMAP_BAD_FORMAT;
}

// 8-bit run-length data; false when the data end before the end-of-picture code.
bool decode_rle8(FGImageReader& in, FGBitmap& b) {
    const int64_t w = b.width;
    int64_t x = 0, y = b.height - 1;
    auto put = [&](int index) {
        if (x >= 0 && x < w && y >= 0) b.pixels[y * w + x] = static_cast<FGPixel>(index);
        x++;
    };
    while (y >= 0) {
        const int n = in.byte(), v = in.byte();
        if (n < 0 || v < 0) return false;
        if (n > 0) {
            for (int i = 0; i < n; i++) put(v);
        } else if (v == 0) {
            x = 0;
            y--;
            continue;
        } else if (v == 1) {
            return true;
        } else if (v == 2) {
            const int dx = in.byte(), dy = in.byte();
            if (dx < 0 || dy < 0) return false;
            x += dx;
            y -= dy;
            continue;
        } else {
            for (int i = 0; i < v; i++) {
                const int c = in.byte();
                if (c < 0) return false;
                put(c);
            }
            if ((v & 1) && in.byte() < 0) return false;
        }
        if (x > w) {
            x = 0;
            y--;
        }
    }
    return true;
}

}  // namespace

int fg_decode_bmp(FGImageReader& in, FGBitmap& b, const char* name) {
    uint8_t head[14];
    if (!in.read(head, 14) || head[0] != 'B' || head[1] != 'M')
        return fail("%s isn't supported image file!", name);
    b.file_header = FGBmpFileHeader{fg_le16(head), fg_le16(head + 2), fg_le16(head + 4),
                                    fg_le16(head + 6), fg_le16(head + 8)};
    b.data_offset = fg_le32(head + 10);

    uint8_t raw[40] = {};
    if (!in.read(raw, 4)) return fail(BAD_FORMAT);
    const uint32_t header_size = fg_le32(raw);
    FGBmpInfoHeader& h = b.info;
    h.size = header_size;
    int entry_size;
    if (header_size == 12) {
        if (!in.read(raw + 4, 8)) return fail(BAD_FORMAT);
        h.width = fg_le16(raw + 4);
        h.height = fg_le16(raw + 6);
        h.planes = fg_le16(raw + 8);
        h.bit_count = fg_le16(raw + 10);
        entry_size = 3;
    } else {
        if (header_size < 40 || !in.read(raw + 4, 36) || !in.skip(header_size - 40))
            return fail(BAD_FORMAT);
        h.width = static_cast<int32_t>(fg_le32(raw + 4));
        h.height = static_cast<int32_t>(fg_le32(raw + 8));
        h.planes = fg_le16(raw + 12);
        h.bit_count = fg_le16(raw + 14);
        h.compression = fg_le32(raw + 16);
        h.image_size = fg_le32(raw + 20);
        h.x_pels_per_meter = static_cast<int32_t>(fg_le32(raw + 24));
        h.y_pels_per_meter = static_cast<int32_t>(fg_le32(raw + 28));
        h.colors_used = fg_le32(raw + 32);
        h.colors_important = fg_le32(raw + 36);
        entry_size = 4;
    }
    // Entries between the headers and the pixel data (an offset inside the
    // headers gives none).
    int64_t entries =
        (static_cast<int64_t>(b.data_offset) - static_cast<int64_t>(header_size) - 14) /
        entry_size;
    if (entries < 0) entries = 0;
    if (entries > 256) entries = 256;

    if (entries > 0) {
        if (entry_size == 4 && h.compression > 1) return fail("Unknown compress format!");
        for (int64_t i = 0; i < entries; i++) {
            uint8_t e[4] = {};
            if (!in.read(e, static_cast<size_t>(entry_size))) return fail(BAD_FORMAT);
            b.palette[i] = FGPaletteEntry{e[0], e[1], e[2], e[3]};
        }
        if (h.planes != 1) return fail("Multi-planes BMP not supported!");
    } else if (h.planes != 1) {
        return fail("This color depth BMP is not supported!");
    }
    const int bits = h.bit_count;
    // Top-down (negative height) and empty pictures are refused, as are sizes
    // whose pixel array could not be had.
    if (!fg_image_size_ok(h.width, h.height) ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return fail(BAD_FORMAT);

    const int w = h.width, ht = h.height;
    fg_bitmap_set_array(b, w, ht);
    if (bits == 8 && h.compression == 1) {
        if (!decode_rle8(in, b)) return fail(BAD_FORMAT);
        return FG_BITMAP_OK;
    }
    const size_t row_bytes = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
    std::vector<uint8_t> row(row_bytes);
    for (int y = ht - 1; y >= 0; y--) {
        if (!in.read(row.data(), row_bytes)) return fail(BAD_FORMAT);
        FGPixel* out = b.pixels + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; x++) {
            switch (bits) {
            case 1: out[x] = row[x >> 3] >> (7 - (x & 7)) & 1; break;
            case 4: out[x] = row[x >> 1] >> ((x & 1) ? 0 : 4) & 0x0F; break;
            case 8: out[x] = row[x]; break;
            default:
                out[x] = static_cast<FGPixel>(row[3 * x + 2]) << 16 |
                         static_cast<FGPixel>(row[3 * x + 1]) << 8 | row[3 * x];
            }
        }
    }
    return FG_BITMAP_OK;
}
