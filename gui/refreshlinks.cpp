// The words of refreshlinks.h: the shell owns them, since the refresh reads them; the
// menus, editors and overlays above it write them.
#include "refreshlinks.h"

#include <libintl.h>

#include "chandesc.h"

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
        case echVolt1: case echCurr1: return gettext("BATTERY");
        case echVolt2: case echCurr2: return gettext("PUMP");
        case echVolt3: case echCurr3: return gettext("AVIONICS");
        default: return "";
    }
}
