// The posted-event stack and the loops that drain it: Run, RunModal, polling,
// idle and timer ticks.
#include <algorithm>
#include <chrono>
#include <thread>

#include "fgapp.h"
#include "display.h"
#include "fgdriver.h"
#include "quitrequest.h"

FGIdleCallback fg_idle_callback = nullptr;

// ---------------------------------------------------------------- the stack

int fg_posted_count() {
    FGEventStack& s = fg_toolkit.events;
    std::lock_guard<std::mutex> guard(s.lock);
    return s.count;
}

int fg_take_posted(FGEvent* out) {
    FGEventStack& s = fg_toolkit.events;
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.count == 0) return 0;
    *out = s.slots[--s.count];
    return 1;
}

void fg_clear_posted() {
    FGEventStack& s = fg_toolkit.events;
    std::lock_guard<std::mutex> guard(s.lock);
    s.count = 0;
}

int fg_take_dropped() {
    FGEventStack& s = fg_toolkit.events;
    std::lock_guard<std::mutex> guard(s.lock);
    const int n = s.dropped;
    s.dropped = 0;
    return n;
}

void fg_report_dropped() {
    // The report builds a window: never under the stack's lock, never off the main thread.
    if (fg_take_dropped() > 0) fg_error("Message queque is full!", 0);
}

void FGApp::PostEvent(const FGEvent* event) {
    if (!event) return;
    FGEventStack& s = fg_toolkit.events;
    bool dropped = false;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (s.count < FG_EVENT_SLOTS) {
            s.slots[s.count++] = *event;
        } else {
            s.dropped++;
            s.dropped_total++;
            dropped = true;
        }
    }
    // A loop pausing for input takes the event now, not at the end of its pause.
    DisplayWake();
    if (dropped && fg_toolkit.app && std::this_thread::get_id() == fg_toolkit.main_thread)
        fg_report_dropped();
}

int fg_input_pause_ms(int ms) {
    if (ms <= 0) return 0;
    // The loop's own tick falls due within the pause: the pause ends with it.
    if (fg_toolkit.tick_period <= 0) return ms;
    const uint32_t now = fg_time_ms();
    const uint32_t since = now < fg_toolkit.last_tick ? 0 : now - fg_toolkit.last_tick;
    const uint32_t period = static_cast<uint32_t>(fg_toolkit.tick_period);
    return since >= period ? 0 : static_cast<int>(std::min<uint32_t>(static_cast<uint32_t>(ms), period - since));
}

int fg_wait_input(int ms) {
    if (fg_toolkit.quit || fg_posted_count() > 0) return 1;
    ms = fg_input_pause_ms(ms);
    if (fg_driver) return fg_driver->WaitInput(ms);
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return 0;
}

// ---------------------------------------------------------------- draining

namespace {

// The run hook, then the application's own hook for the type. 1 for a quit
// (the quit flag is set) or a leave event: the loop returns.
int deliver_posted(FGApp* app, FGEvent* e) {
    if (fg_toolkit.run_hook) fg_toolkit.run_hook(e);
    switch (e->type) {
        case FGE_KEY: app->OnKeyPress(e->key); break;
        case FGE_MOVE_POINTER: app->OnMouseMove(e->x, e->y); break;
        case FGE_RIGHT_CLICK: app->OnRightClick(e->x, e->y); break;
        case FGE_CLICK: app->OnClick(e->x, e->y); break;
        case FGE_DRAG_END_LEFT: app->OnDragEnd(1, e->x, e->y, e->w, e->h); break;
        case FGE_DRAG_END_RIGHT: app->OnDragEnd(0, e->x, e->y, e->w, e->h); break;
        case FGE_DRAG_START_LEFT: app->OnDragStart(1, e->x, e->y); break;
        case FGE_DRAG_START_RIGHT: app->OnDragStart(0, e->x, e->y); break;
        case FGE_SCREEN_EDGE: app->OnScreenEdge(e->key); break;
        case FGE_DOUBLE_CLICK: app->OnDoubleClick(e->x, e->y); break;
        case FGE_PAGE_CHANGED: app->OnPageChange(e->page); break;
        case FGE_QUIT: fg_toolkit.quit = 1; return 1;
        case FGE_LEAVE: return 1;
        default: break;
    }
    return 0;
}

// The control still lives on one of the window's pages (a callback may have
// destroyed it, or the whole window, since the event was posted).
bool control_of(FGWindow* window, int window_id, const FGControl* control) {
    if (!control || fg_find_window(window_id) != window) return false;
    for (const FGControlContainer* page : window->pages)
        for (const FGControl* c : page->controls)
            if (c == control) return true;
    return false;
}

}  // namespace

