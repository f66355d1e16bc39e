#pragma once
// Searching a folder by mask and attributes as the class library does: FindFirst, FindNext and
// FindClose over TSearchRec.
#include <cstdint>
#include <string>

#include "win32/kernel.h"

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

struct TSearchRec {
  std::int64_t Size = 0;
  int Attr = 0;
  std::string Name;
  // Entries with hidden, system or folder attributes outside the search's are passed over.
  int ExcludeAttr = 0;
  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA FindData{};
};

// 0 with F describing the first match of Path (a mask such as "c:\logos\*.sys"), else a Windows
// error code. Normal, read-only and archive files always match; hidden and system files and
// folders only when Attr asks for them.
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
