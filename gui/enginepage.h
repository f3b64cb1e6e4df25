// The engine page and the engine strip: the value boxes, bars and needles drawn
// every frame over the two engine backgrounds, their zone colours, the ERR and
// CAL marks, the canopy, autopilot and gear annunciators and the instrument
// temperature box.
#pragma once

#include <cstdint>

#include "displayitems.h"
#include "gui_terr/glshell.h"
#include "initialsetting.h"

// Value boxes of the page tables (rows 0..79). The engine page uses rows 0..3, 30
// and 31 (its six dials), 4..9 (volts and amps), 10..17, 36..47 and 48..51 (the
// thermocouples of 4, 6 and 2 cylinders), 18..21 (fuel), 22..29 (times and air
// temperatures) and 78, 79 (instrument temperature).
constexpr int PageItemRows = 80;
extern TDisplayItem PageItems[PageItemRows];
enum {
    RowRpm = 0, RowOilPress = 1, RowOilTemp = 2, RowFourth = 3, RowSupply = 4,
    RowThermo4 = 10, RowTank1 = 18, RowFuelPress = 19, RowTank2 = 20, RowFuelFlow = 21,
    RowIat = 22, RowOat, RowFuelUsed, RowEndurance, RowEngineTime, RowTimer, RowClock, RowDate,
    RowAuxTemp = 30, RowWater = 31, RowThermo6 = 36, RowThermo2 = 48,
    RowInstTempLabel = 78, RowInstTemp = 79,
};

// Value boxes of the engine strip. "Narrow" and "wide" name the two strip layouts
// as the records are grouped; which of them a layout shows follows the covered
// flags of the dials and runtime flag bit 0.
enum {
    StripTank1, StripTank2, StripRpmNarrow, StripMapNarrow,
    StripRpmWide, StripOilPressWide, StripOilTempWide, StripFourthWide,
    StripBoxFuel1, StripBoxFuel2, StripBoxFuelPress, StripBoxFuelFlow,
    StripBoxOilPress, StripBoxOilTemp, StripBoxWater, StripBoxAux,
    EngineStripItemCount
};
extern TDisplayItem EngineStripItems[EngineStripItemCount];

// Bars of the page and the strip (the thermocouple bars are ThermoBarsPage,
// ThermoBarsStrip and ThermoBarsCombined for 6, 4 and 2 cylinders).
enum {
    BarTank1, BarTank2, BarFuelPress, BarFuelFlow, BarWater,
    BarNarrowTank1, BarNarrowTank2,
    BarWideFuel1, BarWideFuel2, BarWideFuelPress, BarWideFuelFlow,
    BarWideOilPress, BarWideOilTemp, BarWideAux,
    EngineBarCount
};
extern TBarItem EngineBars[EngineBarCount];
// The water gauge's box (takes row 31's value).
extern TDisplayItem WaterBarItem;

// Needles, one per dial slot (DialRpm..DialCombinedMap): the page's six have the
// 2-D needle disabled (the GL view draws theirs).
extern TDialItem EngineDials[DialCount];

// Channel error flags of the last refresh (set where a value is missing).
struct TEngineErrors {
    uint8_t rpm, rpmAux, map, oilPress, oilTemp, water, auxTemp;
    uint8_t fuelLevel[2], fuelPress, fuelFlow;
    uint8_t thermo[12];  // EGT1, CHT1, EGT2 ...
};
extern TEngineErrors EngineErrors;

// Vertical offset of the thermocouple block on the page (pixels, upwards).
extern int32_t ThermoBlockOffset;

// The GL layer's part of the page (TEngineGLHooks of gui_terr/glshell.h).
extern TEngineGLHooks EngineGLHooks;

// Positions of the records that follow the settings (cylinder count, tanks,
// installed fuel sensors) and their limits from the gauge descriptors.
void PlaceEngineItems();
// Values, texts and error flags from the refresh into the records.
void TakeEngineValues();

void PlaceInstTempItem();
void DrawInstTemp();
void DrawEngineBars();
void DrawEngineDials();
void DrawCanopyGear();
// The two marks: "  ERR  " black on red, "  CAL  " black on yellow.
void DrawErrMark(int x, int y);
void DrawCalMark(int x, int y);
