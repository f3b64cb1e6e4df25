#include "flighthsi.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "aver_block.h"
#include "averdata.h"
#include "chandesc.h"
#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "page_assets.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellhooks.h"
#include "shellstate.h"

namespace {

constexpr FGPixel Bg = 0x203040;
constexpr FGPixel White = 0xFFFFFF, Black = 0x000000;
constexpr FGPixel NavGreen = 0x00C800, GpsBlue = 0x96CDFF, Magenta = 0xF000F0;
constexpr FGPixel Yellow = 0xFCE000, Red = 0xF20000, BoxGreen = 0x00F800, XpdrRed = 0xF80000;
constexpr int W = 800, H = 480;

uint32_t FakeClockMs = 0;
uint32_t FakeClock() { return FakeClockMs; }

void ResetNavState() {
    RefreshValues = {};
    TRefreshValues& r = RefreshValues;
    for (int32_t* v : {&r.navObs, &r.navFrom, &r.navTo, &r.navGsiValid, &r.navValid, &r.navGsiDef, &r.navCdiDef,
                       &r.navBta, &r.navBts, &r.navFreqS, &r.navFreqA, &r.gpsGroundSpeed, &r.gpsTrack, &r.gpsAlt,
                       &r.gpsDistance, &r.gpsCdi})
        *v = -9999;
    std::strcpy(r.navTitle, "VOR");
    DisplaySetting = {};
    ViewSetting = {};
    UnitsSetting = {};
    CommRuntime = {};
    XpdrRuntime = {};
    CompassSetting = {};
    for (TDevicePort& p : DevicePort) p = {};
    FlightHeading = {0, 0};
    FlightNavLinks = {0, 0, 0, 1};
    AutopilotActive = 0;
    PathStep = 0;
    TerrainViewOn = 0;
    ScreenType = ScreenFlight;
    StripIndex = 0;
    ResetHeadingGrace();
    FakeClockMs = 0;
    HeadingGraceClock = FakeClock;
}

class NavWindow {
public:
    FGDrawBuffer win{W, H, FG_TYPE_BITMAP, Bg};

    FGPixel At(int x, int y) const { return win.pixels[y * W + x]; }
    int Count(int x0, int y0, int x1, int y1, FGPixel c) const {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) n += At(x, y) == c;
        return n;
    }
    int CountNot(int x0, int y0, int x1, int y1, FGPixel c) const {
        return (x1 - x0) * (y1 - y0) - Count(x0, y0, x1, y1, c);
    }
    // Columns of row y in x0..x1 holding colour c.
    std::vector<int> Columns(int y, int x0, int x1, FGPixel c) const {
        std::vector<int> cols;
        for (int x = x0; x < x1; x++)
            if (At(x, y) == c) cols.push_back(x);
        return cols;
    }
    // Mean row of colour c in column x (-1 when none).
    int MeanRow(int x, int y0, int y1, FGPixel c) const {
        int sum = 0, n = 0;
        for (int y = y0; y < y1; ++y)
            if (At(x, y) == c) sum += y, ++n;
        return n ? sum / n : -1;
    }
    // Mean column of colour c in row y (-1 when none).
    int Centre(int y, int x0, int x1, FGPixel c) const {
        const std::vector<int> cols = Columns(y, x0, x1, c);
        if (cols.empty()) return -1;
        long sum = 0;
        for (int x : cols) sum += x;
        return static_cast<int>(sum / static_cast<long>(cols.size()));
    }
    void Clear() { win.clear(Bg); }
    void SaveBmp(const char* name) { SavePageSnapshot(win, name); }
    // The heading shown by the three digits of the heading window: each cell
    // is matched against the ten digit cells of the heading-digit picture.
    int HeadingDigits(int digitX) const {
        FGBitmap* pic = MainPictures[PicStovky];
        int value = 0;
        for (int i = 2; i >= 0; --i) {
            int best = -1;
            for (int k = 0; k <= 9 && best < 0; ++k) {
                bool same = true;
                int inked = 0;
                for (int y = 0; y < 32 && same; ++y)
                    for (int x = 0; x < 14 && same; ++x) {
                        const FGPixel p = pic->pixels[(1252 - 112 * k + y) * pic->width + x];
                        if (p == PageKeyColour) continue;
                        ++inked;
                        same = At(digitX - 16 * i + x, 1 + y) == p;
                    }
                if (same && inked > 0) best = k;
            }
            if (best < 0) return -1;
            value = value * 10 + best;
        }
        return value;
    }

