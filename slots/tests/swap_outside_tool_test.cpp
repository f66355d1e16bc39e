// A JPEG photograph swapped into the wait slot must be a logo that an outside reader (identify)
// sees as the system would: a 320 x 400 palette bitmap of 129078 bytes. Skipped without the tools.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "host/testing/outside_tools.h"
#include "slot_test_files.h"
#include "slots/slot_paths.h"
#include "slots/swap_picture.h"

namespace {

TEST(SwapWithOutsideTools, AJpegBecomesAPaletteLogoThatAnOutsideReaderReads) {
  if (!HaveTool("convert") || !HaveTool("identify")) GTEST_SKIP() << "no convert and identify";
  ScopedMachineRoot root;
  const std::string photo = (root.DriveC() / "photo.jpg").string();
  ASSERT_EQ(std::system(("convert -size 640x480 -seed 3 plasma:fractal -quality 90 " + photo).c_str()), 0);
  TVelmoraTarget image(nullptr);
  TVelmoraIO io(nullptr);
  TVelmoraProc proc(nullptr);
  TSwapPicture swap(image, io, proc);
  EXPECT_EQ(swap.Load("C:\\photo.jpg"), "640 x 480");
  EXPECT_FALSE(swap.CopyUnchanged());
  const std::string slot = LogoPath(slot_test::WindowsFolder(), lsWait);
  swap.Save(slot);
  EXPECT_EQ(slot_test::ReadFile(slot).size(), 129078u);
  const std::string host = machine::HostPath(slot).string();
  EXPECT_EQ(ToolOutput("identify -format '%m %w %h %r %z' 'bmp:" + host + "'"), "BMP3 320 400 PseudoClass sRGB  8");
}

}  // namespace
