// The 3D label: straight, flat-rotated and curved captions with raised, recessed and shadow
// copies.
#include "components/zev_label.h"

#include <cmath>
#include <numbers>

#include "rect_ops.h"

using ZevLabel::TTextStyle;

const TTypeInfo TypeInfo_TZevTextStyle{"TTextStyle", tkEnumeration, {"tsNormal", "tsRaised", "tsRecessed", "tsShadow"}};
const TTypeInfo TypeInfo_TRotation{"TRotation", tkEnumeration, {"roNone", "roFlat", "roCurve"}};
const TTypeInfo TypeInfo_TCenterPoint{"TCenterPoint",
                                      tkEnumeration,
                                      {"cpUpperLeft", "cpUpperCenter", "cpUpperRight", "cpLeftCenter", "cpCenter",
                                       "cpRightCenter", "cpLowerLeft", "cpLowerCenter", "cpLowerRight"}};

namespace {
constexpr double kPi = std::numbers::pi;
constexpr const char* kFallbackFont = "Arial";
}  // namespace

TZevLabel::TZevLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}

bool TZevLabel::IsTrueType() {
  // Asked of the screen: the label may have no parent window (and so no canvas) yet.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

void TZevLabel::SetAngle(int Value) {
  if (!Loading() && Value != 0 && !IsTrueType()) Font()->SetName(kFallbackFont);
  // One turn is added to a negative angle, so one below -360 stays negative.
  const int stored = Value < 0 ? 360 + Value : Value % 360;
  if (stored == angle_) return;
  angle_ = stored;
  if (angle_ != 0) SetAutoSize(false);
  if (rotation_ != roNone) Invalidate();
}

void TZevLabel::SetRotation(TRotation Value) {
  if (Value == rotation_) return;
  if (!Loading() && Value != roNone && !IsTrueType()) Font()->SetName(kFallbackFont);
  rotation_ = Value;
  if (Value == roFlat) centerPoint_ = cpCenter;
  Invalidate();
}

void TZevLabel::SetCenterPoint(TCenterPoint Value) {
  if (centerPoint_ == Value) return;
  centerPoint_ = Value;
  Invalidate();
}

void TZevLabel::SetFlyByColor(TColor Value) {
  if (flyByColor_ == Value) return;
  flyByColor_ = Value;
  Invalidate();
}

void TZevLabel::SetFlyByEnabled(bool Value) {
  if (flyByEnabled_ == Value) return;
  flyByEnabled_ = Value;
  if (!Value && flying_) {
    Font()->SetColor(savedColor_);
    flying_ = false;
  }
  Invalidate();
}

void TZevLabel::SetLightTextStyle(bool Value) {
  if (lightTextStyle_ == Value) return;
  lightTextStyle_ = Value;
  Invalidate();
}

void TZevLabel::SetHighlightColor(TColor Value) {
  if (highlightColor_ == Value) return;
  highlightColor_ = Value;
  Invalidate();
}

void TZevLabel::SetShadowColor(TColor Value) {
  if (shadowColor_ == Value) return;
  shadowColor_ = Value;
  Invalidate();
}

void TZevLabel::SetShadowDepth(int Value) {
  if (shadowDepth_ == Value) return;
  shadowDepth_ = Value;
  Invalidate();
}

void TZevLabel::SetTextStyle(TTextStyle Value) {
  if (textStyle_ == Value) return;
  textStyle_ = Value;
  Invalidate();
}

void TZevLabel::Loaded() {
  // The inherited part hands on the parent's font; that is still part of loading.
  finishingLoad_ = true;
  TCustomLabel::Loaded();
  finishingLoad_ = false;
  if (rotation_ == roNone && angle_ != 0) rotation_ = roFlat;
  if (rotation_ != roNone && !IsTrueType()) Font()->SetName(kFallbackFont);
}

void TZevLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FONTCHANGED:
      TCustomLabel::WndProc(Message);
      if (!Loading() && angle_ != 0 && !IsTrueType()) angle_ = 0;
      return;
    case CM_TEXTCHANGED:
      TCustomLabel::WndProc(Message);
      Invalidate();
      return;
    case CM_MOUSEENTER:
      TCustomLabel::WndProc(Message);
      if (flyByEnabled_ && !flying_) {
        savedColor_ = Font()->Color();
        flying_ = true;
        Font()->SetColor(flyByColor_);
      }
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TCustomLabel::WndProc(Message);
      if (flyByEnabled_ && flying_) {
        flying_ = false;
        Font()->SetColor(savedColor_);
      }
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    default: TCustomLabel::WndProc(Message);
  }
}

