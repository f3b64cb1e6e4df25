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
int DisplayModel = 29;

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
    int r = m->Store()->FetchItem(0x4065, static_cast<uint16_t>(row.Par));
    if (r < 0) return r;
    const uint8_t* s = m->m_Limit;
    uint8_t* v = static_cast<uint8_t*>(row.variable);
    for (int i = 0; i < form.words; ++i) PutWord(v, 4 * i, Word(s, form.stored[i]));
    v[4 * form.words] = s[36];
    return r;
}

int SaveLimit(CConfigManager* m, const TConfigEntry& row, const TLimitForm& form) {
    uint16_t par = static_cast<uint16_t>(row.Par);
    int r = FetchForUpdate(m, 0x4065, par, m->m_Limit, sizeof m->m_Limit);
    if (r < 0) return r;
    uint8_t* s = m->m_Limit;
    const uint8_t* v = static_cast<const uint8_t*>(row.variable);
    for (int i = 0; i < form.words; ++i) PutWord(s, form.stored[i], Word(v, 4 * i));
    s[36] = v[4 * form.words];
    SetLimitFlags(s);
    return m->Store()->StoreItem(0x4065, par);
}

int LoadLimitA(CConfigManager* m, const TConfigEntry& row) { return LoadLimit(m, row, LimitFormA); }
int SaveLimitA(CConfigManager* m, const TConfigEntry& row) { return SaveLimit(m, row, LimitFormA); }
int LoadLimitB(CConfigManager* m, const TConfigEntry& row) { return LoadLimit(m, row, LimitFormB); }
int SaveLimitB(CConfigManager* m, const TConfigEntry& row) { return SaveLimit(m, row, LimitFormB); }

// ---- statistics pair: stored (minimum, maximum) ----

int LoadStatPair(CConfigManager* m, const TConfigEntry& row) {
    int r = m->Store()->FetchItem(0x1000, static_cast<uint16_t>(row.Par));
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
    return m->Store()->StoreItem(0x1000, static_cast<uint16_t>(row.Par));
}

// ---- thermocouple assignment ----

// A number read from a file indexes the thermocouple lists only when it names one.
inline uint8_t ThermoNumber(int n) { return n >= 1 && n <= ThermoCount ? static_cast<uint8_t>(n) : 0; }
inline int32_t SlotPairs(int n) { return n < 0 ? 0 : n > ThermoSlots ? ThermoSlots : n; }

int LoadThermo(CConfigManager* m, const TConfigEntry& row) {
    int r = m->Store()->FetchItem(0x4010, 0);
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
    return m->Store()->StoreItem(0x4010, 0);
}

// ---- sensor setting ----

constexpr int32_t ListEgt = 257, ListCht = 256;

const TSensorField SensorFields[] = {
    {0x200, 512, &TEngineGaugeConfig::oilPressType, &TEngineGaugeConfig::oilPressUsed},
    {0x201, 513, &TEngineGaugeConfig::mapType, &TEngineGaugeConfig::mapUsed},
    {0x202, 514, &TEngineGaugeConfig::fuelPressType, &TEngineGaugeConfig::fuelPressUsed},
    {0x600, 1537, &TEngineGaugeConfig::iatType, &TEngineGaugeConfig::iatUsed},
    {0x601, 1537, &TEngineGaugeConfig::oatType, &TEngineGaugeConfig::oatUsed},
    {0x602, 1539, &TEngineGaugeConfig::waterChtType, &TEngineGaugeConfig::waterChtUsed},
    {0x603, 1539, &TEngineGaugeConfig::oilTempType, &TEngineGaugeConfig::oilTempUsed},
    {0x604, 1539, &TEngineGaugeConfig::waterAuxType, &TEngineGaugeConfig::waterAuxUsed},
    {0xC15, 3093, &TEngineGaugeConfig::tankType, &TEngineGaugeConfig::tankUsed},
    {0xC16, 3093, &TEngineGaugeConfig::rightTankType, &TEngineGaugeConfig::twoTanks},
    {0x400, 0, nullptr, &TEngineGaugeConfig::fuelFlowUsed},
    {0xB00, 0, nullptr, &TEngineGaugeConfig::rpmUsed},
    {0xB01, 0, nullptr, &TEngineGaugeConfig::rotorRpmUsed},
};

