#include "refresh.h"

#include <libintl.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "averdata.h"
#include "chandesc.h"
#include "configfile.h"
#include "configmanager.h"
#include "flighthsi.h"
#include "hkmeasure.h"
#include "fgapp.h"
#include "hkutils.h"
#include "initialsetting.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "statusbar.h"
#include "units.h"

std::atomic<int> RefreshPending{0};
void (*RefreshPostEvent)(int type, int key) = nullptr;

int RefreshRunning = 0;
uint8_t FirstHalfSecond = 0;
int LastSecond = 0;
int TicksPerSecond = 0;
struct tm ClockRecord = {};
int ColorScheme = 0;
int PowerOffMissCount = 0;
int DemoCycleSeconds = 0;
TRefreshValues RefreshValues = {};

// State of the refresh that the status bar, the pages and the menus read.
int OneSecondCountdown[2] = {0, 0};
int GpsValid = 0;
int32_t GpsValidValue = 0;
uint8_t StatusInputFlags[3] = {0, 0, 0};
int RemoteDataFlags = 0;
int DemoOptions = 0;
TRefreshHooks RefreshHooks = {};
uint32_t ThermoChannelIds[12] = {};
int64_t BaroEditCloseMs = 0;

namespace {

void SystemClock(int64_t* sec, int32_t* usec) {
    timeval tv;
    gettimeofday(&tv, nullptr);
    *sec = tv.tv_sec;
    *usec = static_cast<int32_t>(tv.tv_usec);
}

// The period as the main thread last saw it, for the timer thread's answer.
std::atomic<int> SharedPeriod{50};

// A failed runtime save waits to be told, is told once, and is forgotten when a save
// succeeds: a knob that saves on every step never stacks a box per step.
enum { SaveFine, SaveUntold, SaveTold };
int SaveState = SaveFine;

int TicksThisSecond = 0;
int LastInputBit20 = -1;
int AutopilotWasActive = 0;

}  // namespace

void (*RefreshClock)(int64_t* sec, int32_t* usec) = SystemClock;

// ---------------------------------------------------------------- timer hand-over

int RefreshTimerProc(int) {
    int pending = RefreshPending.load();
    while (pending < 2) {
        if (RefreshPending.compare_exchange_weak(pending, pending + 1)) {
            if (RefreshPostEvent)
                RefreshPostEvent(1, RefreshEventKey);
            else
                RefreshPending.fetch_sub(1);  // nothing was posted
            break;
        }
    }
    return SharedPeriod.load(std::memory_order_relaxed);
}

void RefreshTimerTick(int) { RefreshTimerProc(0); }

void RefreshPostToApp(int type, int key) {
    FGEvent event = {};
    event.type = type;
    event.key = key;
    FGApp::PostEvent(&event);
}

void RefreshEventDone() {
    int pending = RefreshPending.load();
    while (pending > 0 && !RefreshPending.compare_exchange_weak(pending, pending - 1)) {
    }
}

void RefreshRestart() {
    RefreshPending.store(0);
    RefreshTimerProc(0);
}

// ---------------------------------------------------------------- small operations

int UpdateMinMax(int value, int* max, int* min) {
    if (max && value > *max) *max = value;
    if (min && value < *min) *min = value;
    return value;
}

int UpdateSettledMinMax(uint32_t id, int value, int* max, int* min) {
    if (AverReader && AverReader->Settled(id)) UpdateMinMax(value, max, min);
    return value;
}

void SetColorScheme(int index) { ColorScheme = index; }

// On the monotonic clock: a clock set back while the baro editor is open does not hold
// it open.
void ArmBaroDeadline() {
    constexpr int64_t BaroEditTimeoutMs = 5000;
    BaroEditActive = 1;
    BaroEditCloseMs = ShellClockMs() + BaroEditTimeoutMs;
}

// ---------------------------------------------------------------- subscriptions

