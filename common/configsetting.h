// Settings store: every setting as a section packet in a process-memory block, a sorted
// section index, process-level locks and the registry that binds program variables.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "configfile.h"

// ---- memory block with a segment table ----
constexpr uint32_t ShmBlockMagic = 0x53484D42;
constexpr uint32_t ShmBlockTypeConf = 512;
constexpr uint32_t ShmConfKey = 1240;
constexpr uint32_t ShmConfSize = 65536;
constexpr uint32_t ShmMinSegments = 16;

// Block header: u32 fields at these offsets, then the segment table.
enum : uint32_t {
    ShmHdrMagic = 0, ShmHdrOne1 = 4, ShmHdrOne2 = 8, ShmHdrType = 12, ShmHdrSize = 16, ShmHdrNextFree = 20,
    ShmHdrHeaderSize = 24, ShmHdrMaxSegments = 28, ShmHdrSegments = 32, ShmHdrTable = 36
};

struct TShmSegmentRow {
    uint32_t offset;
    uint32_t length;
    uint32_t type;
    uint32_t attribute;
};
static_assert(sizeof(TShmSegmentRow) == 16, "segment table row");

class TSharedMemoryBlock {
public:
    enum : uint32_t { StatusMemory = 1, StatusInit = 2, StatusInitiator = 4 };

    TSharedMemoryBlock() = default;
    ~TSharedMemoryBlock() { FreeSysResource(); }
    TSharedMemoryBlock(const TSharedMemoryBlock&) = delete;
    TSharedMemoryBlock& operator=(const TSharedMemoryBlock&) = delete;

    int InitSysResource(uint32_t key, uint32_t size, void* addressHint);  // 0 or -1
    int FreeSysResource();                                                 // 0 or -1 when none
    int InitShMemBlock(uint32_t maxSegments, uint32_t blockType, uint32_t size);
    // 0; -1 not ready; -2 no segment; -5 not the initiator; -3 table full; -4 beyond the block.
    int AddSegment(uint32_t length, uint32_t type, uint32_t attribute);
    int GetSegmentInfo(uint32_t type, TShmSegmentRow* row) const;  // 0; -1 not ready; -3 absent
    uint8_t* SegmentAddress(const TShmSegmentRow& row) const;

    const uint8_t* Base() const { return m_Mem.get(); }
    uint32_t Size() const { return m_Size; }
    uint32_t Status() const { return m_Status; }

private:
    bool Ready() const { return (m_Status & (StatusMemory | StatusInit)) == (StatusMemory | StatusInit); }

    std::unique_ptr<uint8_t[]> m_Mem;
    uint32_t m_Size = 0;
    uint32_t m_BlockType = ShmBlockTypeConf;
    uint32_t m_Status = 0;
};
typedef TSharedMemoryBlock TSharMemBlk;

// ---- segments of the store ----
enum : uint32_t {
    ShmCtrlSystem = 513, ShmCtrlInst = 514, ShmCtrlLookTab = 515, ShmCtrlSSData = 516,
    ShmDataLookUpTab = 517, ShmDataSectionData = 518
};
constexpr uint32_t ShmCtrlSystemSize = 68, ShmCtrlInstSize = 200, ShmCtrlLookTabSize = 28, ShmCtrlSSDataSize = 20;
constexpr uint32_t ShmDataLookUpTabSize = 8192, ShmDataSectionDataSize = 55296;

// ShmCtrlSystem fields.
enum : uint32_t {
    SysLoaded = 0, SysWriteLock = 1, SysReadLock = 2, SysWritePid = 4, SysWriteTime = 8, SysReadPid = 12,
    SysReadTime = 16, SysOwnerPid = 20, SysOwnerTime = 24, SysLoadedKinds = 28
};
// ShmCtrlLookTab fields; ShmCtrlSSData holds the bytes used at offset 0.
enum : uint32_t { LookLock = 0, LookCount = 4, LookCapacity = 8 };

// Section index row, 12 bytes: SIDPar, packet offset, flags.
constexpr uint32_t IndexEntrySize = 12;
constexpr uint32_t IndexCapacity = ShmDataLookUpTabSize / IndexEntrySize;  // 682
constexpr uint32_t IndexFlagDefault = 1;
// The packet bytes reserved at the offset live in the top half of the flags, so that a
// section stored again with another length never spills into its neighbour.
constexpr uint32_t IndexSlotShift = 16;

struct TIndexEntry {
    uint32_t SIDPar;  // SSID << 16 | Par
    uint32_t offset;  // of the packet in the section data
    uint32_t flags;   // bit 0: holds a default; bits 16..31: bytes reserved
};

// A row of the settings default table (ended by SSID 0).
struct TSettingDefault {
    int16_t SSID;
    int32_t Par;
    const void* data;  // length bytes, or null
    uint32_t length;
};

