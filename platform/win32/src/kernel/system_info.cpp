#include <time.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "kernel_internal.h"

DWORD GetTickCount() {
  struct timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  // Wraps after 49.7 days, as on Windows.
  const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec / 1000000);
  return static_cast<DWORD>(ms & 0xFFFFFFFF);
}

void Sleep(DWORD dwMilliseconds) {
  if (dwMilliseconds == 0) std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
  if (!lpVersionInformation || lpVersionInformation->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  lpVersionInformation->dwMajorVersion = 4;
  lpVersionInformation->dwMinorVersion = 10;
  lpVersionInformation->dwBuildNumber = 0x040A07CE;  // 4.10.1998: this family keeps the version in the high word
  lpVersionInformation->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
  std::memset(lpVersionInformation->szCSDVersion, 0, sizeof lpVersionInformation->szCSDVersion);
  return TRUE;
}
