#include "imaging/anim_gif.h"

#include <algorithm>
#include <cstring>

#include "imaging/bitmap_rows.h"
#include "imaging/gif_lzw.h"
#include "win32/dib_limits.h"
#include "win32/little_endian.h"
#include "vcl/filer.h"
#include "vcl/forms.h"
#include "vcl/scope_exit.h"
#include "vcl/system.h"

namespace {

// The frames of one file may hold no more pixels in all than the largest 8-bit picture.
constexpr std::int64_t kFramePixelBudget = kMaxDibBytes;

constexpr int kMaxFrames = 256;
constexpr int kShortestDelay = 50;  // ms; what browsers of the time waited at least
constexpr int kInitialSize = 105;
constexpr int kMaxCodeSize = 11;  // what the LZW core decodes; larger sizes give no pixels
// A code of at least 2 bits yields at most 4096 pixels: what a byte of data can make at most.
constexpr std::int64_t kMaxPixelsPerDataByte = 8 / 2 * 4096;
constexpr std::int64_t kProgressPixels = 100000;
constexpr std::int64_t kFreeComposedPixels = std::int64_t{1} << 22;  // 12 MiB composed, made in a few ms
constexpr int kNarrowFrame = 321;
constexpr std::uint8_t kExtension = '!', kImage = ',', kTrailer = ';';
constexpr std::uint8_t kPlainText = 0x01, kGraphicControl = 0xF9, kComment = 0xFE, kApplication = 0xFF;

bool ReadExact(TStream* s, void* buffer, std::int64_t count) { return s->Read(buffer, count) == count; }

bool MaskBit(TBitmap& mask, int x, int y) { return (RowOf(mask, y)[x >> 3] & (0x80 >> (x & 7))) != 0; }

void SetMaskBit(TBitmap& mask, int x, int y, bool white) {
  std::uint8_t& byte = RowOf(mask, y)[x >> 3];
  const auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
  byte = white ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
}

// A plain text extension's header and text, skipped: nothing of it is shown.
bool SkipPlainText(TStream* s) {
  std::uint8_t count = 0;
  return ReadExact(s, &count, 1) && s->Seek(count, soFromCurrent) <= s->Size() && GifSkipSubBlocks(s);
}

// The comment's sub-blocks, appended to `comment`.
bool ReadComment(TStream* s, std::string& comment) {
  std::uint8_t count = 0;
  char text[255];
  for (;;) {
    if (!ReadExact(s, &count, 1)) return false;
    if (count == 0) return true;
    if (!ReadExact(s, text, count)) return false;
    comment.append(text, count);
  }
}

// An application extension: the looping one's count, when it has one, into `loopCount`; any
// other's data is skipped.
bool ReadApplication(TStream* s, int& loopCount) {
  std::uint8_t count = 0, block[255];
  if (!ReadExact(s, &count, 1) || !ReadExact(s, block, count)) return false;
  if (count >= 11 && std::memcmp(block, "NETSCAPE", 8) == 0 && std::memcmp(block + 8, "2.0", 3) == 0) {
    std::uint8_t sub = 0, data[255];
    if (!ReadExact(s, &sub, 1)) return false;
    if (sub == 0) return true;  // no sub-block: the extension ends here
    if (!ReadExact(s, data, sub)) return false;
    if (sub >= 3) loopCount = ReadLE16(data + 1);
  }
  return GifSkipSubBlocks(s);
}

}  // namespace

const TTypeInfo TypeInfo_TGIFVersion{"TGIFVersion", tkEnumeration, {"gvGIF87a", "gvGIF89a"}};
const TTypeInfo TypeInfo_TAnimGIFProgressEvent{"TAnimGIFProgressEvent", tkMethod};

// ---- Frame -----------------------------------------------------------------------------------

