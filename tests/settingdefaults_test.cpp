#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "configmanager.h"
#include "hkutils.h"

namespace {

// Stored length of every key of the default table, by SSID.
const std::map<uint16_t, uint32_t> StoredLength = {
    {0x4001, 32}, {0x4002, 16}, {0x4003, 80}, {0x4004, 68}, {0x400F, 24}, {0x400E, 24}, {0x4065, 48},
    {0x4018, 32}, {0x4017, 64}, {0x4010, 48}, {0x4064, 2},  {0x4011, 76}, {0x4013, 12}, {0x4014, 8},
    {0x4016, 4},  {0x4019, 16}, {0x401B, 48}, {0x401A, 40}, {0x401C, 16}, {0x4020, 32}, {0x401D, 32},
    {0x401E, 16}, {0x401F, 32}, {0x4021, 32}, {0x5000, 8},  {0x1000, 8},  {0x1004, 24}, {0x2006, 4},
    {0x2007, 8},  {0x2008, 8},  {0x2009, 36}, {0x200A, 48}, {0x200B, 40}, {0x200C, 32}, {0x200D, 32},
    {0x3000, 40}, {0x3001, 64}, {0x3002, 64}, {0x3003, 64}, {0x3004, 64}, {0x3005, 64}, {0x3006, 64},
    {0x3007, 64}, {0x3008, 64},
};

const TSettingDefault* FindDefault(uint16_t SSID, uint16_t Par) {
    for (const TSettingDefault* row = SettingDefaultTable; row->SSID; ++row)
        if (static_cast<uint16_t>(row->SSID) == SSID && row->Par == Par) return row;
    return nullptr;
}

int32_t StoredWord(const TSettingDefault* row, int offset) {
    return static_cast<int32_t>(CfgGet32(static_cast<const uint8_t*>(row->data) + offset));
}

// A first start: no files, every setting from the default table.
class FirstStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    }
    void TearDown() override { ConfigManager.Release(); }
    ConfigTempDir dir;
};

void ExpectWithin(int32_t v, int32_t lo, int32_t hi, const char* what) {
    EXPECT_GE(v, lo) << what;
    EXPECT_LE(v, hi) << what;
}

}  // namespace

TEST(SettingDefaultTable, KeysAndLengths) {
    int rows = 0;
    std::set<std::pair<uint16_t, uint16_t>> keys;
    std::map<uint16_t, int> perSsid;
    for (const TSettingDefault* row = SettingDefaultTable; row->SSID; ++row, ++rows) {
        uint16_t ssid = static_cast<uint16_t>(row->SSID);
        ASSERT_TRUE(StoredLength.count(ssid)) << std::hex << ssid;
        EXPECT_EQ(row->length, StoredLength.at(ssid)) << std::hex << ssid << "/" << row->Par;
        EXPECT_NE(row->data, nullptr);
        EXPECT_TRUE(keys.insert({ssid, static_cast<uint16_t>(row->Par)}).second) << "duplicate " << std::hex << ssid;
        ++perSsid[ssid];
    }
    EXPECT_EQ(rows, SettingDefaultRows);
    EXPECT_EQ(perSsid[0x4065], 23);
    EXPECT_EQ(perSsid[0x4064], 28);
    EXPECT_EQ(perSsid[0x4018], 11);
    EXPECT_EQ(perSsid[0x1000], 25);
    for (uint16_t s = 0x3001; s <= 0x3008; ++s) EXPECT_EQ(perSsid[s], 18);
}

TEST(SettingDefaultTable, EveryPlainBindingMatchesItsStoredLength) {
    int rows = 0;
    for (const TConfigEntry* row = ConfigEntryTable; row->SSID; ++row, ++rows) {
        const TSettingDefault* d = FindDefault(static_cast<uint16_t>(row->SSID), static_cast<uint16_t>(row->Par));
        ASSERT_NE(d, nullptr) << std::hex << row->SSID << "/" << row->Par;
        if (!row->load) {
            EXPECT_EQ(row->size, d->length) << std::hex << row->SSID << "/" << row->Par;
        }
    }
    EXPECT_EQ(rows, ConfigEntryRows);

    ConfigTempDir dir;
    ASSERT_EQ(ConfigManager.Create(), 0);
    for (const TConfigEntry* row = ConfigEntryTable; row->SSID; ++row) {
        const TConfigItem* item =
            ConfigManager.Store()->FindItem(static_cast<uint16_t>(row->SSID), static_cast<uint16_t>(row->Par));
        ASSERT_NE(item, nullptr);
        EXPECT_NE(item->variable, nullptr) << "unbound " << std::hex << row->SSID << "/" << row->Par;
    }
    ConfigManager.Release();
}

