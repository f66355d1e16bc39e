#pragma once
// The emulated Windows machine: one host folder whose drive_c/ is drive C:, with drive Z: the host
// root. Every part of the Win32 layer that touches the host's file system goes through these.
#include <filesystem>
#include <string>
#include <string_view>

namespace machine {

// $STARTLOGO_ROOT, else $XDG_DATA_HOME/startlogo, else ~/.local/share/startlogo. Created on first
// use together with drive_c/windows and the Start menu's StartUp folder.
std::filesystem::path Root();

// Maps a Windows path ("c:\logo.sys", "Z:\usr\bin", "logo.sys" against the current directory) to
// the host path. Each component that does not exist with its exact name is matched without regard
// to case; components that match nothing are kept as given (so a new file can be created).
// Returns an empty path for a drive that is not mapped.
std::filesystem::path HostPath(std::string_view windowsPath);

// The Windows path of a host path: under a mapped drive folder it is that drive's path, else the
// Z: path.
std::string WindowsPath(const std::filesystem::path& hostPath);

// Forgets the cached root and current directory, so a test can point $STARTLOGO_ROOT elsewhere.
void Reset();

}  // namespace machine
