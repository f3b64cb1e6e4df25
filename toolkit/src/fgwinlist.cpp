// The window list: order, current window, activation, event delivery and
// the root window.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>

#include "fgdriver.h"
#include "fgwininternal.h"

FGWindowContext fg_window_context;

namespace {

void print_report(const char* message, int /*flags*/) { fg_error_print(message, 0); }
void silent_beep(int, int) {}

struct NamedCallback {
    std::string name;
    FGControlCallback callback;
};

FGMutex& registry_lock() {
    static FGMutex lock;
    return lock;
}

std::vector<NamedCallback>& registry() {
    static std::vector<NamedCallback> entries;
    return entries;
}

}  // namespace

void (*fg_error_reporter)(const char* message, int flags) = print_report;
void (*fg_beep)(int hz, int ms) = silent_beep;

void fg_window_failure(const char* message) {
    fg_error_print(message, 0);
    std::fflush(stderr);
    std::exit(1);
}

void fg_register_callback(const char* name, FGControlCallback callback) {
    if (!name) return;
    std::lock_guard<FGMutex> guard(registry_lock());
    for (NamedCallback& entry : registry())
        if (entry.name == name) {
            entry.callback = callback;
            return;
        }
    registry().push_back({name, callback});
}

FGControlCallback fg_find_callback(const char* name) {
    if (!name) return nullptr;
    std::lock_guard<FGMutex> guard(registry_lock());
    for (const NamedCallback& entry : registry())
        if (entry.name == name) return entry.callback;
    return nullptr;
}

namespace fgwin {

FGMutex& list_lock() {
    static FGMutex lock;
    return lock;
}

std::vector<FGWindow*>& windows() {
    static std::vector<FGWindow*> list;
    return list;
}

FGWindow*& current() {
    static FGWindow* window = nullptr;
    return window;
}

FGWindow*& root() {
    static FGWindow* window = nullptr;
    return window;
}

void insert(FGWindow* w) {
    std::lock_guard<FGMutex> guard(list_lock());
    std::vector<FGWindow*>& list = windows();
    size_t pos = list.size();
    if (w->flags & WTOP) {
        pos = list.size();
    } else if (w->flags & WBOTTOM) {
        pos = 0;
        while (pos < list.size() && (list[pos]->flags & WBOTTOM)) pos++;
    } else {
        for (size_t i = 0; i < list.size(); i++)
            if (list[i]->flags & WTOP) {
                pos = i;
                break;
            }
    }
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), w);
    current() = w;
}

void remove(FGWindow* w) {
    std::lock_guard<FGMutex> guard(list_lock());
    std::vector<FGWindow*>& list = windows();
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

int index_of(const FGWindow* w) {
    const std::vector<FGWindow*>& list = windows();
    for (size_t i = 0; i < list.size(); i++)
        if (list[i] == w) return static_cast<int>(i);
    return -1;
}

void paint_title(FGWindow* w, bool active) {
    if (w && (w->flags & WTITLED)) w->DrawTitle(CScheme->color[active ? 2 : 3]);
}

CountedLock::CountedLock(FGWindow* w) : window(w), id(w->id) {
    w->lock.Lock();
    w->lock_count++;
}

bool CountedLock::alive() const { return fg_find_window(id) == window; }

CountedLock::~CountedLock() {
    if (!alive()) return;
    window->lock_count--;
    window->lock.Unlock();
}

}  // namespace fgwin

using namespace fgwin;

FGWindow* GetCurrentWindow() {
    std::lock_guard<FGMutex> guard(list_lock());
    FGWindow* w = current();
    if (windows().empty() || !w || w->IsRoot()) return nullptr;
    return w;
}

FGWindow* fg_find_window(int id) {
    std::lock_guard<FGMutex> guard(list_lock());
    for (FGWindow* w : windows())
        if (w->id == id) return w;
    return nullptr;
}

int fg_window_count() {
    std::lock_guard<FGMutex> guard(list_lock());
    return static_cast<int>(windows().size());
}

FGWindow* fg_window_at(int index) {
    std::lock_guard<FGMutex> guard(list_lock());
    const std::vector<FGWindow*>& list = windows();
    return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<size_t>(index)]
                                                               : nullptr;
}

FGWindow* fg_root_window() { return root(); }

