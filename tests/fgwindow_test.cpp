// Windows on the headless display (800 x 600, mode 3): geometry, list order,
// what reaches the frame buffer, titles, drawing calls, closing, iconising.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "display.h"
#include "fgdriver.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "headless_windows.h"

namespace {

constexpr FGPixel RED = 0xF80000, GREEN = 0x00C000, BLUE = 0x0000F8, GREY = 0x808080;

TDisplay* Display() { return static_cast<FGWin32DXDriver*>(fg_driver)->direct_draw.get(); }

std::vector<TDisplayRect> TakeUpdates() {
    std::vector<TDisplayRect> rects;
    DisplayTakeUpdates(Display(), &rects);
    return rects;
}

bool Meets(const TDisplayRect& r, int x, int y, int w, int h) {
    return r.x < x + w && x < r.x + r.w && r.y < y + h && y < r.y + r.h;
}

// Events seen by the handlers of the windows under test.
std::vector<int> Seen;
int Record(FGWindow*, FGEvent* e) {
    Seen.push_back(e->type);
    return 0;
}

int Beeps = 0;
std::string Reported;

class WindowTest : public HeadlessWindowTest {
protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        fg_beep = [](int, int) { Beeps++; };
        fg_error_reporter = [](const char* m, int) { Reported = m; };
        Beeps = 0;
        Reported.clear();
        Seen.clear();
        fg_screen_clear(0);
        TakeUpdates();
    }
};

TEST_F(WindowTest, GeometryRules) {
    FGWindow* main = new FGWindow(nullptr, 0, 0, 800, 480, "Velvix", nullptr, 0, 0, 0x20800280);
    EXPECT_EQ(main->screen_x, 0);
    EXPECT_EQ(main->screen_y, 60);
    EXPECT_EQ(main->width, 800);
    EXPECT_EQ(main->height, 480);
    EXPECT_EQ(main->clip_x, 0);
    EXPECT_EQ(main->clip_y, 0);
    EXPECT_EQ(main->clip_w, 800);
    EXPECT_EQ(main->clip_h, 480);
    EXPECT_EQ(main->type, FG_TYPE_WINDOW);

    FGWindow* tiny = new FGWindow(nullptr, 10, 10, 5, 20, "tiny");
    EXPECT_EQ(tiny->width, 8);
    EXPECT_EQ(tiny->height, 24);

    FGWindow* grid = new FGWindow(nullptr, 13, 7, 101, 50, "grid", nullptr, 0, 0, WGRID4);
    EXPECT_EQ(grid->screen_x, 12);
    EXPECT_EQ(grid->screen_y, 4);
    EXPECT_EQ(grid->width, 100);
    EXPECT_EQ(grid->height, 48);

    FGWindow* right = new FGWindow(nullptr, 780, 590, 100, 50, "edge");
    EXPECT_EQ(right->screen_x, 700);
    EXPECT_EQ(right->screen_y, 550);

    FGWindow* huge = new FGWindow(nullptr, -50, -9, 5000, 5000, "huge");
    EXPECT_EQ(huge->screen_x, 0);
    EXPECT_EQ(huge->screen_y, 0);
    EXPECT_EQ(huge->width, 800);
    EXPECT_EQ(huge->height, 600);

    // Frame, title, menu bar, tabs and status line take their rows off the client area.
    FGWindow* dressed = new FGWindow(nullptr, 0, 0, 300, 200, "dressed", nullptr, 0, 0xFFFFFF,
                                     WFRAMED | WTITLED | WMENU | WNOTEBOOK | WSTATUS);
    EXPECT_EQ(dressed->clip_x, 4);
    EXPECT_EQ(dressed->clip_y, 4 + 22 + 23 + 19);
    EXPECT_EQ(dressed->clip_w, 292);
    EXPECT_EQ(dressed->clip_h, 200 - 68 - 4 - 20);
    EXPECT_EQ(dressed->pages.front()->tab_y, 68 - 20);

    FGWindow* modal = new FGWindow(nullptr, 0, 0, 100, 100, "m", nullptr, 0, 0, WMODAL | WICONIFY);
    EXPECT_FALSE(modal->flags & WICONIFY);
    FGWindow* notified = new FGWindow(nullptr, 0, 0, 100, 100, "n", nullptr, 0, 0, WCLOSENOTIFY);
    EXPECT_EQ(notified->type, FG_TYPE_NOTIFIED_WINDOW);
}

