// The OpenGL view: frames rendered off screen and probed at known pixels
// (dial needles, the OR merge, the engine backgrounds, block routines), the
// texture loader on damaged files, texture-font widths, and a view whose
// context cannot be made.
#include <gtest/gtest.h>
#include <unistd.h>

#include <GL/gl.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <algorithm>
#include <vector>

#include "configmanager.h"
#include "enginepage.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "gl.h"
#include "gui_terr/engineback.h"
#include "gui_terr/glfontlayout.h"
#include "gui_terr/glview.h"
#include "gui_terr/instrument.h"
#include "gui_terr/terrain_view.h"
#include "gui_terr/utexture.h"
#include "hkutils.h"
#include "initialsetting.h"
#include "process.h"
#include "settingvars.h"
#include "shellstate.h"
#include "trace_capture.h"
#include "unique_fd.h"

namespace {

constexpr int W = 800, H = 480;

uint8_t R(uint32_t p) { return static_cast<uint8_t>(p >> 16); }
uint8_t G(uint32_t p) { return static_cast<uint8_t>(p >> 8); }
uint8_t B(uint32_t p) { return static_cast<uint8_t>(p); }

// Screen pixel of a view point (y upwards) with the setup top margin of 20.
uint32_t ViewPixel(const uint32_t* px, int x, int y, int margin = 20) { return px[(H - margin - 1 - y) * W + x]; }

bool Greenish(uint32_t p) { return G(p) > 150 && R(p) < 80 && B(p) < 80; }
bool Reddish(uint32_t p) { return R(p) > 180 && G(p) < 60 && B(p) < 60; }
bool Yellowish(uint32_t p) { return R(p) > 150 && G(p) > 150 && B(p) < 80; }

class GLViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(chdir(RUN_DIR), 0); }

    void SetUp() override {
        TracedLines.clear();
        PrintHook = CaptureLine;
        SetupModeActive = 0;
        GLTerrainHooks = TGLTerrainHooks{};
        GLViewInput = TGLViewInput{};
        window = std::make_unique<FGDrawBuffer>(W, H, FG_TYPE_BITMAP, 0);
        MainWindow = window.get();
        ASSERT_TRUE(InitGLView(window->pixels));
    }
    void TearDown() override {
        DoneGLView();
        EngineBackground.reset();
        StripBackground.reset();
        MainWindow = nullptr;
        SetupModeActive = 0;
        PrintHook = DefaultPrintHook;
        platform::CreateGLContext = platform::CreateOSMesaContext;
    }

    uint32_t* Target() { return window->pixels; }
    void Fill(uint32_t colour) {
        for (int i = 0; i < W * H; ++i) Target()[i] = colour;
    }

    // Draws with the context current under the flat projection (top margin 20)
    // and returns the surface's pixels.
    template <typename F>
    const uint32_t* Render(F draw) {
        EXPECT_TRUE(GLView.context->MakeCurrent());
        GLView.topMargin = 20;
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);  // as the scenes have it: glyph cells are transparent
        SetFlatProjection();
        draw();
        glDisable(GL_BLEND);
        glFinish();
        GLView.context->Release();
        return GLView.context->Pixels();
    }

    // Non-black pixels of the target along a ray from a view point.
    int LitAlong(int cx, int cy, double angle, int from, int to) {
        int lit = 0;
        const double a = angle * 3.14159265358979 / 180.0;
        for (int d = from; d <= to; ++d) {
            const int x = cx + static_cast<int>(std::lround(std::cos(a) * d));
            const int y = cy + static_cast<int>(std::lround(std::sin(a) * d));
            if ((ViewPixel(Target(), x, y) & 0xFFFFFF) != 0) ++lit;
        }
        return lit;
    }

    std::unique_ptr<FGDrawBuffer> window;
};

// ---- the view's life and its faults ----

TEST(GLViewFaults, NullTargetFailsAndEveryPaintReturnsAtOnce) {
    EXPECT_FALSE(InitGLView(nullptr));
    EXPECT_EQ(GLView.disabled, 1);
    EXPECT_EQ(OpenGLPaint(0), -1);
    EXPECT_EQ(DrawGLNeedle(&EngineInstruments[DialRpm], 100), -1);
    ClearGLView();
    FlushGLView();
    DoneGLView();
}

std::unique_ptr<platform::GLContext> NoContext(int, int, std::string* error) {
    if (error) *error = "no driver";
    return nullptr;
}

TEST(GLViewFaults, FailingContextFactoryDisablesTheViewWithAMessage) {
    TracedLines.clear();
    PrintHook = CaptureLine;
    platform::CreateGLContext = NoContext;
    std::vector<uint32_t> target(W * H, 0x123456);
    EXPECT_FALSE(InitGLView(target.data()));
    PrintHook = DefaultPrintHook;
    platform::CreateGLContext = platform::CreateOSMesaContext;
    ASSERT_FALSE(TracedLines.empty());
    EXPECT_NE(TracedLines.back().find("no driver"), std::string::npos) << TracedLines.back();
    EXPECT_EQ(OpenGLPaint(0), -1);
    EXPECT_EQ(DrawGLNeedle(&EngineInstruments[DialRpm], 100), -1);
    EXPECT_EQ(EngineGLHooks.needle, nullptr);  // the engine page draws without GL needles
    ClearGLView();
    FlushGLView();
    // The 2-D pages keep their pixels and the dials keep their layout.
    for (uint32_t p : target) ASSERT_EQ(p, 0x123456u);
    EXPECT_EQ(EngineInstruments[DialRpm].config.cx, 123);
    EXPECT_EQ(EngineDialConfig[DialStripFourth].radius, 60);
    // Background refresh without a view leaves no bitmaps.
    RebuildBackgroundBitmaps();
    EXPECT_EQ(EngineBackground, nullptr);
    EXPECT_EQ(StripBackground, nullptr);
    DoneGLView();
}

