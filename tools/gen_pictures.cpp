// Picture generator: draws every picture and GL texture of tools/pictures.h
// and writes it into the Data directory given as the only argument.
// Output depends only on this program and the DejaVu font files.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <iconv.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../gui/gui_terr/glfontlayout.h"
#include "picture_writers.h"
#include "pictures.h"
#include "write_file.h"

namespace {

using pic::Image;

constexpr uint32_t Key = 0xFF000000u | pic::KeyRgb;
constexpr uint32_t Clear = 0x00000000u;

constexpr uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}
constexpr uint32_t White = Rgb(255, 255, 255), Black = Rgb(0, 0, 0);
constexpr uint32_t Panel = Rgb(28, 31, 36), PanelEdge = Rgb(90, 96, 108);
constexpr uint32_t Silver = Rgb(210, 210, 225), Yellow = Rgb(252, 224, 0), Green = Rgb(0, 200, 0);
constexpr uint32_t Red = Rgb(242, 0, 0), Orange = Rgb(255, 140, 0), Magenta = Rgb(240, 0, 240);

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    auto ch = [&](int s) {
        double v = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
        return static_cast<uint32_t>(std::lround(v)) << s;
    };
    return ch(24) | ch(16) | ch(8) | ch(0);
}

// A picture being drawn. Pixels equal to the key are transparent: paint
// landing on them is all or nothing (no fringes of the key colour), paint on
// other pixels is blended by its coverage. Without a key (GL textures with
// alpha) paint is composited over what is there.
struct Canvas {
    Image im;
    bool keyed;
    uint32_t key;
    uint32_t under = 0;  // expected colour below transparent pixels: softens edges there
    Canvas(int w, int h, bool k, uint32_t fill) : im(w, h, fill), keyed(k), key(fill) {}
    int W() const { return im.w; }
    int H() const { return im.h; }

    void Plot(int x, int y, uint32_t c, double cov) {
        if (x < 0 || y < 0 || x >= im.w || y >= im.h || cov <= 0)
            return;
        if (cov > 1)
            cov = 1;
        uint32_t& d = im.At(x, y);
        if (keyed) {
            if (d == key) {
                if (under && cov >= 0.25)
                    d = Mix(under, c, cov) | 0xFF000000u;
                else if (cov >= 0.5)
                    d = c;
            } else {
                d = Mix(d, c, cov) | 0xFF000000u;
            }
            return;
        }
        double as = cov * (c >> 24) / 255.0, ad = (d >> 24) / 255.0;
        double ao = as + ad * (1 - as);
        if (ao <= 0) {
            d = 0;
            return;
        }
        auto ch = [&](int s) {
            double v = (((c >> s) & 0xFF) * as + ((d >> s) & 0xFF) * ad * (1 - as)) / ao;
            return static_cast<uint32_t>(std::lround(v)) << s;
        };
        d = static_cast<uint32_t>(std::lround(ao * 255)) << 24 | ch(16) | ch(8) | ch(0);
    }
    void Set(int x, int y, uint32_t c) {
        if (x >= 0 && y >= 0 && x < im.w && y < im.h)
            im.At(x, y) = c;
    }
    // Replaces pixels outright (also with the key or transparency).
    void Put(int x, int y, int w, int h, uint32_t c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                Set(i, j, c);
    }
    void Rect(int x, int y, int w, int h, uint32_t c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                Plot(i, j, c, 1);
    }
    void Frame(int x, int y, int w, int h, uint32_t c, int t = 1) {
        Rect(x, y, w, t, c);
        Rect(x, y + h - t, w, t, c);
        Rect(x, y + t, t, h - 2 * t, c);
        Rect(x + w - t, y + t, t, h - 2 * t, c);
    }
    void VGrad(int x, int y, int w, int h, uint32_t c0, uint32_t c1) {
        for (int j = 0; j < h; ++j)
            Rect(x, y + j, w, 1, Mix(c0, c1, h > 1 ? j / double(h - 1) : 0));
    }
    void HGrad(int x, int y, int w, int h, uint32_t c0, uint32_t c1) {
        for (int i = 0; i < w; ++i)
            Rect(x + i, y, 1, h, Mix(c0, c1, w > 1 ? i / double(w - 1) : 0));
    }
    // Light cylinder of a drum window: grey at the edges, near white in the middle.
    void Drum(int x, int y, int w, int h) {
        for (int j = 0; j < h; ++j) {
            double t = std::fabs((j + 0.5) / h * 2 - 1);
            Rect(x, y + j, w, 1, Mix(Rgb(246, 246, 240), Rgb(128, 128, 124), t * t));
        }
    }
    // Paints the area where inside(x, y) holds, 4 x 4 samples a pixel.
    void Shape(double x0, double y0, double x1, double y1, uint32_t c,
               const std::function<bool(double, double)>& inside) {
        for (int y = static_cast<int>(std::floor(y0)); y <= static_cast<int>(std::ceil(y1)); ++y)
            for (int x = static_cast<int>(std::floor(x0)); x <= static_cast<int>(std::ceil(x1)); ++x) {
                int n = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        n += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
                Plot(x, y, c, n / 16.0);
            }
    }
    struct P {
        double x, y;
    };
    void Poly(const std::vector<P>& p, uint32_t c) {
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (const P& q : p) {
            x0 = std::min(x0, q.x), y0 = std::min(y0, q.y), x1 = std::max(x1, q.x), y1 = std::max(y1, q.y);
        }
        Shape(x0, y0, x1, y1, c, [&](double x, double y) {
            bool in = false;
            for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
                if ((p[i].y > y) != (p[j].y > y) &&
                    x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
                    in = !in;
            return in;
        });
    }
    void Disc(double cx, double cy, double r, uint32_t c) {
        Shape(cx - r, cy - r, cx + r, cy + r, c,
              [&](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; });
    }
    void Ring(double cx, double cy, double r0, double r1, uint32_t c) {
        Shape(cx - r1, cy - r1, cx + r1, cy + r1, c, [&](double x, double y) {
            double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            return d <= r1 * r1 && d >= r0 * r0;
        });
    }
    void Line(double x0, double y0, double x1, double y1, double w, uint32_t c) {
        double dx = x1 - x0, dy = y1 - y0, l = std::sqrt(dx * dx + dy * dy);
        if (l <= 0)
            return;
        double nx = -dy / l * w / 2, ny = dx / l * w / 2;
        Poly({{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}}, c);
    }
    // Rectangle with rounded corners (x, y, w, h in pixels, edges on pixel borders).
    void Round(double x, double y, double w, double h, double r, uint32_t c) {
        Shape(x, y, x + w, y + h, c, [&](double px, double py) {
            if (px < x || py < y || px > x + w || py > y + h)
                return false;
            double cx = std::min(std::max(px, x + r), x + w - r), cy = std::min(std::max(py, y + r), y + h - r);
            return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
        });
    }
};

// ---- text through FreeType ----

const char* const FontDir = "/usr/share/fonts/truetype/dejavu/";
enum FontId { Sans, Bold, FontCount };

struct Fonts {
    FT_Library lib = nullptr;
    FT_Face face[FontCount] = {};
    Fonts() {
        static const char* const files[FontCount] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"};
        if (FT_Init_FreeType(&lib)) {
            fprintf(stderr, "gen_pictures: FreeType does not start\n");
            exit(1);
        }
        for (int i = 0; i < FontCount; ++i)
            if (FT_New_Face(lib, (std::string(FontDir) + files[i]).c_str(), 0, &face[i])) {
                fprintf(stderr, "gen_pictures: cannot open %s%s\n", FontDir, files[i]);
                exit(1);
            }
    }
    ~Fonts() {
        for (FT_Face f : face)
            if (f)
                FT_Done_Face(f);
        FT_Done_FreeType(lib);
    }
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
};
Fonts* TheFonts = nullptr;

// How a text is set: font, pixel height of the em, horizontal squeeze,
// hinted one-bit rendering (crisp small digits) or grey coverage.
struct Type {
    FontId font = Bold;
    int px = 14;
    double sx = 1.0;
    bool mono = false;
    double sy = 1.0;
};

std::vector<uint32_t> Utf8(const std::string& s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        uint32_t u = n == 0 ? c : c & (0x3F >> n);
        for (int k = 1; k <= n && i + k < s.size(); ++k)
            u = u << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(u);
        i += n + 1;
    }
    return out;
}

