#include "imaging/velmora_view.h"

#include <algorithm>
#include <vector>

#include "imaging/bitmap_rows.h"
#include "imaging/conversions.h"
#include "vcl/forms.h"
#include "vcl/system.h"
#include "win32/stdcontrols.h"

namespace {

constexpr int kInitialSize = 105;
constexpr int kMaxLayoutPasses = 4;  // a bar shown or hidden changes the client once per axis
constexpr int kFrameStep = 9;  // the machine reports Windows 98
constexpr UINT kAntsInterval = 300;
constexpr int kZoomSteps[] = {2, 5, 10, 25, 33, 50, 75, 100};
constexpr int kLineStep = 1, kPageStep = 10;

int RoundInt(long double Value) { return static_cast<int>(Round(Value)); }

int ZoomInStep(int zoom) {
  if (zoom >= 100) return zoom + 100;
  for (int step : kZoomSteps)
    if (step > zoom) return step;
  return 100;
}

int ZoomOutStep(int zoom) {
  if (zoom >= 200) return zoom - 100;
  int result = 2;
  for (int step : kZoomSteps)
    if (step < zoom) result = step;
  return result;
}

void Fill(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
  if (right <= left || bottom <= top) return;
  const RECT r{left, top, right, bottom};
  FillRect(dc, &r, brush);
}

// A header for the bitmap's own memory, in its own depth; false for formats it cannot describe.
bool DescribeBitmap(TBitmap& bitmap, std::vector<BYTE>& info) {
  WORD bits = 0;
  switch (bitmap.PixelFormat()) {
    case pf1bit: bits = 1; break;
    case pf4bit: bits = 4; break;
    case pf8bit: bits = 8; break;
    case pf24bit: bits = 24; break;
    case pf32bit: bits = 32; break;
    default: return false;
  }
  const std::vector<RGBQUAD>& colors = bitmap.Colors();
  const std::size_t entries = bits <= 8 ? std::min<std::size_t>(colors.size(), std::size_t{1} << bits) : 0;
  info.assign(sizeof(BITMAPINFOHEADER) + std::max<std::size_t>(entries, 1) * sizeof(RGBQUAD), 0);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = bitmap.Width();
  header->biHeight = bitmap.Height();
  header->biPlanes = 1;
  header->biBitCount = bits;
  header->biCompression = BI_RGB;
  header->biClrUsed = static_cast<DWORD>(entries);
  auto* table = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
  if (bits == 1 && entries < 2) {
    table[0] = RGBQUAD{0, 0, 0, 0};
    info.resize(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD));
    table = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    table[1] = RGBQUAD{255, 255, 255, 0};
    header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biClrUsed = 2;
  } else {
    std::copy_n(colors.begin(), entries, table);
  }
  return true;
}

}  // namespace

const TTypeInfo TypeInfo_TVelmoraMouseInteract{
    "TVelmoraMouseInteract", tkSet, {"miZoom", "miScroll", "miSelect", "miSelectZoom"}};
const TTypeInfo TypeInfo_TViewChangeEvent{"TViewChangeEvent", tkMethod};

TVelmoraView::TVelmoraView(TComponent* AOwner) : TCustomControl(AOwner), TVelmoraPicture(this) {
  SetBounds(Left(), Top(), kInitialSize, kInitialSize);
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  SetControlStyle(style);
  Bitmap().SetWidth(kInitialSize);
  Bitmap().SetHeight(kInitialSize);
  SetDpi(DpiX(), DpiY());
  selTimer_ = new TTimer(this);
  selTimer_->SetEnabled(false);
  RegisterVelmoraCursors();
  SetCursor(crVelmoraCross2);
}

TVelmoraView::~TVelmoraView() {
  Destroying();
  if (selTimer_) selTimer_->SetEnabled(false);
}

void TVelmoraView::SetScrollBars(bool Value) {
  if (scrollBars_ == Value) return;
  scrollBars_ = Value;
  if (!Value && HandleAllocated()) ShowScrollBar(Handle(), SB_BOTH, FALSE);
  Update();
}

void TVelmoraView::SetBackground(COLORREF Value) {
  if (Value == Background()) return;
  TVelmoraPicture::SetBackground(Value);
  Update();
  ImageChange();
}

