// Terrain tiles byte for byte, the window across tiles and hemispheres, range
// and colour by altitude, and terrain frames rendered off screen and probed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "gui_terr/terrain_view.h"
#include "hkutils.h"
#include "terrain_support.h"
#include "trace_capture.h"

// Mesa's off-screen driver keeps a few hundred bytes of every context it made
// after the context is destroyed; they are its own, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }

namespace {

using terrain_test::GLFrame;
using terrain_test::MapDir;

int Mod(int v, int m) { return ((v % m) + m) % m; }
// Every sample tells where it lies: north and east modulo 100.
int16_t GridSample(int32_t north, int32_t east) { return int16_t(Mod(north, 100) * 100 + Mod(east, 100)); }

std::string TileName(const char* dir, int lat, int lon) {
    char name[TerrainNameSize];
    EXPECT_EQ(0, TerrainTileName(name, sizeof name, dir, lat, lon));
    return name;
}

// ---- names ----

TEST(TerrainTileName, HemispheresAndTensDirectory) {
    EXPECT_EQ("map/N5x/N50E014.hkm", TileName("map", 50, 14));
    EXPECT_EQ("map/S0x/S01W001.hkm", TileName("map", -1, -1));
    EXPECT_EQ("m/S3x/S34E151.hkm", TileName("m", -34, 151));
    EXPECT_EQ("m/N0x/N00W180.hkm", TileName("m", 0, -180));
    char name[TerrainNameSize];
    EXPECT_EQ(TerrainErrFormat, TerrainTileName(name, sizeof name, "m", 90, 0));
    EXPECT_EQ(TerrainErrFormat, TerrainTileName(name, sizeof name, "m", 0, 180));
    EXPECT_EQ(TerrainErrFormat, TerrainTileName(name, 12, "map", 50, 14));  // does not fit
}

TEST(TerrainTileName, Neighbours) {
    struct Case {
        const char *from, *east, *south;
    } cases[] = {
        {"map/N5x/N50E014.hkm", "map/N5x/N50E015.hkm", "map/N4x/N49E014.hkm"},
        {"map/N0x/N00W001.hkm", "map/N0x/N00E000.hkm", "map/S0x/S01W001.hkm"},
        {"map/S1x/S10W010.hkm", "map/S1x/S10W009.hkm", "map/S1x/S11W010.hkm"},
        {"map/N1x/N10E179.hkm", "map/N1x/N10W180.hkm", "map/N0x/N09E179.hkm"},
    };
    for (const Case& c : cases) {
        char east[TerrainNameSize], south[TerrainNameSize];
        std::snprintf(east, sizeof east, "%s", c.from);
        std::snprintf(south, sizeof south, "%s", c.from);
        EXPECT_EQ(0, TerrainEastTile(east));
        EXPECT_EQ(0, TerrainSouthTile(south));
        EXPECT_STREQ(c.east, east);
        EXPECT_STREQ(c.south, south);
    }
    char pole[] = "map/S9x/S90E010.hkm", bad[] = "map/x.hkm", noDot[] = "map/N5x/N50E014";
    EXPECT_EQ(TerrainErrNeighbour, TerrainSouthTile(pole));
    EXPECT_EQ(TerrainErrNeighbour, TerrainEastTile(bad));
    EXPECT_EQ(TerrainErrNeighbour, TerrainSouthTile(noDot));
}

// ---- tiles ----

TEST(TerrainTiles, GeneratedTilesLoad) {
    const std::string map = std::string(RUN_DIR) + "/map";
    for (int lat = 49; lat <= 51; ++lat)
        for (int lon = 13; lon <= 15; ++lon) {
            TLoadTeren l;
            ASSERT_EQ(0, l.Load(0, 0, 300, 300, TileName(map.c_str(), lat, lon).c_str())) << lat << " " << lon;
            for (int16_t e : l.Buffer) {
                ASSERT_GE(e, 0);
                ASSERT_LT(e, 2000);
            }
        }
    // The field (50.08 N 14.26 E: row 276, column 78) sits on its 380 m flat,
    // and the northern cells end in the sea.
    TLoadTeren l;
    ASSERT_EQ(0, l.Load(78, 276, 1, 1, TileName(map.c_str(), 50, 14).c_str()));
    EXPECT_EQ(380, l.Sample(0, 0));
    ASSERT_EQ(0, l.Load(0, 0, 300, 1, TileName(map.c_str(), 51, 14).c_str()));
    for (int c = 0; c < 300; ++c) EXPECT_EQ(0, l.Sample(c, 0));
}

// Four tiles, each sample its own value: a window over their corner reads
// every sample from the right tile, row and column.
TEST(TerrainTiles, FourTileWindowSamples) {
    MapDir dir;
    dir.WriteBlock(49, 50, 14, 15, GridSample);
    TLoadTeren l;
    const std::string first = dir.TilePath(50, 14);
    ASSERT_EQ(0, l.Load(250, 260, 100, 80, first.c_str()));
    ASSERT_EQ(size_t(100 * 80), l.Buffer.size());
    for (int row = 0; row < 80; ++row)
        for (int col = 0; col < 100; ++col) {
            const int fromTop = 79 - row, tileRow = 260 + fromTop, tileCol = 250 + col;
            const int cellLat = tileRow >= 300 ? 49 : 50, cellLon = tileCol >= 300 ? 15 : 14;
            const int north = (cellLat + 1) * 300 - tileRow % 300, east = cellLon * 300 + tileCol % 300;
            ASSERT_EQ(GridSample(north, east), l.Sample(col, row)) << col << "," << row;
        }
    // A window that starts on the first tile's edge takes everything from the neighbours.
    ASSERT_EQ(0, l.Load(300, 300, 12, 12, first.c_str()));
    EXPECT_EQ(GridSample(49 * 300 + 1 - 12, 15 * 300), l.Sample(0, 0));
}

class TileFault : public ::testing::Test {
protected:
    void SetUp() override {
        good = terrain_test::TileBytes(50, 14, GridSample);
        path = dir.TilePath(50, 14);
    }
    int LoadBytes(const std::vector<uint8_t>& b) {
        terrain_test::WriteBytes(path, b);
        const int r = loader.Load(0, 0, 300, 300, path.c_str());
        if (r) {
            EXPECT_TRUE(loader.Buffer.empty());
        }
        return r;
    }
    MapDir dir;
    std::string path;
    std::vector<uint8_t> good;
    TLoadTeren loader;
    TTraceCapture log;
};

TEST_F(TileFault, EveryCheckedHeaderByteIsRefused) {
    ASSERT_EQ(0, LoadBytes(good));
    for (size_t i = 0; i < TileHeaderSize; ++i)
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::vector<uint8_t> b = good;
            b[i] ^= flip;
            // Bytes 110 and 111 are not read; every other is either checked
            // or covered by the checksum.
            EXPECT_EQ(i >= 110 ? 0 : TerrainErrFormat, LoadBytes(b)) << "byte " << i << " ^ " << int(flip);
        }
    EXPECT_NE(std::string::npos, Traced.find("refused: wrong checksum"));
    EXPECT_NE(std::string::npos, Traced.find("refused: bad magic"));
    EXPECT_NE(std::string::npos, Traced.find("TLoadTeren::LoadFiles(): Err -4 (file = " + path + ")"));
}

