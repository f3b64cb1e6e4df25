// Terrain tile reader: any bytes are read or refused with a code, never read
// outside the file nor written outside the window's buffer. Each input is
// read as it stands, then once more with its checksum made right and its
// elevation array padded out, so that the rows are reached as well.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "bytes_file.h"
#include "crc16.h"
#include "gui_terr/terrain.h"
#include "hkutils.h"

namespace {

void Quiet(const char*) {}

struct Part {
    int32_t col, row, width, height;
};

void ReadAs(const std::vector<uint8_t>& file, const Part& p) {
    FILE* f = FuzzBytesFile(file.data(), file.size());
    if (!f) return;
    // The part lands away from the buffer's corner, with a margin all round.
    TLoadTeren l;
    l.Stride = 300 + 6;
    l.BufHeight = 300 + 4;
    l.PosCol = 3;
    l.PosRow = 2;
    l.Buffer.assign(size_t(l.Stride) * size_t(l.BufHeight), 0);
    l.ReadTileFile(f, "fuzz.hkm", p.col, p.row, p.width, p.height);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrintHook = Quiet;
    std::vector<uint8_t> file(data, data + size);
    // Which part to read comes from header bytes the reader skips (16..19).
    Part p = {0, 0, 300, 300};
    if (size >= 20) {
        p.col = data[16] * 300 / 256;
        p.row = data[17] * 300 / 256;
        p.width = 1 + data[18] % (300 - p.col);
        p.height = 1 + data[19] % (300 - p.row);
    }
    ReadAs(file, p);
    if (size < TileHeaderSize) return 0;
    uint8_t* h = file.data();
    const uint32_t n = TileGetU32(h + offsetof(THkmHeader, crcLength));
    TilePutU16(h + offsetof(THkmHeader, crc), SetupSectCRC16(h, n < TileHeaderSize ? n : TileHeaderSize));
    const uint32_t offset = TileGetU32(h + offsetof(THkmHeader, arrayOffset));
    if (offset <= 65536 && file.size() < offset + size_t(TileArrayBytes)) file.resize(offset + size_t(TileArrayBytes), 0x5A);
    ReadAs(file, p);
    return 0;
}
