// The open dialog with picture preview, scripted: filter, panels, centring, information lines,
// the settled preview and its worker.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/pg_open_dialog.h"
#include "graphics/tiff_format.h"
#include "vcl/streams.h"
#include "viewer_fixture.h"
#include "win32/controls.h"
#include "win32/testing/dialogs.h"
#include "win32/testing/driven_clock.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr unsigned kPastTheSettle = 250;  // the dialog lets a selection settle for less than this

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class PreviewDialog : public ViewerTest {
 protected:
  PreviewDialog() {
    auto gray = std::make_unique<TPixelGraphic>();
    gray->SetSize(320, 400, pgbc8);
    gray->SetPaletteIdent(pGray256);
    gray->SaveToFile("c:\\gray.bmp");
    Quadrants(640, 400)->SaveToFile("c:\\wide.bmp");
    std::ofstream(root_.DriveC() / "notes.txt") << "not a picture";
    {
      TFileStream stream("c:\\three.tif", fmCreate);
      TTIFFFileFormatWriter writer;
      auto page = Picture(16, 8);
      writer.WriteHeader(&stream);
      for (int i = 0; i < 3; ++i) writer.WriteImage(&stream, page.get());
      writer.WriteTrailer(&stream);
    }
    dialog_->SetInitialDir("c:\\");
    dialog_->SetFilterIndex(16);  // All files
    PGTIFFCountIFDs = true;
  }
  ~PreviewDialog() override {
    SetCommonDialogScript(nullptr);
    PGTIFFCountIFDs = false;
  }

  // Runs a preview worker for a 150 by 130 area; the image it posted, or nil.
  static std::unique_ptr<TPixelGraphic> RunWorker(const std::string& FileName, int DisplayBits) {
    HWND sink = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TCreateOpenSaveDialogPaintPGThread worker(true, false);
    worker.FileName = FileName;
    worker.PostWnd = sink;
    worker.PreviewWidth = 150;
    worker.PreviewHeight = 130;
    worker.DisplayBits = DisplayBits;
    worker.Resume();
    worker.WaitFor();
    MSG msg{};
    std::unique_ptr<TPixelGraphic> image;
    if (PeekMessageA(&msg, sink, WM_USER, WM_USER, PM_REMOVE))
      image.reset(reinterpret_cast<TPixelGraphic*>(msg.lParam));
    DestroyWindow(sink);
    return image;
  }

  ScopedMachineRoot root_;
  TPGOpenDialog* dialog_ = new TPGOpenDialog(&form_);
};

}  // namespace

TEST_F(PreviewDialog, FilterListsTheReadersThatAskForItSortedByExtension) {
  // rle, tga, tif and tiff are there by their readers' filter flags.
  EXPECT_EQ(dialog_->BuildDefaultFilter(),
            "Image files|*.bmp; *.dib; *.jif; *.jpeg; *.jpg; *.pbm; *.pcx; *.pgm; *.png; *.ppm; *.rle; *.tga; *.tif; "
            "*.tiff|BMP - Bitmap|*.bmp|DIB - Bitmap|*.dib|JIF - JPEG (JFIF compliant)|*.jif|JPEG - JPEG (JFIF "
            "compliant)|*.jpeg|JPG - JPEG (JFIF compliant)|*.jpg|PBM - Portable Bitmap|*.pbm|PCX - "
            "Paintbrush|*.pcx|PGM - Portable Graymap|*.pgm|PNG - Portable Network Graphics|*.png|PPM - Portable "
            "Pixelmap|*.ppm|RLE - Bitmap|*.rle|TGA - Truevision Targa|*.tga|TIF - Tagged Image File "
            "Format|*.tif|TIFF - Tagged Image File Format|*.tiff|All files|*.*");
  // A reader left out of the filter is left out of the text.
  auto* pcx = static_cast<TFileFormatReader*>(FileFormatReaders->Items(0));
  for (int i = 0; i < FileFormatReaders->Count(); ++i)
    if (static_cast<TFileFormatReader*>(FileFormatReaders->Items(i))->Extension == "pcx")
      pcx = static_cast<TFileFormatReader*>(FileFormatReaders->Items(i));
  ASSERT_EQ(pcx->Extension, "pcx");
  pcx->InFilter = false;
  const std::string without = dialog_->BuildDefaultFilter();
  pcx->InFilter = true;
  EXPECT_EQ(without.find("pcx"), std::string::npos);
  EXPECT_EQ(dialog_->Filter(), dialog_->BuildDefaultFilter());
}

