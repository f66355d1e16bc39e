// The image viewer's painting: bands, tiles and mirrors, the empty frame and the progress
// clocks; the decision whether a prepared image is needed, and the worker that prepares it.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "graphics/exceptions.h"
#include "graphics/median_cut.h"
#include "graphics/pg_image.h"
#include "paint_workers.h"
#include "win32/kernel.h"

namespace {

// The progress clocks: one in the middle of a box above 20 pixels, four more in the corners of
// a box of 101 or more.
constexpr int kOneClockBox = 20, kFiveClocksBox = 101, kClockInset = 5;
// The worker posts its progress at most once per interval.
constexpr DWORD kProgressIntervalMs = 50;

// A copy mirrored left-right and/or top-bottom, of the same size, format and palette.
std::unique_ptr<TPixelGraphic> MirroredCopy(TPixelGraphic* Graphic, bool LeftRight, bool TopBottom) {
  auto copy = std::make_unique<TPixelGraphic>();
  copy->Assign(Graphic);
  const int w = Graphic->GetWidth(), h = Graphic->GetHeight();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      copy->SetPixel(LeftRight ? w - 1 - x : x, TopBottom ? h - 1 - y : y, Graphic->GetPixel(x, y));
  return copy;
}

// Division that truncates toward zero, as the tile ranges are defined.
int DivTrunc(int A, int B) { return A / B; }

// A size the memory or the library refuses gives one pixel: the viewer paints what it can.
void SizeOrOnePixel(TPixelGraphic* Graphic, int W, int H, TPGBitCount Format) {
  try {
    Graphic->SetSize(W, H, Format);
  } catch (const EOutOfMemory&) {
    Graphic->SetSize(1, 1, Format);
  } catch (const EPixelGraphic&) {
    Graphic->SetSize(1, 1, Format);
  }
}

}  // namespace

// ---- The worker -------------------------------------------------------------------------------

// Always made suspended: a running base could call Execute before this object is built.
TCreatePaintPGThread::TCreatePaintPGThread(bool CreateSuspended, bool NoWork) : TThread(true), noWork_(NoWork) {
  if (!CreateSuspended) Resume();
}

TCreatePaintPGThread::~TCreatePaintPGThread() {
  Stop();  // Execute uses this object's members: end it before they go
  FreeImages();
}

void TCreatePaintPGThread::Stop() {
  stop_ = true;
  Terminate();
  // A worker whose set-up failed was never resumed; a wait for it would never end.
  if (Suspended()) Resume();
  WaitFor();
}

void TCreatePaintPGThread::FreeImages() {
  if (Stretched != Source) delete Stretched;
  Stretched = nullptr;
  delete Target;
  Target = nullptr;
}

TPGProgressEvent TCreatePaintPGThread::ProgressHandler() {
  return [this](TObject* Sender, int AStep, int Max, bool& Abort) { Progress(Sender, AStep, Max, Abort); };
}

void TCreatePaintPGThread::Progress(TObject*, int AStep, int Max, bool& Abort) {
  const int percent = Max == 0 ? 100 : static_cast<int>(static_cast<std::int64_t>(AStep) * 100 / Max);
  const DWORD now = GetTickCount();
  if (percent != lastPercent_ && now / kProgressIntervalMs != lastTick_ / kProgressIntervalMs) {
    lastPercent_ = percent;
    lastTick_ = now;
    if (PostResults) PostMessageA(Window, kWorkerProgress, static_cast<WPARAM>(step_), percent);
    else if (DirectProgress)
      DirectProgress(step_, percent);
  }
  Abort = stop_;
}

void TCreatePaintPGThread::Execute() {
  if (noWork_) return;
  Body();
}

void TCreatePaintPGThread::Remap() {
  // Each palette colour is looked up once; pixel values past the palette map to black.
  int table[256];
  const bool savedCache = Target->UseColorMap();
  Target->SetUseColorMap(false);
  const int count = Stretched->PaletteCount();
  for (int i = 0; i < 256; ++i) table[i] = Target->ColorToIndex(i < count ? Stretched->GetPaletteEntry(i) : 0);
  Target->SetUseColorMap(savedCache);
  const int w = Target->GetWidth(), h = Target->GetHeight();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* from = Stretched->ScanLine(y);
    std::uint8_t* to = Target->ScanLine(y);
    for (int x = 0; x < w; ++x) to[x] = static_cast<std::uint8_t>(table[from[x]]);
    bool abort = false;
    Progress(Target, y, h - 1, abort);
    if (abort) break;
  }
}

