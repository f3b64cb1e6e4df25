#include "displayitems.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "averdata.h"
#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "shellstate.h"

namespace {

constexpr FGPixel Bg = 0x202020;
constexpr FGPixel Ink = 0x00C000;
constexpr FGPixel Warn = 0xFCE000;
constexpr FGPixel Alarm = 0xF20000;
constexpr int W = 200, H = 130;

// Colours found in a rectangle of the window.
struct Census {
    int ink = 0, paper = 0, bg = 0, other = 0;
};

class ItemsTest : public ::testing::Test {
protected:
    // Once per program: every suite below shares this fixture.
    static void SetUpTestSuite() {
        if (DisplayFonts[0] >= 0) return;
        for (int i = 0; i < DisplayFontCount; i++) {
            const std::string path = std::string(RUN_DIR) + "/" + DisplayFontFiles[i];
            DisplayFonts[i] = FGFontManager::register_font(path.c_str(), DisplayFontFiles[i] + 5);
            ASSERT_GE(DisplayFonts[i], 9) << path;
        }
    }

    void SetUp() override { MainWindow = &win; }
    void TearDown() override {
        MainWindow = nullptr;
        PicDialCentre = PicSlipBall = PicDigits = PicTapeDigits = nullptr;
        PicBarHorizontal = PicBarVertical = BootLogo = nullptr;
        LanguageId = 1033;
    }

    FGPixel At(int x, int y) const { return win.pixels[y * W + x]; }

    Census Count(int x0, int y0, int x1, int y1, FGPixel ink, FGPixel paper) const {
        Census c;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                const FGPixel p = At(x, y);
                if (p == ink) c.ink++;
                else if (p == paper) c.paper++;
                else if (p == Bg) c.bg++;
                else c.other++;
            }
        return c;
    }

    // Columns holding anything but the background, in rows y0..y1.
    void InkColumns(int y0, int y1, int* first, int* last) const {
        *first = W;
        *last = -1;
        for (int y = y0; y < y1; y++)
            for (int x = 0; x < W; x++)
                if (At(x, y) != Bg) {
                    *first = std::min(*first, x);
                    *last = std::max(*last, x);
                }
    }

    // The window holds exactly one w x h rectangle of colour c at (x, y).
    void ExpectOnlyRect(int x, int y, int w, int h, FGPixel c, int32_t value) const {
        int inside = 0, outside = 0;
        for (int py = 0; py < H; py++)
            for (int px = 0; px < W; px++) {
                const bool in = px >= x && px < x + w && py >= y && py < y + h;
                if (in) inside += At(px, py) == c;
                else outside += At(px, py) != Bg;
            }
        EXPECT_EQ(inside, w * h) << "value " << value;
        EXPECT_EQ(outside, 0) << "value " << value;
    }

    // Which of right, down, left and up (35 px from the dial centre) show c.
    std::string Direction(FGPixel c) const {
        std::string s;
        if (At(100, 60) == c) s += "R";
        if (At(65, 95) == c) s += "D";
        if (At(30, 60) == c) s += "L";
        if (At(65, 25) == c) s += "U";
        return s;
    }

    FGDrawBuffer win{W, H, FG_TYPE_BITMAP, Bg};
};

// ---------------------------------------------------------------- value boxes

TDisplayItem Box(int32_t value, const char* text = "") {
    TDisplayItem item{};
    item.x = 20;
    item.y = 10;
    std::strncpy(item.text, text, sizeof item.text);
    item.value = value;
    item.decimals = 1;
    item.fontCode = 10;
    item.width = 120;
    item.height = 20;
    item.warn = 200;
    item.alarm = 300;
    item.textColour = static_cast<int32_t>(Ink);
    item.warnColour = static_cast<int32_t>(Warn);
    item.alarmColour = static_cast<int32_t>(Alarm);
    return item;
}

using ValueBox = ItemsTest;

