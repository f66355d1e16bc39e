#include <gtest/gtest.h>

#include <vector>

#include "installer/gradient.h"

namespace {

struct Box {
  int x1, y1, x2, y2;
  TColor color;
};

// An object reached by late binding that records what it is asked to draw.
class Recorder : public vb::Drawable {
 public:
  Recorder(int height, int width) : height_(height), width_(width) {}
  int HeightTwips() override { return height_; }
  int WidthTwips() override { return width_; }
  void LineBoxFilled(int x1, int y1, int x2, int y2, TColor color) override {
    boxes.push_back({x1, y1, x2, y2, color});
  }
  std::vector<Box> boxes;

 private:
  int height_, width_;
};

TEST(Gradient, SixtyThreeBandsDownwards) {
  Recorder form(6300, 4800);
  installer::PaintGradient(form, 0, 0, 255, 1);
  ASSERT_EQ(form.boxes.size(), 63u);
  for (int k = 1; k <= 63; ++k) {
    const Box& b = form.boxes[static_cast<size_t>(k - 1)];
    EXPECT_EQ(b.y1, (k - 1) * 100);
    EXPECT_EQ(b.y2, k * 100);
    EXPECT_EQ(b.x1, 0);
    EXPECT_EQ(b.x2, 4800);
    const TColor expected = k == 1 ? 0xFF0000 : static_cast<TColor>(1 + 256 * 1 + 65536 * (259 - 4 * k));
    EXPECT_EQ(b.color, expected) << "band " << k;
  }
  EXPECT_EQ(form.boxes.back().color, static_cast<TColor>(1 + 256 + 65536 * 7));
}

TEST(Gradient, UpwardsTheBrightestBandIsAtTheBottom) {
  Recorder form(6300, 100);
  installer::PaintGradient(form, 0, 0, 255, 0);
  ASSERT_EQ(form.boxes.size(), 63u);
  EXPECT_EQ(form.boxes.front().y1, 6200);
  EXPECT_EQ(form.boxes.front().color, static_cast<TColor>(0xFF0000));
  EXPECT_EQ(form.boxes.back().y1, 0);
}

TEST(Gradient, ComponentsStopAtOneAndSmallOrHugeObjectsPaint) {
  Recorder form(126, 10);
  installer::PaintGradient(form, 2, 200, 3, 1);
  EXPECT_EQ(form.boxes[1].color, static_cast<TColor>(1 + 256 * 196 + 65536 * 1));
  EXPECT_EQ(form.boxes[62].color & 0xFF, 1);
  Recorder tiny(63, 10);
  installer::PaintGradient(tiny, 0, 0, 255, 1);
  EXPECT_EQ(tiny.boxes.size(), 63u);
  EXPECT_EQ(tiny.boxes.back().y2, 63);  // bands of 1
  // Over 32767 twips: no 16-bit overflow.
  Recorder tall(63000, 40000);
  installer::PaintGradient(tall, 0, 0, 255, 1);
  EXPECT_EQ(tall.boxes.back().y1, 62000);
  EXPECT_EQ(tall.boxes.back().x2, 40000);
}

}  // namespace
