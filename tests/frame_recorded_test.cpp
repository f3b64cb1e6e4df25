// The frames of every layout over a fixed flight, folded into one sum per
// layout: no saving in the frame may move a pixel, and a change of what is drawn
// records the sums anew. A process of its own, so that every layout starts from a
// fresh start-up.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "../perf/frame_road.h"
#include "frame_layouts.h"
#include "gl.h"
#include "gui_terr/glview.h"

namespace {

using frame_layouts::Cases;

// The renderer the sums were recorded with: another GL library may round its
// pictures otherwise.
const char* const RecordedRenderer = "llvmpipe (LLVM 15.0.6, 256 bits) / 4.5 (Compatibility Profile) Mesa 22.3.6";

std::string Renderer() {
    if (!GLView.context || !GLView.context->MakeCurrent()) return "none";
    const auto text = [](GLenum name) {
        const GLubyte* s = glGetString(name);
        return s ? std::string(reinterpret_cast<const char*>(s)) : std::string("?");
    };
    return text(GL_RENDERER) + " / " + text(GL_VERSION);
}

const uint64_t Recorded[] = {
    0x53d4ea514216acb4ull,  // engine page
    0xcf57f058f18c1254ull,  // flight page, terrain off
    0xee7660680b00fb40ull,  // flight page, terrain on
    0x393da5a74082b11cull,  // flight view and engine strip, terrain off
    0xbcbd72ee437ff6a4ull,  // flight view and engine strip, terrain on
    0xc200f6dc3ed43c2cull,  // flight view and NAV strip
    0x1f6859f96379ce44ull,  // flight view and GPS strip
    0xc95eacbb1ebf5034ull,  // engine page after the flight views
    0xa20f4bacc9a569f0ull,  // flight page after the engine page
};
static_assert(sizeof Recorded / sizeof Recorded[0] == sizeof Cases / sizeof Cases[0], "one sum per layout");

TEST(FrameRecorded, EveryLayoutKeepsItsRecordedPixels) {
    setenv("TZ", "UTC", 1);  // the clock on the screen
    tzset();
    frame_road::TFrameRoad road;
    ASSERT_TRUE(road.Open());
    const std::string renderer = Renderer();
    if (renderer != RecordedRenderer) GTEST_SKIP() << "sums recorded with " << RecordedRenderer << ", not " << renderer;
    int n = 0;
    for (size_t k = 0; k < sizeof Cases / sizeof Cases[0]; ++k) {
        const frame_layouts::TLayoutCase& c = Cases[k];
        ASSERT_TRUE(road.Select(c.screen, c.terrain)) << c.name;
        uint64_t sum = 0;
        for (int i = 0; i < frame_layouts::Frames; ++i) {
            if (i < frame_layouts::Moving) ++n;
            road.Feed(n);
            road.Frame();
            sum = sum * 1099511628211ull ^ frame_road::TFrameRoad::Checksum();
        }
        EXPECT_EQ(Recorded[k], sum) << c.name << ": now 0x" << std::hex << sum;
    }
}

}  // namespace
