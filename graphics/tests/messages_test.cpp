#include <gtest/gtest.h>

#include "graphics/exceptions.h"
#include "graphics/library.h"
#include "graphics/messages.h"

TEST(MessagesTest, TemplatesFillTheFirstOccurrenceOfEachPlaceholder) {
  EXPECT_EQ(PGLangStrS1(19, "xyz"), "Unknown file extension \"xyz\"");
  EXPECT_EQ(PGLangStrS2(18, "Bitmap", "256 colors"),
            "The graphic cannot be saved with to a Bitmap file with the current color resolution (256 colors)");
  EXPECT_EQ(PGLangStrS3(17, "Bitmap", "256 colors", "black and white"),
            "The graphic cannot be saved to a Bitmap file with the current color resolution (256 colors).\r\rThe "
            "graphic will be saved with a different color resolution (black and white).");
  EXPECT_EQ(PGLangStrS1(2, "unused"), "No palette");
  EXPECT_EQ(PGLangStrS1(31, "%S1"), "%S1 failed");  // only the first occurrence is replaced
  EXPECT_EQ(PGLangStr(0), "");
  EXPECT_EQ(PGLangStr(84), "");
  EXPECT_EQ(PGLangStr(43), "Cancel");
}

TEST(MessagesTest, EveryRowHoldsItsIdAndEnglishIsSelected) {
  EXPECT_NO_THROW(CheckPGLangStrOrder(PGLangStrEntries, PGLangStrCount));
  EXPECT_EQ(PGLanguage, pglEnglish);
  TPGLangStrEntry swapped[3] = {{0, {""}}, {2, {"b"}}, {1, {"a"}}};
  try {
    CheckPGLangStrOrder(swapped, 3);
    FAIL() << "no exception";
  } catch (const EPixelGraphic& e) {
    EXPECT_EQ(e.Message, "PGLangStrEntries order wrong 1 and 2 are not identical");
  }
}

TEST(LibraryTest, PowerFollowsItsSpecialCases) {
  EXPECT_EQ(Power(0, 0), 1);
  EXPECT_EQ(Power(0, 2), 0);
  EXPECT_EQ(Power(1, 1000), 1);
  EXPECT_NEAR(static_cast<double>(Power(2, 0.5L)), 1.41421356, 1e-8);
  try {
    Power(-1, 2);
    FAIL() << "no exception";
  } catch (const EPixelGraphic& e) {
    EXPECT_EQ(e.Message, "Invalid Argument");
  }
}

TEST(LibraryTest, SetUpMakesTheLibraryWideObjects) {
  ASSERT_NE(PGLiveCanvases, nullptr);
  ASSERT_NE(FileFormatReaders, nullptr);
  ASSERT_NE(FileFormatWriters, nullptr);
  EXPECT_EQ(FileFormatReaders->Count(), static_cast<int>(FileFormatReaderFactories().size()));
  EXPECT_EQ(FileFormatWriters->Count(), static_cast<int>(FileFormatWriterFactories().size()));
  EXPECT_EQ(PGViewerFont.lfHeight, 8);
  EXPECT_EQ(PGViewerFont.lfWeight, 400);
  EXPECT_EQ(PGViewerFont.lfCharSet, 1);
  EXPECT_STREQ(PGViewerFont.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(PGDisplayGamma, 1.8L);
  EXPECT_TRUE(PGGammaCorrection);
}

TEST(LibraryTest, RepeatedSetUpRunsOnceAndTeardownOnlyAtTheLast) {
  TList* canvases = PGLiveCanvases;
  PGLibraryInitialize();
  EXPECT_EQ(PGLiveCanvases, canvases);
  PGLibraryFinalize();
  EXPECT_EQ(PGLiveCanvases, canvases);
}
