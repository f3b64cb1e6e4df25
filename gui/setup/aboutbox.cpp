#include "aboutbox.h"

#include <libintl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "checklist.h"
#include "configmanager.h"
#include "fgcolor.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "readfile.h"
#include "shellstate.h"

CAboutBox AboutBox;

namespace {

constexpr int BoxX = 275, BoxY = 165, BoxW = 250, BoxH = 150;
constexpr uint32_t TitleBlue = 0x0091BB;                       // RGB(0, 145, 187)
constexpr uint32_t BarFrom = 0xEB4170, BarTo = 0xF9BFCF;       // RGB(235, 65, 112), RGB(249, 191, 207)
constexpr uint32_t Black = 0x000000;

}  // namespace

const char* AboutModelName(int deviceType) {
    switch (deviceType) {
        case DeviceEfis: return "HK 4105";
        case DeviceEfisEms: return "HK 4205";
        case DeviceEms: return "HK 4305";
        case DeviceRemoteDisplay: return "HK 4405";
        case DeviceEfisEms2: return "HK 4505";
        case DeviceEms2: return "HK 4605";
        default: return gettext("Unknown");
    }
}

uint32_t AboutInstallationId() {
    TConfigSetting* store = ConfigManager.Store();
    uint8_t info[16] = {};
    if (!store || store->GetSectionData(SsInstallInfo, 0, info, sizeof info) < 0) return 0;
    return static_cast<uint32_t>(info[0]) | static_cast<uint32_t>(info[1]) << 8 |
           static_cast<uint32_t>(info[2]) << 16 | static_cast<uint32_t>(info[3]) << 24;
}

int ReadLastRelease(const char* path, uint32_t* release) {
    FILE* f = OpenStreamForReading(path);
    if (!f) return -1;
    int value = 0;
    const int n = fscanf(f, "%d", &value);
    fclose(f);
    if (n != 1) return -1;
    *release = static_cast<uint32_t>(value);
    return 0;
}

void CAboutBox::SetSurface(FGDrawBuffer* win) {
    window = win;
    shown = win ? 1 : 0;
}

void CAboutBox::Draw() {
    if (!shown || !window) return;
    FGDrawBuffer* w = window;
    x = BoxX, y = BoxY, this->w = BoxW, h = BoxH;
    const unsigned mode = w->get_mode();
    const FGPixel key = w->get_colorkey();
    const int font = w->get_font();

    w->set_mode(DrawModeCopy);
    w->fillbox(x, y, BoxW, BoxH, WhiteColour);
    w->box(x, y, BoxW, BoxH, Black);
    w->box(x + 1, y + 1, BoxW - 2, BoxH - 2, Black);
    w->set_mode(DrawModeKeyed);
    w->set_colorkey(PageKeyColour);

    SelectDisplayFont(w, OverlayRoleFont(11));
    snprintf(text, sizeof text, "Skyvane  %s", AboutModelName(deviceType));
    w->text(x + 20, y + 20, text, TitleBlue, PageKeyColour);

    FGGradient bar{FGColor(BarFrom), FGColor(BarTo)};
    const FGRect r{x + 20, y + 50, 210, 3};
    bar.draw(w, FGPoint{x + 20, y + 50}, FGPoint{x + 230, y + 50}, &r);

    SelectDisplayFont(w, OverlayRoleFont(8));
    w->text(x + 20, y + 60, gettext("Desktop instrument software"), Black, PageKeyColour);
    snprintf(text, sizeof text, "%s %u", gettext("HW version"), hwVersion);
    w->text(x + 20, y + 80, text, Black, PageKeyColour);
    snprintf(text, sizeof text, "%s %u.%u.%u   rev. %s", gettext("GUI version"), versionMajor, versionMinor,
             versionBuild, "755");
    w->text(x + 20, y + 100, text, Black, PageKeyColour);
    snprintf(text, sizeof text, "%s %u", gettext("Release"), release);
    w->text(x + 20, y + 120, text, Black, PageKeyColour);
    snprintf(text, sizeof text, "%s: %u", "IID", installationId);
    w->text(x + 230 - MeasureTextWidth(text, w), y + 130, text, Black, PageKeyColour);

    // The window's next user finds its own raster mode, key and font.
    w->set_mode(mode);
    w->set_colorkey(key);
    w->set_font(font);
}

int MeasureTextWidth(const char* text, FGDrawBuffer* window) {
    if (!text) return 0;
    FGDrawBuffer* w = window ? window : MainWindow;
    if (!w) return 0;
    return FGFontManager::textwidth(w->get_font(), text);
}

int WordWrapBuffer(char* buffer, char** lines, int maxLines, int width, TTextWidthFn widthFn,
                   FGDrawBuffer* user) {
    if (!buffer || !lines || !widthFn) return -1;
    if (!*buffer) return 0;
    if (maxLines <= 0) return -1;
    int line = 0;
    lines[0] = buffer;
    for (char* p = buffer; *p; ++p) {
        if (*p != ' ' && *p != '\n') continue;
        const char was = *p;
        *p = '\0';
        if (was == '\n' || widthFn(lines[line], user) > width) {
            if (line + 1 >= maxLines) return -1;
            lines[++line] = p + 1;
        } else {
            *p = was;
        }
    }
    return line + 1;
}

namespace {
char WrapBuffer[1024];
}

int WordWrap(const char* text, const char** lines, int maxLines, int width, TTextWidthFn widthFn) {
    if (!text || !lines) return -1;
    const size_t n = strnlen(text, sizeof WrapBuffer - 1);
    memcpy(WrapBuffer, text, n);
    WrapBuffer[n] = '\0';
    // The lines point into the shared buffer; the caller only reads them.
    return WordWrapBuffer(WrapBuffer, const_cast<char**>(lines), maxLines, width, widthFn, nullptr);
}

int DecimalOrder(int32_t x) {
    if (x < 0) {
        errno = EDOM;
        return -1;
    }
    if (x == 0) {
        errno = ERANGE;
        return -1;
    }
    // 64 bits: 10^10 is the first power that no longer fits a 32-bit word.
    int n = 0;
    for (int64_t p = 1; p < x; p *= 10) ++n;
    return n;
}

bool JpdMakeUpDown(void* camera, int /*raise*/) { return camera != nullptr; }

int JpdStartStamp(void* /*camera*/) { return 0; }
