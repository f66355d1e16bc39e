#pragma once
// Numbers: the conversions and the random generator of the run time.
#include <string>

namespace vb {

// The largest whole number not above x.
double Int(double x);
// Rounded to the nearest, halves to even; outside -32768..32767 error 6 (Overflow).
short CInt(double x);
// A string converts as a number (IsNumeric); anything else is error 13 (Type mismatch).
short CInt(const std::string& text);

// Decimal numbers with optional sign, point and exponent, or "&H"/"&O" numbers, with blanks
// around them; the empty text is not numeric.
bool IsNumeric(const std::string& text);
// The number at the start of the text (blanks skipped, reading stops at the first character
// that does not fit); "&H" and "&O" numbers of up to 4 digits are 16-bit and of more 32-bit
// signed values, as the run time reads them. 0 when nothing fits.
double Val(const std::string& text);

// The run time's 24-bit linear congruential generator: 0 <= Rnd() < 1 in single precision.
float Rnd();
// Seeds the generator from a number (mixing its high bits into the middle of the state), or
// without one from the seconds since midnight.
void Randomize(double seed);
void Randomize();
// The state to start from, as at program start (for tests).
void ResetRandomGenerator();

// A random index 0 .. count - 1 as the programs compute it: Int(Rnd * count) in single
// precision (0 when count is 0).
int RandomIndex(int count);

}  // namespace vb
