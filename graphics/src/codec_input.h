#pragma once
// Buffered byte input of the run-length and text codecs: 1024 bytes at a time, never past the end
// of the stream; running out raises the codec's "Unexpected end of file".
#include <algorithm>
#include <cstdint>
#include <string>

#include "graphics/messages.h"
#include "vcl/streams.h"

template <class TError>
class TCodecInput {
 public:
  TCodecInput(TStream* Stream, std::string Prefix) : stream_(Stream), prefix_(std::move(Prefix)) {}

  std::uint8_t Next() {
    std::uint8_t b = 0;
    if (!TryNext(b)) throw TError(prefix_ + PGLangStr(pgsUnexpectedEndOfFile));
    return b;
  }
  // False at the end of the stream.
  bool TryNext(std::uint8_t& Byte) {
    if (pos_ == fill_ && !Refill()) return false;
    Byte = buffer_[pos_++];
    return true;
  }
  // Bytes not handed out yet, buffered or in the stream.
  std::int64_t Left() const { return fill_ - pos_ + std::max<std::int64_t>(stream_->Size() - stream_->Position(), 0); }
  void Read(std::uint8_t* Out, int Count) {
    for (int i = 0; i < Count; ++i) Out[i] = Next();
  }

 private:
  bool Refill() {
    const std::int64_t left = std::min<std::int64_t>(sizeof buffer_, stream_->Size() - stream_->Position());
    if (left <= 0) return false;
    fill_ = static_cast<int>(stream_->Read(buffer_, left));
    pos_ = 0;
    return fill_ > 0;
  }

  TStream* stream_;
  std::string prefix_;
  std::uint8_t buffer_[1024] = {};
  int pos_ = 0;
  int fill_ = 0;
};
