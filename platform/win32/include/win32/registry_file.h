#pragma once
// The registry's data model and its file form: one tree per root, kept on disk as the text that
// the Windows registry editor exports ("REGEDIT4", [HKEY_...\Key] sections, "name"=data lines).
// Pure functions over strings; the parser takes any input and reports what it cannot read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/types.h"

namespace registry {

// Windows keeps keys at most this deep; the parser refuses deeper sections, which also bounds the
// recursion of everything that walks a tree.
constexpr std::size_t kMaxKeyDepth = 512;

// Registry names compare without regard to (ASCII) case, and order by their upper-case form, as
// Windows enumerates them.
bool EqualNoCase(std::string_view a, std::string_view b);
bool LessNoCase(std::string_view a, std::string_view b);

struct Value {
  std::string name;  // empty: the key's default value ("@" in the file)
  DWORD type = 0;
  std::vector<BYTE> data;  // exactly the bytes stored; a REG_SZ normally ends with its NUL
};

struct Key {
  std::string name;  // as first stored; the root carries the root's name
  std::vector<Value> values;  // in the order they were first stored
  std::vector<Key> subKeys;  // ordered by name without regard to case, as Windows enumerates them

  Key* FindSubKey(std::string_view subKeyName);
  const Key* FindSubKey(std::string_view subKeyName) const;
  // The existing sub-key of that name, or a new empty one in its place in the order.
  Key& AddSubKey(std::string_view subKeyName);
  // Removes the sub-key with everything below it; false when there is none.
  bool RemoveSubKey(std::string_view subKeyName);

  Value* FindValue(std::string_view valueName);
  const Value* FindValue(std::string_view valueName) const;
  // Stores the value, replacing one of the same name (whose stored name is kept).
  void SetValue(std::string_view valueName, DWORD type, std::vector<BYTE> data);
  bool RemoveValue(std::string_view valueName);
};

struct ParseError {
  std::size_t line = 0;  // 1-based line of the file where reading stopped
  std::string message;
};

struct ParseResult {
  Key root;  // what was read; empty when there is an error
  std::optional<ParseError> error;
};

// Reads a hive file whose sections all lie under `rootName` ("HKEY_CURRENT_USER"). Accepts LF or
// CR LF line ends, ";" comment lines and "\"-continued hex lines. Refuses anything else, including
// the editor's deletion entries ("[-key]", "name"=-), which have no meaning in a stored hive.
ParseResult ParseHive(std::string_view text, std::string_view rootName);

// Writes the tree under root.name, one section per key (so empty keys survive), CR LF line ends.
// Strings the quoted form cannot carry (line breaks, inner NULs, no final NUL) are written as
// hex(1). Key and value names must not hold line breaks; the registry calls refuse them.
std::string FormatHive(const Key& root);

}  // namespace registry
