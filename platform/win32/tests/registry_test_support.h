#pragma once
// Small helpers of the registry tests: each test runs in its own machine folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "win32/registry.h"
#include "win32/testing/machine_root.h"

inline std::filesystem::path HiveFile(const ScopedMachineRoot& root, const std::string& rootName) {
  return root.Path() / "registry" / (rootName + ".reg");
}

inline std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Writes a file the way an editor would save it: a new file renamed into place.
inline void WriteFileText(const std::filesystem::path& file, const std::string& text) {
  const std::filesystem::path temporary = file.string() + ".editing";
  std::ofstream(temporary, std::ios::binary) << text;
  std::filesystem::rename(temporary, file);
}

// The value's data as text without the NUL it was stored with; the status of the query in *status.
inline std::string QueryString(HKEY key, const char* name, LONG* status = nullptr) {
  DWORD type = 0, size = 0;
  LONG result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
  std::string text(size, '\0');
  if (result == ERROR_SUCCESS)
    result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
  if (status) *status = result;
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return result == ERROR_SUCCESS ? text : std::string();
}

inline LONG SetString(HKEY key, const char* name, const std::string& text) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

inline HKEY CreateKey(HKEY parent, const char* path) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS)
      << path;
  return key;
}
