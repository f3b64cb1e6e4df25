// Smallest stand-ins for routines whose owners have not landed yet. Each entry names its
// owner; the owner deletes the entry when it defines the routine, so every symbol is
// defined once. This file goes when it is empty.

#include "keyglue.h"
#include "menuaction.h"
#include "overlays.h"
#include "screenkeys.h"

// owner: gui/menu/menuaction.cpp
void MenuAction(int, int) {}

// owner: gui/menu/overlays.cpp
void PaintOverlays(FGWindow*) {}

// owner: gui/menu/keyglue.cpp
void DefaultKeyAction(int, int) {}

// owner: gui/menu/keyglue.cpp
void VfrSquawkKey(int32_t) {}

// owner: gui/menu/screenkeys.cpp
int VfrSquawkLabel(int code) { return code == 0x1200 ? 101 : code == 0x7000 ? 102 : 0; }

// owner: gui/menu/menuaction.cpp
void FuelPressZeroCalib(int32_t) {}
