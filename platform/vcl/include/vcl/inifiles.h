#pragma once
// TIniFile: an INI file through the kernel's private-profile calls, whose rules apply: sections and
// keys without regard to case, blanks trimmed, one pair of quotes stripped, ";" comments.
#include <string>

#include "vcl/objects.h"
#include "vcl/sysutils.h"

class TStrings;

class TIniFile : public TObject {
 public:
  // A name without a folder lies in the Windows folder.
  explicit TIniFile(std::string FileName) : fileName_(std::move(FileName)) {}
  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
  // Decimal, or hexadecimal with "$" or "0x"; Default when the value is absent or no number.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  // Writes raise Exception "Unable to write to %s" when the file cannot be written.
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

  // Replace the list's content: the section names, a section's key names, or its "key=value" lines.
  void ReadSections(TStrings* Strings) const;
  void ReadSection(const std::string& Section, TStrings* Strings) const;
  void ReadSectionValues(const std::string& Section, TStrings* Strings) const;
  bool SectionExists(const std::string& Section) const;
  bool ValueExists(const std::string& Section, const std::string& Ident) const;
  void EraseSection(const std::string& Section);
  void DeleteKey(const std::string& Section, const std::string& Ident);

 private:
  void Write(const char* section, const char* ident, const char* value);

  std::string fileName_;
};