    // Columns of the 10-degree ticks of the tape outside the heading window
    // (their top rows, which the 5-degree ticks do not reach).
    std::set<int> MajorTicks(int x0, int x1, int windowX) const {
        std::set<int> ticks;
        for (int x = x0; x < x1; ++x) {
            if (x >= windowX && x < windowX + 75) continue;
            if (At(x, 5 + 29) == White && At(x - 1, 5 + 29) != White) ticks.insert(x);
        }
        return ticks;
    }
    std::set<int> ExpectedTicks(int headingDeg, int centre, int x0, int x1, int windowX) const {
        std::set<int> ticks;
        for (int d = -60; d <= 420; d += 10) {
            const int x = centre + 8 * (d - headingDeg);
            if (x > x0 + 1 && x < x1 - 2 && (x < windowX - 1 || x >= windowX + 75)) ticks.insert(x);
        }
        return ticks;
    }
};

class NavTest : public ::testing::Test, public NavWindow {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    static void TearDownTestSuite() { FreeMainPictures(); }
    void SetUp() override {
        ASSERT_NE(MainPictures[PicKompas], nullptr);
        ResetNavState();
        AverReader = nullptr;
        MainWindow = &win;
    }
    void TearDown() override {
        MainWindow = nullptr;
        HeadingGraceClock = nullptr;
    }

};

// ---- with the measured-values block ----

class NavBlockTest : public AverBlockTest, public NavWindow {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    static void TearDownTestSuite() { FreeMainPictures(); }
    void SetUp() override {
        AverBlockTest::SetUp();
        ResetNavState();
        SubscribeDisplayChannels();
        MainWindow = &win;
    }
    void TearDown() override {
        MainWindow = nullptr;
        HeadingGraceClock = nullptr;
        AverBlockTest::TearDown();
    }
    void Put(uint32_t id, int32_t v) { ASSERT_GE(writer->SetVal(id, v), 0); }
    // An angle in tenths of a degree, whatever the channel's stored type.
    void PutAngle(uint32_t id, int32_t tenths) { ASSERT_GE(writer->SetVal(id, tenths / 10.0f), 0); }
    void Tick() {
        for (int i = 0; i < 3; ++i) aver->Tick();
    }
};

// ---- heading tape ----

TEST_F(NavTest, HeadingTapeShowsTheHeadingUnderTheLubberLine) {
    for (int deg : {90, 275, 0, 359}) {
        Clear();
        DrawHeadingTape(deg * 10);
        EXPECT_EQ(HeadingDigits(408), deg) << deg;
        EXPECT_EQ(MajorTicks(12, 788, 362), ExpectedTicks(deg, 398, 12, 788, 362)) << deg;
    }
    ScreenType = ScreenFlightNav;
    Clear();
    DrawHeadingTape(2750);
    EXPECT_EQ(HeadingDigits(268), 275);
    EXPECT_EQ(MajorTicks(7, 551, 222), ExpectedTicks(275, 259, 7, 551, 222));
    EXPECT_EQ(Count(560, 0, 800, 60, Bg), 240 * 60) << "the split tape stays left of the strip";
}

TEST_F(NavTest, HeadingRoundsToWholeDegreesAndWraps) {
    DrawHeadingTape(3596);   // 359.6 rounds to 360, shown as 000
    EXPECT_EQ(HeadingDigits(408), 0);
    Clear();
    DrawHeadingTape(-900);   // brought into 0..3599
    EXPECT_EQ(HeadingDigits(408), 270);
    Clear();
    DrawHeadingTape(3594);
    EXPECT_EQ(HeadingDigits(408), 359);
}

TEST_F(NavTest, HeadingBugSitsAtItsBearingAndStopsAtTheLimit) {
    DisplaySetting.hdgBugOn = 1;
    DisplaySetting.hdgBug = 20;          // 20 degrees right of 0: 160 px
    DrawHeadingBugs(0);
    EXPECT_EQ(Centre(42, 0, W, Magenta), 398 + 160);
    Clear();
    DisplaySetting.hdgBug = 170;         // beyond the tape: at the right limit
    DrawHeadingBugs(0);
    EXPECT_EQ(Centre(42, 0, W, Magenta), 785);
    Clear();
    DisplaySetting.hdgBug = -10;         // sign dropped: 10 degrees right
    DrawHeadingBugs(3500);               // heading 350: the short way, 20 degrees
    EXPECT_EQ(Centre(42, 0, W, Magenta), 398 + 160);
    Clear();
    DisplaySetting.hdgBugOn = 0;
    DrawHeadingBugs(0);
    EXPECT_EQ(Count(0, 0, W, H, Magenta), 0);
}

