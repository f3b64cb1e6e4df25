// benchdesk: the bench program. Runs in the shared working directory (build/run/).
#include "Unit1.h"

int main() { return BenchdeskMain(); }
