// The viewer's painting read back by pixels, and its paint thread on 24-, 8- and 4-bit screens.
#include <gtest/gtest.h>

#include "graphics/pg_image.h"
#include "viewer_fixture.h"

namespace {

constexpr std::uint32_t kBlue = 0x0000FF, kRed = 0xFF0000, kGreen = 0x00FF00, kYellow = 0xFFFF00, kWhite = 0xFFFFFF;

class ViewerPaint : public ViewerTest {
 protected:
  ViewerPaint() {
    viewer_->SetParent(&form_);
    viewer_->SetBorderStyle(bsNone);
    viewer_->SetColor(static_cast<TColor>(0xFF0000));  // blue bands
    viewer_->SetBounds(0, 0, 120, 100);
    ShowForm();
  }
  host::Image Paint() {
    UpdateWindow(viewer_->Handle());
    return CaptureClient(viewer_->Handle());
  }
  static int Count(const host::Image& image, std::uint32_t colour) {
    int n = 0;
    for (std::uint32_t p : image.pixels) n += (p & 0xFFFFFF) == colour;
    return n;
  }

  TPGImage* viewer_ = new TPGImage(&form_);
};

}  // namespace

TEST_F(ViewerPaint, BandsAroundACentredPictureAndThePictureItself) {
  viewer_->SetCenter(true);
  viewer_->AssignPixelGraphic(Picture(40, 20, 0x0000FF).get());  // red
  const host::Image shot = Paint();
  EXPECT_EQ(TRectValue(viewer_->PicBox()->BoundsRect()), TRectValue(40, 40, 80, 60));
  EXPECT_EQ(Pixel(shot, 40, 40), kRed);
  EXPECT_EQ(Pixel(shot, 79, 59), kRed);
  for (auto [x, y] : {std::pair{39, 50}, {80, 50}, {60, 39}, {60, 60}, {0, 0}, {119, 99}})
    EXPECT_EQ(Pixel(shot, x, y), kBlue) << x << "," << y;
  EXPECT_EQ(Count(shot, kRed), 40 * 20);
}

TEST_F(ViewerPaint, MirroredTilesFlipColumnZeroWhenFlippedAndOddRowsTopToBottom) {
  viewer_->SetBounds(0, 0, 60, 30);
  viewer_->SetTiling(tMirror);
  viewer_->SetFlipHorizontal(true);
  viewer_->AssignPixelGraphic(Quadrants(20, 10).get());
  const host::Image shot = Paint();
  // Four tiles need a left-right mirror only (a copy is made), two need both and one top-bottom
  // only (drawn through reversed rectangles): all paths show the same quadrants.
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) {
      const bool leftRight = (column % 2 == 1) != true;  // FlipHorizontal differs from the odd-column test
      const bool topBottom = row % 2 == 1;
      for (auto [x, y] : {std::pair{2, 2}, {17, 2}, {2, 7}, {17, 7}}) {
        const bool right = (x >= 10) != leftRight, bottom = (y >= 5) != topBottom;
        const std::uint32_t want = bottom ? (right ? kYellow : kBlue) : (right ? kGreen : kRed);
        EXPECT_EQ(Pixel(shot, column * 20 + x, row * 10 + y), want)
            << "tile " << row << "," << column << " at " << x << "," << y;
      }
    }
}

TEST_F(ViewerPaint, RepeatedTilesFillTheAreaAroundACentredBox) {
  viewer_->SetCenter(true);
  viewer_->SetTiling(tRepeat);
  viewer_->AssignPixelGraphic(Quadrants(20, 10).get());
  const host::Image shot = Paint();  // box at (50, 45): tiles reach back to the client's edges
  EXPECT_EQ(Count(shot, kBlue) + Count(shot, kRed) + Count(shot, kGreen) + Count(shot, kYellow), 120 * 100);
  EXPECT_EQ(Pixel(shot, 50, 45), kRed);
  EXPECT_EQ(Pixel(shot, 0, 0), kYellow);  // (-10, -5) of the tile at row -1, column -3
  EXPECT_EQ(Pixel(shot, 119, 99), kRed);
}

TEST_F(ViewerPaint, ATilingWithAnEmptyBoxFillsTheBandsInsteadOfDividingByZero) {
  viewer_->SetStretch(sZoomKAR);
  viewer_->SetZoomFactor(0.001L);
  viewer_->SetTiling(tRepeat);
  viewer_->AssignPixelGraphic(Picture(100, 100).get());
  ASSERT_EQ(viewer_->PicBox()->Width(), 0);
  const host::Image shot = Paint();
  EXPECT_EQ(Count(shot, kBlue), 120 * 100);
}

