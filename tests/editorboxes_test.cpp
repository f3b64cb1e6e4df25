// The value editors as the installer and the pilot open them from the bezel keys: what
// their boxes show in the frame, where the cursor stands, and what lands in the store.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bugeditors.h"
#include "checklist.h"
#include "editors.h"
#include "fgfontmanager.h"
#include "infopages.h"
#include "keyglue.h"
#include "limiteditors.h"
#include "menu.h"
#include "overlays.h"
#include "page_assets.h"
#include "settingvars.h"
#include "softkey_fixture.h"
#include "window_probe.h"
#include "wizards.h"

namespace {

constexpr FGPixel Page = 0x305070;

class EditorBoxes : public SoftKeyFixture {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    void SetUp() override {
        SoftKeyFixture::SetUp();
        UnitsSetting = {};
        UnitsSetting.airspeed = 2;
        UnitsSetting.altitude = 1;
        // Every turn of the knob is a slow one.
        SetKnobClock([this] { return clockUs += 1000000; });
        CloseMessageBox();
    }
    void TearDown() override {
        SetKnobClock(nullptr);
        SoftKeyFixture::TearDown();
    }
    // The frame's overlays as the main window's paint draws them.
    void Paint() {
        probe.Clear();
        PaintOverlays(nullptr);
    }
    std::vector<FGPixel> Region(int x, int y, int w, int h) const {
        std::vector<FGPixel> v;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) v.push_back(probe.At(i, j));
        return v;
    }
    // The numeric editor's box at (x, 360) as it looks with this value.
    std::vector<FGPixel> NumericBox(int x, const char* title, const char* unit, int32_t value, int decimals,
                                    int cursor) {
        std::vector<FGPixel> v;
        {
            ProbedWindow other(Page);
            DrawNumericEditor(title, unit, value, decimals, cursor, x, 360, 0);
            for (int j = 360; j < 440; ++j)
                for (int i = x; i < x + 150; ++i) v.push_back(other.At(i, j));
        }
        MainWindow = &probe.window;
        return v;
    }

    // The main menu's "Enter Setup" and "Yes", then the setup menu.
    void EnterSetup() {
        PressKeys("1");
        ASSERT_TRUE(Choose(MenuEnterSetup));
        PressKeys("4");
        ASSERT_EQ(SetupModeActive, 1);
        PressKeys("1");
    }
    // The item of the open menu page, key by key: 'w' down to its row, '1' to choose it.
    bool Choose(int item) {
        for (int n = 0; n < 40 && MainMenu.SelectedItem() != item; ++n) PressKeys("w");
        if (MainMenu.SelectedItem() != item) return false;
        PressKeys("1");
        return true;
    }
    // Pixels of the colour in the rectangle.
    int Count(int x, int y, int w, int h, FGPixel c) const { return probe.Count(x, y, w, h, c); }
    static FGPixel Red() { return DisplayPalette.PalRed & 0xFFFFFF; }
    // Left edge and width of the highlight bar in the row at y (-1 when none).
    std::pair<int, int> BarAt(int y) const {
        int left = -1, width = 0;
        for (int x = 0; x < 800; ++x)
            if (probe.At(x, y) == Red()) {
                if (left < 0) left = x;
                ++width;
            }
        return {left, width};
    }

    static constexpr int MenuEnterSetup = 295;
    ProbedWindow probe{Page};
    int64_t clockUs = 0;
};

}  // namespace

