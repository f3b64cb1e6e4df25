#include "configmanager.h"

#include <libintl.h>

#include <chrono>
#include <cstddef>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <new>
#include <thread>

#include "cataloguecheck.h"
#include "chandesc.h"
#include "hkutils.h"

CConfigManager ConfigManager;
int SettingsError = 0;
int SettingsBusy = 0;
uint32_t SettingDefaultsCount = 0;
int LanguageId = 1033;
char LanguageLocale[32] = "en_US";
int LanguageFontSet = FontSetLatin;
int LanguageTextVariant = 1;
int LayoutCaps = 0;
int LayoutMask = 0;
int DisplayModel = DeviceEfisEms;

namespace {

constexpr uint32_t RetryPause = 250;  // ms

// Runs attempt(0), then again up to tries - 1 times, RetryPause apart, while it answers `busy`.
template <class F>
int Retried(const CConfigManager& m, int tries, int busy, F attempt) {
    int r = attempt(0);
    for (int i = 1; i < tries && r == busy; ++i) {
        m.Sleep(RetryPause);
        r = attempt(i);
    }
    return r;
}

inline int32_t Word(const uint8_t* record, int offset) { return static_cast<int32_t>(CfgGet32(record + offset)); }
inline void PutWord(uint8_t* record, int offset, int32_t v) { CfgPut32(record + offset, static_cast<uint32_t>(v)); }

// ---- limit records ----

void SetLimitFlags(uint8_t* record) {
    CfgPut32(record + 32, LimitFlags(Word(record, 0), Word(record, 4), Word(record, 8), Word(record, 12), Word(record, 24)));
}

// Several channels share the one scratch record, so a save first reads this channel's stored
// record: the words the program form does not hold keep their own values.
int FetchForUpdate(CConfigManager* m, uint16_t SSID, uint16_t Par, uint8_t* scratch, uint32_t size) {
    int r = m->Store()->FetchItem(SSID, Par);
    if (r == -5) {  // never stored: start from nothing
        memset(scratch, 0, size);
        return 0;
    }
    return r < 0 ? r : 0;
}

// Program forms A and B: program word i is the stored word at stored[i]; the stored
// byte 36 follows the words.
struct TLimitForm {
    int words;
    int stored[6];
};
const TLimitForm LimitFormA = {6, {20, 24, 4, 12, 8, 0}};  // range, normal, warning, alarm, alarm min, warning min
const TLimitForm LimitFormB = {5, {20, 8, 0, 4, 12}};      // range, alarm min, warning min, warning, alarm
static_assert(offsetof(TLimitA, extra) == 24 && offsetof(TLimitB, extra) == 20, "limit program forms");

int LoadLimit(CConfigManager* m, const TConfigEntry& row, const TLimitForm& form) {
    int r = m->Store()->FetchItem(SsLimit, static_cast<uint16_t>(row.Par));
    if (r < 0) return r;
    const uint8_t* s = m->m_Limit;
    uint8_t* v = static_cast<uint8_t*>(row.variable);
    for (int i = 0; i < form.words; ++i) PutWord(v, 4 * i, Word(s, form.stored[i]));
    v[4 * form.words] = s[36];
    return r;
}

int SaveLimit(CConfigManager* m, const TConfigEntry& row, const TLimitForm& form) {
    uint16_t par = static_cast<uint16_t>(row.Par);
    int r = FetchForUpdate(m, SsLimit, par, m->m_Limit, sizeof m->m_Limit);
    if (r < 0) return r;
    uint8_t* s = m->m_Limit;
    const uint8_t* v = static_cast<const uint8_t*>(row.variable);
    for (int i = 0; i < form.words; ++i) PutWord(s, form.stored[i], Word(v, 4 * i));
    s[36] = v[4 * form.words];
    SetLimitFlags(s);
    return m->Store()->StoreItem(SsLimit, par);
}

int LoadLimitA(CConfigManager* m, const TConfigEntry& row) { return LoadLimit(m, row, LimitFormA); }
int SaveLimitA(CConfigManager* m, const TConfigEntry& row) { return SaveLimit(m, row, LimitFormA); }
int LoadLimitB(CConfigManager* m, const TConfigEntry& row) { return LoadLimit(m, row, LimitFormB); }
int SaveLimitB(CConfigManager* m, const TConfigEntry& row) { return SaveLimit(m, row, LimitFormB); }

// ---- statistics pair: stored (minimum, maximum) ----

int LoadStatPair(CConfigManager* m, const TConfigEntry& row) {
    int r = m->Store()->FetchItem(SsStatistic, static_cast<uint16_t>(row.Par));
    if (r < 0) return r;
    TStatPair* v = static_cast<TStatPair*>(row.variable);
    v->max = Word(m->m_Stat, 4);
    v->min = Word(m->m_Stat, 0);
    return r;
}

int SaveStatPair(CConfigManager* m, const TConfigEntry& row) {
    const TStatPair* v = static_cast<const TStatPair*>(row.variable);
    PutWord(m->m_Stat, 0, v->min);
    PutWord(m->m_Stat, 4, v->max);
    return m->Store()->StoreItem(SsStatistic, static_cast<uint16_t>(row.Par));
}

// ---- thermocouple assignment ----

// A number read from a file indexes the thermocouple lists only when it names one.
inline uint8_t ThermoNumber(int n) { return n >= 1 && n <= ThermoCount ? static_cast<uint8_t>(n) : 0; }
inline int32_t SlotPairs(int n) { return n < 0 ? 0 : n > ThermoSlots ? ThermoSlots : n; }

int LoadThermo(CConfigManager* m, const TConfigEntry& row) {
    int r = m->Store()->FetchItem(SsThermoAssign, 0);
    if (r < 0) return r;
    const uint8_t* s = m->m_Thermo;
    TEngineGaugeConfig* c = static_cast<TEngineGaugeConfig*>(row.variable);
    c->cylinders = SlotPairs(s[0] & 0x0F);
    c->assignOption4 = (s[0] >> 4) & 1;
    c->assignOption6 = (s[0] >> 6) & 1;
    c->backlightColour = s[2] <= 2 ? s[2] : 0;
    c->waterChtLabel = s[3] ? 1 : 0;
    for (int i = 0; i < ThermoSlots; ++i) {
        c->egt[i].thermocouple = ThermoNumber(s[4 + i]);
        c->cht[i].thermocouple = ThermoNumber(s[10 + i]);
    }
    c->voltsMask = Word(s, 16);
    c->currentsMask = Word(s, 20);
    c->canopyInput = Word(s, 24);
    c->gearUpInput = Word(s, 28);
    c->gearDownInput = Word(s, 32);
    c->dimmerControl = Word(s, 36);
    c->mainSwitch = Word(s, 40);
    c->reserved76 = Word(s, 44);
    return r;
}

int SaveThermo(CConfigManager* m, const TConfigEntry& row) {
    uint8_t* s = m->m_Thermo;
    const TEngineGaugeConfig* c = static_cast<const TEngineGaugeConfig*>(row.variable);
    memset(s, 0, sizeof m->m_Thermo);
    s[0] = static_cast<uint8_t>(SlotPairs(c->cylinders) | (c->assignOption4 ? 0x10 : 0) | (c->assignOption6 ? 0x40 : 0));
    s[1] = 255;
    s[2] = c->backlightColour <= 2 ? c->backlightColour : 0;
    s[3] = c->waterChtLabel ? 1 : 0;
    for (int i = 0; i < ThermoSlots; ++i) {
        s[4 + i] = ThermoNumber(c->egt[i].thermocouple);
        s[10 + i] = ThermoNumber(c->cht[i].thermocouple);
    }
    PutWord(s, 16, c->voltsMask);
    PutWord(s, 20, c->currentsMask);
    PutWord(s, 24, c->canopyInput);
    PutWord(s, 28, c->gearUpInput);
    PutWord(s, 32, c->gearDownInput);
    PutWord(s, 36, c->dimmerControl);
    PutWord(s, 40, c->mainSwitch);
    PutWord(s, 44, c->reserved76);
    return m->Store()->StoreItem(SsThermoAssign, 0);
}

// ---- sensor setting ----

constexpr int32_t ListEgt = echThermo1, ListCht = echThermo0;

const TSensorField SensorFields[] = {
    {echPressOil, echPressOil, &TEngineGaugeConfig::oilPressType, &TEngineGaugeConfig::oilPressUsed},
    {echPressMap, echPressMap, &TEngineGaugeConfig::mapType, &TEngineGaugeConfig::mapUsed},
    {echPressFuel, echPressFuel, &TEngineGaugeConfig::fuelPressType, &TEngineGaugeConfig::fuelPressUsed},
    {echTempIAT, echTempOAT, &TEngineGaugeConfig::iatType, &TEngineGaugeConfig::iatUsed},
    {echTempOAT, echTempOAT, &TEngineGaugeConfig::oatType, &TEngineGaugeConfig::oatUsed},
    {echTempWater, echTempOil, &TEngineGaugeConfig::waterChtType, &TEngineGaugeConfig::waterChtUsed},
    {echTempOil, echTempOil, &TEngineGaugeConfig::oilTempType, &TEngineGaugeConfig::oilTempUsed},
    {echTempAux1, echTempOil, &TEngineGaugeConfig::waterAuxType, &TEngineGaugeConfig::waterAuxUsed},
    {echInternalFuelLev1Raw, echInternalFuelLev1Raw, &TEngineGaugeConfig::tankType, &TEngineGaugeConfig::tankUsed},
    {echInternalFuelLev2Raw, echInternalFuelLev1Raw, &TEngineGaugeConfig::rightTankType, &TEngineGaugeConfig::twoTanks},
    {echFuelFlow, 0, nullptr, &TEngineGaugeConfig::fuelFlowUsed},
    {echRpmEng, 0, nullptr, &TEngineGaugeConfig::rpmUsed},
    {echRpmAux, 0, nullptr, &TEngineGaugeConfig::rotorRpmUsed},
};

bool IsThermoChannel(uint32_t Par) { return Par >= echThermo0 && Par < echThermo0 + ThermoCount; }

int LoadSensor(CConfigManager* m, const TConfigEntry& row) {
    int r = m->Store()->FetchItem(SsSensor, static_cast<uint16_t>(row.Par));
    if (r < 0) return r;
    const uint8_t characteristic = m->m_Sensor[0], code = m->m_Sensor[1];
    TEngineGaugeConfig* c = static_cast<TEngineGaugeConfig*>(row.variable);
    if (IsThermoChannel(row.Par)) {
        const int n = static_cast<int>(row.Par) - 0xFF;
        for (int i = 0; i < ThermoSlots; ++i) {
            if (c->egt[i].thermocouple == n)
                c->egt[i].typeIndex = static_cast<uint8_t>(SensorTypeIndexByCode(ListEgt, code));
            if (c->cht[i].thermocouple == n)
                c->cht[i].typeIndex = static_cast<uint8_t>(SensorTypeIndexByCode(ListCht, code));
        }
        return r;
    }
    const TSensorField* f = FindSensorField(row.Par);
    if (!f) return r;
    if (f->type) {
        c->*f->type = SensorTypeIndexByChar(f->list, characteristic);
        c->*f->used = characteristic != 0;
    } else {
        c->*f->used = characteristic;
    }
    return r;
}

int SaveSensor(CConfigManager* m, const TConfigEntry& row) {
    const uint16_t par = static_cast<uint16_t>(row.Par);
    const TEngineGaugeConfig* c = static_cast<const TEngineGaugeConfig*>(row.variable);
    uint8_t* s = m->m_Sensor;
    if (IsThermoChannel(row.Par)) {
        const int n = static_cast<int>(row.Par) - 0xFF;
        const TThermoSlot* slot = nullptr;
        int32_t list = ListEgt;
        for (int i = 0; i < ThermoSlots && !slot; ++i)
            if (c->egt[i].thermocouple == n) slot = &c->egt[i];
        for (int i = 0; i < ThermoSlots && !slot; ++i)
            if (c->cht[i].thermocouple == n) slot = &c->cht[i], list = ListCht;
        if (!slot) return 0;  // no slot uses it: the stored type stays
        s[0] = static_cast<uint8_t>(SensorTypeCharacteristic(list, slot->typeIndex));
        s[1] = static_cast<uint8_t>(SensorTypeCode(list, slot->typeIndex));
        return m->Store()->StoreItem(SsSensor, par);
    }
    const TSensorField* f = FindSensorField(row.Par);
    if (!f) return m->Store()->StoreItem(SsSensor, par);
    int r = FetchForUpdate(m, SsSensor, par, s, sizeof m->m_Sensor);
    if (r < 0) return r;
    if (!f->type) {
        s[0] = static_cast<uint8_t>(c->*f->used);
    } else if (c->*f->used) {
        s[0] = static_cast<uint8_t>(SensorTypeCharacteristic(f->list, c->*f->type));
        s[1] = static_cast<uint8_t>(SensorTypeCode(f->list, c->*f->type));
    } else {
        // Not connected: characteristic 0, which is what loading reads as unused.
        s[0] = 0;
        s[1] = 0;
    }
    return m->Store()->StoreItem(SsSensor, par);
}

}  // namespace

