// The table-driven menu and the soft-key table: the constant tables checked whole, the
// page stack, moves, scrolling, activation and drawing, and the key bindings and labels.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "fgdrawbuffer.h"
#include "keyboard.h"
#include "menu.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "trace_capture.h"

namespace {

// ---------------------------------------------------------------- tables

TEST(MenuTables, CountsIdsAndPoolTexts) {
    std::set<int> texts, items, pages, starts;
    int n = 0;
    for (const TMenuText* t = MenuTexts; t->id != -1; ++t, ++n) {
        EXPECT_TRUE(texts.insert(t->id).second) << t->id;
        EXPECT_EQ(std::strlen(MenuTextPool + t->offset), static_cast<size_t>(t->length)) << t->id;
        if (t->offset > 0) {
            EXPECT_EQ(MenuTextPool[t->offset - 1], '\0') << t->id;  // starts a text
        }
    }
    EXPECT_EQ(n, MenuTextCount);
    n = 0;
    for (const TMenuItem* i = MenuItems; i->id != -1; ++i, ++n) {
        EXPECT_TRUE(items.insert(i->id).second) << i->id;
        EXPECT_NE(FindText(i->textId), nullptr) << i->id;
        if (i->subPage) EXPECT_NE(FindPage(i->subPage), nullptr) << i->id;
    }
    EXPECT_EQ(n, MenuItemCount);
    for (int id = 1; id <= 445; ++id) EXPECT_EQ(items.count(id), id == 358 || id == 359 ? 0u : 1u) << id;
    n = 0;
    for (const TMenuPage* p = MenuPages; p->id != -1; ++p, ++n) {
        EXPECT_TRUE(pages.insert(p->id).second) << p->id;
        EXPECT_EQ(p->list, nullptr);
        EXPECT_EQ(p->handler, nullptr);
        ASSERT_GE(p->listOffset, 0);
        ASSERT_LT(p->listOffset, MenuItemPoolSize);
        // The offset starts a list of its own, not the middle or end of another page's.
        if (p->listOffset > 0) {
            EXPECT_EQ(MenuItemPool[p->listOffset - 1], -1) << p->id;
        }
        EXPECT_TRUE(starts.insert(p->listOffset).second) << p->id;
        int entries = 0;
        for (const int16_t* e = MenuItemPool + p->listOffset; *e != -1; ++e, ++entries) {
            ASSERT_LT(e - MenuItemPool, MenuItemPoolSize);
            EXPECT_NE(FindItem(*e), nullptr) << "page " << p->id << " item " << *e;
        }
        EXPECT_GT(entries, 0) << p->id;
        EXPECT_LE(entries, 20) << p->id;  // no page of the tables scrolls (page 63 fills 20 rows)
    }
    EXPECT_EQ(n, MenuPageCount);
    for (int id = 1; id <= 149; ++id) EXPECT_EQ(pages.count(id), id == 137 ? 0u : 1u) << id;
    EXPECT_EQ(FindItem(358), nullptr);
    EXPECT_EQ(FindPage(0), nullptr);
    EXPECT_EQ(FindText(-1), nullptr);
}

TEST(MenuTables, HiddenMasksSubPagesAndTexts) {
    const std::set<int> hidden = {289, 290, 291, 292, 293, 294, 385, 388, 389, 435, 436, 437,
                                  440, 441, 442, 443, 444};
    for (const TMenuItem* i = MenuItems; i->id != -1; ++i)
        EXPECT_EQ(i->stateMask, hidden.count(i->id) ? 1u : 0u) << i->id;
    struct Row { int item; const char* text; int subPage; } rows[] = {
        {1, "<---", 0}, {8, "Other Setting", 123}, {15, "Exit Menu", 0}, {18, "Brightness", 0},
        {100, "Vs  - Stall Speed", 0}, {128, "Left / Total  Tank", 0}, {166, "Extern. Signal", 98},
        {212, "4205-39", 0}, {237, "Type K", 0}, {376, "Autopilot Activation - Stab. Act.& Deact. ", 0},
        {435, "Rotax ECU", 148}, {440, "Meren\xE9 provozn\xED veliciny", 0},
        {445, "Fuel quantity Time of Average ", 0},
    };
    for (const Row& r : rows) {
        const TMenuItem* item = FindItem(r.item);
        ASSERT_NE(item, nullptr);
        EXPECT_STREQ(MenuTextOf(item->textId), r.text) << r.item;
        EXPECT_EQ(item->subPage, r.subPage) << r.item;
    }
    // The sensor names keep text ids 201..226; the alternates lie 27 higher.
    for (int id = 212; id <= 237; ++id) EXPECT_EQ(FindItem(id)->textId, id - 11);
    EXPECT_STREQ(MenuTextOf(201 + 27), "4305-28");
    EXPECT_STREQ(MenuTextOf(226 + 27), "Type K");
}

TEST(MenuTables, PageListsAsListed) {
    auto list = [](int page) {
        std::vector<int> v;
        for (const int16_t* e = MenuItemPool + FindPage(page)->listOffset; *e != -1; ++e) v.push_back(*e);
        return v;
    };
    EXPECT_EQ(list(1), (std::vector<int>{18, 2, 3, 14, 8, 295, 288, 313, 15}));
    EXPECT_EQ(list(14), (std::vector<int>{1, 29, 4, 30, 31, 5, 6, 7, 16}));
    EXPECT_EQ(list(67), (std::vector<int>{1, 140, 144}));
    EXPECT_EQ(list(135), (std::vector<int>{1, 347, 348, 350, 351, 349, 352}));
    EXPECT_EQ(list(136), (std::vector<int>{354, 355, 356}));
    EXPECT_EQ(list(149), (std::vector<int>{1, 442, 443, 444}));
    EXPECT_EQ(list(63).size(), 20u);
    // Pages that no item opens: the key callbacks, modes and actions open them.
    std::set<int> opened;
    for (const TMenuItem* i = MenuItems; i->id != -1; ++i) opened.insert(i->subPage);
    std::vector<int> unopened;
    for (const TMenuPage* p = MenuPages; p->id != -1; ++p)
        if (!opened.count(p->id)) unopened.push_back(p->id);
    const std::vector<int> expected = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,
                                       14,  15,  16,  17,  18,  19,  20,  21,  22,  25,  34,  37,  41,
                                       42,  48,  49,  50,  53,  54,  63,  67,  68,  77,  78,  79,  80,
                                       88,  89,  102, 103, 104, 105, 106, 110, 111, 112, 113, 114, 115,
                                       116, 126, 132, 136, 138, 139, 143, 145, 146, 147};
    EXPECT_EQ(unopened, expected);
}

