#include "imaging/velmora_io.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>

#include "imaging/bitmap_rows.h"
#include "imaging/bmp_codec.h"
#include "vcl/graphics_images.h"
#include "vcl/metafile.h"
#include "imaging/screen_dpi.h"
#include "win32/icons.h"
#include "win32/machine.h"

namespace {

using Loader = std::function<void(TVelmoraIO*, const std::string&)>;
struct LoaderRow {
  const char* extension;
  Loader load;
};

// A few bytes of metafile can declare any size, so no measure of its data bounds the picture:
// the largest drawing taken is an A0 page, either way up, at the screen's resolution.
constexpr long double kA0ShortSideMm = 841, kA0LongSideMm = 1189, kMmPerInch = 25.4L;

bool FitsA0(int width, int height) {
  const auto pixels = [](long double mm, int dpi) { return std::ceil(mm * dpi / kMmPerInch); };
  const auto fits = [&](long double acrossMm, long double downMm) {
    return width <= pixels(acrossMm, ScreenDpiX()) && height <= pixels(downMm, ScreenDpiY());
  };
  return fits(kA0ShortSideMm, kA0LongSideMm) || fits(kA0LongSideMm, kA0ShortSideMm);
}

// The metafile at its own size on a bitmap one pixel smaller: its right and bottom edges fall
// outside the picture.
void DrawMetafile(TVelmoraIO* io, const std::string& FileName) {
  TBitmap* bitmap = io->WorkBitmap();
  try {
    TMetafile metafile;
    metafile.LoadFromFile(FileName);
    if (!FitsA0(metafile.Width(), metafile.Height())) throw EInvalidGraphic("larger than an A0 page");
    Reshape(*bitmap, pf24bit, metafile.Width() - 1, metafile.Height() - 1);
    TVelmoraIOParams& params = io->Params();
    params.FileName = FileName;
    params.BitsPerSample = 8;
    params.SamplesPerPixel = 3;
    params.Width = bitmap->Width();
    params.Height = bitmap->Height();
    params.DpiX = ScreenDpiX();
    params.DpiY = ScreenDpiY();
    params.FreeColorMap();
    io->FillBackground();
    if (!bitmap->Empty()) bitmap->Canvas()->Draw(0, 0, &metafile);
  } catch (const std::exception&) {
    throw EInvalidGraphic("unrecognized WMF or EMF");
  }
}

}  // namespace

TVelmoraIO::TVelmoraIO(TComponent* AOwner) : TComponent(AOwner), params_(this) {}

COLORREF TVelmoraIO::Background() const { return attached_.Get() ? attached_.Get()->Background() : background_; }

void TVelmoraIO::SetBackground(COLORREF Value) {
  if (attached_.Get()) attached_.Get()->SetBackground(Value);
  else
    background_ = Value;
}

void TVelmoraIO::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove) attached_.Removed(AComponent);
}

void TVelmoraIO::LoadFromFile(const std::string& FileName) {
  static const LoaderRow kLoaders[] = {
      {".jpg", &TVelmoraIO::LoadJPEGFile},  {".jpeg", &TVelmoraIO::LoadJPEGFile}, {".tif", &TVelmoraIO::LoadTIFFFile},
      {".tiff", &TVelmoraIO::LoadTIFFFile}, {".pcx", &TVelmoraIO::LoadPCXFile},   {".gif", &TVelmoraIO::LoadGIFFile},
      {".bmp", &TVelmoraIO::LoadBMPFile},   {".cur", &TVelmoraIO::LoadCURFile},   {".ico", &TVelmoraIO::LoadICOFile},
  };
  if (!WorkBitmap()) return;
  const std::string extension = LowerCase(ExtractFileExt(FileName));
  if (extension == ".wmf" || extension == ".emf") {
    DrawMetafile(this, FileName);
    return AfterLoad(FileName);
  }
  for (const LoaderRow& row : kLoaders)
    if (extension == row.extension) return row.load(this, FileName);
}

void TVelmoraIO::AfterLoad(const std::string& FileName) {
  params_.FileName = FileName;
  if (TVelmoraPicture* view = attached_.Get()) view->SetDpi(params_.DpiX, params_.DpiY);
  attached_.Refresh();
}

void TVelmoraIO::LoadBMPFile(const std::string& FileName) {
  TBitmap* bitmap = WorkBitmap();
  if (!bitmap) return;
  try {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    BMPReadStream(&stream, *bitmap, stream.Size(), Progress(), params_);
  } catch (const std::exception&) {
    throw EInvalidGraphic("unrecognized BMP");
  }
  AfterLoad(FileName);
}

void TVelmoraIO::LoadICOFile(const std::string& FileName) {
  LoadIconLike(FileName, IMAGE_ICON, params_.IcoWidth, params_.IcoHeight, "unrecognized ICO");
}

void TVelmoraIO::LoadCURFile(const std::string& FileName) {
  LoadIconLike(FileName, IMAGE_CURSOR, params_.CurWidth, params_.CurHeight, "unrecognized CUR");
}

void TVelmoraIO::LoadIconLike(const std::string& FileName, UINT type, int width, int height, const char* error) {
  TBitmap* bitmap = WorkBitmap();
  if (!bitmap) return;
  HICON icon = static_cast<HICON>(LoadImageA(nullptr, FileName.c_str(), type, width, height, LR_LOADFROMFILE));
  if (!icon) throw EInvalidGraphic(error);
  Reshape(*bitmap, pf24bit, width, height);
  params_.FileName = FileName;
  params_.BitsPerSample = 8;
  params_.SamplesPerPixel = 3;
  params_.Width = bitmap->Width();
  params_.Height = bitmap->Height();
  params_.DpiX = ScreenDpiX();
  params_.DpiY = ScreenDpiY();
  params_.FreeColorMap();
  if (!bitmap->Empty()) {
    DrawIconEx(bitmap->Canvas()->Handle(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  }
  DestroyIcon(icon);
  AfterLoad(FileName);
}

void TVelmoraIO::SaveBMPFile(const std::string& FileName) {
  TBitmap* bitmap = WorkBitmap();
  if (!bitmap) return;
  TMemoryStream file;
  BMPWriteStream(&file, *bitmap, params_, Progress());
  const std::filesystem::path target = machine::HostPath(FileName);
  std::string_view content(static_cast<const char*>(file.Memory()), static_cast<std::size_t>(file.Size()));
  if (target.empty() || !machine::ReplaceFileAtomically(target, content))
    throw EFCreateError(Format("Cannot create file %s", {FileName}));
}

void TVelmoraIO::FillBackground() {
  if (TBitmap* bitmap = WorkBitmap()) FillBitmap(*bitmap, Background());
}
