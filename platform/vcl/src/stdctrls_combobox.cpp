// Combo boxes and the list they drop down.

#include "stdctrls_draw.h"
#include "vcl/forms.h"
#include "win32/dropdown.h"
#include "win32/item_search.h"
#include "win32/scrollbar_draw.h"

namespace {
constexpr int kButtonWidth = 16;
bool IsInside(TWinControl* Control, int X, int Y) {
  return X >= 0 && Y >= 0 && X < Control->ClientWidth() && Y < Control->ClientHeight();
}
}  // namespace

// The dropped-down list: a popup window that follows the mouse and reports to its combo box.
class TComboDropList : public TCustomListBox {
 public:
  explicit TComboDropList(TCustomComboBox* Combo) : TCustomListBox(nullptr), combo_(Combo) {
    SetVisible(false);
    SetTabStop(false);
    SetBorderStyle(bsNone);
  }

  void WndProc(TMessage& Message) override {
    TWMMouse m(Message);
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        if (IsInside(this, m.XPos, m.YPos) && m.XPos < ItemRect(0).right) {
          if (int index = ItemAtPos({m.XPos, m.YPos}, true); index >= 0) SetItemIndex(index);
          return;
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!IsInside(this, m.XPos, m.YPos)) return combo_->CloseUp(false);
        if (m.XPos < ItemRect(0).right) return;
        break;
      case WM_LBUTTONUP:
        if (IsInside(this, m.XPos, m.YPos) && m.XPos < ItemRect(0).right && ItemAtPos({m.XPos, m.YPos}, true) >= 0)
          return combo_->CloseUp(true);
        break;
      case WM_MOUSEACTIVATE:
        // The combo box's window keeps the activation and the keyboard while the list is used.
        Message.Result = MA_NOACTIVATE;
        return;
      case WM_SETFOCUS: return;
      case WM_CANCELMODE: combo_->CloseUp(false); break;
      default: break;
    }
    TCustomListBox::WndProc(Message);
    // The scroll bar gives up the mouse when released; the open list takes it back.
    if (Message.Msg == WM_LBUTTONUP && combo_->droppedDown_) SetCapture(Handle());
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomListBox::CreateParams(Params);
    Params.Style = dropdown::kStyle;
    Params.ExStyle = dropdown::kExStyle;
    Params.WndParent = GetAncestor(combo_->Handle(), GA_ROOT);
  }
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override {
    if (combo_->style_ != csOwnerDrawFixed) return TCustomListBox::DrawItem(Index, Rect, State);
    TCanvas* c = combo_->Canvas();
    c->SetHandle(Canvas()->Handle());
    c->SetFont(Canvas()->Font());
    c->SetBrush(Canvas()->Brush());
    combo_->DrawItem(Index, Rect, State);
    c->SetHandle(nullptr);
  }
  void SelectionChanged() override {}

 private:
  TCustomComboBox* combo_;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomControl(AOwner), list_(new TComboDropList(this)) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  style_ = csDropDownList;
  SetStyle(csDropDown);
}

TCustomComboBox::~TCustomComboBox() {
  SetStyle(csDropDownList);
  delete list_;
}

TStrings* TCustomComboBox::Items() const { return list_->Items(); }
void TCustomComboBox::SetItems(TStrings* Value) { list_->Items()->Assign(Value); }
int TCustomComboBox::ItemIndex() const { return list_->ItemIndex(); }
bool TCustomComboBox::Sorted() const { return list_->Sorted(); }
void TCustomComboBox::SetSorted(bool Value) { list_->SetSorted(Value); }
int TCustomComboBox::ItemHeight() { return list_->ItemHeight(); }
void TCustomComboBox::SetItemHeight(int Value) { list_->SetItemHeight(Value); }

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  list_->SetStyle(Value == csOwnerDrawFixed ? lbOwnerDrawFixed : lbStandard);
  if (Value == csDropDown && !edit_) {
    edit_ = new TEdit(nullptr);
    edit_->SetBorderStyle(bsNone);
    edit_->SetTabStop(false);
    edit_->SetParentColor(true);
    edit_->WindowProc = [this](TMessage& m) { EditWndProc(m); };
    edit_->OnChange = [this](TObject*) {
      if (!settingEditText_) Notify(CBN_EDITCHANGE);
    };
    edit_->SetParent(this);
    PlaceEdit();
  } else if (Value != csDropDown && edit_) {
    TCustomEdit* edit = edit_;
    edit_ = nullptr;
    edit->WindowProc = [edit](TMessage& m) { edit->WndProc(m); };
    delete edit;
  }
  Invalidate();
}

void TCustomComboBox::PlaceEdit() {
  if (edit_) edit_->SetBounds(2, 2, std::max(0, ClientWidth() - kButtonWidth - 3), std::max(0, ClientHeight() - 3));
}

