#pragma once
// A fresh, empty machine folder for one test: points $STARTLOGO_ROOT at a new temporary folder,
// forgets the cached root, and on destruction puts the previous root back and removes the folder.
// $XDG_CONFIG_HOME points at a temporary folder of its own too, so the desktop's log-in entries
// that StartUp shortcuts bring never reach the user's.
//
//   TEST_F(MachineRootTest, ...) { root.DriveC() / "logo.sys" ... }      // as a fixture
//   ScopedMachineRoot root;                                              // or on its own
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "win32/machine.h"

class ScopedMachineRoot {
 public:
  ScopedMachineRoot() {
    if (const char* old = ::getenv("STARTLOGO_ROOT")) previous_ = old;
    if (const char* old = ::getenv("XDG_CONFIG_HOME")) previousConfig_ = old;
    path_ = NewTemporaryFolder("startlogo-test-XXXXXX");
    config_ = NewTemporaryFolder("startlogo-config-XXXXXX");
    ::setenv("STARTLOGO_ROOT", path_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    machine::Reset();
    machine::Root();  // creates drive_c and the Windows folders
  }
  ~ScopedMachineRoot() {
    Restore("STARTLOGO_ROOT", previous_);
    Restore("XDG_CONFIG_HOME", previousConfig_);
    machine::Reset();
    std::error_code ec;
    std::filesystem::remove_all(config_, ec);
    // Read-only folders would stop the removal; give write permission back first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_directory(ec) && !it->is_symlink(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScopedMachineRoot(const ScopedMachineRoot&) = delete;
  ScopedMachineRoot& operator=(const ScopedMachineRoot&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path DriveC() const { return path_ / "drive_c"; }
  // $XDG_CONFIG_HOME/autostart: where the desktop finds the log-in entries.
  std::filesystem::path Autostart() const { return config_ / "autostart"; }

 private:
  static std::filesystem::path NewTemporaryFolder(const char* name) {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) base = "/tmp";
    std::string pattern = (base / name).string();
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    return pattern;
  }
  static void Restore(const char* variable, const std::optional<std::string>& value) {
    if (value) ::setenv(variable, value->c_str(), 1);
    else
      ::unsetenv(variable);
  }

  std::filesystem::path path_, config_;
  std::optional<std::string> previous_, previousConfig_;
};

// A folder of the host's beside the machine folder, outside it, removed on destruction.
class ScopedHostFolder {
 public:
  explicit ScopedHostFolder(const ScopedMachineRoot& machine) : path_(machine.Path().string() + "-host") {
    std::filesystem::create_directory(path_);
  }
  ~ScopedHostFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScopedHostFolder(const ScopedHostFolder&) = delete;
  ScopedHostFolder& operator=(const ScopedHostFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class MachineRootTest : public ::testing::Test {
 protected:
  ScopedMachineRoot root;
};
