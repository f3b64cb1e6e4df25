// Numeric value editors driven by the knobs and soft keys, the shared message text,
// the popup message list, knob acceleration and the unit-step rounders, and the
// enlarged barometric box. Drawing goes to MainWindow; everything runs on the main thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// ---- the editor record (one, global) ----
struct TEditorRecord {
    int32_t minimum;
    int32_t maximum;
    int32_t* value;        // the variable being edited; null for editors that keep their own
    int32_t step;          // 10^(cursor + baseExponent), recomputed by the default rules
    int32_t baseExponent;  // 0 when opened; raised so that low digits are not editable
    int32_t cursor;        // digit index from the right, 0 = units
};
extern TEditorRecord Editor;

// Handler protocol: 0 open / "Position", 1 cancel, 2 OK, 3 step down, 4 step up;
// editors may use further numbers for extra keys.
enum { EditorCmdOpen = 0, EditorCmdCancel = 1, EditorCmdOk = 2, EditorCmdDown = 3, EditorCmdUp = 4 };
using TEditorHandler = void (*)(int32_t command);

// Stores the limits and the pointer, closes the menu, soft keys and message box, and
// binds '1' "Position", '4' "Cancel", '5' "Set", 's' and 'w' (see the rules below).
// Callers set their open marker after this call (closing the boxes clears the markers).
void OpenEditor(int32_t minimum, int32_t maximum, int32_t* value, TEditorHandler handler, int32_t stepArg,
                int32_t cursorArg);
// Rules: 0 next digit, 1 down, 2 up (recomputing the step), 3 down, 4 up (last step).
void EditorDefaultStep(int32_t rule);
// Reopens the main menu with its keys (every frame is painted whole, so keep changes nothing).
void CloseEditor(int32_t keep);

// ---- knob acceleration: true when this turn takes the coarse step ----
int KnobAcceleration(int up);
// Starts a new burst (the baro editor does when a step stops on the standard setting).
void KnobAccelerationReset();
// Microseconds of the monotonic clock the acceleration reads; tests install a fake
// one (null restores the real clock).
void SetKnobClock(std::function<int64_t()> clockUs);

// ---- unit-step rounders: value in the stored unit, step in the display unit; the
// value is rounded to the nearest multiple of the step in the display unit and
// returned in the stored unit ----
int32_t CelsiusStepFahrenheit(int32_t celsius, int32_t stepF10);  // step in tenths of F
// The change in C that moves the Fahrenheit reading by count x stepF10 tenths of F.
int32_t CelsiusIncrement(int32_t celsius, int32_t count, int32_t stepF10);
int32_t InHgStep(int32_t mbarBased, int32_t step);   // display: HundredthInHgPerMbar
int32_t PsiStep(int32_t barBased, int32_t step);     // display: PsiPerTenthBar
int32_t FeetStep(int32_t metres, int32_t stepFeet);  // display: FeetPerMetre
// Quantities of the selected-unit step.
enum TUnitQuantity { QuantitySpeed, QuantityAltitude, QuantityTemperature, QuantityEnginePressure,
                     QuantityManifold, QuantityVerticalSpeed, QuantityDistance };
int32_t SelectedUnitStep(int quantity, int32_t value, int32_t step);
// Stored value into the selected unit of the quantity and back (rounded to nearest).
int32_t ToSelectedUnit(int quantity, int32_t value);
int32_t FromSelectedUnit(int quantity, int32_t shown);

// Fixed-point text of value with decimals; null buffer gives null. Buffer of FixTextSize (32).
char* FormatFixed(char* buffer, int32_t value, int decimals);

// ---- drawing ----
// Highlight modes of DrawNumericEditor.
enum { EditorHighlightNormal = 0 };
// Titled: 150 x 80 box at (x, y) with the title; untitled: no picture, box at x-15, y-35.
// decimals: -d gives "%0*d" of width d; cursor counts digits from the right, 1 = units.
void DrawNumericEditor(const char* title, const char* unit, int32_t value, int decimals, int cursor, int x, int y,
                       int mode);
// Every editor whose open marker is set; all = 0 draws only the autopilot bug, code
// entry, radio frequency and transponder editors (and the ID/text/time/date layouts).
void DrawValueEditors(int all);

