#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "window.h"
#include "x11trap.h"

namespace {

constexpr int SearchDepth = 3;  // root's children, window-manager frames and their wrappers

struct TWindowLink {
    std::mutex lock;
    Display* display = nullptr;
    Atom charAtom = 0;
    Atom protocolsAtom = 0;
    Atom deleteAtom = 0;
} Link;

// Opens the connection when needed; false when no display is reachable. Link.lock is held.
bool LinkOpen() {
    if (Link.display) return true;
    Link.display = X11OpenDisplay();
    if (!Link.display) return false;
    Link.charAtom = XInternAtom(Link.display, WindowCharAtomName, False);
    Link.protocolsAtom = XInternAtom(Link.display, "WM_PROTOCOLS", False);
    Link.deleteAtom = XInternAtom(Link.display, "WM_DELETE_WINDOW", False);
    return true;
}

bool HasCaption(Window w, const char* caption) {
    char* name = nullptr;
    if (!XFetchName(Link.display, w, &name) || !name) return false;
    const bool same = strcmp(name, caption) == 0;
    XFree(name);
    return same;
}

// Searches the children of `parent`, top of the stacking order first, then one level down.
Window Search(Window parent, const char* caption, int depth) {
    Window root, up, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(Link.display, parent, &root, &up, &children, &count)) return 0;
    std::vector<Window> list(children, children + count);
    if (children) XFree(children);
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (HasCaption(*it, caption)) return *it;
    if (depth <= 1) return 0;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        const Window found = Search(*it, caption, depth - 1);
        if (found) return found;
    }
    return 0;
}

int SendMessage(TWindowId id, Atom type, long value0, long value1) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = id;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = value0;
    ev.xclient.data.l[1] = value1;
    TX11ErrorTrap trap(Link.display);
    // No event mask: the event goes to the client that created the window, focus or not.
    const Status sent = XSendEvent(Link.display, id, False, NoEventMask, &ev);
    return trap.Sync() != 0 || !sent ? WINDOW_ERR_GONE : WINDOW_OK;
}

}  // namespace

int WindowFind(const char* caption, TWindowId* id) {
    if (!caption || !id) return WINDOW_ERR_ARGS;
    *id = 0;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    Window found = 0;
    {
        TX11ErrorTrap trap(Link.display);  // windows may vanish during the search
        found = Search(DefaultRootWindow(Link.display), caption, SearchDepth);
    }
    if (!found) return WINDOW_ERR_NOT_FOUND;
    *id = static_cast<TWindowId>(found);
    return WINDOW_OK;
}

int WindowSendChar(TWindowId id, int32_t character) {
    if (!id || character < 1 || character > 255) return WINDOW_ERR_ARGS;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    return SendMessage(id, Link.charAtom, character, 0);
}

int WindowSendClose(TWindowId id) {
    if (!id) return WINDOW_ERR_ARGS;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    return SendMessage(id, Link.protocolsAtom, static_cast<long>(Link.deleteAtom), CurrentTime);
}

int WindowMove(TWindowId id, TWindowId relativeTo, int32_t x, int32_t y, bool raise) {
    if (!id) return WINDOW_ERR_ARGS;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    const Window root = DefaultRootWindow(Link.display);
    TX11ErrorTrap trap(Link.display);
    int rootX = x, rootY = y;
    Window child;
    if (relativeTo &&
        !XTranslateCoordinates(Link.display, relativeTo, root, x, y, &rootX, &rootY, &child))
        return WINDOW_ERR_GONE;
    XMoveWindow(Link.display, id, rootX, rootY);
    if (raise) XRaiseWindow(Link.display, id);
    return trap.Sync() != 0 ? WINDOW_ERR_GONE : WINDOW_OK;
}

int WindowPosition(TWindowId id, int32_t* x, int32_t* y) {
    if (!id || !x || !y) return WINDOW_ERR_ARGS;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    TX11ErrorTrap trap(Link.display);
    int rootX = 0, rootY = 0;
    Window child;
    if (!XTranslateCoordinates(Link.display, id, DefaultRootWindow(Link.display), 0, 0, &rootX,
                               &rootY, &child) ||
        trap.Sync() != 0)
        return WINDOW_ERR_GONE;
    *x = rootX;
    *y = rootY;
    return WINDOW_OK;
}

int WindowExists(TWindowId id) {
    if (!id) return 0;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return 0;
    TX11ErrorTrap trap(Link.display);
    XWindowAttributes attr;
    const Status ok = XGetWindowAttributes(Link.display, id, &attr);
    return ok && trap.Sync() == 0 ? 1 : 0;
}

void WindowCloseLink() {
    std::lock_guard<std::mutex> hold(Link.lock);
    if (Link.display) XCloseDisplay(Link.display);
    Link.display = nullptr;
}
