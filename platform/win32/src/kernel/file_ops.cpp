#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "kernel_internal.h"
#include "win32/machine.h"
#include "win32/startup_group.h"

namespace fs = std::filesystem;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// The error for a path that could not be looked at.
DWORD StatError(const fs::path& host) {
  return errno == ENOENT ? kernel::MissingError(host) : kernel::ErrorFromErrno(errno);
}

bool CopyContent(int from, int to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(to, buffer.data() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return false;
      done += w;
    }
  }
}

// Writes the copy of `source` as `target` through an atomic replacement.
bool CopyHostFile(const fs::path& source, const fs::path& target, DWORD attributes) {
  const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) return false;
  struct stat st {};
  ::fstat(from, &st);
  const bool ok = machine::ReplaceFileAtomically(target, [&](int to) {
    if (!CopyContent(from, to)) return false;
    ::fchmod(to, st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(to, times);
    return kernel::ApplyAttributes(to, attributes);
  });
  const int error = errno;
  ::close(from);
  errno = error;
  return ok;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
  const auto source = kernel::Resolve(lpExistingFileName);
  if (!source) return FALSE;
  const auto target = kernel::Resolve(lpNewFileName);
  if (!target) return FALSE;

  struct stat sourceStat {};
  if (::stat(source->c_str(), &sourceStat) != 0) return Fail(StatError(*source));
  if (S_ISDIR(sourceStat.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  const DWORD sourceAttributes = kernel::AttributesOf(*source);

  struct stat targetStat {};
  if (::stat(target->c_str(), &targetStat) == 0) {
    if (bFailIfExists) return Fail(ERROR_FILE_EXISTS);
    if (SameFile(sourceStat, targetStat)) return Fail(ERROR_SHARING_VIOLATION);
    const DWORD targetAttributes = kernel::AttributesOf(*target);
    // As Windows: never over a read-only file, nor over a hidden or system one with a copy that
    // would not be so itself.
    const DWORD kept = targetAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if ((targetAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) || (kept & ~sourceAttributes))
      return Fail(ERROR_ACCESS_DENIED);
  } else if (errno != ENOENT) {
    return Fail(kernel::ErrorFromErrno(errno));
  } else if (!kernel::Exists(target->parent_path())) {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  if (!CopyHostFile(*source, *target, sourceAttributes)) return Fail(kernel::ErrorFromErrno(errno));
  return TRUE;
}

BOOL DeleteFileA(LPCSTR lpFileName) {
  const auto host = kernel::Resolve(lpFileName);
  if (!host) return FALSE;
  struct stat st {};
  if (::lstat(host->c_str(), &st) != 0) return Fail(StatError(*host));
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  const DWORD attributes = kernel::AttributesOf(*host);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return Fail(ERROR_ACCESS_DENIED);
  if (kernel::DeleteIsBlocked(st.st_dev, st.st_ino)) return Fail(ERROR_SHARING_VIOLATION);
  if (::unlink(host->c_str()) != 0) return Fail(kernel::ErrorFromErrno(errno));
  shell::StartUpFileChanged(*host);
  return TRUE;
}

BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
  const auto source = kernel::Resolve(lpExistingFileName);
  if (!source) return FALSE;
  auto target = kernel::Resolve(lpNewFileName);
  if (!target) return FALSE;
  struct stat sourceStat {};
  if (::lstat(source->c_str(), &sourceStat) != 0) return Fail(StatError(*source));
  if (kernel::DeleteIsBlocked(sourceStat.st_dev, sourceStat.st_ino)) return Fail(ERROR_SHARING_VIOLATION);

  struct stat targetStat {};
  if (::lstat(target->c_str(), &targetStat) == 0) {
    if (!SameFile(sourceStat, targetStat)) return Fail(ERROR_ALREADY_EXISTS);
    // The target found without regard to case is the source: a change of case only.
    const std::string written = machine::FullWindowsPath(lpNewFileName);
    target = target->parent_path() / written.substr(written.find_last_of('\\') + 1);
    if (*target == *source) return TRUE;
  }
  if (::renameat2(AT_FDCWD, source->c_str(), AT_FDCWD, target->c_str(), RENAME_NOREPLACE) == 0) return TRUE;
  // A file system without the no-replace flag: the target was seen missing just above.
  if (errno == EINVAL && ::rename(source->c_str(), target->c_str()) == 0) return TRUE;
  if (errno == EXDEV && S_ISREG(sourceStat.st_mode)) {
    // Another drive: a file moves as a copy and a delete, as Windows does.
    if (!CopyHostFile(*source, *target, kernel::AttributesOf(*source)) || ::unlink(source->c_str()) != 0)
      return Fail(kernel::ErrorFromErrno(errno));
    return TRUE;
  }
  if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
  return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : kernel::ErrorFromErrno(errno));
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  const auto host = kernel::Resolve(lpPathName);
  if (!host) return FALSE;
  if (::mkdir(host->c_str(), 0777) != 0) {
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : kernel::ErrorFromErrno(errno));
  }
  return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR lpPathName) {
  const auto host = kernel::Resolve(lpPathName);
  if (!host) return FALSE;
  const DWORD attributes = kernel::AttributesOf(*host);
  if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(StatError(*host));
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail(ERROR_DIRECTORY);
  if (attributes & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
  if (::rmdir(host->c_str()) != 0)
    return Fail(errno == ENOTEMPTY || errno == EEXIST ? ERROR_DIR_NOT_EMPTY : kernel::ErrorFromErrno(errno));
  return TRUE;
}
