// Drawing buffer primitives. Coordinates are taken relative to the clip
// origin and worked in 64 bits, so that no sum of a coordinate and a size
// overflows; every figure is cut to the clip rectangle and to the pixel
// array before a pixel is touched.
#include "fgdrawbuffer.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "fgfontmanager.h"

int fg_pen_x = 0, fg_pen_y = 0;
void (*fg_text_trace)(const FGDrawBuffer*, int, int, int, int, const char*, FGPixel, bool) = nullptr;

namespace {

std::atomic<unsigned> buffer_counter{0};
char empty_name[1] = "";

FGMutex& text_lock() {
    static FGMutex lock;
    return lock;
}

constexpr int TEXT_ROW_PIXELS = 16384;
FGPixel text_row[TEXT_ROW_PIXELS];

int default_font() {
    return FGFontManager::font_count() >= 2 && FGFontManager::is_font(2) ? 2 : 1;
}

char* copy_name(const char* nm) {
    if (!nm) return empty_name;
    char* copy = new (std::nothrow) char[std::strlen(nm) + 1];
    if (!copy) fg_assert_fail("name = new char[strlen(nm)+1]", "fgdrawbuffer", __LINE__);
    std::strcpy(copy, nm);
    return copy;
}

FGPixel* alloc_pixels(int w, int h) {
    auto* image = static_cast<FGPixel*>(std::malloc(areasize(w, h)));
    if (!image)
        fg_assert_fail("(image = (FGPixel *) malloc(areasize(w, h)))!=0", "fgdrawbuffer",
                       __LINE__);
    return image;
}

bool owns_pixels(unsigned type) { return type != FG_TYPE_SCREEN && type != FG_TYPE_FOREIGN; }

int64_t abs64(int64_t v) { return v < 0 ? -v : v; }

}  // namespace

// ---------------------------------------------------------------- point array

FGPointArray::~FGPointArray() {
    if (owns) delete[] points;
}

int FGPointArray::set_points(int n, const FGPoint* pts) {
    if (n < 0 || (!pts && n > 0)) n = 0;
    if (n != count || !points) {
        if (owns) delete[] points;
        points = n > 0 ? new FGPoint[static_cast<size_t>(n)] : nullptr;
        owns = 1;
        count = n;
    }
    if (n > 0) std::copy(pts, pts + n, points);
    return n;
}

// ---------------------------------------------------------------- life

FGDrawBuffer::FGDrawBuffer(int w, int h, const char* nm, unsigned t, FGPixel ink, FGPixel paper)
    : id(static_cast<int>(++buffer_counter & INT_MAX)),
      width(w), height(h), clip_x(0), clip_y(0), clip_w(w), clip_h(h), flags(0x1010),
      pixels(nullptr), name(copy_name(nm)), type(t),
      state{ink, paper, default_font(), 0, FG_NO_KEY, 0}, saved_state(state), saved(0),
      line_width(1) {}

FGDrawBuffer::FGDrawBuffer(int w, int h, unsigned t, FGPixel colour, FGPixel* px)
    : FGDrawBuffer(w, h, nullptr, t, colour, 0xFFFFFF) {
    if (w <= 0 || h <= 0) return;
    if (px) {
        pixels = px;
        return;
    }
    // A type that never frees its array gets none made for it (it would leak).
    if (!owns_pixels(t)) return;
    pixels = alloc_pixels(w, h);
    fg_fill(pixels, static_cast<int64_t>(w) * h, colour);
}

FGDrawBuffer::~FGDrawBuffer() {
    if (name != empty_name) delete[] name;
    if (pixels && owns_pixels(type)) std::free(pixels);
}

void FGDrawBuffer::resize(int dw, int dh) {
    std::lock_guard<FGMutex> guard(state_lock);
    const int64_t nw = static_cast<int64_t>(width) + dw, nh = static_cast<int64_t>(height) + dh;
    if (nw < 1 || nh < 1 || nw > INT_MAX || nh > INT_MAX) return;
    if (dw == 0 && dh == 0 && pixels) return;
    // An array that belongs elsewhere is never freed nor replaced here.
    if (!owns_pixels(type)) return;
    std::free(pixels);
    pixels = alloc_pixels(static_cast<int>(nw), static_cast<int>(nh));
    width = static_cast<int>(nw);
    height = static_cast<int>(nh);
    clip_w = fg_clamp_int(static_cast<int64_t>(clip_w) + dw);
    clip_h = fg_clamp_int(static_cast<int64_t>(clip_h) + dh);
}

void FGDrawBuffer::set_name(const char* nm) {
    std::lock_guard<FGMutex> guard(state_lock);
    char* copy = copy_name(nm);
    if (name != empty_name) delete[] name;
    name = copy;
}