TEST_F(TileFault, FieldsRefusedUnderAValidChecksum) {
    struct Case {
        size_t at;
        uint32_t value;
        const char* message;
    } cases[] = {
        {offsetof(THkmHeader, zero4), 1, "reserved field not zero"},
        {offsetof(THkmHeader, zero24), 7, "reserved field not zero"},
        {offsetof(THkmHeader, spacing), 3, "spacing is not 12"},
        {offsetof(THkmHeader, samplesPerRow), 299, "size is not 300 x 300"},
        {offsetof(THkmHeader, rows), 301, "size is not 300 x 300"},
        {offsetof(THkmHeader, crcLength), 113, "checksum length past the header"},
        {offsetof(THkmHeader, crcLength), 0xFFFFFFFF, "checksum length past the header"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> b = good;
        TilePutU32(&b[c.at], c.value);
        terrain_test::FixTileCrc(b);
        Traced.clear();
        EXPECT_EQ(TerrainErrFormat, LoadBytes(b)) << c.at;
        EXPECT_NE(std::string::npos, Traced.find(c.message)) << Traced;
    }
    // A shorter checksum length is the file's own business.
    std::vector<uint8_t> b = good;
    TilePutU32(&b[offsetof(THkmHeader, crcLength)], 56);
    terrain_test::FixTileCrc(b);
    EXPECT_EQ(0, LoadBytes(b));
}

TEST_F(TileFault, ShortFilesAndOffsetsPastTheEnd) {
    for (size_t n = 0; n < TileHeaderSize; ++n)
        ASSERT_EQ(TerrainErrShort, LoadBytes(std::vector<uint8_t>(good.begin(), good.begin() + n))) << n;
    EXPECT_NE(std::string::npos, Traced.find("header cut short"));
    for (size_t cut : {size_t(1), size_t(2), size_t(599), TileArrayBytes - size_t(1), size_t(TileArrayBytes)}) {
        Traced.clear();
        EXPECT_EQ(TerrainErrShort, LoadBytes(std::vector<uint8_t>(good.begin(), good.end() - cut))) << cut;
        EXPECT_NE(std::string::npos, Traced.find("elevation array cut short")) << Traced;
    }
    for (uint32_t offset : {uint32_t(good.size()) + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::vector<uint8_t> b = good;
        TilePutU32(&b[offsetof(THkmHeader, arrayOffset)], offset);
        terrain_test::FixTileCrc(b);
        Traced.clear();
        EXPECT_EQ(TerrainErrSeek, LoadBytes(b)) << offset;
        EXPECT_NE(std::string::npos, Traced.find("past the end")) << Traced;
    }
    // An array further on, with the header's room between, is read from there.
    std::vector<uint8_t> b = good;
    b.insert(b.begin() + TileHeaderSize, 40, 0xEE);
    TilePutU32(&b[offsetof(THkmHeader, arrayOffset)], TileHeaderSize + 40);
    terrain_test::FixTileCrc(b);
    ASSERT_EQ(0, LoadBytes(b));
    EXPECT_EQ(GridSample(51 * 300, 14 * 300), loader.Sample(0, 299));
}

// The window is reloaded at every refresh: a refused tile is said once, again only
// when its file changes or after it loaded.
TEST_F(TileFault, ARefusedTileIsSaidOnceUntilItChanges) {
    auto lines = [](const std::string& what) {
        size_t n = 0;
        for (size_t at = Traced.find(what); at != std::string::npos; at = Traced.find(what, at + 1)) ++n;
        return n;
    };
    auto reload = [&](int times, int code) {
        for (int i = 0; i < times; ++i) EXPECT_EQ(code, loader.Load(0, 0, 300, 300, path.c_str()));
    };
    const std::string err = "Err -4 (file = " + path + ")";
    std::vector<uint8_t> b = good;
    b[0] ^= 1;
    ASSERT_EQ(TerrainErrFormat, LoadBytes(b));
    reload(50, TerrainErrFormat);
    EXPECT_EQ(1u, lines("refused: bad magic"));
    EXPECT_EQ(1u, lines(err));
    b = good;
    b[100] ^= 1;  // another fault in the same tile
    ASSERT_EQ(TerrainErrFormat, LoadBytes(b));
    reload(50, TerrainErrFormat);
    EXPECT_EQ(1u, lines("refused: wrong checksum"));
    EXPECT_EQ(2u, lines(err));
    ASSERT_EQ(0, LoadBytes(good));  // mended, then damaged the same way again
    b[0] = good[0];
    ASSERT_EQ(TerrainErrFormat, LoadBytes(b));
    reload(50, TerrainErrFormat);
    EXPECT_EQ(2u, lines("refused: wrong checksum"));
    // A FIFO in its place is refused at once, once.
    ASSERT_EQ(0, unlink(path.c_str()));
    ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
    reload(50, TerrainErrOpen);
    EXPECT_EQ(1u, lines("refused: a FIFO, not a regular file"));
    EXPECT_EQ(1u, lines("Err -1 (file = " + path + ")"));
}

TEST_F(TileFault, MissingTilesAndBadRequests) {
    TLoadTeren l;
    EXPECT_EQ(TerrainErrOpen, l.Load(0, 0, 10, 10, path.c_str()));
    EXPECT_NE(std::string::npos, Traced.find("TLoadTeren::LoadFiles(): Err -1 (file = " + path + ")"));
    terrain_test::WriteBytes(path, good);
    // The east neighbour is missing.
    Traced.clear();
    EXPECT_EQ(TerrainErrOpen, l.Load(295, 0, 10, 10, path.c_str()));
    EXPECT_NE(std::string::npos, Traced.find("N50E015.hkm"));
    EXPECT_TRUE(l.Buffer.empty());
    for (auto req : std::vector<std::vector<int32_t>>{
             {0, 0, 0, 10}, {0, 0, 10, -1}, {-1, 0, 10, 10}, {0, 301, 10, 10}, {301, 0, 1, 1}, {0, 0, 301, 10}}) {
        EXPECT_EQ(TerrainErrOpen, l.Load(req[0], req[1], req[2], req[3], path.c_str()));
        EXPECT_TRUE(l.Buffer.empty());
    }
    EXPECT_EQ(0, l.Load(0, 0, 300, 300, path.c_str()));
}

// ---- the window around the aircraft ----

// Loads the window at (lat, lon) and checks that the sample under the
// aircraft is the one at its position (within a sample).
void ExpectAircraftSample(TSceneryTeren& s, double lat, double lon, int32_t heading, int32_t altitude = 500) {
    TTerrainInput in = {float(lat), float(lon), 11000, 11000, heading, altitude, 0, 0, 0};
    ASSERT_EQ(0, s.Update(in)) << lat << " " << lon << " hdg " << heading;
    const TRotateTeren& r = s.Rotate;
    ASSERT_LE(r.Width, 300);
    ASSERT_LE(r.Height, 300);
    const int32_t col = r.PosX / 100, row = r.PosY / 100;
    ASSERT_GE(col, 0);
    ASSERT_LT(col, r.Width);
    ASSERT_GE(row, 0);
    ASSERT_LT(row, r.Height);
    const int e = r.Loader.Sample(col, row);
    // The window's top row lies on its northern edge, which puts the
    // aircraft's row one sample north of its position.
    const double north = double(float(lat)) * 300 + 1, east = double(float(lon)) * 300;
    auto near = [](int got, double want) {
        const int d = Mod(got - int(std::floor(want)), 100);
        return d <= 1 || d >= 99;
    };
    EXPECT_TRUE(near(e / 100, north)) << "north " << e / 100 << " want " << Mod(int(std::floor(north)), 100) << " at "
                                      << lat << "," << lon << " hdg " << heading;
    EXPECT_TRUE(near(e % 100, east)) << "east " << e % 100 << " want " << Mod(int(std::floor(east)), 100) << " at "
                                     << lat << "," << lon << " hdg " << heading;
}

TEST(TerrainWindow, AircraftSampleAcrossHeadingsAndCellEdges) {
    MapDir dir;
    dir.WriteBlock(49, 50, 13, 15, GridSample);
    TSceneryTeren s;
    std::snprintf(s.Rotate.MapDir, sizeof s.Rotate.MapDir, "%s", dir.Path().c_str());
    for (int32_t heading : {0, 450, 900, 1333, 1800, 2700, 3599, -900})
        for (auto pos : std::vector<std::pair<double, double>>{
                 {50.08, 14.26}, {50.0, 14.0}, {50.5, 14.999}, {49.95, 14.0}, {50.04, 14.98}})
            ExpectAircraftSample(s, pos.first, pos.second, heading);
}

TEST(TerrainWindow, EquatorPrimeMeridianAndDateLine) {
    MapDir dir;
    dir.WriteBlock(-2, 0, -2, 0, GridSample);
    dir.WriteBlock(-2, 0, 178, 181, GridSample);
    TSceneryTeren s;
    std::snprintf(s.Rotate.MapDir, sizeof s.Rotate.MapDir, "%s", dir.Path().c_str());
    for (int32_t heading : {0, 900, 2250})
        for (auto pos : std::vector<std::pair<double, double>>{
                 {0.01, 0.01}, {-0.01, -0.01}, {-0.5, 0.0}, {0.0, -0.5}, {-0.5, 179.99}, {-0.5, -179.99}})
            ExpectAircraftSample(s, pos.first, pos.second, heading);
    EXPECT_NE(nullptr, std::strstr(s.Rotate.FirstTile, "E179"));  // west of -179.99 lies E179
}

TEST(TerrainWindow, PolesAndWildPositionsFailCleanly) {
    MapDir dir;
    dir.WriteBlock(88, 89, -1, 0, GridSample);
    dir.WriteBlock(-90, -89, -1, 0, GridSample);
    TSceneryTeren s;
    std::snprintf(s.Rotate.MapDir, sizeof s.Rotate.MapDir, "%s", dir.Path().c_str());
    TTraceCapture log;
    for (auto pos : std::vector<std::pair<float, float>>{
             {89.99f, 0.0f}, {90.0f, 0.0f}, {-89.99f, 0.0f}, {-90.0f, 0.0f}, {21474.8f, -21474.8f}, {NAN, 0.0f}}) {
        TTerrainInput in = {pos.first, pos.second, 11000, 11000, 450, 300, 0, 0, 0};
        EXPECT_NE(0, s.Update(in)) << pos.first;
    }
    // Near a pole but with the window inside the tiles.
    TTerrainInput in = {89.5f, 0.5f, 11000, 11000, 450, 300, 0, 0, 0};
    EXPECT_EQ(0, s.Update(in));
    in.Latitude = -89.5f;
    EXPECT_EQ(0, s.Update(in));
}

TEST(TerrainWindow, MapDirectoryLengths) {
    TTraceCapture log;
    TerrainSceneInit(TGLCamera{300, 0, 0, 0});
    EXPECT_STREQ("map", TerrainScene.Rotate.MapDir);
    const std::string longest(255, 'd'), tooLong(256, 'd');
    EXPECT_EQ(-1, SetTerrainMapDir(tooLong.c_str()));
    EXPECT_EQ(-1, SetTerrainMapDir(nullptr));
    EXPECT_STREQ("map", TerrainScene.Rotate.MapDir);
    EXPECT_NE(std::string::npos, Traced.find("longer than 255 characters"));
    // A directory that leaves no room for the tile's name finds no tile.
    EXPECT_EQ(0, SetTerrainMapDir(longest.c_str()));
    EXPECT_EQ(TerrainErrFormat, TerrainSceneUpdate(TGLTerrainInput{50.08f, 14.26f, 0, 300, 0}));
    EXPECT_EQ(0, TerrainSceneLoaded);
    SetTerrainMapDir("map");
}

TEST(TerrainWindow, StepAndRangeGrowWithAltitude) {
    EXPECT_EQ(1, TerrainMeshStep(TerrainMeshScale(-400)));
    EXPECT_EQ(1, TerrainMeshStep(TerrainMeshScale(1300)));
    EXPECT_EQ(100000, TerrainMeshScale(1300));
    EXPECT_EQ(2, TerrainMeshStep(TerrainMeshScale(2500)));
    EXPECT_EQ(4, TerrainMeshStep(TerrainMeshScale(10000)));
    EXPECT_EQ(400000, TerrainMeshScale(INT32_MAX));
    EXPECT_EQ(30000, TerrainVerticalFactor(INT32_MIN));
    EXPECT_EQ(18000, TerrainVerticalFactor(0));
    EXPECT_EQ(7750, TerrainVerticalFactor(INT32_MAX));

    // The generated tiles around the field carry every step; the window
    // grows with it and the local maximum comes from the field's flat and the hills around it.
    TSceneryTeren s;
    std::snprintf(s.Rotate.MapDir, sizeof s.Rotate.MapDir, "%s/map", RUN_DIR);
    int32_t lastWidth = 0;
    for (int32_t alt : {400, 2500, 6000, 12000}) {
        TTerrainInput in = {50.08f, 14.26f, 11000, 11000, 2400, alt, 0, 0, 0};
        ASSERT_EQ(0, s.Update(in)) << alt;
        EXPECT_GT(s.Window.RangeEW, lastWidth);
        lastWidth = s.Window.RangeEW;
        EXPECT_GE(s.Highest, 380) << alt;
        EXPECT_LT(s.Highest, 700) << alt;
    }
    EXPECT_EQ(4 * 11000, lastWidth);
}

// ---- colours ----

TEST(TerrainColour, BandsAndClearance) {
    uint8_t c[3];
    auto rgb = [&] { return uint32_t(c[0]) << 16 | c[1] << 8 | c[2]; };
    TerrainColor(0, 5000, 0, c);  // bottom of the lowest band
    EXPECT_EQ(0x17320Eu, rgb());
    TerrainColor(2000, 5000, 0, c);  // the top (2000 m while the local maximum is low)
    EXPECT_EQ(0x6BCE4Au, rgb());
    TerrainColor(1000, 5000, 0, c);  // 2q: the third band's lower edge
    EXPECT_EQ(0x2E651Bu, rgb());
    TerrainColor(1100, 1000, 0, c);  // above the aircraft: red, weight 800
    EXPECT_EQ(0xEB0101u, rgb());
    TerrainColor(950, 1000, 0, c);  // 50 m below: amber, weight (1000 - 950) x 2
    EXPECT_EQ(234 + 100 * 9 / 1000, c[0]);
    EXPECT_EQ(157 + 100 * 54 / 1000, c[1]);
    TerrainColor(900, 1000, 0, c);  // exactly 100 m below: the height band again
    EXPECT_EQ(0x2B5F1Au, rgb());
    // Far outside the bands the channels stay bytes.
    TerrainColor(-32768, 32767, 0, c);
    TerrainColor(32767, -32768, 3276, c);
    TerrainColor(32767, INT32_MAX, -1000, c);
}

// ---- rendered frames ----

struct Rgb {
    int r, g, b;
};
Rgb Split(uint32_t p) { return {int(p >> 16), int(p >> 8 & 0xFF), int(p & 0xFF)}; }
bool IsSky(uint32_t p) {
    const Rgb c = Split(p);
    return c.b > 90 && c.b > c.r + 40 && c.b > c.g + 40;
}
bool IsAmber(uint32_t p) {
    const Rgb c = Split(p);
    return c.r > 200 && c.g > 120 && c.b < 60;
}
bool IsRed(uint32_t p) {
    const Rgb c = Split(p);
    return c.r > 130 && c.g < 20 && c.b < 20;
}
bool IsGreen(uint32_t p) {
    const Rgb c = Split(p);
    return c.g > c.r && c.g > c.b;
}
// First row from the top in column x that is not sky.
int HorizonRow(const GLFrame& f, int x) {
    for (int y = 0; y < GLFrame::H; ++y)
        if (!IsSky(f.Pixel(x, y))) return y;
    return GLFrame::H;
}

class TerrainFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame.Ok()) << "no off-screen GL context";
        InstallTerrainHooks(hooks);
        hooks.init(TGLCamera{0, 0, 0, 0});
        // Flat land at 100 m with an east-west ridge rising to 600 m some
        // 4 km north of the aircraft's position (50.5 N 14.5 E).
        dir.WriteBlock(50, 50, 14, 14, [](int32_t north, int32_t) -> int16_t {
            const int d = std::abs(north - (15150 + 11));
            return int16_t(d <= 4 ? 600 - 100 * d : 100);
        });
        ASSERT_EQ(0, SetTerrainMapDir(dir.Path().c_str()));
    }
    void TearDown() override { TerrainSceneLoaded = 0; }
    // One frame as the GL view renders it: update at the position, then draw.
    int Render(TGLCamera cam, float lat = 50.5f, float lon = 14.5f, bool terrainOff = false) {
        char name[96];
        std::snprintf(name, sizeof name, "%s_a%d_r%d_p%d_h%d%s",
                      ::testing::UnitTest::GetInstance()->current_test_info()->name(), cam.altitude, cam.roll,
                      cam.pitch, cam.heading, terrainOff ? "_off" : "");
        int r = 0;
        if (!terrainOff) r = hooks.update(TGLTerrainInput{lat, lon, cam.heading, cam.altitude, cam.pitch});
        frame.Begin();
        hooks.draw(cam, terrainOff, false);
        frame.End(name);
        return r;
    }
    int CountColumn(int x, bool (*pred)(uint32_t)) {
        int n = 0;
        for (int y = 0; y < GLFrame::H; ++y) n += pred(frame.Pixel(x, y));
        return n;
    }
    GLFrame frame;
    MapDir dir;
    TGLTerrainHooks hooks = {};
};

