// The engine page and the engine strip drawn by the main window's paint into an
// 800 x 480 buffer, from the default settings, probed at known pixels.
#include "enginepage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "config_tempdir.h"
#include "configmanager.h"
#include "page_assets.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "gui_terr/engineback.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "statusbar.h"
#include "units.h"

namespace {

constexpr FGPixel Bg = 0x000000;
constexpr FGPixel White = 0xFFFFFF;
constexpr FGPixel Yellow = 0xFCE000;
constexpr FGPixel Red = 0xF20000;
constexpr FGPixel Silver = 0xC0C0C0;

struct TInk {
    int first = INT_MAX, last = -1, count = 0;
};

class EnginePage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    static void TearDownTestSuite() { FreeMainPictures(); }

    void SetUp() override {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        LoadSetting(nullptr, KindAll, 0);
        UnitsSetting.temperature = UnitCelsius;
        UnitsSetting.enginePress = UnitBar;
        UnitsSetting.manifoldPress = UnitMbar;
        UnitsSetting.fuel = UnitLitre;
        TEngineGaugeConfig& g = EngineGaugeConfig;
        g.tankUsed = g.twoTanks = 1;
        g.fuelFlowUsed = g.fuelPressUsed = 1;
        g.oilPressUsed = g.oilTempUsed = g.waterChtUsed = g.waterAuxUsed = 1;
        TankSetting[0].calibrated = TankSetting[1].calibrated = 1;
        FuelFlowSetting.pressOffset = 0;
        InitEngineLayouts();  // the dials' geometry, as the GL view's start gives it
        InitialSetting();
        Cover();
        MainWindow = &win;
        LayoutCaps = CapEnginePage | CapFlightPage | CapEngineStrip;
        DisplaySetting.screenWord = 0;
        SetScreen(ScreenEngine);
        FillValues();
    }
    void TearDown() override {
        MainWindow = nullptr;
        ScreenType = 0;
        KeyPressed = 0;
        InstTempShown = 0;
        AutopilotActive = 0;
        EngineGLHooks = {nullptr, nullptr, nullptr};
        RefreshValues = TRefreshValues{};
        ConfigManager.Release();
    }

    // The centres the background layouts give the dials (view coordinates, y up).
    // Which dials the layout shows: the page's bottom pair and the two-dial strip
    // only with runtime flag bit 0, the four-dial strip without it.
    static void Cover() {
        const bool wide = DisplaySetting.screenWord & RuntimeFlag0;
        for (int i = 0; i < DialCount; ++i) EngineDialConfig[i].covered = 0;
        for (int i : {DialAuxTemp, DialWater, DialCombinedRpm, DialCombinedMap})
            EngineDialConfig[i].covered = !wide;
        for (int i : {DialStripRpm, DialStripOilPress, DialStripOilTemp, DialStripFourth})
            EngineDialConfig[i].covered = wide;
    }

    void SetScreen(int type) {
        ScreenType = type;
        PlaceInstTempItem();
    }
    void SetWide(bool wide) {
        DisplaySetting.screenWord = wide ? RuntimeFlag0 : 0;
        Cover();
    }

    static void FillValues() {
        TRefreshValues& r = RefreshValues;
        r.rpm = 2400;
        r.oilPress = 40;  // tenths of a bar
        r.oilTemp = 90;
        r.map = 800;
        r.rpmAux = NoValue;
        r.water = 85;
        r.auxTemp = 150;
        r.fuelLevel[0] = 600;
        r.fuelLevel[1] = 450;
        r.fuelPress = (FuelPressLimits[1] + FuelPressLimits[2]) / 2;
        r.fuelFlow = 250;
        for (int i = 0; i < 12; ++i) {
            r.thermo[i] = i % 2 == 0 ? 650 + 10 * i : 150 + 5 * i;
            snprintf(r.thermoText[i], sizeof r.thermoText[i], "%d", static_cast<int>(r.thermo[i]));
        }
        r.instTemp = 420;
        snprintf(r.iatText, sizeof r.iatText, "18 C");
        snprintf(r.oatText, sizeof r.oatText, "12 C");
        snprintf(r.fuelUsedText, sizeof r.fuelUsedText, "105.0 l");
        snprintf(r.enduranceText, sizeof r.enduranceText, "3: 12");
        snprintf(r.engineTimeText, sizeof r.engineTimeText, "412: 30");
        snprintf(r.flightTimeText, sizeof r.flightTimeText, "00: 42: 10");
        snprintf(r.clockText, sizeof r.clockText, "14: 05: 33");
        snprintf(r.dateText, sizeof r.dateText, "09. 12. 26");
    }

