// The menu action dispatcher over a real settings store in a temporary folder.
#include "menuaction.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>

#include "config_tempdir.h"
#include "configfile.h"
#include "configmanager.h"
#include "diskroot.h"
#include "editors.h"
#include "hkutils.h"
#include "keyboard.h"
#include "limiteditors.h"
#include "menu.h"
#include "overlays.h"
#include "selectdir.h"
#include "settingvars.h"
#include "shellstate.h"

namespace {

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// An item activated on a page, as the menu passes it: the item must stand on that page.
void Act(int page, int item) {
    bool listed = false;
    if (const TMenuPage* p = FindPage(page))
        for (const int16_t* e = MenuItemPool + p->listOffset; *e != -1; ++e) listed |= *e == item;
    EXPECT_TRUE(listed) << "item " << item << " is not on page " << page;
    MenuAction(page, item);
}

class MenuActionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.Store()->SetSleep([](uint32_t) {});
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        Keyboard.Clear();
        MainMenu.Show(0);
        CloseMessageBox();
        MessageText[0] = 0;
    }
    void TearDown() override {
        CloseMessageBox();
        SetDiskRoot(nullptr);
        DemoSetting.marker = 0;
        ConfigManager.Release();
    }
    // The message box's text without its blanks.
    static std::string Message() {
        std::string t = MessageText;
        const size_t a = t.find_first_not_of(' '), b = t.find_last_not_of(' ');
        return a == std::string::npos ? std::string() : t.substr(a, b - a + 1);
    }
    // The dialog pointed at a folder, as after walking there and choosing "Select".
    void ChooseFolder(const std::string& hostDir) {
        SetDiskRoot(hostDir.c_str());
        strcpy(SelectDirDialog.currentPath, DiskRootName);
    }

    ConfigTempDir dir;
};

}  // namespace

