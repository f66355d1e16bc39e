// The file controls' glyphs, drawn once per control.
#include "filectrl_glyphs.h"

namespace filectrl {

std::unique_ptr<TBitmap> MakeGlyph(TGlyph Kind, TColor Background) {
  auto b = std::make_unique<TBitmap>();
  b->SetWidth(kGlyphSize);
  b->SetHeight(kGlyphSize);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(Background);
  c->FillRect({0, 0, kGlyphSize, kGlyphSize});
  c->Pen()->SetColor(clBlack);
  switch (Kind) {
    case TGlyph::Program:
      c->Brush()->SetColor(clWhite);
      c->Rectangle(1, 3, 15, 14);
      c->Brush()->SetColor(clNavy);
      c->FillRect({2, 4, 14, 6});
      break;
    case TGlyph::ClosedFolder:
      c->Brush()->SetColor(clYellow);
      c->Rectangle(1, 4, 15, 14);
      c->Rectangle(1, 2, 7, 5);
      break;
    case TGlyph::OpenedFolder: {
      // The folder's back, and its front flap tilted open.
      c->Brush()->SetColor(clYellow);
      c->Rectangle(1, 2, 7, 5);
      c->Rectangle(1, 4, 13, 14);
      c->Brush()->SetColor(clOlive);
      c->Polygon({{1, 13}, {4, 7}, {15, 7}, {12, 13}});
      break;
    }
    case TGlyph::Page:
      c->Brush()->SetColor(clWhite);
      c->Rectangle(3, 1, 13, 15);
      c->FillRect({10, 1, 13, 4});
      c->MoveTo(10, 1);
      c->LineTo(10, 4);
      c->LineTo(13, 4);
      break;
    case TGlyph::FixedDrive:
      c->Brush()->SetColor(clSilver);
      c->Rectangle(1, 6, 15, 12);
      c->Pen()->SetColor(clLime);
      c->MoveTo(3, 9);
      c->LineTo(5, 9);
      break;
  }
  return b;
}

void DrawGlyph(TCanvas* Canvas, TBitmap* Glyph, int Left, const TRect& Rect) {
  const int top = Rect.top + (Rect.bottom - Rect.top - Glyph->Height()) / 2;
  Canvas->BrushCopy({Left, top, Left + Glyph->Width(), top + Glyph->Height()}, Glyph,
                    {0, 0, Glyph->Width(), Glyph->Height()}, Glyph->Canvas()->Pixels(0, Glyph->Height() - 1));
}

}  // namespace filectrl
