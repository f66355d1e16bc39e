#pragma once
// The colour buttons' speed button: a window-less button with up, disabled, down and exclusive
// states, exclusive groups, a strip of up to four glyph images and its own bevel look. Its glyph
// images live in a process-wide cache of image lists, one per glyph size, shared by every button.
#include <memory>
#include <vector>

#include "components/tav_base.h"
#include "vcl/graphics_images.h"
#include "vcl/imglist.h"
#include "vcl/lists.h"

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TNumGlyphs = int;
extern const TTypeInfo TypeInfo_TButtonLayout;

// Which slots of a glyph list hold an image.
class TBitPool : public TBits {};

// The images of one glyph size; freed slots are used again.
class TGlyphList : public TImageList {
 public:
  TGlyphList(int AWidth, int AHeight);
  ~TGlyphList() override;
  int AddGlyph(TBitmap* Image, TBitmap* Mask);
  int AddGlyphMasked(TBitmap* Image, TColor MaskColor);
  void DeleteGlyph(int Index);
  int UsedCount() const { return count_; }

 private:
  int AllocateIndex();
  TBitPool used_;
  int count_ = 0;
};

class TGlyphCache : public TObject {
 public:
  ~TGlyphCache() override;
  // The list for that size, made when there is none.
  TGlyphList* GetList(int AWidth, int AHeight);
  // Frees the list once it holds nothing.
  void ReturnList(TGlyphList* List);
  bool Empty() const { return lists_.empty(); }
  int ListCount() const { return static_cast<int>(lists_.size()); }

 private:
  std::vector<TGlyphList*> lists_;
};

// The process's cache, or none while no glyph has needed one.
TGlyphCache* GlyphCache();

class TButtonGlyph : public TObject {
 public:
  TButtonGlyph();
  ~TButtonGlyph() override;

  TBitmap* Glyph() const { return original_; }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs Value);
  TColor TransparentColor() const { return transparentColor_; }
  // The list index of the state's image, made on first use; -1 without a glyph.
  int ImageIndex(TButtonState State);
  TGlyphList* GlyphList() const { return glyphList_; }
  // Drops every image made from the glyph (after a change of glyph, count or system colours).
  void Invalidate();
  // Lays out glyph and caption in Client and draws them.
  void Draw(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout, int Margin,
            int Spacing, TButtonState State);
  // Where Draw puts the glyph and the caption.
  void CalcLayout(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout, int Margin,
                  int Spacing, TPoint& GlyphPos, TRect& TextBounds);

  TNotifyEvent OnChange;

 private:
  void GlyphChanged(TObject* Sender);
  int CreateImage(TButtonState State);

  TBitmap* original_;
  TGlyphList* glyphList_ = nullptr;
  int indexes_[4] = {-1, -1, -1, -1};
  TColor transparentColor_ = clOlive;
  TNumGlyphs numGlyphs_ = 1;
};

class TTavSpeedButton : public TTavGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit TTavSpeedButton(TComponent* AOwner);
  ~TTavSpeedButton() override;
  void WndProc(TMessage& Message) override;

  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool Value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int Value);
  bool Down() const { return down_; }
  void SetDown(bool Value);
  TBitmap* Glyph() const { return glyph_->Glyph(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return glyph_->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return margin_; }
  void SetMargin(int Value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value);
  TBevelStyle BevelStyle() const { return bevel_; }
  void SetBevelStyle(TBevelStyle Value);
  TColor DownColor() const { return downColor_; }
  void SetDownColor(TColor Value);
  TColor BevelColor() const { return bevelColor_; }
  void SetBevelColor(TColor Value);

  TButtonState State() const { return state_; }
  TButtonGlyph* ButtonGlyph() const { return glyph_; }
  void Click() override;

 protected:
  void Paint() override;
  // Disabled buttons take bsDisabled, enabled ones leave it.
  void UpdateEnabledState();
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override {}
  void SetState(TButtonState Value) { state_ = Value; }
  bool Dragging() const { return dragging_; }

 private:
  void UpdateExclusive();
  void ButtonPressed(TMessage& Message);
  bool Inside(int X, int Y);
  void PaintFace(const TRect& R, TRect& Content);

  TButtonGlyph* glyph_;
  TButtonState state_ = bsUp;
  bool dragging_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  int margin_ = -1;
  TBevelStyle bevel_ = bsRaised;
  TColor downColor_ = clWhite;
  TColor bevelColor_ = clBlack;
  std::unique_ptr<TBitmap> pattern_;
};
