#include "imaging/ccitt_fax.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr int kEndOfLine = -1;
constexpr int kPaintsNothing = -2;

// A code as T.4 writes it, most significant bit first.
struct CodeText {
  const char* bits;
  int value;
};

// Terminating codes (runs 0-63) and make-up codes (64-1728) of T.4.
constexpr CodeText kWhiteCodes[] = {
    {"00110101", 0},     {"000111", 1},       {"0111", 2},         {"1000", 3},         {"1011", 4},
    {"1100", 5},         {"1110", 6},         {"1111", 7},         {"10011", 8},        {"10100", 9},
    {"00111", 10},       {"01000", 11},       {"001000", 12},      {"000011", 13},      {"110100", 14},
    {"110101", 15},      {"101010", 16},      {"101011", 17},      {"0100111", 18},     {"0001100", 19},
    {"0001000", 20},     {"0010111", 21},     {"0000011", 22},     {"0000100", 23},     {"0101000", 24},
    {"0101011", 25},     {"0010011", 26},     {"0100100", 27},     {"0011000", 28},     {"00000010", 29},
    {"00000011", 30},    {"00011010", 31},    {"00011011", 32},    {"00010010", 33},    {"00010011", 34},
    {"00010100", 35},    {"00010101", 36},    {"00010110", 37},    {"00010111", 38},    {"00101000", 39},
    {"00101001", 40},    {"00101010", 41},    {"00101011", 42},    {"00101100", 43},    {"00101101", 44},
    {"00000100", 45},    {"00000101", 46},    {"00001010", 47},    {"00001011", 48},    {"01010010", 49},
    {"01010011", 50},    {"01010100", 51},    {"01010101", 52},    {"00100100", 53},    {"00100101", 54},
    {"01011000", 55},    {"01011001", 56},    {"01011010", 57},    {"01011011", 58},    {"01001010", 59},
    {"01001011", 60},    {"00110010", 61},    {"00110011", 62},    {"00110100", 63},    {"11011", 64},
    {"10010", 128},      {"010111", 192},     {"0110111", 256},    {"00110110", 320},   {"00110111", 384},
    {"01100100", 448},   {"01100101", 512},   {"01101000", 576},   {"01100111", 640},   {"011001100", 704},
    {"011001101", 768},  {"011010010", 832},  {"011010011", 896},  {"011010100", 960},  {"011010101", 1024},
    {"011010110", 1088}, {"011010111", 1152}, {"011011000", 1216}, {"011011001", 1280}, {"011011010", 1344},
    {"011011011", 1408}, {"010011000", 1472}, {"010011001", 1536}, {"010011010", 1600}, {"011000", 1664},
    {"010011011", 1728},
};
constexpr CodeText kBlackCodes[] = {
    {"0000110111", 0},
    {"010", 1},
    {"11", 2},
    {"10", 3},
    {"011", 4},
    {"0011", 5},
    {"0010", 6},
    {"00011", 7},
    {"000101", 8},
    {"000100", 9},
    {"0000100", 10},
    {"0000101", 11},
    {"0000111", 12},
    {"00000100", 13},
    {"00000111", 14},
    {"000011000", 15},
    {"0000010111", 16},
    {"0000011000", 17},
    {"0000001000", 18},
    {"00001100111", 19},
    {"00001101000", 20},
    {"00001101100", 21},
    {"00000110111", 22},
    {"00000101000", 23},
    {"00000010111", 24},
    {"00000011000", 25},
    {"000011001010", 26},
    {"000011001011", 27},
    {"000011001100", 28},
    {"000011001101", 29},
    {"000001101000", 30},
    {"000001101001", 31},
    {"000001101010", 32},
    {"000001101011", 33},
    {"000011010010", 34},
    {"000011010011", 35},
    {"000011010100", 36},
    {"000011010101", 37},
    {"000011010110", 38},
    {"000011010111", 39},
    {"000001101100", 40},
    {"000001101101", 41},
    {"000011011010", 42},
    {"000011011011", 43},
    {"000001010100", 44},
    {"000001010101", 45},
    {"000001010110", 46},
    {"000001010111", 47},
    {"000001100100", 48},
    {"000001100101", 49},
    {"000001010010", 50},
    {"000001010011", 51},
    {"000000100100", 52},
    {"000000110111", 53},
    {"000000111000", 54},
    {"000000100111", 55},
    {"000000101000", 56},
    {"000001011000", 57},
    {"000001011001", 58},
    {"000000101011", 59},
    {"000000101100", 60},
    {"000001011010", 61},
    {"000001100110", 62},
    {"000001100111", 63},
    {"0000001111", 64},
    {"000011001000", 128},
    {"000011001001", 192},
    {"000001011011", 256},
    {"000000110011", 320},
    {"000000110100", 384},
    {"000000110101", 448},
    {"0000001101100", 512},
    {"0000001101101", 576},
    {"0000001001010", 640},
    {"0000001001011", 704},
    {"0000001001100", 768},
    {"0000001001101", 832},
    {"0000001110010", 896},
    {"0000001110011", 960},
    {"0000001110100", 1024},
    {"0000001110101", 1088},
    {"0000001110110", 1152},
    {"0000001110111", 1216},
    {"0000001010010", 1280},
    {"0000001010011", 1344},
    {"0000001010100", 1408},
    {"0000001010101", 1472},
    {"0000001011010", 1536},
    {"0000001011011", 1600},
    {"0000001100100", 1664},
    {"0000001100101", 1728},
};
// Extended make-up codes common to both colours, and the codes of nothing. An end of line with
// any number of fill zeros before it is recognised before these tables are searched.
constexpr CodeText kCommonCodes[] = {
    {"00000001000", 1792},           {"00000001100", 1856},         {"00000001101", 1920},
    {"000000010010", 1984},          {"000000010011", 2048},        {"000000010100", 2112},
    {"000000010101", 2176},          {"000000010110", 2240},        {"000000010111", 2304},
    {"000000011100", 2368},          {"000000011101", 2432},        {"000000011110", 2496},
    {"000000011111", 2560},          {"000000001", kPaintsNothing}, {"0000000001", kPaintsNothing},
    {"00000000001", kPaintsNothing},
};

