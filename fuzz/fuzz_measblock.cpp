// A hostile writer of the measured-values block: the block is made of a chosen size, filled
// with a valid image and then edited by the input (header words, slot counts, types, values,
// redirects, texts, ids), and may shrink after the reader attached. The reader must stay
// inside the mapping, and the refresh must show "- - -" for every value it cannot read.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "averdata.h"
#include "hkmeasure.h"
#include "hkutils.h"
#include "quitrequest.h"
#include "refresh.h"
#include "settingvars.h"
#include "shellstate.h"
#include "shm.h"
#include "units.h"

namespace {

void Quiet(const char*) {}

int64_t ClockSec = 1700000000;
int32_t ClockUsec = 0;
void FuzzClock(int64_t* sec, int32_t* usec) {
    *sec = ClockSec;
    *usec = ClockUsec;
}

// The input read from the front; zeros once it is used up.
struct TInput {
    const uint8_t* data;
    size_t size, pos = 0;
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
    uint32_t Long() { return Word() | static_cast<uint32_t>(Word()) << 16; }
    bool More() const { return pos < size; }
};

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// A block as a writer leaves it: header, every dictionary channel with a value.
void ValidImage(uint8_t* b, uint32_t size) {
    memset(b, 0, size);
    if (size < sizeof(MeasShmHeader)) return;
    Put32(b, MeasShmMagic);
    const uint32_t slots = std::min<uint32_t>(ChannelDescCount, (size - sizeof(MeasShmHeader)) / 64);
    Put32(b + 4, slots);
    Put32(b + 28, 1);
    for (uint32_t i = 0; i < slots; ++i) {
        uint8_t* s = b + sizeof(MeasShmHeader) + 64 * i;
        const TChannelDesc& row = ChannelDescTable[i];
        Put32(s, row.valueType);
        if (row.valueType == mvtText)
            memcpy(s + 4, "ABCDEFGH", 8);
        else
            Put32(s + 4, 100 + i);
        Put32(s + 12, 1700000000);
        Put32(s + 20, row.id);
    }
}

// Applies the input's edits; each names a slot (or the header) and what to change.
void Edit(TInput& in, uint8_t* b, uint32_t size) {
    const uint32_t slots = size < sizeof(MeasShmHeader) ? 0 : (size - sizeof(MeasShmHeader)) / 64;
    for (int n = 0; n < 64 && in.More(); ++n) {
        const uint8_t op = in.Byte();
        if (op % 8 == 0) {  // a header word
            const uint32_t at = (in.Byte() % 10) * 4;
            if (at + 4 <= size) Put32(b + at, in.Long());
            continue;
        }
        if (!slots) continue;
        uint8_t* s = b + sizeof(MeasShmHeader) + 64 * (in.Word() % slots);
        switch (op % 8) {
            case 1: Put32(s, in.Byte() % 12); break;                       // value type
            case 2: Put32(s + 4, in.Long()); break;                        // value
            case 3: Put32(s + 4, static_cast<uint32_t>(-9999)); break;     // no value
            case 4: Put16(s + 52 + 2 * (in.Byte() & 1), in.Word()); break;  // redirect
            case 5: for (int i = 0; i < 8; ++i) s[4 + i] = in.Byte(); break;  // text
            case 6: Put32(s + 20, in.Word()); break;                       // channel id
            case 7: Put16(s + 52, static_cast<uint16_t>(ChannelDescTable[in.Word() % ChannelDescCount].id)); break;
        }
    }
}

// Every way of reading a channel, for every channel of the dictionary and a few others.
void ReadAll(TMValReader& r) {
    for (int i = 0; i <= ChannelDescCount; ++i) {
        const uint32_t id = i < ChannelDescCount ? ChannelDescTable[i].id : 0xFFFF;
        int32_t v;
        uint64_t stamp;
        TMValInfo info = {MValInfoWantType, 0, 0};
        r.GetVal(id, v);
        r.GetVal(id, v, mvtInt, &stamp, &info);
        r.GetVal(id, v, mvtFloat);
        r.GetVal(id, v, 8);
        char text[9];
        r.GetText(id, text, 8, &stamp);
        if (strlen(text) > 8) abort();
        MeasShmSlot slot;
        r.GetChanRawData(id, &slot);
        int index;
        TMeasuredVals::ResolveChannel(id, 0, &index);
        TMeasuredVals::ResolveChannel(id, 1, &index);
        r.ReadSlot(i, &slot);
    }
}

bool Dashes(const char* text) { return strstr(text, "- - -") != nullptr; }

// The refresh over the block: what it cannot read is drawn as "- - -".
void Refresh(TMValReader& r) {
    TAverData aver(&r, 100);
    AverReader = &aver;
    RefreshClock = FuzzClock;
    RefreshValues = {};
    UnitsSetting = {};
    EngineGaugeConfig = {};
    EngineGaugeConfig.oatUsed = EngineGaugeConfig.iatUsed = 1;
    EngineGaugeConfig.egt[0].thermocouple = 1;
    EngineStatistics = {};
    LastSecond = 0;
    ShellBusy = 0;
    ScreenType = 1;
    SubscribeDisplayChannels();
    for (int i = 0; i < 12; ++i) {
        ClockUsec += 100000;
        if (ClockUsec >= 1000000) ClockUsec -= 1000000, ++ClockSec;
        RefreshDisplayData();
    }
    int32_t v;
    const TRefreshValues& rv = RefreshValues;
    if (r.GetVal(echTempOAT, v, mvtDec1) < 0 && !Dashes(rv.oatText)) abort();
    if (r.GetVal(echTempIAT, v, mvtDec1) < 0 && !Dashes(rv.iatText)) abort();
    if (r.GetVal(echRpmEng, v, mvtInt) < 0 && rv.rpm != NoValue) abort();
    if (r.GetVal(echPressOil, v, 7) < 0 && rv.oilPress != NoValue) abort();
    if (r.GetVal(echThermo0, v, mvtDec1) < 0 && !Dashes(rv.thermoText[0])) abort();
    if (r.GetVal(echEngineTime, v, mvtInt) < 0 && !Dashes(rv.engineTimeText)) abort();
    AverReader = nullptr;
    RefreshClock = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrintHook = Quiet;
    static const std::string name = "/fuzzmeas-" + std::to_string(getpid());
    setenv("HK_SHM_NAME", name.c_str(), 1);
    TInput in = {data, size};
    // The creator's size: dashview's, benchdesk's, or any from 1 byte on.
    const uint8_t pick = in.Byte();
    const uint16_t any = in.Word();
    const uint32_t blockSize = pick < 100 ? MeasShmSize : pick < 180 ? 16384 : 1 + any % 24576;
    const uint8_t shrinkPick = in.Byte();
    const uint16_t shrinkTo = in.Word();
    ShmUnlink(name.c_str());
    {
        ShmMapping writer;
        if (ShmCreateOrOpen(name.c_str(), blockSize, writer) != ShmOk) return 0;
        writer.MarkWriter(true);  // a live writer: its block is read
        ValidImage(writer.Data(), writer.Size());
        Edit(in, writer.Data(), writer.Size());
        {
            TMValReader reader;
            // The writer shrinks the block under the attached reader.
            if (shrinkPick >= 192 && ftruncate(writer.Handle(), shrinkTo % (blockSize + 1)) != 0) abort();
            ReadAll(reader);
            Refresh(reader);
        }
    }
    ShmUnlink(name.c_str());
    ClearQuitRequest();
    return 0;
}
