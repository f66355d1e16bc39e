#pragma once
// Test aid: the hint window on the screen, found as a person would see it.
#include <string>

#include "win32/user.h"

// The visible hint window, or none.
inline HWND ShownHintWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM result) -> BOOL {
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "THintWindow" && IsWindowVisible(window)) *reinterpret_cast<HWND*>(result) = window;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The text the visible hint window shows, or "" when none shows.
inline std::string ShownHintText() {
  HWND window = ShownHintWindow();
  if (!window) return "";
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}
