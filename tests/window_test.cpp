#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "display.h"
#include "hkutils.h"
#include "trace_capture.h"
#include "window.h"
#include "x11probe.h"

namespace {

class WindowTest : public XvfbTest {
protected:
    std::unique_ptr<TDisplay> Open(const char* caption) {
        std::unique_ptr<TDisplay> d;
        EXPECT_EQ(DisplayOpen(caption, "myExe", 200, 150, &d), DISPLAY_OK);
        return d;
    }
};

}  // namespace

TEST_F(WindowTest, NoServerIsAClearError) {
    setenv("DISPLAY", ":65001", 1);
    TTraceCapture quiet;
    TWindowId id = 7;
    EXPECT_EQ(WindowFind("Velvix", &id), WINDOW_ERR_NO_SERVER);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(WindowSendChar(1, 'a'), WINDOW_ERR_NO_SERVER);
    EXPECT_EQ(WindowSendClose(1), WINDOW_ERR_NO_SERVER);
    EXPECT_EQ(WindowMove(1, 0, 0, 0, false), WINDOW_ERR_NO_SERVER);
    EXPECT_EQ(WindowExists(1), 0);
}

TEST_F(WindowTest, FindsWindowsByExactCaption) {
    auto a = Open("Velvix");
    auto b = Open("Efis Skyvane Demo");
    ASSERT_TRUE(a && b);
    TWindowId id = 0;
    ASSERT_EQ(WindowFind("Velvix", &id), WINDOW_OK);
    EXPECT_EQ(id, a->windowId);
    ASSERT_EQ(WindowFind("Efis Skyvane Demo", &id), WINDOW_OK);
    EXPECT_EQ(id, b->windowId);
    EXPECT_EQ(WindowFind("Velvi", &id), WINDOW_ERR_NOT_FOUND);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(WindowFind("", &id), WINDOW_ERR_NOT_FOUND);
    EXPECT_EQ(WindowFind(nullptr, &id), WINDOW_ERR_ARGS);

    // A window inside a frame (as a window manager reparents it) is found too.
    Display* probe = XOpenDisplay(nullptr);
    ASSERT_NE(probe, nullptr);
    const Window frame = XCreateSimpleWindow(probe, DefaultRootWindow(probe), 0, 0, 300, 300, 0, 0, 0);
    XReparentWindow(probe, b->windowId, frame, 5, 20);
    XSync(probe, False);
    ASSERT_EQ(WindowFind("Efis Skyvane Demo", &id), WINDOW_OK);
    EXPECT_EQ(id, b->windowId);
    XCloseDisplay(probe);
}

TEST_F(WindowTest, MovesRelativeToAReferenceAndRaises) {
    auto form = Open("Bezel");
    auto disp = Open("Velvix");
    ASSERT_TRUE(form && disp);
    ASSERT_EQ(WindowMove(form->windowId, 0, 100, 50, false), WINDOW_OK);
    int32_t x = 0, y = 0;
    ASSERT_EQ(WindowPosition(form->windowId, &x, &y), WINDOW_OK);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);

    // The display goes to the bezel's screen opening, below the bezel, then on top of it.
    Display* probe = XOpenDisplay(nullptr);
    ASSERT_NE(probe, nullptr);
    XLowerWindow(probe, disp->windowId);
    XSync(probe, False);
    ASSERT_EQ(WindowMove(disp->windowId, form->windowId, 78, 22, false), WINDOW_OK);
    ASSERT_EQ(WindowPosition(disp->windowId, &x, &y), WINDOW_OK);
    EXPECT_EQ(x, 178);
    EXPECT_EQ(y, 72);
    EXPECT_EQ(TopmostWindow(probe), form->windowId);
    ASSERT_EQ(WindowMove(disp->windowId, form->windowId, 78, 22, true), WINDOW_OK);
    EXPECT_EQ(TopmostWindow(probe), disp->windowId);
    XWindowAttributes attr;
    ASSERT_TRUE(XGetWindowAttributes(probe, disp->windowId, &attr));
    EXPECT_EQ(attr.width, 200);  // size kept
    XCloseDisplay(probe);
}

TEST_F(WindowTest, VanishedWindowGivesErrorCodes) {
    auto form = Open("Bezel");
    auto disp = Open("Velvix");
    ASSERT_TRUE(form && disp);
    const TWindowId id = disp->windowId, formId = form->windowId;
    EXPECT_EQ(WindowExists(id), 1);
    EXPECT_EQ(WindowExists(0), 0);
    disp.reset();  // the display program closes its window

    auto capture = std::make_unique<TTraceCapture>();
    EXPECT_EQ(WindowExists(id), 0);
    EXPECT_EQ(WindowSendChar(id, '2'), WINDOW_ERR_GONE);
    EXPECT_EQ(WindowSendClose(id), WINDOW_ERR_GONE);
    EXPECT_EQ(WindowMove(id, 0, 10, 10, true), WINDOW_ERR_GONE);
    int32_t x, y;
    EXPECT_EQ(WindowPosition(id, &x, &y), WINDOW_ERR_GONE);
    TWindowId found;
    EXPECT_EQ(WindowFind("Velvix", &found), WINDOW_ERR_NOT_FOUND);
    form.reset();
    EXPECT_EQ(WindowMove(id, formId, 78, 22, false), WINDOW_ERR_GONE);  // reference gone too
    capture.reset();
    EXPECT_EQ(Traced, "");  // trapped errors are answers, not reports
}

// The watch: nothing to ask again while nothing changes (without a manager only the focus),
// then each kind of change once the server has told it.
TEST_F(WindowTest, WatchTellsWhatChanged) {
    auto form = Open("Bezel");
    auto disp = Open("Velvix");
    ASSERT_TRUE(form && disp);
    EXPECT_EQ(WindowSeen(), WINDOW_SEEN_ALL);  // nothing watched yet
    ASSERT_EQ(WindowWatch(disp->windowId), WINDOW_OK);
    int seen = 0;
    auto saw = [&](int what) {
        for (int i = 0; i < 200 && (seen = WindowSeen()) != what && (what == WINDOW_SEEN_FOREGROUND || !(seen & what)); ++i)
            usleep(10000);
        return what == WINDOW_SEEN_FOREGROUND ? seen == what : (seen & what) != 0;
    };
    EXPECT_TRUE(saw(WINDOW_SEEN_FOREGROUND)) << seen;
    EXPECT_EQ(WindowSeen(), WINDOW_SEEN_FOREGROUND);
    ASSERT_EQ(WindowMove(form->windowId, 0, 30, 40, true), WINDOW_OK);
    // The move's own reply brought its event along: gathered without reading, not yet taken.
    EXPECT_TRUE(WindowGather(false) & WINDOW_SEEN_ORDER);
    EXPECT_TRUE(saw(WINDOW_SEEN_ORDER)) << seen;
    EXPECT_TRUE(saw(WINDOW_SEEN_FOREGROUND)) << seen;
    auto other = Open("Other");
    EXPECT_TRUE(saw(WINDOW_SEEN_WINDOWS)) << "a new window " << seen;
    EXPECT_TRUE(saw(WINDOW_SEEN_FOREGROUND)) << seen;
    disp.reset();
    EXPECT_TRUE(saw(WINDOW_SEEN_WINDOWS)) << "the watched window ended " << seen;
}