std::unique_ptr<platform::GLContext> WrongSize(int, int, std::string* error) {
    return platform::CreateOSMesaContext(64, 64, error);
}

TEST(GLViewFaults, ContextOfAnotherSizeIsRefused) {
    platform::CreateGLContext = WrongSize;
    std::vector<uint32_t> target(W * H, 0);
    PrintHook = CaptureLine;
    EXPECT_FALSE(InitGLView(target.data()));
    PrintHook = DefaultPrintHook;
    platform::CreateGLContext = platform::CreateOSMesaContext;
    EXPECT_EQ(OpenGLPaint(0), -1);
    DoneGLView();
}

// A fatal exit skips the shutdown: the process still ends with its own code.
TEST(GLViewFaults, ExitWithTheViewAliveEndsWithItsCode) {
    // Mesa's threads from the earlier tests: the child starts afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (chdir(RUN_DIR) != 0) std::exit(3);
            static std::vector<uint32_t> target(W * H, 0);
            if (!InitGLView(target.data())) std::exit(4);
            if (OpenGLPaint(0) < 0) std::exit(5);
            std::exit(1);
        },
        ::testing::ExitedWithCode(1), "");
}

TEST_F(GLViewTest, InitTwiceRestartsAndDoneDisables) {
    EXPECT_EQ(GLView.disabled, 0);
    EXPECT_EQ(EngineGLHooks.clear, ClearGLView);
    EXPECT_EQ(EngineGLHooks.flush, FlushGLView);
    ASSERT_NE(EngineGLHooks.needle, nullptr);
    EXPECT_EQ(EngineGLHooks.needle(DialRpm, 100), 0);
    EXPECT_EQ(EngineGLHooks.needle(DialCount, 100), -3);
    EXPECT_EQ(EngineGLHooks.needle(-1, 100), -3);
    // Until a background is rendered only the needle's texture is with GL.
    for (int i = 0; i < GLTextureCount; ++i)
        EXPECT_EQ(GLTextures[i].name != 0, i == TexNeedle) << GLTextureFiles[i];
    EXPECT_EQ(GLFontListBase, 0u);
    EXPECT_TRUE(InitGLView(Target()));
    EXPECT_EQ(GLView.width, 800);
    EXPECT_EQ(GLView.height, 480);
    DoneGLView();
    EXPECT_EQ(GLView.disabled, 1);
    EXPECT_EQ(GLTextures[TexNeedle].name, 0u);
    EXPECT_EQ(GLFontListBase, 0u);
    EXPECT_EQ(OpenGLPaint(0), -1);
    EXPECT_EQ(DrawGLNeedle(&EngineInstruments[DialRpm], 0), -1);
    // The engine page then draws without GL needles.
    EXPECT_EQ(EngineGLHooks.needle, nullptr);
}

// ---- terrain frames ----

TGLTerrainInput SeenInput;
int Updates, Draws;
bool SeenTerrainOff;
int UpdateOk(const TGLTerrainInput& in) {
    SeenInput = in;
    ++Updates;
    return 0;
}
int UpdateFails(const TGLTerrainInput&) {
    ++Updates;
    return -3;
}
void DrawHook(const TGLCamera&, bool terrainOff, bool) {
    ++Draws;
    SeenTerrainOff = terrainOff;
}

TEST_F(GLViewTest, TerrainFrameOverwritesEveryPixelWithTheSky) {
    Fill(0x123456);
    EXPECT_EQ(OpenGLPaint(0), 0);
    const uint32_t sky = Target()[0];
    EXPECT_NEAR(R(sky), 26, 1);
    EXPECT_NEAR(G(sky), 26, 1);
    EXPECT_NEAR(B(sky), 102, 1);
    for (int i = 0; i < W * H; ++i) ASSERT_EQ(Target()[i], sky) << i;
}

TEST_F(GLViewTest, TerrainHooksGetTheInputAndTheSwitch) {
    GLTerrainHooks.update = UpdateOk;
    GLTerrainHooks.draw = DrawHook;
    Updates = Draws = 0;
    GLViewInput = {1200, 50, -30, 900, 4912345, 1654321};
    EXPECT_EQ(OpenGLPaint(GLPaintNarrow), 0);
    EXPECT_EQ(Updates, 1);
    EXPECT_EQ(Draws, 1);
    EXPECT_FALSE(SeenTerrainOff);
    EXPECT_EQ(GLView.terrainLoaded, 1);
    EXPECT_NEAR(SeenInput.latitude, 49.12345f, 1e-4);
    EXPECT_NEAR(SeenInput.longitude, 16.54321f, 1e-4);
    EXPECT_EQ(SeenInput.heading, 900);
    EXPECT_EQ(SeenInput.altitude, 1200);
    EXPECT_EQ(SeenInput.pitch, -30);
    EXPECT_EQ(GLView.camera.roll, 50);
    EXPECT_EQ(GLView.viewWidth, 560);

    // Terrain off: no update, the draw is told so.
    EXPECT_EQ(OpenGLPaint(GLPaintTerrainOff), 0);
    EXPECT_EQ(Updates, 1);
    EXPECT_EQ(Draws, 2);
    EXPECT_TRUE(SeenTerrainOff);
    EXPECT_EQ(GLView.viewWidth, 800);

    GLTerrainHooks.update = UpdateFails;
    EXPECT_EQ(OpenGLPaint(0), 0);
    EXPECT_EQ(GLView.terrainLoaded, 0);
    EXPECT_EQ(Draws, 3);
}

