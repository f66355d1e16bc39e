// TCanvas: drawing through a device context with the canvas's own font, pen and brush.
#include "vcl/graphics.h"
#include "vcl/graphics_images.h"

const TClassInfo& TCanvas::StaticClassInfo() {
  static const TClassInfo info(
      "TCanvas", &TPersistent::StaticClassInfo(),
      {ObjectProperty<TCanvas, TBrush>("Brush", &TCanvas::Brush, &TCanvas::SetBrush),
       OrdProperty<TCanvas>("CopyMode", TypeInfo_Integer, &TCanvas::CopyMode, &TCanvas::SetCopyMode, cmSrcCopy),
       ObjectProperty<TCanvas, TFont>("Font", &TCanvas::Font, &TCanvas::SetFont),
       ObjectProperty<TCanvas, TPen>("Pen", &TCanvas::Pen, &TCanvas::SetPen)});
  return info;
}

TCanvas::TCanvas() : font_(new TFont), pen_(new TPen), brush_(new TBrush) {
  font_->OnChange = [this](TObject*) { ObjectChanged(csFontValid); };
  pen_->OnChange = [this](TObject*) { ObjectChanged(csPenValid); };
  brush_->OnChange = [this](TObject*) { ObjectChanged(csBrushValid); };
}

TCanvas::~TCanvas() {
  // A derived canvas frees its context in its own destructor; whatever is left is let go here.
  SetHandle(nullptr);
  delete font_;
  delete pen_;
  delete brush_;
}

void TCanvas::ObjectChanged(TCanvasStates Which) {
  if (!state_.Contains(Which)) return;
  // The object's old handle is deleted right after this; it must not stay selected.
  if (Which == csFontValid) SelectObject(handle_, GetStockObject(SYSTEM_FONT));
  if (Which == csPenValid) SelectObject(handle_, GetStockObject(BLACK_PEN));
  if (Which == csBrushValid) SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
  state_.Exclude(Which);
}

void TCanvas::DeselectHandles() {
  if (!handle_) return;
  if (state_.Contains(csFontValid)) SelectObject(handle_, GetStockObject(SYSTEM_FONT));
  if (state_.Contains(csPenValid)) SelectObject(handle_, GetStockObject(BLACK_PEN));
  if (state_.Contains(csBrushValid)) SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
  state_ = state_ - TCanvasState{csFontValid, csPenValid, csBrushValid};
}

void TCanvas::Refresh() { DeselectHandles(); }

HDC TCanvas::Handle() {
  // Callers draw on the handle with the GDI directly (DrawText on a control's canvas), so it
  // carries the canvas's font, pen and brush, and the brush's background mode.
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return handle_;
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == handle_) return;
  DeselectHandles();
  handle_ = Value;
  if (handle_) {
    state_.Include(csHandleValid);
    POINT p{0, 0};
    GetCurrentPositionEx(handle_, &p);
    penPos_ = p;
  } else {
    state_.Exclude(csHandleValid);
  }
}

void TCanvas::SelectFont() {
  SelectObject(handle_, font_->Handle());
  SetTextColor(handle_, ColorToRGB(font_->Color()));
}

void TCanvas::SelectPen() {
  SelectObject(handle_, pen_->Handle());
  SetROP2(handle_, PenModeToROP2(pen_->Mode()));
}

void TCanvas::SelectBrush() {
  SelectObject(handle_, brush_->Handle());
  // A solid brush is also the text background; any other leaves the background showing.
  if (brush_->Style() == bsSolid) {
    SetBkColor(handle_, ColorToRGB(brush_->Color()));
    SetBkMode(handle_, OPAQUE);
  } else {
    SetBkColor(handle_, ~ColorToRGB(brush_->Color()) & 0xFFFFFF);
    SetBkMode(handle_, TRANSPARENT);
  }
}

void TCanvas::RequiredState(TCanvasState State) {
  const TCanvasState needed = State - state_;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
    state_.Include(csHandleValid);
  }
  if (needed.Contains(csFontValid)) SelectFont();
  if (needed.Contains(csPenValid)) SelectPen();
  if (needed.Contains(csBrushValid)) SelectBrush();
  state_ = state_ + needed;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  if (handle_) GetCurrentPositionEx(handle_, &penPos_);
  return penPos_;
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(GetPixel(handle_, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  SetPixel(handle_, X, Y, ColorToRGB(Value));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  TRect r{0, 0, 0, 0};
  GetClipBox(handle_, &r);
  return r;
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(handle_, X, Y, nullptr);
  penPos_ = {X, Y};
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(handle_, X, Y);
  penPos_ = {X, Y};
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(handle_, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polygon(handle_, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(handle_, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::Arc(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Chord(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Pie(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(handle_, &Rect, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(handle_, &Rect, brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(handle_, &Rect);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  TextOutA(handle_, X, Y, Text.data(), static_cast<int>(Text.size()));
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const std::string& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  const UINT options = ETO_CLIPPED | (brush_->Style() != bsClear ? ETO_OPAQUE : 0);
  ExtTextOutA(handle_, X, Y, options, &Rect, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const std::string& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE size{0, 0};
  GetTextExtentPoint32A(handle_, Text.data(), static_cast<int>(Text.size()), &size);
  return size;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw({X, Y, X + Graphic->Width(), Y + Graphic->Height()}, Graphic);
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC source = Canvas->Handle();
  StretchBlt(handle_, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, source, Source.left,
             Source.top, Source.right - Source.left, Source.bottom - Source.top, static_cast<DWORD>(copyMode_));
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  Bitmap->DrawMasked(this, Dest, Source, Color, TBitmap::kMaskTakesBrush);
  Changed();
}

void TCanvas::Lock() {
  lock_.lock();
  ++lockCount_;
}

void TCanvas::Unlock() {
  --lockCount_;
  lock_.unlock();
}

bool TCanvas::TryLock() {
  if (!lock_.try_lock()) return false;
  ++lockCount_;
  return true;
}
