// The measured-values block as dashview sees it: dictionary, conversions, the
// shared layout, attachment and its messages, damaged blocks, and a benchdesk
// writer in a second process.
#include <fcntl.h>
#include <sys/mman.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <regex>

#include "measured_block.h"

namespace {

int32_t Bits(float f) {
    int32_t b;
    memcpy(&b, &f, 4);
    return b;
}

float Real(int32_t b) {
    float f;
    memcpy(&f, &b, 4);
    return f;
}

// Value and code of one conversion.
std::pair<int, int32_t> Conv(int32_t raw, int from, int to) {
    int32_t out = 12345;
    int rc = TMeasuredVals::ConvertValue(raw, from, to, out);
    return {rc, out};
}

}  // namespace

TEST(Dictionary, RowsAndGroups) {
    ASSERT_EQ(ChannelDescCount, 373);
    std::map<uint32_t, int> groups;
    for (int i = 0; i < ChannelDescCount; ++i) {
        const TChannelDesc& row = ChannelDescTable[i];
        if (i > 0) {
            EXPECT_LT(ChannelDescTable[i - 1].id, row.id) << row.name;
        }
        EXPECT_TRUE(row.valueType == 1 || row.valueType == 3 || (row.valueType >= 6 && row.valueType <= 10))
            << row.name;
        EXPECT_EQ(strncmp(row.name, "ech", 3), 0);
        EXPECT_EQ(TMeasuredVals::FindChannelByName(row.name), row.id) << row.name;  // names are unique
        ++groups[row.id >> 8];
    }
    const std::map<uint32_t, int> expected = {
        {0x01, 12}, {0x02, 9},  {0x03, 3},  {0x04, 8},  {0x05, 14}, {0x06, 6},  {0x07, 1},
        {0x08, 19}, {0x09, 3},  {0x0A, 3},  {0x0B, 2},  {0x0C, 32}, {0x0D, 4},  {0x0E, 13},
        {0x0F, 3},  {0x10, 6},  {0x11, 21}, {0x12, 34}, {0x13, 53}, {0x14, 29}, {0x17, 14},
        {0x18, 20}, {0x19, 20}, {0x1A, 20}, {0x1B, 20}, {0x1C, 4}};
    EXPECT_EQ(groups, expected);
}

TEST(Dictionary, Lookup) {
    const TChannelDesc* row = TMeasuredVals::FindChannelDesc(0x1219);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->name, "echTemporaryRotFadSensStat_LA");
    EXPECT_EQ(TMeasuredVals::FindChannelDesc(0x201)->valueType, 9u);
    EXPECT_EQ(TMeasuredVals::FindChannelDesc(0x504)->valueType, 3u);
    EXPECT_EQ(TMeasuredVals::FindChannelDesc(0x500)->valueType, 10u);
    EXPECT_EQ(TMeasuredVals::FindChannelDesc(0xA00), nullptr);  // currents start at A03
    EXPECT_EQ(TMeasuredVals::FindChannelDesc(0), nullptr);
    EXPECT_EQ(TMeasuredVals::FindChannelDesc(0xFFFFFFFF), nullptr);
    EXPECT_EQ(TMeasuredVals::FindChannelByName("echSkyvPhysE1_EGT1"), 0x1800u);
    EXPECT_EQ(TMeasuredVals::FindChannelByName("echTemporary25"), 0u);
    EXPECT_EQ(TMeasuredVals::FindChannelByName("echThermo"), 0u);  // exact match only
    EXPECT_EQ(TMeasuredVals::FindChannelByName(nullptr), 0u);
    EXPECT_EQ(echPBSVisI1_CON_CurrOut, 0x1C03u);
    EXPECT_EQ(echInternalInputStatus, 0xC17u);
    int slot = 7;
    EXPECT_NE(TMeasuredVals::FindChannel(0x100, &slot), nullptr);
    EXPECT_EQ(slot, -1);  // not attached
}

