// The image viewer: construction, the picture and its settings, layout by the stretch rules and
// the messages. Painting and the paint thread are in pg_image_paint.cpp, the selection and the
// mouse in pg_image_selection.cpp.
#include "graphics/pg_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/transparent_controls.h"
#include "paint_workers.h"
#include "vcl/forms.h"
#include "vcl/scope_exit.h"

namespace {

constexpr int kMaxPicBoxSide = 32767;  // past this, paint-box coordinates leave GDI's range

int CapSide(long double Value) {
  if (!(Value > 0)) return 0;
  return static_cast<int>(std::min<long double>(Value, kMaxPicBoxSide));
}

}  // namespace

// ---- TPicBox --------------------------------------------------------------------------------------

TPicBox::TPicBox(TComponent* AOwner) : TPaintBox(AOwner) {
  OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (ViewerMouseDown) ViewerMouseDown(Sender, Button, Shift, X, Y);
    if (PicBoxOnMouseDown) PicBoxOnMouseDown(Sender, Button, Shift, X, Y);
  };
  OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
    if (ViewerMouseMove) ViewerMouseMove(Sender, Shift, X, Y);
    if (PicBoxOnMouseMove) PicBoxOnMouseMove(Sender, Shift, X, Y);
  };
  OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (PicBoxOnMouseUp) PicBoxOnMouseUp(Sender, Button, Shift, X, Y);
    if (ViewerMouseUp) ViewerMouseUp(Sender, Button, Shift, X, Y);
  };
  OnPaint = [this](TObject* Sender) {
    if (ViewerPaint) ViewerPaint(Sender);
    if (PicBoxOnPaint) PicBoxOnPaint(Sender);
  };
}

// ---- TPGImage: life ------------------------------------------------------------------------------

TPGImage::TPGImage(TComponent* AOwner) : TScrollBox(AOwner), picBox_(new TPicBox(this)), canvas_(new TControlCanvas) {
  picBox_->ViewerMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
    PicBoxMouseDown(S, B, Sh, X, Y);
  };
  picBox_->ViewerMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) { PicBoxMouseMove(S, Sh, X, Y); };
  picBox_->ViewerMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
    PicBoxMouseUp(S, B, Sh, X, Y);
  };
  picBox_->ViewerPaint = [this](TObject* S) { DrawSelectionFrame(S); };
  picBox_->SetBounds(0, 0, 0, 0);
  picBox_->SetParent(this);
  canvas_->SetControl(this);
  SetBounds(Left(), Top(), 100, 100);
  // Started at once with nothing to do: the first paint of an unchanged viewer starts nothing.
  worker_ = new TCreatePaintPGThread(false, true);
}

TPGImage::~TPGImage() {
  StopWorker();
  delete worker_;
  worker_ = nullptr;
  delete shown_;
  shown_ = nullptr;
  delete paintGraphic_;
  paintGraphic_ = nullptr;
  delete animationTimer_;
  animationTimer_ = nullptr;
  delete autoScrollTimer_;
  autoScrollTimer_ = nullptr;
  FreeSelectionBrushes();
  delete canvas_;
  canvas_ = nullptr;
}

void TPGImage::StopWorker() {
  if (!worker_) return;
  worker_->Stop();
  workerStopped_ = true;
  DropQueuedResults();
  // A result that will never come: the image still has to be prepared.
  if (awaitingResult_) paintStale_ = true;
  awaitingResult_ = false;
}

// The worker posts to the window it was given; on the next window a stopped preparation starts
// again.
void TPGImage::DestroyWnd() {
  StopWorker();
  TScrollBox::DestroyWnd();
}

void TPGImage::DropQueuedResults() {
  if (HandleAllocated()) DropQueuedGraphics(Handle());
}

// ---- The picture --------------------------------------------------------------------------------

void TPGImage::DropPaintGraphic() {
  if (keepOld_ && useThread_) {
    paintStale_ = true;
    return;
  }
  delete paintGraphic_;
  paintGraphic_ = nullptr;
}