FT_Face Prepare(const Type& t) {
    FT_Face f = TheFonts->face[t.font];
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(t.px));
    FT_Matrix m = {static_cast<FT_Fixed>(std::lround(t.sx * 65536)), 0, 0,
                   static_cast<FT_Fixed>(std::lround(t.sy * 65536))};
    FT_Set_Transform(f, &m, nullptr);
    return f;
}

bool LoadGlyph(FT_Face f, const Type& t, uint32_t code) {
    FT_UInt index = FT_Get_Char_Index(f, code);
    if (index == 0)
        return false;
    FT_Int32 flags = FT_LOAD_RENDER | (t.mono ? FT_LOAD_TARGET_MONO : FT_LOAD_NO_HINTING);
    return FT_Load_Glyph(f, index, flags) == 0;
}

int TextWidth(const Type& t, const std::string& s) {
    FT_Face f = Prepare(t);
    long w = 0;
    for (uint32_t u : Utf8(s))
        if (LoadGlyph(f, t, u))
            w += f->glyph->advance.x;
    return static_cast<int>((w + 32) >> 6);
}

// Coverage of one glyph at the pen (x, baseline y), handed to paint().
void GlyphCoverage(const Type& t, uint32_t code, int x, int y, const std::function<void(int, int, double)>& paint) {
    FT_Face f = Prepare(t);
    if (!LoadGlyph(f, t, code))
        return;
    const FT_Bitmap& bm = f->glyph->bitmap;
    for (unsigned r = 0; r < bm.rows; ++r) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(r) * bm.pitch;
        for (unsigned c = 0; c < bm.width; ++c) {
            double cov = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[c >> 3] >> (7 - (c & 7))) & 1 : row[c] / 255.0;
            if (cov > 0)
                paint(x + f->glyph->bitmap_left + static_cast<int>(c), y - f->glyph->bitmap_top + static_cast<int>(r), cov);
        }
    }
}

enum Align { Left, Centre, Right };

// Draws text with its baseline at y; align places x at its left, centre or right.
void Text(Canvas& cv, const Type& t, const std::string& s, int x, int y, uint32_t c, Align a = Left) {
    int w = TextWidth(t, s);
    int pen = a == Left ? x : a == Centre ? x - w / 2 : x - w;
    for (uint32_t u : Utf8(s)) {
        GlyphCoverage(t, u, pen, y, [&](int px, int py, double cov) { cv.Plot(px, py, c, cov); });
        FT_Face f = Prepare(t);
        if (LoadGlyph(f, t, u))
            pen += static_cast<int>((f->glyph->advance.x + 32) >> 6);
    }
}

// Text with a one-pixel outline, for digits drawn straight over the terrain.
void OutlinedText(Canvas& cv, const Type& t, const std::string& s, int x, int y, uint32_t c, uint32_t edge, Align a) {
    Canvas mask(cv.W(), cv.H(), false, Clear);
    Text(mask, t, s, x, y, White, a);
    auto ink = [&](int i, int j) {
        return i >= 0 && j >= 0 && i < cv.W() && j < cv.H() && (mask.im.At(i, j) >> 24) >= 128;
    };
    for (int j = 0; j < cv.H(); ++j)
        for (int i = 0; i < cv.W(); ++i) {
            bool near = false;
            for (int dj = -1; dj <= 1; ++dj)
                for (int di = -1; di <= 1; ++di)
                    near = near || ink(i + di, j + dj);
            if (ink(i, j))
                cv.Set(i, j, c);
            else if (near)
                cv.Set(i, j, edge);
        }
}

