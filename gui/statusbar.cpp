#include "statusbar.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "averdata.h"
#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkmeasure.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "units.h"

int KeyBarHeight = 15;
int KeyAlarmBlink = 0;
const char* (*SoftKeyLabel)(int key) = nullptr;

namespace {

constexpr FGPixel DemoRed = 0xF80000;
constexpr FGPixel SliderGreen = 0x00F800;
constexpr int CaptionFont = 8;
constexpr int CaptionY = 462;  // the resting place; a held key raises the captions by 7

constexpr TDisplayItem Caption(int x, int width) {
    return TDisplayItem{x, CaptionY, {}, ItemLabel, 0, CaptionFont, width, 16, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
}

}  // namespace

TDisplayItem SoftKeyCaptions8[SoftKeyCaptions8Rows] = {
    Caption(4, 84),    Caption(94, 100),  Caption(194, 100), Caption(294, 100), Caption(394, 100),
    Caption(494, 100), Caption(594, 100), Caption(700, 84),  Caption(0, 800),
};
TDisplayItem SoftKeyCaptions6[SoftKeyCaptions6Rows] = {
    Caption(10, 90),  Caption(119, 100), Caption(239, 100), Caption(459, 100),
    Caption(579, 100), Caption(699, 90), Caption(339, 120),
};

namespace {

bool EightKeys() { return (LayoutCaps & 0x100) != 0; }

const char* Label(int key) {
    const char* label = SoftKeyLabel ? SoftKeyLabel(key) : nullptr;
    return label ? label : "";
}

// The status font: 16 px of the language's font set.
int StatusFont() { return LanguageFont(FontEuromode16, FontMsRefSans16); }

bool Read(uint32_t id, int32_t& value) {
    return AverReader && AverReader->GetValue(id, value) == 0;
}

// A channel read straight from the block in a fixed-point type (7: 2, 8: 3 decimals).
bool ReadFixed(uint32_t id, int type, int32_t& value, uint64_t* stamp = nullptr) {
    if (!AverReader || !AverReader->Vals) return false;
    return AverReader->Vals->GetVal(id, value, type, stamp) >= 0 && value != NoValue;
}

// Text opaque at (x, y) in the focus colour with a frame of the text's width, 17 high.
void FramedText(FGDrawBuffer* w, int x, int y, const char* text) {
    w->set_mode(DrawModeCopy);
    w->text(x, y, text, DisplayPalette.PalFocusYellow, DisplayPalette.PalBlack);
    w->box(x, y, FGFontManager::textwidth(w->get_font(), text), 17, DisplayPalette.PalFocusYellow);
}

void StatusLine(FGDrawBuffer* w) {
    char text[128] = "";
    if (StatusInputFlags[0]) {
        if (RefreshValues.batRemain == NoValue)
            std::snprintf(text, sizeof text, " %s  ", gettext("BATTERY POWER"));
        else
            std::snprintf(text, sizeof text, " %s: %d %s ", gettext("BATTERY POWER"),
                          static_cast<int>(RefreshValues.batRemain / 60), gettext("min"));
    } else if (StatusInputFlags[1]) {
        std::snprintf(text, sizeof text, " %s ", gettext("EXTERNAL POWER"));
    }
    if (!text[0] && PowerOffMonitoring && PowerOffMissCount != 0)
        std::snprintf(text, sizeof text, " %s ", gettext("MAIN SWITCH OFF"));
    if (OneSecondCountdown[CountdownSquelch] > 0)
        std::snprintf(text, sizeof text, " %s %s ", gettext("Squelch"),
                      (CommRuntime.squelch & 1) ? gettext("ON") : gettext("OFF"));
    if (text[0]) FramedText(w, 0, 0, text);
}

// "%d.%d" volts and tenths of a channel in units of 10^-decimals V.
void Volts(char* buffer, size_t size, uint32_t id, int type, int32_t perVolt) {
    int32_t v;
    if (!ReadFixed(id, type, v)) {
        std::snprintf(buffer, size, "- - -");
        return;
    }
    FormatTenths(buffer, size, v / (perVolt / 10));
}

void PowerDetail(FGDrawBuffer* w) {
    if (OneSecondCountdown[CountdownPowerDetail] <= 0) return;
    char values[3][32];
    Volts(values[0], sizeof values[0], echInternalBat1, 8, 1000);
    Volts(values[1], sizeof values[1], echInternalExtBat, 7, 100);
    Volts(values[2], sizeof values[2], echInternalMainPwrs, 7, 100);
    const char* labels[3] = {gettext("BATTERY POWER:"), gettext("EXTERNAL POWER:"), gettext("MAIN INPUT POWER:")};
    char lines[3][128];
    int widths[3];
    const int font = w->get_font();
    for (int i = 0; i < 3; ++i) {
        std::snprintf(lines[i], sizeof lines[i], " %s  %s %s ", labels[i], values[i], gettext("V"));
        widths[i] = FGFontManager::textwidth(font, lines[i]);
    }
    const int width = std::max(std::max(widths[0], widths[1]), widths[2]);
    w->set_mode(DrawModeCopy);
    w->fillbox(0, 0, width, 51, DisplayPalette.PalBlack);
    const int ys[3] = {1, 17, 32};
    for (int i = 0; i < 3; ++i) w->text(0, ys[i], lines[i], DisplayPalette.PalFocusYellow, DisplayPalette.PalBlack);
    w->box(0, 0, width, 51, DisplayPalette.PalFocusYellow);
}

void DemoMark(FGDrawBuffer* w) {
    if (!InDemoMode()) return;
    const char* text = gettext("DEMO MODE");
    w->set_mode(DrawModeKeyed);
    w->text(400 - FGFontManager::textwidth(w->get_font(), text) / 2, 468, text, DemoRed, PageKeyColour);
}

void Recording(FGDrawBuffer* w) {
    int32_t input;
    if (!Read(echInternalInputStatus, input) || !(input & 0x8000)) return;
    FramedText(w, 40, 0, " SD CARD: rec ");
    int32_t v;
    uint64_t stamp = 0;
    int64_t sec;
    int32_t usec;
    if (ReadFixed(echInercialGyroX, 7, v, &stamp)) {
        sec = static_cast<int64_t>(stamp & 0xFFFFFFFFu);
        usec = static_cast<int32_t>(stamp >> 32);
    } else {
        RefreshClock(&sec, &usec);
    }
    char text[64];
    std::snprintf(text, sizeof text, "[R] %ld.%06ld  ", static_cast<long>(sec), static_cast<long>(usec));
    w->set_mode(DrawModeCopy);
    w->text(0, 150, text, WhiteColour, DisplayPalette.PalBlack);
}

void KeyButtons(FGDrawBuffer* w) {
    struct TButton {
        int key, x, width;
    };
    if (EightKeys()) {
        static const int keys[6] = {'2', '3', '6', '7', '4', '5'};
        if (Label('0')[0]) DrawKeyButton(w, SoftKeyCaptions8[0].x + 3, 458, 78, 19);
        for (int i = 0; i < 6; ++i)
            if (Label(keys[i])[0]) DrawKeyButton(w, SoftKeyCaptions8[1 + i].x + 5, 458, 90, 19);
        if (Label('1')[0]) DrawKeyButton(w, SoftKeyCaptions8[7].x + 3, 458, 78, 19);
        return;
    }
    static const TButton buttons[6] = {{'0', 10, 90},  {'2', 119, 100}, {'3', 239, 100},
                                       {'4', 459, 100}, {'5', 579, 100}, {'1', 699, 90}};
    for (const TButton& b : buttons)
        if (Label(b.key)[0]) DrawKeyButton(w, b.x, 458, b.width, 19);
}

void Slider(int x, int y, int32_t fill) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    w->set_mode(DrawModeCopy);
    w->fillbox(x, y, fill, 30, SliderGreen);
    // The empty part gets its own ground: the slider stands over gauges and tapes.
    if (fill < 300) w->fillbox(x + fill, y, 300 - fill, 30, DisplayPalette.PalBlack);
    w->box(x, y, 300, 30, WhiteColour);
}

}  // namespace