// ---------------------------------------------------------------- the menu

std::vector<std::pair<int, int>> Actions;
void RecordAction(int page, int item) { Actions.emplace_back(page, item); }

class Menu : public ::testing::Test {
protected:
    void SetUp() override {
        m.SetGeometry(625, 35, 170, 445, 10);
        m.itemState = MenuItemState;
        m.action = RecordAction;
        Actions.clear();
        DisplaySetting = {};
        SetupModeActive = 0;
    }
    void TearDown() override { DisplaySetting = {}; }
    int Selected() const { return m.SelectedItem(); }
    ThlavniMenu m;
};

TEST_F(Menu, ClosedOpenPageReplacesOpenPushesAndShowZeroUnwinds) {
    EXPECT_EQ(m.OpenPage(PageFlightMain), 0);
    EXPECT_EQ(m.OpenPage(PageChecklistsBack), 0);  // closed: replaces the bottom page
    EXPECT_TRUE(m.stack.empty());
    EXPECT_EQ(m.OpenPage(500), -1);
    EXPECT_EQ(m.CurrentPage(), PageChecklistsBack);
    m.Show(1);
    EXPECT_EQ(MenuOpen, 1);
    m.Next();
    m.Next();  // 4 "Before Start Engine"
    EXPECT_EQ(m.OpenPage(PageEngineRangeLimits), 0);
    m.Next();
    EXPECT_EQ(m.OpenPage(PageRpmLimits), 0);
    EXPECT_EQ(m.OpenPage(PageRollServo), 0);
    EXPECT_EQ(m.stack.size(), 3u);
    EXPECT_EQ(m.ReplacePage(PageServoSetup, PagePitchServo), 0);  // not the current page
    EXPECT_EQ(m.ReplacePage(PageRollServo, PagePitchServo), 1);
    EXPECT_EQ(m.CurrentPage(), PagePitchServo);
    EXPECT_EQ(m.PopPage(), 1);
    EXPECT_EQ(m.CurrentPage(), PageRpmLimits);
    EXPECT_EQ(m.PopPage(), 1);
    EXPECT_EQ(Selected(), ItemLimitsRpm);  // page 63 keeps its selection
    m.Show(0);
    EXPECT_EQ(MenuOpen, 0);
    EXPECT_EQ(m.CurrentPage(), PageChecklistsBack);
    EXPECT_EQ(Selected(), ItemBeforeStartEngine);
    EXPECT_EQ(m.PopPage(), 0);
    EXPECT_EQ(m.CurrentPage(), PageChecklistsBack);
}