void TCreatePaintPGThread::Body() {
  lastPercent_ = 0;
  lastTick_ = GetTickCount();
  step_ = 1;
  bool failed = false;
  try {
    if (Target && Source) {
      if (DoStretch && !stop_) {
        Stretched->StretchCopy(Source);
        ++step_;
      }
      if (DoMedianCut && !stop_) {
        MedianCutQuantize(Target, Stretched, kOptimizedPaletteColors, true);
        ++step_;
      }
      if (!stop_) {
        if (DoMedianCut && Stretched->GetBitsPerPixel() == 8 && Stretched->GetWidth() == Target->GetWidth() &&
            Stretched->GetHeight() == Target->GetHeight())
          Remap();
        else
          Target->StretchCopy(Stretched);
        ++step_;
      }
    }
  } catch (...) {
    failed = true;  // no memory, a codec error: report it instead of leaving the clocks up
  }
  TPixelGraphic* result = nullptr;
  if (!stop_ && !failed) {
    result = Target;
    Target = nullptr;
  }
  FreeImages();
  if (stop_) {
    delete result;
    return;
  }
  if (PostResults) {
    if (result) PostOwnedMessage(Window, kWorkerResult, 0, reinterpret_cast<LPARAM>(result), FreePostedGraphic);
    else
      PostMessageA(Window, kWorkerResult, kWorkerFailed, 0);
  } else if (DirectResult) {
    DirectResult(result);
  } else {
    delete result;
  }
}

// ---- The decision --------------------------------------------------------------------------------

bool TPGImage::PreparePaintGraphic() {
  const int displayBits = PaintWorkerScreenBits();
  const int imageBits = shown_ ? shown_->GetBitsPerPixel() : 0;
  const int boxW = picBox_->Width(), boxH = picBox_->Height();
  paintStale_ = paintStale_ ||
                (stretchMode_ != smFast && !reduceOnLoad_ && (boxW != lastPaintWidth_ || boxH != lastPaintHeight_));
  bool needed = false, needStretch = false;
  if (shown_ && !prepareFailed_) {
    needed = displayBits < imageBits && displayBits <= 8;
    needStretch = stretchMode_ != smFast && (boxW != imageWidth_ || boxH != imageHeight_);
    needed = needed || needStretch;
    if (imageBits <= 8 && displayBits <= 8) {
      if (displayBits == 4) {
        needed = needed || (shown_->PaletteIdent() != pSys16 && (!reduceOnLoad_ || paintStale_));
      } else if (!needed) {
        if (palette8_ == pSource || palette8_ == shown_->PaletteIdent()) needed = false;
        else
          needed = !reduceOnLoad_ || paintStale_;
      }
    }
  }
  if (paintGraphic_ && (!needed || (paintStale_ && !(keepOld_ && useThread_)))) {
    StopWorker();
    delete paintGraphic_;
    paintGraphic_ = nullptr;
  }
  if (!needed) return false;
  if (!paintStale_ && (paintGraphic_ || !workerStopped_)) return true;
  StartPreparation(needStretch, displayBits);
  return true;
}

// A new suspended worker in place of the old one; the picture prepared before stays to paint
// meanwhile only when KeepOld and UseThread are both on.
void TPGImage::ReplaceWorker() {
  StopWorker();
  if (!(keepOld_ && useThread_)) {
    delete paintGraphic_;
    paintGraphic_ = nullptr;
  }
  currentStep_ = 1;
  percent_ = 0;
  delete worker_;
  worker_ = nullptr;
  worker_ = new TCreatePaintPGThread(useThread_, !useThread_);
  workerStopped_ = false;
}

// Where the worker's results and progress go, and the picture it starts from.
void TPGImage::ConnectWorker(TCreatePaintPGThread* Worker) {
  Worker->PostResults = useThread_;
  if (!useThread_) {
    Worker->DirectResult = [this](TPixelGraphic* Graphic) { ReceivePaintGraphic(Graphic); };
    Worker->DirectProgress = [this](int Step, int APercent) { SetPaintProgress(Step, APercent); };
  }
  Worker->SetFreeOnTerminate(false);
  Worker->Window = Handle();
  // Drawing still queued on the picture lands before the worker reads it.
  shown_->GetBits();
  Worker->Source = shown_;
  Worker->Stretched = shown_;
}

// The picture stretched to the box in 24 bits first, so that the palette is chosen from what is shown.
void TPGImage::AddStretchStep(TCreatePaintPGThread* Worker) {
  const int boxW = std::max(picBox_->Width(), 1), boxH = std::max(picBox_->Height(), 1);
  auto* stretched = new TPixelGraphic;
  Worker->Stretched = stretched;
  SizeOrOnePixel(stretched, boxW, boxH, pgbc24);
  stretched->SetStretchMode(stretchMode_);
  stretched->OnProgress = Worker->ProgressHandler();
  Worker->DoStretch = true;
}

