#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "config_tempdir.h"
#include "configsetting.h"

namespace {
const uint8_t Default4002[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const uint8_t Default4003[80] = {0x33};
const uint8_t Default1000[8] = {7};
const TSettingDefault Defaults[] = {
    {0x4003, 0, Default4003, 80},
    {0x4002, 0, Default4002, 16},
    {0x1000, 0x300, Default1000, 8},
    {0x4002, 0, Default4003, 16},  // duplicate row
    {0, 0, nullptr, 0},
};

// A store in a temporary working directory, with a settable clock and process id.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.SetClock([this] { return now; });
        store.SetProcessId(100);
        store.SetSleep([this](uint32_t) { ++sleeps; });
    }
    void Load() { ASSERT_EQ(store.LoadConfig("", 31, 0), 0); }  // no files: defaults

    ConfigTempDir dir;
    uint32_t now = 1000000;
    int sleeps = 0;
    TConfigSetting store{Defaults};
};
}  // namespace

TEST(SharedMemoryBlock, HeaderAndSegments) {
    TSharedMemoryBlock b;
    EXPECT_EQ(b.AddSegment(8, 1, 0), -1);
    EXPECT_EQ(b.FreeSysResource(), -1);
    ASSERT_EQ(b.InitSysResource(ShmConfKey, 4096, nullptr), 0);
    const uint8_t* h = b.Base();
    EXPECT_EQ(CfgGet32(h + ShmHdrMagic), ShmBlockMagic);
    EXPECT_EQ(CfgGet32(h + ShmHdrType), 512u);
    EXPECT_EQ(CfgGet32(h + ShmHdrSize), 4096u);
    EXPECT_EQ(CfgGet32(h + ShmHdrHeaderSize), 312u);  // 16 * 16 + 52 rounded up to 8
    EXPECT_EQ(CfgGet32(h + ShmHdrMaxSegments), 16u);
    EXPECT_EQ(b.AddSegment(0, 1, 0), -2);
    ASSERT_EQ(b.AddSegment(5, 600, 9), 0);
    ASSERT_EQ(b.AddSegment(20, 601, 0), 0);
    TShmSegmentRow row;
    ASSERT_EQ(b.GetSegmentInfo(600, &row), 0);
    EXPECT_EQ(row.offset, 312u);
    EXPECT_EQ(row.attribute, 9u);
    ASSERT_EQ(b.GetSegmentInfo(601, &row), 0);
    EXPECT_EQ(row.offset, 320u);  // the next free offset is rounded up to 8
    EXPECT_EQ(CfgGet32(h + ShmHdrNextFree), 344u);
    EXPECT_EQ(b.GetSegmentInfo(602, &row), -3);
    EXPECT_EQ(b.AddSegment(4096 - 344, 602, 0), -4);  // would reach the block size
    for (uint32_t t = 602; t < 616; ++t) ASSERT_EQ(b.AddSegment(8, t, 0), 0);
    EXPECT_EQ(b.AddSegment(8, 700, 0), -3);
    EXPECT_EQ(b.FreeSysResource(), 0);
    EXPECT_EQ(b.GetSegmentInfo(600, &row), -1);
}

TEST_F(StoreTest, SectionsAnswerMinusOneUntilLoaded) {
    ASSERT_TRUE(store.IsReady());
    uint8_t buf[16];
    EXPECT_EQ(store.SetSectionData(0x4002, 0, buf, 16), -1);
    EXPECT_EQ(store.LocateSection(0x4002, 0), -1);
    EXPECT_EQ(store.GetSectionData(0x4002, 0, buf, 16), -1);
    Load();
    EXPECT_TRUE(store.IsLoaded());
    EXPECT_EQ(store.LocateSection(0x4002, 0), 1);  // the default, no files here
    EXPECT_EQ(store.SetSectionData(0x4002, 0, buf, 16), 0);
}

TEST_F(StoreTest, LockFreshForFiveSecondsThenTakenOver) {
    for (int write = 0; write < 2; ++write) {
        SCOPED_TRACE(write ? "write lock" : "read lock");
        auto check = [&] { return write ? store.CheckWriteLock() : store.CheckReadLock(); };
        auto lock = [&](int take) { return write ? store.LockWrite(take) : store.LockRead(take); };
        now = 1000000;
        store.SetProcessId(100);
        ASSERT_EQ(lock(1), 0);
        EXPECT_EQ(check(), 1);
        store.SetProcessId(200);
        now += 5;  // time + 5 == now: still fresh
        EXPECT_EQ(check(), -2);
        EXPECT_EQ(lock(1), -2);
        EXPECT_EQ(lock(0), -2);
        now += 1;  // six seconds: stale, taken over
        EXPECT_EQ(lock(1), 0);
        EXPECT_EQ(check(), 1);
        store.SetProcessId(100);
        EXPECT_EQ(check(), -2);
        now += 6;
        EXPECT_EQ(check(), 0);  // the stale lock is cleared by the check
        store.SetProcessId(200);
        EXPECT_EQ(check(), 0);
    }
}

