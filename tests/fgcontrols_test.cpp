// Controls on the headless display (800 x 600): push buttons in their states
// at known pixels, hot keys and callbacks, focus movement, panels, and
// destruction of controls and windows in either order.
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fgcontrols.h"
#include "headless_windows.h"

namespace {

constexpr FGPixel WHITE = 0xFFFFFF, BLACK = 0, DARK_GREY = 0x585858, TEXT_GREY = 0x444444;
constexpr FGPixel FACE = 0x7C8074, PRESSED_FACE = 0xA8B8AC, FOCUS = 0xFCE000, ALT_RED = 0xF80000;
constexpr FGPixel GREEN = 0x00C000, BLUE = 0x0000F8, GREY = 0x808080;

FGPixel At(const FGDrawBuffer* b, int x, int y) { return b->pixels[y * b->width + x]; }

// Pixels of a colour inside a rectangle of a buffer.
int Count(const FGDrawBuffer* b, int x, int y, int w, int h, FGPixel colour) {
    int n = 0;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            if (i >= 0 && j >= 0 && i < b->width && j < b->height) n += At(b, i, j) == colour;
    return n;
}

// Expected colours at points of a buffer; gives the points that differ.
struct Probe {
    int x, y;
    FGPixel colour;
};
std::string Mismatches(const FGDrawBuffer* b, std::initializer_list<Probe> probes) {
    std::string out;
    for (const Probe& p : probes)
        if (At(b, p.x, p.y) != p.colour)
            out += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ") ";
    return out;
}

struct Label {
    int x, y, w, h;
};
Label LabelOf(const FGPushButton* b) {
    const int font = b->get_font();
    const int tw = FGFontManager::textwidth(font, b->name);
    const int fh = FGFontManager::get_font_height(font);
    return {b->width / 2 - tw / 2, b->height / 2 - fh / 2, tw, fh};
}

// The underline row below the label: what colour runs under character `at`
// (one pixel left of it and one wider), or 0x12345678 when the run is not one colour.
FGPixel UnderlineUnder(const FGPushButton* b, int at) {
    const Label l = LabelOf(b);
    const int font = b->get_font();
    const int x = l.x + FGFontManager::textwidth(font, b->name, at) - 1;
    const int w = FGFontManager::charwidth(font, static_cast<unsigned char>(b->name[at])) + 1;
    const FGPixel first = At(b, x, l.y + 13);
    for (int i = x; i < x + w; i++)
        if (At(b, i, l.y + 13) != first) return 0x12345678;
    return first;
}

int Called = 0;
FGControl* CalledWith = nullptr;
void Count(FGControl* c) {
    Called++;
    CalledWith = c;
}

struct Listener : FGConnector {
    std::vector<std::pair<FGConnector*, int>> got;
    void Receive(FGConnector* sender, int arg) override { got.push_back({sender, arg}); }
};

// Counts activations and destructions.
int Destroyed = 0;
struct CountingButton : FGPushButton {
    int activated = 0, deactivated = 0;
    using FGPushButton::FGPushButton;
    ~CountingButton() override { Destroyed++; }
    void OnActivate() override { activated++; }
    void OnDeactivate() override { deactivated++; }
};

class ControlTest : public HeadlessWindowTest {
protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        fg_beep = [](int, int) {};
        fg_error_reporter = [](const char*, int) {};
        fg_screen_clear(0);
        Called = 0;
        CalledWith = nullptr;
        Destroyed = 0;
    }
    // A frameless window at (100, 100): its client area is the whole window.
    static FGWindow* Plain(unsigned flags = 0) {
        return new FGWindow(nullptr, 100, 100, 300, 200, "controls", nullptr, 0, WHITE, flags);
    }
};

