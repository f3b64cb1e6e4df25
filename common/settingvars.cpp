#include "settingvars.h"

#include <climits>

// Zero until the configuration manager loads them; the defaults live in the default table.
TUnitsSetting UnitsSetting;
TAirspeedLimits AirspeedLimits;
TDemoSetting DemoSetting;
TLanguageSetting LanguageSetting;
TAircraftIdSetting AircraftIdSetting;
TSupplyNameSetting SupplyNameSetting[6];
TLimitA LimitRpm, LimitRotorRpm, LimitMap, LimitOilPress, LimitOilTemp, LimitWaterCht, LimitWaterAux;
TLimitB LimitFuelFlow, LimitFuelPress, LimitEgt, LimitCht, LimitTankLeft, LimitTankRight;
TLimitRecord SupplyLimit[6];
TDevicePort DevicePort[DevicePortCount];
TCompassSetting CompassSetting;
TEngineGaugeConfig EngineGaugeConfig;
TTankSetting TankSetting[2];
TFuelFlowSetting FuelFlowSetting;
TRpmSensorSetting RpmSensorSetting[2];
TMiscSetting MiscSetting[MiscSettingCount];
TDataSharingSetting DataSharingSetting[2];
TAutopilotSetting AutopilotSetting;
TServoSetting ServoSetting[2];
TVfrCodeSetting VfrCodeSetting;
TPasswordSetting PasswordSetting;
TFreqStepSetting FreqStepSetting;
TFreqMemorySetting FreqMemorySetting[10];
TGyroSetting GyroSetting;

// Statistics start cleared, so that the first value seen becomes both extremes.
#define CLEARED {INT_MIN, INT_MAX}
TFlightStatistics FlightStatistics = {CLEARED, CLEARED, CLEARED, CLEARED};
TEngineStatistics EngineStatistics = {CLEARED, CLEARED, CLEARED, CLEARED, CLEARED, CLEARED, CLEARED, CLEARED, CLEARED,
                                      {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
                                      {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN}};
#undef CLEARED

TQnhSetting QnhSetting;
TViewSetting ViewSetting;
TBrightnessSetting BrightnessSetting;
TDisplaySetting DisplaySetting;
TAutopilotRuntime AutopilotRuntime;
TCommRuntime CommRuntime;
TXpdrRuntime XpdrRuntime;
TChecklistHeader ChecklistHeader;
char ChecklistTable[ChecklistCount][ChecklistLines][ChecklistLineSize];
TCalibSetting CalibSetting;
TApCommand2 ApCommand2[2];
TApCommand3 ApCommand3[2];
TApCommand4 ApCommand4[2];
TApCommand5 ApCommand5;
TServoProcess ServoProcess;
TGyroProcess GyroProcess;

// What the device links report when no unit has answered: an EFIS + EMS unit, which shows
// the flight and the engine pages.
TDeviceInfo DeviceInfo = {DeviceEfisEms, 1, 0, {}};
TDeviceInfoExt DeviceInfoExt;
