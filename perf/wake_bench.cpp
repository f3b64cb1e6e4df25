// What one wake of a sleeping thread costs on this machine: a thread that does nothing but
// sleep to a 100 ms beat, as the bench's data thread does between its records. Its CPU time
// per iteration is the floor under that thread's cost; ten times it, in ms, its floor a second.
#include <benchmark/benchmark.h>
#include <time.h>

namespace {

void BM_WakeFromBeat(benchmark::State& st) {
    timespec due = {};
    clock_gettime(CLOCK_MONOTONIC, &due);
    for (auto _ : st) {
        due.tv_nsec += 100000000L;
        if (due.tv_nsec >= 1000000000L) {
            due.tv_nsec -= 1000000000L;
            ++due.tv_sec;
        }
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) != 0) {
        }
    }
}
// The iterations follow the wall clock: --benchmark_min_time=30 sleeps about 300 beats.
BENCHMARK(BM_WakeFromBeat)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
