// The entertainment screen: its key machine over a temporary media tree, its ticks, the
// shell's hooks around it, its pictures, and a probed frame of each mode.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "ent_media.h"
#include "entdraw.h"
#include "entertainer.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgwindow.h"
#include "menulinks.h"
#include "overlays.h"
#include "page_assets.h"
#include "refreshlinks.h"
#include "shellhooks.h"
#include "shellstate.h"

using namespace NEnt;

namespace {

int ScreenKeyBinds = 0;
int SoftKeyDispatches = 0;

class EntertainerTest : public ::testing::Test {
protected:
    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, 0};
    TMediaTree tree;
    int savedDevice = 0;
    int32_t savedMarker = 0;

    void SetUp() override {
        LoadPageAssets();
        InRunDir([] { LoadEntertainerImages(); });
        InstallEntLinks();
        savedDevice = DeviceID;
        savedMarker = DemoMarker;
        DeviceID = 27;
        DemoMarker = 0;
        PowerOffState = 0;
        ScreenKeyBinds = SoftKeyDispatches = 0;
        RefreshHooks.BindScreenKeys = [] { ++ScreenKeyBinds; };
        MenuLinks.DispatchKey = [](int) { ++SoftKeyDispatches; };
        VideoPlayer = CVideoPlayer();
        tree.Dir("films");
        tree.File("films/alpha.3gp");
        tree.File("films/readme.txt");
        tree.File("top.3GP");
    }
    void TearDown() override {
        DestroyEntertainer();
        FreeEntertainerImages();
        DeviceID = savedDevice;
        DemoMarker = savedMarker;
        PowerOffState = 0;
        RefreshHooks.BindScreenKeys = nullptr;
        MenuLinks.DispatchKey = nullptr;
        MainWindow = nullptr;
    }

    CEntertainer* Open() {
        CEntertainer* e = nullptr;
        InRunDir([&] {
            EXPECT_TRUE(CreateEntertainer(&win));
            e = TheEntertainer();
        });
        return e;
    }

    // Keys as the main window hands them over.
    void Keys(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            FGEvent ev{};
            ev.type = FGE_KEY;
            ev.key = *k;
            OnMainWindowEvent(nullptr, &ev);
        }
    }

    static int Row(const CFileBrowser& b, const char* name) {
        for (int i = 0; i < b.count; ++i)
            if (std::strcmp(b.entries[static_cast<size_t>(i)].name, name) == 0) return i;
        return -1;
    }
    void BrowseTo(CEntertainer* e, const char* name) {
        const int row = Row(e->browser, name);
        ASSERT_GE(row, 0) << name;
        while (e->browser.cursor > row) Keys("d");
        while (e->browser.cursor < row) Keys("a");
    }
    uint32_t Px(int x, int y) const { return win.pixels[y * win.width + x]; }
    int CountColour(int x0, int y0, int w, int h, uint32_t c) const {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += Px(x, y) == c;
        return n;
    }
};

}  // namespace

TEST_F(EntertainerTest, OpeningSetsTheShellStateAndTheRefreshPeriod) {
    CEntertainer* e = Open();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Entertainer, e);
    EXPECT_NE(RefreshHooks.EntertainerTick, nullptr);
    EXPECT_EQ(RefreshPeriodRule(), 150);
    EXPECT_EQ(MenuLinks.EntertainerOpen(), 1);
    EXPECT_EQ(e->mode, ModeMovie);
    EXPECT_EQ(e->arrivalCountdown, 36000);
    EXPECT_TRUE(CreateEntertainer(&win));  // one instance only
    EXPECT_EQ(TheEntertainer(), e);
    Keys("2");
    EXPECT_EQ(SoftKeyDispatches, 0);  // keys go only to the screen
}

