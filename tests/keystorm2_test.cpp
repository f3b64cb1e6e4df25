// Key storm seeds 3 and 4 (see keystorm.h).
#include "keystorm.h"

TEST(KeyStorm, Seeds3And4NeverCrashHangOrDamageTheFiles) { keystorm::RunKeyStorm(3); }
