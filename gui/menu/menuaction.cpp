// The menu action dispatcher: a choice on the page for the items whose meaning depends
// on it, then a choice on the item for the items that many pages share.
#include "menuaction.h"

#include <libintl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>
#include <variant>

#include "aboutbox.h"
#include "averdata.h"
#include "bugeditors.h"
#include "chandesc.h"
#include "checklist.h"
#include "configfile.h"
#include "configmanager.h"
#include "editors.h"
#include "entertainer.h"
#include "gui_terr/terrain_view.h"
#include "hkmeasure.h"
#include "hkutils.h"
#include "infopages.h"
#include "initialsetting.h"
#include "keyboard.h"
#include "keyglue.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "limiteditors.h"
#include "menu.h"
#include "overlays.h"
#include "screenkeys.h"
#include "selectdir.h"
#include "settingvars.h"
#include "setupentry.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "units.h"
#include "tankcalib.h"
#include "wizards.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

int LimitChannel = 0;
int ThermoSlotChoice = -1;

namespace {

// Every key bound to nothing, then the given ones.
void HoldKeys() {
    Keyboard.Clear();
    Keyboard.BindNone(AllKeys);
}

// A box that stays until its own key closes it: the soft-key time-out must not take
// that key away while the box shows.
void HoldKeysWhileShown() {
    HoldKeys();
    SoftKeyHold = 1;
}

void Notice(const char* text) { GuiMessageBox(gettext(text), 0, KeySoft4, LabelConfirm, DismissMessage, 0); }
void Failure(const char* text) { GuiMessageBox(gettext(text), 1, KeySoft4, LabelConfirm, DismissMessage, 0); }
// Result of a data-port dialog: '1' "OK" dismisses; failures in the warning style.
void DialogResult(const char* text, bool failed) {
    GuiMessageBox(gettext(text), failed ? 1 : 0, KeyRightPush, LabelOk, DismissMessage, 0);
}

// An averaged channel's value; false when it has none.
bool ReadAveraged(uint32_t channel, int32_t* value) {
    return AverReader && AverReader->GetValue(channel, *value) == 0 && *value > -9999;
}

bool FileExists(const std::string& path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// ---- units ----

struct TUnitPreset {
    int item;
    int16_t airspeed, altitude, temperature, fuel, baro, verticalSpeed, enginePress, manifoldPress, distance;
};
const TUnitPreset UnitPresets[] = {
    {ItemMetric, 2, 1, 1, 0, 1, 1, 1, 1, 0},  // Metric
    {ItemImperialUk, 0, 0, 1, 2, 1, 0, 1, 1, 1},  // Imperial (UK)
    {ItemImperialUs, 0, 0, 0, 1, 0, 0, 0, 0, 1},  // Imperial (US)
};

// One unit item: the field and its value.
struct TUnitItem {
    int item;
    int16_t TUnitsSetting::*field;
    int16_t value;
};
const TUnitItem UnitItems[] = {
    {ItemKmh, &TUnitsSetting::airspeed, UnitKmh},
    {ItemKts, &TUnitsSetting::airspeed, UnitKnots},
    {ItemMph, &TUnitsSetting::airspeed, UnitMph},
    {ItemFeet, &TUnitsSetting::altitude, UnitFeet},
    {ItemMetre, &TUnitsSetting::altitude, UnitMetres},
    {ItemFahrenheit, &TUnitsSetting::temperature, UnitFahrenheit},
    {ItemCelsius, &TUnitsSetting::temperature, UnitCelsius},
    {ItemLitre, &TUnitsSetting::fuel, UnitLitre},
    {ItemGallonsUs, &TUnitsSetting::fuel, UnitUsGallon},
    {ItemGallonsUk, &TUnitsSetting::fuel, UnitUkGallon},
    {ItemBaroInHg, &TUnitsSetting::baro, UnitInHg},
    {ItemBaroMbar, &TUnitsSetting::baro, UnitMbar},
    {ItemBaroTorr, &TUnitsSetting::baro, UnitTorr},
    {ItemManInHg, &TUnitsSetting::manifoldPress, UnitInHg},
    {ItemManMbar, &TUnitsSetting::manifoldPress, UnitMbar},
    {ItemManTorr, &TUnitsSetting::manifoldPress, UnitTorr},
    {ItemFtMin, &TUnitsSetting::verticalSpeed, UnitFeetPerMin},
    {ItemMetresPerSecond, &TUnitsSetting::verticalSpeed, UnitMetresPerSec},
    {ItemVsKts, &TUnitsSetting::verticalSpeed, UnitVsKnots},
    {ItemBar, &TUnitsSetting::enginePress, UnitBar},
    {ItemPsi, &TUnitsSetting::enginePress, UnitPsi},
    {ItemKgCm2, &TUnitsSetting::enginePress, UnitKpCm2},
    {ItemKpa, &TUnitsSetting::enginePress, UnitKPa},
    {ItemKilometers, &TUnitsSetting::distance, UnitKm},
    {ItemNauticalMiles, &TUnitsSetting::distance, UnitNm},
    {ItemStatuteMiles, &TUnitsSetting::distance, UnitSm},
};

void StoreUnits() {
    SetSS(SsUnits, 0);
    InitialSetting();
}

bool UnitAction(int item) {
    for (const TUnitPreset& p : UnitPresets) {
        if (p.item != item) continue;
        TUnitsSetting& u = UnitsSetting;
        u.airspeed = p.airspeed;
        u.altitude = p.altitude;
        u.temperature = p.temperature;
        u.fuel = p.fuel;
        u.baro = p.baro;
        u.verticalSpeed = p.verticalSpeed;
        u.enginePress = p.enginePress;
        u.manifoldPress = p.manifoldPress;
        u.distance = p.distance;
        StoreUnits();
        return true;
    }
    for (const TUnitItem& u : UnitItems) {
        if (u.item != item) continue;
        UnitsSetting.*u.field = u.value;
        StoreUnits();
        return true;
    }
    return false;
}

// ---- device ports ----

TDevicePort& Port(int subId) { return DevicePort[subId - 1]; }
bool Connected(const TDevicePort& p) { return (p.flags & PortConnected) != 0; }

void StorePort(int subId) { SetSS(SsDevicePort, static_cast<uint16_t>(subId)); }

void Disconnect(int subId) {
    Port(subId).flags = static_cast<uint8_t>(Port(subId).flags & ~PortConnected);
    StorePort(subId);
    SetDisplayCapabilities();
}

// Items shared by the port pages: 48 disconnect, 104 COM 1, 105 COM 2.
bool PortItem(int subId, int item) {
    switch (item) {
        case ItemNotConnected: Disconnect(subId); return true;
        case ItemCom1: AssignComPort(1, subId); return true;
        case ItemCom2: AssignComPort(2, subId); return true;
        default: return false;
    }
}

bool BaudItem(int subId, int item) {
    static const int32_t Bauds[] = {115200, 57600, 38400, 19200, 9600, 4800};
    if (item < ItemBaud115200 || item > ItemBaud4800) return false;
    Port(subId).baud = Bauds[item - ItemBaud115200];
    StorePort(subId);
    return true;
}

void SetProtocol(int subId, int protocol) {
    Port(subId).protocol = static_cast<uint8_t>(protocol);
    StorePort(subId);
}

// ---- sensors ----

struct TSensorPage {
    int page;
    uint16_t channel;
};
const TSensorPage SensorPages[] = {
    {PageRpmInput, echRpmEng}, {PageManifoldSensor, echPressMap}, {PageRotorRpmInput, echRpmAux},
    {PageOilPressureSensor, echPressOil}, {PageOilTemperatureSensor, echTempOil}, {PageWaterChtSensor, echTempWater},
    {PageWaterAuxSensor, echTempAux1}, {PageLeftTankSensor, echInternalFuelLev1Raw}, {PageRightTankSensor, echInternalFuelLev2Raw},
    {PageFuelPressureSensor, echPressFuel}, {PageFuelFlowInput, echFuelFlow}, {PageIatSensor, echTempIAT},
    {PageOatSensor, echTempOAT},
};

// Position of a part name in a catalogue list, matched against the item's text.
int CatalogueIndex(int32_t list, int item) {
    const TMenuItem* row = FindItem(item);
    if (!row) return -1;
    const char* text = MenuTextOf(row->textId);
    for (int n = 0; n < SensorTypeRows; ++n) {
        const char* name = SensorTypeName(list, n, 27);
        if (!name || !*name) break;
        const size_t len = strlen(name);
        if (strncmp(text, name, len) == 0 && (text[len] == 0 || text[len] == ' ')) return n;
    }
    return -1;
}

bool SensorItem(int page, int item) {
    for (const TSensorPage& p : SensorPages) {
        if (p.page != page) continue;
        const TSensorField* f = FindSensorField(p.channel);
        if (!f || item == ItemBack) return true;
        TEngineGaugeConfig& c = EngineGaugeConfig;
        if (item == ItemNotConnected) {
            c.*f->used = 0;
        } else if (!f->type) {
            if (item != ItemConnected) return true;
            c.*f->used = 1;
        } else {
            const int n = CatalogueIndex(f->list, item);
            if (n < 0) return true;
            c.*f->type = n;
            c.*f->used = 1;
        }
        SetSS(SsSensor, p.channel);
        InitialSetting();
        return true;
    }
    return false;
}

// ---- the configuration record (0x4010) ----

void StoreConfiguration() {
    SetSS(SsThermoAssign, 0);
    InitialSetting();
}

TThermoSlot* ChosenThermoSlot() {
    if (ThermoSlotChoice < 0 || ThermoSlotChoice >= 2 * ThermoSlots) return nullptr;
    return ThermoSlotChoice < ThermoSlots ? &EngineGaugeConfig.egt[ThermoSlotChoice]
                                          : &EngineGaugeConfig.cht[ThermoSlotChoice - ThermoSlots];
}

// The slots that a larger cylinder count shows and that have no thermocouple take theirs
// from the default layout, unless another slot has it, and with it its stored sensor.
void ConnectShownSlots(int from, int to) {
    TEngineGaugeConfig& c = EngineGaugeConfig;
    auto used = [&c](int n) {
        for (int i = 0; i < ThermoSlots; ++i)
            if (c.egt[i].thermocouple == n || c.cht[i].thermocouple == n) return true;
        return false;
    };
    for (int cht = 0; cht < 2; ++cht)
        for (int i = from < 0 ? 0 : from; i < to && i < ThermoSlots; ++i) {
            TThermoSlot& slot = cht ? c.cht[i] : c.egt[i];
            const uint8_t n = SlotThermocouple(cht, i);
            if (slot.thermocouple || used(n)) continue;
            slot.thermocouple = n;
            GetSS(SsSensor, static_cast<uint16_t>(ThermocoupleChannel(n)));
        }
}

void ThermoChanged() {
    SetThermocoupleSS();
    InitialSetting();
}

bool ThermoItem(int page, int item) {
    if (page >= PageThermoSlotsSix && page <= PageThermoSlotsTwo) {
        if (item >= ItemEgt1 && item <= ItemCht6) {
            ThermoSlotChoice = item - ItemEgt1;
            MainMenu.OpenPage(item <= ItemEgt6 ? PageThermoChannelK : PageThermoChannelJ);
        }
        if (item == ItemBack) {  // back to the sensors
            ThermocouplePageShown = 0;
            SensorsPageShown = 1;
        }
        return true;
    }
    TThermoSlot* slot = ChosenThermoSlot();
    if (page == PageThermoChannelJ || page == PageThermoChannelK) {
        if (item == ItemNotConnected && slot) {
            slot->thermocouple = 0;
            ThermoChanged();
        }
        return true;
    }
    if (page == PageThermoInput) {
        if (item >= ItemThermocoupleNo1 && item <= ItemThermocoupleNo12 && slot) {
            slot->thermocouple = static_cast<uint8_t>(item - ItemThermocoupleNo1 + 1);
            ThermoChanged();
        }
        return true;
    }
    if (page == PageTypeKSensors || page == PageTypeJSensors) {
        // EGT slots use the type K list (257), CHT slots the type J list (256).
        const int32_t list = page == PageTypeKSensors ? echThermo1 : echThermo0;
        const int n = CatalogueIndex(list, item);
        if (n >= 0 && slot) {
            slot->typeIndex = static_cast<uint8_t>(n);
            ThermoChanged();
        }
        return true;
    }
    return false;
}

// Pages whose items each set one field of the engine configuration: item first + i sets
// values[i], -1 an item that sets nothing.
struct TFieldPage {
    int page, first, last;
    std::variant<int32_t TEngineGaugeConfig::*, uint8_t TEngineGaugeConfig::*> field;
    int8_t values[3];
};
constexpr TFieldPage FieldPages[] = {
    {PageCylinderCount, ItemTwoCylinders, ItemSixCylinders, &TEngineGaugeConfig::cylinders, {2, 4, 6}},
    {PageDimmerVoltage, ItemMax5V, ItemMax24V, &TEngineGaugeConfig::dimmerControl, {2, 3, 4}},  // extern max 5, 12, 24 V
    {PageDimmerSource, ItemDimmerManual, ItemDimmerAuto, &TEngineGaugeConfig::dimmerControl, {0, -1, 1}},  // external: a page
    {PageBacklightColour, ItemGreen, ItemOrange, &TEngineGaugeConfig::backlightColour, {0, 1, 2}},
    {PageWaterChtLabel, ItemWaterLabel, ItemChtLabel, &TEngineGaugeConfig::waterChtLabel, {0, 1}},
    {PageMainSwitch, ItemConnected, ItemNotConnected, &TEngineGaugeConfig::mainSwitch, {1, 0}},
};
constexpr bool FieldPagesFit() {
    for (const TFieldPage& p : FieldPages)
        if (p.first > p.last || p.last - p.first >= static_cast<int>(std::size(p.values))) return false;
    return true;
}
static_assert(FieldPagesFit(), "a field page with more items than values");

bool ConfigurationItem(int page, int item) {
    TEngineGaugeConfig& c = EngineGaugeConfig;
    const int32_t cylinders = c.cylinders;
    for (const TFieldPage& p : FieldPages) {
        if (p.page != page) continue;
        const int value = item >= p.first && item <= p.last ? p.values[item - p.first] : -1;
        if (value >= 0) {
            std::visit([&](auto field) { c.*field = static_cast<std::remove_reference_t<decltype(c.*field)>>(value); }, p.field);
            ConnectShownSlots(cylinders, c.cylinders);
            StoreConfiguration();
        }
        return true;
    }
    auto input = [&](int32_t TEngineGaugeConfig::*field) {
        if (item == ItemNotConnected) c.*field = 0;
        else if (item == ItemInputHigh) c.*field = 1;
        else if (item == ItemInputLow) c.*field = 2;
        else return;
        StoreConfiguration();
    };
    switch (page) {
        case PageCanopyInput: input(&TEngineGaugeConfig::canopyInput); return true;
        case PageGearUpInput: input(&TEngineGaugeConfig::gearUpInput); return true;
        case PageGearDownInput: input(&TEngineGaugeConfig::gearDownInput); return true;
        case PageVoltageInputs:
        case PageCurrentInputs: {
            if (item < ItemVoltage1Yes || item > ItemCurrent3Label) return true;
            const int n = (item - ItemVoltage1Yes) / 3 % 3, what = (item - ItemVoltage1Yes) % 3;  // Yes, No, Label
            const bool volts = item <= ItemVoltage3Label;
            int32_t& mask = volts ? c.voltsMask : c.currentsMask;
            if (what == 2) {
                SupplyNameEditorOpen(volts ? echVolt1 + n : echCurr1 + n);
                return true;
            }
            mask = what == 0 ? (mask | (1 << n)) : (mask & ~(1 << n));
            StoreConfiguration();
            return true;
        }
        default: return false;
    }
}

// ---- the range-and-limits page ----

// Page 63's items: the channel and the limit page it opens.
struct TLimitItem {
    int item;
    int channel;
    int page;
};
const TLimitItem LimitItems[] = {
    {ItemLimitsRpm, echRpmEng, PageRpmLimits}, {ItemLimitsMap, echPressMap, PageManifoldLimits},
    {ItemLimitsRotorRpm, echRpmAux, PageRotorRpmLimits}, {ItemLimitsOilPressure, echPressOil, PageOilPressureLimits},
    {ItemLimitsOilTemperature, echTempOil, PageOilTemperatureLimits}, {ItemLimitsWaterCht, echTempWater, PageWaterChtLimits},
    {ItemLimitsWaterAux, echTempAux1, PageWaterAuxLimits}, {ItemLimitsLeftTank, echFuelLevel1, PageLeftTankLimits},
    {ItemLimitsRightTank, echFuelLevel2, PageRightTankLimits}, {ItemLimitsFuelPressure, echPressFuel, PageFuelPressureLimits},
    {ItemLimitsFuelFlow, echFuelFlow, PageFuelFlowLimits}, {ItemLimitsEgt, echThermo0, PageEgtLimits},
    {ItemLimitsCht, echThermo1, PageChtLimits}, {ItemLimitsVoltage1, echVolt1, PageVoltageLimits},
    {ItemLimitsCurrent1, echCurr1, PageCurrentLimits}, {ItemLimitsVoltage2, echVolt2, PageVoltageLimits},
    {ItemLimitsCurrent2, echCurr2, PageCurrentLimits}, {ItemLimitsVoltage3, echVolt3, PageVoltageLimits},
    {ItemLimitsCurrent3, echCurr3, PageCurrentLimits},
};

void TankNotUsedOk(int32_t) {
    const int page = LimitChannel == echFuelLevel1 ? PageLeftTankLimits : PageRightTankLimits;
    // The menu's keys first: giving the keys back resets the menu to the mode's page.
    Keyboard.Clear();
    CloseMessageBox();
    SetupMenuShown = 1;
    MainMenuKeys(-1);
    RangeLimitsShown = 1;
    MainMenu.OpenPage(PageEngineRangeLimits);
    MainMenu.OpenPage(page);
}

bool RangeLimitsItem(int item) {
    for (const TLimitItem& l : LimitItems) {
        if (l.item != item) continue;
        LimitChannel = l.channel;
        const bool tank = l.channel == echFuelLevel1 || l.channel == echFuelLevel2;
        const bool used = l.channel == echFuelLevel1 ? EngineGaugeConfig.tankUsed != 0 : EngineGaugeConfig.twoTanks != 0;
        if (tank && !used) {
            const char* text = l.channel == echFuelLevel1 ? gettext_noop("Left/Total tank is not used!") : gettext_noop("Right tank is not used!");
            GuiMessageBox(gettext(text), 1, KeyRightPush, LabelOk, TankNotUsedOk, 0);
            return true;
        }
        MainMenu.OpenPage(l.page);
        return true;
    }
    return false;
}

// The channel a limit page edits: the page names it, except the supply pages 77 and 78,
// which serve three channels each and take the one chosen on page 63.
int LimitPageChannel(int page) {
    if (page == PageVoltageLimits || page == PageCurrentLimits) {
        for (const TLimitItem& l : LimitItems)
            if (l.page == page && l.channel == LimitChannel) return LimitChannel;
        return 0;
    }
    for (const TLimitItem& l : LimitItems)
        if (l.page == page) return l.channel;
    return 0;
}

// Limit pages: "Range", "Alarm", "Warning", "Normal", "Alarm min", "Warning min".
bool LimitPageItem(int page, int item) {
    static const int Fields[] = {ItemLimitRange,    ItemLimitAlarm,    ItemLimitWarning,
                                 ItemLimitNormal,   ItemLimitAlarmMin, ItemLimitWarningMin};
    const int channel = LimitPageChannel(page);
    for (int field = 0; field < 6; ++field) {
        if (Fields[field] != item) continue;
        if (channel) LimitEditorOpen(channel, field);
        return true;
    }
    return false;
}

// ---- setup values ----

struct TValueItem {
    int item;
    int editor;
};
const TValueItem ValueItems[] = {
    {ItemUnusableTotalTank, SetupUnusableFuelLeft}, {ItemUnusableLeftTank, SetupUnusableFuelLeft},
    {ItemUnusableRightTank, SetupUnusableFuelRight}, {ItemKFactor, SetupKFactor},
    {ItemTimeOfAverageFlow, SetupFlowAverage}, {ItemRpmPulses, SetupRpmPulses},
    {ItemRpmRatio, SetupRpmRatio}, {ItemRotorPulses, SetupRotorPulses},
    {ItemRotorRatio, SetupRotorRatio},
};

// ---- fuel ----

void TankFinished(int tank, int ok) {
    TTankSetting& t = TankSetting[tank];
    if (ok) {
        t.calibrated = 1;
        SetSS(SsTank, static_cast<uint16_t>(tank));
    } else {
        t.calibrated = 0;
        GetSS(SsTank, static_cast<uint16_t>(tank));
    }
    MainMenu.Show(0);
    MainMenu.OpenPage(PageSetupInstallerEngine);
    MainMenuKeys(-1);
    MainMenu.OpenPage(ScreenType == 1 ? PageOtherEngine : PageOtherFlight);
    if (tank == 0 && EngineGaugeConfig.twoTanks) MainMenu.OpenPage(PageCalibTankChoice);
}
void LeftTankFinished(int ok) { TankFinished(0, ok); }
void RightTankFinished(int ok) { TankFinished(1, ok); }

void StartTankCalibration(int tank) {
    CloseMenuKeysAndBox();
    const char* title = tank == 1 ? gettext_noop("Right tank calibration")
                        : EngineGaugeConfig.twoTanks ? gettext_noop("Left tank calibration") : gettext_noop("Total tank calibration");
    const bool active = tank == 0 ? EngineGaugeConfig.tankType != 0 : EngineGaugeConfig.rightTankType != 0;
    TankCalibration.Setup(&TankSetting[tank], &(tank == 0 ? LimitTankLeft : LimitTankRight).range,
                          tank == 0 ? 3093 : 3094, active ? 1 : 0, gettext(title));
    TankCalibration.SetFinishCallback(tank == 0 ? LeftTankFinished : RightTankFinished);
    TankCalibration.Start();
}

// ---- checklists ----

struct TChecklistItem {
    int item;
    const char* title;
    int list;  // section 0x3001 + list
};
const TChecklistItem ChecklistItems[] = {
    {ItemPreflightCheck, gettext_noop("Preflight Checklist"), 0},
    {ItemBeforeStartEngine, gettext_noop("Before start engine Checklist"), 1},
    {ItemStartingEngine, gettext_noop("Start engine Checklist"), 2},
    {ItemEngineRunup, gettext_noop("Engine run up Checklist"), 3},
    {ItemBeforeTakeOff, gettext_noop("Before take off Checklist"), 4},
    {ItemLanding, gettext_noop("Landing Checklist"), 5},
    {ItemAfterLanding, gettext_noop("After landing Checklist"), 6},
    {ItemShutDown, gettext_noop("Shut down Checklist"), 7},
};

bool ChecklistItem(int item) {
    for (const TChecklistItem& c : ChecklistItems) {
        if (c.item != item) continue;
        CloseMenuKeysAndBox();
        OpenChecklistBox(c.list, gettext(c.title));
        HoldKeysWhileShown();
        Keyboard.Bind(KeyRightPush, LabelHide, MainMenuKeys, 0);
        return true;
    }
    return false;
}

// ---- dialogs ----

void OpenDialog(int mode, void (*callback)(int)) {
    CloseMenuKeysAndBox();
    SelectDirDialog.SetResultCallback(callback);
    SelectDirDialog.Open(mode, nullptr);
}

// Cancel closes the dialog as OK does: its keys must not outlive it.
bool DialogCancelled(int result) {
    if (result == 1) return false;
    Keyboard.Clear();
    CloseMessageBox();
    return true;
}

// The folder chosen in the dialog; false on Cancel, or with "Invalid file path" shown
// when the dialog gave none.
bool ChosenFolder(int result, std::string* dir) {
    if (DialogCancelled(result)) return false;
    const char* path = SelectDirDialog.GetPath();
    *dir = path ? path : "";
    if (!dir->empty()) return true;
    DialogResult(gettext_noop("Invalid file path"), true);
    return false;
}

// ---- demo ----

const int32_t DemoResetTimes[] = {30, 60, 120, 180, 240, 300, 600};

// The menu's keys first (they reset the menu to the mode's page), then the demo page.
void ShowDemoPage() {
    MainMenuKeys(-1);
    DrawDemoModeBox(0);
    DemoBoxShown = 1;
    MainMenu.OpenPage(PageDemoMode);
}

void DemoCommonEnding() {
    SetSS(SsDemo, 0);
    if (InDemoMode()) {
        DeviceID = DemoSetting.modelCode;
        ResetDemo(false);
    }
    ShowDemoPage();
    MainMenu.OpenPage(PageDemoDeviceType);
}

// ---- stage 1: the page's own items ----

bool PageAction(int page, int item) {
    switch (page) {
        case PageHeadingBugs:
            if (item == ItemBoreSight) {
                MainMenu.Show(0);
                Keyboard.Clear();
                BoreSightEditOpen = 1;
                Keyboard.BindNone(
                    KeySet<KeyRightPush, KeySoft1, KeySoft2, KeySoft4, KeyRightTurnRight, KeyRightTurnLeft>);
                Keyboard.Bind(KeySoft3, LabelCancel, BoreSightEditor, 0);
                Keyboard.Bind(KeyLeftPush, LabelSetWeight, BoreSightEditor, 1);
                Keyboard.Bind(KeyLeftTurnRight, 0, BoreSightEditor, 2);
                Keyboard.Bind(KeyLeftTurnLeft, 0, BoreSightEditor, 3);
                return true;
            }
            if (item == ItemAltBug || item == ItemIasBug) {
                BugEditorOpen(item == ItemAltBug ? 1 : 2);
                return true;
            }
            return false;
        case PageChecklistsBack:
        case PageChecklists: return ChecklistItem(item);
        case PageSetupUserFlight:
        case PageSetupInstallerFlight:
        case PageSetupUserEngine:
        case PageSetupInstallerEngine: {
            const bool flight = page == PageSetupUserFlight || page == PageSetupInstallerFlight;
            switch (item) {
                case ItemUnitsFlight: UnitsPageShown = 1; MainMenu.OpenPage(PageFlightUnitSystem); return true;
                case ItemUnitsEngine: UnitsPageShown = 1; MainMenu.OpenPage(PageEngineUnitSystem); return true;
                case ItemExternalDevices:
                    DevicesPageShown = 1;
                    MainMenu.OpenPage(flight ? PageDevicesFlight : PageDevicesEngine);
                    return true;
                case ItemEfisDataSharing:
                case ItemEmsDataSharing: DataSharingShown = 1; MainMenu.OpenPage(PageDataSharing); return true;
                case ItemRangeLimitsEngine: RangeLimitsShown = 1; MainMenu.OpenPage(PageEngineRangeLimits); return true;
                case ItemExportServiceLog: OpenDialog(0, ExportServiceLog); return true;
                case ItemSensorsFlight: AirTempSensorsShown = 1; MainMenu.OpenPage(PageSensorsFlight); return true;
                case ItemSensorsEngine: SensorsPageShown = 1; MainMenu.OpenPage(PageSensorsEngine); return true;
                case ItemOtherSettingCalib:
                    if (page == PageSetupUserEngine) {
                        AircraftPageShown = 2;
                        MainMenu.OpenPage(PageOtherBacklightEngine);
                    } else if (page == PageSetupInstallerEngine) {
                        AircraftPageShown = 1;
                        MainMenu.OpenPage(EngineGaugeConfig.tankUsed ? PageOtherEngine : PageOtherEngineNoFuelCalib);
                    } else {
                        AircraftPageShown = 1;
                        MainMenu.OpenPage(page == PageSetupInstallerFlight ? PageOtherFlight : PageOtherBacklightFlight);
                    }
                    return true;
                case ItemDemoMode:
                    DrawDemoModeBox(0);
                    DemoBoxShown = 1;
                    MainMenu.OpenPage(PageDemoMode);
                    return true;
                case ItemAutopilotSetup: {
                    ServoSetupShown = 1;
                    MainMenu.OpenPage(PageAutopilotSetup);
                    struct { int32_t* control; uint16_t ssid, par; } blocks[] = {
                        {&ApCommand5.control, SsServoPass, 0},    {&ApCommand2[0].control, SsApCommand2, 0},
                        {&ApCommand2[1].control, SsApCommand2, 1}, {&ApCommand3[0].control, SsServoRecord, 0},
                        {&ApCommand3[1].control, SsServoRecord, 1}, {&ApCommand4[0].control, SsApCommand4, 0},
                        {&ApCommand4[1].control, SsApCommand4, 1},
                    };
                    for (auto& b : blocks) {
                        *b.control |= 1;
                        SetSS(b.ssid, b.par);
                    }
                    return true;
                }
                default: return false;
            }
        }
        case PageDataPortUser:
        case PageDataPortInstaller:
            switch (item) {
                case ItemImportChecklist: OpenDialog(1, ImportChecklist); return true;
                case ItemImportConfiguration:
                    // Restricted setup may look and export, never load a configuration.
                    if (SetupRole == RoleRestricted)
                        DialogResult(gettext_noop("In this mode not allowed any modification."), true);
                    else
                        OpenDialog(1, ImportConfiguration);
                    return true;
                case ItemExportConfiguration: OpenDialog(0, ExportConfiguration); return true;
                case ItemExportFlightData: OpenDialog(0, ExportFlightData); return true;
                case ItemUpdateFirmware: UpdateFirmware(1); return true;
                case ItemExportServiceLog: OpenDialog(0, ExportServiceLog); return true;
                default: return false;
            }
        case PageDataSharing:
            if (item >= ItemSharingOff && item <= ItemSharingHigh) {
                const int sub = ScreenType == 1 ? 0 : 1;
                DataSharingSetting[sub].priority = static_cast<uint8_t>(item - ItemSharingOff);
                SetSS(SsDataSharing, static_cast<uint16_t>(sub));
                return true;
            }
            if (item == ItemBack) DataSharingShown = 0;
            return item == ItemBack;
        case PageFlightRangeLimits:
            if (item == ItemAirspeedLimits) {
                AirspeedLimitsShown = 1;
                MainMenu.OpenPage(PageAirspeedLimits);
                return true;
            }
            return false;
        case PageFlightUnitSystem:
        case PageEngineUnitSystem:
            if (item == ItemBack) UnitsPageShown = 0;
            return false;
        case PageDevicesFlight:
        case PageDevicesEngine:
            if (item == ItemBack) DevicesPageShown = 0;
            return false;
        case PageSensorsFlight:
            if (item == ItemBack) AirTempSensorsShown = 0;
            return false;
        case PageDemoMode:
            if (item == ItemBack) DemoBoxShown = 0;
            return false;
        case PageAirspeedLimits:
            if (item >= ItemVs && item <= ItemVne) {
                AirspeedLimitOpen(item - ItemVs + 1);  // 1 Vs .. 4 Vne
                return true;
            }
            if (item == ItemBack) AirspeedLimitsShown = 0;
            return item == ItemBack;
        case PageCommSettings:
            if (PortItem(CommPortSub, item)) return true;
            if (item == ItemSquelchThreshold) { SquelchThresholdEditor(0); return true; }
            if (item == ItemMemoryFields) {
                MemoryFieldsShown = 1;
                MainMenu.OpenPage(PageMemoryFields);
                return true;
            }
            return false;
        case PageFrequencyStep:
            if (item == ItemStep833 || item == ItemStep25) {
                FreqStepSetting.step = item == ItemStep25 ? 1 : 0;
                SetSS(SsFreqStep, 0);
                return true;
            }
            return false;
        case PageXpdrSettings:
            if (PortItem(XpdrPortSub, item)) return true;
            if (item == ItemVfr1200 || item == ItemVfr7000) {
                VfrCodeSetting.code = item == ItemVfr1200 ? 0x1200 : 0x7000;
                SetSS(SsVfrCode, 0);
                return true;
            }
            return false;
        case PageMemoryFields:
            if (item >= ItemMemoryField1 && item <= ItemMemoryField10) {
                MemorySelection = item - ItemMemoryField1 + 1;
                MainMenu.OpenPage(PageMemoryField);
                return true;
            }
            if (item == ItemBack) MemoryFieldsShown = 0;
            return item == ItemBack;
        case PageMemoryField:
            if (item == ItemMemoryFrequence) { MemoryFreqEditor(0); return true; }
            if (item == ItemMemoryLabel) { MemoryLabelEditor(0); return true; }
            if (item == ItemBack) MemorySelection = -1;
            return item == ItemBack;
        case PageGpsPort:
            if (PortItem(2, item) || BaudItem(2, item)) return true;
            if (item == ItemProtocolNmea || item == ItemProtocolArnav) { SetProtocol(2, item - ItemProtocolNmea); return true; }
            return false;
        case PageSl30Port: return PortItem(4, item);
        case PageServicePort: return PortItem(1, item);
        case PageCoGuardianPort: return PortItem(5, item);
        case PageEncoderPort:
            if (PortItem(6, item) || BaudItem(6, item)) return true;
            if (item == ItemProtocolIcarus) { SetProtocol(6, 0); return true; }
            return false;
        case PageOtherFlight:
        case PageOtherBacklightFlight:
        case PageOtherEngine:
        case PageOtherEngineNoFuelCalib:
        case PageOtherBacklightEngine:
            switch (item) {
                case ItemFuelCalibration:
                    if (EngineGaugeConfig.twoTanks) MainMenu.OpenPage(PageCalibTankChoice);
                    else if (ScreenType == 1) MainMenu.OpenPage(PageCalibTotalTank);
                    else StartTankCalibration(0);
                    return true;
                case ItemEngineTimeThreshold: SetupValueEditor(SetupActivationRpm, page); return true;
                case ItemQuantityAverage: SetupValueEditor(SetupQuantityAverage, page); return true;
                case ItemAircraftIdentification: AircraftIdEditor(0); return true;
                case ItemTime: TimeEditor(0); return true;
                case ItemDate: DateEditor(0); return true;
                case ItemUnusableFuel: MainMenu.OpenPage(EngineGaugeConfig.twoTanks ? PageUnusableTankChoice : PageUnusableTotalTank); return true;
                case ItemFuelPressZero: FuelPressZeroCalib(1); return true;
                case ItemPitchSetting: PitchOffsetEditor(0); return true;
                case ItemRollSetting: RollOffsetEditor(0); return true;
                case ItemBack:
                    if (AircraftPageShown != 0) AircraftPageShown = 0;
                    return true;
                default: return false;
            }
        case PageRemoteCompass:
            if (item == ItemNotConnected) { Disconnect(3); return true; }
            if (item == ItemConnected) {
                Port(3).flags = static_cast<uint8_t>(Port(3).flags | PortConnected);
                StorePort(3);
                SetDisplayCapabilities();
                return true;
            }
            if (item == ItemCompassCalibration) { CompassCalibration(1); return true; }
            return false;
        case PageCompassSettings:
            if (item >= ItemDeclination && item <= ItemTotalMagField) { CompassEditor(item - ItemDeclination + 1); return true; }
            if (item == ItemBuildIn) { MainMenu.OpenPage(PageCompassMounting); return true; }
            return false;
        case PageCompassMounting:
            if (item >= ItemMountXFrontYLeft && item <= ItemMountXUpYRight) {
                static const uint8_t Mountings[] = {MountXFrontYLeft, MountXFrontYDown, MountXUpYRight};
                CompassSetting.mounting = Mountings[item - ItemMountXFrontYLeft];
                SetSS(SsCompass, 0);
                return true;
            }
            return false;
        case PageCommPanel:
            switch (item) {
                case ItemFreqSwap: SwapActiveStandby(0); return true;
                case ItemMemoryRecall:
                    MainMenuKeys(-1);
                    MainMenu.OpenPage(PageRadioMemories);
                    return true;
                case ItemVolume: VolumeEditor(0); return true;
                case ItemSquelchOnOff: ToggleSquelch(0); return true;
                default: return false;
            }
        case PageXpdrPanel:
            if (item == ItemIdent) { StartIdent(0); return true; }
            return false;
        case PageXpdrMode:
            if (item >= ItemXpdrOn && item <= ItemXpdrSby) {
                static const int Modes[] = {1, 2, 0};
                SetXpdrMode(Modes[item - ItemXpdrOn]);
                return true;
            }
            return false;
        case PageEmergencySquawk:
            if (item >= ItemSquawk7500 && item <= ItemSquawk7777) {
                static const uint16_t Codes[] = {0x7500, 0x7600, 0x7700, 0x7777};
                PendingSquawk = Codes[item - ItemSquawk7500];
                SetSquawkCode(1);
                return true;
            }
            return false;
        case PageEngineRangeLimits:
            if (item == ItemBack) RangeLimitsShown = 0;
            return RangeLimitsItem(item) || item == ItemBack;
        case PageSensorsEngine:
            if (item == ItemSensorLeftTank || item == ItemSensorRightTank) { ConfirmTankRecalibration(item - ItemSensorLeftTank + 1); return true; }
            if (item == ItemEgtChtSetting) {
                // The slots' page replaces the sensors beside the thermocouple pages.
                SensorsPageShown = 0;
                ThermocouplePageShown = 1;
                const int n = EngineGaugeConfig.cylinders;
                MainMenu.OpenPage(n >= 6 ? PageThermoSlotsSix : n >= 4 ? PageThermoSlotsFour : PageThermoSlotsTwo);
                return true;
            }
            if (item == ItemBack) SensorsPageShown = 0;
            return item == ItemBack;
        case PageCalibTankChoice:
        case PageCalibTotalTank:
            if (item == ItemCalibTotalTank || item == ItemCalibLeftTank) { StartTankCalibration(0); return true; }
            if (item == ItemCalibRightTank) { StartTankCalibration(1); return true; }
            return false;
        case PageUnusableTankChoice:
        case PageUnusableTotalTank:
        case PageFuelFlowSetting:
        case PageRpmSetting:
        case PageRotorRpmSetting:
            for (const TValueItem& v : ValueItems) {
                if (v.item != item) continue;
                SetupValueEditor(v.editor, page);
                return true;
            }
            return false;
        case PageOtherFlightScreens:
        case PageOtherEngineScreens: {
            if (item < ItemTerrainOn || item > ItemTowingMenuOff) return false;
            CloseMenuKeysAndBox();
            TDisplaySetting& d = DisplaySetting;
            switch (item) {
                case ItemTerrainOn: d.terrainView = 1; break;
                case ItemTerrainOff: d.terrainView = 0; break;
                case ItemHighwayOn: d.path3d = 1; break;
                case ItemHighwayOff: d.path3d = 0; break;
                case ItemTowingMenuOn: d.screenWord |= RuntimeFlag0; break;
                case ItemTowingMenuOff: d.screenWord &= ~RuntimeFlag0; break;
            }
            TerrainViewOn = d.terrainView != 0;
            if (item >= ItemTowingMenuOn) {
                SetDisplayCapabilities();
                RefreshHooks.BindScreenKeys ? RefreshHooks.BindScreenKeys() : void();
            }
            InitialSetting();
            SetSS(SsDisplay, 0);
            SaveRuntime();
            if (item != ItemHighwayOn && item != ItemHighwayOff) SetTimerPeriod();
            return true;
        }
        case PageNavSource:
            if (item == ItemNavVorLoc) { SetNavSource(1); return true; }
            if (item == ItemNavGps) { SetNavSource(2); return true; }
            if (item == ItemNavOff) { SetNavSource(0); return true; }
            return false;
        case PageVoiceMessages:
            if (item == ItemStopPlaying) { CloseMenuKeysAndBox(); return true; }
            return false;
        case PageAutopilotHolds:
            if (item >= ItemAltOn && item <= ItemHdgOff) { CloseMenuKeysAndBox(); return true; }
            return false;
        case PageStatistic:
            if (item == ItemTankQuantity || item == ItemVoltAndCurrent) { CloseMenuKeysAndBox(); return true; }
            return false;
        case PageLanguage: {
            static const int Languages[][2] = {{ItemEnglish, 1033}, {ItemCzech, 1029}, {ItemFrench, 1036},
                                               {ItemGerman, 1031}, {ItemItalian, 1040}, {ItemRussian, 1049}};
            for (const auto& l : Languages) {
                if (l[0] != item) continue;
                if (SetLanguage(l[1])) {
                    LanguageSetting.languageId = l[1];
                    SetSS(SsLanguage, 0);
                    InitialSetting();
                }
                return true;
            }
            return false;
        }
        case PageAutopilotSetup:
            switch (item) {
                case ItemServoSetup: MainMenu.OpenPage(PageServoSetup); return true;
                case ItemServoDeflectionCalibration: ServoDeflectionShown = 1; MainMenu.OpenPage(PageServoDeflection); return true;
                case ItemPitchAxisSetup: PitchAxisShown = 1; MainMenu.OpenPage(PagePitchAxis); return true;
                case ItemRollAxisSetup: RollAxisShown = 1; MainMenu.OpenPage(PageRollAxis); return true;
                case ItemBack: ServoSetupShown = 0; return false;
                default: return false;
            }
        case PageServoSetup:
            if (item == ItemDetection) { ServoWizard(1); return true; }
            return item == ItemBack;
        case PageRollServo:
        case PagePitchServo: {
            const int sub = page == PageRollServo ? 1 : 0;  // roll 1, pitch 0
            if (item == ItemServoInstalledYes || item == ItemServoInstalledNo) {
                ServoSetting[sub].installed = item == ItemServoInstalledYes ? 1 : 0;
                SetSS(SsServo, static_cast<uint16_t>(sub));
                return true;
            }
            if (item == ItemSlip) {
                if (ServoDetected(sub)) SlipEditor(sub);
                else Notice(gettext_noop("Servo must be detected!"));
                return true;
            }
            return false;
        }
        case PageServoDeflection:
            if (item == ItemDeflectionCalibration) { ServoWizard(2); return true; }
            if (item == ItemDeflectionTest) { ServoWizard(3); return true; }
            if (item == ItemBack) ServoDeflectionShown = 0;
            return false;
        case PageRollAxis:
        case PagePitchAxis:
            if (item == ItemModeTurnRate || item == ItemModeBankAngle) {
                AutopilotSetting.rollMode = static_cast<uint8_t>(item - ItemModeTurnRate + 1);
                SetSS(SsAutopilot, 0);
                return true;
            }
            if (item == ItemModeVerticalSpeed || item == ItemModeLongitudinalAngle) {
                AutopilotSetting.pitchMode = static_cast<uint8_t>(item - ItemModeVerticalSpeed + 1);
                SetSS(SsAutopilot, 0);
                return true;
            }
            if (item == ItemBack) {
                if (page == PageRollAxis) RollAxisShown = 0;
                else PitchAxisShown = 0;
                return false;
            }
            ApParamEditor(item);
            return true;
        case PageRadioMemories:
            if (item >= ItemMemory1 && item <= ItemMemory10) {
                CloseMenuKeysAndBox();
                if (!RecallFrequencyMemory(item - ItemMemory1)) Notice(gettext_noop("Frequence was not changed, invalid value!"));
                return true;
            }
            return false;
        case PageEngineEcu:
            if (item == ItemBack) {
                Port(9).flags = static_cast<uint8_t>(Port(9).flags & ~PortConnected);
                StorePort(9);
                return false;
            }
            if (item == ItemCanA || item == ItemCanB) { AssignCanBus(item - ItemCanA, 9); return true; }
            return false;
        default:
            break;
    }
    if (page >= PageRpmLimits && page <= PageCurrentLimits) return LimitPageItem(page, item);
    if (page >= PageRpmInput && page <= PageOatSensor) return SensorItem(page, item);
    if ((page >= PageCanopyInput && page <= PageCylinderCount) || (page >= PageDimmerVoltage && page <= PageBacklightColour) ||
        page == PageWaterChtLabel || page == PageMainSwitch)
        return ConfigurationItem(page, item);
    if (page >= PageThermoSlotsSix && page <= PageTypeJSensors) return ThermoItem(page, item);
    return false;
}

// ---- stage 2: items of many pages ----

void HeadingSet() {
    CloseMenuKeysAndBox();
    int32_t heading = 0;
    if (!ReadShownHeading(&heading) || heading < 0) {
        Notice(gettext_noop("Bug was not changed, due to compass error!"));
        return;
    }
    int degrees = (heading + 5) / 10;
    if (degrees >= 360) degrees = 0;
    DisplaySetting.hdgBug = degrees;
    DisplaySetting.hdgBugOn = 1;
    if (AutopilotActive && (AutopilotRuntime.modeWord & 0xF00) == 0) {
        AutopilotRuntime.headingTarget = degrees * 100;
        SetSS(SsAutopilotRuntime, 0);
    }
    SetSS(SsDisplay, 0);
    SaveRuntime();
}

// The brightness keys: the editor answers the level it applied.
void BrightnessKey(int32_t command) { BrightnessEditor(command); }

void ShowAbout() {
    CloseMenuKeysAndBox();
    AboutBox.deviceType = DeviceID;
    AboutBox.hwVersion = static_cast<uint32_t>(ConfigManager.GetHwVersion());
    AboutBox.versionMajor = 0;
    AboutBox.versionMinor = 3;
    AboutBox.versionBuild = 32;
    AboutBox.installationId = AboutInstallationId();
    ReadLastRelease("last_release", &AboutBox.release);
    AboutBox.SetSurface(MainWindow);
    HoldKeysWhileShown();
    Keyboard.Bind(KeyRightPush, LabelHide, DismissMessage, 0);
}

void ItemAction(int page, int item) {
    if (UnitAction(item)) return;
    switch (item) {
        case ItemChecklist:
            if (LoadChecklistFile()) MainMenu.OpenPage(PageChecklistsBack);
            return;
        case ItemStatistic:
            CloseMenuKeysAndBox();
            if (ScreenType == 1) EngineExtremesShown = 1;
            else FlightExtremesShown = 1;
            HoldKeysWhileShown();
            Keyboard.Bind(KeyRightPush, LabelHide, MainMenuKeys, 0);
            Keyboard.Bind(KeySoft4, LabelDeleteValues, ConfirmDeleteStatistics, 1);
            return;
        case ItemEntertainment: {
            CloseMenuKeysAndBox();
            HoldKeys();
            char text[512];
            snprintf(text, sizeof text, "%s", gettext("Do you want to enter to Entertainment?"));
            GuiMessageBox(text, 1, KeySoft3, LabelYes, OpenEntertainer, 1);
            Keyboard.Bind(KeySoft4, LabelNo, OpenEntertainer, 0);
            return;
        }
        case ItemExitMenu:
            SetupMenuShown = 0;
            CloseMenuKeysAndBox();
            return;
        case ItemHeadingSet: HeadingSet(); return;
        case ItemBrightness:
            if (EngineGaugeConfig.dimmerControl == 1) {
                Notice(gettext_noop("This function is not available due to automatic control!"));
                return;
            }
            CloseMenuKeysAndBox();
            LevelSliderShown = 1;
            HoldKeys();
            Keyboard.Bind(KeyRightTurnRight, 0, BrightnessKey, 2);
            Keyboard.Bind(KeyRightTurnLeft, 0, BrightnessKey, 1);
            Keyboard.Bind(KeyRightPush, LabelBrightness, BrightnessKey, 3);
            return;
        case ItemObsSetting:
            CloseMenuKeysAndBox();
            // The OBS box stands where the heading bug's does: the knob's number is seen.
            MarkValueEditor(EdApHeading, &ObsValue, gettext_noop("OBS"));
            HeadingBugEditor(0);
            HoldKeys();
            Keyboard.Bind(KeyRightPush, LabelSetEdit, MainMenuKeys, 0);
            Keyboard.Bind(KeySoft3, LabelCancel, HeadingBugEditor, 3);
            Keyboard.Bind(KeyRightTurnRight, 0, HeadingBugEditor, 1);
            Keyboard.Bind(KeyRightTurnLeft, 0, HeadingBugEditor, 2);
            return;
        case ItemPowerOff: {
            int32_t state = 0;
            if (ReadAveraged(echInternalInputStatus, &state) && (state & 8)) {
                Notice(gettext_noop("Main switch is active! Device cannot be shut down!"));
                return;
            }
            RequestPowerOff(PowerKey);
            return;
        }
        case ItemEnterSetup:
            MainMenu.Show(0);
            enterToSetup(1);
            return;
        case ItemAbout: ShowAbout(); return;
        case ItemDemoOn: DemoOn(); return;
        case ItemDemoOff: DemoOff(); return;
        case ItemLimitAirspeed: AirspeedLimitOpen(5); return;
        case ItemLimitRpm: LimitEditorOpen(echRpmEng, 5); return;
        case ItemSaveSetting:
            if (SaveSetting("demo", KindRuntime | KindSetup) != 0) Failure(gettext_noop("Demo setting not successfully saved!"));
            DrawDemoModeBox(0);
            return;
        case ItemDemoEms: case ItemDemoEfis: case ItemDemoEfisEms: case ItemDemoRemote: {
            static const int32_t Models[] = {DeviceEms, DeviceEfis, DeviceEfisEms, DeviceRemoteDisplay};
            DemoSetting.modelCode = Models[item - ItemDemoEms];
            DemoCommonEnding();
            return;
        }
        case ItemReset30s: case ItemReset1min: case ItemReset2min: case ItemReset3min:
        case ItemReset4min: case ItemReset5min: case ItemReset10min:
            DemoSetting.resetTime = DemoResetTimes[item - ItemReset30s];
            SetSS(SsDemo, 0);
            MainMenu.PopPage();
            MainMenu.OpenPage(PageDemoResetTime);
            return;
        case ItemChangePassword:
            MainMenu.Show(0);
            ChangePassword(-1);
            SetPasswordCallback(ChangePassword, 1);
            PasswordEntry(3);
            return;
        default:
            (void)page;
            return;
    }
}

}  // namespace

void MenuAction(int pageId, int itemId) {
    if (PageAction(pageId, itemId)) return;
    ItemAction(pageId, itemId);
}

// ---- helpers ----

bool LoadChecklistFile() {
    const bool demo = InDemoMode();
    if (!FileExists(demo ? "demochecklist.dat" : "checklist.dat")) {
        Failure(gettext_noop("Checklist file is not found!"));
        return false;
    }
    LoadSetting(demo ? "demo" : nullptr, KindChecklist, 1);
    return true;
}

namespace {

// The eight serial device records of 0x4018.
const int SerialRecords[] = {1, 2, 3, 4, 5, 6, 7, 8};

}  // namespace

void AssignComPort(int port, int subId) {
    if (subId < 1 || subId > DevicePortCount) return;
    TDevicePort& own = Port(subId);
    own.flags = static_cast<uint8_t>(own.flags | PortConnected);
    own.comPort = static_cast<uint8_t>(port);
    StorePort(subId);
    for (int other : SerialRecords) {
        if (other == subId) continue;
        TDevicePort& p = Port(other);
        if (!Connected(p) || p.comPort != port) continue;
        p.flags = static_cast<uint8_t>(p.flags & ~PortConnected);
        StorePort(other);
    }
    SetDisplayCapabilities();
}

void AssignCanBus(int bus, int subId) {
    // The engine ECU is the one CAN user.
    if (subId != 9) return;
    TDevicePort& own = Port(subId);
    own.flags = static_cast<uint8_t>(own.flags | PortConnected);
    own.comPort = static_cast<uint8_t>(bus);
    StorePort(subId);
    SetDisplayCapabilities();
}

void ConfirmTankRecalibration(int32_t step) {
    switch (step) {
        case 1:
        case 2: {
            const int tank = step - 1;
            if (!TankSetting[tank].calibrated) {
                ConfirmTankRecalibration(step + 2);
                return;
            }
            MainMenu.Show(0);
            Keyboard.Clear();
            char text[512];
            snprintf(text, sizeof text, "   %s   ", gettext("Change requires fuel tank recalibration, continue ?"));
            GuiMessageBox(text, 1, KeySoft3, LabelYes, ConfirmTankRecalibration, step + 2);
            Keyboard.Bind(KeySoft4, LabelNo, ConfirmTankRecalibration, 5);
            return;
        }
        case 3:
        case 4: {
            const int tank = step - 3;
            TankSetting[tank].calibrated = 0;
            SetSS(SsTank, static_cast<uint16_t>(tank));
            Keyboard.Clear();
            CloseMessageBox();
            MainMenu.Show(0);
            MainMenu.OpenPage(PageSetupInstallerEngine);
            MainMenuKeys(-1);
            SensorsPageShown = 1;
            MainMenu.OpenPage(PageSensorsEngine);
            MainMenu.OpenPage(tank == 0 ? PageLeftTankSensor : PageRightTankSensor);
            return;
        }
        case 5:
            Keyboard.Clear();
            CloseMessageBox();
            MainMenu.Show(0);
            MainMenu.OpenPage(PageSetupInstallerEngine);
            MainMenuKeys(-1);
            SensorsPageShown = 1;
            MainMenu.OpenPage(PageSensorsEngine);
            return;
        default: return;
    }
}

void FuelPressZeroCalib(int32_t step) {
    switch (step) {
        case 0:
            CloseMessageBox();
            GetSS(SsFuelFlow, 0);
            MainMenu.Show(0);
            MainMenu.OpenPage(ScreenType == 1 ? PageSetupInstallerEngine : PageSetupInstallerFlight);
            MainMenuKeys(-1);
            AircraftPageShown = 1;
            MainMenu.OpenPage(ScreenType == 1 ? (EngineGaugeConfig.tankUsed ? PageOtherEngine : PageOtherEngineNoFuelCalib) : PageOtherFlight);
            return;
        case 1: {
            MainMenu.Show(0);
            Keyboard.Clear();
            int32_t press = 0;
            // Without a pressure there is nothing to zero; Cancel still leaves.
            FuelPressCalibState = ReadAveraged(514, &press) ? FuelCalibWaitSet : FuelCalibSensorError;
            BindFuelPressCalibKeys();
            return;
        }
        case 2:
            FuelPressCalibSet(FuelCalibSend1);
            return;
        default: return;
    }
}

void UpdateFirmware(int32_t step) {
    switch (step) {
        case 1: {
            PrintHook("DBG: before check\n");
            char text[512];
            if (FirmwareFilePresent()) {
                PrintHook("DBG: check succeded\n");
                snprintf(text, sizeof text, "  %s  ", gettext("Are you sure you want to update firmware ?"));
                GuiMessageBox(text, 1, KeySoft3, LabelYes, UpdateFirmware, 2);
                Keyboard.Bind(KeySoft4, LabelNo, UpdateFirmware, 0);
            } else {
                PrintHook("DBG: check failed\n");
                Notice(gettext_noop("Firmware update not present in data disk!"));
            }
            return;
        }
        case 2: {
            char text[512];
            snprintf(text, sizeof text, "  %s  ", gettext("During operation do not power off the instrument !!!"));
            GuiMessageBox(text, 1, KeySoft4, LabelOk, UpdateFirmware, 3);
            Keyboard.Bind(KeySoft3, LabelCancel, UpdateFirmware, 0);
            return;
        }
        case 3:
            Keyboard.Clear();
            CloseMessageBox();
            if (StartFirmwareDownload() == 0) {
                SetMessageText(gettext("Update firmware invoked. Please wait while download is finished."));
                MessageBoxShown = 1;
                MessageBoxStyle = 1;
                HoldKeys();
                int64_t sec = 0;
                int32_t usec = 0;
                if (RefreshClock) RefreshClock(&sec, &usec);
                MenuCloseTime = SatInt32(sec + 40);
                FirmwareUpdateFailed = 1;
            } else {
                Failure(gettext_noop("Firmware update not successfully finished."));
            }
            return;
        default:
            Keyboard.Clear();
            CloseMessageBox();
            return;
    }
}

bool ValidConfigFile(const char* path, uint32_t kind) {
    if (!path || !*path) return false;
    TConfig file(path);
    uint32_t type = 0;
    if (file.CheckFileHeader(path, &type) != 0) return false;
    if (kind && type != kind) return false;  // another kind's file is no substitute
    if (file.OpenConfig() != 0) return false;
    SetupSectPacket head{};
    const uint8_t* data = nullptr;
    int r = file.GetFirstSection(&head, &data);
    while (r == 0) r = file.GetNextSection(&head, &data);
    // The walk ends at the file's end (-4 short read); a bad packet on the way fails.
    return r == -4;
}

void ImportChecklist(int result) {
    if (DialogCancelled(result)) return;
    const char* path = SelectDirDialog.GetPath();
    const char* name = SelectDirDialog.GetSelectedName();
    const std::string dir = path ? path : "";
    if (dir.empty() || !name || !*name) {
        DialogResult(gettext_noop("Invalid file or path"), true);
        return;
    }
    const std::string source = dir + name;
    if (!ValidConfigFile(source.c_str(), SsKindChecklist)) {
        DialogResult(gettext_noop("File is not compatible checklist file"), true);
        return;
    }
    if (CopyConfigFile(source.c_str(), "checklist.dat") != 0 || CopyConfigFile(source.c_str(), "checklist.bck") != 0) {
        DialogResult(gettext_noop("File can not be transferred"), true);
        return;
    }
    LoadSetting(nullptr, KindChecklist, 1);
    DialogResult(gettext_noop("Importing checklist done"), false);
}

void ImportConfiguration(int result) {
    std::string dir;
    if (!ChosenFolder(result, &dir)) return;
    // Both files must be sound: loading missing files would take every default.
    if (!ValidConfigFile((dir + "setup.dat").c_str(), SsKindSetup) || !ValidConfigFile((dir + "runtime.dat").c_str(), SsKindRuntime)) {
        DialogResult(gettext_noop("Invalid file path"), true);
        return;
    }
    // A load that raises the settings error leaves its notice on the screen instead.
    const int errorBefore = SettingsError;
    SettingsError = 0;
    LoadSetting(dir.c_str(), KindRuntime | KindSetup, 1);
    InitialSetting();
    const bool notice = SettingsError != 0;
    SettingsError |= errorBefore;
    if (!notice) DialogResult(gettext_noop("Importing configuration done"), false);
}

void ExportConfiguration(int result) {
    std::string dir;
    if (!ChosenFolder(result, &dir)) return;
    // A fresh folder has no runtime file until the first change: store the settings in use.
    if (access("runtime.dat", F_OK) != 0) SaveRuntime();
    const bool ok = CopyConfigFile("setup.dat", (dir + "setup.dat").c_str()) == 0 &&
                    CopyConfigFile("runtime.dat", (dir + "runtime.dat").c_str()) == 0;
    DialogResult(ok ? gettext_noop("Exporting configuration done") : gettext_noop("Error during exporting configuration"), !ok);
}

void ExportFlightData(int result) {
    std::string dir;
    if (!ChosenFolder(result, &dir)) return;
    const bool ok = CopyConfigFile("flightdata.dat", (dir + "flightdata.dat").c_str()) == 0;
    DialogResult(ok ? gettext_noop("Exporting flight data done") : gettext_noop("Error during exporting flight data"), !ok);
}

void ExportServiceLog(int result) {
    std::string dir;
    if (!ChosenFolder(result, &dir)) return;
    DialogResult(gettext_noop("Not supported for this system."), true);
}

void DemoOn() {
    if (InDemoMode()) return;
    if (SaveSetting("save", KindRuntime | KindSetup) != 0) {
        Failure(gettext_noop("Demo setting not successfully saved!"));
        return;
    }
    usleep(100 * 1000);
    if (FileExists("demosetup.dat")) {
        LoadSetting("demo", KindRuntime | KindSetup, 1);
    } else {
        Port(5).flags = static_cast<uint8_t>(Port(5).flags & ~PortConnected);
        Port(1).flags = static_cast<uint8_t>(Port(1).flags & ~PortConnected);
        Port(2).flags = static_cast<uint8_t>(Port(2).flags | PortConnected);
        Port(2).comPort = 1;
        Port(4).flags = static_cast<uint8_t>(Port(4).flags | PortConnected);
        Port(4).comPort = 2;
        Port(3).flags = static_cast<uint8_t>(Port(3).flags | PortConnected);
        for (int sub : {5, 1, 2, 4, 3}) StorePort(sub);
        CompassSetting.control = static_cast<uint8_t>(CompassSetting.control | (CompassSetting.mode == 2 ? 4 : 1));
        SetSS(SsCompass, 0);
        SaveSetting("demo", KindRuntime | KindSetup);
    }
    DrawDemoModeBox(0);
    DemoSetting.marker = DemoMarkerValue;
    if (DemoSetting.modelCode != DeviceEfis && DemoSetting.modelCode != DeviceEfisEms && DemoSetting.modelCode != DeviceEms &&
        DemoSetting.modelCode != DeviceRemoteDisplay)
        DemoSetting.modelCode = DeviceEfisEms;
    DeviceID = DemoSetting.modelCode;
    SetSS(SsDemo, 0);
    // The demo files and the unit's own carry the marker: the demo outlives a restart.
    const bool stored = SaveSetting("demo", KindRuntime | KindSetup) == 0 && SaveSetting(nullptr, KindRuntime | KindSetup) == 0;
    SetTerrainMapDir("map");
    if (DemoSetting.modelCode != DeviceRemoteDisplay) ResetDemo(true);
    ShowDemoPage();
    if (!stored) Failure(gettext_noop("Demo setting not successfully saved!"));
}

void DemoOff() {
    const bool saved = ValidConfigFile("savesetup.dat", SsKindSetup) && ValidConfigFile("saveruntime.dat", SsKindRuntime);
    // The user's saved files come back whenever they exist, even after a restart lost the
    // demo marker; without them, loading would reset every setting to its default.
    if (!saved) {
        if (InDemoMode()) Failure(gettext_noop("Saved setting not found, demo mode stays on!"));
        return;
    }
    LoadSetting("save", KindRuntime | KindSetup, 1);
    // The user's own record came back with the files; storing it unchanged would only add
    // a section the user's file never had.
    if (DemoSetting.marker != 0) {
        DemoSetting.marker = 0;
        SetSS(SsDemo, 0);
    }
    ConfigManager.ReadDeviceInfo();
    DeviceID = ConfigManager.GetDeviceType();
    // The demo reset copied the demo files over the user's: write the user's back.
    const bool stored = SaveSetting(nullptr, KindRuntime | KindSetup) == 0;
    // Brought back once: a later Demo OFF must not put this old state over newer settings.
    if (stored)
        for (const char* name : {"savesetup.dat", "savesetup.bck", "saveruntime.dat", "saveruntime.bck"}) remove(name);
    NEnt::VideoPlayer.Stop();
    ResetDemo(false);
    ShowDemoPage();
    SetTerrainMapDir("map");
    if (!stored) Failure(gettext_noop("Demo setting not successfully saved!"));
}