TEST_F(ControlTest, PushButtonStatesAtKnownPixels) {
    FGWindow* w = Plain();
    auto* b = new FGPushButton(w, 20, 30, 80, 24, "Yes", 'y', nullptr, 7);
    const int W = 80, H = 24;
    EXPECT_EQ(b->type, FG_TYPE_PUSHBUTTON);
    EXPECT_EQ(b->hot_key, 'Y');
    EXPECT_EQ(b->word_b, 7);
    EXPECT_EQ(b->index, 0);
    EXPECT_EQ(b->ink, BLACK);
    EXPECT_EQ(b->paper, FACE);
    EXPECT_EQ(b->get_font(), 8);
    EXPECT_EQ(b->screen_x, 20);
    const Label l = LabelOf(b);
    ASSERT_LT(l.y + 13, H - 2);

    // Normal: face, bevel, label in ink, underline under the 'Y'.
    EXPECT_EQ(Mismatches(b, {{0, 0, WHITE}, {0, 10, WHITE}, {10, 0, WHITE}, {W - 1, 10, BLACK},
                             {10, H - 1, BLACK}, {W - 2, 10, DARK_GREY}, {10, H - 2, DARK_GREY},
                             {2, 2, FACE}}),
              "");
    EXPECT_GT(Count(b, l.x, l.y, l.w, l.h, BLACK), 5);
    EXPECT_EQ(UnderlineUnder(b, 0), TEXT_GREY);
    // The same pixels in the window and on the screen.
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            ASSERT_EQ(At(w, 20 + x, 30 + y), At(b, x, y));
            ASSERT_EQ(ScreenAt(120 + x, 130 + y), At(b, x, y));
        }

    b->Press(0, 0);
    EXPECT_EQ(b->flags & 7, FG_CONTROL_PRESSED);
    EXPECT_TRUE(b->flags & FG_CONTROL_TOGGLED);
    EXPECT_EQ(Mismatches(b, {{0, 0, BLACK}, {1, 1, BLACK}, {2, 2, PRESSED_FACE},
                             {W - 2, 10, WHITE}, {10, H - 2, WHITE}, {W - 1, 10, BLACK}}),
              "");
    EXPECT_GT(Count(b, l.x, l.y, l.w, l.h, TEXT_GREY), 5);
    EXPECT_EQ(Count(b, l.x, l.y, l.w, l.h, BLACK), 0);
    EXPECT_EQ(ScreenAt(122, 132), PRESSED_FACE);

    b->Release(0);
    EXPECT_EQ(b->flags & 7, FG_CONTROL_NORMAL);
    EXPECT_FALSE(b->flags & FG_CONTROL_TOGGLED);
    EXPECT_EQ(At(b, 0, 0), WHITE);
    EXPECT_EQ(w->last_notified, nullptr);   // no fire: nothing pending

    b->flags = (b->flags & ~7u) | FG_CONTROL_DISABLED;
    b->Draw();
    // Outline in the ink, white ring, inner lines in the pressed text colour.
    EXPECT_EQ(Mismatches(b, {{0, 0, BLACK}, {W - 1, 10, BLACK}, {1, 1, WHITE}, {2, 2, FACE},
                             {W - 2, 10, TEXT_GREY}, {10, H - 2, TEXT_GREY}}),
              "");
    EXPECT_GT(Count(b, l.x, l.y, l.w, l.h, DARK_GREY), 5);
    EXPECT_NE(UnderlineUnder(b, 0), TEXT_GREY);   // no underline when disabled
    EXPECT_EQ(ScreenAt(121, 131), WHITE);

    // A disabled button ignores press and release.
    b->Press(0, 0);
    b->Release(1);
    EXPECT_EQ(b->flags & 7, FG_CONTROL_DISABLED);
    EXPECT_EQ(w->last_notified, nullptr);
}

