#include "screenkeys.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "averdata.h"
#include "chandesc.h"
#include "configmanager.h"
#include "editors.h"
#include "flightpage.h"
#include "hkmeasure.h"
#include "keyboard.h"
#include "keyglue.h"
#include "limiteditors.h"
#include "menu.h"
#include "menuaction.h"
#include "overlays.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "setupentry.h"
#include "shellstate.h"
#include "units.h"
#include "statusbar.h"

int32_t SetupRole = RoleInstaller;
int32_t EditValue = 0;
int FreqEditorShown = 0;
int SquawkEditorState = 0;
int MemoryLabelEditorShown = 0;
char* LabelEditText = nullptr;
uint16_t LabelEditCursor = 0;
int MemorySelection = 0;
int IdentHold = 0;
uint16_t PendingSquawk = 0;

namespace {

// The label being edited (a terminator may stand inside it) and its drawn form, in
// which a terminator shows as a blank; copied into the memory on OK.
char LabelBuffer[MemoryLabelLength + 1] = {};
char LabelShown[MemoryLabelLength + 1] = {};

void ShowLabel() {
    for (int i = 0; i < MemoryLabelLength; ++i) LabelShown[i] = LabelBuffer[i] ? LabelBuffer[i] : ' ';
    LabelShown[MemoryLabelLength] = '\0';
}
// Values before an adjustment, for its Cancel.
uint8_t VolumeBefore = 0, SquelchBefore = 0;

int ReadXpdrStatusBit() {
    if (!AverReader || !AverReader->Vals) return 0;
    int32_t status = 0;
    if (AverReader->Vals->GetVal(echExtDevXpdrStatus, status) < 0 || status == NoValue) return 0;
    return (status & 2) != 0;
}

bool Connected(int sub) { return (DevicePort[sub - 1].flags & PortConnected) != 0; }
bool Spacing25() { return FreqStepSetting.step != 0; }
bool InstallerRole() { return SetupRole == RoleInstaller || SetupRole == RoleAdministrator; }

void StoreComm() { SetSS(SsCommRuntime, 0); }

void PowerOffKey(int32_t kind) { RequestPowerOff(kind); }

// Closes the menu and every overlay, then takes every key for a panel.
void TakeKeysForPanel(int mode) {
    CloseMenuKeysAndBox();
    Keyboard.Clear();  // the screen's keys that closing the box bound
    SoftKeyHold = 1;
    Keyboard.SetMode(mode);
}

// Removes every binding and closes every overlay (the screen's keys come back).
void ReleaseKeys() {
    Keyboard.Clear();
    CloseMessageBox();
}

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// The setup pages of the radio memories: engine or flight external devices, COMM type,
// models and settings (and the memory list for the memory editors).
void OpenRadioPagePath(bool memories) {
    const int first = ScreenType == ScreenEngine ? PageDevicesEngine : PageDevicesFlight;
    if (MainMenu.CurrentPage() != first) MainMenu.OpenPage(first);
    for (int page : {PageCommType, PageCommModels, PageCommSettings}) MainMenu.OpenPage(page);
    if (memories) MainMenu.OpenPage(PageMemoryFields);
}

int SelectedMemory() { return MemorySelection >= 1 && MemorySelection <= FreqMemoryCount ? MemorySelection : 0; }

// An editor opened from a radio panel holds the keys as the panel did: it closes by Set
// or Cancel only, never by the key time-out, which would drop the edit unseen.
void HoldEditorKeys() { SoftKeyHold = 1; }

void OpenFrequencyEditor(int32_t low, int32_t high, void (*handler)(int32_t)) {
    EditValue = std::min(std::max(EditValue, low), high);
    OpenEditor(low, high, &EditValue, handler, EditorCmdDown, 5);
    Editor.cursor = 3;
    Editor.baseExponent = 3;
    FreqEditorShown = 1;
    HoldEditorKeys();
    MarkValueEditor(EdRadioFrequency, &EditValue, EditorTitle);
}

// Stores (OK) or reloads (Cancel) memory n, then back to the memory list.
void CloseMemoryEditor(int n, bool store) {
    if (store)
        SetSS(SsFreqMemory, static_cast<uint16_t>(n - 1));
    else
        GetSS(SsFreqMemory, static_cast<uint16_t>(n - 1));
    FreqEditorShown = 0;
    MemoryLabelEditorShown = 0;
    LabelEditText = nullptr;
    CloseEditor(1);
    OpenRadioPagePath(true);
    MemoryFieldsShown = 1;
    MemorySelection = -1;
}

bool EmergencySquawk(uint16_t code) { return code == 0x7500 || code == 0x7600 || code == 0x7700 || code == 0x7777; }

const char* EmergencyQuestion(uint16_t code) {
    switch (code) {
        case 0x7500: return gettext("Are you sure you want to set 7500 Unlawful Interference squawk code?");
        case 0x7600: return gettext("Are you sure you want to set 7600 Lost Communications squawk code?");
        case 0x7700: return gettext("Are you sure you want to set 7700 General Emergency squawk code?");
        default: return gettext("Are you sure you want to set 7777 Military Interception squawk code?");
    }
}

// Keeps the radio records inside their ranges whatever the file held.
void SanitizeRadioRecords() {
    if (CommRuntime.memoryIndex >= FreqMemoryCount && CommRuntime.memoryIndex != 255) CommRuntime.memoryIndex = 255;
    if (CommRuntime.volume > 100) CommRuntime.volume = 100;
    if (CommRuntime.squelchLevel > 100) CommRuntime.squelchLevel = 100;
    XpdrRuntime.squawk = PackSquawk(UnpackSquawk(XpdrRuntime.squawk));
    if (XpdrRuntime.mode > 2) XpdrRuntime.mode = 0;
}

}  // namespace

