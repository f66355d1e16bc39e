#pragma once
// A shown form for driving standard controls with the mouse and the keyboard as the user does.
#include <string>

#include "forms_fixture.h"
#include "win32/testing/windows.h"

class StdCtrlsTest : public FormsTest {
 protected:
  StdCtrlsTest() {
    form_.SetBorderStyle(bsNone);
    form_.SetBounds(50, 50, 320, 240);
  }

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

  // Press at (x, y) of the control, optionally move, and release at the last point.
  void Drag(TControl* control, int x, int y, int toX, int toY) {
    POINT p = OnScreen(control, x, y), q = OnScreen(control, toX, toY);
    InjectMouseMove(p.x, p.y);
    InjectMouseButton(host::InputEvent::Left, true, p.x, p.y);
    PumpMessages();
    InjectMouseMove(q.x, q.y);
    InjectMouseButton(host::InputEvent::Left, false, q.x, q.y);
    PumpMessages();
  }
  void Click(TControl* control, int x, int y) { Drag(control, x, y, x, y); }

  void Key(int key, bool ctrl = false, bool shift = false) {
    if (ctrl) InjectKey(VK_CONTROL, true);
    if (shift) InjectKey(VK_SHIFT, true);
    InjectKey(key, true);
    InjectKey(key, false);
    if (shift) InjectKey(VK_SHIFT, false);
    if (ctrl) InjectKey(VK_CONTROL, false);
    PumpMessages();
  }

  // Characters typed into the focused control.
  void Type(const std::string& text) {
    for (char ch : text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(ch), 1);
    PumpMessages();
  }

  TForm form_{nullptr};
};
