// The display program's setting records: plain global records that the configuration
// manager binds to the settings store. A record bound without conversion is copied as it
// stands, so its layout is the stored layout (little-endian, sizes asserted below).
// Units are fixed: the pages convert for display, the records never hold converted values.
#pragma once

#include <cstdint>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "setting records are stored as they lie in memory");

// Each section id (SSID) is named beside its record below. Its top nibble is its kind,
// which is also the file type in the header of that kind's configuration file.
constexpr uint16_t SsKindMask = 0xF000;
constexpr uint16_t SsKindStatistic = 0x1000, SsKindRuntime = 0x2000, SsKindChecklist = 0x3000,
                   SsKindSetup = 0x4000, SsKindCalib = 0x5000, SsKindCommand = 0x6000, SsKindDevice = 0x7000;
// Sections kept with their empty defaults that the program never binds.
constexpr uint16_t SsSetupSpare = 0x401A, SsStatisticSpare = 0x1004, SsRuntimeSpare = 0x200A;

// ---- setup (kind 4) ----

// 0x4001/0: units. Entries are 16-bit; the gaps are reserved.
struct TUnitsSetting {
    int16_t airspeed;       // [0]  0 kt, 1 mph, 2 km/h
    int16_t reserved1;
    int16_t altitude;       // [2]  0 ft, 1 m
    int16_t reserved3;
    int16_t temperature;    // [4]  0 F, 1 C
    int16_t reserved5;
    int16_t fuel;           // [6]  0 litre, 1 US gallon, 2 UK gallon
    int16_t reserved7;
    int16_t baro;           // [8]  0 inHg, 1 mbar, 2 torr
    int16_t reserved9;
    int16_t verticalSpeed;  // [10] 0 ft/min, 1 m/s, 2 kt
    int16_t reserved11;
    int16_t enginePress;    // [12] 0 psi, 1 bar, 2 kg/cm2, 3 kPa
    int16_t manifoldPress;  // [13] 0 inHg, 1 mbar, 2 torr
    int16_t distance;       // [14] 0 km, 1 nm, 2 sm
    int16_t reserved15;
};
static_assert(sizeof(TUnitsSetting) == 32, "0x4001");
constexpr uint16_t SsUnits = 0x4001;

// 0x4002/0: airspeed limits, hundredths of a knot.
struct TAirspeedLimits {
    int32_t vs, vfe, vno, vne;
};
static_assert(sizeof(TAirspeedLimits) == 16, "0x4002");
constexpr uint16_t SsAirspeedLimits = 0x4002;

// 0x4003/0: demo mode.
constexpr int32_t DemoMarkerValue = 0x55AA55AA;
struct TDemoSetting {
    int32_t marker;         // 0  DemoMarkerValue while the demo runs
    int32_t modelCode;      // 4  device type code shown in the demo (27, 29, 30, 31)
    int32_t resetTime;      // 8  demo reset time, seconds
    int32_t reserved12;
    int32_t reserved16;
    int32_t airspeedLimit;  // 20 demo airspeed limit, hundredths of a knot
    int32_t rpmLimit;       // 24 demo RPM limit, rpm
    int32_t reserved[13];
};
static_assert(sizeof(TDemoSetting) == 80, "0x4003");
constexpr uint16_t SsDemo = 0x4003;

// 0x4004/0: language.
struct TLanguageSetting {
    int32_t languageId;  // Windows language identifier (1033 English)
    int32_t reserved[16];
};
static_assert(sizeof(TLanguageSetting) == 68, "0x4004");
constexpr uint16_t SsLanguage = 0x4004;

// 0x400F/0: aircraft identification, 8 characters and a terminator.
struct TAircraftIdSetting {
    char id[9];
    uint8_t reserved[15];
};
static_assert(sizeof(TAircraftIdSetting) == 24, "0x400F");
constexpr uint16_t SsAircraftId = 0x400F;

