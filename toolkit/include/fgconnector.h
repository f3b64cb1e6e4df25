// The root of the toolkit's classes, FGConnector: a one-way link from a sender
// to a receiver (an argument that starts at -1, a receiver that starts null,
// a virtual destructor and an empty virtual Receive (sender, argument)).
// It is declared once, with the toolkit's base types.
#pragma once

#include "fgbase.h"
