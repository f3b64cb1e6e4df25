// The status bar, the soft-key buttons and captions and the level sliders drawn
// into an 800 x 480 buffer used as the main window, probed at known pixels.
#include "statusbar.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "aver_block.h"
#include "averdata.h"
#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "page_assets.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "units.h"
// The bench's bezel geometry (constants only).
#include "../bench/Unit1.h"

namespace {

constexpr FGPixel Bg = 0x303030;
constexpr FGPixel Black = 0x000000;
constexpr FGPixel White = 0xFFFFFF;
constexpr FGPixel Focus = 0xFCE000;
constexpr FGPixel Green = 0x00F800;

const char* Labels(int key) {
    switch (key) {
        case '0': return "MENU";
        case '2': return "BARO";
        case '3': return "";
        case '4': return "NAV";
        case '5': return "MAP";
        case '1': return "PAGE";
        default: return nullptr;
    }
}

class StatusBar : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    static void TearDownTestSuite() { FreeMainPictures(); }

    void SetUp() override {
        MainWindow = &win;
        SoftKeyLabel = Labels;
        LayoutCaps = CapEnginePage | CapFlightPage;
        KeyBarHeight = 15;
        RefreshValues.batRemain = NoValue;
    }
    void TearDown() override {
        MainWindow = nullptr;
        SoftKeyLabel = nullptr;
        KeyPressed = 0;
        KeyAlarmBlink = 0;
        std::memset(StatusInputFlags, 0, sizeof StatusInputFlags);
        PowerOffMonitoring = PowerOffMissCount = 0;
        OneSecondCountdown[0] = OneSecondCountdown[1] = 0;
        DemoMarker = 0;
        RefreshValues = TRefreshValues{};
        BrightnessSetting.level = 500;
        for (TDisplayItem& it : SoftKeyCaptions6) it.text[0] = '\0';
    }

    void Frame() {
        win.clear(Bg);
        DrawStatusBar(&win);
    }
    FGPixel At(int x, int y) const { return win.pixels[y * 800 + x]; }
    int Count(int x0, int y0, int x1, int y1, FGPixel c) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += At(x, y) == c;
        return n;
    }
    static int StatusFont() { return DisplayFonts[FontEuromode16]; }
    // The framed status text at (x, 0): yellow frame exactly the text's width wide.
    void ExpectFramed(int x, const char* text) const {
        const int tw = FGFontManager::textwidth(StatusFont(), text);
        EXPECT_EQ(At(x, 0), Focus) << text;
        EXPECT_EQ(At(x + tw - 1, 16), Focus) << text;
        EXPECT_EQ(At(x + tw - 1, 8), Focus) << text;
        EXPECT_NE(At(x + tw, 8), Focus) << text;
        EXPECT_GT(Count(x + 1, 1, x + tw - 1, 16, Focus), 20) << text;
        EXPECT_GT(Count(x + 1, 1, x + tw - 1, 16, Black), 20) << text;
    }

    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, Bg};
};

TEST_F(StatusBar, CaptionBarGrowsWhileAKeyIsPressedAndShrinksAfter) {
    KeyPressed = 1;
    const int heights[5] = {18, 21, 24, 25, 25};
    for (int h : heights) {
        Frame();
        EXPECT_EQ(KeyBarHeight, h);
        EXPECT_EQ(At(400, 480 - h), Black) << h;
        EXPECT_EQ(At(400, 479 - h), Bg) << h;
    }
    KeyPressed = 0;
    for (int h : {22, 19, 16, 15, 15}) {
        Frame();
        EXPECT_EQ(KeyBarHeight, h);
    }
}

