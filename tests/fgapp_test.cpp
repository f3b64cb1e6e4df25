// The application object: option parsing, start-up, the posted-event stack
// under a posting thread, the key road through the headless display, quit,
// screenshots, modal loops and the error window.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "config_tempdir.h"
#include "display.h"
#include "fgapp.h"
#include "fgdriver.h"
#include "fgraster.h"
#include "headless_run.h"
#include "headless_windows.h"
#include "quitrequest.h"
#include "tinycfg.h"

namespace {

// An argument vector of exactly argc pointers on the heap (no terminator), so
// that AddressSanitizer sees any read past its end.
struct Args {
    std::vector<std::string> text;
    std::unique_ptr<char*[]> v;
    int argc;
    explicit Args(std::vector<std::string> words) : text(std::move(words)) {
        argc = static_cast<int>(text.size());
        v.reset(new char*[text.size()]);
        for (size_t i = 0; i < text.size(); i++) v[i] = &text[i][0];
    }
    std::vector<std::string> Left() const {
        std::vector<std::string> out;
        for (int i = 0; i < argc; i++) out.push_back(v[static_cast<size_t>(i)]);
        return out;
    }
};

void ResetOptions() {
    FGToolkitState& t = fg_toolkit;
    t.video_mode = 3;
    t.verbose = t.windowed = t.custom_size = t.dac8 = t.ps2_mouse = t.dev_mouse = t.no_accel = 0;
    t.custom_width = t.custom_height = 0;
    t.full_drag = 1;
    t.app_flags = 0x18017;
}

using Words = std::vector<std::string>;

// ---------------------------------------------------------------- options

TEST(Options, GeometryAndWindowLeaveNameAndRest) {
    ResetOptions();
    Args a({"prog", "-geometry", "1024", "600", "-window", "x"});
    fg_parse_options(&a.argc, a.v.get());
    EXPECT_EQ(a.Left(), (Words{"prog", "x"}));
    EXPECT_EQ(fg_toolkit.video_mode, 8);
    EXPECT_EQ(fg_toolkit.custom_width, 1024);
    EXPECT_EQ(fg_toolkit.custom_height, 600);
    EXPECT_EQ(fg_toolkit.windowed, 1);
}

TEST(Options, FirstLetterAnyCaseNextTwoExact) {
    ResetOptions();
    Args a({"p", "-win", "-Safe", "-SAFE", "-svga", "-nodga", "-nox11", "-sync", "-NOFull", "-dac8",
            "plain", "-"});
    testing::internal::CaptureStdout();
    fg_parse_options(&a.argc, a.v.get());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(a.Left(), (Words{"p", "-SAFE", "-svga", "-nodga", "-nox11", "-sync", "-NOFull",
                               "plain", "-"}));
    EXPECT_EQ(fg_toolkit.windowed, 1);
    EXPECT_EQ(fg_toolkit.video_mode, 2);
    EXPECT_EQ(fg_toolkit.verbose, 1);
    EXPECT_EQ(fg_toolkit.app_flags & 1u, 0u);
    EXPECT_EQ(fg_toolkit.dac8, 1);
    EXPECT_EQ(fg_toolkit.full_drag, 1);   // "-NOFull": "OF" is not "of"
    EXPECT_EQ(out, "Safe mode entered ..\a\n");
}

TEST(Options, ResolutionDigitAndVerboseMessages) {
    ResetOptions();
    Args a({"p", "-res", "5", "-verbose", "-ps2", "-mice", "-noaccel", "-nofull"});
    testing::internal::CaptureStdout();
    fg_parse_options(&a.argc, a.v.get());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(a.argc, 1);
    EXPECT_EQ(fg_toolkit.video_mode, 5);
    EXPECT_EQ(fg_toolkit.full_drag, 0);
    EXPECT_NE(out.find("5.5.14.1412"), std::string::npos);
    EXPECT_NE(out.find("\t\twith multi-threading\n"), std::string::npos);
    EXPECT_NE(out.find("PS2 fallback mouse initialization!\n"), std::string::npos);
    EXPECT_NE(out.find("DEVMOUSE fallback mouse initialization!\n"), std::string::npos);
    EXPECT_NE(out.find("HW acceleration disabled\n"), std::string::npos);
}

TEST(Options, MissingValuesAreNeverReadPastTheEnd) {
    ResetOptions();
    Args a({"prog", "-geometry"});
    fg_parse_options(&a.argc, a.v.get());
    EXPECT_EQ(a.Left(), (Words{"prog"}));
    EXPECT_EQ(fg_toolkit.video_mode, 3);
    EXPECT_EQ(fg_toolkit.custom_size, 0);

    Args b({"prog", "-geometry", "1024"});
    fg_parse_options(&b.argc, b.v.get());
    EXPECT_EQ(b.Left(), (Words{"prog"}));
    EXPECT_EQ(fg_toolkit.video_mode, 3);

    Args c({"prog", "x", "-resolution"});
    fg_parse_options(&c.argc, c.v.get());
    EXPECT_EQ(c.Left(), (Words{"prog", "x"}));
    EXPECT_EQ(fg_toolkit.video_mode, 3);

    Args d({"prog", "-geometry", "99999999999999", "-99999999999999"});
    fg_parse_options(&d.argc, d.v.get());
    EXPECT_EQ(fg_toolkit.custom_width, INT32_MAX);
    EXPECT_EQ(fg_toolkit.custom_height, INT32_MIN);
}

TEST(Options, HelpPrintsAndWaitsForOneCharacter) {
    ResetOptions();
    char path[] = "/tmp/fgapp_stdin_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "qz", 2), 2);
    close(fd);
    ASSERT_NE(std::freopen(path, "r", stdin), nullptr);
    Args a({"p", "-help", "-h"});
    testing::internal::CaptureStdout();
    fg_parse_options(&a.argc, a.v.get());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(a.argc, 1);
    EXPECT_EQ(std::getchar(), EOF);   // one character taken by each "-h"
    unlink(path);
    EXPECT_NE(out.find("5.5.14.1412"), std::string::npos);
    EXPECT_NE(out.find("BMP GIF PCX TGA"), std::string::npos);
    EXPECT_NE(out.find(" with 32 BPP\n"), std::string::npos);
    EXPECT_NE(out.find("\n   -resolution N\n          :force scr. resolution 'N', where 'N' = \n"),
              std::string::npos);
    EXPECT_NE(out.find(" -mice    :force DEVMOUSE mouse driver (LINUX)\n"
                       " -window  :run in windowed mode (WIN32)\n"),
              std::string::npos);
}

// ---------------------------------------------------------------- start-up (own processes)

class StartupDeathTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Builds the application in a temporary directory holding "apptest.rc" with
// default_videomode 4; exits 0 when the screen is w x h and the arguments left
// are `left`.
[[noreturn]] void StartAndCheck(Words words, int w, int h, Words left) {
    setenv("DASHVIEW_HEADLESS", "1", 1);
    ConfigTempDir dir;
    {
        Config rc("apptest.rc", true);
        rc.SetInt("default_videomode", 4);
        if (!rc.Sync()) std::_Exit(10);
    }
    Args a(std::move(words));
    FGApp app(3, &a.argc, a.v.get(), 0, 0x80000000u | 0x18017u);
    if (fg_screen_width() != w || fg_screen_height() != h) std::_Exit(11);
    if (a.Left() != left) std::_Exit(12);
    if (fg_toolkit.base_name != "apptest") std::_Exit(13);
    if (!fg_root_window() || fg_root_window()->width != w) std::_Exit(14);
    std::_Exit(0);
}

TEST_F(StartupDeathTest, ConfigurationModeThenOptionsWin) {
    EXPECT_EXIT(StartAndCheck({"/opt/x/apptest.exe", "keep"}, 1024, 768, {"/opt/x/apptest.exe", "keep"}),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(StartAndCheck({"C:\\bin\\apptest.EXE", "-res", "2", "keep"}, 640, 480,
                              {"C:\\bin\\apptest.EXE", "keep"}),
                ::testing::ExitedWithCode(0), "");
    // Mode 9 does not exist: mode 1.
    EXPECT_EXIT(StartAndCheck({"apptest", "-resolution", "9"}, 320, 200, {"apptest"}),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(StartupDeathTest, ModeThatCannotBeSetEndsWithMinusTwo) {
    EXPECT_EXIT(
        {
            setenv("DASHVIEW_HEADLESS", "1", 1);
            dup2(2, 1);
            ConfigTempDir dir;
            Args a({"apptest", "-geometry", "20000", "20000"});
            FGApp app(3, &a.argc, a.v.get(), 0, 0x80000000u);
        },
        ::testing::ExitedWithCode(254), "Fatal error: can't set graphics mode 8\n\a");
}

// Ctrl-C ends the run loop (the program's shutdown follows) and asks for exit code 2.
TEST_F(StartupDeathTest, CtrlCEndsTheLoopAskingForTwo) {
    EXPECT_EXIT(
        {
            setenv("DASHVIEW_HEADLESS", "1", 1);
            ConfigTempDir dir;
            Args a({"apptest"});
            int code = -1;
            {
                FGApp app(3, &a.argc, a.v.get(), 0, 0x80000000u);
                DisplayPushEvent({DisplayEventChar, 3, 0});
                app.Run();
                QuitRequested(&code);
            }
            std::exit(code);
        },
        ::testing::ExitedWithCode(2), "");
}

// ---------------------------------------------------------------- the running application

std::vector<std::string> Log;

class TestApp : public FGApp {
public:
    using FGApp::FGApp;
    void OnKeyPress(int key) override { Log.push_back("app " + std::to_string(key)); }
};

class KeyWindow : public FGWindow {
public:
    KeyWindow(unsigned flags = 0, FGEventHandler handler = nullptr)
        : FGWindow(nullptr, 100, 100, 200, 120, "Keys", handler, 0, 0x808080, flags) {}
    void OnKeyPress(int key) override { Log.push_back("window " + std::to_string(key)); }
};

int WindowHandler(FGWindow*, FGEvent* e) {
    Log.push_back("handler " + std::to_string(e->type) + " " + std::to_string(e->key));
    return 0;
}

// A window whose opening events are already logged away.
KeyWindow* OpenKeys(unsigned flags = 0) {
    KeyWindow* w = new KeyWindow(flags, WindowHandler);
    Log.clear();
    return w;
}

int RunHook(FGEvent* e) {
    Log.push_back("run " + std::to_string(e->type) + " " + std::to_string(e->key));
    return 0;
}

void NoSleep(FGApp*) { std::this_thread::yield(); }

void Post(int type, int key = 0) {
    FGEvent e{};
    e.type = type;
    e.key = key;
    FGApp::PostEvent(&e);
}

int Clicks = 0;
void Clicked(FGControl*) { Clicks++; }

class AppTest : public ::testing::Test {
protected:
    static TestApp* app;
    static ConfigTempDir* dir;

    static void SetUpTestSuite() {
        setenv("DASHVIEW_HEADLESS", "1", 1);
        dir = new ConfigTempDir();
        static Args args({"fgapp_test"});
        app = new TestApp(3, &args.argc, args.v.get(), 0, 0x80000000u | 0x18017u);
    }
    static void TearDownTestSuite() {
        delete app;
        delete dir;
    }
    void SetUp() override {
        Log.clear();
        Clicks = 0;
        fg_idle_callback = NoSleep;
        fg_toolkit.run_hook = nullptr;
    }
    void TearDown() override {
        for (int i = fg_window_count() - 1; i >= 0; i--) {
            FGWindow* w = fg_window_at(i);
            if (w && !w->IsRoot()) delete w;
        }
        fg_clear_posted();
        fg_take_dropped();
        fg_toolkit.quit = 0;
        ClearQuitRequest();
        DisplayClearEvents();
    }
    static FGEvent Key(int key) {
        FGEvent e{};
        e.type = FGE_KEY;
        e.key = key;
        return e;
    }
};
TestApp* AppTest::app = nullptr;
ConfigTempDir* AppTest::dir = nullptr;

TEST_F(AppTest, StartUpState) {
    EXPECT_EQ(fg_screen_width(), 800);
    EXPECT_EQ(fg_screen_height(), 600);
    EXPECT_EQ(app->pointer_x, 400);
    EXPECT_EQ(app->pointer_y, 300);
    EXPECT_EQ(app->spare_event->type, FGE_REPEAT);
    EXPECT_EQ(fg_toolkit.base_name, "fgapp_test");
    EXPECT_EQ(fg_toolkit.home, ".");
    ASSERT_NE(fg_root_window(), nullptr);
    EXPECT_EQ(GetCurrentWindow(), nullptr);
}

TEST_F(AppTest, PostedEventsAreDrainedNewestFirst) {
    Post(FGE_LEAVE);
    Post(FGE_KEY, 1);
    Post(FGE_KEY, 2);
    Post(FGE_KEY, 3);
    app->Run(RunHook);
    EXPECT_EQ(Log, (Words{"run 1 3", "app 3", "run 1 2", "app 2", "run 1 1", "app 1", "run 6 0"}));
    EXPECT_EQ(fg_posted_count(), 0);
}

TEST_F(AppTest, ThirtyThirdEventIsDroppedWithWarningWindow) {
    const uint32_t before = fg_toolkit.events.dropped_total;
    for (int i = 0; i < 33; i++) Post(FGE_KEY, 100 + i);
    EXPECT_EQ(fg_posted_count(), 32);
    EXPECT_EQ(fg_toolkit.events.dropped_total, before + 1);
    FGWindow* warning = fg_error_window();
    ASSERT_NE(warning, nullptr);
    EXPECT_STREQ(warning->name, "Error");
    FGEvent e;
    for (int i = 31; i >= 0; i--) {
        ASSERT_EQ(fg_take_posted(&e), 1);
        EXPECT_EQ(e.key, 100 + i);
    }
    EXPECT_EQ(fg_take_posted(&e), 0);
}

TEST_F(AppTest, DropOnAnotherThreadIsReportedFromTheMainThread) {
    std::thread poster([] {
        for (int i = 0; i < 40; i++) Post(FGE_KEY, i);
    });
    poster.join();
    EXPECT_EQ(fg_error_window(), nullptr);
    fg_clear_posted();
    FGEvent e;
    app->PollInput(&e, 1);
    EXPECT_NE(fg_error_window(), nullptr);
    EXPECT_EQ(fg_take_dropped(), 0);
}

// One thread posts while the main loop drains: every event arrives once.
TEST_F(AppTest, PostingThreadAndDrainingLoopLoseNothing) {
    constexpr int N = 20000;
    static std::vector<int> seen;
    seen.assign(N, 0);
    fg_toolkit.run_hook = [](FGEvent* e) {
        if (e->type == FGE_KEY && e->key >= 0 && e->key < N) seen[static_cast<size_t>(e->key)]++;
        return 0;
    };
    std::thread poster([] {
        for (int i = 0; i < N;) {
            if (fg_posted_count() >= FG_EVENT_SLOTS) {
                std::this_thread::yield();
                continue;
            }
            Post(FGE_KEY, i++);
        }
        while (fg_posted_count() >= FG_EVENT_SLOTS) std::this_thread::yield();
        Post(FGE_LEAVE);
    });
    app->Run();
    poster.join();
    FGEvent e;
    while (fg_take_posted(&e)) fg_toolkit.run_hook(&e);
    for (int i = 0; i < N; i++) ASSERT_EQ(seen[static_cast<size_t>(i)], 1) << i;
    EXPECT_EQ(fg_toolkit.events.dropped, 0);
}

// Blind posting: what is not drained is counted as dropped, never duplicated.
TEST_F(AppTest, FloodingThreadDropsAreCountedNotDuplicated) {
    constexpr int N = 20000;
    static std::vector<int> seen;
    seen.assign(N, 0);
    static std::atomic<int> done{0};
    done = 0;
    const uint32_t before = fg_toolkit.events.dropped_total;
    std::thread poster([] {
        for (int i = 0; i < N; i++) Post(FGE_KEY, i);
        done = 1;
    });
    FGEvent e;
    while (!done || fg_posted_count() > 0)
        while (fg_take_posted(&e)) seen[static_cast<size_t>(e.key)]++;
    poster.join();
    while (fg_take_posted(&e)) seen[static_cast<size_t>(e.key)]++;
    int drained = 0;
    for (int n : seen) {
        ASSERT_LE(n, 1);
        drained += n;
    }
    EXPECT_EQ(static_cast<uint32_t>(N - drained), fg_toolkit.events.dropped_total - before);
}

// The program's refresh: the timer thread posts key 110 while fewer than two wait.
std::atomic<int> RefreshPosted{0};
std::atomic<int> RefreshSeen{0};
void RefreshTimer(int) {
    if (fg_posted_count() < 2) {
        RefreshPosted++;
        Post(FGE_KEY, 110);
    }
}

TEST_F(AppTest, TimerThreadRefreshReachesTheRunHook) {
    RefreshPosted = RefreshSeen = 0;
    fg_toolkit.run_hook = [](FGEvent* e) {
        if (e->type == FGE_KEY && e->key == 110 && ++RefreshSeen == 50) Post(FGE_LEAVE);
        return 0;
    };
    ASSERT_EQ(fg_set_timer(1, RefreshTimer), 0);
    app->Run();
    fg_set_timer(0, nullptr);
    FGEvent e;
    while (fg_take_posted(&e)) fg_toolkit.run_hook(&e);
    EXPECT_EQ(RefreshSeen.load(), RefreshPosted.load());
    EXPECT_GE(RefreshSeen.load(), 50);
}

TEST_F(AppTest, ModalLoopKeepsRefreshEvents) {
    RefreshPosted = RefreshSeen = 0;
    KeyWindow* modal = new KeyWindow(WMODAL);
    FGControl* ok = modal->AddPushButton(10, 10, 60, 21, "Ok", 'o', nullptr);
    ok->argument = 7;
    fg_toolkit.run_hook = [](FGEvent* e) {
        if (e->type == FGE_KEY && e->key == 110 && ++RefreshSeen == 20)
            DisplayPushEvent({DisplayEventChar, 'o', 0});
        return 0;
    };
    ASSERT_EQ(fg_set_timer(1, RefreshTimer), 0);
    EXPECT_EQ(app->RunModal(modal), 7);
    fg_set_timer(0, nullptr);
    FGEvent e;
    while (fg_take_posted(&e)) fg_toolkit.run_hook(&e);
    EXPECT_EQ(RefreshSeen.load(), RefreshPosted.load());
    EXPECT_GE(RefreshSeen.load(), 20);
    EXPECT_EQ(fg_toolkit.quit, 0);
}

TEST_F(AppTest, ModalLoopEndsWhenItsWindowCloses) {
    KeyWindow* modal = new KeyWindow(WMODAL | WESCAPE);
    DisplayPushEvent({DisplayEventChar, 27, 0});
    EXPECT_EQ(app->RunModal(modal), -6);
    EXPECT_EQ(fg_window_count(), 1);   // the root only
}

// A key typed on the display reaches the window (hook, then handler) at once and
// the run hook and the application's hook later, once each; quit ends Run.
TEST_F(AppTest, KeyRoadThroughTheHeadlessDisplay) {
    OpenKeys(0);
    DisplayPushEvent({DisplayEventChar, 'k', 0});
    DisplayPushEvent({DisplayEventQuit, 0, 0});
    app->Run(RunHook);
    const int k = 'k';
    EXPECT_EQ(Log, (Words{"window " + std::to_string(k), "handler 1 " + std::to_string(k),
                          "run 1 " + std::to_string(k), "app " + std::to_string(k), "run 3 0"}));
    EXPECT_EQ(fg_toolkit.quit, 1);
    // The quit flag ends the next Run at once.
    DisplayPushEvent({DisplayEventChar, 'z', 0});
    Log.clear();
    app->Run(RunHook);
    EXPECT_TRUE(Log.empty());
}

TEST_F(AppTest, QuitRequestedBeforeRunEndsItAtOnce) {
    OpenKeys(0);
    DisplayPushEvent({DisplayEventChar, 'k', 0});
    RequestQuit(0);
    app->Run(RunHook);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(fg_toolkit.quit, 1);
}

TEST_F(AppTest, AltXQuitsOnlyWithItsFlag) {
    OpenKeys(0);
    fg_toolkit.app_flags &= ~FG_APP_ALT_X_QUITS;
    FGEvent e = Key(FG_KEY_QUIT);
    app->Dispatch(&e);
    fg_toolkit.app_flags |= FG_APP_ALT_X_QUITS;
    EXPECT_EQ(Log, (Words{"window 4216", "handler 1 4216"}));
    FGEvent p;
    ASSERT_EQ(fg_take_posted(&p), 1);
    EXPECT_EQ(p.type, FGE_KEY);
    EXPECT_EQ(p.key, FG_KEY_QUIT);

    Log.clear();
    e = Key(FG_KEY_QUIT);
    app->Dispatch(&e);
    EXPECT_TRUE(Log.empty());
    ASSERT_EQ(fg_take_posted(&p), 1);
    EXPECT_EQ(p.type, FGE_QUIT);
}

TEST_F(AppTest, EscClosesOnlyWindowsWithTheFlag) {
    KeyWindow* plain = OpenKeys(0);
    FGEvent e = Key(27);
    app->Dispatch(&e);
    EXPECT_EQ(GetCurrentWindow(), plain);
    EXPECT_EQ(Log, (Words{"window 27", "handler 1 27"}));
    OpenKeys(WESCAPE);
    Log.clear();
    e = Key(27);
    app->Dispatch(&e);
    EXPECT_EQ(GetCurrentWindow(), plain);
    // Closing sends event 5 to the handler; the key itself goes nowhere.
    EXPECT_EQ(Log, (Words{"handler 5 0"}));
}

TEST_F(AppTest, HotKeyAndEnterActivateControls) {
    KeyWindow* w = OpenKeys(WFOCUSED);
    FGControl* first = w->AddPushButton(10, 10, 60, 21, "First", 'f', Clicked, 1);
    FGControl* yes = w->AddPushButton(10, 40, 60, 21, "Yes", 'y', Clicked, 2);
    EXPECT_EQ(w->current_page->focus, first);
    FGEvent e = Key('Y');
    app->Dispatch(&e);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(e.type, FGE_CONTROL);
    EXPECT_EQ(e.control, yes);
    EXPECT_EQ(e.control_type, 0x4002);
    EXPECT_EQ(e.key, yes->id);
    FGEvent p;
    ASSERT_EQ(fg_take_posted(&p), 1);
    EXPECT_EQ(p.type, FGE_CONTROL);
    EXPECT_EQ(p.control, yes);

    e = Key(296);   // down: focus moves on
    app->Dispatch(&e);
    EXPECT_EQ(w->current_page->focus, yes);
    e = Key(296);   // and wraps
    app->Dispatch(&e);
    EXPECT_EQ(w->current_page->focus, first);
    e = Key(13);
    app->Dispatch(&e);
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(e.control, first);
    EXPECT_EQ(fg_posted_count(), 1);
}

TEST_F(AppTest, FunctionKeyTwelveWritesAScreenshot) {
    KeyWindow* w = OpenKeys(0);
    w->FillBox(0, 0, 200, 120, 0x123456);
    DisplayPushEvent({DisplayEventKey, DisplayKeyF12, 0});
    DisplayPushEvent({DisplayEventQuit, 0, 0});
    app->Run(RunHook);
    EXPECT_EQ(Log, (Words{"run 3 0"}));   // F12 reached nobody
    std::vector<std::string> shots;
    if (DIR* d = opendir(".")) {
        while (dirent* entry = readdir(d)) {
            const std::string n = entry->d_name;
            if (n.size() > 10 && n.compare(n.size() - 10, 10, "_00000.bmp") == 0) shots.push_back(n);
        }
        closedir(d);
    }
    ASSERT_EQ(shots.size(), 1u);
    std::ifstream f(shots[0], std::ios::binary);
    std::vector<unsigned char> bmp((std::istreambuf_iterator<char>(f)), {});
    ASSERT_EQ(bmp.size(), 54u + 800u * 600u * 3u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[28], 24);
    // Screen pixel (150, 150) lies in the window; rows are stored bottom up.
    const size_t at = 54 + (599 - 150) * 2400 + 150 * 3;
    EXPECT_EQ(bmp[at], 0x56);
    EXPECT_EQ(bmp[at + 1], 0x34);
    EXPECT_EQ(bmp[at + 2], 0x12);
}

TEST_F(AppTest, IdleAndTimerHooks) {
    static int idles = 0;
    fg_idle_callback = [](FGApp*) { idles++; };
    idles = 0;
    FGEvent e;
    app->PollInput(&e, 3);
    EXPECT_EQ(e.type, 0);
    EXPECT_EQ(idles, 3);
    static int ticks = 0;
    fg_toolkit.tick_callback = [](int) { ticks++; };
    fg_toolkit.last_tick = 0;
    app->TimerTick();
    fg_toolkit.tick_callback = nullptr;
    EXPECT_EQ(ticks, 1);
}

// The idle pause ends for an event posted by another thread (the refresh timer) or
// a key; one already posted ends it before it starts.
TEST_F(AppTest, IdlePauseEndsForAPostOrAKey) {
    const struct {
        const char* what;
        void (*from)();
        int type, key;
    } rows[] = {
        {"refresh from the timer thread", [] { Post(FGE_KEY, 110); }, FGE_KEY, 110},
        {"bench key", [] { DisplayPushEvent({DisplayEventChar, '3', 0}); }, FGE_KEY, '3'},
    };
    for (const auto& row : rows) {
        std::thread other(row.from);
        EXPECT_EQ(fg_wait_input(60000), 1) << row.what;
        other.join();
        FGEvent e{};
        if (!fg_take_posted(&e)) app->PollInput(&e, 1);
        EXPECT_EQ(e.type, row.type) << row.what;
        EXPECT_EQ(e.key, row.key) << row.what;
    }
    Post(FGE_KEY, 110);
    EXPECT_EQ(fg_wait_input(60000), 1);
}

// An idle pause never outlasts the loop's own tick.
TEST_F(AppTest, IdlePauseEndsWhenTheTickFallsDue) {
    // The rows look back up to 60 ms on the process clock.
    while (fg_time_ms() < 100) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const uint32_t now = fg_time_ms();
    const struct {
        int period, sinceTick, ms, pause;
    } rows[] = {{0, 0, 100, 100}, {500, 0, 100, 100}, {50, 0, 100, 50}, {50, 30, 100, 20},
                {50, 50, 100, 0}, {50, 60, 100, 0}, {500, 0, -5, 0}};
    for (const auto& row : rows) {
        fg_toolkit.tick_period = row.period;
        fg_toolkit.last_tick = now - static_cast<uint32_t>(row.sinceTick);
        // The clock may move on by a few ms while the row runs.
        const int pause = fg_input_pause_ms(row.ms);
        EXPECT_LE(pause, row.pause) << row.period << " " << row.sinceTick;
        EXPECT_GE(pause, row.pause - 10) << row.period << " " << row.sinceTick;
    }
    fg_toolkit.tick_period = 0;
    fg_toolkit.last_tick = 0;
}

// ---------------------------------------------------------------- the error window

TEST_F(AppTest, WarningWindowLooksAndGoesWithEveryPush) {
    for (const char key : std::string("012345")) {
        fg_error("Sensor lost", 0);
        FGWindow* w = fg_error_window();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->width, 2 * (4 * 11 + 32));
        EXPECT_EQ(w->height, 78);
        EXPECT_EQ(w->screen_x, (800 - w->width) / 2);
        EXPECT_EQ(ScreenAt(w->screen_x, w->screen_y), 0u);   // black outline
        EXPECT_EQ(ScreenAt(w->screen_x + 4, w->screen_y + 4), 0xF80000u);
        FGEvent e = Key(key);
        app->Dispatch(&e);
        EXPECT_EQ(fg_error_window(), nullptr) << key;
        fg_clear_posted();
    }
    fg_error("Sensor lost", 0);
    FGEvent e = Key(13);
    app->Dispatch(&e);
    EXPECT_EQ(fg_error_window(), nullptr);
    fg_error("Sensor lost", 0);
    e = Key(27);
    app->Dispatch(&e);
    EXPECT_EQ(fg_error_window(), nullptr);
}

// A knob turn on an "Abort" window neither closes it nor quits; a push then aborts.
TEST_F(AppTest, ErrorWindowIgnoresTurnsAndAbortsOnAPush) {
    auto quitPosted = [] {
        bool quit = false;
        for (FGEvent e; fg_take_posted(&e);) quit = quit || e.type == FGE_QUIT;
        return quit;
    };
    fg_error("Memory damaged", 1);
    for (const char key : std::string("adsw")) {
        FGEvent e = Key(key);
        app->Dispatch(&e);
        EXPECT_NE(fg_error_window(), nullptr) << key;
        EXPECT_FALSE(quitPosted()) << key;
    }
    FGEvent e = Key('0');
    app->Dispatch(&e);
    EXPECT_TRUE(quitPosted());
}

TEST_F(AppTest, ModalErrorAbortsWithAPushAfterATurn) {
    DisplayPushEvent({DisplayEventChar, 'w', 0});
    DisplayPushEvent({DisplayEventChar, '1', 0});
    fg_error("Memory damaged", 3);
    // "Abort" posted the quit that ended the modal loop; the program ends next.
    EXPECT_NE(fg_error_window(), nullptr);
    EXPECT_EQ(fg_toolkit.quit, 1);
}

TEST_F(AppTest, SecondReportWhileOneIsOpenOpensNoWindow) {
    fg_error("first", 0);
    const int windows = fg_window_count();
    fg_error("second", 1);
    EXPECT_EQ(fg_window_count(), windows);
}

}  // namespace

// A FIFO (or any special file) in place of the toolkit's rc, a picture, a font or a settings
// file: dashview starts without waiting on it, says what it is, and a quit signal ends it at
// any moment.
TEST(StartUpFiles, AFifoInPlaceOfTheRcAPictureOrAFontNeverHoldsTheStart) {
    if (!HeadlessRun::Built()) TOOL_MISSING() << "dashview is not built";
    for (const char* file : {"dashview.rc", "Data/jednotky.tga", "Data/euromode_14b.fnt", "setup.dat"}) {
        ConfigTempDir dir;
        HeadlessRun run(dir.Path());
        const std::string path = run.Path(file);
        ASSERT_TRUE(unlink(path.c_str()) == 0 || errno == ENOENT) << file;
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << file;
        ASSERT_TRUE(run.Script("wait 1500\nwait 500\nquit\n", 30)) << file << " " << run.code;
        EXPECT_GE(run.FrameFiles().size(), 2u) << file;
        EXPECT_NE(run.Output().find("'" + std::string(file) + "' is a FIFO, not a regular file"), std::string::npos)
            << run.Output();
        // SIGTERM in the start-up's pause, and once the page is up.
        for (bool paged : {false, true}) {
            ASSERT_TRUE(run.Start("wait 60000\nquit\n")) << file;
            for (int i = 0; i < 200 && (paged ? run.FrameFiles().empty() : i < 10); ++i) usleep(50 * 1000);
            EXPECT_EQ(paged, !run.FrameFiles().empty()) << file;
            kill(run.pid, SIGTERM);
            EXPECT_EQ(run.Wait(5), 0) << file << (paged ? " with its page up" : " in the pause");
        }
    }
}
