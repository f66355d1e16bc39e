#include <cstdint>
#include <limits>

#include "win32/kernel.h"

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0) return -1;
  const std::int64_t product = std::int64_t{nNumber} * nNumerator;
  const std::int64_t divisor = nDenominator;
  // Rounded on the magnitudes, so that halves go away from zero whatever the signs.
  const std::int64_t magnitude = ((product < 0 ? -product : product) + (divisor < 0 ? -divisor : divisor) / 2) /
                                 (divisor < 0 ? -divisor : divisor);
  const std::int64_t result = (product < 0) != (divisor < 0) ? -magnitude : magnitude;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(result);
}
