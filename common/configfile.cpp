#include "configfile.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "configsetting.h"
#include "crc16.h"
#include "hkutils.h"
#include "readfile.h"

const char* const ConfigKindBase[ConfigKindCount] = {"statistic", "runtime", "checklist", "setup", "calib"};

std::string ConfigFileName(const char* prefix, const char* base, const char* extension) {
    return std::string(prefix ? prefix : "") + (base ? base : "") + extension;
}

// ---- layouts ----

void EncodeConfigFileHeader(const ConfigFileHeader& h, uint8_t out[ConfigHeaderSize]) {
    memset(out, 0, ConfigHeaderSize);
    CfgPut32(out + 0, h.magic);
    CfgPut32(out + 4, h.headerLength);
    CfgPut32(out + 8, h.one);
    CfgPut32(out + 12, h.version);
    CfgPut32(out + 16, h.fileType);
    CfgPut32(out + 20, h.time);
    CfgPut32(out + 24, h.unitValue);
    memcpy(out + 28, h.reserved, sizeof h.reserved);
    CfgPut16(out + 60, SetupSectCRC16(out, 60));
    CfgPut16(out + 62, h.zero);
}

void DecodeConfigFileHeader(const uint8_t in[ConfigHeaderSize], ConfigFileHeader* h) {
    h->magic = CfgGet32(in + 0);
    h->headerLength = CfgGet32(in + 4);
    h->one = CfgGet32(in + 8);
    h->version = CfgGet32(in + 12);
    h->fileType = CfgGet32(in + 16);
    h->time = CfgGet32(in + 20);
    h->unitValue = CfgGet32(in + 24);
    memcpy(h->reserved, in + 28, sizeof h->reserved);
    h->crc = CfgGet16(in + 60);
    h->zero = CfgGet16(in + 62);
}

void EncodeSetupSectHead(const SetupSectPacket& h, uint8_t out[SetupSectHeadSize]) {
    CfgPut16(out + 0, h.marker);
    CfgPut16(out + 2, h.SSID);
    CfgPut16(out + 4, h.Par);
    CfgPut16(out + 6, h.length);
    CfgPut32(out + 8, h.time);
    out[12] = h.one;
    out[13] = h.zero;
    CfgPut16(out + 14, h.headCrc);
}

void DecodeSetupSectHead(const uint8_t in[SetupSectHeadSize], SetupSectPacket* h) {
    h->marker = CfgGet16(in + 0);
    h->SSID = CfgGet16(in + 2);
    h->Par = CfgGet16(in + 4);
    h->length = CfgGet16(in + 6);
    h->time = CfgGet32(in + 8);
    h->one = in[12];
    h->zero = in[13];
    h->headCrc = CfgGet16(in + 14);
}

void CompleteSetupSectHead(SetupSectPacket* h) {
    h->marker = SetupSectMarker;
    h->one = 1;
    h->zero = 0;
    uint8_t raw[SetupSectHeadSize];
    EncodeSetupSectHead(*h, raw);
    h->headCrc = SetupSectCRC16(raw, 14);
}

void BuildSetupSectPacket(SetupSectPacket* h, const uint8_t* data, uint8_t* out) {
    CompleteSetupSectHead(h);
    EncodeSetupSectHead(*h, out);
    if (h->length) memcpy(out + SetupSectHeadSize, data, h->length);
    uint32_t crcAt = SetupSectHeadSize + h->length;
    CfgPut16(out + crcAt, SetupSectCRC16(out, crcAt));
}

int SetupSectCheckCRCPacket(const uint8_t* packet, uint32_t available, int headOnly) {
    if (!packet || available < SetupSectHeadSize) return -1;
    if (CfgGet16(packet) != SetupSectMarker) return -2;
    uint32_t crcAt = 14;
    if (!headOnly) {
        crcAt = SetupSectHeadSize + CfgGet16(packet + 6);
        if (available < crcAt + 2) return -1;
    }
    uint16_t stored = CfgGet16(packet + crcAt), computed = SetupSectCRC16(packet, crcAt);
    if (stored != computed) {
        TRACE_ERR("SetupSectCheckCRCPacket: CRC ERROR: crc1 = %04x crc2 = %04x", stored, computed);
        return -5;
    }
    return 0;
}

