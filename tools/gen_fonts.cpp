// Bitmap font generator: renders DejaVu with FreeType (hinted, monochrome).
//   gen_fonts <Data dir>             writes the ".fnt" files the display loads
//   gen_fonts --builtin <out.cpp>    writes the glyph data of the toolkit's
//                                    nine built-in fonts as C++ source
// Output depends only on the font files and this program.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "write_file.h"

namespace {

const char* const FontDir = "/usr/share/fonts/truetype/dejavu/";

// ".fnt" layout (little-endian): 3340 header bytes, then glyph bytes.
constexpr int FntHeader = 3340;
constexpr int FntCellWidth = 256;
constexpr int FntLastRow = 260;
constexpr int FntDefaultWidth = 264;
constexpr int FntEntries = 268;
constexpr int FntEntrySize = 12;
static_assert(FntEntries + 256 * FntEntrySize == FntHeader, "fnt header size");

void Put32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

// Unicode of each byte of an 8-bit code page; 0 = no character (controls,
// unassigned codes).
std::vector<uint32_t> CodePage(const char* name) {
    std::vector<uint32_t> map(256, 0);
    iconv_t cd = iconv_open("UTF-32LE", name);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        fprintf(stderr, "gen_fonts: no converter for %s\n", name);
        exit(1);
    }
    for (int c = 0x20; c < 256; ++c) {
        if (c == 0x7F)
            continue;
        char in = static_cast<char>(c);
        unsigned char out[8] = {};
        char* ip = &in;
        char* op = reinterpret_cast<char*>(out);
        size_t il = 1, ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1) && ol == 4) {
            uint32_t u = out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24;
            if (u >= 0x20 && !(u >= 0x7F && u < 0xA0))
                map[c] = u;
        }
    }
    iconv_close(cd);
    // The wizards draw their progress bars as runs of 0xA0: a solid block, not a blank.
    map[0xA0] = 0x2588;
    return map;
}

struct Library {
    FT_Library lib = nullptr;
    Library() {
        if (FT_Init_FreeType(&lib)) {
            fprintf(stderr, "gen_fonts: FreeType does not start\n");
            exit(1);
        }
    }
    ~Library() { FT_Done_FreeType(lib); }
};

struct Face {
    FT_Face face = nullptr;
    Face(FT_Library lib, const char* file) {
        std::string path = std::string(FontDir) + file;
        if (FT_New_Face(lib, path.c_str(), 0, &face)) {
            fprintf(stderr, "gen_fonts: cannot open %s\n", path.c_str());
            exit(1);
        }
    }
    ~Face() { FT_Done_Face(face); }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
};

// One rendered glyph: ink pixels relative to the pen (left) and baseline (top).
struct Glyph {
    bool present = false;
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> ink;  // width * rows, 1 = ink
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < rows && ink[y * width + x];
    }
};

Glyph Render(FT_Face face, uint32_t code) {
    Glyph g;
    if (code == 0)
        return g;
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO))
        return g;
    FT_GlyphSlot s = face->glyph;
    const FT_Bitmap& bm = s->bitmap;
    g.present = true;
    g.left = s->bitmap_left;
    g.top = s->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.advance = static_cast<int>((s->advance.x + 32) >> 6);
    g.ink.assign(static_cast<size_t>(g.width) * g.rows, 0);
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x) {
            const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
            g.ink[y * g.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
    return g;
}

void SetPixels(FT_Face face, int ppem) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem))) {
        fprintf(stderr, "gen_fonts: size %d refused\n", ppem);
        exit(1);
    }
}

// ---- proportional fonts in the ".fnt" layout ----

// Largest size whose ascender and descender fit the cell height.
int ProportionalSize(FT_Face face, int height, int* ascent) {
    for (int ppem = height; ppem > 3; --ppem) {
        SetPixels(face, ppem);
        int asc = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
        int desc = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
        if (asc + desc <= height) {
            *ascent = asc + (height - asc - desc + 1) / 2;
            return ppem;
        }
    }
    SetPixels(face, 4);
    *ascent = height - 1;
    return 4;
}

