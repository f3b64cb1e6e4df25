#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "configsetting.h"
#include "crc16.h"
#include "config_check.h"
#include "file_io.h"

namespace {
typedef std::vector<uint8_t> Bytes;

bool Exists(const std::string& name) { return std::ifstream(name).good(); }

// A header written field by field, independent of the encoder.
Bytes Header(uint32_t type, uint32_t length = 64, uint32_t version = 1) {
    Bytes h(std::max<uint32_t>(length, 8), 0);
    if (h.size() < 64) h.resize(64);
    memcpy(h.data(), "ConF", 4);
    CfgPut32(&h[4], length);
    CfgPut32(&h[8], 1);
    CfgPut32(&h[12], version);
    CfgPut32(&h[16], type);
    if (length >= 8 && length <= h.size()) CfgPut16(&h[60], SetupSectCRC16(h.data(), length - 4));
    if (length < h.size() && length >= 8) h.resize(length);
    return h;
}
Bytes Packet(uint16_t ssid, uint16_t par, const Bytes& data, uint32_t time = 1) {
    Bytes p(data.size() + 18);
    SetupSectPacket h = {};
    h.SSID = ssid;
    h.Par = par;
    h.length = static_cast<uint16_t>(data.size());
    h.time = time;
    BuildSetupSectPacket(&h, data.data(), p.data());
    return p;
}
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const uint8_t D4001[32] = {0x40, 0x01};
const uint8_t D4002[4] = {2, 2, 2, 2};
const uint8_t D4003[8] = {3, 3, 3, 3, 3, 3, 3, 3};
const uint8_t D1000[8] = {0x10};
const uint8_t D2006[4] = {0x20, 0x06};
const TSettingDefault Defaults[] = {
    {0x4001, 0, D4001, 32}, {0x4002, 0, D4002, 4},   {0x4003, 0, D4003, 8},
    {0x1000, 0x300, D1000, 8}, {0x2006, 0, D2006, 4}, {0, 0, nullptr, 0},
};

// Program variables bound to every default row.
struct Vars {
    uint8_t s4001[32], s4002[4], s4003[8], s1000[8], s2006[4];
    void Bind(TConfigSetting& st) {
        ASSERT_EQ(st.SSAPIRegisterLocalData(0x4001, 0, s4001, 32), 0);
        ASSERT_EQ(st.SSAPIRegisterLocalData(0x4002, 0, s4002, 4), 0);
        ASSERT_EQ(st.SSAPIRegisterLocalData(0x4003, 0, s4003, 8), 0);
        ASSERT_EQ(st.SSAPIRegisterLocalData(0x1000, 0x300, s1000, 8), 0);
        ASSERT_EQ(st.SSAPIRegisterLocalData(0x2006, 0, s2006, 4), 0);
    }
    void Fill(uint8_t v) {
        for (uint8_t* p : {s4001, s4002, s4003, s1000, s2006}) p[0] = v, p[1] = static_cast<uint8_t>(v + 1);
    }
};
const uint16_t Keys[][2] = {{0x4001, 0}, {0x4002, 0}, {0x4003, 0}, {0x1000, 0x300}, {0x2006, 0}};

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { ConfigWriter = DefaultConfigWriter; }
    void TearDown() override { ConfigWriter = DefaultConfigWriter; }
    std::unique_ptr<TConfigSetting> NewStore(Vars* vars) {
        std::unique_ptr<TConfigSetting> st(new TConfigSetting(Defaults));
        st->SetClock([this] { return now; });
        if (vars) vars->Bind(*st);
        return st;
    }
    // Stores every variable and saves all kinds: nothing is left at its default.
    void StoreAll(TConfigSetting& st) {
        for (auto& k : Keys) ASSERT_EQ(st.StoreItem(k[0], k[1]), 0);
    }
    // A store loaded from no files, every variable set to fill and saved in all kinds.
    std::unique_ptr<TConfigSetting> SavedStore(Vars* a, uint8_t fill) {
        auto st = NewStore(a);
        EXPECT_EQ(st->LoadConfig("", 31, 0), 0);
        a->Fill(fill);
        StoreAll(*st);
        EXPECT_EQ(st->SaveConfig("", 31), 0);
        return st;
    }
    void ExpectFetched(TConfigSetting& st, int result) {
        for (auto& k : Keys) EXPECT_EQ(st.FetchItem(k[0], k[1]), result) << std::hex << k[0];
    }

