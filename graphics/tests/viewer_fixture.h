#pragma once
// Test aids for the viewer and the dialog: an application object per test, a shown borderless
// form, pictures made in code, pixels read back from a window and a child-process runner for
// the screen depths below 24 bits (the depth is read once per process).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/forms.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "vcl/testing/rect_value.h"
#include "win32/testing/windows.h"

// Four quadrants: top-left red, top-right green, bottom-left blue, bottom-right yellow.
inline std::unique_ptr<TPixelGraphic> Quadrants(int w, int h) {
  auto p = std::make_unique<TPixelGraphic>();
  p->SetSize(w, h, pgbc24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      p->SetPixelColor(x, y, bottom ? (right ? 0x00FFFF : 0xFF0000) : (right ? 0x00FF00 : 0x0000FF));
    }
  return p;
}

class ViewerTest : public ::testing::Test {
 protected:
  ViewerTest() {
    form_.SetBorderStyle(bsNone);
    form_.SetBounds(20, 20, 400, 300);
  }

  void ShowForm() {
    form_.Show();
    PumpMessages();
  }

  // A picture filled with one colour (24 bits) or, at 8 bits, with a grey ramp palette.
  static std::unique_ptr<TPixelGraphic> Picture(int w, int h, TColor color = 0x0000FF, TPGBitCount format = pgbc24) {
    auto p = std::make_unique<TPixelGraphic>();
    p->SetSize(w, h, format);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p->SetPixelColor(x, y, color);
    return p;
  }

  // Size of a picture the viewer only shows read-only (the getters are not const).
  static int W(const TPixelGraphic* p) { return const_cast<TPixelGraphic*>(p)->GetWidth(); }
  static int H(const TPixelGraphic* p) { return const_cast<TPixelGraphic*>(p)->GetHeight(); }

  // A client pixel as 0x00RRGGBB.
  static std::uint32_t Pixel(const host::Image& image, int x, int y) { return image.At(x, y) & 0xFFFFFF; }

  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
  TForm form_{nullptr};
};

// Runs the named test again in a child process with the given screen depth; true in the child.
inline bool RunWithScreenBits(const char* bits, const std::string& testName) {
  const char* current = std::getenv("STARTLOGO_SCREEN_BITS");
  if (current && std::string(current) == bits) return true;
  pid_t child = fork();
  if (child == 0) {
    setenv("STARTLOGO_SCREEN_BITS", bits, 1);
    const std::string filter = "--gtest_filter=" + testName;
    execl("/proc/self/exe", "viewer-child", filter.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child at " << bits << " bits: status " << status;
  return false;
}
