// Font table: built-in fonts, ".fnt" loading (including damaged files), widths.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fgfontmanager.h"
#include "file_io.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

int32_t Get32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

void SetEntry(Bytes& b, int code, int width, int rows, int pos) {
    size_t e = 268 + 12 * static_cast<size_t>(code);
    b[e] = static_cast<uint8_t>(width);
    Put32(b, e + 4, rows);
    Put32(b, e + 8, pos);
}

// A small font written byte by byte: cell width 13, 5 rows, default width 3;
// 'A' 5 x 5 with a diagonal, 'B' 2 wide with 3 stored rows, the rest empty.
Bytes SmallFont() {
    Bytes b(3340, 0);
    memcpy(b.data(), "Test Face", 9);
    Put32(b, 256, 13);
    Put32(b, 260, 4);
    b[264] = 3;
    SetEntry(b, 0, 0, 0, 3072);  // glyph bytes start right after the header
    SetEntry(b, 'A', 5, 5, 3072);
    SetEntry(b, 'B', 2, 3, 3072 + 25);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            b.push_back(x == y ? 7 : 0);  // any non-zero byte is ink
    for (int i = 0; i < 6; ++i)
        b.push_back(0xFF);
    return b;
}

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/fgfont_test.XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string Write(const std::string& name, const Bytes& data) const {
        std::string p = path + "/" + name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                 static_cast<std::streamsize>(data.size()));
        return p;
    }
    std::string path;
};

class FontTest : public ::testing::Test {
protected:
    // Every test starts from the table as the program has it: the nine built-ins.
    void TearDown() override {
        FGFontManager::release_fonts();
        FGFontManager::register_builtins();
    }
    TempDir dir;
};

bool Ink(const FGPixel* cell, int pitch, int x, int y) { return cell[y * pitch + x] == 0xFFFFFFFFu; }

TEST_F(FontTest, BuiltinsHaveTheirNamesAndCells) {
    struct {
        const char* name;
        int w, h;
        bool fixed;
    } want[9] = {{"fixed-04x06", 4, 6, true},       {"fixed-08x08", 8, 8, true},
                 {"fixed-08x16", 8, 16, true},      {"fixed-12x20", 12, 20, true},
                 {"fixed-16x25", 16, 25, true},     {"fixed-20x34", 20, 34, true},
                 {"ms-sans 16 bold", 0, 16, false}, {"ms-sans 16", 0, 16, false},
                 {"ms-sans 13", 0, 13, false}};
    EXPECT_EQ(FGFontManager::font_count(), 9);
    for (int id = 0; id < 9; ++id) {
        const FGFontProperty* f = FGFontManager::get_font(id);
        ASSERT_NE(f, nullptr) << id;
        EXPECT_STREQ(f->name, want[id].name);
        EXPECT_EQ(f->height, want[id].h) << id;
        EXPECT_EQ(f->charset == nullptr, want[id].fixed) << id;
        if (want[id].fixed)
            EXPECT_EQ(f->width, want[id].w) << id;
        else
            EXPECT_EQ(f->width % 4, 0) << id;
        // Every glyph of the letters has ink, and only whole-word masks.
        for (unsigned char c : std::string("AHMWgx")) {
            int pitch = 0;
            const FGPixel* g = FGFontManager::glyph(id, c, &pitch);
            ASSERT_NE(g, nullptr) << id << " " << c;
            int ink = 0;
            for (int i = 0; i < pitch * f->height; ++i) {
                EXPECT_TRUE(g[i] == 0 || g[i] == 0xFFFFFFFFu);
                ink += g[i] != 0;
            }
            EXPECT_GT(ink, 2) << id << " " << c;
        }
    }
    EXPECT_FALSE(FGFontManager::is_font(9));
}

TEST_F(FontTest, FixedFontsBlankOutsideTheirCodes) {
    int pitch = 0;
    // Font 0 stores codes 32..126: below is a zero cell, above no glyph at all.
    const FGPixel* low = FGFontManager::glyph(0, 10, &pitch);
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(pitch, 4);
    for (int i = 0; i < 4 * 6; ++i)
        EXPECT_EQ(low[i], 0u);
    EXPECT_EQ(FGFontManager::glyph(0, 200, &pitch), nullptr);
    EXPECT_EQ(pitch, 4);
    EXPECT_NE(FGFontManager::glyph(1, 0xC9, &pitch), nullptr);  // 256 codes
    EXPECT_EQ(FGFontManager::glyph(40, 'A', &pitch), nullptr);
    EXPECT_EQ(FGFontManager::glyph(-1, 'A', &pitch), nullptr);
}

