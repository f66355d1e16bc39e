#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>

#include "corvane_fixture.h"

namespace {

TEST_F(CorvaneTest, TheAboutBoxComesFromItsDescription) {
  MakeForms();
  EXPECT_EQ(FAbout->Caption(), "About..");
  EXPECT_EQ(FAbout->Width(), 435);
  EXPECT_EQ(FAbout->Height(), 427);
  EXPECT_EQ(FAbout->BorderIcons(), TBorderIcons{});
  EXPECT_EQ(FAbout->AnimGIF1->PictureWidth(), 427);
  EXPECT_EQ(FAbout->AnimGIF1->PictureHeight(), 400);
  EXPECT_EQ(FAbout->Label5->Caption(), "Current screen resolution: ");
  EXPECT_EQ(FAbout->btBack->Caption(), "Back");
  EXPECT_TRUE(FAbout->lbWarning->WordWrap());
  EXPECT_TRUE(FAbout->lbRes->Font()->Style().Contains(fsBold));
  WhenShown(FAbout, [] { FAbout->btBackClick(FAbout->btBack); });
  FMain->About1Click(FMain->About1);
  EXPECT_EQ(FAbout->Left(), FMain->Left() + 32);
  EXPECT_EQ(FAbout->Top(), FMain->Top() - 20);
  EXPECT_FALSE(FAbout->Visible());
}

// What the About box made at this screen says; true when it is what the screen is.
bool DescribesTheScreen(const std::string& bits) {
  Application->CreateForm(FMain);
  Application->CreateForm(FAbout);
  const std::string res = FAbout->lbRes->Caption();
  const std::string warning = FAbout->lbWarning->Caption();
  const std::string wantWarning = bits == "16"
                                      ? "Perfect! You're running this program in an optimal grafical environment."
                                      : "Remember: this program looks and works best in at least 16 bit colors !";
  std::fprintf(stderr, "%s|%s", res.c_str(), warning.c_str());
  return res == bits + " bits, 800 x 600" && warning == wantWarning;
}

// The screen is read once per process: each depth is looked at by a fresh run of the test.
class AboutScreen : public CorvaneTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AboutScreen, TheAboutBoxDescribesTheScreenAsCreated) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string bits = GetParam();
  ::setenv("STARTLOGO_SCREEN_BITS", bits.c_str(), 1);
  ::setenv("STARTLOGO_SCREEN_SIZE", "800x600", 1);
  EXPECT_EXIT(std::_Exit(DescribesTheScreen(bits) ? 0 : 1), ::testing::ExitedWithCode(0), "");
  ::unsetenv("STARTLOGO_SCREEN_BITS");
  ::unsetenv("STARTLOGO_SCREEN_SIZE");
}

INSTANTIATE_TEST_SUITE_P(Depths, AboutScreen, ::testing::Values("16", "8"));

}  // namespace
