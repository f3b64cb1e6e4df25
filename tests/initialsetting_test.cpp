#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "configmanager.h"
#include "flightpage.h"
#include "initialsetting.h"
#include "refreshlinks.h"
#include "units.h"

namespace {

// The default settings as a first start loads them, in a scratch working directory.
class Defaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        LoadSetting(nullptr, KindAll, 0);
        handed.clear();
        InstrumentSetConfig = [](int dial, const TInstrumentConfig*) { handed.push_back(dial); };
    }
    void TearDown() override {
        InstrumentSetConfig = nullptr;
        ConfigManager.Release();
    }
    ConfigTempDir dir;
    static std::vector<int> handed;
};
std::vector<int> Defaults::handed;

// min <= lowRed <= lowYellow <= green <= yellow <= red <= max over the limits that are set.
void ExpectOrdered(const TInstrumentConfig& c) {
    SCOPED_TRACE(c.title);
    EXPECT_LT(c.minimum, c.maximum);
    std::vector<int32_t> chain = {c.minimum};
    for (int32_t v : {c.lowRedEnd, c.lowYellowEnd, c.greenStart, c.yellowStart, c.redStart})
        if (v != 0) chain.push_back(v);
    chain.push_back(c.maximum);
    for (size_t i = 1; i < chain.size(); ++i) EXPECT_LE(chain[i - 1], chain[i]) << "limit " << i;
}

void ExpectOrderedBars(const TBarItem* bars, const TDisplayItem* items, int n) {
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bars[i].min, 0);
        EXPECT_LT(bars[i].warn, bars[i].alarm);
        EXPECT_LE(bars[i].alarm, bars[i].max);
        EXPECT_EQ(items[i].warn, bars[i].warn);
        EXPECT_EQ(items[i].alarm, bars[i].alarm);
    }
}

TEST_F(Defaults, EveryGaugeHasOrderedLimitsInEveryUnit) {
    for (int temp : {UnitFahrenheit, UnitCelsius})
        for (int press : {UnitPsi, UnitBar, UnitKpCm2, UnitKPa})
            for (int map : {UnitInHg, UnitMbar, UnitTorr})
                for (int fuel : {UnitLitre, UnitUsGallon, UnitUkGallon}) {
                    SCOPED_TRACE(::testing::Message() << temp << press << map << fuel);
                    UnitsSetting.temperature = static_cast<int16_t>(temp);
                    UnitsSetting.enginePress = static_cast<int16_t>(press);
                    UnitsSetting.manifoldPress = static_cast<int16_t>(map);
                    UnitsSetting.fuel = static_cast<int16_t>(fuel);
                    InitialSetting();
                    for (const TInstrumentConfig& c : EngineDialConfig) ExpectOrdered(c);
                    ExpectOrderedBars(ThermoBarsPage, ThermoItemsPage, 12);
                    ExpectOrderedBars(ThermoBarsStrip, ThermoItemsStrip, 8);
                    ExpectOrderedBars(ThermoBarsCombined, ThermoItemsCombined, 4);
                    for (const TBarItem& t : TankBar) {
                        EXPECT_GT(t.max, 0);
                        EXPECT_LE(t.alarm, t.max);
                    }
                    EXPECT_LE(FuelPressLimits[0], FuelPressLimits[1]);
                    EXPECT_LE(FuelPressLimits[1], FuelPressLimits[2]);
                    EXPECT_LE(FuelPressLimits[2], FuelPressLimits[3]);
                    EXPECT_LE(FuelPressLimits[3], FuelPressBar.max);
                }
}

