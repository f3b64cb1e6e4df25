#include "configsetting.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <new>
#include <thread>

#include "hkutils.h"
#include "settingvars.h"

// ---- memory block ----

int TSharedMemoryBlock::InitSysResource(uint32_t /*key*/, uint32_t size, void* /*addressHint*/) {
    FreeSysResource();
    // Ordinary process memory here: one display process uses the block.
    m_Mem.reset(size >= ShmHdrTable ? new (std::nothrow) uint8_t[size] : nullptr);
    if (!m_Mem) {
        TRACE_ERR("Memory attach failed!");
        return -1;
    }
    m_Size = size;
    m_Status = StatusMemory | StatusInitiator;
    memset(m_Mem.get(), 0, size);
    TRACE_DBG("TSharedMemoryBlock::InitSysResource - zero entire shmem & init.");
    return InitShMemBlock(ShmMinSegments, m_BlockType, size);
}

int TSharedMemoryBlock::FreeSysResource() {
    if (!m_Mem) return -1;
    m_Mem.reset();
    m_Size = 0;
    m_Status = 0;
    return 0;
}

int TSharedMemoryBlock::InitShMemBlock(uint32_t maxSegments, uint32_t blockType, uint32_t size) {
    if (!m_Mem || size > m_Size) return -1;
    if (maxSegments < ShmMinSegments) maxSegments = ShmMinSegments;
    uint32_t headerSize = (16 * maxSegments + 52 + 7) & ~7u;
    if (headerSize > size) return -1;
    uint8_t* b = m_Mem.get();
    CfgPut32(b + ShmHdrMagic, ShmBlockMagic);
    CfgPut32(b + ShmHdrOne1, 1);
    CfgPut32(b + ShmHdrOne2, 1);
    CfgPut32(b + ShmHdrType, blockType);
    CfgPut32(b + ShmHdrSize, size);
    CfgPut32(b + ShmHdrNextFree, headerSize);
    CfgPut32(b + ShmHdrHeaderSize, headerSize);
    CfgPut32(b + ShmHdrMaxSegments, maxSegments);
    CfgPut32(b + ShmHdrSegments, 0);
    m_BlockType = blockType;
    m_Status |= StatusInit;
    return 0;
}

int TSharedMemoryBlock::AddSegment(uint32_t length, uint32_t type, uint32_t attribute) {
    if (!Ready()) return -1;
    if (length == 0) return -2;
    if (!(m_Status & StatusInitiator)) return -5;
    uint8_t* b = m_Mem.get();
    uint32_t count = CfgGet32(b + ShmHdrSegments);
    if (count >= CfgGet32(b + ShmHdrMaxSegments)) return -3;
    uint64_t start = (static_cast<uint64_t>(CfgGet32(b + ShmHdrNextFree)) + 7) & ~7ull;
    if (start + length >= m_Size) return -4;
    uint8_t* row = b + ShmHdrTable + count * sizeof(TShmSegmentRow);
    CfgPut32(row + 0, static_cast<uint32_t>(start));
    CfgPut32(row + 4, length);
    CfgPut32(row + 8, type);
    CfgPut32(row + 12, attribute);
    CfgPut32(b + ShmHdrNextFree, static_cast<uint32_t>((start + length + 7) & ~7ull));
    CfgPut32(b + ShmHdrSegments, count + 1);
    return 0;
}

int TSharedMemoryBlock::GetSegmentInfo(uint32_t type, TShmSegmentRow* row) const {
    if (!Ready()) return -1;
    const uint8_t* b = m_Mem.get();
    uint32_t count = std::min(CfgGet32(b + ShmHdrSegments), CfgGet32(b + ShmHdrMaxSegments));
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* r = b + ShmHdrTable + i * sizeof(TShmSegmentRow);
        if (CfgGet32(r + 8) != type) continue;
        TShmSegmentRow found = {CfgGet32(r), CfgGet32(r + 4), CfgGet32(r + 8), CfgGet32(r + 12)};
        if (static_cast<uint64_t>(found.offset) + found.length > m_Size) return -3;
        if (row) *row = found;
        return 0;
    }
    return -3;
}

uint8_t* TSharedMemoryBlock::SegmentAddress(const TShmSegmentRow& row) const {
    if (!m_Mem || static_cast<uint64_t>(row.offset) + row.length > m_Size) return nullptr;
    return m_Mem.get() + row.offset;
}

// ---- store ----

const TConfigSetting::TLockField TConfigSetting::ReadLockField = {SysReadLock, SysReadPid, SysReadTime};
const TConfigSetting::TLockField TConfigSetting::WriteLockField = {SysWriteLock, SysWritePid, SysWriteTime};

