#include "lookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {
constexpr int32_t I32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t I32Max = std::numeric_limits<int32_t>::max();

TInterpTable SlipCurve(uint8_t rangeMode = SlipCurveRangeMode) {
    TInterpTable t;
    t.rangeMode = rangeMode;
    EXPECT_EQ(t.AddPoints(SlipCurvePoints, TInterpTable::MaxPoints), 10);
    return t;
}

int32_t ValueAt(TInterpTable& t, int32_t x) {
    int32_t y = 12345;
    EXPECT_EQ(t.GetValue(x, &y), 0) << "x=" << x;
    return y;
}
}  // namespace

TEST(InterpTable, ConstructorAndInit) {
    TInterpTable t;
    EXPECT_EQ(t.count, 0);
    EXPECT_EQ(t.comparator, &InterpCompareX);
    EXPECT_EQ(t.mode, 1);
    EXPECT_EQ(t.needsSort, 0);
    EXPECT_EQ(t.rangeMode, 0);
    int32_t y = 7;
    EXPECT_EQ(t.GetValue(0, &y), -1);
    EXPECT_EQ(y, 7);
}

TEST(InterpTable, SlipCurveValues) {
    TInterpTable t = SlipCurve();
    EXPECT_EQ(ValueAt(t, 47), 5);
    EXPECT_EQ(ValueAt(t, 100), 100);
    EXPECT_EQ(ValueAt(t, -10), 0);
    EXPECT_EQ(ValueAt(t, -30), -1);
    EXPECT_EQ(ValueAt(t, 80), 80);
    for (const TInterpPoint& p : SlipCurvePoints) EXPECT_EQ(ValueAt(t, p.x), p.y);
}

TEST(InterpTable, SlipCurveMatchesSegmentReference) {
    TInterpTable t = SlipCurve();
    for (int32_t x = -200; x <= 300; ++x) {
        // Reference: the segment by linear scan, end segments extended.
        int i = 0;
        while (i < 8 && x > SlipCurvePoints[i + 1].x) ++i;
        const TInterpPoint& a = SlipCurvePoints[i];
        const TInterpPoint& b = SlipCurvePoints[i + 1];
        EXPECT_EQ(ValueAt(t, x), (b.y - a.y) * (x - a.x) / (b.x - a.x) + a.y) << "x=" << x;
    }
}

TEST(InterpTable, RangeModesOutsideTheEnds) {
    TInterpTable clamp = SlipCurve(0);
    EXPECT_EQ(ValueAt(clamp, -10), 0);
    EXPECT_EQ(ValueAt(clamp, 1000), 90);
    EXPECT_EQ(ValueAt(clamp, 47), 5);

    TInterpTable strict = SlipCurve(1);
    int32_t y = 99;
    EXPECT_EQ(strict.GetValue(-1, &y), -2);
    EXPECT_EQ(strict.GetValue(91, &y), -2);
    EXPECT_EQ(y, 99);
    EXPECT_EQ(ValueAt(strict, 0), 0);
    EXPECT_EQ(ValueAt(strict, 90), 90);
}

TEST(InterpTable, SinglePointAnswersItsYEverywhere) {
    for (uint8_t mode : {0, 2}) {
        TInterpTable t;
        t.rangeMode = mode;
        ASSERT_EQ(t.AddPoint({5, 42}), 0);
        for (int32_t x : {I32Min, -1, 5, 6, I32Max}) EXPECT_EQ(ValueAt(t, x), 42);
    }
}

TEST(InterpTable, AddPointLimitsAndDuplicates) {
    TInterpTable t = SlipCurve();
    EXPECT_EQ(t.AddPoint({100, 1}), -1);
    EXPECT_EQ(t.count, 10);

    TInterpTable u;
    ASSERT_EQ(u.AddPoint({10, 1}), 0);
    ASSERT_EQ(u.AddPoint({20, 2}), 0);
    EXPECT_EQ(u.AddPoint({10, 9}), -2);
    EXPECT_EQ(u.AddPoint({20, 9}), -2);
    EXPECT_EQ(u.count, 2);
    EXPECT_EQ(ValueAt(u, 10), 1);
    EXPECT_EQ(ValueAt(u, 20), 2);
}

