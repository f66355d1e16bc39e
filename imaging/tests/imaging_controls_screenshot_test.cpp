// The image component with its scroll bars and an animating GIF beside it, shown through the
// desktop back end and read back from the X server.
#include <gtest/gtest.h>

#include <string>

#include "gif_file_writer.h"
#include "host/testing/window_screenshot.h"
#include "imaging/anim_gif.h"
#include "imaging/velmora.h"
#include "test_pictures.h"
#include "window_fixture.h"

namespace {

constexpr const char* kShotFile = "imaging_controls_screenshot.ppm";

COLORREF Picture(int x, int y) {
  const int dx = x - 160, dy = y - 200;
  if (dx * dx + dy * dy < 60 * 60) return RGB(230, 40, 40);
  return ((x / 20 + y / 20) % 2) ? RGB(40, 90, 200) : RGB(250, 250, 250);
}

// Four frames of a yellow square walking round a green field.
std::vector<std::uint8_t> WalkingSquare() {
  const GifColors colours = {0, 160, 0, 255, 230, 0};
  GifFileBuilder b;
  b.Screen(64, 64, &colours, 0);
  b.U8(0x21).U8(0xFF).U8(11);
  for (char c : std::string("NETSCAPE2.0")) b.U8(c);
  b.U8(3).U8(1).U16(0).U8(0);
  for (int f = 0; f < 4; ++f) {
    std::vector<std::uint8_t> pixels(64 * 64, 0);
    const int sx = (f == 1 || f == 2) ? 36 : 4, sy = f >= 2 ? 36 : 4;
    for (int y = sy; y < sy + 24; ++y)
      for (int x = sx; x < sx + 24; ++x) pixels[static_cast<std::size_t>(y) * 64 + x] = 1;
    b.GraphicControl(1 << 2, 10, 0).Image(0, 0, 64, 64, GifLzwEncode(pixels, {2}));
  }
  return b.Trailer().bytes;
}

std::string ShowControlsAndCheck() {
  TApplicationScope application;
  std::string faults;
  {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetColor(clBtnFace);
    form.SetBounds(30, 30, 330, 200);
    auto* image = new TVelmora(&form);
    image->SetBounds(8, 8, 200, 180);
    image->SetParent(&form);
    image->SetBackground(clBtnFace);
    Paint(image->Bitmap(), 320, 400, Picture);
    image->SetScrollBars(true);
    image->Update();
    image->SetScroll(60, 110);
    auto* gif = new TAnimGIF(&form);
    gif->SetBounds(240, 8, 64, 64);
    gif->SetParent(&form);
    const std::vector<std::uint8_t> file = WalkingSquare();
    TMemoryStream stream;
    stream.Write(file.data(), static_cast<std::int64_t>(file.size()));
    if (!gif->LoadFromStream(&stream)) return "the GIF did not load";
    gif->SetAnimate(true);
    form.Show();

    RECT frame;
    GetWindowRect(form.Handle(), &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const auto rgb = [](COLORREF c) {
      return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // The square has walked on at least once, and the picture shows its scrolled part.
    int frames = 0;
    gif->OnChange = [&](TObject*) { ++frames; };
    auto expected = [&](const host::Image& shot) {
      return frames >= 3 && shot.At(8 + 100, 8 + 90) == rgb(Picture(160, 200));
    };
    SetTimer(form.Handle(), 1, 30, nullptr);
    const host::Image shot = ShootWhenShown(
        {frame.left, frame.top, width, height},
        [] {
          Application->HandleMessage();
          CheckSynchronize();
        },
        expected, kShotFile);
    KillTimer(form.Handle(), 1);
    if (shot.width != width) return "the X server gave no picture";
    if (shot.At(8 + 100, 8 + 90) != rgb(Picture(160, 200))) faults += "the picture is not scrolled to 60, 110\n";
    if (shot.At(8 + 200 - bar / 2, 8 + 180 - bar / 2) != rgb(face)) faults += "no corner between the bars\n";
    if (shot.At(8 + 3, 8 + 180 - bar + 3) != rgb(face)) faults += "no left arrow of the horizontal bar\n";
    const std::uint32_t field = shot.At(240 + 62, 8 + 62);
    if (field != rgb(RGB(0, 160, 0))) faults += "the GIF's field is not green\n";
    if (frames < 3) faults += "the GIF did not animate\n";
    gif->SetAnimate(false);
  }
  return faults;
}

TEST_F(WindowTest, ImageWithBarsAndAnimatingGifShowThroughTheDesktopBackEnd) {
  ExpectShownUnderX(kShotFile, ShowControlsAndCheck);
}

}  // namespace
