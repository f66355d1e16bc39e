// Painting: a windowed control paints itself, then its window-less children on its own device
// context, each offset to its place and clipped to its bounds.
#include <algorithm>
#include <vector>

#include "vcl/controls.h"
#include "vcl/scope_exit.h"

namespace {

// Control canvases holding a device context outside painting; given back when idle.
std::vector<TControlCanvas*>& LiveCanvases() {
  static std::vector<TControlCanvas*> list;
  return list;
}

bool Overlaps(HDC dc, const TRect& r) {
  RECT clip;
  int kind = GetClipBox(dc, &clip);
  if (kind == ERROR || kind == NULLREGION) return false;
  return r.left < clip.right && clip.left < r.right && r.top < clip.bottom && clip.top < r.bottom;
}

struct TPaintScope {
  HWND window = nullptr;
  PAINTSTRUCT paint{};
  HDC dc = nullptr;
  TPaintScope(HWND w, HDC given) : window(given ? nullptr : w), dc(given ? given : BeginPaint(w, &paint)) {}
  ~TPaintScope() {
    if (window) EndPaint(window, &paint);
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
};

}  // namespace

void TWinControl::PaintHandler(TMessage& Message) {
  FreeDeviceContexts();
  TPaintScope scope(handle_, reinterpret_cast<HDC>(Message.WParam));
  HDC dc = scope.dc;
  if (controls_.empty()) return PaintWindow(dc);
  int saved = SaveDC(dc);
  // Opaque children cover their place: the window need not paint under them.
  for (TControl* c : controls_)
    if (c->Visible() && c->ControlStyle().Contains(csOpaque)) {
      TRect r = c->BoundsRect();
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
  {
    ScopeExit restoreDC([&] { RestoreDC(dc, saved); });
    PaintWindow(dc);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto start = First ? std::find(controls_.begin(), controls_.end(), First) : controls_.begin();
  if (start == controls_.end()) start = controls_.begin();
  for (auto it = start; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (!c->Visible()) continue;
    TRect r = c->BoundsRect();
    if (!Overlaps(DC, r)) continue;
    int saved = SaveDC(DC);
    IntersectClipRect(DC, r.left, r.top, r.right, r.bottom);
    OffsetViewportOrgEx(DC, r.left, r.top, nullptr);
    {
      ScopeExit restoreDC([&] { RestoreDC(DC, saved); });
      c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
  }
}

void TWinControl::PaintWindow(HDC DC) {
  if (DefWndProc && DefWndProc != DefWindowProcA) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    DefaultHandler(m);
  }
}

void TWinControl::EraseBackground(TMessage& Message) {
  TRect r = ClientRect();
  FillRect(reinterpret_cast<HDC>(Message.WParam), &r, brush_->Handle());
  Message.Result = 1;
}

// ---- TControlCanvas ---------------------------------------------------------------------------
TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* AControl) {
  if (control_ == AControl) return;
  FreeHandle();
  control_ = AControl;
}

void TControlCanvas::CreateHandle() {
  if (!control_) return;
  TWinControl* windowed = dynamic_cast<TWinControl*>(control_);
  TWinControl* owner = windowed ? windowed : control_->Parent();
  if (!owner) throw EInvalidOperation(Format("Control '%s' has no parent window", {control_->Name()}));
  window_ = owner->Handle();
  deviceContext_ = GetDC(window_);
  if (!windowed) {
    TRect r = control_->BoundsRect();
    IntersectClipRect(deviceContext_, r.left, r.top, r.right, r.bottom);
    SetViewportOrgEx(deviceContext_, r.left, r.top, nullptr);
  }
  LiveCanvases().push_back(this);
  SetHandle(deviceContext_);
}

void TControlCanvas::FreeHandle() {
  if (!deviceContext_) return;
  HDC dc = deviceContext_;
  deviceContext_ = nullptr;
  auto& live = LiveCanvases();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (Handle() == dc) SetHandle(nullptr);
  ReleaseDC(window_, dc);
  window_ = nullptr;
}

void FreeDeviceContexts() {
  std::vector<TControlCanvas*> live = LiveCanvases();
  for (TControlCanvas* canvas : live)
    if (canvas->LockCount() == 0) canvas->FreeHandle();
}

// ---- TGraphicControl and TCustomControl -----------------------------------------------------------
TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), canvas_(new TControlCanvas) {
  canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() { delete canvas_; }

void TGraphicControl::WndProc(TMessage& Message) {
  if (Message.Msg != WM_PAINT || !Message.WParam) return TControl::WndProc(Message);
  canvas_->FreeHandle();
  canvas_->Lock();
  canvas_->SetHandle(reinterpret_cast<HDC>(Message.WParam));
  {
    ScopeExit unlock([&] {
      canvas_->SetHandle(nullptr);
      canvas_->Unlock();
    });
    Paint();
  }
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), canvas_(new TControlCanvas) {
  canvas_->SetControl(this);
}

TCustomControl::~TCustomControl() { delete canvas_; }

void TCustomControl::PaintWindow(HDC DC) {
  canvas_->FreeHandle();
  canvas_->Lock();
  canvas_->SetHandle(DC);
  {
    ScopeExit unlock([&] {
      canvas_->SetHandle(nullptr);
      canvas_->Unlock();
    });
    Paint();
  }
}
