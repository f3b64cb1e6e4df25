// Setup entered and left through the bezel keys of a headless dashview: the main menu's
// "Enter Setup" with "Yes", a changed unit system, "Only Exit" and "Save and Exit".
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "configfile.h"
#include "fgbitmap.h"

namespace {

const std::string Program = std::string(RUN_DIR) + "/dashview";

// The menu's "Enter Setup" (sixth item of the flight screen's main menu), then "Yes".
const char* const EnterSetup = "wait 1500\n1\nwait 200\nw\nw\nw\nw\nw\nwait 200\n1\nwait 300\n4\nwait 600\n";
// In setup: the menu, "Units", "Imperial (UK)".
const char* const ImperialUnits = "1\nwait 200\n1\nwait 300\nw\nw\nwait 200\n1\nwait 600\n";

class SetupRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (access(Program.c_str(), X_OK) != 0) GTEST_SKIP() << "dashview is not built";
        const std::string cmd = "cp -r '" RUN_DIR "/Data' '" + dir.Path() + "/' && mkdir '" + dir.Path() + "/snap'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
    // Runs the key script headless; the frames in snap/, in order.
    void Run(const std::string& keys) {
        std::ofstream(dir.Path() + "/keys.txt") << keys << "wait 800\nquit\n";
        const std::string cmd = "cd '" + dir.Path() + "' && env -u DISPLAY HOME='" + dir.Path() +
                                "' DASHVIEW_HEADLESS=1 DASHVIEW_KEYS=keys.txt DASHVIEW_SNAPSHOT=snap timeout 90 '" +
                                Program + "' > output.txt 2>&1";
        ASSERT_EQ(system(cmd.c_str()), 0);
        std::vector<std::string> names;
        if (DIR* d = opendir((dir.Path() + "/snap").c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name).find(".bmp") != std::string::npos) names.push_back(e->d_name);
            closedir(d);
        }
        std::sort(names.begin(), names.end());
        // The last frame follows the main window's closing.
        if (!names.empty()) names.pop_back();
        for (const std::string& n : names)
            frames.emplace_back(new FGBitmap((dir.Path() + "/snap/" + n).c_str()));
    }
    // Pixel of the page (the frame holds it 60 rows down).
    static uint32_t At(const FGBitmap& f, int x, int y) { return f.pixels[(y + 60) * f.width + x] & 0xFFFFFF; }
    static bool SetupTag(const FGBitmap& f) { return At(f, 785, 26) == 0xF20000; }
    // The caption button of key '3' ("Only Exit" in setup; none on the flight screen without radios).
    static bool ThirdCaption(const FGBitmap& f) {
        int lit = 0;
        for (int x = 250; x < 330; x += 4) lit += At(f, x, 468) != 0;
        return lit > 10;
    }
    // The vertical-speed scale's numbers, which the unit system changes.
    static std::vector<uint32_t> ScaleNumbers(const FGBitmap& f) {
        std::vector<uint32_t> v;
        for (int y = 80; y < 140; ++y)
            for (int x = 730; x < 760; ++x) v.push_back(At(f, x, y));
        return v;
    }
    // The screen just before setup was entered (after the start-up frames).
    const FGBitmap* BeforeSetup() const {
        const FGBitmap* before = nullptr;
        for (const auto& f : frames) {
            if (SetupTag(*f)) break;
            before = f.get();
        }
        return before;
    }
    bool Exists(const char* name) const { return access((dir.Path() + "/" + name).c_str(), F_OK) == 0; }
    // Sections of the SSID in setup.dat.
    int SetupSections(uint16_t ssid) const {
        const std::string name = dir.Path() + "/setup.dat";
        TConfig file(name.c_str());
        if (file.OpenConfig() != 0) return -1;
        SetupSectPacket h;
        int n = 0;
        for (int r = file.GetFirstSection(&h, nullptr); r == 0; r = file.GetNextSection(&h, nullptr)) n += h.SSID == ssid;
        return n;
    }

    ConfigTempDir dir;
    std::vector<std::unique_ptr<FGBitmap>> frames;
};

}  // namespace

TEST_F(SetupRun, EnterWithYesThenOnlyExitRestoresTheChangedUnits) {
    Run(std::string(EnterSetup) + ImperialUnits + "3\nwait 300\n4\n");
    ASSERT_GE(frames.size(), 4u);
    ASSERT_NE(BeforeSetup(), nullptr);
    const FGBitmap& first = *BeforeSetup();
    const FGBitmap& last = *frames.back();
    ASSERT_EQ(first.width, 800);
    EXPECT_FALSE(SetupTag(first));
    EXPECT_FALSE(ThirdCaption(first));
    bool tagged = false, changed = false;
    for (const auto& f : frames) {
        if (SetupTag(*f) && ThirdCaption(*f)) tagged = true;
        if (SetupTag(*f) && ScaleNumbers(*f) != ScaleNumbers(first)) changed = true;
    }
    EXPECT_TRUE(tagged);   // the red "SETUP MODE" tag with the setup captions
    EXPECT_TRUE(changed);  // the unit system changed while in setup
    EXPECT_FALSE(SetupTag(last));
    EXPECT_FALSE(ThirdCaption(last));
    EXPECT_EQ(ScaleNumbers(last), ScaleNumbers(first));
    // The setup file is the first start's: the units were never saved.
    EXPECT_EQ(SetupSections(0x4001), 0);
    EXPECT_EQ(SetupSections(0x4010), 1);
}

TEST_F(SetupRun, SaveAndExitWritesTheSetupFile) {
    Run(std::string(EnterSetup) + ImperialUnits + "2\nwait 300\n4\n");
    ASSERT_GE(frames.size(), 2u);
    ASSERT_NE(BeforeSetup(), nullptr);
    EXPECT_TRUE(Exists("setup.dat"));
    EXPECT_TRUE(Exists("setup.bck"));
    EXPECT_EQ(SetupSections(0x4001), 1);
    EXPECT_FALSE(SetupTag(*frames.back()));
    // The saved units stay after leaving setup.
    EXPECT_NE(ScaleNumbers(*frames.back()), ScaleNumbers(*BeforeSetup()));
}
