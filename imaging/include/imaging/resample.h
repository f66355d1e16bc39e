#pragma once
// Separable filtered resampling of 24-bit pictures with the kernels of resample_filters.h.
#include "imaging/dib_bitmap.h"
#include "imaging/progress.h"

// Resamples `source` into `dest`, which already has the wanted size; both 24 bits per pixel, else
// nothing happens. An empty source or destination is left alone.
void ResampleFiltered(const DibBitmap& source, DibBitmap& dest, int filter, const TProgressRec& progress);
