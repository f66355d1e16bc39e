#pragma once
// Windowed controls whose children scroll: TScrollingWinControl with its two scroll bars, and
// TScrollBox. The bars live in the window's frame (WS_HSCROLL/WS_VSCROLL) and are painted and
// worked by the class library.
#include "vcl/stdctrls.h"

class TScrollingWinControl;

// One of the two bars of a scrolling control. Position runs from 0 to Range less the client
// extent; a bar is shown only when Visible and Range exceeds that extent.
class TControlScrollBar : public TPersistent {
 public:
  VCL_CLASS_INFO
  TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : control_(Control), kind_(Kind) {}
  void Assign(TPersistent* Source) override;

  TScrollBarKind Kind() const { return kind_; }
  // Kept within 0 .. the largest position; a change moves the children.
  int Position() const { return position_; }
  void SetPosition(int Value);
  // The extent of the content along the bar.
  int Range() const { return range_; }
  void SetRange(int Value);
  // A line step of the arrows.
  int Increment() const { return increment_; }
  void SetIncrement(int Value) { increment_ = std::max(1, Value); }
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  // Dragging the thumb scrolls at once instead of on release.
  bool Tracking() const { return tracking_; }
  void SetTracking(bool Value) { tracking_ = Value; }

  // Whether the bar is shown now.
  bool IsScrollBarVisible() const { return shown_; }
  // The largest position: Range less the client extent, 0 while the bar is hidden.
  int MaxPosition();

 private:
  friend class TScrollingWinControl;
  // The client extent along the bar.
  int ControlSize();
  void ScrollMessage(WORD Code, int ThumbPos);

  TScrollingWinControl* control_;
  TScrollBarKind kind_;
  int position_ = 0;
  int range_ = 0;
  int increment_ = 8;
  bool visible_ = true;
  bool tracking_ = false;
  bool shown_ = false;
};

class TScrollingWinControl : public TWinControl {
 public:
  VCL_CLASS_INFO
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;
  void WndProc(TMessage& Message) override;

  TControlScrollBar* HorzScrollBar() const { return horz_; }
  TControlScrollBar* VertScrollBar() const { return vert_; }
  // The ranges follow the children's extent.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool Value);
  // Moves every child by the deltas (positive moves them right and down).
  void ScrollBy(int DeltaX, int DeltaY);
  // Scrolls as little as needed to show the child whole.
  void ScrollInView(TControl* AControl);

 protected:
  friend class TControlScrollBar;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  // Shows or hides the bars for the ranges and clamps the positions.
  void UpdateScrollBars();

 private:
  void CalcAutoRange();
  RECT BarRect(TControlScrollBar* Bar);
  void PaintBars();
  void PressBar(TControlScrollBar* Bar, POINT WindowPoint);
  void TrackBar(UINT Msg, POINT WindowPoint);
  POINT WindowPointOfClient(int X, int Y);

  TControlScrollBar* horz_;
  TControlScrollBar* vert_;
  bool autoScroll_ = true;
  int updating_ = 0;
  // The bar the mouse holds, its pressed part and where the thumb was gripped.
  TControlScrollBar* pressedBar_ = nullptr;
  int pressedPart_ = 0;
  int thumbGrip_ = 0;
  int trackPos_ = 0;
};

class TScrollBox : public TScrollingWinControl {
 public:
  VCL_CLASS_INFO
  explicit TScrollBox(TComponent* AOwner);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TBorderStyle borderStyle_ = bsSingle;
};
