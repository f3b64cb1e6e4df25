// Raster layer: span routines, glyph expansion, line clipping and the
// screen context. Every area is cut to the arrays it touches before a
// single pixel is read or written.
#include "fgraster.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

int fg_bytes_per_pixel = 4;

size_t areasize(int w, int h) {
    if (w <= 0 || h <= 0) return 0;
    return static_cast<size_t>(w) * static_cast<size_t>(h) *
           static_cast<size_t>(fg_bytes_per_pixel > 0 ? fg_bytes_per_pixel : 4);
}

FGPixel fg_replicate_colour(FGPixel colour) {
    if (fg_bytes_per_pixel == 1) return (colour & 0xFF) * 0x01010101u;
    if (fg_bytes_per_pixel == 2) return (colour & 0xFFFF) * 0x00010001u;
    return colour;
}

FGScreenContext fg_screen = {
    nullptr, 0, 0, 0, 0, 0, 0, 0,
    fg_sw_line, fg_sw_fill, fg_sw_pixel, fg_sw_copy, fg_sw_copy_rop, fg_sw_copy_blend,
    nullptr, nullptr, FG_NO_KEY,
};

// Patterns 1..4; restart is left 0: the patterned rectangle restarts its own.
FGDashPattern fg_dash[FG_DASH_PATTERNS + 1] = {
    {{0}, 0, 0, 0},
    {{0, 1}, 2, 0, 0},
    {{1, 0, 0, 1, 1, 1, 1, 0, 0}, 9, 0, 0},
    {{0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 1, 1, 1}, 15, 0, 0},
    {{0, 0, 0, 0, 1, 1, 1, 1}, 8, 0, 0},
};

void fg_install_default_primitives() {
    fg_screen.line = fg_sw_line;
    fg_screen.fill = fg_sw_fill;
    fg_screen.pixel = fg_sw_pixel;
    fg_screen.copy = fg_sw_copy;
    fg_screen.copy_rop = fg_sw_copy_rop;
    fg_screen.copy_blend = fg_sw_copy_blend;
}

void fg_screen_attach(FGPixel* surface, int stride, int width, int height) {
    fg_screen.surface = surface;
    fg_screen.stride = stride;
    fg_screen.width = std::max(width, 0);
    fg_screen.height = std::max(height, 0);
    fg_set_screen_clip(fg_screen.width, fg_screen.height, 0, 0);
}

// ---------------------------------------------------------------- pixels

void fg_pixel_op(FGPixel* p, FGPixel s, unsigned mode) {
    FGPixel d = *p;
    switch (mode) {
        case 1: d ^= s; break;
        case 2: d &= s; break;
        case 3: d |= s; break;
        case 4: d += s; break;
        case 5: d -= s; break;
        case 6: d ^= 0xFFFFFF; break;
        case 7: if (d > 15) d = s; break;
        case 8: if (s != 0) d = s; break;
        case 9: if (s != fg_screen.transparent_key) d = s; break;
        case 10: if (d < 32) d = s; break;
        case 11: if (d < 48) d = s; break;
        case 12: if (d < 64) d = s; break;
        case 13: if (d < 80) d = s; break;
        case 14: if (d < s) d = s; break;
        default: d = s; break;
    }
    *p = d;
}

FGPixel fg_blend(FGPixel d, FGPixel s, unsigned factor) {
    // Two channel groups at once; unsigned wrap-around is intended.
    const uint32_t m1 = 0xFF00FF, m2 = 0x00FF00;
    uint32_t a = (d + ((((s & m1) - (d & m1)) * factor) >> 8)) & m1;
    uint32_t b = (d + ((((s & m2) - (d & m2)) * factor) >> 8)) & m2;
    return a | b;
}

void fg_sw_copy(FGPixel* dst, const FGPixel* src, int count) {
    if (count <= 0) return;
    if (count > 64) {
        std::memmove(dst, src, static_cast<size_t>(count) * sizeof(FGPixel));
    } else {
        for (int i = 0; i < count; i++) dst[i] = src[i];
    }
}

