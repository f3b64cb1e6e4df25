#include "editors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "checklist.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"
#include "page_assets.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"
#include "window_probe.h"

namespace {

// ---------------------------------------------------------------- default stepping

struct StepCase {
    const char* name;
    int32_t minimum, maximum, value, cursor, base;
    std::vector<int32_t> rules;
    int32_t wantValue, wantCursor;
};

class EditorStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(EditorStepTest, StaysInsideTheLimits) {
    const StepCase& c = GetParam();
    int32_t value = c.value;
    Editor = TEditorRecord{c.minimum, c.maximum, &value, 1, c.base, c.cursor};
    for (int32_t rule : c.rules) EditorDefaultStep(rule);
    EXPECT_EQ(value, c.wantValue);
    EXPECT_EQ(Editor.cursor, c.wantCursor);
    Editor.value = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, EditorStepTest,
    ::testing::Values(
        StepCase{"UnitsUpStopsAtMaximum", 0, 999, 995, 0, 0, {2, 2, 2, 2, 2, 2}, 999, 0},
        StepCase{"TensUpAtTheTopFallsBackToUnits", 0, 999, 995, 1, 0, {2}, 995, 0},
        StepCase{"TensUpThenBackToUnits", 0, 999, 975, 1, 0, {2, 2, 2, 2}, 996, 0},
        StepCase{"DownStopsAtMinimum", 0, 999, 3, 0, 0, {1, 1, 1, 1, 1}, 0, 0},
        StepCase{"HundredsDownBelowMinimumFallsBack", 0, 999, 150, 2, 0, {1, 1, 1}, 40, 1},
        StepCase{"PositionCyclesOverTheMaximumsDigits", 0, 50, 0, 0, 0, {0}, 0, 1},
        StepCase{"PositionWrapsAfterTheTens", 0, 50, 0, 1, 0, {0}, 0, 0},
        StepCase{"PositionReachesTheMinimumsDigits", -500, 5, 0, 1, 0, {0}, 0, 2},
        StepCase{"NegativeStepsDownByHundreds", -500, 5, 0, 2, 0, {1, 1, 1, 1, 1, 1}, -500, 1},
        StepCase{"BaseExponentKeepsTheUnitsOut", 0, 9999, 1230, 0, 1, {2, 2}, 1250, 0},
        StepCase{"RulesThreeAndFourUseTheLastStep", 0, 9999, 100, 1, 0, {2, 4, 4, 3}, 120, 1},
        StepCase{"UnknownRuleDoesNothing", 0, 99, 10, 0, 0, {7, -1}, 10, 0}),
    [](const ::testing::TestParamInfo<StepCase>& i) { return std::string(i.param.name); });

TEST(EditorStep, WithoutAValueOnlyTheCursorMoves) {
    Editor = TEditorRecord{0, 999, nullptr, 1, 0, 2};
    EditorDefaultStep(2);
    EXPECT_EQ(Editor.cursor, 1);
    EditorDefaultStep(0);
    EXPECT_EQ(Editor.cursor, 2);
}

TEST(EditorStep, HugeLimitsDoNotOverflow) {
    int32_t value = INT32_MAX - 3;
    Editor = TEditorRecord{INT32_MIN, INT32_MAX, &value, 1, 0, 9};
    EditorDefaultStep(2);  // 10^9 would pass the maximum: the cursor moves right
    EXPECT_EQ(value, INT32_MAX - 3);
    EXPECT_EQ(Editor.cursor, 8);
    Editor.cursor = 10;  // beyond any digit
    EditorDefaultStep(0);
    EXPECT_EQ(Editor.cursor, 0);
    Editor.value = nullptr;
}

// OpenEditor binds the knob and the keys to the default rules or the handler.
std::vector<int32_t> HandlerCalls;
void RecordHandler(int32_t command) { HandlerCalls.push_back(command); }

TEST(EditorKeys, DefaultRulesAndHandlerBindings) {
    int32_t value = 10;
    OpenEditor(0, 50, &value, RecordHandler, 0, 0);
    MarkValueEditor(EdPercent, &value, "Brightness");
    Keyboard.Dispatch('w');
    Keyboard.Dispatch('w');
    Keyboard.Dispatch('s');
    EXPECT_EQ(value, 11);
    Keyboard.Dispatch('1');  // position: tens
    Keyboard.Dispatch('w');
    EXPECT_EQ(value, 21);
    EXPECT_EQ(std::string(Keyboard.GetKeyLabel('1')), "Position");
    EXPECT_EQ(std::string(Keyboard.GetKeyLabel('4')), "Cancel");
    EXPECT_EQ(std::string(Keyboard.GetKeyLabel('5')), "Set");
    HandlerCalls.clear();
    Keyboard.Dispatch('5');
    Keyboard.Dispatch('4');
    EXPECT_EQ(HandlerCalls, (std::vector<int32_t>{EditorCmdOk, EditorCmdCancel}));
    EXPECT_EQ(ValueEditorMarks[EdPercent].open, 1);

    // With step and cursor arguments the handler gets the knob and the position.
    OpenEditor(0, 50, &value, RecordHandler, 3, 16);
    EXPECT_EQ(ValueEditorMarks[EdPercent].open, 0) << "opening closes the other editors' boxes";
    HandlerCalls.clear();
    for (char k : {'s', 'w', '1', '0'}) Keyboard.Dispatch(k);
    EXPECT_EQ(HandlerCalls, (std::vector<int32_t>{3, 4, 16}));
    Keyboard.Clear();
    Editor.value = nullptr;
}

// ---------------------------------------------------------------- knob acceleration

int64_t FakeUs = 0;

class KnobTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeUs = 1000000000;
        SetKnobClock([] { return FakeUs; });
    }
    void TearDown() override { SetKnobClock(nullptr); }
    // Turns (1 up, 0 down) each after the pause in ms; the answers.
    std::vector<int> Turns(std::initializer_list<std::pair<int, int>> turns) {
        std::vector<int> r;
        for (auto [up, pauseMs] : turns) {
            FakeUs += pauseMs * 1000;
            r.push_back(KnobAcceleration(up));
        }
        return r;
    }
};