const TSensorField* FindSensorField(uint32_t channel) {
    for (const TSensorField& f : SensorFields)
        if (f.channel == channel) return &f;
    return nullptr;
}

int ThermocoupleChannel(int n) { return n >= 1 && n <= ThermoCount ? echThermo0 + n - 1 : 0; }

// ---- the entry table ----

#define PLAIN(ssid, par, var) {ssid, par, &(var), sizeof(var), nullptr, nullptr}
#define CONV(ssid, par, var, load, save) {ssid, par, &(var), sizeof(var), load, save}
#define LIMIT_A(par, var) CONV(SsLimit, par, var, LoadLimitA, SaveLimitA)
#define LIMIT_B(par, var) CONV(SsLimit, par, var, LoadLimitB, SaveLimitB)
#define SENSOR(par) CONV(SsSensor, par, EngineGaugeConfig, LoadSensor, SaveSensor)
#define STAT(par, var) CONV(SsStatistic, par, var, LoadStatPair, SaveStatPair)

const TConfigEntry ConfigEntryTable[ConfigEntryRows + 1] = {
    PLAIN(SsUnits, 0, UnitsSetting),
    PLAIN(SsAirspeedLimits, 0, AirspeedLimits),
    PLAIN(SsDemo, 0, DemoSetting),
    PLAIN(SsLanguage, 0, LanguageSetting),
    PLAIN(SsAircraftId, 0, AircraftIdSetting),
    PLAIN(SsSupplyName, echVolt1, SupplyNameSetting[0]), PLAIN(SsSupplyName, echVolt2, SupplyNameSetting[1]),
    PLAIN(SsSupplyName, echVolt3, SupplyNameSetting[2]), PLAIN(SsSupplyName, echCurr1, SupplyNameSetting[3]),
    PLAIN(SsSupplyName, echCurr2, SupplyNameSetting[4]), PLAIN(SsSupplyName, echCurr3, SupplyNameSetting[5]),
    LIMIT_A(echRpmEng, LimitRpm), LIMIT_A(echRpmAux, LimitRotorRpm), LIMIT_A(echPressMap, LimitMap),
    LIMIT_A(echPressOil, LimitOilPress), LIMIT_A(echTempOil, LimitOilTemp), LIMIT_A(echTempWater, LimitWaterCht),
    LIMIT_A(echTempAux1, LimitWaterAux),
    LIMIT_B(echFuelFlow, LimitFuelFlow), LIMIT_B(echPressFuel, LimitFuelPress), LIMIT_B(echThermo0, LimitEgt),
    LIMIT_B(echThermo1, LimitCht), LIMIT_B(echFuelLevel1, LimitTankLeft), LIMIT_B(echFuelLevel2, LimitTankRight),
    PLAIN(SsLimit, echVolt1, SupplyLimit[0]), PLAIN(SsLimit, echCurr1, SupplyLimit[3]),
    PLAIN(SsLimit, echVolt2, SupplyLimit[1]), PLAIN(SsLimit, echCurr2, SupplyLimit[4]),
    PLAIN(SsLimit, echVolt3, SupplyLimit[2]), PLAIN(SsLimit, echCurr3, SupplyLimit[5]),
    PLAIN(SsDevicePort, 1, DevicePort[0]), PLAIN(SsDevicePort, 2, DevicePort[1]), PLAIN(SsDevicePort, 3, DevicePort[2]),
    PLAIN(SsDevicePort, 4, DevicePort[3]), PLAIN(SsDevicePort, 6, DevicePort[5]), PLAIN(SsDevicePort, 5, DevicePort[4]),
    PLAIN(SsDevicePort, 7, DevicePort[6]), PLAIN(SsDevicePort, 8, DevicePort[7]), PLAIN(SsDevicePort, 9, DevicePort[8]),
    PLAIN(SsCompass, 0, CompassSetting),
    CONV(SsThermoAssign, 0, EngineGaugeConfig, LoadThermo, SaveThermo),
    SENSOR(echThermo0), SENSOR(echThermo1), SENSOR(echThermo2), SENSOR(echThermo3), SENSOR(echThermo4), SENSOR(echThermo5),
    SENSOR(echThermo6), SENSOR(echThermo7), SENSOR(echThermo8), SENSOR(echThermo9), SENSOR(echThermo10), SENSOR(echThermo11),
    SENSOR(echTempOil), SENSOR(echTempWater), SENSOR(echTempAux1), SENSOR(echPressOil), SENSOR(echPressMap), SENSOR(echPressFuel),
    SENSOR(echFuelFlow), SENSOR(echInternalFuelLev1Raw), SENSOR(echInternalFuelLev2Raw), SENSOR(echTempOAT), SENSOR(echTempIAT), SENSOR(echRpmEng),
    SENSOR(echRpmAux),
    PLAIN(SsTank, 0, TankSetting[0]), PLAIN(SsTank, 1, TankSetting[1]),
    PLAIN(SsFuelFlow, 0, FuelFlowSetting),
    PLAIN(SsRpmSensor, 0, RpmSensorSetting[0]), PLAIN(SsRpmSensor, 1, RpmSensorSetting[1]),
    PLAIN(SsMisc, 0, MiscSetting[0]), PLAIN(SsMisc, 1, MiscSetting[1]), PLAIN(SsMisc, 2, MiscSetting[2]),
    PLAIN(SsMisc, 3, MiscSetting[3]), PLAIN(SsMisc, 4, MiscSetting[4]),
    PLAIN(SsDataSharing, 0, DataSharingSetting[0]), PLAIN(SsDataSharing, 1, DataSharingSetting[1]),
    PLAIN(SsAutopilot, 0, AutopilotSetting),
    PLAIN(SsServo, 0, ServoSetting[0]), PLAIN(SsServo, 1, ServoSetting[1]),
    PLAIN(SsVfrCode, 0, VfrCodeSetting),
    PLAIN(SsPassword, 0, PasswordSetting),
    PLAIN(SsFreqStep, 0, FreqStepSetting),
    PLAIN(SsFreqMemory, 0, FreqMemorySetting[0]), PLAIN(SsFreqMemory, 1, FreqMemorySetting[1]),
    PLAIN(SsFreqMemory, 2, FreqMemorySetting[2]), PLAIN(SsFreqMemory, 3, FreqMemorySetting[3]),
    PLAIN(SsFreqMemory, 4, FreqMemorySetting[4]), PLAIN(SsFreqMemory, 5, FreqMemorySetting[5]),
    PLAIN(SsFreqMemory, 6, FreqMemorySetting[6]), PLAIN(SsFreqMemory, 7, FreqMemorySetting[7]),
    PLAIN(SsFreqMemory, 8, FreqMemorySetting[8]), PLAIN(SsFreqMemory, 9, FreqMemorySetting[9]),
    PLAIN(SsGyro, 0, GyroSetting),
    STAT(echAltitudeQNH, FlightStatistics.altitude), STAT(echSpeedTas, FlightStatistics.speed),
    STAT(echSpeedVertical, FlightStatistics.verticalSpeed), STAT(echInercialAccPilot, FlightStatistics.acceleration),
    STAT(echRpmEng, EngineStatistics.rpm), STAT(echPressMap, EngineStatistics.map), STAT(echRpmAux, EngineStatistics.rpm2),
    STAT(echTempOil, EngineStatistics.oilTemp), STAT(echPressOil, EngineStatistics.oilPress),
    STAT(echTempIAT, EngineStatistics.iat), STAT(echTempOAT, EngineStatistics.oat),
    STAT(echPressFuel, EngineStatistics.fuelPress), STAT(echFuelFlow, EngineStatistics.fuelFlow),
    PLAIN(SsQnh, 0, QnhSetting),
    PLAIN(SsView, 0, ViewSetting),
    PLAIN(SsBrightness, 0, BrightnessSetting),
    PLAIN(SsDisplay, 0, DisplaySetting),
    PLAIN(SsCommRuntime, 0, CommRuntime),
    PLAIN(SsXpdrRuntime, 0, XpdrRuntime),
    PLAIN(SsAutopilotRuntime, 0, AutopilotRuntime),
    PLAIN(SsChecklistHeader, 0, ChecklistHeader),
    PLAIN(SsCalib, 0xFA, CalibSetting),
    {0, 0, nullptr, 0, nullptr, nullptr},
};

