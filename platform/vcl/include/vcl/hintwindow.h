#pragma once
// THintWindow: the small bordered popup that shows a control's hint under the mouse. It sits
// above every window and never takes activation, focus or the mouse.
#include <string>

#include "vcl/controls.h"

class THintWindow : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit THintWindow(TComponent* AOwner);

  // The window's size (at 0,0) for the hint, its text wrapped at MaxWidth.
  virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint);
  // Shows the hint in Rect (screen coordinates), kept on the screen, without activating.
  virtual void ActivateHint(TRect Rect, const std::string& AHint);
  // Hides the hint by giving its window back.
  void ReleaseHandle() { DestroyHandle(); }

  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};
