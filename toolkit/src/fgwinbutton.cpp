// The push button of the toolkit's own dialogs, in its plainest form: a face
// in the paper colour with a bevel and the label centred on it.
#include "fgfontmanager.h"
#include "fgwindow.h"

namespace {

class DialogButton : public FGControl {
public:
    using FGControl::FGControl;

    void Draw() override {
        const int* s = CScheme->color;
        const bool pressed = (flags & 7) == FG_CONTROL_PRESSED;
        fillbox(0, 0, width, height, pressed ? s[15] : paper);
        hline(0, 0, width, s[16]);
        vline(0, 0, height, s[16]);
        hline(0, height - 1, width, s[17]);
        vline(width - 1, 0, height, s[17]);
        const int font = get_font();
        text(width / 2 - FGFontManager::textwidth(font, name) / 2,
             height / 2 - FGFontManager::get_font_height(font) / 2, name,
             pressed ? s[14] : ink, pressed ? s[15] : paper);
        DrawFocus();
        if (parent && page == parent->current_page) {
            parent->FGDrawBuffer::bitblt(screen_x - parent->clip_x, screen_y - parent->clip_y, 0,
                                         0, width, height, this);
            parent->UpdateVisible(screen_x, screen_y, width, height);
        }
    }
    void Press(int, int) override {
        if ((flags & 7) == FG_CONTROL_DISABLED) return;
        flags = (flags & ~7u) | FG_CONTROL_PRESSED | FG_CONTROL_TOGGLED;
        Draw();
    }
    void Release(int fire) override {
        if ((flags & 7) == FG_CONTROL_DISABLED) return;
        flags = (flags & ~(7u | FG_CONTROL_TOGGLED)) | FG_CONTROL_NORMAL;
        Draw();
        if (fire && parent) {
            parent->last_notified = this;
            Notify();
        }
    }
};

}  // namespace

FGControl* FGWindow::AddPushButton(int x, int y, int w, int h, const char* label, int hot_key,
                                   FGControlCallback callback, int id) {
    auto* button = new DialogButton(x, y, w, h, label, FG_TYPE_PUSHBUTTON, hot_key, this, callback,
                                    0xFFFFFF, 0, id);
    if (FGFontManager::font_count() >= 8 && FGFontManager::is_font(8)) button->set_font(8);
    button->ink = CScheme->color[12];
    button->paper = CScheme->color[13];
    button->Draw();
    return button;
}