// The picture the worker hands back, in the display's format with the viewer's settings.
void TPGImage::AddTarget(TCreatePaintPGThread* Worker, int DisplayBits) {
  auto* target = new TPixelGraphic;
  Worker->Target = target;
  target->OnProgress = Worker->ProgressHandler();
  const int targetW = stretchMode_ != smFast ? picBox_->Width() : imageWidth_;
  const int targetH = stretchMode_ != smFast ? picBox_->Height() : imageHeight_;
  SizeOrOnePixel(target, std::max(targetW, 1), std::max(targetH, 1), DisplayFormat(DisplayBits));
  Worker->DoMedianCut = SetDisplayPalette(target, Worker->Stretched, DisplayBits, palette24_, palette8_);
  lastPaintWidth_ = targetW;
  lastPaintHeight_ = targetH;
  target->SetStretchMode(stretchMode_);
  target->SetDither(dither_);
  target->SetDitherErrorLimit(ditherErrorLimit_);
  target->SetDitherErrorLimitAuto(ditherErrorLimitAuto_);
  target->SetDitherErrorLimitSoft(ditherErrorLimitSoft_);
  target->SetRGBWeighting(rgbWeighting_);
}

bool TPGImage::StartPreparation(bool NeedStretch, int DisplayBits) {
  ReplaceWorker();
  TCreatePaintPGThread* w = worker_;
  try {
    ConnectWorker(w);
    if (allow24BitStretch_ && NeedStretch && DisplayBits == 8 && palette24_ == pOptimized252Sys16) AddStretchStep(w);
    AddTarget(w, DisplayBits);
    paintStale_ = false;
  } catch (...) {
    // The paint shows what exists; the worker is stopped (and resumed) when replaced.
    return false;
  }
  awaitingResult_ = true;
  if (useThread_) w->Resume();
  else
    w->RunDirect();
  return true;
}

// ---- Results and progress ------------------------------------------------------------------------

void TPGImage::ReceivePaintGraphic(TPixelGraphic* Graphic) {
  awaitingResult_ = false;
  // The worker's progress handler does not outlive the worker.
  if (Graphic) Graphic->OnProgress = nullptr;
  if (!Graphic) {
    // The preparation failed: draw the picture as it is until it changes.
    prepareFailed_ = true;
    delete paintGraphic_;
    paintGraphic_ = nullptr;
    Invalidate();
    return;
  }
  if (reduceOnLoad_) {
    delete shown_;
    delete paintGraphic_;
    paintGraphic_ = nullptr;
    shown_ = Graphic;
    HookGraphicEvents(shown_, true);
    if (shown_->GetWidth() != imageWidth_ || shown_->GetHeight() != imageHeight_) {
      // The reduced picture has the paint box's size: the layout follows it.
      imageWidth_ = shown_->GetWidth();
      imageHeight_ = shown_->GetHeight();
      lastPaintWidth_ = imageWidth_;
      lastPaintHeight_ = imageHeight_;
      ArrangePicBox(true);
    }
  } else {
    delete paintGraphic_;
    paintGraphic_ = Graphic;
  }
  RealizeFormPalette();
  Invalidate();
}

void TPGImage::SetPaintProgress(int Step, int APercent) {
  currentStep_ = Step;
  percent_ = APercent;
  DrawProgressClocks();
}

HPALETTE TPGImage::GetPalette() {
  TPixelGraphic* graphic = PreparePaintGraphic() ? paintGraphic_ : shown_;
  if (!graphic) return nullptr;
  const TPaletteIdent ident = graphic->PaletteIdent();
  if (ident == pBlackWhite || ident == pSysGray4 || ident == pSys16) return nullptr;
  return graphic->GetPalette();
}

// ---- Painting ------------------------------------------------------------------------------------

void TPGImage::Paint() {
  if (paintSuppressed_) return;
  const TRect box = picBox_->BoundsRect();
  struct TPaintEnd {
    TPGImage* Self;
    ~TPaintEnd() {
      if (Self->OnPaint) Self->OnPaint(Self);
    }
  };
  TPixelGraphic* graphic = PreparePaintGraphic() ? paintGraphic_ : shown_;
  if (OnPainting) OnPainting(this);
  TPaintEnd paintEnd{this};
  TCanvas* c = canvas_;
  const int clientW = ClientWidth(), clientH = ClientHeight();
  const int boxW = box.right - box.left, boxH = box.bottom - box.top;
  // Tiles need a box to repeat; a tiny zoom can leave it without width or height.
  const bool tiled = tiling_ != tNone && graphic && boxW > 0 && boxH > 0;
  if (!tiled) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    if (box.top > 0) c->FillRect(TRect{0, 0, clientW, box.top});
    if (box.bottom < clientH) c->FillRect(TRect{0, box.bottom, clientW, clientH});
    if (box.left > 0) c->FillRect(TRect{0, 0, box.left, clientH});
    if (box.right < clientW) c->FillRect(TRect{box.right, 0, clientW, clientH});
  }
  if (graphic) {
    if (tiled || tiling_ == tNone) PaintTiles(graphic, box);
    return;
  }
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(picBoxFrameColor_);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(picBox_->Color());
  c->Rectangle(box);
  DrawProgressClocks();
}