TEST(SettingDefaultTable, EveryRangeIsOrdered) {
    const uint16_t gauges[] = {0xB00, 0xB01, 0x201, 0x200, 0x603, 0x602, 0x604, 0x400, 0x202, 0x100,
                               0x101, 0x401, 0x402, 0x900, 0x901, 0x902, 0xA03, 0xA04, 0xA05};
    for (uint16_t par : gauges) EXPECT_GT(StoredWord(FindDefault(0x4065, par), 20), 0) << std::hex << par;
    for (const TSettingDefault* row = SettingDefaultTable; row->SSID; ++row) {
        if (row->SSID != 0x4065) continue;
        // alarm min < warning min < normal < warning < alarm < range, over the limits that are set
        const int32_t order[] = {StoredWord(row, 8), StoredWord(row, 0), StoredWord(row, 24), StoredWord(row, 4),
                                 StoredWord(row, 12), StoredWord(row, 20)};
        int32_t last = INT32_MIN;
        for (int32_t v : order) {
            if (v == 0) continue;
            EXPECT_GT(v, last) << std::hex << row->Par;
            last = v;
        }
        EXPECT_EQ(static_cast<uint32_t>(StoredWord(row, 32)),
                  LimitFlags(StoredWord(row, 0), StoredWord(row, 4), StoredWord(row, 8), StoredWord(row, 12),
                             StoredWord(row, 24)))
            << std::hex << row->Par;
    }
    const TSettingDefault* a = FindDefault(0x4002, 0);
    int32_t vs = StoredWord(a, 0), vfe = StoredWord(a, 4), vno = StoredWord(a, 8), vne = StoredWord(a, 12);
    EXPECT_GT(vs, 0);
    EXPECT_GE(vfe - vs, 50);
    EXPECT_GE(vno - vfe, 50);
    EXPECT_GE(vne - vno, 50);
    EXPECT_LE(vne, 21600);
}

TEST(SettingDefaultTable, SensorDefaultsNameCatalogueEntries) {
    const std::pair<uint16_t, int32_t> lists[] = {{0x200, 512}, {0x201, 513}, {0x202, 514}, {0x600, 1537},
                                                  {0x601, 1537}, {0x602, 1539}, {0x603, 1539}, {0x604, 1539},
                                                  {0xC15, 3093}, {0xC16, 3093}};
    for (auto [par, list] : lists) {
        const uint8_t* d = static_cast<const uint8_t*>(FindDefault(0x4064, par)->data);
        if (d[0] == 0) continue;  // not connected
        int pos = SensorTypeIndexByChar(list, d[0]);
        EXPECT_EQ(SensorTypeCharacteristic(list, pos), d[0]) << std::hex << par;
        EXPECT_EQ(SensorTypeCode(list, pos), d[1]) << std::hex << par;
    }
}

