#include <algorithm>
#include <cstdio>
#include <map>

#include "win32/registry.h"
#include "win32/registry_file.h"

namespace registry {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A whole field of 1 to `maxDigits` hex digits.
std::optional<DWORD> ParseHexNumber(std::string_view s, std::size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  DWORD n = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    n = (n << 4) | static_cast<DWORD>(d);
  }
  return n;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

// A name under the key numbered `parent`, ordered as the registry orders names.
struct NameUnder {
  std::size_t parent;
  std::string name;
};

struct LessNameUnder {
  bool operator()(const NameUnder& a, const NameUnder& b) const {
    if (a.parent != b.parent) return a.parent < b.parent;
    return LessNoCase(a.name, b.name);
  }
};

// Sub-keys are read in the file's order; the tree keeps them in the registry's.
void SortSubKeys(Key& key) {
  std::sort(key.subKeys.begin(), key.subKeys.end(),
            [](const Key& a, const Key& b) { return LessNoCase(a.name, b.name); });
  for (Key& sub : key.subKeys) SortSubKeys(sub);
}

class Parser {
 public:
  Parser(std::string_view text, std::string_view rootName) : text_(text), rootName_(rootName) {}

  ParseResult Run() {
    ParseResult result;
    result.root.name = std::string(rootName_);
    if (auto error = Parse(result.root)) {
      result.root = Key{std::string(rootName_), {}, {}};
      result.error = ParseError{line_, std::move(*error)};
    } else {
      SortSubKeys(result.root);
    }
    return result;
  }

 private:
  std::string_view text_;
  std::string_view rootName_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;

  // Every key and value read so far, found through these indexes rather than by searching its
  // key's vectors, so a hive of n entries reads in O(n log n). Keys are numbered as they are met
  // (the root is 0); positions in the vectors stay valid while they only grow.
  struct KeyEntry {
    std::size_t number;
    std::size_t position;
  };
  std::map<NameUnder, KeyEntry, LessNameUnder> keys_;
  std::map<NameUnder, std::size_t, LessNameUnder> values_;
  std::size_t currentNumber_ = 0;

  // The next physical line without its line end; false at the end of the text.
  bool NextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++line_;
    return true;
  }

  std::optional<std::string> Parse(Key& root) {
    std::string_view line;
    if (!NextLine(line) || line != kHeader) {
      line_ = 1;
      return "the file does not begin with the line REGEDIT4";
    }
    Key* current = nullptr;
    while (NextLine(line)) {
      line = Trim(line);
      if (line.empty() || line.front() == ';') continue;
      std::optional<std::string> error;
      if (line.front() == '[') error = ParseSection(line, root, current);
      else if (!current)
        error = "a value line before the first [key] line";
      else
        error = ParseValue(line, *current);
      if (error) return error;
    }
    return std::nullopt;
  }

  std::optional<std::string> ParseSection(std::string_view line, Key& root, Key*& current) {
    if (line.back() != ']') return "a [key] line without its closing ]";
    std::string_view path = line.substr(1, line.size() - 2);
    if (!path.empty() && path.front() == '-') return "a key deletion entry, which a stored hive cannot hold";
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
      const std::size_t end = path.find('\\', start);
      parts.push_back(path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    if (!EqualNoCase(parts.front(), rootName_)) return "a key outside " + std::string(rootName_);
    if (parts.size() - 1 > kMaxKeyDepth) return "a key nested deeper than the registry allows";
    Key* key = &root;
    std::size_t number = 0;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      if (parts[i].empty()) return "a key path with an empty name in it";
      const auto [entry, added] =
          keys_.try_emplace(NameUnder{number, std::string(parts[i])}, KeyEntry{keys_.size() + 1, key->subKeys.size()});
      if (added) key->subKeys.push_back(Key{std::string(parts[i]), {}, {}});
      number = entry->second.number;
      key = &key->subKeys[entry->second.position];
    }
    current = key;
    currentNumber_ = number;
    return std::nullopt;
  }

  // Key::SetValue through the index: a repeated name replaces the data and keeps its first name.
  void SetValue(Key& key, const std::string& name, DWORD type, std::vector<BYTE> data) {
    const auto [entry, added] = values_.try_emplace(NameUnder{currentNumber_, name}, key.values.size());
    if (added) {
      key.values.push_back(Value{name, type, std::move(data)});
      return;
    }
    Value& value = key.values[entry->second];
    value.type = type;
    value.data = std::move(data);
  }

