// List boxes.
#include <utility>
#include <vector>

#include "stdctrls_draw.h"
#include "win32/item_search.h"
#include "win32/scrollbar_draw.h"

// The items of a list box, kept in the list box's order.
class TListItems : public TStrings {
 public:
  explicit TListItems(TCustomListBox* Owner) : owner_(Owner) {}
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int Index) const override { return items_.at(Check(Index)).first; }
  void Put(int Index, const std::string& S) override {
    TObject* object = Objects(Index);
    Delete(Index);
    InsertObject(Index, S, object);
  }
  TObject* Objects(int Index) const override { return items_.at(Check(Index)).second; }
  void PutObject(int Index, TObject* AObject) override { items_.at(Check(Index)).second = AObject; }
  void Clear() override {
    items_.clear();
    owner_->itemIndex_ = -1;
    owner_->topIndex_ = 0;
    Changed();
  }
  void Delete(int Index) override {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(Check(Index)));
    if (owner_->itemIndex_ == Index) owner_->itemIndex_ = -1;
    else if (owner_->itemIndex_ > Index)
      --owner_->itemIndex_;
    Changed();
  }
  void Insert(int Index, const std::string& S) override {
    if (Index < 0 || Index > Count()) throw EStringListError("List index out of bounds (%d)", {Index});
    items_.insert(items_.begin() + Index, {S, nullptr});
    if (owner_->itemIndex_ >= Index) ++owner_->itemIndex_;
    Changed();
  }
  int Add(const std::string& S) override {
    int index = Count();
    if (owner_->sorted_) {
      index = 0;
      while (index < Count() && CompareText(items_[static_cast<size_t>(index)].first, S) <= 0) ++index;
    }
    Insert(index, S);
    return index;
  }
  void Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
    Changed();
  }

 protected:
  void SetUpdateState(bool Updating) override {
    if (!Updating) owner_->ItemsChanged();
  }

 private:
  size_t Check(int Index) const {
    if (Index < 0 || Index >= Count()) throw EStringListError("List index out of bounds (%d)", {Index});
    return static_cast<size_t>(Index);
  }
  void Changed() {
    if (UpdateCount() == 0) owner_->ItemsChanged();
  }
  TCustomListBox* owner_;
  std::vector<std::pair<std::string, TObject*>> items_;
};

namespace {
constexpr int kScrollWidth = 16;
constexpr UINT_PTR kScrollTimer = 2;
}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner), items_(new TListItems(this)) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() { delete items_; }

TStrings* TCustomListBox::Items() const { return items_; }
void TCustomListBox::SetItems(TStrings* Value) { items_->Assign(Value); }

void TCustomListBox::Clear() { items_->Clear(); }

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (borderStyle_ == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  sorted_ = Value;
  if (Value) items_->Sort();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  ItemsChanged();
}

int TCustomListBox::ItemHeight() {
  if (style_ != lbStandard) return itemHeight_;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  const int h = stdctrls::LineHeight(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  return h;
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value < 1 || itemHeight_ == Value) return;
  itemHeight_ = Value;
  ItemsChanged();
}

int TCustomListBox::VisibleRows() { return std::max(1, ClientHeight() / ItemHeight()); }

bool TCustomListBox::HasScrollBar() { return items_->Count() > VisibleRows(); }

TRect TCustomListBox::ScrollBarRect() { return {ClientWidth() - kScrollWidth, 0, ClientWidth(), ClientHeight()}; }

void TCustomListBox::ItemsChanged() {
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  SetTopIndex(topIndex_);
  Invalidate();
}

void TCustomListBox::SetTopIndex(int Value) {
  Value = std::max(0, std::min(Value, items_->Count() - VisibleRows()));
  if (topIndex_ == Value) return;
  topIndex_ = Value;
  Invalidate();
}

void TCustomListBox::MakeVisible(int Index) {
  if (Index < 0) return;
  if (Index < topIndex_) SetTopIndex(Index);
  else if (Index >= topIndex_ + VisibleRows())
    SetTopIndex(Index - VisibleRows() + 1);
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= items_->Count()) Value = -1;
  if (itemIndex_ == Value) return;
  itemIndex_ = Value;
  MakeVisible(Value);
  Invalidate();
}

