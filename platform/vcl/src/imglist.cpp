// TImageList: images cut from bitmaps, drawn through their masks.
#include "vcl/imglist.h"

#include <algorithm>

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

void TImageList::SetWidth(int Value) {
  if (Value == width_ || Value <= 0) return;
  width_ = Value;
  Clear();
}

void TImageList::SetHeight(int Value) {
  if (Value == height_ || Value <= 0) return;
  height_ = Value;
  Clear();
}

template <class TIsCovered>
TImageList::TImage TImageList::Cut(TBitmap* Image, int Piece, TIsCovered isCovered) {
  TCanvas* canvas = Image->Canvas();
  TImage image = EmptyImage();
  for (int y = 0; y < height_ && y < Image->Height(); ++y)
    for (int x = 0; x < width_ && Piece * width_ + x < Image->Width(); ++x) {
      const int sx = Piece * width_ + x;
      const size_t at = static_cast<size_t>(y) * width_ + x;
      image.Pixels[at] = ColorToRGB(canvas->Pixels(sx, y));
      image.Covered[at] = isCovered(sx, y, image.Pixels[at]);
    }
  return image;
}

template <class TIsCovered>
int TImageList::AddCut(TBitmap* Image, TIsCovered isCovered) {
  if (!Image || Image->Empty()) return -1;
  const int first = Count();
  const int pieces = std::max(1, Image->Width() / width_);
  for (int piece = 0; piece < pieces; ++piece) images_.push_back(Cut(Image, piece, isCovered));
  Changed();
  return first;
}

template <class TIsCovered>
void TImageList::ReplaceCut(int Index, TBitmap* Image, TIsCovered isCovered) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  if (!Image || Image->Empty()) {
    images_[static_cast<size_t>(Index)] = EmptyImage();
  } else {
    images_[static_cast<size_t>(Index)] = Cut(Image, 0, isCovered);
  }
  Changed();
}

TImageList::TImage TImageList::EmptyImage() const {
  TImage image;
  image.Pixels.resize(static_cast<size_t>(width_) * height_, 0);
  image.Covered.resize(image.Pixels.size(), false);
  return image;
}

namespace {

auto MaskCovers(TBitmap* Mask) {
  TCanvas* mask = Mask && !Mask->Empty() ? Mask->Canvas() : nullptr;
  return [Mask, mask](int x, int y, COLORREF) {
    return !mask || x >= Mask->Width() || y >= Mask->Height() || ColorToRGB(mask->Pixels(x, y)) != RGB(255, 255, 255);
  };
}

auto ColorCovers(TColor MaskColor) {
  const COLORREF masked = ColorToRGB(MaskColor);
  return [masked](int, int, COLORREF c) { return c != masked; };
}

}  // namespace

int TImageList::Add(TBitmap* Image, TBitmap* Mask) { return AddCut(Image, MaskCovers(Mask)); }

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor) { return AddCut(Image, ColorCovers(MaskColor)); }

int TImageList::AddEmpty() {
  images_.push_back(EmptyImage());
  Changed();
  return Count() - 1;
}

void TImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) { ReplaceCut(Index, Image, MaskCovers(Mask)); }

void TImageList::ReplaceMasked(int Index, TBitmap* Image, TColor MaskColor) {
  ReplaceCut(Index, Image, ColorCovers(MaskColor));
}

void TImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  images_.erase(images_.begin() + Index);
  Changed();
}

void TImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Changed();
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  const TImage& image = images_[static_cast<size_t>(Index)];
  HDC dc = Canvas->Handle();
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const size_t at = static_cast<size_t>(y) * width_ + x;
      if (image.Covered[at]) SetPixelV(dc, X + x, Y + y, image.Pixels[at]);
    }
}

COLORREF TImageList::PixelOf(int Index, int X, int Y) const {
  return images_.at(static_cast<size_t>(Index)).Pixels.at(static_cast<size_t>(Y) * width_ + X);
}

bool TImageList::Covers(int Index, int X, int Y) const {
  return images_.at(static_cast<size_t>(Index)).Covered.at(static_cast<size_t>(Y) * width_ + X);
}

void TImageList::Changed() {
  if (OnChange) OnChange(this);
}

const TClassInfo& TImageList::StaticClassInfo() {
  using C = TImageList;
  static const TClassInfo info("TImageList", &TComponent::StaticClassInfo(),
                               {OrdProperty<C>("Width", TypeInfo_Integer, &C::Width, &C::SetWidth, 16),
                                OrdProperty<C>("Height", TypeInfo_Integer, &C::Height, &C::SetHeight, 16)},
                               {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool imageListClassRegistered = (RegisterClass(TImageList::StaticClassInfo()), true);
