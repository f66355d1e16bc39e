// The installer window through the desktop back end under Xvfb, kept as install_window.ppm.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "host/display.h"
#include "host/testing/xvfb.h"
#include "installer/install_form.h"
#include "win32/testing/machine_root.h"
#include "x_screenshot.h"

namespace {

constexpr const char* kShotFile = "install_window.ppm";
// A row of the gradient's upper bands, above the controls: blue, red and green at most 1.
constexpr int kBandRow = 30;
bool UpperBand(std::uint32_t p) { return (p & 0xFF) > 0xC0 && (p >> 8) <= 0x0101; }

std::string ShowAndShoot() {
  if (std::string(host::TheDisplay().Name()) == "headless") return "the SDL2 back end did not start";
  ScopedMachineRoot root;
  auto* form = new installer::TForm1(Application);
  form->SetPosition(poDesigned);  // on the small test screen whatever its size
  form->SetLeft(20);
  form->SetTop(20);
  form->ShowForm();
  RECT frame;
  GetWindowRect(form->Handle(), &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetTimer(form->Handle(), 1, 30, nullptr);
  host::Image shot;
  // The gradient shows once the window is on the screen.
  for (int attempt = 0; attempt < 100 && !(shot.width == width && UpperBand(shot.At(width / 2, kBandRow)));
       ++attempt) {
    Application->HandleMessage();
    shot = XScreenShot(frame.left, frame.top, width, height);
  }
  if (shot.width != width) return "the X server gave no picture";
  std::ofstream out(kShotFile, std::ios::binary);
  out << "P6\n" << shot.width << " " << shot.height << "\n255\n";
  for (std::uint32_t p : shot.pixels) out << char(p >> 16) << char(p >> 8) << char(p);
  return UpperBand(shot.At(width / 2, kBandRow)) ? "" : "no blue band at the top of the window";
}

TEST(InstallerScreenshot, WindowUnderXvfb) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string forced = std::getenv("STARTLOGO_DISPLAY") ? std::getenv("STARTLOGO_DISPLAY") : "";
  ::unsetenv("STARTLOGO_DISPLAY");
  std::remove(kShotFile);
  EXPECT_EXIT(
      {
        const std::string fault = ShowAndShoot();
        std::fputs(fault.c_str(), stderr);
        std::_Exit(fault.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  if (!forced.empty()) ::setenv("STARTLOGO_DISPLAY", forced.c_str(), 1);
  std::ifstream shot(kShotFile, std::ios::binary);
  std::string magic;
  shot >> magic;
  EXPECT_EQ(magic, "P6");
}

}  // namespace
