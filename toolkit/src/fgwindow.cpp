// Windows: construction and destruction, frame and title, pages, closing,
// iconising and the window-level drawing calls.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "fgfontmanager.h"
#include "fgwininternal.h"

using namespace fgwin;

namespace {

// Its address marks a window iconified without an icon window.
char icon_marker;

char* copy_text(const char* text) {
    const char* s = text ? text : "";
    char* copy = new char[std::strlen(s) + 1];
    std::strcpy(copy, s);
    return copy;
}

FGMutex& print_lock() {
    static FGMutex lock;
    return lock;
}

// The whole buffer as clip area while the window paints its furniture.
class WholeWindow {
public:
    explicit WholeWindow(FGDrawBuffer* b) : buffer(b) {
        b->get_clip_rect(&x, &y, &w, &h);
        b->FGDrawBuffer::set_clip_rect(0, 0, b->width, b->height);
    }
    ~WholeWindow() { buffer->FGDrawBuffer::set_clip_rect(x, y, w, h); }
    WholeWindow(const WholeWindow&) = delete;
    WholeWindow& operator=(const WholeWindow&) = delete;

private:
    FGDrawBuffer* buffer;
    int x, y, w, h;
};

void send(FGWindow* w, int type, int key = 0) {
    FGEvent e{};
    e.type = type;
    e.key = key;
    SendToWindow(w, &e);
}

// The close query and the window that asked.
FGWindow* query_window = nullptr;
int query_asker = -1;

void query_answer(FGControl* button) {
    const int answer = button->index;
    FGWindow* asker = fg_find_window(query_asker);
    delete query_window;   // clears query_window through its owner handle
    query_asker = -1;
    if (asker) send(asker, FGE_CLOSE_ANSWER, answer);
}

}  // namespace

FGWindow* const FG_NO_ICON_WINDOW = reinterpret_cast<FGWindow*>(&icon_marker);

// ---------------------------------------------------------------- FGBaseGui

FGBaseGui::FGBaseGui(int x, int y, int w, int h, const char* nm, unsigned t, FGPixel ink_,
                     FGPixel paper_, unsigned fl)
    : FGDrawBuffer(w, h, nm, t, ink_, paper_), screen_x(x), screen_y(y), page_id(0),
      word_a(-1), word_b(-1), ink(ink_), paper(paper_), disabled(0) {
    flags = fl;
    const bool window = t == FG_TYPE_WINDOW || (t == FG_TYPE_NOTIFIED_WINDOW && (fl & WCLOSENOTIFY));
    if (window) {
        if ((fl & WUSEDB) && fg_window_context.database)
            fg_window_context.database->Register(x, y, w, h, nm, static_cast<int>(fl));
        const int sw = fg_screen_width(), sh = fg_screen_height();
        w = std::max(std::min(w, sw), 8);
        h = std::max(std::min(h, sh), 8);
        if (fl & WGRID4) {
            x &= ~3;
            y &= ~3;
            w &= ~3;
            h &= ~3;
        }
        if (static_cast<int64_t>(x) + w > sw) x = sw - w;
        if (x < 0) x = 0;
        if (static_cast<int64_t>(y) + h - 1 >= sh) y = sh - h;
        if (y < 0) y = 0;
        if (t == FG_TYPE_WINDOW && (fl & WCENTRED)) {
            x = (sw - w) / 2;
            y = (sh - h) / 2;
        }
        screen_x = x;
        screen_y = y;
        resize(w - width, h - height);
        if (fl & WMODAL) flags &= ~WICONIFY;
    } else {
        resize(0, 0);
    }
    // Never show what the allocator left in the array.
    if (pixels) clear(paper);
}

// ---------------------------------------------------------------- pages and controls

FGControlContainer::FGControlContainer(const char* nm, int tab_row)
    : name(copy_text(nm)), tab_width(FGFontManager::textwidth(8, name) + 16), tab_y(tab_row) {}

FGControlContainer::~FGControlContainer() {
    std::vector<FGControl*> all;
    all.swap(controls);
    focus = nullptr;
    for (FGControl* c : all) {
        c->page = nullptr;   // the window goes too: no repaint into it
        c->parent = nullptr;
        delete c;
    }
    delete[] name;
}

void FGControlContainer::Remove(FGControl* control) {
    controls.erase(std::remove(controls.begin(), controls.end(), control), controls.end());
    if (focus == control) focus = nullptr;
}

