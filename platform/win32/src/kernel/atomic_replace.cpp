#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "win32/machine.h"

namespace fs = std::filesystem;

namespace machine {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";

// A replaced file keeps its permissions and DOS attributes unless the writer sets others.
void TakeOverMetadata(const fs::path& target, int fd) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) return;
  ::fchmod(fd, st.st_mode & 07777);
  char value[64];
  const ssize_t size = ::getxattr(target.c_str(), kDosAttributeName, value, sizeof value);
  if (size > 0) ::fsetxattr(fd, kDosAttributeName, value, static_cast<size_t>(size), 0);
  KeepOwnerMark(target, fd);
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReplaceFileAtomically(const fs::path& target, const std::function<bool(int fd)>& write, ReadOnlyTarget readOnly) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  struct stat st {};
  if (readOnly == ReadOnlyTarget::Refuse && ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      !(st.st_mode & S_IWUSR)) {
    errno = EACCES;  // read-only, as a file create over it is refused
    return false;
  }
  RemoveOrphanedTemporaries(folder);
  fs::path temporary;
  const int fd = CreateOwnedTemporary(folder, temporary);
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

bool ReplaceFileAtomically(const fs::path& target, std::string_view content, ReadOnlyTarget readOnly) {
  return ReplaceFileAtomically(
      target,
      [content](int fd) {
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
      },
      readOnly);
}

}  // namespace machine
