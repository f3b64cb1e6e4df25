#include "infopages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "bmpfile.h"
#include "checklist.h"
#include "config_tempdir.h"
#include "configmanager.h"
#include "fgfontmanager.h"
#include "headless_windows.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "startup.h"
#include "units.h"
#include "wizards.h"

namespace {

constexpr int W = 800, H = 480;
constexpr FGPixel Under = 0x102040;  // the page under the overlay
constexpr FGPixel Fill = DefaultPanelColour;

std::string TextAt(const TInfoPage& page, int x, int y) {
    const TPageText* t = FindPageText(page, x, y);
    return t ? t->text : "<none>";
}

class InfoPageTest : public HeadlessWindowTest {
protected:
    static void SetUpTestSuite() {
        HeadlessWindowTest::SetUpTestSuite();
        if (DisplayFonts[0] >= 0) return;
        char old[PATH_MAX];
        ASSERT_TRUE(getcwd(old, sizeof old));
        ASSERT_EQ(chdir(RUN_DIR), 0);
        const int registered = RegisterDisplayFonts();
        ASSERT_EQ(chdir(old), 0);
        ASSERT_EQ(registered, DisplayFontCount);
    }
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        BuildDisplayPalette();
        PanelInk = DefaultPanelColour;
        PanelPaper = 0;
        LanguageId = 1033;
        LanguageFontSet = FontSetLatin;
        ScreenType = ScreenEngine;
        UnitsSetting = {};
        EngineGaugeConfig = {};
        DeviceInfo = {};
        DeviceInfo.deviceType = 29;
        win = new FGWindow(nullptr, 0, 60, W, H, "page", nullptr, 0, Under, 0);
        win->clear(Under);
    }
    void TearDown() override {
        FuelPressCalibState = FuelCalibHidden;
        HeadlessWindowTest::TearDown();
    }

    FGPixel At(int x, int y) const { return win->pixels[y * W + x]; }

    // The text drawn at its left end x exactly as the font draws it, on the given paper.
    void ExpectText(int x, int y, const std::string& text, FGPixel ink = 0, FGPixel paper = Fill) const {
        SCOPED_TRACE(text);
        const int font = OverlayRoleFont(PageFontBody);
        ASSERT_TRUE(FGFontManager::is_font(font));
        const int tw = FGFontManager::textwidth(font, text.c_str()), th = FGFontManager::get_font_height(font);
        FGDrawBuffer ref(tw, th, FG_TYPE_BITMAP, paper);
        ref.set_font(font);
        ref.set_mode(0);
        ref.text(0, 0, text.c_str(), ink, paper);
        int differ = 0, inked = 0;
        for (int py = 0; py < th; ++py)
            for (int px = 0; px < tw; ++px) {
                differ += At(x + px, y + py) != ref.pixels[py * tw + px];
                inked += ref.pixels[py * tw + px] == ink;
            }
        EXPECT_EQ(differ, 0) << "at " << x << "," << y;
        EXPECT_GT(inked, 0);
    }
    // A value right-aligned so that it ends at x.
    void ExpectRight(int x, int y, const std::string& text) const {
        ExpectText(x - FGFontManager::textwidth(OverlayRoleFont(PageFontBody), text.c_str()), y, text);
    }
    void Snapshot(const char* name) const {
        const std::string dir = std::string(TEST_HELPER_DIR) + "/snapshots";
        mkdir(dir.c_str(), 0755);
        EXPECT_EQ(BmpWrite24((dir + "/" + name + ".bmp").c_str(), win->pixels, W, H, W), BMP_OK);
    }

    FGWindow* win = nullptr;
};

// ---- formatting ----

TEST(InfoPageFormat, FixedPointKeepsTheSign) {
    struct {
        int64_t value;
        int decimals;
        const char* text;
    } const cases[] = {
        {-15, 1, "-1.5"}, {-5, 1, "-0.5"}, {5, 1, "0.5"}, {0, 1, "0.0"}, {-150, 2, "-1.50"},
        {-7, 2, "-0.07"}, {1234, 2, "12.34"}, {-3, 0, "-3"}, {INT64_MIN, 2, "-92233720368547758.08"},
    };
    for (const auto& c : cases) {
        char text[40];
        FormatFixedSigned(text, sizeof text, c.value, c.decimals);
        EXPECT_STREQ(text, c.text) << c.value;
    }
}

TEST(InfoPageFormat, GallonsToLitresShiftsArithmetically) {
    EXPECT_EQ(GallonsToLitres(1, 100), 379);   // (3101000 + 4096) >> 13
    EXPECT_EQ(GallonsToLitres(2, 100), 455);   // (3724200 + 4096) >> 13
    EXPECT_EQ(GallonsToLitres(0, 100), 100);
    EXPECT_EQ(GallonsToLitres(3, -7), -7);
    EXPECT_EQ(GallonsToLitres(1, -1), -4);     // -31010 + 4096 rounds toward minus infinity
    EXPECT_EQ(GallonsToLitres(1, INT32_MAX), INT32_MAX);
}

