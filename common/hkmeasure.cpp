#include "hkmeasure.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "hkutils.h"
#include "quitrequest.h"
#include "shm.h"

// ---- slot fields ----

int32_t MeasShmSlot::Value() const {
    LEField<int32_t> word;
    memcpy(word.b, value, 4);
    return word.Get();
}

void MeasShmSlot::SetValue(int32_t v) {
    LEField<int32_t> word;
    word.Set(v);
    memcpy(value, word.b, 4);
}

uint64_t MeasShmSlot::Stamp() const {
    return MakeMeasStamp(stampSec.Get(), stampUsec.Get());
}

void MeasShmSlot::SetStamp(uint64_t stamp) {
    stampSec.Set(static_cast<uint32_t>(stamp));
    stampUsec.Set(static_cast<uint32_t>(stamp >> 32));
}

// ---- process-wide attachment ----

namespace {

struct TAttachState {
    ShmMapping map;
    int UsingAsReader = 0;
    int UsingAsWriter = 0;
};
// Built on first use, so that it outlives program objects that attach from their
// own static constructors and detach in their destructors.
TAttachState& AttState() {
    static TAttachState state;
    return state;
}

constexpr uint32_t ValidMagicAbove = 1000000;

MeasShmHeader* Header() { return reinterpret_cast<MeasShmHeader*>(AttState().map.Data()); }

// Some writer is alive: this process, or another whose mark the kernel has not dropped.
// The slots of a block whose writers have all gone are no measurement.
bool WriterAlive() { return AttState().UsingAsWriter > 0 || AttState().map.OtherWriter(); }

// The bytes still backed by the object (a writer may shrink it under us) and whether a
// writer is alive, looked up once per outermost read or batch.
thread_local int LiveDepth = 0;
thread_local uint32_t LiveBytes = 0;
thread_local bool LiveWriter = false;
using TLiveScope = TMeasBatch;
uint32_t MappedLive() { return LiveDepth > 0 ? LiveBytes : AttState().map.LiveSize(); }
bool WriterSeen() { return LiveDepth > 0 ? LiveWriter : WriterAlive(); }

void LookUpLive() {
    LiveBytes = AttState().map.LiveSize();
    LiveWriter = WriterAlive();
}

}  // namespace

TMeasBatch::TMeasBatch() {
    if (LiveDepth++ == 0) LookUpLive();
}
TMeasBatch::~TMeasBatch() { --LiveDepth; }

namespace {
// Attaching or detaching inside a batch takes the new size at once.
struct TMappingChange {
    TMappingChange() = default;
    TMappingChange(const TMappingChange&) = delete;
    TMappingChange& operator=(const TMappingChange&) = delete;
    ~TMappingChange() {
        if (LiveDepth > 0) LookUpLive();
    }
};
}  // namespace

