// What the pilot reads, on every layout in both unit systems, over the recorded
// flight replayed into the block as benchdesk does: each bar's fill ends at its
// value on the scale printed beside it, and no text is drawn over another.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "../perf/frame_road.h"
#include "enginepage.h"
#include "fgfontmanager.h"
#include "gui_terr/glview.h"
#include "gui_terr/utexture.h"
#include "hkutils.h"
#include "fgwindow.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"
#include "screenkeys.h"
#include "limiteditors.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "settingvars.h"
#include "statusbar.h"

extern char** environ;

namespace {

// Records of the recorded flight replayed before the frames: in cruise.
constexpr int FlightMoment = 10200;

// Runs the block writer helper with the commands, in a process of its own.
bool RunBlockWriter(std::vector<std::string> args) {
    const std::string helper = std::string(TEST_HELPER_DIR) + "/bench_shm_writer";
    args.insert(args.begin(), {helper, "attach"});
    args.push_back("release");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, helper.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Replays the first n records of the recorded flight into the road's block
// through benchdesk's own replay.
bool PlayRecordedFlight(int n) {
    return RunBlockWriter({"play", std::string(RUN_DIR) + "/Data/flysim.dat", std::to_string(n)});
}

// A text's ink in window pixels.
struct TTextBox {
    std::string text;
    int x0, y0, x1, y1;  // x1, y1 past the last pixel
    bool picture = false;  // drawn with the engine page's GL picture
    int font = -1;         // 2-D texts: their font, ink and cell origin
    FGPixel ink = 0;
    int cellX = 0, cellY = 0;
    std::string raw;
    bool overlaps(const TTextBox& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

std::vector<TTextBox> Texts2D, TextsPage, TextsStrip;

std::string Trimmed(const char* s) {
    std::string t = s;
    const size_t a = t.find_first_not_of(' '), b = t.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : t.substr(a, b - a + 1);
}

// Ink of a text drawn alone in the font: bounds relative to its cell.
bool InkBounds(int font, const char* text, int* x0, int* y0, int* x1, int* y1) {
    const int w = FGFontManager::textwidth(font, text), h = FGFontManager::get_font_height(font);
    if (w <= 0 || h <= 0) return false;
    FGDrawBuffer cell(w, h, FG_TYPE_BITMAP, 0);
    cell.set_font(font);
    cell.text(0, 0, text, 0xFFFFFF, 0);
    *x0 = w, *y0 = h, *x1 = *y1 = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (cell.pixels[y * w + x] & 0xFFFFFF) {
                *x0 = std::min(*x0, x), *y0 = std::min(*y0, y), *x1 = std::max(*x1, x + 1), *y1 = std::max(*y1, y + 1);
            }
    return *x1 > *x0;
}

void Trace2D(const FGDrawBuffer* buffer, int x, int y, int w, int h, const char* str, FGPixel ink, bool opaque) {
    if (buffer != MainWindow || Trimmed(str).empty()) return;
    TTextBox b = {Trimmed(str), x, y, x + w, y + h};
    int ix0, iy0, ix1, iy1;
    // Painted paper covers its whole cell; on transparent paper only the ink counts.
    if (!opaque && w == FGFontManager::textwidth(buffer->get_font(), str) &&
        InkBounds(buffer->get_font(), str, &ix0, &iy0, &ix1, &iy1))
        b = {b.text, x + ix0, y + iy0, x + ix1, y + iy1};
    b.font = w == FGFontManager::textwidth(buffer->get_font(), str) ? buffer->get_font() : -1;
    b.ink = ink & 0xFFFFFF;
    b.cellX = x;
    b.cellY = y;
    b.raw = str;
    Texts2D.push_back(b);
}

// GL glyphs stand in a 32-row cell: capitals and digits from row 4 to the baseline at 26.
void TraceGL(int x, int y, int w, int h, const char* text) {
    const std::string t = Trimmed(text);
    if (t.empty()) return;
    const int font = GLLanguageFont(), whole = GLTextWidth(text, 10, font);
    const int lead = static_cast<int>(strspn(text, " "));
    const int before = lead ? GLTextWidth(std::string(text, size_t(lead)).c_str(), 10, font) : 0;
    const int inkW = whole > 0 ? w * GLTextWidth(t.c_str(), 10, font) / whole : w;
    const int inkX = whole > 0 ? x + w * before / whole : x;
    TTextBox b = {t, inkX, y + h * 4 / 32, inkX + inkW, y + h * 26 / 32, true};
    ((GLView.paintFlags & GLPaintNarrow) ? TextsStrip : TextsPage).push_back(b);
}

struct TTrace {
    TTrace() {
        fg_text_trace = Trace2D;
        GLTextTrace = TraceGL;
    }
    ~TTrace() {
        fg_text_trace = nullptr;
        GLTextTrace = nullptr;
    }
};

struct TUnitsCase {
    const char* name;
    int item;  // the units menu item that sets them
};
const TUnitsCase UnitsCases[] = {{"metric", 65}, {"US", 67}};

struct TScreenCase {
    const char* name;
    int screen;
    bool towing = false;  // "Other Setting" > "Towing Menu ON": the wide strip, the alternative page
    int language = 1033;  // as the language page sets it
};
const TScreenCase ScreenCases[] = {
    {"engine page", 1}, {"flight page", 2}, {"flight view and engine strip", 3},
    {"flight view and NAV strip", 4}, {"flight view and GPS strip", 5},
    {"flight view and wide engine strip", 3, true}, {"alternative engine page", 1, true},
    {"engine page in Russian", 1, false, 1049}, {"alternative engine page in Russian", 1, true, 1049},
};

// Places where the layout itself puts two texts on each other: both texts start
// inside the region.
struct TAllowed {
    int screen;
    int x0, y0, x1, y1;
    const char* why;
};
const TAllowed Allowed[] = {
    {1, 320, 245, 380, 265, "the left tank's CAL mark (330, 250) over its gauge's 1/2"},
    {1, 400, 30, 440, 55, "the oil temperature dial's last two numbers at its top end"},
    {3, 730, 60, 790, 80, "the first tank's CAL mark (735, 70) over its gauge's 1/2"},
    {3, 730, 200, 790, 220, "the second tank's CAL mark (735, 208) over its gauge's 1/2"},
    {3, 565, 195, 680, 215, "the wide strip's tank CAL marks (570 and 625, 200) over their gauges' 1/2"},
    {3, 740, 30, 790, 55, "the two-dial strip's MAP half dial: its last two numbers at its top end"},
};

bool IsAllowed(int screen, const TTextBox& a, const TTextBox& b) {
    // A failed reading's ERR flag stands over its gauge's face, as it is meant to.
    if ((a.picture || b.picture) && (a.picture ? b : a).text == Trimmed(gettext("  ERR  "))) return true;
    auto in = [](const TAllowed& p, const TTextBox& t) { return t.x0 >= p.x0 && t.x0 < p.x1 && t.y0 >= p.y0 && t.y0 < p.y1; };
    for (const TAllowed& p : Allowed)
        if (p.screen == screen && in(p, a) && in(p, b)) return true;
    return false;
}

// One layout in one unit system: the last frame's texts and those of its GL picture.
class PilotReading : public ::testing::Test {
protected:
    void SetUp() override {
        // The menus, soft keys and overlays as dashview's start links them.
        InstallMenuLinks();
        InstallScreenKeyLinks();
        InstallOverlayLinks();
        InstallSetupLinks();
        ASSERT_TRUE(road_.Open());
        ASSERT_EQ(symlink(RUN_DIR "/locale", "locale"), 0);  // the catalogues
    }
    // Chooses the units in setup (leaving it marks the engine pictures for rendering
    // again), shows the screen and draws frames until the averages settle.
    void Show(const TUnitsCase& u, const TScreenCase& s) {
        TTrace trace;
        TextsPage.clear();
        TextsStrip.clear();
        ChooseLanguage(s.language);
        ChooseUnits(u.item);
        ChooseTowing(s.towing);
        fg_text_trace = nullptr;
        ASSERT_TRUE(road_.Select(s.screen, false)) << s.name;
        TracedFrames(21);
        texts_ = Texts2D;
        if (s.screen == 1) texts_.insert(texts_.end(), TextsPage.begin(), TextsPage.end());
        if (s.screen == 3) texts_.insert(texts_.end(), TextsStrip.begin(), TextsStrip.end());
    }
    // Setup, the Language page, the language's row, then Save and Exit: the keys a pilot
    // presses. English or Russian.
    void ChooseLanguage(int language) {
        if (LanguageId == language) return;
        const int row = language == LanguageRussian ? ItemRussian : ItemEnglish;
        for (char k : std::string("1wwwww141")) Press(k);
        for (int i = 0; i < 20 && MainMenu.SelectedItem() != ItemLanguage; ++i) Press('w');
        Press('1');
        for (int i = 0; i < 10 && MainMenu.SelectedItem() != row; ++i) Press('w');
        ASSERT_EQ(MainMenu.SelectedItem(), row);
        for (char k : std::string("124")) Press(k);  // the row, "Save and Exit", "Yes"
        ASSERT_EQ(LanguageId, language);
    }
    // Setup (menu, "Setup", Yes), the unit system's page, the item, then Save and Exit:
    // the keys a pilot presses.
    void ChooseUnits(int item) {
        for (char k : std::string("1wwwww14")) Press(k);
        Press('1');
        Press('1');
        for (int i = 0; i < 10 && MainMenu.SelectedItem() != item; ++i) Press('w');
        ASSERT_EQ(MainMenu.SelectedItem(), item);
        Press('1');
        Press('2');
        Press('4');
        ASSERT_EQ(UnitsSetting.airspeed, item == 65 ? 2 : 0);
        ASSERT_EQ(SetupModeActive, 0);
    }
    // "Other Setting" (item 8 or 9 by the screen) > "Towing Menu ON" or "OFF".
    void ChooseTowing(bool on) {
        if (((RuntimeFlags() & 1) != 0) == on) return;
        Press('1');
        for (int i = 0; i < 30 && MainMenu.SelectedItem() != ItemOtherSettingFlight &&
                        MainMenu.SelectedItem() != ItemOtherSettingEngine;
             ++i)
            Press('w');
        Press('1');
        const int item = on ? 293 : 294;
        for (int i = 0; i < 10 && MainMenu.SelectedItem() != item; ++i) Press('w');
        ASSERT_EQ(MainMenu.SelectedItem(), item);
        Press('1');
        ASSERT_EQ((RuntimeFlags() & 1) != 0, on);
    }
    // A bezel key through the window's own key entry.
    void Press(int k) {
        FGEvent key{};
        key.type = FGE_KEY;
        key.key = k;
        OnMainWindowEvent(nullptr, &key);
    }
    // Draws n frames; the texts of the last land in Texts2D.
    void TracedFrames(int n) {
        for (int i = 1; i < n; ++i) road_.Frame();
        Texts2D.clear();
        fg_text_trace = Trace2D;
        road_.Frame();
        fg_text_trace = nullptr;
    }
    FGPixel At(int x, int y) const { return MainWindow->pixels[y * MainWindow->width + x] & 0xFFFFFF; }

    frame_road::TFrameRoad road_;
    std::vector<TTextBox> texts_;
};

// Every pair of texts of the layout that meet outside the places the layout allows.
void ExpectNoTextOverAnother(const std::vector<TTextBox>& texts, const TUnitsCase& u, const TScreenCase& s) {
    std::set<std::string> seen;
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const TTextBox &a = texts[i], &b = texts[j];
            if (!a.overlaps(b) || IsAllowed(s.screen, a, b)) continue;
            // The same text again in its own place is a redraw, not a second text.
            if (a.text == b.text && a.x0 == b.x0 && a.y0 == b.y0) continue;
            const std::string pair = "\"" + a.text + "\" (" + std::to_string(a.x0) + ", " + std::to_string(a.y0) +
                                     ") and \"" + b.text + "\" (" + std::to_string(b.x0) + ", " +
                                     std::to_string(b.y0) + ")";
            if (seen.insert(pair).second) ADD_FAILURE() << u.name << ", " << s.name << ": " << pair;
        }
}

TEST_F(PilotReading, NoTextIsDrawnOverAnother) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    for (const TUnitsCase& u : UnitsCases)
        for (const TScreenCase& s : ScreenCases) {
            Show(u, s);
            ExpectNoTextOverAnother(texts_, u, s);
        }
}

// With no data every reading shows its flag alone.
TEST_F(PilotReading, NoTextIsDrawnOverAnotherWithoutData) {
    for (const TScreenCase& s : ScreenCases) {
        Show(UnitsCases[0], s);
        ExpectNoTextOverAnother(texts_, UnitsCases[0], s);
    }
}

}  // namespace

namespace {

// Share of a 2-D text's ink box where the finished frame no longer shows the text
// as it was drawn (ink where the glyphs are, other colours between them).
double CoveredShare(const TTextBox& t, const FGDrawBuffer& frame) {
    const int w = FGFontManager::textwidth(t.font, t.raw.c_str()), h = FGFontManager::get_font_height(t.font);
    FGDrawBuffer cell(w, h, FG_TYPE_BITMAP, 0);
    cell.set_font(t.font);
    cell.text(0, 0, t.raw.c_str(), 0xFFFFFF, 0);
    int all = 0, lost = 0;
    for (int y = t.y0; y < t.y1; ++y)
        for (int x = t.x0; x < t.x1; ++x) {
            const bool glyph = (cell.pixels[(y - t.cellY) * w + (x - t.cellX)] & 0xFFFFFF) != 0;
            ++all;
            lost += x < 0 || y < 0 || x >= frame.width || y >= frame.height ||
                    ((frame.pixels[y * frame.width + x] & 0xFFFFFF) == t.ink) != glyph;
        }
    return all ? double(lost) / all : 1.0;
}

// The barometric box's unit stays whole while the soft keys show after a key.
TEST_F(PilotReading, TheBaroUnitStaysWholeUnderTheKeys) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    for (const TUnitsCase& u : UnitsCases)
        for (int screen : {2, 3}) {
            const TScreenCase& s = ScreenCases[screen - 1];
            Show(u, s);
            Press('5');  // the screen keys
            TracedFrames(6);
            ASSERT_EQ(KeyBarHeight, 25) << u.name << ", " << s.name;
            const std::string unit = u.item == 67 ? "inHg" : "mBar";
            const TTextBox* found = nullptr;
            for (const TTextBox& t : Texts2D)
                if (t.text == unit && t.font >= 0) found = &t;
            ASSERT_NE(found, nullptr) << u.name << ", " << s.name;
            EXPECT_EQ(CoveredShare(*found, *MainWindow), 0.0)
                << u.name << ", " << s.name << ": part of \"" << unit << "\" is covered";
            Press('1');  // and away again
        }
}

// The engine layouts' bars with a printed number scale, and the columns where that
// scale's numbers stand.
struct TBarCase {
    int screenCase;  // in ScreenCases
    const char* name;
    int bar;
    const TDisplayItem* box;
    int labelsFrom, labelsTo;
    const TLimitB* tank = nullptr;  // a tank's: its E, 1/2 and F are shares of its capacity (in l or US gal)
};
const TBarCase BarCases[] = {
    {0, "left tank", BarTank1, &PageItems[RowTank1], 368, 392, &LimitTankLeft},
    {0, "right tank", BarTank2, &PageItems[RowTank2], 400, 425, &LimitTankRight},
    {0, "fuel pressure", BarFuelPress, &PageItems[RowFuelPress], 362, 400},
    {0, "fuel flow", BarFuelFlow, &PageItems[RowFuelFlow], 400, 430},
    {5, "wide strip oil pressure", BarWideOilPress, &EngineStripItems[StripBoxOilPress], 605, 640},
    {5, "wide strip oil temperature", BarWideOilTemp, &EngineStripItems[StripBoxOilTemp], 660, 695},
    {5, "wide strip water", BarWater, &WaterBarItem, 715, 750},
};

TEST_F(PilotReading, EachBarEndsAtItsValueOnItsPrintedScale) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    for (const TUnitsCase& u : UnitsCases)
        for (int screenCase : {0, 5}) {
            Show(u, ScreenCases[screenCase]);
            for (const TBarCase& c : BarCases) {
                if (c.screenCase != screenCase) continue;
                const TBarItem& bar = EngineBars[c.bar];
                const TDisplayItem& box = *c.box;
                ASSERT_GT(bar.value, 0) << u.name << ", " << c.name << ": the flight feeds it";
                // The printed numbers, bottom up, at the height of their ticks.
                struct TLabel {
                    double value, y;
                };
                std::vector<TLabel> labels;
                for (const TTextBox& t : texts_) {
                    if (!t.picture || t.y0 < bar.y + bar.dy - 20 || t.y0 > bar.y + bar.dy + bar.height) continue;
                    char* end;
                    const std::string m = t.text == "E" ? "0" : t.text == "1/2" ? ".5" : t.text == "F" ? "1" : "x";
                    const double v = c.tank ? strtod(m.c_str(), &end) * c.tank->range / (u.item == 67 ? 37.854 : 10.0)
                                            : strtod(t.text.c_str(), &end);
                    if (*end || t.x0 < c.labelsFrom || t.x0 >= c.labelsTo) continue;
                    labels.push_back({v, (t.y0 + t.y1) / 2.0});
                }
                std::sort(labels.begin(), labels.end(), [](const TLabel& a, const TLabel& b) { return a.y > b.y; });
                ASSERT_GE(labels.size(), 3u) << u.name << ", " << c.name;
                // The fill's end: its highest pixel in the bar's column.
                const int x = bar.x + bar.dx + bar.width / 2, top = bar.y + bar.dy, bottom = top + bar.height;
                int end = bottom;
                for (int y = bottom - 1; y >= top; --y)
                    if (At(x, y) == FGPixel(bar.normalColour) || At(x, y) == FGPixel(bar.warnColour) ||
                        At(x, y) == FGPixel(bar.alarmColour))
                        end = y;
                // Read off the printed scale there.
                double read = labels.back().value;
                for (size_t i = 0; i + 1 < labels.size(); ++i)
                    if (end <= labels[i].y && end >= labels[i + 1].y) {
                        const TLabel &lo = labels[i], &hi = labels[i + 1];
                        read = lo.value + (hi.value - lo.value) * (lo.y - end) / (lo.y - hi.y);
                    }
                const double step = labels[1].value - labels[0].value;
                const double value = bar.value / std::pow(10.0, box.decimals);
                EXPECT_NEAR(read, value, step) << u.name << ", " << c.name << ": the bar ends at " << read
                                               << " on the printed scale, the box shows " << value;
            }
        }
}

}  // namespace
namespace {

// A knob turn on the flight layouts opens the enlarged barometric editor box
// (200 x 81 at (x, 350)); the unit then shows inside it and nowhere else.
TEST_F(PilotReading, TheBaroEditorKeepsItsUnitInsideItsBox) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    struct TBoxCase {
        int screen, x;
    };
    for (const TUnitsCase& u : UnitsCases)
        for (const TBoxCase& c : {TBoxCase{2, 500}, TBoxCase{3, 300}}) {
            const TScreenCase& s = ScreenCases[c.screen - 1];
            Show(u, s);
            Press('s');
            TracedFrames(2);
            ASSERT_EQ(BaroEditActive, 1) << u.name << ", " << s.name;
            const std::string unit = u.item == 67 ? "inHg" : "mBar";
            int found = 0;
            for (const TTextBox& t : Texts2D)
                if (t.text == unit) {
                    ++found;
                    EXPECT_TRUE(t.x0 >= c.x && t.x1 <= c.x + 200 && t.y0 >= 350 && t.y1 <= 431)
                        << u.name << ", " << s.name << ": \"" << unit << "\" at (" << t.x0 << ", " << t.y0 << ")";
                }
            EXPECT_EQ(found, 1) << u.name << ", " << s.name;
            Press('4');  // Cancel
            EXPECT_EQ(BaroEditActive, 0) << u.name << ", " << s.name;
        }
}

}  // namespace

