// Damaged configuration files met at start-up by a headless dashview: the error box
// tells the user, and the files stay on disk as they were until the user confirms.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config_check.h"
#include "configmanager.h"
#include "file_io.h"
#include "frame_text.h"
#include "headless_run.h"
#include "page_assets.h"
#include "settingvars.h"

namespace {

class DamagedRun : public RunFolderTest {};

enum TDamage { Whole, Missing, Garbage, Truncated, Flipped };

void Damage(const std::string& path, TDamage how) {
    std::vector<uint8_t> b = FileBytes(path);
    switch (how) {
        case Whole: return;
        case Missing: remove(path.c_str()); return;
        case Garbage:
            for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(0x5A ^ (i * 7));
            break;
        case Truncated: b.resize(b.size() - 5); break;  // into the last packet
        case Flipped: b[b.size() / 2] ^= 0x40; break;
    }
    WriteByteFile(path, b);
}

// The first frame with anything on it (the screen is cleared before the first paint).
const FGBitmap* FirstPainted(HeadlessRun& run) {
    for (const auto& f : run.Frames())
        for (int i = 0; i < f->width * f->height; ++i)
            if (f->pixels[i] & 0xFFFFFF) return f.get();
    return nullptr;
}

}  // namespace

// A damaged file whose twin is missing or damaged too: the error box on the first frame
// names what was lost, and the files stay as they were on disk (the quit saves the
// runtime file) until the user confirms; after "Confirm" they are written again.
TEST_F(DamagedRun, DamagedFilesAreReportedAndKeptUntilConfirmed) {
    LoadPageAssets();
    const std::string measure = "Can not read measure and/or instrument setting, please";
    const std::string runtime = "Can not read runtime configuration, default is used";
    // Confirm, then the main menu's "Enter Setup", "Yes", and "Save and Exit".
    const std::string saveSetup = "wait 1500\n2\nwait 300\n" + std::string(EnterSetupKeys) + "2\nwait 300\n4\nwait 600\n";
    struct Row {
        const char* name;
        const char* base;
        TDamage dat, bck;
        std::string line;     // the box's line; empty: no box
        std::string confirm;  // keys that confirm and save the kind; empty: not tried
    } rows[] = {
        {"SetupGarbage", "setup", Garbage, Missing, measure, saveSetup},
        {"SetupTruncated", "setup", Truncated, Missing, measure, ""},
        {"SetupFlippedTwinFlipped", "setup", Flipped, Flipped, measure, ""},
        {"SetupFlippedTwinWhole", "setup", Flipped, Whole, "", ""},
        {"RuntimeGarbage", "runtime", Garbage, Missing, runtime, "wait 1500\n2\nwait 300\n"},
        {"RuntimeTruncatedTwinGarbage", "runtime", Truncated, Garbage, runtime, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        remove(Path("setup.dat").c_str());
        remove(Path("setup.bck").c_str());
        remove(Path("runtime.dat").c_str());
        remove(Path("runtime.bck").c_str());
        // Knots and an altitude bug: sections of both kinds in their files.
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        UnitsSetting.airspeed = 0;
        ASSERT_EQ(SetSS(0x4001, 0), 0);
        DisplaySetting.altBug = 1234;
        ASSERT_EQ(SaveSetting(nullptr, KindSetup | KindRuntime), 0);
        ConfigManager.Release();
        const std::string dat = Path((std::string(r.base) + ".dat").c_str());
        const std::string bck = Path((std::string(r.base) + ".bck").c_str());
        Damage(dat, r.dat);
        Damage(bck, r.bck);
        const std::vector<uint8_t> datBefore = FileBytes(dat), bckBefore = FileBytes(bck);

        ASSERT_TRUE(run.Run("wait 200\n")) << run.Output();
        const FGBitmap* painted = FirstPainted(run);
        ASSERT_NE(painted, nullptr);
        const FGBitmap& first = *painted;
        if (r.line.empty()) {
            EXPECT_NE(PageAt(first, 150, 130), 0xF20000u) << "no error box";
            continue;
        }
        EXPECT_EQ(PageAt(first, 150, 130), 0xF20000u) << "the error box\n" << run.Output();
        EXPECT_TRUE(TextShown(first, "Error reading configuration"));
        EXPECT_TRUE(TextShown(first, r.line.c_str()));
        EXPECT_EQ(FileBytes(dat), datBefore) << "the damaged file is kept";
        EXPECT_EQ(FileBytes(bck), bckBefore);
        if (r.confirm.empty()) continue;
        ASSERT_TRUE(run.Run(r.confirm)) << run.Output();
        EXPECT_EQ(PageAt(*run.Frames().back(), 150, 130) == 0xF20000u, false) << "confirmed";
        EXPECT_EQ(CheckConfigFile(dat, std::string(r.base) == "setup" ? 0x4000 : 0x2000), "") << run.Output();
    }
}
