#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "configmanager.h"
#include "file_io.h"

namespace {

constexpr uint32_t OurPid = 100, OtherPid = 999;

// Keys of the packets in a configuration file, in file order.
std::vector<std::pair<uint16_t, uint16_t>> FileKeys(const char* name) {
    std::vector<std::pair<uint16_t, uint16_t>> keys;
    TConfig file(name);
    if (file.OpenConfig() != 0) return keys;
    SetupSectPacket h;
    for (int r = file.GetFirstSection(&h, nullptr); r == 0; r = file.GetNextSection(&h, nullptr))
        keys.push_back({h.SSID, h.Par});
    return keys;
}

size_t FullDiskWrite(const char*, int, const void*, size_t size) { return size / 2; }

// The manager started as at program start, in a temporary working directory, with an
// injected clock, process id and retry pause.
class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ConfigWriter = DefaultConfigWriter;
        Start();
    }
    void TearDown() override {
        ConfigManager.Release();
        ConfigWriter = DefaultConfigWriter;
        DeviceInfo = {29, 1, 0, {}};
        DeviceInfoExt = {};
    }
    void Start(int expectedError = 0) {
        ASSERT_EQ(ConfigManager.Create(), 0);
        store = ConfigManager.Store();
        store->SetClock([this] { return now; });
        store->SetProcessId(OurPid);
        store->SetSleep([](uint32_t) {});
        ConfigManager.SetSleep([this](uint32_t ms) {
            EXPECT_EQ(ms, 250u);
            ++sleeps;
            if (onSleep) onSleep();
        });
        SettingsError = 0;
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        ASSERT_EQ(SettingsError, expectedError);
    }
    void Restart() {
        ConfigManager.Release();
        Start();
    }
    // A write lock taken by another process at the current time.
    void LockByOther() {
        store->SetProcessId(OtherPid);
        ASSERT_EQ(store->LockWrite(1), 0);
        store->SetProcessId(OurPid);
    }
    std::vector<uint8_t> Stored(uint16_t SSID, uint16_t Par, uint32_t length) {
        std::vector<uint8_t> out(length);
        EXPECT_GE(store->GetSectionData(SSID, Par, out.data(), length), 0);
        return out;
    }
    void Put(uint16_t SSID, uint16_t Par, const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(store->SetSectionData(SSID, Par, bytes.data(), static_cast<uint32_t>(bytes.size())), 0);
    }

    ConfigTempDir dir;
    TConfigSetting* store = nullptr;
    uint32_t now = 2000000;
    int sleeps = 0;
    std::function<void()> onSleep;
};

std::vector<uint8_t> Words(std::initializer_list<int32_t> words, size_t size) {
    std::vector<uint8_t> out(size);
    size_t i = 0;
    for (int32_t w : words) CfgPut32(&out[4 * i++], static_cast<uint32_t>(w));
    return out;
}

int32_t WordAt(const std::vector<uint8_t>& v, size_t offset) { return static_cast<int32_t>(CfgGet32(&v[offset])); }

}  // namespace

// ---- files ----

TEST_F(ManagerTest, SettingsSurviveARestartThroughTheFiles) {
    UnitsSetting.airspeed = 0;
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    LimitRpm.warning = 5400;
    ASSERT_EQ(SetSS(0x4065, 0xB00), 0);
    EngineGaugeConfig.egt[0].typeIndex = 1;
    ASSERT_EQ(SetThermocoupleSS(), 0);
    QnhSetting.qnh = 99000;
    FlightStatistics.altitude = {1200, 300};
    EngineStatistics.egtMax[0] = 7777;
    ASSERT_EQ(SaveSetting(nullptr, KindAll), 0);
    for (const char* f : {"setup.dat", "setup.bck", "runtime.dat", "statistic.dat"})
        EXPECT_FALSE(FileBytes(f).empty()) << f;

    Restart();
    ConfigManager.Release();
    UnitsSetting.airspeed = 2;
    LimitRpm.warning = 0;
    EngineGaugeConfig.egt[0].typeIndex = 0;
    QnhSetting.qnh = 0;
    FlightStatistics.altitude = {0, 0};
    EngineStatistics.egtMax[0] = 0;
    Start();

    EXPECT_EQ(UnitsSetting.airspeed, 0);
    EXPECT_EQ(LimitRpm.warning, 5400);
    EXPECT_EQ(LimitRpm.alarm, 5800);  // untouched words come back too
    EXPECT_EQ(EngineGaugeConfig.egt[0].typeIndex, 1);
    EXPECT_EQ(QnhSetting.qnh, 99000);
    EXPECT_EQ(FlightStatistics.altitude.max, 1200);
    EXPECT_EQ(FlightStatistics.altitude.min, 300);
    EXPECT_EQ(EngineStatistics.egtMax[0], 7777);
}

