#pragma once
// A shown form for driving graphic buttons with the mouse and the keyboard as the user does, with
// a fresh application object per test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/graphic_button.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "vcl/testing/rect_value.h"
#include "win32/testing/windows.h"

class ButtonTest : public ::testing::Test {
 protected:
  ButtonTest() {
    form_.SetBorderStyle(bsNone);
    form_.SetColor(clBtnFace);
    form_.SetBounds(40, 40, 400, 300);
  }
  // A test that took the shared drop-down list without a button gives it back.
  ~ButtonTest() override { FreeSharedPopupList(); }

  ToxButton* Make(int left, int top, int width = 75, int height = 25, const std::string& caption = "") {
    auto* b = new ToxButton(&form_);
    b->SetBounds(left, top, width, height);
    b->SetCaption(caption);
    b->SetParent(&form_);
    return b;
  }

  void Show() {
    form_.Show();
    PumpMessages();
  }

  static POINT OnScreen(TControl* control, int x, int y) { return control->ClientToScreen({x, y}); }
  static void Press(TControl* control, int x, int y) {
    POINT p = OnScreen(control, x, y);
    InjectMouseMove(p.x, p.y);
    InjectMouseButton(host::InputEvent::Left, true, p.x, p.y);
    PumpMessages();
  }
  static void MoveTo(TControl* control, int x, int y) {
    POINT p = OnScreen(control, x, y);
    InjectMouseMove(p.x, p.y);
    PumpMessages();
  }
  static void Release(TControl* control, int x, int y) {
    POINT p = OnScreen(control, x, y);
    InjectMouseMove(p.x, p.y);
    InjectMouseButton(host::InputEvent::Left, false, p.x, p.y);
    PumpMessages();
  }
  static void Click(TControl* control, int x = 10, int y = 10) {
    Press(control, x, y);
    Release(control, x, y);
  }
  static void Key(int key) {
    InjectKey(key, true);
    InjectKey(key, false);
    PumpMessages();
  }

  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
  TForm form_{nullptr};
  std::vector<std::string> log_;
};
