// The whole road of one refresh as dashview runs it, in this process: start-up
// in a scratch folder that links the run folder's pictures and map, the headless
// screen, a measured-values block fed with a fixed flight, and one frame = the
// refresh event through the queued-event hook (averaged reads, page paint in
// 2-D and GL, merge of the GL picture, presentation through the display).
// Shared by the frame benchmark and the frame checksum test.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "averdata.h"
#include "chandesc.h"
#include "configmanager.h"
#include "fgapp.h"
#include "fgdriver.h"
#include "fgfontmanager.h"
#include "fgraster.h"
#include "fgwindow.h"
#include "hkmeasure.h"
#include "refresh.h"
#include "settingvars.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "shm.h"
#include "startup.h"

namespace frame_road {

inline int64_t ClockSec = 1700000000;
inline int32_t ClockUsec = 0;
inline void FixedClock(int64_t* sec, int32_t* usec) {
    *sec = ClockSec;
    *usec = ClockUsec;
}

class TFrameRoad {
public:
    // false when the scratch folder, the block or the start-up fails.
    bool Open() {
        ClockSec = 1700000000;
        ClockUsec = 0;
        char tmpl[] = "/tmp/frameroad_XXXXXX";
        if (!mkdtemp(tmpl) || !getcwd(old_, sizeof old_)) return false;
        dir_ = tmpl;
        const std::string run = RUN_DIR;
        if (symlink((run + "/Data").c_str(), (dir_ + "/Data").c_str()) != 0 ||
            symlink((run + "/map").c_str(), (dir_ + "/map").c_str()) != 0 || chdir(dir_.c_str()) != 0)
            return false;
        setenv("HOME", dir_.c_str(), 1);
        setenv("DASHVIEW_HEADLESS", "1", 1);
        unsetenv("DASHVIEW_KEYS");
        unsetenv("DASHVIEW_SNAPSHOT");
        shm_ = "/frameroad-" + std::to_string(getpid());
        setenv("HK_SHM_NAME", shm_.c_str(), 1);
        ShmUnlink(shm_.c_str());
        writer_ = std::make_unique<TMValWriter>();
        InitMainGlobals();
        if (ConfigManager.Create() != 0) return false;
        int argc = 1;
        char name[] = "dashview";
        char* argv[] = {name, nullptr};
        app_ = std::make_unique<FGApp>(3, &argc, argv, 0, 0x18017u);
        if (ShellStartUp() != 0 || !MainWindow) return false;
        // Frames come from Frame() alone, at a clock of their own.
        if (RefreshTimer) fg_set_timer(0, nullptr);
        RefreshClock = FixedClock;
        open_ = true;
        return true;
    }

    void Close() {
        if (open_) {
            ShellShutDown();
            app_.reset();
            DoneMainGlobals();
            RefreshClock = nullptr;
            // Each start registers its fonts anew: the next road finds the table of a fresh
            // process, not one filled by the starts before it.
            FGFontManager::release_fonts();
            FGFontManager::register_builtins();
        }
        open_ = false;
        writer_.reset();
        if (!shm_.empty()) ShmUnlink(shm_.c_str());
        if (!dir_.empty()) {
            if (chdir(old_) != 0) return;
            const std::string cmd = "rm -rf '" + dir_ + "'";
            if (std::system(cmd.c_str()) != 0) return;
        }
    }
    ~TFrameRoad() { Close(); }

    // Switches to the layout; false when the device does not allow it.
    bool Select(int screen, bool terrain) {
        DisplaySetting.terrainView = terrain ? 1 : 0;
        // The NAV and GPS strips need their devices; the layouts are drawn without them.
        if (screen == 4) LayoutCaps |= 0x80;
        if (screen == 5) LayoutCaps |= 0x40;
        SelectScreen(screen);
        SetTimerPeriod();
        if (RefreshTimer) fg_set_timer(0, nullptr);
        return ScreenType == screen;
    }

    // The measured values of frame n of a fixed flight: a gentle climbing turn
    // over the recorded flight's field, the engine at cruise with some wobble.
    void Feed(int n) {
        TMeasBatch batch;
        for (int i = 0; i < ChannelDescCount; ++i) {
            const TChannelDesc& row = ChannelDescTable[i];
            if (row.valueType == 3) continue;
            writer_->SetVal(row.id, static_cast<int32_t>(100 + i + (n * 7 + i) % 13));
        }
        const double t = n * 0.1;
        auto set = [&](uint32_t id, double v) { writer_->SetVal(id, static_cast<int32_t>(std::lround(v))); };
        set(echInercialPitch, 300 + 400 * std::sin(t * 0.7));
        set(echInercialRoll, 1500 * std::sin(t * 0.5));
        set(echInercialAzimut, std::fmod(9000 + n * 37.0, 36000.0));
        set(echInercialSlip, 20 * std::sin(t));
        set(echAltitudeQNH, 6000 + 5 * n);
        set(echGPSLat, 5008000 + 3 * n);
        set(echGPSLon, 1426000 + 4 * n);
        set(echSpeedIas, 1800 + 30 * std::sin(t * 0.3));
        set(echSpeedTas, 1900 + 30 * std::sin(t * 0.3));
        set(echSpeedVertical, 25 * std::sin(t * 0.4));
        set(echRpmEng, 5200 + 40 * std::sin(t * 1.3));
        set(echPressOil, 380 + 10 * std::sin(t));
        set(echTempOil, 900 + 5 * std::sin(t * 0.2));
        set(echTempWater, 850 + 5 * std::sin(t * 0.2));
        set(echPressMap, 2500000 + 20000 * std::sin(t));
        set(echFuelFlow, 180 + 5 * std::sin(t));
    }

    // One refresh tick as the timer's event brings it, 100 ms after the last.
    void Frame() {
        ClockUsec += 100000;
        if (ClockUsec >= 1000000) {
            ClockUsec -= 1000000;
            ++ClockSec;
        }
        FGEvent e{};
        e.type = 1;
        e.key = 110;
        OnQueuedEvent(&e);
    }

    // FNV-1a over the main window's pixels and the whole screen.
    static uint64_t Checksum() {
        uint64_t h = 1469598103934665603ull;
        auto add = [&h](const FGPixel* p, size_t n) {
            for (size_t i = 0; i < n; ++i) {
                h ^= p[i] & 0x00FFFFFFu;
                h *= 1099511628211ull;
            }
        };
        if (MainWindow) add(MainWindow->pixels, size_t(800) * 480);
        for (int y = 0; y < fg_screen.height; ++y)
            add(fg_screen.surface + static_cast<size_t>(y) * fg_screen.stride, static_cast<size_t>(fg_screen.width));
        return h;
    }

private:
    bool open_ = false;
    std::string dir_, shm_;
    char old_[PATH_MAX] = {};
    std::unique_ptr<TMValWriter> writer_;
    std::unique_ptr<FGApp> app_;
};

}  // namespace frame_road
