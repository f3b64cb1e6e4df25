// Drawing buffer: pixel-exact primitives on small buffers, clipping at every
// edge, raster-operation modes, transparent keys, copies and text.
#include "fgdrawbuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "fgfontmanager.h"

namespace {

constexpr FGPixel INK = 0x00FFFFFF;

// Rows as text: '.' for 0, '#' for the ink, '?' for anything else.
std::string rows(const FGDrawBuffer& b) {
    std::string s;
    for (int y = 0; y < b.height; y++) {
        for (int x = 0; x < b.width; x++) {
            const FGPixel p = b.pixels[y * b.width + x];
            s += p == 0 ? '.' : p == INK ? '#' : '?';
        }
        s += '\n';
    }
    return s;
}

FGPixel at(const FGDrawBuffer& b, int x, int y) { return b.pixels[y * b.width + x]; }

struct Buf : FGDrawBuffer {
    Buf(int w, int h, FGPixel fill = 0) : FGDrawBuffer(w, h, FG_TYPE_BITMAP, fill) {
        set_ink(INK);
        set_paper(0);
    }
};

TEST(Construction, FieldsAndPixelArrays) {
    FGDrawBuffer a(4, 3, "panel", FG_TYPE_PANEL, 0x123456, 0x654321);
    FGDrawBuffer b(2, 2, FG_TYPE_BITMAP, 0xABCDEF);
    EXPECT_EQ(b.id, a.id + 1);
    EXPECT_EQ(a.argument, -1);
    EXPECT_EQ(a.receiver, nullptr);
    EXPECT_EQ(a.flags, 0x1010u);
    EXPECT_EQ(a.clip_w, 4);
    EXPECT_EQ(a.clip_h, 3);
    EXPECT_EQ(a.pixels, nullptr);
    EXPECT_STREQ(a.name, "panel");
    EXPECT_EQ(a.get_ink(), 0x123456u);
    EXPECT_EQ(a.get_paper(), 0x654321u);
    EXPECT_EQ(a.get_font(), 2);   // the built-in fonts are registered first
    EXPECT_EQ(a.get_colorkey(), FG_NO_KEY);
    EXPECT_EQ(a.get_line_width(), 1);
    EXPECT_EQ(a.saved, 0);
    EXPECT_STREQ(b.name, "");
    EXPECT_EQ(b.get_ink(), 0xABCDEFu);
    EXPECT_EQ(b.get_paper(), 0xFFFFFFu);
    EXPECT_EQ(at(b, 1, 1), 0xABCDEFu);
    FGDrawBuffer none(0, 5, FG_TYPE_BITMAP, 1);
    EXPECT_EQ(none.pixels, nullptr);
    EXPECT_EQ(none.fillbox(0, 0, 5, 5, 1), 0);
    EXPECT_EQ(none.pixel(0, 0, 1), 0);
    FGPixel mine[4] = {7, 7, 7, 7};
    {
        FGDrawBuffer foreign(2, 2, FG_TYPE_FOREIGN, 0, mine);
        foreign.pixel(1, 1, 9);
        foreign.resize(1, 1);   // an array that belongs elsewhere stays
        EXPECT_EQ(foreign.pixels, mine);
    }
    EXPECT_EQ(mine[3], 9u);   // not freed, written in place
    FGDrawBuffer screen(8, 8, FG_TYPE_SCREEN, 0);
    EXPECT_EQ(screen.pixels, nullptr);   // the driver hands the screen its array
    screen.resize(2, 2);
    EXPECT_EQ(screen.pixels, nullptr);
    b.set_name("renamed");
    EXPECT_STREQ(b.name, "renamed");
}

TEST(Construction, ResizeRules) {
    Buf b(3, 3);
    FGPixel* before = b.pixels;
    b.resize(0, 0);
    EXPECT_EQ(b.pixels, before);
    b.resize(-3, 0);
    EXPECT_EQ(b.width, 3);
    b.resize(INT_MAX, 0);
    EXPECT_EQ(b.width, 3);
    b.resize(2, -1);
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.height, 2);
    EXPECT_EQ(b.clip_w, 5);
    EXPECT_EQ(b.clip_h, 2);
    b.clear(0);
    EXPECT_EQ(b.fillbox(0, 0, 100, 100, INK), 1);
    EXPECT_EQ(rows(b), "#####\n#####\n");
    FGDrawBuffer empty(4, 4, "w", FG_TYPE_WINDOW, 0, 0);
    empty.resize(0, 0);   // no array yet: one is made
    ASSERT_NE(empty.pixels, nullptr);
    empty.clear(5);
    EXPECT_EQ(at(empty, 3, 3), 5u);
}

