#pragma once
// TPGImage: a scroll box showing one pixel image in a child paint box (TPicBox) whose bounds are
// the picture's place on the screen. The viewer keeps its own copy of the picture, lays it out by
// a stretch rule, tiles and mirrors it, and offers a selection with an animated frame. When the
// display cannot show the picture as it is (fewer colours, a better stretch than the device's), a
// worker thread (TCreatePaintPGThread) prepares a copy and posts it back; with UseThread off the
// same work runs inside the paint.
#include <atomic>
#include <cstdint>
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/extctrls.h"
#include "vcl/forms_scrolling.h"
#include "vcl/threads.h"
#include "vcl/timers.h"

enum TStretch {
  sNeverKAR,
  sAlways,
  sAlwaysKAR,
  sShrink,
  sShrinkKAR,
  sEnlarge,
  sEnlargeKAR,
  sAlwaysLongerEdgeKAR,
  sShrinkLongerEdgeKAR,
  sEnlargeShrinkLongerEdgeKAR,
  sEnlargeLongerEdgeKAR,
  sZoomKAR
};
enum TTiling { tNone, tRepeat, tMirrorHorizontal, tMirrorVertical, tMirror };
enum TActionMode { amMoveImage, amMoveResizeCreateSelection, amMoveSelection, amMoveSelectionMoveImage, amNone };
// A colour value without system colours.
using TRGB = int;
// pBlackWhite .. pOptimized252Sys16 and pBlackWhite .. pSource.
using TPalette8BitSys24BitGraphic = TPaletteIdent;
using TPalette8BitSys8BitGraphic = TPaletteIdent;

using TPGINewAutoSizeEvent = std::function<void(TObject* Sender, int PGImageWidth, int PGImageHeight)>;
// CursorHandle is a cursor handle the handler may replace.
using TPGSetCursorEvent = std::function<void(TObject* Sender, int& CursorHandle)>;

extern const TTypeInfo TypeInfo_TStretch;
extern const TTypeInfo TypeInfo_TTiling;
extern const TTypeInfo TypeInfo_TActionMode;
extern const TTypeInfo TypeInfo_TStretchMode;
extern const TTypeInfo TypeInfo_TPGWarningAction;
extern const TTypeInfo TypeInfo_TPalette8BitSys24BitGraphic;
extern const TTypeInfo TypeInfo_TPalette8BitSys8BitGraphic;
extern const TTypeInfo TypeInfo_TPGINewAutoSizeEvent;
extern const TTypeInfo TypeInfo_TPGSetCursorEvent;
extern const TTypeInfo TypeInfo_TPGProgressEvent;

class TPGImage;

// Builds the viewer's prepared image: a 24-bit pre-stretch (optional), a median-cut palette
// (optional), then the final stretch or remap into Target. Posts WM_USER (lParam Target, owned by
// the message; wParam 1 and no image when the preparation failed) and WM_USER+1 (phase, percent).
class TCreatePaintPGThread : public TThread {
 public:
  TCreatePaintPGThread(bool CreateSuspended, bool NoWork);
  ~TCreatePaintPGThread() override;

  // Runs the body now on the calling thread, whatever NoWork says (UseThread off).
  void RunDirect() { Body(); }
  // Terminate, resume a worker that never started, wait; the viewer's stop.
  void Stop();
  bool StopRequested() const { return stop_; }

  HWND Window = nullptr;
  bool DoStretch = false;
  bool DoMedianCut = false;
  bool PostResults = true;
  TPixelGraphic* Source = nullptr;
  TPixelGraphic* Target = nullptr;
  TPixelGraphic* Stretched = nullptr;
  std::function<void(TPixelGraphic* Graphic)> DirectResult;
  std::function<void(int Step, int Percent)> DirectProgress;

  // Set as OnProgress of Stretched and Target.
  void Progress(TObject* Sender, int AStep, int Max, bool& Abort);
  TPGProgressEvent ProgressHandler();

 protected:
  void Execute() override;

 private:
  void Body();
  void Remap();
  void FreeImages();

  bool noWork_;
  std::atomic<bool> stop_{false};
  int step_ = 1;
  int lastPercent_ = 0;
  DWORD lastTick_ = 0;
};

