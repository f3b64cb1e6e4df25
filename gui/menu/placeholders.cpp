// Smallest stand-ins for routines whose owners have not landed yet. Each entry names its
// owner; the owner deletes the entry when it defines the routine, so every symbol is
// defined once. This file goes when it is empty.

#include "keyglue.h"
#include "overlays.h"