// The pilot's bug editors: the left knob's menu ("ALT", "Speed") or a turn of the left
// knob ("HDG") opens the box at (20, 360) with the bug's value; a step shows the next one.
TEST_F(EditorBoxes, BugEditorsShowTheirValueBoxFromTheKeys) {
    struct Row {
        const char* name;
        const char* keys;  // from the flight screen to the open editor
        const char* title;
        const char* unit;
        int32_t shown, stepped;  // the value shown when opened and after one 'a'
    } rows[] = {
        {"ALT", "0aaa0", "ALT", "m", 304, 310},
        {"Speed", "0aaaa0", "Speed", "km/h", 185, 186},
        {"HDG", "a", "HDG", "deg", 123, 124},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        DisplaySetting.altBug = 3048;
        DisplaySetting.iasBug = 18520;
        DisplaySetting.hdgBug = 123;
        CloseMessageBox();
        Paint();
        EXPECT_EQ(probe.At(40, 410), Page);
        PressKeys(r.keys);
        Paint();
        EXPECT_EQ(probe.At(40, 410), 0xFFFFFFu) << "the value box";
        EXPECT_EQ(Region(20, 360, 150, 80), NumericBox(20, r.title, r.unit, r.shown, 0, 0));
        PressKeys("a");
        Paint();
        EXPECT_EQ(Region(20, 360, 150, 80), NumericBox(20, r.title, r.unit, r.stepped, 0, 0));
        PressKeys("4");  // Cancel closes the box
        Paint();
        EXPECT_EQ(probe.At(40, 410), Page);
    }
}

// The altitude bug in feet, walked up from 0 by the knob from the left knob's menu:
// the box shows a number of its own on every step, up to "32000" at the top.
TEST_F(EditorBoxes, TheAltitudeBugInFeetShowsEveryStepToItsTop) {
    UnitsSetting.altitude = 0;
    DisplaySetting.altBug = 0;
    PressKeys("0aaa0");
    Paint();
    ASSERT_EQ(Region(20, 360, 150, 80), NumericBox(20, "ALT", "FT", 0, 0, 0));
    auto shown = [] {
        TEditorView v{};
        EXPECT_EQ(EditorViewOf(EdApAltitude, nullptr, DisplaySetting.altBug, 0, &v), 1);
        return v.value;
    };
    int32_t last = shown();
    int steps = 0;
    for (; steps < 4000 && DisplaySetting.altBug < 97536; ++steps) {
        PressKeys("a");
        ASSERT_EQ(shown(), last + 10) << "step " << steps + 1 << ", bug " << DisplaySetting.altBug << " dm";
        last = shown();
    }
    EXPECT_EQ(steps, 3200);
    Paint();
    EXPECT_EQ(Region(20, 360, 150, 80), NumericBox(20, "ALT", "FT", 32000, 0, 0));
    PressKeys("4");
}

