// dashview run headless in a test's folder with a key script: the frames it presented,
// in order, and its output.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fgbitmap.h"

class HeadlessRun {
public:
    static std::string Program() { return std::string(RUN_DIR) + "/dashview"; }
    static bool Built() { return access(Program().c_str(), X_OK) == 0; }

    // The folder gets the generated Data; each run starts with an empty snap/.
    explicit HeadlessRun(const std::string& dir) : dir(dir) {
        const std::string cmd = "cp -r '" RUN_DIR "/Data' '" + dir + "/'";
        if (system(cmd.c_str()) != 0) ADD_FAILURE() << cmd;
    }

    // Runs the keys, then "wait 800" and "quit"; true when the program ended by itself.
    bool Run(const std::string& keys) {
        frames.clear();
        std::ofstream(dir + "/keys.txt") << keys << "wait 800\nquit\n";
        const std::string snap = dir + "/snap";
        const std::string cmd = "rm -rf '" + snap + "' && mkdir '" + snap + "' && cd '" + dir +
                                "' && env -u DISPLAY HOME='" + dir +
                                "' DASHVIEW_HEADLESS=1 DASHVIEW_KEYS=keys.txt DASHVIEW_SNAPSHOT=snap timeout 90 '" +
                                Program() + "' > output.txt 2>&1";
        const bool ended = system(cmd.c_str()) == 0;
        std::vector<std::string> names;
        if (DIR* d = opendir(snap.c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name).find(".bmp") != std::string::npos) names.push_back(e->d_name);
            closedir(d);
        }
        std::sort(names.begin(), names.end());
        // The last frame follows the main window's closing.
        if (!names.empty()) names.pop_back();
        for (const std::string& n : names) frames.emplace_back(new FGBitmap((snap + "/" + n).c_str()));
        return ended;
    }
    std::string Output() const {
        std::ifstream f(dir + "/output.txt");
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    // Pixel of the page (the frame holds it 60 rows down).
    static uint32_t At(const FGBitmap& f, int x, int y) { return f.pixels[(y + 60) * f.width + x] & 0xFFFFFF; }

    const std::string dir;
    std::vector<std::unique_ptr<FGBitmap>> frames;
};
