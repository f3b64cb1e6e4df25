// The toolkit's drawing surface: a rectangle of 32-bit pixels with a clip
// rectangle (which is also the coordinate origin), ink, paper, font and a
// raster-operation mode. Primitives change pixels in memory only.
#pragma once

#include <cstdint>

#include "fgbase.h"
#include "fgconnector.h"
#include "fgraster.h"

// Buffer types.
constexpr unsigned FG_TYPE_WINDOW = 0x4000;
constexpr unsigned FG_TYPE_PUSHBUTTON = 0x4002;
constexpr unsigned FG_TYPE_PANEL = 0x400d;
constexpr unsigned FG_TYPE_BITMAP_FILE = 0x400e;
constexpr unsigned FG_TYPE_FOREIGN = 0x400f;   // pixel array owned elsewhere
constexpr unsigned FG_TYPE_BITMAP = 0x4010;
constexpr unsigned FG_TYPE_ROOT = 0x4011;
constexpr unsigned FG_TYPE_SCREEN = 0x4012;    // pixels belong to the screen driver
constexpr unsigned FG_TYPE_LOADING = 0;

// Colour argument meaning "the buffer's current ink" (or paper for text).
constexpr FGPixel FG_DEFAULT_COLOUR = 0xFFFFFFFF;

// Point list of the polygon primitives.
struct FGPoint {
    int x, y;
};

class FGPointArray {
public:
    int count = 0;
    FGPoint* points = nullptr;
    uint8_t owns = 0;

    FGPointArray() = default;
    FGPointArray(int n, const FGPoint* pts) { set_points(n, pts); }
    FGPointArray(const FGPointArray&) = delete;
    FGPointArray& operator=(const FGPointArray&) = delete;
    ~FGPointArray();
    // Copies n points (a new owned array when the count changes); returns n.
    int set_points(int n, const FGPoint* pts);
};

struct FGRect {
    int x, y, w, h;
};

// The six words of the drawing state, in order.
struct FGDrawState {
    FGPixel ink;
    FGPixel paper;
    int font;
    unsigned mode;       // raster operation
    FGPixel colorkey;    // FG_NO_KEY: none
    unsigned blend;      // 0: none, else 1..255
};

class FGDrawBuffer : public FGConnector {
public:
    int id;
    FGMutex state_lock;   // pixel array, name, saved state
    int width, height;
    int clip_x, clip_y, clip_w, clip_h;
    unsigned flags;
    FGMutex draw_lock;    // taken by the window layer around a whole redraw
    FGPixel* pixels;
    char* name;
    unsigned type;
    FGDrawState state;
    FGDrawState saved_state;
    uint8_t saved;
    int line_width;

    FGDrawBuffer(int w, int h, const char* name, unsigned type, FGPixel ink, FGPixel paper);
    FGDrawBuffer(int w, int h, unsigned type, FGPixel colour, FGPixel* pixels = nullptr);
    ~FGDrawBuffer() override;
    FGDrawBuffer(const FGDrawBuffer&) = delete;
    FGDrawBuffer& operator=(const FGDrawBuffer&) = delete;

    void resize(int dw, int dh);
    void set_name(const char* nm);
    void clear(FGPixel colour);

    int pixel(int x, int y, FGPixel colour = FG_DEFAULT_COLOUR);
    int hline(int x, int y, int n, FGPixel colour = FG_DEFAULT_COLOUR);
    int vline(int x, int y, int n, FGPixel colour = FG_DEFAULT_COLOUR);
    int line(int x1, int y1, int x2, int y2, FGPixel colour = FG_DEFAULT_COLOUR);
    int lineto(int x, int y, FGPixel colour = FG_DEFAULT_COLOUR);
    int polyline(const FGPointArray& pts, FGPixel colour = FG_DEFAULT_COLOUR);
    int box(int x, int y, int w, int h, FGPixel colour = FG_DEFAULT_COLOUR);
    int fillbox(int x, int y, int w, int h, FGPixel colour = FG_DEFAULT_COLOUR);
    int circle(int x, int y, int r, FGPixel colour = FG_DEFAULT_COLOUR);
    int fillcircle(int x, int y, int r, FGPixel colour = FG_DEFAULT_COLOUR);
    int arc(int x, int y, double angle1, double angle2, int r, FGPixel colour = FG_DEFAULT_COLOUR);
    FGRect fillpolygon(const FGPointArray& pts, FGPixel colour = FG_DEFAULT_COLOUR);
    int text(int x, int y, const char* str, FGPixel ink = FG_DEFAULT_COLOUR,
             FGPixel paper = FG_DEFAULT_COLOUR);
    int bitblt(int x, int y, int src_x, int src_y, int w, int h, FGDrawBuffer* source,
               unsigned flags = 0);

    void save_state();
    void restore_state();

    FGPixel get_ink() const { return state.ink; }
    void set_ink(FGPixel c) { state.ink = c; }
    FGPixel get_paper() const { return state.paper; }
    void set_paper(FGPixel c) { state.paper = c; }
    int get_font() const { return state.font; }
    void set_font(int f) { state.font = f; }
    unsigned get_mode() const { return state.mode; }
    void set_mode(unsigned m) { state.mode = m; }
    FGPixel get_colorkey() const { return state.colorkey; }
    void set_colorkey(FGPixel key) { state.colorkey = key; }
    unsigned get_blend() const { return state.blend; }
    void set_blend(unsigned factor) { state.blend = factor & 0xFF; }
    int get_line_width() const { return line_width; }
    void set_line_width(int w) { line_width = w; }
    void set_clip_rect(int x, int y, int w, int h) {
        clip_x = x; clip_y = y; clip_w = w; clip_h = h;
    }
    void get_clip_rect(int* x, int* y, int* w, int* h) const {
        *x = clip_x; *y = clip_y; *w = clip_w; *h = clip_h;
    }

private:
    struct Clip {
        int64_t left, top, right, bottom;   // right, bottom exclusive
    };
    // The clip rectangle cut to the pixel array; false when nothing can be drawn.
    bool drawable(Clip* c) const;
    FGPixel resolve(FGPixel colour) const {
        return colour == FG_DEFAULT_COLOUR ? state.ink : colour;
    }
    // Absolute-coordinate workers (64-bit so that no sum overflows).
    int plot(int64_t x, int64_t y, FGPixel c, const Clip& k);
    int run(int64_t x, int64_t y, int64_t n, FGPixel c, const Clip& k, bool down);
    void rop(FGPixel* p, FGPixel c) const;
    // Refusals shared by circle and fillcircle; gives the clip, the absolute
    // centre and the centre's distance range to the clip.
    bool circle_start(int x, int y, int r, Clip* k, int64_t* ax, int64_t* ay, double* nearest,
                      double* farthest) const;
};

// Process-wide pen position of line, lineto and polyline.
extern int fg_pen_x, fg_pen_y;

// When set, sees every text drawn: the buffer, the cell it covers in the buffer's
// pixels (clipped), the text, its ink and whether its paper was painted. Null by default.
extern void (*fg_text_trace)(const FGDrawBuffer* buffer, int x, int y, int w, int h, const char* str,
                             FGPixel ink, bool opaque);
