#include "aboutbox.h"

#include <cerrno>
#include <cstring>

#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "shellstate.h"

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