std::vector<TZevLabel::TCopy> TZevLabel::Copies(bool MoveRightAlignedShadowDown) {
  switch (textStyle_) {
    case TTextStyle::tsNormal: return {};
    case TTextStyle::tsRaised:
      if (lightTextStyle_) return {{-1, -1, highlightColor_}};
      return {{1, 1, shadowColor_}, {-1, -1, highlightColor_}};
    case TTextStyle::tsRecessed:
      if (lightTextStyle_) return {{1, 1, highlightColor_}};
      return {{1, 1, highlightColor_}, {-1, -1, shadowColor_}};
    case TTextStyle::tsShadow: return {{MoveRightAlignedShadowDown ? 0 : shadowDepth_, shadowDepth_, shadowColor_}};
  }
  return {};
}

HFONT TZevLabel::MakeRotatedFont(int Tenths) {
  TFont* f = Font();
  const TFontStyles style = f->Style();
  const DWORD pitch = f->Pitch() == fpFixed ? FIXED_PITCH : f->Pitch() == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
  return CreateFontA(f->Height(), 0, Tenths, 0, style.Contains(fsBold) ? FW_BOLD : FW_NORMAL, style.Contains(fsItalic),
                     style.Contains(fsUnderline), style.Contains(fsStrikeOut), DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, f->Name().c_str());
}

TPoint TZevLabel::RotationCentre() {
  const int w = Width(), h = Height();
  if (rotation_ == roFlat) return {w / 2, h / 2};
  const int column = static_cast<int>(centerPoint_) % 3, row = static_cast<int>(centerPoint_) / 3;
  const int xs[] = {0, w / 2, w}, ys[] = {0, h / 2, h};
  return {xs[column], ys[row]};
}

void TZevLabel::RadiiOf(int& Rx, int& Ry) {
  const int w = Width(), h = Height();
  switch (centerPoint_) {
    case cpUpperCenter:
    case cpLowerCenter:
      Rx = w / 2;
      Ry = h;
      return;
    case cpLeftCenter:
    case cpRightCenter:
      Rx = w;
      Ry = h / 2;
      return;
    case cpCenter:
      Rx = w / 2;
      Ry = h / 2;
      return;
    default:
      Rx = w;
      Ry = h;
      return;
  }
}

void TZevLabel::Outline(HDC DC, int X, int Y, const std::string& Text, const std::vector<TCopy>& CopyList,
                        const RECT* Clip) {
  const UINT options = Clip ? ETO_CLIPPED : 0;
  const auto length = static_cast<UINT>(Text.size());
  for (const TCopy& copy : CopyList) {
    SetTextColor(DC, ColorToRGB(copy.Color));
    ExtTextOutA(DC, X + copy.Dx, Y + copy.Dy, options, Clip, Text.c_str(), length, nullptr);
  }
  SetTextColor(DC, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  ExtTextOutA(DC, X, Y, options, Clip, Text.c_str(), length, nullptr);
}

void TZevLabel::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
  }
  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  if (rotation_ == roCurve) DrawCurved();
  else if (rotation_ == roFlat)
    DrawFlat();
  else
    DrawStraight();
}

void TZevLabel::DrawStraight() {
  TCanvas* c = Canvas();
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const UINT format = kAlign[Alignment()] | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0) |
                      (ShowAccelChar() ? 0 : DT_NOPREFIX);
  const std::string text = Caption();
  const bool right = Alignment() == taRightJustify;
  RECT base = ClientRect();
  if (right) rect_ops::Offset(base, -shadowDepth_, 0);
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  for (const TCopy& copy : Copies(right)) {
    RECT r = base;
    rect_ops::Offset(r, copy.Dx, copy.Dy);
    SetTextColor(dc, ColorToRGB(copy.Color));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  }
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  RECT r = base;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

