#include "refreshlinks.h"

#define WEAK __attribute__((weak))

WEAK int OneSecondCountdown[2] = {0, 0};
WEAK int GpsValid = 0;
WEAK int32_t GpsValidValue = 0;
WEAK uint8_t StatusInputFlags[3] = {0, 0, 0};
WEAK int RemoteDataFlags = 0;
WEAK int DemoOptions = 0;

WEAK TRefreshHooks RefreshHooks = {};

WEAK int OperApApAxis = 0;
WEAK int OperApNavSrc = 0;
