#pragma once
// A shown form for driving the components with the mouse and the keyboard as the user does, a
// fresh application object per test, and the pixels of what they draw.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/testing/golden.h"
#include "vcl/forms.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "win32/testing/windows.h"

// 0xRRGGBB, as captured pixels hold a colour.
inline std::uint32_t Rgb(TColor c) {
  const COLORREF v = ColorToRGB(c);
  return (static_cast<std::uint32_t>(GetRValue(v)) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

inline std::filesystem::path ComponentGolden(const std::string& name) {
  return std::filesystem::path(__FILE__).parent_path() / "golden" / (name + ".ppm");
}

class ComponentTest : public ::testing::Test {
 protected:
  ComponentTest() {
    form_.SetBorderStyle(bsNone);
    form_.SetColor(clBtnFace);
    form_.SetBounds(50, 50, 320, 240);
  }
  ~ComponentTest() override { EXPECT_EQ(TakeDialogs().size(), 0u) << "a dialog nobody expected"; }

  template <class T>
  T* Make(int left, int top, int width, int height, TWinControl* parent = nullptr) {
    T* c = new T(&form_);
    c->SetBounds(left, top, width, height);
    c->SetParent(parent ? parent : &form_);
    return c;
  }

  void ShowForm() {
    form_.Show();
    PumpMessages();
  }

  static POINT OnScreen(TControl* control, int x, int y) { return control->ClientToScreen({x, y}); }

  void Press(TControl* control, int x, int y, bool down, int button = host::InputEvent::Left) {
    POINT p = OnScreen(control, x, y);
    InjectMouseMove(p.x, p.y);
    InjectMouseButton(button, down, p.x, p.y);
    PumpMessages();
  }
  void Move(TControl* control, int x, int y) {
    POINT p = OnScreen(control, x, y);
    InjectMouseMove(p.x, p.y);
    PumpMessages();
  }
  void Click(TControl* control, int x, int y) {
    Press(control, x, y, true);
    Press(control, x, y, false);
  }
  void Key(int key) {
    InjectKey(key, true);
    InjectKey(key, false);
    PumpMessages();
  }
  // Characters typed into the focused window.
  void Type(const std::string& text) {
    for (char ch : text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(ch), 1);
    PumpMessages();
  }

  // The control's pixels as the form shows them.
  host::Image Shot(TControl* control) {
    form_.Repaint();
    PumpMessages();
    const host::Image all = CaptureClient(form_.Handle());
    const TPoint at = form_.ScreenToClient(control->ClientToScreen({0, 0}));
    return CropImage(all, at.x, at.y, control->Width(), control->Height());
  }

  std::vector<TDialogRequest> TakeDialogs() { return dialogs_.TakeCalls(); }

  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
  TForm form_{nullptr};
};
