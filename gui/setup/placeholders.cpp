// Smallest stand-ins for routines whose owners have not landed yet. Each entry names its
// owner; the owner deletes the entry when it defines the routine, so every symbol is
// defined once. This file goes when it is empty.

#include "wizards.h"

// owner: gui/setup/wizards.cpp
TDetectedServo DetectedServo[2] = {};
// owner: gui/setup/wizards.cpp
int DetectedServoCount = 0;
// owner: gui/setup/wizards.cpp
uint16_t CompassCalibMask = 0;