void TPGImage::HookGraphicEvents(TPixelGraphic* Graphic, bool WithChange) {
  if (!Graphic) return;
  Graphic->OnProgressStart = [this](TObject* Sender) {
    if (OnPixelGraphicProgressStart) OnPixelGraphicProgressStart(Sender);
  };
  Graphic->OnProgress = [this](TObject* Sender, int Step, int Max, bool& Abort) {
    if (OnPixelGraphicProgress) OnPixelGraphicProgress(Sender, Step, Max, Abort);
  };
  Graphic->OnProgressEnd = [this](TObject* Sender) {
    if (OnPixelGraphicProgressEnd) OnPixelGraphicProgressEnd(Sender);
  };
  if (WithChange) Graphic->OnChange = [this](TObject* Sender) { PixelGraphicChange(Sender); };
}

void TPGImage::AssignPixelGraphic(TPixelGraphic* Graphic) {
  StopWorker();
  delete shown_;
  shown_ = nullptr;
  DropPaintGraphic();
  ScopeExit changed([this] { PixelGraphicChange(this); });
  if (!Graphic) return;
  auto copy = std::make_unique<TPixelGraphic>();
  copy->Assign(Graphic);
  shown_ = copy.release();
  HookGraphicEvents(shown_, true);
}

void TPGImage::LoadFromFile(const std::string& AFileName, int Index) {
  fileName_.clear();
  const TCursor savedCursor = Screen->Cursor();
  if (showHourGlass_) Screen->SetCursor(crHourGlass);
  ScopeExit finish([&] {
    if (showHourGlass_) Screen->SetCursor(savedCursor);
    PixelGraphicChange(this);
  });
  StopWorker();
  delete shown_;
  shown_ = nullptr;
  DropPaintGraphic();
  if (!ExtractFileName(AFileName).empty()) {
    auto fresh = std::make_unique<TPixelGraphic>();
    fresh->SetReadWarningAction(readWarningAction_);
    fresh->SetBackGroundColor(backGroundColor_);
    HookGraphicEvents(fresh.get(), false);
    fresh->LoadFromFileIndex(AFileName, Index);
    HookGraphicEvents(fresh.get(), true);
    shown_ = fresh.release();
  }
  // The field, not the setter: the setter loads again.
  fileName_ = AFileName;
}

void TPGImage::SaveToFile(const std::string& AFileName) {
  fileName_.clear();
  if (!shown_) throw EPGEmpty(PGLangStrS1(16, "PixelGraphic"));
  // A warning box runs the message loop; nothing may read the picture meanwhile.
  StopWorker();
  shown_->SetSaveColorResWarningAction(saveWarningAction_);
  shown_->SaveToFile(AFileName);
  fileName_ = AFileName;
}

int TPGImage::BorderWidth() {
  if (BorderStyle() != bsSingle) return 0;
  return Ctl3D() ? 2 : 1;
}

void TPGImage::PixelGraphicChange(TObject*) {
  StopWorker();
  prepareFailed_ = false;
  imageWidth_ = shown_ ? shown_->GetWidth() : 0;
  imageHeight_ = shown_ ? shown_->GetHeight() : 0;
  const int border = BorderWidth();
  const int hScroll = GetSystemMetrics(SM_CYHSCROLL), vScroll = GetSystemMetrics(SM_CXVSCROLL);
  std::int64_t w = static_cast<std::int64_t>(imageWidth_) + 2 * border;
  std::int64_t h = static_cast<std::int64_t>(imageHeight_) + 2 * border;
  bool horizontal = false, vertical = false;
  for (int pass = 0; pass < 2; ++pass) {
    if (autoSizeMaxWidth_ < w && !horizontal) {
      h += hScroll;
      horizontal = true;
    }
    if (autoSizeMaxHeight_ < h && !vertical) {
      w += vScroll;
      vertical = true;
    }
  }
  const int newWidth =
      static_cast<int>(std::max<std::int64_t>(std::min<std::int64_t>(w, autoSizeMaxWidth_), autoSizeMinWidth_));
  const int newHeight =
      static_cast<int>(std::max<std::int64_t>(std::min<std::int64_t>(h, autoSizeMaxHeight_), autoSizeMinHeight_));
  if (OnNewAutoSize) OnNewAutoSize(this, newWidth, newHeight);
  paintStale_ = true;
  if (!autoSize_ || (Width() == newWidth && Height() == newHeight)) ArrangePicBox(false);
  else
    SetBounds(Left(), Top(), newWidth, newHeight);
  if (OnPixelGraphicChange) OnPixelGraphicChange(this);
}

