// Gauge descriptors from the settings: the round-dial configuration templates, the
// thermocouple, fuel and supply bars and boxes, and the title and unit texts, all
// converted from the settings' fixed units into the selected display units.
#pragma once

#include <cstdint>

#include "displayitems.h"
#include "gui_terr/dialconfig.h"

// One row of a dial scale table.
struct TDialScale {
    int32_t minimum, maximum, minorPerMajor, minorStep, labelDivisor;
};
// One row of a bar scale table: the top and divisions in two units.
struct TBarScale {
    int32_t topA, divisionsA, topB, divisionsB;
};

constexpr int RpmScaleRows = 10, RotorScaleRows = 12, ManifoldScaleRows = 4, OilPressScaleRows = 6,
              TempScaleRows = 8, TankScaleRows = 17, FuelPressScaleRows = 12;
extern const TDialScale RpmScale[RpmScaleRows];
extern const TDialScale RotorRpmScale[RotorScaleRows];
extern const TDialScale ManifoldScale[ManifoldScaleRows][3];   // inHg hundredths, hPa, mmHg
extern const TDialScale OilPressScale[OilPressScaleRows][2];   // bar or kp/cm2 tenths, psi
extern const TDialScale TempScale[TempScaleRows][2];           // Celsius, Fahrenheit
extern const TBarScale TankScale[TankScaleRows];              // gallons, litres
extern const TBarScale FuelPressScale[FuelPressScaleRows];    // bar, psi

// The first row whose top is at least the value, else the last row.
int SelectScaleRow(const int32_t* tops, int stride, int rows, int32_t value);

extern TInstrumentConfig EngineDialConfig[DialCount];
// Hands a finished configuration to its dial (TInstrument::SetConfig); installed by the GL view.
extern void (*InstrumentSetConfig)(int dial, const TInstrumentConfig* config);

// Thermocouple bars and their boxes: even rows EGT, odd rows CHT.
extern TBarItem ThermoBarsPage[12], ThermoBarsStrip[8], ThermoBarsCombined[4];
extern TDisplayItem ThermoItemsPage[12], ThermoItemsStrip[8], ThermoItemsCombined[4];
// Fuel tank bars (0 left or total, 1 right), the fuel pressure bar and the fuel flow bar
// (tenths of the flow unit; its alarm is the high limit), with their divisions.
extern TBarItem TankBar[2], FuelPressBar, FuelFlowBar;
extern int32_t TankDivisions, FuelPressDivisions;
// How the printed pressure scales write their numbers in the selected unit (the
// GL scale's format flags), so that they read as the bars' values do.
extern int32_t FuelPressScaleFlags, OilPressScaleFlags;
extern int32_t TankLowLimit[2];       // tenths of the fuel unit
extern int32_t FuelPressLimits[4];    // low alarm, low warning, high warning, high alarm, pressure unit
// Volt and amp boxes: 0..2 echVolt1..3, 3..5 echCurr1..3.
extern TDisplayItem SupplyItems[6];
extern uint8_t SupplyItemOn[6];
extern char SupplyNames[6][16];

struct TUnitTexts {
    char airspeed[8], tasLabel[16], altitude[8];
    char oat[16], iat[16], auxt[16];
    char fuel[8], fuelFlow[8], fuelCaps[8];
    char baro[8], enginePress[12], distance[4];
    char oilTempDial[4], manifold[8], manifoldDial[8];
};
extern TUnitTexts UnitTexts;

// Renders the two engine backgrounds again; the GL view installs the painter
// (flags; 0 when the bitmap was taken from MainWindow).
extern int (*RebuildBackground)(int flags);
void RebuildBackgroundBitmaps();
// The settings changed: the backgrounds are rendered again when a page next needs
// them (EnsureBackgroundBitmaps), not before.
void InvalidateBackgroundBitmaps();
bool BackgroundBitmapsStale();

void ApplyDialScale(int dial, TInstrumentConfig* config, const TDialScale& row);
void ScaleRpm();
void ScaleRotorRpm();
void ScaleManifold();
void ScaleOilPress();
void ScaleOilTemp();
void ScaleWaterCht();
void ScaleTankBar();
void ScaleFuelPressBar();
void ScaleFuelFlowBar();
// Which dials the layout shows, from runtime flag bit 0.
void CoverEngineDials();
void InitialSetting();
// The flight page's optional boxes and heading tape from the installed probes (part of InitialSetting).
void SetFlightSwitches();