TEST_F(MenuActionTest, UnitPresetsSetEveryFieldAndStoreThem) {
    struct Case {
        int item;
        TUnitsSetting expected;
    } cases[] = {
        {ItemMetric, {2, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0}},
        {ItemImperialUk, {0, 0, 0, 0, 1, 0, 2, 0, 1, 0, 0, 0, 1, 1, 1, 0}},
        {ItemImperialUs, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        UnitsSetting = {};
        UnitsSetting.airspeed = 7;  // a value no preset leaves
        Act(PageFlightUnitSystem, c.item);
        EXPECT_EQ(memcmp(&UnitsSetting, &c.expected, sizeof UnitsSetting), 0);
        // Stored: the variable comes back from the store.
        UnitsSetting = {};
        ASSERT_EQ(GetSS(0x4001, 0), 0);
        EXPECT_EQ(memcmp(&UnitsSetting, &c.expected, sizeof UnitsSetting), 0);
    }
    // A single unit item changes only its field.
    Act(PageAirspeedUnit, ItemMph);
    EXPECT_EQ(UnitsSetting.airspeed, 1);
    EXPECT_EQ(UnitsSetting.distance, 1);
    Act(PageDistanceUnit, ItemStatuteMiles);
    EXPECT_EQ(UnitsSetting.distance, 2);
}

TEST_F(MenuActionTest, ComPortMovesFromItsOldOwner) {
    TDevicePort& gps = DevicePort[1];
    TDevicePort& sl30 = DevicePort[3];
    sl30.flags = PortConnected;
    sl30.comPort = 1;
    gps.flags = 0;
    Act(PageGpsPort, ItemCom1);  // GPS: Com 1
    EXPECT_TRUE(gps.flags & PortConnected);
    EXPECT_EQ(gps.comPort, 1);
    EXPECT_FALSE(sl30.flags & PortConnected);
    // Both records were stored.
    gps = {};
    sl30.flags = PortConnected;
    ASSERT_EQ(GetSS(0x4018, 2), 0);
    ASSERT_EQ(GetSS(0x4018, 4), 0);
    EXPECT_TRUE(gps.flags & PortConnected);
    EXPECT_FALSE(sl30.flags & PortConnected);
    // A device on the other port keeps its connection.
    DevicePort[6].flags = PortConnected;
    DevicePort[6].comPort = 2;
    Act(PageSl30Port, ItemCom1);  // SL30 takes COM 1 back from the GPS
    EXPECT_TRUE(sl30.flags & PortConnected);
    EXPECT_FALSE(gps.flags & PortConnected);
    EXPECT_TRUE(DevicePort[6].flags & PortConnected);
    // Baud and protocol of the GPS.
    Act(PageGpsPort, ItemBaud19200);
    Act(PageGpsPort, ItemProtocolArnav);
    EXPECT_EQ(gps.baud, 19200);
    EXPECT_EQ(gps.protocol, 1);
}

TEST_F(MenuActionTest, SensorPagesStoreTheCatalogueCodeForTheChannel) {
    struct Case {
        int page, item;
        uint16_t channel;
        int32_t TEngineGaugeConfig::*type;
        int32_t TEngineGaugeConfig::*used;
        int index;
    } cases[] = {
        {PageOilPressureSensor, ItemSensor4205_07, 0x200, &TEngineGaugeConfig::oilPressType, &TEngineGaugeConfig::oilPressUsed, 1},
        {PageOilPressureSensor, ItemSensor4205_40, 0x200, &TEngineGaugeConfig::oilPressType, &TEngineGaugeConfig::oilPressUsed, 3},
        {PageFuelPressureSensor, ItemSensor4205_45, 0x202, &TEngineGaugeConfig::fuelPressType, &TEngineGaugeConfig::fuelPressUsed, 4},
        {PageOatSensor, ItemSensor4205_42, 0x601, &TEngineGaugeConfig::oatType, &TEngineGaugeConfig::oatUsed, 5},
        {PageManifoldSensor, ItemNotConnected, 0x201, &TEngineGaugeConfig::mapType, &TEngineGaugeConfig::mapUsed, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Act(c.page, c.item);
        const int expectedUsed = c.index >= 0 ? 1 : 0;
        EXPECT_EQ(EngineGaugeConfig.*c.used, expectedUsed);
        if (c.index >= 0) EXPECT_EQ(EngineGaugeConfig.*c.type, c.index);
        // The store holds the catalogue's characteristic and code for the channel.
        const TSensorField* f = FindSensorField(c.channel);
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(ConfigManager.Store()->FetchItem(0x4064, c.channel), 0);
        const uint8_t* s = ConfigManager.m_Sensor;
        if (c.index >= 0) {
            EXPECT_EQ(s[0], SensorTypeCharacteristic(f->list, c.index));
            EXPECT_EQ(s[1], SensorTypeCode(f->list, c.index));
        } else {
            EXPECT_EQ(s[0], 0);
        }
    }
    // Inputs without a catalogue: "Connected" and "Not Connected".
    Act(PageFuelFlowInput, ItemNotConnected);
    EXPECT_EQ(EngineGaugeConfig.fuelFlowUsed, 0);
    Act(PageFuelFlowInput, ItemConnected);
    EXPECT_EQ(EngineGaugeConfig.fuelFlowUsed, 1);
}

TEST_F(MenuActionTest, DemoOnAndOffKeepTheUsersSettings) {
    UnitsSetting.altitude = 1;
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindRuntime | KindSetup), 0);

    DemoOn();
    EXPECT_TRUE(InDemoMode());
    EXPECT_TRUE(Exists("savesetup.dat"));
    EXPECT_TRUE(Exists("demosetup.dat"));  // built from the demo configuration
    EXPECT_TRUE(DevicePort[1].flags & PortConnected);  // GPS on COM 1

    UnitsSetting.altitude = 0;  // changed while the demo runs
    DemoOff();
    EXPECT_FALSE(InDemoMode());
    EXPECT_EQ(UnitsSetting.altitude, 1);
    // The user's files hold the user's settings again.
    UnitsSetting.altitude = 0;
    ASSERT_EQ(LoadSetting(nullptr, KindSetup, 1), 0);
    EXPECT_EQ(UnitsSetting.altitude, 1);
}

TEST_F(MenuActionTest, DemoOffWithoutSavedStateRefusesAndChangesNothing) {
    DemoSetting.marker = DemoMarkerValue;
    UnitsSetting.altitude = 1;
    DemoOff();
    EXPECT_TRUE(InDemoMode());
    EXPECT_EQ(UnitsSetting.altitude, 1);
    EXPECT_EQ(MessageBoxShown, 1);
}

TEST_F(MenuActionTest, ImportNeedsSoundFilesAndExportCopiesThem) {
    const std::string folder = dir.Path() + "/disk";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ChooseFolder(folder);

    // Import from an empty folder: refused, nothing loaded.
    UnitsSetting.altitude = 1;
    ImportConfiguration(1);
    EXPECT_EQ(Message(), "Invalid file path");
    EXPECT_EQ(UnitsSetting.altitude, 1);

    // Export copies both files.
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindRuntime | KindSetup), 0);
    ExportConfiguration(1);
    EXPECT_EQ(Message(), "Exporting configuration done");
    EXPECT_TRUE(Exists(folder + "/setup.dat"));
    EXPECT_TRUE(Exists(folder + "/runtime.dat"));

    // Import of what was exported brings the unit back.
    UnitsSetting.altitude = 0;
    ImportConfiguration(1);
    EXPECT_EQ(Message(), "Importing configuration done");
    EXPECT_EQ(UnitsSetting.altitude, 1);

    // A damaged setup file is refused.
    {
        std::fstream f(folder + "/setup.dat", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(70);
        f.put('\x5A');
    }
    ImportConfiguration(1);
    EXPECT_EQ(Message(), "Invalid file path");

    // No flight data file exists: the export says so.
    ExportFlightData(1);
    EXPECT_EQ(Message(), "Error during exporting flight data");
    // Cancel does nothing.
    MessageText[0] = 0;
    ExportConfiguration(2);
    EXPECT_EQ(Message(), "");
}

