// Painting the face of a graphic button: the image cache, the picture with its mask, shadow and
// emboss, the caption's layout, 3-D effects and rotation, the bevels and the focus rectangle.
#include <string>

#include "caption_breaks.h"
#include "components/graphic_button.h"
#include "vcl/extctrls.h"

namespace {

constexpr size_t kMaxDrawnCaption = 255;

// Selects a font into a device context for the life of the object.
class TSelectedFont {
 public:
  TSelectedFont(HDC dc, HFONT font, bool owned) : dc_(dc), font_(font), owned_(owned) { old_ = SelectObject(dc, font); }
  ~TSelectedFont() {
    SelectObject(dc_, old_);
    if (owned_) DeleteObject(font_);
  }
  TSelectedFont(const TSelectedFont&) = delete;
  TSelectedFont& operator=(const TSelectedFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  bool owned_;
  HGDIOBJ old_;
};

// A line along the left and top edges of R: (Left, Bottom - 1) to (Left, Top) to (Right, Top).
void LeftTopLine(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Polyline({{R.left, R.bottom - 1}, {R.left, R.top}, {R.right, R.top}});
}

constexpr TColor kFace = clBtnFace, kShadow = clBtnShadow, kLight = clBtnHighlight, kFrame = clWindowFrame;

// A bevel drawn as rings from the client rectangle's edge inwards, one method per style.
struct TBevelRings {
  TCanvas* canvas;
  TRect r;  // inside the rings drawn so far
  bool pressed;  // held down, or a toggle that is down
  bool defaultFrame;  // the default button's extra dark frame: focused or the dialog's default

  void Ring(TColor Top, TColor Bottom, int Width = 1) { Frame3D(canvas, r, Top, Bottom, Width); }