// A near red square drawn before a far blue one over it (under the terrain
// projection, camera looking down -z).
void NearThenFar(const TGLCamera&, bool, bool) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    auto square = [](float z, GLubyte r, GLubyte b) {
        glColor4ub(r, 0, b, 255);
        glBegin(GL_TRIANGLE_STRIP);
        glVertex3f(-1, -1, z);
        glVertex3f(1, -1, z);
        glVertex3f(-1, 1, z);
        glVertex3f(1, 1, z);
        glEnd();
    };
    square(-3, 255, 0);
    square(-6, 0, 255);
}

TEST_F(GLViewTest, TerrainHidesWhatLiesBehindAfterTheEnginePageToo) {
    GLTerrainHooks.update = UpdateOk;
    GLTerrainHooks.draw = NearThenFar;
    const int centre = H / 2 * W + W / 2;
    EXPECT_EQ(OpenGLPaint(0), 0);
    EXPECT_TRUE(Reddish(Target()[centre]));
    // The engine page's frames draw without the depth test.
    ClearGLView();
    EXPECT_EQ(OpenGLPaint(0), 0);
    EXPECT_TRUE(Reddish(Target()[centre])) << std::hex << Target()[centre];
}

// Where the sky and ground cover the view the colour clear is left out: at every
// pitch and roll the horizon frame equals the frame drawn over a fresh clear, even
// when the surface held another picture (the engine page's black) before.
TEST_F(GLViewTest, HorizonWithoutTheClearEqualsTheClearedFrame) {
    InstallTerrainHooks(GLTerrainHooks);
    GLTerrainHooks.update = nullptr;
    const int32_t pitches[] = {-1799, -1200, -900, -899, -600, -300, -77, 0,    13,   211,  300, 500,
                               520,   525,   530,  540,  550,  600,  899, 900, 1200, 2700, 3599, -3601};
    // Odd rolls too: a covered view lays its ground by a clear, and the sky's
    // edge must leave it exactly the pixels the ground's triangles took.
    const int32_t rolls[] = {0, 1, 137, 333, 450, 590, 900, 1111, 1210, 1800, 2222, 2999, -590, -1, 3599};
    int covered = 0, cleared = 0;
    std::vector<uint32_t> reference(static_cast<size_t>(W) * H);
    for (int32_t pitch : pitches) {
        for (int32_t roll : rolls) {
            GLViewInput = TGLViewInput{};
            GLViewInput.pitch = pitch;
            GLViewInput.roll = roll;
            const auto covers = GLTerrainHooks.covers;
            GLTerrainHooks.covers = nullptr;
            ASSERT_EQ(OpenGLPaint(GLPaintTerrainOff), 0);
            reference.assign(Target(), Target() + W * H);
            // Written whole, the words keep the page's alpha of 0.
            ASSERT_EQ(std::count_if(reference.begin(), reference.end(), [](uint32_t p) { return (p >> 24) != 0; }), 0)
                << "pitch " << pitch << " roll " << roll;
            GLTerrainHooks.covers = covers;
            (covers(GLView.camera) ? covered : cleared)++;
            ClearGLView();
            ASSERT_EQ(OpenGLPaint(GLPaintTerrainOff), 0);
            for (int i = 0; i < W * H; ++i)
                ASSERT_EQ(Target()[i], reference[size_t(i)]) << "pitch " << pitch << " roll " << roll << " at " << i;
        }
    }
    EXPECT_GT(covered, 0);
    EXPECT_GT(cleared, 0);
}

TEST_F(GLViewTest, LoaderTablesGoBackAndTheViewDrawsAsBefore) {
    const auto rss = [] {
        long kb = -1;
        UniqueFile f(std::fopen("/proc/self/status", "r"));
        char line[256];
        while (f && std::fgets(line, sizeof line, f.get()))
            if (std::sscanf(line, "VmRSS: %ld", &kb) == 1) break;
        return kb;
    };
    InstallTerrainHooks(GLTerrainHooks);
    GLTerrainHooks.update = nullptr;
    GLViewInput.pitch = 120;
    GLViewInput.roll = 250;
    ASSERT_EQ(OpenGLPaint(GLPaintTerrainOff), 0);
    const std::vector<uint32_t> before(Target(), Target() + W * H);
    const long kb = rss();
    const size_t released = ProcessReleaseLoaderTables();
    // The GL library's code generator alone has megabytes of them.
    EXPECT_GT(released, size_t(1) << 20);
    EXPECT_LT(rss(), kb - static_cast<long>(released / 1024) / 2);
    // A new picture (the terrain on, with its depth test) and the horizon again.
    GLViewInput.pitch = 130;
    ASSERT_EQ(OpenGLPaint(0), 0);
    GLViewInput.pitch = 120;
    Fill(0x123456);
    ASSERT_EQ(OpenGLPaint(GLPaintTerrainOff), 0);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Target()));
    EXPECT_GT(ProcessReleaseLoaderTables(), size_t(0));  // again, as often as asked
}

// ---- dial needles and the OR merge ----

