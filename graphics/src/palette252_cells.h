#pragma once
// Candidate lists of the fixed 252-entry palette's colour cells: cell (r, g, b) of
// (channel + 16) div 32 is number r * 81 + g * 9 + b, and its candidates are
// Special252CellEntries[Special252CellStarts[cell] .. Special252CellStarts[cell + 1] - 1].
#include <array>
#include <cstdint>

extern const std::array<std::uint8_t, 1928> Special252CellEntries;
extern const std::array<std::uint16_t, 730> Special252CellStarts;
