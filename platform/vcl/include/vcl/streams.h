#pragma once
// Streams: the abstract TStream, files through the kernel's file calls, and memory.
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/objects.h"
#include "vcl/sysutils.h"
#include "win32/types.h"

class EStreamError : public Exception {
  using Exception::Exception;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFilerError : public EStreamError {
  using EStreamError::EStreamError;
};
class EReadError : public EFilerError {
  using EFilerError::EFilerError;
};
class EWriteError : public EFilerError {
  using EFilerError::EFilerError;
};

// Seek origins.
constexpr WORD soFromBeginning = 0;
constexpr WORD soFromCurrent = 1;
constexpr WORD soFromEnd = 2;

class TStream : public TObject {
 public:
  // The number of bytes moved, which may be fewer than Count.
  virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
  virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
  // The new position.
  virtual std::int64_t Seek(std::int64_t Offset, WORD Origin) = 0;

  std::int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(std::int64_t Pos) { Seek(Pos, soFromBeginning); }
  std::int64_t Size();
  virtual void SetSize(std::int64_t NewSize);

  // All Count bytes or EReadError "Stream read error" / EWriteError "Stream write error".
  void ReadBuffer(void* Buffer, std::int64_t Count);
  void WriteBuffer(const void* Buffer, std::int64_t Count);
  // Count bytes from Source's position on; Count 0 copies the whole of Source from its start.
  std::int64_t CopyFrom(TStream* Source, std::int64_t Count);
};

// Open modes: one access mode or'ed with one share mode, or fmCreate.
constexpr WORD fmCreate = 0xFFFF;
constexpr WORD fmOpenRead = 0x0000;
constexpr WORD fmOpenWrite = 0x0001;
constexpr WORD fmOpenReadWrite = 0x0002;
constexpr WORD fmShareCompat = 0x0000;
constexpr WORD fmShareExclusive = 0x0010;
constexpr WORD fmShareDenyWrite = 0x0020;
constexpr WORD fmShareDenyRead = 0x0030;
constexpr WORD fmShareDenyNone = 0x0040;

class THandleStream : public TStream {
 public:
  explicit THandleStream(HANDLE AHandle) : handle_(AHandle) {}
  HANDLE Handle() const { return handle_; }
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, WORD Origin) override;
  void SetSize(std::int64_t NewSize) override;

 protected:
  HANDLE handle_;
};

// A file by its Windows path; EFCreateError "Cannot create file %s" or EFOpenError
// "Cannot open file %s" when it cannot be had.
class TFileStream : public THandleStream {
 public:
  TFileStream(const std::string& FileName, WORD Mode);
  ~TFileStream() override;
};

// A stream over a block of memory that it does not own: reads, and writes within the block.
class TCustomMemoryStream : public TStream {
 public:
  void SetPointer(void* Ptr, std::int64_t Size);
  void* Memory() const { return memory_; }
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, WORD Origin) override;
  void SaveToStream(TStream* Stream);
  void SaveToFile(const std::string& FileName);

 protected:
  void* memory_ = nullptr;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
};

// A stream over memory of its own that grows as it is written.
class TMemoryStream : public TCustomMemoryStream {
 public:
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  void SetSize(std::int64_t NewSize) override;
  void Clear() { SetSize(0); }
  // Replaces the content with the whole of Stream (from its start) or of the file.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const std::string& FileName);

 private:
  std::vector<std::uint8_t> data_;
};