TEST_F(GLViewTest, NeedleLiesAtTheAngleOfItsValue) {
    TInstrument& dial = EngineInstruments[DialRpm];  // 0..3000 clockwise from 198 to -20 degrees
    const int cx = dial.config.cx, cy = dial.config.cy;
    struct Case {
        int32_t value;
        double angle;  // start - (v - min) * 218 / 3000, the needle one degree on
    };
    for (const Case& c : {Case{1500, 90.0}, Case{0, 199.0}, Case{3000, -19.0}, Case{750, 144.5}}) {
        Fill(0);
        ClearGLView();
        ASSERT_EQ(DrawGLNeedle(&dial, c.value), 0);
        FlushGLView();
        EXPECT_GE(LitAlong(cx, cy, c.angle, 15, 50), 34) << c.value;
        // Nothing on the opposite side, nor a quarter turn away.
        EXPECT_EQ(LitAlong(cx, cy, c.angle + 180, 15, 50), 0) << c.value;
        EXPECT_EQ(LitAlong(cx, cy, c.angle + 90, 15, 50), 0) << c.value;
    }
}

TEST_F(GLViewTest, ValueBeyondTheScaleStopsTheNeedleAtItsEnd) {
    TInstrument& dial = EngineInstruments[DialRpm];
    Fill(0);
    ClearGLView();
    ASSERT_EQ(DrawGLNeedle(&dial, 3000), 0);
    FlushGLView();
    const std::vector<uint32_t> atMaximum(Target(), Target() + W * H);
    Fill(0);
    ClearGLView();
    ASSERT_EQ(DrawGLNeedle(&dial, 9000), 0);
    FlushGLView();
    EXPECT_TRUE(std::equal(atMaximum.begin(), atMaximum.end(), Target()));
}

TEST_F(GLViewTest, CounterClockwiseHalfDialTurnsUpFromTheRight) {
    TInstrument& dial = EngineInstruments[DialOilTemp];  // 0..240 from -20, counter-clockwise by 110
    Fill(0);
    ClearGLView();
    ASSERT_EQ(DrawGLNeedle(&dial, 120), 0);  // -20 + 55 - 1
    FlushGLView();
    EXPECT_GE(LitAlong(dial.config.cx, dial.config.cy, 34.0, 15, 50), 34);
    EXPECT_EQ(LitAlong(dial.config.cx, dial.config.cy, 214.0, 15, 50), 0);
}

TEST_F(GLViewTest, OrMergeLeavesThePageWhereTheGLPictureIsBlack) {
    for (int i = 0; i < W * H; ++i) Target()[i] = (i % 7 == 0) ? 0x204080u : 0x000000u;
    const std::vector<uint32_t> page(Target(), Target() + W * H);
    TInstrument& dial = EngineInstruments[DialRpm];
    ClearGLView();
    ASSERT_EQ(DrawGLNeedle(&dial, 1500), 0);
    FlushGLView();
    int changed = 0;
    for (int i = 0; i < W * H; ++i) {
        ASSERT_EQ(Target()[i] & page[i], page[i]) << i;  // bits are only added
        if (Target()[i] != page[i]) ++changed;
    }
    EXPECT_GT(changed, 100);
    // Far from the needle every pixel is the page's.
    for (int y = 0; y < H; ++y)
        for (int x = 400; x < W; ++x) ASSERT_EQ(Target()[y * W + x], page[y * W + x]);
    // Up the needle the page's bits survive under its colour.
    const uint32_t on = ViewPixel(Target(), dial.config.cx, dial.config.cy + 30);
    EXPECT_NE(on & 0xFFFFFF, 0u);
}

TEST_F(GLViewTest, DialWithoutNeedleTextureRefusesTheNeedle) {
    TInstrument dial = EngineInstruments[DialRpm];
    dial.config.needleTexture = nullptr;
    EXPECT_EQ(DrawGLNeedle(&dial, 100), -3);
    TGLTexture unloaded = {};
    dial.config.needleTexture = &unloaded;
    EXPECT_EQ(DrawGLNeedle(&dial, 100), -3);
}

// ---- whole dials ----

TEST_F(GLViewTest, DialArcsTicksAndReadoutBox) {
    TInstrument dial = EngineInstruments[DialRpm];
    dial.readoutLive = 1;
    const TInstrumentConfig& c = dial.config;
    const uint32_t* px = Render([&] {
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        dial.Draw(2750);  // in the yellow: readout box yellow
    });
    auto onArc = [&](double value) {
        const double a = (198.0 - value * 218.0 / 3000.0) * 3.14159265358979 / 180.0;
        return ViewPixel(px, c.cx + static_cast<int>(std::cos(a) * 85), c.cy + static_cast<int>(std::sin(a) * 85));
    };
    EXPECT_TRUE(Greenish(onArc(1550))) << std::hex << onArc(1550);
    EXPECT_TRUE(Yellowish(onArc(2740))) << std::hex << onArc(2740);
    EXPECT_TRUE(Reddish(onArc(2850))) << std::hex << onArc(2850);
    // Below the green start there is no band: the face shows through.
    EXPECT_FALSE(Greenish(onArc(250)));
    // A major tick at 0 runs in from the rim: white.
    const uint32_t tick = ViewPixel(px, c.cx + static_cast<int>(std::cos(198 * 3.14159265358979 / 180) * 84),
                                    c.cy + static_cast<int>(std::sin(198 * 3.14159265358979 / 180) * 84));
    EXPECT_GT(R(tick), 200);
    EXPECT_GT(G(tick), 200);
    // Readout box: (cx + 34 - 68, cy - 40 - 4) down by 20.
    EXPECT_TRUE(Yellowish(ViewPixel(px, c.cx + 34 - 66, c.cy - 44 - 2)));
}