namespace {

struct TSubscription {
    uint32_t first, last;  // a run of ids
    int32_t type, window, rate;
};

// The channels the pages show, with their value type and averaging (window s, samples/s).
const TSubscription Subscriptions[] = {
    {echAltitudeQNH, echAltitudeQNH, 1, 1, 20},
    {echSpeedIas, echSpeedIas, 6, 1, 20},
    {echSpeedTas, echSpeedTas, 6, 1, 20},
    {echInercialSlip, echInercialSlip, 1, 0, 0},
    {echInercialSideSlip, echInercialSideSlip, 7, 0, 0},
    {echInercialAoA, echInercialAoA, 1, 1, 20},
    {echInercialAccPilot, echInercialAccPilot, 6, 1, 20},
    {echSpeedVertical, echSpeedVertical, 6, 1, 20},
    {echRpmEng, echRpmEng, 1, 1, 20},
    {echRpmAux, echRpmAux, 1, 1, 20},
    {echPressOil, echPressOil, 8, 1, 20},
    {echTempOil, echTempOil, 1, 2, 20},
    {echTempWater, echTempWater, 1, 2, 20},
    {echTempAux1, echTempAux1, 1, 2, 20},
    {echPressMap, echPressMap, 8, 2, 20},
    {echThermo0, echThermo11, 1, 2, 20},
    {echTempIAT, echTempOAT, 1, 2, 20},
    {echInternalTempKTYMain, echInternalTempKTYMain, 6, 2, 20},
    {echFuelLevel1, echFuelUsed, 6, 2, 20},
    {echFuelEnduranceTime, echFuelEnduranceTime, 1, 0, 0},
    {echFuelEnduranceDist, echFuelEnduranceDist, 7, 0, 0},
    {echPressFuel, echPressFuel, 7, 2, 20},
    {echFuelFlow, echFuelFlow, 6, 2, 20},
    {echVolt1, echVolt3, 6, 2, 20},
    {echCurr1, echCurr3, 6, 2, 20},
    {echCtrlPosServo1Actual, echCtrlPosServo2Actual, 1, 1, 20},
    {echNavObs, echNavObs, 6, 0, 0},
    {echNavFrom, echNavValid, 1, 0, 0},
    {echNavBta, echNavBts, 6, 0, 0},
    {echNavFreqS, echNavFreqA, 7, 0, 0},
    {echNavGsiDef, echNavCdiDef, 1, 1, 5},
    {echNavLocDetect, echNavLocDetect, 1, 0, 0},
    {echGPSBtw, echGPSBtw, 6, 0, 0},
    {echGPSGrSpeed, echGPSGrSpeed, 6, 1, 20},
    {echGPSAlt, echGPSAlt, 1, 1, 20},
    {echGPSDtw, echGPSTrk, 6, 0, 0},
    {echGPSCdi, echGPSCdi, 7, 1, 20},
    {echGPSCrs, echGPSCrs, 6, 0, 0},
    {echGPSValid, echGPSSatnum, 1, 0, 0},
    {echInercialAzimut, echInercialAzimut, 6, 0, 0},
    {echInercialPitch, echInercialPitch, 6, 0, 0},
    {echInercialRoll, echInercialRoll, 6, 0, 0},
    {echGPSLat, echGPSLon, 10, 0, 0},
    {echEngineTime, echEngineTime, 1, 0, 0},
    {echInternalInputStatus, echInternalInputStatus, 1, 0, 0},
    {echInternalRemoteDataStatus, echInternalRemoteDataStatus, 1, 0, 0},
    {echBatRemainTime, echBatRemainTime, 1, 0, 0},
};

// Sensor sections stored again when the setup file holds them without their flags.
const uint16_t SeededSensors[19] = {echRpmEng, echPressMap, echRpmAux, echTempOil, echTempWater, echTempAux1, echPressOil, echPressFuel, echFuelLevel1, echFuelLevel2,
                                    echFuelFlow, echThermo0, echThermo1, echVolt1, echCurr1, echVolt2, echCurr2, echVolt3, echCurr3};
// The sensors of the default installation: engine speed, manifold and oil pressure, oil
// and water temperature, fuel flow.
const uint16_t ConfiguredSensors[6] = {echRpmEng, echPressMap, echPressOil, echTempOil, echTempWater, echFuelFlow};

bool FileExists(const std::string& name) { return access(name.c_str(), F_OK) == 0 || errno != ENOENT; }

// A first run: no setup file on disk (neither twin: one that is there but did not load is
// the user's to mend, never ours to write over) and the gauge configuration still the
// default. The stored configuration is the marker of a seeded setup.
bool FirstRun(TConfigSetting& store) {
    if ((store.IncompleteKinds() | DamagedSettingKinds()) & KindSetup) return false;
    if (FileExists("setup.dat") || FileExists("setup.bck")) return false;
    return store.LocateSection(SsThermoAssign, 0) == 1;  // 1: the default
}

void SeedSensorSections() {
    TConfigSetting* store = ConfigManager.Store();
    if (!store) return;
    if (FirstRun(*store)) {
        SetSS(SsThermoAssign, 0);
        for (uint16_t channel : ConfiguredSensors) SetSS(SsSensor, channel);
        for (uint16_t channel : SeededSensors) SetSS(SsLimit, channel);
        SaveSetting(nullptr, KindSetup);
    }
    if (store->FetchItem(SsLimit, echRpmEng) < 0 || (DamagedSettingKinds() & KindSetup)) return;
    if (CfgGet32(ConfigManager.m_Limit + 32) != 0) return;  // the flags word is there
    for (uint16_t channel : SeededSensors) SetSS(SsLimit, channel);
    SaveSetting(nullptr, KindSetup);
}

}  // namespace