TEST_F(ValueBox, FontCodesFollowTheLanguage) {
    EXPECT_EQ(DisplayItemFont(8, 0), DisplayFonts[FontEuromode14]);
    EXPECT_EQ(DisplayItemFont(8, LanguageRussian), DisplayFonts[FontMsRefSans15]);
    EXPECT_EQ(DisplayItemFont(10, LanguageRussian), DisplayFonts[FontMsRefSans16]);
    EXPECT_EQ(DisplayItemFont(11, 1033), DisplayFonts[FontEuromode19]);
    EXPECT_EQ(DisplayItemFont(11, LanguageRussian), DisplayFonts[FontMsRefSans17]);
    EXPECT_EQ(DisplayItemFont(20, LanguageRussian), DisplayFonts[FontEuromode32]);
    EXPECT_EQ(DisplayItemFont(25, 0), DisplayFonts[FontMsRefSans32]);
    EXPECT_EQ(DisplayItemFont(9, 0), DisplayTextFont);
    EXPECT_EQ(DisplayItemFont(INT32_MIN, 0), DisplayTextFont);
}

TEST_F(ValueBox, NormalZoneIsInkOnTransparentPaperRightAligned) {
    TDisplayItem item = Box(125);   // 12.5
    DrawDisplayItem(&item);
    const int font = DisplayFonts[FontEuromode16];
    EXPECT_EQ(win.get_font(), font);
    const int tw = FGFontManager::textwidth(font, " 12.5 ");
    EXPECT_EQ(tw, FGFontManager::textwidth(font, "12.5") + 2 * FGFontManager::charwidth(font, ' '));
    const int fh = FGFontManager::get_font_height(font);
    int first, last;
    InkColumns(0, H, &first, &last);
    EXPECT_GE(first, 140 - tw + FGFontManager::charwidth(font, ' '));
    EXPECT_LT(last, 140 - FGFontManager::charwidth(font, ' '));
    const Census c = Count(0, 0, W, H, Ink, Warn);
    EXPECT_GT(c.ink, 20);
    EXPECT_EQ(c.paper, 0);
    EXPECT_EQ(c.other, 0);
    EXPECT_EQ(Count(140 - tw, 10, 140, 10 + fh, Ink, Warn).ink, c.ink);
}

TEST_F(ValueBox, WarnZoneFromWarnIsBlackOnWarningColour) {
    TDisplayItem item = Box(200);
    DrawDisplayItem(&item);
    const int font = DisplayFonts[FontEuromode16];
    const int tw = FGFontManager::textwidth(font, " 20.0 ");
    const int fh = FGFontManager::get_font_height(font);
    const Census inside = Count(140 - tw, 10, 140, 10 + fh, 0x000000, Warn);
    EXPECT_EQ(inside.ink + inside.paper, tw * fh);   // opaque cell
    EXPECT_GT(inside.ink, 20);
    EXPECT_GT(inside.paper, inside.ink);
    EXPECT_EQ(Count(0, 0, W, H, 0x000000, Warn).bg, W * H - tw * fh);
    EXPECT_EQ(At(140, 10), Bg);
    EXPECT_EQ(At(139, 10), Warn);   // trailing blank is paper
}

TEST_F(ValueBox, AlarmZoneFromAlarmIsInkOnAlarmColour) {
    for (int32_t v : {300, 301, INT32_MAX}) {
        win.clear(Bg);
        TDisplayItem item = Box(v);
        DrawDisplayItem(&item);
        const Census c = Count(0, 0, W, H, Ink, Alarm);
        EXPECT_GT(c.ink, 20) << v;
        EXPECT_GT(c.paper, c.ink) << v;
        EXPECT_EQ(c.other, 0) << v;
        EXPECT_EQ(At(139, 10), Alarm) << v;
    }
    win.clear(Bg);
    TDisplayItem below = Box(299);
    DrawDisplayItem(&below);
    EXPECT_EQ(At(139, 10), Warn);
}

