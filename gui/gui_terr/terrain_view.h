// The terrain scene of the GL view: one global scenery, the hooks through
// which the GL view initialises, updates and draws it, and the drawing.
#pragma once

#include <cstdint>

#include "glview.h"
#include "terrain.h"

extern TSceneryTeren TerrainScene;
// Set when the last update loaded the terrain; the mesh is drawn only then.
extern uint8_t TerrainSceneLoaded;

// Map directory of the tiles ("map" by default); 0, or -1 for a name longer
// than 255 characters (the previous one is kept).
int SetTerrainMapDir(const char* dir);

// Scene initialisation: map directory "map", ranges 11,000 x 11,000, position
// 0/0, the camera's altitude, heading and pitch.
void TerrainSceneInit(const TGLCamera& camera);
// 0 when the window around the aircraft was loaded, else the load's error.
int TerrainSceneUpdate(const TGLTerrainInput& input);
// Under the terrain projection: the horizon background turned by the roll,
// then, unless terrainOff or the last update failed, the mesh. covered: no
// colour was cleared, as TerrainHorizonCovers found.
void TerrainSceneDraw(const TGLCamera& camera, bool terrainOff, bool covered);
// Sky and ground at the horizon for a pitch in tenths (-900..900); with
// groundByClear the ground is laid by a colour clear under the sky.
void DrawTerrainHorizon(int32_t pitch, bool terrainOff, bool groundByClear);
// True when the horizon's sky and ground cover the whole full-width view.
bool TerrainHorizonCovers(const TGLCamera& camera);

// Fills the GL view's terrain hooks with the four above.
void InstallTerrainHooks(TGLTerrainHooks& hooks);