TEST_F(NavBlockTest, CourseMarkerFollowsTheNavigationSource) {
    DisplaySetting.bugsShown = 1;
    PutAngle(echNavObs, 300);            // 30 degrees: 240 px right
    PutAngle(echGPSBtw, 3300);           // 330 degrees: 240 px left
    Tick();
    ViewSetting.navSource = 1;
    DrawHeadingBugs(0);
    EXPECT_EQ(Centre(50, 0, W, NavGreen), 398 + 240);
    Clear();
    ViewSetting.navSource = 2;
    DrawHeadingBugs(0);
    EXPECT_EQ(Centre(50, 0, W, GpsBlue), 398 - 240);
    EXPECT_EQ(Count(0, 0, W, H, NavGreen), 0);
    Clear();
    ViewSetting.navSource = 3;           // APR: no marker
    DrawHeadingBugs(0);
    EXPECT_EQ(Count(0, 0, W, H, NavGreen), 0);
    ViewSetting.navSource = 1;
    DisplaySetting.bugsShown = 0;        // target switch off
    DrawHeadingBugs(0);
    EXPECT_EQ(Count(0, 0, W, H, NavGreen), 0);
}

TEST_F(NavTest, HeadingSourceBoxWithoutTheBlockSaysError) {
    FlightHeading = {1, 0};
    DrawHeadingTape(0);
    EXPECT_GT(Count(410, 28, 480, 50, Red), 100);
    Clear();
    FlightHeading = {0, 1};
    DrawHeadingTape(0);
    EXPECT_EQ(Count(410, 28, 480, 50, Red), 0);
    EXPECT_GT(Count(423, 25, 470, 45, GpsBlue), 100);
}

TEST_F(NavTest, AutopilotBoxAndSourceLabel) {
    DrawAutopilotBox(&win);
    DrawHsiSourceLabel(&win);
    EXPECT_EQ(Count(0, 400, W, H, BoxGreen), 0) << "autopilot off, no source";
    AutopilotActive = 1;
    DrawAutopilotBox(&win);
    EXPECT_GT(Count(5, 440, 9, 450, BoxGreen), 20) << "at x 5 without a source";
    for (int source : {1, 2, 3}) {
        ViewSetting.navSource = source;
        Clear();
        DrawAutopilotBox(&win);
        const std::vector<int> box = Columns(445, 0, W, BoxGreen);
        Clear();
        DrawHsiSourceLabel(&win);
        const std::vector<int> label = Columns(445, 0, W, BoxGreen);
        ASSERT_FALSE(box.empty());
        ASSERT_FALSE(label.empty());
        EXPECT_GE(box.front(), 85) << "from x 85 beside the source label";
        EXPECT_GT(box.front(), label.back()) << "never under the label";
        EXPECT_EQ(label.front(), 5);
    }
    Clear();
    FlightNavLinks.autopilotMode = 4;    // no such mode: nothing
    ViewSetting.navSource = 0;
    DrawAutopilotBox(&win);
    DrawHsiSourceLabel(&win);
    EXPECT_EQ(Count(0, 400, W, H, BoxGreen), 0);
    AutopilotActive = 0;
}

// ---- radio box ----

TEST_F(NavTest, RadioBoxRowsByThePresentDevices) {
    DrawRadioBox(true);
    EXPECT_EQ(CountNot(0, 0, W, H, Bg), 0) << "neither device: nothing, not even the box";

    DevicePort[6].flags = 0x80;   // COMM
    DevicePort[7].flags = 0x80;   // transponder
    CommRuntime.active = 118250000;
    CommRuntime.standby = 121500000;
    CommRuntime.memoryIndex = 2;
    XpdrRuntime.squawk = 0x7000;
    DrawRadioBox(true);
    EXPECT_EQ(CountNot(170, 320, 324, 404, Bg), 154 * 84) << "two-row box at (170, 320)";
    EXPECT_EQ(CountNot(0, 0, 170, H, Bg), 0);
    EXPECT_GT(Count(270, 344, 330, 362, Black), 30) << "memory channel, white on black";
    EXPECT_GT(Count(270, 364, 330, 380, Black), 30) << "transponder mode, white on black";

    Clear();
    FlightNavLinks.xpdrModeChoosing = 1;
    DevicePort[6].flags = 0;
    DrawRadioBox(false);
    EXPECT_EQ(CountNot(110, 358, 264, 407, Bg), 154 * 49) << "one-row box at (110, 358)";
    EXPECT_EQ(CountNot(110, 320, 264, 357, Bg), 0);
    EXPECT_GT(Count(210, 365, 264, 385, XpdrRed), 30) << "mode on red while being chosen";

    Clear();
    DevicePort[6].flags = 0x80;
    DevicePort[7].flags = 0;
    CommRuntime.memoryIndex = 255;   // no memory channel
    DrawRadioBox(false);
    EXPECT_EQ(Count(205, 380, 262, 400, Black), 0) << "no channel box";
}

