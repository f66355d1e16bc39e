// An edge list sorted by top and a list of the edges that cross the current row, so each row
// looks only at its own edges and rows without any are skipped.
#include "polygon_scan.h"

#include <algorithm>
#include <cmath>

namespace gdi {

namespace {

struct Edge {
  POINT top, bottom;  // top.y < bottom.y; the edge covers rows [top.y, bottom.y)
  int dir;  // +1 drawn downwards, -1 upwards
  double XAt(double y) const {
    return top.x + (y - top.y) * (bottom.x - top.x) / static_cast<double>(bottom.y - top.y);
  }
};

}  // namespace

void ScanPolygons(const std::vector<std::vector<POINT>>& polygons, bool winding,
                  const std::function<void(int y, int x0, int x1)>& span) {
  std::vector<Edge> edges;
  for (const auto& poly : polygons)
    for (std::size_t i = 0; i < poly.size(); ++i) {
      POINT a = poly[i], b = poly[(i + 1) % poly.size()];
      if (a.y == b.y) continue;
      if (a.y < b.y) edges.push_back({a, b, 1});
      else
        edges.push_back({b, a, -1});
    }
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top.y < b.top.y; });
  std::vector<const Edge*> active;
  std::vector<std::pair<double, int>> crossings;
  std::size_t next = 0;
  long long y = edges.empty() ? 0 : edges.front().top.y;
  while (next < edges.size() || !active.empty()) {
    if (active.empty() && edges[next].top.y > y) y = edges[next].top.y;
    while (next < edges.size() && edges[next].top.y <= y) active.push_back(&edges[next++]);
    std::erase_if(active, [&](const Edge* e) { return e->bottom.y <= y; });
    double yc = static_cast<double>(y) + 0.5;
    crossings.clear();
    for (const Edge* e : active) crossings.emplace_back(e->XAt(yc), e->dir);
    std::sort(crossings.begin(), crossings.end());
    int count = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
      count += winding ? crossings[i].second : 1;
      bool inside = winding ? count != 0 : (count & 1) != 0;
      if (!inside) continue;
      int x0 = static_cast<int>(std::ceil(crossings[i].first - 0.5));
      int x1 = static_cast<int>(std::ceil(crossings[i + 1].first - 0.5));
      span(static_cast<int>(y), x0, x1);
    }
    ++y;
  }
}

}  // namespace gdi
