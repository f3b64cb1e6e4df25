// Configuration files: the "ConF" header, section packets, the reader TConfig,
// the file copy and the writer of whole files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "atomicsave.h"
#include "lebytes.h"
#include "unique_fd.h"

// ---- file header, 64 bytes little-endian ----
constexpr uint32_t ConfigMagic = 0x466E6F43;  // "ConF"
constexpr uint32_t ConfigHeaderSize = 64;
constexpr uint32_t ConfigHeaderMaxSize = 1024;
constexpr uint32_t ConfigFormatVersion = 1;

struct ConfigFileHeader {
    uint32_t magic;         // 0  "ConF"
    uint32_t headerLength;  // 4  64
    uint32_t one;           // 8  1
    uint32_t version;       // 12 1; readers accept below 2
    uint32_t fileType;      // 16 0x1000 .. 0x5000
    uint32_t time;          // 20 seconds since 1970
    uint32_t unitValue;     // 24 first word of device information 0x7002
    uint8_t reserved[32];   // 28 zero
    uint16_t crc;           // 60 CRC of bytes 0..59
    uint16_t zero;          // 62
};
static_assert(sizeof(ConfigFileHeader) == 64, "file header layout");

void EncodeConfigFileHeader(const ConfigFileHeader& h, uint8_t out[ConfigHeaderSize]);  // fills in the CRC
void DecodeConfigFileHeader(const uint8_t in[ConfigHeaderSize], ConfigFileHeader* h);

// ---- section packet: 16-byte head, L data bytes, u16 CRC over head and data ----
constexpr uint32_t SetupSectHeadSize = 16;
constexpr uint32_t SetupSectBufferSize = 2050;
constexpr uint32_t SetupSectMaxData = SetupSectBufferSize - SetupSectHeadSize - 2;  // 2032
constexpr uint16_t SetupSectMarker = 0xFFFF;

struct SetupSectPacket {
    uint16_t marker;   // 0  0xFFFF
    uint16_t SSID;     // 2
    uint16_t Par;      // 4
    uint16_t length;   // 6  L, data bytes
    uint32_t time;     // 8  seconds since 1970
    uint8_t one;       // 12 1
    uint8_t zero;      // 13 0
    uint16_t headCrc;  // 14 CRC of bytes 0..13
};
static_assert(sizeof(SetupSectPacket) == 16, "packet head layout");

inline uint32_t SetupSectPacketSize(uint32_t dataLength) { return dataLength + SetupSectHeadSize + 2; }
void EncodeSetupSectHead(const SetupSectPacket& h, uint8_t out[SetupSectHeadSize]);  // as given, CRC included
void DecodeSetupSectHead(const uint8_t in[SetupSectHeadSize], SetupSectPacket* h);
// Marker, the bytes 1 and 0 and the head CRC; SSID, Par, L and time stay as given.
void CompleteSetupSectHead(SetupSectPacket* h);
// Writes a whole packet (head completed, data, CRC) into out, which holds L + 18 bytes.
void BuildSetupSectPacket(SetupSectPacket* h, const uint8_t* data, uint8_t* out);

// 0; -1 fewer bytes than needed (16 for the head, L + 18 for the whole); -2 no 0xFFFF marker; -5 CRC mismatch.
int SetupSectCheckCRCPacket(const uint8_t* packet, uint32_t available, int headOnly);

// ---- file kinds and names ----
// A file's condition (TConfig::Condition): damaged is a header or packet that fails its
// checks, or an end cut off inside a packet.
enum { ConfigFileWhole = 0, ConfigFileMissing = 1, ConfigFileDamaged = -1 };

constexpr int ConfigKindCount = 5;
extern const char* const ConfigKindBase[ConfigKindCount];  // mask bit 1 << i
inline uint16_t ConfigKindOfBit(int i) { return static_cast<uint16_t>((i + 1) << 12); }
inline uint16_t ConfigKindOf(uint16_t ssid) { return ssid & 0xF000; }
// "%s%s.dat" / "%s%s.bck"; a null prefix is empty.
std::string ConfigFileName(const char* prefix, const char* base, const char* extension);

// ---- reader ----

class TConfig {
public:
    explicit TConfig(const char* fileName);
    ~TConfig() = default;
    TConfig(const TConfig&) = delete;
    TConfig& operator=(const TConfig&) = delete;

    int OpenConfig();                  // own file "rb": 0, -1 no name or open failure
    int OpenConfig(const char* name);  // closes, then opens the named file
    void CloseConfig();
    bool IsOpen() const { return m_File != nullptr; }

    // 0; -2 no name; -1 open failed; -4 short read; -10 magic; -11 header length; -12 CRC; -13 version.
    int CheckFileHeader(const char* name, uint32_t* fileType);
    int GetFirstSection(SetupSectPacket* head, const uint8_t** data);
    // 0; -1 no file; -4 short read (end); -5 head failed; -3 data CRC failed.
    int GetNextSection(SetupSectPacket* head, const uint8_t** data);
    int FindSection(uint16_t SSID, uint16_t Par, uint16_t length);  // 0; -1 no file; -2 header bad or absent
    // 0 with a pointer into this object's buffer; -1 open failed; -2 absent; -3 not valid.
    int GetSection(uint16_t SSID, uint16_t Par, uint16_t length, const uint8_t** data);
    int GetSectionBCK(uint16_t SSID, uint16_t Par, uint16_t length, const uint8_t** data, const char* backupName);

    int PacketState() const { return m_State; }  // 1 valid, -3 head failed, -4 data failed, 0 none
    // The open file walked whole: ConfigFileWhole, ConfigFileMissing (not open) or ConfigFileDamaged.
    int Condition();
    const uint8_t* CurrentPacket() const;         // the valid packet read last (head first), or null

private:
    int ReadHeader(uint32_t* fileType);
    int FindSectionIn(uint16_t SSID, uint16_t Par, uint16_t length, const uint8_t** data);

    std::string m_FileName;
    UniqueFile m_File;
    uint8_t m_Buffer[SetupSectBufferSize];
    const uint8_t* m_Packet = nullptr;
    int m_State = 0;
};

// ---- writer ----
// The file output of configuration files, replaceable so that a full disk can be simulated.
struct TConfigWriter {
    size_t (*Write)(const char* target, int fd, const void* data, size_t size);  // bytes written
    int (*Close)(const char* target, int fd);  // sync and close: 0 or -1
};
extern TConfigWriter ConfigWriter;
extern const TConfigWriter DefaultConfigWriter;

// A configuration file being written: a temporary beside the target that replaces the
// target only when every byte reached the disk, so the target is old or new, never half.
class TConfigOutFile {
public:
    explicit TConfigOutFile(const std::string& target);  // creates the temporary
    TConfigOutFile(const TConfigOutFile&) = delete;
    TConfigOutFile& operator=(const TConfigOutFile&) = delete;

    bool IsOpen() const { return m_File.IsOpen(); }
    bool Write(const void* data, size_t size);  // false on a short write
    int Commit();                               // 0, or -1 when closing or renaming failed

private:
    std::string m_Target;
    TAtomicFile m_File;  // uncommitted: removed
    bool m_Failed = false;
};

// 0; -1 a name missing; -2 source not readable; -3 destination not writable; -4 not all bytes copied.
int CopyConfigFile(const char* source, const char* destination);
