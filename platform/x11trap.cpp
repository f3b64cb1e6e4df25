#include "x11trap.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "display.h"
#include "trace.h"

namespace {

std::mutex TrapLock;
// The trap in force (set under TrapLock); the handler may run on any connection's thread.
std::atomic<Display*> TrapDisplay{nullptr};
std::atomic<int> TrapError{0};

int SurvivableHandler(Display* display, XErrorEvent* error) {
    if (display == TrapDisplay) {
        int none = 0;
        TrapError.compare_exchange_strong(none, error->error_code);
        return 0;
    }
    char text[128];
    XGetErrorText(display, error->error_code, text, sizeof text);
    TRACE_ERR("X error %s (request %d.%d, resource 0x%lx)", text, error->request_code,
              error->minor_code, error->resourceid);
    return 0;
}

std::atomic<TDisplayLostHook> LostHook{nullptr};

int ServerLost(Display* display) {
    // One ending: a loss seen on another thread meanwhile waits for it, and one seen again
    // from inside the hook ends at once.
    static std::atomic<bool> entered{false};
    static thread_local bool inside = false;
    if (inside) _exit(1);
    if (entered.exchange(true))
        for (;;) pause();
    inside = true;
    const char* name = DisplayString(display);
    if (const TDisplayLostHook hook = LostHook.load()) hook(name ? name : "");
    std::fflush(nullptr);
    _exit(1);
}

}  // namespace

void DisplaySetLostHook(TDisplayLostHook hook) {
    LostHook = hook;
    XSetIOErrorHandler(hook ? ServerLost : nullptr);
}

void X11InstallErrorHandler() {
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(SurvivableHandler); });
}

Display* X11OpenDisplay() {
    X11InstallErrorHandler();
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = getenv("DISPLAY");
        TRACE_ERR("can't open X display \"%s\"", name ? name : "");
    }
    return display;
}

TX11ErrorTrap::TX11ErrorTrap(Display* display) : hold_(TrapLock) {
    previous_ = XSetErrorHandler(SurvivableHandler);
    XSync(display, False);  // errors of earlier requests are not the trap's
    TrapError = 0;
    TrapDisplay = display;
}

TX11ErrorTrap::~TX11ErrorTrap() {
    XSync(TrapDisplay, False);
    XSetErrorHandler(previous_);
    TrapDisplay = nullptr;
}

int TX11ErrorTrap::Sync() {
    XSync(TrapDisplay, False);
    return TrapError;
}
