#include "flightpage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "aver_block.h"
#include "averdata.h"
#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "flighttapes.h"
#include "gui_terr/glview.h"
#include "hkmeasure.h"
#include "initialsetting.h"
#include "lookup.h"
#include "page_assets.h"
#include "refresh.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "units.h"

namespace {

constexpr FGPixel White = 0xFFFFFF;
constexpr FGPixel ErrRed = 0xF20000;
constexpr FGPixel Grey = 0x808080;
constexpr FGPixel Bg = 0x123456;

bool IsDark(FGPixel p) {
    if (p == PageKeyColour) return false;   // picture pixels carry alpha 255 in the top byte
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r + g + b < 300;
}

// Pixels that differ in darkness between a block of the window and a block of a picture.
int Mismatch(const FGDrawBuffer& win, int x, int y, const FGDrawBuffer* pic, int sx, int sy, int w, int h) {
    int bad = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const bool a = IsDark(win.pixels[(y + j) * win.width + x + i]);
            const int py = sy + j;
            const bool b = py >= 0 && py < pic->height && IsDark(pic->pixels[py * pic->width + sx + i]);
            bad += a != b;
        }
    return bad;
}

// The digit (0..9) whose block of the strip matches a block of the window best;
// rowOf gives the strip row of digit k. *bestBad gets the mismatch.
template <typename RowOf>
int ReadDigit(const FGDrawBuffer& win, int x, int y, int w, int h, int picture, int sx, RowOf rowOf, int* bestBad) {
    const FGDrawBuffer* pic = MainPictures[picture];
    int best = -1, bestCount = INT_MAX, ink = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) ink += IsDark(win.pixels[(y + j) * win.width + x + i]);
    if (!pic || ink == 0) return -1;
    for (int k = 0; k <= 9; ++k) {
        const int bad = Mismatch(win, x, y, pic, sx, rowOf(k), w, h);
        if (bad < bestCount) {
            bestCount = bad;
            best = k;
        }
    }
    if (bestBad) *bestBad = bestCount;
    return best;
}

class FlightPageTest : public AverBlockTest {
protected:
    static void SetUpTestSuite() {
        LoadPageAssets();
        char old[PATH_MAX];
        ASSERT_NE(getcwd(old, sizeof old), nullptr);
        ASSERT_EQ(chdir(RUN_DIR), 0);
        LoadTapePictures();
        ASSERT_EQ(chdir(old), 0);
    }
    static void TearDownTestSuite() {
        FreeTapePictures();
        FreeMainPictures();
    }

    void SetUp() override {
        AverBlockTest::SetUp();
        static const int32_t Channels[][2] = {
            {echAltitudeQNH, 1}, {echSpeedIas, 6},     {echInercialSlip, 1}, {echInercialSideSlip, 7},
            {echInercialAccPilot, 6}, {echSpeedVertical, 6}, {echInercialAzimut, 6}, {echInercialPitch, 6},
            {echInercialRoll, 6}, {echGPSTrk, 6},      {echGPSLat, 10},      {echGPSLon, 10},
        };
        for (const auto& c : Channels) ASSERT_EQ(aver->AddChannel(static_cast<uint32_t>(c[0]), c[1], 0, 0), 0);
        aver->Sort();
        slipCurve.rangeMode = SlipCurveRangeMode;
        slipCurve.AddPoints(SlipCurvePoints, TInterpTable::MaxPoints);
        SlipCurve = &slipCurve;

        MainWindow = &win;
        ScreenType = ScreenFlight;
        SetupModeActive = 0;
        TerrainViewOn = 0;
        LayoutCaps = CapFlightPage;
        UnitsSetting = {};
        UnitsSetting.airspeed = UnitKnots;
        UnitsSetting.altitude = UnitFeet;
        UnitsSetting.verticalSpeed = UnitFeetPerMin;
        AirspeedLimits = {5000, 8500, 12000, 15000};   // knots x 100
        DisplaySetting = {};
        ViewSetting = {};
        RefreshValues = {};
        RefreshValues.tas = RefreshValues.oat = RefreshValues.iat = RefreshValues.auxTemp = NoValue;
        std::strcpy(UnitTexts.tasLabel, "TAS KTS");
        std::strcpy(UnitTexts.oat, "OAT \xB0""C ");
        FlightPageHooks = {};
        FlightSwitches = {1, 0, 0, 1};
        FlightStatistics = {};
        win.clear(Bg);
    }