TEST_F(GLViewTest, ArcLimitsOutsideTheScaleEndAtTheScale) {
    TInstrument dial = EngineInstruments[DialRpm];
    dial.config.redStart = 2000000000;
    dial.config.lowRedEnd = INT32_MAX;
    const TInstrumentConfig& c = dial.config;
    const uint32_t* px = Render([&] { dial.Draw(0); });
    // The low red band covers the whole scale, and nothing runs past its end.
    const double a = (198.0 - 1550 * 218.0 / 3000.0) * 3.14159265358979 / 180.0;
    EXPECT_TRUE(Reddish(ViewPixel(px, c.cx + static_cast<int>(std::cos(a) * 85), c.cy + static_cast<int>(std::sin(a) * 85))));
    const double beyond = (-40.0) * 3.14159265358979 / 180.0;
    EXPECT_FALSE(Reddish(ViewPixel(px, c.cx + static_cast<int>(std::cos(beyond) * 85),
                                   c.cy + static_cast<int>(std::sin(beyond) * 85))));
}

TEST_F(GLViewTest, NoFlagsReachOutsideTheTarget) {
    constexpr size_t Guard = 4096;
    std::vector<uint32_t> memory(W * H + 2 * Guard, 0xDEADBEEF);
    uint32_t* target = memory.data() + Guard;
    ASSERT_TRUE(InitGLView(target));
    for (uint8_t setup : {0, 1}) {
        SetupModeActive = setup;
        for (int32_t flags : {0, 1, 2, 3, 4, 5, 6, 7, -1, INT32_MAX, INT32_MIN}) {
            EXPECT_EQ(OpenGLPaint(flags), 0);
            ClearGLView();
            EXPECT_EQ(DrawGLNeedle(&EngineInstruments[DialStripRpm], flags), 0);
            FlushGLView();
        }
    }
    SetupModeActive = 0;
    for (size_t i = 0; i < Guard; ++i) {
        ASSERT_EQ(memory[i], 0xDEADBEEFu) << i;
        ASSERT_EQ(memory[Guard + W * H + i], 0xDEADBEEFu) << i;
    }
}

TEST_F(GLViewTest, InvalidDialDrawsNothing) {
    TInstrument dial = EngineInstruments[DialRpm];
    dial.config.radius = 5;
    dial.readoutLive = 1;
    const uint32_t* px = Render([&] { dial.Draw(1000); });
    for (int i = 0; i < W * H; ++i) ASSERT_EQ(px[i] & 0xFFFFFF, 0u) << i;
}

