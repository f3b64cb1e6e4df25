// The settings a first start uses: a light aircraft with a four-cylinder, water-cooled
// engine, two tanks, metric units. Values are in the fixed stored units of each setting
// and inside the bounds of the editors that change them.
#include <climits>

#include "chandesc.h"
#include "configmanager.h"

namespace {

// Blocks that start empty (checklists, memories, command answers, reserved records).
const uint8_t Zero[80] = {};

// Units: km/h, m, C, litre, mbar, m/s, bar, mbar, km.
const TUnitsSetting DefUnits = {2, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0};

// Airspeed limits, hundredths of a knot: Vs 45, Vfe 80, Vno 110, Vne 140 kt.
const TAirspeedLimits DefAirspeed = {4500, 8000, 11000, 14000};

// Demo off; demo model EFIS + EMS; reset after 30 s; demo limits 140 kt and 5500 rpm.
const TDemoSetting DefDemo = {0, DeviceEfisEms, 30, 0, 0, 14000, 5500, {}};

const TLanguageSetting DefLanguage = {1033, {}};

const TAircraftIdSetting DefAircraftId = {"AIRCRAFT", {}};

// Stored limit records (0x4065). Form A: rpm; MAP mbar; oil pressure tenths of a bar;
// temperatures whole C. Form B: fuel flow tenths of l/h; fuel pressure hundredths of a bar;
// EGT/CHT tenths of C; tanks tenths of a litre. Supply: tenths of V or A. 0 = limit not set.
constexpr TLimitRecord Record(int32_t range, int32_t alarmMin, int32_t warningMin, int32_t normal, int32_t warning,
                              int32_t alarm) {
    return {warningMin, warning, alarmMin, alarm, 0, range, normal, 0,
            LimitFlags(warningMin, warning, alarmMin, alarm, normal), 0, {}};
}
//                                   range  alarmMin warnMin normal warning alarm
const TLimitRecord DefRpm =        Record(6000,   0,      0,   5000, 5500,  5800);  // green/yellow/red
const TLimitRecord DefRotorRpm =   Record(3000, 300,    500,   2200, 2500,  2800);
const TLimitRecord DefMap =        Record(1100,   0,    400,      0, 1050,     0);
const TLimitRecord DefOilPress =   Record(100,    8,     15,     50,   60,    70);  // 0.8 .. 7 bar
const TLimitRecord DefOilTemp =    Record(150,    0,     50,    110,  130,   140);
const TLimitRecord DefWaterCht =   Record(150,    0,      0,    110,  120,   135);
const TLimitRecord DefWaterAux =   Record(150,    0,      0,    100,  110,   120);
const TLimitRecord DefFuelFlow =   Record(400,    0,      0,      0,    0,   350);  // 40 l/h
const TLimitRecord DefFuelPress =  Record(60,    10,     15,      0,   40,    50);  // 0.1 .. 0.5 bar
const TLimitRecord DefEgt =        Record(9000,   0,      0,      0, 8500,  8800);  // 900 C
const TLimitRecord DefCht =        Record(1500,   0,      0,      0, 1200,  1350);  // 150 C
const TLimitRecord DefTank =       Record(400,   50,      0,      0,    0,     0);  // 40 l, low at 5 l
const TLimitRecord DefVolts =      Record(160,  110,    120,      0,  145,   150);  // 16 V
const TLimitRecord DefCurrents =   Record(300, -100,    -50,      0,  250,   280);  // 30 A
const TLimitRecord DefNoGauge =    Record(0,      0,      0,      0,    0,     0);  // turbine channels

// Device ports: nothing connected; GPS and altitude encoder prepared for 9600 baud NMEA / ICARUS.
const TDevicePort DefPort = {{}, 0, 1, 0, {}, 0, {}};
const TDevicePort DefPortSerial = {{}, 0, 1, 0, {}, 9600, {}};

// Remote compass: mounted X front Y left; declination 4.00, inclination 65.00 degrees, 48000 nT.
const TCompassSetting DefCompass = {0, 0, 1, 0, {}, 0, 0, 0, 400, 6500, 48000, {}};

// Thermocouple assignment (0x4010, stored form): 4 cylinders; EGT slots on thermocouples
// 1-6, CHT slots on 7-12, as the bench feeds them (SlotThermocouple), so that a larger
// cylinder count finds its slots connected; voltage 1 used; no currents, canopy or gear
// inputs; manual dimmer; main switch not connected.
const uint8_t DefThermo[48] = {
    4, 255, 0, 0,        // slot pairs in use, options off
    1, 2, 3, 4, 5, 6,    // EGT slots 1..6
    7, 8, 9, 10, 11, 12, // CHT slots 1..6
    1, 0, 0, 0,          // 16 volts mask
    0, 0, 0, 0,          // 20 currents mask
    0, 0, 0, 0,          // 24 canopy input
    0, 0, 0, 0,          // 28 gear-up input
    0, 0, 0, 0,          // 32 gear-down input
    0, 0, 0, 0,          // 36 dimmer control
    0, 0, 0, 0,          // 40 main switch control
    0, 0, 0, 0,          // 44
};

// Sensor settings (0x4064): characteristic number, sensor type code, from the catalogue.
const uint8_t DefSensorEgt[2] = {65, 25};       // list 257, first entry
const uint8_t DefSensorCht[2] = {64, 21};       // list 256, first entry
const uint8_t DefSensorOilPress[2] = {81, 14};  // list 512
const uint8_t DefSensorMap[2] = {84, 5};        // list 513
const uint8_t DefSensorFuelPress[2] = {85, 12}; // list 514
const uint8_t DefSensorTemp[2] = {38, 17};      // list 1539: oil temperature, water
const uint8_t DefSensorOat[2] = {40, 3};        // list 1537
const uint8_t DefSensorTank[2] = {17, 6};       // list 3093: both tanks
const uint8_t DefSensorUsed[2] = {1, 0};        // fuel flow and RPM inputs in use
const uint8_t DefSensorNone[2] = {0, 0};

// Tanks: uncalibrated, 5 calibration steps, 1 l unusable fuel.
const TTankSetting DefTankRecord = {{}, 10, 5, 0, {}};

// Fuel flow: 17960 pulses per litre, flow averaged over 3 s, quantity over 60 s, no offset.
const TFuelFlowSetting DefFuelFlowSetting = {17960, 3, 60, 0, 0};

// RPM inputs: one pulse per revolution, ratio 1:1.00.
const TRpmSensorSetting DefRpmSensor = {1, 100};

// RPM activation threshold 500 rpm; attitude offsets 0.
const TMiscSetting DefRpmThreshold = {500};

// Autopilot: 110..200 km/h, bank 25.00, pitch 10.00 degrees, 3.00 deg/s; sensitivity 12;
// roll by bank angle, pitch by vertical speed.
const TAutopilotSetting DefAutopilot = {2000, 1100, {}, 2500, 1000, 300, 0, 12, 12, {}, 2, 1, {}};

// VFR squawk 7000; 8.33 kHz channel spacing.
const TVfrCodeSetting DefVfrCode = {0x7000, {}};

// Statistics, stored (minimum, maximum), cleared; thermocouple maxima cleared.
const int32_t DefStatPair[2] = {INT_MAX, INT_MIN};
const int32_t DefStatThermo[2] = {INT_MIN, INT_MIN};

// Runtime: QNH 1013.25 hPa in Pa; full brightness; flight screen; altitude bug 300 m (dm);
// COMM 122.800 active, 121.500 standby, volume 50 %, squelch on at 50 %; squawk 7000 SBY.
const TQnhSetting DefQnh = {101325};
const TBrightnessSetting DefBrightness = {1000, 0};
const TDisplaySetting DefDisplay = {2, 0, 0, 0, 3000, 0, 0, 0, 0};
const TCommRuntime DefComm = {122800000, 121500000, 50, 255, 1, 50, {}};
const TXpdrRuntime DefXpdr = {0x7000, 0, 0, {}};

}  // namespace

