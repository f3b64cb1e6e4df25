// GIF decoder (87a and 89a): every image of the file is LZW-decoded in turn
// and copied over the start of the logical screen; the last one wins.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fgimage.h"

namespace {

constexpr int MAX_CODES = 4096;

struct GifError {
    const char* text;
};

// Colour table of n RGB entries into the palette (the rest black).
bool read_colour_table(FGImageReader& in, int n, FGPaletteEntry* palette) {
    uint8_t rgb[3 * 256];
    if (!in.read(rgb, static_cast<size_t>(3 * n))) return false;
    for (int i = 0; i < 256; i++)
        palette[i] = i < n ? FGPaletteEntry{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0}
                           : FGPaletteEntry{0, 0, 0, 0};
    return true;
}

// Data sub-blocks up to the empty one; false when the data end first.
bool skip_blocks(FGImageReader& in) {
    for (;;) {
        const int n = in.byte();
        if (n < 0 || !in.skip(n)) return false;
        if (n == 0) return true;
    }
}

// Codes of a variable width, least significant bit first, across sub-blocks.
class CodeReader {
public:
    explicit CodeReader(FGImageReader& r) : in(r) {}
    int next(int width) {
        while (bits < width) {
            if (left == 0) {
                const int n = in.byte();
                if (n < 0) throw GifError{"EOF / read error on image data"};
                if (n == 0) {
                    ended = true;
                    throw GifError{"ran off the end of my bits"};
                }
                left = n;
            }
            const int c = in.byte();
            if (c < 0) throw GifError{"EOF / read error on image data"};
            left--;
            acc |= static_cast<uint32_t>(c) << bits;
            bits += 8;
        }
        const int code = static_cast<int>(acc & ((1u << width) - 1));
        acc >>= width;
        bits -= width;
        return code;
    }
    // The rest of the image's sub-blocks.
    bool finish() {
        if (ended) return true;
        if (!in.skip(left)) return false;
        left = 0;
        return skip_blocks(in);
    }

private:
    FGImageReader& in;
    uint32_t acc = 0;
    int bits = 0;
    int left = 0;       // bytes left in the current sub-block
    bool ended = false; // the empty sub-block has been read
};

// Decodes w x h indices, interlaced rows in their four passes; keeps those
// that fall into out (zeroed, at most the image's size). Throws GifError on bad data.
void decode_image(FGImageReader& in, int w, int h, bool interlaced, std::vector<uint8_t>* out) {
    const int min_size = in.byte();
    if (min_size < 0) throw GifError{"EOF / read error on image data"};
    // Narrower roots are outside the standard; wider ones could not be palette indices.
    if (min_size < 2 || min_size > 8) throw GifError{"circular table entry BIG ERROR"};

    std::vector<int> rows(static_cast<size_t>(h));
    if (interlaced) {
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        int r = 0;
        for (int pass = 0; pass < 4; pass++)
            for (int y = start[pass]; y < h; y += step[pass]) rows[r++] = y;
    } else {
        for (int y = 0; y < h; y++) rows[y] = y;
    }

    static thread_local uint16_t prefix[MAX_CODES];
    static thread_local uint8_t suffix[MAX_CODES];
    static thread_local uint8_t stack[MAX_CODES];
    const int clear = 1 << min_size, end = clear + 1;
    for (int i = 0; i < clear; i++) {
        prefix[i] = 0;
        suffix[i] = static_cast<uint8_t>(i);
    }
    int width = min_size + 1, next = end + 1, previous = -1;
    uint8_t first = 0;
    const int64_t total = static_cast<int64_t>(w) * h;
    int64_t done = 0;
    CodeReader codes(in);
    while (done < total) {
        const int code = codes.next(width);
        if (code == clear) {
            width = min_size + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) break;
        // A code may name an entry made already or the one made now.
        if (code > next || (code >= end && previous < 0) || (code == next && next >= MAX_CODES))
            throw GifError{"circular table entry BIG ERROR"};
        int depth = 0, c = code;
        if (code == next) {
            stack[depth++] = first;
            c = previous;
        }
        while (c >= clear) {
            if (depth >= MAX_CODES - 1) throw GifError{"circular table entry BIG ERROR"};
            stack[depth++] = suffix[c];
            c = prefix[c];
        }
        stack[depth++] = suffix[c];
        first = suffix[c];
        if (previous >= 0 && next < MAX_CODES) {
            prefix[next] = static_cast<uint16_t>(previous);
            suffix[next] = first;
            next++;
            if (next == 1 << width && width < 12) width++;
        }
        previous = code;
        for (; depth > 0 && done < total; done++) {
            const auto at = static_cast<size_t>(rows[done / w]) * w + static_cast<size_t>(done % w);
            depth--;
            if (at < out->size()) (*out)[at] = stack[depth];
        }
    }
    if (!codes.finish()) throw GifError{"EOF / read error on image data"};
}

}  // namespace

