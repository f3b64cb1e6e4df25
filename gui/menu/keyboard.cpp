#include "keyboard.h"

#include <libintl.h>

#include "keyglue.h"
#include "menu.h"
#include "screenkeys.h"
#include "settingvars.h"

#define gettext_noop(s) s

namespace {

constexpr int32_t K(char c) { return KeyCode(c); }

}  // namespace

// The label texts, NUL-separated; message ids of the catalogues.
const char KeyLabelPool[] =
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

const TKeyLabel KeyLabels[KeyLabelCount + 1] = {
    {1, 0, 6},
    {2, 7, 4},
    {3, 12, 10},
    {4, 23, 9},
    {5, 33, 7},
    {6, 41, 3},
    {7, 45, 3},
    {8, 49, 3},
    {9, 53, 2},
    {10, 56, 11},
    {11, 68, 10},
    {12, 79, 3},
    {13, 83, 5},
    {14, 89, 7},
    {15, 97, 4},
    {16, 102, 4},
    {17, 107, 8},
    {18, 116, 3},
    {19, 120, 10},
    {20, 131, 6},
    {21, 138, 10},
    {22, 149, 6},
    {23, 156, 9},
    {24, 166, 3},
    {25, 170, 7},
    {26, 178, 5},
    {27, 184, 3},
    {28, 188, 11},
    {29, 200, 11},
    {30, 212, 11},
    {31, 224, 4},
    {32, 229, 3},
    {33, 233, 5},
    {34, 239, 9},
    {35, 249, 7},
    {36, 257, 10},
    {37, 268, 4},
    {38, 273, 6},
    {39, 280, 3},
    {40, 284, 2},
    {41, 287, 7},
    {42, 295, 4},
    {43, 300, 4},
    {44, 305, 8},
    {45, 314, 6},
    {46, 321, 10},
    {47, 332, 4},
    {48, 337, 4},
    {49, 342, 10},
    {50, 353, 13},
    {51, 367, 10},
    {52, 378, 13},
    {53, 392, 3},
    {54, 396, 2},
    {55, 399, 3},
    {56, 403, 3},
    {57, 407, 3},
    {58, 411, 4},
    {59, 416, 4},
    {60, 421, 8},
    {61, 430, 8},
    {62, 439, 5},
    {63, 445, 13},
    {64, 459, 9},
    {65, 469, 4},
    {66, 474, 2},
    {67, 477, 9},
    {68, 487, 6},
    {69, 494, 5},
    {70, 500, 4},
    {71, 505, 6},
    {72, 512, 7},
    {73, 520, 7},
    {74, 528, 4},
    {75, 533, 5},
    {76, 539, 6},
    {77, 546, 4},
    {78, 551, 3},
    {79, 555, 4},
    {80, 560, 8},
    {81, 569, 5},
    {82, 575, 13},
    {83, 589, 4},
    {84, 594, 3},
    {85, 598, 4},
    {86, 603, 7},
    {87, 611, 6},
    {88, 618, 4},
    {89, 623, 3},
    {90, 627, 7},
    {91, 635, 4},
    {92, 640, 5},
    {93, 646, 7},
    {94, 654, 9},
    {95, 664, 7},
    {96, 672, 7},
    {97, 680, 6},
    {98, 687, 8},
    {99, 696, 9},
    {100, 706, 9},
    {101, 716, 4},
    {102, 721, 4},
    {255, 0, 0},
};

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
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 0, {}}, {0, 0, {}},  // 1
    {K('5'), 0, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 0, {}}, {0, 0, {}},  // 2
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 0, {}}, {0, 0, {}},  // 3
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 0, {}}, {K('2'), 96, {}}, {K('0'), 4, {}}, {K('4'), 0, {}}, {0, 0, {}},  // 4
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 5, {}}, {0, 0, {}},  // 5
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 7, {}}, {0, 0, {}},  // 6
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 7, {}}, {0, 0, {}},  // 7
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 32, {}}, {0, 0, {}},  // 8
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 17, {}}, {K('2'), 0, {}}, {K('0'), 4, {}}, {K('4'), 6, {}}, {0, 0, {}},  // 9
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 0, {}}, {K('2'), 96, {}}, {K('0'), 4, {}}, {K('4'), 5, {}}, {0, 0, {}},  // 10
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 0, {}}, {K('2'), 96, {}}, {K('0'), 4, {}}, {K('4'), 7, {}}, {0, 0, {}},  // 11
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 0, {}}, {K('2'), 96, {}}, {K('0'), 4, {}}, {K('4'), 7, {}}, {0, 0, {}},  // 12
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 0, {}}, {K('2'), 96, {}}, {K('0'), 4, {}}, {K('4'), 32, {}}, {0, 0, {}},  // 13
    {K('5'), 1, {}}, {K('1'), 3, {}}, {K('3'), 0, {}}, {K('2'), 96, {}}, {K('0'), 4, {}}, {K('4'), 6, {}}, {0, 0, {}},  // 14
    {K('5'), 1, {}}, {K('1'), 2, {}}, {K('3'), 17, {}}, {K('2'), 33, {}}, {K('0'), 0, {}}, {K('4'), 34, {}}, {0, 0, {}},  // 15
    {K('5'), 0, {}}, {K('1'), 2, {}}, {K('3'), 36, {}}, {K('2'), 33, {}}, {K('0'), 0, {}}, {K('4'), 34, {}}, {0, 0, {}},  // 16
    {K('5'), 6, {}}, {K('1'), 2, {}}, {K('3'), 64, {}}, {K('2'), 63, {}}, {K('0'), 0, {}}, {K('4'), 67, {}}, {0, 0, {}},  // 17
    {K('5'), 65, {}}, {K('1'), 2, {}}, {K('3'), 64, {}}, {K('2'), 63, {}}, {K('0'), 0, {}}, {K('4'), 67, {}}, {0, 0, {}},  // 18
    {K('5'), 6, {}}, {K('1'), 2, {}}, {K('3'), 64, {}}, {K('2'), 63, {}}, {K('0'), 0, {}}, {K('4'), 67, {}}, {0, 0, {}},  // 19
    {K('5'), 65, {}}, {K('1'), 2, {}}, {K('3'), 64, {}}, {K('2'), 63, {}}, {K('0'), 0, {}}, {K('4'), 67, {}}, {0, 0, {}},  // 20
    {K('5'), 0, {}}, {K('1'), 0, {}}, {K('3'), 0, {}}, {K('2'), 14, {}}, {K('0'), 0, {}}, {K('4'), 0, {}}, {0, 0, {}},  // 21
    {K('5'), 0, {}}, {K('1'), 0, {}}, {K('3'), 0, {}}, {K('2'), 0, {}}, {K('0'), 0, {}}, {K('4'), 0, {}}, {0, 0, {}},  // 22
    {K('5'), 45, {}}, {K('1'), 45, {}}, {K('3'), 45, {}}, {K('2'), 45, {}}, {K('0'), 45, {}}, {K('4'), 45, {}}, {0, 0, {}},  // 23
    {K('5'), 45, {}}, {K('1'), 0, {}}, {K('3'), 79, {}}, {K('2'), 77, {}}, {K('0'), 0, {}}, {K('4'), 81, {}}, {0, 0, {}},  // 24
    {K('5'), 45, {}}, {K('1'), 0, {}}, {K('3'), 80, {}}, {K('2'), 78, {}}, {K('0'), 0, {}}, {K('4'), 81, {}}, {0, 0, {}},  // 25
    {K('5'), 45, {}}, {K('1'), 0, {}}, {K('3'), 83, {}}, {K('2'), 82, {}}, {K('0'), 0, {}}, {K('4'), 84, {}}, {0, 0, {}},  // 26
    {K('5'), 45, {}}, {K('1'), 0, {}}, {K('3'), 85, {}}, {K('2'), 76, {}}, {K('0'), 0, {}}, {K('4'), 86, {}}, {0, 0, {}},  // 27
    {K('0'), 87, {}}, {K('1'), 90, {}}, {K('2'), 88, {}}, {K('3'), 45, {}}, {K('4'), 89, {}}, {K('5'), 16, {}}, {0, 0, {}},  // 28
    {K('0'), 0, {}}, {K('1'), 93, {}}, {K('2'), 91, {}}, {K('3'), 92, {}}, {K('4'), 0, {}}, {K('5'), 45, {}}, {0, 0, {}},  // 29
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
    if (mode == 29) Bind('4', VfrSquawkLabel(VfrCodeSetting.code), VfrSquawkKey, 0);
}
