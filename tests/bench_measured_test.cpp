// The measured-values block as benchdesk builds it: its smaller dictionary and
// block, and the plain lookup (no redirects) of its reads.
#include <cstring>

#include "measured_block.h"

TEST(BenchDictionary, SubsetWithItsOwnName) {
    ASSERT_EQ(ChannelDescCount, 243);
    for (int i = 1; i < ChannelDescCount; ++i) EXPECT_LT(ChannelDescTable[i - 1].id, ChannelDescTable[i].id);
    EXPECT_EQ(MeasShmSize, 16384u);
    EXPECT_LE(256u + 64u * ChannelDescCount, MeasShmSize);
    const TChannelDesc* row = TMeasuredVals::FindChannelDesc(0x1219);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->name, "echTemporary25");
    EXPECT_EQ(row->valueType, 1u);
    EXPECT_EQ(echTemporary25, 0x1219u);
    EXPECT_EQ(TMeasuredVals::FindChannelByName("echTemporaryRotFadSensStat_LA"), 0u);
    for (uint32_t missing : {0x405u, 0x407u, 0x1103u, 0x1114u, 0x121Au, 0x1221u, 0x1332u, 0x1334u, 0x1700u,
                             0x1800u, 0x1913u, 0x1A00u, 0x1B13u, 0x1C03u})
        EXPECT_EQ(TMeasuredVals::FindChannelDesc(missing), nullptr) << std::hex << missing;
    for (uint32_t kept : {0x404u, 0x1102u, 0x1218u, 0x1331u, 0x141Cu})
        EXPECT_NE(TMeasuredVals::FindChannelDesc(kept), nullptr) << std::hex << kept;
    EXPECT_EQ(ChannelDescTable[ChannelDescCount - 1].id, 0x141Cu);
}

using BenchBlock = MeasuredBlockTest;

TEST_F(BenchBlock, CreatesItsOwnSize) {
    TMValWriter w;
    EXPECT_EQ(MeasAttachment().mappedSize, 16384u);
    EXPECT_EQ(MeasAttachment().slots, 243);
    ShmMapping raw = Raw();
    EXPECT_EQ(RawU32(raw, 4), 243u);
    EXPECT_EQ(RawU32(raw, 256 + 64 * 242 + 20), 0x141Cu);
    EXPECT_EQ(RawU32(raw, 256 + 64 * 243 + 20), 0u);
}

TEST_F(BenchBlock, OpensALargerBlockAtItsSize) {
    ShmMapping raw = Raw(24576);  // dashview came first and still runs
    TMValWriter w;
    EXPECT_EQ(MeasAttachment().mappedSize, 24576u);
    EXPECT_EQ(MeasAttachment().slots, 243);
    EXPECT_EQ(w.SetVal(echPBS_E2_n_sw_B, 9), 0);
    int32_t v;
    EXPECT_EQ(w.GetVal(echPBS_E2_n_sw_B, v), 0);
    EXPECT_EQ(v, 9);
}

TEST_F(BenchBlock, PlainLookupIgnoresRedirects) {
    TMValWriter w;
    ASSERT_EQ(w.SetVal(echVolt1, 100), 0);
    ASSERT_EQ(w.SetVal(echVolt2, 200), 0);
    SetRedirect(w, echVolt1, echVolt2, 0);
    int32_t v;
    EXPECT_EQ(w.GetVal(echVolt1, v), 0);
    EXPECT_EQ(v, 100);

    // A channel of the dictionary that the block does not hold: -22.
    int index;
    TMeasuredVals::FindChannel(echVolt1, &index);
    MeasShmSlot slot;
    ASSERT_EQ(w.ReadSlot(index, &slot), 0);
    slot.id.Set(0x0FFF);
    ASSERT_EQ(w.WriteSlot(index, &slot), 0);
    EXPECT_EQ(w.GetVal(echVolt1, v), -22);
    char text[9];
    EXPECT_EQ(w.GetText(echVolt1, text, 8), -22);
    EXPECT_EQ(w.SetVal(echVolt1, 1), -22);
    EXPECT_EQ(w.GetChanRawData(echVolt1, &slot), -22);
    EXPECT_EQ(w.GetVal(0x1800, v), -20);
}
