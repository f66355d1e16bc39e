#pragma once
// TAnimGIF: a graphic control that keeps a whole GIF file (stored with the form as the binary
// property "Data"), parses it into at most 256 frames and animates them with a TTimerEx. Frames
// are composed into a picture of the screen size and, when any frame is transparent, a mask.
//
// Limits: at most 256 frames; a frame or picture above the library's picture limit, a frame
// larger than its data could encode, or a picture of over 4 million pixels larger than the whole
// file could encode, fails the parse. Truncated data ends the scan: what was
// decoded stays. Image data with a code size above 11 gives no pixels. Unknown extensions are
// skipped.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/timer_ex.h"
#include "vcl/controls.h"
#include "vcl/graphics_images.h"
#include "vcl/streams.h"

enum TGIFVersion { gvGIF87a, gvGIF89a };
extern const TTypeInfo TypeInfo_TGIFVersion;

// Parsing progress; clearing KeepOnProcessing aborts the load.
using TAnimGIFProgressEvent = std::function<void(TObject* Sender, int BytesProcessed, int BytesToProcess,
                                                 int PercentageProcessed, bool& KeepOnProcessing)>;
extern const TTypeInfo TypeInfo_TAnimGIFProgressEvent;

using TGifColorTable = std::array<std::uint8_t, 768>;  // red, green, blue triples

class TAnimGIFFrame {
 public:
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int ColorBits = 0;  // 0: the global table
  int Delay = 0;  // milliseconds
  int Disposal = 0;  // 0 .. 3
  bool HasLocalTable = false;
  bool Interlaced = false;
  bool Transparent = false;
  int TransparentIndex = 0;
  std::array<std::uint8_t, 3> TransparentColor{};  // blue, green, red
  std::string Comment;
  // The frame's own table, or the control's global one.
  const TGifColorTable* Table = nullptr;
  TGifColorTable LocalTable{};
  // Colour indexes, rows top to bottom.
  std::vector<std::uint8_t> Pixels;
  // The area under the frame before it was drawn (disposal 3): blue, green, red rows and the mask.
  std::vector<std::uint8_t> SavedBackground;
  std::vector<std::uint8_t> SavedMask;

  // The picture as an 8-bit bitmap with its colour table.
  void MakePicture(TBitmap& Dest) const;
};

class TAnimGIF : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit TAnimGIF(TComponent* AOwner);
  ~TAnimGIF() override;

  // False (and the control cleared) when the stream holds no GIF the control can show.
  bool LoadFromStream(TStream* Stream);
  void Clear();
  // A TAnimGIF copies the other's file and parses it; nothing clears; others go to the base.
  void Assign(TPersistent* Source) override;
  // A TBitmap gets the first frame's picture.
  void AssignTo(TPersistent* Dest) override;

  bool Animate() const { return animate_; }
  void SetAnimate(bool Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  bool Center() const { return center_; }
  void SetCenter(bool Value);
  int CurrentFrame() const { return current_; }
  void SetCurrentFrame(int Value);
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool Value) { doubleBuffered_ = Value; }
  bool FirstImageOnly() const { return firstImageOnly_; }
  void SetFirstImageOnly(bool Value) { firstImageOnly_ = Value; }
  bool Loop() const { return loop_; }
  void SetLoop(bool Value);
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool Value);
  int Speed() const { return speed_; }
  void SetSpeed(int Value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool Value);
  bool StretchRatio() const { return stretchRatio_; }
  void SetStretchRatio(bool Value);
  bool Tile() const { return tile_; }
  void SetTile(bool Value);
  bool Threaded() const { return timer_->Threaded(); }
  void SetThreaded(bool Value) { timer_->SetThreaded(Value); }
  TThreadPriority ThreadPriority() const { return timer_->ThreadPriority(); }
  void SetThreadPriority(TThreadPriority Value) { timer_->SetThreadPriority(Value); }
  TGIFVersion Version() const { return version_; }

  bool Empty() const { return empty_; }
  int FrameCount() const { return static_cast<int>(frames_.size()); }
  // 1-based.
  const TAnimGIFFrame& Frame(int Index) const { return *frames_[static_cast<std::size_t>(Index - 1)]; }
  int PictureWidth() const { return width_; }
  int PictureHeight() const { return height_; }
  int LoopCount() const { return loopCount_; }
  bool AnyTransparent() const { return anyTransparent_; }
  // The composed picture (24 bits) and mask (1 bit, white where nothing is drawn); none while empty.
  TBitmap* Composed() const { return composed_.get(); }
  TBitmap* ComposedMask() const { return composedMask_.get(); }
  // The GIF file as stored in "Data".
  TMemoryStream& Data() { return file_; }
  TTimerEx* Timer() const { return timer_; }
  // The frame advance the timer runs.
  void NextFrame(TObject* Sender);
  // Paints the control as it shows into a device context at the control's client origin.
  void PaintTo(HDC DC);
  // Paints the draw rectangle at once through the parent, with DoubleBuffered off the screen
  // first, so a frame change never shows the background in between.
  void Repaint() override;
  // The current frame's colours, for the form to realise; none while empty or hidden.
  HPALETTE GetPalette() override;
  void WndProc(TMessage& Message) override;

  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;
  TAnimGIFProgressEvent OnProgress;
  TNotifyEvent OnWrapAnimation;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void Paint() override;
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);
  virtual bool ParseData();
  virtual void Changing();
  virtual void Change();
  // False when the handler asked to stop.
  virtual bool Progress();

 private:
  struct TReadState;
  enum class TImageOutcome { Kept, Last, Unreadable };
  bool ParseBlocks(TReadState& State);
  bool ParseExtension(TReadState& State, std::uint8_t Label);
  TImageOutcome ParseImage(TReadState& State);
  bool ReadFrame(TReadState& State, TAnimGIFFrame& Frame);
  void DecodeFrameData(TReadState& State, TAnimGIFFrame& Frame);
  void DrawFrame(int Index);
  void DisposeFrame(int Index);
  void ClearFrames();
  // True when the control's opaque style changed.
  bool UpdateOpacity();
  void AskParentForPalette();
  // Visible, or on a designer's form.
  bool Shown() const;
  void FreePalette();
  TRect DrawRect();
  bool IsStretched();
  bool LoopLimitReached() const;
  int FrameInterval(int Index) const;
  void UpdateTimerEnabled();

  TMemoryStream file_;
  TMemoryStream work_;
  std::vector<std::unique_ptr<TAnimGIFFrame>> frames_;
  bool empty_ = true;
  int width_ = 0, height_ = 0;
  int loopCount_ = 1;
  int iteration_ = 1;
  bool firstTick_ = true;
  bool keepOn_ = true;
  int colorBits_ = 0;
  TGifColorTable globalTable_{};
  bool anyTransparent_ = false;
  std::unique_ptr<TBitmap> composed_;
  std::unique_ptr<TBitmap> composedMask_;
  std::unique_ptr<TBitmap> firstFrame_;
  HPALETTE palette_ = nullptr;
  int paletteFrame_ = 0;  // the frame palette_ was made for
  bool repainting_ = false;
  TTimerEx* timer_;
  TGIFVersion version_ = gvGIF87a;
  int current_ = 1;
  bool animate_ = false;
  bool autoSize_ = false;
  bool center_ = false;
  bool doubleBuffered_ = true;
  bool firstImageOnly_ = false;
  bool loop_ = false;
  bool opaque_ = false;
  int speed_ = 100;
  bool stretch_ = false;
  bool stretchRatio_ = false;
  bool tile_ = false;
};
