// The generated recorded flight: its bytes, and a flight that keeps every page alive.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "file_io.h"

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

class GeneratedFlight : public ::testing::Test {
protected:
    static void SetUpTestSuite() { data_ = FileBytes(std::string(RUN_DIR) + "/Data/flysim.dat"); }
    static size_t Records() { return data_.size() / 552; }
    // Values of one record after the replay's adjustments, by channel.
    static std::map<uint32_t, double> Values(size_t r) {
        std::map<uint32_t, double> v;
        const uint8_t* rec = data_.data() + r * 552;
        for (uint32_t i = 0; i < U32(rec + 8); ++i) {
            FlySimEntry e;
            memcpy(&e, rec + 12 + 8 * i, 8);
            TLoopStore s[LoopStoresMax];
            const char* why;
            int n = LoopEntryStores(e, s, &why);
            for (int k = 0; k < n; ++k) {
                double x = s[k].kind == FlySimFloat ? s[k].f : s[k].i;
                // Integer entries are raw words in the channel's decimal type.
                const TChannelDesc* d = TMeasuredVals::FindChannelDesc(s[k].chan);
                if (s[k].kind == FlySimInt && d && d->valueType >= 6) x /= std::pow(10.0, d->valueType - 5);
                v[s[k].chan] = x;
            }
        }
        return v;
    }
    static std::vector<uint8_t> data_;
};
std::vector<uint8_t> GeneratedFlight::data_;

TEST_F(GeneratedFlight, FirstRecordByteForByte) {
    ASSERT_GE(data_.size(), 552u);
    ASSERT_EQ(data_.size() % 552, 0u);
    const uint8_t* r = data_.data();
    const uint8_t head[12] = {0x55, 0xAA, 0x55, 0xAA, 0, 0, 0, 0, 67, 0, 0, 0};
    EXPECT_EQ(memcmp(r, head, 12), 0);
    // Entry 0: the first EGT as a float; entry 12: oil pressure as an integer, 0 with the engine stopped.
    const uint8_t egt[4] = {0x00, 0x01, 0x02, 0x00};
    EXPECT_EQ(memcmp(r + 12, egt, 4), 0);
    const uint8_t oil[8] = {0x00, 0x02, 0x01, 0x00, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(r + 12 + 8 * 12, oil, 8), 0);
    // Entry 26: the waypoint text.
    const uint8_t id[8] = {0x04, 0x05, 0x03, 0x00, 'H', 'O', 'M', 'E'};
    EXPECT_EQ(memcmp(r + 12 + 8 * 26, id, 8), 0);
    // Entries 22 and 23: the parking place in units of 0.00001 degree.
    const uint8_t lat[8] = {0x00, 0x05, 0x01, 0x00, 0x80, 0x6A, 0x4C, 0x00};  // 5008000
    EXPECT_EQ(memcmp(r + 12 + 8 * 22, lat, 8), 0);
    EXPECT_EQ(U32(r + 12 + 8 * 23 + 4), 1426000u);
    const uint8_t trailer[4] = {0xAA, 0x55, 0xAA, 0x55};
    EXPECT_EQ(memcmp(r + 548, trailer, 4), 0);
}

TEST_F(GeneratedFlight, EveryRecordIsWholeAndInRange) {
    ASSERT_GT(Records(), 3u * 60 * 40) << "a few minutes at one record per 25 ms";
    for (size_t r = 0; r < Records(); ++r) {
        const uint8_t* rec = data_.data() + r * 552;
        ASSERT_EQ(U32(rec), FlySimMagic);
        ASSERT_EQ(U32(rec + 4), r);
        ASSERT_EQ(U32(rec + 8), 67u);
        ASSERT_EQ(rec[548], 0xAA);
        for (int i = 0; i < 67; ++i) {
            FlySimEntry e;
            memcpy(&e, rec + 12 + 8 * i, 8);
            ASSERT_NE(TMeasuredVals::FindChannelDesc(e.chan.Get()), nullptr) << "record " << r << " entry " << i;
            TLoopStore s[LoopStoresMax];
            const char* why;
            ASSERT_GT(LoopEntryStores(e, s, &why), 0) << "record " << r << " entry " << i;
        }
    }
}

TEST_F(GeneratedFlight, TheCircuitShowsEveryPhase) {
    ASSERT_GT(Records(), 0u);
    double maxAlt = 0, maxRpm = 0, maxIas = 0, minBank = 0, maxEgt = 0, minVs = 0, maxVs = 0;
    double minHdg = 360, maxHdg = 0;
    for (size_t r = 0; r < Records(); r += 20) {
        auto v = Values(r);
        maxAlt = std::max(maxAlt, v[echAltitudeQNH]);
        maxRpm = std::max(maxRpm, v[echRpmEng]);
        maxIas = std::max(maxIas, v[echSpeedIas]);
        minBank = std::min(minBank, v[echInercialRoll]);
        maxEgt = std::max(maxEgt, v[echThermo0]);
        minVs = std::min(minVs, v[echSpeedVertical]);
        maxVs = std::max(maxVs, v[echSpeedVertical]);
        minHdg = std::min(minHdg, v[echInercialAzimut]);
        maxHdg = std::max(maxHdg, v[echInercialAzimut]);
        ASSERT_NEAR(v[echGPSLat], 50.08, 0.1);
        ASSERT_NEAR(v[echGPSLon], 14.26, 0.1);
        ASSERT_GE(v[echPressOil], 0);
        ASSERT_LT(v[echPressOil], 7);
        ASSERT_LT(v[echPressMap], 1.1);
        ASSERT_GE(v[echFuelLevel1], 30);
    }
    EXPECT_GT(maxAlt, 600);
    EXPECT_GT(maxRpm, 5000);
    EXPECT_GT(maxIas, 160);
    EXPECT_LT(minBank, -30);
    EXPECT_GT(maxEgt, 700);
    EXPECT_GT(maxVs, 3);
    EXPECT_LT(minVs, -2);
    EXPECT_LT(minHdg, 20);
    EXPECT_GT(maxHdg, 340);

    // Parked at the start with the engine stopped, and back there at the end.
    auto first = Values(0), last = Values(Records() - 1);
    EXPECT_EQ(first[echRpmEng], 0);
    EXPECT_LT(last[echRpmEng], 100);
    EXPECT_NEAR(first[echGPSLat], last[echGPSLat], 0.00002);
    EXPECT_NEAR(first[echGPSLon], last[echGPSLon], 0.00002);
    EXPECT_NEAR(first[echAltitudeQNH], last[echAltitudeQNH], 2);
    EXPECT_NEAR(first[echTempOil], last[echTempOil], 3);
    EXPECT_NEAR(first[echThermo6], last[echThermo6], 3);
}

TEST_F(GeneratedFlight, GeneratorIsDeterministic) {
    char dir[] = "/tmp/bench_flysim_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string cmd = std::string(TEST_HELPER_DIR) + "/../tools/gen_flysim " + dir + " > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::vector<uint8_t> again = FileBytes(std::string(dir) + "/flysim.dat");
    std::system(("rm -rf " + std::string(dir)).c_str());
    EXPECT_TRUE(again == data_);
}

}  // namespace