TEST(Pixel, ClipOriginDefaultColourAndEdges) {
    Buf b(4, 3);
    b.set_clip_rect(1, 1, 2, 2);
    EXPECT_EQ(b.pixel(0, 0), 1);   // -1: ink
    EXPECT_EQ(at(b, 1, 1), INK);
    EXPECT_EQ(b.pixel(-1, 0, INK), 0);
    EXPECT_EQ(b.pixel(2, 0, INK), 0);
    EXPECT_EQ(b.pixel(0, 2, INK), 0);
    EXPECT_EQ(b.pixel(0, -1, INK), 0);
    EXPECT_EQ(b.pixel(INT_MAX, INT_MAX, INK), 0);
    EXPECT_EQ(b.pixel(INT_MIN, INT_MIN, INK), 0);
    EXPECT_EQ(rows(b), "....\n.#..\n....\n");
    // A clip rectangle wider than the array is cut to it.
    b.set_clip_rect(-2, -2, 100, 100);
    EXPECT_EQ(b.pixel(2, 2, INK), 1);
    EXPECT_EQ(b.pixel(1, 1, INK), 0);
    EXPECT_EQ(b.pixel(7, 2, INK), 0);
    EXPECT_EQ(at(b, 0, 0), INK);
}

TEST(Pixel, SingleColourModesTestTheDestination) {
    Buf b(3, 1);
    b.pixels[1] = 5;
    b.pixels[2] = 0x12345678;
    b.set_mode(8);
    b.pixel(0, 0, 9);
    b.pixel(1, 0, 9);
    EXPECT_EQ(at(b, 0, 0), 0u);   // only where the destination is not 0
    EXPECT_EQ(at(b, 1, 0), 9u);
    b.set_mode(9);   // not where the destination holds the current key
    b.pixel(2, 0, 3);
    b.pixel(0, 0, 3);
    EXPECT_EQ(at(b, 2, 0), 0x12345678u);
    EXPECT_EQ(at(b, 0, 0), 3u);
    b.set_mode(1);
    b.hline(0, 0, 3, 1);
    EXPECT_EQ(at(b, 0, 0), 2u);
    b.set_mode(12);
    b.hline(0, 0, 3, 0xFF);
    EXPECT_EQ(at(b, 0, 0), 0xFFu);
    EXPECT_EQ(at(b, 1, 0), 0xFFu);
    EXPECT_EQ(at(b, 2, 0), 0x12345679u);
}

TEST(Runs, ClippedAtEveryEdge) {
    Buf b(5, 4);
    EXPECT_EQ(b.hline(-3, 0, 5, INK), 1);
    EXPECT_EQ(b.hline(3, 1, 100, INK), 1);
    EXPECT_EQ(b.hline(INT_MIN, 2, INT_MAX, INK), 0);
    EXPECT_EQ(b.hline(-2, 3, INT_MAX, INK), 1);
    EXPECT_EQ(b.hline(0, 4, 5, INK), 0);
    EXPECT_EQ(b.hline(0, -1, 5, INK), 0);
    EXPECT_EQ(b.hline(5, 0, 5, INK), 0);
    EXPECT_EQ(b.hline(0, 0, 0, INK), 0);
    EXPECT_EQ(b.hline(0, 0, -4, INK), 0);
    EXPECT_EQ(rows(b), "##...\n...##\n.....\n#####\n");
    b.clear(0);
    EXPECT_EQ(b.vline(0, -2, 3, INK), 1);
    EXPECT_EQ(b.vline(4, 2, INT_MAX, INK), 1);
    EXPECT_EQ(b.vline(-1, 0, 4, INK), 0);
    EXPECT_EQ(b.vline(2, INT_MAX, INT_MAX, INK), 0);
    EXPECT_EQ(rows(b), "#....\n.....\n....#\n....#\n");
}

TEST(Boxes, OutlineAndFillClipped) {
    Buf b(6, 5);
    EXPECT_EQ(b.box(1, 1, 4, 3, INK), 1);
    EXPECT_EQ(rows(b), "......\n.####.\n.#..#.\n.####.\n......\n");
    EXPECT_EQ(b.box(100, 100, 3, 3, INK), 1);   // always 1
    EXPECT_EQ(b.box(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INK), 1);
    b.clear(0);
    b.set_clip_rect(1, 1, 4, 3);
    EXPECT_EQ(b.fillbox(-1, -1, 3, 10, INK), 1);
    EXPECT_EQ(b.fillbox(3, 2, 50, 50), 1);
    EXPECT_EQ(b.fillbox(4, 0, 1, 1, INK), 0);
    EXPECT_EQ(b.fillbox(0, 3, 1, 1, INK), 0);
    EXPECT_EQ(b.fillbox(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INK), 0);
    EXPECT_EQ(b.fillbox(-5, -5, INT_MAX, INT_MAX, INK), 1);
    EXPECT_EQ(b.fillbox(0, 0, 0, 3, INK), 0);
    EXPECT_EQ(rows(b), "......\n.####.\n.####.\n.####.\n......\n");
}