TEST_F(ValueBox, WarnZeroNeverChangesColour) {
    for (int32_t v : {0, 250, 300, 100000, INT32_MAX, INT32_MIN}) {
        win.clear(Bg);
        TDisplayItem item = Box(v);
        item.warn = 0;
        DrawDisplayItem(&item);
        const Census c = Count(0, 0, W, H, Ink, Warn);
        EXPECT_GT(c.ink, 10) << v;
        EXPECT_EQ(c.paper + c.other, 0) << v;
    }
}

TEST_F(ValueBox, NoValueShowsTheTextRightAligned) {
    TDisplayItem item = Box(ItemNoValue, "- - -");
    DrawDisplayItem(&item);
    const int tw = FGFontManager::textwidth(DisplayFonts[FontEuromode16], "- - -");
    int first, last;
    InkColumns(0, H, &first, &last);
    EXPECT_GE(first, 140 - tw);
    EXPECT_LE(last, 139);
    EXPECT_GE(last, 140 - 3);   // the last dash reaches the right edge
    const Census c = Count(0, 0, W, H, Ink, Warn);
    EXPECT_GT(c.ink, 0);
    EXPECT_EQ(c.paper + c.other, 0);
}

TEST_F(ValueBox, LabelsAreCentredAndHighlightIsOpaque) {
    const int font = DisplayFonts[FontEuromode16];
    const int tw = FGFontManager::textwidth(font, "OAT");
    const int fh = FGFontManager::get_font_height(font);
    const int left = 20 + (120 - tw) / 2;

    TDisplayItem label = Box(ItemLabel, "OAT");
    DrawDisplayItem(&label);
    int first, last;
    InkColumns(0, H, &first, &last);
    EXPECT_GE(first, left);
    EXPECT_LT(last, left + tw);
    EXPECT_LE(first - left, 3);
    EXPECT_EQ(Count(0, 0, W, H, Ink, Warn).paper, 0);

    win.clear(Bg);
    TDisplayItem hl = Box(ItemHighlight, "OAT");
    DrawDisplayItem(&hl);
    const Census c = Count(left, 10, left + tw, 10 + fh, Ink, Warn);
    EXPECT_EQ(c.ink + c.paper, tw * fh);
    EXPECT_GT(c.ink, 10);
    EXPECT_EQ(Count(0, 0, W, H, Ink, Warn).bg, W * H - tw * fh);
}

TEST_F(ValueBox, PlainTextStartsAtX) {
    TDisplayItem item = Box(ItemPlainText, "TEXT");
    DrawDisplayItem(&item);
    int first, last;
    InkColumns(0, H, &first, &last);
    EXPECT_GE(first, 20);
    EXPECT_LE(first, 22);
}

TEST_F(ValueBox, UnregisteredFontKeepsTheWindowFontAndFullTextIsBounded) {
    win.set_font(DisplayFonts[FontEuromode20]);
    const int saved = DisplayTextFont;
    DisplayTextFont = 63;   // a free slot
    TDisplayItem item = Box(ItemPlainText);
    item.fontCode = 3;
    std::memset(item.text, 'M', sizeof item.text);   // no terminator
    DrawDisplayItem(&item);
    EXPECT_EQ(win.get_font(), DisplayFonts[FontEuromode20]);
    DisplayTextFont = saved;
}

TEST_F(ValueBox, ExtremeFieldsDrawNothingOutside) {
    for (int32_t v : {INT32_MIN, INT32_MAX, ItemNoValue, ItemLabel, ItemHighlight}) {
        TDisplayItem item = Box(v, "X");
        item.x = INT32_MAX;
        item.width = INT32_MAX;
        item.decimals = INT32_MIN;
        DrawDisplayItem(&item);
        item.x = INT32_MIN;
        item.width = INT32_MIN;
        item.decimals = INT32_MAX;
        item.y = INT32_MAX;
        DrawDisplayItem(&item);
    }
    EXPECT_EQ(Count(0, 0, W, H, Ink, Warn).bg, W * H);
    DrawDisplayItem(nullptr);
    MainWindow = nullptr;
    TDisplayItem item = Box(5);
    DrawDisplayItem(&item);
}

