// Property replies: any reply text yields a bounded value or none, and the
// get callback stores it into its row's channel or refuses it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fgprops.h"
#include "fuzz_bench.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBenchBlock();
    if (size < 1) return 0;
    int row = data[0] % FGPropRows;
    std::string reply(reinterpret_cast<const char*>(data + 1), size - 1);  // may hold NULs
    char value[PropReplySize + 1];
    if (ParsePropReply(reply.c_str(), FGPropTable[row].kind, value, sizeof value) == 0) FgPropGet(row, value);
    char small[8];
    ParsePropReply(reply.c_str(), 4, small, sizeof small);
    char out[64];
    FgPropSet(row, out, sizeof out);
    return 0;
}
