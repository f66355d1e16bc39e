#include <algorithm>
#include <cstring>
#include <string_view>

#include "key_handles.h"
#include "win32/registry.h"

using registry::Key;
using registry::KeyRef;
using registry::Value;

namespace {

bool HasLineBreak(std::string_view name) { return name.find_first_of("\r\n") != std::string_view::npos; }

// The names of a "\"-separated sub-key path; a trailing "\" is allowed.
LONG SplitSubKey(LPCSTR subKey, std::vector<std::string>& names) {
  std::string_view path = subKey ? subKey : "";
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (path.empty()) return ERROR_SUCCESS;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find('\\', start);
    std::string_view name = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (name.empty()) return ERROR_BAD_PATHNAME;
    if (HasLineBreak(name)) return ERROR_INVALID_PARAMETER;
    names.emplace_back(name);
    if (end == std::string_view::npos) return ERROR_SUCCESS;
    start = end + 1;
  }
}

Key* FindKey(Key& tree, const std::vector<std::string>& path) {
  Key* key = &tree;
  for (const std::string& name : path)
    if (!(key = key->FindSubKey(name))) return nullptr;
  return key;
}

// Runs `work` on the key behind an open handle, under its hive's lock.
LONG WithKey(HKEY hKey, const std::function<LONG(Key& key, bool& changed)>& work) {
  const auto ref = registry::ResolveKeyHandle(hKey);
  if (!ref) return ERROR_INVALID_HANDLE;
  return registry::WithHive(ref->root, [&](Key& tree, bool& changed) {
    Key* key = FindKey(tree, ref->path);
    return key ? work(*key, changed) : ERROR_KEY_DELETED;
  });
}

