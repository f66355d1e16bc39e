// Frames, bevels and borders on chosen sides.
#include "components/zev_draw.h"

#include <algorithm>

const TTypeInfo TypeInfo_TSides{"TSides", tkSet, {"sdLeft", "sdTop", "sdRight", "sdBottom"}};
const TTypeInfo TypeInfo_TFrameStyle{"TFrameStyle",
                                     tkEnumeration,
                                     {"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                                      "fsButtonUp", "fsStatus", "fsPopup"}};

namespace {

struct TStyleColors {
  TColor OuterTopLeft, OuterBottomRight, InnerTopLeft, InnerBottomRight;
};

enum class TKind { Nothing, OneLine, TwoLines, Etched };

TKind KindOf(TFrameStyle Style) {
  switch (Style) {
    case TFrameStyle::fsNone: return TKind::Nothing;
    case TFrameStyle::fsFlat:
    case TFrameStyle::fsStatus:
    case TFrameStyle::fsPopup: return TKind::OneLine;
    case TFrameStyle::fsLowered:
    case TFrameStyle::fsButtonDown:
    case TFrameStyle::fsRaised:
    case TFrameStyle::fsButtonUp: return TKind::TwoLines;
    case TFrameStyle::fsGroove:
    case TFrameStyle::fsBump: break;
  }
  return TKind::Etched;
}

TStyleColors ColorsOf(TFrameStyle Style) {
  switch (Style) {
    case TFrameStyle::fsFlat: return {clWindowFrame, clWindowFrame, 0, 0};
    case TFrameStyle::fsGroove: return {clBtnShadow, clBtnHighlight, 0, 0};
    case TFrameStyle::fsBump: return {clBtnHighlight, clBtnShadow, 0, 0};
    case TFrameStyle::fsLowered: return {clBtnShadow, clBtnHighlight, clBtnText, clBtnFace};
    case TFrameStyle::fsButtonDown: return {clBtnText, clBtnHighlight, clBtnShadow, clBtnFace};
    case TFrameStyle::fsRaised: return {clBtnFace, clBtnText, clBtnHighlight, clBtnShadow};
    case TFrameStyle::fsButtonUp: return {clBtnHighlight, clBtnText, clBtnFace, clBtnShadow};
    case TFrameStyle::fsStatus: return {clBtnShadow, clBtnHighlight, 0, 0};
    case TFrameStyle::fsPopup: return {clBtnHighlight, clBtnShadow, 0, 0};
    case TFrameStyle::fsNone: break;
  }
  // Values past the table draw as a groove.
  return {clBtnShadow, clBtnHighlight, 0, 0};
}

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2) {
  Canvas->MoveTo(X1, Y1);
  Canvas->LineTo(X2, Y2);
}

}  // namespace

TRect DrawSides(TCanvas* Canvas, const TRect& Rect, TColor TopLeft, TSides Sides, TColor BottomRight) {
  TRect r = Rect;
  Canvas->Pen()->SetColor(TopLeft);
  if (Sides.Contains(sdLeft)) Line(Canvas, Rect.left, Rect.top, Rect.left, Rect.bottom);
  if (Sides.Contains(sdTop)) Line(Canvas, Rect.left, Rect.top, Rect.right, Rect.top);
  Canvas->Pen()->SetColor(BottomRight);
  if (Sides.Contains(sdRight)) Line(Canvas, Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom);
  if (Sides.Contains(sdBottom)) Line(Canvas, Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1);
  if (Sides.Contains(sdLeft)) ++r.left;
  if (Sides.Contains(sdTop)) ++r.top;
  if (Sides.Contains(sdRight)) --r.right;
  if (Sides.Contains(sdBottom)) --r.bottom;
  return r;
}

TRect DrawBevel(TCanvas* Canvas, const TRect& Rect, TColor TopLeft, TSides Sides, int Count, TColor BottomRight) {
  Canvas->Pen()->SetWidth(1);
  TRect r = Rect;
  for (int i = 0; i < Count; ++i) r = DrawSides(Canvas, r, TopLeft, Sides, BottomRight);
  return r;
}

TRect DrawBorder(TCanvas* Canvas, const TRect& Rect, TFrameStyle Style, TSides Sides) {
  const TStyleColors colors = ColorsOf(Style);
  switch (KindOf(Style)) {
    case TKind::Nothing: return Rect;
    case TKind::OneLine: return DrawSides(Canvas, Rect, colors.OuterTopLeft, Sides, colors.OuterBottomRight);
    case TKind::TwoLines: {
      TRect r = DrawBevel(Canvas, Rect, colors.OuterTopLeft, Sides, 1, colors.OuterBottomRight);
      return DrawBevel(Canvas, r, colors.InnerTopLeft, Sides, 1, colors.InnerBottomRight);
    }
    case TKind::Etched: break;
  }
  const TColor b = colors.OuterTopLeft, c = colors.OuterBottomRight;
  const bool left = Sides.Contains(sdLeft), top = Sides.Contains(sdTop);
  const bool right = Sides.Contains(sdRight), bottom = Sides.Contains(sdBottom);
  const TRect& r = Rect;
  // Corner pixels first, so that the two lines of each side meet their neighbours cleanly.
  if (right) Canvas->SetPixels(r.right - 1, r.top, c);
  if (top && !right) Canvas->SetPixels(r.right - 1, r.top, b);
  if (bottom) Canvas->SetPixels(r.left, r.bottom - 1, c);
  if (left && !bottom) Canvas->SetPixels(r.left, r.bottom - 1, b);
  if (top && !left) Canvas->SetPixels(r.left, r.top + 1, c);
  if (left && !top) Canvas->SetPixels(r.left + 1, r.top, c);
  if (bottom && !right) Canvas->SetPixels(r.right - 1, r.bottom - 2, b);
  if (right && !bottom) Canvas->SetPixels(r.right - 2, r.bottom - 1, b);
  DrawSides(Canvas, {r.left + 1, r.top + 1, r.right, r.bottom}, c, Sides, c);
  DrawSides(Canvas, {r.left, r.top, r.right - 1, r.bottom - 1}, b, Sides, b);
  TRect inner = r;
  if (left) inner.left += 2;
  if (top) inner.top += 2;
  if (right) inner.right -= 2;
  if (bottom) inner.bottom -= 2;
  return inner;
}

int FrameWidth(TFrameStyle Style) {
  switch (KindOf(Style)) {
    case TKind::Nothing: return 0;
    case TKind::OneLine: return 1;
    case TKind::TwoLines:
    case TKind::Etched: break;
  }
  return 2;
}

int LineHeight(TFont* Font) {
  HDC dc = GetDC(nullptr);
  TEXTMETRICA system{};
  GetTextMetricsA(dc, &system);
  HGDIOBJ old = SelectObject(dc, Font->Handle());
  TEXTMETRICA own{};
  GetTextMetricsA(dc, &own);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return own.tmHeight + std::min(own.tmHeight, system.tmHeight) / 4;
}

char LastChar(const std::string& S) { return S.empty() ? '\0' : S.back(); }
