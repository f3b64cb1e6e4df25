// CRC-16/ARC of the configuration packets and the terrain tiles.
#pragma once

#include <cstdint>

// Reflected polynomial 0xA001, initial value 0, no final XOR; a null pointer gives 0xFFFF.
uint16_t SetupSectCRC16(const void* data, uint32_t length);
