#include "extremes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "bmpfile.h"
#include "checklist.h"
#include "config_tempdir.h"
#include "configmanager.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "refresh.h"
#include "settingvars.h"
#include "shellstate.h"
#include "startup.h"
#include "units.h"

namespace {

constexpr int W = 800, H = 480;
constexpr FGPixel Page = 0x102040;  // stands in for the page under the overlay

std::vector<std::string> Texts(const TOverlayLine* lines, int n) {
    std::vector<std::string> t;
    for (int i = 0; i < n; ++i) t.push_back(lines[i].text);
    return t;
}

// The line at (x, y), or "" when there is none.
std::string LineAt(const TOverlayLine* lines, int n, int x, int y) {
    for (int i = 0; i < n; ++i)
        if (lines[i].x == x && lines[i].y == y) return lines[i].text;
    return "";
}

void ClearStatistics() {
    const TStatPair cleared = {INT32_MIN, INT32_MAX};
    FlightStatistics = {cleared, cleared, cleared, cleared};
    EngineStatistics = {cleared, cleared, cleared, cleared, cleared, cleared, cleared, cleared, cleared, {}, {}};
    for (int i = 0; i < ThermoSlots; ++i) EngineStatistics.egtMax[i] = EngineStatistics.chtMax[i] = INT32_MIN;
}

// Feeds a series through the refresh's extremes keeper.
void Feed(TStatPair& stat, std::initializer_list<int> series) {
    for (int v : series) UpdateMinMax(v, &stat.max, &stat.min);
}

class OverlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (DisplayFonts[0] >= 0) return;
        // The fonts are registered from the working directory, as at start-up.
        char old[PATH_MAX];
        ASSERT_TRUE(getcwd(old, sizeof old));
        ASSERT_EQ(chdir(RUN_DIR), 0);
        const int registered = RegisterDisplayFonts();
        ASSERT_EQ(chdir(old), 0);
        ASSERT_EQ(registered, DisplayFontCount);
    }
    void SetUp() override {
        BuildDisplayPalette();
        ClearStatistics();
        UnitsSetting = {};
        UnitsSetting.altitude = UnitFeet;
        UnitsSetting.airspeed = UnitKnots;
        UnitsSetting.verticalSpeed = UnitFeetPerMin;
        UnitsSetting.temperature = UnitCelsius;
        UnitsSetting.enginePress = UnitBar;
        UnitsSetting.manifoldPress = UnitInHg;
        UnitsSetting.fuel = UnitLitre;
        EngineGaugeConfig = {};
        EngineGaugeConfig.cylinders = 6;
        LanguageId = 1033;
        LanguageFontSet = FontSetLatin;
        ChecklistBoxLineCount = 0;
        ChecklistBoxName = nullptr;
        memset(ChecklistBoxLines, 0, sizeof ChecklistBoxLines);
        ChecklistHeader = {};
        win.clear(Page);
        win.set_font(0);
    }
    void TearDown() override {
        ClearStatistics();
        ChecklistBoxLineCount = 0;
        ChecklistBoxName = nullptr;
    }

    FGPixel At(int x, int y) const { return win.pixels[y * W + x]; }
    FGPixel Ink() const { return DisplayPalette.PalOverlayText; }
    FGPixel Paper() const { return DisplayPalette.PalOverlayPanel; }

    // The text is in the window at (x, y) exactly as the font draws it, ink on
    // overlay paper, with nothing else in the next few columns.
    void ExpectText(int x, int y, int font, const std::string& text) const {
        SCOPED_TRACE(text);
        ASSERT_TRUE(FGFontManager::is_font(font));
        const int tw = FGFontManager::textwidth(font, text.c_str()), th = FGFontManager::get_font_height(font);
        const int rw = tw + 4;
        FGDrawBuffer ref(rw, th, FG_TYPE_BITMAP, Paper());
        ref.set_font(font);
        ref.set_mode(0);
        ref.text(0, 0, text.c_str(), Ink(), Paper());
        int differ = 0, inked = 0;
        for (int py = 0; py < th; ++py)
            for (int px = 0; px < rw; ++px) {
                const FGPixel want = ref.pixels[py * rw + px];
                differ += At(x + px, y + py) != want;
                inked += want == Ink();
            }
        EXPECT_EQ(differ, 0) << "at " << x << "," << y;
        EXPECT_GT(inked, 0);
    }

    // Every pixel of the row band y..y+h from x0 to x1 is overlay paper.
    bool Blank(int x0, int x1, int y, int h) const {
        for (int py = y; py < y + h; ++py)
            for (int px = x0; px < x1; ++px)
                if (At(px, py) != Paper()) return false;
        return true;
    }

    void ExpectBox(int x, int y, int w, int h) const {
        for (int px = x; px < x + w; ++px) {
            EXPECT_EQ(At(px, y), Ink()) << px;
            EXPECT_EQ(At(px, y + h - 1), Ink()) << px;
        }
        for (int py = y; py < y + h; ++py) {
            EXPECT_EQ(At(x, py), Ink()) << py;
            EXPECT_EQ(At(x + w - 1, py), Ink()) << py;
        }
        EXPECT_EQ(At(x + 2, y + h - 3), Paper());
        EXPECT_EQ(At(x - 1, y - 1), Page);
        EXPECT_EQ(At(x + w, y + h), Page);
    }

    // Snapshot for looking at: build/tests/artefacts/<name>.bmp.
    void Snapshot(const char* name) const {
        const std::string dir = std::string(TEST_HELPER_DIR) + "/artefacts";
        mkdir(dir.c_str(), 0755);
        const std::string path = dir + "/" + name + ".bmp";
        EXPECT_EQ(BmpWrite24(path.c_str(), win.pixels, W, H, W), BMP_OK) << path;
    }

    FGDrawBuffer win{W, H, FG_TYPE_BITMAP, Page};
    TOverlayLine lines[OverlayMaxLines];
};

