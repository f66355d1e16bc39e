#pragma once
// Test aids for the imaging library's controls: an application object of the test's own, a form
// without a border to put controls on, message pumping with a time limit and client pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "host/display.h"
#include "vcl/forms.h"
#include "vcl/testing/application.h"
#include "win32/testing/windows.h"

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBorderStyle(bsNone);
    form_->SetBounds(0, 0, 400, 440);
  }
  // Handles messages for a while, whatever comes.
  static void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
  }

  // 0x00RRGGBB of a COLORREF, as captures give them.
  static std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

  TApplicationScope application_;
  std::unique_ptr<TForm> form_;
};
