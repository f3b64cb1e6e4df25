#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool, Status) clash with gtest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "display.h"
#include "fgdriver.h"
#include "fgraster.h"
#include "window.h"
#include "x11probe.h"

namespace {

FGWin32DXDriver* DX() { return static_cast<FGWin32DXDriver*>(fg_driver); }
TDisplay* Shown() { return DX() ? DX()->direct_draw.get() : nullptr; }

std::vector<TDisplayRect> TakeUpdates() {
    std::vector<TDisplayRect> rects;
    EXPECT_GE(DisplayTakeUpdates(Shown(), &rects), 0);
    return rects;
}

FGPixel& At(int x, int y) { return Shown()->pixels[y * Shown()->pitch + x]; }

// Each test starts without a driver, headless, windowed unless it says otherwise.
class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DASHVIEW_KEYS");
        unsetenv("DASHVIEW_SNAPSHOT");
        setenv("DASHVIEW_HEADLESS", "1", 1);
        DisplayClearEvents();
        fg_driver_settings = FGDriverSettings();
        fg_driver_settings.windowed = 1;
    }
    void TearDown() override {
        fg_set_mode(0);
        fg_root_resize_hook = nullptr;
    }
    // The key codes the driver makes of the queued events, until none is waiting.
    std::vector<int> Keys() {
        std::vector<int> keys;
        int type = 0, key = 0;
        while (fg_driver->GetInputEvent(&type, &key, nullptr, nullptr, nullptr) == 1) {
            EXPECT_EQ(type, 1);
            keys.push_back(key);
        }
        return keys;
    }
};

}  // namespace

TEST(DriverModes, TableAndCustomSize) {
    const int expect[][2] = {{320, 200},   {640, 480},   {800, 600}, {1024, 768},
                             {1280, 1024}, {1600, 1200}, {848, 480}};
    for (int mode = 1; mode <= 7; ++mode) {
        int w = 0, h = 0;
        ASSERT_TRUE(fg_mode_size(mode, &w, &h));
        EXPECT_EQ(w, expect[mode - 1][0]);
        EXPECT_EQ(h, expect[mode - 1][1]);
    }
    int w = 0, h = 0;
    fg_driver_settings = FGDriverSettings();
    fg_driver_settings.custom_width = 1024;
    ASSERT_TRUE(fg_mode_size(8, &w, &h));
    EXPECT_EQ(w * 10000 + h, 1 * 10000 + 1);  // both must be given
    fg_driver_settings.custom_height = 600;
    ASSERT_TRUE(fg_mode_size(8, &w, &h));
    EXPECT_EQ(w * 10000 + h, 1024 * 10000 + 600);
    EXPECT_FALSE(fg_mode_size(0, &w, &h));
    EXPECT_FALSE(fg_mode_size(9, &w, &h));
    EXPECT_FALSE(fg_mode_size(-3, &w, &h));
    fg_driver_settings = FGDriverSettings();
}

