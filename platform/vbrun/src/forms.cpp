// Forms: loading before showing, unloading, twips and the drawing a form keeps.
#include "vbrun/forms.h"

#include <algorithm>

#include "win32/gdi.h"

namespace vb {
namespace {

int gLoadedForms = 0;

}  // namespace

void Place(TControl* control, int left, int top, int width, int height) {
  control->SetBounds(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

Form::Form(TComponent* owner) : TForm(owner) {
  Font()->SetName("Tahoma");
  Font()->SetSize(8);
  SetPosition(poScreenCenter);
  OnResize = [this](TObject*) {
    KeepImageSize();
    Form_Resize();
  };
  // Closing the window unloads the form.
  OnClose = [this](TObject*, TCloseAction& action) {
    action = caNone;
    Unload();
  };
}

Form::~Form() {
  if (loaded_ && !unloading_) --gLoadedForms;
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  ++gLoadedForms;
  Form_Load();
}

void Form::ShowForm() {
  Load();
  if (!Application->Terminated()) Show();
}

void Form::Unload() {
  if (!loaded_ || unloading_) return;
  unloading_ = true;
  Hide();
  if (OnUnloaded) OnUnloaded();
  Release();
  // The program ends when its last form is gone.
  if (--gLoadedForms == 0) Application->Terminate();
}

void Form::SetClientSizeTwips(int width, int height) {
  SetClientWidth(Pixels(width));
  SetClientHeight(Pixels(height));
}

int Form::HeightTwips() { return Twips(Height()); }
int Form::WidthTwips() { return Twips(Width()); }

void Form::KeepImageSize() {
  if (!autoRedraw_) return;
  const int width = std::max(ClientWidth(), 1), height = std::max(ClientHeight(), 1);
  if (image_ && image_->Width() >= width && image_->Height() >= height) return;
  auto grown = std::make_unique<TBitmap>();
  grown->SetPixelFormat(pf24bit);
  grown->SetWidth(std::max(width, image_ ? image_->Width() : 0));
  grown->SetHeight(std::max(height, image_ ? image_->Height() : 0));
  grown->Canvas()->Brush()->SetColor(Color());
  grown->Canvas()->FillRect({0, 0, grown->Width(), grown->Height()});
  if (image_) grown->Canvas()->Draw(0, 0, image_.get());
  image_ = std::move(grown);
}

void Form::LineBoxFilled(int x1, int y1, int x2, int y2, TColor color) {
  // Both corners belong to the box.
  const RECT box{std::min(x1, x2) / kTwipsPerPixel, std::min(y1, y2) / kTwipsPerPixel,
                 std::max(x1, x2) / kTwipsPerPixel + 1, std::max(y1, y2) / kTwipsPerPixel + 1};
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  if (autoRedraw_) {
    KeepImageSize();
    FillRect(image_->Canvas()->Handle(), &box, brush);
    InvalidateRect(Handle(), &box, FALSE);
  } else {
    HDC dc = GetDC(Handle());
    FillRect(dc, &box, brush);
    ReleaseDC(Handle(), dc);
  }
  DeleteObject(brush);
}

void Form::PaintWindow(HDC DC) {
  if (autoRedraw_ && image_)
    BitBlt(DC, 0, 0, image_->Width(), image_->Height(), image_->Canvas()->Handle(), 0, 0, SRCCOPY);
  TForm::PaintWindow(DC);
}

}  // namespace vb
