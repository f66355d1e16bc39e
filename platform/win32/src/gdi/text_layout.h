#pragma once
// DrawText's layout, free of any device: prefixes, line breaks, word wrapping, tab stops and
// ellipses, measured through a callback so it can be tested with made-up advances.
#include <functional>
#include <string>
#include <vector>

#include "win32/types.h"

namespace fonts {

using AdvanceOf = std::function<int(char32_t)>;

struct LayoutLine {
  std::u32string chars;
  int width = 0;
  int underlined = -1;  // index of the "&"-prefixed character, -1 for none
};

struct LayoutRules {
  UINT format = 0;  // DT_* flags
  int width = 0;  // of the rectangle
  int tabWidth = 8;  // pixels between tab stops (DT_EXPANDTABS)
};

// Advance of each character from the line's start; one extra entry holds the line's width.
std::vector<int> CharPositions(std::u32string_view line, const AdvanceOf& advance, const LayoutRules& rules);

std::vector<LayoutLine> LayoutText(std::u32string_view text, const AdvanceOf& advance, const LayoutRules& rules);

}  // namespace fonts