TEST_F(WindowTest, StoredGeometryFromTheDatabase) {
    ConfigTempDir home;
    {
        WindowDatabase db("wintest", home.Path().c_str());
        int x = 40, y = 44, w = 120, h = 80;
        db.Register(x, y, w, h, "Stored", WUSEDB);
        fg_window_context.database = &db;
        FGWindow* a = new FGWindow(nullptr, 0, 0, 60, 60, "Stored", nullptr, 0, 0, WUSEDB);
        EXPECT_EQ(a->screen_x, 40);
        EXPECT_EQ(a->screen_y, 44);
        EXPECT_EQ(a->width, 60);   // the size only with WRESIZE
        FGWindow* b = new FGWindow(nullptr, 0, 0, 60, 60, "Stored", nullptr, 0, 0,
                                   WUSEDB | WRESIZE);
        EXPECT_EQ(b->width, 120);
        EXPECT_EQ(b->height, 80);
        // A name not stored yet is added with the given geometry.
        new FGWindow(nullptr, 5, 6, 70, 71, "Fresh", nullptr, 0, 0, WUSEDB);
        ASSERT_NE(db.Find("Fresh"), nullptr);
        EXPECT_EQ(db.Find("Fresh")->width, 70);
        TearDown();
        fg_window_context.database = nullptr;
    }
}

TEST_F(WindowTest, ListOrderCurrentWindowAndActivation) {
    FGWindow* handle = nullptr;
    FGWindow* top = new FGWindow(nullptr, 0, 0, 50, 50, "top", nullptr, 0, 0, WTOP);
    FGWindow* bottom = new FGWindow(nullptr, 0, 0, 50, 50, "bottom", nullptr, 0, 0, WBOTTOM);
    FGWindow* a = new FGWindow(&handle, 0, 0, 50, 50, "a", Record);
    EXPECT_EQ(handle, a);
    FGWindow* b = new FGWindow(nullptr, 0, 0, 50, 50, "b");
    ASSERT_EQ(fg_window_count(), 4);
    EXPECT_EQ(fg_window_at(0), bottom);
    EXPECT_EQ(fg_window_at(1), a);
    EXPECT_EQ(fg_window_at(2), b);
    EXPECT_EQ(fg_window_at(3), top);
    EXPECT_EQ(GetCurrentWindow(), b);

    Seen.clear();
    FGWindow::Activate(a);
    EXPECT_EQ(GetCurrentWindow(), a);
    EXPECT_EQ(fg_window_at(2), a);   // rose to the top of its group, below `top`
    EXPECT_EQ(fg_window_at(3), top);
    EXPECT_EQ(Seen, std::vector<int>({FGE_ACTIVATED}));

    // Opening without activation leaves the current window current and on top.
    FGWindow* quiet = new FGWindow(nullptr, 0, 0, 50, 50, "quiet", nullptr, 0, 0, WNOACTIVATE);
    EXPECT_EQ(GetCurrentWindow(), a);
    EXPECT_EQ(fg_window_at(3), a);
    EXPECT_EQ(fg_window_at(2), quiet);

    // Destroying the current window makes the top remaining window current;
    // the owner's variable is cleared.
    delete a;
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(GetCurrentWindow(), top);

    FGWindow::NextWindow();
    EXPECT_EQ(GetCurrentWindow(), bottom);
    EXPECT_EQ(Beeps, 0);
}

