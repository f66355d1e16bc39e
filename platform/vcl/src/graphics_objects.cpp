// Fonts, pens and brushes: settings that make their GDI object on first use.
#include <cstring>

#include "vcl/graphics.h"
#include "vcl/graphics_images.h"
#include "win32/kernel.h"

namespace {

bool RegisterCharsetNames() {
  struct TCharsetName {
    std::int64_t Value;
    const char* Name;
  };
  static constexpr TCharsetName names[] = {{ANSI_CHARSET, "ANSI_CHARSET"},
                                           {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                                           {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
                                           {OEM_CHARSET, "OEM_CHARSET"}};
  RegisterIntegerConsts(
      TypeInfo_TFontCharset,
      [](const std::string& ident, std::int64_t& value) {
        for (const TCharsetName& n : names)
          if (SameText(n.Name, ident)) return value = n.Value, true;
        return false;
      },
      [](std::int64_t value, std::string& ident) {
        for (const TCharsetName& n : names)
          if (n.Value == value) return ident = n.Name, true;
        return false;
      });
  return true;
}

}  // namespace

const TTypeInfo TypeInfo_TFontStyles{"TFontStyles", tkSet, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
const TTypeInfo TypeInfo_TFontPitch{"TFontPitch", tkEnumeration, {"fpDefault", "fpVariable", "fpFixed"}};
const TTypeInfo TypeInfo_TFontCharset{"TFontCharset", tkInteger};
const TTypeInfo TypeInfo_TPenStyle{
    "TPenStyle",
    tkEnumeration,
    {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
const TTypeInfo TypeInfo_TPenMode{
    "TPenMode",
    tkEnumeration,
    {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen",
     "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"}};
const TTypeInfo TypeInfo_TBrushStyle{
    "TBrushStyle",
    tkEnumeration,
    {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"}};
[[maybe_unused]] static const bool charsetNamesRegistered = RegisterCharsetNames();

int PenModeToROP2(TPenMode Mode) {
  static constexpr int rop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                 R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                 R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                 R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return rop2[Mode];
}

// ---- TGraphicsObject ------------------------------------------------------------------------

const TClassInfo& TGraphicsObject::StaticClassInfo() {
  static const TClassInfo info(
      "TGraphicsObject", &TPersistent::StaticClassInfo(),
      {EventProperty<TGraphicsObject>("OnChange", TypeInfo_TNotifyEvent, &TGraphicsObject::OnChange)});
  return info;
}

TGraphicsObject::~TGraphicsObject() {
  if (handle_) DeleteObject(handle_);
}

void TGraphicsObject::Changed() {
  HGDIOBJ old = handle_;
  handle_ = nullptr;
  if (OnChange) OnChange(this);
  if (old) DeleteObject(old);
}

// ---- TFont ----------------------------------------------------------------------------------

const TClassInfo& TFont::StaticClassInfo() {
  static const TClassInfo info(
      "TFont", &TGraphicsObject::StaticClassInfo(),
      {OrdProperty<TFont>("Charset", TypeInfo_TFontCharset, &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET),
       OrdProperty<TFont>("Color", TypeInfo_TColor, &TFont::Color, &TFont::SetColor, clWindowText),
       OrdProperty<TFont>("Height", TypeInfo_Integer, &TFont::Height, &TFont::SetHeight),
       StrProperty<TFont>("Name", &TFont::Name, &TFont::SetName),
       OrdProperty<TFont>("Pitch", TypeInfo_TFontPitch, &TFont::Pitch, &TFont::SetPitch, fpDefault),
       OrdProperty<TFont>("Size", TypeInfo_Integer, &TFont::Size, &TFont::SetSize),
       OrdProperty<TFont>("Style", TypeInfo_TFontStyles, &TFont::Style, &TFont::SetStyle, 0)});
  return info;
}

TFont::TFont() : height_(-MulDiv(8, 96, 72)) {}

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, pixelsPerInch_, 72)); }

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || Value == name_) return;
  name_ = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (Value == height_) return;
  height_ = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == style_) return;
  style_ = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == pitch_) return;
  pitch_ = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == charset_) return;
  charset_ = Value;
  Changed();
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectA(&lf);
  }
  return handle_;
}

void TFont::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TFont*>(Source);
  if (!source) return TGraphicsObject::Assign(Source);
  name_ = source->name_;
  height_ = source->height_;
  pixelsPerInch_ = source->pixelsPerInch_;
  color_ = source->color_;
  style_ = source->style_;
  pitch_ = source->pitch_;
  charset_ = source->charset_;
  Changed();
}

// ---- TPen -----------------------------------------------------------------------------------

const TClassInfo& TPen::StaticClassInfo() {
  static const TClassInfo info("TPen", &TGraphicsObject::StaticClassInfo(),
                               {OrdProperty<TPen>("Color", TypeInfo_TColor, &TPen::Color, &TPen::SetColor, clBlack),
                                OrdProperty<TPen>("Mode", TypeInfo_TPenMode, &TPen::Mode, &TPen::SetMode, pmCopy),
                                OrdProperty<TPen>("Style", TypeInfo_TPenStyle, &TPen::Style, &TPen::SetStyle, psSolid),
                                OrdProperty<TPen>("Width", TypeInfo_Integer, &TPen::Width, &TPen::SetWidth, 1)});
  return info;
}

void TPen::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value == width_ || Value < 0) return;
  width_ = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == style_) return;
  style_ = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == mode_) return;
  mode_ = Value;
  Changed();
}

HPEN TPen::Handle() {
  static constexpr int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
  if (!handle_) handle_ = CreatePen(styles[style_], width_, ColorToRGB(color_));
  return handle_;
}

void TPen::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TPen*>(Source);
  if (!source) return TGraphicsObject::Assign(Source);
  color_ = source->color_;
  width_ = source->width_;
  style_ = source->style_;
  mode_ = source->mode_;
  Changed();
}

// ---- TBrush ---------------------------------------------------------------------------------

const TClassInfo& TBrush::StaticClassInfo() {
  static const TClassInfo info(
      "TBrush", &TGraphicsObject::StaticClassInfo(),
      {OrdProperty<TBrush>("Color", TypeInfo_TColor, &TBrush::Color, &TBrush::SetColor, clWhite),
       OrdProperty<TBrush>("Style", TypeInfo_TBrushStyle, &TBrush::Style, &TBrush::SetStyle, bsSolid)});
  return info;
}

void TBrush::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  // A colour asks for a colour brush, as a clear brush given a colour becomes solid.
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == style_) return;
  style_ = Value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (Value == bitmap_) return;
  bitmap_ = Value;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (!handle_) {
    if (bitmap_ && !bitmap_->Empty()) {
      handle_ = CreatePatternBrush(bitmap_->Handle());
    } else if (style_ == bsSolid) {
      handle_ = CreateSolidBrush(ColorToRGB(color_));
    } else if (style_ == bsClear) {
      LOGBRUSH lb{BS_NULL, 0, 0};
      handle_ = CreateBrushIndirect(&lb);
    } else {
      handle_ = CreateHatchBrush(static_cast<int>(style_) - bsHorizontal + HS_HORIZONTAL, ColorToRGB(color_));
    }
  }
  return handle_;
}

void TBrush::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TBrush*>(Source);
  if (!source) return TGraphicsObject::Assign(Source);
  color_ = source->color_;
  style_ = source->style_;
  bitmap_ = source->bitmap_;
  Changed();
}
