// The display program's hooks into the toolkit's event loop: the queued-event
// hook, the idle hook, the refresh-period rule, the main window's handler and
// the choice of layout.
#pragma once

class FGApp;
class FGWindow;
struct FGEvent;

// Key codes that the queued-event hook acts on.
constexpr int KeyDemoReset = 98;  // 'b'
constexpr int KeyRefresh = 110;   // 'n'

// Recomputes RefreshPeriod, restarts the timer with it and gives it to the averaging reader.
void SetTimerPeriod();
// The refresh-period rule alone (ms).
int RefreshPeriodRule();
// Demo reset; `full` reloads the demo settings.
void ResetDemo(bool full);
// The entertainment screen asked to close from its key call: destroy it now, then the
// refresh period and the screen's soft keys come back.
void CloseEntertainerAfterExit();
// Run hook of FGApp::Run: sees the key field of every drained event; returns 0.
int OnQueuedEvent(FGEvent* event);
// Event handler of MainWindow.
int OnMainWindowEvent(FGWindow* window, FGEvent* event);
// Idle callback of the toolkit.
void IdleHook(FGApp* app);
// The idle hook's pause: until the refresh watch falls due, at most 100 ms.
int IdlePauseMs();
// Forgets what the idle hook has seen of the refreshes (start of a run, tests).
void ResetIdleWatch();
// Chooses the layout for a requested kind among those LayoutCaps allows and switches to it.
void SelectScreen(int kind);
// The kind SelectScreen settles on for a request (0: none allowed).
int ChooseScreen(int kind, int caps, bool setupMode);
// FunctionBits from the device's information (the demo model in demo mode).
void ReadFunctionBits();

// Picture loading of the main window's creation, and their release.
void LoadMainPictures();
void FreeMainPictures();