#undef PLAIN
#undef CONV
#undef LIMIT_A
#undef LIMIT_B
#undef SENSOR
#undef STAT

// ---- manager ----

CConfigManager::CConfigManager()
    : m_Entries(ConfigEntryTable),
      m_Sleep([](uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }) {}

CConfigManager::~CConfigManager() { Release(); }

void CConfigManager::Release() { m_Store.reset(); }

int CConfigManager::Create() {
    Release();
    m_Store.reset(new (std::nothrow) TConfigSetting(SettingDefaultTable));
    if (!m_Store || !m_Store->IsReady()) {
        m_Store.reset();
        return -1;
    }
    RegisterEntries();
    return 0;
}

int CConfigManager::RegisterEntries() {
    int failures = 0;
    auto bind = [&](uint32_t SSID, uint32_t Par, void* variable, uint32_t length) {
        int r = m_Store->SSAPIRegisterLocalData(static_cast<uint16_t>(SSID), static_cast<uint16_t>(Par), variable,
                                                length);
        if (r != 0) {
            TRACE_ERR("binding %04x/%x (%u bytes) refused: %d", SSID, Par, length, r);
            ++failures;
        }
    };
    for (const TConfigEntry* row = m_Entries; row->SSID != 0; ++row) {
        if (!row->load || !row->save) {
            bind(row->SSID, row->Par, row->variable, row->size);
            continue;
        }
        switch (row->SSID) {
            case SsStatistic: bind(row->SSID, row->Par, m_Stat, sizeof m_Stat); break;
            case SsThermoAssign: bind(row->SSID, row->Par, m_Thermo, sizeof m_Thermo); break;
            case SsSensor: bind(row->SSID, row->Par, m_Sensor, sizeof m_Sensor); break;
            case SsLimit: bind(row->SSID, row->Par, m_Limit, sizeof m_Limit); break;
            default: break;
        }
    }
    for (int n = 1; n <= ThermoCount; ++n) bind(SsStatistic, ThermocoupleChannel(n), m_Stat, sizeof m_Stat);
    bind(SsDeviceInfo, 0, &DeviceInfo, sizeof DeviceInfo);
    bind(SsDeviceInfoExt, 0, &DeviceInfoExt, sizeof DeviceInfoExt);
    for (int list = 0; list < ChecklistCount; ++list)
        for (int line = 0; line < ChecklistLines; ++line)
            bind(SsChecklistLines + list, line, ChecklistTable[list][line], ChecklistLineSize);
    for (int i = 0; i < 2; ++i) {
        bind(SsApCommand2, i, &ApCommand2[i], sizeof ApCommand2[i]);
        bind(SsServoRecord, i, &ApCommand3[i], sizeof ApCommand3[i]);
        bind(SsApCommand4, i, &ApCommand4[i], sizeof ApCommand4[i]);
    }
    bind(SsServoPass, 0, &ApCommand5, sizeof ApCommand5);
    bind(SsServoProcess, 0, &ServoProcess, sizeof ServoProcess);
    bind(SsGyroProcess, 0, &GyroProcess, sizeof GyroProcess);
    return -failures;
}