// ---------------------------------------------------------------- bars

constexpr FGPixel N = 0x00FF00, BW = 0xFFFF00, BA = 0xFF0000;

TBarItem Bar(int orientation, int32_t value) {
    TBarItem b{};
    b.x = 10;
    b.y = 10;
    b.dx = 2;
    b.dy = 3;   // the bar starts at (12, 13)
    b.orientation = orientation;
    b.min = 0;
    b.max = 200;
    b.value = value;
    const bool horizontal = orientation < 2;
    b.width = horizontal ? 100 : 8;
    b.height = horizontal ? 8 : 100;
    b.warn = 100;
    b.alarm = 150;
    b.normalColour = static_cast<int32_t>(N);
    b.warnColour = static_cast<int32_t>(BW);
    b.alarmColour = static_cast<int32_t>(BA);
    return b;
}

using BarItem = ItemsTest;

TEST_F(BarItem, GrowsRightWithZoneColours) {
    struct {
        int32_t value;
        int length;
        FGPixel colour;
    } cases[] = {{50, 25, N}, {99, 49, N}, {100, 50, BW}, {149, 74, BW},
                 {150, 76, BA}, {200, 101, BA}, {INT32_MAX, 101, BA}};
    for (const auto& k : cases) {
        win.clear(Bg);
        TBarItem b = Bar(BarRight, k.value);
        DrawBarItem(&b);
        ExpectOnlyRect(12, 13, k.length, 8, k.colour, k.value);
    }
}

TEST_F(BarItem, GrowsLeftFromTheFarEnd) {
    TBarItem b = Bar(BarLeft, 50);   // 25 px ending at column 111
    DrawBarItem(&b);
    ExpectOnlyRect(87, 13, 25, 8, N, b.value);
    win.clear(Bg);
    b.value = 1000;   // full and one more pixel to the left
    DrawBarItem(&b);
    ExpectOnlyRect(11, 13, 101, 8, BA, b.value);
}

TEST_F(BarItem, VerticalBarsGrowUpAndDownWithoutTheExtraPixel) {
    TBarItem up = Bar(BarUp, 100);   // 50 rows ending at row 112
    DrawBarItem(&up);
    ExpectOnlyRect(12, 63, 8, 50, BW, up.value);
    win.clear(Bg);
    TBarItem down = Bar(BarDown, 500);
    DrawBarItem(&down);
    ExpectOnlyRect(12, 13, 8, 100, BA, down.value);
}

TEST_F(BarItem, NothingForMaxZeroOrValuesBelowMin) {
    TBarItem b = Bar(BarRight, 50);
    b.max = 0;
    DrawBarItem(&b);
    for (int o = 0; o < 4; o++) {
        TBarItem below = Bar(o, -50);
        below.warn = -1000;   // below min in the warning zone: still empty
        DrawBarItem(&below);
        TBarItem bad = Bar(o + 4, 50);   // unknown orientation
        DrawBarItem(&bad);
    }
    EXPECT_EQ(Count(0, 0, W, H, N, BW).bg, W * H);
}

TEST_F(BarItem, MinEqualToMaxIsEmptyBelowAndFullFromIt) {
    TBarItem b = Bar(BarRight, 70);
    b.min = b.max = 80;
    DrawBarItem(&b);
    EXPECT_EQ(At(12, 13), Bg);
    b.value = 80;
    DrawBarItem(&b);
    EXPECT_EQ(At(111, 13), N);
    EXPECT_EQ(At(112, 13), Bg);
}