// Through a bitmap file in memory, the way the class library loads any 8-bit picture.
void TAnimGIFFrame::MakePicture(TBitmap& Dest) const {
  constexpr int kColors = 256;
  const int stride = (Width + 3) & ~3;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(stride) * static_cast<std::uint32_t>(Height);
  const std::uint32_t offset = 14 + 40 + 4 * kColors;
  std::vector<std::uint8_t> file(14 + 40, 0);  // the file header and the info header
  file.reserve(offset + pixelBytes);
  file[0] = 'B';
  file[1] = 'M';
  WriteLE32(&file[2], offset + pixelBytes);
  WriteLE32(&file[10], offset);
  WriteLE32(&file[14], 40);
  WriteLE32(&file[18], static_cast<std::uint32_t>(Width));
  WriteLE32(&file[22], static_cast<std::uint32_t>(Height));
  WriteLE16(&file[26], 1);
  WriteLE16(&file[28], 8);
  WriteLE32(&file[34], pixelBytes);
  WriteLE32(&file[46], kColors);
  for (int i = 0; i < kColors; ++i) {
    const std::uint8_t* rgb = Table->data() + 3 * i;
    file.insert(file.end(), {rgb[2], rgb[1], rgb[0], 0});
  }
  for (int y = Height - 1; y >= 0; --y) {
    const std::uint8_t* row = Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width);
    file.insert(file.end(), row, row + Width);
    file.insert(file.end(), static_cast<std::size_t>(stride - Width), 0);
  }
  TMemoryStream stream;
  stream.Write(file.data(), static_cast<std::int64_t>(file.size()));
  stream.SetPosition(0);
  Dest.LoadFromStream(&stream);
}

// ---- Control ---------------------------------------------------------------------------------

struct TAnimGIF::TReadState {
  TStream* Source = nullptr;
  std::uint8_t Control[6] = {};  // the graphic control extension for the next image
  std::string Comment;
  std::int64_t PixelsLeft = kFramePixelBudget;  // over all frames
  bool Ended = false;  // a short read: the scan stops
};

TAnimGIF::TAnimGIF(TComponent* AOwner) : TGraphicControl(AOwner), timer_(new TTimerEx(nullptr)) {
  SetBounds(Left(), Top(), kInitialSize, kInitialSize);
  timer_->SetEnabled(false);
  timer_->SetOnTimer([this](TObject* Sender) { NextFrame(Sender); });
}

// The timer goes first: no tick may reach a control on its way out.
TAnimGIF::~TAnimGIF() {
  delete timer_;
  timer_ = nullptr;
  FreePalette();
}

bool TAnimGIF::LoadFromStream(TStream* Stream) {
  bool ok = false;
  try {
    work_.LoadFromStream(Stream);
    ok = ParseData();
  } catch (...) {
    ok = false;
  }
  work_.Clear();
  if (!ok) Clear();
  return ok;
}

void TAnimGIF::ClearFrames() {
  timer_->SetEnabled(false);
  empty_ = true;
  frames_.clear();
  file_.Clear();
  current_ = 1;
  loopCount_ = 1;
  iteration_ = 1;
  firstTick_ = true;
  keepOn_ = true;
  colorBits_ = 0;
  anyTransparent_ = false;
  firstFrame_.reset();
  FreePalette();
}

void TAnimGIF::Clear() {
  ClearFrames();
  composed_.reset();
  composedMask_.reset();
  width_ = height_ = 0;
  UpdateOpacity();
  Invalidate();
}

void TAnimGIF::Assign(TPersistent* Source) {
  if (!Source) return Clear();
  if (auto* other = dynamic_cast<TAnimGIF*>(Source)) {
    if (other == this) return;
    if (other->file_.Size() > 0) LoadFromStream(&other->file_);
    else
      Clear();
    return;
  }
  TGraphicControl::Assign(Source);
}

void TAnimGIF::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    if (empty_ || frames_.empty()) return;
    if (!firstFrame_) {
      firstFrame_ = std::make_unique<TBitmap>();
      frames_.front()->MakePicture(*firstFrame_);
    }
    bitmap->Assign(firstFrame_.get());
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TAnimGIF::DefineProperties(TFiler* Filer) {
  TGraphicControl::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, file_.Size() > 0);
}

void TAnimGIF::ReadData(TStream* Stream) {
  std::uint8_t count[4];
  if (!ReadExact(Stream, count, 4)) return;
  const std::int64_t size = ReadLE32(count);
  file_.Clear();
  if (size > 0) file_.CopyFrom(Stream, std::min(size, Stream->Size() - Stream->Position()));
}