TEST_F(ManagerTest, FilesBeyondTheStoreStillLoadEverySettingAndStayUntouched) {
    UnitsSetting.airspeed = 0;
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    QnhSetting.qnh = 99000;
    FlightStatistics.altitude = {1200, 300};
    ASSERT_EQ(SaveSetting(nullptr, KindAll), 0);
    // More foreign sections than the index holds, in the kind that loads first.
    for (const char* name : {"statistic.dat", "statistic.bck"}) {
        std::vector<uint8_t> bytes = FileBytes(name);
        for (uint16_t par = 0; par < IndexCapacity + 100; ++par) {
            uint8_t packet[8 + 18];
            const uint8_t data[8] = {static_cast<uint8_t>(par), 1, 2, 3, 4, 5, 6, 7};
            SetupSectPacket h = {};
            h.SSID = 0x1F00;
            h.Par = par;
            h.length = 8;
            h.time = 5;
            BuildSetupSectPacket(&h, data, packet);
            bytes.insert(bytes.end(), packet, packet + sizeof packet);
        }
        WriteByteFile(name, bytes);
    }
    const char* const files[] = {"statistic.dat", "statistic.bck", "runtime.dat", "runtime.bck",
                                 "setup.dat",     "setup.bck",     "calib.dat",   "calib.bck"};
    std::vector<std::vector<uint8_t>> before;
    for (const char* f : files) before.push_back(FileBytes(f));

    ConfigManager.Release();
    UnitsSetting.airspeed = 2;
    QnhSetting.qnh = 0;
    FlightStatistics.altitude = {0, 0};
    LimitRpm.alarm = 0;
    Start(1);  // loaded, and the error box is told

    EXPECT_EQ(UnitsSetting.airspeed, 0);
    EXPECT_EQ(QnhSetting.qnh, 99000);
    EXPECT_EQ(FlightStatistics.altitude.max, 1200);
    EXPECT_EQ(LimitRpm.alarm, 5800);  // a default
    EXPECT_EQ(store->IncompleteKinds(), 1u);
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(FileBytes(files[i]), before[i]) << files[i];

    // Saving keeps the files the store could not hold whole, and says so.
    FlightStatistics.altitude = {1300, 300};
    EXPECT_EQ(SaveSetting(nullptr, KindStatistic | KindRuntime), -1);
    EXPECT_EQ(FileBytes("statistic.dat"), before[0]);
    EXPECT_EQ(FileBytes("statistic.bck"), before[1]);
    EXPECT_FALSE(FileBytes("runtime.bck").empty());
}

TEST_F(ManagerTest, DamagedDatIsRecoveredFromBck) {
    UnitsSetting.airspeed = 0;
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    std::vector<uint8_t> dat = FileBytes("setup.dat");
    ASSERT_EQ(FileKeys("setup.dat").front(), std::make_pair(uint16_t(0x4001), uint16_t(0)));
    dat[ConfigHeaderSize + SetupSectHeadSize] ^= 0x5A;  // the airspeed unit of the first packet
    WriteByteFile("setup.dat", dat);

    ConfigManager.Release();
    UnitsSetting.airspeed = 2;
    Start();
    EXPECT_EQ(UnitsSetting.airspeed, 0);
}

