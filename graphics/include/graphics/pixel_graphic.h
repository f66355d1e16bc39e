#pragma once
// TPixelGraphic: the library's palette-aware image, its pixels held in a DIB section at 1, 4, 8
// or 24 bits per pixel. Rows are stored bottom-up; a colour is a TColor $00BBGGRR.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "graphics/library.h"
#include "vcl/graphics_images.h"
#include "win32/gdi.h"

// 0 = 1 bit, 1 = 4 bits, 2 = 8 bits, 3 = 24 bits per pixel.
using TPGBitCount = std::uint8_t;
constexpr TPGBitCount pgbc1 = 0;
constexpr TPGBitCount pgbc4 = 1;
constexpr TPGBitCount pgbc8 = 2;
constexpr TPGBitCount pgbc24 = 3;

enum TPaletteIdent {
  pNone,
  pTrueColor,
  pUnknown,
  pBlackWhite,
  pSysGray4,
  pSys16,
  pGray4,
  pGray16,
  pGray236,
  pGray256,
  pSpecial125,
  pSpecial216,
  pSpecial252,
  pOptimized252Sys16,
  pSource
};
enum TStretchMode { smFast, smMedium, smPrecise };
enum TPGWarningAction { pgwaIgnore, pgwaOKBox, pgwaOKCancelBox, pgwaRaise };

using TPGProgressEvent = std::function<void(TObject* Sender, int Step, int Max, bool& Abort)>;

class TPGCanvas;

class TPixelGraphic : public TGraphic {
 public:
  VCL_CLASS_INFO
  TPixelGraphic();
  ~TPixelGraphic() override;

  // Copies pixels, palette and settings (not the events) of a TPixelGraphic; nil empties.
  void Assign(TPersistent* Source) override;
  void CopyPaletteFrom(TPixelGraphic* Source);

  // ---- Size and format ----
  // Recreates the storage, or only clears it when nothing changes. A failure leaves an empty
  // 0 x 0 image of the new format.
  void SetSize(int AWidth, int AHeight, TPGBitCount AFormat);
  void SetBitCount(TPGBitCount Value);
  static TPGBitCount BitCountToFormat(int N);

  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  bool GetEmpty() override { return bits_ == nullptr; }
  TPGBitCount GetBitCount() const { return format_; }
  int GetBitsPerPixel() const;
  int GetPaletteCapacity() const;
  int GetStride() const { return stride_; }
  int ImageSize() const { return imageSize_; }
  // Entries of the colour table a bitmap of this image holds: the capacity for an empty palette.
  int DIBColorTableEntries() const;
  int GetDIBSize() const { return DIBColorTableEntries() * 4 + imageSize_ + 58; }
  std::uint8_t* GetBits();
  // Storage line Height-1-Y; Y is not range-tested.
  std::uint8_t* ScanLine(int Y);
  const BITMAPINFO* BitmapInfo() const;
  HBITMAP BitmapHandle() const { return bitmap_; }

  // ---- Pixels: raw values are indexes, or TColor at 24 bits ----
  std::uint32_t GetPixel(int X, int Y);
  void SetPixel(int X, int Y, std::uint32_t Value);
  TColor GetPixelColor(int X, int Y);
  void SetPixelColor(int X, int Y, TColor Color);

  // ---- Palette ----
  int PaletteCount() const { return paletteCount_; }
  TPaletteIdent PaletteIdent() const { return paletteIdent_; }
  bool AllGray() const { return allGray_; }
  TColor GetPaletteEntry(int Index) const;
  virtual void SetPaletteCount(int Count);
  virtual void SetPaletteEntry(int Index, TColor Color);
  virtual void SetPaletteIdent(TPaletteIdent Ident);
  // Recognises a standard palette from the entries; sets the kind and AllGray.
  void DetectPaletteIdent();
  HPALETTE GetPalette() override;

