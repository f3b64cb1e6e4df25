// "Save and Exit" of setup on a full disk, a failing flush and a read-only folder: the
// failure is shown in a message box, setup stays on, the old files stay byte for byte, the
// changed settings stay in memory, and the save goes through once the disk takes it again.
// A runtime save that fails is told once on the screen.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "config_check.h"
#include "file_io.h"
#include "frame_text.h"
#include "headless_run.h"
#include "page_assets.h"
#include "setupentry.h"
#include "settingvars.h"
#include "softkey_fixture.h"

namespace {

// The disk takes the first bytes of each file, then nothing more.
size_t FullDiskWrite(const char*, int fd, const void* d, size_t n) {
    const off_t at = lseek(fd, 0, SEEK_CUR);
    const size_t room = at < 100 ? static_cast<size_t>(100 - at) : 0;
    return WriteFully(fd, d, std::min(n, room));
}
// Every byte is taken, but the flush to the disk fails.
int FailingClose(const char*, int fd) {
    close(fd);
    return -1;
}

enum TFault { FullDisk, FlushFails, ReadOnlyFolder };

std::map<std::string, std::vector<uint8_t>> ConfigFiles() {
    std::map<std::string, std::vector<uint8_t>> files;
    if (DIR* d = opendir(".")) {
        while (dirent* e = readdir(d)) {
            struct stat st;
            if (stat(e->d_name, &st) == 0 && S_ISREG(st.st_mode)) files[e->d_name] = FileBytes(e->d_name);
        }
        closedir(d);
    }
    return files;
}

class SaveFailure : public SoftKeyFixture, public ::testing::WithParamInterface<TFault> {
protected:
    void TearDown() override {
        ConfigWriter = DefaultConfigWriter;
        Heal();
        SoftKeyFixture::TearDown();
    }
    void Break() {
        switch (GetParam()) {
            case FullDisk: ConfigWriter.Write = FullDiskWrite; break;
            case FlushFails: ConfigWriter.Close = FailingClose; break;
            case ReadOnlyFolder:
                ASSERT_EQ(chmod(".", 0555), 0);
                // Permissions do not stop root: the save runs as an ordinary user.
                if (geteuid() == 0) ASSERT_EQ(seteuid(NobodyId), 0);
                break;
        }
    }
    void Heal() {
        ConfigWriter = DefaultConfigWriter;
        if (getuid() == 0) seteuid(0);
        chmod(".", 0755);
    }
    static constexpr uid_t NobodyId = 65534;
};

}  // namespace

TEST_P(SaveFailure, SaveAndExitShowsTheFailureAndLosesNothing) {
    // Settings saved once: the old files.
    const int16_t old = UnitsSetting.baro;
    const int16_t changed = static_cast<int16_t>((old + 1) % 3);
    ASSERT_EQ(SaveSetting(nullptr, KindStatistic | KindRuntime | KindSetup), 0);
    const auto before = ConfigFiles();
    ASSERT_TRUE(before.count("setup.dat"));

    enterToSetup(1);
    PressKeys("4");
    ASSERT_EQ(SetupModeActive, 1);
    UnitsSetting.baro = changed;
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    Break();
    PressKeys("2");  // "Save and Exit"
    EXPECT_EQ(ShownMessage(), "Are you sure you want to save configuration and exit setup?");
    PressKeys("4");

    EXPECT_EQ(SetupModeActive, 1);
    EXPECT_EQ(ShownMessage(), "Configuration was not saved! Setup stays on.");
    EXPECT_EQ(UnitsSetting.baro, changed) << "the change was dropped from memory";
    Heal();
    const auto after = ConfigFiles();
    EXPECT_EQ(after.size(), before.size()) << "a temporary was left behind";
    for (const auto& f : before) EXPECT_TRUE(after.count(f.first) && after.at(f.first) == f.second) << f.first;
    EXPECT_EQ(CheckConfigFiles(""), "");

    // The message goes with its key; the next save goes through.
    PressKeys("5");
    EXPECT_EQ(MessageBoxShown, 0);
    PressKeys("24");
    EXPECT_EQ(SetupModeActive, 0);
    EXPECT_EQ(CheckConfigFiles(""), "");
    UnitsSetting.baro = old;
    ASSERT_EQ(LoadSetting(nullptr, KindSetup, 1), 0);
    EXPECT_EQ(UnitsSetting.baro, changed);
}

// The QNH set with the right knob in the running program: the frame tells once that it was
// not stored, the quit's failure goes to the console, and the files stay sound.
TEST_P(SaveFailure, RuntimeSaveIsToldOnTheFrameOnce) {
    LoadPageAssets();
    ASSERT_EQ(SaveSetting(nullptr, KindStatistic | KindRuntime | KindSetup), 0);
    HeadlessRun run(dir.Path());
    // Its disk as the kernel tells the program's own saves: full at the first write, or
    // failing the first flush, of a runtime file (room again afterwards), or a folder that
    // takes no new file.
    run.launcher = {TEST_HELPER_DIR "/save_fault",
                    GetParam() == FullDisk ? "full-disk" : GetParam() == FlushFails ? "flush-fails" : "read-only"};
    // QNH up and "Set"; "Confirm"; once more.
    ASSERT_TRUE(run.Run("wait 2500\nw\nwait 200\nw\nwait 200\n1\nwait 800\n5\nwait 300\nw\nwait 200\n1\nwait 800\n"));
    auto shown = [](const auto& f) { return TextShown(*f, "Setting could not be stored!"); };
    ASSERT_FALSE(run.Frames().empty());
    EXPECT_TRUE(std::any_of(run.Frames().begin(), run.Frames().end(), shown));
    EXPECT_FALSE(shown(run.Frames().back())) << "told again";
    EXPECT_EQ(run.Output().find("could not be stored") != std::string::npos, GetParam() == ReadOnlyFolder);
    Heal();
    EXPECT_EQ(TemporariesIn("."), 0) << "a temporary was left behind";
    EXPECT_EQ(CheckConfigFiles(""), "");
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFailure, ::testing::Values(FullDisk, FlushFails, ReadOnlyFolder),
                         [](const ::testing::TestParamInfo<TFault>& i) {
                             return std::string(i.param == FullDisk     ? "FullDisk"
                                                : i.param == FlushFails ? "FlushFails"
                                                                        : "ReadOnlyFolder");
                         });
