// The background of a graphic button's face: the gradient ramp, the fill styles and the dithered
// look of a latched toggle button.
#include "components/button_background.h"

#include <cmath>

#include "components/graphic_button.h"

namespace {

TBitmap* ditherPattern = nullptr;

}  // namespace

TBitmap* SharedDitherPattern() {
  if (!ditherPattern) {
    auto* pattern = new TBitmap;
    pattern->SetPixelFormat(pf24bit);
    pattern->SetWidth(8);
    pattern->SetHeight(8);
    TCanvas* c = pattern->Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect({0, 0, 8, 8});
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if ((x + y) % 2 == 0) c->SetPixels(x, y, clWhite);
    ditherPattern = pattern;
  }
  return ditherPattern;
}

void FreeSharedDitherPattern() {
  delete ditherPattern;
  ditherPattern = nullptr;
}

// ---- TGradient ------------------------------------------------------------------------------
TGradient::TGradient() { count_ = 128; }

TGradient::~TGradient() { FreeTable(); }

void TGradient::SetStartColor(TColor Value) {
  if (startColor_ == Value) return;
  startColor_ = Value;
  FreeTable();
}

void TGradient::SetEndColor(TColor Value) {
  if (endColor_ == Value) return;
  endColor_ = Value;
  FreeTable();
}

void TGradient::Changed() {
  if (OnChange) OnChange(this);
}

void TGradient::Rebuild() {
  FreeTable();
  if (count_ == 0) return;
  table_.assign(static_cast<size_t>(count_) * 3, 0);
  Compute();
}

void TGradient::Compute() {
  const COLORREF a = ColorToRGB(startColor_), b = ColorToRGB(endColor_);
  const int from[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
  const int to[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
  const long double n = count_;
  for (int i = 0; i < count_; ++i)
    for (int c = 0; c < 3; ++c) {
      const long double step = static_cast<long double>(from[c] - to[c]) / n;
      table_[static_cast<size_t>(i) * 3 + c] =
          static_cast<std::uint8_t>(from[c] - static_cast<int>(std::trunc(step * i)));
    }
}

void TGradient::FreeTable() { table_.clear(); }

TColor TGradient::GetColor(int Index) {
  if (table_.empty()) Rebuild();
  if (Index < 0 || Index > count_ - 1) throw EInvalidIndex("Index out of range");
  const std::uint8_t* e = &table_[static_cast<size_t>(Index) * 3];
  return static_cast<TColor>(RGB(e[0], e[1], e[2]));
}

void TGradient::DrawHorizontal(TCanvas* Canvas, const TRect& Rect) {
  if (table_.empty()) Rebuild();
  const float step = static_cast<float>(static_cast<long double>(Rect.right - Rect.left) / count_);
  const int band = static_cast<int>(std::trunc(step + 1));
  int x = Rect.left;
  for (int i = 0; i < count_; ++i) {
    Canvas->Brush()->SetColor(GetColor(i));
    Canvas->FillRect({x, Rect.top, x + band, Rect.bottom});
    x = static_cast<int>(std::trunc(static_cast<long double>(i + 1) * step)) + Rect.left;
  }
}

void TGradient::DrawVertical(TCanvas* Canvas, const TRect& Rect) {
  if (table_.empty()) Rebuild();
  const float step = static_cast<float>(static_cast<long double>(Rect.bottom - Rect.top) / count_);
  const int band = static_cast<int>(std::trunc(step + 1));
  int y = Rect.top;
  for (int i = 0; i < count_; ++i) {
    Canvas->Brush()->SetColor(GetColor(i));
    Canvas->FillRect({Rect.left, y, Rect.right, y + band});
    y = static_cast<int>(std::trunc(static_cast<long double>(i + 1) * step)) + Rect.top;
  }
}

// ---- ToxBackground --------------------------------------------------------------------------
ToxBackground::ToxBackground(ToxCustomGraphicButton* Face)
    : face_(Face), gradient_(new TGradient), picture_(new TPicture) {}

ToxBackground::~ToxBackground() {
  delete gradient_;
  delete picture_;
}

void ToxBackground::Changed() {
  if (OnChange) OnChange(this);
  if (face_) face_->InvalidateImages();
}

void ToxBackground::SetStyle(ToxBackgroundStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  if (face_) {
    TControlStyle s = face_->ControlStyle();
    if (Value == oxbClear) s.Exclude(csOpaque);
    else
      s.Include(csOpaque);
    face_->SetControlStyle(s);
  }
  Changed();
}

void ToxBackground::SetPicture(TPicture* Value) {
  picture_->Assign(Value);
  Changed();
}

void ToxBackground::SetGradient(TColor Value) {
  if (gradient_->StartColor() == Value) return;
  gradient_->SetStartColor(Value);
  if (face_) face_->InvalidateImages();
}

void ToxBackground::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<ToxBackground*>(Source)) {
    SetDitherDown(other->DitherDown());
    SetStyle(other->Style());
    SetPicture(other->Picture());
    return;
  }
  TPersistent::Assign(Source);
}

