// The four program icons. Each drawing is a list of shapes in a 32 x 32 space, painted at both
// sizes from the centres of the target's pixels, so the 16 x 16 entry is the same picture with
// one-pixel outlines of its own.
#include "components/program_icons.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "vcl/forms.h"
#include "vcl/graphics_images.h"
#include "vcl/streams.h"
#include "win32/little_endian.h"

namespace components {
namespace {

// The sixteen colours of the classic desktop, by their palette index.
enum Colour : int {
  kTransparent = -1,
  kBlack = 0,
  kMaroon,
  kGreen,
  kOlive,
  kNavy,
  kPurple,
  kTeal,
  kSilver,
  kGray,
  kRed,
  kLime,
  kYellow,
  kBlue,
  kFuchsia,
  kAqua,
  kWhite,
};
constexpr std::uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr int kDesignSize = 32;
constexpr double kPi = 3.14159265358979323846;

// Whether a point of the 32 x 32 design space lies inside.
using Shape = std::function<bool(double x, double y)>;

Shape Rect(double left, double top, double right, double bottom) {
  return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}
Shape Disc(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Shape Polygon(std::vector<std::pair<double, double>> corners) {
  return [corners = std::move(corners)](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
      const auto [xi, yi] = corners[i];
      const auto [xj, yj] = corners[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
  };
}
// A ring between two radii, open from `gapFrom` to `gapTo` degrees (counter-clockwise from the right).
Shape OpenRing(double cx, double cy, double inner, double outer, double gapFrom, double gapTo) {
  return [=](double x, double y) {
    const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    if (d2 < inner * inner || d2 > outer * outer) return false;
    double angle = std::atan2(cy - y, x - cx) * 180 / kPi;
    if (angle < 0) angle += 360;
    return !(angle > gapFrom && angle < gapTo);
  };
}
Shape Union(std::vector<Shape> parts) {
  return [parts = std::move(parts)](double x, double y) {
    for (const Shape& part : parts)
      if (part(x, y)) return true;
    return false;
  };
}

// The pixels of one entry: palette indices, kTransparent where the desktop shows through.
class Picture {
 public:
  explicit Picture(int size) : size_(size), pixels_(static_cast<std::size_t>(size * size), kTransparent) {}
  int Size() const { return size_; }
  int At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * size_ + x)]; }

  // The shape in `fill`, its edge pixels (a neighbour outside) in `outline` unless that is
  // transparent.
  void Paint(const Shape& shape, int fill, int outline = kTransparent) {
    auto inside = [&](int x, int y) {
      const double scale = static_cast<double>(kDesignSize) / size_;
      return x >= 0 && y >= 0 && x < size_ && y < size_ && shape((x + 0.5) * scale, (y + 0.5) * scale);
    };
    std::vector<int> next = pixels_;
    for (int y = 0; y < size_; ++y)
      for (int x = 0; x < size_; ++x) {
        if (!inside(x, y)) continue;
        const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
        next[static_cast<std::size_t>(y * size_ + x)] = edge && outline != kTransparent ? outline : fill;
      }
    pixels_ = std::move(next);
  }

