// The application object: toolkit options, the toolkit configuration file, the
// screen mode, and the event loop on the main thread with its posted-event stack.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "fgwindow.h"

class FGApp;
class ConfigInterface;
class WindowDatabase;

// Event types of the loop that the window layer does not name.
enum {
    FGE_NONE = 0, FGE_RAW_POINTER = 2, FGE_QUIT = 3, FGE_LEAVE = 6, FGE_REPEAT = 16,
    FGE_SCREEN_EDGE = 24,
};

// Application flags (constructor argument).
enum : unsigned {
    FG_APP_WINDOW_DB = 0x1,        // open the window database
    FG_APP_CONFIG_WRITE = 0x2,     // the configuration file may be written
    FG_APP_ALT_X_QUITS = 0x4,      // key 4216 posts a quit
    FG_APP_DRAG_BOX = 0x8,         // show the drag rectangle while dragging
    FG_APP_ROOT_WINDOW = 0x10,     // create the root window
    FG_APP_WIPE_AT_EXIT = 0x20,    // wipe the screen line by line at exit
    FG_APP_IGNORE_HOME = 0x80000000u,
};

// Toolkit key codes with a fixed meaning.
constexpr int FG_KEY_NEXT_WINDOW = 4095;
constexpr int FG_KEY_CLOSE_WINDOW = 4612;
constexpr int FG_KEY_ICONIFY = 4620;

// Exit code of the process when the screen mode cannot be set.
constexpr int FG_EXIT_NO_MODE = -2;
// Exit code asked for (RequestQuit) by Ctrl-C from the keyboard.
constexpr int FG_EXIT_INTERRUPT = 2;

typedef int (*FGRunHook)(FGEvent* event);
typedef void (*FGIdleCallback)(FGApp* app);
typedef void (*FGTickCallback)(int seconds);

// The posted-event stack: 32 events, newest first out. Posting happens on the
// timer thread as well as on the main thread; every access holds the lock.
constexpr int FG_EVENT_SLOTS = 32;
struct FGEventStack {
    FGEvent slots[FG_EVENT_SLOTS] = {};
    int count = 0;
    int dropped = 0;         // drops not yet reported
    uint32_t dropped_total = 0;
    std::mutex lock;
};

// Process-wide toolkit state.
struct FGToolkitState {
    int video_mode = 0;
    int argc = 0;
    char** argv = nullptr;
    int background = 0;              // 0x00RRGGBB; 255: the screen is not cleared at start
    std::string base_name;
    int tick_period = 0;             // ms
    FGTickCallback tick_callback = nullptr;
    uint32_t last_tick = 0;
    unsigned app_flags = 0;
    char work_dir[128] = "";
    std::string home;
    uint8_t verbose = 0;
    int quit = 0;
    uint8_t windowed = 0;
    int custom_width = 0, custom_height = 0;
    uint8_t custom_size = 0;
    uint8_t dac8 = 0;
    uint8_t ps2_mouse = 0;
    uint8_t dev_mouse = 0;
    uint8_t no_accel = 0;
    uint8_t mmx = 0;
    int full_drag = 1;
    int click_beeps = 1;
    FGApp* app = nullptr;
    std::thread::id main_thread;     // the application's thread
    std::unique_ptr<ConfigInterface> config;
    std::unique_ptr<WindowDatabase> database;
    FGWindow* root = nullptr;
    FGRunHook run_hook = nullptr;
    FGEventStack events;
};
extern FGToolkitState fg_toolkit;

// Called by FGApp::Idle in place of OnIdle when set.
extern FGIdleCallback fg_idle_callback;

// How much of an idle pause of ms may pass before the loop's tick falls due.
int fg_input_pause_ms(int ms);
// The idle hook's pause: returns at once when an event is posted or waiting, else
// waits up to ms (and no longer than the tick allows) for input or a post from
// another thread. 1 when something came.
int fg_wait_input(int ms);

class FGApp : public FGConnector {
public:
    int cursor_state = -1;           // 1 when the last event was not a key
    int pointer_x = 0, pointer_y = 0;
    int input_suspended = 0;
    uint8_t first_pointer = 1;
    // Pointer and drag state (no pointer input exists on this driver).
    int buttons = 0, old_buttons = 0;
    int press_x = 0, press_y = 0;
    int move_dx = 0, move_dy = 0, resize_dx = 0, resize_dy = 0;
    int drag_x = 0, drag_y = 0, drag_w = 0, drag_h = 0;
    int held_moves = 0;
    FGWindow* press_window = nullptr;
    FGEvent* spare_event;            // type 16, for control auto-repeat

    FGApp(int video_mode, int* argc, char** argv, int background, unsigned flags);
    ~FGApp() override;
    FGApp(const FGApp&) = delete;
    FGApp& operator=(const FGApp&) = delete;

    virtual void OnKeyPress(int /*key*/) {}
    virtual void OnMouseMove(int, int) {}
    virtual void OnClick(int, int) {}
    virtual void OnDoubleClick(int, int) {}
    virtual void Spare1() {}
    virtual void OnRightClick(int, int) {}
    virtual void Spare2() {}
    virtual void OnDragStart(int /*left*/, int, int) {}
    virtual void OnDragEnd(int /*left*/, int, int, int, int) {}
    virtual void OnScreenEdge(int /*bits*/) {}
    virtual int OnIdle() { return 0; }
    virtual void OnTimer(int /*seconds*/) {}
    virtual void OnPageChange(const char* /*page*/) {}

    // Returns when a quit (3) or leave (6) event is drained, or at once when the
    // quit flag or the process's quit request is set.
    void Run(FGRunHook hook = nullptr);
    // -7 quit or leave, -6 the window is no longer current, -1 quit flag set
    // elsewhere, or the argument of a push button of the window.
    int RunModal(FGWindow* window);
    // Copies the event onto the stack (any thread). A full stack drops it.
    static void PostEvent(const FGEvent* event);
    // count: polls without input before giving up (-1: unlimited).
    void PollInput(FGEvent* out, int count);
    void Dispatch(FGEvent* event);
    int HandleToolkitKey(int key);
    void Idle();
    void TimerTick();
    void Screenshot();
};

// Parses and removes the toolkit options (into fg_toolkit and its video mode).
void fg_parse_options(int* argc, char** argv);

// Posted-event stack access (any thread).
int fg_posted_count();
// Takes the newest event: 1, or 0 when the stack is empty.
int fg_take_posted(FGEvent* out);
void fg_clear_posted();
// Drops since the last call (main thread reports them).
int fg_take_dropped();
// Shows the "Message queque is full!" warning when events were dropped.
void fg_report_dropped();

// Error report: flags bit 0 error (else warning), bit 1 wait for the answer.
void fg_error(const char* message, int flags);
// The open error window, or none.
FGWindow* fg_error_window();
