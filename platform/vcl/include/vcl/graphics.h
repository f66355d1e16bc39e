#pragma once
// The class library's drawing classes: colour values, the graphics objects (font, pen, brush) and
// the canvas over a device context. Pictures (TGraphic, TBitmap, TIcon, TPicture) are in
// vcl/graphics_images.h.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "vcl/objects.h"
#include "vcl/sets.h"
#include "vcl/sysutils.h"
#include "vcl/typinfo.h"
#include "win32/gdi.h"
#include "win32/text.h"

using TRect = RECT;
using TPoint = POINT;

// ---- Colours --------------------------------------------------------------------------------
// $00BBGGRR; a system colour is $80000000 or'ed with its COLOR_* index.
using TColor = std::int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours through GetSysColor; any other value as it stands.
COLORREF ColorToRGB(TColor Color);
// The colour's name ("clRed", "clBtnFace") or, for a colour without one, "$00BBGGRR".
std::string ColorToString(TColor Color);
// A colour name (without regard to case) or a number ("$FF", "255"); else EConvertError.
TColor StringToColor(const std::string& S);
bool IdentToColor(const std::string& Ident, std::int64_t& Color);
bool ColorToIdent(std::int64_t Color, std::string& Ident);

// TColor in published properties: its names reach the form reader through RegisterIntegerConsts.
extern const TTypeInfo TypeInfo_TColor;

// ---- Graphics objects -----------------------------------------------------------------------
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = BYTE;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

extern const TTypeInfo TypeInfo_TFontStyles;
extern const TTypeInfo TypeInfo_TFontPitch;
extern const TTypeInfo TypeInfo_TFontCharset;
extern const TTypeInfo TypeInfo_TPenStyle;
extern const TTypeInfo TypeInfo_TPenMode;
extern const TTypeInfo TypeInfo_TBrushStyle;

// The R2_* binary raster operation of a pen mode.
int PenModeToROP2(TPenMode Mode);

class TBitmap;

// A font, pen or brush: settings that make a GDI object on first use and tell their owner of
// every change (the handle is then made anew).
class TGraphicsObject : public TPersistent {
 public:
  VCL_CLASS_INFO
  ~TGraphicsObject() override;

  TNotifyEvent OnChange;

 protected:
  // Drops the handle after OnChange, so a canvas can deselect it before it is deleted.
  void Changed();
  HGDIOBJ handle_ = nullptr;
};

class TFont : public TGraphicsObject {
 public:
  VCL_CLASS_INFO
  TFont();

  HFONT Handle();
  void Assign(TPersistent* Source) override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);
  // Points; Size and Height are two views of one value: Height = -MulDiv(Size, PixelsPerInch, 72).
  int Size() const;
  void SetSize(int Value);
  // Pixels; negative is the character height, positive the cell height.
  int Height() const { return height_; }
  void SetHeight(int Value);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int Value) { pixelsPerInch_ = Value; }
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles Value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch Value);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset Value);

 private:
  std::string name_ = "MS Sans Serif";
  int height_;
  int pixelsPerInch_ = 96;
  TColor color_ = clWindowText;
  TFontStyles style_;
  TFontPitch pitch_ = fpDefault;
  TFontCharset charset_ = DEFAULT_CHARSET;
};

class TPen : public TGraphicsObject {
 public:
  VCL_CLASS_INFO

  HPEN Handle();
  void Assign(TPersistent* Source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  int Width() const { return width_; }
  void SetWidth(int Value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle Value);
  // Set into the device context by the canvas; not part of the handle.
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode Value);

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

class TBrush : public TGraphicsObject {
 public:
  VCL_CLASS_INFO

  HBRUSH Handle();
  void Assign(TPersistent* Source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle Value);
  // A pattern brush of the bitmap, which the caller keeps; none returns to Style.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* Value);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
};

// ---- Canvas ---------------------------------------------------------------------------------
// Copy modes: the ROP3 codes of the blits.
using TCopyMode = std::int32_t;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;

class TGraphic;

// Draws on a device context with its own font, pen and brush. A canvas without a handle asks its
// CreateHandle for one on first use; one that still has none raises EInvalidOperation.
class TCanvas : public TPersistent {
 public:
  VCL_CLASS_INFO
  TCanvas();
  ~TCanvas() override;

  // The device context with the canvas's font, pen and brush selected into it.
  HDC Handle();
  // Deselects the canvas's objects from the old context; 0 releases it.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return handle_ != nullptr; }

  TFont* Font() const { return font_; }
  TPen* Pen() const { return pen_; }
  TBrush* Brush() const { return brush_; }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  void SetPen(TPen* Value) { pen_->Assign(Value); }
  void SetBrush(TBrush* Value) { brush_->Assign(Value); }

  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode Value) { copyMode_ = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.x, Value.y); }
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);
  // The part of the surface that drawing reaches.
  TRect ClipRect();

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const std::vector<TPoint>& Points);
  void Polygon(const std::vector<TPoint>& Points);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.left, Rect.top, Rect.right, Rect.bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  // The ellipse in X1..Y2 from the radial through (X3, Y3) counter-clockwise to the one through
  // (X4, Y4): Arc draws the curve with the pen, Chord closes it with a line and Pie with two lines
  // to the centre, both filled with the brush.
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.left, Rect.top, Rect.right, Rect.bottom); }
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  void DrawFocusRect(const TRect& Rect);

  // Leaves the pen after the text.
  void TextOut(int X, int Y, const std::string& Text);
  // Clipped to Rect, whose background takes the brush unless the brush is clear.
  void TextRect(const TRect& Rect, int X, int Y, const std::string& Text);
  SIZE TextExtent(const std::string& Text);
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

  // The graphic at its own size (transparent ones leave their transparent colour undrawn).
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // StretchBlt from Canvas with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Copies Source of Bitmap to Dest; its pixels of Color take the brush instead.
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  // Serialises drawing from several threads; recursive.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return lockCount_; }

  // Deselects the font, pen and brush so that they are selected anew.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  void RequiredState(TCanvasState State);

 private:
  void DeselectHandles();
  void ObjectChanged(TCanvasStates Which);
  void SelectFont();
  void SelectPen();
  void SelectBrush();

  HDC handle_ = nullptr;
  TCanvasState state_;
  TFont* font_;
  TPen* pen_;
  TBrush* brush_;
  TPoint penPos_{0, 0};
  TCopyMode copyMode_ = cmSrcCopy;
  std::recursive_mutex lock_;
  int lockCount_ = 0;
};
