// Averaged reading of measured channels: each subscribed channel is sampled
// from the measured-values block on the refresh ticks into a ring, averaged
// over a window in seconds and kept valid through short read failures.
#pragma once

#include <cstdint>
#include <memory>

class TMeasuredVals;
struct TChannelDesc;

// Computes an average from the ring: (ring, sample count, position of the newest sample).
typedef int32_t (*TAverFunc)(const int32_t* ring, int32_t count, int32_t newest);

// Mean of the first count entries, truncated toward zero; 0 for no entries.
int32_t AverMean(const int32_t* ring, int32_t count, int32_t newest);
// Circular mean of angles in tenths of a degree (0..3599).
int32_t AverAngleMean(const int32_t* ring, int32_t count, int32_t newest);

constexpr int32_t AverRingSize = 256;

class TAverChannel {
public:
    TAverChannel(TMeasuredVals* vals, uint32_t channelId, int32_t wantedType);
    TAverChannel(const TAverChannel&) = delete;
    TAverChannel& operator=(const TAverChannel&) = delete;

    int Configure(int32_t window, int32_t rate, int32_t period);
    void SetPeriod(int32_t period);
    void Tick();
    // 0 when valid, -1 otherwise; value = the average in both cases.
    int GetValue(int32_t& value) const;
    // Valid, and the average covers a whole window of read samples (not a ring still filling
    // since the start or since a failure beyond the tolerance).
    bool Settled() const;

    int32_t Ring[AverRingSize];
    int32_t Average;
    int32_t Valid;
    int32_t PassThrough;    // window 0: every sample is the average
    int32_t RingIndex;      // where the next sample goes
    int32_t SampleCount;    // S: ring entries the average covers, 1..256
    int32_t FailCount;      // consecutive failed samples
    int32_t Divider;        // D: a sample every D ticks
    int32_t TickCount;      // ticks since the last sample
    const uint32_t ChannelId;   // fixed for the channel's life, and so is Desc
    const TChannelDesc* Desc;   // its row of the dictionary, null when unknown
    int32_t WantedType;     // -1: the slot's own type
    TMeasuredVals* Vals;    // not owned
    int32_t Window;         // W, seconds
    int32_t Rate;           // R, samples per second = failures tolerated
    int32_t Period;         // P, tick period in ms
    uint8_t Invalid;        // R or more consecutive failures
    TAverFunc AverFunc;     // null: AverMean
    uint8_t SubstPending;
    int32_t SubstValue;
    uint8_t EverRead;       // a sample has succeeded since construction
    int32_t ReadRun;        // samples read since the channel became valid, up to the span
                            // averaged; below it they are the ring's first entries

private:
    bool Sample(int32_t& value) const;
};

constexpr int32_t AverMaxChannels = 200;

class TAverData {
public:
    TAverData(TMeasuredVals* vals, int32_t period);
    TAverData(const TAverData&) = delete;
    TAverData& operator=(const TAverData&) = delete;

    // 0 added, -2 table full, -1 id already registered.
    int AddChannel(uint32_t channelId, int32_t wantedType, int32_t window, int32_t rate);
    void Sort();
    bool SetAverFunc(uint32_t channelId, TAverFunc func);
    void Tick();
    void SetPeriod(int32_t period);
    // 0 valid, -2 not valid (value = the current average), -1 unknown id (value untouched).
    int GetValue(uint32_t channelId, int32_t& value);
    // True when the channel is known and settled.
    bool Settled(uint32_t channelId);
    bool ForceValue(uint32_t channelId, int32_t value);
    TAverChannel* FindChannel(uint32_t channelId);

    struct TAverPair {
        uint32_t ChannelId;
        std::unique_ptr<TAverChannel> Channel;
    };
    TAverPair Table[AverMaxChannels];
    int32_t Count;
    int32_t Period;        // given to new channels
    TMeasuredVals* Vals;   // not owned
};