TEST_F(ViewerPaint, EmptyViewerShowsTheFrameAndClocksOnlyAboveTwentyPixels) {
  viewer_->SetPicBoxColor(static_cast<TColor>(0xFFFFFF));
  viewer_->SetPicBoxFrameColor(static_cast<TColor>(0x00FF00));
  viewer_->SetProgressClockBkColor(static_cast<TColor>(0x00FFFF));  // yellow clocks
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smMedium);
  // A preparation pending (the result is not handled before the capture) shows frame and clocks.
  struct TCase {
    int Size;
    int Clocks;
  };
  for (const TCase c : {TCase{20, 0}, TCase{21, 1}, TCase{100, 1}, TCase{101, 5}}) {
    viewer_->SetBounds(0, 0, c.Size, c.Size);
    viewer_->AssignPixelGraphic(Picture(7, 7).get());
    const host::Image shot = Paint();
    EXPECT_EQ(viewer_->PaintPixelGraphic(), nullptr);
    EXPECT_EQ(Pixel(shot, 0, 0), 0x00FF00u) << c.Size;  // the frame
    EXPECT_EQ(Pixel(shot, 1, c.Size / 2 + 3), kWhite) << c.Size;  // the box's colour inside
    const int yellow = Count(shot, kYellow);
    if (c.Clocks == 0) {
      EXPECT_EQ(yellow, 0) << c.Size;
    } else {
      EXPECT_EQ(yellow % c.Clocks, 0) << c.Size;
      EXPECT_GT(yellow, c.Clocks * 100) << c.Size;
    }
    PumpUntil([&] { return viewer_->PaintPixelGraphic() != nullptr; });
  }
  viewer_->AssignPixelGraphic(nullptr);
  viewer_->SetBounds(0, 0, 120, 100);
  const host::Image empty = Paint();
  EXPECT_EQ(Count(empty, kBlue), 120 * 100);  // a 0 by 0 box: only bands
}

// ---- The paint thread ----------------------------------------------------------------------------

TEST_F(ViewerPaint, OnATrueColourScreenTheFastModeNeverStartsAWorker) {
  TCreatePaintPGThread* initial = viewer_->Worker();
  viewer_->SetStretch(sAlways);
  viewer_->AssignPixelGraphic(Picture(40, 20).get());
  EXPECT_FALSE(viewer_->PreparePaintGraphic());
  Paint();
  PumpMessages();
  EXPECT_EQ(viewer_->Worker(), initial);
  EXPECT_EQ(viewer_->PaintPixelGraphic(), nullptr);
}

TEST_F(ViewerPaint, AMediumStretchIsPreparedAtThePaintBoxSizeAndPainted) {
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smMedium);
  viewer_->AssignPixelGraphic(Quadrants(40, 20).get());
  Paint();
  ASSERT_TRUE(PumpUntil([&] { return viewer_->PaintPixelGraphic() != nullptr; }));
  const TPixelGraphic* prepared = viewer_->PaintPixelGraphic();
  EXPECT_EQ(prepared->GetBitsPerPixel(), 24);
  EXPECT_EQ(W(prepared), 120);
  EXPECT_EQ(H(prepared), 100);
  const host::Image shot = Paint();
  EXPECT_EQ(Pixel(shot, 5, 5), kRed);
  EXPECT_EQ(Pixel(shot, 115, 95), kYellow);
  // Same settings, same box: the prepared image stays.
  Paint();
  PumpMessages();
  EXPECT_EQ(viewer_->PaintPixelGraphic(), prepared);
}

TEST_F(ViewerPaint, AStoppedWorkersQueuedResultIsDroppedNotShown) {
  // With ReduceOnLoad a stale result would even replace the new picture.
  viewer_->SetReduceOnLoad(true);
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smMedium);
  viewer_->AssignPixelGraphic(Picture(40, 20, 0x0000FF).get());
  Paint();
  // Let the worker finish and post without handling its message; then the picture changes.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  viewer_->AssignPixelGraphic(Picture(40, 20, 0x00FF00).get());
  PumpMessages();
  EXPECT_EQ(const_cast<TPixelGraphic*>(viewer_->PixelGraphic())->GetPixelColor(0, 0), static_cast<TColor>(0x00FF00));
  EXPECT_EQ(viewer_->PaintPixelGraphic(), nullptr);
}

