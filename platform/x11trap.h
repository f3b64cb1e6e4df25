// Trapping X protocol errors (platform-internal: includes Xlib).
// Xlib's default error handler ends the process; here an error inside a trap is recorded
// for the caller, and one outside any trap is traced and survived.
#pragma once

#include <X11/Xlib.h>

#include <mutex>

// Puts the survivable handler in place (idempotent); the x11 display calls it when it opens.
void X11InstallErrorHandler();

// Opens the connection named by DISPLAY with that handler in place; null (traced) when
// no server answers.
Display* X11OpenDisplay();

// While alive, X errors on `display` are recorded instead of reported. Traps are serialised
// process-wide, so keep them short.
class TX11ErrorTrap {
public:
    explicit TX11ErrorTrap(Display* display);
    ~TX11ErrorTrap();
    TX11ErrorTrap(const TX11ErrorTrap&) = delete;
    TX11ErrorTrap& operator=(const TX11ErrorTrap&) = delete;

    // Waits for the server to handle every request so far; the first error code, or 0.
    int Sync();

private:
    std::unique_lock<std::mutex> hold_;
    XErrorHandler previous_;
};
