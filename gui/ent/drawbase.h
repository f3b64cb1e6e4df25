// Bases of the drawable screen elements: CDraw for widgets and dialogs (also used by
// the setup's dialogs), CPanel for a full-window screen that the shell draws, ticks
// and feeds with keys.
#pragma once

class FGDrawBuffer;

class CDraw {
public:
    FGDrawBuffer* window;
    int x, y, w, h;

    CDraw(FGDrawBuffer* win, int x0, int y0, int w0, int h0) : window(win), x(x0), y(y0), w(w0), h(h0) {}
    virtual ~CDraw() = default;
    virtual void Draw() = 0;

    CDraw(const CDraw&) = delete;
    CDraw& operator=(const CDraw&) = delete;
};

class CPanel {
public:
    FGDrawBuffer* window;
    int x, y, w, h;

    CPanel(FGDrawBuffer* win, int x0, int y0, int w0, int h0) : window(win), x(x0), y(y0), w(w0), h(h0) {}
    virtual ~CPanel() = default;
    virtual void Draw() = 0;
    virtual void Tick() = 0;
    // A key character; non-zero asks the owner to close the panel after this call.
    virtual int Key(int key) = 0;
    virtual void Spare() = 0;

    CPanel(const CPanel&) = delete;
    CPanel& operator=(const CPanel&) = delete;
};
