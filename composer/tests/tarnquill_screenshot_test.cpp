// Tarnquill's window on each of its six tabs and the full-screen preview, as the desktop back end
// shows them under an X server, against reviewed pictures in tests/golden/
// (STARTLOGO_UPDATE_GOLDEN=1 writes them anew).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "composer/logo_form.h"
#include "composer/preview_form.h"
#include "host/testing/golden.h"
#include "host/testing/window_screenshot.h"
#include "win32/testing/machine_root.h"
#include "win32/testing/windows.h"

namespace {

const char* const kTabs[] = {"joke", "back", "q", "a", "animation", "about"};
constexpr int kPagesRight = 258, kClientHeight = 294;
constexpr const char* kPreviewShot = "tarnquill_preview.ppm";

std::string TabShot(int Tab) { return std::string("tarnquill_tab_") + kTabs[Tab] + ".ppm"; }

std::filesystem::path Golden(const std::string& Shot) {
  return std::filesystem::path(__FILE__).parent_path() / "golden" / Shot;
}

// The default logo: a blue background with the yellow question, the red answer and the bar.
constexpr std::uint32_t kLogoBlue = 0x0000FF;

// Pumps the loop until the X server shows what the window drew, the logo in its viewer
// included, and keeps that as `File`.
host::Image ShootClient(TCustomForm* Form, const TPoint& Logo, const std::string& File) {
  const TPoint origin = Form->ClientToScreen({0, 0});
  int turns = 0;
  auto shown = [&](const host::Image& s) {
    return ++turns > 8 && s.At(Logo.x, Logo.y) == kLogoBlue && s.pixels == CaptureClient(Form->Handle()).pixels;
  };
  return ShootWhenShownWithin(
      std::chrono::seconds(30), {origin.x, origin.y, Form->ClientWidth(), Form->ClientHeight()},
      [] { Application->HandleMessage(); }, shown, File);
}

std::string ShowAndShoot() {
  ScopedMachineRoot root;
  TfmLogo* form = nullptr;
  Application->CreateForm(form);
  form->SetLeft(0);  // on the small test screen
  form->SetTop(0);
  form->Show();
  const TPoint logo = form->ScreenToClient(form->Image->ClientToScreen({8, 8}));
  SetTimer(form->Handle(), 1, 30, nullptr);
  std::string faults;
  for (int tab = 0; tab < 6; ++tab) {
    form->Pages->SetActivePage(form->Pages->Pages(tab));
    const host::Image shot = ShootClient(form, logo, TabShot(tab));
    if (shot.width == 0) return "the X server gave no picture";
    if (shot.pixels != CaptureClient(form->Handle()).pixels)
      faults += std::string("the screen does not show the window drawn on tab ") + kTabs[tab] + "\n";
  }
  KillTimer(form->Handle(), 1);

  auto* preview = new TfmPreview(form);
  preview->Image->AssignPixelGraphic(form->Composer.Composite());
  preview->Show();
  SetTimer(preview->Handle(), 1, 30, nullptr);
  const host::Image shot = ShootClient(preview, {4, 4}, kPreviewShot);
  KillTimer(preview->Handle(), 1);
  if (shot.width != Screen->Width() || shot.height != Screen->Height())
    return faults + "the preview does not cover the screen\n";
  if (shot.At(4, 4) != kLogoBlue || shot.At(shot.width - 4, 4) != kLogoBlue)
    faults += "the preview does not show the logo from edge to edge\n";
  delete preview;
  delete form;
  return faults;
}

TEST(TarnquillScreenshot, SixTabsAndThePreviewUnderX) {
  ExpectShownUnderX(kPreviewShot, ShowAndShoot);
  if (HasFatalFailure() || IsSkipped()) return;
  // The whole window once; for the other tabs only the page control, as the rest is the same.
  ExpectMatchesGoldenFile(ReadPpm(TabShot(0)), Golden(TabShot(0)));
  for (int tab = 1; tab < 6; ++tab)
    ExpectMatchesGoldenFile(CropImage(ReadPpm(TabShot(tab)), 0, 0, kPagesRight, kClientHeight), Golden(TabShot(tab)));
  ExpectMatchesGoldenFile(ReadPpm(kPreviewShot), Golden(kPreviewShot));
}

}  // namespace