#define ROW(ssid, par, data) {ssid, par, &(data), sizeof(data)}
#define ZERO(ssid, par, length) {ssid, par, Zero, length}
#define LINES(ssid)                                                                                              \
    ZERO(ssid, 0, 64), ZERO(ssid, 1, 64), ZERO(ssid, 2, 64), ZERO(ssid, 3, 64), ZERO(ssid, 4, 64),           \
        ZERO(ssid, 5, 64), ZERO(ssid, 6, 64), ZERO(ssid, 7, 64), ZERO(ssid, 8, 64), ZERO(ssid, 9, 64),       \
        ZERO(ssid, 10, 64), ZERO(ssid, 11, 64), ZERO(ssid, 12, 64), ZERO(ssid, 13, 64), ZERO(ssid, 14, 64), \
        ZERO(ssid, 15, 64), ZERO(ssid, 16, 64), ZERO(ssid, 17, 64)

const TSettingDefault SettingDefaultTable[SettingDefaultRows + 1] = {
    ROW(SsUnits, 0, DefUnits),
    ROW(SsAirspeedLimits, 0, DefAirspeed),
    ROW(SsDemo, 0, DefDemo),
    ROW(SsLanguage, 0, DefLanguage),
    ROW(SsAircraftId, 0, DefAircraftId),
    ZERO(SsSupplyName, echVolt1, 24), ZERO(SsSupplyName, echVolt2, 24), ZERO(SsSupplyName, echVolt3, 24),
    ZERO(SsSupplyName, echCurr1, 24), ZERO(SsSupplyName, echCurr2, 24), ZERO(SsSupplyName, echCurr3, 24),
    ROW(SsLimit, echRpmEng, DefRpm), ROW(SsLimit, echRpmAux, DefRotorRpm), ROW(SsLimit, echPressMap, DefMap),
    ROW(SsLimit, echPressOil, DefOilPress), ROW(SsLimit, echTempOil, DefOilTemp), ROW(SsLimit, echFuelFlow, DefFuelFlow),
    ROW(SsLimit, echPressFuel, DefFuelPress), ROW(SsLimit, echThermo0, DefEgt), ROW(SsLimit, echThermo1, DefCht),
    ROW(SsLimit, echFuelLevel1, DefTank), ROW(SsLimit, echFuelLevel2, DefTank), ROW(SsLimit, echTempWater, DefWaterCht),
    ROW(SsLimit, echTempAux1, DefWaterAux), ROW(SsLimit, echVolt1, DefVolts), ROW(SsLimit, echCurr1, DefCurrents),
    ROW(SsLimit, echVolt2, DefVolts), ROW(SsLimit, echCurr2, DefCurrents), ROW(SsLimit, echVolt3, DefVolts),
    ROW(SsLimit, echCurr3, DefCurrents), ROW(SsLimit, echPBS_E1_n_main_p, DefNoGauge), ROW(SsLimit, echPBS_E1_n_actVT, DefNoGauge),
    ROW(SsLimit, echPBS_E1_trq_act, DefNoGauge), ROW(SsLimit, echPBS_E1_T_out, DefNoGauge),
    ROW(SsDevicePort, 1, DefPort), ROW(SsDevicePort, 2, DefPortSerial), ROW(SsDevicePort, 3, DefPort), ROW(SsDevicePort, 4, DefPort),
    ROW(SsDevicePort, 5, DefPort), ROW(SsDevicePort, 6, DefPortSerial), ROW(SsDevicePort, 7, DefPort), ROW(SsDevicePort, 8, DefPort),
    ROW(SsDevicePort, 9, DefPort), ROW(SsDevicePort, 0xC, DefPort), ROW(SsDevicePort, 0xD, DefPort),
    ROW(SsCompass, 0, DefCompass),
    ROW(SsThermoAssign, 0, DefThermo),
    ROW(SsSensor, echThermo0, DefSensorEgt), ROW(SsSensor, echThermo1, DefSensorEgt), ROW(SsSensor, echThermo2, DefSensorEgt),
    ROW(SsSensor, echThermo3, DefSensorEgt), ROW(SsSensor, echThermo4, DefSensorEgt), ROW(SsSensor, echThermo5, DefSensorEgt),
    ROW(SsSensor, echThermo6, DefSensorCht), ROW(SsSensor, echThermo7, DefSensorCht), ROW(SsSensor, echThermo8, DefSensorCht),
    ROW(SsSensor, echThermo9, DefSensorCht), ROW(SsSensor, echThermo10, DefSensorCht), ROW(SsSensor, echThermo11, DefSensorCht),
    ROW(SsSensor, echTempOil, DefSensorTemp), ROW(SsSensor, echTempWater, DefSensorTemp), ROW(SsSensor, echTempAux1, DefSensorNone),
    ROW(SsSensor, echPressOil, DefSensorOilPress), ROW(SsSensor, echPressMap, DefSensorMap), ROW(SsSensor, echPressFuel, DefSensorFuelPress),
    ROW(SsSensor, echFuelFlow, DefSensorUsed), ROW(SsSensor, echInternalFuelLev1Raw, DefSensorTank), ROW(SsSensor, echInternalFuelLev2Raw, DefSensorTank),
    ROW(SsSensor, echTempOAT, DefSensorOat), ROW(SsSensor, echTempIAT, DefSensorNone), ROW(SsSensor, echRpmEng, DefSensorUsed),
    ROW(SsSensor, echRpmAux, DefSensorNone), ROW(SsSensor, echCurr1, DefSensorNone), ROW(SsSensor, echCurr2, DefSensorNone),
    ROW(SsSensor, echCurr3, DefSensorNone),
    ROW(SsTank, 0, DefTankRecord), ROW(SsTank, 1, DefTankRecord),
    ROW(SsFuelFlow, 0, DefFuelFlowSetting),
    ROW(SsRpmSensor, 0, DefRpmSensor), ROW(SsRpmSensor, 1, DefRpmSensor),
    ROW(SsMisc, 0, DefRpmThreshold), ZERO(SsMisc, 1, 4), ZERO(SsMisc, 2, 4), ZERO(SsMisc, 3, 4), ZERO(SsMisc, 4, 4),
    ZERO(SsDataSharing, 0, 16), ZERO(SsDataSharing, 1, 16),
    ROW(SsAutopilot, 0, DefAutopilot),
    ZERO(SsSetupSpare, 0, 40), ZERO(SsSetupSpare, 1, 40), ZERO(SsSetupSpare, 2, 40), ZERO(SsSetupSpare, 3, 40), ZERO(SsSetupSpare, 4, 40),
    ZERO(SsSetupSpare, 5, 40),
    ZERO(SsServo, 0, 16), ZERO(SsServo, 1, 16),
    ROW(SsVfrCode, 0, DefVfrCode),
    ZERO(SsFreqStep, 0, 32),
    ZERO(SsFreqMemory, 0, 16), ZERO(SsFreqMemory, 1, 16), ZERO(SsFreqMemory, 2, 16), ZERO(SsFreqMemory, 3, 16), ZERO(SsFreqMemory, 4, 16),
    ZERO(SsFreqMemory, 5, 16), ZERO(SsFreqMemory, 6, 16), ZERO(SsFreqMemory, 7, 16), ZERO(SsFreqMemory, 8, 16), ZERO(SsFreqMemory, 9, 16),
    ZERO(SsGyro, 0, 32),
    ZERO(SsPassword, 0, 32),
    ZERO(SsCalib, 0xFA, 8),
    ROW(SsStatistic, echAltitudeQNH, DefStatPair), ROW(SsStatistic, echSpeedTas, DefStatPair), ROW(SsStatistic, echSpeedVertical, DefStatPair),
    ROW(SsStatistic, echInercialAccPilot, DefStatPair), ROW(SsStatistic, echRpmEng, DefStatPair), ROW(SsStatistic, echPressMap, DefStatPair),
    ROW(SsStatistic, echRpmAux, DefStatPair), ROW(SsStatistic, echTempOil, DefStatPair), ROW(SsStatistic, echPressOil, DefStatPair),
    ROW(SsStatistic, echTempIAT, DefStatPair), ROW(SsStatistic, echTempOAT, DefStatPair), ROW(SsStatistic, echPressFuel, DefStatPair),
    ROW(SsStatistic, echFuelFlow, DefStatPair),
    ROW(SsStatistic, echThermo0, DefStatThermo), ROW(SsStatistic, echThermo1, DefStatThermo), ROW(SsStatistic, echThermo2, DefStatThermo),
    ROW(SsStatistic, echThermo3, DefStatThermo), ROW(SsStatistic, echThermo4, DefStatThermo), ROW(SsStatistic, echThermo5, DefStatThermo),
    ROW(SsStatistic, echThermo6, DefStatThermo), ROW(SsStatistic, echThermo7, DefStatThermo), ROW(SsStatistic, echThermo8, DefStatThermo),
    ROW(SsStatistic, echThermo9, DefStatThermo), ROW(SsStatistic, echThermo10, DefStatThermo), ROW(SsStatistic, echThermo11, DefStatThermo),
    ZERO(SsStatisticSpare, 0, 24), ZERO(SsStatisticSpare, 1, 24), ZERO(SsStatisticSpare, 2, 24), ZERO(SsStatisticSpare, 3, 24),
    ROW(SsQnh, 0, DefQnh),
    ZERO(SsView, 0, 8),
    ROW(SsBrightness, 0, DefBrightness),
    ROW(SsDisplay, 0, DefDisplay),
    ZERO(SsRuntimeSpare, 0, 48),
    ZERO(SsAutopilotRuntime, 0, 40),
    ROW(SsCommRuntime, 0, DefComm),
    ROW(SsXpdrRuntime, 0, DefXpdr),
    ZERO(SsChecklistHeader, 0, 40),
    LINES(SsChecklistLines), LINES(SsChecklistLines + 1), LINES(SsChecklistLines + 2), LINES(SsChecklistLines + 3),
    LINES(SsChecklistLines + 4), LINES(SsChecklistLines + 5), LINES(SsChecklistLines + 6), LINES(SsChecklistLines + 7),
    {0, 0, nullptr, 0},
};

#undef ROW
#undef ZERO
#undef LINES
