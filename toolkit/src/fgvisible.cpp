// What of a window reaches the screen: its rectangles less the windows above it.
#include <algorithm>
#include <cstdint>
#include <mutex>

#include "fgwininternal.h"

using namespace fgwin;

namespace {

constexpr int RECT_LIST = 1024;

struct Box {
    int64_t left, top, right, bottom;   // right, bottom exclusive
    bool empty() const { return right <= left || bottom <= top; }
};

Box screen_box(const FGWindow* w) {
    return {w->screen_x, w->screen_y, static_cast<int64_t>(w->screen_x) + w->width,
            static_cast<int64_t>(w->screen_y) + w->height};
}

Box intersect(const Box& a, const Box& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool shows(const FGWindow* w) { return !w->IsHidden(); }

// The parts of r outside cover, appended to out (left, top, right, bottom
// strips). False when they would not fit.
bool subtract(const Box& r, const Box& cover, Box* out, int* n) {
    const Box in = intersect(r, cover);
    Box parts[4];
    int count = 0;
    if (in.empty()) {
        parts[count++] = r;
    } else {
        if (r.left < in.left) parts[count++] = {r.left, r.top, in.left, r.bottom};
        if (r.top < in.top) parts[count++] = {in.left, r.top, in.right, in.top};
        if (in.right < r.right) parts[count++] = {in.right, r.top, r.right, r.bottom};
        if (in.bottom < r.bottom) parts[count++] = {in.left, in.bottom, in.right, r.bottom};
    }
    if (*n + count > RECT_LIST) return false;
    for (int i = 0; i < count; i++) out[(*n)++] = parts[i];
    return true;
}

// Two lists used alternately; held only under the window-list lock.
Box lists[2][RECT_LIST];

void push_part(FGWindow* w, const Box& area) {
    const Box part = intersect(area, screen_box(w));
    if (part.empty()) return;
    w->UpdateScreen(static_cast<int>(part.left - w->screen_x),
                    static_cast<int>(part.top - w->screen_y),
                    static_cast<int>(part.right - part.left),
                    static_cast<int>(part.bottom - part.top));
}

}  // namespace

void FGWindow::UpdateScreen(int x, int y, int w, int h) {
    fg_buffer_to_screen(pixels, x, y, screen_x + x, screen_y + y, w, h, width, height, 0, 0);
}

void FGWindow::UpdateVisible(int x, int y, int w, int h) {
    std::lock_guard<FGMutex> guard(list_lock());
    if (flags & WSUSPENDED) {
        flags |= WCLIPPED;
        return;
    }
    const Box local = intersect({x, y, static_cast<int64_t>(x) + w, static_cast<int64_t>(y) + h},
                                {0, 0, width, height});
    if (local.empty()) return;
    if (IsHidden() || disabled) {
        flags |= WCLIPPED;
        return;
    }
    const int self = index_of(this);
    if (self < 0) return;   // not on the screen
    const std::vector<FGWindow*>& list = windows();
    const Box area{local.left + screen_x, local.top + screen_y, local.right + screen_x,
                   local.bottom + screen_y};
    bool covered = false;
    for (size_t i = static_cast<size_t>(self) + 1; i < list.size() && !covered; i++)
        covered = shows(list[i]) && !intersect(area, screen_box(list[i])).empty();
    if (!covered) {
        UpdateScreen(static_cast<int>(local.left), static_cast<int>(local.top),
                     static_cast<int>(local.right - local.left),
                     static_cast<int>(local.bottom - local.top));
        return;
    }
    flags |= WCLIPPED;
    int from = 0, count = 1;
    lists[0][0] = area;
    for (size_t i = static_cast<size_t>(self) + 1; i < list.size() && count > 0; i++) {
        if (!shows(list[i])) continue;
        const Box cover = screen_box(list[i]);
        int n = 0;
        for (int k = 0; k < count; k++) {
            if (subtract(lists[from][k], cover, lists[1 - from], &n)) continue;
            // Too many pieces: draw the whole area again from this window up.
            for (size_t j = static_cast<size_t>(self); j < list.size(); j++)
                if (shows(list[j])) push_part(list[j], area);
            return;
        }
        from = 1 - from;
        count = n;
    }
    for (int k = 0; k < count; k++) push_part(this, lists[from][k]);
}

void FGWindow::UpdateClient(int x, int y, int w, int h) {
    const Box part = intersect({x, y, static_cast<int64_t>(x) + w, static_cast<int64_t>(y) + h},
                               {0, 0, clip_w, clip_h});
    if (part.empty()) return;
    UpdateVisible(static_cast<int>(part.left + clip_x), static_cast<int>(part.top + clip_y),
                  static_cast<int>(part.right - part.left),
                  static_cast<int>(part.bottom - part.top));
}

void fg_restore_screen_area(int x, int y, int w, int h, const FGWindow* except) {
    if (w <= 0 || h <= 0) return;
    std::lock_guard<FGMutex> guard(list_lock());
    if (!root()) fg_screen_fill(x, y, w, h, fg_window_context.background, 0);
    const Box area{x, y, static_cast<int64_t>(x) + w, static_cast<int64_t>(y) + h};
    for (FGWindow* win : windows()) {
        if (win == except || !shows(win)) continue;
        const Box b = screen_box(win);
        // Edges touch or cross, both ends included.
        if (b.left > area.right || b.right < area.left || b.top > area.bottom ||
            b.bottom < area.top)
            continue;
        push_part(win, area);
    }
}
