// The red "Error" window of fg_error, and screenshots.
#include <cstdio>
#include <cstring>
#include <ctime>

#include "fgapp.h"
#include "fgbitmap.h"
#include "fgraster.h"

namespace {

FGWindow* error_window = nullptr;

// The bezel has no Enter key: a push (a soft key or a knob push) answers the error
// window as Enter does. A knob turn is no answer: on an "Abort" window it would end the
// program by accident.
constexpr char PushKeys[] = "012345";
constexpr char TurnKeys[] = "adsw";

void dismiss(FGControl* button) {
    if (button && button->parent) delete button->parent;
}

void abort_program(FGControl*) {
    FGEvent quit{};
    quit.type = FGE_QUIT;
    FGApp::PostEvent(&quit);
}

int error_keys(FGWindow* window, FGEvent* event) {
    if (event->type != FGE_KEY || event->key <= 0 || event->key > 255) return 0;
    if (std::strchr(TurnKeys, event->key)) return 1;
    if (!std::strchr(PushKeys, event->key)) return 0;
    // The window's button, released with fire: the dispatcher runs its callback.
    if (window->current_page && !window->current_page->controls.empty())
        window->current_page->controls.front()->Release(1);
    return 1;
}

}  // namespace

FGWindow* fg_error_window() { return error_window; }

void fg_error(const char* message, int flags) {
    if (!message) message = "";
    if (fg_toolkit.verbose) std::printf("IError:: %s\n", message);
    if (error_window) return;
    // No screen to show a window on: the message goes to the trace of the toolkit.
    if (fg_screen_width() <= 0) {
        fg_error_print(message, 0);
        return;
    }
    const bool error = (flags & 1) != 0;
    const int length = static_cast<int>(std::strlen(message) > 4096 ? 4096 : std::strlen(message));
    int half = 4 * length + 32;
    if (half < 75) half = 75;
    fg_beep(1000, 80);
    new FGWindow(&error_window, 0, 0, 2 * half, 78, "Error", error_keys, 0xFFFFFF, 0xF80000,
                 error ? 0x1800004u : 0x1800000u);
    FGWindow* w = error_window;
    if (!w) return;
    if (error)
        w->WriteText(half - 70, 8, "* * * ERROR * * *", 0xFCE000);
    else
        w->WriteText(half - 78, 8, "* * * WARNING * * *", 0xFCE000);
    w->WriteText(32, 28, message, 0xFFFFFF);
    w->DrawBox(0, 0, w->width, w->height, 0);
    w->AddPushButton(half - 40, 48, 80, 21, error ? "Abort" : "Ok", 13,
                     error ? abort_program : dismiss);
    if ((flags & 2) && fg_toolkit.app) fg_toolkit.app->RunModal(w);
}

void FGApp::Screenshot() {
    static unsigned counter = 0;
    static char base[32] = "";
    const int w = fg_screen_width(), h = fg_screen_height();
    if (w <= 0 || h <= 0) return;
    FGBitmap shot(w, h, 0);
    fg_screen_to_buffer(shot.pixels, 0, 0, 0, 0, w, h, w, h);
    if (counter == 0 || counter > 99990) {
        std::snprintf(base, sizeof base, "%x", static_cast<unsigned>(std::time(nullptr)));
        counter = 0;
    }
    char name[64];
    std::snprintf(name, sizeof name, "%s_%05u", base, counter++);
    if (fg_toolkit.verbose) std::printf("Bitmap '%s' saved\n", name);
    shot.save(name);
}