TEST_F(WindowTest, ModalWindowKeepsActivation) {
    FGWindow* a = new FGWindow(nullptr, 0, 0, 50, 50, "a");
    FGWindow* modal = new FGWindow(nullptr, 0, 0, 50, 50, "modal", nullptr, 0, 0, WMODAL);
    FGWindow* later = new FGWindow(nullptr, 0, 0, 50, 50, "later");
    // New windows open behind the modal one.
    EXPECT_EQ(GetCurrentWindow(), modal);
    EXPECT_EQ(fg_window_at(2), modal);
    EXPECT_EQ(fg_window_at(1), later);
    FGWindow::Activate(a);
    EXPECT_EQ(GetCurrentWindow(), modal);
    EXPECT_EQ(Beeps, 1);
    FGWindow::NextWindow();
    EXPECT_EQ(Beeps, 2);
    EXPECT_EQ(GetCurrentWindow(), modal);
}

TEST_F(WindowTest, EventsOfOpeningAndClosing) {
    FGWindow* first = new FGWindow(nullptr, 0, 0, 50, 50, "first", Record, 0, 0, WCLOSENOTIFY);
    EXPECT_EQ(Seen, std::vector<int>({FGE_OPENED}));
    Seen.clear();
    FGWindow* second = new FGWindow(nullptr, 0, 0, 50, 50, "second", Record);
    // The notified window hears of the opening, then loses activation.
    EXPECT_EQ(Seen, std::vector<int>({FGE_CLOSING, FGE_DEACTIVATED, FGE_OPENED}));
    Seen.clear();
    delete second;
    EXPECT_EQ(Seen, std::vector<int>({FGE_CLOSING}));
    EXPECT_EQ(GetCurrentWindow(), first);
}

TEST_F(WindowTest, CoveredWindowPushesOnlyItsUncoveredStrips) {
    FGWindow* a = new FGWindow(nullptr, 100, 100, 200, 200, "a", nullptr, 0, RED);
    FGWindow* b = new FGWindow(nullptr, 200, 150, 200, 100, "b", nullptr, 0, BLUE);
    EXPECT_EQ(ScreenAt(150, 150), RED);
    EXPECT_EQ(ScreenAt(250, 200), BLUE);
    TakeUpdates();

    a->FillBox(0, 0, 200, 200, GREEN);
    const std::vector<TDisplayRect> rects = TakeUpdates();
    ASSERT_EQ(rects.size(), 3u);
    int64_t area = 0;
    for (const TDisplayRect& r : rects) {
        EXPECT_FALSE(Meets(r, 200, 150, 200, 100)) << r.x << "," << r.y;
        EXPECT_TRUE(r.x >= 100 && r.y >= 100 && r.x + r.w <= 300 && r.y + r.h <= 300);
        area += int64_t(r.w) * r.h;
    }
    EXPECT_EQ(area, 200 * 200 - 100 * 100);
    EXPECT_EQ(ScreenAt(150, 150), GREEN);
    EXPECT_EQ(ScreenAt(250, 120), GREEN);
    EXPECT_EQ(ScreenAt(250, 200), BLUE);   // b still on top
    EXPECT_EQ(ScreenAt(250, 280), GREEN);
    EXPECT_TRUE(a->flags & WCLIPPED);
    EXPECT_FALSE(b->flags & WCLIPPED);

    // Wholly covered: nothing reaches the screen.
    FGWindow* under = new FGWindow(nullptr, 220, 160, 50, 50, "under", nullptr, 0, GREY);
    FGWindow::Activate(b);
    TakeUpdates();
    under->FillBox(0, 0, 50, 50, GREEN);
    EXPECT_TRUE(TakeUpdates().empty());
    EXPECT_TRUE(under->flags & WCLIPPED);
    EXPECT_EQ(ScreenAt(230, 170), BLUE);
}

