#include "chandesc.h"

#ifdef BENCHDESK
#define CHAN_DV(id, name, type, flags, quantity)
#define CHAN_RENAMED(id, name, benchName, type, flags, quantity) \
    {id, #benchName, type, flags, quantity},
#else
#define CHAN_DV(id, name, type, flags, quantity) {id, #name, type, flags, quantity},
#define CHAN_RENAMED(id, name, benchName, type, flags, quantity) \
    {id, #name, type, flags, quantity},
#endif
#define CHAN(id, name, type, flags, quantity) {id, #name, type, flags, quantity},

const TChannelDesc ChannelDescTable[ChannelDescCount] = {
#include "chandesc.inc"
};

#undef CHAN
#undef CHAN_DV
#undef CHAN_RENAMED

// A short list would leave zeroed rows at the end of the table: count the rows.
#ifdef BENCHDESK
#define CHAN_DV(id, name, type, flags, quantity)
#else
#define CHAN_DV(id, name, type, flags, quantity) +1
#endif
#define CHAN_RENAMED(id, name, benchName, type, flags, quantity) +1
#define CHAN(id, name, type, flags, quantity) +1
static_assert(0
#include "chandesc.inc"
              == ChannelDescCount, "channel list and ChannelDescCount differ");