 private:
  int size_;
  std::vector<int> pixels_;
};

// A closed arrowhead at the end of an arc: its base across the ring at `angle`, pointing along
// the turn (clockwise when `clockwise`).
Shape ArcArrowHead(double cx, double cy, double radius, double angle, double halfWidth, double length, bool clockwise) {
  const double a = angle * kPi / 180;
  const double px = cx + radius * std::cos(a), py = cy - radius * std::sin(a);
  const double rx = std::cos(a), ry = -std::sin(a);  // outwards, in screen directions
  const double tx = clockwise ? -ry : ry, ty = clockwise ? rx : -rx;
  return Polygon({{px + rx * halfWidth, py + ry * halfWidth},
                  {px - rx * halfWidth, py - ry * halfWidth},
                  {px + tx * length, py + ty * length}});
}

Shape Cloud(double cx, double cy, double r) {
  return Union({Disc(cx - r, cy + r * 0.3, r * 0.75), Disc(cx, cy - r * 0.2, r), Disc(cx + r, cy + r * 0.3, r * 0.75),
                Rect(cx - r, cy + r * 0.2, cx + r, cy + r * 0.9)});
}

// The rotator: a monitor showing a startup sky, with a turning arrow. At 16 x 16 the arrow is a
// thinner ring without outline, so it stays an arrow and not a blot.
void DrawLogo(Picture& p) {
  const bool small = p.Size() < kDesignSize;
  p.Paint(Rect(1, 2, 28, 22), kSilver, kBlack);
  p.Paint(Rect(4, 5, 25, 19), kBlue, kGray);
  p.Paint(Cloud(12, 11, 3.2), kWhite);
  p.Paint(Rect(11, 22, 18, 25), kGray, kBlack);
  p.Paint(Rect(6, 24, 23, 29), kSilver, kBlack);
  if (small) {
    p.Paint(OpenRing(23, 24, 3, 9, 0, 90), kBlack);
    p.Paint(OpenRing(23, 24, 5, 7, 0, 90), kLime);
    p.Paint(ArcArrowHead(23, 24, 6, 90, 6, 8, true), kBlack);
    return;
  }
  p.Paint(OpenRing(23, 24, 3.5, 7.5, 0, 90), kLime, kBlack);
  p.Paint(ArcArrowHead(23, 24, 5.5, 90, 5.5, 7.5, true), kLime, kBlack);
}

// The installer: a red arrow going down into an open box.
void DrawInstall(Picture& p) {
  p.Paint(Polygon({{3, 16}, {9, 11}, {30, 11}, {24, 16}}), kMaroon, kBlack);
  p.Paint(Polygon({{24, 16}, {30, 11}, {30, 25}, {24, 30}}), kOlive, kBlack);
  p.Paint(Rect(3, 16, 24.5, 30), kYellow, kBlack);
  p.Paint(Union({Rect(12, 1, 20, 11), Polygon({{6.5, 10}, {25.5, 10}, {16, 20}})}), kRed, kBlack);
}

// The composer: a picture with a quill pen across it.
void DrawTarnquill(Picture& p) {
  p.Paint(Rect(1, 7, 24, 30), kWhite, kBlack);
  p.Paint(Rect(3, 9, 22, 21), kBlue);
  p.Paint(Disc(16, 14, 3), kYellow);
  p.Paint(Rect(3, 21, 22, 28), kGreen);
  p.Paint(Polygon({{13, 25}, {18, 11}, {30, 1}, {27, 14}}), kSilver, kBlack);
  p.Paint(Polygon({{13, 25}, {28.5, 3}, {29.5, 4}, {14, 26}}), kGray);
  p.Paint(Polygon({{11, 31}, {12, 24}, {15.5, 26.5}}), kBlack);
}

// The slot manager: three logos in their slots, one behind the other.
void DrawCorvane(Picture& p) {
  p.Paint(Rect(11, 1, 31, 16), kPurple, kBlack);
  p.Paint(Rect(6, 8, 26, 23), kTeal, kBlack);
  p.Paint(Rect(1, 15, 21, 30), kBlue, kBlack);
  p.Paint(Cloud(11, 21, 3), kWhite);
  p.Paint(Rect(13, 3, 29, 5), kFuchsia);
  p.Paint(Rect(8, 10, 24, 12), kAqua);
}

Picture Draw(TProgramIcon which, int size) {
  Picture p(size);
  switch (which) {
    case TProgramIcon::Logo: DrawLogo(p); break;
    case TProgramIcon::Install: DrawInstall(p); break;
    case TProgramIcon::Tarnquill: DrawTarnquill(p); break;
    case TProgramIcon::Corvane: DrawCorvane(p); break;
  }
  return p;
}

// One entry as the icon file stores it: the bitmap header (twice the height, for the mask), the
// palette, the 4-bit colour rows and the 1-bit mask rows, both bottom-up in rows of whole 32-bit words.
std::string EntryData(const Picture& p) {
  const int size = p.Size();
  const int colourRow = (size * 4 + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
  std::string out;
  AppendLE32(out, 40);
  AppendLE32(out, static_cast<std::uint32_t>(size));
  AppendLE32(out, static_cast<std::uint32_t>(size * 2));
  AppendLE16(out, 1);
  AppendLE16(out, 4);
  AppendLE32(out, 0);  // no compression
  AppendLE32(out, static_cast<std::uint32_t>((colourRow + maskRow) * size));
  for (int i = 0; i < 4; ++i) AppendLE32(out, 0);
  for (std::uint32_t rgb : kPalette) AppendLE32(out, rgb);  // blue, green, red, 0 in the file
  for (int y = size - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(colourRow), '\0');
    for (int x = 0; x < size; ++x) {
      const int index = std::max(p.At(x, y), 0);  // transparent pixels are black under the mask
      row[static_cast<std::size_t>(x / 2)] |= static_cast<char>(x % 2 ? index : index << 4);
    }
    out += row;
  }
  for (int y = size - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(maskRow), '\0');
    for (int x = 0; x < size; ++x)
      if (p.At(x, y) == kTransparent) row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    out += row;
  }
  return out;
}

}  // namespace

std::string ProgramIconFile(TProgramIcon Which) {
  const std::string entries[2] = {EntryData(Draw(Which, 32)), EntryData(Draw(Which, 16))};
  const int sizes[2] = {32, 16};
  std::string out;
  AppendLE16(out, 0);
  AppendLE16(out, 1);  // an icon, not a cursor
  AppendLE16(out, 2);
  std::uint32_t offset = 6 + 2 * 16;
  for (int i = 0; i < 2; ++i) {
    out += static_cast<char>(sizes[i]);
    out += static_cast<char>(sizes[i]);
    out += static_cast<char>(16);  // colours
    out += '\0';
    AppendLE16(out, 1);  // planes
    AppendLE16(out, 4);  // bits per pixel
    AppendLE32(out, static_cast<std::uint32_t>(entries[i].size()));
    AppendLE32(out, offset);
    offset += static_cast<std::uint32_t>(entries[i].size());
  }
  out += entries[0];
  out += entries[1];
  return out;
}

void SetApplicationIcon(TProgramIcon Which) {
  const std::string file = ProgramIconFile(Which);
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
  stream.SetPosition(0);
  Application->Icon()->LoadFromStream(&stream);
}

}  // namespace components