void FGDrawBuffer::clear(FGPixel colour) {
    if (!pixels || width <= 0 || height <= 0) return;
    fg_fill(pixels, static_cast<int64_t>(width) * height, resolve(colour));
}

void FGDrawBuffer::save_state() {
    std::lock_guard<FGMutex> guard(state_lock);
    if (saved)
        std::fprintf(stderr, "FGDrawBuffer::save_state() multiple call!\n");
    else
        saved_state = state;
    saved = 1;
}

void FGDrawBuffer::restore_state() {
    std::lock_guard<FGMutex> guard(state_lock);
    if (saved)
        state = saved_state;
    else
        std::fprintf(stderr, "FGDrawBuffer::restore_state() called without save_state()!\n");
    saved = 0;
}

// ---------------------------------------------------------------- clipping, pixels

bool FGDrawBuffer::drawable(Clip* c) const {
    if (!pixels || width <= 0 || height <= 0) return false;
    c->left = std::max<int64_t>(clip_x, 0);
    c->top = std::max<int64_t>(clip_y, 0);
    c->right = std::min<int64_t>(static_cast<int64_t>(clip_x) + clip_w, width);
    c->bottom = std::min<int64_t>(static_cast<int64_t>(clip_y) + clip_h, height);
    return c->right > c->left && c->bottom > c->top;
}

// Single-colour family: modes 8 and 9 test the destination.
void FGDrawBuffer::rop(FGPixel* p, FGPixel c) const {
    switch (state.mode) {
        case 8: if (*p != 0) *p = c; break;
        case 9: if (*p != fg_screen.transparent_key) *p = c; break;
        default: fg_pixel_op(p, c, state.mode); break;
    }
}

int FGDrawBuffer::plot(int64_t x, int64_t y, FGPixel c, const Clip& k) {
    if (x < k.left || x >= k.right || y < k.top || y >= k.bottom) return 0;
    rop(pixels + y * width + x, c);
    return 1;
}

int FGDrawBuffer::run(int64_t x, int64_t y, int64_t n, FGPixel c, const Clip& k, bool down) {
    if (n <= 0) return 0;
    if (down) {
        if (x < k.left || x >= k.right) return 0;
        const int64_t y0 = std::max(y, k.top), y1 = std::min(y + n, k.bottom);
        if (y1 <= y0) return 0;
        FGPixel* p = pixels + y0 * width + x;
        for (int64_t i = y0; i < y1; i++, p += width) rop(p, c);
        return 1;
    }
    if (y < k.top || y >= k.bottom) return 0;
    const int64_t x0 = std::max(x, k.left), x1 = std::min(x + n, k.right);
    if (x1 <= x0) return 0;
    FGPixel* p = pixels + y * width;
    if (state.mode == 0) {
        fg_fill(p + x0, x1 - x0, c);
    } else {
        for (int64_t i = x0; i < x1; i++) rop(p + i, c);
    }
    return 1;
}

int FGDrawBuffer::pixel(int x, int y, FGPixel colour) {
    Clip k;
    if (!drawable(&k)) return 0;
    return plot(static_cast<int64_t>(x) + clip_x, static_cast<int64_t>(y) + clip_y,
                resolve(colour), k);
}

int FGDrawBuffer::hline(int x, int y, int n, FGPixel colour) {
    Clip k;
    if (!drawable(&k)) return 0;
    return run(static_cast<int64_t>(x) + clip_x, static_cast<int64_t>(y) + clip_y, n,
               resolve(colour), k, false);
}

int FGDrawBuffer::vline(int x, int y, int n, FGPixel colour) {
    Clip k;
    if (!drawable(&k)) return 0;
    return run(static_cast<int64_t>(x) + clip_x, static_cast<int64_t>(y) + clip_y, n,
               resolve(colour), k, true);
}

int FGDrawBuffer::box(int x, int y, int w, int h, FGPixel colour) {
    Clip k;
    if (!drawable(&k)) return 1;
    const FGPixel c = resolve(colour);
    const int64_t ax = static_cast<int64_t>(x) + clip_x, ay = static_cast<int64_t>(y) + clip_y;
    run(ax, ay, w, c, k, false);
    run(ax, ay + h - 1, w, c, k, false);
    run(ax, ay, h, c, k, true);
    run(ax + w - 1, ay, h, c, k, true);
    return 1;
}