TEST_F(KnobTest, FineFineCoarseWithinABurst) {
    EXPECT_EQ(Turns({{1, 1000}, {1, 50}, {1, 50}}), (std::vector<int>{0, 0, 1}));
    // The burst goes on from its start: the next two in it are fine, coarse.
    EXPECT_EQ(Turns({{1, 50}, {1, 50}}), (std::vector<int>{0, 1}));
}

TEST_F(KnobTest, APauseOf350MsStartsAgain) {
    EXPECT_EQ(Turns({{1, 1000}, {1, 100}, {1, 350}, {1, 100}, {1, 100}}), (std::vector<int>{0, 0, 0, 0, 1}));
    EXPECT_EQ(Turns({{1, 349}}), (std::vector<int>{0}));
}

TEST_F(KnobTest, TurningBackCancelsAForwardTurn) {
    // Up, up, down: back to the burst's start, so the next up is fine again.
    EXPECT_EQ(Turns({{1, 1000}, {1, 30}, {0, 30}, {1, 30}, {1, 30}}), (std::vector<int>{0, 0, 0, 0, 1}));
    // Down turns accelerate as well.
    EXPECT_EQ(Turns({{0, 1000}, {0, 30}, {0, 30}}), (std::vector<int>{0, 0, 1}));
}

TEST_F(KnobTest, AClockGoingBackStartsANewBurst) {
    EXPECT_EQ(Turns({{1, 1000}, {1, 50}}), (std::vector<int>{0, 0}));
    FakeUs -= 10000000;
    EXPECT_EQ(Turns({{1, 0}, {1, 10}, {1, 10}}), (std::vector<int>{0, 0, 1}));
}

// ---------------------------------------------------------------- the editors' units

