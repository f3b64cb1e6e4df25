// Measured-values block: named shared memory that benchdesk writes and dashview
// reads, one 64-byte slot per channel after a 256-byte header (little-endian).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "chandesc.h"

// Little-endian field of a shared layout: a byte array, so no alignment or padding.
template <typename T>
struct LEField {
    using U = std::make_unsigned_t<T>;
    uint8_t b[sizeof(T)];

    T Get() const {
        U v = 0;
        for (size_t i = 0; i < sizeof(T); ++i) v = static_cast<U>(v | static_cast<U>(static_cast<U>(b[i]) << (8 * i)));
        return static_cast<T>(v);
    }
    void Set(T value) {
        U v = static_cast<U>(value);
        for (size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    }
};

constexpr uint32_t MeasShmMagic = 1000001;
#ifdef BENCHDESK
constexpr uint32_t MeasShmSize = 16384;
#else
constexpr uint32_t MeasShmSize = 24576;
#endif

struct MeasShmHeader {
    LEField<uint32_t> magic;      // MeasShmMagic once initialised
    LEField<uint32_t> slotCount;  // N
    uint8_t zero8[16];
    LEField<int32_t> NumReaders;  // reader attachments, all processes
    LEField<int32_t> NumWriters;  // writer attachments, all processes
    LEField<uint32_t> zero32;
    LEField<uint32_t> word36;     // written 0 by the initialisation
    uint8_t zero40[216];
};
static_assert(sizeof(MeasShmHeader) == 256, "header layout");
static_assert(offsetof(MeasShmHeader, NumReaders) == 24 && offsetof(MeasShmHeader, NumWriters) == 28 &&
                  offsetof(MeasShmHeader, word36) == 36,
              "header layout");

// Value types of a slot.
enum TMValType {
    mvtNone = 0,    // never written
    mvtInt = 1,     // int32
    mvtFloat = 2,   // IEEE-754 single
    mvtText = 3,    // up to 8 characters, no NUL when 8 long
    mvtFix16 = 5,   // 16.16 fixed point (no conversions)
    mvtDec1 = 6,    // int32 in units of 0.1 ... up to
    mvtDec5 = 10,   // int32 in units of 0.00001
};

struct MeasShmSlot {
    LEField<uint32_t> type;
    uint8_t value[8];             // i32 or float in 0..3, or text in 0..7
    LEField<uint32_t> stampSec;   // seconds since 1970-01-01 UTC
    LEField<uint32_t> stampUsec;  // microseconds within the second
    LEField<uint32_t> id;
    uint8_t zero24[28];
    LEField<uint16_t> redirect[2];  // non-zero: readers take this channel instead
    uint8_t zero56[8];

    int32_t Value() const;
    void SetValue(int32_t v);
    // The time stamp as one 8-byte unit: seconds in the low word, microseconds in the high.
    uint64_t Stamp() const;
    void SetStamp(uint64_t stamp);
};
static_assert(sizeof(MeasShmSlot) == 64, "slot layout");
static_assert(offsetof(MeasShmSlot, value) == 4 && offsetof(MeasShmSlot, stampSec) == 12 &&
                  offsetof(MeasShmSlot, id) == 20 && offsetof(MeasShmSlot, redirect) == 52,
              "slot layout");

inline uint64_t MakeMeasStamp(uint32_t sec, uint32_t usec) {
    return static_cast<uint64_t>(sec) | (static_cast<uint64_t>(usec) << 32);
}

// Optional answer record of GetVal.
constexpr uint32_t MValInfoWantType = 1;
struct TMValInfo {
    uint32_t request;    // MValInfoWantType: answer the slot's value type
    uint32_t count;      // answers given
    uint32_t valueType;  // the slot's value type
};

// The raw word that a strict reader takes for "no value".
constexpr int32_t MeasNoValue = -9999;

typedef void (*TMValChangeCallback)(uint32_t channelId, void* userData);

// One view of the block. All objects of a process share one attachment; the
// process stays attached while any reader or writer attachment is counted.
class TMeasuredVals {
public:
    explicit TMeasuredVals(int writer);
    virtual ~TMeasuredVals();
    TMeasuredVals(const TMeasuredVals&) = delete;
    TMeasuredVals& operator=(const TMeasuredVals&) = delete;