TEST_F(Defaults, DefaultDialsTitlesAndUnits) {
    testing::internal::CaptureStderr();
    InitialSetting();
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_NE(trace.find(">>InitialSetting()\n"), std::string::npos);
    EXPECT_NE(trace.find("<<InitialSetting()\n"), std::string::npos);
    const TInstrumentConfig& rpm = EngineDialConfig[DialRpm];
    EXPECT_EQ(rpm.maximum, 6000);  // default range 6000
    EXPECT_STREQ(rpm.unit, "x100");
    EXPECT_STREQ(rpm.title, "RPM");
    EXPECT_EQ(rpm.yellowStart, 5500);
    EXPECT_EQ(rpm.redStart, 5800);
    EXPECT_STREQ(EngineDialConfig[DialFourth].title, "MAP");
    EXPECT_STREQ(EngineDialConfig[DialStripOilPress].title, "OIL PRESS");
    EXPECT_STREQ(EngineDialConfig[DialOilTemp].unit, " C");
    // Metric defaults.
    EXPECT_STREQ(UnitTexts.airspeed, "km/h");
    EXPECT_STREQ(UnitTexts.tasLabel, "TAS km/h");
    EXPECT_STREQ(UnitTexts.baro, "mBar");
    EXPECT_STREQ(UnitTexts.enginePress, "Bar ");
    EXPECT_STREQ(UnitTexts.oat, "OAT \xB0""C ");
    EXPECT_STREQ(UnitTexts.fuel, "litre");
    // Every template is handed to its dial.
    for (int d = 0; d < DialCount; ++d) EXPECT_NE(std::find(handed.begin(), handed.end(), d), handed.end()) << d;
    // Thermocouple bars: EGT on even rows, CHT on odd, in C.
    EXPECT_EQ(ThermoBarsPage[0].max, 900);
    EXPECT_EQ(ThermoBarsPage[1].max, 150);
    EXPECT_EQ(ThermoItemsPage[0].alarm, 880);
    UnitsSetting.temperature = UnitFahrenheit;
    InitialSetting();
    EXPECT_EQ(ThermoBarsPage[0].max, 1652);
    EXPECT_STREQ(UnitTexts.iat, "IAT \xB0""F ");
}

TEST_F(Defaults, RowChoice) {
    LimitRpm.range = 5500;
    InitialSetting();
    EXPECT_EQ(EngineDialConfig[DialRpm].maximum, 6000);
    LimitRpm.range = 15000;
    InitialSetting();
    EXPECT_EQ(EngineDialConfig[DialRpm].maximum, 14000);
    EXPECT_EQ(EngineDialConfig[DialRpm].labelDivisor, 1000);
    EXPECT_STREQ(EngineDialConfig[DialRpm].unit, "x1000");
    EXPECT_EQ(EngineDialConfig[DialStripRpm].maximum, 14000);
    EXPECT_EQ(EngineDialConfig[DialCombinedRpm].maximum, 14000);
    // Oil temperature range 150 C: the 160 row; in F 302 needs the 360 row, not 300.
    LimitOilTemp.range = 150;
    UnitsSetting.temperature = UnitCelsius;
    InitialSetting();
    EXPECT_EQ(EngineDialConfig[DialOilTemp].maximum, 160);
    UnitsSetting.temperature = UnitFahrenheit;
    InitialSetting();
    EXPECT_EQ(EngineDialConfig[DialOilTemp].maximum, 360);
    EXPECT_EQ(EngineDialConfig[DialOilTemp].minorStep, 20);
}

TEST_F(Defaults, FlightBoxesFollowTheInstalledProbes) {
    for (int iat : {0, 1})
        for (int auxt : {0, 1}) {
            EngineGaugeConfig.iatUsed = iat;
            EngineGaugeConfig.waterAuxUsed = auxt;
            FlightSwitches = {0, 0, 0, 0};
            InitialSetting();
            EXPECT_EQ(FlightSwitches.iatBox, iat);
            EXPECT_EQ(FlightSwitches.auxtBox, auxt);
            EXPECT_EQ(FlightSwitches.tasBox, 1);
            EXPECT_EQ(FlightSwitches.headingTape, 1);
        }
}

TEST_F(Defaults, SecondRpmReplacesManifold) {
    EngineGaugeConfig.rotorRpmUsed = 1;
    LimitRotorRpm.range = 1900;
    InitialSetting();
    EXPECT_STREQ(EngineDialConfig[DialFourth].title, "Rotor RPM");
    EXPECT_EQ(EngineDialConfig[DialFourth].maximum, 2000);
    EXPECT_EQ(EngineDialConfig[DialFourth].minorPerMajor, 8);
    EXPECT_STREQ(EngineDialConfig[DialCombinedMap].title, "MAP");
    EXPECT_EQ(EngineDialConfig[DialCombinedMap].maximum, 1100);  // mbar row of the defaults
}

