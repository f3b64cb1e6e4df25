// Integer lookup table with linear interpolation (the slip curve) and sine and
// cosine in thousandths for angles in thousandths of a degree.
#pragma once

#include <cstddef>
#include <cstdint>

struct TInterpPoint {
    int32_t x;
    int32_t y;
};

// qsort-style comparator over two rows.
typedef int (*TRowCompare)(const void* a, const void* b);

// Ascending x: 1 when a.x > b.x, -1 when smaller, 0 when equal.
int InterpCompareX(const void* a, const void* b);

// Returns the row equal to key, else the nearest row below it (the first row when
// key lies below all); null for a null argument or zero (or negative) n or size.
const void* BSearchNearest(const void* key, const void* rows, int n, size_t rowSize, TRowCompare compare);

class TInterpTable {
public:
    static constexpr int MaxPoints = 10;

    TInterpTable();
    void Init(TRowCompare compare, uint8_t mode);

    // 0 added, -1 table full, -2 a point with the same x exists.
    int AddPoint(const TInterpPoint& point);
    // -1 for a null array, else the number of points added (sorted afterwards).
    int AddPoints(const TInterpPoint* points, int n);
    // 0 with *y written, -1 empty table (or failed search), -2 outside the range in range mode 1.
    int GetValue(int32_t x, int32_t* y);

    int32_t count;
    TRowCompare comparator;
    uint8_t mode;
    TInterpPoint points[MaxPoints];
    uint8_t needsSort;
    uint8_t rangeMode;  // 0 clamp to the end point, 1 fail with -2, else extrapolate

private:
    void SortIfNeeded();
};

// The slip curve: side slip to slip-indicator deflection (range mode 2).
constexpr int SlipCurveRangeMode = 2;
extern const TInterpPoint SlipCurvePoints[TInterpTable::MaxPoints];

// Sine and cosine in thousandths (-1000..1000), one table entry per 0.25 degree.
int32_t SinMilli(int32_t angle);
int32_t CosMilli(int32_t angle);