TEST_F(ManagerTest, FullDiskKeepsTheBackupAndReportsTheError) {
    AirspeedLimits.vs = 4000;
    ASSERT_EQ(SetSS(0x4002, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    const std::vector<uint8_t> bck = FileBytes("setup.bck");
    const std::vector<uint8_t> dat = FileBytes("setup.dat");

    AirspeedLimits.vs = 4200;
    ASSERT_EQ(SetSS(0x4002, 0), 0);
    ConfigWriter.Write = FullDiskWrite;
    testing::internal::CaptureStderr();
    EXPECT_EQ(SaveSetting(nullptr, KindSetup), -1);
    std::string err = testing::internal::GetCapturedStderr();
    ConfigWriter = DefaultConfigWriter;
    EXPECT_NE(err.find(">>SaveSetting()\n"), std::string::npos);
    EXPECT_NE(err.find("<<SaveSetting() ERR\n"), std::string::npos);
    EXPECT_EQ(FileBytes("setup.bck"), bck);
    EXPECT_EQ(FileBytes("setup.dat"), dat);

    ConfigManager.Release();
    Start();
    EXPECT_EQ(AirspeedLimits.vs, 4000);
}

TEST_F(ManagerTest, SavingSetupWritesOnlyWhatSetSSStored) {
    UnitsSetting.airspeed = 1;  // changed but never stored
    LimitRpm.range = 7000;
    AirspeedLimits.vne = 15000;
    ASSERT_EQ(SetSS(0x4002, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    auto keys = FileKeys("setup.dat");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], std::make_pair(uint16_t(0x4002), uint16_t(0)));
    EXPECT_TRUE(FileBytes("runtime.dat").empty());
}

TEST_F(ManagerTest, MaskedLoadRestoresOnlyItsKinds) {
    FlightStatistics.altitude = {900, 100};  // gathered since the last save
    QnhSetting.qnh = 98000;
    UnitsSetting.airspeed = 0;
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    // leaving setup without saving
    ASSERT_EQ(LoadSetting(nullptr, KindSetup, 1), 0);
    EXPECT_EQ(UnitsSetting.airspeed, 2);
    EXPECT_EQ(FlightStatistics.altitude.max, 900);
    EXPECT_EQ(FlightStatistics.altitude.min, 100);
    EXPECT_EQ(QnhSetting.qnh, 98000);
}

TEST_F(ManagerTest, ChecklistsAreReadWhenNeeded) {
    std::vector<uint8_t> line(64, 0);
    memcpy(line.data(), "Fuel valve OPEN", 15);
    EXPECT_EQ(LoadSetting(nullptr, KindChecklist, 1), 0);
    Put(0x3003, 5, line);
    EXPECT_EQ(GetSS(0x3003, 5), 0);
    EXPECT_STREQ(ChecklistTable[2][5], "Fuel valve OPEN");
}

// ---- locks and retries ----

TEST_F(ManagerTest, SetSSWaitsForAStaleLock) {
    LockByOther();
    onSleep = [this] { now += 3; };  // fresh after 3 s, stale after 6 s
    AirspeedLimits.vfe = 8500;
    EXPECT_EQ(SetSS(0x4002, 0), 0);
    EXPECT_EQ(sleeps, 2);
    EXPECT_EQ(SettingsError, 0);
    EXPECT_EQ(WordAt(Stored(0x4002, 0, 16), 4), 8500);
}

TEST_F(ManagerTest, SetSSWaitsForARelease) {
    LockByOther();
    onSleep = [this] {
        store->SetProcessId(OtherPid);
        store->LockWrite(0);
        store->SetProcessId(OurPid);
    };
    LimitOilTemp.alarm = 145;
    EXPECT_EQ(SetSS(0x4065, 0x603), 0);
    EXPECT_EQ(sleeps, 1);
    EXPECT_EQ(SettingsError, 0);
}

TEST_F(ManagerTest, SetSSGivesUpAndRaisesTheFlag) {
    LockByOther();
    AirspeedLimits.vfe = 8500;
    EXPECT_EQ(SetSS(0x4002, 0), -2);
    EXPECT_EQ(sleeps, 3);
    EXPECT_EQ(SettingsError, 1);
    EXPECT_EQ(WordAt(Stored(0x4002, 0, 16), 4), 8000);
    // command blocks never raise it
    SettingsError = 0;
    EXPECT_EQ(SetSS(0x6007, 0), -2);
    EXPECT_EQ(SettingsError, 0);
}

TEST_F(ManagerTest, LoadRetriesALockedStoreThenFails) {
    store->SetProcessId(OtherPid);
    ASSERT_EQ(store->LockRead(1), 0);
    store->SetProcessId(OurPid);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSetting(nullptr, KindSetup, 1), -3);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(sleeps, 3);
    EXPECT_EQ(SettingsError, 1);
    EXPECT_EQ(SettingsBusy, 0);
    EXPECT_NE(err.find("CConfigManager::Load: LoadConfig ... before.. typ=8, re=1\n"), std::string::npos);
    EXPECT_NE(err.find("CConfigManager::Load: LoadConfig ... after i=3, r=-3\n"), std::string::npos);
}

TEST_F(ManagerTest, GetSSCountsDefaultsAndFlagsFailures) {
    uint32_t before = SettingDefaultsCount;
    EXPECT_EQ(GetSS(0x4001, 0), 1);  // still the default
    EXPECT_EQ(SettingDefaultsCount, before + 1);
    EXPECT_EQ(GetSS(0x4099, 0), -2);
    EXPECT_EQ(SettingsError, 1);
    SettingsError = 0;
    EXPECT_EQ(GetSS(0x6002, 0), -5);  // never written by a device
    EXPECT_EQ(SettingsError, 0);
}

TEST(ManagerWithoutStore, AnswersMinusOne) {
    ConfigManager.Release();
    SettingsError = 0;
    EXPECT_EQ(LoadSetting(nullptr, KindAll, 0), -1);
    EXPECT_EQ(SettingsError, 1);
    EXPECT_EQ(SettingsBusy, 0);
    EXPECT_EQ(ConfigManager.LoadEntry(0x4001, 0), -1);
    EXPECT_EQ(ConfigManager.SaveEntry(0x4001, 0), -1);
    EXPECT_EQ(SaveSetting(nullptr, KindAll), -1);
    SettingsError = 0;
}

// ---- converters ----

TEST_F(ManagerTest, LimitRecordAByteForByte) {
    std::vector<uint8_t> rec = Words({10, 20, 30, 40, 50, 60, 70, 80, 0x7F}, 48);
    rec[36] = 0x99;
    for (int i = 37; i < 48; ++i) rec[i] = static_cast<uint8_t>(i);
    Put(0x4065, 0xB00, rec);
    ASSERT_EQ(GetSS(0x4065, 0xB00), 0);
    EXPECT_EQ(LimitRpm.range, 60);
    EXPECT_EQ(LimitRpm.normal, 70);
    EXPECT_EQ(LimitRpm.warning, 20);
    EXPECT_EQ(LimitRpm.alarm, 40);
    EXPECT_EQ(LimitRpm.alarmMin, 30);
    EXPECT_EQ(LimitRpm.warningMin, 10);
    EXPECT_EQ(LimitRpm.extra, 0x99);

    // another channel passes through the shared scratch record first
    ASSERT_GE(GetSS(0x4065, 0xB01), 0);
    LimitRpm = {6500, 0, 6000, 6300, 0, 0, 0x11, {}};
    ASSERT_EQ(SetSS(0x4065, 0xB00), 0);
    std::vector<uint8_t> want = Words({0, 6000, 0, 6300, 50, 6500, 0, 80, 2 | 8}, 48);
    want[36] = 0x11;
    for (int i = 37; i < 48; ++i) want[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(Stored(0x4065, 0xB00, 48), want);
}

TEST_F(ManagerTest, LimitRecordBByteForByte) {
    std::vector<uint8_t> rec = Words({1, 2, 3, 4, 5, 6, 7, 8, 0}, 48);
    rec[36] = 3;
    Put(0x4065, 0x202, rec);
    ASSERT_EQ(GetSS(0x4065, 0x202), 0);
    EXPECT_EQ(LimitFuelPress.range, 6);
    EXPECT_EQ(LimitFuelPress.alarmMin, 3);
    EXPECT_EQ(LimitFuelPress.warningMin, 1);
    EXPECT_EQ(LimitFuelPress.warning, 2);
    EXPECT_EQ(LimitFuelPress.alarm, 4);
    EXPECT_EQ(LimitFuelPress.extra, 3);

    ASSERT_GE(GetSS(0x4065, 0x101), 0);  // the scratch now holds the CHT record
    LimitFuelPress = {70, 0, 12, 45, 55, 4, {}};
    ASSERT_EQ(SetSS(0x4065, 0x202), 0);
    std::vector<uint8_t> want = Words({12, 45, 0, 55, 5, 70, 7, 8, 1 | 2 | 8 | 64}, 48);
    want[36] = 4;
    EXPECT_EQ(Stored(0x4065, 0x202, 48), want);
}

TEST_F(ManagerTest, StatisticsPairIsStoredSwapped) {
    Put(0x1000, 0xF00, Words({-5, 250}, 8));
    ASSERT_EQ(GetSS(0x1000, 0xF00), 0);
    EXPECT_EQ(FlightStatistics.speed.max, 250);
    EXPECT_EQ(FlightStatistics.speed.min, -5);
    EngineStatistics.oilTemp = {120, 15};
    ASSERT_EQ(SetSS(0x1000, 0x603), 0);
    EXPECT_EQ(Stored(0x1000, 0x603, 8), Words({15, 120}, 8));
}

TEST_F(ManagerTest, ThermocoupleAssignmentByteForByte) {
    std::vector<uint8_t> rec = Words({0, 0, 0, 0, 7, 6, 2, 1, 0, 4, 99, 5}, 48);
    rec[0] = 0x54;  // 4 pairs, both options
    const uint8_t slots[12] = {1, 12, 13, 0, 200, 3, 2, 4, 0, 0, 255, 11};
    memcpy(&rec[4], slots, 12);
    Put(0x4010, 0, rec);
    ASSERT_EQ(GetSS(0x4010, 0), 0);
    const TEngineGaugeConfig& c = EngineGaugeConfig;
    EXPECT_EQ(c.cylinders, 4);
    EXPECT_EQ(c.assignOption4, 1);
    EXPECT_EQ(c.assignOption6, 1);
    const uint8_t clamped[12] = {1, 12, 0, 0, 0, 3, 2, 4, 0, 0, 0, 11};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(c.egt[i].thermocouple, clamped[i]) << i;
        EXPECT_EQ(c.cht[i].thermocouple, clamped[6 + i]) << i;
    }
    EXPECT_EQ(c.voltsMask, 7);
    EXPECT_EQ(c.currentsMask, 6);
    EXPECT_EQ(c.canopyInput, 2);
    EXPECT_EQ(c.gearUpInput, 1);
    EXPECT_EQ(c.gearDownInput, 0);
    EXPECT_EQ(c.dimmerControl, 4);
    EXPECT_EQ(c.mainSwitch, 99);
    EXPECT_EQ(c.reserved76, 5);

    ASSERT_EQ(SetSS(0x4010, 0), 0);
    std::vector<uint8_t> want = rec;
    want[1] = 255;
    memcpy(&want[4], clamped, 12);
    EXPECT_EQ(Stored(0x4010, 0, 48), want);

    rec[0] = 0x0F;  // more slot pairs than there are slots
    Put(0x4010, 0, rec);
    ASSERT_EQ(GetSS(0x4010, 0), 0);
    EXPECT_EQ(EngineGaugeConfig.cylinders, 6);
    EXPECT_EQ(EngineGaugeConfig.assignOption4, 0);
}

// Bytes 2 and 3, zero in older files: the backlight colour and the water/CHT label.
TEST_F(ManagerTest, BacklightColourAndWaterLabelInTheSpareBytes) {
    struct Row {
        uint8_t stored2, stored3;
        int colour, label;
    } rows[] = {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 0, 2, 0}, {7, 5, 0, 1}};  // out of range: green, CHT
    for (const Row& r : rows) {
        std::vector<uint8_t> rec = Words({0x0104, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0}, 48);
        rec[2] = r.stored2;
        rec[3] = r.stored3;
        Put(0x4010, 0, rec);
        ASSERT_EQ(GetSS(0x4010, 0), 0);
        EXPECT_EQ(EngineGaugeConfig.backlightColour, r.colour) << int(r.stored2);
        EXPECT_EQ(EngineGaugeConfig.waterChtLabel, r.label) << int(r.stored3);
        ASSERT_EQ(SetSS(0x4010, 0), 0);
        const std::vector<uint8_t> back = Stored(0x4010, 0, 48);
        EXPECT_EQ(back[2], r.colour);
        EXPECT_EQ(back[3], r.label);
        EXPECT_TRUE(std::equal(back.begin() + 4, back.end(), rec.begin() + 4)) << "every other byte where it was";
    }
}