int (*XpdrReplying)() = ReadXpdrStatusBit;

// ---------------------------------------------------------------- screen keys

int DataPortAvailable() { return 1; }

int InstrumentScreenMode(int screenType, int mask, int r, int camera) {
    const int cameraMode = camera ? (r ? 12 : 7) : (r ? 11 : 6);
    switch (screenType) {
        case 1: return (mask & 0x14) ? 15 : 16;
        case 2: return (mask & 0xD0) ? 1 : 2;
        case 3:
            if (mask & 0x80) return r ? 10 : 5;
            if (!(mask & 0x40)) return r ? 4 : 3;
            return cameraMode;
        case 4:
            if (!(mask & 0x40)) return (mask & 0x10) ? (r ? 14 : 9) : (r ? 4 : 3);
            return cameraMode;
        case 5:
            if (mask & 0x10) return r ? 14 : 9;
            if (mask & 0x80) return r ? 10 : 5;
            return r ? 4 : 3;
        case 6:
            if (mask & 0x10) return r ? 14 : 9;
            if (mask & 0x80) return r ? 10 : 5;
            if (!(mask & 0x40)) return r ? 4 : 3;
            return cameraMode;
        default: return 0;
    }
}

namespace {

bool PromptMode() {
    int mode = 0;
    if (PowerOffState != 0 && PowerOffState != 1) {
        mode = 23;  // "press any key to cancel" wins over every notice
    } else if (RuntimeConfigError || MeasureConfigError || StatisticConfigError || OverTempFlag) {
        mode = 21;
    } else if (PopupListActive(1)) {
        return true;  // the list keeps its keys
    } else if (DemoBannerShown) {
        DemoIdleCountdown = -1;
        mode = 21;
    }
    if (!mode) return false;
    Keyboard.Clear();
    Keyboard.SetMode(mode);
    SoftKeyHold = 1;
    return true;
}

void SetupKeys() {
    const bool engine = ScreenType == ScreenEngine;
    Keyboard.SetMode(engine ? (InstallerRole() ? 18 : 20) : (InstallerRole() ? 17 : 19));
    if (DataPortAvailable())
        Keyboard.Bind(KeySoft3, LabelDataPort, OpenDataPortMenu, 0);
    else
        Keyboard.BindNone(KeySet<KeySoft3>);
    if (!(LayoutCaps & (engine ? 0x08 : 0x02))) Keyboard.BindNone(KeySet<KeySoft4>);
    if (SetupRole == RoleRestricted) {
        Keyboard.Bind(KeyRightPush, 0, MainMenuKeys, 0);
        Keyboard.Bind(KeySoft1, 0, MainMenuKeys, 0);
    }
}

void RadioKey(int mode) {
    const bool comm = Connected(CommPortSub), xpdr = Connected(XpdrPortSub);
    int label = 0, pages[3] = {0, 0, 0};
    if (comm && xpdr) {
        label = LabelComXpdr;
        pages[0] = PageFlightMainCommXpdr, pages[1] = PageEngineMainCommXpdr, pages[2] = PageFlightMainCommXpdrObs;
    } else if (comm) {
        label = LabelComm;
        pages[0] = PageFlightMainComm, pages[1] = PageEngineMainComm, pages[2] = PageFlightMainCommObs;
    } else if (xpdr) {
        label = LabelXpdr;
        pages[0] = PageFlightMainXpdr, pages[1] = PageEngineMainXpdr, pages[2] = PageFlightMainXpdrObs;
    }
    if (!label) {
        // Without radios the engine screen's third key keeps its checklist.
        if (mode != 16) Keyboard.BindNone(KeySet<KeySoft2>);
        return;
    }
    Keyboard.Bind(KeySoft2, label, OpenCommPanel, 0);
    const int plain[3] = {PageFlightMain, PageEngineMain, PageFlightMainObs};
    for (int i = 0; i < 3; ++i) MainMenu.ReplacePage(plain[i], pages[i]);
}

}  // namespace

