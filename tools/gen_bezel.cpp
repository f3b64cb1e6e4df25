// Draws the bench program's bezel: the frame around the display's screen opening,
// the two knobs (turn ring and push cap) and the four soft keys, at the places
// where the form puts its buttons, plus the two side strips beside the opening.
//   gen_bezel <Data directory>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "../bench/Unit1.h"
#include "picture_writers.h"
#include "write_file.h"

namespace {

using pic::Image;

uint32_t Rgb(int r, int g, int b) {
    auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b);
}

uint32_t Lerp(uint32_t a, uint32_t b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto ch = [&](int s) {
        const double va = (a >> s) & 0xFF, vb = (b >> s) & 0xFF;
        return static_cast<uint32_t>(std::lround(va + (vb - va) * t)) << s;
    };
    return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

// A picture whose origin may lie off its top-left (the bezel starts 17 rows above the form).
struct Canvas {
    Image im;
    int ox = 0, oy = 0;  // form coordinates of pixel (0, 0)

    void Blend(int x, int y, uint32_t c, double a) {
        x -= ox;
        y -= oy;
        if (x < 0 || y < 0 || x >= im.w || y >= im.h || a <= 0) return;
        im.At(x, y) = Lerp(im.At(x, y), c, a);
    }
    void Fill(int x, int y, int w, int h, uint32_t c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Blend(i, j, c, 1);
    }
    // Fills the points within `r` of (cx, cy), anti-aliased at the edge; the colour may
    // depend on the offset from the centre.
    template <typename Shade>
    void Disc(double cx, double cy, double r, Shade shade) {
        for (int y = static_cast<int>(cy - r) - 1; y <= static_cast<int>(cy + r) + 1; ++y)
            for (int x = static_cast<int>(cx - r) - 1; x <= static_cast<int>(cx + r) + 1; ++x) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                const double cover = r + 0.5 - std::sqrt(dx * dx + dy * dy);
                Blend(x, y, shade(dx, dy), std::min(1.0, cover));
            }
    }
    // Rounded rectangle with a vertical gradient; `edge` lights the top and shades the bottom.
    void Key(int x, int y, int w, int h, int r, uint32_t top, uint32_t bottom, int edge) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const double cx = std::clamp(i + 0.5, double(r), double(w - r));
                const double cy = std::clamp(j + 0.5, double(r), double(h - r));
                const double d = std::hypot(i + 0.5 - cx, j + 0.5 - cy);
                const double cover = std::min(1.0, r + 0.5 - d);
                uint32_t c = Lerp(top, bottom, j / double(h - 1));
                if (j < edge) c = Lerp(c, Rgb(210, 212, 218), 0.5);
                else if (j >= h - edge) c = Lerp(c, Rgb(0, 0, 0), 0.5);
                Blend(x + i, y + j, c, cover);
            }
    }
};

void Triangle(Canvas& cv, double x0, double y0, double x1, double y1, double x2, double y2, uint32_t c) {
    const int minX = static_cast<int>(std::floor(std::min({x0, x1, x2})));
    const int maxX = static_cast<int>(std::ceil(std::max({x0, x1, x2})));
    const int minY = static_cast<int>(std::floor(std::min({y0, y1, y2})));
    const int maxY = static_cast<int>(std::ceil(std::max({y0, y1, y2})));
    auto side = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            // Four samples per pixel for a soft edge.
            int in = 0;
            for (int s = 0; s < 4; ++s) {
                const double px = x + 0.25 + 0.5 * (s & 1), py = y + 0.25 + 0.5 * (s >> 1);
                const double a = side(x0, y0, x1, y1, px, py), b = side(x1, y1, x2, y2, px, py),
                             d = side(x2, y2, x0, y0, px, py);
                if ((a >= 0 && b >= 0 && d >= 0) || (a <= 0 && b <= 0 && d <= 0)) ++in;
            }
            cv.Blend(x, y, c, in / 4.0);
        }
}

// Light from the top left on a round metal part.
uint32_t Metal(double dx, double dy, double r, uint32_t light, uint32_t dark) {
    return Lerp(light, dark, 0.5 + (dx + dy) / (4 * r));
}

void Screw(Canvas& cv, int cx, int cy) {
    cv.Disc(cx, cy, 7, [](double dx, double dy) { return Metal(dx, dy, 7, Rgb(150, 152, 158), Rgb(56, 58, 62)); });
    cv.Fill(cx - 5, cy - 1, 11, 2, Rgb(30, 31, 34));
}