namespace {

// Slots the mapping can hold, whatever the header says.
uint32_t SlotCapacity() {
    uint32_t size = MappedLive();
    return size < sizeof(MeasShmHeader) ? 0 : (size - sizeof(MeasShmHeader)) / sizeof(MeasShmSlot);
}

// The header's slot count comes from another process: never past the mapping. With no
// writer alive the block reads as one that no writer ever initialised.
int HeaderSlots() {
    const uint32_t capacity = SlotCapacity();  // 0 also when the header is gone
    return capacity && WriterSeen() ? static_cast<int>(std::min(Header()->slotCount.Get(), capacity)) : 0;
}

// The header is still backed by the object (a writer may have shrunk it).
bool HeaderLive() { return MappedLive() >= sizeof(MeasShmHeader); }

uint8_t* SlotAt(int index) {
    return AttState().map.Data() + sizeof(MeasShmHeader) + static_cast<size_t>(index) * sizeof(MeasShmSlot);
}

uint32_t SlotId(int index) {
    LEField<uint32_t> id;
    memcpy(id.b, SlotAt(index) + offsetof(MeasShmSlot, id), sizeof id.b);
    return id.Get();
}

// Counts of a header written by someone else may hold anything: wrap, never overflow.
void AddCount(LEField<int32_t>& count, int delta) {
    count.Set(static_cast<int32_t>(static_cast<uint32_t>(count.Get()) + static_cast<uint32_t>(delta)));
}

void InitBlock() {
    memset(AttState().map.Data(), 0, sizeof(MeasShmHeader) + ChannelDescCount * sizeof(MeasShmSlot));
    MeasShmHeader* h = Header();
    h->magic.Set(MeasShmMagic);
    h->slotCount.Set(ChannelDescCount);
    h->word36.Set(0);
    for (int i = 0; i < ChannelDescCount; ++i) {
        MeasShmSlot slot = {};
        slot.id.Set(ChannelDescTable[i].id);
        memcpy(SlotAt(i), &slot, sizeof slot);
    }
}

void PrintCounts() {
    HookPrintf("UsingAsReader=%d, UsingAsWriter=%d\n", AttState().UsingAsReader, AttState().UsingAsWriter);
}

void PrintHeaderCounts() {
    if (!HeaderLive()) return;
    HookPrintf("ShMem->NumReaders=%d, ShMem->NumWriters=%d\n", Header()->NumReaders.Get(), Header()->NumWriters.Get());
}

bool IsDecimalType(int type) { return type >= 6 && type <= 10; }

// Integer division rounding half away from zero.
int64_t DivideRounded(int64_t value, int64_t divisor) {
    return (value >= 0 ? value + divisor / 2 : value - divisor / 2) / divisor;
}

int FitInteger(int64_t value, int32_t& result) {
    if (value < INT32_MIN || value > INT32_MAX) return -2;
    result = static_cast<int32_t>(value);
    return 1;
}

// Also refuses NaN: every comparison with it is false.
int FitReal(double value, int32_t& result) {
    if (!(value >= -2147483648.0 && value <= 2147483647.0)) return -2;
    result = static_cast<int32_t>(value);
    return 1;
}

float BitsToFloat(int32_t bits) {
    float f;
    memcpy(&f, &bits, sizeof f);
    return f;
}

int32_t FloatToBits(float f) {
    int32_t bits;
    memcpy(&bits, &f, sizeof bits);
    return bits;
}

std::mutex RefusalLock;
std::string RefusalText[3];  // what, why, what to do

std::string UserName(uint32_t uid) {
    struct passwd pw, *found = nullptr;
    char buf[1024];
    const std::string number = std::to_string(uid);
    return getpwuid_r(uid, &pw, buf, sizeof buf, &found) == 0 && found ? number + " (" + found->pw_name + ")" : number;
}

std::string WhyNotOpened(int rc, const TShmFailure& why) {
    char text[160];
    if (rc == ShmErrForeign && why.uid != geteuid())
        return "it belongs to user " + UserName(why.uid) + ", not to user " + UserName(geteuid());
    if (rc == ShmErrForeign) snprintf(text, sizeof text, "other users may write it (mode %04o)", why.mode);
    else if (why.err) snprintf(text, sizeof text, "it cannot be opened (%s)", strerror(why.err));
    else snprintf(text, sizeof text, "it stays empty while another program holds it");
    return text;
}

// Neither program works without its block: one line on the console says what is wrong
// with which object and what to do, and the quit asked for carries a code that says so.
int RefuseBlock(int rc, const std::string& why, bool exists) {
    const char* name = ShmBlockName();
    std::string file = name;
    file.erase(0, file.find_first_not_of('/'));
    const std::string todo =
        exists ? "Have it removed (rm /dev/shm/" + file + ") or set HK_SHM_NAME to another name." : "Set HK_SHM_NAME to another name.";
    {
        std::lock_guard<std::mutex> hold(RefusalLock);
        RefusalText[0] = std::string(program_invocation_short_name) + " cannot use the measured-values block \"" + name + "\":";
        RefusalText[1] = why + ".";
        RefusalText[2] = todo;
    }
    const TTraceOrigin error = {"Error: ", nullptr, nullptr, 0};
    TraceLog(&error, "%s", MeasAttachRefusal().c_str());
    RequestQuit(MeasExitNoBlock);
    return rc;
}

}  // namespace

