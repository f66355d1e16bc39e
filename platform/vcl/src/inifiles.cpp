#include "vcl/inifiles.h"

#include <vector>

#include "vcl/strings.h"
#include "win32/kernel.h"

namespace {

// The NUL-separated names the private-profile calls list for a null section or key.
void ReadNames(const char* section, const std::string& fileName, TStrings* strings) {
  std::vector<char> buffer(16384);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = GetPrivateProfileStringA(section, nullptr, nullptr, buffer.data(), size, fileName.c_str());
    if (n + 2 < size) {
      strings->BeginUpdate();
      strings->Clear();
      for (DWORD i = 0; i < n;) {
        const std::string name(buffer.data() + i);
        if (!name.empty()) strings->Add(name);
        i += static_cast<DWORD>(name.size()) + 1;
      }
      strings->EndUpdate();
      return;
    }
    // A full buffer cuts the list: ask again with a larger one.
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) const {
  std::vector<char> buffer(2048);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = GetPrivateProfileStringA(Section.c_str(), Ident.c_str(), Default.c_str(), buffer.data(), size,
                                             fileName_.c_str());
    if (n + 1 < size) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 4);
  }
}

int TIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
  std::string text = ReadString(Section, Ident, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
  return StrToIntDef(text, Default);
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::Write(const char* section, const char* ident, const char* value) {
  if (!WritePrivateProfileStringA(section, ident, value, fileName_.c_str()))
    throw Exception("Unable to write to %s", {fileName_});
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  Write(Section.c_str(), Ident.c_str(), Value.c_str());
}

void TIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

void TIniFile::ReadSections(TStrings* Strings) const { ReadNames(nullptr, fileName_, Strings); }

void TIniFile::ReadSection(const std::string& Section, TStrings* Strings) const {
  ReadNames(Section.c_str(), fileName_, Strings);
}

void TIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings) const {
  TStringList keys;
  ReadSection(Section, &keys);
  Strings->BeginUpdate();
  Strings->Clear();
  for (int i = 0; i < keys.Count(); ++i) Strings->Add(keys.Get(i) + "=" + ReadString(Section, keys.Get(i), ""));
  Strings->EndUpdate();
}

bool TIniFile::SectionExists(const std::string& Section) const {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}

void TIniFile::EraseSection(const std::string& Section) { Write(Section.c_str(), nullptr, nullptr); }

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  Write(Section.c_str(), Ident.c_str(), nullptr);
}
