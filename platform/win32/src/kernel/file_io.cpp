#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kernel_internal.h"

namespace {

constexpr DWORD kAttributeFlags = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE;

int OpenFlags(DWORD access) {
  const bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
  return (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY) | O_CLOEXEC;
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
  if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING)
    return Fail(ERROR_INVALID_PARAMETER);
  if (dwCreationDisposition == TRUNCATE_EXISTING && !(dwDesiredAccess & GENERIC_WRITE))
    return Fail(ERROR_INVALID_PARAMETER);
  const auto host = kernel::Resolve(lpFileName);
  if (!host) return INVALID_HANDLE_VALUE;

  const DWORD existing = kernel::AttributesOf(*host);
  const bool exists = existing != INVALID_FILE_ATTRIBUTES;
  if (!exists && errno != ENOENT) return Fail(kernel::ErrorFromErrno(errno));
  if (exists && (existing & FILE_ATTRIBUTE_DIRECTORY)) return Fail(ERROR_ACCESS_DENIED);
  if (exists && dwCreationDisposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
  if (!exists && (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING))
    return Fail(kernel::MissingError(*host));

  const bool overwrite = exists && dwCreationDisposition == CREATE_ALWAYS;
  const bool truncate = overwrite || (exists && dwCreationDisposition == TRUNCATE_EXISTING);
  if (exists) {
    // Root could write anyway; the read-only attribute must hold for everyone as on Windows.
    if ((existing & FILE_ATTRIBUTE_READONLY) && (dwDesiredAccess & GENERIC_WRITE || truncate))
      return Fail(ERROR_ACCESS_DENIED);
    const DWORD kept = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (overwrite && (kept & ~dwFlagsAndAttributes)) return Fail(ERROR_ACCESS_DENIED);
  }

  // Opening a FIFO (or a device) waits for its other end unless non-blocking; only regular files
  // go back to blocking reads, so a FIFO gives what is there, or nothing, at once.
  const int fd = exists ? ::open(host->c_str(), OpenFlags(dwDesiredAccess) | O_NONBLOCK)
                        : ::open(host->c_str(), OpenFlags(dwDesiredAccess) | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return Fail(errno == ENOENT ? kernel::MissingError(*host) : kernel::ErrorFromErrno(errno));
  struct stat st {};
  ::fstat(fd, &st);
  if (exists && S_ISREG(st.st_mode)) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  auto file = std::make_shared<kernel::FileObject>();
  file->fd = fd;
  file->access = dwDesiredAccess;
  file->share = dwShareMode;
  file->device = st.st_dev;
  file->inode = st.st_ino;

  const bool created = !exists;
  HANDLE handle = kernel::RegisterFile(file);
  if (handle == INVALID_HANDLE_VALUE) {
    if (created) ::unlink(host->c_str());
    return handle;
  }
  if ((truncate && ::ftruncate(fd, 0) != 0) ||
      ((created || overwrite) &&
       !kernel::ApplyAttributes(fd, (dwFlagsAndAttributes & kAttributeFlags) | FILE_ATTRIBUTE_ARCHIVE))) {
    const int error = errno;
    kernel::CloseFile(handle);
    return Fail(kernel::ErrorFromErrno(error));
  }
  SetLastError(exists && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS)
                   ? ERROR_ALREADY_EXISTS
                   : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  if (lpOverlapped) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  const auto file = kernel::FileOf(hFile);
  if (!file) return FALSE;
  if (!(file->access & GENERIC_READ)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD done = 0;
  while (done < nNumberOfBytesToRead) {
    const ssize_t n = ::read(file->fd, static_cast<char*>(lpBuffer) + done, nNumberOfBytesToRead - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(ERROR_READ_FAULT);
      return FALSE;
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
  return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  if (lpOverlapped) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  const auto file = kernel::FileOf(hFile);
  if (!file) return FALSE;
  if (!(file->access & GENERIC_WRITE)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD done = 0;
  while (done < nNumberOfBytesToWrite) {
    const ssize_t n = ::write(file->fd, static_cast<const char*>(lpBuffer) + done, nNumberOfBytesToWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
      SetLastError(errno == ENOSPC || errno == EDQUOT ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
  const auto file = kernel::FileOf(hFile);
  if (!file) return INVALID_SET_FILE_POINTER;
  const int whence = dwMoveMethod == FILE_BEGIN     ? SEEK_SET
                     : dwMoveMethod == FILE_CURRENT ? SEEK_CUR
                     : dwMoveMethod == FILE_END     ? SEEK_END
                                                    : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  // Without a high part the distance is a signed 32-bit value.
  const off_t distance =
      lpDistanceToMoveHigh
          ? static_cast<off_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(*lpDistanceToMoveHigh)) << 32) |
                               static_cast<std::uint32_t>(lDistanceToMove))
          : static_cast<off_t>(lDistanceToMove);
  const off_t base = whence == SEEK_SET ? 0 : ::lseek(file->fd, 0, whence);
  if (base < 0 || base + distance < 0) {
    SetLastError(base < 0 ? kernel::ErrorFromErrno(errno) : ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  const off_t position = ::lseek(file->fd, base + distance, SEEK_SET);
  if (position < 0) {
    SetLastError(kernel::ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<std::uint64_t>(position) >> 32);
  SetLastError(ERROR_SUCCESS);  // tells a real position 0xFFFFFFFF from a failure
  return static_cast<DWORD>(position & 0xFFFFFFFF);
}

BOOL SetEndOfFile(HANDLE hFile) {
  const auto file = kernel::FileOf(hFile);
  if (!file) return FALSE;
  if (!(file->access & GENERIC_WRITE)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const off_t position = ::lseek(file->fd, 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(file->fd, position) != 0) {
    SetLastError(kernel::ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile) {
  const auto file = kernel::FileOf(hFile);
  if (!file) return FALSE;
  if (::fsync(file->fd) != 0) {
    SetLastError(kernel::ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  const auto file = kernel::FileOf(hFile);
  struct stat st {};
  if (!file || ::fstat(file->fd, &st) != 0) {
    if (file) SetLastError(kernel::ErrorFromErrno(errno));
    return INVALID_FILE_SIZE;
  }
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL CloseHandle(HANDLE hObject) { return kernel::CloseFile(hObject) ? TRUE : FALSE; }
