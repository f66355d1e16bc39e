// The viewers (centred, mirrored tiles, a selection with handles) and the open dialog with its
// preview as the desktop back end shows them under an X server, against reviewed pictures in
// tests/golden/ (STARTLOGO_UPDATE_GOLDEN=1 writes them anew).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "graphics/pg_image.h"
#include "graphics/pg_open_dialog.h"
#include "host/testing/golden.h"
#include "host/testing/window_screenshot.h"
#include "viewer_fixture.h"
#include "win32/controls.h"
#include "win32/testing/dialogs.h"
#include "win32/testing/machine_root.h"

namespace {

std::filesystem::path Golden(const std::string& name) {
  return std::filesystem::path(__FILE__).parent_path() / "golden" / (name + ".ppm");
}

constexpr const char* kViewersShot = "pg_viewers_screenshot.ppm";
constexpr const char* kDialogShot = "pg_dialog_screenshot.ppm";

std::string ShowViewers() {
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetColor(clBtnFace);
  form.SetBounds(30, 30, 460, 120);
  auto viewer = [&](int left) {
    auto* v = new TPGImage(&form);
    v->SetParent(&form);
    v->SetBounds(left, 10, 140, 100);
    return v;
  };
  TPGImage* centred = viewer(10);
  centred->SetCenter(true);
  centred->SetColor(clWhite);
  centred->AssignPixelGraphic(Quadrants(60, 40).get());
  TPGImage* tiled = viewer(160);
  tiled->SetCenter(true);
  tiled->SetTiling(tMirror);
  tiled->AssignPixelGraphic(Quadrants(40, 24).get());
  TPGImage* selected = viewer(310);
  selected->SetBorderStyle(bsNone);
  selected->SetActionMode(amMoveResizeCreateSelection);
  selected->AssignPixelGraphic(Quadrants(140, 100).get());
  selected->SetSelectionBounds(30, 25, 60, 40);
  // One colour: the stripes move every 50 ms, which a picture cannot hold still (they are
  // checked by pixels headless).
  selected->SetSelectionColor1(clWhite);
  selected->SetSelectionColor2(clWhite);
  selected->SetSelection(true);
  form.Show();
  RECT frame;
  GetWindowRect(form.Handle(), &frame);
  SetTimer(form.Handle(), 1, 30, nullptr);
  const host::Image shot = ShootWhenShown(
      {frame.left, frame.top, 460, 120}, [] { Application->HandleMessage(); },
      [](const host::Image& s) { return s.At(80, 60) != 0 && s.At(230, 60) != 0; }, kViewersShot);
  KillTimer(form.Handle(), 1);
  return shot.width == 460 ? "" : "the X server gave no picture";
}

std::string ShowDialog() {
  ScopedMachineRoot root;
  Quadrants(640, 400)->SaveToFile("c:\\wide.bmp");
  Quadrants(20, 20)->SaveToFile("c:\\small.bmp");
  TPGOpenDialog dialog(nullptr);
  dialog.SetInitialDir("c:\\");
  std::string faults;
  SetCommonDialogScript([&](HWND window) {
    ClickFileListItem(window, "wide.bmp");
    PumpUntil([&] { return dialog.PreviewGraphic() != nullptr; });
    // Centred on a screen larger than the X server's: brought to its corner to be read.
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The client area: without a window manager nobody draws the caption.
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const RECT frame{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    if (frame.right > 640 || frame.bottom > 480) faults = "the dialog is larger than the X screen";
    SetTimer(window, 1, 30, nullptr);
    const host::Image shot = ShootWhenShown(
        {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top},
        [] {
          MSG msg;
          if (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
        },
        [&](const host::Image& s) {
          RECT p;
          GetWindowRect(dialog.PreviewWnd(), &p);
          return s.At((p.left + p.right) / 2 - frame.left - 10, (p.top + p.bottom) / 2 - frame.top - 10) == 0xFF0000;
        },
        kDialogShot);
    KillTimer(window, 1);
    if (shot.width == 0) faults = "the X server gave no picture";
    SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  });
  dialog.Execute();
  SetCommonDialogScript(nullptr);
  return faults;
}

}  // namespace

TEST(PGScreenshot, ViewersCentredTiledAndWithASelectionUnderX) {
  ExpectShownUnderX(kViewersShot, ShowViewers);
  if (HasFatalFailure() || IsSkipped()) return;
  ExpectMatchesGoldenFile(ReadPpm(kViewersShot), Golden("pg_viewers"));
}

TEST(PGScreenshot, DialogWithItsPreviewUnderX) {
  ExpectShownUnderX(kDialogShot, ShowDialog);
  if (HasFatalFailure() || IsSkipped()) return;
  ExpectMatchesGoldenFile(ReadPpm(kDialogShot), Golden("pg_dialog"));
}
