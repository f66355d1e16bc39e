#pragma once
// Icons the system hands out to everyone (LoadIconA's): the same handle for every caller, and
// DestroyIcon leaves them alone, so an owner that frees "its" icon cannot pull it from the others.
#include "win32/gdi.h"

namespace gdi {
// Like CreateIconIndirect for a 32x32 icon with its hot spot in the middle.
HICON CreateSharedIcon(HBITMAP mask, HBITMAP color);
}  // namespace gdi
