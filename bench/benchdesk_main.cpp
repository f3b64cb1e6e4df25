// benchdesk: the bench program. Runs in the shared working directory (build/run/).
#include "Unit1.h"
#include "trace.h"

int main() {
    // A new session: its diagnostics replace the last one's.
    TraceLogOpen(true);
    return BenchdeskMain();
}