TEST_F(BarItem, ExtremeFieldsNeitherOverflowNorWrap) {
    const int32_t ex[] = {INT32_MIN, -1, 0, 1, INT32_MAX};
    for (int o = 0; o < 4; o++)
        for (int32_t a : ex)
            for (int32_t b : ex) {
                TBarItem bar = Bar(o, a);
                bar.min = b;
                bar.max = a == 0 ? 1 : a == INT32_MIN ? INT32_MAX : -a;
                bar.x = a;
                bar.dx = b;
                bar.width = a;
                bar.height = b;
                bar.warn = b;
                bar.alarm = a;
                DrawBarItem(&bar);
            }
    // A huge range still shows a value near max at full length, not wrapped.
    win.clear(Bg);
    TBarItem wide = Bar(BarRight, INT32_MAX);
    wide.min = INT32_MIN;
    wide.max = INT32_MAX;
    wide.warn = wide.alarm = INT32_MAX;
    DrawBarItem(&wide);
    EXPECT_EQ(At(112, 13), BA);
}

// ---------------------------------------------------------------- dial needles

constexpr FGPixel NeedleColour = 0xFFFFFF;

TDialItem Dial(int32_t value) {
    TDialItem d{};
    d.cx = 60;
    d.cy = 55;
    d.dx = 5;
    d.dy = 5;   // centre (65, 60)
    d.min = 0;
    d.max = 100;
    d.startAngle = 0;   // right
    d.endAngle = 180;   // through down to left
    d.value = value;
    d.radius = 40;
    d.width = 8;
    d.enabled = 1;
    d.colour = static_cast<int32_t>(NeedleColour);
    return d;
}

using DialNeedle = ItemsTest;

TEST_F(DialNeedle, PointsAtStartMiddleAndEnd) {
    const struct {
        int32_t value;
        const char* dir;
    } cases[] = {{0, "R"}, {50, "D"}, {100, "L"}};
    for (const auto& k : cases) {
        win.clear(Bg);
        TDialItem d = Dial(k.value);
        DrawDialNeedle(&d);
        EXPECT_EQ(Direction(NeedleColour), k.dir) << k.value;
        EXPECT_EQ(At(65, 60), NeedleColour);
        EXPECT_EQ(At(106, 60), Bg);   // radius 40 ends at column 105
    }
    EXPECT_EQ(win.get_mode(), 0u);
}

TEST_F(DialNeedle, DescendingAnglesStartAtTheStartAngle) {
    TDialItem d = Dial(0);
    d.startAngle = 180;
    d.endAngle = 0;
    DrawDialNeedle(&d);
    EXPECT_EQ(Direction(NeedleColour), "L");
    win.clear(Bg);
    d.value = 100;
    DrawDialNeedle(&d);
    EXPECT_EQ(Direction(NeedleColour), "R");
    win.clear(Bg);
    d.startAngle = 270;   // from up back through 135 degrees to the right
    d.endAngle = 0;
    d.value = 50;
    DrawDialNeedle(&d);
    EXPECT_EQ(At(65 - 25, 60 + 25), NeedleColour);
    EXPECT_EQ(Direction(NeedleColour), "");
}

TEST_F(DialNeedle, ValuesOutsideTheRangeAreClampedInTheRecord) {
    TDialItem d = Dial(-500);
    DrawDialNeedle(&d);
    EXPECT_EQ(d.value, 0);
    EXPECT_EQ(Direction(NeedleColour), "R");
    win.clear(Bg);
    d.value = INT32_MAX;
    DrawDialNeedle(&d);
    EXPECT_EQ(d.value, 100);
    EXPECT_EQ(Direction(NeedleColour), "L");
}

TEST_F(DialNeedle, MinEqualToMaxPointsAtTheStart) {
    TDialItem d = Dial(7);
    d.min = d.max = 30;
    DrawDialNeedle(&d);
    EXPECT_EQ(d.value, 30);
    EXPECT_EQ(Direction(NeedleColour), "R");
}

