#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "aver_block.h"
#include "averdata.h"
#include "config_tempdir.h"
#include "configfile.h"
#include "configmanager.h"
#include "hkmeasure.h"
#include "flighthsi.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "units.h"

namespace {

std::string Tenths(int32_t v) {
    char b[32];
    FormatTenths(b, sizeof b, v);
    return b;
}
std::string Baro(int unit, int32_t pa) {
    char b[32];
    FormatBaro(b, sizeof b, unit, pa);
    return b;
}

// ---------------------------------------------------------------- unit tables

TEST(Units, AirspeedFromTenthsOfKmh) {
    // 185.2 km/h is 100 kt.
    EXPECT_EQ(Tenths(ConvertSpeed(UnitKnots, 1852)), "100.0");
    EXPECT_EQ(Tenths(ConvertSpeed(UnitMph, 1852)), "115.0");
    EXPECT_EQ(Tenths(ConvertSpeed(UnitKmh, 1852)), "185.2");
    EXPECT_EQ(KmhFromSpeed(UnitKnots, 1000), 1851);  // the autopilot speed wizard, truncated
    EXPECT_EQ(KmhFromSpeed(UnitMph, 1150), 1851);
    EXPECT_EQ(ExtremesKnotsFromKmh(1852), 998);      // the extremes overlay keeps x 0.539
}

TEST(Units, AltitudeAndVerticalSpeed) {
    EXPECT_EQ(ConvertAltitude(UnitFeet, 1000), 3281);
    EXPECT_EQ(ConvertAltitude(UnitMetres, 1000), 1000);
    EXPECT_EQ(ConvertVerticalSpeed(UnitFeetPerMin, 50), 984);  // 5 m/s
    EXPECT_EQ(Tenths(ConvertVerticalSpeed(UnitMetresPerSec, 50)), "5.0");
    EXPECT_EQ(Tenths(ConvertVerticalSpeed(UnitVsKnots, 50)), "9.7");
    EXPECT_EQ(ConvertVerticalSpeed(UnitFeetPerMin, -50), -984);
    // The page's own factors: the tapes x 3.28, the arc x 1.968 in tens of ft/min.
    EXPECT_EQ(FeetFromMetres(1000), 3280);
    EXPECT_EQ(FeetFromMetres(-1000), -3280);
    EXPECT_EQ(TensFtMinFromTenthMs(50), 98);
    EXPECT_EQ(FtMinFromMs(5), 984);
    EXPECT_EQ(Tenths(KnotsFromMs(50)), "9.7");
}

TEST(Units, Temperature) {
    char b[32];
    FormatTemperature(b, sizeof b, UnitFahrenheit, ConvertTemperature(UnitFahrenheit, 90), true);
    EXPECT_STREQ(b, "194 F");
    FormatTemperature(b, sizeof b, UnitCelsius, ConvertTemperature(UnitCelsius, 90), true);
    EXPECT_STREQ(b, "90 C");
    EXPECT_EQ(ConvertTemperature(UnitFahrenheit, -40), -40);
    FormatTemperature(b, sizeof b, UnitFahrenheit, NoValue, false);
    EXPECT_STREQ(b, " - - - F");
    // Thermocouple limits in tenths of C.
    EXPECT_EQ(ConvertThermoLimit(UnitFahrenheit, 9000), 1652);
    EXPECT_EQ(ConvertThermoLimit(UnitCelsius, 9000), 900);
    EXPECT_EQ(FahrenheitFromTenthC(9000), 1652);
    EXPECT_EQ(FahrenheitFromTenthC(-1), 32);  // one division: -0.1 C shows 32 F
}

TEST(Units, FuelQuantity) {
    EXPECT_EQ(ConvertFuelQuantity(1, 1000), 264);  // 100.0 l = 26.4 US gal
    EXPECT_EQ(ConvertFuelQuantity(2, 1000), 220);  // 22.0 UK gal
    EXPECT_EQ(ConvertFuelQuantity(0, 1000), 1000);
    EXPECT_EQ(ConvertFuelQuantity(7, 1000), 1000);
    EXPECT_EQ(ConvertFuelQuantity(1, -100), -26);  // the shift rounds down: -25.9 -> -26
    EXPECT_EQ(Tenths(ConvertFuelQuantity(1, 1000)) + " " + FuelUnitText(1), "26.4 gal");
}

TEST(Units, BarometricSetting) {
    EXPECT_EQ(Baro(UnitMbar, 101325), "1013.2");
    EXPECT_EQ(Baro(UnitMbar, 101300), "1013");
    EXPECT_EQ(Baro(UnitMbar, 99951), "1000");
    EXPECT_EQ(Baro(UnitInHg, 101325), "29.92");
    EXPECT_EQ(Baro(UnitTorr, 101325), "760.0");
    EXPECT_EQ(Baro(UnitTorr, 100000), "750.0");  // (p x 7600 + 5000) / 101325
    EXPECT_EQ(Baro(UnitInHg, 3386), "1.00");
    EXPECT_EQ(Baro(UnitInHg, -33864), "-10.00");
}

TEST(Units, EnginePressures) {
    // Oil pressure in thousandths of a bar: 5 bar.
    EXPECT_EQ(ConvertOilPressure(UnitPsi, 5000), 72);
    EXPECT_EQ(Tenths(ConvertOilPressure(UnitBar, 5000)), "5.0");
    EXPECT_EQ(Tenths(ConvertOilPressure(UnitKpCm2, 5000)), "5.0");
    EXPECT_EQ(ConvertOilPressure(UnitKPa, 5000), 500);
    // Fuel pressure in hundredths of a bar: 0.3 bar.
    EXPECT_EQ(Tenths(ConvertFuelPressure(UnitPsi, 30)), "4.3");
    EXPECT_EQ(ConvertFuelPressure(UnitKpCm2, 30), 30);
    EXPECT_EQ(ConvertFuelPressure(UnitBar, 30), 30);
    // Manifold pressure in hPa.
    EXPECT_EQ(Tenths(ConvertManifold(UnitInHg, 1013)), "29.9");
    EXPECT_EQ(ConvertManifold(UnitMbar, 1013), 1013);
    EXPECT_EQ(ConvertManifold(UnitTorr, 1013), 759);
    // Limits rounded, a negative one as its mirror: 0.5 bar = 7.25 psi -> 7; 10 bar shows 10.1 kg/cm2.
    EXPECT_EQ(PressureSettingRounded(UnitPsi, 5), 7);
    EXPECT_EQ(PressureSettingRounded(UnitPsi, -5), -7);
    EXPECT_EQ(PressureSettingRounded(UnitKpCm2, 100), 101);
    EXPECT_EQ(PressureSettingRounded(UnitBar, -50), -50);
}

TEST(Units, DistanceAndRpm) {
    EXPECT_EQ(Tenths(ConvertDistance(UnitNm, 1852)), "100.0");
    EXPECT_EQ(Tenths(ConvertDistance(UnitSm, 1609)), "100.0");
    EXPECT_EQ(Tenths(ConvertDistance(UnitKm, 1852)), "185.2");
    EXPECT_EQ(RoundRpm(2346), 2350);
    EXPECT_EQ(RoundRpm(2344), 2340);
}

// Every conversion stays inside int32 whatever the stored value or setting.
TEST(Units, ExtremeInputsSaturate) {
    for (int32_t v : {INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1}) {
        for (int unit = -1; unit <= 4; ++unit) {
            const bool up = v > 0;
            auto check = [up](int32_t r) { EXPECT_EQ(r > 0, up) << r; };
            check(ConvertSpeed(unit == UnitKmh ? UnitKnots : unit, v));
            check(ConvertFuelQuantity(1, v));
            check(ConvertOilPressure(UnitPsi, v));
            check(ConvertFuelPressure(unit, v));
            check(ConvertManifold(unit, v));
            check(ConvertManifoldSetting(unit, v));
            check(ConvertPressureSetting(unit, v));
            check(ConvertDistance(unit, v));
            check(ConvertVerticalSpeed(unit, v));
            check(ConvertAltitude(unit, v));
            check(ConvertTemperature(unit, v));
            check(ConvertThermoLimit(unit, v));
            check(RoundRpm(v));
            char b[32];
            EXPECT_LT(FormatBaro(b, sizeof b, unit, v), 32);
            EXPECT_LT(FormatTenths(b, sizeof b, v), 32);
        }
    }
    EXPECT_EQ(ConvertTemperature(UnitFahrenheit, INT32_MAX), INT32_MAX);
    EXPECT_EQ(ConvertTemperature(UnitFahrenheit, INT32_MIN), INT32_MIN);
    EXPECT_EQ(RoundRpm(INT32_MAX), INT32_MAX);
    EXPECT_EQ(Tenths(INT32_MIN), "-214748364.8");
}

// ---------------------------------------------------------------- extremes

TEST(Extremes, ScriptedSeries) {
    TStatPair s = {INT32_MIN, INT32_MAX};
    const std::vector<int> series = {50, 70, 65, -5, 120, 119, 0};
    std::vector<std::pair<int, int>> seen;
    for (int v : series) {
        EXPECT_EQ(UpdateMinMax(v, &s.max, &s.min), v);
        seen.push_back({s.max, s.min});
    }
    const std::vector<std::pair<int, int>> want = {{50, 50}, {70, 50}, {70, 50}, {70, -5},
                                                   {120, -5}, {120, -5}, {120, -5}};
    EXPECT_EQ(seen, want);
    EXPECT_EQ(UpdateMinMax(3, nullptr, nullptr), 3);
}

// ---------------------------------------------------------------- timer hand-over

struct Posted {
    static std::atomic<int> refresh, demo;
    static void Post(int type, int key) {
        EXPECT_EQ(type, 1);
        (key == RefreshEventKey ? refresh : demo)++;
    }
};
std::atomic<int> Posted::refresh{0}, Posted::demo{0};

class TimerHandOver : public ::testing::Test {
protected:
    void SetUp() override {
        RefreshPending = 0;
        Posted::refresh = Posted::demo = 0;
        RefreshPostEvent = Posted::Post;
    }
    void TearDown() override { RefreshPostEvent = nullptr; }
};

TEST_F(TimerHandOver, StalledMainThreadGetsAtMostTwo) {
    for (int i = 0; i < 100; ++i) RefreshTimerProc(0);
    EXPECT_EQ(Posted::refresh, 2);
    EXPECT_EQ(RefreshPending, 2);
    RefreshEventDone();
    RefreshTimerProc(0);
    EXPECT_EQ(Posted::refresh, 3);
    RefreshEventDone();
    RefreshEventDone();
    RefreshEventDone();  // never below 0
    EXPECT_EQ(RefreshPending, 0);
}

TEST_F(TimerHandOver, RestartForgetsDroppedEvents) {
    RefreshTimerProc(0);
    RefreshTimerProc(0);  // both dropped by a full toolkit queue: nothing will drain them
    EXPECT_EQ(RefreshTimerProc(0), RefreshPeriod);
    EXPECT_EQ(Posted::refresh, 2);
    RefreshRestart();
    EXPECT_EQ(Posted::refresh, 3);
    EXPECT_EQ(RefreshPending, 1);
}

TEST_F(TimerHandOver, NoPosterCountsNothing) {
    RefreshPostEvent = nullptr;
    RefreshTimerProc(0);
    EXPECT_EQ(RefreshPending, 0);
}

// The timer thread posting while the main thread drains never loses the count.
TEST_F(TimerHandOver, ConcurrentDrainKeepsCountInRange) {
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::thread timer([&] {
        while (!stop) {
            RefreshTimerProc(0);
            const int p = RefreshPending;
            if (p < 0 || p > 2) ++bad;
        }
    });
    int handled = 0;
    while (handled < 20000) {
        if (Posted::refresh > handled) {
            ++handled;
            RefreshEventDone();
        }
    }
    stop = true;
    timer.join();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(Posted::refresh - handled, RefreshPending.load());
}

// ---------------------------------------------------------------- the refresh over the block

int64_t ClockSec = 1700000000;
int32_t ClockUsec = 0;
void TestClock(int64_t* sec, int32_t* usec) {
    *sec = ClockSec;
    *usec = ClockUsec;
}

class RefreshBlock : public AverBlockTest {
protected:
    void SetUp() override {
        AverBlockTest::SetUp();
        SubscribeDisplayChannels();
        RefreshClock = TestClock;
        ClockSec = 1700000000;
        ClockUsec = 0;
        LastSecond = 0;
        ShellBusy = 0;
        RefreshValues = {};
        UnitsSetting = {};
        UnitsSetting.temperature = UnitCelsius;
        UnitsSetting.airspeed = UnitKmh;
        UnitsSetting.baro = UnitMbar;
        UnitsSetting.enginePress = UnitBar;
        UnitsSetting.manifoldPress = UnitMbar;
        EngineGaugeConfig = {};
        EngineGaugeConfig.oatUsed = EngineGaugeConfig.iatUsed = 1;
        EngineGaugeConfig.egt[0].thermocouple = 1;
        EngineGaugeConfig.cht[0].thermocouple = 5;
        EngineStatistics = {};
        for (TStatPair* s : {&EngineStatistics.oat, &EngineStatistics.rpm, &EngineStatistics.oilPress})
            *s = {INT32_MIN, INT32_MAX};
        EngineStatistics.egtMax[0] = INT32_MIN;
        QnhSetting.qnh = 101325;
        DisplaySetting = {};
        SavedScreenType = 0;
        KeyFlagUntil = INT32_MAX;
        ScreenType = 1;
        RefreshPostEvent = Posted::Post;
        Posted::refresh = Posted::demo = 0;
    }
    void TearDown() override {
        RefreshClock = nullptr;
        RefreshPostEvent = nullptr;
        DemoSetting.marker = 0;
        AverBlockTest::TearDown();
    }
    void Put(uint32_t id, int32_t v) { ASSERT_GE(writer->SetVal(id, v), 0); }
    // n refreshes 100 ms apart.
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            ClockUsec += 100000;
            if (ClockUsec >= 1000000) {
                ClockUsec -= 1000000;
                ++ClockSec;
            }
            EXPECT_EQ(RefreshDisplayData(), RefreshPeriod);
        }
    }
};

