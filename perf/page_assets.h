// The display fonts, main-window pictures and palette of the run folder, loaded
// once for benchmarks that draw whole pages; `extra` loads more from the folder.
#pragma once

#include <unistd.h>

#include <climits>

#include "shellhooks.h"
#include "shellstate.h"
#include "startup.h"

// false when the run folder cannot be entered or left.
inline bool LoadBenchPageAssets(void (*extra)() = nullptr) {
    char old[PATH_MAX];
    if (!getcwd(old, sizeof old) || chdir(RUN_DIR) != 0) return false;
    RegisterDisplayFonts();
    LoadMainPictures();
    if (extra) extra();
    if (chdir(old) != 0) return false;
    BuildDisplayPalette();
    return true;
}
