#include <gtest/gtest.h>

#include "composer/preview_form.h"
#include "vcl/testing/application.h"
#include "win32/testing/windows.h"

namespace {

// A 640 x 400 picture with a red left half and a blue right half, a green row block at the top.
void PaintComposite(TPixelGraphic& picture) {
  picture.SetSize(640, 400, pgbc24);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 640; ++x) picture.SetPixel(x, y, y < 40 ? 0x00FF00 : x < 320 ? 0x0000FF : 0xFF0000);
}

TEST(PreviewForm, CoversTheScreenTopmostWithTheStretchedLogoAndAClickClosesIt) {
  TPixelGraphic composite;
  PaintComposite(composite);
  auto* preview = new TfmPreview(nullptr);
  preview->Image->AssignPixelGraphic(&composite);
  preview->Show();
  PumpMessages();
  RECT r;
  ASSERT_TRUE(GetWindowRect(preview->Handle(), &r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, Screen->Width());
  EXPECT_EQ(r.bottom, Screen->Height());
  EXPECT_TRUE(GetWindowLongA(preview->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // The viewer may prepare its stretched copy in its worker first.
  host::Image shown;
  PumpUntil([&] {
    shown = CaptureWindow(preview->Handle());
    return shown.At(0, 0) == 0x00FF00u;
  });
  ASSERT_EQ(shown.width, Screen->Width());
  const int w = shown.width, h = shown.height;
  EXPECT_EQ(shown.At(0, 0), 0x00FF00u);  // the top band reaches the corners
  EXPECT_EQ(shown.At(w - 1, 0), 0x00FF00u);
  EXPECT_EQ(shown.At(0, h - 1), 0xFF0000u);  // red left half, blue right half, to the edges
  EXPECT_EQ(shown.At(w - 1, h - 1), 0x0000FFu);
  EXPECT_EQ(shown.At(w / 2 - 2, h / 2), 0xFF0000u);
  EXPECT_EQ(shown.At(w / 2 + 2, h / 2), 0x0000FFu);

  InjectMouseButton(host::InputEvent::Left, true, w / 2, h / 2);
  InjectMouseButton(host::InputEvent::Left, false, w / 2, h / 2);
  PumpMessages();
  EXPECT_FALSE(preview->Visible());
  delete preview;
}

}  // namespace
