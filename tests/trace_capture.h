// Trace lines of the code under test, kept instead of printed.
#pragma once

#include <string>
#include <vector>

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

// One entry a call, for tests that look at the lines in order: PrintHook = CaptureLine.
inline std::vector<std::string> TracedLines;
inline void CaptureLine(const char* text) { TracedLines.push_back(text); }