enum Mode : std::int8_t { kNoMode, kPass, kHorizontal, kVertical, kUncompressed, kModeEndOfLine };
struct ModeText {
  const char* bits;
  Mode mode;
  int offset;
};
constexpr ModeText kModes[] = {
    {"0001", kPass, 0},        {"001", kHorizontal, 0},  {"0000010", kVertical, -3},
    {"000010", kVertical, -2}, {"010", kVertical, -1},   {"1", kVertical, 0},
    {"011", kVertical, 1},     {"000011", kVertical, 2}, {"0000011", kVertical, 3},
};
// Longer mode codes all start with six zeros: the uncompressed-mode extensions and the end of line.
constexpr int kModeLookupBits = 7;

constexpr int kLookupBits = 13;  // the longest run code; longer ones are ends of line

struct Decoded {
  std::int8_t length = 0;  // 0: no code
  std::int16_t value = 0;
};
struct alignas(4) DecodedMode {
  std::int8_t length = 0;  // 0: a longer code or none
  Mode mode = kNoMode;
  std::int8_t offset = 0;
};

struct Tables {
  std::array<Decoded, 1 << kLookupBits> white{}, black{};
  std::array<DecodedMode, 1 << kModeLookupBits> modes{};
  std::array<std::uint8_t, 256> reversed{};

