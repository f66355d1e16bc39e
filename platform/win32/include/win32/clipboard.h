#pragma once
// An in-process clipboard. It owns the data handed to SetClipboardData: global memory blocks, or
// GDI objects for CF_BITMAP and CF_PALETTE, freed when the clipboard is emptied.
#include "win32/types.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_PALETTE = 9;
constexpr UINT CF_DIB = 8;

// One opener at a time; FALSE while another thread holds it open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Needs the clipboard open; frees what it held.
BOOL EmptyClipboard();
// Needs the clipboard open (and emptied by this opener, as in Windows); replaces data of the same
// format. Returns the handle, 0 on failure (the caller then still owns it).
HANDLE SetClipboardData(UINT format, HANDLE data);
// Needs the clipboard open; the clipboard keeps ownership.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