TEST_F(StoreTest, RetakingRefreshesTheStamp) {
    ASSERT_EQ(store.LockRead(1), 0);
    now += 4;
    ASSERT_EQ(store.LockRead(1), 0);
    store.SetProcessId(200);
    now += 5;  // nine seconds after the first take, five after the refresh
    EXPECT_EQ(store.LockRead(1), -2);
    now += 1;
    EXPECT_EQ(store.LockRead(1), 0);
}

TEST_F(StoreTest, OwnerPassesTheWriteCheck) {
    store.SetProcessId(300);
    EXPECT_EQ(store.SetOwner(1), 300);
    store.SetProcessId(200);
    ASSERT_EQ(store.LockWrite(1), 0);
    store.SetProcessId(300);
    EXPECT_EQ(store.CheckWriteLock(), 1);  // held by 200, but 300 owns the store
    store.SetProcessId(200);
    EXPECT_EQ(store.SetOwner(0), 300);  // only the owner clears it
    store.SetProcessId(300);
    EXPECT_EQ(store.SetOwner(0), 0);
    EXPECT_EQ(store.CheckWriteLock(), -2);
}

TEST_F(StoreTest, SectionsRefuseLocksOfAnotherProcess) {
    Load();
    uint8_t buf[16] = {};
    store.SetProcessId(200);
    ASSERT_EQ(store.LockRead(1), 0);
    ASSERT_EQ(store.LockWrite(1), 0);
    store.SetProcessId(100);
    EXPECT_EQ(store.LocateSection(0x4002, 0), -4);
    EXPECT_EQ(store.GetSectionData(0x4002, 0, buf, 16), -4);
    EXPECT_EQ(store.SetSectionData(0x4002, 0, buf, 16), -2);
    EXPECT_EQ(store.LoadConfig("", 8, 1), -3);
    now += 6;
    EXPECT_EQ(store.SetSectionData(0x4002, 0, buf, 16), 0);
    EXPECT_EQ(store.GetSectionData(0x4002, 0, buf, 16), 0);
}

TEST_F(StoreTest, IndexLockRetryCounts) {
    Load();
    ASSERT_EQ(store.LockLookupTable(), 0);
    sleeps = 0;
    EXPECT_EQ(store.LockLookupTable(), -1);
    EXPECT_EQ(sleeps, 6);  // seven tests
    sleeps = 0;
    EXPECT_EQ(store.FindIndexEntry(0x4002, 0, nullptr), -1);
    EXPECT_EQ(sleeps, 6);
    sleeps = 0;
    EXPECT_EQ(store.InsertIndexEntry(0x4999, 0, 0, 0), -1);
    EXPECT_EQ(sleeps, 5);  // six tests
    store.UnlockLookupTable();

    TIndexEntry e;
    ASSERT_EQ(store.FindIndexEntry(0x4002, 0, &e), 0);  // hands the lock over
    EXPECT_EQ(e.SIDPar, 0x40020000u);
    EXPECT_EQ(store.LockLookupTable(), -1);
    store.UnlockLookupTable();
    EXPECT_EQ(store.FindIndexEntry(0x4777, 0, &e), -3);  // absent: released
    EXPECT_EQ(store.LockLookupTable(), 0);
    store.UnlockLookupTable();
}

TEST_F(StoreTest, StoringAgainOverwritesInPlace) {
    Load();
    uint32_t count = store.IndexCount(), used = store.DataUsed();
    uint8_t a[32], b[32], out[32];
    memset(a, 0xA5, sizeof a);
    memset(b, 0x5A, sizeof b);
    ASSERT_EQ(store.SetSectionData(0x4001, 0, a, 32), 0);
    EXPECT_EQ(store.IndexCount(), count + 1);
    EXPECT_EQ(store.DataUsed(), used + 50);
    ASSERT_EQ(store.SetSectionData(0x4001, 0, b, 32), 0);
    EXPECT_EQ(store.IndexCount(), count + 1);
    EXPECT_EQ(store.DataUsed(), used + 50);
    ASSERT_EQ(store.GetSectionData(0x4001, 0, out, 32), 0);
    EXPECT_EQ(memcmp(out, b, 32), 0);

    SetupSectPacket head;
    const uint8_t* data = nullptr;
    ASSERT_EQ(store.PeekSection(0x4001, 0, &head, &data), 0);
    EXPECT_EQ(head.marker, 0xFFFF);
    EXPECT_EQ(head.length, 32);
    EXPECT_EQ(head.time, now);
    EXPECT_EQ(head.one, 1);
    EXPECT_EQ(store.LastPacket(), data - SetupSectHeadSize);
}