// 0x400E/channel: own name of a supply channel (0x900..0x902 volts, 0xA03..0xA05 currents).
constexpr int SupplyNameLength = 10;
struct TSupplyNameSetting {
    uint32_t flags;  // bit 0: the own name is set
    int32_t reserved4;
    char name[11];   // at most SupplyNameLength characters
    uint8_t reserved[5];
};
static_assert(sizeof(TSupplyNameSetting) == 24, "0x400E");
constexpr uint16_t SsSupplyName = 0x400E;

// 0x4065/channel, program form A (RPM, rotor RPM, MAP, oil pressure, oil temperature,
// water CHT, water aux). Units: rpm; MAP mbar; oil pressure tenths of a bar; whole C.
struct TLimitA {
    int32_t range;       // top of the scale
    int32_t normal;      // top of the normal zone
    int32_t warning;
    int32_t alarm;
    int32_t alarmMin;
    int32_t warningMin;
    uint8_t extra;       // the record's byte at 36
    uint8_t reserved[3];
};
static_assert(sizeof(TLimitA) == 28, "0x4065 form A");

// 0x4065/channel, program form B (fuel flow, fuel pressure, EGT, CHT, tanks). Units: fuel
// flow tenths of l/h; fuel pressure hundredths of a bar; EGT/CHT tenths of C; tanks tenths of l.
struct TLimitB {
    int32_t range;
    int32_t alarmMin;
    int32_t warningMin;
    int32_t warning;
    int32_t alarm;
    uint8_t extra;
    uint8_t reserved[3];
};
static_assert(sizeof(TLimitB) == 24, "0x4065 form B");

// 0x4065/channel: the stored limit record; also the program form of the supply channels
// (values in tenths of a volt or ampere).
constexpr uint32_t LimitRecordSize = 48;
// Flags word: which of the words 0, 4, 8, 12 and 24 are non-zero (bits 0, 1, 2, 3, 6).
constexpr uint32_t LimitFlags(int32_t w0, int32_t w4, int32_t w8, int32_t w12, int32_t w24) {
    return (w0 ? 1u : 0u) | (w4 ? 2u : 0u) | (w8 ? 4u : 0u) | (w12 ? 8u : 0u) | (w24 ? 64u : 0u);
}
struct TLimitRecord {
    int32_t warningMin;  // 0
    int32_t warning;     // 4
    int32_t alarmMin;    // 8
    int32_t alarm;       // 12
    int32_t reserved16;
    int32_t range;       // 20
    int32_t normal;      // 24 (not used by supply channels)
    int32_t reserved28;
    uint32_t flags;      // 32 which of the words 0, 4, 8, 12, 24 are set
    uint8_t extra;       // 36
    uint8_t reserved[11];
};
static_assert(sizeof(TLimitRecord) == LimitRecordSize, "0x4065 stored form");
constexpr uint16_t SsLimit = 0x4065;

// 0x4018/n: device port (1 service, 2 GPS, 3 remote compass, 4 SL30, 5 CO guardian,
// 6 altitude encoder, 7 COMM, 8 transponder, 9 engine ECU).
constexpr uint8_t PortConnected = 0x80;
struct TDevicePort {
    uint8_t reserved0[3];
    uint8_t flags;     // 3  bit 7 connected
    uint8_t comPort;   // 4  COM number
    uint8_t protocol;  // 5  0 NMEA / ICARUS, 1 ARNAV
    uint8_t reserved6[2];
    int32_t baud;      // 8
    uint8_t reserved[20];
};
static_assert(sizeof(TDevicePort) == 32, "0x4018");
constexpr uint16_t SsDevicePort = 0x4018;
constexpr int DevicePortCount = 9;

// Remote compass mountings.
enum TCompassMounting : uint8_t { MountXFrontYLeft = 1, MountXFrontYDown = 9, MountXUpYRight = 17 };
// 0x4017/0: remote compass. The wizard's step and status bytes are placed at 18/19.
struct TCompassSetting {
    uint8_t control;      // 0  first field (bits set by the demo set-up)
    uint8_t reserved1;
    uint8_t mounting;     // 2  one of the TCompassMounting codes
    uint8_t mode;         // 3  fourth field
    uint8_t reserved4[12];
    uint16_t calibFlags;  // 16 calibration bits; bit 1 step acknowledged
    uint8_t calibStep;    // 18 0 idle, 1..6
    int8_t calibStatus;   // 19 step reached, or a negative error
    int32_t declination;  // 20 hundredths of a degree
    int32_t inclination;  // 24 hundredths of a degree
    int32_t totalField;   // 28 nT
    uint8_t reserved[32];
};
static_assert(sizeof(TCompassSetting) == 64, "0x4017");
constexpr uint16_t SsCompass = 0x4017;