    void TearDown() override {
        MainWindow = nullptr;
        SlipCurve = nullptr;
        AverBlockTest::TearDown();
    }

    void Put(uint32_t id, float v) { ASSERT_GE(writer->SetVal(id, v), 0) << std::hex << id; }
    void Tick() { aver->Tick(); }
    // A valid attitude, heading and the rest of the flight values.
    void Fly(float pitch, float roll) {
        Put(echInercialPitch, pitch);
        Put(echInercialRoll, roll);
        Put(echInercialAzimut, 90.0f);
        Put(echInercialSlip, 0.0f);
        Put(echInercialSideSlip, 0.0f);
        Put(echInercialAccPilot, 1.0f);
        Put(echSpeedVertical, 0.0f);
        Put(echAltitudeQNH, 1000.0f);
        Put(echSpeedIas, 200.0f);
        Tick();
    }

    FGPixel At(int x, int y) const { return win.pixels[y * win.width + x]; }
    // Rows of column x within y0..y1 that hold colour c.
    std::vector<int> RowsOf(int x, int y0, int y1, FGPixel c) const {
        std::vector<int> rows;
        for (int y = y0; y <= y1; ++y)
            if (At(x, y) == c) rows.push_back(y);
        return rows;
    }
    // First row from y0 downwards in column x whose colour is c.
    int FirstRow(int x, int y0, int y1, FGPixel c) const {
        for (int y = y0; y <= y1; ++y)
            if (At(x, y) == c) return y;
        return -1;
    }
    int Count(int x, int y, int w, int h, FGPixel c) const {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) n += (At(i, j) & 0xFFFFFF) == c;
        return n;
    }

    FGPixel Sky() const { return DisplayPalette.PalSkyBlue; }
    FGPixel Ground() const { return DisplayPalette.PalBrown; }

    TInterpTable slipCurve;
    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, Bg};
};

// ---------------------------------------------------------------- attitude

TEST_F(FlightPageTest, ChannelsReadInTenths) {
    Fly(5.0f, -30.0f);
    DrawFlightPage();
    EXPECT_EQ(FlightFrame.pitch, 50);
    EXPECT_EQ(FlightFrame.roll, -300);
    EXPECT_EQ(FlightFrame.heading, 900);
    EXPECT_EQ(FlightFrame.altitude, 1000);
    EXPECT_FALSE(FlightErrors.pitch || FlightErrors.roll || FlightErrors.headingMissing);
}

TEST_F(FlightPageTest, LevelHorizonThroughTheCentre) {
    Fly(0.0f, 0.0f);
    DrawFlightPage();
    // Sky above and ground below the centre line, across the page.
    for (int x : {20, 200, 600, 700}) {
        EXPECT_EQ(At(x, 236), Sky()) << x;
        EXPECT_EQ(At(x, 244), Ground()) << x;
    }
    // 10 and 5 degree lines 11.44 px a degree above and below.
    EXPECT_EQ(At(320, 126), White);
    EXPECT_EQ(At(320, 353), White);   // rounded toward zero: 113 px
    EXPECT_EQ(At(335, 183), White);
    EXPECT_NE(At(320, 183), White);   // 5-degree lines are shorter
    // The +10 number sits right of the line.
    EXPECT_GT(Count(492, 110, 32, 20, White), 20);
    // Bank pointer straight above the centre on the fixed index.
    EXPECT_EQ(At(402, 130), White);
    EXPECT_EQ(At(400, 140), White);
    // Ticks of the bank scale at 30 degrees either side, radius 105..117.
    EXPECT_EQ(At(400 + 55, 240 - 95), White);
    EXPECT_EQ(At(400 - 55, 240 - 95), White);
}