TEST_F(ManagerTest, SensorSettingOfAChannel) {
    Put(0x4064, 0x200, {82, 15});  // second entry of list 512
    ASSERT_EQ(GetSS(0x4064, 0x200), 0);
    EXPECT_EQ(EngineGaugeConfig.oilPressType, 1);
    EXPECT_EQ(EngineGaugeConfig.oilPressUsed, 1);
    EngineGaugeConfig.oilPressType = 2;
    ASSERT_EQ(SetSS(0x4064, 0x200), 0);
    EXPECT_EQ(Stored(0x4064, 0x200, 2), (std::vector<uint8_t>{80, 16}));
    EngineGaugeConfig.oilPressUsed = 0;
    ASSERT_EQ(SetSS(0x4064, 0x200), 0);
    EXPECT_EQ(Stored(0x4064, 0x200, 2), (std::vector<uint8_t>{0, 0}));
    ASSERT_EQ(GetSS(0x4064, 0x200), 0);
    EXPECT_EQ(EngineGaugeConfig.oilPressUsed, 0);

    Put(0x4064, 0xB00, {7, 9});  // the characteristic byte is kept itself
    ASSERT_EQ(GetSS(0x4064, 0xB00), 0);
    EXPECT_EQ(EngineGaugeConfig.rpmUsed, 7);
    EngineGaugeConfig.rpmUsed = 3;
    ASSERT_EQ(SetSS(0x4064, 0xB00), 0);
    EXPECT_EQ(Stored(0x4064, 0xB00, 2), (std::vector<uint8_t>{3, 9}));
}

