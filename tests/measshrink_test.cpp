// A writer that shrinks the measured-values block under an attached reader: what is no
// longer backed by the object reads as absent, never as a fault of the reading process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

#include "hkutils.h"
#include "measured_block.h"

namespace {
void Quiet(const char*) {}
class Shrink : public MeasuredBlockTest {};
}  // namespace

TEST_F(Shrink, ReaderSeesNothingPastTheObjectsEnd) {
    const auto oldHook = PrintHook;
    PrintHook = Quiet;
    ShmMapping raw = Raw(MeasShmSize);
    {
        TMValWriter writer;
        TMValReader reader;
        ASSERT_GE(writer.SetVal(echRpmEng, 2400), 0);
        ASSERT_GE(writer.SetVal(echNavIdnt, "OKL"), 0);
        int32_t v = 0;
        ASSERT_EQ(reader.GetVal(echRpmEng, v, mvtInt), 0);
        int rpmIndex;
        TMeasuredVals::FindChannel(echRpmEng, &rpmIndex);
        ASSERT_GE(rpmIndex, 0);

        // Cut inside the slots: the channels before the cut stay, the rest are absent.
        const uint32_t cut = sizeof(MeasShmHeader) + 64 * static_cast<uint32_t>(rpmIndex);
        ASSERT_EQ(ftruncate(raw.Handle(), cut), 0);
        EXPECT_EQ(reader.GetVal(echRpmEng, v, mvtInt), -20);
        MeasShmSlot slot;
        EXPECT_EQ(reader.ReadSlot(rpmIndex, &slot), -12);
        EXPECT_EQ(reader.ReadSlot(0, &slot), 0);
        char text[9];
        EXPECT_EQ(reader.GetText(echNavIdnt, text, 8), -20);

        // Cut into the header, then to nothing: every read fails cleanly, and so do the releases.
        for (uint32_t size : {100u, 0u}) {
            ASSERT_EQ(ftruncate(raw.Handle(), size), 0);
            EXPECT_EQ(reader.GetVal(echRpmEng, v, mvtInt), -20);
            EXPECT_EQ(reader.ReadSlot(0, &slot), -12);
            EXPECT_LT(writer.SetVal(echRpmEng, 2500), 0);
            int index;
            EXPECT_NE(TMeasuredVals::FindChannel(echRpmEng, &index), nullptr);
            EXPECT_EQ(index, -1);
        }
    }
    PrintHook = oldHook;
}

// A batch looks the size up once; a shrink shows from the next batch on, and
// detaching or attaching inside a batch takes the new size at once.
TEST_F(Shrink, BatchSeesTheShrinkFromTheNextBatchOn) {
    const auto oldHook = PrintHook;
    PrintHook = Quiet;
    ShmMapping raw = Raw(MeasShmSize);
    {
        TMValWriter writer;
        auto reader = std::make_unique<TMValReader>();
        ASSERT_GE(writer.SetVal(echRpmEng, 2400), 0);
        int32_t v = 0;
        {
            TMeasBatch batch;
            ASSERT_EQ(reader->GetVal(echRpmEng, v, mvtInt), 0);
            {
                TMeasBatch inner;  // nested: no new look-up
                EXPECT_EQ(reader->GetVal(echRpmEng, v, mvtInt), 0);
            }
            // Detached inside the batch (the writer too): nothing is read from the old mapping.
            reader.reset();
            writer.FreeSystemResources(1);
            int index = 0;
            EXPECT_NE(TMeasuredVals::FindChannel(echRpmEng, &index), nullptr);
            EXPECT_EQ(index, -1);
            // Attached again in the same batch: read at once.
            TMValReader fresh;
            EXPECT_EQ(fresh.GetVal(echRpmEng, v, mvtInt), 0);
        }
        ASSERT_EQ(writer.InitSystemResources(1), 0);
        ASSERT_GE(writer.SetVal(echRpmEng, 2400), 0);
        TMValReader again;
        ASSERT_EQ(ftruncate(raw.Handle(), 100), 0);
        TMeasBatch batch;
        EXPECT_EQ(again.GetVal(echRpmEng, v, mvtInt), -20);
    }
    PrintHook = oldHook;
}