void TPGImage::SettingChanged(bool Matters) {
  if (Matters) PixelGraphicChange(this);
}

// ---- Layout ----------------------------------------------------------------------------------------

void TPGImage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (picBox_) picBox_->SetBounds(0, 0, 0, 0);
  TScrollBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (picBox_) ArrangePicBox(true);
}

namespace {

// The picture's own size and the room inside the border, with the scroll bars' thickness.
struct TPicRoom {
  int imageW, imageH, availW, availH, hScroll, vScroll;
  long double ImageRatio() const { return static_cast<long double>(imageW) / imageH; }
  long double AvailRatio() const { return static_cast<long double>(availW) / availH; }
  bool ImageSmaller() const { return imageW < availW && imageH < availH; }
};

// The paint box's size and the zoom it shows; -1 when the sides are stretched unequally.
struct TPicSize {
  int w, h;
  long double zoom;
};
constexpr long double kUnequalZoom = -1.0L;

TPicSize Unstretched(const TPicRoom& r) { return {r.imageW, r.imageH, 1.0L}; }

TPicSize Fit(const TPicRoom& r) {
  const long double imageRatio = r.ImageRatio();
  if (imageRatio <= r.AvailRatio()) {
    const int w = CapSide(std::trunc(r.availH * imageRatio));
    return {w, r.availH, static_cast<long double>(r.availH) / r.imageH};
  }
  const int h = CapSide(std::trunc(r.availW / imageRatio));
  return {r.availW, h, static_cast<long double>(r.availW) / r.imageW};
}

// Fits the whole room or, when that leaves a gap, fills the longer edge and scrolls the other.
TPicSize FitLongerEdge(const TPicRoom& r) {
  const TPicSize fit = Fit(r);
  if (fit.w >= r.availW - r.vScroll && fit.h >= r.availH - r.hScroll) return fit;
  const long double imageRatio = r.ImageRatio();
  if (imageRatio < r.AvailRatio()) {
    const int w = std::max(r.availW - r.vScroll, 0);
    return {w, CapSide(std::trunc(w / imageRatio)), static_cast<long double>(w) / r.imageW};
  }
  const int h = std::max(r.availH - r.hScroll, 0);
  return {CapSide(std::trunc(h * imageRatio)), h, static_cast<long double>(h) / r.imageH};
}

TPicSize ShrinkLongerEdge(const TPicRoom& r) {
  if ((r.availW >= r.imageW || r.availH - r.hScroll >= r.imageH) &&
      (r.availW - r.vScroll >= r.imageW || r.availH >= r.imageH))
    return Unstretched(r);
  return FitLongerEdge(r);
}

TPicSize Shrink(const TPicRoom& r) {
  TPicSize s = Unstretched(r);
  if (r.availW < r.imageW) s.w = r.availW;
  if (r.availH < r.imageH) s.h = r.availH;
  if (r.availW < r.imageW || r.availH < r.imageH) s.zoom = kUnequalZoom;
  return s;
}

TPicSize Enlarge(const TPicRoom& r) {
  TPicSize s = Unstretched(r);
  const int roomH = r.availW < r.imageW ? r.availH - r.hScroll : r.availH;
  const int roomW = r.availH < r.imageH ? r.availW - r.vScroll : r.availW;
  if (r.imageW < roomW) s.w = roomW;
  if (r.imageH < roomH) s.h = roomH;
  if (r.imageW < roomW || r.imageH < roomH) s.zoom = kUnequalZoom;
  return s;
}

TPicSize Zoomed(const TPicRoom& r, long double ZoomFactor) {
  const long double zoom = ZoomFactor > 0 ? ZoomFactor : 1.0L;
  return {CapSide(std::nearbyint(r.imageW * zoom)), CapSide(std::nearbyint(r.imageH * zoom)), zoom};
}

TPicSize PicBoxSize(const TPicRoom& r, TStretch Stretch, long double ZoomFactor) {
  if (r.imageW <= 0 || r.imageH <= 0 || r.availW <= 0 || r.availH <= 0) return Unstretched(r);
  switch (Stretch) {
    case sNeverKAR: return Unstretched(r);
    case sAlways: return {r.availW, r.availH, kUnequalZoom};
    case sAlwaysKAR: return Fit(r);
    case sShrink: return Shrink(r);
    case sShrinkKAR: return r.availW >= r.imageW && r.availH >= r.imageH ? Unstretched(r) : Fit(r);
    case sEnlarge: return Enlarge(r);
    case sEnlargeKAR: return r.ImageSmaller() ? Fit(r) : Unstretched(r);
    case sAlwaysLongerEdgeKAR: return FitLongerEdge(r);
    case sShrinkLongerEdgeKAR: return ShrinkLongerEdge(r);
    case sEnlargeShrinkLongerEdgeKAR: return r.ImageSmaller() ? Fit(r) : ShrinkLongerEdge(r);
    case sEnlargeLongerEdgeKAR: return r.imageW < r.availW || r.imageH < r.availH ? FitLongerEdge(r) : Unstretched(r);
    case sZoomKAR: return Zoomed(r, ZoomFactor);
  }
  return Unstretched(r);
}

// Where a centred paint box goes, and which scroll bars its size brings.
struct TPicPlace {
  int left = 0, top = 0;
  bool horizontal = false, vertical = false;
};

TPicPlace CentredPlace(const TPicRoom& r, int W, int H) {
  TPicPlace place;
  int roomW = r.availW, roomH = r.availH;
  for (int pass = 0; pass < 2; ++pass) {
    if (roomW < W && !place.horizontal) {
      roomH -= r.hScroll;
      place.horizontal = true;
    }
    if (roomH < H && !place.vertical) {
      roomW -= r.vScroll;
      place.vertical = true;
    }
  }
  if (H < roomH) place.top = (roomH - H) / 2;
  if (W < roomW) place.left = (roomW - W) / 2;
  return place;
}

}  // namespace

