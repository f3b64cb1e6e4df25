#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "averdata.h"
#include "hkmeasure.h"
#include "shm.h"

namespace {

int32_t Angle(std::vector<int32_t> v) { return AverAngleMean(v.data(), static_cast<int32_t>(v.size()), 0); }

TEST(AverFunctions, Mean) {
    const int32_t ring[] = {-1, -2, 7, 0};
    EXPECT_EQ(AverMean(ring, 2, 0), -1);  // -3 / 2 truncates toward zero
    EXPECT_EQ(AverMean(ring, 4, 3), 1);
    EXPECT_EQ(AverMean(ring, 0, 0), 0);
    const int32_t big[] = {INT32_MAX, INT32_MAX, INT32_MAX};
    EXPECT_EQ(AverMean(big, 3, 0), INT32_MAX);  // no overflow in the sum
    const int32_t low[] = {INT32_MIN, INT32_MIN};
    EXPECT_EQ(AverMean(low, 2, 0), INT32_MIN);
}

TEST(AverFunctions, AngleMean) {
    EXPECT_EQ(Angle({3590, 3598, 10, 2}), 0);
    EXPECT_EQ(Angle({3000, 100}), 3350);
    EXPECT_EQ(Angle({3500, 100}), 0);
    EXPECT_EQ(Angle({1000, 2000}), 1500);  // low mean not below 900
    EXPECT_EQ(Angle({100, 200}), 150);     // one group only
    EXPECT_EQ(Angle({3500, 3600}), 3550);
    EXPECT_EQ(Angle({}), 0);
    EXPECT_EQ(Angle({INT32_MAX, 0}), static_cast<int32_t>((INT32_MAX + 3600LL) / 2 % 3600));
}

// Divider, tolerance and window for a configuration.
struct Shape {
    int32_t d, r, s;
};
Shape Configured(int32_t window, int32_t rate, int32_t period) {
    TAverChannel c(nullptr, 0x600, 1);
    c.Configure(window, rate, period);
    return {c.Divider, c.Rate, c.SampleCount};
}
void ExpectShape(Shape got, Shape want) {
    SCOPED_TRACE(::testing::Message() << "want D " << want.d << " R " << want.r << " S " << want.s);
    EXPECT_EQ(got.d, want.d);
    EXPECT_EQ(got.r, want.r);
    EXPECT_EQ(got.s, want.s);
}

TEST(AverConfigure, Windows) {
    ExpectShape(Configured(1, 20, 100), {1, 10, 10});
    ExpectShape(Configured(2, 20, 150), {1, 6, 12});
    ExpectShape(Configured(1, 5, 100), {2, 5, 5});
    ExpectShape(Configured(1, 5, 150), {1, 5, 5});
    ExpectShape(Configured(100, 50, 10), {2, 50, 256});  // window capped by the ring
    ExpectShape(Configured(INT32_MAX, INT32_MAX, 1), {1, 1000, 256});
    ExpectShape(Configured(-3, 5, 100), {2, 5, 1});
    // A rate of 0 with a window samples once a second instead of dividing by zero.
    ExpectShape(Configured(2, 0, 100), {10, 1, 2});
    // Pass-through: R = ticks per second, D and S untouched.
    TAverChannel p(nullptr, 0x807, 1);
    p.Configure(0, 0, 125);
    EXPECT_EQ(p.PassThrough, 1);
    EXPECT_EQ(p.Rate, 8);
    EXPECT_EQ(p.Divider, 10);
    EXPECT_EQ(p.SampleCount, 20);
    p.Configure(0, 0, 0);  // period below 1 becomes 1
    EXPECT_EQ(p.Period, 1);
    EXPECT_EQ(p.Rate, 1000);
    p.Configure(0, 0, 5000);
    EXPECT_EQ(p.Rate, 1);
}

TEST(AverConfigure, PeriodChangeKeepsLoweredRate) {
    TAverData data(nullptr, 100);
    ASSERT_EQ(data.AddChannel(0x600, 1, 1, 20), 0);
    ASSERT_EQ(data.AddChannel(0x807, 1, 0, 0), 0);
    TAverChannel* c = data.FindChannel(0x600);
    TAverChannel* p = data.FindChannel(0x807);
    ASSERT_TRUE(c && p);
    EXPECT_EQ(c->SampleCount, 10);
    data.SetPeriod(150);
    EXPECT_EQ(c->Rate, 6);
    EXPECT_EQ(c->SampleCount, 6);
    EXPECT_EQ(p->Rate, 6);
    data.SetPeriod(100);
    EXPECT_EQ(c->Rate, 6);
    EXPECT_EQ(c->SampleCount, 6);
    EXPECT_EQ(p->Rate, 10);  // pass-through recomputes from the period
    ASSERT_EQ(data.AddChannel(0x601, 1, 1, 20), 0);
    EXPECT_EQ(data.FindChannel(0x601)->Period, 100);
}

TEST(AverTable, Registration) {
    TAverData data(nullptr, 100);
    // Out of order on purpose: lookups hold before and after Sort.
    for (int32_t i = AverMaxChannels - 1; i >= 0; --i)
        ASSERT_EQ(data.AddChannel(0x100u + static_cast<uint32_t>(i) * 3u, 1, 1, 10), 0);
    EXPECT_EQ(data.AddChannel(0x0F00, 1, 1, 10), -2);
    EXPECT_EQ(data.Count, AverMaxChannels);
    EXPECT_NE(data.FindChannel(0x100 + 3 * 77), nullptr);
    data.Sort();
    for (int32_t i = 1; i < data.Count; ++i) EXPECT_LT(data.Table[i - 1].ChannelId, data.Table[i].ChannelId);
    EXPECT_EQ(data.FindChannel(0x100 + 3 * 77)->ChannelId, 0x100u + 3 * 77);
    EXPECT_EQ(data.FindChannel(0x101), nullptr);

    TAverData small(nullptr, 100);
    ASSERT_EQ(small.AddChannel(0x0B00, 1, 1, 10), 0);
    ASSERT_EQ(small.AddChannel(0x0200, 1, 1, 10), 0);
    EXPECT_EQ(small.AddChannel(0x0B00, 1, 2, 20), -1);
    EXPECT_EQ(small.FindChannel(0x0B00)->Window, 1);  // unchanged
    EXPECT_EQ(small.AddChannel(0xFFFFFFFFu, 1, 1, 10), 0);  // unsigned order
    EXPECT_EQ(small.Table[small.Count - 1].ChannelId, 0xFFFFFFFFu);

    int32_t v = 1234;
    EXPECT_EQ(small.GetValue(0x0300, v), -1);
    EXPECT_EQ(v, 1234);
    EXPECT_FALSE(small.ForceValue(0x0300, 5));
    EXPECT_FALSE(small.SetAverFunc(0x0300, AverAngleMean));
    EXPECT_TRUE(small.SetAverFunc(0x0200, AverAngleMean));
    EXPECT_EQ(small.FindChannel(0x0200)->AverFunc, &AverAngleMean);
}

// The channels below are fed through the real block: the writer stores, the
// averaged reader samples through TMValReader. A stored -9999 is the block's
// "no value" marker, so a strict reader fails on it: that scripts a failed read.
constexpr uint32_t chTempOil = echTempOil;         // dictionary type 6
constexpr uint32_t chAzimuth = echInercialAzimut;  // dictionary type 7
constexpr uint32_t chRpm = echRpmEng;              // dictionary type 1
constexpr uint32_t chVolt = echVolt1;              // dictionary type 6, never written
constexpr int32_t NoValue = -9999;

// This program's own block: fresh at the start, gone at the end.
class BlockName : public ::testing::Environment {
public:
    void SetUp() override { ShmUnlink(ShmBlockName()); }
    void TearDown() override { ShmUnlink(ShmBlockName()); }
};
const auto* const blockName = ::testing::AddGlobalTestEnvironment(new BlockName);

class AverBlock : public ::testing::Test {
protected:
    TMValWriter Writer;
    TMValReader Reader;
    TAverData Data{&Reader, 100};

