// Picture encoders byte for byte, the GIF code stream against a decoder, and
// the generator's output: every listed file with its header, size and key.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "../tools/picture_writers.h"
#include "../tools/pictures.h"
#include "file_io.h"

namespace {

using pic::Bytes;
using pic::Image;

unsigned U16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }

// Decodes a GIF code stream the way GIF decoders do (a code one bit wider once
// the table reaches the current width, table cleared by the clear code).
std::vector<uint8_t> LzwDecode(const Bytes& code, int minBits) {
    const int clear = 1 << minBits, eoi = clear + 1;
    std::vector<std::vector<uint8_t>> table;
    auto reset = [&] {
        table.clear();
        for (int i = 0; i < clear + 2; ++i)
            table.push_back({static_cast<uint8_t>(i)});
    };
    reset();
    int width = minBits + 1, prev = -1;
    size_t bit = 0;
    std::vector<uint8_t> out;
    while (bit + width <= code.size() * 8) {
        int c = 0;
        for (int i = 0; i < width; ++i, ++bit)
            c |= ((code[bit / 8] >> (bit % 8)) & 1) << i;
        if (c == clear) {
            reset();
            width = minBits + 1;
            prev = -1;
            continue;
        }
        if (c == eoi)
            break;
        std::vector<uint8_t> e;
        if (c < static_cast<int>(table.size()))
            e = table[c];
        else if (prev >= 0 && c == static_cast<int>(table.size()))
            e = table[prev], e.push_back(table[prev][0]);
        else
            return {};  // corrupt stream
        if (prev >= 0) {
            std::vector<uint8_t> n = table[prev];
            n.push_back(e[0]);
            table.push_back(n);
        }
        out.insert(out.end(), e.begin(), e.end());
        prev = c;
        if (table.size() >= (1u << width) && width < 12)
            ++width;
    }
    return out;
}

TEST(PictureEncoders, TgaHeadersAndRowOrder) {
    Image im(2, 2, 0);
    im.At(0, 0) = 0x80112233;  // top left
    im.At(1, 1) = 0xFF445566;  // bottom right
    Bytes keyed = pic::EncodeTga(im, 32, false, true);
    const Bytes head = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 0x08};
    ASSERT_EQ(keyed.size(), 18u + 16u);
    EXPECT_EQ(Bytes(keyed.begin(), keyed.begin() + 18), head);
    // Bottom-up: the bottom row first, pixels as blue, green, red, alpha.
    EXPECT_EQ(Bytes(keyed.begin() + 22, keyed.begin() + 26), (Bytes{0x66, 0x55, 0x44, 0xFF}));
    EXPECT_EQ(Bytes(keyed.begin() + 26, keyed.begin() + 30), (Bytes{0x33, 0x22, 0x11, 0xFF}));
    // GL textures keep their alpha; the entertainment form is 24-bit top-down.
    EXPECT_EQ(pic::EncodeTga(im, 32, false, false)[29], 0x80);
    Bytes ent = pic::EncodeTga(im, 24, true, true);
    ASSERT_EQ(ent.size(), 18u + 12u);
    EXPECT_EQ(ent[16], 24);
    EXPECT_EQ(ent[17], 0x20);
    EXPECT_EQ(Bytes(ent.begin() + 18, ent.begin() + 21), (Bytes{0x33, 0x22, 0x11}));
}

TEST(PictureEncoders, BmpHeaderAndPadding) {
    Image im(3, 2, 0xFF000000);
    im.At(0, 1) = 0xFFA0B0C0;  // bottom left: first pixel in the file
    Bytes b = pic::EncodeBmp24(im);
    const Bytes head = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0,
                        1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(b.size(), 78u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 54), head);
    EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 57), (Bytes{0xC0, 0xB0, 0xA0}));
    EXPECT_EQ(Bytes(b.begin() + 63, b.begin() + 66), (Bytes{0, 0, 0}));  // padding of the row
}

TEST(PictureEncoders, GifHeaderTransparencyAndCodes) {
    Image im(2, 2, 0xFFFFFFFF);
    im.At(1, 0) = 0;  // transparent
    Bytes b = pic::EncodeGif(im);
    const Bytes head = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0xF0, 0, 0,
                        0xFE, 0x00, 0xFE, 0xFF, 0xFF, 0xFF,           // transparent entry first, then white
                        0x21, 0xF9, 4, 1, 0, 0, 0, 0,                 // transparent index 0
                        0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2};          // image, minimum code size 2
    ASSERT_GT(b.size(), head.size() + 2);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(head.size())), head);
    EXPECT_EQ(b.back(), 0x3B);
    Bytes code(b.begin() + static_cast<std::ptrdiff_t>(head.size()) + 1, b.end() - 2);
    ASSERT_EQ(code.size(), b[head.size()]);
    EXPECT_EQ(LzwDecode(code, 2), (std::vector<uint8_t>{1, 0, 1, 1}));
}