std::vector<uint8_t> MakeFnt(FT_Face face, const std::vector<uint32_t>& cp, int height,
                             const char* faceName) {
    int ascent = 0;
    ProportionalSize(face, height, &ascent);

    struct Cell {
        int width = 0;
        int shift = 0;  // pen offset so that ink left of the pen stays inside
        Glyph g;
    } cells[256];
    int cellWidth = 0;
    for (int c = 0; c < 256; ++c) {
        Glyph g = Render(face, cp[c]);
        if (!g.present)
            continue;
        int lo = std::min(0, g.left);
        int hi = std::max(g.advance, g.left + g.width);
        int w = std::min(255, hi - lo);
        if (w <= 0)
            continue;
        cells[c].width = w;
        cells[c].shift = -lo;
        cells[c].g = std::move(g);
        cellWidth = std::max(cellWidth, w);
    }
    int defaultWidth = cells[0x20].width > 0 ? cells[0x20].width : std::max(1, height / 4);

    std::vector<uint8_t> out(FntHeader, 0);
    snprintf(reinterpret_cast<char*>(out.data()), 256, "%s", faceName);
    Put32(out, FntCellWidth, cellWidth);
    Put32(out, FntLastRow, height - 1);
    out[FntDefaultWidth] = static_cast<uint8_t>(defaultWidth);
    for (int c = 0; c < 256; ++c) {
        const Cell& cell = cells[c];
        size_t entry = FntEntries + static_cast<size_t>(c) * FntEntrySize;
        out[entry] = static_cast<uint8_t>(cell.width);
        Put32(out, entry + 4, cell.width ? height : 0);
        Put32(out, entry + 8, static_cast<int32_t>(out.size() - FntEntries));
        for (int y = 0; y < (cell.width ? height : 0); ++y)
            for (int x = 0; x < cell.width; ++x) {
                bool ink = cell.g.at(x - cell.shift - cell.g.left, y - (ascent - cell.g.top));
                out.push_back(ink ? 0xFF : 0);
            }
    }
    return out;
}

// ---- fixed fonts: one bit per pixel, MSB first, rows padded to bytes ----

std::vector<uint8_t> MakeFixed(FT_Face face, const std::vector<uint32_t>& cp, int w, int h,
                               int first, int count) {
    // Largest size at which letters and digits fit the cell (brackets and
    // accents may lose a row).
    int ppem = 4, top = 0, bottom = 0;
    for (int size = h + 4; size >= 4; --size) {
        SetPixels(face, size);
        int t = 0, b = 0, wide = 0;
        for (int c = '0'; c <= 'z'; ++c) {
            if (!isalnum(c))
                continue;
            Glyph g = Render(face, c);
            if (!g.present)
                continue;
            t = std::max(t, g.top);
            b = std::max(b, g.rows - g.top);
            wide = std::max({wide, g.advance, g.left + g.width});
        }
        ppem = size;
        top = t;
        bottom = b;
        if (t + b <= h && wide <= w)
            break;
    }
    SetPixels(face, ppem);
    int baseline = top + std::max(0, h - top - bottom) / 2;
    if (baseline > h - 1)
        baseline = h - 1;

    int rowBytes = (w + 7) / 8;
    std::vector<uint8_t> out(static_cast<size_t>(count) * h * rowBytes, 0);
    for (int i = 0; i < count; ++i) {
        int code = first + i;
        Glyph g = Render(face, code < 256 ? cp[code] : 0);
        if (!g.present)
            continue;
        int xoff = (w - g.advance) / 2;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (g.at(x - xoff - g.left, y - (baseline - g.top)))
                    out[(static_cast<size_t>(i) * h + y) * rowBytes + x / 8] |=
                        static_cast<uint8_t>(0x80 >> (x & 7));
    }
    return out;
}

// Six rows are too few for any outline font to stay legible, so the 4 x 6
// cell gets a drawn 3 x 5 design: five rows per character, bit 4 = left.
const char* const Tiny35[95] = {
    "00000", "22202", "55000", "57575", "36236", "51245", "25253", "22000",  //  !"#$%&'
    "12221", "42224", "05250", "02720", "00024", "00700", "00002", "11244",  // ()*+,-./
    "75557", "26227", "71747", "71317", "55711", "74717", "74757", "71122",  // 01234567
    "75757", "75717", "02020", "02024", "12421", "07070", "42124", "71302",  // 89:;<=>?
    "25743", "25755", "65656", "34443", "65556", "74647", "74644", "34553",  // @ABCDEFG
    "55755", "72227", "11152", "55655", "44447", "57755", "65555", "25552",  // HIJKLMNO
    "65644", "25563", "65655", "34216", "72222", "55557", "55552", "55775",  // PQRSTUVW
    "55255", "55222", "71247", "64446", "44211", "31113", "25000", "00007",  // XYZ[\]^_
    "42000", "03553", "46556", "03443", "13553", "03743", "12722", "03536",  // `abcdefg
    "46555", "20222", "10152", "45665", "62227", "06755", "06555", "02552",  // hijklmno
    "06564", "03531", "05644", "03636", "27221", "05553", "05552", "05575",  // pqrstuvw
    "05225", "05536", "07127", "32623", "22222", "62326", "03600",           // xyz{|}~
};

std::vector<uint8_t> MakeTiny(int h) {
    std::vector<uint8_t> out(95 * static_cast<size_t>(h), 0);
    for (int i = 0; i < 95; ++i)
        for (int y = 0; y < 5 && y < h; ++y)
            out[static_cast<size_t>(i) * h + y] = static_cast<uint8_t>((Tiny35[i][y] - '0') << 5);
    return out;
}

struct FileFont {
    const char* file;
    const char* ttf;
    const char* face;
    const char* codepage;
    int height;
};

