#include "fgprops.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "Threadmeassure.h"

const TFGPropRow FGPropTable[FGPropRows] = {
    {echNavValid, 'G', 1000, 1, "/instrumentation/nav/in-range"},  // nav-loc only tells a localizer
    {echNavGsiValid, 'G', 1000, 1, "/instrumentation/nav/has-gs"},
    {echNavTo, 'G', 1000, 1, "/instrumentation/nav/to-flag"},
    {echNavFrom, 'G', 1000, 1, "/instrumentation/nav/from-flag"},
    {echNavCdiDef, 'G', 1000, 3, "/instrumentation/nav/heading-needle-deflection"},
    {echCtrlPosServo1Target, 'S', 1000, 1, "/controls/flight/elevator"},
    {echCtrlPosServo2Target, 'S', 1000, 1, "/controls/flight/aileron"},
    {echNavGsiDef, 'G', 1000, 3, "/instrumentation/nav/gs-needle-deflection"},
    {echNavObs, 'G', 1000, 3, "/instrumentation/nav/radials/selected-deg"},
    {echNavIdnt, 'G', 1000, 4, "/instrumentation/nav/nav-id"},
    {echNavFreqA, 'G', 1000, 3, "/instrumentation/nav/frequencies/selected-mhz-fmt",
     "/instrumentation/nav/frequencies/selected-mhz"},
    {echNavFreqS, 'G', 1000, 3, "/instrumentation/nav/frequencies/standby-mhz-fmt",
     "/instrumentation/nav/frequencies/standby-mhz"},
    {echNavBta, 'G', 1000, 3, "/instrumentation/nav/radials/actual-deg"},
    {echCtrlPosServo1Target, 'S', 1000, 1, "/controls/flight/elevator"},
    {echCtrlPosServo2Target, 'S', 1000, 1, "/controls/flight/aileron"},
    {echNavBts, 'G', 1000, 3, "/instrumentation/nav/heading-deg"},  // the bearing to the station
    {echGPSGrSpeed, 'G', 1000, 3, "/instrumentation/gps/indicated-ground-speed-kt"},
    {echGPSAlt, 'G', 1000, 3, "/instrumentation/gps/indicated-altitude-ft"},
    {echGPSId, 'G', 1000, 4, "/instrumentation/gps/wp/wp[1]/ID"},
    {echGPSDtw, 'G', 1000, 3, "/instrumentation/gps/wp/wp[1]/distance-nm"},
    {echCtrlPosServo1Target, 'S', 1000, 1, "/controls/flight/elevator"},
    {echCtrlPosServo2Target, 'S', 1000, 1, "/controls/flight/aileron"},
    {echGPSBtw, 'G', 1000, 3, "/instrumentation/gps/wp/wp[1]/bearing-true-deg"},
    {echGPSCrs, 'G', 1000, 3, "/instrumentation/gps/indicated-track-magnetic-deg"},
    {echGPSTrk, 'G', 1000, 3, "/instrumentation/gps/indicated-track-true-deg"},
    {echGPSCdi, 'G', 1000, 3, "/instrumentation/gps/wp/wp[1]/course-error-nm"},
    {echGPSValid, 'G', 1000, 1, "/instrumentation/gps/serviceable"},
    {echCtrlPosServo1Target, 'S', 1000, 1, "/controls/flight/elevator"},
    {echCtrlPosServo2Target, 'S', 1000, 1, "/controls/flight/aileron"},
};