// Opens (or with `create`, creates) the sub-key and adds a handle for it.
LONG OpenOrCreate(HKEY hKey, LPCSTR lpSubKey, bool create, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::vector<std::string> names;
  if (const LONG status = SplitSubKey(lpSubKey, names); status != ERROR_SUCCESS) return status;
  auto ref = registry::ResolveKeyHandle(hKey);
  if (!ref) return ERROR_INVALID_HANDLE;
  if (ref->path.size() + names.size() > registry::kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
  bool created = false;
  const LONG status = registry::WithHive(ref->root, [&](Key& tree, bool& changed) {
    Key* key = FindKey(tree, ref->path);
    if (!key) return ERROR_KEY_DELETED;
    for (const std::string& name : names) {
      Key* sub = key->FindSubKey(name);
      if (!sub) {
        if (!create) return ERROR_FILE_NOT_FOUND;
        sub = &key->AddSubKey(name);
        created = true;
      }
      ref->path.push_back(sub->name);
      key = sub;
    }
    changed = created;
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return status;
  if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *phkResult = registry::AddKeyHandle(std::move(*ref));
  return ERROR_SUCCESS;
}

// Copies a name with its NUL into a buffer of *size characters; *size becomes its length.
LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD size) {
  if (*size <= name.size()) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// Copies value data into a buffer of *size bytes (none: only the size is asked for); *size
// becomes the data's size.
LONG CopyData(const Value& value, LPBYTE buffer, LPDWORD size) {
  const DWORD needed = static_cast<DWORD>(value.data.size());
  const bool fits = !buffer || *size >= needed;
  if (buffer && fits) std::copy(value.data.begin(), value.data.end(), buffer);
  *size = needed;
  return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

void ClearTime(PFILETIME time) {
  if (time) *time = FILETIME{0, 0};
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
  return OpenOrCreate(hKey, lpSubKey, false, phkResult, nullptr);
}

LONG RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  if (phkResult && (!lpSubKey || !*lpSubKey)) {
    *phkResult = registry::ResolveKeyHandle(hKey) ? hKey : nullptr;
    return *phkResult ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  }
  return OpenOrCreate(hKey, lpSubKey, false, phkResult, nullptr);
}

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD dwOptions, REGSAM, LPSECURITY_ATTRIBUTES,
                     PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (dwOptions & REG_OPTION_VOLATILE) return ERROR_INVALID_PARAMETER;
  return OpenOrCreate(hKey, lpSubKey, true, phkResult, lpdwDisposition);
}

LONG RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  if (phkResult && (!lpSubKey || !*lpSubKey)) return RegOpenKeyA(hKey, lpSubKey, phkResult);
  return OpenOrCreate(hKey, lpSubKey, true, phkResult, nullptr);
}

LONG RegCloseKey(HKEY hKey) { return registry::CloseKeyHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  return WithKey(hKey, [&](Key& key, bool&) {
    const Value* value = key.FindValue(lpValueName ? lpValueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (lpType) *lpType = value->type;
    return lpcbData ? CopyData(*value, lpData, lpcbData) : ERROR_SUCCESS;
  });
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
  const std::string_view name = lpValueName ? lpValueName : "";
  if (HasLineBreak(name) || (!lpData && cbData)) return ERROR_INVALID_PARAMETER;
  return WithKey(hKey, [&](Key& key, bool& changed) {
    key.SetValue(name, dwType, std::vector<BYTE>(lpData, lpData + cbData));
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  return WithKey(hKey, [&](Key& key, bool& changed) {
    changed = key.RemoveValue(lpValueName ? lpValueName : "");
    return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  std::vector<std::string> names;
  if (const LONG status = SplitSubKey(lpSubKey, names); status != ERROR_SUCCESS) return status;
  if (names.empty()) return ERROR_INVALID_PARAMETER;
  const std::string last = names.back();
  names.pop_back();
  return WithKey(hKey, [&](Key& key, bool& changed) {
    Key* parent = FindKey(key, names);
    Key* target = parent ? parent->FindSubKey(last) : nullptr;
    if (!target) return ERROR_FILE_NOT_FOUND;
    if (!target->subKeys.empty()) return ERROR_ACCESS_DENIED;
    changed = parent->RemoveSubKey(last);
    return ERROR_SUCCESS;
  });
}

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                   LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  return WithKey(hKey, [&](Key& key, bool&) {
    if (dwIndex >= key.subKeys.size()) return ERROR_NO_MORE_ITEMS;
    if (const LONG status = CopyName(key.subKeys[dwIndex].name, lpName, lpcchName); status != ERROR_SUCCESS)
      return status;
    if (lpcchClass) {
      if (lpClass && *lpcchClass) *lpClass = '\0';
      *lpcchClass = 0;
    }
    ClearTime(lpftLastWriteTime);
    return ERROR_SUCCESS;
  });
}

LONG RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName) {
  return RegEnumKeyExA(hKey, dwIndex, lpName, &cchName, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD, LPDWORD lpType,
                   LPBYTE lpData, LPDWORD lpcbData) {
  if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  return WithKey(hKey, [&](Key& key, bool&) {
    if (dwIndex >= key.values.size()) return ERROR_NO_MORE_ITEMS;
    const Value& value = key.values[dwIndex];
    if (lpType) *lpType = value.type;
    if (lpcbData) {
      if (const LONG status = CopyData(value, lpData, lpcbData); status != ERROR_SUCCESS) return status;
    }
    return CopyName(value.name, lpValueName, lpcchValueName);
  });
}

LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                      LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
  return WithKey(hKey, [&](Key& key, bool&) {
    std::size_t maxSubKey = 0, maxValueName = 0, maxValueData = 0;
    for (const Key& sub : key.subKeys) maxSubKey = std::max(maxSubKey, sub.name.size());
    for (const Value& value : key.values) {
      maxValueName = std::max(maxValueName, value.name.size());
      maxValueData = std::max(maxValueData, value.data.size());
    }
    if (lpcchClass) {
      if (lpClass && *lpcchClass) *lpClass = '\0';
      *lpcchClass = 0;
    }
    if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(key.subKeys.size());
    if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = static_cast<DWORD>(maxSubKey);
    if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
    if (lpcValues) *lpcValues = static_cast<DWORD>(key.values.size());
    if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = static_cast<DWORD>(maxValueName);
    if (lpcbMaxValueLen) *lpcbMaxValueLen = static_cast<DWORD>(maxValueData);
    if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
    ClearTime(lpftLastWriteTime);
    return ERROR_SUCCESS;
  });
}

LONG RegFlushKey(HKEY hKey) {
  return WithKey(hKey, [](Key&, bool&) { return ERROR_SUCCESS; });
}
