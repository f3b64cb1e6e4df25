#include "keyboard.h"

#include <libintl.h>

#include "keyglue.h"
#include "menu.h"
#include "screenkeys.h"
#include "settingvars.h"
#include "softkeys.h"
#include "textpool.h"

#define gettext_noop(s) s

namespace {

// One row of a mode's group: a key and its default label.
constexpr TKeyLayout R(char key, uint8_t label) { return TKeyLayout{KeyCode(key), label, {}}; }
constexpr TKeyLayout GroupEnd = {0, 0, {}};

}  // namespace

// The label texts, NUL-separated; message ids of the catalogues.
constexpr char KeyLabelPool[] =
    gettext_noop("Screen") "\0"  // 1
    gettext_noop("Menu") "\0"  // 2
    gettext_noop("Menu\xB7 Baro") "\0"  // 3
    gettext_noop("Menu\xB7 HDG") "\0"  // 4
    gettext_noop("VOR/LOC") "\0"  // 5
    gettext_noop("EMS") "\0"  // 6
    gettext_noop("GPS") "\0"  // 7
    gettext_noop("TWR") "\0"  // 8
    gettext_noop("AP") "\0"  // 9
    gettext_noop("Set \xB7  Edit") "\0"  // 10
    gettext_noop("Start/Stop") "\0"  // 11
    gettext_noop("Set") "\0"  // 12
    gettext_noop("Reset") "\0"  // 13
    gettext_noop("Confirm") "\0"  // 14
    gettext_noop("COMM") "\0"  // 15
    gettext_noop("XPDR") "\0"  // 16
    gettext_noop("COM/XPDR") "\0"  // 17
    gettext_noop("Max") "\0"  // 18
    gettext_noop("Brightness") "\0"  // 19
    gettext_noop("Select") "\0"  // 20
    gettext_noop("Set weight") "\0"  // 21
    gettext_noop("Center") "\0"  // 22
    gettext_noop("Set press") "\0"  // 23
    gettext_noop("QFE") "\0"  // 24
    gettext_noop("1013.25") "\0"  // 25
    gettext_noop("29.92") "\0"  // 26
    gettext_noop("760") "\0"  // 27
    gettext_noop("Set \xB7  Edit") "\0"  // 28
    gettext_noop("Set \xB7  Edit") "\0"  // 29
    gettext_noop("Set \xB7  Edit") "\0"  // 30
    gettext_noop("Hide") "\0"  // 31
    gettext_noop("APR") "\0"  // 32
    gettext_noop("Timer") "\0"  // 33
    gettext_noop("Statistic") "\0"  // 34
    gettext_noop("Warning") "\0"  // 35
    gettext_noop("Checklist ") "\0"  // 36
    gettext_noop("Back") "\0"  // 37
    gettext_noop("Repeat") "\0"  // 38
    gettext_noop("Off") "\0"  // 39
    gettext_noop("On") "\0"  // 40
    gettext_noop("Disable") "\0"  // 41
    gettext_noop("Next") "\0"  // 42
    gettext_noop("Done") "\0"  // 43
    gettext_noop("Position") "\0"  // 44
    gettext_noop("Cancel") "\0"  // 45
    gettext_noop("Edit value") "\0"  // 46
    gettext_noop("Play") "\0"  // 47
    gettext_noop("Stop") "\0"  // 48
    gettext_noop("Next track") "\0"  // 49
    gettext_noop("Preview track") "\0"  // 50
    gettext_noop("MP3 Player") "\0"  // 51
    gettext_noop("Delete values") "\0"  // 52
    gettext_noop("Yes") "\0"  // 53
    gettext_noop("No") "\0"  // 54
    gettext_noop("V/S") "\0"  // 55
    gettext_noop("NAV") "\0"  // 56
    gettext_noop("TRK") "\0"  // 57
    gettext_noop("V/AP") "\0"  // 58
    gettext_noop("H/AP") "\0"  // 59
    gettext_noop("Off H/AP") "\0"  // 60
    gettext_noop("Off V/AP") "\0"  // 61
    gettext_noop("Setup") "\0"  // 62
    gettext_noop("Save and Exit") "\0"  // 63
    gettext_noop("Only Exit") "\0"  // 64
    gettext_noop("EFIS") "\0"  // 65
    gettext_noop("OK") "\0"  // 66
    gettext_noop("Data Port") "\0"  // 67
    gettext_noop(" + / -") "\0"  // 68
    gettext_noop("Clear") "\0"  // 69
    gettext_noop("Pane") "\0"  // 70
    gettext_noop("Access") "\0"  // 71
    gettext_noop("Default") "\0"  // 72
    gettext_noop("Execute") "\0"  // 73
    gettext_noop("Stop") "\0"  // 74
    gettext_noop("AP FN") "\0"  // 75
    gettext_noop("AP OFF") "\0"  // 76
    gettext_noop("Both") "\0"  // 77
    gettext_noop("All") "\0"  // 78
    gettext_noop("Roll") "\0"  // 79
    gettext_noop("Roll+Yaw") "\0"  // 80
    gettext_noop("Pitch") "\0"  // 81
    gettext_noop("Stabilization") "\0"  // 82
    gettext_noop("Bugs") "\0"  // 83
    gettext_noop("NAV") "\0"  // 84
    gettext_noop("Axis") "\0"  // 85
    gettext_noop("Control") "\0"  // 86
    gettext_noop("Volume") "\0"  // 87
    gettext_noop("<-->") "\0"  // 88
    gettext_noop("Mem") "\0"  // 89
    gettext_noop("Set SBY") "\0"  // 90
    gettext_noop("Mode") "\0"  // 91
    gettext_noop("IDENT") "\0"  // 92
    gettext_noop("Set Sqw") "\0"  // 93
    gettext_noop("Update FW") "\0"  // 94
    gettext_noop("Pwr off") "\0"  // 95
    gettext_noop("Hor/Cam") "\0"  // 96
    gettext_noop("Camera") "\0"  // 97
    gettext_noop("Horizont") "\0"  // 98
    gettext_noop("CPSP Info") "\0"  // 99
    gettext_noop("Reload UI") "\0"  // 100
    gettext_noop("1200") "\0"  // 101
    gettext_noop("7000") "\0"  // 102
