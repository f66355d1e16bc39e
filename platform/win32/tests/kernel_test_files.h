#pragma once
// Host-side file helpers for the kernel tests: fixtures are written and checked behind the
// kernel's back.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline void WriteHostFile(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}