  static int Length(const char* bits) { return static_cast<int>(std::strlen(bits)); }
  static int Value(const char* bits) {
    int v = 0;
    for (const char* c = bits; *c; ++c) v = v * 2 + (*c - '0');
    return v;
  }
  // Every lookup index whose top bits are the code's.
  template <int Bits, class Entry>
  static void Enter(std::array<Entry, 1 << Bits>& table, const char* bits, Entry entry) {
    const int spare = Bits - Length(bits);
    const int first = Value(bits) << spare;
    for (int i = 0; i < 1 << spare; ++i) table[static_cast<std::size_t>(first + i)] = entry;
  }
  static Decoded Run(const CodeText& c) {
    return {static_cast<std::int8_t>(Length(c.bits)), static_cast<std::int16_t>(c.value)};
  }

  Tables() {
    for (const auto& c : kWhiteCodes) Enter<kLookupBits>(white, c.bits, Run(c));
    for (const auto& c : kBlackCodes) Enter<kLookupBits>(black, c.bits, Run(c));
    for (const auto& c : kCommonCodes) {
      Enter<kLookupBits>(white, c.bits, Run(c));
      Enter<kLookupBits>(black, c.bits, Run(c));
    }
    for (const auto& m : kModes)
      Enter<kModeLookupBits>(modes, m.bits,
                             {static_cast<std::int8_t>(Length(m.bits)), m.mode, static_cast<std::int8_t>(m.offset)});
    for (int b = 0; b < 256; ++b) {
      int r = 0;
      for (int i = 0; i < 8; ++i) r |= ((b >> i) & 1) << (7 - i);
      reversed[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(r);
    }
  }
};
const Tables kTables;

// A strip's bits, read 32 at a time from any position.
class FaxBits {
 public:
  explicit FaxBits(const FaxStrip& s)
      : s_(s), bits_(s.Bits()), wordReads_(s.fillOrder != 2 && s.size >= 8 ? s.size - 7 : 0) {}

  std::int64_t Size() const { return bits_; }

  // The 32 bits from the position on, the first in the top bit.
  std::uint32_t Peek(std::int64_t position) const {
    int read;
    return static_cast<std::uint32_t>(Window(position, read) >> 32);
  }
  // The same in 64 bits, of which `read` (32 or more) on top are the strip's.
  std::uint64_t Window(std::int64_t position, int& read) const {
    const auto index = static_cast<std::uint64_t>(position >> 3);
    if (index >= wordReads_) {
      read = 32;
      return std::uint64_t{PeekBytes(position)} << 32;
    }
    std::uint64_t word;
    std::memcpy(&word, s_.data + index, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    read = 64 - static_cast<int>(position & 7);
    return word << (position & 7);
  }

 private:
  std::uint8_t ByteAt(std::int64_t index) const {
    if (index < 0 || index >= static_cast<std::int64_t>(s_.size)) return 0;
    const std::uint8_t b = s_.data[index];
    return s_.fillOrder == 2 ? kTables.reversed[b] : b;
  }
  // Near the strip's ends or in fill order 2, a byte at a time.
  std::uint32_t PeekBytes(std::int64_t position) const {
    const std::int64_t index = position >> 3;
    std::uint64_t v = 0;
    for (int i = 0; i < 5; ++i) v = v << 8 | ByteAt(index + i);
    return static_cast<std::uint32_t>(v >> (8 - (position & 7)));
  }

  const FaxStrip& s_;
  const std::int64_t bits_;
  const std::uint64_t wordReads_;  // byte indexes below this have a whole word in fill order 1
};

// Codes read one after another: the strip's bits from a position on, kept in a window that is
// refilled when a code could be longer than what is left of it.
class CodeReader {
 public:
  CodeReader(const FaxBits& bits, std::int64_t position) : bits_(bits), position_(position) {}