TEST(Convert, Rules) {
    using P = std::pair<int, int32_t>;
    EXPECT_EQ(Conv(-1235, 7, 1), P(1, -12));
    EXPECT_EQ(Conv(1235, 7, 1), P(1, 12));
    EXPECT_EQ(Conv(1250, 7, 1), P(1, 13));
    EXPECT_EQ(Conv(-1250, 7, 1), P(1, -13));
    EXPECT_EQ(Conv(Bits(2.345f), 2, 6), P(1, 23));
    EXPECT_EQ(Conv(Bits(-2.35f), 2, 6), P(1, -23));
    EXPECT_EQ(Conv(57, 6, 8), P(1, 5700));
    auto f = Conv(57, 6, 2);
    EXPECT_EQ(f.first, 1);
    EXPECT_EQ(Real(f.second), 5.7f);
    EXPECT_EQ(Real(Conv(-123456, 10, 2).second), -1.23456f);
    EXPECT_EQ(Conv(-1255, 8, 6), P(1, -13));  // down: half away from zero
    EXPECT_EQ(Conv(1249, 8, 6), P(1, 12));
    EXPECT_EQ(Conv(-42, 1, 9), P(1, -420000));
    EXPECT_EQ(Real(Conv(-42, 1, 2).second), -42.0f);
    EXPECT_EQ(Conv(Bits(-7.9f), 2, 1), P(1, -7));  // truncation toward zero
    EXPECT_EQ(Conv(Bits(0.05f), 2, 10), P(1, 5000));
    EXPECT_EQ(Conv(77, 3, 3), P(0, 77));  // same type copies whatever it is
    EXPECT_EQ(Conv(77, 0, 1), P(-1, 12345));
    EXPECT_EQ(Conv(77, 3, 1), P(-1, 12345));
    EXPECT_EQ(Conv(77, 5, 1), P(-1, 12345));
    EXPECT_EQ(Conv(77, 1, 3), P(-2, 12345));
    EXPECT_EQ(Conv(77, 1, 5), P(-2, 12345));
    EXPECT_EQ(Conv(77, 2, 0), P(-2, 12345));
    EXPECT_EQ(Conv(77, 6, 5), P(-2, 12345));
    EXPECT_EQ(Conv(77, 6, 11), P(-2, 12345));
}

TEST(Convert, ResultsThatDoNotFitFail) {
    using P = std::pair<int, int32_t>;
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(Conv(big, 1, 6), P(-2, 12345));
    EXPECT_EQ(Conv(small, 1, 10), P(-2, 12345));
    EXPECT_EQ(Conv(300000, 6, 10), P(-2, 12345));
    EXPECT_EQ(Conv(21474, 1, 10), P(1, 2147400000));
    EXPECT_EQ(Conv(big, 6, 1), P(1, 214748365));
    EXPECT_EQ(Conv(small, 10, 6), P(1, -214748));
    EXPECT_EQ(Conv(Bits(std::nanf("")), 2, 1), P(-2, 12345));
    EXPECT_EQ(Conv(Bits(std::nanf("")), 2, 7), P(-2, 12345));
    EXPECT_EQ(Conv(Bits(INFINITY), 2, 1), P(-2, 12345));
    EXPECT_EQ(Conv(Bits(-INFINITY), 2, 6), P(-2, 12345));
    EXPECT_EQ(Conv(Bits(3e9f), 2, 1), P(-2, 12345));
    EXPECT_EQ(Conv(Bits(3e5f), 2, 10), P(-2, 12345));
    EXPECT_EQ(Conv(Bits(-2147483648.0f), 2, 1), P(1, small));
}

using Attachment = MeasuredBlockTest;

TEST_F(Attachment, ReaderFirstSeesNoSlots) {
    ShmMapping raw;
    {
        TMValReader reader;
        TMeasAttachment a = MeasAttachment();
        EXPECT_TRUE(a.attached);
        EXPECT_EQ(a.mappedSize, 24576u);
        EXPECT_EQ(a.slots, 0);
        int32_t v = 5;
        EXPECT_EQ(reader.GetVal(0x100, v), -20);
        EXPECT_EQ(v, 0);
        EXPECT_EQ(reader.InitialisedByMe, 0);
        raw = Raw();
    }
    EXPECT_EQ(raw.Size(), 24576u);
    EXPECT_EQ(RawU32(raw, 0), 0u);   // a reader never initialises
    EXPECT_EQ(RawU32(raw, 24), 0u);  // its count went back on release
}

