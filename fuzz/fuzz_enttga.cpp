// The entertainment screen's TGA reader: any file loads or is refused, never reads or
// writes outside a buffer, never allocates beyond the picture limits.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "entertainer.h"
#include "fgbitmap.h"
#include "hkutils.h"

namespace {

void Quiet(const char*) {}

const char* InputPath() {
    static char path[] = "/tmp/fuzz_enttga_XXXXXX";
    static const int fd = [] {
        const int f = mkstemp(path);
        if (f >= 0) std::atexit([] { unlink(path); });
        return f;
    }();
    return fd >= 0 ? path : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = InputPath();
    if (!path) return 0;
    PrintHook = Quiet;
    FILE* f = std::fopen(path, "wb");
    if (!f) return 0;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    std::unique_ptr<FGBitmap> pic;
    LoadTgaPicture(pic, path);
    return 0;
}
