// Whole frames of every layout over a fixed flight, as dashview draws and shows
// them: each frame of the running road (the GL picture kept while its values
// hold) must equal, pixel for pixel on the window and the whole screen, the same
// frame painted again with the GL picture drawn afresh.
#include <gtest/gtest.h>

#include <cstdint>

#include "../perf/frame_road.h"
#include "fgwindow.h"
#include "gui_terr/glview.h"
#include "startup.h"

namespace {

struct TLayoutCase {
    const char* name;
    int screen;
    bool terrain;
    bool reuses;  // the held frames reuse the GL picture (the engine page has none)
};

const TLayoutCase Cases[] = {
    {"engine page", 1, false, false},
    {"flight page, terrain off", 2, false, true},
    {"flight page, terrain on", 2, true, false},
    {"flight view and engine strip, terrain off", 3, false, true},
    {"flight view and engine strip, terrain on", 3, true, false},
    {"flight view and NAV strip", 4, false, true},
    {"flight view and GPS strip", 5, false, true},
    {"engine page after the flight views", 1, false, false},
    {"flight page after the engine page", 2, false, true},
};

// Frames per layout: the aircraft moves for the first half and holds still
// (the same values, as while taxiing) for the second, long enough for the
// averages to settle.
constexpr int Moving = 6;
constexpr int Frames = 24;

TEST(FrameChecksum, EveryLayoutDrawsTheSamePixelsAsAFreshGLPicture) {
    frame_road::TFrameRoad road;
    ASSERT_TRUE(road.Open());
    int n = 0;
    for (const TLayoutCase& c : Cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(road.Select(c.screen, c.terrain));
        uint32_t reused = 0;
        for (int i = 0; i < Frames; ++i) {
            if (i < Moving) ++n;
            road.Feed(n);
            const uint32_t before = GLView.renders;
            road.Frame();
            if (GLView.renders == before) ++reused;
            const uint64_t running = frame_road::TFrameRoad::Checksum();
            GLView.pictureValid = 0;
            MainFGWindow->DrawFrame();
            // The first frame after a switch still shows what the switch left behind.
            if (i > 0) EXPECT_EQ(running, frame_road::TFrameRoad::Checksum()) << "frame " << i;
        }
        if (c.reuses) EXPECT_GT(reused, 0u) << "the held frames drew the GL picture again";
        if (c.terrain) EXPECT_EQ(reused, 0u) << "the terrain is drawn afresh every frame";
    }
}

}  // namespace
