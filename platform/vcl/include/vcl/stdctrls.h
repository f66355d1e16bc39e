#pragma once
// The standard controls, painted in the classic look by the class library itself: labels, group
// boxes, push buttons, check boxes and radio buttons, edits, scroll bars, list boxes and combo
// boxes (whose drop-down list and type-ahead the system's own list controls share).
#include <algorithm>
#include <cstdlib>
#include <string>

#include "vcl/controls.h"
#include "vcl/strings.h"
#include "win32/stdcontrols.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TTypeInfo TypeInfo_TAlignment;
extern const TTypeInfo TypeInfo_TTextLayout;
extern const TTypeInfo TypeInfo_TCheckBoxState;

// The character after a single "&" in Caption, upper-cased; 0 when there is none.
char AcceleratorOf(const std::string& Caption);
// Whether Key (a typed character) is Caption's accelerator.
bool IsAccel(WPARAM Key, const std::string& Caption);

// ---- Labels -----------------------------------------------------------------------------------
class TCustomLabel : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomLabel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  // A transparent label lets its parent show through; an opaque one fills itself with Color.
  bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool Value);
  // The control that its accelerator focuses.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* Value);

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Draws (or with DT_CALCRECT measures) the caption into Rect as the label shows it.
  void DoDrawText(TRect& Rect, UINT Flags);
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
 public:
  VCL_CLASS_INFO
  using TCustomLabel::TCustomLabel;
};

// ---- Group box --------------------------------------------------------------------------------
class TCustomGroupBox : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomGroupBox(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

 protected:
  // The children are aligned below the caption and inside the frame.
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
 public:
  VCL_CLASS_INFO
  using TCustomGroupBox::TCustomGroupBox;
};

// ---- Buttons ----------------------------------------------------------------------------------
// What push buttons, check boxes and radio buttons share: a click made by the mouse (pressed on
// the control and released over it) or by the space bar, and the focus taken on a press.
class TButtonControl : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TButtonControl(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

 protected:
  virtual bool GetChecked() { return false; }
  virtual void SetChecked(bool) {}
  // Setting Checked from the program fires no OnClick while this is set.
  bool ClicksDisabled() const { return clicksDisabled_; }
  void SetClicksDisabled(bool Value) { clicksDisabled_ = Value; }
  // The mouse or the space bar holds the control down.
  bool Pressed() const { return pressed_; }
  // A completed press: push buttons click, check boxes toggle.
  virtual void Activate() { Click(); }
  // The colours and brush the parent gives for the control's background (WM_CTLCOLORBTN or
  // WM_CTLCOLORSTATIC); fills the client area with the brush.
  void PaintBackground(UINT CtlColorMessage);
  // Off: mouse presses, the space bar and the accelerator pass on untouched (to the window-less
  // children under the mouse, the key events and CM_DIALOGCHAR's broadcast), for a descendant
  // that handles them itself, say through a child that draws its face.
  bool StandardInput() const { return standardInput_; }
  void SetStandardInput(bool Value);

 private:
  void SetPressed(bool Value);
  bool standardInput_ = true;
  bool clicksDisabled_ = false;
  bool pressed_ = false;
  bool tracking_ = false;
  bool spaceDown_ = false;
};

class TButton : public TButtonControl {
 public:
  VCL_CLASS_INFO
  explicit TButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Click() override;

  // Return presses a default button unless another button has the focus.
  bool Default() const { return default_; }
  void SetDefault(bool Value);
  // Escape presses a cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool Value) { cancel_ = Value; }
  // Given to the form on a click (when not mrNone), which ends a modal form.
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult Value) { modalResult_ = Value; }
  // Whether Return presses this button now (the default look).
  bool Active() const { return active_; }

 protected:
  // Called when the button becomes or stops being the one Return presses.
  virtual void SetButtonStyle(bool ADefault);
  void Paint() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
  bool active_ = false;
};

class TCustomCheckBox : public TButtonControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomCheckBox(TComponent* AOwner);

  TCheckBoxState State() const { return state_; }
  // A change fires OnClick.
  void SetState(TCheckBoxState Value);
  bool Checked() { return GetChecked(); }
  void SetCheckedValue(bool Value) { SetChecked(Value); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }
  // taRightJustify puts the box on the left of the caption.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);

 protected:
  bool GetChecked() override { return state_ == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
  virtual void Toggle();
  void Activate() override { Toggle(); }
  void Paint() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
 public:
  VCL_CLASS_INFO
  using TCustomCheckBox::TCustomCheckBox;
};

