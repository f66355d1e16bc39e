#include "tiff_packbits.h"

#include <vector>

void AppendPackBits(const std::uint8_t* Row, int Count, std::string& Out) {
  std::vector<int> run(static_cast<std::size_t>(Count), 0);
  for (int i = 0; i < Count;) {
    int j = i;
    while (j < Count && Row[j] == Row[i]) ++j;
    for (int k = i; k < j; ++k) run[static_cast<std::size_t>(k)] = j - i;
    i = j;
  }
  auto at = [&run](int i) -> int& { return run[static_cast<std::size_t>(i)]; };
  for (int i = 1; i < Count; ++i)
    if (at(i) == 2 && at(i - 1) == 1) at(i) = 1;
  for (int i = Count - 2; i >= 0; --i)
    if (at(i) == 2 && at(i + 1) == 1) at(i) = 1;
  for (int i = 0; i < Count;) {
    int n = 1;
    if (at(i) == 1) {
      while (n < 128 && i + n < Count && at(i + n) <= 1) ++n;
      Out += static_cast<char>(n - 1);
      Out.append(reinterpret_cast<const char*>(Row + i), static_cast<std::size_t>(n));
    } else {
      while (n < 128 && i + n < Count && Row[i + n] == Row[i]) ++n;
      Out += static_cast<char>(1 - n);
      Out += static_cast<char>(Row[i]);
    }
    i += n;
  }
}
