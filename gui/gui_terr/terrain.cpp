#include "terrain.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <string>

#include "crc16.h"
#include "hkutils.h"
#include "readfile.h"
#include "unique_fd.h"

// Quarter spacings of 12 arc-seconds (92.689 m x cos latitude east-west) and
// the east-west over north-south ratio, every half degree up to 60.
const float TerrainEWQuarter[TerrainLatSteps + 1] = {
    92.689f, 92.685f, 92.675f, 92.657f, 92.633f, 92.601f, 92.562f, 92.516f, 92.463f, 92.403f,
    92.336f, 92.262f, 92.181f, 92.093f, 91.998f, 91.896f, 91.787f, 91.671f, 91.548f, 91.418f,
    91.281f, 91.137f, 90.986f, 90.828f, 90.664f, 90.492f, 90.313f, 90.128f, 89.936f, 89.737f,
    89.531f, 89.318f, 89.098f, 88.872f, 88.639f, 88.399f, 88.152f, 87.899f, 87.639f, 87.372f,
    87.099f, 86.819f, 86.533f, 86.239f, 85.940f, 85.633f, 85.321f, 85.001f, 84.676f, 84.343f,
    84.005f, 83.660f, 83.308f, 82.951f, 82.587f, 82.216f, 81.840f, 81.457f, 81.068f, 80.672f,
    80.271f, 79.864f, 79.450f, 79.030f, 78.605f, 78.173f, 77.736f, 77.292f, 76.843f, 76.387f,
    75.926f, 75.460f, 74.987f, 74.509f, 74.025f, 73.535f, 73.040f, 72.539f, 72.033f, 71.521f,
    71.004f, 70.481f, 69.953f, 69.420f, 68.881f, 68.337f, 67.788f, 67.234f, 66.675f, 66.110f,
    65.541f, 64.967f, 64.387f, 63.803f, 63.214f, 62.620f, 62.021f, 61.418f, 60.809f, 60.197f,
    59.579f, 58.957f, 58.331f, 57.700f, 57.065f, 56.425f, 55.782f, 55.134f, 54.481f, 53.825f,
    53.164f, 52.500f, 51.831f, 51.158f, 50.482f, 49.802f, 49.118f, 48.430f, 47.738f, 47.043f,
    46.345f, 92.611f
};

const int32_t TerrainAspect[TerrainLatSteps] = {
    10008, 10008, 10006, 10004, 10002, 9998, 9994, 9989, 9984, 9977, 9970, 9962, 9953, 9944, 9933,
    9922, 9911, 9898, 9885, 9871, 9856, 9840, 9824, 9807, 9789, 9771, 9751, 9731, 9711, 9689, 9667,
    9644, 9620, 9596, 9571, 9545, 9518, 9491, 9463, 9434, 9404, 9374, 9343, 9312, 9279, 9246, 9212,
    9178, 9143, 9107, 9070, 9033, 8995, 8956, 8917, 8877, 8836, 8795, 8753, 8710, 8667, 8623, 8578,
    8533, 8487, 8441, 8393, 8345, 8297, 8248, 8198, 8148, 8096, 8045, 7993, 7940, 7886, 7832, 7778,
    7722, 7666, 7610, 7553, 7495, 7437, 7378, 7319, 7259, 7199, 7138, 7077, 7014, 6952, 6889, 6825,
    6761, 6696, 6631, 6566, 6499, 6433, 6366, 6298, 6230, 6161, 6092, 6023, 5953, 5882, 5811, 5740,
    5668, 5596, 5524, 5450, 5377, 5303, 5229, 5154, 5079, 5004
};

