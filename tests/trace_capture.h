// Trace lines of the code under test, kept instead of printed.
#pragma once

#include <string>

#include "hkutils.h"

inline std::string Traced;

// Collects the trace lines written while it lives into Traced; the hook before comes back.
struct TTraceCapture {
    TPrintHook saved = PrintHook;
    TTraceCapture() {
        Traced.clear();
        PrintHook = [](const char* text) { Traced += text; };
    }
    ~TTraceCapture() { PrintHook = saved; }
    TTraceCapture(const TTraceCapture&) = delete;
    TTraceCapture& operator=(const TTraceCapture&) = delete;
};