TEST_F(GLViewTest, CoveredSmallDialIsABlackRectangleOnly) {
    TInstrument dial = EngineInstruments[DialStripRpm];
    dial.config.covered = 1;
    dial.config.coverX = -10;
    dial.config.coverY = 10;
    dial.config.coverWidth = 20;
    dial.config.coverHeight = 20;
    dial.readoutLive = 1;
    const uint32_t* px = Render([&] {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        dial.Draw(1000);
    });
    EXPECT_EQ(ViewPixel(px, dial.config.cx, dial.config.cy) & 0xFFFFFF, 0u);
    // No needle, no arcs: outside the rectangle all stays white.
    EXPECT_EQ(ViewPixel(px, dial.config.cx, dial.config.cy + 30) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(ViewPixel(px, dial.config.cx + 40, dial.config.cy + 40) & 0xFFFFFF, 0xFFFFFFu);
}

// ---- block routines ----

TEST_F(GLViewTest, TankGaugeShowsTheReserveInRed) {
    // Reserve 100 of 500: 16 of 80 red at the bottom, green above.
    const uint32_t* px = Render([] { GLTankGauge(100, 100, false, 100, 500, false); });
    EXPECT_TRUE(Reddish(ViewPixel(px, 100, 110)));
    EXPECT_TRUE(Greenish(ViewPixel(px, 100, 130)));
    EXPECT_TRUE(Greenish(ViewPixel(px, 100, 170)));
    // A reserve above the capacity is red up to 79 of 80.
    px = Render([] { GLTankGauge(100, 100, true, 900, 500, false); });
    EXPECT_TRUE(Reddish(ViewPixel(px, 100, 130)));
    EXPECT_TRUE(Reddish(ViewPixel(px, 100, 170)));
    const uint32_t* none = Render([] { GLTankGauge(100, 100, false, 100, 0, true); });
    for (int i = 0; i < W * H; ++i) ASSERT_EQ(none[i] & 0xFFFFFF, 0u);
}

TEST_F(GLViewTest, BarScaleBands) {
    // 0..600: low red to 80, low yellow to 100, yellow from 500, red from 550.
    const uint32_t* px = Render([] { GLBarScale(200, 100, 5, 80, 100, 500, 550, 600, nullptr, ScaleDivideByTen); });
    EXPECT_TRUE(Reddish(ViewPixel(px, 200, 105)));     // 5 of 80 high: below 80 units
    EXPECT_TRUE(Yellowish(ViewPixel(px, 200, 112)));   // 12: between 80 and 100 units
    EXPECT_TRUE(Greenish(ViewPixel(px, 200, 140)));
    EXPECT_TRUE(Yellowish(ViewPixel(px, 200, 170)));   // 70: between 500 and 550 units
    EXPECT_TRUE(Reddish(ViewPixel(px, 200, 177)));
    const uint32_t* none = Render([] { GLBarScale(200, 100, 5, 0, 0, 0, 0, 0, "X", 0); });
    for (int i = 0; i < W * H; ++i) ASSERT_EQ(none[i] & 0xFFFFFF, 0u);
}

TEST_F(GLViewTest, BarScaleLimitsFarBeyondTheMaximumStayOffTheBar) {
    // 30,000,000 x 80 does not fit an int: the bands must not wrap round to full height.
    const uint32_t* px = Render([] { GLBarScale(200, 100, 5, 0, 0, 30000000, 30000000, 1, nullptr, 0); });
    EXPECT_TRUE(Greenish(ViewPixel(px, 200, 140)));
    EXPECT_TRUE(Greenish(ViewPixel(px, 200, 170)));
    px = Render([] { GLFlowScale(200, 100, 5, 1, 30000000, nullptr, 0); });
    EXPECT_FALSE(Reddish(ViewPixel(px, 200, 140)));
}

TEST_F(GLViewTest, CylinderBarScaleRunsBothWays) {
    const uint32_t* px = Render([] {
        GLCylinderBarScale(300, 100, 1);
        GLCylinderBarScale(200, 100, -1);
    });
    EXPECT_TRUE(Greenish(ViewPixel(px, 310, 102)));
    EXPECT_TRUE(Yellowish(ViewPixel(px, 341, 102)));
    EXPECT_TRUE(Reddish(ViewPixel(px, 347, 102)));
    EXPECT_TRUE(Greenish(ViewPixel(px, 190, 102)));
    EXPECT_TRUE(Reddish(ViewPixel(px, 153, 102)));
}

// ---- engine backgrounds ----

TEST_F(GLViewTest, BackgroundRefreshBuildsBothBitmaps) {
    SetupModeActive = 0;
    RebuildBackgroundBitmaps();
    EXPECT_EQ(SetupModeActive, 0);
    ASSERT_NE(EngineBackground, nullptr);
    ASSERT_NE(StripBackground, nullptr);
    EXPECT_EQ(EngineBackground->width, 800);
    EXPECT_EQ(EngineBackground->height, 480);
    EXPECT_EQ(StripBackground->width, 800);
    EXPECT_EQ(StripBackground->height, 480);

    // Full page: the RPM dial's green and red arcs, the top margin black.
    const uint32_t* page = EngineBackground->pixels;
    const TInstrumentConfig& rpm = EngineInstruments[DialRpm].config;
    auto arc = [](const uint32_t* px, const TInstrumentConfig& c, int xOffset, double value) {
        const double a = (198.0 - value * 218.0 / 3000.0) * 3.14159265358979 / 180.0;
        const double r = c.radius - c.tickLength / 2.0;
        return ViewPixel(px, xOffset + c.cx + static_cast<int>(std::cos(a) * r),
                         c.cy + static_cast<int>(std::sin(a) * r));
    };
    EXPECT_TRUE(Greenish(arc(page, rpm, 0, 1550))) << std::hex << arc(page, rpm, 0, 1550);
    EXPECT_TRUE(Reddish(arc(page, rpm, 0, 2850))) << std::hex << arc(page, rpm, 0, 2850);
    for (int y = 460; y < 480; ++y) ASSERT_EQ(page[y * W + 400] & 0xFFFFFF, 0u) << y;

    // Strip: its RPM dial of radius 60 at (101, 374) of a strip starting at x 557.
    const uint32_t* strip = StripBackground->pixels;
    const TInstrumentConfig& srpm = EngineInstruments[DialStripRpm].config;
    EXPECT_EQ(srpm.radius, 60);
    EXPECT_TRUE(Greenish(arc(strip, srpm, 557, 1550))) << std::hex << arc(strip, srpm, 557, 1550);
    EXPECT_TRUE(Reddish(arc(strip, srpm, 557, 2850)));
    // Left of the strip nothing is drawn.
    for (int x = 0; x < 557; x += 13) ASSERT_EQ(strip[200 * W + x] & 0xFFFFFF, 0u) << x;
}

// Between two rebuilds only the needle's texture stays with GL; the next rebuild
// loads the rest again and draws the very same pictures, and needles still draw.
TEST_F(GLViewTest, RebuildAfterTheTexturesWereGivenBackDrawsTheSamePictures) {
    SetupModeActive = 0;
    RebuildBackgroundBitmaps();
    ASSERT_NE(EngineBackground, nullptr);
    ASSERT_NE(StripBackground, nullptr);
    const std::vector<uint32_t> page(EngineBackground->pixels, EngineBackground->pixels + W * H);
    const std::vector<uint32_t> strip(StripBackground->pixels, StripBackground->pixels + W * H);
    for (int i = 0; i < GLTextureCount; ++i)
        EXPECT_EQ(GLTextures[i].name != 0, i == TexNeedle) << GLTextureFiles[i];
    EXPECT_EQ(GLFontListBase, 0u);
    ClearGLView();
    EXPECT_EQ(DrawGLNeedle(&EngineInstruments[DialRpm], 1500), 0);

    RebuildBackgroundBitmaps();
    ASSERT_NE(EngineBackground, nullptr);
    ASSERT_NE(StripBackground, nullptr);
    EXPECT_TRUE(std::equal(page.begin(), page.end(), EngineBackground->pixels));
    EXPECT_TRUE(std::equal(strip.begin(), strip.end(), StripBackground->pixels));
}

TEST_F(GLViewTest, AlternativeLayoutDrawsTheLowerHalfDials) {
    SetupModeActive = 1;
    ASSERT_EQ(OpenGLPaint(GLPaintAltLayout), 0);
    SetupModeActive = 0;
    // The copy of the oil-pressure half dial at (112, 90): its green arc (15..95 of 0..120),
    // between two ticks.
    const TInstrumentConfig& c = EngineInstruments[DialAuxTemp].config;
    EXPECT_EQ(c.cx, 112);
    const double a = (199.0 - 63 * 108.0 / 120.0) * 3.14159265358979 / 180.0;
    const uint32_t p = ViewPixel(Target(), c.cx + static_cast<int>(std::cos(a) * 85),
                                 c.cy + static_cast<int>(std::sin(a) * 85));
    EXPECT_TRUE(Greenish(p)) << std::hex << p;
}

// The full page in setup mode after the records took the gauge settings.
class EnginePageTest : public GLViewTest {
protected:
    void SetUp() override {
        GLViewTest::SetUp();
        saved = EngineGaugeConfig;
        savedTank[0] = TankBar[0];
        savedTank[1] = TankBar[1];
        TankBar[0].max = TankBar[1].max = 800;
    }
    void TearDown() override {
        EngineGaugeConfig = saved;
        TankBar[0] = savedTank[0];
        TankBar[1] = savedTank[1];
        GLViewTest::TearDown();
    }
    std::vector<uint32_t> Page(int flags = 0) {
        SyncEngineRecords();
        SetupModeActive = 1;
        EXPECT_EQ(OpenGLPaint(flags), 0);
        SetupModeActive = 0;
        return std::vector<uint32_t>(Target(), Target() + W * H);
    }
    TEngineGaugeConfig saved;
    TBarItem savedTank[2];
};

TEST_F(EnginePageTest, WithoutTanksThePressureRowMovesUp) {
    EngineGaugeConfig.fuelPressUsed = 1;
    EngineGaugeConfig.fuelFlowUsed = 0;
    EngineGaugeConfig.tankUsed = 1;
    std::vector<uint32_t> oneTank = Page();
    EXPECT_TRUE(Greenish(ViewPixel(oneTank.data(), 407, 70)));    // pressure bar 30..110
    EXPECT_TRUE(Greenish(ViewPixel(oneTank.data(), 407, 200)));   // the one tank gauge at (407, 156)
    EngineGaugeConfig.tankUsed = 0;
    std::vector<uint32_t> noTank = Page();
    EXPECT_TRUE(Greenish(ViewPixel(noTank.data(), 407, 130)));    // pressure bar 90..170
    EXPECT_FALSE(Greenish(ViewPixel(noTank.data(), 407, 200)));
    EXPECT_FALSE(Greenish(ViewPixel(noTank.data(), 407, 70)));
}

TEST_F(EnginePageTest, CylinderCountsOtherThanFourAndSixDrawTheTwoCylinderBlock) {
    EngineGaugeConfig.cylinders = 2;
    const std::vector<uint32_t> two = Page();
    EngineGaugeConfig.cylinders = 3;
    EXPECT_EQ(Page(), two);
    EngineGaugeConfig.cylinders = 4;
    EXPECT_NE(Page(), two);
    // The two-cylinder bars at (x +- 24, y + 59) of the anchor (148, 4): green beside the block.
    EngineGaugeConfig.cylinders = 2;
    EXPECT_TRUE(Greenish(ViewPixel(two.data(), 148 + 24 + 10, 4 + 59 + 2)));
    EXPECT_TRUE(Greenish(ViewPixel(two.data(), 148 - 24 - 10, 4 + 59 + 2)));
}

TEST_F(EnginePageTest, ChtCaptionsOnlyWithAHeadThermocouple) {
    EngineGaugeConfig.cylinders = 4;
    for (TThermoSlot& slot : EngineGaugeConfig.cht) slot.thermocouple = 0;
    const std::vector<uint32_t> none = Page();
    EngineGaugeConfig.cht[2].thermocouple = 5;
    EXPECT_NE(Page(), none);
}

TEST_F(EnginePageTest, AlternativeLayoutReplacesTheCylindersWithTwoDials) {
    EngineGaugeConfig.cylinders = 4;
    const std::vector<uint32_t> normal = Page();
    const std::vector<uint32_t> alt = Page(GLPaintAltLayout);
    EXPECT_NE(alt, normal);
    // The cylinder block's right-hand bars are gone under the alternative layout.
    EXPECT_TRUE(Greenish(ViewPixel(normal.data(), 148 + 24 + 10, 4 + 72 + 2)));
    EXPECT_FALSE(Greenish(ViewPixel(alt.data(), 148 + 24 + 10, 4 + 72 + 2)));
}

TEST_F(GLViewTest, ScaleDivisionsAreKeptWithinTwoAndFive) {
    auto scale = [&](int divisions) {
        const uint32_t* px = Render([&] { GLBarScale(200, 100, divisions, 0, 0, 500, 550, 600, nullptr, 0); });
        return std::vector<uint32_t>(px, px + W * H);
    };
    EXPECT_EQ(scale(9), scale(5));
    EXPECT_EQ(scale(-3), scale(2));
    EXPECT_NE(scale(3), scale(2));
}

// ---- textures and fonts ----

class TextureFileTest : public GLViewTest {
protected:
    std::string Write(const std::vector<uint8_t>& bytes) {
        char name[] = "/tmp/gltex_XXXXXX";
        const int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fd);
        files.push_back(name);
        return name;
    }
    static std::vector<uint8_t> Tga(int w, int h, int bpp, size_t dataBytes) {
        std::vector<uint8_t> b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8),
                                  static_cast<uint8_t>(h), static_cast<uint8_t>(h >> 8),
                                  static_cast<uint8_t>(bpp), 0};
        b.resize(b.size() + dataBytes, 0x80);
        return b;
    }
    int Load(const std::string& file) {
        EXPECT_TRUE(GLView.context->MakeCurrent());
        TGLTexture t = {};
        const int r = LoadGLTexture(&t, file.c_str(), GL_LINEAR);
        loaded = t;
        GLView.context->Release();
        return r;
    }
    void TearDown() override {
        for (const std::string& f : files) unlink(f.c_str());
        GLViewTest::TearDown();
    }
    std::vector<std::string> files;
    TGLTexture loaded = {};
};