TEST_F(WindowTest, DestroyingTheTopWindowRestoresWhatWasBelow) {
    fg_window_context.background = 0x102030;
    FGWindow* a = new FGWindow(nullptr, 100, 100, 200, 200, "a", nullptr, 0, RED);
    FGWindow* b = new FGWindow(nullptr, 200, 150, 200, 100, "b", nullptr, 0, BLUE);
    EXPECT_EQ(ScreenAt(250, 200), BLUE);
    EXPECT_EQ(ScreenAt(350, 200), BLUE);
    delete b;
    EXPECT_EQ(ScreenAt(250, 200), RED);        // a again
    EXPECT_EQ(ScreenAt(350, 200), 0x102030u);  // nothing below: the background
    EXPECT_EQ(ScreenAt(150, 150), RED);
    EXPECT_EQ(GetCurrentWindow(), a);
}

TEST_F(WindowTest, TooManyPiecesFallBackToAFullRepaint) {
    FGWindow* big = new FGWindow(nullptr, 0, 0, 800, 600, "big", nullptr, 0, RED);
    // A grid of small windows with gaps cuts the big one into far more than 1024 pieces.
    for (int j = 0; j < 20; j++)
        for (int i = 0; i < 66; i++)
            new FGWindow(nullptr, 2 + i * 12, 4 + j * 30, 8, 24, "cell", nullptr, 0, BLUE);
    TakeUpdates();
    big->FillBox(0, 0, 800, 600, GREEN);
    // The big window pushed its whole area, the cells theirs over it.
    const std::vector<TDisplayRect> rects = TakeUpdates();
    ASSERT_EQ(rects.size(), 1u + 66 * 20);
    EXPECT_EQ(rects[0].w, 800);
    EXPECT_EQ(rects[0].h, 600);
    EXPECT_EQ(ScreenAt(0, 0), GREEN);
    EXPECT_EQ(ScreenAt(11, 10), GREEN);   // a gap between cells
    EXPECT_EQ(ScreenAt(4, 10), BLUE);     // a cell keeps its place on top
    EXPECT_EQ(ScreenAt(2 + 65 * 12 + 3, 4 + 19 * 30 + 20), BLUE);
    EXPECT_EQ(ScreenAt(799, 599), GREEN);
}

TEST_F(WindowTest, TitleBarsActiveAndInactive) {
    FGWindow* a = new FGWindow(nullptr, 100, 100, 200, 100, "  First", nullptr, 0, 0xFFFFFF,
                               WFRAMED | WTITLED);
    const FGPixel active = CScheme->color[2], inactive = CScheme->color[3];
    // The bar starts at (3, 3); its end (before the close button) carries no text.
    EXPECT_EQ(ScreenAt(100 + 3 + 170, 100 + 3 + 10), active);
    EXPECT_EQ(ScreenAt(100 + 3 + 5, 100 + 3 + 21 - 1), 0xFFFFFFu);   // white line below
    // Some title text is drawn in white near its start.
    int white = 0;
    for (int y = 104; y < 122; y++)
        for (int x = 108; x < 140; x++) white += ScreenAt(x, y) == 0xFFFFFF;
    EXPECT_GT(white, 5);
    // Frame edges and the client area.
    EXPECT_EQ(ScreenAt(100, 150), static_cast<FGPixel>(CScheme->color[4]));
    EXPECT_EQ(ScreenAt(299, 150), static_cast<FGPixel>(CScheme->color[5]));
    EXPECT_EQ(ScreenAt(100 + a->clip_x + 10, 100 + a->clip_y + 10), 0xFFFFFFu);

    new FGWindow(nullptr, 400, 100, 200, 100, "Second", nullptr, 0, 0xFFFFFF, WFRAMED | WTITLED);
    EXPECT_EQ(ScreenAt(100 + 3 + 170, 100 + 3 + 10), inactive);
    EXPECT_EQ(ScreenAt(400 + 3 + 170, 100 + 3 + 10), active);
}