TEST_F(Attachment, MessagesAndCounts) {
    testing::internal::CaptureStderr();
    auto writer = std::make_unique<TMValWriter>();
    std::string out = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(out, std::regex("TMeasuredVals::InitSystemResources: Shared memory attached at [0-9A-F]+\n"
                                                 "TMeasuredVals::InitSystemResources - init memory.\n"
                                                 "Init ShMem success. SharedMemID=[0-9]+, ShMem=0x[0-9a-f]+, Writer=1\n"
                                                 "UsingAsReader=0, UsingAsWriter=1\n"
                                                 "ShMem->NumReaders=0, ShMem->NumWriters=1\n")))
        << out;
    EXPECT_EQ(writer->InitialisedByMe, 1);

    // A second attachment in the process does not map again.
    testing::internal::CaptureStderr();
    auto reader1 = std::make_unique<TMValReader>();
    auto reader2 = std::make_unique<TMValReader>();
    out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.find("attached at"), std::string::npos) << out;
    EXPECT_NE(out.find("UsingAsReader=2, UsingAsWriter=1\nShMem->NumReaders=2, ShMem->NumWriters=1\n"),
              std::string::npos)
        << out;

    testing::internal::CaptureStderr();
    reader1.reset();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TMeasuredVals::FreeSystemResources: Writer=0\nUsingAsReader=2, UsingAsWriter=1\n"
              "ShMem->NumReaders=2, ShMem->NumWriters=1\nNot Last(2) ...\n");
    testing::internal::CaptureStderr();
    reader2.reset();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TMeasuredVals::FreeSystemResources: Writer=0\nUsingAsReader=1, UsingAsWriter=1\n"
              "ShMem->NumReaders=1, ShMem->NumWriters=1\nNot Last(3) ...\n");

    // A reader release without a reader attachment.
    testing::internal::CaptureStderr();
    EXPECT_EQ(writer->FreeSystemResources(0), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TMeasuredVals::FreeSystemResources: Writer=0\nUsingAsReader=0, UsingAsWriter=1\n"
              "ShMem->NumReaders=0, ShMem->NumWriters=1\nERR 2\n");

    testing::internal::CaptureStderr();
    writer.reset();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TMeasuredVals::FreeSystemResources: Writer=1\nUsingAsReader=0, UsingAsWriter=1\n"
              "ShMem->NumReaders=0, ShMem->NumWriters=1\nLast ... detach shm ...\n");
    EXPECT_FALSE(MeasAttachment().attached);

    // Not attached at all: only the first two lines. A writer release with no
    // writer attachment says "ERR 1".
    TMValReader reader;
    testing::internal::CaptureStderr();
    EXPECT_EQ(reader.FreeSystemResources(1), -1);
    EXPECT_EQ(reader.FreeSystemResources(0), 0);
    EXPECT_EQ(reader.FreeSystemResources(0), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TMeasuredVals::FreeSystemResources: Writer=1\nUsingAsReader=1, UsingAsWriter=0\n"
              "ShMem->NumReaders=1, ShMem->NumWriters=0\nERR 1\n"
              "TMeasuredVals::FreeSystemResources: Writer=0\nUsingAsReader=1, UsingAsWriter=0\n"
              "ShMem->NumReaders=1, ShMem->NumWriters=0\nLast ... detach shm ...\n"
              "TMeasuredVals::FreeSystemResources: Writer=0\nUsingAsReader=0, UsingAsWriter=0\n");
    int32_t v;
    EXPECT_EQ(reader.GetVal(0x100, v), -10);
    char text[9];
    EXPECT_EQ(reader.GetText(0x504, text, 8), -10);
    EXPECT_EQ(reader.SetVal(0x100, 1), -10);
    MeasShmSlot slot;
    EXPECT_EQ(reader.GetChanRawData(0x100, &slot), -10);
    EXPECT_EQ(reader.ReadSlot(0, &slot), -11);
    EXPECT_EQ(reader.WriteSlot(0, &slot), -11);
}

using BlockLayout = MeasuredBlockTest;

TEST_F(BlockLayout, BytesAtFixedOffsets) {
    TMValWriter w;
    const uint64_t stamp = MakeMeasStamp(0x5F5E1001, 0x000F423F);
    ASSERT_EQ(w.SetVal(echPressOil, -1235, &stamp), 0);
    ASSERT_EQ(w.SetVal(echGPSId, "ABCDEFGHIJ"), 0);
    ASSERT_EQ(w.SetVal(echGPSLat, 49.12345f), 0);

    ShmMapping raw = Raw();
    ASSERT_EQ(raw.Size(), 24576u);
    const uint8_t* b = raw.Data();
    const uint8_t magic[] = {0x41, 0x42, 0x0F, 0x00, 0x75, 0x01, 0x00, 0x00};  // 1000001, 373
    EXPECT_EQ(memcmp(b, magic, sizeof magic), 0);
    EXPECT_EQ(RawU32(raw, 24), 0u);  // NumReaders
    EXPECT_EQ(RawU32(raw, 28), 1u);  // NumWriters
    for (uint32_t off : {8u, 12u, 16u, 20u, 32u, 36u}) EXPECT_EQ(RawU32(raw, off), 0u) << off;
    for (uint32_t i = 40; i < 256; ++i) EXPECT_EQ(b[i], 0) << i;

    // Slot i lies at 256 + 64 i, its channel id at +20, in dictionary order.
    for (int i = 0; i < 373; ++i) EXPECT_EQ(RawU32(raw, 256 + 64 * i + 20), ChannelDescTable[i].id) << i;
    EXPECT_EQ(RawU32(raw, 256 + 64 * 373), 0u);  // nothing past the last slot

    const uint32_t oil = 256 + 64 * 12;  // echPressOil is row 12
    const uint8_t oilSlot[24] = {7, 0, 0, 0, 0x2D, 0xFB, 0xFF, 0xFF, 0, 0, 0, 0, 0x01, 0x10, 0x5E, 0x5F,
                                 0x3F, 0x42, 0x0F, 0x00, 0x00, 0x02, 0x00, 0x00};
    EXPECT_EQ(memcmp(b + oil, oilSlot, sizeof oilSlot), 0);
    for (uint32_t i = 24; i < 64; ++i) EXPECT_EQ(b[oil + i], 0) << i;

    const uint32_t id = 256 + 64 * (12 + 9 + 3 + 8 + 4);  // echGPSId
    EXPECT_EQ(RawU32(raw, id), 3u);
    EXPECT_EQ(memcmp(b + id + 4, "ABCDEFGH", 8), 0);
    EXPECT_EQ(RawU32(raw, id + 12), 0u);  // no stamp given
    EXPECT_EQ(RawU32(raw, id + 20), 0x504u);

    const uint32_t lat = 256 + 64 * (12 + 9 + 3 + 8);  // echGPSLat, type 10
    EXPECT_EQ(RawU32(raw, lat), 10u);
    EXPECT_EQ(static_cast<int32_t>(RawU32(raw, lat + 4)), 4912345);
}