// ---------------------------------------------------------------- line formatters

TEST(ExtremeFormat, SetAndUnsetValues) {
    char b[ExtremeLineSize];
    EXPECT_EQ(FormatExtreme(b, sizeof b, "RPM", "", 2500, ExtremeMax), 1);
    EXPECT_STREQ(b, "RPM MAX = 2500 ");
    EXPECT_EQ(FormatExtreme(b, sizeof b, "Speed", "kts", INT32_MIN, ExtremeMax), 0);
    EXPECT_STREQ(b, "Speed MAX  - - -  kts");
    EXPECT_EQ(FormatExtreme(b, sizeof b, "Speed", "kts", INT32_MAX, ExtremeMin), 0);
    EXPECT_STREQ(b, "Speed MIN  - - -  kts");
    // Each kind's cleared value is an ordinary value of the other kind.
    EXPECT_EQ(FormatExtreme(b, sizeof b, "X", "u", INT32_MAX, ExtremeMax), 1);
    EXPECT_EQ(FormatExtreme(b, sizeof b, "X", "u", INT32_MIN, ExtremeMin), 1);
    EXPECT_STREQ(b, "X MIN = -2147483648 u");
}

TEST(ExtremeFormat, ConvertedValueShownOnlyWhenStoredIsSet) {
    char b[ExtremeLineSize];
    EXPECT_EQ(FormatConvertedExtreme(b, sizeof b, "Altitude", "ft", 3280, 1000, ExtremeMax), 1);
    EXPECT_STREQ(b, "Altitude MAX = 3280 ft");
    // A conversion that saturates onto the cleared value still shows as a number.
    EXPECT_EQ(FormatConvertedExtreme(b, sizeof b, "VSI", "ft/min", INT32_MIN, -20000000, ExtremeMax), 1);
    EXPECT_STREQ(b, "VSI MAX = -2147483648 ft/min");
    EXPECT_EQ(FormatConvertedExtreme(b, sizeof b, "Altitude", "ft", 12345, INT32_MAX, ExtremeMin), 0);
    EXPECT_STREQ(b, "Altitude MIN  - - -  ft");
}

TEST(ExtremeFormat, ShortBufferIsCutNotOverrun) {
    char b[8];
    memset(b, 'x', sizeof b);
    FormatExtreme(b, sizeof b, "Altitude", "ft", 1000, ExtremeMax);
    EXPECT_STREQ(b, "Altitud");
    EXPECT_EQ(FormatExtreme(nullptr, 10, "A", "", 1, ExtremeMax), 0);
}