void TAnimGIF::WriteData(TStream* Stream) {
  std::uint8_t count[4];
  WriteLE32(count, static_cast<std::uint32_t>(file_.Size()));
  Stream->Write(count, 4);
  file_.SetPosition(0);
  Stream->CopyFrom(&file_, file_.Size());
}

void TAnimGIF::Loaded() {
  TGraphicControl::Loaded();
  if (file_.Size() == 0) return;
  TMemoryStream copy;
  copy.LoadFromStream(&file_);
  LoadFromStream(&copy);
}

void TAnimGIF::Changing() {
  if (OnChanging) OnChanging(this);
}

void TAnimGIF::Change() {
  if (OnChange) OnChange(this);
}

bool TAnimGIF::Progress() {
  if (OnProgress) {
    const std::int64_t size = work_.Size(), pos = work_.Position();
    const int per = size > 0 ? static_cast<int>(100 * pos / size) : 0;
    OnProgress(this, static_cast<int>(std::min<std::int64_t>(pos, 0x7FFFFFFF)),
               static_cast<int>(std::min<std::int64_t>(size, 0x7FFFFFFF)), per, keepOn_);
  }
  return keepOn_;
}

// ---- Parsing ---------------------------------------------------------------------------------

bool TAnimGIF::ParseData() {
  ClearFrames();
  composed_.reset();
  composedMask_.reset();
  work_.SetPosition(0);
  file_.LoadFromStream(&work_);
  work_.SetPosition(0);
  TReadState state;
  state.Source = &work_;
  std::uint8_t header[6];
  if (!ReadExact(&work_, header, 6) || std::memcmp(header, "GIF", 3) != 0) return false;
  version_ = header[4] == '9' ? gvGIF89a : gvGIF87a;
  std::uint8_t screen[7];
  if (!ReadExact(&work_, screen, 7)) return false;
  globalTable_.fill(0);
  if (screen[4] & 0x80) {
    colorBits_ = (screen[4] & 7) + 1;
    if (!ReadExact(&work_, globalTable_.data(), 3 << colorBits_)) return false;
  }
  if (!ParseBlocks(state)) return false;
  Progress();
  if (frames_.empty()) return false;  // nothing to show
  std::int64_t width = ReadLE16(screen), height = ReadLE16(screen + 2);
  for (const auto& f : frames_) {
    width = std::max<std::int64_t>(width, f->Left + f->Width);
    height = std::max<std::int64_t>(height, f->Top + f->Height);
  }
  // The screen past the frames is background, which no data describes: beyond a few million
  // pixels the file must be long enough to stand for the whole picture.
  if (!FitsBitmap(width, height, 24) ||
      (width * height > kFreeComposedPixels && width * height / kMaxPixelsPerDataByte > work_.Size()))
    return false;
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
  composed_ = std::make_unique<TBitmap>();
  Reshape(*composed_, pf24bit, width_, height_);  // black
  if (anyTransparent_) {
    composedMask_ = std::make_unique<TBitmap>();
    Reshape(*composedMask_, pf1bit, width_, height_);
    for (int y = 0; y < height_; ++y)
      std::memset(RowOf(*composedMask_, y), 0xFF, static_cast<std::size_t>((width_ + 7) / 8));
  }
  if (autoSize_) SetBounds(Left(), Top(), width_, height_);
  empty_ = false;
  UpdateOpacity();
  timer_->SetInterval(1);
  Changing();
  DrawFrame(1);
  Change();
  Invalidate();
  if (Parent() && Parent()->HandleAllocated()) AskParentForPalette();
  return true;
}

// The blocks after the screen descriptor; false when the file cannot be shown.
bool TAnimGIF::ParseBlocks(TReadState& State) {
  TStream* s = State.Source;
  const std::int64_t size = s->Size();
  while (!State.Ended && s->Position() < size) {
    if (!keepOn_ || !Progress()) return false;
    std::uint8_t intro[2];
    if (!ReadExact(s, intro, 2)) break;
    if (intro[0] == kTrailer) break;
    if (intro[0] == kExtension) {
      // A short read ends the scan with the frames read so far.
      if (!ParseExtension(State, intro[1])) State.Ended = true;
      continue;
    }
    if (intro[0] != kImage) continue;
    s->Seek(-2, soFromCurrent);
    if (FrameCount() >= kMaxFrames) break;
    switch (ParseImage(State)) {
      case TImageOutcome::Unreadable: return false;
      case TImageOutcome::Last: return true;
      case TImageOutcome::Kept: break;
    }
  }
  return true;
}