// The paint box that stands for the picture's place. Its mouse and paint events go to the viewer
// first (paint: after), then to the PicBoxOn... handlers the viewer forwards.
class TPicBox : public TPaintBox {
 public:
  VCL_CLASS_INFO
  explicit TPicBox(TComponent* AOwner);

  TMouseEvent PicBoxOnMouseDown;
  TMouseMoveEvent PicBoxOnMouseMove;
  TMouseEvent PicBoxOnMouseUp;
  TNotifyEvent PicBoxOnPaint;

  TMouseEvent ViewerMouseDown;
  TMouseMoveEvent ViewerMouseMove;
  TMouseEvent ViewerMouseUp;
  TNotifyEvent ViewerPaint;
};

class TPGImage : public TScrollBox {
 public:
  VCL_CLASS_INFO
  explicit TPGImage(TComponent* AOwner);
  ~TPGImage() override;

  // Shows a copy; the caller keeps Graphic. Nil empties the viewer.
  void AssignPixelGraphic(TPixelGraphic* Graphic);
  void LoadFromFile(const std::string& AFileName, int Index);
  virtual void SaveToFile(const std::string& AFileName);
  // Runs after every change of the picture or of a setting that changes its preparation.
  void PixelGraphicChange(TObject* Sender);

  // The viewer's copy of the picture, read only; nil when empty.
  const TPixelGraphic* PixelGraphic() const { return shown_; }
  // The prepared image now painted, nil when none.
  const TPixelGraphic* PaintPixelGraphic() const { return paintGraphic_; }
  TPicBox* PicBox() const { return picBox_; }
  int ImageWidth() const { return imageWidth_; }
  int ImageHeight() const { return imageHeight_; }
  // The zoom of the layout; -1 for a stretch that does not keep the aspect ratio.
  long double EffectiveZoom() const { return effectiveZoom_; }
  // The worker of the latest preparation (finished or running).
  TCreatePaintPGThread* Worker() const { return worker_; }
  int CurrentStep() const { return currentStep_; }
  int Percent() const { return percent_; }
  // Whether the last preparation failed; the picture is then drawn as it is until it changes.
  bool PrepareFailed() const { return prepareFailed_; }

  void Invalidate() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void WndProc(TMessage& Message) override;
  HPALETTE GetPalette() override;

  // The layout: the paint box's size and place by the stretch rule.
  void ArrangePicBox(bool Force);
  // True when Paint draws the prepared image; starts a preparation when one is needed.
  bool PreparePaintGraphic();

  // Coordinates: image to paint box and back.
  int ImageToPicBoxX(int X) const;
  int ImageToPicBoxY(int Y) const;
  int PicBoxToImageX(int X) const;
  int PicBoxToImageY(int Y) const;
  TRect SelectionRect() const;
  TRect SelectionDisplayRect() const;
  void SetSelectionBounds(int ALeft, int ATop, int AWidth, int AHeight);
  // The drag state: 0 none, 1 picture, 2 selection, 3 new selection, 4..11 handles.
  int DragState() const { return dragState_; }
  int AnimationPhase() const { return phase_; }
  void AnimateSelection(TObject* Sender);
  void AutoScrollTick(TObject* Sender);

