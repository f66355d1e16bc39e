#pragma once
// What the kernel32 calls share: error mapping, path resolution, DOS attributes and the table of
// file and search handles.
#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "win32/kernel.h"

namespace kernel {

DWORD ErrorFromErrno(int error);
void SetLastErrorFromErrno(int error);

// The error Windows gives for a path that does not exist: the file is missing when its folder
// exists, else the path is.
DWORD MissingError(const std::filesystem::path& host);

// The host path of a Windows path; sets ERROR_PATH_NOT_FOUND and returns nothing for a null path
// or a drive that is not mapped.
std::optional<std::filesystem::path> Resolve(LPCSTR windowsPath);

bool Exists(const std::filesystem::path& host);

// Attributes of a host file (INVALID_FILE_ATTRIBUTES when it is missing, with errno set).
DWORD AttributesOf(const std::filesystem::path& host);
// Sets read-only, hidden, system and archive; the rest of `attributes` is ignored.
bool ApplyAttributes(const std::filesystem::path& host, DWORD attributes);
// The same for an open regular file.
bool ApplyAttributes(int fd, DWORD attributes);

FILETIME FileTimeOf(const struct timespec& time);

struct FileObject {
  int fd = -1;
  DWORD access = 0;
  DWORD share = 0;
  dev_t device = 0;
  ino_t inode = 0;
  ~FileObject();
};

struct FindObject {
  std::vector<WIN32_FIND_DATAA> entries;
  std::size_t next = 0;
};

// Registers `file` unless the sharing of a handle already open on the same file forbids it.
HANDLE RegisterFile(std::shared_ptr<FileObject> file);
HANDLE RegisterFind(std::shared_ptr<FindObject> find);
// Set ERROR_INVALID_HANDLE and give null for a handle of another kind or none.
std::shared_ptr<FileObject> FileOf(HANDLE handle);
std::shared_ptr<FindObject> FindOf(HANDLE handle);
bool CloseFile(HANDLE handle);
bool CloseFind(HANDLE handle);
// Whether an open handle on the file keeps it from being deleted or renamed.
bool DeleteIsBlocked(dev_t device, ino_t inode);

}  // namespace kernel
