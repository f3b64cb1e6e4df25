#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool, Status) clash with gtest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "bmpfile.h"
#include "display.h"
#include "file_io.h"
#include "hkutils.h"
#include "trace_capture.h"
#include "window.h"
#include "x11probe.h"

namespace {

// A fresh temporary directory, removed with its files at the end.
struct TTempDir {
    std::string path;
    TTempDir() {
        char tmpl[] = "/tmp/display_test.XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TTempDir() { (void)system(("rm -rf '" + path + "'").c_str()); }
};

uint32_t LE32(const std::string& s, size_t at) {
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
           static_cast<uint8_t>(s[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

// The pixel (x, y) of a bottom-up 24-bit BMP image, as 0x00RRGGBB.
uint32_t BmpPixel(const std::string& s, int32_t x, int32_t y) {
    const int32_t w = static_cast<int32_t>(LE32(s, 18)), h = static_cast<int32_t>(LE32(s, 22));
    const size_t at = LE32(s, 10) + BmpRowBytes(w) * static_cast<size_t>(h - 1 - y) + 3 * x;
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
           static_cast<uint8_t>(s[at + 2]) << 16;
}

// Environment for one test: the display variables are set or cleared as asked.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DASHVIEW_KEYS");
        unsetenv("DASHVIEW_SNAPSHOT");
        setenv("DASHVIEW_HEADLESS", "1", 1);
        DisplayClearEvents();
    }
    std::unique_ptr<TDisplay> Open(int32_t w = 64, int32_t h = 48) {
        std::unique_ptr<TDisplay> d;
        EXPECT_EQ(DisplayOpen("Velvix", "myExe", w, h, &d), DISPLAY_OK);
        return d;
    }
};

}  // namespace

TEST_F(HeadlessTest, ChoosesBackendFromEnvironment) {
    unsetenv("DASHVIEW_HEADLESS");
    unsetenv("DISPLAY");
    EXPECT_EQ(DisplayChooseBackend(), DisplayBackendHeadless);
    setenv("DISPLAY", ":77", 1);
    EXPECT_EQ(DisplayChooseBackend(), DisplayBackendX11);
    setenv("DASHVIEW_HEADLESS", "1", 1);
    EXPECT_EQ(DisplayChooseBackend(), DisplayBackendHeadless);
    setenv("DASHVIEW_HEADLESS", "0", 1);
    EXPECT_EQ(DisplayChooseBackend(), DisplayBackendX11);
}

TEST_F(HeadlessTest, RejectsBadSizes) {
    std::unique_ptr<TDisplay> d;
    EXPECT_EQ(DisplayOpen("Velvix", "myExe", 0, 10, &d), DISPLAY_ERR_ARGS);
    EXPECT_EQ(DisplayOpen("Velvix", "myExe", 10, -1, &d), DISPLAY_ERR_ARGS);
    EXPECT_EQ(DisplayOpen("Velvix", "myExe", DisplayMaxSide + 1, 10, &d), DISPLAY_ERR_ARGS);
    EXPECT_EQ(d, nullptr);
}

TEST_F(HeadlessTest, PresentRecordsClippedRectangles) {
    auto d = Open(64, 48);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->backend, DisplayBackendHeadless);
    EXPECT_EQ(d->pitch, 64);
    EXPECT_EQ(d->windowId, 0u);
    EXPECT_EQ(d->pixels[0], 0u);
    EXPECT_EQ(d->pixels[64 * 48 - 1], 0u);
    const TDisplayRect rects[] = {
        {1, 2, 3, 4},           // inside
        {-5, -5, 10, 10},       // clipped at the top left
        {60, 40, 100, 100},     // clipped at the bottom right
        {64, 0, 5, 5},          // outside
        {0, 0, 0, 5},           // empty
        {10, 10, -3, 4},        // negative width
        {INT32_MAX - 1, 0, INT32_MAX, 1},  // would overflow
    };
    EXPECT_EQ(d->Present(rects, 7), DISPLAY_OK);
    std::vector<TDisplayRect> got;
    ASSERT_EQ(DisplayTakeUpdates(d.get(), &got), 3);
    EXPECT_EQ(got[0].x, 1);
    EXPECT_EQ(got[0].h, 4);
    EXPECT_EQ(got[1].x, 0);
    EXPECT_EQ(got[1].w, 5);
    EXPECT_EQ(got[1].h, 5);
    EXPECT_EQ(got[2].w, 4);
    EXPECT_EQ(got[2].h, 8);
    EXPECT_EQ(DisplayTakeUpdates(d.get(), &got), 0);
    EXPECT_EQ(d->Present(nullptr, 1), DISPLAY_ERR_ARGS);
    // Only the newest rectangles are kept when nobody takes them.
    for (size_t i = 0; i < DisplayUpdateLimit + 10; ++i) d->Present(rects, 1);
    EXPECT_EQ(DisplayTakeUpdates(d.get(), &got), static_cast<int>(DisplayUpdateLimit));
}

TEST_F(HeadlessTest, QueuedEventsFromAnotherThread) {
    auto d = Open();
    TDisplayEvent ev;
    EXPECT_EQ(d->Poll(&ev), 0);
    EXPECT_EQ(ev.type, DisplayEventNone);
    std::thread pusher([] {
        for (int c = '0'; c <= '5'; ++c) DisplayPushEvent({DisplayEventChar, c, 0});
        DisplayPushEvent({DisplayEventQuit, 0, 0});
    });
    pusher.join();
    for (int c = '0'; c <= '5'; ++c) {
        ASSERT_EQ(d->Poll(&ev), 1);
        EXPECT_EQ(ev.type, DisplayEventChar);
        EXPECT_EQ(ev.code, c);
    }
    ASSERT_EQ(d->Poll(&ev), 1);
    EXPECT_EQ(ev.type, DisplayEventQuit);
    EXPECT_EQ(d->Poll(&ev), 0);
    EXPECT_EQ(d->Poll(nullptr), DISPLAY_ERR_ARGS);
}

// A pause for input ends as soon as a key is queued or another thread wakes it;
// with nothing to wait for it runs out.
TEST_F(HeadlessTest, WaitEndsForAKeyOrAWake) {
    auto d = Open();
    const struct {
        const char* what;
        void (*from)();
        int32_t timeoutMs;
        int waited;
        int polled;
    } rows[] = {
        {"key from another thread", [] { DisplayPushEvent({DisplayEventChar, 'n', 0}); }, 60000, 1, 1},
        {"wake from another thread", [] { DisplayWake(); }, 60000, 1, 0},
        {"nothing", nullptr, 1, 0, 0},
    };
    for (const auto& row : rows) {
        d->Wait(0);  // a wake left by an earlier push
        std::thread other(row.from ? row.from : [] {});
        EXPECT_EQ(d->Wait(row.timeoutMs), row.waited) << row.what;
        other.join();
        TDisplayEvent ev;
        EXPECT_EQ(d->Poll(&ev), row.polled) << row.what;
    }
    // A key already queued ends the pause before it starts.
    DisplayPushEvent({DisplayEventChar, 'b', 0});
    EXPECT_EQ(d->Wait(60000), 1);
}

TEST_F(HeadlessTest, ScriptedKeysFromFile) {
    TTempDir dir;
    const std::string file = dir.path + "/keys.txt";
    std::ofstream(file) << "# bench keys\r\n2\n  char 13  \n\nalt x\nkey Left\nkey F12\nkey Delete\n#\n"
                           "wait 0\nquit\nwait 600000\nn\n";
    setenv("DASHVIEW_KEYS", file.c_str(), 1);
    auto d = Open();
    ASSERT_TRUE(d);
    DisplayPushEvent({DisplayEventChar, 'b', 0});  // the queue comes first
    const TDisplayEvent want[] = {
        {DisplayEventChar, 'b', 0},
        {DisplayEventChar, '2', 0},
        {DisplayEventChar, 13, 0},
        {DisplayEventChar, 'x', DisplayModAlt},
        {DisplayEventKey, DisplayKeyLeft, 0},
        {DisplayEventKey, DisplayKeyF12, 0},
        {DisplayEventKey, DisplayKeyDelete, 0},
        {DisplayEventChar, '#', 0},
        {DisplayEventQuit, 0, 0},
    };
    for (const auto& w : want) {
        TDisplayEvent ev;
        ASSERT_EQ(d->Poll(&ev), 1);
        EXPECT_EQ(ev.type, w.type);
        EXPECT_EQ(ev.code, w.code);
        EXPECT_EQ(ev.modifiers, w.modifiers);
    }
    TDisplayEvent ev;
    EXPECT_EQ(d->Poll(&ev), 0);  // held back by the long wait
    EXPECT_EQ(d->Poll(&ev), 0);
    DisplayPushEvent({DisplayEventChar, 'w', 0});  // the queue is not held back
    ASSERT_EQ(d->Poll(&ev), 1);
    EXPECT_EQ(ev.code, 'w');
}

TEST_F(HeadlessTest, BadKeyScripts) {
    const struct {
        const char* text;
        int32_t line;
    } bad[] = {
        {"char 0\n", 1}, {"1\nchar 256\n", 2}, {"char 1x\n", 1}, {"key F13\n", 1},
        {"key left\n", 1}, {"wait -1\n", 1}, {"wait 99999999999\n", 1}, {"alt xy\n", 1},
        {"quit now\n", 1}, {"ab\n", 1}, {"\n\n  bogus", 3},
    };
    for (const auto& b : bad) {
        std::vector<TDisplayScriptItem> items;
        int32_t line = 0;
        EXPECT_EQ(DisplayParseKeys(b.text, strlen(b.text), &items, &line), DISPLAY_ERR_KEYS_FILE) << b.text;
        EXPECT_EQ(line, b.line) << b.text;
        EXPECT_TRUE(items.empty());
    }
    std::vector<TDisplayScriptItem> items;
    EXPECT_EQ(DisplayParseKeys("", 0, &items, nullptr), DISPLAY_OK);
    const char nul[] = {'a', '\n', '\0', '\n'};  // a NUL byte is no character
    int32_t line = 0;
    EXPECT_EQ(DisplayParseKeys(nul, sizeof nul, &items, &line), DISPLAY_ERR_KEYS_FILE);
    EXPECT_EQ(line, 2);

    // A missing or malformed file stops the open with a clear code.
    TTempDir dir;
    TTraceCapture capture;
    setenv("DASHVIEW_KEYS", (dir.path + "/missing").c_str(), 1);
    std::unique_ptr<TDisplay> d;
    EXPECT_EQ(DisplayOpen("Velvix", "myExe", 8, 8, &d), DISPLAY_ERR_KEYS_FILE);
    std::ofstream(dir.path + "/bad") << "key Nowhere\n";
    setenv("DASHVIEW_KEYS", (dir.path + "/bad").c_str(), 1);
    EXPECT_EQ(DisplayOpen("Velvix", "myExe", 8, 8, &d), DISPLAY_ERR_KEYS_FILE);
    EXPECT_NE(Traced.find("bad: line 1 not understood"), std::string::npos) << Traced;
    setenv("DASHVIEW_KEYS", dir.path.c_str(), 1);  // a directory
    EXPECT_EQ(DisplayOpen("Velvix", "myExe", 8, 8, &d), DISPLAY_ERR_KEYS_FILE);
    EXPECT_EQ(d, nullptr);
}

TEST(Bmp, ByteLayout) {
    // 3 x 2 with a stride of 4: rows of 9 bytes padded to 12, stored bottom-up as B, G, R.
    const uint32_t px[] = {0x112233, 0x445566, 0x778899, 0xDEADBEEF,
                           0xAABBCC, 0xDDEEFF, 0x010203, 0xDEADBEEF};
    std::vector<uint8_t> out;
    ASSERT_EQ(BmpEncode24(px, 3, 2, 4, &out), BMP_OK);
    const std::string s(out.begin(), out.end());
    ASSERT_EQ(s.size(), 78u);
    EXPECT_EQ(s.substr(0, 2), "BM");
    EXPECT_EQ(LE32(s, 2), 78u);   // file size
    EXPECT_EQ(LE32(s, 6), 0u);    // reserved
    EXPECT_EQ(LE32(s, 10), 54u);  // pixel offset
    EXPECT_EQ(LE32(s, 14), 40u);  // info header size
    EXPECT_EQ(LE32(s, 18), 3u);
    EXPECT_EQ(LE32(s, 22), 2u);   // positive: bottom-up
    EXPECT_EQ(LE32(s, 26), 1u | 24u << 16);  // planes, bits per pixel
    EXPECT_EQ(LE32(s, 30), 0u);   // no compression
    EXPECT_EQ(LE32(s, 34), 24u);  // image size
    EXPECT_EQ(LE32(s, 46), 0u);   // colours used
    const uint8_t rows[24] = {0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01, 0, 0, 0,
                              0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0};
    EXPECT_EQ(memcmp(out.data() + 54, rows, sizeof rows), 0);
    EXPECT_EQ(BmpPixel(s, 2, 1), 0x010203u);

    EXPECT_EQ(BmpRowBytes(4), 12u);  // already aligned: no padding
    EXPECT_EQ(BmpRowBytes(1), 4u);
    EXPECT_EQ(BmpEncode24(px, 3, 2, 2, &out), BMP_ERR_ARGS);  // stride shorter than a row
    EXPECT_EQ(BmpEncode24(nullptr, 3, 2, 3, &out), BMP_ERR_ARGS);
    EXPECT_EQ(BmpEncode24(px, 0, 2, 3, &out), BMP_ERR_ARGS);
}

TEST(Bmp, WriteFailuresAreReported) {
    const uint32_t px[4] = {1, 2, 3, 4};
    EXPECT_EQ(BmpWrite24("/nonexistent-dir/x.bmp", px, 2, 2, 2), BMP_ERR_OPEN);
    struct stat st;
    if (stat("/dev/full", &st) == 0) {
        EXPECT_EQ(BmpWrite24("/dev/full", px, 2, 2, 2), BMP_ERR_WRITE);
        EXPECT_EQ(stat("/dev/full", &st), 0);  // the device is never removed
    }
    TTempDir dir;
    const std::string ok = dir.path + "/ok.bmp";
    EXPECT_EQ(BmpWrite24(ok.c_str(), px, 2, 2, 2), BMP_OK);
    EXPECT_EQ(FileText(ok).size(), 54u + 16u);
}

TEST_F(HeadlessTest, SnapshotsOfPresentedFrames) {
    TTempDir dir;
    setenv("DASHVIEW_SNAPSHOT", dir.path.c_str(), 1);
    {
        auto d = Open(40, 30);
        ASSERT_TRUE(d);
        TDisplayEvent ev;
        EXPECT_EQ(d->Poll(&ev), 0);  // nothing presented: no file
        struct stat st;
        EXPECT_NE(stat((dir.path + "/frame00000.bmp").c_str(), &st), 0);

        d->pixels[5 * d->pitch + 7] = 0x00FF8000;
        const TDisplayRect r = {7, 5, 1, 1};
        d->Present(&r, 1);
        d->Present(&r, 1);  // one frame however many rectangles
        EXPECT_EQ(d->Poll(&ev), 0);
        const std::string f0 = FileText(dir.path + "/frame00000.bmp");
        ASSERT_EQ(f0.size(), 54u + 120u * 30u);
        EXPECT_EQ(BmpPixel(f0, 7, 5), 0xFF8000u);
        EXPECT_EQ(BmpPixel(f0, 0, 0), 0u);
        EXPECT_EQ(BmpPixel(f0, 39, 29), 0u);

        d->pixels[29 * d->pitch + 39] = 0x0000FF;
        d->Present(&r, 1);
        // Closing writes the frame that no poll has taken yet.
    }
    const std::string f1 = FileText(dir.path + "/frame00001.bmp");
    ASSERT_FALSE(f1.empty());
    EXPECT_EQ(BmpPixel(f1, 39, 29), 0x0000FFu);
    EXPECT_EQ(BmpPixel(f1, 7, 5), 0xFF8000u);
}

TEST_F(HeadlessTest, SnapshotFailureIsReported) {
    TTempDir dir;
    setenv("DASHVIEW_SNAPSHOT", (dir.path + "/missing").c_str(), 1);
    auto d = Open(8, 8);
    const TDisplayRect r = {0, 0, 8, 8};
    d->Present(&r, 1);
    DisplayPushEvent({DisplayEventChar, 'n', 0});
    TDisplayEvent ev;
    TTraceCapture capture;
    EXPECT_EQ(d->Poll(&ev), DISPLAY_ERR_SNAPSHOT);
    EXPECT_NE(Traced.find("frame00000.bmp not written"), std::string::npos) << Traced;
    ASSERT_EQ(d->Poll(&ev), 1);  // the event waited for the next poll
    EXPECT_EQ(ev.code, 'n');
}

// ---- x11 back end under a private X server ----

namespace {

class X11Test : public X11ProbeTest {
protected:
    std::unique_ptr<TDisplay> Open(int32_t w = 320, int32_t h = 200) {
        std::unique_ptr<TDisplay> d;
        EXPECT_EQ(DisplayOpen("Velvix", "myExe", w, h, &d), DISPLAY_OK);
        return d;
    }
};

}  // namespace

TEST_F(X11Test, NoServerIsAClearError) {
    setenv("DISPLAY", ":65000", 1);
    std::unique_ptr<TDisplay> d;
    TTraceCapture capture;
    EXPECT_EQ(DisplayOpen("Velvix", "myExe", 64, 64, &d), DISPLAY_ERR_NO_SERVER);
    EXPECT_NE(Traced.find("can't open X display \":65000\""), std::string::npos) << Traced;
    EXPECT_EQ(d, nullptr);
}

TEST_F(X11Test, WindowHasCaptionClassAndNoDecorations) {
    auto d = Open();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->backend, DisplayBackendX11);
    const Window w = d->windowId;
    char* name = nullptr;
    ASSERT_TRUE(XFetchName(probe, w, &name));
    EXPECT_STREQ(name, "Velvix");
    XFree(name);
    XClassHint hint;
    ASSERT_TRUE(XGetClassHint(probe, w, &hint));
    EXPECT_STREQ(hint.res_class, "myExe");
    XFree(hint.res_name);
    XFree(hint.res_class);
    XWindowAttributes attr;
    ASSERT_TRUE(XGetWindowAttributes(probe, w, &attr));
    EXPECT_EQ(attr.width, 320);
    EXPECT_EQ(attr.height, 200);
    EXPECT_EQ(attr.map_state, IsViewable);

