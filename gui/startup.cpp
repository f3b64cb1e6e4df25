#include "startup.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <memory>

#include "averdata.h"
#include "configmanager.h"
#include "display.h"
#include "fgbase.h"
#include "fgfontmanager.h"
#include "enginepage.h"
#include "fgwindow.h"
#include "flighthsi.h"
#include "flightlinks.h"
#include "gui_terr/glview.h"
#include "gui_terr/terrain_view.h"
#include "hkmeasure.h"
#include "hkutils.h"
#include "initialsetting.h"
#include "lookup.h"
#include "menulinks.h"
#include "process.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellhooks.h"
#include "shellstate.h"

FGWindow* MainFGWindow = nullptr;

namespace {

// The program's own global objects, in construction order. The configuration
// manager is the common library's global object and exists before these.
struct TMainGlobals {
    std::unique_ptr<TMValReader> reader;
    std::unique_ptr<TAverData> aver;
    std::unique_ptr<TInterpTable> slipCurve;
} Globals;

constexpr unsigned MainWindowFlags = 0x20800280;  // no frame, no title, centred, no close, no first paint

// From the settings' loading to the quit save, a lost X server saves what the quit saves:
// files only, no X call.
bool LossSaves = false;

void DisplayLost(const char* name) {
    const char* what = "ending.";
    if (LossSaves) {
        LossSaves = false;
        StoreScreenType(ScreenType);
        what = SaveAtQuit() == 0 ? "statistics and runtime settings saved; ending."
                                 : "the settings could not be saved; ending.";
    }
    DoneMainGlobals();  // leaves the block: its name goes with its last user
    std::fprintf(stderr, "dashview: the X display \"%s\" was lost; %s\n", name, what);
}

}  // namespace

void InitMainGlobals() {
    Globals.reader.reset(new TMValReader());
    Globals.aver.reset(new TAverData(Globals.reader.get(), RefreshPeriod));
    AverReader = Globals.aver.get();
    Globals.slipCurve.reset(new TInterpTable());
    Globals.slipCurve->Init(InterpCompareX, 1);
    SlipCurve = Globals.slipCurve.get();
    BuildDisplayPalette();
    SetItemColourDefaults();
}

void SetItemColourDefaults() {
    const TDisplayPalette& p = DisplayPalette;
    const int32_t red = static_cast<int32_t>(p.PalRed);
    auto alarmRed = [&](int first, int last) {
        for (int row = first; row <= last; ++row) PageItems[row].alarmColour = red;
    };
    alarmRed(10, 17);
    alarmRed(31, 31);
    alarmRed(36, 51);
    alarmRed(58, 58);
    alarmRed(71, 71);
    alarmRed(78, 79);
    PageItems[78].warnColour = PageItems[79].warnColour = red;
    PageItems[30].textColour = static_cast<int32_t>(p.PalSkyBlue);

    // The strips draw in their own colour; the few white warning colours stay.
    const int32_t nav = static_cast<int32_t>(p.PalNavGreen), gps = static_cast<int32_t>(p.PalGpsBlue);
    for (int row = 0; row < NavStripRows; ++row) {
        TDisplayItem& it = NavStripItems[row];
        it.textColour = it.alarmColour = nav;
        if (row != 2 && row != 4) it.warnColour = nav;
    }
    for (int row = 0; row < GpsStripRows; ++row) {
        TDisplayItem& it = GpsStripItems[row];
        it.textColour = gps;
        if (row != 4) it.alarmColour = gps;
        if (row != 4 && row != 19) it.warnColour = gps;
    }
}

void DoneMainGlobals() {
    SlipCurve = nullptr;
    Globals.slipCurve.reset();
    AverReader = nullptr;
    Globals.aver.reset();
    Globals.reader.reset();  // its destructor leaves the block
}

void SelectGpsStatusBit() { GpsStatusBit = DevicePort[1].protocol == 2 ? 4 : 1; }

void CheckVfrSquawkPreset() {
    if (VfrCodeSetting.code == 0x1200 || VfrCodeSetting.code == 0x7000) return;
    VfrCodeSetting.code = 0x7000;
    SetSS(SsVfrCode, 0);
}

void TakeStartTime(int64_t unixMicroseconds) {
    StartTimeSec = static_cast<int32_t>(unixMicroseconds / 1000000);
    StartTimeUsec = static_cast<int32_t>(unixMicroseconds % 1000000);
}

int RegisterDisplayFonts() {
    int registered = 0;
    for (int i = 0; i < DisplayFontCount; ++i) {
        const char* file = DisplayFontFiles[i];
        DisplayFonts[i] = FGFontManager::register_font(file, file + 5);  // named without "Data/"
        if (DisplayFonts[i] < 0)
            ShellPrint("MAIN: font %s not registered\n", file);
        else
            ++registered;
    }
    return registered;
}

