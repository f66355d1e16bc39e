#pragma once
// A work bitmap with a pixel budget for the readers' fuzz targets. The readers accept pictures up
// to kMaxBitmapPixels, and a few bytes can declare one; filling such a bitmap takes seconds and
// finds nothing, so the targets stop there and spend the time on the decoders.
#include <cstdint>
#include <cstdlib>

#include "imaging/io_params.h"
#include "vcl/graphics_images.h"
#include "vcl/streams.h"

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

// Runs `read(input, bitmap)` over the bytes. The reader's own error or a picture over the budget
// ends the run (false); a picture it reads must have the size it reports in `params`.
template <class Read>
bool ReadsAsReported(const uint8_t* data, size_t size, const TVelmoraIOParams& params, Read read) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  BoundedBitmap bitmap;
  try {
    read(input, bitmap);
  } catch (const EInvalidGraphic&) {
    return false;
  } catch (const PictureOverBudget&) {
    return false;
  }
  if (bitmap.Width() != params.Width || bitmap.Height() != params.Height) abort();
  return true;
}
