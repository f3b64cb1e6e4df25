// The about box, the word wrap of the popup list, the decimal order of the
// transponder editor's cursor and the camera-unit calls of the screen code.
#pragma once

#include <cstdint>

#include "drawbase.h"

class FGDrawBuffer;

// The about box of the main menu's "About" item: 250 x 150 at (275, 165) while shown.
class CAboutBox : public CDraw {
public:
    int32_t shown = 0;            // 1 while a drawing window is attached
    uint32_t hwVersion = 0;
    uint32_t versionMajor = 0, versionMinor = 0, versionBuild = 0;
    uint32_t release = 0;
    uint32_t installationId = 0;  // shown as "IID"
    int32_t deviceType = 0;
    char text[256] = {};          // the line being formatted

    CAboutBox() : CDraw(nullptr, 0, 0, -1, -1) {}
    // Attaches a window (shown) or none (hidden).
    void SetSurface(FGDrawBuffer* window);
    void Draw() override;
};
// The one about box of the run.
extern CAboutBox AboutBox;
// Model name of a device type code ("Unknown", translated, for codes not in the table).
const char* AboutModelName(int deviceType);
// First word of the device information 0x7002; 0 when it cannot be read. Never raises
// the settings-error flag (the box would otherwise bring up the error box).
uint32_t AboutInstallationId();
// Reads the release number, the first integer of the file "last_release"; keeps
// *release when the file is missing or holds none. 0 read, -1 not.
int ReadLastRelease(const char* path, uint32_t* release);

// Pixel width of a text; the second argument is the user value of the wrap.
using TTextWidthFn = int (*)(const char* text, FGDrawBuffer* window);

// Width of text in the current font of window, or of the main window when none
// is given; 0 without text or without any window.
int MeasureTextWidth(const char* text, FGDrawBuffer* window = nullptr);

// Breaks buffer in place into lines no wider than width (a line ends at the first
// blank at which it got wider; a single long word is never split; a newline always
// breaks). lines gets the line starts. Returns the line count (0 for an empty text),
// or -1 when more than maxLines lines are needed (lines found so far stay terminated).
int WordWrapBuffer(char* buffer, char** lines, int maxLines, int width, TTextWidthFn widthFn,
                   FGDrawBuffer* user);
// The same on a copy in one shared 1024-character buffer (longer texts are cut);
// the lines stay valid until the next call. Main thread only.
int WordWrap(const char* text, const char** lines, int maxLines, int width, TTextWidthFn widthFn);

// Smallest n >= 0 with 10^n >= x; -1 with errno EDOM for x < 0 and ERANGE for 0.
int DecimalOrder(int32_t x);

// The camera unit does not exist here: these report only what they were given.
bool JpdMakeUpDown(void* camera, int raise);
int JpdStartStamp(void* camera = nullptr);