namespace {

// The brightness slider, opened through the menu, stands over the flight view's
// altimeter at (239, 200), 300 x 30: green up to its level, its own dark ground
// beyond, whatever lies under it.
TEST_F(PilotReading, TheBrightnessSliderKeepsItsOwnGround) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    for (const TScreenCase& s : ScreenCases) {
        Show(UnitsCases[0], s);
        Press('1');  // the main menu
        for (int i = 0; i < 30 && MainMenu.SelectedItem() != ItemBrightness; ++i) Press('w');
        ASSERT_EQ(MainMenu.SelectedItem(), ItemBrightness) << s.name << ": the menu offers Brightness";
        Press('1');
        ASSERT_EQ(LevelSliderShown, 1) << s.name;
        // Dimmer or brighter to about half way, through the slider's keys.
        for (int i = 0; i < 20 && BrightnessSetting.level > 600; ++i) Press('s');
        for (int i = 0; i < 20 && BrightnessSetting.level < 400; ++i) Press('w');
        TracedFrames(2);
        const int fill = BrightnessSetting.level * 300 / 1000;
        ASSERT_GT(fill, 0) << s.name;
        ASSERT_LT(fill, 298) << s.name;
        int green = 0, ground = 0, other = 0;
        for (int y = 201; y < 229; ++y)
            for (int x = 240; x < 538; ++x) {
                const FGPixel p = At(x, y);
                if (x < 239 + fill) green += p == 0x00F800;
                else if (p == 0) ++ground;
                else ++other;
            }
        EXPECT_EQ(green, (fill - 1) * 28) << s.name << ": the filled part";
        EXPECT_EQ(other, 0) << s.name << ": " << other << " pixels of the empty part show what lies under it";
        EXPECT_GT(ground, 0) << s.name;
        Press('1');  // done
        EXPECT_EQ(LevelSliderShown, 0) << s.name;
    }
}

}  // namespace

