#include "imaging/ccitt_fax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Bytes of a bit string ("0011 1001 ..."; spaces ignored), padded with zero bits.
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

// A row as text, 'W' for white and 'B' for black, from the row's bits.
std::string Pixels(const std::vector<std::uint8_t>& row, int width) {
  std::string s;
  for (int x = 0; x < width; ++x) s += (row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1 ? 'W' : 'B';
  return s;
}

std::string Runs(std::initializer_list<std::pair<char, int>> runs) {
  std::string s;
  for (auto [c, n] : runs) s.append(static_cast<std::size_t>(n), c);
  return s;
}

// Decodes one row from data held in a block of exactly its size, so a read past it is caught.
struct OneRow {
  std::string pixels;
  std::int64_t end;
};
OneRow Decode1D(const std::vector<std::uint8_t>& data, int width, int fillOrder = 1) {
  std::vector<std::uint8_t> copy(data);
  std::vector<std::uint8_t> row(static_cast<std::size_t>((width + 7) / 8), 0x5A);
  FaxStrip strip{copy.data(), copy.size(), fillOrder};
  std::int64_t end = DecodeFaxRow1D(row.data(), strip, width, 0);
  return {Pixels(row, width), end};
}

TEST(CcittFax, OneDimensionalRowsAndLeadingEndsOfLine) {
  const std::string row = "1000 11 01000";  // white 3, black 2, white 11
  const std::string expected = Runs({{'W', 3}, {'B', 2}, {'W', 11}});
  for (int fill = 0; fill <= 12; fill += 3) {
    SCOPED_TRACE(fill);
    const std::string eol = std::string(static_cast<std::size_t>(fill), '0') + "000000000001";
    OneRow r = Decode1D(Bits(eol + row), 16);
    EXPECT_EQ(r.pixels, expected);
    EXPECT_EQ(r.end, 12 + fill + 11);
  }
  EXPECT_EQ(Decode1D(Bits(row), 16).end, 11);
}

TEST(CcittFax, LongRunsTakeSeveralMakeUpCodesAndSwitchColourOnlyAfterTheTerminatingCode) {
  // White 2560 + 2560 + 40, then black 384 + 16 and white 0 + 0 through a code of nothing.
  const std::string bits = "000000011111 000000011111 00101001  000000110100 0000010111";
  OneRow r = Decode1D(Bits(bits), 5600);
  EXPECT_EQ(r.pixels, Runs({{'W', 5160}, {'B', 400}, {'W', 40}}));
}

TEST(CcittFax, FillOrderTwoReadsEachByteFromItsLowBit) {
  auto data = Bits("1000 11 01000 0111 0011");  // and a second, shorter row's worth of codes
  std::vector<std::uint8_t> reversed;
  for (std::uint8_t b : data) {
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i) r |= static_cast<std::uint8_t>(((b >> i) & 1) << (7 - i));
    reversed.push_back(r);
  }
  OneRow plain = Decode1D(data, 16), flipped = Decode1D(reversed, 16, 2);
  EXPECT_EQ(flipped.pixels, plain.pixels);
  EXPECT_EQ(flipped.end, plain.end);
  EXPECT_EQ(Decode1D(data, 16, 7).pixels, plain.pixels) << "any fill order but 2 is 1";
}

