// The image viewer's selection (animated striped frame, eight handles), the mouse on its paint
// box (moving the picture, moving, resizing or drawing the selection) and its cursors.
#include <algorithm>

#include "graphics/library.h"
#include "graphics/pg_image.h"
#include "vcl/forms.h"

namespace {

constexpr int kHandleMargin = 8;  // the handles lie up to 8 pixels outside the frame
constexpr int kHandleSide = 5;
constexpr int kAutoScrollStep = 5;
constexpr unsigned kSelectionTickMs = 50;

enum TDragStateValue {
  dragNone = 0,
  dragPicture = 1,
  dragSelection = 2,
  dragNewSelection = 3,
  dragTopLeft = 4,
  dragTopMiddle,
  dragTopRight,
  dragLeftMiddle,
  dragRightMiddle,
  dragBottomLeft,
  dragBottomMiddle,
  dragBottomRight
};

// The eight handle squares of a display rectangle, in the order of the drag states 4..11: five
// pixels square, three pixels off the frame, the middle ones centred on its sides.
void HandleRects(const TRect& R, TRect (&Out)[8]) {
  constexpr int kFar = kHandleMargin, kNear = kHandleMargin - kHandleSide;
  constexpr int kBefore = kHandleSide / 2, kAfter = kHandleSide - kBefore;
  const int midX = (R.left + R.right) / 2, midY = (R.top + R.bottom) / 2;
  Out[0] = TRect{R.left - kFar, R.top - kFar, R.left - kNear, R.top - kNear};
  Out[1] = TRect{midX - kBefore, R.top - kFar, midX + kAfter, R.top - kNear};
  Out[2] = TRect{R.right + kNear, R.top - kFar, R.right + kFar, R.top - kNear};
  Out[3] = TRect{R.left - kFar, midY - kBefore, R.left - kNear, midY + kAfter};
  Out[4] = TRect{R.right + kNear, midY - kBefore, R.right + kFar, midY + kAfter};
  Out[5] = TRect{R.left - kFar, R.bottom + kNear, R.left - kNear, R.bottom + kFar};
  Out[6] = TRect{midX - kBefore, R.bottom + kNear, midX + kAfter, R.bottom + kFar};
  Out[7] = TRect{R.right + kNear, R.bottom + kNear, R.right + kFar, R.bottom + kFar};
}

bool Inside(const TRect& R, int X, int Y) { return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom; }

}  // namespace

// ---- The selection -------------------------------------------------------------------------------

void TPGImage::SetSelection(bool Value) {
  if (Value == selection_) return;
  selection_ = Value;
  if (Value && !animationTimer_) {
    animationTimer_ = new TTimer(nullptr);
    animationTimer_->SetInterval(kSelectionTickMs);
    animationTimer_->SetOnTimer([this](TObject* Sender) { AnimateSelection(Sender); });
  } else if (!Value) {
    delete animationTimer_;
    animationTimer_ = nullptr;
  }
  picBox_->Invalidate();
  if (OnSelectionChange) OnSelectionChange(this);
}

void TPGImage::FreeSelectionBrushes() {
  for (int i = 0; i < 8; ++i) {
    delete brushes_[i];
    brushes_[i] = nullptr;
    delete patterns_[i];
    patterns_[i] = nullptr;
  }
}

void TPGImage::SetSelectionColor1(TColor Value) {
  if (Value == selectionColor1_) return;
  selectionColor1_ = Value;
  FreeSelectionBrushes();
}

void TPGImage::SetSelectionColor2(TColor Value) {
  if (Value == selectionColor2_) return;
  selectionColor2_ = Value;
  FreeSelectionBrushes();
}

