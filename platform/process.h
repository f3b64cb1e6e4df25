// Starting other programs (the display program, outside tools) as detached children.
#pragma once

#include <cstdint>
#include <string>

// Return codes of the process layer.
enum {
    PROCESS_OK = 0,
    PROCESS_ERR_NOT_FOUND = -361,       // no such program file
    PROCESS_ERR_NOT_EXECUTABLE = -362,  // the file exists but may not be run
    PROCESS_ERR_START = -363,           // the system refused to start it
    PROCESS_ERR_ARGS = -364,
    PROCESS_ERR_DIRECTORY = -365,       // the working directory cannot be entered
};

// Starts `program` (a path; no search of PATH) with `args` (null-terminated list, not
// counting the program name; null for none) in `workDir` (null: the caller's own).
// *pid (optional) receives the child's id.
int ProcessStart(const char* program, const char* const* args, const char* workDir, int32_t* pid);

// Collects a child that has ended, without waiting: 1 ended (*exitCode set when given),
// 0 still running, or an error code.
int ProcessReap(int32_t pid, int* exitCode);

// The directory holding the running program's executable ("" when it cannot be told).
std::string ProcessOwnDirectory();

// Gives the free pages inside the heap back to the system, after a passing peak
// (a picture rebuilt through GL leaves megabytes free but resident).
void ProcessTrimHeap();

// Gives back the pages of every loaded library's relocation table, which the loader
// reads once at start and never again (the off-screen GL library's code generator
// alone brings 8.7 MiB). Only clean pages of read-only file mappings are let go: a
// later read maps them again from the file. Returns the bytes let go.
size_t ProcessReleaseLoaderTables();

// A short English text for a return code of this layer.
const char* ProcessErrorText(int code);
