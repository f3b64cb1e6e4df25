// Checks a configuration file byte by byte: its header and every packet's CRCs,
// and that the packets fill the file exactly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "configfile.h"
#include "crc16.h"
#include "lebytes.h"

// "" when the file is whole and valid, otherwise what is wrong; a missing file is "missing".
inline std::string CheckConfigFile(const std::string& path, uint32_t kind) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "missing";
    const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    char why[160];
    if (b.size() < ConfigHeaderSize) return "short header";
    if (CfgGet32(&b[0]) != ConfigMagic || CfgGet32(&b[4]) != ConfigHeaderSize || CfgGet32(&b[12]) >= 2)
        return "header fields";
    if (CfgGet16(&b[60]) != SetupSectCRC16(b.data(), 60)) return "header CRC";
    if (CfgGet32(&b[16]) != kind) return "file type";
    size_t pos = ConfigHeaderSize;
    while (pos < b.size()) {
        const uint32_t avail = static_cast<uint32_t>(b.size() - pos);
        if (SetupSectCheckCRCPacket(&b[pos], avail, 1) != 0) {
            snprintf(why, sizeof why, "packet head at %zu", pos);
            return why;
        }
        if (SetupSectCheckCRCPacket(&b[pos], avail, 0) != 0) {
            snprintf(why, sizeof why, "packet data at %zu", pos);
            return why;
        }
        const uint16_t ssid = CfgGet16(&b[pos + 2]);
        if (ConfigKindOf(ssid) != kind) {
            snprintf(why, sizeof why, "section %04x of another kind at %zu", ssid, pos);
            return why;
        }
        pos += SetupSectPacketSize(CfgGet16(&b[pos + 6]));
    }
    return "";
}

// Every .dat and .bck of the five kinds under prefix that exists; "" when all are valid.
inline std::string CheckConfigFiles(const std::string& prefix) {
    std::string bad;
    for (int i = 0; i < ConfigKindCount; ++i)
        for (const char* ext : {".dat", ".bck"}) {
            const std::string name = ConfigFileName(prefix.c_str(), ConfigKindBase[i], ext);
            const std::string r = CheckConfigFile(name, ConfigKindOfBit(i));
            if (!r.empty() && r != "missing") bad += name + ": " + r + "\n";
        }
    return bad;
}

// The data of section (ssid, par) in a configuration file's bytes; empty when absent.
inline std::vector<uint8_t> SectionData(const std::vector<uint8_t>& b, uint16_t ssid, uint16_t par) {
    size_t pos = ConfigHeaderSize;
    while (pos + 18 <= b.size()) {
        const uint16_t len = CfgGet16(&b[pos + 6]);
        if (pos + SetupSectPacketSize(len) > b.size()) break;
        if (CfgGet16(&b[pos + 2]) == ssid && CfgGet16(&b[pos + 4]) == par)
            return std::vector<uint8_t>(b.begin() + long(pos) + 16, b.begin() + long(pos) + 16 + len);
        pos += SetupSectPacketSize(len);
    }
    return {};
}