TEST_F(StoreTest, AnotherLengthNeverSpillsIntoNeighbours) {
    Load();  // defaults 0x4002 (16 bytes) and 0x4003 (80 bytes) lie next to each other
    uint8_t big[40], out[80];
    memset(big, 0xEE, sizeof big);
    ASSERT_EQ(store.SetSectionData(0x4002, 0, big, 40), 0);
    ASSERT_EQ(store.GetSectionData(0x4003, 0, out, 80), 1);
    EXPECT_EQ(memcmp(out, Default4003, 80), 0);

    memset(out, 0x11, sizeof out);
    EXPECT_EQ(store.GetSectionData(0x4002, 0, out, 16), SectLengthDiffers);  // would not fit the variable
    EXPECT_EQ(out[0], 0x11);
    SetupSectPacket head;
    ASSERT_EQ(store.GetSection(0x4002, 0, &head, out, sizeof out), 0);
    EXPECT_EQ(head.length, 40);
    EXPECT_EQ(memcmp(out, big, 40), 0);
    EXPECT_EQ(store.GetSection(0x4002, 0, &head, out, 39), SectLengthDiffers);

    // Shrinking and growing back reuse the place it moved to.
    uint32_t used = store.DataUsed();
    ASSERT_EQ(store.SetSectionData(0x4002, 0, Default4002, 16), 0);
    ASSERT_EQ(store.SetSectionData(0x4002, 0, big, 40), 0);
    EXPECT_EQ(store.DataUsed(), used);
    ASSERT_EQ(store.GetSectionData(0x4003, 0, out, 80), 1);
    EXPECT_EQ(memcmp(out, Default4003, 80), 0);
}

TEST_F(StoreTest, FullDataSegmentIsAnError) {
    Load();
    std::vector<uint8_t> big(SetupSectMaxData, 0x42);
    int r = 0;
    uint16_t par = 0;
    while ((r = store.SetSectionData(0x4100, par, big.data(), SetupSectMaxData)) == 0) ++par;
    EXPECT_EQ(r, SectNoRoom);
    while ((r = store.SetSectionData(0x4100, par, big.data(), 100)) == 0) ++par;
    EXPECT_EQ(r, SectNoRoom);
    EXPECT_LE(store.DataUsed(), ShmDataSectionDataSize);
    uint32_t used = store.DataUsed(), count = store.IndexCount();
    EXPECT_EQ(store.SetSectionData(0x4100, par, big.data(), SetupSectMaxData), SectNoRoom);
    EXPECT_EQ(store.DataUsed(), used);
    EXPECT_EQ(store.IndexCount(), count);
    EXPECT_EQ(store.LocateSection(0x4100, par), -5);
    // An existing section that would have to move is refused too, and keeps its value.
    EXPECT_EQ(store.SetSectionData(0x4002, 0, big.data(), 100), SectNoRoom);
    uint8_t out[16];
    EXPECT_EQ(store.GetSectionData(0x4002, 0, out, 16), 1);
    EXPECT_EQ(store.SetSectionData(0x4100, 0, big.data(), SetupSectMaxData + 1), SectNoRoom);
}

TEST_F(StoreTest, FullIndexIsAnError) {
    Load();
    int r = 0;
    uint16_t par = 0;
    while ((r = store.SetSectionData(0x4200, par, nullptr, 0)) == 0) ++par;
    EXPECT_EQ(r, -3);
    EXPECT_EQ(store.IndexCount(), IndexCapacity);
    uint32_t used = store.DataUsed();
    EXPECT_EQ(store.SetSectionData(0x4200, par, nullptr, 0), -3);
    EXPECT_EQ(store.DataUsed(), used);
    // Everything indexed stays findable.
    EXPECT_EQ(store.LocateSection(0x4200, 0), 0);
    EXPECT_EQ(store.LocateSection(0x4200, static_cast<uint16_t>(par - 1)), 0);
    EXPECT_EQ(store.LocateSection(0x4003, 0), 1);
}

