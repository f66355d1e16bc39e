#include "floattext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace floattext {
namespace {

// value = 0.Digits x 10^Exponent, Digits without trailing zeros; zero has no digits.
struct Decimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

// At most `precision` significant digits and at most `decimals` digits after the point.
Decimal ToDecimal(long double value, int precision, int decimals) {
  Decimal d;
  d.Negative = std::signbit(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(value));
  std::string mantissa;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') mantissa += *p;
  d.Exponent = std::atoi(p + 1) + 1;
  if (mantissa.find_first_not_of('0') == std::string::npos) return Decimal{};

  const int keep = std::min(precision, d.Exponent + decimals);
  if (keep < 0) return Decimal{};
  bool carry = keep < static_cast<int>(mantissa.size()) && mantissa[static_cast<std::size_t>(keep)] >= '5';
  mantissa.resize(static_cast<std::size_t>(std::min<int>(keep, static_cast<int>(mantissa.size()))));
  for (std::size_t i = mantissa.size(); carry && i-- > 0;) {
    if (mantissa[i] == '9') {
      mantissa[i] = '0';
    } else {
      ++mantissa[i];
      carry = false;
    }
  }
  if (carry) {
    mantissa.insert(mantissa.begin(), '1');
    ++d.Exponent;
  }
  const auto last = mantissa.find_last_not_of('0');
  if (last == std::string::npos) return Decimal{};
  d.Digits = mantissa.substr(0, last + 1);
  return d;
}

char DigitAt(const Decimal& d, int i) {
  return i >= 0 && i < static_cast<int>(d.Digits.size()) ? d.Digits[static_cast<std::size_t>(i)] : '0';
}

std::string Special(long double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string ExponentText(int exponent, int expDigits, bool plusSign) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < expDigits)
    digits.insert(0, static_cast<std::size_t>(expDigits) - digits.size(), '0');
  return std::string("E") + (exponent < 0 ? "-" : plusSign ? "+" : "") + digits;
}

}  // namespace

std::string Fixed(long double value, int decimals, bool thousands) {
  if (!std::isfinite(value)) return Special(value);
  const Decimal d = ToDecimal(value, 18, decimals);
  if (d.Exponent > 18) return Exponent(value, 15, 3);
  std::string integer;
  for (int i = 0; i < std::max(d.Exponent, 1); ++i) integer += d.Exponent > 0 ? DigitAt(d, i) : '0';
  if (thousands)
    for (int i = static_cast<int>(integer.size()) - 3; i > 0; i -= 3) integer.insert(static_cast<std::size_t>(i), ",");
  std::string text = (d.Negative && !d.Digits.empty() ? "-" : "") + integer;
  if (decimals > 0) {
    text += '.';
    for (int i = 0; i < decimals; ++i) text += DigitAt(d, d.Exponent + i);
  }
  return text;
}

std::string Exponent(long double value, int precision, int expDigits) {
  if (!std::isfinite(value)) return Special(value);
  const Decimal d = ToDecimal(value, precision, 9999);
  std::string text = d.Negative && !d.Digits.empty() ? "-" : "";
  text += DigitAt(d, 0);
  if (precision > 1) {
    text += '.';
    for (int i = 1; i < precision; ++i) text += DigitAt(d, i);
  }
  return text + ExponentText(d.Digits.empty() ? 0 : d.Exponent - 1, expDigits, true);
}

std::string General(long double value, int precision, int expDigits) {
  if (!std::isfinite(value)) return Special(value);
  const Decimal d = ToDecimal(value, precision, 9999);
  if (d.Digits.empty()) return "0";
  std::string text = d.Negative ? "-" : "";
  const int count = static_cast<int>(d.Digits.size());
  if (d.Exponent <= precision && d.Exponent >= -3) {
    if (d.Exponent <= 0) {
      text += "0." + std::string(static_cast<std::size_t>(-d.Exponent), '0') + d.Digits;
    } else {
      for (int i = 0; i < d.Exponent; ++i) text += DigitAt(d, i);
      if (count > d.Exponent) text += "." + d.Digits.substr(static_cast<std::size_t>(d.Exponent));
    }
    return text;
  }
  text += d.Digits[0];
  if (count > 1) text += "." + d.Digits.substr(1);
  return text + ExponentText(d.Exponent - 1, expDigits, false);
}

}  // namespace floattext
