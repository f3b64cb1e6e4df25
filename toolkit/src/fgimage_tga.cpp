// TGA decoder: indexed, true-colour and grey pictures, raw or run-length
// coded, in any row order; always gives finished 32-bit pixels.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fgimage.h"

namespace {

enum { TGA_INDEXED = 1, TGA_TRUE_COLOUR = 2, TGA_GREY = 3, TGA_RLE = 8 };

constexpr int FOOTER_SIZE = 26;
constexpr int EXTENSION_SIZE = 495;

int tga_fail(int result, const char* text, const char* name) {
    std::fprintf(stderr, text, name);
    return result;
}

int truncated(const char* name) {
    return tga_fail(FG_BITMAP_BAD_FORMAT, "TGA: File is truncated or corrupted \"%s\"\n", name);
}

// Packets of the run-length coding; they run on from row to row.
struct Packets {
    int left = 0;        // pixels left in the current packet
    bool run = false;
    uint8_t pixel[4] = {};
};

bool read_row(FGImageReader& in, bool rle, int bpp, Packets* p, uint8_t* row, int w) {
    if (!rle) return in.read(row, static_cast<size_t>(w) * bpp);
    for (int x = 0; x < w; x++, row += bpp) {
        if (p->left == 0) {
            const int c = in.byte();
            if (c < 0) return false;
            p->run = c >= 128;
            p->left = p->run ? c - 127 : c + 1;
            if (p->run && !in.read(p->pixel, static_cast<size_t>(bpp))) return false;
        }
        if (p->run)
            std::memcpy(row, p->pixel, static_cast<size_t>(bpp));
        else if (!in.read(row, static_cast<size_t>(bpp)))
            return false;
        p->left--;
    }
    return true;
}

FGPixel word(const uint8_t* p, int n) {
    FGPixel v = 0;
    for (int i = 0; i < n; i++) v |= static_cast<FGPixel>(p[i]) << (8 * i);
    return v;
}

FGPixel widen5(unsigned c) { return (c << 3) + (c >> 2); }

}  // namespace