namespace {

// A first start fed as the bench feeds its thermocouples (exhaust gas on 1..6, cylinder
// heads on 7..12), the recorded flight in cruise on the engine page: each box of the four
// cylinders reads its own kind, and none stands in its alarm colour.
TEST_F(PilotReading, AFirstStartReadsTheBenchsThermocouples) {
    struct TThermoCase {
        const char* name;
        int k;       // 0 EGT, 1 CHT
        int lo, hi;  // degrees C
    };
    const TThermoCase cases[] = {{"EGT", 0, 500, 850}, {"CHT", 1, 100, 130}};
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    Show(UnitsCases[0], ScreenCases[0]);
    ASSERT_EQ(EngineGaugeConfig.cylinders, 4);
    for (const TThermoCase& c : cases)
        for (int slot = 0; slot < 4; ++slot) {
            const TDisplayItem& box = PageItems[RowThermo4 + 2 * slot + c.k];
            EXPECT_GE(box.value, c.lo) << c.name << " " << slot + 1;
            EXPECT_LE(box.value, c.hi) << c.name << " " << slot + 1;
            int alarm = 0;
            for (int y = box.y; y < box.y + box.height; ++y)
                for (int x = box.x; x < box.x + box.width; ++x) alarm += At(x, y) == FGPixel(box.alarmColour);
            EXPECT_EQ(alarm, 0) << c.name << " " << slot + 1 << " reads " << box.value << " in its alarm colour";
        }
}

// A start with the block already holding the recorded flight's first moment (on the field
// at 380 m, outside air 15 C, both tanks full): the first frame that shows the readings
// reads these values, never a rise toward them.
TEST_F(PilotReading, TheFirstFrameReadsTheWrittenValues) {
    struct TReading {
        const char* name;
        std::string text;
        int count;
    };
    const TReading readings[] = {{"both tanks full", "40.0", 2}, {"the outside air", "15", 1}};
    ASSERT_TRUE(PlayRecordedFlight(1));
    ASSERT_TRUE(road_.Select(3, false));  // flight view and engine strip
    TTrace trace;
    Texts2D.clear();
    for (int i = 0; i < 3 && Texts2D.empty(); ++i) road_.Frame();
    ASSERT_FALSE(Texts2D.empty());
    for (const TReading& r : readings)
        EXPECT_EQ(std::count_if(Texts2D.begin(), Texts2D.end(), [&r](const TTextBox& t) { return t.text == r.text; }),
                  r.count)
            << r.name;
    int32_t metres = 0;
    ASSERT_EQ(AverReader->GetValue(echAltitudeQNH, metres), 0);
    EXPECT_EQ(metres, 380) << "the altimeter of that frame";
}

}  // namespace

