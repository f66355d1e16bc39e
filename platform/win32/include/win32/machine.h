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
// temporary's name (".~<random>.tmp") never matches the target's name or its extension. On failure
// the target is untouched, the temporary removed, errno tells why and false is returned.
bool ReplaceFileAtomically(const std::filesystem::path& target, const std::function<bool(int fd)>& write);
// The same for a file whose whole content is at hand.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view content);

}  // namespace machine
