#include "components/program_icons.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/testing/golden.h"
#include "vcl/forms.h"
#include "vcl/graphics_images.h"
#include "vcl/testing/application.h"
#include "win32/icons.h"
#include "win32/syscolor.h"
#include "win32/testing/windows.h"

namespace {

using components::TProgramIcon;
constexpr TProgramIcon kAll[] = {TProgramIcon::Logo, TProgramIcon::Install, TProgramIcon::Tarnquill,
                                 TProgramIcon::Corvane};
constexpr std::uint32_t kButtonFace = 0xC0C0C0;

HICON Entry(const std::string& file, int size) {
  return icons::IconFromFileData(reinterpret_cast<const BYTE*>(file.data()), file.size(), IMAGE_ICON, size, size,
                                 LR_DEFAULTCOLOR);
}

// The icon at its own size over the button face, 0x00RRGGBB.
host::Image OverButtonFace(HICON icon, int size) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, size, size};
  HBRUSH face = CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0));
  FillRect(dc, &all, face);
  DeleteObject(face);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  host::Image image;
  image.width = image.height = size;
  const auto* p = static_cast<const std::uint32_t*>(bits);
  image.pixels.assign(p, p + size * size);
  for (auto& px : image.pixels) px &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return image;
}

int Opaque(const host::Image& image) {
  int n = 0;
  for (std::uint32_t p : image.pixels) n += p != kButtonFace;
  return n;
}

TEST(ProgramIcons, EachFileHoldsTwoSizesThatTheIconReaderTakes) {
  std::vector<host::Image> large;
  for (TProgramIcon which : kAll) {
    const std::string file = components::ProgramIconFile(which);
    for (int size : {32, 16}) {
      HICON icon = Entry(file, size);
      ASSERT_TRUE(icon) << static_cast<int>(which) << " at " << size;
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(icon, &info));
      BITMAP bm{};
      GetObject(info.hbmMask, sizeof bm, &bm);
      EXPECT_EQ(bm.bmWidth, size);
      DeleteObject(info.hbmMask);
      DeleteObject(info.hbmColor);
      const host::Image image = OverButtonFace(icon, size);
      // A picture with the desktop showing round it: a corner shows through, most of it does not.
      EXPECT_EQ(image.At(size - 1, size - 1) == kButtonFace || image.At(0, 0) == kButtonFace ||
                    image.At(size - 1, 0) == kButtonFace || image.At(0, size - 1) == kButtonFace,
                true);
      EXPECT_GT(Opaque(image), size * size / 2);
      EXPECT_LT(Opaque(image), size * size);
      if (size == 32) large.push_back(image);
      DestroyIcon(icon);
    }
  }
  for (std::size_t i = 0; i < large.size(); ++i)
    for (std::size_t j = i + 1; j < large.size(); ++j) EXPECT_NE(large[i].pixels, large[j].pixels) << i << " " << j;
}

// The four icons over the button face, 32 x 32 above 16 x 16, as reviewed.
TEST(ProgramIcons, LookAsDrawn) {
  host::Image sheet;
  sheet.width = 4 * 36;
  sheet.height = 36 + 20;
  sheet.pixels.assign(static_cast<std::size_t>(sheet.width * sheet.height), kButtonFace);
  int column = 0;
  for (TProgramIcon which : kAll) {
    const std::string file = components::ProgramIconFile(which);
    for (int size : {32, 16}) {
      HICON icon = Entry(file, size);
      ASSERT_TRUE(icon);
      const host::Image image = OverButtonFace(icon, size);
      const int left = column * 36 + 2, top = size == 32 ? 2 : 38;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          sheet.pixels[static_cast<std::size_t>((top + y) * sheet.width + left + x)] = image.At(x, y);
      DestroyIcon(icon);
    }
    ++column;
  }
  ExpectMatchesGoldenFile(sheet, std::filesystem::path(STARTLOGO_COMPONENTS_GOLDEN) / "program_icons.ppm");
}

// ImageMagick's reading of the file gives the same pixels and transparency as ours.
TEST(ProgramIcons, ImageMagickReadsTheSamePixels) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("program-icons-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  for (TProgramIcon which : kAll) {
    const std::string file = components::ProgramIconFile(which);
    const auto ico = folder / "icon.ico";
    std::ofstream(ico, std::ios::binary) << file;
    for (int entry = 0; entry < 2; ++entry) {
      const int size = entry == 0 ? 32 : 16;
      const auto raw = folder / "icon.rgba";
      const std::string command = "convert 'ico:" + ico.string() + "[" + std::to_string(entry) +
                                  "]' -depth 8 'rgba:" + raw.string() + "' 2>/dev/null";
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
      std::ifstream in(raw, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), {});
      ASSERT_EQ(bytes.size(), static_cast<std::size_t>(size * size * 4));
      HICON icon = Entry(file, size);
      const host::Image ours = OverButtonFace(icon, size);
      DestroyIcon(icon);
      int differing = 0;
      for (int p = 0; p < size * size; ++p) {
        const auto* px = reinterpret_cast<const unsigned char*>(bytes.data()) + p * 4;
        const std::uint32_t theirs = px[3] == 0 ? kButtonFace : (px[0] << 16u) | (px[1] << 8u) | px[2];
        differing += theirs != ours.pixels[static_cast<std::size_t>(p)];
      }
      EXPECT_EQ(differing, 0) << static_cast<int>(which) << " at " << size;
    }
  }
  std::filesystem::remove_all(folder);
}

TEST(ProgramIcons, TheApplicationsFormsGiveTheDesktopBothSizes) {
  TApplicationScope application;
  components::SetApplicationIcon(TProgramIcon::Corvane);
  EXPECT_EQ(Application->Icon()->Width(), 32);
  {
    TForm form(Application);
    form.SetBounds(10, 10, 200, 120);
    form.Show();
    PumpMessages();
    const std::vector<host::Image> icons = host::TheDisplay().Icons(DisplaySurfaceOf(form.Handle()));
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ(icons[0].width, 32);
    EXPECT_EQ(icons[1].width, 16);
    // Another icon reaches the forms already shown.
    components::SetApplicationIcon(TProgramIcon::Logo);
    EXPECT_NE(host::TheDisplay().Icons(DisplaySurfaceOf(form.Handle()))[0].pixels, icons[0].pixels);
  }
}

}  // namespace