TEST_F(FontTest, TextWidths) {
    EXPECT_EQ(FGFontManager::textwidth(1, ""), 0);
    EXPECT_EQ(FGFontManager::textwidth(1, "AB"), 16);
    EXPECT_EQ(FGFontManager::textwidth(3, "AB", 5), 60);  // fixed: n cells whatever the string
    EXPECT_EQ(FGFontManager::charwidth(2, 'i'), 8);

    int a = FGFontManager::charwidth(7, 'A'), i = FGFontManager::charwidth(7, 'i');
    EXPECT_GT(a, i);
    EXPECT_EQ(FGFontManager::textwidth(7, "AiA"), 2 * a + i);
    EXPECT_EQ(FGFontManager::textwidth(7, "AiA", 2), a + i);
    EXPECT_EQ(FGFontManager::textwidth(7, "Ai", 10), a + i);  // stops at the end
    EXPECT_EQ(FGFontManager::textwidth(7, "\xC9"), FGFontManager::charwidth(7, 0xC9));
    EXPECT_GT(FGFontManager::charwidth(7, 0xC9), 0);  // bytes taken as unsigned

    EXPECT_EQ(FGFontManager::textwidth(50, "AB"), 0);
    EXPECT_EQ(FGFontManager::textwidth(7, nullptr), 0);
    EXPECT_EQ(FGFontManager::textwidth(1, "AB", -3), 0);
}

TEST_F(FontTest, LoadsTheFileLayout) {
    int id = FGFontManager::register_font(dir.Write("small.fnt", SmallFont()).c_str(), "small");
    ASSERT_EQ(id, 9);
    const FGFontProperty* f = FGFontManager::get_font(id);
    EXPECT_STREQ(f->name, "small");
    EXPECT_EQ(f->width, 16);  // 13 rounded up
    EXPECT_EQ(f->height, 5);
    EXPECT_EQ(FGFontManager::charwidth(id, 'A'), 5);
    EXPECT_EQ(FGFontManager::charwidth(id, 'B'), 2);
    EXPECT_EQ(FGFontManager::charwidth(id, 'C'), 3);  // width 0 takes the default
    EXPECT_EQ(FGFontManager::textwidth(id, "ABC"), 10);

    int pitch = 0;
    const FGPixel* g = FGFontManager::glyph(id, 'A', &pitch);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(pitch, 8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(Ink(g, pitch, x, y), x == y) << x << "," << y;

    g = FGFontManager::glyph(id, 'B', &pitch);
    EXPECT_EQ(pitch, 4);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Ink(g, pitch, x, y), y < 3 && x < 2) << x << "," << y;

    g = FGFontManager::glyph(id, 'C', &pitch);  // blank cell of the default width
    EXPECT_EQ(pitch, 4);
    for (int i = 0; i < 4 * 5; ++i)
        EXPECT_EQ(g[i], 0u);
}

TEST_F(FontTest, FileIdsStartAtNineAndTheTableHoldsSixtyFour) {
    std::string path = dir.Write("small.fnt", SmallFont());
    for (int n = 0; n < 55; ++n)
        ASSERT_EQ(FGFontManager::register_font(path.c_str(), "f"), 9 + n);
    EXPECT_EQ(FGFontManager::font_count(), 64);
    EXPECT_EQ(FGFontManager::register_font(path.c_str(), "f"), -1);
    Bytes bits(16, 0xFF);
    EXPECT_EQ(FGFontManager::register_font(bits.data(), 8, 16, 1, 65, nullptr, -1, "x"), -1);
}

