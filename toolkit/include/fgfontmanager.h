// Process-wide table of bitmap fonts: nine built in (ids 0 to 8), further
// fonts loaded from ".fnt" files. Glyphs are drawn from one 32-bit mask per
// pixel (all ones = ink, zero = paper). A font's masks are made the first
// time a glyph of it is asked for: many registered fonts are never drawn, and
// until then only their compact source is kept.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fgbase.h"

constexpr int FG_MAX_FONTS = 64;
constexpr int FG_FONT_NAME = 24;  // 23 characters and the terminating zero

// Character table of a proportional font.
struct FGFontCharTable {
    int offset[256];        // start of each glyph, in mask words
    uint8_t width[256];     // width of each character in pixels
};

// State of a slot's masks.
enum : int {
    FG_MASKS_SOURCE = 0,  // not made yet: only the source is held
    FG_MASKS_READY = 1,   // made; the source is gone
    FG_MASKS_FAILED = 2,  // making them could not allocate (told once; tried again later)
};

// One slot of the font table; a slot without codes is free.
struct FGFontProperty {
    char name[FG_FONT_NAME] = {};
    uint8_t unused[4] = {};
    int width = 0;    // cell width (pixels)
    int height = 0;   // cell height (rows)
    std::unique_ptr<FGFontCharTable> charset;  // null for a fixed-width font
    std::vector<FGPixel> mask;  // glyph masks; empty until the first glyph is asked for
    int codes = 0;    // fixed fonts: cells (first code + count); 256 otherwise; 0 = free slot

    // Until the masks are made: a ".fnt" image, or (fixed fonts) cells of one
    // bit per pixel from code `first`. `source` owns the bytes, unless they
    // are the built-ins' static data.
    const uint8_t* bits = nullptr;
    size_t bits_size = 0;
    std::vector<uint8_t> source;
    int first = 0;
    std::atomic<int> masks_state{FG_MASKS_SOURCE};
};

// ".fnt" file layout (little-endian).
constexpr int FNT_HEADER_SIZE = 3340;
constexpr int FNT_NAME_SIZE = 256;
constexpr int FNT_CELL_WIDTH = 256;   // int32: largest character width
constexpr int FNT_LAST_ROW = 260;     // int32: cell height - 1
constexpr int FNT_DEFAULT_WIDTH = 264;
constexpr int FNT_ENTRIES = 268;      // 256 entries of FNT_ENTRY_SIZE bytes
constexpr int FNT_ENTRY_SIZE = 12;    // width (1), unused (3), rows (int32), position (int32)
static_assert(FNT_ENTRIES + 256 * FNT_ENTRY_SIZE == FNT_HEADER_SIZE, "fnt header size");

class FGFontManager {
public:
    // Loads a ".fnt" file into the first free slot; returns its id or -1.
    static int register_font(const char* path, const char* name);

    // Registers a ".fnt" image held in memory; returns the id or -1.
    static int register_font_image(const uint8_t* data, size_t size, const char* name,
                                   int id = -1);

    // Registers a font from memory. Without a character table, `data` holds
    // `count` fixed cells from `first`, one bit per pixel (MSB first, rows
    // padded to bytes). With a table, `data` holds the masks already
    // (FGPixel words, `mask_words` of them). `id` -1 takes the first free slot.
    // Returns the id or -1.
    static int register_font(const void* data, int cell_w, int cell_h, int count, int first,
                             const FGFontCharTable* table, int id, const char* name,
                             size_t mask_words = 0);

    // The nine built-in fonts, into slots 0 to 8 (done by the toolkit's
    // static initialisation; again only after release_fonts).
    static void register_builtins();

    // Frees every font; the count becomes 0.
    static void release_fonts();

    // Width in pixels of a string / of at most n characters / of one character.
    static int textwidth(int id, const char* str);
    static int textwidth(int id, const char* str, int n);
    static int charwidth(int id, int code);

    static int get_font_width(int id);   // cell width, 0 for a free or bad id
    static int get_font_height(int id);  // cell height, 0 for a free or bad id
    static bool is_font(int id);         // slot holds a font
    static int font_count();             // registered fonts

    // Glyph of a code: `height` rows of `*pitch` mask words each (pitch is
    // the character's width rounded up to a multiple of 4, or the cell width
    // of a fixed font). Null when the font has no glyph for the code (or its
    // masks could not be allocated): draw a paper cell of that pitch. The
    // first call for a font makes its masks; the pointer stays valid until
    // the font is released or its slot registered anew. Safe from any thread.
    static const FGPixel* glyph(int id, unsigned char code, int* pitch);

    // The slot itself (null for a bad id or a free slot). Its `mask` stays
    // empty until glyph() was asked for a glyph of it.
    static const FGFontProperty* get_font(int id);
};
