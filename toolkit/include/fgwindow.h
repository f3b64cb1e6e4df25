// Retained windows: every window is a drawing buffer with its own pixels and
// a place on the screen. Windows sit in one list ordered bottom to top and
// push only their uncovered parts to the screen.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <vector>

#include "fgdrawbuffer.h"
#include "fgwindb.h"

class FGWindow;
class FGControl;
class FGControlContainer;

// Buffer types of the window layer (the others are in fgdrawbuffer.h).
constexpr unsigned FG_TYPE_NOTIFIED_WINDOW = 0x4008;   // window with WCLOSENOTIFY
constexpr unsigned FG_TYPE_INPUT_LINE = 0x4004;
constexpr unsigned FG_TYPE_IMAGE_BUTTON = 0x4006;

// Window flags.
enum : unsigned {
    WFRAMED = 0x1,             // frame of 4 pixels
    WTITLED = 0x2,             // title bar of 22 pixels (23 with its separator)
    WMODAL = 0x4,              // others cannot be activated; new windows open behind it
    WCLOSEQUERY = 0x8,         // closing asks first; the window is not destroyed by closing
    WHIDDEN = 0x10,            // state: iconified
    WNOBODYDRAG = 0x20,
    WMENU = 0x40,              // menu bar of 23 pixels
    WNOCLOSE = 0x80,           // no close button; closing is refused
    WUNUSED200 = 0x200,
    WCLIPPED = 0x400,          // state: some pixels are not on the screen
    WFOCUSED = 0x800,          // controls take keyboard focus
    WSUSPENDED = 0x1000,       // state: screen updates suspended
    WNOACTIVATE = 0x4000,      // opens without taking activation
    WRESIZE = 0x8000,          // resizable; stored size used with WUSEDB
    WUSEDB = 0x10000,          // geometry from the window database
    WICONIFY = 0x20000,        // iconify button
    WSTATUS = 0x40000,         // status line of 20 pixels
    WNOTEBOOK = 0x200000,      // notebook tabs of 19 pixels
    WBOTTOM = 0x400000,        // stays in the bottom group
    WCENTRED = 0x800000,
    WESCAPE = 0x1000000,       // Esc closes the window
    WGRID4 = 0x2000000,        // geometry in multiples of 4 pixels
    WTOP = 0x8000000,          // stays on top
    WNOICON = 0x10000000,      // iconifies without an icon window
    WNOFIRSTPAINT = 0x20000000,
    WFULLDRAG = 0x40000000,    // the whole body drags the window
    WCLOSENOTIFY = 0x80000000, // receives event 5 when another window opens
};

// Heights of the window furniture.
constexpr int FG_FRAME = 4;
constexpr int FG_TITLE = 22;
constexpr int FG_MENUBAR = 23;
constexpr int FG_TABS = 19;
constexpr int FG_STATUS = 20;

// One toolkit event (ten words; in-process only, so pointers are native size).
struct FGEvent {
    int type;
    int key;
    int buttons;
    int x, y;
    int w, h;
    int control_type;
    FGWindow* window;
    FGControl* control;
    // Type 29: the selected page's name (key holds the page index; a pointer
    // does not fit in an int here).
    const char* page;
};

// Event types.
enum {
    FGE_KEY = 1, FGE_CONTROL = 4, FGE_CLOSING = 5, FGE_MOVE_POINTER = 7, FGE_RIGHT_CLICK = 8,
    FGE_CLICK = 9, FGE_MIDDLE_CLICK = 10, FGE_DRAG_END_LEFT = 11, FGE_DRAG_END_RIGHT = 12,
    FGE_ACTIVATED = 13, FGE_DEACTIVATED = 14, FGE_OPENED = 15, FGE_RESIZED = 17,
    FGE_MOVED = 18, FGE_DRAG_START_LEFT = 19, FGE_DRAG_START_RIGHT = 20, FGE_REDRAW = 21,
    FGE_CLOSE_ANSWER = 22, FGE_ICONIFIED = 23, FGE_DOUBLE_CLICK = 26, FGE_WHEEL = 28,
    FGE_PAGE_CHANGED = 29,
};

typedef int (*FGEventHandler)(FGWindow* window, FGEvent* event);
typedef void (*FGControlCallback)(FGControl* control);
// Mode 1 move, 2 resize.
typedef void (*FGMoveCallback)(int x, int y, int* dx, int* dy, int mode);

