#pragma once
// More controls of the classic look: panels, bevels, radio groups, images and paint boxes, and
// the three-dimensional frame they draw with.
#include <vector>

#include "vcl/graphics_images.h"
#include "vcl/stdctrls.h"
#include "vcl/strings.h"

// Rings of Width pixels inside Rect: TopColor on the left and top, BottomColor on the right and
// bottom. Rect becomes the area inside them.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// ---- Panels -----------------------------------------------------------------------------------
enum TPanelBevel { bvNone, bvLowered, bvRaised };
using TBevelWidth = int;
extern const TTypeInfo TypeInfo_TPanelBevel;

class TCustomPanel : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomPanel(TComponent* AOwner);

  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel Value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int Value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int Value);
  // bsSingle gives the panel a sunken edge outside its bevels.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);

  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // Children are aligned inside the bevels and the border.
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Paint() override;

 private:
  void Changed();
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
 public:
  VCL_CLASS_INFO
  using TCustomPanel::TCustomPanel;
};

// ---- Bevel ------------------------------------------------------------------------------------
enum TBevelStyle { bsLowered, bsRaised };
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
extern const TTypeInfo TypeInfo_TBevelStyle;
extern const TTypeInfo TypeInfo_TBevelShape;

class TBevel : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

// ---- Radio group ------------------------------------------------------------------------------
// A group box with one radio button per item, in Columns columns.
class TCustomRadioGroup : public TCustomGroupBox {
 public:
  VCL_CLASS_INFO
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;

  TStrings* Items() const { return items_; }
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  // Checking another item fires OnClick (out of range values are clamped to -1 .. Count - 1).
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int Value);
  int Columns() const { return columns_; }
  void SetColumns(int Value);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int Index) const { return buttons_.at(static_cast<size_t>(Index)); }

  void WndProc(TMessage& Message) override;

 protected:
  void Loaded() override;

 private:
  friend class TGroupButton;
  void ItemsChanged(TObject* Sender);
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClick(TRadioButton* Button);

  TStringList* items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  VCL_CLASS_INFO
  using TCustomRadioGroup::TCustomRadioGroup;
};

// ---- Image and paint box ----------------------------------------------------------------------
class TImage : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return picture_; }
  void SetPicture(TPicture* Value) { picture_->Assign(Value); }
  // Stretch fills the control; Center centres a picture shown at its size.
  bool Stretch() const { return stretch_; }
  void SetStretch(bool Value);
  bool Center() const { return center_; }
  void SetCenter(bool Value);
  // Leaves the graphic's transparent colour undrawn.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  // The control takes the picture's size.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject* Sender);
  TRect DestRect();

  TPicture* picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
  bool autoSize_ = false;
};

class TPaintBox : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};
