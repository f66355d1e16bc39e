#include "vcl/registry.h"

#include <vector>

#include "vcl/scope_exit.h"
#include "vcl/strings.h"

namespace {

TRegDataType DataTypeToRegData(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

DWORD RegDataToDataType(TRegDataType data) {
  switch (data) {
    case rdString: return REG_SZ;
    case rdExpandString: return REG_EXPAND_SZ;
    case rdInteger: return REG_DWORD;
    case rdBinary: return REG_BINARY;
    default: return REG_NONE;
  }
}

bool IsRelative(const std::string& key) { return key.empty() || key[0] != '\\'; }

[[noreturn]] void ReadError(const std::string& name) { throw ERegistryException("Invalid data type for '%s'", {name}); }

}  // namespace

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == rootKey_) return;
  CloseKey();
  rootKey_ = Value;
}

void TRegistry::ChangeKey(HKEY Value, const std::string& Path) {
  CloseKey();
  currentKey_ = Value;
  currentPath_ = Path;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  const bool relative = IsRelative(Key);
  const std::string subKey = relative ? Key : Key.substr(1);
  HKEY opened = nullptr;
  const LONG result = !CanCreate || subKey.empty()
                          ? RegOpenKeyExA(GetBaseKey(relative), subKey.c_str(), 0, KEY_ALL_ACCESS, &opened)
                          : RegCreateKeyExA(GetBaseKey(relative), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_ALL_ACCESS, nullptr, &opened, nullptr);
  if (result != ERROR_SUCCESS) return false;
  std::string path = subKey;
  if (currentKey_ && relative) path = subKey.empty() ? currentPath_ : currentPath_ + "\\" + subKey;
  ChangeKey(opened, path);
  return true;
}

void TRegistry::CloseKey() {
  if (!currentKey_) return;
  RegCloseKey(currentKey_);
  currentKey_ = nullptr;
  currentPath_.clear();
}