TEST_F(Menu, MovesSkipHiddenItemsAndNeverWrap) {
    DisplaySetting.terrainView = 1;  // "3D Terrain ON" hidden
    DisplaySetting.screenWord = 0x100;  // towing menu on: "Towing Menu ON" hidden
    m.OpenPage(PageOtherFlightScreens);  // 1, 289-294
    m.Show(1);
    struct Step { char key; int item; int row; } steps[] = {
        {'p', ItemBack, 0}, {'n', ItemTerrainOff, 1}, {'n', ItemHighwayOn, 2}, {'n', ItemTowingMenuOff, 3},
        {'n', ItemTowingMenuOff, 3}, {'p', ItemHighwayOn, 2}, {'p', ItemTerrainOff, 1}, {'p', ItemBack, 0},
        {'p', ItemBack, 0},
    };
    for (const Step& s : steps) {
        s.key == 'n' ? m.Next() : m.Prev();
        EXPECT_EQ(Selected(), s.item) << s.key;
        EXPECT_EQ(m.current.selectedRow, s.row) << s.key;
    }
    EXPECT_EQ(m.current.visibleCount, 4);
    // The switch changes: the other item shows at once, without reopening the page.
    DisplaySetting.terrainView = 0;
    m.Next();
    EXPECT_EQ(Selected(), ItemTerrainOn);
}

TEST_F(Menu, ActivationOpensSubPagesPassesItemsAndBackPops) {
    m.OpenPage(PageFlightMain);
    m.Show(1);
    for (int i = 0; i < 4; ++i) m.Next();
    EXPECT_EQ(Selected(), ItemOtherSettingFlight);
    m.Activate();  // "Other Setting" opens page 123
    EXPECT_EQ(m.CurrentPage(), PageOtherFlightScreens);
    EXPECT_TRUE(Actions.empty());
    m.Activate();  // "<---": the action sees it, then the page is left
    EXPECT_EQ(Actions, (std::vector<std::pair<int, int>>{{PageOtherFlightScreens, ItemBack}}));
    EXPECT_EQ(m.CurrentPage(), PageFlightMain);
    EXPECT_EQ(Selected(), ItemOtherSettingFlight);
    m.Next();
    m.Activate();  // "Enter Setup" has no sub-page
    EXPECT_EQ(Actions.back(), (std::pair<int, int>(PageFlightMain, ItemEnterSetup)));
    EXPECT_EQ(m.CurrentPage(), PageFlightMain);
    // "<---" on the bottom page: the action only.
    m.Show(0);
    m.OpenPage(PageChecklistsBack);
    m.Activate();
    EXPECT_EQ(Actions.back(), (std::pair<int, int>(PageChecklistsBack, ItemBack)));
    EXPECT_EQ(m.CurrentPage(), PageChecklistsBack);
}

