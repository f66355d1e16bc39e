#include "composer/text_style.h"

#include "components/color_shade.h"
#include "graphics/pg_canvas.h"
#include "win32/text.h"

namespace {

constexpr int kBoxLeft = 20;
constexpr int kBoxRight = 620;
constexpr int kBoxBottom = 380;
constexpr UINT kFlags = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;

// The canvas's handle carries its font and its clear brush (a transparent background) to DrawTextA.
HDC PrepareCanvas(TPixelGraphic* Image, const TTextStyle& Style) {
  TCanvas* canvas = Image->GetCanvas();
  TFont* font = canvas->Font();
  font->SetName(Style.FontName);
  font->SetSize(Style.Size);
  TFontStyles styles;
  if (Style.Bold) styles.Include(fsBold);
  if (Style.Italic) styles.Include(fsItalic);
  font->SetStyle(styles);
  canvas->Brush()->SetStyle(bsClear);
  return canvas->Handle();
}

void Draw(HDC dc, const std::string& Text, TColor Color, int Left, int Top, int Right) {
  SetTextColor(dc, ColorToRGB(Color));
  RECT r{Left, Top, Right, kBoxBottom};
  DrawTextA(dc, Text.c_str(), static_cast<int>(Text.size()), &r, kFlags);
}

}  // namespace

int MeasureText(TPixelGraphic* Image, const TTextStyle& Style, const std::string& Text) {
  HDC dc = PrepareCanvas(Image, Style);
  RECT r{kBoxLeft, 0, kBoxRight, kBoxBottom};
  return DrawTextA(dc, Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | kFlags);
}

void DrawTextWithEffect(TPixelGraphic* Image, const TTextStyle& Style, int Top, const std::string& Text) {
  HDC dc = PrepareCanvas(Image, Style);
  switch (Style.Effect) {
    case teNothing: Draw(dc, Text, Style.Color, kBoxLeft, Top, kBoxRight); break;
    case teShadow:
      Draw(dc, Text, Style.ShadowColor, kBoxLeft + 2, Top + 2, kBoxRight + 2);
      Draw(dc, Text, Style.Color, kBoxLeft, Top, kBoxRight);
      break;
    case te3D:
      Draw(dc, Text, ShadeColor(Style.Color, 80), kBoxLeft - 1, Top - 1, kBoxRight - 1);
      Draw(dc, Text, ShadeColor(Style.Color, -80), kBoxLeft + 1, Top + 1, kBoxRight + 1);
      Draw(dc, Text, Style.Color, kBoxLeft, Top, kBoxRight);
      break;
    default: break;
  }
}
