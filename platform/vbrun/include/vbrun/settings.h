#pragma once
// The per-user settings of a program: REG_SZ values under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
#include <string>

namespace vb {

// The stored value, or `fallback` when there is none.
std::string GetSetting(const std::string& application, const std::string& section, const std::string& key,
                       const std::string& fallback = "");
// Error 5 when it cannot be stored.
void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                 const std::string& value);

}  // namespace vb
