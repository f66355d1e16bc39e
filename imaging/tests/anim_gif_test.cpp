// The animated GIF control: parsing into frames, composing them with their disposals and
// transparency, the animation's timing and loops, the stored "Data", and hostile files.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gif_file_writer.h"
#include "imaging/anim_gif.h"
#include "test_pictures.h"
#include "window_fixture.h"

namespace {

const GifColors kColors = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 255, 255, 255};
const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);

std::vector<std::uint8_t> Solid(int w, int h, std::uint8_t index) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h, index);
}

GifFileBuilder& Netscape(GifFileBuilder& b, int loops) {
  b.U8(0x21).U8(0xFF).U8(11);
  for (char c : std::string("NETSCAPE2.0")) b.U8(c);
  return b.U8(3).U8(1).U16(loops).U8(0);
}

class AnimGifTest : public WindowTest {
 protected:
  AnimGifTest() : gif(new TAnimGIF(form_.get())) { gif->SetParent(form_.get()); }

  bool Load(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return gif->LoadFromStream(&stream);
  }
  COLORREF At(int x, int y) { return PixelAt(*gif->Composed(), x, y); }
  bool Masked(int x, int y) { return (RowOf(*gif->ComposedMask(), y)[x / 8] >> (7 - x % 8)) & 1; }

  // Two 4 x 4 frames on an 8 x 4 screen: red on the left, green on the right, 30 ms apart.
  static std::vector<std::uint8_t> TwoFrames(int loops = -1, const char* version = "GIF89a") {
    GifFileBuilder b;
    b.Screen(8, 4, &kColors, 2, 0, 0, version);
    if (loops >= 0) Netscape(b, loops);
    b.GraphicControl(0, 3, 0).Image(0, 0, 4, 4, GifLzwEncode(Solid(4, 4, 1), {2}));
    b.GraphicControl(0, 3, 0).Image(4, 0, 4, 4, GifLzwEncode(Solid(4, 4, 2), {2}));
    return b.Trailer().bytes;
  }

  TAnimGIF* gif;
};

TEST_F(AnimGifTest, ParsesFramesAndComposesTheFirst) {
  ASSERT_TRUE(Load(TwoFrames()));
  EXPECT_FALSE(gif->Empty());
  EXPECT_EQ(gif->FrameCount(), 2);
  EXPECT_EQ(gif->Version(), gvGIF89a);
  EXPECT_EQ(gif->PictureWidth(), 8);
  EXPECT_EQ(gif->PictureHeight(), 4);
  EXPECT_EQ(gif->Frame(2).Left, 4);
  EXPECT_EQ(gif->Frame(2).Delay, 30);
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(4, 0), RGB(0, 0, 0));  // frame 2 is not drawn yet
  EXPECT_EQ(gif->ComposedMask(), nullptr);
  gif->SetCurrentFrame(2);
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(7, 3), kGreen);
  TBitmap first;
  first.Assign(gif);
  EXPECT_EQ(first.Width(), 4);
  EXPECT_EQ(first.PixelFormat(), pf8bit);
  EXPECT_EQ(first.Canvas()->Pixels(1, 1), static_cast<TColor>(kRed));
}

TEST_F(AnimGifTest, ThePictureCoversEveryFrame) {
  GifFileBuilder b;
  b.Screen(2, 2, &kColors, 2).Image(3, 1, 2, 5, GifLzwEncode(Solid(2, 5, 3), {2}));
  ASSERT_TRUE(Load(b.Trailer().bytes));
  EXPECT_EQ(gif->PictureWidth(), 5);
  EXPECT_EQ(gif->PictureHeight(), 6);
  EXPECT_EQ(At(4, 5), kBlue);
}

// Frame 2 over the middle of frame 1, then frame 3 elsewhere: what is left of frame 2's area.
TEST_F(AnimGifTest, DisposalsLeaveRestoreOrClearTheFramesArea) {
  struct Case {
    int disposal;
    COLORREF left;
  };
  const Case cases[] = {{0, kGreen}, {1, kGreen}, {2, RGB(0, 0, 0)}, {3, kRed}, {5, RGB(0, 0, 0)}};
  for (const Case& c : cases) {
    GifFileBuilder b;
    b.Screen(6, 6, &kColors, 2);
    b.GraphicControl(0, 0, 0).Image(0, 0, 6, 6, GifLzwEncode(Solid(6, 6, 1), {2}));
    b.GraphicControl(c.disposal << 2, 0, 0).Image(2, 2, 2, 2, GifLzwEncode(Solid(2, 2, 2), {2}));
    b.GraphicControl(0, 0, 0).Image(0, 0, 1, 1, GifLzwEncode(Solid(1, 1, 3), {2}));
    ASSERT_TRUE(Load(b.Trailer().bytes));
    EXPECT_EQ(gif->Frame(2).Disposal, c.disposal == 5 ? 2 : c.disposal);
    gif->SetCurrentFrame(2);
    EXPECT_EQ(At(2, 2), kGreen);
    gif->SetCurrentFrame(3);
    EXPECT_EQ(At(2, 2), c.left) << "disposal " << c.disposal;
    EXPECT_EQ(At(0, 0), kBlue);
    EXPECT_EQ(At(5, 5), kRed);
  }
}