// ---- reader ----

namespace {
// Reads and checks a file header at the current position.
int ReadConfigHeader(FILE* f, uint32_t* fileType) {
    uint8_t hdr[ConfigHeaderMaxSize];
    if (fread(hdr, 1, 8, f) != 8) return -4;
    if (CfgGet32(hdr) != ConfigMagic) return -10;
    uint32_t length = CfgGet32(hdr + 4);
    // Shorter than the fields it must hold, or longer than the buffer: not a header of ours.
    if (length < ConfigHeaderSize || length > ConfigHeaderMaxSize) return -11;
    if (fread(hdr + 8, 1, length - 8, f) != length - 8) return -4;
    if (SetupSectCRC16(hdr, length - 4) != CfgGet16(hdr + 60)) return -12;
    if (CfgGet32(hdr + 12) >= 2) return -13;
    if (fileType) *fileType = CfgGet32(hdr + 16);
    return 0;
}
}  // namespace

TConfig::TConfig(const char* fileName) : m_FileName(fileName ? fileName : "") {}

int TConfig::OpenConfig() {
    if (m_File) return 0;
    if (m_FileName.empty()) return -1;
    m_File.reset(OpenStreamForReading(m_FileName.c_str()));
    return m_File ? 0 : -1;
}

int TConfig::OpenConfig(const char* name) {
    CloseConfig();
    if (!name) return -1;
    m_File.reset(OpenStreamForReading(name));
    return m_File ? 0 : -1;
}

void TConfig::CloseConfig() {
    m_File.reset();
    m_Packet = nullptr;
    m_State = 0;
}

int TConfig::CheckFileHeader(const char* name, uint32_t* fileType) {
    if (!name) return -2;
    UniqueFile f(OpenStreamForReading(name));
    if (!f) return -1;
    return ReadConfigHeader(f.get(), fileType);
}

int TConfig::GetFirstSection(SetupSectPacket* head, const uint8_t** data) {
    if (!m_File) return -1;
    rewind(m_File.get());
    m_Packet = nullptr;
    m_State = 0;
    int r = ReadConfigHeader(m_File.get(), nullptr);
    if (r != 0) return r;
    return GetNextSection(head, data);
}

int TConfig::GetNextSection(SetupSectPacket* head, const uint8_t** data) {
    if (!m_File) return -1;
    m_Packet = nullptr;
    m_State = 0;
    FILE* f = m_File.get();
    if (fread(m_Buffer, 1, SetupSectHeadSize + 1, f) != SetupSectHeadSize + 1) return -4;
    int r = SetupSectCheckCRCPacket(m_Buffer, SetupSectHeadSize + 1, 1);
    uint32_t length = CfgGet16(m_Buffer + 6);
    if (r == 0 && length > SetupSectMaxData) r = -1;  // would not fit the buffer
    if (r != 0) {
        TRACE_ERR("GetNextSection: SetupSectCheckCRCPacket:HEAD: ERR %d", r);
        m_State = -3;
        return -5;
    }
    if (fread(m_Buffer + SetupSectHeadSize + 1, 1, length + 1, f) != length + 1) return -4;
    r = SetupSectCheckCRCPacket(m_Buffer, SetupSectPacketSize(length), 0);
    if (r != 0) {
        TRACE_ERR("GetNextSection: SetupSectCheckCRCPacket:DATA: ERR %d", r);
        m_State = -4;
        return -3;
    }
    m_State = 1;
    m_Packet = m_Buffer;
    if (head) DecodeSetupSectHead(m_Buffer, head);
    if (data) *data = m_Buffer + SetupSectHeadSize;
    return 0;
}

