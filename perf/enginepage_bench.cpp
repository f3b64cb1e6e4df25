// One frame of the engine page (and of the flight view's engine strip) as the
// main window's paint draws it over an empty background: value boxes, bars,
// marks, annunciators, instrument temperature and status bar.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "configmanager.h"
#include "enginepage.h"
#include "fgdrawbuffer.h"
#include "fgwindow.h"
#include "page_assets.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "units.h"

namespace {

void Prepare() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!LoadBenchPageAssets()) return;
    UnitsSetting.temperature = UnitCelsius;
    UnitsSetting.enginePress = UnitBar;
    UnitsSetting.manifoldPress = UnitMbar;
    LimitRpm = {5500, 0, 5000, 5300, 0, 1000, 0, {}};
    LimitOilPress = {70, 0, 60, 65, 10, 20, 0, {}};
    LimitOilTemp = {140, 0, 110, 130, 0, 50, 0, {}};
    LimitTankLeft = LimitTankRight = {700, 100, 150, 0, 0, 0, {}};
    LimitFuelPress = {50, 10, 15, 40, 45, 0, {}};
    LimitEgt = {9000, 0, 0, 8500, 8800, 0, {}};
    LimitCht = {1500, 0, 0, 1200, 1350, 0, {}};
    TEngineGaugeConfig& g = EngineGaugeConfig;
    g.cylinders = 4;
    for (int i = 0; i < 4; ++i) {
        g.egt[i].thermocouple = static_cast<uint8_t>(i + 1);
        g.cht[i].thermocouple = static_cast<uint8_t>(i + 5);
    }
    g.tankUsed = g.twoTanks = g.fuelFlowUsed = g.fuelPressUsed = 1;
    g.oilPressUsed = g.oilTempUsed = g.waterChtUsed = 1;
    g.canopyInput = g.gearUpInput = g.gearDownInput = 1;
    TankSetting[0].calibrated = TankSetting[1].calibrated = 1;
    InitialSetting();
    const int centres[DialCount][2] = {{123, 353}, {354, 353}, {445, 353}, {677, 353}, {112, 90}, {179, 90},
                                       {101, 374}, {75, 93},   {126, 93},  {101, 233}, {73, 374}, {217, 374}};
    for (int i = 0; i < DialCount; ++i) {
        EngineDialConfig[i].cx = centres[i][0];
        EngineDialConfig[i].cy = centres[i][1];
        EngineDialConfig[i].covered = i == DialAuxTemp || i == DialWater || i >= DialCombinedRpm;
    }
    TRefreshValues& r = RefreshValues;
    r.rpm = 5100;   // yellow readout
    r.oilPress = 45;
    r.oilTemp = 95;
    r.map = 850;
    r.water = 80;
    r.auxTemp = NoValue;
    r.fuelLevel[0] = 600;
    r.fuelLevel[1] = 90;   // low fuel
    r.fuelPress = 42;      // warning
    r.fuelFlow = 260;
    for (int i = 0; i < 12; ++i) {
        r.thermo[i] = i % 2 ? 120 + i : 820 + i;
        snprintf(r.thermoText[i], sizeof r.thermoText[i], "%d", static_cast<int>(r.thermo[i]));
    }
    r.thermo[5] = NoValue;
    r.inputBits = 0x1 | 0x4;
    r.instTemp = 810;
    snprintf(r.clockText, sizeof r.clockText, "14: 05: 33");
    snprintf(r.dateText, sizeof r.dateText, "09. 12. 26");
    InstTempShown = 1;
    LayoutCaps = CapEnginePage | CapFlightPage | CapEngineStrip;
}

void Frame(benchmark::State& st, int screen) {
    Prepare();
    FGDrawBuffer win(800, 480, FG_TYPE_BITMAP, 0);
    MainWindow = &win;
    ScreenType = screen;
    PlaceInstTempItem();
    FGEvent e{};
    e.type = FGE_REDRAW;
    for (auto _ : st) {
        win.clear(0);
        OnMainWindowEvent(nullptr, &e);
        benchmark::ClobberMemory();
    }
    MainWindow = nullptr;
}

void BM_EnginePageFrame(benchmark::State& st) { Frame(st, ScreenEngine); }
BENCHMARK(BM_EnginePageFrame);

void BM_EngineStripFrame(benchmark::State& st) { Frame(st, ScreenFlightEms); }
BENCHMARK(BM_EngineStripFrame);

}  // namespace

BENCHMARK_MAIN();
