// The menu and the soft keys on the flight screen, as the program runs them: the main
// window on the headless screen with its panels, keys through the window's event
// handler, the refresh on a test clock closing the menu, and the captions on the status bar.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <memory>
#include <string>

#include "config_tempdir.h"
#include "configmanager.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "headless_windows.h"
#include "keyboard.h"
#include "limiteditors.h"
#include "menu.h"
#include "menulinks.h"
#include "overlays.h"
#include "page_assets.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "screenkeys.h"
#include "settingvars.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "statusbar.h"

namespace {

int64_t ClockSec = 1700000000;
void TestClock(int64_t* sec, int32_t* usec) {
    *sec = ClockSec;
    *usec = 0;
}

// The main-menu keys as the key glue binds them: 's' up, 'w' down, '1' "Select".
void MenuKeys(int32_t command) {
    if (command == 1) MainMenu.Next();
    if (command == 2) MainMenu.Prev();
    if (command == 3) MainMenu.Activate();
}
void OpenMainMenu(int /*mode*/, int key) {
    if (key != KeyCode('1')) return;
    Keyboard.Clear();
    Keyboard.Bind('s', 0, MenuKeys, 2);
    Keyboard.Bind('w', 0, MenuKeys, 1);
    Keyboard.Bind('1', 20, MenuKeys, 3);
    MainMenu.Show(1);
}

class MenuScreen : public HeadlessWindowTest {
protected:
    static constexpr FGPixel Fill = 0xA8B8AC, Bar = 0x585858, BarFrame = 0xFCE000;

    static void SetUpTestSuite() {
        HeadlessWindowTest::SetUpTestSuite();
        LoadPageAssets();
    }
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        InstallMenuLinks();
        ASSERT_NE(MenuLinks.StartMenus, nullptr);
        MenuLinks.StartMenus();
        savedClock = RefreshClock;
        RefreshClock = TestClock;
        ClockSec = 1700000000;
        LayoutCaps = 0x05;
        SetupModeActive = 0;
        ShellBusy = 0;
        window = new FGWindow(&window, 0, 0, 800, 480, "Skyvane", OnMainWindowEvent, 0, 0, 0x20800280, -1);
        MainWindow = window;
        SelectScreen(ScreenFlight);
        ASSERT_EQ(ScreenType, ScreenFlight);
        // The flight screen's keys: mode 1 and its default handler.
        Keyboard.Clear();
        Keyboard.SetMode(1);
        Keyboard.SetDefaultHandler(OpenMainMenu);
        Frame();
    }
    void TearDown() override {
        MainMenu.Show(0);
        Keyboard.Clear();
        Keyboard.SetMode(0);
        delete window;  // closing the window deletes its panels
        MainWindow = nullptr;
        RefreshClock = savedClock;
        HeadlessWindowTest::TearDown();
    }
    // One key through the main window, as the driver delivers it.
    void Key(char c) {
        FGEvent e{};
        e.type = FGE_KEY;
        e.key = c;
        SendToWindow(window, &e);
    }
    // The refresh at the test clock, then the window's frame (the refresh's repaint).
    void Tick() {
        LastSecond = static_cast<int>(ClockSec);
        RefreshDisplayData();
        Frame();
    }
    void Frame() { window->DrawFrame(); }
    FGPixel At(int x, int y) const { return window->pixels[y * 800 + x] & 0xFFFFFF; }
    bool BarAtRow(int row) const { return At(630, 255 + 20 * row) == BarFrame && At(785, 265 + 20 * row) == Bar; }
    bool BoxShown() const { return At(625, 245) == 0u && At(627, 300) == Fill && At(794, 444) == 0u; }

    FGWindow* window = nullptr;
    void (*savedClock)(int64_t*, int32_t*) = nullptr;
};