bool TAnimGIF::ParseExtension(TReadState& State, std::uint8_t Label) {
  TStream* s = State.Source;
  switch (Label) {
    case kPlainText: return SkipPlainText(s);
    case kGraphicControl: return ReadExact(s, State.Control, 6);
    case kComment: return ReadComment(s, State.Comment);
    case kApplication: return ReadApplication(s, loopCount_);
    default: return GifSkipSubBlocks(s);  // extensions of other kinds are skipped whole
  }
}

// The image at the stream's position, as a new frame with the comment and control read before it.
TAnimGIF::TImageOutcome TAnimGIF::ParseImage(TReadState& State) {
  auto frame = std::make_unique<TAnimGIFFrame>();
  if (!ReadFrame(State, *frame)) {
    State.Source->Seek(0, soFromEnd);
    Progress();
    return TImageOutcome::Unreadable;
  }
  if (frame->Width == 0) return TImageOutcome::Last;  // cut short before its pixels: the scan ends without it
  colorBits_ = std::max(colorBits_, frame->ColorBits);
  anyTransparent_ = anyTransparent_ || frame->Transparent;
  frame->Comment = State.Comment;
  frames_.push_back(std::move(frame));
  if (firstImageOnly_) return TImageOutcome::Last;
  State.Comment.clear();
  std::memset(State.Control, 0, sizeof State.Control);
  return TImageOutcome::Kept;
}

// False when the frame cannot be read; a frame cut short before its pixels comes back 0 wide.
bool TAnimGIF::ReadFrame(TReadState& State, TAnimGIFFrame& Frame) {
  TStream* s = State.Source;
  std::uint8_t d[10];
  if (!ReadExact(s, d, 10)) {
    State.Ended = true;
    return true;
  }
  if (d[0] != kImage) return false;
  const int width = ReadLE16(d + 5), height = ReadLE16(d + 7);
  if (width == 0 || height == 0) return false;
  const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
  const std::int64_t dataLeft = s->Size() - s->Position();
  if (pixels > State.PixelsLeft || pixels > dataLeft * kMaxPixelsPerDataByte) return false;
  Frame.Left = ReadLE16(d + 1);
  Frame.Top = ReadLE16(d + 3);
  Frame.Interlaced = (d[9] & 0x40) != 0;
  Frame.Table = &globalTable_;
  if (d[9] & 0x80) {
    Frame.HasLocalTable = true;
    Frame.ColorBits = (d[9] & 7) + 1;
    if (!ReadExact(s, Frame.LocalTable.data(), 3 << Frame.ColorBits)) {
      State.Ended = true;
      return true;
    }
    Frame.Table = &Frame.LocalTable;
  }
  const std::uint8_t flags = State.Control[1];
  const int disposal = (flags >> 2) & 7;
  Frame.Disposal = disposal == 0 || disposal == 1 || disposal == 3 ? disposal : 2;
  Frame.Delay = ReadLE16(State.Control + 2) * 10;
  Frame.Transparent = (flags & 1) != 0 && version_ == gvGIF89a;
  Frame.TransparentIndex = State.Control[4];
  if (Frame.Transparent) {
    const std::uint8_t* rgb = Frame.Table->data() + 3 * Frame.TransparentIndex;
    Frame.TransparentColor = {rgb[2], rgb[1], rgb[0]};
  }
  State.PixelsLeft -= pixels;
  Frame.Width = width;
  Frame.Height = height;
  Frame.Pixels.assign(static_cast<std::size_t>(pixels), 0);
  DecodeFrameData(State, Frame);
  return true;
}

