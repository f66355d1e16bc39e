#pragma once
// The library's user-visible texts: one table with a column per language. Templates hold up to
// three placeholders "%S1", "%S2", "%S3"; only the first occurrence of each is filled.
#include <string>

enum TPGLanguage { pglEnglish, pglGerman, pglFrench, pglDutch, pglSpanish, pglSpare };
constexpr int PGLanguageCount = 6;

struct TPGLangStrEntry {
  int Id;
  const char* Texts[PGLanguageCount];
};

constexpr int PGLangStrCount = 85;
extern const TPGLangStrEntry PGLangStrEntries[PGLangStrCount];

// Set to English by the library set-up; nothing changes it.
extern TPGLanguage PGLanguage;

std::string PGLangStr(int Id);
std::string PGLangStrS1(int Id, const std::string& S1);
std::string PGLangStrS2(int Id, const std::string& S1, const std::string& S2);
std::string PGLangStrS3(int Id, const std::string& S1, const std::string& S2, const std::string& S3);

// Raises EPixelGraphic when a row's id is not its position.
void CheckPGLangStrOrder(const TPGLangStrEntry* Entries, int Count);
