#pragma once
// The screen's logical pixels per inch, read once when the library starts.
int ScreenDpiX();
int ScreenDpiY();
