// The soft-key table: what each of the ten bezel keys (bezelkeys.h) does at any moment.
// A bound key runs its callback; an unbound one goes to the default handler with the
// soft-key mode and the key code. The mode (1..29) gives the six keys' default labels
// and the menu page that the next Show(1) displays.
#pragma once

#include <cstdint>
#include <vector>

#include "softkeys.h"

class ThlavniMenu;

// Key callback: one signed 32-bit argument.
typedef void (*TKeyCallback)(int32_t argument);
// Default handler: (mode, key code).
typedef void (*TDefaultKeyHandler)(int mode, int keyCode);

// The key code of a key character: sign-extended and ORed with 0x100 ('0' is 0x130).
constexpr int32_t KeyCode(char c) { return static_cast<int32_t>(static_cast<signed char>(c)) | 0x100; }

struct EVENT_ITEM {
    int32_t key;            // key code
    uint8_t label;          // label id, 0 none
    TKeyCallback callback;  // null: bound to nothing
    int32_t argument;
};

// ---- constant tables ----

struct TKeyLabel {
    uint8_t id;      // 1..102; 255 ends the table
    int32_t offset;  // into KeyLabelPool
    int32_t length;
};

struct TKeyMode {
    uint8_t mode;       // 1..29; 255 ends the table
    uint8_t zero;
    int16_t page;       // menu page, 0 none
    int32_t layoutRow;  // first row in KeyLayouts: 7 x (mode - 1)
};
static_assert(sizeof(TKeyMode) == 8, "mode row: mode, zero, page, layout row");

struct TKeyLayout {
    int32_t key;     // key code; 0 ends the mode's group
    uint8_t label;   // label id, 0 none
    uint8_t zero[3];
};
static_assert(sizeof(TKeyLayout) == 8, "layout row: key code, label, zeros");

constexpr int KeyLabelCount = 102;
constexpr int KeyModeCount = 29;
constexpr int KeyLayoutRows = 7 * KeyModeCount;

extern const char KeyLabelPool[];
extern const TKeyLabel (&KeyLabels)[KeyLabelCount + 1];  // offsets worked out from the pool
extern const TKeyMode KeyModes[KeyModeCount + 1];
extern const TKeyLayout KeyLayouts[KeyLayoutRows];

const TKeyLabel* FindKeyLabel(int labelId);
// The untranslated text of a label id; "" for 0 or an unknown id.
const char* KeyLabelText(int labelId);

class Tklavesnice {
public:
    std::vector<EVENT_ITEM> bindings;  // at most one per key code, in binding order
    uint8_t modeByte = 0;              // 0 when the last mode asked for is not in the table
    uint8_t zero = 0;
    int16_t menuPage = 0;
    int32_t layoutRow = 0;
    ThlavniMenu* menu = nullptr;
    uint8_t mode = 0;
    TDefaultKeyHandler defaultHandler = nullptr;

    Tklavesnice() = default;
    ~Tklavesnice() = default;
    Tklavesnice(const Tklavesnice&) = delete;
    Tklavesnice& operator=(const Tklavesnice&) = delete;

    void Dispatch(int key);
    void Bind(int key, int labelId, TKeyCallback callback, int32_t argument);
    void BindNone(const char* keys);
    void Clear();
    // Translated label of a key character; "" for none.
    const char* GetKeyLabel(int key);
    void SetMode(int newMode);
    void SetMenu(ThlavniMenu* m) { menu = m; }
    void SetDefaultHandler(TDefaultKeyHandler handler) { defaultHandler = handler; }
    int GetMode() const { return mode; }
    const EVENT_ITEM* FindBinding(int keyCode) const;
};