TEST_F(WindowTest, DrawingCallsAtKnownPixels) {
    FGWindow* w = new FGWindow(nullptr, 100, 100, 200, 150, "draw", nullptr, 0, 0xFFFFFF,
                               WFRAMED);
    const int ox = 100 + w->clip_x, oy = 100 + w->clip_y;
    w->FillBox(10, 10, 20, 5, RED);
    EXPECT_EQ(ScreenAt(ox + 10, oy + 10), RED);
    EXPECT_EQ(ScreenAt(ox + 29, oy + 14), RED);
    EXPECT_EQ(ScreenAt(ox + 30, oy + 14), 0xFFFFFFu);

    w->DrawLine(0, 40, 50, 40, BLUE);
    EXPECT_EQ(ScreenAt(ox, oy + 40), BLUE);
    EXPECT_EQ(ScreenAt(ox + 50, oy + 40), BLUE);
    // A line leaving the client area stops at its edge (the frame stays).
    w->DrawLine(-30, 60, 300, 60, GREEN);
    EXPECT_EQ(ScreenAt(ox, oy + 60), GREEN);
    EXPECT_EQ(ScreenAt(ox - 1, oy + 60), 0xFFFFFFu);   // the white outline around the client
    EXPECT_NE(ScreenAt(ox - 3, oy + 60), GREEN);

    w->DrawBox(60, 70, 30, 20, RED);
    EXPECT_EQ(ScreenAt(ox + 60, oy + 70), RED);
    EXPECT_EQ(ScreenAt(ox + 89, oy + 89), RED);
    EXPECT_EQ(ScreenAt(ox + 70, oy + 80), 0xFFFFFFu);

    FGDrawBuffer src(4, 4, FG_TYPE_BITMAP, GREY);
    w->CopyArea(120, 10, 0, 0, 4, 4, &src);
    EXPECT_EQ(ScreenAt(ox + 123, oy + 13), GREY);

    TakeUpdates();
    w->WriteText(10, 100, "Hello", 0, GREEN);
    const std::vector<TDisplayRect> rects = TakeUpdates();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].x, ox + 10);
    EXPECT_EQ(rects[0].y, oy + 100);
    EXPECT_EQ(rects[0].h, FGFontManager::get_font_height(w->get_font()));
    EXPECT_EQ(rects[0].w, FGFontManager::textwidth(w->get_font(), "Hello"));
    int ink = 0, paper = 0;
    for (int y = rects[0].y; y < rects[0].y + rects[0].h; y++)
        for (int x = rects[0].x; x < rects[0].x + rects[0].w; x++) {
            ink += ScreenAt(x, y) == 0;
            paper += ScreenAt(x, y) == GREEN;
        }
    EXPECT_GT(ink, 10);
    EXPECT_GT(paper, 10);
}

TEST_F(WindowTest, AWindowLayingItsOwnPaperIsFilledOnlyBeforeItsHandlerPaints) {
    struct Case {
        bool ownPaper;
        FGEventHandler handler;
        FGPixel afterRedraw;  // at a pixel set by hand between two redraws
    } const cases[] = {
        {false, Record, GREY},
        {true, Record, RED},       // the handler lays it: the toolkit leaves the pixel
        {true, nullptr, GREY},     // nobody would lay it
    };
    for (const Case& c : cases) {
        FGWindow* w = new FGWindow(nullptr, 0, 0, 60, 40, "paper", c.handler, 0, GREY, WNOFIRSTPAINT);
        w->own_paper = c.ownPaper;
        w->pixels[5 * w->width + 5] = RED;
        w->DrawFrame();  // the first paint calls no handler: the paper is laid
        EXPECT_EQ(w->pixels[5 * w->width + 5] & 0xFFFFFF, GREY);
        w->pixels[5 * w->width + 5] = RED;
        w->DrawFrame();
        EXPECT_EQ(w->pixels[5 * w->width + 5] & 0xFFFFFF, c.afterRedraw) << c.ownPaper;
        delete w;
    }
}

