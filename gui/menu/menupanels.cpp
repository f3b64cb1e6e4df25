// The panels of the main window and the menu's links into the shell.
#include <libintl.h>

#include "keyboard.h"
#include "keyglue.h"
#include "menu.h"
#include "menuaction.h"
#include "menulinks.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "statusbar.h"

namespace {

constexpr int MenuFont = 6;

struct TMainPanels {
    TopFGPanel* top = nullptr;
    MenuFGPanel* menu = nullptr;
} Panels;

void StartMenus() {
    MainMenu.SetGeometry(625, 35, 170, 445, 10);
    MainMenu.action = MenuAction;
    MainMenu.itemState = MenuItemState;
    MainMenu.font = MenuFont;
    Keyboard.SetMenu(&MainMenu);
    Keyboard.SetDefaultHandler(DefaultKeyAction);
}

void ClosePanels() {
    delete Panels.menu;
    Panels.menu = nullptr;
    delete Panels.top;
    Panels.top = nullptr;
}

// The overlays first: controls draw in creation order, so the menu lies on top.
void OpenPanels(FGWindow* main) {
    ClosePanels();
    if (!main) return;
    Panels.top = new TopFGPanel(0, 0, 0, 0, main, PaintOverlays);
    Panels.menu = new MenuFGPanel(0, 0, 0, 0, main, &MainMenu);
}

void DispatchKey(int key) { Keyboard.Dispatch(key); }

const char* KeyLabel(int key) { return Keyboard.GetKeyLabel(key); }

}  // namespace

MenuFGPanel::MenuFGPanel(int x, int y, int w, int h, FGWindow* window, ThlavniMenu* m)
    : FGPanel(x, y, w, h, "", window, 0, 0, 0), menu(m) {}

void MenuFGPanel::Draw() {
    if (menu && parent && page == parent->current_page) menu->Draw(parent);
}

TopFGPanel::TopFGPanel(int x, int y, int w, int h, FGWindow* window, void (*fn)(FGWindow*))
    : FGPanel(x, y, w, h, "", window, 0, 0, 0), parentWindow(window), drawFn(fn) {}

void TopFGPanel::Draw() {
    if (parentWindow && drawFn) drawFn(parentWindow);
}

void InstallMenuLinks() {
    MenuLinks.StartMenus = StartMenus;
    MenuLinks.OpenPanels = OpenPanels;
    MenuLinks.ClosePanels = ClosePanels;
    MenuLinks.DispatchKey = DispatchKey;
    SoftKeyLabel = KeyLabel;
    // The screen keys' links may have installed fuller versions (editors closed with them).
    if (!RefreshHooks.CloseMenu) RefreshHooks.CloseMenu = [] { MainMenu.Show(0); };
    if (!RefreshHooks.ClearSoftKeys) RefreshHooks.ClearSoftKeys = [] { Keyboard.Clear(); };
}
