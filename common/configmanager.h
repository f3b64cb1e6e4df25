// The configuration manager: owns the settings store, binds the program's setting records
// to their keys, converts the settings whose stored form differs, and offers the program-wide
// entry points LoadSetting, SaveSetting, GetSS, SetSS and the language switch.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "configsetting.h"
#include "settingvars.h"

class CConfigManager;
struct TConfigEntry;

// Moves one converted setting between the store and its program variable.
typedef int (*TConfigEntryFn)(CConfigManager* manager, const TConfigEntry& row);

struct TConfigEntry {
    uint32_t SSID;
    uint32_t Par;
    void* variable;
    uint32_t size;
    TConfigEntryFn load;  // both null: the variable is bound as it stands
    TConfigEntryFn save;
};

constexpr int ConfigEntryRows = 117;  // the passwords (0x4021) bound beside the 116 of the settings
constexpr int SettingDefaultRows = 293;
extern const TConfigEntry ConfigEntryTable[ConfigEntryRows + 1];      // ended by SSID 0
extern const TSettingDefault SettingDefaultTable[SettingDefaultRows + 1];  // ended by SSID 0

// Kind masks of LoadSetting / SaveSetting: bit k - 1 for SSID kind k.
enum : uint32_t {
    KindStatistic = 1, KindRuntime = 2, KindChecklist = 4, KindSetup = 8, KindCalib = 16, KindAll = 31
};
inline uint32_t KindBitOf(uint32_t SSID) {
    uint32_t kind = (SSID >> 12) & 0xF;
    return kind >= 1 && kind <= 5 ? 1u << (kind - 1) : 0;
}

// Channel of a thermocouple number: 1..12 give 0x100..0x10B, anything else 0.
int ThermocoupleChannel(int n);

class CConfigManager {
public:
    CConfigManager();
    ~CConfigManager();
    CConfigManager(const CConfigManager&) = delete;
    CConfigManager& operator=(const CConfigManager&) = delete;

    int Create();  // 0, or -1 when the store cannot be allocated
    void Release();
    int Load(const char* prefix, uint32_t kindMask, int reload);
    int Save(const char* prefix, uint32_t kindMask);
    int LoadEntry(uint16_t SSID, uint16_t Par);  // -1 no store, -2 no entry, else the store's answer
    int SaveEntry(uint16_t SSID, uint16_t Par);
    int ReadDeviceInfo();
    int ReadDeviceInfoExt();
    int GetDeviceType() const;  // 31 answered as 30
    int GetHwVersion() const;
    int ProcessChanges();

    TConfigSetting* Store() const { return m_Store.get(); }
    // The pause between retries (250 ms); tests replace it.
    void SetSleep(std::function<void(uint32_t ms)> sleep) { m_Sleep = std::move(sleep); }
    void Sleep(uint32_t ms) const { m_Sleep(ms); }

    // Scratch records in which the converted settings are stored (bound to the store).
    uint8_t m_Limit[LimitRecordSize] = {};  // 0x4065
    uint8_t m_Sensor[2] = {};               // 0x4064: characteristic, type code
    uint8_t m_Stat[8] = {};                 // 0x1000: two i32
    uint8_t m_Thermo[48] = {};              // 0x4010
    const TConfigEntry* m_Entries;

private:
    int RegisterEntries();
    const TConfigEntry* FindEntry(uint16_t SSID, uint16_t Par) const;
    int LoadThermoStatistics();
    int SaveThermoStatistics();

    std::unique_ptr<TConfigSetting> m_Store;
    std::function<void(uint32_t)> m_Sleep;
};

extern CConfigManager ConfigManager;

// The engine-gauge fields that the sensor setting (0x4064) of a channel binds.
struct TSensorField {
    uint16_t channel;
    int32_t list;                          // catalogue list; 0: the characteristic byte is kept as it stands
    int32_t TEngineGaugeConfig::*type;     // position in the list
    int32_t TEngineGaugeConfig::*used;
};
// Null for a channel without such fields (thermocouples among them).
const TSensorField* FindSensorField(uint32_t channel);

// ---- program-wide entry points ----
int LoadSetting(const char* prefix, uint32_t kindMask, int reload);
int SaveSetting(const char* prefix, uint32_t kindMask);  // 0 or -1
int GetSS(uint16_t SSID, uint16_t Par);
int SetSS(uint16_t SSID, uint16_t Par);
int SetThermocoupleSS();
// Kinds (kind mask) whose .dat and .bck were both lost, one of them damaged, at the last
// load: their files are kept, and SaveSetting leaves them unwritten, until
// AcceptDamagedSettings. 0 without a store.
uint32_t DamagedSettingKinds();
void AcceptDamagedSettings();  // the user has seen the loss: later saves may write the files

extern int SettingsError;             // raised by a failed load or setting access; the error box shows it
extern int SettingsBusy;              // set while the settings are loaded or saved
extern uint32_t SettingDefaultsCount;  // GetSS answers summed: 1 for each default read

// ---- language ----
enum { FontSetLatin = 0, FontSetCyrillic = 1 };
constexpr const char* TextDomainName = "skyvane1";
constexpr const char* TextDomainDir = "./locale";
extern int LanguageId;
constexpr int LanguageRussian = 1049;  // the Cyrillic fonts
constexpr int LanguageCzech = 1029;    // the Windows-1250 twins of the Latin fonts
extern char LanguageLocale[32];
extern int LanguageFontSet;      // FontSetLatin or FontSetCyrillic
extern int LanguageTextVariant;  // 1 standard, 2 Cyrillic, 3 German and French
bool SetLanguage(int languageId);

// ---- brightness ----
int SetBrightness(int level, int query);  // output duty in tenths of a percent, 0 for a query
void FixBrightness();

// ---- display capabilities ----
extern int LayoutCaps;    // 0x01 engine page, 0x04 flight page, 0x10 engine strip, 0x40 GPS strip,
                          // 0x80 NAV strip, 0x100 eight soft-key captions
extern int LayoutMask;    // low 6 bits of the runtime display word
extern int DisplayModel;  // 27, 30 or 29
void SetDisplayCapabilities();
