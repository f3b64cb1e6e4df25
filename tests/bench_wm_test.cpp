// benchdesk and dashview on a desktop: under a window manager and without one, the display
// window stays above the bezel whatever the user clicks (real pointer and key input through
// the X test extension), the screen opening shows the page, and a signal closes the pair as
// closing the bezel does. Also: the console of the pair stays free of value dumps unless asked.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "config_check.h"
#include "config_tempdir.h"
#include "file_io.h"
#include "headless_run.h"
#include "process.h"
#include "trace.h"
#include "Unit1.h"
#include "xvfb.h"
// Xlib after the rest: its macros (None, Bool, Status) clash with other names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

const char WindowManager[] = "openbox";  // installed by scripts/install-deps for these tests

bool Installed(const std::string& program) {
    return system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A child process started with posix_spawnp, ended (SIGTERM) with the object.
class TChild {
public:
    pid_t pid = 0;
    bool Start(std::vector<std::string> args) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) pid = 0;
        return rc == 0;
    }
    ~TChild() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
};

// benchdesk with the real dashview, in a folder of the test's own with the generated data;
// its console (standard output) in output.txt there.
class TPair {
public:
    ConfigTempDir dir;
    const std::string shm = "/HKMeasure-test-wm-" + std::to_string(getpid());
    HeadlessRun run{dir.Path()};

    bool Built() const { return HeadlessRun::Built("benchdesk") && HeadlessRun::Built(); }
    // `environment`: "NAME=value" words, blank-separated, added to the program's.
    int Start(const std::string& environment = "") {
        // A display program of an earlier pair that is still saving would be taken for ours.
        TWindowId earlier = 0;
        if (!WaitUntil([&] { return WindowFind(DisplayCaption, &earlier) == WINDOW_ERR_NOT_FOUND; })) return -2;
        run.apartErrors = true;
        run.Benchdesk(shm);
        std::istringstream words(environment);
        for (std::string w; words >> w;) run.env.push_back(w);
        return run.Start() ? PROCESS_OK : -1;
    }
    ~TPair() {
        if (run.pid > 0) run.Wait(0);
        TWindowId display = 0;
        if (WindowFind(DisplayCaption, &display) == WINDOW_OK) WindowSendClose(display);
        // The display program saves into the folder before its window goes: only then may
        // the folder be removed.
        WaitUntil([&] { return WindowFind(DisplayCaption, &display) != WINDOW_OK; });
        usleep(200000);
        shm_unlink(shm.c_str());
    }
    std::string Path(const char* name) const { return dir.Path() + "/" + name; }
    // Within 5 s benchdesk ended (its code in run.code) and dashview left the block, its last act.
    bool BothEnd() { return WaitUntil([&] { return (run.pid == 0 || run.Ended()) && !HeadlessRun::BlockExists(shm); }, 5000); }
    // A marker file written now, and whether a file was written after it.
    void Mark() { WriteTextFile(Path("mark"), ""); }
    bool WrittenSinceMark(const char* name) const {
        struct stat m, f;
        return stat(Path("mark").c_str(), &m) == 0 && stat(Path(name).c_str(), &f) == 0 &&
               std::make_pair(f.st_mtim.tv_sec, f.st_mtim.tv_nsec) >= std::make_pair(m.st_mtim.tv_sec, m.st_mtim.tv_nsec);
    }
    // Started, both windows up and the bezel's position known.
    TWindowId form = 0, display = 0;
    int32_t fx = 0, fy = 0;
    bool StartUp() { return Start() == PROCESS_OK && Up(&form, &display) && WindowPosition(form, &fx, &fy) == WINDOW_OK; }
    // Both windows found, the display placed over the opening.
    bool Up(TWindowId* form, TWindowId* display) {
        return WaitUntil([&] {
            int32_t fx = 0, fy = 0, dx = 0, dy = 0;
            return WindowFind(FormCaption, form) == WINDOW_OK && WindowFind(DisplayCaption, display) == WINDOW_OK &&
                   WindowPosition(*form, &fx, &fy) == WINDOW_OK && WindowPosition(*display, &dx, &dy) == WINDOW_OK &&
                   dx == fx + DisplayOffsetX && dy == fy + DisplayOffsetY;
        });
    }
};