TEST_F(RefreshBlock, StoredValuesBecomeDisplayTexts) {
    Put(echTempOAT, 150);      // 15.0 C, stored in tenths
    Put(echRpmEng, 2346);
    Put(echPressOil, 450);     // 4.50 bar in hundredths
    Put(echSpeedTas, 1852);    // 185.2 km/h
    Put(echFuelLevel1, 400);   // 40.0 l
    Put(echFuelLevel2, 300);
    Put(echFuelUsed, 123);     // 12.3 l used
    Put(echThermo0, 7805);     // EGT 780.5 C
    Put(echEngineTime, 3 * 3600 + 25 * 60);
    Ticks(30);
    const TRefreshValues& r = RefreshValues;
    EXPECT_STREQ(r.oatText, "15 C");
    EXPECT_EQ(r.rpm, 2350);
    EXPECT_EQ(r.oilPress, 45);  // tenths of a bar
    EXPECT_EQ(r.tas, 1852);
    EXPECT_STREQ(r.fuelUsedText, "12.3 l");  // not what the tanks hold
    EXPECT_EQ(r.thermo[0], 781);
    EXPECT_STREQ(r.thermoText[0], "781");
    EXPECT_STREQ(r.engineTimeText, "3: 25");

    UnitsSetting.temperature = UnitFahrenheit;
    UnitsSetting.airspeed = UnitKnots;
    UnitsSetting.enginePress = UnitPsi;
    UnitsSetting.fuel = UnitUsGallon;
    Ticks(1);
    EXPECT_STREQ(r.oatText, "59 F");
    EXPECT_EQ(r.tas, 1000);
    EXPECT_EQ(r.oilPress, 65);
    EXPECT_STREQ(r.fuelUsedText, "3.2 gal");
    EXPECT_STREQ(r.thermoText[0], "1437");
}

