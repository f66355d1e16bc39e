// The main window through the desktop back end under Xvfb, kept as logo_main_window.ppm.
#include <gtest/gtest.h>

#include "host/testing/window_screenshot.h"
#include "rotator/main_form.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr const char* kShotFile = "logo_main_window.ppm";

std::string ShowAndShoot() {
  ScopedMachineRoot root;
  auto* form = new rotator::TForm1(Application);
  form->SetPosition(poDesigned);  // on the small test screen whatever its size
  form->SetLeft(20);
  form->SetTop(20);
  form->ShowForm();
  RECT frame;
  GetWindowRect(form->Handle(), &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetTimer(form->Handle(), 1, 30, nullptr);
  // The button face (&HC0C0C0) shows once the window is on the screen.
  auto buttonFaceInTheMiddle = [&](const host::Image& s) { return s.At(width / 2, height / 2) == 0xC0C0C0; };
  const host::Image shot = ShootWhenShown({frame.left, frame.top, width, height},
                                          [] { Application->HandleMessage(); }, buttonFaceInTheMiddle, kShotFile);
  if (shot.width != width) return "the X server gave no picture";
  return buttonFaceInTheMiddle(shot) ? "" : "no button face in the middle of the window";
}

TEST(RotatorScreenshot, MainWindowUnderXvfb) { ExpectShownUnderX(kShotFile, ShowAndShoot); }

}  // namespace