    ConfigTempDir dir;
    uint32_t now = 0x5F000000;
};

// ---- writer seams ----
std::vector<std::string> written;
size_t RecordWrite(const char* target, int fd, const void* d, size_t n) {
    if (written.empty() || written.back() != target) written.push_back(target);
    return WriteFully(fd, d, n);
}
size_t budget = 0;  // bytes a "disk" still takes
size_t FullDiskWrite(const char*, int fd, const void* d, size_t n) {
    size_t take = std::min(n, budget);
    budget -= take;
    return WriteFully(fd, d, take);
}
size_t BackupFullWrite(const char* target, int fd, const void* d, size_t n) {
    return strstr(target, ".bck") ? 0 : WriteFully(fd, d, n);
}
int FailingClose(const char*, int fd) {
    close(fd);
    return -1;
}
}  // namespace

TEST(Crc16, CheckValues) {
    EXPECT_EQ(SetupSectCRC16("123456789", 9), 0xBB3D);
    EXPECT_EQ(SetupSectCRC16("", 0), 0);
    EXPECT_EQ(SetupSectCRC16(nullptr, 4), 0xFFFF);
}

TEST(Packet, CheckCodes) {
    Bytes p = Packet(0x4002, 7, {1, 2, 3});
    EXPECT_EQ(SetupSectCheckCRCPacket(p.data(), 21, 0), 0);
    EXPECT_EQ(SetupSectCheckCRCPacket(p.data(), 16, 1), 0);
    EXPECT_EQ(SetupSectCheckCRCPacket(p.data(), 15, 1), -1);
    EXPECT_EQ(SetupSectCheckCRCPacket(p.data(), 20, 0), -1);
    EXPECT_EQ(SetupSectCheckCRCPacket(nullptr, 21, 0), -1);
    Bytes bad = p;
    bad[17] ^= 1;  // data
    EXPECT_EQ(SetupSectCheckCRCPacket(bad.data(), 21, 1), 0);
    EXPECT_EQ(SetupSectCheckCRCPacket(bad.data(), 21, 0), -5);
    bad = p;
    bad[4] ^= 1;  // Par
    EXPECT_EQ(SetupSectCheckCRCPacket(bad.data(), 21, 1), -5);
    bad = p;
    bad[0] = 0xFE;
    EXPECT_EQ(SetupSectCheckCRCPacket(bad.data(), 21, 1), -2);
}

TEST_F(FileTest, LayoutByteForByte) {
    auto st = NewStore(nullptr);
    ASSERT_EQ(st->LoadConfig("", 31, 0), 0);
    const uint8_t info[16] = {0x44, 0x33, 0x22, 0x11};
    uint8_t back[16];
    ASSERT_EQ(st->SetSectionData(0x7002, 0, info, 16), 0);
    ASSERT_EQ(st->GetSectionData(0x7002, 0, back, 16), 0);  // takes the unit value
    now = 0x5F000010;
    const uint8_t v[4] = {0xA1, 0xB2, 0xC3, 0xD4};
    ASSERT_EQ(st->SetSectionData(0x4002, 0x0105, v, 4), 0);
    now = 0x5F000020;
    ASSERT_EQ(st->SaveConfig("", 8), 0);

    Bytes f = FileBytes("setup.dat");
    ASSERT_EQ(f.size(), 64u + 22u);  // the defaults are not written
    const uint8_t head[28] = {'C', 'o', 'n', 'F', 64, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                              0, 0, 0, 0x40, 0, 0, 0x20, 0, 0, 0x5F, 0x44, 0x33, 0x22, 0x11};
    EXPECT_EQ(memcmp(f.data(), head, 28), 0);
    for (int i = 28; i < 60; ++i) EXPECT_EQ(f[i], 0) << i;
    EXPECT_EQ(CfgGet16(&f[60]), SetupSectCRC16(f.data(), 60));
    EXPECT_EQ(CfgGet16(&f[62]), 0);

    const uint8_t* p = &f[64];
    const uint8_t phead[14] = {0xFF, 0xFF, 0x02, 0x40, 0x05, 0x01, 4, 0, 0x10, 0, 0, 0x5F, 1, 0};
    EXPECT_EQ(memcmp(p, phead, 14), 0);
    EXPECT_EQ(CfgGet16(p + 14), SetupSectCRC16(p, 14));
    EXPECT_EQ(memcmp(p + 16, v, 4), 0);
    EXPECT_EQ(CfgGet16(p + 20), SetupSectCRC16(p, 20));
    EXPECT_EQ(FileBytes("setup.bck"), f);
    EXPECT_EQ(TemporariesIn(".", "setup.dat"), 0);
}

