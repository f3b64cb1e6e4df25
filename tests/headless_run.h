// The one way the run tests start the instrument: dashview (or benchdesk, which starts
// dashview beside it) in a run folder of the test's own with the generated assets, its
// environment (HOME, block name, key script, snapshot folder) set, waited for; then its
// exit code, output, the frames it presented, in order, and the files it left.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
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
#include "file_io.h"
#include "tool_missing.h"
#include "trace.h"
// The bench tests build without the toolkit: they look at windows, not frames.
#if __has_include("fgbitmap.h")
#include "fgbitmap.h"
#define HEADLESS_RUN_FRAMES 1
#endif

extern char** environ;

// From the flight screen: the main menu's "Enter Setup" (its sixth item), then "Yes".
const char* const EnterSetupKeys = "1\nwait 200\nw\nw\nw\nw\nw\nwait 200\n1\nwait 300\n4\nwait 600\n";

// A run folder (made when missing) with copies of the run directory's folders named.
inline bool MakeRunFolder(const std::string& dir, const std::vector<std::string>& assets) {
    std::string cmd = "mkdir -p '" + dir + "'";
    for (const std::string& a : assets) cmd += " && cp -r '" RUN_DIR "/" + a + "' '" + dir + "/'";
    return system(cmd.c_str()) == 0;
}

#ifdef HEADLESS_RUN_FRAMES
// Pixel of the page (the frame holds it 60 rows down).
inline uint32_t PageAt(const FGBitmap& f, int x, int y) { return f.pixels[(y + 60) * f.width + x] & 0xFFFFFF; }
#endif

// A program of the build started in its run folder, which is its working directory and,
// unless env names another, its HOME (the window database and toolkit files stay there).
// It inherits the environment without DISPLAY, HOME and the DASHVIEW_ variables; env adds
// to or replaces it. dashview runs headless unless env names a DISPLAY, with the script
// (when there is one) as its keys and its frames in a fresh snap/. Standard output and
// error go to the folder's output.txt (error to errors.txt with apartErrors).
class HeadlessRun {
public:
    static std::string Program(const std::string& name = "dashview") { return std::string(RUN_DIR) + "/" + name; }
    static bool Built(const std::string& name = "dashview") { return access(Program(name).c_str(), X_OK) == 0; }

    explicit HeadlessRun(const std::string& dir, const std::vector<std::string>& assets = {"Data"}) : dir(dir) {
        if (!MakeRunFolder(dir, assets)) ADD_FAILURE() << "run folder " << dir;
    }
    ~HeadlessRun() {
        if (pid > 0) Wait(0);
    }

    std::string program = "dashview";
    std::vector<std::string> args, env;
    std::vector<std::string> launcher;  // a program that starts it (a fault injector), with its arguments
    bool apartErrors = false;
    pid_t pid = 0;
    int code = -1;  // of the last run: as Wait
    const std::string dir;

    // benchdesk in place of dashview: on the X server of DISPLAY, with the block name;
    // false when it is not built.
    bool Benchdesk(const std::string& shm) {
        const char* display = getenv("DISPLAY");
        program = "benchdesk";
        env.push_back("DISPLAY=" + std::string(display ? display : ""));
        env.push_back("HK_SHM_NAME=" + shm);
        return Built(program);
    }
    static bool BlockExists(const std::string& shm) {
        const int fd = shm_open(shm.c_str(), O_RDONLY, 0);
        if (fd >= 0) close(fd);
        return fd >= 0;
    }

    std::string Path(const std::string& name) const { return dir + "/" + name; }
    std::string Output() const { return FileText(Path("output.txt")); }
    std::string Errors() const { return FileText(Path("errors.txt")); }

