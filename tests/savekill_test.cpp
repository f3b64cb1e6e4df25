// Settings saved in a loop by a child process that is killed at random moments: after
// every kill each kind loads whole from its files, old content or new, never defaults or a mix.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "config_check.h"
#include "config_tempdir.h"
#include "configsetting.h"
#include "file_io.h"

namespace {

// Settings of every kind; the larger ones widen the moments a kill can hit.
struct TItem {
    uint16_t ssid, par;
    uint32_t length;
};
const TItem Items[] = {
    {0x1001, 0, 8},    {0x1002, 3, 600},  {0x1003, 0, 4},   {0x2001, 0, 4},   {0x2002, 1, 1500},
    {0x2003, 0, 16},   {0x3001, 0, 64},   {0x3001, 1, 64},  {0x3001, 2, 64},  {0x4001, 0, 32},
    {0x4002, 0, 2000}, {0x4003, 7, 4},    {0x4004, 0, 900}, {0x5001, 0, 256}, {0x5002, 0, 12},
};
constexpr int ItemCount = sizeof Items / sizeof Items[0];
constexpr uint32_t AllKinds = 31;
const std::vector<uint8_t> Zeros(2048, 0);

std::vector<TSettingDefault> DefaultTable() {
    std::vector<TSettingDefault> t;
    for (const TItem& it : Items) t.push_back({static_cast<int16_t>(it.ssid), it.par, Zeros.data(), it.length});
    t.push_back({0, 0, nullptr, 0});
    return t;
}

// The content of an item in version v: v in the first word, then a pattern of v and the item.
std::vector<uint8_t> Content(int item, uint32_t v) {
    std::vector<uint8_t> d(Items[item].length);
    for (size_t i = 0; i < d.size(); ++i) d[i] = static_cast<uint8_t>(v * 31 + item * 7 + i);
    memcpy(d.data(), &v, 4);
    return d;
}

int KindIndex(uint16_t ssid) { return (ssid >> 12) - 1; }

// Child: loads the files, then saves every kind with versions from `first` on until killed.
[[noreturn]] void SaveLoop(const std::string& prefix, uint32_t first, int readyFd) {
    const std::vector<TSettingDefault> table = DefaultTable();
    TConfigSetting store(table.data());
    int rc = store.LoadConfig(prefix.c_str(), AllKinds, 0) == 0 ? 0 : 2;
    const char ready = 'r';
    if (write(readyFd, &ready, 1) != 1) rc = 3;
    for (uint32_t v = first; rc == 0; ++v) {
        for (int i = 0; i < ItemCount; ++i) {
            const std::vector<uint8_t> d = Content(i, v);
            if (store.SetSectionData(Items[i].ssid, Items[i].par, d.data(), Items[i].length) != 0) rc = 4;
        }
        if (store.SaveConfig(prefix.c_str(), AllKinds) != 0) rc = 5;
    }
    _exit(rc);
}

// Loads the files in a fresh store: the version of each kind, or a failure text.
std::string LoadVersions(const std::string& prefix, uint32_t versions[ConfigKindCount]) {
    const std::vector<TSettingDefault> table = DefaultTable();
    TConfigSetting store(table.data());
    if (store.LoadConfig(prefix.c_str(), AllKinds, 0) != 0) return "load failed";
    for (int k = 0; k < ConfigKindCount; ++k) versions[k] = 0;
    std::vector<uint8_t> got(2048);
    for (int i = 0; i < ItemCount; ++i) {
        const TItem& it = Items[i];
        const int r = store.GetSectionData(it.ssid, it.par, got.data(), it.length);
        if (r != 0) return "item " + std::to_string(i) + " answers " + std::to_string(r) + " (1 = default)";
        uint32_t v;
        memcpy(&v, got.data(), 4);
        uint32_t& kindVersion = versions[KindIndex(it.ssid)];
        if (kindVersion == 0) kindVersion = v;
        if (v != kindVersion)
            return "item " + std::to_string(i) + " has version " + std::to_string(v) + ", its kind " +
                   std::to_string(kindVersion);
        if (std::vector<uint8_t>(got.begin(), got.begin() + it.length) != Content(i, v))
            return "item " + std::to_string(i) + " damaged";
    }
    return "";
}

uint32_t SeedFromEnv(uint32_t fallback) {
    const char* s = getenv("SAVEKILL_SEED");
    return s && *s ? static_cast<uint32_t>(strtoul(s, nullptr, 10)) : fallback;
}

}  // namespace

