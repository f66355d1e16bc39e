#pragma once
// The graphic push button. ToxButton is a keyboard button (focus, Tab order, Default, Cancel,
// ModalResult, accelerators) whose face, a ToxCustomGraphicButton filling it, does the painting,
// the mouse, toggle groups, auto-repeat and the drop-down menu. The face keeps up to six finished
// images in a cache so that focus, press and hot changes repaint by one copy.
#include <cstdint>
#include <string>

#include "components/button_background.h"
#include "vcl/lists.h"
#include "vcl/menus.h"
#include "vcl/stdctrls.h"
#include "vcl/strings.h"
#include "vcl/timers.h"

// Scoped where the value names clash with the class library's (button styles, form styles) or
// the border helpers' frame styles; type information keeps the plain names.
enum class ToxBtnStyle { bsAuto, bsWin31, bsWin95, bsInset, bsAmbrel, bsSpeed, bsWin97, bsBorderless, bsShaped };
enum class ToxFont3D { fsNone, fsNormal, fsRaised, fsInset, fsRidged, fsGrooved, fsShadow };
enum TFocusStyleItem { fsDefault, fsText, fsOutline, fsBoldFont };
using TFocusStyle = TSet<TFocusStyleItem>;
enum ToxButtonType { oxbCommand, oxbToggle, oxbRepeat, oxbMenu };
enum ToxbOption { oxbCacheImages, oxbUsePalette, oxbSmallIcons };
using ToxbOptions = TSet<ToxbOption>;
enum ToxBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose };
// Degrees, 0 .. 360.
using TAngleRange = std::uint16_t;

extern const TTypeInfo TypeInfo_ToxBtnStyle;
extern const TTypeInfo TypeInfo_ToxFont3D;
extern const TTypeInfo TypeInfo_TFocusStyle;
extern const TTypeInfo TypeInfo_ToxButtonType;
extern const TTypeInfo TypeInfo_ToxbOptions;
extern const TTypeInfo TypeInfo_ToxBtnKind;

class ToxCustomButton;

// The Lines view of a control's caption: "||" separates the lines.
class TCaptionStrings : public TStrings {
 public:
  VCL_CLASS_INFO
  explicit TCaptionStrings(TControl* Target) : target_(Target) {}
  void SetTarget(TControl* Target) { target_ = Target; }

  int Count() const override;
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

 private:
  void Split(TStringList& Lines) const;
  void Store(const TStringList& Lines);

  TControl* target_;
};

// The menus that drop-downs have open, with the hidden window that owns them while they track.
class TPopupList : public TList {
 public:
  TPopupList();
  ~TPopupList() override;
  HWND Window() const { return window_; }
  // A command was taken: the list is empty and waits to be freed outside its window's handler.
  bool Spent() const { return spent_; }
  // Its window is running a chosen item's OnClick.
  bool Dispatching() const { return dispatching_; }

 private:
  void WndProc(TMessage& Message);
  TPopupMenu* Menu(int Index) const { return static_cast<TPopupMenu*>(Items(Index)); }
  void MenuSelect(TMessage& Message);
  void Help(TMessage& Message);

  HWND window_;
  bool spent_ = false;
  bool dispatching_ = false;
};

// The drop-downs' shared list, made on first use; a command chosen from it frees it once the menu
// has closed.
TPopupList* SharedPopupList();
// With the last face; a list whose window is running an item's OnClick is freed at the next
// drop-down instead.
void FreeSharedPopupList();

