// Colours and gradient fills: HSL values of known colours checked against an
// independent HSL-to-RGB inverse, the ramp's integer steps, and every shape and
// spread probed at pixels whose place along the vector is known.
#include "fgcolor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr FGPixel PAPER = 0x00123456;

struct Buf : FGDrawBuffer {
    Buf(int w, int h, FGPixel fill = PAPER) : FGDrawBuffer(w, h, FG_TYPE_BITMAP, fill) {}
    FGPixel at(int x, int y) const { return pixels[y * width + x]; }
};

// Textbook HSL to RGB, written from the definition and not from the code under test.
void hsl_to_rgb(double h, double s, double l, int* r, int* g, int* b) {
    const double c = (1 - std::fabs(2 * l - 1)) * s;
    const double hp = std::fmod(h, 360.0) / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
    double r1 = 0, g1 = 0, b1 = 0;
    if (hp < 1) { r1 = c; g1 = x; }
    else if (hp < 2) { r1 = x; g1 = c; }
    else if (hp < 3) { g1 = c; b1 = x; }
    else if (hp < 4) { g1 = x; b1 = c; }
    else if (hp < 5) { r1 = x; b1 = c; }
    else { r1 = c; b1 = x; }
    const double m = l - c / 2;
    *r = static_cast<int>(std::lround((r1 + m) * 255));
    *g = static_cast<int>(std::lround((g1 + m) * 255));
    *b = static_cast<int>(std::lround((b1 + m) * 255));
}

FGPixel ramp_pixel(const FGGradient& g, int i) {
    const uint32_t c = g.ramp[std::clamp(i, 0, 255)];
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// The ramp index a pixel shows, or -1 when no entry has its colour. The test
// ramps have a distinct colour per entry.
int index_of(const FGGradient& g, FGPixel p) {
    for (int i = 0; i < 256; i++)
        if (ramp_pixel(g, i) == p) return i;
    return -1;
}

// Red and green both climb and blue falls, each step changing something.
FGGradient probe_gradient() { return FGGradient(FGColor(0, 0, 255), FGColor(255, 255, 0)); }

}  // namespace

// ---------------------------------------------------------------- colours

TEST(Color, KnownColoursFromThePackedWord) {
    const FGColor red(0x00FF0000u);
    EXPECT_EQ(red.red, 255);
    EXPECT_EQ(red.green, 0);
    EXPECT_EQ(red.blue, 0);
    EXPECT_EQ(red.alpha, 0);
    EXPECT_EQ(red.packed, 0x00FF0000u);
    EXPECT_FLOAT_EQ(red.hue, 360.0f);
    EXPECT_FLOAT_EQ(red.saturation, 1.0f);
    EXPECT_FLOAT_EQ(red.lightness, 0.5f);

    const FGColor grey(0x808080u);
    EXPECT_FLOAT_EQ(grey.saturation, 0.0f);
    EXPECT_FLOAT_EQ(grey.hue, 0.0f);
    EXPECT_FLOAT_EQ(grey.lightness, 256.0f / 510.0f);

    const FGColor yellow(255, 255, 0);   // the green test wins over the red one
    EXPECT_FLOAT_EQ(yellow.hue, 60.0f);
    EXPECT_EQ(yellow.packed, 0x00FFFF00u);

    const FGColor black;
    EXPECT_EQ(black.packed, 0u);
    EXPECT_FLOAT_EQ(black.hue + black.saturation + black.lightness, 0.0f);
    const FGColor white(0xFFFFFFu);
    EXPECT_FLOAT_EQ(white.lightness, 1.0f);
    EXPECT_FLOAT_EQ(white.saturation, 0.0f);

    // The top byte is no component: the transparent paper's word loses it.
    const FGColor keyed(0xFFF000F0u);
    EXPECT_EQ(keyed.packed, 0x00F000F0u);
    EXPECT_EQ(keyed.alpha, 0);
    // The packed word is the four bytes read little-endian.
    const FGColor c(0x12, 0x34, 0x56);
    EXPECT_EQ(c.packed, 0x00123456u);
    EXPECT_EQ(FGColor(c.packed).packed, c.packed);
}