FGControl::FGControl(int x, int y, int w, int h, const char* label, unsigned t, int key,
                     FGWindow* window, FGControlCallback cb, FGPixel paper_, FGPixel ink_, int id)
    : FGBaseGui(static_cast<int>((window ? static_cast<int64_t>(window->clip_x) : 0) + x),
                static_cast<int>((window ? static_cast<int64_t>(window->clip_y) : 0) + y), w, h,
                label, t, ink_, paper_, FG_CONTROL_NORMAL),
      index(window ? window->control_counter++ : 0),
      hot_key(key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key), callback(cb), parent(window),
      group(nullptr), callback_name(nullptr), page(nullptr) {
    word_b = id;
    if (!window) return;
    page = window->current_page;
    page->controls.push_back(this);
    if (page->controls.size() == 1 && (window->flags & WFOCUSED)) page->focus = this;
}

FGControl::~FGControl() {
    if (parent && parent->last_notified == this) parent->last_notified = nullptr;
    if (page) page->Remove(this);
    if (parent && page) parent->FillBox(screen_x - parent->clip_x, screen_y - parent->clip_y,
                                        width, height, parent->paper);
    delete[] callback_name;
}

void FGControl::DrawFocus() {
    if (page && page->focus == this) box(0, 0, width, height, FocusColor());
}

void FGControl::GetRect(int* x, int* y, int* w, int* h) const {
    *x = screen_x;
    *y = screen_y;
    *w = width;
    *h = height;
}

void FGControl::SetText(const char* text) {
    set_name(text);
    Draw();
}

void FGControl::Notify() {
    if (receiver) receiver->Receive(this, argument);
}

void FGControl::Release(int fire) {
    if ((flags & 7) == FG_CONTROL_DISABLED) return;
    flags ^= FG_CONTROL_TOGGLED;
    Draw();
    if (fire && parent) {
        parent->last_notified = this;
        Notify();
    }
}

double FGControl::GetDouble() { fg_assert_fail("!\"Not implemented!!!\"", "fgwindow", __LINE__); }
int FGControl::GetInteger() { fg_assert_fail("!\"Not implemented!!!\"", "fgwindow", __LINE__); }
const char* FGControl::GetString() {
    fg_assert_fail("!\"Not implemented!!!\"", "fgwindow", __LINE__);
}

// ---------------------------------------------------------------- window life

FGWindow::FGWindow(FGWindow** handle, int x, int y, int w, int h, const char* title,
                   FGEventHandler hnd, FGPixel ink_, FGPixel paper_, unsigned fl, int extra_)
    : FGBaseGui(x, y, std::max(w, 8), h <= 23 ? 24 : h, title,
                (fl & WCLOSENOTIFY) ? FG_TYPE_NOTIFIED_WINDOW : FG_TYPE_WINDOW, ink_, paper_, fl) {
    Setup(extra_);
    if (fg_window_context.database) {
        WindowDatabase* db = fg_window_context.database;
        db->GetIconPosition(icon_x, icon_y, name);
    }
    FGWindow* previous = GetCurrentWindow();
    if (previous && (previous->flags & WCLOSENOTIFY)) send(previous, FGE_CLOSING);
    insert(this);
    handler = hnd;
    owner_handle = handle;
    if (handle) *handle = this;
    status_colour = CScheme->color[7];
    if (previous && index_of(previous) >= 0) {
        send(previous, FGE_DEACTIVATED);
        paint_title(previous, false);
    }
    const int id_self = id;
    Open();
    if (fg_find_window(id_self) != this) return;
    if (previous && index_of(previous) >= 0 &&
        ((flags & WNOACTIVATE) || (previous->flags & WMODAL)))
        Activate(previous);
}

FGWindow::FGWindow(int w, int h, FGPixel background)
    : FGBaseGui(0, 0, w, h, "Root", FG_TYPE_ROOT, background, background, WBOTTOM | WNOBODYDRAG) {
    Setup(0);
    FGWindow* previous = current();
    insert(this);
    current() = previous;
    root() = this;
    Open();
}

void FGWindow::Setup(int extra_) {
    current_page = nullptr;
    page_name = "";
    redraw_request = 1;
    spare = 0;
    state_bits = 0;
    print_x = 1;
    print_y = 0;
    handler = nullptr;
    last_notified = nullptr;
    move_callback = nullptr;
    lock_count = 0;
    status_colour = CScheme->color[7];
    input_line = nullptr;
    icon_x = icon_y = -1;
    owner_handle = nullptr;
    icon_window = nullptr;
    icon_bitmap = nullptr;
    extra = extra_;
    control_counter = 0;
    flags &= ~(WHIDDEN | WSUSPENDED);
}