TEST_F(ViewerPaint, AWindowMadeAgainDuringAPreparationPreparesAgain) {
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smMedium);
  // The second round keeps the first round's image while its own is prepared.
  const struct {
    bool KeepOld;
    TColor Colour;
    std::uint32_t Shown;
  } rounds[] = {{false, 0x0000FF, kRed}, {true, 0x00FF00, kGreen}};
  for (const auto& round : rounds) {
    SCOPED_TRACE(round.KeepOld ? "keeping the old image" : "without an old image");
    viewer_->SetKeepOldPaintPixelGraphic(round.KeepOld);
    viewer_->AssignPixelGraphic(Picture(40, 20, round.Colour).get());
    Paint();  // the worker posts to this window, which goes before its result is handled
    viewer_->RecreateWnd();
    EXPECT_TRUE(PumpUntil([&] { return Pixel(Paint(), 60, 50) == round.Shown; }));
  }
}

TEST_F(ViewerPaint, ALayoutChangedDuringAReductionKeepsThePicturesSize) {
  viewer_->SetReduceOnLoad(true);
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smMedium);
  viewer_->AssignPixelGraphic(Quadrants(40, 20).get());
  Paint();  // prepares at 120 by 100
  viewer_->SetStretch(sNeverKAR);  // now shown at its own size: nothing to reduce
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  PumpMessages();
  Paint();
  PumpMessages();
  EXPECT_EQ(W(viewer_->PixelGraphic()), 40);
  EXPECT_EQ(H(viewer_->PixelGraphic()), 20);
  EXPECT_EQ(TRectValue(viewer_->PicBox()->BoundsRect()), TRectValue(0, 0, 40, 20));
}

TEST_F(ViewerPaint, KeepOldShowsThePreviousPreparedImageUntilTheNewOneArrives) {
  viewer_->SetKeepOldPaintPixelGraphic(true);
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smMedium);
  viewer_->AssignPixelGraphic(Picture(40, 20, 0x0000FF).get());
  Paint();
  ASSERT_TRUE(PumpUntil([&] { return viewer_->PaintPixelGraphic() != nullptr; }));
  const TPixelGraphic* old = viewer_->PaintPixelGraphic();
  viewer_->AssignPixelGraphic(Picture(40, 20, 0x00FF00).get());
  const host::Image meanwhile = Paint();
  EXPECT_EQ(viewer_->PaintPixelGraphic(), old);
  EXPECT_EQ(Pixel(meanwhile, 60, 50), kRed);  // still the old picture, not the frame
  ASSERT_TRUE(PumpUntil([&] { return viewer_->PaintPixelGraphic() != old; }));
  EXPECT_EQ(Pixel(Paint(), 60, 50), kGreen);
}

TEST_F(ViewerPaint, WithoutThreadThePaintPreparesAtOnceAndReportsProgressDirectly) {
  viewer_->SetUseThread(false);
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smPrecise);
  viewer_->AssignPixelGraphic(Quadrants(400, 200).get());
  const host::Image shot = Paint();
  ASSERT_NE(viewer_->PaintPixelGraphic(), nullptr);
  EXPECT_EQ(W(viewer_->PaintPixelGraphic()), 120);
  EXPECT_EQ(Pixel(shot, 5, 5), kRed);
}

TEST_F(ViewerPaint, ReduceOnLoadAdoptsThePreparedImageAndItsSize) {
  viewer_->SetReduceOnLoad(true);
  viewer_->SetStretch(sShrinkKAR);
  viewer_->SetStretchMode(smMedium);
  viewer_->AssignPixelGraphic(Quadrants(240, 200).get());  // shown at 120 by 100
  Paint();
  ASSERT_TRUE(PumpUntil([&] { return W(viewer_->PixelGraphic()) == 120; }));
  EXPECT_EQ(H(viewer_->PixelGraphic()), 100);
  EXPECT_EQ(viewer_->ImageWidth(), 120);
  EXPECT_EQ(viewer_->ImageHeight(), 100);
  EXPECT_EQ(viewer_->PaintPixelGraphic(), nullptr);
  EXPECT_EQ(TRectValue(viewer_->PicBox()->BoundsRect()), TRectValue(0, 0, 120, 100));
  // Now at its own size: nothing more to prepare.
  EXPECT_FALSE(viewer_->PreparePaintGraphic());
}