void TZevLabel::DrawFlat() {
  TCanvas* c = Canvas();
  const std::string text = Caption();
  const int tw = c->TextWidth(text), h = c->TextHeight("Pp");
  const int cw = ClientWidth(), ch = ClientHeight();
  const int s = textStyle_ == TTextStyle::tsShadow ? shadowDepth_ : 0;
  const double a = angle_ * kPi / 180 + kPi / 2;
  const int shift = static_cast<int>(std::lround(std::cos(a) * h / 4));
  TPoint p = RotationCentre();
  UINT align = TA_BASELINE;
  const TAlignment how = Alignment();
  switch (angle_) {
    case 0:
      if (how == taCenter) align = TA_CENTER | TA_TOP;
      else
        align = TA_LEFT | TA_TOP;
      if (how == taLeftJustify) p.x = s;
      if (how == taRightJustify) p.x = cw - tw - s;
      p.y -= h / 2;
      break;
    case 90:
      p.x -= shift;
      p.y = how == taCenter ? ch - (ch - tw) / 2 : how == taRightJustify ? tw + s : ch - s;
      break;
    case 180:
      p.x = how == taCenter ? cw - (cw - tw) / 2 : how == taRightJustify ? tw : cw - s;
      p.y -= h / 4;
      break;
    case 270:
      p.x -= shift;
      p.y = how == taCenter ? (ch - tw) / 2 : how == taRightJustify ? ch - tw - s : s;
      break;
    default:
      p.x -= shift;
      p.y += static_cast<int>(std::lround(std::sin(a) * h / 4));
      align = TA_CENTER | TA_BASELINE;
      break;
  }
  HDC dc = c->Handle();
  HFONT rotated = MakeRotatedFont(angle_ * 10);
  HGDIOBJ old = SelectObject(dc, rotated);
  SetBkMode(dc, TRANSPARENT);
  const UINT oldAlign = SetTextAlign(dc, align);
  const RECT clip = ClientRect();
  Outline(dc, p.x, p.y, text, Copies(false), &clip);
  SetTextAlign(dc, oldAlign);
  SelectObject(dc, old);
  DeleteObject(rotated);
}

void TZevLabel::DrawCurved() {
  int rx = 0, ry = 0;
  RadiiOf(rx, ry);
  // The step along the curve divides by the horizontal radius: nothing to lay out without one.
  if (rx < 1) return;
  TCanvas* c = Canvas();
  const std::string text = Caption();
  const int H = c->TextHeight("Yy");
  const int step = c->TextWidth("w") + 2;
  const TPoint centre = RotationCentre();
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  const UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
  const std::vector<TCopy> copies = Copies(false);
  double t = angle_ * kPi / 180;
  for (char ch : text) {
    const int x = centre.x - static_cast<int>(std::lround(std::sin(t) * (rx - H)));
    const int y = centre.y - static_cast<int>(std::lround(std::cos(t) * (ry - H)));
    HFONT rotated = MakeRotatedFont(static_cast<int>(std::lround(t * 1800 / kPi)));
    HGDIOBJ old = SelectObject(dc, rotated);
    Outline(dc, x, y, std::string(1, ch), copies, nullptr);
    SelectObject(dc, old);
    DeleteObject(rotated);
    t -= static_cast<double>(step) / rx;
  }
  SetTextAlign(dc, oldAlign);
}

const TClassInfo& TZevLabel::StaticClassInfo() {
  using C = TZevLabel;
  static const TClassInfo info(
      "TZevLabel", &TCustomLabel::StaticClassInfo(),
      {OrdProperty<C>("Angle", TypeInfo_Integer, &C::Angle, &C::SetAngle, 0),
       OrdProperty<C>("CenterPoint", TypeInfo_TCenterPoint, &C::CenterPoint, &C::SetCenterPoint, cpCenter),
       OrdProperty<C>("FlyByColor", TypeInfo_TColor, &C::FlyByColor, &C::SetFlyByColor, clHighlight),
       OrdProperty<C>("FlyByEnabled", TypeInfo_Boolean, &C::FlyByEnabled, &C::SetFlyByEnabled, false),
       OrdProperty<C>("LightTextStyle", TypeInfo_Boolean, &C::LightTextStyle, &C::SetLightTextStyle, false),
       OrdProperty<C>("Rotation", TypeInfo_TRotation, &C::Rotation, &C::SetRotation, roNone),
       OrdProperty<C>("HighlightColor", TypeInfo_TColor, &C::HighlightColor, &C::SetHighlightColor, clBtnHighlight),
       OrdProperty<C>("ShadowColor", TypeInfo_TColor, &C::ShadowColor, &C::SetShadowColor, clBtnShadow),
       OrdProperty<C>("ShadowDepth", TypeInfo_Integer, &C::ShadowDepth, &C::SetShadowDepth, 2),
       OrdProperty<C>("TextStyle", TypeInfo_TZevTextStyle, &C::TextStyle, &C::SetTextStyle,
                      static_cast<int>(TTextStyle::tsRecessed)),
       EventProperty<C>("OnMouseEnter", TypeInfo_TNotifyEvent, &C::OnMouseEnter),
       EventProperty<C>("OnMouseLeave", TypeInfo_TNotifyEvent, &C::OnMouseLeave)},
      {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool zevLabelRegistered = (RegisterClass(TZevLabel::StaticClassInfo()), true);