// The engine-gauge configuration: program form of 0x4010 (thermocouple assignment) and of
// the per-channel sensor settings 0x4064. Type indexes are positions in the catalogue list
// of the channel (hkutils.h).
constexpr int ThermoSlots = 6;
constexpr int ThermoCount = 12;
struct TThermoSlot {
    uint8_t thermocouple;  // 1..12, 0 none
    uint8_t typeIndex;     // position in list 257 (EGT) or 256 (CHT)
};
// The default layout, which is also the bench's: slot n of the exhaust-gas group on
// thermocouple n, slot n of the head-temperature group on 6 + n (slots from 0 here).
constexpr uint8_t SlotThermocouple(bool cht, int slot) {
    return static_cast<uint8_t>((cht ? ThermoSlots : 0) + slot + 1);
}
struct TEngineGaugeConfig {
    int32_t mainSwitch;        // 0 not connected
    int32_t cylinders;         // slot pairs in use (6, 4, 2)
    TThermoSlot egt[ThermoSlots];
    TThermoSlot cht[ThermoSlots];
    int32_t rpmUsed;           // characteristic byte of 0xB00, non-zero = used
    int32_t mapType, mapUsed;  // 0x201
    int32_t rotorRpmUsed;      // characteristic byte of 0xB01
    int32_t oilTempType, oilTempUsed;    // 0x603
    int32_t oilPressType, oilPressUsed;  // 0x200
    int32_t waterChtType, waterChtUsed;  // 0x602
    int32_t reserved76;                  // stored word 44 of 0x4010
    int32_t waterAuxType, waterAuxUsed;  // 0x604
    int32_t tankType, tankUsed;          // 0xC15 left or total tank
    int32_t rightTankType, twoTanks;     // 0xC16
    int32_t fuelFlowUsed;                // characteristic byte of 0x400
    int32_t fuelPressType, fuelPressUsed;  // 0x202
    int32_t iatType, iatUsed;            // 0x600
    int32_t oatType, oatUsed;            // 0x601
    int32_t voltsMask;         // bits 0..2: voltage 1..3 used
    int32_t currentsMask;      // bits 0..2: current 1..3 used
    int32_t canopyInput;       // 0 not used, 1 active high, 2 active low
    int32_t gearUpInput;
    int32_t gearDownInput;
    int32_t dimmerControl;     // 0 manual, 1 auto, 2/3/4 extern max 5/12/24 V
    int32_t assignOption4;     // bit 4 of the stored count byte
    int32_t assignOption6;     // bit 6 of the stored count byte
    uint8_t backlightColour;   // stored byte 2: 0 green, 1 red, 2 orange
    uint8_t waterChtLabel;     // stored byte 3: the temperature face's title, 0 water, 1 CHT
    uint8_t reserved162[2];
};
static_assert(sizeof(TEngineGaugeConfig) == 164, "0x4010 program form");
constexpr uint16_t SsThermoAssign = 0x4010;  // stored form: thermocouple assignment
constexpr uint16_t SsSensor = 0x4064;        // per channel: sensor characteristic and type

// 0x4011/n: tank record (0 left or total, 1 right).
constexpr int TankPoints = 17;
struct TTankPoint {
    int16_t sensor;    // raw level, hundredths of the channel unit
    int16_t quantity;  // tenths of a litre
};
struct TTankSetting {
    TTankPoint point[TankPoints];
    int32_t unusable;    // 68 tenths of a litre
    uint8_t steps;       // 72 calibration steps (3..15), points after a calibration
    uint8_t calibrated;  // 73 1 calibrated
    uint8_t reserved[2];
};
static_assert(sizeof(TTankSetting) == 76, "0x4011");
constexpr uint16_t SsTank = 0x4011;