  const FaxBits& Bits() const { return bits_; }
  std::int64_t Position() const { return position_; }
  bool AtEnd() const { return position_ >= bits_.Size(); }
  // The bits from the position on, the first on top, at least `longest` of them the strip's.
  std::uint64_t Peek(int longest) {
    if (held_ < longest) window_ = bits_.Window(position_, held_);
    return window_;
  }
  // Past `length` bits of those the last Peek promised.
  void SkipPeeked(int length) {
    position_ += length;
    window_ <<= length;
    held_ -= length;
  }
  void Skip(std::int64_t length) {
    position_ += length;
    if (length < held_) {
      window_ <<= length;
      held_ -= static_cast<int>(length);
    } else {
      held_ = 0;
    }
  }
  void MoveTo(std::int64_t position) {
    position_ = position;
    held_ = 0;
  }

 private:
  const FaxBits& bits_;
  std::int64_t position_;
  std::uint64_t window_ = 0;
  int held_ = 0;
};

// Zero bits from the position on; counting stops at the strip's end.
std::int64_t ZerosAt(const FaxBits& s, std::int64_t position) {
  std::int64_t zeros = 0;
  for (;;) {
    if (position + zeros >= s.Size()) return zeros;
    const std::uint32_t bits = s.Peek(position + zeros);
    if (bits) return zeros + std::countl_zero(bits);
    zeros += 32;
  }
}

// Eleven or more zeros: an end of line with its fill zeros when a one follows them, else the
// strip's last bits, in which no code can start. Such a tail is stepped over whole, since looking
// at each of its positions again would cost its length every time.
struct LongZeros {
  std::int64_t length = 0;  // 0: fewer than eleven zeros
  bool endOfLine = false;
};
LongZeros LongZerosAt(const FaxBits& s, std::int64_t position) {
  if (s.Peek(position) >> 21) return {};
  const std::int64_t zeros = ZerosAt(s, position);
  if (position + zeros < s.Size()) return {zeros + 1, true};
  return {s.Size() - position, false};
}

struct Code {
  std::int64_t length = 0;  // 0: none matches
  int value = 0;
};

// No code of the tables starts with eleven zeros, so an end of line is looked for only where
// the tables have nothing.
Code RunCodeAt(CodeReader& codes, bool white) {
  const Decoded d = (white ? kTables.white : kTables.black)[codes.Peek(kLookupBits) >> (64 - kLookupBits)];
  if (d.length != 0) return {d.length, d.value};
  const LongZeros zeros = LongZerosAt(codes.Bits(), codes.Position());
  if (zeros.length == 0) return {};
  return {zeros.length, zeros.endOfLine ? kEndOfLine : kPaintsNothing};
}

struct ModeCode {
  std::int64_t length;
  Mode mode;
};

// A mode code the table does not hold. No matching code (twelve zeros, as the mode table's first
// entry) steps over twelve bits, or over the strip's tail of zeros.
ModeCode LongModeCodeAt(const FaxBits& s, std::int64_t position) {
  const std::uint32_t bits = s.Peek(position);
  if (bits >> (32 - 10) == 0b0000001111) return {10, kUncompressed};
  if (bits >> (32 - 12) == 0b000000001111) return {12, kUncompressed};
  const LongZeros zeros = LongZerosAt(s, position);
  if (zeros.endOfLine) return {zeros.length, kModeEndOfLine};
  return {std::max<std::int64_t>(zeros.length, 12), kNoMode};
}

// Make-up codes and a terminating code summed; -1 when an end of line or a code of nothing was
// among them, -2 when no code matches.
int ReadRun(CodeReader& codes, bool white, int width) {
  int sum = 0;
  bool marked = false;
  for (;;) {
    if (codes.AtEnd()) return -2;
    const Code c = RunCodeAt(codes, white);
    if (c.length == 0) return -2;
    codes.Skip(c.length);
    if (c.value < 0) {
      marked = true;
      continue;
    }
    sum = std::min(sum + c.value, width);
    if (c.value < 64) return marked ? -1 : sum;
  }
}

// The row from its changing elements, given as set bits, 64 pixels at a time: a pixel is black
// when an odd number of them lie at or before it. The bits are cleared for the next row; bits of
// the row beyond the width are kept.
void PaintRow(std::uint8_t* row, std::uint64_t* changes, int width) {
  const int bytes = (width + 7) / 8;
  if (bytes <= 0) return;
  const std::uint8_t beyond = row[bytes - 1];
  std::uint64_t carried = 0;  // all ones while a black run goes on into the next word
  for (int at = 0; at < bytes; at += 8, ++changes) {
    std::uint64_t black = *changes;
    if (black) {
      *changes = 0;
      for (int shift = 1; shift < 64; shift *= 2) black ^= black >> shift;
    }
    black ^= carried;
    carried = 0 - (black & 1);
    std::uint64_t word = ~black;
    if (at + 8 <= bytes) {
      if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
      std::memcpy(row + at, &word, sizeof word);
    } else {
      for (int k = at; k < bytes; ++k, word <<= 8) row[k] = static_cast<std::uint8_t>(word >> 56);
    }
  }
  if (width % 8) {
    const auto kept = static_cast<std::uint8_t>(0xFF >> (width % 8));
    row[bytes - 1] = static_cast<std::uint8_t>((row[bytes - 1] & ~kept) | (beyond & kept));
  }
}

}  // namespace

void FillFaxRun(std::uint8_t* row, int first, int count, int width, bool white) {
  if (count <= 0 || first >= width) return;
  const int from = std::max(first, 0);
  const int to = static_cast<int>(std::min<std::int64_t>(width, std::int64_t{first} + count));
  if (from >= to) return;
  const auto paint = [&](int index, std::uint8_t mask) {
    if (white) row[index] |= mask;
    else
      row[index] &= static_cast<std::uint8_t>(~mask);
  };
  const int head = from >> 3, tail = (to - 1) >> 3;
  const auto headMask = static_cast<std::uint8_t>(0xFF >> (from & 7));
  const auto tailMask = static_cast<std::uint8_t>(0xFF << (7 - ((to - 1) & 7)));
  if (head == tail) {
    paint(head, headMask & tailMask);
    return;
  }
  paint(head, headMask);
  if (tail - head > 1) std::memset(row + head + 1, white ? 0xFF : 0x00, static_cast<std::size_t>(tail - head - 1));
  paint(tail, tailMask);
}

int FindChangingElement(const std::uint8_t* reference, int start, int width, bool white) {
  if (start < 0) {
    if (white) return start;
    start = 0;
  }
  if (start >= width) return width;
  // Bits of the colour are set in the flipped bytes; bits past the width are cut by the width.
  const std::uint8_t flip = white ? 0x00 : 0xFF;
  const std::size_t bytes = static_cast<std::size_t>((width + 7) / 8);
  std::size_t i = static_cast<std::size_t>(start >> 3);
  const auto found = [&](std::size_t byte, int zeros) { return std::min(width, static_cast<int>(byte * 8) + zeros); };
  if (const auto b = static_cast<std::uint8_t>((reference[i] ^ flip) & (0xFF >> (start & 7))))
    return found(i, std::countl_zero(b));
  const std::uint64_t flipWord = white ? 0 : ~std::uint64_t{0};
  for (++i; i + 8 <= bytes; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, reference + i, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    if (word ^= flipWord) return found(i, std::countl_zero(word));
  }
  for (; i < bytes; ++i)
    if (const auto b = static_cast<std::uint8_t>(reference[i] ^ flip)) return found(i, std::countl_zero(b));
  return width;
}

std::int64_t DecodeFaxRow1D(std::uint8_t* row, const FaxStrip& strip, int width, std::int64_t start) {
  const FaxBits bits(strip);
  CodeReader codes(bits, start);
  int n = 0;
  bool white = true, makeUpPending = false;
  while (n < width || makeUpPending) {
    const Code c = codes.AtEnd() ? Code{} : RunCodeAt(codes, white);
    if (c.length == 0) break;  // damaged or out of data
    const bool first = codes.Position() == start;
    codes.Skip(c.length);
    if (c.value == kEndOfLine) {
      if (first) {
        start = codes.Position();
        continue;
      }
      break;
    }
    if (c.value == kPaintsNothing) continue;
    FillFaxRun(row, n, c.value, width, white);
    n = std::min(n + c.value, width);
    makeUpPending = c.value >= 64;
    if (!makeUpPending) white = !white;
  }
  FillFaxRun(row, n, width - n, width, true);
  return codes.Position();
}

std::size_t DecodeFaxRowMH(std::uint8_t* row, const FaxStrip& strip, int width) {
  const std::int64_t bits = DecodeFaxRow1D(row, strip, width, 0);
  return std::min(static_cast<std::size_t>((bits + 7) / 8), strip.size);
}

namespace {

// Room for every pixel to change, with two marks before the changing elements (at or before
// any a0) and three after them (the width), so that searches need no other bounds.
constexpr int kBefore = 2, kAfter = 3;

void ReserveChanges(FaxReference& reference, int width) {
  const int pixels = std::max(width, 0);
  if (reference.changes.size() >= static_cast<std::size_t>(pixels + kBefore + kAfter)) return;
  reference.changes.resize(static_cast<std::size_t>(pixels + kBefore + kAfter));
  reference.coding.resize(reference.changes.size());
  reference.codingBits.resize(static_cast<std::size_t>(pixels / 64 + 1));
}

// The changing elements of a row decoded in one dimension, for the next row to refer to.
int ListChangingElements(const std::uint8_t* row, int width, int* coded) {
  int count = 0;
  for (int x = -1;; ++count) {
    x = FindChangingElement(row, x, width, count % 2 == 1);
    if (x >= width) return count;
    coded[count] = x;
  }
}

enum class RowStep { kGoOn, kEnded, kOneDimensional };

// One row's two-dimensional codes against the reference row's changing elements, gathering the
// coding row's own as it goes. Built and used in one function, its steps always inlined, so that its
// state stays in registers as the locals of one loop would.
class Row2DDecoder {
 public:
  Row2DDecoder(CodeReader& codes, std::int64_t start, int width, FaxReference& reference)
      : codes_(codes),
        start_(start),
        width_(width),
        above_(reference.changes.data() + kBefore),
        coded_(reference.coding.data() + kBefore),
        codedBits_(reference.codingBits.data()) {
    above_[-2] = above_[-1] = -1;
    for (int i = 0; i < kAfter; ++i) above_[reference.count + i] = width;
  }