TEST_F(AnimGifTest, TransparentPixelsShowWhatLiesBelow) {
  GifFileBuilder b;
  b.Screen(4, 1, &kColors, 2);
  b.GraphicControl(1, 0, 0).Image(0, 0, 2, 1, GifLzwEncode({1, 0}, {2}));  // index 0 is transparent
  b.GraphicControl(1, 0, 0).Image(0, 0, 4, 1, GifLzwEncode({0, 2, 0, 3}, {2}));
  ASSERT_TRUE(Load(b.Trailer().bytes));
  ASSERT_TRUE(gif->AnyTransparent());
  ASSERT_NE(gif->ComposedMask(), nullptr);
  EXPECT_FALSE(Masked(0, 0));
  EXPECT_TRUE(Masked(1, 0));
  EXPECT_TRUE(Masked(3, 0));
  gif->SetCurrentFrame(2);
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(1, 0), kGreen);
  EXPECT_EQ(At(2, 0), RGB(0, 0, 0));
  EXPECT_EQ(At(3, 0), kBlue);
  EXPECT_TRUE(Masked(2, 0));
  EXPECT_FALSE(Masked(3, 0));

  // Painted over a yellow ground, the holes show the ground.
  TBitmap ground;
  Paint(ground, 4, 1, [](int, int) { return kYellow; });
  gif->SetBounds(0, 0, 4, 1);
  gif->PaintTo(ground.Canvas()->Handle());
  EXPECT_EQ(PixelAt(ground, 0, 0), kRed);
  EXPECT_EQ(PixelAt(ground, 2, 0), kYellow);
  EXPECT_EQ(PixelAt(ground, 3, 0), kBlue);
}

TEST_F(AnimGifTest, AnOlderFileIsNeverTransparent) {
  GifFileBuilder b;
  b.Screen(2, 1, &kColors, 2, 0, 0, "GIF87a");
  b.GraphicControl(1, 0, 0).Image(0, 0, 2, 1, GifLzwEncode({0, 1}, {2}));
  ASSERT_TRUE(Load(b.Trailer().bytes));
  EXPECT_EQ(gif->Version(), gvGIF87a);
  EXPECT_FALSE(gif->Frame(1).Transparent);
  EXPECT_EQ(gif->ComposedMask(), nullptr);
  EXPECT_EQ(At(1, 0), kRed);
}

