#pragma once
// TPGOpenDialog: the class library's open dialog with a picture preview and an information panel
// at its right. Its filter lists the registered readers. 150 ms after the last selection change
// it reads the file's information and starts a worker (TCreateOpenSaveDialogPaintPGThread) that
// loads the picture, shrinks it to the preview and reduces it to the display's colours; the
// worker posts WM_USER (the image, owned by the message) and WM_USER+1 (progress) to the hook.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "graphics/file_formats.h"
#include "graphics/pixel_graphic.h"
#include "vcl/commdlg.h"
#include "vcl/threads.h"
#include "vcl/timers.h"

class TCreateOpenSaveDialogPaintPGThread : public TThread {
 public:
  TCreateOpenSaveDialogPaintPGThread(bool CreateSuspended, bool NoWork);
  ~TCreateOpenSaveDialogPaintPGThread() override;
  // Terminate, resume a worker that never started, wait.
  void Stop();

  std::string FileName;
  HWND PostWnd = nullptr;
  int PreviewWidth = 0, PreviewHeight = 0;
  TStretchMode StretchMode = smPrecise;
  TPaletteIdent Palette8BitSys24BitGraphic = pOptimized252Sys16;
  TPaletteIdent Palette8BitSys8BitGraphic = pOptimized252Sys16;
  int DisplayBits = 24;

 protected:
  void Execute() override;

 private:
  void Progress(TObject* Sender, int AStep, int Max, bool& Abort);
  // Replaces Image by Next, a copy of it stretched (and reduced) into Next's format.
  void CopyInto(std::unique_ptr<TPixelGraphic>& Image, std::unique_ptr<TPixelGraphic> Next);

  bool noWork_;
  std::atomic<bool> stop_{false};
  int step_ = 1;
  int subStep_ = 0;
  int lastPercent_ = 0, lastPercentBand_ = 0;
  DWORD lastTick_ = 0;
};

class TPGOpenDialog : public TOpenDialog {
 public:
  VCL_CLASS_INFO
  explicit TPGOpenDialog(TComponent* AOwner);
  ~TPGOpenDialog() override;

  bool Execute() override;
  // Without ofShareAware the user is told once and it is added.
  void SetOptions(TOpenOptions Value) override;
  virtual std::string BuildDefaultFilter();

  TStretchMode StretchMode() const { return stretchMode_; }
  void SetStretchMode(TStretchMode Value) { stretchMode_ = Value; }
  bool UseDefaultFilter() const { return useDefaultFilter_; }
  void SetUseDefaultFilter(bool Value) { useDefaultFilter_ = Value; }
  TColor ProgressClockBkColor() const { return clockBkColor_; }
  void SetProgressClockBkColor(TColor Value) { clockBkColor_ = Value; }
  TColor ProgressClockLineColor() const { return clockLineColor_; }
  void SetProgressClockLineColor(TColor Value) { clockLineColor_ = Value; }
  bool ProgressClockVisible() const { return clockVisible_; }
  void SetProgressClockVisible(bool Value) { clockVisible_ = Value; }
  TPaletteIdent Palette8BitSys24BitGraphic() const { return palette24_; }
  void SetPalette8BitSys24BitGraphic(TPaletteIdent Value) { palette24_ = Value; }
  TPaletteIdent Palette8BitSys8BitGraphic() const { return palette8_; }
  void SetPalette8BitSys8BitGraphic(TPaletteIdent Value) { palette8_ = Value; }
  bool ShowInfo() const { return showInfo_; }
  void SetShowInfo(bool Value) { showInfo_ = Value; }

  // While shown: the panels, the explorer window and the hook's child dialog.
  HWND PreviewWnd() const { return previewWnd_; }
  HWND InfoWnd() const { return infoWnd_; }
  HWND FileDlgWnd() const { return fileDlgWnd_; }
  HWND HookWnd() const { return hookWnd_; }
  // The finished preview, nil when none.
  const TPixelGraphic* PreviewGraphic() const { return previewGraphic_; }
  // The information panel's lines (empty without information).
  std::vector<std::string> InfoLines() const;
  // How many preview workers have been started (the constructor's idle one not counted).
  int WorkersStarted() const { return workersStarted_; }

 protected:
  BOOL TaskModalDialog(BOOL (*DialogFunc)(LPOPENFILENAMEA), OPENFILENAMEA& DialogData) override;

 private:
  static INT_PTR OpenDialogHook(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
  void InitDialog(HWND child);
  void CentreOnScreen();
  void ResetPreview();
  void PreviewTimer(TObject* Sender);
  void StartPreview();
  std::string SelectedPath();
  void StopWorker();
  void DropQueuedResults();
  void FreePreview();
  void TakePreview(TPixelGraphic* Graphic);
  void DrawPreviewClock(int Step, int Percent);
  void PaintPreview(HDC DC, const RECT& R);
  void PaintInfo(HDC DC);
  void InvalidatePreviewInterior();
  void EndShowing();

  HWND previewWnd_ = nullptr, infoWnd_ = nullptr, fileDlgWnd_ = nullptr, hookWnd_ = nullptr;
  TPixelGraphic* previewGraphic_ = nullptr;
  TCreateOpenSaveDialogPaintPGThread* worker_ = nullptr;
  TTimer* timer_ = nullptr;
  OPENFILENAMEA* dialogData_ = nullptr;
  int workersStarted_ = 0;

  TStretchMode stretchMode_ = smPrecise;
  bool useDefaultFilter_ = true;
  TColor clockBkColor_ = clBtnFace, clockLineColor_ = clBtnShadow;
  bool clockVisible_ = true;
  TPaletteIdent palette24_ = pOptimized252Sys16, palette8_ = pOptimized252Sys16;
  bool showInfo_ = true;

  bool infoValid_ = false;
  std::string description_;
  TPGImageInfo info_;
};
