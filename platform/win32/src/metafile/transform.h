#pragma once
// The coordinate spaces of a metafile: the world transform (enhanced metafiles), the page mapping
// of map mode, window and viewport, and the fit of the picture's frame into the target rectangle.
// The target DC stays in MM_TEXT; the player turns everything into its device pixels itself.
#include "win32/metafile.h"

namespace metafile {

struct DPoint {
  double x = 0, y = 0;
};

// x' = x * m11 + y * m21 + dx, y' = x * m12 + y * m22 + dy (the XFORM layout).
struct Matrix {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

  DPoint Apply(DPoint p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
  // This transform followed by `then`.
  Matrix Then(const Matrix& then) const;
  double ScaleX() const;
  double ScaleY() const;
  bool Finite() const;
};

Matrix Translation(double x, double y);
Matrix Scaling(double sx, double sy);

struct PageMapping {
  int mode = MM_TEXT;
  DPoint windowOrg, viewportOrg;
  DPoint windowExt{1, 1}, viewportExt{1, 1};
  // Reference device pixels per millimetre, for the metric and English modes.
  double pixelsPerMmX = 96 / 25.4, pixelsPerMmY = 96 / 25.4;

  // Logical (after the world transform) to reference device pixels.
  Matrix ToDevice() const;
  // Unknown modes fall back to MM_TEXT.
  void SetMode(int newMode);
};

}  // namespace metafile
