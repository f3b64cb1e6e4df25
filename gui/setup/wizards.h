// Setup wizards (servo detection and deflection, compass calibration, gyro) and the
// autopilot/compass setting editors.
#pragma once

#include <cstdint>

// A servo found by the servo detection.
struct TDetectedServo {
    int32_t servoId;
    int32_t slip;   // percent
    uint8_t flags;  // bit 0 deflection calibrated
};
extern TDetectedServo DetectedServo[2];
extern int DetectedServoCount;  // 0..2
// Compass-calibration bits that count as calibrated (start-up and the compass calibration set them).
extern uint16_t CompassCalibMask;

// Servo wizards on 0x6006: 1 detection, 2 deflection calibration, 3 deflection test.
void ServoWizard(int32_t state);
// 1 when the servo (0 pitch, 1 roll) was found by the detection.
bool ServoDetected(int servo);
// Slip editor of a detected servo (0 pitch, 1 roll).
void SlipEditor(int32_t servo);
// Compass calibration on 0x4017: 1 starts it.
void CompassCalibration(int32_t state);
// Compass parameter editors: 1 declination, 2 inclination, 3 total field.
void CompassEditor(int32_t which);
// Autopilot axis parameter editors of the menu items of the axis pages.
void ApParamEditor(int32_t item);