TEST_F(ControlTest, HotKeyUnderlineFollowsTheLabel) {
    FGWindow* w = Plain();
    // Alt+n: the lower-case letter first, else the upper-case one, in red.
    auto* no = new FGPushButton(w, 0, 0, 80, 24, "No", 4096 + 'n', nullptr);
    EXPECT_EQ(UnderlineUnder(no, 0), ALT_RED);
    auto* octo = new FGPushButton(w, 0, 30, 80, 24, "Oct o", 4096 + 'o', nullptr);
    EXPECT_EQ(UnderlineUnder(octo, 4), ALT_RED);
    EXPECT_EQ(UnderlineUnder(octo, 0), FACE);
    // A plain letter: its stored case first, else the other case, in grey.
    auto* maybe = new FGPushButton(w, 0, 60, 80, 24, "Maybe", 'y', nullptr);
    EXPECT_EQ(UnderlineUnder(maybe, 2), TEXT_GREY);
    // A label without the hot key's letter, or Enter as hot key: no underline.
    auto* yes = new FGPushButton(w, 0, 90, 80, 24, "Yes", 'q', nullptr);
    auto* ok = new FGPushButton(w, 0, 120, 80, 24, "Ok", 13, nullptr);
    for (FGPushButton* b : {yes, ok}) {
        const Label l = LabelOf(b);
        EXPECT_EQ(Count(b, 0, l.y + 13, b->width, 1, TEXT_GREY), 0);
        EXPECT_EQ(Count(b, 0, l.y + 13, b->width, 1, ALT_RED), 0);
    }
    // A new label is drawn at once, with the underline where the letter now is.
    yes->SetText("Quit");
    EXPECT_STREQ(yes->name, "Quit");
    EXPECT_EQ(UnderlineUnder(yes, 0), TEXT_GREY);
}

TEST_F(ControlTest, WindowDialogButtonIsAPushButton) {
    FGWindow* w = Plain();
    FGControl* made = w->AddPushButton(20, 30, 64, 21, "Yes", 'y', nullptr, 5);
    auto* b = dynamic_cast<FGPushButton*>(made);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->type, FG_TYPE_PUSHBUTTON);
    EXPECT_EQ(b->word_b, 5);
    EXPECT_EQ(b->hot_key, 'Y');
    // Drawn at once, underline included, and shown in the window.
    EXPECT_EQ(UnderlineUnder(b, 0), TEXT_GREY);
    EXPECT_EQ(At(b, 30, 2), FACE);
    EXPECT_EQ(ScreenAt(120 + 30, 130 + 2), FACE);
    // Pressing shows the pressed face.
    b->Press(0, 0);
    EXPECT_EQ(At(b, 30, 3), PRESSED_FACE);
    b->Release(0);
    EXPECT_EQ(At(b, 30, 3), FACE);
}

TEST_F(ControlTest, HotKeyInvokesTheCallbackOnce) {
    FGWindow* w = Plain();
    auto* no = new FGPushButton(w, 10, 10, 64, 21, "No", 'n', Count);
    auto* yes = new FGPushButton(w, 90, 10, 64, 21, "Yes", 'y', Count);
    EXPECT_EQ(yes->index, 1);
    EXPECT_EQ(fg_hot_key_control(w, 'y'), yes);
    EXPECT_EQ(fg_hot_key_control(w, 'Y'), yes);
    EXPECT_EQ(fg_hot_key_control(w, 'N'), no);
    EXPECT_EQ(fg_hot_key_control(w, 'x'), nullptr);
    EXPECT_EQ(fg_hot_key_control(w, 0), nullptr);

    Listener listener;
    yes->receiver = &listener;
    yes->argument = 5;
    // What the dispatcher does on a match: press, release with fire, and the
    // pending callback after the event.
    FGControl* hit = fg_hot_key_control(w, 'y');
    hit->Press(0, 0);
    hit->Release(1);
    EXPECT_EQ(w->last_notified, yes);
    ASSERT_EQ(listener.got.size(), 1u);
    EXPECT_EQ(listener.got[0].first, yes);
    EXPECT_EQ(listener.got[0].second, 5);
    EXPECT_EQ(Called, 0);
    w->RunPendingCallback();
    w->RunPendingCallback();
    EXPECT_EQ(Called, 1);
    EXPECT_EQ(CalledWith, yes);

    // Only a control in the normal state answers; none while iconified or
    // from another page.
    yes->flags = (yes->flags & ~7u) | FG_CONTROL_DISABLED;
    EXPECT_EQ(fg_hot_key_control(w, 'y'), nullptr);
    no->Press(0, 0);
    EXPECT_EQ(fg_hot_key_control(w, 'n'), nullptr);
    no->Release(0);
    w->flags |= WHIDDEN;
    EXPECT_EQ(fg_hot_key_control(w, 'n'), nullptr);
    w->flags &= ~WHIDDEN;
    w->AddPage("two");
    EXPECT_EQ(fg_hot_key_control(w, 'n'), nullptr);
    EXPECT_EQ(fg_hot_key_control(nullptr, 'n'), nullptr);

    // No callback at all is fine.
    auto* bare = new FGPushButton(w, 10, 40, 64, 21, "Bare", 'b', nullptr);
    bare->Release(1);
    w->RunPendingCallback();
    EXPECT_EQ(Called, 1);
}