    void Paint() {
        win.clear(Bg);
        FGEvent e{};
        e.type = FGE_REDRAW;
        OnMainWindowEvent(nullptr, &e);
    }

    FGPixel At(int x, int y) const { return win.pixels[y * 800 + x]; }

    int Count(int x0, int y0, int x1, int y1, FGPixel c) const {
        int n = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, 480); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, 800); ++x) n += At(x, y) == c;
        return n;
    }
    TInk Ink(int x0, int y0, int x1, int y1, FGPixel c) const {
        TInk k;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (At(x, y) == c) {
                    k.first = std::min(k.first, x);
                    k.last = std::max(k.last, x);
                    ++k.count;
                }
        return k;
    }
    // Filled height of an upward bar column from its bottom at y.
    int ColumnHeight(int x, int bottom, FGPixel c) const {
        int h = 0;
        while (bottom - h >= 0 && At(x, bottom - h) == c) ++h;
        return h;
    }

    void Snapshot(const char* name) { SavePageSnapshot(win, name); }

    ConfigTempDir tmp;
    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, Bg};
};

int Font16() { return DisplayFonts[FontEuromode16]; }

// ---------------------------------------------------------------- bars

TEST_F(EnginePage, TankBarsFillByLevelAndClampOutOfRange) {
    const int32_t max = TankBar[0].max;
    ASSERT_GT(max, 0);
    RefreshValues.fuelLevel[0] = max / 2;
    RefreshValues.fuelLevel[1] = max * 3;   // beyond the scale
    Paint();
    // Tank 1 at x 340, tank 2 at 448: 80 px columns from y 224 to 303.
    EXPECT_EQ(ColumnHeight(343, 303, Silver), 40);
    EXPECT_EQ(ColumnHeight(451, 303, Silver), 80);
    EXPECT_NE(At(451, 223), Silver);
    RefreshValues.fuelLevel[0] = -500;      // below the scale: nothing
    Paint();
    EXPECT_EQ(ColumnHeight(343, 303, Silver), 0);
}

TEST_F(EnginePage, ThermocoupleBarFillsByTemperatureAndTurnsAlarmRed) {
    // Four cylinders: cylinder 2's EGT bar at x 23 grows to the left from x 123 (48 px).
    const TBarItem& egt1 = ThermoBarsStrip[2];
    ASSERT_GT(egt1.max, 0);
    RefreshValues.thermo[2] = egt1.max / 2;
    Paint();
    const int y = egt1.y + 3;
    EXPECT_EQ(Ink(75, y, 124, y + 1, White).count, 24);
    EXPECT_EQ(Ink(75, y, 124, y + 1, White).first, 99);
    RefreshValues.thermo[2] = egt1.alarm;
    Paint();
    const int length = egt1.alarm * 48 / egt1.max + 1;   // one longer in the alarm zone
    EXPECT_EQ(Ink(70, y, 124, y + 1, Red).count, length);
    EXPECT_EQ(Ink(70, y, 124, y + 1, Red).first, 123 - length);
    // Each cylinder's bar stands beside its own number: in its box's row, on its side.
    for (int n : {4, 6})
        for (int slot = 0; slot < n; ++slot) {
            EngineGaugeConfig.cylinders = n;
            for (int i = 0; i < 12; ++i) RefreshValues.thermo[i] = i == 2 * slot ? 2000 : 100;
            Paint();
            const TDisplayItem& box = PageItems[(n == 4 ? RowThermo4 : RowThermo6) + 2 * slot];
            const int x0 = box.x < 148 ? 55 : 148, beside = Count(x0, box.y, x0 + 88, box.y + box.height, Red);
            EXPECT_TRUE(beside >= 320 && beside == Count(55, 280, 236, 460, Red)) << n << " cylinders, " << slot + 1;
        }
}

