// Build-time generator of the three sample logos: 320x400 bitmaps of 8 bits per pixel.
//   make-sample-logos <folder>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "vcl/graphics_images.h"
#include "vcl/streams.h"
#include "win32/machine.h"

namespace {

// Rings of colour around a point, over a vertical fade, with the logo's name in the middle.
void Draw(TBitmap& logo, int r, int g, int b, const std::string& text) {
  TCanvas* c = logo.Canvas();
  for (int y = 0; y < 400; y += 8) {
    const int shade = 40 + y * 160 / 400;
    c->Brush()->SetColor(static_cast<TColor>(RGB(static_cast<BYTE>(r * shade / 255), static_cast<BYTE>(g * shade / 255),
                                                 static_cast<BYTE>(b * shade / 255))));
    c->FillRect({0, y, 320, y + 8});
  }
  c->Brush()->SetStyle(bsClear);
  for (int ring = 0; ring < 6; ++ring) {
    c->Pen()->SetColor(ring % 2 ? clWhite : clYellow);
    c->Pen()->SetWidth(3);
    c->Ellipse(160 - 30 - ring * 18, 170 - 30 - ring * 18, 160 + 30 + ring * 18, 170 + 30 + ring * 18);
  }
  c->Font()->SetName("Arial");
  c->Font()->SetSize(20);
  c->Font()->SetColor(clWhite);
  c->TextOut(160 - c->TextWidth(text) / 2, 330, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-sample-logos <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
  std::filesystem::create_directories(folder);
  const struct {
    const char* name;
    int r, g, b;
    const char* text;
  } logos[] = {
      {"vorrelstart.sys", 40, 120, 255, "Starting"},
      {"vorrelwait.sys", 255, 160, 40, "Please wait"},
      {"vorreldown.sys", 60, 220, 90, "Switch off now"},
  };
  try {
    for (const auto& l : logos) {
      TBitmap logo;
      logo.SetPixelFormat(pf8bit);
      logo.SetWidth(320);
      logo.SetHeight(400);
      Draw(logo, l.r, l.g, l.b, l.text);
      TFileStream out(machine::WindowsPath(folder / l.name), fmCreate);
      logo.SaveToStream(&out);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-sample-logos: %s\n", e.what());
    return 1;
  }
  return 0;
}