TEST(InfoPageFormat, UnitsTitleMatchesOnlyWholePresets) {
    UnitsSetting = {};
    auto set = [](std::initializer_list<int> v) {
        const int* p = v.begin();
        UnitsSetting.airspeed = p[0], UnitsSetting.altitude = p[1], UnitsSetting.temperature = p[2];
        UnitsSetting.fuel = p[3], UnitsSetting.baro = p[4], UnitsSetting.verticalSpeed = p[5];
        UnitsSetting.enginePress = p[6], UnitsSetting.manifoldPress = p[7], UnitsSetting.distance = p[8];
    };
    set({2, 1, 1, 0, 1, 1, 1, 1, 0});
    EXPECT_STREQ(UnitsTitle(), "Units Metric");
    set({0, 0, 1, 2, 1, 0, 1, 1, 1});
    EXPECT_STREQ(UnitsTitle(), "Units Imperial UK");
    set({0, 0, 0, 1, 0, 0, 0, 0, 1});
    EXPECT_STREQ(UnitsTitle(), "Units Imperial US");
    UnitsSetting.distance = 0;  // one entry off
    EXPECT_STREQ(UnitsTitle(), "Units Custom");
}

// ---- units, devices, memories, data sharing ----

TEST_F(InfoPageTest, UnitsBoxesShowTheSelectedUnitsAndNothingForUnknownOnes) {
    static TInfoPage page;
    UnitsSetting.airspeed = UnitMph;
    UnitsSetting.baro = UnitTorr;
    UnitsSetting.distance = 7;  // unknown
    BuildUnitsPage(&page, 0);
    EXPECT_EQ(page.x, 245);
    EXPECT_EQ(page.h, 150);
    EXPECT_EQ(TextAt(page, 255, 200), "Airspeed:");
    EXPECT_EQ(TextAt(page, 405, 200), "mph");
    EXPECT_EQ(TextAt(page, 405, 240), "torr");
    EXPECT_EQ(TextAt(page, 405, 260), "");
    EXPECT_EQ(TextAt(page, 405, 280), "ft/min");
    UnitsSetting.enginePress = UnitKPa;
    UnitsSetting.fuel = UnitUkGallon;
    BuildUnitsPage(&page, 1);
    EXPECT_EQ(TextAt(page, 255, 247), "Engine pressure:");
    EXPECT_EQ(TextAt(page, 425, 247), "");
    EXPECT_EQ(TextAt(page, 425, 267), "gallons");
    EXPECT_EQ(TextAt(page, 425, 227), "\xB0" "F");
}

TEST_F(InfoPageTest, DevicesShowPortsAnglesAndMissingDevices) {
    static TInfoPage page;
    memset(DevicePort, 0, sizeof DevicePort);
    DevicePort[1].flags = PortConnected;  // GPS
    DevicePort[1].comPort = 2;
    DevicePort[1].baud = 9600;
    DevicePort[1].protocol = 1;
    DevicePort[7].flags = PortConnected;  // transponder
    DevicePort[7].comPort = 1;
    GpsValid = 1;
    CompassSetting = {};
    CompassSetting.declination = -250;
    CompassSetting.inclination = 250;
    CompassSetting.mounting = 9;
    CompassSetting.totalField = 48000;
    VfrCodeSetting.code = 0x7000;
    FreqStepSetting.step = 0;
    BuildDevicesPage(&page, 0);
    EXPECT_EQ(TextAt(page, 180, 110), "Port: COM2;  Baud rate: 9600;  Protocol: ARNAV;  ON-line");
    EXPECT_EQ(TextAt(page, 180, 130), "Not connected");
    EXPECT_EQ(TextAt(page, 245, 170), "Declination:  - 2\xB0 30'");
    EXPECT_EQ(TextAt(page, 245, 190), "Inclination:    2\xB0 30'");
    EXPECT_EQ(TextAt(page, 440, 170), "Total mag. field (nT):  48000");
    EXPECT_EQ(TextAt(page, 440, 190), "Build In:   X Front, Y Down");
    EXPECT_EQ(TextAt(page, 440, 250), "Frequency step: 8.33 kHz");
    // Nothing answers the transponder's error channel here.
    EXPECT_EQ(TextAt(page, 245, 270), "Port: COM1;  OFF-line");
    EXPECT_EQ(TextAt(page, 440, 270), "VFR default: 7000");
    CompassSetting.declination = -50;
    VfrCodeSetting.code = 0;
    BuildDevicesPage(&page, 1);
    EXPECT_EQ(page.y, 115);
    EXPECT_EQ(TextAt(page, 100, 160), "GPS:");
    EXPECT_EQ(TextAt(page, 100, 220), "Transponder:");
    EXPECT_EQ(TextAt(page, 440, 220), "VFR default: not set");
    GpsValid = 0;
}

