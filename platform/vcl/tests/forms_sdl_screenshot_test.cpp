#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "forms_fixture.h"
#include "host/display.h"
#include "host/testing/xvfb.h"
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"
#include "x_screenshot.h"

namespace {

constexpr const char* kShotFile = "forms_sdl_screenshot.ppm";

std::uint32_t Rgb(TColor c) {
  COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

void WritePpm(const host::Image& image, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << image.width << " " << image.height << "\n255\n";
  for (std::uint32_t p : image.pixels) out << char(p >> 16) << char(p >> 8) << char(p);
}

// Runs in a process of its own, whose display is chosen afresh: shows the demo form, takes the X
// server's picture of it and checks it. Returns what went wrong, or nothing.
std::string ShowDemoFormAndCheck() {
  if (std::string(host::TheDisplay().Name()) == "headless") return "the SDL2 back end did not start";
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
  auto expected = [&](const host::Image& shot) {
    return shot.width == width && shot.At(50, 40) == Rgb(clRed) && shot.At(5, 100) == Rgb(clWhite) &&
           shot.At(185, 27) == Rgb(clYellow);
  };
  // The loop shows what was drawn when it waits, as the program's own loop does; the timer
  // ends each wait.
  SetTimer(form.Handle(), 1, 30, nullptr);
  host::Image shot;
  for (int attempt = 0; attempt < 100 && !expected(shot); ++attempt) {
    Application->HandleMessage();
    shot = XScreenShot(frame.left, frame.top, width, height);
  }
  KillTimer(form.Handle(), 1);
  if (shot.width != width) return "the X server gave no picture";
  WritePpm(shot, kShotFile);
  auto hex = [](std::uint32_t v) {
    char s[16];
    std::snprintf(s, sizeof s, "%06X", v);
    return std::string(s);
  };
  struct Spot { int x, y; TColor colour; const char* what; };
  const Spot spots[] = {
      {50, 40, clRed, "panel"},          {10, 10, clBtnHighlight, "panel's raised bevel"},
      {109, 69, clBtnShadow, "bevel's shadow"}, {5, 100, clWhite, "form"},
      {185, 27, clYellow, "label"},
  };
  std::string faults;
  for (const Spot& s : spots)
    if (shot.At(s.x, s.y) != Rgb(s.colour))
      faults += std::string(s.what) + " at " + std::to_string(s.x) + "," + std::to_string(s.y) + " is " +
                hex(shot.At(s.x, s.y)) + ", not " + hex(Rgb(s.colour)) + "\n";
  int textPixels = 0;
  for (int y = 10; y < 30; ++y)
    for (int x = 120; x < 190; ++x) textPixels += shot.At(x, y) == Rgb(clBlue);
  if (textPixels < 20) faults += "the label's caption shows " + std::to_string(textPixels) + " blue pixels\n";
  return faults;
}

TEST_F(FormsTest, DemoFormShowsItsPixelsThroughTheDesktopBackEnd) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  // The display is chosen once per process, and this one has chosen already: the form is shown
  // by a fresh run of this test binary that sees the X server.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string forced = std::getenv("STARTLOGO_DISPLAY") ? std::getenv("STARTLOGO_DISPLAY") : "";
  ::unsetenv("STARTLOGO_DISPLAY");
  std::remove(kShotFile);
  EXPECT_EXIT(
      {
        const std::string faults = ShowDemoFormAndCheck();
        std::fputs(faults.c_str(), stderr);
        std::_Exit(faults.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  if (!forced.empty()) ::setenv("STARTLOGO_DISPLAY", forced.c_str(), 1);
  std::ifstream shot(kShotFile, std::ios::binary);
  std::string magic;
  shot >> magic;
  EXPECT_EQ(magic, "P6") << "the screenshot is kept as " << kShotFile;
}

}  // namespace