void FGWindow::Open() {
    install_screen_hook();
    const int frame = (flags & WFRAMED) ? FG_FRAME : 0;
    const int top = frame + ((flags & WTITLED) ? FG_TITLE : 0) + ((flags & WMENU) ? FG_MENUBAR : 0) +
                    ((flags & WNOTEBOOK) ? FG_TABS : 0);
    const int bottom = frame + ((flags & WSTATUS) ? FG_STATUS : 0);
    FGDrawBuffer::set_clip_rect(frame, top, std::max(width - 2 * frame, 1),
                                std::max(height - top - bottom, 1));
    pages.push_back(new FGControlContainer("", top - 20));
    current_page = pages.back();
    current_page->selected = 1;
    const int id_self = id;
    if (!(flags & WNOFIRSTPAINT)) DrawFrame();
    if (fg_find_window(id_self) == this) send(this, FGE_OPENED);
}

FGWindow::~FGWindow() {
    if (icon_window && icon_window != FG_NO_ICON_WINDOW) {
        FGWindow* icon = icon_window;
        icon_window = nullptr;
        delete icon;
    }
    const bool was_shown = !IsHidden();
    if (!IsRoot()) {
        send(this, FGE_CLOSING);
        {
            std::lock_guard<FGMutex> guard(lock);
            if (owner_handle) *owner_handle = nullptr;
            for (FGControlContainer* p : pages) delete p;
            pages.clear();
            current_page = nullptr;
        }
        if (!fg_window_context.quitting && was_shown)
            fg_restore_screen_area(screen_x, screen_y, width, height, this);
    }
    flags = 0;
    bool was_current;
    {
        std::lock_guard<FGMutex> guard(list_lock());
        was_current = current() == this;
        remove(this);
        if (root() == this) root() = nullptr;
        if (was_current) {
            FGWindow* top = windows().empty() ? nullptr : windows().back();
            current() = top && !top->IsRoot() ? top : nullptr;
        }
    }
    if (was_current && current() && !fg_window_context.quitting) paint_title(current(), true);
    while (lock_count > 0) {
        lock_count--;
        lock.Unlock();
    }
    for (FGControlContainer* p : pages) delete p;
    pages.clear();
}

// ---------------------------------------------------------------- furniture

void FGWindow::DrawFrame() {
    CountedLock hold(this);
    const int* s = CScheme->color;
    {
        std::lock_guard<FGMutex> buffer(draw_lock);
        int cx, cy, cw, ch;
        get_clip_rect(&cx, &cy, &cw, &ch);
        WholeWindow whole(this);
        const int w = width, h = height;
        if (!(flags & WFRAMED)) {
            if (!own_paper || !(state_bits & 1) || !handler) fillbox(0, 0, w, h, paper);
            if (flags & WTITLED) {
                fillbox(0, 0, w, 20, s[6]);
                hline(0, 20, w, 0);
            }
        } else {
            fillbox(0, 0, w, h, s[6]);
            hline(0, 0, w, s[4]);
            vline(0, 0, h, s[4]);
            hline(0, h - 1, w, s[5]);
            vline(w - 1, 0, h, s[5]);
            int fx = cx, fw = cw;
            if (flags & WCLOSENOTIFY) {
                fx = 2;
                fw = w - 4;
            }
            box(fx - 1, cy - 1, fw + 2, ch + 2, 0xFFFFFF);
            fillbox(fx, cy, fw, ch, paper);
            if (flags & WRESIZE) {
                fillbox(w - 15, h - 3, 12, 2, 0xFCE000);
                fillbox(w - 3, h - 15, 2, 12, 0xFCE000);
            }
        }
        if (flags & WMENU) {
            const int my = cy - 24 - ((flags & WNOTEBOOK) ? FG_TABS : 0);
            fillbox(cx, my, cw, 24, 0);
            hline(cx, my, cw, 0xFFFFFF);
            hline(cx, my + 23, cw, 0);
        }
        if ((flags & WSTATUS) && !(flags & WFRAMED)) fillbox(0, h - FG_STATUS, w, FG_STATUS, status_colour);
    }
    // The handler paints the contents in client coordinates.
    if (state_bits & 1) {
        send(this, FGE_REDRAW);
        if (!hold.alive()) return;
    }
    {
        std::lock_guard<FGMutex> buffer(draw_lock);
        WholeWindow whole(this);
        if (flags & WNOTEBOOK) DrawTabs();
        if (current_page)
            for (FGControl* c : current_page->controls) c->Draw();
    }
    state_bits |= 1;
    paint_title(this, current() == this);
    UpdateAll();
}

