// Raster layer: span copies and fills, raster operations, blending, glyphs,
// line clipping, the screen context and dash patterns.
#include "fgraster.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

struct Screen {
    std::vector<FGPixel> px;
    int w, h;
    Screen(int w_, int h_, FGPixel fill = 0) : px(static_cast<size_t>(w_ * h_), fill), w(w_), h(h_) {
        fg_install_default_primitives();
        fg_screen.show = nullptr;
        fg_screen.clip_changed = nullptr;
        fg_screen_attach(px.data(), w, w, h);
    }
    ~Screen() { fg_screen_attach(nullptr, 0, 0, 0); }
    FGPixel at(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
    std::string row(int y) const {
        std::string s;
        for (int x = 0; x < w; x++) s += at(x, y) ? '#' : '.';
        return s;
    }
};

FGPixel op(FGPixel d, FGPixel s, unsigned mode) {
    fg_pixel_op(&d, s, mode);
    return d;
}

TEST(RasterOp, EveryModeOfTheFillAndCopyFamily) {
    EXPECT_EQ(op(0x00F0F0F0, 0x00123456, 0), 0x00123456u);
    EXPECT_EQ(op(0x00F0F0F0, 0x000F0FFF, 1), 0x00FFFF0Fu);
    EXPECT_EQ(op(0x00F0F0F0, 0x000F0FFF, 2), 0x000000F0u);
    EXPECT_EQ(op(0x00F0F0F0, 0x000F0F0F, 3), 0x00FFFFFFu);
    EXPECT_EQ(op(0x000000FF, 0x00000001, 4), 0x00000100u);   // carry into green
    EXPECT_EQ(op(0x00000000, 0x00000001, 5), 0xFFFFFFFFu);   // plain 32-bit wrap
    EXPECT_EQ(op(0x00123456, 0x00999999, 6), 0x00EDCBA9u);   // s ignored
    EXPECT_EQ(op(16, 0xAB, 7), 0xABu);
    EXPECT_EQ(op(15, 0xAB, 7), 15u);
    EXPECT_EQ(op(5, 0, 8), 5u);        // source 0 is skipped
    EXPECT_EQ(op(5, 7, 8), 7u);
    fg_screen.transparent_key = 0x00FF00FF;
    EXPECT_EQ(op(5, 0x00FF00FF, 9), 5u);
    EXPECT_EQ(op(5, 0x00FF00FE, 9), 0x00FF00FEu);
    fg_screen.transparent_key = FG_NO_KEY;
    const unsigned limits[] = {32, 48, 64, 80};
    for (unsigned m = 10; m <= 13; m++) {
        EXPECT_EQ(op(limits[m - 10] - 1, 0xAB, m), 0xABu) << m;
        EXPECT_EQ(op(limits[m - 10], 0xAB, m), limits[m - 10]) << m;
    }
    EXPECT_EQ(op(0x10, 0x20, 14), 0x20u);
    EXPECT_EQ(op(0x30, 0x20, 14), 0x30u);
    EXPECT_EQ(op(0x30, 0x20, 15), 0x20u);   // above 14 copies
    EXPECT_EQ(op(0x30, 0x20, 200), 0x20u);
}

TEST(RasterOp, BlendWorksOnTwoChannelGroups) {
    EXPECT_EQ(fg_blend(0x000000, 0xFFFFFF, 128), 0x7F7F7Fu);
    EXPECT_EQ(fg_blend(0xFFFFFF, 0x000000, 128), 0x80807Fu);   // wrap-around rounding
    EXPECT_EQ(fg_blend(0x00FF00FF, 0x0000FF00, 255), 0x0000FF00u);
    EXPECT_EQ(fg_blend(0x00123456, 0x00123456, 77), 0x00123456u);
    EXPECT_EQ(fg_blend(0xFF123456, 0xFF123456, 200) >> 24, 0u);   // top byte cleared
}

TEST(SpanFill, ModeZeroStoresModeEightWithColourZeroChangesNothing) {
    std::vector<FGPixel> a(16, 7);
    fg_span_fill(&a[5], 2, 2, 9, 4, 0);
    EXPECT_EQ(a[5], 9u);
    EXPECT_EQ(a[6], 9u);
    EXPECT_EQ(a[9], 9u);
    EXPECT_EQ(a[10], 9u);
    EXPECT_EQ(a[7], 7u);
    fg_span_fill(a.data(), 4, 4, 0, 4, 8);
    EXPECT_EQ(a[0], 7u);
    fg_span_fill(a.data(), 4, 4, 0x10, 4, 1);
    EXPECT_EQ(a[0], 0x17u);
    fg_span_fill(a.data(), 0, 4, 1, 4, 0);   // empty: nothing
    fg_span_fill(a.data(), -3, 4, 1, 4, 0);
    EXPECT_EQ(a[0], 0x17u);
}

struct Arrays {
    std::vector<FGPixel> src, dst;
    Arrays(int n) : src(static_cast<size_t>(n * n)), dst(static_cast<size_t>(n * n), 0) {
        for (int i = 0; i < n * n; i++) src[static_cast<size_t>(i)] = static_cast<FGPixel>(i + 1);
    }
};

TEST(SpanCopy, PlainCopyShortAndLongRows) {
    Arrays a(100);
    fg_span_copy(1, 1, 100, 100, 0, 0, 100, 100, 3, 2, a.src.data(), a.dst.data(), 0, 0);
    EXPECT_EQ(a.dst[0], 102u);
    EXPECT_EQ(a.dst[2], 104u);
    EXPECT_EQ(a.dst[3], 0u);
    EXPECT_EQ(a.dst[100], 202u);
    EXPECT_EQ(a.dst[200], 0u);
    fg_span_copy(0, 0, 100, 100, 0, 0, 100, 100, 80, 1, a.src.data(), a.dst.data(), 0, 0);
    EXPECT_EQ(a.dst[79], 80u);
    EXPECT_EQ(a.dst[80], 0u);
}

TEST(SpanCopy, AreasAreCutToBothArraysWhateverTheFlags) {
    for (unsigned flags : {0u, FG_COPY_CLIP, FG_COPY_ROP, FG_COPY_BACKWARDS, 0x80u}) {
        Arrays a(4);
        // Negative destination: the cut moves the source the same amount.
        fg_span_copy(0, 0, 4, 4, -1, -2, 4, 4, 3, 3, a.src.data(), a.dst.data(), flags, 0);
        if (!(flags & 0xFF)) {
            EXPECT_EQ(a.dst[0], 10u) << flags;   // source (1, 2)
            EXPECT_EQ(a.dst[1], 11u) << flags;
            EXPECT_EQ(a.dst[2], 0u) << flags;
            EXPECT_EQ(a.dst[4], 0u) << flags;   // only one source row is left
        }
        // Huge and negative areas and positions never touch outside.
        fg_span_copy(2, 2, 4, 4, 3, 3, 4, 4, INT_MAX, INT_MAX, a.src.data(), a.dst.data(), flags, 1);
        fg_span_copy(INT_MIN, INT_MIN, 4, 4, INT_MAX, 0, 4, 4, INT_MAX, INT_MAX, a.src.data(),
                     a.dst.data(), flags, 1);
        fg_span_copy(-5, 0, 4, 4, 0, 0, 4, 4, 5, 1, a.src.data(), a.dst.data(), flags, 1);
        fg_span_copy(4, 0, 4, 4, 0, 0, 4, 4, 1, 1, a.src.data(), a.dst.data(), flags, 1);
    }
}

TEST(SpanCopy, BackwardsCopiesOverlappingAreasOfOneArray) {
    std::vector<FGPixel> a(25);
    for (int i = 0; i < 25; i++) a[static_cast<size_t>(i)] = static_cast<FGPixel>(i);
    fg_span_copy(0, 0, 5, 5, 1, 1, 5, 5, 4, 4, a.data(), a.data(), FG_COPY_BACKWARDS | 0x220, 3);
    EXPECT_EQ(a[6], 0u);
    EXPECT_EQ(a[24], 18u);
    EXPECT_EQ(a[12], 6u);
}

TEST(SpanCopy, RopAndBlendWithTheTransparentKey) {
    FGPixel src[4] = {0, 5, 0x00FF00FF, 0x00FFFFFF};
    FGPixel dst[4] = {1, 1, 1, 0};
    fg_span_copy(0, 0, 4, 1, 0, 0, 4, 1, 4, 1, src, dst, FG_COPY_ROP, 8);
    EXPECT_EQ(dst[0], 1u);   // source 0 skipped in mode 8
    EXPECT_EQ(dst[1], 5u);
    fg_screen.transparent_key = 0x00FF00FF;
    FGPixel d2[4] = {0, 0, 0x10, 0};
    fg_span_copy(0, 0, 4, 1, 0, 0, 4, 1, 4, 1, src, d2, 0x80, 8);
    EXPECT_EQ(d2[2], 0x10u);                         // key skipped
    EXPECT_EQ(d2[3], fg_blend(0, 0x00FFFFFF, 0x80));
    FGPixel d3[4] = {0, 0, 0x10, 0};
    fg_span_copy(0, 0, 4, 1, 0, 0, 4, 1, 4, 1, src, d3, 0x80, 0);
    EXPECT_EQ(d3[2], fg_blend(0x10, 0x00FF00FF, 0x80));   // other modes blend the key
    // Blend takes precedence over the raster operation.
    FGPixel d4[1] = {0};
    fg_span_copy(3, 0, 4, 1, 0, 0, 1, 1, 1, 1, src, d4, 0x80 | FG_COPY_ROP, 1);
    EXPECT_EQ(d4[0], 0x7F7F7Fu);
    fg_screen.transparent_key = FG_NO_KEY;
}

// The keyed copies run four words at a time: every length and offset leaves
// exactly what a word-by-word copy leaves, and overlapping rows go word by word.
TEST(SpanCopy, KeyedCopiesMatchTheWordRuleAtEveryLength) {
    const FGPixel key = 0x00FF00FF;
    fg_screen.transparent_key = key;
    for (unsigned mode : {8u, 9u}) {
        const FGPixel skip = mode == 8 ? 0 : key;
        for (int n = 0; n <= 11; n++) {
            for (int at = 0; at < 3; at++) {
                std::vector<FGPixel> src(16), dst(16), want(16);
                for (int i = 0; i < 16; i++) {
                    src[i] = (i * 7 + n) % 3 == 0 ? skip : 0x00100000u * i + static_cast<FGPixel>(n);
                    dst[i] = want[i] = 0x00000100u * i + 1;
                }
                for (int i = 0; i < n; i++)
                    if (src[i] != skip) want[at + i] = src[i];
                fg_sw_copy_rop(dst.data() + at, src.data(), n, mode);
                EXPECT_EQ(dst, want) << "mode " << mode << " n " << n << " at " << at;
            }
        }
    }
    // One row copied onto itself a word further on: each word sees the one just written.
    FGPixel row[9] = {1, 2, key, 4, 5, 6, 7, 8, 9};
    fg_sw_copy_rop(row + 1, row, 8, 9);
    const FGPixel want[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (int i = 0; i < 9; i++) EXPECT_EQ(row[i], want[i]) << i;
    fg_screen.transparent_key = FG_NO_KEY;
}

TEST(Glyph, InkWhereMaskedPaperElsewhere) {
    const uint32_t masks[8] = {~0u, 0, 0, ~0u, 0, ~0u, ~0u, 0};
    std::vector<FGPixel> row(12, 9);
    fg_glyph_expand(row.data(), masks, 6, 4, 2, 0xAA, 0x55);
    const FGPixel want[12] = {0xAA, 0x55, 0x55, 0xAA, 9, 9, 0x55, 0xAA, 0xAA, 0x55, 9, 9};
    for (int i = 0; i < 12; i++) EXPECT_EQ(row[static_cast<size_t>(i)], want[i]) << i;
    fg_glyph_expand(row.data(), nullptr, 6, 4, 1, 0xAA, 0x55);   // no glyph: paper cell
    EXPECT_EQ(row[0], 0x55u);
}

TEST(LineClip, CohenSutherlandWithInclusiveBounds) {
    int x1 = -10, y1 = 5, x2 = 20, y2 = 5;
    ASSERT_EQ(fg_clip_line(&x1, &y1, &x2, &y2, 0, 0, 9, 9), 1);
    EXPECT_EQ(x1, 0);
    EXPECT_EQ(x2, 9);
    x1 = -4; y1 = -4; x2 = 4; y2 = 4;
    ASSERT_EQ(fg_clip_line(&x1, &y1, &x2, &y2, 0, 0, 9, 9), 1);
    EXPECT_EQ(x1, 0);
    EXPECT_EQ(y1, 0);
    x1 = -5; y1 = -5; x2 = -1; y2 = 20;
    EXPECT_EQ(fg_clip_line(&x1, &y1, &x2, &y2, 0, 0, 9, 9), 0);
    // Truncating intersection: y = 0 + (0 - -3) * 10 / 7 = 4.
    x1 = -3; y1 = 0; x2 = 7; y2 = 10;
    ASSERT_EQ(fg_clip_line(&x1, &y1, &x2, &y2, 0, 0, 9, 9), 1);
    EXPECT_EQ(y1, 3);
    x1 = INT_MIN; y1 = INT_MIN; x2 = INT_MAX; y2 = INT_MAX;
    ASSERT_EQ(fg_clip_line(&x1, &y1, &x2, &y2, 0, 0, 9, 9), 1);
    EXPECT_EQ(x1, 0);
    EXPECT_EQ(x2, 9);
    EXPECT_EQ(y2, 9);
}

int shown[4];
int clip_notified[4];

TEST(Screen, BufferAtANegativePositionShowsOnlyTheInsidePart) {
    Screen s(6, 4);
    fg_screen.show = [](int x, int y, int w, int h) {
        shown[0] = x; shown[1] = y; shown[2] = w; shown[3] = h;
    };
    FGPixel buf[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    fg_buffer_to_screen(buf, 0, 0, -1, -2, 3, 3, 3, 3, 0, 0);
    EXPECT_EQ(s.at(0, 0), 8u);
    EXPECT_EQ(s.at(1, 0), 9u);
    EXPECT_EQ(s.at(2, 0), 0u);
    EXPECT_EQ(s.at(0, 1), 0u);
    EXPECT_EQ(shown[0], 0);
    EXPECT_EQ(shown[2], 2);
    EXPECT_EQ(shown[3], 1);
    // The clip's left and top move the buffer position too.
    fg_set_screen_clip(3, 2, 2, 1);
    fg_buffer_to_screen(buf, 0, 0, 1, 0, 3, 3, 3, 3, 0, 0);
    EXPECT_EQ(s.at(2, 1), 5u);
    EXPECT_EQ(s.at(3, 1), 6u);
    EXPECT_EQ(s.at(2, 2), 8u);
    EXPECT_EQ(s.at(1, 1), 0u);
    EXPECT_EQ(s.at(2, 0), 0u);
}

TEST(Screen, FlagsSelectTheRowCopyAndUnknownOnesCopyNothing) {
    Screen s(2, 1, 0x10);
    FGPixel buf[2] = {0x01, 0x02};
    fg_buffer_to_screen(buf, 0, 0, 0, 0, 2, 1, 2, 1, 0x600, 0);
    EXPECT_EQ(s.at(0, 0), 0x10u);
    fg_buffer_to_screen(buf, 0, 0, 0, 0, 2, 1, 2, 1, 0x200, 3);
    EXPECT_EQ(s.at(0, 0), 0x11u);
    FGPixel white[2] = {0xFFFFFF, 0xFFFFFF};
    fg_buffer_to_screen(white, 0, 0, 0, 0, 2, 1, 2, 1, 0x480, 0);
    EXPECT_EQ(s.at(1, 0), fg_blend(0x12, 0xFFFFFF, 0x80));
    const FGPixel before = s.at(0, 0);
    // Outside the buffer or the clip: nothing.
    fg_buffer_to_screen(buf, 2, 0, 0, 0, 2, 1, 2, 1, 0, 0);
    fg_buffer_to_screen(buf, 0, 0, 2, 0, INT_MAX, INT_MAX, 2, 1, 0, 0);
    fg_buffer_to_screen(buf, 0, 0, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 2, 1, 0, 0);
    EXPECT_EQ(s.at(0, 0), before);
}

// A window's rows that the screen already holds are not shown again: the band
// from the first to the last changed row is, and an unchanged frame shows nothing.
TEST(Screen, OnlyTheBandOfChangedRowsIsShown) {
    struct Case {
        const char* name;
        int changedRows[2];  // first and last row changed, -1: none
        int shownY, shownH;  // -1: nothing shown
    };
    const Case cases[] = {
        {"nothing changed", {-1, -1}, -1, -1},
        {"one row", {3, 3}, 3, 1},
        {"two rows apart", {1, 5}, 1, 5},
        {"first and last", {0, 7}, 0, 8},
    };
    for (const Case& c : cases) {
        Screen s(4, 8, 0x20);
        std::vector<FGPixel> buf(4 * 8, 0x20);
        for (int r : c.changedRows)
            if (r >= 0) buf[static_cast<size_t>(r * 4 + 2)] = 0x30;
        shown[0] = shown[1] = shown[2] = shown[3] = -1;
        fg_screen.show = [](int x, int y, int w, int h) {
            shown[0] = x; shown[1] = y; shown[2] = w; shown[3] = h;
        };
        fg_buffer_to_screen(buf.data(), 0, 0, 0, 0, 4, 8, 4, 8, 0, 0);
        EXPECT_EQ(shown[1], c.shownY) << c.name;
        EXPECT_EQ(shown[3], c.shownH) << c.name;
        if (c.shownY >= 0) {
            EXPECT_EQ(shown[0], 0) << c.name;
            EXPECT_EQ(shown[2], 4) << c.name;
        }
        EXPECT_EQ(s.px, buf) << c.name;
    }
    fg_screen.show = nullptr;
}

TEST(Screen, ScreenToBufferCutsToClipAndBuffer) {
    Screen s(4, 4);
    for (int i = 0; i < 16; i++) s.px[static_cast<size_t>(i)] = static_cast<FGPixel>(i);
    FGPixel buf[4] = {};
    fg_screen_to_buffer(buf, -1, 2, 0, 0, 3, 5, 2, 2);
    EXPECT_EQ(buf[0], 0u);
    EXPECT_EQ(buf[1], 8u);
    EXPECT_EQ(buf[3], 12u);
    fg_screen_to_buffer(buf, 0, 0, -1, 0, 2, 2, 2, 2);   // negative buffer position
    EXPECT_EQ(buf[1], 8u);
}

TEST(Screen, ClipFillOutlineAndClear) {
    Screen s(6, 4);
    fg_screen.clip_changed = [](int l, int t, int r, int b) {
        clip_notified[0] = l; clip_notified[1] = t; clip_notified[2] = r; clip_notified[3] = b;
    };
    fg_set_screen_clip(4, 10, -2, 1);
    EXPECT_EQ(clip_notified[0], 0);
    EXPECT_EQ(clip_notified[1], 1);
    EXPECT_EQ(clip_notified[2], 2);
    EXPECT_EQ(clip_notified[3], 4);
    fg_screen_fill(-5, -5, 100, 100, 1, 0);
    EXPECT_EQ(s.row(0), "......");
    EXPECT_EQ(s.row(1), "##....");
    EXPECT_EQ(s.row(3), "##....");
    fg_set_screen_clip(6, 4, 0, 0);
    fg_screen_clear(0);
    fg_screen_box(1, 0, 4, 3, 1, 0);
    EXPECT_EQ(s.row(0), ".####.");
    EXPECT_EQ(s.row(1), ".#..#.");
    EXPECT_EQ(s.row(2), ".####.");
    EXPECT_EQ(s.row(3), "......");
    fg_screen_box(INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1, 0);
    fg_screen.line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 2, 0);
    EXPECT_EQ(s.at(0, 0), 2u);
    EXPECT_EQ(s.at(3, 3), 2u);
    fg_sw_hline(0, 3, 2, 3, 0);   // the run reaches x + w
    EXPECT_EQ(s.row(3), "####..");
    fg_screen.clip_changed = nullptr;
}

TEST(Dash, PatternedRectangleContinuesRoundTheCorners) {
    Screen s(4, 3);
    fg_pattern_rect(0, 0, 4, 3, 1, 1);
    EXPECT_EQ(s.row(0), ".#.#");
    EXPECT_EQ(s.row(1), "#..." );
    EXPECT_EQ(s.row(2), ".#.#");
    EXPECT_EQ(s.at(3, 1), 0u);
    // The top edge restarts the pattern: the same rectangle again is unchanged.
    fg_pattern_rect(0, 0, 4, 3, 1, 1);
    EXPECT_EQ(s.row(0), ".#.#");
    EXPECT_EQ(s.row(1), "#...");
}

TEST(Dash, BuiltPatterns) {
    EXPECT_EQ(fg_dash[2].length, 9);
    EXPECT_EQ(fg_dash[3].length, 15);
    EXPECT_EQ(fg_dash[3].entries[14], 1);
    Screen s(12, 1);
    FGDashPattern* p = &fg_dash[4];
    p->position = 0;
    fg_pattern_line(0, 0, 11, 0, p, 1);
    EXPECT_EQ(s.row(0), "....####....");
    fg_pattern_line(0, 0, 40000, 0, p, 2);   // refused
    EXPECT_EQ(s.at(4, 0), 1u);
    fg_pattern_rect(0, 0, 4, 1, 9, 1);      // unknown pattern
}

int64_t fake_seconds = 1000;
int fake_ms = 500;

TEST(Elapsed, FirstCallAndClockSetBackGiveZero) {
    fg_set_elapsed_clock([](int64_t* s, int* ms) {
        *s = fake_seconds;
        *ms = fake_ms;
    });
    EXPECT_EQ(fg_elapsed_ms(), 0);
    fake_seconds = 1002;
    fake_ms = 100;
    EXPECT_EQ(fg_elapsed_ms(), 1600);
    fake_seconds = 900;
    EXPECT_EQ(fg_elapsed_ms(), 0);
    fake_seconds = 901;
    EXPECT_EQ(fg_elapsed_ms(), 1000);
    fg_set_elapsed_clock(nullptr);
}

TEST(Identity, VersionAreaAndErrorPrint) {
    EXPECT_STREQ(fg_version(), "5.5.14.1412");
    EXPECT_EQ(areasize(3, 5), 60u);
    EXPECT_EQ(areasize(-3, 5), 0u);
    EXPECT_EQ(areasize(65536, 65536), 65536ull * 65536ull * 4ull);
    fg_bytes_per_pixel = 1;
    EXPECT_EQ(fg_replicate_colour(0x12345678), 0x78787878u);
    fg_bytes_per_pixel = 2;
    EXPECT_EQ(fg_replicate_colour(0x12345678), 0x56785678u);
    fg_bytes_per_pixel = 4;
    testing::internal::CaptureStderr();
    fg_error_print("disk gone", 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Velvix ERROR: disk gone\n");
    EXPECT_DEATH(fg_error_print("stop", 1), "Velvix ERROR: stop");
}

}  // namespace
