#include "fgfontmanager.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "fgbuiltinfonts.h"
#include "readfile.h"
#include "unique_fd.h"

namespace {

// Limits of a loadable ".fnt": character widths are bytes, so cells are at
// most 256 pixels wide; taller cells than that are refused as well.
constexpr int MaxCellWidth = 256;
constexpr int MaxCellHeight = 256;

struct FontTable {
    FGFontProperty slot[FG_MAX_FONTS];
    int count = 0;
};

// The table without the built-ins (used while registering them).
FontTable& RawTable() {
    static FontTable table;
    return table;
}

// The table, with the built-ins registered on first use.
FontTable& Table() {
    static const bool ready = (FGFontManager::register_builtins(), true);
    (void)ready;
    return RawTable();
}

// Held while a font's masks are made and while a slot changes; never on the
// way to masks already made.
std::mutex MaskLock;

// Built before any drawing buffer of the program's static objects asks.
[[maybe_unused]] const bool BuiltinsAtStart = (Table(), true);

int Round4(int v) { return (v + 3) & ~3; }

uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t LeInt(const uint8_t* p) { return static_cast<int32_t>(Le32(p)); }

int Saturate(long long v) { return v > INT_MAX ? INT_MAX : static_cast<int>(v); }

// Registration that cannot allocate refuses the font.
template <typename Register>
int Allocating(Register reg) {
    try {
        return reg();
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        perror("font malloc ");
        return -1;
    }
}

// What a slot's masks are made from: bytes the slot owns, or static data.
struct Source {
    const uint8_t* bits = nullptr;
    size_t size = 0;
    std::vector<uint8_t> own;
    bool owned = false;
    int first = 0;

    void Copy() {
        own.assign(bits, bits + size);
        bits = own.data();
        owned = true;
    }
};

// Slot for a new font: the given id, or the first free one; -1 when none.
int TakeSlot(FontTable& t, int id) {
    if (id >= FG_MAX_FONTS || id < -1)
        return -1;
    if (id == -1) {
        for (int i = 0; i < FG_MAX_FONTS; ++i)
            if (t.slot[i].codes == 0)
                return i;
        return -1;
    }
    return id;
}

// Masks given ready are kept; otherwise the source waits for the first glyph.
void Fill(FontTable& t, int id, const char* name, int w, int h,
          std::unique_ptr<FGFontCharTable> charset, std::vector<FGPixel> mask, int codes,
          Source src) {
    std::lock_guard<std::mutex> lock(MaskLock);
    FGFontProperty& f = t.slot[id];
    // A given id may name a slot in use: it is replaced, not counted twice.
    if (f.codes == 0)
        ++t.count;
    memset(f.name, 0, sizeof f.name);
    if (name)
        strncpy(f.name, name, FG_FONT_NAME - 1);
    memset(f.unused, 0, sizeof f.unused);
    f.width = w;
    f.height = h;
    f.charset = std::move(charset);
    f.mask = std::move(mask);
    f.codes = codes;
    f.first = src.first;
    f.bits_size = src.size;
    if (src.owned) {
        f.source = std::move(src.own);
        f.bits = f.source.data();
    } else {
        std::vector<uint8_t>().swap(f.source);
        f.bits = src.bits;
    }
    f.masks_state.store(f.mask.empty() ? FG_MASKS_SOURCE : FG_MASKS_READY,
                        std::memory_order_release);
}

FGFontProperty* Used(int id) {
    if (id < 0 || id >= FG_MAX_FONTS)
        return nullptr;
    FGFontProperty& f = Table().slot[id];
    return f.codes == 0 ? nullptr : &f;
}

const FGFontProperty* Slot(int id) { return Used(id); }

// Fixed cells, `count` from code `first`, expanded from one bit per pixel.
std::vector<FGPixel> MakeFixed(const uint8_t* bits, int w, int h, int count, int first) {
    int rowBytes = (w + 7) / 8;
    std::vector<FGPixel> mask(static_cast<size_t>(count + first) * w * h, 0);
    for (int c = 0; c < count; ++c)
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = bits + (static_cast<size_t>(c) * h + y) * rowBytes;
            FGPixel* dst = &mask[(static_cast<size_t>(c + first) * h + y) * w];
            for (int x = 0; x < w; ++x)
                dst[x] = (row[x >> 3] >> (7 - (x & 7)) & 1) ? 0xFFFFFFFFu : 0u;
        }
    return mask;
}