namespace {

// Each gauge of each engine layout: its caption, its unit (metric, US) and at least
// three labels of its scale stand in its region of the page; where a reading is
// named, its value stands there too, so that it reads under its own caption.
struct TGaugeCase {
    int screenCase;  // in ScreenCases
    const char* caption;
    const char* unit[2];
    int x0, y0, x1, y1;  // where the texts start (readings: where they end)
    bool reading;
    bool absent = false;  // a gauge that nothing feeds on this layout: not drawn
};
const TGaugeCase GaugeCases[] = {
    {0, "RPM", {"x100", "x100"}, 40, 30, 200, 150, false},
    {0, "MAP", {"mB", "inHg"}, 590, 30, 760, 150, false},
    {0, "OIL PRESS", {"Bar", "psi"}, 270, 30, 400, 145, false},
    {0, "OIL TEMP", {"C", "F"}, 425, 30, 520, 145, false},
    {0, "WATER", {"C", "F"}, 375, 25, 435, 180, true},
    {0, "LEFT", {"LITRE", "GAL"}, 300, 200, 400, 330, false},
    {0, "RIGHT", {"LITRE", "GAL"}, 400, 200, 500, 330, false},
    {0, "FUEL PRESS", {"Bar", "psi"}, 300, 330, 400, 450, false},
    {0, "FUEL FLOW", {"l/h", "GAL/h"}, 400, 330, 500, 450, false},
    {2, "RPM", {"x100", "x100"}, 600, 40, 700, 110, false},
    {2, "MAP", {"mB", "inHg"}, 600, 185, 700, 250, false},
    {2, "OIL PRESS", {"Bar", "psi"}, 580, 315, 660, 390, false},
    {2, "OIL TEMP", {"C", "F"}, 660, 315, 730, 390, false},
    {2, "LEFT", {"LITRE", "GAL"}, 740, 10, 800, 140, false},
    {2, "RIGHT", {"LITRE", "GAL"}, 740, 150, 800, 280, false},
    // The wide strip: four columns over the value boxes at x 561, 616, 671, 726.
    {5, "LEFT", {"L", "G"}, 561, 150, 616, 275, true},
    {5, "RIGHT", {"L", "G"}, 616, 150, 671, 275, true},
    {5, "PRESS FUEL", {"B", "p"}, 671, 150, 726, 275, true},
    {5, "FLOW", {"l/h", "G/h"}, 726, 150, 781, 275, true},
    {5, "PRESS OIL", {"B", "p"}, 561, 285, 616, 415, true},
    {5, "TEMP", {"C", "F"}, 616, 285, 671, 415, true},
    {5, "WATER", {"C", "F"}, 671, 285, 726, 415, true},
    {6, "CHT", {"C", "F"}, 40, 290, 130, 410, false},
    {6, "WATER", {"C", "F"}, 150, 290, 250, 410, false},
    {6, "FUEL PRESS", {"Bar", "psi"}, 300, 330, 400, 450, false},
    {6, "WATER", {"C", "F"}, 375, 25, 435, 180, false, true},  // the centre face
};

bool IsScaleLabel(const std::string& t) {
    char* end;
    strtod(t.c_str(), &end);
    return (!t.empty() && !*end) || t == "E" || t == "F" || t == "1/2";
}

TEST_F(PilotReading, EveryGaugeCarriesItsCaptionUnitAndScale) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    for (size_t k = 0; k < sizeof UnitsCases / sizeof UnitsCases[0]; ++k)
        for (size_t sc = 0; sc < sizeof ScreenCases / sizeof ScreenCases[0]; ++sc) {
            const TScreenCase& s = ScreenCases[sc];
            bool any = false;
            for (const TGaugeCase& g : GaugeCases) any |= g.screenCase == int(sc);
            if (!any) continue;
            Show(UnitsCases[k], s);
            for (const TGaugeCase& g : GaugeCases) {
                if (g.screenCase != int(sc)) continue;
                bool caption = false, unit = false, reading = false;
                int labels = 0;
                for (const TTextBox& t : texts_) {
                    const bool starts = t.x0 >= g.x0 && t.x0 < g.x1 && t.y0 >= g.y0 && t.y0 < g.y1;
                    if (t.picture && starts) {
                        caption |= t.text == g.caption;
                        unit |= t.text == g.unit[k];
                        labels += IsScaleLabel(t.text);
                    }
                    reading |= !t.picture && IsScaleLabel(t.text) && t.x1 > g.x0 && t.x1 <= g.x1 && t.y0 >= g.y0 &&
                               t.y0 < g.y1;
                }
                const std::string where = std::string(UnitsCases[k].name) + ", " + s.name + ", " + g.caption;
                if (g.absent) { EXPECT_FALSE(caption || labels >= 3) << where << ": an empty gauge"; continue; }
                EXPECT_TRUE(caption) << where << ": no caption";
                EXPECT_TRUE(unit) << where << ": no \"" << g.unit[k] << "\"";
                EXPECT_GE(labels, 3) << where << ": no scale";
                if (g.reading) {
                    EXPECT_TRUE(reading) << where << ": its value stands elsewhere";
                }
            }
        }
}

}  // namespace
namespace {

// The water reading's printed scales carry the water dial's own bands: the green
// runs from 0 up to its yellow start (the auxiliary dial's limits differ).
TEST_F(PilotReading, TheWaterScalesAreTheWaterDials) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    struct TColumn {
        int screenCase, x, y0, y1;
    };
    for (const TUnitsCase& u : UnitsCases)
        for (const TColumn& c : {TColumn{0, 404, 20, 140}, TColumn{5, 713, 300, 395}}) {
            Show(u, ScreenCases[c.screenCase]);
            const TInstrumentConfig& d = EngineDialConfig[DialWater];
            ASSERT_GT(d.maximum, 0);
            // The green's top and bottom rows; the 2-px tick lines at its ends hide up to 3.
            int top = c.y1, bottom = c.y0;
            for (int y = c.y0; y < c.y1; ++y)
                if (At(c.x, y) == 0x00C800u) top = std::min(top, y), bottom = std::max(bottom, y);
            const int green = bottom - top + 1, want = d.yellowStart * 80 / d.maximum;
            EXPECT_TRUE(green <= want && green >= want - 3)
                << u.name << ", " << ScreenCases[c.screenCase].name << ": green " << green << " of " << want;
        }
}

}  // namespace