  // ---- Properties ----
  TActionMode ActionMode() const { return actionMode_; }
  void SetActionMode(TActionMode Value);
  bool Allow24BitStretch() const { return allow24BitStretch_; }
  void SetAllow24BitStretch(bool Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  int AutoSizeMaxHeight() const { return autoSizeMaxHeight_; }
  void SetAutoSizeMaxHeight(int Value);
  int AutoSizeMaxWidth() const { return autoSizeMaxWidth_; }
  void SetAutoSizeMaxWidth(int Value);
  int AutoSizeMinHeight() const { return autoSizeMinHeight_; }
  void SetAutoSizeMinHeight(int Value);
  int AutoSizeMinWidth() const { return autoSizeMinWidth_; }
  void SetAutoSizeMinWidth(int Value);
  TRGB BackGroundColor() const { return backGroundColor_; }
  void SetBackGroundColor(TRGB Value) { backGroundColor_ = Value; }
  bool Center() const { return center_; }
  void SetCenter(bool Value);
  bool Dither() const { return dither_; }
  void SetDither(bool Value);
  std::uint8_t DitherErrorLimit() const { return ditherErrorLimit_; }
  void SetDitherErrorLimit(std::uint8_t Value);
  bool DitherErrorLimitAuto() const { return ditherErrorLimitAuto_; }
  void SetDitherErrorLimitAuto(bool Value);
  bool DitherErrorLimitSoft() const { return ditherErrorLimitSoft_; }
  void SetDitherErrorLimitSoft(bool Value);
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& Value) { LoadFromFile(Value, 0); }
  bool FlipHorizontal() const { return flipHorizontal_; }
  void SetFlipHorizontal(bool Value);
  bool FlipVertical() const { return flipVertical_; }
  void SetFlipVertical(bool Value);
  bool KeepOldPaintPixelGraphic() const { return keepOld_; }
  void SetKeepOldPaintPixelGraphic(bool Value) { keepOld_ = Value; }
  TPaletteIdent Palette8BitSys24BitGraphic() const { return palette24_; }
  void SetPalette8BitSys24BitGraphic(TPaletteIdent Value);
  TPaletteIdent Palette8BitSys8BitGraphic() const { return palette8_; }
  void SetPalette8BitSys8BitGraphic(TPaletteIdent Value);
  TColor PicBoxFrameColor() const { return picBoxFrameColor_; }
  void SetPicBoxFrameColor(TColor Value) { picBoxFrameColor_ = Value; }
  bool Progress5Clocks() const { return progress5Clocks_; }
  void SetProgress5Clocks(bool Value) { progress5Clocks_ = Value; }
  TColor ProgressClockBkColor() const { return clockBkColor_; }
  void SetProgressClockBkColor(TColor Value) { clockBkColor_ = Value; }
  TColor ProgressClockLineColor() const { return clockLineColor_; }
  void SetProgressClockLineColor(TColor Value) { clockLineColor_ = Value; }
  bool ProgressClockVisible() const { return clockVisible_; }
  void SetProgressClockVisible(bool Value) { clockVisible_ = Value; }
  bool RGBWeighting() const { return rgbWeighting_; }
  void SetRGBWeighting(bool Value);
  TPGWarningAction ReadWarningAction() const { return readWarningAction_; }
  void SetReadWarningAction(TPGWarningAction Value) { readWarningAction_ = Value; }
  bool RearrangeAlways() const { return rearrangeAlways_; }
  void SetRearrangeAlways(bool Value) { rearrangeAlways_ = Value; }
  bool ReduceOnLoad() const { return reduceOnLoad_; }
  void SetReduceOnLoad(bool Value) { reduceOnLoad_ = Value; }
  TPGWarningAction SaveColorResWarningAction() const { return saveWarningAction_; }
  void SetSaveColorResWarningAction(TPGWarningAction Value) { saveWarningAction_ = Value; }
  bool Selection() const { return selection_; }
  void SetSelection(bool Value);
  TColor SelectionColor1() const { return selectionColor1_; }
  void SetSelectionColor1(TColor Value);
  TColor SelectionColor2() const { return selectionColor2_; }
  void SetSelectionColor2(TColor Value);
  int SelectionLeft() const { return selLeft_; }
  void SetSelectionLeft(int Value) { SetSelectionBounds(Value, selTop_, selWidth_, selHeight_); }
  int SelectionTop() const { return selTop_; }
  void SetSelectionTop(int Value) { SetSelectionBounds(selLeft_, Value, selWidth_, selHeight_); }
  int SelectionWidth() const { return selWidth_; }
  void SetSelectionWidth(int Value) { SetSelectionBounds(selLeft_, selTop_, Value, selHeight_); }
  int SelectionHeight() const { return selHeight_; }
  void SetSelectionHeight(int Value) { SetSelectionBounds(selLeft_, selTop_, selWidth_, Value); }
  bool ShowHourGlass() const { return showHourGlass_; }
  void SetShowHourGlass(bool Value) { showHourGlass_ = Value; }
  TStretch Stretch() const { return stretch_; }
  void SetStretch(TStretch Value);
  TStretchMode StretchMode() const { return stretchMode_; }
  void SetStretchMode(TStretchMode Value);
  TTiling Tiling() const { return tiling_; }
  void SetTiling(TTiling Value);
  bool UseThread() const { return useThread_; }
  void SetUseThread(bool Value);
  long double ZoomFactor() const { return zoomFactor_; }
  void SetZoomFactor(long double Value);

