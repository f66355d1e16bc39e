// The composer's two viewers: their settings from the descriptions, and the main viewer painting
// the logo it has until the changed one is prepared.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "composer/preview_form.h"
#include "logo_form_fixture.h"
#include "vcl/testing/application.h"
#include "win32/testing/windows.h"

namespace {

// The background colours as captured pixels hold them (0xRRGGBB).
constexpr std::uint32_t kBlue = 0x0000FF, kGreen = 0x008000;

void ExpectComposerViewer(TPGImage* Viewer) {
  EXPECT_EQ(Viewer->ActionMode(), amNone) << Viewer->Name();
  EXPECT_TRUE(Viewer->KeepOldPaintPixelGraphic()) << Viewer->Name();
  EXPECT_FALSE(Viewer->Progress5Clocks()) << Viewer->Name();
  EXPECT_FALSE(Viewer->ProgressClockVisible()) << Viewer->Name();
  EXPECT_FALSE(Viewer->ShowHourGlass()) << Viewer->Name();
  EXPECT_TRUE(Viewer->UseThread()) << Viewer->Name();
}

TEST_F(LogoFormTest, BothViewersKeepTheirPictureAndShowNoClocks) {
  TfmLogo* form = MakeForm();
  ExpectComposerViewer(form->Image);
  auto preview = std::make_unique<TfmPreview>(form);
  ExpectComposerViewer(preview->Image);
  EXPECT_TRUE(preview->Image->Allow24BitStretch());
  preview.reset();
  FreeForm(form);
}

TEST_F(LogoFormTest, EditsPaintTheOldLogoUntilTheNewOneIsPreparedNeverTheEmptyBox) {
  TfmLogo* form = MakeForm();
  form->Show();
  HWND viewer = form->Image->Handle();
  host::Image old;
  ASSERT_TRUE(PumpUntil([&] {
    old = CaptureClient(viewer);
    return old.At(old.width / 2, old.height / 2) == kBlue;  // the prepared default background
  }));

  // Each edit is painted at once, before the worker's result can arrive.
  std::vector<host::Image> frames;
  for (TColor colour : {clRed, clGreen}) {
    form->cbSingleColor->SetValue(colour);
    UpdateWindow(viewer);
    frames.push_back(CaptureClient(viewer));
  }
  ASSERT_TRUE(PumpUntil([&] {
    frames.push_back(CaptureClient(viewer));
    const host::Image& f = frames.back();
    return f.At(f.width / 2, f.height / 2) == kGreen;
  }));
  const host::Image& last = frames.back();
  for (std::size_t i = 0; i < frames.size(); ++i)
    EXPECT_TRUE(frames[i].pixels == old.pixels || frames[i].pixels == last.pixels) << "frame " << i;
  FreeForm(form);
}

}  // namespace
