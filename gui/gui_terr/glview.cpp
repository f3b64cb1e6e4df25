#include "glview.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engineback.h"
#include "fgraster.h"
#include "gl.h"
#include "glshell.h"
#include "hkutils.h"
#include "instrument.h"
#include "utexture.h"

TGLViewInput GLViewInput;
TGLView GLView;
TGLTerrainHooks GLTerrainHooks;

namespace {

// An exit that skips the shutdown (a fatal toolkit error) finds the context still
// alive when the statics go; Mesa's exit handlers have run by then, and tearing the
// context down faults. It is left to the end of the process instead.
platform::GLContext* ContextLeftAtExit = nullptr;
struct TGLViewExitGuard {
    ~TGLViewExitGuard() {
        if (GLView.context) ContextLeftAtExit = GLView.context.release();
    }
} GLViewExitGuard;

}  // namespace

namespace {

// Only the terrain's mesh is drawn with the depth test: the engine scenes and the
// horizon alone never overlap themselves, and their frames skip the depth clear.
// A covered view skips the colour clear (the sky and ground draw every pixel).
// The stencil is unused, but clearing it with the depth lets Mesa fill the packed
// depth-stencil words instead of masking each one.
constexpr GLbitfield ColourClear = GL_COLOR_BUFFER_BIT;
constexpr GLbitfield DepthClear = GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;

// The alpha bytes stay 0, as the page's pixel words have them, so that the
// picture may be drawn straight into the page: clears write alpha 0 (the clear
// colours have it). The terrain scene's colours carry alpha 0 as well and write
// whole words, which spares Mesa reading every pixel back to keep its alpha;
// the engine scenes' textures do not, and leave alpha alone.
void ClearBuffers(GLbitfield bits, bool writeAlpha = false) {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (bits) glClear(bits);
    if (!writeAlpha) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
}

bool SetupMode() { return *GLShellLinks.setupMode != 0; }

void CopyCamera() {
    GLView.camera.altitude = GLViewInput.altitude;
    GLView.camera.roll = GLViewInput.roll;
    GLView.camera.pitch = GLViewInput.pitch;
    GLView.camera.heading = GLViewInput.heading;
}

void InitGLState() {
    glClearColor(0.1f, 0.1f, 0.4f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_FASTEST);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_LIGHTING);
    glDisable(GL_NORMALIZE);
    glColor4ub(255, 255, 255, 255);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void SetDialConfig(int dial, const TInstrumentConfig* config) {
    if (dial >= 0 && dial < DialCount && config) EngineInstruments[dial].SetConfig(*config);
}

int EngineNeedle(int dial, int32_t value) {
    if (dial < 0 || dial >= DialCount) return -3;
    return DrawGLNeedle(&EngineInstruments[dial], value);
}

bool Ready() { return GLView.context && GLView.target && GLView.width > 0 && GLView.height > 0; }

void Projection(int x, int y, int w, int h) {
    glViewport(x, y, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Memory order of the picture becomes the screen's top-down order.
    glScalef(1.0f, -1.0f, 1.0f);
}

void ModelView() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

bool InitGLView(uint32_t* pixels) {
    if (!GLView.disabled || GLView.context) DoneGLView();
    GLView.target = pixels;
    // The dials' configuration serves the 2-D pages as well, with or without GL.
    *GLShellLinks.instrumentSetConfig = SetDialConfig;
    *GLShellLinks.rebuildBackground = RebuildEngineBackground;
    InitEngineLayouts();
    if (!pixels) return false;
    std::string error;
    std::unique_ptr<platform::GLContext> context =
        platform::CreateGLContext ? platform::CreateGLContext(GLViewWidth, GLViewHeight, &error) : nullptr;
    if (!context) {
        TRACE_ERR("no OpenGL context (%s): the OpenGL view is off", error.empty() ? "none" : error.c_str());
        return false;
    }
    if (context->Width() != GLViewWidth || context->Height() != GLViewHeight || !context->Pixels() ||
        !context->MakeCurrent()) {
        TRACE_ERR("OpenGL context unusable: the OpenGL view is off");
        return false;
    }
    GLView.context = std::move(context);
    GLView.width = GLViewWidth;
    GLView.height = GLViewHeight;
    InitGLState();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    // The depth buffer is cleared by each picture that tests depth: a run without the
    // terrain never touches its pages.
    ClearBuffers(ColourClear);
    LoadGLTextures();
    // Only the engine backgrounds draw the scene's textures and text: they are taken
    // again when the backgrounds are first rendered.
    ReleaseSceneTextures();
    CopyCamera();
    if (GLTerrainHooks.init) GLTerrainHooks.init(GLView.camera);
    GLView.context->Release();
    GLView.disabled = 0;
    *GLShellLinks.engineHooks = {ClearGLView, EngineNeedle, FlushGLView};
    return true;
}

void DoneGLView() {
    GLView.disabled = 1;
    *GLShellLinks.engineHooks = {nullptr, nullptr, nullptr};
    if (GLView.context) {
        if (GLView.context->MakeCurrent()) FreeGLTextures();
        GLView.context->Release();
        GLView.context.reset();
    } else {
        FreeGLTextures();
    }
    GLView.width = GLView.height = 0;
    GLView.target = nullptr;
    GLView.terrainLoaded = 0;
    ForgetGLPictures();
}

void SetTerrainProjection() {
    const int w = std::max(GLView.viewWidth, 1);
    Projection(0, GLView.topMargin, w, GLViewHeight - GLView.topMargin);
    if (GLView.paintFlags & GLPaintNarrow) glTranslatef(-40.0f / static_cast<float>(w), 0.0f, 0.0f);
    gluPerspective(GLFieldOfView, static_cast<double>(w) / GLViewHeight, 1.0, 27.0);
    ModelView();
}

void SetStripProjection() {
    const int w = GLViewWidth - GLView.viewWidth, h = GLViewHeight - GLView.topMargin;
    Projection(GLView.viewWidth, 0, w, h);
    glOrtho(0, w, 0, h, -1, 1);
    ModelView();
}

void SetFlatProjection() {
    const int h = GLViewHeight - GLView.topMargin;
    Projection(0, 0, GLViewWidth, h);
    glOrtho(0, GLViewWidth, 0, h, -1, 1);
    ModelView();
}

namespace {

// Horizon pictures lately shown, kept as runs of equal words along each row.
// Taxiing or holding a course, the attitude keeps coming back to a few values;
// filling a picture's runs costs much less than drawing it again or reading it
// back from the context. A picture of more runs than the cap is not kept.
constexpr int PictureSlots = 8;
constexpr size_t PictureRunsMax = 16384;  // 128 KiB of runs a picture

struct TKeptPicture {
    int32_t flags = 0, roll = 0, pitch = 0, width = 0;
    uint32_t used = 0;           // last use, 0 while the slot is empty
    std::vector<uint32_t> runs;  // length, word; row after row, no run crosses a row
};
TKeptPicture KeptPictures[PictureSlots];
uint32_t KeptClock = 0;

// Where the run of `word` that starts at x ends: four words at a time, as the
// sky's runs are tens to hundreds of words long.
int RunEnd(const uint32_t* row, int x, int width, uint32_t word) {
    const FGWords4 four = {word, word, word, word};
    int end = x + 1;
    for (; end + 4 <= width; end += 4) {
        FGWords4 v;
        std::memcpy(&v, row + end, sizeof v);
        const FGWords4 d = v ^ four;
        if ((d[0] | d[1] | d[2] | d[3]) != 0) break;
    }
    while (end < width && row[end] == word) ++end;
    return end;
}

TKeptPicture* FindKeptPicture(int32_t flags, const TGLCamera& camera) {
    for (TKeptPicture& k : KeptPictures)
        if (k.used && k.flags == flags && k.roll == camera.roll && k.pitch == camera.pitch) return &k;
    return nullptr;
}

// The first `width` columns of the target's rows go into the slot least lately used.
void KeepPicture(int32_t flags, const TGLCamera& camera, int width) {
    TKeptPicture* slot = &KeptPictures[0];
    for (TKeptPicture& k : KeptPictures)
        if (k.used < slot->used) slot = &k;
    slot->used = 0;
    slot->runs.clear();
    for (int y = 0; y < GLViewHeight; ++y) {
        const uint32_t* row = GLView.target + static_cast<size_t>(y) * GLViewWidth;
        for (int x = 0; x < width;) {
            const uint32_t word = row[x];
            const int end = RunEnd(row, x, width, word);
            if (slot->runs.size() >= 2 * PictureRunsMax) {
                slot->runs.clear();
                return;
            }
            slot->runs.push_back(static_cast<uint32_t>(end - x));
            slot->runs.push_back(word);
            x = end;
        }
    }
    slot->flags = flags;
    slot->roll = camera.roll;
    slot->pitch = camera.pitch;
    slot->width = width;
    slot->used = ++KeptClock;
}

void ShowKeptPicture(TKeptPicture& kept) {
    const uint32_t* run = kept.runs.data();
    for (int y = 0; y < GLViewHeight; ++y) {
        uint32_t* row = GLView.target + static_cast<size_t>(y) * GLViewWidth;
        for (int x = 0; x < kept.width; run += 2) {
            fg_fill(row + x, run[0], run[1]);
            x += static_cast<int>(run[0]);
        }
    }
    kept.used = ++KeptClock;
}

}  // namespace

void ForgetGLPictures() {
    for (TKeptPicture& k : KeptPictures) {
        k.used = 0;
        k.runs = std::vector<uint32_t>();
    }
    GLView.pictureValid = 0;
}

void DrawGLScene() {
    GLView.pictureValid = 0;
    const bool setup = SetupMode();
    if (setup) TakeSceneTextures();
    GLView.topMargin = setup ? 20 : 0;
    if (setup)
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    else
        glClearColor(0.1f, 0.1f, 0.4f, 0.0f);
    const bool depth = !setup && !(GLView.paintFlags & GLPaintTerrainOff);
    // Set every frame: the engine page's frames leave it off.
    if (depth)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    const bool narrow = (GLView.paintFlags & GLPaintNarrow) != 0;
    GLView.viewWidth = !narrow ? GLViewWidth : setup ? GLViewWidth - 243 : GLViewWidth - 240;
    // A full-width view that the sky and ground cover whole needs no colour clear.
    const bool covered = !setup && !narrow && GLTerrainHooks.draw && GLTerrainHooks.covers &&
                         GLTerrainHooks.covers(GLView.camera);
    const GLbitfield clear = (covered ? 0 : ColourClear) | (depth ? DepthClear : 0);
    ClearBuffers(clear, !setup);
    if (setup && !narrow) {
        SetFlatProjection();
        DrawEnginePageScene(GLView.viewWidth, GLViewHeight - GLView.topMargin);
    } else if (setup) {
        SetStripProjection();
        DrawEngineStripScene(GLViewWidth - GLView.viewWidth, GLViewHeight - GLView.topMargin);
    } else {
        SetTerrainProjection();
        if (GLTerrainHooks.draw) GLTerrainHooks.draw(GLView.camera, (GLView.paintFlags & GLPaintTerrainOff) != 0, covered);
    }
    glFinish();
}

namespace {

// Rows the surface and the target share; both are 800 x 480 once the view is up.
size_t PixelCount() {
    const size_t surface = static_cast<size_t>(GLView.context->Width()) * static_cast<size_t>(GLView.context->Height());
    return std::min(surface, static_cast<size_t>(GLViewWidth) * GLViewHeight);
}

}  // namespace

int OpenGLPaint(int32_t flags) {
    if (GLView.disabled || !Ready()) return -1;
    GLView.paintFlags = flags;
    CopyCamera();
    if (!SetupMode() && !(flags & GLPaintTerrainOff)) {
        GLView.terrain.latitude = static_cast<float>(GLViewInput.latitude * 1e-5);
        GLView.terrain.longitude = static_cast<float>(GLViewInput.longitude * 1e-5);
        GLView.terrain.heading = GLViewInput.heading;
        GLView.terrain.altitude = GLViewInput.altitude;
        GLView.terrain.pitch = GLViewInput.pitch;
        GLView.terrainLoaded = GLTerrainHooks.update && GLTerrainHooks.update(GLView.terrain) == 0;
    }
    // With the terrain off the picture is the horizon alone: roll and pitch.
    const bool reusable = !SetupMode() && (flags & GLPaintTerrainOff);
    const bool same = reusable && GLView.pictureValid && GLView.pictureFlags == flags &&
                      GLView.pictureRoll == GLView.camera.roll && GLView.picturePitch == GLView.camera.pitch;
    if (reusable && GLView.keepPictures) {
        if (TKeptPicture* kept = FindKeptPicture(flags, GLView.camera)) {
            ShowKeptPicture(*kept);
            return 0;
        }
    }
    // The picture is drawn straight into the target, where the page is drawn
    // over it next; an unchanged picture is read back from the context, and
    // kept from then on.
    if (!GLView.context->MakeCurrentOn(GLView.target)) return -1;
    if (!same) {
        GLView.pictureValid = 0;
        DrawGLScene();
        ++GLView.renders;
        GLView.pictureValid = reusable;
        GLView.pictureFlags = flags;
        GLView.pictureRoll = GLView.camera.roll;
        GLView.picturePitch = GLView.camera.pitch;
    } else {
        // Only the view's own columns: the page draws its strip over the rest.
        const int width = (flags & GLPaintNarrow) ? std::clamp(GLView.viewWidth, 0, GLViewWidth) : GLViewWidth;
        glPixelStorei(GL_PACK_ROW_LENGTH, GLViewWidth);
        glReadPixels(0, 0, width, GLViewHeight, GL_BGRA, GL_UNSIGNED_BYTE, GLView.target);
        if (GLView.keepPictures) KeepPicture(flags, GLView.camera, width);
    }
    GLView.context->Release();
    return 0;
}

void GLViewReleaseSceneTextures() {
    if (GLView.disabled || !Ready() || !GLView.context->MakeCurrent()) return;
    ReleaseSceneTextures();
    GLView.context->Release();
}

void ClearGLView() {
    if (GLView.disabled || !Ready()) return;
    GLView.topMargin = 20;
    GLView.pictureValid = 0;
    if (!GLView.context->MakeCurrent()) return;
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    ClearBuffers(ColourClear);
    glDisable(GL_DEPTH_TEST);
    SetFlatProjection();
    GLView.context->Release();
}

int DrawGLNeedle(TInstrument* dial, int32_t value) {
    if (GLView.disabled) return -1;
    if (!Ready()) return -2;
    if (!dial || !dial->config.needleTexture || dial->config.needleTexture->name == 0) return -3;
    if (!GLView.context->MakeCurrent()) return -2;
    GLView.pictureValid = 0;
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    dial->DrawNeedle(value);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    GLView.context->Release();
    return 0;
}

void FlushGLView() {
    if (!Ready()) return;
    if (!GLView.context->MakeCurrent()) return;
    glFinish();
    GLView.context->Release();
    const uint32_t* src = GLView.context->Pixels();
    uint32_t* dst = GLView.target;
    const size_t n = PixelCount();
    // Four words at a time: the picture is mostly black, but every word is merged.
    const FGWords4 colour = {0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu};
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        FGWords4 s, d;
        std::memcpy(&s, src + i, sizeof s);
        std::memcpy(&d, dst + i, sizeof d);
        d |= s & colour;
        std::memcpy(dst + i, &d, sizeof d);
    }
    for (; i < n; ++i) dst[i] |= src[i] & 0x00FFFFFFu;
}

void GLColour(const uint8_t* rgb) { glColor4ub(rgb[0], rgb[1], rgb[2], 255); }

int GLFillRect(int x, int y, int w, int h, const uint8_t* rgb, bool textureOff) {
    if (w == 0 || h == 0) return x;
    if (rgb) GLColour(rgb);
    if (textureOff) glDisable(GL_TEXTURE_2D);
    auto s = [](int v) { return static_cast<GLshort>(std::min(std::max(v, -32768), 32767)); };
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3s(s(x), s(y - h), 0);
    glVertex3s(s(x + w), s(y - h), 0);
    glVertex3s(s(x), s(y), 0);
    glVertex3s(s(x + w), s(y), 0);
    glEnd();
    if (textureOff) glEnable(GL_TEXTURE_2D);
    return x;
}