TEST_F(ControlTest, FocusMovesInCreationOrderAndWraps) {
    FGWindow* w = Plain(WFOCUSED);
    auto* a = new CountingButton(w, 10, 10, 60, 21, "A", 'a', nullptr);
    auto* b = new CountingButton(w, 80, 10, 60, 21, "B", 'b', nullptr);
    auto* c = new CountingButton(w, 150, 10, 60, 21, "C", 'c', nullptr);
    FGControlContainer* page = w->current_page;
    ASSERT_EQ(page->focus, a);   // the first control of a focusing window
    a->Draw();
    EXPECT_EQ(At(a, 0, 0), FOCUS);
    EXPECT_EQ(At(a, 59, 20), FOCUS);
    EXPECT_EQ(At(b, 0, 0), WHITE);

    fg_focus_next(page);
    EXPECT_EQ(page->focus, b);
    EXPECT_EQ(At(a, 0, 0), WHITE);      // the old outline is gone
    EXPECT_EQ(ScreenAt(110, 110), WHITE);
    EXPECT_EQ(At(b, 0, 0), FOCUS);
    EXPECT_EQ(ScreenAt(180, 110), FOCUS);
    EXPECT_EQ(a->deactivated, 1);
    EXPECT_EQ(b->activated, 1);

    fg_focus_next(page);
    EXPECT_EQ(page->focus, c);
    fg_focus_next(page);
    EXPECT_EQ(page->focus, a);          // from the last to the first
    fg_focus_previous(page);
    EXPECT_EQ(page->focus, c);          // from the first to the last
    fg_focus_previous(page);
    EXPECT_EQ(page->focus, b);

    // A control of another page, or none, is refused or clears the focus.
    FGWindow* other = Plain(WFOCUSED);
    auto* stranger = new FGPushButton(other, 0, 0, 40, 20, "S", 's', nullptr);
    fg_set_focus(page, stranger);
    EXPECT_EQ(page->focus, b);
    fg_set_focus(page, nullptr);
    EXPECT_EQ(page->focus, nullptr);
    EXPECT_EQ(At(b, 0, 0), WHITE);
    fg_focus_next(page);                // without a focus: the first
    EXPECT_EQ(page->focus, a);
    fg_set_focus(nullptr, a);
    fg_focus_next(nullptr);

    // With fewer than two controls nothing happens.
    FGControlContainer* single = other->current_page;
    fg_focus_next(single);
    fg_focus_previous(single);
    EXPECT_EQ(single->focus, stranger);
}

TEST_F(ControlTest, FocusWithoutFocusingWindowIsOnlyRecorded) {
    FGWindow* w = Plain();
    auto* a = new CountingButton(w, 10, 10, 60, 21, "A", 'a', nullptr);
    auto* b = new CountingButton(w, 80, 10, 60, 21, "B", 'b', nullptr);
    EXPECT_EQ(w->current_page->focus, nullptr);
    fg_set_focus(w->current_page, b);
    EXPECT_EQ(w->current_page->focus, b);
    EXPECT_EQ(b->activated, 0);
    EXPECT_EQ(At(b, 0, 0), WHITE);      // not redrawn
    fg_focus_next(w->current_page);
    EXPECT_EQ(w->current_page->focus, a);
    EXPECT_EQ(b->deactivated, 1);
    EXPECT_EQ(a->activated, 0);
}

