// x11 display: an undecorated Xlib window showing the frame buffer through XPutImage
// (MIT-SHM when the server offers it), with keys, bench characters and close as events.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <chrono>
#include <cstring>

#include "display.h"
#include "trace.h"
#include "window.h"
#include "x11trap.h"

namespace {

constexpr int EventsPerPoll = 256;  // bounds one poll's work; the rest waits for the next
constexpr int MapWaitSteps = 200;   // 10 ms each
constexpr auto SaverResetPeriod = std::chrono::seconds(30);

// One colour channel's place in a server pixel.
struct TChannel {
    int shift = 0;
    int bits = 0;
};

TChannel ChannelOf(unsigned long mask) {
    TChannel c;
    if (!mask) return c;
    while (!(mask & 1)) {
        mask >>= 1;
        ++c.shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++c.bits;
    }
    return c;
}

unsigned long PlaceChannel(uint32_t value8, const TChannel& c) {
    const unsigned long v = c.bits <= 8 ? value8 >> (8 - c.bits) : value8 << (c.bits - 8);
    return v << c.shift;
}

const struct {
    KeySym sym;
    int32_t key;
} KeyTable[] = {
    {XK_Left, DisplayKeyLeft},     {XK_Right, DisplayKeyRight},   {XK_Up, DisplayKeyUp},
    {XK_Down, DisplayKeyDown},     {XK_Home, DisplayKeyHome},     {XK_End, DisplayKeyEnd},
    {XK_Prior, DisplayKeyPageUp},  {XK_Next, DisplayKeyPageDown}, {XK_Insert, DisplayKeyInsert},
    {XK_Delete, DisplayKeyDelete},
};

class TX11Display : public TDisplay {
public:
    Display* dpy = nullptr;
    Window win = 0;
    bool gone = false;  // destroyed by someone else
    GC gc = nullptr;
    XImage* image = nullptr;
    bool useShm = false;
    XShmSegmentInfo shm{};
    bool direct = false;                 // the image's pixels are the frame buffer
    std::vector<uint32_t> frame;         // frame buffer when pixels need converting
    std::vector<char> imageStore;        // image pixels without MIT-SHM
    TChannel red, green, blue;
    Atom protocolsAtom = 0, deleteAtom = 0, charAtom = 0;
    std::chrono::steady_clock::time_point saverReset;
    bool quiet = false;  // the last Wait ran out with nothing to read

    ~TX11Display() override {
        if (!dpy) return;
        if (image) {
            if (useShm) {
                XShmDetach(dpy, &shm);
                XSync(dpy, False);
                shmdt(shm.shmaddr);
            }
            image->data = nullptr;  // the pixels are not Xlib's to free
            XDestroyImage(image);
        }
        if (gc) XFreeGC(dpy, gc);
        if (win && !gone) XDestroyWindow(dpy, win);
        XCloseDisplay(dpy);
    }

    void PutRect(const TDisplayRect& r) {
        if (!direct) {
            for (int32_t y = r.y; y < r.y + r.h; ++y) {
                const uint32_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
                for (int32_t x = r.x; x < r.x + r.w; ++x) {
                    const uint32_t p = src[x];
                    XPutPixel(image, x, y,
                              PlaceChannel((p >> 16) & 0xFF, red) |
                                  PlaceChannel((p >> 8) & 0xFF, green) | PlaceChannel(p & 0xFF, blue));
                }
            }
        }
        if (useShm)
            XShmPutImage(dpy, win, gc, image, r.x, r.y, r.x, r.y, r.w, r.h, False);
        else
            XPutImage(dpy, win, gc, image, r.x, r.y, r.x, r.y, r.w, r.h);
    }

    int Present(const TDisplayRect* rects, int32_t count) override {
        if (count < 0 || (count > 0 && !rects)) return DISPLAY_ERR_ARGS;
        if (gone) return DISPLAY_ERR_WINDOW;
        for (int32_t i = 0; i < count; ++i) {
            TDisplayRect r;
            if (DisplayClipRect(rects[i], width, height, &r)) PutRect(r);
        }
        // Like a blit that waits until it is accepted: the frame buffer is free again.
        XSync(dpy, False);
        return DISPLAY_OK;
    }

    bool TranslateKey(XKeyEvent* key, TDisplayEvent* event) {
        char text[8];
        KeySym sym = NoSymbol;
        const int n = XLookupString(key, text, sizeof text, &sym, nullptr);
        int32_t mods = 0;
        if (key->state & ShiftMask) mods |= DisplayModShift;
        if (key->state & ControlMask) mods |= DisplayModCtrl;
        if (key->state & Mod1Mask) mods |= DisplayModAlt;
        if (sym >= XK_F1 && sym <= XK_F12) {
            *event = {DisplayEventKey, static_cast<int32_t>(DisplayKeyF1 + (sym - XK_F1)), mods};
            return true;
        }
        for (const auto& k : KeyTable) {
            if (k.sym == sym) {
                *event = {DisplayEventKey, k.key, mods};  // Delete too: it types nothing
                return true;
            }
        }
        if (sym >= XK_KP_Home && sym <= XK_KP_Delete) return false;  // keypad navigation
        if (n != 1 || text[0] == 0) return false;
        *event = {DisplayEventChar, static_cast<uint8_t>(text[0]), mods};
        return true;
    }