TEST_F(InfoPageTest, MemoryFieldsBoundFrequencyAndUnterminatedLabel) {
    static TInfoPage page;
    memset(FreqMemorySetting, 0, sizeof FreqMemorySetting);
    FreqMemorySetting[0].frequency = 117999999;
    FreqMemorySetting[1].frequency = 118000000;
    FreqMemorySetting[2].frequency = 136975000;
    memcpy(FreqMemorySetting[2].label, "ABCDEFGH", 8);  // all 8 used: no terminator
    memset(FreqMemorySetting[2].reserved, 'X', sizeof FreqMemorySetting[2].reserved);
    BuildMemoryFieldsPage(&page);
    EXPECT_EQ(TextAt(page, 265, 167), "M 1:");
    EXPECT_EQ(TextAt(page, 405, 167), " - - - ");
    EXPECT_EQ(TextAt(page, 405, 187), "118.000");
    EXPECT_EQ(TextAt(page, 405, 207), "136.975");
    EXPECT_EQ(TextAt(page, 445, 207), "ABCDEFGH");
    EXPECT_EQ(TextAt(page, 445, 167), " - - - - ");
    EXPECT_EQ(TextAt(page, 265, 347), "M 10:");
    EXPECT_EQ(FindPageText(page, 405, 187)->align, PageAlignRight);
}

TEST_F(InfoPageTest, DataSharingReadsTheFlightPriorityFromSubIdOne) {
    static TInfoPage page;
    DataSharingSetting[0].priority = 2;  // engine screen (EMS)
    DataSharingSetting[1].priority = 1;  // flight screen (EFIS)
    BuildDataSharingPage(&page);
    EXPECT_EQ(TextAt(page, 365, 245), "Low priority");
    EXPECT_EQ(TextAt(page, 365, 265), "High priority");
    DataSharingSetting[1].priority = 9;
    BuildDataSharingPage(&page);
    EXPECT_EQ(TextAt(page, 365, 245), "Unknow state");
}

// ---- autopilot ----

TEST_F(InfoPageTest, ServoPagesMatchDetectedServosById) {
    static TInfoPage page;
    ServoSetting[1] = {};
    ServoSetting[1].servoId = 0x1234;  // roll
    ServoSetting[1].installed = 1;
    ServoSetting[0] = {};
    ServoSetting[0].servoId = 0x5678;  // pitch
    DetectedServoCount = 0;
    BuildServoSetupPage(&page);
    EXPECT_EQ(TextAt(page, 430, 200), "YES");
    EXPECT_EQ(TextAt(page, 430, 220), "NO");
    EXPECT_EQ(TextAt(page, 430, 240), " - - -");
    EXPECT_EQ(TextAt(page, 430, 300), " - - -");
    DetectedServo[0] = {0x5678, 3, 1};
    DetectedServo[1] = {0x1234, 12, 0};
    DetectedServoCount = 2;
    BuildServoSetupPage(&page);
    EXPECT_EQ(TextAt(page, 430, 220), "YES");
    EXPECT_EQ(TextAt(page, 430, 240), "12 %");
    EXPECT_EQ(TextAt(page, 245, 260), "Pitch Servo Installed:");
    EXPECT_EQ(TextAt(page, 430, 300), "3 %");
    BuildServoDeflectionPage(&page);
    EXPECT_EQ(TextAt(page, 415, 232), "NOT DONE");
    EXPECT_EQ(TextAt(page, 495, 252), " - - -");  // roll not calibrated
    EXPECT_EQ(TextAt(page, 495, 272), " - - -");  // nothing reads the lever channel here
    DetectedServo[1].flags = 1;
    BuildServoDeflectionPage(&page);
    EXPECT_EQ(TextAt(page, 415, 232), "FINISHED");
    DetectedServoCount = 0;
}

TEST_F(InfoPageTest, AxisPagesFormatAnglesWithSignAndSpeedsInTheUnit) {
    static TInfoPage page;
    AutopilotSetting = {};
    AutopilotSetting.rollMode = 2;
    AutopilotSetting.rollSensitivity = 7;
    AutopilotSetting.maxBank = -150;  // hundredths: -1.5 degrees
    AutopilotSetting.turnRate = 300;
    BuildRollAxisPage(&page);
    EXPECT_EQ(TextAt(page, 430, 220), "7");
    EXPECT_EQ(TextAt(page, 430, 240), "Bank Angle");
    EXPECT_EQ(TextAt(page, 430, 260), "-1.5 \xB0");
    EXPECT_EQ(TextAt(page, 430, 280), "3.0 \xB0");
    AutopilotSetting.pitchMode = 5;
    AutopilotSetting.maxPitch = -50;
    AutopilotSetting.minSpeed = 1000;  // 100 km/h
    AutopilotSetting.maxSpeed = 2500;
    UnitsSetting.airspeed = UnitKnots;
    BuildPitchAxisPage(&page);
    EXPECT_EQ(TextAt(page, 430, 235), "Unknow state");
    EXPECT_EQ(TextAt(page, 430, 255), "-0.5 \xB0");
    EXPECT_EQ(TextAt(page, 430, 275), "54 kts");   // (540 + 5) / 10
    EXPECT_EQ(TextAt(page, 430, 295), "135 kts");  // (1350 + 5) / 10
    UnitsSetting.airspeed = UnitMph;
    BuildPitchAxisPage(&page);
    EXPECT_EQ(TextAt(page, 430, 275), "62 mph");
}

