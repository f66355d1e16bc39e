#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "kernel_internal.h"
#include "win32/machine.h"

namespace fs = std::filesystem;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  std::size_t start = 0, end = text.size();
  while (start < end && IsBlank(text[start])) ++start;
  while (end > start && IsBlank(text[end - 1])) --end;
  return text.substr(start, end - start);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto fa = static_cast<unsigned char>(a[i]), fb = static_cast<unsigned char>(b[i]);
    if (std::tolower(fa) != std::tolower(fb)) return false;
  }
  return true;
}

enum class Kind { Blank, Comment, Section, Entry };

struct Line {
  std::string text;  // without its line ending
  std::string ending;  // as found, so untouched lines are written back byte for byte
  Kind kind = Kind::Blank;
  std::string name;  // section name or key, trimmed
  std::string value;  // trimmed, quotes kept
};

// What a line is, as views into its text.
struct LineView {
  Kind kind = Kind::Blank;
  std::string_view name;  // section name or key, trimmed
  std::string_view value;  // trimmed, quotes kept
  bool hasValue = false;  // an entry with "="
};

LineView ClassifyView(std::string_view text) {
  LineView line;
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty()) return line;
  if (trimmed[0] == ';') {
    line.kind = Kind::Comment;
  } else if (trimmed[0] == '[') {
    line.kind = Kind::Section;
    const std::size_t close = trimmed.find(']');
    line.name = Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  } else {
    line.kind = Kind::Entry;
    const std::size_t equals = trimmed.find('=');
    line.name = Trim(trimmed.substr(0, equals));
    line.hasValue = equals != std::string_view::npos;
    if (line.hasValue) line.value = Trim(trimmed.substr(equals + 1));
  }
  return line;
}

Line Classify(std::string text, std::string ending) {
  const LineView view = ClassifyView(text);
  Line line;
  line.kind = view.kind;
  line.name = view.name;
  line.value = view.value;
  line.text = std::move(text);
  line.ending = std::move(ending);
  return line;
}

struct Profile {
  fs::path host;
  bool exists = false;
  std::vector<Line> lines;

  // Index of the first header of `section`, or lines.size().
  std::size_t FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].kind == Kind::Section && EqualNoCase(lines[i].name, section)) return i;
    return lines.size();
  }
  // One past the last line of the section whose header is at `header`.
  std::size_t SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != Kind::Section) ++i;
    return i;
  }
  std::size_t FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
      if (lines[i].kind == Kind::Entry && EqualNoCase(lines[i].name, key)) return i;
    return lines.size();
  }
  std::string Ending() const {
    for (const Line& line : lines)
      if (!line.ending.empty()) return line.ending;
    return "\r\n";
  }
};

// A file name without a folder lies in the Windows folder, as Windows looks for it there.
std::string ProfilePath(LPCSTR fileName) {
  const std::string name = fileName;
  if (name.find_first_of("\\/:") == std::string::npos) return "C:\\WINDOWS\\" + name;
  return name;
}

std::optional<fs::path> ProfileHost(LPCSTR fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  return kernel::Resolve(ProfilePath(fileName).c_str());
}

bool Load(LPCSTR fileName, Profile& profile) {
  const auto host = ProfileHost(fileName);
  if (!host) return false;
  profile.host = *host;
  std::ifstream in(*host, std::ios::binary);
  profile.exists = in.is_open();
  if (!profile.exists) {
    SetLastError(kernel::MissingError(*host));
    return true;
  }
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool newline = end != std::string::npos;
    if (!newline) end = text.size();
    std::size_t textEnd = end;
    const bool carriageReturn = textEnd > start && text[textEnd - 1] == '\r';
    if (carriageReturn) --textEnd;
    const std::string ending = std::string(carriageReturn ? "\r" : "") + (newline ? "\n" : "");
    profile.lines.push_back(Classify(text.substr(start, textEnd - start), ending));
    start = end + 1;
  }
  return true;
}

bool Save(Profile& profile) {
  std::string content;
  for (const Line& line : profile.lines) content += line.text + line.ending;
  if (!machine::ReplaceFileAtomically(profile.host, content)) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : kernel::ErrorFromErrno(errno));
    return false;
  }
  return true;
}

std::string StripQuotes(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// A string cut to fit the buffer: the length copied.
DWORD CopyString(const std::string& text, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<DWORD>(length);
}

// Items each ended by a NUL, the list by another. A list cut to fit still ends in two NULs and
// gives size - 2.
DWORD CopyList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::string list;
  for (const std::string& item : items) list += item + '\0';
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty() && size > 1) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = buffer[size - 1] = '\0';
  return size - 2;
}

// Reads a profile line by line for the calls that only look: `visit` gets each line's text without
// its ending and returns false to stop. One line is held at a time, so a large file (a joke file's
// data under its header) costs no more than its longest line. A file that cannot be opened has no
// lines.
template <class Visit>
void ForEachLine(const fs::path& host, Visit visit) {
  std::ifstream in(host, std::ios::binary);
  if (!in.is_open()) SetLastError(kernel::MissingError(host));
  std::string text;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (!visit(ClassifyView(text))) break;
  }
}