TEST_F(Menu, HiddenSelectionIsRefusedAndActionsMayCloseTheMenu) {
    m.OpenPage(PageOtherFlightScreens);
    m.Show(1);
    m.Next();
    EXPECT_EQ(Selected(), ItemTerrainOn);
    DisplaySetting.terrainView = 1;  // the selected item hides after the push
    m.Activate();
    EXPECT_TRUE(Actions.empty());
    // An action that closes the menu and opens pages while the activation runs.
    ThlavniMenu& g = MainMenu;
    g.SetGeometry(625, 35, 170, 445, 10);
    g.itemState = MenuItemState;
    g.action = [](int page, int item) {
        RecordAction(page, item);
        MainMenu.Show(0);
        MainMenu.OpenPage(PageChecklists);
    };
    g.OpenPage(PageFlightMain);
    g.Show(1);
    g.OpenPage(PageOtherFlightScreens);
    g.OpenPage(PageDataSharing);
    g.Activate();  // item 1 of page 22
    EXPECT_EQ(Actions.back(), (std::pair<int, int>(PageDataSharing, ItemBack)));
    EXPECT_EQ(g.CurrentPage(), PageChecklists);
    g.Show(0);
    g.action = nullptr;
    g.itemState = nullptr;
}

TEST_F(Menu, EmptyListsAndBadDirections) {
    static const int16_t allHidden[] = {385, 388, 4000, -1};
    const TMenuPage hiddenPage = {200, -1, allHidden, nullptr, nullptr};
    const TMenuPage noList = {201, -1, nullptr, nullptr, nullptr};
    m.Show(1);
    for (const TMenuPage* p : {&hiddenPage, &noList}) {
        EXPECT_EQ(m.PushPage(p), 0);
        EXPECT_EQ(m.current.selected, 0);
        EXPECT_EQ(m.current.visibleCount, 0);
        m.Next();
        m.Prev();
        m.Activate();
        EXPECT_EQ(m.current.selected, 0);
    }
    EXPECT_EQ(m.current.itemCount, 0);
    EXPECT_TRUE(Actions.empty());
    m.OpenPage(PageFlightMain);
    m.Next();
    TTraceCapture trace;
    EXPECT_EQ(m.GetNearestItem(0, 2, 1), 1);
    EXPECT_EQ(m.NearestOneWay(0, 0), 0);
    EXPECT_NE(Traced.find("gui/menu:\tError: Invalid preferred_dir! Not doing a thing ..."), std::string::npos);
    EXPECT_NE(Traced.find("gui/menu:\tError: Invalid direction!"), std::string::npos);
}

TEST_F(Menu, ItemStatesFollowTheRuntimeSwitches) {
    struct Case { int terrain, path, word; int item; int state; } cases[] = {
        {1, 0, 0, 289, 1},     {0, 0, 0, 289, 0},     {0, 0, 0, 290, 1},   {1, 0, 0, 290, 0},
        {0, 1, 0, 291, 1},     {0, 0, 0, 292, 1},     {0, 1, 0, 292, 0},   {0, 0, 0x100, 293, 1},
        {0, 0, 0x001, 293, 0}, {0, 0, 0x001, 294, 1}, {0, 0, 0x100, 294, 0}, {0, 0, 0, 436, 0},
        {0, 0, 0, 437, 0},     {0, 0, 0, 385, 1},     {0, 0, 0, 15, 1},
    };
    for (const Case& c : cases) {
        DisplaySetting.terrainView = c.terrain;
        DisplaySetting.path3d = c.path;
        DisplaySetting.screenWord = c.word;
        EXPECT_EQ(MenuItemState(FindItem(c.item), PageOtherFlightScreens), c.state) << c.item << " word " << c.word;
    }
    EXPECT_EQ(MenuItemState(nullptr, 1), 0);
}

TEST_F(Menu, SensorNamesOfDeviceThirtyInSetupOnly) {
    const int savedDevice = DeviceID;
    const struct { int device; int setup; int text; int drawn; } cases[] = {
        {30, 1, 201, 228}, {30, 1, 226, 253}, {30, 1, 200, 200}, {30, 1, 227, 227},
        {30, 0, 201, 201}, {31, 1, 201, 201},
    };
    for (const auto& c : cases) {
        DeviceID = c.device;
        SetupModeActive = static_cast<uint8_t>(c.setup);
        EXPECT_EQ(DrawnTextId(c.text), c.drawn) << c.device << " " << c.setup << " " << c.text;
    }
    DeviceID = savedDevice;
    SetupModeActive = 0;
}

