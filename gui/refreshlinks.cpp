#include "refreshlinks.h"

#include <libintl.h>

#define WEAK __attribute__((weak))

WEAK int OneSecondCountdown[2] = {0, 0};
WEAK int GpsValid = 0;
WEAK int32_t GpsValidValue = 0;
WEAK uint8_t StatusInputFlags[3] = {0, 0, 0};
WEAK int RemoteDataFlags = 0;
WEAK int DemoOptions = 0;

WEAK TRefreshHooks RefreshHooks = {};

WEAK const char* SupplyChannelName(int channel) {
    switch (channel) {
        case 0x900: case 0xA03: return gettext("BATTERY");
        case 0x901: case 0xA04: return gettext("PUMP");
        case 0x902: case 0xA05: return gettext("AVIONICS");
        default: return "";
    }
}

WEAK int OperApApAxis = 0;
WEAK int OperApNavSrc = 0;