bool IsThermoChannel(uint32_t Par) { return Par >= 0x100 && Par < 0x100u + ThermoCount; }

int LoadSensor(CConfigManager* m, const TConfigEntry& row) {
    int r = m->Store()->FetchItem(0x4064, static_cast<uint16_t>(row.Par));
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
        return m->Store()->StoreItem(0x4064, par);
    }
    const TSensorField* f = FindSensorField(row.Par);
    if (!f) return m->Store()->StoreItem(0x4064, par);
    int r = FetchForUpdate(m, 0x4064, par, s, sizeof m->m_Sensor);
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
    return m->Store()->StoreItem(0x4064, par);
}

}  // namespace

const TSensorField* FindSensorField(uint32_t channel) {
    for (const TSensorField& f : SensorFields)
        if (f.channel == channel) return &f;
    return nullptr;
}

int ThermocoupleChannel(int n) { return n >= 1 && n <= ThermoCount ? 0x100 + n - 1 : 0; }

// ---- the entry table ----

#define PLAIN(ssid, par, var) {ssid, par, &(var), sizeof(var), nullptr, nullptr}
#define CONV(ssid, par, var, load, save) {ssid, par, &(var), sizeof(var), load, save}
#define LIMIT_A(par, var) CONV(0x4065, par, var, LoadLimitA, SaveLimitA)
#define LIMIT_B(par, var) CONV(0x4065, par, var, LoadLimitB, SaveLimitB)
#define SENSOR(par) CONV(0x4064, par, EngineGaugeConfig, LoadSensor, SaveSensor)
#define STAT(par, var) CONV(0x1000, par, var, LoadStatPair, SaveStatPair)

