#include <chrono>
#include <cstring>
#include <thread>

#include "kernel_internal.h"
#include "ticks.h"

DWORD GetTickCount() {
  using std::chrono::duration_cast, std::chrono::milliseconds;
  const auto ms = static_cast<std::uint64_t>(duration_cast<milliseconds>(ticks::Now().time_since_epoch()).count());
  return static_cast<DWORD>(ms & 0xFFFFFFFF);  // wraps after 49.7 days, as on Windows
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