TEST_F(FlightPageTest, BankOf30DegreesTurnsHorizonAndScale) {
    Fly(0.0f, 30.0f);
    DrawFlightPage();
    // Right bank: the horizon rises to the right, 30 degrees.
    const int left = FirstRow(200, 240, 464, Ground()), right = FirstRow(600, 31, 464, Ground());
    EXPECT_NEAR(left, 240 + 115, 2);
    EXPECT_NEAR(right, 240 - 115, 2);
    // The ladder's horizon line, 3 px wide, at ladder x -80.
    const std::vector<int> rows = RowsOf(331, 270, 290, White);
    ASSERT_FALSE(rows.empty());
    EXPECT_NEAR((rows.front() + rows.back()) / 2.0, 280, 1.5);
    EXPECT_GE(rows.size(), 3u);
    // The bank pointer has turned with the scale to 120 degrees.
    EXPECT_EQ(At(345, 144), White);
    EXPECT_NE(At(402, 130), White);
    EXPECT_EQ(At(400, 140), White);   // the fixed index stays
}

TEST_F(FlightPageTest, ClimbAndDescentMoveTheHorizon) {
    Fly(10.0f, 0.0f);
    DrawFlightPage();
    EXPECT_NEAR(FirstRow(200, 31, 464, Ground()), 353, 1);
    EXPECT_EQ(At(335, 240 + 56), White);   // +5 line below the centre
    win.clear(Bg);
    Fly(-10.0f, 0.0f);
    DrawFlightPage();
    EXPECT_NEAR(FirstRow(200, 31, 464, Ground()), 126, 1);
    EXPECT_EQ(At(335, 240 - 57), White);
}

// The attitude alone in the type-2 viewport for a pitch in degrees.
std::vector<FGPixel> Attitude(FGDrawBuffer& win, double pitchDeg, double rollDeg = 0) {
    win.clear(Bg);
    win.set_clip_rect(161, 84, 475, 336);
    DrawAttitude(static_cast<float>(pitchDeg * 3.14159265358979 / 180.0),
                 static_cast<float>(rollDeg * 3.14159265358979 / 180.0));
    win.set_clip_rect(0, 0, 800, 480);
    return std::vector<FGPixel>(win.pixels, win.pixels + 800 * 480);
}

TEST_F(FlightPageTest, PastTheVerticalTheAttitudeTurnsOver) {
    // Past 90 degrees the aircraft is upside down: pitch 170 is the nose 10 degrees
    // above the horizon, rolled over, and the thick horizon line lies 114 px above
    // the centre.
    EXPECT_EQ(Attitude(win, 170), Attitude(win, 10, 180));
    EXPECT_EQ(Count(330, 122, 1, 8, White), 3);
    EXPECT_EQ(Attitude(win, -160), Attitude(win, -20, 180));
    EXPECT_EQ(Attitude(win, 160, 30), Attitude(win, 20, 210));
    // The flat view behind it turns over too: sky below, ground at the top left.
    win.clear(Bg);
    Fly(160.0f, 30.0f);
    DrawFlightPage();
    EXPECT_EQ(At(400, 200), Sky());
    EXPECT_EQ(At(300, 420), Sky());
    EXPECT_EQ(At(20, 100), Ground());
    EXPECT_EQ(RoundDiv1000(1500), 2);
    EXPECT_EQ(RoundDiv1000(-1500), -2);
    EXPECT_EQ(RoundDiv1000(499), 0);
    EXPECT_EQ(RoundDiv1000(-499), 0);
}

TEST_F(FlightPageTest, LadderNumbersAndTicks) {
    auto whiteIn = [&](int x, int y, int w, int h) { return Count(x, y, w, h, White); };
    // Pitch 100 degrees: the line through the centre carries "80" from the picture.
    win.clear(Bg);
    win.set_clip_rect(161, 84, 475, 336);
    EXPECT_EQ(DrawPitchLadder(1000, 0), 1100);
    win.set_clip_rect(0, 0, 800, 480);
    const FGDrawBuffer* numbers = MainPictures[PicStupniceAngle];
    ASSERT_NE(numbers, nullptr);
    int differ = 0, ink = 0;
    for (int j = 0; j < 20; ++j)
        for (int i = 0; i < 32; ++i) {
            const bool drawn = (At(492 + i, 233 + j) & 0xFFFFFF) == White;
            const bool glyph = (numbers->pixels[(28 * 8 + 3 + j) * numbers->width + i] & 0xFFFFFF) == White;
            differ += drawn != glyph;
            ink += glyph;
        }
    EXPECT_GT(ink, 20);
    EXPECT_EQ(differ, 0);
    // Pitch 90: the line through the centre has neither ticks nor numbers.
    win.clear(Bg);
    win.set_clip_rect(161, 84, 475, 336);
    DrawPitchLadder(900, 0);
    win.set_clip_rect(0, 0, 800, 480);
    EXPECT_EQ(At(400, 240), White);
    EXPECT_EQ(whiteIn(492, 225, 32, 30), 0);
    EXPECT_EQ(whiteIn(310, 241, 1, 10) + whiteIn(310, 230, 1, 10), 0);
    // The +10 line's ticks point down towards the horizon, at both ends.
    win.clear(Bg);
    win.set_clip_rect(161, 84, 475, 336);
    DrawPitchLadder(0, 0);
    win.set_clip_rect(0, 0, 800, 480);
    EXPECT_EQ(whiteIn(310, 127, 1, 8), 8);
    EXPECT_EQ(whiteIn(490, 127, 1, 8), 8);
    EXPECT_EQ(whiteIn(310, 118, 1, 8), 0);
    EXPECT_GT(whiteIn(278, 119, 32, 20), 20);   // left number
}

