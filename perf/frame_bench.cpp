// The whole frame as dashview runs it: the refresh event, the averaged reads,
// the page paint (2-D and GL), the merge of the GL picture and the presentation
// through the headless display. Reported as CPU time of the whole process per
// frame (the GL library's worker threads included); the feed of the measured
// values, the other program's work, is left out of the timing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "frame_road.h"

namespace {

frame_road::TFrameRoad Road;
int FrameNumber = 0;

void BM_Frame(benchmark::State& state) {
    const int screen = static_cast<int>(state.range(0));
    if (!Road.Select(screen, state.range(1) != 0)) {
        state.SkipWithError("layout not allowed on this device");
        return;
    }
    for (int i = 0; i < 5; ++i) {
        Road.Feed(++FrameNumber);
        Road.Frame();
    }
    const int moving = static_cast<int>(state.range(2));
    const int gapMs = static_cast<int>(state.range(3));
    // Taxiing, the values wander among a few points and come back, two frames each.
    static const int Wander[8] = {0, 0, 1, 1, 2, 2, 1, 1};
    const int base = FrameNumber;
    int frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Road.Feed(moving == 2 ? base + Wander[frame++ % 8] : moving ? ++FrameNumber : FrameNumber);
        // The running program draws a frame every 100 ms: by then its pixels and
        // Mesa's have left the caches, which back-to-back frames never show.
        if (gapMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        state.ResumeTiming();
        Road.Frame();
    }
    state.SetItemsProcessed(state.iterations());
}
// (screen, terrain, moving, gap): 1 engine page, 2 flight page, 3 flight view and
// engine strip; moving 1 airborne (new values every frame), 2 taxiing (a few values
// that come back), 0 holding still; gap
// the milliseconds between two frames (100 as the refresh runs).
void Frames(benchmark::internal::Benchmark* b) {
    b->ArgNames({"screen", "terrain", "moving", "gap"})->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_Frame)
    ->Apply(Frames)
    ->Args({2, 0, 1, 0})
    ->Args({2, 0, 0, 0})
    ->Args({2, 0, 2, 0})
    ->Args({2, 1, 1, 0})
    ->Args({1, 0, 1, 0})
    ->Args({3, 0, 1, 0})
    ->Args({3, 1, 1, 0});
// The sleeps are no CPU time: a count of frames keeps the run to 10 s.
BENCHMARK(BM_Frame)->Apply(Frames)->Args({2, 0, 1, 100})->Iterations(100);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!Road.Open()) {
        std::fprintf(stderr, "frame_bench: dashview did not start\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    Road.Close();
    benchmark::Shutdown();
    return 0;
}
