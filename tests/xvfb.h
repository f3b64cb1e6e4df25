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

    // screen: "WxHxDEPTH"; extra: further server arguments.
    bool Start(const char* screen = "1024x768x24", std::vector<std::string> extra = {}) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return Fail("pipe");
        std::vector<std::string> args = {"Xvfb", "-displayfd", "3", "-screen", "0", screen,
                                         "-nolisten", "tcp"};
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
        // The server writes its display number once it accepts connections.
        std::string number;
        for (int i = 0; i < 300 && number.find('\n') == std::string::npos; ++i) {
            pollfd p = {fds[0], POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[16];
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0) break;
            number.append(buf, static_cast<size_t>(n));
        }
        close(fds[0]);
        if (number.empty() || number.find('\n') == std::string::npos) return Fail("no display number");
        display = ":" + number.substr(0, number.find('\n'));
        const std::string socket = "/tmp/.X11-unix/X" + display.substr(1);
        struct stat st;
        for (int i = 0; i < 300 && stat(socket.c_str(), &st) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return true;
    }

    ~TXvfb() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status;
        waitpid(pid_, &status, 0);
    }

private:
    pid_t pid_ = 0;

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
        if (!TXvfb::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(server) << "Xvfb did not start";
        setenv("DISPLAY", server->display.c_str(), 1);
        unsetenv("DASHVIEW_HEADLESS");
    }
    void TearDown() override { WindowCloseLink(); }
};