namespace {

// The attitude through the block, pitch from -170 to 170 degrees at a roll of 30: the
// ladder's line through the centre and the terrain view's horizon tell one attitude.
// Past the vertical the aircraft is upside down (pitch 160 is the nose 20 degrees
// above the horizon), so the ladder turns over with the view: its numbers stand on
// the sky's side, upside down on the screen.
struct TLadderReading {
    int degrees = -1;   // the number of the line through the centre
    int turn = 0;       // tenths: the turn of its numbers on the screen
    bool above = false; // its ticks point to the numbers' feet, towards the horizon below them
    double match = 0;   // share of the number's ink found in the frame
};

// Reads the line through the centre (400, 240) of the full-width ladder: the number
// and its turn that match the frame best, then the side its ticks point to.
TLadderReading ReadLadder(const FGDrawBuffer& w, int roll) {
    const FGBitmap* glyphs = MainPictures[PicStupniceAngle];
    TLadderReading best;
    if (!glyphs) return best;
    auto at = [](int turn, int x, int y) {
        const int64_t s = FixSin(turn), c = FixCos(turn);
        return std::make_pair(400 + ((x * c + 0x8000) >> 16) - ((y * s + 0x8000) >> 16),
                              240 - (((x * s + 0x8000) >> 16) + ((y * c + 0x8000) >> 16)));
    };
    auto white = [&](std::pair<int64_t, int64_t> p) {
        return p.first >= 0 && p.second >= 0 && p.first < 800 && p.second < 480 &&
               (w.pixels[p.second * 800 + p.first] & 0xFFFFFF) == 0xFFFFFF;
    };
    for (int turn : {(roll + 3600) % 3600, (roll + 5400) % 3600})
        for (int n = 10; n <= 80; n += 10) {
            int ink = 0, found = 0;
            for (int j = 0; j < 20; ++j)
                for (int i = 0; i < 32 && i < glyphs->width; ++i) {
                    const int row = 28 * n / 10 + 3 + j;
                    if (row >= glyphs->height || (glyphs->pixels[row * glyphs->width + i] & 0xFFFFFF) != 0xFFFFFF)
                        continue;
                    for (int ox : {92, -122}) {
                        ++ink;
                        found += white(at(turn, ox + i, 7 - j));
                    }
                }
            const double m = ink ? double(found) / ink : 0;
            if (m > best.match) best = {n, turn, false, m};
        }
    best.above = white(at(best.turn, 90, -5)) && white(at(best.turn, -90, -5));
    return best;
}

// Sky of the terrain view (terrain off): bluer than red; its ground is brown.
bool IsSky(FGPixel p) { return (p & 0xFF) > ((p >> 16) & 0xFF) + 40; }

TEST_F(PilotReading, TheLadderAndTheHorizonTellOneAttitude) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    Show(UnitsCases[0], ScreenCases[1]);
    for (int pitch = -170; pitch <= 170; pitch += 10) {
        if (pitch % 90 == 0) continue;  // no number on the horizon and the vertical
        ASSERT_TRUE(RunBlockWriter({"float", "0x0803", std::to_string(pitch), "float", "0x0804", "30"}));
        TracedFrames(3);
        // The nose's height over the horizon.
        const int nose = pitch > 90 ? 180 - pitch : pitch < -90 ? -180 - pitch : pitch;
        const TLadderReading r = ReadLadder(*MainWindow, 300);
        EXPECT_GT(r.match, 0.95) << "pitch " << pitch;
        EXPECT_EQ(r.above ? r.degrees : -r.degrees, nose) << "pitch " << pitch << ": the ladder";
        // Between the line through the centre and the next: the view's own colour.
        EXPECT_EQ(IsSky(At(400, 200)), nose > 0) << "pitch " << pitch << ": the view at the centre";
        if (pitch == 160) {
            EXPECT_EQ(r.turn, 2100) << "the ladder turned over";
            EXPECT_FALSE(IsSky(At(20, 100))) << "the ground at the top left";
            EXPECT_TRUE(IsSky(At(300, 420))) << "the sky below";
            // The bank pointer turns over with the ladder: down to the right, to the sky.
            int pointer = 0;
            for (int y = 333; y < 338; ++y)
                for (int x = 453; x < 458; ++x) pointer += At(x, y) == 0xFFFFFF;
            EXPECT_GE(pointer, 20);
        }
    }
}

}  // namespace

