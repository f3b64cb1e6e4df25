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

#include "tankcalib.h"

// owner: gui/setup/tankcalib.cpp
TtankCalibration TankCalibration;
// owner: gui/setup/tankcalib.cpp
void TtankCalibration::SetKeyboard(Tklavesnice*) {}
// owner: gui/setup/tankcalib.cpp
void TtankCalibration::SetFinishCallback(void (*)(int)) {}
// owner: gui/setup/tankcalib.cpp
void TtankCalibration::Setup(TTankSetting*, int32_t*, int32_t, int, const char*) {}
// owner: gui/setup/tankcalib.cpp
void TtankCalibration::Start() {}
// owner: gui/setup/tankcalib.cpp
void TtankCalibration::MeasureTick() {}
// owner: gui/setup/tankcalib.cpp
void TtankCalibration::Draw(FGDrawBuffer*) {}

// owner: gui/setup/wizards.cpp
void ServoWizard(int32_t) {}
// owner: gui/setup/wizards.cpp
bool ServoDetected(int) { return false; }
// owner: gui/setup/wizards.cpp
void SlipEditor(int32_t) {}
// owner: gui/setup/wizards.cpp
void CompassCalibration(int32_t) {}
// owner: gui/setup/wizards.cpp
void CompassEditor(int32_t) {}
// owner: gui/setup/wizards.cpp
void ApParamEditor(int32_t) {}
