// Where a drop-down list goes.
#include "win32/dropdown.h"

#include <algorithm>

namespace dropdown {

RECT Placement(const RECT& anchor, int width, int height) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int top = anchor.bottom;
  if (top + height > work.bottom && anchor.top - height >= work.top) top = anchor.top - height;
  const int left = std::clamp<int>(anchor.left, work.left, std::max<int>(work.left, work.right - width));
  return RECT{left, top, left + width, top + height};
}

}  // namespace dropdown