// Process-wide settings the window layer reads; the application object fills them.
struct FGWindowContext {
    unsigned app_flags = 0;               // 0x10: a root window exists
    FGPixel background = 0;               // screen background without a root window
    WindowDatabase* database = nullptr;   // open window database, or none
    int quitting = 0;                     // program ends: no screen restores
    int full_drag = 1;                    // full-window drag (icon animation)
    int press_x = -1, press_y = -1;       // remembered press coordinates
    int pointer_x = 0, pointer_y = 0;
};
extern FGWindowContext fg_window_context;

// Error report (message, flags: bit 0 error, bit 1 modal). The application
// installs its error window here; by default the message is printed.
extern void (*fg_error_reporter)(const char* message, int flags);
// Beep (Hz, ms); no sound device is assumed, the application may install one.
extern void (*fg_beep)(int hz, int ms);
// A broken window state: prints the message and ends the process with code 1.
[[noreturn]] void fg_window_failure(const char* message);

// Named control callbacks (none registered by this system).
void fg_register_callback(const char* name, FGControlCallback callback);
FGControlCallback fg_find_callback(const char* name);

// ---------------------------------------------------------------- base of windows and controls

class FGBaseGui : public FGDrawBuffer {
public:
    int screen_x, screen_y;   // top-left pixel on the screen (controls: in the window)
    int page_id;
    int word_a, word_b;       // -1 at construction; controls keep their creator's id in word_b
    FGPixel ink, paper;
    uint8_t disabled;

    FGBaseGui(int x, int y, int w, int h, const char* name, unsigned type, FGPixel ink,
              FGPixel paper, unsigned flags);
    ~FGBaseGui() override = default;

    virtual void DrawFocus() {}
    virtual void OnActivate() {}
    virtual void OnDeactivate() {}
};

// One notebook page: the controls of a window that show together.
class FGControlContainer {
public:
    std::vector<FGControl*> controls;   // creation order
    FGControl* focus = nullptr;
    char* name;
    int tab_width;   // text width of the name in font 8 plus 16
    int tab_y;
    int selected = 0;

    FGControlContainer(const char* name, int tab_y);
    // Destroys the page's controls.
    ~FGControlContainer();
    FGControlContainer(const FGControlContainer&) = delete;
    FGControlContainer& operator=(const FGControlContainer&) = delete;
    void Remove(FGControl* control);
};

// Control states (low three bits of the flag word).
enum : unsigned { FG_CONTROL_NORMAL = 7, FG_CONTROL_PRESSED = 3, FG_CONTROL_DISABLED = 5,
                  FG_CONTROL_TOGGLED = 0x2000 };

// What a window needs of its controls; push buttons and panels derive from it.
class FGControl : public FGBaseGui {
public:
    int index;                    // the window's control counter at creation
    int hot_key;                  // a..z kept as A..Z
    FGControlCallback callback;
    FGWindow* parent;
    void* group;
    char* callback_name;          // owned, or none
    FGControlContainer* page;     // the page it lives on

    // x and y are relative to the window's client area.
    FGControl(int x, int y, int w, int h, const char* label, unsigned type, int hot_key,
              FGWindow* parent, FGControlCallback callback, FGPixel paper, FGPixel ink, int id);
    ~FGControl() override;

    void DrawFocus() override;
    virtual void Press(int /*x*/, int /*y*/) {}
    virtual void OnWheel(int /*step*/) {}
    virtual void GetRect(int* x, int* y, int* w, int* h) const;
    virtual FGPixel FocusColor() { return 0xFCE000; }
    virtual void Draw() {}
    virtual void SetText(const char* text);
    virtual void Notify();
    virtual void Release(int fire);
    virtual double GetDouble();
    virtual int GetInteger();
    virtual const char* GetString();
};

// ---------------------------------------------------------------- windows

class FGWindow : public FGBaseGui {
public:
    std::vector<FGControlContainer*> pages;   // owned; at least one
    FGControlContainer* current_page;
    const char* page_name;
    int redraw_request;
    int spare;
    uint8_t state_bits;        // 0x1 painted at least once, 0x2 contents changed
    // The handler lays the paper itself on a redraw: a page that covers the
    // window with a picture spares the fill that the picture would overwrite.
    bool own_paper = false;
    int print_x, print_y;
    FGEventHandler handler;
    FGControl* last_notified;
    FGMoveCallback move_callback;
    FGMutex lock;
    int lock_count;
    FGPixel status_colour;
    FGControl* input_line;
    int icon_x, icon_y;
    FGWindow** owner_handle;
    FGWindow* icon_window;     // none, an IconWindow or FG_NO_ICON_WINDOW
    FGDrawBuffer* icon_bitmap;
    int extra;
    int control_counter;