TEST(DriverDefaults, DoNothingInterface) {
    FGDriver d("none");
    int w = 640, h = 480, t = 0, k = 0;
    EXPECT_EQ(d.available(), 0);
    EXPECT_EQ(d.link(), 0);
    EXPECT_EQ(d.FindMode(&w, &h), -1);  // empty list
    EXPECT_EQ(d.SetMode(640, 480), 0);
    EXPECT_EQ(d.GetInputEvent(&t, &k, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(d.SetupPages(2), 0);
    EXPECT_EQ(d.ShowPage(0), 0);
    EXPECT_EQ(d.Spare2(), 0);
    EXPECT_EQ(d.Spare4(), -128);
    EXPECT_EQ(d.LeaveMode(), 1);
    EXPECT_EQ(d.set_mouse(), 1);
    EXPECT_EQ(d.set_keyboard(), 1);
    d.ShutdownInput();
    EXPECT_EQ(d.mouse_set + d.keyboard_set, 0);
    EXPECT_STREQ(d.mouse_name, "default");
    EXPECT_EQ(d.bytes_per_pixel, 4);
    EXPECT_EQ(d.spare_int4, -1);

    testing::internal::CaptureStdout();
    d.verbose = 1;
    d.set_mouse();
    d.reset_keyboard();
    d.available();
    d.change_mouse();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "DRIVER none: set_mouse() called\nDRIVER none: reset_keyboard() called\n"
              "DRIVER none: available() called\nDRIVER none: change_mouse() called\n");
}

TEST(DriverModes, ListSortedAndFound) {
    FGWin32DXDriver d("myExe", 0);
    d.EnumModes();
    ASSERT_EQ(d.SortModes(), 1);
    ASSERT_EQ(d.mode_count, 7);
    const int order[][2] = {{1600, 1200}, {1280, 1024}, {1024, 768}, {848, 480},
                            {800, 600},   {640, 480},   {320, 200}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(d.modes[i].width, order[i][0]) << i;
        EXPECT_EQ(d.modes[i].height, order[i][1]) << i;
        EXPECT_EQ(d.modes[i].linear, 1);
        EXPECT_EQ(d.modes[i].refresh, 0);
    }
    EXPECT_EQ(d.modes[0].index, 5);  // the enumeration order survives the sort
    int w = 800, h = 600;
    EXPECT_EQ(d.FindMode(&w, &h), 4);
    // No exact entry: the smallest that holds the size.
    w = 1024, h = 600;
    EXPECT_EQ(d.FindMode(&w, &h), 2);
    EXPECT_EQ(w * 10000 + h, 1024 * 10000 + 768);
    w = 5000, h = 100;
    EXPECT_EQ(d.FindMode(&w, &h), 0);
}

TEST_F(DriverTest, EveryModeSizeAndPitch) {
    ASSERT_EQ(fg_set_mode(3), 1);
    ASSERT_NE(fg_driver, nullptr);
    EXPECT_STREQ(fg_driver->name, "DirectX5");
    EXPECT_STREQ(fg_driver->hw_name, "DirectX");
    EXPECT_EQ(fg_driver->hw_flags, 8);
    EXPECT_EQ(fg_driver->mouse_set, 1);
    EXPECT_EQ(fg_driver->keyboard_set, 1);
    ASSERT_NE(fg_cursor_callback, nullptr);
    EXPECT_EQ(fg_cursor_callback(1, 0, 0), 0);
    for (int mode : {1, 2, 3, 4, 5, 6, 7, 8}) {
        fg_driver_settings.custom_width = 1024;
        fg_driver_settings.custom_height = 600;
        int w = 0, h = 0;
        fg_mode_size(mode, &w, &h);
        ASSERT_EQ(fg_set_mode(mode), 1) << mode;
        EXPECT_EQ(fg_driver->width, w);
        EXPECT_EQ(fg_driver->height, h);
        EXPECT_EQ(fg_driver->pitch, 4 * Shown()->pitch);
        EXPECT_GE(fg_driver->pitch, 4 * w);
        EXPECT_EQ(fg_driver->virtual_height, h);
        EXPECT_EQ(fg_driver->frame_buffer, Shown()->pixels);
        EXPECT_EQ(Shown()->width, w);
        EXPECT_EQ(Shown()->height, h);
        for (FGPixel* p : fg_driver->pages) EXPECT_EQ(p, fg_driver->frame_buffer);
        EXPECT_EQ(fg_screen_width(), w);
        EXPECT_EQ(fg_screen_height(), h);
        EXPECT_EQ(fg_screen.surface, fg_driver->frame_buffer);
        EXPECT_EQ(fg_screen.stride * 4, fg_driver->pitch);
        EXPECT_EQ(fg_screen.clip_right * 10000 + fg_screen.clip_bottom, w * 10000 + h);
        FGScreen& s = fg_get_screen();
        EXPECT_EQ(s.type, FG_TYPE_SCREEN);
        EXPECT_EQ(s.pixels, fg_driver->frame_buffer);
        EXPECT_EQ(s.height, h);
        EXPECT_EQ(s.clip_w * 10000 + s.clip_h, w * 10000 + h);
        EXPECT_EQ(s.get_ink(), 0xFFFFFFu);
        EXPECT_EQ(s.get_paper(), 0u);
    }
    // Mode 8 without a custom size is 1 x 1.
    fg_driver_settings.custom_width = 0;
    ASSERT_EQ(fg_set_mode(8), 1);
    EXPECT_EQ(fg_driver->width * 10000 + fg_driver->height, 10001);
}

TEST_F(DriverTest, ScreenBufferDrawsIntoTheFrameBuffer) {
    ASSERT_EQ(fg_set_mode(1), 1);
    TakeUpdates();
    FGScreen& s = fg_get_screen();
    s.fillbox(10, 20, 5, 5, 0x00123456);
    EXPECT_EQ(At(10, 20), 0x123456u);
    EXPECT_EQ(At(14, 24), 0x123456u);
    EXPECT_EQ(At(15, 24), 0u);
    // Drawing alone never reaches the display.
    EXPECT_TRUE(TakeUpdates().empty());
    // Outside the screen nothing is written.
    s.fillbox(318, 198, 50, 50, 0x00FF0000);
    EXPECT_EQ(At(319, 199), 0xFF0000u);
}

TEST_F(DriverTest, ChangedRectanglesArePresented) {
    ASSERT_EQ(fg_set_mode(2), 1);
    // The new window is painted whole once.
    std::vector<TDisplayRect> rects = TakeUpdates();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].w * 10000 + rects[0].h, 640 * 10000 + 480);

    std::vector<FGPixel> window(30 * 40, 0x00AABBCC);
    fg_buffer_to_screen(window.data(), 0, 0, 10, 20, 30, 40, 30, 40, 0, 0);
    fg_screen_fill(600, 470, 100, 100, 0x00010203, 0);
    rects = TakeUpdates();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].x, 10);
    EXPECT_EQ(rects[0].y, 20);
    EXPECT_EQ(rects[0].w, 30);
    EXPECT_EQ(rects[0].h, 40);
    EXPECT_EQ(rects[1].x * 10000 + rects[1].y, 600 * 10000 + 470);
    EXPECT_EQ(rects[1].w * 10000 + rects[1].h, 40 * 10000 + 10);  // cut to the screen
    EXPECT_EQ(At(10, 20), 0xAABBCCu);
    EXPECT_EQ(At(39, 59), 0xAABBCCu);
    EXPECT_EQ(At(40, 59), 0u);
    EXPECT_EQ(At(639, 479), 0x010203u);

    fg_driver->UpdateRect(5, 6, 5, 6, 7, 8);
    rects = TakeUpdates();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].x + rects[0].y + rects[0].w + rects[0].h, 5 + 6 + 7 + 8);
}