// ---------------------------------------------------------------- flight extremes

TEST_F(OverlayTest, ClearedFlightStatisticsShowDashesInEveryRow) {
    const int n = FlightExtremeLines(lines);
    EXPECT_EQ(Texts(lines, n), (std::vector<std::string>{
                                   "Altitude MIN  - - -  ft", "Altitude MAX  - - -  ft",
                                   "Speed MIN  - - -  kts", "Speed MAX  - - -  kts",
                                   "VSI MIN  - - -  ft/min", "VSI MAX  - - -  ft/min",
                                   "Acceleration MIN  - - -  g", "Acceleration MAX  - - -  g"}));
    const int xs[2] = {190, 410}, ys[4] = {205, 225, 245, 265};
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(lines[i].x, xs[i % 2]);
        EXPECT_EQ(lines[i].y, ys[i / 2]);
    }
}

TEST_F(OverlayTest, FlightSeriesShowsItsExtremesInTheSelectedUnits) {
    Feed(FlightStatistics.altitude, {350, 1000, 620, 80});
    Feed(FlightStatistics.speed, {0, 100, 185, 60});
    Feed(FlightStatistics.verticalSpeed, {0, 5, -3});
    Feed(FlightStatistics.acceleration, {10, 15, -5, 9});
    int n = FlightExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 410, 205), "Altitude MAX = 3280 ft");
    EXPECT_EQ(LineAt(lines, n, 190, 205), "Altitude MIN = 262 ft");
    EXPECT_EQ(LineAt(lines, n, 410, 225), "Speed MAX = 99 kts");
    EXPECT_EQ(LineAt(lines, n, 190, 225), "Speed MIN = 0 kts");
    EXPECT_EQ(LineAt(lines, n, 410, 245), "VSI MAX = 984 ft/min");
    EXPECT_EQ(LineAt(lines, n, 190, 245), "VSI MIN = -590 ft/min");
    EXPECT_EQ(LineAt(lines, n, 410, 265), "Acceleration MAX = 1.5 g");
    EXPECT_EQ(LineAt(lines, n, 190, 265), "Acceleration MIN = - 0.5 g");

    UnitsSetting.altitude = UnitMetres;
    UnitsSetting.verticalSpeed = UnitVsKnots;
    n = FlightExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 410, 205), "Altitude MAX = 1000 m");
    EXPECT_EQ(LineAt(lines, n, 410, 245), "VSI MAX = 9 kts");
    UnitsSetting.verticalSpeed = UnitMetresPerSec;
    n = FlightExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 190, 245), "VSI MIN = -3 m/s");
}

TEST_F(OverlayTest, SpeedExtremeInEveryAirspeedUnit) {
    FlightStatistics.speed = {100, 100};
    const char* want[3] = {"Speed MAX = 53 kts", "Speed MAX = 62 mph", "Speed MAX = 100 km/h"};
    for (int unit = 0; unit < 3; ++unit) {
        UnitsSetting.airspeed = static_cast<int16_t>(unit);
        const int n = FlightExtremeLines(lines);
        EXPECT_EQ(LineAt(lines, n, 410, 225), want[unit]);
    }
}

TEST_F(OverlayTest, UnknownFlightUnitLeavesItsRowEmpty) {
    UnitsSetting.altitude = 2;
    UnitsSetting.airspeed = 3;
    const int n = FlightExtremeLines(lines);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(LineAt(lines, n, 190, 205), "");
    EXPECT_EQ(LineAt(lines, n, 190, 225), "");
}

TEST_F(OverlayTest, FlightExtremesDrawnInTheBox) {
    Feed(FlightStatistics.altitude, {120, 1000});
    Feed(FlightStatistics.speed, {80, 210});
    DrawFlightExtremes(&win);
    ExpectBox(180, 190, 440, 100);
    const int font = OverlayStatusFont();
    EXPECT_EQ(win.get_font(), font);
    ExpectText(410, 205, font, "Altitude MAX = 3280 ft");
    ExpectText(190, 205, font, "Altitude MIN = 393 ft");
    ExpectText(190, 225, font, "Speed MIN = 43 kts");
    ExpectText(410, 245, font, "VSI MAX  - - -  ft/min");
    ExpectText(190, 265, font, "Acceleration MIN  - - -  g");
    Snapshot("flight_extremes");
}