// ---- rotated shapes and the 3-D path ----

TEST_F(NavTest, RotatedShapes) {
    DrawRotatedBar(400, 240, 0, 40, 6, true, Yellow);
    EXPECT_EQ(At(381, 240), Yellow);
    EXPECT_EQ(At(400, 244), Bg);
    Clear();
    DrawRotatedBar(400, 240, 90000, 40, 6, true, Yellow);
    EXPECT_EQ(At(400, 259), Yellow);
    EXPECT_EQ(At(410, 240), Bg);
    Clear();
    // 20 x 10 centred on (50, 0), turned a quarter round (0, 0), moved to (300, 200).
    DrawRotatedRect(50, 0, 300, 200, 90000, 20, 10, true, Yellow);
    EXPECT_EQ(At(300, 250), Yellow);
    EXPECT_EQ(At(350, 200), Bg);
}

TEST_F(NavTest, PathBoxesAnimateOnlyWhileEnabled) {
    Draw3DPath(0, 0, 0, 1000);
    EXPECT_EQ(Count(0, 0, W, H, BoxGreen), 0) << "no target, no source, no bug";
    EXPECT_EQ(PathStep, 0);
    DisplaySetting.bugsShown = 1;
    DisplaySetting.hdgBugOn = 1;
    DisplaySetting.altBug = 10000;   // 1000 m
    Draw3DPath(0, 0, 0, 1000);
    EXPECT_GT(Count(0, 0, W, H, BoxGreen), 100);
    EXPECT_EQ(PathStep, 5);
    // Level, on course and height: the nearest box (o = 80, scale 74) is
    // centred on (380, 240); its top edge spans 2 x 800 x 74 / 300 px.
    const std::vector<int> top = Columns(240 - 480 * 74 / 300, 0, W, BoxGreen);
    ASSERT_FALSE(top.empty());
    EXPECT_NEAR(top.front(), 380 - 800 * 74 / 300, 2);
    EXPECT_NEAR(top.back(), 380 + 800 * 74 / 300, 2);
    for (int i = 1; i < 40; ++i) Draw3DPath(0, 0, 0, 1000);
    EXPECT_EQ(PathStep, 0) << "back to 0 at 200";
    Draw3DPath(0, 0, 0, 1000);
    FlightHeading.missing = 1;
    Draw3DPath(0, 0, 0, 1000);
    EXPECT_EQ(PathStep, 0) << "the counter returns to 0 whenever the path is not drawn";
}

TEST_F(NavTest, PathTargetKeepsThreeHundredMetresOverTheTerrain) {
    DisplaySetting.bugsShown = 1;
    DisplaySetting.hdgBugOn = 1;
    DisplaySetting.altBug = 0;
    TerrainViewOn = 1;
    FlightNavLinks.terrainElevation = 700;  // metres, as the altitude tape takes it
    Draw3DPath(0, 0, 0, 1000);
    TerrainViewOn = 0;
    FlightNavLinks.terrainElevation = 0;
    // At 1000 m the target (700 + 300 m) is level with the aircraft: the nearest box
    // stands centred on (380, 240) as on an altitude bug at the aircraft's height.
    const std::vector<int> top = Columns(240 - 480 * 74 / 300, 0, W, BoxGreen);
    ASSERT_FALSE(top.empty());
    EXPECT_NEAR(top.front(), 380 - 800 * 74 / 300, 2);
    EXPECT_NEAR(top.back(), 380 + 800 * 74 / 300, 2);
}

