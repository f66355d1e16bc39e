#pragma once
// The path of enhanced metafiles: what is drawn between BEGINPATH and ENDPATH is kept as figures in
// the target's device pixels (each point transformed as it is added, as the GDI does) and drawn
// only when the path is filled, stroked or made the clip region. The path is not part of the
// state that SAVEDC keeps, so a file cannot multiply it.
#include <vector>

#include "metafile/transform.h"

namespace metafile {

struct Figure {
  std::vector<DPoint> points;
  bool closed = false;
};

class Path {
 public:
  // Points of one path, beyond which the path is dropped: a fill scans every edge of it.
  static constexpr std::size_t kMaxPoints = 1 << 18;

  bool Recording() const { return state_ == State::Recording; }
  // Ended and not yet used up by a fill, stroke or clip.
  bool Ready() const { return state_ == State::Ready; }
  // Starts a new path, dropping any earlier one.
  void Begin();
  // Ends the recording, if one is going on.
  void End();
  // Drops the path (aborted, or used up).
  void Clear();

  // The next line starts a new figure.
  void MoveTo() { newFigure_ = true; }
  // Lines from `from` on: they continue the last figure when it ends at `from` and is still open.
  // False (and the path dropped) when the path grows beyond kMaxPoints.
  bool LinesFrom(DPoint from, const std::vector<DPoint>& to);
  bool AddFigure(std::vector<DPoint> points, bool closed);
  void CloseFigure();
  // Replaces the ready path by the area a round pen `width` pixels wide paints along it. Only
  // approximately: the area is kept as overlapping pieces (a band along each line and a disc at
  // each point) that are filled as their union whatever the fill mode, so stroking the widened
  // path outlines each piece. False (and the path dropped) when it would grow beyond kMaxPoints.
  bool Widen(double width);

  const std::vector<Figure>& Figures() const { return figures_; }
  // The figures as polygons (a fill closes every figure).
  std::vector<std::vector<DPoint>> Polygons() const;
  bool UnionFill() const { return unionFill_; }

 private:
  bool Grow(std::size_t points);

  enum class State { None, Recording, Ready } state_ = State::None;
  std::vector<Figure> figures_;
  std::size_t points_ = 0;
  bool newFigure_ = true;
  bool unionFill_ = false;
  bool dropped_ = false;  // grew too large; the rest of the recording is ignored
};

}  // namespace metafile
