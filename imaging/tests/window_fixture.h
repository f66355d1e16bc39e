#pragma once
// Test aids for the imaging library's controls: an application object of the test's own, a form
// without a border to put controls on, message pumping with a time limit and client pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "host/display.h"
#include "vcl/forms.h"
#include "vcl/threads.h"
#include "win32/testing/windows.h"

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : saved_(Application) {
    Application = &app_;
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBorderStyle(bsNone);
    form_->SetBounds(0, 0, 400, 440);
  }
  ~WindowTest() override {
    form_.reset();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    Application = saved_;
  }

  // Handles messages and synchronised calls, as the application's idle loop does, until the
  // condition holds or the time is up.
  static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
      Application->ProcessMessages();
      CheckSynchronize();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
  }
  // Handles messages for a while, whatever comes.
  static void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
  }

  // 0x00RRGGBB of a COLORREF, as captures give them.
  static std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

  TApplication app_{nullptr};
  TApplication* saved_;
  std::unique_ptr<TForm> form_;
};
