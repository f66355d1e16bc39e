// Images and paint boxes.
#include "vcl/extctrls.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(new TPicture) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  picture_->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  picture_->OnChange = nullptr;
  delete picture_;
}

void TImage::SetStretch(bool Value) {
  if (stretch_ == Value) return;
  stretch_ = Value;
  PictureChanged(this);
}
void TImage::SetCenter(bool Value) {
  if (center_ == Value) return;
  center_ = Value;
  PictureChanged(this);
}
void TImage::SetTransparent(bool Value) {
  if (transparent_ == Value) return;
  transparent_ = Value;
  PictureChanged(this);
}
void TImage::SetAutoSize(bool Value) {
  autoSize_ = Value;
  PictureChanged(this);
}

void TImage::PictureChanged(TObject*) {
  if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  TControlStyle style = ControlStyle() - TControlStyle{csOpaque};
  if (TGraphic* g = picture_->Graphic()) {
    if (!dynamic_cast<TIcon*>(g)) g->SetTransparent(transparent_);
    // A picture that covers the control hides what lies beneath.
    if (!g->Transparent() && (stretch_ || (g->Width() >= Width() && g->Height() >= Height())))
      style = style + TControlStyle{csOpaque};
  }
  SetControlStyle(style);
  Invalidate();
}

TRect TImage::DestRect() {
  if (stretch_) return {0, 0, Width(), Height()};
  const int w = picture_->Width(), h = picture_->Height();
  if (center_) {
    const int x = (Width() - w) / 2, y = (Height() - h) / 2;
    return {x, y, x + w, y + h};
  }
  return {0, 0, w, h};
}

void TImage::Paint() {
  if (TGraphic* g = picture_->Graphic()) Canvas()->StretchDraw(DestRect(), g);
}

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  Canvas()->SetFont(Font());
  Canvas()->Brush()->SetColor(Color());
  if (OnPaint) OnPaint(this);
}