// The overlay painter draws a page by its flag, in the see-through scheme with its raster operations.
TEST_F(InfoPageTest, PainterDrawsUnitsPageSeeThrough) {
    ScreenType = ScreenFlight;
    SetupModeActive = 0;
    UnitsPageShown = 1;
    OverlayScheme = 2;
    PaintOverlays(win);
    OverlayScheme = 0;
    UnitsPageShown = 0;
    const FGPixel filled = Under | 0x808080;
    EXPECT_EQ(At(510, 305), filled);                     // box fill ORed over the page
    EXPECT_EQ(At(245, 250), filled & 0x585858);          // outline ANDed with the scheme's paper
    EXPECT_EQ(At(244, 250), Under);
    EXPECT_EQ(PanelInk, DefaultPanelColour);             // the painter restores the panel colours
    win->clear(Under);
    PaintOverlays(win);
    EXPECT_EQ(At(510, 305), Under);                      // flag cleared: nothing drawn
}

// ---- range and limits ----

void SetLimits() {
    LimitRpm = {6000, 5500, 5800, 5900, 0, 0, 0, {}};
    LimitMap = {1500, 0, 1300, 0, 0, 300, 0, {}};
    LimitRotorRpm = {8000, 0, 7000, 7500, 0, 2000, 0, {}};
    LimitOilPress = {100, 50, 70, 80, 8, 15, 0, {}};
    LimitOilTemp = {150, 110, 120, 130, -18, 50, 0, {}};
    LimitWaterCht = {150, 100, 110, 120, 0, 0, 0, {}};
    LimitWaterAux = {150, 100, 110, 120, 0, 0, 0, {}};
    LimitTankLeft = {800, 100, 0, 0, 0, 0, {}};
    LimitTankRight = {800, 100, 0, 0, 0, 0, {}};
    LimitFuelPress = {600, 15, 20, 400, 500, 0, {}};
    LimitFuelFlow = {400, 0, 0, 0, 350, 0, {}};
    LimitEgt = {9000, 0, 0, 8500, 8800, 0, {}};
    LimitCht = {1500, 0, 0, 1200, 1350, 0, {}};
    memset(SupplyLimit, 0, sizeof SupplyLimit);
    SupplyLimit[0].range = 160, SupplyLimit[0].alarmMin = 110, SupplyLimit[0].warningMin = 120;
    SupplyLimit[0].warning = 145, SupplyLimit[0].alarm = 150;
    SupplyLimit[3].range = 400, SupplyLimit[3].alarmMin = -150, SupplyLimit[3].alarm = 300;
}

struct TCellCase {
    int row, col;
    const char* text;  // "" = the cell is empty
};
constexpr int ColumnX[6] = {185, 255, 325, 395, 465, 535};

void ExpectCells(const TInfoPage& page, std::initializer_list<TCellCase> cases) {
    for (const TCellCase& c : cases) {
        const int x = ColumnX[c.col] + 55, y = 35 + 20 * c.row;
        const TPageText* t = FindPageText(page, x, y);
        if (!c.text[0]) {
            EXPECT_EQ(t, nullptr) << "row " << c.row << " col " << c.col << ": " << (t ? t->text : "");
            continue;
        }
        ASSERT_NE(t, nullptr) << "row " << c.row << " col " << c.col;
        EXPECT_STREQ(t->text, c.text) << "row " << c.row << " col " << c.col;
        EXPECT_EQ(t->align, PageAlignRight);
    }
}