// The first-group slots' thermocouple statistics: two words per thermocouple.
int CConfigManager::LoadThermoStatistics() {
    int result = 0;
    for (int i = 0; i < ThermoSlots; ++i) {
        int channel = ThermocoupleChannel(EngineGaugeConfig.egt[i].thermocouple);
        if (!channel) continue;
        int r = m_Store->FetchItem(SsStatistic, static_cast<uint16_t>(channel));
        if (r < 0) {
            if (!result) result = r;
            continue;
        }
        EngineStatistics.egtMax[i] = Word(m_Stat, 0);
        EngineStatistics.chtMax[i] = Word(m_Stat, 4);
    }
    return result;
}

int CConfigManager::SaveThermoStatistics() {
    int result = 0;
    for (int i = 0; i < ThermoSlots; ++i) {
        int channel = ThermocoupleChannel(EngineGaugeConfig.egt[i].thermocouple);
        if (!channel) continue;
        PutWord(m_Stat, 0, EngineStatistics.egtMax[i]);
        PutWord(m_Stat, 4, EngineStatistics.chtMax[i]);
        int r = m_Store->StoreItem(SsStatistic, static_cast<uint16_t>(channel));
        if (r < 0 && !result) result = r;
    }
    return result;
}

int CConfigManager::Load(const char* prefix, uint32_t kindMask, int reload) {
    if (!m_Store) return -1;
    int r = Retried(*this, 4, -3, [&](int i) {
        HookPrintf("CConfigManager::Load: LoadConfig ... before.. typ=%x, re=%d\n", kindMask, reload);
        int rc = m_Store->LoadConfig(prefix, kindMask, reload);
        HookPrintf("CConfigManager::Load: LoadConfig ... after i=%d, r=%d\n", i, rc);
        return rc;
    });
    if (r != 0) return r;
    if (kindMask == KindChecklist) return 0;  // checklist lines are read when needed

    r = Retried(*this, 4, -2, [&](int i) {
        int rc = m_Store->LockRead(1);
        HookPrintf("CConfigManager::Load: LockRead ... i=%d, r=%d\n", i, rc);
        return rc;
    });
    if (r != 0) return r;

    // Only the kinds asked for: the others keep what the program gathered since.
    int rowError = 0;
    for (const TConfigEntry* row = m_Entries; row->SSID != 0; ++row) {
        if (!(KindBitOf(row->SSID) & kindMask)) continue;
        int e = row->load ? row->load(this, *row)
                          : m_Store->FetchItem(static_cast<uint16_t>(row->SSID), static_cast<uint16_t>(row->Par));
        if (e < 0 && !rowError) rowError = e;
    }
    int statError = (kindMask & KindStatistic) ? LoadThermoStatistics() : 0;
    m_Store->LockRead(0);
    return statError < 0 ? statError : rowError;
}