void BindScreenKeys() {
    SanitizeRadioRecords();
    if (FatalSharingError) {
        Keyboard.Clear();
        Keyboard.SetMode(22);
        SoftKeyHold = 1;
        Keyboard.BindNone(AllKeys);
        Keyboard.Bind(KeySoft4, LabelUpdateFw, UpdateFirmware, 3);
        Keyboard.Bind(KeySoft3, LabelPwrOff, PowerOffKey, 3);
        return;
    }
    if (PromptMode()) return;
    Keyboard.Clear();
    SoftKeyHold = 0;
    if (SetupModeActive) {
        SetupKeys();
        return;
    }
    const int r = (DisplaySetting.screenWord & RuntimeFlag0) != 0;
    const int camera = (DisplaySetting.screenWord & 0x600) == 0x600;
    const int mode = InstrumentScreenMode(ScreenType, LayoutCaps, r, camera);
    if (mode) Keyboard.SetMode(mode);
    if ((DeviceID == DeviceEms || DeviceID == DeviceEms2) && ScreenType > 1) Keyboard.Bind(KeyRightPush, LabelMenu, MainMenuKeys, -1);
    if ((LayoutCaps & CapFlightPage) && (ScreenType == 2 || (ScreenType >= 3 && !r)))
        Keyboard.Bind(KeySoft1, AutopilotActive ? LabelApFn : LabelAp, OpenApPanel, 0);
    RadioKey(Keyboard.GetMode());
}

void OpenDataPortMenu(int32_t) {
    if (!DataPortAvailable()) return;
    MainMenuKeys(-1);
    MainMenu.OpenPage(InstallerRole() ? PageDataPortInstaller : PageDataPortUser);
}

void OpenApPanel(int32_t) { TakeKeysForPanel(AutopilotActive ? 27 : 24); }

void OpenCommPanel(int32_t) {
    TakeKeysForPanel(28);
    Keyboard.BindNone(KnobTurnKeys);
    const bool comm = Connected(CommPortSub), xpdr = Connected(XpdrPortSub);
    if (comm) {
        Keyboard.Bind(KeyRightTurnLeft, 0, StandbyFreqEditor, EditorCmdOpen);
        Keyboard.Bind(KeyRightTurnRight, 0, StandbyFreqEditor, EditorCmdOpen);
        StandbyFreqEditor(10);
        // Volume belongs to the transceiver, with or without a transponder.
        Keyboard.Bind(KeyLeftPush, LabelVolume, VolumeEditor, EditorCmdOpen);
        Keyboard.Bind(KeyLeftTurnRight, 0, VolumeEditor, EditorCmdOpen);
        Keyboard.Bind(KeyLeftTurnLeft, 0, VolumeEditor, EditorCmdOpen);
        if (!xpdr) Keyboard.BindNone(KeySet<KeySoft4>);
    } else if (xpdr) {
        SquawkCodeEditor(10);
    }
}

