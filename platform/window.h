// Other programs' windows, as the bench program sees the display: find a top-level window by
// its caption, post it key characters and a close request, move and raise it, check it exists.
// One connection to the X display (from DISPLAY) is opened on first use.
#pragma once

#include <cstdint>

// The private client-message type that carries one key character (shared by both sides).
inline constexpr char WindowCharAtomName[] = "_DASHVIEW_CHAR";

// Return codes of the window layer.
enum {
    WINDOW_OK = 0,
    WINDOW_ERR_NO_SERVER = -321,  // no X display reachable
    WINDOW_ERR_NOT_FOUND = -322,  // no window with that caption
    WINDOW_ERR_GONE = -323,       // the window (or the reference window) no longer exists
    WINDOW_ERR_ARGS = -324,
};

typedef uint32_t TWindowId;  // an X window id; 0 = none

// Finds the top-most top-level window whose caption (WM_NAME) is exactly `caption`.
int WindowFind(const char* caption, TWindowId* id);
// Posts a key character (1..255); the display takes it as a typed character.
int WindowSendChar(TWindowId id, int32_t character);
// Asks the window to close (WM_DELETE_WINDOW); the display takes it as quit.
int WindowSendClose(TWindowId id);
// Moves the window so that its top-left lies at (x, y) of `relativeTo` (0: the root window),
// keeping its size; raises it on top of its siblings when `raise` is set.
int WindowMove(TWindowId id, TWindowId relativeTo, int32_t x, int32_t y, bool raise);
// Root coordinates of the window's top-left.
int WindowPosition(TWindowId id, int32_t* x, int32_t* y);
// 1 when the window exists, 0 when it does not or no display is reachable.
int WindowExists(TWindowId id);

// ---- window order ----
// 1 when a window manager runs on the screen (it announces itself on the root window).
int WindowManagerRunning();
// The window the user works in: the window manager's active window, or the input focus
// where there is none; *id is 0 when none is known.
int WindowForeground(TWindowId* id);
// Keeps `id` over `owner` whatever is clicked: transient for it under a window manager, and
// in the window manager's "above" state while `topmost` (cleared otherwise); then restacks it
// over the owner when it lies below it.
int WindowStackOver(TWindowId id, TWindowId owner, bool topmost);
// Restacks `id` just above `owner` when it lies below it: 1 restacked, 0 already above.
int WindowKeepAbove(TWindowId id, TWindowId owner);
// 1 when `id` lies above `owner` in the screen's stacking order (frames compared), 0 below.
int WindowIsAbove(TWindowId id, TWindowId owner);
// Closes the connection (the next call opens it again).
void WindowCloseLink();

// ---- watching: what the server tells of the screen, so that a periodic check asks nothing
// while nothing changes ----
enum {
    WINDOW_SEEN_FOREGROUND = 1,  // the active window may be another (always, without a window manager)
    WINDOW_SEEN_ORDER = 2,       // a top-level window was mapped, unmapped, moved or restacked
    WINDOW_SEEN_WINDOWS = 4,     // a top-level window came or went, or a watched one was renamed or ended
    WINDOW_SEEN_ALL = 7,
};
// Watches the screen's top-level windows and, when `id` is not 0, that window's renaming and
// its end. While watching, whether a window manager runs is asked again only when the server
// tells of a change.
int WindowWatch(TWindowId id);
// What changed since the last call, from the events the server has sent: no request waits
// for a reply. WINDOW_SEEN_ALL at the first call, and whenever nothing is watched.
int WindowSeen();
// Takes the events that have arrived and keeps what they tell for WindowSeen; what is kept
// so far (0: nothing a check would act on). For a caller that sleeps until the server writes:
// with `read`, when the descriptor is readable; without, after its own requests, whose replies
// may have brought events along (nothing is read then).
int WindowGather(bool read);
// The connection's descriptor, readable when the server has written; -1 without a display.
int WindowLinkFd();
