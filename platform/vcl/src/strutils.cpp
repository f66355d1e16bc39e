// Text conversion and comparison routines of the class library.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "floattext.h"
#include "vcl/sysutils.h"

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The integer of s, or false: the class library's reading of integer text (Val).
bool ReadInt(const std::string& s, int& result) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size()) return false;
  std::uint64_t value = 0;
  if (s[i] == '$') {
    if (++i >= s.size()) return false;
    for (; i < s.size(); ++i) {
      const char c = Upper(s[i]);
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (digit < 0) return false;
      value = value * 16 + static_cast<unsigned>(digit);
      if (value > 0xFFFFFFFFu) return false;
    }
    const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    result = negative ? -bits : bits;
    return true;
  }
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + static_cast<unsigned>(s[i] - '0');
    if (value > 0x80000000u) return false;
  }
  if (!negative && value > 0x7FFFFFFFu) return false;
  result = negative ? static_cast<int>(-static_cast<std::int64_t>(value)) : static_cast<int>(value);
  return true;
}

}  // namespace

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string IntToHex(std::int64_t value, int digits) {
  // Negative 32-bit values show as their 32-bit pattern, as the class library's Integer does.
  if (value < 0 && value >= INT32_MIN) return Format("%.*x", {digits, static_cast<int>(value)});
  return Format("%.*x", {digits, static_cast<long long>(value)});
}

int StrToInt(const std::string& s) {
  int result = 0;
  if (!ReadInt(s, result)) throw EConvertError("'%s' is not a valid integer value", {s});
  return result;
}

int StrToIntDef(const std::string& s, int defaultValue) {
  int result = 0;
  return ReadInt(s, result) ? result : defaultValue;
}

std::string FloatToStr(long double value) { return floattext::General(value, 15, 0); }

namespace {

// [sign] digits [. digits] [e [sign] digits], at least one mantissa digit.
bool DecimalNumber(const std::string& t) {
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t start = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    return i - start;
  };
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (i < t.size() && t[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == t.size();
}

}  // namespace

long double StrToFloat(const std::string& s) {
  const std::string text = Trim(s);
  const long double value = DecimalNumber(text) ? std::strtold(text.c_str(), nullptr) : NAN;
  if (!std::isfinite(value)) throw EConvertError("'%s' is not a valid floating point value", {s});
  return value;
}

std::string UpperCase(const std::string& s) {
  std::string r = s;
  for (char& c : r) c = Upper(c);
  return r;
}

std::string LowerCase(const std::string& s) {
  std::string r = s;
  for (char& c : r) c = Lower(c);
  return r;
}

int CompareStr(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareText(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(Upper(a[i]));
    const auto y = static_cast<unsigned char>(Upper(b[i]));
    if (x != y) return x - y;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }

std::string Trim(const std::string& s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && Blank(s[i])) ++i;
  return s.substr(i);
}

std::string TrimRight(const std::string& s) {
  std::size_t n = s.size();
  while (n > 0 && Blank(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string StringReplaceAll(std::string s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

std::string StringReplaceEach(std::string s, std::initializer_list<std::pair<std::string, std::string>> pairs) {
  for (const auto& [from, to] : pairs) s = StringReplaceAll(std::move(s), from, to);
  return s;
}