void TAnimGIF::DecodeFrameData(TReadState& State, TAnimGIFFrame& Frame) {
  TStream* s = State.Source;
  std::uint8_t codeSize = 0;
  if (!ReadExact(s, &codeSize, 1)) {
    State.Ended = true;
    return;
  }
  if (codeSize < 1 || codeSize > kMaxCodeSize) {
    if (!GifSkipSubBlocks(s)) State.Ended = true;
    return;
  }
  s->Seek(-1, soFromCurrent);
  TGifRowCallback onRow;
  if (OnProgress && static_cast<std::int64_t>(Frame.Width) * Frame.Height > kProgressPixels) {
    const int every = Frame.Width < kNarrowFrame ? 64 : 32;
    onRow = [this, every](int rows) { return rows % every != 0 || Progress(); };
  }
  try {
    GifLzwDecodeRows(s, Frame.Height, Frame.Width, Frame.Interlaced, Frame.Pixels.data(), onRow);
  } catch (const EInvalidGraphic&) {
    State.Ended = true;  // a sub-block cut short: the rows decoded stay
  }
  if (s->Position() >= s->Size()) State.Ended = true;
}

// ---- Composition -----------------------------------------------------------------------------

void TAnimGIF::DrawFrame(int Index) {
  if (!composed_ || Index < 1 || Index > FrameCount()) return;
  TAnimGIFFrame& f = *frames_[static_cast<std::size_t>(Index - 1)];
  const int x0 = f.Left, y0 = f.Top, w = f.Width, h = f.Height;
  if (f.Disposal == 3) {
    f.SavedBackground.resize(static_cast<std::size_t>(w) * h * 3);
    f.SavedMask.assign(static_cast<std::size_t>(w) * h, 1);
    for (int y = 0; y < h; ++y) {
      std::memcpy(f.SavedBackground.data() + static_cast<std::size_t>(y) * w * 3, RowOf(*composed_, y0 + y) + 3 * x0,
                  static_cast<std::size_t>(w) * 3);
      if (composedMask_)
        for (int x = 0; x < w; ++x)
          f.SavedMask[static_cast<std::size_t>(y) * w + x] = MaskBit(*composedMask_, x0 + x, y0 + y) ? 1 : 0;
    }
  }
  const std::uint8_t* table = f.Table->data();
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = RowOf(*composed_, y0 + y) + 3 * x0;
    const std::uint8_t* in = f.Pixels.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x, out += 3) {
      const int index = in[x];
      if (f.Transparent && index == f.TransparentIndex) continue;
      out[0] = table[3 * index + 2];
      out[1] = table[3 * index + 1];
      out[2] = table[3 * index];
      if (composedMask_) SetMaskBit(*composedMask_, x0 + x, y0 + y, false);
    }
  }
}

void TAnimGIF::DisposeFrame(int Index) {
  if (!composed_ || Index < 1 || Index > FrameCount()) return;
  const TAnimGIFFrame& f = *frames_[static_cast<std::size_t>(Index - 1)];
  const int x0 = f.Left, y0 = f.Top, w = f.Width, h = f.Height;
  if (f.Disposal == 2) {
    for (int y = 0; y < h; ++y) {
      std::memset(RowOf(*composed_, y0 + y) + 3 * x0, 0, static_cast<std::size_t>(w) * 3);
      if (composedMask_)
        for (int x = 0; x < w; ++x) SetMaskBit(*composedMask_, x0 + x, y0 + y, true);
    }
  } else if (f.Disposal == 3 && !f.SavedBackground.empty()) {
    for (int y = 0; y < h; ++y) {
      std::memcpy(RowOf(*composed_, y0 + y) + 3 * x0, f.SavedBackground.data() + static_cast<std::size_t>(y) * w * 3,
                  static_cast<std::size_t>(w) * 3);
      if (composedMask_)
        for (int x = 0; x < w; ++x)
          SetMaskBit(*composedMask_, x0 + x, y0 + y, f.SavedMask[static_cast<std::size_t>(y) * w + x] != 0);
    }
  }
}

// ---- Painting --------------------------------------------------------------------------------

bool TAnimGIF::IsStretched() {
  return (stretch_ || stretchRatio_) && (ClientWidth() != width_ || ClientHeight() != height_);
}

