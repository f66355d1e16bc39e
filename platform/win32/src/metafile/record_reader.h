#pragma once
// Little-endian reads from one record of a metafile. A read past the end gives 0 and marks the
// record bad, so a handler reads all its fields first and then asks Bad() once.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "win32/types.h"

namespace metafile {

class RecordReader {
 public:
  RecordReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Size() const { return size_; }
  bool Bad() const { return bad_; }
  void MarkBad() { bad_ = true; }
  bool Has(std::size_t offset, std::size_t length) const { return offset <= size_ && length <= size_ - offset; }
  // `count` items of `itemSize` bytes from `offset` fit in the record (no overflow).
  bool HasArray(std::size_t offset, std::size_t count, std::size_t itemSize) const {
    return offset <= size_ && (itemSize == 0 || count <= (size_ - offset) / itemSize);
  }
  const BYTE* At(std::size_t offset) const { return data_ + offset; }

  std::uint32_t U32(std::size_t offset) {
    if (!Has(offset, 4)) return Fail();
    return static_cast<std::uint32_t>(data_[offset]) | static_cast<std::uint32_t>(data_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(data_[offset + 2]) << 16 | static_cast<std::uint32_t>(data_[offset + 3]) << 24;
  }
  std::int32_t S32(std::size_t offset) { return static_cast<std::int32_t>(U32(offset)); }
  std::uint16_t U16(std::size_t offset) {
    if (!Has(offset, 2)) return static_cast<std::uint16_t>(Fail());
    return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
  }
  std::int16_t S16(std::size_t offset) { return static_cast<std::int16_t>(U16(offset)); }
  BYTE U8(std::size_t offset) {
    if (!Has(offset, 1)) return static_cast<BYTE>(Fail());
    return data_[offset];
  }
  float F32(std::size_t offset) {
    std::uint32_t bits = U32(offset);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

 private:
  std::uint32_t Fail() {
    bad_ = true;
    return 0;
  }
  const BYTE* data_;
  std::size_t size_;
  bool bad_ = false;
};

}  // namespace metafile