TEST_F(FontTest, RefusesWhatCannotBeAFont) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(FGFontManager::register_font((dir.path + "/missing.fnt").c_str(), "m"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("register_font : ", 0), 0u);

    Bytes font = SmallFont();
    EXPECT_EQ(FGFontManager::register_font(dir.Write("short.fnt", Bytes(font.begin(), font.begin() + 3339)).c_str(), "s"), -1);
    EXPECT_EQ(FGFontManager::register_font(dir.Write("empty.fnt", Bytes()).c_str(), "s"), -1);

    for (auto [at, value] : {std::pair<int, int32_t>{256, -4}, {256, 100000}, {260, -1}, {260, 5000}}) {
        Bytes bad = font;
        Put32(bad, at, value);
        EXPECT_EQ(FGFontManager::register_font_image(bad.data(), bad.size(), "bad"), -1)
            << at << " " << value;
    }
    EXPECT_EQ(FGFontManager::font_count(), 9);
}

TEST_F(FontTest, DamagedGlyphDataLoadsBlank) {
    Bytes font = SmallFont();
    int pitch = 0;

    // Glyph bytes end inside 'A': the rest of it and all of 'B' are blank.
    int id = FGFontManager::register_font(dir.Write("cut.fnt", Bytes(font.begin(), font.begin() + 3340 + 7)).c_str(), "cut");
    ASSERT_GE(id, 0);
    const FGPixel* g = FGFontManager::glyph(id, 'A', &pitch);
    EXPECT_TRUE(Ink(g, pitch, 0, 0));
    EXPECT_TRUE(Ink(g, pitch, 1, 1));
    EXPECT_FALSE(Ink(g, pitch, 2, 2));
    g = FGFontManager::glyph(id, 'B', &pitch);
    EXPECT_FALSE(Ink(g, pitch, 0, 0));

    // Glyph position beyond the file, or negative: widths kept, glyphs blank.
    for (int32_t pos : {1 << 30, -100, INT32_MAX}) {
        Bytes bad = font;
        Put32(bad, 268 + 8, pos);
        id = FGFontManager::register_font_image(bad.data(), bad.size(), "far");
        ASSERT_GE(id, 0);
        EXPECT_EQ(FGFontManager::charwidth(id, 'A'), 5);
        g = FGFontManager::glyph(id, 'A', &pitch);
        for (int i = 0; i < pitch * 5; ++i)
            EXPECT_EQ(g[i], 0u);
    }

    // Row counts out of range: negative stores nothing, too many are cut to
    // the cell and the next glyph still starts after them.
    Bytes rows = font;
    SetEntry(rows, 'A', 5, 1000, 0);
    SetEntry(rows, 'Z', 4, -7, 0);
    SetEntry(rows, 0xFF, 255, INT32_MAX, 0);
    id = FGFontManager::register_font_image(rows.data(), rows.size(), "rows");
    ASSERT_GE(id, 0);
    g = FGFontManager::glyph(id, 'A', &pitch);
    EXPECT_TRUE(Ink(g, pitch, 4, 4));
    g = FGFontManager::glyph(id, 'B', &pitch);
    EXPECT_FALSE(Ink(g, pitch, 0, 0));  // its bytes lie inside A's long run
    g = FGFontManager::glyph(id, 0xFF, &pitch);
    EXPECT_EQ(pitch, 256);
    EXPECT_EQ(FGFontManager::charwidth(id, 'Z'), 4);
}