// Vertical centre of a digit of type t relative to its baseline.
int DigitMid(const Type& t) {
    FT_Face f = Prepare(t);
    LoadGlyph(f, t, '0');
    return f->glyph->bitmap_top / 2;
}

// ---- flight page ----

// A digit of a drum strip: black on the light windows of the frames, centred
// in a cell of the strip.
void DrumGlyph(Canvas& cv, const Type& t, const std::string& s, int x, int cellTop, int cellH, int cellW) {
    int base = cellTop + cellH / 2 + DigitMid(t);
    if (cellTop + cellH <= 0 || cellTop >= cv.H())
        return;
    Text(cv, t, s, x + cellW / 2, base, Black, Centre);
}

constexpr uint32_t DrumLight = Rgb(232, 232, 228);
const Type DrumBig = {Bold, 30, 0.78, false};    // thousands drum, 22 x 28 cells
const Type DrumNarrow = {Bold, 30, 0.52, false}; // hundreds drum, 14 wide
const Type DrumSmall = {Bold, 20, 0.74, false};  // last two digits

void PaintJednotky(Canvas& cv, bool negative) {
    cv.under = DrumLight;
    for (int k = negative ? 0 : -1; k <= (negative ? 10 : 11); ++k) {
        int top = negative ? pic::DrumNeg1ZeroRow + 32 * k : pic::Drum1ZeroRow - 32 * k;
        DrumGlyph(cv, DrumBig, std::to_string(((k % 10) + 10) % 10), 0, top, pic::Drum1Cell, cv.W());
    }
}

// Each hundreds digit fills its 112 rows with four copies 28 rows apart, one
// beside each tens label of its hundred that the window can show.
void PaintStovky(Canvas& cv, bool negative) {
    cv.under = DrumLight;
    for (int k = negative ? 0 : -1; k <= (negative ? 10 : 11); ++k) {
        int first = negative ? pic::DrumNeg100ZeroRow + 112 * k + pic::DrumNeg100First
                             : pic::Drum100ZeroRow - 112 * k + pic::Drum100First;
        for (int copy = 0; copy < 4; ++copy)
            DrumGlyph(cv, DrumNarrow, std::to_string(((k % 10) + 10) % 10), negative ? 1 : 0,
                      first + copy * pic::Drum100Glyph, pic::Drum100Glyph, 14);
    }
}

std::string TwoDigits(int v) {
    v = ((v % 100) + 100) % 100;
    char b[4];
    snprintf(b, sizeof b, "%02d", v);
    return b;
}

void PaintDesitky(Canvas& cv, bool negative) {
    cv.under = DrumLight;
    for (int v = -10; v <= 110; v += 10) {
        int centre = negative ? pic::DrumNeg10ZeroCentre + v * 28 / 10 : pic::Drum10ZeroCentre - v * 28 / 10;
        DrumGlyph(cv, DrumSmall, TwoDigits(v), 0, centre - 14, 28, 32);
    }
}

void PaintNearZero(Canvas& cv) {
    cv.under = DrumLight;
    DrumGlyph(cv, DrumNarrow, "0", 0, pic::DrumNearZeroCentre - 14, 28, 14);
    for (int v = -20; v <= 20; v += 10)
        DrumGlyph(cv, DrumSmall, TwoDigits(v < 0 ? -v : v), 15, pic::DrumNearZeroCentre - v * 28 / 10 - 14, 28, 32);
}

// Readout frame: dark body with a white edge; the drum windows go on top.
void FrameBody(Canvas& cv, const std::vector<Canvas::P>& outline) {
    cv.Poly(outline, Panel);
    for (size_t i = 0; i < outline.size(); ++i) {
        const Canvas::P& a = outline[i];
        const Canvas::P& b = outline[(i + 1) % outline.size()];
        cv.Line(a.x, a.y, b.x, b.y, 1.6, White);
        cv.Disc(a.x, a.y, 0.8, White);
    }
}

void PaintAltimeterFrame(Canvas& cv, bool fiveDigits) {
    double l = fiveDigits ? 6 : 31;
    FrameBody(cv, {{l, 33}, {56, 33}, {56, 6}, {113, 6}, {113, 43}, {124.5, 51.5}, {113, 60},
                   {113, 97}, {56, 97}, {56, 70}, {l, 70}});
    if (fiveDigits)
        cv.Drum(11, 38, 22, 28);
    cv.Drum(35, 38, 22, 28);
    cv.Drum(60, 11, 48, 82);
    cv.Rect(74, 11, 1, 82, Rgb(90, 90, 90));
}

void PaintAirspeedFrame(Canvas& cv) {
    FrameBody(cv, {{-0.5, 52.5}, {11, 44}, {11, 33}, {66, 33}, {66, 6}, {95, 6}, {95, 98}, {66, 98}, {66, 71},
                   {11, 71}, {11, 61}});
    cv.Drum(19, 38, 22, 29);
    cv.Drum(44, 38, 22, 29);
    cv.Drum(69, 11, 22, 83);
}

void PaintHeadingWindow(Canvas& cv) {
    FrameBody(cv, {{9, -1}, {65, -1}, {65, 36}, {43, 36}, {37.5, 42.5}, {32, 36}, {9, 36}});
    cv.Drum(12, 0, 50, 34);
}

