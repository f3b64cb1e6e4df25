// One terrain frame: the window around the recorded flight's field loaded
// from the generated tiles, and the scene drawn off screen at 800 x 480, at
// the altitudes of each mesh step.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/terrain_support.h"
#include "gui_terr/terrain_view.h"

namespace {

void Setup() {
    TerrainSceneInit(TGLCamera{0, 0, 0, 0});
    SetTerrainMapDir((std::string(RUN_DIR) + "/map").c_str());
}

// Window placement and load alone (the update of each frame).
void BM_TerrainUpdate(benchmark::State& state) {
    Setup();
    const int32_t altitude = int32_t(state.range(0));
    int32_t heading = 0;
    for (auto _ : state) {
        heading = (heading + 7) % 3600;
        if (TerrainSceneUpdate(TGLTerrainInput{50.08f, 14.26f, heading, altitude, 0}) != 0) {
            state.SkipWithError("generated tiles missing");
            break;
        }
    }
}
BENCHMARK(BM_TerrainUpdate)->Arg(600)->Arg(2500)->Arg(6000)->Arg(12000);

// Update, horizon and mesh, finished in the buffer.
void BM_TerrainFrame(benchmark::State& state) {
    terrain_test::GLFrame frame;
    if (!frame.Ok()) {
        state.SkipWithError("no off-screen GL context");
        return;
    }
    Setup();
    const TGLCamera cam = {int32_t(state.range(0)), 150, -30, 2400};
    for (auto _ : state) {
        if (TerrainSceneUpdate(TGLTerrainInput{50.08f, 14.26f, cam.heading, cam.altitude, cam.pitch}) != 0) {
            state.SkipWithError("generated tiles missing");
            break;
        }
        frame.Begin();
        TerrainSceneDraw(cam, false, false);
        frame.End("terrain_bench");
    }
}
BENCHMARK(BM_TerrainFrame)->Arg(600)->Arg(2500)->Arg(6000)->Arg(12000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
