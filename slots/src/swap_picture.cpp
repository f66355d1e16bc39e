#include "slots/swap_picture.h"

#include <cstdint>
#include <exception>

#include "slots/picture_load.h"
#include "slots/slot_paths.h"
#include "vcl/filectrl.h"
#include "vcl/graphics_images.h"
#include "vcl/streams.h"
#include "win32/kernel.h"
#include "win32/little_endian.h"

namespace {

constexpr std::uint16_t kBitmapType = 0x4D42;  // "BM"
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr int kFileHeaderSize = 14;
constexpr std::int64_t kLogoRowBytes = kLogoWidth;  // 8 bits, 320 is a multiple of 4
// Where the fields lie: the pixels' offset in the file header; the rest in the info header.
constexpr int kPixelOffsetAt = 10;
constexpr int kHeaderSizeAt = 0, kWidthAt = 4, kHeightAt = 8, kBitCountAt = 14, kCompressionAt = 16;
constexpr std::uint32_t kLogoBitCount = 8, kUncompressed = 0;

}  // namespace

bool IsLogoLayout(const std::string& FileName) {
  std::uint8_t header[kFileHeaderSize + kInfoHeaderSize];
  std::int64_t size = 0;
  try {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    size = file.Size();
    if (file.Read(header, sizeof header) != static_cast<std::int64_t>(sizeof header)) return false;
  } catch (const Exception&) {
    return false;
  }
  const std::uint8_t* info = header + kFileHeaderSize;
  const std::uint32_t offset = ReadLE32(header + kPixelOffsetAt);
  return ReadLE16(header) == kBitmapType && ReadLE32(info + kHeaderSizeAt) == kInfoHeaderSize &&
         static_cast<std::int32_t>(ReadLE32(info + kWidthAt)) == kLogoWidth &&
         static_cast<std::int32_t>(ReadLE32(info + kHeightAt)) == kLogoHeight &&
         ReadLE16(info + kBitCountAt) == kLogoBitCount && ReadLE32(info + kCompressionAt) == kUncompressed &&
         std::int64_t{offset} + kLogoRowBytes * kLogoHeight <= size;
}

void SaveResampledLogo(TVelmoraIO& IO, TVelmoraProc& Proc, const std::string& Target) {
  Proc.Resample(kLogoWidth, kLogoHeight, kLanczos3);
  TVelmoraIOParams& params = IO.Params();
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 1;
  params.BmpHeaderKind = 1;  // the 40-byte header, whatever the last bitmap loaded had
  params.BmpCompression = 0;  // uncompressed, as Windows reads a logo
  IO.SaveBMPFile(Target);
}

std::string SizeText(TBitmap& Bitmap) {
  return std::to_string(Bitmap.Width()) + " x " + std::to_string(Bitmap.Height());
}

TSwapPage HoverPage(int X, int Y, TSwapPage Active) {
  const bool onTabs = Y > 0 && Y <= 20;
  if (onTabs && X > 0 && X < 63 && Active == spFiles) return spDirectory;
  if (onTabs && X >= 64 && X < 120 && Active == spDirectory) return spFiles;
  return Active;
}

TSwapPicture::TSwapPicture(TVelmoraPicture& Image, TVelmoraIO& IO, TVelmoraProc& Proc)
    : image_(Image), io_(IO), proc_(Proc) {
  io_.SetAttachedVelmora(&image_);
  proc_.SetAttachedVelmora(&image_);
  proc_.Clear();
}

std::string TSwapPicture::Load(const std::string& FileName) {
  loadFailed_ = copyUnchanged_ = false;
  proc_.Clear();
  try {
    LoadPicture(io_, FileName);
  } catch (const std::exception&) {
    loadFailed_ = true;
    canSave_ = false;
    return kLoadErrorText;
  }
  loadedFile_ = FileName;
  copyUnchanged_ = IsLogoLayout(FileName);
  const std::string label = SizeText(image_.Bitmap());
  proc_.Resample(kPreviewWidth, kPreviewHeight, 0);
  canSave_ = true;
  return label;
}

std::string TSwapPicture::Show() {
  loadFailed_ = false;
  if (canSave_) proc_.Undo();
  if (image_.Bitmap().Empty()) return {};
  const std::string label = canSave_ ? SizeText(image_.Bitmap()) : std::string();
  proc_.Resample(kPreviewWidth, kPreviewHeight, 0);
  return label;
}

bool TSwapPicture::FullSize(TBitmap& View, std::string& Label) {
  if (!canSave_) return false;
  proc_.Undo();
  proc_.Resample(kLogoWidth, kLogoHeight, kLanczos3);
  View.Assign(&image_.Bitmap());
  proc_.Undo();
  Label = SizeText(image_.Bitmap());
  proc_.Resample(kPreviewWidth, kPreviewHeight, 0);
  return true;
}

void TSwapPicture::Save(const std::string& Target) {
  proc_.Undo();
  if (copyUnchanged_) {
    if (!CopyFileA(loadedFile_.c_str(), Target.c_str(), FALSE))
      throw EInOutError("Copying " + loadedFile_ + " to " + Target + " was NOT successfull.",
                        static_cast<int>(GetLastError()));
    return;
  }
  SaveResampledLogo(io_, proc_, Target);
}
