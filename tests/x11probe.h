// The test's own connection to the private X server, for reading pixels and stacking
// order and for sending key presses as another client would.
#pragma once

#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool, Status) clash with gtest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

#include "xvfb.h"

// The window on top of the root's stacking order.
inline Window TopmostWindow(Display* dpy) {
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &n);
    const Window top = n ? children[n - 1] : 0;
    if (children) XFree(children);
    return top;
}

class X11ProbeTest : public XvfbTest {
protected:
    Display* probe = nullptr;

    void SetUp() override {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        probe = XOpenDisplay(nullptr);
        ASSERT_NE(probe, nullptr);
    }
    void TearDown() override {
        XvfbTest::TearDown();
        if (probe) XCloseDisplay(probe);
    }

    uint32_t PixelAt(Window w, int x, int y) {
        XImage* img = XGetImage(probe, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!img) return 0xFFFFFFFFu;
        const uint32_t p = static_cast<uint32_t>(XGetPixel(img, 0, 0));
        XDestroyImage(img);
        return p;
    }

    void SendKey(Window w, KeySym sym, unsigned int state) {
        XEvent ev{};
        ev.xkey.type = KeyPress;
        ev.xkey.display = probe;
        ev.xkey.window = w;
        ev.xkey.root = DefaultRootWindow(probe);
        ev.xkey.state = state;
        ev.xkey.keycode = XKeysymToKeycode(probe, sym);
        ev.xkey.same_screen = True;
        XSendEvent(probe, w, False, KeyPressMask, &ev);
        XFlush(probe);
    }
};
