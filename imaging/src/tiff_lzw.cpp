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

  // The decoder's moving parts, held in locals while it runs: stores to the buffer could alias
  // the members, which would then be reloaded at every code. The steps that take them are always
  // inlined, so that the locals stay in registers.
  struct Cursor {
    std::size_t fill;
    int width, next, previous;
    std::int64_t position;
  };

  // The next code of the current width; -1 past the data.
  [[gnu::always_inline]] int Fetch(Cursor& c) const {
    if (c.position + c.width > bits_) return -1;
    const std::int64_t bytes = bits_ / 8;
    const std::int64_t index = c.position >> 3;
    std::uint32_t word;
    if (index + 4 <= bytes) {
      std::memcpy(&word, data_ + index, sizeof word);
      if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap32(word);
    } else {
      word = 0;
      for (int i = 0; i < 4; ++i) word = word << 8 | (index + i < bytes ? data_[index + i] : 0u);
    }
    const int code = static_cast<int>((word << (c.position & 7)) >> (32 - c.width));
    c.position += c.width;
    return code;
  }

  // The code's string at the fill; its length.
  [[gnu::always_inline]] int Emit(std::uint8_t* out, std::size_t fill, int code) {
    if (code < 256) {
      out[fill] = static_cast<std::uint8_t>(code);
      return 1;
    }
    const int length = length_[code];
    if (at_[code] != kNowhere) {
      CopyString(out + fill, out + at_[code], static_cast<std::size_t>(length));
    } else {
      std::uint8_t* end = out + fill + length;
      int k = code;
      for (; k >= 256; k = prefix_[k]) *--end = suffix_[k];
      *--end = static_cast<std::uint8_t>(k);
    }
    at_[code] = static_cast<std::ptrdiff_t>(fill);
    return length;
  }

  // The previous string and the byte after it; a full table takes no more until the next clear.
  [[gnu::always_inline]] void Add(Cursor& c, std::uint8_t last) {
    if (c.next >= kTableSize) return;
    prefix_[c.next] = static_cast<std::uint16_t>(c.previous);
    suffix_[c.next] = last;
    length_[c.next] = static_cast<std::uint16_t>(length_[c.previous] + 1);
    at_[c.next] = lastAt_;  // the previous string is followed by that byte in the buffer
    ++c.next;
    if (c.next == 511) c.width = 10;
    else if (c.next == 1023)
      c.width = 11;
    else if (c.next == 2047)
      c.width = 12;
  }

  // An emptied table and the first code after it; false when that code cannot start a string.
  [[gnu::always_inline]] bool Restart(std::uint8_t* out, Cursor& c) {
    c.next = kFirstFree;
    c.width = 9;
    int code;
    do code = Fetch(c);
    while (code == kClear);
    if (code < 0 || code == kEnd || code >= 256) return false;
    lastAt_ = static_cast<std::ptrdiff_t>(c.fill);
    c.fill += static_cast<std::size_t>(Emit(out, c.fill, code));
    c.previous = code;
    return true;
  }

  // One code's string and the entry it makes; false when the code is the end or bad.
  [[gnu::always_inline]] bool Expand(std::uint8_t* out, Cursor& c, int code) {
    if (code < 0 || code == kEnd || code > c.next || (code >= 256 && code < kFirstFree) ||
        (code == c.next && lastAt_ == kNowhere))  // a code naming its own entry follows a string
      return false;
    const std::size_t at = c.fill;
    if (code < c.next) {
      c.fill += static_cast<std::size_t>(Emit(out, at, code));
      Add(c, out[at]);
    } else {
      // The code names the entry it makes itself: the previous string, which ends here, and
      // that string's first byte.
      const std::uint8_t first = out[lastAt_];
      Add(c, first);
      const int length = length_[code];
      CopyString(out + at, out + lastAt_, static_cast<std::size_t>(length - 1));
      out[at + static_cast<std::size_t>(length) - 1] = first;
      c.fill += static_cast<std::size_t>(length);
    }
    lastAt_ = static_cast<std::ptrdiff_t>(at);
    c.previous = code;
    return true;
  }

  // Decodes until the buffer holds `goal` bytes, the strip ends or its data turns bad.
  void Decode(std::size_t goal) {
    std::uint8_t* const out = out_.get();
    Cursor c{fill_, width_, next_, previous_, position_};
    while (c.fill < goal) {
      const int code = Fetch(c);
      if (c.previous < 0 && code >= 0 && code != kClear) c.previous = code;  // no string to follow yet
      if (!(code == kClear ? Restart(out, c) : Expand(out, c, code))) {
        ended_ = true;
        break;
      }
    }
    fill_ = c.fill;
    width_ = c.width;
    next_ = c.next;
    previous_ = c.previous;
    position_ = c.position;
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
