// SSTab: a row of tabs, each over a page that holds that tab's controls.
#include "vbrun/controls.h"

namespace vb {
namespace {

constexpr int kTabHeight = 20;

}  // namespace

SSTab::SSTab(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  SetControlStyle(ControlStyle().Include(csAcceptsControls));
}

void SSTab::SetTabs(const std::vector<std::string>& captions) {
  captions_ = captions;
  while (pages_.size() < captions.size()) {
    auto* page = new TCustomControl(this);
    page->SetColor(clBtnFace);
    page->SetParent(this);
    pages_.push_back(page);
  }
  PlacePages();
  SetTab(0);
}

void SSTab::SetTab(int index) {
  if (index < 0 || index >= Tabs()) Raise(vbErrInvalidProperty);
  tab_ = index;
  for (int i = 0; i < Tabs(); ++i) pages_[static_cast<size_t>(i)]->SetVisible(i == index);
  Invalidate();
}

int SSTab::TabWidth() { return Tabs() ? Width() / Tabs() : 0; }

int SSTab::TabAt(int x, int y) {
  if (y < 0 || y >= kTabHeight || x < 0 || TabWidth() == 0) return -1;
  const int index = x / TabWidth();
  return index < Tabs() ? index : -1;
}

void SSTab::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  PlacePages();
}

void SSTab::PlacePages() {
  for (TWinControl* page : pages_) page->SetBounds(3, kTabHeight + 3, Width() - 6, Height() - kTabHeight - 6);
}

void SSTab::WndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDOWN) {
    const int x = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(Message.LParam)));
    const int y = static_cast<short>(HIWORD(static_cast<DWORD_PTR>(Message.LParam)));
    if (const int tab = TabAt(x, y); tab >= 0) SetTab(tab);
    Message.Result = 0;
    return;
  }
  TCustomControl::WndProc(Message);
}

void SSTab::Paint() {
  const TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  RECT body{0, kTabHeight, r.right, r.bottom};
  DrawEdge(Canvas()->Handle(), &body, EDGE_RAISED, BF_RECT);
  Canvas()->SetFont(Font());
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  const int w = TabWidth();
  for (int i = 0; i < Tabs(); ++i) {
    RECT tab{i * w, i == tab_ ? 0 : 2, (i + 1) * w, kTabHeight + (i == tab_ ? 1 : 0)};
    Canvas()->FillRect(tab);
    DrawEdge(Canvas()->Handle(), &tab, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
    const std::string& caption = captions_[static_cast<size_t>(i)];
    Canvas()->TextOut(i * w + (w - Canvas()->TextWidth(caption)) / 2, tab.top + 3, caption);
  }
}

}  // namespace vb