namespace {

constexpr double TerrainPi = 3.14159265358979323846;

// A refused tile is said once, not at every reload of the window (several a second):
// again only when its file changes or after it has loaded.
struct TTileRefusal {
    std::string name;
    uint64_t key = 0;  // what was refused: the code, the reason and the file as it stood
};
constexpr int RememberedRefusals = 4;  // the tiles under one window
TTileRefusal Refusals[RememberedRefusals];
int NextRefusal = 0;

uint64_t Fnv(uint64_t h, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// The file's identity, times and header bytes, so that a tile rewritten in place within
// one clock tick still counts as changed.
uint64_t RefusalKey(FILE* f, int code, const std::string& why) {
    uint64_t h = Fnv(14695981039346656037ull, &code, sizeof code);
    h = Fnv(h, why.data(), why.size());
    struct stat st;
    if (f && fstat(fileno(f), &st) == 0) {
        const int64_t id[] = {int64_t(st.st_dev), int64_t(st.st_ino), int64_t(st.st_size), int64_t(st.st_mtim.tv_sec),
                              int64_t(st.st_mtim.tv_nsec), int64_t(st.st_ctim.tv_sec), int64_t(st.st_ctim.tv_nsec)};
        h = Fnv(h, id, sizeof id);
        uint8_t head[TileHeaderSize];
        const ssize_t n = pread(fileno(f), head, sizeof head, 0);
        if (n > 0) h = Fnv(h, head, size_t(n));
    }
    return h;
}

// True the first time this tile is refused so.
bool RefusalIsNew(const char* name, uint64_t key) {
    for (TTileRefusal& r : Refusals)
        if (r.name == name) {
            const bool same = r.key == key;
            r.key = key;
            return !same;
        }
    Refusals[NextRefusal] = {name, key};
    NextRefusal = (NextRefusal + 1) % RememberedRefusals;
    return true;
}

void ForgetRefusal(const char* name) {
    for (TTileRefusal& r : Refusals)
        if (r.name == name) r = TTileRefusal{};
}

void SayRefusal(int code, const char* name, const std::string& why) {
    if (!why.empty()) TRACE_ERR("terrain tile %s refused: %s", name, why.c_str());
    TRACE_ERR("TLoadTeren::LoadFiles(): Err %d (file = %s) ", code, name);
}

// The reason a tile is refused: to the caller's text when it collects them, else said.
void Refuse(std::string* why, const char* name, const char* format, ...) __attribute__((format(printf, 3, 4)));
void Refuse(std::string* why, const char* name, const char* format, ...) {
    char text[256];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    if (why)
        *why = text;
    else
        TRACE_ERR("terrain tile %s refused: %s", name, text);
}

int LatIndex(double latitude) {
    const double i = 2 * std::fabs(std::trunc(latitude));
    return i > TerrainLatSteps - 1 ? TerrainLatSteps - 1 : int(i);
}

int32_t Clamp32(int64_t v, int64_t lo, int64_t hi) { return int32_t(v < lo ? lo : v > hi ? hi : v); }

// Tile name pieces: "<H><dd><E><ddd>.hkm" ending the path, and the two
// directory characters "<H><t>" four places before the file name.
struct TileNameParts {
    char* file;    // start of the file name
    int lat, lon;  // signed cell corner
};

bool ParseTileName(char* name, TileNameParts* parts) {
    char* dot = std::strrchr(name, '.');
    if (!dot || dot - name < 7) return false;
    char* f = dot - 7;
    if (f - name < 4 || (f[0] != 'N' && f[0] != 'S') || (f[3] != 'E' && f[3] != 'W')) return false;
    for (int i : {1, 2, 4, 5, 6})
        if (f[i] < '0' || f[i] > '9') return false;
    const int lat = (f[1] - '0') * 10 + (f[2] - '0');
    const int lon = (f[4] - '0') * 100 + (f[5] - '0') * 10 + (f[6] - '0');
    parts->file = f;
    parts->lat = f[0] == 'N' ? lat : -lat;
    parts->lon = f[3] == 'E' ? lon : -lon;
    return true;
}

// Rewrites the name's cell letters and digits (and its directory's two) in place.
void WriteTileName(const TileNameParts& p, int cellLat, int cellLon) {
    char text[8];
    std::snprintf(text, sizeof text, "%c%02d%c%03d", cellLat >= 0 ? 'N' : 'S', std::abs(cellLat) % 100,
                  cellLon >= 0 ? 'E' : 'W', std::abs(cellLon) % 1000);
    std::memcpy(p.file, text, 7);
    p.file[-4] = p.file[0];
    p.file[-3] = char('0' + std::abs(cellLat) / 10 % 10);
}

}  // namespace

int TerrainTileName(char* out, size_t size, const char* mapDir, int cellLat, int cellLon) {
    if (cellLat < -90 || cellLat > 89 || cellLon < -180 || cellLon > 179) return TerrainErrFormat;
    const char h = cellLat >= 0 ? 'N' : 'S', e = cellLon >= 0 ? 'E' : 'W';
    const int dd = std::abs(cellLat), ddd = std::abs(cellLon);
    char dir[TerrainNameSize];
    int n = std::snprintf(dir, sizeof dir, "%s/%c%1dx/", mapDir, h, dd / 10);
    if (n < 0 || size_t(n) >= sizeof dir) return TerrainErrFormat;
    n = std::snprintf(out, size, "%s%c%02d%c%03d.hkm", dir, h, dd, e, ddd);
    if (n < 0 || size_t(n) >= size) return TerrainErrFormat;
    return 0;
}

// East of E179 lies W180 (the date line); east of W001 lies E000.
int TerrainEastTile(char* name) {
    TileNameParts p;
    if (!ParseTileName(name, &p)) return TerrainErrNeighbour;
    int lon = p.lon + 1;
    if (lon > 179) lon = -180;
    WriteTileName(p, p.lat, lon);
    return 0;
}

// South of N00 lies S01; nothing lies south of S90.
int TerrainSouthTile(char* name) {
    TileNameParts p;
    if (!ParseTileName(name, &p) || p.lat - 1 < -90) return TerrainErrNeighbour;
    WriteTileName(p, p.lat - 1, p.lon);
    return 0;
}

// ---- TLoadTeren ----

int TLoadTeren::Load(int32_t firstCol, int32_t firstRow, int32_t width, int32_t height, const char* fileName) {
    Buffer.clear();
    Buffer.shrink_to_fit();
    if (width <= 0 || height <= 0 || firstCol < 0 || firstRow < 0 || firstCol > int32_t(TileSamples) ||
        firstRow > int32_t(TileSamples) || width > int32_t(TileSamples) || height > int32_t(TileSamples) ||
        !fileName || std::strlen(fileName) >= sizeof FileName)
        return TerrainErrOpen;
    FirstCol = firstCol;
    FirstRow = firstRow;
    Width = width;
    Height = height;
    std::memcpy(FileName, fileName, std::strlen(fileName) + 1);
    Stride = width;
    BufHeight = height;
    try {
        Buffer.assign(size_t(width) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return TerrainErrShort;
    }
    const int r = LoadFiles();
    if (r) {
        Buffer.clear();
        Buffer.shrink_to_fit();
    }
    return r;
}

int TLoadTeren::LoadFiles() {
    const int32_t w0 = std::min(Width, int32_t(TileSamples) - FirstCol), h0 = std::min(Height, int32_t(TileSamples) - FirstRow);
    const int32_t part[2][2] = {{FirstCol, w0}, {0, Width - w0}};     // first column, width
    const int32_t partRow[2][2] = {{FirstRow, h0}, {0, Height - h0}};  // first row, height
    char south[TerrainNameSize];
    std::memcpy(south, FileName, sizeof south);
    for (int tr = 0; tr < 2; ++tr) {
        if (partRow[tr][1] <= 0) continue;
        if (tr == 1 && TerrainSouthTile(south) != 0) {
            if (RefusalIsNew(south, uint64_t(TerrainErrNeighbour))) SayRefusal(TerrainErrNeighbour, south, "");
            return TerrainErrNeighbour;
        }
        char name[TerrainNameSize];
        std::memcpy(name, south, sizeof name);
        for (int tc = 0; tc < 2; ++tc) {
            if (part[tc][1] <= 0) continue;
            if (tc == 1 && TerrainEastTile(name) != 0) {
                if (RefusalIsNew(name, uint64_t(TerrainErrNeighbour))) SayRefusal(TerrainErrNeighbour, name, "");
                return TerrainErrNeighbour;
            }
            PosCol = tc ? w0 : 0;
            PosRow = tr ? h0 : 0;
            const int r = ReadTile(name, part[tc][0], partRow[tr][0], part[tc][1], partRow[tr][1]);
            if (r) return r;
        }
    }
    return 0;
}

int TLoadTeren::ReadTile(const char* name, int32_t col, int32_t row, int32_t width, int32_t height) {
    std::string why;
    int opened = 0;
    UniqueFile f(OpenStreamForReading(name, &opened, &why));
    const int r = f ? ReadTileFile(f.get(), name, col, row, width, height, &why) : TerrainErrOpen;
    if (r == 0) {
        ForgetRefusal(name);
        return 0;
    }
    if (!f && opened == ReadFileCannotOpen) why.clear();  // missing: the one line says it
    if (RefusalIsNew(name, RefusalKey(f.get(), r, why))) SayRefusal(r, name, why);
    return r;
}

int TLoadTeren::ReadTileFile(FILE* f, const char* name, int32_t col, int32_t row, int32_t width, int32_t height,
                             std::string* why) {
    const int64_t samples = TileSamples;
    if (col < 0 || row < 0 || width <= 0 || height <= 0 || col + width > samples || row + height > samples ||
        PosCol < 0 || PosRow < 0 || PosCol + width > Stride || PosRow + height > BufHeight ||
        Buffer.size() != size_t(Stride) * size_t(BufHeight))
        return TerrainErrOpen;
    uint8_t h[TileHeaderSize];
    if (std::fread(h, 1, sizeof h, f) != sizeof h) {
        Refuse(why, name, "header cut short");
        return TerrainErrShort;
    }
    const char* bad = nullptr;
    const uint32_t crcLength = TileGetU32(h + offsetof(THkmHeader, crcLength));
    if (std::memcmp(h, "HKeM", 4) != 0)
        bad = "bad magic";
    else if (TileGetU32(h + offsetof(THkmHeader, zero4)) != 0 || TileGetU32(h + offsetof(THkmHeader, zero24)) != 0)
        bad = "reserved field not zero";
    else if (crcLength > TileHeaderSize)
        bad = "checksum length past the header";
    else if (SetupSectCRC16(h, crcLength) != TileGetU16(h + offsetof(THkmHeader, crc)))
        bad = "wrong checksum";
    else if (TileGetU32(h + offsetof(THkmHeader, spacing)) != TileSpacing)
        bad = "spacing is not 12 arc-seconds";
    else if (TileGetU32(h + offsetof(THkmHeader, samplesPerRow)) != TileSamples ||
             TileGetU32(h + offsetof(THkmHeader, rows)) != TileSamples)
        bad = "size is not 300 x 300";
    if (bad) {
        Refuse(why, name, "%s", bad);
        return TerrainErrFormat;
    }
    // The whole array must lie inside the file before any of it is read.
    const int64_t offset = TileGetU32(h + offsetof(THkmHeader, arrayOffset));
    if (std::fseek(f, 0, SEEK_END) != 0) return TerrainErrSeek;
    const int64_t fileSize = std::ftell(f);
    if (fileSize < 0) return TerrainErrSeek;
    if (offset > fileSize) {
        Refuse(why, name, "elevations at %lld past the end (%lld bytes)", (long long)offset, (long long)fileSize);
        return TerrainErrSeek;
    }
    if (offset + int64_t(TileArrayBytes) > fileSize) {
        Refuse(why, name, "elevation array cut short (%lld of %u bytes)", (long long)(fileSize - offset),
               TileArrayBytes);
        return TerrainErrShort;
    }
    if (std::fseek(f, long(offset + (int64_t(row) * samples + col) * 2), SEEK_SET) != 0) return TerrainErrSeek;
    uint8_t line[TileRowBytes];
    for (int32_t k = 0; k < height; ++k) {
        if (std::fread(line, 2, size_t(width), f) != size_t(width)) return TerrainErrShort;
        int16_t* dst = &Buffer[size_t(BufHeight - PosRow - 1 - k) * size_t(Stride) + size_t(PosCol)];
        for (int32_t j = 0; j < width; ++j) dst[j] = TileGetI16(line + 2 * j);
        if (k + 1 < height && std::fseek(f, long(TileRowBytes - width * 2), SEEK_CUR) != 0) return TerrainErrSeek;
    }
    return 0;
}

// ---- TRotateTeren ----

int TRotateTeren::Place() {
    double lat = Latitude, lon = Longitude;
    if (!std::isfinite(lat) || !std::isfinite(lon) || std::fabs(lat) > 1000 || std::fabs(lon) > 1000)
        return TerrainErrFormat;
    const int idx = LatIndex(lat);
    const int32_t W = Clamp32(int64_t(RangeEW / (4.0 * TerrainEWQuarter[idx])), 0, 4 * TileSamples);
    const int32_t H = Clamp32(int64_t(RangeNS / (4.0 * double(TerrainNSQuarter))), 0, 4 * TileSamples);
    lat += H / 300.0;
    lon -= W / 300.0 / 2;

    // The window's corners and the aircraft (x in hundredths) turned about
    // the aircraft, which sits at the middle of the window's southern edge.
    const double a = TerrainAspect[idx] / 10000.0;
    const double cs = std::cos(double(Heading)), sn = std::sin(double(Heading));
    double x[5] = {0, W * a, W * a, 0, W * a * 100 / 2}, y[5] = {0, 0, double(H), double(H), 0};
    for (int i = 0; i < 5; ++i) {
        const double shift = i < 4 ? W * a / 2 : W * a * 100 / 2;
        const double px = x[i] - shift, py = y[i];
        x[i] = (cs * px - sn * py + shift) / a;
        y[i] = sn * px + cs * py;
    }
    int32_t minX = int32_t(x[0]), maxX = minX, minY = int32_t(y[0]), maxY = minY;
    for (int i = 1; i < 4; ++i) {
        minX = std::min(minX, int32_t(x[i]));
        maxX = std::max(maxX, int32_t(x[i]));
        minY = std::min(minY, int32_t(y[i]));
        maxY = std::max(maxY, int32_t(y[i]));
    }
    maxY += 20;
    minX -= minX % 12;
    minY -= 14;
    minY -= minY % 12;
    maxX = maxX - maxX % 12 + 12;
    maxY = maxY - maxY % 12 + 12;
    Width = maxX - minX;
    Height = maxY - minY;
    lat += double(maxY - H) / 300;
    lon += double(minX) / 300;
    PosX = int32_t(x[4]) - minX * 100;
    PosY = int32_t(y[4]) - minY * 100;

    // The first tile holds the window's north-west corner; columns and rows
    // come from the same cell as the name (a corner on a parallel belongs to
    // the tile south of it), so the window stays on the named tile.
    lon -= 360 * std::floor((lon + 180) / 360);
    const int cellLat = int(std::ceil(lat)) - 1, cellLon = int(std::floor(lon));
    const int32_t rowH = std::min<int32_t>(int32_t((cellLat + 1 - lat) * 30000), 29999);
    const int32_t colH = std::min<int32_t>(int32_t((lon - cellLon) * 30000), 29999);
    Latitude = float(lat);
    Longitude = float(lon);
    const int r = TerrainTileName(FirstTile, sizeof FirstTile, MapDir, cellLat, cellLon);
    if (r) return r;
    std::snprintf(TilePath, sizeof TilePath, "%s", FirstTile);
    ReqCol = 12 * (colH / 1200);
    ReqRow = 12 * (rowH / 1200);
    ReqWidth = Width;
    ReqHeight = Height;
    PosX += colH % 1200;
    PosY -= rowH % 1200;
    // Snapping the first column moved the window west; an aircraft at its
    // eastern edge (flying west) would drop off it, so the window grows.
    if (PosX / 100 >= Width - 1) {
        Width += 12;
        ReqWidth = Width;
    }
    Loader.Aspect = TerrainAspect[std::min(2 * std::abs(cellLat) + (ReqRow > 150 ? 1 : 0), TerrainLatSteps - 1)];
    return 0;
}

int TRotateTeren::Update() {
    const int r = Place();
    if (r) return r;
    return Loader.Load(ReqCol, ReqRow, ReqWidth, ReqHeight, FirstTile);
}

// ---- TSceneryTeren ----

int32_t TerrainMeshScale(int32_t altitude) {
    const int64_t a = altitude;
    int64_t s = a * 100000 / 1300;
    if (a > 1800) s = a * 100000 / 1800 + 38461;
    if (a > 2800) s = a * 100000 / 3500 + 114017;
    return Clamp32(s, 100000, 400000);
}

int32_t TerrainMeshStep(int32_t meshScale) { return (meshScale + 50000) / 100000; }

int32_t TerrainVerticalFactor(int32_t altitude) {
    int64_t f = 18000 - int64_t(altitude);
    if (altitude > 4000) f = 33000000 / altitude + 5750;
    return Clamp32(f, 7750, 30000);
}

float TerrainZScale(int32_t factor, int32_t step, int32_t meshScale) {
    if (step <= 0 || meshScale <= 0) return 0;
    return float(int64_t(factor) * 100000 / step / meshScale) * 2.5e-7f;
}

int TSceneryTeren::Update(const TTerrainInput& input) {
    Input = input;
    MeshScale = TerrainMeshScale(input.Altitude);
    const int32_t step = TerrainMeshStep(MeshScale);
    Rotate.RangeEW = Clamp32(int64_t(step) * input.RangeEW, 0, 400000);
    Rotate.RangeNS = Clamp32(int64_t(step) * input.RangeNS, 0, 400000);
    Rotate.Heading = float(-double(input.Heading) * TerrainPi / 1800);
    Rotate.Latitude = input.Latitude;
    Rotate.Longitude = input.Longitude;
    const int r = Rotate.Update();
    if (r) return r;
    Window = {Rotate.Latitude, Rotate.Longitude, Rotate.RangeEW, Rotate.RangeNS, Rotate.Heading, Rotate.Width,
              Rotate.Height};
    Input.Width = Rotate.Width;
    Input.Height = Rotate.Height;

    // Highest sample within about ten samples of the aircraft.
    const TLoadTeren& l = Rotate.Loader;
    const int32_t px = Rotate.PosX / 100, py = Rotate.PosY / 100;
    auto span = [](int32_t pos, int32_t size, int32_t* lo, int32_t* hi) {
        *lo = std::max(pos - 10, 0);
        *hi = std::min(pos + 10, size) - 1;
        if (*hi <= *lo) *hi = *lo + 5;
        *hi = std::min(*hi, size);
    };
    int32_t c0, c1, r0, r1;
    span(px, l.Stride, &c0, &c1);
    span(py, l.BufHeight, &r0, &r1);
    Highest = -10000;
    for (int32_t row = r0; row < r1; ++row)
        for (int32_t col = c0; col < c1; ++col) Highest = std::max<int32_t>(Highest, l.Sample(col, row));
    return 0;
}

void TerrainColor(int32_t e, int32_t altitude, int32_t localMax, uint8_t rgb[3]) {
    static const uint8_t band[5][3] = {{23, 50, 14}, {31, 67, 18}, {46, 101, 27}, {66, 143, 39}, {107, 206, 74}};
    static const uint8_t amber[2][3] = {{234, 157, 15}, {243, 211, 33}};
    static const uint8_t red[2][3] = {{156, 1, 1}, {255, 0, 0}};
    const int64_t top = std::max<int64_t>(int64_t(localMax) * 10 + 200, 2000), q = top / 4;
    int k = e >= 3 * q ? 4 : e >= 2 * q ? 3 : e >= q ? 2 : 1;  // band [k-1, k]
    const int64_t upper = k == 4 ? top : k * q;
    int64_t w = (upper - e) * 1000 / q;
    if (w == 0) w = 1;
    const uint8_t* base = band[k];
    const uint8_t* other = band[k - 1];
    const int64_t clearance = int64_t(altitude) - e;
    if (clearance < 0) {
        base = red[0];
        other = red[1];
    } else if (clearance < 100) {
        base = amber[0];
        other = amber[1];
    }
    for (int i = 0; i < 3; ++i) rgb[i] = uint8_t(Clamp32(base[i] + w * (other[i] - base[i]) / 1000, 0, 255));
}
