// File statements over the kernel calls, with the run time's error numbers.
#include "vbrun/files.h"

#include <vector>

#include "vbrun/errors.h"
#include "win32/kernel.h"

namespace vb {
namespace {

[[noreturn]] void RaiseForLastError(int otherwise) {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: Raise(vbErrFileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: Raise(vbErrPathNotFound);
    case ERROR_SHARING_VIOLATION: Raise(vbErrPermissionDenied);
    default: Raise(otherwise);
  }
}

std::string FolderOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  if (cut == std::string::npos) return "";
  return path.substr(0, cut + 1);
}

// The ordinary files (not folders, not hidden or system) that match.
std::vector<std::string> OrdinaryFiles(const std::string& pathName) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pathName.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
      names.emplace_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

}  // namespace

void FileCopy(const std::string& source, const std::string& destination) {
  if (!CopyFileA(source.c_str(), destination.c_str(), FALSE)) RaiseForLastError(vbErrPathFileAccess);
}

void Kill(const std::string& pathName) {
  const std::vector<std::string> names = OrdinaryFiles(pathName);
  if (names.empty()) Raise(vbErrFileNotFound);
  const std::string folder = FolderOf(pathName);
  for (const std::string& name : names)
    if (!DeleteFileA((folder + name).c_str())) RaiseForLastError(vbErrPathFileAccess);
}

void MkDir(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return;
  if (GetLastError() == static_cast<DWORD>(ERROR_PATH_NOT_FOUND)) Raise(vbErrPathNotFound);
  Raise(vbErrPathFileAccess);
}

void RmDir(const std::string& path) {
  if (RemoveDirectoryA(path.c_str())) return;
  const DWORD error = GetLastError();
  if (error == static_cast<DWORD>(ERROR_PATH_NOT_FOUND) || error == static_cast<DWORD>(ERROR_FILE_NOT_FOUND))
    Raise(vbErrPathNotFound);
  Raise(vbErrPathFileAccess);
}

long FileLen(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) Raise(vbErrFileNotFound);
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) RaiseForLastError(vbErrPathFileAccess);
  const DWORD size = GetFileSize(file, nullptr);
  CloseHandle(file);
  return static_cast<long>(size);
}

std::string Dir(const std::string& pathName) {
  const std::vector<std::string> names = OrdinaryFiles(pathName);
  return names.empty() ? std::string() : names.front();
}

}  // namespace vb