  // Up to the width, the end of data, damage or an end of line; kOneDimensional when that end of
  // line tags the row as one-dimensional, to be read from the reader's position.
  [[gnu::always_inline]] RowStep Decode() {
    while (a0_ < width_) {
      if (codes_.AtEnd()) return Finish(true);
      const DecodedMode m = kTables.modes[codes_.Peek(kModeLookupBits) >> (64 - kModeLookupBits)];
      const RowStep step = m.mode == kVertical     ? Vertical(m)
                           : m.mode == kPass       ? Pass(m)
                           : m.mode == kHorizontal ? Horizontal(m)
                                                   : LongMode();
      if (step != RowStep::kGoOn) return step;
    }
    return RowStep::kEnded;
  }
  int Count() const { return count_; }

 private:
  // The coding row is made of runs from left to right, up to the width; a run whose colour
  // differs from the one before starts a changing element.
  [[gnu::always_inline]] void Paint(int from, int to, bool white) {
    if (from >= to || white == codedWhite_) return;
    coded_[count_++] = from;
    codedBits_[from >> 6] |= std::uint64_t{1} << 63 >> (from & 63);
    codedWhite_ = white;
  }
  [[gnu::always_inline]] RowStep Finish(bool colour) {
    Paint(std::max(a0_, 0), width_, colour);
    return RowStep::kEnded;
  }
  // b1 is the first changing element after a0 to the other colour: elements to black have even
  // indexes. b keeps to the indexes of the colour wanted, with every one before it at or before a0.
  [[gnu::always_inline]] int B1() {
    while (above_[b_] <= a0_) b_ += 2;
    return std::min(above_[b_], width_);
  }