TEST_F(FlightPageTest, MissingAttitudeIsGreyWithErrors) {
    DrawFlightPage();
    EXPECT_TRUE(FlightErrors.pitch && FlightErrors.roll && FlightErrors.headingMissing);
    EXPECT_EQ(At(100, 300), Grey);
    EXPECT_GT(Count(330, 210, 140, 20, ErrRed), 50);   // ERR PITCH
    EXPECT_GT(Count(330, 150, 140, 20, ErrRed), 50);   // ERR ROLL
    EXPECT_GT(Count(730, 230, 40, 20, ErrRed), 30);    // vertical speed
    EXPECT_GT(Count(382, 426, 40, 20, ErrRed), 30);    // slip
    // The GPS track stands in for the heading.
    Put(echGPSTrk, 45.0f);
    Tick();
    DrawFlightPage();
    EXPECT_TRUE(FlightErrors.headingFromTrack);
    EXPECT_FALSE(FlightErrors.headingMissing);
    EXPECT_EQ(FlightFrame.heading, 450);
}

TEST_F(FlightPageTest, TerrainViewGetsTheAttitude) {
    static int calls = 0, lastFlags = -1;
    calls = 0;
    TGLViewInput input{};
    FlightPageHooks.glInput = &input;
    FlightPageHooks.openGLPaint = [](int32_t flags) {
        ++calls;
        lastFlags = flags;
        MainWindow->clear(0x000001);
        return 0;
    };
    Fly(3.0f, -12.0f);
    DrawFlightPage();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lastFlags, GLPaintTerrainOff);
    EXPECT_EQ(input.pitch, 30);
    EXPECT_EQ(input.roll, -120);
    EXPECT_EQ(input.heading, 900);
    EXPECT_EQ(input.altitude, 1000);
    EXPECT_EQ(input.latitude, 0);   // no position
    EXPECT_EQ(At(20, 300), 0x000001u);   // the terrain picture is kept
    ScreenType = ScreenFlightEms;
    TerrainViewOn = 1;
    DrawFlightPage();
    EXPECT_EQ(lastFlags, GLPaintNarrow);
}

TEST_F(FlightPageTest, CameraInSplitLayoutHidesAttitude) {
    ScreenType = ScreenFlightEms;
    DisplaySetting.screenWord = 0x300 | ScreenFlightEms;
    Fly(0.0f, 0.0f);
    DrawFlightPage();
    EXPECT_EQ(At(300, 300), Grey);
    EXPECT_GT(Count(150, 100, 250, 20, ErrRed), 50);   // CAMERA ERR
    EXPECT_EQ(At(260, 240 - 114), Grey);   // no ladder
}

// ---------------------------------------------------------------- slip, load, vertical speed

TEST_F(FlightPageTest, LoadFactorText) {
    char t[24];
    FormatLoadFactor(t, sizeof t, 10);
    EXPECT_STREQ(t, "");
    FormatLoadFactor(t, sizeof t, 16);
    EXPECT_STREQ(t, "+1.6 g");
    FormatLoadFactor(t, sizeof t, -4);
    EXPECT_STREQ(t, "-0.4 g");
    FormatLoadFactor(t, sizeof t, INT32_MIN);
    EXPECT_STREQ(t, "-214748364.8 g");
}

