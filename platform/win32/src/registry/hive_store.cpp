#include "hive_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "host/display.h"
#include "win32/machine.h"
#include "win32/registry.h"
#include "win32/user.h"

namespace fs = std::filesystem;

namespace registry {
namespace {

// What a hive file looked like when it was last read or written by this process.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t mtimeSeconds = 0;
  long mtimeNanoseconds = 0;
  std::uint64_t writes = 0;  // the lock file's count
  bool operator==(const FileIdentity&) const = default;
};

struct CachedHive {
  FileIdentity identity;
  Key tree;
};

std::mutex gMutex;  // the flock does not exclude threads of one process
std::map<fs::path, CachedHive> gCache;  // trees read from existing files, by file
std::set<fs::path> gReportedUnmovable;  // bad hives that could not be put aside
std::string gAsideNotice;  // for the user at a desktop, told once the hive's lock is let go

FileIdentity IdentityOf(const struct stat& st, std::uint64_t writes) {
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, writes};
}

// The lock is held from construction to destruction. A new descriptor per use: a descriptor
// inherited over fork would share its lock with the parent.
class HiveLock {
 public:
  explicit HiveLock(const fs::path& lockFile) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~HiveLock() {
    if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
  }
  HiveLock(const HiveLock&) = delete;
  HiveLock& operator=(const HiveLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  std::uint64_t Writes() const {
    std::uint64_t count = 0;
    return ::pread(fd_, &count, sizeof count, 0) == sizeof count ? count : 0;
  }
  void CountWrite() const {
    const std::uint64_t count = Writes() + 1;
    if (::pwrite(fd_, &count, sizeof count, 0) != sizeof count) {
      // A lost count only costs other processes the re-read of a hive whose inode changed anyway.
    }
  }

 private:
  int fd_ = -1;
};

Key FreshTree(Root root) {
  Key tree{std::string(RootName(root)), {}, {}};
  if (root == Root::CurrentUser) {
    // Where Windows keeps the user's StartUp folder, which the machine folder provides.
    constexpr std::string_view startup = "C:\\WINDOWS\\Start Menu\\Programs\\StartUp";
    std::vector<BYTE> data(startup.begin(), startup.end());
    data.push_back(0);
    tree.AddSubKey("Software")
        .AddSubKey("Microsoft")
        .AddSubKey("Windows")
        .AddSubKey("CurrentVersion")
        .AddSubKey("Explorer")
        .AddSubKey("Shell Folders")
        .SetValue("Startup", REG_SZ, std::move(data));
  }
  return tree;
}

bool ReadWhole(int fd, std::string& out) {
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

// hive.reg.bad-20240131-235959, with -2, -3 ... when that name is taken.
fs::path AsideName(const fs::path& file) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  fs::path aside = file.string() + ".bad-" + stamp;
  std::error_code ec;
  for (int n = 2; fs::exists(aside, ec); ++n) aside = file.string() + ".bad-" + stamp + "-" + std::to_string(n);
  return aside;
}

// A hive that does not parse is moved out of the way, never written over, and the user is told.
LONG KeepAside(const fs::path& file, const ParseError& error) {
  const fs::path aside = AsideName(file);
  if (::rename(file.c_str(), aside.c_str()) != 0) {
    if (gReportedUnmovable.insert(file).second)
      std::fprintf(stderr, "registry: %s is malformed (line %zu: %s) and could not be put aside; it stays unused\n",
                   file.c_str(), error.line, error.message.c_str());
    return ERROR_REGISTRY_CORRUPT;
  }
  std::fprintf(stderr, "registry: %s is malformed (line %zu: %s); kept aside as %s; the hive starts anew\n",
               file.c_str(), error.line, error.message.c_str(), aside.filename().c_str());
  gAsideNotice = "The settings file " + file.string() + " was damaged (line " + std::to_string(error.line) + ": " +
                 error.message + "). It was kept as " + aside.string() + ", and the settings start anew.";
  return ERROR_SUCCESS;
}

// The tree of the hive as it is on disk now, from the cache when the file has not changed.
LONG Load(Root root, const fs::path& file, const HiveLock& lock, Key*& tree) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) return ERROR_REGISTRY_IO_FAILED;
    gCache.erase(file);
    return ERROR_SUCCESS;  // no file: the caller starts afresh
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return ERROR_REGISTRY_IO_FAILED;
  }
  const FileIdentity identity = IdentityOf(st, lock.Writes());
  auto cached = gCache.find(file);
  if (cached != gCache.end() && cached->second.identity == identity) {
    ::close(fd);
    tree = &cached->second.tree;
    return ERROR_SUCCESS;
  }
  gCache.erase(file);
  std::string text;
  const bool read = ReadWhole(fd, text);
  ::close(fd);
  if (!read) return ERROR_REGISTRY_IO_FAILED;
  ParseResult parsed = ParseHive(text, RootName(root));
  if (parsed.error) return KeepAside(file, *parsed.error);
  tree = &gCache.emplace(file, CachedHive{identity, std::move(parsed.root)}).first->second.tree;
  return ERROR_SUCCESS;
}

