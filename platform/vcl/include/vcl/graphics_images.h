#pragma once
// Pictures: the abstract TGraphic, the DIB-backed TBitmap, TIcon, and TPicture with the registry
// of graphic classes by file extension. Bitmaps that a program compiles in are found by name
// through RegisterBitmapResource.
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/graphics.h"
#include "vcl/streams.h"

class EInvalidGraphic : public Exception {
  using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
  using Exception::Exception;
};
class EResNotFound : public Exception {
  using Exception::Exception;
};

class TGraphic;

// A graphic class as a value (what a class reference is in the class library): its run-time
// description and how to make an empty instance.
struct TGraphicClass {
  const TClassInfo* Info = nullptr;
  TGraphic* (*Create)() = nullptr;

  template <class T>
  static TGraphicClass Of() {
    return {&T::StaticClassInfo(), []() -> TGraphic* { return new T; }};
  }
  explicit operator bool() const { return Info != nullptr; }
  friend bool operator==(const TGraphicClass& a, const TGraphicClass& b) { return a.Info == b.Info; }
};

class TGraphic : public TPersistent {
 public:
  VCL_CLASS_INFO

  bool Empty() { return GetEmpty(); }
  int Width() { return GetWidth(); }
  void SetWidth(int Value) { SetWidthImpl(Value); }
  int Height() { return GetHeight(); }
  void SetHeight(int Value) { SetHeightImpl(Value); }
  HPALETTE Palette() { return GetPalette(); }
  void SetPalette(HPALETTE Value) { SetPaletteImpl(Value); }
  bool Transparent() { return GetTransparent(); }
  void SetTransparent(bool Value) { SetTransparentImpl(Value); }
  bool Modified() const { return modified_; }
  void SetModified(bool Value);

  // Through a file stream on the Windows path.
  virtual void LoadFromFile(const std::string& FileName);
  virtual void SaveToFile(const std::string& FileName);
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) = 0;
  virtual void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) = 0;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  friend class TPicture;

  // Marks the graphic modified and tells OnChange.
  virtual void Changed(TObject* Sender);
  // The binary "Data" of form descriptions, through ReadData and WriteData.
  void DefineProperties(TFiler* Filer) override;
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual bool GetEmpty() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual void SetWidthImpl(int Value) = 0;
  virtual void SetHeightImpl(int Value) = 0;
  virtual HPALETTE GetPalette() { return nullptr; }
  virtual void SetPaletteImpl(HPALETTE) {}
  virtual bool GetTransparent() { return transparent_; }
  virtual void SetTransparentImpl(bool Value);
  // The "Data" of a form description: the whole stream form by default.
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }

 private:
  bool modified_ = false;
  bool transparent_ = false;
};

// ---- TBitmap --------------------------------------------------------------------------------
// pfDevice is the screen's format; pf15bit is 16 bits 5-5-5, pf16bit 16 bits 5-6-5.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

extern const TTypeInfo TypeInfo_TPixelFormat;
extern const TTypeInfo TypeInfo_TTransparentMode;

class TBitmapCanvas;

// The pixels live in one DIB section, bottom-up as Windows keeps them. Paletted formats start
// with a standard colour table: black and white, the 16 VGA colours, or the 20 static colours
// around a colour cube and a grey ramp.
class TBitmap : public TGraphic {
 public:
  VCL_CLASS_INFO
  TBitmap();
  ~TBitmap() override;

  void Assign(TPersistent* Source) override;

  // A memory DC with the bitmap selected, made on first use and let go when the bitmap changes.
  TCanvas* Canvas();
  // The DIB section (made on first use; none while the bitmap is empty).
  HBITMAP Handle();
  // Takes over a bitmap: a DIB section as it is, any other bitmap copied into one and deleted.
  void SetHandle(HBITMAP Value);
  bool HandleAllocated() const { return dib_ != nullptr; }
  // Hands the DIB section to the caller, who deletes it; the bitmap keeps a copy of its image.
  HBITMAP ReleaseHandle();
  // Frees the canvas's device context and the palette handle; the image stays.
  void Dormant();
  // The image is held only once (in the DIB section), so there is no second copy to free.
  void FreeImage() {}

  TBitmapHandleType HandleType() const { return ddb_ ? bmDDB : bmDIB; }
  // bmDDB holds the image in the screen's format (PixelFormat pfDevice).
  void SetHandleType(TBitmapHandleType Value);
  TPixelFormat PixelFormat() const { return ddb_ ? pfDevice : format_; }
  // Converts the pixels; a paletted target keeps the colour table when it has room, otherwise
  // each pixel takes the nearest entry of the target's standard table.
  void SetPixelFormat(TPixelFormat Value);
  bool Monochrome() const;
  void SetMonochrome(bool Value);
  // Row Y, counted from the top whatever the storage order.
  void* ScanLine(int Y);

  HPALETTE ReleasePalette();
  // The colour table (paletted formats), also what Palette is made from.
  const std::vector<RGBQUAD>& Colors() const { return colors_; }