TBrush* TPGImage::SelectionBrush(int Index) {
  if (!brushes_[Index]) {
    // Diagonal stripes four pixels wide, shifted by the index.
    auto* pattern = new TBitmap;
    pattern->SetWidth(8);
    pattern->SetHeight(8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        pattern->Canvas()->SetPixels(x, y, (x + y - Index + 8) % 8 > 3 ? selectionColor2_ : selectionColor1_);
    patterns_[Index] = pattern;
    brushes_[Index] = new TBrush;
    brushes_[Index]->SetBitmap(pattern);
  }
  return brushes_[Index];
}

void TPGImage::InvalidateSelectionBand() {
  if (!selection_ || !HandleAllocated()) return;
  const int margin = actionMode_ == amMoveResizeCreateSelection ? kHandleMargin : 1;
  TRect r = SelectionDisplayRect();
  r = TRect{r.left + picBox_->Left(), r.top + picBox_->Top(), r.right + picBox_->Left(), r.bottom + picBox_->Top()};
  const RECT strips[4] = {{r.left - margin, r.top - margin, r.left, r.bottom + margin},
                          {r.left - margin, r.top - margin, r.right + margin, r.top},
                          {r.right, r.top - margin, r.right + margin, r.bottom + margin},
                          {r.left - margin, r.bottom, r.right + margin, r.bottom + margin}};
  for (const RECT& s : strips) InvalidateRect(Handle(), &s, FALSE);
}

void TPGImage::SetSelectionBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == selLeft_ && ATop == selTop_ && AWidth == selWidth_ && AHeight == selHeight_) return;
  InvalidateSelectionBand();
  selLeft_ = ALeft;
  selTop_ = ATop;
  selWidth_ = AWidth;
  selHeight_ = AHeight;
  InvalidateSelectionBand();
  if (OnSelectionChange) OnSelectionChange(this);
  if (selection_) Update();
}

void TPGImage::DrawSelectionFrameOn(TCanvas* Canvas) {
  const TRect r = SelectionDisplayRect();
  TBrush* brush = SelectionBrush(((phase_ + r.left + r.top) % 8 + 8) % 8);
  Canvas->SetBrush(brush);
  Canvas->FrameRect(TRect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1});
  if (actionMode_ != amMoveResizeCreateSelection) return;
  TRect handles[8];
  HandleRects(r, handles);
  for (const TRect& h : handles) Canvas->FrameRect(h);
}

void TPGImage::DrawSelectionFrame(TObject*) {
  if (selection_) DrawSelectionFrameOn(picBox_->Canvas());
}

void TPGImage::AnimateSelection(TObject*) {
  phase_ = (phase_ + 1) % 8;
  if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
  TCanvas* c = picBox_->Canvas();
  HDC dc = c->Handle();
  const int saved = SaveDC(dc);
  // Opaque children above the paint box keep their pixels.
  bool nothingLeft = false;
  for (int i = 0; i < ControlCount() && !nothingLeft; ++i) {
    TControl* child = Controls(i);
    if (child == picBox_ || !child->Visible() || !child->ControlStyle().Contains(csOpaque)) continue;
    const TRect b = child->BoundsRect();
    nothingLeft = ExcludeClipRect(dc, b.left - picBox_->Left(), b.top - picBox_->Top(), b.right - picBox_->Left(),
                                  b.bottom - picBox_->Top()) == NULLREGION;
  }
  if (!nothingLeft) DrawSelectionFrameOn(c);
  RestoreDC(dc, saved);
}

// ---- The mouse ------------------------------------------------------------------------------------

bool TPGImage::PictureScrollable() {
  return (ClientWidth() < picBox_->Width() && HorzScrollBar()->IsScrollBarVisible()) ||
         (ClientHeight() < picBox_->Height() && VertScrollBar()->IsScrollBarVisible());
}

bool TPGImage::InsideSelection(int X, int Y) { return Inside(SelectionDisplayRect(), X, Y); }

int TPGImage::HandleAt(int X, int Y) {
  TRect handles[8];
  HandleRects(SelectionDisplayRect(), handles);
  for (int i = 0; i < 8; ++i)
    if (Inside(handles[i], X, Y)) return dragTopLeft + i;
  return dragNone;
}

void TPGImage::RubberBand(int X, int Y) {
  const int ix = PicBoxToImageX(X), iy = PicBoxToImageY(Y);
  const int left = std::min(ix, anchor_.x), top = std::min(iy, anchor_.y);
  SetSelectionBounds(left, top, std::max(ix, anchor_.x) - left + 1, std::max(iy, anchor_.y) - top + 1);
}

