// The colour buttons' base layer: routine slots, start-up flags, the bevel's rings and change
// notifications, device identifier names and the family's cursors.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "component_fixture.h"
#include "components/tav_base.h"
#include "pixel_rows.h"
#include "win32/kernel.h"

namespace {

TEST(TavRoutines, SlotsDoWhatTheTableSays) {
  TTavRoutines& r = TavRoutines();
  r.DoNothing();
  EXPECT_EQ(r.ReturnZero(), 0);
  std::uint16_t a16 = 1, b16 = 2;
  r.Swap16(a16, b16);
  EXPECT_EQ(a16, 2);
  EXPECT_EQ(b16, 1);
  std::uint32_t a32 = 3, b32 = 4;
  r.Swap32(a32, b32);
  r.Swap32Again(a32, b32);
  r.Swap32Again(a32, b32);
  EXPECT_EQ(a32, 4u);
  EXPECT_EQ(r.Min(-3, 2), -3);
  EXPECT_EQ(r.Max(-3, 2), 2);
  struct Bounds {
    int v, lo, hi, clamp, clampEither;
    bool inRange, inRangeEither;
  } cases[] = {
      {5, 10, 0, 10, 5, false, true},  // bounds given the wrong way round
      {3, 5, 1, 5, 3, false, true},   {-1, 0, 10, 0, 0, false, false},  {11, 0, 10, 10, 10, false, false},
      {7, 0, 10, 7, 7, true, true},   {20, 10, 0, 0, 10, false, false},
  };
  for (const Bounds& c : cases) {
    EXPECT_EQ(r.Clamp(c.v, c.lo, c.hi), c.clamp) << c.v << " " << c.lo << " " << c.hi;
    EXPECT_EQ(r.ClampEither(c.v, c.lo, c.hi), c.clampEither) << c.v << " " << c.lo << " " << c.hi;
    EXPECT_EQ(r.InRange(c.v, c.lo, c.hi), c.inRange) << c.v << " " << c.lo << " " << c.hi;
    EXPECT_EQ(r.InRangeEither(c.v, c.lo, c.hi), c.inRangeEither) << c.v << " " << c.lo << " " << c.hi;
  }
  int total = 5;
  r.AddTo(total, -7);
  EXPECT_EQ(total, -2);
}

TEST(TavRoutines, ByteRoutinesKeepToTheirLengths) {
  TTavRoutines& r = TavRoutines();
  std::array<std::uint8_t, 8> bytes{};
  bytes.fill(0xEE);
  r.FillBytes(bytes.data(), 3, 0x11);
  EXPECT_EQ(bytes[2], 0x11);
  EXPECT_EQ(bytes[3], 0xEE);
  r.FillBytes(bytes.data(), -5, 0x22);  // nothing for a negative count
  r.FillBytes(bytes.data(), 0, 0x22);
  EXPECT_EQ(bytes[0], 0x11);
  bytes.fill(0);
  r.FillPattern(bytes.data(), 7, 0xA4A3A2A1u);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 8>{0xA1, 0xA2, 0xA3, 0xA4, 0xA1, 0xA1, 0xA1, 0}));
  r.FillPattern(bytes.data(), -1, 0);
  EXPECT_EQ(bytes[0], 0xA1);
  std::array<std::uint8_t, 6> area{1, 2, 3, 4, 5, 6};
  r.MoveBytes(area.data(), area.data() + 2, 4);  // overlapping, source below destination
  EXPECT_EQ(area, (std::array<std::uint8_t, 6>{1, 2, 1, 2, 3, 4}));
  r.MoveBytes(area.data() + 2, area.data(), 4);
  EXPECT_EQ(area, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 3, 4}));
  r.MoveBytes(area.data(), area.data() + 1, 0);
  EXPECT_EQ(area[1], 2);
  const std::uint8_t x[] = {1, 2, 3, 4, 5, 6, 7}, y[] = {1, 2, 3, 4, 5, 6, 8};
  EXPECT_TRUE(r.CompareBytes(x, y, 6));
  EXPECT_FALSE(r.CompareBytes(x, y, 7));
  EXPECT_TRUE(r.CompareBytes(x, y, 0));
  EXPECT_TRUE(r.CompareBytes(x, y, -3));  // nothing compared: equal
}

TEST(TavStartupFlags, FollowThePlatformVersion) {
  const TTavStartupFlags& f = TavStartupFlags();
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionExA(&v));
  EXPECT_TRUE(f.Set);
  EXPECT_EQ(f.Win9x, v.dwPlatformId == 1);
  EXPECT_EQ(f.NT, f.NT3 || f.NT4);
  EXPECT_FALSE(f.NT3 && f.NT4);
#if defined(__x86_64__)
  // Every 64-bit x86 processor has MMX and reports a family of 6 or more.
  EXPECT_TRUE(f.MMX);
  EXPECT_GE(f.ProcessorFamily, 1);
#endif
}