TEST_F(EntertainerTest, MovieScriptBrowsesPlaysPausesAndStops) {
    CEntertainer* e = Open();
    Keys("0");
    ASSERT_TRUE(e->browser.visible);
    EXPECT_STREQ(e->buttons[BtnStop]->label, "Cancel ");
    EXPECT_EQ(Row(e->browser, "top.3GP") >= 0, true);
    BrowseTo(e, "films");
    Keys("0");
    EXPECT_STREQ(e->browser.currentPath, "c:/films");
    EXPECT_EQ(Row(e->browser, "readme.txt"), -1);  // filtered out
    BrowseTo(e, "alpha.3gp");
    Keys("0");
    EXPECT_FALSE(e->browser.visible);
    EXPECT_EQ(VideoPlayer.state, PlayerPlaying);
    EXPECT_EQ(std::string(VideoPlayer.fileName), tree.Path("films/alpha.3gp"));
    EXPECT_TRUE(VideoPlayer.messageShown);
    EXPECT_STREQ(VideoPlayer.message, "Wait for start.");
    EXPECT_STREQ(e->buttons[BtnStop]->label, "Stop ");

    Keys("0");  // while playing: no browser
    EXPECT_FALSE(e->browser.visible);
    EXPECT_STREQ(VideoPlayer.message, "Press Stop");
    Keys("2");
    EXPECT_EQ(VideoPlayer.state, PlayerPaused);
    EXPECT_FALSE(VideoPlayer.messageShown);  // every key hides the message
    Keys("2");
    EXPECT_EQ(VideoPlayer.state, PlayerPlaying);
    Keys("5");
    EXPECT_EQ(VideoPlayer.state, PlayerFullScreen);
    EXPECT_EQ(VideoPlayer.winW, 800);
    Keys("2");  // in full screen a key only restores the window
    EXPECT_EQ(VideoPlayer.state, PlayerPlaying);
    EXPECT_EQ(VideoPlayer.winX, 55);
    Keys("3");
    EXPECT_EQ(VideoPlayer.state, PlayerFileSet);
    EXPECT_EQ(VideoPlayer.position, 0);
    Keys("2");
    EXPECT_EQ(VideoPlayer.state, PlayerPlaying);
    Keys("ddd");
    EXPECT_EQ(VideoPlayer.volume, 50);
    EXPECT_EQ(e->volumeBar.value, 50);
    Keys("aaaaaaaa");
    EXPECT_EQ(VideoPlayer.volume, 100);
}

TEST_F(EntertainerTest, BrowserKeysCancelAndParentRestoresTheRow) {
    CEntertainer* e = Open();
    Keys("0");
    const int films = Row(e->browser, "films");
    BrowseTo(e, "films");
    Keys("0");
    BrowseTo(e, "..");
    Keys("0");
    EXPECT_STREQ(e->browser.currentPath, "c:");
    EXPECT_EQ(e->browser.cursor, films);
    Keys("3");
    EXPECT_FALSE(e->browser.visible);
    EXPECT_STREQ(e->buttons[BtnStop]->label, "Stop ");
    EXPECT_EQ(VideoPlayer.state, PlayerIdle);
}

// A name whose path passes 254 characters is listed and reaches the player whole.
TEST_F(EntertainerTest, ALongNameIsListedAndOpenedWhole) {
    const std::string film = std::string(250, 'l') + ".3gp";
    tree.File(film);
    CEntertainer* e = Open();
    Keys("0");
    BrowseTo(e, film.c_str());
    Keys("0");
    EXPECT_EQ(VideoPlayer.state, PlayerPlaying);
    EXPECT_EQ(std::string(VideoPlayer.fileName), tree.Path(film));
}

// "0" in full screen opens the browser under the black page; the refresh's poll closes it
// again while the film plays, and the Stop button reads "Stop " once more.
TEST_F(EntertainerTest, BrowserClosedByThePollGivesBackTheStopCaption) {
    CEntertainer* e = Open();
    Keys("0");
    BrowseTo(e, "top.3GP");
    Keys("0");
    ASSERT_EQ(VideoPlayer.state, PlayerPlaying);
    Keys("5");
    ASSERT_EQ(VideoPlayer.state, PlayerFullScreen);
    Keys("0");
    ASSERT_TRUE(e->browser.visible);
    EXPECT_STREQ(e->buttons[BtnStop]->label, "Cancel ");
    ASSERT_NE(RefreshHooks.EntertainerTick, nullptr);
    for (int i = 0; i < 10 && e->browser.visible; ++i) RefreshHooks.EntertainerTick();
    EXPECT_FALSE(e->browser.visible);
    EXPECT_STREQ(e->buttons[BtnStop]->label, "Stop ");
    Keys("2");  // back from full screen
    EXPECT_EQ(VideoPlayer.state, PlayerPlaying);
    EXPECT_STREQ(e->buttons[BtnStop]->label, "Stop ");
}