TEST(Boxes, FillAndCopyModes) {
    Buf b(3, 1, 0x40);
    b.set_mode(8);
    EXPECT_EQ(b.fillbox(0, 0, 3, 1, 0), 1);   // colour 0 changes nothing
    EXPECT_EQ(at(b, 0, 0), 0x40u);
    b.set_mode(4);
    b.fillbox(0, 0, 1, 1, 0xC0);
    EXPECT_EQ(at(b, 0, 0), 0x100u);
    b.set_mode(6);
    b.fillbox(1, 0, 1, 1, 0);
    EXPECT_EQ(at(b, 1, 0), 0xFFFFBFu);
    b.set_mode(14);
    b.fillbox(2, 0, 1, 1, 0x30);
    EXPECT_EQ(at(b, 2, 0), 0x40u);
    fg_screen.transparent_key = 0x77;
    b.set_mode(9);
    b.fillbox(2, 0, 1, 1, 0x77);   // the source is the key: skipped
    EXPECT_EQ(at(b, 2, 0), 0x40u);
    fg_screen.transparent_key = FG_NO_KEY;
}

TEST(Lines, BresenhamShapeAndPen) {
    Buf b(6, 3);
    EXPECT_EQ(b.line(5, 2, 0, 0, INK), 1);
    EXPECT_EQ(rows(b), "##....\n..##..\n....##\n");
    EXPECT_EQ(fg_pen_x, 0);
    EXPECT_EQ(fg_pen_y, 0);
    b.clear(0);
    EXPECT_EQ(b.line(0, 0, 40000, 0, INK), 0);   // refused, pen still moves
    EXPECT_EQ(fg_pen_x, 40000);
    EXPECT_EQ(b.line(0, -32001, 0, 0, INK), 0);
    EXPECT_EQ(rows(b), "......\n......\n......\n");
    // Clipped at every edge, within the clip rectangle.
    b.set_clip_rect(1, 0, 4, 3);
    EXPECT_EQ(b.line(-10, 1, 30, 1, INK), 0);   // last pixel outside
    EXPECT_EQ(rows(b), "......\n.####.\n......\n");
    EXPECT_EQ(b.line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INK), 0);
    EXPECT_EQ(b.line(-5, -5, -1, -1, INK), 0);
    b.set_clip_rect(0, 0, 6, 3);
    b.clear(0);
    EXPECT_EQ(b.line(2, -5, 2, 100, INK), 0);
    EXPECT_EQ(rows(b), "..#...\n..#...\n..#...\n");
}

TEST(Lines, WidthThreeIsFourPixelsAcross) {
    Buf b(5, 7);
    b.set_line_width(3);
    b.line(0, 3, 4, 3, INK);
    EXPECT_EQ(rows(b), ".....\n#####\n#####\n#####\n#####\n.....\n.....\n");
    b.clear(0);
    b.line(2, 0, 2, 6, INK);   // y-major: runs across x
    EXPECT_EQ(rows(b), "####.\n####.\n####.\n####.\n####.\n####.\n####.\n");
    b.set_line_width(INT_MAX);
    EXPECT_EQ(b.line(0, 0, 4, 0, INK), 0);   // the last pixel of the run lies outside
    EXPECT_EQ(rows(b), "#####\n#####\n#####\n#####\n#####\n#####\n#####\n");
}

TEST(Lines, XorPolylineKeepsVerticesAndUndoes) {
    Buf b(5, 5);
    b.set_mode(1);
    FGPoint tri[3] = {{0, 0}, {4, 0}, {4, 4}};
    FGPointArray pa(3, tri);
    EXPECT_EQ(b.polyline(pa, INK), 1);
    EXPECT_EQ(at(b, 0, 0), INK);
    EXPECT_EQ(at(b, 4, 0), INK);
    EXPECT_EQ(at(b, 4, 4), INK);
    EXPECT_EQ(rows(b), "#####\n.#..#\n..#.#\n...##\n....#\n");
    // The same XOR line twice restores everything.
    Buf c(5, 5);
    c.set_mode(1);
    c.line(0, 0, 4, 2, INK);
    c.line(0, 0, 4, 2, INK);
    EXPECT_EQ(rows(c), ".....\n.....\n.....\n.....\n.....\n");
}