struct ViewCase {
    const char* name;
    int kind;
    int unitField;  // 0 airspeed, 1 altitude, 2 temperature, 3 fuel, 4 vs, 5 engine press, 6 manifold
    int unit;
    int32_t stored;
    const TValueEditorMark* mark;
    int ok;
    const char* wantUnit;
    int32_t wantValue;
    int wantDecimals;
    int wantCursor;  // for editor cursor 0
};

void SetUnit(int field, int unit) {
    UnitsSetting = {};
    int16_t* f[] = {&UnitsSetting.airspeed,      &UnitsSetting.altitude,    &UnitsSetting.temperature,
                    &UnitsSetting.fuel,          &UnitsSetting.verticalSpeed, &UnitsSetting.enginePress,
                    &UnitsSetting.manifoldPress};
    *f[field] = static_cast<int16_t>(unit);
}

class EditorViewTest : public ::testing::TestWithParam<ViewCase> {};

// As the limit editor marks fuel pressure's warning limits, and its alarm limits.
const TValueEditorMark PaddedUnit = {1, nullptr, nullptr, nullptr, nullptr, 0, 1};
const TValueEditorMark PlainUnit = {1, nullptr, nullptr, nullptr, nullptr, 0, 0};

TEST_P(EditorViewTest, StoredValueInTheSelectedUnit) {
    const ViewCase& c = GetParam();
    SetUnit(c.unitField, c.unit);
    TEditorView v{"?", -1, -1, -1};
    ASSERT_EQ(EditorViewOf(c.kind, c.mark, c.stored, 0, &v), c.ok);
    if (!c.ok) return;
    EXPECT_STREQ(v.unit, c.wantUnit);
    EXPECT_EQ(v.value, c.wantValue);
    EXPECT_EQ(v.decimals, c.wantDecimals);
    EXPECT_EQ(v.cursor, c.wantCursor);
}

INSTANTIATE_TEST_SUITE_P(
    Units, EditorViewTest,
    ::testing::Values(
        ViewCase{"AltFeet", EdApAltitude, 1, 0, 914, nullptr, 1, "FT", 300, 0, 0},
        ViewCase{"AltMetres", EdApAltitude, 1, 1, 914, nullptr, 1, "m", 91, 0, 0},
        ViewCase{"AltNegativeFeet", EdApAltitude, 1, 0, -914, nullptr, 1, "FT", -300, 0, 0},
        ViewCase{"LimitKnots", EdSpeedLimit, 0, 0, 5550, nullptr, 1, "KTS", 56, 0, 1},
        ViewCase{"LimitMph", EdSpeedLimit, 0, 1, 5550, nullptr, 1, "mph", 64, 0, 1},
        ViewCase{"LimitKmh", EdSpeedLimit, 0, 2, 5550, nullptr, 1, "km/h", 103, 0, 1},
        ViewCase{"LimitBadUnit", EdSpeedLimit, 0, 3, 5550, nullptr, 0, "", 0, 0, 0},
        ViewCase{"BugSpeedKnots", EdApSpeed, 0, 0, 18520, nullptr, 1, "KTS", 100, 0, 0},
        ViewCase{"ClimbFeetPerMin", EdClimbRate, 4, 0, 50, nullptr, 1, "ft/min", 1000, 0, 3},
        ViewCase{"ClimbMs", EdClimbRate, 4, 1, 50, nullptr, 1, "m/s", 50, 1, 1},
        ViewCase{"ClimbKnots", EdClimbRate, 4, 2, 50, nullptr, 1, "kts", 97, 1, 1},
        ViewCase{"ClimbBadUnit", EdClimbRate, 4, 3, 50, nullptr, 0, "", 0, 0, 0},
        ViewCase{"OilTempF", EdOilTemp, 2, 0, 100, nullptr, 1, "\xB0" "F", 212, 0, 1},
        ViewCase{"OilTempC", EdOilTemp, 2, 1, 100, nullptr, 1, "\xB0" "C", 100, 0, 1},
        ViewCase{"OilTempBadUnit", EdOilTemp, 2, 2, 100, nullptr, 0, "", 0, 0, 0},
        ViewCase{"EgtF", EdThermo, 2, 0, 8000, nullptr, 1, "\xB0" "F", 1472, 0, 1},
        ViewCase{"OilPressPsi", EdOilPressure, 5, 0, 50, nullptr, 1, "psi", 73, 0, 1},
        ViewCase{"OilPressKp", EdOilPressure, 5, 2, 50, nullptr, 1, "kg/cm2", 50, 1, 1},
        ViewCase{"OilPressKPaNotOffered", EdOilPressure, 5, 3, 50, nullptr, 0, "", 0, 0, 0},
        ViewCase{"FuelPressWarnKp", EdFuelPressure, 5, 2, 30, &PaddedUnit, 1, "kg/cm2 ", 30, 2, 1},
        ViewCase{"FuelPressAlarmKp", EdFuelPressure, 5, 2, 30, &PlainUnit, 1, "kg/cm2", 30, 2, 1},
        ViewCase{"MapInHg", EdManifold, 6, 0, 1000, nullptr, 1, "inHg ", 295, 1, 1},
        ViewCase{"MapTorr", EdManifold, 6, 2, 1000, nullptr, 1, "torr ", 750, 0, 1},
        ViewCase{"TankUsGallons", EdTankQuantity, 3, 1, 1000, nullptr, 1, "gal", ConvertFuelQuantity(1, 1000), 1, 1},
        ViewCase{"TankLitres", EdTankQuantity, 3, 0, 1000, nullptr, 1, "l", 1000, 1, 1},
        ViewCase{"KFactorPerGallon", EdKFactor, 3, 1, 10000, nullptr, 1, "p/gal", 37850, 0, 1},
        ViewCase{"MinAirSpeedKnots", EdApAirSpeed, 0, 0, 1852, nullptr, 1, "KTS", 100, 0, 1},
        ViewCase{"Squawk", EdSquawk, 0, 0, 1200, nullptr, 1, "", 1200, -4, 1},
        ViewCase{"RadioMHz", EdRadioFrequency, 0, 0, 121500000, nullptr, 1, "MHz", 121500, 3, 1}),
    [](const ::testing::TestParamInfo<ViewCase>& i) { return std::string(i.param.name); });

