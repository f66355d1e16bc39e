#include <gtest/gtest.h>

#include <string>

#include "forms_fixture.h"
#include "host/testing/window_screenshot.h"
#include "screenshot_spots.h"
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"

namespace {

constexpr const char* kShotFile = "forms_sdl_screenshot.ppm";

// Runs in a process of its own, whose display is chosen afresh: shows the demo form, takes the X
// server's picture of it and checks it. Returns what went wrong, or nothing.
std::string ShowDemoFormAndCheck() {
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetColor(clWhite);
  form.SetBounds(40, 50, 200, 120);
  auto* panel = new TPanel(&form);
  panel->SetBounds(10, 10, 100, 60);
  panel->SetColor(clRed);
  panel->SetCaption("");
  panel->SetParent(&form);
  auto* label = new TLabel(&form);
  label->SetBounds(120, 10, 70, 20);
  label->SetAutoSize(false);
  label->SetColor(clYellow);
  label->SetTransparent(false);
  label->SetCaption("Tarnquill");
  label->Font()->SetColor(clBlue);
  label->SetParent(&form);
  form.Show();

  RECT frame;
  GetWindowRect(form.Handle(), &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  auto expected = [](const host::Image& shot) {
    return shot.At(50, 40) == Rgb(clRed) && shot.At(5, 100) == Rgb(clWhite) && shot.At(185, 27) == Rgb(clYellow);
  };
  // The loop shows what was drawn when it waits, as the program's own loop does; the timer
  // ends each wait.
  SetTimer(form.Handle(), 1, 30, nullptr);
  const host::Image shot = ShootWhenShown(
      {frame.left, frame.top, width, height}, [] { Application->HandleMessage(); }, expected, kShotFile);
  KillTimer(form.Handle(), 1);
  if (shot.width != width) return "the X server gave no picture";
  std::string faults = MismatchedSpots(shot, {{50, 40, clRed, "panel"},
                                              {10, 10, clBtnHighlight, "panel's raised bevel"},
                                              {109, 69, clBtnShadow, "bevel's shadow"},
                                              {5, 100, clWhite, "form"},
                                              {185, 27, clYellow, "label"}});
  int textPixels = 0;
  for (int y = 10; y < 30; ++y)
    for (int x = 120; x < 190; ++x) textPixels += shot.At(x, y) == Rgb(clBlue);
  if (textPixels < 20) faults += "the label's caption shows " + std::to_string(textPixels) + " blue pixels\n";
  return faults;
}

TEST_F(FormsTest, DemoFormShowsItsPixelsThroughTheDesktopBackEnd) {
  ExpectShownUnderX(kShotFile, ShowDemoFormAndCheck);
}

}  // namespace
