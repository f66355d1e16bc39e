#pragma once
// The colour button: a focusable button showing its colour as a swatch beside a drop-down arrow.
// A click or the space bar opens a pop-up palette of 20 colours with a button below it that
// opens the colour dialog; the chosen colour is Value, and each change fires OnChange.
#include <array>

#include "components/tav_speed_button.h"
#include "vcl/commdlg.h"
#include "vcl/forms.h"

class TTavCustomColorButton;

// The colour button's face.
class TTavColorSpeedButton : public TTavSpeedButton {
 public:
  VCL_CLASS_INFO
  using TTavSpeedButton::TTavSpeedButton;

 protected:
  void Paint() override;
};

// The pop-up's extra button: Escape on it goes to the pop-up.
class TTavCustomButton : public TButton {
 public:
  VCL_CLASS_INFO
  using TButton::TButton;
  void WndProc(TMessage& Message) override;
};

class TTavColorPopUp : public TTavCustomControl {
 public:
  VCL_CLASS_INFO
  static constexpr int kCell = 18;
  static constexpr int kClientWidth = 78;
  static constexpr int kClientHeight = 119;
  static constexpr int kColorCount = 20;
  // The palette, $00BBGGRR.
  static const std::array<TColor, kColorCount> kColors;

  explicit TTavColorPopUp(TTavCustomColorButton* AOwner);
  void WndProc(TMessage& Message) override;

  bool Shown() const { return shown_; }
  // -1: none, or the current-colour box.
  int SelectedIndex() const { return selected_; }
  bool ShowCurrent() const { return showCurrent_; }
  TTavCustomButton* ExtraButton() const { return extra_; }
  // The cell at a client point (0 .. 19), -1 for the current-colour box, -2 for nothing.
  int HitTest(int X, int Y) const;
  static constexpr int kNoHit = -2;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  friend class TTavCustomColorButton;
  friend class TTavCustomButton;
  void Open();
  void Close(bool Accept);
  void Select(int Index);
  void MoveSelection(WORD Key);
  void PaintCell(TCanvas* Canvas, const TRect& Cell, TColor Color, bool Highlighted);
  void ExtraClick(TObject* Sender);
  bool IsOwnWindow(HWND Window);
  void HandleMouseDown(int X, int Y);
  void HandleKey(WORD& Key);

  TTavCustomColorButton* button_;
  bool shown_ = false;
  std::array<TColor, kColorCount> colors_{};
  int selected_ = -1;
  bool showCurrent_ = false;
  TTaskWindowList disabled_;
  TTavCustomButton* extra_;
};

class TTavCustomColorButton : public TTavCustomControl {
 public:
  VCL_CLASS_INFO
  // Posted to the button by the pop-up's extra button.
  static constexpr UINT kOpenDialogMessage = 0x8001;

  explicit TTavCustomColorButton(TComponent* AOwner);
  ~TTavCustomColorButton() override;
  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TColor Value() const { return value_; }
  void SetValue(TColor Value);
  const std::string& ButtonCaption() const { return buttonCaption_; }
  void SetButtonCaption(const std::string& Value);
  bool ShowCurrent() const { return showCurrent_; }
  void SetShowCurrent(bool Value) { showCurrent_ = Value; }
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor Value);
  TBitmap* Glyph() const { return face_->Glyph(); }
  // None loads "BM_CLRBTNDOWN".
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return face_->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value) { face_->SetNumGlyphs(Value); }
  TStrings* CustomColors() const { return dialog_->CustomColors(); }
  void SetCustomColors(TStrings* Value) { dialog_->SetCustomColors(Value); }

  TTavColorSpeedButton* Face() const { return face_; }
  // Made at the first drop-down.
  TTavColorPopUp* PopUp() const { return popUp_; }
  TColorDialog* ColorDialog() const { return dialog_; }
  void DropDown();

  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void LookChanged() override { Invalidate(); }
  void Paint() override {}
  void KeyDown(WORD& Key, TShiftState Shift) override;

 private:
  friend class TTavColorPopUp;
  void OpenDialog();

  TTavColorSpeedButton* face_;
  TColorDialog* dialog_;
  TTavColorPopUp* popUp_ = nullptr;
  TColor value_ = clBlack;
  TColor focusColor_ = clBlack;
  std::string buttonCaption_ = "&Other...";
  bool showCurrent_ = false;
};

class TTavColorButton : public TTavCustomColorButton {
 public:
  VCL_CLASS_INFO
  using TTavCustomColorButton::TTavCustomColorButton;
};
