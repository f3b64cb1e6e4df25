// Terrain behind the attitude indicator: tiles of elevations (one per 1 x 1
// degree cell), the window of samples around the aircraft turned by the
// heading, and the scene's choice of range and mesh step by altitude.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "terrain_tile.h"

// East-west quarter spacing in metres of 12 arc-seconds at 0, 0.5, ... 60
// degrees, then the north-south quarter (index 121).
constexpr int TerrainLatSteps = 121;
extern const float TerrainEWQuarter[TerrainLatSteps + 1];
// East-west over north-south spacing x 10,000 at the same latitudes.
extern const int32_t TerrainAspect[TerrainLatSteps];
constexpr float TerrainNSQuarter = 92.611f;
constexpr size_t TerrainNameSize = 256;

// Tile reader, loader and placement codes.
constexpr int TerrainErrOpen = -1;      // tile missing (reader), or a bad request (loader)
constexpr int TerrainErrSeek = -2;      // elevations not where the header says
constexpr int TerrainErrShort = -3;     // short read (or out of memory in the loader)
constexpr int TerrainErrFormat = -4;    // header refused, or no tile can exist there
constexpr int TerrainErrNeighbour = -5; // the neighbour's name cannot be made

// "<dir>/Nt x/NddEddd.hkm" for the cell whose south-west corner is (lat, lon)
// in whole degrees; -4 for a cell outside the globe or a name too long.
int TerrainTileName(char* out, size_t size, const char* mapDir, int cellLat, int cellLon);
// Turn a tile's name into its east or south neighbour's, in place; -5 when the
// name is not a tile name or the neighbour would lie beyond a pole.
int TerrainEastTile(char* name);
int TerrainSouthTile(char* name);

class TLoadTeren {
public:
    std::vector<int16_t> Buffer;          // Stride x BufHeight samples, row 0 = southern edge
    int32_t FirstCol = 0, FirstRow = 0;   // within the first tile, rows from its northern edge
    int32_t Width = 0, Height = 0;        // of the request, in samples
    char FileName[TerrainNameSize] = {};  // the first (north-west) tile
    int32_t Stride = 0, BufHeight = 0;
    int32_t PosCol = 0, PosRow = 0;       // where the current tile's part lands (row from the top)
    int32_t Aspect = 10000;

    // 0, -1 bad request, -3 out of memory, or the first tile's failure; the
    // buffer is emptied on failure.
    int Load(int32_t firstCol, int32_t firstRow, int32_t width, int32_t height, const char* fileName);
    int LoadFiles();
    // Reads rows row.. and columns col.. (width x height) of one tile into
    // the buffer at (PosCol, PosRow); 0 or a reader code (the file is closed).
    int ReadTile(const char* name, int32_t col, int32_t row, int32_t width, int32_t height);
    // The same from an open tile (name only for the messages); never reads
    // the elevations unless the whole array lies inside the file. Why a tile is
    // refused goes to *why when given, else to the console.
    int ReadTileFile(FILE* f, const char* name, int32_t col, int32_t row, int32_t width, int32_t height,
                     std::string* why = nullptr);
    // Sample at (column, row from the south) of the loaded window.
    int16_t Sample(int32_t col, int32_t row) const { return Buffer[size_t(row) * size_t(Stride) + size_t(col)]; }
};

class TRotateTeren {
public:
    char TilePath[TerrainNameSize] = {};
    char MapDir[TerrainNameSize] = "map";
    float Latitude = 0, Longitude = 0;    // degrees; after placement the window's north-west corner
    int32_t RangeEW = 11000, RangeNS = 11000;  // metres
    float Heading = 0;                    // radians, negated
    int32_t Width = 0, Height = 0;        // window, samples
    TLoadTeren Loader;
    int32_t ReqCol = 0, ReqRow = 0, ReqWidth = 0, ReqHeight = 0;
    char FirstTile[TerrainNameSize] = {};
    int32_t PosX = 0, PosY = 0;           // aircraft, hundredths of a sample from the west and south edges

    // Places the window around the aircraft at (Latitude, Longitude); 0 or -4
    // when no tile name can be made for it.
    int Place();
    // Place, then load the window's samples.
    int Update();
};

struct TTerrainWindow {
    float Latitude, Longitude;
    int32_t RangeEW, RangeNS;
    float Heading;
    int32_t Width, Height;
};

struct TTerrainInput {
    float Latitude, Longitude;            // degrees
    int32_t RangeEW, RangeNS;             // metres
    int32_t Heading, Altitude, Pitch;     // tenths of a degree, metres, tenths
    int32_t Width, Height;                // loaded window
};

class TSceneryTeren {
public:
    TRotateTeren Rotate;
    TTerrainWindow Window = {};
    TTerrainInput Input = {};
    int32_t VScale = 30000;
    int32_t MeshScale = 100000;           // in 1/100,000
    int32_t Highest = 0;                  // highest elevation near the aircraft

    // 0 or the load's error.
    int Update(const TTerrainInput& input);
};

// Mesh scale (1/100,000) for an altitude, 100,000..400,000.
int32_t TerrainMeshScale(int32_t altitude);
// Samples per mesh cell, 1..4.
int32_t TerrainMeshStep(int32_t meshScale);
// Vertical scale factor, 7750..30,000.
int32_t TerrainVerticalFactor(int32_t altitude);
float TerrainZScale(int32_t factor, int32_t step, int32_t meshScale);
// Colour of elevation e seen from altitude A with the local maximum M (in
// tens of metres): bands by height, amber within 100 m below A, red above.
void TerrainColor(int32_t e, int32_t altitude, int32_t localMax, uint8_t rgb[3]);
