// Process-wide quit request. A failure before any run loop exists asks to quit
// here; the run loop honours the request when it starts.
#pragma once

// Asks the process to quit with this exit code; the first request keeps its code.
void RequestQuit(int exitCode);
// True when a quit was requested; its exit code goes to *exitCode when given.
bool QuitRequested(int* exitCode = nullptr);
// Forgets the request once it has been honoured.
void ClearQuitRequest();
// SIGINT, SIGTERM and SIGHUP ask for a quit with code 0: the run loop ends as on any
// other quit, so the program's shutdown still runs. Until QuitSignalsResumeCalls, a
// signal breaks off a call that waits (a sleep, an open that blocks), so that a quit
// during the start-up is never held up by it.
void InstallQuitSignals();
// From here on an interrupted call resumes (the run loop's own calls).
void QuitSignalsResumeCalls();
