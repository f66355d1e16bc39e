// Corvane's windows shown through the desktop back end and read back from the X server: the
// three tabs, the swap dialog with a preview, the viewer and the About box, each kept as a PPM
// file under the build's slots/shots folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "corvane_fixture.h"
#include "host/testing/window_screenshot.h"
#include "jpeg_file_writer.h"
#include "vcl/threads.h"

namespace {

std::uint32_t Rgb(COLORREF c) {
  return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}

std::string ShotPath(const std::string& name) {
  std::filesystem::create_directories(CORVANE_SHOT_DIR);
  return std::string(CORVANE_SHOT_DIR) + "/" + name + ".ppm";
}

void Pump() {
  Application->HandleMessage();
  CheckSynchronize();
}

// The window's pixels once `shown` holds of them, as seen from the window's client origin.
struct TShot {
  host::Image Image;
  int Dx = 0, Dy = 0;  // the client origin within the window
  std::uint32_t At(int x, int y) const { return Image.At(Dx + x, Dy + y); }
  int Count(int x0, int y0, int w, int h, std::uint32_t colour) const {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) n += At(x, y) == colour;
    return n;
  }
};

TShot Shoot(TForm* form, const std::string& name, const std::function<bool(const TShot&)>& shown) {
  RECT frame;
  GetWindowRect(form->Handle(), &frame);
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  TShot shot;
  shot.Dx = origin.x - frame.left;
  shot.Dy = origin.y - frame.top;
  shot.Image = ShootWhenShown(
      {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}, Pump,
      [&](const host::Image& image) {
        TShot s = shot;
        s.Image = image;
        return shown(s);
      },
      ShotPath(name));
  return shot;
}

// What each window's shot got wrong, a line each.
struct TFaults {
  std::string Text;
  void Add(const std::string& fault) { Text += fault + "\n"; }
};

const std::uint32_t kBlack = 0;
std::uint32_t Face() { return Rgb(GetSysColor(COLOR_BTNFACE)); }

TPoint TabOrigin(TTabSheet* sheet) {
  const TPoint p = sheet->ClientToScreen({0, 0});
  POINT o{0, 0};
  ClientToScreen(FMain->Handle(), &o);
  return TPoint{p.x - o.x, p.y - o.y};
}

// Drawn: the gap between the panel and the buttons has the face colour.
bool TabDrawn(const TShot& s, TTabSheet* sheet) {
  const TPoint t = TabOrigin(sheet);
  return s.At(t.x + 180, t.y + 100) == Face();
}

// Startup: the logo; its grey ramp (pixel x + 3y of a palette of greys) fills the panel.
constexpr TPoint kPanelMiddle = {4 + 86, 4 + 105};  // in the tab's client area

void ShootStartupTab(TFaults& faults) {
  const std::uint32_t face = Face();
  const TPoint t = TabOrigin(FMain->TabSheet1);
  const TShot shot = Shoot(FMain, "main_startup", [&](const TShot& s) {
    return TabDrawn(s, FMain->TabSheet1) && s.At(t.x + kPanelMiddle.x, t.y + kPanelMiddle.y) != face;
  });
  if (shot.At(t.x + kPanelMiddle.x, t.y + kPanelMiddle.y) == face) faults.Add("the startup logo does not show");
  if (shot.Count(t.x + 186, t.y + 4, 300, 36, face) > 300 * 36 / 2) faults.Add("the startup header does not show");
  if (shot.Count(t.x + 404, t.y + 176, 76, 21, face) < 76 * 21 / 2) faults.Add("a badge shows at start");
}

// No logo: the panel's face with "No Logo Found ..." in black.
void ShootWaitTab(TFaults& faults) {
  const std::uint32_t face = Face();
  FMain->PageControl1->SetActivePage(FMain->TabSheet2);
  const TPoint t = TabOrigin(FMain->TabSheet2);
  const auto empty = [&](const TShot& s) { return s.Count(t.x + 6, t.y + 6, 168, 206, face) >= 168 * 206 * 9 / 10; };
  const auto lettered = [&](const TShot& s) { return s.Count(t.x + 4, t.y + 4, 172, 210, kBlack) >= 20; };
  const TShot shot = Shoot(FMain, "main_wait", [&](const TShot& s) {
    return TabDrawn(s, FMain->TabSheet2) && empty(s) && s.Count(t.x + 4, t.y + 4, 172, 210, kBlack) > 20;
  });
  if (!empty(shot)) faults.Add("the missing wait logo's panel is not empty");
  if (!lettered(shot)) faults.Add("no \"No Logo Found ...\" on the wait tab");
}

