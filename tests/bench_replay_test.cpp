// Replay of the recorded flight into a real block: the channel adjustments,
// looping, damaged files, and the data-source thread in its three modes.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

struct TempDir {
    TempDir() {
        char name[] = "/tmp/bench_replay_XXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string path;
};

// Record bytes as the file holds them: head, entries, trailer.
struct RecordBytes {
    std::vector<uint8_t> bytes;
    RecordBytes(uint32_t sample, const std::vector<FlySimEntry>& entries, uint32_t count = UINT32_MAX,
                uint32_t trailer = FlySimTrailer) {
        FlySimHead head;
        head.magic.Set(FlySimMagic);
        head.sample.Set(sample);
        head.count.Set(count == UINT32_MAX ? static_cast<uint32_t>(entries.size()) : count);
        Add(&head, sizeof head);
        for (const FlySimEntry& e : entries) Add(&e, sizeof e);
        LEField<uint32_t> t;
        t.Set(trailer);
        Add(t.b, 4);
    }
    void Add(const void* p, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
    }
};

FlySimEntry Int(uint32_t ch, int32_t v) {
    FlySimEntry e;
    e.SetInt(ch, v);
    return e;
}
FlySimEntry Float(uint32_t ch, float v) {
    FlySimEntry e;
    e.SetFloat(ch, v);
    return e;
}
FlySimEntry TextEntry(uint32_t ch, const char* t) {
    FlySimEntry e;
    e.SetText(ch, t);
    return e;
}

class Replay : public BenchBlockTest {
protected:
    void TearDown() override {
        CloseLoopFile();
        BenchBlockTest::TearDown();
    }
    std::string Write(const std::vector<RecordBytes>& records, size_t cut = 0) {
        std::vector<uint8_t> all;
        for (const RecordBytes& r : records) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
        all.resize(all.size() - cut);
        std::string path = dir_.path + "/flysim.dat";
        FILE* f = fopen(path.c_str(), "wb");
        if (!all.empty()) fwrite(all.data(), 1, all.size(), f);
        fclose(f);
        return path;
    }
    TempDir dir_;
};

TEST(FlySimLayout, EntryBytes) {
    FlySimEntry e = Int(0x0201, -2);
    const uint8_t want[8] = {0x01, 0x02, 0x01, 0x00, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(memcmp(&e, want, 8), 0);
    e = Float(0x0F01, 1.0f);
    const uint8_t wantF[8] = {0x01, 0x0F, 0x02, 0x00, 0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(memcmp(&e, wantF, 8), 0);
    e = TextEntry(0x0504, "AB");
    const uint8_t wantT[8] = {0x04, 0x05, 0x03, 0x00, 'A', 'B', 0, 0};
    EXPECT_EQ(memcmp(&e, wantT, 8), 0);
}

TEST(LoopEntry, Adjustments) {
    TLoopStore s[LoopStoresMax];
    const char* why;
    struct {
        uint32_t ch;
        int32_t in, out;
    } cases[] = {
        {echVolt1, 1375, 137}, {echVolt3, 1261, 126}, {echCurr1, 655, 65},   {echCurr3, -55, -5},
        {echInercialAccPilot, 2, 12}, {echPressMap, 1937, 9685}, {echPressOil, 35, 3},
        {echRpmEng, 5400, 5400}, {echGPSLat, 5008000, 5008000},
    };
    for (auto& c : cases) {
        ASSERT_EQ(LoopEntryStores(Int(c.ch, c.in), s, &why), 1) << c.ch;
        EXPECT_EQ(s[0].chan, c.ch);
        EXPECT_EQ(s[0].kind, FlySimInt);
        EXPECT_EQ(s[0].i, c.out) << std::hex << c.ch;
    }
    // Oil temperature also gives the auxiliary and water temperatures, before its own.
    ASSERT_EQ(LoopEntryStores(Int(echTempOil, 855), s, &why), 3);
    EXPECT_EQ(s[0].chan, static_cast<uint32_t>(echTempAux1));
    EXPECT_EQ(s[0].i, 769);
    EXPECT_EQ(s[1].chan, static_cast<uint32_t>(echTempWater));
    EXPECT_EQ(s[1].i, 855);
    EXPECT_EQ(s[2].chan, static_cast<uint32_t>(echTempOil));
    EXPECT_EQ(s[2].i, 855);

    // The low byte of the type word decides; anything but 2 and 3 is an integer.
    FlySimEntry odd = Int(echRpmEng, 7);
    odd.type.Set(0x1202);
    ASSERT_EQ(LoopEntryStores(odd, s, &why), 1);
    EXPECT_EQ(s[0].kind, FlySimFloat);
    odd.type.Set(0x0009);
    ASSERT_EQ(LoopEntryStores(odd, s, &why), 1);
    EXPECT_EQ(s[0].kind, FlySimInt);
    EXPECT_EQ(s[0].i, 7);
}

TEST(LoopEntry, UnusableValuesAreRefused) {
    TLoopStore s[LoopStoresMax];
    const char* why = nullptr;
    EXPECT_EQ(LoopEntryStores(Float(echSpeedIas, std::numeric_limits<float>::quiet_NaN()), s, &why), 0);
    EXPECT_STREQ(why, "holds no number");
    EXPECT_EQ(LoopEntryStores(Float(echSpeedIas, -std::numeric_limits<float>::infinity()), s, &why), 0);
    EXPECT_EQ(LoopEntryStores(Int(echPressMap, INT32_MAX), s, &why), 0);
    EXPECT_STREQ(why, "is out of range");
    EXPECT_EQ(LoopEntryStores(Int(echInercialAccPilot, INT32_MAX), s, &why), 0);
    EXPECT_EQ(LoopEntryStores(Int(echInercialAccPilot, INT32_MAX - 10), s, &why), 1);
    EXPECT_EQ(LoopEntryStores(Int(echTempOil, INT32_MIN), s, &why), 3);  // 9/10 of it still fits
}

TEST_F(Replay, StoresEveryKindIntoTheBlock) {
    Attach();
    std::string path = Write({RecordBytes(
        7, {Int(echPressOil, 35), Int(echPressMap, 1937), Int(echVolt2, 1390), Int(echCurr2, 420),
            Int(echInercialAccPilot, -3), Int(echTempOil, 855), Float(echSpeedIas, 123.4f), TextEntry(echGPSId, "HOME"),
            Int(echRpmEng, 5400), Int(0x1800, 5), Float(echAltitudeQNH, std::nanf(""))})});
    ASSERT_EQ(OpenLoopFile(path.c_str()), 0);
    ASSERT_EQ(PlayLoopRecord(), 0);
    EXPECT_EQ(LoopPacketCount, 7u);
    EXPECT_EQ(Raw(echPressOil), 3);
    EXPECT_EQ(Raw(echPressMap), 9685);
    EXPECT_EQ(Raw(echVolt2), 139);
    EXPECT_EQ(Raw(echCurr2), 42);
    EXPECT_EQ(Raw(echInercialAccPilot), 7);
    EXPECT_EQ(Raw(echTempOil), 855);
    EXPECT_EQ(Raw(echTempAux1), 769);
    EXPECT_EQ(Raw(echTempWater), 855);
    EXPECT_EQ(Raw(echSpeedIas), 1234);
    EXPECT_EQ(TypeOf(echSpeedIas), 6u);
    EXPECT_EQ(Text(echGPSId), "HOME");
    EXPECT_EQ(Raw(echRpmEng), 5400);
    EXPECT_EQ(TypeOf(echAltitudeQNH), 0u) << "a NaN entry writes nothing";
    // All entries carry one time stamp.
    MeasShmSlot a, b;
    ASSERT_EQ(Reader().GetChanRawData(echPressOil, &a), 0);
    ASSERT_EQ(Reader().GetChanRawData(echRpmEng, &b), 0);
    EXPECT_NE(a.Stamp(), 0u);
    EXPECT_EQ(a.Stamp(), b.Stamp());

    std::string out = ConsoleCapture::Take();
    EXPECT_NE(out.find("--- Packet of values from loop file, offset = 0x00000000 -------\n"), std::string::npos);
    EXPECT_NE(out.find("SetVal[0] = 3 (echPressOil)\n"), std::string::npos);
    EXPECT_NE(out.find("SetVal[6] = 123.400002 (echSpeedIas)\n"), std::string::npos);
    EXPECT_NE(out.find("ValWriter->SetVal ERROR = -20, chan = 6144 ().\n"), std::string::npos);
    EXPECT_NE(out.find("LoopFile: entry 10 (chan 768) holds no number, skipped.\n"), std::string::npos);
}

TEST_F(Replay, WaterEntryAfterOilKeepsItsOwnValue) {
    Attach();
    std::string path = Write({RecordBytes(1, {Int(echTempOil, 900), Float(echTempWater, 82.5f)})});
    ASSERT_EQ(OpenLoopFile(path.c_str()), 0);
    ASSERT_EQ(PlayLoopRecord(), 0);
    EXPECT_EQ(Raw(echTempWater), 825);
    EXPECT_EQ(Raw(echTempAux1), 810);
}

// The console stays quiet while the flight plays: the dumps only when asked for; errors and
// the reload always.
TEST_F(Replay, ValueDumpsOnlyWhenAskedFor) {
    Attach();
    std::string path = Write({RecordBytes(1, {Int(echRpmEng, 2100), Float(echSpeedIas, 99.5f), Int(0x1800, 1)})});
    for (bool dump : {false, true}) {
        ASSERT_EQ(OpenLoopFile(path.c_str()), 0);
        BenchDumpSamples = dump;
        ConsoleCapture::Take();
        ASSERT_EQ(PlayLoopRecord(), 0);
        EXPECT_EQ(PlayLoopRecord(), 1);  // the end
        EXPECT_EQ(Raw(echRpmEng), 2100);
        const std::string out = ConsoleCapture::Take();
        EXPECT_EQ(Count(out, "SetVal[0] = 2100 (echRpmEng)\n"), dump ? 1 : 0);
        EXPECT_EQ(Count(out, "SetVal[1] = 99.500000 (echSpeedIas)\n"), dump ? 1 : 0);
        EXPECT_EQ(Count(out, "--- Packet of values from loop file"), dump ? 2 : 0);
        EXPECT_EQ(Count(out, "ValWriter->SetVal ERROR = -20, chan = 6144 ().\n"), 1);
        if (!dump) {
            EXPECT_EQ(out.find("SetVal["), std::string::npos);
        }
        ASSERT_EQ(PlayLoopRecord(), 0);  // back to the start
        EXPECT_EQ(Count(ConsoleCapture::Take(), "--- Reload loop file from start ...\n"), 1);
    }
}

TEST_F(Replay, ThreeRecordsLoopWithOneEmptyTick) {
    Attach();
    std::vector<RecordBytes> recs;
    for (uint32_t i = 1; i <= 3; ++i) recs.emplace_back(i, std::vector<FlySimEntry>{Int(echRpmEng, 1000 * i)});
    ASSERT_EQ(OpenLoopFile(Write(recs).c_str()), 0);
    std::vector<int> seen;
    for (int tick = 0; tick < 6; ++tick) {
        int rc = PlayLoopRecord();
        seen.push_back(rc == 0 ? Raw(echRpmEng) : -rc);
    }
    EXPECT_EQ(seen, (std::vector<int>{1000, 2000, 3000, -1, 1000, 2000}));
    std::string out = ConsoleCapture::Take();
    EXPECT_EQ(Count(out, "--- Reload loop file from start ...\n"), 1);
    // Three records of 24 bytes: the empty tick and the reload both stand at 0x48.
    EXPECT_EQ(Count(out, "offset = 0x00000048 -------\n"), 2);
    EXPECT_NE(out.find("offset = 0x00000048 -------\n--- Reload"), std::string::npos);
}

// Records played as one leave each channel with the last value the flight stored in it.
TEST_F(Replay, RecordsPlayedTogetherLeaveEachChannelsLastValue) {
    Attach();
    std::vector<RecordBytes> recs;
    recs.emplace_back(1, std::vector<FlySimEntry>{Int(echRpmEng, 1000), Int(echPressOil, 30)});
    recs.emplace_back(2, std::vector<FlySimEntry>{Int(echRpmEng, 2000), Int(echPressOil, 40)});
    recs.emplace_back(3, std::vector<FlySimEntry>{Int(echRpmEng, 3000), Float(echSpeedIas, 80.0f)});
    recs.emplace_back(4, std::vector<FlySimEntry>{Int(echRpmEng, 4000), Float(echSpeedIas, std::nanf(""))});
    ASSERT_EQ(OpenLoopFile(Write(recs).c_str()), 0);
    BenchDumpSamples = false;  // dumped, every record is stored
    EXPECT_EQ(PlayLoopRecords(4), 0);
    EXPECT_EQ(LoopPacketCount, 4u);
    EXPECT_EQ(Raw(echRpmEng), 4000);
    EXPECT_EQ(Raw(echPressOil), 4);
    EXPECT_EQ(Raw(echSpeedIas), 800);
    EXPECT_EQ(PlayLoopRecords(2), 0);  // the empty tick at the end, then the first again
    EXPECT_EQ(Raw(echRpmEng), 1000);
}

TEST_F(Replay, TruncatedRecordStoresNothingAndStartsOver) {
    Attach();
    std::vector<RecordBytes> recs;
    recs.emplace_back(1, std::vector<FlySimEntry>{Int(echRpmEng, 1000)});
    recs.emplace_back(2, std::vector<FlySimEntry>{Int(echRpmEng, 2000), Int(echPressOil, 50)});
    ASSERT_EQ(OpenLoopFile(Write(recs, 5).c_str()), 0);  // the second loses its trailer and one byte
    EXPECT_EQ(PlayLoopRecord(), 0);
    EXPECT_EQ(PlayLoopRecord(), -2);
    EXPECT_EQ(Raw(echRpmEng), 1000);
    EXPECT_EQ(TypeOf(echPressOil), 0u);
    EXPECT_EQ(PlayLoopRecord(), 0);  // starts again at the first
    EXPECT_EQ(LoopPacketCount, 1u);
    std::string out = ConsoleCapture::Take();
    EXPECT_NE(out.find("LoopFile: record at offset 0x00000018 is truncated, nothing stored.\n"), std::string::npos);

    // A head cut short, and a count far beyond the file.
    ASSERT_EQ(OpenLoopFile(Write({RecordBytes(3, {Int(echRpmEng, 1)})}, 14).c_str()), 0);
    EXPECT_EQ(PlayLoopRecord(), -2);
    ASSERT_EQ(OpenLoopFile(Write({RecordBytes(3, {Int(echRpmEng, 1), Int(echRpmEng, 2)}, 0xFFFFFFF0u)}).c_str()), 0);
    EXPECT_EQ(PlayLoopRecord(), -2);
    EXPECT_EQ(Raw(echRpmEng), 1000);
}

TEST_F(Replay, DamagedTrailerStoresNothing) {
    Attach();
    std::string path = Write({RecordBytes(1, {Int(echRpmEng, 1234)}, UINT32_MAX, 0x55AA55ABu)});
    ASSERT_EQ(OpenLoopFile(path.c_str()), 0);
    EXPECT_EQ(PlayLoopRecord(), -3);
    EXPECT_EQ(TypeOf(echRpmEng), 0u);
    EXPECT_NE(ConsoleCapture::Take().find("is damaged, nothing stored."), std::string::npos);
    // A misread count (one more than written) lands on a wrong trailer too.
    path = Write({RecordBytes(1, {Int(echRpmEng, 1), Int(echRpmEng, 2)}, 3), RecordBytes(2, {})});
    ASSERT_EQ(OpenLoopFile(path.c_str()), 0);
    EXPECT_EQ(PlayLoopRecord(), -3);
    EXPECT_EQ(TypeOf(echRpmEng), 0u);
}

TEST_F(Replay, MoreThan67EntriesTakesTheFirst67AndStaysInStep) {
    Attach();
    std::vector<FlySimEntry> many(70, Int(echRpmEng, 100));
    many[66] = Int(echRpmEng, 4200);
    many[67] = Int(echRpmEng, 9999);  // beyond the 67 taken
    many[69] = Int(echPressOil, 90);
    std::vector<RecordBytes> recs = {RecordBytes(1, many), RecordBytes(2, {Int(echVolt1, 1400)})};
    ASSERT_EQ(OpenLoopFile(Write(recs).c_str()), 0);
    EXPECT_EQ(PlayLoopRecord(), 0);
    EXPECT_EQ(Raw(echRpmEng), 4200);
    EXPECT_EQ(TypeOf(echPressOil), 0u);
    EXPECT_EQ(PlayLoopRecord(), 0);
    EXPECT_EQ(Raw(echVolt1), 140);
    EXPECT_NE(ConsoleCapture::Take().find("has 70 entries, 67 taken."), std::string::npos);
}

TEST_F(Replay, MissingOrEmptyFile) {
    Attach();
    EXPECT_EQ(OpenLoopFile((dir_.path + "/none.dat").c_str()), -1);
    EXPECT_EQ(PlayLoopRecord(), -1);
    std::string out = ConsoleCapture::Take();
    EXPECT_NE(out.find("LoopFile open for reading ERROR: No such file or directory\n"), std::string::npos);
    EXPECT_NE(out.find("fgserv: file loop is not opened: No such file or directory\n"), std::string::npos);

    ASSERT_EQ(OpenLoopFile(Write({}).c_str()), 0);
    EXPECT_EQ(PlayLoopRecord(), 1);
    EXPECT_EQ(PlayLoopRecord(), 1);  // reloads, meets the end again
    EXPECT_EQ(Count(ConsoleCapture::Take(), "--- Reload loop file from start ...\n"), 1);
}

// ---- SetChanValue and ChanName ----

TEST_F(Replay, SetChanValueByChannelType) {
    EXPECT_EQ(SetChanValue(echRpmEng, 1), -2);
    EXPECT_STREQ(ChanName(echRpmEng), "");
    Attach();
    EXPECT_STREQ(ChanName(echRpmEng), "echRpmEng");
    EXPECT_STREQ(ChanName(0x1800), "");
    EXPECT_EQ(SetChanValue(0x1800, 1), -1);

    EXPECT_EQ(SetChanValue(echRpmEng, 2500.9f), 0);
    EXPECT_EQ(Raw(echRpmEng), 2500);
    EXPECT_EQ(SetChanValue(echInercialSlip, -3.7f), 0);
    EXPECT_EQ(Raw(echInercialSlip), -3);
    EXPECT_EQ(SetChanValue(echGPSAlt, 304.8f), 0);  // 304.8 x 10 is 3048, not 3047.99...
    EXPECT_EQ(Raw(echGPSAlt), 3048);
    EXPECT_EQ(SetChanValue(echVolt3, 12.7f), 0);
    EXPECT_EQ(Raw(echVolt3), 127);
    EXPECT_EQ(SetChanValue(echGPSLat, 50.08f), 0);
    EXPECT_EQ(Raw(echGPSLat), 5008000);
    EXPECT_EQ(SetChanValue(echPressMap, 0.96855f), 0);
    EXPECT_EQ(Raw(echPressMap), 9685);
    EXPECT_EQ(TypeOf(echPressMap), 9u);
    EXPECT_EQ(SetChanValue(echSpeedIas, 12.345f), 0);
    EXPECT_EQ(Raw(echSpeedIas), 123);

    // Nothing that cannot be stored reaches the block.
    EXPECT_EQ(SetChanValue(echRpmEng, std::nanf("")), -3);
    EXPECT_EQ(SetChanValue(echRpmEng, std::numeric_limits<float>::infinity()), -3);
    EXPECT_EQ(SetChanValue(echRpmEng, 3e9f), -3);
    EXPECT_EQ(SetChanValue(echGPSLat, 30000.0f), -3);  // x 10^5 leaves 32 bits
    EXPECT_EQ(Raw(echRpmEng), 2500);
    EXPECT_EQ(Raw(echGPSLat), 5008000);
    // A text channel takes no number.
    EXPECT_EQ(SetChanValue(echGPSId, 5), 0);
    EXPECT_EQ(TypeOf(echGPSId), 0u);
}

// ---- the thread ----

class ThreadRun : public Replay {
protected:
    void SetUp() override {
        Replay::SetUp();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        cwd_ = cwd;
        ASSERT_EQ(chdir(dir_.path.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(cwd_.c_str()), 0);
        Replay::TearDown();
    }
    std::string cwd_;
};

TEST_F(ThreadRun, ReplayModeLoopsTheFile) {
    mkdir("Data", 0755);
    std::vector<RecordBytes> recs;
    for (uint32_t i = 1; i <= 3; ++i) recs.emplace_back(i, std::vector<FlySimEntry>{Int(echRpmEng, 1000 * i)});
    std::vector<uint8_t> all;
    for (auto& r : recs) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    FILE* f = fopen("Data/flysim.dat", "wb");
    fwrite(all.data(), 1, all.size(), f);
    fclose(f);

    Reader();
    {
        TMeassure thread(MeassureModeLoop);
        EXPECT_TRUE(WaitUntil([&] { return Count(ConsoleCapture::Peek(), "Reload loop file") >= 2; }));
        EXPECT_EQ(Raw(echInternalInputStatus), 32);
        EXPECT_EQ(Raw(echGPSValid), 257);
        int rpm = Raw(echRpmEng);
        EXPECT_TRUE(rpm == 1000 || rpm == 2000 || rpm == 3000) << rpm;
        thread.Terminate();
        EXPECT_EQ(thread.WaitFor(), 0);
    }
    std::string out = ConsoleCapture::Take();
    EXPECT_EQ(out.find("File-loop mode\nReading simulation data from file ... in loop ...\n"), 0u);
    EXPECT_NE(out.find("Server exit\n"), std::string::npos);
    EXPECT_EQ(ValWriter.load(), nullptr);
    EXPECT_EQ(MeasAttachment().UsingAsWriter, 0);
}

TEST_F(ThreadRun, ReplayModeWithoutTheFileWaitsForItsEnd) {
    Reader();
    TMeassure thread(MeassureModeLoop);
    EXPECT_TRUE(WaitUntil([&] { return Count(ConsoleCapture::Peek(), "file loop is not opened") == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return Raw(echInternalInputStatus) == 32; }));
    EXPECT_EQ(MeasAttachment().UsingAsWriter, 1) << "the thread waits, still attached";
    thread.Terminate();
    thread.WaitFor();
    EXPECT_NE(ConsoleCapture::Take().find("LoopFile open for reading ERROR: No such file or directory\n"),
              std::string::npos);
}

TEST_F(ThreadRun, NoDataModeOnlyMarksTheStatus) {
    Reader();
    TMeassure thread(MeassureModeNone);
    EXPECT_EQ(thread.WaitFor(), 0);  // ends by itself
    // Its writer went with it: the status words it stored are no measurement any more.
    EXPECT_EQ(TypeOf(echInternalInputStatus), 999u);
    EXPECT_EQ(TypeOf(echGPSValid), 999u);
    EXPECT_EQ(MeasAttachment().slots, 0);
    EXPECT_EQ(ConsoleCapture::Take(), "Server exit\n");
}

}  // namespace