    void Put(uint32_t id, int32_t v) { ASSERT_GE(Writer.SetVal(id, v), 0); }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) Data.Tick();
    }
    // GetValue's answer and the value it hands out, as one pair.
    std::pair<int, int32_t> Read(uint32_t id) {
        int32_t v = 12345;
        int rc = Data.GetValue(id, v);
        return {rc, v};
    }
    using Answer = std::pair<int, int32_t>;
};

// Until the window is full the average covers the samples read so far, never the
// zeros of the fresh ring.
TEST_F(AverBlock, NewChannelAveragesTheSamplesReadSoFar) {
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 1, 20), 0);  // S = 10, a sample per tick
    Data.Sort();
    const int32_t put[] = {100, 200, 300, 300, 300, 300, 300, 300, 300, 300, 300};
    const int32_t average[] = {100, 150, 200, 225, 240, 250, 257, 262, 266, 270, 290};
    for (size_t i = 0; i < std::size(put); ++i) {
        Put(chRpm, put[i]);
        Ticks(1);
        EXPECT_EQ(Read(chRpm), Answer(0, average[i])) << "sample " << i + 1;
    }
}

TEST_F(AverBlock, SlowRateSamplesEveryOtherTick) {
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 1, 5), 0);  // D = 2, S = 5
    Put(chRpm, 50);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(-2, 0));  // not sampled yet
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 50));
    Put(chRpm, 100);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 50));
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 75));
    // At 150 ms a sample is taken every tick; the samples read so far stay in the average.
    Data.SetPeriod(150);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 83));  // {50, 100, 100}
}

