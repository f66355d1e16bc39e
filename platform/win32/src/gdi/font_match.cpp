#include "gdi/font_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <string_view>
#include <tuple>

namespace fonts {
namespace {

struct Substitution {
  std::string_view windowsName;
  std::string_view family;
};

constexpr std::array<Substitution, 5> kSubstitutions = {{
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"MS Sans Serif", "Liberation Sans"},
    {"System", "Liberation Sans"},
}};

constexpr std::array<std::string_view, 2> kRasterNames = {"MS Sans Serif", "System"};

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

FcConfig* Config() {
  static FcConfig* config = [] {
    FcInit();
    return FcConfigGetCurrent();
  }();
  return config;
}

std::string StringOf(FcPattern* p, const char* object, int n = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(p, object, n, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

int IntOf(FcPattern* p, const char* object, int fallback) {
  int value = 0;
  return FcPatternGetInteger(p, object, 0, &value) == FcResultMatch ? value : fallback;
}

// Fonts name their Windows-style family last (after a typographic family such as "DejaVu Sans"
// for "DejaVu Sans Condensed").
std::string WindowsFamily(FcPattern* p) {
  std::string name;
  for (int n = 0;; ++n) {
    std::string next = StringOf(p, FC_FAMILY, n);
    if (next.empty()) return name;
    name = std::move(next);
  }
}

int WindowsWeight(FcPattern* p) { return FcWeightToOpenType(IntOf(p, FC_WEIGHT, FC_WEIGHT_REGULAR)); }

}  // namespace

std::mutex& EngineMutex() {
  static std::mutex mutex;
  return mutex;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

std::string SubstituteFamily(const std::string& faceName, BYTE pitchAndFamily) {
  for (const Substitution& s : kSubstitutions)
    if (EqualNoCase(faceName, std::string(s.windowsName))) return std::string(s.family);
  if (!faceName.empty()) return faceName;
  if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN) return "Liberation Mono";
  if ((pitchAndFamily & 0xF0) == FF_ROMAN) return "Liberation Serif";
  return "Liberation Sans";
}

std::string WindowsName(const std::string& faceName) {
  for (const Substitution& s : kSubstitutions)
    if (EqualNoCase(faceName, std::string(s.windowsName))) return std::string(s.windowsName);
  return {};
}

bool IsRasterName(const std::string& faceName) {
  return std::any_of(kRasterNames.begin(), kRasterNames.end(),
                     [&](std::string_view n) { return EqualNoCase(faceName, std::string(n)); });
}

MatchedFace MatchFace(const std::string& faceName, BYTE pitchAndFamily, LONG weight, bool italic) {
  Pattern pattern(FcPatternCreate());
  const std::string family = SubstituteFamily(faceName, pitchAndFamily);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  // A missing Liberation face falls back to the other sans face the setup installs.
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight == FW_DONTCARE ? FW_NORMAL : weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if ((pitchAndFamily & 0x03) == FIXED_PITCH) FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(Config(), pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  FcResult result;
  Pattern match(FcFontMatch(Config(), pattern.get(), &result));
  MatchedFace face;
  if (!match) return face;
  face.file = StringOf(match.get(), FC_FILE);
  face.index = IntOf(match.get(), FC_INDEX, 0);
  face.family = WindowsFamily(match.get());
  face.weight = WindowsWeight(match.get());
  face.italic = IntOf(match.get(), FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
  return face;
}

std::vector<InstalledStyle> InstalledStyles() {
  Pattern pattern(FcPatternCreate());
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcObjectSet* objects =
      FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, static_cast<char*>(nullptr));
  FcFontSet* set = FcFontList(Config(), pattern.get(), objects);
  FcObjectSetDestroy(objects);
  std::vector<InstalledStyle> styles;
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* p = set->fonts[i];
    InstalledStyle s;
    s.family = WindowsFamily(p);
    s.style = StringOf(p, FC_STYLE);
    s.file = StringOf(p, FC_FILE);
    s.index = IntOf(p, FC_INDEX, 0);
    s.weight = WindowsWeight(p);
    s.italic = IntOf(p, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    if (!s.family.empty() && !s.file.empty()) styles.push_back(std::move(s));
  }
  if (set) FcFontSetDestroy(set);
  std::sort(styles.begin(), styles.end(), [](const InstalledStyle& a, const InstalledStyle& b) {
    return std::tie(a.family, a.weight, a.italic, a.style) < std::tie(b.family, b.weight, b.italic, b.style);
  });
  return styles;
}

std::vector<ListedFamily> ListedFamilies() {
  std::vector<ListedFamily> families;
  auto find = [&](const std::string& name) {
    return std::find_if(families.begin(), families.end(),
                        [&](const ListedFamily& f) { return EqualNoCase(f.name, name); });
  };
  for (InstalledStyle& s : InstalledStyles()) {
    auto it = find(s.family);
    if (it == families.end()) it = families.insert(families.end(), ListedFamily{s.family, false, {}});
    it->styles.push_back(std::move(s));
  }
  const std::vector<ListedFamily> installed = families;
  for (const Substitution& sub : kSubstitutions) {
    const std::string name(sub.windowsName);
    auto source = std::find_if(installed.begin(), installed.end(),
                               [&](const ListedFamily& f) { return EqualNoCase(f.name, std::string(sub.family)); });
    if (find(name) != families.end()) continue;
    if (IsRasterName(name)) {
      // Drawn by whatever sans face is there, so listed even without the Liberation faces.
      const MatchedFace face = MatchFace(name, DEFAULT_PITCH, FW_NORMAL, false);
      families.push_back({name, true, {{face.family, "Regular", face.file, face.index, face.weight, face.italic}}});
    } else if (source != installed.end()) {
      families.push_back({name, false, source->styles});
    }
  }
  std::sort(families.begin(), families.end(), [](const ListedFamily& a, const ListedFamily& b) {
    return std::lexicographical_compare(
        a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
  });
  return families;
}

}  // namespace fonts