TEST_F(DriverTest, ScreenSurvivesModeChangeCutToTheSmallerSize) {
    ASSERT_EQ(fg_set_mode(2), 1);   // 640 x 480
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) At(x, y) = static_cast<FGPixel>(y * 1000 + x);
    int resized_w = 0, resized_h = 0;
    static int* rw;
    static int* rh;
    rw = &resized_w;
    rh = &resized_h;
    fg_root_resize_hook = [](int w, int h) { *rw = w, *rh = h; };

    ASSERT_EQ(fg_set_mode(1), 1);   // 320 x 200
    EXPECT_EQ(resized_w * 10000 + resized_h, 320 * 10000 + 200);
    EXPECT_EQ(fg_driver->saved_screen, nullptr);
    EXPECT_EQ(At(0, 0), 0u);
    EXPECT_EQ(At(319, 0), 319u);
    EXPECT_EQ(At(5, 199), 199005u);
    EXPECT_EQ(At(319, 199), 199319u);

    ASSERT_EQ(fg_set_mode(3), 1);   // 800 x 600: the small picture and black around it
    EXPECT_EQ(At(319, 199), 199319u);
    EXPECT_EQ(At(320, 0), 0u);
    EXPECT_EQ(At(0, 200), 0u);
    EXPECT_EQ(At(799, 599), 0u);
    // The restored picture is on display.
    std::vector<TDisplayRect> rects = TakeUpdates();
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.back().w * 10000 + rects.back().h, 800 * 10000 + 600);

    // The same size again changes nothing.
    resized_w = 0;
    FGPixel* before = fg_driver->frame_buffer;
    ASSERT_EQ(fg_set_mode(3), 1);
    EXPECT_EQ(fg_driver->frame_buffer, before);
    EXPECT_EQ(resized_w, 0);
}

TEST_F(DriverTest, SizeTheDisplayCannotTakeFailsAndKeepsTheScreen) {
    ASSERT_EQ(fg_set_mode(1), 1);
    At(3, 4) = 0x00C0FFEE;
    fg_driver_settings.custom_width = DisplayMaxSide + 1;
    fg_driver_settings.custom_height = 100;
    EXPECT_EQ(fg_set_mode(8), 0);
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(fg_driver->width, 320);
    EXPECT_EQ(At(3, 4), 0xC0FFEEu);
    EXPECT_EQ(fg_screen.surface, fg_driver->frame_buffer);
    EXPECT_EQ(fg_driver->saved_screen, nullptr);

    // Without a driver, the same size links nothing.
    fg_set_mode(0);
    EXPECT_EQ(fg_set_mode(8), 0);
    EXPECT_EQ(fg_driver, nullptr);
    EXPECT_EQ(fg_set_mode(9), 0);
}