TEST_F(InfoPageTest, RangeLimitsMetricAtThePlacedRows) {
    SetLimits();
    UnitsSetting = {2, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0};
    static TInfoPage page;
    BuildRangeLimitsPage(&page);
    EXPECT_EQ(TextAt(page, 25, 55), "RPM (rpm):");
    EXPECT_EQ(TextAt(page, 25, 75), "MAP (mBar):");
    EXPECT_EQ(TextAt(page, 25, 115), "Oil Press (bar):");
    EXPECT_EQ(TextAt(page, 25, 135), "Oil Temp (\xB0" "C):");
    EXPECT_EQ(TextAt(page, 25, 195), "Left/Total tank (l):");
    EXPECT_EQ(TextAt(page, 25, 255), "Fuel flow (l/h):");
    EXPECT_EQ(TextAt(page, 25, 275), "EGT (\xB0" "C):");
    EXPECT_EQ(TextAt(page, 25, 335), "Current 1 (A):");
    ExpectCells(page, {
        {1, 0, "6000"}, {1, 1, ""}, {1, 3, "5500"}, {1, 4, "5800"}, {1, 5, "5900"},
        {2, 0, "1500"}, {2, 2, "300"}, {2, 4, "1300"}, {2, 5, ""},
        {3, 1, ""}, {3, 2, "2000"}, {3, 4, "7000"}, {3, 5, "7500"},
        {4, 0, "10.0"}, {4, 1, "0.8"}, {4, 2, "1.5"}, {4, 3, "5.0"}, {4, 4, "7.0"}, {4, 5, "8.0"},
        {5, 0, "150"}, {5, 1, "-18"}, {5, 2, "50"}, {5, 3, "110"},
        {6, 3, "100"}, {7, 5, "120"},
        {8, 0, "80.0"}, {8, 1, "10.0"}, {9, 1, "10.0"},
        {10, 0, "6.00"}, {10, 1, "0.15"}, {10, 2, "0.20"}, {10, 4, "4.00"}, {10, 5, "5.00"},
        {11, 0, "40.0"}, {11, 5, "35.0"}, {11, 3, ""},
        {12, 0, "900"}, {12, 4, "850"}, {12, 5, "880"}, {13, 5, "135"},
        {14, 0, "16.0"}, {14, 1, "11.0"}, {14, 2, "12.0"}, {14, 4, "14.5"}, {14, 5, "15.0"},
        {15, 0, "40.0"}, {15, 1, "-15.0"}, {15, 2, ""}, {15, 5, "30.0"},
    });

    PaintInfoPage(win, page, DrawModeCopy, DrawModeCopy, Fill);
    Snapshot("range_limits_metric");
    // Column heads in their colours, the box outline, labels and values where they were put.
    EXPECT_EQ(At(215, 50), 0x000000u);
    EXPECT_EQ(At(285, 50), AlertColour);
    EXPECT_EQ(At(355, 50), WarningColour);
    EXPECT_EQ(At(425, 50), 0x00C800u);
    EXPECT_EQ(At(5, 200), 0x000000u);
    EXPECT_EQ(At(4, 200), Under);
    EXPECT_EQ(At(615, 200), Under);
    ExpectText(190, 15, "Range ", WhiteColour, 0x000000);
    ExpectText(25, 55, "RPM (rpm):");
    ExpectRight(395 + 55, 115, "5.0");
    ExpectRight(255 + 55, 135, "-18");
    ExpectRight(535 + 55, 235, "5.00");
    ExpectRight(255 + 55, 335, "-15.0");
}

// The columns close under the last row, "Current 3", not through it.
TEST_F(InfoPageTest, RangeLimitsColumnsCloseUnderTheLastRow) {
    SetLimits();
    SupplyLimit[5].range = 500;
    static TInfoPage page;
    BuildRangeLimitsPage(&page);
    PaintInfoPage(win, page, DrawModeCopy, DrawModeCopy, Fill);
    ExpectText(25, 415, "Current 3 (A):");
    ExpectRight(185 + 55, 415, "50.0");
    EXPECT_EQ(At(190, 424), Fill);  // no line crosses the row beside its value
    EXPECT_NE(At(215, 439), Fill);  // the outline's bottom line
    EXPECT_EQ(At(215, 440), Fill);
}

