#include "menulinks.h"

TMenuLinks MenuLinks = {};
