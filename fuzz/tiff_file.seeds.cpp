// TIFF files in both byte orders: RGB (interleaved and planar, LZW with the predictor), palette,
// grey of 4, 8 and 16 bits, bilevel pictures coded as modified Huffman, group 3 and group 4, and
// PackBits; text tags and a second directory.
#include <string>

#include "tiff_file_writer.h"
#include "tiff_lzw_encoder.h"
#include "seeds.h"

namespace fuzz_seeds {

namespace {

constexpr int kWidth = 16, kHeight = 4;

TiffDirectory Basic(int bits, int samples, int photometric, int compression) {
  TiffDirectory d;
  d.Set(256, 3, {kWidth}).Set(257, 3, {kHeight}).Set(259, 3, {static_cast<std::uint32_t>(compression)});
  d.Set(258, 3, std::vector<std::uint32_t>(static_cast<std::size_t>(samples), static_cast<std::uint32_t>(bits)));
  d.Set(262, 3, {static_cast<std::uint32_t>(photometric)}).Set(277, 3, {static_cast<std::uint32_t>(samples)});
  return d;
}

std::vector<std::uint8_t> Ramp(std::size_t count) {
  std::vector<std::uint8_t> v(count);
  for (std::size_t i = 0; i < count; ++i) v[i] = static_cast<std::uint8_t>(i * 37 / 3);
  return v;
}

// Fax bit strings ("0011 ..."), padded with zeros.
std::vector<std::uint8_t> Bits(const std::string& text) {
  std::vector<std::uint8_t> out;
  int n = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (n % 8 == 0) out.push_back(0);
    if (c == '1') out.back() |= static_cast<std::uint8_t>(0x80 >> (n % 8));
    ++n;
  }
  return out;
}

}  // namespace

std::vector<Seed> Seeds() {
  std::vector<std::pair<std::string, TiffDirectory>> dirs;
  TiffDirectory rgb = Basic(8, 3, 2, 1);
  rgb.strips = {Ramp(kWidth * 3 * 2), Ramp(kWidth * 3 * 2)};
  rgb.Set(278, 3, {2}).Text(269, "document").Text(270, "description").Text(285, "page").Set(297, 3, {1, 2});
  rgb.Set(282, 5, {300, 1}).Set(283, 5, {150, 1}).Set(296, 3, {2});
  dirs.push_back({"rgb", rgb});
  TiffDirectory planar = Basic(8, 3, 2, 1);
  planar.Set(284, 3, {2}).strips = {Ramp(kWidth * kHeight), Ramp(kWidth * kHeight), Ramp(kWidth * kHeight)};
  dirs.push_back({"planar", planar});
  TiffDirectory lzw = Basic(8, 3, 2, 5);
  lzw.Set(317, 3, {2}).strips = {TiffLzwEncode(Ramp(kWidth * 3 * kHeight))};
  dirs.push_back({"lzw_predictor", lzw});
  TiffDirectory palette = Basic(4, 1, 3, 32773);
  std::vector<std::uint32_t> map(3 * 16);
  for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint32_t>(i * 1361);
  palette.Set(320, 3, map).strips = {{0xFD, 0x12, 0x04, 1, 2, 3, 4, 5, 0x80, 0xF9, 0x77}};
  dirs.push_back({"palette_packbits", palette});
  TiffDirectory grey4 = Basic(4, 1, 0, 1);
  grey4.strips = {Ramp(kWidth / 2 * kHeight)};
  dirs.push_back({"grey4", grey4});
  TiffDirectory grey16 = Basic(16, 1, 1, 1);
  grey16.strips = {Ramp(kWidth * 2 * kHeight)};
  dirs.push_back({"grey16", grey16});
  // Each row: white 3, black 2, white 11.
  const std::string mh = "1000 11 01000";
  TiffDirectory huffman = Basic(1, 1, 0, 2);
  huffman.strips = {Bits(mh + "000" + mh + "000" + mh + "000" + mh)};
  dirs.push_back({"fax_huffman", huffman});
  const std::string eol = "000000000001";
  TiffDirectory g3 = Basic(1, 1, 0, 3);
  g3.Set(266, 3, {1}).strips = {Bits(eol + mh + eol + mh + eol + mh + eol + mh)};
  dirs.push_back({"fax_g3", g3});
  TiffDirectory g3twoD = Basic(1, 1, 0, 3);
  g3twoD.Set(292, 4, {1}).strips = {
      Bits(eol + "1" + mh + eol + "0" + "111" + eol + "0" + "001 1000 11 1" + eol + "1" + mh)};
  dirs.push_back({"fax_g3_2d", g3twoD});
  TiffDirectory g4 = Basic(1, 1, 0, 4);
  g4.strips = {
      Bits("001 1000 11 1"
           "111"
           "111"
           "1")};
  dirs.push_back({"fax_g4", g4});

  std::vector<Seed> seeds;
  for (bool big : {false, true})
    for (const auto& [name, d] : dirs) {
      const std::vector<std::uint8_t> file = WriteTiff({d}, big);
      seeds.push_back({name + (big ? "_mm" : "_ii") + ".tif", std::string(file.begin(), file.end())});
    }
  const std::vector<std::uint8_t> two = WriteTiff({rgb, g4}, false);
  seeds.push_back({"two_directories.tif", std::string(two.begin(), two.end())});
  return seeds;
}

}  // namespace fuzz_seeds
