// Bitmaps: pictures written here byte by byte from known pixels load to
// those pixels; damaged files fail with their result and message; saving
// writes the 24-bit layout exactly and loads back pixel for pixel.
#include "fgbitmap.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config_tempdir.h"

namespace {

using Pixels = std::vector<FGPixel>;

struct Bytes {
    std::vector<uint8_t> v;
    Bytes& u8(int b) { v.push_back(static_cast<uint8_t>(b)); return *this; }
    Bytes& le16(int x) { return u8(x).u8(x >> 8); }
    Bytes& le32(uint32_t x) { return le16(static_cast<int>(x & 0xFFFF)).le16(static_cast<int>(x >> 16)); }
    Bytes& str(const char* s) { while (*s) u8(*s++); return *this; }
    Bytes& fill(int n, int b) { v.insert(v.end(), static_cast<size_t>(n), static_cast<uint8_t>(b)); return *this; }
    Bytes& add(const std::vector<uint8_t>& more) { v.insert(v.end(), more.begin(), more.end()); return *this; }
    Bytes& bgr(FGPixel c) { return u8(c).u8(c >> 8).u8(c >> 16); }
};

void write_file(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

Pixels pixels_of(const FGBitmap& b) {
    return b.pixels ? Pixels(b.pixels, b.pixels + b.width * b.height) : Pixels();
}

class Bitmap : public ::testing::Test {
protected:
    ConfigTempDir dir;
    FGBitmap bmp{1, 1, 0};
    std::string err;   // what the last load printed

    int load(const char* name, const Bytes& data) {
        write_file(name, data.v);
        testing::internal::CaptureStderr();
        const int rc = bmp.load(name);
        err = testing::internal::GetCapturedStderr();
        return rc;
    }
    void expect_loaded(int w, int h, const Pixels& expected) {
        EXPECT_EQ(bmp.type, FG_TYPE_BITMAP_FILE);
        EXPECT_EQ(bmp.width, w);
        EXPECT_EQ(bmp.height, h);
        EXPECT_EQ(bmp.clip_w, w);
        EXPECT_EQ(bmp.clip_h, h);
        EXPECT_EQ(pixels_of(bmp), expected);
    }
    void expect_failed(int rc, int expected, const std::string& message) {
        EXPECT_EQ(rc, expected) << err;
        EXPECT_EQ(bmp.type, FG_TYPE_LOADING);
        EXPECT_NE(err.find(message), std::string::npos) << err;
    }
};

// ---------------------------------------------------------------- construction, formats

TEST(BitmapMaking, SizeColourAndCopies) {
    FGBitmap a(3, 2, 0x123456);
    EXPECT_EQ(a.type, FG_TYPE_BITMAP);
    EXPECT_EQ(a.format, FG_IMAGE_NONE);
    EXPECT_STREQ(a.name, "");
    EXPECT_EQ(pixels_of(a), Pixels(6, 0x123456));
    EXPECT_EQ(a.get_ink(), 0xFFFFFFu);
    EXPECT_EQ(a.get_paper(), 0u);
    EXPECT_EQ(a.get_font(), 2);
    EXPECT_EQ(a.get_colorkey(), FG_NO_KEY);

    FGDrawBuffer src(2, 2, FG_TYPE_BITMAP, 7);
    src.pixel(1, 1, 9);
    src.set_colorkey(3);
    FGBitmap c(&src);
    EXPECT_EQ(c.width, 2);
    EXPECT_EQ(pixels_of(c), (Pixels{7, 7, 7, 9}));
    EXPECT_EQ(c.get_colorkey(), FG_NO_KEY);
}

TEST(BitmapMaking, FormatFromTheName) {
    EXPECT_EQ(FGBitmap::format_of("a.tga.bmp"), FG_IMAGE_TGA);   // ".tga" is searched first
    EXPECT_EQ(FGBitmap::format_of("x.GIF"), FG_IMAGE_GIF);
    EXPECT_EQ(FGBitmap::format_of("x.pcx.old"), FG_IMAGE_PCX);
    EXPECT_EQ(FGBitmap::format_of("x.PNG"), FG_IMAGE_PNG);
    EXPECT_EQ(FGBitmap::format_of("x.jpeg"), FG_IMAGE_JPG);
    EXPECT_EQ(FGBitmap::format_of("x.TIF"), FG_IMAGE_TIFF);
    EXPECT_EQ(FGBitmap::format_of("x.BMP"), FG_IMAGE_BMP);
    EXPECT_EQ(FGBitmap::format_of("x.Bmp"), FG_IMAGE_UNKNOWN);
    EXPECT_EQ(FGBitmap::format_of(nullptr), FG_IMAGE_UNKNOWN);
}

TEST_F(Bitmap, UnknownAndMissingFiles) {
    expect_failed(load("pic.png", Bytes().str("whatever")), 2, "Velvix ERROR: Unknown image format!");
    EXPECT_STREQ(bmp.name, "pic.png");
    EXPECT_EQ(bmp.format, FG_IMAGE_PNG);

    testing::internal::CaptureStderr();
    int rc = bmp.load("absent.tga");
    err = testing::internal::GetCapturedStderr();
    expect_failed(rc, 1, "Velvix ERROR: FGBitmap 'absent.tga' not found!");
    testing::internal::CaptureStderr();
    FGBitmap g("absent.gif");
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(g.type, FG_TYPE_LOADING);
    EXPECT_NE(err.find("GIF file 'absent.gif' loading error!"), std::string::npos);
    // A bitmap left by a failed load is no source for copies.
    FGDrawBuffer dst(2, 2, FG_TYPE_BITMAP, 5);
    dst.bitblt(0, 0, 0, 0, 2, 2, &bmp);
    EXPECT_EQ(std::vector<FGPixel>(dst.pixels, dst.pixels + 4), Pixels(4, 5));
}

// ---------------------------------------------------------------- saving

TEST_F(Bitmap, SaveWritesTheLayoutByteForByte) {
    FGBitmap b(3, 2, 0);
    b.pixel(0, 0, 0x010203);
    b.pixel(2, 1, 0xA0B0C0);
    ASSERT_EQ(b.save("shot"), 0);   // ".bmp" appended
    const std::vector<uint8_t> f = read_file("shot.bmp");
    Bytes want;
    want.str("BM").le32(78).le32(0).le32(54);
    want.le32(40).le32(3).le32(2).le16(1).le16(24).le32(0).le32(24).le32(0).le32(0).le32(0).le32(0);
    want.fill(6, 0).bgr(0xA0B0C0).fill(3, 0);    // bottom row first, padded to 12
    want.bgr(0x010203).fill(6, 0).fill(3, 0);
    EXPECT_EQ(f, want.v);
}

TEST_F(Bitmap, DrawnBitmapRoundTrip) {
    FGBitmap b(13, 7, 0x202020);
    b.fillbox(2, 1, 5, 4, 0xFF0000);
    b.line(0, 6, 12, 0, 0x00FF7F);
    b.pixel(12, 6, 0xFE00FE);
    ASSERT_EQ(b.save("round.bmp"), 0);
    FGBitmap back("round.bmp");
    EXPECT_EQ(back.type, FG_TYPE_BITMAP_FILE);
    EXPECT_EQ(back.format, FG_IMAGE_BMP);
    EXPECT_EQ(back.width, 13);
    EXPECT_EQ(pixels_of(back), pixels_of(b));
    EXPECT_EQ(back.get_colorkey(), FG_NO_KEY);   // 24 bits: no palette key
}

TEST_F(Bitmap, SaveFailures) {
    FGBitmap b(2, 2, 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(b.save("no_such_dir/x.bmp"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Velvix ERROR: Bitmap not saved because of disk write error!\n");
    // A full disk is a failure, not a short file reported as saved.
    ASSERT_EQ(symlink("/dev/full", "full.bmp"), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(b.save("full.bmp"), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("disk write error"), std::string::npos);
    // Long names are cut before ".bmp" is appended.
    const std::string long_name(200, 'n');
    EXPECT_EQ(b.save(long_name.c_str()), 0);
    EXPECT_EQ(access((std::string(123, 'n') + ".bmp").c_str(), F_OK), 0);
    // Nothing to save from a bitmap whose load failed.
    testing::internal::CaptureStderr();
    b.load("missing.bmp");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(b.save("after_failure.bmp"), 2);
    EXPECT_NE(access("after_failure.bmp", F_OK), 0);
}

// ---------------------------------------------------------------- BMP

// File and Windows information header for a picture whose palette has `entries`.
Bytes bmp_head(int w, int h, int bits, int entries, int compression = 0, int planes = 1) {
    Bytes b;
    b.str("BM").le32(0).le32(0).le32(static_cast<uint32_t>(54 + 4 * entries));
    b.le32(40).le32(static_cast<uint32_t>(w)).le32(static_cast<uint32_t>(h)).le16(planes).le16(bits);
    b.le32(static_cast<uint32_t>(compression)).le32(0).le32(0).le32(0).le32(0).le32(0);
    return b;
}

const FGPixel K = FG_PALETTE_KEY;

TEST_F(Bitmap, Bmp24With3PixelRows) {
    Bytes b = bmp_head(3, 2, 24, 0);
    b.bgr(0x000004).bgr(0x000005).bgr(0x000006).fill(3, 0xEE);   // bottom row
    b.bgr(0x010203).bgr(0x112233).bgr(0xFFFFFF).fill(3, 0xEE);
    ASSERT_EQ(load("p.bmp", b), 0) << err;
    expect_loaded(3, 2, {0x010203, 0x112233, 0xFFFFFF, 4, 5, 6});
    EXPECT_EQ(bmp.get_colorkey(), FG_NO_KEY);
}

TEST_F(Bitmap, BmpPalettedDepthsGetThePaletteKey) {
    // 1 bit, 10 wide: two bytes per row and two of padding.
    Bytes one = bmp_head(10, 2, 1, 2);
    one.le32(0x000000).le32(0xABCDEF);
    one.u8(0x80).u8(0x40).fill(2, 0xFF);         // bottom: x=0 and x=9
    one.u8(0x01).u8(0x80).fill(2, 0xFF);         // top: x=7 and x=8
    ASSERT_EQ(load("one.bmp", one), 0) << err;
    Pixels want(20, 0);
    want[7] = want[8] = want[10] = want[19] = 0xABCDEF;
    expect_loaded(10, 2, want);
    EXPECT_EQ(bmp.get_colorkey(), K);

    Bytes four = bmp_head(3, 1, 4, 16);
    for (int i = 0; i < 16; i++) four.le32(static_cast<uint32_t>(i * 0x10));
    four.u8(0x1F).u8(0x20).fill(2, 0);
    ASSERT_EQ(load("four.bmp", four), 0) << err;
    expect_loaded(3, 1, {0x10, 0xF0, 0x20});

    // OS/2 header: 16-bit sizes, 3-byte palette entries.
    Bytes os2;
    os2.str("BM").le32(0).le32(0).le32(14 + 12 + 3 * 2);
    os2.le32(12).le16(2).le16(1).le16(1).le16(8).bgr(0x111111).bgr(0x222222);
    os2.u8(1).u8(0).fill(2, 0);
    ASSERT_EQ(load("os2.bmp", os2), 0) << err;
    expect_loaded(2, 1, {0x222222, 0x111111});
}

TEST_F(Bitmap, BmpRunLengthWithDeltaAndHostileRuns) {
    Bytes b = bmp_head(4, 3, 8, 4, 1);
    b.le32(0).le32(0x0000FF).le32(0x00FF00).le32(0xFF0000);
    b.u8(2).u8(1).u8(0).u8(0);             // bottom row: 1 1 0 0
    b.u8(0).u8(2).u8(1).u8(1);             // delta: one right, one up
    b.u8(0).u8(3).u8(2).u8(3).u8(2).u8(0); // literal of three, one pad byte
    b.u8(0).u8(1);
    ASSERT_EQ(load("rle.bmp", b), 0) << err;
    expect_loaded(4, 3, {0, 0x00FF00, 0xFF0000, 0x00FF00, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0});

    // Runs far past the row and deltas far past the picture store nothing outside.
    Bytes h = bmp_head(2, 2, 8, 2, 1);
    h.le32(0).le32(0xFFFFFF);
    h.u8(255).u8(1).u8(0).u8(255).fill(255, 1).u8(0);
    ASSERT_EQ(load("wild.bmp", h), 0) << err;
    expect_loaded(2, 2, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF});
    Bytes d = bmp_head(2, 2, 8, 2, 1);
    d.le32(0).le32(0xFFFFFF).u8(0).u8(2).u8(255).u8(0).u8(2).u8(1).u8(0).u8(2).u8(0).u8(255);
    ASSERT_EQ(load("delta.bmp", d), 0) << err;
    expect_loaded(2, 2, {0, 0, 0, 0});

    // No end-of-picture code before the data end.
    Bytes t = bmp_head(4, 4, 8, 2, 1);
    t.le32(0).le32(0xFFFFFF).u8(4).u8(1).u8(0).u8(0);
    expect_failed(load("short.bmp", t), 2, "Bad FGBitmap format!");
}

TEST_F(Bitmap, BmpRefusals) {
    expect_failed(load("x.bmp", Bytes().str("MB").fill(60, 0)), 2,
                  "Velvix ERROR: x.bmp isn't supported image file!");
    expect_failed(load("x.bmp", Bytes().str("BM")), 2, "isn't supported image file!");
    Bytes rle4 = bmp_head(2, 2, 4, 2, 2);
    expect_failed(load("x.bmp", rle4.le32(0).le32(0)), 2, "Unknown compress format!");
    Bytes planes = bmp_head(2, 2, 8, 2, 0, 3);
    expect_failed(load("x.bmp", planes.le32(0).le32(0).fill(16, 0)), 2,
                  "Multi-planes BMP not supported!");
    expect_failed(load("x.bmp", bmp_head(2, 2, 24, 0, 0, 2).fill(16, 0)), 2,
                  "This color depth BMP is not supported!");
    expect_failed(load("x.bmp", bmp_head(2, 2, 16, 0).fill(16, 0)), 2, "Bad FGBitmap format!");
    // Sizes that overflow, top-down and empty pictures.
    expect_failed(load("x.bmp", bmp_head(0x7FFFFFFF, 0x7FFFFFFF, 24, 0)), 2, "Bad FGBitmap format!");
    expect_failed(load("x.bmp", bmp_head(65536, 65536, 1, 0)), 2, "Bad FGBitmap format!");
    expect_failed(load("x.bmp", bmp_head(8193, 1, 1, 0).fill(1028, 0)), 2, "Bad FGBitmap format!");
    expect_failed(load("x.bmp", bmp_head(4096, 1025, 1, 0)), 2, "Bad FGBitmap format!");
    expect_failed(load("x.bmp", bmp_head(2, -2, 24, 0).fill(16, 0)), 2, "Bad FGBitmap format!");
    expect_failed(load("x.bmp", bmp_head(0, 2, 24, 0)), 2, "Bad FGBitmap format!");
    // Truncated pixel rows and palette.
    expect_failed(load("x.bmp", bmp_head(3, 2, 24, 0).fill(20, 0)), 2, "Bad FGBitmap format!");
    expect_failed(load("x.bmp", bmp_head(3, 2, 8, 256).fill(100, 0)), 2, "Bad FGBitmap format!");
    // A pixel-data offset inside the headers gives no palette, not a huge one.
    Bytes inside;
    inside.str("BM").le32(0).le32(0).le32(4);
    inside.le32(40).le32(1).le32(1).le16(1).le16(24).fill(24, 0).bgr(0x445566).u8(0);
    ASSERT_EQ(load("x.bmp", inside), 0) << err;
    expect_loaded(1, 1, {0x445566});
    // A header size past the end of the file.
    Bytes big;
    big.str("BM").le32(0).le32(0).le32(0).le32(0xFFFFFFF0).fill(40, 0);
    expect_failed(load("x.bmp", big), 2, "Bad FGBitmap format!");
}

// ---------------------------------------------------------------- GIF

// LZW coding as GIF writers do it, so that code widths grow up to 12 bits and
// the table is cleared when full.
std::vector<uint8_t> lzw(const std::vector<uint8_t>& indices, int min_size) {
    std::vector<uint8_t> packed;
    uint32_t acc = 0;
    int bits = 0;
    int width = min_size + 1;
    const int clear = 1 << min_size, end = clear + 1;
    auto emit = [&](int code) {
        acc |= static_cast<uint32_t>(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, acc >>= 8) packed.push_back(static_cast<uint8_t>(acc));
    };
    std::map<std::pair<int, int>, int> table;
    int next = end + 1;
    emit(clear);
    int current = -1;
    for (uint8_t k : indices) {
        if (current < 0) {
            current = k;
            continue;
        }
        auto it = table.find({current, k});
        if (it != table.end()) {
            current = it->second;
            continue;
        }
        emit(current);
        if (next == 1 << width && width < 12) width++;
        if (next < 4096) {
            table[{current, k}] = next++;
        } else {
            emit(clear);
            table.clear();
            next = end + 1;
            width = min_size + 1;
        }
        current = k;
    }
    emit(current);
    if (next == 1 << width && width < 12) width++;
    emit(end);
    if (bits > 0) packed.push_back(static_cast<uint8_t>(acc));
    std::vector<uint8_t> blocks{static_cast<uint8_t>(min_size)};
    for (size_t i = 0; i < packed.size(); i += 255) {
        const size_t n = std::min<size_t>(255, packed.size() - i);
        blocks.push_back(static_cast<uint8_t>(n));
        blocks.insert(blocks.end(), packed.begin() + static_cast<std::ptrdiff_t>(i),
                      packed.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    blocks.push_back(0);
    return blocks;
}

Bytes gif_head(int w, int h, int table_bits, int background, const Pixels& colours) {
    Bytes b;
    b.str("GIF89a").le16(w).le16(h).u8(colours.empty() ? 0 : 0x80 | (table_bits - 1));
    b.u8(background).u8(0);
    for (int i = 0; i < (colours.empty() ? 0 : 1 << table_bits); i++)
        b.u8(i < static_cast<int>(colours.size()) ? colours[i] >> 16 : 0)
            .u8(i < static_cast<int>(colours.size()) ? colours[i] >> 8 : 0)
            .u8(i < static_cast<int>(colours.size()) ? colours[i] : 0);
    return b;
}

Bytes& gif_image(Bytes& b, int w, int h, const std::vector<uint8_t>& indices, int flags = 0,
                 int min_size = 3) {
    b.u8(',').le16(0).le16(0).le16(w).le16(h).u8(flags);
    return b.add(lzw(indices, min_size));
}

const Pixels EIGHT{0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};

TEST_F(Bitmap, GifTransparentIndexBecomesTheKey) {
    Bytes b = gif_head(4, 3, 3, 0, EIGHT);
    b.u8('!').u8(0xF9).u8(4).u8(0x05).le16(10).u8(5).u8(0);   // transparent index 5
    b.u8('!').u8(0xFE).u8(3).str("hi!").u8(0);                // comment, dropped
    const std::vector<uint8_t> idx{1, 5, 5, 2, 3, 4, 5, 6, 7, 0, 1, 5};
    gif_image(b, 4, 3, idx).u8(';');
    ASSERT_EQ(load("t.gif", b), 0) << err;
    expect_loaded(4, 3, {0xFF0000, K, K, 0x00FF00, 0x0000FF, 0xFFFF00, K, 0xFF00FF, 0xFFFFFF, 0,
                         0xFF0000, K});
    EXPECT_EQ(bmp.get_colorkey(), K);
    EXPECT_EQ(err, "");
    // Keyed pixels leave the destination as it was.
    FGDrawBuffer dst(4, 3, FG_TYPE_BITMAP, 0x123456);
    dst.bitblt(0, 0, 0, 0, 4, 3, &bmp);
    EXPECT_EQ(dst.pixels[1], 0x123456u);
    EXPECT_EQ(dst.pixels[0], 0xFF0000u);
    EXPECT_EQ(dst.pixels[11], 0x123456u);
}

TEST_F(Bitmap, GifLongDataInterlaceAndScreenFill) {
    // Enough varied pixels to grow the codes to 12 bits and fill the table twice.
    const int w = 250, h = 120;
    std::vector<uint8_t> idx(w * h);
    uint32_t seed = 7;
    for (auto& i : idx) {
        seed = seed * 1103515245u + 12345u;
        i = static_cast<uint8_t>((seed >> 16) % 5 == 0 ? (seed >> 20) & 7 : 2);
    }
    Bytes b = gif_head(w, h, 3, 0, EIGHT);
    gif_image(b, w, h, idx).u8(';');
    ASSERT_EQ(load("long.gif", b), 0) << err;
    Pixels want;
    for (uint8_t i : idx) want.push_back(EIGHT[i]);
    expect_loaded(w, h, want);
    EXPECT_EQ(bmp.get_colorkey(), 0xFFFFFFFFu);   // no transparent index

    // Interlaced rows arrive as 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
    const int order[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    std::vector<uint8_t> sent;
    for (int r : order) sent.insert(sent.end(), {static_cast<uint8_t>(r % 8), 1});
    Bytes il = gif_head(2, 10, 3, 0, EIGHT);
    gif_image(il, 2, 10, sent, 0x40).u8(';');
    ASSERT_EQ(load("il.gif", il), 0) << err;
    want.clear();
    for (int r = 0; r < 10; r++) want.insert(want.end(), {EIGHT[r % 8], EIGHT[1]});
    expect_loaded(2, 10, want);

    // A smaller image lands contiguously at the start, with its own palette;
    // the rest keeps the background.
    Bytes two = gif_head(3, 2, 3, 4, EIGHT);
    gif_image(two, 3, 1, {7, 7, 7});
    two.u8(',').le16(1).le16(1).le16(2).le16(1).u8(0x80 | 2);   // at (1, 1), 8 entries
    two.fill(6, 0).u8(0x11).u8(0x22).u8(0x33).u8(0x44).u8(0x55).u8(0x66).fill(12, 0);
    two.add(lzw({2, 3}, 3)).u8(';');
    ASSERT_EQ(load("two.gif", two), 0) << err;
    // Background index 4 of the local table is black.
    expect_loaded(3, 2, {0x112233, 0x445566, 0, 0, 0, 0});
}

TEST_F(Bitmap, GifDamage) {
    expect_failed(load("x.gif", Bytes().str("GIF")), 1, "error reading magic number");
    EXPECT_NE(err.find("Velvix ERROR: GIF file 'x.gif' loading error!"), std::string::npos);
    expect_failed(load("x.gif", Bytes().str("PNG89a").fill(8, 0)), 1, "not a GIF file");
    expect_failed(load("x.gif", Bytes().str("GIF90a").fill(8, 0)), 1,
                  "bad version number, not '87a' or '89a'");
    expect_failed(load("x.gif", Bytes().str("GIF87a").le16(4)), 1, "failed to read screen descriptor");
    expect_failed(load("x.gif", gif_head(65535, 65535, 1, 0, {})), 1,
                  "failed to read screen descriptor");

    // Past the screen descriptor the picture is kept: images read so far count.
    Bytes good = gif_head(2, 1, 3, 6, EIGHT);
    gif_image(good, 2, 1, {1, 2});
    ASSERT_EQ(load("x.gif", good), 0);
    EXPECT_NE(err.find("EOF / data stream"), std::string::npos);
    expect_loaded(2, 1, {0xFF0000, 0x00FF00});

    Bytes cut = gif_head(2, 1, 3, 6, {0x1, 0x2});
    cut.v.resize(cut.v.size() - 5);
    ASSERT_EQ(load("x.gif", cut), 0);
    EXPECT_NE(err.find("unable to get global colormap"), std::string::npos);
    EXPECT_EQ(pixels_of(bmp), (Pixels{0, 0}));

    // A code beyond the table: the image is dropped, the background stays.
    Bytes bad = gif_head(2, 1, 3, 6, EIGHT);
    bad.u8(',').le16(0).le16(0).le16(2).le16(1).u8(0).u8(3).u8(2).u8(0x08 | 0x0F << 4).u8(0xFF).u8(0);
    ASSERT_EQ(load("x.gif", bad.u8(';')), 0);
    EXPECT_NE(err.find("circular table entry BIG ERROR"), std::string::npos) << err;
    expect_loaded(2, 1, {0xFF00FF, 0xFF00FF});

    // The sub-blocks end before the image is complete.
    Bytes run = gif_head(8, 8, 3, 6, EIGHT);
    run.u8(',').le16(0).le16(0).le16(8).le16(8).u8(0).u8(3).u8(1).u8(0x08).u8(0).u8(';');
    ASSERT_EQ(load("x.gif", run), 0);
    EXPECT_NE(err.find("ran off the end of my bits"), std::string::npos) << err;
    Bytes eof = gif_head(8, 8, 3, 6, EIGHT);
    eof.u8(',').le16(0).le16(0).le16(8).le16(8).u8(0).u8(3).u8(200).u8(0x08);
    ASSERT_EQ(load("x.gif", eof), 0);
    EXPECT_NE(err.find("EOF / read error on image data"), std::string::npos) << err;

    // An image larger than the screen fills it and no more.
    Bytes over = gif_head(2, 1, 3, 6, EIGHT);
    gif_image(over, 3, 2, {1, 2, 3, 4, 5, 7}).u8(';');
    ASSERT_EQ(load("x.gif", over), 0) << err;
    expect_loaded(2, 1, {0xFF0000, 0x00FF00});
    Bytes huge = gif_head(2, 1, 3, 6, EIGHT);
    ASSERT_EQ(load("x.gif", huge.u8(',').le16(0).le16(0).le16(4096).le16(1025).u8(0)), 0);
    EXPECT_NE(err.find("couldn't read left/top/width/height"), std::string::npos);
    ASSERT_EQ(load("x.gif", gif_head(2, 1, 3, 6, EIGHT).u8(',').le16(0)), 0);
    EXPECT_NE(err.find("couldn't read left/top/width/height"), std::string::npos);
    ASSERT_EQ(load("x.gif", gif_head(2, 1, 3, 6, EIGHT).u8(',').fill(8, 0).u8(0x87).fill(9, 0)), 0);
    EXPECT_NE(err.find("unable to get local colormap"), std::string::npos);
    ASSERT_EQ(load("x.gif", gif_head(2, 1, 3, 6, EIGHT).u8('!')), 0);
    EXPECT_NE(err.find("EOF / read error on extention function code"), std::string::npos);
    // A root size that no palette index could carry.
    Bytes wide = gif_head(2, 1, 3, 6, EIGHT);
    wide.u8(',').le16(0).le16(0).le16(2).le16(1).u8(0).u8(11).u8(1).u8(0).u8(0).u8(';');
    ASSERT_EQ(load("x.gif", wide), 0);
    EXPECT_NE(err.find("circular table entry BIG ERROR"), std::string::npos) << err;
}

// ---------------------------------------------------------------- PCX

Bytes pcx_head(int bytes_per_line, int ymax, int version = 5) {
    Bytes b;
    b.u8(10).u8(version).u8(1).u8(8).le16(0).le16(0).le16(bytes_per_line - 1).le16(ymax);
    b.fill(53, 0).u8(1).le16(bytes_per_line);
    b.fill(128 - 68, 0);
    return b;
}

Bytes& pcx_palette(Bytes& b) {
    b.u8(12);
    for (int i = 0; i < 256; i++) b.u8(i).u8(255 - i).u8(i / 2);
    return b;
}

FGPixel pcx_colour(int i) { return static_cast<FGPixel>(i << 16 | (255 - i) << 8 | i / 2); }

TEST_F(Bitmap, PcxRunsAndPalette) {
    Bytes b = pcx_head(3, 1);
    ASSERT_EQ(b.v.size(), 128u);
    b.u8(0xC4).u8(0xC7).u8(7).u8(0xFF).u8(0x05);   // four of 0xC7, one 7, run cut at the end
    pcx_palette(b);
    ASSERT_EQ(load("p.pcx", b), 0) << err;
    expect_loaded(3, 2, {pcx_colour(0xC7), pcx_colour(0xC7), pcx_colour(0xC7), pcx_colour(0xC7),
                         pcx_colour(7), pcx_colour(5)});
    EXPECT_EQ(bmp.get_colorkey(), K);

    Bytes no_marker = pcx_head(2, 0);
    no_marker.u8(1).u8(2).fill(769, 0);
    expect_failed(load("p.pcx", no_marker), 2, "Velvix ERROR: FGBitmap 'p.pcx' isn't PCX 5.0 file!");
    Bytes v3 = pcx_head(2, 0, 3);
    expect_failed(load("p.pcx", pcx_palette(v3.u8(1).u8(2))), 2, "isn't PCX 5.0 file!");
    expect_failed(load("p.pcx", pcx_head(2, 0).u8(1)), 2, "isn't PCX 5.0 file!");   // data cut
    Bytes cut_palette = pcx_head(2, 0);
    expect_failed(load("p.pcx", cut_palette.u8(1).u8(2).u8(12).fill(700, 0)), 2, "isn't PCX");
    expect_failed(load("p.pcx", pcx_head(0, 0)), 2, "isn't PCX");
    expect_failed(load("p.pcx", pcx_head(65535, 65535)), 2, "isn't PCX");
}

// ---------------------------------------------------------------- TGA

Bytes tga_head(int type, int w, int h, int bits, int descriptor, int map_type = 0, int map_len = 0,
               int map_bits = 0, int id_len = 0) {
    Bytes b;
    b.u8(id_len).u8(map_type).u8(type).le16(0).le16(map_len).u8(map_bits);
    b.le16(0).le16(0).le16(w).le16(h).u8(bits).u8(descriptor);
    return b;
}

TEST_F(Bitmap, TgaRowOrdersAndDepths) {
    const Pixels picture{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    Bytes up = tga_head(2, 3, 2, 24, 0);        // bottom row first
    for (int i : {3, 4, 5, 0, 1, 2}) up.bgr(picture[i]);
    ASSERT_EQ(load("up.tga", up), 0) << err;
    expect_loaded(3, 2, picture);
    EXPECT_EQ(bmp.get_colorkey(), FG_NO_KEY);
    Bytes down = tga_head(2, 3, 2, 24, 0x20);
    for (int i : {0, 1, 2, 3, 4, 5}) down.bgr(picture[i]);
    ASSERT_EQ(load("down.tga", down), 0) << err;
    expect_loaded(3, 2, picture);
    Bytes mirrored = tga_head(2, 3, 2, 24, 0x30);
    for (int i : {2, 1, 0, 5, 4, 3}) mirrored.bgr(picture[i]);
    ASSERT_EQ(load("rl.tga", mirrored), 0) << err;
    expect_loaded(3, 2, picture);

    // The keyed paper of the pages: 32 bits with alpha 255 keep the key word.
    Bytes keyed = tga_head(2, 2, 1, 32, 0x28);
    keyed.bgr(0xF000F0).u8(0xFF).bgr(0x00FF00).u8(0xFF);
    ASSERT_EQ(load("key.tga", keyed), 0) << err;
    expect_loaded(2, 1, {0xFFF000F0, 0xFF00FF00});

    Bytes five = tga_head(2, 2, 1, 16, 0x20);
    five.le16(0x7C00).le16(0x8000 | 1 << 5 | 31);
    ASSERT_EQ(load("five.tga", five), 0) << err;
    expect_loaded(2, 1, {0xFF0000, 0x0008FF});

    Bytes grey = tga_head(3, 2, 1, 8, 0x20);
    ASSERT_EQ(load("grey.tga", grey.u8(0x40).u8(0xFF)), 0) << err;
    expect_loaded(2, 1, {0x404040, 0xFFFFFF});
    Bytes grey_alpha = tga_head(3, 1, 1, 16, 0x28);
    ASSERT_EQ(load("ga.tga", grey_alpha.u8(0x40).u8(0x80)), 0) << err;
    expect_loaded(1, 1, {0x80404040});

    // More map entries than palette slots: the rest are read past.
    Bytes indexed = tga_head(1, 2, 1, 8, 0x20, 1, 300, 24);
    for (int i = 0; i < 300; i++) indexed.bgr(static_cast<FGPixel>(i * 0x10101));
    ASSERT_EQ(load("idx.tga", indexed.u8(2).u8(255)), 0) << err;
    expect_loaded(2, 1, {0x020202, 0xFFFFFF});

    Bytes no_alpha = tga_head(2, 1, 1, 32, 0x20);
    ASSERT_EQ(load("na.tga", no_alpha.bgr(0x123456).u8(0)), 0);
    EXPECT_EQ(err, "TGA: Possibly incorrect alpha in \"na.tga\"\n");
}

TEST_F(Bitmap, TgaRunLengthAcrossRowsAndFooter) {
    Bytes b = tga_head(10, 3, 2, 24, 0x20, 0, 0, 0, 2);
    b.str("id");
    b.u8(0x83).bgr(0xAA0000);                   // run of 4: crosses into row 2
    b.u8(0x01).bgr(0x000001).bgr(0x000002);     // raw of 2
    b.u8(0x00).bgr(0x000003);
    ASSERT_EQ(load("rle.tga", b), 0) << err;
    expect_loaded(3, 2, {0xAA0000, 0xAA0000, 0xAA0000, 0xAA0000, 1, 2});

    // A footer whose extension area lies past the end.
    Bytes ext = tga_head(2, 1, 1, 24, 0).bgr(0x010101);
    ext.le32(5000).le32(0).str("TRUEVISION-XFILE.").u8(0);
    expect_failed(load("ext.tga", ext), 2, "TGA: Cannot read extension from \"ext.tga\"\n");
    Bytes fine = tga_head(2, 1, 1, 24, 0).bgr(0x010101).fill(495, 0);
    fine.le32(21).le32(0).str("TRUEVISION-XFILE.").u8(0);
    ASSERT_EQ(load("fine.tga", fine), 0) << err;
    expect_loaded(1, 1, {0x010101});
}

TEST_F(Bitmap, TgaRefusals) {
    expect_failed(load("x.tga", Bytes().fill(10, 0)), 2, "TGA: Cannot read header from \"x.tga\"\n");
    expect_failed(load("x.tga", tga_head(5, 1, 1, 24, 0)), 3, "TGA: Unknown image type for \"x.tga\"\n");
    expect_failed(load("x.tga", tga_head(2, 1, 1, 15, 0)), 3, "TGA: Unhandled sub-format in \"x.tga\"\n");
    expect_failed(load("x.tga", tga_head(2, 1, 1, 32, 4)), 3, "Unhandled sub-format");
    expect_failed(load("x.tga", tga_head(1, 1, 1, 8, 0)), 3,
                  "TGA: indexed image has invalid color map type 0\n");
    expect_failed(load("x.tga", tga_head(2, 1, 1, 24, 0, 1, 1, 24).fill(6, 0)), 3,
                  "TGA: non-indexed image has invalid color map type 1\n");
    expect_failed(load("x.tga", tga_head(2, 0, 1, 24, 0)), 3,
                  "TGA: No support yet for TGA with these parameters\n");
    expect_failed(load("x.tga", tga_head(2, 65535, 65535, 24, 0)), 3, "No support yet");
    const char* cut = "TGA: File is truncated or corrupted \"x.tga\"\n";
    expect_failed(load("x.tga", tga_head(2, 1, 1, 24, 0, 0, 0, 0, 9).str("id")), 2, cut);
    expect_failed(load("x.tga", tga_head(2, 2, 2, 24, 0).fill(11, 0)), 2, cut);
    expect_failed(load("x.tga", tga_head(10, 4, 4, 24, 0).u8(0x7F).bgr(0)), 2, cut);
    expect_failed(load("x.tga", tga_head(1, 1, 1, 8, 0, 1, 4, 24).fill(5, 0)), 2, cut);
    // A colour map wider than 32 bits is a damaged file, not a black picture loaded.
    expect_failed(load("x.tga", tga_head(1, 1, 1, 8, 0, 1, 1, 40).fill(8, 0)), 2, cut);
}

}  // namespace