// 0x4013/0: fuel flow.
struct TFuelFlowSetting {
    int32_t kFactor;          // pulses per litre, 100..25000
    int16_t flowAverage;      // 4 fuel-flow averaging time, s, 1..10
    int16_t quantityAverage;  // 6 fuel-quantity averaging time, s, 30..300
    int16_t pressOffset;      // 8 fuel-pressure zero offset, hundredths of a bar
    int16_t reserved;
};
static_assert(sizeof(TFuelFlowSetting) == 12, "0x4013");
constexpr uint16_t SsFuelFlow = 0x4013;

// 0x4014/n: RPM sensor (0 RPM, 1 rotor RPM).
struct TRpmSensorSetting {
    int32_t pulsesPerRev;    // 1..200
    int32_t reductionRatio;  // hundredths, 100..600
};
static_assert(sizeof(TRpmSensorSetting) == 8, "0x4014");
constexpr uint16_t SsRpmSensor = 0x4014;

// 0x4016/n: single words.
enum { MiscRpmThreshold = 0, MiscPitchOffset = 3, MiscRollOffset = 4, MiscSettingCount = 5 };
struct TMiscSetting {
    int32_t value;  // 0 RPM activation threshold (rpm); 3 pitch, 4 roll offset (tenths of a degree)
};
static_assert(sizeof(TMiscSetting) == 4, "0x4016");
constexpr uint16_t SsMisc = 0x4016;

// 0x4019/n: data-sharing priority (0 off, 1 low, 2 high).
struct TDataSharingSetting {
    uint8_t priority;
    uint8_t reserved[15];
};
static_assert(sizeof(TDataSharingSetting) == 16, "0x4019");
constexpr uint16_t SsDataSharing = 0x4019;

// 0x401B/0: autopilot axis parameters.
struct TAutopilotSetting {
    int16_t maxSpeed;        // 0 tenths of km/h
    int16_t minSpeed;        // 2 tenths of km/h
    int16_t reserved4[4];
    int16_t maxBank;         // 12 hundredths of a degree
    int16_t maxPitch;        // 14 hundredths of a degree
    int16_t turnRate;        // 16 hundredths of a degree per second
    int16_t reserved18;
    uint8_t rollSensitivity;   // 20
    uint8_t pitchSensitivity;  // 21
    uint8_t reserved22[2];
    uint8_t rollMode;        // 24 1 turn rate, 2 bank angle
    uint8_t pitchMode;       // 25 1 vertical speed, 2 longitudinal angle
    uint8_t reserved[22];
};
static_assert(sizeof(TAutopilotSetting) == 48, "0x401B");
constexpr uint16_t SsAutopilot = 0x401B;

// 0x401C/n: autopilot servo (0 pitch, 1 roll).
struct TServoSetting {
    int32_t servoId;
    uint8_t installed;
    uint8_t reserved[11];
};
static_assert(sizeof(TServoSetting) == 16, "0x401C");
constexpr uint16_t SsServo = 0x401C;

// 0x401D/0: COMM frequency step.
struct TFreqStepSetting {
    uint8_t step;  // 0 8.33 kHz, non-zero 25 kHz
    uint8_t reserved[31];
};
static_assert(sizeof(TFreqStepSetting) == 32, "0x401D");
constexpr uint16_t SsFreqStep = 0x401D;

// 0x401E/n: COMM frequency memories 0..9.
struct TFreqMemorySetting {
    int32_t frequency;  // Hz, 0 empty
    char label[8];      // no terminator when all 8 are used
    uint8_t reserved[4];
};
static_assert(sizeof(TFreqMemorySetting) == 16, "0x401E");
constexpr uint16_t SsFreqMemory = 0x401E;

// 0x401F/0: gyro settings.
struct TGyroSetting {
    int16_t refusals;  // refusal counter, saturating at 0x7fff
    uint8_t reserved[30];
};
static_assert(sizeof(TGyroSetting) == 32, "0x401F");
constexpr uint16_t SsGyro = 0x401F;

