#include "graphics/library.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "clamp_table.h"
#include "graphics/bmp_format.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/pg_canvas.h"
#include "viewer_cursors.h"

TList* PGLiveCanvases = nullptr;
TList* FileFormatReaders = nullptr;
TList* FileFormatWriters = nullptr;
TFileFormatReader* PGBitmapReader = nullptr;
TFileFormatWriter* PGBitmapWriter = nullptr;
bool PGScale16BitChannels = true;
LOGFONTA PGViewerFont{};
long double PGDisplayGamma = 1.8L;
bool PGGammaCorrection = true;
std::array<std::uint8_t, 1021> PGClampTable{};

void BuildPGClampTable() {
  for (int v = -510; v <= 510; ++v)
    PGClampTable[static_cast<std::size_t>(v + 510)] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

long double Power(long double Base, long double Exponent) {
  if (Exponent == 0) return 1;
  if (Base == 0) return 0;
  if (Base == 1) return 1;
  if (Base < 0) throw EPixelGraphic("Invalid Argument");
  return std::pow(Base, Exponent);
}

namespace {

int setUpCount = 0;

TList* CreateFormatList(const std::vector<TFileFormatFactory>& factories) {
  auto* list = new TList;
  for (TFileFormatFactory make : factories) list->Add(make());
  return list;
}

void FreeFormatList(TList*& list) {
  if (!list) return;
  for (int i = 0; i < list->Count(); ++i) delete static_cast<TObject*>(list->Items(i));
  delete list;
  list = nullptr;
}

}  // namespace

void PGLibraryInitialize() {
  if (setUpCount++ > 0) return;
  CheckPGLangStrOrder(PGLangStrEntries, PGLangStrCount);
  PGLanguage = pglEnglish;
  PGViewerFont = LOGFONTA{};
  PGViewerFont.lfHeight = 8;
  PGViewerFont.lfWeight = 400;
  PGViewerFont.lfCharSet = 1;
  std::strcpy(PGViewerFont.lfFaceName, "MS Sans Serif");
  CreateViewerCursors();
  BuildPGClampTable();
  PGScale16BitChannels = true;
  PGDisplayGamma = 1.8L;
  PGGammaCorrection = true;
  PGLiveCanvases = new TList;
  PGBitmapReader = new TBMPFileFormatReader;
  PGBitmapWriter = new TBMPFileFormatWriter;
  FileFormatReaders = CreateFormatList(FileFormatReaderFactories());
  FileFormatWriters = CreateFormatList(FileFormatWriterFactories());
}

void PGLibraryFinalize() {
  if (--setUpCount > 0) return;
  DestroyViewerCursors();
  FreeAllCanvases();
  delete PGLiveCanvases;
  PGLiveCanvases = nullptr;
  delete PGBitmapReader;
  PGBitmapReader = nullptr;
  delete PGBitmapWriter;
  PGBitmapWriter = nullptr;
  FreeFormatList(FileFormatReaders);
  FreeFormatList(FileFormatWriters);
}