TEST(Lines, PolylineCounts) {
    Buf b(5, 3);
    FGPoint one[1] = {{1, 1}};
    FGPointArray p1(1, one);
    EXPECT_EQ(b.polyline(p1, INK), 0);
    FGPointArray p0;
    EXPECT_EQ(b.polyline(p0, INK), -1);
    EXPECT_EQ(rows(b), ".....\n.....\n.....\n");
    FGPoint two[2] = {{0, 1}, {4, 1}};
    FGPointArray p2(2, two);
    b.set_mode(1);   // there and back: the middle cancels, the ends stay
    b.polyline(p2, INK);
    EXPECT_EQ(rows(b), ".....\n#...#\n.....\n");
    b.set_mode(0);
    b.clear(0);
    FGPoint closed[4] = {{0, 0}, {4, 0}, {4, 2}, {0, 0}};
    FGPointArray p4(4, closed);
    b.set_mode(1);
    b.polyline(p4, INK);
    FGPoint open3[3] = {{0, 0}, {4, 0}, {4, 2}};
    FGPointArray p3(3, open3);
    b.polyline(p3, INK);   // the same figure, closed by polyline itself
    EXPECT_EQ(at(b, 2, 0), 0u);
    EXPECT_EQ(at(b, 4, 1), 0u);
}

TEST(Circles, MidpointShapeAndRefusals) {
    Buf b(7, 7);
    EXPECT_EQ(b.circle(3, 3, 0, INK), 0);
    EXPECT_EQ(b.circle(3, 3, -2, INK), 0);
    EXPECT_EQ(b.circle(-3, 3, 2, INK), 0);
    EXPECT_EQ(b.circle(3, 9, 2, INK), 0);
    EXPECT_EQ(b.circle(3, 3, 3, INK), 1);
    EXPECT_EQ(rows(b),
              "..###..\n"
              ".#...#.\n"
              "#.....#\n"
              "#.....#\n"
              "#.....#\n"
              ".#...#.\n"
              "..###..\n");
    b.clear(0);
    EXPECT_EQ(b.fillcircle(3, 3, 3, INK), 1);
    EXPECT_EQ(rows(b),
              "..###..\n"
              ".#####.\n"
              "#######\n"
              "#######\n"
              "#######\n"
              ".#####.\n"
              "..###..\n");
    EXPECT_EQ(b.fillcircle(3, 3, 0, INK), 0);
    // Huge radii: nothing out of bounds, and quickly.
    b.clear(0);
    EXPECT_EQ(b.circle(3, 3, INT_MAX, INK), 1);
    EXPECT_EQ(rows(b).find('#'), std::string::npos);
    EXPECT_EQ(b.fillcircle(3, 3, INT_MAX, INK), 1);
    EXPECT_EQ(rows(b).find('.'), std::string::npos);
    b.clear(0);
    EXPECT_EQ(b.fillcircle(INT_MIN, INT_MIN, INT_MAX, INK), 0);
    EXPECT_EQ(b.circle(INT_MAX, INT_MAX, INT_MAX, INK), 1);
}

TEST(Circles, ArcQuarterCounterClockwise) {
    Buf b(9, 9);
    EXPECT_EQ(b.arc(4, 4, 0.0, M_PI / 2, 4, INK), 1);
    // From (8, 4) up to (4, 0), upper right only.
    EXPECT_EQ(at(b, 8, 4), INK);
    EXPECT_EQ(at(b, 4, 0), INK);
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 9; x++)
            if (at(b, x, y) == INK) {
                EXPECT_GE(x, 4);
                EXPECT_LE(y, 4);
                const double d = std::hypot(x - 4, y - 4);
                EXPECT_NEAR(d, 4.0, 0.8);
            }
    // angle1 > angle2 in one quadrant goes round: the lower half is drawn too.
    Buf c(9, 9);
    c.arc(4, 4, 1.2, 0.3, 4, INK);
    EXPECT_EQ(at(c, 4, 8), INK);
    EXPECT_EQ(at(c, 0, 4), INK);
    EXPECT_EQ(c.arc(4, 4, NAN, 1.0, 4, INK), 0);
    EXPECT_EQ(c.arc(4, 4, 0, INFINITY, 4, INK), 0);
    EXPECT_EQ(c.arc(4, 4, 0, 1.0, 0, INK), 0);
    EXPECT_EQ(c.arc(4, 4, 0, 1.0, INT_MAX, INK), 0);
}