// A row through one raster operation, the mode chosen once per row so that
// each loop is a plain word loop. src(i) gives the i-th source value.
template <class Src>
static void rop_row(FGPixel* d, Src src, int n, unsigned mode) {
    switch (mode) {
        case 1: for (int i = 0; i < n; i++) d[i] ^= src(i); break;
        case 2: for (int i = 0; i < n; i++) d[i] &= src(i); break;
        case 3: for (int i = 0; i < n; i++) d[i] |= src(i); break;
        case 4: for (int i = 0; i < n; i++) d[i] += src(i); break;
        case 5: for (int i = 0; i < n; i++) d[i] -= src(i); break;
        case 6: for (int i = 0; i < n; i++) d[i] ^= 0xFFFFFF; break;
        case 8:
            for (int i = 0; i < n; i++) {
                const FGPixel v = src(i);
                if (v != 0) d[i] = v;
            }
            break;
        case 9: {
            const FGPixel key = fg_screen.transparent_key;
            for (int i = 0; i < n; i++) {
                const FGPixel v = src(i);
                if (v != key) d[i] = v;
            }
            break;
        }
        case 7: case 10: case 11: case 12: case 13: case 14:
            for (int i = 0; i < n; i++) fg_pixel_op(d + i, src(i), mode);
            break;
        default: for (int i = 0; i < n; i++) d[i] = src(i); break;
    }
}

// Keyed copies (mode 8 keeps what lies under black, mode 9 under the colour key)
// carry the instruments' tapes and pictures: four words at a time, then the rest.
static void keyed_copy(FGPixel* dst, const FGPixel* src, int count, FGPixel key) {
    const FGWords4 keys = {key, key, key, key};
    int i = 0;
    // Overlapping rows go word by word, as they always did.
    const uintptr_t d0 = reinterpret_cast<uintptr_t>(dst), s0 = reinterpret_cast<uintptr_t>(src);
    const uintptr_t bytes = static_cast<uintptr_t>(count) * sizeof(FGPixel);
    const bool apart = d0 + bytes <= s0 || s0 + bytes <= d0;
    for (; apart && i + 4 <= count; i += 4) {
        FGWords4 s, d;
        std::memcpy(&s, src + i, sizeof s);
        std::memcpy(&d, dst + i, sizeof d);
        const FGWords4 under = s == keys;  // all ones where the destination stays
        d = (d & under) | (s & ~under);
        std::memcpy(dst + i, &d, sizeof d);
    }
    for (; i < count; i++)
        if (src[i] != key) dst[i] = src[i];
}

void fg_sw_copy_rop(FGPixel* dst, const FGPixel* src, int count, unsigned mode) {
    if (mode == 0 || mode > 14) {
        fg_sw_copy(dst, src, count);
        return;
    }
    if (mode == 8 || mode == 9) {
        if (count > 0) keyed_copy(dst, src, count, mode == 8 ? 0 : fg_screen.transparent_key);
        return;
    }
    rop_row(dst, [src](int i) { return src[i]; }, count, mode);
}

// Fills n words: the head four words a store (most fills, text cells and runs of
// a picture, are short), then doubling block copies.
static void fill_words(FGPixel* p, int64_t n, FGPixel colour) {
    const FGWords4 four = {colour, colour, colour, colour};
    const int64_t head = std::min<int64_t>(n, 64);
    int64_t i = 0;
    for (; i + 4 <= head; i += 4) std::memcpy(p + i, &four, sizeof four);
    for (; i < head; i++) p[i] = colour;
    for (int64_t done = head; done < n;) {
        const int64_t chunk = std::min(done, n - done);
        std::memcpy(p + done, p, static_cast<size_t>(chunk) * sizeof(FGPixel));
        done += chunk;
    }
}

void fg_sw_copy_blend(FGPixel* dst, const FGPixel* src, int count, unsigned factor,
                      unsigned mode) {
    // A keyed source keeps its key transparent when blended, in mode 8 and
    // in mode 9 (the mode a keyed bitblt runs in).
    const bool keyed = mode == 8 || mode == 9;
    const FGPixel key = fg_screen.transparent_key;
    for (int i = 0; i < count; i++) {
        if (keyed && src[i] == key) continue;
        dst[i] = fg_blend(dst[i], src[i], factor);
    }
}

// Cuts a w x h area at (sx, sy) of the source and (dx, dy) of the destination
// to both arrays. False when nothing is left.
static bool cut_to_arrays(int64_t& sx, int64_t& sy, int64_t sw, int64_t sh, int64_t& dx,
                          int64_t& dy, int64_t dw, int64_t dh, int64_t& w, int64_t& h) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return false;
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    if (sx >= sw || sy >= sh || dx >= dw || dy >= dh) return false;
    w = std::min({w, sw - sx, dw - dx});
    h = std::min({h, sh - sy, dh - dy});
    return w > 0 && h > 0;
}

