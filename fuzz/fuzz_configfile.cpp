// Arbitrary bytes as a setup file and its backup: the reader walks them and the
// store loads them, saves them and reads the items back.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "configsetting.h"
#include "hkutils.h"

namespace {
const uint8_t Four[4] = {1, 2, 3, 4};
const uint8_t Sixteen[16] = {5};
const TSettingDefault Defaults[] = {
    {0x4001, 0, Sixteen, 16}, {0x4002, 0, Four, 4}, {0x4002, 1, Four, 4}, {0x4065, 0x201, Sixteen, 16},
    {0, 0, nullptr, 0},
};

void Quiet(const char*) {}

void WriteFile(const char* name, const uint8_t* data, size_t size) {
    FILE* f = fopen(name, "wb");
    if (!f) abort();
    if (size) fwrite(data, 1, size, f);
    fclose(f);
}

char WorkDir[] = "/tmp/fuzz_configfile_XXXXXX";

void Cleanup() {
    for (const char* name : {"setup.dat", "setup.bck"}) remove(name);
    if (chdir("/") == 0) rmdir(WorkDir);
}

bool Setup() {
    PrintHook = Quiet;
    if (!mkdtemp(WorkDir) || chdir(WorkDir) != 0) abort();
    atexit(Cleanup);
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = Setup();
    (void)ready;
    size_t datSize = size ? (size - 1) * data[0] / 255 : 0;
    const uint8_t* rest = size ? data + 1 : data;
    WriteFile("setup.dat", rest, datSize);
    WriteFile("setup.bck", rest + datSize, size ? size - 1 - datSize : 0);

    TConfig reader("setup.dat");
    uint32_t type = 0;
    reader.CheckFileHeader("setup.dat", &type);
    if (reader.OpenConfig() == 0) {
        SetupSectPacket head;
        const uint8_t* body = nullptr;
        for (int r = reader.GetFirstSection(&head, &body); r == 0; r = reader.GetNextSection(&head, &body)) {
            volatile uint8_t sink = head.length ? body[head.length - 1] : 0;
            (void)sink;
        }
        const uint8_t* found = nullptr;
        reader.GetSectionBCK(0x4002, 0, 4, &found, "setup.bck");
    }

    TConfigSetting store(Defaults);
    uint8_t a[16], b[4];
    store.SSAPIRegisterLocalData(0x4001, 0, a, sizeof a);
    store.SSAPIRegisterLocalData(0x4002, 0, b, sizeof b);
    store.LoadConfig("", 8, 1);
    store.FetchItem(0x4001, 0);
    store.FetchItem(0x4002, 0);
    store.SaveConfig("", 8);
    return 0;
}