TEST_F(StatusBar, ButtonsOnlyAtFullHeightAndOnlyForKeysWithLabels) {
    const FGBitmap* wide = MainPictures[PicTlacitko];
    const FGBitmap* narrow = MainPictures[PicTlacitko1];
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(narrow, nullptr);
    const FGPixel face = wide->pixels[10 * wide->width + 50];
    KeyPressed = 1;
    for (int i = 0; i < 3; ++i) {
        Frame();
        EXPECT_EQ(Count(0, 455, 800, 480, face), 0) << "frame " << i;
    }
    Frame();   // 25: the buttons appear
    EXPECT_EQ(At(119 + 50, 458 + 10), face);            // '2' has a label
    EXPECT_EQ(At(10 + 45, 458 + 10), narrow->pixels[10 * narrow->width + 45]);   // '0', 90 px
    EXPECT_NE(At(239 + 50, 458 + 10), face);            // '3' has none
    EXPECT_EQ(At(579 + 50, 458 + 10), face);
    // The red set while the alarm blinks.
    KeyAlarmBlink = 1;
    Frame();
    const FGBitmap* red = MainPictures[PicTlacitkoRed];
    EXPECT_EQ(At(119 + 50, 458 + 10), red->pixels[10 * red->width + 50]);
}

TEST_F(StatusBar, CaptionsTakeTheLabelsCentredOnTheirButtons) {
    UpdateSoftKeyCaptions(0);
    EXPECT_STREQ(SoftKeyCaptions6[0].text, "MENU");
    EXPECT_STREQ(SoftKeyCaptions6[2].text, "");
    EXPECT_STREQ(SoftKeyCaptions6[5].text, "PAGE");
    Frame();
    // "BARO" centred in the 100 px of key '2' at x 119.
    const int font = DisplayFonts[FontEuromode14];
    const int tw = FGFontManager::textwidth(font, "BARO");
    const int x0 = 119 + (100 - tw) / 2;
    EXPECT_GT(Count(x0, 458, x0 + tw, 480, White), 15);
    EXPECT_EQ(Count(119, 458, x0 - 1, 480, White), 0);
    EXPECT_EQ(Count(x0 + tw + 1, 458, 219, 480, White), 0);
    // A held key: the larger font, 7 px higher, once.
    KeyPressed = 1;
    UpdateSoftKeyCaptions(21);
    UpdateSoftKeyCaptions(30);
    EXPECT_EQ(SoftKeyCaptions6[1].fontCode, 11);
    EXPECT_EQ(SoftKeyCaptions6[1].y, 455);
    KeyPressed = 0;
    UpdateSoftKeyCaptions(30);
    EXPECT_EQ(SoftKeyCaptions6[1].fontCode, 8);
    EXPECT_EQ(SoftKeyCaptions6[1].y, 462);
}

// The bezel of the bench: each of its keys under the caption that the display draws for
// it, the knobs' pushes under '0' and '1'. The captions are found in the frame as the
// runs of their ink along the caption bar.
TEST_F(StatusBar, EachBezelKeySitsUnderItsCaption) {
    SoftKeyLabel = [](int) { return "MENU"; };
    UpdateSoftKeyCaptions(0);
    Frame();
    std::vector<std::pair<int, int>> runs;  // first and last column with caption ink
    for (int x = 0; x < 800; ++x) {
        if (Count(x, 458, x + 1, 480, White) == 0) continue;
        if (runs.empty() || x - runs.back().second > 12)
            runs.push_back({x, x});
        else
            runs.back().second = x;
    }
    ASSERT_EQ(runs.size(), 6u);
    struct Row {
        char key;
        int button;  // its bezel button
    } rows[] = {{'0', 0}, {'2', 6}, {'3', 7}, {'4', 8}, {'5', 9}, {'1', 3}};
    for (int i = 0; i < 6; ++i) {
        const TBezelButton& b = BezelButtons[rows[i].button];
        ASSERT_EQ(b.character, rows[i].key);
        const int caption = (runs[size_t(i)].first + runs[size_t(i)].second + 1) / 2 + DisplayOffsetX;
        EXPECT_NEAR(b.x + b.w / 2, caption, 2) << "key " << rows[i].key;
    }
    EXPECT_EQ(KnobCentreX[0], BezelButtons[0].x + BezelButtons[0].w / 2);
    EXPECT_EQ(KnobCentreX[1], BezelButtons[3].x + BezelButtons[3].w / 2);
}