TEST_F(MenuScreen, KeyOneOpensPageOneAndTheMenuClosesFiveSecondsAfterTheLastKey) {
    EXPECT_FALSE(BoxShown());
    Key('1');
    Frame();
    EXPECT_EQ(MainMenu.CurrentPage(), PageFlightMain);
    EXPECT_EQ(MenuOpen, 1);
    // Box at x 625, bottom edge at 445: nine rows of 20 and the margins.
    EXPECT_TRUE(BoxShown());
    EXPECT_EQ(MainMenu.box.x, 625);
    EXPECT_EQ(MainMenu.box.top + MainMenu.box.height, 445);
    EXPECT_TRUE(BarAtRow(0));
    SavePageSnapshot(*window, "menu_flight_page1.bmp");
    struct Step { char key; int row; int item; } steps[] = {
        {'w', 1, 2}, {'w', 2, 3}, {'s', 1, 2}, {'s', 0, 18}, {'s', 0, 18}, {'w', 1, 2},
    };
    for (const Step& s : steps) {
        ClockSec += 3;  // each key renews the deadline
        Key(s.key);
        Tick();
        EXPECT_TRUE(BoxShown()) << s.key;
        EXPECT_TRUE(BarAtRow(s.row)) << s.key << " row " << s.row;
        EXPECT_EQ(MainMenu.SelectedItem(), s.item);
    }
    ClockSec += 4;
    Tick();
    EXPECT_TRUE(BoxShown());
    ClockSec += 1;  // five seconds after the last key
    Tick();
    EXPECT_EQ(MenuOpen, 0);
    EXPECT_EQ(MainMenu.open, 0);
    EXPECT_FALSE(BoxShown());
    // The menu's keys went with it.
    EXPECT_EQ(Keyboard.FindBinding(KeyCode('w')), nullptr);
}

TEST_F(MenuScreen, TheFlightModesCaptionsAreOnTheStatusBar) {
    ASSERT_NE(SoftKeyLabel, nullptr);
    Tick();
    // Left to right: keys '0', '2', '3', '4', '5', '1'.
    const char* want[6] = {"Menu\xB7 HDG", "", "COM/XPDR", "", "Screen", "Menu\xB7 Baro"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(SoftKeyCaptions6[i].text, want[i]) << i;
        // White text in the captions that have one, none in the others.
        const TDisplayItem& c = SoftKeyCaptions6[i];
        int white = 0;
        for (int y = c.y; y < c.y + 16; ++y)
            for (int x = c.x; x < c.x + c.width; ++x) white += At(x, y) == 0xFFFFFFu;
        if (*want[i])
            EXPECT_GT(white, 20) << i;
        else
            EXPECT_EQ(white, 0) << i;
    }
    // A binding's label takes the key's place.
    Keyboard.Bind('2', 33, nullptr, 0);
    Tick();
    EXPECT_STREQ(SoftKeyCaptions6[1].text, "Timer");
}

}  // namespace

namespace {

// The boxes that a menu item or a screen key opens with one key to close them, as the
// program runs them: the real key glue, menu actions and screen keys over a settings store,
// keys through the main window, the refresh's soft-key time-out on the test clock.
class BoxKeys : public HeadlessWindowTest {
protected:
    static void SetUpTestSuite() {
        HeadlessWindowTest::SetUpTestSuite();
        LoadPageAssets();
    }
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        dir = std::make_unique<ConfigTempDir>();
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.Store()->SetSleep([](uint32_t) {});
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        // A checklist for the menu's checklist item.
        snprintf(ChecklistTable[0][0], ChecklistLineSize, "%s", "MASTER SWITCH;ON");
        ASSERT_EQ(SetSS(0x3001, 0), 0);
        ASSERT_EQ(SaveSetting(nullptr, KindChecklist), 0);
        // As the program's entry installs them.
        InstallMenuLinks();
        InstallScreenKeyLinks();
        InstallOverlayLinks();
        InstallSetupLinks();
        MenuLinks.StartMenus();
        savedClock = RefreshClock;
        RefreshClock = TestClock;
        ClockSec = 1700000000;
        LayoutCaps = CapEnginePage | CapFlightPage;
        SetupModeActive = 0;
        ShellBusy = 0;
        DeviceID = 29;
        // The window loads its pictures from the run folder as it opens.
        char old[PATH_MAX];
        ASSERT_TRUE(getcwd(old, sizeof old));
        ASSERT_EQ(chdir(RUN_DIR), 0);
        window = new FGWindow(&window, 0, 0, 800, 480, "Skyvane", OnMainWindowEvent, 0, 0, 0x20800280, -1);
        ASSERT_EQ(chdir(old), 0);
        MainWindow = window;
    }
    void TearDown() override {
        MainMenu.Show(0);
        Keyboard.Clear();
        CloseMessageBox();
        Keyboard.SetMode(0);
        delete window;
        MainWindow = nullptr;
        RefreshClock = savedClock;
        ConfigManager.Release();
        dir.reset();
        HeadlessWindowTest::TearDown();
    }
    void Screen(int type) {
        SelectScreen(type);
        Keyboard.Clear();
        CloseMessageBox();  // binds the screen's keys
    }
    void Keys(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            FGEvent e{};
            e.type = FGE_KEY;
            e.key = *k;
            SendToWindow(window, &e);
        }
    }
    void Tick() {
        LastSecond = static_cast<int>(ClockSec);
        RefreshDisplayData();
        window->DrawFrame();
    }
    int Count(int x, int y, int w, int h, FGPixel c) const {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) n += (window->pixels[j * 800 + i] & 0xFFFFFF) == c;
        return n;
    }

    std::unique_ptr<ConfigTempDir> dir;
    FGWindow* window = nullptr;
    void (*savedClock)(int64_t*, int32_t*) = nullptr;
};