void UpdateSoftKeyCaptions(int keyHold) {
    static const int keys8[8] = {'0', '2', '3', '6', '7', '4', '5', '1'};
    static const int keys6[6] = {'0', '2', '3', '4', '5', '1'};
    const bool eight = EightKeys();
    TDisplayItem* items = eight ? SoftKeyCaptions8 : SoftKeyCaptions6;
    const int n = eight ? 8 : 6;
    const bool big = KeyPressed && keyHold > 20;
    const int bigFont = eight ? 10 : 11;
    for (int i = 0; i < n; ++i) {
        TDisplayItem& it = items[i];
        SetItemText(it.text, Label(eight ? keys8[i] : keys6[i]));
        if (big && it.fontCode != bigFont) {
            it.fontCode = bigFont;
            it.y -= 7;
        } else if (!big && it.fontCode != CaptionFont) {
            it.fontCode = CaptionFont;
            it.y += 7;
        }
    }
}

void DrawKeyButton(FGDrawBuffer* window, int x, int y, int width, int /*height*/) {
    if (!window) return;
    const bool red = KeyAlarmBlink != 0;
    const int set[3] = {red ? PicTlacitkoRed : PicTlacitko, red ? PicTlacitko1Red : PicTlacitko1,
                        red ? PicTlacitko2Red : PicTlacitko2};
    for (int slot : set)
        if (!MainPictures[slot]) return;
    FGBitmap* pic = MainPictures[width == 100 ? set[0] : width == 90 ? set[1] : set[2]];
    window->bitblt(x, y, 0, 0, width, 20, pic);
}

void DrawStatusBar(FGDrawBuffer* window) {
    FGDrawBuffer* w = window;
    if (!w) return;
    // A panel or prompt that holds the keys outlasts the key time-out: its keys keep
    // their buttons while it is open, so that it looks open.
    const bool raised = KeyPressed || SoftKeyHold;
    KeyBarHeight = raised ? std::min(KeyBarHeight + 3, 25) : std::max(KeyBarHeight - 3, 15);
    w->set_mode(DrawModeCopy);
    w->fillbox(0, 480 - KeyBarHeight, 800, KeyBarHeight, DisplayPalette.PalBlack);
    if (raised && KeyBarHeight == 25) KeyButtons(w);
    TDisplayItem* items = EightKeys() ? SoftKeyCaptions8 : SoftKeyCaptions6;
    const int n = EightKeys() ? SoftKeyCaptions8Rows : SoftKeyCaptions6Rows;
    for (int i = 0; i < n; ++i) DrawDisplayItem(&items[i]);

    SelectDisplayFont(w, StatusFont());
    StatusLine(w);
    PowerDetail(w);
    DemoMark(w);
    Recording(w);
    w->set_mode(DrawModeCopy);
}

void DrawPercentSlider1() {
    if (CommRuntime.volume > 100) CommRuntime.volume = 100;
    Slider(45, 410, CommRuntime.volume * 300 / 100);
}

void DrawPercentSlider2() {
    if (CommRuntime.squelchLevel > 100) CommRuntime.squelchLevel = 100;
    Slider(445, 410, CommRuntime.squelchLevel * 300 / 100);
}

void DrawLevelSlider() {
    int32_t& level = BrightnessSetting.level;
    level = std::min(std::max(level, 0), 1000);
    Slider(239, 200, level * 300 / 1000);
}
