#include "imaging/tiff_lzw.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "tiff_lzw_encoder.h"

namespace {

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
  // Strings made at the start and used again after a run far longer than the decoder keeps of
  // its output, with no clear code between: they are rebuilt from their prefixes.
  std::vector<std::uint8_t> farApart = Noise(3000, 4);
  farApart.insert(farApart.end(), 300000, 200);
  farApart.insert(farApart.end(), farApart.begin(), farApart.begin() + 3000);
  const Case cases[] = {
      {"noise over several clears", Noise(30000, 256), 300},
      {"few colours, long strings", Noise(20000, 3), 123},
      {"smooth rows", smooth, 400},
      {"one byte per call", Noise(2000, 16), 1},
      {"one run of a byte (KwKwK codes)", std::vector<std::uint8_t>(5000, 9), 50},
      {"strings used again long after they were written", farApart, 1000},
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
  const std::vector<std::vector<std::uint8_t>> expected{{1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0},
                                                        {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                                        {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                                        std::vector<std::uint8_t>(12, 0)};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(DecodeAll(cases[i].strip, 4, 3), expected[i]);
  }
}

TEST(TiffLzwDecode, ARequestOfAnotherSizeThanTheFirstGetsNothing) {
  const std::vector<std::uint8_t> input = Noise(4000, 256);
  std::vector<std::uint8_t> strip = TiffLzwEncode(input);
  void* state = nullptr;
  ASSERT_NE(TiffLzwDecode(strip.data(), strip.size(), 10, state), nullptr);
  EXPECT_EQ(TiffLzwDecode(strip.data(), strip.size(), 3000, state), nullptr);
  EXPECT_EQ(TiffLzwDecode(strip.data(), strip.size(), -1, state), nullptr);
  const std::uint8_t* next = TiffLzwDecode(strip.data(), strip.size(), 10, state);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(std::vector<std::uint8_t>(next, next + 10),
            std::vector<std::uint8_t>(input.begin() + 10, input.begin() + 20));
  TiffLzwDecode(nullptr, 0, 0, state);
}

}  // namespace