TEST_F(NavBlockTest, ApproachSourceFollowsTheObsCourse) {
    DisplaySetting.bugsShown = 1;
    DisplaySetting.altBug = 10000;
    DisplaySetting.hdgBug = 250;
    PutAngle(echNavObs, 100);
    Tick();
    auto path = [&](int source) {
        ViewSetting.navSource = source;
        PathStep = 0;
        Clear();
        Draw3DPath(0, 0, 0, 1000);
        return std::vector<FGPixel>(win.pixels, win.pixels + W * H);
    };
    const std::vector<FGPixel> vor = path(1);
    EXPECT_EQ(path(3), vor);
    DisplaySetting.hdgBugOn = 1;
    EXPECT_NE(path(0), vor) << "without a source the path follows the heading bug";
    ViewSetting.navSource = 3;
    Clear();
    DrawHeadingBugs(0);
    EXPECT_EQ(Count(0, 46, W, 60, NavGreen) + Count(0, 46, W, 60, GpsBlue), 0) << "no course marker for APR";
    DrawHsiSourceLabel(&win);
    EXPECT_GT(Count(5, 440, 40, 455, BoxGreen), 50);
    PathStep = INT32_MAX;           // a counter out of its range starts again
    Draw3DPath(0, 0, 0, 1000);
    EXPECT_EQ(PathStep, 5);
    ViewSetting.navSource = 2;      // no bearing to the waypoint: no path, the counter restarts
    Clear();
    Draw3DPath(0, 0, 0, 1000);
    EXPECT_EQ(Count(0, 0, W, H, BoxGreen), 0);
    EXPECT_EQ(PathStep, 0);
    ViewSetting.navSource = 1;
    PathStep = INT32_MAX;           // a counter out of its range starts again
    Draw3DPath(0, 0, 0, 1000);
    EXPECT_EQ(PathStep, 5);
}

TEST_F(NavTest, NegativeFrequencyShowsNoValue) {
    DevicePort[6].flags = 0x80;
    CommRuntime.active = -5;
    CommRuntime.standby = 121500000;
    CommRuntime.memoryIndex = 255;
    DrawRadioBox(true);
    FGDrawBuffer ref{W, H, FG_TYPE_BITMAP, Bg};
    MainWindow = &ref;
    CommRuntime.active = 0;
    DrawRadioBox(true);
    MainWindow = &win;
    int differ = 0;
    for (int i = 0; i < W * H; ++i) differ += win.pixels[i] != ref.pixels[i];
    EXPECT_GT(differ, 20) << "\"- - -\" instead of a garbled number";
}

// ---- HSI strip without the block ----

TEST_F(NavTest, NavStripTitleStatesAndPlaceholders) {
    ScreenType = ScreenFlightNav;
    StripIndex = 1;
    DrawHsiStrip();
    EXPECT_STREQ(NavStripItems[NavTitle].text, "NAV - NO DATA");
    EXPECT_EQ(At(600, 1), Red);
    EXPECT_STREQ(NavStripItems[NavIdent].text, "- - -");
    EXPECT_STREQ(NavStripItems[NavFreqA].text, "- - -");
    EXPECT_EQ(NavStripItems[NavCrs].value, ItemNoValue);
    EXPECT_STREQ(NavStripItems[NavCrs].text, "- - -");
    EXPECT_GT(Count(740, 170, 790, 190, Red), 100) << "\" NAV \" flag";

    RefreshValues.navValid = 0;
    DrawHsiStrip();
    EXPECT_STREQ(NavStripItems[NavTitle].text, "NAV - NO ACTIVE");
    EXPECT_EQ(At(600, 1), Yellow);

    RefreshValues.navValid = 1;
    RefreshValues.navObs = 1234;
    RefreshValues.navFreqA = 11390;
    RefreshValues.navFreqS = -1;
    std::strcpy(RefreshValues.navIdent, "OKL");
    DrawHsiStrip();
    EXPECT_STREQ(NavStripItems[NavTitle].text, "VOR");
    EXPECT_EQ(At(600, 1), NavGreen);
    EXPECT_EQ(NavStripItems[NavCrs].value, 123);
    EXPECT_STREQ(NavStripItems[NavFreqA].text, "113.90");
    EXPECT_STREQ(NavStripItems[NavFreqS].text, "- - -");
    EXPECT_STREQ(NavStripItems[NavIdent].text, "OKL");
    EXPECT_STREQ(NavStripItems[NavHeading].text, "000");
    EXPECT_EQ(At(558, 300), Black) << "strip filled black from x 558";
}

TEST_F(NavTest, CdiDeflectionMovesTheBarAcrossTheCourse) {
    ScreenType = ScreenFlightNav;
    StripIndex = 1;
    RefreshValues.navValid = 1;
    RefreshValues.navObs = 0;   // course straight up at heading 0
    for (int def : {0, 25, 50, -50, 100, -300}) {
        RefreshValues.navCdiDef = def;
        Clear();
        DrawHsiStrip();
        const int expected = std::max(-40, std::min(40, def * 400 / 1000));
        EXPECT_NEAR(Centre(290, 560, 800, NavGreen), 670 + expected, 1) << def;
        EXPECT_EQ(Count(740, 170, 790, 190, Red), 0);
    }
    // Course 090: the bar lies across the card, moved down for a positive value.
    RefreshValues.navObs = 900;
    RefreshValues.navCdiDef = 50;
    Clear();
    DrawHsiStrip();
    EXPECT_NEAR(MeanRow(650, 250, 370, NavGreen), 310 + 20, 1);
}