namespace {
struct TSegmentPlan {
    uint32_t type, length;
};
const TSegmentPlan StoreSegments[] = {
    {ShmCtrlSystem, ShmCtrlSystemSize},        {ShmCtrlInst, ShmCtrlInstSize},
    {ShmCtrlLookTab, ShmCtrlLookTabSize},      {ShmCtrlSSData, ShmCtrlSSDataSize},
    {ShmDataLookUpTab, ShmDataLookUpTabSize},  {ShmDataSectionData, ShmDataSectionDataSize},
};

inline uint32_t SIDParOf(uint16_t SSID, uint16_t Par) { return static_cast<uint32_t>(SSID) << 16 | Par; }

}  // namespace

TConfigSetting::TConfigSetting(const TSettingDefault* defaults)
    : m_Pid(static_cast<uint32_t>(getpid())),
      m_Now([] { return static_cast<uint32_t>(time(nullptr)); }),
      m_Sleep([](uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }),
      m_Defaults(defaults) {
    m_Block.reset(new (std::nothrow) TSharedMemoryBlock);
    if (!m_Block) {
        TRACE_ERR(">>TConfigSetting(): ERR NO_MEM !");
    } else if (m_Block->InitSysResource(ShmConfKey, ShmConfSize, nullptr) == 0) {
        TRACE_DBG("This instance is initiator SHM_CONF - init SHMEM...");
        for (const TSegmentPlan& s : StoreSegments) {
            int res = m_Block->AddSegment(s.length, s.type, 0);
            TRACE_DBG("ShMemBl->AddSegment: res = %d", res);
        }
        uint8_t** slots[] = {&m_Sys, &m_Inst, &m_LookCtrl, &m_DataCtrl, &m_LookTab, &m_Data};
        bool missing = false;
        for (size_t i = 0; i < sizeof slots / sizeof slots[0]; ++i) {
            TShmSegmentRow row;
            if (m_Block->GetSegmentInfo(StoreSegments[i].type, &row) != 0 || row.length < StoreSegments[i].length)
                missing = true;
            else
                *slots[i] = m_Block->SegmentAddress(row);
        }
        if (missing) {
            TRACE_ERR("TConfigSetting(): ERROR some segment in SHMEMBL not found!");
            for (uint8_t** s : slots) *s = nullptr;
        } else {
            CfgPut32(m_LookCtrl + LookCapacity, IndexCapacity);
        }
    }
    m_Items.reset(new (std::nothrow) TConfigItem[ItemRegistryCapacity]);
    m_ItemCapacity = m_Items ? ItemRegistryCapacity : 0;
    SSAPIInitConnectWithDefault();
}

TConfigSetting::~TConfigSetting() = default;

bool TConfigSetting::IsReady() const {
    return m_Block && m_Sys && m_Inst && m_LookCtrl && m_DataCtrl && m_LookTab && m_Data;
}

bool TConfigSetting::IsLoaded() const { return IsReady() && m_Sys[SysLoaded] != 0; }

uint32_t TConfigSetting::LoadedKinds() const { return IsReady() ? CfgGet32(m_Sys + SysLoadedKinds) : 0; }

void TConfigSetting::SetLoaded(uint32_t kinds) {
    m_Sys[SysLoaded] = 1;
    CfgPut32(m_Sys + SysLoadedKinds, kinds);
}

// ---- locks ----

bool TConfigSetting::Fresh(uint32_t stamp) const {
    return static_cast<uint64_t>(stamp) + 5 >= m_Now();
}

bool TConfigSetting::HeldHere(const TLockField& f) const {
    return m_Sys[f.flag] != 0 && CfgGet32(m_Sys + f.pid) == m_Pid;
}

bool TConfigSetting::HeldElsewhere(const TLockField& f) const {
    return m_Sys[f.flag] != 0 && CfgGet32(m_Sys + f.pid) != m_Pid && Fresh(CfgGet32(m_Sys + f.time));
}

void TConfigSetting::ClearLock(const TLockField& f) {
    m_Sys[f.flag] = 0;
    CfgPut32(m_Sys + f.pid, 0);
    CfgPut32(m_Sys + f.time, 0);
}

int TConfigSetting::CheckLock(const TLockField& f) {
    if (!IsReady()) return -1;
    if (!m_Sys[f.flag]) return 0;
    if (HeldHere(f)) return 1;
    if (HeldElsewhere(f)) return -2;
    ClearLock(f);  // left over: its holder stopped refreshing it
    return 0;
}

