#include "win32/item_search.h"

#include <strings.h>

#include <cctype>

namespace itemsearch {

int FirstFrom(int count, int after, const std::function<bool(int index)>& fits) {
  if (after < 0 || after >= count) after = -1;
  for (int step = 1; step <= count; ++step)
    if (const int i = (after + step) % count; fits(i)) return i;
  return -1;
}

int Find(int count, int after, std::string_view wanted, bool exact, const TextOf& textOf) {
  return FirstFrom(count, after, [&](int i) {
    const std::string text = textOf(i);
    const bool fits = exact ? text.size() == wanted.size() : text.size() >= wanted.size();
    return fits && strncasecmp(text.data(), wanted.data(), wanted.size()) == 0;
  });
}

int NextByFirstLetter(char key, int current, int count, const TextOf& textOf) {
  if (static_cast<unsigned char>(key) < 32) return -1;
  return Find(count, current, std::string_view(&key, 1), false, textOf);
}

char AccessKey(std::string_view label) {
  for (std::size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(label[i + 1])));
    ++i;
  }
  return 0;
}

bool IsAccessKey(char typed, std::string_view label) {
  const char key = AccessKey(label);
  return key != 0 && std::toupper(static_cast<unsigned char>(typed)) == static_cast<unsigned char>(key);
}

}  // namespace itemsearch
