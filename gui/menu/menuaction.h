// The menu action dispatcher: every activated item without a sub-page arrives here.
#pragma once

#include <cstdint>

// (page id, item id); item 1 ("<---") arrives just before the menu leaves the page.
void MenuAction(int pageId, int itemId);

// Loads "checklist.dat" ("demochecklist.dat" in demo mode); false with the message
// "Checklist file is not found!" when it does not exist.
bool LoadChecklistFile();

// The serial device records of 0x4018 (sub ids 1..8) and the CAN users (sub id 9):
// the record takes the port and is stored; every other connected record on the same
// port is disconnected and stored; the layout capabilities are derived again.
void AssignComPort(int port, int subId);
void AssignCanBus(int bus, int subId);

// 1 left/total, 2 right: asks when the tank is calibrated; 3/4 clear its calibration
// and open its sensor page; 5 returns to the configuration pages.
void ConfirmTankRecalibration(int32_t step);
// 0 back to the settings page; 1 start the fuel-pressure zero calibration; 2 done.
void FuelPressZeroCalib(int32_t step);
// 1 ask, 2 warn, 3 start the update, 0 close.
void UpdateFirmware(int32_t step);

// Results of the directory and file dialog (1 OK, 2 Cancel).
void ImportChecklist(int result);
void ImportConfiguration(int result);
void ExportConfiguration(int result);
void ExportFlightData(int result);
void ExportServiceLog(int result);

// Demo mode on and off (menu items "Demo ON" and "Demo OFF").
void DemoOn();
void DemoOff();

// A configuration file that passes its header and CRC checks; kind (0x1000 .. 0x5000) its file type, 0 any.
bool ValidConfigFile(const char* path, uint32_t kind = 0);

// The supply or tank channel chosen on the range-and-limits page (pages 77, 78 and the
// tank prompt take it; the other limit pages name their own channel).
extern int LimitChannel;
extern int ThermoSlotChoice;  // 0..5 EGT, 6..11 CHT, -1 none