TEST(SaveKill, EveryKindLoadsOldOrNewAfterAKillAndTheBackupMendsADamagedDat) {
    ConfigTempDir dir;
    const std::string prefix = dir.Path() + "/";
    const uint32_t seed = SeedFromEnv(20261209);
    SCOPED_TRACE("replay with SAVEKILL_SEED=" + std::to_string(seed));
    std::mt19937 rng(seed);

    // Version 1 of everything, saved whole.
    {
        const std::vector<TSettingDefault> table = DefaultTable();
        TConfigSetting store(table.data());
        ASSERT_EQ(store.LoadConfig(prefix.c_str(), AllKinds, 0), 0);
        for (int i = 0; i < ItemCount; ++i)
            ASSERT_EQ(store.SetSectionData(Items[i].ssid, Items[i].par, Content(i, 1).data(), Items[i].length), 0);
        ASSERT_EQ(store.SaveConfig(prefix.c_str(), AllKinds), 0);
    }
    uint32_t known[ConfigKindCount] = {1, 1, 1, 1, 1};
    uint32_t next = 2;
    int kills = 0, mended = 0, advanced = 0;
    const int Rounds = 600;
    for (int round = 0; round < Rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            SaveLoop(prefix, next, ready[1]);
        }
        close(ready[1]);
        // Mostly while saving; now and then while the child still loads (it may copy a .bck).
        if (rng() % 8 != 0) {
            char c;
            ASSERT_EQ(read(ready[0], &c, 1), 1);
        }
        close(ready[0]);
        usleep(rng() % 15000);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself with " << WEXITSTATUS(status);
        ++kills;

        ASSERT_EQ(CheckConfigFiles(prefix), "");
        uint32_t v[ConfigKindCount];
        const std::string r = LoadVersions(prefix, v);
        ASSERT_EQ(r, "");
        uint32_t highest = 0;
        for (int k = 0; k < ConfigKindCount; ++k) {
            // Old content or a newer save of the child, never an older one.
            ASSERT_GE(v[k], known[k]) << ConfigKindBase[k];
            ASSERT_LT(v[k], next + 100000) << ConfigKindBase[k];
            if (v[k] > known[k]) ++advanced;
            known[k] = v[k];
            highest = std::max(highest, v[k]);
        }
        next = std::max(next, highest + 1);

        // Every fifth round a byte of a settled .dat is damaged: the .bck supplies the kind whole
        // and replaces the .dat.
        if (round % 5 == 4) {
            const int k = static_cast<int>(rng() % ConfigKindCount);
            const std::string dat = ConfigFileName(prefix.c_str(), ConfigKindBase[k], ".dat");
            const std::string bck = ConfigFileName(prefix.c_str(), ConfigKindBase[k], ".bck");
            std::vector<uint8_t> bytes = FileBytes(dat);
            if (bytes == FileBytes(bck) && bytes.size() > ConfigHeaderSize) {
                const size_t at = ConfigHeaderSize + rng() % (bytes.size() - ConfigHeaderSize);
                bytes[at] ^= static_cast<uint8_t>(1 + rng() % 255);
                WriteByteFile(dat, bytes);
                ASSERT_NE(CheckConfigFile(dat, ConfigKindOfBit(k)), "");
                ASSERT_EQ(LoadVersions(prefix, v), "") << "damaged at " << at;
                EXPECT_EQ(v[k], known[k]);
                EXPECT_EQ(FileBytes(dat), FileBytes(bck)) << "the .dat was not replaced by the .bck";
                ++mended;
            }
        }
    }
    EXPECT_EQ(kills, Rounds);
    // A kill leaves the temporary it was writing; one good save clears them all.
    {
        const std::vector<TSettingDefault> table = DefaultTable();
        TConfigSetting store(table.data());
        ASSERT_EQ(store.LoadConfig(prefix.c_str(), AllKinds, 0), 0);
        ASSERT_EQ(store.SaveConfig(prefix.c_str(), AllKinds), 0);
    }
    EXPECT_EQ(TemporariesIn(dir.Path()), 0);
    EXPECT_GT(mended, Rounds / 10);
    // The kills did not all land before the first save ended (how many saves a kill lets
    // finish depends on the machine's speed: a slow sanitizer build finishes fewer).
    EXPECT_GT(advanced, Rounds / 20);
    printf("save-kill: %d kills, %d kind versions advanced, %d damaged .dat files mended\n", kills, advanced,
           mended);
}
