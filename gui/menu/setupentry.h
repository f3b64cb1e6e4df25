// Setup mode: entry with confirmation and an optional four-digit code (three tries, then
// restricted mode), the code entry itself, the password change, and setup exit with or
// without saving. Each state machine is one function taking a step; the soft keys bound
// by one step call the same function with the next.
#pragma once

#include <cstdint>

// Password slots (installer, administrator, user); 0 means no password. They are the
// setup setting 0x4021, kept by "Save and Exit" with the rest of the setup.
extern int32_t (&PasswordSlots)[3];
// A stored password of the role's slot selects that slot (the entry then asks for it).
void SelectStoredPasswordSlot();
// The slot the entry asks for; null until a password is changed (or selected at start).
extern int32_t* SelectedSlot;
extern int32_t PasswordFailures;

// ---- code entry ----
extern int32_t CodeEntryValue;     // 0..9999
extern int32_t CodeEntryFirst;     // the first entry of a new password
extern int32_t CodeEntryPosition;  // 1..4, 4 = thousands digit
extern int CodeEntryShown;
extern const char* CodeEntryTitle;

typedef void (*TPasswordCallback)(int32_t argument);
// The code entry calls callback(argument) on success, callback(argument + 1) otherwise.
void SetPasswordCallback(TPasswordCallback callback, int32_t argument);
// 0 enter, 1 cancel, 2 done, 3 new, 4 confirm new, 5 compare, 7 digit down, 8 digit up,
// 9 next position.
void PasswordEntry(int32_t step);
// One digit of a four-digit code stepped without carry (position 1 units .. 4 thousands).
int32_t StepCodeDigit(int32_t value, int position, int up);
// Draws the open code entry over the screen (the overlay painter calls it).
void DrawPasswordEntry();

// -1 selects the slot by role, 1 stores the entered code, 2 reports a mismatch.
void ChangePassword(int32_t step);

// 1..7: confirmation, code entry, wrong codes, restricted mode.
void enterToSetup(int32_t step);
// 1 ask to save, 2 No, 3 save and leave, 4 ask to leave, 5 leave without saving.
void exitSetup(int32_t step);

// Installs the code-entry drawing into the value-editor painter.
void InstallSetupEntryLinks();