int CConfigManager::Save(const char* prefix, uint32_t kindMask) {
    if (!m_Store) return -1;
    int r = Retried(*this, 4, -2, [&](int) { return m_Store->LockWrite(1); });
    if (r < 0) return r;
    for (const TConfigEntry* row = m_Entries; row->SSID != 0; ++row) {
        if ((row->SSID & SsKindMask) == SsKindSetup) continue;  // setup values reach the store only through SetSS
        if (row->save)
            row->save(this, *row);
        else
            m_Store->StoreItem(static_cast<uint16_t>(row->SSID), static_cast<uint16_t>(row->Par));
    }
    SaveThermoStatistics();
    m_Store->LockWrite(0);
    return m_Store->SaveConfig(prefix, kindMask);
}

const TConfigEntry* CConfigManager::FindEntry(uint16_t SSID, uint16_t Par) const {
    for (const TConfigEntry* row = m_Entries; row->SSID != 0; ++row)
        if (row->SSID == SSID && row->Par == Par) return row;
    return nullptr;
}

// Checklist lines and command blocks have no entry row: they go to their store item.
inline bool DirectItem(uint16_t SSID) { return (SSID & SsKindMask) == SsKindChecklist || (SSID & SsKindMask) == SsKindCommand; }

int CConfigManager::LoadEntry(uint16_t SSID, uint16_t Par) {
    if (!m_Store) return -1;
    if (DirectItem(SSID)) return m_Store->FetchItem(SSID, Par);
    const TConfigEntry* row = FindEntry(SSID, Par);
    if (!row) return -2;
    return row->load ? row->load(this, *row) : m_Store->FetchItem(SSID, Par);
}