void ShootTurnoffBackup(TFaults& faults) {
  const std::uint32_t face = Face();
  FMain->PageControl1->SetActivePage(FMain->TabSheet3);
  FMain->rbBack3->SetCheckedValue(true);
  FMain->rbBack3Click(FMain->rbBack3);
  const TPoint t = TabOrigin(FMain->TabSheet3);
  const TShot shot = Shoot(FMain, "main_turnoff_backup", [&](const TShot& s) {
    return TabDrawn(s, FMain->TabSheet3) && s.Count(t.x + 404, t.y + 176, 76, 21, face) < 100;
  });
  if (shot.Count(t.x + 404, t.y + 176, 76, 21, face) > 100) faults.Add("the backup badge does not show");
  if (shot.At(t.x + kPanelMiddle.x, t.y + kPanelMiddle.y) == face) faults.Add("the turn-off backup does not show");
}

// The swap dialog with a photograph loaded.
void ShootSwapPreview(TFaults& faults) {
  const std::uint32_t face = Face();
  FSwap->LogoKind = lsWait;
  FSwap->SetLeft(FMain->Left() + 11);
  FSwap->SetTop(FMain->Top() + 24);
  FSwap->Show();
  FSwap->edFile->SetText("photo.jpg");
  FSwap->lbFileChange(FSwap->lbFile);
  const TShot shot = Shoot(FSwap, "swap_preview", [&](const TShot& s) {
    return s.At(222, 100) == face && FSwap->btOK->Enabled() && s.Count(4, 5, 215, 269, face) < 1000;
  });
  if (!FSwap->btOK->Enabled()) faults.Add("the photograph did not load");
  if (FSwap->Label1->Caption() != "640 x 480") faults.Add("Label1: " + FSwap->Label1->Caption());
  // The photograph's left half is red, its right half blue.
  const std::uint32_t left = shot.At(4 + 50, 5 + 134), right = shot.At(4 + 165, 5 + 134);
  if (!((left >> 16) > 160 && (left & 0xFF) < 90)) faults.Add("the preview's left half is not red");
  if (!((right & 0xFF) > 160 && (right >> 16) < 90)) faults.Add("the preview's right half is not blue");
  FSwap->Hide();
}

// The viewer with the startup logo.
void ShootViewer(TFaults& faults) {
  const std::uint32_t face = Face();
  FView->imView->LoadBMPFile(FMain->LogoPath(lsStartup));
  FView->imView->ZoomToFit();
  FView->SetCaption("Startup Logo");
  FView->SetLeft(150);
  FView->SetTop(8);
  FView->Show();
  const auto logoShown = [&](const TShot& s) {
    return s.Count(0, 0, 320, 400, face) < 2000 && s.Count(0, 0, 320, 400, kBlack) < 2000;
  };
  if (!logoShown(Shoot(FView, "viewer", logoShown))) faults.Add("the viewer does not show the logo");
  FView->Hide();
}

// The About box over its picture: the moon stands at 330, 70.
void ShootAbout(TFaults& faults) {
  FAbout->SetLeft(8);
  FAbout->SetTop(8);
  FAbout->Show();
  const TShot shot = Shoot(FAbout, "about", [&](const TShot& s) { return s.At(330, 70) == 0xFAF0C8; });
  if (shot.At(330, 70) != 0xFAF0C8) faults.Add("the About picture does not show");
  if (shot.Count(8, 20, 411, 19, 0xFFFFFF) < 50) faults.Add("no white text over the About picture");
  if (FAbout->lbRes->Caption().find(" bits, ") == std::string::npos) faults.Add("lbRes: " + FAbout->lbRes->Caption());
  FAbout->Hide();
}

std::string ShowEveryWindow() {
  Application->CreateForm(FMain);
  Application->CreateForm(FAbout);
  Application->CreateForm(FView);
  Application->CreateForm(FSwap);
  FMain->SetLeft(8);
  FMain->SetTop(8);
  FMain->Show();
  SetTimer(FMain->Handle(), 1, 30, nullptr);  // keeps the loop turning while the shots wait
  TFaults faults;
  for (auto shoot : {ShootStartupTab, ShootWaitTab, ShootTurnoffBackup, ShootSwapPreview, ShootViewer, ShootAbout})
    shoot(faults);
  KillTimer(FMain->Handle(), 1);
  return faults.Text;
}

class CorvaneScreenshot : public CorvaneTest {};

TEST_F(CorvaneScreenshot, TheTabsTheSwapDialogTheViewerAndTheAboutBoxShowUnderX) {
  WriteLogos();
  DeleteFileA(Logo(lsWait).c_str());
  slot_test::WriteFile(Backup(lsTurnoff), slot_test::BitmapBytes({.bits = 24}, 4));
  slot_test::WriteFile(std::string(slot_test::kStartDir) + "\\photo.jpg", WriteJpeg({.width = 640, .height = 480}));
  ExpectShownUnderX(ShotPath("about"), ShowEveryWindow);
}

}  // namespace
