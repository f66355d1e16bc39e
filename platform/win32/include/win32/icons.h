#pragma once
// Icon and cursor files (.ico, .cur): LoadImageA with LR_LOADFROMFILE picks the entry nearest the
// wanted size and the screen's colour depth and makes an HICON of it through CreateIconIndirect.
// Entries of 1, 4, 8, 24 and 32 bits with their AND masks are read; PNG-compressed entries are
// refused. Every size and offset in the file is checked against the file.
#include <cstddef>

#include "win32/gdi.h"

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;

constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_DEFAULTSIZE = 0x0040;

// Only files (LR_LOADFROMFILE) of icons and cursors; anything else fails with
// ERROR_NOT_SUPPORTED. cx or cy 0 takes the entry's own size, or 32 with LR_DEFAULTSIZE. A file
// that cannot be decoded gives 0 with ERROR_INVALID_PARAMETER (ERROR_NOT_SUPPORTED for a PNG
// entry).
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);

namespace icons {
// The decoding of LoadImageA on a file already in memory (type IMAGE_ICON or IMAGE_CURSOR).
HICON IconFromFileData(const BYTE* data, std::size_t size, UINT type, int cx, int cy, UINT flags);
}  // namespace icons