TEST(ApplyDialScale, ArcRules) {
    TInstrumentConfig c = {};
    c.greenStart = -50;   // below the scale: raised
    c.yellowStart = 900;  // above red: lowered to red
    c.redStart = 700;
    c.lowYellowEnd = 0;   // not set: stays 0
    c.lowRedEnd = 0;
    ApplyDialScale(0, &c, {100, 1000, 5, 50, 100});
    EXPECT_EQ(c.greenStart, 100);
    EXPECT_EQ(c.yellowStart, 700);
    EXPECT_EQ(c.redStart, 700);
    EXPECT_EQ(c.lowYellowEnd, 0);
    EXPECT_EQ(c.minorPerMajor, 5);
    EXPECT_EQ(c.labelDivisor, 100);

    TInstrumentConfig d = {};
    d.redStart = 0;  // no red arc, even though 0 is below the minimum
    d.greenStart = 400;
    d.lowYellowEnd = 600;  // above green: lowered
    d.lowRedEnd = 2000;    // above the scale, then above low yellow
    ApplyDialScale(0, &d, {300, 1100, 4, 25, 100});
    EXPECT_EQ(d.redStart, 0);
    EXPECT_EQ(d.lowYellowEnd, 400);
    EXPECT_EQ(d.lowRedEnd, 400);
}

// Settings at the ends of int32 are converted without overflow and clamped onto the scale.
TEST_F(Defaults, ExtremeSettingsStayOnTheScale) {
    for (int32_t v : {INT32_MAX, INT32_MIN, -1}) {
        for (TLimitA* l : {&LimitRpm, &LimitMap, &LimitOilPress, &LimitOilTemp, &LimitWaterCht, &LimitWaterAux})
            *l = {v, v, v, v, v, v, 0, {}};
        for (TLimitB* l : {&LimitFuelPress, &LimitEgt, &LimitCht, &LimitTankLeft, &LimitTankRight})
            *l = {v, v, v, v, v, 0, {}};
        for (int unit : {UnitFahrenheit, UnitCelsius}) {
            UnitsSetting.temperature = static_cast<int16_t>(unit);
            UnitsSetting.enginePress = static_cast<int16_t>(unit == UnitCelsius ? UnitPsi : UnitKpCm2);
            UnitsSetting.fuel = static_cast<int16_t>(unit == UnitCelsius ? UnitUsGallon : UnitLitre);
            InitialSetting();
            for (const TInstrumentConfig& c : EngineDialConfig) ExpectOrdered(c);
        }
    }
}

TEST_F(Defaults, SupplyBoxes) {
    EngineGaugeConfig.voltsMask = 0b110;
    EngineGaugeConfig.currentsMask = 0b011;
    SupplyNameSetting[1].flags = 1;
    snprintf(SupplyNameSetting[1].name, sizeof SupplyNameSetting[1].name, "%s", "MAIN BUS");
    DisplaySetting.screenWord = 2;
    InitialSetting();
    EXPECT_EQ(std::vector<int>(SupplyItemOn, SupplyItemOn + 6), (std::vector<int>{0, 1, 1, 1, 1, 0}));
    EXPECT_STREQ(SupplyNames[0], "BATTERY");
    EXPECT_STREQ(SupplyNames[1], "MAIN BUS");
    EXPECT_STREQ(SupplyNames[5], "AVIONICS");
    // With the strip only the lowest pair in use stays: box 1 of the currents.
    DisplaySetting.screenWord = 0x103;
    InitialSetting();
    EXPECT_EQ(std::vector<int>(SupplyItemOn, SupplyItemOn + 6), (std::vector<int>{0, 0, 0, 1, 0, 0}));
    EngineGaugeConfig.currentsMask = 0b110;
    InitialSetting();
    EXPECT_EQ(std::vector<int>(SupplyItemOn, SupplyItemOn + 6), (std::vector<int>{0, 1, 0, 0, 1, 0}));
}

TEST_F(Defaults, BackgroundRebuildRestoresTheFlags) {
    static std::vector<int> flags;
    static int busyDuring;
    flags.clear();
    RebuildBackground = [](int f) {
        flags.push_back(f);
        busyDuring = ShellBusy && SetupModeActive && !LayoutReady && !RepaintEnabled;
        return 0;
    };
    SetupModeActive = 0;
    DisplaySetting.screenWord = 0x102;
    RebuildBackgroundBitmaps();
    EXPECT_EQ(flags, (std::vector<int>{4, 5}));
    EXPECT_EQ(busyDuring, 1);
    EXPECT_EQ(SetupModeActive, 0);
    EXPECT_EQ(ShellBusy, 0);
    EXPECT_EQ(LayoutReady, 1);
    EXPECT_EQ(RepaintEnabled, 1);
    RebuildBackground = nullptr;
}

}  // namespace
