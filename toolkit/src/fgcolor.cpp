// Colour values and gradient fills. The fill is Anti-Grain Geometry's
// scan-line rasteriser and gradient span generator working straight on the
// buffer's pixel array; this file only bounds what it is given so that none
// of the library's integer arithmetic can overflow.
#include "fgcolor.h"

#include <agg_basics.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_rendering_buffer.h>
#include <agg_scanline_u.h>
#include <agg_span_allocator.h>
#include <agg_span_gradient.h>
#include <agg_span_interpolator_linear.h>
#include <agg_trans_affine.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

// ---------------------------------------------------------------- colour

FGColor::FGColor(uint8_t r, uint8_t g, uint8_t b)
    : packed(0), blue(b), green(g), red(r), alpha(0), hue(0), saturation(0), lightness(0) {
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const float sum = static_cast<float>(mx + mn);
    lightness = sum / 510.0f;
    if (mx != mn) {
        // Neither divisor can be 0 here: max + min = 0 and max + min = 510
        // both mean max == min.
        const float delta = static_cast<float>(mx - mn);
        saturation = lightness <= 0.5f ? delta / sum : delta / (510.0f - sum);
        // Each later test overwrites the earlier one: yellow takes the green formula.
        if (mx == r) hue = 60.0f * (6.0f + static_cast<float>(g - b) / delta);
        if (mx == g) hue = 60.0f * (2.0f + static_cast<float>(b - r) / delta);
        if (mx == b) hue = 60.0f * (4.0f + static_cast<float>(r - g) / delta);
        if (hue > 360.0f) hue -= 360.0f;
    }
    packed = static_cast<FGPixel>(blue) | static_cast<FGPixel>(green) << 8 |
             static_cast<FGPixel>(red) << 16 | static_cast<FGPixel>(alpha) << 24;
}

FGColor::FGColor(FGPixel rgb)
    : FGColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
              static_cast<uint8_t>(rgb)) {}

// ---------------------------------------------------------------- gradient shapes

namespace {

// Gradient space: the vector runs from 0 to 256; the library hands the shape
// functions coordinates in 1/16 of that unit.
constexpr double VECTOR_UNITS = 256.0;

// Largest coordinate the library's shape functions take without overflowing
// int (x * x + y * y in the radial one).
constexpr int SHAPE_SAFE = 32767;

// How far from the start, in vector lengths, a drawn pixel may map. This
// keeps the span interpolator's 24.8 fixed-point coordinates below 2^29.
constexpr double MAX_VECTOR_LENGTHS = 4096.0;

// One shape function of the library with the spread applied on top.
class FGGradientShape {
public:
    int spread = 0;
    virtual ~FGGradientShape() = default;
    virtual int calculate(int x, int y, int d) const = 0;

protected:
    // v: the shape's value for the unscaled coordinates, in units where d is
    // the ramp's length. The result lies in 0..d for every spread.
    int spread_value(int64_t v, int d) const {
        if (spread == FG_SPREAD_REFLECT || spread == FG_SPREAD_REPEAT) {
            // Reduce to one reflection period first; the library's adaptors
            // then give the same answer as for the full value.
            const Value fixed{static_cast<int>(v % (2 * static_cast<int64_t>(d)))};
            if (spread == FG_SPREAD_REFLECT)
                return agg::gradient_reflect_adaptor<Value>(fixed).calculate(0, 0, d);
            return agg::gradient_repeat_adaptor<Value>(fixed).calculate(0, 0, d);
        }
        return static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(v, d)));
    }

private:
    struct Value {
        int v;
        int calculate(int, int, int) const { return v; }
    };
};

// Degree: how the function's value grows when both coordinates are scaled
// (conic 0, the distances 1, the plain product 2).
template <class F, int Degree>
class FGShapeOf final : public FGGradientShape {
public:
    int calculate(int x, int y, int d) const override {
        // Scale far points down into the function's safe range and its value
        // back up; what is lost is under 2^-15 of the value.
        const int64_t ax = std::llabs(x), ay = std::llabs(y);
        int shift = 0;
        while ((ax >> shift) > SHAPE_SAFE || (ay >> shift) > SHAPE_SAFE) shift++;
        const int64_t k = int64_t{1} << shift;
        const int64_t v = F::calculate(static_cast<int>(x / k), static_cast<int>(y / k), d);
        return spread_value(v * (int64_t{1} << (Degree * shift)), d);
    }
};

// Made once and shared; draw sets the spread before each fill.
FGShapeOf<agg::gradient_x, 1> shape_x;
FGShapeOf<agg::gradient_xy, 2> shape_xy;
FGShapeOf<agg::gradient_radial, 1> shape_radial;
FGShapeOf<agg::gradient_diamond, 1> shape_diamond;
FGShapeOf<agg::gradient_conic, 0> shape_conic;
FGShapeOf<agg::gradient_sqrt_xy, 1> shape_sqrt_xy;

FGGradientShape* const shapes[] = {&shape_x,       &shape_xy,    &shape_radial,
                                   &shape_diamond, &shape_conic, &shape_sqrt_xy};

// The gradient's ramp as the span generator's colour function.
struct RampColors {
    const uint32_t* ramp;
    static unsigned size() { return FG_RAMP_SIZE; }
    agg::rgba8 operator[](unsigned i) const {
        const uint32_t c = ramp[i];
        return agg::rgba8(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, c >> 24);
    }
};