TEST_F(FirstStart, ValuesInsideTheirEditorsBounds) {
    // RPM
    ExpectWithin(LimitRpm.range, 0, 20000, "rpm range");
    ExpectWithin(LimitRpm.normal, 0, LimitRpm.warning, "rpm normal");
    ExpectWithin(LimitRpm.warning, LimitRpm.normal, LimitRpm.alarm, "rpm warning");
    ExpectWithin(LimitRpm.alarm, LimitRpm.warning, LimitRpm.range, "rpm alarm");
    EXPECT_EQ(LimitRpm.range, 6000);
    // rotor RPM
    ExpectWithin(LimitRotorRpm.range, 0, 20000, "rotor range");
    ExpectWithin(LimitRotorRpm.warning, LimitRotorRpm.warningMin, LimitRotorRpm.alarm, "rotor warning");
    ExpectWithin(LimitRotorRpm.alarm, LimitRotorRpm.warning, LimitRotorRpm.range, "rotor alarm");
    ExpectWithin(LimitRotorRpm.warningMin, 0, LimitRotorRpm.warning, "rotor warning min");
    ExpectWithin(LimitRotorRpm.alarmMin, 0, LimitRotorRpm.warningMin, "rotor alarm min");
    // MAP
    ExpectWithin(LimitMap.range, 0, 1860, "map range");
    ExpectWithin(LimitMap.warning, LimitMap.warningMin, LimitMap.range, "map warning");
    ExpectWithin(LimitMap.warningMin, 350, LimitMap.warning, "map warning min");
    // oil temperature, oil pressure, water
    struct {
        const TLimitA* l;
        int32_t top;
        bool minima;
        const char* name;
    } temps[] = {{&LimitOilTemp, 800, true, "oil temp"},
                 {&LimitOilPress, 2000, true, "oil press"},
                 {&LimitWaterCht, 400, false, "water cht"},
                 {&LimitWaterAux, 400, false, "water aux"}};
    for (auto& t : temps) {
        ExpectWithin(t.l->range, 0, t.top, t.name);
        ExpectWithin(t.l->normal, 0, t.l->warning, t.name);
        ExpectWithin(t.l->warning, t.l->normal, t.l->alarm, t.name);
        ExpectWithin(t.l->alarm, t.l->warning, t.l->range, t.name);
        if (t.minima) {
            ExpectWithin(t.l->warningMin, 0, t.l->range, t.name);
            ExpectWithin(t.l->alarmMin, 0, t.l->range, t.name);
        }
    }
    // tanks and fuel
    for (const TLimitB* t : {&LimitTankLeft, &LimitTankRight}) {
        ExpectWithin(t->range, 0, 10000, "tank range");
        ExpectWithin(t->alarmMin, 0, t->range, "tank alarm min");
    }
    ExpectWithin(LimitFuelPress.range, 0, 2000, "fuel press range");
    ExpectWithin(LimitFuelPress.alarmMin, 0, LimitFuelPress.warningMin, "fuel press alarm min");
    ExpectWithin(LimitFuelPress.warningMin, LimitFuelPress.alarmMin, LimitFuelPress.warning, "fuel press warn min");
    ExpectWithin(LimitFuelPress.warning, LimitFuelPress.warningMin, LimitFuelPress.alarm, "fuel press warning");
    ExpectWithin(LimitFuelPress.alarm, LimitFuelPress.warning, LimitFuelPress.range, "fuel press alarm");
    ExpectWithin(LimitFuelFlow.range, 0, 10000, "fuel flow range");
    ExpectWithin(LimitFuelFlow.alarm, 0, LimitFuelFlow.range, "fuel flow alarm");
    ExpectWithin(LimitEgt.range, 0, 50000, "egt range");
    ExpectWithin(LimitCht.range, 0, 10000, "cht range");
    for (const TLimitB* t : {&LimitEgt, &LimitCht}) {
        ExpectWithin(t->warning, 0, t->alarm, "thermo warning");
        ExpectWithin(t->alarm, t->warning, t->range, "thermo alarm");
    }
    // supply channels
    for (int i = 0; i < 6; ++i) {
        const TLimitRecord& s = SupplyLimit[i];
        ExpectWithin(s.range, 0, i < 3 ? 400 : 500, "supply range");
        ExpectWithin(s.warning, 0, s.alarm, "supply warning");
        ExpectWithin(s.alarm, s.warning, s.range, "supply alarm");
        if (i >= 3) {
            ExpectWithin(s.warningMin, -500, 0, "current warning min");
            ExpectWithin(s.alarmMin, -500, s.warningMin, "current alarm min");
        }
    }
    // setup values
    for (int t = 0; t < 2; ++t) {
        ExpectWithin(TankSetting[t].unusable, 0, t ? LimitTankRight.range : LimitTankLeft.range, "unusable");
        ExpectWithin(TankSetting[t].steps, 3, 15, "calibration steps");
        EXPECT_GT(t ? LimitTankRight.range : LimitTankLeft.range, TankSetting[t].steps * 10);
    }
    ExpectWithin(FuelFlowSetting.kFactor, 100, 25000, "k-factor");
    ExpectWithin(FuelFlowSetting.flowAverage, 1, 10, "flow average");
    ExpectWithin(FuelFlowSetting.quantityAverage, 30, 300, "quantity average");
    ExpectWithin(FuelFlowSetting.pressOffset, -100, 100, "press offset");
    for (const TRpmSensorSetting& r : RpmSensorSetting) {
        ExpectWithin(r.pulsesPerRev, 1, 200, "pulses");
        ExpectWithin(r.reductionRatio, 100, 600, "ratio");
    }
    ExpectWithin(MiscSetting[MiscRpmThreshold].value, 0, 10000, "threshold");
    ExpectWithin(MiscSetting[MiscPitchOffset].value, -300, 300, "pitch offset");
    ExpectWithin(MiscSetting[MiscRollOffset].value, -300, 300, "roll offset");
    ExpectWithin(DemoSetting.airspeedLimit, 0, 21600, "demo airspeed");
    ExpectWithin(DemoSetting.rpmLimit, 0, 20000, "demo rpm");
    ExpectWithin(AutopilotSetting.rollSensitivity, 1, 24, "roll sensitivity");
    ExpectWithin(AutopilotSetting.pitchSensitivity, 1, 24, "pitch sensitivity");
    ExpectWithin(CompassSetting.totalField, 0, 99999, "total field");
    ExpectWithin(CompassSetting.declination, -8979, 8979, "declination");
    ExpectWithin(CompassSetting.inclination, -8969, 8969, "inclination");
    ExpectWithin(CommRuntime.active, 118000000, 136975000, "active frequency");
    ExpectWithin(CommRuntime.standby, 118000000, 136975000, "standby frequency");
    ExpectWithin(BrightnessSetting.level, 1, 1000, "brightness");
}