constexpr uint32_t ItemRegistryCapacity = 1000;
constexpr int32_t ItemResultNone = -128;

struct TConfigItem {
    int16_t SSID;
    int32_t Par;
    void* variable;           // bound program variable, or null
    const void* defaultData;  // null: no default
    uint32_t length;
    int32_t lastRead;   // ItemResultNone until the first fetch
    int32_t lastWrite;  // ItemResultNone until the first store
};

typedef void (*TConfigChangeFn)(uint16_t SSID, uint16_t Par, void* user);

// Result codes beyond the section codes (0 found, 1 default, -1 not ready, -2 write-locked,
// -3 CRC failure or index full, -4 read-locked, -5 absent).
enum : int {
    SectNoRoom = -6,          // data segment full, or more data than a packet carries
    SectLengthDiffers = -7,   // the stored length is not the length asked for; nothing copied
    ItemNotFound = -10,
    ItemNotBound = -11,
    LoadStoreFailed = -5,     // LoadData: a section could not be stored
    SaveIncomplete = -5,      // SaveConfig: a kind the store could not hold whole keeps its files
};

// Tallies of loading one kind.
struct TLoadCounts {
    int defaults = 0, backups = 0, failures = 0;
};

class TConfigSetting {
public:
    // defaults: the settings default table, registered at once (may be null).
    explicit TConfigSetting(const TSettingDefault* defaults = nullptr);
    ~TConfigSetting();
    TConfigSetting(const TConfigSetting&) = delete;
    TConfigSetting& operator=(const TConfigSetting&) = delete;

    bool IsReady() const;
    bool IsLoaded() const;
    uint32_t LoadedKinds() const;
    uint32_t UnitValue() const { return m_UnitValue; }

    // Wall clock (seconds since 1970), process id and the index lock's pause are injectable.
    void SetClock(std::function<uint32_t()> now) { m_Now = std::move(now); }
    void SetProcessId(uint32_t pid) { m_Pid = pid; }
    void SetSleep(std::function<void(uint32_t ms)> sleep) { m_Sleep = std::move(sleep); }
    uint32_t ProcessId() const { return m_Pid; }
    uint32_t Now() const { return m_Now(); }

    // 1 held here, 0 free, -2 held elsewhere, -1 no store.
    int CheckReadLock();
    int CheckWriteLock();
    int LockRead(int take);   // 0, -2, -1
    int LockWrite(int take);  // 0, -2, -1
    int SetOwner(int flag);   // the owner's process id, -1 no store
    bool HoldsReadLock() const { return IsReady() && HeldHere(ReadLockField); }
    bool HoldsWriteLock() const { return IsReady() && HeldHere(WriteLockField); }

    int LockLookupTable();  // 0; -1 still held after the retries; -2 no index
    void UnlockLookupTable();
    // 0 with the entry and the index lock held (the caller releases it); -3 absent; -1; -2.
    int FindIndexEntry(uint16_t SSID, uint16_t Par, TIndexEntry* entry);
    int InsertIndexEntry(uint16_t SSID, uint16_t Par, uint32_t offset, uint32_t flags);  // 0; -1; -2; -3 full
    uint32_t IndexCount() const;
    uint32_t DataUsed() const;

    int LocateSection(uint16_t SSID, uint16_t Par);
    // The packet in the store: head and a pointer to its data.
    int PeekSection(uint16_t SSID, uint16_t Par, SetupSectPacket* head, const uint8_t** data);
    // Copies head and data; the data must fit capacity bytes (else -7).
    int GetSection(uint16_t SSID, uint16_t Par, SetupSectPacket* head, uint8_t* data, uint32_t capacity);
    // head: SSID, Par, L and time from the caller; completed here. 0; -1; -2; -3 index full; -6 no room.
    int SetSectionNEW(SetupSectPacket* head, const uint8_t* data, int isDefault);
    int GetSectionData(uint16_t SSID, uint16_t Par, void* buffer, uint32_t length);  // L must equal length
    int SetSectionData(uint16_t SSID, uint16_t Par, const void* data, uint32_t length);

    int SSAPIInitConnectWithDefault();  // minus the duplicate rows
    int SSAPIRegisterLocalData(uint16_t SSID, uint16_t Par, void* variable, uint32_t length);
    int StoreItem(uint16_t SSID, uint16_t Par);  // section result; -10 no item; -11 not bound
    int FetchItem(uint16_t SSID, uint16_t Par);
    const TConfigItem* FindItem(uint16_t SSID, uint16_t Par);
    uint32_t ItemCount() const { return m_ItemCount; }
    void SetChangeCallback(TConfigChangeFn fn, void* user);
    TConfigChangeFn ChangeCallback() const { return m_ChangeFn; }
    const uint8_t* LastPacket() const { return m_LastValid ? m_LastPacket : nullptr; }  // last located packet