TEST_F(EnginePage, FuelPressureZonesAtTheirLimits) {
    // Exactly at the high warning: yellow; at the low warning: white; at the high alarm: red.
    struct {
        int32_t value;
        FGPixel colour;
    } cases[] = {{FuelPressLimits[2], Yellow}, {FuelPressLimits[1], White}, {FuelPressLimits[3], Red},
                 {FuelPressLimits[0] - 1, Red}};
    for (const auto& c : cases) {
        RefreshValues.fuelPress = c.value;
        Paint();
        EXPECT_EQ(At(343, 429), c.colour) << c.value;   // bottom of the bar at (340, 350..429)
        const TDisplayItem& box = PageItems[RowFuelPress];
        if (c.colour != White)
            EXPECT_EQ(At(box.x + box.width - 2, box.y + 2), c.colour) << c.value;   // the box's paper
        else
            EXPECT_EQ(At(box.x + box.width - 2, box.y + 2), Bg) << c.value;
    }
    // Black text on yellow, white on red.
    RefreshValues.fuelPress = FuelPressLimits[2];
    Paint();
    const TDisplayItem& box = PageItems[RowFuelPress];
    EXPECT_GT(Count(box.x, box.y, box.x + box.width, box.y + 20, 0x000000), 10);
    EXPECT_EQ(Count(box.x, box.y, box.x + box.width, box.y + 20, White), 0);
}

TEST_F(EnginePage, LowFuelTurnsTheTankBoxRed) {
    RefreshValues.fuelLevel[1] = TankLowLimit[1] - 1;
    Paint();
    const TDisplayItem& t1 = PageItems[RowTank1];
    const TDisplayItem& t2 = PageItems[RowTank2];
    EXPECT_EQ(At(t2.x + t2.width - 2, t2.y + 2), Red);
    EXPECT_EQ(At(t1.x + t1.width - 2, t1.y + 2), Bg);
    EXPECT_GT(Count(t1.x, t1.y, t1.x + t1.width, t1.y + 20, White), 10);
}

// ---------------------------------------------------------------- dials

TEST_F(EnginePage, RpmReadoutTakesTheZoneColours) {
    const TInstrumentConfig& c = EngineDialConfig[DialRpm];
    ASSERT_GT(c.yellowStart, 0);
    ASSERT_GT(c.redStart, c.yellowStart);
    const int bx = c.cx - 44, by = c.cy - 205;
    RefreshValues.rpm = c.yellowStart - 10;
    Paint();
    EXPECT_EQ(At(bx + 1, by + 1), Bg);
    EXPECT_GT(Count(bx, by, bx + 88, by + 24, White), 20);
    RefreshValues.rpm = c.yellowStart + 10;
    Paint();
    EXPECT_EQ(At(bx + 1, by + 1), Yellow);
    EXPECT_GT(Count(bx, by, bx + 88, by + 24, 0x000000), 20);
    RefreshValues.rpm = c.redStart + 10;
    Paint();
    EXPECT_EQ(At(bx + 1, by + 1), Red);
    EXPECT_GT(Count(bx, by, bx + 88, by + 24, White), 20);
}

TEST_F(EnginePage, ManifoldPressureIsNeverRed) {
    TInstrumentConfig& c = EngineDialConfig[DialFourth];
    ASSERT_GT(c.yellowStart, 0);
    c.redStart = c.yellowStart + 50;
    RefreshValues.map = c.redStart + 10;
    Paint();
    EXPECT_EQ(At(c.cx - 44 + 1, c.cy - 205 + 1), Yellow);
}

TEST_F(EnginePage, NoDataShowsDashesAndErr) {
    RefreshValues.rpm = NoValue;
    Paint();
    const TDisplayItem& box = PageItems[RowRpm];
    const int font = DisplayFonts[FontEuromode20];
    const TInk ink = Ink(box.x, box.y, box.x + box.width, box.y + box.height, White);
    ASSERT_GT(ink.count, 0);
    // "- - -" right-aligned at x + width.
    EXPECT_LT(ink.last, box.x + box.width);
    EXPECT_GE(ink.last, box.x + box.width - 4);
    EXPECT_GE(ink.first, box.x + box.width - FGFontManager::textwidth(font, "- - -"));
    EXPECT_LE(ink.last - ink.first + 1, FGFontManager::textwidth(font, "- - -"));
    EXPECT_GE(ink.last - ink.first + 1, FGFontManager::textwidth(font, "- - -") / 2);
    // The ERR mark at (cx - 24, cy - 280): black on red.
    const TInstrumentConfig& c = EngineDialConfig[DialRpm];
    const int mw = FGFontManager::textwidth(Font16(), "  ERR  ");
    EXPECT_GT(Count(c.cx - 24, c.cy - 280, c.cx - 24 + mw, c.cy - 264, Red), mw * 8);
    EXPECT_GT(Count(c.cx - 24, c.cy - 280, c.cx - 24 + mw, c.cy - 264, 0x000000), 10);
}