TEST_F(DialNeedle, DisabledDrawsNothingAndCentrePictureIsKeyed) {
    TDialItem d = Dial(50);
    d.enabled = 0;
    DrawDialNeedle(&d);
    EXPECT_EQ(Count(0, 0, W, H, NeedleColour, 0).bg, W * H);

    FGBitmap centre(14, 14, 0x3030FF);
    centre.set_colorkey(PageKeyColour);
    centre.pixels[0] = PageKeyColour;   // transparent corner
    PicDialCentre = &centre;
    d.enabled = 1;
    DrawDialNeedle(&d);
    EXPECT_EQ(At(65, 60), 0x3030FFu);
    EXPECT_EQ(At(58, 54), 0x3030FFu);
    EXPECT_EQ(At(71, 66), 0x3030FFu);
    EXPECT_EQ(At(58, 53), Bg);   // the key pixel leaves the window alone
    EXPECT_EQ(At(65, 90), NeedleColour);
}

TEST_F(DialNeedle, ExtremeFieldsAreSafe) {
    const int32_t ex[] = {INT32_MIN, -1, 0, 1, INT32_MAX};
    for (int32_t a : ex)
        for (int32_t b : ex) {
            TDialItem d = Dial(a);
            d.min = b;
            d.max = a;
            d.startAngle = a;
            d.endAngle = b;
            d.radius = b;
            d.width = a;
            d.cx = a;
            d.dx = b;
            DrawDialNeedle(&d);
            EXPECT_GE(d.value, std::min(a, b));
            EXPECT_LE(d.value, std::max(a, b));
        }
}

// ---------------------------------------------------------------- with value boxes

using WithItem = ItemsTest;

TEST_F(WithItem, ForceFlagSubstitutesTheChannelAndBlanksTheDialBox) {
    TAverData aver(nullptr, 50);
    ASSERT_EQ(aver.AddChannel(0x21, 0, 1, 1), 0);
    AverReader = &aver;
    TAverChannel* ch = aver.FindChannel(0x21);

    TBarItem b = Bar(BarRight, 0);
    TDisplayItem item = Box(42);
    DrawBarWithItem(&b, &item, 0x21, 1);   // value not above min
    EXPECT_EQ(ch->SubstPending, 0);
    b.value = 20;
    DrawBarWithItem(&b, &item, 0x21, 0);
    EXPECT_EQ(ch->SubstPending, 0);
    DrawBarWithItem(&b, &item, 0x21, 1);
    EXPECT_EQ(ch->SubstPending, 1);
    EXPECT_EQ(ch->SubstValue, -32);
    EXPECT_EQ(At(12, 13), N);   // bar drawn, then the box
    EXPECT_EQ(item.value, 42);

    ch->SubstPending = 0;
    TDialItem d = Dial(0);
    DrawDialWithItem(&d, &item, 0x21, 1);
    EXPECT_EQ(item.value, ItemNoValue);
    EXPECT_EQ(ch->SubstPending, 0);
    d.value = 10;
    DrawDialWithItem(&d, &item, 0x21, 1);
    EXPECT_EQ(ch->SubstPending, 1);
    AverReader = nullptr;
    DrawDialWithItem(&d, &item, 0x21, 1);   // no reader yet: nothing forced
}

// ---------------------------------------------------------------- picture aids

// A picture whose every pixel tells its own column and row.
FGBitmap* Coded(int w, int h) {
    auto* p = new FGBitmap(w, h, 0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) p->pixels[y * w + x] = 0x100000u | (x << 10) | y;
    return p;
}
FGPixel Code(int x, int y) { return 0x100000u | (x << 10) | y; }

using PictureAids = ItemsTest;

TEST_F(PictureAids, DigitStringsCopyCellsAndAdvance) {
    std::unique_ptr<FGBitmap> digits(Coded(10, 202));
    PicDigits = digits.get();
    DrawDigitString(4, 20, "1-2x", &win);
    EXPECT_EQ(At(4, 20), Code(0, 19));        // '1'
    EXPECT_EQ(At(13, 31), Code(9, 30));
    EXPECT_EQ(At(14, 20), Code(0, 190));      // '-' advancing 5
    EXPECT_EQ(At(19, 20), Code(0, 38));       // '2' over the dash cell
    EXPECT_EQ(At(28, 20), Code(9, 38));
    EXPECT_EQ(At(29, 20), Bg);                // 'x' skipped
    EXPECT_EQ(At(4, 32), Bg);
}

