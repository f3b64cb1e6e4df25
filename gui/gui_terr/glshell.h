// What the GL view takes from the shell and hands back to it: one record of
// pointers, which the shell fills with its own globals (so the view builds
// below the shell and never reaches up into it). Every pointer is set.
#pragma once

#include <cstdint>
#include <memory>

#include "dialconfig.h"

class FGBitmap;
class FGDrawBuffer;

// The GL layer's part of the engine page: clearing its view, one needle per
// dial slot and the merge into the main window. Null entries are skipped (the
// 2-D page then shows the values without GL needles).
struct TEngineGLHooks {
    void (*clear)();
    int (*needle)(int dial, int32_t value);
    void (*flush)();
};

struct TGLShellLinks {
    FGDrawBuffer* const* window;        // the main window (itself null before it exists)
    std::unique_ptr<FGBitmap>* engineBackground;  // the engine page's rendered background
    std::unique_ptr<FGBitmap>* stripBackground;   // the engine strip's
    const uint8_t* setupMode;           // non-zero while the setup pages are up
    TInstrumentConfig* dialConfig;      // the DialCount dial templates
    // Unit texts of the engine blocks: fuel quantity, engine pressures, fuel
    // flow, the oil-temperature dial.
    const char* fuelUnit;
    const char* pressUnit;
    const char* flowUnit;
    const char* tempUnit;
    // Fuel blocks: tank tops and reserves (0 left or total, 1 right), the fuel
    // pressure bar's top, its four limits (low alarm, low warning, high
    // warning, high alarm) and divisions; all in the display units.
    const int32_t* tankTop[2];
    const int32_t* tankReserve;
    const int32_t* fuelPressTop;
    const int32_t* fuelPressLimits;
    const int32_t* fuelPressDivisions;
    // The fuel flow bar's top and high limit (tenths of the flow unit), and how the
    // fuel and oil pressure scales write their numbers (scale format flags).
    const int32_t* fuelFlowTop;
    const int32_t* fuelFlowHigh;
    const int32_t* fuelPressFlags;
    const int32_t* oilPressFlags;
    // Supply boxes in use (0..2 volts, 3..5 amps) and their names.
    const uint8_t* supplyOn;
    const char (*supplyNames)[16];
    // Slots the view installs its painters into.
    TEngineGLHooks* engineHooks;
    void (**instrumentSetConfig)(int dial, const TInstrumentConfig* config);
    int (**rebuildBackground)(int flags);
};
extern TGLShellLinks GLShellLinks;