TEST_F(TerrainFrame, HooksAreInstalled) {
    EXPECT_EQ(&TerrainSceneInit, hooks.init);
    EXPECT_EQ(&TerrainSceneUpdate, hooks.update);
    EXPECT_EQ(&TerrainSceneDraw, hooks.draw);
}

TEST_F(TerrainFrame, LevelFlightSkyAboveGroundBelow) {
    Render({1000, 0, 0, 0}, 0, 0, true);  // terrain off: horizon only
    EXPECT_TRUE(IsSky(frame.Pixel(400, 10)));
    EXPECT_TRUE(IsSky(frame.Pixel(400, 230)));
    EXPECT_EQ(0x804000u, frame.Pixel(400, 250));
    EXPECT_EQ(0x804000u, frame.Pixel(10, 470));
    EXPECT_EQ(240, HorizonRow(frame, 400));
    EXPECT_EQ(240, HorizonRow(frame, 20));
    // Sky darkens upwards, from the horizon's blue to the top's.
    EXPECT_GT(Split(frame.Pixel(400, 235)).b, Split(frame.Pixel(400, 5)).b);

    // Terrain on but no tile there: the failed update leaves the horizon
    // with the terrain's ground colour.
    {
        TTraceCapture log;
        EXPECT_EQ(TerrainErrOpen, Render({1000, 0, 0, 0}, 10.5f, 10.5f));
    }
    EXPECT_EQ(0, TerrainSceneLoaded);
    EXPECT_EQ(0x233B15u, frame.Pixel(400, 300));
    EXPECT_TRUE(IsSky(frame.Pixel(400, 100)));

    // Over the tiles at 2000 m the ground below is the mesh in its green bands.
    ASSERT_EQ(0, Render({2000, 0, 0, 0}));
    EXPECT_EQ(1, TerrainSceneLoaded);
    EXPECT_TRUE(IsSky(frame.Pixel(400, 100)));
    EXPECT_TRUE(IsGreen(frame.Pixel(400, 470)));
    EXPECT_NE(0x233B15u, frame.Pixel(400, 470));
    EXPECT_EQ(0, CountColumn(400, IsAmber) + CountColumn(400, IsRed));
}