void SubscribeDisplayChannels() {
    SeedSensorSections();
    if (!AverReader) return;
    for (const TSubscription& s : Subscriptions)
        for (uint32_t id = s.first; id <= s.last; ++id) AverReader->AddChannel(id, s.type, s.window, s.rate);
    AverReader->Sort();
    AverReader->SetAverFunc(echInercialAzimut, AverAngleMean);
}

// ---------------------------------------------------------------- the refresh

namespace {

bool Read(uint32_t id, int32_t& value) {
    value = NoValue;
    if (!AverReader) return false;
    int32_t v = 0;
    if (AverReader->GetValue(id, v) != 0) return false;
    value = v;
    return true;
}

void ReadText(uint32_t id, char (&text)[9]) {
    text[0] = '\0';
    if (AverReader && AverReader->Vals && AverReader->Vals->GetText(id, text, 8) < 0) text[0] = '\0';
    text[8] = '\0';
}

template <size_t N>
void Text(char (&dst)[N], const char* format, ...) __attribute__((format(printf, 2, 3)));
template <size_t N>
void Text(char (&dst)[N], const char* format, ...) {
    va_list args;
    va_start(args, format);
    vsnprintf(dst, N, format, args);
    va_end(args);
}

void Call(void (*hook)()) {
    if (hook) hook();
}
void BindKeys() { Call(RefreshHooks.BindScreenKeys); }
void PowerOff(int kind) {
    if (RefreshHooks.RequestPowerOff) RefreshHooks.RequestPowerOff(kind);
}

// A value and its extremes in the raw unit; NoValue without one.
int32_t Tracked(uint32_t id, TStatPair& stat) {
    int32_t v;
    if (!Read(id, v)) return NoValue;
    return UpdateSettledMinMax(id, v, &stat.max, &stat.min);
}

int32_t Temperature(int32_t celsius) {
    return celsius == NoValue ? NoValue : ConvertTemperature(UnitsSetting.temperature, celsius);
}

void FillThermoChannelIds() {
    for (int slot = 0; slot < ThermoSlots; ++slot) {
        ThermoChannelIds[2 * slot] = static_cast<uint32_t>(ThermocoupleChannel(EngineGaugeConfig.egt[slot].thermocouple));
        ThermoChannelIds[2 * slot + 1] =
            static_cast<uint32_t>(ThermocoupleChannel(EngineGaugeConfig.cht[slot].thermocouple));
    }
}

// Steps 3 to 5: menu, editor and soft-key time-outs.
void TimeOuts(int now) {
    if (now >= MenuCloseTime) {
        if (FirmwareUpdateFailed) {
            if (RefreshHooks.ShowFirmwareFailure)
                RefreshHooks.ShowFirmwareFailure(gettext("Update firmware not successfully finished."));
            FirmwareUpdateFailed = 0;
        }
        if (MenuOpen && !SetupModeActive) {
            Call(RefreshHooks.CloseMenu);
            MenuOpen = 0;
            Call(RefreshHooks.ClearSoftKeys);
            BindKeys();
        }
    }
    // The baro editor lives on the soft keys: it closes when they time out, if not before.
    if (BaroEditActive && (ShellClockMs() >= BaroEditCloseMs || now >= KeyFlagUntil)) {
        Call(RefreshHooks.CloseBaroEditor);
        BaroEditActive = 0;
    }
    if (now >= KeyFlagUntil && !SetupModeActive) {
        if (!SoftKeyHold) {
            Call(RefreshHooks.ClearSoftKeys);
            BindKeys();
        }
        if (KeyPressed == 1) {
            KeyPressed = 0;
            if (BoreSightEditOpen) {
                Call(RefreshHooks.CloseBoreSightEditor);
                BoreSightEditOpen = 0;
            }
        }
        if ((DisplaySetting.screenWord & ScreenWordTypeMask) != SavedScreenType) {
            StoreScreenType(ScreenType);
            SaveRuntime();
            SavedScreenType = ScreenType;  // written once, not on every tick
        }
        if (SquawkChanged) {
            SetSS(SsXpdrRuntime, 0);
            SaveRuntime();
            Call(RefreshHooks.SquawkEditorChanged);
            SquawkChanged = 0;
        }
    }
}

}  // namespace

