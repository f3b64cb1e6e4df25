// Key handling and menu glue: what an unbound key does, and the key callbacks.
#pragma once

#include <cstdint>

// An unbound key: (soft-key mode, key code).
void DefaultKeyAction(int mode, int keyCode);
// The VFR squawk key of the transponder panel ('4' in mode 29).
void VfrSquawkKey(int32_t argument);

// -1 opens the main menu with its keys, 1 next, 2 previous, 3 activate, 0 closes.
void MainMenuKeys(int32_t command);
// 1 next layout, 2 previous, 0 gives the keys back.
void ScreenSelectKeys(int32_t command);
// The layout ScreenSelectKeys steps to from a type (strip: 3 + the strip index).
int NextScreenType(int type, int command, int layoutCaps, int strip);
// 0 gives the keys back, 1 starts or stops the flight timer, 2 resets it.
void TimerKeys(int32_t command);
// The OBS: 0 remembers it, 1 up, 2 down (coarse 10 by the knob's acceleration), 3 cancel.
void HeadingBugEditor(int32_t command);
extern int32_t ObsValue;     // degrees 0..359; its box is the value editor "OBS"
// 1 down 50, 2 up 50, 3 store; returns the display's answer for the level.
int BrightnessEditor(int32_t command);
void BrightnessKey(int32_t command);
void SetNavSource(int32_t source);
// The heading the flight page shows, in tenths of a degree: the compass, or the GPS track
// when the compass has no value. False when neither has one.
bool ReadShownHeading(int32_t* tenths);
// 0 cancel, 1 OK, 2 down 2, 3 up 2 (aircraft symbol offset -50..50).
void BoreSightEditor(int32_t command);
int32_t BoreSightStep(int32_t offset, int up);
// 1 asks, 2 No, 3 Yes: resets the statistics of the overlay that is shown.
void ConfirmDeleteStatistics(int32_t command);
// 0 No, 1 Yes: the entertainment screen.
void OpenEntertainer(int32_t command);

// The overlay painter's setup-menu flag (set by '1' in the setup modes).
extern int SetupMenuShown;
// The refresh's engine-running prompt: pending, acknowledged and its reference time.
extern int EngineRunPromptPending, EngineRunPromptAcked;
extern int64_t EngineRunPromptSec;
extern int32_t EngineRunPromptUsec;

// Seconds of the refresh's clock (the deadlines compare against it).
int RefreshNowSeconds();
// Fills the refresh hook of the bore-sight time-out and the flight page's marker.
void InstallKeyGlueLinks();