using Values = MeasuredBlockTest;

TEST_F(Values, GetValAndGetText) {
    TMValWriter w;
    int32_t v = 1;
    EXPECT_EQ(w.GetVal(echPressOil, v, 1), -31);  // never written: type 0
    char text[16];
    EXPECT_EQ(w.GetText(echGPSId, text, 8), -1);
    EXPECT_EQ(w.GetVal(echPressOil, v), 0);  // type 0 read as itself
    EXPECT_EQ(v, 0);

    const int32_t type7[][2] = {{-1235, -12}, {1235, 12}, {1250, 13}, {-1250, -13}};
    for (auto& c : type7) {
        ASSERT_EQ(w.SetVal(echPressOil, c[0]), 0);
        EXPECT_EQ(w.GetVal(echPressOil, v, 1), 1);
        EXPECT_EQ(v, c[1]) << c[0];
        EXPECT_EQ(w.GetVal(echPressOil, v), 0);
        EXPECT_EQ(v, c[0]);
    }
    // The float form converts to the dictionary's type.
    ASSERT_EQ(w.SetVal(echThermo0, 2.345f), 0);
    EXPECT_EQ(w.GetVal(echThermo0, v), 0);
    EXPECT_EQ(v, 23);
    ASSERT_EQ(w.SetVal(echThermo0, -2.35f), 0);
    EXPECT_EQ(w.GetVal(echThermo0, v, 6), 0);
    EXPECT_EQ(v, -23);
    ASSERT_EQ(w.SetVal(echThermo0, 57), 0);
    EXPECT_EQ(w.GetVal(echThermo0, v, 8), 1);
    EXPECT_EQ(v, 5700);
    EXPECT_EQ(w.GetVal(echThermo0, v, 2), 1);
    EXPECT_EQ(Real(v), 5.7f);
    EXPECT_EQ(w.GetVal(echThermo0, v, 3), -32);
    EXPECT_EQ(v, 0);

    // -9999 means no value while the strict flag is on.
    ASSERT_EQ(w.SetVal(echRpmEng, -9999), 0);
    EXPECT_EQ(w.GetVal(echRpmEng, v), -21);
    w.Strict = 0;
    EXPECT_EQ(w.GetVal(echRpmEng, v), 0);
    EXPECT_EQ(v, -9999);

    const uint64_t stamp = MakeMeasStamp(1700000000, 250000);
    ASSERT_EQ(w.SetVal(echGPSId, "ABCDEFGHIJ", &stamp), 0);
    uint64_t got = 0;
    memset(text, 'x', sizeof text);
    EXPECT_EQ(w.GetText(echGPSId, text, 8, &got), 0);
    EXPECT_STREQ(text, "ABCDEFGH");
    EXPECT_EQ(got, stamp);
    EXPECT_EQ(w.GetText(echGPSId, text, 7), -2);
    EXPECT_EQ(w.GetText(echGPSId, nullptr, 8), -2);
    EXPECT_EQ(w.GetText(echPressOil, text, 8), -1);
    EXPECT_STREQ(text, "");
    ASSERT_EQ(w.SetVal(echGPSId, "AB"), 0);
    EXPECT_EQ(w.GetText(echGPSId, text, 8), 0);
    EXPECT_STREQ(text, "AB");

    // The info record answers the slot's type and makes a conversion answer 0.
    TMValInfo info = {MValInfoWantType, 0, 0};
    EXPECT_EQ(w.GetVal(echPressOil, v, 1, nullptr, &info), 0);
    EXPECT_EQ(info.count, 1u);
    EXPECT_EQ(info.valueType, 7u);

    EXPECT_EQ(w.GetVal(0x1234, v), -20);
    EXPECT_EQ(w.GetText(0x1234, text, 8), -20);
}

