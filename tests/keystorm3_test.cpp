// Key storm seeds 5 and 6 (see keystorm.h).
#include "keystorm.h"

TEST(KeyStorm, Seeds5And6NeverCrashHangOrDamageTheFiles) { keystorm::RunKeyStorm(5); }