  void Win31(bool Selected) {
    Ring(kFrame, kFrame, defaultFrame ? 2 : 1);
    if (!pressed) {
      Ring(kLight, kShadow, 2);
      return;
    }
    LeftTopLine(canvas, r, kShadow);
    if (Selected) LeftTopLine(canvas, {r.left + 1, r.top + 1, r.right, r.bottom}, kShadow);
  }
  void Win95() {
    if (!pressed && !defaultFrame) {
      Ring(kLight, kFrame);
      Ring(kFace, kShadow);
    } else if (!pressed) {
      Ring(kFrame, kFrame);
      Ring(kLight, kFrame);
      Ring(kFace, kShadow);
    } else if (!defaultFrame) {
      Ring(kFrame, kLight);
      Ring(kShadow, kFace);
    } else {
      Ring(kFrame, kFrame);
      Ring(kShadow, kShadow);
    }
  }
  void Inset() {
    Ring(kShadow, kLight);
    Ring(kFrame, kFrame);
    if (!pressed) Ring(kLight, defaultFrame ? kFrame : kShadow);
    else
      LeftTopLine(canvas, r, kShadow);
  }
  void Ambrel() {
    if (!pressed) {
      Ring(kShadow, kFrame);
      Ring(kLight, defaultFrame ? kFrame : kShadow);
    } else {
      Ring(kShadow, kLight);
      Ring(kFrame, kShadow);
    }
  }
  void Speed() {
    if (!pressed) {
      Ring(kLight, kFrame);
      Ring(kFace, kShadow);
    } else {
      Ring(kFrame, kLight);
      Ring(kShadow, kFace);
    }
  }
  // Flat until the mouse is over it (Lit); a grey outline in the designer.
  void Win97(bool Enabled, bool Lit, bool Designing) {
    if (!pressed && defaultFrame && Enabled) {
      Ring(kFrame, kFrame);
      Ring(kLight, kShadow);
    } else if (!pressed) {
      if (Lit && Enabled) Ring(kLight, kShadow);
      else if (Designing)
        Ring(clGray, clGray);
    } else if (!defaultFrame) {
      Ring(kShadow, kLight);
    } else {
      Ring(kFrame, kFrame);
      Ring(kShadow, kShadow);
    }
  }
};

}  // namespace

void ToxCustomGraphicButton::Paint() {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = drawState_ == dsPressed ? ODS_SELECTED : 0;
  item.hDC = Canvas()->Handle();
  item.rcItem = ClientRect();
  Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
}

void ToxCustomGraphicButton::DrawItem(bool Selected) {
  const bool hotStyle = style_ == ToxBtnStyle::bsWin97 || style_ == ToxBtnStyle::bsBorderless ||
                        style_ == ToxBtnStyle::bsShaped;
  int slot = slUp;
  if (!Enabled()) slot = slDisabled;
  else if (Selected)
    slot = slPressed;
  else if (focused_)
    slot = slFocused;
  else if (active_)
    slot = slActive;
  else if (hot_ && hotStyle)
    slot = slHot;

  const int w = TControl::Width(), h = TControl::Height();
  if (w <= 0 || h <= 0) return;
  const bool clear = background_->Style() == oxbClear;
  const bool cached = options_.Contains(oxbCacheImages) && cache_ && !IsDesigning() && !clear;
  HDC face = Canvas()->Handle();
  if (cached && (validSlots_ & (1u << slot))) {
    BitBlt(face, 0, 0, w, h, cache_->Canvas()->Handle(), slot * w, 0, SRCCOPY);
    return;
  }
  if (clear) {
    PaintFace(Canvas(), Selected, slot);
    return;
  }
  TBitmap image;
  image.SetWidth(w);
  image.SetHeight(h);
  PaintFace(image.Canvas(), Selected, slot);
  if (!cached) {
    BitBlt(face, 0, 0, w, h, image.Canvas()->Handle(), 0, 0, SRCCOPY);
    return;
  }
  BitBlt(cache_->Canvas()->Handle(), slot * w, 0, w, h, image.Canvas()->Handle(), 0, 0, SRCCOPY);
  BitBlt(face, 0, 0, w, h, cache_->Canvas()->Handle(), slot * w, 0, SRCCOPY);
}

void ToxCustomGraphicButton::PaintFace(TCanvas* Canvas, bool Selected, int Slot) {
  ++fullPaints_;
  const int w = TControl::Width(), h = TControl::Height();
  TPicture* picture = CurrentPicture(Selected);
  BuildMask(picture);
  PlacePicture(picture);

  background_->Paint(Canvas, {0, 0, w, h});

  const bool designing = IsDesigning();
  if (designing && GetKeyState(VK_RBUTTON) < 0) {
    Canvas->DrawFocusRect({w / 2 - 4, 0, w / 2 + 4, h});
    Canvas->DrawFocusRect({0, h / 2 - 4, w, h / 2 + 4});
  }

  if (Enabled()) DrawShadowOrEmboss(Canvas, picture, Selected);
  else if (pictureDisabled_->Height() < 2)
    DrawShadowOrEmboss(Canvas, picture, Selected);
  else
    DrawPicture(Canvas, pictureDisabled_, Selected);

  {
    // The caption's font stays selected for its layout, focus rectangle and drawing.
    TFont font;
    font.Assign(Font());
    if (focusStyle_.Contains(fsBoldFont)) font.SetStyle(focused_ || active_ ? TFontStyles{fsBold} : TFontStyles{});
    HDC dc = Canvas->Handle();
    HFONT handle = font.Handle();
    bool owned = false;
    if (textAngle_ != 0) {
      LOGFONTA lf{};
      GetObjectA(handle, sizeof lf, &lf);
      lf.lfEscapement = textAngle_ * 10;
      lf.lfOrientation = textAngle_ * 10;
      lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
      lf.lfQuality = PROOF_QUALITY;
      handle = CreateFontIndirectA(&lf);
      owned = true;
    }
    // Raw calls from here on: the canvas does not know this font.
    TSelectedFont selected(dc, handle, owned);
    LayoutCaption(dc, Selected);
    if (designing) {
      auto* grey = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
      if (!Caption().empty()) FrameRect(dc, &captionRect_, grey);
      FrameRect(dc, &pictureRect_, grey);
    }
    if (focused_) DrawFocus(dc, Selected);
    DrawCaption(dc, Selected);
  }
  Canvas->Refresh();

  DrawBevel(Canvas, Selected);
  if (Enabled()) DrawPicture(Canvas, picture, Selected);

  FreeMask();
  validSlots_ |= 1u << Slot;
}

// ---- Picture --------------------------------------------------------------------------------
TPicture* ToxCustomGraphicButton::CurrentPicture(bool Selected) {
  TPicture* picture = (Selected || value_) && pictureDown_->Height() >= 2 ? pictureDown_ : pictureUp_;
  if (!Enabled() && pictureDisabled_->Height() > 1) picture = pictureDisabled_;
  return picture;
}

namespace {

bool SmallIcon(ToxbOptions Options, TPicture* Picture) {
  return Options.Contains(oxbSmallIcons) && dynamic_cast<TIcon*>(Picture->Graphic());
}

}  // namespace

void ToxCustomGraphicButton::PlacePicture(TPicture* Picture) {
  const bool small = SmallIcon(options_, Picture);
  const int pw = small ? 16 : Picture->Width(), ph = small ? 16 : Picture->Height();
  const int cw = ClientWidth(), ch = ClientHeight();
  auto place = [](int offset, int client, int size) {
    if (offset == 0) return (client - size) / 2;
    return offset > 0 ? offset : client - size + offset;
  };
  const int x = place(pictureX_, cw, pw), y = place(pictureY_, ch, ph);
  pictureRect_ = {x, y, x + pw, y + ph};
}

// One bit per pixel: 0 where the picture is opaque, 1 where it is transparent.
struct ToxCustomGraphicButton::TMask {
  TMask(int AWidth, int AHeight)
      : Width(AWidth),
        Height(AHeight),
        DC(CreateCompatibleDC(nullptr)),
        Bitmap(CreateBitmap(AWidth, AHeight, 1, 1, nullptr)) {
    Old = SelectObject(DC, Bitmap);
  }
  ~TMask() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  TMask(const TMask&) = delete;
  TMask& operator=(const TMask&) = delete;

