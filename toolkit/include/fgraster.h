// The raster layer: spans of 32-bit pixels copied and filled with raster
// operations and blending, glyph expansion, line clipping, and the screen
// context through which windows reach the display surface.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint32_t FGPixel;
// Four pixel words, for loops that copy, fill or compare four at a time.
typedef FGPixel FGWords4 __attribute__((vector_size(16)));

// Transparent key value meaning "no key".
constexpr FGPixel FG_NO_KEY = 0x12345678;

// Span copy flags (bits 0-7 are the blend factor).
constexpr unsigned FG_BLEND_MASK = 0x00FF;
constexpr unsigned FG_COPY_ROP = 0x0200;
constexpr unsigned FG_COPY_BLEND = 0x0400;   // buffer-to-screen only
constexpr unsigned FG_COPY_CLIP = 0x1000;
constexpr unsigned FG_COPY_BACKWARDS = 0x2000;

// Bytes per pixel of the video mode; this system runs with 4.
extern int fg_bytes_per_pixel;
// Size in bytes of a w x h pixel array; 0 for empty or negative sizes.
size_t areasize(int w, int h);
// A colour given for a narrower pixel, replicated to fill a word.
FGPixel fg_replicate_colour(FGPixel colour);

struct FGScreenContext {
    FGPixel* surface;   // display surface pixels
    int stride;         // pixels per surface row
    int width, height;  // video mode size
    int clip_left, clip_top, clip_right, clip_bottom;   // right, bottom exclusive

    // Primitive table, filled by the driver (the software ones are defaults).
    void (*line)(int x1, int y1, int x2, int y2, FGPixel colour, unsigned mode);
    void (*fill)(int x, int y, int w, int h, FGPixel colour, unsigned mode);
    void (*pixel)(FGPixel* surface, int x, int y, int stride, FGPixel colour, unsigned mode);
    void (*copy)(FGPixel* dst, const FGPixel* src, int count);
    void (*copy_rop)(FGPixel* dst, const FGPixel* src, int count, unsigned mode);
    void (*copy_blend)(FGPixel* dst, const FGPixel* src, int count, unsigned factor,
                       unsigned mode);
    void (*clip_changed)(int left, int top, int right, int bottom);   // or null
    // The driver's way to bring a rectangle of the surface to the display; or null.
    void (*show)(int x, int y, int w, int h);

    FGPixel transparent_key;   // current key of the span routines
};
extern FGScreenContext fg_screen;

// Fills the screen context for a surface and sets the clip to the whole screen.
void fg_screen_attach(FGPixel* surface, int stride, int width, int height);
// Puts the software primitives back into the table.
void fg_install_default_primitives();

// ---- spans ----
void fg_span_copy(int sx, int sy, int sstride, int sheight, int dx, int dy, int dstride,
                  int dheight, int w, int h, const FGPixel* src, FGPixel* dst,
                  unsigned flags, unsigned mode);
void fg_span_fill(FGPixel* first, int w, int h, FGPixel colour, int stride, unsigned mode);
// Stores the colour into count consecutive pixels.
void fg_fill(FGPixel* first, int64_t count, FGPixel colour);
// Fill-and-copy family raster operation on one pixel.
void fg_pixel_op(FGPixel* pixel, FGPixel value, unsigned mode);
// One blended pixel (factor 1..255).
FGPixel fg_blend(FGPixel d, FGPixel s, unsigned factor);

// Glyph cell: (ink AND mask) OR (paper AND NOT mask), width4 x height words.
void fg_glyph_expand(FGPixel* row, const uint32_t* masks, int stride, int width4, int height,
                     FGPixel ink, FGPixel paper);

// Cohen-Sutherland against inclusive bounds; 1 with clipped ends, 0 when outside.
int fg_clip_line(int* x1, int* y1, int* x2, int* y2, int left, int top, int right, int bottom);

// ---- screen ----
void fg_buffer_to_screen(const FGPixel* pixels, int bx, int by, int sx, int sy, int w, int h,
                         int bw, int bh, unsigned flags, unsigned mode);
