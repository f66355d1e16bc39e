#include <algorithm>

#include "win32/registry_file.h"

namespace registry {
namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

template <typename KeyT>
auto FindSubKeyIn(KeyT& key, std::string_view name) {
  auto it = std::lower_bound(key.subKeys.begin(), key.subKeys.end(), name,
                             [](const Key& k, std::string_view n) { return LessNoCase(k.name, n); });
  return (it != key.subKeys.end() && EqualNoCase(it->name, name)) ? &*it : nullptr;
}

template <typename KeyT>
auto FindValueIn(KeyT& key, std::string_view name) {
  auto it =
      std::find_if(key.values.begin(), key.values.end(), [name](const Value& v) { return EqualNoCase(v.name, name); });
  return it != key.values.end() ? &*it : nullptr;
}

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiUpper(x)) < static_cast<unsigned char>(AsciiUpper(y));
  });
}

Key* Key::FindSubKey(std::string_view subKeyName) { return FindSubKeyIn(*this, subKeyName); }
const Key* Key::FindSubKey(std::string_view subKeyName) const { return FindSubKeyIn(*this, subKeyName); }

Key& Key::AddSubKey(std::string_view subKeyName) {
  auto it = std::lower_bound(subKeys.begin(), subKeys.end(), subKeyName,
                             [](const Key& k, std::string_view n) { return LessNoCase(k.name, n); });
  if (it != subKeys.end() && EqualNoCase(it->name, subKeyName)) return *it;
  return *subKeys.insert(it, Key{std::string(subKeyName), {}, {}});
}

bool Key::RemoveSubKey(std::string_view subKeyName) {
  Key* found = FindSubKey(subKeyName);
  if (!found) return false;
  subKeys.erase(subKeys.begin() + (found - subKeys.data()));
  return true;
}

Value* Key::FindValue(std::string_view valueName) { return FindValueIn(*this, valueName); }
const Value* Key::FindValue(std::string_view valueName) const { return FindValueIn(*this, valueName); }

void Key::SetValue(std::string_view valueName, DWORD type, std::vector<BYTE> data) {
  if (Value* existing = FindValue(valueName)) {
    existing->type = type;
    existing->data = std::move(data);
  } else {
    values.push_back(Value{std::string(valueName), type, std::move(data)});
  }
}

bool Key::RemoveValue(std::string_view valueName) {
  Value* found = FindValue(valueName);
  if (!found) return false;
  values.erase(values.begin() + (found - values.data()));
  return true;
}

}  // namespace registry
