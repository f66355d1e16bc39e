#include <gtest/gtest.h>

#include <cmath>

#include "vcl/sysutils.h"
#include "vcl/system.h"

TEST(Round, HalvesGoToTheEvenNeighbourAndTruncCutsTowardsZero) {
  struct Case {
    long double value;
    std::int64_t round, trunc;
  };
  const Case cases[] = {{0.5L, 0, 0},    {1.5L, 2, 1},    {2.5L, 2, 2},    {-0.5L, 0, 0},   {-1.5L, -2, -1},
                        {-2.5L, -2, -2}, {2.4999L, 2, 2}, {2.5001L, 3, 2}, {-2.7L, -3, -2}, {7.0L, 7, 7}};
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.value), c.round) << static_cast<double>(c.value);
    EXPECT_EQ(Trunc(c.value), c.trunc) << static_cast<double>(c.value);
  }
}

TEST(Round, ValuesBeyondTheIntegerRangeRaise) {
  EXPECT_THROW(Round(1e30L), EInvalidOp);
  EXPECT_THROW(Trunc(-1e30L), EInvalidOp);
  EXPECT_THROW(Round(NAN), EInvalidOp);
}

TEST(Random, FollowsTheLinearCongruentialSequenceFromRandSeed) {
  RandSeed = 0;
  const int expected[] = {0, 3, 86, 20, 27, 67};
  for (int e : expected) EXPECT_EQ(Random(100), e);

  RandSeed = 12345;
  const int dice[] = {2, 1, 0, 3};
  for (int e : dice) EXPECT_EQ(Random(6), e);
  EXPECT_EQ(RandSeed, 2377737157u);

  RandSeed = 7;
  EXPECT_NEAR(static_cast<double>(Random()), 943430692 / 4294967296.0, 1e-15);
  EXPECT_EQ(RandSeed, 943430692u);
}

TEST(Random, RandomizeReseeds) {
  RandSeed = 0;
  Randomize();
  const std::uint32_t first = RandSeed;
  EXPECT_NE(first, 0u);
  for (int i = 0; i < 1000; ++i) {
    const int r = Random(10);
    EXPECT_GE(r, 0);
    EXPECT_LT(r, 10);
  }
}

TEST(StringRoutines, PosAndCopyCountFromOne) {
  EXPECT_EQ(Pos("lo", "hello"), 4);
  EXPECT_EQ(Pos("x", "hello"), 0);
  EXPECT_EQ(Pos("", "hello"), 0);
  EXPECT_EQ(Copy("hello", 2, 3), "ell");
  EXPECT_EQ(Copy("hello", 4, 100), "lo");
  EXPECT_EQ(Copy("hello", 0, 2), "he");
  EXPECT_EQ(Copy("hello", 6, 1), "");
  EXPECT_EQ(Copy("hello", 2, -1), "");
}
