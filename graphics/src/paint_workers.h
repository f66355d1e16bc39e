#pragma once
// What the viewer's and the open dialog's paint workers share: the screen depth they prepare
// for, the pictures they post (owned by the message until a window takes them) and the
// progress clock their windows draw.
#include "graphics/pixel_graphic.h"

// The colours of an optimised palette for an 8-bit screen, the 16 system colours among them.
constexpr int kOptimizedPaletteColors = 252;

// Bits per pixel of the screen, planes counted.
int PaintWorkerScreenBits();
// The payload release of a posted result.
void FreePostedGraphic(LPARAM Graphic);
// Removes the results (WM_USER) and progress (WM_USER+1) queued for Window, freeing the results.
void DropQueuedGraphics(HWND Window);

// The progress clock: a dial with an hour hand for the step and a minute hand for the percent.
constexpr int kProgressClockSize = 15;
void DrawProgressClock(HDC DC, int X, int Y, int Step, int Percent, COLORREF Back, COLORREF Line);
