// TPageControl and TTabSheet: a row of tabs over (or under) a raised frame; the active page fills
// the frame's interior.
#include <algorithm>

#include "vcl/comctrls.h"
#include "vcl/forms.h"
#include "vcl/imglist.h"
#include "win32/dialogs.h"

namespace {

constexpr int kTabStart = 2;  // the first tab's left edge
constexpr int kTabPadding = 12;  // text to the tab's sides, both together
constexpr int kImageGap = 3;  // image to text
constexpr int kPageInset = 4;  // frame to page

void Line(HDC dc, TColor color, int x1, int y1, int x2, int y2) {
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// Measures without a window, so the layout is known before the control has one.
SIZE TextSize(TFont* font, const std::string& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

}  // namespace

// ---- TTabSheet --------------------------------------------------------------------------------
TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetParentColor(true);
  SetVisible(false);
  SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  TWinControl::SetParent(AParent);
  auto* pages = dynamic_cast<TPageControl*>(AParent);
  if (pages == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = pages;
  if (pageControl_) pageControl_->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (pageControl_) pageControl_->MovePage(this, Value);
}

void TTabSheet::SetImageIndex(int Value) {
  if (imageIndex_ == Value) return;
  imageIndex_ = Value;
  if (pageControl_) pageControl_->Invalidate();
}

void TTabSheet::SetTabVisible(bool Value) {
  if (tabVisible_ == Value) return;
  tabVisible_ = Value;
  if (pageControl_) pageControl_->Invalidate();
}

void TTabSheet::WndProc(TMessage& Message) {
  TWinControl::WndProc(Message);
  if (Message.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->Invalidate();
}

// ---- TPageControl -----------------------------------------------------------------------------
TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csDoubleClicks});
  SetColor(clBtnFace);
  SetTabStop(true);
  SetBounds(Left(), Top(), 289, 193);
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page) {
  pages_.push_back(Page);
  if (!activePage_ && !ComponentState().Contains(csLoading)) SetActivePage(Page);
  Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto at = std::find(pages_.begin(), pages_.end(), Page);
  if (at == pages_.end()) return;
  const auto index = at - pages_.begin();
  pages_.erase(at);
  if (hotTab_ >= PageCount()) hotTab_ = -1;
  if (activePage_ == Page) {
    activePage_ = nullptr;
    if (!pages_.empty() && !ComponentState().Contains(csDestroying))
      ShowPage(pages_[static_cast<size_t>(std::min<std::ptrdiff_t>(index, PageCount() - 1))]);
  }
  Invalidate();
}

void TPageControl::MovePage(TTabSheet* Page, int Index) {
  auto at = std::find(pages_.begin(), pages_.end(), Page);
  if (at == pages_.end()) return;
  pages_.erase(at);
  Index = std::clamp(Index, 0, PageCount());
  pages_.insert(pages_.begin() + Index, Page);
  Invalidate();
}

void TPageControl::Loaded() {
  TCustomControl::Loaded();
  if (!activePage_ && !pages_.empty()) SetActivePage(pages_.front());
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

void TPageControl::SetImages(TImageList* Value) {
  if (images_ == Value) return;
  images_ = Value;
  if (images_) images_->FreeNotification(this);
  Invalidate();
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? Pages(Value) : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->PageControl() != this) return;
  ShowPage(Page);
}

void TPageControl::ShowPage(TTabSheet* Page) {
  if (Page == activePage_) return;
  TTabSheet* old = activePage_;
  activePage_ = Page;
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
    Realign();
  }
  if (old) {
    // The focus must not stay on a control that is no longer shown.
    if (TCustomForm* form = GetParentForm(this))
      if (TWinControl* active = form->ActiveControl(); active && (active == old || old->ContainsControl(active)))
        form->SetActiveControl(CanFocus() ? this : nullptr);
    old->SetVisible(false);
  }
  Invalidate();
}

bool TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (Page == activePage_) return true;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return false;
  ShowPage(Page);
  if (OnChange) OnChange(this);
  return true;
}

void TPageControl::SelectNextPage(bool GoForward) {
  const int count = PageCount();
  if (count == 0) return;
  int index = ActivePageIndex();
  if (index < 0) index = GoForward ? count - 1 : 0;
  for (int step = 0; step < count; ++step) {
    index = (index + (GoForward ? 1 : count - 1)) % count;
    if (Pages(index)->TabVisible()) {
      ChangeActivePage(Pages(index));
      return;
    }
  }
}

void TPageControl::SetTabPosition(TTabPosition Value) {
  if (tabPosition_ == Value) return;
  tabPosition_ = Value;
  Realign();
  Invalidate();
}

int TPageControl::TabHeight() {
  int height = TextSize(Font(), "Ag").cy;
  if (images_) height = std::max(height, images_->Height());
  return height + 6;
}

