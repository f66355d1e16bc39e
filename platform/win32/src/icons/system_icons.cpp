// LoadIconA: the system icons, made from their pictures on first use and shared from then on.
#include <map>
#include <mutex>
#include <vector>

#include "gdi/icon.h"
#include "system_icon_art.h"
#include "win32/user.h"

namespace {

HICON MakeIcon(const icons::SystemIconArt& art) {
  constexpr int size = icons::kSystemIconSize;
  // The colour image is black where the mask lets the screen through, so the XOR keeps it.
  std::vector<BYTE> colour(art.size() * 4, 0);  // blue, green, red, unused
  std::vector<BYTE> mask(art.size() / 8, 0);
  for (std::size_t i = 0; i < art.size(); ++i) {
    if (art[i] == icons::kClear) {
      mask[i / 8] |= static_cast<BYTE>(0x80 >> (i % 8));
      continue;
    }
    colour[4 * i] = static_cast<BYTE>(art[i]);
    colour[4 * i + 1] = static_cast<BYTE>(art[i] >> 8);
    colour[4 * i + 2] = static_cast<BYTE>(art[i] >> 16);
  }
  HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
  HBITMAP colourBitmap = CreateBitmap(size, size, 1, 32, colour.data());
  HICON icon = maskBitmap && colourBitmap ? gdi::CreateSharedIcon(maskBitmap, colourBitmap) : nullptr;
  DeleteObject(maskBitmap);
  DeleteObject(colourBitmap);
  return icon;
}

}  // namespace

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  const auto id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
  if (instance || reinterpret_cast<std::uintptr_t>(name) > 0xFFFF) return nullptr;
  static std::mutex mutex;
  static std::map<int, HICON> made;
  std::lock_guard lock(mutex);
  if (auto it = made.find(id); it != made.end()) return it->second;
  const std::optional<icons::SystemIconArt> art = icons::DrawSystemIcon(id);
  if (!art) return nullptr;
  HICON icon = MakeIcon(*art);
  if (icon) made[id] = icon;
  return icon;
}
