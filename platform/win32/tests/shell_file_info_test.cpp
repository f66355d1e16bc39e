// SHGetFileInfoA: which picture a file gets, its sizes and selected look, and that every icon
// handed out is the caller's to destroy.
#include <gtest/gtest.h>

#include "gdi_test_helpers.h"
#include "kernel_test_files.h"
#include "win32/kernel.h"
#include "win32/shellapi.h"
#include "win32/syscolor.h"
#include "win32/testing/machine_root.h"

namespace {

using gdi_test::Canvas;

TEST(ShellFileInfo, KindsFollowTheExtensionAndFoldersTheirAttribute) {
  struct Case {
    const char* path;
    DWORD attributes;
    ShellFileKind kind;
  } cases[] = {
      {"c:\\jokes\\one.TXT", FILE_ATTRIBUTE_NORMAL, ShellFileKind::Text},
      {"c:\\logo.exe", FILE_ATTRIBUTE_NORMAL, ShellFileKind::Program},
      {"c:\\logo.sys", FILE_ATTRIBUTE_NORMAL, ShellFileKind::Picture},
      {"c:\\a.b\\readme", FILE_ATTRIBUTE_NORMAL, ShellFileKind::Other},
      {"c:\\windows.txt", FILE_ATTRIBUTE_DIRECTORY, ShellFileKind::Folder},
  };
  for (const Case& c : cases) EXPECT_EQ(ShellFileKindOf(c.path, c.attributes), c.kind) << c.path;
}

TEST(ShellFileInfo, SmallIconIsSixteenPixelsAndTheCallerDestroysIt) {
  const int before = LiveIconCount();
  SHFILEINFOA info{};
  ASSERT_NE(SHGetFileInfoA("c:\\x.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                           SHGFI_ICON | SHGFI_SMALLICON | SHGFI_SHELLICONSIZE | SHGFI_USEFILEATTRIBUTES),
            0u);
  ASSERT_NE(info.hIcon, nullptr);
  EXPECT_EQ(LiveIconCount(), before + 1);
  ICONINFO parts{};
  ASSERT_TRUE(GetIconInfo(info.hIcon, &parts));
  BITMAP bm{};
  GetObjectA(parts.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 16);
  EXPECT_EQ(bm.bmHeight, 16);
  DeleteObject(parts.hbmMask);
  DeleteObject(parts.hbmColor);
  EXPECT_TRUE(DestroyIcon(info.hIcon));
  EXPECT_EQ(LiveIconCount(), before);
}

TEST(ShellFileInfo, SelectedIconBlendsEveryOtherPixelWithTheHighlight) {
  const UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
  SHFILEINFOA plain{}, selected{};
  ASSERT_NE(SHGetFileInfoA("c:\\x.txt", 0, &plain, sizeof plain, flags), 0u);
  ASSERT_NE(SHGetFileInfoA("c:\\x.txt", 0, &selected, sizeof selected, flags | SHGFI_SELECTED), 0u);
  Canvas a(16, 16, 32), b(16, 16, 32);
  a.Fill(RGB(1, 2, 3));
  b.Fill(RGB(1, 2, 3));
  DrawIconEx(a.dc, 0, 0, plain.hIcon, 0, 0, 0, nullptr, DI_NORMAL);
  DrawIconEx(b.dc, 0, 0, selected.hIcon, 0, 0, 0, nullptr, DI_NORMAL);
  // (3, 4) and (4, 4) lie inside the text page of the picture.
  EXPECT_EQ(GetPixel(a.dc, 4, 4), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(b.dc, 4, 4), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(b.dc, 3, 4), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(GetPixel(a.dc, 0, 0), RGB(1, 2, 3));  // transparent corner
  EXPECT_EQ(GetPixel(b.dc, 0, 0), RGB(1, 2, 3));
  DestroyIcon(plain.hIcon);
  DestroyIcon(selected.hIcon);
}

TEST(ShellFileInfo, ExistingFilesAreAskedOfTheDiskAndMissingOnesFail) {
  ScopedMachineRoot root;
  WriteHostFile(root.DriveC() / "data" / "a.txt", "x");
  SHFILEINFOA info{};
  EXPECT_NE(SHGetFileInfoA("c:\\data", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME), 0u);
  EXPECT_EQ(info.iIcon, static_cast<int>(ShellFileKind::Folder));
  EXPECT_STREQ(info.szDisplayName, "data");
  EXPECT_NE(SHGetFileInfoA("c:\\data\\A.TXT", 0, &info, sizeof info, SHGFI_SYSICONINDEX), 0u);
  EXPECT_EQ(info.iIcon, static_cast<int>(ShellFileKind::Text));
  const int before = LiveIconCount();
  EXPECT_EQ(SHGetFileInfoA("c:\\data\\none.txt", 0, &info, sizeof info, SHGFI_ICON), 0u);
  EXPECT_EQ(LiveIconCount(), before);
  EXPECT_EQ(SHGetFileInfoA("c:\\data\\a.txt", 0, nullptr, 0, SHGFI_ICON), 0u);
}

}  // namespace
