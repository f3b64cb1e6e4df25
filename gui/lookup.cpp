#include "lookup.h"

#include <cmath>
#include <cstdlib>
#include <limits>

int InterpCompareX(const void* a, const void* b) {
    const int32_t ax = static_cast<const TInterpPoint*>(a)->x;
    const int32_t bx = static_cast<const TInterpPoint*>(b)->x;
    return ax > bx ? 1 : (ax < bx ? -1 : 0);
}

const void* BSearchNearest(const void* key, const void* rows, int n, size_t rowSize, TRowCompare compare) {
    if (!key || !rows || n <= 0 || rowSize == 0 || !compare) return nullptr;
    const unsigned char* base = static_cast<const unsigned char*>(rows);
    int lo = 0;
    int hi = n;
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        const void* row = base + static_cast<size_t>(mid) * rowSize;
        const int c = compare(row, key);
        if (c == 0) return row;
        if (c < 0)
            lo = mid;
        else
            hi = mid;
    }
    return base + static_cast<size_t>(lo) * rowSize;
}

TInterpTable::TInterpTable() : points{} {
    Init(InterpCompareX, 1);
    rangeMode = 0;
}

void TInterpTable::Init(TRowCompare compare, uint8_t tableMode) {
    count = 0;
    comparator = compare;
    mode = tableMode;
    needsSort = 0;
}

void TInterpTable::SortIfNeeded() {
    if (!needsSort) return;
    needsSort = 0;
    if (comparator && count > 1) qsort(points, static_cast<size_t>(count), sizeof points[0], comparator);
}

int TInterpTable::AddPoint(const TInterpPoint& point) {
    if (count >= MaxPoints) return -1;
    if (count > 0) {
        SortIfNeeded();
        const void* hit = BSearchNearest(&point, points, count, sizeof points[0], comparator);
        if (hit && comparator(hit, &point) == 0) return -2;
    }
    points[count++] = point;
    // A single added point may break the order; the next search sorts first.
    needsSort = 1;
    return 0;
}

int TInterpTable::AddPoints(const TInterpPoint* list, int n) {
    if (!list) return -1;
    int added = 0;
    for (int i = 0; i < n && count < MaxPoints; ++i)
        if (AddPoint(list[i]) == 0) ++added;
    if (added > 0) {
        needsSort = 1;
        SortIfNeeded();
    }
    return added;
}

int TInterpTable::GetValue(int32_t x, int32_t* y) {
    if (count <= 0 || count > MaxPoints || !y) return -1;
    // Sorted before the range test, so that the first and last x are the ends.
    SortIfNeeded();
    if (rangeMode == 1 && (x < points[0].x || x > points[count - 1].x)) return -2;

    const TInterpPoint key = {x, 0};
    const TInterpPoint* q =
        static_cast<const TInterpPoint*>(BSearchNearest(&key, points, count, sizeof points[0], comparator));
    if (!q) return -1;
    const TInterpPoint* r = q + 1;
    if (r > &points[count - 1]) {
        r = q;
        q = q > points ? q - 1 : points;
    }
    if (x < q->x || x > r->x) {
        if (rangeMode == 1) return -2;
        if (rangeMode == 0) {
            *y = x < q->x ? q->y : r->y;
            return 0;
        }
    }

    // 64-bit steps: differences of int32 values need 33 bits, their product up to 65.
    const int64_t dy = static_cast<int64_t>(r->y) - q->y;
    const int64_t dx = static_cast<int64_t>(x) - q->x;
    int64_t d = static_cast<int64_t>(r->x) - q->x;
    if (d == 0) d = 1;
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    int64_t v;
    int64_t product;
    if (__builtin_mul_overflow(dy, dx, &product)) {
        // |product| > 2^63 and d < 2^33: the quotient lies far outside int32.
        v = (dy < 0) != (dx < 0) ? lo : hi;
    } else {
        v = product / d + q->y;
    }
    *y = static_cast<int32_t>(v < lo ? lo : (v > hi ? hi : v));
    return 0;
}

const TInterpPoint SlipCurvePoints[TInterpTable::MaxPoints] = {
    {0, 0}, {30, 1}, {35, 2}, {40, 3}, {45, 4}, {50, 8}, {55, 16}, {60, 24}, {70, 70}, {90, 90}};

namespace {
constexpr int TrigSteps = 1440;   // one entry per 0.25 degree
constexpr int QuarterSteps = 360;  // 90 degrees

struct MilliTrig {
    int32_t sine[TrigSteps];
    int32_t cosine[TrigSteps];

    MilliTrig() {
        // One quadrant, mirrored: the table is exactly symmetric and only the
        // first quadrant's truncation could depend on the host's libm.
        int32_t quarter[QuarterSteps + 1];
        const double k = 0.25 * M_PI / 180.0;
        for (int i = 0; i <= QuarterSteps; ++i) quarter[i] = static_cast<int32_t>(std::sin(i * k) * 1000.0);
        // The only exact values in thousandths: sin 0, sin 90 and sin 30, whose
        // entry holds 499 (as 210 degrees holds -499).
        quarter[0] = 0;
        quarter[120] = 499;
        quarter[QuarterSteps] = 1000;
        for (int i = 0; i < TrigSteps; ++i) {
            if (i <= QuarterSteps)
                sine[i] = quarter[i];
            else if (i <= 2 * QuarterSteps)
                sine[i] = quarter[2 * QuarterSteps - i];
            else if (i <= 3 * QuarterSteps)
                sine[i] = -quarter[i - 2 * QuarterSteps];
            else
                sine[i] = -quarter[TrigSteps - i];
        }
        for (int i = 0; i < TrigSteps; ++i) cosine[i] = sine[(i + QuarterSteps) % TrigSteps];
    }
};

const MilliTrig& Tables() {
    static const MilliTrig tables;
    return tables;
}

int TrigIndex(int32_t angle) {
    // The remainder never overflows (the divisor is not -1), even for INT32_MIN.
    int32_t a = angle % 360000;
    if (a < 0) a += 360000;
    return a / 250;
}
}  // namespace

int32_t SinMilli(int32_t angle) { return Tables().sine[TrigIndex(angle)]; }
int32_t CosMilli(int32_t angle) { return Tables().cosine[TrigIndex(angle)]; }
