// Fuel-tank calibration: measures the raw level sensor at known quantities, from a full
// tank down to an empty one, and stores the pairs as the tank's calibration table.
#pragma once

#include <cstdint>

#include "settingvars.h"

class FGDrawBuffer;
class Tklavesnice;
class TMValReader;

class TtankCalibration {
public:
    void SetKeyboard(Tklavesnice* keyboard);
    void SetFinishCallback(void (*callback)(int completed));
    void Setup(TTankSetting* tank, int32_t* capacity, int32_t channel, int activeSensor, const char* title);
    void Start();
    void MeasureTick();
    void Draw(FGDrawBuffer* buffer);
};

extern TtankCalibration TankCalibration;
