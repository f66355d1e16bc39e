// TIcon: an icon handle drawn through DrawIconEx.
#include "vcl/graphics_images.h"

const TClassInfo& TIcon::StaticClassInfo() {
  static const TClassInfo info("TIcon", &TGraphic::StaticClassInfo());
  return info;
}

TIcon::~TIcon() {
  if (handle_) DestroyIcon(handle_);
}

void TIcon::SetHandle(HICON Value) {
  if (Value == handle_) return;
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
  Changed(this);
  return released;
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) return SetHandle(nullptr);
  auto* source = dynamic_cast<TIcon*>(Source);
  if (!source) return TGraphic::Assign(Source);
  if (source != this) SetHandle(source->handle_ ? CopyIcon(source->handle_) : nullptr);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!handle_) return;
  DrawIconEx(ACanvas->Handle(), Rect.left, Rect.top, handle_, Rect.right - Rect.left, Rect.bottom - Rect.top, 0,
             nullptr, DI_NORMAL);
}

void TIcon::SetWidthImpl(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeightImpl(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::LoadFromStream(TStream*) { throw EInvalidGraphicOperation("Icon files are not read here"); }
void TIcon::SaveToStream(TStream*) { throw EInvalidGraphicOperation("Icon files are not written here"); }

void TIcon::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {
  throw EInvalidGraphic("Unsupported clipboard format");
}
void TIcon::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic("Unsupported clipboard format");
}
