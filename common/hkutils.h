// Shared utilities: sensor-type catalogue, fixed-point trigonometry, integer
// power and fixed-point text; the trace line comes from trace.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "trace.h"

// ---- sensor-type catalogue ----
struct TSensorType {
    uint16_t code;           // sensor type code stored in the settings
    int32_t characteristic;  // characteristic number for the measuring unit
    int32_t listKey;         // channel id of the input this list serves
    const char* name[3];     // part names: devices 30/34, 27, 29/33
};

constexpr int SensorTypeRows = 35;
extern const TSensorType SensorTypeTable[SensorTypeRows];

uint16_t SensorTypeCode(int32_t listKey, int n);
int32_t SensorTypeCharacteristic(int32_t listKey, int n);
const char* SensorTypeName(int32_t listKey, int n, int deviceType);
int SensorTypeIndexByCode(int32_t listKey, uint16_t code);
int SensorTypeIndexByChar(int32_t listKey, int32_t characteristic);

// ---- fixed-point trigonometry: angle in tenths of a degree, result 16.16 ----
int32_t FixSin(int angle);
int32_t FixCos(int angle);
int32_t FixTan(int angle);

// 1 times base, exponent times, wrapping in 32 bits; 1 for exponent <= 0.
int IntPower(int base, int exponent);

// Longest text FixToText writes, NUL included ("- " + 10 digits + "." + 10 digits).
constexpr size_t FixTextSize = 32;
// Writes value / 10^decimals as decimal text; returns the characters written.
int FixToText(char* buffer, int32_t value, int decimals, size_t capacity = FixTextSize);