TEST(PictureEncoders, LzwRoundTripThroughTableResets) {
    std::mt19937 rng(7);
    for (int bits : {2, 4, 8}) {
        std::vector<uint8_t> idx(60000);
        for (size_t i = 0; i < idx.size(); ++i)  // runs and noise: both grow and refill the table
            idx[i] = static_cast<uint8_t>(i % 977 < 400 ? (i / 50) % (1 << bits) : rng() % (1 << bits));
        EXPECT_EQ(LzwDecode(pic::LzwEncode(idx, bits), bits), idx) << bits;
    }
    EXPECT_EQ(LzwDecode(pic::LzwEncode({3}, 2), 2), (std::vector<uint8_t>{3}));
}

TEST(PictureEncoders, ManyColoursAreReducedToOnePalette) {
    Image im(64, 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            im.At(x, y) = 0xFF000000u | static_cast<uint32_t>(x * 4) << 16 | static_cast<uint32_t>(y * 4) << 8 | 0x40;
    pic::Paletted p = pic::ToPalette(im);
    EXPECT_LE(p.palette.size(), 256u);
    EXPECT_EQ(p.idx.size(), 64u * 64u);
}

constexpr size_t CStrLen(const char* s) { return *s ? 1 + CStrLen(s + 1) : 0; }
static_assert(CStrLen(pic::GlFontCharset[0]) == 128 && CStrLen(pic::GlFontCharset[1]) == 128 &&
                  CStrLen(pic::GlFontCharset[2]) == 128 && CStrLen(pic::GlFontCharset[3]) == 128,
              "a GL font holds 128 glyphs");

TEST(PictureTable, GlFontWidthsAreComplete) {
    for (int f = 0; f < 4; ++f)
        for (int j = 0; j < pic::GlFontGlyphs; ++j)
            EXPECT_GT(pic::GlFontWidths[f][j], 0) << f << " " << j;
}

// ---- the generator ----

const std::string Generator = std::string(TEST_HELPER_DIR) + "/../tools/gen_pictures";

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/gen_pictures_test.XXXXXX";
        path = mkdtemp(tmpl) ? tmpl : "";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty())
            std::filesystem::remove_all(path, ec);
    }
};

int RunGenerator(const std::string& dir) {
    return std::system(("'" + Generator + "' '" + dir + "' 2>/dev/null").c_str());
}

// Pixel of a keyed TGA (32-bit, bottom-up) as 0x00RRGGBB.
uint32_t TgaPixel(const Bytes& b, int x, int y) {
    const int w = static_cast<int>(U16(b, 12)), h = static_cast<int>(U16(b, 14));
    const size_t at = 18 + (static_cast<size_t>(h - 1 - y) * w + x) * 4;
    return static_cast<uint32_t>(b[at + 2]) << 16 | b[at + 1] << 8 | b[at];
}

class Generated : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        ASSERT_FALSE(dir->path.empty());
        ASSERT_EQ(RunGenerator(dir->path), 0) << Generator;
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    static Bytes File(const char* name) { return FileBytes(dir->path + "/" + name); }
    static TempDir* dir;
};
TempDir* Generated::dir = nullptr;

