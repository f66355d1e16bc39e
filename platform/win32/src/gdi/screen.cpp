#include "screen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "dib.h"
#include "host/display.h"

namespace gdi {
namespace {

int BitsFromEnvironment() {
  const char* v = std::getenv("STARTLOGO_SCREEN_BITS");
  if (!v) return 32;
  int bits = std::atoi(v);
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32 ? bits : 32;
}

constexpr int kMaxScreenSide = 8192;

// STARTLOGO_SCREEN_SIZE, else the desktop's size (so a full-screen window covers it), else 1024x768.
void SizeFromEnvironment(int& w, int& h) {
  w = 1024;
  h = 768;
  const char* v = std::getenv("STARTLOGO_SCREEN_SIZE");
  int a = 0, b = 0;
  const bool given = v && std::sscanf(v, "%dx%d", &a, &b) == 2;
  if (!given && !host::TheDisplay().DesktopSize(a, b)) return;
  if (a > 0 && b > 0 && a <= kMaxScreenSide && b <= kMaxScreenSide) {
    w = a;
    h = b;
  }
}

}  // namespace

std::vector<RGBQUAD>& SystemPalette() {
  static std::vector<RGBQUAD> palette = [] {
    std::vector<RGBQUAD> p = StandardTable(8);
    for (int i = 10; i < 246; ++i) p[static_cast<std::size_t>(i)] = RGBQUAD{0, 0, 0, 0};
    return p;
  }();
  return palette;
}

std::shared_ptr<Surface> ScreenSurface() {
  static std::once_flag once;
  static std::shared_ptr<Surface> screen;
  std::call_once(once, [] {
    int w, h;
    SizeFromEnvironment(w, h);
    screen = std::make_shared<Surface>();
    screen->Allocate(w, h, BitsFromEnvironment(), true);
    if (screen->bitsPerPixel == 8) screen->colorTable = SystemPalette();
    if (screen->bitsPerPixel < 8) screen->colorTable = StandardTable(screen->bitsPerPixel);
  });
  return screen;
}

int ScreenBits() { return ScreenSurface()->bitsPerPixel; }

bool IsScreen(const Surface* s) { return s == ScreenSurface().get(); }

}  // namespace gdi
