// Setup entered and left through the bezel keys of a headless dashview: the main menu's
// "Enter Setup" with "Yes", a changed unit system, "Only Exit" and "Save and Exit".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configfile.h"
#include "headless_run.h"

namespace {

// The menu's "Enter Setup" after the start.
const std::string EnterSetup = "wait 1500\n" + std::string(EnterSetupKeys);
// In setup: the menu, "Units", "Imperial (UK)".
const char* const ImperialUnits = "1\nwait 200\n1\nwait 300\nw\nw\nwait 200\n1\nwait 600\n";

class SetupRun : public RunFolderTest {
protected:
    // Runs the key script headless; the frames in order.
    void Run(const std::string& keys) { ASSERT_TRUE(run.Run(keys)) << run.Output(); }
    static bool SetupTag(const FGBitmap& f) { return PageAt(f, 785, 26) == 0xF20000; }
    // The caption button of key '3' ("Only Exit" in setup; none on the flight screen without radios).
    static bool ThirdCaption(const FGBitmap& f) {
        int lit = 0;
        for (int x = 250; x < 330; x += 4) lit += PageAt(f, x, 468) != 0;
        return lit > 10;
    }
    // The vertical-speed scale's numbers, which the unit system changes.
    static std::vector<uint32_t> ScaleNumbers(const FGBitmap& f) {
        std::vector<uint32_t> v;
        for (int y = 80; y < 140; ++y)
            for (int x = 730; x < 760; ++x) v.push_back(PageAt(f, x, y));
        return v;
    }
    // The screen just before setup was entered (after the start-up frames).
    const FGBitmap* BeforeSetup() {
        const FGBitmap* before = nullptr;
        for (const auto& f : run.Frames()) {
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
};

}  // namespace

TEST_F(SetupRun, EnterWithYesThenOnlyExitRestoresTheChangedUnits) {
    Run(std::string(EnterSetup) + ImperialUnits + "3\nwait 300\n4\n");
    ASSERT_GE(run.Frames().size(), 4u);
    ASSERT_NE(BeforeSetup(), nullptr);
    const FGBitmap& first = *BeforeSetup();
    const FGBitmap& last = *run.Frames().back();
    ASSERT_EQ(first.width, 800);
    EXPECT_FALSE(SetupTag(first));
    EXPECT_FALSE(ThirdCaption(first));
    bool tagged = false, changed = false;
    for (const auto& f : run.Frames()) {
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
    ASSERT_GE(run.Frames().size(), 2u);
    ASSERT_NE(BeforeSetup(), nullptr);
    EXPECT_TRUE(Exists("setup.dat"));
    EXPECT_TRUE(Exists("setup.bck"));
    EXPECT_EQ(SetupSections(0x4001), 1);
    EXPECT_FALSE(SetupTag(*run.Frames().back()));
    // The saved units stay after leaving setup.
    EXPECT_NE(ScaleNumbers(*run.Frames().back()), ScaleNumbers(*BeforeSetup()));
}