    bool Translate(XEvent* xe, TDisplayEvent* event) {
        switch (xe->type) {
        case Expose:
            if (xe->xexpose.window == win) {
                const TDisplayRect r = {xe->xexpose.x, xe->xexpose.y, xe->xexpose.width,
                                        xe->xexpose.height};
                Present(&r, 1);
            }
            return false;
        case ClientMessage: {
            const XClientMessageEvent& m = xe->xclient;
            if (m.window != win || m.format != 32) return false;
            if (m.message_type == protocolsAtom && static_cast<Atom>(m.data.l[0]) == deleteAtom) {
                *event = {DisplayEventQuit, 0, 0};
                return true;
            }
            // Any client may send this: only a plain byte is taken.
            if (m.message_type == charAtom && m.data.l[0] >= 1 && m.data.l[0] <= 255) {
                *event = {DisplayEventChar, static_cast<int32_t>(m.data.l[0]), 0};
                return true;
            }
            return false;
        }
        case KeyPress:
            return xe->xkey.window == win && TranslateKey(&xe->xkey, event);
        case DestroyNotify:
            if (xe->xdestroywindow.window != win) return false;
            gone = true;
            *event = {DisplayEventQuit, 0, 0};
            return true;
        case MappingNotify:
            XRefreshKeyboardMapping(&xe->xmapping);
            return false;
        default:
            return false;
        }
    }

    int Poll(TDisplayEvent* event) override {
        if (!event) return DISPLAY_ERR_ARGS;
        *event = {DisplayEventNone, 0, 0};
        // The display refuses the screen saver and power-down: keep telling the server it is used.
        const auto now = std::chrono::steady_clock::now();
        if (now - saverReset >= SaverResetPeriod) {
            XResetScreenSaver(dpy);
            XFlush(dpy);  // nothing else sends before the next wait
            saverReset = now;
        }
        // The last wait saw the connection silent: nothing to read but what Xlib holds.
        if (quiet && XEventsQueued(dpy, QueuedAlready) == 0) return 0;
        quiet = false;
        for (int n = 0; n < EventsPerPoll && XPending(dpy) > 0; ++n) {
            XEvent xe;
            XNextEvent(dpy, &xe);
            if (Translate(&xe, event)) return 1;
        }
        return 0;
    }

    // Every request is sent by the time the program pauses (Present syncs), so the
    // pause reads nothing itself: an idle pass costs one poll.
    int Wait(int32_t timeoutMs) override {
        quiet = false;
        if (XEventsQueued(dpy, QueuedAlready) > 0) return 1;
        if (DisplayWaitFd(ConnectionNumber(dpy), timeoutMs)) return 1;
        quiet = true;
        return 0;
    }

    // The image the frame buffer is shown through: shared memory when possible.
    int CreateImage(Visual* visual, int depth) {
        if (XShmQueryExtension(dpy)) {
            image = XShmCreateImage(dpy, visual, depth, ZPixmap, nullptr, &shm, width, height);
            if (image) {
                shm.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height,
                                   IPC_CREAT | 0600);
                void* addr = shm.shmid >= 0 ? shmat(shm.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
                int err = 1;
                if (addr != reinterpret_cast<void*>(-1)) {
                    shm.shmaddr = image->data = static_cast<char*>(addr);
                    shm.readOnly = False;
                    TX11ErrorTrap trap(dpy);
                    XShmAttach(dpy, &shm);
                    err = trap.Sync();
                }
                if (shm.shmid >= 0) shmctl(shm.shmid, IPC_RMID, nullptr);  // gone once both detach
                if (err == 0) {
                    useShm = true;
                } else {
                    if (addr != reinterpret_cast<void*>(-1)) shmdt(addr);
                    image->data = nullptr;
                    XDestroyImage(image);
                    image = nullptr;
                }
            }
        }
        if (!image) {
            image = XCreateImage(dpy, visual, depth, ZPixmap, 0, nullptr, width, height, 32, 0);
            if (!image) return DISPLAY_ERR_WINDOW;
            imageStore.assign(static_cast<size_t>(image->bytes_per_line) * height, 0);
            image->data = imageStore.data();
        }
        const uint16_t probe = 1;
        const bool hostLsb = *reinterpret_cast<const uint8_t*>(&probe) == 1;
        direct = image->bits_per_pixel == 32 && image->byte_order == (hostLsb ? LSBFirst : MSBFirst) &&
                 visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                 visual->blue_mask == 0xFF && image->bytes_per_line % 4 == 0;
        if (direct) {
            pixels = reinterpret_cast<uint32_t*>(image->data);
            pitch = image->bytes_per_line / 4;
            memset(image->data, 0, static_cast<size_t>(image->bytes_per_line) * height);
        } else {
            frame.assign(static_cast<size_t>(width) * height, 0);
            pixels = frame.data();
            pitch = width;
            red = ChannelOf(visual->red_mask);
            green = ChannelOf(visual->green_mask);
            blue = ChannelOf(visual->blue_mask);
            for (int32_t y = 0; y < height; ++y)  // the image starts black as the frame buffer
                for (int32_t x = 0; x < width; ++x) XPutPixel(image, x, y, 0);
        }
        return DISPLAY_OK;
    }