void FGWindow::DrawTabs() {
    const int* s = CScheme->color;
    save_state();
    if (FGFontManager::is_font(8)) set_font(8);
    int x = 4;
    for (FGControlContainer* p : pages) {
        const bool now = p == current_page;
        fillbox(x, p->tab_y, p->tab_width, FG_TABS, now ? paper : s[6]);
        hline(x, p->tab_y, p->tab_width, s[4]);
        vline(x, p->tab_y, FG_TABS, s[4]);
        vline(x + p->tab_width - 1, p->tab_y, FG_TABS, s[5]);
        text(x + 8, p->tab_y + 2, p->name, now ? s[32] : 0, now ? paper : s[6]);
        x += p->tab_width;
    }
    restore_state();
}

void FGWindow::DrawTitle(FGPixel colour) {
    if (!(flags & WTITLED)) return;
    std::lock_guard<FGMutex> wl(lock);
    std::lock_guard<FGMutex> bl(draw_lock);
    const int d = (flags & WFRAMED) ? 3 : 0;
    const int buttons = (flags & WNOCLOSE) ? 0 : (flags & WICONIFY) ? 40 : 20;
    const int bar = std::max(width - 2 * d - buttons, 0);
    {
        WholeWindow whole(this);
        save_state();
        if (FGFontManager::is_font(6)) set_font(6);
        set_mode(0);
        fillbox(d, d, bar, 20, colour);
        hline(d, d + 20, width - 2 * d, 0xFFFFFF);
        for (int b = 0; b < buttons; b += 20) vline(d + bar + b, d, 20, 0xFFFFFF);
        const char* t = name;
        while (*t && static_cast<unsigned char>(*t) <= ' ') t++;
        // The text ends where the buttons start.
        FGDrawBuffer::set_clip_rect(0, 0, d + bar, height);
        text(d + 5, d + 1, t, 0xFFFFFF, colour);
        FGDrawBuffer::set_clip_rect(0, 0, width, height);
        HitTitleButton(width - 43, d);
        restore_state();
    }
    UpdateVisible(d, d, width - 2 * d, 21);
}

int FGWindow::HitTitleButton(int x, int y) {
    const int d = (flags & WFRAMED) ? 3 : 0;
    const int* s = CScheme->color;
    int hit = 0;
    WholeWindow whole(this);
    if (!(flags & WNOCLOSE)) {
        const int bx = width - d - 20;
        fillbox(bx + 1, d, 19, 20, s[6]);
        line(bx + 6, d + 5, bx + 14, d + 13, 0);
        line(bx + 14, d + 5, bx + 6, d + 13, 0);
        if (x >= bx && x < bx + 20 && y >= d && y < d + 20) hit = 1;
        if (flags & WICONIFY) {
            const int ix = bx - 20;
            fillbox(ix + 1, d, 19, 20, s[6]);
            fillbox(ix + 5, d + 13, 10, 2, 0);
            if (x >= ix && x < ix + 20 && y >= d && y < d + 20) hit = 2;
        }
    }
    return hit;
}

// ---------------------------------------------------------------- clip area, drawing calls

bool FGWindow::set_clip_rect(int x, int y, int w, int h) {
    if (w < 1 || h < 1 || x < 0 || y < 0 || x >= width || y >= height) return false;
    FGDrawBuffer::set_clip_rect(x, y, std::min(w, width - x), std::min(h, height - y));
    print_x = 2;
    print_y = 0;
    return true;
}

void FGWindow::WriteText(int x, int y, const char* str, FGPixel ink_, FGPixel paper_) {
    if (!str) return;
    std::lock_guard<FGMutex> guard(lock);
    text(x, y, str, ink_, paper_);
    UpdateClient(x, y, FGFontManager::textwidth(get_font(), str),
                 FGFontManager::get_font_height(get_font()));
}

void FGWindow::FillBox(int x, int y, int w, int h, FGPixel colour) {
    std::lock_guard<FGMutex> guard(lock);
    if (fillbox(x, y, w, h, colour)) UpdateClient(x, y, w, h);
}