TEST_F(OverlayTest, AirportDataFrame) {
    win.set_font(OverlayRoleFont(10));
    DrawAirportData(&win);
    ExpectBox(40, 70, 720, 340);
    ExpectText(50, 80, OverlayRoleFont(10), "AIRPORT DATA");
    // Nothing else in the frame.
    EXPECT_TRUE(Blank(42, 758, 110, 298));
    Snapshot("airport_data");
}

// ---------------------------------------------------------------- engine extremes

TEST_F(OverlayTest, ClearedEngineStatisticsShowDashesMinLeftMaxRight) {
    const int n = EngineExtremeLines(lines);
    ASSERT_EQ(n, 16 + 12);
    const char* names[8] = {"RPM", "OIL PRESS", "OIL TEMP", "MAP", "FUEL PRESS", "FUEL FLOW", "IAT ", "OAT "};
    const char* units[8] = {"", "bar", "\xB0" "C", "inHg", "bar", "l/h", "\xB0" "C", "\xB0" "C"};
    for (int k = 0; k < 8; ++k) {
        const int y = 100 + 20 * k;
        EXPECT_EQ(LineAt(lines, n, 180, y), std::string(names[k]) + " MIN  - - -  " + units[k]);
        EXPECT_EQ(LineAt(lines, n, 405, y), std::string(names[k]) + " MAX  - - -  " + units[k]);
    }
    for (int c = 1; c <= 6; ++c) {
        const int y = 270 + 20 * (c - 1);
        EXPECT_EQ(LineAt(lines, n, 180, y), "EGT" + std::to_string(c) + " MAX  - - -  \xB0" "C");
        EXPECT_EQ(LineAt(lines, n, 405, y), "CHT" + std::to_string(c) + " MAX  - - -  \xB0" "C");
    }
}

TEST_F(OverlayTest, OilPressureInEveryEngineUnit) {
    EngineStatistics.oilPress = {5000, 1234};  // thousandths of a bar
    const char* maxWant[3] = {"OIL PRESS MAX = 72 psi", "OIL PRESS MAX = 5.0 bar", "OIL PRESS MAX = 5.0 kg/cm2"};
    const char* minWant[3] = {"OIL PRESS MIN = 17 psi", "OIL PRESS MIN = 1.2 bar", "OIL PRESS MIN = 1.2 kg/cm2"};
    for (int unit = 0; unit < 3; ++unit) {
        UnitsSetting.enginePress = static_cast<int16_t>(unit);
        const int n = EngineExtremeLines(lines);
        EXPECT_EQ(LineAt(lines, n, 405, 120), maxWant[unit]);
        EXPECT_EQ(LineAt(lines, n, 180, 120), minWant[unit]);
    }
    // kPa is not a unit of this overlay: the row stays empty.
    UnitsSetting.enginePress = UnitKPa;
    const int n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 405, 120), "");
    EXPECT_EQ(LineAt(lines, n, 405, 180), "");
}

// The fuel pressure is kept in hundredths of a bar: 3.50 bar is 50.75 psi.
TEST_F(OverlayTest, FuelPressureInTheRightScale) {
    EngineStatistics.fuelPress = {350, 5};
    UnitsSetting.enginePress = UnitPsi;
    int n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 405, 180), "FUEL PRESS MAX = 50 psi");
    EXPECT_EQ(LineAt(lines, n, 180, 180), "FUEL PRESS MIN = 0 psi");
    UnitsSetting.enginePress = UnitBar;
    n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 405, 180), "FUEL PRESS MAX = 3.50 bar");
    EXPECT_EQ(LineAt(lines, n, 180, 180), "FUEL PRESS MIN = 0.05 bar");
    UnitsSetting.enginePress = UnitKpCm2;
    n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 405, 180), "FUEL PRESS MAX = 3.56 kg/cm2");
}

TEST_F(OverlayTest, NegativeFractionsKeepTheirSign) {
    EngineStatistics.fuelPress = {-5, -5};
    EngineStatistics.map = {-1, -1};
    EngineStatistics.oilPress = {-1500, -1500};  // a sensor offset below zero
    const int n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 405, 120), "OIL PRESS MAX = -1.5 bar");
    EXPECT_EQ(LineAt(lines, n, 405, 180), "FUEL PRESS MAX = - 0.05 bar");
    EXPECT_EQ(LineAt(lines, n, 405, 160), "MAP MAX = - 0.02 inHg");
}