int FGDrawBuffer::fillbox(int x, int y, int w, int h, FGPixel colour) {
    Clip k;
    if (!drawable(&k) || w <= 0 || h <= 0) return 0;
    const int64_t ax = static_cast<int64_t>(x) + clip_x, ay = static_cast<int64_t>(y) + clip_y;
    const int64_t x0 = std::max(ax, k.left), x1 = std::min(ax + w, k.right);
    const int64_t y0 = std::max(ay, k.top), y1 = std::min(ay + h, k.bottom);
    if (x1 <= x0 || y1 <= y0) return 0;
    fg_span_fill(pixels + y0 * width + x0, static_cast<int>(x1 - x0), static_cast<int>(y1 - y0),
                 resolve(colour), width, state.mode);
    return 1;
}

// ---------------------------------------------------------------- lines

int FGDrawBuffer::line(int x1, int y1, int x2, int y2, FGPixel colour) {
    fg_pen_x = x2;
    fg_pen_y = y2;
    if (abs64(static_cast<int64_t>(x2) - x1) > FG_MAX_LINE_DELTA ||
        abs64(static_cast<int64_t>(y2) - y1) > FG_MAX_LINE_DELTA)
        return 0;
    Clip k;
    if (!drawable(&k)) return 0;
    if (!fg_clip_line(&x1, &y1, &x2, &y2, 0, 0, width, height)) return 0;
    const bool xmajor = std::abs(y2 - y1) < std::abs(x2 - x1);
    if ((xmajor && x1 > x2) || (!xmajor && y1 > y2)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const FGPixel c = resolve(colour);
    const int64_t ox = clip_x, oy = clip_y;
    int result = 0;
    if (line_width <= 1) {
        auto inside = [&](int64_t x, int64_t y) {
            return x + ox >= k.left && x + ox < k.right && y + oy >= k.top && y + oy < k.bottom;
        };
        if (inside(x1, y1) && inside(x2, y2)) {
            // Both ends inside the clip: so is every pixel between them.
            fg_bresenham(x1, y1, x2, y2, [&](int64_t x, int64_t y, bool) {
                rop(pixels + (y + oy) * width + (x + ox), c);
            });
            return 1;
        }
        fg_bresenham(x1, y1, x2, y2, [&](int64_t x, int64_t y, bool) {
            result = plot(x + ox, y + oy, c, k);
        });
        return result;
    }
    // A run across the major axis from -ceil(w/2) to floor(w/2): w + 1 pixels.
    const int64_t lo = -((static_cast<int64_t>(line_width) + 1) / 2), hi = line_width / 2;
    fg_bresenham(x1, y1, x2, y2, [&](int64_t x, int64_t y, bool xm) {
        const int64_t ax = x + ox, ay = y + oy;
        if (xm) {
            run(ax, ay + lo, hi - lo + 1, c, k, true);
            result = ax >= k.left && ax < k.right && ay + hi >= k.top && ay + hi < k.bottom;
        } else {
            run(ax + lo, ay, hi - lo + 1, c, k, false);
            result = ay >= k.top && ay < k.bottom && ax + hi >= k.left && ax + hi < k.right;
        }
    });
    return result;
}

int FGDrawBuffer::lineto(int x, int y, FGPixel colour) {
    const int result = line(fg_pen_x, fg_pen_y, x, y, colour);
    // Keeps the pixel shared by two XOR segments set.
    if (state.mode == 1) pixel(x, y, colour);
    return result;
}

int FGDrawBuffer::polyline(const FGPointArray& pts, FGPixel colour) {
    const int n = pts.points ? pts.count : 0;
    if (n < 2) return std::max(n, 0) - 1;
    const FGPoint* p = pts.points;
    fg_pen_x = p[0].x;
    fg_pen_y = p[0].y;
    int result = 0;
    for (int i = 1; i < n; i++) result |= lineto(p[i].x, p[i].y, colour);
    if (!(n > 2 && p[n - 1].x == p[0].x && p[n - 1].y == p[0].y))
        result |= lineto(p[0].x, p[0].y, colour);
    return result;
}

// ---------------------------------------------------------------- circles

namespace {

// Distance range from a centre to a clip rectangle (nearest point, farthest corner).
void distance_range(int64_t cx, int64_t cy, int64_t l, int64_t t, int64_t r, int64_t b,
                    double* nearest, double* farthest) {
    const double nx = static_cast<double>(cx < l ? l - cx : cx >= r ? cx - (r - 1) : 0);
    const double ny = static_cast<double>(cy < t ? t - cy : cy >= b ? cy - (b - 1) : 0);
    const double fx = static_cast<double>(std::max(abs64(cx - l), abs64(cx - (r - 1))));
    const double fy = static_cast<double>(std::max(abs64(cy - t), abs64(cy - (b - 1))));
    *nearest = std::sqrt(nx * nx + ny * ny);
    *farthest = std::sqrt(fx * fx + fy * fy);
}

struct Span {
    int64_t l, r;
};

// Midpoint circle: calls step(i, j) for every pair, the last pair again when i == j.
template <class Step>
void midpoint_circle(int64_t r, Step step) {
    int64_t i = 0, j = r, d = 3 - 2 * r;
    while (j > i) {
        step(i, j);
        if (d < 0) {
            d += 4 * i + 6;
        } else {
            d += 4 * i + 10 - 4 * j;
            j--;
        }
        i++;
    }
    if (i == j) step(i, j);
}

using i128 = __int128;

// j of the midpoint circle at step i >= 1 (inside the loop): the largest j
// with 2i^2 + j^2 + (j - 1)^2 < 2r^2, the closed form of its decision variable.
int64_t midpoint_j(int64_t r, int64_t i) {
    const i128 rhs = 2 * static_cast<i128>(r) * r - 2 * static_cast<i128>(i) * i;
    auto f = [](i128 j) { return 2 * j * j - 2 * j + 1; };
    if (rhs <= 1) return -1;
    int64_t j = static_cast<int64_t>((1 + std::sqrt(2 * static_cast<double>(rhs) - 1)) / 2);
    while (j > 0 && !(f(j) < rhs)) j--;
    while (f(static_cast<i128>(j) + 1) < rhs) j++;
    return j;
}

// The midpoint circle's pairs (i, j) in which i or j lies in [o1, o2], in
// loop order. Large radii are not walked: the pairs come from the closed form,
// so the work follows the clip's size, not the radius.
template <class Step>
void midpoint_circle_in(int64_t r, int64_t o1, int64_t o2, Step step) {
    auto wanted = [&](int64_t v) { return v >= o1 && v <= o2; };
    if (r <= 4096) {
        midpoint_circle(r, [&](int64_t i, int64_t j) {
            if (wanted(i) || wanted(j)) step(i, j);
        });
        return;
    }
    auto J = [r](int64_t i) { return i == 0 ? r : midpoint_j(r, i); };
    // The loop ends at the first i with j <= i; J(i) - i falls strictly.
    int64_t lo = 0, hi = r;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (J(mid) <= mid) hi = mid; else lo = mid + 1;
    }
    const int64_t end = lo;
    // i with J(i) in [o1, o2]: J falls with i, so they form one interval.
    lo = 0, hi = end;
    while (lo < hi) {   // first i with J(i) <= o2
        const int64_t mid = lo + (hi - lo) / 2;
        if (J(mid) <= o2) hi = mid; else lo = mid + 1;
    }
    const int64_t ja = lo;
    lo = 0, hi = end;
    while (lo < hi) {   // first i with J(i) < o1
        const int64_t mid = lo + (hi - lo) / 2;
        if (J(mid) < o1) hi = mid; else lo = mid + 1;
    }
    const int64_t jb = lo;   // exclusive
    Span a = {std::max<int64_t>(o1, 0), std::min(o2 + 1, end)};
    Span b = {ja, std::min(jb, end)};
    if (b.l < a.l) std::swap(a, b);
    int64_t i = a.l;
    for (const Span& s : {a, b})
        for (i = std::max(i, s.l); i < s.r; i++) step(i, J(i));
    if (end > 0) {
        // The last j comes from one step of the loop, not from the closed form.
        const int64_t jp = J(end - 1);
        const i128 d = 2 * static_cast<i128>(end) * end + static_cast<i128>(jp) * jp +
                       static_cast<i128>(jp - 1) * (jp - 1) - 2 * static_cast<i128>(r) * r;
        const int64_t jl = d >= 0 ? jp - 1 : jp;
        if (jl == end && (wanted(end) || wanted(jl))) step(end, jl);
    }
}

// Offsets |v - c| of the values v in [lo, hi): one interval.
void offsets(int64_t c, int64_t lo, int64_t hi, int64_t* o1, int64_t* o2) {
    if (c < lo) {
        *o1 = lo - c; *o2 = hi - 1 - c;
    } else if (c >= hi) {
        *o1 = c - hi + 1; *o2 = c - lo;
    } else {
        *o1 = 0; *o2 = std::max(c - lo, hi - 1 - c);
    }
}

// Modes in which writing a pixel twice equals writing it once.
bool idempotent(unsigned mode) { return mode != 1 && mode != 4 && mode != 5 && mode != 6; }

}  // namespace