TEST_F(MenuActionTest, ChecklistImportIsValidated) {
    const std::string folder = dir.Path() + "/disk";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::ofstream(folder + "/junk.dat") << "not a checklist";
    ChooseFolder(folder);
    SelectDirDialog.Read(SelectDirDialog.currentPath);
    ASSERT_NE(SelectDirDialog.GetSelectedName(), nullptr);
    ImportChecklist(1);
    EXPECT_EQ(Message(), "File is not compatible checklist file");
    EXPECT_FALSE(Exists("checklist.dat"));
    // A whole configuration file of another kind is no checklist either.
    ASSERT_EQ(SaveSetting(nullptr, KindStatistic), 0);
    unlink((folder + "/junk.dat").c_str());
    ASSERT_EQ(rename("statistic.dat", (folder + "/junk.dat").c_str()), 0);
    SelectDirDialog.Read(SelectDirDialog.currentPath);
    ImportChecklist(1);
    EXPECT_EQ(Message(), "File is not compatible checklist file");
    EXPECT_FALSE(Exists("checklist.dat"));

    // A checklist file written by the instrument itself is taken.
    ChecklistHeader.word0 = 1;
    ASSERT_EQ(SetSS(0x3000, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindChecklist), 0);
    ASSERT_EQ(rename("checklist.dat", (folder + "/list.dat").c_str()), 0);
    unlink("checklist.bck");
    unlink((folder + "/junk.dat").c_str());
    SelectDirDialog.Read(SelectDirDialog.currentPath);
    ImportChecklist(1);
    EXPECT_EQ(Message(), "Importing checklist done");
    EXPECT_TRUE(Exists("checklist.dat"));
    EXPECT_TRUE(Exists("checklist.bck"));
    EXPECT_TRUE(LoadChecklistFile());
}

TEST_F(MenuActionTest, ChecklistItemWithoutFileSaysSo) {
    Act(PageFlightMain, ItemChecklist);
    EXPECT_EQ(Message(), "Checklist file is not found!");
}

TEST_F(MenuActionTest, DataSharingAndSwitchesStoreTheirRecords) {
    ScreenType = 1;
    Act(PageDataSharing, ItemSharingHigh);
    EXPECT_EQ(DataSharingSetting[0].priority, 2);
    ScreenType = 2;
    Act(PageDataSharing, ItemSharingLow);
    EXPECT_EQ(DataSharingSetting[1].priority, 1);
    // "<---" on page 22 only ends the data-sharing page.
    DataSharingShown = 1;
    Act(PageDataSharing, ItemBack);
    EXPECT_EQ(DataSharingShown, 0);

    // Compass mounting codes.
    for (int item : {ItemMountXFrontYLeft, ItemMountXFrontYDown, ItemMountXUpYRight}) {
        Act(PageCompassMounting, item);
        EXPECT_EQ(CompassSetting.mounting, 1 + 8 * (item - ItemMountXFrontYLeft));
    }
    // Frequency step and VFR code.
    Act(PageFrequencyStep, ItemStep25);
    EXPECT_EQ(FreqStepSetting.step, 1);
    Act(PageXpdrSettings, ItemVfr1200);
    EXPECT_EQ(VfrCodeSetting.code, 0x1200);
}

TEST_F(MenuActionTest, RangeLimitsOpenTheChannelsLimitEditors) {
    EngineGaugeConfig.tankUsed = 0;
    Act(PageEngineRangeLimits, ItemLimitsLeftTank);
    EXPECT_EQ(Message(), "Left/Total tank is not used!");
    CloseMessageBox();
    struct Case {
        int item, page, channel;
    } cases[] = {{ItemLimitsLeftTank, PageLeftTankLimits, 0x401}, {ItemLimitsVoltage1, PageVoltageLimits, 0x900},
                 {ItemLimitsCurrent3, PageCurrentLimits, 0xA05}};  // the items without a page of their own
    EngineGaugeConfig.tankUsed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Act(PageEngineRangeLimits, c.item);
        EXPECT_EQ(MainMenu.CurrentPage(), c.page);
        EXPECT_EQ(LimitChannel, c.channel);
        // "Range" opens the editor of that channel's range.
        Act(c.page, ItemLimitRange);
        EXPECT_EQ(LimitEdit.channel, c.channel);
        CloseMessageBox();
    }
}
