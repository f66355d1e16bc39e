#pragma once
// The image that the processing and I/O components work on: a component that owns the 24-bit
// work bitmap with its background colour and resolution. The image view derives from it.
#include "imaging/screen_dpi.h"
#include "vcl/components.h"
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

// Where a component keeps its attachment: the image, cleared when the image is freed.
class TVelmoraAttachment {
 public:
  TVelmoraTarget* Get() const { return target_; }
  void Set(TComponent* Self, TVelmoraTarget* Value) {
    target_ = Value;
    if (Value) Value->FreeNotification(Self);
  }
  void Removed(TComponent* Component) {
    if (Component == target_) target_ = nullptr;
  }

 private:
  TVelmoraTarget* target_ = nullptr;
};