class DesktopTest : public ::testing::TestWithParam<bool> {
protected:
    TXvfb server;
    TChild manager;
    Display* probe = nullptr;

    void SetUp() override {
        if (!TXvfb::Installed()) TOOL_MISSING() << "Xvfb is not installed";
        if (GetParam() && !Installed(WindowManager)) TOOL_MISSING() << WindowManager << " is not installed";
        ASSERT_TRUE(server.Start("1280x1024x24")) << server.error;
        setenv("DISPLAY", server.display.c_str(), 1);
        unsetenv("DASHVIEW_HEADLESS");
        probe = XOpenDisplay(nullptr);
        ASSERT_NE(probe, nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(probe, &event, &error, &major, &minor));
        if (GetParam()) {
            ASSERT_TRUE(manager.Start({WindowManager, "--sm-disable"}));
            ASSERT_TRUE(WaitUntil([] { return WindowManagerRunning() == 1; }));
            ASSERT_TRUE(ManagerTakesWindows());
        } else {
            EXPECT_EQ(WindowManagerRunning(), 0);
        }
    }
    void TearDown() override {
        WindowCloseLink();
        if (probe) XCloseDisplay(probe);
    }

    // The manager announces itself before it has finished starting, and maps that arrive
    // meanwhile may be lost: a window of ours is mapped until the manager frames it.
    bool ManagerTakesWindows() {
        const Window w = XCreateSimpleWindow(probe, DefaultRootWindow(probe), 0, 0, 50, 50, 0, 0, 0);
        bool framed = false;
        for (int attempt = 0; attempt < 20 && !framed; ++attempt) {
            XMapWindow(probe, w);
            XSync(probe, False);
            for (int i = 0; i < 25 && !framed; ++i) {
                usleep(20000);
                Window root, parent, *children = nullptr;
                unsigned int count = 0;
                if (XQueryTree(probe, w, &root, &parent, &children, &count)) framed = parent != root;
                if (children) XFree(children);
            }
            if (!framed) XUnmapWindow(probe, w);
        }
        XDestroyWindow(probe, w);
        XSync(probe, False);
        return framed;
    }

    void Pointer(int x, int y) {
        XTestFakeMotionEvent(probe, -1, x, y, CurrentTime);
        XSync(probe, False);
    }
    void Click(int x, int y, unsigned int button = Button1) {
        Pointer(x, y);
        XTestFakeButtonEvent(probe, button, True, CurrentTime);
        XSync(probe, False);
        usleep(30000);
        XTestFakeButtonEvent(probe, button, False, CurrentTime);
        XSync(probe, False);
    }
    void Key(KeySym sym) {
        const KeyCode code = XKeysymToKeycode(probe, sym);
        XTestFakeKeyEvent(probe, code, True, CurrentTime);
        XTestFakeKeyEvent(probe, code, False, CurrentTime);
        XSync(probe, False);
        usleep(80000);
    }

    // The share of probed points of the page's area that show the bezel's own glass colour:
    // near 1 when the bezel covers the display, small when the page shows.
    double GlassShare(int32_t formX, int32_t formY) {
        const int x0 = formX + DisplayOffsetX, y0 = formY + DisplayOffsetY + DisplayPageTop;
        XImage* img = XGetImage(probe, DefaultRootWindow(probe), x0, y0, DisplayWindowWidth, DisplayPageHeight,
                                AllPlanes, ZPixmap);
        if (!img) return 1;
        int glass = 0, all = 0;
        for (int y = 4; y < DisplayPageHeight; y += 16)
            for (int x = 4; x < DisplayWindowWidth; x += 16, ++all)
                if ((XGetPixel(img, x, y) & 0xFFFFFF) == 0x0A0B0E) ++glass;  // gen_bezel's glass
        XDestroyImage(img);
        return static_cast<double>(glass) / all;
    }