void FGApp::Run(FGRunHook hook) {
    if (hook) fg_toolkit.run_hook = hook;
    FGEvent event{};
    while (!fg_toolkit.quit) {
        if (QuitRequested()) {
            fg_toolkit.quit = 1;
            return;
        }
        PollInput(&event, -1);
        Dispatch(&event);
        FGEvent posted;
        while (fg_take_posted(&posted))
            if (deliver_posted(this, &posted)) return;
    }
}

int FGApp::RunModal(FGWindow* window) {
    if (!window) return -6;
    const int window_id = window->id;
    fg_toolkit.quit = 0;
    FGEvent local{};
    while (!fg_toolkit.quit) {
        if (QuitRequested()) return -1;
        PollInput(&local, -1);
        Dispatch(&local);
        // Every posted event is handled here as Run would: a refresh posted by
        // the timer while the window is up is not lost.
        FGEvent posted;
        while (fg_take_posted(&posted)) {
            if (deliver_posted(this, &posted)) return -7;
            if (posted.type == FGE_CONTROL && control_of(window, window_id, posted.control) &&
                posted.control->type == FG_TYPE_PUSHBUTTON && posted.control->argument != -1)
                return posted.control->argument;
        }
        local.type = 0;
        if (fg_find_window(window_id) != window || GetCurrentWindow() != window) return -6;
    }
    return -1;
}

// ---------------------------------------------------------------- polling

void FGApp::PollInput(FGEvent* out, int count) {
    *out = FGEvent{};
    fg_report_dropped();
    if (cursor_state == 1 && fg_cursor_callback) fg_cursor_callback(1, pointer_x, pointer_y);
    const int old_x = pointer_x, old_y = pointer_y;
    for (unsigned left = static_cast<unsigned>(count); left > 0; --left) {
        out->x = pointer_x;
        out->y = pointer_y;
        if (!input_suspended && fg_driver &&
            fg_driver->GetInputEvent(&out->type, &out->key, &out->x, &out->y, &out->buttons)) {
            if (out->type == FGE_KEY && (out->key == 512 || out->key == 635 || out->key == 1036 ||
                                         out->key == 1060)) {
                Screenshot();
                *out = FGEvent{};
                continue;
            }
            if (out->type == FGE_KEY && out->key == 3) {
                // Ctrl-C ends the loop as a quit signal does, so that the program's
                // shutdown still saves its files; the exit code is the caller's.
                RequestQuit(FG_EXIT_INTERRUPT);
                *out = FGEvent{};
                break;
            }
            pointer_x = out->x;
            pointer_y = out->y;
            break;
        }
        out->type = 0;
        Idle();
        TimerTick();
        if (fg_toolkit.quit || fg_posted_count() > 0 || QuitRequested()) break;
    }
    if (cursor_state == 1 && fg_cursor_callback) fg_cursor_callback(0, old_x, old_y);
    cursor_state = out->type != FGE_KEY ? 1 : 0;
}

void FGApp::Idle() {
    if (fg_idle_callback) {
        fg_idle_callback(this);
    } else if (OnIdle() != 1) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void FGApp::TimerTick() {
    const uint32_t now = fg_time_ms();
    if (now < fg_toolkit.last_tick) {
        fg_toolkit.last_tick = now;
        return;
    }
    if (now - fg_toolkit.last_tick < static_cast<uint32_t>(fg_toolkit.tick_period)) return;
    fg_toolkit.last_tick = now;
    const int seconds = static_cast<int>(now / 1000);
    if (fg_toolkit.tick_callback)
        fg_toolkit.tick_callback(seconds);
    else
        OnTimer(seconds);
}
