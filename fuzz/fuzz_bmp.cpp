// BMP decoder: any bytes load or are refused with a result, never read or
// write outside a buffer, never hang.
#include "picture_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_picture(data, size, "fuzz.bmp");
    return 0;
}
