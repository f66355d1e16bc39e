#include "win32/machine.h"

namespace machine {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool Glob(std::string_view name, std::string_view mask) {
  std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || Fold(mask[m]) == Fold(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask == "*" || mask == "*.*") return true;
  const bool hasExtension = name.find('.') != std::string_view::npos;
  if (mask.ends_with(".*") && !hasExtension && Glob(name, mask.substr(0, mask.size() - 2))) return true;
  if (mask.ends_with('.') && !mask.ends_with("..")) return !hasExtension && Glob(name, mask.substr(0, mask.size() - 1));
  return Glob(name, mask);
}

}  // namespace machine