;

// Label id n is the n-th text of the pool.
constexpr TPoolRows<TKeyLabel, KeyLabelCount> LabelTable = PoolRows<TKeyLabel, KeyLabelCount>(KeyLabelPool, 255);

const TKeyLabel (&KeyLabels)[KeyLabelCount + 1] = LabelTable.rows;

// Modes 1 to 27 store their keys in the order '5', '1', '3', '2', '0', '4'; the label
// search stops at the first match, so the order never changes a label.
const TKeyMode KeyModes[KeyModeCount + 1] = {
    {1, 0, PageFlightMain, 0},
    {2, 0, PageFlightMain, 7},
    {3, 0, PageFlightMain, 14},
    {4, 0, PageFlightMain, 21},
    {5, 0, PageFlightMain, 28},
    {6, 0, PageFlightMain, 35},
    {7, 0, PageFlightMainObs, 42},
    {8, 0, PageFlightMain, 49},
    {9, 0, PageFlightMain, 56},
    {10, 0, PageFlightMain, 63},
    {11, 0, PageFlightMain, 70},
    {12, 0, PageFlightMainObs, 77},
    {13, 0, PageFlightMain, 84},
    {14, 0, PageFlightMain, 91},
    {15, 0, PageEngineMain, 98},
    {16, 0, PageEngineMain, 105},
    {17, 0, PageSetupInstallerFlight, 112},
    {18, 0, PageSetupInstallerEngine, 119},
    {19, 0, PageSetupUserFlight, 126},
    {20, 0, PageSetupUserEngine, 133},
    {21, 0, PageNone, 140},
    {22, 0, PageNone, 147},
    {23, 0, PageNone, 154},
    {24, 0, PageNone, 161},
    {25, 0, PageNone, 168},
    {26, 0, PageNone, 175},
    {27, 0, PageNone, 182},
    {28, 0, PageNone, 189},
    {29, 0, PageNone, 196},
    {255, 0, PageNone, 0},
};

