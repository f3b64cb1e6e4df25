// Windows on the headless screen: the mode is set once per suite, each test starts from a
// fresh window context, and the windows a test left are deleted after it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "fgdriver.h"
#include "fgraster.h"
#include "fgwindow.h"

// A pixel of the whole screen.
inline FGPixel ScreenAt(int x, int y) { return fg_screen.surface[y * fg_screen.stride + x]; }

class HeadlessWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("DASHVIEW_HEADLESS", "1", 1);
        ASSERT_EQ(fg_set_mode(3), 1);
    }
    void SetUp() override { fg_window_context = FGWindowContext(); }
    void TearDown() override {
        fg_window_context.quitting = 1;
        while (fg_window_count() > 0) delete fg_window_at(fg_window_count() - 1);
    }
};
