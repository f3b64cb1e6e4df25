#include "Threadmeassure.h"

#include <sys/time.h>
#include <time.h>

#include <cerrno>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "readfile.h"
#include "trace.h"
#include "unique_fd.h"

std::atomic<TBenchConsoleHook> BenchConsoleHook{StdoutConsole};
std::atomic<TMValWriter*> ValWriter{nullptr};
std::atomic<TMValReader*> ValReader{nullptr};
std::atomic<int> WriterAttached{0};
uint32_t LoopPacketCount = 0;

std::atomic<bool> BenchDumpSamples{BenchDumpFromEnvironment()};

// Flushed: the state lines are few and must show at once also through a pipe.
void StdoutConsole(const char* text) {
    fputs(text, stdout);
    fflush(stdout);
}

namespace {

void ConsoleLine(const char* format, va_list args) {
    TBenchConsoleHook hook = BenchConsoleHook.load();
    if (!hook) return;
    char line[1024];
    vsnprintf(line, sizeof line, format, args);
    hook(line);
}

}  // namespace

void BenchPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ConsoleLine(format, args);
    va_end(args);
}

bool BenchDumpFromEnvironment() {
    const char* value = getenv(BenchDumpVariable);
    return value && *value && strcmp(value, "0") != 0;
}

void BenchDumpf(const char* format, ...) {
    if (!BenchDumpSamples) return;
    va_list args;
    va_start(args, format);
    ConsoleLine(format, args);
    va_end(args);
}

void DebugOutput(const char* text) { PrintHook(text); }

namespace {

struct TBenchNotices {
    std::mutex lock;
    bool posted[NoticeCount] = {};
    bool taken[NoticeCount] = {};
    std::string text[NoticeCount];
} Notices;

}  // namespace

std::atomic<void (*)()> BenchNoticeWake{nullptr};

void BenchNotice(int cause, const char* text) {
    if (cause < 0 || cause >= NoticeCount || !text) return;
    {
        std::lock_guard<std::mutex> hold(Notices.lock);
        if (Notices.posted[cause]) return;
        Notices.posted[cause] = true;
        Notices.text[cause] = text;
    }
    if (auto wake = BenchNoticeWake.load()) wake();
}

bool TakeBenchNotice(std::string* text) {
    std::lock_guard<std::mutex> hold(Notices.lock);
    for (int i = 0; i < NoticeCount; ++i) {
        if (!Notices.posted[i] || Notices.taken[i]) continue;
        Notices.taken[i] = true;
        if (text) *text = Notices.text[i];
        return true;
    }
    return false;
}

void ResetBenchNotices() {
    std::lock_guard<std::mutex> hold(Notices.lock);
    for (int i = 0; i < NoticeCount; ++i) {
        Notices.posted[i] = Notices.taken[i] = false;
        Notices.text[i].clear();
    }
}

namespace {

uint64_t NowStamp() {
    timeval tv;
    gettimeofday(&tv, nullptr);
    return MakeMeasStamp(static_cast<uint32_t>(tv.tv_sec), static_cast<uint32_t>(tv.tv_usec));
}

// value x scale, truncated toward zero into a 32-bit word. A product that lies
// within float precision of a whole number is that number: 304.8 x 10 is 3048.
bool ScaledWord(float value, double scale, int32_t& word) {
    double x = static_cast<double>(value) * scale;
    if (!std::isfinite(x)) return false;
    double whole = std::nearbyint(x);
    if (std::fabs(x - whole) <= std::ldexp(std::fabs(x), -21)) x = whole;
    x = std::trunc(x);
    if (x < -2147483648.0 || x > 2147483647.0) return false;
    word = static_cast<int32_t>(x);
    return true;
}

}  // namespace

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void WaitForTerminate(const std::atomic<bool>* terminate) {
    while (!*terminate) SleepMs(25);
}

int SetChanValue(uint32_t id, float value) {
    TMValWriter* writer = ValWriter.load();
    if (!writer) return -2;
    const TChannelDesc* row = TMeasuredVals::FindChannelDesc(id);
    if (!row) return -1;
    uint64_t stamp = NowStamp();
    int type = static_cast<int>(row->valueType);
    if (type == mvtFloat) {
        if (!std::isfinite(value)) return -3;
        return writer->SetVal(id, value, &stamp);
    }
    double scale;
    if (type == mvtInt) scale = 1;
    else if (type == mvtFix16) scale = 65536;
    else if (type >= mvtDec1 && type <= mvtDec5) scale = std::pow(10.0, type - 5);
    else return 0;
    int32_t word;
    if (!ScaledWord(value, scale, word)) return -3;
    return writer->SetVal(id, word, &stamp);
}