    void SetProperties(const char* caption, const char* className) {
        XStoreName(dpy, win, caption);
        XClassHint hint;
        hint.res_name = const_cast<char*>(className);
        hint.res_class = const_cast<char*>(className);
        XSetClassHint(dpy, win, &hint);
        XSetWMProtocols(dpy, win, &deleteAtom, 1);
        // Popup style: ask the window manager for no decorations.
        const Atom motif = XInternAtom(dpy, "_MOTIF_WM_HINTS", False);
        const long motifHints[5] = {2 /* decorations field valid */, 0, 0 /* none */, 0, 0};
        XChangeProperty(dpy, win, motif, motif, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(motifHints), 5);
        XSizeHints* size = XAllocSizeHints();
        if (size) {
            size->flags = PMinSize | PMaxSize;
            size->min_width = size->max_width = width;
            size->min_height = size->max_height = height;
            XSetWMNormalHints(dpy, win, size);
            XFree(size);
        }
        XWMHints* wm = XAllocWMHints();
        if (wm) {
            wm->flags = InputHint | StateHint;
            wm->input = True;
            wm->initial_state = NormalState;
            XSetWMHints(dpy, win, wm);
            XFree(wm);
        }
    }

    // Maps the window and waits (bounded) until the server has it on screen.
    void MapAndWait() {
        XMapWindow(dpy, win);
        for (int i = 0; i < MapWaitSteps; ++i) {
            XSync(dpy, False);
            XEvent xe;
            if (XCheckTypedWindowEvent(dpy, win, MapNotify, &xe)) return;
            pollfd p = {ConnectionNumber(dpy), POLLIN, 0};
            poll(&p, 1, 10);
        }
    }
};

}  // namespace

int DisplayOpenX11(const char* caption, const char* className, int32_t width, int32_t height,
                   std::unique_ptr<TDisplay>* out) {
    if (!out || !caption || !className || width < 1 || height < 1 || width > DisplayMaxSide ||
        height > DisplayMaxSide)
        return DISPLAY_ERR_ARGS;
    auto d = std::make_unique<TX11Display>();
    d->dpy = X11OpenDisplay();
    if (!d->dpy) return DISPLAY_ERR_NO_SERVER;
    d->backend = DisplayBackendX11;
    d->width = width;
    d->height = height;
    const int screen = DefaultScreen(d->dpy);
    Visual* visual = DefaultVisual(d->dpy, screen);
    const int depth = DefaultDepth(d->dpy, screen);
    if (visual->c_class != TrueColor) {
        TRACE_ERR("the X screen has no true-colour visual");
        return DISPLAY_ERR_VISUAL;
    }
    d->protocolsAtom = XInternAtom(d->dpy, "WM_PROTOCOLS", False);
    d->deleteAtom = XInternAtom(d->dpy, "WM_DELETE_WINDOW", False);
    d->charAtom = XInternAtom(d->dpy, WindowCharAtomName, False);

    XSetWindowAttributes attr{};
    attr.background_pixel = BlackPixel(d->dpy, screen);
    attr.event_mask = ExposureMask | KeyPressMask | StructureNotifyMask;
    {
        TX11ErrorTrap trap(d->dpy);
        d->win = XCreateWindow(d->dpy, RootWindow(d->dpy, screen), 0, 0, width, height, 0, depth,
                               InputOutput, visual, CWBackPixel | CWEventMask, &attr);
        if (trap.Sync() != 0) d->win = 0;
    }
    if (!d->win) {
        TRACE_ERR("can't create the display window %dx%d", width, height);
        return DISPLAY_ERR_WINDOW;
    }
    d->gc = XCreateGC(d->dpy, d->win, 0, nullptr);
    const int rc = d->CreateImage(visual, depth);
    if (rc != DISPLAY_OK) {
        TRACE_ERR("can't create the display image %dx%d", width, height);
        return rc;
    }
    d->SetProperties(caption, className);
    d->MapAndWait();
    d->windowId = static_cast<uint32_t>(d->win);
    *out = std::move(d);
    return DISPLAY_OK;
}