TEST(InterpTable, PointsAddedOutOfOrderAreSortedBeforeUse) {
    TInterpTable t;
    t.rangeMode = 1;
    ASSERT_EQ(t.AddPoint({50, 500}), 0);
    ASSERT_EQ(t.AddPoint({10, 100}), 0);
    ASSERT_EQ(t.AddPoint({30, 300}), 0);
    EXPECT_EQ(t.AddPoint({10, 7}), -2);  // found although added out of order
    EXPECT_EQ(ValueAt(t, 10), 100);      // inside the range once sorted
    EXPECT_EQ(ValueAt(t, 20), 200);
    EXPECT_EQ(ValueAt(t, 45), 450);
}

TEST(InterpTable, AddPointsCountsSortsAndSkipsDuplicates) {
    TInterpTable t;
    EXPECT_EQ(t.AddPoints(nullptr, 3), -1);
    EXPECT_EQ(t.AddPoints(SlipCurvePoints, 0), 0);
    EXPECT_EQ(t.AddPoints(SlipCurvePoints, -4), 0);

    const TInterpPoint batch[] = {{3, 30}, {1, 10}, {3, 99}, {2, 20}};
    EXPECT_EQ(t.AddPoints(batch, 4), 3);
    EXPECT_EQ(t.needsSort, 0);
    EXPECT_EQ(t.points[0].x, 1);
    EXPECT_EQ(t.points[1].x, 2);
    EXPECT_EQ(t.points[2].x, 3);
    EXPECT_EQ(t.points[2].y, 30);

    TInterpPoint many[12];
    for (int i = 0; i < 12; ++i) many[i] = {100 - i, i};
    TInterpTable full;
    EXPECT_EQ(full.AddPoints(many, 12), 10);
    EXPECT_EQ(full.points[0].x, 91);
    EXPECT_EQ(full.points[9].x, 100);
}

TEST(InterpTable, ExtremeInputsNeverOverflow) {
    TInterpTable wide;
    wide.rangeMode = 2;
    ASSERT_EQ(wide.AddPoint({I32Min, I32Min}), 0);
    ASSERT_EQ(wide.AddPoint({I32Max, I32Max}), 0);
    EXPECT_EQ(ValueAt(wide, 0), 0);
    EXPECT_EQ(ValueAt(wide, I32Min), I32Min);
    EXPECT_EQ(ValueAt(wide, I32Max), I32Max);

    // Steep extrapolation saturates instead of wrapping.
    TInterpTable steep;
    steep.rangeMode = 2;
    ASSERT_EQ(steep.AddPoint({0, 0}), 0);
    ASSERT_EQ(steep.AddPoint({1, I32Max}), 0);
    EXPECT_EQ(ValueAt(steep, I32Max), I32Max);
    EXPECT_EQ(ValueAt(steep, I32Min), I32Min);

    TInterpTable falling;
    falling.rangeMode = 2;
    ASSERT_EQ(falling.AddPoint({-1, I32Max}), 0);
    ASSERT_EQ(falling.AddPoint({0, I32Min}), 0);
    EXPECT_EQ(ValueAt(falling, I32Max), I32Min);
    EXPECT_EQ(ValueAt(falling, I32Min), I32Max);

    TInterpTable slip = SlipCurve();
    EXPECT_EQ(ValueAt(slip, I32Max), I32Max);
    EXPECT_EQ(ValueAt(slip, I32Min), I32Min / 30);
}

