#include "quitrequest.h"

#include <mutex>

namespace {
// Requests may come from any thread (benchdesk attaches on its data-source thread).
std::mutex QuitLock;
bool Requested = false;
int ExitCode = 0;
}  // namespace

void RequestQuit(int exitCode) {
    std::lock_guard<std::mutex> hold(QuitLock);
    if (Requested) return;
    Requested = true;
    ExitCode = exitCode;
}

bool QuitRequested(int* exitCode) {
    std::lock_guard<std::mutex> hold(QuitLock);
    if (Requested && exitCode) *exitCode = ExitCode;
    return Requested;
}

void ClearQuitRequest() {
    std::lock_guard<std::mutex> hold(QuitLock);
    Requested = false;
    ExitCode = 0;
}