// 0x4020/0: VFR default squawk.
struct TVfrCodeSetting {
    uint16_t code;  // four octal digits in nibbles (0x7000), 0 not set
    uint8_t reserved[30];
};
static_assert(sizeof(TVfrCodeSetting) == 32, "0x4020");
constexpr uint16_t SsVfrCode = 0x4020;

// 0x4021/0: setup passwords (installer, administrator, user), 0 none; four decimal digits.
struct TPasswordSetting {
    int32_t slot[3];
    uint8_t reserved[20];
};
static_assert(sizeof(TPasswordSetting) == 32, "0x4021");
constexpr uint16_t SsPassword = 0x4021;

// ---- statistics (kind 1) ----

// Program order (maximum, minimum); stored swapped. Cleared: max INT32_MIN, min INT32_MAX.
struct TStatPair {
    int32_t max;
    int32_t min;
};
static_assert(sizeof(TStatPair) == 8, "0x1000 program form");
constexpr uint16_t SsStatistic = 0x1000;  // per channel
struct TFlightStatistics {
    TStatPair altitude;       // 0x300 metres
    TStatPair speed;          // 0xF00 km/h
    TStatPair verticalSpeed;  // 0xF02
    TStatPair acceleration;   // 0x80B tenths of g
};
struct TEngineStatistics {
    TStatPair rpm;        // 0xB00
    TStatPair map;        // 0x201 hPa
    TStatPair rpm2;       // 0xB01
    TStatPair oilTemp;    // 0x603 C
    TStatPair oilPress;   // 0x200 thousandths of a bar
    TStatPair iat;        // 0x600 C
    TStatPair oat;        // 0x601 C
    TStatPair fuelPress;  // 0x202 hundredths of a bar
    TStatPair fuelFlow;   // 0x400
    int32_t egtMax[ThermoSlots];  // 0x1000/thermocouple channel, stored word 1
    int32_t chtMax[ThermoSlots];  // stored word 2
};

// ---- runtime (kind 2) ----

struct TQnhSetting {
    int32_t qnh;  // 0x2006 Pa
};
static_assert(sizeof(TQnhSetting) == 4, "0x2006");
constexpr uint16_t SsQnh = 0x2006;

struct TViewSetting {
    int32_t symbolOffset;  // 0x2007 aircraft symbol offset, pixels, -50..50
    int32_t navSource;     // 0 off, 1 VOR/LOC, 2 GPS
};
static_assert(sizeof(TViewSetting) == 8, "0x2007");
constexpr uint16_t SsView = 0x2007;

struct TBrightnessSetting {
    int32_t level;  // 0x2008 1..1000
    int32_t reserved;
};
static_assert(sizeof(TBrightnessSetting) == 8, "0x2008");
constexpr uint16_t SsBrightness = 0x2008;

// 0x2009/0: runtime display record.
struct TDisplaySetting {
    int32_t screenWord;  // low 6 bits screen type; bits 8.. runtime flags (bit 8 engine strip)
    int32_t terrainView;  // 4: non-zero = the 3-D terrain behind the attitude
    int32_t path3d;       // 8: 1 = the 3-D path
    int32_t bugsShown;   // 12
    int32_t altBug;      // 16 decimetres
    int32_t iasBugOn;    // 20
    int32_t iasBug;      // 24 hundredths of km/h
    int32_t hdgBugOn;    // 28
    int32_t hdgBug;      // 32 degrees 0..359
};
static_assert(sizeof(TDisplaySetting) == 36, "0x2009");
constexpr uint16_t SsDisplay = 0x2009;

// 0x200B/0: autopilot runtime record.
struct TAutopilotRuntime {
    int32_t headingTarget;   // hundredths of a degree
    int32_t altitudeTarget;  // decimetres
    int32_t reserved8[2];
    int32_t modeWord;        // 16 bits 0xF00: own heading mode
    int32_t reserved[5];
};
static_assert(sizeof(TAutopilotRuntime) == 40, "0x200B");
constexpr uint16_t SsAutopilotRuntime = 0x200B;

