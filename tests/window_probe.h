// An 800 x 480 drawing buffer that stands in for the main window while a test
// draws, and probes of its pixels.
#pragma once

#include "fgdrawbuffer.h"
#include "shellstate.h"

class ProbedWindow {
public:
    explicit ProbedWindow(FGPixel page) : page(page), window(800, 480, FG_TYPE_BITMAP, page) {
        window.clear(page);
        MainWindow = &window;
    }
    ~ProbedWindow() { MainWindow = nullptr; }
    ProbedWindow(const ProbedWindow&) = delete;
    ProbedWindow& operator=(const ProbedWindow&) = delete;

    FGPixel At(int x, int y) const { return window.pixels[y * window.width + x] & 0xFFFFFF; }
    // Pixels of the colour in the rectangle.
    int Count(int x, int y, int w, int h, FGPixel colour) const {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) n += At(i, j) == colour;
        return n;
    }
    void Clear() { window.clear(page); }

    const FGPixel page;
    FGDrawBuffer window;
};