TEST_F(RefreshBlock, ChannelWithoutValueShowsDashes) {
    Ticks(5);
    const TRefreshValues& r = RefreshValues;
    EXPECT_STREQ(r.oatText, " - - - C");
    EXPECT_EQ(r.oat, NoValue);
    EXPECT_EQ(r.rpm, NoValue);
    EXPECT_EQ(r.oilPress, NoValue);
    EXPECT_STREQ(r.thermoText[0], "- - - ");
    EXPECT_STREQ(r.thermoText[2], "- - - ");  // no thermocouple assigned
    EXPECT_STREQ(r.fuelUsedText, "- - -    l");
    EXPECT_STREQ(r.enduranceText, "- - -         ");
    EXPECT_STREQ(r.iatText, " - - - C");
    EngineGaugeConfig.oatUsed = 0;
    EngineGaugeConfig.iatUsed = 0;
    Ticks(1);
    EXPECT_STREQ(r.oatText, "-    ");
    EXPECT_STREQ(r.iatText, "-   ");
}

TEST_F(RefreshBlock, ExtremesFollowTheAveragedValues) {
    Put(echRpmEng, 2000);
    Ticks(30);
    EngineStatistics.rpm = {INT32_MIN, INT32_MAX};  // cleared once the reading has settled
    for (int32_t rpm : {2000, 5200, 900, 3000}) {
        Put(echRpmEng, rpm);
        Ticks(30);  // past the one-second window
    }
    EXPECT_EQ(EngineStatistics.rpm.max, 5200);
    EXPECT_EQ(EngineStatistics.rpm.min, 900);
    EXPECT_EQ(RefreshValues.rpm, 3000);
}