int TConfigSetting::TakeLock(const TLockField& f) {
    if (!IsReady()) return -1;
    if (HeldElsewhere(f)) return -2;
    m_Sys[f.flag] = 1;
    CfgPut32(m_Sys + f.pid, m_Pid);
    CfgPut32(m_Sys + f.time, m_Now());
    return 0;
}

int TConfigSetting::ReleaseLock(const TLockField& f) {
    if (!IsReady()) return -1;
    if (HeldElsewhere(f)) return -2;
    ClearLock(f);
    return 0;
}

int TConfigSetting::CheckReadLock() { return CheckLock(ReadLockField); }

int TConfigSetting::CheckWriteLock() {
    if (IsReady() && m_Pid != 0 && CfgGet32(m_Sys + SysOwnerPid) == m_Pid) return 1;
    return CheckLock(WriteLockField);
}

int TConfigSetting::LockRead(int take) { return take ? TakeLock(ReadLockField) : ReleaseLock(ReadLockField); }

int TConfigSetting::LockWrite(int take) { return take ? TakeLock(WriteLockField) : ReleaseLock(WriteLockField); }

int TConfigSetting::SetOwner(int flag) {
    if (!IsReady()) return -1;
    if (flag) {
        CfgPut32(m_Sys + SysOwnerPid, m_Pid);
        CfgPut32(m_Sys + SysOwnerTime, m_Now());
    } else if (CfgGet32(m_Sys + SysOwnerPid) == m_Pid) {
        CfgPut32(m_Sys + SysOwnerPid, 0);
        CfgPut32(m_Sys + SysOwnerTime, 0);
    }
    return static_cast<int>(CfgGet32(m_Sys + SysOwnerPid));
}

// ---- section index ----

int TConfigSetting::TakeIndexLock(int tries) {
    if (!IsReady()) return -2;
    for (int i = 0; i < tries; ++i) {
        if (i > 0) m_Sleep(1);
        if (CfgGet32(m_LookCtrl + LookLock) == 0) {
            CfgPut32(m_LookCtrl + LookLock, 1);
            return 0;
        }
    }
    return -1;
}

int TConfigSetting::LockLookupTable() { return TakeIndexLock(7); }

void TConfigSetting::UnlockLookupTable() {
    if (m_LookCtrl) CfgPut32(m_LookCtrl + LookLock, 0);
}

uint32_t TConfigSetting::IndexCount() const {
    return IsReady() ? std::min(CfgGet32(m_LookCtrl + LookCount), IndexCapacity) : 0;
}

uint32_t TConfigSetting::DataUsed() const {
    return IsReady() ? std::min(CfgGet32(m_DataCtrl), ShmDataSectionDataSize) : 0;
}

int TConfigSetting::SearchIndex(uint32_t SIDPar, uint32_t* pos) const {
    uint32_t lo = 0, hi = IndexCount();
    while (lo < hi) {
        uint32_t mid = lo + (hi - lo) / 2;
        uint32_t key = CfgGet32(IndexRow(mid));
        if (key == SIDPar) {
            *pos = mid;
            return 1;
        }
        if (key < SIDPar)
            lo = mid + 1;
        else
            hi = mid;
    }
    *pos = lo;
    return 0;
}

int TConfigSetting::FindIndexEntry(uint16_t SSID, uint16_t Par, TIndexEntry* entry) {
    if (!IsReady()) return -2;
    if (TakeIndexLock(7) != 0) return -1;
    uint32_t pos;
    if (!SearchIndex(SIDParOf(SSID, Par), &pos)) {
        UnlockLookupTable();
        return -3;
    }
    const uint8_t* row = IndexRow(pos);
    if (entry) *entry = {CfgGet32(row), CfgGet32(row + 4), CfgGet32(row + 8)};
    return 0;
}

int TConfigSetting::InsertIndexEntry(uint16_t SSID, uint16_t Par, uint32_t offset, uint32_t flags) {
    if (!IsReady()) return -2;
    if (TakeIndexLock(6) != 0) return -1;
    TLookupTableLock unlock(this);
    uint32_t key = SIDParOf(SSID, Par), pos;
    uint32_t count = IndexCount();
    // An existing key is updated, never indexed twice: the search relies on unique keys.
    if (!SearchIndex(key, &pos)) {
        if (count >= IndexCapacity) return -3;
        memmove(IndexRow(pos + 1), IndexRow(pos), (count - pos) * IndexEntrySize);
        CfgPut32(m_LookCtrl + LookCount, count + 1);
    }
    uint8_t* row = IndexRow(pos);
    CfgPut32(row, key);
    CfgPut32(row + 4, offset);
    CfgPut32(row + 8, flags);
    return 0;
}

