// Stock objects, made on first use and never deleted.
#include <array>
#include <mutex>

#include "objects.h"
#include "win32/text.h"

namespace gdi {
namespace {

constexpr int kDefaultBitmap = 0x100;  // not reachable through GetStockObject

std::unique_ptr<GdiObject> MakeStock(int index) {
  auto brush = [](UINT style, COLORREF c) {
    auto b = std::make_unique<BrushObject>();
    b->brush = LOGBRUSH{style, c, 0};
    return b;
  };
  auto pen = [](UINT style, COLORREF c) {
    auto p = std::make_unique<PenObject>();
    p->pen = LOGPEN{style, POINT{1, 0}, c};
    return p;
  };
  switch (index) {
    case WHITE_BRUSH: return brush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return brush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH: return brush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return brush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH: return brush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH: return brush(BS_NULL, 0);
    case WHITE_PEN: return pen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN: return pen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN: return pen(PS_NULL, 0);
    case DEFAULT_PALETTE: {
      auto p = std::make_unique<PaletteObject>();
      p->entries.assign(StaticColors(), StaticColors() + 20);
      return p;
    }
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT: return std::make_unique<GdiObject>(ObjectKind::Font);
    case kDefaultBitmap: {
      auto b = std::make_unique<BitmapObject>();
      b->surface = MonochromeSurface(1, 1);
      return b;
    }
    default: return nullptr;
  }
}

}  // namespace

HGDIOBJ StockObject(int index) {
  static std::mutex mutex;
  static std::array<HGDIOBJ, kDefaultBitmap + 1> handles{};
  if (index < 0 || index > kDefaultBitmap) return nullptr;
  std::lock_guard lock(mutex);
  HGDIOBJ& h = handles[static_cast<std::size_t>(index)];
  if (!h) {
    std::unique_ptr<GdiObject> o = MakeStock(index);
    if (!o) return nullptr;
    o->stockIndex = index;
    h = AddObject(std::move(o));
  }
  return h;
}

HBITMAP DefaultBitmap() { return StockObject(kDefaultBitmap); }

}  // namespace gdi

HGDIOBJ GetStockObject(int index) { return index == gdi::kDefaultBitmap ? nullptr : gdi::StockObject(index); }