TEST_F(FlightPageTest, SlipBallAndSideSlipBars) {
    Fly(0.0f, 0.0f);
    Put(echInercialSlip, 200.0f);
    Put(echInercialSideSlip, -0.45f);
    Tick();
    DrawFlightPage();
    EXPECT_EQ(FlightFrame.sideSlipLeft, 4);
    EXPECT_EQ(FlightFrame.sideSlipRight, 0);
    // The ball is held at +80 px: its centre at 482.
    EXPECT_NE(At(483, 435), Sky());
    EXPECT_NE(At(483, 435), Ground());
    EXPECT_EQ(At(380, 430), White);   // left mark at cx - 22
    // A side-slip bar of 1 px grows left of the origin.
    EXPECT_NE(At(401, 65), Sky());
    EXPECT_EQ(At(403, 65), Sky());
}

TEST_F(FlightPageTest, VerticalSpeedScaleAndPegs) {
    int peg = 0;
    EXPECT_EQ(VerticalSpeedAngle(0, UnitFeetPerMin, &peg), 0);
    EXPECT_EQ(peg, 0);
    EXPECT_EQ(VerticalSpeedAngle(100, UnitFeetPerMin, &peg), -50);
    EXPECT_EQ(VerticalSpeedAngle(-150, UnitFeetPerMin, &peg), 60);
    EXPECT_EQ(VerticalSpeedAngle(200, UnitFeetPerMin, &peg), -69);
    EXPECT_EQ(peg, 1);
    EXPECT_EQ(VerticalSpeedAngle(-200, UnitFeetPerMin, &peg), 70);
    EXPECT_EQ(peg, -1);
    EXPECT_EQ(VerticalSpeedAngle(50, UnitMetresPerSec, &peg), -50);
    EXPECT_EQ(VerticalSpeedAngle(INT32_MAX, UnitVsKnots, &peg), -69);

    // 2000 ft/min (10.16 m/s) pegs at the top and shows the upper box.
    const FGPixel box = 0x687784;
    Fly(0.0f, 0.0f);
    Put(echSpeedVertical, 10.2f);
    Tick();
    DrawFlightPage();
    EXPECT_EQ(FlightFrame.verticalSpeed, 200);
    const int h20 = FGFontManager::get_font_height(FlightFont(20));
    EXPECT_GT(Count(741, 130 - h20 + 1, 48, 23, box), 200);
    EXPECT_EQ(Count(741, 351, 48, 23, box), 0);
    Put(echSpeedVertical, -10.2f);
    Tick();
    win.clear(Bg);
    DrawFlightPage();
    EXPECT_GT(Count(741, 351, 48, 23, box), 200);
    // Level: the needle points straight left at y 240.
    Put(echSpeedVertical, 0.0f);
    Tick();
    win.clear(Bg);
    DrawFlightPage();
    EXPECT_EQ(At(765, 240), White);
    EXPECT_EQ(At(790, 240), White);
    EXPECT_NE(At(765, 250), White);
}

// ---------------------------------------------------------------- drums

TEST_F(FlightPageTest, AirspeedDrumReads123Knots) {
    Fly(0.0f, 0.0f);
    Put(echSpeedIas, 227.8f);   // km/h: 123.0 kt
    Tick();
    DrawAirspeedIndicator();
    EXPECT_FALSE(FlightErrors.airspeed);
    const int e = AirspeedXFull;
    auto drum = [](int k) { return 351 - 32 * k; };
    int bad = 0;
    EXPECT_EQ(ReadDigit(win, e + 81, 194, 22, 28, PicJednotky, 0, drum, &bad), 3);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(ReadDigit(win, e + 56, 194, 22, 28, PicJednotky, 0, drum, &bad), 2);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(ReadDigit(win, e + 31, 194, 22, 28, PicJednotky, 0, drum, &bad), 1);
    EXPECT_EQ(bad, 0);
    // The tape's label 140 above the drum.
    EXPECT_GT(Count(e + 18, 199 - 3 * (140 - 123), 40, 18, White), 20);
}