// ---------------------------------------------------------------- COMM

int32_t StepFrequency(int32_t value, int cursor, int spacing25, int up, int32_t low, int32_t high) {
    constexpr int32_t MHz = 1000000, Block = 100000;
    const int32_t mhz = value / MHz * MHz;
    int64_t next = value;
    if (cursor >= 3) {
        next = static_cast<int64_t>(value) + (up ? MHz : -MHz);
        if (next > high || next < low) next = (up ? CommBandLow : 136 * static_cast<int64_t>(MHz)) + value % MHz;
    } else if (cursor <= 1 || spacing25) {
        // Channels of the 100 kHz block: 4 of 25 kHz, or 12 of 8.33 kHz whose frequencies
        // are rounded to the Hz (8333, 16667, ...). Floor division keeps both directions
        // on the grid.
        const int32_t b = value / Block * Block;
        const int64_t r = value - b;
        const int64_t channel = spacing25 ? r / 25000 : (r * 12 + 6) / Block;
        const int64_t k = channel + (up ? 1 : -1);
        int64_t offset = spacing25 ? k * 25000 : FloorDiv(k * Block * 2 + 12, 24);
        if (!spacing25) offset = ((offset % Block) + Block) % Block;
        next = b + offset;
    } else {
        const int digit = value / Block % 10;
        const int moved = (digit + (up ? 1 : 9)) % 10;
        next = static_cast<int64_t>(value) + static_cast<int64_t>(moved - digit) * Block;
    }
    if (next / MHz * MHz != mhz && cursor < 3) next = ((next % MHz) + MHz) % MHz + mhz;
    if (next < low || next > high) return std::min(std::max(value, low), high);
    return static_cast<int32_t>(next);
}

void StandbyFreqEditor(int32_t command) {
    switch (command) {
        case EditorCmdOpen:
            EditValue = CommRuntime.standby;
            OpenFrequencyEditor(CommBandLow, CommBandHigh, StandbyFreqEditor);
            break;
        case EditorCmdOk:
            CommRuntime.standby = EditValue;
            StoreComm();
            SaveRuntime();
            [[fallthrough]];
        case EditorCmdCancel:
            FreqEditorShown = 0;
            OpenCommPanel(0);
            break;
        case EditorCmdDown:
        case EditorCmdUp:
            EditValue = StepFrequency(EditValue, Editor.cursor, Spacing25(), command == EditorCmdUp, Editor.minimum,
                                      Editor.maximum);
            break;
        case 5:
            if (Spacing25())
                Editor.cursor = Editor.cursor == 3 ? 2 : 3;
            else
                Editor.cursor = Editor.cursor == 1 ? 2 : Editor.cursor == 2 ? 3 : 1;
            break;
        case 10:
            EditValue = CommRuntime.standby;
            snprintf(EditorTitle, EditorTitleSize, "%s (%skHz)", gettext("SBY freq."), Spacing25() ? "25" : "8.3");
            Editor.cursor = -1;
            FreqEditorShown = 1;
            MarkValueEditor(EdRadioFrequency, &EditValue, EditorTitle);
            break;
        default:
            break;
    }
}

void MemoryFreqEditor(int32_t command) {
    const int n = SelectedMemory();
    if (!n) return;
    TFreqMemorySetting& memory = FreqMemorySetting[n - 1];
    switch (command) {
        case EditorCmdOpen:
            snprintf(EditorTitle, EditorTitleSize, "%s %d %s", gettext("Mem."), n, gettext("freq."));
            EditValue = memory.frequency;
            OpenFrequencyEditor(CommBandLow, CommMemoryHigh, MemoryFreqEditor);
            Keyboard.Bind(KeyRightPush, LabelPosition, StandbyFreqEditor, 5);
            break;
        case EditorCmdDown:
        case EditorCmdUp:
            StandbyFreqEditor(command);
            memory.frequency = EditValue;
            break;
        case EditorCmdOk:
            memory.frequency = EditValue;
            [[fallthrough]];
        case EditorCmdCancel:
            CloseMemoryEditor(n, command == EditorCmdOk);
            break;
        default:
            break;
    }
}

