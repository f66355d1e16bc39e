#pragma once
// The class library's language-level routines: rounding, the pseudo-random generator, the
// program's parameters, and the 1-based string routines.
#include <cstdint>
#include <string>

// Halves go to the even neighbour.
std::int64_t Round(long double value);
// Cuts towards zero.
std::int64_t Trunc(long double value);

// The generator's state: RandSeed := RandSeed * $08088405 + 1 (32-bit) before every draw.
extern std::uint32_t RandSeed;
// 0 <= result < range, from the high 32 bits of RandSeed * range.
int Random(int range);
// 0 <= result < 1: RandSeed * 2^-32.
long double Random();
// Seeds the generator from the clock.
void Randomize();

// Called by each program at start with main's arguments.
void InitParams(int argc, char* argv[]);
int ParamCount();
// 0 is the program's Windows path (the Z: path of its binary); beyond ParamCount, "".
std::string ParamStr(int index);

// 1-based position of sub in s, 0 when it does not occur.
int Pos(const std::string& sub, const std::string& s);
// count characters from the 1-based index, clipped to the string.
std::string Copy(const std::string& s, int index, int count);