TEST_F(Generated, EveryListedFileHasItsFormAndSize) {
    for (const pic::PictureInfo& p : pic::Pictures) {
        SCOPED_TRACE(p.file);
        Bytes b = File(p.file);
        ASSERT_GT(b.size(), 26u);
        const size_t pixels = static_cast<size_t>(p.width) * p.height;
        switch (p.form) {
        case pic::Form::TgaKeyed:
        case pic::Form::TgaGl32:
        case pic::Form::TgaGl24:
        case pic::Form::TgaEnt: {
            const int bits = p.form == pic::Form::TgaKeyed || p.form == pic::Form::TgaGl32 ? 32 : 24;
            EXPECT_EQ(Bytes(b.begin(), b.begin() + 12), (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
            EXPECT_EQ(U16(b, 12), static_cast<unsigned>(p.width));
            EXPECT_EQ(U16(b, 14), static_cast<unsigned>(p.height));
            EXPECT_EQ(b[16], bits);
            EXPECT_EQ(b[17], (bits == 32 ? 8 : 0) | (p.form == pic::Form::TgaEnt ? 0x20 : 0));
            EXPECT_EQ(b.size(), 18 + pixels * bits / 8);
            if (p.form == pic::Form::TgaKeyed) {
                for (size_t i = 0; i < pixels; ++i)
                    ASSERT_EQ(b[18 + 4 * i + 3], 0xFF);
            }
            break;
        }
        case pic::Form::Gif:
            EXPECT_EQ(Bytes(b.begin(), b.begin() + 6), (Bytes{'G', 'I', 'F', '8', '9', 'a'}));
            EXPECT_EQ(U16(b, 6), static_cast<unsigned>(p.width));
            EXPECT_EQ(U16(b, 8), static_cast<unsigned>(p.height));
            EXPECT_EQ(b.back(), 0x3B);
            break;
        case pic::Form::Bmp24:
            EXPECT_EQ(b[0], 'B');
            EXPECT_EQ(b[1], 'M');
            EXPECT_EQ(U16(b, 18), static_cast<unsigned>(p.width));
            EXPECT_EQ(U16(b, 22), static_cast<unsigned>(p.height));
            EXPECT_EQ(b[28], 24);
            EXPECT_EQ(b.size(), 54 + static_cast<size_t>((p.width * 3 + 3) & ~3) * p.height);
            break;
        }
    }
}

TEST_F(Generated, KeyColourWhereThePagesLookThrough) {
    // Corners of the frames and symbols are transparent; the radio boxes, drawn
    // without the key draw mode, have no key pixel at all.
    for (const char* name : {"3dvyskomer.tga", "3drychlomer.tga", "3dkompas.tga", "3dkulicka.tga", "3dbreminko.tga",
                             "tlacitko.tga", "jednotky.tga", "stredmaly.tga"}) {
        Bytes b = File(name);
        EXPECT_EQ(TgaPixel(b, 0, 0), pic::KeyRgb) << name;
    }
    for (const char* name : {"box_comm_xpdr_1r.tga", "box_comm_xpdr_2r.tga"}) {
        Bytes b = File(name);
        for (int y = 0; y < static_cast<int>(U16(b, 14)); ++y)
            for (int x = 0; x < static_cast<int>(U16(b, 12)); ++x)
                ASSERT_NE(TgaPixel(b, x, y), pic::KeyRgb) << name;
    }
    // The HSI card labels carry a transparent index: graphic control extension after the palette.
    Bytes hsi = File("stupniceHSI.gif");
    const size_t palette = 3u << ((hsi[10] & 7) + 1);
    EXPECT_EQ(Bytes(hsi.begin() + 13 + palette, hsi.begin() + 13 + palette + 4), (Bytes{0x21, 0xF9, 4, 1}));
}

TEST_F(Generated, DigitStripsKeepTheirCells) {
    // Drum digits sit inside their 28-row cells; the 4 rows between are clear.
    Bytes b = File("jednotky.tga");
    for (int k = 0; k <= 9; ++k) {
        const int top = pic::Drum1ZeroRow - pic::Drum1Pitch * k;
        bool ink = false;
        for (int y = top; y < top + pic::Drum1Cell; ++y)
            for (int x = 0; x < 22; ++x)
                ink = ink || TgaPixel(b, x, y) != pic::KeyRgb;
        EXPECT_TRUE(ink) << k;
        for (int y = top + pic::Drum1Cell; y < top + pic::Drum1Pitch; ++y)
            for (int x = 0; x < 22; ++x)
                ASSERT_EQ(TgaPixel(b, x, y), pic::KeyRgb) << k << " row " << y;
    }
    // VSI digits: a white ink pixel in every 12-row cell, nothing in the gaps.
    Bytes v = File("cisliceFont.tga");
    for (int d = 0; d <= 9; ++d) {
        bool white = false;
        for (int y = 19 * d; y < 19 * d + 12; ++y)
            for (int x = 0; x < 10; ++x)
                white = white || TgaPixel(v, x, y) == 0xFFFFFF;
        EXPECT_TRUE(white) << d;
        for (int y = 19 * d + 12; y < 19 * d + 19; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(TgaPixel(v, x, y), pic::KeyRgb) << d << " row " << y;
    }
    // The heading window's middle is the light drum the black digits go on.
    uint32_t mid = TgaPixel(File("3dkompas.tga"), 37, 16);
    EXPECT_GT(mid & 0xFF, 200u);
}

TEST_F(Generated, TwoRunsWriteTheSameBytes) {
    TempDir again;
    ASSERT_EQ(RunGenerator(again.path), 0);
    for (const pic::PictureInfo& p : pic::Pictures)
        EXPECT_TRUE(File(p.file) == FileBytes(again.path + "/" + p.file)) << p.file;
}

TEST(GeneratorFailures, UnwritableDirectoryIsAnError) {
    EXPECT_NE(RunGenerator("/nonexistent/Data"), 0);
    EXPECT_NE(std::system(("'" + Generator + "' 2>/dev/null").c_str()), 0);
}

}  // namespace
