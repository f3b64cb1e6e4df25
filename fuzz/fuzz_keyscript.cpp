// The key script that DASHVIEW_KEYS names is outside input: any bytes must parse or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display.h"
#include "hkutils.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrintHook = [](const char*) {};  // rejected scripts are expected here: keep the run quiet
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<TDisplayScriptItem> items;
    int32_t badLine = 0;
    const int rc = DisplayParseKeys(reinterpret_cast<const char*>(data), size, &items, &badLine);
    if (rc == DISPLAY_OK) {
        for (const auto& item : items) {
            const TDisplayEvent& e = item.event;
            if (e.type == DisplayEventChar && (e.code < 1 || e.code > 255)) __builtin_trap();
            if (e.type == DisplayEventKey && (e.code <= DisplayKeyNone || e.code >= DisplayKeyCount))
                __builtin_trap();
            if (item.waitMs < 0) __builtin_trap();
        }
    } else if (badLine < 1) {
        __builtin_trap();
    }
    return 0;
}