TEST_F(ControlTest, PanelEdgesAndLabelOnTheTopEdge) {
    FGWindow* w = new FGWindow(nullptr, 50, 50, 400, 300, "framed", nullptr, 0, WHITE,
                               WFRAMED | WTITLED);
    ASSERT_EQ(w->clip_x, 4);
    ASSERT_EQ(w->clip_y, 26);
    auto* p = new FGPanel(20, 40, 200, 100, "Engine", w, GREEN, BLUE, GREY);
    EXPECT_EQ(p->type, FG_TYPE_PANEL);
    EXPECT_EQ(p->pixels, nullptr);
    EXPECT_EQ(p->flags & 7, 0u);
    EXPECT_EQ(p->hot_key, 0);
    EXPECT_EQ(p->callback, nullptr);
    EXPECT_EQ(p->screen_x, 24);
    EXPECT_EQ(p->screen_y, 66);
    int x, y, pw, ph;
    p->GetRect(&x, &y, &pw, &ph);
    EXPECT_EQ(x, 24);
    EXPECT_EQ(y, 66);
    EXPECT_EQ(pw, 200);
    EXPECT_EQ(ph, 100);

    // Light top and left, dark bottom and right, in the window and on the screen.
    EXPECT_EQ(Mismatches(w, {{150, 66, GREEN}, {24, 100, GREEN}, {100, 165, BLUE},
                             {223, 100, BLUE}, {100, 100, WHITE}}),
              "");
    EXPECT_EQ(ScreenAt(50 + 150, 50 + 66), GREEN);
    EXPECT_EQ(ScreenAt(50 + 223, 50 + 100), BLUE);
    // " Engine " at (x + 8, y - 8) in the window's ink over the top edge.
    const int font = w->get_font();
    const int tw = FGFontManager::textwidth(font, " Engine ");
    const int fh = FGFontManager::get_font_height(font);
    ASSERT_GT(fh, 8);
    EXPECT_GT(Count(w, 32, 58, tw, fh, BLACK), 10);
    EXPECT_EQ(Count(w, 32, 66, tw, 1, GREEN), 0);
    EXPECT_EQ(At(w, 32 + tw + 2, 66), GREEN);
    EXPECT_EQ(ScreenAt(50 + 33, 50 + 66), At(w, 33, 66));
}

TEST_F(ControlTest, PanelIsCutToTheClientArea) {
    FGWindow* w = new FGWindow(nullptr, 50, 50, 400, 300, "framed", nullptr, 0, WHITE,
                               WFRAMED | WTITLED);
    const int cw = w->clip_w, ch = w->clip_h;
    auto* left = new FGPanel(-10, -5, 100, 50, "Cut", w, GREEN, BLUE, GREY);
    EXPECT_EQ(left->screen_x, 4);
    EXPECT_EQ(left->screen_y, 26);
    EXPECT_EQ(left->width, 90);
    EXPECT_EQ(left->height, 45);
    EXPECT_EQ(At(w, 4, 26 + 20), GREEN);
    // The label stays on the (moved) top edge, over the title area.
    const int fh = FGFontManager::get_font_height(w->get_font());
    EXPECT_GT(Count(w, 12, 18, FGFontManager::textwidth(w->get_font(), " Cut "), fh, BLACK), 5);

    auto* right = new FGPanel(cw - 50, ch - 20, 200, 100, "", w, GREEN, BLUE, GREY);
    EXPECT_EQ(right->width, 50);
    EXPECT_EQ(right->height, 20);
    EXPECT_EQ(At(w, 4 + cw - 1, 26 + ch - 10), BLUE);

    auto* outside = new FGPanel(5000, 5000, 10, 10, "Far", w, GREEN, BLUE, GREY);
    EXPECT_EQ(outside->width, 0);
    EXPECT_EQ(outside->height, 0);
    auto* huge = new FGPanel(INT_MIN, INT_MIN, INT_MAX, INT_MAX, "Huge", w, GREEN, BLUE, GREY);
    EXPECT_EQ(huge->width, 0);
    auto* all = new FGPanel(0, 0, INT_MAX, INT_MAX, nullptr, w, GREEN, BLUE, GREY);
    EXPECT_EQ(all->width, cw);
    EXPECT_EQ(all->height, ch);
    auto* negative = new FGPanel(10, 10, -40, -40, "Neg", w, GREEN, BLUE, GREY);
    EXPECT_EQ(negative->width, 0);
    auto* orphan = new FGPanel(10, 10, 40, 40, "Orphan", nullptr, GREEN, BLUE, GREY);
    orphan->Draw();
    delete orphan;
}