void TCustomListBox::SelectionChanged() { Click(); }

void TCustomListBox::UserSelect(int Index) {
  Index = std::max(0, std::min(Index, items_->Count() - 1));
  if (items_->Count() == 0 || Index == itemIndex_) return;
  SetItemIndex(Index);
  SelectionChanged();
}

TRect TCustomListBox::ItemRect(int Index) {
  const int h = ItemHeight(), top = (Index - topIndex_) * h;
  const int right = HasScrollBar() ? ClientWidth() - kScrollWidth : ClientWidth();
  return {0, top, right, top + h};
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  const int index = topIndex_ + Pos.y / ItemHeight();
  if (Pos.y < 0 || index >= items_->Count()) return Existing ? -1 : items_->Count();
  return index;
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) return OnDrawItem(this, Index, Rect, State);
  Canvas()->FillRect(Rect);
  Canvas()->TextOut(Rect.left + 2, Rect.top, items_->Get(Index));
}

void TCustomListBox::DrawOneItem(HDC DC, int Index, const RECT& Rect) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_LISTBOX;
  dis.itemID = static_cast<UINT>(Index);
  dis.itemAction = ODA_DRAWENTIRE;
  if (Index == itemIndex_) dis.itemState |= ODS_SELECTED;
  if (Index == itemIndex_ && Focused()) dis.itemState |= ODS_FOCUS;
  if (!Enabled()) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = Handle();
  dis.hDC = DC;
  dis.rcItem = Rect;
  dis.itemData = reinterpret_cast<ULONG_PTR>(items_->Objects(Index));
  Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

void TCustomListBox::Paint() {
  HDC dc = Canvas()->Handle();
  const int rows = VisibleRows() + 1;
  for (int i = topIndex_; i < std::min(items_->Count(), topIndex_ + rows); ++i) DrawOneItem(dc, i, ItemRect(i));
  // Below the last item the list shows its colour.
  TRect rest = ItemRect(std::min(items_->Count(), topIndex_ + rows));
  rest.bottom = ClientHeight();
  if (rest.top < rest.bottom) FillRect(dc, &rest, Brush()->Handle());
  if (HasScrollBar()) {
    const scrollbar::Geometry g{ScrollBarRect(), true, 0, items_->Count() - VisibleRows(), topIndex_, VisibleRows()};
    scrollbar::DrawScrollBar(dc, g, static_cast<scrollbar::Part>(scrollPart_), Enabled());
  }
}

void TCustomListBox::HandleScrollBar(UINT Msg, TPoint Pos) {
  const scrollbar::Geometry g{ScrollBarRect(), true, 0, items_->Count() - VisibleRows(), topIndex_, VisibleRows()};
  auto step = [this](int part) {
    if (part == scrollbar::kLineUp) SetTopIndex(topIndex_ - 1);
    if (part == scrollbar::kLineDown) SetTopIndex(topIndex_ + 1);
    if (part == scrollbar::kPageUp) SetTopIndex(topIndex_ - VisibleRows());
    if (part == scrollbar::kPageDown) SetTopIndex(topIndex_ + VisibleRows());
  };
  if (Msg == WM_LBUTTONDOWN) {
    scrollPart_ = scrollbar::ScrollPartAt(g, Pos);
    thumbGrip_ = Pos.y - scrollbar::ThumbRect(g).top;
    SetCapture(Handle());
    step(scrollPart_);
    if (scrollPart_ != scrollbar::kThumb) SetTimer(Handle(), kScrollTimer, 400, nullptr);
  } else if (Msg == WM_MOUSEMOVE && scrollPart_ == scrollbar::kThumb) {
    SetTopIndex(scrollbar::PosAtThumb(g, Pos.y - thumbGrip_));
  } else if (Msg == WM_TIMER) {
    SetTimer(Handle(), kScrollTimer, 100, nullptr);
    if (scrollbar::ScrollPartAt(g, Pos) == scrollPart_) step(scrollPart_);
  } else if (Msg == WM_LBUTTONUP) {
    KillTimer(Handle(), kScrollTimer);
    scrollPart_ = scrollbar::kNowhere;
    ReleaseCapture();
  }
  Invalidate();
}