  TColor TransparentColor();
  // Any colour but clDefault fixes it (tmFixed); clDefault returns to the bottom-left pixel.
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode Value);

  // A BMP file; "Bitmap image is not valid" (EInvalidGraphic) for anything else.
  void LoadFromStream(TStream* Stream) override;
  // A BMP file, bottom-up, in the bitmap's format.
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) override;
  // A bitmap registered with RegisterBitmapResource; EResNotFound "Resource %s not found".
  void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);

  // Drops every pixel and the handles; the bitmap is 0 x 0.
  void Clear();

 protected:
  friend class TCanvas;
  friend class TBitmapCanvas;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return width_ == 0 || height_ == 0; }
  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  void SetWidthImpl(int Value) override { Resize(Value, height_); }
  void SetHeightImpl(int Value) override { Resize(width_, Value); }
  HPALETTE GetPalette() override;
  // Takes the palette over: its entries become the colour table of a paletted bitmap.
  void SetPaletteImpl(HPALETTE Value) override;
  // A 32-bit length, then the BMP file.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

 private:
  // Dest gets Source of this bitmap; the pixels of Color are left undrawn (kMaskTransparent) or
  // take the canvas's brush (kMaskTakesBrush).
  enum TMaskUse { kMaskTransparent, kMaskTakesBrush };
  void DrawMasked(TCanvas* ACanvas, const TRect& Dest, const TRect& Source, TColor Color, TMaskUse Use);
  // Replaces the image; bits are bottom-up rows of the format (or none: all white).
  void NewImage(int Width, int Height, TPixelFormat Format, std::vector<RGBQUAD> Colors, const void* Bits);
  void Resize(int Width, int Height);
  // Copies any bitmap (DIB section or device bitmap) into a new image of its depth.
  void CopyImage(HBITMAP Value);
  void Convert(TPixelFormat Format, const std::vector<RGBQUAD>& Colors);
  void FreeContext();
  void FreeHandles();

  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_;
  bool ddb_ = true;
  HBITMAP dib_ = nullptr;
  BYTE* bits_ = nullptr;
  int stride_ = 0;
  std::vector<RGBQUAD> colors_;
  HPALETTE palette_ = nullptr;
  TBitmapCanvas* canvas_ = nullptr;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
};

// The BMP file of a bitmap that a program compiles in, found again by LoadFromResourceName.
// The bytes must stay valid for the program's run.
void RegisterBitmapResource(const std::string& Name, const void* Bmp, std::size_t Size);

// ---- TIcon ----------------------------------------------------------------------------------
// An icon handle, drawn through DrawIconEx; the icon takes over the handle given to it.
class TIcon : public TGraphic {
 public:
  VCL_CLASS_INFO
  TIcon() = default;
  ~TIcon() override;

  void Assign(TPersistent* Source) override;
  HICON Handle() const { return handle_; }
  void SetHandle(HICON Value);
  HICON ReleaseHandle();

  // An icon file (.ico), its entry nearest 32 by 32 made the handle; "Icon image is not valid"
  // (EInvalidGraphic) for data that is not one. Saving writes the loaded file back unchanged,
  // nothing for an empty icon, and raises EInvalidGraphicOperation for an icon made from a
  // handle.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // Icons have no clipboard format.
  void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return handle_ == nullptr; }
  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  // "Cannot change the size of an icon" (EInvalidGraphicOperation).
  void SetWidthImpl(int Value) override;
  void SetHeightImpl(int Value) override;

 private:
  // Owns Value in place of the current handle, keeping the file data.
  void TakeHandle(HICON Value);

  HICON handle_ = nullptr;
  // The file the icon was read from, written back as it was.
  std::string fileData_;
  int width_ = 32;
  int height_ = 32;
};

// ---- TPicture -------------------------------------------------------------------------------
// Holds one graphic of any registered class.
class TPicture : public TPersistent {
 public:
  VCL_CLASS_INFO
  TPicture() = default;
  ~TPicture() override;

  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return graphic_; }
  // Holds a copy of Value (of its class); none empties the picture.
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap or icon, replacing a graphic of another class by an empty one.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
  TIcon* Icon();
  void SetIcon(TIcon* Value) { SetGraphic(Value); }
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // By the file's extension through the registered formats; "Unknown picture file extension
  // (.%s)" (EInvalidGraphic) for one without a class.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);

  // Extension without the dot, compared without regard to case.
  static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                 TGraphicClass GraphicClass);
  static void UnregisterGraphicClass(TGraphicClass GraphicClass);
  // The class registered for the extension; none when there is none.
  static TGraphicClass FileFormatClass(const std::string& Extension);
  // "All (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp|..." over the formats whose class is
  // GraphicClass or derives from it.
  static std::string GraphicFilter(TGraphicClass GraphicClass);

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* Dest) override;
  // "Data": the graphic's class name as a counted string, then the graphic's own data.
  void DefineProperties(TFiler* Filer) override;
  virtual void Changed(TObject* Sender);

 private:
  void Replace(TGraphic* NewGraphic);
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  TGraphic* graphic_ = nullptr;
};
