// TGraphic's common behaviour, and TPicture with the registry of graphic classes by extension.
#include <vector>

#include "vcl/filer.h"
#include "vcl/graphics_images.h"

namespace {

struct TFileFormat {
  std::string Extension;
  std::string Description;
  TGraphicClass GraphicClass;
};

std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> formats = {
      {"bmp", "Bitmaps", TGraphicClass::Of<TBitmap>()},
      {"ico", "Icons", TGraphicClass::Of<TIcon>()},
  };
  return formats;
}

// The classes a stored picture may name: the registered ones and the built-in ones.
TGraphicClass ClassByName(const std::string& Name) {
  for (const TFileFormat& f : FileFormats())
    if (SameText(f.GraphicClass.Info->Name(), Name)) return f.GraphicClass;
  for (TGraphicClass c : {TGraphicClass::Of<TBitmap>(), TGraphicClass::Of<TIcon>()})
    if (SameText(c.Info->Name(), Name)) return c;
  return {};
}

}  // namespace

// ---- TGraphic -------------------------------------------------------------------------------

const TClassInfo& TGraphic::StaticClassInfo() {
  static const TClassInfo info("TGraphic", &TPersistent::StaticClassInfo());
  return info;
}

void TGraphic::SetModified(bool Value) {
  if (Value) Changed(this);
  else
    modified_ = false;
}

void TGraphic::Changed(TObject*) {
  modified_ = true;
  if (OnChange) OnChange(this);
}

void TGraphic::SetTransparentImpl(bool Value) {
  if (Value == transparent_) return;
  transparent_ = Value;
  Changed(this);
}

void TGraphic::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !Empty());
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

// ---- TPicture -------------------------------------------------------------------------------

const TClassInfo& TPicture::StaticClassInfo() {
  static const TClassInfo info("TPicture", &TPersistent::StaticClassInfo(),
                               {EventProperty<TPicture>("OnChange", TypeInfo_TNotifyEvent, &TPicture::OnChange)});
  return info;
}

TPicture::~TPicture() { delete graphic_; }

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::Replace(TGraphic* NewGraphic) {
  delete graphic_;
  graphic_ = NewGraphic;
  if (graphic_) graphic_->OnChange = [this](TObject* sender) { Changed(sender); };
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == graphic_) return;
  TGraphic* copy = nullptr;
  if (Value) {
    const TClassInfo& info = Value->ClassInfo();
    TGraphicClass cls = ClassByName(info.Name());
    if (!cls) throw EInvalidGraphic("Cannot copy a %s", {info.Name()});
    copy = cls.Create();
    try {
      copy->Assign(Value);
    } catch (...) {
      delete copy;
      throw;
    }
  }
  Replace(copy);
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_)) Replace(new TBitmap);
  return static_cast<TBitmap*>(graphic_);
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(graphic_)) Replace(new TIcon);
  return static_cast<TIcon*>(graphic_);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) return SetGraphic(nullptr);
  if (auto* picture = dynamic_cast<TPicture*>(Source)) return SetGraphic(picture->graphic_);
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) return SetGraphic(graphic);
  TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (graphic_ && dynamic_cast<TGraphic*>(Dest)) return Dest->Assign(graphic_);
  TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const std::string& FileName) {
  std::string ext = ExtractFileExt(FileName);
  if (!ext.empty()) ext.erase(0, 1);
  TGraphicClass cls = FileFormatClass(ext);
  if (!cls) throw EInvalidGraphic("Unknown picture file extension (.%s)", {ext});
  TGraphic* graphic = cls.Create();
  try {
    graphic->LoadFromFile(FileName);
  } catch (...) {
    delete graphic;
    throw;
  }
  Replace(graphic);
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicClass GraphicClass) {
  std::vector<TFileFormat>& formats = FileFormats();
  for (TFileFormat& f : formats)
    if (SameText(f.Extension, Extension)) {
      f = {LowerCase(Extension), Description, GraphicClass};
      return;
    }
  formats.push_back({LowerCase(Extension), Description, GraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass GraphicClass) {
  std::erase_if(FileFormats(), [&](const TFileFormat& f) { return f.GraphicClass == GraphicClass; });
}

TGraphicClass TPicture::FileFormatClass(const std::string& Extension) {
  for (const TFileFormat& f : FileFormats())
    if (SameText(f.Extension, Extension)) return f.GraphicClass;
  return {};
}

std::string TPicture::GraphicFilter(TGraphicClass GraphicClass) {
  std::string masks, entries;
  for (const TFileFormat& f : FileFormats()) {
    if (!f.GraphicClass.Info->InheritsFrom(*GraphicClass.Info)) continue;
    const std::string mask = "*." + f.Extension;
    masks += (masks.empty() ? "" : ";") + mask;
    entries += "|" + f.Description + " (" + mask + ")|" + mask;
  }
  if (masks.empty()) return "";
  return "All (" + masks + ")|" + masks + entries;
}

void TPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
      graphic_ && !graphic_->Empty());
}

void TPicture::ReadData(TStream* Stream) {
  BYTE length = 0;
  Stream->ReadBuffer(&length, 1);
  std::string name(length, '\0');
  Stream->ReadBuffer(name.data(), length);
  TGraphicClass cls = ClassByName(name);
  if (!cls) throw EInvalidGraphic("Unknown picture class %s", {name});
  TGraphic* graphic = cls.Create();
  try {
    graphic->ReadData(Stream);
  } catch (...) {
    delete graphic;
    throw;
  }
  Replace(graphic);
}

void TPicture::WriteData(TStream* Stream) {
  const std::string name = graphic_ ? graphic_->ClassInfo().Name() : "";
  const BYTE length = static_cast<BYTE>(name.size());
  Stream->WriteBuffer(&length, 1);
  Stream->WriteBuffer(name.data(), length);
  if (graphic_) graphic_->WriteData(Stream);
}