std::string MeasAttachRefusal(const char* joint) {
    std::lock_guard<std::mutex> hold(RefusalLock);
    return RefusalText[0] + joint + RefusalText[1] + joint + RefusalText[2];
}

TMeasAttachment MeasAttachment() {
    return {AttState().map.IsOpen(), AttState().map.Handle(), AttState().map.Size(), AttState().UsingAsReader, AttState().UsingAsWriter,
            HeaderSlots()};
}

TMeasuredVals::TMeasuredVals(int writer) {
#ifndef BENCHDESK
    InitialisedByMe = 0;
#endif
    InitSystemResources(writer);
    Strict = 1;
    OnChange = nullptr;
    OnChangeData = nullptr;
}

TMeasuredVals::~TMeasuredVals() = default;

TMValReader::~TMValReader() { FreeSystemResources(0); }

TMValWriter::~TMValWriter() { FreeSystemResources(1); }

int TMeasuredVals::InitSystemResources(int writer) {
    TMappingChange change;
    if (!AttState().map.IsOpen()) {
        // A block that nobody holds was left by programs that have ended (even killed
        // ones): a fresh one replaces it, as if the name had gone with its last user.
        TShmFailure why;
        int rc = ShmCreateOrOpen(ShmBlockName(), MeasShmSize, AttState().map, true, &why);
        if (rc == ShmErrCreate) {
            HookPrintf("ERROR in File Mapping\n");
            return RefuseBlock(-1, std::string("it cannot be created (") + strerror(why.err) + ")", false);
        }
        if (rc != ShmOk) {
            HookPrintf("ERROR in Getting Shared Memory\n");
            return RefuseBlock(-2, WhyNotOpened(rc, why), true);
        }
        if (AttState().map.Size() < sizeof(MeasShmHeader)) {
            const uint32_t size = AttState().map.Size();
            HookPrintf("ERROR in Shared Memory: %" PRIu32 " bytes hold no header\n", size);
            AttState().map.Close();
            return RefuseBlock(-3, "it holds " + std::to_string(size) + " bytes, too few for its header, while another program holds it", true);
        }
        HookPrintf("TMeasuredVals::InitSystemResources: Shared memory attached at %" PRIXPTR "\n",
            reinterpret_cast<uintptr_t>(AttState().map.Data()));
    }
    MeasShmHeader* h = Header();
    if (writer) {
        if (SlotCapacity() < static_cast<uint32_t>(ChannelDescCount)) {
            const uint32_t size = AttState().map.Size();
            HookPrintf("ERROR in Shared Memory: %" PRIu32 " bytes cannot hold %d slots\n", size, ChannelDescCount);
            if (AttState().UsingAsReader <= 0 && AttState().UsingAsWriter <= 0) AttState().map.Close();
            return RefuseBlock(-3, "it holds " + std::to_string(size) + " bytes, too few for " +
                                       std::to_string(ChannelDescCount) + " channels", true);
        }
        // Another writer attached means one alive: the count of a killed one stays behind.
        uint32_t n = h->slotCount.Get();
        bool keep = h->magic.Get() > ValidMagicAbove && n > static_cast<uint32_t>(ChannelDescCount - 1) &&
                    n <= SlotCapacity() && WriterAlive();
        if (!keep) {
            HookPrintf("TMeasuredVals::InitSystemResources - init memory.\n");
            InitBlock();
#ifndef BENCHDESK
            InitialisedByMe = 1;
#endif
        }
        AddCount(h->NumWriters, 1);
        if (AttState().UsingAsWriter++ == 0) AttState().map.MarkWriter(true);
    } else {
        AddCount(h->NumReaders, 1);
        ++AttState().UsingAsReader;
    }
    HookPrintf("Init ShMem success. SharedMemID=%d, ShMem=%p, Writer=%d\n", AttState().map.Handle(),
        static_cast<void*>(AttState().map.Data()), writer);
    PrintCounts();
    PrintHeaderCounts();
    return 0;
}

