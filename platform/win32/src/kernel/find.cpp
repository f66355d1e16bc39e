#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "kernel_internal.h"
#include "win32/machine.h"

namespace fs = std::filesystem;

namespace {

std::string Folded(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool MakeEntry(const fs::path& host, const std::string& name, WIN32_FIND_DATAA& entry) {
  struct stat st {};
  if (name.size() >= MAX_PATH || ::stat(host.c_str(), &st) != 0) return false;
  entry = WIN32_FIND_DATAA{};
  entry.dwFileAttributes = kernel::AttributesOf(host);
  entry.ftCreationTime = kernel::FileTimeOf(st.st_mtim);  // the host keeps no creation time
  entry.ftLastAccessTime = kernel::FileTimeOf(st.st_atim);
  entry.ftLastWriteTime = kernel::FileTimeOf(st.st_mtim);
  if (!S_ISDIR(st.st_mode)) {
    const auto size = static_cast<std::uint64_t>(st.st_size);
    entry.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    entry.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
  }
  std::memcpy(entry.cFileName, name.c_str(), name.size() + 1);
  return true;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
  const std::string pattern = lpFileName ? lpFileName : "";
  const std::string full = machine::FullWindowsPath(pattern);
  if (full.empty() || pattern.ends_with('\\') || pattern.ends_with('/')) {
    SetLastError(full.empty() ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const std::size_t split = full.find_last_of('\\');
  const std::string mask = full.substr(split + 1);
  const std::string folderPath = full.substr(0, std::max<std::size_t>(split, 3));  // "C:\" keeps its "\"
  const fs::path folder = machine::HostPath(folderPath);
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }

  auto find = std::make_shared<kernel::FindObject>();
  if (split > 2) {  // a drive's root has no "." and ".."
    for (const char* dots : {".", ".."}) {
      WIN32_FIND_DATAA entry;
      if (machine::MatchesMask(dots, mask) && MakeEntry(folder / dots, dots, entry)) find->entries.push_back(entry);
    }
  }
  std::vector<WIN32_FIND_DATAA> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    WIN32_FIND_DATAA entry;
    if (machine::MatchesMask(name, mask) && MakeEntry(it->path(), name, entry)) found.push_back(entry);
  }
  std::sort(found.begin(), found.end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    const std::string fa = Folded(a.cFileName), fb = Folded(b.cFileName);
    return fa != fb ? fa < fb : std::strcmp(a.cFileName, b.cFileName) < 0;
  });
  find->entries.insert(find->entries.end(), found.begin(), found.end());
  if (find->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  if (lpFindFileData) *lpFindFileData = find->entries[0];
  find->next = 1;
  SetLastError(ERROR_SUCCESS);
  return kernel::RegisterFind(std::move(find));
}

BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
  const auto find = kernel::FindOf(hFindFile);
  if (!find) return FALSE;
  if (find->next >= find->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  if (lpFindFileData) *lpFindFileData = find->entries[find->next];
  ++find->next;
  return TRUE;
}

BOOL FindClose(HANDLE hFindFile) { return kernel::CloseFind(hFindFile) ? TRUE : FALSE; }