TEST_F(InfoPageTest, RangeLimitsUsUnitsConvertEveryRow) {
    SetLimits();
    UnitsSetting = {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    static TInfoPage page;
    BuildRangeLimitsPage(&page);
    EXPECT_EQ(TextAt(page, 25, 75), "MAP (inHg):");
    EXPECT_EQ(TextAt(page, 25, 115), "Oil Press (psi):");
    EXPECT_EQ(TextAt(page, 25, 195), "Left/Total tank (gal):");
    EXPECT_EQ(TextAt(page, 25, 255), "Fuel flow (gal/h):");
    ExpectCells(page, {
        {1, 0, "6000"},
        {2, 0, "44.3"}, {2, 2, "8.9"}, {2, 4, "38.4"},
        {4, 0, "145"}, {4, 1, "12"}, {4, 2, "22"}, {4, 3, "73"}, {4, 4, "102"}, {4, 5, "116"},
        // -18 C is 0 F: a minimum of 0 F is not shown.
        {5, 0, "302"}, {5, 1, ""}, {5, 2, "122"}, {5, 3, "230"}, {5, 4, "248"}, {5, 5, "266"},
        {6, 0, "302"}, {6, 3, "212"},
        {8, 0, "21.1"}, {8, 1, "2.6"},
        {10, 0, "87.0"}, {10, 1, "2.2"}, {10, 2, "2.9"}, {10, 4, "58.0"}, {10, 5, "72.5"},
        {11, 0, "10.6"}, {11, 5, "9.2"},
        {12, 0, "1652"}, {12, 4, "1562"}, {12, 5, "1616"}, {13, 5, "275"},
        {14, 0, "16.0"},
    });
    PaintInfoPage(win, page, DrawModeCopy, DrawModeCopy, Fill);
    Snapshot("range_limits_us");
    ExpectText(25, 75, "MAP (inHg):");
    EXPECT_EQ(At(255 + 54, 137), Fill);  // the hidden 0 F minimum
    ExpectRight(465 + 55, 75, "38.4");
    ExpectRight(535 + 55, 255, "9.2");
}

TEST_F(InfoPageTest, RangeLimitsKgPerCm2AddsFiveBeforeDividing) {
    SetLimits();
    UnitsSetting.enginePress = UnitKpCm2;
    static TInfoPage page;
    BuildRangeLimitsPage(&page);
    EXPECT_EQ(TextAt(page, 25, 115), "Oil Press (kg/cm2):");
    ExpectCells(page, {{4, 0, "10.1"}, {4, 1, "0.8"}, {10, 0, "6.11"}, {10, 1, "0.15"}, {10, 5, "5.09"}});
}

TEST_F(InfoPageTest, RangeLimitsLeavesOutRowsOfUnknownUnitsAndMovesLabelsInRussian) {
    SetLimits();
    UnitsSetting = {};
    UnitsSetting.enginePress = UnitKPa;
    UnitsSetting.manifoldPress = 5;
    LanguageId = LanguageRussian;
    static TInfoPage page;
    BuildRangeLimitsPage(&page);
    LanguageId = 1033;
    EXPECT_EQ(TextAt(page, 15, 55), "RPM (rpm):");
    EXPECT_EQ(FindPageText(page, 15, 75), nullptr);   // MAP
    EXPECT_EQ(FindPageText(page, 15, 115), nullptr);  // oil pressure
    EXPECT_EQ(FindPageText(page, 15, 235), nullptr);  // fuel pressure
    EXPECT_EQ(FindPageText(page, 240, 75), nullptr);
    EXPECT_EQ(TextAt(page, 15, 135), "Oil Temp (\xB0" "F):");
}

// ---- sensors ----

TEST_F(InfoPageTest, SensorsNameTypesByTheirCatalogueList) {
    EngineGaugeConfig.cylinders = 4;
    EngineGaugeConfig.waterChtUsed = 1;  // channel 0x602, list 0x603
    EngineGaugeConfig.waterChtType = 0;
    EngineGaugeConfig.iatUsed = 1;       // channel 0x600, list 0x601
    EngineGaugeConfig.iatType = 0;
    EngineGaugeConfig.twoTanks = 1;
    EngineGaugeConfig.voltsMask = 2;
    memset(SupplyNameSetting, 0, sizeof SupplyNameSetting);
    SupplyNameSetting[1].flags = 1;
    memcpy(SupplyNameSetting[1].name, "LIGHTS", 6);
    static TInfoPage page;
    BuildSensorsPage(&page);
    EXPECT_EQ(TextAt(page, 125, 110), "not used");
    EXPECT_EQ(TextAt(page, 5, 210), "Water CHT:");
    EXPECT_EQ(TextAt(page, 125, 210), "4205-05");
    EXPECT_EQ(TextAt(page, 5, 250), "Left tank:");
    EXPECT_EQ(TextAt(page, 5, 270), "Right tank:");
    EXPECT_EQ(TextAt(page, 385, 110), "4x");
    EXPECT_EQ(TextAt(page, 385, 130), "4205-39");
    EXPECT_EQ(TextAt(page, 385, 170), "\"BATTERY\", not used");
    EXPECT_EQ(TextAt(page, 385, 190), "\"LIGHTS\", used");
    EXPECT_EQ(TextAt(page, 265, 230), "Current 1:");
    // The box starts left of the screen: it is clipped, nothing breaks.
    SensorsPageShown = 1;
    DrawSensorsPage(win, DrawModeCopy, DrawModeCopy, Fill);
    SensorsPageShown = 0;
    EXPECT_EQ(At(0, 200), Fill);
    EXPECT_EQ(At(624, 200), 0x000000u);
    EXPECT_EQ(At(625, 200), Under);

    BuildAirTempSensorsPage(&page);
    EXPECT_EQ(TextAt(page, 250, 200), "4205-39");
    EXPECT_EQ(TextAt(page, 250, 240), "not used");
}

TEST_F(InfoPageTest, ThermocouplesPlaceNumbersAfterTheirLabels) {
    EngineGaugeConfig.cylinders = 2;
    EngineGaugeConfig.egt[0] = {3, 1};
    EngineGaugeConfig.cht[1] = {9, 0};
    static TInfoPage page;
    BuildThermocouplePage(&page);
    EXPECT_EQ(TextAt(page, 65, 50), "EGT 1:");
    EXPECT_EQ(TextAt(page, 135, 50), "Thermocouple No.");
    const TPageText* number = FindPageText(page, 140, 50);
    ASSERT_NE(number, nullptr);
    EXPECT_STREQ(number->text, "3");
    ASSERT_GT(number->shiftBy, 0);
    EXPECT_STREQ(page.texts[number->shiftBy - 1].text, "Thermocouple No.");
    EXPECT_EQ(TextAt(page, 135, 70), "Not Connected");
    EXPECT_EQ(FindPageText(page, 390, 70), nullptr);
    EXPECT_EQ(TextAt(page, 65, 100), "CHT 1:");  // half a row below the exhaust slots
    EXPECT_EQ(TextAt(page, 140, 120), "9");
    EXPECT_EQ(TextAt(page, 390, 120), "4205-04H2");
    EngineGaugeConfig.cylinders = 99;  // a damaged count stays inside the slots
    BuildThermocouplePage(&page);
    EXPECT_EQ(TextAt(page, 65, 150), "EGT 6:");
}

// ---- aircraft ----

TEST_F(InfoPageTest, AircraftPageByScreenTypeAndTankCount) {
    memset(&AircraftIdSetting, 0, sizeof AircraftIdSetting);
    MiscSetting[MiscPitchOffset].value = -15;
    MiscSetting[MiscRollOffset].value = -5;
    FuelFlowSetting = {};
    FuelFlowSetting.kFactor = 6000;
    FuelFlowSetting.pressOffset = -25;
    RpmSensorSetting[0] = {2, 243};
    struct {
        int screen, tanks;
        int variant;
        int x, top, h;
        int lastRowY;
        const char* lastLabel;
    } const cases[] = {
        {1, 2, 0, 20, 20, 420, 65 + 17 * 20, "Main switch control:"},
        {1, 1, 0, 20, 40, 380, 85 + 15 * 20, "Main switch control:"},
        {1, 0, 0, 20, 70, 320, 115 + 12 * 20, "Main switch control:"},
        {2, 2, 0, 50, 130, 220, 175 + 6 * 20, "Gear Down:"},
        {5, 0, 0, 50, 130, 220, 175 + 6 * 20, "Gear Down:"},
        {1, 2, 1, 20, 180, 100, 245, "Backlight dimmer ctrl:"},
        {3, 1, 1, 50, 180, 100, 245, "Backlight dimmer ctrl:"},
    };
    static TInfoPage page;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << c.screen << " tanks " << c.tanks << " variant " << c.variant);
        ScreenType = c.screen;
        EngineGaugeConfig.tankUsed = c.tanks > 0;
        EngineGaugeConfig.twoTanks = c.tanks == 2;
        BuildAircraftPage(&page, c.variant);
        EXPECT_EQ(page.x, c.x);
        EXPECT_EQ(page.y, c.top);
        EXPECT_EQ(page.h, c.h);
        EXPECT_EQ(page.w, 500);
        EXPECT_EQ(TextAt(page, c.x + 140, c.top + 10), "Setting and calibration");
        EXPECT_EQ(TextAt(page, c.x + 20, c.lastRowY), c.lastLabel);
        EXPECT_EQ(FindPageText(page, c.x + 20, c.lastRowY + 20), nullptr);
        if (c.variant == 0) {
            EXPECT_EQ(TextAt(page, c.x + 320, c.top + 45), "AIRCRAFT");
        }

        win->clear(Under);
        AircraftPageShown = c.variant ? 2 : 1;
        DrawAircraftPage(win, DrawModeCopy, DrawModeCopy, Fill);
        AircraftPageShown = 0;
        EXPECT_EQ(At(c.x, c.top + 5), 0x000000u);
        EXPECT_EQ(At(c.x + 5, c.top + c.h - 2), Fill);
        EXPECT_EQ(At(c.x + 5, c.top + c.h + 1), Under);
        ExpectText(c.x + 20, c.lastRowY, c.lastLabel);
        const std::string name = "aircraft_screen" + std::to_string(c.screen) + "_tanks" + std::to_string(c.tanks) +
                                 (c.variant ? "_short" : "_full");
        Snapshot(name.c_str());
    }
    // Flight screens: offsets with their sign.
    ScreenType = 2;
    BuildAircraftPage(&page, 0);
    EXPECT_EQ(TextAt(page, 370, 195), "-1.5");
    EXPECT_EQ(TextAt(page, 370, 215), "-0.5");
    // Engine screen, two tanks, US gallons: k-factor per gallon to tens, offset in psi.
    ScreenType = 1;
    EngineGaugeConfig.tankUsed = 1;
    EngineGaugeConfig.twoTanks = 1;
    UnitsSetting.fuel = UnitUsGallon;
    UnitsSetting.enginePress = UnitPsi;
    BuildAircraftPage(&page, 0);
    EXPECT_EQ(TextAt(page, 40, 165), "Fuel flow k-factor (gal):");
    EXPECT_EQ(TextAt(page, 340, 165), "22710");  // 6000 x 3.785 = 22712, to tens
    EXPECT_EQ(TextAt(page, 40, 205), "Fuel press offset (psi):");
    EXPECT_EQ(TextAt(page, 340, 205), "-3.60");  // -25 x 145 / 100 x 10 hundredths of psi
    EXPECT_EQ(TextAt(page, 40, 225), "Left tank:");
    EXPECT_EQ(TextAt(page, 40, 265), "Unexhaustible fuel in left tank (gal):");
    EXPECT_EQ(TextAt(page, 340, 345), "1:2.43");
}

