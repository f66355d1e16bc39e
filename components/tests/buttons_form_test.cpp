// Graphic buttons read from a form description and worked with injected input: headless, and
// shown through the desktop back end under Xvfb with its screenshot kept as
// graphic_buttons_screenshot.ppm.
#include <gtest/gtest.h>

#include <string>

#include "button_fixture.h"
#include "buttons_form.h"
#include "host/testing/window_screenshot.h"

namespace {

constexpr const char* kShotFile = "graphic_buttons_screenshot.ppm";

std::uint32_t Rgb(TColor c) {
  COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

void PressAt(TControl* c, int x, int y, bool down) {
  POINT p = c->ClientToScreen({x, y});
  InjectMouseMove(p.x, p.y);
  InjectMouseButton(host::InputEvent::Left, down, p.x, p.y);
}

// In a process of its own: shows the form, clicks the toggle down and holds the mouse on
// "Save logo now", and checks the X server's picture of it. Returns what went wrong.
std::string ShowButtonsAndCheck() {
  TButtonsForm form(nullptr);
  form.Show();
  Application->ProcessMessages();
  PressAt(form.btAnimation, 20, 10, true);
  PressAt(form.btAnimation, 20, 10, false);
  PressAt(form.btLogo, 20, 10, true);
  Application->ProcessMessages();
  if (!form.btAnimation->Value()) return "the toggle did not go down";
  if (form.btLogo->Face()->DrawState() != ToxCustomGraphicButton::dsPressed) return "Save logo now is not held down";

  RECT frame;
  GetWindowRect(form.Handle(), &frame);
  POINT origin{0, 0};
  ClientToScreen(form.Handle(), &origin);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int cx = origin.x - frame.left, cy = origin.y - frame.top;
  auto at = [&](const host::Image& s, TControl* c, int x, int y) {
    return s.At(cx + c->Left() + x, cy + c->Top() + y);
  };
  auto check = [&](const host::Image& s) {
    std::string faults;
    // Pressed bevel: the second ring is the window frame colour at its top-left.
    if (at(s, form.btLogo, 1, 1) != Rgb(clWindowFrame)) faults += "Save logo now shows no pressed bevel\n";
    // The latched toggle is a checkerboard of face colour and white inside its bevel.
    if (at(s, form.btAnimation, 5, 20) == at(s, form.btAnimation, 6, 20)) faults += "the toggle is not dithered\n";
    if (at(s, form.btHelp, 3, 50) != Rgb(clBtnFace)) faults += "the help button's face is not the face colour\n";
    int navy = 0;
    for (int y = 2; y < 55; ++y)
      for (int x = 2; x < 127; ++x) navy += at(s, form.btHelp, x, y) == Rgb(clNavy);
    if (navy < 40) faults += "the help button's two lines show " + std::to_string(navy) + " navy pixels\n";
    return faults;
  };
  SetTimer(form.Handle(), 1, 30, nullptr);
  const host::Image shot = ShootWhenShown(
      {frame.left, frame.top, width, height}, [] { Application->HandleMessage(); },
      [&](const host::Image& s) { return check(s).empty(); }, kShotFile);
  KillTimer(form.Handle(), 1);
  if (shot.width != width) return "the X server gave no picture";
  return check(shot);
}

}  // namespace

TEST_F(ButtonTest, FormDescriptionBuildsComposerStyleButtons) {
  TButtonsForm form(nullptr);
  ToxButton* logo = form.btLogo;
  EXPECT_EQ(logo->Style(), ToxBtnStyle::bsAmbrel);
  EXPECT_EQ(logo->Font3D(), ToxFont3D::fsInset);
  EXPECT_EQ(logo->FocusStyle(), TFocusStyle{fsBoldFont});
  EXPECT_EQ(logo->TextX(), 0);
  EXPECT_EQ(logo->Font()->Name(), "Arial");
  EXPECT_EQ(logo->Face()->Font()->Color(), clNavy) << "the face takes the font";
  EXPECT_EQ(logo->Face()->Caption(), "Save logo now");
  EXPECT_EQ(logo->Width(), 129);
  EXPECT_TRUE(logo->Background()->DitherDown());
  EXPECT_EQ(form.btAnimation->ButtonType(), oxbToggle);
  EXPECT_TRUE(form.btAnimation->GroupAllowNoSel());
  EXPECT_EQ(form.btHelp->Caption(), "Help on||the composer");
  EXPECT_EQ(form.btHelp->Lines()->Count(), 2);

  form.Show();
  PumpMessages();
  Click(form.btAnimation);
  Click(form.btAnimation);
  Click(logo);
  EXPECT_EQ(form.Log, (std::vector<std::string>{"animation on", "animation off", "logo"}));
}

TEST_F(ButtonTest, ComposerStyleButtonsShowThroughTheDesktopBackEnd) {
  ExpectShownUnderX(kShotFile, ShowButtonsAndCheck);
}
