// A command line split into words, as a shortcut's arguments and the run time's Shell give them.
#include "win32/shell.h"

namespace shell {

std::vector<std::string> CommandLineWords(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) break;
    std::string word;
    if (text[i] == '"') {  // a quoted program path may hold blanks
      const size_t close = text.find('"', i + 1);
      word = text.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
      i = close == std::string::npos ? text.size() : close + 1;
    } else {
      const size_t blank = text.find(' ', i);
      word = text.substr(i, blank == std::string::npos ? std::string::npos : blank - i);
      i = blank == std::string::npos ? text.size() : blank;
    }
    words.push_back(word);
  }
  return words;
}

}  // namespace shell