TEST_F(PictureAids, TapeDigitsAlignAndClip) {
    std::unique_ptr<FGBitmap> tape(Coded(16, 280));
    PicTapeDigits = tape.get();
    EXPECT_EQ(DrawTapeDigits(100, 50, "12", &win, 1, 40, 1), 0);   // not above the clip
    EXPECT_EQ(At(72, 50), Code(0, 31));      // 100 - 28
    EXPECT_EQ(At(71, 50), Bg);
    EXPECT_EQ(At(86, 67), Code(0, 56 + 17));
    EXPECT_EQ(At(101, 50), Code(15, 56));

    win.clear(Bg);
    EXPECT_EQ(DrawTapeDigits(10, 30, "7-", &win, 1, 40, 0), 10);
    // 8 lower rows, shifted down by the 10 rows cut
    EXPECT_EQ(At(10, 39), Bg);
    EXPECT_EQ(At(10, 40), Code(0, 7 * 25 + 6 + 10));
    EXPECT_EQ(At(10, 47), Code(0, 7 * 25 + 6 + 17));
    EXPECT_EQ(At(10, 48), Bg);
    EXPECT_EQ(At(24, 40), Code(0, 258 + 10));   // '-' after 14
    EXPECT_EQ(At(34, 40), Bg);

    win.clear(Bg);
    EXPECT_EQ(DrawTapeDigits(10, 22, "5", &win, 1, 40, 0), 18);   // no rows left
    EXPECT_EQ(DrawTapeDigits(10, INT32_MIN, "5", &win, 1, 40, 0), INT32_MAX);
    EXPECT_EQ(Count(0, 0, W, H, 0, 0).bg, W * H);
}

TEST_F(PictureAids, TilingCutsTheLastCopyAndSkipsEmptyPictures) {
    std::unique_ptr<FGBitmap> pic(Coded(7, 3));
    TileHorizontal(2, 5, 17, pic.get(), &win);
    EXPECT_EQ(At(2, 5), Code(0, 0));
    EXPECT_EQ(At(9, 7), Code(0, 2));
    EXPECT_EQ(At(18, 5), Code(2, 0));
    EXPECT_EQ(At(19, 5), Bg);
    EXPECT_EQ(At(2, 8), Bg);
    TileVertical(150, 0, 8, pic.get(), &win);
    EXPECT_EQ(At(156, 7), Code(6, 1));
    EXPECT_EQ(At(150, 8), Bg);
    EXPECT_EQ(At(157, 0), Bg);

    win.clear(Bg);
    const int far = -1000000000;   // only the copies inside the window are made
    TileHorizontal(far, 0, INT32_MAX, pic.get(), &win);
    EXPECT_EQ(At(0, 0), Code(-far % 7, 0));
    EXPECT_EQ(At(W - 1, 2), Code((W - 1 - far) % 7, 2));
    FGBitmap empty(0, 0, 0);
    win.clear(Bg);
    TileHorizontal(0, 0, 50, &empty, &win);
    TileVertical(0, 0, 50, nullptr, &win);
    TileVertical(0, 0, 50, pic.get(), nullptr);
    EXPECT_EQ(Count(0, 0, W, H, 0, 0).bg, W * H);
}

