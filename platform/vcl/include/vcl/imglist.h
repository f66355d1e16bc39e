#pragma once
// TImageList: images of one size cut from bitmaps, each with a mask of the pixels it covers.
#include <cstdint>
#include <vector>

#include "vcl/components.h"
#include "vcl/graphics.h"
#include "vcl/graphics_images.h"

class TImageList : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TImageList(TComponent* AOwner);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size drops the images.
  void SetWidth(int Value);
  void SetHeight(int Value);
  int Count() const { return static_cast<int>(images_.size()); }

  // A bitmap as wide as several images adds each of them, left to right; the index of the first
  // is returned. Mask: a monochrome bitmap whose white pixels are left out (none: all covered).
  int Add(TBitmap* Image, TBitmap* Mask);
  // The pixels of MaskColor are left out.
  int AddMasked(TBitmap* Image, TColor MaskColor);
  // An image that covers nothing, at the end; its index is returned.
  int AddEmpty();
  // The image at Index becomes the first image of Image (covered as for Add and AddMasked); the
  // other indexes stay. An index out of range raises EInvalidOperation.
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceMasked(int Index, TBitmap* Image, TColor MaskColor);
  void Delete(int Index);
  void Clear();

  // Draws the covered pixels at (X, Y); an index out of range draws nothing.
  void Draw(TCanvas* Canvas, int X, int Y, int Index);
  // The image's colour at a point and whether that point is covered.
  COLORREF PixelOf(int Index, int X, int Y) const;
  bool Covers(int Index, int X, int Y) const;

  TNotifyEvent OnChange;

 private:
  struct TImage {
    std::vector<COLORREF> Pixels;
    std::vector<bool> Covered;
  };
  template <class TIsCovered>
  TImage Cut(TBitmap* Image, int Piece, TIsCovered isCovered);
  template <class TIsCovered>
  int AddCut(TBitmap* Image, TIsCovered isCovered);
  template <class TIsCovered>
  void ReplaceCut(int Index, TBitmap* Image, TIsCovered isCovered);
  TImage EmptyImage() const;
  void Changed();

  int width_ = 16, height_ = 16;
  std::vector<TImage> images_;
};