// Fixed cells of one bit per pixel; the bits are copied unless static.
int RegisterFixed(FontTable& t, const uint8_t* bits, int w, int h, int count, int first, int id,
                  const char* name, bool isStatic) {
    if (!bits || w < 4 || w > MaxCellWidth || w % 4 || h < 1 || h > MaxCellHeight || count < 0 ||
        first < 0 || count + first > 256 || count + first == 0)
        return -1;
    int slot = TakeSlot(t, id);
    if (slot < 0)
        return -1;
    Source src;
    src.bits = bits;
    src.size = static_cast<size_t>(count) * h * ((w + 7) / 8);
    src.first = first;
    if (!isStatic)
        src.Copy();
    Fill(t, slot, name, w, h, nullptr, {}, count + first, std::move(src));
    return slot;
}

// Masks of a ".fnt" image whose character table is made already.
std::vector<FGPixel> MakeImage(const uint8_t* data, size_t size, const FGFontCharTable& table,
                               int height) {
    size_t words = static_cast<size_t>(table.offset[255]) +
                   static_cast<size_t>(Round4(table.width[255])) * height;
    std::vector<FGPixel> mask(words ? words : 1, 0);

    // The reader walks the glyph bytes; what lies beyond the data reads blank.
    int32_t start = LeInt(data + FNT_ENTRIES + 8);
    long long pos = start < 0 ? static_cast<long long>(size) : FNT_ENTRIES + static_cast<long long>(start);
    for (int c = 0; c < 256; ++c) {
        const uint8_t* entry = data + FNT_ENTRIES + c * FNT_ENTRY_SIZE;
        int w = entry[0];
        if (w == 0)
            continue;
        int32_t rows = LeInt(entry + 4);
        if (rows < 0)
            rows = 0;
        FGPixel* cell = &mask[table.offset[c]];
        int pitch = Round4(w);
        for (int y = 0; y < rows && y < height; ++y)
            for (int x = 0; x < w; ++x) {
                long long at = pos + static_cast<long long>(y) * w + x;
                if (at < static_cast<long long>(size) && data[at])
                    cell[y * pitch + x] = 0xFFFFFFFFu;
            }
        // Rows beyond the cell height are stored but not shown; the next
        // glyph still starts after them.
        pos += static_cast<long long>(rows) * w;
        if (pos > static_cast<long long>(size))
            pos = static_cast<long long>(size);
    }
    return mask;
}

// A ".fnt" image: header, then the glyph bytes from the position of code 0.
// The image is copied unless `src` owns it already or it is static.
int RegisterImage(FontTable& t, Source src, const char* name, int id, bool isStatic) {
    const uint8_t* data = src.bits;
    size_t size = src.size;
    if (!data || size < static_cast<size_t>(FNT_HEADER_SIZE))
        return -1;
    int32_t fileCellWidth = LeInt(data + FNT_CELL_WIDTH);
    int32_t lastRow = LeInt(data + FNT_LAST_ROW);
    if (fileCellWidth < 0 || fileCellWidth > MaxCellWidth - 1 || lastRow < 0 ||
        lastRow > MaxCellHeight - 1)
        return -1;
    int cellWidth = Round4(fileCellWidth);
    int height = lastRow + 1;
    int defaultWidth = data[FNT_DEFAULT_WIDTH];
    int slot = TakeSlot(t, id);
    if (slot < 0)
        return -1;

    auto table = std::make_unique<FGFontCharTable>();
    // Cells follow each other: every code takes its rounded width times the cell height.
    size_t words = 0;
    for (int c = 0; c < 256; ++c) {
        int w = data[FNT_ENTRIES + c * FNT_ENTRY_SIZE];
        table->width[c] = static_cast<uint8_t>(w ? w : defaultWidth);
        table->offset[c] = static_cast<int>(words);
        words += static_cast<size_t>(Round4(table->width[c])) * height;
    }
    if (!src.owned && !isStatic)
        src.Copy();
    Fill(t, slot, name, cellWidth, height, std::move(table), {}, 256, std::move(src));
    return slot;
}

