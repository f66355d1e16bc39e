// What top-level windows tell the desktop (dialogs, their owners, minimise boxes and icons) and
// what the desktop tells them (moves, input for one native window).
#include <string>

#include "gdi_test_helpers.h"
#include "user_test_support.h"

namespace {

class UserDesktop : public UserTest {};

// A square icon: the left half transparent, the right half opaque in `colour`.
HICON HalfIcon(int size, COLORREF colour) {
  std::vector<std::string> rows(
      static_cast<std::size_t>(size),
      std::string(static_cast<std::size_t>(size / 2), '1') + std::string(static_cast<std::size_t>(size / 2), '0'));
  std::vector<const char*> masks;
  for (const std::string& r : rows) masks.push_back(r.c_str());
  gdi_test::MonoCanvas mask(masks);
  gdi_test::Canvas image(size, size, 24);
  RECT right{size / 2, 0, size, size};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(image.dc, &right, brush);
  DeleteObject(brush);
  SelectObject(mask.dc, mask.old);
  SelectObject(image.dc, image.old);
  ICONINFO info{TRUE, 0, 0, mask.bitmap, image.bitmap};
  HICON icon = CreateIconIndirect(&info);
  mask.old = SelectObject(mask.dc, mask.bitmap);
  image.old = SelectObject(image.dc, image.bitmap);
  return icon;
}

struct Seen {
  host::SurfaceDesc desc;
  std::vector<host::Image> icons;
};
Seen gBox;

void DescribeAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = GetFocus();
  gBox = {host::TheDisplay().Described(DisplaySurfaceOf(box)), host::TheDisplay().Icons(DisplaySurfaceOf(box))};
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(UserDesktop, AMessageBoxIsAModalDialogOfItsOwnerWithTheOwnersIcon) {
  HWND owner = Top(20, 20, 200, 150, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HICON big = HalfIcon(32, RGB(255, 0, 0)), small = HalfIcon(16, RGB(0, 0, 255));
  SendMessageA(owner, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageA(owner, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  PumpMessages();
  const host::SurfaceDesc main = host::TheDisplay().Described(DisplaySurfaceOf(owner));
  EXPECT_FALSE(main.dialog);
  EXPECT_TRUE(main.minimizable);
  EXPECT_EQ(main.owner, 0u);

  gBox = {};
  SetTimer(nullptr, 0, 1, DescribeAndClose);
  EXPECT_EQ(MessageBoxA(owner, "Text", "Caption", MB_OK), IDOK);
  EXPECT_TRUE(gBox.desc.dialog);
  EXPECT_NE(gBox.desc.owner, 0u);
  EXPECT_EQ(gBox.desc.owner, DisplaySurfaceOf(owner));
  EXPECT_TRUE(gBox.desc.modal);
  EXPECT_FALSE(gBox.desc.minimizable);
  ASSERT_EQ(gBox.icons.size(), 2u);  // the box has none of its own
  EXPECT_EQ(gBox.icons[0].width, 32);
  EXPECT_EQ(gBox.icons[1].width, 16);
  DestroyIcon(big);
  DestroyIcon(small);
}

TEST_F(UserDesktop, SetIconGivesTheDisplayBothSizesWithTransparency) {
  HWND window = Top(20, 20, 120, 90, WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  PumpMessages();
  const host::SurfaceId surface = DisplaySurfaceOf(window);
  ASSERT_NE(surface, 0u);
  EXPECT_TRUE(host::TheDisplay().Icons(surface).empty());
  EXPECT_FALSE(host::TheDisplay().Described(surface).minimizable);

  HICON small = HalfIcon(16, RGB(0, 0, 255)), big = HalfIcon(32, RGB(255, 0, 0));
  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small)), 0);
  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(big));
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(small));
  const std::vector<host::Image> icons = host::TheDisplay().Icons(surface);
  ASSERT_EQ(icons.size(), 2u);
  ASSERT_EQ(icons[0].width, 32);  // largest first
  EXPECT_EQ(icons[0].At(3, 3), 0x00000000u);
  EXPECT_EQ(icons[0].At(28, 3), 0xFFFF0000u);
  ASSERT_EQ(icons[1].width, 16);
  EXPECT_EQ(icons[1].At(12, 12), 0xFF0000FFu);

