// Small picture encoders of the asset generators: uncompressed TGA (24/32 bit),
// 24-bit BMP and paletted GIF89a with an LZW coder. Header-only so that the
// tests compile the very same code.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pic {

// Pixels are 0xAARRGGBB, row 0 at the top.
struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    Image() = default;
    Image(int width, int height, uint32_t fill) : w(width), h(height), px(static_cast<size_t>(width) * height, fill) {}
    uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
    uint32_t& At(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
};

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// TGA image type 2 without id field or colour map. Bottom-up rows (descriptor
// bit 5 clear) are what GL textures need; top-down rows are what the
// entertainment screen's own 24-bit reader assumes whatever the descriptor says.
// opaque: every alpha byte is written as 255 (pictures keyed by colour).
inline Bytes EncodeTga(const Image& im, int bits, bool topDown, bool opaque) {
    Bytes b;
    const uint8_t head[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    b.assign(head, head + 12);
    Put16(b, static_cast<unsigned>(im.w));
    Put16(b, static_cast<unsigned>(im.h));
    b.push_back(static_cast<uint8_t>(bits));
    b.push_back(static_cast<uint8_t>((bits == 32 ? 8 : 0) | (topDown ? 0x20 : 0)));
    for (int r = 0; r < im.h; ++r) {
        int y = topDown ? r : im.h - 1 - r;
        for (int x = 0; x < im.w; ++x) {
            uint32_t p = im.At(x, y);
            b.push_back(static_cast<uint8_t>(p));
            b.push_back(static_cast<uint8_t>(p >> 8));
            b.push_back(static_cast<uint8_t>(p >> 16));
            if (bits == 32)
                b.push_back(opaque ? 0xFF : static_cast<uint8_t>(p >> 24));
        }
    }
    return b;
}

// Uncompressed 24-bit BMP, rows bottom-up padded to 4 bytes.
inline Bytes EncodeBmp24(const Image& im) {
    const uint32_t row = (static_cast<uint32_t>(im.w) * 3 + 3) & ~3u;
    const uint32_t size = row * static_cast<uint32_t>(im.h);
    Bytes b = {'B', 'M'};
    Put32(b, 54 + size);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(im.w));
    Put32(b, static_cast<uint32_t>(im.h));
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);
    Put32(b, size);
    for (int i = 0; i < 4; ++i)
        Put32(b, 0);
    for (int y = im.h - 1; y >= 0; --y) {
        for (int x = 0; x < im.w; ++x) {
            uint32_t p = im.At(x, y);
            b.push_back(static_cast<uint8_t>(p));
            b.push_back(static_cast<uint8_t>(p >> 8));
            b.push_back(static_cast<uint8_t>(p >> 16));
        }
        for (uint32_t pad = static_cast<uint32_t>(im.w) * 3; pad < row; ++pad)
            b.push_back(0);
    }
    return b;
}

// GIF LZW code stream (sub-blocks not yet applied). Widths follow the
// decoder's rule: a code is one bit wider once the table it has built
// reaches the current width; the table is cleared before it holds 4096 codes.
inline Bytes LzwEncode(const std::vector<uint8_t>& idx, int minBits) {
    const int clear = 1 << minBits, eoi = clear + 1;
    int next = eoi + 1, width = minBits + 1;
    Bytes out;
    uint32_t acc = 0;
    int nacc = 0;
    std::vector<int16_t> table(4096 * 256, -1);
    auto emit = [&](int code) {
        acc |= static_cast<uint32_t>(code) << nacc;
        nacc += width;
        while (nacc >= 8) {
            out.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            nacc -= 8;
        }
        if (next >= (1 << width) && width < 12)
            ++width;
    };
    auto reset = [&] {
        std::fill(table.begin(), table.end(), static_cast<int16_t>(-1));
        next = eoi + 1;
        width = minBits + 1;
    };
    emit(clear);
    if (!idx.empty()) {
        int cur = idx[0];
        for (size_t i = 1; i < idx.size(); ++i) {
            const int k = idx[i];
            const size_t key = static_cast<size_t>(cur) * 256 + static_cast<size_t>(k);
            if (table[key] >= 0) {
                cur = table[key];
                continue;
            }
            emit(cur);
            cur = k;
            if (next >= 4095) {
                emit(clear);
                reset();
            } else {
                table[key] = static_cast<int16_t>(next++);
            }
        }
        emit(cur);
    }
    emit(eoi);
    if (nacc > 0)
        out.push_back(static_cast<uint8_t>(acc));
    return out;
}