// The midpoint recurrence itself, drawn pair by pair.
void oracle_circle(FGDrawBuffer& b, int x, int y, int r, bool fill) {
    int64_t i = 0, j = r, d = 3 - 2 * static_cast<int64_t>(r);
    auto step = [&](int a, int c) {
        if (fill) {
            b.hline(x - a, y + c, 2 * a + 1); b.hline(x - a, y - c, 2 * a + 1);
            b.hline(x - c, y + a, 2 * c + 1); b.hline(x - c, y - a, 2 * c + 1);
        } else {
            b.pixel(x + a, y + c); b.pixel(x - a, y + c); b.pixel(x + a, y - c); b.pixel(x - a, y - c);
            b.pixel(x + c, y + a); b.pixel(x - c, y + a); b.pixel(x + c, y - a); b.pixel(x - c, y - a);
        }
    };
    while (j > i) {
        step(static_cast<int>(i), static_cast<int>(j));
        if (d < 0) {
            d += 4 * i + 6;
        } else {
            d += 4 * i + 10 - 4 * j;
            j--;
        }
        i++;
    }
    if (i == j) step(static_cast<int>(i), static_cast<int>(j));
}

TEST(Circles, LargeRadiiMatchTheMidpointRecurrence) {
    for (int r : {23, 4097, 5000, 77777, 100003}) {
        const int diag = static_cast<int>(r / std::sqrt(2.0));
        const int centres[][2] = {{4 - r, 4}, {4, 4 + r}, {4 - diag, 4 - diag}, {diag, 5 + diag},
                                  {4, 4}, {r + 2, 3}};
        for (const auto& c : centres)
            for (bool fill : {false, true}) {
                Buf got(9, 9), want(9, 9);
                got.set_mode(1);   // XOR: every repeated run shows
                want.set_mode(1);
                if (fill)
                    got.fillcircle(c[0], c[1], r, INK);
                else
                    got.circle(c[0], c[1], r, INK);
                oracle_circle(want, c[0], c[1], r, fill);
                EXPECT_EQ(rows(got), rows(want)) << "r " << r << " centre " << c[0] << "," << c[1]
                                                 << (fill ? " filled" : "");
            }
    }
}

TEST(Circles, HugeArcCrossingTheBufferMatchesTheCircle) {
    // Centre far to the left: the visible part is a near-vertical stretch.
    const int r = 1000000000;
    Buf b(9, 9);
    EXPECT_EQ(b.arc(-r + 4, 4, -0.5, 0.5, r, INK), 1);
    for (int y = 0; y < 9; y++) EXPECT_EQ(at(b, 4, y), INK) << y;
    EXPECT_EQ(b.arc(-r + 4, 4, 0.5, 1.0, r, INK), 0);   // the part above misses
    // A smaller radius agrees with the plain walk near the buffer.
    Buf c(40, 40);
    c.arc(20, -180, -M_PI, 0.0, 200, INK);   // crosses after a long walk far outside
    for (int x = 0; x < 40; x++) {
        const double dy = std::sqrt(200.0 * 200.0 - (x - 20) * (x - 20));
        const int y = static_cast<int>(std::lround(-180 + dy));
        if (y >= 0 && y < 40) {
            EXPECT_EQ(at(c, x, y), INK) << x;
        }
    }
}

TEST(Polygon, FilledShapesAndBounds) {
    Buf b(6, 5);
    FGPoint sq[4] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}};
    FGPointArray pa(4, sq);
    FGRect r = b.fillpolygon(pa, INK);
    EXPECT_EQ(rows(b), "......\n.####.\n.####.\n.####.\n......\n");
    EXPECT_EQ(r.x, 1);
    EXPECT_EQ(r.y, 1);
    EXPECT_EQ(r.w, 3);
    EXPECT_EQ(r.h, 2);
    // The first point repeated at the end fills the same area.
    Buf c(6, 5);
    FGPoint sq5[5] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}, {1, 1}};
    FGPointArray pb(5, sq5);
    c.fillpolygon(pb, INK);
    EXPECT_EQ(rows(c), rows(b));
}

TEST(Polygon, DiamondHasNoHoleAtItsSideVertices) {
    Buf b(7, 7);
    FGPoint d[4] = {{3, 0}, {6, 3}, {3, 6}, {0, 3}};
    FGPointArray pa(4, d);
    b.set_mode(1);   // XOR shows any span drawn twice
    b.fillpolygon(pa, INK);
    EXPECT_EQ(rows(b),
              "...#...\n"
              "..###..\n"
              ".#####.\n"
              "#######\n"
              ".#####.\n"
              "..###..\n"
              "...#...\n");
    // A rightmost vertex that is the upper end of both its edges counts.
    Buf c(6, 4);
    FGPoint t[3] = {{0, 3}, {5, 0}, {2, 3}};
    FGPointArray pt(3, t);
    FGRect r = c.fillpolygon(pt, INK);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.w, 5);
    EXPECT_EQ(r.h, 3);
    EXPECT_EQ(at(c, 5, 0), INK);
}

