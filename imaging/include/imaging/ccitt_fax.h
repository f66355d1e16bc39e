#pragma once
// Bilevel rows coded as ITU-T T.4 (modified Huffman and modified READ, group 3) and T.6 (group 4),
// one row per call over a strip held in memory. Rows hold a bit per pixel, the leftmost pixel in
// bit 7 of the first byte; white is a set bit. Bits beyond the width are left as they were.
#include <cstddef>
#include <cstdint>
#include <vector>

// A strip's coded bytes. Fill order 2 takes each byte's least significant bit first; any other
// value is fill order 1. Bits beyond the strip read as zeros, which match no code.
struct FaxStrip {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  int fillOrder = 1;

  std::int64_t Bits() const { return static_cast<std::int64_t>(size) * 8; }
};

// Paints count pixels from the first one, stopping at the width; white sets bits.
void FillFaxRun(std::uint8_t* row, int first, int count, int width, bool white);
// The first pixel at or after start, below the width, of the given colour (positions below 0 are
// white); the width when there is none.
int FindChangingElement(const std::uint8_t* reference, int start, int width, bool white);

// Each decoder returns the bit position after the row. A row whose codes are damaged or that runs
// out of data is finished in white, so every pixel below the width is written.
std::int64_t DecodeFaxRow1D(std::uint8_t* row, const FaxStrip& strip, int width, std::int64_t start);
// One modified Huffman row from a byte boundary (TIFF compression 2): the bytes it used, a partly
// used byte counted whole.
std::size_t DecodeFaxRowMH(std::uint8_t* row, const FaxStrip& strip, int width);

// The reference row of two-dimensional coding, kept by the caller from row to row as its changing
// elements: the pixels whose colour differs from the one before (white before the first pixel),
// so the first is black. A new one is all white, as at a strip's start. Only the decoder looks
// inside.
struct FaxReference {
  std::vector<int> changes;  // `count` changing elements, with room for marks around them
  std::vector<int> coding;  // the changing elements of the row being decoded
  std::vector<std::uint64_t> codingBits;  // the same as set bits, cleared as the row is painted
  int count = 0;
};

// One two-dimensional row against the reference row, which then becomes the decoded row. A
// group 3 row tagged one-dimensional after its end of line is decoded as such.
std::int64_t DecodeFaxRow2D(std::uint8_t* row, const FaxStrip& strip, int width, std::int64_t start,
                            FaxReference& reference);