void PaintBall(Canvas& cv) {
    for (int i = 0; i < 15; ++i)  // shaded sphere: darker rings outside, highlight up left
        cv.Disc(15 - i * 0.12, 15 - i * 0.12, 14.5 - i * 0.9, Mix(Rgb(70, 70, 70), White, i / 14.0));
}

void PaintAircraftSymbol(Canvas& cv, uint32_t c) {
    auto wing = [&](double s) {
        double x0 = 55 + s * 53, x1 = 55 + s * 18, x2 = 55 + s * 12;
        cv.Poly({{x0, 0}, {x1, 0}, {x1, 14}, {x2, 14}, {x2, 6}, {x0, 6}}, Black);
        double i0 = 55 + s * 52, i1 = 55 + s * 17, i2 = 55 + s * 13;
        cv.Poly({{i0, 1}, {i1, 1}, {i1, 13}, {i2, 13}, {i2, 5}, {i0, 5}}, c);
    };
    wing(-1);
    wing(1);
    cv.Rect(50, 0, 10, 8, Black);
    cv.Rect(51, 1, 8, 6, c);
}

void PaintHorizonArrow(Canvas& cv, bool left) {
    auto px = [&](double x) { return left ? x : 50 - x; };
    cv.Poly({{px(0), 4}, {px(34), 4}, {px(34), 0}, {px(49.5), 8}, {px(34), 16}, {px(34), 12}, {px(0), 12}}, Black);
    cv.Poly({{px(1), 5}, {px(35), 5}, {px(35), 2}, {px(47.5), 8}, {px(35), 14}, {px(35), 11}, {px(1), 11}}, Yellow);
}

// Digits of the VSI scale and the tapes: white with a dark edge.
void PaintDigitStrip(Canvas& cv, const Type& t, int pitch, int first, int cellH, int minusRow, int minusW) {
    for (int d = 0; d <= 9; ++d)
        OutlinedText(cv, t, std::to_string(d), cv.W() / 2, first + pitch * d + cellH / 2 + DigitMid(t), White, Black,
                     Centre);
    int y = minusRow + cellH / 2;
    cv.Rect(1, y - 1, minusW - 2, 2, White);
    cv.Frame(0, y - 2, minusW, 4, Black);
}

void PaintKeyButton(Canvas& cv, bool red) {
    uint32_t top = red ? Rgb(170, 40, 40) : Rgb(110, 118, 134), bottom = red ? Rgb(90, 10, 10) : Rgb(44, 48, 58);
    cv.Round(0, 0, cv.W(), 20, 4, Rgb(20, 20, 20));
    Canvas face(cv.W(), 20, true, Key);
    face.Round(1, 1, cv.W() - 2, 18, 3, White);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < cv.W(); ++x)
            if (face.im.At(x, y) != Key)
                cv.Set(x, y, Mix(top, bottom, y / 19.0));
    cv.Rect(4, 1, cv.W() - 8, 1, red ? Rgb(220, 110, 110) : Rgb(170, 178, 192));
}

// Light 3-D box with a bevel (editor boxes, baro box, radio boxes).
void PaintLightBox(Canvas& cv, double radius, bool titleBand) {
    cv.Round(0, 0, cv.W(), cv.H(), radius, Rgb(70, 72, 84));
    cv.Round(1, 1, cv.W() - 2, cv.H() - 2, radius > 1 ? radius - 1 : 0, Rgb(250, 250, 255));
    cv.Round(3, 3, cv.W() - 5, cv.H() - 5, radius > 3 ? radius - 3 : 0, Rgb(150, 150, 166));
    cv.Round(3, 3, cv.W() - 6, cv.H() - 6, radius > 3 ? radius - 3 : 0, Silver);
    if (titleBand)
        cv.VGrad(5, 5, cv.W() - 10, 28, Rgb(232, 232, 244), Silver);
}

void PaintRadioBox(Canvas& cv, int rows) {
    cv.Put(0, 0, cv.W(), cv.H(), Rgb(70, 72, 84));
    cv.Rect(1, 1, cv.W() - 2, cv.H() - 2, Rgb(250, 250, 255));
    cv.Rect(2, 2, cv.W() - 3, cv.H() - 3, Rgb(150, 150, 166));
    cv.VGrad(2, 2, cv.W() - 4, cv.H() - 4, Rgb(226, 226, 238), Rgb(196, 196, 210));
    cv.Rect(100, 4, 1, cv.H() - 8, Rgb(150, 150, 166));
    // The COM row's standby frequency reaches the transponder row: the two
    // rows meet without a line, only the mode column is split between them.
    if (rows == 2)
        cv.Rect(104, 40, cv.W() - 108, 1, Rgb(150, 150, 166));
}

void PaintAnnunciator(Canvas& cv, uint32_t face, uint32_t ink, const char* l1, const char* l2) {
    cv.Round(0, 0, 56, 28, 4, Rgb(16, 16, 16));
    cv.Round(1, 1, 54, 26, 3, face);
    const Type t = {Bold, 11, 0.92, false};
    Text(cv, t, l1, 28, 12, ink, Centre);
    Text(cv, t, l2, 28, 24, ink, Centre);
}

void PaintHub(Canvas& cv) {
    double c = cv.W() / 2.0, r = cv.W() / 2.0 - 0.3;
    cv.Disc(c, c, r, Rgb(20, 20, 20));
    cv.Disc(c, c, r - 1, Rgb(150, 150, 160));
    cv.Disc(c - r * 0.15, c - r * 0.15, r * 0.55, Rgb(210, 210, 220));
}

void PaintTerrainError(Canvas& cv) {
    const double w = cv.W(), h = cv.H();
    cv.Round(0, 0, w, h, 4, Red);
    cv.Round(2, 2, w - 4, h - 4, 3, Rgb(24, 12, 12));
    cv.Poly({{w * 0.14, h - 4}, {w * 0.34, h * 0.35}, {w * 0.44, h * 0.6}, {w * 0.56, h * 0.22}, {w * 0.86, h - 4}},
            Rgb(160, 110, 60));
    cv.Line(w * 0.3, 5, w * 0.7, h - 5, 3, Red);
    cv.Line(w * 0.3, h - 5, w * 0.7, 5, 3, Red);
}