TEST_F(EntertainerTest, ModesSwitchByHighlightAndTheMusicTrackAdvances) {
    CEntertainer* e = Open();
    Keys("w");
    EXPECT_EQ(e->highlight, ModeMusic);
    EXPECT_TRUE(e->modes[ModeMusic]->highlighted);
    EXPECT_FALSE(e->modes[ModeMovie]->active);  // no entry looks active while one is highlighted
    Keys("1");
    EXPECT_EQ(e->mode, ModeMusic);
    EXPECT_EQ(e->highlight, -1);
    EXPECT_TRUE(e->modes[ModeMusic]->active);
    for (int i = 0; i < 1150; ++i) e->Tick();
    EXPECT_EQ(e->trackIndex, 0);
    e->Tick();  // the count passes 1150 on the 1151st tick
    EXPECT_EQ(e->trackIndex, 1);
    EXPECT_EQ(e->trackCount, 0);
    for (int i = 0; i < 3 * 1151; ++i) e->Tick();
    EXPECT_EQ(e->trackIndex, 0);  // after the fourth track the first comes again

    Keys("w");
    EXPECT_EQ(e->highlight, ModeFlightData);
    for (int i = 0; i < 20; ++i) e->Tick();  // the highlight times out
    EXPECT_EQ(e->highlight, -1);
    Keys("w1");
    EXPECT_EQ(e->mode, ModeFlightData);
    e->arrivalCountdown = 1;
    e->Tick();
    EXPECT_EQ(e->arrivalCountdown, 36000);  // restarts from 0
}

TEST_F(EntertainerTest, LeavingMovieStopsThePlayer) {
    CEntertainer* e = Open();
    VideoPlayer.SetFile("/x/a.3gp");
    VideoPlayer.Play();
    Keys("w1");
    EXPECT_EQ(e->mode, ModeMusic);
    EXPECT_EQ(VideoPlayer.state, PlayerFileSet);
}

TEST_F(EntertainerTest, ExitEntryClosesAfterTheKeyCall) {
    CEntertainer* e = Open();
    Keys("s");  // from Movie it wraps to Exit
    EXPECT_EQ(e->highlight, ModeExit);
    Keys("1");
    EXPECT_EQ(TheEntertainer(), nullptr);
    EXPECT_EQ(Entertainer, nullptr);
    EXPECT_EQ(RefreshHooks.EntertainerTick, nullptr);
    EXPECT_NE(RefreshPeriodRule(), 150);
    EXPECT_EQ(ScreenKeyBinds, 1);
    Keys("2");
    EXPECT_EQ(SoftKeyDispatches, 1);  // the soft keys have their keys back
}

TEST_F(EntertainerTest, ArmedZeroExitsOnlyWhereAllowed) {
    DeviceID = 31;  // no Exit entry outside demo mode, and "0" never exits
    CEntertainer* e = Open();
    Keys("s");
    EXPECT_EQ(e->highlight, ModeFlightData);
    for (int i = 0; i < 20; ++i) e->Tick();
    Keys("10");
    EXPECT_NE(TheEntertainer(), nullptr);
    EXPECT_TRUE(e->browser.visible);  // "0" went to the movie page
    Keys("3");

    DemoMarker = DemoMarkerValue;  // model 31 in demo mode: "1" then "0" exits
    Keys("1");
    for (int i = 0; i < 19; ++i) e->Tick();
    Keys("0");
    EXPECT_EQ(TheEntertainer(), nullptr);
    EXPECT_EQ(ScreenKeyBinds, 1);
}

TEST_F(EntertainerTest, ArmingRunsOut) {
    DeviceID = 31;
    DemoMarker = DemoMarkerValue;
    CEntertainer* e = Open();
    Keys("1");
    for (int i = 0; i < 20; ++i) e->Tick();
    Keys("0");
    EXPECT_NE(TheEntertainer(), nullptr);
    EXPECT_TRUE(e->browser.visible);
}

TEST_F(EntertainerTest, PowerOffCountdownClosesTheScreenWithoutRebindingKeys) {
    Open();
    RefreshHooks.EntertainerTick();
    EXPECT_NE(TheEntertainer(), nullptr);
    RequestPowerOff(PowerMainSwitch);
    EXPECT_EQ(TheEntertainer(), nullptr);
    EXPECT_EQ(RefreshHooks.EntertainerTick, nullptr);
    EXPECT_NE(RefreshPeriodRule(), 150);
    EXPECT_EQ(ScreenKeyBinds, 0);  // the power-off prompt keeps its keys
    RequestPowerOff(PowerIdle);
}

