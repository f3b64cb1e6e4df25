// The menu and the soft keys on the flight screen, as the program runs them: the main
// window on the headless screen with its panels, keys through the window's event
// handler, the refresh on a test clock closing the menu, and the captions on the status bar.
#include <gtest/gtest.h>

#include <string>

#include "configmanager.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "headless_windows.h"
#include "keyboard.h"
#include "menu.h"
#include "menulinks.h"
#include "page_assets.h"
#include "refresh.h"
#include "refreshlinks.h"
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
    EXPECT_EQ(MainMenu.CurrentPage(), 1);
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