TRect TPageControl::TabRect(int Index) {
  if (Index < 0 || Index >= PageCount() || !Pages(Index)->TabVisible()) return {0, 0, 0, 0};
  const int height = TabHeight();
  const int top = tabPosition_ == tpTop ? 2 : ClientHeight() - 2 - height;
  int x = kTabStart;
  for (int i = 0; i < PageCount(); ++i) {
    TTabSheet* page = Pages(i);
    if (!page->TabVisible()) continue;
    int width = TextSize(Font(), page->Caption()).cx + kTabPadding;
    if (images_ && page->ImageIndex() >= 0) width += images_->Width() + kImageGap;
    if (i == Index) return {x, top, x + width, top + height};
    x += width;
  }
  return {0, 0, 0, 0};
}

int TPageControl::IndexOfTabAt(int X, int Y) {
  for (int i = 0; i < PageCount(); ++i) {
    TRect r = TabRect(i);
    if (i == ActivePageIndex()) r = {r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
    if (X >= r.left && X < r.right && Y >= r.top && Y < r.bottom) return i;
  }
  return -1;
}

TRect TPageControl::DisplayRect() {
  const int row = TabHeight() + 2;
  TRect r = ClientRect();
  if (tabPosition_ == tpTop) r.top += row;
  else
    r.bottom -= row;
  return {r.left + kPageInset, r.top + kPageInset, std::max(r.left + kPageInset, r.right - kPageInset),
          std::max(r.top + kPageInset, r.bottom - kPageInset)};
}

void TPageControl::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = DisplayRect();
  TCustomControl::AlignControls(AControl, Rect);
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int index = IndexOfTabAt(X, Y);
  if (index < 0) return;
  if (CanFocus()) SetFocus();
  ChangeActivePage(Pages(index));
}

void TPageControl::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!hotTrack_) return;
  const int hot = IndexOfTabAt(X, Y);
  if (hot == hotTab_) return;
  hotTab_ = hot;
  Invalidate();
}

void TPageControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case CM_MOUSELEAVE:
      if (hotTab_ >= 0) {
        hotTab_ = -1;
        Invalidate();
      }
      break;
    case CM_DIALOGKEY:
      // Ctrl+Tab turns the pages wherever the focus is on them.
      if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && IsVisible() && Enabled()) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
      }
      break;
    case WM_KEYDOWN:
      if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT || Message.WParam == VK_UP ||
          Message.WParam == VK_DOWN) {
        WORD key = static_cast<WORD>(Message.WParam);
        if (OnKeyDown) OnKeyDown(this, key, KeyDataToShiftState(Message.LParam));
        if (key) SelectNextPage(key == VK_RIGHT || key == VK_DOWN);
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TPageControl::PaintTab(int Index, const TRect& Rect, bool Selected) {
  HDC dc = Canvas()->Handle();
  TRect r = Rect;
  const bool top = tabPosition_ == tpTop;
  if (Selected) r = {r.left - 2, top ? r.top - 2 : r.top - 1, r.right + 2, top ? r.bottom + 1 : r.bottom + 2};
  Canvas()->Brush()->SetColor(clBtnFace);
  Canvas()->FillRect({r.left + 1, top ? r.top + 1 : r.top, r.right - 1, top ? r.bottom : r.bottom - 1});
  if (top) {
    Line(dc, clBtnHighlight, r.left, r.bottom - 1, r.left, r.top + 1);
    Line(dc, clBtnHighlight, r.left + 1, r.top + 1, r.left + 2, r.top);
    Line(dc, clBtnHighlight, r.left + 2, r.top, r.right - 2, r.top);
    Line(dc, cl3DDkShadow, r.right - 2, r.top + 1, r.right - 1, r.top + 2);
    Line(dc, cl3DDkShadow, r.right - 1, r.top + 2, r.right - 1, r.bottom);
    Line(dc, clBtnShadow, r.right - 2, r.top + 2, r.right - 2, r.bottom);
  } else {
    Line(dc, clBtnHighlight, r.left, r.top, r.left, r.bottom - 2);
    Line(dc, cl3DDkShadow, r.left + 1, r.bottom - 2, r.left + 2, r.bottom - 1);
    Line(dc, cl3DDkShadow, r.left + 2, r.bottom - 1, r.right - 2, r.bottom - 1);
    Line(dc, clBtnShadow, r.left + 2, r.bottom - 2, r.right - 2, r.bottom - 2);
    Line(dc, cl3DDkShadow, r.right - 2, r.bottom - 2, r.right - 1, r.bottom - 3);
    Line(dc, cl3DDkShadow, r.right - 1, r.bottom - 3, r.right - 1, r.top - 1);
    Line(dc, clBtnShadow, r.right - 2, r.bottom - 3, r.right - 2, r.top - 1);
  }

  TTabSheet* page = Pages(Index);
  Canvas()->Font()->Assign(Font());
  const std::string caption = page->Caption();
  const bool image = images_ && page->ImageIndex() >= 0;
  const int textWidth = Canvas()->TextWidth(caption), textHeight = Canvas()->TextHeight("Ag");
  int x = (Rect.left + Rect.right - textWidth - (image ? images_->Width() + kImageGap : 0)) / 2;
  const int lift = Selected ? (top ? -1 : 1) : 0;
  if (image) {
    images_->Draw(Canvas(), x, (Rect.top + Rect.bottom - images_->Height()) / 2 + lift, page->ImageIndex());
    x += images_->Width() + kImageGap;
  }
  const int y = (Rect.top + Rect.bottom - textHeight) / 2 + lift;
  if (Index == hotTab_ && hotTrack_) Canvas()->Font()->SetColor(clHighlight);
  if (!Enabled()) Canvas()->Font()->SetColor(clGrayText);
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->TextOut(x, y, caption);
  Canvas()->Brush()->SetStyle(bsSolid);
  if (Selected && Focused()) Canvas()->DrawFocusRect({x - 3, y - 1, x + textWidth + 3, y + textHeight + 1});
}

void TPageControl::Paint() {
  const TRect client = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(client);
  HDC dc = Canvas()->Handle();
  const int row = TabHeight() + 2;
  TRect frame = client;
  if (tabPosition_ == tpTop) frame.top += row;
  else
    frame.bottom -= row;
  Line(dc, clBtnHighlight, frame.left, frame.bottom - 1, frame.left, frame.top);
  Line(dc, clBtnHighlight, frame.left, frame.top, frame.right - 1, frame.top);
  Line(dc, cl3DDkShadow, frame.right - 1, frame.top, frame.right - 1, frame.bottom - 1);
  Line(dc, cl3DDkShadow, frame.left, frame.bottom - 1, frame.right, frame.bottom - 1);
  Line(dc, clBtnShadow, frame.right - 2, frame.top + 1, frame.right - 2, frame.bottom - 2);
  Line(dc, clBtnShadow, frame.left + 1, frame.bottom - 2, frame.right - 1, frame.bottom - 2);
  const int active = ActivePageIndex();
  for (int i = 0; i < PageCount(); ++i)
    if (i != active && Pages(i)->TabVisible()) PaintTab(i, TabRect(i), false);
  // The selected tab last: it overlaps its neighbours and opens into the frame.
  if (active >= 0 && activePage_->TabVisible()) PaintTab(active, TabRect(active), true);
}

// ---- Published properties ---------------------------------------------------------------------
const TTypeInfo TypeInfo_TTabPosition{"TTabPosition", tkEnumeration, {"tpTop", "tpBottom"}};
const TTypeInfo TypeInfo_TTabChangingEvent{"TTabChangingEvent", tkMethod};

const TClassInfo& TTabSheet::StaticClassInfo() {
  using C = TTabSheet;
  static const TClassInfo info("TTabSheet", &TWinControl::StaticClassInfo(),
                               {OrdProperty<C>("ImageIndex", TypeInfo_Integer, &C::ImageIndex, &C::SetImageIndex, -1),
                                OrdProperty<C>("PageIndex", TypeInfo_Integer, &C::PageIndex, &C::SetPageIndex),
                                OrdProperty<C>("TabVisible", TypeInfo_Boolean, &C::TabVisible, &C::SetTabVisible, true),
                                ObjectProperty<C, TPageControl>("PageControl", &C::PageControl, &C::SetPageControl)},
                               {}, CreateComponent<C>);
  return info;
}

const TClassInfo& TPageControl::StaticClassInfo() {
  using C = TPageControl;
  static const TClassInfo info(
      "TPageControl", &TCustomControl::StaticClassInfo(),
      {ObjectProperty<C, TTabSheet>("ActivePage", &C::ActivePage, &C::SetActivePage),
       OrdProperty<C>("TabPosition", TypeInfo_TTabPosition, &C::TabPosition, &C::SetTabPosition, tpTop),
       OrdProperty<C>("HotTrack", TypeInfo_Boolean, &C::HotTrack, &C::SetHotTrack, false),
       ObjectProperty<C, TImageList>("Images", &C::Images, &C::SetImages),
       EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange),
       EventProperty<C>("OnChanging", TypeInfo_TTabChangingEvent, &C::OnChanging)},
      {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool pageClassesRegistered =
    (RegisterClass(TTabSheet::StaticClassInfo()), RegisterClass(TPageControl::StaticClassInfo()), true);
