// The flight page's layers as one frame draws them: the attitude with its pitch
// ladder and bank scale, the two drums with their tapes, the vertical-speed arc,
// and a whole frame without measured values (grey area and error marks).
#include <benchmark/benchmark.h>

#include "fgdrawbuffer.h"
#include "flightpage.h"
#include "flighttapes.h"
#include "page_assets.h"
#include "settingvars.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "units.h"

namespace {

void Prepare() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!LoadBenchPageAssets(LoadTapePictures)) return;
    UnitsSetting.airspeed = UnitKnots;
    UnitsSetting.altitude = UnitFeet;
    AirspeedLimits = {5000, 8500, 12000, 15000};
}

struct TWindow {
    TWindow() {
        Prepare();
        MainWindow = &win;
        ScreenType = ScreenFlight;
    }
    ~TWindow() { MainWindow = nullptr; }
    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, 0};
};

void BM_Attitude(benchmark::State& st) {
    TWindow w;
    float roll = 0.0f;
    for (auto _ : st) {
        w.win.set_clip_rect(161, 84, 475, 336);
        DrawAttitude(0.07f, roll);
        w.win.set_clip_rect(0, 0, 800, 480);
        roll += 0.01f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Attitude);

void BM_Drums(benchmark::State& st) {
    TWindow w;
    int32_t h = 4560, s = 1230;
    for (auto _ : st) {
        DrawAltimeterReadout(h++);
        DrawAirspeedReadout(s++);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Drums);

void BM_VerticalSpeed(benchmark::State& st) {
    TWindow w;
    int32_t v = -250;
    for (auto _ : st) {
        DrawVerticalSpeed(v, 750, 480, &w.win);
        v = v < 250 ? v + 1 : -250;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_VerticalSpeed);

void BM_FrameWithoutValues(benchmark::State& st) {
    TWindow w;
    for (auto _ : st) {
        DrawFlightPage();
        DrawAltimeter();
        DrawAirspeedIndicator();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameWithoutValues);

}  // namespace

BENCHMARK_MAIN();