TEST_F(FontTest, FixedFontFromMemory) {
    // Two 8 x 2 cells from code 65: 'A' = rows 0x81, 0x3C; 'B' = 0xFF, 0x00.
    const uint8_t bits[] = {0x81, 0x3C, 0xFF, 0x00};
    int id = FGFontManager::register_font(bits, 8, 2, 2, 65, nullptr, -1, "a-very-long-font-name-beyond-23");
    ASSERT_EQ(id, 9);
    EXPECT_EQ(strlen(FGFontManager::get_font(id)->name), 23u);
    int pitch = 0;
    const FGPixel* g = FGFontManager::glyph(id, 'A', &pitch);
    ASSERT_NE(g, nullptr);
    const char* want = "X......X"
                       "..XXXX..";
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(g[i] != 0, want[i] == 'X') << i;
    EXPECT_NE(FGFontManager::glyph(id, 'B', &pitch), nullptr);
    EXPECT_EQ(FGFontManager::glyph(id, 'C', &pitch), nullptr);
    g = FGFontManager::glyph(id, 'A' - 1, &pitch);
    EXPECT_EQ(g[0], 0u);
    EXPECT_EQ(FGFontManager::register_font(bits, 13, 2, 2, 65, nullptr, -1, "odd"), -1);

    // Masks with a character table are taken as they are, when they fit.
    FGFontCharTable table{};
    table.width['x'] = 3;
    std::vector<FGPixel> masks(4 * 2, 0);
    masks[1] = 0xFFFFFFFFu;
    id = FGFontManager::register_font(masks.data(), 4, 2, 256, 0, &table, -1, "prop", masks.size());
    ASSERT_EQ(id, 10);
    EXPECT_EQ(FGFontManager::glyph(id, 'x', &pitch)[1], 0xFFFFFFFFu);
    EXPECT_EQ(FGFontManager::glyph(id, 'y', &pitch), nullptr);  // width 0: no glyph
    table.offset['x'] = 5;
    EXPECT_EQ(FGFontManager::register_font(masks.data(), 4, 2, 256, 0, &table, -1, "p", masks.size()), -1);
}

TEST_F(FontTest, GeneratedDisplayFonts) {
    const char* names[] = {"euromode_14b", "euromode_16b", "euromode_19b", "euromode_20b",
                           "euromode_23b", "euromode_25b", "euromode_29b", "euromode_32b",
                           "euromode_58b", "ms_ref_sans_15b", "ms_ref_sans_16b",
                           "ms_ref_sans_17b", "ms_ref_sans_19b", "ms_ref_sans_22b",
                           "ms_ref_sans_25b", "ms_ref_sans_28b", "ms_ref_sans_32b",
                           "lucida_console_13b", "lucida_console_16b"};
    int expectId = 9;
    for (const char* name : names) {
        std::string path = std::string(RUN_DIR) + "/Data/" + name + ".fnt";
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path;
        Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GE(b.size(), 3340u);
        int height = atoi(strrchr(name, '_') + 1);
        // Byte layout: last row, glyph bytes from code 0's position on, one
        // byte per pixel, exactly filling the file.
        EXPECT_EQ(Get32(b, 260), height - 1) << name;
        EXPECT_EQ(Get32(b, 268 + 8), 3072) << name;
        size_t bytes = 0;
        int widest = 0;
        for (int c = 0; c < 256; ++c) {
            int w = b[268 + 12 * c];
            widest = std::max(widest, w);
            if (w)
                bytes += static_cast<size_t>(w) * Get32(b, 268 + 12 * c + 4);
        }
        EXPECT_EQ(bytes, b.size() - 3340) << name;
        EXPECT_EQ(Get32(b, 256), widest) << name;
        EXPECT_GT(b['A' * 12 + 268], 0) << name;
        EXPECT_EQ(b[268 + 12 * 1], 0) << name;  // control codes have no glyph

        int id = FGFontManager::register_font(path.c_str(), name);
        ASSERT_EQ(id, expectId++) << name;
        EXPECT_EQ(FGFontManager::get_font_height(id), height);
        int pitch = 0;
        const FGPixel* g = FGFontManager::glyph(id, 'H', &pitch);
        int ink = 0;
        for (int i = 0; i < pitch * height; ++i)
            ink += g[i] != 0;
        EXPECT_GT(ink, height) << name;
    }
    // The Cyrillic family has Cyrillic letters at 0xC0..0xFF (Windows-1251).
    int pitch = 0;
    const FGPixel* zhe = FGFontManager::glyph(9 + 9, 0xC6, &pitch);
    ASSERT_NE(zhe, nullptr);
    EXPECT_GT(FGFontManager::charwidth(9 + 9, 0xC6), FGFontManager::charwidth(9 + 9, 'I'));
}

// ---------------------------------------------------------------- masks made on first use

using Words = std::vector<FGPixel>;
using InkAt = std::function<bool(int code, int x, int y)>;

// Masks laid out as the table draws them: each code's cell, its width rounded
// up to 4 words a row, `height` rows, one code after the other.
Words Cells(const std::vector<int>& widths, int height, const InkAt& ink) {
    Words w;
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        int pitch = (widths[c] + 3) & ~3;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < pitch; ++x)
                w.push_back(ink(c, x, y) ? 0xFFFFFFFFu : 0u);
    }
    return w;
}