void Knob(Canvas& cv, int cx, int cy) {
    const double ring = KnobRingRadius, cap = KnobCapRadius;
    cv.Disc(cx + 2, cy + 3, ring + 3, [](double, double) { return Rgb(14, 14, 16); });  // shadow
    cv.Disc(cx, cy, ring, [&](double dx, double dy) {
        // Knurled ring: fine radial grooves over the metal shading.
        const double groove = std::cos(std::atan2(dy, dx) * 60) > 0.6 ? 0.25 : 0;
        return Lerp(Metal(dx, dy, ring, Rgb(120, 122, 128), Rgb(40, 41, 45)), Rgb(20, 20, 22), groove);
    });
    // The two halves turn: arrows pointing left on the left half, right on the right.
    const uint32_t arrow = Rgb(236, 236, 230);
    const double ax = (ring + cap) / 2;
    Triangle(cv, cx - ax - 6, cy, cx - ax + 4, cy - 8, cx - ax + 4, cy + 8, arrow);
    Triangle(cv, cx + ax + 6, cy, cx + ax - 4, cy - 8, cx + ax - 4, cy + 8, arrow);
    cv.Disc(cx, cy, cap + 2, [](double, double) { return Rgb(18, 18, 20); });
    cv.Disc(cx, cy, cap, [&](double dx, double dy) { return Metal(dx, dy, cap, Rgb(196, 198, 204), Rgb(70, 72, 78)); });
    cv.Disc(cx - 7, cy - 7, 6, [](double, double) { return Rgb(226, 228, 232); });  // highlight
}

Image Bezel() {
    const TBezelPicture& p = BezelPictures[0];
    Canvas cv{Image(p.w, p.h, Rgb(0, 0, 0)), p.x, p.y};
    // Graphite body with a rounded outline, lit from above.
    cv.Key(p.x, p.y, p.w, p.h, 18, Rgb(66, 68, 73), Rgb(34, 35, 38), 2);

    // Screen opening: a sunken bevel around black glass (the display window covers it).
    const int sx = DisplayOffsetX, sy = DisplayOffsetY, sw = DisplayWindowWidth, sh = DisplayWindowHeight;
    for (int b = 8; b >= 1; --b) {
        const double t = b / 8.0;
        cv.Fill(sx - b, sy - b, sw + 2 * b, sh + 2 * b, Lerp(Rgb(12, 12, 14), Rgb(52, 54, 58), t));
        cv.Fill(sx - b, sy + sh + b - 1, sw + 2 * b, 1, Lerp(Rgb(96, 98, 104), Rgb(60, 62, 66), t));
    }
    cv.Fill(sx, sy, sw, sh, Rgb(4, 4, 6));
    // The page's area a little lighter, as the unlit panel shows through the glass.
    cv.Fill(sx, sy + DisplayPageTop, sw, DisplayPageHeight, Rgb(10, 11, 14));

    for (int k = 0; k < 2; ++k) Knob(cv, KnobCentreX[k], KnobCentreY);
    for (const TBezelButton& b : BezelButtons) {
        if (b.repeat >= 0 || *b.hint) continue;  // knob parts are drawn with their knob
        cv.Key(b.x + 2, b.y + 3, b.w, b.h, 9, Rgb(14, 14, 16), Rgb(14, 14, 16), 0);
        cv.Key(b.x, b.y, b.w, b.h, 9, Rgb(104, 106, 112), Rgb(54, 56, 60), 2);
        cv.Fill(b.x + b.w / 2 - 14, b.y + b.h / 2 - 1, 28, 3, Rgb(228, 228, 222));
    }
    for (int x : {22, FormWidth - 23})
        for (int y : {22, FormHeight - 23}) Screw(cv, x, y);
    return cv.im;
}

// The strips beside the opening: a bevel falling toward the glass, with a light sensor
// on the left one.
Image Strip(const TBezelPicture& p, bool left) {
    Canvas cv{Image(p.w, p.h, Rgb(0, 0, 0)), p.x, p.y};
    for (int i = 0; i < p.w; ++i) {
        const double t = left ? i / double(p.w - 1) : 1 - i / double(p.w - 1);
        cv.Fill(p.x + i, p.y, 1, p.h, Lerp(Rgb(62, 64, 69), Rgb(22, 23, 26), t));
    }
    if (left) cv.Disc(p.x + p.w / 2.0, p.y + 30, 4, [](double, double) { return Rgb(70, 20, 24); });
    return cv.im;
}

bool Write(const std::string& dir, const char* file, const Image& im) {
    // The form's file names carry their folder, relative to the working directory.
    std::string name = file;
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    return gen::WriteFile(dir + "/" + name, pic::EncodeBmp24(im));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_bezel <Data directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = Write(dir, BezelPictures[0].file, Bezel());
    ok = Write(dir, BezelPictures[1].file, Strip(BezelPictures[1], true)) && ok;
    ok = Write(dir, BezelPictures[2].file, Strip(BezelPictures[2], false)) && ok;
    return ok ? 0 : 1;
}
