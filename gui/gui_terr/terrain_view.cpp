#include "terrain_view.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "hkutils.h"

TSceneryTeren TerrainScene;
uint8_t TerrainSceneLoaded = 0;

namespace {
constexpr double Pi = 3.14159265358979323846;
constexpr int32_t DefaultRange = 11000;
}  // namespace

int SetTerrainMapDir(const char* dir) {
    const size_t n = dir ? std::strlen(dir) : 0;
    if (!dir || n > 255) {
        TRACE_ERR("terrain map directory refused: %s", dir ? "longer than 255 characters" : "none given");
        return -1;
    }
    std::memcpy(TerrainScene.Rotate.MapDir, dir, n + 1);
    return 0;
}

void TerrainSceneInit(const TGLCamera& camera) {
    SetTerrainMapDir("map");
    TTerrainInput& in = TerrainScene.Input;
    in.Latitude = 0;
    in.Longitude = 0;
    in.RangeEW = DefaultRange;
    in.RangeNS = DefaultRange;
    in.Heading = camera.heading;
    in.Altitude = camera.altitude;
    in.Pitch = camera.pitch;
    TerrainSceneLoaded = 0;
}

int TerrainSceneUpdate(const TGLTerrainInput& input) {
    TTerrainInput in = TerrainScene.Input;
    in.Latitude = input.latitude;
    in.Longitude = input.longitude;
    in.Heading = input.heading;
    in.Altitude = input.altitude;
    in.Pitch = input.pitch;
    const int r = TerrainScene.Update(in);
    TerrainSceneLoaded = r == 0;
    return r;
}

namespace {

// The horizon strip lies 25 units ahead, from -75 to 75 across and from
// HorizonBottom to the line's height + HorizonAboveLine along the roll.
constexpr float HorizonAboveLine = 50, HorizonBottom = -75, HorizonHalfWidth = 75;

float HorizonLine(int32_t pitch) {
    return pitch <= -900 ? 200.0f : float(std::tan(-pitch * Pi / 1800) * 9903 * 0.01 * 0.25);
}

// Pitch to -90..90 degrees and the roll that goes with it: past the vertical
// the picture turns over.
int32_t HorizonPitch(const TGLCamera& camera, int32_t* roll) {
    int32_t pitch = camera.pitch % 3600;
    if (pitch < 0) pitch += 3600;
    *roll = (pitch > 900 && pitch < 2700) ? camera.roll % 3600 : camera.roll % 3600 - 1800;
    if (pitch > 900) pitch = 1800 - pitch;
    if (pitch < -900) pitch = -pitch - 1800;
    return pitch;
}

}  // namespace

bool TerrainHorizonCovers(const TGLCamera& camera) {
    int32_t roll;
    const int32_t pitch = HorizonPitch(camera, &roll);
    if (pitch >= 900) return false;
    // Whatever the roll, the full-width view 25 units ahead lies within this
    // distance of its centre (40 degrees high, 800 x 480), with a unit to spare.
    const double half = 25 * std::tan(20 * Pi / 180);
    const double reach = half * std::sqrt(1 + (800.0 / 480) * (800.0 / 480)) + 1;
    return HorizonLine(pitch) + HorizonAboveLine >= reach && -HorizonBottom >= reach && HorizonHalfWidth >= reach;
}

