// TStatusBar: a simple panel or a row of panels, sunken, with a size grip at the right end.
#include <algorithm>

#include "vcl/comctrls.h"
#include "vcl/forms.h"

namespace {

constexpr int kGripSize = 12;
constexpr int kPanelGap = 2;

}  // namespace

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 200, 19);
  SetAlign(alBottom);
}

void TStatusBar::SetSimplePanel(bool Value) {
  if (simplePanel_ == Value) return;
  simplePanel_ = Value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& Value) {
  if (simpleText_ == Value) return;
  simpleText_ = Value;
  if (simplePanel_) RepaintNow();
}

void TStatusBar::SetSizeGrip(bool Value) {
  if (sizeGrip_ == Value) return;
  sizeGrip_ = Value;
  Invalidate();
}

TStatusPanel& TStatusBar::AddPanel() {
  panels_.emplace_back();
  Invalidate();
  return panels_.back();
}

void TStatusBar::SetPanelText(int Index, const std::string& Value) {
  TStatusPanel& panel = Panels(Index);
  if (panel.Text == Value) return;
  panel.Text = Value;
  if (!simplePanel_) RepaintNow();
}

void TStatusBar::RepaintNow() {
  Invalidate();
  if (HandleAllocated() && IsVisible()) UpdateWindow(Handle());
}

// The grip belongs to a bar at the bottom of a sizeable form.
bool TStatusBar::GripShown() {
  TCustomForm* form = dynamic_cast<TCustomForm*>(Parent());
  return sizeGrip_ && form && form->BorderStyle() == bsSizeable && Align() == alBottom;
}

std::vector<TRect> TStatusBar::PanelRects() {
  const TRect client = ClientRect();
  const int top = client.top + 2, bottom = client.bottom;
  const int end = client.right - (GripShown() ? kGripSize : 0);
  if (simplePanel_ || panels_.empty()) return {{client.left, top, std::max(client.left, end), bottom}};
  std::vector<TRect> rects;
  int x = client.left;
  for (size_t i = 0; i < panels_.size(); ++i) {
    const bool last = i + 1 == panels_.size();
    const int right = last ? std::max(x, end) : x + panels_[i].Width;
    rects.push_back({x, top, right, bottom});
    x = right + kPanelGap;
  }
  return rects;
}

void TStatusBar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SIZE) Invalidate();
  TCustomControl::WndProc(Message);
}

void TStatusBar::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  canvas->Font()->Assign(Font());
  const std::vector<TRect> rects = PanelRects();
  HDC dc = canvas->Handle();
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r = rects[i];
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    const std::string& text = simplePanel_ || panels_.empty() ? simpleText_ : panels_[i].Text;
    canvas->Brush()->SetStyle(bsClear);
    TRect inner{rects[i].left + 1, rects[i].top + 1, rects[i].right - 1, rects[i].bottom - 1};
    canvas->TextRect(inner, inner.left + 2, (inner.top + inner.bottom - canvas->TextHeight("Ag")) / 2, text);
    canvas->Brush()->SetStyle(bsSolid);
  }
  if (!GripShown()) return;
  // Three groups of diagonals in the bottom right corner: light, then two dark.
  auto diagonal = [&](TColor color, int k) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, client.right - 1, client.bottom - 1 - k, nullptr);
    LineTo(dc, client.right - 2 - k, client.bottom);
    SelectObject(dc, old);
    DeleteObject(pen);
  };
  for (int k = kGripSize - 1; k > 0; k -= 4) {
    diagonal(clBtnHighlight, k);
    diagonal(clBtnShadow, k - 1);
    diagonal(clBtnShadow, k - 2);
  }
}

const TClassInfo& TStatusBar::StaticClassInfo() {
  using C = TStatusBar;
  static const TClassInfo info(
      "TStatusBar", &TCustomControl::StaticClassInfo(),
      {OrdProperty<C>("SimplePanel", TypeInfo_Boolean, &C::SimplePanel, &C::SetSimplePanel, false),
       StrProperty<C>("SimpleText", &C::SimpleText, &C::SetSimpleText),
       OrdProperty<C>("SizeGrip", TypeInfo_Boolean, &C::SizeGrip, &C::SetSizeGrip, true)},
      {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool statusBarClassRegistered = (RegisterClass(TStatusBar::StaticClassInfo()), true);