TEST_F(EnginePage, GLNeedlesAreAskedForEveryUncoveredPageDial) {
    static int calls[DialCount], clears, flushes;
    std::memset(calls, 0, sizeof calls);
    clears = flushes = 0;
    EngineGLHooks.clear = [] { ++clears; };
    EngineGLHooks.needle = [](int dial, int32_t) {
        ++calls[dial];
        return 0;
    };
    EngineGLHooks.flush = [] { ++flushes; };
    Paint();
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(flushes, 1);
    for (int d = 0; d < DialCount; ++d) EXPECT_EQ(calls[d], d < DialAuxTemp ? 1 : 0) << d;
}

// ---------------------------------------------------------------- the strip

TEST_F(EnginePage, StripNeedleFollowsRpmAndClampsAtTheScaleEnds) {
    SetScreen(ScreenFlightEms);
    const TInstrumentConfig& c = EngineDialConfig[DialStripRpm];
    ASSERT_LT(c.minimum, c.maximum);
    // Needle of the four-dial strip's RPM dial on its GL face: hub at the face's centre
    // (557 + 101, 459 - 374), start 162 degrees (lower left), end 20 degrees (lower
    // right), up at mid-scale.
    auto along = [&](double degrees) {
        const double a = degrees * M_PI / 180;
        return At(658 + static_cast<int>(std::lround(30 * std::cos(a))), 85 + static_cast<int>(std::lround(30 * std::sin(a))));
    };
    auto lowerLeft = [&] { return along(162); };
    auto lowerRight = [&] { return along(20); };
    auto up = [&] { return along(271); };
    for (int32_t rpm : {c.minimum - 1000, c.minimum}) {
        RefreshValues.rpm = rpm;
        Paint();
        EXPECT_EQ(lowerLeft(), White) << rpm;
        EXPECT_NE(lowerRight(), White) << rpm;
    }
    RefreshValues.rpm = c.maximum * 5;
    Paint();
    EXPECT_EQ(lowerRight(), White);
    EXPECT_NE(lowerLeft(), White);
    EXPECT_EQ(EngineDials[DialStripRpm].value, c.maximum);
    RefreshValues.rpm = (c.minimum + c.maximum) / 2;
    Paint();
    EXPECT_EQ(up(), White);
}

// A scale without extent: the needle rests at its start, a bar is full from its one
// value up and empty below it, and neither reaches past its place.
TEST_F(EnginePage, ZeroRangeDialsAndBarsDrawWithoutDividing) {
    SetScreen(ScreenFlightEms);
    InstrumentSetConfig = nullptr;
    EngineDialConfig[DialStripRpm].minimum = EngineDialConfig[DialStripRpm].maximum = 0;
    TankBar[0].min = TankBar[0].max = 500;
    const TDialItem& rpm = EngineDials[DialStripRpm];
    auto needleAt = [&](int degrees) {
        const double a = degrees * M_PI / 180;
        return At(rpm.cx + static_cast<int>(std::lround(30 * std::cos(a))),
                  rpm.cy + static_cast<int>(std::lround(30 * std::sin(a))));
    };
    // The tank column's height (80 full) and the pixel just above it.
    auto column = [&](int bar) {
        const TBarItem& b = EngineBars[bar];
        const int top = b.y + b.dy;
        return std::make_pair(ColumnHeight(b.x + 3, top + b.height - 1, Silver), At(b.x + 3, top - 1));
    };
    for (int32_t level : {600, 400}) {
        RefreshValues.fuelLevel[0] = level;
        SetWide(false);
        Paint();   // under UBSan a division by zero ends the test
        EXPECT_EQ(rpm.value, 0);
        EXPECT_EQ(needleAt(rpm.startAngle), White);
        EXPECT_NE(needleAt(rpm.endAngle), White);
        EXPECT_EQ(column(BarNarrowTank1), std::make_pair(level >= 500 ? 80 : 0, Bg)) << level;
        SetWide(true);
        Paint();
        EXPECT_EQ(column(BarWideFuel1), std::make_pair(level >= 500 ? 80 : 0, Bg)) << level;
    }
}

