#pragma once
// Float-to-text conversion in the class library's formats. The value is first taken to at most
// 18 significant decimal digits, then rounded half away from zero at the digit asked for.
#include <string>

namespace floattext {

// Fixed point with `decimals` digits after the point; `thousands` puts "," between groups.
std::string Fixed(long double value, int decimals, bool thousands);
// "d.dddE+ddd" with `precision` significant digits and at least `expDigits` exponent digits.
std::string Exponent(long double value, int precision, int expDigits);
// Shortest of fixed and scientific with at most `precision` significant digits.
std::string General(long double value, int precision, int expDigits);

}  // namespace floattext