TEST_F(TextureFileTest, GoodFileLoads) {
    EXPECT_EQ(Load(Write(Tga(3, 2, 24, 18))), 1);
    EXPECT_NE(loaded.name, 0u);
    EXPECT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.height, 2);
    EXPECT_EQ(loaded.bpp, 24);
    EXPECT_EQ(loaded.data, nullptr);
}

TEST_F(TextureFileTest, DamagedFilesAreReportedAndKeepNameZero) {
    std::vector<uint8_t> rle = Tga(2, 2, 32, 16);
    rle[2] = 10;
    std::vector<uint8_t> withId = Tga(2, 2, 32, 16);
    withId[0] = 4;
    const std::vector<std::vector<uint8_t>> bad = {
        {},                           // empty
        {0, 0, 2, 0},                 // short header
        rle,                          // compressed
        withId,                       // image identifier
        Tga(2, 2, 16, 8),             // 16 bits per pixel
        Tga(0, 2, 24, 0),             // no width
        Tga(2, 0, 24, 0),             // no height
        Tga(4, 4, 32, 63),            // one byte short
        Tga(65535, 65535, 32, 100),   // claims far more than it holds
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        TracedLines.clear();
        const std::string file = Write(bad[i]);
        EXPECT_EQ(Load(file), 0) << i;
        EXPECT_EQ(loaded.name, 0u) << i;
        ASSERT_EQ(TracedLines.size(), 1u) << i;
        EXPECT_EQ(TracedLines[0].rfind("uTexture:LoadGLTexture:", 0), 0u) << TracedLines[0];
        EXPECT_NE(TracedLines[0].find("\tError: Can not load texture " + file + "\n"), std::string::npos) << TracedLines[0];
    }
    TracedLines.clear();
    EXPECT_EQ(Load("/nonexistent/Data/none.tga"), 0);
    ASSERT_EQ(TracedLines.size(), 1u);
}

