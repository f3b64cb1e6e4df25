#include <X11/Xlib.h>
#include <X11/Xatom.h>
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
    Atom checkAtom = 0;   // _NET_SUPPORTING_WM_CHECK
    Atom activeAtom = 0;  // _NET_ACTIVE_WINDOW
    Atom stateAtom = 0;   // _NET_WM_STATE
    Atom aboveAtom = 0;   // _NET_WM_STATE_ABOVE
    Atom restackAtom = 0; // _NET_RESTACK_WINDOW
    Atom netNameAtom = 0; // _NET_WM_NAME
    bool watching = false;  // the root's structure and properties are selected
    int seen = 0;           // WINDOW_SEEN_ bits not yet taken
    int manager = -1;       // while watching: whether a manager runs, -1 to be asked
} Link;

// Opens the connection when needed; false when no display is reachable. Link.lock is held.
bool LinkOpen() {
    if (Link.display) return true;
    Link.display = X11OpenDisplay();
    if (!Link.display) return false;
    Link.charAtom = XInternAtom(Link.display, WindowCharAtomName, False);
    Link.protocolsAtom = XInternAtom(Link.display, "WM_PROTOCOLS", False);
    Link.deleteAtom = XInternAtom(Link.display, "WM_DELETE_WINDOW", False);
    Link.checkAtom = XInternAtom(Link.display, "_NET_SUPPORTING_WM_CHECK", False);
    Link.activeAtom = XInternAtom(Link.display, "_NET_ACTIVE_WINDOW", False);
    Link.stateAtom = XInternAtom(Link.display, "_NET_WM_STATE", False);
    Link.aboveAtom = XInternAtom(Link.display, "_NET_WM_STATE_ABOVE", False);
    Link.restackAtom = XInternAtom(Link.display, "_NET_RESTACK_WINDOW", False);
    Link.netNameAtom = XInternAtom(Link.display, "_NET_WM_NAME", False);
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

// A window-typed property of `w` (one item), 0 when absent. Called inside a trap.
Window WindowProperty(Window w, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(Link.display, w, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) != Success)
        return 0;
    Window value = 0;
    if (data && type == XA_WINDOW && format == 32 && count == 1) value = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
    return value;
}

// The manager's check window names itself; a property left by a manager that ended does not.
// While watching, the answer holds until the server tells of a change.
bool ManagerRunning() {
    if (Link.watching && Link.manager >= 0) return Link.manager == 1;
    TX11ErrorTrap trap(Link.display);
    const Window check = WindowProperty(DefaultRootWindow(Link.display), Link.checkAtom);
    const bool running = check && WindowProperty(check, Link.checkAtom) == check;
    const bool ok = trap.Sync() == 0;
    if (Link.watching && ok) Link.manager = running ? 1 : 0;
    return ok && running;
}

// What one event tells; a manager that comes or goes is asked for again.
int SeenIn(const XEvent& ev) {
    const Window root = DefaultRootWindow(Link.display);
    switch (ev.type) {
    case PropertyNotify:
        if (ev.xproperty.window != root)
            return ev.xproperty.atom == XA_WM_NAME || ev.xproperty.atom == Link.netNameAtom ? WINDOW_SEEN_WINDOWS
                                                                                          : 0;
        if (ev.xproperty.atom == Link.activeAtom) return WINDOW_SEEN_FOREGROUND;
        if (ev.xproperty.atom != Link.checkAtom) return 0;
        Link.manager = -1;
        return WINDOW_SEEN_ALL;
    case DestroyNotify:  // the manager's check window among them
        Link.manager = -1;
        return WINDOW_SEEN_ALL;
    case CreateNotify:
        return WINDOW_SEEN_WINDOWS;
    case ReparentNotify:
        return WINDOW_SEEN_WINDOWS | WINDOW_SEEN_ORDER;
    case MapNotify:
    case UnmapNotify:
    case ConfigureNotify:
    case CirculateNotify:
        return WINDOW_SEEN_ORDER;
    default:
        return 0;
    }
}

