// CopyRect: a block copied one to one into an image of any format, converting colours when the
// formats differ, with error diffusion into palette images that have Dither set.
#include <algorithm>
#include <cstring>

#include "graphics/palettes.h"
#include "pixel_access.h"
#include "vcl/scope_exit.h"

void TPixelGraphic::WriteColor(int X, int Y, int R, int G, int B) {
  if (format_ == pgbc24) {
    SetPixel(X, Y,
             static_cast<std::uint32_t>(B) << 16 | static_cast<std::uint32_t>(G) << 8 | static_cast<std::uint32_t>(R));
  } else if (!errorRows_[0].empty()) {
    DitherPixel(X, Y, R, G, B);
  } else {
    SetPixel(X, Y, static_cast<std::uint32_t>(ColorToIndex(RGBToColor(R, G, B))));
  }
}

bool TPixelGraphic::ReportRowDone(int Step, int Max) {
  bool abort = false;
  if (OnProgress) OnProgress(this, Step, Max, abort);
  return abort;
}

void TPixelGraphic::CopyRect(int DstX, int DstY, TPixelGraphic* Source, int SrcX, int SrcY, int AWidth, int AHeight) {
  FlushGdi();
  if (width_ <= 0 || height_ <= 0 || !bits_ || !Source || Source->width_ <= 0 || Source->height_ <= 0 || !Source->bits_)
    return;
  // Copying within one image reads from a snapshot, so overlapping blocks come out as from a copy.
  std::unique_ptr<TPixelGraphic> snapshot;
  if (Source == this) {
    snapshot = std::make_unique<TPixelGraphic>();
    snapshot->Assign(this);
    Source = snapshot.get();
  }
  Source->FlushGdi();
  std::int64_t shift = std::int64_t{SrcX} - DstX;  // source column = target column + shift
  std::int64_t firstRow = std::max<std::int64_t>(DstY, 0);
  std::int64_t lastRow = std::min<std::int64_t>(std::int64_t{DstY} + AHeight - 1, height_ - 1);
  std::int64_t firstCol = std::max<std::int64_t>({DstX, 0, -shift});
  std::int64_t lastCol =
      std::min<std::int64_t>({std::int64_t{DstX} + AWidth - 1, width_ - 1, Source->width_ - 1 - shift});
  if (firstCol <= lastCol) {
    bool dithering = dither_ && format_ != pgbc24;
    ScopeExit freeDitherBuffers([&] { FreeDitherBuffers(); });
    if (dithering) BuildDitherTables();
    else
      FreeDitherBuffers();
    if (OnProgressStart) OnProgressStart(this);
    TSourcePixels source(*Source);
    int x0 = static_cast<int>(firstCol), x1 = static_cast<int>(lastCol);
    for (int y = static_cast<int>(firstRow); y <= lastRow; ++y) {
      std::int64_t sy = y + std::int64_t{SrcY} - DstY;
      if (sy < 0 || sy >= Source->height_) continue;
      if (format_ == pgbc24 && Source->format_ == pgbc24) {
        std::memmove(ScanLine(y) + 3 * x0, Source->ScanLine(static_cast<int>(sy)) + 3 * (x0 + shift),
                     static_cast<std::size_t>(3 * (x1 - x0 + 1)));
        continue;
      }
      if (dithering) NextDitherRow();
      bool forward = y % 2 == 0;
      for (int i = 0; i <= x1 - x0; ++i) {
        int x = forward ? x0 + i : x1 - i;
        int r, g, b;
        source.Read(static_cast<int>(x + shift), static_cast<int>(sy), r, g, b);
        WriteColor(x, y, r, g, b);
      }
      if (ReportRowDone(static_cast<int>(y - firstRow), static_cast<int>(lastRow - firstRow))) break;
    }
    if (OnProgressEnd) OnProgressEnd(this);
  } else {
    FreeDitherBuffers();
  }
  Changed();
}