TEST(TavDeviceId, NamesBothValuesAndNothingElse) {
  InitTavUtilities();
  const TIntToIdent* toIdent = FindIntToIdent(TypeInfo_TTavDeviceId);
  const TIdentToInt* toInt = FindIdentToInt(TypeInfo_TTavDeviceId);
  ASSERT_TRUE(toIdent && toInt);
  std::string name;
  EXPECT_TRUE((*toIdent)(-2, name));
  EXPECT_EQ(name, "InvalidDevice");
  EXPECT_TRUE((*toIdent)(-1, name));
  EXPECT_EQ(name, "DefaultDevice");
  EXPECT_FALSE((*toIdent)(0, name));
  std::int64_t value = 0;
  EXPECT_TRUE((*toInt)("invaliddevice", value));
  EXPECT_EQ(value, -2);
  EXPECT_TRUE((*toInt)("DefaultDevice", value));
  EXPECT_EQ(value, -1);
  EXPECT_FALSE((*toInt)("PrinterDevice", value));
}

TEST(TavBevel, AssignNotifiesOnceAndNotFromItself) {
  TTavBevel a, b;
  int notes = 0;
  a.OnChange = [&](TObject*) { ++notes; };
  a.Assign(&a);
  EXPECT_EQ(notes, 0);
  b.SetBevelInner(bvRaised);
  b.SetBorderWidth(3);
  b.SetOuterShadowColor(clRed);
  b.SetBorderStyle(bsSingle);
  a.Assign(&b);
  EXPECT_EQ(notes, 1);
  EXPECT_EQ(a.BevelInner(), bvRaised);
  EXPECT_EQ(a.BorderWidth(), 3);
  EXPECT_EQ(a.OuterShadowColor(), clRed);
  EXPECT_EQ(a.BorderStyle(), bsSingle);
  a.SetBorderWidth(3);  // unchanged: no notification
  EXPECT_EQ(notes, 1);
  a.SetColor(9, clRed);  // an index without a colour only notifies
  EXPECT_EQ(notes, 2);
  a.BeginUpdate();
  a.SetBorderSpace(1);
  a.SetBorderSpace(2);
  EXPECT_EQ(notes, 2);
  a.EndUpdate();
  EXPECT_EQ(notes, 3);
  TTavObject other;
  EXPECT_THROW(a.Assign(&other), EConvertError);
}

TEST(TavBevel, RingsFromTheOutsideIn) {
  TTavBevel bevel;
  bevel.SetBorderStyle(bsSingle);
  bevel.SetBevelOuter(bvRaised);
  bevel.SetBorderWidth(1);
  bevel.SetBorderColor(clRed);
  bevel.SetBevelInner(bvLowered);
  bevel.SetBorderSpace(1);
  bevel.SetBorderSpaceColor(clBlue);
  auto b = Background(12, 12);
  TRect inner{};
  bevel.Paint(b->Canvas(), {0, 0, 12, 12}, inner, true);
  // Frame, raised outer bevel, red border, lowered inner bevel, blue space.
  const std::vector<std::string> rows = Rows(b->Canvas(), 0, 0, 12, 12);
  EXPECT_EQ(rows[0], "kkkkkkkkkkkk");
  EXPECT_EQ(rows[1], "khhhhhhhhhsk");
  EXPECT_EQ(rows[2], "khrrrrrrrrsk");
  EXPECT_EQ(rows[3], "khrssssshrsk");
  EXPECT_EQ(rows[4], "khrsbbbbhrsk");
  EXPECT_EQ(rows[5], "khrsb..bhrsk");
  EXPECT_EQ(rows[10], "kssssssssssk");
  EXPECT_EQ(inner.left, 5);
  EXPECT_EQ(inner.right, 7);
  // Without the border its band is left as it was but still taken off.
  auto c = Background(12, 12);
  bevel.Paint(c->Canvas(), {0, 0, 12, 12}, inner, false);
  EXPECT_EQ(Rows(c->Canvas(), 0, 2, 12, 1)[0], "kh........sk");
  EXPECT_EQ(inner.left, 5);
}

TEST_F(ComponentTest, ControlsFillInsideTheirBevelUnlessTransparent) {
  auto* windowed = Make<TTavCustomControl>(10, 10, 20, 20);
  windowed->SetColor(clYellow);
  auto* windowless = Make<TTavGraphicControl>(40, 10, 20, 20);
  windowless->SetColor(clYellow);
  windowless->SetTavTransparent(true);
  form_.SetColor(clNavy);
  ShowForm();
  const host::Image a = Shot(windowed), b = Shot(windowless);
  EXPECT_EQ(a.At(0, 0), Rgb(clBtnShadow));  // the lowered outer bevel
  EXPECT_EQ(a.At(19, 19), Rgb(clBtnHighlight));
  EXPECT_EQ(a.At(10, 10), Rgb(clYellow));
  EXPECT_EQ(b.At(0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(b.At(10, 10), Rgb(clNavy));
}

TEST_F(ComponentTest, TheFamilyCursorsAreTheScreensFrom2001To2031) {
  auto* control = Make<TTavCustomControl>(0, 0, 10, 10);
  (void)control;
  for (int i = kTavFirstCursor; i < kTavFirstCursor + kTavCursorCount; ++i)
    EXPECT_NE(Screen->Cursors(i), Screen->Cursors(crArrow)) << i;
  EXPECT_NE(Screen->Cursors(2001), Screen->Cursors(2002));
  EXPECT_EQ(Screen->Cursors(2032), Screen->Cursors(crArrow));
}

}  // namespace
