// Connects the flight page's frame to the heading and navigation layers, the GL
// view and the terrain.
#pragma once

void ConnectFlightPage();