void TPGImage::PaintTiles(TPixelGraphic* Graphic, const TRect& Box) {
  TCanvas* c = canvas_;
  const int clientW = ClientWidth(), clientH = ClientHeight();
  const int boxW = Box.right - Box.left, boxH = Box.bottom - Box.top;
  int r0 = 0, r1 = 0, c0 = 0, c1 = 0;
  if (tiling_ != tNone) {
    if (Box.top > 0) r0 = DivTrunc(1 - Box.bottom, boxH);
    if (Box.bottom < clientH) r1 = DivTrunc(clientH - Box.top - 1, boxH);
    if (Box.left > 0) c0 = DivTrunc(1 - Box.right, boxW);
    if (Box.right < clientW) c1 = DivTrunc(clientW - Box.left - 1, boxW);
  }
  const TRect clip = c->ClipRect();
  const bool mirrorColumns = tiling_ == tMirrorHorizontal || tiling_ == tMirror;
  const bool mirrorRows = tiling_ == tMirrorVertical || tiling_ == tMirror;
  auto tileRect = [&](int row, int column) {
    return TRect{Box.left + column * boxW, Box.top + row * boxH, Box.right + column * boxW, Box.bottom + row * boxH};
  };
  auto visible = [&](const TRect& r) {
    return r.left <= clip.right && r.right >= clip.left && r.top <= clip.bottom && r.bottom >= clip.top;
  };
  // Kind: 0 plain, 1 left-right, 2 top-bottom, 3 both.
  auto kindOf = [&](int row, int column) {
    const bool lr = flipHorizontal_ != (mirrorColumns && (column & 1) != 0);
    const bool tb = flipVertical_ != (mirrorRows && (row & 1) != 0);
    return (lr ? 1 : 0) | (tb ? 2 : 0);
  };
  int counts[4] = {};
  for (int row = r0; row <= r1; ++row)
    for (int column = c0; column <= c1; ++column)
      if (visible(tileRect(row, column))) ++counts[kindOf(row, column)];
  std::unique_ptr<TPixelGraphic> copies[4];
  for (int kind = 1; kind < 4; ++kind)
    if (counts[kind] > 2) copies[kind] = MirroredCopy(Graphic, kind & 1, kind & 2);
  bool realised[4] = {};
  for (int row = r0; row <= r1; ++row)
    for (int column = c0; column <= c1; ++column) {
      TRect r = tileRect(row, column);
      if (!visible(r)) continue;
      const int kind = kindOf(row, column);
      TPixelGraphic* drawn = copies[kind] ? copies[kind].get() : Graphic;
      const int slot = copies[kind] ? kind : 0;
      if (!copies[kind]) {
        if (kind & 1) r = TRect{r.right - 1, r.top, r.left - 1, r.bottom};
        if (kind & 2) r = TRect{r.left, r.bottom - 1, r.right, r.top - 1};
      }
      drawn->SetSkipRealize(realised[slot]);
      realised[slot] = true;
      c->StretchDraw(r, drawn);
    }
  Graphic->SetSkipRealize(false);
}

void TPGImage::DrawProgressClocks() {
  if (!clockVisible_ || !canvas_) return;
  const TRect box = picBox_->BoundsRect();
  const int boxW = box.right - box.left, boxH = box.bottom - box.top;
  HDC dc = canvas_->Handle();
  const COLORREF back = ColorToRGB(clockBkColor_), line = ColorToRGB(clockLineColor_);
  auto clock = [&](int X, int Y) { DrawProgressClock(dc, X, Y, currentStep_, percent_, back, line); };
  if (boxW > kOneClockBox && boxH > kOneClockBox)
    clock(box.left + boxW / 2 - kProgressClockSize / 2, box.top + boxH / 2 - kProgressClockSize / 2);
  if (progress5Clocks_ && boxW >= kFiveClocksBox && boxH >= kFiveClocksBox) {
    const int right = box.right - kClockInset - kProgressClockSize;
    const int bottom = box.bottom - kClockInset - kProgressClockSize;
    clock(box.left + kClockInset, box.top + kClockInset);
    clock(right, box.top + kClockInset);
    clock(box.left + kClockInset, bottom);
    clock(right, bottom);
  }
}