  int Width, Height;
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
};

void ToxCustomGraphicButton::FreeMask() {
  delete mask_;
  mask_ = nullptr;
}

void ToxCustomGraphicButton::BuildMask(TPicture* Picture) {
  FreeMask();
  TGraphic* graphic = Picture->Graphic();
  if (!graphic || graphic->Empty()) return;
  const bool small = SmallIcon(options_, Picture);
  const int pw = small ? 16 : graphic->Width(), ph = small ? 16 : graphic->Height();
  if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
    // A colour copied into one bit per pixel gives 1 where it is the source's background colour.
    mask_ = new TMask(pw, ph);
    HDC source = bitmap->Canvas()->Handle();
    const COLORREF oldBack = SetBkColor(source, ColorToRGB(bitmap->TransparentColor()));
    BitBlt(mask_->DC, 0, 0, pw, ph, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
  } else if (auto* icon = dynamic_cast<TIcon*>(graphic)) {
    // The icon over white; what stays white is transparent.
    TBitmap image;
    image.SetWidth(pw);
    image.SetHeight(ph);
    image.Canvas()->Brush()->SetColor(clWhite);
    image.Canvas()->FillRect({0, 0, pw, ph});
    HDC source = image.Canvas()->Handle();
    DrawIconEx(source, 0, 0, icon->Handle(), pw, ph, 0, nullptr, DI_NORMAL);
    mask_ = new TMask(pw, ph);
    const COLORREF oldBack = SetBkColor(source, RGB(255, 255, 255));
    BitBlt(mask_->DC, 0, 0, pw, ph, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
  }
}

void ToxCustomGraphicButton::Silhouette(TCanvas* Canvas, int X, int Y, TColor Color) {
  if (!mask_) return;
  HDC dc = Canvas->Handle();
  const int w = mask_->Width, h = mask_->Height;
  // Mask bits draw in the destination's text colour (0) and background colour (1).
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0)), oldBack = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, X, Y, w, h, mask_->DC, 0, 0, SRCAND);
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, ColorToRGB(Color));
  BitBlt(dc, X, Y, w, h, mask_->DC, 0, 0, SRCPAINT);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

void ToxCustomGraphicButton::DrawShadowOrEmboss(TCanvas* Canvas, TPicture*, bool Selected) {
  if (!mask_) return;
  const int x = pictureRect_.left, y = pictureRect_.top;
  if (Enabled()) {
    if (style_ == ToxBtnStyle::bsShaped || shadowColor_ == Color()) return;
    const bool borderless = style_ == ToxBtnStyle::bsBorderless;
    const int d = Selected && !borderless ? 4 : value_ && !borderless ? 3 : 2;
    Silhouette(Canvas, x + d, y + d, shadowColor_);
    return;
  }
  const int b = Selected ? 2 : value_ ? 1 : 0;
  Silhouette(Canvas, x + b + 1, y + b + 1, clBtnHighlight);
  Silhouette(Canvas, x + b - 1, y + b - 1, clBtnShadow);
  Silhouette(Canvas, x + b, y + b, Color());
}