// Drawing: the box, the bar and the scroll marks.
class MenuDraw : public Menu {
protected:
    static constexpr FGPixel Bg = 0x102030, Fill = 0xA8B8AC, Bar = 0x585858, BarFrame = 0xFCE000;
    void Frame() {
        win.clear(Bg);
        m.Draw(&win);
    }
    FGPixel At(int x, int y) const { return win.pixels[y * 800 + x]; }
    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, Bg};
};

TEST_F(MenuDraw, PageOneSitsAboveTheKeysAtTheRight) {
    m.OpenPage(PageFlightMain);
    Frame();
    EXPECT_EQ(At(700, 400), Bg);  // closed: nothing
    m.Show(1);
    Frame();
    // Nine rows: 200 high, bottom edge 35 above the screen's bottom, 170 wide at 625.
    EXPECT_EQ(At(625, 245), 0u);
    EXPECT_EQ(At(794, 444), 0u);
    EXPECT_EQ(At(624, 300), Bg);
    EXPECT_EQ(At(795, 300), Bg);
    EXPECT_EQ(At(700, 244), Bg);
    EXPECT_EQ(At(700, 445), Bg);
    EXPECT_EQ(At(627, 300), Fill);
    // The bar of the first row at (630, 255), 160 x 20.
    EXPECT_EQ(At(630, 255), BarFrame);
    EXPECT_EQ(At(789, 274), BarFrame);
    EXPECT_EQ(At(785, 265), Bar);
    m.Next();
    Frame();
    EXPECT_EQ(At(785, 265), Fill);
    EXPECT_EQ(At(785, 285), Bar);
    EXPECT_EQ(m.box.x, 625);
    EXPECT_EQ(m.box.top, 245);
}

TEST_F(MenuDraw, WideTextsGrowLeftAndTheLeftMenuGrowsRight) {
    m.OpenPage(PageExternalButton);  // widest text: 42 characters, 356 pixels
    m.Show(1);
    Frame();
    EXPECT_EQ(m.box.width, 356);
    EXPECT_EQ(m.box.x, 795 - 356);
    EXPECT_EQ(At(794, 400), 0u);
    EXPECT_EQ(At(795 - 356, 400), 0u);
    EXPECT_EQ(At(795 - 357, 400), Bg);
    m.Show(0);
    m.left = 1;
    m.OpenPage(PageHeadingBugs);
    m.Show(1);
    Frame();
    EXPECT_EQ(m.box.x, 10);
    EXPECT_EQ(m.box.width, 170);
    EXPECT_EQ(At(10, 400), 0u);
    m.Show(0);
    EXPECT_EQ(m.left, 0);
}

TEST_F(MenuDraw, LongPagesScrollWithChevrons) {
    static int16_t longList[31];
    for (int i = 0; i < 30; ++i) longList[i] = static_cast<int16_t>(300 + i);  // 30 visible items
    longList[30] = -1;
    const TMenuPage page = {202, -1, longList, nullptr, nullptr};
    m.Show(1);
    m.PushPage(&page);
    Frame();
    EXPECT_EQ(m.box.height, 445);  // 21 rows
    EXPECT_EQ(m.box.top, 0);
    const int centre = m.box.x + m.box.width / 2;
    auto up = [&] { return At(centre, 3) == 0u; };
    auto down = [&] { return At(centre, 445 - 3) == 0u; };
    EXPECT_FALSE(up());
    EXPECT_TRUE(down());
    for (int i = 0; i < 21; ++i) m.Next();
    Frame();
    EXPECT_EQ(m.current.firstVisible, 1);
    EXPECT_TRUE(up());
    EXPECT_TRUE(down());
    for (int i = 0; i < 20; ++i) m.Next();
    Frame();
    EXPECT_EQ(m.current.selected, 29);
    EXPECT_EQ(m.current.firstVisible, 9);
    EXPECT_TRUE(up());
    EXPECT_FALSE(down());
    for (int i = 0; i < 29; ++i) m.Prev();
    Frame();
    EXPECT_EQ(m.current.firstVisible, 0);
    EXPECT_FALSE(up());
}

