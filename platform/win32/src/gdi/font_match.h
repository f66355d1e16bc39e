#pragma once
// Which installed face stands for a logical font, and which families the machine offers. Windows
// names map to metric-compatible faces; other names go to fontconfig's best match.
#include <mutex>
#include <string>
#include <vector>

#include "win32/text.h"

namespace fonts {

// Every font call holds this: FreeType, fontconfig and the caches are not shared across threads.
std::mutex& EngineMutex();

// The family asked of fontconfig for a face name ("Arial" -> "Liberation Sans"); an empty name
// follows the pitch and family bits.
std::string SubstituteFamily(const std::string& faceName, BYTE pitchAndFamily);

// The usual spelling of a Windows name the table substitutes ("arial" -> "Arial"), else empty.
std::string WindowsName(const std::string& faceName);

// Windows 95 drew these names with raster fonts; they keep that nature in the metrics.
bool IsRasterName(const std::string& faceName);

struct MatchedFace {
  std::string file;
  int index = 0;
  std::string family;  // as installed
  int weight = FW_NORMAL;
  bool italic = false;
};

MatchedFace MatchFace(const std::string& faceName, BYTE pitchAndFamily, LONG weight, bool italic);

struct InstalledStyle {
  std::string family;  // the face's own (Windows-style) family name
  std::string style;  // "Regular", "Bold" ...
  std::string file;
  int index = 0;
  int weight = FW_NORMAL;
  bool italic = false;
};

// Scalable faces, sorted by family.
std::vector<InstalledStyle> InstalledStyles();

// The names a program sees in an enumeration: installed families, the Windows names whose
// substitute is installed, and the raster names. Sorted without regard to case, no duplicates.
struct ListedFamily {
  std::string name;
  bool raster = false;
  std::vector<InstalledStyle> styles;  // of the face that draws it
};
std::vector<ListedFamily> ListedFamilies();

bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace fonts