// ---- sections ----

int TConfigSetting::Locate(uint16_t SSID, uint16_t Par, const uint8_t** packet) {
    m_LastValid = false;
    if (!IsLoaded()) return -1;
    if (CheckReadLock() == -2) return -4;
    TIndexEntry e;
    int r = FindIndexEntry(SSID, Par, &e);
    if (r == -3) return -5;
    if (r != 0) return r == -1 ? -4 : -1;
    TLookupTableLock unlock(this);
    uint32_t used = DataUsed();
    if (e.offset >= used) return -3;
    const uint8_t* p = m_Data + e.offset;
    uint32_t available = used - e.offset;
    if (SetupSectCheckCRCPacket(p, available, 1) != 0 || SetupSectCheckCRCPacket(p, available, 0) != 0) return -3;
    if (CfgGet16(p + 2) != SSID || CfgGet16(p + 4) != Par) return -3;
    m_LastPacket = p;
    m_LastValid = true;
    if (packet) *packet = p;
    return (e.flags & IndexFlagDefault) ? 1 : 0;
}

int TConfigSetting::LocateSection(uint16_t SSID, uint16_t Par) { return Locate(SSID, Par, nullptr); }

int TConfigSetting::PeekSection(uint16_t SSID, uint16_t Par, SetupSectPacket* head, const uint8_t** data) {
    const uint8_t* p = nullptr;
    int r = Locate(SSID, Par, &p);
    if (r < 0) return r;
    if (head) DecodeSetupSectHead(p, head);
    if (data) *data = p + SetupSectHeadSize;
    return r;
}

int TConfigSetting::CopyOut(uint16_t SSID, uint16_t Par, SetupSectPacket* head, uint8_t* data, uint32_t capacity,
                            bool exact) {
    SetupSectPacket h;
    const uint8_t* d = nullptr;
    int r = PeekSection(SSID, Par, &h, &d);
    if (r < 0) return r;
    if (exact ? h.length != capacity : h.length > capacity) return SectLengthDiffers;
    if (head) *head = h;
    if (data && h.length) memcpy(data, d, h.length);
    if (r == 0 && SSID == SsInstallInfo && Par == 0 && h.length >= 4) m_UnitValue = CfgGet32(d);
    return r;
}

int TConfigSetting::GetSection(uint16_t SSID, uint16_t Par, SetupSectPacket* head, uint8_t* data,
                               uint32_t capacity) {
    return CopyOut(SSID, Par, head, data, capacity, false);
}

int TConfigSetting::GetSectionData(uint16_t SSID, uint16_t Par, void* buffer, uint32_t length) {
    return CopyOut(SSID, Par, nullptr, static_cast<uint8_t*>(buffer), length, true);
}

int TConfigSetting::SetSectionNEW(SetupSectPacket* head, const uint8_t* data, int isDefault) {
    if (!IsLoaded() || !head) return -1;
    if (CheckWriteLock() == -2) return -2;
    if (head->length > SetupSectMaxData || (head->length && !data)) return SectNoRoom;
    const uint32_t size = SetupSectPacketSize(head->length);
    const uint32_t defaultFlag = isDefault ? IndexFlagDefault : 0;
    uint32_t used = DataUsed();

    TIndexEntry e;
    int r = FindIndexEntry(head->SSID, head->Par, &e);
    if (r == 0) {
        TLookupTableLock unlock(this);
        uint32_t slot = e.flags >> IndexSlotShift;
        if (size <= slot && e.offset + slot <= used) {
            BuildSetupSectPacket(head, data, m_Data + e.offset);
            uint32_t flags = (slot << IndexSlotShift) | defaultFlag;
            uint32_t pos;
            if (SearchIndex(e.SIDPar, &pos)) CfgPut32(IndexRow(pos) + 8, flags);
            return 0;
        }
        // Grown past its place: move it to the end, the old place stays unused.
        if (used + size > ShmDataSectionDataSize) return SectNoRoom;
        BuildSetupSectPacket(head, data, m_Data + used);
        uint32_t pos;
        if (SearchIndex(e.SIDPar, &pos)) {
            CfgPut32(IndexRow(pos) + 4, used);
            CfgPut32(IndexRow(pos) + 8, (size << IndexSlotShift) | defaultFlag);
        }
        CfgPut32(m_DataCtrl, used + size);
        return 0;
    }
    if (r == -1) return -2;
    if (r != -3) return -1;
    if (used + size > ShmDataSectionDataSize) return SectNoRoom;
    BuildSetupSectPacket(head, data, m_Data + used);
    r = InsertIndexEntry(head->SSID, head->Par, used, (size << IndexSlotShift) | defaultFlag);
    if (r != 0) return r == -1 ? -2 : r;
    CfgPut32(m_DataCtrl, used + size);
    return 0;
}