TEST_F(EnginePage, WideStripOilBarColoursFollowTheDialArcs) {
    SetScreen(ScreenFlightEms);
    SetWide(true);
    const TInstrumentConfig& c = EngineDialConfig[DialStripOilPress];
    ASSERT_GT(c.redStart, 0);
    RefreshValues.oilPress = c.redStart;
    Paint();
    EXPECT_EQ(At(585, 386), Red);   // bottom of the column at (582, 307..386)
    const TDisplayItem& box = EngineStripItems[StripBoxOilPress];
    EXPECT_EQ(At(box.x + box.width - 2, box.y + 2), Red);
    RefreshValues.oilPress = c.yellowStart;
    Paint();
    EXPECT_EQ(At(585, 386), Yellow);
    RefreshValues.oilPress = (c.greenStart + c.yellowStart) / 2;
    Paint();
    EXPECT_EQ(At(585, 386), White);
}

TEST_F(EnginePage, UncalibratedTankShowsCalEvenWhenItsChannelFails) {
    SetScreen(ScreenFlightEms);
    TankSetting[0].calibrated = 0;
    RefreshValues.fuelLevel[0] = NoValue;
    RefreshValues.fuelLevel[1] = NoValue;
    Paint();
    const int mw = FGFontManager::textwidth(Font16(), "  CAL  ");
    EXPECT_GT(Count(735, 70, 735 + mw, 86, Yellow), mw * 8);   // tank 1: CAL
    EXPECT_EQ(Count(735, 70, 735 + mw, 86, Red), 0);
    EXPECT_GT(Count(735, 208, 735 + mw, 224, Red), mw * 8);    // tank 2: ERR
}

// ---------------------------------------------------------------- thermocouples, annunciators

TEST_F(EnginePage, ThermocoupleWithoutSensorShowsNoBoxAndNoErr) {
    EngineGaugeConfig.egt[1].thermocouple = 0;   // cylinder 2's EGT (box at x 14)
    RefreshValues.thermo[2] = NoValue;           // and its channel fails
    Paint();
    const TDisplayItem& box = PageItems[RowThermo4 + 2];
    EXPECT_EQ(Count(box.x, box.y, box.x + box.width, box.y + box.height, White), 0);
    const int mw = FGFontManager::textwidth(Font16(), "  ERR  ");
    EXPECT_EQ(Count(78, 338, 78 + mw, 354, Red), 0);
    // The same slot with its thermocouple: the box shows "- - - " and the ERR mark.
    EngineGaugeConfig.egt[1].thermocouple = 2;
    Paint();
    EXPECT_GT(Count(78, 338, 78 + mw, 354, Red), mw * 8);
}

TEST_F(EnginePage, CanopyAutopilotAndGearTakeTheirSlots) {
    EngineGaugeConfig.canopyInput = 1;
    EngineGaugeConfig.gearUpInput = 1;
    EngineGaugeConfig.gearDownInput = 2;
    RefreshValues.inputBits = 0x1 | 0x2 | 0x4;   // canopy active, gear up active, gear down (active low) not
    AutopilotActive = 1;
    Paint();
    const FGBitmap* gear = MainPictures[PicGearUp];
    ASSERT_NE(gear, nullptr);
    // Third slot: y 211 + 70 = 281.
    int same = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 56; ++x) same += At(720 + x, 281 + y) == gear->pixels[y * gear->width + x];
    EXPECT_GT(same, 56 * 28 * 9 / 10);
    // Both gear inputs configured and neither active: the transit picture.
    RefreshValues.inputBits = 0x4;
    AutopilotActive = 0;
    Paint();
    const FGBitmap* transit = MainPictures[PicGearTransit];
    EXPECT_EQ(At(720 + 28, 211 + 3), transit->pixels[3 * transit->width + 28]);
    // Only gear down configured and inactive: nothing.
    EngineGaugeConfig.canopyInput = 0;
    EngineGaugeConfig.gearUpInput = 0;
    Paint();
    EXPECT_EQ(Count(720, 211, 776, 239, transit->pixels[3 * transit->width + 28]), 0);
}

