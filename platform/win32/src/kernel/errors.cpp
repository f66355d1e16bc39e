#include <cerrno>

#include "kernel_internal.h"
#include "win32/machine.h"

namespace {
thread_local DWORD gLastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return gLastError; }
void SetLastError(DWORD dwErrCode) { gLastError = dwErrCode; }

namespace kernel {

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBUSY: return ERROR_BUSY;
    default: return ERROR_GEN_FAILURE;
  }
}

void SetLastErrorFromErrno(int error) { SetLastError(ErrorFromErrno(error)); }

bool Exists(const std::filesystem::path& host) {
  std::error_code ec;
  return std::filesystem::exists(host, ec);
}

DWORD MissingError(const std::filesystem::path& host) {
  std::error_code ec;
  return std::filesystem::is_directory(host.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

std::optional<std::filesystem::path> Resolve(LPCSTR windowsPath) {
  std::filesystem::path host = windowsPath ? machine::HostPath(windowsPath) : std::filesystem::path();
  if (host.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  return host;
}

}  // namespace kernel
