#pragma once
// TVelmoraIO: the file part of the image component. It loads a picture file into the attached
// image by the file's extension, records what the file said in its TVelmoraIOParams, and saves the
// image as a bitmap file as the record asks.
#include <string>

#include "imaging/io_params.h"
#include "imaging/progress.h"
#include "imaging/velmora_proc.h"
#include "imaging/velmora_target.h"

enum TIOPreviewOption { iopoDefaultLockPreview };
using TIOPreviewOptions = TSet<TIOPreviewOption>;

class TVelmoraIO : public TComponent {
 public:
  explicit TVelmoraIO(TComponent* AOwner);

  TVelmoraPicture* AttachedVelmora() const { return attached_.Get(); }
  void SetAttachedVelmora(TVelmoraPicture* Value) { attached_.Set(this, Value); }
  TImage* AttachedTImage() const { return attached_.Image(); }
  void SetAttachedTImage(TImage* Value) { attached_.SetImage(this, Value); }
  // Owned; setting copies the font.
  TFont* PreviewFont() { return &previewFont_; }
  void SetPreviewFont(TFont* Value) { previewFont_.Assign(Value); }
  // The attached image's bitmap, or none.
  TBitmap* WorkBitmap() const { return attached_.Bitmap(); }
  COLORREF Background() const;
  void SetBackground(COLORREF Value);
  TVelmoraIOParams& Params() { return params_; }

  // Chooses the loader by the lower-cased extension; an extension without one loads nothing. A
  // metafile larger than an A0 page at the screen's resolution is refused as unrecognized.
  void LoadFromFile(const std::string& FileName);
  void LoadBMPFile(const std::string& FileName);
  // The GIF load returns the number of images in the file.
  int LoadGIFFile(const std::string& FileName);
  void LoadTIFFFile(const std::string& FileName);
  void LoadJPEGFile(const std::string& FileName);
  void LoadPCXFile(const std::string& FileName);
  void LoadICOFile(const std::string& FileName);
  void LoadCURFile(const std::string& FileName);
  // Replaces the file only once the whole bitmap file is written.
  void SaveBMPFile(const std::string& FileName);
  void FillBackground();
  void AssignParams(TVelmoraIO* Source) { params_.Assign(Source->params_); }
  void AssignParams(const TVelmoraIOParams& Source) { params_.Assign(Source); }

  TProgressEvent OnProgress;
  TMsgLanguage MsgLanguage = msEnglish;
  TIOPreviewOptions PreviewOptions;
  bool StreamHeaders = true;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void LoadIconLike(const std::string& FileName, UINT type, int width, int height, const char* error);
  void AfterLoad(const std::string& FileName);
  TProgressRec Progress() { return {OnProgress, this}; }

  TVelmoraAttachment attached_;
  TFont previewFont_;
  TVelmoraIOParams params_;
  COLORREF background_ = 0;
};
