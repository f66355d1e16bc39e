#pragma once
// The image that the processing and I/O components work on. TVelmoraPicture is the part that owns
// the 24-bit work bitmap with its background colour, resolution and change notice; the headless
// TVelmoraTarget (tools, benchmarks, tests) and the image view both carry it.
#include "imaging/screen_dpi.h"
#include "vcl/components.h"
#include "vcl/extctrls.h"
#include "vcl/graphics_images.h"

class TVelmoraPicture {
 public:
  explicit TVelmoraPicture(TComponent* Component) : component_(Component) { bitmap_.SetPixelFormat(pf24bit); }
  virtual ~TVelmoraPicture() = default;
  TVelmoraPicture(const TVelmoraPicture&) = delete;
  TVelmoraPicture& operator=(const TVelmoraPicture&) = delete;

  // The component that carries this part; attachments ask it for free notification.
  TComponent* Component() const { return component_; }
  TBitmap& Bitmap() { return bitmap_; }
  COLORREF Background() const { return background_; }
  virtual void SetBackground(COLORREF Value) { background_ = Value; }
  int DpiX() const { return dpiX_; }
  int DpiY() const { return dpiY_; }
  void SetDpi(int X, int Y) {
    dpiX_ = X;
    dpiY_ = Y;
  }
  // The picture changed: the view lays itself out again and raises OnImageChange.
  virtual void ImageChanged() {
    if (OnImageChange) OnImageChange(component_);
  }

  TNotifyEvent OnImageChange;

 private:
  TComponent* component_;
  COLORREF background_ = 0;
  TBitmap bitmap_;
  int dpiX_ = ScreenDpiX(), dpiY_ = ScreenDpiY();
};

class TVelmoraTarget : public TComponent, public TVelmoraPicture {
 public:
  explicit TVelmoraTarget(TComponent* AOwner) : TComponent(AOwner), TVelmoraPicture(this) {}
};

// Where a component keeps its attachment: the image, or else a TImage whose picture's bitmap is
// worked on; each cleared when it is freed, and setting one clears the other.
class TVelmoraAttachment {
 public:
  TVelmoraPicture* Get() const { return target_; }
  TImage* Image() const { return image_; }
  void Set(TComponent* Self, TVelmoraPicture* Value) {
    target_ = Value;
    targetComponent_ = Value ? Value->Component() : nullptr;
    image_ = nullptr;
    if (targetComponent_) targetComponent_->FreeNotification(Self);
  }
  void SetImage(TComponent* Self, TImage* Value) {
    image_ = Value;
    target_ = nullptr;
    targetComponent_ = nullptr;
    if (Value) Value->FreeNotification(Self);
  }
  // Compares with the component remembered at attachment: the part may be gone already.
  void Removed(TComponent* Component) {
    if (Component == targetComponent_) {
      target_ = nullptr;
      targetComponent_ = nullptr;
    }
    if (Component == image_) image_ = nullptr;
  }
  // The working bitmap, or none.
  TBitmap* Bitmap() const {
    if (target_) return &target_->Bitmap();
    return image_ ? image_->Picture()->Bitmap() : nullptr;
  }
  // The picture changed: the image lays itself out again, or the TImage's bitmap is flagged.
  void Refresh() const {
    if (target_) target_->ImageChanged();
    else if (image_)
      image_->Picture()->Bitmap()->SetModified(true);
  }

 private:
  TVelmoraPicture* target_ = nullptr;
  TComponent* targetComponent_ = nullptr;
  TImage* image_ = nullptr;
};