    const Atom motif = XInternAtom(probe, "_MOTIF_WM_HINTS", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(probe, w, motif, 0, 5, False, AnyPropertyType, &type, &format,
                                 &count, &after, &data),
              Success);
    ASSERT_EQ(count, 5u);
    const long* hints = reinterpret_cast<const long*>(data);
    EXPECT_EQ(hints[0] & 2, 2);  // decorations given
    EXPECT_EQ(hints[2], 0);      // and none
    XFree(data);
}

TEST_F(X11Test, PresentShowsOnlyTheGivenRectangles) {
    auto d = Open();
    ASSERT_TRUE(d);
    for (int32_t y = 0; y < d->height; ++y)
        for (int32_t x = 0; x < d->width; ++x) d->pixels[y * d->pitch + x] = 0x00204080;
    const TDisplayRect r = {10, 20, 30, 40};
    ASSERT_EQ(d->Present(&r, 1), DISPLAY_OK);
    const Window w = d->windowId;
    EXPECT_EQ(PixelAt(w, 10, 20), 0x204080u);
    EXPECT_EQ(PixelAt(w, 39, 59), 0x204080u);
    EXPECT_EQ(PixelAt(w, 40, 59), 0u);  // outside: still black
    EXPECT_EQ(PixelAt(w, 9, 20), 0u);
    d->pixels[199 * d->pitch + 319] = 0x00FF0000;
    const TDisplayRect all = {-10, -10, 1000, 1000};
    ASSERT_EQ(d->Present(&all, 1), DISPLAY_OK);
    EXPECT_EQ(PixelAt(w, 319, 199), 0xFF0000u);
    EXPECT_EQ(PixelAt(w, 0, 0), 0x204080u);
}