int TMeasuredVals::FreeSystemResources(int writer) {
    TMappingChange change;
    HookPrintf("TMeasuredVals::FreeSystemResources: Writer=%d\n", writer);
    PrintCounts();
    if (!AttState().map.IsOpen()) return -1;
    PrintHeaderCounts();
    MeasShmHeader* h = Header();
    int* local;
    if (writer) {
        if (AttState().UsingAsWriter <= 0) {
            HookPrintf("ERR 1\n");
            return -1;
        }
        if (HeaderLive()) AddCount(h->NumWriters, -1);
        local = &AttState().UsingAsWriter;
    } else {
        if (AttState().UsingAsReader <= 0) {
            HookPrintf("ERR 2\n");
            return -1;
        }
        if (HeaderLive()) AddCount(h->NumReaders, -1);
        local = &AttState().UsingAsReader;
    }
    if (writer && *local == 1) AttState().map.MarkWriter(false);
    if (--*local > 0) {
        HookPrintf(writer ? "Not Last(1) ...\n" : "Not Last(2) ...\n");
    } else if (AttState().UsingAsReader <= 0 && AttState().UsingAsWriter <= 0) {
        HookPrintf("Last ... detach shm ...\n");
        // The name goes with its last user, so that the next program starts on a fresh block.
        AttState().map.UnlinkIfSole(ShmBlockName());
        AttState().map.Close();
    } else {
        HookPrintf("Not Last(3) ...\n");
    }
    return 0;
}

// ---- lookup ----

const TChannelDesc* TMeasuredVals::FindChannelDesc(uint32_t id) {
    const TChannelDesc* end = ChannelDescTable + ChannelDescCount;
    const TChannelDesc* row = std::lower_bound(ChannelDescTable, end, id,
                                               [](const TChannelDesc& r, uint32_t key) { return r.id < key; });
    return (row != end && row->id == id) ? row : nullptr;
}

const TChannelDesc* TMeasuredVals::FindChannel(uint32_t id, int* slotIndex) {
    int index = -1;
    const TChannelDesc* row = FindChannelDesc(id);
    TLiveScope live;
    if (row && HeaderLive()) {
        const int own = static_cast<int>(row - ChannelDescTable);
        const int slots = HeaderSlots();
        if (Header()->magic.Get() < ValidMagicAbove) {
            index = own;
        } else if (slots == ChannelDescCount && SlotId(own) == id) {
            index = own;  // a block laid out by this dictionary: no search
        } else {
            int lo = 0, hi = slots - 1;
            while (lo <= hi) {
                int mid = lo + (hi - lo) / 2;
                uint32_t at = SlotId(mid);
                if (at == id) {
                    index = mid;
                    break;
                }
                if (at < id) lo = mid + 1;
                else hi = mid - 1;
            }
        }
    }
    if (slotIndex) *slotIndex = index;
    return row;
}

const TChannelDesc* TMeasuredVals::ResolveChannel(uint32_t id, int selector, int* slotIndex) {
    if (slotIndex) *slotIndex = -1;
    if (selector < 0 || selector > 1) return nullptr;
    TLiveScope live;
    constexpr int MaxLookups = 4;
    for (int round = 1;; ++round) {
        int index;
        const TChannelDesc* row = FindChannel(id, &index);
        if (!row || index < 0 || index >= HeaderSlots()) return nullptr;
        MeasShmSlot slot;
        memcpy(&slot, SlotAt(index), sizeof slot);
        uint16_t next = slot.redirect[selector].Get();
        if (next == 0 || round == MaxLookups) {
            if (slotIndex) *slotIndex = index;
            return row;
        }
        id = next;
    }
}