TEST_F(AnimGifTest, InterlacedFramesDecodeEveryRow) {
  for (int height : {1, 2, 3, 5, 9}) {
    // Rows in the order of the four passes; row y holds colour y % 4.
    std::vector<std::uint8_t> order;
    for (auto [first, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
      for (int y = first; y < height; y += step) order.insert(order.end(), 3, static_cast<std::uint8_t>(y % 4));
    GifFileBuilder b;
    b.Screen(3, height, &kColors, 2).Image(0, 0, 3, height, GifLzwEncode(order, {2}), true);
    ASSERT_TRUE(Load(b.Trailer().bytes)) << height;
    const COLORREF colours[] = {RGB(0, 0, 0), kRed, kGreen, kBlue};
    for (int y = 0; y < height; ++y) EXPECT_EQ(At(2, y), colours[y % 4]) << "height " << height << " row " << y;
  }
}

TEST_F(AnimGifTest, KeepsTheFirst256Images) {
  GifFileBuilder b;
  b.Screen(1, 1, &kColors, 2);
  for (int i = 0; i < 300; ++i) b.Image(0, 0, 1, 1, GifLzwEncode({static_cast<std::uint8_t>(i % 4)}, {2}));
  ASSERT_TRUE(Load(b.Trailer().bytes));
  EXPECT_EQ(gif->FrameCount(), 256);
  gif->SetFirstImageOnly(true);
  ASSERT_TRUE(Load(b.bytes));
  EXPECT_EQ(gif->FrameCount(), 1);
}

TEST_F(AnimGifTest, DelaysWaitAtLeast50MsScaledBySpeed) {
  struct Case {
    int delay, speed;
    unsigned want;
  };
  const Case cases[] = {{0, 100, 50}, {2, 100, 50}, {2, 200, 25}, {10, 100, 100}, {10, 50, 200}, {0, 10000, 1}};
  for (const Case& c : cases) {
    GifFileBuilder b;
    b.Screen(1, 1, &kColors, 2);
    for (int i = 0; i < 2; ++i) b.GraphicControl(0, c.delay, 0).Image(0, 0, 1, 1, GifLzwEncode({1}, {2}));
    ASSERT_TRUE(Load(b.Trailer().bytes));
    gif->SetSpeed(c.speed);
    gif->SetAnimate(true);
    gif->NextFrame(nullptr);
    EXPECT_EQ(gif->Timer()->Interval(), c.want) << c.delay << " at " << c.speed;
    gif->SetAnimate(false);
  }
  gif->SetSpeed(0);
  EXPECT_EQ(gif->Speed(), 1);
}

TEST_F(AnimGifTest, LoopCountPlaysThatManyPassesUnlessLoopIsOn) {
  struct Case {
    int loops;  // -1: no loop extension
    bool loop;
    int wantWraps;  // within 20 ticks; -1: still running
  };
  const Case cases[] = {{-1, false, 1}, {3, false, 3}, {3, true, -1}, {0, false, -1}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(TwoFrames(c.loops)));
    EXPECT_EQ(gif->LoopCount(), c.loops < 0 ? 1 : c.loops);
    int wraps = 0;
    gif->OnWrapAnimation = [&](TObject*) { ++wraps; };
    gif->SetLoop(c.loop);
    gif->SetAnimate(true);
    for (int tick = 0; tick < 20 && gif->Timer()->Enabled(); ++tick) gif->NextFrame(nullptr);
    if (c.wantWraps < 0) {
      EXPECT_TRUE(gif->Timer()->Enabled()) << c.loops;
    } else {
      EXPECT_FALSE(gif->Timer()->Enabled()) << c.loops;
      EXPECT_EQ(wraps, c.wantWraps) << c.loops;
      EXPECT_EQ(At(7, 3), kGreen) << "stops on the last frame";
    }
    gif->SetAnimate(false);
    gif->SetLoop(false);
    gif->OnWrapAnimation = nullptr;
  }
}

TEST_F(AnimGifTest, TurningLoopOnAfterTheLastPassStartsAgain) {
  ASSERT_TRUE(Load(TwoFrames(1)));
  gif->SetAnimate(true);
  for (int tick = 0; tick < 5; ++tick) gif->NextFrame(nullptr);
  ASSERT_FALSE(gif->Timer()->Enabled());
  gif->SetLoop(true);
  EXPECT_TRUE(gif->Timer()->Enabled());
  EXPECT_EQ(gif->CurrentFrame(), 1);
}

TEST_F(AnimGifTest, AnimatesOnTheTimerAndRepaints) {
  ASSERT_TRUE(Load(TwoFrames(0)));
  int changes = 0;
  gif->OnChange = [&](TObject*) { ++changes; };
  gif->SetAnimate(true);
  form_->Show();
  EXPECT_TRUE(PumpUntil([&] { return changes >= 4; }));
  gif->SetAnimate(false);
  EXPECT_EQ(gif->CurrentFrame(), 1);
}

// The form's client as the screen shows it, 0x00RRGGBB.
std::uint32_t OnScreen(TForm& form, int x, int y) { return CaptureClient(form.Handle()).At(x, y); }

TEST_F(AnimGifTest, AFrameChangeRepaintsTheDrawRectangleThroughTheParentAtOnce) {
  // What the screen shows under frame 2 while the parent paints: with DoubleBuffered the old
  // frame stays until the new one is copied over; without, the erased background shows.
  const std::uint32_t background = Rgb(ColorToRGB(form_->Color()));
  for (const bool buffered : {true, false}) {
    SCOPED_TRACE(buffered ? "double-buffered" : "straight to the screen");
    ASSERT_TRUE(Load(TwoFrames()));
    gif->SetDoubleBuffered(buffered);
    form_->Show();
    ASSERT_TRUE(PumpUntil([&] { return OnScreen(*form_, 0, 0) == Rgb(kRed); }));
    ASSERT_EQ(OnScreen(*form_, 5, 1), 0u);
    // A mark inside the control but outside its picture: no repaint of the draw rectangle touches it.
    HDC dc = GetDC(form_->Handle());
    SetPixel(dc, 50, 50, kYellow);
    ReleaseDC(form_->Handle(), dc);
    std::uint32_t whilePainting = 1;
    form_->OnPaint = [&](TObject*) { whilePainting = OnScreen(*form_, 5, 1); };
    gif->SetCurrentFrame(2);  // no message is handled before the screen shows it
    form_->OnPaint = nullptr;
    EXPECT_EQ(whilePainting, buffered ? 0u : background);
    EXPECT_EQ(OnScreen(*form_, 5, 1), Rgb(kGreen));
    EXPECT_EQ(OnScreen(*form_, 50, 50), Rgb(kYellow));
    form_->Hide();
  }
}

TEST_F(AnimGifTest, TurningStretchOffShowsTheBackgroundAroundThePicture) {
  const std::uint32_t background = Rgb(ColorToRGB(form_->Color()));
  ASSERT_TRUE(Load(TwoFrames()));
  gif->SetStretch(true);
  form_->Show();
  ASSERT_TRUE(PumpUntil([&] { return OnScreen(*form_, 20, 50) == Rgb(kRed); }));
  // The control was opaque when stretched: the paint that finds it no longer so paints again with
  // the background erased.
  gif->SetStretch(false);
  EXPECT_TRUE(PumpUntil([&] { return OnScreen(*form_, 20, 50) == background; }));
  EXPECT_EQ(OnScreen(*form_, 0, 0), Rgb(kRed));
}

TEST_F(AnimGifTest, ThePaletteIsTheCurrentFramesColours) {
  // Two frames with tables of their own: 2 and 4 colours.
  const GifColors first = {200, 120, 40, 10, 20, 30}, second = {1, 2, 3, 4, 5, 6, 7, 8, 9, 250, 240, 230};
  GifFileBuilder b;
  b.Screen(2, 2).Image(0, 0, 2, 2, GifLzwEncode(Solid(2, 2, 1), {2}), false, &first, 0);
  b.Image(0, 0, 2, 2, GifLzwEncode(Solid(2, 2, 3), {2}), false, &second, 1);
  EXPECT_EQ(gif->GetPalette(), nullptr);  // nothing loaded
  ASSERT_TRUE(Load(b.Trailer().bytes));
  const auto entries = [](HPALETTE palette) {
    std::vector<std::uint8_t> rgb;
    PALETTEENTRY e[256];
    const UINT count = GetPaletteEntries(palette, 0, 256, e);
    for (UINT i = 0; i < count; ++i) rgb.insert(rgb.end(), {e[i].peRed, e[i].peGreen, e[i].peBlue});
    return rgb;
  };
  EXPECT_EQ(entries(gif->GetPalette()), first);
  gif->SetCurrentFrame(2);
  EXPECT_EQ(entries(gif->GetPalette()), second);
  gif->SetVisible(false);
  EXPECT_EQ(gif->GetPalette(), nullptr);
}

TEST_F(AnimGifTest, ShowingOrHidingAsksTheFocusedParentToRealiseItsPalette) {
  ASSERT_TRUE(Load(TwoFrames()));
  form_->Show();
  const auto asked = [&] {
    MSG msg;
    bool found = false;
    while (PeekMessageA(&msg, form_->Handle(), WM_QUERYNEWPALETTE, WM_QUERYNEWPALETTE, PM_REMOVE)) found = true;
    return found;
  };
  ::SetFocus(form_->Handle());
  asked();
  gif->SetVisible(false);
  EXPECT_TRUE(asked());
  gif->SetVisible(true);
  EXPECT_TRUE(asked());
  ::SetFocus(nullptr);
  gif->SetVisible(false);
  EXPECT_FALSE(asked());
}

TEST_F(AnimGifTest, HostileFilesFailOrKeepWhatWasDecoded) {
  // Not a GIF; frame of width 0; sizes beyond the picture limit; a frame too big for its data.
  GifFileBuilder notGif;
  notGif.U8('G').U8('I').U8('X').U8('8').U8('9').U8('a');
  EXPECT_FALSE(Load(notGif.bytes));
  GifFileBuilder zero;
  zero.Screen(4, 4, &kColors, 2).Image(0, 0, 0, 4, GifLzwEncode({}, {2}));
  EXPECT_FALSE(Load(zero.Trailer().bytes));
  GifFileBuilder huge;
  huge.Screen(65535, 65535, &kColors, 2).Image(0, 0, 1, 1, GifLzwEncode({1}, {2}));
  EXPECT_FALSE(Load(huge.Trailer().bytes));
  GifFileBuilder far;
  far.Screen(1, 1, &kColors, 2).Image(65535, 65535, 65535, 65535, GifLzwEncode({1}, {2}));
  EXPECT_FALSE(Load(far.Trailer().bytes));
  EXPECT_TRUE(gif->Empty());
  EXPECT_EQ(gif->Data().Size(), 0);

  // A code size the decoder does not take gives no pixels; the file still loads.
  GifFileBuilder wide;
  wide.Screen(2, 1, &kColors, 2).Image(0, 0, 2, 1, {13, 2, 0xFF, 0xFF, 0});
  wide.Image(0, 0, 1, 1, GifLzwEncode({2}, {2}));
  ASSERT_TRUE(Load(wide.Trailer().bytes));
  EXPECT_EQ(gif->FrameCount(), 2);
  EXPECT_EQ(At(1, 0), RGB(0, 0, 0));

  // Data cut short inside the second row: the first row stays, and the scan ends there.
  std::vector<std::uint8_t> rows = Solid(64, 8, 1);
  std::fill(rows.begin() + 64, rows.end(), 2);
  GifFileBuilder cut;
  cut.Screen(64, 8, &kColors, 2).Image(0, 0, 64, 8, GifLzwEncode(rows, {2, true, true, true, 4}));
  std::vector<std::uint8_t> bytes = cut.bytes;
  bytes.resize(bytes.size() - 6);
  ASSERT_TRUE(Load(bytes));
  EXPECT_EQ(At(63, 0), kRed);

  // Unknown extensions are skipped whole.
  GifFileBuilder unknown;
  unknown.Screen(1, 1, &kColors, 2).U8(0x21).U8(0x99).U8(3).U8(',').U8(';').U8('!').U8(0);
  unknown.Image(0, 0, 1, 1, GifLzwEncode({3}, {2}));
  ASSERT_TRUE(Load(unknown.Trailer().bytes));
  EXPECT_EQ(gif->FrameCount(), 1);
  EXPECT_EQ(At(0, 0), kBlue);
}

TEST_F(AnimGifTest, ProgressCanAbortTheLoad) {
  int calls = 0;
  gif->OnProgress = [&](TObject*, int done, int total, int per, bool& keepOn) {
    ++calls;
    EXPECT_LE(done, total);
    EXPECT_EQ(per, total ? 100 * done / total : 0);
    if (calls == 3) keepOn = false;
  };
  EXPECT_FALSE(Load(TwoFrames()));
  EXPECT_TRUE(gif->Empty());
  // A large frame reports rows as it decodes.
  calls = 0;
  int rowsReported = 0;
  gif->OnProgress = [&](TObject*, int, int, int, bool&) { ++rowsReported; };
  GifFileBuilder big;
  big.Screen(400, 300, &kColors, 2).Image(0, 0, 400, 300, GifLzwEncode(Solid(400, 300, 1), {2}));
  ASSERT_TRUE(Load(big.Trailer().bytes));
  EXPECT_GE(rowsReported, 300 / 32);
}

// The stored property's reader and writer, as the form streaming calls them.
class TStoredGif : public TAnimGIF {
 public:
  using TAnimGIF::Loaded;
  using TAnimGIF::ReadData;
  using TAnimGIF::TAnimGIF;
  using TAnimGIF::WriteData;
};

TEST_F(AnimGifTest, DataIsStoredAndAssignCopiesIt) {
  const std::vector<std::uint8_t> file = TwoFrames();
  ASSERT_TRUE(Load(file));
  ASSERT_EQ(gif->Data().Size(), static_cast<std::int64_t>(file.size()));
  auto* written = new TStoredGif(form_.get());
  written->Assign(gif);
  TMemoryStream stored;
  written->WriteData(&stored);
  EXPECT_EQ(stored.Size(), static_cast<std::int64_t>(file.size()) + 4);
  auto* read = new TStoredGif(form_.get());
  stored.SetPosition(0);
  read->ReadData(&stored);
  read->Loaded();
  EXPECT_EQ(read->FrameCount(), 2);
  auto* copy = new TAnimGIF(form_.get());
  copy->Assign(gif);
  EXPECT_EQ(copy->FrameCount(), 2);
  EXPECT_EQ(PixelAt(*copy->Composed(), 0, 0), kRed);
  copy->Assign(nullptr);
  EXPECT_TRUE(copy->Empty());
}

}  // namespace
