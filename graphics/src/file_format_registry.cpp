// The reader and writer lists: sorting, the search by signature and extension, and the
// descriptions the open dialog shows.
#include <cstring>

#include "graphics/file_formats.h"
#include "vcl/scope_exit.h"
#include "vcl/typinfo.h"

const TClassInfo& TFileFormatReaderWriter::StaticClassInfo() {
  static const TClassInfo info("TFileFormatReaderWriter", &TObject::StaticClassInfo());
  return info;
}
const TClassInfo& TFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TFileFormatReader", &TFileFormatReaderWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TFileFormatWriter", &TFileFormatReaderWriter::StaticClassInfo());
  return info;
}

void TFileFormatReader::Read(TStream*, TPixelGraphic*, int) {}

void TFileFormatReader::GetInfo(TStream*, int, TPGImageInfo& Info) {
  Info = TPGImageInfo{};
  Info.ImageCount = 1;
}

void TFileFormatWriter::Write(TStream*, TPixelGraphic*) {}
void TFileFormatWriter::WriteHeader(TStream*) {}
void TFileFormatWriter::WriteImage(TStream*, TPixelGraphic*) {}
void TFileFormatWriter::WriteTrailer(TStream*) {}

int CompareFileFormatExtensions(const TFileFormatReaderWriter* A, const TFileFormatReaderWriter* B) {
  const int c = LowerCase(A->Extension).compare(LowerCase(B->Extension));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

namespace {

void SortFormatList(TList* list) {
  auto compare = [](void* a, void* b) {
    return CompareFileFormatExtensions(static_cast<TFileFormatReaderWriter*>(a),
                                       static_cast<TFileFormatReaderWriter*>(b));
  };
  for (int i = 1; i < list->Count(); ++i)
    if (compare(list->Items(i - 1), list->Items(i)) > 0) return list->Sort(compare);
}

std::string WithoutLeadingDot(std::string ext) {
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  return ext;
}

}  // namespace

void SortFileFormatReaders() { SortFormatList(FileFormatReaders); }
void SortFileFormatWriters() { SortFormatList(FileFormatWriters); }

std::string ExtractFileFormatExt(const std::string& FileName) {
  return LowerCase(WithoutLeadingDot(ExtractFileExt(FileName)));
}

TFileFormatReader* FindFileFormatReader(TStream* Stream, std::string Ext) {
  try {
    Ext = WithoutLeadingDot(Ext);
    // Bytes past a short stream's end count as zero.
    std::uint8_t header[kPGSignatureSize] = {};
    const std::int64_t position = Stream->Position();
    {
      ScopeExit restorePosition([&] { Stream->SetPosition(position); });
      Stream->Read(header, kPGSignatureSize);
    }
    SortFileFormatReaders();
    for (int i = 0; i < FileFormatReaders->Count(); ++i) {
      auto* reader = static_cast<TFileFormatReader*>(FileFormatReaders->Items(i));
      if (reader->HasSignature && reader->CheckHeader(header)) return reader;
    }
    if (Ext.empty()) return nullptr;
    for (int i = 0; i < FileFormatReaders->Count(); ++i) {
      auto* reader = static_cast<TFileFormatReader*>(FileFormatReaders->Items(i));
      if (!reader->HasSignature && SameText(reader->Extension, Ext)) return reader;
    }
  } catch (...) {
  }
  return nullptr;
}

bool GetStreamInfo(TStream* Stream, const std::string& Ext, int Index, std::string& Description, TPGImageInfo& Info) {
  Description.clear();
  Info = TPGImageInfo{};
  try {
    TFileFormatReader* reader = FindFileFormatReader(Stream, Ext);
    if (!reader) return false;
    Description = reader->Description;
    const std::int64_t position = Stream->Position();
    {
      ScopeExit restorePosition([&] { Stream->SetPosition(position); });
      reader->GetInfo(Stream, Index, Info);
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool GetFileInfo(const std::string& FileName, int Index, std::string& Description, TPGImageInfo& Info) {
  Description.clear();
  Info = TPGImageInfo{};
  try {
    if (ExtractFileName(FileName).empty() || !FileExists(FileName)) return false;
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    return GetStreamInfo(&stream, ExtractFileFormatExt(FileName), Index, Description, Info);
  } catch (...) {
    return false;
  }
}

// ---- Colour resolutions ---------------------------------------------------------------------

TPGColorResolution ColorResolutionOf(TPixelGraphic& Image) {
  switch (Image.GetBitCount()) {
    case pgbc1: return Image.PaletteIdent() == pBlackWhite ? pgcrBlackWhite : pgcr2Colors;
    case pgbc4:
      return Image.PaletteIdent() == pGray16 ? pgcr16Grays : Image.PaletteIdent() == pSys16 ? pgcrSys16 : pgcr16Colors;
    case pgbc8: return Image.PaletteIdent() == pGray256 ? pgcr256Grays : pgcr256Colors;
    default: return pgcrTrueColor;
  }
}

bool ResolutionWritten(TPGColorResolution R, TPGColorResolutions CanWrite, TPGColorResolution& Written) {
  static constexpr TPGColorResolution kOrder[8][8] = {
      {pgcrBlackWhite, pgcr2Colors, pgcr16Grays, pgcrSys16, pgcr16Colors, pgcr256Grays, pgcr256Colors, pgcrTrueColor},
      {pgcr2Colors, pgcr16Colors, pgcr256Colors, pgcrTrueColor, pgcrSys16, pgcrBlackWhite, pgcr16Grays, pgcr256Grays},
      {pgcr16Grays, pgcr16Colors, pgcr256Grays, pgcr256Colors, pgcrTrueColor, pgcrSys16, pgcrBlackWhite, pgcr2Colors},
      {pgcrSys16, pgcr16Colors, pgcr256Colors, pgcrTrueColor, pgcr16Grays, pgcr256Grays, pgcrBlackWhite, pgcr2Colors},
      {pgcr16Colors, pgcr256Colors, pgcrTrueColor, pgcrSys16, pgcr16Grays, pgcr256Grays, pgcrBlackWhite, pgcr2Colors},
      {pgcr256Grays, pgcr256Colors, pgcrTrueColor, pgcr16Grays, pgcr16Colors, pgcrSys16, pgcrBlackWhite, pgcr2Colors},
      {pgcr256Colors, pgcrTrueColor, pgcr16Colors, pgcrSys16, pgcr256Grays, pgcr16Grays, pgcrBlackWhite, pgcr2Colors},
      {pgcrTrueColor, pgcr256Colors, pgcr16Colors, pgcrSys16, pgcr256Grays, pgcr16Grays, pgcrBlackWhite, pgcr2Colors},
  };
  for (TPGColorResolution candidate : kOrder[R])
    if (CanWrite.Contains(candidate)) {
      Written = candidate;
      return true;
    }
  return false;
}
