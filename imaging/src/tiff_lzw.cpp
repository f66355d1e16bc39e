#include "imaging/tiff_lzw.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace {

constexpr int kClear = 256, kEnd = 257, kFirstFree = 258, kTableSize = 4096;
// Decoded bytes kept before the current request, so most codes copy their string from where it
// was last written instead of walking their prefixes.
constexpr std::size_t kHistory = std::size_t{1} << 16;
constexpr std::size_t kCopyStep = 8;  // strings are copied in whole words, a little past their end

// Copies n bytes to a later place in the buffer in whole words; the source ends at or before the
// destination's start, so each word read lies wholly before what the copy has written.
void CopyString(std::uint8_t* to, const std::uint8_t* from, std::size_t n) {
  for (std::size_t i = 0; i < n; i += kCopyStep) {
    std::uint64_t word;
    std::memcpy(&word, from + i, sizeof word);
    std::memcpy(to + i, &word, sizeof word);
  }
}

// Each code keeps a prefix code and a last byte, and where its whole string was last written in
// the buffer; the prefix walk is needed only once that place has left the buffer.
class TiffLzwStrip {
 public:
  TiffLzwStrip(const std::uint8_t* data, std::size_t size, int request)
      : data_(data),
        bits_(static_cast<std::int64_t>(size) * 8),
        request_(static_cast<std::size_t>(std::max(request, 0))),
        size_(4 * kHistory + request_ + kTableSize + kCopyStep),
        out_(std::make_unique_for_overwrite<std::uint8_t[]>(size_)) {
    for (int c = 0; c < 256; ++c) {
      suffix_[c] = static_cast<std::uint8_t>(c);
      length_[c] = 1;
    }
    std::fill(std::begin(at_), std::end(at_), kNowhere);
  }

  bool Serves(int request) const { return request >= 0 && static_cast<std::size_t>(request) == request_; }

  const std::uint8_t* Next() {
    if (started_) start_ += request_;
    started_ = true;
    if (start_ + request_ + kTableSize + kCopyStep > size_) Compact();
    if (!ended_) Decode(start_ + request_);
    if (fill_ < start_ + request_) {
      std::memset(out_.get() + fill_, 0, start_ + request_ - fill_);
      fill_ = start_ + request_;
    }
    return out_.get() + start_;
  }

 private:
  static constexpr std::ptrdiff_t kNowhere = -1;

  // Keeps the bytes of the current request and the history before it at the buffer's front.
  void Compact() {
    const std::size_t keep = start_ > kHistory ? start_ - kHistory : 0;
    std::memmove(out_.get(), out_.get() + keep, fill_ - keep);
    const auto shift = static_cast<std::ptrdiff_t>(keep);
    for (std::ptrdiff_t& at : at_) at = at >= shift ? at - shift : kNowhere;
    lastAt_ = lastAt_ >= shift ? lastAt_ - shift : kNowhere;
    start_ -= keep;
    fill_ -= keep;
  }

