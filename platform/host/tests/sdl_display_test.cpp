#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "host/display.h"
#include "host/testing/x_screenshot.h"
#include "host/testing/xvfb.h"

namespace {

TEST(SdlDisplay, AWindowShowsItsPixelsOnTheScreen) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  auto display = host::MakeSdlDisplay();
  ASSERT_TRUE(display) << "SDL2 could not open the video subsystem";
  EXPECT_TRUE(display->NeedsPolling());

  const int w = 40, h = 30, left = 50, top = 60;
  host::SurfaceId id = display->Open({left, top, w, h, true, false, false, "pixels"});
  ASSERT_NE(id, 0u);
  display->Show(id, true);
  // Left half red, right half blue, a green line across row 10.
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<std::size_t>(y) * w + x] = y == 10 ? 0x00FF00 : x < w / 2 ? 0xFF0000 : 0x0000FF;

  host::Image shot;
  for (int attempt = 0; attempt < 40; ++attempt) {
    host::InputEvent e;
    while (display->Poll(e)) {
    }
    display->Present(id, w, h, pixels.data(), w);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    shot = XScreenShot(left, top, w, h);
    if (shot.pixels == pixels) break;
  }
  ASSERT_EQ(shot.width, w);
  EXPECT_EQ(shot.At(3, 3), 0xFF0000u);
  EXPECT_EQ(shot.At(w - 3, h - 3), 0x0000FFu);
  EXPECT_EQ(shot.At(7, 10), 0x00FF00u);
  EXPECT_EQ(display->Capture(id).pixels, pixels);
  display->Close(id);
}

}  // namespace