// Makes a font's masks on first use. Two threads asking at once: the second
// waits for the lock and finds them made.
const FGPixel* MakeMasks(FGFontProperty& f) {
    std::lock_guard<std::mutex> lock(MaskLock);
    int state = f.masks_state.load(std::memory_order_relaxed);
    if (state == FG_MASKS_READY)
        return f.mask.data();
    std::vector<FGPixel> mask;
    try {
        mask = f.charset ? MakeImage(f.bits, f.bits_size, *f.charset, f.height)
                         : MakeFixed(f.bits, f.width, f.height, f.codes - f.first, f.first);
    } catch (const std::bad_alloc&) {
        // No glyphs for now (paper cells); tried again on the next glyph.
        if (state == FG_MASKS_SOURCE) {
            errno = ENOMEM;
            perror("font malloc ");
            f.masks_state.store(FG_MASKS_FAILED, std::memory_order_relaxed);
        }
        return nullptr;
    }
    f.mask = std::move(mask);
    std::vector<uint8_t>().swap(f.source);
    f.bits = nullptr;
    f.bits_size = 0;
    f.masks_state.store(FG_MASKS_READY, std::memory_order_release);
    return f.mask.data();
}

const FGPixel* Masks(FGFontProperty& f) {
    if (f.masks_state.load(std::memory_order_acquire) == FG_MASKS_READY)
        return f.mask.data();
    return MakeMasks(f);
}

}  // namespace

int FGFontManager::register_font(const char* path, const char* name) {
    FontTable& t = Table();
    int opened = ReadFileCannotOpen;
    UniqueFile f(path ? OpenStreamForReading(path, &opened) : nullptr);
    if (!f) {
        if (!path)
            errno = EINVAL;
        if (opened != ReadFileNotRegular)  // that one has said so
            perror("register_font ");
        return -1;
    }
    if (fseek(f.get(), 0, SEEK_END) != 0)
        return -1;
    long end = ftell(f.get());
    if (end < FNT_HEADER_SIZE || fseek(f.get(), 0, SEEK_SET) != 0)
        return -1;
    Source src;
    if (Allocating([&] { src.own.resize(static_cast<size_t>(end)); return 0; }) < 0)
        return -1;
    // A file that shrank meanwhile loads with what was read.
    src.size = fread(src.own.data(), 1, src.own.size(), f.get());
    src.bits = src.own.data();
    src.owned = true;
    return Allocating([&] { return RegisterImage(t, std::move(src), name, -1, false); });
}

int FGFontManager::register_font_image(const uint8_t* data, size_t size, const char* name, int id) {
    Source src;
    src.bits = data;
    src.size = size;
    return Allocating([&] { return RegisterImage(Table(), std::move(src), name, id, false); });
}

int FGFontManager::register_font(const void* data, int cell_w, int cell_h, int count, int first,
                                 const FGFontCharTable* table, int id, const char* name,
                                 size_t mask_words) {
    FontTable& t = Table();
    if (!table)
        return Allocating([&] {
            return RegisterFixed(t, static_cast<const uint8_t*>(data), cell_w, cell_h, count, first,
                                 id, name, false);
        });
    if (!data || cell_w < 0 || cell_w > MaxCellWidth || cell_h < 1 || cell_h > MaxCellHeight ||
        mask_words == 0)
        return -1;
    // Every glyph must lie inside the masks given.
    for (int c = 0; c < 256; ++c) {
        long long end = table->offset[c] + static_cast<long long>(Round4(table->width[c])) * cell_h;
        if (table->offset[c] < 0 || end > static_cast<long long>(mask_words))
            return -1;
    }
    int slot = TakeSlot(t, id);
    if (slot < 0)
        return -1;
    const FGPixel* words = static_cast<const FGPixel*>(data);
    return Allocating([&] {
        Fill(t, slot, name, cell_w, cell_h, std::make_unique<FGFontCharTable>(*table),
             std::vector<FGPixel>(words, words + mask_words), 256, Source());
        return slot;
    });
}