// A tape label that the drum would cover in part is left out whole: nothing of
// "800" peeks above the altimeter at 630 m, nothing of "160" above the speed box at 153 kt.
TEST_F(FlightPageTest, TapeLabelsStayClearOfTheDrums) {
    UnitsSetting.altitude = UnitMetres;
    Fly(0.0f, 0.0f);
    Put(echAltitudeQNH, 630.0f);
    Put(echSpeedIas, 283.4f);   // km/h: 153.0 kt
    Tick();
    DrawAltimeter();
    DrawAirspeedIndicator();
    const int a = AltimeterXFull, e = AirspeedXFull;
    EXPECT_EQ(Count(a + 119 - 44, 149, 46, 8, White), 0) << "800 above the altimeter";
    EXPECT_GT(Count(a + 119 - 44, 269, 46, 18, White), 20) << "400, clear of the drum, stays";
    EXPECT_EQ(Count(e + 18, 178, 46, 9, White), 0) << "160 above the speed box";
    EXPECT_GT(Count(e + 18, 199 - 3 * (140 - 153), 46, 18, White), 20) << "140, clear of the drum, stays";
}

TEST_F(FlightPageTest, AltimeterDrumReads4560Feet) {
    DrawAltimeterReadout(4560);
    const int a = AltimeterXFull;
    int bad = 0;
    auto tens = [](int k) { return 318 - 28 * k - 14; };   // label 10 k centred on 318 - 2.8 v
    EXPECT_EQ(ReadDigit(win, a + 75, 195, 32, 28, PicDesitky, 0, tens, &bad), 6);
    EXPECT_EQ(bad, 0);
    auto hundreds = [](int k) { return 1256 - 112 * k + 27; };
    EXPECT_EQ(ReadDigit(win, a + 60, 195, 14, 28, PicStovky, 0, hundreds, &bad), 5);
    EXPECT_EQ(bad, 0);
    // The same hundreds digit beside the label below ("50").
    EXPECT_EQ(ReadDigit(win, a + 60, 223, 14, 27, PicStovky, 0, hundreds, &bad), 5);
    EXPECT_EQ(ReadDigit(win, a + 35, 195, 22, 28, PicJednotky, 0, [](int k) { return 351 - 32 * k; }, &bad), 4);
    EXPECT_EQ(bad, 0);
}

TEST_F(FlightPageTest, AltimeterReadsMinus4560Feet) {
    DrawAltimeterReadout(-4560);
    const int a = AltimeterXFull;
    int bad = 0;
    EXPECT_EQ(ReadDigit(win, a + 76, 195, 32, 28, PicZDesitky, 0, [](int k) { return 65 + 28 * k - 14; }, &bad), 6);
    EXPECT_EQ(bad, 0);
    auto hundreds = [](int k) { return 136 + 112 * k; };
    EXPECT_EQ(ReadDigit(win, a + 60, 195, 14, 28, PicZStovky, 1, hundreds, &bad), 5);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(ReadDigit(win, a + 60, 223, 14, 27, PicZStovky, 1, hundreds, &bad), 5);
    EXPECT_EQ(ReadDigit(win, a + 35, 195, 22, 28, PicZJednotky, 0, [](int k) { return 64 + 32 * k; }, &bad), 4);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(Count(a + 12, 208, 16, 4, 0x000000), 64);   // the minus bar
}

TEST_F(FlightPageTest, AltimeterHundredsRollsWithTheLastTens) {
    // At 4595 the next hundred ("6") stands beside the label 00 above "90".
    DrawAltimeterReadout(4595);
    const int a = AltimeterXFull;
    auto hundreds = [](int k) { return 1256 - 112 * k + 27; };
    int bad = 0;
    // Label 90 centred 14 rows below the window's middle, label 00 14 rows above.
    EXPECT_EQ(ReadDigit(win, a + 60, 168 + 41 + 14 - 14, 14, 28, PicStovky, 0, hundreds, &bad), 5);
    EXPECT_LE(bad, 2);
    EXPECT_EQ(ReadDigit(win, a + 60, 168 + 41 - 14 - 14, 14, 28, PicStovky, 0, hundreds, &bad), 6);
    EXPECT_LE(bad, 2);
}