uint32_t TMeasuredVals::FindChannelByName(const char* name) {
    if (!name) return 0;
    for (const TChannelDesc& row : ChannelDescTable)
        if (strcmp(row.name, name) == 0) return row.id;
    return 0;
}

// ---- conversion ----

int TMeasuredVals::ConvertValue(int32_t raw, int fromType, int toType, int32_t& result) {
    if (fromType == toType) {
        result = raw;
        return 0;
    }
    if (fromType == mvtInt) {
        if (toType == mvtFloat) {
            result = FloatToBits(static_cast<float>(raw));
            return 1;
        }
        if (IsDecimalType(toType)) return FitInteger(int64_t{raw} * IntPower(10, toType - 5), result);
        return -2;
    }
    if (fromType == mvtFloat) {
        double value = BitsToFloat(raw);
        if (toType == mvtInt) return FitReal(std::trunc(value), result);
        if (IsDecimalType(toType))
            return FitReal(std::floor(value * static_cast<double>(IntPower(10, toType - 5)) + 0.5), result);
        return -2;
    }
    if (IsDecimalType(fromType)) {
        if (toType == mvtInt) return FitInteger(DivideRounded(raw, IntPower(10, fromType - 5)), result);
        if (toType == mvtFloat) {
            static const long double Scale[] = {1e-1L, 1e-2L, 1e-3L, 1e-4L, 1e-5L};
            result = FloatToBits(static_cast<float>(raw * Scale[fromType - 6]));
            return 1;
        }
        if (IsDecimalType(toType)) {
            if (toType > fromType) return FitInteger(int64_t{raw} * IntPower(10, toType - fromType), result);
            return FitInteger(DivideRounded(raw, IntPower(10, fromType - toType)), result);
        }
        return -2;
    }
    return -1;
}

// ---- slot access ----

int TMeasuredVals::ReadSlot(int index, MeasShmSlot* buffer) {
    if (!buffer) return -10;
    if (!AttState().map.IsOpen()) return -11;
    if (index < 0 || index >= HeaderSlots()) return -12;
    Lock();
    memcpy(buffer, SlotAt(index), sizeof *buffer);
    Unlock();
    return 0;
}

int TMeasuredVals::WriteSlot(int index, const MeasShmSlot* buffer) {
    if (!buffer) return -10;
    if (!AttState().map.IsOpen()) return -11;
    if (index < 0 || index >= HeaderSlots()) return -12;
    Lock();
    memcpy(SlotAt(index), buffer, sizeof *buffer);
    Unlock();
    return 0;
}

// ---- reading ----

// The slot a read takes: dashview follows redirects, benchdesk reads the
// channel's own slot. 0 or the failure code.
int TMeasuredVals::ReadChannel(uint32_t id, MeasShmSlot* slot) {
    if (!AttState().map.IsOpen()) return -10;
    TLiveScope live;
    int index;
#ifdef BENCHDESK
    const TChannelDesc* row = FindChannel(id, &index);
    if (!row) return -20;
    if (index < 0) return -22;
#else
    if (!ResolveChannel(id, 0, &index)) return -20;
#endif
    int rc = ReadSlot(index, slot);
    return rc ? rc - 50 : 0;
}

int TMeasuredVals::GetVal(uint32_t id, int32_t& value, int wantedType, uint64_t* stamp, TMValInfo* info) {
    value = 0;
    MeasShmSlot slot;
    int rc = ReadChannel(id, &slot);
    if (rc) return rc;
    int32_t word = slot.Value();
    if (Strict && word == MeasNoValue) return -21;
    int slotType = static_cast<int>(slot.type.Get());
    if (wantedType == -1) wantedType = slotType;
    int32_t converted;
    rc = ConvertValue(word, slotType, wantedType, converted);
    if (rc < 0) return rc - 30;
    value = converted;
    if (stamp) *stamp = slot.Stamp();
    if (info) {
        info->count = 0;
        if (info->request & MValInfoWantType) {
            info->valueType = static_cast<uint32_t>(slotType);
            info->count = 1;
        }
        return 0;
    }
    return rc;
}