const TConfigEntry ConfigEntryTable[ConfigEntryRows + 1] = {
    PLAIN(0x4001, 0, UnitsSetting),
    PLAIN(0x4002, 0, AirspeedLimits),
    PLAIN(0x4003, 0, DemoSetting),
    PLAIN(0x4004, 0, LanguageSetting),
    PLAIN(0x400F, 0, AircraftIdSetting),
    PLAIN(0x400E, 0x900, SupplyNameSetting[0]), PLAIN(0x400E, 0x901, SupplyNameSetting[1]),
    PLAIN(0x400E, 0x902, SupplyNameSetting[2]), PLAIN(0x400E, 0xA03, SupplyNameSetting[3]),
    PLAIN(0x400E, 0xA04, SupplyNameSetting[4]), PLAIN(0x400E, 0xA05, SupplyNameSetting[5]),
    LIMIT_A(0xB00, LimitRpm), LIMIT_A(0xB01, LimitRotorRpm), LIMIT_A(0x201, LimitMap),
    LIMIT_A(0x200, LimitOilPress), LIMIT_A(0x603, LimitOilTemp), LIMIT_A(0x602, LimitWaterCht),
    LIMIT_A(0x604, LimitWaterAux),
    LIMIT_B(0x400, LimitFuelFlow), LIMIT_B(0x202, LimitFuelPress), LIMIT_B(0x100, LimitEgt),
    LIMIT_B(0x101, LimitCht), LIMIT_B(0x401, LimitTankLeft), LIMIT_B(0x402, LimitTankRight),
    PLAIN(0x4065, 0x900, SupplyLimit[0]), PLAIN(0x4065, 0xA03, SupplyLimit[3]),
    PLAIN(0x4065, 0x901, SupplyLimit[1]), PLAIN(0x4065, 0xA04, SupplyLimit[4]),
    PLAIN(0x4065, 0x902, SupplyLimit[2]), PLAIN(0x4065, 0xA05, SupplyLimit[5]),
    PLAIN(0x4018, 1, DevicePort[0]), PLAIN(0x4018, 2, DevicePort[1]), PLAIN(0x4018, 3, DevicePort[2]),
    PLAIN(0x4018, 4, DevicePort[3]), PLAIN(0x4018, 6, DevicePort[5]), PLAIN(0x4018, 5, DevicePort[4]),
    PLAIN(0x4018, 7, DevicePort[6]), PLAIN(0x4018, 8, DevicePort[7]), PLAIN(0x4018, 9, DevicePort[8]),
    PLAIN(0x4017, 0, CompassSetting),
    CONV(0x4010, 0, EngineGaugeConfig, LoadThermo, SaveThermo),
    SENSOR(0x100), SENSOR(0x101), SENSOR(0x102), SENSOR(0x103), SENSOR(0x104), SENSOR(0x105),
    SENSOR(0x106), SENSOR(0x107), SENSOR(0x108), SENSOR(0x109), SENSOR(0x10A), SENSOR(0x10B),
    SENSOR(0x603), SENSOR(0x602), SENSOR(0x604), SENSOR(0x200), SENSOR(0x201), SENSOR(0x202),
    SENSOR(0x400), SENSOR(0xC15), SENSOR(0xC16), SENSOR(0x601), SENSOR(0x600), SENSOR(0xB00),
    SENSOR(0xB01),
    PLAIN(0x4011, 0, TankSetting[0]), PLAIN(0x4011, 1, TankSetting[1]),
    PLAIN(0x4013, 0, FuelFlowSetting),
    PLAIN(0x4014, 0, RpmSensorSetting[0]), PLAIN(0x4014, 1, RpmSensorSetting[1]),
    PLAIN(0x4016, 0, MiscSetting[0]), PLAIN(0x4016, 1, MiscSetting[1]), PLAIN(0x4016, 2, MiscSetting[2]),
    PLAIN(0x4016, 3, MiscSetting[3]), PLAIN(0x4016, 4, MiscSetting[4]),
    PLAIN(0x4019, 0, DataSharingSetting[0]), PLAIN(0x4019, 1, DataSharingSetting[1]),
    PLAIN(0x401B, 0, AutopilotSetting),
    PLAIN(0x401C, 0, ServoSetting[0]), PLAIN(0x401C, 1, ServoSetting[1]),
    PLAIN(0x4020, 0, VfrCodeSetting),
    PLAIN(0x4021, 0, PasswordSetting),
    PLAIN(0x401D, 0, FreqStepSetting),
    PLAIN(0x401E, 0, FreqMemorySetting[0]), PLAIN(0x401E, 1, FreqMemorySetting[1]),
    PLAIN(0x401E, 2, FreqMemorySetting[2]), PLAIN(0x401E, 3, FreqMemorySetting[3]),
    PLAIN(0x401E, 4, FreqMemorySetting[4]), PLAIN(0x401E, 5, FreqMemorySetting[5]),
    PLAIN(0x401E, 6, FreqMemorySetting[6]), PLAIN(0x401E, 7, FreqMemorySetting[7]),
    PLAIN(0x401E, 8, FreqMemorySetting[8]), PLAIN(0x401E, 9, FreqMemorySetting[9]),
    PLAIN(0x401F, 0, GyroSetting),
    STAT(0x300, FlightStatistics.altitude), STAT(0xF00, FlightStatistics.speed),
    STAT(0xF02, FlightStatistics.verticalSpeed), STAT(0x80B, FlightStatistics.acceleration),
    STAT(0xB00, EngineStatistics.rpm), STAT(0x201, EngineStatistics.map), STAT(0xB01, EngineStatistics.rpm2),
    STAT(0x603, EngineStatistics.oilTemp), STAT(0x200, EngineStatistics.oilPress),
    STAT(0x600, EngineStatistics.iat), STAT(0x601, EngineStatistics.oat),
    STAT(0x202, EngineStatistics.fuelPress), STAT(0x400, EngineStatistics.fuelFlow),
    PLAIN(0x2006, 0, QnhSetting),
    PLAIN(0x2007, 0, ViewSetting),
    PLAIN(0x2008, 0, BrightnessSetting),
    PLAIN(0x2009, 0, DisplaySetting),
    PLAIN(0x200C, 0, CommRuntime),
    PLAIN(0x200D, 0, XpdrRuntime),
    PLAIN(0x200B, 0, AutopilotRuntime),
    PLAIN(0x3000, 0, ChecklistHeader),
    PLAIN(0x5000, 0xFA, CalibSetting),
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
            case 0x1000: bind(row->SSID, row->Par, m_Stat, sizeof m_Stat); break;
            case 0x4010: bind(row->SSID, row->Par, m_Thermo, sizeof m_Thermo); break;
            case 0x4064: bind(row->SSID, row->Par, m_Sensor, sizeof m_Sensor); break;
            case 0x4065: bind(row->SSID, row->Par, m_Limit, sizeof m_Limit); break;
            default: break;
        }
    }
    for (int n = 1; n <= ThermoCount; ++n) bind(0x1000, ThermocoupleChannel(n), m_Stat, sizeof m_Stat);
    bind(0x7001, 0, &DeviceInfo, sizeof DeviceInfo);
    bind(0x7003, 0, &DeviceInfoExt, sizeof DeviceInfoExt);
    for (int list = 0; list < ChecklistCount; ++list)
        for (int line = 0; line < ChecklistLines; ++line)
            bind(0x3001 + list, line, ChecklistTable[list][line], ChecklistLineSize);
    for (int i = 0; i < 2; ++i) {
        bind(0x6002, i, &ApCommand2[i], sizeof ApCommand2[i]);
        bind(0x6003, i, &ApCommand3[i], sizeof ApCommand3[i]);
        bind(0x6004, i, &ApCommand4[i], sizeof ApCommand4[i]);
    }
    bind(0x6005, 0, &ApCommand5, sizeof ApCommand5);
    bind(0x6006, 0, &ServoProcess, sizeof ServoProcess);
    bind(0x6007, 0, &GyroProcess, sizeof GyroProcess);
    return -failures;
}

