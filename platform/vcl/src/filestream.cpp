// Streams on files, through the kernel's file calls.
#include <algorithm>

#include "vcl/streams.h"
#include "win32/kernel.h"

std::int64_t THandleStream::Read(void* Buffer, std::int64_t Count) {
  DWORD done = 0;
  if (Count <= 0 ||
      !ReadFile(handle_, Buffer, static_cast<DWORD>(std::min<std::int64_t>(Count, 0x7FFFFFFF)), &done, nullptr))
    return 0;
  return done;
}

std::int64_t THandleStream::Write(const void* Buffer, std::int64_t Count) {
  DWORD done = 0;
  if (Count <= 0 ||
      !WriteFile(handle_, Buffer, static_cast<DWORD>(std::min<std::int64_t>(Count, 0x7FFFFFFF)), &done, nullptr))
    return 0;
  return done;
}

std::int64_t THandleStream::Seek(std::int64_t Offset, WORD Origin) {
  LONG high = static_cast<LONG>(Offset >> 32);
  SetLastError(ERROR_SUCCESS);
  const DWORD low = SetFilePointer(handle_, static_cast<LONG>(Offset & 0xFFFFFFFF), &high, Origin);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS) return -1;
  return (static_cast<std::int64_t>(high) << 32) | low;
}

void THandleStream::SetSize(std::int64_t NewSize) {
  Seek(NewSize, soFromBeginning);
  if (!SetEndOfFile(handle_)) throw EWriteError("Stream write error");
}

namespace {

HANDLE OpenFile(const std::string& fileName, WORD mode) {
  if (mode == fmCreate)
    return CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  constexpr DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  constexpr DWORD share[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const unsigned accessMode = mode & 0x3;
  const unsigned shareMode = (mode & 0xF0) >> 4;
  if (accessMode > 2 || shareMode > 4) return INVALID_HANDLE_VALUE;
  return CreateFileA(fileName.c_str(), access[accessMode], share[shareMode], nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TFileStream::TFileStream(const std::string& FileName, WORD Mode) : THandleStream(OpenFile(FileName, Mode)) {
  if (handle_ != INVALID_HANDLE_VALUE) return;
  if (Mode == fmCreate) throw EFCreateError("Cannot create file %s", {FileName});
  throw EFOpenError("Cannot open file %s", {FileName});
}

TFileStream::~TFileStream() { CloseHandle(handle_); }

void TCustomMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}