int fg_decode_tga(FGImageReader& in, FGBitmap& b, const char* name) {
    uint8_t footer[FOOTER_SIZE];
    if (in.seek_before_end(FOOTER_SIZE)) {
        if (!in.read(footer, sizeof footer))
            return tga_fail(FG_BITMAP_BAD_FORMAT, "TGA: Cannot read footer from %s\n", name);
        if (std::memcmp(footer + 8, "TRUEVISION-XFILE.", 18) == 0) {
            uint8_t extension[EXTENSION_SIZE];
            if (!in.seek(fg_le32(footer)) || !in.read(extension, sizeof extension))
                return tga_fail(FG_BITMAP_BAD_FORMAT, "TGA: Cannot read extension from \"%s\"\n",
                                name);
        }
    }
    uint8_t h[18];
    if (!in.seek(0) || !in.read(h, sizeof h))
        return tga_fail(FG_BITMAP_BAD_FORMAT, "TGA: Cannot read header from \"%s\"\n", name);
    const int id_length = h[0], map_type = h[1], image_type = h[2];
    const int map_length = fg_le16(h + 5), map_bits = h[7];
    const int w = fg_le16(h + 12), ht = fg_le16(h + 14);
    int bits = h[16];
    int alpha_bits = h[17] & 0x0F;
    const bool right_to_left = h[17] & 0x10, top_down = h[17] & 0x20;

    const int kind = image_type & ~TGA_RLE;
    if (image_type < 1 || image_type > 11 || kind < TGA_INDEXED || kind > TGA_GREY)
        return tga_fail(FG_BITMAP_TGA_VARIANT, "TGA: Unknown image type for \"%s\"\n", name);
    const bool rle = image_type & TGA_RLE;
    bool accepted;
    if ((kind == TGA_TRUE_COLOUR && bits == 32) || (kind == TGA_GREY && bits == 16)) {
        if (alpha_bits == 0) {
            std::fprintf(stderr, "TGA: Possibly incorrect alpha in \"%s\"\n", name);
            alpha_bits = 8;
        }
        accepted = alpha_bits == 8;
    } else {
        accepted = kind == TGA_TRUE_COLOUR ? bits == 16 || bits == 24 : bits == 8;
    }
    if (!accepted) return tga_fail(FG_BITMAP_TGA_VARIANT, "TGA: Unhandled sub-format in \"%s\"\n", name);
    const int bpp = (bits + 7) / 8;
    // Empty and oversized pictures are refused with the unsupported variants.
    if (bpp * 8 != bits || !fg_image_size_ok(w, ht))
        return tga_fail(FG_BITMAP_TGA_VARIANT, "TGA: No support yet for TGA with these parameters\n",
                        nullptr);
    if ((kind == TGA_INDEXED) != (map_type == 1) || map_type > 1) {
        std::fprintf(stderr,
                     kind == TGA_INDEXED ? "TGA: indexed image has invalid color map type %d\n"
                                         : "TGA: non-indexed image has invalid color map type %d\n",
                     map_type);
        return FG_BITMAP_TGA_VARIANT;
    }
    if (!in.skip(id_length)) return truncated(name);

    b.info.bit_count = 24;   // finished pixels: no palette expansion follows
    b.info.planes = 1;
    fg_bitmap_set_array(b, w, ht);
    if (kind == TGA_GREY)
        for (int i = 0; i < 256; i++) {
            const auto g = static_cast<uint8_t>(i);
            b.palette[i] = FGPaletteEntry{g, g, g, 0};
        }
    if (map_type == 1) {
        // A damaged map leaves nothing worth showing.
        if (map_bits > 32) return truncated(name);
        const int entry = (map_bits + 7) / 8;
        for (int i = 0; i < map_length; i++) {
            uint8_t e[4] = {};
            if (!in.read(e, static_cast<size_t>(entry))) return truncated(name);
            // Slots beyond the 256 of the palette are read past.
            if (i < 256) b.palette[i] = FGPaletteEntry{e[0], e[1], e[2], e[3]};
        }
    }

    std::vector<uint8_t> row(static_cast<size_t>(w) * bpp);
    Packets packets;
    for (int r = 0; r < ht; r++) {
        if (!read_row(in, rle, bpp, &packets, row.data(), w)) return truncated(name);
        if (right_to_left)
            for (int a = 0, z = w - 1; a < z; a++, z--)
                std::swap_ranges(&row[static_cast<size_t>(a) * bpp],
                                 &row[static_cast<size_t>(a) * bpp] + bpp,
                                 &row[static_cast<size_t>(z) * bpp]);
        FGPixel* out = b.pixels + static_cast<size_t>(top_down ? r : ht - 1 - r) * w;
        for (int x = 0; x < w; x++) {
            const uint8_t* p = &row[static_cast<size_t>(x) * bpp];
            if (kind != TGA_TRUE_COLOUR && bpp == 1) {
                const FGPaletteEntry& e = b.palette[p[0]];
                out[x] = static_cast<FGPixel>(e.reserved) << 24 |
                         static_cast<FGPixel>(e.red) << 16 |
                         static_cast<FGPixel>(e.green) << 8 | e.blue;
            } else if (kind == TGA_GREY) {
                // Grey with alpha: the grey level on all three channels.
                out[x] = static_cast<FGPixel>(p[1]) << 24 | p[0] * 0x010101u;
            } else if (bpp == 2) {
                const unsigned v = fg_le16(p);
                out[x] = widen5(v >> 10 & 31) << 16 | widen5(v >> 5 & 31) << 8 | widen5(v & 31);
            } else {
                out[x] = word(p, bpp);
            }
        }
    }
    return FG_BITMAP_OK;
}