namespace {

// The flight view beside the engine strip holds its TAS and OAT boxes inside the attitude's
// viewport, and the COMM panel's standby box stands over the page: at every pitch and bank
// the ladder passes behind the boxes (no white of it on their texts), and the panel's title
// stays inside its 150-px box (640 to 790), in English and in Russian (chosen in setup).
TEST_F(PilotReading, TheValueBoxesAndTheCommPanelStandClear) {
    ASSERT_TRUE(PlayRecordedFlight(FlightMoment));
    auto white = [this](const TTextBox& t) {
        int n = 0;
        for (int y = t.y0; y < t.y1; ++y)
            for (int x = t.x0; x < t.x1; ++x) n += At(x, y) == 0xFFFFFF;
        return n;
    };
    for (int language : {1033, LanguageRussian}) {
        TScreenCase strip = ScreenCases[2];
        strip.language = language;  // chosen in setup by Show
        Show(UnitsCases[0], strip);
        for (int roll : {0, 25})
            for (int pitch = -20; pitch <= 24; pitch += 2) {
                const std::string p = std::to_string(pitch), r = std::to_string(roll);
                ASSERT_TRUE(RunBlockWriter({"float", "0x0803", p, "float", "0x0804", r}));
                TracedFrames(3);
                int boxes = 0;
                for (const TTextBox& t : Texts2D) {
                    if (t.cellX < 95 || t.cellX >= 175 || t.cellY < 70 || t.cellY >= 160) continue;
                    ++boxes;
                    EXPECT_EQ(white(t), 0) << LanguageId << ", pitch " << pitch << ", roll " << roll << ": \""
                                           << t.text << "\" under the ladder";
                }
                EXPECT_EQ(boxes, 4) << LanguageId << ", pitch " << pitch;
            }
        DevicePort[CommPortSub - 1].flags = PortConnected;
        BindScreenKeys();  // the radio's key "COMM"
        for (int spacing : {0, 1}) {
            FreqStepSetting.step = static_cast<uint8_t>(spacing);  // 8.33 kHz, 25 kHz
            Press('3');
            ASSERT_EQ(FreqEditorShown, 1);
            TracedFrames(2);
            int titles = 0;
            for (const TTextBox& t : Texts2D)
                if (t.cellY >= 360 && t.cellY < 380 && t.x1 > 560) {
                    ++titles;
                    EXPECT_TRUE(t.x0 >= 642 && t.x1 <= 788) << t.text << " at " << t.x0 << " to " << t.x1;
                    EXPECT_EQ(CoveredShare(t, *MainWindow), 0.0) << t.text;
                    EXPECT_EQ(t.text.rfind("SBY freq.", 0) == 0, language == 1033) << t.text;  // translated
                }
            EXPECT_EQ(titles, 1) << LanguageId;
            Press('3');  // "Cancel"
        }
        DevicePort[CommPortSub - 1].flags = 0;
        BindScreenKeys();
    }
}

}  // namespace
