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

void TPGImage::ArrangePicBox(bool Force) {
  const int border = BorderWidth();
  const int hScroll = GetSystemMetrics(SM_CYHSCROLL), vScroll = GetSystemMetrics(SM_CXVSCROLL);
  int newW = imageWidth_, newH = imageHeight_;
  const int availW = Width() - 2 * border, availH = Height() - 2 * border;
  long double zoom = 1.0L;
  if (imageWidth_ > 0 && imageHeight_ > 0 && availW > 0 && availH > 0) {
    const long double availRatio = static_cast<long double>(availW) / availH;
    const long double imageRatio = static_cast<long double>(imageWidth_) / imageHeight_;
    auto fit = [&] {
      if (imageRatio <= availRatio) {
        newH = availH;
        newW = CapSide(std::trunc(availH * imageRatio));
        zoom = static_cast<long double>(newH) / imageHeight_;
      } else {
        newW = availW;
        newH = CapSide(std::trunc(availW / imageRatio));
        zoom = static_cast<long double>(newW) / imageWidth_;
      }
    };
    auto edgeFit = [&] {
      fit();
      if (newW >= availW - vScroll && newH >= availH - hScroll) return;
      if (imageRatio < availRatio) {
        newW = std::max(availW - vScroll, 0);
        newH = CapSide(std::trunc(newW / imageRatio));
        zoom = static_cast<long double>(newW) / imageWidth_;
      } else {
        newH = std::max(availH - hScroll, 0);
        newW = CapSide(std::trunc(newH * imageRatio));
        zoom = static_cast<long double>(newH) / imageHeight_;
      }
    };
    auto shrinkLongerEdge = [&] {
      if ((availW >= imageWidth_ || availH - hScroll >= imageHeight_) &&
          (availW - vScroll >= imageWidth_ || availH >= imageHeight_))
        return;
      edgeFit();
    };
    switch (stretch_) {
      case sNeverKAR: break;
      case sAlways:
        newW = availW;
        newH = availH;
        zoom = -1.0L;
        break;
      case sAlwaysKAR: fit(); break;
      case sShrink:
        if (availW < imageWidth_) newW = availW;
        if (availH < imageHeight_) newH = availH;
        if (availW < imageWidth_ || availH < imageHeight_) zoom = -1.0L;
        break;
      case sShrinkKAR:
        if (!(availW >= imageWidth_ && availH >= imageHeight_)) fit();
        break;
      case sEnlarge: {
        const int roomH = availW < imageWidth_ ? availH - hScroll : availH;
        const int roomW = availH < imageHeight_ ? availW - vScroll : availW;
        if (imageWidth_ < roomW) newW = roomW;
        if (imageHeight_ < roomH) newH = roomH;
        if (imageWidth_ < roomW || imageHeight_ < roomH) zoom = -1.0L;
        break;
      }
      case sEnlargeKAR:
        if (imageWidth_ < availW && imageHeight_ < availH) fit();
        break;
      case sAlwaysLongerEdgeKAR: edgeFit(); break;
      case sShrinkLongerEdgeKAR: shrinkLongerEdge(); break;
      case sEnlargeShrinkLongerEdgeKAR:
        if (imageWidth_ < availW && imageHeight_ < availH) fit();
        else
          shrinkLongerEdge();
        break;
      case sEnlargeLongerEdgeKAR:
        if (imageWidth_ < availW || imageHeight_ < availH) edgeFit();
        break;
      case sZoomKAR:
        zoom = zoomFactor_ > 0 ? zoomFactor_ : 1.0L;
        newW = CapSide(std::nearbyint(imageWidth_ * zoom));
        newH = CapSide(std::nearbyint(imageHeight_ * zoom));
        break;
    }
  }
  if (zoom != effectiveZoom_) {
    effectiveZoom_ = zoom;
    if (OnZoomFactorChange) OnZoomFactorChange(this);
  }

  int left = 0, top = 0;
  bool horizontal = false, vertical = false;
  if (center_) {
    int roomW = availW, roomH = availH;
    for (int pass = 0; pass < 2; ++pass) {
      if (roomW < newW && !horizontal) {
        roomH -= hScroll;
        horizontal = true;
      }
      if (roomH < newH && !vertical) {
        roomW -= vScroll;
        vertical = true;
      }
    }
    if (newH < roomH) top = (roomH - newH) / 2;
    if (newW < roomW) left = (roomW - newW) / 2;
  }

  auto scrollTargets = [&](int& hPos, int& vPos) {
    hPos = center_ && horizontal ? std::max((newW - ClientWidth()) / 2, 0) : 0;
    vPos = center_ && vertical ? std::max((newH - ClientHeight()) / 2, 0) : 0;
  };
  const bool sameSize = picBox_->Width() == newW && picBox_->Height() == newH;
  if (sameSize) {
    int hPos, vPos;
    scrollTargets(hPos, vPos);
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