TEST_F(StatusBar, EightKeyButtonsFollowTheirCaptionItems) {
    LayoutCaps |= 0x100;
    KeyPressed = 1;
    KeyBarHeight = 25;
    Frame();
    const FGBitmap* n78 = MainPictures[PicTlacitko2];
    const FGBitmap* n90 = MainPictures[PicTlacitko1];
    EXPECT_EQ(At(SoftKeyCaptions8[0].x + 3 + 39, 468), n78->pixels[10 * n78->width + 39]);   // '0'
    EXPECT_EQ(At(SoftKeyCaptions8[1].x + 5 + 45, 468), n90->pixels[10 * n90->width + 45]);   // '2'
    EXPECT_EQ(At(SoftKeyCaptions8[7].x + 3 + 39, 468), n78->pixels[10 * n78->width + 39]);   // '1'
    EXPECT_NE(At(SoftKeyCaptions8[3].x + 5 + 45, 468), n90->pixels[10 * n90->width + 45]);   // '6': no label
}

TEST_F(StatusBar, StatusLineByPowerInputs) {
    Frame();
    EXPECT_EQ(Count(0, 0, 400, 18, Focus), 0);   // nothing to say

    StatusInputFlags[0] = 1;
    Frame();
    ExpectFramed(0, " BATTERY POWER  ");
    RefreshValues.batRemain = 150 * 60;
    Frame();
    ExpectFramed(0, " BATTERY POWER: 150 min ");

    StatusInputFlags[0] = 0;
    StatusInputFlags[1] = 1;
    Frame();
    ExpectFramed(0, " EXTERNAL POWER ");

    StatusInputFlags[1] = 0;
    PowerOffMonitoring = 1;
    PowerOffMissCount = 2;
    Frame();
    ExpectFramed(0, " MAIN SWITCH OFF ");

    OneSecondCountdown[CountdownSquelch] = 2;   // overwrites the power text
    CommRuntime.squelch = 1;
    Frame();
    ExpectFramed(0, " Squelch ON ");
    CommRuntime.squelch = 0;
}

TEST_F(StatusBar, PowerDetailWithoutChannelsShowsDashes) {
    OneSecondCountdown[CountdownPowerDetail] = 3;
    Frame();
    const int font = StatusFont();
    const int w = FGFontManager::textwidth(font, " MAIN INPUT POWER:  - - - V ");
    EXPECT_EQ(At(w - 1, 50), Focus);
    EXPECT_EQ(At(w - 1, 25), Focus);
    EXPECT_NE(At(w, 25), Focus);
    EXPECT_EQ(At(w - 2, 49), Black);
    EXPECT_GT(Count(1, 33, w - 1, 49, Focus), 30);
}

TEST_F(StatusBar, DemoMarkCentredAtTheBottom) {
    DemoMarker = DemoMarkerValue;
    Frame();
    const int tw = FGFontManager::textwidth(StatusFont(), "DEMO MODE");
    int first = 800, last = -1;
    for (int y = 468; y < 480; ++y)
        for (int x = 0; x < 800; ++x)
            if (At(x, y) == 0xF80000) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_GE(last, 0);
    EXPECT_GE(first, 400 - tw / 2);
    EXPECT_LE(last, 400 - tw / 2 + tw);
    EXPECT_LT(std::abs((first + last) / 2 - 400), 6);
}

// ---------------------------------------------------------------- sliders

TEST_F(StatusBar, LevelSliderFillsByBrightnessAndClamps) {
    win.clear(Bg);
    BrightnessSetting.level = 500;
    DrawLevelSlider();
    EXPECT_EQ(At(239, 200), White);          // frame corner
    EXPECT_EQ(At(239 + 299, 229), White);
    EXPECT_EQ(At(239 + 149, 215), Green);    // 150 px filled
    EXPECT_EQ(At(239 + 150, 215), 0u);       // the empty part has its own ground
    win.clear(Bg);
    BrightnessSetting.level = 1200;
    DrawLevelSlider();
    EXPECT_EQ(BrightnessSetting.level, 1000);
    EXPECT_EQ(At(239 + 298, 215), Green);
    win.clear(Bg);
    BrightnessSetting.level = -40;
    DrawLevelSlider();
    EXPECT_EQ(BrightnessSetting.level, 0);
    EXPECT_EQ(Count(239, 200, 539, 230, Green), 0);
}