// The display's fonts: nominal size = cell height; "b" = bold.
const FileFont DisplayFontFiles[] = {
    {"euromode_14b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 14},
    {"euromode_16b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 16},
    {"euromode_19b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 19},
    {"euromode_20b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 20},
    {"euromode_23b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 23},
    {"euromode_25b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 25},
    {"euromode_29b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 29},
    {"euromode_32b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 32},
    {"euromode_58b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1252", 58},
    {"ms_ref_sans_15b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 15},
    {"ms_ref_sans_16b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 16},
    {"ms_ref_sans_17b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 17},
    {"ms_ref_sans_19b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 19},
    {"ms_ref_sans_22b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 22},
    {"ms_ref_sans_25b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 25},
    {"ms_ref_sans_28b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 28},
    {"ms_ref_sans_32b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1251", 32},
    {"lucida_console_13b.fnt", "DejaVuSansMono-Bold.ttf", "DejaVu Sans Mono Bold", "CP1252", 13},
    {"lucida_console_16b.fnt", "DejaVuSansMono-Bold.ttf", "DejaVu Sans Mono Bold", "CP1252", 16},
    // Czech: the euromode sizes that draw text, in Windows-1250.
    {"euromode_ce_14b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 14},
    {"euromode_ce_16b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 16},
    {"euromode_ce_19b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 19},
    {"euromode_ce_20b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 20},
    {"euromode_ce_23b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 23},
    {"euromode_ce_25b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 25},
    {"euromode_ce_29b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 29},
    {"euromode_ce_32b.fnt", "DejaVuSans-Bold.ttf", "DejaVu Sans Bold", "CP1250", 32},
};

int WriteDisplayFonts(const std::string& dir) {
    Library lib;
    for (const FileFont& f : DisplayFontFiles) {
        Face face(lib.lib, f.ttf);
        const std::vector<uint8_t> font = MakeFnt(face.face, CodePage(f.codepage), f.height, f.face);
        if (!gen::WriteFile(dir + "/" + f.file, font.data(), font.size()))
            return 1;
    }
    return 0;
}

struct BuiltinFont {
    const char* name;
    const char* ttf;
    int width, height, count, first;  // width 0: proportional (".fnt" image)
};

// In id order; the built-ins use Windows-1252.
const BuiltinFont Builtins[] = {
    {"fixed-04x06", nullptr, 4, 6, 95, 32},  // drawn by hand: see Tiny35
    {"fixed-08x08", "DejaVuSansMono-Bold.ttf", 8, 8, 256, 0},
    {"fixed-08x16", "DejaVuSansMono.ttf", 8, 16, 256, 0},
    {"fixed-12x20", "DejaVuSansMono.ttf", 12, 20, 95, 32},
    {"fixed-16x25", "DejaVuSansMono.ttf", 16, 25, 95, 32},
    {"fixed-20x34", "DejaVuSansMono.ttf", 20, 34, 95, 32},
    {"ms-sans 16 bold", "DejaVuSans-Bold.ttf", 0, 16, 256, 0},
    {"ms-sans 16", "DejaVuSans.ttf", 0, 16, 256, 0},
    {"ms-sans 13", "DejaVuSans.ttf", 0, 13, 256, 0},
};

int WriteBuiltinSource(const std::string& path) {
    Library lib;
    std::vector<uint32_t> cp = CodePage("CP1252");
    std::string src =
        "// Generated by gen_fonts from DejaVu: glyph data of the built-in fonts.\n"
        "#include \"fgbuiltinfonts.h\"\n\nnamespace {\n";
    char line[160];
    int n = 0;
    for (const BuiltinFont& b : Builtins) {
        std::vector<uint8_t> data;
        if (!b.ttf) {
            data = MakeTiny(b.height);
        } else {
            Face face(lib.lib, b.ttf);
            data = b.width ? MakeFixed(face.face, cp, b.width, b.height, b.first, b.count)
                           : MakeFnt(face.face, cp, b.height, "MS Sans Serif");
        }
        snprintf(line, sizeof line, "\nconst uint8_t font%d[%zu] = {", n++, data.size());
        src += line;
        for (size_t i = 0; i < data.size(); ++i) {
            snprintf(line, sizeof line, "%s0x%02x,", i % 16 ? "" : "\n    ", data[i]);
            src += line;
        }
        src += "\n};\n";
    }
    src += "\n}  // namespace\n\nconst FGBuiltinFont FGBuiltinFonts[FGBuiltinFontCount] = {\n";
    n = 0;
    for (const BuiltinFont& b : Builtins) {
        snprintf(line, sizeof line, "    {\"%s\", %d, %d, %d, %d, font%d, sizeof font%d},\n", b.name,
                 b.width, b.height, b.count, b.first, n, n);
        src += line;
        ++n;
    }
    src += "};\n";
    return gen::WriteFile(path, src.data(), src.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--builtin") == 0)
        return WriteBuiltinSource(argv[2]);
    if (argc == 2)
        return WriteDisplayFonts(argv[1]);
    fprintf(stderr, "usage: gen_fonts <Data dir> | gen_fonts --builtin <out.cpp>\n");
    return 2;
}
