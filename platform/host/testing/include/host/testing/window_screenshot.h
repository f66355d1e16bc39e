#pragma once
// What the screenshot tests of a window share. The display is chosen once per process, and a test
// binary has chosen headless already, so the window is shown by a fresh run of the binary that sees
// the X server; that run reads the window's pixels back from the X server once it is drawn and
// keeps them as a PPM file.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "host/display.h"
#include "host/testing/ppm.h"
#include "host/testing/x_screenshot.h"
#include "host/testing/xvfb.h"

struct ScreenArea {
  int left, top, width, height;
};

namespace screenshot_detail {

template <class MayTryAgain>
host::Image Shoot(const ScreenArea& area, const std::function<void()>& pump,
                  const std::function<bool(const host::Image&)>& shown, const std::string& ppmFile,
                  MayTryAgain mayTryAgain) {
  host::Image shot;
  while (mayTryAgain() && !(shot.width == area.width && shown(shot))) {
    pump();
    shot = XScreenShot(area.left, area.top, area.width, area.height);
  }
  if (shot.width != area.width) return {};
  WritePpm(shot, ppmFile);
  return shot;
}

}  // namespace screenshot_detail

// Runs `pump` (one turn of the program's loop) and reads the X server's pixels of `area` until
// `shown` holds of them, at most 100 times, and writes the last picture to `ppmFile`. Returns that
// picture, or an empty one when the server gave none.
inline host::Image ShootWhenShown(const ScreenArea& area, const std::function<void()>& pump,
                                  const std::function<bool(const host::Image&)>& shown, const std::string& ppmFile) {
  int attempts = 0;
  return screenshot_detail::Shoot(area, pump, shown, ppmFile, [&] { return attempts++ < 100; });
}

// The same, trying for up to `patience` by the clock: a window's first showing can reach the X
// server a while after it was drawn (slowly under the sanitizers).
inline host::Image ShootWhenShownWithin(std::chrono::seconds patience, const ScreenArea& area,
                                        const std::function<void()>& pump,
                                        const std::function<bool(const host::Image&)>& shown,
                                        const std::string& ppmFile) {
  const auto end = std::chrono::steady_clock::now() + patience;
  return screenshot_detail::Shoot(area, pump, shown, ppmFile, [&] { return std::chrono::steady_clock::now() < end; });
}

// The whole body of a screenshot test: skips without an X server; otherwise runs `showAndShoot`
// in a fresh process on the desktop back end, expects it to return no fault and to have written
// the screenshot `shotFile`.
inline void ExpectShownUnderX(const std::string& shotFile, const std::function<std::string()>& showAndShoot) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const char* forcedValue = std::getenv("STARTLOGO_DISPLAY");
  const std::string forced = forcedValue ? forcedValue : "";
  ::unsetenv("STARTLOGO_DISPLAY");
  std::remove(shotFile.c_str());
  EXPECT_EXIT(
      {
        const std::string faults =
            std::string(host::TheDisplay().Name()) == "headless" ? "the SDL2 back end did not start" : showAndShoot();
        std::fputs(faults.c_str(), stderr);
        std::_Exit(faults.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  if (!forced.empty()) ::setenv("STARTLOGO_DISPLAY", forced.c_str(), 1);
  std::ifstream shot(shotFile, std::ios::binary);
  std::string magic;
  shot >> magic;
  EXPECT_EQ(magic, "P6") << "the screenshot is kept as " << shotFile;
}
