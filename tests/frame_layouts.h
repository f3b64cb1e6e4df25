// The layouts and the fixed flight that the frame tests draw.
#pragma once

namespace frame_layouts {

struct TLayoutCase {
    const char* name;
    int screen;
    bool terrain;
    bool reuses;  // the held frames reuse the GL picture (the engine page has none)
};

inline const TLayoutCase Cases[] = {
    {"engine page", 1, false, false},
    {"flight page, terrain off", 2, false, true},
    {"flight page, terrain on", 2, true, false},
    {"flight view and engine strip, terrain off", 3, false, true},
    {"flight view and engine strip, terrain on", 3, true, false},
    {"flight view and NAV strip", 4, false, true},
    {"flight view and GPS strip", 5, false, true},
    {"engine page after the flight views", 1, false, false},
    {"flight page after the engine page", 2, false, true},
};

// Frames per layout: the aircraft moves for the first half and holds still
// (the same values, as while taxiing) for the second, long enough for the
// averages to settle.
inline constexpr int Moving = 6;
inline constexpr int Frames = 24;

}  // namespace frame_layouts