int TConfig::FindSection(uint16_t SSID, uint16_t Par, uint16_t length) {
    if (!m_File) return -1;
    SetupSectPacket h;
    for (int r = GetFirstSection(&h, nullptr); r == 0; r = GetNextSection(&h, nullptr))
        if (h.SSID == SSID && h.Par == Par && h.length == length) return 0;
    return -2;
}

int TConfig::FindSectionIn(uint16_t SSID, uint16_t Par, uint16_t length, const uint8_t** data) {
    if (FindSection(SSID, Par, length) != 0) return -2;
    if (m_State != 1) return -3;
    if (data) *data = m_Buffer + SetupSectHeadSize;
    return 0;
}

int TConfig::GetSection(uint16_t SSID, uint16_t Par, uint16_t length, const uint8_t** data) {
    bool opened = false;
    if (!m_File) {
        if (OpenConfig() != 0) return -1;
        opened = true;
    }
    int r = FindSectionIn(SSID, Par, length, data);
    // The packet stays in the buffer after the file is closed.
    if (opened) m_File.reset();
    return r;
}

int TConfig::GetSectionBCK(uint16_t SSID, uint16_t Par, uint16_t length, const uint8_t** data,
                           const char* backupName) {
    bool wasOpen = IsOpen();
    int r = OpenConfig(backupName) != 0 ? -1 : FindSectionIn(SSID, Par, length, data);
    m_File.reset();
    if (wasOpen) m_File.reset(OpenStreamForReading(m_FileName.c_str()));
    return r;
}

int TConfig::Condition() {
    if (!m_File) return ConfigFileMissing;
    FILE* f = m_File.get();
    if (fseek(f, 0, SEEK_END) != 0) return ConfigFileDamaged;
    const long size = ftell(f);
    rewind(f);
    m_Packet = nullptr;
    m_State = 0;
    if (ReadConfigHeader(f, nullptr) != 0) return ConfigFileDamaged;
    for (;;) {
        const long at = ftell(f);
        const int r = GetNextSection(nullptr, nullptr);
        if (r == 0) continue;
        // Only a read that finds nothing at all is the end of the file.
        return r == -4 && at == size ? ConfigFileWhole : ConfigFileDamaged;
    }
}

const uint8_t* TConfig::CurrentPacket() const { return m_State == 1 ? m_Packet : nullptr; }

// ---- writer ----

namespace {
size_t WriteFile(const char*, int fd, const void* data, size_t size) { return WriteFully(fd, data, size); }
int CloseFile(const char*, int fd) { return SyncAndClose(fd); }
}  // namespace

const TConfigWriter DefaultConfigWriter = {WriteFile, CloseFile};
TConfigWriter ConfigWriter = DefaultConfigWriter;

TConfigOutFile::TConfigOutFile(const std::string& target) : m_Target(target), m_File(target) {}

bool TConfigOutFile::Write(const void* data, size_t size) {
    if (!m_File.IsOpen() || m_Failed) return false;
    if (ConfigWriter.Write(m_Target.c_str(), m_File.Fd(), data, size) != size) m_Failed = true;
    return !m_Failed;
}

int TConfigOutFile::Commit() {
    if (!m_File.IsOpen()) return -1;
    const bool closed = ConfigWriter.Close(m_Target.c_str(), m_File.TakeFd()) == 0;
    return closed && !m_Failed && m_File.Commit() == 0 ? 0 : -1;
}

int CopyConfigFile(const char* source, const char* destination) {
    if (!source || !destination) return -1;
    UniqueFile in(OpenStreamForReading(source));
    if (!in) return -2;
    long size = -1;
    if (fseek(in.get(), 0, SEEK_END) == 0) size = ftell(in.get());
    rewind(in.get());
    if (size < 0) return -4;
    TConfigOutFile out(destination);
    if (!out.IsOpen()) return -3;
    uint8_t piece[1024];
    long copied = 0;
    while (copied < size) {
        size_t want = static_cast<size_t>(std::min<long>(sizeof piece, size - copied));
        size_t got = fread(piece, 1, want, in.get());
        if (got == 0 || !out.Write(piece, got)) break;
        copied += static_cast<long>(got);
    }
    if (copied != size || out.Commit() != 0) return -4;
    return 0;
}