TEST_F(StoreTest, DamagedPacketIsNotCopied) {
    Load();
    uint8_t v[16] = {9}, out[16];
    ASSERT_EQ(store.SetSectionData(0x4002, 0, v, 16), 0);
    const uint8_t* data = nullptr;
    ASSERT_EQ(store.PeekSection(0x4002, 0, nullptr, &data), 0);
    const_cast<uint8_t*>(data)[3] ^= 0x40;
    memset(out, 0x77, sizeof out);
    EXPECT_EQ(store.LocateSection(0x4002, 0), -3);
    EXPECT_EQ(store.GetSectionData(0x4002, 0, out, 16), -3);
    EXPECT_EQ(out[3], 0x77);
    EXPECT_EQ(store.SetSectionData(0x4002, 0, v, 16), 0);  // storing again mends it
    EXPECT_EQ(store.GetSectionData(0x4002, 0, out, 16), 0);
}

TEST_F(StoreTest, RegistryBindsVariables) {
    EXPECT_EQ(store.ItemCount(), 3u);  // the duplicate row is left out
    EXPECT_EQ(store.SSAPIInitConnectWithDefault(), -4);
    const TConfigItem* it = store.FindItem(0x4002, 0);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->defaultData, Default4002);
    EXPECT_EQ(it->lastRead, ItemResultNone);

    uint8_t wrong[20], var[16];
    EXPECT_EQ(store.SSAPIRegisterLocalData(0x4002, 0, wrong, sizeof wrong), -3);
    EXPECT_EQ(store.FetchItem(0x4002, 0), ItemNotBound);
    ASSERT_EQ(store.SSAPIRegisterLocalData(0x4002, 0, var, sizeof var), 0);
    EXPECT_EQ(store.SSAPIRegisterLocalData(0x4002, 0, var, sizeof var), -2);
    EXPECT_EQ(store.FetchItem(0x4999, 0), ItemNotFound);

    Load();
    ASSERT_EQ(store.FetchItem(0x4002, 0), 1);  // the default
    EXPECT_EQ(memcmp(var, Default4002, 16), 0);
    var[0] = 0x99;
    ASSERT_EQ(store.StoreItem(0x4002, 0), 0);
    memset(var, 0, sizeof var);
    ASSERT_EQ(store.FetchItem(0x4002, 0), 0);
    EXPECT_EQ(var[0], 0x99);
    EXPECT_EQ(store.FindItem(0x4002, 0)->lastRead, 0);
    EXPECT_EQ(store.FindItem(0x4002, 0)->lastWrite, 0);

    // A variable without a default row becomes an item of its own.
    uint32_t cmd = 0x12345678;
    ASSERT_EQ(store.SSAPIRegisterLocalData(0x6005, 0, &cmd, sizeof cmd), 0);
    EXPECT_EQ(store.FetchItem(0x6005, 0), -5);
    ASSERT_EQ(store.StoreItem(0x6005, 0), 0);
    cmd = 0;
    ASSERT_EQ(store.FetchItem(0x6005, 0), 0);
    EXPECT_EQ(cmd, 0x12345678u);

    // The stored length must equal the variable's.
    uint8_t other[8] = {};
    ASSERT_EQ(store.SetSectionData(0x6005, 0, other, 8), 0);
    cmd = 5;
    EXPECT_EQ(store.FetchItem(0x6005, 0), SectLengthDiffers);
    EXPECT_EQ(cmd, 5u);
}

TEST_F(StoreTest, RegistryFullIsRefused) {
    static uint8_t vars[ItemRegistryCapacity];
    uint32_t n = 0;
    int r = 0;
    while ((r = store.SSAPIRegisterLocalData(0x2100, static_cast<uint16_t>(n), &vars[n % ItemRegistryCapacity], 1)) == 0)
        ++n;
    EXPECT_EQ(r, -1);
    EXPECT_EQ(store.ItemCount(), ItemRegistryCapacity);
    EXPECT_EQ(n, ItemRegistryCapacity - 3);
}

TEST_F(StoreTest, UnitValueFromDeviceInformation) {
    Load();
    uint8_t info[16] = {0x44, 0x33, 0x22, 0x11};
    uint8_t out[16];
    ASSERT_EQ(store.SetSectionData(0x7002, 0, info, 16), 0);
    EXPECT_EQ(store.UnitValue(), 0u);
    ASSERT_EQ(store.GetSectionData(0x7002, 0, out, 16), 0);
    EXPECT_EQ(store.UnitValue(), 0x11223344u);
}
