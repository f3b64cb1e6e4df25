// The value editors as the installer and the pilot open them from the bezel keys: what
// their boxes show in the frame, where the cursor stands, and what lands in the store.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bugeditors.h"
#include "editors.h"
#include "fgfontmanager.h"
#include "infopages.h"
#include "keyglue.h"
#include "limiteditors.h"
#include "page_assets.h"
#include "settingvars.h"
#include "softkey_fixture.h"
#include "window_probe.h"

namespace {

constexpr FGPixel Page = 0x305070;

class EditorBoxes : public SoftKeyFixture {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    void SetUp() override {
        SoftKeyFixture::SetUp();
        UnitsSetting = {};
        UnitsSetting.airspeed = 2;
        UnitsSetting.altitude = 1;
        // Every turn of the knob is a slow one.
        SetKnobClock([this] { return clockUs += 1000000; });
        CloseMessageBox();
    }
    void TearDown() override {
        SetKnobClock(nullptr);
        SoftKeyFixture::TearDown();
    }
    // The frame's overlays as the main window's paint draws them.
    void Paint() {
        probe.Clear();
        PaintOverlays(nullptr);
    }
    std::vector<FGPixel> Region(int x, int y, int w, int h) const {
        std::vector<FGPixel> v;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) v.push_back(probe.At(i, j));
        return v;
    }
    // The numeric editor's box at (x, 360) as it looks with this value.
    std::vector<FGPixel> NumericBox(int x, const char* title, const char* unit, int32_t value, int decimals,
                                    int cursor) {
        std::vector<FGPixel> v;
        {
            ProbedWindow other(Page);
            DrawNumericEditor(title, unit, value, decimals, cursor, x, 360, 0);
            for (int j = 360; j < 440; ++j)
                for (int i = x; i < x + 150; ++i) v.push_back(other.At(i, j));
        }
        MainWindow = &probe.window;
        return v;
    }

    ProbedWindow probe{Page};
    int64_t clockUs = 0;
};

}  // namespace

// The pilot's bug editors: the left knob's menu ("ALT", "Speed") or a turn of the left
// knob ("HDG") opens the box at (20, 360) with the bug's value; a step shows the next one.
TEST_F(EditorBoxes, BugEditorsShowTheirValueBoxFromTheKeys) {
    struct Row {
        const char* name;
        const char* keys;  // from the flight screen to the open editor
        const char* title;
        const char* unit;
        int32_t shown, stepped;  // the value shown when opened and after one 'a'
    } rows[] = {
        {"ALT", "0aaa0", "ALT", "m", 304, 310},
        {"Speed", "0aaaa0", "Speed", "km/h", 185, 186},
        {"HDG", "a", "HDG", "deg", 123, 124},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        DisplaySetting.altBug = 3048;
        DisplaySetting.iasBug = 18520;
        DisplaySetting.hdgBug = 123;
        CloseMessageBox();
        Paint();
        EXPECT_EQ(probe.At(40, 410), Page);
        PressKeys(r.keys);
        Paint();
        EXPECT_EQ(probe.At(40, 410), 0xFFFFFFu) << "the value box";
        EXPECT_EQ(Region(20, 360, 150, 80), NumericBox(20, r.title, r.unit, r.shown, 0, 0));
        PressKeys("a");
        Paint();
        EXPECT_EQ(Region(20, 360, 150, 80), NumericBox(20, r.title, r.unit, r.stepped, 0, 0));
        PressKeys("4");  // Cancel closes the box
        Paint();
        EXPECT_EQ(probe.At(40, 410), Page);
    }
}
