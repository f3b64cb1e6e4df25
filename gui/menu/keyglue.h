// Key handling and menu glue: what an unbound key does, and the key callbacks.
#pragma once

#include <cstdint>

// An unbound key: (soft-key mode, key code).
void DefaultKeyAction(int mode, int keyCode);
// The VFR squawk key of the transponder panel ('4' in mode 29).
void VfrSquawkKey(int32_t argument);
// The main menu with its keys; -1 reopens it after an editor closes.
void MainMenuKeys(int32_t argument);
