#pragma once
// Reading another stream through a buffer: readers that take a byte, a seek or the size at a
// time cost no call to the stream below for each, so a file is read in one pass of large reads.
#include <cstdint>
#include <vector>

#include "vcl/streams.h"

class TBufferedReadStream : public TStream {
 public:
  explicit TBufferedReadStream(TStream* Source);
  // Leaves the source where this stream stands.
  ~TBufferedReadStream() override;
  TBufferedReadStream(const TBufferedReadStream&) = delete;
  TBufferedReadStream& operator=(const TBufferedReadStream&) = delete;

  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  // Read only: writes nothing.
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, WORD Origin) override;

 private:
  static constexpr std::size_t kBufferBytes = 1 << 16;

  // Fills the buffer from this stream's position on; false at the end of the source.
  bool Refill();

  TStream* source_;
  std::int64_t size_;
  std::int64_t position_;
  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kBufferBytes);
  std::int64_t start_ = 0;  // the source's position of buffer_[0]
  std::int64_t filled_ = 0;
};