TRect TAnimGIF::DrawRect() {
  const int cw = ClientWidth(), ch = ClientHeight();
  if (IsStretched() && width_ > 0 && height_ > 0) {
    if (stretchRatio_ && !stretch_) {
      const long double sx = static_cast<long double>(cw) / width_, sy = static_cast<long double>(ch) / height_;
      if (sx > sy) {
        const int margin = static_cast<int>(Round((cw - width_ * sy) / 2));
        return {margin, 0, cw - margin, ch};
      }
      const int margin = static_cast<int>(Round((ch - height_ * sx) / 2));
      return {0, margin, cw, ch - margin};
    }
    return {0, 0, cw, ch};
  }
  if (tile_) return {0, 0, cw, ch};
  if (center_) {
    const int left = (cw - width_) / 2, top = (ch - height_) / 2;
    return {left, top, left + width_, top + height_};
  }
  return {0, 0, width_, height_};
}

bool TAnimGIF::Shown() const { return Visible() || ComponentState().Contains(csDesigning); }

bool TAnimGIF::UpdateOpacity() {
  bool opaque = false;
  if (Shown()) {
    const TRect r = DrawRect();
    const bool covers = r.left <= 0 && r.top <= 0 && r.right >= ClientWidth() && r.bottom >= ClientHeight();
    opaque = opaque_ || (!empty_ && !frames_.empty() && !frames_.front()->Transparent && covers);
  }
  TControlStyle style = ControlStyle();
  if (opaque == style.Contains(csOpaque)) return false;
  if (opaque) style.Include(csOpaque);
  else
    style.Exclude(csOpaque);
  SetControlStyle(style);
  return true;
}

void TAnimGIF::PaintTo(HDC DC) {
  if (!Shown()) return;
  const int cw = ClientWidth(), ch = ClientHeight();
  if (opaque_) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    const RECT all{0, 0, cw, ch};
    FillRect(DC, &all, brush);
    DeleteObject(brush);
  }
  if (!composed_ || frames_.empty()) return;
  const bool masked = frames_.front()->Transparent && composedMask_;
  HDC pictureDC = composed_->Canvas()->Handle();
  HDC maskDC = masked ? composedMask_->Canvas()->Handle() : nullptr;
  const auto draw = [&](const TRect& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (masked) {
      SetStretchBltMode(DC, BLACKONWHITE);
      StretchBlt(DC, r.left, r.top, w, h, maskDC, 0, 0, width_, height_, SRCAND);
      SetStretchBltMode(DC, COLORONCOLOR);
      StretchBlt(DC, r.left, r.top, w, h, pictureDC, 0, 0, width_, height_, SRCINVERT);
    } else {
      SetStretchBltMode(DC, COLORONCOLOR);
      StretchBlt(DC, r.left, r.top, w, h, pictureDC, 0, 0, width_, height_, SRCCOPY);
    }
  };
  if (IsStretched()) {
    draw(DrawRect());
  } else if (tile_) {
    for (int y = 0; y < ch; y += height_)
      for (int x = 0; x < cw; x += width_) draw({x, y, x + width_, y + height_});
  } else {
    draw(DrawRect());
  }
}

void TAnimGIF::Paint() {
  if (composed_ || opaque_) PaintTo(Canvas()->Handle());
}

void TAnimGIF::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // The parent left the area under the control as the old style said: paint again with the new.
      if (UpdateOpacity()) Invalidate();
      else
        TGraphicControl::WndProc(Message);
      UpdateTimerEnabled();
      return;
    case CM_VISIBLECHANGED:
      TGraphicControl::WndProc(Message);
      if (Parent() && Parent()->HandleAllocated() && Parent()->Focused()) AskParentForPalette();
      return;
    default: TGraphicControl::WndProc(Message);
  }
}

void TAnimGIF::AskParentForPalette() { PostMessageA(Parent()->Handle(), WM_QUERYNEWPALETTE, 0, 0); }