void SendToWindow(FGWindow* window, FGEvent* event) {
    if (!window || !window->pixels || !event) fg_window_failure("Internal Error 1 (SendToWindow)");
    event->window = window;
    CountedLock hold(window);
    switch (event->type) {
        case FGE_KEY: window->OnKeyPress(event->key); break;
        case FGE_CONTROL: window->OnControl(event->control); break;
        case FGE_MOVE_POINTER: window->OnMouseMove(event->x, event->y); break;
        case FGE_RIGHT_CLICK: window->OnRightClick(event->x, event->y); break;
        case FGE_CLICK: window->OnClick(event->x, event->y); break;
        case FGE_MIDDLE_CLICK: window->OnMiddleClick(event->x, event->y); break;
        case FGE_DRAG_END_LEFT:
        case FGE_DRAG_END_RIGHT:
            window->OnDragEnd(event->type == FGE_DRAG_END_LEFT, event->x, event->y, event->w,
                              event->h);
            break;
        case FGE_ACTIVATED: window->OnActivate(); break;
        case FGE_DEACTIVATED: window->OnDeactivate(); break;
        case FGE_RESIZED: window->OnResize(event->w, event->h); break;
        case FGE_MOVED: window->OnMove(event->x, event->y); break;
        case FGE_DRAG_START_LEFT:
        case FGE_DRAG_START_RIGHT:
            window->OnDragStart(event->type == FGE_DRAG_START_LEFT, event->x, event->y);
            break;
        case FGE_REDRAW: window->OnRedraw(); break;
        case FGE_ICONIFIED: window->OnIconize(); break;
        case FGE_DOUBLE_CLICK: window->OnDoubleClick(event->x, event->y); break;
        case FGE_WHEEL: window->OnWheel(event->x, event->y, event->buttons); break;
        case FGE_PAGE_CHANGED: window->OnPageChange(event->page); break;
        default: break;
    }
    if (hold.alive() && window->handler) window->handler(window, event);
}

void FGWindow::RunPendingCallback() {
    FGControl* control = last_notified;
    last_notified = nullptr;
    if (control) {
        if (control->callback_name) {
            if (FGControlCallback named = fg_find_callback(control->callback_name)) named(control);
        } else if (control->callback) {
            control->callback(control);
        }
    }
    fg_window_context.press_x = fg_window_context.press_y = -1;
}

void FGWindow::Activate(FGWindow* window) {
    if (!window) return;
    FGWindow* old = current();
    FGWindow* target = window;
    if (window->IsHidden() && window->icon_window && window->icon_window != FG_NO_ICON_WINDOW)
        target = window->icon_window;
    if (old && old != target && index_of(old) >= 0 && (old->flags & WMODAL)) {
        fg_beep(1000, 80);
        return;
    }
    if (old && index_of(old) >= 0) {
        FGEvent e{};
        e.type = FGE_DEACTIVATED;
        SendToWindow(old, &e);
    }
    if (fg_window_count() < 2 || old == target || index_of(target) < 0) return;
    if (old && index_of(old) >= 0) paint_title(old, false);
    {
        std::lock_guard<FGMutex> guard(list_lock());
        current() = target;
        if (!(target->flags & (WTOP | WBOTTOM))) {
            remove(target);
            insert(target);
        }
    }
    paint_title(target, true);
    target->UpdateAll();
    FGEvent e{};
    e.type = FGE_ACTIVATED;
    SendToWindow(target, &e);
}

void FGWindow::NextWindow() {
    FGWindow* cur = current();
    const int n = fg_window_count();
    if (n < 2 || (cur && (cur->flags & WMODAL))) {
        fg_beep(1000, 80);
        return;
    }
    int i = index_of(cur);
    for (int tries = 0; tries < 2 * n; tries++) {
        i = (i + 1) % n;
        FGWindow* w = fg_window_at(i);
        if (w && !w->IsRoot() && !w->IsHidden()) {
            Activate(w);
            return;
        }
    }
}

// ---------------------------------------------------------------- root window

FGWindow* fg_create_root_window(FGPixel background) {
    if (root()) return root();
    class RootWindow : public FGWindow {
    public:
        RootWindow(int w, int h, FGPixel bg) : FGWindow(w, h, bg) {}
    };
    return new RootWindow(fg_screen_width(), fg_screen_height(), background);
}

namespace {
void screen_resized(int, int) { fg_screen_size_changed(); }
}  // namespace

void fgwin::install_screen_hook() {
    if (!fg_root_resize_hook) fg_root_resize_hook = screen_resized;
}

void fg_screen_size_changed() {
    FGWindow* r = root();
    if (r) {
        std::lock_guard<FGMutex> guard(r->lock);
        r->resize(fg_screen_width() - r->width, fg_screen_height() - r->height);
        r->FGDrawBuffer::set_clip_rect(0, 0, r->width, r->height);
        r->clear(r->paper);
    }
    std::lock_guard<FGMutex> guard(list_lock());
    for (FGWindow* w : windows())
        if (!w->IsHidden()) w->UpdateScreen(0, 0, w->width, w->height);
}
