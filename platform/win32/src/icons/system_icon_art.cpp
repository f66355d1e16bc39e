// The system icons, drawn from shapes tested at each pixel's centre and small glyph bitmaps: a
// dark outline, a grey drop shadow, and the symbol on top, as the classic icons look.
#include "system_icon_art.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <string_view>

namespace icons {
namespace {

constexpr std::uint32_t kBlack = 0x000000, kMaroon = 0x800000, kNavy = 0x000080, kGrey = 0x808080, kRed = 0xFF0000,
                        kYellow = 0xFFFF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// Whether a point (in pixel units, pixel centres at .5) lies inside a shape.
using Shape = std::function<bool(double x, double y)>;

Shape Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

Shape Triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  return [=](double x, double y) {
    auto side = [&](double px, double py, double qx, double qy) { return (qx - px) * (y - py) - (qy - py) * (x - px); };
    const double d1 = side(ax, ay, bx, by), d2 = side(bx, by, cx, cy), d3 = side(cx, cy, ax, ay);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
  };
}

Shape Box(double left, double top, double right, double bottom) {
  return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

// A stroke of the given half width along a segment.
Shape Stroke(double ax, double ay, double bx, double by, double halfWidth) {
  return [=](double x, double y) {
    const double vx = bx - ax, vy = by - ay;
    const double t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(x - ax - t * vx, y - ay - t * vy) <= halfWidth;
  };
}

Shape Union(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Shifted(Shape s, double dx, double dy) {
  return [=](double x, double y) { return s(x - dx, y - dy); };
}

class Painter {
 public:
  Painter() { art_.fill(kClear); }

  void Fill(const Shape& shape, std::uint32_t colour) {
    ForEachPixel([&](int x, int y) {
      if (Inside(shape, x, y)) Set(x, y, colour);
    });
  }
  // The pixels of the shape that touch the outside.
  void Outline(const Shape& shape, std::uint32_t colour) {
    ForEachPixel([&](int x, int y) {
      if (Inside(shape, x, y) && (!Inside(shape, x - 1, y) || !Inside(shape, x + 1, y) || !Inside(shape, x, y - 1) ||
                                  !Inside(shape, x, y + 1)))
        Set(x, y, colour);
    });
  }
  // A shape filled with its outline and a shadow cast down and to the right.
  void Solid(const Shape& shape, std::uint32_t colour, std::uint32_t outline) {
    Fill(Shifted(shape, 2, 2), kGrey);
    Fill(shape, colour);
    Outline(shape, outline);
  }
  // Rows of '#' (coloured) and '.' (left as it is), the top left corner at (left, top).
  void Glyph(int left, int top, std::initializer_list<std::string_view> rows, std::uint32_t colour) {
    int y = top;
    for (std::string_view row : rows) {
      for (std::size_t i = 0; i < row.size(); ++i)
        if (row[i] == '#') Set(left + static_cast<int>(i), y, colour);
      ++y;
    }
  }
  const SystemIconArt& Art() const { return art_; }

 private:
  template <class F>
  static void ForEachPixel(F f) {
    for (int y = 0; y < kSystemIconSize; ++y)
      for (int x = 0; x < kSystemIconSize; ++x) f(x, y);
  }
  static bool Inside(const Shape& shape, int x, int y) { return shape(x + 0.5, y + 0.5); }
  void Set(int x, int y, std::uint32_t colour) {
    if (x >= 0 && y >= 0 && x < kSystemIconSize && y < kSystemIconSize)
      art_[static_cast<std::size_t>(y * kSystemIconSize + x)] = colour;
  }
  SystemIconArt art_;
};

// The speech balloon of the question and information icons.
Shape Balloon() { return Union(Ellipse(15, 12, 14, 11), Triangle(7, 19, 14, 21.5, 4, 29.5)); }

SystemIconArt Application() {
  Painter p;
  p.Fill(Box(3, 5, 31, 30), kGrey);
  p.Fill(Box(1, 3, 29, 28), kWhite);
  p.Outline(Box(1, 3, 29, 28), kBlack);
  p.Fill(Box(2, 4, 28, 8), kNavy);
  p.Fill(Box(2, 8, 28, 9), kBlack);
  return p.Art();
}

SystemIconArt Hand() {
  Painter p;
  p.Solid(Ellipse(15, 15, 14, 14), kRed, kMaroon);
  p.Fill(Stroke(10, 10, 20, 20, 1.8), kWhite);
  p.Fill(Stroke(20, 10, 10, 20, 1.8), kWhite);
  return p.Art();
}

SystemIconArt Question() {
  Painter p;
  p.Solid(Balloon(), kWhite, kBlack);
  p.Glyph(10, 5,
          {
              "..######..",
              ".########.",
              "###....###",
              "###....###",
              ".......###",
              "......###.",
              ".....###..",
              "....###...",
              "....###...",
              "..........",
              "....###...",
              "....###...",
              "....###...",
          },
          kBlue);
  return p.Art();
}

SystemIconArt Exclamation() {
  Painter p;
  p.Solid(Triangle(15, 0.5, 29.5, 28, 0.5, 28), kYellow, kBlack);
  p.Glyph(13, 9,
          {
              ".##.",
              "####",
              "####",
              "####",
              "####",
              ".##.",
              ".##.",
              ".##.",
              ".##.",
              ".##.",
              "....",
              "....",
              ".##.",
              "####",
              ".##.",
          },
          kBlack);
  return p.Art();
}

SystemIconArt Asterisk() {
  Painter p;
  p.Solid(Balloon(), kWhite, kBlack);
  p.Glyph(12, 5,
          {
              "..###..",
              "..###..",
              "..###..",
              ".......",
              "#####..",
              "..###..",
              "..###..",
              "..###..",
              "..###..",
              "..###..",
              "..###..",
              "..###..",
              "#######",
          },
          kBlue);
  return p.Art();
}

}  // namespace

std::optional<SystemIconArt> DrawSystemIcon(int id) {
  switch (id) {
    case 32512: return Application();
    case 32513: return Hand();
    case 32514: return Question();
    case 32515: return Exclamation();
    case 32516: return Asterisk();
    default: return std::nullopt;
  }
}

}  // namespace icons
