#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "host/display.h"

namespace {

TEST(HeadlessDisplay, CaptureGivesThePresentedPixelsRowByRow) {
  auto display = host::MakeHeadlessDisplay();
  host::SurfaceId id = display->Open({0, 0, 3, 2, false, false, false, "t"});
  // Stride 4 with a junk column that must not show.
  const std::uint32_t pixels[] = {1, 2, 3, 99, 4, 5, 6, 99};
  display->Present(id, 3, 2, pixels, 4);
  host::Image image = display->Capture(id);
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
  display->Close(id);
  EXPECT_TRUE(display->Capture(id).pixels.empty());
}

TEST(HeadlessDisplay, InjectedInputArrivesInOrderAndWakesTheWaiter) {
  auto display = host::MakeHeadlessDisplay();
  std::atomic<int> wakes{0};
  display->SetWakeHandler([&] { ++wakes; });
  std::thread other([&] {
    host::InputEvent down;
    down.kind = host::InputEvent::Kind::KeyDown;
    down.key = 'A';
    display->Inject(down);
    host::InputEvent up = down;
    up.kind = host::InputEvent::Kind::KeyUp;
    display->Inject(up);
  });
  other.join();
  EXPECT_EQ(wakes.load(), 2);
  host::InputEvent e;
  ASSERT_TRUE(display->Poll(e));
  EXPECT_EQ(e.kind, host::InputEvent::Kind::KeyDown);
  ASSERT_TRUE(display->Poll(e));
  EXPECT_EQ(e.kind, host::InputEvent::Kind::KeyUp);
  EXPECT_FALSE(display->Poll(e));
  EXPECT_FALSE(display->NeedsPolling());
}

TEST(TheDisplay, IsHeadlessWhenForced) {
  // CTest sets STARTLOGO_DISPLAY=headless for every test.
  EXPECT_STREQ(host::TheDisplay().Name(), "headless");
}

}  // namespace