// Heading tape: heading D degrees at column 510 + 8 D; labels every 10
// degrees (cardinal letters at 0, 90, 180, 270) above the ticks.
void PaintHeadingTape(Canvas& cv) {
    cv.VGrad(0, 0, cv.W(), 42, Rgb(22, 24, 30), Rgb(44, 48, 58));
    cv.Rect(0, 41, cv.W(), 1, Rgb(120, 126, 140));
    const Type t = {Bold, 15, 1.0, true};
    for (int deg = -65; deg <= 412; ++deg) {
        int x = 510 + 8 * deg;
        if (deg % 5)
            continue;
        bool major = deg % 10 == 0;
        cv.Rect(x, major ? 28 : 34, major ? 2 : 1, major ? 13 : 7, White);
        if (!major)
            continue;
        int d = ((deg % 360) + 360) % 360;
        const char* card = d == 0 ? "N" : d == 90 ? "E" : d == 180 ? "S" : d == 270 ? "W" : nullptr;
        Text(cv, t, card ? card : std::to_string(d / 10), x + 1, 22, card ? Yellow : White, Centre);
    }
}

// Pitch numbers 10..80 at rows 28 N / 10 + 3: pure white on transparency.
void PaintPitchNumbers(Canvas& cv) {
    const Type t = {Bold, 17, 0.9, true};
    for (int n = 10; n <= 80; n += 10)
        Text(cv, t, std::to_string(n), 16, 28 * n / 10 + 3 + 10 + DigitMid(t), White, Centre);
}

void PaintHsiLabels(Canvas& cv) {
    static const char* const label[12] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
    const Type t = {Bold, 15, 1.0, true};
    for (int j = 0; j < 12; ++j)
        Text(cv, t, label[j], 16, 28 * j + 3 + 8 + DigitMid(t), White, Centre);
}

void PaintLubber(Canvas& cv) {
    cv.Poly({{0, 0}, {80, 0}, {80, 30}, {46, 30}, {40, 37}, {34, 30}, {0, 30}}, White);
    cv.Poly({{2, 2}, {78, 2}, {78, 28}, {45, 28}, {40, 34}, {35, 28}, {2, 28}}, Black);
}

void PaintStatusMark(Canvas& cv) {
    cv.Disc(8, 8, 7.5, Rgb(0, 160, 0));
    cv.Disc(8, 8, 4, White);
}

// ---- entertainment screen ----

void PaintVerBar(Canvas& cv, uint32_t left, uint32_t right) {
    for (int x = 0; x < cv.W(); ++x) {
        double t = (x + 0.5) / cv.W();
        double shade = 0.55 + 0.45 * std::sin(t * 3.14159265);
        uint32_t base = x < cv.W() / 2 ? left : right;
        cv.Rect(x, 0, 1, cv.H(), Mix(Black, base, shade));
    }
}

void PaintHorBar(Canvas& cv) {
    for (int y = 0; y < cv.H(); ++y)
        cv.Rect(0, y, cv.W(), 1, Mix(Black, Rgb(200, 200, 206), 0.5 + 0.5 * std::sin((y + 0.5) / cv.H() * 3.14159265)));
}

void PaintBlackButton(Canvas& cv) {
    cv.Round(0, 0, 190, 50, 10, Rgb(120, 120, 130));
    cv.Round(2, 2, 186, 46, 8, Rgb(16, 16, 18));
    cv.VGrad(10, 4, 170, 12, Rgb(60, 60, 68), Rgb(16, 16, 18));
}

void PaintBarPiece(Canvas& cv, int part) {
    uint32_t hi = Rgb(140, 230, 140), lo = Rgb(20, 110, 20);
    Canvas shape(cv.W(), 8, true, Key);
    if (part == 1)
        shape.Rect(0, 0, cv.W(), 8, White);
    else
        shape.Round(part == 0 ? 0 : -4, 0, 8, 8, 4, White);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < cv.W(); ++x)
            if (shape.im.At(x, y) != Key)
                cv.Set(x, y, Mix(hi, lo, y / 7.0));
}

void PaintVideoFrame(Canvas& cv, bool upper) {
    cv.Round(0, upper ? 0 : -10, 480, cv.H() + 10, 8, Rgb(60, 44, 38));
    cv.Round(2, upper ? 2 : -10, 476, cv.H() + 6, 6, Rgb(26, 20, 18));
    if (upper) {
        cv.Round(96, 16, 292, 14, 7, Rgb(10, 8, 8));
        cv.Rect(4, 39, 472, 1, Rgb(90, 70, 60));
    }
}

void PaintAudio(Canvas& cv, bool upper) {
    cv.Put(0, 0, cv.W(), cv.H(), Black);
    cv.Round(0, 0, cv.W(), cv.H(), 8, Rgb(91, 58, 47));
    cv.Round(2, 2, cv.W() - 4, cv.H() - 4, 6, Rgb(20, 14, 12));
    if (upper)
        cv.Round(100, 6, 240, cv.H() - 12, 5, Rgb(36, 26, 22));
    else
        cv.Round(40, 20, 260, 12, 6, Rgb(8, 6, 6));
}

