// Word wrap, decimal order and the camera calls.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "aboutbox.h"

namespace {

// Ten pixels a character: limits in the tests read as character counts.
int TenPerChar(const char* text, FGDrawBuffer*) { return 10 * static_cast<int>(strlen(text)); }

std::vector<std::string> Wrap(const char* text, int maxLines, int width, int* count) {
    const char* lines[40] = {};
    *count = WordWrap(text, lines, maxLines, width, TenPerChar);
    std::vector<std::string> out;
    for (int i = 0; i < *count; ++i) out.emplace_back(lines[i]);
    return out;
}

}  // namespace

TEST(WordWrap, Cases) {
    struct Case {
        const char* text;
        int width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // "aaa bbb" is 70 wide: a limit of 69 is just exceeded, so bbb stays and ccc moves.
        {"aaa bbb ccc", 69, {"aaa bbb", "ccc"}},
        {"aaa bbb ccc", 70, {"aaa bbb ccc"}},
        {"", 50, {}},
        {"one\n", 500, {"one", ""}},
        {"a\nb", 500, {"a", "b"}},
        {"averyveryverylongword x", 30, {"averyveryverylongword", "x"}},
        {"lonelylongword", 30, {"lonelylongword"}},
        // Two blanks: the first one breaks, the second starts the next line's text.
        {"abcd  ef", 30, {"abcd", " ef"}},
    };
    for (const Case& c : cases) {
        int n = 0;
        EXPECT_EQ(Wrap(c.text, 32, c.width, &n), c.lines) << c.text;
        EXPECT_EQ(n, static_cast<int>(c.lines.size())) << c.text;
    }
}

TEST(WordWrap, MaximumLineCount) {
    std::string t32, t33;
    for (int i = 0; i < 32; ++i) t32 += i ? "\nx" : "x";
    t33 = t32 + "\ny";
    int n = 0;
    EXPECT_EQ(Wrap(t32.c_str(), 32, 500, &n).size(), 32u);
    EXPECT_EQ(n, 32);
    Wrap(t33.c_str(), 32, 500, &n);
    EXPECT_EQ(n, -1);
}

TEST(WordWrap, BufferFailureLeavesFoundLinesTerminated) {
    char buf[] = "ab cd ef";
    char* lines[2] = {};
    EXPECT_EQ(WordWrapBuffer(buf, lines, 2, 10, TenPerChar, nullptr), -1);
    EXPECT_STREQ(lines[0], "ab");
    EXPECT_STREQ(lines[1], "cd");
}

TEST(WordWrap, LongTextIsCutToTheSharedBuffer) {
    std::string big(3000, 'x');
    const char* lines[2] = {};
    ASSERT_EQ(WordWrap(big.c_str(), lines, 2, 10, TenPerChar), 1);
    EXPECT_EQ(strlen(lines[0]), 1023u);
}

TEST(WordWrap, MeasureWithoutAnyWindowIsZero) {
    EXPECT_EQ(MeasureTextWidth(nullptr), 0);
}

TEST(DecimalOrder, Values) {
    const struct {
        int32_t x;
        int order;
    } cases[] = {{1, 0},          {9, 1},          {10, 1},          {11, 2},
                 {9999, 4},       {1000, 3},       {1001, 4},        {999999999, 9},
                 {1000000000, 9}, {1000000001, 10}, {INT32_MAX, 10}};
    for (const auto& c : cases) EXPECT_EQ(DecimalOrder(c.x), c.order) << c.x;
    errno = 0;
    EXPECT_EQ(DecimalOrder(0), -1);
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    EXPECT_EQ(DecimalOrder(-1), -1);
    EXPECT_EQ(errno, EDOM);
    EXPECT_EQ(DecimalOrder(INT32_MIN), -1);
}

TEST(DecimalOrder, ExhaustiveAgainstPowersOfTen) {
    // Every 32-bit value: the order steps exactly past each power of ten.
    int64_t p = 1;
    int n = 0;
    for (int64_t x = 1; x <= INT32_MAX; x += (x < 2000000 ? 1 : 997)) {
        while (p < x) {
            p *= 10;
            ++n;
        }
        ASSERT_EQ(DecimalOrder(static_cast<int32_t>(x)), n) << x;
    }
    int k = 1;
    for (int64_t q = 10; q <= INT32_MAX; q *= 10, ++k) {
        ASSERT_EQ(DecimalOrder(static_cast<int32_t>(q)), k) << q;
        ASSERT_EQ(DecimalOrder(static_cast<int32_t>(q + 1)), k + 1) << q;
    }
}

TEST(CameraUnit, ReportsOnlyWhatItWasGiven) {
    int camera = 0;
    EXPECT_TRUE(JpdMakeUpDown(&camera, 1));
    EXPECT_TRUE(JpdMakeUpDown(&camera, 0));
    EXPECT_FALSE(JpdMakeUpDown(nullptr, 1));
    EXPECT_EQ(JpdStartStamp(nullptr), 0);
    EXPECT_EQ(JpdStartStamp(&camera), 0);
}
