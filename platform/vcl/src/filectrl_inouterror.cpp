// The class library's I/O errors, for the file controls' changes of folder.
#include "vcl/filectrl.h"
#include "vcl/sysutils.h"
#include "win32/kernel.h"

EInOutError InOutError(DWORD Code) {
  const int code = static_cast<int>(Code);
  switch (code) {
    case 2: return EInOutError("File not found", code);
    case 3: return EInOutError("Invalid filename", code);
    case 4: return EInOutError("Too many open files", code);
    case 5: return EInOutError("File access denied", code);
    default: return EInOutError(Format("I/O error %d", {code}), code);
  }
}

void ChangeFolder(const std::string& Folder) {
  if (!SetCurrentDirectoryA(Folder.c_str())) throw InOutError(GetLastError());
}
