// The installer window through the desktop back end under Xvfb, kept as install_window.ppm.
#include <gtest/gtest.h>

#include "host/testing/window_screenshot.h"
#include "installer/install_form.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr const char* kShotFile = "install_window.ppm";
// A row of the gradient's upper bands, above the controls: blue, red and green at most 1.
constexpr int kBandRow = 30;
bool UpperBand(std::uint32_t p) { return (p & 0xFF) > 0xC0 && (p >> 8) <= 0x0101; }

std::string ShowAndShoot() {
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
  // The gradient shows once the window is on the screen.
  const host::Image shot = ShootWhenShown(
      {frame.left, frame.top, width, height}, [] { Application->HandleMessage(); },
      [&](const host::Image& s) { return UpperBand(s.At(width / 2, kBandRow)); }, kShotFile);
  if (shot.width != width) return "the X server gave no picture";
  return UpperBand(shot.At(width / 2, kBandRow)) ? "" : "no blue band at the top of the window";
}

TEST(InstallerScreenshot, WindowUnderXvfb) { ExpectShownUnderX(kShotFile, ShowAndShoot); }

}  // namespace