  // Forwarded to the paint box.
  TColor PicBoxColor() const { return picBox_->Color(); }
  void SetPicBoxColor(TColor Value) { picBox_->SetColor(Value); }
  TCursor PicBoxCursor() const { return picBox_->Cursor(); }
  void SetPicBoxCursor(TCursor Value) { picBox_->SetCursor(Value); }
  TCursor PicBoxDragCursor() const { return picBox_->DragCursor(); }
  void SetPicBoxDragCursor(TCursor Value) { picBox_->SetDragCursor(Value); }
  TDragMode PicBoxDragMode() const { return picBox_->DragMode(); }
  void SetPicBoxDragMode(TDragMode Value) { picBox_->SetDragMode(Value); }
  std::string PicBoxHint() const { return picBox_->Hint(); }
  void SetPicBoxHint(const std::string& Value) { picBox_->SetHint(Value); }
  bool PicBoxParentColor() const { return picBox_->ParentColor(); }
  void SetPicBoxParentColor(bool Value) { picBox_->SetParentColor(Value); }
  bool PicBoxParentShowHint() const { return picBox_->ParentShowHint(); }
  void SetPicBoxParentShowHint(bool Value) { picBox_->SetParentShowHint(Value); }
  TPopupMenu* PicBoxPopupMenu() const { return picBox_->PopupMenu(); }
  void SetPicBoxPopupMenu(TPopupMenu* Value) { picBox_->SetPopupMenu(Value); }
  bool PicBoxShowHint() const { return picBox_->ShowHint(); }
  void SetPicBoxShowHint(bool Value) { picBox_->SetShowHint(Value); }
  int PicBoxTag() const { return picBox_->Tag(); }
  void SetPicBoxTag(int Value) { picBox_->SetTag(Value); }
  void SetPicBoxOnClick(TNotifyEvent Value) { picBox_->OnClick = std::move(Value); }
  void SetPicBoxOnDblClick(TNotifyEvent Value) { picBox_->OnDblClick = std::move(Value); }
  void SetPicBoxOnDragDrop(TDragDropEvent Value) { picBox_->OnDragDrop = std::move(Value); }
  void SetPicBoxOnDragOver(TDragOverEvent Value) { picBox_->OnDragOver = std::move(Value); }
  void SetPicBoxOnEndDrag(TEndDragEvent Value) { picBox_->OnEndDrag = std::move(Value); }
  void SetPicBoxOnStartDrag(TStartDragEvent Value) { picBox_->OnStartDrag = std::move(Value); }
  void SetPicBoxOnMouseDown(TMouseEvent Value) { picBox_->PicBoxOnMouseDown = std::move(Value); }
  void SetPicBoxOnMouseMove(TMouseMoveEvent Value) { picBox_->PicBoxOnMouseMove = std::move(Value); }
  void SetPicBoxOnMouseUp(TMouseEvent Value) { picBox_->PicBoxOnMouseUp = std::move(Value); }
  void SetPicBoxOnPaint(TNotifyEvent Value) { picBox_->PicBoxOnPaint = std::move(Value); }

  TPGSetCursorEvent PicBoxOnSetCursor;
  TPGINewAutoSizeEvent OnNewAutoSize;
  TNotifyEvent OnPaint;
  TNotifyEvent OnPainting;
  TNotifyEvent OnPixelGraphicChange;
  TPGProgressEvent OnPixelGraphicProgress;
  TNotifyEvent OnPixelGraphicProgressEnd;
  TNotifyEvent OnPixelGraphicProgressStart;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnSelectionMade;
  TPGSetCursorEvent OnSetCursor;
  TNotifyEvent OnZoomFactorChange;

 protected:
  void PaintWindow(HDC DC) override;
  void DestroyWnd() override;
  virtual void Paint();