void StartScreen() {
    const int last = DisplaySetting.screenWord & ScreenWordTypeMask;
    if (last >= ScreenEngine && last <= ScreenTransit) {
        SelectScreen(last);
        return;
    }
    SelectScreen(ScreenEngine);
    StoreScreenType(ScreenType);
    SaveRuntime();
}

int ShellStartUp() {
    if (MenuLinks.PowerOffReset) MenuLinks.PowerOffReset();  // no power-off countdown runs
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    TakeStartTime(static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
    // menu and keys: geometry, callbacks and keyboards of the menu and the soft-key table
    // (the tank calibration and the directory selection add theirs once they exist)
    if (MenuLinks.StartMenus) MenuLinks.StartMenus();
    RegisterDisplayFonts();
    SetLanguage(0);
    SetupModeActive = 0;
    if (ConfigManager.Store()) ConfigManager.Store()->SetOwner(0);
    DisplaySetLostHook(DisplayLost);
    LoadSetting(nullptr, KindAll, 0);
    LossSaves = true;
    GetSS(SsApCommand2, 0);
    GetSS(SsApCommand2, 1);
    GetSS(SsServoRecord, 0);
    GetSS(SsServoRecord, 1);
    GetSS(SsApCommand4, 0);
    GetSS(SsApCommand4, 1);
    GetSS(SsServoPass, 0);
    GetSS(SsServoProcess, 0);
    GetSS(SsGyro, 0);
    ConfigManager.ReadDeviceInfo();
    ConfigManager.ReadDeviceInfoExt();
    DeviceID = InDemoMode() ? DemoModelCode : ConfigManager.GetDeviceType();
    ReadFunctionBits();
    SetDisplayCapabilities();
    SelectGpsStatusBit();
    CheckVfrSquawkPreset();
    if (SlipCurve) {
        SlipCurve->rangeMode = SlipCurveRangeMode;
        SlipCurve->AddPoints(SlipCurvePoints, TInterpTable::MaxPoints);
    }
    ScreenType = 0;
    MainFGWindow = new FGWindow(&MainFGWindow, 0, 0, 800, 480, "Skyvane", OnMainWindowEvent, 0, 0,
                                MainWindowFlags, -1);
    if (!MainFGWindow) {
        ShellPrint("MAIN: main window not created\n");
        return -1;
    }
    MainWindow = MainFGWindow;
    MainFGWindow->own_paper = true;  // PaintFrame lays it
    InstallTerrainHooks(GLTerrainHooks);
    InitGLView(MainFGWindow->pixels);
    ConnectFlightPage();
    if (DeviceID == DeviceRemoteDisplay && !InDemoMode() &&
        (!MenuLinks.CreateEntertainer || !MenuLinks.CreateEntertainer(MainFGWindow)))
        ShellPrint("MAIN: Entertainer not created\n");
    StartScreen();
    InitialSetting();
    if (RefreshHooks.BindScreenKeys) RefreshHooks.BindScreenKeys();
    SubscribeDisplayChannels();
    FixBrightness();
    SetBrightness(BrightnessSetting.level, 0);
    if (RefreshHooks.JpdStartStamp) RefreshHooks.JpdStartStamp();
    RefreshHooks.RepaintMainWindow = [] {
        if (MainFGWindow) MainFGWindow->DrawFrame();
    };
    RefreshPostEvent = RefreshPostToApp;
    RefreshTimerProc(0);
    RefreshTimer = new FGTimer(0, RefreshTimerTick);
    if (RefreshTimer) fg_set_timer(RefreshPeriod, RefreshTimerTick);
    ShellBusy = 0;
    if (InDemoMode()) {
        DemoIdleCountdown = -1;
        // The notice raises DemoBannerShown and its confirmation clears it, so the idle
        // reset arms again with the next key; without a notice nothing holds it off.
        if (MenuLinks.ShowDemoNotice) MenuLinks.ShowDemoNotice();  // its box and soft-key mode 21
        SetTerrainMapDir("map");
    }
    if (MenuLinks.LoadLastStatus) MenuLinks.LoadLastStatus();
    // What the start-up only passed through (files read, pictures decoded, the GL
    // context's first shaders, the libraries' relocation tables) goes back to the system.
    ProcessTrimHeap();
    ProcessReleaseLoaderTables();
    return 0;
}

void ShellShutDown() {
    ShellBusy = 1;
    if (RefreshTimer) fg_set_timer(0, nullptr);
    RefreshPostEvent = nullptr;
    RefreshHooks.RepaintMainWindow = nullptr;
    usleep(10000);  // a timer callback already under way finishes
    delete RefreshTimer;
    RefreshTimer = nullptr;
    StoreScreenType(ScreenType);
    SaveAtQuit();
    LossSaves = false;
    ConfigManager.Release();
    SetBrightness(0, 1);
    DoneGLView();
    delete MainFGWindow;
    MainFGWindow = nullptr;
    MainWindow = nullptr;
}