// Floor of v / 256 without relying on how >> treats negative numbers.
int floor_div256(int v) { return v >= 0 ? v / 256 : -((-v + 255) / 256); }

}  // namespace

// ---------------------------------------------------------------- gradient

FGGradient::FGGradient(const FGColor& from, const FGColor& to)
    : spread(0), shape(0), ramp(new uint32_t[FG_RAMP_SIZE]) {
    for (int i = 0; i < FG_RAMP_SIZE; i++) {
        const uint32_t r = static_cast<uint32_t>(from.red + floor_div256((to.red - from.red) * i));
        const uint32_t g =
            static_cast<uint32_t>(from.green + floor_div256((to.green - from.green) * i));
        const uint32_t b = static_cast<uint32_t>(from.blue + floor_div256((to.blue - from.blue) * i));
        ramp[i] = r | g << 8 | b << 16 | 0xFFu << 24;
    }
}

FGGradient::~FGGradient() { delete[] ramp; }

void FGGradient::draw(FGDrawBuffer* buffer, FGPoint start, FGPoint end, const FGRect* rect) {
    if (!buffer || !buffer->pixels || buffer->width <= 0 || buffer->height <= 0) return;
    const int w = buffer->width, h = buffer->height;
    if (w > INT_MAX / 4) return;   // the row stride is an int

    // The filled area, cut to the array before the rasteriser sees it: its
    // 24.8 fixed-point coordinates would overflow for far-off corners. A
    // negative size spans the other way from (x, y), as the polygon does.
    int64_t x0 = 0, y0 = 0, x1 = w, y1 = h;
    if (rect) {
        x0 = rect->x;
        y0 = rect->y;
        x1 = x0 + rect->w;
        y1 = y0 + rect->h;
        if (x1 < x0) std::swap(x0, x1);
        if (y1 < y0) std::swap(y0, y1);
        x0 = std::max<int64_t>(x0, 0);
        y0 = std::max<int64_t>(y0, 0);
        x1 = std::min<int64_t>(x1, w);
        y1 = std::min<int64_t>(y1, h);
        if (x1 <= x0 || y1 <= y0) return;
    }

    // Pixel format: bytes B, G, R, A in memory are the 0x00RRGGBB word.
    typedef agg::pixfmt_bgra32 PixelFormat;
    typedef agg::renderer_base<PixelFormat> BaseRenderer;
    typedef agg::span_interpolator_linear<> Interpolator;
    typedef agg::span_gradient<agg::rgba8, Interpolator, FGGradientShape, RampColors> SpanGradient;

    agg::rendering_buffer rbuf(reinterpret_cast<agg::int8u*>(buffer->pixels),
                               static_cast<unsigned>(w), static_cast<unsigned>(h), w * 4);
    PixelFormat pixf(rbuf);
    BaseRenderer base(pixf);
    base.clip_box(0, 0, w - 1, h - 1);

    const int index = shape >= 0 && shape <= 5 ? shape : 0;
    FGGradientShape* selected = shapes[index];
    selected->spread = spread;

    // A vector of length 0 runs one pixel to the right. A vector tiny beside
    // its distance to the drawn pixels is stretched to 1/4096 of that distance
    // so that gradient space stays in the interpolator's range.
    const double dx = static_cast<double>(end.x) - start.x;
    const double dy = static_cast<double>(end.y) - start.y;
    double reach = 0;
    for (const int64_t cx : {x0 - 1, x1 + 1})
        for (const int64_t cy : {y0 - 1, y1 + 1})
            reach = std::max(reach, std::hypot(static_cast<double>(cx) - start.x,
                                               static_cast<double>(cy) - start.y));
    const double length = std::max({std::hypot(dx, dy), 1.0, reach / MAX_VECTOR_LENGTHS});

    agg::trans_affine mtx;
    mtx *= agg::trans_affine_scaling(length / VECTOR_UNITS);
    mtx *= agg::trans_affine_rotation(std::atan2(dy, dx));
    mtx *= agg::trans_affine_translation(start.x, start.y);
    mtx.invert();

    Interpolator interpolator(mtx);
    RampColors colors{ramp};
    SpanGradient span_gen(interpolator, *selected, colors, 0, VECTOR_UNITS);
    agg::span_allocator<agg::rgba8> span_alloc;

    agg::rasterizer_scanline_aa<> ras;
    agg::scanline_u8 sl;
    // Wound so that the rasteriser's cell covers come out positive: it shifts
    // them left, which is undefined for negative values before C++20. The
    // fill rule is non-zero, so the winding changes no pixel.
    ras.move_to_d(static_cast<double>(x0), static_cast<double>(y0));
    ras.line_to_d(static_cast<double>(x0), static_cast<double>(y1));
    ras.line_to_d(static_cast<double>(x1), static_cast<double>(y1));
    ras.line_to_d(static_cast<double>(x1), static_cast<double>(y0));
    ras.close_polygon();
    agg::render_scanlines_aa(ras, sl, base, span_alloc, span_gen);

    // The library writes the ramp's alpha 0xFF into the fourth byte; the
    // toolkit's pixels keep it 0 so that they compare equal to their colours
    // (transparent keys). The area has whole-pixel corners, so it is exactly
    // the pixels written.
    for (int64_t y = y0; y < y1; y++) {
        FGPixel* row = buffer->pixels + y * w;
        for (int64_t x = x0; x < x1; x++) row[x] &= 0x00FFFFFF;
    }
}