void FGWindow::DrawLine(int x1, int y1, int x2, int y2, FGPixel colour) {
    std::lock_guard<FGMutex> guard(lock);
    line(x1, y1, x2, y2, colour);
    const int64_t left = std::min(x1, x2), top = std::min(y1, y2);
    const int64_t right = std::max(x1, x2), bottom = std::max(y1, y2);
    // Cut to the client area before the sizes are taken, so that nothing overflows.
    const int64_t l = std::max<int64_t>(left, 0), t = std::max<int64_t>(top, 0);
    const int64_t r = std::min<int64_t>(right, clip_w - 1), b = std::min<int64_t>(bottom, clip_h - 1);
    if (r < l || b < t) return;
    UpdateClient(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l + 1),
                 static_cast<int>(b - t + 1));
}

void FGWindow::DrawBox(int x, int y, int w, int h, FGPixel colour) {
    if (w < 1 || h < 1) return;
    const int r = fg_clamp_int(static_cast<int64_t>(x) + w - 1);
    const int b = fg_clamp_int(static_cast<int64_t>(y) + h - 1);
    DrawLine(x, y, r, y, colour);
    DrawLine(r, y, r, b, colour);
    DrawLine(x, b, r, b, colour);
    DrawLine(x, y, x, b, colour);
}

void FGWindow::CopyArea(int x, int y, int src_x, int src_y, int w, int h, FGDrawBuffer* source) {
    std::lock_guard<FGMutex> guard(lock);
    if (bitblt(x, y, src_x, src_y, w, h, source)) UpdateClient(x, y, w, h);
}

void FGWindow::printf(int x, int y, const char* format, ...) {
    if (!format) return;
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    const size_t n = std::strlen(buffer);
    if (n > 0 && buffer[n - 1] == '\n') buffer[n - 1] = 0;
    print_x = x;
    print_y = y;
    WriteText(x, y, buffer);
}

void FGWindow::putc(int character) {
    std::lock_guard<FGMutex> guard(print_lock());
    std::lock_guard<FGMutex> wl(lock);
    const int font = get_font();
    const int fh = FGFontManager::get_font_height(font);
    if (fh <= 0) return;
    const unsigned char c = static_cast<unsigned char>(character);
    const int cw = c == '\n' ? 0 : std::max(FGFontManager::charwidth(font, c), 0);
    if (c == '\n' || static_cast<int64_t>(print_x) + cw > clip_w) {
        print_x = 1;
        if (static_cast<int64_t>(print_y) + 2 * fh <= clip_h) {
            print_y += fh;
        } else {
            // Scroll the client area up by one line.
            const int64_t x0 = std::max(clip_x, 0), y0 = std::max(clip_y, 0);
            const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(clip_x) + clip_w, width);
            const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(clip_y) + clip_h, height);
            if (pixels && x1 > x0)
                for (int64_t r = y0; r + fh < y1; r++)
                    std::memmove(pixels + r * width + x0, pixels + (r + fh) * width + x0,
                                 static_cast<size_t>(x1 - x0) * sizeof(FGPixel));
            fillbox(0, clip_h - fh, clip_w, fh, get_paper());
            UpdateClient(0, 0, clip_w, clip_h);
        }
        if (c == '\n') return;
    }
    const char one[2] = {static_cast<char>(c), 0};
    WriteText(print_x, print_y, one);
    print_x += cw;
}

// ---------------------------------------------------------------- pages

FGControlContainer* FGWindow::AddPage(const char* page) {
    const int row = pages.empty() ? clip_y - 20 : pages.front()->tab_y;
    pages.push_back(new FGControlContainer(page, row));
    for (FGControlContainer* p : pages) p->selected = 0;
    current_page = pages.back();
    current_page->selected = 1;
    page_name = current_page->name;
    return current_page;
}

int FGWindow::SelectPage(const char* page) {
    if (!page) return 0;
    for (size_t i = 0; i < pages.size(); i++) {
        if (std::strcmp(pages[i]->name, page) != 0) continue;
        for (FGControlContainer* p : pages) p->selected = 0;
        current_page = pages[i];
        current_page->selected = 1;
        page_name = current_page->name;
        const int id_self = id;
        DrawFrame();
        if (fg_find_window(id_self) != this) return 1;
        FGEvent e{};
        e.type = FGE_PAGE_CHANGED;
        e.key = static_cast<int>(i);
        e.page = page_name;
        SendToWindow(this, &e);
        return 1;
    }
    return 0;
}

