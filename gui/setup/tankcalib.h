// Fuel-tank calibration: measures the raw level sensor at known quantities, from a full
// tank down to an empty one, and stores the pairs as the tank's calibration table.
#pragma once

#include <cstdint>

#include "settingvars.h"

class FGDrawBuffer;
class Tklavesnice;
class TMeasuredVals;

// Window geometry: centred, 20 px above the middle.
constexpr int32_t TankCalibWidth = 590, TankCalibHeight = 260;
constexpr int32_t TankCalibSamples = 20;      // samples averaged into one point
constexpr int32_t TankCalibSpread = 50;       // largest difference of a stable sample
constexpr int32_t TankCalibMinDrain = 50;     // smallest change between two points
constexpr int32_t TankCalibMaxFailures = 6;   // failed reads in a row before giving up
constexpr uint32_t TankCalibSamplePeriodMs = 500;
constexpr uint8_t TankCalibMinSteps = 3, TankCalibMaxSteps = 15;

// States of the process.
enum {
    TankIntroActive = 1,  // introduction for an active sensor
    TankIntroTrim = 2,
    TankChooseSteps = 3,
    TankStartPrompt = 4,
    TankFill = 5,         // "Is tank full?"
    TankMeasuring = 6,
    TankDrain = 7,
    TankPouredIn = 8,
    TankNotDrained = 9,
    TankDone = 10,
    TankUnreadable = 11,
};

class TtankCalibration {
public:
    TMeasuredVals* reader;
    int32_t channel;
    int32_t x, y, width, height;
    void (*finishCallback)(int completed);
    Tklavesnice* keyboard;
    TTankSetting* tank;
    int32_t* capacity;          // tenths of a litre
    uint8_t activeSensor;
    uint8_t active;
    uint8_t measuring;
    int32_t sampleCount;        // 0..20
    int32_t step;               // 0..steps
    int32_t state;              // TankIntroActive..TankUnreadable
    const char* title;
    char question[256];
    int16_t drain[TankPoints];  // tenths of a litre
    int16_t samples[TankCalibSamples];
    int32_t rising;             // 1: the sensor value grows as the tank empties
    uint8_t questionShown;
    int32_t readFailures;

    explicit TtankCalibration(TMeasuredVals* measuredReader);
    ~TtankCalibration() = default;
    TtankCalibration(const TtankCalibration&) = delete;
    TtankCalibration& operator=(const TtankCalibration&) = delete;

    void SetKeyboard(Tklavesnice* softKeys);
    void SetReader(TMeasuredVals* measuredReader) { reader = measuredReader; }
    void SetFinishCallback(void (*callback)(int completed));
    void Setup(TTankSetting* tankRecord, int32_t* tankCapacity, int32_t channelId, int activeSensorFlag,
               const char* titleText);
    // 0 started; -1 a set-up piece is missing; -2 the capacity is below the step count.
    int Start();
    void OnKey(int32_t event);
    void Step();
    void MeasureTick();
    void Draw(FGDrawBuffer* buffer);

    void Prepare();
    bool IsUnstable() const;
    int16_t Average() const;
    void Finish();
    void DrawProgress(FGDrawBuffer* buffer, int32_t base);
    void DrawQuestion(FGDrawBuffer* buffer);
};

extern TtankCalibration TankCalibration;

// Monotonic milliseconds of the sampling period; tests install a fake clock (null
// restores the real one).
extern uint32_t (*TankCalibClockMs)();
// The time of the last sampling attempt; it survives from one calibration to the next.
extern uint32_t TankCalibLastAttemptMs;
// The key callback of every binding: forwards the event to TankCalibration.
void TankCalibKey(int32_t event);
