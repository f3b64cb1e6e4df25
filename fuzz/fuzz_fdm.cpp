// Flight-dynamics packet: any 408 bytes convert (counts cut to the layout)
// and store into the block without reading past the packet.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_bench.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBenchBlock();
    // An exact copy, so that reading one byte beyond is caught.
    std::vector<uint8_t> copy(data, data + size);
    TFdmPacket p;
    if (FdmConvert(copy.data(), copy.size(), p) != 0) return 0;
    PrintFdmPacket(p);
    StoreFdmPacket(p, static_cast<uint32_t>(size), static_cast<int64_t>(size));
    return 0;
}