void PaintMap(Canvas& cv) {
    cv.Put(0, 0, cv.W(), cv.H(), Rgb(40, 90, 160));
    cv.Poly({{0, 0}, {230, 0}, {260, 40}, {240, 90}, {300, 130}, {280, 190}, {0, 190}}, Rgb(70, 130, 60));
    cv.Poly({{60, 40}, {120, 20}, {170, 60}, {130, 110}, {70, 90}}, Rgb(140, 120, 70));
    cv.Frame(0, 0, cv.W(), cv.H(), Rgb(200, 200, 200), 2);
    std::vector<Canvas::P> route = {{40, 160}, {110, 120}, {200, 110}, {320, 40}};
    for (size_t i = 1; i < route.size(); ++i)
        cv.Line(route[i - 1].x, route[i - 1].y, route[i].x, route[i].y, 3, Magenta);
    for (auto& p : route)
        cv.Disc(p.x, p.y, 5, White);
    cv.Poly({{150, 105}, {158, 118}, {150, 114}, {142, 118}}, Yellow);
}

void PaintButtonIcon(Canvas& cv, const std::string& kind) {
    for (int half = 0; half < 2; ++half) {
        int x0 = half * 20;
        uint32_t ink = half ? Rgb(136, 248, 133) : White;
        cv.Round(x0, 0, 20, 20, 4, Rgb(80, 60, 52));
        cv.Round(x0 + 1, 1, 18, 18, 3, half ? Rgb(30, 60, 30) : Rgb(30, 22, 20));
        double c = x0 + 10;
        if (kind == "Play") {
            cv.Poly({{c - 4, 5}, {c + 6, 10}, {c - 4, 15}}, ink);
        } else if (kind == "Pause") {
            cv.Rect(x0 + 6, 5, 3, 10, ink);
            cv.Rect(x0 + 11, 5, 3, 10, ink);
        } else if (kind == "Stop") {
            cv.Rect(x0 + 5, 5, 10, 10, ink);
        } else if (kind == "Frwd") {
            cv.Poly({{c - 6, 5}, {c, 10}, {c - 6, 15}}, ink);
            cv.Poly({{c, 5}, {c + 6, 10}, {c, 15}}, ink);
        } else if (kind == "Bkwd") {
            cv.Poly({{c + 6, 5}, {c, 10}, {c + 6, 15}}, ink);
            cv.Poly({{c, 5}, {c - 6, 10}, {c, 15}}, ink);
        } else if (kind == "Maximi") {
            cv.Frame(x0 + 4, 4, 12, 12, ink, 2);
        } else if (kind == "Open") {
            cv.Poly({{c, 4}, {c + 6, 11}, {c - 6, 11}}, ink);
            cv.Rect(x0 + 4, 13, 12, 3, ink);
        } else {
            cv.Line(c - 5, 10, c - 1, 14, 2.5, ink);
            cv.Line(c - 1, 14, c + 6, 5, 2.5, ink);
        }
    }
}

// ---- GL textures ----

// Texture font: glyph j of the font's character set in cell (j % 16, j / 16)
// from the top, white with alpha = coverage, baseline 26 rows below the top.
void PaintGlFont(Canvas& cv, int font) {
    const Type t = {font == 0 ? Sans : Bold, 30, font == 0 ? 0.42 : 0.526, false, 0.93};
    iconv_t cd = iconv_open("UTF-32LE", pic::GlFontCodePage[font]);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        fprintf(stderr, "gen_pictures: no converter for %s\n", pic::GlFontCodePage[font]);
        exit(1);
    }
    const char* set = pic::GlFontCharset[font];
    for (int j = 0; j < pic::GlFontGlyphs && set[j]; ++j) {
        char in = set[j];
        unsigned char out[8] = {};
        char* ip = &in;
        char* op = reinterpret_cast<char*>(out);
        size_t il = 1, ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1))
            continue;
        uint32_t u = out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24;
        int cx = (j % 16) * 32, cy = (j / 16) * 32;
        GlyphCoverage(t, u, cx, cy + 26, [&](int x, int y, double cov) {
            if (x >= cx && x < cx + 32 && y >= cy && y < cy + 32)
                cv.Plot(x, y, White, cov);
        });
    }
    iconv_close(cd);
}

// Dial faces: dark disc with a bevel ring. part 0 full, 1 left half with a
// bridge to the right, 2 right half with a bridge to the left.
void PaintDialFace(Canvas& cv, int part) {
    // The half dials stop at their centres: the temperature face stands in the gap between them.
    const double c = 128, r = 100, bottom = 50;
    auto inside = [&](double x, double y, double rr) {
        double dx = x - c, dy = c - y;
        if (part == 0)
            return dx * dx + dy * dy <= rr * rr;
        double s = part == 1 ? dx : -dx;
        if (dy < -bottom + (r - rr) || s > 0)
            return false;
        return dx * dx + dy * dy <= rr * rr;
    };
    cv.Shape(0, 0, 256, 256, Rgb(110, 114, 124), [&](double x, double y) { return inside(x, y, r); });
    cv.Shape(0, 0, 256, 256, Rgb(12, 13, 16), [&](double x, double y) { return inside(x, y, r - 3); });
    cv.Shape(0, 0, 256, 256, Rgb(30, 33, 40), [&](double x, double y) { return inside(x, y, r - 14); });
    if (part == 0)
        cv.Disc(c, c, 10, Rgb(70, 74, 84));
}

void PaintTempFace(Canvas& cv) {
    cv.Round(0, 0, 86, 144, 12, Rgb(110, 114, 124));
    cv.Round(3, 3, 80, 138, 9, Rgb(12, 13, 16));
    cv.Round(8, 8, 70, 128, 6, Rgb(30, 33, 40));
}

void PaintNeedle(Canvas& cv) {
    cv.Poly({{2, 128}, {14, 128}, {9, 4}, {8, 0}, {7, 4}}, Rgb(40, 40, 40));
    cv.Poly({{3.5, 127}, {12.5, 127}, {8.6, 6}, {8, 2}, {7.4, 6}}, White);
    cv.Poly({{6.5, 40}, {9.5, 40}, {8.6, 6}, {8, 2}, {7.4, 6}}, Orange);
}