  [[gnu::always_inline]] RowStep Vertical(const DecodedMode& m) {
    const int a1 = std::min(B1() + m.offset, width_);
    codes_.SkipPeeked(m.length);
    if (a1 <= a0_ || a1 < 0) return Finish(true);  // a backward step: damaged data
    Paint(std::max(a0_, 0), a1, white_);
    a0_ = a1;
    white_ = !white_;
    // Elements to the new colour's opposite: the one after b1, or the one before it when a1
    // lies left of b1 (the one before that is at or before the old a0).
    b_ += m.offset < 0 ? -1 : 1;
    return RowStep::kGoOn;
  }

  [[gnu::always_inline]] RowStep Pass(const DecodedMode& m) {
    B1();
    const int b2 = std::min(above_[b_ + 1], width_);
    codes_.SkipPeeked(m.length);
    Paint(std::max(a0_, 0), b2, white_);
    a0_ = b2;
    b_ += 2;
    return RowStep::kGoOn;
  }

  [[gnu::always_inline]] RowStep Horizontal(const DecodedMode& m) {
    codes_.SkipPeeked(m.length);
    const int first = ReadRun(codes_, white_, width_);
    const int second = first == -2 ? -2 : ReadRun(codes_, !white_, width_);
    if (first == -2 || second == -2) return Finish(true);
    if (first < 0 || second < 0) return RowStep::kGoOn;
    const int from = std::max(a0_, 0);
    const int middle = std::min(from + first, width_);
    a0_ = std::min(from + first + second, width_);
    Paint(from, middle, white_);
    Paint(middle, a0_, !white_);
    return RowStep::kGoOn;
  }

