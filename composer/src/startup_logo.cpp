#include "composer/startup_logo.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "bar_sections.h"
#include "vcl/filectrl.h"
#include "vcl/streams.h"
#include "vcl/sysutils.h"
#include "win32/kernel.h"
#include "win32/machine.h"

namespace {

constexpr int kBarTop = 380;
constexpr int kLogoHeight = 400;

[[noreturn]] void RaiseIOError(const std::string& What) {
  const DWORD code = GetLastError();
  throw EInOutError(What + " (error " + std::to_string(code) + ")", static_cast<int>(code));
}

class KernelFile {
 public:
  explicit KernelFile(const char* Name)
      : handle_(CreateFileA(Name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) RaiseIOError(std::string("Cannot open ") + Name);
  }
  ~KernelFile() { CloseHandle(handle_); }
  KernelFile(const KernelFile&) = delete;
  KernelFile& operator=(const KernelFile&) = delete;
  DWORD Read(void* Buffer, DWORD Count) {
    DWORD got = 0;
    if (!ReadFile(handle_, Buffer, Count, &got, nullptr)) RaiseIOError("Cannot read the logo file");
    return got;
  }
  void Seek(LONG Offset) {
    if (SetFilePointer(handle_, Offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
      RaiseIOError("Cannot seek in the logo file");
  }
  void Write(const void* Buffer, DWORD Count) {
    DWORD put = 0;
    if (!WriteFile(handle_, Buffer, Count, &put, nullptr) || put != Count) RaiseIOError("Cannot write the logo file");
  }

 private:
  HANDLE handle_;
};

std::vector<std::string> DraftNames() {
  constexpr int kMaxDraftNumber = 99;
  std::vector<std::string> names{kStartupLogoDraft};
  for (int n = 1; n <= kMaxDraftNumber; ++n) names.push_back("c:\\logo~" + std::to_string(n) + ".bmp");
  return names;
}

}  // namespace

void DrawLogoAnimationBar(TPixelGraphic* Image, int N, int S) {
  const int width = Image->GetWidth();
  ForEachBarSection(width, S, N, [&](int x0, int x1, int k) {
    const auto index = static_cast<std::uint8_t>(255 - N + k);
    for (int y = kBarTop; y < kLogoHeight; ++y)
      if (x1 > x0) std::memset(Image->ScanLine(y) + x0, index, static_cast<size_t>(x1 - x0));
  });
}

void PatchImportantColors(const char* FileName, DWORD Count) {
  KernelFile file(FileName);
  BYTE fileHeader[14];
  BYTE infoHeader[40];
  if (file.Read(fileHeader, sizeof fileHeader) != sizeof fileHeader) return;
  if (file.Read(infoHeader, sizeof infoHeader) != sizeof infoHeader) return;
  for (int i = 0; i < 4; ++i) infoHeader[36 + i] = static_cast<BYTE>(Count >> (8 * i));
  file.Seek(sizeof fileHeader);
  file.Write(infoHeader, sizeof infoHeader);
}

void ReplaceKeepingAttributes(const char* Draft, const char* Target) {
  std::string content;
  {
    TFileStream draft(Draft, fmOpenRead);
    content.resize(static_cast<std::size_t>(draft.Size()));
    draft.ReadBuffer(content.data(), static_cast<std::int64_t>(content.size()));
  }
  // The new logo takes the old one's permissions and attributes before it takes its place, so a
  // kill leaves either whole with them; the old file (or a link's target) is never changed.
  const bool replaced =
      machine::ReplaceFileAtomically(machine::HostPath(Target), content, machine::ReadOnlyTarget::Replace);
  const int error = errno;
  DeleteFileA(Draft);
  if (!replaced) throw EInOutError(std::string("Cannot replace ") + Target + ": " + std::strerror(error), error);
}

std::string CreateDraft() {
  const std::vector<std::string> names = DraftNames();
  for (const std::string& name : names) machine::RemoveIfOrphaned(machine::HostPath(name));
  for (const std::string& name : names) {
    if (machine::CreateOwnedFile(machine::HostPath(name))) return name;
    if (GetLastError() != ERROR_FILE_EXISTS) RaiseIOError("Cannot create " + name);
  }
  throw EInOutError("No free name for the logo's intermediate file beside c:\\logo.bmp", 0);
}