TEST_F(FirstStart, AnInstallerWouldRecogniseIt) {
    EXPECT_STREQ(AircraftIdSetting.id, "AIRCRAFT");
    EXPECT_EQ(QnhSetting.qnh, 101325);
    EXPECT_EQ(LanguageSetting.languageId, 1033);
    // metric
    EXPECT_EQ(UnitsSetting.airspeed, 2);
    EXPECT_EQ(UnitsSetting.altitude, 1);
    EXPECT_EQ(UnitsSetting.temperature, 1);
    EXPECT_EQ(UnitsSetting.fuel, 0);
    EXPECT_EQ(UnitsSetting.enginePress, 1);
    // four cylinders; EGT on thermocouples 1..6 and CHT on 7..12 as the bench feeds them,
    // each with a sensor of its own list; two tanks with sensors
    EXPECT_EQ(EngineGaugeConfig.cylinders, 4);
    for (int i = 0; i < ThermoSlots; ++i) {
        EXPECT_EQ(EngineGaugeConfig.egt[i].thermocouple, i + 1);
        EXPECT_EQ(EngineGaugeConfig.cht[i].thermocouple, i + 7);
        const auto* egt = static_cast<const uint8_t*>(FindDefault(0x4064, static_cast<uint16_t>(0x100 + i))->data);
        const auto* cht = static_cast<const uint8_t*>(FindDefault(0x4064, static_cast<uint16_t>(0x106 + i))->data);
        EXPECT_EQ(egt[1], 25) << "type K on EGT " << i + 1;
        EXPECT_EQ(cht[1], 21) << "type J on CHT " << i + 1;
    }
    EXPECT_NE(EngineGaugeConfig.rpmUsed, 0);
    EXPECT_NE(EngineGaugeConfig.oilPressUsed, 0);
    EXPECT_NE(EngineGaugeConfig.oilTempUsed, 0);
    EXPECT_NE(EngineGaugeConfig.waterChtUsed, 0);
    EXPECT_NE(EngineGaugeConfig.fuelPressUsed, 0);
    EXPECT_NE(EngineGaugeConfig.fuelFlowUsed, 0);
    EXPECT_NE(EngineGaugeConfig.tankUsed, 0);
    EXPECT_NE(EngineGaugeConfig.twoTanks, 0);
    // flight and engine pages both shown
    EXPECT_EQ(LayoutCaps & 0x05, 0x05);
    EXPECT_EQ(FlightStatistics.altitude.max, INT32_MIN);
    EXPECT_EQ(FlightStatistics.altitude.min, INT32_MAX);
}
