// Whole frames of every layout over a fixed flight, as dashview draws and shows
// them: each frame of the running road (the GL picture kept while its values
// hold) must equal, pixel for pixel on the window and the whole screen, the same
// frame painted again with the GL picture drawn afresh.
#include <gtest/gtest.h>

#include <cstdint>

#include "../perf/frame_road.h"
#include "frame_layouts.h"
#include "fgwindow.h"
#include "gui_terr/glview.h"
#include "startup.h"

namespace {

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
            GLView.pictureValid = 0;
            MainFGWindow->DrawFrame();
            // The first frame after a switch still shows what the switch left behind.
            if (i > 0) {
                EXPECT_EQ(running, frame_road::TFrameRoad::Checksum()) << "frame " << i;
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

}  // namespace