TEST(BSearchNearest, EqualBelowAndArguments) {
    const TInterpPoint rows[] = {{10, 0}, {20, 0}, {30, 0}, {40, 0}};
    auto at = [&](int32_t x) {
        const TInterpPoint key = {x, 0};
        return static_cast<const TInterpPoint*>(BSearchNearest(&key, rows, 4, sizeof rows[0], InterpCompareX));
    };
    EXPECT_EQ(at(5), &rows[0]);
    EXPECT_EQ(at(10), &rows[0]);
    EXPECT_EQ(at(29), &rows[1]);
    EXPECT_EQ(at(30), &rows[2]);
    EXPECT_EQ(at(40), &rows[3]);
    EXPECT_EQ(at(I32Max), &rows[3]);

    const TInterpPoint key = {10, 0};
    EXPECT_EQ(BSearchNearest(nullptr, rows, 4, sizeof rows[0], InterpCompareX), nullptr);
    EXPECT_EQ(BSearchNearest(&key, nullptr, 4, sizeof rows[0], InterpCompareX), nullptr);
    EXPECT_EQ(BSearchNearest(&key, rows, 0, sizeof rows[0], InterpCompareX), nullptr);
    EXPECT_EQ(BSearchNearest(&key, rows, -1, sizeof rows[0], InterpCompareX), nullptr);
    EXPECT_EQ(BSearchNearest(&key, rows, 4, 0, InterpCompareX), nullptr);
    EXPECT_EQ(BSearchNearest(&key, rows, 4, sizeof rows[0], nullptr), nullptr);
}

TEST(MilliTrig, PinnedValues) {
    EXPECT_EQ(SinMilli(90000), 1000);
    EXPECT_EQ(SinMilli(-90000), -1000);
    EXPECT_EQ(SinMilli(360000), 0);
    EXPECT_EQ(SinMilli(0), 0);
    EXPECT_EQ(SinMilli(-360000), 0);
    EXPECT_EQ(SinMilli(249), 0);
    EXPECT_EQ(SinMilli(500), 8);
    EXPECT_EQ(SinMilli(210000), -499);
    EXPECT_EQ(SinMilli(30000), 499);
    EXPECT_EQ(CosMilli(0), 1000);
    EXPECT_EQ(CosMilli(180000), -1000);
    EXPECT_EQ(CosMilli(90000), 0);
    EXPECT_EQ(CosMilli(-250), CosMilli(359750));
}

TEST(MilliTrig, WholeTableAgainstLibm) {
    for (int i = 0; i < 1440; ++i) {
        const int32_t angle = i * 250;
        const long double rad = i * 0.25L * 3.14159265358979323846264L / 180.0L;
        const int32_t s = SinMilli(angle), c = CosMilli(angle);
        // Exact halves are stored as 499 (truncated from just below).
        const long double es = 1000.0L * std::sin(rad), ec = 1000.0L * std::cos(rad);
        if (std::fabs(std::fabs(es) - 500.0L) > 1e-6L) EXPECT_EQ(s, static_cast<int32_t>(es)) << i;
        else EXPECT_EQ(s, es < 0 ? -499 : 499) << i;
        if (std::fabs(std::fabs(ec) - 500.0L) > 1e-6L) EXPECT_EQ(c, static_cast<int32_t>(ec)) << i;
        else EXPECT_EQ(c, ec < 0 ? -499 : 499) << i;
        // Every angle inside the same quarter degree shares the entry.
        EXPECT_EQ(SinMilli(angle + 249), s);
        EXPECT_EQ(SinMilli(angle - 360000), s);
    }
}

TEST(MilliTrig, AnyInt32AngleStaysInRange) {
    for (int32_t a : {I32Min, I32Min + 1, -360001, -1, 1, 359999, 360001, I32Max - 1, I32Max}) {
        EXPECT_GE(SinMilli(a), -1000);
        EXPECT_LE(SinMilli(a), 1000);
        EXPECT_GE(CosMilli(a), -1000);
        EXPECT_LE(CosMilli(a), 1000);
    }
    // INT32_MIN = -5965 * 360000 - 83648: its remainder normalises to 276352.
    EXPECT_EQ(SinMilli(I32Min), SinMilli(276352));
    EXPECT_EQ(SinMilli(I32Max), SinMilli(I32Max % 360000));
}