TEST_F(FileTest, HeaderChecks) {
    TConfig c(nullptr);
    uint32_t type = 0;
    WriteByteFile("ok", Header(0x4000));
    EXPECT_EQ(c.CheckFileHeader("ok", &type), 0);
    EXPECT_EQ(type, 0x4000u);
    EXPECT_EQ(c.CheckFileHeader(nullptr, &type), -2);
    EXPECT_EQ(c.CheckFileHeader("missing", &type), -1);
    WriteByteFile("h", Bytes{'C', 'o', 'n'});
    EXPECT_EQ(c.CheckFileHeader("h", &type), -4);
    Bytes cut = Header(0x4000);
    cut.resize(40);
    WriteByteFile("h", cut);
    EXPECT_EQ(c.CheckFileHeader("h", &type), -4);
    Bytes magic = Header(0x4000);
    magic[3] = 'G';
    WriteByteFile("h", magic);
    EXPECT_EQ(c.CheckFileHeader("h", &type), -10);
    for (uint32_t len : {0u, 8u, 12u, 63u, 1025u, 0xFFFFFFFFu}) {
        Bytes h = Header(0x4000, 64);
        CfgPut32(&h[4], len);
        h.resize(1100);
        WriteByteFile("h", h);
        EXPECT_EQ(c.CheckFileHeader("h", &type), -11) << len;
    }
    Bytes crc = Header(0x4000);
    crc[20] ^= 1;
    WriteByteFile("h", crc);
    EXPECT_EQ(c.CheckFileHeader("h", &type), -12);
    WriteByteFile("h", Header(0x4000, 64, 2));
    EXPECT_EQ(c.CheckFileHeader("h", &type), -13);
    // A longer header is read whole; its CRC covers all but the last four bytes.
    WriteByteFile("h", Header(0x4000, 1024) + Packet(0x4002, 0, {1, 2, 3, 4}));
    EXPECT_EQ(c.CheckFileHeader("h", &type), -12);  // offset 60 lies inside the covered bytes
}

