// TStream and the memory streams.
#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "vcl/streams.h"

std::int64_t TStream::Size() {
  const std::int64_t position = Seek(0, soFromCurrent);
  const std::int64_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

void TStream::SetSize(std::int64_t) {}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* Source, std::int64_t Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(Count, 0xF000)));
  for (std::int64_t left = Count; left > 0;) {
    const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

void TCustomMemoryStream::SetPointer(void* Ptr, std::int64_t Size) {
  memory_ = Ptr;
  size_ = Size;
}

std::int64_t TCustomMemoryStream::Read(void* Buffer, std::int64_t Count) {
  if (Count <= 0 || position_ < 0 || position_ >= size_) return 0;
  const std::int64_t n = std::min(Count, size_ - position_);
  std::memcpy(Buffer, static_cast<const std::uint8_t*>(memory_) + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TCustomMemoryStream::Write(const void* Buffer, std::int64_t Count) {
  if (Count <= 0 || position_ < 0 || position_ >= size_) return 0;
  const std::int64_t n = std::min(Count, size_ - position_);
  std::memcpy(static_cast<std::uint8_t*>(memory_) + position_, Buffer, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t Offset, WORD Origin) {
  switch (Origin) {
    case soFromBeginning: position_ = Offset; break;
    case soFromCurrent: position_ += Offset; break;
    case soFromEnd: position_ = size_ + Offset; break;
    default: break;
  }
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) { Stream->WriteBuffer(memory_, size_); }

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
  if (Count <= 0 || position_ < 0) return 0;
  const std::int64_t end = position_ + Count;
  if (end > size_) SetSize(end);
  std::memcpy(data_.data() + position_, Buffer, static_cast<std::size_t>(Count));
  position_ = end;
  return Count;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Out of memory while expanding memory stream");
  try {
    data_.resize(static_cast<std::size_t>(NewSize));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
  SetPointer(data_.data(), NewSize);
  if (position_ > NewSize) position_ = NewSize;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  const std::int64_t count = Stream->Size();
  SetSize(count);
  if (count != 0) Stream->ReadBuffer(data_.data(), count);
  position_ = 0;
}