void TAnimGIF::Repaint() {
  TWinControl* parent = Parent();
  if (repainting_ || !parent || !parent->HandleAllocated() || !Shown()) return;
  repainting_ = true;
  ScopeExit done([&] { repainting_ = false; });
  const HWND window = parent->Handle();
  const HDC screen = GetDC(window);
  if (!screen) return;
  ScopeExit releaseScreen([&] { ReleaseDC(window, screen); });
  HDC dc = screen;
  HDC buffer = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  ScopeExit releaseBuffer([&] {
    if (!buffer) return;
    SelectObject(buffer, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(buffer);
  });
  if (doubleBuffered_) {
    const TRect client = parent->ClientRect();
    buffer = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    oldBitmap = SelectObject(buffer, bitmap);
    dc = buffer;
  }
  const TRect shown = DrawRect();
  const TRect r{shown.left + Left(), shown.top + Top(), shown.right + Left(), shown.bottom + Top()};
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  if (!ControlStyle().Contains(csOpaque)) parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  if (buffer) BitBlt(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, buffer, r.left, r.top, SRCCOPY);
}

HPALETTE TAnimGIF::GetPalette() {
  if (empty_ || !Shown() || current_ < 1 || current_ > FrameCount()) return TGraphicControl::GetPalette();
  if (palette_ && paletteFrame_ == current_) return palette_;
  try {
    FreePalette();
    const TAnimGIFFrame& f = Frame(current_);
    const int count = 1 << (f.HasLocalTable ? f.ColorBits : colorBits_);
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(count));
    auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i) {
      const std::uint8_t* rgb = f.Table->data() + 3 * i;
      log->palPalEntry[i] = {rgb[0], rgb[1], rgb[2], 0};
    }
    palette_ = CreatePalette(log);
    paletteFrame_ = current_;
    return palette_ ? palette_ : TGraphicControl::GetPalette();
  } catch (...) {
    return TGraphicControl::GetPalette();
  }
}

void TAnimGIF::FreePalette() {
  if (palette_) DeleteObject(palette_);
  palette_ = nullptr;
  paletteFrame_ = 0;
}

// ---- Animation -------------------------------------------------------------------------------

bool TAnimGIF::LoopLimitReached() const { return loopCount_ > 0 && !loop_ && iteration_ > loopCount_; }

int TAnimGIF::FrameInterval(int Index) const {
  const int delay = Index >= 1 && Index <= FrameCount() ? Frame(Index).Delay : 0;
  return std::max(std::max(delay, kShortestDelay) * 100 / speed_, 1);
}

void TAnimGIF::UpdateTimerEnabled() {
  timer_->SetEnabled(FrameCount() > 1 && animate_ && !empty_ && !LoopLimitReached());
}

void TAnimGIF::NextFrame(TObject*) {
  if (empty_ || !animate_) return;
  const int count = FrameCount();
  if (current_ < 1 || current_ > count) current_ = 1;
  Changing();
  if (firstTick_) {
    firstTick_ = false;
  } else {
    DisposeFrame(current_ == 1 ? count : current_ - 1);
    DrawFrame(current_);
    Repaint();
  }
  timer_->SetInterval(static_cast<unsigned>(FrameInterval(current_)));
  bool wrapped = false;
  if (++current_ > count) {
    wrapped = true;
    if (!loop_ && loopCount_ > 0) {
      ++iteration_;
      timer_->SetEnabled(loopCount_ >= iteration_);
    } else {
      current_ = 1;
    }
  }
  Change();
  if (wrapped && OnWrapAnimation) OnWrapAnimation(this);
}

void TAnimGIF::SetAnimate(bool Value) {
  if (animate_ == Value) return;
  animate_ = Value;
  iteration_ = 1;
  if (Value && FrameCount() > 1) timer_->SetInterval(static_cast<unsigned>(FrameInterval(current_)));
  timer_->SetEnabled(animate_ && FrameCount() > 1 && !empty_);
  if (!Value && current_ > 1) {
    DisposeFrame(current_);
    current_ = 1;
    DrawFrame(1);
    Invalidate();
  }
}

void TAnimGIF::SetLoop(bool Value) {
  if (loop_ == Value) return;
  const bool reached = LoopLimitReached();
  loop_ = Value;
  if (Value && reached) {
    current_ = 1;
    iteration_ = 1;
    timer_->SetInterval(static_cast<unsigned>(FrameInterval(1)));
    timer_->SetEnabled(animate_ && FrameCount() > 1);
  }
}

