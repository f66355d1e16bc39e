#pragma once
// TPGCanvas: the drawing canvas of one TPixelGraphic, a memory device context with the image's
// DIB section and palette selected into it. A bitmap can be selected into one device context at a
// time, so making a context takes the section away from any other live canvas of it.
#include "graphics/pixel_graphic.h"
#include "vcl/graphics.h"

class TPGCanvas : public TCanvas {
 public:
  explicit TPGCanvas(TPixelGraphic* Graphic) : graphic_(Graphic) {}
  ~TPGCanvas() override;

  TPixelGraphic* Graphic() const { return graphic_; }
  // Puts the old bitmap and palette back and deletes the context; nothing without one.
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TPixelGraphic* graphic_;
  HDC dc_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HPALETTE oldPalette_ = nullptr;
};

// Frees the context of every live canvas (library teardown).
void FreeAllCanvases();