// ---- the store's files ----

namespace {
// Takes the read and write locks unless held here already; gives back only what it took.
class TStoreLocks {
public:
    explicit TStoreLocks(TConfigSetting* store) : m_Store(store) {
        m_HadRead = store->HoldsReadLock();
        m_HadWrite = store->HoldsWriteLock();
        int r = store->LockRead(1);
        m_TookRead = r == 0 && !m_HadRead;
        int w = r == 0 ? store->LockWrite(1) : -2;
        m_TookWrite = w == 0 && !m_HadWrite;
        m_Ok = r == 0 && w == 0;
    }
    ~TStoreLocks() {
        if (m_TookWrite) m_Store->LockWrite(0);
        if (m_TookRead) m_Store->LockRead(0);
    }
    TStoreLocks(const TStoreLocks&) = delete;
    TStoreLocks& operator=(const TStoreLocks&) = delete;
    bool Ok() const { return m_Ok; }

private:
    TConfigSetting* m_Store;
    bool m_HadRead, m_HadWrite, m_TookRead, m_TookWrite, m_Ok;
};

// Stores every valid packet of this kind that the store lacks or holds as a default;
// answers the packets stored and counts the failures.
int TakeMissingSections(TConfigSetting* store, TConfig& file, uint16_t kind, int* failures) {
    int stored = 0;
    SetupSectPacket h;
    const uint8_t* d = nullptr;
    for (int r = file.GetFirstSection(&h, &d); r == 0; r = file.GetNextSection(&h, &d)) {
        if (ConfigKindOf(h.SSID) != kind) continue;  // never another kind's section
        int have = store->LocateSection(h.SSID, h.Par);
        if (have == 0) continue;
        // A registered item keeps its own length: a section of another shape stays out.
        const TConfigItem* item = store->FindItem(h.SSID, h.Par);
        if (item && item->length != h.length) continue;
        if (store->SetSectionNEW(&h, d, 0) == 0)
            ++stored;
        else
            ++*failures;
    }
    return stored;
}

int SaveFile(TConfigSetting* store, const std::string& name, uint16_t kind) {
    TConfigOutFile file(name);
    if (!file.IsOpen()) return -2;
    if (store->SaveData(file, kind) != 0) return -4;
    return file.Commit() == 0 ? 0 : -4;
}
}  // namespace

// Registered items of one kind into the store, from the .dat, the .bck or the defaults.
int TConfigSetting::LoadItems(TConfig& dat, TConfig& bck, uint16_t kind, TLoadCounts* counts) {
    SortItems();
    for (uint32_t i = 0; i < m_ItemCount; ++i) {
        const TConfigItem it = m_Items[i];
        uint16_t ssid = static_cast<uint16_t>(it.SSID), par = static_cast<uint16_t>(it.Par);
        if (ConfigKindOf(ssid) != kind) continue;
        const uint8_t* packet = nullptr;
        if (it.length <= SetupSectMaxData) {
            uint16_t length = static_cast<uint16_t>(it.length);
            if (dat.FindSection(ssid, par, length) == 0) {
                packet = dat.CurrentPacket();
            } else {
                ++counts->backups;
                if (bck.FindSection(ssid, par, length) == 0) packet = bck.CurrentPacket();
            }
        }
        int r;
        if (packet) {
            SetupSectPacket head;
            DecodeSetupSectHead(packet, &head);
            r = SetSectionNEW(&head, packet + SetupSectHeadSize, 0);
        } else {
            ++counts->defaults;
            const void* value = it.defaultData ? it.defaultData : it.variable;
            if (!value && it.length) continue;
            SetupSectPacket head = {};
            head.SSID = ssid;
            head.Par = par;
            head.length = static_cast<uint16_t>(std::min<uint32_t>(it.length, 0xFFFF));
            head.time = m_Now();
            r = it.length <= SetupSectMaxData ? SetSectionNEW(&head, static_cast<const uint8_t*>(value), 1) : SectNoRoom;
        }
        if (r != 0) ++counts->failures;
    }
    return 0;
}

