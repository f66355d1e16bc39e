// Matrices and the page mapping of map modes.
#include "metafile/transform.h"

#include <cmath>

namespace metafile {

Matrix Matrix::Then(const Matrix& b) const {
  return {m11 * b.m11 + m12 * b.m21, m11 * b.m12 + m12 * b.m22,      m21 * b.m11 + m22 * b.m21,
          m21 * b.m12 + m22 * b.m22, dx * b.m11 + dy * b.m21 + b.dx, dx * b.m12 + dy * b.m22 + b.dy};
}

double Matrix::ScaleX() const { return std::hypot(m11, m12); }
double Matrix::ScaleY() const { return std::hypot(m21, m22); }

bool Matrix::Finite() const {
  return std::isfinite(m11) && std::isfinite(m12) && std::isfinite(m21) && std::isfinite(m22) && std::isfinite(dx) &&
         std::isfinite(dy);
}

Matrix Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
Matrix Scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }

Matrix PageMapping::ToDevice() const {
  double sx = 1, sy = 1;
  switch (mode) {
    case MM_LOMETRIC: sx = pixelsPerMmX / 10, sy = -pixelsPerMmY / 10; break;
    case MM_HIMETRIC: sx = pixelsPerMmX / 100, sy = -pixelsPerMmY / 100; break;
    case MM_LOENGLISH: sx = pixelsPerMmX * 0.254, sy = -pixelsPerMmY * 0.254; break;
    case MM_HIENGLISH: sx = pixelsPerMmX * 0.0254, sy = -pixelsPerMmY * 0.0254; break;
    case MM_TWIPS: sx = pixelsPerMmX * 25.4 / 1440, sy = -pixelsPerMmY * 25.4 / 1440; break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
      sx = windowExt.x != 0 ? viewportExt.x / windowExt.x : 1;
      sy = windowExt.y != 0 ? viewportExt.y / windowExt.y : 1;
      if (mode == MM_ISOTROPIC) {
        // Equal units on both axes: the smaller scale wins, each axis keeping its direction.
        double s = std::min(std::fabs(sx), std::fabs(sy));
        sx = std::copysign(s, sx);
        sy = std::copysign(s, sy);
      }
      break;
    default: break;
  }
  return Translation(-windowOrg.x, -windowOrg.y).Then(Scaling(sx, sy)).Then(Translation(viewportOrg.x, viewportOrg.y));
}

void PageMapping::SetMode(int newMode) { mode = newMode >= MM_TEXT && newMode <= MM_ANISOTROPIC ? newMode : MM_TEXT; }

}  // namespace metafile