// The first-group slots' thermocouple statistics: two words per thermocouple.
int CConfigManager::LoadThermoStatistics() {
    int result = 0;
    for (int i = 0; i < ThermoSlots; ++i) {
        int channel = ThermocoupleChannel(EngineGaugeConfig.egt[i].thermocouple);
        if (!channel) continue;
        int r = m_Store->FetchItem(0x1000, static_cast<uint16_t>(channel));
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
        int r = m_Store->StoreItem(0x1000, static_cast<uint16_t>(channel));
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
        if ((row->SSID & 0xF000) == 0x4000) continue;  // setup values reach the store only through SetSS
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
inline bool DirectItem(uint16_t SSID) { return (SSID & 0xF000) == 0x3000 || (SSID & 0xF000) == 0x6000; }

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

int CConfigManager::ReadDeviceInfo() { return m_Store ? m_Store->FetchItem(0x7001, 0) : -1; }

int CConfigManager::ReadDeviceInfoExt() { return m_Store ? m_Store->FetchItem(0x7003, 0) : -1; }

int CConfigManager::GetDeviceType() const { return DeviceInfo.deviceType == 31 ? 30 : DeviceInfo.deviceType; }

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
    else if ((SSID & 0xF000) != 0x6000)
        SettingsError = 1;
    return r;
}

int SetSS(uint16_t SSID, uint16_t Par) {
    int r = Retried(ConfigManager, 4, -2, [&](int) { return ConfigManager.SaveEntry(SSID, Par); });
    if (r != 0 && (SSID & 0xF000) != 0x6000) SettingsError = 1;
    return r;
}

uint32_t DamagedSettingKinds() { return ConfigManager.Store() ? ConfigManager.Store()->DamagedKinds() : 0; }

void AcceptDamagedSettings() {
    if (ConfigManager.Store()) ConfigManager.Store()->AcceptDamaged();
}

int SetThermocoupleSS() {
    int result = SetSS(0x4010, 0);
    for (int n = 1; n <= ThermoCount; ++n) {
        int r = SetSS(0x4064, static_cast<uint16_t>(ThermocoupleChannel(n)));
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
        case 27:
            caps = (DeviceInfo.options & 2) ? 31 : 12;
            DisplayModel = 27;
            break;
        case 30:
        case 34:
            caps = (DeviceInfo.options & 1) ? 31 : 3;
            DisplayModel = 30;
            break;
        default:
            caps = 31;
            DisplayModel = 29;
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