TEST_F(WindowTest, PrintfIsBoundedAndPutcScrolls) {
    FGWindow* w = new FGWindow(nullptr, 0, 0, 120, 60, "print", nullptr, 0, 0xFFFFFF);
    const std::string longText(4000, 'x');
    w->printf(2, 3, "%s\n", longText.c_str());
    EXPECT_EQ(w->print_x, 2);
    EXPECT_EQ(w->print_y, 3);
    const int fh = FGFontManager::get_font_height(w->get_font());
    ASSERT_GT(fh, 0);
    w->print_x = 1;
    w->print_y = 0;
    for (int i = 0; i < 20; i++) {
        w->putc('A' + i);
        w->putc('\n');
    }
    // The cursor stays on the last line that fits; the client area scrolled.
    EXPECT_LE(w->print_y + fh, w->clip_h);
    EXPECT_GT(w->print_y + 2 * fh, w->clip_h);
    int dark = 0;
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 40; x++) dark += ScreenAt(x, y) == 0;
    EXPECT_GT(dark, 10);
}

TEST_F(WindowTest, ClipRectangleOutsideTheWindowIsRefused) {
    FGWindow* w = new FGWindow(nullptr, 0, 0, 100, 80, "clip");
    EXPECT_FALSE(w->set_clip_rect(-1, 0, 10, 10));
    EXPECT_FALSE(w->set_clip_rect(0, 0, 0, 10));
    EXPECT_FALSE(w->set_clip_rect(100, 0, 10, 10));
    EXPECT_FALSE(w->set_clip_rect(0, 80, 10, 10));
    EXPECT_EQ(w->clip_w, 100);
    EXPECT_TRUE(w->set_clip_rect(90, 70, 50, 50));
    EXPECT_EQ(w->clip_x, 90);
    EXPECT_EQ(w->clip_w, 10);
    EXPECT_EQ(w->clip_h, 10);
    EXPECT_EQ(w->print_x, 2);
    EXPECT_EQ(w->print_y, 0);
}

int DeleteOnKey(FGWindow* w, FGEvent* e) {
    Seen.push_back(e->type);
    if (e->type == FGE_KEY) delete w;
    return 0;
}

struct HookWindow : FGWindow {
    using FGWindow::FGWindow;
    std::vector<int> keys;
    void OnKeyPress(int key) override { keys.push_back(key); }
};

TEST_F(WindowTest, EventDeliveryReachesHookThenHandler) {
    HookWindow* w = new HookWindow(nullptr, 0, 0, 50, 50, "hooks", Record);
    FGEvent e{};
    e.type = FGE_KEY;
    e.key = 'q';
    Seen.clear();
    SendToWindow(w, &e);
    EXPECT_EQ(w->keys, std::vector<int>({'q'}));
    EXPECT_EQ(Seen, std::vector<int>({FGE_KEY}));
    EXPECT_EQ(e.window, w);
    EXPECT_EQ(w->lock_count, 0);

    // A handler may destroy its window during the event.
    FGWindow* gone = new FGWindow(nullptr, 0, 0, 50, 50, "gone", DeleteOnKey);
    const int id = gone->id;
    SendToWindow(gone, &e);
    EXPECT_EQ(fg_find_window(id), nullptr);
}

TEST_F(WindowTest, EventForAWindowWithoutPixelsEndsTheProcess) {
    FGWindow* w = new FGWindow(nullptr, 0, 0, 50, 50, "broken");
    FGEvent e{};
    e.type = FGE_KEY;
    EXPECT_EXIT(
        {
            w->pixels = nullptr;
            SendToWindow(w, &e);
        },
        ::testing::ExitedWithCode(1), "Internal Error 1 \\(SendToWindow\\)");
}

