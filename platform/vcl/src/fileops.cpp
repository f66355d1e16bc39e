// File tests and deletion on Windows paths.
#include "vcl/sysutils.h"
#include "win32/kernel.h"

bool FileExists(const std::string& fileName) {
  const DWORD attributes = GetFileAttributesA(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const std::string& fileName) { return DeleteFileA(fileName.c_str()) != FALSE; }
