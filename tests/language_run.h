// Headless runs of dashview through the setup's Language page: the key scripts, the
// run folders with the catalogues, and the frame areas that the language changes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "headless_run.h"

namespace language_run {

// The menu's "Enter Setup" after the start.
const std::string EnterSetup = "wait 1500\n" + std::string(EnterSetupKeys);
// In setup: the menu, then "Language" (ninth item of the installer's flight setup menu).
const char* const LanguagePage = "1\nwait 200\nw\nw\nw\nw\nw\nw\nw\nw\nwait 200\n1\nwait 300\n";
// "Save and Exit", "Yes".
const char* const SaveAndExit = "2\nwait 300\n4\nwait 600\n";
// After a start: the main menu open.
const char* const MainMenu = "wait 1500\n1\nwait 500\n";

// The language page's rows after "<---": English, Czech, German, Italian, French, Russian.
std::string Choose(int row) {
    std::string keys;
    for (int i = 0; i < row; ++i) keys += "w\n";
    return keys + "wait 200\n1\nwait 600\n";
}

struct TFrame {
    std::unique_ptr<FGBitmap> bitmap;
    uint32_t At(int x, int y) const { return PageAt(*bitmap, x, y); }
    std::vector<uint32_t> Area(int x0, int y0, int x1, int y1) const {
        std::vector<uint32_t> v;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) v.push_back(At(x, y));
        return v;
    }
    // The main menu's box and the soft-key captions.
    std::vector<uint32_t> Menu() const { return Area(626, 300, 795, 478); }
    std::vector<uint32_t> Captions() const { return Area(0, 456, 800, 480); }
};

class LanguageRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HeadlessRun::Built()) TOOL_MISSING() << "dashview is not built";
        if (access(RUN_DIR "/locale/de/LC_MESSAGES/skyvane1.mo", R_OK) != 0) TOOL_MISSING() << "no catalogues";
    }
    // A run folder holding the generated Data and the catalogues.
    std::string NewFolder() {
        folders.emplace_back(new ConfigTempDir);
        const std::string path = folders.back()->Path();
        HeadlessRun(path, {"Data", "locale"});
        return path;
    }
    // Runs the key script headless in the folder; the last frame before the window closed.
    static TFrame Run(const std::string& dir, const std::string& keys) {
        HeadlessRun run(dir, {});
        EXPECT_TRUE(run.Script(keys + "quit\n")) << run.code;
        return TFrame{run.LastFrame()};
    }
    // A folder whose saved setup has the language of the page's row.
    std::string WithLanguage(int row) {
        const std::string dir = NewFolder();
        Run(dir, std::string(EnterSetup) + LanguagePage + Choose(row) + SaveAndExit);
        EXPECT_EQ(access((dir + "/setup.dat").c_str(), F_OK), 0);
        return dir;
    }

    // The main menu of a fresh folder in English, made once.
    const TFrame& English() {
        static TFrame frame;
        if (!frame.bitmap) frame = Run(NewFolder(), MainMenu);
        return frame;
    }
    void TearDown() override {
        // Each folder went back to the directory current at its making: newest first.
        while (!folders.empty()) folders.pop_back();
    }

    std::vector<std::unique_ptr<ConfigTempDir>> folders;
};

constexpr int RowEnglish = 1, RowCzech = 2, RowGerman = 3, RowRussian = 6;

}  // namespace language_run
