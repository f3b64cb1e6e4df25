#include "hkutils.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "chandesc.h"
#include "settingvars.h"

// ---- sensor-type catalogue ----

const TSensorType SensorTypeTable[SensorTypeRows] = {
    {3, 40, echTempOAT, {"4305-28", "4205-39", "4205-39"}},
    {17, 38, echTempOAT, {"4305-03", "4205-05", "4205-05"}},
    {18, 35, echTempOAT, {"4305-04", "4205-06", "4205-06"}},
    {19, 39, echTempOAT, {"4305-14", "4205-16", "4205-16"}},
    {20, 33, echTempOAT, {"4305-15", "4205-17", "4205-17"}},
    {4, 41, echTempOAT, {"4305-31", "4205-42", "4205-42"}},
    {5, 84, echPressMap, {"4305-24", "4205-33", "4205-33"}},
    {6, 17, echInternalFuelLev1Raw, {"4305-19", "4205-21", "4205-21"}},
    {7, 18, echInternalFuelLev1Raw, {"4305-20", "4205-22", "4205-22"}},
    {8, 18, echInternalFuelLev1Raw, {"4305-21", "4205-23", "4205-23"}},
    {12, 85, echPressFuel, {"4305-26", "4205-37", "4205-37"}},
    {13, 86, echPressFuel, {"4305-27", "4205-38", "4205-38"}},
    {16, 80, echPressFuel, {"4305-06", "4205-08", "4205-08"}},
    {27, 83, echPressFuel, {"4305-29", "4205-40", "4205-40"}},
    {34, 91, echPressFuel, {"4305-33", "4205-45", "4205-45"}},
    {35, 87, echPressFuel, {"BD 6bar", "BD 6bar", "BD 6bar"}},
    {14, 81, echPressOil, {"4305-13", "4205-15", "4205-15"}},
    {15, 82, echPressOil, {"4305-05", "4205-07", "4205-07"}},
    {16, 80, echPressOil, {"4305-06", "4205-08", "4205-08"}},
    {27, 83, echPressOil, {"4305-29", "4205-40", "4205-40"}},
    {36, 87, echPressOil, {"BD 6bar", "BD 6bar", "BD 6bar"}},
    {17, 38, echTempOil, {"4305-03", "4205-05", "4205-05"}},
    {18, 35, echTempOil, {"4305-04", "4205-06", "4205-06"}},
    {19, 39, echTempOil, {"4305-14", "4205-16", "4205-16"}},
    {20, 33, echTempOil, {"4305-15", "4205-17", "4205-17"}},
    {28, 40, echTempOil, {"4305-28", "4205-39", "4205-39"}},
    {29, 41, echTempOil, {"4305-31", "4205-42", "4205-42"}},
    {21, 64, echThermo0, {"4305-02H2", "4205-04H2", "4205-04H2"}},
    {22, 64, echThermo0, {"4305-02H4", "4205-04H4", "4205-04H4"}},
    {23, 64, echThermo0, {"4305-02H8", "4205-04H8", "4205-04H8"}},
    {24, 64, echThermo0, {"4305-25", "4205-36", "4205-36"}},
    {30, 65, echThermo0, {"Type K", "Type K", "Type K"}},
    {25, 65, echThermo1, {"4305-01", "4205-03", "4205-03"}},
    {26, 65, echThermo1, {"4305-16", "4205-18", "4205-18"}},
    {31, 64, echThermo1, {"Type J", "Type J", "Type J"}},
};

// Row n of the list, or null when the list is shorter.
static const TSensorType* SensorTypeRow(int32_t listKey, int n) {
    if (n < 0) return nullptr;
    for (const TSensorType& row : SensorTypeTable) {
        if (row.listKey != listKey) continue;
        if (n-- == 0) return &row;
    }
    return nullptr;
}

uint16_t SensorTypeCode(int32_t listKey, int n) {
    const TSensorType* row = SensorTypeRow(listKey, n);
    return row ? row->code : 0;
}

int32_t SensorTypeCharacteristic(int32_t listKey, int n) {
    const TSensorType* row = SensorTypeRow(listKey, n);
    return row ? row->characteristic : 0;
}

const char* SensorTypeName(int32_t listKey, int n, int deviceType) {
    const TSensorType* row = SensorTypeRow(listKey, n);
    if (!row) return "";
    switch (deviceType) {
        case DeviceEms: case DeviceEms2: return row->name[0];
        case DeviceEfis: return row->name[1];
        case DeviceEfisEms: case DeviceEfisEms2: return row->name[2];
        default: return "";
    }
}

