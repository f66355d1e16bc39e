#pragma once
// What the viewer's and the open dialog's paint workers share: the screen depth they prepare
// for, the messages they post (a picture owned by the message until a window takes it) and the
// progress clock their windows draw.
#include "graphics/pixel_graphic.h"
#include "win32/messages.h"

// The colours of an optimised palette for an 8-bit screen, the 16 system colours among them.
constexpr int kOptimizedPaletteColors = 252;

// A worker's result: lParam the picture; none, with wParam kWorkerFailed, when the work failed.
constexpr UINT kWorkerResult = WM_USER;
constexpr WPARAM kWorkerFailed = 1;
// A worker's progress: wParam the step, lParam the percent.
constexpr UINT kWorkerProgress = WM_USER + 1;

// Bits per pixel of the screen, planes counted.
int PaintWorkerScreenBits();

// How a picture is reduced to the colours of a screen of DisplayBits, the one rule of the viewer
// and the preview. The format: 4 bits below 8, 8 bits at 8, else 24.
TPGBitCount DisplayFormat(int DisplayBits);
// Gives Target, already in DisplayFormat, the colours Source is shown in: below 8 bits the 16
// system colours; at 8 bits the palette chosen for Source's depth (Palette24 for true colour,
// else Palette8; pSource keeps an 8-bit picture's own). True when the choice is
// pOptimized252Sys16: the caller then makes Target's palette Source's median cut.
bool SetDisplayPalette(TPixelGraphic* Target, TPixelGraphic* Source, int DisplayBits, TPaletteIdent Palette24,
                       TPaletteIdent Palette8);
// The payload release of a posted result.
void FreePostedGraphic(LPARAM Graphic);
// Removes the results and progress queued for Window, freeing the results.
void DropQueuedGraphics(HWND Window);

// The progress clock: a dial with an hour hand for the step and a minute hand for the percent.
constexpr int kProgressClockSize = 15;
void DrawProgressClock(HDC DC, int X, int Y, int Step, int Percent, COLORREF Back, COLORREF Line);