// SmallFont's widths after `changes` (code, width); 0 takes the default 3.
std::vector<int> SmallWidths(std::vector<std::pair<int, int>> changes = {}) {
    std::vector<int> w(256, 3);
    w['A'] = 5;
    w['B'] = 2;
    for (auto [code, width] : changes)
        w[code] = width;
    return w;
}

// A generated display font read straight from its bytes: glyphs follow each
// other from the end of the header, `rows` rows of `width` bytes.
Words FileCells(const Bytes& b) {
    int height = Get32(b, 260) + 1;
    std::vector<int> widths(256);
    std::vector<size_t> at(256);
    size_t pos = 3340;
    for (int c = 0; c < 256; ++c) {
        int w = b[268 + 12 * c];
        widths[c] = w ? w : b[264];
        at[c] = pos;
        if (w)
            pos += static_cast<size_t>(w) * Get32(b, 268 + 12 * c + 4);
    }
    return Cells(widths, height, [&](int c, int x, int y) {
        int w = b[268 + 12 * c];
        return x < w && y < Get32(b, 268 + 12 * c + 4) && b[at[c] + static_cast<size_t>(y) * w + x] != 0;
    });
}

// Everything the table answers without drawing.
std::vector<int> Metrics(int id) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    const FGFontProperty* f = FGFontManager::get_font(id);
    std::vector<int> m = {FGFontManager::get_font_width(id), FGFontManager::get_font_height(id),
                          FGFontManager::is_font(id), FGFontManager::font_count(),
                          FGFontManager::textwidth(id, all.c_str()),
                          FGFontManager::textwidth(id, all.c_str(), 300), f->codes,
                          f->charset != nullptr};
    for (int c = 0; c < 256; ++c) {
        m.push_back(FGFontManager::charwidth(id, c));
        if (f->charset)
            m.push_back(f->charset->offset[c]);
    }
    for (char ch : std::string(f->name))
        m.push_back(ch);
    return m;
}