TEST_F(PreviewDialog, OptionsWithoutShareAwareAreToldOnceAndCompleted) {
  EXPECT_EQ(dialog_->Options(), (TOpenOptions{ofHideReadOnly, ofShareAware}));
  EXPECT_TRUE(dialogs_.Calls().empty());
  dialog_->SetOptions({ofHideReadOnly});
  ASSERT_EQ(dialogs_.Calls().size(), 1u);
  EXPECT_EQ(dialogs_.Calls()[0].Text, "TPGOpenDialog.Options and TPGSaveDialog.Options must include ofShareAware!");
  EXPECT_EQ(dialog_->Options(), (TOpenOptions{ofHideReadOnly, ofShareAware}));
  dialog_->SetOptions(dialog_->Options());
  EXPECT_EQ(dialogs_.Calls().size(), 1u);
}

TEST_F(PreviewDialog, ASelectionShowsItsInformationAndAfterTheSettleItsPreview) {
  int selections = 0;
  dialog_->OnSelectionChange = [&](TObject*) { ++selections; };  // the class library's events still fire
  RECT fileDialog{}, preview{}, info{};
  std::vector<RECT> standard;
  std::vector<std::string> grayLines, tiffLines, notesLines;
  int previewW = 0, previewH = 0, areaW = 0, areaH = 0, workersAfterBurst = 0, workersBefore = 0;
  bool noteHasPreview = true, previewBeforeSettle = true;
  SetCommonDialogScript([&](HWND dialog) {
    GetWindowRect(dialog, &fileDialog);
    GetWindowRect(dialog_->PreviewWnd(), &preview);
    GetWindowRect(dialog_->InfoWnd(), &info);
    for (int id : {lst1, edt1, cmb1, cmb2, IDOK, IDCANCEL}) {
      RECT r{};
      GetWindowRect(GetDlgItem(dialog, id), &r);
      standard.push_back(r);
    }
    RECT area{};
    GetClientRect(dialog_->PreviewWnd(), &area);
    areaW = area.right - 4;
    areaH = area.bottom - 4;

    ClickFileListItem(dialog, "gray.bmp");
    PumpMessages();
    previewBeforeSettle = dialog_->PreviewGraphic() != nullptr;
    PumpUntil([&] { return !dialog_->InfoLines().empty() && dialog_->PreviewGraphic(); });
    grayLines = dialog_->InfoLines();

    ClickFileListItem(dialog, "wide.bmp");
    PumpUntil([&] { return dialog_->PreviewGraphic() != nullptr; });
    if (dialog_->PreviewGraphic()) previewW = W(dialog_->PreviewGraphic()), previewH = H(dialog_->PreviewGraphic());

    ClickFileListItem(dialog, "three.tif");
    PumpUntil([&] { return dialog_->PreviewGraphic() != nullptr; });
    tiffLines = dialog_->InfoLines();

    // Scrolling through the list: one worker, for the last file.
    workersBefore = dialog_->WorkersStarted();
    ClickFileListItem(dialog, "gray.bmp");
    ClickFileListItem(dialog, "wide.bmp");
    ClickFileListItem(dialog, "three.tif");
    ClickFileListItem(dialog, "wide.bmp");
    PumpUntil([&] { return dialog_->PreviewGraphic() != nullptr; });
    workersAfterBurst = dialog_->WorkersStarted();

    ClickFileListItem(dialog, "notes.txt");
    std::this_thread::sleep_for(std::chrono::milliseconds(kPastTheSettle));
    PumpMessages();
    PumpMessages();
    notesLines = dialog_->InfoLines();
    noteHasPreview = dialog_->PreviewGraphic() != nullptr;
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(dialog_->Execute());
  // Centred across, a third down.
  EXPECT_EQ(fileDialog.left, (GetSystemMetrics(SM_CXSCREEN) - (fileDialog.right - fileDialog.left)) / 2);
  EXPECT_EQ(fileDialog.top, (GetSystemMetrics(SM_CYSCREEN) - (fileDialog.bottom - fileDialog.top)) / 3);
  for (const RECT& r : standard) {
    EXPECT_FALSE(Overlap(r, preview));
    EXPECT_FALSE(Overlap(r, info));
  }
  EXPECT_FALSE(previewBeforeSettle);
  ASSERT_FALSE(grayLines.empty());
  EXPECT_EQ(grayLines.back(), "320x400x256 8 bit");
  ASSERT_FALSE(tiffLines.empty());
  EXPECT_EQ(tiffLines.back().substr(tiffLines.back().size() - 3), ", 3");
  // 640 by 400 shrunk into the area, keeping its shape.
  EXPECT_EQ(previewW, std::min(areaW, areaH * 640 / 400));
  EXPECT_EQ(previewH, std::min(areaH, areaW * 400 / 640));
  EXPECT_EQ(workersAfterBurst - workersBefore, 1);
  EXPECT_TRUE(notesLines.empty());
  EXPECT_FALSE(noteHasPreview);
  EXPECT_EQ(selections, 8);
  EXPECT_EQ(dialog_->PreviewWnd(), nullptr);  // cleared with the showing
}

TEST_F(PreviewDialog, ASelectionChangedWhileTheSettledStartWaitsSettlesAgain) {
  int startedAtOnce = -1;
  DrivenClock clock;
  SetCommonDialogScript([&](HWND dialog) {
    ClickFileListItem(dialog, "gray.bmp");
    clock.Advance(kPastTheSettle);
    // Only the settle timer runs: its start for gray.bmp is queued, not yet handled.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageA(&msg);
    const int before = dialog_->WorkersStarted();
    ClickFileListItem(dialog, "wide.bmp");
    PumpMessages();
    startedAtOnce = dialog_->WorkersStarted() - before;
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(dialog_->Execute());
  EXPECT_EQ(startedAtOnce, 0);
}

TEST_F(PreviewDialog, TheWorkerShrinksA640By400PictureTo150By93) {
  const std::unique_ptr<TPixelGraphic> image = RunWorker("c:\\wide.bmp", 32);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetWidth(), 150);
  EXPECT_EQ(image->GetHeight(), 93);
  EXPECT_EQ(image->GetBitsPerPixel(), 24);
  // A missing file gives nothing.
  EXPECT_EQ(RunWorker("c:\\missing.bmp", 32), nullptr);
}

TEST_F(PreviewDialog, OnAnEightBitScreenThePreviewGetsAMedianCutPalette) {
  if (!RunWithScreenBits("8", "PreviewDialog.OnAnEightBitScreenThePreviewGetsAMedianCutPalette")) return;
  auto ramp = std::make_unique<TPixelGraphic>();
  ramp->SetSize(64, 64, pgbc24);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) ramp->SetPixelColor(x, y, static_cast<TColor>(RGB(x * 4, y * 4, 128)));
  ramp->SaveToFile("c:\\ramp.bmp");
  const std::unique_ptr<TPixelGraphic> image = RunWorker("c:\\ramp.bmp", 8);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetWidth(), 64);  // smaller than the area: not stretched
  EXPECT_EQ(image->GetBitsPerPixel(), 8);
  EXPECT_EQ(image->PaletteCount(), 252);
}

TEST_F(PreviewDialog, APathLongerThanTheFirstBufferIsAskedForAgainWhole) {
  std::string folder = "c:";
  std::filesystem::path host = root_.DriveC();
  for (int i = 0; i < 6; ++i) {
    const std::string part(45, static_cast<char>('a' + i));
    folder += "\\" + part;
    host /= part;
  }
  std::filesystem::create_directories(host);
  std::filesystem::copy_file(root_.DriveC() / "gray.bmp", host / "gray.bmp");
  ASSERT_GT(folder.size() + 9, 256u);
  dialog_->SetInitialDir(folder);
  std::vector<std::string> lines;
  SetCommonDialogScript([&](HWND dialog) {
    ClickFileListItem(dialog, "gray.bmp");
    PumpUntil([&] { return dialog_->PreviewGraphic() != nullptr; });
    lines = dialog_->InfoLines();
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(dialog_->Execute());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "320x400x256 8 bit");
}
