// The animated GIF control's load on arbitrary bytes: a file it takes has at most 256 frames, each
// inside the composed picture, and every frame can be drawn and disposed in turn.
#include <cstdint>
#include <cstdlib>

#include "imaging/anim_gif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TAnimGIF* gif = new TAnimGIF(nullptr);  // one control: each makes a timer thread
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  if (!gif->LoadFromStream(&input)) {
    if (!gif->Empty() || gif->Composed()) abort();
    return 0;
  }
  if (gif->FrameCount() < 1 || gif->FrameCount() > 256) abort();
  if (gif->Composed()->Width() != gif->PictureWidth() || gif->Composed()->Height() != gif->PictureHeight()) abort();
  for (int i = 1; i <= gif->FrameCount(); ++i) {
    const TAnimGIFFrame& f = gif->Frame(i);
    if (f.Left + f.Width > gif->PictureWidth() || f.Top + f.Height > gif->PictureHeight()) abort();
    gif->SetCurrentFrame(i);
  }
  TBitmap first;
  first.Assign(gif);
  if (first.Width() != gif->Frame(1).Width) abort();
  return 0;
}