TEST_F(FontTest, MasksAreMadeWhenTheFirstGlyphIsAskedFor) {
    Bytes font = SmallFont();
    Bytes rows = font;  // A runs far past the cell, Z stores nothing, 0xFF beyond the data
    SetEntry(rows, 'A', 5, 1000, 0);
    SetEntry(rows, 'Z', 4, -7, 0);
    SetEntry(rows, 0xFF, 255, INT32_MAX, 0);
    const std::string display = std::string(RUN_DIR) + "/Data/euromode_20b.fnt";
    InkAt small = [](int c, int x, int y) { return (c == 'A' && x == y) || (c == 'B' && y < 3 && x < 2); };
    InkAt cutSmall = [](int c, int x, int y) { return c == 'A' && x == y && y * 5 + x < 7; };
    InkAt diagonal = [](int c, int x, int y) { return c == 'A' && x == y && x < 5; };
    const uint8_t fixedBits[] = {0x81, 0x3C, 0xFF, 0x00};
    // Cells of the fixed font: 'A' = X......X / ..XXXX.., 'B' = a full row.
    InkAt fixedInk = [&](int c, int x, int y) {
        return c >= 65 && (fixedBits[(c - 65) * 2 + y] >> (7 - x) & 1);
    };

    struct {
        const char* what;
        std::function<int()> add;  // registers the font, returns its id
        unsigned char code;        // a code that has a glyph
        std::function<Words()> want;  // the masks, word for word (null: built-in, checked by size)
        size_t words;
    } cases[] = {
        {"file", [&] { return FGFontManager::register_font(dir.Write("s.fnt", font).c_str(), "s"); },
         'A', [&] { return Cells(SmallWidths(), 5, small); }, 0},
        {"file cut inside A",
         [&] { return FGFontManager::register_font(dir.Write("c.fnt", Bytes(font.begin(), font.begin() + 3347)).c_str(), "c"); },
         'A', [&] { return Cells(SmallWidths(), 5, cutSmall); }, 0},
        {"image, caller's bytes gone before drawing",
         [&] {
             Bytes copy = rows;
             return FGFontManager::register_font_image(copy.data(), copy.size(), "rows");
         },
         'B', [&] { return Cells(SmallWidths({{'Z', 4}, {0xFF, 255}}), 5, diagonal); }, 0},
        {"generated display font", [&] { return FGFontManager::register_font(display.c_str(), "d"); },
         'H', [&] { return FileCells(FileBytes(display)); }, 0},
        {"fixed from memory, codes from 65",
         [&] {
             uint8_t bits[4];
             memcpy(bits, fixedBits, 4);
             return FGFontManager::register_font(bits, 8, 2, 2, 65, nullptr, -1, "fx");
         },
         'B', [&] { return Cells(std::vector<int>(67, 8), 2, fixedInk); }, 0},
        {"built-in fixed 4 x 6, codes 32 to 126", [] { return 0; }, 'A', nullptr, 127 * 4 * 6},
        {"built-in fixed 8 x 8", [] { return 1; }, 0xC9, nullptr, 256 * 8 * 8},
        {"built-in proportional", [] { return 7; }, 'g', nullptr, 0},
    };
    for (auto& row : cases) {
        SCOPED_TRACE(row.what);
        FGFontManager::release_fonts();
        FGFontManager::register_builtins();
        int id = row.add();
        ASSERT_GE(id, 0);
        const FGFontProperty* f = FGFontManager::get_font(id);
        ASSERT_NE(f, nullptr);
        std::vector<int> before = Metrics(id);
        EXPECT_TRUE(f->mask.empty());
        EXPECT_EQ(f->masks_state.load(), FG_MASKS_SOURCE);
        EXPECT_NE(f->bits, nullptr);
        // Asking for a code without a glyph makes nothing either.
        int pitch = -1;
        if (!f->charset && f->codes < 256) {
            EXPECT_EQ(FGFontManager::glyph(id, 255, &pitch), nullptr);
        }
        EXPECT_TRUE(f->mask.empty());

        const FGPixel* g = FGFontManager::glyph(id, row.code, &pitch);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(f->masks_state.load(), FG_MASKS_READY);
        EXPECT_TRUE(f->source.empty());  // the source goes once the masks are made
        if (row.want)
            EXPECT_EQ(f->mask, row.want());
        else if (row.words)
            EXPECT_EQ(f->mask.size(), row.words);
        else  // proportional: every code's rounded cell, end to end
            EXPECT_EQ(f->mask.size(), f->charset->offset[255] +
                                          static_cast<size_t>((f->charset->width[255] + 3) & ~3) * f->height);
        size_t at = f->charset ? f->charset->offset[row.code]
                               : static_cast<size_t>(row.code) * f->width * f->height;
        EXPECT_EQ(g, f->mask.data() + at);
        EXPECT_EQ(pitch, f->charset ? (f->charset->width[row.code] + 3) & ~3 : f->width);
        EXPECT_EQ(Metrics(id), before);
        // Later glyphs come from the same masks.
        EXPECT_EQ(FGFontManager::glyph(id, row.code, &pitch), g);
    }
}

TEST_F(FontTest, ReplacedAndReleasedSlotsStartWithoutMasks) {
    std::string path = dir.Write("s.fnt", SmallFont());
    int id = FGFontManager::register_font(path.c_str(), "s"), pitch = 0;
    ASSERT_NE(FGFontManager::glyph(id, 'A', &pitch), nullptr);
    Bytes wider = SmallFont();
    SetEntry(wider, 'A', 7, 0, 3072);
    ASSERT_EQ(FGFontManager::register_font_image(wider.data(), wider.size(), "again", id), id);
    EXPECT_EQ(FGFontManager::font_count(), 10);
    const FGFontProperty* f = FGFontManager::get_font(id);
    EXPECT_TRUE(f->mask.empty());
    EXPECT_NE(FGFontManager::glyph(id, 'A', &pitch), nullptr);
    EXPECT_EQ(pitch, 8);
    EXPECT_EQ(f->mask.size(), Cells(SmallWidths({{'A', 7}}), 5, [](int, int, int) { return false; }).size());

    FGFontManager::release_fonts();
    EXPECT_EQ(FGFontManager::glyph(0, 'A', &pitch), nullptr);
    FGFontManager::register_builtins();
    EXPECT_TRUE(FGFontManager::get_font(0)->mask.empty());
    EXPECT_EQ(FGFontManager::register_font(path.c_str(), "s"), 9);  // the freed slot is taken again
}

