#pragma once
// Windows metafiles: enhanced (32-bit records) and Windows-format (16-bit records) pictures, read
// from memory and played into a device context by our own record player. Malformed data is
// refused when the handle is made (header, record sizes); a record whose contents do not fit
// (counts, object indexes, bitmaps) is skipped and makes the play report FALSE.
#include "win32/gdi.h"

using HENHMETAFILE = HANDLE;
using HMETAFILE = HANDLE;

constexpr DWORD OBJ_ENHMETAFILE = 13;

constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int MM_LOENGLISH = 4;
constexpr int MM_HIENGLISH = 5;
constexpr int MM_TWIPS = 6;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

struct RECTL {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
struct SIZEL {
  LONG cx;
  LONG cy;
};

constexpr DWORD ENHMETA_SIGNATURE = 0x464D4520;  // " EMF"

struct ENHMETAHEADER {
  DWORD iType;  // EMR_HEADER
  DWORD nSize;
  RECTL rclBounds;  // device units of the reference device
  RECTL rclFrame;  // 0.01 mm
  DWORD dSignature;
  DWORD nVersion;
  DWORD nBytes;
  DWORD nRecords;
  WORD nHandles;
  WORD sReserved;
  DWORD nDescription;
  DWORD offDescription;
  DWORD nPalEntries;
  SIZEL szlDevice;  // pixels of the reference device
  SIZEL szlMillimeters;  // its size in millimetres
};
static_assert(sizeof(ENHMETAHEADER) == 88);

#pragma pack(push, 2)
struct METAHEADER {
  WORD mtType;  // 1 memory, 2 disk
  WORD mtHeaderSize;  // in words: 9
  WORD mtVersion;  // 0x0100 or 0x0300
  DWORD mtSize;  // in words
  WORD mtNoObjects;
  DWORD mtMaxRecord;
  WORD mtNoParameters;
};
#pragma pack(pop)
static_assert(sizeof(METAHEADER) == 18);

struct METAFILEPICT {
  LONG mm;
  LONG xExt;  // 0.01 mm for MM_ISOTROPIC and MM_ANISOTROPIC
  LONG yExt;
  HMETAFILE hMF;
};

// Enhanced metafile records.
constexpr DWORD EMR_HEADER = 1;
constexpr DWORD EMR_POLYBEZIER = 2;
constexpr DWORD EMR_POLYGON = 3;
constexpr DWORD EMR_POLYLINE = 4;
constexpr DWORD EMR_POLYBEZIERTO = 5;
constexpr DWORD EMR_POLYLINETO = 6;
constexpr DWORD EMR_POLYPOLYLINE = 7;
constexpr DWORD EMR_POLYPOLYGON = 8;
constexpr DWORD EMR_SETWINDOWEXTEX = 9;
constexpr DWORD EMR_SETWINDOWORGEX = 10;
constexpr DWORD EMR_SETVIEWPORTEXTEX = 11;
constexpr DWORD EMR_SETVIEWPORTORGEX = 12;
constexpr DWORD EMR_SETBRUSHORGEX = 13;
constexpr DWORD EMR_EOF = 14;
constexpr DWORD EMR_SETPIXELV = 15;
constexpr DWORD EMR_SETMAPMODE = 17;
constexpr DWORD EMR_SETBKMODE = 18;
constexpr DWORD EMR_SETPOLYFILLMODE = 19;
constexpr DWORD EMR_SETROP2 = 20;
constexpr DWORD EMR_SETSTRETCHBLTMODE = 21;
constexpr DWORD EMR_SETTEXTALIGN = 22;
constexpr DWORD EMR_SETTEXTCOLOR = 24;
constexpr DWORD EMR_SETBKCOLOR = 25;
constexpr DWORD EMR_MOVETOEX = 27;
constexpr DWORD EMR_EXCLUDECLIPRECT = 29;
constexpr DWORD EMR_INTERSECTCLIPRECT = 30;
constexpr DWORD EMR_SCALEVIEWPORTEXTEX = 31;
constexpr DWORD EMR_SCALEWINDOWEXTEX = 32;
constexpr DWORD EMR_SAVEDC = 33;
constexpr DWORD EMR_RESTOREDC = 34;
constexpr DWORD EMR_SETWORLDTRANSFORM = 35;
constexpr DWORD EMR_MODIFYWORLDTRANSFORM = 36;
constexpr DWORD EMR_SELECTOBJECT = 37;
constexpr DWORD EMR_CREATEPEN = 38;
constexpr DWORD EMR_CREATEBRUSHINDIRECT = 39;
constexpr DWORD EMR_DELETEOBJECT = 40;
constexpr DWORD EMR_ELLIPSE = 42;
constexpr DWORD EMR_RECTANGLE = 43;
constexpr DWORD EMR_ROUNDRECT = 44;
constexpr DWORD EMR_ARC = 45;
constexpr DWORD EMR_CHORD = 46;
constexpr DWORD EMR_PIE = 47;
constexpr DWORD EMR_SELECTPALETTE = 48;
constexpr DWORD EMR_CREATEPALETTE = 49;
constexpr DWORD EMR_LINETO = 54;
constexpr DWORD EMR_ARCTO = 55;
constexpr DWORD EMR_BEGINPATH = 59;
constexpr DWORD EMR_ENDPATH = 60;
constexpr DWORD EMR_CLOSEFIGURE = 61;
constexpr DWORD EMR_FILLPATH = 62;
constexpr DWORD EMR_STROKEANDFILLPATH = 63;
constexpr DWORD EMR_STROKEPATH = 64;
constexpr DWORD EMR_FLATTENPATH = 65;
constexpr DWORD EMR_WIDENPATH = 66;
constexpr DWORD EMR_SELECTCLIPPATH = 67;
constexpr DWORD EMR_ABORTPATH = 68;
constexpr DWORD EMR_FILLRGN = 71;
constexpr DWORD EMR_EXTSELECTCLIPRGN = 75;
constexpr DWORD EMR_BITBLT = 76;
constexpr DWORD EMR_STRETCHBLT = 77;
constexpr DWORD EMR_STRETCHDIBITS = 81;
constexpr DWORD EMR_EXTCREATEFONTINDIRECTW = 82;
constexpr DWORD EMR_EXTTEXTOUTA = 83;
constexpr DWORD EMR_EXTTEXTOUTW = 84;
constexpr DWORD EMR_POLYBEZIER16 = 85;
constexpr DWORD EMR_POLYGON16 = 86;
constexpr DWORD EMR_POLYLINE16 = 87;
constexpr DWORD EMR_POLYBEZIERTO16 = 88;
constexpr DWORD EMR_POLYLINETO16 = 89;
constexpr DWORD EMR_POLYPOLYLINE16 = 90;
constexpr DWORD EMR_POLYPOLYGON16 = 91;
constexpr DWORD EMR_CREATEDIBPATTERNBRUSHPT = 94;
constexpr DWORD EMR_EXTCREATEPEN = 95;

// Windows-format metafile records (the low byte is the function, the high byte the parameter
// count of the first writers).
constexpr WORD META_EOF = 0x0000;
constexpr WORD META_SAVEDC = 0x001E;
constexpr WORD META_SETBKMODE = 0x0102;
constexpr WORD META_SETMAPMODE = 0x0103;
constexpr WORD META_SETROP2 = 0x0104;
constexpr WORD META_SETPOLYFILLMODE = 0x0106;
constexpr WORD META_SETSTRETCHBLTMODE = 0x0107;
constexpr WORD META_RESTOREDC = 0x0127;
constexpr WORD META_SELECTCLIPREGION = 0x012C;
constexpr WORD META_SELECTOBJECT = 0x012D;
constexpr WORD META_SETTEXTALIGN = 0x012E;
constexpr WORD META_DIBCREATEPATTERNBRUSH = 0x0142;
constexpr WORD META_DELETEOBJECT = 0x01F0;
constexpr WORD META_CREATEPATTERNBRUSH = 0x01F9;
constexpr WORD META_SETBKCOLOR = 0x0201;
constexpr WORD META_SETTEXTCOLOR = 0x0209;
constexpr WORD META_SETWINDOWORG = 0x020B;
constexpr WORD META_SETWINDOWEXT = 0x020C;
constexpr WORD META_SETVIEWPORTORG = 0x020D;
constexpr WORD META_SETVIEWPORTEXT = 0x020E;
constexpr WORD META_OFFSETWINDOWORG = 0x020F;
constexpr WORD META_OFFSETVIEWPORTORG = 0x0211;
constexpr WORD META_LINETO = 0x0213;
constexpr WORD META_MOVETO = 0x0214;
constexpr WORD META_FILLREGION = 0x0228;
constexpr WORD META_CREATEPENINDIRECT = 0x02FA;
constexpr WORD META_CREATEFONTINDIRECT = 0x02FB;
constexpr WORD META_CREATEBRUSHINDIRECT = 0x02FC;
constexpr WORD META_POLYGON = 0x0324;
constexpr WORD META_POLYLINE = 0x0325;
constexpr WORD META_SCALEWINDOWEXT = 0x0410;
constexpr WORD META_SCALEVIEWPORTEXT = 0x0412;
constexpr WORD META_EXCLUDECLIPRECT = 0x0415;
constexpr WORD META_INTERSECTCLIPRECT = 0x0416;
constexpr WORD META_ELLIPSE = 0x0418;
constexpr WORD META_RECTANGLE = 0x041B;
constexpr WORD META_SETPIXEL = 0x041F;
constexpr WORD META_TEXTOUT = 0x0521;
constexpr WORD META_POLYPOLYGON = 0x0538;
constexpr WORD META_ROUNDRECT = 0x061C;
constexpr WORD META_PATBLT = 0x061D;
constexpr WORD META_CREATEREGION = 0x06FF;
constexpr WORD META_ARC = 0x0817;
constexpr WORD META_PIE = 0x081A;
constexpr WORD META_CHORD = 0x0830;
constexpr WORD META_DIBBITBLT = 0x0940;
constexpr WORD META_EXTTEXTOUT = 0x0A32;
constexpr WORD META_DIBSTRETCHBLT = 0x0B41;
constexpr WORD META_STRETCHDIB = 0x0F43;
constexpr WORD META_CREATEPALETTE = 0x00F7;

HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data);
// A Windows-format metafile as an enhanced one. `picture` gives its size (MM_ISOTROPIC or
// MM_ANISOTROPIC with extents in 0.01 mm); without one its own window extent is its size in
// pixels of `referenceDC` (the screen when 0).
HENHMETAFILE SetWinMetaFileBits(UINT size, const BYTE* data, HDC referenceDC, const METAFILEPICT* picture);
// With `header` null the size of the header is returned.
UINT GetEnhMetaFileHeader(HENHMETAFILE metafile, UINT size, ENHMETAHEADER* header);
// Fits the picture's frame to `rect` (logical coordinates of the DC). The DC's state is kept.
BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE metafile, const RECT* rect);
BOOL DeleteEnhMetaFile(HENHMETAFILE metafile);