// 0x200C/0: COMM runtime record.
struct TCommRuntime {
    int32_t active;         // Hz
    int32_t standby;        // Hz
    uint8_t volume;         // 8  0..100
    uint8_t memoryIndex;    // 9  0..9, 255 none
    int16_t squelch;        // 10 bit 0 squelch on
    uint8_t squelchLevel;   // 12 0..100
    uint8_t reserved[19];
};
static_assert(sizeof(TCommRuntime) == 32, "0x200C");
constexpr uint16_t SsCommRuntime = 0x200C;

// 0x200D/0: transponder runtime record.
struct TXpdrRuntime {
    uint16_t squawk;  // octal digits in nibbles
    uint8_t mode;     // 0 SBY, 1 ON, 2 ALT
    uint8_t ident;
    uint8_t reserved[28];
};
static_assert(sizeof(TXpdrRuntime) == 32, "0x200D");
constexpr uint16_t SsXpdrRuntime = 0x200D;

// ---- checklists (kind 3) ----

struct TChecklistHeader {
    int32_t word0, word1;
    char title[32];
};
static_assert(sizeof(TChecklistHeader) == 40, "0x3000");
constexpr uint16_t SsChecklistHeader = 0x3000;
constexpr int ChecklistCount = 8, ChecklistLines = 18, ChecklistLineSize = 64;
constexpr uint16_t SsChecklistLines = 0x3001;  // list n's lines are section SsChecklistLines + n

// ---- calibration (kind 5) ----

struct TCalibSetting {
    int32_t word[2];  // 0x5000/0xFA
};
static_assert(sizeof(TCalibSetting) == 8, "0x5000");
constexpr uint16_t SsCalib = 0x5000;

// ---- volatile command blocks (kind 6) ----

struct TApCommand2 {   // 0x6002/0 and 1
    int32_t control;   // bit 0 set when the autopilot setup opens
    int32_t reserved[5];
};
static_assert(sizeof(TApCommand2) == 24, "0x6002");
constexpr uint16_t SsApCommand2 = 0x6002;
struct TApCommand3 {   // 0x6003/0 and 1
    int32_t control;
    int32_t reserved[4];
};
static_assert(sizeof(TApCommand3) == 20, "0x6003");
constexpr uint16_t SsServoRecord = 0x6003;
struct TApCommand4 {   // 0x6004/0 and 1
    int32_t control;
    int32_t reserved[6];
};
static_assert(sizeof(TApCommand4) == 28, "0x6004");
constexpr uint16_t SsApCommand4 = 0x6004;
struct TApCommand5 {   // 0x6005/0
    int32_t control;
    int32_t reserved[3];
};
static_assert(sizeof(TApCommand5) == 16, "0x6005");
constexpr uint16_t SsServoPass = 0x6005;
#pragma pack(push, 1)
struct TServoProcess {  // 0x6006/0
    int32_t process;    // 0x10000 detection, 0x20000 deflection calibration, 0x30000 test
    int32_t step;       // process + step 1..7
    uint8_t command;    // 1 start, 2 next step, 3 end
    uint8_t error;      // 1 step done, other non-zero failure
    uint8_t status;     // bit 0x20 the device has answered
    uint8_t result;
    uint8_t reserved[15];
};
#pragma pack(pop)
static_assert(sizeof(TServoProcess) == 27, "0x6006");
constexpr uint16_t SsServoProcess = 0x6006;
struct TGyroProcess {   // 0x6007/0
    int32_t request;    // 256 start ... 261 end; 512/513 fuel-pressure zero
    uint8_t sent;       // 4 1 = sent
    uint8_t status;     // 5 1 ok, 2 failed
    int16_t state;      // 6 2 = answered
    int32_t value;      // 8
    int16_t started;    // 12
    uint8_t reserved[26];
};
static_assert(sizeof(TGyroProcess) == 40, "0x6007");
constexpr uint16_t SsGyroProcess = 0x6007;

// ---- device information (kind 7, never in files) ----