void fg_span_copy(int sx, int sy, int sstride, int sheight, int dx, int dy, int dstride,
                  int dheight, int w, int h, const FGPixel* src, FGPixel* dst,
                  unsigned flags, unsigned mode) {
    if (!src || !dst) return;
    // The cut to both arrays is always made: a caller's area never reaches
    // outside them, with or without FG_COPY_CLIP.
    int64_t x0 = sx, y0 = sy, x1 = dx, y1 = dy, cw = w, ch = h;
    if (!cut_to_arrays(x0, y0, sstride, sheight, x1, y1, dstride, dheight, cw, ch)) return;
    const FGPixel* s = src + y0 * sstride + x0;
    FGPixel* d = dst + y1 * dstride + x1;
    const int n = static_cast<int>(cw);
    const unsigned factor = flags & FG_BLEND_MASK;
    if (flags & FG_COPY_BACKWARDS) {
        for (int64_t r = ch - 1; r >= 0; r--)
            std::memmove(d + r * dstride, s + r * sstride, static_cast<size_t>(n) * sizeof(FGPixel));
        return;
    }
    for (int64_t r = 0; r < ch; r++, s += sstride, d += dstride) {
        if (factor)
            fg_sw_copy_blend(d, s, n, factor, mode);
        else if (flags & FG_COPY_ROP)
            fg_sw_copy_rop(d, s, n, mode);
        else
            fg_sw_copy(d, s, n);
    }
}

void fg_span_fill(FGPixel* first, int w, int h, FGPixel colour, int stride, unsigned mode) {
    if (!first || w <= 0 || h <= 0) return;
    if (mode == 0) {
        fill_words(first, w, colour);
        for (int r = 1; r < h; r++)
            std::memcpy(first + static_cast<int64_t>(r) * stride, first,
                        static_cast<size_t>(w) * sizeof(FGPixel));
        return;
    }
    for (int r = 0; r < h; r++)
        rop_row(first + static_cast<int64_t>(r) * stride, [colour](int) { return colour; }, w, mode);
}

void fg_fill(FGPixel* first, int64_t count, FGPixel colour) {
    if (first && count > 0) fill_words(first, count, colour);
}

void fg_glyph_expand(FGPixel* row, const uint32_t* masks, int stride, int width4, int height,
                     FGPixel ink, FGPixel paper) {
    if (!row || width4 <= 0 || height <= 0) return;
    for (int y = 0; y < height; y++) {
        FGPixel* p = row + static_cast<int64_t>(y) * stride;
        if (!masks) {
            std::fill(p, p + width4, paper);
            continue;
        }
        const uint32_t* m = masks + static_cast<int64_t>(y) * width4;
        for (int x = 0; x < width4; x++) p[x] = (ink & m[x]) | (paper & ~m[x]);
    }
}

// ---------------------------------------------------------------- line clip

enum { CL_LEFT = 1, CL_RIGHT = 2, CL_TOP = 4, CL_BOTTOM = 8 };

static int outcode(int64_t x, int64_t y, int64_t l, int64_t t, int64_t r, int64_t b) {
    int c = 0;
    if (x < l) c |= CL_LEFT; else if (x > r) c |= CL_RIGHT;
    if (y < t) c |= CL_TOP; else if (y > b) c |= CL_BOTTOM;
    return c;
}

int fg_clip_line(int* px1, int* py1, int* px2, int* py2, int l, int t, int r, int b) {
    int64_t x1 = *px1, y1 = *py1, x2 = *px2, y2 = *py2;
    int c1 = outcode(x1, y1, l, t, r, b), c2 = outcode(x2, y2, l, t, r, b);
    while (c1 | c2) {
        if (c1 & c2) return 0;
        const int c = c1 ? c1 : c2;
        int64_t x, y;
        // Products of two 33-bit deltas fit in 64 bits.
        if (c & CL_TOP) {
            y = t; x = x1 + (t - y1) * (x2 - x1) / (y2 - y1);
        } else if (c & CL_BOTTOM) {
            y = b; x = x1 + (b - y1) * (x2 - x1) / (y2 - y1);
        } else if (c & CL_LEFT) {
            x = l; y = y1 + (l - x1) * (y2 - y1) / (x2 - x1);
        } else {
            x = r; y = y1 + (r - x1) * (y2 - y1) / (x2 - x1);
        }
        if (c == c1) {
            x1 = x; y1 = y; c1 = outcode(x1, y1, l, t, r, b);
        } else {
            x2 = x; y2 = y; c2 = outcode(x2, y2, l, t, r, b);
        }
    }
    // Both ends lie inside the bounds now, so they fit in int.
    *px1 = static_cast<int>(x1); *py1 = static_cast<int>(y1);
    *px2 = static_cast<int>(x2); *py2 = static_cast<int>(y2);
    return 1;
}