TEST_F(Values, SetValForms) {
    TMValWriter w;
    int calls = 0;
    uint32_t last = 0;
    struct Seen {
        int* calls;
        uint32_t* last;
    } seen = {&calls, &last};
    w.OnChangeData = &seen;
    w.OnChange = [](uint32_t id, void* user) {
        Seen* s = static_cast<Seen*>(user);
        ++*s->calls;
        *s->last = id;
    };
    int32_t v;
    EXPECT_EQ(w.SetVal(echGPSId, 1.5f), -32);        // no float conversion to text
    EXPECT_EQ(w.SetVal(echThermo0, NAN), -32);       // NaN never becomes an integer
    EXPECT_EQ(w.SetVal(echThermo0, 3e9f), -32);
    EXPECT_EQ(w.SetVal(echGPSId, static_cast<const char*>(nullptr)), -2);
    EXPECT_EQ(w.SetVal(0x1234, 1), -20);
    EXPECT_EQ(calls, 0);

    // An integer for a text channel is stored as type 1.
    EXPECT_EQ(w.SetVal(echGPSId, 42), 0);
    TMValInfo info = {MValInfoWantType, 0, 0};
    EXPECT_EQ(w.GetVal(echGPSId, v, -1, nullptr, &info), 0);
    EXPECT_EQ(info.valueType, 1u);
    EXPECT_EQ(v, 42);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(last, echGPSId);

    // Every store replaces the whole slot: the redirects go back to 0.
    SetRedirect(w, echVolt1, echVolt2, 0);
    SetRedirect(w, echVolt1, echVolt3, 1);
    MeasShmSlot slot;
    ASSERT_EQ(w.SetVal(echVolt1, 120), 0);
    ASSERT_EQ(w.GetChanRawData(echVolt1, &slot), 0);
    EXPECT_EQ(slot.redirect[0].Get(), 0);
    EXPECT_EQ(slot.redirect[1].Get(), 0);
    EXPECT_EQ(slot.Value(), 120);
    EXPECT_EQ(slot.type.Get(), 6u);
    EXPECT_EQ(calls, 2);

    EXPECT_EQ(w.GetChanRawData(echVolt1, nullptr), -30);
    EXPECT_EQ(w.GetChanRawData(0x1234, &slot), -20);
    EXPECT_EQ(w.ReadSlot(373, &slot), -12);
    EXPECT_EQ(w.ReadSlot(-1, &slot), -12);
    EXPECT_EQ(w.ReadSlot(0, nullptr), -10);
    EXPECT_EQ(w.WriteSlot(373, &slot), -12);
}

TEST_F(Values, Redirects) {
    TMValWriter w;
    const uint32_t chain[] = {echVolt1, echVolt2, echVolt3, echCurr1, echCurr2};
    for (int i = 0; i < 5; ++i) ASSERT_EQ(w.SetVal(chain[i], 100 * (i + 1)), 0);
    auto link = [&](uint32_t from, uint32_t to, int selector) { SetRedirect(w, from, to, selector); };
    int32_t v;
    link(echVolt1, echVolt2, 0);
    EXPECT_EQ(w.GetVal(echVolt1, v), 0);
    EXPECT_EQ(v, 200);
    char text[9];
    EXPECT_EQ(w.GetText(echVolt1, text, 8), -1);

    // At most four lookups: the fourth channel stands although it redirects on.
    link(echVolt2, echVolt3, 0);
    link(echVolt3, echCurr1, 0);
    link(echCurr1, echCurr2, 0);
    EXPECT_EQ(w.GetVal(echVolt1, v), 0);
    EXPECT_EQ(v, 400);
    int index;
    const TChannelDesc* row = TMeasuredVals::ResolveChannel(echVolt2, 0, &index);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->id, echCurr2);

    // Selector 1 reads the second word; selectors above 1 fail.
    link(echCurr2, echVolt1, 1);
    row = TMeasuredVals::ResolveChannel(echCurr2, 1, &index);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->id, echVolt1);  // whose selector-1 word is 0
    EXPECT_EQ(TMeasuredVals::ResolveChannel(echCurr2, 2, &index), nullptr);
    EXPECT_EQ(index, -1);

    // A redirect to a channel the dictionary lacks fails the read.
    link(echCurr2, 0x1234, 0);
    EXPECT_EQ(w.GetVal(echCurr2, v), -20);
    EXPECT_EQ(w.GetVal(echCurr1, v), -20);
    // Raw data never follows redirects.
    MeasShmSlot slot;
    ASSERT_EQ(w.GetChanRawData(echVolt1, &slot), 0);
    EXPECT_EQ(slot.Value(), 100);
}