// ---------------------------------------------------------------- unit-step rounders

TEST(UnitSteps, RoundToTheDisplayStepAndBackWithoutDrift) {
    struct Case {
        const char* name;
        int32_t (*fn)(int32_t, int32_t);
        int32_t value, step, want;
    };
    const Case cases[] = {
        {"C in whole F", CelsiusStepFahrenheit, 20, 10, 20},
        {"C in 10 F", CelsiusStepFahrenheit, 21, 100, 21},  // 69.8 F -> 70 F = 21.1 C
        {"C in 5 F", CelsiusStepFahrenheit, 24, 50, 24},     // 75.2 F -> 75 F = 23.9 C
        {"C in 50 F", CelsiusStepFahrenheit, 24, 500, 38},   // 75.2 F -> 100 F = 37.8 C
        {"C negative", CelsiusStepFahrenheit, -40, 50, -40},
        {"inHg hundredths", InHgStep, 1013, 1, 1013},
        {"inHg tenths", InHgStep, 1013, 10, 1013},  // 29.91 -> 29.90 inHg = 1012.5 mbar
        {"psi whole", PsiStep, 50, 1, 50},
        {"psi tens", PsiStep, 50, 10, 48},  // 72 psi -> 70 psi = 48.3
        {"feet whole", FeetStep, 1000, 1, 1000},
        {"feet hundreds", FeetStep, 1000, 100, 1006},  // 3280 ft -> 3300 ft = 1005.8 m
        {"feet negative", FeetStep, -100, 10, -101},  // -328 ft -> -330 ft
    };
    for (const Case& c : cases) EXPECT_EQ(c.fn(c.value, c.step), c.want) << c.name;
    // Whole steps: every stored value survives the round trip.
    for (int32_t v = -300; v <= 3000; v += 7) {
        EXPECT_EQ(InHgStep(v, 1), v) << v;
        EXPECT_EQ(PsiStep(v, 1), v) << v;
        EXPECT_EQ(FeetStep(v, 1), v) << v;
        EXPECT_EQ(CelsiusStepFahrenheit(v, 10), v) << v;
    }
}

