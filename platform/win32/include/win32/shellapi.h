#pragma once
// The shell's ShellExecuteA, for what the programs open (web and mail addresses with the verb
// "open", through the host's opener, shell::OpenAddress), and SHGetFileInfoA: the shell's small and
// large icon of a file, from our own pictures for folders, programs, text files, pictures and
// other files. The caller destroys the icon it gets.
#include "win32/gdi.h"
#include "win32/types.h"

constexpr UINT SHGFI_ICON = 0x000000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000000200;
constexpr UINT SHGFI_TYPENAME = 0x000000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000000800;
constexpr UINT SHGFI_ICONLOCATION = 0x000001000;
constexpr UINT SHGFI_EXETYPE = 0x000002000;
constexpr UINT SHGFI_SYSICONINDEX = 0x000004000;
constexpr UINT SHGFI_LINKOVERLAY = 0x000008000;
constexpr UINT SHGFI_SELECTED = 0x000010000;
constexpr UINT SHGFI_LARGEICON = 0x000000000;
constexpr UINT SHGFI_SMALLICON = 0x000000001;
constexpr UINT SHGFI_OPENICON = 0x000000002;
constexpr UINT SHGFI_SHELLICONSIZE = 0x000000004;
constexpr UINT SHGFI_PIDL = 0x000000008;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000000010;

struct SHFILEINFOA {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  char szDisplayName[260];
  char szTypeName[80];
};

// The kinds of file the shell tells apart here, which are also the indexes SHGFI_SYSICONINDEX
// gives in iIcon.
enum class ShellFileKind : int { Other = 0, Folder = 1, Program = 2, Text = 3, Picture = 4 };
// The kind of a Windows path by its extension (folders by attributes).
ShellFileKind ShellFileKindOf(LPCSTR path, DWORD attributes);

// Supports SHGFI_ICON (hIcon: 16x16 with SHGFI_SMALLICON, else 32x32; SHGFI_SELECTED blends it
// with the highlight colour), SHGFI_SYSICONINDEX (iIcon), SHGFI_DISPLAYNAME and
// SHGFI_USEFILEATTRIBUTES (the file need not exist; `fileAttributes` says whether it is a folder).
// Returns non-zero on success, 0 when the file does not exist (without SHGFI_USEFILEATTRIBUTES),
// `info` is null for a flag that fills it, or a flag is not supported (SHGFI_PIDL).
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize, UINT flags);

// ShellExecuteA's results up to 32 are errors.
constexpr INT_PTR SE_ERR_FILE_NOT_FOUND = 2;
constexpr INT_PTR SE_ERR_NOASSOC = 31;
constexpr INT_PTR kShellExecuteSucceeded = 33;  // any result above 32 means success

// Opens `file` with `operation` ("open", any case, or null). Only addresses ("scheme:...") are
// opened; the parameters, folder and show command do not apply to them. Returns a handle value
// above 32 on success, SE_ERR_NOASSOC when the verb or the file has no opener or the opener
// failed, SE_ERR_FILE_NOT_FOUND for an empty file.
HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