TEST_F(GLViewTest, TextWidthsFollowTheFontTables) {
    // Font 1: digits advance 13, spacing 2 between characters.
    EXPECT_EQ(GLTextWidth("12", 10, 1), 28);
    EXPECT_EQ(GLTextWidth("12", 5, 1), 14);
    EXPECT_EQ(GLTextWidth("", 10, 1), 0);
    // A character outside every set counts for nothing, spacing included.
    EXPECT_EQ(GLTextWidth("1\x01" "2\x7f", 10, 1), 28);
    EXPECT_EQ(GLTextWidth("\x01", 10, 2), 0);
    // The Cyrillic font has no small Latin letters: font 1 stands in.
    EXPECT_EQ(GLTextWidth("a", 10, 2), GLTextWidth("a", 10, 1));
    EXPECT_GT(GLTextWidth("a", 10, 1), 0);
    // Digits come from font 1 whatever the font.
    EXPECT_EQ(GLTextWidth("7", 10, 3), 13);
    EXPECT_EQ(GLFonts[1].referenceWidth, GLTextWidth("0123456789", 10, 1));
}

// A language's GL texts are its catalogue's bytes: the font is of the code page that
// the catalogue is bound to ("WINDOWS-1250//TRANSLIT" for Czech, ...).
TEST(GLFonts, LanguageChoosesTheFontOfItsCataloguesCodePage) {
    for (const int id : {1029, 1031, 1033, 1036, 1040, 1049}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(SetLanguage(id));
        const std::string bound = bind_textdomain_codeset(TextDomainName, nullptr);
        EXPECT_EQ("CP" + bound.substr(8, 4), pic::GlFontCodePage[GLLanguageFont()]);
    }
    SetLanguage(1033);
}

TEST_F(GLViewTest, TextIsDrawnInItsColourBelowItsCellTop) {
    const uint32_t* px = Render([] {
        TakeSceneTextures();  // as the backgrounds' scene does before its text
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glColor4ub(255, 0, 0, 255);
        GLDrawText(100, 300, "8888", 10, 1);
    });
    int lit = 0, above = 0;
    for (int y = 260; y < 320; ++y)
        for (int x = 100; x < 160; ++x) {
            const uint32_t p = ViewPixel(px, x, y);
            if (R(p) > 128) {
                ++lit;
                EXPECT_EQ(G(p), 0);
                if (y > 300) ++above;
            }
        }
    EXPECT_GT(lit, 100);
    EXPECT_EQ(above, 0);
}

}  // namespace