TEST(Polygon, ClippedAndHugeCoordinates) {
    Buf b(4, 4);
    b.set_clip_rect(1, 1, 2, 2);
    FGPoint big[3] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}};
    FGPointArray pa(3, big);
    b.fillpolygon(pa, INK);
    EXPECT_EQ(rows(b), "....\n.##.\n..#.\n....\n");
    FGPoint many[300];
    for (int i = 0; i < 300; i++) many[i] = {(i * 7919) % 13 - 5, (i * 104729) % 11 - 4};
    FGPointArray pm(300, many);
    b.fillpolygon(pm, INK);   // beyond 128 vertices, any shape
    EXPECT_EQ(at(b, 0, 0), 0u);
    FGPointArray empty;
    FGRect r = b.fillpolygon(empty, INK);
    EXPECT_EQ(r.w, 0);
}

TEST(Bitblt, TilesRepeatAndClip) {
    Buf src(2, 2);
    src.pixels[0] = 1; src.pixels[1] = 2; src.pixels[2] = 3; src.pixels[3] = 4;
    Buf dst(5, 5);
    EXPECT_EQ(dst.bitblt(0, 0, 0, 0, 5, 5, &src), 1);
    const FGPixel want[5] = {1, 2, 1, 2, 1};
    for (int x = 0; x < 5; x++) {
        EXPECT_EQ(at(dst, x, 0), want[x]);
        EXPECT_EQ(at(dst, x, 4), want[x]);
        EXPECT_EQ(at(dst, x, 1), want[x] + 2);
    }
    // Partly outside: the visible tiles keep their phase.
    Buf d2(3, 3);
    d2.set_clip_rect(1, 1, 2, 2);
    EXPECT_EQ(d2.bitblt(-1, -1, 0, 0, INT_MAX, INT_MAX, &src), 1);
    EXPECT_EQ(at(d2, 1, 1), 4u);
    EXPECT_EQ(at(d2, 2, 1), 3u);
    EXPECT_EQ(at(d2, 1, 2), 2u);
    EXPECT_EQ(at(d2, 0, 0), 0u);
    // Source offset cut to the source clip.
    Buf d3(2, 1);
    EXPECT_EQ(d3.bitblt(0, 0, 1, 1, 2, 1, &src), 1);
    EXPECT_EQ(at(d3, 0, 0), 4u);
    EXPECT_EQ(at(d3, 1, 0), 4u);
    EXPECT_EQ(d3.bitblt(0, 0, 2, 0, 1, 1, &src), 0);
    EXPECT_EQ(d3.bitblt(0, 0, 0, 0, 0, 1, &src), 0);
    EXPECT_EQ(d3.bitblt(2, 0, 0, 0, 1, 1, &src), 0);
    EXPECT_EQ(d3.bitblt(INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, &src), 0);
    EXPECT_EQ(d3.bitblt(0, 0, 0, 0, 1, 1, nullptr), 0);
    src.type = FG_TYPE_LOADING;
    EXPECT_EQ(d3.bitblt(0, 0, 0, 0, 1, 1, &src), 0);
}

TEST(Bitblt, TransparentKeyAndBlend) {
    Buf src(3, 1);
    src.pixels[0] = 0xFF00FF; src.pixels[1] = 0; src.pixels[2] = 0x123;
    src.set_colorkey(0xFF00FF);
    Buf dst(3, 1, 0x55);
    dst.set_mode(3);
    EXPECT_EQ(dst.bitblt(0, 0, 0, 0, 3, 1, &src), 1);
    EXPECT_EQ(at(dst, 0, 0), 0x55u);    // the key is not copied
    EXPECT_EQ(at(dst, 1, 0), 0u);       // whatever the destination's mode
    EXPECT_EQ(at(dst, 2, 0), 0x123u);
    EXPECT_EQ(dst.get_mode(), 3u);
    EXPECT_EQ(fg_screen.transparent_key, FG_NO_KEY);
    Buf blend(1, 1, 0xFFFFFF);
    src.set_blend(128);
    Buf d2(3, 1, 0x000000);
    d2.bitblt(0, 0, 0, 0, 3, 1, &src);
    EXPECT_EQ(at(d2, 0, 0), 0u);   // a blended keyed source keeps its key transparent
    EXPECT_EQ(at(d2, 2, 0), fg_blend(0, 0x123, 128));
    src.set_colorkey(FG_NO_KEY);
    Buf d3(1, 1, 0);
    d3.bitblt(0, 0, 0, 0, 1, 1, &src);
    EXPECT_EQ(at(d3, 0, 0), fg_blend(0, 0xFF00FF, 128));
}