  // Setting none gives the display what is left; the replaced icon comes back to the caller.
  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(big));
  ASSERT_EQ(host::TheDisplay().Icons(surface).size(), 1u);
  EXPECT_EQ(host::TheDisplay().Icons(surface)[0].width, 16);
  DestroyIcon(big);
  DestroyIcon(small);
}

// A window with a minimise box shown while its owner is disabled is that owner's modal window:
// a dialog for the desktop that may not be minimised on its own.
TEST_F(UserDesktop, AWindowShownOverItsDisabledOwnerIsAModalDialog) {
  HWND owner = Top(20, 20, 200, 150, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EnableWindow(owner, FALSE);
  HWND modal = CreateWindowExA(0, kPlain, "modal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 40, 40,
                               120, 80, owner, nullptr, nullptr, nullptr);
  ShowWindow(modal, SW_SHOW);
  PumpMessages();
  const host::SurfaceDesc desc = host::TheDisplay().Described(DisplaySurfaceOf(modal));
  EXPECT_TRUE(desc.dialog);
  EXPECT_TRUE(desc.modal);
  EXPECT_EQ(desc.owner, DisplaySurfaceOf(owner));
  EXPECT_FALSE(desc.minimizable);
  DestroyWindow(modal);
}

// The desktop moved a window's surface: the window's rectangle, its client mapping and its
// placement follow, with WM_MOVE, and the display is not asked to move it again.
TEST_F(UserDesktop, AMoveOnTheDesktopMovesTheWindow) {
  HWND window = Top(20, 30, 200, 150, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  PumpMessages();
  const host::SurfaceId surface = DisplaySurfaceOf(window);
  const host::SurfaceDesc shown = host::TheDisplay().Described(surface);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  EXPECT_EQ(client.x, shown.x);
  EXPECT_EQ(client.y, shown.y);
  log.clear();
  host::InputEvent moved;
  moved.kind = host::InputEvent::Kind::Moved;
  moved.surface = surface;
  moved.x = shown.x + 150;
  moved.y = shown.y + 70;
  host::TheDisplay().Inject(moved);
  PumpMessages();
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 170);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 200);
  POINT after{0, 0};
  ClientToScreen(window, &after);
  EXPECT_EQ(after.x, moved.x);
  EXPECT_EQ(after.y, moved.y);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  EXPECT_EQ(placement.rcNormalPosition.left, 170);
  EXPECT_EQ(placement.rcNormalPosition.top, 100);
  EXPECT_EQ(Messages(window, {WM_MOVE}).size(), 1u);
  EXPECT_EQ(host::TheDisplay().Described(surface).x, shown.x) << "the display was asked to move it again";
}

// A press that came for one native window goes to that window even where, by the rectangles,
// another top-level window lies over the point.
TEST_F(UserDesktop, InputForANativeWindowStaysInIt) {
  HWND below = Top(20, 20, 200, 150);
  HWND above = Top(20, 20, 200, 150);
  SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  PumpMessages();
  log.clear();
  for (auto kind : {host::InputEvent::Kind::MouseDown, host::InputEvent::Kind::MouseUp}) {
    host::InputEvent press;
    press.kind = kind;
    press.surface = DisplaySurfaceOf(below);
    press.x = 50;
    press.y = 40;
    press.button = host::InputEvent::Left;
    host::TheDisplay().Inject(press);
  }
  PumpMessages();
  EXPECT_EQ(Messages(below, {WM_LBUTTONDOWN, WM_LBUTTONUP}), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_TRUE(Messages(above, {WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
}

}  // namespace