TEST_F(ManagerTest, SensorSettingOfAThermocouple) {
    for (TThermoSlot& s : EngineGaugeConfig.egt) s = {0, 0};
    for (TThermoSlot& s : EngineGaugeConfig.cht) s = {0, 0};
    EngineGaugeConfig.egt[0].thermocouple = 3;
    EngineGaugeConfig.cht[1].thermocouple = 3;
    EngineGaugeConfig.cht[2] = {4, 5};
    Put(0x4064, 0x102, {64, 31});  // "Type J": third in list 257, absent from list 256
    ASSERT_EQ(GetSS(0x4064, 0x102), 0);
    EXPECT_EQ(EngineGaugeConfig.egt[0].typeIndex, 2);
    EXPECT_EQ(EngineGaugeConfig.cht[1].typeIndex, 0);
    EXPECT_EQ(EngineGaugeConfig.cht[2].typeIndex, 5);

    EngineGaugeConfig.egt[0].typeIndex = 1;  // the first slot decides: list 257 entry 1
    ASSERT_EQ(SetSS(0x4064, 0x102), 0);
    EXPECT_EQ(Stored(0x4064, 0x102, 2), (std::vector<uint8_t>{65, 26}));
    EngineGaugeConfig.cht[2].typeIndex = 4;  // only a CHT slot: list 256 entry 4
    ASSERT_EQ(SetSS(0x4064, 0x103), 0);
    EXPECT_EQ(Stored(0x4064, 0x103, 2), (std::vector<uint8_t>{65, 30}));
    std::vector<uint8_t> unused = Stored(0x4064, 0x10B, 2);
    ASSERT_EQ(SetSS(0x4064, 0x10B), 0);  // no slot: the stored type stays
    EXPECT_EQ(Stored(0x4064, 0x10B, 2), unused);
    EXPECT_EQ(ThermocoupleChannel(1), 0x100);
    EXPECT_EQ(ThermocoupleChannel(12), 0x10B);
    EXPECT_EQ(ThermocoupleChannel(0), 0);
    EXPECT_EQ(ThermocoupleChannel(13), 0);
}