// ---- fuel-pressure zero calibration ----

class ZeroCalibTest : public InfoPageTest {
protected:
    void SetUp() override {
        InfoPageTest::SetUp();
        dir = new ConfigTempDir;
        ASSERT_EQ(ConfigManager.Create(), 0);
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        now = 1000000;
        savedClock = FuelPressCalibClock;
        FuelPressCalibClock = [this] { return now; };
        UnitsSetting.enginePress = UnitBar;
        FuelFlowSetting.pressOffset = 12;
    }
    void TearDown() override {
        FuelPressCalibClock = savedClock;
        ConfigManager.Release();
        delete dir;
        InfoPageTest::TearDown();
    }
    std::string Message() {
        static TInfoPage page;
        BuildFuelPressCalibBox(&page);
        return TextAt(page, 400, 260);
    }
    void Frame() { DrawFuelPressZeroCalib(win); }
    // The device answers in its command block.
    void Answer(uint8_t status) {
        GyroProcess.status = status;
        ASSERT_EQ(SetSS(SsGyroProcess, 0), 0);
        GyroProcess = {};
    }

    ConfigTempDir* dir = nullptr;
    int64_t now = 0;
    std::function<int64_t()> savedClock;
};

TEST_F(ZeroCalibTest, WaitsTwoSecondsThenFailsWithoutAnAnswer) {
    FuelPressCalibState = FuelCalibWaitSet;
    BindFuelPressCalibKeys();
    EXPECT_EQ(Message(), "Press Set to store new value");
    Keyboard.Dispatch('5');
    EXPECT_EQ(FuelPressCalibState, FuelCalibSend1);
    Frame();
    EXPECT_EQ(FuelPressCalibState, FuelCalibWait1);
    // The command went to the store as the device would read it.
    GyroProcess = {};
    ASSERT_EQ(GetSS(SsGyroProcess, 0), 0);
    EXPECT_EQ(GyroProcess.request, FuelCalibCommandZero);
    EXPECT_EQ(GyroProcess.sent, 1);
    for (int64_t step : {0, 500, 1000, 499}) {
        now += step;
        Frame();
        EXPECT_EQ(FuelPressCalibState, FuelCalibWait1) << now;
        EXPECT_EQ(Message(), "Please wait...");
    }
    now += 1;  // 2 s after the command
    Frame();
    EXPECT_EQ(FuelPressCalibState, FuelCalibSensorFailed);
    EXPECT_EQ(Message(), "Sensor calibration failed !");
    ExpectText(400 - FGFontManager::textwidth(OverlayRoleFont(PageFontBody), "Sensor calibration failed !") / 2, 260,
               "Sensor calibration failed !", 0, PanelInk);
    static TInfoPage box;
    BuildFuelPressCalibBox(&box);
    EXPECT_EQ(TextAt(box, 220, 225), "Offset value: 0.12 bar");
    // OK leaves.
    const EVENT_ITEM* ok = Keyboard.FindBinding(KeyCode('5'));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->label, 66);
    Keyboard.Dispatch('5');
    EXPECT_EQ(FuelPressCalibState, FuelCalibHidden);
}

