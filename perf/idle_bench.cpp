// One second of the event loop with nothing to do (no key, no refresh): what the
// shell's idle hook costs between two frames, as CPU time and as idle passes.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "fgapp.h"
#include "shellhooks.h"

namespace {

int Passes = 0;

void CountedHook(FGApp* app) {
    ++Passes;
    IdleHook(app);
}

void BM_IdleSecond(benchmark::State& st) {
    char home[] = "/tmp/idle-bench-XXXXXX";
    if (!mkdtemp(home)) {
        st.SkipWithError("no folder for the toolkit's configuration");
        return;
    }
    setenv("HOME", home, 1);
    setenv("DASHVIEW_HEADLESS", "1", 1);
    char name[] = "idle_bench";
    char* argv[] = {name, nullptr};
    int argc = 1;
    {
        FGApp app(3, &argc, argv, 0, 0x80000000u | 0x18017u);
        fg_idle_callback = CountedHook;
        ResetIdleWatch();
        for (auto _ : st) {
            Passes = 0;
            fg_toolkit.quit = 0;
            std::thread quit([] {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                FGEvent e{};
                e.type = FGE_QUIT;
                FGApp::PostEvent(&e);
            });
            app.Run(nullptr);
            quit.join();
            st.counters["passes"] = Passes;
        }
        fg_idle_callback = nullptr;
    }
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_IdleSecond)->Iterations(3)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
