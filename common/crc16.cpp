#include "crc16.h"

#include <array>

namespace {
constexpr std::array<uint16_t, 256> MakeCrcTable() {
    std::array<uint16_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
        table[i] = crc;
    }
    return table;
}
constexpr std::array<uint16_t, 256> CrcTable = MakeCrcTable();
}  // namespace

uint16_t SetupSectCRC16(const void* data, uint32_t length) {
    if (!data) return 0xFFFF;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint16_t crc = 0;
    for (uint32_t i = 0; i < length; ++i) crc = static_cast<uint16_t>((crc >> 8) ^ CrcTable[(crc ^ p[i]) & 0xFF]);
    return crc;
}
