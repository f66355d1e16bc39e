// The program on a desktop, driven with real X input: an open colour palette or font list closes,
// as a cancel, on Escape and when the user clicks another program's window, the keys typed there
// change nothing that "Save changes and exit" stores, and the first click on a tab after either
// opens the tab.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "host/testing/desktop_test.h"
#include "host/testing/x_screenshot.h"
#include "logo_form_fixture.h"
#include "tarnquill_desktop.h"
#include "win32/registry.h"
#include "win32/testing/machine_root.h"

namespace {

// Where the user clicks, in the window's client area: the "Q" tab, its first font list, the arrow
// of its "Font Color" button and "Save changes and exit".
constexpr int kJokeTabX = 22, kQuestionTabX = 85, kTabY = 15;
constexpr int kPageX = 10, kPageY = 35, kPageWidth = 230, kPageHeight = 100;  // where the pages differ
constexpr int kFontListX = 100, kFontListY = 61;
constexpr int kColorArrowX = 118, kColorArrowY = 106;
constexpr int kSaveAndExitX = 339, kSaveAndExitY = 280;
constexpr int kPopUpLeast = 40;  // the palette and the list are larger than this each way
// The other program's window, over the right of ours (the test's screen is small) and away from
// the pop-ups, which open at the left.
constexpr int kOtherX = 330, kOtherY = 120, kOtherSize = 120;

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
  const auto page = [&] { return XScreenShot(client.x + kPageX, client.y + kPageY, kPageWidth, kPageHeight).pixels; };
  // What the page shows once it stops changing.
  const auto settled = [&] {
    std::vector<std::uint32_t> last;
    WaitFor(std::chrono::seconds(5), [&] {
      std::vector<std::uint32_t> now = page();
      const bool same = now == last;
      last = std::move(now);
      return same;
    });
    return last;
  };
  const std::vector<std::uint32_t> jokePage = settled();
  const auto clickTab = [&](int x) { RealInput("mousemove " + At(client.x + x, client.y + kTabY) + " click 1"); };
  clickTab(kQuestionTabX);
  ASSERT_TRUE(WaitFor(std::chrono::seconds(5), [&] { return page() != jokePage; })) << "the Q tab did not open";
  const std::vector<std::uint32_t> questionPage = settled();

  for (const Opener& opener :
       {Opener{"palette", kColorArrowX, kColorArrowY}, Opener{"font list", kFontListX, kFontListY}}) {
    for (const bool outside : {true, false}) {
      SCOPED_TRACE(std::string(opener.what) + (outside ? ", a click on another program" : ", Escape"));
      RealInput("mousemove " + At(client.x + opener.x, client.y + opener.y) + " click 1");
      ASSERT_TRUE(WaitFor(std::chrono::seconds(5), PopUpShown)) << "it did not open";
      if (outside) {
        // Shown now, it lies over our window.
        xtest::OtherClientWindow other("Another program", client.x + kOtherX, client.y + kOtherY, kOtherSize,
                                       kOtherSize);
        xtest::XId window = 0;
        Spot at;
        ASSERT_TRUE(WaitFor(std::chrono::seconds(10), [&] {
          window = xtest::FindByTitle("Another program");
          return window && xtest::Shown(window) && xtest::ScreenPosition(window, at.x, at.y);
        })) << "the other program's window did not show";
        RealInput("mousemove " + At(at.x + kOtherSize / 2, at.y + kOtherSize / 2) + " click 1");
        EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [] { return !PopUpShown(); })) << "it stayed open";
        EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [&] { return other.Focused(); })) << "it has no keyboard";
        RealInput("key End shift+Home Return Down");
      } else {
        RealInput("key Escape");
        EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [] { return !PopUpShown(); })) << "it stayed open";
      }
      // The first click on a tab works.
      clickTab(kJokeTabX);
      EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [&] { return page() == jokePage; })) << "a click on a tab was lost";
      clickTab(kQuestionTabX);
      ASSERT_TRUE(WaitFor(std::chrono::seconds(5), [&] { return page() == questionPage; })) << "back on the Q tab";
    }
  }

  RealInput("mousemove " + At(client.x + kSaveAndExitX, client.y + kSaveAndExitY) + " click 1");
  ASSERT_TRUE(program.Ended(std::chrono::seconds(10))) << "\"Save changes and exit\" did not end the program";
  // A setting at its default is not stored: a font name or a colour stored is one changed.
  EXPECT_EQ(Stored("FirstFont", "FontName"), kNone);
  EXPECT_EQ(Stored("FirstFontColor", "Value"), kNone);
}

}  // namespace