TEST_F(PictureAids, PictureBarWithMarkerAndEndMarks) {
    FGBitmap bar(5, 8, 0x4080C0);
    PicBarHorizontal = &bar;
    TBarItem b = Bar(BarRight, 0);
    b.dx = 20;
    b.dy = 40;
    b.warn = 104;
    DrawPictureBar(b, 100);   // 50 px
    EXPECT_EQ(At(20, 40), 0x4080C0u);
    EXPECT_EQ(At(67, 47), 0x4080C0u);
    EXPECT_EQ(At(68, 42), 0x000000u);   // marker 2 x 10
    EXPECT_EQ(At(69, 51), 0x000000u);
    EXPECT_EQ(At(70, 40), Bg);
    EXPECT_EQ(At(16, 34), 0xFFFFFFu);   // end marks 3 x 27
    EXPECT_EQ(At(18, 60), 0xFFFFFFu);
    EXPECT_EQ(At(124, 34), 0xFFFFFFu);
    EXPECT_EQ(At(127, 34), Bg);

    win.clear(Bg);
    FGBitmap vbar(8, 5, 0x60A020);
    PicBarVertical = &vbar;
    TBarItem d = Bar(BarDown, 0);
    d.dx = 30;
    d.dy = 20;
    DrawPictureBar(d, 100);   // 50 rows
    EXPECT_EQ(At(24, 16), 0xFFFFFFu);   // 27 x 3 mark
    EXPECT_EQ(At(37, 69), 0x60A020u);
    EXPECT_EQ(At(30, 70), Bg);
    DrawPictureBar(d, INT32_MIN);   // clamped to empty
    TBarItem flat = d;
    flat.min = flat.max = 5;
    DrawPictureBar(flat, 5);
    EXPECT_EQ(At(37, 119), 0x60A020u);   // full from min up
}

TEST_F(PictureAids, SlipBallIsClampedAndHiddenByTheThirdWord) {
    FGBitmap ball(30, 30, 0xE0E0E0);
    PicSlipBall = &ball;
    int32_t record[14] = {};
    record[7] = 100;
    record[8] = 60;
    DrawSlipBall(record, 500);   // +80
    EXPECT_EQ(At(166, 46), 0xE0E0E0u);
    EXPECT_EQ(At(195, 75), 0xE0E0E0u);
    EXPECT_EQ(At(165, 46), Bg);
    EXPECT_EQ(At(78, 45), 0xFFFFFFu);
    EXPECT_EQ(At(122, 74), 0xFFFFFFu);
    win.clear(Bg);
    record[2] = 1;
    DrawSlipBall(record, 0);
    EXPECT_EQ(Count(0, 0, W, H, 0, 0).bg, W * H);
}

TEST_F(PictureAids, BootLogoCentredOnBlack) {
    DrawBootLogo();   // none loaded
    EXPECT_EQ(At(0, 0), Bg);
    FGBitmap logo(51, 31, 0xC0C0C0);
    BootLogo = &logo;
    DrawBootLogo();
    EXPECT_EQ(At(0, 0), 0u);
    EXPECT_EQ(At(74, 49), 0xC0C0C0u);
    EXPECT_EQ(At(124, 79), 0xC0C0C0u);
    EXPECT_EQ(At(73, 49), 0u);
    EXPECT_EQ(At(125, 79), 0u);
}

TEST(ShellState, PaletteHoldsTheStartUpColours) {
    EXPECT_EQ(DisplayPalette.PalFocusYellow, 0xFCE000u);
    BuildDisplayPalette();
    EXPECT_EQ(DisplayPalette.PalRed, 0xF20000u);
    EXPECT_EQ(DisplayPalette.PalBlue, 0x0101FEu);
    EXPECT_EQ(DisplayPalette.PalNavGreen, DisplayPalette.PalGreen);
    EXPECT_EQ(DisplayPalette.PalOverlayPanel, 0xD2D2E1u);
    EXPECT_EQ(DisplayPalette.PalKey, 0xF000F0u);
    EXPECT_EQ(DisplayPalette.PalBlack, 0u);
    EXPECT_EQ(DisplayPalette.PalOverlayText, 0u);
    EXPECT_EQ(DisplayPalette.PalGrey128, 0x808080u);
}

}  // namespace
