// The OpenGL view: one off-screen 800 x 480 surface and context for the
// terrain behind the flight page, the engine-page backgrounds and the engine
// dial needles, and the merge of its picture into the main window's pixels.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {
class GLContext;
}
class TInstrument;

constexpr int32_t GLViewWidth = 800;
constexpr int32_t GLViewHeight = 480;

// Paint flags (argument of OpenGLPaint).
constexpr int32_t GLPaintNarrow = 0x01;      // page keeps a right-hand strip / engine strip in setup
constexpr int32_t GLPaintTerrainOff = 0x02;
constexpr int32_t GLPaintAltLayout = 0x04;   // engine page's alternative layout

// Aircraft state handed over by the flight page just before each OpenGLPaint.
struct TGLViewInput {
    int32_t altitude;   // QNH altitude, in the unit of the terrain elevations
    int32_t roll;       // tenths of a degree
    int32_t pitch;
    int32_t heading;
    int32_t latitude;   // 1e-5 degree; both 0 when either position channel is missing
    int32_t longitude;
};
static_assert(sizeof(TGLViewInput) == 24, "six int32");
extern TGLViewInput GLViewInput;

// Camera values of the current frame (copied from GLViewInput).
struct TGLCamera {
    int32_t altitude, roll, pitch, heading;
};

// Terrain values handed to the terrain update.
struct TGLTerrainInput {
    float latitude, longitude;  // degrees
    int32_t heading, altitude, pitch;
};

struct TGLView {
    uint8_t disabled = 1;
    uint32_t* target = nullptr;                  // main window's 800 x 480 0x00RRGGBB pixels
    std::unique_ptr<platform::GLContext> context;  // stands in for DIB section, DC and GL context
    int32_t width = 0, height = 0;               // surface size once the context exists
    int32_t paintFlags = 0;
    int32_t viewWidth = GLViewWidth;
    int32_t topMargin = 0;
    TGLCamera camera = {};
    TGLTerrainInput terrain = {};
    uint8_t terrainLoaded = 0;                   // last terrain update succeeded (flight page reads it)
    // The surface still holds the picture of these values (terrain off, outside
    // setup: the horizon alone), so the next paint of the same values only copies it.
    uint8_t pictureValid = 0;
    int32_t pictureFlags = 0, pictureRoll = 0, picturePitch = 0;
    uint32_t renders = 0;                        // scenes drawn by OpenGLPaint
    uint8_t keepPictures = 1;                    // off: no horizon picture is kept or shown again
};
extern TGLView GLView;
constexpr float GLFieldOfView = 40.0f;

// The terrain view plugs in here (its install function fills the hooks before
// InitGLView). Each is called with the context current; a null hook is skipped,
// and without an update hook the terrain counts as not loaded.
struct TGLTerrainHooks {
    // Scene initialisation: map directory "map", ranges 11000 x 11000, position 0/0.
    void (*init)(const TGLCamera& camera);
    // Terrain update; 0 when the terrain was loaded.
    int (*update)(const TGLTerrainInput& input);
    // Terrain scene under the terrain projection: horizon background, then the
    // mesh unless terrainOff is set or the last update failed. covered: no colour
    // was cleared, as covers found.
    void (*draw)(const TGLCamera& camera, bool terrainOff, bool covered);
    // True when the draw's background alone covers the whole full-width view of
    // this camera, so the colour clear can be left out; null: never.
    bool (*covers)(const TGLCamera& camera);
};
extern TGLTerrainHooks GLTerrainHooks;

// false for a null target or when no context can be made (the view stays disabled).
bool InitGLView(uint32_t* pixels);
void DoneGLView();
// Renders one frame with the context current (setup mode: engine backgrounds).
void DrawGLScene();
// -1 disabled, no surface or no target; 0 done (the whole target is overwritten).
int OpenGLPaint(int32_t flags);
// Forgets every horizon picture kept or held by the context: the next paint draws anew.
void ForgetGLPictures();
// Black view, no depth test, full-width flat projection, top margin 20.
void ClearGLView();
// Gives back the textures only the engine backgrounds draw; the next background
// rebuild loads them again.
void GLViewReleaseSceneTextures();
// 0, -1 disabled, -2 no surface or target, -3 no needle texture.
int DrawGLNeedle(TInstrument* dial, int32_t value);
// ORs the picture into the target: black leaves the page unchanged.
void FlushGLView();

// Projections (context current): viewport, flipped y so memory order is top-down.
void SetTerrainProjection();
void SetStripProjection();
void SetFlatProjection();

// Opaque current colour from red, green, blue (context current).
void GLColour(const uint8_t* rgb);
// Filled quad x..x+w by y-h..y (y upwards); rgb null = current colour; with
// textureOff, 2-D texturing is off for the quad. Returns x.
int GLFillRect(int x, int y, int w, int h, const uint8_t* rgb, bool textureOff);
