// The shell's globals the GL view draws with, handed down through its links.
#include "enginepage.h"
#include "gui_terr/glshell.h"
#include "initialsetting.h"
#include "shellstate.h"

TGLShellLinks GLShellLinks = {
    &MainWindow,          &EngineBackground,   &StripBackground,  &SetupModeActive,
    EngineDialConfig,     UnitTexts.fuelCaps,  UnitTexts.enginePress,
    UnitTexts.fuelFlow,   UnitTexts.oilTempDial,
    {&TankBar[0].max, &TankBar[1].max}, TankLowLimit, &FuelPressBar.max, FuelPressLimits, &FuelPressDivisions,
    &FuelFlowBar.max,     &FuelFlowBar.alarm,  &FuelPressScaleFlags, &OilPressScaleFlags,
    SupplyItemOn,         SupplyNames,
    &EngineGLHooks,       &InstrumentSetConfig, &RebuildBackground,
};