int CConfigManager::SaveEntry(uint16_t SSID, uint16_t Par) {
    if (!m_Store) return -1;
    if (DirectItem(SSID)) return m_Store->StoreItem(SSID, Par);
    const TConfigEntry* row = FindEntry(SSID, Par);
    if (!row) return -2;
    return row->save ? row->save(this, *row) : m_Store->StoreItem(SSID, Par);
}

int CConfigManager::ReadDeviceInfo() { return m_Store ? m_Store->FetchItem(SsDeviceInfo, 0) : -1; }

int CConfigManager::ReadDeviceInfoExt() { return m_Store ? m_Store->FetchItem(SsDeviceInfoExt, 0) : -1; }

int CConfigManager::GetDeviceType() const { return DeviceInfo.deviceType == DeviceRemoteDisplay ? DeviceEms : DeviceInfo.deviceType; }

int CConfigManager::GetHwVersion() const { return DeviceInfo.hwVersion; }

int CConfigManager::ProcessChanges() {
    // One process owns the store here: it never reports a changed key, so there is
    // nothing to reload.
    return m_Store ? 0 : -1;
}

// ---- program-wide entry points ----

int LoadSetting(const char* prefix, uint32_t kindMask, int reload) {
    HookPrintf(">>LoadSetting()\n");
    SettingsBusy = 1;
    int r = ConfigManager.Load(prefix, kindMask, reload);
    if (r != 0)
        SettingsError = 1;
    else
        SetLanguage(LanguageSetting.languageId);
    // Every setting was read, but the store could not hold all the files carry.
    if (ConfigManager.Store() && (ConfigManager.Store()->IncompleteKinds() & kindMask)) SettingsError = 1;
    HookPrintf(">>LoadSetting()\n");
    SetDisplayCapabilities();
    LayoutMask = DisplaySetting.screenWord & 0x3F;
    SettingsBusy = 0;
    return r;
}