void TVelmoraView::SetAnimatedSel(bool Value) {
  if (animatedSel_ == Value) return;
  animatedSel_ = Value;
  if (selected_) StartAnimation();
}

void TVelmoraView::SetCenter(bool Value) {
  if (center_ == Value) return;
  center_ = Value;
  Update();
}

void TVelmoraView::SetMouseInteract(TVelmoraMouseInteract Value) {
  const TVelmoraMouseInteract added = Value - mouseInteract_;
  if (added.Contains(miScroll)) Value = Value - TVelmoraMouseInteract{miSelect, miSelectZoom};
  else if (added.Contains(miSelect))
    Value = Value - TVelmoraMouseInteract{miScroll, miSelectZoom};
  else if (added.Contains(miSelectZoom))
    Value = Value - TVelmoraMouseInteract{miScroll, miSelect};
  mouseInteract_ = Value;
}

void TVelmoraView::SetDpi(int X, int Y) {
  TVelmoraPicture::SetDpi(X, Y);
  dpcmX_ = RoundInt(X / 2.54L);
  dpcmY_ = RoundInt(Y / 2.54L);
}

void TVelmoraView::ViewChange(int Change) {
  if (OnViewChange) OnViewChange(this, Change);
}

void TVelmoraView::ImageChange() {
  if (OnImageChange) OnImageChange(this);
}

void TVelmoraView::ImageChanged() {
  Update();
  ImageChange();
}

// ---- Layout ----------------------------------------------------------------------------------

void TVelmoraView::Update() {
  if (ComponentState().Contains(csDestroying)) return;
  for (int pass = 0; pass < kMaxLayoutPasses && LayoutPass(); ++pass) {
  }
  if (selected_) StartAnimation();
  const int pw = Bitmap().Width(), ph = Bitmap().Height();
  const int cw = ClientWidth(), ch = ClientHeight();
  zoomedW_ = RoundInt(pw / 100.0L * zoom_);
  zoomedH_ = RoundInt(ph / 100.0L * zoom_);
  drawW_ = std::max(0, std::min(zoomedW_, cw));
  drawH_ = std::max(0, std::min(zoomedH_, ch));
  offX_ = center_ && drawW_ < cw ? (cw - drawW_) / 2 : 0;
  offY_ = center_ && drawH_ < ch ? (ch - drawH_) / 2 : 0;
  Invalidate();
}

// One pass over the scroll limits and bars; true when the client size changed meanwhile.
bool TVelmoraView::LayoutPass() {
  const int pw = Bitmap().Width(), ph = Bitmap().Height();
  if (pw != lastW_ || ph != lastH_) {
    lastW_ = pw;
    lastH_ = ph;
    Deselect();
  }
  const int cw = ClientWidth(), ch = ClientHeight();
  const int zw = RoundInt(pw * zoom_ / 100.0L), zh = RoundInt(ph * zoom_ / 100.0L);
  if (zw <= 0 || zh <= 0) {
    maxX_ = maxY_ = 0;
  } else {
    maxX_ = std::max(0, zw - cw);
    maxY_ = std::max(0, zh - ch);
    if (Width() >= zw && Height() >= zh) maxX_ = maxY_ = 0;
  }
  bool moved = false;
  if (scrollX_ > maxX_) scrollX_ = maxX_, moved = true;
  if (scrollY_ > maxY_) scrollY_ = maxY_, moved = true;
  if (moved) ViewChange(0);
  if (scrollBars_ && HandleAllocated()) {
    ShowBar(SB_HORZ, maxX_, cw, scrollX_);
    ShowBar(SB_VERT, maxY_, ch, scrollY_);
  }
  return ClientWidth() != cw || ClientHeight() != ch;
}

void TVelmoraView::ShowBar(int Bar, int Max, int ClientSize, int Position) {
  if (Max < 1) {
    ShowScrollBar(Handle(), Bar, FALSE);
    return;
  }
  SCROLLINFO info{sizeof(SCROLLINFO),
                  SIF_RANGE | SIF_PAGE | SIF_POS,
                  0,
                  ClientSize + Max - 1,
                  static_cast<UINT>(std::max(ClientSize, 0)),
                  Position,
                  0};
  SetScrollInfo(Handle(), Bar, &info, TRUE);
  ShowScrollBar(Handle(), Bar, TRUE);
}