TEST(Bitblt, BackwardsCopyWithinOneBuffer) {
    Buf b(4, 1);
    for (int i = 0; i < 4; i++) b.pixels[i] = static_cast<FGPixel>(i + 1);
    b.bitblt(1, 0, 0, 0, 3, 1, &b, FG_COPY_BACKWARDS);
    EXPECT_EQ(at(b, 1, 0), 1u);
    EXPECT_EQ(at(b, 3, 0), 3u);
}

// Expected text pixels straight from the font's glyph masks.
void expect_text(const FGDrawBuffer& b, int font, int x0, int y0, const char* s, FGPixel ink,
                 FGPixel paper) {
    int x = x0;
    const int h = FGFontManager::get_font_height(font);
    for (const unsigned char* q = reinterpret_cast<const unsigned char*>(s); *q; q++) {
        const int w = FGFontManager::charwidth(font, *q);
        int pitch = 0;
        const FGPixel* m = FGFontManager::glyph(font, *q, &pitch);
        for (int gy = 0; gy < h; gy++)
            for (int gx = 0; gx < w; gx++) {
                const int bx = x + gx, by = y0 + gy;
                if (bx < 0 || by < 0 || bx >= b.width || by >= b.height) continue;
                const FGPixel want = m && m[gy * pitch + gx] ? ink : paper;
                ASSERT_EQ(at(b, bx, by), want) << "font " << font << " char " << *q << " at "
                                               << gx << "," << gy;
            }
        x += w;
    }
}

TEST(Text, FixedFontPaintsPaperInModeZero) {
    ASSERT_TRUE(FGFontManager::is_font(0));
    const int w = FGFontManager::textwidth(1, "Hi!");
    const int h = FGFontManager::get_font_height(1);
    Buf b(w + 4, h + 2, 0x77);
    b.set_font(1);
    EXPECT_EQ(b.text(2, 1, "Hi!", INK, 0x10), 1);
    expect_text(b, 1, 2, 1, "Hi!", INK, 0x10);
    EXPECT_EQ(at(b, 1, 1), 0x77u);
    EXPECT_EQ(at(b, w + 2, 1), 0x77u);
    EXPECT_EQ(at(b, 2, 0), 0x77u);
}

TEST(Text, ProportionalFontModeNineKeepsTheBackground) {
    const int font = 7;
    ASSERT_TRUE(FGFontManager::is_font(font));
    const int w = FGFontManager::textwidth(font, "Wall");
    const int h = FGFontManager::get_font_height(font);
    Buf b(w, h, 0x33);
    b.set_font(font);
    b.set_paper(0x44);
    b.set_mode(9);
    EXPECT_EQ(b.text(0, 0, "Wall"), 1);   // ink and paper from the buffer
    int ink = 0, kept = 0;
    for (int i = 0; i < w * h; i++) {
        ink += b.pixels[i] == INK;
        kept += b.pixels[i] == 0x33;
    }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(ink + kept, w * h);
    b.set_mode(0);
    b.text(0, 0, "Wall");
    expect_text(b, font, 0, 0, "Wall", INK, 0x44);
}

TEST(Text, ClippedAtEveryEdgeAndRefusals) {
    const int font = 8;
    const int w = FGFontManager::textwidth(font, "Clip me");
    const int h = FGFontManager::get_font_height(font);
    for (int dx : {-7, -3, 0, 3, 7})
        for (int dy : {-h + 1, -2, 0, 2, h - 1}) {
            Buf b(w, h, 0);
            b.set_font(font);
            b.text(dx, dy, "Clip me", INK, 0x01);
            expect_text(b, font, dx, dy, "Clip me", INK, 0x01);
        }
    Buf b(w, h, 0);
    b.set_font(font);
    EXPECT_EQ(b.text(w - 1, 0, "Clip me", INK, 0), 0);   // one visible column
    EXPECT_EQ(b.text(0, h, "Clip me", INK, 0), 0);
    EXPECT_EQ(b.text(INT_MAX, INT_MAX, "x", INK, 0), 0);
    EXPECT_EQ(b.text(INT_MIN, 0, "x", INK, 0), 0);
    EXPECT_EQ(b.text(0, 0, nullptr, INK, 0), 0);
    EXPECT_EQ(b.text(0, 0, "", INK, 0), 0);
    b.set_font(63);
    EXPECT_EQ(b.text(0, 0, "x", INK, 0), 0);
    b.set_font(-5);
    EXPECT_EQ(b.text(0, 0, "x", INK, 0), 0);
}