void ToxBackground::Paint(TCanvas* Canvas, const TRect& R) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(face_->Color());
  switch (style_) {
    case oxbSolid: Canvas->FillRect(R); break;
    case oxbClear:
      if (face_->ComponentState().Contains(csDesigning)) Canvas->FillRect(R);
      break;
    case oxbPictureClip:
    case oxbPictureStretch:
    case oxbPicturePattern:
      Canvas->FillRect(R);
      PaintPicture(Canvas, R);
      break;
    case oxbGradient:
      gradient_->SetEndColor(face_->Color());
      gradient_->DrawHorizontal(Canvas, R);
      break;
  }
  if (ditherDown_ && face_->Value() && !face_->Hot()) PaintDither(Canvas, {0, 0, face_->Width(), face_->Height()});
}

void ToxBackground::PaintPicture(TCanvas* Canvas, const TRect& R) {
  TGraphic* graphic = picture_->Graphic();
  if (!graphic || graphic->Empty()) return;
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  auto* icon = dynamic_cast<TIcon*>(graphic);
  if (!bitmap && !icon) return;
  const int w = graphic->Width(), h = graphic->Height();
  auto drawAt = [&](const TRect& dest) {
    if (bitmap) Canvas->BrushCopy(dest, bitmap, {0, 0, w, h}, bitmap->TransparentColor());
    else
      DrawIconEx(Canvas->Handle(), dest.left, dest.top, icon->Handle(), dest.right - dest.left, dest.bottom - dest.top,
                 0, nullptr, DI_NORMAL);
  };
  switch (style_) {
    case oxbPictureClip: {
      const int left = R.left + (R.right - R.left - w) / 2, top = R.top + (R.bottom - R.top - h) / 2;
      drawAt({left, top, left + w, top + h});
      break;
    }
    case oxbPictureStretch: drawAt(R); break;
    default:
      for (int x = R.left; x < R.right; x += w)
        for (int y = R.top; y < R.bottom; y += h) drawAt({x, y, x + w, y + h});
      break;
  }
}

void ToxBackground::PaintDither(TCanvas* Canvas, const TRect& R) {
  Canvas->Brush()->SetBitmap(SharedDitherPattern());
  HDC dc = Canvas->Handle();
  Canvas->FillRect({0, 0, 0, 0});  // selects the pattern brush
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const TCopyMode oldCopy = Canvas->CopyMode();
  Canvas->SetCopyMode(cmPatInvert);
  Canvas->CopyRect(R, Canvas, R);
  Canvas->SetCopyMode(cmDstInvert);
  Canvas->CopyRect(R, Canvas, R);
  Canvas->SetCopyMode(oldCopy);
  SetBkMode(dc, oldMode);
  Canvas->Brush()->SetBitmap(nullptr);
}

// ---- Published properties -------------------------------------------------------------------
const TTypeInfo TypeInfo_ToxBackgroundStyle{
    "ToxBackgroundStyle",
    tkEnumeration,
    {"oxbSolid", "oxbClear", "oxbPictureClip", "oxbPictureStretch", "oxbPicturePattern", "oxbGradient"}};

const TClassInfo& TGradient::StaticClassInfo() {
  static const TClassInfo info("TGradient", &TPersistent::StaticClassInfo());
  return info;
}

const TClassInfo& ToxBackground::StaticClassInfo() {
  using C = ToxBackground;
  static const TClassInfo info("ToxBackground", &TPersistent::StaticClassInfo(),
                               {OrdProperty<C>("DitherDown", TypeInfo_Boolean, &C::DitherDown, &C::SetDitherDown, true),
                                OrdProperty<C>("Style", TypeInfo_ToxBackgroundStyle, &C::Style, &C::SetStyle),
                                ObjectProperty<C, TPicture>("Picture", &C::Picture, &C::SetPicture),
                                OrdProperty<C>("Gradient", TypeInfo_TColor, &C::Gradient, &C::SetGradient)});
  return info;
}