void PaintEngineMain(Canvas& cv) {
    cv.VGrad(0, 0, 800, 480, Rgb(34, 38, 46), Rgb(12, 13, 16));
    cv.Frame(1, 1, 798, 478, PanelEdge);
    // Rows from the top; separators between the cylinder, fuel and time blocks.
    cv.Rect(294, 250, 1, 222, PanelEdge);
    cv.Rect(504, 250, 1, 222, PanelEdge);
}

void PaintEngineStrip(Canvas& cv, bool twoDials) {
    cv.VGrad(0, 0, 242, 480, Rgb(34, 38, 46), Rgb(12, 13, 16));
    cv.Frame(1, 1, 240, 478, PanelEdge);
    // Rows from the top: below the dials (two dials) or beside the upper dials.
    if (twoDials)
        cv.Rect(8, 168, 226, 1, PanelEdge);
    else
        cv.Rect(180, 8, 1, 292, PanelEdge);
}

void PaintEngine(Canvas& cv, int rows) {
    const int w = cv.W(), h = cv.H();
    cv.Round(18, 2, w - 36, h - 4, 6, Rgb(64, 68, 78));
    cv.Round(20, 4, w - 40, h - 8, 5, Rgb(40, 43, 50));
    const double pitch = (h - 8) / double(rows);
    for (int r = 0; r < rows; ++r) {
        double y = 4 + pitch * r + pitch / 2;
        for (int s = -1; s <= 1; s += 2) {
            double x0 = s < 0 ? 2 : w - 18;
            cv.Round(x0, y - pitch * 0.32, 16, pitch * 0.64, 3, Rgb(96, 100, 112));
            for (int f = 0; f < 3; ++f)
                cv.Rect(static_cast<int>(x0) + 3 + 4 * f, static_cast<int>(y - pitch * 0.28), 2,
                        static_cast<int>(pitch * 0.56), Rgb(60, 64, 74));
        }
    }
    cv.Disc(w / 2.0, h - 14, 7, Rgb(90, 94, 106));
}

// ---- the table of painters ----

using Painter = std::function<void(Canvas&)>;

