// The imaging controls as the slot manager's form descriptions make them: the image component's
// stored properties and events, and an animated GIF with its file stored as "Data".
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gif_file_writer.h"
#include "imaging/anim_gif.h"
#include "imaging/velmora.h"
#include "test_pictures.h"
#include "vcl/formtext.h"
#include "window_fixture.h"

namespace {

const GifColors kColors = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};

// "Data": the 32-bit count, then the file, as hexadecimal text.
std::string StoredData(const std::vector<std::uint8_t>& file) {
  std::vector<std::uint8_t> data;
  const auto n = static_cast<std::uint32_t>(file.size());
  for (int i = 0; i < 4; ++i) data.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  data.insert(data.end(), file.begin(), file.end());
  std::string hex;
  char digits[3];
  for (std::uint8_t b : data) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    hex += digits;
  }
  return hex;
}

class TSlotsForm : public TForm {
 public:
  VCL_CLASS_INFO
  TSlotsForm(TComponent* owner, const std::string& description) : TForm(owner) {
    ReadComponentText(description, this, {FormField("imLogow", imLogow), FormField("AnimGIF1", AnimGIF1)});
  }
  TVelmora* imLogow = nullptr;
  TAnimGIF* AnimGIF1 = nullptr;
  int Clicks = 0, Reports = 0;
  void imLogowClick(TObject*) { ++Clicks; }
  void imLogowProgress(TObject*, int) { ++Reports; }
};

const TClassInfo& TSlotsForm::StaticClassInfo() {
  static const TClassInfo info(
      "TSlotsForm", &TForm::StaticClassInfo(), {},
      {Handler("imLogowClick", &TSlotsForm::imLogowClick), Handler("imLogowProgress", &TSlotsForm::imLogowProgress)});
  return info;
}

class FormDescriptionTest : public WindowTest {};

TEST_F(FormDescriptionTest, TheSlotManagersControlsReadFromADescription) {
  GifFileBuilder b;
  b.Screen(3, 2, &kColors, 1).Image(0, 0, 3, 2, GifLzwEncode({1, 2, 3, 3, 2, 1}, {2}));
  const std::string description = R"(
object fmSlots: TSlotsForm
  BorderStyle = bsNone
  ClientWidth = 300
  ClientHeight = 200
  object imLogow: TVelmora
    Left = 4
    Top = 4
    Width = 160
    Height = 200
    Cursor = crVSplit
    Hint = 'Click to view full size...'
    Background = clBtnFace
    NColors = nc8bit
    ScrollBars = True
    IOPreviewOptions = [iopoDefaultLockPreview]
    OnClick = imLogowClick
    OnProgress = imLogowProgress
  end
  object AnimGIF1: TAnimGIF
    Left = 200
    Top = 10
    Visible = False
    Data = {)" + StoredData(b.Trailer().bytes) +
                                  R"(}
  end
end
)";
  TSlotsForm form(nullptr, description);
  ASSERT_NE(form.imLogow, nullptr);
  ASSERT_NE(form.AnimGIF1, nullptr);
  TVelmora& image = *form.imLogow;
  EXPECT_EQ(image.Cursor(), crVSplit);
  EXPECT_EQ(image.Hint(), "Click to view full size...");
  EXPECT_EQ(image.Background(), static_cast<COLORREF>(clBtnFace));
  EXPECT_EQ(image.NColors(), nc24bit);
  EXPECT_EQ(image.Bitmap().PixelFormat(), pf24bit);
  EXPECT_TRUE(image.ScrollBars());
  EXPECT_TRUE(image.IOPreviewOptions().Contains(iopoDefaultLockPreview));
  EXPECT_TRUE(image.ProcPreviewOptions().Empty());
  image.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  image.Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(form.Clicks, 1);
  Paint(image.Bitmap(), 20, 20, [](int x, int y) { return RGB(x, y, 0); });
  image.Resample(40, 40, 5);
  EXPECT_GT(form.Reports, 0);

  TAnimGIF& gif = *form.AnimGIF1;
  EXPECT_FALSE(gif.Visible());
  EXPECT_FALSE(gif.Animate());
  ASSERT_FALSE(gif.Empty());
  EXPECT_EQ(gif.FrameCount(), 1);
  EXPECT_EQ(gif.PictureWidth(), 3);
  EXPECT_EQ(PixelAt(*gif.Composed(), 2, 1), RGB(255, 0, 0));
}

}  // namespace
