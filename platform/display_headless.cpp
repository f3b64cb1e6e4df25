// Headless display: the frame buffer lives in memory, keys come from a queue or a script
// file, and presented frames can be written as BMP files for tests and for looking.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>

#include "bmpfile.h"
#include "display.h"
#include "trace.h"

namespace {

constexpr long KeysFileLimit = 1 << 20;
constexpr int32_t WaitLimitMs = 3600 * 1000;

struct TEventQueue {
    std::mutex lock;
    std::deque<TDisplayEvent> events;
} EventQueue;

const char* const KeyNames[DisplayKeyCount] = {
    "",   "Left", "Right", "Up", "Down", "Home", "End", "PageUp", "PageDown", "Insert", "Delete",
    "F1", "F2",   "F3",    "F4", "F5",   "F6",   "F7",  "F8",     "F9",       "F10",    "F11",
    "F12"};

bool EnvSet(const char* name) {
    const char* v = getenv(name);
    return v && *v;
}

// Reads a decimal number filling the whole word; false when it is not one or leaves [lo, hi].
bool ParseNumber(const std::string& word, int32_t lo, int32_t hi, int32_t* value) {
    if (word.empty() || word.size() > 9) return false;
    int32_t v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return false;
    *value = v;
    return true;
}

// One trimmed line of a key script into an item; false when malformed.
bool ParseKeyLine(const std::string& line, TDisplayScriptItem* item) {
    *item = TDisplayScriptItem{{DisplayEventNone, 0, 0}, 0};
    if (line.size() == 1) {
        item->event = {DisplayEventChar, static_cast<uint8_t>(line[0]), 0};
        return line[0] != '\0';
    }
    const size_t space = line.find_first_of(" \t");
    const std::string verb = line.substr(0, space);
    std::string arg;
    if (space != std::string::npos) {
        const size_t start = line.find_first_not_of(" \t", space);
        if (start != std::string::npos) arg = line.substr(start);
    }
    if (verb == "quit") {
        item->event.type = DisplayEventQuit;
        return arg.empty();
    }
    if (verb == "char") {
        item->event.type = DisplayEventChar;
        return ParseNumber(arg, 1, 255, &item->event.code);
    }
    if (verb == "alt") {
        item->event = {DisplayEventChar, arg.size() == 1 ? static_cast<uint8_t>(arg[0]) : 0,
                       DisplayModAlt};
        return item->event.code != 0;
    }
    if (verb == "wait") return ParseNumber(arg, 0, WaitLimitMs, &item->waitMs);
    if (verb == "key") {
        for (int32_t k = DisplayKeyLeft; k < DisplayKeyCount; ++k) {
            if (arg == KeyNames[k]) {
                item->event = {DisplayEventKey, k, 0};
                return true;
            }
        }
    }
    return false;
}

class THeadlessDisplay : public TDisplay {
public:
    std::vector<uint32_t> frame;
    std::deque<TDisplayRect> updates;
    std::vector<TDisplayScriptItem> script;
    size_t scriptPos = 0;
    bool waiting = false;
    std::chrono::steady_clock::time_point waitUntil;
    std::string snapshotDir;   // empty: no snapshots
    uint32_t snapshotCount = 0;
    bool presented = false;    // something was presented since the last snapshot

    ~THeadlessDisplay() override { WriteSnapshot(); }

    int Present(const TDisplayRect* rects, int32_t count) override {
        if (count < 0 || (count > 0 && !rects)) return DISPLAY_ERR_ARGS;
        for (int32_t i = 0; i < count; ++i) {
            TDisplayRect r;
            if (!DisplayClipRect(rects[i], width, height, &r)) continue;
            if (updates.size() == DisplayUpdateLimit) updates.pop_front();
            updates.push_back(r);
            presented = true;
        }
        return DISPLAY_OK;
    }

    // A frame is what was presented between two polls: it is written at the next poll.
    int WriteSnapshot() {
        if (!presented || snapshotDir.empty()) return DISPLAY_OK;
        presented = false;
        char name[32];
        snprintf(name, sizeof name, "/frame%05u.bmp", snapshotCount++);
        const std::string path = snapshotDir + name;
        if (BmpWrite24(path.c_str(), pixels, width, height, pitch) == BMP_OK) return DISPLAY_OK;
        TRACE_ERR("snapshot %s not written", path.c_str());
        return DISPLAY_ERR_SNAPSHOT;
    }

    int Poll(TDisplayEvent* event) override {
        if (!event) return DISPLAY_ERR_ARGS;
        *event = {DisplayEventNone, 0, 0};
        if (WriteSnapshot() != DISPLAY_OK) return DISPLAY_ERR_SNAPSHOT;
        {
            std::lock_guard<std::mutex> hold(EventQueue.lock);
            if (!EventQueue.events.empty()) {
                *event = EventQueue.events.front();
                EventQueue.events.pop_front();
                return 1;
            }
        }
        if (waiting) {
            if (std::chrono::steady_clock::now() < waitUntil) return 0;
            waiting = false;
        }
        while (scriptPos < script.size()) {
            const TDisplayScriptItem& item = script[scriptPos++];
            if (item.event.type != DisplayEventNone) {
                *event = item.event;
                return 1;
            }
            if (item.waitMs > 0) {
                waiting = true;
                waitUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(item.waitMs);
                return 0;
            }
        }
        return 0;
    }