    // 0; -1 not created, -2 not opened or refused, -3 the block is too small (on all three one
    // console line says why, and a quit with MeasExitNoBlock is requested).
    int InitSystemResources(int writer);
    // 0; -1 not attached or no attachment of that role.
    int FreeSystemResources(int writer);

    // 0 stored in the wanted type (or an info record given), 1 converted, < 0 failure.
    int GetVal(uint32_t id, int32_t& value, int wantedType = -1, uint64_t* stamp = nullptr,
               TMValInfo* info = nullptr);
    // buffer holds capacity + 1 bytes, capacity >= 8.
    int GetText(uint32_t id, char* buffer, int capacity, uint64_t* stamp = nullptr);
    int SetVal(uint32_t id, float value, const uint64_t* stamp = nullptr);
    int SetVal(uint32_t id, int32_t value, const uint64_t* stamp = nullptr);
    int SetVal(uint32_t id, const char* text, const uint64_t* stamp = nullptr);
    int GetChanRawData(uint32_t id, MeasShmSlot* buffer);

    static const TChannelDesc* FindChannelDesc(uint32_t id);
    static const TChannelDesc* FindChannel(uint32_t id, int* slotIndex);
    static const TChannelDesc* ResolveChannel(uint32_t id, int selector, int* slotIndex);
    static uint32_t FindChannelByName(const char* name);
    // Converts a value word (float bits for type 2); 0 same type, 1 converted,
    // -1 no conversions from that type, -2 none for the pair or the result does not fit.
    static int ConvertValue(int32_t raw, int fromType, int toType, int32_t& result);

    // -10 no buffer, -11 not attached, -12 index not below the header's slot count.
    int ReadSlot(int index, MeasShmSlot* buffer);
    int WriteSlot(int index, const MeasShmSlot* buffer);

    uint8_t Strict;  // 1: the raw value MeasNoValue means no value
    TMValChangeCallback OnChange;
    void* OnChangeData;
#ifndef BENCHDESK
    uint8_t InitialisedByMe;
#endif

private:
    int Lock() { return 0; }
    int Unlock() { return 0; }
    int StoreSlot(int index, uint32_t id, uint32_t type, const uint8_t value[8], const uint64_t* stamp);
    int ReadChannel(uint32_t id, MeasShmSlot* slot);
};

class TMValReader : public TMeasuredVals {
public:
    TMValReader() : TMeasuredVals(0) {}
    ~TMValReader() override;
};

class TMValWriter : public TMeasuredVals {
public:
    TMValWriter() : TMeasuredVals(1) {}
    ~TMValWriter() override;
};

// The size still backed by the block is looked up once per outermost batch (the
// system call is dear): a refresh, or a sample of a feed, is one batch, and a
// writer's shrink is seen from the next batch on. Batches nest.
class TMeasBatch {
public:
    TMeasBatch();
    ~TMeasBatch();
    TMeasBatch(const TMeasBatch&) = delete;
    TMeasBatch& operator=(const TMeasBatch&) = delete;
};

// Exit code of a program that could not attach its block.
constexpr int MeasExitNoBlock = 4;
// The console line of the last attachment that failed, without its "Error: ": what, why and
// what to do, joined by `joint`.
std::string MeasAttachRefusal(const char* joint = " ");

// Attachment state of this process, for diagnostics and tests.
struct TMeasAttachment {
    bool attached;
    int handle;
    uint32_t mappedSize;
    int UsingAsReader;
    int UsingAsWriter;
    int slots;  // the header's slot count, clamped to what the mapping holds
};
TMeasAttachment MeasAttachment();
