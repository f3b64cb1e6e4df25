// The display: one window (or an in-memory screen) showing a 32-bit 0x00RRGGBB frame buffer,
// with a non-blocking pump of key characters, extended keys and quit.
// Back ends: x11 (a real window) and headless (no window; scripted keys, optional BMP frames).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Return codes of the display layer.
enum {
    DISPLAY_OK = 0,
    DISPLAY_ERR_NO_SERVER = -301,  // no X display reachable
    DISPLAY_ERR_ARGS = -302,       // size out of range or missing argument
    DISPLAY_ERR_VISUAL = -303,     // the screen has no usable true-colour visual
    DISPLAY_ERR_WINDOW = -304,     // the window or its image could not be created
    DISPLAY_ERR_KEYS_FILE = -305,  // DASHVIEW_KEYS names an unreadable or malformed file
    DISPLAY_ERR_SNAPSHOT = -306,   // a frame could not be written to DASHVIEW_SNAPSHOT
};

constexpr int32_t DisplayMaxSide = 16384;  // widest and tallest frame buffer

enum TDisplayBackend : int32_t {
    DisplayBackendAuto = 0,  // headless when DISPLAY is unset or DASHVIEW_HEADLESS=1, else x11
    DisplayBackendX11 = 1,
    DisplayBackendHeadless = 2,
};

enum TDisplayEventType : int32_t {
    DisplayEventNone = 0,
    DisplayEventChar = 1,  // code: a character 1..255 (typed, or sent by the bench program)
    DisplayEventKey = 2,   // code: a TDisplayKey that gives no character
    DisplayEventQuit = 3,  // the window was asked to close
};

// Keys without a character. The first group sits in the extended block of a PC keyboard.
enum TDisplayKey : int32_t {
    DisplayKeyNone = 0,
    DisplayKeyLeft,
    DisplayKeyRight,
    DisplayKeyUp,
    DisplayKeyDown,
    DisplayKeyHome,
    DisplayKeyEnd,
    DisplayKeyPageUp,
    DisplayKeyPageDown,
    DisplayKeyInsert,
    DisplayKeyDelete,
    DisplayKeyF1,  // F1..F12 are consecutive
    DisplayKeyF12 = DisplayKeyF1 + 11,
    DisplayKeyCount
};

// Modifier bits held when the key was typed (0 for characters from the bench program).
enum : int32_t { DisplayModShift = 1, DisplayModCtrl = 2, DisplayModAlt = 4 };

struct TDisplayEvent {
    int32_t type;       // TDisplayEventType
    int32_t code;       // character or TDisplayKey
    int32_t modifiers;  // DisplayMod* bits
};

struct TDisplayRect {
    int32_t x, y, w, h;
};

// An open display. The frame buffer belongs to it and lives until it is destroyed.
class TDisplay {
public:
    virtual ~TDisplay() = default;
    // Shows the given rectangles of the frame buffer (clipped to it); waits until the
    // window has them. Returns DISPLAY_OK or an error code.
    virtual int Present(const TDisplayRect* rects, int32_t count) = 0;
    // Takes at most one event without blocking: 1 with *event filled, 0 when none is
    // waiting, or an error code.
    virtual int Poll(TDisplayEvent* event) = 0;
    // Blocks until an event may be waiting, DisplayWake is called or timeoutMs have
    // passed: 1 when something came, 0 when the time ran out. A display without an
    // event source of its own waits for a wake or the time.
    virtual int Wait(int32_t timeoutMs);

    int32_t backend = DisplayBackendAuto;  // the back end actually in use
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;            // pixels from one row to the next
    uint32_t* pixels = nullptr;   // frame buffer, 0x00RRGGBB
    uint32_t windowId = 0;        // the X window (0 when headless)
};

// Opens the display with the window caption and class name and a client area of
// width x height. On success *out holds the display.
int DisplayOpen(const char* caption, const char* className, int32_t width, int32_t height,
                std::unique_ptr<TDisplay>* out, int32_t backend = DisplayBackendAuto);

// The back end that DisplayBackendAuto picks in this environment.
int32_t DisplayChooseBackend();

// Clips a rectangle to width x height; false when nothing is left.
bool DisplayClipRect(const TDisplayRect& rect, int32_t width, int32_t height, TDisplayRect* out);

// Ends the current or the next Wait of any display at once (any thread).
void DisplayWake();
// Waits up to timeoutMs for fd (none when negative) to become readable or for a wake:
// 1 when either came (the wake is used up), 0 when the time ran out.
int DisplayWaitFd(int fd, int32_t timeoutMs);

// When the X server of an open display is lost (it ended, or the connection broke), Xlib
// allows no return into the program: `hook` runs then, with the display's name, to keep what
// must be kept without any X call and end the process; should it return, the process ends
// with code 1. Null puts Xlib's own ending back. Process-wide, over every connection.
typedef void (*TDisplayLostHook)(const char* displayName);
void DisplaySetLostHook(TDisplayLostHook hook);

// The x11 back end's opener (DisplayOpen calls it for DisplayBackendX11).
int DisplayOpenX11(const char* caption, const char* className, int32_t width, int32_t height,
                   std::unique_ptr<TDisplay>* out);

// ---- headless back end ----

// Queues an event for the headless display (any thread; kept across opens); a Wait
// under way returns.
void DisplayPushEvent(const TDisplayEvent& event);
// Drops every queued event.
void DisplayClearEvents();

// Moves the rectangles presented on a headless display since the last call into *rects
// (the newest DisplayUpdateLimit are kept). Returns the count, or DISPLAY_ERR_ARGS when
// the display is not headless.
constexpr size_t DisplayUpdateLimit = 4096;
int DisplayTakeUpdates(TDisplay* display, std::vector<TDisplayRect>* rects);

// A script of keys, as read from the file named by DASHVIEW_KEYS. One item a line:
//   a single character        that character          char N    character N (1..255)
//   alt C                     C with Alt held         key NAME  Left Right Up Down Home End
//   wait MS                   hold later items back             PageUp PageDown Insert Delete F1..F12
//   quit                      the window's close      #text     a comment (blank lines too;
//                                                               "#" alone is the character)
struct TDisplayScriptItem {
    TDisplayEvent event;  // type None for a wait
    int32_t waitMs;
};

// Parses a key script. Returns DISPLAY_OK, or DISPLAY_ERR_KEYS_FILE with *badLine set to
// the first bad line (1-based).
int DisplayParseKeys(const char* text, size_t size, std::vector<TDisplayScriptItem>* items,
                     int32_t* badLine);
