// The program on a desktop, driven with real X input: an open colour palette or font list closes,
// as a cancel, when the user clicks another program's window, and the keys typed there change
// nothing that "Save changes and exit" stores; Escape in the font list keeps the font.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "host/testing/desktop_test.h"
#include "logo_form_fixture.h"
#include "tarnquill_desktop.h"
#include "win32/registry.h"
#include "win32/testing/machine_root.h"

namespace {

// Where the user clicks, in the window's client area: the "Q" tab, its first font list, the arrow
// of its "Font Color" button and "Save changes and exit".
constexpr int kQuestionTabX = 85, kQuestionTabY = 15;
constexpr int kFontListX = 100, kFontListY = 61;
constexpr int kColorArrowX = 118, kColorArrowY = 106;
constexpr int kSaveAndExitX = 339, kSaveAndExitY = 280;
constexpr int kPopUpLeast = 40;  // the palette and the list are larger than this each way
constexpr int kOtherLeft = 40;  // the other program's window, this far right of ours
constexpr int kOtherSize = 120;

bool PopUpShown() {
  int x = 0, y = 0, w = 0, h = 0;
  return xtest::FrontPopUp(kPopUpLeast, x, y, w, h);
}

constexpr const char* kNone = "(none)";

// A string value of the form's settings, or kNone.
std::string Stored(const char* subkey, const char* name) {
  HKEY key = nullptr;
  const std::string path = std::string(kFormKey) + "\\" + subkey;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return kNone;
  char value[256] = {};
  DWORD size = sizeof value - 1, type = 0;
  const bool found = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                     ERROR_SUCCESS;
  RegCloseKey(key);
  return found ? std::string(value) : kNone;
}

using TarnquillDesktop = DesktopTest;

struct Opener {
  const char* what;
  int x, y;
};

TEST_F(TarnquillDesktop, PopUpsCloseAsACancelOnAClickOnAnotherProgram) {
  ScopedMachineRoot root;
  Tarnquill program;
  const Spot client = program.Client();
  ASSERT_NE(client.x, -1) << "the window manager did not take the window";
  int width = 0, height = 0;
  ASSERT_TRUE(xtest::WindowSize(program.Window(), width, height));
  xtest::OtherClientWindow other("Another program", client.x + width + kOtherLeft, client.y, kOtherSize, kOtherSize);
  xtest::XId otherWindow = 0;
  ASSERT_TRUE(WaitFor(std::chrono::seconds(10), [&] { return (otherWindow = xtest::FindByTitle("Another program")); }));
  Spot otherAt;
  ASSERT_TRUE(WaitFor(std::chrono::seconds(10), [&] {
    return xtest::Shown(otherWindow) && xtest::ScreenPosition(otherWindow, otherAt.x, otherAt.y);
  }));
  const std::string onOther = At(otherAt.x + kOtherSize / 2, otherAt.y + kOtherSize / 2);
  RealInput("mousemove " + At(client.x + kQuestionTabX, client.y + kQuestionTabY) + " click 1");

  for (const Opener& opener :
       {Opener{"palette", kColorArrowX, kColorArrowY}, Opener{"font list", kFontListX, kFontListY}}) {
    SCOPED_TRACE(opener.what);
    RealInput("mousemove " + At(client.x + opener.x, client.y + opener.y) + " click 1");
    ASSERT_TRUE(WaitFor(std::chrono::seconds(5), PopUpShown)) << "it did not open";
    RealInput("mousemove " + onOther + " click 1");
    EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [] { return !PopUpShown(); })) << "it stayed open";
    // Some window managers let the press reach our pop-up, which then closed on it, and the other
    // window never takes the keyboard; where it does, what is typed there is not ours.
    if (WaitFor(std::chrono::seconds(2), [&] { return other.Focused(); })) RealInput("key End shift+Home Return Down");
    // Back to ours: the first click works, on the tab as on the window.
    RealInput("mousemove " + At(client.x + kQuestionTabX, client.y + kQuestionTabY) + " click 1");
  }
  // Escape in the open font list closes it and keeps the font.
  RealInput("mousemove " + At(client.x + kFontListX, client.y + kFontListY) + " click 1");
  ASSERT_TRUE(WaitFor(std::chrono::seconds(5), PopUpShown)) << "the font list did not open";
  RealInput("key Escape");
  EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [] { return !PopUpShown(); })) << "Escape left the font list open";

  RealInput("mousemove " + At(client.x + kSaveAndExitX, client.y + kSaveAndExitY) + " click 1");
  ASSERT_TRUE(program.Ended(std::chrono::seconds(10))) << "\"Save changes and exit\" did not end the program";
  // A setting at its default is not stored: a font name or a colour stored is one changed.
  EXPECT_EQ(Stored("FirstFont", "FontName"), kNone);
  EXPECT_EQ(Stored("FirstFontColor", "Value"), kNone);
}

}  // namespace