TEST_F(TerrainFrame, PitchMovesAndRollTiltsTheHorizon) {
    Render({1000, 0, 100, 0}, 0, 0, true);  // 10 degrees nose up
    const int up = HorizonRow(frame, 400);
    EXPECT_GT(up, 240 + 40);
    Render({1000, 0, -100, 0}, 0, 0, true);
    EXPECT_LT(HorizonRow(frame, 400), 240 - 40);

    // 20 degrees right bank: the horizon rises to the right, through the centre.
    Render({1000, 200, 0, 0}, 0, 0, true);
    const int left = HorizonRow(frame, 100), right = HorizonRow(frame, 700), mid = HorizonRow(frame, 400);
    EXPECT_NEAR(240, mid, 2);
    EXPECT_GT(left, mid + 60);
    EXPECT_LT(right, mid - 60);
    EXPECT_NEAR(std::tan(20 * 3.14159265 / 180), (left - right) / 600.0, 0.03);
    Render({1000, -200, 0, 0}, 0, 0, true);
    EXPECT_LT(HorizonRow(frame, 100), HorizonRow(frame, 700) - 120);

    // Inverted (pitch 180): the ground is above.
    Render({1000, 0, 1800, 0}, 0, 0, true);
    EXPECT_EQ(0x804000u, frame.Pixel(400, 100));
    EXPECT_TRUE(IsSky(frame.Pixel(400, 400)));
}

