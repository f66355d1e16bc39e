// Saving through the writer list, converting to a resolution the writer can store, and the
// bitmap streaming of the TGraphic protocol.
#include <memory>
#include <string_view>

#include "graphics/exceptions.h"
#include "graphics/file_formats.h"
#include "graphics/median_cut.h"
#include "graphics/messages.h"
#include "vcl/dialogs.h"
#include "win32/machine.h"
#include "win32/little_endian.h"

namespace {

std::string ResolutionText(TPGColorResolution r) { return PGLangStr(pgsBlackAndWhite + static_cast<int>(r)); }

// The writer for the extension, from the sorted list.
TFileFormatWriter* WriterFor(const std::string& ext) {
  SortFileFormatWriters();
  if (FileFormatWriters->Count() == 0) throw EPGFileFormatWritersEmpty(PGLangStrS1(pgsIsEmpty, "FileFormatWriters"));
  for (int i = 0; i < FileFormatWriters->Count(); ++i) {
    auto* writer = static_cast<TFileFormatWriter*>(FileFormatWriters->Items(i));
    if (SameText(writer->Extension, ext)) return writer;
  }
  throw EPGUnknownExtension(PGLangStrS1(pgsUnknownExtension, LowerCase(ext)));
}

// True when the user lets the save go on in another resolution.
bool AcceptDowngrade(TPGWarningAction action, const TFileFormatWriter& writer, TPGColorResolution r,
                     TPGColorResolution w) {
  switch (action) {
    case pgwaIgnore: return true;
    case pgwaRaise: return false;
    case pgwaOKBox:
    case pgwaOKCancelBox: {
      const std::string text =
          PGLangStrS3(pgsSavedWithOtherResolution, writer.Description, ResolutionText(r), ResolutionText(w));
      const TMsgDlgButtons buttons = action == pgwaOKBox ? TMsgDlgButtons{mbOK} : TMsgDlgButtons{mbOK, mbCancel};
      const TModalResult answer = MessageDlg(text, mtWarning, buttons, 0);
      return action == pgwaOKBox || answer == mrOk;
    }
  }
  return false;
}

}  // namespace

void TPixelGraphic::SaveWithWriter(const std::string& Extension, TStream* Stream) {
  FlushGdi();
  const std::string ext = !Extension.empty() && Extension[0] == '.' ? Extension.substr(1) : Extension;
  TFileFormatWriter* writer = WriterFor(ext);
  DetectPaletteIdent();
  const TPGColorResolution r = ColorResolutionOf(*this);
  TPGColorResolution w;
  if (!ResolutionWritten(r, writer->CanWriteResolutions, w))
    throw EPGCanWriteResolutionsEmpty(PGLangStrS1(pgsIsEmpty, writer->ClassName() + ".CanWriteResolutions"));
  if (w == r) {
    DetectPaletteIdent();
    writer->Write(Stream, this);
    return;
  }
  if (!AcceptDowngrade(saveColorResWarningAction_, *writer, r, w))
    throw EPGCannotWriteColorRes(PGLangStrS2(pgsCannotSaveResolution, writer->Description, ResolutionText(r)));

  auto converted = std::make_unique<TPixelGraphic>();
  converted->OnProgress = OnProgress;
  converted->OnProgressStart = OnProgressStart;
  converted->OnProgressEnd = OnProgressEnd;
  switch (w) {
    case pgcrBlackWhite: converted->SetBitCount(pgbc1), converted->SetPaletteIdent(pBlackWhite); break;
    case pgcr2Colors: converted->SetBitCount(pgbc1), MedianCutQuantize(converted.get(), this, 2, false); break;
    case pgcr16Grays: converted->SetBitCount(pgbc4), converted->SetPaletteIdent(pGray16); break;
    case pgcrSys16: converted->SetBitCount(pgbc4), converted->SetPaletteIdent(pSys16); break;
    case pgcr16Colors: converted->SetBitCount(pgbc4), MedianCutQuantize(converted.get(), this, 16, false); break;
    case pgcr256Grays: converted->SetBitCount(pgbc8), converted->SetPaletteIdent(pGray256); break;
    case pgcr256Colors: converted->SetBitCount(pgbc8), MedianCutQuantize(converted.get(), this, 252, true); break;
    case pgcrTrueColor: converted->SetBitCount(pgbc24); break;
  }
  converted->SetWidth(width_);
  converted->SetHeight(height_);
  converted->StretchCopy(this);
  converted->DetectPaletteIdent();
  writer->Write(Stream, converted.get());
}

void TPixelGraphic::SaveToFile(const std::string& FileName) {
  // The whole file is made first, so a failed save leaves an existing file as it was and
  // creates none.
  TMemoryStream encoded;
  SaveWithWriter(ExtractFileFormatExt(FileName), &encoded);
  const std::filesystem::path target = machine::HostPath(FileName);
  const std::string_view content(static_cast<const char*>(encoded.Memory()), static_cast<std::size_t>(encoded.Size()));
  if (target.empty() || !machine::ReplaceFileAtomically(target, content))
    throw EFCreateError("Cannot create file %s", {FileName});
}

void TPixelGraphic::SaveToStreamExt(TStream* Stream, const std::string& Ext) { SaveWithWriter(Ext, Stream); }

void TPixelGraphic::SaveToStream(TStream* Stream) {
  FlushGdi();
  PGBitmapWriter->Write(Stream, this);
}

void TPixelGraphic::WriteData(TStream* Stream) {
  FlushGdi();
  const std::int64_t start = Stream->Position();
  const std::uint8_t placeholder[4] = {0, 0, 0, 0};
  Stream->WriteBuffer(placeholder, 4);
  PGBitmapWriter->Write(Stream, this);
  const std::int64_t end = Stream->Position();
  const auto n = static_cast<std::uint32_t>(end - start - 4);
  std::uint8_t length[4];
  WriteLE32(length, n);
  Stream->SetPosition(start);
  Stream->WriteBuffer(length, 4);
  Stream->SetPosition(end);
}