// A request to the window manager about `w`, as the extended hints specify.
void ManagerMessage(Window w, Atom type, long l0, long l1, long l2, long l3) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = l0;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = l3;
    XSendEvent(Link.display, DefaultRootWindow(Link.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

// The child of the root that holds `w`: its window-manager frame, or itself. 0 when gone.
Window TopLevel(Window w) {
    const Window rootWindow = DefaultRootWindow(Link.display);
    for (int depth = 0; depth < 16 && w && w != rootWindow; ++depth) {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(Link.display, w, &root, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == rootWindow) return w;
        w = parent;
    }
    return 0;
}

// 1 when `id` lies above `owner`, 0 below; negative when either is gone or they share a frame.
// *idTop and *ownerTop receive their top-level windows. Called inside a trap.
int StackedAbove(Window id, Window owner, Window* idTop, Window* ownerTop) {
    *idTop = TopLevel(id);
    *ownerTop = TopLevel(owner);
    if (!*idTop || !*ownerTop) return WINDOW_ERR_GONE;
    if (*idTop == *ownerTop) return WINDOW_ERR_ARGS;
    Window root, up, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(Link.display, DefaultRootWindow(Link.display), &root, &up, &children, &count))
        return WINDOW_ERR_GONE;
    int idAt = -1, ownerAt = -1;  // bottom first
    for (unsigned int i = 0; i < count; ++i) {
        if (children[i] == *idTop) idAt = static_cast<int>(i);
        if (children[i] == *ownerTop) ownerAt = static_cast<int>(i);
    }
    if (children) XFree(children);
    if (idAt < 0 || ownerAt < 0) return WINDOW_ERR_GONE;
    return idAt > ownerAt ? 1 : 0;
}

// Link.lock is held.
int KeepAbove(Window id, Window owner) {
    const bool manager = ManagerRunning();
    TX11ErrorTrap trap(Link.display);
    Window idTop = 0, ownerTop = 0;
    const int above = StackedAbove(id, owner, &idTop, &ownerTop);
    if (above != 0) return trap.Sync() != 0 ? WINDOW_ERR_GONE : (above == 1 ? 0 : above);
    if (manager) {
        // Frames are the manager's: it restacks them (source 2: a pager, which it obeys).
        ManagerMessage(id, Link.restackAtom, 2, static_cast<long>(owner), Above, 0);
    } else {
        XWindowChanges change{};
        change.sibling = ownerTop;
        change.stack_mode = Above;
        XConfigureWindow(Link.display, idTop, CWSibling | CWStackMode, &change);
    }
    return trap.Sync() != 0 ? WINDOW_ERR_GONE : 1;
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

int WindowManagerRunning() {
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return 0;
    return ManagerRunning() ? 1 : 0;
}

int WindowForeground(TWindowId* id) {
    if (!id) return WINDOW_ERR_ARGS;
    *id = 0;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    Window found = 0;
    if (ManagerRunning()) {
        TX11ErrorTrap trap(Link.display);
        found = WindowProperty(DefaultRootWindow(Link.display), Link.activeAtom);
        if (trap.Sync() != 0) found = 0;
    } else {
        int revert = 0;
        XGetInputFocus(Link.display, &found, &revert);
        if (found == PointerRoot || found == None) found = 0;
    }
    *id = static_cast<TWindowId>(found);
    return WINDOW_OK;
}

int WindowStackOver(TWindowId id, TWindowId owner, bool topmost) {
    if (!id || !owner || id == owner) return WINDOW_ERR_ARGS;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    const bool manager = ManagerRunning();
    {
        TX11ErrorTrap trap(Link.display);
        Window current = 0;
        if (!XGetTransientForHint(Link.display, id, &current) || current != owner)
            XSetTransientForHint(Link.display, id, owner);
        if (manager) {
            ManagerMessage(id, Link.stateAtom, topmost ? 1 : 0, static_cast<long>(Link.aboveAtom), 0, 1);
        } else if (topmost) {
            XRaiseWindow(Link.display, id);  // no frames without a manager
        }
        if (trap.Sync() != 0) return WINDOW_ERR_GONE;
    }
    const int rc = KeepAbove(id, owner);
    return rc < 0 ? rc : WINDOW_OK;
}

int WindowKeepAbove(TWindowId id, TWindowId owner) {
    if (!id || !owner || id == owner) return WINDOW_ERR_ARGS;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    return KeepAbove(id, owner);
}

int WindowIsAbove(TWindowId id, TWindowId owner) {
    if (!id || !owner || id == owner) return WINDOW_ERR_ARGS;
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    TX11ErrorTrap trap(Link.display);
    Window idTop = 0, ownerTop = 0;
    const int above = StackedAbove(id, owner, &idTop, &ownerTop);
    return trap.Sync() != 0 ? WINDOW_ERR_GONE : above;
}

void WindowCloseLink() {
    std::lock_guard<std::mutex> hold(Link.lock);
    if (Link.display) XCloseDisplay(Link.display);
    Link.display = nullptr;
    Link.watching = false;
}

int WindowWatch(TWindowId id) {
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!LinkOpen()) return WINDOW_ERR_NO_SERVER;
    TX11ErrorTrap trap(Link.display);
    if (!Link.watching) {
        XSelectInput(Link.display, DefaultRootWindow(Link.display), SubstructureNotifyMask | PropertyChangeMask);
        Link.watching = true;
        Link.manager = -1;
        Link.seen = WINDOW_SEEN_ALL;
    }
    if (id) XSelectInput(Link.display, id, StructureNotifyMask | PropertyChangeMask);
    return trap.Sync() != 0 ? WINDOW_ERR_GONE : WINDOW_OK;
}

namespace {

// Link.lock is held. Only what has arrived: QueuedAfterFlush reads the connection without a
// request, QueuedAlready takes what Xlib has read already.
void Gather(int mode) {
    while (XEventsQueued(Link.display, mode) > 0) {
        XEvent ev;
        XNextEvent(Link.display, &ev);
        Link.seen |= SeenIn(ev);
    }
}

}  // namespace

int WindowSeen() {
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!Link.display || !Link.watching) return WINDOW_SEEN_ALL;
    Gather(QueuedAfterFlush);
    int seen = Link.seen;
    Link.seen = 0;
    // Nothing tells of the input focus: without a manager it is asked at every check.
    if (!ManagerRunning()) seen |= WINDOW_SEEN_FOREGROUND;
    return seen;
}

int WindowGather(bool read) {
    std::lock_guard<std::mutex> hold(Link.lock);
    if (!Link.display || !Link.watching) return WINDOW_SEEN_ALL;
    Gather(read ? QueuedAfterFlush : QueuedAlready);
    return Link.seen;
}

int WindowLinkFd() {
    std::lock_guard<std::mutex> hold(Link.lock);
    return LinkOpen() ? ConnectionNumber(Link.display) : -1;
}
