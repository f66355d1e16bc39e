// The kernel lists every entry; choosing by attribute is done here.
#include "vcl/findfiles.h"

#include "win32/errors.h"

namespace {

// Takes the current entry when it fits, else reads on; 0 or the kernel's error.
int FindMatchingFile(TSearchRec& F) {
  while (F.FindData.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) {
    if (!FindNextFileA(F.FindHandle, &F.FindData)) return static_cast<int>(GetLastError());
  }
  F.Size = (static_cast<std::int64_t>(F.FindData.nFileSizeHigh) << 32) | F.FindData.nFileSizeLow;
  F.Attr = static_cast<int>(F.FindData.dwFileAttributes & ~FILE_ATTRIBUTE_NORMAL);
  F.Name = F.FindData.cFileName;
  return 0;
}

}  // namespace

int FindFirst(const std::string& Path, int Attr, TSearchRec& F) {
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faDirectory);
  F.FindHandle = FindFirstFileA(Path.c_str(), &F.FindData);
  if (F.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  const int result = FindMatchingFile(F);
  if (result != 0) FindClose(F);
  return result;
}

int FindNext(TSearchRec& F) {
  if (!FindNextFileA(F.FindHandle, &F.FindData)) return static_cast<int>(GetLastError());
  return FindMatchingFile(F);
}

void FindClose(TSearchRec& F) {
  if (F.FindHandle == INVALID_HANDLE_VALUE) return;
  ::FindClose(F.FindHandle);
  F.FindHandle = INVALID_HANDLE_VALUE;
}