// The extremes are statistic settings: a shutdown's save and the next start's load
// bring them back.
TEST_F(RefreshBlock, ExtremesSurviveARestartThroughTheStatisticFile) {
    ConfigTempDir dir;
    ASSERT_EQ(ConfigManager.Create(), 0);
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    Put(echRpmEng, 2400);
    Ticks(30);
    EngineStatistics.rpm = {INT32_MIN, INT32_MAX};  // cleared once the reading has settled
    for (int32_t rpm : {2400, 5100, 1200}) {
        Put(echRpmEng, rpm);
        Ticks(30);
    }
    ASSERT_EQ(EngineStatistics.rpm.max, 5100);
    ASSERT_EQ(EngineStatistics.rpm.min, 1200);
    ASSERT_EQ(SaveSetting(nullptr, KindStatistic), 0);
    ConfigManager.Release();

    EngineStatistics = {};
    ASSERT_EQ(ConfigManager.Create(), 0);
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    EXPECT_EQ(EngineStatistics.rpm.max, 5100);
    EXPECT_EQ(EngineStatistics.rpm.min, 1200);
    // and they go on from there
    Put(echRpmEng, 5600);
    Ticks(30);
    EXPECT_EQ(EngineStatistics.rpm.max, 5600);
    EXPECT_EQ(EngineStatistics.rpm.min, 1200);
    ConfigManager.Release();
}