void ToxCustomGraphicButton::DrawPicture(TCanvas* Canvas, TPicture* Picture, bool Selected) {
  if (Picture->Height() < 2) return;
  int x = pictureRect_.left, y = pictureRect_.top;
  const bool plain = shadowColor_ == Color();
  if (Selected && plain) {
    x += 2, y += 2;
  } else if (value_ && plain) {
    x += 1, y += 1;
  } else if (style_ == ToxBtnStyle::bsBorderless) {
    if (hot_) x -= 1, y -= 1;
    if (Selected) x += 2, y += 2;
    else if (value_)
      x += 1, y += 1;
  } else if (style_ == ToxBtnStyle::bsShaped) {
    int e = 1;
    if (Selected || value_) x += 1, y += 1, e = -1;
    if (hot_ || value_ || focused_ || IsDesigning()) {
      Silhouette(Canvas, x + e, y + e, clBtnShadow);
      Silhouette(Canvas, x - e, y - e, clBtnHighlight);
    }
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Picture->Graphic())) {
    if (!bitmap->Transparent()) {
      // Drawing transparently is not a change of the button's picture.
      TNotifyEvent changed = bitmap->OnChange;
      bitmap->OnChange = nullptr;
      bitmap->SetTransparent(true);
      bitmap->OnChange = changed;
    }
    Canvas->Draw(x, y, bitmap);
  } else if (auto* icon = dynamic_cast<TIcon*>(Picture->Graphic())) {
    if (options_.Contains(oxbSmallIcons))
      DrawIconEx(Canvas->Handle(), x, y, icon->Handle(), 16, 16, 0, nullptr, DI_NORMAL);
    else
      Canvas->Draw(x, y, icon);
  }
}

// ---- Caption --------------------------------------------------------------------------------
std::string ToxCustomGraphicButton::DrawnCaption() {
  std::string caption = Caption().substr(0, kMaxDrawnCaption);
  return multiLine_ ? BarsToLineBreaks(caption) : caption;
}

UINT ToxCustomGraphicButton::CaptionFormat() const {
  if (textAngle_ != 0) return DT_LEFT | DT_TOP;
  if (!multiLine_) return DT_CENTER | DT_SINGLELINE;
  return DT_WORDBREAK | (textX_ > 0 ? DT_LEFT : textX_ < 0 ? DT_RIGHT : DT_CENTER);
}

void ToxCustomGraphicButton::LayoutCaption(HDC DC, bool Selected) {
  if (Caption().empty()) {
    captionRect_ = {0, 0, 0, 0};
    return;
  }
  TRect r = ClientRect();
  const bool shadow = font3D_ == ToxFont3D::fsShadow;
  const int shift = Selected && !shadow ? 2 : value_ && !shadow ? 1 : 0;
  r = {r.left + shift, r.top + shift, r.right + shift, r.bottom + shift};
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  TRect m = r;
  if (textAngle_ == 0 && multiLine_) m.right += textX_ > 0 ? -textX_ : textX_ < 0 ? textX_ : -2;
  const std::string caption = DrawnCaption();
  DrawTextA(DC, caption.c_str(), -1, &m, CaptionFormat() | DT_CALCRECT);
  if (textAngle_ != 0) m.right = m.bottom;
  m.right += 4;
  m.bottom += 2;
  const int w = m.right, h = m.bottom;
  auto move = [](int offset, int length, int size) {
    if (offset == 0) return (length - size) / 2;
    return offset < 0 ? offset + length - size : offset;
  };
  const int dx = move(textX_, rw, w), dy = move(textY_, rh, h);
  captionRect_ = {m.left + dx, m.top + dy, m.right + dx, m.bottom + dy};
}