void TPGImage::PicBoxMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft || actionMode_ == amNone) return;
  const int ix = PicBoxToImageX(X), iy = PicBoxToImageY(Y);
  const bool selects = actionMode_ == amMoveResizeCreateSelection || actionMode_ == amMoveSelection ||
                       actionMode_ == amMoveSelectionMoveImage;
  if (selects && selection_ && InsideSelection(X, Y)) {
    dragState_ = dragSelection;
    lastMouse_ = {X, Y};
    dragOffset_ = {ix - selLeft_, iy - selTop_};
  } else if ((actionMode_ == amMoveImage || actionMode_ == amMoveSelectionMoveImage) && PictureScrollable()) {
    dragState_ = dragPicture;
    if (Screen->Cursor() == crDefault) ::SetCursor(PGCursorGrabbingHand);
    lastMouse_ = {X, Y};
  } else if (int handle = actionMode_ == amMoveResizeCreateSelection && selection_ ? HandleAt(X, Y) : dragNone) {
    dragState_ = handle;
    const bool left = handle == dragTopLeft || handle == dragLeftMiddle || handle == dragBottomLeft;
    const bool right = handle == dragTopRight || handle == dragRightMiddle || handle == dragBottomRight;
    const bool top = handle == dragTopLeft || handle == dragTopMiddle || handle == dragTopRight;
    const bool bottom = handle == dragBottomLeft || handle == dragBottomMiddle || handle == dragBottomRight;
    dragOffset_.x = left ? ix - selLeft_ : right ? ix - selWidth_ : 0;
    dragOffset_.y = top ? iy - selTop_ : bottom ? iy - selHeight_ : 0;
  } else if (actionMode_ == amMoveResizeCreateSelection) {
    dragState_ = dragNewSelection;
    SetSelection(true);
    anchor_ = {ix, iy};
    RubberBand(X, Y);
  }
  if (dragState_ == dragNone) return;
  picBox_->SetMouseCapture(true);
  if (dragState_ >= dragSelection && !autoScrollTimer_) {
    autoScrollTimer_ = new TTimer(nullptr);
    autoScrollTimer_->SetInterval(kSelectionTickMs);
    autoScrollTimer_->SetOnTimer([this](TObject* Sender) { AutoScrollTick(Sender); });
  }
}

void TPGImage::AutoScrollTick(TObject*) {
  if (!HandleAllocated()) return;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  TControlScrollBar* h = HorzScrollBar();
  TControlScrollBar* v = VertScrollBar();
  if (p.x < 0 && h->Position() > 0) h->SetPosition(h->Position() - kAutoScrollStep);
  if (p.y < 0 && v->Position() > 0) v->SetPosition(v->Position() - kAutoScrollStep);
  if (p.x >= ClientWidth() && h->Position() < h->Range() - ClientWidth())
    h->SetPosition(h->Position() + kAutoScrollStep);
  if (p.y >= ClientHeight() && v->Position() < v->Range() - ClientHeight())
    v->SetPosition(v->Position() + kAutoScrollStep);
}

