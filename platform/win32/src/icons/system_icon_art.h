#pragma once
// The pictures of the system icons (IDI_APPLICATION .. IDI_ASTERISK): 32x32 pixels in colours of
// the 16-colour VGA palette, so they stay clean on a paletted screen.
#include <array>
#include <cstdint>
#include <optional>

namespace icons {

constexpr int kSystemIconSize = 32;
// A pixel the icon leaves transparent; the others are 0x00RRGGBB.
constexpr std::uint32_t kClear = 0xFF000000u;
using SystemIconArt = std::array<std::uint32_t, kSystemIconSize * kSystemIconSize>;

// The picture of an IDI_* id (32512 .. 32516), or nothing for another id.
std::optional<SystemIconArt> DrawSystemIcon(int id);

}  // namespace icons
