// What one simulator link has fed into the block, and when it was last heard from.
#pragma once

#include <bitset>
#include <chrono>
#include <cstdint>

#include "chandesc.h"

// The channels one simulator link has fed. A link not heard for FeedQuietMs (five packets
// at the simulator's slowest rate) has stopped: its channels then read as no value rather
// than as its last values, live for ever, until it feeds them again.
constexpr int FeedQuietMs = 500;
class TSourceFeed {
public:
    void Heard() { heard_ = std::chrono::steady_clock::now(); }
    void Fed(uint32_t id);
    // Once the link has been quiet for FeedQuietMs: its fed channels are marked as no
    // value (MeasNoValue) through the data-source writer. The number marked.
    int Quiet();

private:
    std::bitset<ChannelDescCount> fed_;  // by dictionary row
    std::chrono::steady_clock::time_point heard_{};
};