// The files' other sections of one kind; the .dat is replaced by a complete backup.
int TConfigSetting::LoadUnknown(TConfig& dat, TConfig& bck, uint16_t kind, TLoadCounts* counts,
                                const char* datName, const char* bckName) {
    TakeMissingSections(this, dat, kind, &counts->failures);
    counts->backups += TakeMissingSections(this, bck, kind, &counts->failures);
    // A store too small for the .bck proves nothing about it, and a damaged .bck is no
    // replacement: the .dat stays.
    const bool damaged = (m_DamagedKinds & KindBit(kind)) != 0;
    if (counts->backups > 0 && counts->defaults == 0 && counts->failures == 0 && !damaged)
        CopyConfigFile(bckName, datName);
    return 0;
}

void TConfigSetting::NoteDamaged(uint16_t kind, TConfig& dat, TConfig& bck) {
    const uint32_t bit = KindBit(kind);
    const int d = dat.Condition(), b = bck.Condition();
    // Lost: no whole file of the pair, and at least one that is there but damaged.
    const bool lost = d != ConfigFileWhole && b != ConfigFileWhole && (d == ConfigFileDamaged || b == ConfigFileDamaged);
    if (!lost) {
        m_DamagedKinds &= ~bit;
        m_AcceptedKinds &= ~bit;
        return;
    }
    if (m_AcceptedKinds & bit) return;
    HookPrintf("TConfigSetting::LoadConfig: kind %x damaged in .dat and .bck, files kept\n", kind);
    m_DamagedKinds |= bit;
}

void TConfigSetting::AcceptDamaged() {
    m_AcceptedKinds |= m_DamagedKinds;
    m_DamagedKinds = 0;
}

void TConfigSetting::NoteIncomplete(uint16_t kind, bool incomplete) {
    const uint32_t bit = KindBit(kind);
    m_IncompleteKinds = incomplete ? (m_IncompleteKinds | bit) : (m_IncompleteKinds & ~bit);
}

int TConfigSetting::LoadData(const char* datName, const char* bckName, uint16_t kind) {
    TConfig dat(datName), bck(bckName);
    dat.OpenConfig();
    bck.OpenConfig();
    NoteDamaged(kind, dat, bck);
    TLoadCounts counts;
    LoadItems(dat, bck, kind, &counts);
    LoadUnknown(dat, bck, kind, &counts, datName, bckName);
    NoteIncomplete(kind, counts.failures != 0);
    return -counts.failures;
}

int TConfigSetting::LoadConfig(const char* prefix, uint32_t kindMask, int reload) {
    if (!IsReady()) return -1;
    TStoreLocks locks(this);
    if (!locks.Ok()) return -3;
    uint32_t kinds = LoadedKinds();
    SetLoaded(kinds);
    struct TKindFiles {
        std::string datName, bckName;
        std::unique_ptr<TConfig> dat, bck;
        TLoadCounts counts;
    } files[ConfigKindCount];
    uint32_t todo = 0;
    for (int i = 0; i < ConfigKindCount; ++i) {
        uint32_t bit = 1u << i;
        if (!(kindMask & bit)) continue;
        if ((kinds & bit) && !reload) continue;
        kinds |= bit;
        todo |= bit;
        TKindFiles& f = files[i];
        f.datName = ConfigFileName(prefix, ConfigKindBase[i], ".dat");
        f.bckName = ConfigFileName(prefix, ConfigKindBase[i], ".bck");
        f.dat = std::make_unique<TConfig>(f.datName.c_str());
        f.bck = std::make_unique<TConfig>(f.bckName.c_str());
        f.dat->OpenConfig();
        f.bck->OpenConfig();
        NoteDamaged(ConfigKindOfBit(i), *f.dat, *f.bck);
    }
    SetLoaded(kinds);
    // Every registered setting first, so that unknown sections can never crowd one out.
    for (int i = 0; i < ConfigKindCount; ++i)
        if (todo & (1u << i)) LoadItems(*files[i].dat, *files[i].bck, ConfigKindOfBit(i), &files[i].counts);
    for (int i = 0; i < ConfigKindCount; ++i) {
        if (!(todo & (1u << i))) continue;
        TKindFiles& f = files[i];
        LoadUnknown(*f.dat, *f.bck, ConfigKindOfBit(i), &f.counts, f.datName.c_str(), f.bckName.c_str());
        f.dat->CloseConfig();
        f.bck->CloseConfig();
        NoteIncomplete(ConfigKindOfBit(i), f.counts.failures != 0);
    }
    return 0;
}

