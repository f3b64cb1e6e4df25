#include "averdata.h"

#include <algorithm>
#include <climits>

#include "hkmeasure.h"

// Sums are taken in 64 bits: a ring of large readings must not overflow.
int32_t AverMean(const int32_t* ring, int32_t count, int32_t /*newest*/) {
    if (!ring || count <= 0) return 0;
    int64_t sum = 0;
    for (int32_t i = 0; i < count; ++i) sum += ring[i];
    return static_cast<int32_t>(sum / count);
}

int32_t AverAngleMean(const int32_t* ring, int32_t count, int32_t /*newest*/) {
    if (!ring || count <= 0) return 0;
    int64_t lowSum = 0, highSum = 0;
    int32_t lowCount = 0, highCount = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (ring[i] < 1800) {
            lowSum += ring[i];
            ++lowCount;
        } else {
            highSum += ring[i];
            ++highCount;
        }
    }
    // Angles on both sides of north: lift the low group by a full turn.
    if (lowCount && highCount && lowSum / lowCount < 900 && highSum / highCount > 2700)
        return static_cast<int32_t>((lowSum + highSum + 3600LL * lowCount) / count % 3600);
    return static_cast<int32_t>((lowSum + highSum) / count);
}

TAverChannel::TAverChannel(TMeasuredVals* vals, uint32_t channelId, int32_t wantedType)
    : Ring{},
      Average(0),
      Valid(0),
      PassThrough(0),
      RingIndex(0),
      SampleCount(20),
      FailCount(0),
      Divider(10),
      TickCount(0),
      ChannelId(channelId),
      Desc(TMeasuredVals::FindChannelDesc(channelId)),
      WantedType(wantedType),
      Vals(vals),
      Window(2),
      Rate(10),
      Period(100),
      Invalid(0),
      AverFunc(nullptr),
      SubstPending(0),
      SubstValue(0),
      EverRead(0),
      ReadRun(0) {
    if (WantedType == -1 && Desc) WantedType = static_cast<int32_t>(Desc->valueType);
}

// Entries of the ring that the average covers: one for a pass-through channel.
static int32_t AveragedSpan(const TAverChannel& c) { return c.PassThrough ? 1 : c.SampleCount; }

int TAverChannel::Configure(int32_t window, int32_t rate, int32_t period) {
    const int32_t wasPassThrough = PassThrough, wasRead = ReadRun > 0 ? 1 : 0;
    Period = period < 1 ? 1 : period;
    Window = window;
    const int32_t perSecond = 1000 / Period;
    if (window == 0) {
        PassThrough = 1;
        Rate = perSecond < 1 ? 1 : perSecond;
    } else {
        PassThrough = 0;
        // A rate below 1 would divide by zero; it ends up as 1 below anyway.
        Divider = perSecond / (rate < 1 ? 1 : rate);
        if (Divider < 1) Divider = 1;
        Rate = rate;
        if (Rate > perSecond) Rate = perSecond;
        if (Rate < 1) Rate = 1;
        const int64_t samples = static_cast<int64_t>(Window) * Rate;
        SampleCount = static_cast<int32_t>(std::clamp<int64_t>(samples, 1, AverRingSize));
    }
    TickCount = 0;
    // The read samples stand in the ring's first ReadRun entries (all of it once full);
    // those that fit the new span are kept, and the ring fills on after them.
    if (PassThrough)
        ReadRun = wasRead;
    else
        ReadRun = wasPassThrough ? 0 : std::min(ReadRun, SampleCount);
    RingIndex = PassThrough || ReadRun >= SampleCount ? 0 : ReadRun;
    return 0;
}

void TAverChannel::SetPeriod(int32_t period) { Configure(Window, Rate, period); }

// One read of the slot in its own type. The value must also be had in the channel's
// own type: a slot that holds what no writer of the channel stores (say degrees beyond
// the range of tenths) counts as unreadable, as a reader in that type finds it.
bool TAverChannel::Sample(int32_t& value) const {
    int32_t raw = 0;
    TMValInfo info = {MValInfoWantType, 0, 0};
    if (Vals->GetVal(ChannelId, raw, -1, nullptr, &info) < 0) return false;
    const int slotType = static_cast<int>(info.valueType);
    int32_t own;
    if (Desc && TMeasuredVals::ConvertValue(raw, slotType, static_cast<int>(Desc->valueType), own) < 0) return false;
    return TMeasuredVals::ConvertValue(raw, slotType, WantedType == -1 ? slotType : WantedType, value) >= 0;
}