// Maps an image to at most 256 palette entries: colours in order of first
// appearance; fully transparent pixels (alpha 0) share entry 0, which the
// graphic control extension names transparent. Beyond 256 colours the image
// is first reduced to a 6 x 7 x 6 cube.
struct Paletted {
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint8_t> idx;
    bool transparent = false;
};

inline Paletted ToPalette(const Image& im) {
    auto build = [&](bool reduce, Paletted& p) {
        std::map<uint32_t, int> seen;
        p = Paletted();
        for (uint32_t v : im.px)
            if ((v >> 24) == 0)
                p.transparent = true;
        if (p.transparent)
            p.palette.push_back(0xFE00FE);
        for (uint32_t v : im.px) {
            if ((v >> 24) == 0) {
                p.idx.push_back(0);
                continue;
            }
            uint32_t c = v & 0xFFFFFF;
            if (reduce) {
                uint32_t r = (c >> 16 & 0xFF) * 5 / 255 * 51, g = (c >> 8 & 0xFF) * 6 / 255 * 255 / 6,
                         bl = (c & 0xFF) * 5 / 255 * 51;
                c = r << 16 | g << 8 | bl;
            }
            auto it = seen.find(c);
            if (it == seen.end()) {
                if (p.palette.size() >= 256)
                    return false;
                it = seen.emplace(c, static_cast<int>(p.palette.size())).first;
                p.palette.push_back(c);
            }
            p.idx.push_back(static_cast<uint8_t>(it->second));
        }
        return true;
    };
    Paletted p;
    if (!build(false, p))
        build(true, p);
    return p;
}

inline Bytes EncodeGif(const Image& im) {
    const Paletted p = ToPalette(im);
    int bits = 1;
    while ((1u << bits) < p.palette.size())
        ++bits;
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, static_cast<unsigned>(im.w));
    Put16(b, static_cast<unsigned>(im.h));
    b.push_back(static_cast<uint8_t>(0x80 | 0x70 | (bits - 1)));
    b.push_back(0);
    b.push_back(0);
    for (int i = 0; i < (1 << bits); ++i) {
        uint32_t c = i < static_cast<int>(p.palette.size()) ? p.palette[i] : 0;
        b.push_back(static_cast<uint8_t>(c >> 16));
        b.push_back(static_cast<uint8_t>(c >> 8));
        b.push_back(static_cast<uint8_t>(c));
    }
    if (p.transparent) {
        const uint8_t gce[8] = {0x21, 0xF9, 4, 1, 0, 0, 0, 0};
        b.insert(b.end(), gce, gce + 8);
    }
    b.push_back(0x2C);
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, static_cast<unsigned>(im.w));
    Put16(b, static_cast<unsigned>(im.h));
    b.push_back(0);
    const int minBits = bits < 2 ? 2 : bits;
    b.push_back(static_cast<uint8_t>(minBits));
    const Bytes code = LzwEncode(p.idx, minBits);
    for (size_t at = 0; at < code.size(); at += 255) {
        size_t n = code.size() - at < 255 ? code.size() - at : 255;
        b.push_back(static_cast<uint8_t>(n));
        b.insert(b.end(), code.begin() + static_cast<std::ptrdiff_t>(at), code.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

}  // namespace pic