// ---------------------------------------------------------------- soft keys

std::vector<std::string> Calls;
void Cb(int32_t arg) { Calls.push_back("cb" + std::to_string(arg)); }
void Default(int mode, int key) { Calls.push_back("def" + std::to_string(mode) + ":" + std::to_string(key)); }

class Keys : public ::testing::Test {
protected:
    void SetUp() override {
        Calls.clear();
        k.SetDefaultHandler(Default);
    }
    std::string Label(char c) { return k.GetKeyLabel(c); }
    Tklavesnice k;
};

TEST_F(Keys, SpecEdgeCases) {
    k.SetMode(17);
    EXPECT_EQ(Label('2'), "Save and Exit");
    k.Dispatch('2');
    EXPECT_EQ(Calls, std::vector<std::string>{"def17:306"});
    k.Bind('1', 0, Cb, 3);
    EXPECT_EQ(Label('1'), "");
    k.Dispatch('1');
    EXPECT_EQ(Calls.back(), "cb3");
    k.Bind('1', 42, Cb, 4);
    k.Bind('w', 0, Cb, 5);
    k.Bind('1', 20, Cb, 6);
    ASSERT_EQ(k.bindings.size(), 2u);
    EXPECT_EQ(k.bindings.back().key, 0x131);
    EXPECT_EQ(Label('1'), "Select");
    k.Dispatch('1');
    EXPECT_EQ(Calls.back(), "cb6");
    Calls.clear();
    k.BindNone(AllKeys);
    for (char c : std::string(AllKeys)) {
        k.Dispatch(c);
        EXPECT_EQ(Label(c), "");
    }
    EXPECT_TRUE(Calls.empty());
    k.Clear();
    k.SetMode(22);
    for (char c : std::string("012345")) EXPECT_EQ(Label(c), "");
    k.SetMode(23);
    for (char c : std::string("012345")) EXPECT_EQ(Label(c), "Cancel");
    k.Dispatch('a');
    EXPECT_EQ(Calls.back(), "def23:353");
    k.SetMode(99);  // unknown: labels only from bindings
    EXPECT_EQ(k.GetMode(), 0);
    EXPECT_EQ(Label('3'), "");
    k.Dispatch('3');
    EXPECT_EQ(Calls.back(), "def0:307");
}

