#include "checklist.h"

#include <algorithm>
#include <cstring>

#include "configmanager.h"
#include "displayitems.h"
#include "extremes.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "shellstate.h"

int ChecklistBoxLineCount = 0;
char ChecklistBoxLines[ChecklistLines][ChecklistLineSize];
const char* ChecklistBoxName = nullptr;

namespace {

constexpr int TextX = 160, RightEdge = 640;
constexpr int LineStep = 20;

// A stored text of a fixed field, cut at the field's end when no NUL ends it.
template <size_t N>
void CopyField(char (&out)[N + 1], const char* field) {
    const size_t n = strnlen(field, N);
    memcpy(out, field, n);
    out[n] = '\0';
}

}  // namespace

int ChecklistUsedLines(const char (*lines)[ChecklistLineSize], int count) {
    int used = 1;
    for (int i = 0; i < std::min(count, ChecklistLines); ++i)
        if (lines[i][0] != '\0') used = i + 1;
    return used;
}

int OpenChecklistBox(int list, const char* name) {
    if (list < 0 || list >= ChecklistCount) return -1;
    GetSS(SsChecklistHeader, 0);
    for (int i = 0; i < ChecklistLines; ++i) {
        GetSS(static_cast<uint16_t>(SsChecklistLines + list), static_cast<uint16_t>(i));
        char line[ChecklistLineSize];
        CopyField<ChecklistLineSize - 1>(line, ChecklistTable[list][i]);
        memcpy(ChecklistBoxLines[i], line, sizeof line);
    }
    ChecklistBoxName = name;
    ChecklistBoxLineCount = ChecklistUsedLines(ChecklistBoxLines, ChecklistLines);
    return ChecklistBoxLineCount;
}

int ChecklistBoxHeight(int lines) { return LineStep * lines + 90; }

int ChecklistBoxY(int lines) { return std::max((480 - ChecklistBoxHeight(lines)) / 2 - 15, 2); }

int OverlayRoleFont(int role) { return DisplayItemFont(role, LanguageId); }

void DrawTextMessageBox(FGDrawBuffer* window) {
    if (!window) return;
    // Never more lines than the box holds, whatever the count says.
    const int n = std::min(ChecklistBoxLineCount, ChecklistLines);
    if (n <= 0) return;
    const int h = ChecklistBoxHeight(n), y = ChecklistBoxY(n);
    const FGPixel ink = DisplayPalette.PalOverlayText, paper = DisplayPalette.PalOverlayPanel;
    window->set_mode(DrawModeCopy);
    DrawOverlayBox(window, ChecklistBoxX, y, ChecklistBoxW, h);

    char title[sizeof ChecklistHeader.title + 1];
    CopyField<sizeof ChecklistHeader.title>(title, ChecklistHeader.title);
    SelectDisplayFont(window, OverlayRoleFont(11));
    window->text(TextX, y + 10, title, ink, paper);
    SelectDisplayFont(window, OverlayRoleFont(10));
    if (ChecklistBoxName) window->text(TextX, y + 35, ChecklistBoxName, ink, paper);

    SelectDisplayFont(window, Overlay16pxFont());
    for (int i = 0; i < n; ++i) {
        char line[ChecklistLineSize];
        CopyField<ChecklistLineSize - 1>(line, ChecklistBoxLines[i]);
        const int ly = y + 10 + LineStep * (i + 3);
        char* split = strchr(line, ';');
        if (!split) {
            window->text(TextX, ly, line, ink, paper);
            continue;
        }
        *split = '\0';
        const char* right = split + 1;
        window->text(TextX, ly, line, ink, paper);
        window->text(RightEdge - FGFontManager::textwidth(window->get_font(), right), ly, right, ink, paper);
    }
}
