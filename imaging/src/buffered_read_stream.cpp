#include "buffered_read_stream.h"

#include <algorithm>
#include <cstring>

TBufferedReadStream::TBufferedReadStream(TStream* Source)
    : source_(Source), size_(Source->Size()), position_(Source->Position()) {}

TBufferedReadStream::~TBufferedReadStream() { source_->Seek(position_, soFromBeginning); }

bool TBufferedReadStream::Refill() {
  start_ = position_;
  filled_ = 0;
  if (source_->Seek(start_, soFromBeginning) != start_) return false;
  filled_ = std::max<std::int64_t>(0, source_->Read(buffer_.data(), static_cast<std::int64_t>(buffer_.size())));
  return filled_ > 0;
}

std::int64_t TBufferedReadStream::Read(void* Buffer, std::int64_t Count) {
  auto* out = static_cast<std::uint8_t*>(Buffer);
  std::int64_t done = 0;
  while (done < Count) {
    const bool buffered = position_ >= start_ && position_ < start_ + filled_;
    if (!buffered && !Refill()) break;
    const std::int64_t n = std::min(Count - done, start_ + filled_ - position_);
    std::memcpy(out + done, buffer_.data() + (position_ - start_), static_cast<std::size_t>(n));
    position_ += n;
    done += n;
  }
  return done;
}

std::int64_t TBufferedReadStream::Write(const void*, std::int64_t) { return 0; }

std::int64_t TBufferedReadStream::Seek(std::int64_t Offset, WORD Origin) {
  const std::int64_t base = Origin == soFromBeginning ? 0 : Origin == soFromEnd ? size_ : position_;
  position_ = std::max<std::int64_t>(0, base + Offset);
  return position_;
}