bool FGDrawBuffer::circle_start(int x, int y, int r, Clip* k, int64_t* ax, int64_t* ay,
                                double* nearest, double* farthest) const {
    const int64_t cx = x, cy = y, rr = r;
    if (r <= 0 || cx + rr < 0 || cy + rr < 0 || cx - rr >= width || cy - rr >= height) return false;
    if (!drawable(k)) return false;
    *ax = cx + clip_x;
    *ay = cy + clip_y;
    distance_range(*ax, *ay, k->left, k->top, k->right, k->bottom, nearest, farthest);
    return true;
}

int FGDrawBuffer::circle(int x, int y, int r, FGPixel colour) {
    Clip k;
    int64_t ax, ay;
    double nearest, farthest;
    if (!circle_start(x, y, r, &k, &ax, &ay, &nearest, &farthest)) return 0;
    const int64_t rr = r;
    // Every point of the midpoint circle lies within one pixel of the radius.
    if (nearest > rr + 2.0 || farthest < rr - 2.0) return 1;
    const FGPixel c = resolve(colour);
    int64_t o1, o2;   // a pixel is seen only when its column offset is i or j
    offsets(ax, k.left, k.right, &o1, &o2);
    midpoint_circle_in(rr, o1, o2, [&](int64_t i, int64_t j) {
        plot(ax + i, ay + j, c, k); plot(ax - i, ay + j, c, k);
        plot(ax + i, ay - j, c, k); plot(ax - i, ay - j, c, k);
        plot(ax + j, ay + i, c, k); plot(ax - j, ay + i, c, k);
        plot(ax + j, ay - i, c, k); plot(ax - j, ay - i, c, k);
    });
    return 1;
}