// Checking one radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
 public:
  VCL_CLASS_INFO
  explicit TRadioButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  bool Checked() { return GetChecked(); }
  // Checking fires OnClick.
  void SetCheckedValue(bool Value) { SetChecked(Value); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);

 protected:
  bool GetChecked() override { return checked_; }
  void SetChecked(bool Value) override;
  void Activate() override { SetChecked(true); }
  void Paint() override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

// ---- Edit -------------------------------------------------------------------------------------
// A single-line edit: selection with the mouse and Shift, the clipboard keys (Ctrl+C, Ctrl+X,
// Ctrl+V and the Insert/Delete forms), MaxLength for typed and pasted text. Every change of the
// text, the program's own included, fires OnChange.
class TCustomEdit : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomEdit(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  int SelStart() const { return std::min(anchor_, caret_); }
  void SetSelStart(int Value);
  int SelLength() const { return std::abs(caret_ - anchor_); }
  void SetSelLength(int Value);
  std::string SelText();
  // Replaces the selection (as typing does, without MaxLength).
  void SetSelText(const std::string& Value);
  void SelectAll();
  void ClearSelection() { SetSelText(""); }
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  // Typed and pasted text stops at this many characters; 0 for no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int Value) { maxLength_ = std::max(0, Value); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value);
  // Set by the user's edits.
  bool Modified() const { return modified_; }
  void SetModified(bool Value) { modified_ = Value; }
  // Entering the edit by the keyboard selects all its text.
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool Value) { autoSelect_ = Value; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  virtual void Change();
  // Caret moves: the selection's moving end goes to Position; Extend keeps the other end.
  void MoveCaret(int Position, bool Extend);
  // Typing: replaces the selection, keeping MaxLength; false when nothing fitted.
  bool InsertTyped(const std::string& Value);
  // Pixels at the right that the text leaves to controls drawn over it.
  void SetTextRightMargin(int Value) { textRightMargin_ = Value; }

 private:
  void HandleKey(WORD Key);
  void HandleChar(char Key);
  int CharAtX(int X);
  int TextX(int Index);
  void ScrollToCaret();

  int anchor_ = 0;
  int caret_ = 0;
  int scroll_ = 0;
  int maxLength_ = 0;
  int textRightMargin_ = 0;
  bool readOnly_ = false;
  bool modified_ = false;
  bool autoSelect_ = true;
  bool selecting_ = false;
  TBorderStyle borderStyle_ = bsSingle;
};

class TEdit : public TCustomEdit {
 public:
  VCL_CLASS_INFO
  using TCustomEdit::TCustomEdit;
};

// ---- Scroll bar -------------------------------------------------------------------------------
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;
extern const TTypeInfo TypeInfo_TScrollBarKind;
extern const TTypeInfo TypeInfo_TScrollEvent;

class TScrollBar : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TScrollBar(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind Value);
  int Min() const { return min_; }
  void SetMin(int Value) { SetParams(position_, Value, max_); }
  int Max() const { return max_; }
  void SetMax(int Value) { SetParams(position_, min_, Value); }
  // Kept within Min .. Max; a change fires OnChange.
  int Position() const { return position_; }
  void SetPosition(int Value) { SetParams(Value, min_, max_); }
  void SetParams(int APosition, int AMin, int AMax);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int Value) { smallChange_ = Value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int Value) { largeChange_ = Value; }

  TNotifyEvent OnChange;
  // Told of every step the user makes; may change the position the step leads to.
  TScrollEvent OnScroll;

 protected:
  void Paint() override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

 private:
  void DoScroll(TScrollCode Code);
  void RepeatPressedPart();
  // Each answers whether the message was the scroll bar's own.
  bool Press(const TWMMouse& Mouse);
  bool DragThumb(const TWMMouse& Mouse);
  bool Release();
  void RepeatWhileHeld();
  void ScrollByKey(WPARAM Key);

  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0;
  int smallChange_ = 1, largeChange_ = 1;
  int pressedPart_ = 0;
  int dragOffset_ = 0;
};

// ---- List box ---------------------------------------------------------------------------------
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
extern const TTypeInfo TypeInfo_TListBoxStyle;
extern const TTypeInfo TypeInfo_TDrawItemEvent;

class TListItems;

