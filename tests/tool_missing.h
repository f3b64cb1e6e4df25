// A test that needs what this machine lacks (Xvfb, a window manager, a program of the build) is
// skipped, or fails where DASHVIEW_TESTS_NO_SKIP is set (CI): a missing tool never passes as
// green. As GTEST_SKIP: if (!TXvfb::Installed()) TOOL_MISSING() << "Xvfb is not installed";
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

inline bool TestsNoSkip() {  // set to anything but "" and "0"
    const char* value = std::getenv("DASHVIEW_TESTS_NO_SKIP");
    return value && *value && std::strcmp(value, "0") != 0;
}

#define TOOL_MISSING()                                                                                  \
    return GTEST_MESSAGE_AT_(__FILE__, __LINE__, TestsNoSkip() ? "Missing, and DASHVIEW_TESTS_NO_SKIP is set" : "Skipped", \
                             TestsNoSkip() ? ::testing::TestPartResult::kFatalFailure : ::testing::TestPartResult::kSkip)
