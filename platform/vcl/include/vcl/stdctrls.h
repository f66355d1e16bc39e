#pragma once
// The standard controls, painted in the classic look by the class library itself: labels, group
// boxes, push buttons, check boxes and radio buttons.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "vcl/controls.h"
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

 private:
  void SetPressed(bool Value);
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