class ToxCustomGraphicButton : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit ToxCustomGraphicButton(TComponent* AOwner);
  ~ToxCustomGraphicButton() override;
  void WndProc(TMessage& Message) override;
  HPALETTE GetPalette() override;

  // The look.
  ToxBtnStyle Style() const { return style_; }
  void SetStyle(ToxBtnStyle Value);
  ToxFont3D Font3D() const { return font3D_; }
  void SetFont3D(ToxFont3D Value);
  TFocusStyle FocusStyle() const { return focusStyle_; }
  void SetFocusStyle(TFocusStyle Value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool Value);
  TStrings* Lines() const { return lines_; }
  void SetLines(TStrings* Value);
  TAngleRange TextAngle() const { return textAngle_; }
  void SetTextAngle(TAngleRange Value);
  int TextX() const { return textX_; }
  void SetTextX(int Value);
  int TextY() const { return textY_; }
  void SetTextY(int Value);
  TPicture* PictureUp() const { return pictureUp_; }
  void SetPictureUp(TPicture* Value);
  TPicture* PictureDown() const { return pictureDown_; }
  void SetPictureDown(TPicture* Value);
  TPicture* PictureDisabled() const { return pictureDisabled_; }
  void SetPictureDisabled(TPicture* Value);
  int PictureX() const { return pictureX_; }
  void SetPictureX(int Value);
  int PictureY() const { return pictureY_; }
  void SetPictureY(int Value);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor Value);
  ToxbOptions Options() const { return options_; }
  void SetOptions(ToxbOptions Value);
  ToxBackground* Background() const { return background_; }
  void SetBackground(ToxBackground* Value);

  // Behaviour.
  ToxButtonType ButtonType() const { return buttonType_; }
  void SetButtonType(ToxButtonType Value) { buttonType_ = Value; }
  bool Value() const { return value_; }
  void SetValue(bool Value);
  int Group() const { return group_; }
  void SetGroup(int Value);
  bool GroupAllowNoSel() const { return groupAllowNoSel_; }
  void SetGroupAllowNoSel(bool Value);
  unsigned Delay() const { return delay_; }
  void SetDelay(unsigned Value) { delay_ = static_cast<std::uint16_t>(Value); }
  unsigned InitDelay() const { return initDelay_; }
  void SetInitDelay(unsigned Value) { initDelay_ = static_cast<std::uint16_t>(Value); }

  // The image cache's slots, side by side.
  enum TImageSlot { slUp, slActive, slFocused, slPressed, slDisabled, slHot, kSlotCount };

  // State that picks the image slot.
  enum TDrawState { dsUp, dsPressed, dsDown };
  TDrawState DrawState() const { return drawState_; }
  void SetDrawState(TDrawState Value);
  bool Hot() const { return hot_; }
  bool Tracking() const { return tracking_; }
  bool FocusedLook() const { return focused_; }
  void SetFocusedLook(bool Value);
  bool ActiveLook() const { return active_; }
  virtual void SetActiveLook(bool Value);

  // Every look change: all image slots are stale, and the face repaints.
  void InvalidateImages();
  // The window part that owns the face, or none when it works alone.
  ToxCustomButton* Button() const { return button_; }
  void SetButton(ToxCustomButton* Value);
  // Opens the drop-down menu below the face (oxbMenu).
  void DropDown();
  virtual void Toggle() { SetValue(!value_); }

  // Where the last full paint put the picture and the caption (client coordinates).
  TRect PictureRect() const { return pictureRect_; }
  TRect CaptionRect() const { return captionRect_; }
  // The image cache (six slots side by side), or none; the valid slots as a bit mask.
  TBitmap* ImageCache() const { return cache_; }
  unsigned ValidSlots() const { return validSlots_; }
  // Counts full paints, to tell them from copies out of the cache.
  int FullPaints() const { return fullPaints_; }
  // The auto-repeat timer while an oxbRepeat face is held.
  TTimer* RepeatTimer() const { return repeatTimer_; }
  // The hit test of presses and CM_HITTEST (client coordinates).
  bool HitTest(int X, int Y);
  // The style drawn for Style (bsAuto: the Windows 95 look on version 4 and later).
  ToxBtnStyle EffectiveStyle() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void Change();

 private:
  friend class ToxCustomButton;
  void LookChanged();
  void AnnounceGroup();
  void ButtonPressed(TMessage& Message);
  void MouseEnterLeave(bool Entering);
  // The window part follows the face's left button; a double click becomes a press.
  void MirrorLeftButton(TMessage& Message);
  void CMHitTest(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  // A face without a window part clicks on its accelerator; false leaves the message unanswered.
  bool AnswerAccelerator(TMessage& Message);
  void ResizeCache();
  void RepeatTick(TObject* Sender);
  void SwapPictures();
  void FreeRepeatTimer();
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }

  // Painting (graphic_button_paint.cpp).
  void DrawItem(bool Selected);
  void PaintFace(TCanvas* Canvas, bool Selected, int Slot);
  TPicture* CurrentPicture(bool Selected);
  void BuildMask(TPicture* Picture);
  void FreeMask();
  void PlacePicture(TPicture* Picture);
  void Silhouette(TCanvas* Canvas, int X, int Y, TColor Color);
  void DrawShadowOrEmboss(TCanvas* Canvas, TPicture* Picture, bool Selected);
  void DrawPicture(TCanvas* Canvas, TPicture* Picture, bool Selected);
  void SelectFont(TCanvas* Canvas);
  std::string DrawnCaption();
  // With the caption's font selected into DC.
  void LayoutCaption(HDC DC, bool Selected);
  void DrawCaption(HDC DC, bool Selected);
  void DrawFocus(HDC DC, bool Selected);
  void DrawBevel(TCanvas* Canvas, bool Selected);
  UINT CaptionFormat() const;

  ToxCustomButton* button_ = nullptr;
  TCaptionStrings* lines_;
  TTimer* repeatTimer_ = nullptr;
  TTimer* retiredTimer_ = nullptr;  // stopped by a failing tick, freed at the next release
  std::uint16_t initDelay_ = 400;
  std::uint16_t delay_ = 200;
  ToxBackground* background_;
  bool active_ = false;
  bool focused_ = false;
  bool value_ = false;
  int group_ = 0;
  bool groupAllowNoSel_ = false;
  bool tracking_ = false;
  bool hot_ = false;
  struct TMask;
  TMask* mask_ = nullptr;  // the current picture's silhouette, for one full paint
  TRect pictureRect_{};
  TRect captionRect_{};
  ToxBtnStyle style_ = ToxBtnStyle::bsAuto;
  TPicture* pictureUp_;
  TPicture* pictureDown_;
  TPicture* pictureDisabled_;
  TColor shadowColor_ = clGray;
  TAngleRange textAngle_ = 0;
  int pictureX_ = 1, pictureY_ = 1;
  int textX_ = -5, textY_ = -5;
  ToxFont3D font3D_ = ToxFont3D::fsNormal;
  bool multiLine_ = false;
  TFocusStyle focusStyle_{fsDefault, fsText};
  TBitmap* cache_ = nullptr;
  unsigned validSlots_ = 0;
  ToxbOptions options_{oxbCacheImages};
  TDrawState drawState_ = dsUp;
  ToxButtonType buttonType_ = oxbCommand;
  int fullPaints_ = 0;
};