TEST_F(RefreshBlock, FlightScreenTexts) {
    ScreenType = 2;
    Ticks(1);
    EXPECT_STREQ(RefreshValues.baroText, "1013.2");
    EXPECT_EQ(RefreshValues.baroColour, 0);
    QnhSetting.qnh = 101300;
    BaroEditActive = 1;
    BaroEditCloseMs = INT64_MAX;
    Ticks(1);
    EXPECT_STREQ(RefreshValues.baroText, "1013");
    EXPECT_EQ(static_cast<uint32_t>(RefreshValues.baroColour), DisplayPalette.PalRed);
    // The text never grows from tick to tick.
    UnitsSetting.baro = UnitInHg;
    Ticks(3);
    EXPECT_STREQ(RefreshValues.baroText, "29.91");
    BaroEditCloseMs = 0;
    Ticks(1);
    EXPECT_EQ(BaroEditActive, 0);
}

TEST_F(RefreshBlock, StaleBusyStateIsAbandoned) {
    Ticks(1);
    ShellBusy = 1;
    Put(echRpmEng, 4000);
    Ticks(20);  // two seconds: still busy, nothing read
    EXPECT_EQ(ShellBusy, 1);
    EXPECT_EQ(RefreshValues.rpm, NoValue);
    Ticks(50);
    EXPECT_EQ(ShellBusy, 0);
    Ticks(20);
    EXPECT_EQ(RefreshValues.rpm, 4000);
}

TEST_F(RefreshBlock, DemoIdleCountdownPostsReset) {
    DemoSetting.marker = DemoMarkerValue;
    DemoIdleCountdown = 3;
    Ticks(15);  // the first tick starts a second, then one more
    EXPECT_EQ(Posted::demo, 0);
    EXPECT_EQ(DemoIdleCountdown, 1);
    Ticks(10);
    EXPECT_EQ(Posted::demo, 1);
    EXPECT_EQ(DemoIdleCountdown, -1);
    Ticks(30);
    EXPECT_EQ(Posted::demo, 1);
}

