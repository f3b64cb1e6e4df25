// The screen driver: video modes, the frame buffer that windows copy their pixels into,
// showing changed rectangles, page flipping and key input; FGScreen, the screen as a
// drawing buffer over the frame buffer.
#pragma once

#include <cstdint>
#include <memory>

#include "fgbase.h"
#include "fgdrawbuffer.h"

class TDisplay;

// Video modes 1..7 of the mode table; 8 is the custom size.
constexpr int FG_MODE_CUSTOM = 8;
constexpr int FG_MAX_MODES = 256;
constexpr int FG_MAX_PAGES = 4;

// Exit code of the process when the display window or its frame buffer cannot be had.
constexpr int FG_EXIT_SCREEN_FAILURE = 3;

// Hardware flags of the driver.
constexpr int FG_HW_FILL = 1;
constexpr int FG_HW_LINE = 2;
constexpr int FG_HW_BLITTER = 4;
constexpr int FG_HW_MOUSE_CURSOR = 8;

// Key codes produced by the driver.
constexpr int FG_KEY_EXTENDED = 256;   // + virtual key: arrows, Home, End, PgUp, PgDn, Ins, Del
constexpr int FG_KEY_FUNCTION = 512;   // + virtual key: F1-F12 (624-635)
constexpr int FG_KEY_ALT = 4096;       // + character typed with Alt
constexpr int FG_KEY_QUIT = 4216;      // the window was closed (same as Alt+x)

// One entry of the mode list.
struct FGVideoMode {
    int16_t width;
    int16_t height;
    int16_t index;
    uint8_t linear;    // 1
    uint8_t refresh;   // 0: default
};
static_assert(sizeof(FGVideoMode) == 8, "mode list entry");

// Width and height of a mode number (1..8, 8 the custom size); false for other numbers.
bool fg_mode_size(int mode, int* width, int* height);

// The driver interface; every operation has a do-nothing default.
class FGDriver {
public:
    FGDrawBuffer* saved_screen = nullptr;   // screen copy restored after a mode change
    const char* name;
    const char* description = "";
    int hw_accel = 0;
    int mode_count = 0;
    uint8_t mouse_set = 0;
    uint8_t keyboard_set = 0;
    uint8_t save_screen = 0;    // the screen is copied across the next mode change
    uint8_t verbose = 0;
    int width = 0, height = 0;
    int virtual_width = 0, virtual_height = 0;
    int spare_int1 = 0, spare_int2 = 0;
    int wanted_width = 0, wanted_height = 0;
    int pitch = 0;              // bytes from one row to the next
    int mode_index = -1;
    int bytes_per_pixel = 4;
    int refresh = 0;            // 0: default
    int page = 0;
    int page_count = 0;
    uintptr_t video_memory = 0;
    uintptr_t io_memory = 0;
    uint32_t video_memory_size = 0;
    uintptr_t memory_spare[2] = {0, 0};
    FGPixel* frame_buffer = nullptr;
    FGPixel* pages[FG_MAX_PAGES] = {nullptr, nullptr, nullptr, nullptr};
    FGVideoMode modes[FG_MAX_MODES] = {};
    const char* hw_name = "";
    int hw_flags = 0;
    int spare_int3 = 0, spare_int4 = -1;
    const char* mouse_name = "default";
    int page_offset = 0;        // bytes

    explicit FGDriver(const char* driver_name);
    FGDriver(const FGDriver&) = delete;
    FGDriver& operator=(const FGDriver&) = delete;

    virtual int FindMode(int* w, int* h);
    virtual int LeaveMode();
    virtual int set_mouse();
    virtual void reset_mouse();
    virtual int set_keyboard();
    virtual void reset_keyboard();
    virtual void EnumModes();
    virtual int available();
    virtual int link();
    virtual ~FGDriver();   // unload
    // 1 with an event (type 1 = key), 0 when none is waiting.
    virtual int GetInputEvent(int* type, int* key, int* x, int* y, int* buttons);
    virtual int SetMode(int w, int h);
    virtual void change_mouse();
    virtual void ShutdownInput();
    virtual void Spare1() {}
    virtual int SetupPages(int count);
    virtual void ResetPages();
    virtual int ShowPage(int n);
    virtual int NextPage();
    virtual int Spare2() { return 0; }
    virtual int Spare3() { return 0; }
    // Shows a w x h rectangle of the frame buffer: from (sx, sy) to (x, y) on the display.
    virtual void UpdateRect(int x, int y, int sx, int sy, int w, int h);
    virtual int Spare4() { return -128; }
    virtual int Spare5() { return -128; }
    // Waits up to ms for input (or a wake from another thread): 1 when some may be
    // waiting, 0 when the time ran out. Without a source to wait on, it sleeps.
    virtual int WaitInput(int ms);

