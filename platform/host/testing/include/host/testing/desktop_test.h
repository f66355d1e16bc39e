#pragma once
// A test on a desktop of its own: an X server, a window manager on it and xdotool for real X
// input. The test is skipped where one of them is missing.
#include <gtest/gtest.h>

#include "host/testing/outside_tools.h"
#include "host/testing/window_manager.h"
#include "host/testing/xvfb.h"

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server_.Available()) GTEST_SKIP() << "no X display and no Xvfb";
    if (!manager_.Running()) GTEST_SKIP() << "no window manager (" << manager_.Name() << ")";
    if (!HaveTool("xdotool")) GTEST_SKIP() << "no xdotool for real X input";
  }

  ScopedXServer server_;
  ScopedWindowManager manager_;
};