int FGDrawBuffer::fillcircle(int x, int y, int r, FGPixel colour) {
    Clip k;
    int64_t ax, ay;
    double nearest, farthest;
    if (!circle_start(x, y, r, &k, &ax, &ay, &nearest, &farthest)) return 0;
    const int64_t rr = r;
    const FGPixel c = resolve(colour);
    if (nearest > rr + 2.0) return 1;
    if (farthest < rr - 2.0 && idempotent(state.mode)) {
        // The clip lies wholly inside the disc.
        for (int64_t row = k.top; row < k.bottom; row++) run(k.left, row, k.right - k.left, c, k, false);
        return 1;
    }
    int64_t o1, o2;   // a run is seen only when its row offset is i or j
    offsets(ay, k.top, k.bottom, &o1, &o2);
    midpoint_circle_in(rr, o1, o2, [&](int64_t i, int64_t j) {
        run(ax - i, ay + j, 2 * i + 1, c, k, false);
        run(ax - i, ay - j, 2 * i + 1, c, k, false);
        run(ax - j, ay + i, 2 * j + 1, c, k, false);
        run(ax - j, ay - i, 2 * j + 1, c, k, false);
    });
    return 1;
}

namespace {

int quadrant(int64_t px, int64_t py, int64_t x, int64_t y) {
    if (px >= x && py <= y) return 1;
    if (px < x && py < y) return 2;
    if (px < x) return 3;
    return 4;
}

}  // namespace

