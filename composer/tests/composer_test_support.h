#pragma once
// Files of a test's own machine folder, written from lines joined by CR LF.
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

inline void WriteLines(const std::filesystem::path& File, std::initializer_list<std::string> Lines) {
  std::ofstream out(File, std::ios::binary);
  for (const std::string& line : Lines) out << line << "\r\n";
}

inline std::string ReadBytes(const std::filesystem::path& File) {
  std::ifstream in(File, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
