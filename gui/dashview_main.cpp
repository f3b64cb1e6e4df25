// dashview: the instrument's display program.
#include <unistd.h>

#include "configmanager.h"
#include "entertainer.h"
#include "fgapp.h"
#include "hkutils.h"
#include "limiteditors.h"
#include "menu.h"
#include "overlays.h"
#include "quitrequest.h"
#include "screenkeys.h"
#include "selectdir.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "startup.h"
#include "trace.h"
#include "wizards.h"

namespace {

constexpr int DefaultVideoMode = 3;          // 800 x 600
constexpr unsigned DashviewAppFlags = 0x18017;

}  // namespace

int main(int argc, char** argv) {
    TraceLogOpen(false);  // beside the bench's lines of the same session
    InstallMenuLinks();  // the shell reaches the menus and soft keys through its link table
    InstallScreenKeyLinks();  // the screen's soft keys, radios, key glue and setup entry
    InstallOverlayLinks();  // power-off, demo notice, "last_status", baro box, value boxes
    InstallEntLinks();   // and the entertainment screen through the same table
    InstallSelectDirLinks();  // the directory dialog: its soft keys and its overlay
    InstallSetupLinks();  // the baro editor's time-out and the about box
    InstallWizardLinks();  // the wizards' and the tank calibration's ticks, the calibration's keys
    InstallQuitSignals();  // Ctrl-C or a session's end still saves the flight's statistics
    // The program's own objects come first and go last; built here rather than by a
    // static object, whose order against the libraries' statics is not defined.
    InitMainGlobals();
    // A block that could not be attached has said why and asked to quit: there is nothing
    // to show, and no window opens only to close again.
    // A quit signal during the pause ends the program before anything is loaded.
    if (!QuitRequested()) usleep(2000 * 1000);
    if (!QuitRequested()) {
        if (ConfigManager.Create() != 0) PrintHook("MAIN: settings store not created\n");
        FGApp app(DefaultVideoMode, &argc, argv, 0, DashviewAppFlags);
        if (ShellStartUp() == 0) {
            fg_idle_callback = IdleHook;
            ResetIdleWatch();
            QuitSignalsResumeCalls();  // a quit asked for meanwhile ends the loop at once
            app.Run(OnQueuedEvent);
        }
        ShellShutDown();
    }
    DoneMainGlobals();
    // A quit asked for by Ctrl-C leaves with its own code, after the same shutdown.
    int code = 0;
    QuitRequested(&code);
    return code;
}
