// The toolkit's chief header: every public toolkit header, and the controls
// that live on the pages of a window (push buttons, panels) with keyboard
// focus and hot keys.
#pragma once

#include "fgbase.h"
#include "fgbitmap.h"
#include "fgcolor.h"
#include "fgconnector.h"
#include "fgdrawbuffer.h"
#include "fgdriver.h"
#include "fgfontmanager.h"
#include "fgraster.h"
#include "fgwindb.h"
#include "fgwindow.h"

// Alt+a .. Alt+z arrive as 4096 + the lower-case letter.
constexpr int FG_ALT_KEY_FIRST = 4096 + 'a';
constexpr int FG_ALT_KEY_LAST = 4096 + 'z';

// The letter ('a'..'z') of an Alt+letter key code, or 0.
inline int fg_alt_key_letter(int key) {
    return key >= FG_ALT_KEY_FIRST && key <= FG_ALT_KEY_LAST ? key - 4096 : 0;
}

// The button of the toolkit's own dialogs. x and y are relative to the
// window's client area; the button draws itself at once.
class FGPushButton : public FGControl {
public:
    FGDrawBuffer* image_normal = nullptr;     // not owned
    FGDrawBuffer* image_pressed = nullptr;
    FGDrawBuffer* image_disabled = nullptr;
    FGPixel pressed_face;                     // scheme word 15
    FGPixel pressed_text;                     // scheme word 14

    FGPushButton(FGWindow* window, int x, int y, int w, int h, const char* label, int hot_key,
                 FGControlCallback callback, int id = 0);

    void Press(int x, int y) override;
    void Draw() override;
    void Release(int fire) override;

private:
    void DrawLabel(FGPixel colour, bool underline);
    // Right and bottom lines one pixel in.
    void InnerLines(FGPixel colour);
    // The state's image, or a face in a colour (inset face_at, face_cut narrower).
    void DrawFace(FGDrawBuffer* image, int image_at, int face_at, int face_cut, FGPixel colour);
};

// A framed, labelled rectangle drawn straight into its window; it has no
// pixels of its own. Its rectangle is cut to the window's client area.
class FGPanel : public FGControl {
public:
    FGPixel light;   // top and left edges
    FGPixel dark;    // bottom and right edges

    FGPanel(int x, int y, int w, int h, const char* label, FGWindow* window, FGPixel light,
            FGPixel dark, FGPixel paper);

    void Draw() override;

private:
    FGPanel(const FGRect& cut, const char* label, FGWindow* window, FGPixel light, FGPixel dark,
            FGPixel paper);
};

// Keyboard focus on a page. Setting it deactivates and redraws the old
// focused control; the new one is activated and redrawn only in a window
// with WFOCUSED. A control of another page (or none) is refused.
void fg_set_focus(FGControlContainer* page, FGControl* control);
// The control before / after the focused one, wrapping round; nothing with
// fewer than two controls on the page.
void fg_focus_previous(FGControlContainer* page);
void fg_focus_next(FGControlContainer* page);

// The control of the window's current page that a key activates: its hot
// key equals the key (a..z taken as A..Z) and it is in the normal state.
// None while the window is iconified.
FGControl* fg_hot_key_control(FGWindow* window, int key);
