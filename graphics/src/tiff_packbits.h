#pragma once
// PackBits encoding of one row: two-byte runs beside literal bytes join the literal packet.
#include <cstdint>
#include <string>

void AppendPackBits(const std::uint8_t* Row, int Count, std::string& Out);