int SaveSetting(const char* prefix, uint32_t kindMask) {
    HookPrintf(">>SaveSetting()\n");
    SettingsBusy = 1;
    int r = ConfigManager.Save(prefix, kindMask);
    SettingsBusy = 0;
    if (r != 0) {
        HookPrintf("<<SaveSetting() ERR\n");
        return -1;
    }
    HookPrintf("<<SaveSetting() OK\n");
    return 0;
}

int GetSS(uint16_t SSID, uint16_t Par) {
    int r = ConfigManager.LoadEntry(SSID, Par);
    if (r >= 0)
        SettingDefaultsCount += static_cast<uint32_t>(r);
    else if ((SSID & SsKindMask) != SsKindCommand)
        SettingsError = 1;
    return r;
}

int SetSS(uint16_t SSID, uint16_t Par) {
    int r = Retried(ConfigManager, 4, -2, [&](int) { return ConfigManager.SaveEntry(SSID, Par); });
    if (r != 0 && (SSID & SsKindMask) != SsKindCommand) SettingsError = 1;
    return r;
}

uint32_t DamagedSettingKinds() { return ConfigManager.Store() ? ConfigManager.Store()->DamagedKinds() : 0; }

void AcceptDamagedSettings() {
    if (ConfigManager.Store()) ConfigManager.Store()->AcceptDamaged();
}

