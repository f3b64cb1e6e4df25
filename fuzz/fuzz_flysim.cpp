// Recorded-flight reader: any file plays record by record into the block,
// stores only what its entries allow and never reads outside a record.
#include <cstddef>
#include <cstdint>

#include "fuzz_bench.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBenchBlock();
    static std::string path = "/tmp/fuzz_flysim_" + std::to_string(getpid()) + ".dat";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    if (OpenLoopFile(path.c_str()) != 0) return 0;
    // Each record takes at least 16 bytes; two more rounds see the end and the reload.
    for (size_t round = 0; round < size / 16 + 3; ++round) PlayLoopRecord();
    CloseLoopFile();
    remove(path.c_str());
    return 0;
}