std::vector<int> Answers;
int RecordAnswer(FGWindow*, FGEvent* e) {
    if (e->type == FGE_CLOSE_ANSWER) Answers.push_back(e->key);
    return 0;
}

TEST_F(WindowTest, ClosingRefusesQueriesOrDestroys) {
    FGWindow* fixed = new FGWindow(nullptr, 0, 0, 50, 50, "fixed", nullptr, 0, 0, WNOCLOSE);
    EXPECT_TRUE(fixed->Close());
    EXPECT_EQ(Reported, "Can`t close this window");

    Answers.clear();
    FGWindow* doc = new FGWindow(nullptr, 0, 0, 200, 100, "doc", RecordAnswer, 0, 0,
                                 WCLOSEQUERY);
    EXPECT_TRUE(doc->Close());   // unchanged: answered at once
    EXPECT_EQ(Answers, std::vector<int>({0}));
    doc->state_bits |= 2;
    const int before = fg_window_count();
    EXPECT_TRUE(doc->Close());
    ASSERT_EQ(fg_window_count(), before + 1);
    FGWindow* query = GetCurrentWindow();
    ASSERT_NE(query, nullptr);
    EXPECT_STREQ(query->name, "Warning!");
    EXPECT_EQ(query->screen_x, 320);
    EXPECT_EQ(query->screen_y, 334);
    EXPECT_TRUE(query->flags & WMODAL);
    doc->Close();   // a second query never opens
    EXPECT_EQ(fg_window_count(), before + 1);
    ASSERT_EQ(query->current_page->controls.size(), 2u);
    FGControl* yes = query->current_page->controls[1];
    EXPECT_STREQ(yes->name, "Yes");
    EXPECT_EQ(yes->hot_key, 'Y');
    yes->Press(0, 0);
    yes->Release(1);
    query->RunPendingCallback();
    EXPECT_EQ(fg_window_count(), before);
    EXPECT_EQ(Answers, std::vector<int>({0, 1}));

    FGWindow* plain = new FGWindow(nullptr, 0, 0, 50, 50, "plain");
    const int id = plain->id;
    EXPECT_FALSE(plain->Close());
    EXPECT_EQ(fg_find_window(id), nullptr);
}

int LastIconKey = -1;
int RecordIconize(FGWindow*, FGEvent* e) {
    if (e->type == FGE_ICONIFIED) LastIconKey = e->key;
    return 0;
}

TEST_F(WindowTest, IconisingHidesAndRestores) {
    FGWindow* below = new FGWindow(nullptr, 0, 0, 400, 300, "below", nullptr, 0, GREY);
    FGWindow* w = new FGWindow(nullptr, 100, 100, 100, 80, "Doc", RecordIconize, 0, RED,
                               WICONIFY);
    EXPECT_EQ(ScreenAt(150, 150), RED);
    EXPECT_EQ(below->Iconize(0, 0), 0);   // not iconifiable
    EXPECT_EQ(w->Iconize(500, 400), 1);
    EXPECT_TRUE(w->IsHidden());
    EXPECT_EQ(LastIconKey, 1);
    EXPECT_EQ(ScreenAt(150, 150), GREY);   // uncovered: the window below shows
    ASSERT_NE(w->icon_window, nullptr);
    EXPECT_EQ(w->icon_window->screen_x, 500);
    EXPECT_EQ(w->icon_window->width, 48);
    EXPECT_EQ(ScreenAt(520, 440), 0xF8u);
    // Hidden windows push nothing.
    TakeUpdates();
    w->FillBox(0, 0, 10, 10, GREEN);
    EXPECT_TRUE(TakeUpdates().empty());

    EXPECT_EQ(w->Iconize(0, 0), 2);
    EXPECT_FALSE(w->IsHidden());
    EXPECT_EQ(w->icon_window, nullptr);
    EXPECT_EQ(LastIconKey, 0);
    EXPECT_EQ(w->icon_x, 500);
    EXPECT_EQ(ScreenAt(150, 150), RED);
    EXPECT_EQ(ScreenAt(520, 440), 0u);   // the icon left the background behind
    EXPECT_EQ(GetCurrentWindow(), w);

    // Without an icon window.
    FGWindow* bare = new FGWindow(nullptr, 0, 0, 60, 60, "bare", nullptr, 0, 0,
                                  WICONIFY | WNOICON);
    const int count = fg_window_count();
    EXPECT_EQ(bare->Iconize(10, 10), 1);
    EXPECT_EQ(bare->icon_window, FG_NO_ICON_WINDOW);
    EXPECT_EQ(fg_window_count(), count);
    EXPECT_EQ(bare->Iconize(10, 10), 2);
}

