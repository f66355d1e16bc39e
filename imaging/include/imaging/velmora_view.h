#pragma once
// TVelmoraView: a windowed control that shows its 24-bit work bitmap zoomed, scrolled and
// optionally centred, with click zoom, drag scroll, a rubber-band selection with marching ants,
// zoom to selection and the window's own scroll bars. Painting stretches the bitmap's memory with
// StretchDIBits (colour on colour). Update is the layout: it recomputes the zoomed and drawn sizes,
// the scroll limits and the bars, then invalidates.
#include <functional>

#include "imaging/velmora_target.h"
#include "vcl/controls.h"
#include "vcl/sets.h"
#include "vcl/timers.h"

enum TVelmoraMouseInteractItem { miZoom, miScroll, miSelect, miSelectZoom };
using TVelmoraMouseInteract = TSet<TVelmoraMouseInteractItem>;
extern const TTypeInfo TypeInfo_TVelmoraMouseInteract;

// Change 0: the scroll position moved; 1: the zoom changed.
using TViewChangeEvent = std::function<void(TObject* Sender, int Change)>;
extern const TTypeInfo TypeInfo_TViewChangeEvent;

// The screen cursor numbers the view registers at each creation, and its own cursor.
constexpr TCursor crVelmoraZoomOut = 1778;
constexpr TCursor crVelmoraZoomIn = 1779;
constexpr TCursor crVelmoraCross = 1780;
constexpr TCursor crVelmoraEraser = 1781;
constexpr TCursor crVelmoraHand = 1782;
constexpr TCursor crVelmoraPen = 1783;
constexpr TCursor crVelmoraCross1 = 1784;
constexpr TCursor crVelmoraCross2 = 1785;

class TVelmoraView : public TCustomControl, public TVelmoraPicture {
 public:
  VCL_CLASS_INFO
  explicit TVelmoraView(TComponent* AOwner);
  ~TVelmoraView() override;

  void WndProc(TMessage& Message) override;
  void Assign(TPersistent* Source) override;
  // The layout; the class library's Repaint only invalidates.
  void Update() override;
  void Repaint() override { Invalidate(); }

  bool ScrollBars() const { return scrollBars_; }
  virtual void SetScrollBars(bool Value);
  void SetBackground(COLORREF Value) override;
  bool AnimatedSel() const { return animatedSel_; }
  void SetAnimatedSel(bool Value);
  bool Center() const { return center_; }
  void SetCenter(bool Value);
  TVelmoraMouseInteract MouseInteract() const { return mouseInteract_; }
  void SetMouseInteract(TVelmoraMouseInteract Value);

  int Zoom() const { return zoom_; }
  // Ignored when <= 0 or unchanged; drops the selection and paints at once.
  void SetZoom(int Percent);
  void ZoomToFit();
  // Zooms so that the picture point under the client point comes to the middle.
  void ZoomAt(int X, int Y, int Percent);
  // Also sets the dots per centimetre.
  void SetDpi(int X, int Y);
  int DpcmX() const { return dpcmX_; }
  int DpcmY() const { return dpcmY_; }

  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  // Each coordinate is kept within 0 .. its maximum.
  void SetScroll(int X, int Y);
  void SetScrollX(int X) { SetScroll(X, scrollY_); }
  void SetScrollY(int Y) { SetScroll(scrollX_, Y); }
  int MaxScrollX() const { return maxX_; }
  int MaxScrollY() const { return maxY_; }
  // The picture scaled by the zoom, and the part of it shown with its offset (when centred).
  int ZoomedWidth() const { return zoomedW_; }
  int ZoomedHeight() const { return zoomedH_; }
  TRect DrawnRect() const { return {offX_, offY_, offX_ + drawW_, offY_ + drawH_}; }

  // Client point to picture point.
  int XScreenToBmp(int X) const;
  int YScreenToBmp(int Y) const;
  virtual void Select(int X1, int Y1, int X2, int Y2);
  void Deselect();
  bool Selected() const { return selected_; }
  // In zoomed-picture coordinates, and in picture pixels.
  TRect SelectionRect() const { return selection_; }
  TRect SelectedRect() const;
  // The marching ants' phase (0 before the first step).
  int SelectionPhase() const { return phase_; }

  void LockPaint() { ++paintLock_; }
  // The last unlock runs Update.
  void UnlockPaint();

  // Raises OnImageChange.
  virtual void ImageChange();
  // The attached parts changed the picture.
  void ImageChanged() override;

  TViewChangeEvent OnViewChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  bool LayoutPass();
  void ShowBar(int Bar, int Max, int ClientSize, int Position);
  void ScrollMessage(int Bar, TMessage& Message);
  void ViewChange(int Change);
  void StartAnimation();
  void StopAnimation();
  void AnimationStep(TObject* Sender);
  void DrawFrame();
  void ZoomToSelection();

  bool scrollBars_ = false;
  bool animatedSel_ = true;
  bool center_ = false;
  TVelmoraMouseInteract mouseInteract_;
  int zoom_ = 100;
  int scrollX_ = 0, scrollY_ = 0;
  int maxX_ = 0, maxY_ = 0;
  int zoomedW_ = 0, zoomedH_ = 0;
  int drawW_ = 0, drawH_ = 0;
  int offX_ = 0, offY_ = 0;
  int lastW_ = -1, lastH_ = -1;
  int dpcmX_ = 0, dpcmY_ = 0;
  bool selected_ = false;
  TRect selection_{};
  int phase_ = 0;
  bool phaseDrawn_ = false;
  TTimer* selTimer_ = nullptr;
  int paintLock_ = 0;
  TPoint down_{};
  int downScrollX_ = 0, downScrollY_ = 0;
};

// Draws the eight cursors once per process and registers them with the screen at 1778 .. 1785.
void RegisterVelmoraCursors();