TEST_F(X11Test, ExposeRepaintsFromTheFrameBuffer) {
    auto d = Open();
    ASSERT_TRUE(d);
    const Window w = d->windowId;
    // Cover the window, change the frame buffer without presenting, uncover it.
    Window cover = XCreateSimpleWindow(probe, DefaultRootWindow(probe), 0, 0, 100, 100, 0, 0, 0xFFFFFF);
    XSetWindowAttributes attr;
    attr.override_redirect = True;
    XChangeWindowAttributes(probe, cover, CWOverrideRedirect, &attr);
    XMapRaised(probe, cover);
    XSync(probe, False);
    d->pixels[50 * d->pitch + 50] = 0x00336699;
    XUnmapWindow(probe, cover);
    XSync(probe, False);
    TDisplayEvent ev;
    uint32_t seen = 0;
    for (int i = 0; i < 200 && seen != 0x336699u; ++i) {
        EXPECT_EQ(d->Poll(&ev), 0);
        seen = PixelAt(w, 50, 50);
        if (seen != 0x336699u) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(seen, 0x336699u);
    XDestroyWindow(probe, cover);
}

TEST_F(X11Test, BenchCharactersAndCloseArriveAsEvents) {
    auto d = Open();
    ASSERT_TRUE(d);
    TWindowId id = 0;
    ASSERT_EQ(WindowFind("Velvix", &id), WINDOW_OK);
    EXPECT_EQ(id, d->windowId);
    for (int c : {int('0'), int('a'), int('O'), 0xB0}) {
        ASSERT_EQ(WindowSendChar(id, c), WINDOW_OK);
        TDisplayEvent ev;
        ASSERT_TRUE(PollEvent(d.get(), &ev));
        EXPECT_EQ(ev.type, DisplayEventChar);
        EXPECT_EQ(ev.code, c);
        EXPECT_EQ(ev.modifiers, 0);
    }
    EXPECT_EQ(WindowSendChar(id, 0), WINDOW_ERR_ARGS);
    EXPECT_EQ(WindowSendChar(id, 256), WINDOW_ERR_ARGS);

    // Anyone may send the message: a value out of range is dropped.
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = id;
    ev.xclient.message_type = XInternAtom(probe, WindowCharAtomName, False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1000;
    XSendEvent(probe, id, False, NoEventMask, &ev);
    XSync(probe, False);

    ASSERT_EQ(WindowSendClose(id), WINDOW_OK);
    TDisplayEvent got;
    ASSERT_TRUE(PollEvent(d.get(), &got));
    EXPECT_EQ(got.type, DisplayEventQuit);  // the bad message gave nothing before it
}

// A character sent while the display pauses ends the pause, also right after a
// pause that ran out and let the next poll skip reading the connection.
TEST_F(X11Test, WaitEndsForABenchCharacter) {
    auto d = Open();
    ASSERT_TRUE(d);
    TDisplayEvent ev;
    while (d->Poll(&ev) == 1) {
    }
    d->Wait(0);  // a wake left by an earlier test
    EXPECT_EQ(d->Wait(1), 0);
    EXPECT_EQ(d->Poll(&ev), 0);
    for (int c : {int('1'), int('w')}) {
        ASSERT_EQ(WindowSendChar(d->windowId, c), WINDOW_OK);
        int got = 0;
        for (int i = 0; i < 10 && got != 1; ++i) {
            EXPECT_EQ(d->Wait(60000), 1);
            got = d->Poll(&ev);
        }
        ASSERT_EQ(got, 1);
        EXPECT_EQ(ev.code, c);
    }
    std::thread waker([] { DisplayWake(); });
    EXPECT_EQ(d->Wait(60000), 1);
    waker.join();
}

TEST_F(X11Test, TypedKeysBecomeCharactersOrExtendedKeys) {
    auto d = Open();
    ASSERT_TRUE(d);
    const Window w = d->windowId;
    const struct {
        KeySym sym;
        unsigned int state;
        TDisplayEvent want;
    } keys[] = {
        {XK_Left, 0, {DisplayEventKey, DisplayKeyLeft, 0}},
        {XK_F12, 0, {DisplayEventKey, DisplayKeyF12, 0}},
        {XK_F1, ControlMask, {DisplayEventKey, DisplayKeyF1, DisplayModCtrl}},
        {XK_Next, 0, {DisplayEventKey, DisplayKeyPageDown, 0}},
        {XK_Delete, 0, {DisplayEventKey, DisplayKeyDelete, 0}},  // and no character 127
        {XK_x, Mod1Mask, {DisplayEventChar, 'x', DisplayModAlt}},
        {XK_a, ShiftMask, {DisplayEventChar, 'A', DisplayModShift}},
        {XK_Return, 0, {DisplayEventChar, 13, 0}},
        {XK_Shift_L, 0, {DisplayEventNone, 0, 0}},  // types nothing: skipped
        {XK_5, 0, {DisplayEventChar, '5', 0}},
    };
    for (const auto& k : keys) SendKey(w, k.sym, k.state);
    for (const auto& k : keys) {
        if (k.want.type == DisplayEventNone) continue;
        TDisplayEvent ev;
        ASSERT_TRUE(PollEvent(d.get(), &ev)) << k.sym;
        EXPECT_EQ(ev.type, k.want.type) << k.sym;
        EXPECT_EQ(ev.code, k.want.code) << k.sym;
        EXPECT_EQ(ev.modifiers, k.want.modifiers) << k.sym;
    }
    TDisplayEvent ev;
    EXPECT_EQ(d->Poll(&ev), 0);
}

TEST_F(X11Test, WindowDestroyedByAnotherClientIsQuit) {
    auto d = Open();
    ASSERT_TRUE(d);
    XDestroyWindow(probe, d->windowId);
    XSync(probe, False);
    TDisplayEvent ev;
    ASSERT_TRUE(PollEvent(d.get(), &ev));
    EXPECT_EQ(ev.type, DisplayEventQuit);
    const TDisplayRect r = {0, 0, 10, 10};
    EXPECT_EQ(d->Present(&r, 1), DISPLAY_ERR_WINDOW);
}

// A 16-bit screen without shared memory: pixels are converted and sent through the socket.
TEST(X11Convert, SixteenBitScreenWithoutSharedMemory) {
    if (!TXvfb::Installed()) TOOL_MISSING() << "Xvfb is not installed";
    TXvfb server;
    ASSERT_TRUE(server.Start("640x480x16", {"-extension", "MIT-SHM"})) << server.error;
    setenv("DISPLAY", server.display.c_str(), 1);
    unsetenv("DASHVIEW_HEADLESS");
    std::unique_ptr<TDisplay> d;
    ASSERT_EQ(DisplayOpen("Velvix", "myExe", 100, 80, &d), DISPLAY_OK);
    d->pixels[0] = 0x00FF0000;
    d->pixels[1] = 0x0000FF00;
    d->pixels[2] = 0x000000FF;
    d->pixels[79 * d->pitch + 99] = 0x00FFFFFF;
    const TDisplayRect all = {0, 0, 100, 80};
    ASSERT_EQ(d->Present(&all, 1), DISPLAY_OK);
    Display* probe = XOpenDisplay(nullptr);
    ASSERT_NE(probe, nullptr);
    XImage* img = XGetImage(probe, d->windowId, 0, 0, 100, 80, AllPlanes, ZPixmap);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(XGetPixel(img, 0, 0), 0xF800u);
    EXPECT_EQ(XGetPixel(img, 1, 0), 0x07E0u);
    EXPECT_EQ(XGetPixel(img, 2, 0), 0x001Fu);
    EXPECT_EQ(XGetPixel(img, 3, 0), 0u);
    EXPECT_EQ(XGetPixel(img, 99, 79), 0xFFFFu);
    XDestroyImage(img);
    XCloseDisplay(probe);
}