void TVelmoraView::UnlockPaint() {
  if (paintLock_ > 0 && --paintLock_ == 0) Update();
}

// ---- Zoom and scroll -------------------------------------------------------------------------

void TVelmoraView::SetZoom(int Percent) {
  if (Percent <= 0 || Percent == zoom_) return;
  Deselect();
  zoom_ = Percent;
  Update();
  if (HandleAllocated() && !paintLock_) {
    ValidateRect(Handle(), nullptr);
    Paint();
  }
  ViewChange(1);
}

void TVelmoraView::ZoomToFit() {
  const int pw = Bitmap().Width(), ph = Bitmap().Height();
  if (pw == 0 || ph == 0) return;
  const auto fitX = static_cast<int>(Width() / (pw / 100.0L));
  const auto fitY = static_cast<int>(Height() / (ph / 100.0L));
  SetZoom(std::min(fitX, fitY));
}

void TVelmoraView::ZoomAt(int X, int Y, int Percent) {
  LockPaint();
  const int bx = XScreenToBmp(X), by = YScreenToBmp(Y);
  SetZoom(Percent);
  SetScroll(static_cast<int>(bx * zoom_ / 100.0L - ClientWidth() / 2),
            static_cast<int>(by * zoom_ / 100.0L - ClientHeight() / 2));
  UnlockPaint();
}

void TVelmoraView::SetScroll(int X, int Y) {
  scrollX_ = std::clamp(X, 0, maxX_);
  scrollY_ = std::clamp(Y, 0, maxY_);
  if (!paintLock_) Invalidate();
  ViewChange(0);
  if (selected_) StartAnimation();
  if (scrollBars_ && HandleAllocated()) {
    if (maxX_ >= 1) SetScrollPos(Handle(), SB_HORZ, scrollX_, TRUE);
    if (maxY_ >= 1) SetScrollPos(Handle(), SB_VERT, scrollY_, TRUE);
  }
}

int TVelmoraView::XScreenToBmp(int X) const { return RoundInt(100.0L / zoom_ * (X + scrollX_ - offX_)); }
int TVelmoraView::YScreenToBmp(int Y) const { return RoundInt(100.0L / zoom_ * (Y + scrollY_ - offY_)); }

void TVelmoraView::ScrollMessage(int Bar, TMessage& Message) {
  const int code = LOWORD(Message.WParam);
  const int current = Bar == SB_VERT ? scrollY_ : scrollX_;
  const int max = Bar == SB_VERT ? maxY_ : maxX_;
  int pos = current;
  switch (code) {
    case SB_LINEUP: pos = current - kLineStep; break;
    case SB_LINEDOWN: pos = current + kLineStep; break;
    case SB_PAGEUP: pos = current - kPageStep; break;
    case SB_PAGEDOWN: pos = current + kPageStep; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The message carries 16 bits; when the bar's own track position agrees with them, it is the
      // whole position.
      pos = HIWORD(Message.WParam);
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      if (HandleAllocated() && GetScrollInfo(Handle(), Bar, &info) && (info.nTrackPos & 0xFFFF) == pos)
        pos = info.nTrackPos;
      break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = max; break;
    default: break;
  }
  if (Bar == SB_VERT) SetScrollY(pos);
  else
    SetScrollX(pos);
  Message.Result = 0;
}

void TVelmoraView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_HSCROLL: return ScrollMessage(SB_HORZ, Message);
    case WM_VSCROLL: return ScrollMessage(SB_VERT, Message);
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      Update();
      return;
    case WM_PALETTECHANGED:
      // Another window's palette changed the screen's colours: the picture maps onto them afresh.
      if (HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) != Handle()) Invalidate();
      TCustomControl::WndProc(Message);
      return;
    default: TCustomControl::WndProc(Message);
  }
}

// ---- Painting --------------------------------------------------------------------------------

