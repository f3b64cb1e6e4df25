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