TEST_F(ControlTest, WindowRedrawDrawsThePanelAndTheControlsOnIt) {
    FGWindow* w = Plain();
    new FGPanel(10, 20, 200, 120, "Menu", w, GREEN, BLUE, GREY);
    auto* b = new FGPushButton(w, 30, 40, 60, 21, "Go", 'g', nullptr);
    auto* edge = new FGPushButton(w, 120, 130, 60, 21, "Edge", 'e', nullptr);
    // Wipe the window, then repaint it: the panel first, then its buttons over it.
    w->clear(GREY);
    w->DrawFrame();
    EXPECT_EQ(At(w, 100, 20), GREEN);
    EXPECT_EQ(At(w, 10, 80), GREEN);
    EXPECT_EQ(At(w, 209, 80), BLUE);
    EXPECT_EQ(At(w, 30, 40), At(b, 0, 0));
    EXPECT_EQ(At(w, 32, 42), FACE);
    // The button on the bottom edge hides the edge where it lies.
    EXPECT_EQ(At(w, 122, 139), At(edge, 2, 9));
    EXPECT_EQ(At(w, 122, 139), FACE);
    EXPECT_EQ(ScreenAt(100 + 32, 100 + 42), FACE);
    EXPECT_EQ(ScreenAt(100 + 100, 100 + 20), GREEN);

    // A panel on a page that is not shown draws nothing.
    w->AddPage("two");
    auto* hidden = new FGPanel(250, 150, 40, 40, "", w, BLUE, BLUE, GREY);
    EXPECT_EQ(At(w, 260, 150), BLUE);
    ASSERT_EQ(w->SelectPage(""), 1);
    EXPECT_EQ(At(w, 260, 150), WHITE);
    hidden->Draw();
    EXPECT_EQ(At(w, 260, 150), WHITE);
    EXPECT_EQ(At(w, 32, 42), FACE);
}

TEST_F(ControlTest, ControlDestroyedBeforeItsWindow) {
    FGWindow* w = Plain(WFOCUSED);
    auto* a = new CountingButton(w, 10, 10, 60, 21, "A", 'a', Count);
    auto* b = new CountingButton(w, 80, 10, 60, 21, "B", 'b', Count);
    a->Release(1);
    ASSERT_EQ(w->last_notified, a);
    ASSERT_EQ(w->current_page->focus, a);
    delete a;
    EXPECT_EQ(Destroyed, 1);
    EXPECT_EQ(w->last_notified, nullptr);
    EXPECT_EQ(w->current_page->focus, nullptr);
    ASSERT_EQ(w->current_page->controls.size(), 1u);
    EXPECT_EQ(w->current_page->controls[0], b);
    // Its place is wiped to the window's paper, on the screen too.
    EXPECT_EQ(At(w, 10, 10), WHITE);
    EXPECT_EQ(ScreenAt(110, 110), WHITE);
    w->RunPendingCallback();
    EXPECT_EQ(Called, 0);
    fg_focus_next(w->current_page);
    EXPECT_EQ(fg_hot_key_control(w, 'a'), nullptr);

    auto* p = new FGPanel(150, 50, 100, 100, "P", w, GREEN, BLUE, GREY);
    EXPECT_EQ(At(w, 150, 80), GREEN);
    delete p;
    EXPECT_EQ(At(w, 150, 80), WHITE);
    delete w;
    EXPECT_EQ(Destroyed, 2);
}

TEST_F(ControlTest, WindowDestroyedWithItsControls) {
    FGWindow* w = Plain(WFOCUSED);
    auto* a = new CountingButton(w, 10, 10, 60, 21, "A", 'a', Count);
    new CountingButton(w, 80, 10, 60, 21, "B", 'b', Count);
    new FGPanel(5, 5, 200, 100, "P", w, GREEN, BLUE, GREY);
    w->AddPage("two");
    new CountingButton(w, 10, 10, 60, 21, "C", 'c', Count);
    a->Release(1);   // a callback is pending and a control has the focus
    delete w;
    EXPECT_EQ(Destroyed, 3);
    EXPECT_EQ(Called, 0);
}