TEST_F(EntertainerTest, DemoResetAndWindowCloseGoThroughTheLinks) {
    MainWindow = &win;
    Open();
    FGEvent closing{};
    closing.type = FGE_CLOSING;
    OnMainWindowEvent(nullptr, &closing);
    EXPECT_EQ(TheEntertainer(), nullptr);
    EXPECT_EQ(EntPictures[EntMap], nullptr);
    MainWindow = nullptr;
}

TEST_F(EntertainerTest, PicturesLoadedAgainWhileOpenAreTheOnesDrawn) {
    CEntertainer* e = Open();
    VideoPlayer.Length(10);
    VideoPlayer.Position(5);
    InRunDir([] { LoadEntertainerImages(); });  // the old pictures are gone
    e->Draw();
    FGBitmap* mid = EntPictures[EntBarMidle].get();
    ASSERT_NE(mid, nullptr);
    EXPECT_EQ(Px(200, 70), mid->pixels[4 * mid->width + (200 - 150 - 4) % mid->width]);
}

TEST(VideoPlayer, StatesMessagesAndPositions) {
    CVideoPlayer p;
    p.Play();
    EXPECT_EQ(p.state, PlayerPlaying);
    p.FullScreen();
    p.Play();
    EXPECT_EQ(p.state, PlayerFullScreen);
    p.Stop();
    EXPECT_EQ(p.state, PlayerFileSet);
    p.Position(90);
    EXPECT_EQ(p.Length(), 90);  // a larger position raises the length
    p.Message("%s", std::string(300, 'x').c_str());
    EXPECT_EQ(std::strlen(p.message), sizeof p.message - 1);
    EXPECT_TRUE(p.messageShown);
    p.Position(0);
    EXPECT_FALSE(p.messageShown);
    p.SetFile(std::string(PATH_MAX + 100, 'f').c_str());
    EXPECT_EQ(std::strlen(p.fileName), sizeof p.fileName - 1);
    p.Close();
    EXPECT_EQ(p.state, PlayerIdle);
    EXPECT_STREQ(p.fileName, "");
}

TEST(EntBars, RangeOrderAndAnIdleBarIsEmpty) {
    CBar bar(nullptr, 0, 0, 100, 8, 1, 2, 3, 4);
    bar.SetRange(50, 10);
    EXPECT_EQ(bar.min, 10);
    EXPECT_EQ(bar.max, 50);
    bar.SetValue(70);
    EXPECT_EQ(bar.value, 50);
    EXPECT_EQ(bar.FilledLength(), 100);
    bar.SetRange(0, 0);  // an idle player: length 0
    EXPECT_EQ(bar.FilledLength(), 0);
}

