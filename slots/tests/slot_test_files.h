#pragma once
// Files for the slot manager's tests, made in code in a machine folder of the test's own: bitmap
// files of the logo layout and of its near relatives, and the machine's folders.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace slot_test {

struct BitmapShape {
  int width = 320, height = 400;  // a negative height: rows top-down
  int bits = 8;
  int headerSize = 40;  // 12 for the core header
  bool rle = false;  // RLE8: every pixel an encoded run of one
};

inline void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A bitmap file whose pixel (x, y) is index (x + 3 y + seed) mod 256 of a palette of greys mixed
// with the seed (8 bits), or that colour itself (24 bits).
inline std::vector<std::uint8_t> BitmapBytes(const BitmapShape& s, int seed = 0) {
  const int height = s.height < 0 ? -s.height : s.height;
  const int stride = (s.width * s.bits + 31) / 32 * 4;
  const auto colour = [&](int i, int c) { return static_cast<std::uint8_t>((i * (c + 1) + seed * 37) & 0xFF); };
  std::vector<std::uint8_t> pixels;
  for (int row = 0; row < height; ++row) {
    const int y = s.height < 0 ? row : height - 1 - row;
    std::vector<std::uint8_t> line;
    for (int x = 0; x < s.width; ++x) {
      const int index = (x + 3 * y + seed) & 0xFF;
      if (s.bits == 8) line.push_back(static_cast<std::uint8_t>(index));
      else
        line.insert(line.end(), {colour(index, 0), colour(index, 1), colour(index, 2)});
    }
    if (s.rle) {
      for (std::uint8_t v : line) pixels.insert(pixels.end(), {1, v});
      pixels.insert(pixels.end(), {0, 0});
    } else {
      line.resize(static_cast<std::size_t>(stride), 0);
      pixels.insert(pixels.end(), line.begin(), line.end());
    }
  }
  if (s.rle) pixels.insert(pixels.end(), {0, 1});
  std::vector<std::uint8_t> table;
  if (s.bits == 8)
    for (int i = 0; i < 256; ++i) {
      table.insert(table.end(), {colour(i, 0), colour(i, 1), colour(i, 2)});
      if (s.headerSize != 12) table.push_back(0);
    }
  std::vector<std::uint8_t> out{'B', 'M'};
  const std::uint32_t offset = 14 + static_cast<std::uint32_t>(s.headerSize + table.size());
  Put(out, offset + static_cast<std::uint32_t>(pixels.size()), 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  Put(out, static_cast<std::uint32_t>(s.headerSize), 4);
  if (s.headerSize == 12) {
    Put(out, static_cast<std::uint32_t>(s.width), 2);
    Put(out, static_cast<std::uint32_t>(s.height), 2);
    Put(out, 1, 2);
    Put(out, static_cast<std::uint32_t>(s.bits), 2);
  } else {
    Put(out, static_cast<std::uint32_t>(s.width), 4);
    Put(out, static_cast<std::uint32_t>(s.height), 4);
    Put(out, 1, 2);
    Put(out, static_cast<std::uint32_t>(s.bits), 2);
    Put(out, s.rle ? 1 : 0, 4);
    Put(out, static_cast<std::uint32_t>(pixels.size()), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, s.bits == 8 ? 256 : 0, 4);
    Put(out, 0, 4);
  }
  out.insert(out.end(), table.begin(), table.end());
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

inline void WriteFile(const std::string& windowsPath, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path host = machine::HostPath(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A switch's temporary file as a killed switch leaves it: marked as made by a process that has
// ended. `windowsPath` must not exist yet.
inline void WriteLeftByKilledSwitch(const std::string& windowsPath, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path host = machine::HostPath(windowsPath);
  const pid_t child = ::fork();
  if (child == 0) ::_exit(machine::CreateOwnedFile(host) ? 0 : 1);
  int status = -1;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "no marked file " << host;
  WriteFile(windowsPath, bytes);  // in place: the mark stays
}

inline std::vector<std::uint8_t> ReadFile(const std::string& windowsPath) {
  std::ifstream in(machine::HostPath(windowsPath), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Exists(const std::string& windowsPath) {
  return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string WindowsFolder() {
  char buffer[MAX_PATH];
  GetWindowsDirectoryA(buffer, MAX_PATH);
  return buffer;
}

// The program's folder, where its backups and originals go.
inline const char kStartDir[] = "C:\\Program Files\\Corvane";

}  // namespace slot_test
