#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "kernel_internal.h"
#include "win32/machine.h"

namespace {

constexpr const char* kWindowsFolder = "C:\\WINDOWS";
constexpr const char* kSystemFolder = "C:\\WINDOWS\\SYSTEM";
constexpr const char* kTempFolder = "C:\\WINDOWS\\TEMP\\";

// The rule of the folder calls: the length copied without the NUL, or the size needed with it.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
  if (!buffer || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

}  // namespace

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  return CopyOut(machine::CurrentDirectory(), lpBuffer, nBufferLength);
}

BOOL SetCurrentDirectoryA(LPCSTR lpPathName) {
  if (!lpPathName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (machine::ChangeCurrentDirectory(lpPathName)) return TRUE;
  const int error = errno;
  const std::filesystem::path host = machine::HostPath(lpPathName);
  SetLastError(error == ENOTDIR ? ERROR_DIRECTORY : host.empty() ? ERROR_PATH_NOT_FOUND : kernel::MissingError(host));
  return FALSE;
}

UINT GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) { return CopyOut(kWindowsFolder, lpBuffer, uSize); }

UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) { return CopyOut(kSystemFolder, lpBuffer, uSize); }

DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer) {
  const std::filesystem::path host = machine::HostPath(kTempFolder);
  std::error_code ec;
  std::filesystem::create_directories(host, ec);
  return CopyOut(kTempFolder, lpBuffer, nBufferLength);
}

// There are no libraries to load here, so every module is the running program.
DWORD GetModuleFileNameA(HMODULE, LPSTR lpFilename, DWORD nSize) {
  std::error_code ec;
  const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) {
    SetLastError(ERROR_GEN_FAILURE);
    return 0;
  }
  const std::string path = machine::WindowsPath(binary);
  if (nSize == 0 || !lpFilename) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= nSize) {
    std::memcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.c_str(), path.size() + 1);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.size());
}