// ---- device, language, brightness, capabilities ----

TEST_F(ManagerTest, DeviceInformation) {
    Put(0x7001, 0, Words({31, 7, 0, 0}, 16));
    EXPECT_EQ(ConfigManager.ReadDeviceInfo(), 0);
    EXPECT_EQ(DeviceInfo.deviceType, 31);
    EXPECT_EQ(ConfigManager.GetDeviceType(), 30);
    EXPECT_EQ(ConfigManager.GetHwVersion(), 7);
    DeviceInfo.deviceType = 27;
    EXPECT_EQ(ConfigManager.GetDeviceType(), 27);
    Put(0x7003, 0, Words({0, 0x200, 0, 0}, 16));
    EXPECT_EQ(ConfigManager.ReadDeviceInfoExt(), 0);
    EXPECT_EQ(DeviceInfoExt.features, 0x200);
    EXPECT_EQ(ConfigManager.ProcessChanges(), 0);
}

TEST_F(ManagerTest, DisplayCapabilities) {
    struct {
        int type;
        uint8_t options;
        int caps, model;
    } cases[] = {{27, 0, 12, 27}, {27, 2, 31, 27}, {30, 0, 3, 30}, {34, 1, 31, 30},
                 {31, 0, 3, 30},  {29, 0, 31, 29}, {33, 0, 31, 29}};
    DisplaySetting.screenWord = 2;
    for (auto& c : cases) {
        DeviceInfo.deviceType = c.type;
        DeviceInfo.options = c.options;
        SetDisplayCapabilities();
        EXPECT_EQ(LayoutCaps, c.caps) << c.type;
        EXPECT_EQ(DisplayModel, c.model) << c.type;
    }
    DeviceInfo = {30, 1, 0, {}};
    DisplaySetting.screenWord = 0x102;  // engine strip
    SetDisplayCapabilities();
    EXPECT_EQ(LayoutCaps, 0x13);
    DeviceInfo.deviceType = 27;
    DevicePort[1].flags = PortConnected;
    DevicePort[3].flags = PortConnected;
    DeviceInfoExt.features = 0x200;
    SetDisplayCapabilities();
    EXPECT_EQ(LayoutCaps, 12 | 0x10 | 0x40 | 0x80 | 0x100);
    DemoSetting.marker = DemoMarkerValue;  // the demo model rules
    DemoSetting.modelCode = 30;
    SetDisplayCapabilities();
    EXPECT_EQ(LayoutCaps, 3 | 0x10 | 0x100);
    DemoSetting.marker = 0;
    DevicePort[1].flags = DevicePort[3].flags = 0;
}

