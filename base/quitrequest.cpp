#include "quitrequest.h"

#include <signal.h>

#include <atomic>
#include <mutex>

namespace {
// Requests may come from any thread (benchdesk attaches on its data-source thread).
std::mutex QuitLock;
bool Requested = false;
int ExitCode = 0;
// A handler may only touch a lock-free atomic.
std::atomic<int> SignalSeen{0};
static_assert(std::atomic<int>::is_always_lock_free, "signal flag");

void OnQuitSignal(int sig) { SignalSeen.store(sig); }

// A signal becomes an ordinary request (exit code 0) the first time anyone asks.
void TakeSignal() {
    if (!Requested && SignalSeen.load() != 0) {
        Requested = true;
        ExitCode = 0;
    }
}
}  // namespace

void RequestQuit(int exitCode) {
    std::lock_guard<std::mutex> hold(QuitLock);
    TakeSignal();
    if (Requested) return;
    Requested = true;
    ExitCode = exitCode;
}

bool QuitRequested(int* exitCode) {
    std::lock_guard<std::mutex> hold(QuitLock);
    TakeSignal();
    if (Requested && exitCode) *exitCode = ExitCode;
    return Requested;
}

void ClearQuitRequest() {
    std::lock_guard<std::mutex> hold(QuitLock);
    Requested = false;
    ExitCode = 0;
    SignalSeen.store(0);
}

namespace {
void InstallQuitHandler(int flags) {
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
}
}  // namespace

void InstallQuitSignals() { InstallQuitHandler(0); }

void QuitSignalsResumeCalls() { InstallQuitHandler(SA_RESTART); }
