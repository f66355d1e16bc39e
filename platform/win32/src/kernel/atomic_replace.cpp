#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "win32/machine.h"

namespace fs = std::filesystem;

namespace machine {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";

// Opens a new, unique temporary file in `folder`. The mode 0666 lets the umask apply as it would
// to any new file.
int CreateTemporary(const fs::path& folder, fs::path& created) {
  static thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<unsigned>(getpid())};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".~%012llx.tmp", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    created = folder / name;
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A replaced file keeps its permissions and DOS attributes unless the writer sets others.
void TakeOverMetadata(const fs::path& target, int fd) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) return;
  ::fchmod(fd, st.st_mode & 07777);
  char value[64];
  const ssize_t size = ::getxattr(target.c_str(), kDosAttributeName, value, sizeof value);
  if (size > 0) ::fsetxattr(fd, kDosAttributeName, value, static_cast<size_t>(size), 0);
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReplaceFileAtomically(const fs::path& target, const std::function<bool(int fd)>& write) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  fs::path temporary;
  const int fd = CreateTemporary(folder, temporary);
  if (fd < 0) return false;
  TakeOverMetadata(target, fd);
  bool ok = write(fd) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    errno = error;
    return false;
  }
  SyncFolder(folder);
  return true;
}

bool ReplaceFileAtomically(const fs::path& target, std::string_view content) {
  return ReplaceFileAtomically(target, [content](int fd) {
    std::size_t done = 0;
    while (done < content.size()) {
      const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  });
}

}  // namespace machine