// A list of lines with one selected. The user's selections (mouse, arrow keys, typing the first
// letter of an item) fire OnClick; the program's ItemIndex does not.
class TCustomListBox : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  void WndProc(TMessage& Message) override;

  TStrings* Items() const;
  void SetItems(TStrings* Value);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int Value);
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int Value);
  // Items added later find their place in order (without regard to case).
  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle Value);
  // The owner-drawn items' height; standard items are a line of the font high.
  int ItemHeight();
  void SetItemHeight(int Value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  // The item at a client point, or -1.
  int ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(int Index);
  void Clear();

  TDrawItemEvent OnDrawItem;

 protected:
  friend class TListItems;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  // Paints one item on Canvas (the selected one already has the highlight colours).
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  // The user picked ItemIndex.
  virtual void SelectionChanged();
  void ItemsChanged();
  int VisibleRows();

 private:
  void DrawOneItem(HDC DC, int Index, const RECT& Rect);
  void HandleKey(WORD Key);
  void HandleChar(char Key);
  void UserSelect(int Index);
  void MakeVisible(int Index);
  bool HasScrollBar();
  TRect ScrollBarRect();
  void HandleScrollBar(UINT Msg, TPoint Pos);
  // True when the press or drag belongs to the scroll bar.
  bool HandleMouse(TMessage& Message);
  void SelectAtPointer(TPoint Pos);
  // True when the timer is the scroll bar's repeat.
  bool RepeatScroll(WPARAM Timer);
  void DrawOwnerItem(TMessage& Message);

  TListItems* items_;
  int itemIndex_ = -1;
  int topIndex_ = 0;
  bool sorted_ = false;
  TListBoxStyle style_ = lbStandard;
  int itemHeight_ = 16;
  TBorderStyle borderStyle_ = bsSingle;
  bool selecting_ = false;
  int scrollPart_ = 0;
  int thumbGrip_ = 0;
};

class TListBox : public TCustomListBox {
 public:
  VCL_CLASS_INFO
  using TCustomListBox::TCustomListBox;
};

// ---- Combo box --------------------------------------------------------------------------------
// csDropDown has an edit for the text; csDropDownList and csOwnerDrawFixed show the selected item
// (drawn by DrawItem for the owner-drawn style). The list drops down in a window of its own.
// The combo box tells itself of what happens with CN_COMMAND (CBN_SELCHANGE, CBN_DROPDOWN,
// CBN_CLOSEUP, CBN_EDITCHANGE), as descendants expect: a user's selection fires OnClick, then
// OnChange; typing in the edit fires OnChange.
enum TComboBoxStyle { csDropDown, csDropDownList, csOwnerDrawFixed };
extern const TTypeInfo TypeInfo_TComboBoxStyle;

class TComboDropList;

class TCustomComboBox : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  void WndProc(TMessage& Message) override;

  TStrings* Items() const;
  void SetItems(TStrings* Value);
  int ItemIndex() const;
  // Shows the item (its text in the edit); fires no event.
  void SetItemIndex(int Value);
  std::string GetText() override;
  void SetText(const std::string& Value) override;
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle Value);
  bool Sorted() const;
  void SetSorted(bool Value);
  int ItemHeight();
  void SetItemHeight(int Value);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int Value) { dropDownCount_ = std::max(1, Value); }
  bool DroppedDown() const { return droppedDown_; }
  void SetDroppedDown(bool Value);
  // The edit of csDropDown, or none.
  TCustomEdit* EditControl() const { return edit_; }
  void SetFocus() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TDrawItemEvent OnDrawItem;

 protected:
  friend class TComboDropList;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  virtual void Change();
  virtual void DropDown();
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  // Every message of the edit passes here first; the default hands it to the edit.
  virtual void EditWndProc(TMessage& Message);
  // A selection made by the user: CBN_SELCHANGE.
  void UserSelect(int Index);
  // Tells the combo box of something (a CBN_ code) as the system's combo box does.
  void Notify(WORD Code);

 private:
  TRect ButtonRect();
  void HandleKey(WORD Key, bool Alt);
  void HandleChar(char Key);
  void HandleWheel(WPARAM WParam);
  void PressMouse(TMessage& Message);
  // True when the edit took the focus on.
  bool PassFocusToEdit();
  void LoseFocus(TMessage& Message);
  void HandleNotification(WORD Code);
  void DrawOwnerItem(TMessage& Message);
  void CloseUp(bool Accept);
  void DropKeyCharacter(char Key);
  void PlaceEdit();
  void ShowItemText();

  TComboDropList* list_;
  TCustomEdit* edit_ = nullptr;
  TComboBoxStyle style_ = csDropDown;
  int dropDownCount_ = 8;
  bool droppedDown_ = false;
  // The program's own changes of the edit's text tell nobody.
  bool settingEditText_ = false;
  int droppedFrom_ = -1;
  std::string textBeforeDrop_;
};

class TComboBox : public TCustomComboBox {
 public:
  VCL_CLASS_INFO
  using TCustomComboBox::TCustomComboBox;
};