void TCustomComboBox::ShowItemText() {
  if (edit_) {
    settingEditText_ = true;
    edit_->SetText(ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : "");
    edit_->SelectAll();
    settingEditText_ = false;
  }
  Invalidate();
}

void TCustomComboBox::SetItemIndex(int Value) {
  list_->SetItemIndex(Value);
  ShowItemText();
}

std::string TCustomComboBox::GetText() {
  if (edit_) return edit_->GetText();
  return ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : "";
}

void TCustomComboBox::SetText(const std::string& Value) {
  if (!edit_) return SetItemIndex(Items()->IndexOf(Value));
  settingEditText_ = true;
  edit_->SetText(Value);
  settingEditText_ = false;
}

void TCustomComboBox::SetFocus() {
  if (edit_) edit_->SetFocus();
  else
    TCustomControl::SetFocus();
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomComboBox::CreateWnd() {
  TCustomControl::CreateWnd();
  PlaceEdit();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::Notify(WORD Code) {
  Perform(CN_COMMAND, MAKEWPARAM(0, Code), reinterpret_cast<LPARAM>(HandleAllocated() ? Handle() : nullptr));
}

void TCustomComboBox::UserSelect(int Index) {
  Index = std::max(0, std::min(Index, Items()->Count() - 1));
  if (Items()->Count() == 0 || Index == ItemIndex()) return;
  SetItemIndex(Index);
  droppedFrom_ = Index;
  Notify(CBN_SELCHANGE);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value == droppedDown_) return;
  if (!Value) return CloseUp(false);
  Notify(CBN_DROPDOWN);
  RECT r;
  GetWindowRect(Handle(), &r);
  const int rows = std::max(1, std::min(Items()->Count(), dropDownCount_));
  const RECT at = dropdown::Placement(r, r.right - r.left, rows * ItemHeight() + 2);
  list_->SetBounds(at.left, at.top, at.right - at.left, at.bottom - at.top);
  droppedFrom_ = ItemIndex();
  textBeforeDrop_ = GetText();
  list_->SetItemIndex(ItemIndex());
  droppedDown_ = true;
  // The window first, so that showing it shows it, without taking the activation.
  list_->HandleNeeded();
  list_->SetVisible(true);
  SetCapture(list_->Handle());
  Invalidate();
}

void TCustomComboBox::CloseUp(bool Accept) {
  if (!droppedDown_) return;
  droppedDown_ = false;
  if (GetCapture() == list_->Handle()) ReleaseCapture();
  list_->SetVisible(false);
  const int picked = list_->ItemIndex();
  list_->SetItemIndex(droppedFrom_);
  if (Accept && picked >= 0) UserSelect(picked);
  Notify(CBN_CLOSEUP);
  // A cancel leaves the edit's text as it was, also one that names no item.
  if (!Accept && edit_) SetText(textBeforeDrop_);
  else
    ShowItemText();
}

// The character of the key that closed the list is not typed as well: it would reach type-ahead,
// where Escape clears the selection.
void TCustomComboBox::DropKeyCharacter(char Key) {
  HWND target = edit_ ? edit_->Handle() : Handle();
  MSG m;
  if (PeekMessageA(&m, target, WM_CHAR, WM_CHAR, PM_NOREMOVE) && m.wParam == static_cast<WPARAM>(Key))
    PeekMessageA(&m, target, WM_CHAR, WM_CHAR, PM_REMOVE);
}

TRect TCustomComboBox::ButtonRect() { return {ClientWidth() - kButtonWidth, 0, ClientWidth(), ClientHeight()}; }

void TCustomComboBox::HandleKey(WORD Key, bool Alt) {
  const int rows = dropDownCount_;
  switch (Key) {
    case VK_F4: return SetDroppedDown(!droppedDown_);
    case VK_UP:
    case VK_DOWN:
      if (Alt) return SetDroppedDown(!droppedDown_);
      return UserSelect(ItemIndex() < 0 ? 0 : ItemIndex() + (Key == VK_DOWN ? 1 : -1));
    case VK_PRIOR: return UserSelect(ItemIndex() - rows + 1);
    case VK_NEXT: return UserSelect(ItemIndex() + rows - 1);
    case VK_HOME:
      if (!edit_) UserSelect(0);
      return;
    case VK_END:
      if (!edit_) UserSelect(Items()->Count() - 1);
      return;
    case VK_RETURN:
    case VK_ESCAPE:
      if (!droppedDown_) return;
      CloseUp(Key == VK_RETURN);
      return DropKeyCharacter(Key == VK_RETURN ? '\r' : '\x1b');
    default: return;
  }
}

// The wheel scrolls the open list; on a closed box each notch chooses the next item up or down.
void TCustomComboBox::HandleWheel(WPARAM WParam) {
  if (droppedDown_) return list_->SetTopIndex(list_->TopIndex() + WheelScrollLines(WParam));
  if (const int notches = WheelNotches(WParam)) UserSelect(ItemIndex() < 0 ? 0 : ItemIndex() - notches);
}

void TCustomComboBox::HandleChar(char Key) {
  if (edit_) return;
  const int i =
      itemsearch::NextByFirstLetter(Key, ItemIndex(), Items()->Count(), [this](int at) { return Items()->Get(at); });
  if (i >= 0) UserSelect(i);
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem && style_ == csOwnerDrawFixed) return OnDrawItem(this, Index, Rect, State);
  Canvas()->FillRect(Rect);
  Canvas()->TextOut(Rect.left + 2, Rect.top, Items()->Get(Index));
}

