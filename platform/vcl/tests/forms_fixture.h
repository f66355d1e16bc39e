#pragma once
// Test aids for controls and forms: a fresh application object per test, every dialog answered
// and recorded, and small controls that record what happens to them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "vcl/forms.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "vcl/testing/rect_value.h"

// Each test gets its own application object, so a Terminate does not reach the next test.
class FormsTest : public ::testing::Test {
 protected:
  ~FormsTest() override {
    EXPECT_EQ(TakeDialogs().size(), 0u) << "a dialog nobody expected: " << dialogs_.Calls().back().Text;
  }

  // The dialogs asked for since the last call.
  std::vector<TDialogRequest> TakeDialogs() { return dialogs_.TakeCalls(); }

  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
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