void MemoryLabelEditor(int32_t command) {
    const int n = SelectedMemory();
    if (!n) return;
    TFreqMemorySetting& memory = FreqMemorySetting[n - 1];
    const int cursor = LabelEditCursor & 0xFF;
    switch (command) {
        case EditorCmdOpen:
            snprintf(EditorTitle, EditorTitleSize, "%s %d %s", gettext("Mem."), n, gettext("label"));
            OpenEditor(0, 0, nullptr, MemoryLabelEditor, EditorCmdDown, 5);
            memset(LabelBuffer, ' ', MemoryLabelLength);
            LabelBuffer[MemoryLabelLength] = '\0';
            memcpy(LabelBuffer, memory.label, strnlen(memory.label, MemoryLabelLength));
            LabelEditText = LabelBuffer;
            LabelEditCursor = static_cast<uint16_t>(MemoryLabelLength << 8);
            Editor.cursor = 1;  // the painter counts the text field's characters from 1
            MemoryLabelEditorShown = 1;
            ShowLabel();
            MarkValueEditor(EdTextField, nullptr, EditorTitle, nullptr, LabelShown);
            break;
        case EditorCmdDown:
        case EditorCmdUp:
            LabelBuffer[cursor] = command == EditorCmdUp ? LabelCharNext(LabelBuffer[cursor]) : LabelCharPrev(LabelBuffer[cursor]);
            ShowLabel();
            break;
        case 5:
            LabelEditCursor = static_cast<uint16_t>((LabelEditCursor & 0xFF00) | ((cursor + 1) % MemoryLabelLength));
            Editor.cursor = (LabelEditCursor & 0xFF) + 1;
            break;
        case EditorCmdOk: {
            int end = MemoryLabelLength;
            while (end > 0 && (LabelBuffer[end - 1] == ' ' || LabelBuffer[end - 1] == '\0')) --end;
            memset(memory.label, 0, MemoryLabelLength);
            memcpy(memory.label, LabelBuffer, static_cast<size_t>(end));
            CloseMemoryEditor(n, true);
            break;
        }
        case EditorCmdCancel:
            CloseMemoryEditor(n, false);
            break;
        default:
            break;
    }
}

void VolumeEditor(int32_t command) {
    switch (command) {
        case EditorCmdOpen:
            ResetEditorFlags();
            VolumeBefore = CommRuntime.volume;
            Keyboard.BindNone(AllKeys);
            Keyboard.Bind(KeyLeftPush, LabelVolume, VolumeEditor, 4);
            Keyboard.Bind(KeySoft2, LabelCancel, VolumeEditor, 3);
            Keyboard.Bind(KeyLeftTurnRight, 0, VolumeEditor, 2);
            Keyboard.Bind(KeyLeftTurnLeft, 0, VolumeEditor, 1);
            PercentSlider1Shown = 1;
            SoftKeyHold = 0;  // the soft-key time-out closes it
            return;
        case 1:
        case 2: {
            const int v = CommRuntime.volume + (command == 2 ? 2 : -2);
            CommRuntime.volume = static_cast<uint8_t>(std::min(std::max(v, 0), 100));
            break;
        }
        case 4:
            StoreComm();
            SaveRuntime();
            ReleaseKeys();
            MainMenu.Show(0);
            return;
        case 3:
            CommRuntime.volume = VolumeBefore;
            StoreComm();
            CloseMenuKeysAndBox();
            return;
        default:
            return;
    }
    StoreComm();
}

