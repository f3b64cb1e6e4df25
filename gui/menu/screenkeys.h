// The soft keys of the instrument screen (BindScreenKeys) and the radio controls reached
// from them: the COMM panel with the standby, memory frequency and label editors, volume
// and squelch, and the transponder panel with the squawk editor, mode cycle and IDENT.
// The radios are outside devices: these routines only edit and store their runtime
// records (0x200C, 0x200D) and the frequency memories (0x401E).
#pragma once

#include <cstdint>

// ---- settings of the radios ----
constexpr int32_t CommBandLow = 118000000, CommBandHigh = 136999999;  // Hz, standby editor
constexpr int32_t CommMemoryHigh = 136975000;                          // Hz, memory editor
constexpr int CommPortSub = 7, XpdrPortSub = 8;                        // 0x4018 sub ids
constexpr int FreqMemoryCount = 10;
constexpr int MemoryLabelLength = 8;

// Role of the setup user: 1 installer, 2 administrator, 4 user, 3 restricted.
enum { RoleInstaller = 1, RoleAdministrator = 2, RoleRestricted = 3, RoleUser = 4 };
extern int32_t SetupRole;

// ---- state of the editors (read by the value-editor painter and the memory page) ----
extern int32_t EditValue;           // frequency in Hz, or the squawk as four decimal digits
extern int FreqEditorShown;         // standby or memory frequency editor
extern int SquawkEditorState;       // 0 hidden, 1 editing, 2 shown in the transponder panel
extern int MemoryLabelEditorShown;
extern char* LabelEditText;         // into the memory's label (8 characters)
extern uint16_t LabelEditCursor;    // low byte cursor, high byte length
extern int MemorySelection;         // 0 hidden, 1..10 memory edited, -1 page without selection
extern int IdentHold;               // 0 none, else saved mode x 256 + remaining seconds

// ---- the screen's keys ----
void BindScreenKeys();
// The soft-key mode of an instrument screen (step 4 of the binder); 0 keeps the mode.
int InstrumentScreenMode(int screenType, int layoutMask, int runtimeFlag, int cameraFlags);
// The data port is always reachable here (the disk root is the user's home).
int DataPortAvailable();
void OpenDataPortMenu(int32_t unused);
void OpenApPanel(int32_t unused);
void OpenCommPanel(int32_t unused);

// ---- COMM ----
// Editor callbacks: 0 open, 1 cancel, 2 OK, 3 down, 4 up, 5 position; 10 show.
void StandbyFreqEditor(int32_t command);
void MemoryFreqEditor(int32_t command);
void MemoryLabelEditor(int32_t command);
void VolumeEditor(int32_t command);
void SquelchThresholdEditor(int32_t command);
void ToggleSquelch(int32_t unused);
void SwapActiveStandby(int32_t unused);
// 1 done; 0 for an index outside 0..9 or an empty memory (nothing changes).
int RecallFrequencyMemory(int32_t index);
// One step of a frequency at a cursor (0 1 kHz .. 3 MHz digit) inside [low, high]:
// channel steps (25 or 8.33 kHz) below the MHz digit, the MHz digit wrapping in the band.
int32_t StepFrequency(int32_t value, int cursor, int spacing25, int up, int32_t low, int32_t high);

// ---- transponder ----
// Squawk editor: 0 open, 1 cancel, 2 OK, 3 down, 4 up, 16 position, 10 show (panel).
void SquawkCodeEditor(int32_t command);
// One octal digit of a four-digit decimal code, wrapping 7 <-> 0 without carry.
int32_t StepSquawkDigit(int32_t code, int cursor, int up);
// Decimal digits <-> nibbles (digits above 7 clamp to 7).
uint16_t PackSquawk(int32_t decimal);
int32_t UnpackSquawk(uint16_t nibbles);
// Squawk to set (nibbles) for SetSquawkCode; the editor and the emergency page fill it.
extern uint16_t PendingSquawk;
// 1 from the emergency page, 2 from the editor (emergency codes ask first); 3/4 Yes,
// 5/6 No.
void SetSquawkCode(int32_t kind);
// -1 cycles SBY, ON, ALT; 0..2 sets; -2 the IDENT hold's one-second tick.
void SetXpdrMode(int32_t mode);
void StartIdent(int32_t unused);
// Label id of the VFR squawk key: 0x1200 101, 0x7000 102, else 0.
int VfrSquawkLabel(int code);
// The transponder status bit 1 (reply in progress); a failed read counts as clear.
extern int (*XpdrReplying)();

// Clears the soft keys and closes the boxes and sliders of the editors with them.
void ClearScreenKeys();
// Fills the shell's refresh hooks owned here (keys, editor time-outs, transponder).
void InstallScreenKeyLinks();