    bool Start(const std::string& script = "") {
        std::vector<std::string> vars = env;
#ifdef HEADLESS_RUN_FRAMES
        frames_.clear();
        framesLoaded_ = false;
#endif
        if (program == "dashview" && !Named(vars, "DISPLAY=")) {
            vars.push_back("DASHVIEW_HEADLESS=1");
            if (system(("rm -rf '" + Path("snap") + "' && mkdir '" + Path("snap") + "'").c_str()) != 0) return false;
            vars.push_back("DASHVIEW_SNAPSHOT=" + Path("snap"));
            if (!script.empty()) {
                WriteTextFile(Path("keys.txt"), script);
                vars.push_back("DASHVIEW_KEYS=" + Path("keys.txt"));
            }
        }
        if (!Named(vars, "HOME=")) vars.push_back("HOME=" + dir);
        // Diagnostics on the console, where the tests read them.
        const std::string trace = std::string(TraceConsoleVariable) + "=";
        if (!Named(vars, trace)) vars.push_back(trace + "1");
        for (char** e = environ; *e; ++e) {
            const std::string v = *e;
            if (v.rfind("DASHVIEW_", 0) && v.rfind("HOME=", 0) && v.rfind("DISPLAY=", 0) &&
                !Named(vars, v.substr(0, v.find('=') + 1)))
                vars.push_back(v);
        }
        std::vector<std::string> argl = args;
        argl.insert(argl.begin(), Program(program));
        argl.insert(argl.begin(), launcher.begin(), launcher.end());
        std::vector<char*> argv, envp;
        for (auto& a : argl) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        for (auto& e : vars) envp.push_back(&e[0]);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, Path("output.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (apartErrors)
            posix_spawn_file_actions_addopen(&actions, 2, Path("errors.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        else
            posix_spawn_file_actions_adddup2(&actions, 1, 2);
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
        const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) pid = 0;
        return rc == 0;
    }

    // True once it has ended, with its exit code (-100 - signal) in code.
    bool Ended() {
        int status = 0;
        if (pid <= 0 || waitpid(pid, &status, WNOHANG) != pid) return false;
        pid = 0;
        code = WIFEXITED(status) ? WEXITSTATUS(status) : -100 - WTERMSIG(status);
        return true;
    }

    // Exit code as Ended; -1 when never started; -1000 when it did not end within the
    // seconds (it is killed then). Without a limit (seconds < 0) it waits as long as it runs.
    int Wait(int seconds) {
        code = -1;
        if (pid <= 0) return code;
        if (seconds < 0) {
            int status = 0;
            const pid_t ended = waitpid(pid, &status, 0);
            pid = 0;
            return code = ended <= 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : -100 - WTERMSIG(status);
        }
        for (int i = 0; i < seconds * 20; ++i) {
            if (Ended()) return code;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (Ended()) return code;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = 0;
        shm_unlink(BlockName().c_str());  // a killed program cannot take its block with it
        return code = -1000;
    }

    // The block name the program runs on: its own HK_SHM_NAME, the test's, or the default.
    std::string BlockName() const {
        for (const std::string& v : env)
            if (v.rfind("HK_SHM_NAME=", 0) == 0) return v.substr(12);
        const char* inherited = getenv("HK_SHM_NAME");
        return inherited && *inherited ? inherited : "/HKMeasure";
    }

    // The script run to its end: true when the program ended by itself with code 0.
    bool Script(const std::string& script, int seconds = 90) { return Start(script) && Wait(seconds) == 0; }
    // The keys, then "wait 800" and "quit".
    bool Run(const std::string& keys) { return Script(keys + "wait 800\nquit\n"); }

    // The frame files in the order they were written, the last following the main window's closing.
    std::vector<std::string> FrameFiles() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(Path("snap").c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name).find(".bmp") != std::string::npos) names.push_back(Path("snap/") + e->d_name);
            closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
#ifdef HEADLESS_RUN_FRAMES
    // The frames of the page, in order: all but the closing one.
    const std::vector<std::unique_ptr<FGBitmap>>& Frames() {
        if (!framesLoaded_) {
            std::vector<std::string> names = FrameFiles();
            if (!names.empty()) names.pop_back();
            for (const std::string& n : names) frames_.emplace_back(new FGBitmap(n.c_str()));
            framesLoaded_ = true;
        }
        return frames_;
    }
    // The newest frame of the page; null with fewer than two frames.
    std::unique_ptr<FGBitmap> LastFrame() const {
        const std::vector<std::string> names = FrameFiles();
        if (names.size() < 2) return nullptr;
        return std::make_unique<FGBitmap>(names[names.size() - 2].c_str());
    }
#endif

private:
    static bool Named(const std::vector<std::string>& vars, const std::string& name) {
        for (const std::string& v : vars)
            if (v.rfind(name, 0) == 0) return true;
        return false;
    }
#ifdef HEADLESS_RUN_FRAMES
    std::vector<std::unique_ptr<FGBitmap>> frames_;
    bool framesLoaded_ = false;
#endif
};

// A test in a folder of its own, the working directory, where dashview runs; skipped
// when dashview is not built.
class RunFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HeadlessRun::Built()) TOOL_MISSING() << "dashview is not built";
    }
    std::string Path(const char* name) const { return dir.Path() + "/" + name; }

    ConfigTempDir dir;
    HeadlessRun run{dir.Path()};
};