    FGWindow(FGWindow** handle, int x, int y, int w, int h, const char* title,
             FGEventHandler handler = nullptr, FGPixel ink = 0, FGPixel paper = 0xFFFFFF,
             unsigned flags = 0, int extra = 0);
    ~FGWindow() override;

    void DrawFocus() override {}
    virtual int Iconize(int x, int y);
    virtual void UpdateScreen(int x, int y, int w, int h);
    virtual int HitTitleButton(int x, int y);
    virtual void DrawTitle(FGPixel colour);
    virtual void DrawFrame();
    virtual void OnKeyPress(int /*key*/) {}
    virtual void OnMouseMove(int, int) {}
    virtual void OnClick(int, int) {}
    virtual void OnDoubleClick(int, int) {}
    virtual void OnMiddleClick(int, int) {}
    virtual void OnRightClick(int, int) {}
    virtual void OnWheel(int, int, int) {}
    virtual void OnRedraw() {}
    virtual void OnDragStart(int, int, int) {}
    virtual void OnDragEnd(int, int, int, int, int) {}
    virtual void OnMove(int, int) {}
    virtual void OnResize(int, int) {}
    virtual void OnIconize() {}
    virtual void OnControl(FGControl*) {}
    virtual void OnPageChange(const char*) {}

    static void Activate(FGWindow* window);
    // True when the window was kept.
    bool Close();
    static void NextWindow();

    // The client area becomes (x, y, w, h), cut to the window; false (and no
    // change) for an empty rectangle or one that starts outside the window.
    bool set_clip_rect(int x, int y, int w, int h);

    // Pushes the uncovered parts of a rectangle (window coordinates).
    void UpdateVisible(int x, int y, int w, int h);
    // The same for a rectangle of the client area, cut to it.
    void UpdateClient(int x, int y, int w, int h);
    void UpdateAll() { UpdateVisible(0, 0, width, height); }

    // Window-level drawing in client coordinates, shown at once.
    void WriteText(int x, int y, const char* text, FGPixel ink = FG_DEFAULT_COLOUR,
                   FGPixel paper = FG_DEFAULT_COLOUR);
    void FillBox(int x, int y, int w, int h, FGPixel colour = FG_DEFAULT_COLOUR);
    void DrawLine(int x1, int y1, int x2, int y2, FGPixel colour = FG_DEFAULT_COLOUR);
    void DrawBox(int x, int y, int w, int h, FGPixel colour = FG_DEFAULT_COLOUR);
    void CopyArea(int x, int y, int src_x, int src_y, int w, int h, FGDrawBuffer* source);
    void printf(int x, int y, const char* format, ...) __attribute__((format(printf, 4, 5)));
    void putc(int character);

    // Notebook pages: AddPage appends a page and makes it current.
    FGControlContainer* AddPage(const char* name);
    int SelectPage(const char* name);
    void NextPage();

    // Push button of the toolkit's dialogs (x, y relative to the client area).
    FGControl* AddPushButton(int x, int y, int w, int h, const char* label, int hot_key,
                             FGControlCallback callback, int id = 0);

    // The window's last notified control: its callback runs now.
    void RunPendingCallback();

    bool IsHidden() const { return (flags & WHIDDEN) != 0; }
    bool IsRoot() const { return type == FG_TYPE_ROOT; }

protected:
    // The root window.
    FGWindow(int w, int h, FGPixel background);

private:
    void Setup(int extra);
    void Open();
    void DrawTabs();
    void Hide();
    void Show();
    void IconAnimation(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
};

// Stands for an iconified window.
class IconWindow : public FGWindow {
public:
    FGWindow* owner_window;
    IconWindow(int x, int y, FGWindow* owner);
    ~IconWindow() override;
    void DrawFrame() override;
};

// Marker in icon_window: iconified without an icon window.
extern FGWindow* const FG_NO_ICON_WINDOW;

// ---------------------------------------------------------------- the window list

// The current window, or none when the list is empty or the root window is current.
FGWindow* GetCurrentWindow();
// Delivers one event to the window's hooks and handler.
void SendToWindow(FGWindow* window, FGEvent* event);
// The window with this object id while it is in the list, or none.
FGWindow* fg_find_window(int id);
// Windows bottom first.
int fg_window_count();
FGWindow* fg_window_at(int index);
FGWindow* fg_root_window();
// Creates the root window over the whole screen in the background colour.
FGWindow* fg_create_root_window(FGPixel background);
// After a change of screen size: the root takes the size, every window is shown again.
void fg_screen_size_changed();
// A rectangle of the screen is uncovered (screen coordinates): what lies
// there is drawn again from the windows, bottom first; `except` is skipped.
void fg_restore_screen_area(int x, int y, int w, int h, const FGWindow* except = nullptr);