    // Sorts the mode list (descending width, height, refresh) and counts it; 0 when empty.
    int SortModes();
    // The set-up every driver does after a new frame buffer: sizes, pages, FGScreen, the
    // raster layer's screen context, and the saved screen copied back.
    void CommonSetup();
    // Prints the description lines (verbose link).
    void PrintInfo() const;
    // FGScreen and the raster layer's screen context follow the current frame buffer.
    void FollowFrameBuffer();
    // FGScreen and the screen context let go of this driver's frame buffer.
    void DetachScreen();
};

// A library loaded by name (the display layer is one of them).
typedef void (*FGLibraryEntry)();
struct FGLibraryExport {
    const char* name;
    FGLibraryEntry entry;
};
class FGDynamicLibrary {
public:
    const FGLibraryExport* exports = nullptr;   // none when loading failed
    int count = 0;

    explicit FGDynamicLibrary(const char* file);
    ~FGDynamicLibrary();
    FGDynamicLibrary(const FGDynamicLibrary&) = delete;
    FGDynamicLibrary& operator=(const FGDynamicLibrary&) = delete;
    // The entry's address, or null (with an error line) when it is missing.
    FGLibraryEntry symbol(const char* entry_name) const;
};

// The display window: class "myExe", caption "Velvix", over platform/display.
class FGWin32DXDriver : public FGDriver {
public:
    FGDynamicLibrary* ddraw = nullptr;   // the display layer, loaded by name
    void (*direct_draw_create)() = nullptr;     // its "DirectDrawCreate" entry
    std::unique_ptr<TDisplay> direct_draw;      // the open display (window and surfaces)
    uint8_t full_screen;
    const char* class_name;

    FGWin32DXDriver(const char* window_class, int fullscreen);
    ~FGWin32DXDriver() override;

    int LeaveMode() override;
    void EnumModes() override;
    int available() override;
    int link() override;
    int GetInputEvent(int* type, int* key, int* x, int* y, int* buttons) override;
    int WaitInput(int ms) override;
    int SetMode(int w, int h) override;
    int SetupPages(int count) override;
    int ShowPage(int n) override;
    void UpdateRect(int x, int y, int sx, int sy, int w, int h) override;

private:
    std::unique_ptr<FGPixel[]> flip_chain[2];   // full-screen flip surfaces
    int front = 0;                              // the flip surface on display
    void ReleaseSurfaces();
};

// The screen as a drawing buffer (type 0x4012) over the driver's frame buffer.
class FGScreen : public FGDrawBuffer {
public:
    FGScreen();
    // Takes the frame buffer (null: detached).
    void Attach(FGPixel* frame, int stride, int w, int h);
};
FGScreen& fg_get_screen();

// What the application asks of the driver (set before fg_set_mode).
struct FGDriverSettings {
    int custom_width = 0, custom_height = 0;   // mode 8 ("-geometry")
    uint8_t windowed = 0;
    uint8_t verbose = 0;
    int refresh = 0;
};
extern FGDriverSettings fg_driver_settings;

// The linked driver (null before the first mode is set and after mode 0).
extern FGDriver* fg_driver;

// Sets the video mode: 1 on success, 0 when no driver can be linked or the size cannot be
// set. Mode 0 shuts the driver down.
int fg_set_mode(int mode);

// Called after a change of screen size (the window layer resizes its root window); or null.
extern void (*fg_root_resize_hook)(int w, int h);
// The application's cursor callback (show 1 / hide 0 at x, y); answers 1 when hidden.
extern int (*fg_cursor_callback)(int show, int x, int y);

// The text of a DirectDraw result code, or null for an unknown code.
const char* fg_dd_error_text(uint32_t code);
// Prints "call: text\n" (or the unknown-code line) to standard error.
void fg_dd_error(const char* call, uint32_t code);
