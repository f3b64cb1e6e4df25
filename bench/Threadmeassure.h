// The data-source thread of benchdesk: feeds the measured-values block from the
// recorded flight (mode 0), the flight simulator (mode 1) or nothing (mode 2).
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "Fgserv.h"
#include "flysim.h"
#include "hkmeasure.h"

enum { MeassureModeLoop = 0, MeassureModeFdm = 1, MeassureModeNone = 2 };

// Printed diagnostic lines go to this hook (standard output unless replaced);
// debugger output goes through the print hook (the diagnostic log).
typedef void (*TBenchConsoleHook)(const char* text);
void StdoutConsole(const char* text);
extern std::atomic<TBenchConsoleHook> BenchConsoleHook;
void BenchPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The per-sample value dumps (replay entries, simulator packet fields) go through the same
// hook, but only while this is set: from the environment variable BENCHDESK_DUMP (any value
// but "" and "0") at start; tests set it directly.
inline constexpr char BenchDumpVariable[] = "BENCHDESK_DUMP";
extern std::atomic<bool> BenchDumpSamples;
bool BenchDumpFromEnvironment();
void BenchDumpf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugOutput(const char* text);

// What the data-source threads must also tell at the bezel, one text per cause: a cause
// is told once until the source is chosen again, however often it recurs.
enum { NoticeFdmPort, NoticeFdmServer, NoticeProps, NoticeFdmVersion, NoticeLoopRecord, NoticeCount };
void BenchNotice(int cause, const char* text);
// Called on the posting thread after a notice is posted, so that whoever shows them looks.
extern std::atomic<void (*)()> BenchNoticeWake;
// The next notice not yet taken; false when there is none.
bool TakeBenchNotice(std::string* text);
// A new data source: every cause may be told again.
void ResetBenchNotices();

void SleepMs(int ms);
// A thread with nothing (more) to do waits here for its end.
void WaitForTerminate(const std::atomic<bool>* terminate);

// The attachments of the running data-source thread (null when none).
extern std::atomic<TMValWriter*> ValWriter;
extern std::atomic<TMValReader*> ValReader;
// What the last thread started made of the block: 0 not yet known, 1 attached, -1 refused
// (MeasAttachRefusal says why). Its starter sets 0; WaitWriterAttached waits for the answer.
extern std::atomic<int> WriterAttached;
int WaitWriterAttached();

// 0; -2 no writer; -1 channel not in the dictionary; -3 the value cannot be
// stored (not a number, beyond the channel's range); other negatives: the block's failure.
int SetChanValue(uint32_t id, float value);
// Stores the block's no-value word (MeasNoValue), stamped now: 0, or SetChanValue's failures.
int SetChanNoValue(uint32_t id);
// A value the source could not give as a number (not finite, beyond the channel's range)
// reads as no value, not as the channel's last good value: 0 the value stored, 1 no value
// stored, or SetChanValue's other failures.
int SetChanValueOrNone(uint32_t id, double value);
// The GPS valid word of a working receiver: the valid bit and fix kind 1.
constexpr int32_t GpsWordValid = 0x100 | 1;
// The channel's name, or "" when unknown or no writer is attached.
const char* ChanName(uint32_t id);

// ---- replay of the recorded flight ----
// 0 opened; -1 (messages printed).
int OpenLoopFile(const char* name = LoopFileName);
// 0 a record played; 1 the end was met (nothing stored, the next call starts
// over); -1 no file; -2 truncated, -3 damaged record (nothing stored, the next call starts over).
int PlayLoopRecord();
// Plays `count` records as one: the display reads the block once a refresh, so a record that
// the next one overwrites entry for entry is not stored. The last record's code.
int PlayLoopRecords(int count);
void CloseLoopFile();
extern uint32_t LoopPacketCount;  // sample number of the last record read

// What one replay entry stores, after the channel adjustments: up to three values.
struct TLoopStore {
    uint32_t chan;
    int kind;  // FlySimInt, FlySimFloat or FlySimText
    int32_t i;
    float f;
    char text[5];
};
constexpr int LoopStoresMax = 3;
// The stores in order (the entry's own channel last): their count, or 0 with
// *reason set when the entry holds no usable value.
int LoopEntryStores(const FlySimEntry& e, TLoopStore out[LoopStoresMax], const char** reason);

int MeassureThread(int mode, const std::atomic<bool>* terminate, const TMeassurePorts& ports = TMeassurePorts());

class TMeassure {
public:
    // The thread runs at once.
    explicit TMeassure(int mode, TMeassurePorts ports = TMeassurePorts());
    // Terminates and waits.
    ~TMeassure();
    TMeassure(const TMeassure&) = delete;
    TMeassure& operator=(const TMeassure&) = delete;

    void Terminate() { Terminated = true; }
    // Waits for the end; the thread's result.
    int WaitFor();

    int Mode;
    TMeassurePorts Ports;
    std::atomic<bool> Terminated;
    int ReturnValue;

private:
    void Execute();
    std::thread thread_;
};