  // ---- Colour lookup ----
  virtual int ColorToIndex(TColor Color);
  virtual void FreeColorMap();
  bool UseColorMap() const { return useColorMap_; }
  virtual void SetUseColorMap(bool Value);
  bool RGBWeighting() const { return rgbWeighting_; }
  virtual void SetRGBWeighting(bool Value);

  // ---- Background ----
  std::uint32_t BackGroundValue() const { return backGroundValue_; }
  void SetBackGroundValue(std::uint32_t Value) { backGroundValue_ = Value; }
  void SetBackGroundColor(TColor Color);
  TColor GetBackGroundColor() const;
  void Clear();

  // ---- Change notification ----
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  // Tells OnChange (and marks the graphic modified) unless updates are pending.
  virtual void Changed();
  TPGProgressEvent OnProgress;
  TNotifyEvent OnProgressStart;
  TNotifyEvent OnProgressEnd;

  // ---- Plain settings ----
  bool Dither() const { return dither_; }
  void SetDither(bool Value) { dither_ = Value; }
  std::uint8_t DitherErrorLimit() const { return ditherErrorLimit_; }
  void SetDitherErrorLimit(std::uint8_t Value) { ditherErrorLimit_ = Value; }
  bool DitherErrorLimitAuto() const { return ditherErrorLimitAuto_; }
  void SetDitherErrorLimitAuto(bool Value) { ditherErrorLimitAuto_ = Value; }
  bool DitherErrorLimitSoft() const { return ditherErrorLimitSoft_; }
  void SetDitherErrorLimitSoft(bool Value) { ditherErrorLimitSoft_ = Value; }
  bool JPEGFastDCT() const { return jpegFastDCT_; }
  void SetJPEGFastDCT(bool Value) { jpegFastDCT_ = Value; }
  TStretchMode StretchMode() const { return stretchMode_; }
  void SetStretchMode(TStretchMode Value) { stretchMode_ = Value; }
  TPGWarningAction ReadWarningAction() const { return readWarningAction_; }
  void SetReadWarningAction(TPGWarningAction Value) { readWarningAction_ = Value; }
  TPGWarningAction SaveColorResWarningAction() const { return saveColorResWarningAction_; }
  void SetSaveColorResWarningAction(TPGWarningAction Value) { saveColorResWarningAction_ = Value; }
  long double Gamma() const { return gamma_; }
  void SetGamma(long double Value) { gamma_ = Value; }
  bool SkipRealize() const { return skipRealize_; }
  void SetSkipRealize(bool Value) { skipRealize_ = Value; }

  // ---- Drawing ----
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // Stretches the whole image onto Rect of DC with the raster operation Rop, with the image's
  // palette selected (and realised unless SkipRealize is set).
  void DrawToDC(HDC DC, const RECT& Rect, bool ForceBackground, DWORD Rop);

  // ---- Loading: by the stream's signature, else by the extension; then gamma correction ----
  void LoadFromFile(const std::string& FileName) override;
  void LoadFromFileIndex(const std::string& FileName, int Index);
  void LoadFromStream(TStream* Stream) override;
  void LoadFromStreamExt(TStream* Stream, std::string Ext, int Index);

  // ---- Saving: by the extension, converted when the writer cannot store the resolution ----
  // Replaces the file only when the whole save succeeded.
  void SaveToFile(const std::string& FileName) override;
  virtual void SaveToStreamExt(TStream* Stream, const std::string& Ext);
  // Always a bitmap, in the image's own format.
  void SaveToStream(TStream* Stream) override;

