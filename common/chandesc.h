// Channel dictionary of the measured-values block. dashview's dictionary is a
// superset of benchdesk's; BENCHDESK selects the smaller one.
#pragma once

#include <cstdint>

struct TChannelDesc {
    uint32_t id;         // channel id; the high byte is the group
    const char* name;    // enumerator name as text
    uint32_t valueType;  // the type the channel is stored in
    uint32_t flags;      // kept for the table's shape; nothing reads it
    uint32_t quantity;   // kept for the table's shape; nothing reads it
};

#ifdef BENCHDESK
#define CHAN_DV(id, name, type, flags, quantity)
#define CHAN_RENAMED(id, name, benchName, type, flags, quantity) benchName = id,
#else
#define CHAN_DV(id, name, type, flags, quantity) name = id,
#define CHAN_RENAMED(id, name, benchName, type, flags, quantity) name = id,
#endif
#define CHAN(id, name, type, flags, quantity) name = id,
enum TChannelId : uint32_t {
#include "chandesc.inc"
};
#undef CHAN
#undef CHAN_DV
#undef CHAN_RENAMED

#ifdef BENCHDESK
constexpr int ChannelDescCount = 243;
#else
constexpr int ChannelDescCount = 373;
#endif
extern const TChannelDesc ChannelDescTable[ChannelDescCount];