int SensorTypeIndexByCode(int32_t listKey, uint16_t code) {
    int pos = 0;
    for (const TSensorType& row : SensorTypeTable) {
        if (row.listKey != listKey) continue;
        if (row.code == code) return pos;
        ++pos;
    }
    return 0;
}

int SensorTypeIndexByChar(int32_t listKey, int32_t characteristic) {
    int pos = 0;
    for (const TSensorType& row : SensorTypeTable) {
        if (row.listKey != listKey) continue;
        if (row.characteristic == characteristic) return pos;
        ++pos;
    }
    return 0;
}

// ---- fixed-point trigonometry ----

namespace {
struct TrigTables {
    int32_t sine[3600];
    int32_t cosine[3600];
    int32_t tangent[3600];
    TrigTables() {
        const double k = M_PI / 1800.0;
        for (int a = 0; a < 3600; ++a) {
            sine[a] = static_cast<int32_t>(std::sin(a * k) * 65536.0);
            cosine[a] = static_cast<int32_t>(std::cos(a * k) * 65536.0);
            tangent[a] = (a == 900 || a == 2700) ? 0 : static_cast<int32_t>(std::tan(a * k) * 65536.0);
        }
        // Entries whose exact value is a multiple of 32768 are pinned, so that
        // the tables never depend on the last bit of the host's libm.
        static const int16_t sinPins[][2] = {{0, 0}, {300, 1}, {900, 2}, {1500, 1},
                                            {1800, 0}, {2100, -1}, {2700, -2}, {3300, -3}};
        static const int32_t sinVals[] = {0, 32767, 65536, 32767, 0, -32767, -65536, -32768};
        for (size_t i = 0; i < sizeof sinPins / sizeof sinPins[0]; ++i) sine[sinPins[i][0]] = sinVals[i];
        static const int16_t cosAt[] = {0, 600, 900, 1200, 1800, 2400, 2700, 3000};
        static const int32_t cosVals[] = {65536, 32768, 0, -32767, -65536, -32768, 0, 32768};
        for (size_t i = 0; i < sizeof cosAt / sizeof cosAt[0]; ++i) cosine[cosAt[i]] = cosVals[i];
        static const int16_t tanAt[] = {0, 1800, 450, 1350, 2250, 3150};
        static const int32_t tanVals[] = {0, 0, 65535, -65536, 65535, -65536};
        for (size_t i = 0; i < sizeof tanAt / sizeof tanAt[0]; ++i) tangent[tanAt[i]] = tanVals[i];
    }
};

const TrigTables& Trig() {
    static const TrigTables tables;
    return tables;
}

int ReduceAngle(int angle) {
    int r = angle % 3600;
    return r < 0 ? r + 3600 : r;
}
}  // namespace

int32_t FixSin(int angle) { return Trig().sine[ReduceAngle(angle)]; }
int32_t FixCos(int angle) { return Trig().cosine[ReduceAngle(angle)]; }
int32_t FixTan(int angle) { return Trig().tangent[ReduceAngle(angle)]; }

int IntPower(int base, int exponent) {
    // Square-and-multiply in unsigned arithmetic: the same wrapped result as
    // repeated multiplication, without signed overflow or a long loop.
    uint32_t result = 1;
    uint32_t b = static_cast<uint32_t>(base);
    while (exponent > 0) {
        if (exponent & 1) result *= b;
        b *= b;
        exponent >>= 1;
    }
    return static_cast<int>(result);
}

int FixToText(char* buffer, int32_t value, int decimals, size_t capacity) {
    if (!buffer || capacity == 0) return 0;
    if (decimals > 10) decimals = 10;
    int n;
    if (decimals <= 0) {
        n = snprintf(buffer, capacity, "%d", value);
    } else {
        // Wide arithmetic: 10^10 and |INT_MIN| do not fit in 32 bits.
        int64_t c = 1;
        for (int i = 0; i < decimals; ++i) c *= 10;
        int64_t v = value;
        int64_t whole = v / c;
        int64_t frac = (v < 0 ? -v : v) % c;
        const char* sign = (v < 0 && whole == 0) ? "- " : "";
        n = snprintf(buffer, capacity, "%s%lld.%0*lld", sign, static_cast<long long>(whole), decimals,
                     static_cast<long long>(frac));
    }
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n) < capacity ? n : static_cast<int>(capacity - 1);
}
