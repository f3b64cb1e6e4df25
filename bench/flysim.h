// Recorded flight "Data/flysim.dat": a sequence of records, little-endian.
// A record is a 12-byte head, its entries (8 bytes each) and a 4-byte trailer;
// the generator always writes 67 entries, so 552 bytes a record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hkmeasure.h"  // LEField

constexpr const char* LoopFileName = "Data/flysim.dat";
constexpr uint32_t FlySimMagic = 0xAA55AA55u;
constexpr uint32_t FlySimTrailer = 0x55AA55AAu;  // only its first byte (0xAA) is checked
constexpr uint8_t FlySimTrailerByte = 0xAA;
constexpr uint32_t FlySimMaxEntries = 67;

// Value types of an entry (the low byte of its type word).
enum { FlySimInt = 1, FlySimFloat = 2, FlySimText = 3 };

struct FlySimHead {
    LEField<uint32_t> magic;   // FlySimMagic (not checked on reading)
    LEField<uint32_t> sample;  // running sample number
    LEField<uint32_t> count;   // entries that follow
};
static_assert(sizeof(FlySimHead) == 12, "flysim head layout");

struct FlySimEntry {
    LEField<uint16_t> chan;
    LEField<uint16_t> type;  // low byte: 2 float, 3 text, else integer
    uint8_t value[4];        // i32, IEEE-754 single or 4 characters

    int32_t IntValue() const {
        LEField<int32_t> v;
        for (int i = 0; i < 4; ++i) v.b[i] = value[i];
        return v.Get();
    }
    float FloatValue() const {
        const int32_t bits = IntValue();
        float f;
        static_assert(sizeof f == sizeof bits, "IEEE-754 single");
        __builtin_memcpy(&f, &bits, sizeof f);
        return f;
    }
    void SetInt(uint32_t channel, int32_t v) {
        Set(channel, FlySimInt);
        LEField<int32_t> w;
        w.Set(v);
        for (int i = 0; i < 4; ++i) value[i] = w.b[i];
    }
    void SetFloat(uint32_t channel, float f) {
        uint32_t bits;
        __builtin_memcpy(&bits, &f, sizeof bits);
        SetInt(channel, static_cast<int32_t>(bits));
        type.Set(FlySimFloat);
    }
    void SetText(uint32_t channel, const char* text) {
        Set(channel, FlySimText);
        bool end = false;
        for (int i = 0; i < 4; ++i) {
            end = end || !text[i];  // nothing is read past the terminator
            value[i] = end ? 0 : static_cast<uint8_t>(text[i]);
        }
    }

private:
    void Set(uint32_t channel, uint16_t t) {
        chan.Set(static_cast<uint16_t>(channel));
        type.Set(t);
    }
};
static_assert(sizeof(FlySimEntry) == 8, "flysim entry layout");

// A full record as the generator writes it.
struct FlySimRecord {
    FlySimHead head;
    FlySimEntry entry[FlySimMaxEntries];
    LEField<uint32_t> trailer;
};
static_assert(sizeof(FlySimRecord) == 552, "flysim record layout");
static_assert(offsetof(FlySimRecord, entry) == 12 && offsetof(FlySimRecord, trailer) == 548,
              "flysim record layout");
