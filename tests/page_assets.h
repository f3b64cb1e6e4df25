// The display fonts and main-window pictures of the run folder, loaded once for
// tests that draw whole pages.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "startup.h"

inline void LoadPageAssets() {
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(RUN_DIR), 0);
    if (DisplayFonts[0] < 0) RegisterDisplayFonts();
    LoadMainPictures();
    ASSERT_EQ(chdir(old), 0);
    BuildDisplayPalette();
}

// Writes the window as a 24-bit BMP into the build tree's snapshot folder.
inline void SavePageSnapshot(FGDrawBuffer& window, const char* name) {
    const std::string dir = std::string(TEST_HELPER_DIR) + "/snapshots";
    mkdir(dir.c_str(), 0755);
    FGBitmap copy(&window);
    EXPECT_EQ(copy.save((dir + "/" + name).c_str()), FG_BITMAP_OK) << name;
}