TEST_F(OverlayTest, ManifoldTemperatureAndFlowConversions) {
    EngineStatistics.map = {1013, 1013};
    EngineStatistics.oilTemp = {100, -40};
    EngineStatistics.fuelFlow = {30, 12};
    EngineStatistics.chtMax[0] = 120;
    int n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 180, 160), "MAP MIN = 29.91 inHg");
    EXPECT_EQ(LineAt(lines, n, 405, 140), "OIL TEMP MAX = 100 \xB0" "C");
    EXPECT_EQ(LineAt(lines, n, 405, 200), "FUEL FLOW MAX = 30 l/h");

    UnitsSetting.manifoldPress = UnitTorr;
    UnitsSetting.temperature = UnitFahrenheit;
    UnitsSetting.fuel = UnitUsGallon;
    n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 180, 160), "MAP MIN = 759 torr");
    EXPECT_EQ(LineAt(lines, n, 405, 140), "OIL TEMP MAX = 212 \xB0" "F");
    EXPECT_EQ(LineAt(lines, n, 180, 140), "OIL TEMP MIN = -40 \xB0" "F");
    EXPECT_EQ(LineAt(lines, n, 405, 200), "FUEL FLOW MAX = 8 gal/h");
    EXPECT_EQ(LineAt(lines, n, 405, 270), "CHT1 MAX = 248 \xB0" "F");
    UnitsSetting.manifoldPress = UnitMbar;
    n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 180, 160), "MAP MIN = 1013 mBar");

    // A temperature unit with no text leaves every temperature row empty.
    UnitsSetting.temperature = 2;
    n = EngineExtremeLines(lines);
    EXPECT_EQ(n, 16 - 6);  // no OIL TEMP, IAT, OAT, EGT or CHT line
    EXPECT_EQ(LineAt(lines, n, 405, 270), "");
}

TEST_F(OverlayTest, SecondRpmReplacesTheManifoldRow) {
    EngineGaugeConfig.rotorRpmUsed = 1;
    EngineStatistics.rpm2 = {5400, 300};
    const int n = EngineExtremeLines(lines);
    EXPECT_EQ(LineAt(lines, n, 405, 160), "Rotor RPM MAX = 5400 ");
    EXPECT_EQ(LineAt(lines, n, 180, 160), "Rotor RPM MIN = 300 ");
}

TEST_F(OverlayTest, CylinderRowsFollowTheCylinderCount) {
    for (int count : {2, 4, 6, 0, 5}) {
        EngineGaugeConfig.cylinders = count;
        const int n = EngineExtremeLines(lines);
        const int shown = count == 4 || count == 6 ? count : 2;
        EXPECT_EQ(n, 16 + 2 * shown) << count;
        EXPECT_EQ(LineAt(lines, n, 180, 270 + 20 * (shown - 1)),
                  "EGT" + std::to_string(shown) + " MAX  - - -  \xB0" "C");
        EXPECT_EQ(LineAt(lines, n, 180, 270 + 20 * shown), "");
    }
}

