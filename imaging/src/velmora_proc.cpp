#include "imaging/velmora_proc.h"

#include "imaging/bitmap_rows.h"
#include "imaging/conversions.h"
#include "imaging/resample.h"
#include "imaging/resample_filters.h"

namespace {

void StretchHalftone(TBitmap& source, TBitmap& dest) {
  TCanvas* canvas = dest.Canvas();
  const int mode = SetStretchBltMode(canvas->Handle(), HALFTONE);
  SetBrushOrgEx(canvas->Handle(), 0, 0, nullptr);
  canvas->StretchDraw({0, 0, dest.Width(), dest.Height()}, &source);
  SetStretchBltMode(canvas->Handle(), mode);
}

}  // namespace

// The undo bitmap is 1 by 1 while it holds nothing.
TVelmoraProc::TVelmoraProc(TComponent* AOwner) : TComponent(AOwner) { Reshape(undo_, pf24bit, 1, 1); }

COLORREF TVelmoraProc::Background() const { return attached_.Get() ? attached_.Get()->Background() : background_; }

void TVelmoraProc::SetBackground(COLORREF Value) {
  if (attached_.Get()) attached_.Get()->SetBackground(Value);
  else
    background_ = Value;
}

TBitmap* TVelmoraProc::Work() const { return attached_.Bitmap(); }

void TVelmoraProc::Refresh() { attached_.Refresh(); }

void TVelmoraProc::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove) attached_.Removed(AComponent);
}

void TVelmoraProc::SaveUndo() {
  TBitmap* image = Work();
  if (!image) return;
  Reshape(undo_, undo_.PixelFormat(), 1, 1);
  if (image->Width() >= 1 && image->Height() >= 1) CopyBitmap(*image, undo_);
}

void TVelmoraProc::Undo() {
  TBitmap* image = Work();
  if (!image || undo_.Width() < 2 || undo_.Height() < 2) return;
  CopyBitmap(undo_, *image);
  Refresh();
}

void TVelmoraProc::Clear() {
  TBitmap* image = Work();
  if (!image) return;
  if (AutoUndo) SaveUndo();
  FillBitmap(*image, Background());
  Refresh();
}

void TVelmoraProc::Resample(int Width, int Height, int Filter) {
  TBitmap* image = Work();
  // Readers make 1-bit bitmaps of black and white files; those are resampled too.
  if (!image || (image->PixelFormat() != pf24bit && image->PixelFormat() != pf1bit)) return;
  if (AutoUndo) SaveUndo();
  if (Width < 0 && Height < 0) return;
  const int w = image->Width(), h = image->Height();
  if (w < 1 || h < 1) return;
  if (Width < 0) Width = static_cast<int>(std::int64_t{w} * Height / h);
  if (Height < 0) Height = static_cast<int>(std::int64_t{Width} * h / w);
  if (Width < 1 || Height < 1 || (Filter != 0 && !IsKernelFilter(Filter))) return;
  if (image->PixelFormat() == pf1bit) {
    TBitmap expanded;
    ConvertTo24Bit(*image, expanded);
    CopyBitmap(expanded, *image);
  }

  TBitmap result;
  Reshape(result, pf24bit, Width, Height);
  if (Filter == 0) StretchHalftone(*image, result);
  else
    ResampleFiltered(*image, result, Filter, {OnProgress, this});
  CopyBitmap(result, *image);
  Refresh();
}
