// Shared by the fuzz targets of benchdesk's inputs: a block of the process's
// own (removed at exit) with the data-source thread's attachments, console silenced.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Threadmeassure.h"
#include "shm.h"

inline void FuzzBenchBlock() {
    static bool ready = false;
    if (ready) return;
    ready = true;
    static std::string name = "/HKMeasure-fuzz-" + std::to_string(getpid());
    setenv("HK_SHM_NAME", name.c_str(), 1);
    BenchConsoleHook = nullptr;
    static TMValWriter* writer = new TMValWriter();
    static TMValReader* reader = new TMValReader();
    ValWriter = writer;
    ValReader = reader;
    atexit([] { ShmUnlink(name.c_str()); });
}