// One open marker per editor family (rows of the value-editor table, in drawing order).
enum TValueEditorKind {
    EdApAltitude,        // "ALT", tenths of a metre
    EdApSpeed,           // "Speed", hundredths of km/h
    EdApHeading,         // "HDG", degrees
    EdRadioFrequency,    // title in EditorTitle, kHz (shown MHz, 3 decimals)
    EdSquawk,            // "Squawk", four digits
    EdAircraftId,        // own layout: text field (mark.text, 8 characters), "Aircraft ID"
    EdTextField,         // own layout as the ID, title from mark.title
    EdTime,              // own layout: mark.value -> int32_t[3] h, m, s
    EdDate,              // own layout: mark.value -> int32_t[3] d, m, y
    // drawn only with all != 0 from here on
    EdSpeedLimit,        // "Vs speed" ... "Limit speed", hundredths of a knot
    EdPercent,           // title from mark.title, "%"
    EdSensitivity,       // "Roll sensitivity", "Pitch sensitivity"
    EdApAngle,           // "Bank angle", "Turn rate", "Longit. angle": hundredths, "deg" 1 decimal
    EdClimbRate,         // "Max. climb", "Max. descent": tenths of m/s
    EdApAirSpeed,        // "Min. air speed", "Max. air speed": tenths of km/h
    EdAngle,             // "Declination", "Inclination": hundredths of a degree
    EdMagField,          // "Tot.mag.field", nT
    EdRpm,               // "RPM range" ... "Rotor RPM min.A"
    EdManifold,          // "MAP range", "MAP max.W", "MAP min.W": hPa
    EdOilTemp,           // degrees C
    EdOilPressure,       // tenths of a bar
    EdWaterTemp,         // "Wat tmp ..." and "Aux1 tmp ...": degrees C
    EdTankQuantity,      // tenths of a litre
    EdFuelFlow,          // tenths of a litre per hour
    EdFuelPressure,      // hundredths of a bar
    EdThermo,            // EGT and CHT: tenths of a degree C
    EdUnexhFuel,         // tenths of a litre
    EdKFactor,           // pulses per litre
    EdAverageTime,       // "Time of average", seconds
    EdPulseCount,        // "RPM puls/rev", "Rotor puls/rev"
    EdReductionRatio,    // "RPM reduct rat", "Rotor reduct rat": hundredths
    EdEngActiveRpm,      // "Eng active RPM"
    EdAttitudeOffset,    // "Pitch offset", "Roll offset": tenths of a degree
    EdCustomUnit,        // title in EditorTitle, unit from mark.unit, 1 decimal
    ValueEditorCount
};
struct TValueEditorMark {
    int32_t open;
    const int32_t* value;  // null: the editor record's value
    const char* title;     // msgid; null: the family's own title
    const char* unit;      // EdCustomUnit's unit (msgid)
    const char* text;      // EdAircraftId / EdTextField: the edited text
    int32_t length;        // EdTextField: characters of the field (0: 8); the cursor is 1-based
    int32_t unitPad;       // the unit text with its trailing blank (fuel pressure's warning limits)
};
extern TValueEditorMark ValueEditorMarks[ValueEditorCount];
// Sets the family's marker (after OpenEditor).
void MarkValueEditor(int kind, const int32_t* value, const char* title = nullptr, const char* unit = nullptr,
                     const char* text = nullptr, int length = 0);
// Clears every marker (closing the overlays does).
void ClearValueEditorMarks();
// The shared title buffer of the radio-frequency and custom-unit editors.
constexpr size_t EditorTitleSize = 64;
extern char EditorTitle[EditorTitleSize];
// The code entry of setup entry, drawn after the third editor; installed by its owner.
extern void (*DrawCodeEntry)();

// The shown value of an editor family in the selected units; 0 when the family
// draws nothing for the units record's choice (a unit out of range). mark: the
// family's mark (its unitPad), null for none.
struct TEditorView {
    const char* unit;  // untranslated
    int32_t value;
    int decimals;
    int cursor;        // cursor argument of DrawNumericEditor
};
int EditorViewOf(int kind, const TValueEditorMark* mark, int32_t stored, int32_t cursor, TEditorView* view);

// ---- message box ----
constexpr size_t MessageTextSize = 512;
// The open message or confirmation, already written as "  %s  ".
extern char MessageText[MessageTextSize];
// Writes "  %s  " of text into MessageText, cut to fit.
void SetMessageText(const char* text);
// Box styles: the red alert box with white text, the panel box with black text.
enum TMessageStyle { MessageStyleRed = 0, MessageStylePanel = 1 };
void DrawMessageBox(int style);

// ---- popup message list ----
constexpr int PopupListMaxLines = 21;
constexpr size_t PopupLineSize = 512;
// Control texts of PopupListAdd.
constexpr char PopupShow[] = "\x01", PopupClear[] = "\x02", PopupRemove[] = "\x03";
// 0 done, 254 list full, 255 out of memory.
int PopupListAdd(const char* text, int font, int indent);
// kind 1: shown flag; kind 2: line count; others 0.
int PopupListActive(int kind);
// Word-wraps text into lines of width pixels (at most 32) added with indent 2; -1 on failure.
int PopupListAddWrapped(const char* text, int width, int font);
void DrawPopupList();
// Hides the list and keeps its lines (closing every overlay does).
void PopupListHide();
// Geometry of the list (for tests): widest line and total height in pixels.
int PopupListWidth();
int PopupListHeight();
const char* PopupListLine(int index);

// ---- airspeed limits overview (a setup page drawn by the overlay painter) ----
void DrawAirspeedLimitsPage(int fillOp, int textOp, uint32_t fillColour);

// ---- the enlarged barometric box of the flight page while the baro editor is open ----
void DrawBaroBox(int x, int y, const char* text, uint32_t colour);