    // The display over the bezel: in the stacking order, and on the screen.
    void ExpectDisplayOnTop(TWindowId form, TWindowId display, const std::string& after) {
        EXPECT_TRUE(WaitUntil([&] { return WindowIsAbove(display, form) == 1; })) << "stacking, after " << after;
        int32_t fx = 0, fy = 0;
        ASSERT_EQ(WindowPosition(form, &fx, &fy), WINDOW_OK);
        double share = 1;
        EXPECT_TRUE(WaitUntil([&] { return (share = GlassShare(fx, fy)) < 0.3; }))
            << "the opening shows the bezel's glass (" << share << "), after " << after;
    }
};

// The window layer's order requests on two plain windows: transient for the owner, kept above
// it, the foreground as the window manager or the focus tells it.
TEST_P(DesktopTest, WindowLayerKeepsOneWindowOverAnother) {
    auto make = [&](const char* name, int x) {
        const Window w = XCreateSimpleWindow(probe, DefaultRootWindow(probe), x, 100, 300, 200, 0, 0, 0x336699);
        XStoreName(probe, w, name);
        XMapWindow(probe, w);
        XSync(probe, False);
        return w;
    };
    const Window upper = make("h-upper", 100);
    const Window owner = make("h-owner", 200);  // mapped last: on top
    TWindowId found = 0;
    ASSERT_TRUE(WaitUntil([&] { return WindowFind("h-owner", &found) == WINDOW_OK && WindowIsAbove(upper, owner) == 0; }));
    if (GetParam()) {  // the manager gives the new window the focus: settled once it has
        TWindowId front = 0;
        ASSERT_TRUE(WaitUntil([&] { return WindowForeground(&front) == WINDOW_OK && front == owner; }));
    }

    EXPECT_EQ(WindowStackOver(upper, owner, false), WINDOW_OK);
    EXPECT_TRUE(WaitUntil([&] { return WindowIsAbove(upper, owner) == 1; }));
    Window transientFor = 0;
    EXPECT_TRUE(XGetTransientForHint(probe, upper, &transientFor));
    EXPECT_EQ(transientFor, owner);
    EXPECT_EQ(WindowKeepAbove(upper, owner), 0) << "already above";

    // The owner raised again: without a manager the next request restacks the other over it;
    // with one, the "above" state of a topmost window does.
    XRaiseWindow(probe, owner);
    XSync(probe, False);
    if (GetParam()) {
        usleep(200000);  // the manager's raise (its transient rule may already keep the other over)
        EXPECT_EQ(WindowStackOver(upper, owner, true), WINDOW_OK);
    } else {
        EXPECT_EQ(WindowIsAbove(upper, owner), 0);
        EXPECT_EQ(WindowKeepAbove(upper, owner), 1);
    }
    EXPECT_TRUE(WaitUntil([&] { return WindowIsAbove(upper, owner) == 1; }));

    // The foreground: the manager's active window, or the focus.
    if (GetParam()) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = owner;
        ev.xclient.message_type = XInternAtom(probe, "_NET_ACTIVE_WINDOW", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 2;
        XSendEvent(probe, DefaultRootWindow(probe), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    } else {
        XSetInputFocus(probe, owner, RevertToNone, CurrentTime);
    }
    XSync(probe, False);
    TWindowId front = 0;
    EXPECT_TRUE(WaitUntil([&] { return WindowForeground(&front) == WINDOW_OK && front == owner; })) << front;
    EXPECT_EQ(WindowIsAbove(upper, owner), 1) << "the owner in front, the other still over it";

    EXPECT_EQ(WindowKeepAbove(upper, upper), WINDOW_ERR_ARGS);
    EXPECT_EQ(WindowStackOver(0, owner, true), WINDOW_ERR_ARGS);
    XDestroyWindow(probe, upper);
    XSync(probe, False);
    EXPECT_EQ(WindowKeepAbove(upper, owner), WINDOW_ERR_GONE);
    EXPECT_EQ(WindowIsAbove(upper, owner), WINDOW_ERR_GONE);
}

TEST_P(DesktopTest, DisplayStaysAboveTheBezelWhateverIsClicked) {
    TPair pair;
    if (!pair.Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
    ASSERT_EQ(pair.Start(), PROCESS_OK);
    TWindowId form = 0, display = 0;
    ASSERT_TRUE(pair.Up(&form, &display));
    ExpectDisplayOnTop(form, display, "the start");

    int32_t fx = 0, fy = 0;
    ASSERT_EQ(WindowPosition(form, &fx, &fy), WINDOW_OK);
    for (int i = 0; i < 10; ++i) {
        const TBezelButton& b = BezelButtons[i];
        Click(fx + b.x + b.w / 2, fy + b.y + b.h / 2);
        ExpectDisplayOnTop(form, display, "a click on SpeedButton" + std::to_string(i + 1));
    }

    // The popup menu on the bezel's frame, by its keys: another item of the source submenu.
    Click(fx + 30, fy + 300, Button3);
    usleep(300000);
    Key(XK_Down);
    Key(XK_Right);
    Key(XK_Down);
    Key(XK_Down);
    Key(XK_Return);
    EXPECT_TRUE(WaitUntil([&] { return Count(pair.run.Output(), "Server exit\n") >= 1; })) << "the source changed";
    ExpectDisplayOnTop(form, display, "the popup menu");
    EXPECT_FALSE(pair.run.Ended()) << "still running";

    // Another client raises the bezel (as a click on its frame would): the display comes back.
    XRaiseWindow(probe, form);
    XSync(probe, False);
    ExpectDisplayOnTop(form, display, "raising the bezel");

    ASSERT_EQ(WindowSendClose(form), WINDOW_OK);
    EXPECT_EQ(pair.run.Wait(10), 0);
}

// Closing the display program ends the bench by itself, also once its tick has come to rest.
TEST_P(DesktopTest, ClosingTheDisplayEndsTheBench) {
    TPair pair;
    if (!pair.Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
    ASSERT_TRUE(pair.StartUp());
    usleep(1000000);
    ASSERT_EQ(WindowSendClose(pair.display), WINDOW_OK);
    EXPECT_EQ(pair.run.Wait(10), 0);
}

// A message of the bench (an outside tool that this build lacks) opens whole above the display.
TEST_P(DesktopTest, MessageBoxStandsAboveTheDisplay) {
    TPair pair;
    if (!pair.Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
    ASSERT_TRUE(pair.StartUp());
    const TWindowId form = pair.form, display = pair.display;
    // "Checklist setting", the third item of the popup menu.
    Click(pair.fx + 30, pair.fy + 300, Button3);
    usleep(300000);
    for (int i = 0; i < 3; ++i) Key(XK_Down);
    Key(XK_Return);
    TWindowId box = 0;  // captioned as the bezel
    EXPECT_TRUE(WaitUntil([&] {
        return WindowFind(FormCaption, &box) == WINDOW_OK && box != form && WindowIsAbove(box, display) == 1;
    })) << "the box " << box << " under the display";
    XWindowAttributes a;
    int32_t bx = 0, by = 0;
    ASSERT_TRUE(box != form && XGetWindowAttributes(probe, box, &a) && WindowPosition(box, &bx, &by) == WINDOW_OK);
    EXPECT_TRUE(bx >= 0 && by >= 0 && bx + a.width <= 1280 && by + a.height <= 1024) << "on the screen";
    usleep(500000);  // a few ticks later, still above
    EXPECT_EQ(WindowIsAbove(box, display), 1);
    ASSERT_EQ(WindowSendClose(box), WINDOW_OK);
    ExpectDisplayOnTop(form, display, "the box closed");
    ASSERT_EQ(WindowSendClose(form), WINDOW_OK);
    EXPECT_EQ(pair.run.Wait(10), 0);
}

// The bench's menus on the screen: override-redirect windows that are mapped, in root
// coordinates.
struct TMenuBox {
    int x, y, w, h;
};
std::vector<TMenuBox> MenuWindows(Display* d) {
    std::vector<TMenuBox> boxes;
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n)) return boxes;
    for (unsigned int i = 0; i < n; ++i) {
        XWindowAttributes a;
        // The window manager keeps a 1 x 1 window of its own off the screen.
        if (XGetWindowAttributes(d, children[i], &a) && a.override_redirect && a.map_state == IsViewable &&
            a.x + a.width > 0 && a.y + a.height > 0 && a.width > 1)
            boxes.push_back({a.x, a.y, a.width, a.height});
    }
    if (children) XFree(children);
    return boxes;
}

// The right-click menu opens with its corner at the pointer, whole and alone, every time,
// also after a choice in its submenu.
TEST_P(DesktopTest, PopupMenuOpensAtThePointerEveryTime) {
    TPair pair;
    if (!pair.Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
    ASSERT_TRUE(pair.StartUp());
    const TWindowId form = pair.form;
    const int32_t fx = pair.fx, fy = pair.fy;
    std::vector<TMenuBox> menus;
    auto open = [&](size_t count) {
        return WaitUntil([&] { return (menus = MenuWindows(probe)).size() == count; });
    };
    // Two places on the bezel's frame beside the screen opening.
    const int points[2][2] = {{fx + 30, fy + 300}, {fx + 30, fy + 520}};
    for (int round = 0; round < 2; ++round) {
        const int px = points[round][0], py = points[round][1];
        Click(px, py, Button3);
        ASSERT_TRUE(open(1)) << "round " << round << ": " << menus.size() << " menus open";
        const TMenuBox m = menus[0];
        EXPECT_EQ(m.x, px) << "round " << round;
        EXPECT_EQ(m.y, py) << "round " << round;
        EXPECT_LE(m.x + m.w, fx + FormWidth) << "round " << round << ": on the bezel";
        EXPECT_LE(m.y + m.h, fy + FormHeight) << "round " << round << ": on the bezel";
        if (round == 1) break;
        // The source submenu from its item, then "No data" in it, as the mouse does.
        Pointer(m.x + m.w / 2, m.y + 10);
        ASSERT_TRUE(open(2)) << "the submenu";
        const TMenuBox sub = menus[0].x == m.x && menus[0].y == m.y ? menus[1] : menus[0];
        EXPECT_GE(sub.x, m.x + m.w - 4) << "the submenu beside its menu, not over it";
        Click(sub.x + sub.w / 2, sub.y + sub.h * 5 / 6);
        ASSERT_TRUE(open(0));
        EXPECT_TRUE(WaitUntil([&] { return Count(pair.run.Output(), "Server exit\n") >= 1; })) << "the source changed";
    }
    Key(XK_Escape);
    EXPECT_TRUE(open(0));
    ASSERT_EQ(WindowSendClose(form), WINDOW_OK);
    EXPECT_EQ(pair.run.Wait(10), 0);
}

// The X server ends under the running pair: both programs end, each saying the display was
// lost, and dashview wrote its statistics after the server went, with the recorded flight's
// engine speed among them.
TEST_P(DesktopTest, LostXServerEndsThePairWithTheStatisticsSaved) {
    TPair pair;
    if (!pair.Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
    ASSERT_TRUE(pair.StartUp());
    usleep(3000000);  // the engine runs in the recorded flight
    ASSERT_NE(access(pair.Path("statistic.dat").c_str(), F_OK), 0) << "written only at the end";
    // The test's own connections would end the test with the server.
    WindowCloseLink();
    XCloseDisplay(probe);
    probe = nullptr;
    pair.Mark();
    server.Stop();
    EXPECT_TRUE(pair.BothEnd());
    EXPECT_EQ(pair.run.code, 1);
    const std::string errors = pair.run.Errors(), lost = "the X display \"" + server.display + "\" was lost";
    EXPECT_EQ(Count(errors, "benchdesk: " + lost + " (X I/O error); closing.\n"), 1) << errors;
    EXPECT_EQ(Count(errors, "dashview: " + lost + "; statistics and runtime settings saved; ending.\n"), 1) << errors;
    EXPECT_TRUE(pair.WrittenSinceMark("statistic.dat"));
    EXPECT_EQ(CheckConfigFile(pair.Path("statistic.dat"), 0x1000), "");
    const std::vector<uint8_t> rpm = SectionData(FileBytes(pair.Path("statistic.dat")), 0x1000, 0x300);
    ASSERT_EQ(rpm.size(), 8u);
    EXPECT_GT(static_cast<int32_t>(CfgGet32(&rpm[4])), 0) << "the highest engine speed seen";
}

INSTANTIATE_TEST_SUITE_P(WindowManager, DesktopTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "WithWindowManager" : "WithoutWindowManager");
                         });

// One server for the rest: no window manager needed.
class PairTest : public XvfbTest {};

// SIGINT, SIGTERM and SIGHUP close the pair as closing the bezel does: dashview gets its quit
// and saves its files, the shared block goes; also while a notice box of the bench is up
// (the recorded flight missing), which runs a loop of its own.
TEST_F(PairTest, SignalsCloseThePairAsTheBezelDoes) {
    const struct {
        int signo;
        bool notice;
    } rows[] = {{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGTERM, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE("signal " + std::to_string(row.signo) + (row.notice ? " over the notice" : ""));
        TPair pair;
        if (!pair.Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
        ASSERT_TRUE(!row.notice || unlink(pair.Path("Data/flysim.dat").c_str()) == 0);
        ASSERT_EQ(pair.Start(), PROCESS_OK);
        TWindowId form = 0, display = 0, box = 0;  // the box, captioned as the bezel, is kept over the display
        ASSERT_TRUE(row.notice ? WaitUntil([&] {
            return WindowFind(DisplayCaption, &display) == WINDOW_OK && WindowFind(FormCaption, &box) == WINDOW_OK &&
                   WindowIsAbove(box, display) == 1;
        }) : pair.Up(&form, &display));
        pair.Mark();
        ASSERT_EQ(kill(pair.run.pid, row.signo), 0);
        EXPECT_TRUE(pair.BothEnd());
        EXPECT_EQ(pair.run.code, 0);
        for (const char* file : {"statistic.dat", "runtime.dat"}) EXPECT_TRUE(pair.WrittenSinceMark(file)) << file;
    }
}

// The console of the running pair: state lines only, unless BENCHDESK_DUMP asks for the
// per-sample value dumps; the diagnostics of both programs go to the log in the run folder,
// or with DASHVIEW_TRACE set to the console.
TEST_F(PairTest, ConsoleHasValueDumpsOnlyWhenAsked) {
    for (bool dump : {false, true}) {
        TPair pair;
        if (!pair.Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
        // The leak checker of a sanitised build would list its suppressions on standard error.
        const std::string trace = std::string(TraceConsoleVariable) + (dump ? "=1" : "=0") +
                                  " LSAN_OPTIONS=print_suppressions=0";
        ASSERT_EQ(pair.Start(trace + (dump ? std::string(" ") + BenchDumpVariable + "=1" : "")), PROCESS_OK);
        TWindowId form = 0, display = 0;
        ASSERT_TRUE(pair.Up(&form, &display));
        // A second of the recorded flight (40 records) has played; without the dumps, twenty.
        usleep(dump ? 1000000 : 20000000);
        ASSERT_EQ(WindowSendClose(form), WINDOW_OK);
        EXPECT_EQ(pair.run.Wait(10), 0);
        const std::string out = pair.run.Output();
        const std::string errors = pair.run.Errors();
        const std::string log = FileText(pair.run.Path(TraceLogName));
        EXPECT_NE(out.find("File-loop mode\n"), std::string::npos);
        EXPECT_NE(out.find("Server exit\n"), std::string::npos);
        // Of the bench, of the block and of the display's start and end.
        const char* const diagnostics[] = {"MeassureThread: INIT.\n", "Init ShMem success.", ">>LoadSetting()\n",
                                           "<<SaveSetting() OK\n", "Debug: "};
        for (const char* d : diagnostics) {
            EXPECT_EQ(Count(out, d), 0) << d;
            EXPECT_EQ(Count(dump ? log : errors, d), 0) << d;
            EXPECT_GT(Count(dump ? errors : log, d), 0) << d;
        }
        if (dump) {
            EXPECT_GT(Count(out, "SetVal["), 100);
            EXPECT_GT(Count(out, "--- Packet of values from loop file"), 10);
        } else {
            EXPECT_EQ(Count(out, "SetVal["), 0) << out.substr(0, 2000);
            EXPECT_EQ(Count(out, "--- Packet of values"), 0);
            EXPECT_LT(std::count(out.begin(), out.end(), '\n'), 6) << out;
            EXPECT_EQ(errors, "");
        }
    }
}

}  // namespace