// Each box keeps the key that closes it past the soft-key time-out, and closes with it.
TEST_F(BoxKeys, ABoxKeepsItsKeyPastTheTimeOutAndGoesWithIt) {
    struct Row {
        const char* what;
        int screen;
        const char* keys;  // from the screen's keys to the open box
        char close;        // the key labelled "Hide"
        int x, y, w, h;    // an empty stretch of the box's fill
        bool white;        // the about box is white, the others the overlay panel
        const char* label = "Hide";
        bool radio = false;  // a transceiver connected
    } rows[] = {
        {"flight statistic", ScreenFlight, "1ww1", '1', 185, 280, 430, 8, false},
        {"engine statistic", ScreenEngine, "4", '4', 175, 370, 450, 20, false},
        {"engine statistic from the menu", ScreenEngine, "1ww1", '1', 175, 370, 450, 20, false},
        {"about box", ScreenFlight, "1wwwwwww1", '1', 280, 170, 240, 10, true},
        {"checklist box", ScreenFlight, "1w1w1", '1', 155, 185, 490, 8, false},
        {"COMM panel", ScreenFlight, "3", '3', 652, 396, 96, 1, true, "Cancel", true},  // the standby box
    };
    // The close key's button: the bar's black is gone from its left end.
    auto button = [this](char key) {
        static const char keys[] = "023451";
        const TDisplayItem& c = SoftKeyCaptions6[strchr(keys, key) - keys];
        return Count(c.x + 2, 460, 6, 15, 0) == 0;
    };
    for (const Row& r : rows) {
        DevicePort[CommPortSub - 1].flags = r.radio ? PortConnected : 0;
        Screen(r.screen);
        Tick();
        const int mode = Keyboard.GetMode();
        const FGPixel fill = r.white ? 0xFFFFFFu : (DisplayPalette.PalOverlayPanel & 0xFFFFFF);
        const int area = r.w * r.h;
        EXPECT_LT(Count(r.x, r.y, r.w, r.h, fill), area) << r.what << ": no box before the keys";
        Keys(r.keys);
        Tick();
        EXPECT_EQ(Count(r.x, r.y, r.w, r.h, fill), area) << r.what << ": the box is open";
        EXPECT_STREQ(Keyboard.GetKeyLabel(r.close), r.label) << r.what;
        // Long after the last key: the box and its key are still there.
        ClockSec += 60;
        Tick();
        EXPECT_EQ(Count(r.x, r.y, r.w, r.h, fill), area) << r.what << ": the box after the time-out";
        EXPECT_STREQ(Keyboard.GetKeyLabel(r.close), r.label) << r.what << ": its key after the time-out";
        for (int i = 0; i < 4; ++i) window->DrawFrame();  // the bar's slide
        EXPECT_TRUE(button(r.close)) << r.what << ": open, it looks open";
        Keys(std::string(1, r.close).c_str());
        Tick();
        EXPECT_LT(Count(r.x, r.y, r.w, r.h, fill), area) << r.what << ": closed by its key";
        EXPECT_EQ(Keyboard.GetMode(), mode) << r.what << ": the screen's keys are back";
        ClockSec += 60;
        Tick();
    }
    DevicePort[CommPortSub - 1].flags = 0;
}

}  // namespace