void TAnimGIF::SetCurrentFrame(int Value) {
  if (Value < 1 || Value > FrameCount() || Value == current_) return;
  Changing();
  DisposeFrame(current_);
  current_ = Value;
  DrawFrame(current_);
  Repaint();
  Change();
}

void TAnimGIF::SetSpeed(int Value) {
  Value = std::max(Value, 1);
  if (speed_ == Value) return;
  speed_ = Value;
  if (FrameCount() > 1 && animate_) timer_->SetInterval(1);
}

void TAnimGIF::SetAutoSize(bool Value) {
  if (autoSize_ == Value) return;
  autoSize_ = Value;
  if (Value && !empty_) {
    SetBounds(Left(), Top(), width_, height_);
    Invalidate();
  }
}

void TAnimGIF::SetCenter(bool Value) {
  if (center_ == Value) return;
  center_ = Value;
  Invalidate();
}

void TAnimGIF::SetOpaque(bool Value) {
  if (opaque_ == Value) return;
  opaque_ = Value;
  Invalidate();
}

void TAnimGIF::SetStretch(bool Value) {
  if (stretch_ == Value) return;
  stretch_ = Value;
  Invalidate();
}

void TAnimGIF::SetStretchRatio(bool Value) {
  if (stretchRatio_ == Value) return;
  stretchRatio_ = Value;
  Invalidate();
}

void TAnimGIF::SetTile(bool Value) {
  if (tile_ == Value) return;
  tile_ = Value;
  Invalidate();
}

const TClassInfo& TAnimGIF::StaticClassInfo() {
  using C = TAnimGIF;
  static const TClassInfo info(
      "TAnimGIF", &TGraphicControl::StaticClassInfo(),
      {OrdProperty<C>("Animate", TypeInfo_Boolean, &C::Animate, &C::SetAnimate, false),
       OrdProperty<C>("AutoSize", TypeInfo_Boolean, &C::AutoSize, &C::SetAutoSize, false),
       OrdProperty<C>("Center", TypeInfo_Boolean, &C::Center, &C::SetCenter, false),
       OrdProperty<C>("DoubleBuffered", TypeInfo_Boolean, &C::DoubleBuffered, &C::SetDoubleBuffered, true),
       OrdProperty<C>("FirstImageOnly", TypeInfo_Boolean, &C::FirstImageOnly, &C::SetFirstImageOnly, false),
       OrdProperty<C>("Loop", TypeInfo_Boolean, &C::Loop, &C::SetLoop, false),
       OrdProperty<C>("Opaque", TypeInfo_Boolean, &C::Opaque, &C::SetOpaque, false),
       OrdProperty<C>("Speed", TypeInfo_Integer, &C::Speed, &C::SetSpeed, 100),
       OrdProperty<C>("Stretch", TypeInfo_Boolean, &C::Stretch, &C::SetStretch, false),
       OrdProperty<C>("StretchRatio", TypeInfo_Boolean, &C::StretchRatio, &C::SetStretchRatio, false),
       OrdProperty<C>("Tile", TypeInfo_Boolean, &C::Tile, &C::SetTile, false),
       OrdProperty<C>("Threaded", TypeInfo_Boolean, &C::Threaded, &C::SetThreaded, true),
       OrdProperty<C>("ThreadPriority", TypeInfo_TThreadPriority, &C::ThreadPriority, &C::SetThreadPriority, tpNormal),
       OrdProperty<C>("Version", TypeInfo_TGIFVersion, &C::Version, nullptr),
       EventProperty<C>("OnChanging", TypeInfo_TNotifyEvent, &C::OnChanging),
       EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange),
       EventProperty<C>("OnProgress", TypeInfo_TAnimGIFProgressEvent, &C::OnProgress),
       EventProperty<C>("OnWrapAnimation", TypeInfo_TNotifyEvent, &C::OnWrapAnimation)},
      {}, CreateComponent<TAnimGIF>);
  return info;
}

[[maybe_unused]] static const bool animGifRegistered = (RegisterClass(TAnimGIF::StaticClassInfo()), true);
