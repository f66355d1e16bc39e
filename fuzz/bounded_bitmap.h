#pragma once
// A work bitmap with a pixel budget for the readers' fuzz targets. The readers accept pictures up
// to kMaxBitmapPixels, and a few bytes can declare one; filling such a bitmap takes seconds and
// finds nothing, so the targets stop there and spend the time on the decoders.
#include <cstdint>

#include "vcl/graphics_images.h"

struct PictureOverBudget {};

class BoundedBitmap : public TBitmap {
 protected:
  void SetWidthImpl(int Value) override {
    Check(Value, Height());
    TBitmap::SetWidthImpl(Value);
  }
  void SetHeightImpl(int Value) override {
    Check(Width(), Value);
    TBitmap::SetHeightImpl(Value);
  }

 private:
  static void Check(int width, int height) {
    if (std::int64_t{width} * height > std::int64_t{1} << 22) throw PictureOverBudget{};
  }
};
