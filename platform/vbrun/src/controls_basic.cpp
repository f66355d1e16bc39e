// The controls that take the class library's own: buttons, frames, labels, check boxes, the
// timer and images; and the picture loader.
#include "vbrun/controls.h"
#include "vcl/streams.h"
#include "win32/kernel.h"

namespace vb {

void SetToolTipText(TControl* control, const std::string& text) {
  control->SetHint(text);
  control->SetShowHint(!text.empty());
}

CommandButton::CommandButton(TComponent* owner) : TButton(owner) {}
Frame::Frame(TComponent* owner) : TGroupBox(owner) {}
Label::Label(TComponent* owner) : TLabel(owner) {
  SetAutoSize(false);
  SetTransparent(true);
}

CheckBox::CheckBox(TComponent* owner) : TCheckBox(owner) {}

void CheckBox::SetValue(int value) {
  if (value != 0 && value != 1) Raise(vbErrInvalidProperty);
  SetState(value ? cbChecked : cbUnchecked);
}

Timer::Timer(TComponent* owner) : TTimer(owner) { SetInterval(0); }

void Timer::SetIntervalMs(long value) {
  if (value < 0 || value > 65535) Raise(vbErrInvalidProperty);
  SetInterval(static_cast<unsigned>(value));
}

std::shared_ptr<TBitmap> LoadPicture(const std::string& fileName) {
  if (fileName.empty()) return nullptr;
  const DWORD attributes = GetFileAttributesA(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) Raise(vbErrFileNotFound);
  auto picture = std::make_shared<TBitmap>();
  try {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
    picture->LoadFromStream(&stream);
  } catch (const Exception&) {
    Raise(vbErrInvalidPicture);
  }
  return picture;
}

Image::Image(TComponent* owner) : TImage(owner) {}

void Image::SetPictureFrom(const std::shared_ptr<TBitmap>& picture) { Picture()->SetGraphic(picture.get()); }

PictureBox::PictureBox(TComponent* owner) : TCustomControl(owner), picture_(new TPicture) {
  SetControlStyle(ControlStyle().Include(csAcceptsControls));
  SetColor(clBtnFace);
  picture_->OnChange = [this](TObject*) { Invalidate(); };
}

PictureBox::~PictureBox() { delete picture_; }

void PictureBox::SetPictureFrom(const std::shared_ptr<TBitmap>& picture) { picture_->SetGraphic(picture.get()); }

void PictureBox::Paint() {
  TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  if (picture_->Graphic()) Canvas()->Draw(2, 2, picture_->Graphic());
  RECT edge = r;
  DrawEdge(Canvas()->Handle(), &edge, EDGE_SUNKEN, BF_RECT);
}

Line::Line(TComponent* owner) : TGraphicControl(owner) {}

void Line::SetPoints(int x1, int y1, int x2, int y2) {
  const int px1 = Pixels(x1), py1 = Pixels(y1), px2 = Pixels(x2), py2 = Pixels(y2);
  const int left = std::min(px1, px2), top = std::min(py1, py2);
  SetBounds(left, top, std::abs(px2 - px1) + 1, std::abs(py2 - py1) + 1);
  x1_ = px1 - left, y1_ = py1 - top, x2_ = px2 - left, y2_ = py2 - top;
  Invalidate();
}

void Line::SetBorderColor(TColor value) {
  borderColor_ = value;
  Invalidate();
}

void Line::Paint() {
  Canvas()->Pen()->SetColor(borderColor_);
  Canvas()->MoveTo(x1_, y1_);
  Canvas()->LineTo(x2_, y2_);
  Canvas()->SetPixels(x2_, y2_, borderColor_);  // the end point belongs to the line
}

HScrollBar::HScrollBar(TComponent* owner) : TCustomControl(owner) { SetColor(clBtnFace); }

void HScrollBar::SetRange(int min, int max) {
  min_ = min, max_ = max;
  value_ = std::clamp(value_, std::min(min, max), std::max(min, max));
  Invalidate();
}

void HScrollBar::SetValue(int value) {
  if (value < std::min(min_, max_) || value > std::max(min_, max_)) Raise(vbErrInvalidProperty);
  value_ = value;
  Invalidate();
}

void HScrollBar::Paint() {
  const TRect r = ClientRect();
  const int arrow = r.bottom;  // square arrow boxes at both ends
  Canvas()->Brush()->SetColor(clBtnHighlight);
  Canvas()->FillRect(r);
  auto box = [&](int left, int width) {
    RECT b{left, 0, left + width, r.bottom};
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(b);
    DrawEdge(Canvas()->Handle(), &b, EDGE_RAISED, BF_RECT);
  };
  box(0, arrow);
  box(r.right - arrow, arrow);
  const int track = r.right - 3 * arrow;
  const int span = max_ - min_;
  const int offset = span == 0 ? 0 : track * (value_ - min_) / span;
  box(arrow + offset, arrow);
}

}  // namespace vb