// ---------------------------------------------------------------- screen

static bool in_int(int64_t v) { return v >= INT_MIN && v <= INT_MAX; }

void fg_sw_pixel(FGPixel* surface, int x, int y, int stride, FGPixel colour, unsigned mode) {
    if (!surface || x < fg_screen.clip_left || x >= fg_screen.clip_right ||
        y < fg_screen.clip_top || y >= fg_screen.clip_bottom)
        return;
    fg_pixel_op(surface + static_cast<int64_t>(y) * stride + x, colour, mode);
}

void fg_sw_line(int x1, int y1, int x2, int y2, FGPixel colour, unsigned mode) {
    const FGScreenContext& s = fg_screen;
    if (s.clip_right <= s.clip_left || s.clip_bottom <= s.clip_top) return;
    if (!fg_clip_line(&x1, &y1, &x2, &y2, s.clip_left, s.clip_top, s.clip_right - 1,
                      s.clip_bottom - 1))
        return;
    if (std::abs(static_cast<int64_t>(x2) - x1) > FG_MAX_LINE_DELTA ||
        std::abs(static_cast<int64_t>(y2) - y1) > FG_MAX_LINE_DELTA)
        return;
    // The spec'd walk starts at the smaller end of the major axis.
    const bool xmajor = std::abs(y2 - y1) < std::abs(x2 - x1);
    if ((xmajor && x1 > x2) || (!xmajor && y1 > y2)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    fg_bresenham(x1, y1, x2, y2, [&](int64_t x, int64_t y, bool) {
        s.pixel(s.surface, static_cast<int>(x), static_cast<int>(y), s.stride, colour, mode);
    });
}

// Cuts (x, y, w, h) to the screen clip; false when nothing is left.
static bool cut_to_clip(int64_t& x, int64_t& y, int64_t& w, int64_t& h) {
    const FGScreenContext& s = fg_screen;
    int64_t r = std::min<int64_t>(x + w, s.clip_right), b = std::min<int64_t>(y + h, s.clip_bottom);
    x = std::max<int64_t>(x, s.clip_left);
    y = std::max<int64_t>(y, s.clip_top);
    w = r - x;
    h = b - y;
    return w > 0 && h > 0;
}

void fg_sw_fill(int x, int y, int w, int h, FGPixel colour, unsigned mode) {
    int64_t fx = x, fy = y, fw = w, fh = h;
    if (!fg_screen.surface || !cut_to_clip(fx, fy, fw, fh)) return;
    fg_span_fill(fg_screen.surface + fy * fg_screen.stride + fx, static_cast<int>(fw),
                 static_cast<int>(fh), colour, fg_screen.stride, mode);
}

void fg_sw_hline(int x, int y, int w, FGPixel colour, unsigned mode) {
    const int64_t x2 = static_cast<int64_t>(x) + w;
    if (!in_int(x2)) return;
    fg_screen.line(x, y, static_cast<int>(x2), y, colour, mode);
}

static void show(int64_t x, int64_t y, int64_t w, int64_t h) {
    if (fg_screen.show)
        fg_screen.show(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                       static_cast<int>(h));
}

// Cuts a w x h area at (sx, sy) on the screen and (bx, by) in a bw x bh
// buffer to the screen clip and the buffer; the clip's left and top move the
// buffer position by the same amount. False when nothing is left.
static bool cut_screen_area(int64_t& sx, int64_t& sy, int64_t& bx, int64_t& by, int64_t& w,
                            int64_t& h, int64_t bw, int64_t bh) {
    const FGScreenContext& s = fg_screen;
    if (sx >= s.clip_right || sy >= s.clip_bottom || sx + w <= s.clip_left ||
        sy + h <= s.clip_top)
        return false;
    const int64_t left = std::max<int64_t>(s.clip_left, 0), top = std::max<int64_t>(s.clip_top, 0);
    if (sx < left) { bx += left - sx; w -= left - sx; sx = left; }
    if (sy < top) { by += top - sy; h -= top - sy; sy = top; }
    w = std::min({w, bw - bx, s.clip_right - sx, static_cast<int64_t>(s.stride) - sx});
    h = std::min({h, bh - by, s.clip_bottom - sy});
    return w > 0 && h > 0;
}

void fg_buffer_to_screen(const FGPixel* pixels, int bx, int by, int sx, int sy, int w, int h,
                         int bw, int bh, unsigned flags, unsigned mode) {
    FGScreenContext& s = fg_screen;
    const unsigned kind = (flags >> 8) & 0xF;
    if (!pixels || !s.surface || (kind != 0 && kind != 2 && kind != 4)) return;
    if (bx < 0 || by < 0 || bx >= bw || by >= bh || w <= 0 || h <= 0) return;
    int64_t x0 = bx, y0 = by, x1 = sx, y1 = sy, cw = w, ch = h;
    if (!cut_screen_area(x1, y1, x0, y0, cw, ch, bw, bh)) return;
    const FGPixel* src = pixels + y0 * bw + x0;
    FGPixel* dst = s.surface + y1 * s.stride + x1;
    if (kind == 0) {
        // Rows the screen already holds are neither copied nor shown again: a
        // frame that changed little costs the display little.
        int64_t first = -1, last = -1;
        const size_t bytes = static_cast<size_t>(cw) * sizeof(FGPixel);
        for (int64_t r = 0; r < ch; r++, src += bw, dst += s.stride) {
            if (std::memcmp(dst, src, bytes) == 0) continue;
            s.copy(dst, src, static_cast<int>(cw));
            if (first < 0) first = r;
            last = r;
        }
        if (first >= 0) show(x1, y1 + first, cw, last - first + 1);
        return;
    }
    for (int64_t r = 0; r < ch; r++, src += bw, dst += s.stride) {
        if (kind == 2)
            s.copy_rop(dst, src, static_cast<int>(cw), mode);
        else
            s.copy_blend(dst, src, static_cast<int>(cw), flags & FG_BLEND_MASK, mode);
    }
    show(x1, y1, cw, ch);
}

void fg_screen_to_buffer(FGPixel* pixels, int sx, int sy, int bx, int by, int w, int h,
                         int bw, int bh) {
    const FGScreenContext& s = fg_screen;
    if (!pixels || !s.surface || w <= 0 || h <= 0) return;
    if (bx < 0 || by < 0 || bx >= bw || by >= bh) return;
    int64_t x0 = sx, y0 = sy, x1 = bx, y1 = by, cw = w, ch = h;
    if (!cut_screen_area(x0, y0, x1, y1, cw, ch, bw, bh)) return;
    for (int64_t r = 0; r < ch; r++)
        std::memmove(pixels + (y1 + r) * bw + x1, s.surface + (y0 + r) * s.stride + x0,
                     static_cast<size_t>(cw) * sizeof(FGPixel));
}

void fg_screen_fill(int x, int y, int w, int h, FGPixel colour, unsigned mode) {
    int64_t fx = x, fy = y, fw = w, fh = h;
    if (!cut_to_clip(fx, fy, fw, fh)) return;
    fg_screen.fill(static_cast<int>(fx), static_cast<int>(fy), static_cast<int>(fw),
                   static_cast<int>(fh), colour, mode);
    show(fx, fy, fw, fh);
}

void fg_screen_box(int x, int y, int w, int h, FGPixel colour, unsigned mode) {
    const int64_t r = static_cast<int64_t>(x) + w - 1, b = static_cast<int64_t>(y) + h - 1;
    if (!in_int(r) || !in_int(b)) return;
    const int ri = static_cast<int>(r), bi = static_cast<int>(b);
    fg_screen.line(x, y, ri, y, colour, mode);
    fg_screen.line(x, bi, ri, bi, colour, mode);
    fg_screen.line(x, y, x, bi, colour, mode);
    fg_screen.line(ri, y, ri, bi, colour, mode);
}

void fg_screen_clear(FGPixel colour) {
    const FGScreenContext& s = fg_screen;
    if (s.surface && s.stride > 0 && s.height > 0)
        std::fill(s.surface, s.surface + static_cast<int64_t>(s.stride) * s.height, colour);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void fg_set_screen_clip(int w, int h, int x, int y) {
    FGScreenContext& s = fg_screen;
    s.clip_left = std::max(x, 0);
    s.clip_top = std::max(y, 0);
    s.clip_right = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(x) + w, s.width));
    s.clip_bottom = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(y) + h, s.height));
    if (s.clip_changed) s.clip_changed(s.clip_left, s.clip_top, s.clip_right, s.clip_bottom);
}

