#include "imaging/velmora_proc.h"

#include "imaging/conversions.h"
#include "imaging/resample.h"
#include "imaging/resample_filters.h"

namespace {

void StretchHalftone(const DibBitmap& source, DibBitmap& dest) {
  HDC to = CreateCompatibleDC(nullptr), from = CreateCompatibleDC(nullptr);
  HGDIOBJ oldTo = SelectObject(to, dest.Handle()), oldFrom = SelectObject(from, source.Handle());
  int mode = SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  StretchBlt(to, 0, 0, dest.Width(), dest.Height(), from, 0, 0, source.Width(), source.Height(), SRCCOPY);
  SetStretchBltMode(to, mode);
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
}

}  // namespace

COLORREF TVelmoraProc::Background() const { return attached_.Get() ? attached_.Get()->Background() : background_; }

void TVelmoraProc::SetBackground(COLORREF Value) {
  if (attached_.Get()) attached_.Get()->SetBackground(Value);
  else background_ = Value;
}

DibBitmap* TVelmoraProc::Work() const { return attached_.Get() ? &attached_.Get()->Bitmap() : nullptr; }

void TVelmoraProc::Refresh() {
  if (attached_.Get()) attached_.Get()->ImageChanged();
}

void TVelmoraProc::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove) attached_.Removed(AComponent);
}

void TVelmoraProc::SaveUndo() {
  DibBitmap* image = Work();
  if (!image) return;
  undo_.SetSize(1, 1);
  if (image->Width() >= 1 && image->Height() >= 1) CopyBitmap(*image, undo_);
}

void TVelmoraProc::Undo() {
  DibBitmap* image = Work();
  if (!image || undo_.Width() < 2 || undo_.Height() < 2) return;
  CopyBitmap(undo_, *image);
  Refresh();
}

void TVelmoraProc::Clear() {
  DibBitmap* image = Work();
  if (!image) return;
  if (AutoUndo) SaveUndo();
  image->Fill(Background());
  Refresh();
}

void TVelmoraProc::Resample(int Width, int Height, int Filter) {
  DibBitmap* image = Work();
  // Readers make 1-bit bitmaps of black and white files; those are resampled too.
  if (!image || (image->Bits() != 24 && image->Bits() != 1)) return;
  if (AutoUndo) SaveUndo();
  if (Width < 0 && Height < 0) return;
  const int w = image->Width(), h = image->Height();
  if (w < 1 || h < 1) return;
  if (Width < 0) Width = static_cast<int>(std::int64_t{w} * Height / h);
  if (Height < 0) Height = static_cast<int>(std::int64_t{Width} * h / w);
  if (Width < 1 || Height < 1 || (Filter != 0 && !IsKernelFilter(Filter))) return;
  if (image->Bits() == 1) {
    DibBitmap expanded;
    ConvertTo24Bit(*image, expanded);
    CopyBitmap(expanded, *image);
  }

  DibBitmap result(Width, Height, 24);
  if (Filter == 0) StretchHalftone(*image, result);
  else ResampleFiltered(*image, result, Filter, {OnProgress, this});
  CopyBitmap(result, *image);
  Refresh();
}
