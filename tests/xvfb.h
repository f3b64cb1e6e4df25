// A private virtual X server for the real-window tests: started on a free display number
// (the server picks it), stopped when the object goes.
#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "display.h"
#include "tool_missing.h"
#include "window.h"

extern char** environ;

class TXvfb {
public:
    std::string display;  // ":N" once started
    std::string error;    // why Start failed

    static bool Installed() {
        const char* path = getenv("PATH");
        std::string dirs = path ? path : "/usr/bin:/bin";
        size_t pos = 0;
        while (pos <= dirs.size()) {
            size_t end = dirs.find(':', pos);
            if (end == std::string::npos) end = dirs.size();
            const std::string file = dirs.substr(pos, end - pos) + "/Xvfb";
            if (access(file.c_str(), X_OK) == 0) return true;
            pos = end + 1;
        }
        return false;
    }

    // screen: "WxHxDEPTH"; extra: further server arguments. Tries display numbers that
    // look free; a server that finds its number taken exits, and the next one is tried.
    bool Start(const char* screen = "1024x768x24", std::vector<std::string> extra = {}) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            const int n = 100 + (static_cast<int>(getpid()) * 7 + attempt * 131) % 800;
            struct stat st;
            if (stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) == 0 ||
                stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) == 0)
                continue;
            if (StartOn(n, screen, extra)) return true;
        }
        return Fail("no free display number");
    }

    ~TXvfb() { Stop(); }

private:
    pid_t pid_ = 0;

    bool StartOn(int number, const char* screen, const std::vector<std::string>& extra) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return Fail("pipe");
        std::vector<std::string> args = {"Xvfb", ":" + std::to_string(number), "-displayfd", "3",
                                         "-screen", "0", screen, "-nolisten", "tcp",
                                         "-noreset"};  // no reset when the last client leaves
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (rc != 0) {
            pid_ = 0;
            close(fds[0]);
            return Fail("spawn");
        }
        // The server writes its display number once it accepts connections; it closes the
        // pipe without a word when it cannot take the number.
        std::string text;
        for (int i = 0; i < 300 && text.find('\n') == std::string::npos; ++i) {
            pollfd p = {fds[0], POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[16];
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0) break;
            text.append(buf, static_cast<size_t>(n));
        }
        close(fds[0]);
        if (text != std::to_string(number) + "\n") {
            Stop();
            return Fail("server did not start");
        }
        display = ":" + std::to_string(number);
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        struct stat st;
        for (int i = 0; i < 300 && stat(socket.c_str(), &st) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return true;
    }

public:
    // Ends the server, as when the desktop's X server goes under its clients.
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

private:
    bool Fail(const char* what) {
        error = what;
        return false;
    }
};

// Polls until an event arrives (bounded); false when none came.
inline bool PollEvent(TDisplay* display, TDisplayEvent* event) {
    for (int i = 0; i < 500; ++i) {
        const int rc = display->Poll(event);
        if (rc != 0) return rc == 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Tests against one private server per suite; DISPLAY points at it.
class XvfbTest : public ::testing::Test {
protected:
    inline static std::unique_ptr<TXvfb> server;

    static void SetUpTestSuite() {
        if (!TXvfb::Installed()) return;
        server = std::make_unique<TXvfb>();
        if (!server->Start()) server.reset();
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        if (!TXvfb::Installed()) TOOL_MISSING() << "Xvfb is not installed";
        ASSERT_TRUE(server) << "Xvfb did not start";
        setenv("DISPLAY", server->display.c_str(), 1);
        unsetenv("DASHVIEW_HEADLESS");
    }
    void TearDown() override { WindowCloseLink(); }
};
