#pragma once
// TRegistry, the registry through the advapi32 calls, and TRegIniFile, the registry seen as an INI
// file whose sections are sub-keys.
#include <cstdint>
#include <string>

#include "vcl/objects.h"
#include "vcl/sysutils.h"
#include "win32/registry.h"

class TStrings;

class ERegistryException : public Exception {
  using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
};

// Values of the current key. A value of the wrong type raises ERegistryException
// "Invalid data type for '%s'"; a failed read "Failed to get data for '%s'"; a failed write
// "Failed to set data for '%s'".
class TRegistry : public TObject {
 public:
  TRegistry() = default;
  ~TRegistry() override;

  HKEY RootKey() const { return rootKey_; }
  // Closes the current key when the root changes.
  void SetRootKey(HKEY Value);
  HKEY CurrentKey() const { return currentKey_; }
  const std::string& CurrentPath() const { return currentPath_; }

  // A key starting with "\" is taken from the root, any other from the current key when one is
  // open. On success it becomes the current key.
  bool OpenKey(const std::string& Key, bool CanCreate);
  void CloseKey();
  bool KeyExists(const std::string& Key);
  // Only a key without sub-keys is deleted, so no sub-key's values are lost with it.
  bool DeleteKey(const std::string& Key);
  bool DeleteValue(const std::string& Name);
  bool ValueExists(const std::string& Name);
  bool GetDataInfo(const std::string& ValueName, TRegDataInfo& Value);
  // -1 when the value does not exist.
  int GetDataSize(const std::string& ValueName);
  TRegDataType GetDataType(const std::string& ValueName);
  bool GetKeyInfo(TRegKeyInfo& Value);
  bool HasSubKeys();
  void GetKeyNames(TStrings* Strings);
  void GetValueNames(TStrings* Strings);

  // An absent value reads as "".
  std::string ReadString(const std::string& Name);
  int ReadInteger(const std::string& Name);
  bool ReadBool(const std::string& Name);
  // The value's size; 0 when it does not exist; a value larger than BufSize raises.
  int ReadBinaryData(const std::string& Name, void* Buffer, int BufSize);
  void WriteString(const std::string& Name, const std::string& Value);
  void WriteInteger(const std::string& Name, int Value);
  void WriteBool(const std::string& Name, bool Value);
  void WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize);

 protected:
  // The key opened (0 when it cannot be) for a path as OpenKey reads it; the caller closes it.
  HKEY GetKey(const std::string& Key);
  // The current key without closing the previous one; the caller keeps that.
  void SetCurrentKey(HKEY Value) { currentKey_ = Value; }
  HKEY GetBaseKey(bool Relative) const { return currentKey_ == nullptr || !Relative ? rootKey_ : currentKey_; }

 private:
  int GetData(const std::string& Name, void* Buffer, int BufSize, TRegDataType& RegData);
  void PutData(const std::string& Name, const void* Buffer, int BufSize, TRegDataType RegData);
  void ChangeKey(HKEY Value, const std::string& Path);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  HKEY currentKey_ = nullptr;
  std::string currentPath_;
};

class TRegIniFile : public TRegistry {
 public:
  // Opens (creating it) FileName as the current key below HKEY_CURRENT_USER.
  explicit TRegIniFile(const std::string& FileName);
  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default);
  // A string value is read as a decimal number.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
  // Integers and booleans are stored as strings, as the INI file holds them.
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  void ReadSection(const std::string& Section, TStrings* Strings);
  void ReadSections(TStrings* Strings);
  void ReadSectionValues(const std::string& Section, TStrings* Strings);
  void EraseSection(const std::string& Section);
  void DeleteKey(const std::string& Section, const std::string& Ident);

 private:
  // Runs body with the section's key current (created when create is set); false when it cannot be
  // opened.
  template <class Body>
  bool InSection(const std::string& section, bool create, Body body);

  std::string fileName_;
};