// Alpha 0 in every colour: the view writes whole pixel words into the page,
// whose alpha bytes stay 0. groundByClear: nothing was cleared and the strips
// cover the view, so the ground may be laid by a clear, which Mesa fills far
// faster than it shades the ground's triangles.
void DrawTerrainHorizon(int32_t pitch, bool terrainOff, bool groundByClear) {
    if (pitch >= 900) return;  // straight up: sky only (the clear colour)
    const float h = HorizonLine(pitch);
    const float top = h + HorizonAboveLine, bottom = HorizonBottom;
    const GLubyte ground[3] = {35, 59, 21}, groundOff[3] = {128, 64, 0};
    const GLubyte* g = terrainOff ? groundOff : ground;
    const float w = HorizonHalfWidth;
    // Every pixel the sky leaves is then the ground's: the strips share their
    // edge, and the rasteriser gives each pixel on a shared edge to one side.
    if (groundByClear) {
        glClearColor(g[0] / 255.0f, g[1] / 255.0f, g[2] / 255.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBegin(GL_TRIANGLE_STRIP);
    glColor4ub(25, 25, 102, 0);
    glVertex3f(-w, -25, top);
    glVertex3f(w, -25, top);
    glColor4ub(95, 95, 229, 0);
    glVertex3f(-w, -25, h);
    glVertex3f(w, -25, h);
    glEnd();
    if (groundByClear) return;
    // The ground is one colour: flat shading spares Mesa interpolating it, and
    // its triangles are the ones the sky's strip would have carried on into.
    glShadeModel(GL_FLAT);
    glBegin(GL_TRIANGLE_STRIP);
    glColor4ub(g[0], g[1], g[2], 0);
    glVertex3f(-w, -25, h);
    glVertex3f(w, -25, h);
    glVertex3f(-w, -25, bottom);
    glVertex3f(w, -25, bottom);
    glEnd();
    glShadeModel(GL_SMOOTH);
}

void TerrainSceneDraw(const TGLCamera& camera, bool terrainOff, bool covered) {
    int32_t roll;
    const int32_t pitch = HorizonPitch(camera, &roll);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90, 1, 0, 0);
    glRotatef(roll / 10.0f, 0, 1, 0);
    // With the terrain on, the mesh is depth-tested against the ground's triangles.
    DrawTerrainHorizon(pitch, terrainOff, terrainOff && covered);
    glLoadIdentity();

    const TLoadTeren& l = TerrainScene.Rotate.Loader;
    if (terrainOff || !TerrainSceneLoaded || l.Buffer.size() != size_t(l.Stride) * size_t(l.BufHeight)) return;

    // The camera stays at least 50 m (more when diving) above the terrain
    // around the aircraft.
    const int32_t localMax = TerrainScene.Highest / 10;
    const int32_t dive = std::min(pitch * 300 / 900 - 50, 0);
    int64_t camAlt = camera.altitude;
    if ((camAlt + dive) / 10 < localMax) camAlt = int64_t(localMax) * 10 - dive;
    const int32_t alt = int32_t(std::clamp<int64_t>(camAlt, INT32_MIN, INT32_MAX));
    const int32_t meshScale = TerrainMeshScale(alt), step = TerrainMeshStep(meshScale);
    TerrainScene.VScale = TerrainVerticalFactor(alt);
    const float zs = TerrainZScale(TerrainScene.VScale, step, meshScale);
    const float a = l.Aspect / 10000.0f;
    const float px = float(TerrainScene.Rotate.PosX / step), py = float(TerrainScene.Rotate.PosY / step);

    glRotatef(90, 1, 0, 0);
    glRotatef(roll / 10.0f, 0, 1, 0);
    glRotatef(pitch / 10.0f, 1, 0, 0);
    glRotatef(float(camera.heading % 3600) / 10.0f + 180, 0, 0, 1);
    glTranslatef(-px * a * 0.01f, -py * 0.01f, -float(alt) * zs);

    const int32_t cols = l.Stride / step, rows = l.BufHeight / step;
    if (cols >= 2 && rows >= 2) {
        std::vector<GLfloat> vertex(size_t(cols) * 6 + 60);
        std::vector<GLubyte> colour(size_t(cols) * 8 + 80);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, vertex.data());
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colour.data());
        for (int32_t d = 0; d < rows - 1; ++d) {
            GLfloat* v = vertex.data();
            GLubyte* c = colour.data();
            for (int32_t i = 0; i < cols - 1; ++i) {
                const bool shade = ((i ^ d) & 1) != 0;
                for (int32_t k = 0; k < 2; ++k) {
                    const int32_t e = l.Sample(i * step, (d + k) * step);
                    *v++ = i * a;
                    *v++ = float(d + k);
                    *v++ = e * zs;
                    TerrainColor(e, camera.altitude, localMax, c);
                    for (int ch = 0; ch < 3; ++ch)
                        if (shade && c[ch] > 18) c[ch] = GLubyte(c[ch] - 18);
                    c[3] = 0;
                    c += 4;
                }
            }
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 2 * (cols - 1));
        }
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    glColor4ub(0, 0, 0, 255);
}

void InstallTerrainHooks(TGLTerrainHooks& hooks) {
    hooks.init = TerrainSceneInit;
    hooks.update = TerrainSceneUpdate;
    hooks.draw = TerrainSceneDraw;
    hooks.covers = TerrainHorizonCovers;
}