  // ---- The clipboard: CF_DIB ----
  void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) override;

  // ---- The packed DIB: information header, colour table, pixels ----
  void WriteDIB(TStream* Stream);
  // The pixels follow the colour table, or lie at the stream position PixelsAt when that is
  // further on (a bitmap file's offset; -1 for a packed DIB).
  void ReadDIB(TStream* Stream, bool CoreHeader, std::int64_t PixelsAt = -1);

  // ---- Canvas ----
  // Made on first use; direct pixel access afterwards first flushes what it drew.
  TPGCanvas* GetCanvas();
  // Lets the canvas's device context go, so the next drawing selects the current storage.
  void ReleaseCanvasHandle();

  // ---- Copying and stretching; the destination comes first ----
  void CopyRect(int DstX, int DstY, TPixelGraphic* Source, int SrcX, int SrcY, int AWidth, int AHeight);
  void StretchCopyRect(int DstX, int DstY, int DstWidth, int DstHeight, TPixelGraphic* Source, int SrcX, int SrcY,
                       int SrcWidth, int SrcHeight);
  void StretchCopy(TPixelGraphic* Source);

  // ---- Error diffusion into this image ----
  void BuildDitherTables();
  void NextDitherRow();
  void DitherPixel(int X, int Y, int R, int G, int B);
  void FreeDitherBuffers();

 protected:
  // A 32-bit length, then a bitmap file.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;
  void Changed(TObject*) override { Changed(); }
  void SetWidthImpl(int Value) override;
  void SetHeightImpl(int Value) override;
  bool GetTransparent() override { return transparent_; }
  // Stored and copied only.
  void SetTransparentImpl(bool Value) override { transparent_ = Value; }

 private:
  void SaveWithWriter(const std::string& Ext, TStream* Stream);
  void ApplyGammaCorrection();
  // Reads Count bytes, in ten steps with progress when there are more than 100.
  void ReadWithProgress(TStream* Stream, void* Buffer, std::int64_t Count);
  void ReadBitFieldPixels(TStream* Stream, int BitCount, const DWORD Masks[3]);
  void DecodeRunLength(const std::uint8_t* Data, std::int64_t Size, bool FourBits);
  void FlipRows();
  void FlushGdi();
  void DeleteStorage();
  void BuildBitmapInfo();
  void InvalidateLastQuery() { lastQueryInvalid_ = true; }
  int LookupColor(TColor Color);
  int ColorMapLookup(TColor Color);
  void BuildColorMap();
  int NearestEntry(TColor Color) const;
  void WriteColor(int X, int Y, int R, int G, int B);
  bool ReportRowDone(int Step, int Max);

  std::uint32_t backGroundValue_ = 0;
  TPGBitCount format_ = pgbc24;
  std::uint8_t* bits_ = nullptr;
  std::vector<std::uint8_t> bitmapInfo_;
  bool dither_ = true;
  std::uint8_t ditherErrorLimit_ = 32;
  bool ditherErrorLimitAuto_ = true;
  std::vector<int> errorLimit_;  // 511 entries for errors -255..255
  bool ditherErrorLimitSoft_ = true;
  std::vector<int> errorRows_[2];  // current and next row, (Width + 2) x 3 sixteenths
  bool useColorMap_ = true;
  bool jpegFastDCT_ = false;
  int height_ = 0;
  bool skipRealize_ = false;
  bool allGray_ = false;
  long double gamma_ = PGDisplayGamma;
  int imageSize_ = 0;
  int paletteCount_ = 0;
  int stride_ = 0;
  HPALETTE paletteHandle_ = nullptr;
  std::unique_ptr<std::uint8_t[]> colorMap_;  // 65536 entry indexes, one per 5-6-5 cell
  std::unique_ptr<std::uint8_t[]> colorMapKnown_;  // 8192 bytes, a bit per cell
  bool colorMapStale_ = true;
  TColor lastQuery_ = 0;
  bool lastQueryInvalid_ = true;
  int lastResult_ = 0;
  bool paletteChanged_ = false;
  std::vector<TColor> palette_;
  TPaletteIdent paletteIdent_ = pTrueColor;
  bool rgbWeighting_ = true;
  TStretchMode stretchMode_ = smPrecise;
  bool transparent_ = false;
  int updateCount_ = 0;
  TPGWarningAction readWarningAction_ = pgwaOKCancelBox;
  TPGWarningAction saveColorResWarningAction_ = pgwaOKCancelBox;
  bool gdiFlushPending_ = false;
  TPGCanvas* canvas_ = nullptr;
  int width_ = 0;
  HBITMAP bitmap_ = nullptr;
};