// The text fields: the red character is the one the knob changes, with its bar under it,
// over the whole field (the supply names' ten characters as well).
TEST_F(EditorBoxes, TextFieldsMarkTheCharacterTheKnobChanges) {
    struct Row {
        const char* name;
        std::vector<int> items;  // chosen in the setup menu
        bool engine;             // on the engine screen
        int cell;                // cell width
        const char* positions;   // "Position" presses before the knob
        int at;                  // the edited character, from 0
        const char* knob;        // turns up to a visible character
        std::string stored;      // the field as stored after "Set"
    } rows[] = {
        {"AircraftIdFirst", {ItemOtherSettingCalib, ItemAircraftIdentification}, false, 21, "", 0, "ww", "CIRCRAFT"},
        {"AircraftIdSecond", {ItemOtherSettingCalib, ItemAircraftIdentification}, false, 21, "1", 1, "ww", "AKRCRAFT"},
        {"AircraftIdWrapsToTheFirst",
         {ItemOtherSettingCalib, ItemAircraftIdentification},
         false, 21, "11111111", 0, "ww", "CIRCRAFT"},
        {"MemoryLabelFirst",
         {ItemExternalDevices, ItemCommDevice, ItemCommType, ItemCommModel, ItemMemoryFields, ItemMemoryField1,
          ItemMemoryLabel},
         false, 21, "", 0, "ww", std::string("0\0\0\0\0\0\0\0", 8)},
        {"MemoryLabelLast",
         {ItemExternalDevices, ItemCommDevice, ItemCommType, ItemCommModel, ItemMemoryFields, ItemMemoryField1,
          ItemMemoryLabel},
         false, 21, "1111111", 7, "ww", "       0"},
        {"SupplyNameTenth",
         {ItemSensorsEngine, ItemVoltageInputs, ItemVoltage1Label},
         true, 17, "111111111", 9, "www", std::string("BATTERY\0\0" "0", 10)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        snprintf(AircraftIdSetting.id, sizeof AircraftIdSetting.id, "AIRCRAFT");
        FreqMemorySetting[0] = {};
        SupplyNameSetting[0] = {};
        CloseMessageBox();
        SetupModeActive = 0;
        ScreenType = ScreenFlight;
        EnterSetup();
        if (r.engine) {
            PressKeys("5");  // the engine screen's setup
            ASSERT_EQ(ScreenType, ScreenEngine);
            PressKeys("1");
        }
        for (int item : r.items) ASSERT_TRUE(Choose(item)) << item << " page " << MainMenu.CurrentPage() << " open " << MainMenu.open << " mode " << Keyboard.GetMode() << " sel " << MainMenu.SelectedItem();
        PressKeys(r.positions);
        PressKeys(r.knob);
        Paint();
        const int x = 605 + r.cell * r.at;
        EXPECT_EQ(BarAt(421), std::make_pair(x, r.cell)) << "the bar under the edited character only";
        EXPECT_GT(Count(x, 397, r.cell, 22, Red()), 5) << "the edited character in red";
        EXPECT_EQ(Count(590, 395, 200, 24, Red()), Count(x, 395, r.cell, 24, Red())) << "no other red character";
        PressKeys("5");  // Set
        const char* stored = r.items.back() == 259 ? AircraftIdSetting.id
                           : r.items.back() == 424 ? FreqMemorySetting[0].label : SupplyNameSetting[0].name;
        EXPECT_EQ(std::string(stored, r.stored.size()), r.stored);
        CloseMessageBox();
    }
}

// The time, date and angle editors mark the field "Position" moves to; an angle between
// -1 and 0 degrees keeps its sign.
TEST_F(EditorBoxes, ClockAndAngleEditorsMarkTheirFieldAndAnglesKeepTheSign) {
    SetEditorClocks([] { return int64_t(1700000000); }, [](int64_t) { return 0; });
    setenv("TZ", "UTC", 1);
    tzset();
    struct Row {
        const char* name;
        std::vector<int> items;   // chosen in the setup menu
        std::string shown;        // the box's text
        int length;               // characters of a field
        std::vector<int> fields;  // the marked field's first character, from the open cursor on
    } rows[] = {
        {"Time", {ItemOtherSettingCalib, ItemTime}, "22:13:20", 2, {6, 3, 0, 6}},
        {"Date", {ItemOtherSettingCalib, ItemDate}, "14.11.23", 2, {6, 3, 0, 6}},
        {"Declination",
         {ItemExternalDevices, ItemRemoteCompass, ItemCompassSettings, ItemDeclination},
         " -0\xB0" "30'", 1, {5, 4, 2, 1, 5}},
    };
    CompassSetting.declination = -50;  // -0.5 degrees
    CompassSetting.calibFlags = 0;
    const int font = DisplayFonts[FontEuromode23];
    auto width = [&](const std::string& t) { return FGFontManager::textwidth(font, t.c_str()); };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CloseMessageBox();
        SetupModeActive = 0;
        EnterSetup();
        for (int item : r.items) ASSERT_TRUE(Choose(item)) << item;
        for (int first : r.fields) {
            Paint();
            const int x = 662 + width(r.shown.substr(0, size_t(first)));
            const int w = width(r.shown.substr(size_t(first), size_t(r.length)));
            EXPECT_EQ(BarAt(421), std::make_pair(x, w)) << first;
            EXPECT_GT(Count(x, 397, w, 22, Red()), 3) << "the field in red";
            EXPECT_EQ(Count(655, 395, 120, 24, Red()), Count(x, 395, w, 24, Red())) << "nothing else red";
            PressKeys("1");  // Position
        }
        if (r.items.back() == ItemDeclination) {
            // The minus between the blank and the zero, in black.
            const int x = 662 + width(" ");
            EXPECT_GT(Count(x, 397, width("-"), 22, 0), 3) << "the sign";
        }
        PressKeys("4");  // Cancel
    }
    SetEditorClocks(nullptr, nullptr);
}