// Extremes gathered the way the refresh gathers them, drawn at their places.
TEST_F(OverlayTest, EngineSeriesDrawnThroughTheOverlay) {
    EngineGaugeConfig.cylinders = 4;
    Feed(EngineStatistics.rpm, {800, 2350, 5500, 4900});
    Feed(EngineStatistics.oilPress, {1500, 5000, 3200});
    Feed(EngineStatistics.oilTemp, {20, 95, 88});
    Feed(EngineStatistics.map, {1013, 560, 980});
    Feed(EngineStatistics.fuelPress, {20, 350, 300});
    for (int flow : {0, 185, 270, 240}) UpdateMinMax(flow / 10, &EngineStatistics.fuelFlow.max, &EngineStatistics.fuelFlow.min);
    Feed(EngineStatistics.oat, {15, -5, 8});
    const int egt[4] = {720, 745, 701, 760}, cht[4] = {98, 105, 110, 101};
    for (int c = 0; c < 4; ++c) {
        EngineStatistics.egtMax[c] = egt[c];
        EngineStatistics.chtMax[c] = cht[c];
    }
    DrawEngineExtremes(&win);
    ExpectBox(170, 85, 460, 310);
    const int font = Overlay16pxFont();
    EXPECT_EQ(win.get_font(), font);
    ExpectText(180, 100, font, "RPM MIN = 800 ");
    ExpectText(405, 100, font, "RPM MAX = 5500 ");
    ExpectText(405, 120, font, "OIL PRESS MAX = 5.0 bar");
    ExpectText(180, 140, font, "OIL TEMP MIN = 20 \xB0" "C");
    ExpectText(180, 160, font, "MAP MIN = 16.53 inHg");
    ExpectText(405, 160, font, "MAP MAX = 29.91 inHg");
    ExpectText(405, 180, font, "FUEL PRESS MAX = 3.50 bar");
    ExpectText(405, 200, font, "FUEL FLOW MAX = 27 l/h");
    ExpectText(180, 220, font, "IAT  MIN  - - -  \xB0" "C");
    ExpectText(180, 240, font, "OAT  MIN = -5 \xB0" "C");
    ExpectText(180, 330, font, "EGT4 MAX = 760 \xB0" "C");
    ExpectText(405, 330, font, "CHT4 MAX = 101 \xB0" "C");
    // With four cylinders nothing is written below the CHT4 row.
    EXPECT_TRUE(Blank(172, 628, 350, 43));
    Snapshot("engine_extremes");
}

TEST_F(OverlayTest, ExtremeStatisticsNeverOverflow) {
    for (int32_t v : {INT32_MAX - 1, INT32_MIN + 1, 0, -1}) {
        TStatPair p = {v, v};
        EngineStatistics = {p, p, p, p, p, p, p, p, p, {v, v, v, v, v, v}, {v, v, v, v, v, v}};
        FlightStatistics = {p, p, p, p};
        for (int unit = -1; unit <= 4; ++unit) {
            UnitsSetting.enginePress = UnitsSetting.manifoldPress = UnitsSetting.temperature = static_cast<int16_t>(unit);
            UnitsSetting.altitude = UnitsSetting.airspeed = UnitsSetting.verticalSpeed = static_cast<int16_t>(unit);
            UnitsSetting.fuel = static_cast<int16_t>(unit);
            const int n = EngineExtremeLines(lines);
            for (int i = 0; i < n; ++i) EXPECT_LT(strlen(lines[i].text), ExtremeLineSize);
            FlightExtremeLines(lines);
        }
    }
    DrawEngineExtremes(&win);
    DrawFlightExtremes(&win);
}

TEST_F(OverlayTest, NullWindowDrawsNothing) {
    DrawFlightExtremes(nullptr);
    DrawEngineExtremes(nullptr);
    DrawAirportData(nullptr);
    ChecklistBoxLineCount = 3;
    DrawTextMessageBox(nullptr);
}

// ---------------------------------------------------------------- checklist box

TEST(ChecklistBox, Geometry) {
    EXPECT_EQ(ChecklistBoxHeight(18), 450);
    EXPECT_EQ(ChecklistBoxY(18), 2);  // the formula gives 0
    EXPECT_EQ(ChecklistBoxHeight(1), 110);
    EXPECT_EQ(ChecklistBoxY(1), 170);
    EXPECT_EQ(ChecklistBoxY(10), 80);
}

TEST(ChecklistBox, UsedLinesUpToTheLastNonEmptyOne) {
    char lines[ChecklistLines][ChecklistLineSize] = {};
    EXPECT_EQ(ChecklistUsedLines(lines, ChecklistLines), 1);
    strcpy(lines[0], "a");
    strcpy(lines[6], "b");
    EXPECT_EQ(ChecklistUsedLines(lines, ChecklistLines), 7);
    strcpy(lines[17], "c");
    EXPECT_EQ(ChecklistUsedLines(lines, ChecklistLines), 18);
}