HKEY TRegistry::GetKey(const std::string& Key) {
  const bool relative = IsRelative(Key);
  const std::string subKey = relative ? Key : Key.substr(1);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(GetBaseKey(relative), subKey.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return nullptr;
  return opened;
}

bool TRegistry::KeyExists(const std::string& Key) {
  HKEY key = GetKey(Key);
  if (key) RegCloseKey(key);
  return key != nullptr;
}

bool TRegistry::DeleteKey(const std::string& Key) {
  const bool relative = IsRelative(Key);
  return RegDeleteKeyA(GetBaseKey(relative), (relative ? Key : Key.substr(1)).c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& Name) {
  return RegDeleteValueA(currentKey_, Name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::GetDataInfo(const std::string& ValueName, TRegDataInfo& Value) {
  DWORD type = REG_NONE, size = 0;
  Value = {};
  if (RegQueryValueExA(currentKey_, ValueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  Value.RegData = DataTypeToRegData(type);
  Value.DataSize = static_cast<int>(size);
  return true;
}

bool TRegistry::ValueExists(const std::string& Name) {
  TRegDataInfo info;
  return GetDataInfo(Name, info);
}

int TRegistry::GetDataSize(const std::string& ValueName) {
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const std::string& ValueName) {
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.RegData : rdUnknown;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& Value) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueLen = 0, maxDataLen = 0;
  Value = {};
  if (RegQueryInfoKeyA(currentKey_, nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr, &values, &maxValueLen,
                       &maxDataLen, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  Value = {static_cast<int>(subKeys), static_cast<int>(maxSubKeyLen), static_cast<int>(values),
           static_cast<int>(maxValueLen), static_cast<int>(maxDataLen)};
  return true;
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  TRegKeyInfo info;
  if (GetKeyInfo(info)) {
    std::vector<char> name(static_cast<std::size_t>(info.MaxSubKeyLen) + 1);
    for (int i = 0; i < info.NumSubKeys; ++i) {
      DWORD length = static_cast<DWORD>(name.size());
      if (RegEnumKeyExA(currentKey_, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
          ERROR_SUCCESS)
        Strings->Add(std::string(name.data(), length));
    }
  }
  Strings->EndUpdate();
}

void TRegistry::GetValueNames(TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  TRegKeyInfo info;
  if (GetKeyInfo(info)) {
    std::vector<char> name(static_cast<std::size_t>(info.MaxValueLen) + 1);
    for (int i = 0; i < info.NumValues; ++i) {
      DWORD length = static_cast<DWORD>(name.size());
      if (RegEnumValueA(currentKey_, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
          ERROR_SUCCESS)
        Strings->Add(std::string(name.data(), length));
    }
  }
  Strings->EndUpdate();
}

int TRegistry::GetData(const std::string& Name, void* Buffer, int BufSize, TRegDataType& RegData) {
  DWORD type = REG_NONE, size = static_cast<DWORD>(BufSize);
  if (RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, static_cast<LPBYTE>(Buffer), &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '%s'", {Name});
  RegData = DataTypeToRegData(type);
  return static_cast<int>(size);
}

void TRegistry::PutData(const std::string& Name, const void* Buffer, int BufSize, TRegDataType RegData) {
  if (RegSetValueExA(currentKey_, Name.c_str(), 0, RegDataToDataType(RegData), static_cast<const BYTE*>(Buffer),
                     static_cast<DWORD>(BufSize)) != ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for '%s'", {Name});
}

std::string TRegistry::ReadString(const std::string& Name) {
  TRegDataInfo info;
  if (!GetDataInfo(Name, info) || info.DataSize <= 0) return {};
  if (info.RegData != rdString && info.RegData != rdExpandString) ReadError(Name);
  std::string text(static_cast<std::size_t>(info.DataSize), '\0');
  TRegDataType type = rdUnknown;
  text.resize(static_cast<std::size_t>(GetData(Name, text.data(), info.DataSize, type)));
  // The stored text ends at its NUL.
  const auto nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

int TRegistry::ReadInteger(const std::string& Name) {
  TRegDataInfo info;
  std::int32_t value = 0;
  TRegDataType type = rdUnknown;
  if (GetDataInfo(Name, info) && info.RegData != rdInteger) ReadError(Name);
  GetData(Name, &value, sizeof value, type);
  return value;
}

bool TRegistry::ReadBool(const std::string& Name) { return ReadInteger(Name) != 0; }

int TRegistry::ReadBinaryData(const std::string& Name, void* Buffer, int BufSize) {
  TRegDataInfo info;
  if (!GetDataInfo(Name, info)) return 0;
  if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > BufSize) ReadError(Name);
  TRegDataType type = rdUnknown;
  return GetData(Name, Buffer, info.DataSize, type);
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) {
  PutData(Name, Value.c_str(), static_cast<int>(Value.size()) + 1, rdString);
}

void TRegistry::WriteInteger(const std::string& Name, int Value) {
  const std::int32_t value = Value;
  PutData(Name, &value, sizeof value, rdInteger);
}

void TRegistry::WriteBool(const std::string& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

void TRegistry::WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize) {
  PutData(Name, Buffer, BufSize, rdBinary);
}

TRegIniFile::TRegIniFile(const std::string& FileName) : fileName_(FileName) { OpenKey(FileName, true); }

template <class Body>
bool TRegIniFile::InSection(const std::string& section, bool create, Body body) {
  HKEY key = nullptr;
  if (create) {
    const bool relative = IsRelative(section);
    if (RegCreateKeyExA(GetBaseKey(relative), (relative ? section : section.substr(1)).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      key = nullptr;
  } else {
    key = GetKey(section);
  }
  if (!key) return false;
  const HKEY previous = CurrentKey();
  SetCurrentKey(key);
  {
    ScopeExit restoreKey([&] {
      SetCurrentKey(previous);
      RegCloseKey(key);
    });
    body();
  }
  return true;
}

std::string TRegIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) {
  std::string result = Default;
  InSection(Section, false, [&] {
    if (ValueExists(Ident)) result = TRegistry::ReadString(Ident);
  });
  return result;
}

int TRegIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) {
  int result = Default;
  InSection(Section, false, [&] {
    if (!ValueExists(Ident)) return;
    result = GetDataType(Ident) == rdString ? StrToIntDef(TRegistry::ReadString(Ident), Default)
                                            : TRegistry::ReadInteger(Ident);
  });
  return result;
}

bool TRegIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  if (!InSection(Section, true, [&] { TRegistry::WriteString(Ident, Value); }))
    throw ERegistryException("Failed to set data for '%s'", {Ident});
}

void TRegIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TRegIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

void TRegIniFile::ReadSection(const std::string& Section, TStrings* Strings) {
  if (!InSection(Section, false, [&] { GetValueNames(Strings); })) Strings->Clear();
}

void TRegIniFile::ReadSections(TStrings* Strings) { GetKeyNames(Strings); }

void TRegIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings) {
  TStringList names;
  ReadSection(Section, &names);
  Strings->BeginUpdate();
  Strings->Clear();
  for (int i = 0; i < names.Count(); ++i) Strings->Add(names.Get(i) + "=" + ReadString(Section, names.Get(i), ""));
  Strings->EndUpdate();
}

void TRegIniFile::EraseSection(const std::string& Section) { TRegistry::DeleteKey(Section); }

void TRegIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  InSection(Section, false, [&] { DeleteValue(Ident); });
}
