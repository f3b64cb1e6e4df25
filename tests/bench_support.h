// Test support for benchdesk's data sources: a block with the thread's
// attachments in place, captured console lines, loopback sockets and waiting.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Threadmeassure.h"
#include "measured_block.h"

// Console lines of the data-source code, collected from any thread.
struct ConsoleCapture {
    static std::mutex& Lock() {
        static std::mutex m;
        return m;
    }
    static std::string& Text() {
        static std::string t;
        return t;
    }
    static void Hook(const char* line) {
        std::lock_guard<std::mutex> g(Lock());
        Text() += line;
    }
    static std::string Take() {
        std::lock_guard<std::mutex> g(Lock());
        std::string t;
        t.swap(Text());
        return t;
    }
    static std::string Peek() {
        std::lock_guard<std::mutex> g(Lock());
        return Text();
    }
};

inline int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Waits (without asserting any time) until the condition holds; false after 10 s, or after
// the deadline of a "within about N s" behaviour.
inline bool WaitUntil(const std::function<bool()>& cond, int deadlineMs = 10000) {
    for (int i = 0; i < deadlineMs / 10; ++i) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return cond();
}

// A block of the test's own, the console captured; Attach() gives the data
// source its writer and reader as the thread would.
class BenchBlockTest : public MeasuredBlockTest {
protected:
    void SetUp() override {
        MeasuredBlockTest::SetUp();
        BenchConsoleHook = ConsoleCapture::Hook;
        BenchDumpSamples = true;  // the tests read the value dumps
        ConsoleCapture::Take();
    }
    void TearDown() override {
        ValWriter = nullptr;
        ValReader = nullptr;
        writer_.reset();
        reader_.reset();
        BenchConsoleHook = StdoutConsole;
        BenchDumpSamples = BenchDumpFromEnvironment();
        MeasuredBlockTest::TearDown();
    }
    void Attach() {
        writer_ = std::make_unique<TMValWriter>();
        reader_ = std::make_unique<TMValReader>();
        ValWriter = writer_.get();
        ValReader = reader_.get();
    }
    // A reader for tests that let the thread make its own attachments.
    TMValReader& Reader() {
        if (!reader_) reader_ = std::make_unique<TMValReader>();
        return *reader_;
    }
    // The raw word of a channel, or -99999999 when it cannot be read.
    int32_t Raw(uint32_t id) {
        MeasShmSlot slot;
        if (Reader().GetChanRawData(id, &slot) != 0) return -99999999;
        return slot.Value();
    }
    uint32_t TypeOf(uint32_t id) {
        MeasShmSlot slot;
        if (Reader().GetChanRawData(id, &slot) != 0) return 999;
        return slot.type.Get();
    }
    std::string Text(uint32_t id) {
        char text[9];
        return Reader().GetText(id, text, 8) == 0 ? text : "?";
    }

    std::unique_ptr<TMValWriter> writer_;
    std::unique_ptr<TMValReader> reader_;
};

// ---- loopback ----

inline sockaddr_in Loopback(uint16_t port) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A listening socket on a free loopback port.
inline int ListenAnyPort(uint16_t& port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a = Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd, 16);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

// A port nobody listens on (just freed).
inline uint16_t FreePort() {
    uint16_t port;
    close(ListenAnyPort(port));
    return port;
}

// Connects to a loopback port, retrying while the server is not up yet; -1 at last.
inline int ConnectTo(uint16_t port) {
    int fd = -1;
    WaitUntil([&] {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = Loopback(port);
        if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return true;
        close(fd);
        fd = -1;
        return false;
    });
    return fd;
}

inline bool SendAll(int fd, const void* data, size_t length) {
    const char* p = static_cast<const char*>(data);
    while (length > 0) {
        ssize_t n = send(fd, p, length, MSG_NOSIGNAL);
        if (n <= 0) return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}
