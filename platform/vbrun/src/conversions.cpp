// Number conversions as the run time makes them, and its random generator.
#include "vbrun/conversions.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "vbrun/errors.h"

namespace vb {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int DigitValue(char c, int base) {
  int v = IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 99;
  return v < base ? v : -1;
}

// "&H" / "&O" digits from `at` (just past the prefix): the value as the run time types it.
// `digits` gets how many were read.
double RadixNumber(const std::string& s, size_t& at, int base, int& digits) {
  std::uint64_t value = 0;
  digits = 0;
  for (int d; at < s.size() && (d = DigitValue(s[at], base)) >= 0; ++at, ++digits) {
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFu) Raise(vbErrOverflow);
  }
  if (value <= 0xFFFF && digits <= (base == 16 ? 4 : 6)) return static_cast<std::int16_t>(value);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Length of a decimal number (sign, digits, point, exponent) starting at `at`; 0 when none.
size_t DecimalLength(const std::string& s, size_t at) {
  size_t i = at;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t mantissa = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++mantissa;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissa;
  }
  if (mantissa == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i - at;
}

double ParseDecimal(std::string digits) {
  for (char& c : digits)
    if (c == 'd' || c == 'D') c = 'e';
  return std::strtod(digits.c_str(), nullptr);
}

std::uint32_t gSeed = 0x50000;

}  // namespace

double Int(double x) { return std::floor(x); }

short CInt(double x) {
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(x);
  std::fesetround(saved);
  if (!(r >= -32768.0 && r <= 32767.0)) Raise(vbErrOverflow);
  return static_cast<short>(r);
}

short CInt(const std::string& text) {
  if (!IsNumeric(text)) Raise(vbErrTypeMismatch);
  return CInt(Val(text));
}

bool IsNumeric(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const std::string s = text.substr(b, e - b);
  if (s.empty()) return false;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H' || s[1] == 'o' || s[1] == 'O')) {
    size_t at = 2;
    int digits = 0;
    try {
      RadixNumber(s, at, (s[1] == 'h' || s[1] == 'H') ? 16 : 8, digits);
    } catch (const RuntimeError&) {
      return false;
    }
    return digits > 0 && at == s.size();
  }
  return DecimalLength(s, 0) == s.size();
}

double Val(const std::string& text) {
  std::string s;
  for (char c : text)
    if (!IsBlank(c)) s.push_back(c);
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H' || s[1] == 'o' || s[1] == 'O')) {
    size_t at = 2;
    int digits = 0;
    return RadixNumber(s, at, (s[1] == 'h' || s[1] == 'H') ? 16 : 8, digits);
  }
  const size_t length = DecimalLength(s, 0);
  return length ? ParseDecimal(s.substr(0, length)) : 0.0;
}

float Rnd() {
  gSeed = (gSeed * 1140671485u + 12820163u) & 0xFFFFFFu;
  return static_cast<float>(gSeed) / 16777216.0f;
}

void Randomize(double seed) {
  std::uint64_t bits;
  std::memcpy(&bits, &seed, sizeof bits);
  const std::uint32_t high = static_cast<std::uint32_t>(bits >> 32);
  const std::uint32_t mixed = ((high & 0xFFFFu) ^ (high >> 16)) << 8;
  gSeed = ((gSeed & 0xFF0000FFu) | mixed) & 0xFFFFFFu;
}

void Randomize() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  const time_t seconds = now.tv_sec;
  ::localtime_r(&seconds, &local);
  const float timer = static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
                      static_cast<float>(now.tv_nsec / 10000000) / 100.0f;
  Randomize(static_cast<double>(timer));
}

void ResetRandomGenerator() { gSeed = 0x50000; }

int RandomIndex(int count) {
  const float r = Rnd();
  return static_cast<int>(Int(static_cast<double>(r * static_cast<float>(count))));
}

}  // namespace vb
