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
// Writes to the diagnostic log once a program has opened it (error lines, whose level is
// "Error: ", to standard error as well), else to standard error.
void DefaultPrintHook(const char* text);
extern TPrintHook PrintHook;

// The programs' diagnostic log in their working directory, and the environment variable
// that keeps the lines on standard error instead (any value but "" and "0").
inline constexpr char TraceLogName[] = "diagnostics.log";
inline constexpr char TraceConsoleVariable[] = "DASHVIEW_TRACE";
// Sends the default hook's lines to TraceLogName unless TraceConsoleVariable is set: started
// anew when `fresh` or when it has grown past a few megabytes, else appended to. 0, or -1
// when the file cannot be opened (the lines stay on standard error).
int TraceLogOpen(bool fresh);
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
