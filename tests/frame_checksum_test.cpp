// Whole frames of every layout over a fixed flight, as dashview draws and shows
// them: each frame of the running road (the GL picture kept while its values
// hold) must equal, pixel for pixel on the window and the whole screen, the same
// frame painted again with the GL picture drawn afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "../perf/frame_road.h"
#include "frame_layouts.h"
#include "fgbitmap.h"
#include "fgwindow.h"
#include "gui_terr/glview.h"
#include "initialsetting.h"
#include "menu.h"
#include "overlays.h"
#include "screenkeys.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "startup.h"

namespace {

// The frame just drawn painted again with the GL picture drawn afresh, neither
// held by the context nor kept from before.
uint64_t FreshFrameChecksum() {
    GLView.keepPictures = 0;
    GLView.pictureValid = 0;
    MainFGWindow->DrawFrame();
    GLView.keepPictures = 1;
    return frame_road::TFrameRoad::Checksum();
}

TEST(FrameChecksum, EveryLayoutDrawsTheSamePixelsAsAFreshGLPicture) {
    frame_road::TFrameRoad road;
    ASSERT_TRUE(road.Open());
    int n = 0;
    for (const frame_layouts::TLayoutCase& c : frame_layouts::Cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(road.Select(c.screen, c.terrain));
        uint32_t reused = 0;
        for (int i = 0; i < frame_layouts::Frames; ++i) {
            if (i < frame_layouts::Moving) ++n;
            road.Feed(n);
            const uint32_t before = GLView.renders;
            road.Frame();
            if (GLView.renders == before) ++reused;
            const uint64_t running = frame_road::TFrameRoad::Checksum();
            const uint64_t fresh = FreshFrameChecksum();
            // The first frame after a switch still shows what the switch left behind.
            if (i > 0) {
                EXPECT_EQ(running, fresh) << "frame " << i;
            }
        }
        if (c.reuses) {
            EXPECT_GT(reused, 0u) << "the held frames drew the GL picture again";
        }
        if (c.terrain) {
            EXPECT_EQ(reused, 0u) << "the terrain is drawn afresh every frame";
        }
    }
}

// Held at one point of the flight, then at another, then at the first again: the
// attitude that comes back is shown without drawing its GL picture anew, and the
// frame is the one a fresh picture gives. Full width and beside the engine strip.
// Not compared: the road's first frame, and the second frame of each hold, where the
// TAS box's paper follows the speed zone the last airspeed tape left, which the
// repaint has already moved on.
TEST(FrameChecksum, AnAttitudeThatComesBackIsNotDrawnAgain) {
    constexpr int Hold = 6;
    for (const int screen : {ScreenFlight, ScreenFlightEms}) {
        SCOPED_TRACE(screen);
        frame_road::TFrameRoad road;
        ASSERT_TRUE(road.Open());
        ASSERT_TRUE(road.Select(screen, false));
        std::vector<std::pair<int32_t, int32_t>> shown;
        int returns = 0;
        for (int i = 0; i < 3 * Hold; ++i) {
            road.Feed(i / Hold == 1 ? 4 : 3);
            const uint32_t before = GLView.renders;
            road.Frame();
            const std::pair<int32_t, int32_t> attitude{GLView.camera.roll, GLView.camera.pitch};
            if (!shown.empty() && attitude != shown.back() &&
                std::find(shown.begin(), shown.end(), attitude) != shown.end()) {
                ++returns;
                EXPECT_EQ(GLView.renders, before) << "frame " << i;
            }
            shown.push_back(attitude);
            const uint64_t running = frame_road::TFrameRoad::Checksum();
            const uint64_t fresh = FreshFrameChecksum();
            if (i > 0 && i % Hold != 1) {
                EXPECT_EQ(running, fresh) << "frame " << i;
            }
        }
        EXPECT_GT(returns, 0) << "the flight never came back to an attitude";
    }
}

// Leaving the flight page with the Screen key and the knob: the engine backgrounds,
// left out of date by the start-up's settings, are rendered by the first frame that
// shows them, the same pictures as rendering them beforehand gives.
TEST(FrameChecksum, EngineBackgroundsWaitForTheFirstFrameThatShowsThem) {
    // The menus, soft keys and overlays as dashview's start links them.
    InstallMenuLinks();
    InstallScreenKeyLinks();
    InstallOverlayLinks();
    // The Screen key opens the choice; the knob turns to the layout before or after.
    const struct {
        int screen;
        const char* keys;
    } cases[] = {{ScreenFlightEms, "5s"}, {ScreenEngine, "5w"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        frame_road::TFrameRoad road;
        ASSERT_TRUE(road.Open());
        ASSERT_TRUE(road.Select(ScreenFlight, false));
        road.Feed(1);
        road.Frame();
        EXPECT_EQ(EngineBackground, nullptr);
        EXPECT_TRUE(BackgroundBitmapsStale());
        for (const char* k = c.keys; *k; ++k) {
            FGEvent key{};
            key.type = FGE_KEY;
            key.key = *k;
            OnMainWindowEvent(nullptr, &key);
        }
        ASSERT_EQ(ScreenType, c.screen);
        road.Frame();
        ASSERT_NE(EngineBackground, nullptr);
        ASSERT_NE(StripBackground, nullptr);
        EXPECT_FALSE(BackgroundBitmapsStale());
        const auto pixels = [](const FGBitmap* b) {
            return std::vector<uint32_t>(b->pixels, b->pixels + static_cast<size_t>(b->width) * b->height);
        };
        const std::vector<uint32_t> engine = pixels(EngineBackground.get()), strip = pixels(StripBackground.get());
        RebuildBackgroundBitmaps();
        EXPECT_TRUE(pixels(EngineBackground.get()) == engine);
        EXPECT_TRUE(pixels(StripBackground.get()) == strip);
    }
}

}  // namespace