namespace {

std::vector<uint8_t> TgaHead(int idLength, int w, int h, int bits, bool topDown) {
    return {static_cast<uint8_t>(idLength), 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(h),
            static_cast<uint8_t>(h >> 8), static_cast<uint8_t>(bits), static_cast<uint8_t>(topDown ? 0x20 : 0)};
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(LoadTgaPicture, KeyOriginIdFieldAndDamagedFiles) {
    TMediaTree dir;
    // 2 x 2, bottom-up, with a 3-byte id: first row in the file is the bottom row.
    std::vector<uint8_t> f = TgaHead(3, 2, 2, 24, false);
    f.insert(f.end(), {'i', 'd', '!'});
    f.insert(f.end(), {240, 0, 240, 0, 0, 255});   // bottom: key, red
    f.insert(f.end(), {255, 0, 0, 0, 255, 0});     // top: blue, green
    Write(dir.Path("a.tga"), f);
    chmod(dir.Path("a.tga").c_str(), 0444);  // read-only data loads
    std::unique_ptr<FGBitmap> pic;
    ASSERT_TRUE(LoadTgaPicture(pic, dir.Path("a.tga").c_str()));
    ASSERT_EQ(pic->width, 2);
    EXPECT_EQ(pic->pixels[0], 0x0000FFu);
    EXPECT_EQ(pic->pixels[1], 0x00FF00u);
    EXPECT_EQ(pic->pixels[2], PageKeyColour);
    EXPECT_EQ(pic->pixels[3], 0xFF0000u);
    EXPECT_EQ(pic->get_colorkey(), PageKeyColour);

    EXPECT_FALSE(LoadTgaPicture(pic, dir.Path("missing.tga").c_str()));
    EXPECT_EQ(pic, nullptr);  // the slot is cleared
    Write(dir.Path("short.tga"), {0, 0, 2});
    EXPECT_FALSE(LoadTgaPicture(pic, dir.Path("short.tga").c_str()));
    std::vector<uint8_t> cut = TgaHead(0, 4, 4, 24, true);
    cut.resize(cut.size() + 20);
    Write(dir.Path("cut.tga"), cut);
    EXPECT_FALSE(LoadTgaPicture(pic, dir.Path("cut.tga").c_str()));
    Write(dir.Path("huge.tga"), TgaHead(0, 65535, 65535, 24, true));
    EXPECT_FALSE(LoadTgaPicture(pic, dir.Path("huge.tga").c_str()));
    EXPECT_EQ(pic, nullptr);
    // Not 24-bit: the toolkit's loader takes it.
    std::vector<uint8_t> t32 = TgaHead(0, 1, 1, 32, true);
    t32.insert(t32.end(), {1, 2, 3, 255});
    Write(dir.Path("t32.tga"), t32);
    EXPECT_TRUE(LoadTgaPicture(pic, dir.Path("t32.tga").c_str()));
    EXPECT_EQ(pic->get_colorkey(), PageKeyColour);
}

TEST_F(EntertainerTest, FramesOfEachMode) {
    CEntertainer* e = Open();
    ASSERT_NE(EntPictures[EntVideoUpper], nullptr);
    ASSERT_NE(EntPictures[EntMap], nullptr);
    // Movie: black video area in its dark outline, the gradient band, the mode frames.
    VideoPlayer.SetFile("/media/a.3gp");
    VideoPlayer.Length(100);
    VideoPlayer.Position(50);
    win.clear(0x123456);
    e->Draw();
    SavePageSnapshot(win, "entertainer_movie.bmp");
    EXPECT_EQ(Px(300, 240), 0u);
    EXPECT_EQ(Px(54, 200), 0x080808u);
    EXPECT_NE(Px(10, 478), 0x123456u);
    EXPECT_NE(Px(200, 70), Px(400, 70));  // half the bar is filled
    EXPECT_EQ(Px(200, 70), Px(240, 70));
    EXPECT_GT(CountColour(595, 48, 190, 50, Rgb(120, 190, 255)), 0);  // active Movie label
    EXPECT_GT(CountColour(15, 430, 200, 16, 0xFFFFFF), 0);  // the file name
    EXPECT_GT(CountColour(595, 228, 190, 50, Rgb(229, 229, 229)), 0);  // Exit offered

    // Music: the audio bands and the track counter.
    e->SwitchMode(ModeMusic);
    e->SetHighlight(-1);
    win.clear(0x123456);
    e->Draw();
    SavePageSnapshot(win, "entertainer_music.bmp");
    EXPECT_EQ(Px(135, 105), EntPictures[EntAudioUpper]->pixels[5 * EntPictures[EntAudioUpper]->width + 5]);
    EXPECT_EQ(Px(135, 155), EntPictures[EntAudioMidle]->pixels[5 * EntPictures[EntAudioMidle]->width + 5]);
    EXPECT_GT(CountColour(260, 190, 80, 16, 0xFFFFFF), 0);

    // Flight data: the pink title, the blue values and the map.
    e->SwitchMode(ModeFlightData);
    e->SetHighlight(-1);
    win.clear(0x123456);
    e->Draw();
    SavePageSnapshot(win, "entertainer_flightdata.bmp");
    EXPECT_GT(CountColour(0, 30, 580, 32, Rgb(255, 108, 182)), 50);
    EXPECT_GT(CountColour(280, 100, 200, 130, Rgb(6, 196, 236)), 50);
    FGBitmap* map = EntPictures[EntMap].get();
    EXPECT_EQ(Px(e->mapX + 100, 300), map->pixels[50 * map->width + 100]);

    // Full screen: black everywhere.
    e->SwitchMode(ModeMovie);
    VideoPlayer.SetFile("/media/a.3gp");
    VideoPlayer.Play();
    VideoPlayer.FullScreen();
    win.clear(0x123456);
    e->Draw();
    EXPECT_EQ(CountColour(0, 0, 800, 480, 0), 800 * 480);
}
