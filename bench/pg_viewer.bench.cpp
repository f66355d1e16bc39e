// The viewer's prepared image of the composer's 640x400 composite for a 600x375 paint box at
// smMedium (on a true-colour display, and on an 8-bit one with its median-cut palette), and the
// open dialog's preview of a 4000x3000 JPEG from the settle tick (information read, load with
// the fast DCT, shrink into the 150x130 area).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "graphics/file_formats.h"
#include "graphics/jpeg_format.h"
#include "graphics/pg_image.h"
#include "graphics/pg_open_dialog.h"
#include "win32/testing/machine_root.h"

namespace {

std::unique_ptr<TPixelGraphic> Composite() {
  auto image = std::make_unique<TPixelGraphic>();
  image->SetSize(640, 400, pgbc24);
  for (int y = 0; y < 400; ++y) {
    std::uint8_t* p = image->ScanLine(y);
    for (int x = 0; x < 640; ++x, p += 3) {
      p[0] = static_cast<std::uint8_t>(x * 255 / 639);
      p[1] = static_cast<std::uint8_t>(y * 255 / 399);
      p[2] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
    }
  }
  return image;
}

// What the viewer's worker does for one preparation, run on the calling thread.
void Prepare(benchmark::State& state, bool EightBitDisplay) {
  const auto source = Composite();
  for (auto _ : state) {
    TCreatePaintPGThread worker(false, true);
    worker.PostResults = false;
    worker.Source = source.get();
    worker.Stretched = source.get();
    worker.Target = new TPixelGraphic;
    worker.Target->SetSize(600, 375, EightBitDisplay ? pgbc8 : pgbc24);
    worker.Target->SetStretchMode(smMedium);
    worker.Target->OnProgress = worker.ProgressHandler();
    worker.DoMedianCut = EightBitDisplay;
    std::unique_ptr<TPixelGraphic> result;
    worker.DirectResult = [&](TPixelGraphic* Graphic) { result.reset(Graphic); };
    worker.RunDirect();
    benchmark::DoNotOptimize(result.get());
  }
}

void PrepareTrueColour(benchmark::State& state) { Prepare(state, false); }
void PrepareEightBit(benchmark::State& state) { Prepare(state, true); }

const ScopedMachineRoot& Machine() {
  static const ScopedMachineRoot root;
  return root;
}

void DialogPreview(benchmark::State& state) {
  Machine();
  {
    TPixelGraphic photo;
    photo.SetSize(4000, 3000, pgbc24);
    for (int y = 0; y < 3000; ++y) {
      std::uint8_t* p = photo.ScanLine(y);
      for (int x = 0; x < 4000; ++x, p += 3) {
        p[0] = static_cast<std::uint8_t>((x * 7 + y) / 16);
        p[1] = static_cast<std::uint8_t>((x ^ y) / 8);
        p[2] = static_cast<std::uint8_t>(y * 3 / 32);
      }
    }
    photo.SaveToFile("c:\\photo.jpg");
  }
  HWND sink = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  for (auto _ : state) {
    std::string description;
    TPGImageInfo info;
    GetFileInfo("c:\\photo.jpg", 0, description, info);
    TCreateOpenSaveDialogPaintPGThread worker(true, false);
    worker.FileName = "c:\\photo.jpg";
    worker.PostWnd = sink;
    worker.PreviewWidth = 150;
    worker.PreviewHeight = 130;
    worker.DisplayBits = 32;
    worker.Resume();
    worker.WaitFor();
    MSG msg;
    while (PeekMessageA(&msg, sink, WM_USER, WM_USER + 1, PM_REMOVE))
      if (msg.message == WM_USER) delete reinterpret_cast<TPixelGraphic*>(msg.lParam);
  }
  DestroyWindow(sink);
}

}  // namespace

BENCHMARK(PrepareTrueColour)->Name("viewer_prepare_640x400_to_600x375_medium/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(PrepareEightBit)->Name("viewer_prepare_640x400_to_600x375_medium_8bit/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(DialogPreview)->Name("dialog_preview_4000x3000_jpeg/ours")->Unit(benchmark::kMillisecond);