  // A quoted string with the \\ and \" escapes, starting at text[at] == '"'; `at` ends after it.
  static std::optional<std::string> ParseQuoted(std::string_view text, std::size_t& at, std::string& error) {
    std::string out;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') {
        at = i + 1;
        return out;
      }
      if (c == '\\') {
        if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
          error = "a \\ in a quoted text that is neither \\\\ nor \\\"";
          return std::nullopt;
        }
        out += text[++i];
      } else {
        out += c;
      }
    }
    error = "a quoted text without its closing quote";
    return std::nullopt;
  }

  std::optional<std::string> ParseValue(std::string_view line, Key& key) {
    std::string name;
    std::size_t at = 0;
    if (line.front() == '@') {
      at = 1;
    } else if (line.front() == '"') {
      std::string error;
      auto quoted = ParseQuoted(line, at, error);
      if (!quoted) return error;
      name = std::move(*quoted);
    } else {
      return "a line that is neither a [key] nor a value";
    }
    std::string_view rest = Trim(line.substr(at));
    if (rest.empty() || rest.front() != '=') return "a value name without = after it";
    rest = Trim(rest.substr(1));

    if (!rest.empty() && rest.front() == '"') {
      std::string error;
      std::size_t end = 0;
      auto text = ParseQuoted(rest, end, error);
      if (!text) return error;
      if (end != rest.size()) return "text after the closing quote of a string value";
      std::vector<BYTE> data(text->begin(), text->end());
      data.push_back(0);
      SetValue(key, name, REG_SZ, std::move(data));
      return std::nullopt;
    }
    if (StartsWithNoCase(rest, "dword:")) {
      auto number = ParseHexNumber(Trim(rest.substr(6)), 8);
      if (!number) return "a dword: value that is not 1 to 8 hex digits";
      const DWORD n = *number;
      SetValue(
          key, name, REG_DWORD,
          {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), static_cast<BYTE>(n >> 16), static_cast<BYTE>(n >> 24)});
      return std::nullopt;
    }
    if (StartsWithNoCase(rest, "hex")) return ParseHexValue(name, rest.substr(3), key);
    if (rest == "-") return "a value deletion entry, which a stored hive cannot hold";
    return "value data that is neither \"text\", dword: nor hex:";
  }

  // `rest` follows "hex": ":" for REG_BINARY or "(type):"; the bytes may go on over lines that
  // end in "\".
  std::optional<std::string> ParseHexValue(const std::string& name, std::string_view rest, Key& key) {
    DWORD type = REG_BINARY;
    if (!rest.empty() && rest.front() == '(') {
      const std::size_t close = rest.find(')');
      if (close == std::string_view::npos) return "a hex( type without its )";
      auto number = ParseHexNumber(rest.substr(1, close - 1), 8);
      if (!number) return "a hex( type that is not 1 to 8 hex digits";
      type = *number;
      rest = rest.substr(close + 1);
    }
    if (rest.empty() || rest.front() != ':') return "hex data without : after hex";
    std::string bytes(Trim(rest.substr(1)));
    while (!bytes.empty() && bytes.back() == '\\') {
      bytes.pop_back();
      std::string_view next;
      if (!NextLine(next)) return "hex data continued past the end of the file";
      bytes += Trim(next);
    }
    std::vector<BYTE> data;
    std::string_view list = bytes;
    while (!list.empty()) {
      const std::size_t comma = list.find(',');
      auto byte = ParseHexNumber(Trim(list.substr(0, comma)), 2);
      if (!byte) return "hex data with an item that is not 1 or 2 hex digits";
      data.push_back(static_cast<BYTE>(*byte));
      if (comma == std::string_view::npos) break;
      list.remove_prefix(comma + 1);
      if (Trim(list).empty()) return "hex data ending in a comma";
    }
    SetValue(key, name, type, std::move(data));
    return std::nullopt;
  }
};

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

bool FitsQuotedForm(const Value& value) {
  if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) return false;
  for (std::size_t i = 0; i + 1 < value.data.size(); ++i) {
    const BYTE b = value.data[i];
    if (b == 0 || b == '\r' || b == '\n') return false;
  }
  return true;
}

// The editor's wrapping: lines of at most about 80 columns, continued with "\" and two blanks.
void AppendHexBytes(std::string& out, const std::vector<BYTE>& data, std::size_t column) {
  for (std::size_t i = 0; i < data.size(); ++i) {
    char item[4];
    std::snprintf(item, sizeof item, "%02x", data[i]);
    out += item;
    column += 2;
    if (i + 1 == data.size()) break;
    out += ',';
    ++column;
    if (column >= 76) {
      out += '\\';
      out += kLineEnd;
      out += "  ";
      column = 2;
    }
  }
}

void AppendValue(std::string& out, const Value& value) {
  const std::size_t lineStart = out.size();
  if (value.name.empty()) out += '@';
  else
    AppendQuoted(out, value.name);
  out += '=';
  if (FitsQuotedForm(value)) {
    AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
  } else if (value.type == REG_DWORD && value.data.size() == 4) {
    const DWORD n = static_cast<DWORD>(value.data[0]) | static_cast<DWORD>(value.data[1]) << 8 |
                    static_cast<DWORD>(value.data[2]) << 16 | static_cast<DWORD>(value.data[3]) << 24;
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", n);
    out += text;
  } else {
    char prefix[24];
    if (value.type == REG_BINARY) std::snprintf(prefix, sizeof prefix, "hex:");
    else
      std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    out += prefix;
    AppendHexBytes(out, value.data, out.size() - lineStart);
  }
  out += kLineEnd;
}

void AppendKey(std::string& out, const Key& key, std::string& path) {
  out += kLineEnd;
  out += '[';
  out += path;
  out += ']';
  out += kLineEnd;
  for (const Value& value : key.values) AppendValue(out, value);
  for (const Key& sub : key.subKeys) {
    const std::size_t length = path.size();
    path += '\\';
    path += sub.name;
    AppendKey(out, sub, path);
    path.resize(length);
  }
}

}  // namespace

ParseResult ParseHive(std::string_view text, std::string_view rootName) { return Parser(text, rootName).Run(); }

std::string FormatHive(const Key& root) {
  std::string out(kHeader);
  out += kLineEnd;
  std::string path = root.name;
  AppendKey(out, root, path);
  out += kLineEnd;
  return out;
}

}  // namespace registry