const TKeyLayout KeyLayouts[KeyLayoutRows] = {
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 1
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelNone), GroupEnd,
    R(KeySoft4, LabelNone), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 2
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelNone), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 3
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelNone), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelNone),  // mode 4
        R(KeySoft1, LabelHorCam), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelNone), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 5
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelVorLoc), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 6
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelGps), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 7
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelGps), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 8
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelApr), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelComXpdr),  // mode 9
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelEms), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelNone),  // mode 10
        R(KeySoft1, LabelHorCam), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelVorLoc), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelNone),  // mode 11
        R(KeySoft1, LabelHorCam), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelGps), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelNone),  // mode 12
        R(KeySoft1, LabelHorCam), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelGps), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelNone),  // mode 13
        R(KeySoft1, LabelHorCam), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelApr), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenuBaro), R(KeySoft2, LabelNone),  // mode 14
        R(KeySoft1, LabelHorCam), R(KeyLeftPush, LabelMenuHdg), R(KeySoft3, LabelEms), GroupEnd,
    R(KeySoft4, LabelScreen), R(KeyRightPush, LabelMenu), R(KeySoft2, LabelComXpdr),  // mode 15
        R(KeySoft1, LabelTimer), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelStatistic), GroupEnd,
    R(KeySoft4, LabelNone), R(KeyRightPush, LabelMenu), R(KeySoft2, LabelChecklist),  // mode 16
        R(KeySoft1, LabelTimer), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelStatistic), GroupEnd,
    R(KeySoft4, LabelEms), R(KeyRightPush, LabelMenu), R(KeySoft2, LabelOnlyExit),  // mode 17
        R(KeySoft1, LabelSaveAndExit), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelDataPort), GroupEnd,
    R(KeySoft4, LabelEfis), R(KeyRightPush, LabelMenu), R(KeySoft2, LabelOnlyExit),  // mode 18
        R(KeySoft1, LabelSaveAndExit), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelDataPort), GroupEnd,
    R(KeySoft4, LabelEms), R(KeyRightPush, LabelMenu), R(KeySoft2, LabelOnlyExit),  // mode 19
        R(KeySoft1, LabelSaveAndExit), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelDataPort), GroupEnd,
    R(KeySoft4, LabelEfis), R(KeyRightPush, LabelMenu), R(KeySoft2, LabelOnlyExit),  // mode 20
        R(KeySoft1, LabelSaveAndExit), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelDataPort), GroupEnd,
    R(KeySoft4, LabelNone), R(KeyRightPush, LabelNone), R(KeySoft2, LabelNone),  // mode 21
        R(KeySoft1, LabelConfirm), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelNone), GroupEnd,
    R(KeySoft4, LabelNone), R(KeyRightPush, LabelNone), R(KeySoft2, LabelNone),  // mode 22
        R(KeySoft1, LabelNone), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelNone), GroupEnd,
    R(KeySoft4, LabelCancel), R(KeyRightPush, LabelCancel), R(KeySoft2, LabelCancel),  // mode 23
        R(KeySoft1, LabelCancel), R(KeyLeftPush, LabelCancel), R(KeySoft3, LabelCancel), GroupEnd,
    R(KeySoft4, LabelCancel), R(KeyRightPush, LabelNone), R(KeySoft2, LabelRoll),  // mode 24
        R(KeySoft1, LabelBoth), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelPitch), GroupEnd,
    R(KeySoft4, LabelCancel), R(KeyRightPush, LabelNone), R(KeySoft2, LabelRollPlusYaw),  // mode 25
        R(KeySoft1, LabelAll), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelPitch), GroupEnd,
    R(KeySoft4, LabelCancel), R(KeyRightPush, LabelNone), R(KeySoft2, LabelBugs),  // mode 26
        R(KeySoft1, LabelStabilization), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelApNav), GroupEnd,
    R(KeySoft4, LabelCancel), R(KeyRightPush, LabelNone), R(KeySoft2, LabelAxis),  // mode 27
        R(KeySoft1, LabelApOff), R(KeyLeftPush, LabelNone), R(KeySoft3, LabelControl), GroupEnd,
    R(KeyLeftPush, LabelVolume), R(KeyRightPush, LabelSetSby), R(KeySoft1, LabelSwap),  // mode 28
        R(KeySoft2, LabelCancel), R(KeySoft3, LabelMem), R(KeySoft4, LabelXpdr), GroupEnd,
    R(KeyLeftPush, LabelNone), R(KeyRightPush, LabelSetSqw), R(KeySoft1, LabelMode),  // mode 29
        R(KeySoft2, LabelIdent), R(KeySoft3, LabelNone), R(KeySoft4, LabelCancel), GroupEnd,
};

