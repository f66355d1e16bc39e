// File-name parts of Windows paths.
#include "vcl/sysutils.h"

namespace {

// Index just past the last of `delimiters` in s, 0 when there is none.
std::size_t PastLast(const std::string& s, const char* delimiters) {
  const auto i = s.find_last_of(delimiters);
  return i == std::string::npos ? 0 : i + 1;
}

}  // namespace

std::string ExtractFilePath(const std::string& fileName) { return fileName.substr(0, PastLast(fileName, "\\:")); }

std::string ExtractFileName(const std::string& fileName) { return fileName.substr(PastLast(fileName, "\\:")); }

std::string ExtractFileExt(const std::string& fileName) {
  const std::size_t i = PastLast(fileName, ".\\:");
  return i > 0 && fileName[i - 1] == '.' ? fileName.substr(i - 1) : std::string();
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
  const std::size_t i = PastLast(fileName, ".\\:");
  return (i > 0 && fileName[i - 1] == '.' ? fileName.substr(0, i - 1) : fileName) + extension;
}
