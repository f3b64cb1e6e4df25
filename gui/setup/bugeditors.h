// Editors of the flight screen's bugs (altitude, IAS, heading), the attitude offsets
// and the airspeed limits. All follow the value-editor protocol: 0 open, 1 cancel,
// 2 OK, 3 down, 4 up, 5 the editor's extra key.
#pragma once

#include <cstdint>

// Bug kinds of BugEditorOpen.
enum { BugNone = 0, BugAltitude = 1, BugIas = 2, BugHeading = 3, BugHeadingToo = 4 };
// 1 altitude, 2 IAS, 3 or 4 heading, each with its value box; 0 removes every binding
// and closes every overlay.
void BugEditorOpen(int32_t kind);
void AltBugEditor(int32_t command);
void IasBugEditor(int32_t command);
void HdgBugEditor(int32_t command);

// Altitude bug after a step of the knob (decimetres), in the selected altitude unit:
// metres floor to 10 m within -3000..10000 m; feet snap to 10 ft within -9000..32000 ft.
int32_t AltBugStep(int32_t decimetres, int up, int fast, int metres);
// The altitude bug in whole feet on the 10 ft grid, as its editor box shows it.
int32_t AltBugFeet(int32_t decimetres);
// IAS bug (hundredths of km/h) one whole unit of the airspeed unit up or down, 0..99900.
int32_t IasBugStep(int32_t value, int up, int airspeedUnit);
// Heading bug 0..359 by 1, or 16 when fast, wrapping.
int32_t HdgBugStep(int32_t degrees, int up, int fast);

// Attitude offsets (setting 0x4016 sub id 3 and 4), -300..300 tenths of a degree.
void PitchOffsetEditor(int32_t command);
void RollOffsetEditor(int32_t command);
extern int AttitudeOffsetEditing;  // 0, or the sub id being edited

// 1 Vs, 2 Vfe, 3 Vno, 4 Vne, 5 the demo airspeed limit.
void AirspeedLimitOpen(int32_t which);
void AirspeedLimitEditor(int32_t command);
void DemoLimitEditor(int32_t command);
// Bounds of an airspeed limit kept 50 (0.5 kt) from its neighbours, never inverted.
void AirspeedLimitBounds(int which, int32_t* minimum, int32_t* maximum);
// Step of the airspeed limits at the editor's cursor: 10^cursor x kts 100, mph 87, km/h 54.
int32_t AirspeedLimitStep(int cursor, int airspeedUnit);
