// The shell's view of the menus, soft keys, editors, overlays (gui/menu/, gui/setup/) and
// of the entertainment screen (gui/ent/). Those libraries stand above the shell: the shell
// never includes their headers and calls them only through this table, which they fill
// when the program starts (InstallMenuLinks, InstallEntLinks). A null entry is skipped.
#pragma once

#include <cstdint>

class FGDrawBuffer;
class FGWindow;

struct TMenuLinks {
    // ---- menus, soft keys, overlays ----
    void (*StartMenus)();                 // start-up: menu geometry, font, callbacks, keyboards
    void (*OpenPanels)(FGWindow* main);   // the main window opened: overlay and menu panels
    void (*ClosePanels)();                // the main window closes
    void (*DispatchKey)(int key);         // a key's low byte to the soft-key table
    void (*PowerOffReset)();              // start-up: no power-off countdown runs
    void (*ShowDemoNotice)();             // start-up in demo mode: the notice and its mode
    void (*LoadLastStatus)();             // start-up: "last_status" into the popup list
    void (*CloseMessageBox)();            // the demo reset: no box stays open without its keys
    // The enlarged barometric box while the baro editor is open (text, its colour).
    void (*DrawBaroBox)(int x, int y, const char* text, uint32_t colour);
    // ---- entertainment screen ----
    int (*EntertainerOpen)();             // non-zero while the screen exists
    // Keys go to the screen while it is open. Non-zero: the screen asks to be closed;
    // the shell destroys it after this call returns and rebinds the screen's soft keys.
    int (*EntertainerKey)(int key);
    void (*EntertainerDraw)(FGDrawBuffer* main);
    int (*CreateEntertainer)(FGDrawBuffer* main);  // non-zero when the screen exists afterwards
    void (*DestroyEntertainer)();         // also restores the refresh period
    void (*LoadEntertainerImages)();      // the main window opened
    void (*FreeEntertainerImages)();      // the main window closes
    void (*CloseVideoPlayer)();           // the demo reset's stop of the global player
};
extern TMenuLinks MenuLinks;