TEST_F(FontTest, FirstGlyphFromTwoThreadsAtOnce) {
    const std::string path = std::string(RUN_DIR) + "/Data/euromode_58b.fnt";  // large: slow to make
    const Words want = FileCells(FileBytes(path));
    for (int round = 0; round < 20; ++round) {
        FGFontManager::release_fonts();
        FGFontManager::register_builtins();
        int id = FGFontManager::register_font(path.c_str(), "big");
        ASSERT_EQ(id, 9);
        int h = FGFontManager::get_font_height(id);
        std::atomic<int> waiting{2};
        const FGPixel* got[2] = {};
        int pitch[2] = {};
        Words words[2];
        auto ask = [&](int i, unsigned char code) {
            waiting.fetch_sub(1);
            while (waiting.load() > 0) {
            }
            got[i] = FGFontManager::glyph(id, code, &pitch[i]);
            if (got[i])
                words[i].assign(got[i], got[i] + static_cast<size_t>(pitch[i]) * h);
        };
        std::thread a(ask, 0, 'H'), b(ask, 1, 'H');
        a.join();
        b.join();
        ASSERT_NE(got[0], nullptr);
        EXPECT_EQ(got[0], got[1]);
        EXPECT_EQ(words[0], words[1]);
        const FGFontProperty* f = FGFontManager::get_font(id);
        EXPECT_EQ(f->mask, want);
        EXPECT_EQ(got[0], f->mask.data() + f->charset->offset['H']);
    }
}

// A font whose masks cannot be allocated draws paper cells, says so once,
// keeps its widths and is drawn once memory is there again.
TEST_F(FontTest, MasksThatCannotBeAllocatedLeavePaperCells) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "an address-space limit cannot be set under a sanitizer";
#else
    // Every code 255 wide in 256 rows: 64 MiB of masks from a 3340-byte file.
    Bytes huge(3340, 0);
    Put32(huge, 256, 255);
    Put32(huge, 260, 255);
    for (int c = 0; c < 256; ++c)
        SetEntry(huge, c, 255, 0, 3072);
    std::string path = dir.Write("huge.fnt", huge);
    EXPECT_EXIT(
        {
            int id = FGFontManager::register_font(path.c_str(), "huge");
            if (id != 9)
                _exit(2);
            long pages = 0;
            FILE* statm = fopen("/proc/self/statm", "r");
            if (!statm || fscanf(statm, "%ld", &pages) != 1)
                _exit(3);
            fclose(statm);
            FILE* log = tmpfile();  // what the table says while memory is short
            if (!log || dup2(fileno(log), 2) < 0)
                _exit(4);
            rlimit old{};
            getrlimit(RLIMIT_AS, &old);
            rlimit tight = old;
            tight.rlim_cur = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (16 << 20);
            if (setrlimit(RLIMIT_AS, &tight) != 0)
                _exit(4);
            int pitch = 0;
            int width = FGFontManager::textwidth(id, "AB");
            for (int i = 0; i < 3; ++i)
                if (FGFontManager::glyph(id, 'A', &pitch) != nullptr || pitch != 256)
                    _exit(5);
            if (FGFontManager::textwidth(id, "AB") != width || width != 510 ||
                FGFontManager::get_font(id)->masks_state.load() != FG_MASKS_FAILED)
                _exit(6);
            setrlimit(RLIMIT_AS, &old);
            char said[200] = {};
            rewind(log);
            size_t n = fread(said, 1, sizeof said - 1, log);
            if (std::string(said, n) != "font malloc : Cannot allocate memory\n")
                _exit(7);
            const FGPixel* g = FGFontManager::glyph(id, 'A', &pitch);
            if (g == nullptr || g[0] != 0 || FGFontManager::get_font(id)->mask.size() != 256u * 256 * 256)
                _exit(8);
            _exit(0);
        },
        testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