// Calls `visit` with the lines of the first section named `section` (its entries, comments and
// blank lines) until it returns false.
template <class Visit>
void ForEachSectionLine(const fs::path& host, std::string_view section, Visit visit) {
  bool inSection = false;
  ForEachLine(host, [&](const LineView& line) {
    if (line.kind == Kind::Section) {
      if (inSection) return false;  // only the first section of that name counts
      inSection = EqualNoCase(line.name, section);
      return true;
    }
    return !inSection || visit(line);
  });
}

std::vector<std::string> SectionNames(const fs::path& host) {
  std::vector<std::string> names;
  ForEachLine(host, [&](const LineView& line) {
    if (line.kind != Kind::Section) return true;
    const bool seen =
        std::any_of(names.begin(), names.end(), [&](const std::string& n) { return EqualNoCase(n, line.name); });
    if (!seen) names.emplace_back(line.name);
    return true;
  });
  return names;
}

std::vector<std::string> SectionLines(const fs::path& host, std::string_view section, bool keysOnly) {
  std::vector<std::string> items;
  ForEachSectionLine(host, section, [&](const LineView& line) {
    if (line.kind != Kind::Entry) return true;
    if (keysOnly || !line.hasValue) items.emplace_back(line.name);
    else
      items.push_back(std::string(line.name) + "=" + std::string(line.value));
    return true;
  });
  return items;
}

// The value of a key with its quotes stripped, or nothing.
std::optional<std::string> Lookup(const fs::path& host, std::string_view section, std::string_view key) {
  std::optional<std::string> value;
  ForEachSectionLine(host, section, [&](const LineView& line) {
    if (line.kind == Kind::Entry && EqualNoCase(line.name, key)) value = StripQuotes(std::string(line.value));
    return !value;
  });
  return value;
}

bool HasLineBreak(LPCSTR text) { return text && std::strpbrk(text, "\r\n"); }

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName) {
  const auto host = ProfileHost(lpFileName);
  if (!host) return CopyString("", lpReturnedString, nSize);
  if (!lpAppName) return CopyList(SectionNames(*host), lpReturnedString, nSize);
  if (!lpKeyName) return CopyList(SectionLines(*host, lpAppName, true), lpReturnedString, nSize);
  if (auto value = Lookup(*host, lpAppName, lpKeyName)) return CopyString(*value, lpReturnedString, nSize);
  std::string fallback = lpDefault ? lpDefault : "";
  while (!fallback.empty() && IsBlank(fallback.back())) fallback.pop_back();
  return CopyString(fallback, lpReturnedString, nSize);
}

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
  if (!lpAppName || !lpKeyName) return static_cast<UINT>(nDefault);
  const auto host = ProfileHost(lpFileName);
  if (!host) return static_cast<UINT>(nDefault);
  const auto value = Lookup(*host, lpAppName, lpKeyName);
  if (!value || value->empty()) return static_cast<UINT>(nDefault);
  // The leading number; text after it is ignored and a value without digits reads as 0.
  const long long number = std::strtoll(value->c_str(), nullptr, 10);
  return static_cast<UINT>(number);
}

DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
  const auto host = lpAppName ? ProfileHost(lpFileName) : std::nullopt;
  if (!host) return CopyList({}, lpReturnedString, nSize);
  return CopyList(SectionLines(*host, lpAppName, false), lpReturnedString, nSize);
}

DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) {
  const auto host = ProfileHost(lpFileName);
  if (!host) return CopyList({}, lpszReturnBuffer, nSize);
  return CopyList(SectionNames(*host), lpszReturnBuffer, nSize);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
  if (!lpAppName) {
    // With nothing to write this only asks to flush a cache, which there is not.
    if (lpKeyName || lpString) SetLastError(ERROR_INVALID_PARAMETER);
    return !lpKeyName && !lpString;
  }
  // A line break would write lines (even sections) the caller never meant.
  if (HasLineBreak(lpAppName) || HasLineBreak(lpKeyName) || HasLineBreak(lpString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Profile profile;
  if (!Load(lpFileName, profile)) return FALSE;
  if (profile.exists && (kernel::AttributesOf(profile.host) & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  auto& lines = profile.lines;
  const std::size_t header = profile.FindSection(lpAppName);
  const bool hasSection = header < lines.size();

  if (!lpKeyName) {
    if (!hasSection) return TRUE;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header),
                lines.begin() + static_cast<std::ptrdiff_t>(profile.SectionEnd(header)));
    return Save(profile);
  }
  const std::size_t key = hasSection ? profile.FindKey(header, lpKeyName) : lines.size();
  if (!lpString) {
    if (key == lines.size()) return TRUE;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(key));
    return Save(profile);
  }

  const std::string ending = profile.Ending();
  const std::string entry = std::string(lpKeyName) + "=" + lpString;
  if (key < lines.size()) {
    lines[key] = Classify(entry, lines[key].ending);
    return Save(profile);
  }
  std::size_t at;
  if (hasSection) {
    at = profile.SectionEnd(header);
    while (at > header + 1 && lines[at - 1].kind == Kind::Blank) --at;  // before the blank lines
  } else {
    if (!lines.empty() && lines.back().kind != Kind::Blank) lines.push_back(Classify("", ending));
    std::string sectionLine = "[";
    sectionLine.append(lpAppName).append("]");
    lines.push_back(Classify(sectionLine, ending));
    at = lines.size();
  }
  if (at > 0 && lines[at - 1].ending.empty()) lines[at - 1].ending = ending;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Classify(entry, ending));
  return Save(profile);
}