void TPGImage::ArrangePicBox(bool Force) {
  const int border = BorderWidth();
  const TPicRoom room{imageWidth_,
                      imageHeight_,
                      Width() - 2 * border,
                      Height() - 2 * border,
                      GetSystemMetrics(SM_CYHSCROLL),
                      GetSystemMetrics(SM_CXVSCROLL)};
  const TPicSize size = PicBoxSize(room, stretch_, zoomFactor_);
  const int newW = size.w, newH = size.h;
  if (size.zoom != effectiveZoom_) {
    effectiveZoom_ = size.zoom;
    if (OnZoomFactorChange) OnZoomFactorChange(this);
  }
  const TPicPlace place = center_ ? CentredPlace(room, newW, newH) : TPicPlace{};
  const int left = place.left, top = place.top;
  const bool horizontal = place.horizontal, vertical = place.vertical;

  if (picBox_->Width() == newW && picBox_->Height() == newH) {
    const int hPos = center_ && horizontal ? std::max((newW - ClientWidth()) / 2, 0) : 0;
    const int vPos = center_ && vertical ? std::max((newH - ClientHeight()) / 2, 0) : 0;
    const bool samePlace = picBox_->Left() == left - HorzScrollBar()->Position() &&
                           picBox_->Top() == top - VertScrollBar()->Position() && HorzScrollBar()->Position() == hPos &&
                           VertScrollBar()->Position() == vPos;
    if ((!rearrangeAlways_ && !Force) || samePlace) {
      RealizeFormPalette();
      Invalidate();
      return;
    }
  }
  // A preparation for another size would come too late; with ReduceOnLoad it would even become
  // the picture.
  if (awaitingResult_ && stretchMode_ != smFast && (newW != lastPaintWidth_ || newH != lastPaintHeight_)) StopWorker();
  {
    paintSuppressed_ = true;
    ScopeExit unsuppress([this] { paintSuppressed_ = false; });
    HorzScrollBar()->SetPosition(0);
    VertScrollBar()->SetPosition(0);
    picBox_->SetBounds(left, top, newW, newH);
    if (center_) {
      if (horizontal) HorzScrollBar()->SetPosition((newW - ClientWidth()) / 2);
      if (vertical) VertScrollBar()->SetPosition((newH - ClientHeight()) / 2);
    }
  }
  RealizeFormPalette();
  Invalidate();
}

