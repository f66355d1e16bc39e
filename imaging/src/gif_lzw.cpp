#include "imaging/gif_lzw.h"

#include <cstddef>

#include "vcl/graphics_images.h"

namespace {

constexpr int kTableSize = 4096;
constexpr int kStackSize = 8192;
constexpr int kMaxMinimumCodeSize = 11;  // 2^11 roots plus clear and end still leave table room
const char kUnrecognized[] = "unrecognized GIF";

// Codes packed least significant bit first across the data sub-blocks.
class GifCodeReader {
 public:
  explicit GifCodeReader(TStream* source) : source_(source) {}

  // The next code of `size` bits, or -1 when the data ends first.
  int Get(int size) {
    while (bits_ < size) {
      if (pos_ == length_ && !NextBlock()) return -1;
      buffer_ |= std::uint32_t{block_[pos_++]} << bits_;
      bits_ += 8;
    }
    const int code = static_cast<int>(buffer_ & ((1u << size) - 1));
    buffer_ >>= size;
    bits_ -= size;
    return code;
  }

  // Steps over the remaining sub-blocks up to the terminator, stopping at the end of the stream.
  void SkipToTerminator() {
    if (noMoreData_) return;
    noMoreData_ = true;
    const std::int64_t size = source_->Size();
    std::uint8_t count = 0;
    while (source_->Read(&count, 1) == 1 && count != 0)
      if (source_->Seek(count, soFromCurrent) >= size) return;
  }

 private:
  bool NextBlock() {
    if (noMoreData_) return false;
    std::uint8_t count = 0;
    if (source_->Read(&count, 1) != 1 || count == 0) {
      noMoreData_ = true;
      return false;
    }
    if (source_->Read(block_, count) != count) throw EInvalidGraphic(kUnrecognized);
    length_ = count;
    pos_ = 0;
    return true;
  }

  TStream* source_;
  std::uint8_t block_[255] = {};
  int length_ = 0, pos_ = 0;
  std::uint32_t buffer_ = 0;
  int bits_ = 0;
  bool noMoreData_ = false;
};

// One pixel at a time from the code stream; tables and stack live in the object.
class GifLzwPixels {
 public:
  GifLzwPixels(TStream* source, int minimumCodeSize)
      : reader_(source), minimum_(minimumCodeSize), clear_(1 << minimumCodeSize), end_(clear_ + 1) {
    for (int code = 0; code < clear_; ++code) suffix_[code] = static_cast<std::uint8_t>(code);
    Reset();
  }

  // The next colour index, or a negative value once the data has ended.
  int Next() {
    if (sp_ > 0) return stack_[--sp_];
    for (;;) {
      const int code = reader_.Get(codeSize_);
      if (code < 0) return code;
      if (code == clear_) {
        Reset();
        continue;
      }
      if (code == end_) return Ended();
      if (fresh_) {
        if (code > end_) return Ended();  // no entries yet
        fresh_ = false;
        previous_ = first_ = code;
        return code;
      }
      if (code > next_) return Ended();  // beyond the table: damaged data
      int walk = code;
      if (code == next_) {
        stack_[sp_++] = static_cast<std::uint8_t>(first_);
        walk = previous_;
      }
      // Every entry's prefix is a lower code, so the walk ends; the bound guards the stack anyway.
      while (walk > end_) {
        if (sp_ >= kStackSize - 1) return Ended();
        stack_[sp_++] = suffix_[walk];
        walk = prefix_[walk];
      }
      first_ = walk;
      stack_[sp_++] = static_cast<std::uint8_t>(walk);
      if (next_ < kTableSize) {
        prefix_[next_] = static_cast<std::uint16_t>(previous_);
        suffix_[next_] = static_cast<std::uint8_t>(first_);
        if (++next_ >= limit_ && limit_ < kTableSize) {
          limit_ *= 2;
          ++codeSize_;
        }
      }
      previous_ = code;
      return stack_[--sp_];
    }
  }

  // Past the terminator, so the block scan after the image starts at the next block.
  void Finish() { reader_.SkipToTerminator(); }

 private:
  void Reset() {
    codeSize_ = minimum_ + 1;
    limit_ = 2 * clear_;
    next_ = clear_ + 2;
    sp_ = 0;
    fresh_ = true;
  }

  int Ended() {
    reader_.SkipToTerminator();
    sp_ = 0;
    return -2;
  }

  GifCodeReader reader_;
  const int minimum_, clear_, end_;
  int codeSize_ = 0, limit_ = 0, next_ = 0;
  int previous_ = 0, first_ = 0;
  bool fresh_ = true;
  std::uint16_t prefix_[kTableSize] = {};
  std::uint8_t suffix_[kTableSize] = {};
  std::uint8_t stack_[kStackSize] = {};
  int sp_ = 0;
};

// Fills one row; false when the data ended inside it.
bool FillRow(GifLzwPixels& pixels, std::uint8_t* row, int width) {
  for (int x = 0; x < width; ++x) {
    const int index = pixels.Next();
    if (index < 0) return false;
    row[x] = static_cast<std::uint8_t>(index);
  }
  return true;
}

}  // namespace

void GifLzwDecode(TStream* Source, int Height, int Width, bool Interlaced, std::uint8_t* Dest) {
  GifLzwDecodeRows(Source, Height, Width, Interlaced, Dest, TGifRowCallback{});
}

void GifLzwDecodeRows(TStream* Source, int Height, int Width, bool Interlaced, std::uint8_t* Dest,
                      const TGifRowCallback& OnRow) {
  std::uint8_t minimum = 0;
  if (Source->Read(&minimum, 1) != 1) return;
  if (minimum < 1 || minimum > kMaxMinimumCodeSize) throw EInvalidGraphic(kUnrecognized);
  if (Height <= 0 || Width <= 0) return;
  GifLzwPixels pixels(Source, minimum);
  const auto row = [&](int y) { return Dest + static_cast<std::ptrdiff_t>(y) * Width; };
  int done = 0;
  bool stopped = false;
  // False when the data ended or the caller stopped.
  const auto next = [&](int y) {
    if (!FillRow(pixels, row(y), Width)) return false;
    stopped = OnRow && !OnRow(++done);
    return !stopped;
  };
  const auto fill = [&] {
    if (!Interlaced) {
      for (int y = 0; y < Height; ++y)
        if (!next(y)) return;
      return;
    }
    static constexpr int kFirst[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kFirst[pass]; y < Height; y += kStep[pass])
        if (!next(y)) return;
  };
  fill();
  if (!stopped) pixels.Finish();
}

bool GifSkipSubBlocks(TStream* Source) {
  const std::int64_t size = Source->Size();
  std::uint8_t count = 0;
  for (;;) {
    if (Source->Read(&count, 1) != 1) return false;
    if (count == 0) return true;
    if (Source->Position() + count > size) {
      Source->Seek(0, soFromEnd);
      return false;
    }
    Source->Seek(count, soFromCurrent);
  }
}