std::map<std::string, Painter> Painters() {
    std::map<std::string, Painter> p;
    p["3dtlak.tga"] = [](Canvas& c) { PaintLightBox(c, 6, false); };
    p["3dvyskomer.tga"] = [](Canvas& c) { PaintAltimeterFrame(c, true); };
    p["3dvyskomer2.tga"] = [](Canvas& c) { PaintAltimeterFrame(c, false); };
    p["3drychlomer.tga"] = PaintAirspeedFrame;
    p["jednotky.tga"] = [](Canvas& c) { PaintJednotky(c, false); };
    p["zjednotky.tga"] = [](Canvas& c) { PaintJednotky(c, true); };
    p["stovky.tga"] = [](Canvas& c) { PaintStovky(c, false); };
    p["zstovky.tga"] = [](Canvas& c) { PaintStovky(c, true); };
    p["desitky.tga"] = [](Canvas& c) { PaintDesitky(c, false); };
    p["zdesitky.tga"] = [](Canvas& c) { PaintDesitky(c, true); };
    p["desitkyALTnula.tga"] = PaintNearZero;
    p["3dkulicka.tga"] = PaintBall;
    p["3dbreminko.tga"] = [](Canvas& c) { PaintAircraftSymbol(c, Yellow); };
    p["3dbreminkoC.tga"] = [](Canvas& c) { PaintAircraftSymbol(c, Green); };
    p["3dbreminkoE.tga"] = [](Canvas& c) { PaintAircraftSymbol(c, Orange); };
    p["3dsipkaHorL.tga"] = [](Canvas& c) { PaintHorizonArrow(c, true); };
    p["3dsipkaHorR.tga"] = [](Canvas& c) { PaintHorizonArrow(c, false); };
    p["3dkompas.tga"] = PaintHeadingWindow;
    p["cisliceFont.tga"] = [](Canvas& c) { PaintDigitStrip(c, {Bold, 12, 0.9, true}, 19, 0, 12, 190, 5); };
    p["cisliceFont2.tga"] = [](Canvas& c) { PaintDigitStrip(c, {Bold, 18, 0.86, true}, 25, 6, 18, 258, 10); };
    for (const char* n : {"tlacitko.tga", "tlacitko1.tga", "tlacitko2.tga"})
        p[n] = [](Canvas& c) { PaintKeyButton(c, false); };
    for (const char* n : {"tlacitkored.tga", "tlacitko1red.tga", "tlacitko2red.tga"})
        p[n] = [](Canvas& c) { PaintKeyButton(c, true); };
    p["3dnastaveni.tga"] = [](Canvas& c) { PaintLightBox(c, 8, true); };
    p["3dnastaveni2.tga"] = [](Canvas& c) { PaintLightBox(c, 8, true); };
    p["AP_ON.tga"] = [](Canvas& c) { PaintAnnunciator(c, Green, Black, "AP", "ON"); };
    p["cnpy.tga"] = [](Canvas& c) { PaintAnnunciator(c, Red, White, "CANOPY", "OPEN"); };
    p["gearup.tga"] = [](Canvas& c) { PaintAnnunciator(c, Rgb(70, 74, 86), White, "GEAR", "UP"); };
    p["geardown.tga"] = [](Canvas& c) { PaintAnnunciator(c, Green, Black, "GEAR", "DOWN"); };
    p["geartransit.tga"] = [](Canvas& c) { PaintAnnunciator(c, Yellow, Black, "GEAR", "TRANSIT"); };
    p["gearerror.tga"] = [](Canvas& c) { PaintAnnunciator(c, Red, White, "GEAR", "ERROR"); };
    p["CO2.tga"] = [](Canvas& c) { PaintAnnunciator(c, Red, White, "CO2", "ALERT"); };
    p["stred.tga"] = PaintHub;
    p["stredmaly.tga"] = PaintHub;
    p["box_comm_xpdr_1r.tga"] = [](Canvas& c) { PaintRadioBox(c, 1); };
    p["box_comm_xpdr_2r.tga"] = [](Canvas& c) { PaintRadioBox(c, 2); };
    p["3Dterrain_err.tga"] = PaintTerrainError;
    p["kompas.gif"] = PaintHeadingTape;
    p["stupniceAngle.gif"] = PaintPitchNumbers;
    p["gif_st.gif"] = PaintStatusMark;
    p["stupniceHSI.gif"] = PaintHsiLabels;
    p["ramecekHSI.gif"] = PaintLubber;
    p["VerBar3d-Red.tga"] = [](Canvas& c) { PaintVerBar(c, Red, Red); };
    p["VerBar3d-Green.tga"] = [](Canvas& c) { PaintVerBar(c, Green, Green); };
    p["VerBar3d-Yellow.tga"] = [](Canvas& c) { PaintVerBar(c, Yellow, Yellow); };
    p["VerBar3d-White.tga"] = [](Canvas& c) { PaintVerBar(c, White, White); };
    p["VerBar3d-GreenWhite.tga"] = [](Canvas& c) { PaintVerBar(c, White, Green); };
    p["VerBar3d-Gray.tga"] = [](Canvas& c) { PaintVerBar(c, Rgb(170, 170, 176), Rgb(170, 170, 176)); };
    p["HorBarT3d-Gray.tga"] = PaintHorBar;
    p["EntBlackButton.tga"] = PaintBlackButton;
    p["EntBarLeft.tga"] = [](Canvas& c) { PaintBarPiece(c, 0); };
    p["EntBarMidle.tga"] = [](Canvas& c) { PaintBarPiece(c, 1); };
    p["EntBarRight.tga"] = [](Canvas& c) { PaintBarPiece(c, 2); };
    p["EntVideoUpper.tga"] = [](Canvas& c) { PaintVideoFrame(c, true); };
    p["EntVideoLower.tga"] = [](Canvas& c) { PaintVideoFrame(c, false); };
    p["EntAudioUpper.bmp"] = [](Canvas& c) { PaintAudio(c, true); };
    p["EntAudioMidle.bmp"] = [](Canvas& c) { PaintAudio(c, false); };
    p["EntMap.gif"] = PaintMap;
    for (const char* n : {"Open", "Play", "Pause", "Stop", "Frwd", "Bkwd", "Maximi", "Select"}) {
        std::string kind = n;
        p["Btn" + kind + ".bmp"] = [kind](Canvas& c) { PaintButtonIcon(c, kind); };
    }
    p["font6.tga"] = [](Canvas& c) { PaintGlFont(c, 0); };
    p["font_t.tga"] = [](Canvas& c) { PaintGlFont(c, 1); };
    p["font_r.tga"] = [](Canvas& c) { PaintGlFont(c, 2); };
    p["font_w.tga"] = [](Canvas& c) { PaintGlFont(c, 3); };
    p["ems_bud1.tga"] = [](Canvas& c) { PaintDialFace(c, 0); };
    p["ems_bud2.tga"] = [](Canvas& c) { PaintDialFace(c, 1); };
    p["ems_bud3.tga"] = [](Canvas& c) { PaintDialFace(c, 2); };
    p["ems_bud4.tga"] = PaintTempFace;
    p["rucickaV.tga"] = PaintNeedle;
    p["ems_main1.tga"] = PaintEngineMain;
    p["ems_male.tga"] = [](Canvas& c) { PaintEngineStrip(c, false); };
    p["ems_d_male.tga"] = [](Canvas& c) { PaintEngineStrip(c, true); };
    p["motorv2.tga"] = [](Canvas& c) { PaintEngine(c, 1); };
    p["motorv4.tga"] = [](Canvas& c) { PaintEngine(c, 2); };
    p["motorv6.tga"] = [](Canvas& c) { PaintEngine(c, 3); };
    return p;
}

pic::Bytes Encode(const pic::PictureInfo& info, const Image& im) {
    switch (info.form) {
    case pic::Form::TgaKeyed:
        return pic::EncodeTga(im, 32, false, true);
    case pic::Form::TgaEnt:
        return pic::EncodeTga(im, 24, true, true);
    case pic::Form::TgaGl24:
        return pic::EncodeTga(im, 24, false, true);
    case pic::Form::TgaGl32:
        return pic::EncodeTga(im, 32, false, false);
    case pic::Form::Gif:
        return pic::EncodeGif(im);
    case pic::Form::Bmp24:
        break;
    }
    return pic::EncodeBmp24(im);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: gen_pictures <Data directory>\n");
        return 2;
    }
    Fonts fonts;
    TheFonts = &fonts;
    const std::map<std::string, Painter> painters = Painters();
    int failed = 0;
    for (const pic::PictureInfo& info : pic::Pictures) {
        auto it = painters.find(info.file);
        if (it == painters.end()) {
            fprintf(stderr, "gen_pictures: nothing draws %s\n", info.file);
            return 1;
        }
        const bool keyed = info.form == pic::Form::TgaKeyed || info.form == pic::Form::TgaEnt;
        const bool alpha = info.form == pic::Form::TgaGl32 || info.form == pic::Form::Gif;
        const bool gif = info.form == pic::Form::Gif;
        Canvas cv(info.width, info.height, keyed || gif, keyed ? Key : alpha ? Clear : Black);
        it->second(cv);
        const std::string path = std::string(argv[1]) + "/" + info.file;
        if (!gen::WriteFile(path, Encode(info, cv.im))) ++failed;
    }
    return failed ? 1 : 0;
}