void TAverChannel::Tick() {
    ++TickCount;
    if (!PassThrough && TickCount < Divider) return;
    TickCount = 0;
    if (!Vals) return;
    Valid = 0;
    Invalid = 0;

    int32_t value = 0;
    const bool ok = Sample(value);
    if (ok) {
        SubstPending = 0;
        FailCount = 0;
        EverRead = 1;
    } else {
        value = 0;
        if (FailCount < INT32_MAX) ++FailCount;
        if (FailCount < Rate)
            SubstPending = 0;
        else
            Invalid = 1;
    }
    if (SubstPending) value = SubstValue;

    // A failure within the tolerance keeps the last average.
    if (ok || Invalid) {
        if (PassThrough) {
            Average = value;
        } else {
            // A channel that has just become valid (at start, or after a failure beyond the
            // tolerance) fills its ring from the start, and until it holds S read samples the
            // average covers those alone: never the zeros of the start or of the failure.
            if (ok && ReadRun == 0) RingIndex = 0;
            Ring[RingIndex] = value;
            const int32_t covered = ok ? std::min(ReadRun + 1, SampleCount) : SampleCount;
            Average = (AverFunc ? AverFunc : AverMean)(Ring, covered, RingIndex);
            if (++RingIndex > SampleCount - 1) RingIndex = 0;
        }
        ReadRun = ok ? std::min(ReadRun + 1, AveragedSpan(*this)) : 0;
    }
    // Tolerated failures keep a channel valid only once it has been read.
    if (!Invalid && EverRead) Valid = 1;
}

int TAverChannel::GetValue(int32_t& value) const {
    value = Average;
    return Valid ? 0 : -1;
}

bool TAverChannel::Settled() const { return Valid && ReadRun >= AveragedSpan(*this); }

TAverData::TAverData(TMeasuredVals* vals, int32_t period) : Table{}, Count(0), Period(period), Vals(vals) {}

static bool PairLess(const TAverData::TAverPair& a, const TAverData::TAverPair& b) {
    return a.ChannelId < b.ChannelId;
}

static bool PairIdLess(const TAverData::TAverPair& a, uint32_t id) { return a.ChannelId < id; }

int TAverData::AddChannel(uint32_t channelId, int32_t wantedType, int32_t window, int32_t rate) {
    if (Count >= AverMaxChannels) return -2;
    // Kept in order as channels arrive, so that lookups and the duplicate check
    // are right even before Sort.
    TAverPair* end = Table + Count;
    TAverPair* at = std::lower_bound(Table, end, channelId, PairIdLess);
    if (at != end && at->ChannelId == channelId) return -1;
    auto channel = std::make_unique<TAverChannel>(Vals, channelId, wantedType);
    channel->Configure(window, rate, Period);
    std::move_backward(at, end, end + 1);
    at->ChannelId = channelId;
    at->Channel = std::move(channel);
    ++Count;
    return 0;
}

void TAverData::Sort() { std::sort(Table, Table + Count, PairLess); }

TAverChannel* TAverData::FindChannel(uint32_t channelId) {
    TAverPair* end = Table + Count;
    TAverPair* at = std::lower_bound(Table, end, channelId, PairIdLess);
    return at != end && at->ChannelId == channelId ? at->Channel.get() : nullptr;
}

bool TAverData::SetAverFunc(uint32_t channelId, TAverFunc func) {
    TAverChannel* channel = FindChannel(channelId);
    if (!channel) return false;
    channel->AverFunc = func;
    return true;
}

void TAverData::Tick() {
    for (int32_t i = 0; i < Count; ++i) Table[i].Channel->Tick();
}

void TAverData::SetPeriod(int32_t period) {
    Period = period;
    for (int32_t i = 0; i < Count; ++i) Table[i].Channel->SetPeriod(period);
}

int TAverData::GetValue(uint32_t channelId, int32_t& value) {
    const TAverChannel* channel = FindChannel(channelId);
    if (!channel) return -1;
    return channel->GetValue(value) == 0 ? 0 : -2;
}

bool TAverData::Settled(uint32_t channelId) {
    const TAverChannel* channel = FindChannel(channelId);
    return channel && channel->Settled();
}

bool TAverData::ForceValue(uint32_t channelId, int32_t value) {
    TAverChannel* channel = FindChannel(channelId);
    if (!channel) return false;
    channel->SubstValue = value;
    channel->SubstPending = 1;
    return true;
}