TEST_F(EnginePage, InstrumentTemperatureBoxUntilItCools) {
    InstTempShown = 1;
    RefreshValues.instTemp = 812;
    Paint();
    const TDisplayItem& label = PageItems[RowInstTempLabel];
    EXPECT_EQ(label.x, 715);
    EXPECT_STREQ(label.text, "Inst.Temp.");
    EXPECT_STREQ(PageItems[RowInstTemp].text, "81.2 \xB0" "C");
    EXPECT_GT(Count(715, 403, 795, 443, Red), 40 * 20);
    RefreshValues.instTemp = 794;
    Paint();
    EXPECT_EQ(InstTempShown, 0);
    EXPECT_EQ(Count(715, 403, 795, 443, Red), 0);
}

TEST_F(EnginePage, InstrumentTemperatureOnAPageWithoutEngineRecords) {
    PageItems[RowInstTempLabel] = PageItems[RowInstTemp] = TDisplayItem{};
    SetScreen(ScreenFlight);
    InstTempShown = 1;
    RefreshValues.instTemp = 850;
    Paint();
    EXPECT_GT(Count(540, 353, 620, 393, Red), 40 * 20);
}

// ---------------------------------------------------------------- snapshots

TEST_F(EnginePage, SnapshotOfTheEnginePage) {
    EngineGaugeConfig.canopyInput = 1;
    EngineGaugeConfig.gearUpInput = EngineGaugeConfig.gearDownInput = 1;
    RefreshValues.inputBits = 0x1 | 0x4;
    RefreshValues.thermo[6] = ThermoBarsStrip[6].warn;   // EGT 4 warning
    RefreshValues.thermo[3] = NoValue;                   // CHT 2 failed
    RefreshValues.oilTemp = EngineDialConfig[DialOilTemp].yellowStart + 1;
    InstTempShown = 1;
    RefreshValues.instTemp = 805;
    Paint();
    Snapshot("engine_page.bmp");
    // The oil temperature just into its yellow arc colours its readout.
    const TInstrumentConfig& oil = EngineDialConfig[DialOilTemp];
    EXPECT_GT(Count(oil.cx - 60, oil.cy - 205, oil.cx + 60, oil.cy - 181, Yellow), 100);
    // The acknowledged over-temperature shows the instrument's temperature box.
    const TDisplayItem& inst = PageItems[RowInstTemp];
    EXPECT_LT(Count(inst.x, inst.y, inst.x + inst.width, inst.y + inst.height, Bg), inst.width * inst.height);
}

TEST_F(EnginePage, SnapshotOfTheFlightViewEngineStrip) {
    SetScreen(ScreenFlightEms);
    // Each shown strip needle's hub picture sits at its dial's centre, inside the strip.
    auto hubsShown = [&](int expected) {
        int hubs = 0;
        for (int dial = DialStripRpm; dial < DialCount; ++dial) {
            const TDialItem& n = EngineDials[dial];
            if (EngineDialConfig[dial].covered || !n.enabled) continue;
            ++hubs;
            EXPECT_GE(n.cx, 558) << dial;
            EXPECT_LT(Count(n.cx - 3, n.cy - 3, n.cx + 4, n.cy + 4, Bg), 49) << dial;
        }
        EXPECT_EQ(hubs, expected);
    };
    Paint();
    Snapshot("engine_strip.bmp");
    hubsShown(4);
    SetWide(true);
    RefreshValues.fuelPress = FuelPressLimits[3];
    RefreshValues.auxTemp = NoValue;
    Paint();
    Snapshot("engine_strip_wide.bmp");
    hubsShown(2);
    // The fuel pressure at its alarm limit turns its strip box red.
    const TDisplayItem& box = EngineStripItems[StripBoxFuelPress];
    EXPECT_EQ(At(box.x + box.width - 2, box.y + 2), Red);
}

}  // namespace