int SetThermocoupleSS() {
    int result = SetSS(SsThermoAssign, 0);
    for (int n = 1; n <= ThermoCount; ++n) {
        int r = SetSS(SsSensor, static_cast<uint16_t>(ThermocoupleChannel(n)));
        if (r != 0 && result == 0) result = r;
    }
    return result;
}

// ---- language ----

namespace {
struct TLanguage {
    int id;
    const char* locale;
    int fontSet;
    int textVariant;
    const char* codeset;  // the fonts' code page
};
const TLanguage Languages[] = {
    {1029, "cs_CZ", FontSetLatin, 1, "WINDOWS-1250//TRANSLIT"},
    {1031, "de_DE", FontSetLatin, 3, "WINDOWS-1252//TRANSLIT"},
    {1033, "en_US", FontSetLatin, 1, "WINDOWS-1252//TRANSLIT"},
    {1036, "fr_FR", FontSetLatin, 3, "WINDOWS-1252//TRANSLIT"},
    {1040, "it_IT", FontSetLatin, 1, "WINDOWS-1252//TRANSLIT"},
    {1049, "ru_RU", FontSetCyrillic, 2, "WINDOWS-1251//TRANSLIT"},
};

// The messages locale only: numbers keep their format whatever the language.
// Machines often lack the named locale; then the neutral UTF-8 locale serves, and
// LANGUAGE (honoured whenever the messages locale is not plain "C") picks the
// catalogue, installed under the language's two letters.
bool SetMessagesLocale(const char* name) {
    static const char* const Suffixes[] = {".UTF-8", ".utf8", ""};
    bool found = false;
    for (const char* suffix : Suffixes) {
        char full[64];
        snprintf(full, sizeof full, "%s%s", name, suffix);
        if (setlocale(LC_MESSAGES, full)) {
            found = true;
            break;
        }
    }
    if (!found && !setlocale(LC_MESSAGES, "C.UTF-8") && !setlocale(LC_MESSAGES, "C.utf8")) return false;
    char language[8];
    snprintf(language, sizeof language, "%.2s", name);
    return setenv("LANGUAGE", language, 1) == 0;
}
}  // namespace

bool SetLanguage(int languageId) {
    const TLanguage* lang = nullptr;
    for (const TLanguage& l : Languages)
        if (l.id == languageId) lang = &l;
    // The font selection is reset first; an unknown id changes nothing else.
    LanguageFontSet = FontSetLatin;
    if (!lang) return false;
    LanguageFontSet = lang->fontSet;
    LanguageTextVariant = lang->textVariant;
    bool translated = lang->id != 1033 && SetMessagesLocale(lang->locale) &&
                      CatalogueUsable(TextDomainDir, lang->locale, TextDomainName);
    bindtextdomain(TextDomainName, TextDomainDir);
    bind_textdomain_codeset(TextDomainName, lang->codeset);
    if (translated) {
        textdomain(TextDomainName);
    } else {
        setlocale(LC_MESSAGES, "C");
        textdomain("messages");  // untranslated
    }
    LanguageId = lang->id;
    snprintf(LanguageLocale, sizeof LanguageLocale, "%s", lang->locale);
    return true;
}

// ---- brightness ----

int SetBrightness(int level, int query) {
    if (level < 1) level = 1;
    if (level > 1000) level = 1000;
    if (query) return 0;
    BrightnessSetting.level = level;
    return level * 980 / 1000 + 20;
}

void FixBrightness() {
    if (BrightnessSetting.level <= 0) BrightnessSetting.level = 1000;
}

// ---- display capabilities ----

void SetDisplayCapabilities() {
    const int type = DemoSetting.marker == DemoMarkerValue ? DemoSetting.modelCode : ConfigManager.GetDeviceType();
    int caps;
    switch (type) {
        case DeviceEfis:
            caps = (DeviceInfo.options & 2) ? 31 : 12;
            DisplayModel = DeviceEfis;
            break;
        case DeviceEms:
        case DeviceEms2:
            caps = (DeviceInfo.options & 1) ? 31 : 3;
            DisplayModel = DeviceEms;
            break;
        default:
            caps = 31;
            DisplayModel = DeviceEfisEms;
            break;
    }
    if (DisplaySetting.screenWord & 0x100) caps |= 0x10;
    if (caps & 4) {
        if (DevicePort[1].flags & PortConnected) caps |= 0x40;  // GPS
        if (DevicePort[3].flags & PortConnected) caps |= 0x80;  // SL30 navigation
    }
    if (DeviceInfoExt.features & 0x200) caps |= 0x100;
    LayoutCaps = caps;
}
