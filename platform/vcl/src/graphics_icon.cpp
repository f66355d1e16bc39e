// TIcon: an icon handle drawn through DrawIconEx, read from icon files.
#include <algorithm>

#include "vcl/graphics_images.h"
#include "vcl/streams.h"
#include "win32/icons.h"
#include "win32/little_endian.h"

namespace {

constexpr std::int64_t kDirectoryHeader = 6;
constexpr std::int64_t kDirectoryEntry = 16;

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic("Icon image is not valid"); }

// An icon file's bytes from the stream's position: its directory tells where its last image
// ends, so data after the icon (a stored picture's next property) stays in the stream.
std::string ReadIconFile(TStream* Stream) {
  const std::int64_t available = Stream->Size() - Stream->Position();
  if (available < kDirectoryHeader) InvalidIcon();
  std::string data(static_cast<std::size_t>(kDirectoryHeader), '\0');
  Stream->ReadBuffer(data.data(), kDirectoryHeader);
  const std::int64_t count = ReadLE16(reinterpret_cast<const BYTE*>(data.data()) + 4);
  const std::int64_t directory = kDirectoryHeader + kDirectoryEntry * count;
  if (directory > available) InvalidIcon();
  data.resize(static_cast<std::size_t>(directory));
  Stream->ReadBuffer(data.data() + kDirectoryHeader, directory - kDirectoryHeader);
  std::int64_t end = directory;
  for (std::int64_t i = 0; i < count; ++i) {
    const BYTE* entry = reinterpret_cast<const BYTE*>(data.data()) + kDirectoryHeader + kDirectoryEntry * i;
    end = std::max(end, std::int64_t{ReadLE32(entry + 12)} + ReadLE32(entry + 8));
  }
  if (end > available) InvalidIcon();
  data.resize(static_cast<std::size_t>(end));
  Stream->ReadBuffer(data.data() + directory, end - directory);
  return data;
}

}  // namespace

const TClassInfo& TIcon::StaticClassInfo() {
  static const TClassInfo info("TIcon", &TGraphic::StaticClassInfo());
  return info;
}

TIcon::~TIcon() {
  if (handle_) DestroyIcon(handle_);
}

void TIcon::SetHandle(HICON Value) {
  if (Value == handle_) return;
  fileData_.clear();
  TakeHandle(Value);
}

void TIcon::TakeHandle(HICON Value) {
  if (handle_) DestroyIcon(handle_);
  handle_ = Value;
  width_ = height_ = 32;
  ICONINFO info{};
  if (handle_ && GetIconInfo(handle_, &info)) {
    BITMAP bm{};
    GetObject(info.hbmMask, sizeof bm, &bm);
    width_ = bm.bmWidth;
    // A monochrome icon's mask holds the image below the mask.
    height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON released = handle_;
  handle_ = nullptr;
  fileData_.clear();
  Changed(this);
  return released;
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) return SetHandle(nullptr);
  auto* source = dynamic_cast<TIcon*>(Source);
  if (!source) return TGraphic::Assign(Source);
  if (source == this) return;
  fileData_ = source->fileData_;
  TakeHandle(source->handle_ ? CopyIcon(source->handle_) : nullptr);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!handle_) return;
  DrawIconEx(ACanvas->Handle(), Rect.left, Rect.top, handle_, Rect.right - Rect.left, Rect.bottom - Rect.top, 0,
             nullptr, DI_NORMAL);
}

void TIcon::SetWidthImpl(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeightImpl(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::LoadFromStream(TStream* Stream) {
  std::string data = ReadIconFile(Stream);
  HICON icon = icons::IconFromFileData(reinterpret_cast<const BYTE*>(data.data()), data.size(), IMAGE_ICON, 0, 0,
                                       LR_DEFAULTSIZE);
  if (!icon) InvalidIcon();
  fileData_ = std::move(data);
  TakeHandle(icon);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!handle_) return;
  if (fileData_.empty()) throw EInvalidGraphicOperation("An icon made from a handle cannot be written");
  Stream->WriteBuffer(fileData_.data(), static_cast<std::int64_t>(fileData_.size()));
}

void TIcon::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) { throw EInvalidGraphic("Unsupported clipboard format"); }
void TIcon::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) { throw EInvalidGraphic("Unsupported clipboard format"); }
