// The last layer of every frame: the soft-key caption bar with its key buttons,
// the power and radio status line, the power detail, the demo mark and the
// SD-card recording line; and the three level sliders of the level editors.
#pragma once

#include <cstdint>

#include "displayitems.h"

class FGDrawBuffer;

// Height of the black caption bar at the bottom (15..25).
extern int KeyBarHeight;
// The key buttons use the red picture set.
extern int KeyAlarmBlink;

// Soft-key caption boxes: with eight soft keys (LayoutCaps 0x100) 9 rows for the
// keys '0', '2', '3', '6', '7', '4', '5', '1' and a spare; else 7 rows for '0',
// '2', '3', '4', '5', '1' and the middle field.
constexpr int SoftKeyCaptions8Rows = 9, SoftKeyCaptions6Rows = 7;
extern TDisplayItem SoftKeyCaptions8[SoftKeyCaptions8Rows];
extern TDisplayItem SoftKeyCaptions6[SoftKeyCaptions6Rows];

// The soft-key table's label of a key character ('0'..'7'); null or empty: no
// label. Installed by the soft-key bindings.
extern const char* (*SoftKeyLabel)(int key);

// The two one-second countdowns of the refresh that the status bar shows.
enum { CountdownSquelch = 0, CountdownPowerDetail = 1 };

// The refresh's caption step: texts from the key labels; while a key is held
// (keyHold > 20 with KeyPressed) the larger font and 7 px higher, else back.
void UpdateSoftKeyCaptions(int keyHold);

void DrawStatusBar(FGDrawBuffer* window);
void DrawKeyButton(FGDrawBuffer* window, int x, int y, int width, int height);
void DrawPercentSlider1();
void DrawPercentSlider2();
void DrawLevelSlider();