void FGWindow::NextPage() {
    if (pages.empty()) return;
    size_t i = 0;
    while (i < pages.size() && pages[i] != current_page) i++;
    SelectPage(pages[(i + 1) % pages.size()]->name);
}

// ---------------------------------------------------------------- closing

bool FGWindow::Close() {
    if (flags & WCLOSEQUERY) {
        if (!(state_bits & 2)) {
            send(this, FGE_CLOSE_ANSWER);
        } else if (!query_window) {
            query_asker = id;
            new FGWindow(&query_window, 320, 334, 308, 148, "Warning!", nullptr, 0xFCE000,
                         0xF80000, 167);
            query_window->WriteText(32, 24, "The contents has been changed. Save it?");
            query_window->AddPushButton(168, 72, 64, 21, "No", 'n', query_answer);
            query_window->AddPushButton(56, 72, 64, 21, "Yes", 'y', query_answer);
        }
        return true;
    }
    if (flags & WNOCLOSE) {
        fg_error_reporter("Can`t close this window", 0);
        return true;
    }
    delete this;
    return false;
}

// ---------------------------------------------------------------- iconising

void FGWindow::Hide() {
    flags |= WHIDDEN;
    fg_restore_screen_area(screen_x, screen_y, width, height, this);
}

void FGWindow::Show() {
    flags &= ~WHIDDEN;
    UpdateAll();
}

void FGWindow::IconAnimation(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
    if (!fg_window_context.full_drag || !icon_bitmap) return;
    for (int i = 1; i <= 25; i++) {
        const int x = x1 + (x2 - x1) * i / 25, y = y1 + (y2 - y1) * i / 25;
        const int w = w1 + (w2 - w1) * i / 25, h = h1 + (h2 - h1) * i / 25;
        // Drawn twice in XOR: nothing stays behind.
        fg_screen_box(x, y, w, h, 0xFFFFFF, 1);
        fg_screen_box(x, y, w, h, 0xFFFFFF, 1);
    }
}

int FGWindow::Iconize(int x, int y) {
    if (!(flags & WICONIFY)) return 0;
    WindowDatabase* db = fg_window_context.database;
    if (IsHidden()) {
        if (icon_window && icon_window != FG_NO_ICON_WINDOW) {
            FGWindow* icon = icon_window;
            icon_x = icon->screen_x;
            icon_y = icon->screen_y;
            IconAnimation(icon_x, icon_y, icon->width, icon->height, screen_x, screen_y, width,
                          height);
            icon_window = nullptr;
            delete icon;
        }
        icon_window = nullptr;
        Show();
        Activate(this);
        if (db) db->SetIconPosition(icon_x, icon_y, name);
        send(this, FGE_ICONIFIED, 0);
        return 2;
    }
    Hide();
    icon_x = x;
    icon_y = y;
    if (flags & WNOICON) {
        icon_window = FG_NO_ICON_WINDOW;
    } else {
        const int iw = icon_bitmap ? icon_bitmap->width + 4 : 48;
        const int ih = icon_bitmap ? icon_bitmap->height + 14 : 48;
        IconAnimation(screen_x, screen_y, width, height, x, y, iw, ih);
        icon_window = new IconWindow(x, y, this);
    }
    if (db) db->SetIconPosition(icon_x, icon_y, name);
    send(this, FGE_ICONIFIED, 1);
    return 1;
}

IconWindow::IconWindow(int x, int y, FGWindow* owner)
    : FGWindow(nullptr, x, y, owner->icon_bitmap ? owner->icon_bitmap->width + 4 : 48,
               owner->icon_bitmap ? owner->icon_bitmap->height + 14 : 48, "Icon", nullptr, 0,
               0xFFFFFF, 0x60000080),
      owner_window(owner) {
    clear(0xF8);
    save_state();
    set_font(0);
    text(1, 0, owner->name, 0xFFFFFF, 0xF8);
    restore_state();
    DrawFrame();
}

IconWindow::~IconWindow() {
    if (owner_window && owner_window->icon_window == this) owner_window->icon_window = nullptr;
}

void IconWindow::DrawFrame() {
    FGDrawBuffer* bitmap = owner_window ? owner_window->icon_bitmap : nullptr;
    if (bitmap) bitblt(0, 10, 0, 0, bitmap->width, bitmap->height, bitmap);
    UpdateAll();
}