using DamagedBlock = MeasuredBlockTest;

TEST_F(DamagedBlock, GarbageHeaderIsClamped) {
    ShmMapping raw = Raw(4096);  // a live writer that writes garbage
    memset(raw.Data(), 0xFF, raw.Size());  // slot count 0xFFFFFFFF, counts -1
    {
        TMValReader reader;
        TMeasAttachment a = MeasAttachment();
        ASSERT_TRUE(a.attached);
        EXPECT_EQ(a.mappedSize, 4096u);
        EXPECT_EQ(a.slots, (4096 - 256) / 64);
        int32_t v;
        EXPECT_EQ(reader.GetVal(echThermo0, v), -20);  // no slot holds it
        for (int i = 0; i < ChannelDescCount; ++i) reader.GetVal(ChannelDescTable[i].id, v, 1);

        // dashview's 373 slots do not fit into 4096 bytes: the writer fails, the reader stays.
        testing::internal::CaptureStderr();
        TMValWriter writer;
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "ERROR in Shared Memory: 4096 bytes cannot hold 373 slots\nError: " + MeasAttachRefusal() + "\n");
        EXPECT_NE(MeasAttachRefusal().find("\"" + name_ + "\": it holds 4096 bytes, too few for 373 channels."),
                  std::string::npos);
        int code = 1;
        EXPECT_TRUE(QuitRequested(&code));
        EXPECT_EQ(code, MeasExitNoBlock);
        EXPECT_EQ(MeasAttachment().UsingAsWriter, 0);
        EXPECT_EQ(writer.SetVal(echThermo0, 1), -22);  // attached as reader, no slot
        testing::internal::CaptureStderr();
    }
    std::string out = testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("ERR 1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Last ... detach shm ...\n"), std::string::npos) << out;
    EXPECT_EQ(RawU32(raw, 24), 0xFFFFFFFFu);  // counted and given back, wrapping safely
}

TEST_F(DamagedBlock, CountsOfDeadProcesses) {
    // A writer that died attached leaves NumWriters 1 behind in a valid block.
    ShmMapping other;
    {
        TMValWriter w;
        ASSERT_EQ(w.SetVal(echRpmEng, 2400), 0);
        other = Raw();
    }
    other.Data()[28] = 1;
    other.Data()[24] = 0xFF, other.Data()[25] = 0xFF, other.Data()[26] = 0xFF, other.Data()[27] = 0x7F;
    {
        // Another writer is alive: the values stand, the counts stand and wrap safely.
        TMValWriter w;
        EXPECT_EQ(w.InitialisedByMe, 0);
        int32_t v;
        EXPECT_EQ(w.GetVal(echRpmEng, v), 0);
        EXPECT_EQ(v, 2400);
        TMValReader r;
        EXPECT_EQ(RawU32(other, 24), 0x80000000u);
        EXPECT_EQ(RawU32(other, 28), 2u);
    }
    EXPECT_EQ(RawU32(other, 24), 0x7FFFFFFFu);
    {
        // The peer holds the block but writes no more: the count of 1 is stale, the writer initialises.
        ASSERT_EQ(other.MarkWriter(false), 0);
        ASSERT_EQ(RawU32(other, 28), 1u);
        TMValWriter w;
        EXPECT_EQ(w.InitialisedByMe, 1);
        ASSERT_EQ(w.SetVal(echRpmEng, 2400), 0);
    }
    other.Data()[28] = 1;
    other.Close();
    {
        // Alone with the object: the leftover count is stale and the writer initialises.
        TMValWriter w;
        EXPECT_EQ(w.InitialisedByMe, 1);
        int32_t v;
        EXPECT_EQ(w.GetVal(echRpmEng, v, 1), -31);
    }
}

TEST_F(DamagedBlock, WriterReinitialisesAHeaderThatDoesNotFit) {
    {
        ShmMapping raw = Raw(24576);
        memset(raw.Data(), 0xFF, raw.Size());
    }
    TMValWriter w;
    EXPECT_EQ(w.InitialisedByMe, 1);
    EXPECT_EQ(MeasAttachment().slots, 373);
    EXPECT_EQ(w.SetVal(echThermo0, 5), 0);
    int32_t v;
    EXPECT_EQ(w.GetVal(echThermo0, v), 0);
    EXPECT_EQ(v, 5);
}

