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

TPGBitCount DisplayFormat(int DisplayBits) {
  if (DisplayBits < 8) return pgbc4;
  return DisplayBits == 8 ? pgbc8 : pgbc24;
}

bool SetDisplayPalette(TPixelGraphic* Target, TPixelGraphic* Source, int DisplayBits, TPaletteIdent Palette24,
                       TPaletteIdent Palette8) {
  if (DisplayBits < 8) {
    Target->SetPaletteIdent(pSys16);
    return false;
  }
  if (DisplayBits != 8) return false;
  const bool trueColour = Source->GetBitsPerPixel() == 24;
  const TPaletteIdent choice = trueColour ? Palette24 : Palette8;
  if (choice == pOptimized252Sys16) return true;
  if (!trueColour && choice == pSource) Target->CopyPaletteFrom(Source);
  else
    Target->SetPaletteIdent(choice);
  return false;
}

void FreePostedGraphic(LPARAM Graphic) { delete reinterpret_cast<TPixelGraphic*>(Graphic); }

void DropQueuedGraphics(HWND Window) {
  if (!Window) return;
  MSG msg;
  static_assert(kWorkerProgress == kWorkerResult + 1, "one range takes both");
  while (PeekMessageA(&msg, Window, kWorkerResult, kWorkerProgress, PM_REMOVE))
    if (msg.message == kWorkerResult) FreePostedGraphic(msg.lParam);
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