int FGDrawBuffer::arc(int x, int y, double angle1, double angle2, int r, FGPixel colour) {
    if (r <= 0 || !std::isfinite(angle1) || !std::isfinite(angle2)) return 0;
    Clip k;
    if (!drawable(&k)) return 0;
    const int64_t ox = clip_x, oy = clip_y, cx = x, cy = y, rr = r;
    double nearest, farthest;
    distance_range(cx + ox, cy + oy, k.left, k.top, k.right, k.bottom, &nearest, &farthest);
    if (nearest > rr + 2.0 || farthest < rr - 2.0) return 0;
    const FGPixel c = resolve(colour);
    const double rd = static_cast<double>(r);
    int64_t px = cx + static_cast<int64_t>(rd * std::cos(angle1));
    int64_t py = cy - static_cast<int64_t>(rd * std::sin(angle1));
    const int64_t ex = cx + static_cast<int64_t>(rd * std::cos(angle2));
    const int64_t ey = cy - static_cast<int64_t>(rd * std::sin(angle2));
    const int endq = quadrant(ex, ey, cx, cy);
    const int startq = quadrant(px, py, cx, cy);
    // Same quadrant with angle1 > angle2: go once round before looking for the end.
    bool round = startq == endq && angle1 > angle2;
    const int64_t r2 = rr * rr;
    // Steps taken to go round twice bound the walk whatever happens.
    const int64_t max_steps = 16 * rr + 64;
    int result = 0;
    for (int64_t step = 0; step < max_steps; step++) {
        result |= plot(px + ox, py + oy, c, k);
        const int q = quadrant(px, py, cx, cy);
        if (round && q != startq) round = false;
        // Stop once the pixel has passed the end's direction (counter-clockwise,
        // y downwards): the cross product of end and current turns non-negative.
        if (!round && q == endq) {
            const int64_t emx = ex - cx, emy = cy - ey, pmx = px - cx, pmy = cy - py;
            if (emx * pmy - emy * pmx >= 0) break;
        }
        // Far from the clip the walk jumps along the circle by less than its
        // distance, so no visible pixel is passed over; huge radii stay cheap.
        const int64_t far = std::max({k.left - (px + ox), px + ox - (k.right - 1),
                                      k.top - (py + oy), py + oy - (k.bottom - 1), int64_t(0)});
        if (far > 64) {
            const double base = (q - 1) * M_PI / 2;
            double th = std::atan2(static_cast<double>(cy - py), static_cast<double>(px - cx));
            while (th < base - 1.0) th += 2 * M_PI;
            double limit = base + M_PI / 2;
            if (!round && q == endq) {
                double te = std::atan2(static_cast<double>(cy - ey), static_cast<double>(ex - cx));
                while (te < base - 1.0) te += 2 * M_PI;
                limit = std::min(limit, te);
            }
            const double next = std::min(th + static_cast<double>(far - 32) / rd, limit - 2.0 / rd);
            if (next > th + 4.0 / rd) {   // a jump of a few pixels at least
                const int64_t nx = cx + std::llround(rd * std::cos(next));
                const int64_t ny = cy - std::llround(rd * std::sin(next));
                if (quadrant(nx, ny, cx, cy) == q && (nx != px || ny != py)) {
                    px = nx;
                    py = ny;
                    continue;
                }
            }
        }
        const int sx = (q == 1 || q == 2) ? -1 : 1;
        const int sy = (q == 1 || q == 4) ? -1 : 1;
        const int64_t cand[3][2] = {{px + sx, py}, {px, py + sy}, {px + sx, py + sy}};
        int64_t best = -1, bx = px, by = py;
        for (const auto& cnd : cand) {
            const int64_t dx = cnd[0] - cx, dy = cnd[1] - cy;
            const int64_t err = abs64(dx * dx + dy * dy - r2);
            if (best < 0 || err < best) {
                best = err;
                bx = cnd[0];
                by = cnd[1];
            }
        }
        px = bx;
        py = by;
    }
    return result;
}

// ---------------------------------------------------------------- polygon

namespace {

struct Edge {
    int64_t ux, uy, lx, ly;   // upper end (smaller y) and lower end
};

// Floor and ceiling of a / b for b > 0.
i128 floor_div(i128 a, i128 b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
i128 ceil_div(i128 a, i128 b) { return -floor_div(-a, b); }

// The x range the edge's pixels cover on row y (uy <= y <= ly, uy < ly).
Span edge_range(const Edge& e, int64_t y) {
    const i128 dy = e.ly - e.uy, k = y - e.uy;
    const i128 dx = e.lx - e.ux, adx = dx < 0 ? -dx : dx;
    const i128 sign = dx < 0 ? -1 : 1;
    i128 t0, t1;
    if (adx <= dy) {
        t0 = t1 = floor_div(2 * k * adx + dy, 2 * dy);   // nearest pixel, one per row
    } else {
        t0 = k == 0 ? 0 : ceil_div((2 * k - 1) * adx, 2 * dy);
        t1 = k == dy ? adx : ceil_div((2 * k + 1) * adx, 2 * dy) - 1;
        t1 = std::max(t0, t1);
    }
    const int64_t a = static_cast<int64_t>(e.ux + sign * t0);
    const int64_t b = static_cast<int64_t>(e.ux + sign * t1);
    return {std::min(a, b), std::max(a, b)};
}

int64_t round_div(i128 a, i128 b) {   // b > 0, halves away from zero
    return static_cast<int64_t>(a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b)));
}

}  // namespace

