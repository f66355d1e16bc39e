#include "paint_workers.h"

#include <cmath>

namespace {

constexpr int kClockCentre = kProgressClockSize / 2;
constexpr int kHourHand = 6, kMinuteHand = 7;
constexpr long double kPi = 3.14159265358979323846L;
constexpr long double kPisPerPercent = 0.02L;  // 100 percent take the minute hand once round
constexpr int kHoursOnDial = 12;

}  // namespace

int PaintWorkerScreenBits() {
  HDC dc = GetDC(nullptr);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(nullptr, dc);
  return bits;
}

void FreePostedGraphic(LPARAM Graphic) { delete reinterpret_cast<TPixelGraphic*>(Graphic); }

void DropQueuedGraphics(HWND Window) {
  if (!Window) return;
  MSG msg;
  while (PeekMessageA(&msg, Window, WM_USER, WM_USER + 1, PM_REMOVE))
    if (msg.message == WM_USER) FreePostedGraphic(msg.lParam);
}

void DrawProgressClock(HDC DC, int X, int Y, int Step, int Percent, COLORREF Back, COLORREF Line) {
  HBRUSH brush = CreateSolidBrush(Back);
  HPEN pen = CreatePen(PS_SOLID, 1, Line);
  HGDIOBJ oldBrush = SelectObject(DC, brush), oldPen = SelectObject(DC, pen);
  Ellipse(DC, X, Y, X + kProgressClockSize, Y + kProgressClockSize);
  const long double minute = Percent * kPi * kPisPerPercent;
  const long double hour = ((Step - 1) * 2 * kPi + minute) / kHoursOnDial;
  for (auto [length, angle] : {std::pair{kHourHand, hour}, {kMinuteHand, minute}}) {
    MoveToEx(DC, X + kClockCentre, Y + kClockCentre, nullptr);
    LineTo(DC, X + kClockCentre + static_cast<int>(std::nearbyint(length * std::sin(angle))),
           Y + kClockCentre - static_cast<int>(std::nearbyint(length * std::cos(angle))));
  }
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}