TEST_F(AverBlock, ToleranceKeepsLastAverageThenPushesZeros) {
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 1, 20), 0);  // R = 10, S = 10
    Put(chRpm, 100);
    Ticks(10);
    ASSERT_EQ(Read(chRpm), Answer(0, 100));
    Put(chRpm, NoValue);
    for (int i = 1; i <= 9; ++i) {
        Ticks(1);
        EXPECT_EQ(Read(chRpm), Answer(0, 100)) << "failure " << i;
    }
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(-2, 90));
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(-2, 80));
    // Valid again at once, averaged over what was read since: the zeros are left out.
    Put(chRpm, 100);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 100));
    // The tolerance starts over after a success.
    Put(chRpm, NoValue);
    Ticks(9);
    EXPECT_EQ(Read(chRpm), Answer(0, 100));
}

TEST_F(AverBlock, PassThroughToleratesOneSecondOfTicks) {
    Data.SetPeriod(125);
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 0, 0), 0);  // R = 8
    Put(chRpm, 2400);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 2400));
    Put(chRpm, 2450);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 2450));  // no averaging
    Put(chRpm, NoValue);
    Ticks(7);
    EXPECT_EQ(Read(chRpm), Answer(0, 2450));
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(-2, 0));
    Put(chRpm, 2500);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 2500));
}

// A channel that never read successfully must not count as valid inside the
// failure tolerance: pages would show a zero for the first second.
TEST_F(AverBlock, NeverReadChannelIsNotValid) {
    ASSERT_EQ(Data.AddChannel(chVolt, -1, 0, 0), 0);   // never written: type 0
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 1, 20), 0);   // holds the no-value marker
    Put(chRpm, NoValue);
    for (int i = 1; i <= 12; ++i) {
        Ticks(1);
        EXPECT_EQ(Read(chVolt), Answer(-2, 0)) << "tick " << i;
        EXPECT_EQ(Read(chRpm), Answer(-2, 0)) << "tick " << i;
    }
    Put(chVolt, 124);
    Put(chRpm, 100);
    Ticks(1);
    EXPECT_EQ(Read(chVolt), Answer(0, 124));
    EXPECT_EQ(Read(chRpm), Answer(0, 100));
}

TEST_F(AverBlock, SubstituteEntersOnlyBeyondTheTolerance) {
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 1, 20), 0);  // R = 10, S = 10
    Put(chRpm, 100);
    Ticks(10);
    Put(chRpm, NoValue);
    Ticks(10);
    ASSERT_EQ(Read(chRpm), Answer(-2, 90));  // ring {0, 100 x 9}
    EXPECT_TRUE(Data.ForceValue(chRpm, -32));
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(-2, 76));  // {0, -32, 100 x 8}
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(-2, 63));  // {0, -32, -32, 100 x 7}: 63.6 truncated
    Put(chRpm, 100);
    Ticks(1);
    EXPECT_EQ(Read(chRpm), Answer(0, 100));  // the ring fills again from its start
    // The success dropped the substitute: the next overrun pushes zeros.
    Put(chRpm, NoValue);
    Ticks(10);
    EXPECT_EQ(Read(chRpm), Answer(-2, 76));  // {100, 0, -32, 100 x 7}
}

TEST_F(AverBlock, SubstituteSetWhileReadingIsDiscarded) {
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 1, 20), 0);
    Put(chRpm, 100);
    Ticks(10);
    EXPECT_TRUE(Data.ForceValue(chRpm, -32));
    Ticks(1);  // success
    Put(chRpm, NoValue);
    Ticks(3);
    EXPECT_TRUE(Data.ForceValue(chRpm, -32));  // within the tolerance: dropped too
    Ticks(7);
    EXPECT_EQ(Read(chRpm), Answer(-2, 90));
}

TEST_F(AverBlock, WantedTypeFollowsTheDictionary) {
    Put(chTempOil, 57);  // 5.7 degrees
    TAverChannel own(&Reader, chTempOil, -1);
    TAverChannel whole(&Reader, chTempOil, 1);
    TAverChannel unknown(&Reader, 0x7777, -1);
    EXPECT_EQ(own.WantedType, 6);
    EXPECT_EQ(unknown.WantedType, -1);
    own.Configure(0, 0, 100);
    whole.Configure(0, 0, 100);
    own.Tick();
    whole.Tick();
    int32_t v = 0;
    EXPECT_EQ(own.GetValue(v), 0);
    EXPECT_EQ(v, 57);
    EXPECT_EQ(whole.GetValue(v), 0);
    EXPECT_EQ(v, 6);
}