void SquelchThresholdEditor(int32_t command) {
    switch (command) {
        case EditorCmdOpen:
            SquelchBefore = CommRuntime.squelchLevel;
            CloseMenuKeysAndBox();
            Keyboard.Clear();  // the screen's keys that closing the box bound
            Keyboard.BindNone(AllKeys);
            DevicesPageShown = 1;
            Keyboard.Bind(KeyRightPush, LabelSet, SquelchThresholdEditor, 4);
            Keyboard.Bind(KeySoft3, LabelCancel, SquelchThresholdEditor, 3);
            Keyboard.Bind(KeyRightTurnLeft, 0, SquelchThresholdEditor, 1);
            Keyboard.Bind(KeyRightTurnRight, 0, SquelchThresholdEditor, 2);
            PercentSlider2Shown = 1;
            return;
        case 1:
        case 2: {
            const int even = CommRuntime.squelchLevel & ~1;
            const int v = even + (command == 2 ? 2 : -2);
            CommRuntime.squelchLevel = static_cast<uint8_t>(std::min(std::max(v, 0), 100));
            break;
        }
        case 4:
        case 3:
            if (command == 4)
                SaveRuntime();
            else
                CommRuntime.squelchLevel = SquelchBefore;
            StoreComm();
            MainMenuKeys(-1);
            OpenRadioPagePath(false);
            DevicesPageShown = 1;
            return;
        default:
            return;
    }
    StoreComm();
}

void ToggleSquelch(int32_t) {
    CommRuntime.squelch = static_cast<int16_t>(CommRuntime.squelch ^ 1);
    OneSecondCountdown[CountdownSquelch] = 3;
    StoreComm();
    SaveRuntime();
}

void SwapActiveStandby(int32_t) {
    std::swap(CommRuntime.active, CommRuntime.standby);
    CommRuntime.memoryIndex = 255;
    StoreComm();
    SaveRuntime();
}

int RecallFrequencyMemory(int32_t index) {
    if (index < 0 || index >= FreqMemoryCount) return 0;
    const int32_t frequency = FreqMemorySetting[index].frequency;
    if (frequency == 0) return 0;
    CommRuntime.standby = CommRuntime.active;
    CommRuntime.active = frequency;
    CommRuntime.memoryIndex = static_cast<uint8_t>(index);
    StoreComm();
    SaveRuntime();
    return 1;
}

// ---------------------------------------------------------------- transponder

uint16_t PackSquawk(int32_t decimal) {
    decimal = std::min(std::max(decimal, 0), 9999);
    uint16_t packed = 0;
    for (int shift = 0; shift < 16; shift += 4, decimal /= 10)
        packed = static_cast<uint16_t>(packed | (std::min(decimal % 10, 7) << shift));
    return packed;
}

int32_t UnpackSquawk(uint16_t nibbles) {
    int32_t decimal = 0;
    for (int shift = 12; shift >= 0; shift -= 4) decimal = decimal * 10 + std::min((nibbles >> shift) & 0xF, 7);
    return decimal;
}

int32_t StepSquawkDigit(int32_t code, int cursor, int up) {
    if (cursor < 0 || cursor > 3) return code;
    code = UnpackSquawk(PackSquawk(code));
    static const int32_t power[4] = {1, 10, 100, 1000};
    const int32_t d = power[cursor];
    const int digit = code / d % 10;
    const int moved = (digit + (up ? 1 : 7)) % 8;
    return code + (moved - digit) * d;
}

void SquawkCodeEditor(int32_t command) {
    switch (command) {
        case EditorCmdOpen:
            EditValue = UnpackSquawk(XpdrRuntime.squawk);
            OpenEditor(0, 9999, &EditValue, SquawkCodeEditor, EditorCmdDown, 16);
            Editor.cursor = 3;
            SquawkEditorState = 1;
            HoldEditorKeys();
            MarkValueEditor(EdSquawk, &EditValue);
            break;
        case EditorCmdDown:
        case EditorCmdUp:
            EditValue = StepSquawkDigit(EditValue, Editor.cursor, command == EditorCmdUp);
            break;
        case 16:
            Editor.cursor = Editor.cursor <= 0 ? 3 : Editor.cursor - 1;
            break;
        case EditorCmdOk:
            SquawkEditorState = 0;
            PendingSquawk = PackSquawk(EditValue);
            SetSquawkCode(2);
            break;
        case EditorCmdCancel:
            GetSS(SsXpdrRuntime, 0);
            SquawkEditorState = 0;
            ReleaseKeys();
            break;
        case 10:
            Keyboard.Clear();
            Keyboard.SetMode(29);
            // The transponder panel replaces the COMM panel's standby frequency box.
            FreqEditorShown = 0;
            ValueEditorMarks[EdRadioFrequency].open = 0;
            EditValue = UnpackSquawk(XpdrRuntime.squawk);
            Editor.cursor = -1;
            SquawkEditorState = 2;
            MarkValueEditor(EdSquawk, &EditValue);
            break;
        default:
            break;
    }
}