TEST_F(DamagedBlock, RandomBlocksNeverCrash) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 40; ++round) {
        ShmMapping raw = Raw(1024 + 512 * (round % 7));  // held by its live writer while read
        {
            for (uint32_t i = 0; i < raw.Size(); ++i) raw.Data()[i] = static_cast<uint8_t>(random());
            // Some rounds look initialised, with plausible ids in the slots.
            if (round % 2) {
                raw.Data()[0] = 0x41, raw.Data()[1] = 0x42, raw.Data()[2] = 0x0F, raw.Data()[3] = 0;
                for (uint32_t off = 256 + 20; off + 4 <= raw.Size(); off += 64) {
                    uint32_t id = ChannelDescTable[random() % ChannelDescCount].id;
                    memcpy(raw.Data() + off, &id, 4);
                }
            }
        }
        TMValReader reader;
        ASSERT_TRUE(MeasAttachment().attached);
        int32_t v;
        char text[9];
        MeasShmSlot slot;
        for (int i = 0; i < ChannelDescCount; ++i) {
            uint32_t id = ChannelDescTable[i].id;
            int rc = reader.GetVal(id, v, static_cast<int>(random() % 12) - 1);
            EXPECT_TRUE(rc <= 1 && rc != -10) << rc;
            reader.GetText(id, text, 8);
            reader.GetChanRawData(id, &slot);
            TMeasuredVals::ResolveChannel(id, 1, nullptr);
        }
        reader.FreeSystemResources(0);
        raw.Close();
        ShmUnlink(name_.c_str());
    }
}

// An object under the block's name too short for a header: while another program holds
// it, attaching fails and asks to quit; left alone, it is replaced by a sound block.
TEST_F(DamagedBlock, ShortAndEmptyObjects) {
    const struct TRow {
        const char* name;
        int size;   // -1: created and never sized, by a creator that died
        bool held;  // another mapping keeps it open
        int writer;
    } rows[] = {
        {"100 bytes held by a live peer", 100, true, 0},
        {"100 bytes left behind", 100, false, 0},
        {"unsized, left behind", -1, false, 1},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        ShmUnlink(name_.c_str());
        ClearQuitRequest();
        ShmMapping peer;
        if (row.size < 0) {
            int fd = shm_open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
            ASSERT_GE(fd, 0);
            close(fd);
        } else {
            peer = Raw(static_cast<uint32_t>(row.size));
            if (!row.held) peer.Close();
        }
        testing::internal::CaptureStderr();
        {
            TMeasuredVals vals(row.writer);
            int32_t v;
            if (row.held) {
                EXPECT_FALSE(MeasAttachment().attached);
                EXPECT_EQ(vals.GetVal(echThermo0, v), -10);
                EXPECT_TRUE(QuitRequested());
            } else {
                EXPECT_EQ(MeasAttachment().mappedSize, 24576u);
                EXPECT_EQ(MeasAttachment().slots, row.writer ? 373 : 0);
                EXPECT_EQ(vals.GetVal(echThermo0, v), row.writer ? 0 : -20);
                EXPECT_FALSE(QuitRequested());
                vals.FreeSystemResources(row.writer);
            }
        }
        const std::string out = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out.rfind("ERROR in Shared Memory: 100 bytes hold no header\n", 0) == 0, row.held) << out;
    }
}

TEST(QuitRequest, FirstCodeWins) {
    ClearQuitRequest();
    int code = 7;
    EXPECT_FALSE(QuitRequested(&code));
    EXPECT_EQ(code, 7);
    RequestQuit(3);
    RequestQuit(0);
    EXPECT_TRUE(QuitRequested(&code));
    EXPECT_EQ(code, 3);
    ClearQuitRequest();
    EXPECT_FALSE(QuitRequested());
}

using TwoProcesses = MeasuredBlockTest;