TEST(UnitSteps, CelsiusIncrementMovesTheFahrenheitReading) {
    EXPECT_EQ(CelsiusIncrement(20, 1, 100), 6);   // 68 F + 10 F = 78 F = 25.6 C
    EXPECT_EQ(CelsiusIncrement(20, -2, 50), -6);  // 68 F - 10 F
    EXPECT_EQ(CelsiusIncrement(20, 1, 5), 1);     // half a degree F still moves the value
    EXPECT_EQ(CelsiusIncrement(20, 0, 100), 0);
}

TEST(UnitSteps, SelectedUnitStepGoesBothWays) {
    UnitsSetting = {};
    UnitsSetting.altitude = UnitFeet;
    EXPECT_EQ(ToSelectedUnit(QuantityAltitude, FromSelectedUnit(QuantityAltitude, 3300)), 3300);
    const int32_t m = SelectedUnitStep(QuantityAltitude, 1000, 100);  // 3281 ft -> 3300 ft
    EXPECT_EQ(ToSelectedUnit(QuantityAltitude, m), 3300);
    UnitsSetting.altitude = UnitMetres;
    EXPECT_EQ(SelectedUnitStep(QuantityAltitude, 1234, 10), 1230);
    UnitsSetting.temperature = UnitFahrenheit;
    EXPECT_EQ(ToSelectedUnit(QuantityTemperature, SelectedUnitStep(QuantityTemperature, 24, 10)), 80);
}

TEST(FormatFixedText, ThroughTheSharedFormatter) {
    char b[FixTextSize];
    EXPECT_STREQ(FormatFixed(b, 1234, 2), "12.34");
    char direct[FixTextSize];
    FixToText(direct, -5, 1);
    EXPECT_STREQ(FormatFixed(b, -5, 1), direct);
    EXPECT_EQ(FormatFixed(nullptr, 1, 1), nullptr);
}

// ---------------------------------------------------------------- popup list and message text

class PopupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    void SetUp() override { PopupListAdd(PopupClear, 0, 0); }
    void TearDown() override { PopupListAdd(PopupClear, 0, 0); }
    int font = OverlayRoleFont(10);
};

TEST_F(PopupTest, TwentyOneLinesThenFull) {
    for (int i = 0; i < PopupListMaxLines; ++i) ASSERT_EQ(PopupListAdd("line", font, 0), 0);
    EXPECT_EQ(PopupListAdd("one too many", font, 0), 254);
    EXPECT_EQ(PopupListActive(2), PopupListMaxLines);
    EXPECT_EQ(PopupListHeight(), PopupListMaxLines * FGFontManager::get_font_height(font));
    EXPECT_EQ(PopupListActive(3), 0);
}

TEST_F(PopupTest, CommandsShowClearAndRemove) {
    for (const char* command : {PopupClear, PopupRemove}) {
        for (int i = 0; i < 10; ++i) PopupListAdd("a rather long line of the list", font, 4);
        PopupListAdd(PopupShow, 0, 0);
        EXPECT_EQ(PopupListActive(1), 1);
        const int wide = PopupListWidth();
        EXPECT_GT(wide, 0);
        PopupListAdd(command, 0, 0);
        EXPECT_EQ(PopupListActive(1), 0) << "removal hides the list";
        EXPECT_EQ(PopupListActive(2), 0);
        EXPECT_EQ(PopupListWidth(), 0) << "command " << int(command[0]) << " keeps a stale width";
        EXPECT_EQ(PopupListHeight(), 0);
        PopupListAdd("x", font, 0);
        EXPECT_LT(PopupListWidth(), wide);
        EXPECT_EQ(PopupListHeight(), FGFontManager::get_font_height(font));
        PopupListAdd(PopupClear, 0, 0);
    }
}