void ToxCustomGraphicButton::DrawCaption(HDC DC, bool Selected) {
  if (Caption().empty()) return;
  const TColor color = Enabled() ? Font()->Color() : clGray;
  const ToxFont3D effect = Enabled() ? font3D_ : ToxFont3D::fsInset;
  struct TLayer {
    TColor Color;
    int Dx, Dy;
  };
  std::vector<TLayer> layers;
  const int s = Selected ? 4 : 2;
  switch (effect) {
    case ToxFont3D::fsNone: return;
    case ToxFont3D::fsNormal: layers = {{color, 0, 0}}; break;
    case ToxFont3D::fsRaised: layers = {{clBtnHighlight, -1, -1}, {color, 0, 0}}; break;
    case ToxFont3D::fsInset: layers = {{clBtnHighlight, 1, 1}, {color, 0, 0}}; break;
    case ToxFont3D::fsRidged: layers = {{clBtnShadow, 1, 1}, {clBtnHighlight, -1, -1}, {color, 0, 0}}; break;
    case ToxFont3D::fsGrooved: layers = {{clBtnShadow, -1, -1}, {clBtnHighlight, 1, 1}, {color, 0, 0}}; break;
    case ToxFont3D::fsShadow:
      layers = {{clBtnShadow, s, s}, textAngle_ != 0 ? TLayer{color, -s, -s} : TLayer{color, 0, 0}};
      break;
  }
  HDC dc = DC;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = GetTextColor(dc);
  const std::string caption = DrawnCaption();
  if (textAngle_ == 0) {
    for (const TLayer& layer : layers) {
      SetTextColor(dc, ColorToRGB(layer.Color));
      TRect r = {captionRect_.left + layer.Dx, captionRect_.top + layer.Dy, captionRect_.right + layer.Dx,
                 captionRect_.bottom + layer.Dy};
      DrawTextA(dc, caption.c_str(), -1, &r, CaptionFormat());
    }
  } else {
    const UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    const int x = captionRect_.right - (captionRect_.right - captionRect_.left) / 2;
    const int y = captionRect_.bottom - (captionRect_.bottom - captionRect_.top) / 2;
    for (const TLayer& layer : layers) {
      SetTextColor(dc, ColorToRGB(layer.Color));
      TextOutA(dc, x + layer.Dx, y + layer.Dy, caption.data(), static_cast<int>(caption.size()));
    }
    SetTextAlign(dc, oldAlign);
  }
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

void ToxCustomGraphicButton::DrawFocus(HDC DC, bool Selected) {
  // Dotted rectangles invert what is under them, whatever the brush.
  if (focusStyle_.Contains(fsText) && textAngle_ == 0) DrawFocusRect(DC, &captionRect_);
  if (!focusStyle_.Contains(fsOutline) && !(focusStyle_.Contains(fsText) && textAngle_ != 0)) return;
  int inset = 0, move = 0;
  switch (EffectiveStyle()) {
    case ToxBtnStyle::bsWin31:
      inset = focusStyle_.Contains(fsDefault) ? 5 : 4;
      move = Selected ? 1 : 0;
      break;
    case ToxBtnStyle::bsWin95:
    case ToxBtnStyle::bsWin97: inset = 4; break;
    case ToxBtnStyle::bsInset:
      inset = 4;
      move = Selected ? 1 : 0;
      break;
    case ToxBtnStyle::bsAmbrel: inset = 3; break;
    default: break;
  }
  const TRect c = ClientRect();
  const RECT r{c.left + inset + move, c.top + inset + move, c.right - inset + move, c.bottom - inset + move};
  DrawFocusRect(DC, &r);
}

// ---- Bevels ---------------------------------------------------------------------------------
void ToxCustomGraphicButton::DrawBevel(TCanvas* Canvas, bool Selected) {
  TBevelRings bevel{Canvas, ClientRect(), Selected || value_, (focused_ || active_) && focusStyle_.Contains(fsDefault)};
  switch (EffectiveStyle()) {
    case ToxBtnStyle::bsAuto:
    case ToxBtnStyle::bsWin31: return bevel.Win31(Selected);
    case ToxBtnStyle::bsWin95: return bevel.Win95();
    case ToxBtnStyle::bsInset: return bevel.Inset();
    case ToxBtnStyle::bsAmbrel: return bevel.Ambrel();
    case ToxBtnStyle::bsSpeed: return bevel.Speed();
    case ToxBtnStyle::bsWin97: return bevel.Win97(Enabled(), hot_ || tracking_, IsDesigning());
    case ToxBtnStyle::bsBorderless:
    case ToxBtnStyle::bsShaped:
      if (IsDesigning()) Canvas->DrawFocusRect(ClientRect());
      break;
  }
}