  [[gnu::always_inline]] RowStep LongMode() {
    const ModeCode longer = LongModeCodeAt(codes_.Bits(), codes_.Position());
    if (longer.mode == kModeEndOfLine) {
      if (codes_.Position() != start_) return Finish(white_);  // the next row reads this end of line again
      codes_.Skip(longer.length);
      const bool tagged1D = codes_.Peek(1) >> 63;
      codes_.Skip(1);
      return tagged1D ? RowStep::kOneDimensional : RowStep::kGoOn;
    }
    codes_.Skip(longer.length);
    if (longer.mode == kUncompressed) return Finish(true);  // not supported: the rest of the row is left white
    return RowStep::kGoOn;
  }

  // Held outside, as ReadRun takes it by reference, so that the decoder's own state can stay in registers.
  CodeReader& codes_;
  const std::int64_t start_;
  const int width_;
  int* const above_;
  int* const coded_;
  std::uint64_t* const codedBits_;
  int count_ = 0;
  bool codedWhite_ = true;  // the colour after the last changing element of the coding row
  int a0_ = -1;
  bool white_ = true;
  int b_ = 0;
};

}  // namespace

std::int64_t DecodeFaxRow2D(std::uint8_t* row, const FaxStrip& strip, int width, std::int64_t start,
                            FaxReference& reference) {
  ReserveChanges(reference, width);
  const FaxBits bits(strip);
  CodeReader codes(bits, start);
  Row2DDecoder decoder(codes, start, width, reference);
  std::int64_t end = 0;
  int count = 0;
  if (decoder.Decode() == RowStep::kOneDimensional) {
    end = DecodeFaxRow1D(row, strip, width, codes.Position());
    count = ListChangingElements(row, width, reference.coding.data() + kBefore);
  } else {
    PaintRow(row, reference.codingBits.data(), width);
    end = codes.Position();
    count = decoder.Count();
  }
  std::swap(reference.changes, reference.coding);
  reference.count = count;
  return end;
}
