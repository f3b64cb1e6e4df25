// The engine page with the GL view up: background rendered from the default
// settings, the 2-D page drawn over it, and the GL needles ORed in where the
// dials' values put them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "config_tempdir.h"
#include "configmanager.h"
#include "enginepage.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "gui_terr/glview.h"
#include "gui_terr/instrument.h"
#include "initialsetting.h"
#include "page_assets.h"
#include "settingvars.h"
#include "shellstate.h"

namespace {

constexpr int W = 800, H = 480;

class GLEnginePage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    static void TearDownTestSuite() { FreeMainPictures(); }

    void SetUp() override {
        ASSERT_EQ(chdir(RUN_DIR), 0);
        MainWindow = &win;
        ASSERT_TRUE(InitGLView(win.pixels));
        dir = std::make_unique<ConfigTempDir>();
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        LoadSetting(nullptr, KindAll, 0);
        DisplaySetting.screenWord = 0;
        InitialSetting();
        RebuildBackgroundBitmaps();  // as the first engine frame does
        // The normal layout: the lower pair of half dials is not on the page.
        for (int i : {DialAuxTemp, DialWater}) {
            EngineDialConfig[i].covered = 1;
            EngineInstruments[i].SetConfig(EngineDialConfig[i]);
        }
        ScreenType = ScreenEngine;
    }
    void TearDown() override {
        ScreenType = 0;
        DoneGLView();
        EngineBackground.reset();
        StripBackground.reset();
        MainWindow = nullptr;
        ConfigManager.Release();
        dir.reset();
    }

    // The page as the paint has it: background, then the dials.
    void Paint() {
        ASSERT_NE(EngineBackground, nullptr);
        win.bitblt(0, 0, 0, 0, W, H, EngineBackground.get());
        DrawEngineDials();
    }
    // Sum of the channels at screen distance d from a view-coordinate centre.
    int Brightness(int cx, int cy, double degrees, int d) {
        const double a = degrees * 3.14159265358979 / 180.0;
        const int x = cx + static_cast<int>(std::lround(std::cos(a) * d));
        const int y = H - 20 - 1 - (cy + static_cast<int>(std::lround(std::sin(a) * d)));
        const uint32_t p = win.pixels[y * W + x];
        return static_cast<int>((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF));
    }

    FGDrawBuffer win{W, H, FG_TYPE_BITMAP, 0};
    std::unique_ptr<ConfigTempDir> dir;
};

TEST_F(GLEnginePage, BackgroundHasThePageSizeAndItsDialsAreValid) {
    ASSERT_NE(EngineBackground, nullptr);
    EXPECT_EQ(EngineBackground->width, W);
    EXPECT_EQ(EngineBackground->height, H);
    ASSERT_NE(StripBackground, nullptr);
    EXPECT_TRUE(EngineInstruments[DialRpm].Valid());
    EXPECT_EQ(EngineDialConfig[DialRpm].cx, 123);
}

TEST_F(GLEnginePage, RpmNeedleLandsAtItsValue) {
    const TInstrument& rpm = EngineInstruments[DialRpm];
    const TInstrumentConfig& c = rpm.config;
    ASSERT_TRUE(rpm.Valid());
    for (double fraction : {0.25, 0.5, 0.8}) {
        const int32_t value = c.minimum + static_cast<int32_t>((c.maximum - c.minimum) * fraction);
        EngineDials[DialRpm].value = value;
        Paint();
        const double needle = rpm.ValueAngle(value) + 1.0;  // the needle stands one degree on
        int brighter = 0, opposite = 0;
        const std::vector<uint32_t> frame(win.pixels, win.pixels + W * H);
        win.bitblt(0, 0, 0, 0, W, H, EngineBackground.get());
        for (int d = 20; d <= 45; ++d) {
            const int background = Brightness(c.cx, c.cy, needle, d);
            const int back180 = Brightness(c.cx, c.cy, needle + 180, d);
            std::copy(frame.begin(), frame.end(), win.pixels);
            if (Brightness(c.cx, c.cy, needle, d) > background + 150) ++brighter;
            if (Brightness(c.cx, c.cy, needle + 180, d) != back180) ++opposite;
            win.bitblt(0, 0, 0, 0, W, H, EngineBackground.get());
        }
        EXPECT_GE(brighter, 22) << value;
        EXPECT_EQ(opposite, 0) << value;
    }
}

// Every 2-D needle of both strips turns about the hub of its GL face: along its whole
// sweep, the ring just inside the face's rim crosses the scale's coloured band.
TEST_F(GLEnginePage, StripNeedlesTurnOnTheirFaces) {
    for (int alternative : {0, 1}) {
        DisplaySetting.screenWord = alternative << 8;
        InitialSetting();
        RebuildBackgroundBitmaps();
        ASSERT_NE(StripBackground, nullptr);
        PlaceEngineItems();
        win.bitblt(0, 0, 0, 0, W, H, StripBackground.get());
        int checked = 0;
        for (int dial = DialStripRpm; dial < DialCount; ++dial) {
            const TInstrumentConfig& c = EngineDialConfig[dial];
            const TDialItem& n = EngineDials[dial];
            if (c.covered || !n.enabled) continue;
            SCOPED_TRACE(dial);
            ++checked;
            const int ring = c.radius - c.tickLength / 2;
            int onBand = 0, samples = 0;
            for (int step = 0; step <= 20; ++step) {
                const double a = (n.startAngle + (n.endAngle - n.startAngle) * step / 20.0) * M_PI / 180;
                const int x = n.cx + static_cast<int>(std::lround(ring * std::cos(a)));
                const int y = n.cy + static_cast<int>(std::lround(ring * std::sin(a)));
                ASSERT_TRUE(x >= 0 && x < W && y >= 0 && y < H);
                const uint32_t p = win.pixels[y * W + x];
                ++samples;
                onBand += (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF) > 150;  // the face itself is dark
            }
            EXPECT_GE(onBand, samples * 3 / 4);
        }
        EXPECT_EQ(checked, alternative ? 2 : 4);
    }
}

}  // namespace