TEST_F(NavBlockTest, CardTurnsWithTheHeadingFromTheTrack) {
    ScreenType = ScreenFlightGps;
    StripIndex = 2;
    FlightHeading.fromTrack = 1;
    // Card label j (0 N, 3 E, 9 W) centred on (cx, cy)?
    FGBitmap* labels = MainPictures[PicStupniceHsi];
    ASSERT_NE(labels, nullptr);
    auto labelAt = [&](int j, int cx, int cy) {
        int inked = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) {
                const FGPixel p = labels->pixels[(28 * j + 3 + y) * labels->width + x];
                if (p == labels->get_colorkey()) continue;
                ++inked;
                if (At(cx - 16 + x, cy - 8 + y) != p) return false;
            }
        return inked > 10;
    };
    PutAngle(echGPSTrk, 0);
    PutAngle(echInercialAzimut, 1800);   // not the card's heading: the track is
    Tick();
    DrawHsiStrip();
    EXPECT_TRUE(labelAt(0, 670, 243)) << "N at the top at heading 000";
    EXPECT_TRUE(labelAt(9, 603, 310)) << "W on the left";
    EXPECT_STREQ(GpsStripItems[GpsHeading].text, "000");
    PutAngle(echGPSTrk, 900);
    Tick();
    Clear();
    DrawHsiStrip();
    EXPECT_TRUE(labelAt(3, 670, 243)) << "E at the top at heading 090";
    EXPECT_TRUE(labelAt(0, 603, 310)) << "N on the left";
    EXPECT_FALSE(labelAt(0, 670, 243));
    EXPECT_STREQ(GpsStripItems[GpsHeading].text, "090");
    FlightHeading.fromTrack = 0;
    Clear();
    DrawHsiStrip();
    EXPECT_TRUE(labelAt(6, 670, 243)) << "S at the top at azimuth 180";
    EXPECT_STREQ(GpsStripItems[GpsHeading].text, "180");
}

TEST_F(NavBlockTest, SnapshotOfTheStrips) {
    // A full split frame: tape, NAV strip with its rows, radio box, labels.
    ScreenType = ScreenFlightNav;
    StripIndex = 1;
    DisplaySetting.hdgBugOn = DisplaySetting.bugsShown = 1;
    DisplaySetting.hdgBug = 300;
    ViewSetting.navSource = 1;
    AutopilotActive = 1;
    FlightNavLinks.autopilotMode = 2;
    RefreshValues.navValid = 1;
    RefreshValues.navObs = 2850;
    RefreshValues.navCdiDef = 30;
    RefreshValues.navTo = 1;
    RefreshValues.navBta = 3100;
    RefreshValues.navBts = 1200;
    RefreshValues.navFreqA = 11390;
    RefreshValues.navFreqS = 11670;
    std::strcpy(RefreshValues.navIdent, "OKL");
    DevicePort[6].flags = DevicePort[7].flags = 0x80;
    CommRuntime.active = 118250000;
    CommRuntime.standby = 121500000;
    CommRuntime.memoryIndex = 2;
    XpdrRuntime.squawk = 0x7000;
    XpdrRuntime.mode = 1;
    FlightHeading.fromTrack = 1;
    PutAngle(echGPSTrk, 2750);
    PutAngle(echNavObs, 2850);
    Tick();
    DrawHeadingTape(2750);
    DrawHsiStrip();
    DrawRadioBox(false);
    DrawAutopilotBox(&win);
    DrawHsiSourceLabel(&win);
    DrawStripItems(NavStripItems, NavTitle, NavStripRows - 1);
    SaveBmp("flighthsi_nav.bmp");
    EXPECT_EQ(HeadingDigits(268), 275);

    Clear();
    ScreenType = ScreenFlightGps;
    StripIndex = 2;
    ViewSetting.navSource = 2;
    Put(echGPSValid, 0x103);
    PutAngle(echGPSCrs, 2600);
    PutAngle(echGPSBtw, 2500);
    Tick();
    RefreshValues.gpsCdi = 5;
    RefreshValues.gpsTrack = 2750;
    RefreshValues.gpsDistance = 2500;
    RefreshValues.gpsAlt = 1200;
    RefreshValues.gpsGroundSpeed = 2000;
    std::strcpy(RefreshValues.gpsIdent, "LKPR");
    DrawHeadingTape(2750);
    DrawHsiStrip();
    DrawStripItems(GpsStripItems, GpsTitle, GpsStripRows - 1);
    SaveBmp("flighthsi_gps.bmp");
    EXPECT_STREQ(GpsStripItems[GpsTitle].text, "GPS");
    EXPECT_EQ(GpsStripItems[GpsCrs].value, 260);
    EXPECT_EQ(GpsStripItems[GpsBrg].value, 250);

    // The full-width page: tape with the heading missing, path boxes, radio box,
    // the annunciation without a GPS position, the autopilot box.
    Clear();
    ScreenType = ScreenFlight;
    FlightHeading = {0, 0};
    ViewSetting.navSource = 1;
    PutAngle(echNavObs, 1100);
    Tick();
    DisplaySetting.altBug = 9000;
    PathStep = 60;
    Draw3DPath(900, 150, 30, 1000);
    FlightHeading = {1, 0};   // the frame draws heading 0 then
    FakeClockMs = 40000;      // past the compass's grace time: ERR
    DrawHeadingTape(0);
    DrawRadioBox(true);
    DrawInputWarning();
    DrawAutopilotBox(&win);
    DrawHsiSourceLabel(&win);
    SaveBmp("flighthsi_full.bmp");
    EXPECT_GT(Count(0, 60, W, 300, BoxGreen), 100);
    EXPECT_GT(Count(410, 28, 480, 50, Red), 100);
    EXPECT_STREQ(GpsStripItems[GpsDis].text, "25.00");
    EXPECT_EQ(GpsStripItems[GpsAlt].value, 1200 * 328 / 100);
    EXPECT_EQ(GpsStripItems[GpsGs].value, 200 * 540 / 1000);
    AutopilotActive = 0;
}


