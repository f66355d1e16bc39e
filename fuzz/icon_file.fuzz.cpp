// The icon and cursor file parser on arbitrary bytes, as an icon and as a cursor.
#include <cstdint>
#include <initializer_list>

#include "win32/icons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (UINT type : {IMAGE_ICON, IMAGE_CURSOR})
    if (HICON icon = icons::IconFromFileData(data, size, type, 16, 16, 0)) DestroyIcon(icon);
  return 0;
}
