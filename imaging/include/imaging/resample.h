#pragma once
// Separable filtered resampling of 24-bit pictures with the kernels of resample_filters.h.
#include "imaging/progress.h"
#include "vcl/graphics_images.h"

// Resamples `source` into `dest`, which already has the wanted size; both 24 bits per pixel, else
// nothing happens. An empty source or destination is left alone.
void ResampleFiltered(TBitmap& source, TBitmap& dest, int filter, const TProgressRec& progress);