TEST_F(StatusBar, PercentSlidersAtTheirPlaces) {
    win.clear(Bg);
    CommRuntime.volume = 40;
    CommRuntime.squelchLevel = 250;
    DrawPercentSlider1();
    DrawPercentSlider2();
    EXPECT_EQ(At(45 + 119, 425), Green);
    EXPECT_EQ(At(45 + 120, 425), 0u);
    EXPECT_EQ(CommRuntime.squelchLevel, 100);
    EXPECT_EQ(At(445 + 298, 425), Green);
    EXPECT_EQ(At(445, 410), White);
    EXPECT_EQ(At(445 + 299, 439), White);
}

TEST_F(StatusBar, SnapshotOfTheStatusBar) {
    UpdateSoftKeyCaptions(0);
    KeyPressed = 1;
    KeyBarHeight = 25;
    StatusInputFlags[0] = 1;
    RefreshValues.batRemain = 75 * 60;
    DemoMarker = DemoMarkerValue;
    Frame();
    BrightnessSetting.level = 650;
    DrawLevelSlider();
    CommRuntime.volume = 70;
    CommRuntime.squelchLevel = 30;
    DrawPercentSlider1();
    DrawPercentSlider2();
    SavePageSnapshot(win, "status_bar.bmp");
    // On the battery with its time known, and the two sliders filled to 70 and 30 %.
    ExpectFramed(0, " BATTERY POWER: 75 min ");
    EXPECT_EQ(At(45 + 209, 425), Green);
    EXPECT_NE(At(45 + 210, 425), Green);
    EXPECT_EQ(At(445 + 89, 425), Green);
    EXPECT_NE(At(445 + 90, 425), Green);
}

// ---------------------------------------------------------------- values from the block

class StatusBarBlock : public AverBlockTest {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    static void TearDownTestSuite() { FreeMainPictures(); }
    void SetUp() override {
        AverBlockTest::SetUp();
        SubscribeDisplayChannels();
        MainWindow = &win;
        win.clear(Bg);
    }
    void TearDown() override {
        MainWindow = nullptr;
        OneSecondCountdown[CountdownPowerDetail] = 0;
        AverBlockTest::TearDown();
    }
    FGPixel At(int x, int y) const { return win.pixels[y * 800 + x]; }
    // The window shows text at (x, y) as the status font draws it, ink on paper.
    void ExpectText(int x, int y, const char* text, FGPixel ink, FGPixel paper) const {
        FGDrawBuffer ref(800, 480, FG_TYPE_BITMAP, Bg);
        ref.set_font(DisplayFonts[FontEuromode16]);
        ref.text(x, y, text, ink, paper);
        const int tw = FGFontManager::textwidth(DisplayFonts[FontEuromode16], text);
        int differ = 0;
        for (int py = y + 1; py < y + 15; ++py)
            for (int px = x + 1; px < x + tw - 1; ++px) differ += At(px, py) != ref.pixels[py * 800 + px];
        EXPECT_EQ(differ, 0) << text;
    }
    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, Bg};
};

TEST_F(StatusBarBlock, PowerDetailShowsVoltsAndTenths) {
    ASSERT_GE(writer->SetVal(echInternalBat1, 12.64f), 0);
    ASSERT_GE(writer->SetVal(echInternalExtBat, 13.8f), 0);
    OneSecondCountdown[CountdownPowerDetail] = 2;
    DrawStatusBar(&win);
    ExpectText(0, 1, " BATTERY POWER:  12.6 V ", Focus, Black);
    ExpectText(0, 17, " EXTERNAL POWER:  13.8 V ", Focus, Black);
    ExpectText(0, 32, " MAIN INPUT POWER:  - - - V ", Focus, Black);
}

TEST_F(StatusBarBlock, RecordingLineWithTheGyroTimeStamp) {
    ASSERT_GE(writer->SetVal(echInternalInputStatus, 0x8000), 0);
    const uint64_t stamp = MakeMeasStamp(1700000000u, 250000u);
    ASSERT_GE(writer->SetVal(echInercialGyroX, 1.5f, &stamp), 0);
    aver->Tick();
    DrawStatusBar(&win);
    const int tw = FGFontManager::textwidth(DisplayFonts[FontEuromode16], " SD CARD: rec ");
    EXPECT_EQ(At(40, 0), Focus);
    EXPECT_EQ(At(40 + tw - 1, 8), Focus);
    ExpectText(0, 150, "[R] 1700000000.250000  ", White, Black);
}

}  // namespace
