#include "win32/syscolor.h"

#include <array>
#include <mutex>

#include "objects.h"

namespace {

constexpr int kColors = COLOR_INFOBK + 1;

constexpr COLORREF kScheme[kColors] = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),  // desktop
    RGB(0, 0, 128),  // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),  // window frame
    RGB(0, 0, 0),  // menu text
    RGB(0, 0, 0),  // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(0, 0, 128),  // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),  // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),  // 3-D dark shadow
    RGB(192, 192, 192),  // 3-D light
    RGB(0, 0, 0),  // tooltip text
    RGB(255, 255, 225),  // tooltip background
};

}  // namespace

DWORD GetSysColor(int index) { return index >= 0 && index < kColors ? kScheme[index] : 0; }

HBRUSH GetSysColorBrush(int index) {
  static std::mutex mutex;
  static std::array<HBRUSH, kColors> brushes{};
  if (index < 0 || index >= kColors) return nullptr;
  std::lock_guard lock(mutex);
  HBRUSH& h = brushes[static_cast<std::size_t>(index)];
  if (!h) {
    auto b = std::make_unique<gdi::BrushObject>();
    b->brush = LOGBRUSH{BS_SOLID, kScheme[index], 0};
    b->stockIndex = 0x200 + index;  // stock: DeleteObject leaves it alone
    h = gdi::AddObject(std::move(b));
  }
  return h;
}
