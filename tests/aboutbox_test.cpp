// Word wrap, decimal order and the camera calls.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "aboutbox.h"

namespace {

// Ten pixels a character: limits in the tests read as character counts.
int TenPerChar(const char* text, FGDrawBuffer*) { return 10 * static_cast<int>(strlen(text)); }

std::vector<std::string> Wrap(const char* text, int maxLines, int width, int* count) {
    const char* lines[40] = {};
    *count = WordWrap(text, lines, maxLines, width, TenPerChar);
    std::vector<std::string> out;
    for (int i = 0; i < *count; ++i) out.emplace_back(lines[i]);
    return out;
}

}  // namespace

TEST(WordWrap, Cases) {
    struct Case {
        const char* text;
        int width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // "aaa bbb" is 70 wide: a limit of 69 is just exceeded, so bbb stays and ccc moves.
        {"aaa bbb ccc", 69, {"aaa bbb", "ccc"}},
        {"aaa bbb ccc", 70, {"aaa bbb ccc"}},
        {"", 50, {}},
        {"one\n", 500, {"one", ""}},
        {"a\nb", 500, {"a", "b"}},
        {"averyveryverylongword x", 30, {"averyveryverylongword", "x"}},
        {"lonelylongword", 30, {"lonelylongword"}},
        // Two blanks: the first one breaks, the second starts the next line's text.
        {"abcd  ef", 30, {"abcd", " ef"}},
    };
    for (const Case& c : cases) {
        int n = 0;
        EXPECT_EQ(Wrap(c.text, 32, c.width, &n), c.lines) << c.text;
        EXPECT_EQ(n, static_cast<int>(c.lines.size())) << c.text;
    }
}

TEST(WordWrap, MaximumLineCount) {
    std::string t32, t33;
    for (int i = 0; i < 32; ++i) t32 += i ? "\nx" : "x";
    t33 = t32 + "\ny";
    int n = 0;
    EXPECT_EQ(Wrap(t32.c_str(), 32, 500, &n).size(), 32u);
    EXPECT_EQ(n, 32);
    Wrap(t33.c_str(), 32, 500, &n);
    EXPECT_EQ(n, -1);
}

TEST(WordWrap, BufferFailureLeavesFoundLinesTerminated) {
    char buf[] = "ab cd ef";
    char* lines[2] = {};
    EXPECT_EQ(WordWrapBuffer(buf, lines, 2, 10, TenPerChar, nullptr), -1);
    EXPECT_STREQ(lines[0], "ab");
    EXPECT_STREQ(lines[1], "cd");
}

TEST(WordWrap, LongTextIsCutToTheSharedBuffer) {
    std::string big(3000, 'x');
    const char* lines[2] = {};
    ASSERT_EQ(WordWrap(big.c_str(), lines, 2, 10, TenPerChar), 1);
    EXPECT_EQ(strlen(lines[0]), 1023u);
}

TEST(WordWrap, MeasureWithoutAnyWindowIsZero) {
    EXPECT_EQ(MeasureTextWidth(nullptr), 0);
}

TEST(DecimalOrder, Values) {
    const struct {
        int32_t x;
        int order;
    } cases[] = {{1, 0},          {9, 1},          {10, 1},          {11, 2},
                 {9999, 4},       {1000, 3},       {1001, 4},        {999999999, 9},
                 {1000000000, 9}, {1000000001, 10}, {INT32_MAX, 10}};
    for (const auto& c : cases) EXPECT_EQ(DecimalOrder(c.x), c.order) << c.x;
    errno = 0;
    EXPECT_EQ(DecimalOrder(0), -1);
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    EXPECT_EQ(DecimalOrder(-1), -1);
    EXPECT_EQ(errno, EDOM);
    EXPECT_EQ(DecimalOrder(INT32_MIN), -1);
}

TEST(DecimalOrder, ExhaustiveAgainstPowersOfTen) {
    // Every 32-bit value: the order steps exactly past each power of ten.
    int64_t p = 1;
    int n = 0;
    for (int64_t x = 1; x <= INT32_MAX; x += (x < 2000000 ? 1 : 997)) {
        while (p < x) {
            p *= 10;
            ++n;
        }
        ASSERT_EQ(DecimalOrder(static_cast<int32_t>(x)), n) << x;
    }
    int k = 1;
    for (int64_t q = 10; q <= INT32_MAX; q *= 10, ++k) {
        ASSERT_EQ(DecimalOrder(static_cast<int32_t>(q)), k) << q;
        ASSERT_EQ(DecimalOrder(static_cast<int32_t>(q + 1)), k + 1) << q;
    }
}

TEST(CameraUnit, ReportsOnlyWhatItWasGiven) {
    int camera = 0;
    EXPECT_TRUE(JpdMakeUpDown(&camera, 1));
    EXPECT_TRUE(JpdMakeUpDown(&camera, 0));
    EXPECT_FALSE(JpdMakeUpDown(nullptr, 1));
    EXPECT_EQ(JpdStartStamp(nullptr), 0);
    EXPECT_EQ(JpdStartStamp(&camera), 0);
}

