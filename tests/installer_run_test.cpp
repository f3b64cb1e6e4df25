// What the installer does through the bezel keys of a headless dashview lands in the
// files as shown.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config_check.h"
#include "configfile.h"
#include "configmanager.h"
#include "file_io.h"
#include "headless_run.h"
#include "lebytes.h"
#include "settingvars.h"

namespace {

// The menu item n rows down, selected.
std::string Down(int n) {
    std::string keys;
    for (int i = 0; i < n; ++i) keys += "w\n";
    return keys + "wait 200\n1\nwait 300\n";
}

class InstallerRun : public RunFolderTest {};

}  // namespace

TEST_F(InstallerRun, TankAlarmMinimumLeftWithOkKeepsTheCalibration) {
    // A calibrated total tank on its sensor.
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    EngineGaugeConfig.tankType = 1;
    EngineGaugeConfig.tankUsed = 1;
    ASSERT_EQ(SetSS(0x4064, 0xC15), 0);
    TankSetting[0].calibrated = 1;
    TankSetting[0].steps = 5;
    for (int i = 0; i < 5; ++i) TankSetting[0].point[i] = TTankPoint{};
    ASSERT_EQ(SetSS(0x4011, 0), 0);
    ASSERT_EQ(SetSS(0x4065, 0x401), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    ConfigManager.Release();
    const std::vector<uint8_t> before = FileBytes(Path("setup.dat"));
    const std::vector<uint8_t> tankBefore = SectionData(before, 0x4011, 0);
    const std::vector<uint8_t> limitBefore = SectionData(before, 0x4065, 0x401);
    ASSERT_EQ(tankBefore.size(), 76u);
    ASSERT_EQ(tankBefore[73], 1);
    ASSERT_FALSE(limitBefore.empty());

    // Setup, the engine screen, "Range and Limits", the tank, "Alarm min", Set; Save and Exit.
    ASSERT_TRUE(run.Run("wait 1500\n" + std::string(EnterSetupKeys) + "5\nwait 600\n1\nwait 300\n" + Down(2) + Down(8) + Down(2) +
                        "5\nwait 300\n2\nwait 300\n4\nwait 600\n"))
        << run.Output();
    const std::vector<uint8_t> after = FileBytes(Path("setup.dat"));
    EXPECT_EQ(SectionData(after, 0x4011, 0), tankBefore);
    EXPECT_EQ(SectionData(after, 0x4065, 0x401), limitBefore);

    // Restarted on the engine screen: the left tank's gauge carries no yellow CAL mark.
    ASSERT_TRUE(run.Run("wait 1500\n")) << run.Output();
    ASSERT_FALSE(run.Frames().empty());
    const FGBitmap& last = *run.Frames().back();
    int cal = 0;
    for (int y = 250; y < 266; ++y)
        for (int x = 330; x < 380; ++x) cal += PageAt(last, x, y) == 0xFCE000;
    EXPECT_EQ(cal, 0);
    // The right tank was never calibrated: its mark is there.
    int right = 0;
    for (int y = 250; y < 266; ++y)
        for (int x = 430; x < 480; ++x) right += PageAt(last, x, y) == 0xFCE000;
    EXPECT_GT(right, 100);
}

