// Key storm seeds 7 and 8 (see keystorm.h).
#include "keystorm.h"

TEST(KeyStorm, Seeds7And8NeverCrashHangOrDamageTheFiles) { keystorm::RunKeyStorm(7); }
