// Key storms: seeded random sequences of the ten bezel keys with random pauses, run against a
// headless dashview in and out of setup, across the screens and the demo. No crash, no
// sanitizer report, no hang (frames keep coming, the final quit ends the program in time),
// and every configuration file valid after each run.
// Each keystorm<k>_test program runs its own seeds (in parallel); KEYSTORM_SEED=<n> replays one
// seed alone in any of them, KEYSTORM_KEYS=<n> sets the keys per seed.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bezelkeys.h"
#include "config_check.h"
#include "file_io.h"
#include "headless_run.h"

namespace keystorm {

constexpr const char* Keys = AllKeys;
constexpr int SeedsPerProgram = 2;  // four programs: seeds 1..8
constexpr int DefaultKeysPerSeed = 2600;
constexpr int SegmentsPerSeed = 4;
// Without a new frame for this long the program hangs (the script never pauses half as long);
// the first frame may take longer under the sanitizers on a busy machine.
constexpr int HangSeconds = 40;
constexpr int FirstFrameSeconds = 120;

// Known ways in: the main menu's "Enter Setup" with "Yes"; the main menu and its last items;
// in setup on the flight screen, the setup menu's "Demo Mode" page with "Demo ON" or "Demo OFF".
const char* const EnterSetup = EnterSetupKeys;
const char* const MenuEnd = "1\nwait 100\ns\ns\n1\nwait 200\n";
const char* const DemoOn =
    "1\nwait 200\nw\nw\nw\nw\nw\nw\nw\nw\nw\nwait 300\n1\nwait 300\nw\nwait 300\n1\nwait 1500\n";
const char* const DemoOff =
    "1\nwait 200\nw\nw\nw\nw\nw\nw\nw\nw\nw\nwait 300\n1\nwait 300\nw\nw\nwait 300\n1\nwait 1500\n";

int EnvInt(const char* name, int fallback) {
    const char* v = getenv(name);
    return v && *v ? atoi(v) : fallback;
}

// One run's script: a way in chosen by the segment, then random keys and pauses, then quit.
std::string StormScript(uint32_t seed, int segment, int keys) {
    std::mt19937 rng(seed * 7919u + static_cast<uint32_t>(segment));
    std::string s = "wait 1500\n";
    if (segment % 2 == 1) s += EnterSetup;
    if (segment % 4 == 3) s += DemoOn;
    for (int i = 0; i < keys; ++i) {
        const uint32_t r = rng() % 1000;
        if (r < 3) s += EnterSetup;
        else if (r < 5) s += MenuEnd;
        else if (r < 6) s += std::string(EnterSetup) + (rng() % 2 ? DemoOn : DemoOff);
        s += Keys[rng() % 10];
        s += '\n';
        const uint32_t p = rng() % 1000;
        if (p < 3)
            s += "wait " + std::to_string(500 + rng() % 3500) + "\n";  // menu and editor time-outs
        else if (p < 80)
            s += "wait " + std::to_string(5 + rng() % 100) + "\n";
    }
    return s + "wait 1500\nquit\n";
}

struct TRunResult {
    int exitCode = 0;  // -1000 hang, -100 - signal
    int frames = 0;
    std::string output;
};

// dashview in dir with the script; frames are counted and removed as they come.
TRunResult RunStorm(const std::string& dir, const std::string& script, int seed) {
    const char* shm = getenv("HK_SHM_NAME");
    HeadlessRun run(dir, {});
    run.env = {"HK_SHM_NAME=" + std::string(shm ? shm : "/HKMeasure-keystorm") + "-" + std::to_string(seed)};
    TRunResult result;
    if (!run.Start(script)) {
        result.exitCode = -1;
        return result;
    }
    auto lastFrame = std::chrono::steady_clock::now();
    for (;;) {
        const bool ended = run.Ended();
        for (const std::string& frame : run.FrameFiles()) {
            unlink(frame.c_str());
            ++result.frames;
            lastFrame = std::chrono::steady_clock::now();
        }
        if (ended) break;
        if (std::chrono::steady_clock::now() - lastFrame >
            std::chrono::seconds(result.frames ? HangSeconds : FirstFrameSeconds)) {
            kill(run.pid, SIGABRT);  // a core or sanitizer stack shows where it stood
            std::this_thread::sleep_for(std::chrono::seconds(2));
            run.Wait(0);
            run.code = -1000;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    result.exitCode = run.code;
    result.output = run.Output();
    return result;
}

// What went wrong in one seed's runs, "" when nothing; counts of what the runs went through.
struct TSeedReport {
    std::string failure;
    int keys = 0, frames = 0, setupEntries = 0, setupExits = 0, demoResets = 0, saves = 0;
};

TSeedReport StormSeed(uint32_t seed, int keysPerSeed) {
    TSeedReport rep;
    char tmpl[] = "/tmp/keystorm_XXXXXX";
    if (!mkdtemp(tmpl)) return {"mkdtemp failed"};
    const std::string dir = tmpl;
    if (!MakeRunFolder(dir, {"Data", "map"})) return {"run folder not copied"};
    if (FILE* f = fopen((dir + "/last_release").c_str(), "w")) fputs("7\n", f), fclose(f);
    const int perSegment = keysPerSeed / SegmentsPerSeed;
    for (int seg = 0; seg < SegmentsPerSeed && rep.failure.empty(); ++seg) {
        const TRunResult r = RunStorm(dir, StormScript(seed, seg, perSegment), static_cast<int>(seed));
        rep.keys += perSegment;
        rep.frames += r.frames;
        auto count = [&](const char* what) {
            int n = 0;
            for (size_t p = r.output.find(what); p != std::string::npos; p = r.output.find(what, p + 1)) ++n;
            return n;
        };
        rep.setupEntries += count(">>GlobalEnterSetup()");
        rep.setupExits += count(">>exitSetup(");
        rep.demoResets += count("DEMO is being reset");
        rep.saves += count("<<SaveSetting() OK");
        std::string why;
        if (r.exitCode == -1000)
            why = "hang: no frame for " + std::to_string(HangSeconds) + " s";
        else if (r.exitCode != 0)
            why = "exit code " + std::to_string(r.exitCode);
        for (const char* bad : {"AddressSanitizer", "runtime error:", "LeakSanitizer", "FATAL ERROR"})
            if (r.output.find(bad) != std::string::npos) why += std::string(" report: ") + bad;
        if (r.frames == 0) why += " no frames";
        for (const char* prefix : {"", "demo", "save"}) {
            const std::string bad = CheckConfigFiles(dir + "/" + prefix);
            if (!bad.empty()) why += " invalid files: " + bad;
        }
        if (!why.empty()) {
            const size_t tail = r.output.size() > 6000 ? r.output.size() - 6000 : 0;
            rep.failure = "seed " + std::to_string(seed) + " run " + std::to_string(seg) + ": " + why +
                          "\nreplay: KEYSTORM_SEED=" + std::to_string(seed) + " (run folder kept: " + dir +
                          ")\n--- output tail ---\n" + r.output.substr(tail);
            return rep;  // the folder stays for looking
        }
    }
    system(("rm -rf '" + dir + "'").c_str());
    return rep;
}

// The seeds first .. first + SeedsPerProgram - 1, or the one of KEYSTORM_SEED.
inline void RunKeyStorm(uint32_t first) {
    if (!HeadlessRun::Built()) TOOL_MISSING() << "dashview is not built";
    const int keysPerSeed = EnvInt("KEYSTORM_KEYS", DefaultKeysPerSeed);
    std::vector<uint32_t> seeds;
    if (const int one = EnvInt("KEYSTORM_SEED", 0)) {
        seeds.push_back(static_cast<uint32_t>(one));
    } else {
        for (int i = 0; i < SeedsPerProgram; ++i) seeds.push_back(first + static_cast<uint32_t>(i));
    }
    std::vector<TSeedReport> reports(seeds.size());
    std::vector<std::thread> workers;
    std::atomic<size_t> next{0};
    const int parallel = std::max(1, std::min<int>(EnvInt("KEYSTORM_JOBS", SeedsPerProgram), static_cast<int>(seeds.size())));
    for (int w = 0; w < parallel; ++w)
        workers.emplace_back([&] {
            for (size_t i; (i = next++) < seeds.size();) reports[i] = StormSeed(seeds[i], keysPerSeed);
        });
    for (auto& t : workers) t.join();
    TSeedReport total;
    for (size_t i = 0; i < seeds.size(); ++i) {
        const TSeedReport& r = reports[i];
        EXPECT_EQ(r.failure, "");
        total.keys += r.keys;
        total.frames += r.frames;
        total.setupEntries += r.setupEntries;
        total.setupExits += r.setupExits;
        total.demoResets += r.demoResets;
        total.saves += r.saves;
    }
    printf("key storm: %zu seeds, %d keys, %d frames, %d setup entries, %d setup exits, %d demo resets, %d saves\n",
           seeds.size(), total.keys, total.frames, total.setupEntries, total.setupExits, total.demoResets, total.saves);
    if (seeds.size() == static_cast<size_t>(SeedsPerProgram) && keysPerSeed == DefaultKeysPerSeed) {
        EXPECT_GE(total.keys, 5000);  // 20,800 over the four programs
        EXPECT_GT(total.setupEntries, 0);
        EXPECT_GT(total.setupExits, 0);
    }
}

}  // namespace keystorm