// ---- the about box ----

#include <fstream>

#include "config_tempdir.h"
#include "configmanager.h"
#include "fgdrawbuffer.h"
#include "page_assets.h"
#include "shellstate.h"

TEST(AboutBox, ModelNames) {
    const struct {
        int code;
        const char* name;
    } cases[] = {{27, "HK 4105"}, {29, "HK 4205"}, {30, "HK 4305"}, {31, "HK 4405"}, {33, "HK 4505"},
                 {34, "HK 4605"}, {28, "Unknown"}, {32, "Unknown"}, {0, "Unknown"}};
    for (const auto& c : cases) EXPECT_STREQ(AboutModelName(c.code), c.name) << c.code;
}

TEST(AboutBox, LastReleaseKeepsItsValueWithoutANumber) {
    ConfigTempDir dir;
    uint32_t release = 7;
    EXPECT_EQ(ReadLastRelease("last_release", &release), -1);
    EXPECT_EQ(release, 7u);
    std::ofstream("last_release") << "release 12\n";
    EXPECT_EQ(ReadLastRelease("last_release", &release), -1);
    EXPECT_EQ(release, 7u);
    std::ofstream("last_release") << "  412 build\n";
    EXPECT_EQ(ReadLastRelease("last_release", &release), 0);
    EXPECT_EQ(release, 412u);
}

TEST(AboutBox, InstallationIdWithoutRaisingTheSettingsError) {
    ConfigTempDir dir;
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    LoadSetting(nullptr, KindAll, 0);
    SettingsError = 0;
    EXPECT_EQ(AboutInstallationId(), 0u);  // never written on this system
    EXPECT_EQ(SettingsError, 0);
    const uint8_t info[16] = {0x78, 0x56, 0x34, 0x12};
    if (ConfigManager.Store()->SetSectionData(0x7002, 0, info, sizeof info) == 0) {
        EXPECT_EQ(AboutInstallationId(), 0x12345678u);
    }
    EXPECT_EQ(SettingsError, 0);
    ConfigManager.Release();
}

TEST(AboutBox, DrawsOnlyWhileAttachedAndRestoresTheWindow) {
    LoadPageAssets();
    constexpr uint32_t Page = 0x203040;
    FGDrawBuffer win{800, 480, FG_TYPE_BITMAP, Page};
    CAboutBox box;
    EXPECT_EQ(box.shown, 0);
    EXPECT_EQ(box.w, -1);
    box.Draw();  // not attached: nothing
    box.SetSurface(&win);
    EXPECT_EQ(box.shown, 1);
    box.deviceType = 30;
    box.hwVersion = 4;
    box.versionMajor = 0, box.versionMinor = 3, box.versionBuild = 32;
    box.release = 412;
    box.installationId = 305419896;
    win.set_mode(DrawModeCopy);
    win.set_colorkey(0x123456);
    const int font = win.get_font();
    box.Draw();
    SavePageSnapshot(win, "aboutbox.bmp");
    EXPECT_EQ(win.get_mode(), DrawModeCopy);
    EXPECT_EQ(win.get_colorkey(), 0x123456u);
    EXPECT_EQ(win.get_font(), font);
    EXPECT_EQ(box.x, 275);
    EXPECT_EQ(box.y, 165);
    EXPECT_EQ(box.w, 250);
    EXPECT_EQ(box.h, 150);

    auto px = [&](int x, int y) { return win.pixels[y * win.width + x] & 0xFFFFFF; };
    EXPECT_EQ(px(274, 200), Page);            // outside
    EXPECT_EQ(px(275, 165), 0x000000u);       // outline
    EXPECT_EQ(px(276, 166), 0x000000u);       // second outline
    EXPECT_EQ(px(277, 300), 0xFFFFFFu);       // white inside
    EXPECT_EQ(px(526, 200), Page);
    // The bar: from rose to pale rose.
    const uint32_t left = px(296, 216), right = px(503, 216);
    EXPECT_GT((left >> 16) & 0xFF, 220u);
    EXPECT_LT((left >> 8) & 0xFF, 100u);
    EXPECT_GT((right >> 8) & 0xFF, 170u);
    // Title in blue, texts in black, IID ending at x + 230.
    auto count = [&](int x0, int y0, int w, int h, auto pred) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += pred(px(x, y)) ? 1 : 0;
        return n;
    };
    EXPECT_GT(count(295, 185, 200, 25, [](uint32_t c) { return c == 0x0091BBu; }), 20);
    EXPECT_GT(count(295, 245, 200, 70, [](uint32_t c) { return c == 0; }), 100);
    EXPECT_EQ(count(506, 290, 17, 20, [](uint32_t c) { return c == 0; }), 0);

    box.SetSurface(nullptr);
    EXPECT_EQ(box.shown, 0);
    win.clear(Page);
    box.Draw();
    EXPECT_EQ(px(400, 240), Page);
}