TEST(Color, HueSaturationLightnessOfKnownColours) {
    struct Known {
        int r, g, b;
        float h, s, l;
    };
    const Known known[] = {
        {0, 255, 0, 120, 1, 0.5f},          {0, 0, 255, 240, 1, 0.5f},
        {0, 255, 255, 180, 1, 0.5f},        {255, 0, 255, 300, 1, 0.5f},
        {128, 0, 0, 360, 1, 128 / 510.0f},  {255, 128, 128, 360, 1, 383 / 510.0f},
        {255, 128, 0, 60 * 128 / 255.0f, 1, 0.5f},
        {91, 58, 47, 60 * (6 + 11 / 44.0f) - 360, 44 / 138.0f, 138 / 510.0f},
        {249, 191, 207, 60 * (6 - 16 / 58.0f), 58 / 70.0f, 440 / 510.0f},
    };
    for (const Known& k : known) {
        const FGColor c(static_cast<uint8_t>(k.r), static_cast<uint8_t>(k.g),
                        static_cast<uint8_t>(k.b));
        SCOPED_TRACE(std::to_string(k.r) + "," + std::to_string(k.g) + "," + std::to_string(k.b));
        EXPECT_NEAR(c.hue, k.h, 1e-3);
        EXPECT_NEAR(c.saturation, k.s, 1e-5);
        EXPECT_NEAR(c.lightness, k.l, 1e-5);
    }
}

TEST(Color, RoundTripThroughAnIndependentInverse) {
    // Every colour of a 16-step lattice (and its edges) comes back from its
    // hue, saturation and lightness to within rounding; all values in range.
    std::vector<int> steps;
    for (int v = 0; v < 255; v += 17) steps.push_back(v);
    steps.push_back(1);
    steps.push_back(254);
    steps.push_back(255);
    for (int r : steps)
        for (int g : steps)
            for (int b : steps) {
                const FGColor c(static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                                static_cast<uint8_t>(b));
                ASSERT_GE(c.hue, 0.0f);
                ASSERT_LE(c.hue, 360.0f);
                ASSERT_GE(c.saturation, 0.0f);
                ASSERT_LE(c.saturation, 1.0f);
                ASSERT_GE(c.lightness, 0.0f);
                ASSERT_LE(c.lightness, 1.0f);
                int r2, g2, b2;
                hsl_to_rgb(c.hue, c.saturation, c.lightness, &r2, &g2, &b2);
                ASSERT_NEAR(r2, r, 1) << r << "," << g << "," << b;
                ASSERT_NEAR(g2, g, 1) << r << "," << g << "," << b;
                ASSERT_NEAR(b2, b, 1) << r << "," << g << "," << b;
                ASSERT_EQ(FGColor(c.packed).packed, c.packed);
                ASSERT_FLOAT_EQ(FGColor(c.packed).hue, c.hue);
            }
}

// ---------------------------------------------------------------- ramp

TEST(Ramp, IntegerStepsAndByteOrder) {
    const FGGradient bw(FGColor(0, 0, 0), FGColor(255, 255, 255));
    EXPECT_EQ(bw.spread, 0);
    EXPECT_EQ(bw.shape, 0);
    EXPECT_EQ(bw.ramp[0], 0xFF000000u);
    EXPECT_EQ(bw.ramp[128], 0xFF7F7F7Fu);
    EXPECT_EQ(bw.ramp[255], 0xFFFEFEFEu);   // one step short of white

    // Red in the low byte, blue under the alpha.
    const FGGradient rgb(FGColor(1, 2, 3), FGColor(1, 2, 3));
    EXPECT_EQ(rgb.ramp[0], 0xFF030201u);
    EXPECT_EQ(rgb.ramp[255], 0xFF030201u);

    // Falling components round towards minus infinity, as an arithmetic shift.
    const FGGradient down(FGColor(255, 10, 0), FGColor(0, 0, 0));
    EXPECT_EQ(down.ramp[1] & 0xFF, 254u);          // 255 + (-255 >> 8)
    EXPECT_EQ(down.ramp[1] >> 8 & 0xFF, 9u);       // 10 + (-10 >> 8)
    EXPECT_EQ(down.ramp[255] & 0xFFFF, 0u);        // reaches the end colour
}