// Lines stored in the checklist settings, read back from the file as the menu
// reads them, and shown in the box.
TEST_F(OverlayTest, ChecklistBoxShowsTheStoredLines) {
    ConfigTempDir dir;
    ASSERT_EQ(ConfigManager.Create(), 0);
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    memset(&ChecklistHeader, 0, sizeof ChecklistHeader);
    strcpy(ChecklistHeader.title, "C-FLYR checklists");
    ASSERT_EQ(SetSS(0x3000, 0), 0);
    const char* stored[5] = {"Flaps;SET 15", "Trim;TAKE OFF", "", "Lights;ON;STROBE", "Fuel pump ON"};
    for (int i = 0; i < 18; ++i) {
        memset(ChecklistTable[5][i], 0, ChecklistLineSize);
        if (i < 5) strcpy(ChecklistTable[5][i], stored[i]);
        ASSERT_EQ(SetSS(0x3006, static_cast<uint16_t>(i)), 0);
    }
    ASSERT_EQ(SaveSetting(nullptr, KindChecklist), 0);
    ConfigManager.Release();

    memset(ChecklistTable, 0, sizeof ChecklistTable);
    memset(&ChecklistHeader, 0, sizeof ChecklistHeader);
    ASSERT_EQ(ConfigManager.Create(), 0);
    ASSERT_EQ(LoadSetting(nullptr, KindChecklist, 1), 0);
    EXPECT_EQ(OpenChecklistBox(5, "Before take off Checklist"), 5);
    ConfigManager.Release();
    EXPECT_EQ(ChecklistBoxLineCount, 5);
    EXPECT_STREQ(ChecklistBoxLines[3], "Lights;ON;STROBE");

    DrawTextMessageBox(&win);
    const int y = ChecklistBoxY(5);
    EXPECT_EQ(y, 130);
    ExpectBox(150, y, 500, 190);
    ExpectText(160, y + 10, OverlayRoleFont(11), "C-FLYR checklists");
    ExpectText(160, y + 35, OverlayRoleFont(10), "Before take off Checklist");
    const int font = Overlay16pxFont();
    auto right = [font](const char* t) { return 640 - FGFontManager::textwidth(font, t); };
    ExpectText(160, y + 70, font, "Flaps");
    ExpectText(right("SET 15"), y + 70, font, "SET 15");
    ExpectText(160, y + 90, font, "Trim");
    ExpectText(right("TAKE OFF"), y + 90, font, "TAKE OFF");
    EXPECT_TRUE(Blank(152, 648, y + 110, 18));  // the empty line
    ExpectText(160, y + 130, font, "Lights");
    ExpectText(right("ON;STROBE"), y + 130, font, "ON;STROBE");
    ExpectText(160, y + 150, font, "Fuel pump ON");
    Snapshot("checklist_box");
}

TEST_F(OverlayTest, FullChecklistAndUnterminatedTexts) {
    memset(ChecklistHeader.title, 'T', sizeof ChecklistHeader.title);  // no NUL in the field
    for (int i = 0; i < ChecklistLines; ++i) memset(ChecklistBoxLines[i], 'a' + i % 26, ChecklistLineSize);
    ChecklistBoxLineCount = 40;  // more than the box holds
    ChecklistBoxName = "Landing Checklist";
    DrawTextMessageBox(&win);
    // Lines this long run over the right edge; the rest of the frame stands.
    for (int x = 150; x < 650; ++x) EXPECT_EQ(At(x, 2), Ink()) << x;
    for (int y = 2; y < 452; ++y) EXPECT_EQ(At(150, y), Ink()) << y;
    for (int x = 150; x < 650; ++x) EXPECT_EQ(At(x, 451), Ink()) << x;
    EXPECT_EQ(At(150, 452), Page);
    ExpectText(160, 12, OverlayRoleFont(11), std::string(32, 'T'));
    EXPECT_EQ(At(155, 2 + 10 + 20 * 20 + 8), Paper());
}

TEST_F(OverlayTest, ClosedChecklistDrawsNothing) {
    ChecklistBoxLineCount = 0;
    DrawTextMessageBox(&win);
    for (int y = 0; y < H; y += 7)
        for (int x = 0; x < W; x += 7) ASSERT_EQ(At(x, y), Page);
    EXPECT_EQ(OpenChecklistBox(8, "x"), -1);
    EXPECT_EQ(OpenChecklistBox(-1, "x"), -1);
}

}  // namespace