TEST_F(PopupTest, LinesAreIndentedCutAndLoseTheirLineFeed) {
    ASSERT_EQ(PopupListAdd("status ok\n", font, 3), 0);
    EXPECT_STREQ(PopupListLine(0), "   status ok");
    const std::string longText(2000, 'x');
    ASSERT_EQ(PopupListAdd(longText.c_str(), font, 99), 0);  // indent capped at 30
    EXPECT_EQ(std::strlen(PopupListLine(1)), PopupLineSize);
    EXPECT_EQ(std::string(PopupListLine(1)).find_first_not_of(' '), 30u);
    EXPECT_EQ(PopupListAdd(nullptr, font, 0), 0);
    EXPECT_EQ(PopupListActive(2), 2);
    const int blank = FGFontManager::textwidth(font, " ");
    PopupListAdd(PopupClear, 0, 0);
    PopupListAdd("abc", font, 1);
    EXPECT_EQ(PopupListWidth(), FGFontManager::textwidth(font, "abc") + 3 * blank);
}

TEST_F(PopupTest, WrappedTextBecomesIndentedLines) {
    const int n = PopupListAddWrapped("one two three four five six seven eight nine ten", 80, font);
    ASSERT_GT(n, 1);
    EXPECT_EQ(PopupListActive(2), n);
    for (int i = 0; i < n; ++i) EXPECT_EQ(std::string(PopupListLine(i)).substr(0, 2), "  ");
    EXPECT_EQ(PopupListAddWrapped(nullptr, 80, font), -1);
}

TEST(MessageText, IsWrappedInBlanksAndBounded) {
    SetMessageText("Checklist file is not found!");
    EXPECT_STREQ(MessageText, "  Checklist file is not found!  ");
    const std::string huge(600, 'm');
    SetMessageText(huge.c_str());
    EXPECT_EQ(std::strlen(MessageText), MessageTextSize - 1);
    EXPECT_EQ(std::string(MessageText, 2), "  ");
}

// ---------------------------------------------------------------- drawing

class EditorDrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    FGPixel At(int x, int y) const { return probe.At(x, y); }
    int Count(int x, int y, int w, int h, FGPixel colour) const { return probe.Count(x, y, w, h, colour); }
    static constexpr FGPixel Page = 0x204060;
    ProbedWindow probe{Page};
    FGDrawBuffer& window = probe.window;
};

TEST_F(EditorDrawTest, NegativeTenthHasItsSignLeftOfTheZero) {
    const int x = 300, y = 200;
    DrawNumericEditor("Pitch offset", "deg", -5, 1, 1, x, y, 0);
    QnhSetting.qnh = StandardQnh;
    UnitsSetting.baro = UnitMbar;
    DrawBaroBox(20, 20, "1013.2", 0x0000FF);
    SavePageSnapshot(window, "editor_numeric.bmp");
    const FGPixel red = DisplayPalette.PalRed & 0xFFFFFF;
    // The units digit "5" is the cursor's: red with its bar in the rightmost cell.
    EXPECT_EQ(Count(x + 85, y + 60, 15, 3, red), 45);
    EXPECT_GT(Count(x + 85, y + 37, 15, 22, red), 5);
    // The "0" and the "-" in black, one cell each left of the point; nothing further left.
    EXPECT_GT(Count(x + 65, y + 37, 15, 22, 0), 5);
    EXPECT_GT(Count(x + 50, y + 37, 15, 22, 0), 2);
    EXPECT_EQ(Count(x + 16, y + 37, 33, 22, 0), 0);
    // The white value box framed at x + 15, 90 wide.
    EXPECT_EQ(At(x + 20, y + 40), 0xFFFFFFu);
    EXPECT_EQ(At(x + 15, y + 50), 0u);
}