// A slot of another type than its channel's (a writer that is not the bench program)
// counts only when its value can also be had in the channel's own type.
TEST_F(AverBlock, SlotOfAnotherTypeCountsOnlyWithinTheChannelsRange) {
    struct TRow {
        uint32_t type;
        int32_t word;
        Answer expected;
    };
    float degrees = 78.0f, huge = 1e9f;
    int32_t degreesBits, hugeBits;
    memcpy(&degreesBits, &degrees, 4);
    memcpy(&hugeBits, &huge, 4);
    const TRow rows[] = {
        {mvtInt, 780, {0, 780}},
        {mvtInt, 1103740928, {-2, 0}},  // beyond the tenths of the channel's own type
        {mvtFloat, degreesBits, {0, 78}},
        {mvtFloat, hugeBits, {-2, 0}},
    };
    int index = -1;
    ASSERT_NE(TMeasuredVals::FindChannel(chTempOil, &index), nullptr);
    ASSERT_GE(index, 0);
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.word);
        TAverData data(&Reader, 100);
        ASSERT_EQ(data.AddChannel(chTempOil, 1, 0, 0), 0);
        MeasShmSlot slot = {};
        slot.type.Set(row.type);
        slot.SetValue(row.word);
        slot.id.Set(chTempOil);
        ASSERT_EQ(Writer.WriteSlot(index, &slot), 0);
        data.Tick();
        int32_t v = 12345;
        const int rc = data.GetValue(chTempOil, v);
        EXPECT_EQ(rc, row.expected.first);
        if (rc == 0) EXPECT_EQ(v, row.expected.second);
    }
}

TEST_F(AverBlock, AngleMeanAcrossNorth) {
    ASSERT_EQ(Data.AddChannel(chAzimuth, 6, 1, 10), 0);  // tenths of a degree, S = 10
    ASSERT_EQ(Data.AddChannel(chTempOil, 6, 1, 10), 0);
    Data.Sort();
    ASSERT_TRUE(Data.SetAverFunc(chAzimuth, AverAngleMean));
    for (int i = 0; i < 10; ++i) {
        const int32_t tenths = i % 2 ? 10 : 3590;
        Put(chAzimuth, tenths * 10);  // stored in hundredths
        Put(chTempOil, tenths);
        Ticks(1);
        // A ring still filling counts no zero, which would be north.
        if (i == 0) {
            EXPECT_EQ(Read(chAzimuth), Answer(0, 3590));
        }
    }
    EXPECT_EQ(Read(chAzimuth), Answer(0, 0));
    EXPECT_EQ(Read(chTempOil), Answer(0, 1800));  // the plain mean points south
}

// Settled: valid, and the average made of read samples only, never of the zeros of a ring
// still filling or of a failure beyond the tolerance.
TEST_F(AverBlock, SettledOnceTheAverageHoldsReadSamplesOnly) {
    constexpr int32_t Keep = INT32_MIN;  // no new value: the block keeps what it holds
    struct Step {
        const char* what;
        uint32_t id;
        int32_t put;  // or Keep
        int ticks;
        int period;  // 0: unchanged
        bool settled;
    } steps[] = {
        {"never sampled", chRpm, 100, 0, 0, false},
        {"nine samples of the warm-up", chRpm, Keep, 9, 0, false},
        {"the tenth fills the window", chRpm, Keep, 1, 0, true},
        {"nine failures within the tolerance", chRpm, NoValue, 9, 0, true},
        {"the tenth failure pushes a zero", chRpm, Keep, 1, 0, false},
        {"read again, the zero still in the window", chRpm, 100, 9, 0, false},
        {"the zero overwritten", chRpm, Keep, 1, 0, true},
        {"a shorter window keeps it", chRpm, Keep, 0, 150, true},
        {"a pass-through channel at its first sample", chAzimuth, 900, 1, 0, true},
        {"its tolerated failures", chAzimuth, NoValue, 5, 0, true},
        {"beyond the tolerance", chAzimuth, Keep, 1, 0, false},
        {"read again", chAzimuth, 900, 1, 0, true},
    };
    ASSERT_EQ(Data.AddChannel(chRpm, -1, 1, 20), 0);   // S = 10, R = 10
    ASSERT_EQ(Data.AddChannel(chAzimuth, 6, 0, 0), 0);  // R = 10 at 100 ms, 6 at 150 ms
    Data.Sort();
    for (const Step& s : steps) {
        if (s.put != Keep) Put(s.id, s.put);
        if (s.period) Data.SetPeriod(s.period);
        Ticks(s.ticks);
        EXPECT_EQ(Data.Settled(s.id), s.settled) << s.what;
    }
    EXPECT_FALSE(Data.Settled(chVolt)) << "an unknown channel";
}

}  // namespace
