#pragma once
// Windows metafiles as a graphic: enhanced files, and Windows-format files with or without the
// placeable header. The size is the picture's own (the placeable box in its units per inch, the
// enhanced frame in 0.01 mm) in screen pixels; drawing plays the records into the rectangle.
#include <vector>

#include "vcl/graphics_images.h"
#include "win32/metafile.h"

class TMetafile : public TGraphic {
 public:
  VCL_CLASS_INFO
  TMetafile() = default;
  ~TMetafile() override;

  void Assign(TPersistent* Source) override;
  HENHMETAFILE Handle() const { return handle_; }
  // False for a Windows-format file.
  bool Enhanced() const { return enhanced_; }

  // The rest of the stream is the file. A file that is not a metafile, or whose records do not
  // hold together, raises EInvalidGraphic "Metafile is not valid" and leaves the graphic empty.
  void LoadFromStream(TStream* Stream) override;
  // Writes the file as it was read.
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return handle_ == nullptr; }
  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  // The size it is drawn at by TCanvas::Draw.
  void SetWidthImpl(int Value) override;
  void SetHeightImpl(int Value) override;

 private:
  void Clear();
  void Load(std::vector<BYTE> data);

  HENHMETAFILE handle_ = nullptr;
  std::vector<BYTE> data_;
  bool enhanced_ = true;
  int width_ = 0;
  int height_ = 0;
};