// ---------------------------------------------------------------- fills

namespace {

struct Probe {
    int x, y;
    int index;   // expected ramp entry, give or take one
};

void expect_probes(const FGGradient& g, const Buf& b, const std::vector<Probe>& probes,
                   int tolerance = 1) {
    for (const Probe& p : probes) {
        const FGPixel px = b.at(p.x, p.y);
        const int got = index_of(g, px);
        EXPECT_NE(got, -1) << "(" << p.x << "," << p.y << ") has no ramp colour: " << std::hex << px;
        EXPECT_NEAR(got, p.index, tolerance) << "at (" << p.x << "," << p.y << ")";
    }
}

// Start (300, 300), end (556, 300): one pixel is one ramp step, and the pixel
// at start + (i, j) sits at gradient coordinates (i + 0.5, j + 0.5).
constexpr FGPoint S{300, 300}, E{556, 300};

}  // namespace

TEST(Fill, LinearAlongAndAcrossTheVector) {
    FGGradient g = probe_gradient();
    Buf b(600, 600);
    g.draw(&b, S, E);
    expect_probes(g, b, {{300, 300, 0}, {428, 300, 128}, {555, 300, 255},   // start, middle, end
                         {428, 20, 128}, {428, 590, 128},                    // across: unchanged
                         {10, 300, 0}, {590, 300, 255}});                    // padded beyond
    // The fourth byte stays 0 and every pixel was filled.
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 600; x += 7) ASSERT_EQ(b.at(x, y) >> 24, 0u);

    // A diagonal vector of length 256 (181, 181 is 255.97 long).
    Buf d(600, 600);
    g.draw(&d, {100, 100}, {281, 281});
    expect_probes(g, d, {{100, 100, 0}, {190, 190, 128}, {280, 280, 255}, {100, 280, 128}});
}

TEST(Fill, EveryShapeAtStartMiddleAndEndAndEverySpread) {
    FGGradient g = probe_gradient();
    struct Case {
        int shape, spread;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // product of the coordinates over the vector length
        {FG_GRADIENT_XY, 0, {{300, 300, 0}, {481, 481, 128}, {555, 555, 255}, {300 - 182, 481, 128},
                          {555, 300, 0}}},
        // distance from the start
        {FG_GRADIENT_RADIAL, 0, {{300, 300, 0}, {390, 390, 128}, {300 - 128, 300, 127},
                              {300, 300 + 255, 255}, {10, 10, 255}}},
        // larger coordinate distance
        {FG_GRADIENT_DIAMOND, 0, {{300, 300, 0}, {350, 300 - 128, 127}, {428, 320, 128},
                               {300 + 255, 300 - 255, 255}}},
        // angle from the vector, 0 to 180 degrees both ways round
        {FG_GRADIENT_CONIC, 0, {{500, 300, 0}, {300, 500, 128}, {300, 100, 127}, {100, 299, 255},
                             {400, 400, 64}}},
        // square root of the product
        {FG_GRADIENT_SQRT_XY, 0, {{300, 300, 0}, {428, 428, 128}, {555, 555, 255},
                               {300 + 255, 301, 20}, {300 - 129, 300 - 129, 128}}},
        // out-of-range shapes fill as the linear one
        {6, 0, {{300, 300, 0}, {428, 20, 128}, {555, 300, 255}}},
        {-1, 0, {{300, 300, 0}, {428, 590, 128}, {555, 300, 255}}},
        // spreads beyond both ends of the vector
        {0, FG_SPREAD_REFLECT, {{300 + 256 + 20, 300, 235}, {300 - 64, 300, 63}, {428, 300, 128}}},
        {0, FG_SPREAD_REPEAT, {{300 + 256 + 20, 300, 20}, {300 - 64, 300, 192}, {428, 300, 128}}},
        {0, 7, {{300 + 256 + 20, 300, 255}, {300 - 64, 300, 0}}},   // any other value pads
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("shape " + std::to_string(c.shape) + " spread " + std::to_string(c.spread));
        g.shape = c.shape;
        g.spread = c.spread;
        Buf b(600, 600);
        g.draw(&b, S, E);
        expect_probes(g, b, c.probes);
    }
}

