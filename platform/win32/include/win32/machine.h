#pragma once
// The emulated Windows machine: one host folder whose drive_c/ is drive C:, with drive Z: the host
// root. Every part of the Win32 layer that touches the host's file system goes through these.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace machine {

// $STARTLOGO_ROOT, else $XDG_DATA_HOME/startlogo, else ~/.local/share/startlogo. Created on first
// use together with drive_c/windows and the Start menu's StartUp folder.
std::filesystem::path Root();

// The host folder of a drive letter (any case): C: is Root()/drive_c, Z: the host root, any other
// letter Root()/drive_<letter> when that folder or link exists. Empty for a drive not mapped.
std::filesystem::path DriveFolder(char driveLetter);

// The absolute, normalised Windows path ("C:\WINDOWS\logo.sys"): separators become "\", "." and
// ".." are applied, a relative path is taken against the current directory. The drive letter is
// upper-cased; the other components are kept as written. Empty for a path that names no drive.
std::string FullWindowsPath(std::string_view windowsPath);

// Maps a Windows path ("c:\logo.sys", "Z:\usr\bin", "logo.sys" against the current directory) to
// the host path. Each component that does not exist with its exact name is matched without regard
// to case; components that match nothing are kept as given (so a new file can be created).
// Returns an empty path for a drive that is not mapped.
std::filesystem::path HostPath(std::string_view windowsPath);

// The Windows path of a host path: under a mapped drive folder it is that drive's path, else the
// Z: path.
std::string WindowsPath(const std::filesystem::path& hostPath);

// The current directory as a Windows path; initially the Windows path of the process's host cwd.
std::string CurrentDirectory();
// Makes an existing folder the current directory; false (errno set) when it is not one.
bool ChangeCurrentDirectory(std::string_view windowsPath);

// Whether a file name matches a mask ("*.sys", "logo.?ys") without regard to case. As on Windows
// "*.*" matches every name, "name.*" also "name" and "*." the names without an extension.
bool MatchesMask(std::string_view name, std::string_view mask);

// Forgets the cached root and current directory, so a test can point $STARTLOGO_ROOT elsewhere.
void Reset();

// Replaces (or creates) the host file `target` so that a crash or a full disk never leaves half a
// file: `write` fills a temporary file in the target's folder (given as an open descriptor, returns
// false on failure with errno set), which is flushed to disk and renamed over the target. The
// temporary's name (".~<pid>.<start>.<random>.tmp") names its owner and never matches the target's
// name or its extension; the temporaries in the folder whose owner has ended (a kill) are removed
// first. A read-only target (no owner write permission) is refused with EACCES, as a file create
// over it is, unless `readOnly` says to replace it too (the temporary takes its permissions and
// attributes before it takes its place). On failure the target is untouched, the temporary
// removed, errno tells why and false is returned.
enum class ReadOnlyTarget { Refuse, Replace };
bool ReplaceFileAtomically(const std::filesystem::path& target, const std::function<bool(int fd)>& write,
                           ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);
// The same for a file whose whole content is at hand.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view content,
                           ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);

// Files kept only while a process works carry their owner, its process id and start time, so that
// a file left by a kill is known once its owner has ended (a later process with the same id is not
// taken for it).
//
// Creates `path` exclusively, marked as this process's own. On failure errno and the thread's last
// error tell why (EEXIST and ERROR_FILE_EXISTS when the name is taken).
bool CreateOwnedFile(const std::filesystem::path& path);
// Removes `path` when it is marked as a process's own and that process has ended; a file without
// the mark (a user's own) is never removed.
bool RemoveIfOrphaned(const std::filesystem::path& path);
// A new temporary ".~<pid>.<start>.<random>.tmp" in `folder`, open for writing (-1, errno set, on
// failure).
int CreateOwnedTemporary(const std::filesystem::path& folder, std::filesystem::path& created);
// Removes the temporaries of `folder` whose owner has ended; other files are never touched.
void RemoveOrphanedTemporaries(const std::filesystem::path& folder);
// Gives the open file `to` the owner mark `from` carries, if any.
void KeepOwnerMark(const std::filesystem::path& from, int to);

// Whose file `path` itself is: unmarked (a user's own, and so are a link, a folder and a missing
// file), this process's, a running process's, or one whose owner has ended.
enum class FileOwner { None, Self, Running, Ended };
FileOwner OwnerOf(const std::filesystem::path& path);

// An exclusive advisory lock on a folder, for work on several of its files that no other process
// taking the same lock may see half done. Held from construction to destruction (a taker waits);
// the end of the process lets it go. Not held when the folder cannot be opened.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace machine
