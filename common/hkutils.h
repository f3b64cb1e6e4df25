// Shared utilities: sensor-type catalogue, fixed-point trigonometry, integer
// power, fixed-point text and the trace line with its print hook.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

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

// ---- trace line and print hook ----
struct TTraceOrigin {
    const char* level;  // "Error: ", "Debug: " or null
    const char* file;   // source file or null
    const char* func;   // function or null
    int32_t line;       // <= 0: absent
};

constexpr size_t TraceLineSize = 1024;

typedef void (*TPrintHook)(const char* text);
void DefaultPrintHook(const char* text);
extern TPrintHook PrintHook;
// A line through PrintHook in printf form, cut at TraceLineSize; the caller's
// text carries its own newline.
void HookPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void HookVPrintf(const char* format, va_list ap) __attribute__((format(printf, 1, 0)));

int TraceLog(const TTraceOrigin* origin, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// File name relative to the source tree (the prefix is worked out once).
const char* TraceShortFile(const char* file);

#define TRACE_AT(lvl, ...)                                                   \
    do {                                                                     \
        TTraceOrigin o_ = {lvl, TraceShortFile(__FILE__), __func__, __LINE__}; \
        TraceLog(&o_, __VA_ARGS__);                                          \
    } while (0)
#define TRACE_ERR(...) TRACE_AT("Error: ", __VA_ARGS__)
#define TRACE_DBG(...) TRACE_AT("Debug: ", __VA_ARGS__)
