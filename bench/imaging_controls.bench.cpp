// The imaging library's controls: parsing and composing a 100-frame animated GIF (beside giflib
// reading the same file), and painting a logo-sized picture in the image view at 67 %.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "gif_file_writer.h"
#include "imaging/anim_gif.h"
#include "imaging/bitmap_rows.h"
#include "imaging/velmora_view.h"
#include "vcl/forms.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr int kWidth = 320, kHeight = 240, kFrames = 100;

// A moving ball over bands, each frame whole, so every frame decodes its full size.
const std::vector<std::uint8_t>& AnimatedFile() {
  static const std::vector<std::uint8_t> file = [] {
    GifColors colours;
    for (int i = 0; i < 256; ++i)
      colours.insert(colours.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                     static_cast<std::uint8_t>(i * 3)});
    GifFileBuilder b;
    b.Screen(kWidth, kHeight, &colours, 7);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    for (int f = 0; f < kFrames; ++f) {
      const int cx = (f * 3) % kWidth, cy = kHeight / 2;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
          pixels[static_cast<std::size_t>(y) * kWidth + x] =
              static_cast<std::uint8_t>(d < 900 ? 255 : (x / 8 + y / 6 + f) % 200);
        }
      b.GraphicControl(1 << 2, 5, 0).Image(0, 0, kWidth, kHeight, GifLzwEncode(pixels, {8}));
    }
    return b.Trailer().bytes;
  }();
  return file;
}

void BM_AnimGifLoad100Frames(benchmark::State& state) {
  const std::vector<std::uint8_t>& file = AnimatedFile();
  TAnimGIF gif(nullptr);
  TMemoryStream stream;
  stream.Write(file.data(), static_cast<std::int64_t>(file.size()));
  for (auto _ : state) {
    if (!gif.LoadFromStream(&stream) || gif.FrameCount() != kFrames) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_AnimGifLoad100Frames)->Name("gif_load_100_frames_320x240/ours")->Unit(benchmark::kMillisecond);

int ReadFromVector(GifFileType* gif, GifByteType* bytes, int count) {
  auto* at = static_cast<std::pair<const std::vector<std::uint8_t>*, std::size_t>*>(gif->UserData);
  const std::size_t n = std::min(static_cast<std::size_t>(count), at->first->size() - at->second);
  std::memcpy(bytes, at->first->data() + at->second, n);
  at->second += n;
  return static_cast<int>(n);
}

void BM_GiflibSlurp100Frames(benchmark::State& state) {
  const std::vector<std::uint8_t>& file = AnimatedFile();
  for (auto _ : state) {
    std::pair<const std::vector<std::uint8_t>*, std::size_t> at{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&at, ReadFromVector, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK || gif->ImageCount != kFrames) state.SkipWithError("giflib failed");
    DGifCloseFile(gif, &error);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_GiflibSlurp100Frames)->Name("gif_load_100_frames_320x240/giflib")->Unit(benchmark::kMillisecond);

void BM_ViewPaint320x400At67(benchmark::State& state) {
  ScopedMachineRoot root;
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(0, 0, 240, 300);
  auto* view = new TVelmoraView(&form);
  view->SetBounds(0, 0, 215, 269);
  view->SetParent(&form);
  TBitmap& bitmap = view->Bitmap();
  Reshape(bitmap, pf24bit, 320, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 320; ++x) {
      std::uint8_t* p = RowOf(bitmap, y) + 3 * x;
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(x ^ y);
    }
  form.Show();
  view->ZoomToFit();
  if (view->Zoom() != 67) state.SkipWithError("not at 67 %");
  for (auto _ : state) {
    view->Invalidate();
    UpdateWindow(view->Handle());
  }
}
BENCHMARK(BM_ViewPaint320x400At67)->Name("view_paint_320x400_at_67/ours")->Unit(benchmark::kMicrosecond);

}  // namespace