TEST_F(EditorDrawTest, ZerosRunUpToACursorLeftOfTheDigits) {
    const int x = 300, y = 200;
    DrawNumericEditor("RPM range", "rpm", 5, 0, 3, x, y, 0);
    const FGPixel red = DisplayPalette.PalRed & 0xFFFFFF;
    EXPECT_EQ(Count(x + 55, y + 60, 15, 3, red), 45) << "the bar under the hundreds";
    EXPECT_EQ(Count(x + 85, y + 60, 15, 3, red), 0);
    EXPECT_GT(Count(x + 70, y + 37, 15, 22, 0), 5) << "the tens zero";
    EXPECT_GT(Count(x + 55, y + 37, 15, 22, red), 5) << "the hundreds zero in the cursor's colour";
}

TEST_F(EditorDrawTest, TheAutopilotBugsStandAtTheLeftAndABadUnitDrawsNothing) {
    int32_t alt = 914;
    UnitsSetting = {};
    MarkValueEditor(EdApAltitude, &alt);
    DrawValueEditors(0);
    EXPECT_EQ(At(40, 410), 0xFFFFFFu) << "the ALT box at (20, 360)";
    EXPECT_EQ(At(660, 410), Page);
    ClearValueEditorMarks();

    window.clear(Page);
    int32_t limit = 5550;
    MarkValueEditor(EdSpeedLimit, &limit, "Vne speed");
    DrawValueEditors(0);
    EXPECT_EQ(At(660, 410), Page) << "setup editors only with all";
    DrawValueEditors(1);
    EXPECT_EQ(At(660, 410), 0xFFFFFFu);
    window.clear(Page);
    UnitsSetting.airspeed = 7;
    DrawValueEditors(1);
    EXPECT_EQ(Count(600, 340, 200, 140, Page), 200 * 140) << "no unit, no box";
    ClearValueEditorMarks();
    UnitsSetting = {};
}

TEST_F(EditorDrawTest, MessageBoxStylesAndPopupList) {
    SetMessageText("Saved");
    DrawMessageBox(MessageStyleRed);
    const int w = FGFontManager::textwidth(OverlayRoleFont(11), MessageText);
    const int x = (780 - w) / 2;
    EXPECT_EQ(At(x + 2, 252), AlertColour);
    EXPECT_EQ(At(x, 260), 0u);
    DrawMessageBox(MessageStylePanel);
    EXPECT_EQ(At(x + 2, 252), DefaultPanelColour);

    window.clear(Page);
    const int font = OverlayRoleFont(10);
    PopupListAdd(PopupClear, 0, 0);
    PopupListAdd("first", font, 0);
    PopupListAdd("second", font, 0);
    DrawPopupList();
    EXPECT_EQ(Count(0, 0, 800, 480, Page), 800 * 480) << "not shown yet";
    PopupListAdd(PopupShow, 0, 0);
    DrawPopupList();
    const int px = (780 - PopupListWidth()) / 2, py = (460 - PopupListHeight()) / 2;
    EXPECT_EQ(At(px, py + 5), 0u);
    EXPECT_EQ(At(px + 3, py + 3), DefaultPanelColour);
    EXPECT_GT(Count(px + 10, py + 10, PopupListWidth(), PopupListHeight(), 0), 20);
    PopupListAdd(PopupClear, 0, 0);
}

TEST_F(EditorDrawTest, EnlargedBaroBoxWithTheSmallFive) {
    UnitsSetting = {};
    UnitsSetting.baro = UnitMbar;
    QnhSetting.qnh = StandardQnh;
    const FGPixel blue = 0x0000FF;
    DrawBaroBox(500, 350, "1013.2", blue);
    const int big = LanguageFont(FontEuromode32, FontMsRefSans32);
    const int tw = FGFontManager::textwidth(big, "1013.2");
    EXPECT_GT(Count(500 + 11, 355, tw + 10, 70, blue), 50);
    // The "5" right of the text.
    EXPECT_GT(Count(500 + 11 + tw + 3, 365, 20, 30, blue), 5);
    window.clear(Page);
    QnhSetting.qnh = 100000;
    DrawBaroBox(500, 350, "1000", blue);
    const int tw2 = FGFontManager::textwidth(big, "1000");
    EXPECT_EQ(Count(500 + 36 + tw2 + 3, 365, 20, 30, blue), 0) << "no 5 away from the standard setting";
}

}  // namespace
