// Start-up and shutdown of the display program: its global objects, the steps
// of main before the event loop and after it.
#pragma once

#include <cstdint>

class FGWindow;

// Static initialiser and finaliser of the program (the executable runs them
// around main; tests call them themselves).
void InitMainGlobals();
void DoneMainGlobals();
// The colours the palette gives the value-box tables of the pages and strips.
void SetItemColourDefaults();

// GPS bit of the flight page's device-status test: 4 when the GPS port's
// protocol byte is 2, else 1.
void SelectGpsStatusBit();
// A VFR squawk preset other than 1200 or 7000 becomes 7000 and is stored.
void CheckVfrSquawkPreset();
// StartTimeSec and StartTimeUsec from the wall clock in microseconds since 1970.
void TakeStartTime(int64_t unixMicroseconds);
// Registers the 19 display fonts; a file that fails is reported and its slot stays -1.
// Returns the number registered.
int RegisterDisplayFonts();
// The screen of the runtime screen word (types 1..6), else screen 1 saved at once.
void StartScreen();

// Steps of main after the application object exists, up to the event loop
// (the idle hook and the loop itself belong to the caller). 0, or -1 when the
// main window could not be created (the program then shuts down at once).
int ShellStartUp();
// Everything after the event loop up to the application object's destruction.
void ShellShutDown();

// The main window as a toolkit window (MainWindow is the same object).
extern FGWindow* MainFGWindow;