  // Decodes until the buffer holds `goal` bytes, the strip ends or its data turns bad.
  void Decode(std::size_t goal) {
    std::uint8_t* const out = out_.get();
    std::size_t fill = fill_;
    int width = width_, next = next_, previous = previous_;
    std::int64_t position = position_;
    const std::int64_t bytes = bits_ / 8;

    const auto fetch = [&]() -> int {
      if (position + width > bits_) return -1;
      const std::int64_t index = position >> 3;
      std::uint32_t word;
      if (index + 4 <= bytes) {
        std::memcpy(&word, data_ + index, sizeof word);
        if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap32(word);
      } else {
        word = 0;
        for (int i = 0; i < 4; ++i) word = word << 8 | (index + i < bytes ? data_[index + i] : 0u);
      }
      const int code = static_cast<int>((word << (position & 7)) >> (32 - width));
      position += width;
      return code;
    };
    // The code's string at the fill; its length.
    const auto emit = [&](int code) -> int {
      if (code < 256) {
        out[fill] = static_cast<std::uint8_t>(code);
        return 1;
      }
      const int length = length_[code];
      if (at_[code] != kNowhere) {
        CopyString(out + fill, out + at_[code], static_cast<std::size_t>(length));
      } else {
        std::uint8_t* end = out + fill + length;
        int c = code;
        for (; c >= 256; c = prefix_[c]) *--end = suffix_[c];
        *--end = static_cast<std::uint8_t>(c);
      }
      at_[code] = static_cast<std::ptrdiff_t>(fill);
      return length;
    };
    // The previous string and the byte after it; a full table takes no more until the next clear.
    const auto add = [&](std::uint8_t last) {
      if (next >= kTableSize) return;
      prefix_[next] = static_cast<std::uint16_t>(previous);
      suffix_[next] = last;
      length_[next] = static_cast<std::uint16_t>(length_[previous] + 1);
      at_[next] = lastAt_;  // the previous string is followed by that byte in the buffer
      ++next;
      if (next == 511) width = 10;
      else if (next == 1023)
        width = 11;
      else if (next == 2047)
        width = 12;
    };
    const auto written = [&](std::size_t at) { lastAt_ = static_cast<std::ptrdiff_t>(at); };

    while (fill < goal) {
      int code = fetch();
      if (previous < 0 && code >= 0 && code != kClear) previous = code;  // no string to follow yet
      if (code == kClear) {
        next = kFirstFree;
        width = 9;
        do code = fetch();
        while (code == kClear);
        if (code < 0 || code == kEnd || code >= 256) {
          ended_ = true;
          break;
        }
        written(fill);
        fill += static_cast<std::size_t>(emit(code));
        previous = code;
        continue;
      }
      if (code < 0 || code == kEnd || code > next || (code >= 256 && code < kFirstFree) ||
          (code == next && lastAt_ == kNowhere)) {  // a code naming its own entry follows a string
        ended_ = true;
        break;
      }
      const std::size_t at = fill;
      if (code < next) {
        fill += static_cast<std::size_t>(emit(code));
        add(out[at]);
      } else {
        // The code names the entry it makes itself: the previous string, which ends here, and
        // that string's first byte.
        const std::uint8_t first = out[lastAt_];
        add(first);
        const int length = length_[code];
        CopyString(out + at, out + lastAt_, static_cast<std::size_t>(length - 1));
        out[at + static_cast<std::size_t>(length) - 1] = first;
        fill += static_cast<std::size_t>(length);
      }
      written(at);
      previous = code;
    }
    fill_ = fill;
    width_ = width;
    next_ = next;
    previous_ = previous;
    position_ = position;
  }

  const std::uint8_t* data_;
  const std::int64_t bits_;
  std::int64_t position_ = 0;
  const std::size_t request_;
  // Decoded bytes; none is used before it is written, so the block is not cleared first.
  const std::size_t size_;
  std::unique_ptr<std::uint8_t[]> out_;
  std::size_t start_ = 0, fill_ = 0;  // the current request's first byte; the end of decoded bytes
  bool started_ = false, ended_ = false;
  int width_ = 9, next_ = kFirstFree, previous_ = -1;
  std::ptrdiff_t lastAt_ = kNowhere;  // where the last code's string starts
  std::uint16_t prefix_[kTableSize] = {};
  std::uint8_t suffix_[kTableSize] = {};
  std::uint16_t length_[kTableSize] = {};
  std::ptrdiff_t at_[kTableSize];
};

}  // namespace

const std::uint8_t* TiffLzwDecode(const std::uint8_t* Data, std::size_t DataSize, int RequestSize, void*& State) {
  auto* strip = static_cast<TiffLzwStrip*>(State);
  if (!Data) {
    delete strip;
    return nullptr;
  }
  if (!strip) State = strip = new TiffLzwStrip(Data, DataSize, RequestSize);
  // The block is sized for the first request; a larger one would be read past its end.
  if (!strip->Serves(RequestSize)) return nullptr;
  return strip->Next();
}
