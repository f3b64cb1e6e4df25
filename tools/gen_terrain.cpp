// Writes the terrain tiles around the recorded flight's field (near 50.08 N
// 14.26 E): the nine 1 x 1 degree cells N49..N51 x E013..E015 as
// map/N<t>x/N<dd>E<ddd>.hkm beside the Data directory. The relief is one
// continuous function of position: rolling plains, ridges, a river valley,
// a long ridge west of the field and a sea-level coast to the north; the
// field itself sits on a flat at 380 m.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../gui/gui_terr/terrain_tile.h"
#include "crc16.h"
#include "write_file.h"

namespace {

constexpr double FieldLat = 50.08, FieldLon = 14.26;
constexpr double FieldElevation = 380;
constexpr double MetresPerDegLat = 111320;
const double MetresPerDegLon = 111320 * std::cos(FieldLat * 3.14159265358979323846 / 180);

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x85ebca6bu;
    h ^= h >> 16;
    return h;
}

// Smooth value noise in 0..1 over a lattice of unit spacing.
double Noise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int32_t ix = int32_t(fx), iy = int32_t(fy);
    auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const double u = fade(x - fx), v = fade(y - fy);
    auto at = [&](int dx, int dy) { return Hash(ix + dx, iy + dy, seed) / 4294967295.0; };
    const double a = at(0, 0) + (at(1, 0) - at(0, 0)) * u;
    const double b = at(0, 1) + (at(1, 1) - at(0, 1)) * u;
    return a + (b - a) * v;
}

double Fbm(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * Noise(x, y, seed + i);
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

double Smooth(double edge0, double edge1, double v) {
    double t = (v - edge0) / (edge1 - edge0);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return t * t * (3 - 2 * t);
}

// Elevation in metres at a position (east x and north y in metres from the field).
double Elevation(double x, double y) {
    const double km = 1000;
    double e = 260 + 220 * Fbm(x / (24 * km), y / (24 * km), 11, 5);   // rolling plain
    const double r = 1 - std::fabs(2 * Fbm(x / (30 * km), y / (30 * km), 37, 4) - 1);
    e += 380 * r * r;                                                   // ridges
    const double west = (x + 9 * km + 0.15 * y) / (2.5 * km);
    e += 300 * std::exp(-west * west) * (1 - Smooth(20 * km, 40 * km, std::fabs(y)));  // the ridge west of the field
    const double river = y - (7 * km + 1.8 * km * std::sin(x / (5 * km)));
    e -= 140 * std::exp(-(river / (0.9 * km)) * (river / (0.9 * km)));  // a river valley north of the field
    // The field's flat, blended into the relief between 2.5 and 6 km.
    const double d = std::hypot(x, y);
    const double k = Smooth(2.5 * km, 6 * km, d);
    e = FieldElevation + (e - FieldElevation) * k;
    // Land falls to the sea along a wavy coast some 135 km north.
    const double coast = 135 * km + 9 * km * std::sin(x / (17 * km));
    e *= 1 - Smooth(coast - 25 * km, coast, y);
    return e < 0 ? 0 : e;
}

bool WriteTile(const std::string& mapDir, int cellLat, int cellLon) {
    char dir[64], name[64];
    std::snprintf(dir, sizeof dir, "/N%1dx/", cellLat / 10);
    std::snprintf(name, sizeof name, "N%02dE%03d.hkm", cellLat, cellLon);
    const std::string folder = mapDir + dir, path = folder + name;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    std::vector<uint8_t> file(TileHeaderSize + TileArrayBytes, 0);
    uint8_t* h = file.data();
    std::memcpy(h, "HKeM", 4);
    TilePutU32(h + offsetof(THkmHeader, crcLength), offsetof(THkmHeader, crc));
    TilePutU32(h + offsetof(THkmHeader, arrayOffset), TileHeaderSize);
    TilePutU32(h + offsetof(THkmHeader, spacing), TileSpacing);
    TilePutU32(h + offsetof(THkmHeader, samplesPerRow), TileSamples);
    TilePutU32(h + offsetof(THkmHeader, rows), TileSamples);
    TilePutU16(h + offsetof(THkmHeader, crc), SetupSectCRC16(h, offsetof(THkmHeader, crc)));
    for (uint32_t r = 0; r < TileSamples; ++r) {
        const double lat = cellLat + 1 - r / double(TileSamples);
        for (uint32_t c = 0; c < TileSamples; ++c) {
            const double lon = cellLon + c / double(TileSamples);
            const double e = Elevation((lon - FieldLon) * MetresPerDegLon, (lat - FieldLat) * MetresPerDegLat);
            TilePutU16(h + TileHeaderSize + (r * TileSamples + c) * 2, uint16_t(int16_t(std::lround(e))));
        }
    }
    return gen::WriteFile(path, file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_terrain <Data directory>\n");
        return 2;
    }
    // The map directory sits beside Data/ in the working directory.
    const std::string mapDir = (std::filesystem::path(argv[1]).parent_path() / "map").string();
    int count = 0;
    for (int lat = int(FieldLat) - 1; lat <= int(FieldLat) + 1; ++lat)
        for (int lon = int(FieldLon) - 1; lon <= int(FieldLon) + 1; ++lon) {
            if (!WriteTile(mapDir, lat, lon)) return 1;
            ++count;
        }
    std::printf("gen_terrain: %d tiles in %s\n", count, mapDir.c_str());
    return 0;
}