TEST_F(FileTest, ReaderCodes) {
    WriteByteFile("f", Header(0x4000) + Packet(0x4002, 0, {1, 2, 3, 4}) + Packet(0x4003, 1, {5}));
    TConfig c("f");
    SetupSectPacket h;
    const uint8_t* d = nullptr;
    EXPECT_EQ(c.GetNextSection(&h, &d), -1);
    ASSERT_EQ(c.OpenConfig(), 0);
    ASSERT_EQ(c.GetFirstSection(&h, &d), 0);
    EXPECT_EQ(h.SSID, 0x4002);
    EXPECT_EQ(d[3], 4);
    ASSERT_EQ(c.GetNextSection(&h, &d), 0);
    EXPECT_EQ(h.Par, 1);
    EXPECT_EQ(c.GetNextSection(&h, &d), -4);
    EXPECT_EQ(c.FindSection(0x4003, 1, 1), 0);
    EXPECT_EQ(c.FindSection(0x4003, 1, 2), -2);  // L must match too
    c.CloseConfig();
    EXPECT_EQ(c.FindSection(0x4003, 1, 1), -1);
    EXPECT_EQ(c.GetSection(0x4003, 1, 1, &d), 0);
    EXPECT_EQ(d[0], 5);
    EXPECT_FALSE(c.IsOpen());
    EXPECT_EQ(c.GetSection(0x4009, 1, 1, &d), -2);

    WriteByteFile("b", Header(0x4000) + Packet(0x4009, 1, {9}));
    ASSERT_EQ(c.OpenConfig(), 0);
    EXPECT_EQ(c.GetSectionBCK(0x4009, 1, 1, &d, "b"), 0);
    EXPECT_EQ(d[0], 9);
    EXPECT_TRUE(c.IsOpen());
    EXPECT_EQ(c.GetSectionBCK(0x4009, 1, 1, &d, "nothing"), -1);

    // A head claiming more data than a packet holds; a wrong data CRC; a cut packet.
    Bytes longHead = Packet(0x4002, 0, Bytes(4, 0));
    CfgPut16(&longHead[6], 3000);
    CfgPut16(&longHead[14], SetupSectCRC16(longHead.data(), 14));
    WriteByteFile("f", Header(0x4000) + longHead + Bytes(3100, 0));
    ASSERT_EQ(c.OpenConfig("f"), 0);
    EXPECT_EQ(c.GetFirstSection(&h, &d), -5);
    EXPECT_EQ(c.PacketState(), -3);
    Bytes badData = Packet(0x4002, 0, {1, 2, 3, 4});
    badData[18] ^= 0x80;
    WriteByteFile("f", Header(0x4000) + badData);
    ASSERT_EQ(c.OpenConfig("f"), 0);
    EXPECT_EQ(c.GetFirstSection(&h, &d), -3);
    EXPECT_EQ(c.PacketState(), -4);
    Bytes cutPacket = Packet(0x4002, 0, {1, 2, 3, 4});
    cutPacket.resize(19);
    WriteByteFile("f", Header(0x4000) + cutPacket);
    ASSERT_EQ(c.OpenConfig("f"), 0);
    EXPECT_EQ(c.GetFirstSection(&h, &d), -4);
}