TEST_F(ViewerPaint, OnAnEightBitScreenATrueColourPictureGetsAMedianCutPalette) {
  if (!RunWithScreenBits("8", "ViewerPaint.OnAnEightBitScreenATrueColourPictureGetsAMedianCutPalette")) return;
  auto ramp = std::make_unique<TPixelGraphic>();
  ramp->SetSize(40, 64, pgbc24);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 40; ++x) ramp->SetPixelColor(x, y, static_cast<TColor>(RGB(x * 6, y * 4, 255 - y * 4)));
  viewer_->AssignPixelGraphic(ramp.get());
  Paint();
  ASSERT_TRUE(PumpUntil([&] { return viewer_->PaintPixelGraphic() != nullptr; }));
  const TPixelGraphic* prepared = viewer_->PaintPixelGraphic();
  EXPECT_EQ(prepared->GetBitsPerPixel(), 8);
  EXPECT_EQ(W(prepared), 40);  // smFast: the device stretches
  // 236 optimised colours and the 16 system colours, white last.
  EXPECT_EQ(prepared->PaletteCount(), 252);
  EXPECT_EQ(prepared->GetPaletteEntry(251), static_cast<TColor>(0xFFFFFF));
  EXPECT_NE(viewer_->GetPalette(), nullptr);
  // An 8-bit picture whose palette is the chosen one is drawn as it is.
  auto gray = std::make_unique<TPixelGraphic>();
  gray->SetSize(10, 10, pgbc8);
  gray->SetPaletteIdent(pGray256);
  viewer_->SetPalette8BitSys8BitGraphic(pGray256);
  viewer_->AssignPixelGraphic(gray.get());
  EXPECT_FALSE(viewer_->PreparePaintGraphic());
}

TEST_F(ViewerPaint, OnAFourBitScreenEightBitPicturesAreReducedToTheSixteenColours) {
  if (!RunWithScreenBits("4", "ViewerPaint.OnAFourBitScreenEightBitPicturesAreReducedToTheSixteenColours")) return;
  auto gray = std::make_unique<TPixelGraphic>();
  gray->SetSize(10, 10, pgbc8);
  gray->SetPaletteIdent(pGray256);
  viewer_->AssignPixelGraphic(gray.get());
  Paint();
  ASSERT_TRUE(PumpUntil([&] { return viewer_->PaintPixelGraphic() != nullptr; }));
  EXPECT_EQ(viewer_->PaintPixelGraphic()->GetBitsPerPixel(), 4);
  EXPECT_EQ(viewer_->PaintPixelGraphic()->PaletteIdent(), pSys16);
  EXPECT_EQ(viewer_->GetPalette(), nullptr);  // the system colours need no realising
  // A 16-colour picture in the system colours needs nothing.
  auto sys = std::make_unique<TPixelGraphic>();
  sys->SetSize(10, 10, pgbc4);
  sys->SetPaletteIdent(pSys16);
  viewer_->AssignPixelGraphic(sys.get());
  EXPECT_FALSE(viewer_->PreparePaintGraphic());
}

TEST_F(ViewerPaint, AFailingWorkerFreesItsImagesAndReportsNoImage) {
  auto source = Quadrants(40, 20);
  TCreatePaintPGThread worker(false, true);
  worker.Source = source.get();
  worker.Stretched = source.get();
  worker.Target = new TPixelGraphic;
  worker.Target->SetSize(80, 40, pgbc24);
  worker.Target->SetStretchMode(smMedium);
  worker.Target->OnProgress = [](TObject*, int, int, bool&) { throw EOutOfMemory("no room"); };
  worker.PostResults = false;
  bool told = false;
  TPixelGraphic* result = source.get();
  worker.DirectResult = [&](TPixelGraphic* Graphic) { told = true, result = Graphic; };
  worker.RunDirect();
  EXPECT_TRUE(told);
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(worker.Target, nullptr);  // freed (the sanitizers' run would see a leak)
}

TEST_F(ViewerPaint, AfterAFailedPreparationThePictureIsDrawnDirectlyUntilItChanges) {
  viewer_->SetStretch(sAlways);
  viewer_->SetStretchMode(smMedium);
  viewer_->AssignPixelGraphic(Quadrants(40, 20).get());
  Paint();
  ASSERT_TRUE(PumpUntil([&] { return viewer_->PaintPixelGraphic() != nullptr; }));
  viewer_->Perform(WM_USER, 1, 0);  // what a failing worker posts
  EXPECT_TRUE(viewer_->PrepareFailed());
  EXPECT_EQ(viewer_->PaintPixelGraphic(), nullptr);
  EXPECT_FALSE(viewer_->PreparePaintGraphic());
  EXPECT_EQ(Pixel(Paint(), 115, 95), kYellow);  // the device stretched the picture itself
  viewer_->AssignPixelGraphic(Quadrants(40, 20).get());
  EXPECT_FALSE(viewer_->PrepareFailed());
  EXPECT_TRUE(viewer_->PreparePaintGraphic());
}