void TPGImage::RealizeFormPalette() {
  TCustomForm* form = GetParentForm(this);
  if (!form || !form->HandleAllocated() || !HandleAllocated()) return;
  if (!IsWindowVisible(form->Handle()) || !IsWindowVisible(Handle())) return;
  SendMessageA(form->Handle(), GetForegroundWindow() == form->Handle() ? WM_QUERYNEWPALETTE : WM_PALETTECHANGED, 0, 0);
}

void TPGImage::Invalidate() {
  TScrollBox::Invalidate();
  for (int i = 0; i < ControlCount(); ++i)
    if (IsTransparentPGControl(Controls(i))) Controls(i)->Invalidate();
}

// ---- Coordinates ---------------------------------------------------------------------------------

int TPGImage::ImageToPicBoxX(int X) const {
  if (imageWidth_ <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(X) * picBox_->Width() / imageWidth_);
}
int TPGImage::ImageToPicBoxY(int Y) const {
  if (imageHeight_ <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(Y) * picBox_->Height() / imageHeight_);
}
int TPGImage::PicBoxToImageX(int X) const {
  if (picBox_->Width() <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(X) * imageWidth_ / picBox_->Width());
}
int TPGImage::PicBoxToImageY(int Y) const {
  if (picBox_->Height() <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(Y) * imageHeight_ / picBox_->Height());
}

TRect TPGImage::SelectionRect() const { return {selLeft_, selTop_, selLeft_ + selWidth_, selTop_ + selHeight_}; }

TRect TPGImage::SelectionDisplayRect() const {
  const TRect r = SelectionRect();
  return {ImageToPicBoxX(r.left), ImageToPicBoxY(r.top), ImageToPicBoxX(r.right), ImageToPicBoxY(r.bottom)};
}

// ---- Settings ------------------------------------------------------------------------------------

void TPGImage::SetActionMode(TActionMode Value) {
  if (Value == actionMode_) return;
  actionMode_ = Value;
  Invalidate();
}

void TPGImage::SetAllow24BitStretch(bool Value) {
  const bool changed = Value != allow24BitStretch_;
  allow24BitStretch_ = Value;
  SettingChanged(changed);
}

void TPGImage::SetAutoSize(bool Value) {
  autoSize_ = Value;
  PixelGraphicChange(this);
}

void TPGImage::SetAutoSizeMaxHeight(int Value) {
  const bool changed = Value != autoSizeMaxHeight_;
  autoSizeMaxHeight_ = Value;
  SettingChanged(changed && autoSize_);
}
void TPGImage::SetAutoSizeMaxWidth(int Value) {
  const bool changed = Value != autoSizeMaxWidth_;
  autoSizeMaxWidth_ = Value;
  SettingChanged(changed && autoSize_);
}
void TPGImage::SetAutoSizeMinHeight(int Value) {
  const bool changed = Value != autoSizeMinHeight_;
  autoSizeMinHeight_ = Value;
  SettingChanged(changed && autoSize_);
}
void TPGImage::SetAutoSizeMinWidth(int Value) {
  const bool changed = Value != autoSizeMinWidth_;
  autoSizeMinWidth_ = Value;
  SettingChanged(changed && autoSize_);
}

