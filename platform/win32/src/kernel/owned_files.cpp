// Files the platform keeps only while it works (the temporaries of a replace, an intermediate file)
// carry their owner: the process id and the process's start time, so a process that reuses the id
// is not taken for the owner. A file whose owner has ended was left by a kill and is removed.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "kernel_internal.h"
#include "win32/machine.h"

namespace fs = std::filesystem;

namespace machine {
namespace {

constexpr const char* kOwnerAttributeName = "user.startlogo.owner";
constexpr std::string_view kTemporaryPrefix = ".~";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kRandomDigits = 12;
constexpr int kStartTimeField = 22;  // of /proc/<pid>/stat, in clock ticks since boot

struct Owner {
  long long pid = 0;
  unsigned long long start = 0;
};

// The state letter and start time of a process; false when /proc cannot say (the process is gone
// when errno is ENOENT).
bool ReadProcess(long long pid, char& state, unsigned long long& start) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  if (!in) return false;
  std::stringstream text;
  text << in.rdbuf();
  const std::string line = text.str();
  // The program name in parentheses may hold blanks and parentheses itself.
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(line.substr(close + 1));
  std::string field;
  for (int number = 3; fields >> field; ++number) {
    if (number == 3) state = field.empty() ? '?' : field[0];
    if (number == kStartTimeField)
      return std::from_chars(field.data(), field.data() + field.size(), start).ec == std::errc{};
  }
  return false;
}

// This process, asked again after a fork.
Owner Self() {
  static thread_local Owner self;
  if (self.pid != ::getpid()) {
    self = Owner{static_cast<long long>(::getpid()), 0};
    char state = 0;
    ReadProcess(self.pid, state, self.start);
  }
  return self;
}

std::string OwnerText(const Owner& owner) { return std::to_string(owner.pid) + "." + std::to_string(owner.start); }

// "<pid>.<start>"; false for any other text.
bool ParseOwner(std::string_view text, Owner& owner) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == text.size()) return false;
  const char* end = text.data() + text.size();
  const auto pid = std::from_chars(text.data(), text.data() + dot, owner.pid);
  const auto start = std::from_chars(text.data() + dot + 1, end, owner.start);
  return pid.ec == std::errc{} && pid.ptr == text.data() + dot && start.ec == std::errc{} && start.ptr == end &&
         owner.pid > 0;
}

// Only a process that is certainly gone (or another with its id) counts as ended: when /proc
// cannot tell, the file is kept. Processes of another pid namespace sharing the folder are not
// seen, so the machine folder belongs to one namespace.
bool OwnerEnded(const Owner& owner) {
  if (Self().start == 0) return false;  // no /proc to ask
  char state = 0;
  unsigned long long start = 0;
  errno = 0;
  if (!ReadProcess(owner.pid, state, start)) return errno == ENOENT;
  return start != owner.start || state == 'Z' || state == 'X';
}

// The owner of a temporary ".~<pid>.<start>.<random>.tmp"; false for any other name.
bool TemporaryOwner(std::string_view name, Owner& owner) {
  if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return false;
  name.remove_prefix(kTemporaryPrefix.size());
  name.remove_suffix(kTemporarySuffix.size());
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.size() - dot - 1 != kRandomDigits) return false;
  for (char c : name.substr(dot + 1))
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return ParseOwner(name.substr(0, dot), owner);
}

}  // namespace

int CreateOwnedTemporary(const fs::path& folder, fs::path& created) {
  static thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<unsigned>(getpid())};
  const std::string owner = OwnerText(Self());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char digits[kRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%012llx", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    created = folder / (std::string(kTemporaryPrefix) + owner + "." + digits + std::string(kTemporarySuffix));
    // The mode 0666 lets the umask apply as it would to any new file.
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void RemoveOrphanedTemporaries(const fs::path& folder) {
  const int saved = errno;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    Owner owner;
    if (TemporaryOwner(it->path().filename().string(), owner) && OwnerEnded(owner)) ::unlink(it->path().c_str());
  }
  errno = saved;
}

bool CreateOwnedFile(const fs::path& path) {
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  fs::path temporary;
  const int fd = CreateOwnedTemporary(folder, temporary);
  if (fd < 0) {
    kernel::SetLastErrorFromErrno(errno);
    return false;
  }
  const std::string owner = OwnerText(Self());
  // Marked before it takes its name, so no one ever sees it unmarked. A file system without
  // extended attributes keeps it unmarked: a leftover then stays as a user's own file would.
  ::fsetxattr(fd, kOwnerAttributeName, owner.data(), owner.size(), 0);
  ::close(fd);
  int result = ::link(temporary.c_str(), path.c_str());
  int error = errno;
  if (result != 0 && error != EEXIST) {
    // No hard links (a FAT drive): an exclusive create, marked at once.
    const int made = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    error = errno;
    if (made >= 0) {
      ::fsetxattr(made, kOwnerAttributeName, owner.data(), owner.size(), 0);
      ::close(made);
      result = 0;
    }
  }
  ::unlink(temporary.c_str());
  if (result != 0) kernel::SetLastErrorFromErrno(error);
  errno = error;
  return result == 0;
}

bool RemoveIfOrphaned(const fs::path& path) { return OwnerOf(path) == FileOwner::Ended && ::unlink(path.c_str()) == 0; }

FileOwner OwnerOf(const fs::path& path) {
  // The mark of the file itself: a link's target is never taken for the file.
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return FileOwner::None;
  char value[64];
  const ssize_t size = ::lgetxattr(path.c_str(), kOwnerAttributeName, value, sizeof value);
  Owner owner;
  if (size <= 0 || !ParseOwner(std::string_view(value, static_cast<std::size_t>(size)), owner)) return FileOwner::None;
  const Owner self = Self();
  if (owner.pid == self.pid && owner.start == self.start) return FileOwner::Self;
  return OwnerEnded(owner) ? FileOwner::Ended : FileOwner::Running;
}

void KeepOwnerMark(const fs::path& from, int to) {
  char value[64];
  const ssize_t size = ::getxattr(from.c_str(), kOwnerAttributeName, value, sizeof value);
  if (size > 0) ::fsetxattr(to, kOwnerAttributeName, value, static_cast<std::size_t>(size), 0);
}

}  // namespace machine