TEST_F(FlightPageTest, AltimeterFramesAndStrips) {
    TDrumCut c[4];
    bool five = true;
    EXPECT_EQ(AltimeterDrumCuts(9990, 573, c, &five), 3);
    EXPECT_FALSE(five);
    EXPECT_EQ(AltimeterDrumCuts(9991, 573, c, &five), 4);
    EXPECT_TRUE(five);
    EXPECT_EQ(AltimeterDrumCuts(-5, 573, c, &five), 2);
    EXPECT_TRUE(five);
    EXPECT_EQ(c[0].picture, PicDesitkyAltNula);
    EXPECT_EQ(c[0].srcY, 36 + 14);
    EXPECT_EQ(AltimeterDrumCuts(-10, 573, c, &five), 3);
    EXPECT_EQ(c[0].picture, PicZDesitky);
    EXPECT_EQ(c[1].picture, PicZStovky);
    EXPECT_EQ(c[1].srcX, 1);
    EXPECT_EQ(c[2].picture, PicZJednotky);
    // Every cut stays inside its strip, over the whole range and beyond.
    for (int32_t h = -9999; h <= 99999; h += 7) {
        const int n = AltimeterDrumCuts(h, 573, c, &five);
        for (int i = 0; i < n; ++i) {
            const FGBitmap* pic = MainPictures[c[i].picture];
            ASSERT_NE(pic, nullptr);
            ASSERT_GE(c[i].srcY, 0) << h;
            ASSERT_LE(c[i].srcY + c[i].h, pic->height) << h;
            ASSERT_LE(c[i].srcX + c[i].w, pic->width) << h;
        }
    }
    for (int32_t s = 0; s <= 9999; ++s) {
        const int n = AirspeedDrumCuts(s, 89, c);
        for (int i = 0; i < n; ++i) {
            ASSERT_GE(c[i].srcY, 0) << s;
            ASSERT_LE(c[i].srcY + c[i].h, MainPictures[PicJednotky]->height) << s;
        }
    }
    // A negative altitude below -9 has the minus bar.
    DrawAltimeterReadout(-120);
    EXPECT_EQ(Count(573 + 12, 208, 16, 4, 0x000000), 64);
}

TEST_F(FlightPageTest, AirspeedTensRollWithNines) {
    TDrumCut c[3];
    AirspeedDrumCuts(999, 89, c);
    EXPECT_EQ(c[1].srcY, 351 - 9 * 32 - 28);
    EXPECT_EQ(c[2].srcY, 351 - 28);
    AirspeedDrumCuts(1000, 89, c);
    EXPECT_EQ(c[0].srcY, 324);
    EXPECT_EQ(c[1].srcY, 351);
    EXPECT_EQ(c[2].srcY, 351 - 32);
}

// ---------------------------------------------------------------- tapes and boxes

bool Yellowish(FGPixel p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r > 100 && g > 80 && b < 60;
}
bool Greenish(FGPixel p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return g > 100 && r < 60 && b < 60;
}

TEST_F(FlightPageTest, SpeedAtYellowLimitIsZone3) {
    EXPECT_EQ(SpeedZone(1200, 500, 850, 1200, 1500), 3);
    EXPECT_EQ(SpeedZone(1199, 500, 850, 1200, 1500), 2);
    EXPECT_EQ(SpeedZone(NoValue, 500, 850, 1200, 1500), 0);
    EXPECT_EQ(ConvertSpeedLimit(UnitKnots, 12000), 1200);
    EXPECT_EQ(ConvertSpeedLimit(UnitKmh, 10000), 1852);
    RefreshValues.tas = 1200;
    DrawAirspeedTape(1200, &win, 89, 70);
    EXPECT_EQ(TasSpeedZone, 3);
    // The yellow band ends at the current-speed mark (y 210), green below it.
    EXPECT_TRUE(Yellowish(At(89 + 5, 205))) << std::hex << At(94, 205);
    EXPECT_TRUE(Greenish(At(89 + 5, 215))) << std::hex << At(94, 215);
}

TEST_F(FlightPageTest, TerrainBandsOnlyWithTerrainView) {
    FlightPageHooks.terrainElevation = [] { return int32_t(300); };   // 984 ft
    auto redRows = [&] {
        int n = 0;
        for (int y = 70; y < 425; ++y) {
            const FGPixel p = At(697 + 5, y);
            n += ((p >> 16) & 0xFF) > 120 && ((p >> 8) & 0xFF) < 40;
        }
        return n;
    };
    DrawAltitudeTape(1100, &win, 697, 70);
    EXPECT_EQ(redRows(), 0);
    TerrainViewOn = 1;
    DrawAltitudeTape(1100, &win, 697, 70);
    // Red from 984 ft down: (1100 - 984 - 140) x 0.3 + 180 = 173 px below the top.
    EXPECT_NEAR(redRows(), 355 - 173, 2);
}

