#pragma once
// The text form of form descriptions turned into the binary form format, with the source line of
// each object header and property so that read errors can name the line.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TFormBinary {
  std::string Data;
  // (offset in Data, line) at the start of each object header and property, ascending.
  std::vector<std::pair<std::int64_t, int>> Lines;

  int LineAt(std::int64_t Offset) const;
};

// Raises EParserError for text that is not a form description.
TFormBinary ObjectTextToBinary(const std::string& Text);
