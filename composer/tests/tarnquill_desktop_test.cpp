// The program on a desktop with a window manager, driven with real X input as a user drives it:
// the colour pop-up opens under its button before and after the window is dragged elsewhere, and
// a window moved and saved with "Save changes and exit" comes back where it was left.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "host/testing/desktop_test.h"
#include "host/testing/x_screenshot.h"
#include "logo_form_fixture.h"
#include "tarnquill_desktop.h"
#include "win32/registry.h"
#include "win32/testing/machine_root.h"

namespace {

// Where the user clicks, in the window's client area: the "Q" tab, the arrow of its "Font Color"
// button and "Save changes and exit".
constexpr int kQuestionTabX = 85, kQuestionTabY = 15;
constexpr int kColorArrowX = 118, kColorArrowY = 106;
constexpr int kSaveAndExitX = 339, kSaveAndExitY = 280;
constexpr int kPopUpLeast = 40;  // the palette is larger than this each way; the caret is not

bool Dark(std::uint32_t pixel) { return (pixel & 0xFF) < 0x90 && ((pixel >> 8) & 0xFF) < 0x90; }

// Opens the palette of the "Font Color" button of the window whose client area is at `client` and
// tells what is wrong with where it opened: its top edge is to lie on the button's bottom edge
// (the dark line of the bevel just above it, the button's face above that).
std::string PaletteUnderItsButton(Spot client) {
  const int arrowX = client.x + kColorArrowX, arrowY = client.y + kColorArrowY;
  RealInput("mousemove " + At(client.x + kQuestionTabX, client.y + kQuestionTabY) + " click 1 sleep 0.5 mousemove " +
            At(arrowX, arrowY) + " click 1");
  int x = 0, y = 0, w = 0, h = 0;
  if (!WaitFor(std::chrono::seconds(5), [&] { return xtest::FrontPopUp(kPopUpLeast, x, y, w, h); }))
    return "no palette opened; ";
  std::string faults;
  const host::Image shot = XScreenShot(arrowX, arrowY, 1, y - arrowY > 0 ? y - arrowY : 1);
  if (y <= arrowY || y - arrowY > 16 || shot.height != y - arrowY || !Dark(shot.At(0, shot.height - 1)))
    faults += "the palette opened at " + At(x, y) + ", not under the button clicked at " + At(arrowX, arrowY) + "; ";
  RealInput("key Escape");
  if (!WaitFor(std::chrono::seconds(3), [&] { return !xtest::FrontPopUp(kPopUpLeast, x, y, w, h); })) {
    RealInput("mousemove " + At(arrowX, arrowY) + " click 1");
    WaitFor(std::chrono::seconds(3), [&] { return !xtest::FrontPopUp(kPopUpLeast, x, y, w, h); });
  }
  return faults;
}

bool StoredPosition(Spot& stored) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFormKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD left = 0, top = 0, size = sizeof left, type = 0;
  bool found = RegQueryValueExA(key, "Left", nullptr, &type, reinterpret_cast<BYTE*>(&left), &size) == ERROR_SUCCESS;
  size = sizeof top;
  found = found && RegQueryValueExA(key, "Top", nullptr, &type, reinterpret_cast<BYTE*>(&top), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  stored = Spot{static_cast<int>(left), static_cast<int>(top)};
  return found;
}

using TarnquillDesktop = DesktopTest;

TEST_F(TarnquillDesktop, ThePaletteOpensUnderItsButtonAndAMovedWindowComesBackWhereItWasLeft) {
  ScopedMachineRoot root;
  constexpr int kDragX = -30, kDragY = -40;
  constexpr int kEdgeSnap = 10;
  Spot moved;
  {
    Tarnquill program;
    const Spot first = program.Client();
    ASSERT_NE(first.x, -1) << "the window manager did not take the window";
    EXPECT_EQ(PaletteUnderItsButton(first), "");

    const int grabX = first.x + 200, grabY = first.y - 8;  // the frame's title bar
    RealInput("mousemove " + At(grabX, grabY) + " mousedown 1 sleep 0.2 mousemove " +
              At(grabX + kDragX / 2, grabY + kDragY / 2) + " sleep 0.2 mousemove " +
              At(grabX + kDragX, grabY + kDragY) + " sleep 0.2 mouseup 1");
    WaitFor(std::chrono::seconds(5), [&] {
      xtest::ScreenPosition(program.Window(), moved.x, moved.y);
      return moved.x != first.x || moved.y != first.y;
    });
    // Some window managers stop short of the pointer or snap the frame to the screen's edge.
    ASSERT_LT(moved.x - first.x, 0);
    ASSERT_GE(moved.x - first.x, kDragX - kEdgeSnap);
    ASSERT_LT(moved.y - first.y, 0);
    ASSERT_GE(moved.y - first.y, kDragY - kEdgeSnap);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(PaletteUnderItsButton(moved), "");

    RealInput("mousemove " + At(moved.x + kSaveAndExitX, moved.y + kSaveAndExitY) + " click 1");
    ASSERT_TRUE(program.Ended(std::chrono::seconds(10))) << "\"Save changes and exit\" did not end the program";
  }
  Spot stored;
  ASSERT_TRUE(StoredPosition(stored)) << "no \"Left\" and \"Top\" stored";
  // The window's frame, as Windows draws it, lies around the client area: a few pixels.
  EXPECT_GT(moved.x - stored.x, 0);
  EXPECT_LT(moved.x - stored.x, 10);
  EXPECT_GT(moved.y - stored.y, 0);
  EXPECT_LT(moved.y - stored.y, 40);

  Tarnquill again;
  const Spot restarted = again.Client();
  EXPECT_EQ(restarted.x, moved.x);
  EXPECT_EQ(restarted.y, moved.y);
}

}  // namespace
