// Push buttons, panels, keyboard focus and hot keys of the controls on a
// window's pages.
#include "fgcontrols.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace {

// Controls far beyond any screen are kept at this distance, so that the
// window's client offset added to them can never overflow.
constexpr int64_t FAR_AWAY = 1 << 20;

int Within(int64_t v, int64_t lo, int64_t hi) { return static_cast<int>(std::max(lo, std::min(hi, v))); }

int Place(int v) { return Within(v, -FAR_AWAY, FAR_AWAY); }

// A control is never larger than its window, or than the screen without
// one: its pixels are allocated at construction.
int SizeLimit(const FGWindow* window, bool across) {
    if (window) return across ? window->width : window->height;
    return std::max(across ? fg_screen_width() : fg_screen_height(), 1);
}

int Upper(int key) { return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key; }

bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int OtherCase(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c - 'A' + 'a'; }

// Index of the first byte c in the text, or -1.
int Find(const char* text, int c) {
    if (c <= 0 || c > 255) return -1;
    for (int i = 0; text[i]; i++)
        if (static_cast<unsigned char>(text[i]) == c) return i;
    return -1;
}

// The panel's rectangle in client coordinates, cut to the client area: an
// edge beyond the left or top moves in and the size shrinks with it.
FGRect PanelRect(const FGWindow* window, int x, int y, int w, int h) {
    const int64_t cw = window ? window->clip_w : SizeLimit(nullptr, true);
    const int64_t ch = window ? window->clip_h : SizeLimit(nullptr, false);
    int64_t left = x, top = y;
    int64_t right = left + std::max(w, 0), bottom = top + std::max(h, 0);
    left = std::min(std::max<int64_t>(left, 0), cw);
    top = std::min(std::max<int64_t>(top, 0), ch);
    right = std::max(std::min(right, cw), left);
    bottom = std::max(std::min(bottom, ch), top);
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

void MoveFocus(FGControlContainer* page, int step) {
    if (!page) return;
    const std::vector<FGControl*>& list = page->controls;
    const int64_t n = static_cast<int64_t>(list.size());
    if (n < 2) return;
    const auto at = std::find(list.begin(), list.end(), page->focus);
    int64_t next;
    if (at == list.end())
        next = step > 0 ? 0 : n - 1;
    else
        next = ((at - list.begin()) + n + step) % n;
    fg_set_focus(page, list[static_cast<size_t>(next)]);
}

// The control's pixels go into its window when it is on the shown page.
void ShowInWindow(FGControl* c) {
    FGWindow* w = c->parent;
    if (!w || !c->pixels || c->page != w->current_page) return;
    {
        std::lock_guard<FGMutex> window_lock(w->lock);
        std::lock_guard<FGMutex> buffer_lock(w->draw_lock);
        w->FGDrawBuffer::bitblt(c->screen_x - w->clip_x, c->screen_y - w->clip_y, 0, 0, c->width,
                                c->height, c);
    }
    w->UpdateVisible(c->screen_x, c->screen_y, c->width, c->height);
}

}  // namespace

// ---------------------------------------------------------------- push button

FGPushButton::FGPushButton(FGWindow* window, int x, int y, int w, int h, const char* label,
                           int key, FGControlCallback cb, int id)
    : FGControl(Place(x), Place(y), Within(w, 0, SizeLimit(window, true)),
                Within(h, 0, SizeLimit(window, false)), label, FG_TYPE_PUSHBUTTON, key, window, cb,
                0xFFFFFF, 0, id),
      pressed_face(CScheme->color[15]), pressed_text(CScheme->color[14]) {
    if (FGFontManager::font_count() >= 8 && FGFontManager::is_font(8)) set_font(8);
    ink = CScheme->color[12];
    paper = CScheme->color[13];
    Draw();
}

FGControl* FGWindow::AddPushButton(int x, int y, int w, int h, const char* label, int hot_key,
                                   FGControlCallback callback, int id) {
    return new FGPushButton(this, x, y, w, h, label, hot_key, callback, id);
}

void FGPushButton::Press(int, int) {
    if ((flags & 7) == FG_CONTROL_DISABLED) return;
    flags = (flags & ~7u) | FG_CONTROL_PRESSED | FG_CONTROL_TOGGLED;
    Draw();
}

void FGPushButton::Release(int fire) {
    if ((flags & 7) == FG_CONTROL_DISABLED) return;
    flags = (flags & ~(7u | FG_CONTROL_TOGGLED)) | FG_CONTROL_NORMAL;
    Draw();
    if (fire && parent) {
        parent->last_notified = this;
        Notify();
    }
}

void FGPushButton::DrawLabel(FGPixel colour, bool underline) {
    const int font = get_font();
    const int x = width / 2 - FGFontManager::textwidth(font, name) / 2;
    const int y = height / 2 - FGFontManager::get_font_height(font) / 2;
    // Raster op 9 keeps the face under the glyphs.
    const unsigned mode = get_mode();
    set_mode(9);
    text(x, y, name, colour, paper);
    set_mode(mode);
    if (!underline) return;

    int at;
    FGPixel line_colour;
    if (const int letter = fg_alt_key_letter(hot_key)) {
        at = Find(name, letter);
        if (at < 0) at = Find(name, OtherCase(letter));
        line_colour = 0xF80000;
    } else {
        at = Find(name, hot_key);
        if (at < 0 && IsLetter(hot_key)) at = Find(name, OtherCase(hot_key));
        line_colour = 0x444444;
    }
    if (at < 0) return;
    const int c = static_cast<unsigned char>(name[at]);
    hline(x + FGFontManager::textwidth(font, name, at) - 1, y + 13,
          FGFontManager::charwidth(font, c) + 1, line_colour);
}