TEST_F(ManagerTest, LoadSettingTakesTheLayoutMask) {
    DisplaySetting.screenWord = 0x1C5;
    ASSERT_EQ(SaveSetting(nullptr, KindRuntime), 0);
    DisplaySetting.screenWord = 0;
    ASSERT_EQ(LoadSetting(nullptr, KindRuntime, 1), 0);
    EXPECT_EQ(LayoutMask, 5);
}

TEST(Language, SwitchesFontsAndCatalogue) {
    const std::string numeric = setlocale(LC_NUMERIC, nullptr);
    EXPECT_TRUE(SetLanguage(1049));
    EXPECT_EQ(LanguageFontSet, FontSetCyrillic);
    EXPECT_EQ(LanguageTextVariant, 2);
    EXPECT_EQ(LanguageId, 1049);
    EXPECT_STREQ(LanguageLocale, "ru_RU");
    EXPECT_STREQ(bind_textdomain_codeset("skyvane1", nullptr), "WINDOWS-1251//TRANSLIT");
    EXPECT_NE(std::string(bindtextdomain("skyvane1", nullptr)).find("locale"), std::string::npos);

    EXPECT_TRUE(SetLanguage(1031));
    EXPECT_EQ(LanguageFontSet, FontSetLatin);
    EXPECT_EQ(LanguageTextVariant, 3);
    EXPECT_STREQ(bind_textdomain_codeset("skyvane1", nullptr), "WINDOWS-1252//TRANSLIT");
    EXPECT_TRUE(SetLanguage(1029));
    EXPECT_EQ(LanguageTextVariant, 1);
    EXPECT_STREQ(LanguageLocale, "cs_CZ");

    EXPECT_TRUE(SetLanguage(1049));
    EXPECT_FALSE(SetLanguage(1050));  // unknown: only the font selection is reset
    EXPECT_EQ(LanguageFontSet, FontSetLatin);
    EXPECT_EQ(LanguageId, 1049);
    EXPECT_TRUE(SetLanguage(1029));
    EXPECT_FALSE(SetLanguage(0));
    EXPECT_EQ(LanguageId, 1029);
    EXPECT_STREQ(LanguageLocale, "cs_CZ");
    EXPECT_EQ(LanguageTextVariant, 1);

    EXPECT_TRUE(SetLanguage(1033));
    EXPECT_STREQ(gettext("Yes"), "Yes");
    EXPECT_EQ(setlocale(LC_NUMERIC, nullptr), numeric);
    char text[16];
    snprintf(text, sizeof text, "%.1f", 1.5);
    EXPECT_STREQ(text, "1.5");
}