const TKeyLabel* FindKeyLabel(int labelId) {
    for (const TKeyLabel* row = KeyLabels; row->id != 255; ++row)
        if (row->id == labelId) return row;
    return nullptr;
}

const char* KeyLabelText(int labelId) {
    const TKeyLabel* row = labelId ? FindKeyLabel(labelId) : nullptr;
    return row ? KeyLabelPool + row->offset : "";
}

const EVENT_ITEM* Tklavesnice::FindBinding(int keyCode) const {
    for (const EVENT_ITEM& b : bindings)
        if (b.key == keyCode) return &b;
    return nullptr;
}

void Tklavesnice::Dispatch(int key) {
    const int32_t code = KeyCode(static_cast<char>(key));
    if (const EVENT_ITEM* b = FindBinding(code)) {
        // The callback rebinds freely: take what it needs before the list changes.
        const TKeyCallback callback = b->callback;
        const int32_t argument = b->argument;
        if (callback) callback(argument);
        return;
    }
    if (defaultHandler) defaultHandler(mode, code);
}

void Tklavesnice::Bind(int key, int labelId, TKeyCallback callback, int32_t argument) {
    const int32_t code = KeyCode(static_cast<char>(key));
    for (auto it = bindings.begin(); it != bindings.end(); ++it) {
        if (it->key == code) {
            bindings.erase(it);
            break;
        }
    }
    bindings.push_back(EVENT_ITEM{code, static_cast<uint8_t>(labelId), callback, argument});
}

void Tklavesnice::BindNone(const char* keys) {
    if (!keys) return;
    for (; *keys; ++keys) Bind(*keys, 0, nullptr, 0);
}

void Tklavesnice::Clear() { bindings.clear(); }

const char* Tklavesnice::GetKeyLabel(int key) {
    const int32_t code = KeyCode(static_cast<char>(key));
    const char* text = "";
    if (const EVENT_ITEM* b = FindBinding(code)) {
        text = KeyLabelText(b->label);
    } else if (modeByte != 0 && layoutRow >= 0 && layoutRow < KeyLayoutRows) {
        for (int row = layoutRow; row < KeyLayoutRows && KeyLayouts[row].key != 0; ++row) {
            if (KeyLayouts[row].key == code) {
                text = KeyLabelText(KeyLayouts[row].label);
                break;
            }
        }
    }
    return *text ? gettext(text) : "";
}

void Tklavesnice::SetMode(int newMode) {
    const TKeyMode* found = nullptr;
    for (const TKeyMode* row = KeyModes; row->mode != 255; ++row) {
        if (row->mode == newMode) {
            found = row;
            break;
        }
    }
    if (!found) {
        modeByte = 0;
        mode = 0;
        return;
    }
    modeByte = found->mode;
    zero = found->zero;
    menuPage = found->page;
    layoutRow = found->layoutRow;
    mode = found->mode;
    if (menu) {
        menu->Show(0);
        if (menuPage != 0) menu->OpenPage(menuPage);
    }
    if (mode == 29) Bind(KeySoft3, VfrSquawkLabel(VfrCodeSetting.code), VfrSquawkKey, 0);
}