FGRect FGDrawBuffer::fillpolygon(const FGPointArray& pts, FGPixel colour) {
    FGRect rect = {0, 0, 0, 0};
    int n = pts.points ? pts.count : 0;
    if (n <= 0) return rect;
    const FGPoint* p = pts.points;
    if (n > 1 && p[n - 1].x == p[0].x && p[n - 1].y == p[0].y) n--;
    Clip k;
    const bool can_draw = drawable(&k);
    // Rows and columns of the clip, relative to its origin.
    const int64_t row_top = can_draw ? k.top - clip_y : 0;
    const int64_t row_bottom = can_draw ? k.bottom - clip_y : clip_h;   // exclusive
    const int64_t col_left = can_draw ? k.left - clip_x : 0;
    const int64_t col_right = can_draw ? k.right - clip_x : clip_w;     // exclusive

    // Reused storage: ordinary polygons draw without allocation.
    static thread_local std::vector<Edge> edges;
    static thread_local std::vector<Span> crossings, spans;
    edges.clear();
    int64_t minx = INT64_MAX, miny = INT64_MAX, maxx = INT64_MIN, maxy = INT64_MIN;
    for (int i = 0; i < n; i++) {
        const FGPoint& a = p[i];
        const FGPoint& b = p[(i + 1) % n];
        Edge e = a.y <= b.y ? Edge{a.x, a.y, b.x, b.y} : Edge{b.x, b.y, a.x, a.y};
        if (e.uy >= row_bottom || e.ly < row_top) continue;
        int64_t ux = e.ux, uy = e.uy;
        if (uy < row_top) {   // cut at the top row, x moved along the edge
            ux = e.ux + round_div(static_cast<i128>(row_top - e.uy) * (e.lx - e.ux), e.ly - e.uy);
            uy = row_top;
        }
        minx = std::min({minx, ux, e.lx});
        maxx = std::max({maxx, ux, e.lx});
        miny = std::min(miny, uy);
        maxy = std::max(maxy, e.ly);
        edges.push_back(e);
    }
    // Storage grown by a very large polygon is given back after the call.
    struct Trim {
        ~Trim() {
            if (edges.capacity() > 4096) {
                std::vector<Edge>().swap(edges);
                std::vector<Span>().swap(crossings);
                std::vector<Span>().swap(spans);
            }
        }
    } trim;
    if (edges.empty()) return rect;
    rect = {fg_clamp_int(minx), fg_clamp_int(miny), fg_clamp_int(maxx - minx), fg_clamp_int(maxy - miny)};
    if (!can_draw) return rect;

    const FGPixel c = resolve(colour);
    const int64_t last_row = std::min(maxy, row_bottom - 1);
    for (int64_t y = std::max(miny, row_top); y <= last_row; y++) {
        crossings.clear();
        spans.clear();
        for (const Edge& e : edges) {
            if (y < e.uy || y > e.ly) continue;
            if (e.uy == e.ly) {
                spans.push_back({std::min(e.ux, e.lx), std::max(e.ux, e.lx)});
                continue;
            }
            const Span s = edge_range(e, y);
            spans.push_back(s);   // the outline's own pixels
            // Top row counted, bottom row not: a vertex the outline passes
            // through pairs once, a peak twice, a valley not at all.
            if (y < e.ly) crossings.push_back(s);
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Span& a, const Span& b) { return a.l < b.l; });
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            spans.push_back({crossings[i].l, std::max(crossings[i].r, crossings[i + 1].r)});
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.l < b.l; });
        // Overlapping spans are drawn once (XOR stays clean).
        for (size_t i = 0; i < spans.size();) {
            Span s = spans[i++];
            while (i < spans.size() && spans[i].l <= s.r) s.r = std::max(s.r, spans[i++].r);
            const int64_t l = std::max(s.l, col_left), r = std::min(s.r, col_right - 1);
            if (r >= l) run(l + clip_x, y + clip_y, r - l + 1, c, k, false);
        }
    }
    return rect;
}

// ---------------------------------------------------------------- text

int FGDrawBuffer::text(int x, int y, const char* str, FGPixel ink, FGPixel paper) {
    if (!str) return 0;
    std::lock_guard<FGMutex> guard(text_lock());
    Clip k;
    if (!drawable(&k)) return 0;
    const int font = state.font;
    const int th = FGFontManager::get_font_height(font);
    if (th <= 0) return 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(str);
    int64_t tw = 0;
    for (const unsigned char* q = s; *q; q++) tw += std::max(FGFontManager::charwidth(font, *q), 0);
    const int64_t ax = static_cast<int64_t>(x) + clip_x, ay = static_cast<int64_t>(y) + clip_y;
    const int64_t vx0 = std::max(ax, k.left), vx1 = std::min(ax + tw, k.right);
    const int64_t vy0 = std::max(ay, k.top), vy1 = std::min(ay + th, k.bottom);
    if (vx1 - vx0 <= 1 || vy1 - vy0 < 1) return 0;
    ink = ink == FG_DEFAULT_COLOUR ? state.ink : ink;
    paper = paper == FG_DEFAULT_COLOUR ? state.paper : paper;
    if (state.mode == 9) paper = fg_screen.transparent_key;
    if (fg_text_trace)
        fg_text_trace(this, static_cast<int>(vx0), static_cast<int>(vy0), static_cast<int>(vx1 - vx0),
                      static_cast<int>(vy1 - vy0), str, ink, paper != fg_screen.transparent_key);

    // Only characters whose (rounded) cells reach the visible columns are
    // rendered, so the row buffer stays near the visible width.
    struct Cell {
        int64_t x;
        int pitch;
        const FGPixel* mask;
    };
    static thread_local std::vector<Cell> cells;
    cells.clear();
    int64_t cx = 0, first = INT64_MAX, end = 0;
    for (const unsigned char* q = s; *q; q++) {
        const int w = std::max(FGFontManager::charwidth(font, *q), 0);
        int pitch = 0;
        const FGPixel* mask = FGFontManager::glyph(font, *q, &pitch);
        if (pitch <= 0) pitch = (w + 3) & ~3;
        if (ax + cx + pitch > vx0 && ax + cx < vx1) {
            cells.push_back({cx, pitch, mask});
            first = std::min(first, cx);
            end = std::max(end, cx + pitch);
        }
        cx += w;
        if (ax + cx >= vx1) break;
    }
    if (cells.empty()) return 0;
    const int64_t bw = end - first + 3;
    std::vector<FGPixel> big;
    FGPixel* row = text_row;
    if (bw * th > TEXT_ROW_PIXELS) {
        big.resize(static_cast<size_t>(bw * th));
        row = big.data();
    }
    for (const Cell& cell : cells)
        fg_glyph_expand(row + (cell.x - first), cell.mask, static_cast<int>(bw), cell.pitch, th,
                        ink, paper);
    // Row buffer column 0 is text column `first`, at ax + first in the buffer.
    const int64_t bx = vx0 - (ax + first), by = vy0 - ay;
    fg_span_copy(static_cast<int>(bx), static_cast<int>(by), static_cast<int>(bw), th,
                 static_cast<int>(vx0), static_cast<int>(vy0), width, height,
                 static_cast<int>(vx1 - vx0), static_cast<int>(vy1 - vy0), row, pixels,
                 FG_COPY_ROP, state.mode);
    return 1;
}