    // Files (configfile.cpp). LoadConfig: 0; -1 no store; -3 locked elsewhere. Sections that do not
    // fit the store mark their kind in IncompleteKinds.
    int LoadConfig(const char* prefix, uint32_t kindMask, int reload);
    // 0; -1 no store or never loaded; -3 locked elsewhere; -2 a file not opened; -4 a write failed;
    // -5 a kind loaded incompletely or damaged was left unwritten (the others are written).
    int SaveConfig(const char* prefix, uint32_t kindMask);
    int LoadData(const char* datName, const char* bckName, uint16_t kind);  // minus the sections not stored
    uint32_t IncompleteKinds() const { return m_IncompleteKinds; }  // kind mask bits
    // Kinds whose .dat and .bck both failed at the last load, one of them damaged (kind mask
    // bits): SaveConfig keeps their files until AcceptDamaged, after which a reload of the
    // same damage no longer holds them.
    uint32_t DamagedKinds() const { return m_DamagedKinds; }
    void AcceptDamaged();
    int SaveData(TConfigOutFile& file, uint16_t kind);                      // minus the failed writes

private:
    struct TLockField {
        uint32_t flag, pid, time;
    };
    static const TLockField ReadLockField, WriteLockField;

    int CheckLock(const TLockField& f);
    int TakeLock(const TLockField& f);
    int ReleaseLock(const TLockField& f);
    bool HeldHere(const TLockField& f) const;
    bool HeldElsewhere(const TLockField& f) const;  // by another process, and not stale
    void ClearLock(const TLockField& f);
    bool Fresh(uint32_t stamp) const;
    int TakeIndexLock(int tries);
    int SearchIndex(uint32_t SIDPar, uint32_t* pos) const;  // 1 found at pos, 0 absent (pos: insert point)
    uint8_t* IndexRow(uint32_t pos) const { return m_LookTab + pos * IndexEntrySize; }
    int Locate(uint16_t SSID, uint16_t Par, const uint8_t** packet);
    int CopyOut(uint16_t SSID, uint16_t Par, SetupSectPacket* head, uint8_t* data, uint32_t capacity, bool exact);
    void SetLoaded(uint32_t kinds);
    int LoadItems(TConfig& dat, TConfig& bck, uint16_t kind, TLoadCounts* counts);
    int LoadUnknown(TConfig& dat, TConfig& bck, uint16_t kind, TLoadCounts* counts, const char* datName,
                    const char* bckName);
    void NoteIncomplete(uint16_t kind, bool incomplete);
    void NoteDamaged(uint16_t kind, TConfig& dat, TConfig& bck);
    static uint32_t KindBit(uint16_t kind) { return 1u << (((kind >> 12) - 1) & 31); }
    int FindItemIndex(uint16_t SSID, uint16_t Par);
    int MoveItem(uint16_t SSID, uint16_t Par, bool store);  // variable into the store, or back
    void SortItems();

    std::unique_ptr<TSharedMemoryBlock> m_Block;
    uint8_t* m_Sys = nullptr;
    uint8_t* m_Inst = nullptr;
    uint8_t* m_LookCtrl = nullptr;
    uint8_t* m_DataCtrl = nullptr;
    uint8_t* m_LookTab = nullptr;
    uint8_t* m_Data = nullptr;
    uint32_t m_Pid = 0;
    std::function<uint32_t()> m_Now;
    std::function<void(uint32_t)> m_Sleep;
    const uint8_t* m_LastPacket = nullptr;
    bool m_LastValid = false;
    uint32_t m_UnitValue = 0;

    const TSettingDefault* m_Defaults;
    std::unique_ptr<TConfigItem[]> m_Items;
    uint32_t m_ItemCapacity = 0;
    uint32_t m_ItemCount = 0;
    bool m_ItemsDirty = false;
    uint32_t m_IncompleteKinds = 0;
    uint32_t m_DamagedKinds = 0;
    uint32_t m_AcceptedKinds = 0;
    TConfigChangeFn m_ChangeFn = nullptr;
    void* m_ChangeUser = nullptr;
};

// Holds the index lock that a successful lock or lookup handed over; releases it at scope end.
class TLookupTableLock {
public:
    explicit TLookupTableLock(TConfigSetting* store) : m_Store(store) {}
    ~TLookupTableLock() { m_Store->UnlockLookupTable(); }
    TLookupTableLock(const TLookupTableLock&) = delete;
    TLookupTableLock& operator=(const TLookupTableLock&) = delete;

private:
    TConfigSetting* m_Store;
};