namespace {

// A stray line longer than this ends the connection instead of being skipped.
constexpr int PropDiscardLimit = 65536;
constexpr int PropWaitSliceMs = 50;

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

int ParsePropReply(const char* reply, int kind, char* value, int capacity) {
    if (!reply || !value || capacity < 1) return -1;
    value[0] = '\0';
    const char* first = strchr(reply, '\'');
    const char* last = strrchr(reply, '\'');
    if (!first || last - first < 2) return -1;
    size_t length = static_cast<size_t>(last - first - 1);
    if (length > static_cast<size_t>(capacity - 1)) length = static_cast<size_t>(capacity - 1);
    memcpy(value, first + 1, length);
    value[length] = '\0';
    if (kind == 1) {
        const char* flag = !strcmp(value, "true") ? "1" : !strcmp(value, "false") ? "0" : "-9999";
        snprintf(value, static_cast<size_t>(capacity), "%s", flag);
    }
    return 0;
}

TFGProps::TFGProps(const char* host, uint16_t port, TFGPropGetFn get, TFGPropSetFn set)
    : Port(port), Socket(-1), Connected(false), Running(false), OnGet(get), OnSet(set) {
    snprintf(Host, sizeof Host, "%s", host ? host : PropServerHost);
}

TFGProps::~TFGProps() {
    Running = false;
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    Disconnect();
}

int TFGProps::Connect() {
    if (Connected) return -2;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(Port);
    if (inet_pton(AF_INET, Host, &addr.sin_addr) != 1) return -1;
    UniqueFd fd(socket(AF_INET, SOCK_STREAM, 0));
    if (fd.get() < 0) return -1;
    if (connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) return -1;
    int one = 1;
    setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    Socket = fd.release();
    Connected = true;
    return 0;
}

void TFGProps::Disconnect() {
    if (Socket >= 0) {
        shutdown(Socket, SHUT_RDWR);
        close(Socket);
    }
    Socket = -1;
    Connected = false;
}

int TFGProps::SendLine(const char* line) {
    size_t left = strlen(line);
    while (left > 0) {
        ssize_t n = send(Socket, line, left, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        line += n;
        left -= static_cast<size_t>(n);
    }
    return 0;
}

// Whatever is still pending belongs to no request of ours (a prompt, a late
// line): dropped, so that every reply is read after its own request.
void TFGProps::DropPending() {
    char junk[512];
    for (int total = 0; total < PropDiscardLimit;) {
        ssize_t n = recv(Socket, junk, sizeof junk, MSG_DONTWAIT);
        if (n <= 0) return;
        total += static_cast<int>(n);
    }
}

// One reply line, up to PropReplySize bytes of it, NUL-terminated in
// reply[PropReplySize + 1]. Longer lines are read to their end and cut.
int TFGProps::ReceiveReply(char* reply) {
    int length = 0, seen = 0;
    bool complete = false;
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(PropReplyTimeoutMs);
    char spill[512];
    while (!complete) {
        CheckQuiet();
        if (stop_ || seen > PropDiscardLimit) return -1;
        int wait = MsLeft(deadline);
        if (wait == 0) return -1;
        pollfd p = {Socket, POLLIN, 0};
        int ready = poll(&p, 1, wait < PropWaitSliceMs ? wait : PropWaitSliceMs);
        if (ready < 0 && errno != EINTR) return -1;
        if (ready <= 0) continue;
        char* into = length < PropReplySize ? reply + length : spill;
        size_t room = length < PropReplySize ? static_cast<size_t>(PropReplySize - length) : sizeof spill;
        ssize_t n = recv(Socket, into, room, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        complete = memchr(into, '\n', static_cast<size_t>(n)) != nullptr;
        if (into != spill) length += static_cast<int>(n);
        seen += static_cast<int>(n);
    }
    reply[length] = '\0';
    // A reply ends at its line's end; anything read beyond belongs to no request.
    if (char* end = strchr(reply, '\n')) end[1] = '\0';
    return 0;
}

int TFGProps::Poll() {
    if (!Connected) return -1;
    char replyBuffer[PropReplySize + 1];
    for (int row = 0; row < FGPropRows && !stop_; ++row) {
        const TFGPropRow& r = FGPropTable[row];
        char line[PropReplySize];
        if (r.mode == 'G') {
            snprintf(line, sizeof line, "get %s\r\n", r.path);
        } else {
            char value[64];
            if (!OnSet || OnSet(row, value, sizeof value) < 0) continue;
            value[sizeof value - 1] = '\0';
            snprintf(line, sizeof line, "set %s %s\r\n", r.path, value);
        }
        if (Ask(line, replyBuffer) != 0) return -2;
        if (r.mode != 'G') continue;
        char value[PropReplySize + 1];
        int got = ParsePropReply(replyBuffer, r.kind, value, sizeof value);
        if (got != 0 && r.orElse) {
            snprintf(line, sizeof line, "get %s\r\n", r.orElse);
            if (Ask(line, replyBuffer) != 0) return -2;
            got = ParsePropReply(replyBuffer, r.kind, value, sizeof value);
        }
        if (got == 0 && OnGet && OnGet(row, value) == 0) Feed.Fed(r.chan);
    }
    return 0;
}

int TFGProps::Ask(const char* line, char* reply) {
    DropPending();
    if (SendLine(line) != 0 || ReceiveReply(reply) != 0) {
        Disconnect();
        return -1;
    }
    Feed.Heard();
    return 0;
}

void TFGProps::SleepWhileRunning(int ms) {
    for (int slept = 0; slept < ms && Running && !stop_; slept += 10) {
        CheckQuiet();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms - slept < 10 ? ms - slept : 10));
    }
}

void TFGProps::CheckQuiet() {
    if (int n = Feed.Quiet())
        BenchPrintf("The simulator's property server stopped answering: %d values read as none until it answers.\n", n);
}

void TFGProps::ThreadProc() {
    while (Running && !stop_) {
        if (Connected || Connect() == 0) {
            Poll();
            SleepWhileRunning(20);
        } else {
            SleepWhileRunning(500);
        }
    }
}

int TFGProps::StartThread() {
    if (thread_.joinable()) {
        if (Running) return -1;
        thread_.join();  // an earlier thread already left its loop
    }
    Running = true;
    try {
        thread_ = std::thread(&TFGProps::ThreadProc, this);
    } catch (const std::system_error&) {
        Running = false;
        return -1;
    }
    return 0;
}

// ---- callbacks of the data-source thread ----

namespace {

// A number that fills the text (surrounding blanks allowed): 0, or -1.
int ReadNumber(const char* text, double& out) {
    char* end = nullptr;
    errno = 0;
    out = strtod(text, &end);
    if (end == text) return -1;
    while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n') ++end;
    return *end ? -1 : 0;
}

}  // namespace

int FgPropGet(int row, const char* value) {
    if (row < 0 || row >= FGPropRows || !value) return -1;
    const TFGPropRow& r = FGPropTable[row];
    double number;
    switch (r.kind) {
    case 1:
    case 2:
        if (ReadNumber(value, number) != 0) return -3;
        // The page reads a valid bit and a fix kind, not a flag.
        if (r.chan == echGPSValid && number != MeasNoValue) number = number != 0 ? GpsWordValid : 0;
        return SetChanValueOrNone(r.chan, std::trunc(number)) < 0 ? -3 : 0;
    case 3:
        if (ReadNumber(value, number) != 0) return -3;
        // The simulator's own "no value": a bearing of -9999, a distance of -1 without a route.
        if (number == MeasNoValue || (r.chan == echGPSDtw && number < 0))
            return SetChanNoValue(r.chan) < 0 ? -3 : 0;
        switch (r.chan) {
        case echGPSGrSpeed:
        case echGPSDtw: number *= 1.852; break;
        case echGPSAlt: number *= 0.3048; break;
        case echNavCdiDef: number *= 10; break;
        case echNavGsiDef: number *= 15; break;
        default: break;
        }
        return SetChanValueOrNone(r.chan, number) < 0 ? -3 : 0;
    case 4: {
        TMValWriter* writer = ValWriter.load();
        if (!writer) return -2;
        return writer->SetVal(r.chan, value) < 0 ? -3 : 0;
    }
    default:
        return -1;
    }
}

int FgPropSet(int row, char* value, int capacity) {
    if (row < 0 || row >= FGPropRows || !value || capacity < 1) return -100;
    uint32_t chan = FGPropTable[row].chan;
    if (chan != echCtrlPosServo1Target && chan != echCtrlPosServo2Target) return -100;
    TMValReader* reader = ValReader.load();
    if (!reader) return -1;
    int32_t raw;
    TMValInfo info = {MValInfoWantType, 0, 0};
    if (reader->GetVal(chan, raw, -1, nullptr, &info) != 0) return -1;
    // A servo target nobody ever set would drive the control to neutral.
    if (info.valueType == mvtNone) return -1;
    snprintf(value, static_cast<size_t>(capacity), "%0.3f", raw * 0.001);
    return 0;
}
