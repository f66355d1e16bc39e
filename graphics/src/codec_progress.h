#pragma once
// The image's progress events around a codec's rows, with the codec as Sender. The end event
// also runs when an exception leaves the rows.
#include "graphics/pixel_graphic.h"

class TCodecProgress {
 public:
  TCodecProgress(TPixelGraphic* Graphic, TObject* Sender) : graphic_(Graphic), sender_(Sender) {
    if (graphic_->OnProgressStart) graphic_->OnProgressStart(sender_);
  }
  ~TCodecProgress() {
    try {
      Finish();
    } catch (...) {  // an exception is already leaving
    }
  }
  TCodecProgress(const TCodecProgress&) = delete;
  TCodecProgress& operator=(const TCodecProgress&) = delete;

  // True when the handler asks to stop.
  bool Aborted(int Step, int Max) {
    bool abort = false;
    if (graphic_->OnProgress) graphic_->OnProgress(sender_, Step, Max, abort);
    return abort;
  }
  void Finish() {
    if (finished_) return;
    finished_ = true;
    if (graphic_->OnProgressEnd) graphic_->OnProgressEnd(sender_);
  }

 private:
  TPixelGraphic* graphic_;
  TObject* sender_;
  bool finished_ = false;
};