// ---------------------------------------------------------------- copies

int FGDrawBuffer::bitblt(int x, int y, int src_x, int src_y, int w, int h, FGDrawBuffer* source,
                         unsigned flags) {
    if (!source || !source->pixels || !pixels || source->type == FG_TYPE_LOADING) return 0;
    if (w <= 0 || h <= 0) return 0;
    Clip sk, dk;
    if (!source->drawable(&sk) || !drawable(&dk)) return 0;
    // The tile: the source area cut to the source's clip.
    const int64_t sx0 = static_cast<int64_t>(source->clip_x) + src_x;
    const int64_t sy0 = static_cast<int64_t>(source->clip_y) + src_y;
    const int64_t tx0 = std::max(sx0, sk.left), tx1 = std::min(sx0 + w, sk.right);
    const int64_t ty0 = std::max(sy0, sk.top), ty1 = std::min(sy0 + h, sk.bottom);
    const int64_t tw = tx1 - tx0, th = ty1 - ty0;
    if (tw <= 0 || th <= 0) return 0;
    // The destination area and the part of it that can change.
    const int64_t dx0 = static_cast<int64_t>(clip_x) + x, dy0 = static_cast<int64_t>(clip_y) + y;
    const int64_t vx0 = std::max(dx0, dk.left), vx1 = std::min(dx0 + w, dk.right);
    const int64_t vy0 = std::max(dy0, dk.top), vy1 = std::min(dy0 + h, dk.bottom);
    if (vx1 <= vx0 || vy1 <= vy0) return 0;

    unsigned mode = state.mode;
    unsigned f = flags & 0xFFFF;
    if (source->state.blend) f = (source->state.blend & FG_BLEND_MASK) | FG_COPY_ROP;
    const FGPixel old_key = fg_screen.transparent_key;
    if (source->state.colorkey != FG_NO_KEY) {
        fg_screen.transparent_key = source->state.colorkey;
        mode = 9;
        f |= FG_COPY_ROP;
    }
    // Only the tiles that meet the visible part are copied.
    for (int64_t j = (vy0 - dy0) / th; dy0 + j * th < vy1; j++) {
        const int64_t py = dy0 + j * th;
        const int64_t cy0 = std::max(py, vy0), cy1 = std::min(py + th, vy1);
        for (int64_t i = (vx0 - dx0) / tw; dx0 + i * tw < vx1; i++) {
            const int64_t px = dx0 + i * tw;
            const int64_t cx0 = std::max(px, vx0), cx1 = std::min(px + tw, vx1);
            if (cx1 <= cx0 || cy1 <= cy0) continue;
            fg_span_copy(static_cast<int>(tx0 + cx0 - px), static_cast<int>(ty0 + cy0 - py),
                         source->width, source->height, static_cast<int>(cx0),
                         static_cast<int>(cy0), width, height, static_cast<int>(cx1 - cx0),
                         static_cast<int>(cy1 - cy0), source->pixels, pixels, f, mode);
        }
    }
    fg_screen.transparent_key = old_key;
    return 1;
}