    int Wait(int32_t timeoutMs) override {
        {
            std::lock_guard<std::mutex> hold(EventQueue.lock);
            if (!EventQueue.events.empty()) return 1;
        }
        int32_t wait = timeoutMs < 0 ? 0 : timeoutMs;
        if (waiting) {
            // A script's wait that ends sooner ends this one.
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                waitUntil - std::chrono::steady_clock::now() + std::chrono::microseconds(999));
            if (left.count() <= 0) return 1;
            if (left.count() < wait) wait = static_cast<int32_t>(left.count());
        } else if (scriptPos < script.size()) {
            return 1;
        }
        return DisplayWaitFd(-1, wait);
    }
};

int LoadKeysFile(const char* path, std::vector<TDisplayScriptItem>* items) {
    FILE* f = fopen(path, "rb");
    if (!f) {
        TRACE_ERR("keys file %s can't be opened", path);
        return DISPLAY_ERR_KEYS_FILE;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0 && text.size() <= KeysFileLimit) text.append(buf, n);
    const bool readError = ferror(f) != 0;
    fclose(f);
    if (readError || text.size() > KeysFileLimit) {
        TRACE_ERR("keys file %s can't be read or is too long", path);
        return DISPLAY_ERR_KEYS_FILE;
    }
    int32_t badLine = 0;
    if (DisplayParseKeys(text.data(), text.size(), items, &badLine) != DISPLAY_OK) {
        TRACE_ERR("keys file %s: line %d not understood", path, badLine);
        return DISPLAY_ERR_KEYS_FILE;
    }
    return DISPLAY_OK;
}

}  // namespace

bool DisplayClipRect(const TDisplayRect& r, int32_t width, int32_t height, TDisplayRect* out) {
    const int64_t x0 = r.x < 0 ? 0 : r.x, y0 = r.y < 0 ? 0 : r.y;
    int64_t x1 = static_cast<int64_t>(r.x) + r.w, y1 = static_cast<int64_t>(r.y) + r.h;
    if (x1 > width) x1 = width;
    if (y1 > height) y1 = height;
    if (x1 <= x0 || y1 <= y0) return false;
    *out = {static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
            static_cast<int32_t>(y1 - y0)};
    return true;
}

int DisplayParseKeys(const char* text, size_t size, std::vector<TDisplayScriptItem>* items,
                     int32_t* badLine) {
    if ((!text && size) || !items) return DISPLAY_ERR_ARGS;
    items->clear();
    int32_t lineNo = 0;
    size_t pos = 0;
    while (pos < size) {
        const char* nl = static_cast<const char*>(memchr(text + pos, '\n', size - pos));
        const size_t end = nl ? static_cast<size_t>(nl - text) : size;
        std::string line(text + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        if (line.size() > 1 && line[0] == '#') continue;
        TDisplayScriptItem item;
        if (!ParseKeyLine(line, &item)) {
            if (badLine) *badLine = lineNo;
            items->clear();
            return DISPLAY_ERR_KEYS_FILE;
        }
        items->push_back(item);
    }
    return DISPLAY_OK;
}

void DisplayPushEvent(const TDisplayEvent& event) {
    {
        std::lock_guard<std::mutex> hold(EventQueue.lock);
        EventQueue.events.push_back(event);
    }
    DisplayWake();
}

void DisplayClearEvents() {
    std::lock_guard<std::mutex> hold(EventQueue.lock);
    EventQueue.events.clear();
}

int DisplayTakeUpdates(TDisplay* display, std::vector<TDisplayRect>* rects) {
    if (!display || !rects || display->backend != DisplayBackendHeadless) return DISPLAY_ERR_ARGS;
    auto* headless = static_cast<THeadlessDisplay*>(display);
    rects->assign(headless->updates.begin(), headless->updates.end());
    headless->updates.clear();
    return static_cast<int>(rects->size());
}

int32_t DisplayChooseBackend() {
    const char* forced = getenv("DASHVIEW_HEADLESS");
    if (!EnvSet("DISPLAY") || (forced && strcmp(forced, "1") == 0)) return DisplayBackendHeadless;
    return DisplayBackendX11;
}

static int DisplayOpenHeadless(int32_t width, int32_t height, std::unique_ptr<TDisplay>* out) {
    auto display = std::make_unique<THeadlessDisplay>();
    if (EnvSet("DASHVIEW_KEYS")) {
        int rc = LoadKeysFile(getenv("DASHVIEW_KEYS"), &display->script);
        if (rc != DISPLAY_OK) return rc;
    }
    if (EnvSet("DASHVIEW_SNAPSHOT")) display->snapshotDir = getenv("DASHVIEW_SNAPSHOT");
    display->frame.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    display->backend = DisplayBackendHeadless;
    display->width = width;
    display->height = height;
    display->pitch = width;
    display->pixels = display->frame.data();
    *out = std::move(display);
    return DISPLAY_OK;
}

int DisplayOpen(const char* caption, const char* className, int32_t width, int32_t height,
                std::unique_ptr<TDisplay>* out, int32_t backend) {
    if (!out || !caption || !className || width < 1 || height < 1 || width > DisplayMaxSide ||
        height > DisplayMaxSide)
        return DISPLAY_ERR_ARGS;
    out->reset();
    if (backend == DisplayBackendAuto) backend = DisplayChooseBackend();
    if (backend == DisplayBackendHeadless) return DisplayOpenHeadless(width, height, out);
    if (backend == DisplayBackendX11) return DisplayOpenX11(caption, className, width, height, out);
    return DISPLAY_ERR_ARGS;
}