// ---------------------------------------------------------------- dash patterns

void fg_pattern_line(int x1, int y1, int x2, int y2, FGDashPattern* pattern, FGPixel colour) {
    if (!pattern || pattern->length <= 0) return;
    if (std::abs(static_cast<int64_t>(x2) - x1) > FG_MAX_LINE_DELTA ||
        std::abs(static_cast<int64_t>(y2) - y1) > FG_MAX_LINE_DELTA)
        return;
    if (pattern->restart) pattern->position = 0;
    const FGScreenContext& s = fg_screen;
    // Walks from the first end so that the pattern runs on round a rectangle.
    fg_bresenham(x1, y1, x2, y2, [&](int64_t x, int64_t y, bool) {
        if (pattern->position < 0 || pattern->position >= pattern->length) pattern->position = 0;
        const bool on = pattern->entries[pattern->position++] != 0;
        if (on && in_int(x) && in_int(y))
            s.pixel(s.surface, static_cast<int>(x), static_cast<int>(y), s.stride, colour, 0);
    });
}

void fg_pattern_rect(int x, int y, int w, int h, int pattern, FGPixel colour) {
    if (pattern < 1 || pattern > FG_DASH_PATTERNS || w <= 0 || h <= 0) return;
    const int64_t r = static_cast<int64_t>(x) + w - 1, b = static_cast<int64_t>(y) + h - 1;
    if (!in_int(r) || !in_int(b)) return;
    FGDashPattern* p = &fg_dash[pattern];
    const int ri = static_cast<int>(r), bi = static_cast<int>(b);
    p->position = 0;
    fg_pattern_line(x, y, ri, y, p, colour);
    if (h > 1) fg_pattern_line(ri, y + 1, ri, bi, p, colour);
    if (h > 1 && w > 1) fg_pattern_line(ri - 1, bi, x, bi, p, colour);
    if (h > 2 && w > 1) fg_pattern_line(x, bi - 1, x, y + 1, p, colour);
}

