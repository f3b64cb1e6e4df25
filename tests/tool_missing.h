// A test that needs what this machine lacks (Xvfb, a window manager, a program of the build)
// is skipped; where DASHVIEW_TESTS_NO_SKIP is set (CI), such a machine fails the run instead,
// so that missing tools never pass as green. Use as GTEST_SKIP:
//   if (!TXvfb::Installed()) TOOL_MISSING() << "Xvfb is not installed";
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

inline constexpr char TestsNoSkipVariable[] = "DASHVIEW_TESTS_NO_SKIP";

// Set to anything but "" and "0".
inline bool TestsNoSkip() {
    const char* value = std::getenv(TestsNoSkipVariable);
    return value && *value && std::strcmp(value, "0") != 0;
}

#define TOOL_MISSING()                                                                              \
    return GTEST_MESSAGE_AT_(__FILE__, __LINE__,                                                    \
                             TestsNoSkip() ? "Missing here, and DASHVIEW_TESTS_NO_SKIP forbids a skip" \
                                           : "Skipped",                                             \
                             TestsNoSkip() ? ::testing::TestPartResult::kFatalFailure                \
                                           : ::testing::TestPartResult::kSkip)
