#pragma once
// TVelmoraProc: the processing part of the image component. It keeps one undo copy of the attached
// image, clears it and resamples it by halftone stretching or one of six filters.
#include "imaging/progress.h"
#include "imaging/velmora_target.h"
#include "vcl/sets.h"

enum TMsgLanguage { msEnglish, msOther };
enum TProcPreviewOption { prpoDefaultLockPreview };
using TProcPreviewOptions = TSet<TProcPreviewOption>;

class TVelmoraProc : public TComponent {
 public:
  explicit TVelmoraProc(TComponent* AOwner);

  TVelmoraPicture* AttachedVelmora() const { return attached_.Get(); }
  void SetAttachedVelmora(TVelmoraPicture* Value) { attached_.Set(this, Value); }
  TImage* AttachedTImage() const { return attached_.Image(); }
  void SetAttachedTImage(TImage* Value) { attached_.SetImage(this, Value); }
  // Owned; setting copies the font.
  TFont* PreviewFont() { return &previewFont_; }
  void SetPreviewFont(TFont* Value) { previewFont_.Assign(Value); }
  COLORREF Background() const;
  void SetBackground(COLORREF Value);
  TBitmap& UndoBitmap() { return undo_; }

  void SaveUndo();
  // Copies the undo picture back when it is at least 2 by 2; it stays for another Undo.
  void Undo();
  void Clear();
  // Resizes the picture to Width x Height; a negative size keeps the aspect ratio. Filter 0 is
  // halftone stretching, 1 to 6 the filtered resampling.
  void Resample(int Width, int Height, int Filter);

  bool AutoUndo = true;
  TProgressEvent OnProgress;
  TMsgLanguage MsgLanguage = msEnglish;
  TProcPreviewOptions PreviewOptions;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TBitmap* Work() const;
  void Refresh();

  TVelmoraAttachment attached_;
  TFont previewFont_;
  TBitmap undo_;
  COLORREF background_ = 0;
};