void TPGImage::PicBoxMouseMove(TObject*, TShiftState, int X, int Y) {
  if (dragState_ == dragNone) return;
  const int ix = PicBoxToImageX(X), iy = PicBoxToImageY(Y);
  int left = selLeft_, top = selTop_, width = selWidth_, height = selHeight_;
  auto moveLeft = [&] {
    const int newLeft = std::min(ix - dragOffset_.x, selLeft_ + selWidth_ - 1);
    width += selLeft_ - newLeft;
    left = newLeft;
  };
  auto moveTop = [&] {
    const int newTop = std::min(iy - dragOffset_.y, selTop_ + selHeight_ - 1);
    height += selTop_ - newTop;
    top = newTop;
  };
  auto moveRight = [&] { width = std::max(ix - dragOffset_.x, 1); };
  auto moveBottom = [&] { height = std::max(iy - dragOffset_.y, 1); };
  switch (dragState_) {
    case dragPicture: {
      TControlScrollBar* h = HorzScrollBar();
      TControlScrollBar* v = VertScrollBar();
      const int oldH = h->Position(), oldV = v->Position();
      h->SetPosition(oldH + lastMouse_.x - X);
      v->SetPosition(oldV + lastMouse_.y - Y);
      // The paint box moved under the mouse by what the positions actually changed.
      lastMouse_ = {X + (h->Position() - oldH), Y + (v->Position() - oldV)};
      Update();
      return;
    }
    case dragSelection:
      left = std::min(std::max(ix - dragOffset_.x, 1 - selWidth_), imageWidth_ - 1);
      top = std::min(std::max(iy - dragOffset_.y, 1 - selHeight_), imageHeight_ - 1);
      break;
    case dragNewSelection: RubberBand(X, Y); return;
    case dragTopLeft:
      moveLeft();
      moveTop();
      break;
    case dragTopMiddle: moveTop(); break;
    case dragTopRight:
      moveTop();
      moveRight();
      break;
    case dragLeftMiddle: moveLeft(); break;
    case dragRightMiddle: moveRight(); break;
    case dragBottomLeft:
      moveLeft();
      moveBottom();
      break;
    case dragBottomMiddle: moveBottom(); break;
    case dragBottomRight:
      moveRight();
      moveBottom();
      break;
    default: return;
  }
  SetSelectionBounds(left, top, width, height);
}

void TPGImage::PicBoxMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
  // Only the left button started a drag; only its release ends one.
  if (Button != mbLeft || dragState_ == dragNone) return;
  const int state = dragState_;
  dragState_ = dragNone;
  picBox_->SetMouseCapture(false);
  delete autoScrollTimer_;
  autoScrollTimer_ = nullptr;
  if (state >= dragSelection) {
    SetSelection(true);
    if (OnSelectionMade) OnSelectionMade(this);
  }
}

// ---- The cursor ------------------------------------------------------------------------------------

void TPGImage::SetCursorMessage(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) != Handle() || static_cast<SHORT>(LOWORD(Message.LParam)) != HTCLIENT)
    return TScrollBox::WndProc(Message);
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  TControl* under = ControlAtPos(TPoint{p.x, p.y}, false);
  HCURSOR cursor;
  if (Screen->Cursor() != crDefault) {
    cursor = Screen->Cursors(Screen->Cursor());
  } else {
    cursor = Screen->Cursors(under ? under->Cursor() : Cursor());
    if (under == picBox_) {
      const int x = p.x - picBox_->Left(), y = p.y - picBox_->Top();
      if ((actionMode_ == amMoveImage || actionMode_ == amMoveSelectionMoveImage) && PictureScrollable())
        cursor = dragState_ == dragPicture ? PGCursorGrabbingHand : PGCursorOpenHand;
      if (actionMode_ == amMoveResizeCreateSelection) cursor = PGCursorCross;
      if ((actionMode_ == amMoveResizeCreateSelection || actionMode_ == amMoveSelection ||
           actionMode_ == amMoveSelectionMoveImage) &&
          selection_ && InsideSelection(x, y))
        cursor = PGCursorMove;
      if (actionMode_ == amMoveResizeCreateSelection && selection_) {
        switch (HandleAt(x, y)) {
          case dragTopMiddle:
          case dragBottomMiddle: cursor = Screen->Cursors(crSizeNS); break;
          case dragLeftMiddle:
          case dragRightMiddle: cursor = Screen->Cursors(crSizeWE); break;
          case dragTopLeft:
          case dragBottomRight: cursor = Screen->Cursors(crSizeNWSE); break;
          case dragTopRight:
          case dragBottomLeft: cursor = Screen->Cursors(crSizeNESW); break;
          default: break;
        }
      }
    }
  }
  int handle = static_cast<int>(reinterpret_cast<std::intptr_t>(cursor));
  if (!under && OnSetCursor) OnSetCursor(this, handle);
  if (under == picBox_ && PicBoxOnSetCursor) PicBoxOnSetCursor(this, handle);
  ::SetCursor(reinterpret_cast<HCURSOR>(static_cast<std::intptr_t>(handle)));
  Message.Result = 1;
}