int fg_decode_gif(FGImageReader& in, FGBitmap& b, const char* name) {
    uint8_t sig[6], screen[7];
    const char* early = nullptr;
    if (!in.read(sig, 6))
        early = "error reading magic number";
    else if (std::memcmp(sig, "GIF", 3) != 0)
        early = "not a GIF file";
    else if (std::memcmp(sig + 3, "87a", 3) != 0 && std::memcmp(sig + 3, "89a", 3) != 0)
        early = "bad version number, not '87a' or '89a'";
    else if (!in.read(screen, 7) || !fg_image_size_ok(fg_le16(screen), fg_le16(screen + 2)))
        early = "failed to read screen descriptor";
    if (early) {
        fg_image_error(early);
        fg_image_error("GIF file '%s' loading error!", name);
        return FG_BITMAP_NOT_FOUND;
    }
    const int sw = fg_le16(screen), sh = fg_le16(screen + 2);
    const bool global = screen[4] & 0x80;
    b.info.bit_count = 8;
    b.info.planes = 1;
    fg_bitmap_set_array(b, sw, sh, false);
    const size_t area = static_cast<size_t>(sw) * sh;
    // Only from here on does a damaged file still give a picture.
    FGPixel transparent = 0xFFFFFFFF;
    b.state.colorkey = transparent;
    try {
        if (global && !read_colour_table(in, 2 << (screen[4] & 7), b.palette)) {
            fg_fill(b.pixels, static_cast<int64_t>(area), 255);
            throw GifError{"unable to get global colormap"};
        }
        fg_fill(b.pixels, static_cast<int64_t>(area), global ? screen[5] : 255);
        std::vector<uint8_t> image;
        for (;;) {
            const int c = in.byte();
            if (c < 0) throw GifError{"EOF / data stream"};
            if (c == ';') break;
            if (c == '!') {
                const int label = in.byte();
                if (label < 0) throw GifError{"EOF / read error on extention function code"};
                if (label == 0xF9) {
                    // Graphic control: only the transparent index is of use here.
                    uint8_t gce[5];
                    const int n = in.byte();
                    if (n < 4 || !in.read(gce, 4) || !in.skip(n - 4))
                        throw GifError{"EOF / read error on extention function code"};
                    transparent = (gce[0] & 1) ? gce[3] : 0xFFFFFFFF;
                }
                if (!skip_blocks(in))
                    throw GifError{"EOF / read error on extention function code"};
                continue;
            }
            if (c != ',') continue;   // stray byte
            uint8_t d[9];
            if (!in.read(d, 9)) throw GifError{"couldn't read left/top/width/height"};
            const int w = fg_le16(d + 4), h = fg_le16(d + 6);
            if (static_cast<int64_t>(w) * h > FG_BITMAP_MAX_PIXELS)
                throw GifError{"couldn't read left/top/width/height"};
            FGPaletteEntry local[256];
            const bool has_local = d[8] & 0x80;
            if (has_local && !read_colour_table(in, 2 << (d[8] & 7), local))
                throw GifError{"unable to get local colormap"};
            // What lies past the end of the screen is decoded but not kept.
            image.assign(std::min(static_cast<size_t>(w) * h, area), 0);
            if (w > 0 && h > 0)
                decode_image(in, w, h, d[8] & 0x40, &image);
            else if (in.byte() < 0 || !skip_blocks(in))
                throw GifError{"EOF / read error on image data"};
            // Not placed at its left and top: copied over the start of the screen.
            for (size_t i = 0; i < image.size(); i++) b.pixels[i] = image[i];
            if (has_local) std::memcpy(b.palette, local, sizeof local);
            b.state.colorkey = transparent;
        }
    } catch (const GifError& e) {
        fg_image_error(e.text);
    }
    return FG_BITMAP_OK;
}
