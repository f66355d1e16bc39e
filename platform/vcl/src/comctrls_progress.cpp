// TProgressBar: blocks of the highlight colour in a sunken well, drawn at once when moved.
#include <algorithm>

#include "vcl/comctrls.h"

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 150, 16);
}

void TProgressBar::SetMin(int Value) {
  if (min_ == Value) return;
  min_ = Value;
  if (max_ < min_) max_ = min_;
  position_ = std::clamp(position_, min_, max_);
  PaintNow();
}

void TProgressBar::SetMax(int Value) {
  if (max_ == Value) return;
  max_ = Value;
  if (min_ > max_) min_ = max_;
  position_ = std::clamp(position_, min_, max_);
  PaintNow();
}

void TProgressBar::SetPosition(int Value) {
  Value = std::clamp(Value, min_, max_);
  if (position_ == Value) return;
  position_ = Value;
  PaintNow();
}

void TProgressBar::StepBy(int Delta) { SetPosition(position_ + Delta); }

void TProgressBar::StepIt() {
  int next = position_ + step_;
  if (next > max_) next = min_ + (next - max_);
  if (next < min_) next = max_ - (min_ - next);
  SetPosition(next);
}

int TProgressBar::FilledWidth() {
  const int inner = std::max(0, ClientWidth() - 2);
  if (max_ <= min_) return 0;
  return static_cast<int>(static_cast<long long>(inner) * (position_ - min_) / (max_ - min_));
}

// Work that moves the bar rarely lets the message loop run: the bar is painted into the window
// now, and a wait of one millisecond lets the USER layer show what was drawn.
void TProgressBar::PaintNow() {
  if (!HandleAllocated() || !IsVisible()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, 0);
}

void TProgressBar::Paint() {
  TCanvas* canvas = Canvas();
  TRect client = ClientRect();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  RECT well = client;
  DrawEdge(canvas->Handle(), &well, BDR_SUNKENOUTER, BF_RECT);
  const int top = client.top + 1, bottom = client.bottom - 1;
  const int blockWidth = std::max(2, (bottom - top) * 2 / 3), gap = 2;
  const int end = client.left + 1 + FilledWidth();
  canvas->Brush()->SetColor(clHighlight);
  for (int x = client.left + 2; x < end; x += blockWidth + gap)
    canvas->FillRect({x, top + 1, std::min(x + blockWidth, end), bottom - 1});
}

const TClassInfo& TProgressBar::StaticClassInfo() {
  using C = TProgressBar;
  static const TClassInfo info("TProgressBar", &TCustomControl::StaticClassInfo(),
                               {OrdProperty<C>("Min", TypeInfo_Integer, &C::Min, &C::SetMin, 0),
                                OrdProperty<C>("Max", TypeInfo_Integer, &C::Max, &C::SetMax, 100),
                                OrdProperty<C>("Position", TypeInfo_Integer, &C::Position, &C::SetPosition, 0),
                                OrdProperty<C>("Step", TypeInfo_Integer, &C::Step, &C::SetStep, 10)},
                               {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool progressBarClassRegistered = (RegisterClass(TProgressBar::StaticClassInfo()), true);
