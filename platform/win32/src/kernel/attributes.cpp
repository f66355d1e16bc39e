#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kernel_internal.h"
#include "win32/machine.h"

namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";
constexpr DWORD kDosBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
// A folder's read-only bit is a mark only (Windows uses it for customised folders); its
// permission stays writable, so it is kept with the others.
constexpr DWORD kFolderDosBits = kDosBits | FILE_ATTRIBUTE_READONLY;

// The attribute text as written ("0x22"); anything else (another program's binary form) reads as
// no attributes.
DWORD ParseDosAttributes(const char* text, ssize_t size) {
  if (size < 3 || size > 16) return 0;
  std::string value(text, static_cast<std::size_t>(size));
  while (!value.empty() && value.back() == '\0') value.pop_back();
  if (!value.starts_with("0x") && !value.starts_with("0X")) return 0;
  char* end = nullptr;
  const unsigned long bits = std::strtoul(value.c_str() + 2, &end, 16);
  return (end && *end == '\0' && end != value.c_str() + 2) ? static_cast<DWORD>(bits) : 0;
}

std::string FormatDosAttributes(DWORD bits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(bits));
  return text;
}

// A file system without user extended attributes keeps the file without them.
bool IgnorableXattrError(int error) { return error == ENOTSUP || error == ENODATA || error == EPERM; }

mode_t WithReadOnly(mode_t mode, bool readOnly) {
  mode &= 07777;
  return readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
}

// A link whose target lies outside the machine folder: the attributes of a file of the host's
// are not the machine's to change.
bool LeadsOutOfTheMachine(const std::filesystem::path& host) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(host, ec)) return false;
  const std::filesystem::path target = std::filesystem::weakly_canonical(host, ec);
  const std::filesystem::path root = std::filesystem::weakly_canonical(machine::Root(), ec);
  return std::mismatch(root.begin(), root.end(), target.begin(), target.end()).first != root.end();
}

}  // namespace

namespace kernel {

DWORD AttributesOf(const std::filesystem::path& host) {
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return INVALID_FILE_ATTRIBUTES;
  char text[64];
  const ssize_t size = ::getxattr(host.c_str(), kDosAttributeName, text, sizeof text);
  const DWORD stored = size > 0 ? ParseDosAttributes(text, size) : 0;
  DWORD attributes;
  if (S_ISDIR(st.st_mode)) {
    attributes = FILE_ATTRIBUTE_DIRECTORY | (stored & kFolderDosBits);
  } else {
    attributes = stored & kDosBits;
    if (!(st.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  }
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool ApplyAttributes(const std::filesystem::path& host, DWORD attributes) {
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return false;
  const bool folder = S_ISDIR(st.st_mode);
  const DWORD bits = attributes & (folder ? kFolderDosBits : kDosBits);
  if (!folder && ::chmod(host.c_str(), WithReadOnly(st.st_mode, attributes & FILE_ATTRIBUTE_READONLY)) != 0)
    return false;
  const std::string text = FormatDosAttributes(bits);
  const int result = bits ? ::setxattr(host.c_str(), kDosAttributeName, text.c_str(), text.size(), 0)
                          : ::removexattr(host.c_str(), kDosAttributeName);
  return result == 0 || IgnorableXattrError(errno);
}

bool ApplyAttributes(int fd, DWORD attributes) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  if (::fchmod(fd, WithReadOnly(st.st_mode, attributes & FILE_ATTRIBUTE_READONLY)) != 0) return false;
  const DWORD bits = attributes & kDosBits;
  const std::string text = FormatDosAttributes(bits);
  const int result = bits ? ::fsetxattr(fd, kDosAttributeName, text.c_str(), text.size(), 0)
                          : ::fremovexattr(fd, kDosAttributeName);
  return result == 0 || IgnorableXattrError(errno);
}

FILETIME FileTimeOf(const struct timespec& time) {
  // 100-nanosecond intervals since 1601-01-01.
  constexpr long long kEpochDifference = 11644473600LL;
  const unsigned long long ticks = static_cast<unsigned long long>(time.tv_sec + kEpochDifference) * 10000000ULL +
                                   static_cast<unsigned long long>(time.tv_nsec / 100);
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace kernel

DWORD GetFileAttributesA(LPCSTR lpFileName) {
  const auto host = kernel::Resolve(lpFileName);
  if (!host) return INVALID_FILE_ATTRIBUTES;
  const DWORD attributes = kernel::AttributesOf(*host);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    SetLastError(errno == ENOENT ? kernel::MissingError(*host) : kernel::ErrorFromErrno(errno));
  return attributes;
}

BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
  const auto host = kernel::Resolve(lpFileName);
  if (!host) return FALSE;
  if (LeadsOutOfTheMachine(*host)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!kernel::ApplyAttributes(*host, dwFileAttributes)) {
    SetLastError(errno == ENOENT ? kernel::MissingError(*host) : kernel::ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}