TEST(Fill, ShortVectorsFarFromTheDrawnPixels) {
    // A 2-pixel vector puts the corners thousands of ramp lengths out, where
    // the shapes' own int arithmetic would overflow (x * x + y * y, x * y).
    // One pixel is 128 ramp steps here.
    FGGradient g = probe_gradient();
    g.shape = FG_GRADIENT_RADIAL;
    Buf b(600, 600);
    g.draw(&b, {300, 300}, {302, 300});
    for (int y = 0; y < 600; y += 3)
        for (int x = 0; x < 600; x += 3) {
            if (std::hypot(x - 300, y - 300) < 4) continue;
            ASSERT_EQ(b.at(x, y), ramp_pixel(g, 255)) << "at (" << x << "," << y << ")";
        }
    expect_probes(g, b, {{300, 300, 90}});

    // Folded far out: 200.5 pixels are 25664 steps, 64 past whole periods of 512.
    g.shape = FG_GRADIENT_DIAMOND;
    g.spread = FG_SPREAD_REFLECT;
    g.draw(&b, {300, 300}, {302, 300});
    expect_probes(g, b, {{500, 300, 64}, {300, 500, 64}, {100, 300, 64}, {500, 499, 64}});
    // 200.5 x 2.5 pixels: 25664 x 320 / 256 = 32080 steps, folded to 176.
    g.shape = FG_GRADIENT_XY;
    g.draw(&b, {300, 300}, {302, 300});
    expect_probes(g, b, {{500, 302, 176}, {100, 297, 176}});
}