TEST_F(DriverTest, ShutdownLetsGoOfTheFrameBuffer) {
    ASSERT_EQ(fg_set_mode(1), 1);
    EXPECT_EQ(fg_set_mode(0), 1);
    EXPECT_EQ(fg_driver, nullptr);
    EXPECT_EQ(fg_screen.surface, nullptr);
    EXPECT_EQ(fg_screen.show, nullptr);
    EXPECT_EQ(fg_get_screen().pixels, nullptr);
    // Drawing on a screen without a frame buffer is harmless.
    fg_get_screen().fillbox(0, 0, 10, 10, 1);
    fg_screen_fill(0, 0, 10, 10, 1, 0);
    EXPECT_EQ(fg_set_mode(0), 1);
}

TEST_F(DriverTest, VerboseLinkDescribesTheDriver) {
    fg_driver_settings.verbose = 1;
    testing::internal::CaptureStdout();
    ASSERT_EQ(fg_set_mode(1), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    for (const char* line :
         {"\nVideo modes:\n\tmode \"1600x1200-32@0\" available as linear\n",
          "\tmode \"320x200-32@0\" available as linear\n",
          "DRIVER DirectX5: set_mouse() called\nDRIVER DirectX5: set_keyboard() called\n",
          "\tdriver name   : DirectX5\n", "\tversion       : 5.5.14.1412\n",
          "\tscreen width  : 320, virtual 320, pitch 1280\n",
          "\tscreen height : 200, virtual 200\n", "\tbitsPerPixel  : 32\n",
          "\tpage-flipping : POSSIBLE\n", "\taddressing    : linear\n",
          "\tmonitor freq. : default\n", "\taccelerator   : fg_soft_accel\n",
          "\tmouse         : default\n", "\tDirectX hardware found\n",
          "\tMOUSE CURSOR  : replaced with HW\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n--- in ---\n" << out;
    EXPECT_EQ(out.find("FILL_RECTANGLE"), std::string::npos);
    EXPECT_EQ(out.find("memory io"), std::string::npos);
    fg_driver->verbose = 0;
}

TEST_F(DriverTest, EveryKeyTranslation) {
    ASSERT_EQ(fg_set_mode(1), 1);
    int t = 0, k = 0;
    EXPECT_EQ(fg_driver->GetInputEvent(&t, &k, nullptr, nullptr, nullptr), 0);

    struct Case {
        TDisplayEvent ev;
        int key;   // 0: no event
    };
    const Case cases[] = {
        // characters, typed or from the bench program
        {{DisplayEventChar, 'a', 0}, 97},
        {{DisplayEventChar, 'A', DisplayModShift}, 65},
        {{DisplayEventChar, '0', 0}, 48},
        {{DisplayEventChar, 13, 0}, 13},
        {{DisplayEventChar, 27, 0}, 27},
        {{DisplayEventChar, 3, DisplayModCtrl}, 3},
        {{DisplayEventChar, 0xB0, 0}, 0xB0},
        // Alt with a character
        {{DisplayEventChar, 'x', DisplayModAlt}, 4216},
        {{DisplayEventChar, 'a', DisplayModAlt}, 4193},
        {{DisplayEventChar, 'z', DisplayModAlt}, 4218},
        {{DisplayEventChar, '5', DisplayModAlt}, 4096 + '5'},
        // the extended block: virtual key + 256, with Shift or Ctrl too
        {{DisplayEventKey, DisplayKeyLeft, 0}, 293},
        {{DisplayEventKey, DisplayKeyUp, 0}, 294},
        {{DisplayEventKey, DisplayKeyRight, 0}, 295},
        {{DisplayEventKey, DisplayKeyDown, 0}, 296},
        {{DisplayEventKey, DisplayKeyPageUp, 0}, 289},
        {{DisplayEventKey, DisplayKeyPageDown, 0}, 290},
        {{DisplayEventKey, DisplayKeyEnd, 0}, 291},
        {{DisplayEventKey, DisplayKeyHome, 0}, 292},
        {{DisplayEventKey, DisplayKeyInsert, 0}, 301},
        {{DisplayEventKey, DisplayKeyDelete, 0}, 302},
        {{DisplayEventKey, DisplayKeyLeft, DisplayModCtrl}, 293},
        {{DisplayEventKey, DisplayKeyDown, DisplayModShift}, 296},
        // function keys: virtual key + 512; F10 is the system's
        {{DisplayEventKey, DisplayKeyF1, 0}, 624},
        {{DisplayEventKey, DisplayKeyF1 + 8, 0}, 632},
        {{DisplayEventKey, DisplayKeyF1 + 9, 0}, 0},
        {{DisplayEventKey, DisplayKeyF1 + 10, 0}, 634},
        {{DisplayEventKey, DisplayKeyF12, 0}, 635},
        {{DisplayEventKey, DisplayKeyF1, DisplayModShift}, 624},
        // Alt with a key is a system key; Alt+F4 closes the window
        {{DisplayEventKey, DisplayKeyLeft, DisplayModAlt}, 0},
        {{DisplayEventKey, DisplayKeyF1, DisplayModAlt}, 0},
        {{DisplayEventKey, DisplayKeyF1 + 3, DisplayModAlt}, 4216},
        // nothing else
        {{DisplayEventKey, DisplayKeyNone, 0}, 0},
        {{DisplayEventKey, 999, 0}, 0},
        {{DisplayEventChar, 0, 0}, 0},
        {{DisplayEventChar, 300, 0}, 0},
        {{DisplayEventNone, 0, 0}, 0},
        {{DisplayEventQuit, 0, 0}, 4216},
    };
    for (const Case& c : cases) {
        DisplayPushEvent(c.ev);
        DisplayPushEvent({DisplayEventChar, '#', 0});  // marks the end of this case
        std::vector<int> expect;
        if (c.key) expect.push_back(c.key);
        expect.push_back('#');
        EXPECT_EQ(Keys(), expect) << "type " << c.ev.type << " code " << c.ev.code << " mods "
                                  << c.ev.modifiers;
    }
    // Delete gives its key only, never a character.
    DisplayPushEvent({DisplayEventKey, DisplayKeyDelete, 0});
    EXPECT_EQ(Keys(), std::vector<int>{302});
}

TEST_F(DriverTest, DroppedKeysDoNotHideLaterOnes) {
    ASSERT_EQ(fg_set_mode(1), 1);
    for (int i = 0; i < 10; ++i) DisplayPushEvent({DisplayEventKey, DisplayKeyF1 + 9, 0});
    DisplayPushEvent({DisplayEventChar, 'n', 0});
    int t = 0, k = 0;
    ASSERT_EQ(fg_driver->GetInputEvent(&t, &k, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(k, 'n');
}

TEST_F(DriverTest, WindowedDisplayCannotFlip) {
    ASSERT_EQ(fg_set_mode(1), 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(fg_driver->NextPage(), 0);
    EXPECT_EQ(fg_driver->NextPage(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "PageFliping is disabled or unavailable!\n");

    EXPECT_EQ(fg_driver->SetupPages(2), 2);
    EXPECT_EQ(fg_driver->frame_buffer, Shown()->pixels);
    testing::internal::CaptureStderr();
    EXPECT_EQ(fg_driver->NextPage(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "DirectDrawSurface::Flip: Surface not flippable\n");
    EXPECT_EQ(fg_driver->frame_buffer, Shown()->pixels);
}

TEST_F(DriverTest, FullScreenPagesFlip) {
    fg_driver_settings.windowed = 0;
    ASSERT_EQ(fg_set_mode(1), 1);
    EXPECT_EQ(DX()->full_screen, 1);
    At(0, 0) = 0x00ABCDEF;
    ASSERT_EQ(fg_driver->SetupPages(2), 2);
    EXPECT_EQ(fg_driver->page_count, 2);
    FGPixel* page0 = fg_driver->pages[0];
    FGPixel* page1 = fg_driver->pages[1];
    ASSERT_NE(page0, page1);
    EXPECT_NE(page0, Shown()->pixels);
    EXPECT_EQ(fg_driver->frame_buffer, page0);
    EXPECT_EQ(page0[0], 0xABCDEFu);   // the pages start from what is on display
    EXPECT_EQ(fg_screen.surface, page0);
    TakeUpdates();

    // Drawing goes to the hidden page; nothing shows until the flip.
    fg_screen_fill(0, 0, 320, 200, 0x00FF0000, 0);
    EXPECT_EQ(At(5, 5), 0u);
    EXPECT_TRUE(TakeUpdates().empty());
    EXPECT_EQ(fg_driver->NextPage(), 1);
    EXPECT_EQ(At(5, 5), 0xFF0000u);
    EXPECT_EQ(TakeUpdates().size(), 1u);
    EXPECT_EQ(fg_driver->page, 1);
    EXPECT_EQ(fg_driver->frame_buffer, page1);
    EXPECT_EQ(fg_driver->page_offset, 320 * 4 * 200);
    EXPECT_EQ(fg_get_screen().pixels, page1);

    fg_screen_fill(0, 0, 320, 200, 0x0000FF00, 0);
    EXPECT_EQ(fg_driver->NextPage(), 1);
    EXPECT_EQ(At(5, 5), 0x00FF00u);
    EXPECT_EQ(fg_driver->page, 0);
    EXPECT_EQ(fg_driver->frame_buffer, page0);

    // A mode change keeps flipping on, with new pages, and the picture on display.
    ASSERT_EQ(fg_set_mode(2), 1);
    EXPECT_EQ(fg_driver->page_count, 2);
    EXPECT_EQ(At(5, 5), 0x00FF00u);
    EXPECT_EQ(fg_driver->frame_buffer[5 * 640 + 5], 0x00FF00u);

    // No pages: back to drawing on display.
    EXPECT_EQ(fg_driver->SetupPages(0), 0);
    EXPECT_EQ(fg_driver->frame_buffer, Shown()->pixels);
    EXPECT_EQ(fg_screen.surface, Shown()->pixels);
}

TEST(DriverLibrary, LoadsTheDisplayLayerByName) {
    FGDynamicLibrary lib("ddraw.dll");
    ASSERT_NE(lib.exports, nullptr);
    EXPECT_EQ(lib.symbol("DirectDrawCreate"), reinterpret_cast<FGLibraryEntry>(&DisplayOpen));
    testing::internal::CaptureStderr();
    EXPECT_EQ(lib.symbol("DirectDrawCreateEx"), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("DirectDrawCreateEx"),
              std::string::npos);

    testing::internal::CaptureStderr();
    FGDynamicLibrary missing("OPENGL32.DLL");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), ", cant't link OPENGL32.DLL\n");
    EXPECT_EQ(missing.exports, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(missing.symbol("DirectDrawCreate"), nullptr);
    testing::internal::GetCapturedStderr();
}

TEST(DriverErrors, DirectDrawTexts) {
    EXPECT_STREQ(fg_dd_error_text(0x80004001), "Operation not supported");
    EXPECT_STREQ(fg_dd_error_text(0x88760250), "Invalid surface type");
    EXPECT_STREQ(fg_dd_error_text(0x8876023F), "No blit hardware");
    EXPECT_EQ(fg_dd_error_text(0), nullptr);
    testing::internal::CaptureStderr();
    fg_dd_error("DirectDraw2::GetCaps", 0x887601C2);
    fg_dd_error("DirectDrawCreate", 0x12345678);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "DirectDraw2::GetCaps: Surface was lost\n"
              "DirectDrawCreate: Unknown DirectDraw error: 0x12345678\n");
}

// ---- failures that end the process ----

namespace {

int NoServer(const char*, const char*, int32_t, int32_t, std::unique_ptr<TDisplay>*, int32_t) {
    return DISPLAY_ERR_NO_SERVER;
}

// A display that came up without a usable frame buffer.
struct TNoFrameDisplay : TDisplay {
    int Present(const TDisplayRect*, int32_t) override { return DISPLAY_OK; }
    int Poll(TDisplayEvent*) override { return 0; }
};
int NoFrame(const char*, const char*, int32_t w, int32_t h, std::unique_ptr<TDisplay>* out,
            int32_t) {
    auto d = std::make_unique<TNoFrameDisplay>();
    d->width = w;
    d->height = h;
    *out = std::move(d);
    return DISPLAY_OK;
}

void SetModeWith(int (*create)(const char*, const char*, int32_t, int32_t,
                               std::unique_ptr<TDisplay>*, int32_t)) {
    setenv("DASHVIEW_HEADLESS", "1", 1);
    FGWin32DXDriver d("myExe", 1);
    if (!d.link()) std::exit(0);
    d.EnumModes();
    d.SortModes();
    d.direct_draw_create = reinterpret_cast<FGLibraryEntry>(create);
    d.SetMode(640, 480);
    std::exit(0);
}

}  // namespace

TEST(DriverDeathTest, WindowFailureEndsTheProcessWithAnError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(SetModeWith(NoServer), testing::ExitedWithCode(FG_EXIT_SCREEN_FAILURE),
                "DirectDrawCreate: No DirectDraw hardware\nFailed to create the main window\n");
}

TEST(DriverDeathTest, FrameBufferFailureEndsTheProcessWithAnError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(SetModeWith(NoFrame), testing::ExitedWithCode(FG_EXIT_SCREEN_FAILURE),
                "DirectDrawSurface3::Lock: .*\ncan't lock framebuffer - exiting\n");
}

// ---- the real window under a private X server ----

namespace {

class DriverX11Test : public X11ProbeTest {
protected:
    void SetUp() override {
        X11ProbeTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        fg_driver_settings = FGDriverSettings();
    }
    void TearDown() override {
        fg_set_mode(0);
        X11ProbeTest::TearDown();
    }
    int NextKey() {
        int t = 0, k = 0;
        for (int i = 0; i < 500; ++i) {
            if (fg_driver->GetInputEvent(&t, &k, nullptr, nullptr, nullptr) == 1) return k;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return 0;
    }
};

}  // namespace

TEST_F(DriverX11Test, OpensTheWindowAndShowsPresentedFrames) {
    ASSERT_EQ(fg_set_mode(3), 1);
    ASSERT_EQ(Shown()->backend, DisplayBackendX11);
    TWindowId id = 0;
    ASSERT_EQ(WindowFind("Velvix", &id), WINDOW_OK);
    EXPECT_EQ(id, Shown()->windowId);
    XClassHint hint;
    ASSERT_TRUE(XGetClassHint(probe, id, &hint));
    EXPECT_STREQ(hint.res_class, "myExe");
    XFree(hint.res_name);
    XFree(hint.res_class);
    XWindowAttributes attr;
    ASSERT_TRUE(XGetWindowAttributes(probe, id, &attr));
    EXPECT_EQ(attr.width, 800);
    EXPECT_EQ(attr.height, 600);

    // A window's pixels copied to the screen are on display; the rest stays black.
    std::vector<FGPixel> window(100 * 50, 0x00336699);
    fg_buffer_to_screen(window.data(), 0, 0, 200, 300, 100, 50, 100, 50, 0, 0);
    EXPECT_EQ(PixelAt(id, 200, 300), 0x336699u);
    EXPECT_EQ(PixelAt(id, 299, 349), 0x336699u);
    EXPECT_EQ(PixelAt(id, 300, 349), 0u);

    // A mode change makes a new window of the new size that shows the old picture.
    ASSERT_EQ(fg_set_mode(2), 1);
    ASSERT_EQ(WindowFind("Velvix", &id), WINDOW_OK);
    ASSERT_TRUE(XGetWindowAttributes(probe, id, &attr));
    EXPECT_EQ(attr.width, 640);
    EXPECT_EQ(attr.height, 480);
    EXPECT_EQ(PixelAt(id, 250, 320), 0x336699u);
}

TEST_F(DriverX11Test, TypedKeysBenchCharactersAndClose) {
    ASSERT_EQ(fg_set_mode(1), 1);
    const Window w = Shown()->windowId;
    SendKey(w, XK_Left, 0);
    EXPECT_EQ(NextKey(), 293);
    SendKey(w, XK_F12, 0);
    EXPECT_EQ(NextKey(), 635);
    SendKey(w, XK_F10, 0);   // dropped: the next key comes through
    SendKey(w, XK_Delete, 0);
    EXPECT_EQ(NextKey(), 302);
    SendKey(w, XK_x, Mod1Mask);
    EXPECT_EQ(NextKey(), 4216);
    SendKey(w, XK_a, 0);
    EXPECT_EQ(NextKey(), 'a');
    ASSERT_EQ(WindowSendChar(w, '3'), WINDOW_OK);
    EXPECT_EQ(NextKey(), '3');
    ASSERT_EQ(WindowSendClose(w), WINDOW_OK);
    EXPECT_EQ(NextKey(), 4216);
}