void TVelmoraView::Paint() {
  if (paintLock_) return;
  HDC dc = Canvas()->Handle();
  TBitmap& bitmap = Bitmap();
  const int pw = bitmap.Width(), ph = bitmap.Height();
  const int cw = ClientWidth(), ch = ClientHeight();
  HBRUSH background = CreateSolidBrush(ColorToRGB(static_cast<TColor>(Background())));
  // Nothing to stretch (no picture, or zoomed to nothing): the background alone.
  if (pw < 1 || ph < 1 || zoomedW_ <= 0 || zoomedH_ <= 0 || drawW_ <= 0 || drawH_ <= 0) {
    Fill(dc, 0, 0, cw, ch, background);
    DeleteObject(background);
    return;
  }
  if ((drawW_ < cw || drawH_ < ch) && !center_) {
    Fill(dc, drawW_, 0, cw, ch, background);
    Fill(dc, 0, drawH_, drawW_, ch, background);
  }
  int srcX = RoundInt(static_cast<long double>(pw) / zoomedW_ * scrollX_);
  int srcW = RoundInt(static_cast<long double>(pw) / zoomedW_ * drawW_);
  int srcY = RoundInt(static_cast<long double>(ph) / zoomedH_ * scrollY_);
  int srcH = RoundInt(static_cast<long double>(ph) / zoomedH_ * drawH_);
  srcX = std::clamp(srcX, 0, pw - 1);
  srcY = std::clamp(srcY, 0, ph - 1);
  srcW = std::clamp(srcW, 1, pw - srcX);
  srcH = std::clamp(srcH, 1, ph - srcY);
  if (center_) {
    Fill(dc, 0, 0, cw, offY_, background);
    Fill(dc, 0, offY_ + drawH_, cw, ch, background);
    Fill(dc, 0, offY_, offX_, offY_ + drawH_, background);
    Fill(dc, offX_ + drawW_, offY_, cw, offY_ + drawH_, background);
  }
  DeleteObject(background);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  std::vector<BYTE> info;
  if (DescribeBitmap(bitmap, info)) {
    // The memory is bottom-up: source rows count from the bottom.
    StretchDIBits(dc, offX_, offY_, drawW_, drawH_, srcX, ph - srcY - srcH, srcW, srcH, bitmap.ScanLine(ph - 1),
                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
  } else {
    StretchBlt(dc, offX_, offY_, drawW_, drawH_, bitmap.Canvas()->Handle(), srcX, srcY, srcW, srcH, SRCCOPY);
  }
  SetStretchBltMode(dc, oldMode);
  if (selected_ && phase_ > 0) DrawFrame();
}

// ---- Assign ----------------------------------------------------------------------------------

void TVelmoraView::Assign(TPersistent* Source) {
  if (!Source) {
    FillBitmap(Bitmap(), Background());
    Update();
    return;
  }
  if (auto* view = dynamic_cast<TVelmoraView*>(Source)) {
    if (view == this) return;
    CopyBitmap(view->Bitmap(), Bitmap());
    TVelmoraPicture::SetBackground(view->Background());
    SetDpi(view->DpiX(), view->DpiY());
    Update();
    ImageChange();
    return;
  }
  if (auto* source = dynamic_cast<TBitmap*>(Source)) {
    TBitmap& bitmap = Bitmap();
    bitmap.SetWidth(1);
    bitmap.SetHeight(1);
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetWidth(source->Width());
    bitmap.SetHeight(source->Height());
    bitmap.Canvas()->Draw(0, 0, source);
    Update();
    ImageChange();
  }
}

// ---- Mouse -----------------------------------------------------------------------------------

void TVelmoraView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  down_ = {X, Y};
  downScrollX_ = scrollX_;
  downScrollY_ = scrollY_;
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TVelmoraView::MouseMove(TShiftState Shift, int X, int Y) {
  if (MouseCapture()) {
    if (mouseInteract_.Contains(miScroll)) SetScroll(downScrollX_ + down_.x - X, downScrollY_ + down_.y - Y);
    else if (mouseInteract_.Contains(miSelect) || mouseInteract_.Contains(miSelectZoom))
      Select(down_.x, down_.y, X, Y);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TVelmoraView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (mouseInteract_.Contains(miZoom) && X == down_.x && Y == down_.y) {
    if (Button == mbLeft) ZoomAt(X, Y, ZoomInStep(zoom_));
    else if (Button == mbRight)
      ZoomAt(X, Y, ZoomOutStep(zoom_));
  } else if (mouseInteract_.Contains(miScroll)) {
    SetScroll(downScrollX_ + down_.x - X, downScrollY_ + down_.y - Y);
  } else if (mouseInteract_.Contains(miSelectZoom) && selected_) {
    ZoomToSelection();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TVelmoraView::ZoomToSelection() {
  const TRect r = SelectedRect();
  LockPaint();
  const auto fitX = static_cast<int>(Width() / ((r.right - r.left + 1) / 100.0L));
  const auto fitY = static_cast<int>(Height() / ((r.bottom - r.top + 1) / 100.0L));
  SetZoom(std::min(fitX, fitY));
  SetScroll(static_cast<int>(r.left * zoom_ / 100.0L), static_cast<int>(r.top * zoom_ / 100.0L));
  UnlockPaint();
}

// ---- Selection -------------------------------------------------------------------------------

TRect TVelmoraView::SelectedRect() const {
  const auto toBmp = [this](int v) { return RoundInt(v * 100.0L / zoom_); };
  return {toBmp(selection_.left), toBmp(selection_.top), toBmp(selection_.right), toBmp(selection_.bottom)};
}

void TVelmoraView::Select(int X1, int Y1, int X2, int Y2) {
  if (X1 == X2 || Y1 == Y2) {
    Deselect();
    return;
  }
  if (X1 > X2) std::swap(X1, X2);
  if (Y1 > Y2) std::swap(Y1, Y2);
  X2 = std::min(X2, ClientWidth() - 1);
  Y2 = std::min(Y2, ClientHeight() - 1);
  X1 = std::max(X1, 0);
  Y1 = std::max(Y1, 0);
  StopAnimation();
  const int limitX = std::max(0, RoundInt((Bitmap().Width() - 1) * zoom_ / 100.0L));
  const int limitY = std::max(0, RoundInt((Bitmap().Height() - 1) * zoom_ / 100.0L));
  const auto zx = [&](int x) { return std::clamp(x + scrollX_ - offX_, 0, limitX); };
  const auto zy = [&](int y) { return std::clamp(y + scrollY_ - offY_, 0, limitY); };
  selection_ = {zx(X1), zy(Y1), zx(X2), zy(Y2)};
  selected_ = true;
  StartAnimation();
}

void TVelmoraView::Deselect() {
  if (!selected_) return;
  StopAnimation();
  selected_ = false;
  Invalidate();
}

void TVelmoraView::StartAnimation() {
  phase_ = 0;
  selTimer_->SetOnTimer([this](TObject* Sender) { AnimationStep(Sender); });
  selTimer_->SetInterval(1);
  selTimer_->SetEnabled(true);
  AnimationStep(selTimer_);
}

void TVelmoraView::StopAnimation() {
  selTimer_->SetEnabled(false);
  selTimer_->SetInterval(0);
  selTimer_->SetOnTimer(nullptr);
  if (phaseDrawn_) Invalidate();
  phaseDrawn_ = false;
  phase_ = 0;
}

void TVelmoraView::AnimationStep(TObject*) {
  if (phase_ == 0) {
    if (animatedSel_) selTimer_->SetInterval(kAntsInterval);
    else
      selTimer_->SetEnabled(false);
  }
  if (++phase_ >= kFrameStep) phase_ = 1;
  if (!paintLock_ && HandleAllocated()) DrawFrame();
}

void TVelmoraView::DrawFrame() {
  HDC dc = Canvas()->Handle();
  const int left = selection_.left - scrollX_ + offX_, top = selection_.top - scrollY_ + offY_;
  const int right = selection_.right - scrollX_ + offX_, bottom = selection_.bottom - scrollY_ + offY_;
  phaseDrawn_ = true;
  if (right - left < kFrameStep || bottom - top < kFrameStep) {
    const int oldRop = SetROP2(dc, R2_NOT);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, left, top, right + 1, bottom + 1);
    SelectObject(dc, oldBrush);
    SetROP2(dc, oldRop);
    return;
  }
  HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, black);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, left, top, right + 1, bottom + 1);
  // White dots every other pixel, moving along with the phase.
  const COLORREF white = RGB(255, 255, 255);
  for (int x = left + phase_; x <= right; x += 2) {
    SetPixelV(dc, x, top, white);
    SetPixelV(dc, x, bottom, white);
  }
  for (int y = top + phase_; y <= bottom; y += 2) {
    SetPixelV(dc, left, y, white);
    SetPixelV(dc, right, y, white);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(black);
}
