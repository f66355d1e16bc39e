#pragma once
// Test aids for controls and forms: a fresh application object per test, pumping with a time
// limit, and small controls that record what happens to them.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "vcl/forms.h"
#include "vcl/testing/dialogs.h"
#include "vcl/testing/rect_value.h"

// Each test gets its own application object, so a Terminate does not reach the next test.
class FormsTest : public ::testing::Test {
 protected:
  FormsTest() : saved_(Application) { Application = &app_; }
  ~FormsTest() override {
    EXPECT_EQ(TakeDialogs().size(), 0u) << "a dialog nobody expected: " << dialogs_.Calls().back().Text;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
    Application = saved_;
  }

  // Handles messages until the condition holds or the time is up.
  static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
      Application->ProcessMessages();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
  }

  // The dialogs asked for since the last call.
  std::vector<TDialogRequest> TakeDialogs() {
    std::vector<TDialogRequest> all = dialogs_.Calls();
    std::vector<TDialogRequest> fresh(all.begin() + static_cast<std::ptrdiff_t>(seenDialogs_), all.end());
    seenDialogs_ = all.size();
    return fresh;
  }

  TApplication app_{nullptr};
  size_t seenDialogs_ = 0;
  TApplication* saved_;
  TDialogRecorder dialogs_;
};

// A window-less control that logs its mouse notifications and can let points through.
class TLoggingControl : public TGraphicControl {
 public:
  TLoggingControl(TComponent* owner, std::vector<std::string>& log, std::string name)
      : TGraphicControl(owner), log_(log), tag_(std::move(name)) {}
  // Points with x below this fall through to the control beneath.
  int TransparentBelowX = 0;

  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_MOUSEENTER) log_.push_back("enter " + tag_);
    if (Message.Msg == CM_MOUSELEAVE) log_.push_back("leave " + tag_);
    if (Message.Msg == CM_HITTEST) {
      Message.Result = TCMHitTest(Message).XPos >= TransparentBelowX ? HTCLIENT : 0;
      return;
    }
    TGraphicControl::WndProc(Message);
  }

 private:
  std::vector<std::string>& log_;
  std::string tag_;
};

// A form that runs a function when it receives WM_USER, so a test can act inside a modal loop.
class TScriptedForm : public TForm {
 public:
  using TForm::TForm;
  std::function<void()> OnUser;
  void Post() { PostMessageA(Handle(), WM_USER, 0, 0); }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_USER && OnUser) return OnUser();
    TForm::WndProc(Message);
  }
};