TEST_F(NavBlockTest, HeadingSourceBoxStates) {
    FlightHeading = {1, 0};
    Put(echInternalInputStatus, 0x2000);   // compass calibrating
    DrawHeadingSourceBox(410, 28, 1, 423, 25, 0);
    EXPECT_GT(Count(410, 28, 480, 50, Yellow), 100) << "CAL";
    Clear();
    CompassSetting.calibFlags = 0x2;      // notice acknowledged: nothing
    DrawHeadingSourceBox(410, 28, 1, 423, 25, 0);
    EXPECT_EQ(CountNot(0, 0, W, H, Bg), 0);
    Put(echInternalInputStatus, 0);
    FakeClockMs = 30000;                   // still within the grace time
    DrawHeadingSourceBox(410, 28, 1, 423, 25, 0);
    EXPECT_GT(Count(410, 28, 480, 50, 0xFF8C00), 100) << "CON";
    Clear();
    FakeClockMs = 30001;
    DrawHeadingSourceBox(410, 28, 1, 423, 25, 0);
    EXPECT_GT(Count(410, 28, 480, 50, Red), 100) << "ERR once the grace is over";
    Clear();
    FakeClockMs = 0;                       // latched for good
    DrawHeadingSourceBox(410, 28, 1, 423, 25, 0);
    EXPECT_GT(Count(410, 28, 480, 50, Red), 100);
}

TEST_F(NavBlockTest, LocalizerDoublesTheDeviationAndShowsTheGlideslope) {
    ScreenType = ScreenFlightNav;
    StripIndex = 1;
    RefreshValues.navValid = 1;
    RefreshValues.navObs = 0;
    Put(echNavLocDetect, 0);
    Tick();
    DrawHsiStrip();   // the CDI course takes the OBS course
    Put(echNavLocDetect, 1);
    Tick();
    RefreshValues.navCdiDef = 30;          // 30 x 2 x 400 = 24 px
    RefreshValues.navGsiValid = 1;
    RefreshValues.navGsiDef = 7;           // 7 x 142857 / 20000 = 49 -> 41 px down
    DrawHsiStrip();
    EXPECT_NEAR(Centre(290, 560, 800, NavGreen), 670 + 24, 1);
    EXPECT_NEAR(MeanRow(786, 200, 420, Yellow), 310 + 41, 1);
    EXPECT_EQ(Count(750, 200, 790, 220, Red), 0);

    RefreshValues.navCdiDef = 100;         // 80000: limited to 40 px
    RefreshValues.navGsiValid = 0;
    Clear();
    DrawHsiStrip();
    EXPECT_NEAR(Centre(290, 560, 800, NavGreen), 670 + 40, 1);
    EXPECT_GT(Count(750, 200, 790, 220, Red), 50) << "\" GS \" flag";

    // The CDI course holds while the localizer is detected.
    RefreshValues.navObs = 900;
    DrawHsiStrip();
    EXPECT_EQ(NavStripItems[NavCrs].value, 0);
    Put(echNavLocDetect, 0);
    Tick();
    DrawHsiStrip();
    EXPECT_EQ(NavStripItems[NavCrs].value, 90);
}