TEST_F(RefreshBlock, PowerOffAfterThreeSecondsWithoutSupply) {
    static std::vector<int> calls;
    calls.clear();
    RefreshHooks.RequestPowerOff = [](int kind) {
        calls.push_back(kind);
        return 0;
    };
    // The watch follows the main-switch setting: not connected, nothing is watched.
    EngineGaugeConfig.mainSwitch = 0;
    Put(echInternalInputStatus, 0x100);
    Ticks(35);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(PowerOffMonitoring, 0);
    EngineGaugeConfig.mainSwitch = 1;
    Put(echInternalInputStatus, 0x008);
    Ticks(40);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(PowerOffMonitoring, 1);
    Put(echInternalInputStatus, 0x100);
    Ticks(35);
    EXPECT_EQ(calls, std::vector<int>{2});
    EXPECT_EQ(StatusInputFlags[0], 1);
    RefreshHooks.RequestPowerOff = nullptr;
    EngineGaugeConfig.mainSwitch = 0;
    Ticks(10);
}

TEST_F(RefreshBlock, BatteryTimeIsReadWithoutExternalPower) {
    Put(echBatRemainTime, 1800);
    Put(echInternalInputStatus, 0x100);  // on the battery
    Ticks(10);
    EXPECT_EQ(ExternalPowerOn, 0);
    EXPECT_EQ(RefreshValues.batRemain, 1800);
    Put(echInternalInputStatus, 0x200);  // external power
    Ticks(10);
    EXPECT_EQ(ExternalPowerOn, 1);
    EXPECT_EQ(RefreshValues.batRemain, NoValue);
}

TEST_F(RefreshBlock, AutopilotBoxNamesTheEngagedMode) {
    struct Case {
        int axis, navSource, fromTrack, engaged, mode;
    } const cases[] = {
        {2, 0, 0, 1, 0},  // roll axis on the heading: HDG
        {2, 0, 1, 1, 1},  // on the GPS track: TRK
        {4, 0, 0, 2, 3},  // pitch alone: ALT
        {6, 1, 0, 1, 2},  // a navigation command: NAV
        {6, 0, 0, 3, 2},  // engaged on the GPS course: NAV
    };
    for (const Case& c : cases) {
        OperApApAxis = c.axis;
        OperApNavSrc = c.navSource;
        FlightHeading.fromTrack = c.fromTrack;
        AutopilotActive = c.engaged;
        Ticks(2);
        EXPECT_EQ(FlightNavLinks.autopilotMode, c.mode) << c.axis << " " << c.navSource << " " << c.engaged;
    }
    AutopilotActive = 0;
    Ticks(2);
    FlightHeading.fromTrack = 0;
}

TEST_F(RefreshBlock, RepaintThroughTheMainWindow) {
    static int repaints;
    repaints = 0;
    RefreshHooks.RepaintMainWindow = [] {
        ++repaints;
        EXPECT_EQ(RepaintEnabled, 0);
    };
    RepaintEnabled = 1;  // a screen is selected
    Ticks(2);
    EXPECT_EQ(repaints, 0);  // no main window yet
    FGDrawBuffer* const saved = MainWindow;
    MainWindow = reinterpret_cast<FGDrawBuffer*>(&repaints);  // only tested for null
    Ticks(2);
    RepaintEnabled = 0;
    Ticks(1);
    RepaintEnabled = 1;
    MainWindow = saved;
    RefreshHooks.RepaintMainWindow = nullptr;
    EXPECT_EQ(repaints, 2);
}

TEST_F(RefreshBlock, NavAndGpsStrips) {
    ScreenType = 4;
    StripIndex = 1;
    ASSERT_GE(writer->SetVal(echNavIdnt, "OKL"), 0);
    Put(echNavLocDetect, 1);
    Ticks(2);
    EXPECT_STREQ(RefreshValues.navTitle, "LOC");
    EXPECT_STREQ(RefreshValues.navIdent, "OKL");
    ScreenType = 5;
    StripIndex = 2;
    ASSERT_GE(writer->SetVal(echGPSId, "LKPR1234"), 0);
    Ticks(1);
    EXPECT_STREQ(RefreshValues.gpsIdent, "LKPR1234");
}

}  // namespace