TEST_F(FlightPageTest, NoDataShowsDashesAndErrors) {
    DrawFlightPage();
    DrawAltimeter();
    DrawAirspeedIndicator();
    EXPECT_TRUE(FlightErrors.altitude && FlightErrors.airspeed);
    EXPECT_GT(Count(89 + 30, 175, 40, 20, ErrRed), 30);
    EXPECT_GT(Count(573 + 10, 177, 40, 20, ErrRed), 30);
    // The TAS and OAT boxes read "- - -", right-aligned in the box.
    FGDrawBuffer ref(800, 480, FG_TYPE_BITMAP, Bg);
    const int font = DisplayItemFont(14, 1033);
    ref.set_font(font);
    const int tw = FGFontManager::textwidth(font, "- - -");
    ref.text(5 + 50 - tw, 85, "- - -", 0xD8D0B8, Bg);
    const int inRef = [&] {
        int n = 0;
        for (int y = 85; y < 115; ++y)
            for (int x = 5; x < 55; ++x) n += ref.pixels[y * 800 + x] == 0xD8D0B8u;
        return n;
    }();
    ASSERT_GT(inRef, 5);
    int same = 0;
    for (int y = 85; y < 115; ++y)
        for (int x = 5; x < 55; ++x)
            same += ref.pixels[y * 800 + x] == 0xD8D0B8u && At(x, y) == 0xD8D0B8u;
    EXPECT_EQ(same, inRef);
}

TEST_F(FlightPageTest, TasBoxColouredByZone) {
    Fly(0.0f, 0.0f);
    DrawAirspeedIndicator();   // zone from the last tape
    RefreshValues.tas = 1600;  // 160.0 kt beyond Vne
    DrawAirspeedTape(1600, &win, 89, 70);
    ASSERT_EQ(TasSpeedZone, 4);
    DrawFlightPage();
    EXPECT_GT(Count(5, 85, 50, 30, ErrRed), 100);
    RefreshValues.tas = 1300;
    DrawAirspeedTape(1300, &win, 89, 70);
    ASSERT_EQ(TasSpeedZone, 3);
    DrawFlightPage();
    EXPECT_GT(Count(5, 85, 50, 30, 0xFCE000), 100);
}

// ---------------------------------------------------------------- the whole page

TEST_F(FlightPageTest, SnapshotOfTheFlightPage) {
    Put(echInercialPitch, 4.0f);
    Put(echInercialRoll, 15.0f);
    Put(echInercialAzimut, 120.0f);
    Put(echInercialSlip, 6.0f);
    Put(echInercialSideSlip, 0.52f);
    Put(echInercialAccPilot, 1.7f);
    Put(echSpeedVertical, 3.0f);
    Put(echAltitudeQNH, 1390.0f);
    Put(echSpeedIas, 227.8f);
    Tick();
    RefreshValues.tas = 1310;
    RefreshValues.oat = 12;
    DisplaySetting.iasBugOn = 1;
    DisplaySetting.iasBug = 25000;   // 135 kt
    DisplaySetting.bugsShown = 1;
    DisplaySetting.altBug = 15240;   // 5000 ft
    TerrainViewOn = 1;
    FlightPageHooks.terrainElevation = [] { return int32_t(1250); };
    DrawFlightPage();
    DrawAltimeter();
    DrawAirspeedIndicator();
    SavePageSnapshot(win, "flightpage.bmp");
    // The full page spans the window; the TAS value box (5, 85) carries its ink.
    EXPECT_LT(Count(560, 0, 240, 480, Bg), 240 * 480 / 2);
    EXPECT_GT(Count(5, 85, 50, 30, 0xD8D0B8), 10);
    ScreenType = ScreenFlightGps;
    win.clear(0);
    DrawFlightPage();
    DrawAltimeter();
    DrawAirspeedIndicator();
    SavePageSnapshot(win, "flightpage_split.bmp");
    // The split page keeps to the left 560 px: the right strip belongs to the GPS items.
    EXPECT_EQ(Count(560, 0, 240, 480, 0), 240 * 480);
    EXPECT_LT(Count(0, 0, 560, 480, 0), 560 * 480 / 2);
}

}  // namespace
