#pragma once
// A device-independent bitmap inside a record, checked against the record before the GDI sees it:
// header, colour table and every scan line must lie within the record. The header and colours are
// copied into aligned memory (records are only 2-byte aligned) as a plain 40-byte header.
#include <optional>
#include <vector>

#include "metafile/record_reader.h"
#include "win32/gdi.h"

namespace metafile {

struct DibSource {
  std::vector<DWORD> info;  // BITMAPINFOHEADER, then masks or colours
  const BYTE* bits = nullptr;
  int width = 0, height = 0;  // height is positive; the header keeps the row order
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

// Header and colours at `infoOffset` (within `infoSize` bytes), scan lines at `bitsOffset` (within
// `bitsSize` bytes). Only uncompressed and bit-field DIBs in RGB colours are drawn.
std::optional<DibSource> ReadDib(RecordReader& record, std::size_t infoOffset, std::size_t infoSize,
                                 std::size_t bitsOffset, std::size_t bitsSize);
// The packed form of the Windows-format records: the scan lines follow the colours, up to the
// end of the record.
std::optional<DibSource> ReadPackedDib(RecordReader& record, std::size_t offset);

}  // namespace metafile
