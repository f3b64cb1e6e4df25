// The checklist box: the lines of the checklist chosen in the menu, under the
// checklist file's title, drawn by the overlay painter while it is open.
#pragma once

#include <cstdint>

#include "settingvars.h"

class FGDrawBuffer;

// Lines shown; 0 = the box is closed. The menu sets it, closing the overlays clears it.
extern int ChecklistBoxLineCount;
// The chosen checklist's lines, NUL-terminated.
extern char ChecklistBoxLines[ChecklistLines][ChecklistLineSize];
// The translated name of the chosen checklist ("Landing Checklist"); may be null.
extern const char* ChecklistBoxName;

// Lines up to the last non-empty one, at least 1.
int ChecklistUsedLines(const char (*lines)[ChecklistLineSize], int count);
// The menu's opening of a checklist (list 0..7, section 0x3001 + list): reads the
// file's header and the list's lines from the settings, copies them and sets the
// line count. Returns the count, or -1 for a list out of range.
int OpenChecklistBox(int list, const char* name);

// Box geometry for n lines: height 20 n + 90, width 500, centred, 15 px above the
// middle but at least 2 from the top.
constexpr int ChecklistBoxX = 150, ChecklistBoxW = 500;
int ChecklistBoxHeight(int lines);
int ChecklistBoxY(int lines);

// Toolkit font of an overlay font role (10 body, 11 title); -1 when not registered.
int OverlayRoleFont(int role);

void DrawTextMessageBox(FGDrawBuffer* window);
