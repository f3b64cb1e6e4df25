// dashview started in a test's run folder: the folder with the generated assets, the
// program started with its environment and waited for, the frames it presented, in
// order, and its output.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config_tempdir.h"
#include "fgbitmap.h"
#include "file_io.h"
#include "trace.h"

extern char** environ;

// From the flight screen: the main menu's "Enter Setup" (its sixth item), then "Yes".
const char* const EnterSetupKeys = "1\nwait 200\nw\nw\nw\nw\nw\nwait 200\n1\nwait 300\n4\nwait 600\n";

// A run folder (made when missing) with copies of the run directory's folders named.
inline bool MakeRunFolder(const std::string& dir, const std::vector<std::string>& assets) {
    std::string cmd = "mkdir -p '" + dir + "'";
    for (const std::string& a : assets) cmd += " && cp -r '" RUN_DIR "/" + a + "' '" + dir + "/'";
    return system(cmd.c_str()) == 0;
}

// A started dashview. The run folder is its working directory and its HOME (the window
// database and toolkit files stay there); it inherits the environment without DISPLAY,
// the DASHVIEW_ variables and whatever env sets; standard output and error go to the
// folder's output.txt, its diagnostic lines too.
class TDashview {
public:
    static std::string Program() { return std::string(RUN_DIR) + "/dashview"; }
    static bool Built() { return access(Program().c_str(), X_OK) == 0; }

    pid_t pid = 0;

    bool Start(const std::string& dir, const std::vector<std::string>& env, std::vector<std::string> args = {}) {
        auto set = [&](const std::string& v) {
            const std::string name = v.substr(0, v.find('=') + 1);
            for (const std::string& e : env)
                if (e.rfind(name, 0) == 0) return true;
            return false;
        };
        std::vector<std::string> envs;
        for (char** e = environ; *e; ++e) {
            const std::string v = *e;
            if (v.rfind("DASHVIEW_", 0) && v.rfind("HOME=", 0) && v.rfind("DISPLAY=", 0) && !set(v)) envs.push_back(v);
        }
        if (!set("HOME=")) envs.push_back("HOME=" + dir);
        if (!set(std::string(TraceConsoleVariable) + "=")) envs.push_back(std::string(TraceConsoleVariable) + "=1");
        envs.insert(envs.end(), env.begin(), env.end());
        args.insert(args.begin(), Program());
        std::vector<char*> argv, envp;
        for (auto& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        for (auto& e : envs) envp.push_back(&e[0]);
        envp.push_back(nullptr);
        output = dir + "/output.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
        const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) pid = 0;
        return rc == 0;
    }

    // True once it has ended, with its exit code (-100 - signal).
    bool Ended(int* code) {
        int status = 0;
        if (pid <= 0 || waitpid(pid, &status, WNOHANG) != pid) return false;
        pid = 0;
        *code = WIFEXITED(status) ? WEXITSTATUS(status) : -100 - WTERMSIG(status);
        return true;
    }

    // Exit code as Ended; -1 when never started; -1000 when it did not end within the
    // seconds (it is killed then). Without a limit (seconds < 0) it waits as long as it runs.
    int Wait(int seconds) {
        if (pid <= 0) return -1;
        int code = 0;
        if (seconds < 0) {
            int status = 0;
            const pid_t ended = waitpid(pid, &status, 0);
            pid = 0;
            return ended <= 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : -100 - WTERMSIG(status);
        }
        for (int i = 0; i < seconds * 20; ++i) {
            if (Ended(&code)) return code;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (Ended(&code)) return code;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = 0;
        return -1000;
    }

    ~TDashview() {
        if (pid > 0) Wait(0);
    }

    std::string Output() const { return FileText(output); }

private:
    std::string output;
};

// The frame files of a snapshot folder in the order they were written.
inline std::vector<std::string> SnapFrames(const std::string& snap) {
    std::vector<std::string> frames;
    if (DIR* d = opendir(snap.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name).find(".bmp") != std::string::npos) frames.push_back(e->d_name);
        closedir(d);
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

// The frames of the page, in order: all but the last, which follows the main window's closing.
inline std::vector<std::unique_ptr<FGBitmap>> PageFrames(const std::string& snap) {
    std::vector<std::string> names = SnapFrames(snap);
    if (!names.empty()) names.pop_back();
    std::vector<std::unique_ptr<FGBitmap>> frames;
    for (const std::string& n : names) frames.emplace_back(new FGBitmap((snap + "/" + n).c_str()));
    return frames;
}

// The newest frame of the page; null with fewer than two frames.
inline std::unique_ptr<FGBitmap> LastPageFrame(const std::string& snap) {
    const std::vector<std::string> frames = SnapFrames(snap);
    if (frames.size() < 2) return nullptr;
    return std::make_unique<FGBitmap>((snap + "/" + frames[frames.size() - 2]).c_str());
}

// dashview run headless in dir with the key script (keys.txt) and its frames in a new
// snap/; env adds to or replaces its environment. Its exit code as TDashview::Wait.
inline int RunHeadless(TDashview& dv, const std::string& dir, const std::string& script, int seconds,
                       std::vector<std::string> env = {}) {
    WriteTextFile(dir + "/keys.txt", script);
    const std::string snap = dir + "/snap";
    if (system(("rm -rf '" + snap + "' && mkdir '" + snap + "'").c_str()) != 0) return -1;
    env.insert(env.begin(), {"DASHVIEW_HEADLESS=1", "DASHVIEW_KEYS=" + dir + "/keys.txt", "DASHVIEW_SNAPSHOT=" + snap});
    return dv.Start(dir, env) ? dv.Wait(seconds) : -1;
}

// Pixel of the page (the frame holds it 60 rows down).
inline uint32_t PageAt(const FGBitmap& f, int x, int y) { return f.pixels[(y + 60) * f.width + x] & 0xFFFFFF; }

// Runs of one folder with the generated Data: each a key script, then "wait 800" and "quit".
class HeadlessRun {
public:
    static bool Built() { return TDashview::Built(); }

    explicit HeadlessRun(const std::string& dir) : dir(dir) {
        if (!MakeRunFolder(dir, {"Data"})) ADD_FAILURE() << "run folder " << dir;
    }

    // True when the program ended by itself.
    bool Run(const std::string& keys) {
        TDashview dv;
        const bool ended = RunHeadless(dv, dir, keys + "wait 800\nquit\n", 90) == 0;
        frames = PageFrames(dir + "/snap");
        return ended;
    }
    std::string Output() const { return FileText(dir + "/output.txt"); }

    const std::string dir;
    std::vector<std::unique_ptr<FGBitmap>> frames;
};

// A test in a folder of its own, the working directory; skipped when dashview is not built.
class RunFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TDashview::Built()) GTEST_SKIP() << "dashview is not built";
    }
    std::string Path(const char* name) const { return dir.Path() + "/" + name; }

    ConfigTempDir dir;
};