TEST_F(Keys, LabelsOfEveryMode) {
    // Keys '0'..'5'; "-" no label.
    const char* rows[29][6] = {
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "-", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "-", "-"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "-", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "Hor/Cam", "-", "-", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "VOR/LOC", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "GPS", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "GPS", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "APR", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "-", "COM/XPDR", "EMS", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "Hor/Cam", "-", "VOR/LOC", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "Hor/Cam", "-", "GPS", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "Hor/Cam", "-", "GPS", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "Hor/Cam", "-", "APR", "Screen"},
        {"Menu\xB7 HDG", "Menu\xB7 Baro", "Hor/Cam", "-", "EMS", "Screen"},
        {"-", "Menu", "Timer", "COM/XPDR", "Statistic", "Screen"},
        {"-", "Menu", "Timer", "Checklist ", "Statistic", "-"},
        {"-", "Menu", "Save and Exit", "Only Exit", "Data Port", "EMS"},
        {"-", "Menu", "Save and Exit", "Only Exit", "Data Port", "EFIS"},
        {"-", "Menu", "Save and Exit", "Only Exit", "Data Port", "EMS"},
        {"-", "Menu", "Save and Exit", "Only Exit", "Data Port", "EFIS"},
        {"-", "-", "Confirm", "-", "-", "-"},
        {"-", "-", "-", "-", "-", "-"},
        {"Cancel", "Cancel", "Cancel", "Cancel", "Cancel", "Cancel"},
        {"-", "-", "Both", "Roll", "Pitch", "Cancel"},
        {"-", "-", "All", "Roll+Yaw", "Pitch", "Cancel"},
        {"-", "-", "Stabilization", "Bugs", "NAV", "Cancel"},
        {"-", "-", "AP OFF", "Axis", "Control", "Cancel"},
        {"Volume", "Set SBY", "<-->", "Cancel", "Mem", "XPDR"},
        {"-", "Set Sqw", "Mode", "IDENT", "-", "Cancel"},
    };
    const int pages[29] = {1, 1, 1, 1, 1, 1, 5, 1, 1, 1, 1, 5, 1, 1, 10, 10, 18, 19, 16, 17};
    VfrCodeSetting.code = 0x0123;  // mode 29's '4': no label for another code
    for (int mode = 1; mode <= 29; ++mode) {
        k.Clear();
        k.SetMode(mode);
        EXPECT_EQ(k.menuPage, pages[mode - 1]) << mode;
        EXPECT_EQ(k.layoutRow, 7 * (mode - 1));
        for (int key = 0; key < 6; ++key) {
            const std::string want = std::strcmp(rows[mode - 1][key], "-") ? rows[mode - 1][key] : "";
            EXPECT_EQ(Label(static_cast<char>('0' + key)), want) << "mode " << mode << " key " << key;
        }
        for (char c : std::string("adsw")) EXPECT_EQ(Label(c), "");
    }
    for (int id = 1; id <= 102; ++id) ASSERT_NE(FindKeyLabel(id), nullptr);
    EXPECT_EQ(FindKeyLabel(0), nullptr);
    EXPECT_STREQ(KeyLabelText(10), "Set \xB7  Edit");
}

TEST_F(Keys, ModeTwentyNineBindsTheVfrKeyByTheCode) {
    const struct { uint16_t code; const char* label; } cases[] = {{0x1200, "1200"}, {0x7000, "7000"}, {0x7700, ""}};
    for (const auto& c : cases) {
        VfrCodeSetting.code = c.code;
        k.Clear();
        k.SetMode(29);
        ASSERT_NE(k.FindBinding(0x134), nullptr);
        EXPECT_EQ(Label('4'), c.label) << c.code;
    }
    VfrCodeSetting.code = 0x7000;
}

TEST_F(Keys, ModesOpenTheirPageInTheClosedMenuAndUnknownModesLeaveIt) {
    ThlavniMenu menu;
    k.SetMenu(&menu);
    menu.OpenPage(PageChecklistsBack);
    menu.Show(1);
    menu.OpenPage(PageDataSharing);
    k.SetMode(15);
    EXPECT_EQ(menu.open, 0);
    EXPECT_TRUE(menu.stack.empty());
    EXPECT_EQ(menu.CurrentPage(), PageEngineMain);
    k.SetMode(23);  // page 0 opens nothing
    EXPECT_EQ(menu.CurrentPage(), PageEngineMain);
    menu.Show(1);
    k.SetMode(200);
    EXPECT_EQ(menu.open, 1);
    EXPECT_EQ(MenuOpen, 1);
    menu.Show(0);
}

// A callback that rebinds every key while the dispatch runs.
Tklavesnice* Rebinding;
void Rebind(int32_t arg) {
    Calls.push_back("rebind" + std::to_string(arg));
    Rebinding->Clear();
    for (int i = 0; i < 64; ++i) Rebinding->Bind('0' + i % 6, 0, Cb, i);
}

TEST_F(Keys, CallbacksRebindWhileTheyRun) {
    Rebinding = &k;
    for (char c : std::string(AllKeys)) k.Bind(c, 1, Rebind, c);
    k.Dispatch('w');
    EXPECT_EQ(Calls, std::vector<std::string>{"rebind119"});
    EXPECT_EQ(k.bindings.size(), 6u);
    k.Dispatch('w');
    EXPECT_EQ(Calls.back(), "def0:375");
    k.Dispatch('5');
    EXPECT_EQ(Calls.back(), "cb59");  // the last binding of '5'
}

}  // namespace