TEST(Text, LongStringsBeyondTheRowBuffer) {
    std::string s(5000, 'M');
    Buf b(64, 40);
    b.set_font(5);
    EXPECT_EQ(b.text(-30000, 3, s.c_str(), INK, 0x01), 1);
    expect_text(b, 5, -30000, 3, s.c_str(), INK, 0x01);
    Buf wide(20000, 40);
    wide.set_font(5);
    EXPECT_EQ(wide.text(0, 0, s.c_str(), INK, 0x01), 1);   // row buffer allocated for the call
    expect_text(wide, 5, 0, 0, s.substr(0, 900).c_str(), INK, 0x01);
}

TEST(State, SaveAndRestore) {
    Buf b(1, 1);
    b.set_ink(1);
    b.set_mode(3);
    b.save_state();
    b.set_ink(2);
    testing::internal::CaptureStderr();
    b.save_state();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "FGDrawBuffer::save_state() multiple call!\n");
    b.set_mode(0);
    b.restore_state();
    EXPECT_EQ(b.get_ink(), 1u);   // the first saved state
    EXPECT_EQ(b.get_mode(), 3u);
    EXPECT_EQ(b.saved, 0);
    testing::internal::CaptureStderr();
    b.restore_state();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "FGDrawBuffer::restore_state() called without save_state()!\n");
}

TEST(Robustness, RandomPrimitivesStayInBounds) {
    // Under ASan/UBSan any stray write or overflow fails it too; here every primitive
    // changes only pixels inside its clip rectangle cut to the buffer, and no source.
    std::srand(7);
    auto r = [] {
        const int k = std::rand() % 4;
        if (k == 0) return std::rand() % 40 - 20;
        if (k == 1) return (std::rand() % 2) ? INT_MAX - std::rand() % 3 : INT_MIN + std::rand() % 3;
        return std::rand() % 12 - 3;
    };
    Buf b(9, 7);
    Buf src(3, 4, 0x123);
    const std::vector<FGPixel> source(src.pixels, src.pixels + 3 * 4);
    int changed = 0, strayAt = -1;
    for (int i = 0; i < 3000; i++) {
        const int cx = r(), cy = r(), cw = r(), ch = r();
        b.set_clip_rect(cx, cy, cw, ch);
        const std::vector<FGPixel> before(b.pixels, b.pixels + 9 * 7);
        b.set_mode(static_cast<unsigned>(std::rand() % 16));
        b.set_line_width(r());
        switch (i % 10) {
            case 0: b.line(r(), r(), r(), r()); break;
            case 1: b.fillbox(r(), r(), r(), r()); break;
            case 2: b.box(r(), r(), r(), r()); break;
            case 3: b.circle(r(), r(), std::abs(r() % 50)); break;
            case 4: b.fillcircle(r(), r(), std::abs(r() % 50)); break;
            case 5: b.arc(r(), r(), r() * 0.1, r() * 0.1, std::abs(r() % 50)); break;
            case 6: {
                FGPoint p[5] = {{r(), r()}, {r(), r()}, {r(), r()}, {r(), r()}, {r(), r()}};
                FGPointArray pa(5, p);
                b.fillpolygon(pa);
                b.polyline(pa);
                break;
            }
            case 7: b.text(r(), r(), "Ab\xB0\x01 z"); break;
            case 8: b.bitblt(r(), r(), r(), r(), r(), r(), &src, std::rand() & 0x32FF); break;
            default: b.hline(r(), r(), r()); b.vline(r(), r(), r()); b.pixel(r(), r()); break;
        }
        const int64_t left = std::max(cx, 0), top = std::max(cy, 0);
        const int64_t right = std::min<int64_t>(int64_t(cx) + cw, 9), bottom = std::min<int64_t>(int64_t(cy) + ch, 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x)
                if (b.pixels[y * 9 + x] != before[y * 9 + x]) {
                    ++changed;
                    if ((x < left || x >= right || y < top || y >= bottom) && strayAt < 0) strayAt = i;
                }
    }
    EXPECT_EQ(strayAt, -1) << "primitive " << strayAt % 10 << " wrote outside its clip";
    EXPECT_GT(changed, 0);  // most clips are empty or off the buffer, not all
    EXPECT_EQ(std::vector<FGPixel>(src.pixels, src.pixels + 3 * 4), source);
}

}  // namespace
