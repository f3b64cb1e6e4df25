#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "hkutils.h"

TEST(Trig, PinnedEntries) {
    const int sinAt[] = {0, 300, 900, 1500, 1800, 2100, 2700, 3300, 1, 450, 3599};
    const int32_t sinVal[] = {0, 32767, 65536, 32767, 0, -32767, -65536, -32768, 114, 46340, -114};
    for (size_t i = 0; i < sizeof sinAt / sizeof sinAt[0]; ++i) EXPECT_EQ(FixSin(sinAt[i]), sinVal[i]) << sinAt[i];
    const int cosAt[] = {0, 600, 900, 1200, 1800, 2400, 2700, 3000, 1};
    const int32_t cosVal[] = {65536, 32768, 0, -32767, -65536, -32768, 0, 32768, 65535};
    for (size_t i = 0; i < sizeof cosAt / sizeof cosAt[0]; ++i) EXPECT_EQ(FixCos(cosAt[i]), cosVal[i]) << cosAt[i];
    const int tanAt[] = {0, 1800, 450, 1350, 2250, 3150, 900, 2700, 899, 901};
    const int32_t tanVal[] = {0, 0, 65535, -65536, 65535, -65536, 0, 0, 37549323, -37549323};
    for (size_t i = 0; i < sizeof tanAt / sizeof tanAt[0]; ++i) EXPECT_EQ(FixTan(tanAt[i]), tanVal[i]) << tanAt[i];
}

TEST(Trig, AngleReduction) {
    EXPECT_EQ(FixSin(3600), FixSin(0));
    EXPECT_EQ(FixSin(-1), -114);
    EXPECT_EQ(FixCos(-900), 0);
    EXPECT_EQ(FixSin(INT_MIN), FixSin(INT_MIN % 3600 + 3600));
    EXPECT_EQ(FixCos(INT_MAX), FixCos(INT_MAX % 3600));
}

TEST(IntPower, Values) {
    EXPECT_EQ(IntPower(10, 0), 1);
    EXPECT_EQ(IntPower(10, -3), 1);
    EXPECT_EQ(IntPower(2, 10), 1024);
    EXPECT_EQ(IntPower(-3, 3), -27);
    EXPECT_EQ(IntPower(10, 10), 1410065408);  // wraps like 32-bit multiplication
    EXPECT_EQ(IntPower(2, 32), 0);
    EXPECT_EQ(IntPower(3, INT_MAX), IntPower(3, INT_MAX));  // finishes at once
}

static std::string Fix(int32_t v, int d) {
    char buf[FixTextSize];
    int n = FixToText(buf, v, d);
    EXPECT_EQ(n, static_cast<int>(strlen(buf)));
    return buf;
}

TEST(FixToText, Formats) {
    EXPECT_EQ(Fix(1234, 2), "12.34");
    EXPECT_EQ(Fix(-1234, 2), "-12.34");
    EXPECT_EQ(Fix(-34, 2), "- 0.34");
    EXPECT_EQ(Fix(5, 3), "0.005");
    EXPECT_EQ(Fix(7, 0), "7");
    EXPECT_EQ(Fix(-7, -2), "-7");
    EXPECT_EQ(Fix(12345, 12), Fix(12345, 10));
    EXPECT_EQ(Fix(12345, 10), "0.0000012345");
    EXPECT_EQ(Fix(INT_MIN, 2), "-21474836.48");
    EXPECT_EQ(Fix(INT_MIN, 10), "- 0.2147483648");
}

TEST(FixToText, NeverPastTheBuffer) {
    char buf[6];
    memset(buf, 'x', sizeof buf);
    int n = FixToText(buf, -123456, 2, 5);
    EXPECT_EQ(n, 4);
    EXPECT_STREQ(buf, "-123");
    EXPECT_EQ(buf[5], 'x');
}

TEST(SensorTypes, Lists) {
    EXPECT_STREQ(SensorTypeName(0x601, 0, 30), "4305-28");
    EXPECT_STREQ(SensorTypeName(0x601, 0, 27), "4205-39");
    EXPECT_STREQ(SensorTypeName(0x601, 0, 28), "");
    EXPECT_STREQ(SensorTypeName(0x601, 6, 30), "");
    EXPECT_STREQ(SensorTypeName(0x100, 4, 33), "Type K");
    EXPECT_EQ(SensorTypeCode(0x200, 4), 36);
    EXPECT_EQ(SensorTypeCode(0x200, 5), 0);
    EXPECT_EQ(SensorTypeCode(0x200, -1), 0);
    EXPECT_EQ(SensorTypeCharacteristic(0xC15, 2), 18);
    EXPECT_EQ(SensorTypeIndexByCode(0x101, 26), 1);
    EXPECT_EQ(SensorTypeIndexByCode(0x101, 99), 0);
    EXPECT_EQ(SensorTypeIndexByChar(0x202, 80), 2);
    int total = 0;
    for (int32_t key : {0x100, 0x101, 0x200, 0x201, 0x202, 0x601, 0x603, 0xC15})
        for (int n = 0; SensorTypeCode(key, n) != 0; ++n) ++total;
    EXPECT_EQ(total, SensorTypeRows);
}

static std::string captured;
static void Capture(const char* text) { captured += text; }

struct TraceTest : ::testing::Test {
    void SetUp() override { captured.clear(); PrintHook = Capture; }
    void TearDown() override { PrintHook = DefaultPrintHook; }
};

TEST_F(TraceTest, LineWithAndWithoutContext) {
    TTraceOrigin full = {"Error: ", "gui/menu.cpp", "Dispatch", 42};
    int n = TraceLog(&full, "bad %d", 7);
    EXPECT_EQ(captured, "gui/menu.cpp:Dispatch:42:\tError: bad 7\n");
    EXPECT_EQ(n, static_cast<int>(captured.size()));

    captured.clear();
    TTraceOrigin bare = {"Debug: ", nullptr, nullptr, 0};
    TraceLog(&bare, "%s", "plain");
    EXPECT_EQ(captured, "Debug: plain\n");

    captured.clear();
    TTraceOrigin lineOnly = {nullptr, nullptr, nullptr, 5};
    TraceLog(&lineOnly, "x");
    EXPECT_EQ(captured, "5:\tx\n");
}

TEST_F(TraceTest, LongMessageFillsExactly1024) {
    std::string big(3000, 'a');
    TTraceOrigin o = {"Debug: ", "f.cpp", "fn", 1};
    int n = TraceLog(&o, "%s", big.c_str());
    EXPECT_EQ(captured.size(), TraceLineSize - 1);
    EXPECT_EQ(n, static_cast<int>(TraceLineSize - 1));
    EXPECT_EQ(captured.back(), 'a');  // cut before the newline
}

TEST_F(TraceTest, MacroShortensSourcePath) {
    TRACE_ERR("code %d", -3);
    EXPECT_EQ(captured.rfind("tests/hkutils_test.cpp:", 0), 0u) << captured;
    EXPECT_NE(captured.find(":\tError: code -3\n"), std::string::npos);
}
