#include "imaging/tiff_lzw.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// A TIFF LZW encoder for the tests: codes most significant bit first, widths growing one code
// early as TIFF's variant does, a clear code when the table fills.
std::vector<std::uint8_t> TiffLzwEncode(const std::vector<std::uint8_t>& input, bool leadingClear = true) {
  std::vector<std::uint8_t> out;
  std::uint32_t buffer = 0;
  int bits = 0, width = 9, next = 258;
  const auto put = [&](int code) {
    buffer = buffer << width | static_cast<std::uint32_t>(code);
    bits += width;
    while (bits >= 8) {
      out.push_back(static_cast<std::uint8_t>(buffer >> (bits - 8)));
      bits -= 8;
    }
  };
  std::map<std::pair<int, int>, int> table;
  if (leadingClear) put(256);
  int current = -1;
  for (std::uint8_t b : input) {
    if (current < 0) {
      current = b;
      continue;
    }
    if (auto found = table.find({current, b}); found != table.end()) {
      current = found->second;
      continue;
    }
    put(current);
    table[{current, b}] = next++;
    if (next == 512) width = 10;  // the decoder, an entry behind, is then at 511
    else if (next == 1024) width = 11;
    else if (next == 2048) width = 12;
    if (next == 4094) {
      put(256);
      table.clear();
      next = 258;
      width = 9;
    }
    current = b;
  }
  if (current >= 0) put(current);
  put(257);
  if (bits > 0) out.push_back(static_cast<std::uint8_t>(buffer << (8 - bits)));
  return out;
}

// The whole strip in requests of `request` bytes, from a block of exactly the strip's size.
std::vector<std::uint8_t> DecodeAll(std::vector<std::uint8_t> strip, int request, int requests) {
  void* state = nullptr;
  std::vector<std::uint8_t> out;
  for (int i = 0; i < requests; ++i) {
    const std::uint8_t* bytes = TiffLzwDecode(strip.data(), strip.size(), request, state);
    out.insert(out.end(), bytes, bytes + request);
  }
  EXPECT_EQ(TiffLzwDecode(nullptr, 0, 0, state), nullptr);
  return out;
}

std::vector<std::uint8_t> Noise(std::size_t count, unsigned colors) {
  std::mt19937 random(11);
  std::vector<std::uint8_t> v(count);
  for (auto& b : v) b = static_cast<std::uint8_t>(random() % colors);
  return v;
}

TEST(TiffLzwDecode, RoundTripsThroughEveryCodeWidthAndRequestSize) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> input;
    int request;
  };
  std::vector<std::uint8_t> smooth(40000);
  for (std::size_t i = 0; i < smooth.size(); ++i) smooth[i] = static_cast<std::uint8_t>(i / 300 + (i % 7));
  const Case cases[] = {
      {"noise over several clears", Noise(30000, 256), 300},
      {"few colours, long strings", Noise(20000, 3), 123},
      {"smooth rows", smooth, 400},
      {"one byte per call", Noise(2000, 16), 1},
      {"one run of a byte (KwKwK codes)", std::vector<std::uint8_t>(5000, 9), 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int requests = static_cast<int>(c.input.size()) / c.request;
    auto out = DecodeAll(TiffLzwEncode(c.input), c.request, requests);
    EXPECT_EQ(out, std::vector<std::uint8_t>(c.input.begin(), c.input.begin() + requests * c.request));
  }
}

// Nine-bit codes, most significant bit first.
std::vector<std::uint8_t> Pack9(std::initializer_list<int> codes) {
  std::vector<std::uint8_t> out;
  int bits = 0;
  for (int code : codes)
    for (int i = 8; i >= 0; --i, ++bits) {
      if (bits % 8 == 0) out.push_back(0);
      if ((code >> i) & 1) out.back() |= static_cast<std::uint8_t>(0x80 >> (bits % 8));
    }
  return out;
}

TEST(TiffLzwDecode, StripWithoutLeadingClearTakesItsFirstCodeAsThePreviousOne) {
  // Codes 65, 258: the first code adds "AA" as 258, so the strip reads "AAA".
  std::vector<std::uint8_t> strip = Pack9({65, 258, 257});
  EXPECT_EQ(DecodeAll(strip, 3, 1), (std::vector<std::uint8_t>{65, 65, 65}));
}

TEST(TiffLzwDecode, AfterTheEndEveryRequestIsZeros) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> strip;
  };
  auto full = TiffLzwEncode({1, 2, 3, 4});
  const Case cases[] = {
      {"end code", full},
      {"strip cut short", std::vector<std::uint8_t>(full.begin(), full.begin() + 4)},  // clear + 1, 2: 27 bits
      {"code beyond the table", Pack9({256, 1, 300, 2})},
      {"code without entry after a clear", Pack9({256, 258, 1})},
  };
  const std::vector<std::vector<std::uint8_t>> expected{
      {1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      std::vector<std::uint8_t>(12, 0)};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(DecodeAll(cases[i].strip, 4, 3), expected[i]);
  }
}

}  // namespace