int TConfigSetting::SaveData(TConfigOutFile& file, uint16_t kind) {
    int errors = 0;
    ConfigFileHeader h = {};
    h.magic = ConfigMagic;
    h.headerLength = ConfigHeaderSize;
    h.one = 1;
    h.version = ConfigFormatVersion;
    h.fileType = kind;
    h.time = m_Now();
    h.unitValue = m_UnitValue;
    uint8_t raw[ConfigHeaderSize];
    EncodeConfigFileHeader(h, raw);
    if (!file.Write(raw, sizeof raw)) ++errors;
    if (LockLookupTable() != 0) return -(errors + 1);
    TLookupTableLock unlock(this);
    const uint32_t used = DataUsed(), count = IndexCount();
    for (uint32_t pos = 0; pos < count; ++pos) {
        const uint8_t* row = IndexRow(pos);
        if (ConfigKindOf(static_cast<uint16_t>(CfgGet32(row) >> 16)) != kind) continue;
        if (CfgGet32(row + 8) & IndexFlagDefault) continue;
        uint32_t offset = CfgGet32(row + 4);
        if (offset >= used || used - offset < SetupSectHeadSize ||
            used - offset < SetupSectPacketSize(CfgGet16(m_Data + offset + 6))) {
            ++errors;
            continue;
        }
        if (!file.Write(m_Data + offset, SetupSectPacketSize(CfgGet16(m_Data + offset + 6)))) ++errors;
    }
    return -errors;
}

int TConfigSetting::SaveConfig(const char* prefix, uint32_t kindMask) {
    if (!IsLoaded()) return -1;
    TStoreLocks locks(this);
    if (!locks.Ok()) return -3;
    int result = 0, skipped = 0;
    for (int i = 0; i < ConfigKindCount; ++i) {
        if (!(kindMask & (1u << i))) continue;
        uint16_t kind = ConfigKindOfBit(i);
        // The store could not hold all of this kind's files: writing would lose the rest.
        if (m_IncompleteKinds & (1u << i)) {
            HookPrintf("TConfigSetting::SaveConfig: kind %x loaded incompletely, files kept\n", kind);
            skipped = SaveIncomplete;
            continue;
        }
        // Damaged files stay for the user to see until the loss is confirmed.
        if (m_DamagedKinds & (1u << i)) {
            HookPrintf("TConfigSetting::SaveConfig: kind %x damaged, files kept until confirmed\n", kind);
            skipped = SaveIncomplete;
            continue;
        }
        int r = SaveFile(this, ConfigFileName(prefix, ConfigKindBase[i], ".dat"), kind);
        if (r != 0) result = r;
        // After any failure the backups stay as they are: they hold the last good settings.
        if (result == 0) {
            r = SaveFile(this, ConfigFileName(prefix, ConfigKindBase[i], ".bck"), kind);
            if (r != 0) result = r;
        }
    }
    return result ? result : skipped;
}