TEST(Fill, DegenerateVectorsAreFilledSafely) {
    FGGradient g = probe_gradient();
    // Start on end: a one-pixel vector to the right.
    Buf b(40, 40);
    g.draw(&b, {20, 20}, {20, 20});
    expect_probes(g, b, {{5, 5, 0}, {20, 3, 128}, {35, 35, 255}});
    g.shape = FG_GRADIENT_RADIAL;
    g.draw(&b, {20, 20}, {20, 20});
    expect_probes(g, b, {{5, 5, 255}, {20, 20, 181}});

    // Far-off and extreme points: every pixel is filled with ramp colours.
    const FGPoint ends[][2] = {{{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
                               {{INT_MAX, 0}, {INT_MAX, 1}},
                               {{-2000000000, 20}, {-2000000000, 21}},
                               {{INT_MIN, INT_MAX}, {INT_MIN, INT_MAX}}};
    for (int shape = 0; shape <= 5; shape++)
        for (int spread = 0; spread <= 2; spread++)
            for (const auto& e : ends) {
                g.shape = shape;
                g.spread = spread;
                Buf c(16, 16);
                g.draw(&c, e[0], e[1]);
                for (int i = 0; i < 16 * 16; i++)
                    ASSERT_NE(index_of(g, c.pixels[i]), -1) << shape << " " << spread;
            }
}

TEST(Fill, RectanglesAreCutToTheArray) {
    FGGradient g = probe_gradient();
    // A pixel array with guard words on both sides.
    constexpr int W = 30, H = 20, GUARD = 64;
    constexpr FGPixel FENCE = 0xDEADBEEF;
    std::vector<FGPixel> store(W * H + 2 * GUARD, FENCE);
    std::fill(store.begin() + GUARD, store.end() - GUARD, PAPER);
    FGDrawBuffer b(W, H, FG_TYPE_FOREIGN, 0, store.data() + GUARD);
    auto at = [&](int x, int y) { return b.pixels[y * W + x]; };
    auto count_painted = [&] {
        int n = 0;
        for (int i = 0; i < W * H; i++) n += b.pixels[i] != PAPER;
        return n;
    };
    auto guards_intact = [&] {
        for (int i = 0; i < GUARD; i++)
            if (store[i] != FENCE || store[store.size() - 1 - i] != FENCE) return false;
        return true;
    };

    // Exactly the rectangle, edges fully covered (no blend with the paper).
    const FGRect r{5, 4, 10, 6};
    g.draw(&b, {5, 0}, {15, 0}, &r);
    EXPECT_EQ(count_painted(), 60);
    EXPECT_EQ(at(5, 4), ramp_pixel(g, 12));        // 0.5 of 10 pixels
    EXPECT_EQ(at(14, 9), ramp_pixel(g, 243));      // 9.5 of 10 pixels
    EXPECT_EQ(at(4, 4), PAPER);
    EXPECT_EQ(at(15, 9), PAPER);
    EXPECT_EQ(at(5, 10), PAPER);

    // The clip rectangle neither moves nor limits the fill.
    b.set_clip_rect(20, 10, 5, 5);
    std::fill(b.pixels, b.pixels + W * H, PAPER);
    const FGRect r2{0, 0, 4, 4};
    g.draw(&b, {0, 0}, {4, 0}, &r2);
    EXPECT_EQ(count_painted(), 16);
    EXPECT_NE(at(0, 0), PAPER);
    EXPECT_NE(at(3, 3), PAPER);

    // Negative sizes span back from (x, y), like the polygon they describe.
    std::fill(b.pixels, b.pixels + W * H, PAPER);
    const FGRect back{10, 10, -3, -2};
    g.draw(&b, {0, 0}, {30, 0}, &back);
    EXPECT_EQ(count_painted(), 6);
    EXPECT_NE(at(7, 8), PAPER);
    EXPECT_NE(at(9, 9), PAPER);
    EXPECT_EQ(at(10, 10), PAPER);

    // Sticking out on every side, or huge: only the array is filled.
    const FGRect outs[] = {{-5, -5, 10, 10},
                           {25, 15, 100, 100},
                           {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                           {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                           {-1000000, 3, INT_MAX, 1}};
    const int expected[] = {25, 25, 0, W * H, W};
    for (int i = 0; i < 5; i++) {
        std::fill(b.pixels, b.pixels + W * H, PAPER);
        g.draw(&b, {0, 0}, {30, 0}, &outs[i]);
        EXPECT_EQ(count_painted(), expected[i]) << "rect " << i;
        EXPECT_TRUE(guards_intact()) << "rect " << i;
    }

    // Wholly outside or empty: nothing changes.
    std::fill(b.pixels, b.pixels + W * H, PAPER);
    const FGRect none[] = {{W, 0, 5, 5}, {0, H, 5, 5}, {-5, 0, 5, 5}, {3, 3, 0, 5}, {3, 3, 5, 0}};
    for (const FGRect& n : none) g.draw(&b, {0, 0}, {30, 0}, &n);
    EXPECT_EQ(count_painted(), 0);

    // The whole array, no rectangle; then a buffer without pixels and no buffer.
    g.draw(&b, {0, 0}, {30, 0});
    EXPECT_EQ(count_painted(), W * H);
    EXPECT_TRUE(guards_intact());
    FGDrawBuffer empty(10, 10, "window", FG_TYPE_WINDOW, 0, 0);
    g.draw(&empty, {0, 0}, {1, 0});
    g.draw(nullptr, {0, 0}, {1, 0});
}
