#pragma once
// The object behind an HENHMETAFILE: the records of an enhanced metafile, or those of a
// Windows-format one with the size it is shown at. The records were walked once when it was
// made, so every record lies within the data.
#include <vector>

#include "gdi/gdi_object.h"
#include "metafile/transform.h"
#include "win32/metafile.h"

namespace metafile {

struct MetafileObject : gdi::GdiObject {
  MetafileObject() : gdi::GdiObject(gdi::ObjectKind::EnhMetafile) {}

  bool enhanced = true;
  std::vector<BYTE> bytes;
  ENHMETAHEADER header{};  // made up for a Windows-format metafile
  // The reference device's pixels per millimetre, with which the frame and the metric mapping
  // modes meet its records.
  DPoint pixelsPerMm{96 / 25.4, 96 / 25.4};
  // Windows-format: object table size, and the window its picture frame shows.
  WORD objectSlots = 0;
  DPoint windowOrg, windowExt;
};

MetafileObject* FindMetafile(HENHMETAFILE handle);

// Plays the records into `dc` with the reference device fitted to `fit`; false when a record did
// not fit its contents.
bool PlayEnhanced(HDC dc, const MetafileObject& metafile, const Matrix& fit);
bool PlayWindowsFormat(HDC dc, const MetafileObject& metafile, const Matrix& fit);

}  // namespace metafile