void FGPushButton::InnerLines(FGPixel colour) {
    vline(width - 2, 1, height - 2, colour);
    hline(1, height - 2, width - 2, colour);
}

void FGPushButton::DrawFace(FGDrawBuffer* image, int image_at, int face_at, int face_cut,
                            FGPixel colour) {
    if (image)
        bitblt(image_at, image_at, 0, 0, image->width, image->height, image);
    else
        fillbox(face_at, face_at, width - face_cut, height - face_cut, colour);
}

void FGPushButton::Draw() {
    const int* s = CScheme->color;
    switch (flags & 7) {
        case FG_CONTROL_PRESSED:
            fillbox(0, 0, width, height, s[17]);
            DrawFace(image_pressed, 0, 2, 4, pressed_face);
            InnerLines(s[16]);
            DrawLabel(pressed_text, true);
            break;
        case FG_CONTROL_DISABLED:
            fillbox(0, 0, width, height, s[16]);
            DrawFace(image_disabled, 2, 2, 4, paper);
            InnerLines(pressed_text);
            box(0, 0, width, height);
            DrawLabel(s[18], false);
            break;
        default:
            DrawFace(image_normal, 2, 1, 3, paper);
            DrawLabel(ink, true);
            // The bevel.
            hline(0, 0, width, s[16]);
            vline(0, 0, height, s[16]);
            InnerLines(s[18]);
            vline(width - 1, 0, height, s[17]);
            hline(0, height - 1, width, s[17]);
            DrawFocus();
            break;
    }
    ShowInWindow(this);
}

// ---------------------------------------------------------------- panel

FGPanel::FGPanel(int x, int y, int w, int h, const char* label, FGWindow* window, FGPixel light_,
                 FGPixel dark_, FGPixel paper_)
    : FGPanel(PanelRect(window, x, y, w, h), label, window, light_, dark_, paper_) {}

FGPanel::FGPanel(const FGRect& r, const char* label, FGWindow* window, FGPixel light_,
                 FGPixel dark_, FGPixel paper_)
    : FGControl(r.x, r.y, r.w, r.h, label, FG_TYPE_PANEL, 0, window, nullptr, paper_, 0, -1),
      light(light_), dark(dark_) {
    flags &= ~7u;
    {
        // It draws into its window only.
        std::lock_guard<FGMutex> guard(state_lock);
        std::free(pixels);
        pixels = nullptr;
    }
    Draw();
}

void FGPanel::Draw() {
    FGWindow* w = parent;
    if (!w || page != w->current_page) return;
    {
        std::lock_guard<FGMutex> window_lock(w->lock);
        std::lock_guard<FGMutex> buffer_lock(w->draw_lock);
        int cx, cy, cw, ch;
        w->get_clip_rect(&cx, &cy, &cw, &ch);
        w->FGDrawBuffer::set_clip_rect(0, 0, w->width, w->height);
        const int x = screen_x, y = screen_y;
        if (width > 0 && height > 0) {
            w->hline(x, y, width, light);
            w->vline(x, y, height, light);
            w->hline(x, y + height - 1, width, dark);
            w->vline(x + width - 1, y, height, dark);
        }
        // The label sits on the top edge.
        if (name[0]) w->printf(x + 8, y - 8, " %s ", name);
        w->FGDrawBuffer::set_clip_rect(cx, cy, cw, ch);
    }
    w->UpdateVisible(screen_x, screen_y, width, height);
}

// ---------------------------------------------------------------- focus and hot keys

void fg_set_focus(FGControlContainer* page, FGControl* control) {
    if (!page) return;
    if (control && std::find(page->controls.begin(), page->controls.end(), control) ==
                       page->controls.end())
        return;
    // The old control loses the focus before it is redrawn, so that its
    // focus outline goes.
    FGControl* old = page->focus;
    page->focus = nullptr;
    if (old) {
        old->OnDeactivate();
        old->Draw();
    }
    page->focus = control;
    if (control && control->parent && (control->parent->flags & WFOCUSED)) {
        control->OnActivate();
        control->Draw();
    }
}

void fg_focus_previous(FGControlContainer* page) { MoveFocus(page, -1); }

void fg_focus_next(FGControlContainer* page) { MoveFocus(page, 1); }

FGControl* fg_hot_key_control(FGWindow* window, int key) {
    if (!window || key == 0 || window->IsHidden() || !window->current_page) return nullptr;
    const int wanted = Upper(key);
    for (FGControl* c : window->current_page->controls)
        if (Upper(c->hot_key) == wanted && (c->flags & 7) == FG_CONTROL_NORMAL) return c;
    return nullptr;
}