// The power watch runs while the main switch is connected (gauge settings); external
// power comes from the input status channel.
int PowerOffMonitoring = 0;
int ExternalPowerOn = 1;

namespace {

// The power-off watch of one second: input bits 0x208 show the supply.
void PowerWatch(bool readOk, int32_t input) {
    const bool monitored = PowerOffMonitoring != 0 && readOk;
    const bool present = !monitored || (input & 0x208) != 0;
    if (!monitored) PowerOffMissCount = 0;
    if (monitored && !SetupModeActive && PowerOffState == 0) {
        if (present) {
            PowerOffMissCount = 0;
        } else if (++PowerOffMissCount >= 3) {
            PowerOffMissCount = 0;
            PowerOff(2);
        }
        return;
    }
    if ((PowerOffState == 1 || PowerOffState == 2) && present) {
        PowerOff(0);
    } else if ((PowerOffState == 2 && !present) || PowerOffState > 2) {
        if (--PowerOffCountdown <= 0) PowerOff(5);
    }
}

// Step 7: once per new second.
void EverySecond(int now) {
    LastSecond = now;
    TicksPerSecond = TicksThisSecond;
    TicksThisSecond = 0;
    if (FlightTimerRunning) ++FlightTimerSeconds;
    if (EngineTimerRunning) ++EngineTimerSeconds;

    int32_t input;
    const bool inputOk = Read(echInternalInputStatus, input);
    if (inputOk) {
        StatusInputFlags[0] = (input & 0x100) != 0;
        StatusInputFlags[1] = (input & 0x200) != 0;
        StatusInputFlags[2] = (input & 0x1000) != 0;
    }
    PowerOffMonitoring = EngineGaugeConfig.mainSwitch != 0;
    PowerWatch(inputOk, input);

    int32_t gps;
    GpsValid = Read(echGPSValid, gps) && gps != 0;
    GpsValidValue = gps;
    for (int& c : OneSecondCountdown)
        if (c > 0) --c;
    if (XpdrModePending >= 0) {
        if (RefreshHooks.ApplyXpdrMode) RefreshHooks.ApplyXpdrMode(XpdrModePending);
        XpdrModePending = -1;
    }
    Call(RefreshHooks.XpdrIdentTick);

    const bool strip = ScreenType >= ScreenFlightEms && BothRuntimeFlags();
    if (InDemoMode()) {
        ++DemoCycleSeconds;
        if ((DemoOptions & 4) && DemoCycleSeconds % 5 == 0) SetColorScheme((ColorScheme + 1) % 3);
        if (DemoIdleCountdown != -1 && --DemoIdleCountdown <= 0) {
            if (RefreshPostEvent) RefreshPostEvent(1, DemoResetKey);
            DemoIdleCountdown = -1;
        }
        if (strip && !RefreshHooks.EntertainerTick && DemoCycleSeconds % 12 == 0) {
            PrintHook("\nDemoVideoPlayer: RESTART\n\n");
            Call(RefreshHooks.DemoVideoRestart);
        }
    } else if (strip && RefreshHooks.JpdStartStamp && RefreshHooks.JpdStartStamp() != 0) {
        TRACE_ERR("JpdStartStamp failed\n");
    }
}

// The mode the autopilot box names: a navigation command (the engaged NAV state or the
// autopilot's own heading mode) first, then the roll axis on heading or track, then
// the pitch axis alone.
int32_t AutopilotDisplayMode() {
    if (AutopilotActive == 3 || OperApNavSrc != 0 || (AutopilotRuntime.modeWord & 0xF00) != 0) return 2;
    if (OperApApAxis & 2) return FlightHeading.fromTrack ? 1 : 0;
    if (OperApApAxis & 4) return 3;
    return 0;
}

void Autopilot() {
    FlightNavLinks.autopilotMode = AutopilotDisplayMode();
    if (AutopilotWasActive && !AutopilotActive) {
        OperApApAxis = 0;
        OperApNavSrc = 0;
        char line[128];
        snprintf(line, sizeof line, "AP turned off -> Assign to 0: OperApApAxis = 0x%x, OperApNavSrc = 0x%x\n",
                 static_cast<unsigned>(OperApApAxis), static_cast<unsigned>(OperApNavSrc));
        PrintHook(line);
    }
    AutopilotWasActive = AutopilotActive;
}

// Values every screen needs.
void CommonValues(int now) {
    TRefreshValues& r = RefreshValues;
    int32_t input;
    if (Read(echInternalInputStatus, input)) {
        const int bit20 = (input & 0x20) != 0;
        if (LastInputBit20 != -1 && bit20 != LastInputBit20 && !MenuOpen) BindKeys();
        LastInputBit20 = bit20;
        r.inputBits = input & 7;
        r.inputError = 0;
    } else {
        r.inputError = 1;
    }
    ExternalPowerOn = r.inputError || (input & 0x200) != 0;
    int32_t remote;
    if (Read(echInternalRemoteDataStatus, remote)) {
        const int added = remote & ~RemoteDataFlags & 3;  // flight (bit 0) or engine (bit 1) function
        RemoteDataFlags = remote;
        if (added) SetDisplayCapabilities();
    }
    if (!ExternalPowerOn)
        Read(echBatRemainTime, r.batRemain);
    else
        r.batRemain = NoValue;
    if (Read(echInternalTempKTYMain, r.instTemp)) {
        if (r.instTemp > 800 && static_cast<int64_t>(now) - StartTimeSec > 59 && !SetupModeActive && !OverTempFlag &&
            !InstTempShown) {  // an acknowledged alert waits until the temperature is back
            OverTempFlag = 1;
            BindKeys();
        }
    } else {
        InstTempShown = 0;
    }
    int32_t tas;
    r.tas = Read(echSpeedTas, tas) ? ConvertSpeed(UnitsSetting.airspeed, tas) : NoValue;

    const int unit = UnitsSetting.temperature;
    r.oat = Temperature(Tracked(echTempOAT, EngineStatistics.oat));
    r.iat = Temperature(Tracked(echTempIAT, EngineStatistics.iat));
    if (!EngineGaugeConfig.oatUsed)
        Text(r.oatText, "-    ");
    else
        FormatTemperature(r.oatText, sizeof r.oatText, unit, r.oat, r.oat != NoValue);
    if (!EngineGaugeConfig.iatUsed)
        Text(r.iatText, "-   ");
    else
        FormatTemperature(r.iatText, sizeof r.iatText, unit, r.iat, r.iat != NoValue);
    int32_t aux;
    r.auxTemp = Read(echTempAux1, aux) ? Temperature(aux) : NoValue;
    Read(echGPSCdi, r.gpsCdi);
}

// Fuel pressure zero offset that no calibration has set.
bool FuelPressUncalibrated() {
    const int32_t zero = FuelFlowSetting.pressOffset;
    return zero == NoValue || zero == -1 || zero > 100 || zero < -100;
}

void EngineValues() {
    TRefreshValues& r = RefreshValues;
    const TUnitsSetting& u = UnitsSetting;
    int32_t water;
    r.water = Read(echTempWater, water) ? Temperature(water) : NoValue;
    const int32_t oilPress = Tracked(echPressOil, EngineStatistics.oilPress);
    r.oilPress = oilPress == NoValue ? NoValue : ConvertOilPressure(u.enginePress, oilPress);
    r.oilTemp = Temperature(Tracked(echTempOil, EngineStatistics.oilTemp));
    for (int i = 0; i < 2; ++i) {
        int32_t level;
        r.fuelLevel[i] = Read(i == 0 ? echFuelLevel1 : echFuelLevel2, level) ? ConvertFuelQuantity(u.fuel, level)
                                                                               : NoValue;
    }
    const int32_t fuelPress = Tracked(echPressFuel, EngineStatistics.fuelPress);
    r.fuelPress = fuelPress == NoValue ? NoValue : ConvertFuelPressure(u.enginePress, fuelPress);
    r.fuelPressUncalibrated = FuelPressUncalibrated();
    int32_t flow;
    if (Read(echFuelFlow, flow)) {
        UpdateSettledMinMax(echFuelFlow, flow / 10, &EngineStatistics.fuelFlow.max, &EngineStatistics.fuelFlow.min);
        r.fuelFlow = ConvertFuelQuantity(u.fuel, flow);
    } else {
        r.fuelFlow = NoValue;
    }
}

// RPM and the fourth gauge (second RPM or manifold pressure).
void RpmValues() {
    TRefreshValues& r = RefreshValues;
    const int32_t rpm = Tracked(echRpmEng, EngineStatistics.rpm);
    r.rpm = rpm == NoValue ? NoValue : RoundRpm(rpm);
    r.rpmAux = r.map = NoValue;
    if (EngineGaugeConfig.rotorRpmUsed) {
        const int32_t aux = Tracked(echRpmAux, EngineStatistics.rpm2);
        r.rpmAux = aux == NoValue ? NoValue : RoundRpm(aux);
    } else {
        const int32_t map = Tracked(echPressMap, EngineStatistics.map);
        r.map = map == NoValue ? NoValue : ConvertManifold(UnitsSetting.manifoldPress, map);
    }
}

void EnginePageValues() {
    TRefreshValues& r = RefreshValues;
    const TUnitsSetting& u = UnitsSetting;
    RpmValues();
    FillThermoChannelIds();
    for (int i = 0; i < 12; ++i) {
        const int slot = i / 2;
        int32_t v;
        const uint32_t id = ThermoChannelIds[i];
        if (id && Read(id, v)) {
            int32_t& max = i % 2 == 0 ? EngineStatistics.egtMax[slot] : EngineStatistics.chtMax[slot];
            UpdateSettledMinMax(id, v, &max, nullptr);
            r.thermo[i] = Temperature(v);
            Text(r.thermoText[i], "%d", static_cast<int>(r.thermo[i]));
        } else {
            r.thermo[i] = NoValue;
            Text(r.thermoText[i], "- - - ");
        }
    }
    // The fuel used, for the box under "FUEL USED".
    int32_t used;
    if (Read(echFuelUsed, used)) {
        char number[16];
        FormatTenths(number, sizeof number, ConvertFuelQuantity(u.fuel, used));
        Text(r.fuelUsedText, "%s %s", number, FuelUnitText(u.fuel));
    } else {
        Text(r.fuelUsedText, "- - -    %s", FuelUnitText(u.fuel));
    }
    // Endurance: as a distance once moving, else as a time (minutes).
    int32_t speed, dist, minutes;
    if (Read(echGPSGrSpeed, speed) && speed > 149 && Read(echFuelEnduranceDist, dist)) {
        char number[16];
        FormatTenths(number, sizeof number, ConvertDistance(u.distance, dist / 10));
        Text(r.enduranceText, "%s %s", number, DistanceUnitText(u.distance));
    } else if (Read(echFuelEnduranceTime, minutes) && minutes >= 0) {
        Text(r.enduranceText, "%d: %02d      ", static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
    } else {
        Text(r.enduranceText, "- - -         ");
    }
    // Volts and amps.
    static const uint32_t supply[6] = {echVolt1, echVolt2, echVolt3, echCurr1, echCurr2, echCurr3};
    for (int i = 0; i < 6; ++i) {
        int32_t v;
        if (!Read(supply[i], v)) v = NoValue;
        const TLimitRecord& l = SupplyLimit[i];
        const int32_t limits[4] = {l.warningMin, l.warning, l.alarmMin, l.alarm};
        if (RefreshHooks.FormatLimitedValue) RefreshHooks.FormatLimitedValue(&SupplyItems[i], limits, v, i < 3 ? "V" : "A");
    }
    int32_t engine;
    if (Read(echEngineTime, engine) && engine >= 0)
        Text(r.engineTimeText, "%d: %02d", static_cast<int>(engine / 3600), static_cast<int>(engine / 60 % 60));
    else
        Text(r.engineTimeText, "- - -");
    const tm& c = ClockRecord;
    Text(r.clockText, "%02d: %02d: %02d", c.tm_hour, c.tm_min, c.tm_sec);
    const int flight = std::max(FlightTimerSeconds, 0);
    Text(r.flightTimeText, "%02d: %02d: %02d", flight / 3600, flight / 60 % 60, flight % 60);
    Text(r.dateText, "%02d. %02d. %02d", c.tm_mday, c.tm_mon + 1, c.tm_year % 100);
    Text(r.aircraftIdText, "%.8s", AircraftIdSetting.id);
}

void FlightValues() {
    TRefreshValues& r = RefreshValues;
    FormatBaro(r.baroText, sizeof r.baroText, UnitsSetting.baro, QnhSetting.qnh);
    if (BaroEditActive)
        r.baroColour = static_cast<int32_t>(QnhSetting.qnh == StandardQnh ? DisplayPalette.PalBlue : DisplayPalette.PalRed);
    else
        r.baroColour = 0;
    int32_t vs;
    r.verticalSpeed = Read(echSpeedVertical, vs) ? ConvertVerticalSpeed(UnitsSetting.verticalSpeed, vs) / 10 * 10
                                                 : NoValue;
}

void NavValues() {
    TRefreshValues& r = RefreshValues;
    int32_t loc;
    Text(r.navTitle, "%s", Read(echNavLocDetect, loc) && loc ? "LOC" : "VOR");
    Read(echNavObs, r.navObs);
    Read(echNavFrom, r.navFrom);
    Read(echNavTo, r.navTo);
    Read(echNavGsiValid, r.navGsiValid);
    Read(echNavValid, r.navValid);
    Read(echNavGsiDef, r.navGsiDef);
    Read(echNavCdiDef, r.navCdiDef);
    Read(echNavBta, r.navBta);
    Read(echNavBts, r.navBts);
    Read(echNavFreqS, r.navFreqS);
    Read(echNavFreqA, r.navFreqA);
    ReadText(echNavIdnt, r.navIdent);
}

void GpsValues() {
    TRefreshValues& r = RefreshValues;
    Read(echGPSGrSpeed, r.gpsGroundSpeed);
    Read(echGPSTrk, r.gpsTrack);
    Read(echGPSAlt, r.gpsAlt);
    int32_t dist;
    r.gpsDistance = Read(echGPSDtw, dist) ? MulDiv(dist, 10, 1) : NoValue;
    ReadText(echGPSId, r.gpsIdent);
}

void ChannelValues(int now) {
    CommonValues(now);
    if (ScreenType == ScreenEngine || ScreenType == ScreenFlightEms) EngineValues();
    if (ScreenType == ScreenEngine) EnginePageValues();
    if (ScreenType != ScreenEngine) FlightValues();
    if (ScreenType >= ScreenFlightEms && ScreenType <= ScreenTransit) {
        if (StripIndex == 0) RpmValues();
        if (StripIndex == 1) NavValues();
        if (StripIndex == 2) GpsValues();
    }
}

}  // namespace

int RefreshDisplayData() {
    TMeasBatch batch;  // the whole refresh reads the block as one batch
    RefreshRunning = 1;
    SharedPeriod.store(RefreshPeriod, std::memory_order_relaxed);
    int64_t sec = 0;
    int32_t usec = 0;
    RefreshClock(&sec, &usec);
    LastRefreshTime = SatInt32(sec);
    const int now = LastRefreshTime;
    FirstHalfSecond = usec < 500000;

    if (static_cast<int64_t>(LastSecond) + 5 < now) ShellBusy = 0;  // a busy state left over
    if (ShellBusy) {
        RefreshRunning = 0;
        return RefreshPeriod;
    }
    TimeOuts(now);
    // With nothing to tell it by, nothing waits.
    if (SaveState == SaveUntold && (!RefreshHooks.ShowSaveFailure || RefreshHooks.ShowSaveFailure()))
        SaveState = SaveTold;

    Call(RefreshHooks.WizardTicks);
    if (AverReader) AverReader->Tick();
    const time_t t = now;
    localtime_r(&t, &ClockRecord);
    ++TicksThisSecond;
    if (now != LastSecond) EverySecond(now);

    Autopilot();
    // The keyboard's hold counter does not exist yet: captions keep their normal font.
    if (LayoutReady) UpdateSoftKeyCaptions(0);
    ChannelValues(now);
    Call(RefreshHooks.EntertainerTick);

    if (RepaintEnabled) {
        RepaintEnabled = 0;
        if (MainWindow) Call(RefreshHooks.RepaintMainWindow);
        RepaintEnabled = 1;
    }
    RefreshRunning = 0;
    return RefreshPeriod;
}

int SaveRuntime() {
    if (SaveSetting(nullptr, KindRuntime) == 0) {
        SaveState = SaveFine;
        return 0;
    }
    // Files kept on purpose (damaged until confirmed, or more than the store holds) are the
    // error box's to tell, not a failure of the disk.
    const TConfigSetting* store = ConfigManager.Store();
    const bool kept = store && ((store->IncompleteKinds() | DamagedSettingKinds()) & KindRuntime);
    if (!kept && SaveState == SaveFine) SaveState = SaveUntold;
    return -1;
}

int SaveAtQuit() {
    if (SaveSetting(nullptr, KindStatistic | KindRuntime) == 0) return 0;
    TRACE_ERR("the settings could not be stored: changes since the last save are lost");
    return -1;
}
