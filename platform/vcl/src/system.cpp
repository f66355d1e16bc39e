// Rounding, the pseudo-random generator and the 1-based string routines.
#include <chrono>
#include <cmath>

#include "vcl/sysutils.h"
#include "vcl/system.h"

namespace {

// A whole number outside the 64-bit range (or not a number) has no integer result.
std::int64_t ToInt64(long double whole) {
  if (!(whole >= -9223372036854775808.0L && whole < 9223372036854775808.0L))
    throw EInvalidOp("Invalid floating point operation");
  return static_cast<std::int64_t>(whole);
}

}  // namespace

std::int64_t Round(long double value) { return ToInt64(std::nearbyintl(value)); }

std::int64_t Trunc(long double value) { return ToInt64(std::truncl(value)); }

std::uint32_t RandSeed = 0;

namespace {

std::uint32_t NextSeed() { return RandSeed = RandSeed * 0x08088405u + 1u; }

}  // namespace

int Random(int range) {
  const std::uint64_t product = static_cast<std::uint64_t>(NextSeed()) * static_cast<std::uint32_t>(range);
  return static_cast<int>(static_cast<std::uint32_t>(product >> 32));
}

long double Random() { return static_cast<long double>(NextSeed()) / 4294967296.0L; }

void Randomize() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  RandSeed = static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

int Pos(const std::string& sub, const std::string& s) {
  if (sub.empty()) return 0;
  const auto i = s.find(sub);
  return i == std::string::npos ? 0 : static_cast<int>(i) + 1;
}

std::string Copy(const std::string& s, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || index > static_cast<int>(s.size())) return {};
  return s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}