// The window part: a push button whose face does the drawing. It keeps the keyboard role and
// forwards every face property.
class ToxCustomButton : public TButton {
 public:
  VCL_CLASS_INFO
  explicit ToxCustomButton(TComponent* AOwner);
  ~ToxCustomButton() override;
  void WndProc(TMessage& Message) override;
  void Click() override;
  void Invalidate() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  ToxCustomGraphicButton* Face() const { return face_; }

  // While the face is moved out to the parent (transparent), these answer the face's size; a
  // plain control pointer still sees the zero-sized window.
  int Width() const;
  int Height() const;
  void SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
  void SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }
  bool Transparent() const;

  // A kind other than bkCustom reads bkCustom as soon as Caption, Default, Cancel or ModalResult
  // no longer match its table.
  ToxBtnKind Kind();
  void SetKind(ToxBtnKind Value);

  // The face's properties.
  ToxBtnStyle Style() const { return face_->Style(); }
  void SetStyle(ToxBtnStyle Value) { face_->SetStyle(Value); }
  ToxFont3D Font3D() const { return face_->Font3D(); }
  void SetFont3D(ToxFont3D Value) { face_->SetFont3D(Value); }
  TFocusStyle FocusStyle() const { return face_->FocusStyle(); }
  void SetFocusStyle(TFocusStyle Value) { face_->SetFocusStyle(Value); }
  bool MultiLine() const { return face_->MultiLine(); }
  void SetMultiLine(bool Value) { face_->SetMultiLine(Value); }
  TStrings* Lines() const { return face_->Lines(); }
  void SetLines(TStrings* Value) { face_->SetLines(Value); }
  TAngleRange TextAngle() const { return face_->TextAngle(); }
  void SetTextAngle(TAngleRange Value) { face_->SetTextAngle(Value); }
  int TextX() const { return face_->TextX(); }
  void SetTextX(int Value) { face_->SetTextX(Value); }
  int TextY() const { return face_->TextY(); }
  void SetTextY(int Value) { face_->SetTextY(Value); }
  TPicture* PictureUp() const { return face_->PictureUp(); }
  void SetPictureUp(TPicture* Value) { face_->SetPictureUp(Value); }
  TPicture* PictureDown() const { return face_->PictureDown(); }
  void SetPictureDown(TPicture* Value) { face_->SetPictureDown(Value); }
  TPicture* PictureDisabled() const { return face_->PictureDisabled(); }
  void SetPictureDisabled(TPicture* Value) { face_->SetPictureDisabled(Value); }
  int PictureX() const { return face_->PictureX(); }
  void SetPictureX(int Value) { face_->SetPictureX(Value); }
  int PictureY() const { return face_->PictureY(); }
  void SetPictureY(int Value) { face_->SetPictureY(Value); }
  TColor ShadowColor() const { return face_->ShadowColor(); }
  void SetShadowColor(TColor Value) { face_->SetShadowColor(Value); }
  ToxbOptions Options() const { return face_->Options(); }
  void SetOptions(ToxbOptions Value) { face_->SetOptions(Value); }
  ToxBackground* Background() const { return face_->Background(); }
  void SetBackground(ToxBackground* Value) { face_->SetBackground(Value); }
  ToxButtonType ButtonType() const { return face_->ButtonType(); }
  void SetButtonType(ToxButtonType Value) { face_->SetButtonType(Value); }
  bool Value() const { return face_->Value(); }
  void SetValue(bool Value) { face_->SetValue(Value); }
  int Group() const { return face_->Group(); }
  void SetGroup(int Value) { face_->SetGroup(Value); }
  bool GroupAllowNoSel() const { return face_->GroupAllowNoSel(); }
  void SetGroupAllowNoSel(bool Value) { face_->SetGroupAllowNoSel(Value); }
  unsigned Delay() const { return face_->Delay(); }
  void SetDelay(unsigned Value) { face_->SetDelay(Value); }
  unsigned InitDelay() const { return face_->InitDelay(); }
  void SetInitDelay(unsigned Value) { face_->SetInitDelay(Value); }
  // Kept for form descriptions; the class library has no 3-D switch of the parent's.
  bool ParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool Value) { parentCtl3D_ = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  void Paint() override {}
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  void DoExit() override;
  virtual void Toggle() { face_->Toggle(); }

 private:
  friend class ToxCustomGraphicButton;
  void BackgroundChanged(TObject* Sender);
  // The accelerator's (and Enter's, Escape's) action: toggle, drop down or click.
  void Press();
  void CopyToFace(UINT Msg);

  ToxCustomGraphicButton* face_ = nullptr;
  bool moving_ = false;
  bool spaceHeld_ = false;
  ToxBtnKind kind_ = bkCustom;
  bool parentCtl3D_ = true;
};

class ToxButton : public ToxCustomButton {
 public:
  VCL_CLASS_INFO
  using ToxCustomButton::ToxCustomButton;
};
