// One engine-dial frame of the GL view: clear, the four page needles and the
// OR merge into the main window's pixels; and the whole engine-page
// background rendered in setup mode, for comparison.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <vector>

#include "gui_terr/glview.h"
#include "gui_terr/instrument.h"
#include "initialsetting.h"
#include "shellstate.h"

namespace {

constexpr int W = 800, H = 480;
constexpr int64_t FRAME_BYTES = int64_t(W) * H * 4;

struct View {
    std::vector<uint32_t> target = std::vector<uint32_t>(size_t(W) * H, 0x202020);
    bool up;
    View() : up(chdir(RUN_DIR) == 0 && InitGLView(target.data())) {}
    ~View() { DoneGLView(); }
};

void BM_DialFrame(benchmark::State& st) {
    View view;
    if (!view.up) {
        st.SkipWithError("no GL view");
        return;
    }
    const int dials[4] = {DialRpm, DialOilPress, DialOilTemp, DialFourth};
    int32_t v = 0;
    for (auto _ : st) {
        ClearGLView();
        for (int d : dials) DrawGLNeedle(&EngineInstruments[d], v);
        FlushGLView();
        v = (v + 37) % 3000;
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(st.iterations() * FRAME_BYTES);
}
BENCHMARK(BM_DialFrame)->Unit(benchmark::kMillisecond);

void BM_EngineBackground(benchmark::State& st) {
    View view;
    if (!view.up) {
        st.SkipWithError("no GL view");
        return;
    }
    SetupModeActive = 1;
    for (auto _ : st) {
        OpenGLPaint(int32_t(st.range(0)));
        benchmark::ClobberMemory();
    }
    SetupModeActive = 0;
    st.SetBytesProcessed(st.iterations() * FRAME_BYTES);
}
BENCHMARK(BM_EngineBackground)->Arg(0)->Arg(GLPaintNarrow)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