void TCustomComboBox::Paint() {
  HDC dc = Canvas()->Handle();
  RECT client = ClientRect();
  FillRect(dc, &client, Brush()->Handle());
  scrollbar::DrawArrowButton(dc, ButtonRect(), 1, droppedDown_, Enabled());
  if (edit_) return;
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_COMBOBOX;
  dis.itemID = static_cast<UINT>(ItemIndex());
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = ODS_COMBOBOXEDIT | (Focused() && !droppedDown_ ? ODS_SELECTED | ODS_FOCUS : 0) |
                  (Enabled() ? 0 : ODS_DISABLED);
  dis.hwndItem = Handle();
  dis.hDC = dc;
  dis.rcItem = {2, 2, ButtonRect().left - 1, ClientHeight() - 2};
  Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

void TCustomComboBox::EditWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      // The combo box hears the edit's keys first.
      if (DoKeyDown(Message)) return;
      const WORD key = static_cast<WORD>(Message.WParam);
      const bool alt = Message.Msg == WM_SYSKEYDOWN;
      const bool ours = key == VK_F4 || key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT ||
                        (droppedDown_ && (key == VK_RETURN || key == VK_ESCAPE));
      if (ours) return HandleKey(key, alt);
      break;
    }
    case WM_CHAR:
      if (DoKeyPress(Message)) return;
      if (droppedDown_ && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) return;
      break;
    case WM_GETDLGCODE:
      edit_->WndProc(Message);
      if (droppedDown_) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(Message.WParam) != Handle()) CloseUp(false);
      break;
    default: break;
  }
  edit_->WndProc(Message);
}

void TCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (droppedDown_ ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: PressMouse(Message); break;
    case WM_SETFOCUS:
      if (PassFocusToEdit()) return;
      break;
    case WM_KILLFOCUS: LoseFocus(Message); break;
    case WM_SIZE: PlaceEdit(); break;
    case WM_MOUSEWHEEL: return HandleWheel(Message.WParam);
    case CN_COMMAND: return HandleNotification(HIWORD(Message.WParam));
    case CN_DRAWITEM: return DrawOwnerItem(Message);
    default: break;
  }
  const UINT msg = Message.Msg;
  TCustomControl::WndProc(Message);
  if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && Message.WParam)
    HandleKey(static_cast<WORD>(Message.WParam), msg == WM_SYSKEYDOWN);
  if (msg == WM_CHAR && Message.WParam) HandleChar(static_cast<char>(Message.WParam));
}

// A press on the button drops the list down or closes it; so does one anywhere without an edit.
void TCustomComboBox::PressMouse(TMessage& Message) {
  if (!Enabled()) return;
  SetFocus();
  TWMMouse m(Message);
  const bool onButton = m.XPos >= ButtonRect().left;
  if (edit_ && !onButton) return;
  SetDroppedDown(!droppedDown_);
}

bool TCustomComboBox::PassFocusToEdit() {
  if (edit_) {
    ::SetFocus(edit_->Handle());
    return true;
  }
  Invalidate();
  return false;
}

void TCustomComboBox::LoseFocus(TMessage& Message) {
  if (!edit_ || reinterpret_cast<HWND>(Message.WParam) != edit_->Handle()) CloseUp(false);
  Invalidate();
}

void TCustomComboBox::HandleNotification(WORD Code) {
  switch (Code) {
    case CBN_SELCHANGE:
      Click();
      Change();
      break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    default: break;
  }
}

void TCustomComboBox::DrawOwnerItem(TMessage& Message) {
  auto& dis = *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  const TOwnerDrawState state = stdctrls::OwnerDrawStateOf(dis.itemState);
  TCanvas* c = Canvas();
  c->SetFont(Font());
  c->SetBrush(Brush());
  if (state.Contains(odSelected)) {
    c->Brush()->SetColor(clHighlight);
    c->Font()->SetColor(clHighlightText);
  }
  if (static_cast<int>(dis.itemID) >= 0) DrawItem(static_cast<int>(dis.itemID), dis.rcItem, state);
  else
    c->FillRect(dis.rcItem);
  if (state.Contains(odFocused)) DrawFocusRect(dis.hDC, &dis.rcItem);
  Message.Result = 1;
}