// "EGT, CHT Setting" among the engine sensors: the thermocouple page stands beside the
// slot pages in place of the Sensors page, which comes back with "<---".
TEST_F(EditorBoxes, ThermocouplePageBesideTheSlotPages) {
    EngineGaugeConfig.cylinders = 4;
    EnterSetup();
    PressKeys("5");  // the engine screen's setup
    ASSERT_EQ(ScreenType, ScreenEngine);
    PressKeys("1");
    const FGPixel panel = DefaultPanelColour & 0xFFFFFF;
    struct Row {
        int item;
        bool thermocouples;  // the thermocouple page (545 x 305 at 45, 5) rather than the Sensors page
    } rows[] = {{ItemSensorsEngine, false}, {ItemEgtChtSetting, true}, {ItemBack, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.item);
        ASSERT_TRUE(Choose(r.item));
        Paint();
        EXPECT_EQ(probe.At(300, 40) == panel, r.thermocouples) << "above the Sensors page";
        EXPECT_EQ(probe.At(20, 330) == panel, !r.thermocouples) << "left of and below the thermocouple page";
        if (r.thermocouples) EXPECT_GT(Count(65, 50, 60, 80, 0), 40) << "the rows \"EGT 1:\" to \"EGT 4:\"";
    }
}

// A units record with an airspeed unit outside the list (an imported file): the airspeed
// limits overview shows no number rather than an undefined one.
TEST_F(EditorBoxes, AirspeedLimitsWithAForeignUnitShowNoValue) {
    UnitsSetting.airspeed = 7;
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    EnterSetup();
    for (int item : {ItemRangeLimitsFlight, ItemAirspeedLimits}) ASSERT_TRUE(Choose(item)) << item;
    Paint();
    const int font = OverlayRoleFont(10);
    FGDrawBuffer dashes(200, 30, FG_TYPE_BITMAP, 0xFFFFFF);
    dashes.clear(0xFFFFFF);
    dashes.set_font(font);
    dashes.text(0, 0, "- - -", 0, 0xFFFFFF);
    int want = 0;
    for (int i = 0; i < 200 * 30; ++i) want += (dashes.pixels[i] & 0xFFFFFF) == 0;
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(Count(530, 165 + 22 * row, 56, 20, 0), want) << "row " << row;
}

// COMM panel, then the transponder panel: the squawk box alone, nothing of the standby
// frequency's wider title around it.
TEST_F(EditorBoxes, TransponderPanelShowsOnlyTheSquawkBox) {
    DevicePort[CommPortSub - 1].flags = PortConnected;
    DevicePort[XpdrPortSub - 1].flags = PortConnected;
    XpdrRuntime.squawk = 0x7000;
    CloseMessageBox();
    PressKeys("3");  // COM/XPDR: the COMM panel with the standby frequency
    Paint();
    EXPECT_EQ(probe.At(700, 410), 0xFFFFFFu) << "the standby frequency box";
    PressKeys("5");  // XPDR
    Paint();
    std::vector<FGPixel> alone;
    {
        ProbedWindow other(Page);
        DrawNumericEditor("Squawk", "", 7000, -4, 0, 640, 360, 0);
        for (int j = 340; j < 450; ++j)
            for (int i = 560; i < 800; ++i) alone.push_back(other.At(i, j));
    }
    MainWindow = &probe.window;
    EXPECT_EQ(Region(560, 340, 240, 110), alone);
    DevicePort[CommPortSub - 1].flags = DevicePort[XpdrPortSub - 1].flags = 0;
}
