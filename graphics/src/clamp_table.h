#pragma once
#include <array>
#include <cstdint>

// v limited to 0..255 for v in -510..510, built at library set-up.
extern std::array<std::uint8_t, 1021> PGClampTable;
inline std::uint8_t PGClamp(int v) { return PGClampTable[static_cast<std::size_t>(v + 510)]; }
void BuildPGClampTable();
