#include <gtest/gtest.h>

#include "vcl/sysutils.h"
#include "vcl/variants.h"

TEST(TVariant, TextOfEachType) {
  EXPECT_EQ(VarToStr(TVariant()), "");
  EXPECT_EQ(VarToStr(TVariant(-42)), "-42");
  EXPECT_EQ(VarToStr(TVariant(2.5)), "2.5");
  EXPECT_EQ(VarToStr(TVariant(true)), "True");
  EXPECT_EQ(VarToStr(TVariant(false)), "False");
  EXPECT_EQ(VarToStr(TVariant("text")), "text");
  EXPECT_THROW(VarToStr(TVariant::Array({TVariant(1), TVariant("a")})), EVariantError);
}

TEST(TVariant, Conversions) {
  EXPECT_EQ(TVariant("12").AsInteger(), 12);
  EXPECT_EQ(TVariant(2.5).AsInteger(), 2);  // halves to even
  EXPECT_EQ(TVariant(" 1.5 ").AsFloat(), 1.5);
  EXPECT_TRUE(TVariant("true").AsBoolean());
  EXPECT_FALSE(TVariant(0).AsBoolean());
  EXPECT_THROW(TVariant("x").AsInteger(), EVariantError);
  EXPECT_THROW(TVariant::Array({}).AsFloat(), EVariantError);
  EXPECT_TRUE(TVariant::Array({TVariant(1)}).IsArray());
}

TEST(DateTime, EncodesDaysSinceTheEpochOf1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  for (TDateTime d : {0.0, 36585.0, 2958465.0, -693593.0, 45000.0}) {
    int y, m, day;
    DecodeDate(d, y, m, day);
    EXPECT_EQ(EncodeDate(y, m, day), d) << d;
  }
}

TEST(DateTime, TextLeavesOutTheTimeAtMidnight) {
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 10)), "12/10/2026");
  EXPECT_EQ(DateTimeToStr(EncodeDate(1999, 1, 2) + EncodeTime(21, 5, 9, 0)), "1/2/1999 21:05:09");
  EXPECT_EQ(DateTimeToStr(0), "12/30/1899");
  EXPECT_EQ(DateTimeToStr(1e300), "0/0/0");
  EXPECT_EQ(DateTimeToStr(-1e6), "0/0/0");
  const TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
}
