// The process-wide print hook and the trace line: every layer writes its
// messages through PrintHook, which the programs and the tests may replace.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

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
