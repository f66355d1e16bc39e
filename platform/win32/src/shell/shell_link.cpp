// Shortcut files: the header, the link information block and the string data of the Shell Link
// binary format. We write ANSI strings and no item-id list: the shell finds the target through the
// link information's local base path.
#include <cstring>

#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/startup_group.h"

namespace shell {
namespace {

constexpr DWORD kHeaderSize = 0x4C;
constexpr BYTE kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr DWORD HasLinkTargetIDList = 0x01;
constexpr DWORD HasLinkInfo = 0x02;
constexpr DWORD HasName = 0x04;
constexpr DWORD HasRelativePath = 0x08;
constexpr DWORD HasWorkingDir = 0x10;
constexpr DWORD HasArguments = 0x20;
constexpr DWORD HasIconLocation = 0x40;
constexpr DWORD IsUnicode = 0x80;
constexpr DWORD VolumeIDAndLocalBasePath = 0x01;
constexpr DWORD kLinkInfoHeaderSize = 0x1C;
constexpr DWORD kDriveFixed = 3;

void Put32(std::string& out, DWORD v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& out, WORD v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

// Reads little-endian fields with bounds checks; any read past the end marks the reader failed.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  DWORD U32(size_t at) {
    if (at > bytes_.size() || bytes_.size() - at < 4) return Fail();
    DWORD v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<BYTE>(bytes_[at + static_cast<size_t>(i)]);
    return v;
  }
  WORD U16(size_t at) {
    if (at > bytes_.size() || bytes_.size() - at < 2) return static_cast<WORD>(Fail());
    return static_cast<WORD>(static_cast<BYTE>(bytes_[at]) | (static_cast<BYTE>(bytes_[at + 1]) << 8));
  }
  // A NUL-terminated string starting at `at`, which must end before `limit`.
  std::string CString(size_t at, size_t limit) {
    if (limit > bytes_.size() || at >= limit) return Fail(), std::string();
    size_t end = bytes_.find('\0', at);
    if (end == std::string_view::npos || end >= limit) return Fail(), std::string();
    return std::string(bytes_.substr(at, end - at));
  }
  std::string_view Span(size_t at, size_t count) {
    if (at > bytes_.size() || bytes_.size() - at < count) return Fail(), std::string_view();
    return bytes_.substr(at, count);
  }
  bool ok() const { return ok_; }

 private:
  DWORD Fail() {
    ok_ = false;
    return 0;
  }
  std::string_view bytes_;
  bool ok_ = true;
};

std::string LinkInfo(const std::string& target) {
  std::string volume;
  Put32(volume, 0x10 + 1);  // VolumeIDSize: the fields and an empty label
  Put32(volume, kDriveFixed);
  Put32(volume, 0);  // serial number unknown
  Put32(volume, 0x10);  // the label follows the fields
  volume.push_back('\0');

  const DWORD volumeOffset = kLinkInfoHeaderSize;
  const DWORD basePathOffset = volumeOffset + static_cast<DWORD>(volume.size());
  const DWORD suffixOffset = basePathOffset + static_cast<DWORD>(target.size()) + 1;
  const DWORD size = suffixOffset + 1;
  std::string info;
  Put32(info, size);
  Put32(info, kLinkInfoHeaderSize);
  Put32(info, VolumeIDAndLocalBasePath);
  Put32(info, volumeOffset);
  Put32(info, basePathOffset);
  Put32(info, 0);  // no network location
  Put32(info, suffixOffset);
  info += volume;
  info += target;
  info.push_back('\0');
  info.push_back('\0');  // empty common path suffix
  return info;
}

void PutString(std::string& out, const std::string& s) {
  Put16(out, static_cast<WORD>(s.size()));
  out += s;
}

}  // namespace

std::string EncodeLink(const Link& link) {
  DWORD flags = HasLinkInfo;
  if (!link.Description.empty()) flags |= HasName;
  if (!link.WorkingDirectory.empty()) flags |= HasWorkingDir;
  if (!link.Arguments.empty()) flags |= HasArguments;
  if (!link.IconLocation.empty()) flags |= HasIconLocation;

  std::string out;
  Put32(out, kHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClsid), sizeof kLinkClsid);
  Put32(out, flags);
  Put32(out, FILE_ATTRIBUTE_ARCHIVE);
  out.append(24, '\0');  // creation, access and write times unknown
  Put32(out, 0);  // target size unknown
  Put32(out, static_cast<DWORD>(link.IconIndex));
  Put32(out, static_cast<DWORD>(link.ShowCommand));
  Put16(out, 0);  // no hot key
  out.append(10, '\0');
  out += LinkInfo(link.Target);
  if (flags & HasName) PutString(out, link.Description);
  if (flags & HasWorkingDir) PutString(out, link.WorkingDirectory);
  if (flags & HasArguments) PutString(out, link.Arguments);
  if (flags & HasIconLocation) PutString(out, link.IconLocation);
  Put32(out, 0);  // terminal block
  return out;
}

std::optional<Link> DecodeLink(std::string_view bytes) {
  Reader r(bytes);
  if (r.U32(0) != kHeaderSize || r.Span(4, 16) != std::string_view(reinterpret_cast<const char*>(kLinkClsid), 16))
    return std::nullopt;
  const DWORD flags = r.U32(20);
  Link link;
  link.IconIndex = static_cast<int>(r.U32(56));
  link.ShowCommand = static_cast<int>(r.U32(60));
  if (!r.ok()) return std::nullopt;
  size_t at = kHeaderSize;
  if (flags & HasLinkTargetIDList) at += 2 + size_t{r.U16(at)};
  if (flags & HasLinkInfo) {
    const size_t size = r.U32(at);
    const DWORD infoFlags = r.U32(at + 8);
    if (!r.ok() || size < kLinkInfoHeaderSize || size > bytes.size() - at) return std::nullopt;
    if (infoFlags & VolumeIDAndLocalBasePath) {
      const size_t base = r.U32(at + 16);
      if (base >= size) return std::nullopt;
      link.Target = r.CString(at + base, at + size);
    }
    at += size;
  }
  const bool unicode = flags & IsUnicode;
  auto string = [&](DWORD flag, std::string& into) {
    if (!(flags & flag) || !r.ok()) return;
    const size_t count = r.U16(at);
    std::string_view chars = r.Span(at + 2, unicode ? 2 * count : count);
    at += 2 + chars.size();
    if (!unicode) into = std::string(chars);
    else
      for (size_t i = 0; i + 1 < chars.size(); i += 2)  // our strings are Latin-1
        into.push_back(chars[i + 1] ? '?' : chars[i]);
  };
  std::string relativePath;
  string(HasName, link.Description);
  string(HasRelativePath, relativePath);
  string(HasWorkingDir, link.WorkingDirectory);
  string(HasArguments, link.Arguments);
  string(HasIconLocation, link.IconLocation);
  if (!r.ok()) return std::nullopt;
  return link;
}

bool WriteLink(const std::string& linkPath, const Link& link) {
  const std::filesystem::path host = machine::HostPath(linkPath);
  if (host.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  if (!machine::ReplaceFileAtomically(host, EncodeLink(link))) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED);
    return false;
  }
  StartUpFileChanged(host);
  return true;
}

std::optional<Link> ReadLink(const std::string& linkPath) {
  HANDLE file = CreateFileA(linkPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  std::optional<Link> link = DecodeLink(bytes);
  if (!link) SetLastError(ERROR_INVALID_PARAMETER);
  return link;
}

}  // namespace shell