 private:
  int BorderWidth();
  void StopWorker();
  // Frees the results and progress the stopped worker had queued for this window.
  void DropQueuedResults();
  void DropPaintGraphic();
  void HookGraphicEvents(TPixelGraphic* Graphic, bool WithChange);
  // A setting the prepared picture depends on changed, when Matters: prepare it again.
  void SettingChanged(bool Matters);
  void RealizeFormPalette();
  void ReceivePaintGraphic(TPixelGraphic* Graphic);
  void SetPaintProgress(int Step, int Percent);
  void DrawProgressClocks();
  bool StartPreparation(bool NeedStretch, int DisplayBits);
  void ReplaceWorker();
  void ConnectWorker(TCreatePaintPGThread* Worker);
  void AddStretchStep(TCreatePaintPGThread* Worker);
  void AddTarget(TCreatePaintPGThread* Worker, int DisplayBits);
  void PaintTiles(TPixelGraphic* Graphic, const TRect& Box);
  void SetCursorMessage(TMessage& Message);

  // Selection and mouse.
  void PicBoxMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void PicBoxMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void PicBoxMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DrawSelectionFrame(TObject* Sender);
  void DrawSelectionFrameOn(TCanvas* Canvas);
  void InvalidateSelectionBand();
  void RubberBand(int X, int Y);
  bool PictureScrollable();
  bool InsideSelection(int X, int Y);
  // The handle under the point (paint box coordinates), 4..11, or 0.
  int HandleAt(int X, int Y);
  TBrush* SelectionBrush(int Index);
  void FreeSelectionBrushes();

  TPicBox* picBox_;
  TControlCanvas* canvas_;
  TCreatePaintPGThread* worker_ = nullptr;
  bool workerStopped_ = false;
  bool awaitingResult_ = false;
  TPixelGraphic* shown_ = nullptr;
  TPixelGraphic* paintGraphic_ = nullptr;
  bool paintStale_ = false;
  bool prepareFailed_ = false;
  int lastPaintWidth_ = 0, lastPaintHeight_ = 0;
  int imageWidth_ = 0, imageHeight_ = 0;
  long double effectiveZoom_ = 1.0L;
  bool paintSuppressed_ = false;
  int currentStep_ = 1, percent_ = 0;

  TActionMode actionMode_ = amMoveImage;
  bool allow24BitStretch_ = false;
  bool autoSize_ = false;
  int autoSizeMaxHeight_ = 2147483647, autoSizeMaxWidth_ = 2147483647;
  int autoSizeMinHeight_ = 0, autoSizeMinWidth_ = 0;
  TRGB backGroundColor_ = 0;
  bool center_ = false;
  bool dither_ = true;
  std::uint8_t ditherErrorLimit_ = 32;
  bool ditherErrorLimitAuto_ = true, ditherErrorLimitSoft_ = true;
  std::string fileName_;
  bool flipHorizontal_ = false, flipVertical_ = false;
  bool keepOld_ = false;
  TPaletteIdent palette24_ = pOptimized252Sys16, palette8_ = pOptimized252Sys16;
  TColor picBoxFrameColor_ = clBtnShadow;
  bool progress5Clocks_ = true;
  TColor clockBkColor_ = clBtnFace, clockLineColor_ = clBtnShadow;
  bool clockVisible_ = true;
  bool rgbWeighting_ = true;
  TPGWarningAction readWarningAction_ = pgwaOKCancelBox, saveWarningAction_ = pgwaOKCancelBox;
  bool rearrangeAlways_ = false;
  bool reduceOnLoad_ = false;
  bool selection_ = false;
  int selLeft_ = 0, selTop_ = 0, selWidth_ = 1, selHeight_ = 1;
  TColor selectionColor1_ = 0xFFFFFF, selectionColor2_ = 0x0000FF;
  bool showHourGlass_ = true;
  TStretch stretch_ = sNeverKAR;
  TStretchMode stretchMode_ = smFast;
  TTiling tiling_ = tNone;
  bool useThread_ = true;
  long double zoomFactor_ = 1.0L;

  int dragState_ = 0;
  TPoint lastMouse_{0, 0};
  TPoint dragOffset_{0, 0};
  TPoint anchor_{0, 0};
  int phase_ = 0;
  TTimer* animationTimer_ = nullptr;
  TTimer* autoScrollTimer_ = nullptr;
  TBrush* brushes_[8] = {};
  TBitmap* patterns_[8] = {};
};