TEST_F(TwoProcesses, BenchWriterFirstThenDashviewReader) {
    HelperProcess first(BenchWriter({"attach", "int", "0x200", "-1235", "text", "0x504", "ABCDEFGHIJ", "float",
                                     "0x100", "2.345", "wait", "release"}));
    EXPECT_EQ(first.Line(), "attach 1");
    EXPECT_EQ(first.Line(), "int 0");
    EXPECT_EQ(first.Line(), "text 0");
    EXPECT_EQ(first.Line(), "float 0");
    ASSERT_EQ(first.Line(), "ready");

    auto reader = std::make_unique<TMValReader>();
    TMeasAttachment a = MeasAttachment();
    ASSERT_TRUE(a.attached);
    EXPECT_EQ(a.mappedSize, 16384u);  // the creator fixed the size
    EXPECT_EQ(a.slots, 243);
    int32_t v;
    EXPECT_EQ(reader->GetVal(echPressOil, v, 1), 1);
    EXPECT_EQ(v, -12);
    EXPECT_EQ(reader->GetVal(echThermo0, v), 0);
    EXPECT_EQ(v, 23);
    char text[9];
    EXPECT_EQ(reader->GetText(echGPSId, text, 8), 0);
    EXPECT_STREQ(text, "ABCDEFGH");
    EXPECT_EQ(reader->GetVal(0x1800, v), -20);  // dashview's own channels are absent
    EXPECT_EQ(reader->GetVal(0x405, v), -20);
    EXPECT_EQ(reader->GetVal(0x1219, v), 0);     // same id, benchdesk's name for it

    // A dashview-sized writer does not fit benchdesk's block.
    {
        TMValWriter tooBig;
        EXPECT_EQ(MeasAttachment().UsingAsWriter, 0);
        EXPECT_TRUE(QuitRequested());
        EXPECT_EQ(MeasAttachment().slots, 243);
        ClearQuitRequest();
    }

    // A second writer while the first is attached keeps the values.
    HelperProcess second(BenchWriter({"attach", "get", "0x200", "7", "wait", "release"}));
    EXPECT_EQ(second.Line(), "attach 1");
    EXPECT_EQ(second.Line(), "get 0 -1235");
    ASSERT_EQ(second.Line(), "ready");
    EXPECT_EQ(second.Finish(), 0);
    EXPECT_EQ(first.Finish(), 0);
    {
        ShmMapping raw = Raw();
        EXPECT_EQ(RawU32(raw, 24), 1u);  // our reader
        EXPECT_EQ(RawU32(raw, 28), 0u);  // no writer left
    }
    // Its writers have gone: what they left reads as a block no writer initialised.
    EXPECT_EQ(reader->GetVal(echPressOil, v, 1), -20);
    EXPECT_EQ(MeasAttachment().slots, 0);

    // With no writer attached, the next one initialises the block again, and is read.
    HelperProcess third(BenchWriter({"attach", "get", "0x200", "1", "slots", "int", "0xB00", "2400", "wait"}));
    EXPECT_EQ(third.Line(), "attach 1");
    EXPECT_EQ(third.Line(), "get -31 0");
    EXPECT_EQ(third.Line(), "slots 243");
    EXPECT_EQ(third.Line(), "int 0");
    ASSERT_EQ(third.Line(), "ready");
    EXPECT_EQ(reader->GetVal(echPressOil, v, 1), -31);
    EXPECT_EQ(reader->GetText(echGPSId, text, 8), -1);
    EXPECT_EQ(reader->GetVal(echRpmEng, v), 0);
    EXPECT_EQ(v, 2400);
    EXPECT_EQ(third.Finish(), 0);

    // The last user removes the name: the next program makes a fresh block.
    reader.reset();
    ShmMapping fresh;
    ASSERT_EQ(ShmCreateOrOpen(name_.c_str(), 64, fresh), ShmOk);
    EXPECT_TRUE(fresh.Created());
}

// A writer in another process stores the engine speed and goes, releasing the block or
// killed: from then on its value is no measurement, whether a reader held the block
// meanwhile or attaches afterwards; a writer that comes back initialises and is read.
TEST_F(TwoProcesses, ValuesOfAWriterThatHasGoneAreNotRead) {
    const struct TRow { const char* name; bool killed, readerHeld; } rows[] = {
        {"released, a reader attaches afterwards", false, false},
        {"killed, a reader attaches afterwards", true, false},
        {"released while a reader holds the block", false, true},
        {"killed while a reader holds the block", true, true},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        ShmUnlink(name_.c_str());
        HelperProcess child(BenchWriter({"attach", "int", "0xB00", "4321", "wait"}));
        EXPECT_EQ(child.Line(), "attach 1");
        EXPECT_EQ(child.Line(), "int 0");
        ASSERT_EQ(child.Line(), "ready");
        std::unique_ptr<TMValReader> reader;
        int32_t v = 0;
        if (row.readerHeld) {
            reader = std::make_unique<TMValReader>();
            EXPECT_EQ(reader->GetVal(echRpmEng, v), 0);
            EXPECT_EQ(v, 4321);
        }
        EXPECT_EQ(row.killed ? child.Kill() : child.Finish(), row.killed ? -1 : 0);
        if (!reader) reader = std::make_unique<TMValReader>();
        EXPECT_EQ(reader->GetVal(echRpmEng, v), -20);
        EXPECT_EQ(MeasAttachment().slots, 0);

        HelperProcess again(BenchWriter({"attach", "get", "0xB00", "1", "int", "0xB00", "2500", "wait"}));
        EXPECT_EQ(again.Line(), "attach 1");
        EXPECT_EQ(again.Line(), "get -31 0");  // a killed writer's count kept nothing
        EXPECT_EQ(again.Line(), "int 0");
        ASSERT_EQ(again.Line(), "ready");
        EXPECT_EQ(reader->GetVal(echRpmEng, v), 0);
        EXPECT_EQ(v, 2500);
        EXPECT_EQ(again.Finish(), 0);
    }
}