// The error window's "Ok": the callback destroys the window of its own button.
void CloseOwnWindow(FGControl* c) {
    Called++;
    delete c->parent;
}
void DeleteSelf(FGControl* c) {
    Called++;
    delete c;
}

TEST_F(ControlTest, CallbacksMayDestroyTheirControlOrWindow) {
    FGWindow* w = Plain();
    auto* self = new CountingButton(w, 10, 10, 60, 21, "Self", 's', DeleteSelf);
    self->Press(0, 0);
    self->Release(1);
    w->RunPendingCallback();
    EXPECT_EQ(Called, 1);
    EXPECT_EQ(Destroyed, 1);
    EXPECT_TRUE(w->current_page->controls.empty());

    FGWindow* handle = nullptr;
    FGWindow* error = new FGWindow(&handle, 200, 200, 160, 78, "Error", nullptr, WHITE, 0xF80000);
    ASSERT_EQ(handle, error);
    FGControl* ok = new CountingButton(error, 40, 48, 80, 21, "Ok", 13, CloseOwnWindow);
    EXPECT_EQ(fg_hot_key_control(error, 13), ok);
    ok->Press(0, 0);
    ok->Release(1);
    error->RunPendingCallback();
    EXPECT_EQ(Called, 2);
    EXPECT_EQ(Destroyed, 2);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(fg_window_count(), 1);
}

TEST_F(ControlTest, AnyInputIsSafe) {
    FGWindow* w = Plain();
    const std::vector<FGPixel> before(w->pixels, w->pixels + w->width * w->height);

    // Far outside the window: nothing in the window changes.
    auto* far = new FGPushButton(w, 5000, -5000, 60, 21, "Far", 'f', nullptr);
    auto* extreme = new FGPushButton(w, INT_MAX, INT_MIN, 60, 21, "X", 'x', nullptr);
    far->Press(0, 0);
    far->Release(1);
    extreme->Press(0, 0);
    extreme->Release(0);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), w->pixels));
    w->RunPendingCallback();

    // Huge and negative sizes: never larger than the window; none is no pixels.
    auto* huge = new FGPushButton(w, 0, 0, INT_MAX, INT_MAX, "Huge", 'h', nullptr);
    EXPECT_EQ(huge->width, w->width);
    EXPECT_EQ(huge->height, w->height);
    auto* none = new FGPushButton(w, 10, 10, -5, INT_MIN, "None", 'n', nullptr);
    EXPECT_EQ(none->pixels, nullptr);
    none->Press(0, 0);
    none->Release(1);
    fg_set_focus(w->current_page, none);
    none->Draw();

    // Missing or empty labels, hot keys out of any range.
    auto* unnamed = new FGPushButton(w, 10, 50, 60, 21, nullptr, -1, nullptr);
    EXPECT_STREQ(unnamed->name, "");
    auto* empty = new FGPushButton(w, 10, 80, 60, 21, "", 4096 + 'a', nullptr);
    auto* high = new FGPushButton(w, 10, 110, 60, 21, "\xB0" "C", 0xB0, nullptr);
    EXPECT_EQ(UnderlineUnder(high, 0), TEXT_GREY);
    auto* big_key = new FGPushButton(w, 10, 140, 60, 21, "A", INT_MAX, nullptr);
    big_key->SetText(nullptr);
    EXPECT_STREQ(big_key->name, "");
    (void)empty;

    // Without a window.
    auto* orphan = new FGPushButton(nullptr, 10, 10, 60, 21, "Orphan", 'o', Count);
    EXPECT_EQ(orphan->index, 0);
    orphan->Press(0, 0);
    orphan->Release(1);
    EXPECT_EQ(At(orphan, 2, 2), FACE);
    delete orphan;
    EXPECT_EQ(Called, 0);
}
}  // namespace