int TMeasuredVals::GetText(uint32_t id, char* buffer, int capacity, uint64_t* stamp) {
    if (!buffer || capacity < 8) return -2;
    buffer[0] = '\0';
    MeasShmSlot slot;
    if (int rc = ReadChannel(id, &slot)) return rc;
    if (slot.type.Get() != mvtText) return -1;
    memcpy(buffer, slot.value, 8);
    buffer[8] = '\0';
    if (stamp) *stamp = slot.Stamp();
    return 0;
}

int TMeasuredVals::GetChanRawData(uint32_t id, MeasShmSlot* buffer) {
    if (!AttState().map.IsOpen()) return -10;
    if (!buffer) return -30;
    TLiveScope live;
    int index;
    if (!FindChannel(id, &index)) return -20;
    // An uninitialised block lends the row index, which it may not hold.
    if (index < 0 || ReadSlot(index, buffer) != 0) return -22;
    return 0;
}

// ---- writing ----

int TMeasuredVals::StoreSlot(int index, uint32_t id, uint32_t type, const uint8_t value[8],
                             const uint64_t* stamp) {
    MeasShmSlot slot = {};
    slot.type.Set(type);
    memcpy(slot.value, value, sizeof slot.value);
    slot.SetStamp(stamp ? *stamp : 0);
    slot.id.Set(id);
    int rc = WriteSlot(index, &slot);
    if (rc) return rc - 50;
    if (OnChange) OnChange(id, OnChangeData);
    return 0;
}

namespace {

// Checks shared by the three forms of SetVal: 0 or the failure code.
int WritableChannel(uint32_t id, const TChannelDesc** row, int* index) {
    if (!AttState().map.IsOpen()) return -10;
    *row = TMeasuredVals::FindChannel(id, index);
    if (!*row) return -20;
    if (*index < 0) return -22;
    return 0;
}

void WordBytes(int32_t word, uint8_t value[8]) {
    MeasShmSlot slot = {};
    slot.SetValue(word);
    memcpy(value, slot.value, 8);
}

}  // namespace

int TMeasuredVals::SetVal(uint32_t id, float value, const uint64_t* stamp) {
    const TChannelDesc* row;
    int index;
    if (int rc = WritableChannel(id, &row, &index)) return rc;
    int32_t word = FloatToBits(value);
    if (row->valueType != mvtFloat) {
        int rc = ConvertValue(word, mvtFloat, static_cast<int>(row->valueType), word);
        if (rc < 0) return rc - 30;
    }
    uint8_t bytes[8];
    WordBytes(word, bytes);
    return StoreSlot(index, id, row->valueType, bytes, stamp);
}

int TMeasuredVals::SetVal(uint32_t id, int32_t value, const uint64_t* stamp) {
    const TChannelDesc* row;
    int index;
    if (int rc = WritableChannel(id, &row, &index)) return rc;
    uint32_t type = row->valueType;
    if (type != mvtInt && type != mvtFix16 && !IsDecimalType(static_cast<int>(type))) type = mvtInt;
    uint8_t bytes[8];
    WordBytes(value, bytes);
    return StoreSlot(index, id, type, bytes, stamp);
}

int TMeasuredVals::SetVal(uint32_t id, const char* text, const uint64_t* stamp) {
    const TChannelDesc* row;
    int index;
    if (!text) return -2;
    if (int rc = WritableChannel(id, &row, &index)) return rc;
    uint8_t bytes[8] = {};
    for (int i = 0; i < 8 && text[i]; ++i) bytes[i] = static_cast<uint8_t>(text[i]);
    return StoreSlot(index, id, mvtText, bytes, stamp);
}
