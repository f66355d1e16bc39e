// What top-level windows tell the desktop: dialogs, their owners, minimise boxes and icons.
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

}  // namespace
