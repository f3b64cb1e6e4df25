// Key storm seeds 1 and 2 (see keystorm.h).
#include "keystorm.h"

TEST(KeyStorm, Seeds1And2NeverCrashHangOrDamageTheFiles) { keystorm::RunKeyStorm(1); }
