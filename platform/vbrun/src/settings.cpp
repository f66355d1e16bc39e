// GetSetting and SaveSetting over the registry.
#include "vbrun/settings.h"

#include <vector>

#include "vbrun/errors.h"
#include "win32/registry.h"

namespace vb {
namespace {

std::string SectionKey(const std::string& application, const std::string& section) {
  return "Software\\VB and VBA Program Settings\\" + application + "\\" + section;
}

}  // namespace

std::string GetSetting(const std::string& application, const std::string& section, const std::string& key,
                       const std::string& fallback) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKey(application, section).c_str(), 0, KEY_QUERY_VALUE, &handle) !=
      ERROR_SUCCESS)
    return fallback;
  DWORD type = 0, size = 0;
  std::string value = fallback;
  if (RegQueryValueExA(handle, key.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    std::vector<BYTE> data(size + 1, 0);
    if (RegQueryValueExA(handle, key.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
      value = std::string(reinterpret_cast<const char*>(data.data()));
  }
  RegCloseKey(handle);
  return value;
}

void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                 const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(application, section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    Raise(vbErrInvalidCall);
  const LONG result = RegSetValueExA(handle, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) Raise(vbErrInvalidCall);
}

}  // namespace vb
