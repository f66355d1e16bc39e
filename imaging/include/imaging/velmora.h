#pragma once
// TVelmora: the image component the slot manager puts on its forms. An image view that owns one
// processing part (AutoUndo on) and one I/O part, both attached to itself, and forwards loading,
// resampling, undo and saving to them.
#include <string>

#include "imaging/velmora_io.h"
#include "imaging/velmora_proc.h"
#include "imaging/velmora_view.h"

// The work bitmap is always 24 bits; the value is kept for form descriptions.
enum TNColors { nc8bit, nc24bit };
extern const TTypeInfo TypeInfo_TNColors;
extern const TTypeInfo TypeInfo_TProgressEvent;
extern const TTypeInfo TypeInfo_TMsgLanguage;

class TVelmora : public TVelmoraView {
 public:
  VCL_CLASS_INFO
  explicit TVelmora(TComponent* AOwner);
  ~TVelmora() override;

  // A TVelmora or TVelmoraIO source gives its parameter record first; the view copies the picture.
  void Assign(TPersistent* Source) override;

  TVelmoraProc* Proc() const { return proc_; }
  TVelmoraIO* IO() const { return io_; }

  bool AutoUndo() const { return proc_->AutoUndo; }
  void SetAutoUndo(bool Value) { proc_->AutoUndo = Value; }
  TNColors NColors() const { return nColors_; }
  // Either value makes the work bitmap 24 bits and reads nc24bit afterwards.
  void SetNColors(TNColors Value);
  const TProgressEvent& OnProgress() const { return proc_->OnProgress; }
  void SetOnProgress(TProgressEvent Value);
  TMsgLanguage MsgLanguage() const { return proc_->MsgLanguage; }
  void SetMsgLanguage(TMsgLanguage Value);
  TProcPreviewOptions ProcPreviewOptions() const { return proc_->PreviewOptions; }
  void SetProcPreviewOptions(TProcPreviewOptions Value) { proc_->PreviewOptions = Value; }
  TIOPreviewOptions IOPreviewOptions() const { return io_->PreviewOptions; }
  void SetIOPreviewOptions(TIOPreviewOptions Value) { io_->PreviewOptions = Value; }
  TFont* PreviewFont() const { return io_->PreviewFont(); }
  void SetPreviewFont(TFont* Value);
  bool StreamHeaders() const { return io_->StreamHeaders; }
  void SetStreamHeaders(bool Value) { io_->StreamHeaders = Value; }

  void Undo() { proc_->Undo(); }
  void Resample(int Width, int Height, int Filter) { proc_->Resample(Width, Height, Filter); }
  void Clear() { proc_->Clear(); }
  void LoadFromFile(const std::string& FileName) { io_->LoadFromFile(FileName); }
  void LoadBMPFile(const std::string& FileName) { io_->LoadBMPFile(FileName); }
  void SaveBMPFile(const std::string& FileName) { io_->SaveBMPFile(FileName); }
  // The record itself, not a copy.
  TVelmoraIOParams& IOParams() { return io_->Params(); }

 private:
  TVelmoraProc* proc_;
  TVelmoraIO* io_;
  TNColors nColors_ = nc8bit;
};