// Device type codes: DeviceInfo.deviceType, the demo's model and DeviceID.
enum TDeviceType : int32_t {
    DeviceEfis = 27,           // flight instruments
    DeviceEfisEms = 29,        // flight instruments and engine monitor
    DeviceEms = 30,            // engine monitor
    DeviceRemoteDisplay = 31,  // passenger display, read by GetDeviceType as DeviceEms
    DeviceEfisEms2 = 33,       // the second flight and engine model
    DeviceEms2 = 34,           // the second engine model
};
struct TDeviceInfo {     // 0x7001/0
    int32_t deviceType;  // TDeviceType
    int32_t hwVersion;
    uint8_t options;     // 8 bit 0 EMS with flight pages, bit 1 EFIS with engine pages
    uint8_t reserved[7];
};
static_assert(sizeof(TDeviceInfo) == 16, "0x7001");
constexpr uint16_t SsDeviceInfo = 0x7001;
struct TDeviceInfoExt {  // 0x7003/0
    int32_t word0;
    int32_t features;    // bit 9: eight soft-key captions
    int32_t reserved[2];
};
static_assert(sizeof(TDeviceInfoExt) == 16, "0x7003");
constexpr uint16_t SsDeviceInfoExt = 0x7003;
constexpr uint16_t SsInstallInfo = 0x7002;  // first word: the installation id (the files' unit value)

// ---- the records ----
extern TUnitsSetting UnitsSetting;
extern TAirspeedLimits AirspeedLimits;
extern TDemoSetting DemoSetting;
extern TLanguageSetting LanguageSetting;
extern TAircraftIdSetting AircraftIdSetting;
extern TSupplyNameSetting SupplyNameSetting[6];  // 0x900, 0x901, 0x902, 0xA03, 0xA04, 0xA05
extern TLimitA LimitRpm, LimitRotorRpm, LimitMap, LimitOilPress, LimitOilTemp, LimitWaterCht, LimitWaterAux;
extern TLimitB LimitFuelFlow, LimitFuelPress, LimitEgt, LimitCht, LimitTankLeft, LimitTankRight;
extern TLimitRecord SupplyLimit[6];  // 0x900, 0x901, 0x902, 0xA03, 0xA04, 0xA05
extern TDevicePort DevicePort[DevicePortCount];  // index = sub id - 1
extern TCompassSetting CompassSetting;
extern TEngineGaugeConfig EngineGaugeConfig;
extern TTankSetting TankSetting[2];
extern TFuelFlowSetting FuelFlowSetting;
extern TRpmSensorSetting RpmSensorSetting[2];
extern TMiscSetting MiscSetting[MiscSettingCount];
extern TDataSharingSetting DataSharingSetting[2];
extern TAutopilotSetting AutopilotSetting;
extern TServoSetting ServoSetting[2];
extern TVfrCodeSetting VfrCodeSetting;
extern TPasswordSetting PasswordSetting;
extern TFreqStepSetting FreqStepSetting;
extern TFreqMemorySetting FreqMemorySetting[10];
extern TGyroSetting GyroSetting;
extern TFlightStatistics FlightStatistics;
extern TEngineStatistics EngineStatistics;
extern TQnhSetting QnhSetting;
extern TViewSetting ViewSetting;
extern TBrightnessSetting BrightnessSetting;
extern TDisplaySetting DisplaySetting;
extern TAutopilotRuntime AutopilotRuntime;
extern TCommRuntime CommRuntime;
extern TXpdrRuntime XpdrRuntime;
extern TChecklistHeader ChecklistHeader;
extern char ChecklistTable[ChecklistCount][ChecklistLines][ChecklistLineSize];  // [SSID - 0x3001][Par]
extern TCalibSetting CalibSetting;
extern TApCommand2 ApCommand2[2];
extern TApCommand3 ApCommand3[2];
extern TApCommand4 ApCommand4[2];
extern TApCommand5 ApCommand5;
extern TServoProcess ServoProcess;
extern TGyroProcess GyroProcess;
extern TDeviceInfo DeviceInfo;
extern TDeviceInfoExt DeviceInfoExt;

