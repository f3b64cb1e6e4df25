// One refresh tick with every display channel subscribed and holding a value:
// averaging, conversion, extremes and texts, without the repaint.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "averdata.h"
#include "chandesc.h"
#include "hkmeasure.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "shm.h"

namespace {

int64_t Sec = 1700000000;
int32_t Usec = 0;
void BenchClock(int64_t* sec, int32_t* usec) {
    *sec = Sec;
    *usec = Usec;
}

void Advance() {
    Usec += 100000;
    if (Usec >= 1000000) {
        Usec -= 1000000;
        ++Sec;
    }
}

void BM_RefreshTick(benchmark::State& st) {
    const std::string name = "/refresh-bench-" + std::to_string(getpid());
    setenv("HK_SHM_NAME", name.c_str(), 1);
    ShmUnlink(name.c_str());
    {
        TMValWriter writer;
        TMValReader reader;
        TAverData aver(&reader, 100);
        AverReader = &aver;
        SubscribeDisplayChannels();
        for (int i = 0; i < ChannelDescCount; ++i) writer.SetVal(ChannelDescTable[i].id, 100 + i);
        RefreshClock = BenchClock;
        ShellBusy = 0;
        RepaintEnabled = 0;
        const int screen = static_cast<int>(st.range(0));
        ScreenType = screen;
        for (auto _ : st) {
            Advance();
            benchmark::DoNotOptimize(RefreshDisplayData());
        }
        AverReader = nullptr;
        RefreshClock = nullptr;
    }
    ShmUnlink(name.c_str());
}
// Screen 1 the engine page, 2 the flight page.
BENCHMARK(BM_RefreshTick)->Arg(1)->Arg(2);

}  // namespace

BENCHMARK_MAIN();
