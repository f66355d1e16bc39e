#include "metafile/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace metafile {

void Path::Begin() {
  Clear();
  state_ = State::Recording;
}

void Path::End() {
  if (state_ == State::Recording) state_ = State::Ready;
}

void Path::Clear() {
  state_ = State::None;
  figures_.clear();
  points_ = 0;
  newFigure_ = true;
  unionFill_ = false;
  dropped_ = false;
}

bool Path::Grow(std::size_t points) {
  if (dropped_) return true;  // reported once already
  if (points <= kMaxPoints - points_) {
    points_ += points;
    return true;
  }
  figures_.clear();
  points_ = 0;
  dropped_ = true;
  return false;
}

bool Path::LinesFrom(DPoint from, const std::vector<DPoint>& to) {
  if (state_ != State::Recording || to.empty()) return true;
  if (!Grow(to.size() + 1)) return false;
  if (dropped_) return true;
  bool continues = !newFigure_ && !figures_.empty() && !figures_.back().closed &&
                   figures_.back().points.back().x == from.x && figures_.back().points.back().y == from.y;
  if (!continues) figures_.push_back({{from}, false});
  figures_.back().points.insert(figures_.back().points.end(), to.begin(), to.end());
  newFigure_ = false;
  return true;
}

bool Path::AddFigure(std::vector<DPoint> points, bool closed) {
  if (state_ != State::Recording || points.empty()) return true;
  if (!Grow(points.size())) return false;
  if (dropped_) return true;
  figures_.push_back({std::move(points), closed});
  newFigure_ = true;
  return true;
}

void Path::CloseFigure() {
  if (state_ != State::Recording || figures_.empty()) return;
  figures_.back().closed = true;
  newFigure_ = true;
}

std::vector<std::vector<DPoint>> Path::Polygons() const {
  std::vector<std::vector<DPoint>> polygons;
  for (const Figure& f : figures_) polygons.push_back(f.points);
  return polygons;
}

bool Path::Widen(double width) {
  if (state_ != State::Ready) return true;
  const double half = width / 2;
  const int sides = std::clamp(static_cast<int>(width * 2), 8, 32);
  std::size_t total = 0;
  for (const Figure& f : figures_) total += f.points.size() * (sides + 8);
  if (total > kMaxPoints) {
    figures_.clear();
    points_ = 0;
    return false;
  }
  // Every piece runs the same way round, so that under the winding rule their union is filled.
  std::vector<Figure> pieces;
  for (const Figure& f : figures_) {
    const std::size_t n = f.points.size();
    for (std::size_t i = 0; i < n; ++i) {
      DPoint c = f.points[i];
      Figure disc{{}, true};
      for (int k = 0; k < sides; ++k) {
        double a = 2 * std::numbers::pi * k / sides;
        disc.points.push_back({c.x + half * std::cos(a), c.y - half * std::sin(a)});
      }
      pieces.push_back(std::move(disc));
      if (i + 1 == n && !f.closed) break;
      DPoint a = c, b = f.points[(i + 1) % n];
      double length = std::hypot(b.x - a.x, b.y - a.y);
      if (!(length > 0)) continue;
      DPoint side{-(b.y - a.y) / length * half, (b.x - a.x) / length * half};
      pieces.push_back({{{a.x + side.x, a.y + side.y},
                         {b.x + side.x, b.y + side.y},
                         {b.x - side.x, b.y - side.y},
                         {a.x - side.x, a.y - side.y}},
                        true});
    }
  }
  figures_ = std::move(pieces);
  points_ = total;
  unionFill_ = true;
  return true;
}

}  // namespace metafile
