// The periodic refresh of the display program: the timer hand-over, the channel
// subscriptions of the averaging reader, and RefreshDisplayData, which keeps the
// shell's time-outs and every displayed value, extreme and text current.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>

// ---- timer hand-over (the only part that runs on the timer thread) ----

// Refresh events posted and not yet handled, 0..2.
extern std::atomic<int> RefreshPending;
// Posts a toolkit event of the type with the key (all other fields zero); the
// shell installs FGApp::PostEvent here. Null: nothing is posted.
extern void (*RefreshPostEvent)(int type, int key);
constexpr int RefreshEventKey = 110;
constexpr int DemoResetKey = 98;

// Posts a refresh event while fewer than two wait; returns RefreshPeriod.
int RefreshTimerProc(int unused);
// The toolkit timer's handler: RefreshTimerProc with its answer dropped.
void RefreshTimerTick(int unused);
// Posts through FGApp::PostEvent; what the shell installs in RefreshPostEvent.
void RefreshPostToApp(int type, int key);
// The queued-event hook after RefreshDisplayData: one pending event fewer.
void RefreshEventDone();
// The idle hook's restart when no refresh came for 4 s: events that the toolkit
// dropped are forgotten, so the count cannot hold the refresh off for good.
void RefreshRestart();

// ---- refresh state ----
extern int RefreshRunning;      // 1 while RefreshDisplayData runs
extern uint8_t FirstHalfSecond;  // microseconds of the second below 500000
extern int LastSecond;          // second of the last per-second pass
extern int TicksPerSecond;      // refreshes counted in the previous second
extern struct tm ClockRecord;   // local time of the last refresh
extern int ColorScheme;         // flight page colour scheme 0..2
extern int PowerOffMissCount;   // consecutive seconds without the power bits
extern int DemoCycleSeconds;    // seconds of the demo cycle (colour scheme, video restart)

// Wall clock of the refresh (seconds, microseconds); tests replace it.
extern void (*RefreshClock)(int64_t* sec, int32_t* usec);

// ---- displayed values: NoValue (-9999) in a numeric field without a value ----
constexpr int TextSize = 24;
struct TRefreshValues {
    int32_t tas;                       // tenths of the airspeed unit
    int32_t oat, iat, auxTemp;         // temperature unit
    char oatText[TextSize], iatText[TextSize];
    int32_t gpsCdi;
    int32_t inputBits;                 // echInternalInputStatus bits 1, 2, 4 (canopy, gear up, gear down)
    uint8_t inputError;
    int32_t instTemp;                  // tenths of C
    int32_t batRemain;                 // seconds
    // engine
    int32_t water, oilTemp;            // temperature unit
    int32_t oilPress;                  // psi, tenths of bar or kp/cm2, kPa
    int32_t fuelLevel[2];              // tenths of the fuel unit
    int32_t fuelPress;                 // ConvertFuelPressure
    int32_t fuelFlow;                  // fuel unit per hour, whole
    uint8_t fuelPressUncalibrated;     // zero offset -9999, -1 or beyond +-100
    int32_t rpm, rpmAux;               // rpm to the nearest ten
    int32_t map;                       // ConvertManifold
    int32_t thermo[12];                // EGT1, CHT1, EGT2, CHT2 ... temperature unit
    char thermoText[12][TextSize];
    char fuelUsedText[TextSize];
    char enduranceText[TextSize];
    char engineTimeText[TextSize], clockText[TextSize], flightTimeText[TextSize], dateText[TextSize];
    char aircraftIdText[TextSize];
    // flight
    char baroText[TextSize];
    int32_t baroColour;
    int32_t verticalSpeed;             // vertical speed unit, in tens
    // NAV strip
    char navTitle[4];                  // "LOC" or "VOR"
    int32_t navObs, navFrom, navTo, navGsiValid, navValid, navGsiDef, navCdiDef;
    int32_t navBta, navBts;            // tenths of a degree
    int32_t navFreqS, navFreqA;
    char navIdent[9];
    // GPS strip
    int32_t gpsGroundSpeed, gpsTrack;  // tenths
    int32_t gpsAlt;
    int32_t gpsDistance;               // x 10
    char gpsIdent[9];
};
extern TRefreshValues RefreshValues;

// Thermocouple channel of each bar row (EGT1, CHT1, EGT2, CHT2 ...); 0 none.
extern uint32_t ThermoChannelIds[12];

// ---- entry points ----
int RefreshDisplayData();  // returns RefreshPeriod
void SubscribeDisplayChannels();
int UpdateMinMax(int value, int* max, int* min);
// UpdateMinMax once the channel's average has settled: the climb from 0 while the averaging
// ring fills, and the zeros of a lost channel, are no extremes. Returns value.
int UpdateSettledMinMax(uint32_t id, int value, int* max, int* min);
void SetColorScheme(int index);

// ---- saving ----
// The runtime file (SaveSetting with KindRuntime): 0 or -1. A failure is told on the screen
// once, by the next refresh that finds no other box up, and not again until a save succeeded.
int SaveRuntime();
// The quit's save of the statistic and runtime files: no screen is left to tell, so a
// failure goes to the console.
int SaveAtQuit();