int TConfigSetting::SetSectionData(uint16_t SSID, uint16_t Par, const void* data, uint32_t length) {
    if (length > SetupSectMaxData) return SectNoRoom;
    SetupSectPacket head = {};
    head.SSID = SSID;
    head.Par = Par;
    head.length = static_cast<uint16_t>(length);
    head.time = m_Now();
    return SetSectionNEW(&head, static_cast<const uint8_t*>(data), 0);
}

// ---- item registry ----

void TConfigSetting::SortItems() {
    if (!m_ItemsDirty) return;
    std::sort(m_Items.get(), m_Items.get() + m_ItemCount, [](const TConfigItem& a, const TConfigItem& b) {
        uint16_t sa = static_cast<uint16_t>(a.SSID), sb = static_cast<uint16_t>(b.SSID);
        return sa != sb ? sa < sb : a.Par < b.Par;
    });
    m_ItemsDirty = false;
}

int TConfigSetting::FindItemIndex(uint16_t SSID, uint16_t Par) {
    SortItems();
    uint32_t lo = 0, hi = m_ItemCount;
    while (lo < hi) {
        uint32_t mid = lo + (hi - lo) / 2;
        const TConfigItem& it = m_Items[mid];
        uint16_t s = static_cast<uint16_t>(it.SSID);
        if (s == SSID && it.Par == Par) return static_cast<int>(mid);
        if (s < SSID || (s == SSID && it.Par < Par))
            lo = mid + 1;
        else
            hi = mid;
    }
    return -1;
}

const TConfigItem* TConfigSetting::FindItem(uint16_t SSID, uint16_t Par) {
    int i = FindItemIndex(SSID, Par);
    return i < 0 ? nullptr : &m_Items[i];
}

int TConfigSetting::SSAPIInitConnectWithDefault() {
    int duplicates = 0;
    for (const TSettingDefault* row = m_Defaults; row && row->SSID != 0; ++row) {
        if (FindItemIndex(static_cast<uint16_t>(row->SSID), static_cast<uint16_t>(row->Par)) >= 0) {
            ++duplicates;
            continue;
        }
        if (m_ItemCount >= m_ItemCapacity) {
            TRACE_ERR("item registry full");
            break;
        }
        m_Items[m_ItemCount++] = {row->SSID, static_cast<uint16_t>(row->Par), nullptr, row->data, row->length,
                                  ItemResultNone, ItemResultNone};
        m_ItemsDirty = true;
    }
    SortItems();
    return -duplicates;
}

int TConfigSetting::SSAPIRegisterLocalData(uint16_t SSID, uint16_t Par, void* variable, uint32_t length) {
    int i = FindItemIndex(SSID, Par);
    if (i < 0) {
        if (m_ItemCount >= m_ItemCapacity) return -1;
        i = static_cast<int>(m_ItemCount++);
        m_Items[i] = {static_cast<int16_t>(SSID), Par, nullptr, nullptr, 0, ItemResultNone, ItemResultNone};
        m_ItemsDirty = true;
    }
    TConfigItem& it = m_Items[i];
    if (it.variable) return -2;
    if (it.length != 0 && it.length != length) return -3;
    it.length = length;
    it.variable = variable;
    SortItems();
    return 0;
}

int TConfigSetting::MoveItem(uint16_t SSID, uint16_t Par, bool store) {
    int i = FindItemIndex(SSID, Par);
    if (i < 0) return ItemNotFound;
    TConfigItem& it = m_Items[i];
    if (!it.variable) return ItemNotBound;
    if (store) return it.lastWrite = SetSectionData(SSID, Par, it.variable, it.length);
    return it.lastRead = GetSectionData(SSID, Par, it.variable, it.length);
}

int TConfigSetting::StoreItem(uint16_t SSID, uint16_t Par) { return MoveItem(SSID, Par, true); }

int TConfigSetting::FetchItem(uint16_t SSID, uint16_t Par) { return MoveItem(SSID, Par, false); }

void TConfigSetting::SetChangeCallback(TConfigChangeFn fn, void* user) {
    // One process uses the store here, so no change is ever reported through it.
    m_ChangeFn = fn;
    m_ChangeUser = user;
}
