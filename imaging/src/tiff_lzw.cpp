#include "imaging/tiff_lzw.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr int kClear = 256, kEnd = 257, kFirstFree = 258, kTableSize = 4096;

// Strings are kept as a prefix code and a last byte, so the table needs no allocation.
class TiffLzwStrip {
 public:
  TiffLzwStrip(const std::uint8_t* data, std::size_t size, int request)
      : data_(data), bits_(static_cast<std::int64_t>(size) * 8), request_(static_cast<std::size_t>(std::max(request, 0))),
        out_(request_ + kTableSize) {
    for (int c = 0; c < 256; ++c) {
      suffix_[c] = first_[c] = static_cast<std::uint8_t>(c);
      length_[c] = 1;
    }
    Reset();
  }

  const std::uint8_t* Next() {
    const std::size_t carried = fill_ > request_ ? fill_ - request_ : 0;
    if (carried) std::memmove(out_.data(), out_.data() + request_, carried);
    fill_ = carried;
    while (fill_ < request_ && !ended_) Step();
    if (fill_ < request_) std::memset(out_.data() + fill_, 0, request_ - fill_);
    return out_.data();
  }

 private:
  void Reset() {
    next_ = kFirstFree;
    width_ = 9;
  }

  int Fetch() {
    if (position_ + width_ > bits_) return -1;
    const std::int64_t index = position_ >> 3;
    if (index + 4 <= bits_ / 8) {
      std::uint32_t word;
      std::memcpy(&word, data_ + index, sizeof word);
      if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap32(word);
      const int code = static_cast<int>((word << (position_ & 7)) >> (32 - width_));
      position_ += width_;
      return code;
    }
    std::uint32_t v = 0;
    for (int i = 0; i < 3; ++i) v = v << 8 | (index + i < bits_ / 8 ? data_[index + i] : 0u);
    const int code = static_cast<int>((v << (position_ & 7)) >> (24 - width_) & ((1u << width_) - 1));
    position_ += width_;
    return code;
  }

  void Emit(int code) {
    const int length = length_[code];
    std::uint8_t* end = out_.data() + fill_ + length;
    for (int c = code; c >= 256; c = prefix_[c]) *--end = suffix_[c];
    *--end = static_cast<std::uint8_t>(code < 256 ? code : first_[code]);
    fill_ += static_cast<std::size_t>(length);
  }

  // The previous string and one byte; a full table takes no more until the next clear code.
  void Add(std::uint8_t last) {
    if (next_ >= kTableSize) return;
    prefix_[next_] = static_cast<std::uint16_t>(previous_);
    suffix_[next_] = last;
    first_[next_] = first_[previous_];
    length_[next_] = static_cast<std::uint16_t>(length_[previous_] + 1);
    ++next_;
    if (next_ == 511) width_ = 10;
    else if (next_ == 1023) width_ = 11;
    else if (next_ == 2047) width_ = 12;
  }

  void Step() {
    int code = Fetch();
    if (previous_ < 0 && code >= 0 && code != kClear) previous_ = code;
    if (code == kClear) {
      Reset();
      do code = Fetch();
      while (code == kClear);
      if (code < 0 || code == kEnd || code >= 256) {
        ended_ = true;
        return;
      }
      Emit(code);
      previous_ = code;
      return;
    }
    if (code < 0 || code == kEnd || code > next_ || (code >= 256 && code < kFirstFree) ||
        (code == next_ && previous_ == code)) {
      ended_ = true;
      return;
    }
    if (code < next_) {
      Emit(code);
      Add(first_[code]);
    } else {
      Add(first_[previous_]);  // the code names the entry it makes itself
      Emit(code);
    }
    previous_ = code;
  }

  const std::uint8_t* data_;
  const std::int64_t bits_;
  std::int64_t position_ = 0;
  const std::size_t request_;
  std::vector<std::uint8_t> out_;
  std::size_t fill_ = 0;
  int width_ = 9, next_ = kFirstFree, previous_ = -1;
  bool ended_ = false;
  std::uint16_t prefix_[kTableSize] = {};
  std::uint8_t suffix_[kTableSize] = {};
  std::uint8_t first_[kTableSize] = {};
  std::uint16_t length_[kTableSize] = {};
};

}  // namespace

const std::uint8_t* TiffLzwDecode(const std::uint8_t* Data, std::size_t DataSize, int RequestSize, void*& State) {
  auto* strip = static_cast<TiffLzwStrip*>(State);
  if (!Data) {
    delete strip;
    return nullptr;
  }
  if (!strip) State = strip = new TiffLzwStrip(Data, DataSize, RequestSize);
  return strip->Next();
}
