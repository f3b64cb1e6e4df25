#include "trace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---- trace line ----

namespace {

// Lines come from several threads: each goes whole in one append.
std::atomic<int> TraceLogFd{-1};
constexpr off_t TraceLogLimit = 4 << 20;

bool ErrorLine(const char* text) {
    const char* tab = strchr(text, '\t');
    return strncmp(tab ? tab + 1 : text, "Error: ", 7) == 0;
}

}  // namespace

void DefaultPrintHook(const char* text) {
    const int fd = TraceLogFd.load();
    if (fd < 0 || ErrorLine(text)) fputs(text, stderr);
    if (fd >= 0) (void)!write(fd, text, strlen(text));
}

int TraceLogOpen(bool fresh) {
    const char* console = getenv(TraceConsoleVariable);
    if (console && *console && strcmp(console, "0") != 0) return 0;
    struct stat st;
    if (!fresh && stat(TraceLogName, &st) == 0 && st.st_size > TraceLogLimit) fresh = true;
    const int fd = open(TraceLogName, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (fresh ? O_TRUNC : 0), 0644);
    if (fd < 0) return -1;
    const int old = TraceLogFd.exchange(fd);
    if (old >= 0) close(old);
    return 0;
}

TPrintHook PrintHook = DefaultPrintHook;

void HookVPrintf(const char* format, va_list ap) {
    char line[TraceLineSize];
    vsnprintf(line, sizeof line, format, ap);
    PrintHook(line);
}

void HookPrintf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    HookVPrintf(format, ap);
    va_end(ap);
}

namespace {
// Appends to a fixed line, cutting at the space that is left.
struct LineBuilder {
    char buf[TraceLineSize];
    size_t len = 0;
    LineBuilder() { buf[0] = '\0'; }
    void vadd(const char* fmt, va_list ap) {
        if (len + 1 >= sizeof buf) return;
        int n = vsnprintf(buf + len, sizeof buf - len, fmt, ap);
        if (n < 0) {
            buf[len] = '\0';
            return;
        }
        len += static_cast<size_t>(n) < sizeof buf - len ? static_cast<size_t>(n) : sizeof buf - len - 1;
    }
    void add(const char* fmt, ...) __attribute__((format(printf, 2, 3))) {
        va_list ap;
        va_start(ap, fmt);
        vadd(fmt, ap);
        va_end(ap);
    }
};
}  // namespace

int TraceLog(const TTraceOrigin* origin, const char* format, ...) {
    LineBuilder line;
    bool context = false;
    if (origin) {
        if (origin->file) { line.add("%s:", origin->file); context = true; }
        if (origin->func) { line.add("%s:", origin->func); context = true; }
        if (origin->line > 0) { line.add("%d:", origin->line); context = true; }
    }
    if (context) line.add("\t");
    if (origin && origin->level) line.add("%s", origin->level);
    if (format) {
        va_list ap;
        va_start(ap, format);
        line.vadd(format, ap);
        va_end(ap);
    }
    line.add("\n");
    PrintHook(line.buf);
    return static_cast<int>(line.len);
}

const char* TraceShortFile(const char* file) {
    // The directory above base/ is the root of the source tree.
    static const struct Prefix {
        size_t len = 0;
        char text[512] = {0};
        Prefix() {
            const char* self = __FILE__;
            const char* slash = strrchr(self, '/');
            if (!slash) return;
            // Up one more level: from base/ to the tree's root.
            const char* p = slash;
            while (p > self && *(p - 1) != '/') --p;
            size_t n = p > self ? static_cast<size_t>(p - 1 - self) : 0;
            if (n >= sizeof text) return;
            memcpy(text, self, n);
            text[n] = '\0';
            len = n;
        }
    } prefix;
    if (!file) return file;
    if (prefix.len > 0 && strncmp(file, prefix.text, prefix.len) == 0 && file[prefix.len] == '/')
        return file + prefix.len + 1;
    return file;
}