// ---------------------------------------------------------------- time, errors

static void wall_clock(int64_t* seconds, int* ms) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const int64_t total = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    *seconds = total / 1000;
    *ms = static_cast<int>(total % 1000);
}

namespace {
struct ElapsedClock {
    std::mutex lock;   // the toolkit's timing lock
    void (*now)(int64_t*, int*) = wall_clock;
    bool started = false;
    int64_t first_seconds = 0;
    int first_ms = 0;
    int last = 0;
};
ElapsedClock& elapsed_clock() {
    static ElapsedClock clock;
    return clock;
}
}  // namespace

void fg_set_elapsed_clock(void (*now)(int64_t*, int*)) {
    ElapsedClock& c = elapsed_clock();
    std::lock_guard<std::mutex> guard(c.lock);
    c.now = now ? now : wall_clock;
    c.started = false;
}

int fg_elapsed_ms() {
    ElapsedClock& c = elapsed_clock();
    std::lock_guard<std::mutex> guard(c.lock);
    int64_t seconds;
    int ms;
    c.now(&seconds, &ms);
    if (!c.started) {
        c.started = true;
        c.first_seconds = seconds;
        c.first_ms = ms;
        return c.last = 0;
    }
    const int64_t diff = (seconds - c.first_seconds) * 1000 + ms - c.first_ms;
    if (diff < 0) {
        c.first_seconds = seconds;
        c.first_ms = ms;
        return c.last = 0;
    }
    return c.last = static_cast<int>(std::min<int64_t>(diff, INT_MAX));
}

void fg_error_print(const char* message, int stop) {
    std::fprintf(stderr, "Velvix ERROR: %s\n", message ? message : "");
    if (stop) std::abort();
}

void fg_assert_fail(const char* expression, const char* source, int line) {
    std::fprintf(stderr, "Velvix ERROR: Assertion failed: %s, file %s, line %d\n", expression,
                 source, line);
    std::abort();
}

int fg_screen_width() { return fg_screen.width; }
int fg_screen_height() { return fg_screen.height; }
const char* fg_version() { return "5.5.14.1412"; }