TEST(CcittFax, DamagedOrShortDataFinishesTheRowInWhiteWithinTheStrip) {
  struct Case {
    const char* name;
    std::string bits;
    std::string expected;
  };
  const Case cases[] = {
      {"data ends inside the row", "1000 11", Runs({{'W', 3}, {'B', 2}, {'W', 11}})},
      {"zero bits that match no code", "1000 11 0000000000", Runs({{'W', 3}, {'B', 2}, {'W', 11}})},
      {"end of line inside the row", "1000 11 000000000001 1000", Runs({{'W', 3}, {'B', 2}, {'W', 11}})},
      {"nothing at all", "", Runs({{'W', 16}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Decode1D(Bits(c.bits), 16).pixels, c.expected);
  }
  // Compression 2 counts a partly used byte as used, but never more than the strip.
  std::vector<std::uint8_t> data = Bits("1000 11 01000");
  std::vector<std::uint8_t> row(2);
  EXPECT_EQ(DecodeFaxRowMH(row.data(), {data.data(), data.size(), 1}, 16), 2u);
  EXPECT_EQ(DecodeFaxRowMH(row.data(), {data.data(), 1, 1}, 16), 1u);
}

// Zeros to the strip's end hold no code; a decoder that looked at them again from each position,
// or again for each row, would take minutes over a megabyte of them.
TEST(CcittFax, ZerosToTheStripsEndAreSteppedOverInOneGo) {
  std::vector<std::uint8_t> data = Bits("1000 11 0111");  // one 1D row of 3 white, 2 black, 2 white
  data.resize(std::size_t{1} << 20, 0);
  const FaxStrip strip{data.data(), data.size(), 1};
  const std::int64_t end = strip.Bits();
  std::vector<std::uint8_t> row(1);
  const std::int64_t afterRow = DecodeFaxRow1D(row.data(), strip, 7, 0);
  EXPECT_EQ(Pixels(row, 7), "WWWBBWW");
  EXPECT_EQ(DecodeFaxRow1D(row.data(), strip, 7, afterRow), end) << "one-dimensional";
  EXPECT_EQ(Pixels(row, 7), "WWWWWWW");
  EXPECT_EQ(DecodeFaxRowMH(row.data(), {data.data() + 2, data.size() - 2, 1}, 7), data.size() - 2)
      << "modified Huffman";
  FaxReference reference;
  EXPECT_EQ(DecodeFaxRow2D(row.data(), {data.data() + 2, data.size() - 2, 1}, 7, 0, reference), end - 16)
      << "two-dimensional";
  EXPECT_EQ(Pixels(row, 7), "WWWWWWW");
}

TEST(CcittFax, BitsBeyondTheWidthStayAsTheyWere) {
  std::vector<std::uint8_t> data = Bits("1");  // V0 against white: all white
  std::vector<std::uint8_t> row(2, 0x00);
  FaxReference reference;
  DecodeFaxRow2D(row.data(), {data.data(), data.size(), 1}, 12, 0, reference);
  EXPECT_EQ(row[0], 0xFF);
  EXPECT_EQ(row[1], 0xF0);
}

// The reference row as pixels: a row of nothing but V0 codes copies it.
std::string ReferencePixels(FaxReference reference, int width) {
  std::vector<std::uint8_t> copies = Bits(std::string(static_cast<std::size_t>(width) + 1, '1'));
  std::vector<std::uint8_t> row(static_cast<std::size_t>((width + 7) / 8));
  DecodeFaxRow2D(row.data(), {copies.data(), copies.size(), 1}, width, 0, reference);
  return Pixels(row, width);
}

// Rows decoded one after another from one strip, as the TIFF reader does.
std::vector<std::string> Decode2D(const std::string& bits, int width, int rows) {
  std::vector<std::uint8_t> data = Bits(bits);
  FaxStrip strip{data.data(), data.size(), 1};
  std::vector<std::uint8_t> row(static_cast<std::size_t>((width + 7) / 8));
  const auto beyond = static_cast<std::uint8_t>(width % 8 ? 0xFF >> (width % 8) : 0);
  FaxReference reference;
  std::vector<std::string> out;
  std::int64_t position = 0;
  for (int y = 0; y < rows; ++y) {
    std::fill(row.begin(), row.end(), 0x5A);
    position = DecodeFaxRow2D(row.data(), strip, width, position, reference);
    out.push_back(Pixels(row, width));
    EXPECT_EQ(row.back() & beyond, 0x5A & beyond) << "bits beyond the width stay";
    EXPECT_EQ(ReferencePixels(reference, width), out.back()) << "the row becomes the reference";
  }
  return out;
}

TEST(CcittFax, TwoDimensionalModes) {
  const std::string first = Runs({{'W', 5}, {'B', 3}, {'W', 8}});
  // Row 1: horizontal (white 5, black 3), V0 to the end. Row 2: V0 three times, the same row.
  // Row 3: pass over the black run, then V0: all white.
  EXPECT_EQ(Decode2D("001 1100 10 1  1 1 1  0001 1", 16, 3),
            (std::vector<std::string>{first, first, Runs({{'W', 16}})}));
  // Vertical offsets: VR1 on a reference of black 5..7 gives black 6..8; VL2 gives black 3..6.
  EXPECT_EQ(Decode2D("001 1100 10 1  011 1 1", 16, 2)[1], Runs({{'W', 6}, {'B', 2}, {'W', 8}}));
  EXPECT_EQ(Decode2D("001 1100 10 1  000010 000010 1", 16, 2)[1], Runs({{'W', 3}, {'B', 3}, {'W', 10}}));
  // A group 4 row of V0 against white is all white.
  EXPECT_EQ(Decode2D("1", 20, 1)[0], Runs({{'W', 20}}));
}

TEST(CcittFax, TwoDimensionalRunsAcrossWordsAndUpToTheWidth) {
  struct Case {
    int width;
    const char* bits;  // one horizontal code: a white run and a black one
    std::string expected;
  };
  const Case cases[] = {
      {64, "001 00000011 000011010010", Runs({{'W', 30}, {'B', 34}})},  // up to a word's end
      {65, "001 01001011 0011", Runs({{'W', 60}, {'B', 5}})},  // into a second word
      {130, "001 00110101 000011001000 11", Runs({{'B', 130}})},  // over three words
      {63, "001 00110011 010", Runs({{'W', 62}, {'B', 1}})},           {1, "001 00110101 010", Runs({{'B', 1}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    // The row, then a row of V0 codes that copies it.
    const std::string copy(static_cast<std::size_t>(c.width) + 1, '1');
    EXPECT_EQ(Decode2D(std::string(c.bits) + copy, c.width, 2), (std::vector<std::string>{c.expected, c.expected}));
  }
}

TEST(CcittFax, GroupThreeTwoDimensionalRowsCarryATagBitAfterTheirEndOfLine) {
  // EOL + 1: a one-dimensional row (white 3, black 2, white 11); EOL + 0: two-dimensional, V0 x3.
  const std::string first = Runs({{'W', 3}, {'B', 2}, {'W', 11}});
  EXPECT_EQ(Decode2D("0000 000000000001 1 1000 11 01000  000000000001 0 1 1 1", 16, 2),
            (std::vector<std::string>{first, first}));
}

TEST(CcittFax, BackwardVerticalStepEndsTheRowAsDamaged) {
  // Reference black 5..7. V0 (a0 = 5, black), then VL3 from b1 = 8 gives 5: no step forward.
  const auto rows = Decode2D("001 1100 10 1  1 0000010 1 1 1", 16, 3);
  EXPECT_EQ(rows[1], Runs({{'W', 16}}));
  EXPECT_EQ(rows[2], Runs({{'W', 16}})) << "decoding goes on from the code after the damaged one";
}

TEST(CcittFax, RunsAndChangingElements) {
  std::vector<std::uint8_t> row(3, 0x00);
  FillFaxRun(row.data(), 3, 15, 20, true);
  EXPECT_EQ(Pixels(row, 24), Runs({{'B', 3}, {'W', 15}, {'B', 6}}));
  FillFaxRun(row.data(), 18, 100, 20, true);
  EXPECT_EQ(Pixels(row, 24), Runs({{'B', 3}, {'W', 17}, {'B', 4}})) << "stops at the width";
  FillFaxRun(row.data(), 4, 0, 20, false);
  EXPECT_EQ(Pixels(row, 24), Runs({{'B', 3}, {'W', 17}, {'B', 4}}));
  EXPECT_EQ(FindChangingElement(row.data(), -1, 20, true), -1);
  EXPECT_EQ(FindChangingElement(row.data(), -1, 20, false), 0);
  EXPECT_EQ(FindChangingElement(row.data(), 0, 20, true), 3);
  EXPECT_EQ(FindChangingElement(row.data(), 3, 20, false), 20) << "black beyond the width is not seen";
  EXPECT_EQ(FindChangingElement(row.data(), 3, 24, false), 20);
}

}  // namespace