void TPGImage::SetCenter(bool Value) {
  if (Value == center_) return;
  center_ = Value;
  ArrangePicBox(true);
}

void TPGImage::SetDither(bool Value) {
  const bool changed = Value != dither_;
  dither_ = Value;
  SettingChanged(changed);
}
void TPGImage::SetDitherErrorLimit(std::uint8_t Value) {
  const bool changed = Value != ditherErrorLimit_;
  ditherErrorLimit_ = Value;
  SettingChanged(changed && dither_);
}
void TPGImage::SetDitherErrorLimitAuto(bool Value) {
  const bool changed = Value != ditherErrorLimitAuto_;
  ditherErrorLimitAuto_ = Value;
  SettingChanged(changed && dither_);
}
void TPGImage::SetDitherErrorLimitSoft(bool Value) {
  const bool changed = Value != ditherErrorLimitSoft_;
  ditherErrorLimitSoft_ = Value;
  SettingChanged(changed && dither_);
}

void TPGImage::SetFlipHorizontal(bool Value) {
  if (Value == flipHorizontal_) return;
  flipHorizontal_ = Value;
  Invalidate();
}
void TPGImage::SetFlipVertical(bool Value) {
  if (Value == flipVertical_) return;
  flipVertical_ = Value;
  Invalidate();
}

void TPGImage::SetPalette8BitSys24BitGraphic(TPaletteIdent Value) {
  const bool changed = Value != palette24_;
  palette24_ = std::clamp(Value, pBlackWhite, pOptimized252Sys16);
  SettingChanged(changed);
}
void TPGImage::SetPalette8BitSys8BitGraphic(TPaletteIdent Value) {
  const bool changed = Value != palette8_;
  palette8_ = std::clamp(Value, pBlackWhite, pSource);
  SettingChanged(changed);
}

void TPGImage::SetRGBWeighting(bool Value) {
  const bool changed = Value != rgbWeighting_;
  rgbWeighting_ = Value;
  SettingChanged(changed);
}

void TPGImage::SetStretch(TStretch Value) {
  if (Value == stretch_) return;
  stretch_ = Value;
  ArrangePicBox(true);
}

void TPGImage::SetStretchMode(TStretchMode Value) {
  const bool changed = Value != stretchMode_;
  stretchMode_ = Value;
  SettingChanged(changed);
}

void TPGImage::SetTiling(TTiling Value) {
  if (Value == tiling_) return;
  tiling_ = Value;
  Invalidate();
}

void TPGImage::SetUseThread(bool Value) {
  if (Value == useThread_) return;
  StopWorker();
  paintStale_ = true;
  useThread_ = Value;
  Invalidate();
}

void TPGImage::SetZoomFactor(long double Value) {
  if (Value == zoomFactor_) return;
  zoomFactor_ = Value;
  ArrangePicBox(true);
}

// ---- Messages ------------------------------------------------------------------------------------

void TPGImage::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;  // Paint fills the bands around the picture itself
      return;
    case WM_DISPLAYCHANGE:
      paintStale_ = true;
      Invalidate();
      return;
    case WM_SETCURSOR: return SetCursorMessage(Message);
    case kWorkerResult: ReceivePaintGraphic(reinterpret_cast<TPixelGraphic*>(Message.LParam)); return;
    case kWorkerProgress: SetPaintProgress(static_cast<int>(Message.WParam), static_cast<int>(Message.LParam)); return;
    default: TScrollBox::WndProc(Message);
  }
}

void TPGImage::PaintWindow(HDC DC) {
  canvas_->Lock();
  canvas_->SetHandle(DC);
  ScopeExit release([this] {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
  });
  Paint();
}
