#pragma once
// Library-wide objects and settings of the pixel graphics library, made by its set-up and freed by
// its teardown. Every unit that includes this header holds a counter guard, so the set-up runs
// before the first of them is used and the teardown after the last one is gone.
#include <vector>

#include "vcl/lists.h"
#include "vcl/objects.h"
#include "win32/text.h"
#include "win32/user.h"

// Every TPGCanvas that currently owns a device context.
extern TList* PGLiveCanvases;
// The format readers and writers; the lists own their objects.
extern TList* FileFormatReaders;
extern TList* FileFormatWriters;

// The bitmap reader and writer that streaming and the clipboard use, whatever the lists hold.
class TFileFormatReader;
class TFileFormatWriter;
extern TFileFormatReader* PGBitmapReader;
extern TFileFormatWriter* PGBitmapWriter;

// The viewer's cursors while the picture or a selection is dragged.
extern HCURSOR PGCursorOpenHand;
extern HCURSOR PGCursorGrabbingHand;
extern HCURSOR PGCursorCross;
extern HCURSOR PGCursorMove;

// The viewer's font, for CreateFontIndirectA.
extern LOGFONTA PGViewerFont;
// Whether 16-bit bitmap channels are scaled up to fill the 0..255 range.
extern bool PGScale16BitChannels;
extern long double PGDisplayGamma;
extern bool PGGammaCorrection;

// Each codec adds the function that makes its reader or writer; set-up creates one object of
// each, in list order.
using TFileFormatFactory = TObject* (*)();
std::vector<TFileFormatFactory> FileFormatReaderFactories();
std::vector<TFileFormatFactory> FileFormatWriterFactories();

// Base raised to Exponent; Exponent 0 gives 1, Base 0 gives 0, a negative Base raises.
long double Power(long double Base, long double Exponent);

void PGLibraryInitialize();
void PGLibraryFinalize();

struct TPGLibraryGuard {
  TPGLibraryGuard() { PGLibraryInitialize(); }
  ~TPGLibraryGuard() { PGLibraryFinalize(); }
  TPGLibraryGuard(const TPGLibraryGuard&) = delete;
  TPGLibraryGuard& operator=(const TPGLibraryGuard&) = delete;
};
static const TPGLibraryGuard PGLibraryGuard;