TEST_F(FileTest, RoundTripThroughTheFiles) {
    Vars a;
    auto st = NewStore(&a);
    ASSERT_EQ(st->LoadConfig("", 31, 0), 0);
    EXPECT_EQ(st->LoadedKinds(), 31u);
    ExpectFetched(*st, 1);  // no files: defaults
    EXPECT_EQ(a.s4002[0], 2);
    a.Fill(0x61);
    StoreAll(*st);
    ASSERT_EQ(st->SaveConfig("", 31), 0);
    st.reset();

    Vars b = {};
    st = NewStore(&b);
    ASSERT_EQ(st->LoadConfig("", 31, 0), 0);
    ExpectFetched(*st, 0);
    EXPECT_EQ(memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(FileBytes("setup.dat"), FileBytes("setup.bck"));
    EXPECT_EQ(TemporariesIn(".", "checklist.dat"), 0);
}

TEST_F(FileTest, HeaderOnlyFileLoadsAsEmpty) {
    WriteByteFile("setup.dat", Header(0x4000));
    Vars a;
    auto st = NewStore(&a);
    ASSERT_EQ(st->LoadConfig("", 8, 0), 0);
    EXPECT_EQ(st->FetchItem(0x4002, 0), 1);
    ASSERT_EQ(st->SaveConfig("", 8), 0);
    EXPECT_EQ(FileBytes("setup.dat").size(), 64u);  // defaults are never written
}

TEST_F(FileTest, SaveOrderAndPrefix) {
    Vars a;
    auto st = NewStore(&a);
    ASSERT_EQ(st->LoadConfig("", 31, 0), 0);
    written.clear();
    ConfigWriter.Write = RecordWrite;
    ASSERT_EQ(st->SaveConfig("", 3), 0);
    EXPECT_EQ(written, (std::vector<std::string>{"statistic.dat", "statistic.bck", "runtime.dat", "runtime.bck"}));

    a.Fill(0x33);
    StoreAll(*st);
    written.clear();
    ASSERT_EQ(st->SaveConfig("demo", 8), 0);
    EXPECT_EQ(written, (std::vector<std::string>{"demosetup.dat", "demosetup.bck"}));
    EXPECT_FALSE(Exists("setup.dat"));

    Vars b = {};
    auto other = NewStore(&b);
    ASSERT_EQ(other->LoadConfig("demo", 8, 0), 0);
    EXPECT_EQ(other->FetchItem(0x4003, 0), 0);
    EXPECT_EQ(b.s4003[0], 0x33);
    EXPECT_EQ(other->FetchItem(0x2006, 0), -5);  // runtime not loaded
}

TEST_F(FileTest, DamagedDatIsRecoveredFromBck) {
    Vars a;
    auto st = SavedStore(&a, 0x71);
    st.reset();
    Bytes good = FileBytes("setup.dat");
    // The packets lie in index order: 0x4001 (50 bytes) at 64, then 0x4002 at 114.
    Bytes bad = good;
    bad[114 + 17] ^= 0x10;
    WriteByteFile("setup.dat", bad);

    Vars b = {};
    st = NewStore(&b);
    ASSERT_EQ(st->LoadConfig("", 31, 0), 0);
    ExpectFetched(*st, 0);
    EXPECT_EQ(memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(FileBytes("setup.dat"), good);
    EXPECT_EQ(FileBytes("setup.bck"), good);

    // A damaged head whose length runs far past the file is refused, not followed.
    bad = good;
    CfgPut16(&bad[64 + 6], 0xFFF0);
    CfgPut16(&bad[64 + 14], SetupSectCRC16(&bad[64], 14));
    WriteByteFile("setup.dat", bad);
    Vars c = {};
    st = NewStore(&c);
    ASSERT_EQ(st->LoadConfig("", 8, 0), 0);
    EXPECT_EQ(st->FetchItem(0x4001, 0), 0);
    EXPECT_EQ(memcmp(c.s4001, a.s4001, 32), 0);
    EXPECT_EQ(FileBytes("setup.dat"), good);
}

TEST_F(FileTest, FullDiskLeavesTheLastGoodFiles) {
    Vars a;
    auto st = SavedStore(&a, 0x11);
    const Bytes dat = FileBytes("setup.dat"), bck = FileBytes("setup.bck"), stat = FileBytes("statistic.dat");

    a.Fill(0x22);
    StoreAll(*st);
    ConfigWriter.Write = FullDiskWrite;
    budget = 50;  // the disk fills up inside the first file
    EXPECT_EQ(st->SaveConfig("", 31), -4);
    EXPECT_EQ(FileBytes("setup.dat"), dat);
    EXPECT_EQ(FileBytes("setup.bck"), bck);
    EXPECT_EQ(FileBytes("statistic.dat"), stat);
    EXPECT_EQ(FileBytes("statistic.bck"), stat);
    EXPECT_EQ(TemporariesIn(".", "setup.dat"), 0);
    EXPECT_EQ(TemporariesIn(".", "statistic.dat"), 0);

    ConfigWriter.Write = DefaultConfigWriter.Write;
    ConfigWriter.Close = FailingClose;  // the flush at the end fails
    EXPECT_EQ(st->SaveConfig("", 8), -4);
    EXPECT_EQ(FileBytes("setup.dat"), dat);
    EXPECT_EQ(FileBytes("setup.bck"), bck);

    ConfigWriter = DefaultConfigWriter;
    ConfigWriter.Write = BackupFullWrite;  // only the backup fails: the new .dat stays
    EXPECT_EQ(st->SaveConfig("", 8), -4);
    EXPECT_NE(FileBytes("setup.dat"), dat);
    EXPECT_EQ(FileBytes("setup.bck"), bck);

    ConfigWriter = DefaultConfigWriter;
    Vars b = {};
    auto again = NewStore(&b);
    ASSERT_EQ(again->LoadConfig("", 31, 0), 0);
    EXPECT_EQ(again->FetchItem(0x4003, 0), 0);
    EXPECT_EQ(b.s4003[0], 0x22);
    EXPECT_EQ(again->FetchItem(0x1000, 0x300), 0);
    EXPECT_EQ(b.s1000[0], 0x11);  // the statistics were never saved again
}

TEST_F(FileTest, NoKindInjectsAnother) {
    WriteByteFile("setup.dat", Header(0x4000) + Packet(0x4002, 0, {9, 9, 9, 9}) + Packet(0x6003, 0, Bytes(20, 1)) +
                              Packet(0x1000, 0x300, Bytes(8, 1)) + Packet(0x7002, 0, Bytes(16, 1)) +
                              Packet(0x4050, 3, {1}));
    auto st = NewStore(nullptr);
    ASSERT_EQ(st->LoadConfig("", 8, 0), 0);
    EXPECT_EQ(st->LocateSection(0x4002, 0), 0);
    EXPECT_EQ(st->LocateSection(0x4050, 3), 0);  // unregistered sections of the kind are kept
    EXPECT_EQ(st->LocateSection(0x6003, 0), -5);
    EXPECT_EQ(st->LocateSection(0x1000, 0x300), -5);
    EXPECT_EQ(st->LocateSection(0x7002, 0), -5);
    ASSERT_EQ(st->SaveConfig("", 8), 0);
    EXPECT_EQ(FileBytes("setup.dat").size(), 64u + 22u + 19u);
}

TEST_F(FileTest, OtherLengthInTheFileKeepsTheItemsDefault) {
    WriteByteFile("setup.dat", Header(0x4000) + Packet(0x4002, 0, {9, 9, 9, 9, 9, 9}) + Packet(0x4003, 0, Bytes(8, 7)));
    Vars a;
    auto st = NewStore(&a);
    ASSERT_EQ(st->LoadConfig("", 8, 0), 0);
    EXPECT_EQ(st->FetchItem(0x4002, 0), 1);
    EXPECT_EQ(memcmp(a.s4002, D4002, 4), 0);
    EXPECT_EQ(st->FetchItem(0x4003, 0), 0);
    EXPECT_EQ(a.s4003[7], 7);
}

TEST_F(FileTest, MaskedReloadRestoresOnlyItsKinds) {
    Vars a;
    auto st = SavedStore(&a, 0x41);
    a.Fill(0x42);  // statistics gathered and a setup value edited since the save
    StoreAll(*st);
    ASSERT_EQ(st->LoadConfig("", 8, 1), 0);
    ExpectFetched(*st, 0);
    EXPECT_EQ(a.s4002[0], 0x41);  // setup restored from its file
    EXPECT_EQ(a.s1000[0], 0x42);  // statistics kept
    EXPECT_EQ(a.s2006[0], 0x42);

    // Without the reload flag a kind already loaded is not read again.
    a.Fill(0x43);
    StoreAll(*st);
    ASSERT_EQ(st->LoadConfig("", 8, 0), 0);
    EXPECT_EQ(st->FetchItem(0x4002, 0), 0);
    EXPECT_EQ(a.s4002[0], 0x43);
}

TEST_F(FileTest, StoreStateAndLocks) {
    auto st = NewStore(nullptr);
    EXPECT_EQ(st->SaveConfig("", 8), -1);  // never loaded
    st->SetProcessId(900);
    ASSERT_EQ(st->LockWrite(1), 0);
    st->SetProcessId(901);
    EXPECT_EQ(st->LoadConfig("", 8, 0), -3);
    EXPECT_FALSE(st->HoldsReadLock());  // given back after the refusal
    now += 6;
    ASSERT_EQ(st->LoadConfig("", 8, 0), 0);
    EXPECT_FALSE(st->HoldsReadLock());
    EXPECT_FALSE(st->HoldsWriteLock());
    // Locks held before the call stay held.
    ASSERT_EQ(st->LockRead(1), 0);
    ASSERT_EQ(st->SaveConfig("", 8), 0);
    EXPECT_TRUE(st->HoldsReadLock());
    EXPECT_FALSE(st->HoldsWriteLock());
    st->SetProcessId(902);
    EXPECT_EQ(st->SaveConfig("", 8), -3);
}

TEST_F(FileTest, CopyConfigFile) {
    Bytes big(2500);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
    WriteByteFile("src", big);
    EXPECT_EQ(CopyConfigFile(nullptr, "dst"), -1);
    EXPECT_EQ(CopyConfigFile("src", nullptr), -1);
    EXPECT_EQ(CopyConfigFile("nothing", "dst"), -2);
    EXPECT_EQ(CopyConfigFile("src", "no/such/dir"), -3);
    ASSERT_EQ(CopyConfigFile("src", "dst"), 0);
    EXPECT_EQ(FileBytes("dst"), big);
    WriteByteFile("src", {1, 2, 3});
    ConfigWriter.Write = FullDiskWrite;
    budget = 2;
    EXPECT_EQ(CopyConfigFile("src", "dst"), -4);
    EXPECT_EQ(FileBytes("dst"), big);
    EXPECT_EQ(TemporariesIn(".", "dst"), 0);
}

// A pair of files that both fail, one of them damaged: the kind is marked, its files are
// never written over until AcceptDamaged, and a whole file of the pair keeps it unmarked.
TEST_F(FileTest, LostPairIsMarkedAndKeptUntilAccepted) {
    Vars a;
    SavedStore(&a, 0x33).reset();
    const Bytes good = FileBytes("setup.dat");
    const Bytes packet = Packet(0x4001, 0, Bytes(32, 7));
    const Bytes header = Header(0x4000);
    Bytes flipped = good;
    flipped[good.size() / 2] ^= 0x40;
    const Bytes cut(good.begin(), good.end() - 5);
    const Bytes garbage(good.size(), 0x5A);
    struct Row {
        const char* name;
        Bytes dat, bck;  // empty: no file
        bool lost;
    } rows[] = {
        {"Whole", good, good, false},
        {"NoFiles", {}, {}, false},
        {"HeaderOnly", header, {}, false},
        {"DatFlippedBckWhole", flipped, good, false},
        {"DatMissingBckGarbage", {}, garbage, true},
        {"DatGarbage", garbage, {}, true},
        {"DatCutInAPacket", cut, {}, true},
        {"DatFlippedBckFlipped", flipped, flipped, true},
        {"DatMissingBckCutInAHead", {}, header + packet + Bytes(3, 0xFF), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        remove("setup.dat");
        remove("setup.bck");
        if (!r.dat.empty()) WriteByteFile("setup.dat", r.dat);
        if (!r.bck.empty()) WriteByteFile("setup.bck", r.bck);
        Vars b = {};
        auto st = NewStore(&b);
        ASSERT_EQ(st->LoadConfig("", 31, 0), 0);
        EXPECT_EQ(st->DamagedKinds(), r.lost ? 8u : 0u);
        if (!r.lost) continue;
        EXPECT_EQ(st->SaveConfig("", 31), SaveIncomplete);
        EXPECT_EQ(FileBytes("setup.dat"), r.dat);
        EXPECT_EQ(FileBytes("setup.bck"), r.bck);
        EXPECT_EQ(CheckConfigFile("runtime.dat", 0x2000), "") << "the other kinds are written";
        // Accepted: the next save writes, and a reload of the same damage no longer holds it.
        st->AcceptDamaged();
        ASSERT_EQ(st->LoadConfig("", 8, 1), 0);
        EXPECT_EQ(st->DamagedKinds(), 0u);
        EXPECT_EQ(st->SaveConfig("", 8), 0);
        EXPECT_EQ(CheckConfigFile("setup.dat", 0x4000), "");
        EXPECT_EQ(CheckConfigFile("setup.bck", 0x4000), "");
    }
}