TEST_F(ZeroCalibTest, ScriptedAnswerSucceedsAndSecondCommandFailsAlone) {
    FuelPressCalibState = FuelCalibSend1;
    Frame();
    Answer(1);
    now += 2000;
    Frame();
    EXPECT_EQ(FuelPressCalibState, FuelCalibDone);
    EXPECT_EQ(Message(), "Calibration has been done.");

    FuelPressCalibState = FuelCalibSend2;
    Frame();
    EXPECT_EQ(FuelPressCalibState, FuelCalibWait2);
    now += 2500;
    Frame();
    EXPECT_EQ(FuelPressCalibState, FuelCalibEcuFailed);
    EXPECT_EQ(Message(), "ECU calibration failed !");
}

TEST_F(ZeroCalibTest, CancelLeavesFromEveryState) {
    char text[64];
    EXPECT_STREQ(FuelPressCalibMessage(FuelCalibSensorError, text, sizeof text), "Sensor error !");
    EXPECT_STREQ(FuelPressCalibMessage(FuelCalibEcuCommError, text, sizeof text), "ECU communication error !");
    EXPECT_STREQ(FuelPressCalibMessage(FuelCalibHidden, text, sizeof text), "");
    for (int state = FuelCalibWaitSet; state <= FuelCalibEcuFailed; ++state) {
        SCOPED_TRACE(state);
        FuelPressCalibState = state;
        BindFuelPressCalibKeys();
        const EVENT_ITEM* cancel = Keyboard.FindBinding(KeyCode('4'));
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->label, 45);
        // The other keys are held: none reaches the default handler.
        for (char k : std::string("0123adsw")) EXPECT_NE(Keyboard.FindBinding(KeyCode(k)), nullptr) << k;
        Keyboard.Dispatch('4');
        EXPECT_EQ(FuelPressCalibState, FuelCalibHidden);
        EXPECT_EQ(SoftKeyHold, 0);
    }
    // A hidden calibration draws nothing and sends nothing.
    win->clear(Under);
    Frame();
    EXPECT_EQ(At(400, 200), Under);
}

}  // namespace
