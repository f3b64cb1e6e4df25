// Window database loader: any file image is either taken whole or refused, and
// what is taken encodes back to the same records.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fgwindb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A home that does not exist: nothing is read from or written to disk.
    WindowDatabase db("fuzz", "/nonexistent/fuzz-home");
    if (db.Decode(data, size) == 0) {
        if (db.count < 1 || db.count > WindowDbMaxRecords) abort();
        const std::vector<uint8_t> image = db.Encode();
        if (image.size() > size || std::memcmp(image.data(), data, image.size()) != 0) abort();
        WindowDatabase again("fuzz", "/nonexistent/fuzz-home");
        if (again.Decode(image.data(), image.size()) != 0 || again.count != db.count) abort();
        again.Decode(nullptr, 0);

        int x = 1, y = 2, w = 3, h = 4;
        db.Register(x, y, w, h, "Main", WindowDbUsePosition | WindowDbUseSize);
        db.SetIconPosition(5, 6, "Main");
        db.GetIconPosition(x, y, "Main");
    }
    db.Decode(nullptr, 0);  // empty: the destructor writes nothing
    return 0;
}
