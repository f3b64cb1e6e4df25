#include "flightlinks.h"

#include "flighthsi.h"
#include "flightpage.h"
#include "gui_terr/glview.h"
#include "gui_terr/terrain_view.h"
#include "shellstate.h"

namespace {

// Whether the GL view's last terrain update found terrain (cleared when the view closes).
bool TerrainFound() { return GLView.terrainLoaded != 0; }

// Terrain under the aircraft for the tapes and the path; far below any altitude
// while no terrain is loaded, so that no terrain band shows.
int32_t TerrainElevation() { return TerrainFound() ? TerrainScene.Highest : -100000; }

// The heading layers read how the page found the heading, and the terrain.
void ShareFrameState() {
    FlightHeading.missing = FlightErrors.headingMissing;
    FlightHeading.fromTrack = FlightErrors.headingFromTrack;
    FlightNavLinks.terrainFound = TerrainFound();
    FlightNavLinks.terrainElevation = TerrainFound() ? TerrainScene.Highest : 0;
}

void DrawHsi() {
    ShareFrameState();
    DrawHsiStrip();
}

void DrawPath() {
    ShareFrameState();
    const TFlightFrame& f = FlightFrame;
    Draw3DPath(f.heading, f.roll, f.pitch, FlightErrors.altitude ? -9999 : f.altitude);
}

void DrawTape(int32_t heading) {
    ShareFrameState();
    DrawHeadingTape(heading);
}

void DrawRadio() { DrawRadioBox(ScreenType == ScreenFlight); }

}  // namespace

void ConnectFlightPage() {
    TFlightPageHooks& h = FlightPageHooks;
    h.glInput = &GLViewInput;
    h.openGLPaint = OpenGLPaint;
    h.drawHsi = DrawHsi;
    h.draw3dPath = DrawPath;
    h.drawHeadingTape = DrawTape;
    h.drawRadioBox = DrawRadio;
    h.drawMissingInputs = DrawInputWarning;
    h.terrainElevation = TerrainElevation;
}
