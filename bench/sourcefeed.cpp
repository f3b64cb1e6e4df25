#include "sourcefeed.h"

#include "Threadmeassure.h"
#include "hkmeasure.h"

using Clock = std::chrono::steady_clock;

void TSourceFeed::Fed(uint32_t id) {
    if (const TChannelDesc* row = TMeasuredVals::FindChannelDesc(id)) fed_.set(static_cast<size_t>(row - ChannelDescTable));
}

int TSourceFeed::Quiet() {
    if (fed_.none() || Clock::now() - heard_ < std::chrono::milliseconds(FeedQuietMs)) return 0;
    TMValWriter* writer = ValWriter.load();
    if (!writer) return 0;
    int marked = 0;
    TMeasBatch batch;
    for (size_t i = 0; i < fed_.size(); ++i)
        if (fed_.test(i) && writer->SetVal(ChannelDescTable[i].id, MeasNoValue) == 0) ++marked;
    fed_.reset();
    return marked;
}