void SetSquawkCode(int32_t kind) {
    switch (kind) {
        case 1:
        case 2:
            if (EmergencySquawk(PendingSquawk)) {
                GuiMessageBox(EmergencyQuestion(PendingSquawk), 1, KeySoft3, LabelYes, SetSquawkCode, kind + 2);
                Keyboard.Bind(KeySoft4, LabelNo, SetSquawkCode, kind + 4);
                return;
            }
            [[fallthrough]];
        case 3:
        case 4:
            XpdrRuntime.squawk = PendingSquawk;
            SetSS(SsXpdrRuntime, 0);
            SaveRuntime();
            ReleaseKeys();
            return;
        case 5:
            MainMenuKeys(-1);
            GetSS(SsXpdrRuntime, 0);
            MainMenu.OpenPage(PageEmergencySquawk);
            return;
        case 6:
            GetSS(SsXpdrRuntime, 0);
            SquawkCodeEditor(EditorCmdOpen);
            EditValue = UnpackSquawk(PendingSquawk);
            return;
        default:
            return;
    }
}

void SetXpdrMode(int32_t mode) {
    if (mode == -2) {
        if (!IdentHold) return;
        if ((IdentHold & 0xFF) > 1) {
            --IdentHold;
            return;
        }
        if (XpdrReplying && XpdrReplying()) return;
        XpdrRuntime.ident = 0;
        XpdrRuntime.mode = static_cast<uint8_t>(std::min(IdentHold >> 8, 2));
        IdentHold = 0;
        SetSS(SsXpdrRuntime, 0);
        SaveRuntime();
        return;
    }
    if (mode == -1) mode = (XpdrRuntime.mode + 1) % 3;
    if (mode < 0 || mode > 2) return;
    if (XpdrRuntime.ident && !IdentHold) IdentHold = std::min<int>(XpdrRuntime.mode, 2) * 256 + 5;
    XpdrRuntime.mode = static_cast<uint8_t>(mode);
    SetSS(SsXpdrRuntime, 0);
    if (!IdentHold) SaveRuntime();
}

void StartIdent(int32_t) {
    XpdrRuntime.ident = 1;
    SetXpdrMode(2);
}

int VfrSquawkLabel(int code) { return code == 0x1200 ? LabelVfr1200 : code == 0x7000 ? LabelVfr7000 : LabelNone; }

// ---------------------------------------------------------------- refresh links

void ClearScreenKeys() {
    Keyboard.Clear();
    FreqEditorShown = 0;
    MemoryLabelEditorShown = 0;
    SquawkEditorState = 0;
    PercentSlider1Shown = PercentSlider2Shown = LevelSliderShown = 0;
    ResetEditorFlags();
}

namespace {

void SquawkEditorChangedHook() { SquawkEditorState = 0; }
void ApplyXpdrModeHook(int mode) { SetXpdrMode(mode); }
void XpdrIdentTickHook() {
    if (IdentHold) SetXpdrMode(-2);
}

}  // namespace

void InstallScreenKeyLinks() {
    RefreshHooks.BindScreenKeys = BindScreenKeys;
    RefreshHooks.ClearSoftKeys = ClearScreenKeys;
    RefreshHooks.SquawkEditorChanged = SquawkEditorChangedHook;
    RefreshHooks.ApplyXpdrMode = ApplyXpdrModeHook;
    RefreshHooks.XpdrIdentTick = XpdrIdentTickHook;
    InstallKeyGlueLinks();
    InstallSetupEntryLinks();
}
