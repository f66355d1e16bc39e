#pragma once
// PCX files built byte by byte for the tests and the fuzz seeds.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct PcxFile {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(128, 0);

  PcxFile(int bits, int planes, int width, int height, int bytesPerLine, int encoding = 1) {
    bytes[0] = 10;
    bytes[1] = 5;
    bytes[2] = static_cast<std::uint8_t>(encoding);
    bytes[3] = static_cast<std::uint8_t>(bits);
    Put16(8, width - 1);
    Put16(10, height - 1);
    Put16(12, 300);
    Put16(14, 150);
    bytes[65] = static_cast<std::uint8_t>(planes);
    Put16(66, bytesPerLine);
    for (int i = 0; i < 16; ++i) {  // header palette: entry i is (16 i, 0, 255 - 16 i)
      bytes[static_cast<std::size_t>(16 + 3 * i)] = static_cast<std::uint8_t>(16 * i);
      bytes[static_cast<std::size_t>(18 + 3 * i)] = static_cast<std::uint8_t>(255 - 16 * i);
    }
  }
  void Put16(std::size_t at, int v) {
    bytes[at] = static_cast<std::uint8_t>(v);
    bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  PcxFile& Data(std::initializer_list<int> data) {
    for (int b : data) bytes.push_back(static_cast<std::uint8_t>(b));
    return *this;
  }
  // The 256-entry palette behind its marker: entry i is (i, 255 - i, 7).
  PcxFile& EndPalette() {
    bytes.push_back(12);
    for (int i = 0; i < 256; ++i) Data({i, 255 - i, 7});
    return *this;
  }
};