void fg_screen_to_buffer(FGPixel* pixels, int sx, int sy, int bx, int by, int w, int h,
                         int bw, int bh);
void fg_screen_fill(int x, int y, int w, int h, FGPixel colour, unsigned mode);
void fg_screen_box(int x, int y, int w, int h, FGPixel colour, unsigned mode);
void fg_screen_clear(FGPixel colour);
void fg_set_screen_clip(int w, int h, int x, int y);

// Software primitives (defaults of the table).
void fg_sw_line(int x1, int y1, int x2, int y2, FGPixel colour, unsigned mode);
void fg_sw_fill(int x, int y, int w, int h, FGPixel colour, unsigned mode);
void fg_sw_pixel(FGPixel* surface, int x, int y, int stride, FGPixel colour, unsigned mode);
void fg_sw_hline(int x, int y, int w, FGPixel colour, unsigned mode);
void fg_sw_copy(FGPixel* dst, const FGPixel* src, int count);
void fg_sw_copy_rop(FGPixel* dst, const FGPixel* src, int count, unsigned mode);
void fg_sw_copy_blend(FGPixel* dst, const FGPixel* src, int count, unsigned factor,
                      unsigned mode);

// Bresenham walk from (x1, y1) to (x2, y2): x-major when |dy| < |dx|, else
// y-major; plot(x, y, xmajor) for every pixel. Callers bound the deltas.
template <class Plot>
inline void fg_bresenham(int64_t x1, int64_t y1, int64_t x2, int64_t y2, Plot plot) {
    const int64_t adx = x2 >= x1 ? x2 - x1 : x1 - x2;
    const int64_t ady = y2 >= y1 ? y2 - y1 : y1 - y2;
    const int64_t sx = x2 >= x1 ? 1 : -1;
    const int64_t sy = y2 >= y1 ? 1 : -1;
    if (ady < adx) {
        int64_t e = 2 * ady - adx, y = y1;
        for (int64_t x = x1;; x += sx) {
            plot(x, y, true);
            if (x == x2) break;
            if (e < 0) {
                e += 2 * ady;
            } else {
                y += sy;
                e += 2 * (ady - adx);
            }
        }
    } else {
        int64_t e = 2 * adx - ady, x = x1;
        for (int64_t y = y1;; y += sy) {
            plot(x, y, false);
            if (y == y2) break;
            if (e < 0) {
                e += 2 * adx;
            } else {
                x += sx;
                e += 2 * (adx - ady);
            }
        }
    }
}
// Longest delta a line may have on either axis.
constexpr int64_t FG_MAX_LINE_DELTA = 32000;

// ---- dash patterns ----
struct FGDashPattern {
    uint8_t entries[16];   // 0 off, 1 on
    int length;
    int restart;           // 1: every line starts the pattern anew
    int position;
};
constexpr int FG_DASH_PATTERNS = 4;
// Patterns 1..4 (index 0 unused).
extern FGDashPattern fg_dash[FG_DASH_PATTERNS + 1];

// Bresenham line whose pixels follow the pattern (through the driver's pixel).
void fg_pattern_line(int x1, int y1, int x2, int y2, FGDashPattern* pattern, FGPixel colour);
void fg_pattern_rect(int x, int y, int w, int h, int pattern, FGPixel colour);

// ---- time, errors, identity ----
// Milliseconds since the first call; 0 on the first call and after the clock went back.
int fg_elapsed_ms();
// Replaces the wall clock behind fg_elapsed_ms (tests); null restores it.
void fg_set_elapsed_clock(void (*now)(int64_t* seconds, int* milliseconds));

void fg_error_print(const char* message, int stop);
// The toolkit's assertion failure: prints and ends the process.
[[noreturn]] void fg_assert_fail(const char* expression, const char* source, int line);
#define FG_ASSERT(expr, source) \
    do {                                                     \
        if (!(expr)) fg_assert_fail(#expr, source, __LINE__); \
    } while (0)

int fg_screen_width();
int fg_screen_height();
const char* fg_version();
