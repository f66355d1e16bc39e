#include <gtest/gtest.h>

#include <climits>

#include "win32/kernel.h"

namespace {

TEST(KernelMulDiv, RoundsHalvesAwayFromZeroInSixtyFourBits) {
  struct Case {
    int a, b, c, expected;
  };
  const Case cases[] = {
      {8, 96, 72, 11},  // 10.67
      {10, 3, 4, 8},  // 7.5 up
      {-10, 3, 4, -8},  // -7.5 away from zero
      {10, -3, 4, -8},
      {10, 3, -4, -8},
      {-10, -3, -4, -8},
      {-10, -3, 4, 8},
      {7, 1, 2, 4},  // 3.5
      {5, 1, 3, 2},  // 1.67
      {4, 1, 3, 1},  // 1.33
      {-4, 1, 3, -1},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 62 bits
      {65536, 65536, 4, 1 << 30},
      {INT_MIN, 1, 1, INT_MIN},
      {0, 5, 7, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(KernelMulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
}

}  // namespace
