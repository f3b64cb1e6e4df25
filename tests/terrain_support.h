// Shared by the terrain tests and benchmark: tiles written from a function of
// the sample's global position, a scratch map directory, and an off-screen GL
// context with the terrain projection of the GL view.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/osmesa.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bmpfile.h"
#include "crc16.h"
#include "gui_terr/terrain.h"

namespace terrain_test {

// Elevation by global sample: north = rows of 1/300 degree above the equator
// (row r of cell lat lies at north = (lat + 1) x 300 - r), east likewise.
using ElevationFn = std::function<int16_t(int32_t north, int32_t east)>;

// Recomputes the checksum over the length the header names (at most 112).
inline void FixTileCrc(std::vector<uint8_t>& b) {
    const uint32_t n = std::min<uint32_t>(TileGetU32(&b[offsetof(THkmHeader, crcLength)]), TileHeaderSize);
    TilePutU16(&b[offsetof(THkmHeader, crc)], SetupSectCRC16(b.data(), n));
}

inline std::vector<uint8_t> TileBytes(int cellLat, int cellLon, const ElevationFn& f) {
    std::vector<uint8_t> b(TileHeaderSize + TileArrayBytes, 0);
    std::memcpy(b.data(), "HKeM", 4);
    TilePutU32(&b[offsetof(THkmHeader, crcLength)], offsetof(THkmHeader, crc));
    TilePutU32(&b[offsetof(THkmHeader, arrayOffset)], TileHeaderSize);
    TilePutU32(&b[offsetof(THkmHeader, spacing)], TileSpacing);
    TilePutU32(&b[offsetof(THkmHeader, samplesPerRow)], TileSamples);
    TilePutU32(&b[offsetof(THkmHeader, rows)], TileSamples);
    for (int r = 0; r < 300; ++r)
        for (int c = 0; c < 300; ++c)
            TilePutU16(&b[TileHeaderSize + (r * 300 + c) * 2],
                       uint16_t(f((cellLat + 1) * 300 - r, cellLon * 300 + c)));
    FixTileCrc(b);
    return b;
}


inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

// A map directory of its own, removed with everything in it.
class MapDir {
public:
    MapDir() {
        char tmpl[] = "/tmp/terrain_XXXXXX";
        if (mkdtemp(tmpl)) m_Dir = tmpl;
    }
    ~MapDir() {
        std::error_code ec;
        if (!m_Dir.empty()) std::filesystem::remove_all(m_Dir, ec);
    }
    const std::string& Path() const { return m_Dir; }
    std::string TilePath(int cellLat, int cellLon) const {
        char name[TerrainNameSize];
        TerrainTileName(name, sizeof name, m_Dir.c_str(), cellLat, cellLon);
        return name;
    }
    void Write(int cellLat, int cellLon, const ElevationFn& f) const {
        WriteBytes(TilePath(cellLat, cellLon), TileBytes(cellLat, cellLon, f));
    }
    // The cells from lat0..lat1 and lon0..lon1 (wrapping at the date line).
    void WriteBlock(int lat0, int lat1, int lon0, int lon1, const ElevationFn& f) const {
        for (int lat = lat0; lat <= lat1; ++lat)
            for (int lon = lon0; lon <= lon1; ++lon)
                if (lat >= -90 && lat <= 89) Write(lat, (lon + 540) % 360 - 180, f);
    }

private:
    std::string m_Dir;
};

// Off-screen 800 x 480 context in the GL view's state and terrain projection.
class GLFrame {
public:
    static constexpr int W = 800, H = 480;
    GLFrame() : m_Pixels(size_t(W) * H) {
        m_Ctx = OSMesaCreateContextExt(OSMESA_BGRA, 32, 8, 0, nullptr);
        if (!m_Ctx || !OSMesaMakeCurrent(m_Ctx, m_Pixels.data(), GL_UNSIGNED_BYTE, W, H)) return;
        m_Ok = true;
        glClearColor(0.1f, 0.1f, 0.4f, 1);
        glClearDepth(1);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
        glDisable(GL_LIGHTING);
        glColor4f(1, 1, 1, 1);
    }
    ~GLFrame() {
        if (m_Ctx) {
            OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
            OSMesaDestroyContext(m_Ctx);
        }
    }
    GLFrame(const GLFrame&) = delete;
    GLFrame& operator=(const GLFrame&) = delete;
    bool Ok() const { return m_Ok; }
    // Clears and sets the terrain projection (flipped, so memory rows run top-down).
    void Begin() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glViewport(0, 0, W, H);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glScalef(1, -1, 1);
        gluPerspective(40.0, double(W) / H, 1, 27);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // Ends the frame; with TERRAIN_SNAPSHOT=<dir> it is also written there
    // as <name>.bmp for looking at.
    void End(const char* name = nullptr) {
        glFinish();
        const char* dir = std::getenv("TERRAIN_SNAPSHOT");
        if (dir && name) BmpWrite24((std::string(dir) + "/" + name + ".bmp").c_str(), m_Pixels.data(), W, H, W);
    }
    // 0x00RRGGBB at (x, y) with y counted from the top of the screen.
    uint32_t Pixel(int x, int y) const { return m_Pixels[size_t(y) * W + size_t(x)] & 0xFFFFFF; }

private:
    OSMesaContext m_Ctx = nullptr;
    std::vector<uint32_t> m_Pixels;
    bool m_Ok = false;
};

}  // namespace terrain_test
