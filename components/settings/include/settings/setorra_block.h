#pragma once
// The scrambled block of an encrypted setting. Plain data: the marker as a counted text (length 5
// as 32 bits, then "TRVOK"), the kind as 32 bits, then the value's bytes. Block byte 0 is a random
// seed R; then for each plain byte p: R := (R + p) mod 256 and the block byte is R XOR the next
// character of the key (the setting's UniqueName, used round and round). Working modulo 256 lets
// every byte, 255 included, come back.
#include <cstdint>
#include <optional>
#include <string>

std::string ScrambleBlock(const std::string& Plain, const std::string& Key, std::uint8_t Seed);
// The plain data, or none when the block is empty or does not begin with the marker.
std::optional<std::string> UnscrambleBlock(const std::string& Block, const std::string& Key);

// The marker that opens every plain block.
std::string ScrambleMarker();
