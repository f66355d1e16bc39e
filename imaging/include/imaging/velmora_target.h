#pragma once
// The image that the processing and I/O components work on: a component that owns the 24-bit
// work bitmap with its background colour and resolution. The image view derives from it.
#include "imaging/screen_dpi.h"
#include "vcl/components.h"
#include "vcl/extctrls.h"
#include "vcl/graphics_images.h"

class TVelmoraTarget : public TComponent {
 public:
  explicit TVelmoraTarget(TComponent* AOwner) : TComponent(AOwner) { bitmap_.SetPixelFormat(pf24bit); }

  TBitmap& Bitmap() { return bitmap_; }
  COLORREF Background() const { return background_; }
  void SetBackground(COLORREF Value) { background_ = Value; }
  int DpiX() const { return dpiX_; }
  int DpiY() const { return dpiY_; }
  void SetDpi(int X, int Y) {
    dpiX_ = X;
    dpiY_ = Y;
  }
  // The picture changed: the view lays itself out again and raises OnImageChange.
  virtual void ImageChanged() {
    if (OnImageChange) OnImageChange(this);
  }

  TNotifyEvent OnImageChange;

 private:
  TBitmap bitmap_;
  COLORREF background_ = 0;
  int dpiX_ = ScreenDpiX(), dpiY_ = ScreenDpiY();
};

// Where a component keeps its attachment: the image, or else a TImage whose picture's bitmap is
// worked on; each cleared when it is freed, and setting one clears the other.
class TVelmoraAttachment {
 public:
  TVelmoraTarget* Get() const { return target_; }
  TImage* Image() const { return image_; }
  void Set(TComponent* Self, TVelmoraTarget* Value) {
    target_ = Value;
    image_ = nullptr;
    if (Value) Value->FreeNotification(Self);
  }
  void SetImage(TComponent* Self, TImage* Value) {
    image_ = Value;
    target_ = nullptr;
    if (Value) Value->FreeNotification(Self);
  }
  void Removed(TComponent* Component) {
    if (Component == target_) target_ = nullptr;
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
    else if (image_) image_->Picture()->Bitmap()->SetModified(true);
  }

 private:
  TVelmoraTarget* target_ = nullptr;
  TImage* image_ = nullptr;
};