void FGFontManager::register_builtins() {
    FontTable& t = RawTable();
    for (int id = 0; id < FGBuiltinFontCount; ++id) {
        const FGBuiltinFont& b = FGBuiltinFonts[id];
        int got = -1;
        try {
            Source src;
            src.bits = b.data;
            src.size = b.size;
            got = b.width ? RegisterFixed(t, b.data, b.width, b.height, b.count, b.first, id, b.name,
                                          true)
                          : RegisterImage(t, std::move(src), b.name, id, true);
        } catch (const std::bad_alloc&) {
            fprintf(stderr, "Assertion failed: dst, file fgfontmanager, line %d\n", __LINE__);
            abort();
        }
        if (got != id) {
            fprintf(stderr, "Assertion failed: dst, file fgfontmanager, line %d\n", __LINE__);
            abort();
        }
    }
}

void FGFontManager::release_fonts() {
    FontTable& t = Table();
    std::lock_guard<std::mutex> lock(MaskLock);
    for (FGFontProperty& f : t.slot) {
        f.charset.reset();
        std::vector<FGPixel>().swap(f.mask);
        f.codes = 0;
        f.bits = nullptr;
        f.bits_size = 0;
        std::vector<uint8_t>().swap(f.source);
        f.first = 0;
        f.masks_state.store(FG_MASKS_SOURCE, std::memory_order_relaxed);
    }
    t.count = 0;
}

int FGFontManager::textwidth(int id, const char* str) {
    const FGFontProperty* f = Slot(id);
    if (!f || !str)
        return 0;
    if (!f->charset)
        return Saturate(static_cast<long long>(strlen(str)) * f->width);
    long long w = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(str); *p; ++p)
        w += f->charset->width[*p];
    return Saturate(w);
}

int FGFontManager::textwidth(int id, const char* str, int n) {
    const FGFontProperty* f = Slot(id);
    if (!f || n <= 0)
        return 0;
    if (!f->charset)
        return Saturate(static_cast<long long>(n) * f->width);
    if (!str)
        return 0;
    long long w = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(str);
    for (int i = 0; i < n && p[i]; ++i)
        w += f->charset->width[p[i]];
    return Saturate(w);
}

int FGFontManager::charwidth(int id, int code) {
    const FGFontProperty* f = Slot(id);
    if (!f)
        return 0;
    return f->charset ? f->charset->width[code & 0xFF] : f->width;
}

int FGFontManager::get_font_width(int id) {
    const FGFontProperty* f = Slot(id);
    return f ? f->width : 0;
}

int FGFontManager::get_font_height(int id) {
    const FGFontProperty* f = Slot(id);
    return f ? f->height : 0;
}

bool FGFontManager::is_font(int id) { return Slot(id) != nullptr; }

int FGFontManager::font_count() { return Table().count; }

const FGPixel* FGFontManager::glyph(int id, unsigned char code, int* pitch) {
    FGFontProperty* f = Used(id);
    if (!f) {
        if (pitch)
            *pitch = 0;
        return nullptr;
    }
    int p;
    size_t at;
    bool drawn;
    if (!f->charset) {
        p = f->width;
        at = static_cast<size_t>(code) * f->width * f->height;
        drawn = code < f->codes;
    } else {
        p = Round4(f->charset->width[code]);
        at = static_cast<size_t>(f->charset->offset[code]);
        drawn = p != 0;
    }
    if (pitch)
        *pitch = p;
    if (!drawn)
        return nullptr;
    const FGPixel* masks = Masks(*f);
    return masks ? masks + at : nullptr;
}

const FGFontProperty* FGFontManager::get_font(int id) { return Slot(id); }
