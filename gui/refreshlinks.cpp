// The words of refreshlinks.h: the shell owns them, since the refresh reads them; the
// menus, editors and overlays above it write them.
#include "refreshlinks.h"

#include <libintl.h>

int MenuOpen = 0;
int MenuCloseTime = 0;
int FirmwareUpdateFailed = 0;
int SoftKeyHold = 0;
int BoreSightEditOpen = 0;
int SquawkChanged = 0;
int PowerOffState = 0;
int PowerOffCountdown = 0;
int XpdrModePending = -1;
int AutopilotActive = 0;
int OverTempFlag = 0;
int InstTempShown = 0;
int FlightTimerRunning = 0, FlightTimerSeconds = 0;
int EngineTimerRunning = 0, EngineTimerSeconds = 0;
int OperApApAxis = 0, OperApNavSrc = 0;

const char* SupplyChannelName(int channel) {
    switch (channel) {
        case 0x900: case 0xA03: return gettext("BATTERY");
        case 0x901: case 0xA04: return gettext("PUMP");
        case 0x902: case 0xA05: return gettext("AVIONICS");
        default: return "";
    }
}