TEST_F(TerrainFrame, RidgeAheadInTheClearanceColour) {
    // 650 m over 100 m flat land: the 600 m ridge ahead is within 100 m below.
    ASSERT_EQ(0, Render({650, 0, 0, 0}));
    const int amber = CountColumn(400, IsAmber);
    EXPECT_GT(amber, 0);
    EXPECT_EQ(0, CountColumn(400, IsRed));
    for (int y = 0; y < GLFrame::H; ++y)
        if (IsAmber(frame.Pixel(400, y))) {
            EXPECT_GT(y, 200);  // on the ground side, near the horizon
            EXPECT_LT(y, 300);
        }
    // Lower than the ridge's top: red.
    ASSERT_EQ(0, Render({550, 0, 0, 0}));
    EXPECT_GT(CountColumn(400, IsRed), 0);
    // The same ridge behind the aircraft is not in view.
    ASSERT_EQ(0, Render({550, 0, 0, 1800}));
    EXPECT_EQ(0, CountColumn(400, IsRed) + CountColumn(400, IsAmber));
    // High above it: no clearance colour at all.
    ASSERT_EQ(0, Render({1500, 0, 0, 0}));
    EXPECT_EQ(0, CountColumn(400, IsRed) + CountColumn(400, IsAmber));
}

TEST_F(TerrainFrame, HeadingTurnsTheView) {
    // A north-south ridge some 3 km east of the aircraft.
    MapDir east;
    east.WriteBlock(50, 50, 14, 14, [](int32_t, int32_t e) -> int16_t {
        const int d = std::abs(e - (4350 + 12));
        return int16_t(d <= 3 ? 600 - 100 * d : 100);
    });
    ASSERT_EQ(0, SetTerrainMapDir(east.Path().c_str()));
    ASSERT_EQ(0, Render({550, 0, 0, 900}));
    EXPECT_GT(CountColumn(400, IsRed), 0);
    ASSERT_EQ(0, Render({550, 0, 0, 2700}));
    EXPECT_EQ(0, CountColumn(400, IsRed) + CountColumn(400, IsAmber));
    // Heading 45: the ridge runs from near on the right to far on the left,
    // so it stands taller on the right.
    ASSERT_EQ(0, Render({550, 0, 0, 450}));
    EXPECT_GT(CountColumn(700, IsRed) + CountColumn(700, IsAmber),
              2 * (CountColumn(100, IsRed) + CountColumn(100, IsAmber)));
}

}  // namespace
