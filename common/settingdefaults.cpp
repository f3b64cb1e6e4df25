// The settings a first start uses: a light aircraft with a four-cylinder, water-cooled
// engine, two tanks, metric units. Values are in the fixed stored units of each setting
// and inside the bounds of the editors that change them.
#include <climits>

#include "configmanager.h"

namespace {

// Blocks that start empty (checklists, memories, command answers, reserved records).
const uint8_t Zero[80] = {};

// Units: km/h, m, C, litre, mbar, m/s, bar, mbar, km.
const TUnitsSetting DefUnits = {2, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0};

// Airspeed limits, hundredths of a knot: Vs 45, Vfe 80, Vno 110, Vne 140 kt.
const TAirspeedLimits DefAirspeed = {4500, 8000, 11000, 14000};

// Demo off; demo model EFIS + EMS; reset after 30 s; demo limits 140 kt and 5500 rpm.
const TDemoSetting DefDemo = {0, 29, 30, 0, 0, 14000, 5500, {}};

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
    ROW(0x4001, 0, DefUnits),
    ROW(0x4002, 0, DefAirspeed),
    ROW(0x4003, 0, DefDemo),
    ROW(0x4004, 0, DefLanguage),
    ROW(0x400F, 0, DefAircraftId),
    ZERO(0x400E, 0x900, 24), ZERO(0x400E, 0x901, 24), ZERO(0x400E, 0x902, 24),
    ZERO(0x400E, 0xA03, 24), ZERO(0x400E, 0xA04, 24), ZERO(0x400E, 0xA05, 24),
    ROW(0x4065, 0xB00, DefRpm), ROW(0x4065, 0xB01, DefRotorRpm), ROW(0x4065, 0x201, DefMap),
    ROW(0x4065, 0x200, DefOilPress), ROW(0x4065, 0x603, DefOilTemp), ROW(0x4065, 0x400, DefFuelFlow),
    ROW(0x4065, 0x202, DefFuelPress), ROW(0x4065, 0x100, DefEgt), ROW(0x4065, 0x101, DefCht),
    ROW(0x4065, 0x401, DefTank), ROW(0x4065, 0x402, DefTank), ROW(0x4065, 0x602, DefWaterCht),
    ROW(0x4065, 0x604, DefWaterAux), ROW(0x4065, 0x900, DefVolts), ROW(0x4065, 0xA03, DefCurrents),
    ROW(0x4065, 0x901, DefVolts), ROW(0x4065, 0xA04, DefCurrents), ROW(0x4065, 0x902, DefVolts),
    ROW(0x4065, 0xA05, DefCurrents), ROW(0x4065, 0x1305, DefNoGauge), ROW(0x4065, 0x1311, DefNoGauge),
    ROW(0x4065, 0x1312, DefNoGauge), ROW(0x4065, 0x1301, DefNoGauge),
    ROW(0x4018, 1, DefPort), ROW(0x4018, 2, DefPortSerial), ROW(0x4018, 3, DefPort), ROW(0x4018, 4, DefPort),
    ROW(0x4018, 5, DefPort), ROW(0x4018, 6, DefPortSerial), ROW(0x4018, 7, DefPort), ROW(0x4018, 8, DefPort),
    ROW(0x4018, 9, DefPort), ROW(0x4018, 0xC, DefPort), ROW(0x4018, 0xD, DefPort),
    ROW(0x4017, 0, DefCompass),
    ROW(0x4010, 0, DefThermo),
    ROW(0x4064, 0x100, DefSensorEgt), ROW(0x4064, 0x101, DefSensorEgt), ROW(0x4064, 0x102, DefSensorEgt),
    ROW(0x4064, 0x103, DefSensorEgt), ROW(0x4064, 0x104, DefSensorEgt), ROW(0x4064, 0x105, DefSensorEgt),
    ROW(0x4064, 0x106, DefSensorCht), ROW(0x4064, 0x107, DefSensorCht), ROW(0x4064, 0x108, DefSensorCht),
    ROW(0x4064, 0x109, DefSensorCht), ROW(0x4064, 0x10A, DefSensorCht), ROW(0x4064, 0x10B, DefSensorCht),
    ROW(0x4064, 0x603, DefSensorTemp), ROW(0x4064, 0x602, DefSensorTemp), ROW(0x4064, 0x604, DefSensorNone),
    ROW(0x4064, 0x200, DefSensorOilPress), ROW(0x4064, 0x201, DefSensorMap), ROW(0x4064, 0x202, DefSensorFuelPress),
    ROW(0x4064, 0x400, DefSensorUsed), ROW(0x4064, 0xC15, DefSensorTank), ROW(0x4064, 0xC16, DefSensorTank),
    ROW(0x4064, 0x601, DefSensorOat), ROW(0x4064, 0x600, DefSensorNone), ROW(0x4064, 0xB00, DefSensorUsed),
    ROW(0x4064, 0xB01, DefSensorNone), ROW(0x4064, 0xA03, DefSensorNone), ROW(0x4064, 0xA04, DefSensorNone),
    ROW(0x4064, 0xA05, DefSensorNone),
    ROW(0x4011, 0, DefTankRecord), ROW(0x4011, 1, DefTankRecord),
    ROW(0x4013, 0, DefFuelFlowSetting),
    ROW(0x4014, 0, DefRpmSensor), ROW(0x4014, 1, DefRpmSensor),
    ROW(0x4016, 0, DefRpmThreshold), ZERO(0x4016, 1, 4), ZERO(0x4016, 2, 4), ZERO(0x4016, 3, 4), ZERO(0x4016, 4, 4),
    ZERO(0x4019, 0, 16), ZERO(0x4019, 1, 16),
    ROW(0x401B, 0, DefAutopilot),
    ZERO(0x401A, 0, 40), ZERO(0x401A, 1, 40), ZERO(0x401A, 2, 40), ZERO(0x401A, 3, 40), ZERO(0x401A, 4, 40),
    ZERO(0x401A, 5, 40),
    ZERO(0x401C, 0, 16), ZERO(0x401C, 1, 16),
    ROW(0x4020, 0, DefVfrCode),
    ZERO(0x401D, 0, 32),
    ZERO(0x401E, 0, 16), ZERO(0x401E, 1, 16), ZERO(0x401E, 2, 16), ZERO(0x401E, 3, 16), ZERO(0x401E, 4, 16),
    ZERO(0x401E, 5, 16), ZERO(0x401E, 6, 16), ZERO(0x401E, 7, 16), ZERO(0x401E, 8, 16), ZERO(0x401E, 9, 16),
    ZERO(0x401F, 0, 32),
    ZERO(0x4021, 0, 32),
    ZERO(0x5000, 0xFA, 8),
    ROW(0x1000, 0x300, DefStatPair), ROW(0x1000, 0xF00, DefStatPair), ROW(0x1000, 0xF02, DefStatPair),
    ROW(0x1000, 0x80B, DefStatPair), ROW(0x1000, 0xB00, DefStatPair), ROW(0x1000, 0x201, DefStatPair),
    ROW(0x1000, 0xB01, DefStatPair), ROW(0x1000, 0x603, DefStatPair), ROW(0x1000, 0x200, DefStatPair),
    ROW(0x1000, 0x600, DefStatPair), ROW(0x1000, 0x601, DefStatPair), ROW(0x1000, 0x202, DefStatPair),
    ROW(0x1000, 0x400, DefStatPair),
    ROW(0x1000, 0x100, DefStatThermo), ROW(0x1000, 0x101, DefStatThermo), ROW(0x1000, 0x102, DefStatThermo),
    ROW(0x1000, 0x103, DefStatThermo), ROW(0x1000, 0x104, DefStatThermo), ROW(0x1000, 0x105, DefStatThermo),
    ROW(0x1000, 0x106, DefStatThermo), ROW(0x1000, 0x107, DefStatThermo), ROW(0x1000, 0x108, DefStatThermo),
    ROW(0x1000, 0x109, DefStatThermo), ROW(0x1000, 0x10A, DefStatThermo), ROW(0x1000, 0x10B, DefStatThermo),
    ZERO(0x1004, 0, 24), ZERO(0x1004, 1, 24), ZERO(0x1004, 2, 24), ZERO(0x1004, 3, 24),
    ROW(0x2006, 0, DefQnh),
    ZERO(0x2007, 0, 8),
    ROW(0x2008, 0, DefBrightness),
    ROW(0x2009, 0, DefDisplay),
    ZERO(0x200A, 0, 48),
    ZERO(0x200B, 0, 40),
    ROW(0x200C, 0, DefComm),
    ROW(0x200D, 0, DefXpdr),
    ZERO(0x3000, 0, 40),
    LINES(0x3001), LINES(0x3002), LINES(0x3003), LINES(0x3004),
    LINES(0x3005), LINES(0x3006), LINES(0x3007), LINES(0x3008),
    {0, 0, nullptr, 0},
};

#undef ROW
#undef ZERO
#undef LINES