void TCustomListBox::HandleKey(WORD Key) {
  const int rows = VisibleRows();
  switch (Key) {
    case VK_UP: return UserSelect(itemIndex_ - 1);
    case VK_DOWN: return UserSelect(itemIndex_ + 1);
    case VK_PRIOR: return UserSelect(itemIndex_ - rows + 1);
    case VK_NEXT: return UserSelect(itemIndex_ + rows - 1);
    case VK_HOME: return UserSelect(0);
    case VK_END: return UserSelect(items_->Count() - 1);
    default: return;
  }
}

void TCustomListBox::HandleChar(char Key) {
  const int i =
      itemsearch::NextByFirstLetter(Key, itemIndex_, items_->Count(), [this](int at) { return items_->Get(at); });
  if (i >= 0) UserSelect(i);
}

void TCustomListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (HandleMouse(Message)) return;
      break;
    case WM_TIMER:
      if (RepeatScroll(Message.WParam)) return;
      break;
    case WM_MOUSEWHEEL: SetTopIndex(topIndex_ + WheelScrollLines(Message.WParam)); return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE: Invalidate(); break;
    case CN_DRAWITEM: return DrawOwnerItem(Message);
    default: break;
  }
  const UINT msg = Message.Msg;
  TCustomControl::WndProc(Message);
  if (msg == WM_KEYDOWN && Message.WParam) HandleKey(static_cast<WORD>(Message.WParam));
  if (msg == WM_CHAR && Message.WParam) HandleChar(static_cast<char>(Message.WParam));
}

bool TCustomListBox::HandleMouse(TMessage& Message) {
  TWMMouse m(Message);
  const TPoint pos{m.XPos, m.YPos};
  const bool press = Message.Msg != WM_MOUSEMOVE && Message.Msg != WM_LBUTTONUP;
  if (press && !Focused() && CanFocus()) SetFocus();
  const bool onBar = HasScrollBar() && pos.x >= ScrollBarRect().left;
  if (scrollPart_ || (Message.Msg == WM_LBUTTONDOWN && onBar)) {
    HandleScrollBar(Message.Msg, pos);
    return true;
  }
  if (Message.Msg == WM_LBUTTONDBLCLK && !onBar) DblClick();
  if (press) {
    selecting_ = true;
    SetCapture(Handle());
  }
  if (selecting_) SelectAtPointer(pos);
  if (Message.Msg == WM_LBUTTONUP && selecting_) {
    selecting_ = false;
    ReleaseCapture();
  }
  return false;
}

// A drag above or below the items scrolls one row at a time.
void TCustomListBox::SelectAtPointer(TPoint Pos) {
  if (Pos.y < 0) UserSelect(topIndex_ - 1);
  else if (Pos.y >= ClientHeight())
    UserSelect(topIndex_ + VisibleRows());
  else if (int index = ItemAtPos(Pos, true); index >= 0)
    UserSelect(index);
}

bool TCustomListBox::RepeatScroll(WPARAM Timer) {
  if (Timer != kScrollTimer) return false;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  HandleScrollBar(WM_TIMER, {p.x, p.y});
  return true;
}

void TCustomListBox::DrawOwnerItem(TMessage& Message) {
  auto& dis = *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  const TOwnerDrawState state = stdctrls::OwnerDrawStateOf(dis.itemState);
  TCanvas* c = Canvas();
  const bool own = !c->HandleAllocated() || c->Handle() != dis.hDC;
  if (own) c->SetHandle(dis.hDC);
  c->SetFont(Font());
  c->SetBrush(Brush());
  if (state.Contains(odSelected)) {
    c->Brush()->SetColor(clHighlight);
    c->Font()->SetColor(clHighlightText);
  }
  DrawItem(static_cast<int>(dis.itemID), dis.rcItem, state);
  if (state.Contains(odFocused)) DrawFocusRect(dis.hDC, &dis.rcItem);
  if (own) c->SetHandle(nullptr);
  Message.Result = 1;
}
