// The altimeter setting (QNH) of the flight screen: a knob turn opens it, the knobs step
// it, QFE takes it from the sensor and STD sets the standard; it closes by itself 5 s
// after its last key (the refresh watches ArmBaroDeadline's deadline).
#pragma once

#include <cstdint>

// Commands of BaroSettingEditor, the argument of its key bindings; the time-out finishes
// with BaroSet.
enum TBaroCmd : int32_t {
    BaroCancel = 0,    // drops the change
    BaroDown = 1,
    BaroUp = 2,
    BaroQfe = 3,       // from the averaged absolute pressure
    BaroStandard = 4,
    BaroSet = 5,       // keeps the change
};
void BaroSettingEditor(int32_t command);
extern int32_t BaroChange;  // Pa turned since the editor opened (QNH shows it at once)

// QNH stays within these, turned or taken from the sensor.
constexpr int32_t QnhMinPa = 91500, QnhMaxPa = 105000;

// The pending change after one knob step, in tenths of a Pa (torr's slow step is 13.8 Pa):
// mBar steps land on whole hPa; a step across 101325 stops there (stopped set); the
// result keeps QNH + change within QnhMinPa..QnhMaxPa.
int32_t BaroStep(int32_t qnh, int32_t changeTenths, int up, int fast, int baroUnit, int* stopped);