TEST(Language, TranslatesWhenTheLocaleExists) {
    ConfigTempDir dir;
    const std::string old = setlocale(LC_MESSAGES, nullptr);
    bool available = setlocale(LC_MESSAGES, "de_DE.UTF-8") || setlocale(LC_MESSAGES, "de_DE.utf8");
    setlocale(LC_MESSAGES, old.c_str());
    if (!available) GTEST_SKIP() << "no de_DE locale on this host";
    ASSERT_EQ(system("mkdir -p locale/de_DE/LC_MESSAGES && printf 'msgid \"Yes\"\\nmsgstr \"Ja\"\\n' > de.po && "
                     "msgfmt -o locale/de_DE/LC_MESSAGES/skyvane1.mo de.po"),
              0);
    EXPECT_TRUE(SetLanguage(1031));
    EXPECT_STREQ(gettext("Yes"), "Ja");
    EXPECT_TRUE(SetLanguage(1033));
    EXPECT_STREQ(gettext("Yes"), "Yes");
}

TEST(Brightness, ClampsAndGivesTheDuty) {
    EXPECT_EQ(SetBrightness(0, 0), 20);
    EXPECT_EQ(BrightnessSetting.level, 1);
    EXPECT_EQ(SetBrightness(1000, 0), 1000);
    EXPECT_EQ(SetBrightness(1500, 0), 1000);
    EXPECT_EQ(BrightnessSetting.level, 1000);
    EXPECT_EQ(SetBrightness(500, 0), 510);
    EXPECT_EQ(SetBrightness(200, 1), 0);  // a query changes nothing
    EXPECT_EQ(BrightnessSetting.level, 500);
    BrightnessSetting.level = 0;
    FixBrightness();
    EXPECT_EQ(BrightnessSetting.level, 1000);
    BrightnessSetting.level = -4;
    FixBrightness();
    EXPECT_EQ(BrightnessSetting.level, 1000);
    BrightnessSetting.level = 300;
    FixBrightness();
    EXPECT_EQ(BrightnessSetting.level, 300);
}