const char* ChangedTo = nullptr;
int RecordPage(FGWindow*, FGEvent* e) {
    if (e->type == FGE_PAGE_CHANGED) ChangedTo = e->page;
    return 0;
}

TEST_F(WindowTest, NotebookPages) {
    FGWindow* w = new FGWindow(nullptr, 0, 0, 300, 200, "book", RecordPage, 0, 0xFFFFFF,
                               WFRAMED | WNOTEBOOK);
    FGControlContainer* first = w->current_page;
    FGControlContainer* second = w->AddPage("Second");
    EXPECT_EQ(w->current_page, second);
    EXPECT_EQ(second->tab_y, first->tab_y);
    EXPECT_EQ(second->tab_width, FGFontManager::textwidth(8, "Second") + 16);
    EXPECT_EQ(w->SelectPage("missing"), 0);
    EXPECT_EQ(w->SelectPage(""), 1);
    EXPECT_EQ(w->current_page, first);
    ASSERT_NE(ChangedTo, nullptr);
    EXPECT_STREQ(ChangedTo, "");
    w->NextPage();
    EXPECT_STREQ(ChangedTo, "Second");
    w->NextPage();   // wraps
    EXPECT_EQ(w->current_page, first);
    // The current tab is drawn in paper, the other in scheme word 6.
    EXPECT_EQ(ScreenAt(5, first->tab_y + 17), 0xFFFFFFu);
    EXPECT_EQ(ScreenAt(4 + first->tab_width + 2, first->tab_y + 17),
              static_cast<FGPixel>(CScheme->color[6]));
}

TEST_F(WindowTest, RootWindowAndScreenSizeChange) {
    fg_window_context.app_flags |= 0x10;
    FGWindow* root = fg_create_root_window(0x123456);
    ASSERT_EQ(fg_root_window(), root);
    EXPECT_EQ(root->type, FG_TYPE_ROOT);
    EXPECT_EQ(root->width, 800);
    EXPECT_EQ(ScreenAt(799, 599), 0x123456u);
    EXPECT_EQ(GetCurrentWindow(), nullptr);
    FGWindow* w = new FGWindow(nullptr, 10, 10, 100, 100, "w", nullptr, 0, RED);
    EXPECT_EQ(fg_window_at(0), root);
    EXPECT_EQ(GetCurrentWindow(), w);
    delete w;
    EXPECT_EQ(ScreenAt(50, 50), 0x123456u);
    EXPECT_EQ(GetCurrentWindow(), nullptr);

    new FGWindow(nullptr, 10, 10, 100, 100, "w", nullptr, 0, RED);
    ASSERT_EQ(fg_set_mode(2), 1);
    EXPECT_EQ(root->width, 640);
    EXPECT_EQ(root->height, 480);
    EXPECT_EQ(ScreenAt(639, 479), 0x123456u);
    EXPECT_EQ(ScreenAt(50, 50), RED);
    ASSERT_EQ(fg_set_mode(3), 1);
    EXPECT_EQ(ScreenAt(799, 599), 0x123456u);
}

}  // namespace
