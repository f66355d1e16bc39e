#pragma once
// Moving and insetting rectangles in place, as the drawing code of the family does often.
#include "vcl/graphics.h"

namespace rect_ops {

inline void Inflate(TRect& R, int Dx, int Dy) {
  R.left -= Dx;
  R.top -= Dy;
  R.right += Dx;
  R.bottom += Dy;
}

inline void Offset(TRect& R, int Dx, int Dy) {
  R.left += Dx;
  R.top += Dy;
  R.right += Dx;
  R.bottom += Dy;
}

}  // namespace rect_ops