TEST_F(NavBlockTest, GpsScaleFollowsTheDistance) {
    ScreenType = ScreenFlightGps;
    StripIndex = 2;
    Put(echGPSValid, 0x103);
    Put(echGPSCrs, 0);
    Tick();
    RefreshValues.gpsCdi = -20;            // deviation -20 x factor, shown on the left
    struct Case {
        int32_t distance;  // hundredths of a km
        int px;
    } cases[] = {{369, 32}, {371, 6}, {5558, 1}, {-9999, 6}};   // 1.99 NM, 2.00 NM, 30.01 NM, none
    for (const Case& c : cases) {
        RefreshValues.gpsDistance = c.distance;
        Clear();
        DrawHsiStrip();
        EXPECT_NEAR(Centre(290, 560, 800, GpsBlue), 670 - c.px, 1) << c.distance;
        EXPECT_GT(CountNot(790, 406, 800, 426, Black), 0) << "the range ends inside the screen";
    }
    EXPECT_STREQ(GpsStripItems[GpsTitle].text, "GPS");
    EXPECT_EQ(At(600, 1), GpsBlue);

    RefreshValues.gpsCdi = -9999;
    DrawHsiStrip();
    EXPECT_STREQ(GpsStripItems[GpsTitle].text, "GPS - NO ACTIVE");
    Put(echGPSValid, 0x003);               // fix without the valid bit
    Tick();
    DrawHsiStrip();
    EXPECT_STREQ(GpsStripItems[GpsTitle].text, "GPS - NO VALID");
    EXPECT_EQ(At(600, 1), Yellow);
}

TEST_F(NavBlockTest, InputWarningNamesTheFirstMissingInput) {
    auto drawn = [&]() {
        Clear();
        DrawInputWarning();
        return CountNot(150, 270, 260, 340, Bg);
    };
    EXPECT_GT(drawn(), 100) << "NO GPS";
    Put(echGPSLat, 5000000);
    Put(echGPSLon, 1400000);
    Put(echInercialAzimut, 900);
    Tick();
    FlightNavLinks.terrainFound = 1;
    EXPECT_EQ(drawn(), 0);
    FlightNavLinks.terrainFound = 0;
    EXPECT_GT(drawn(), 100) << "NO DATA";
}

TEST_F(NavBlockTest, TransponderFlightLevelAndStatus) {
    DevicePort[7].flags = 0x80;
    XpdrRuntime.mode = 2;
    Put(echExtDevXpdrError, 0x10007);
    Put(echExtDevXpdrStatus, 1);
    DrawRadioBox(true);
    EXPECT_GT(Count(250, 380, 316, 400, Red), 10) << "error right-aligned to B + 144";
    EXPECT_GT(Count(246, 364, 266, 384, Black), 20) << "\" R \" white on black";
}

}  // namespace

namespace {

// ---- the paint of the main window ----

TEST_F(NavTest, PaintDrawsTheLabelsAndTheStripRows) {
    FGEvent paint{};
    paint.type = FGE_REDRAW;
    AutopilotActive = 1;
    ScreenType = ScreenFlight;
    OnMainWindowEvent(nullptr, &paint);
    EXPECT_GT(Count(5, 440, 9, 450, BoxGreen), 20) << "autopilot box on the flight page";

    Clear();
    ScreenType = ScreenFlightNav;
    StripIndex = 1;
    ViewSetting.navSource = 1;
    OnMainWindowEvent(nullptr, &paint);
    EXPECT_GT(Count(5, 440, 9, 450, BoxGreen), 20) << "source label";
    EXPECT_GT(Count(85, 440, W, 460, BoxGreen), 20) << "autopilot box beside it";
    EXPECT_GT(CountNot(560, 20, 800, 140, Bg), 50) << "NAV rows";

    Clear();
    ScreenType = ScreenFlightGps;
    StripIndex = 2;
    OnMainWindowEvent(nullptr, &paint);
    EXPECT_GT(CountNot(560, 20, 800, 140, Bg), 50) << "GPS rows";
    AutopilotActive = 0;
}

}  // namespace