int SetChanNoValue(uint32_t id) {
    TMValWriter* writer = ValWriter.load();
    if (!writer) return -2;
    if (!TMeasuredVals::FindChannelDesc(id)) return -1;
    uint64_t stamp = NowStamp();
    return writer->SetVal(id, MeasNoValue, &stamp);
}

int SetChanValueOrNone(uint32_t id, double value) {
    // Beyond a float's range the narrowing itself is undefined.
    int rc = std::isfinite(value) && std::fabs(value) <= FLT_MAX ? SetChanValue(id, static_cast<float>(value)) : -3;
    if (rc != -3) return rc;
    rc = SetChanNoValue(id);
    return rc == 0 ? 1 : rc;
}

const char* ChanName(uint32_t id) {
    if (!ValWriter.load()) return "";
    const TChannelDesc* row = TMeasuredVals::FindChannelDesc(id);
    return row ? row->name : "";
}

// ---- replay ----

namespace {

// A read of the file every hundred records or so, not every seven.
constexpr size_t LoopBufferBytes = 64 * 1024;
struct TLoopFile {
    std::unique_ptr<char[]> buffer;  // the stream's: it goes after the stream
    UniqueFile file;
    bool atEnd = false;  // the next record starts again at the first
    uint32_t offset = 0;  // of the next record; asking the stream costs a system call
};
TLoopFile Loop;

bool Fits(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

int OpenLoopFile(const char* name) {
    CloseLoopFile();
    FILE* f = OpenStreamForReading(name);
    if (!f) {
        const char* why = strerror(errno);
        BenchPrintf("LoopFile open for reading ERROR: %s\n", why);
        BenchPrintf("fgserv: file loop is not opened: %s\n", why);
        return -1;
    }
    if (!Loop.buffer) Loop.buffer = std::make_unique<char[]>(LoopBufferBytes);
    setvbuf(f, Loop.buffer.get(), _IOFBF, LoopBufferBytes);
    Loop.file.reset(f);
    Loop.atEnd = false;
    Loop.offset = 0;
    return 0;
}

void CloseLoopFile() {
    Loop.file.reset();
    Loop.atEnd = false;
    Loop.offset = 0;
}

int LoopEntryStores(const FlySimEntry& e, TLoopStore out[LoopStoresMax], const char** reason) {
    uint32_t chan = e.chan.Get();
    int kind = e.type.Get() & 0xFF;
    *reason = nullptr;
    TLoopStore own = {chan, kind == FlySimFloat || kind == FlySimText ? kind : FlySimInt, 0, 0, {}};
    if (kind == FlySimFloat) {
        own.f = e.FloatValue();
        if (!std::isfinite(own.f)) {
            *reason = "holds no number";
            return 0;
        }
        out[0] = own;
        return 1;
    }
    if (kind == FlySimText) {
        memcpy(own.text, e.value, 4);
        own.text[4] = '\0';
        out[0] = own;
        return 1;
    }
    int64_t v = e.IntValue();
    int n = 0;
    switch (chan) {
    case echVolt1: case echVolt2: case echVolt3:
    case echCurr1: case echCurr2: case echCurr3:
    case echPressOil: v /= 10; break;
    case echInercialAccPilot: v += 10; break;
    case echPressMap: v *= 5; break;
    case echTempOil:
        out[n++] = {echTempAux1, FlySimInt, static_cast<int32_t>(v * 9 / 10), 0, {}};
        out[n++] = {echTempWater, FlySimInt, static_cast<int32_t>(v), 0, {}};
        break;
    default: break;
    }
    if (!Fits(v)) {
        *reason = "is out of range";
        return 0;
    }
    own.i = static_cast<int32_t>(v);
    out[n++] = own;
    return n;
}

namespace {

// Marks the file to start over and says why nothing was stored.
int LoopRecordFailed(int code, const char* what, uint32_t offset) {
    BenchPrintf("LoopFile: record at offset 0x%08x is %s, nothing stored.\n", offset, what);
    char text[160];
    snprintf(text, sizeof text, "The recorded flight cannot be read whole: its record at offset 0x%08x is %s.",
             static_cast<unsigned>(offset), what);
    BenchNotice(NoticeLoopRecord, text);
    Loop.atEnd = true;
    return code;
}

void StoreLoopEntry(TMValWriter* writer, int index, const FlySimEntry& e, uint64_t stamp) {
    TLoopStore stores[LoopStoresMax];
    const char* reason;
    int n = LoopEntryStores(e, stores, &reason);
    if (n == 0) {
        BenchPrintf("LoopFile: entry %d (chan %d) %s, skipped.\n", index, e.chan.Get(), reason);
        return;
    }
    for (int k = 0; k < n; ++k) {
        const TLoopStore& s = stores[k];
        int rc;
        if (s.kind == FlySimFloat) rc = writer->SetVal(s.chan, s.f, &stamp);
        else if (s.kind == FlySimText) rc = writer->SetVal(s.chan, s.text, &stamp);
        else rc = writer->SetVal(s.chan, s.i, &stamp);
        if (rc) {
            BenchPrintf("ValWriter->SetVal ERROR = %d, chan = %d (%s).\n", rc, s.chan, ChanName(s.chan));
        } else if (k == n - 1 && BenchDumpSamples) {  // names are looked up only for the dump
            if (s.kind == FlySimFloat) BenchDumpf("SetVal[%d] = %f (%s)\n", index, s.f, ChanName(s.chan));
            else if (s.kind == FlySimInt) BenchDumpf("SetVal[%d] = %d (%s)\n", index, s.i, ChanName(s.chan));
        }
    }
}

}  // namespace

namespace {

// Reads the next record's entries (at most FlySimMaxEntries): the codes of PlayLoopRecord.
int ReadLoopRecord(FlySimEntry entries[FlySimMaxEntries], uint32_t* taken) {
    *taken = 0;
    FILE* f = Loop.file.get();
    if (!f) return -1;
    BenchDumpf("--- Packet of values from loop file, offset = 0x%08x -------\n", Loop.offset);
    if (Loop.atEnd) {
        BenchPrintf("--- Reload loop file from start ...\n");
        rewind(f);
        Loop.atEnd = false;
        Loop.offset = 0;
    }
    uint32_t offset = Loop.offset;
    FlySimHead head;
    size_t got = fread(&head, 1, sizeof head, f);
    if (got == 0 && feof(f)) {
        Loop.atEnd = true;
        return 1;
    }
    if (got < sizeof head) return LoopRecordFailed(-2, "truncated", offset);
    uint32_t count = head.count.Get();
    uint32_t n = count < FlySimMaxEntries ? count : FlySimMaxEntries;
    if (fread(entries, sizeof entries[0], n, f) < n) return LoopRecordFailed(-2, "truncated", offset);
    if (n < count) {
        BenchPrintf("LoopFile: record at offset 0x%08x has %u entries, %u taken.\n", offset, count, n);
        if (fseeko(f, static_cast<off_t>(count - n) * static_cast<off_t>(sizeof(FlySimEntry)), SEEK_CUR) != 0)
            return LoopRecordFailed(-2, "truncated", offset);
    }
    LEField<uint32_t> trailer;
    if (fread(trailer.b, 1, sizeof trailer.b, f) < sizeof trailer.b) return LoopRecordFailed(-2, "truncated", offset);
    if (trailer.b[0] != FlySimTrailerByte) return LoopRecordFailed(-3, "damaged", offset);
    Loop.offset = offset + static_cast<uint32_t>(sizeof head + count * sizeof(FlySimEntry) + sizeof trailer.b);
    LoopPacketCount = head.sample.Get();
    *taken = n;
    return 0;
}

void StoreLoopRecord(const FlySimEntry* entries, uint32_t n) {
    TMValWriter* writer = ValWriter.load();
    if (!writer) return;
    uint64_t stamp = NowStamp();
    TMeasBatch batch;  // one record is one batch of stores
    for (uint32_t i = 0; i < n; ++i) StoreLoopEntry(writer, static_cast<int>(i), entries[i], stamp);
}

// Whether storing `next` overwrites every store of `held`: the same channels of the same
// kinds, entry for entry, each with a value it stores.
bool Overwrites(const FlySimEntry* held, uint32_t heldCount, const FlySimEntry* next, uint32_t n) {
    if (n != heldCount) return false;
    for (uint32_t i = 0; i < n; ++i) {
        if (memcmp(&next[i], &held[i], sizeof next[i]) == 0) continue;  // the same fate
        if (next[i].chan.Get() != held[i].chan.Get() || (next[i].type.Get() & 0xFF) != (held[i].type.Get() & 0xFF))
            return false;
        TLoopStore stores[LoopStoresMax];
        const char* reason;
        if (LoopEntryStores(next[i], stores, &reason) == 0) return false;
    }
    return true;
}

}  // namespace

int PlayLoopRecord() {
    FlySimEntry entries[FlySimMaxEntries];
    uint32_t n = 0;
    const int rc = ReadLoopRecord(entries, &n);
    if (rc == 0) StoreLoopRecord(entries, n);
    return rc;
}

int PlayLoopRecords(int count) {
    TMeasBatch batch;  // the block's size is looked up once
    FlySimEntry entries[2][FlySimMaxEntries];
    uint32_t n[2] = {0, 0};
    int held = -1;  // the record read and not yet stored
    int rc = 0;
    for (int r = 0; r < count; ++r) {
        const int next = held == 0 ? 1 : 0;
        rc = ReadLoopRecord(entries[next], &n[next]);
        if (rc != 0) continue;
        // Every sample is stored while the samples are dumped.
        if (held >= 0 && (BenchDumpSamples || !Overwrites(entries[held], n[held], entries[next], n[next])))
            StoreLoopRecord(entries[held], n[held]);
        held = next;
    }
    if (held >= 0) StoreLoopRecord(entries[held], n[held]);
    return rc;
}

// ---- the thread ----

namespace {

constexpr int LoopRecordMs = 25;
constexpr int LoopRecordsPerWake = 4;

void RunLoopMode(const std::atomic<bool>* terminate) {
    BenchPrintf("File-loop mode\n");
    if (OpenLoopFile() != 0) {
        WaitForTerminate(terminate);
        return;
    }
    BenchPrintf("Reading simulation data from file ... in loop ...\n");
    DebugOutput("MeassureThread: File loop enter.\n");
    // A record every 25 ms of the flight, played four at a time: the display reads the block
    // once a refresh (100 ms), and each wake of this thread costs more than the records. The
    // wakes keep to a fixed beat, so that the time the records take does not slow the flight;
    // the clock is read once a wake (a reading is dear here too).
    constexpr long BeatNs = LoopRecordMs * LoopRecordsPerWake * 1000000L;
    timespec due = {};
    clock_gettime(CLOCK_MONOTONIC, &due);
    while (!*terminate) {
        PlayLoopRecords(LoopRecordsPerWake);
        due.tv_nsec += BeatNs;
        if (due.tv_nsec >= 1000000000L) {
            due.tv_nsec -= 1000000000L;
            ++due.tv_sec;
        }
        timespec now = {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (now.tv_sec > due.tv_sec + 1) due = now;  // after a stall: no burst to catch up
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
        }
    }
    DebugOutput("MeassureThread: File loop exit.\n");
}

}  // namespace

int MeassureThread(int mode, const std::atomic<bool>* terminate, const TMeassurePorts& ports) {
    DebugOutput("MeassureThread: INIT.\n");
    auto writer = std::make_unique<TMValWriter>();
    // Refused: the console has the reason, the bezel takes it from there.
    WriterAttached = MeasAttachment().UsingAsWriter > 0 ? 1 : -1;
    if (WriterAttached < 0) return -1;
    auto reader = std::make_unique<TMValReader>();
    ValWriter = writer.get();
    ValReader = reader.get();
    writer->SetVal(echInternalInputStatus, static_cast<int32_t>(32));
    writer->SetVal(echGPSValid, GpsWordValid);

    if (mode == MeassureModeLoop) RunLoopMode(terminate);
    else if (mode == MeassureModeFdm) FdmServer(ports, terminate);

    ValReader = nullptr;
    reader.reset();
    ValWriter = nullptr;
    writer.reset();
    BenchPrintf("Server exit\n");
    DebugOutput("MeassureThread: EXIT.\n");
    CloseLoopFile();
    return 0;
}

int WaitWriterAttached() {
    for (int i = 0; i < 1000 && WriterAttached == 0; ++i) SleepMs(10);
    return WriterAttached;
}

TMeassure::TMeassure(int mode, TMeassurePorts ports)
    : Mode(mode), Ports(ports), Terminated(false), ReturnValue(0), thread_(&TMeassure::Execute, this) {}

TMeassure::~TMeassure() {
    Terminate();
    WaitFor();
}

int TMeassure::WaitFor() {
    if (thread_.joinable()) thread_.join();
    return ReturnValue;
}

void TMeassure::Execute() { ReturnValue = MeassureThread(Mode, &Terminated, Ports); }