// Writes the tree and remembers it as what the file now holds; on failure forgets the hive, so the
// next call reads the file as it still is.
LONG Save(const fs::path& file, const HiveLock& lock, Key& tree) {
  const bool written = machine::ReplaceFileAtomically(file, FormatHive(tree));
  struct stat st {};
  if (written) lock.CountWrite();
  if (!written || ::stat(file.c_str(), &st) != 0) {
    gCache.erase(file);
    return written ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
  }
  CachedHive& cached = gCache[file];
  cached.identity = IdentityOf(st, lock.Writes());
  if (&cached.tree != &tree) cached.tree = std::move(tree);
  return ERROR_SUCCESS;
}

// The work on the hive under its locks; `notice` gets what the user is to be told of a hive put
// aside meanwhile.
LONG WithHiveLocked(Root root, const std::function<LONG(Key& tree, bool& changed)>& work, std::string& notice) {
  std::lock_guard guard(gMutex);
  struct TakeNotice {
    std::string& to;
    ~TakeNotice() { to = std::exchange(gAsideNotice, {}); }
  } take{notice};
  const fs::path folder = machine::Root() / "registry";
  std::error_code ec;
  fs::create_directories(folder, ec);
  const fs::path file = folder / (std::string(RootName(root)) + ".reg");
  HiveLock lock(file.string() + ".lock");
  if (!lock.Held()) return ERROR_REGISTRY_IO_FAILED;

  Key* tree = nullptr;
  if (const LONG status = Load(root, file, lock, tree); status != ERROR_SUCCESS) return status;
  Key fresh;
  if (!tree) {
    fresh = FreshTree(root);
    tree = &fresh;
  }
  bool changed = false;
  const LONG result = work(*tree, changed);
  if (result != ERROR_SUCCESS || !changed) return result;
  return Save(file, lock, *tree);
}

// A message box waits for its user: it comes only after the hive and its locks are let go, and
// only where someone can see it (standard error has the report already).
void TellAside(const std::string& notice) {
  if (!notice.empty() && !host::Unattended()) MessageBoxA(nullptr, notice.c_str(), "Registry", MB_OK | MB_ICONWARNING);
}

}  // namespace

std::string_view RootName(Root root) {
  switch (root) {
    case Root::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case Root::CurrentUser: return "HKEY_CURRENT_USER";
    case Root::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Root::Users: return "HKEY_USERS";
  }
  return {};
}

LONG WithHive(Root root, const std::function<LONG(Key& tree, bool& changed)>& work) {
  std::string notice;
  const LONG result = WithHiveLocked(root, work, notice);
  TellAside(notice);
  return result;
}

}  // namespace registry
