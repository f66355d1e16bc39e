// Scrambling and unscrambling of encrypted settings.
#include "settings/setorra_block.h"

namespace {

constexpr char kMarker[] = "TRVOK";

std::uint8_t KeyByte(const std::string& key, std::size_t i) {
  return key.empty() ? 0 : static_cast<std::uint8_t>(key[i % key.size()]);
}

}  // namespace

std::string ScrambleMarker() {
  std::string marker = {5, 0, 0, 0};
  marker += kMarker;
  return marker;
}

std::string ScrambleBlock(const std::string& Plain, const std::string& Key, std::uint8_t Seed) {
  std::string block(1, static_cast<char>(Seed));
  block.reserve(Plain.size() + 1);
  std::uint8_t running = Seed;
  for (std::size_t i = 0; i < Plain.size(); ++i) {
    running = static_cast<std::uint8_t>(running + static_cast<std::uint8_t>(Plain[i]));
    block += static_cast<char>(running ^ KeyByte(Key, i));
  }
  return block;
}

std::optional<std::string> UnscrambleBlock(const std::string& Block, const std::string& Key) {
  if (Block.empty()) return std::nullopt;
  std::string plain;
  plain.reserve(Block.size() - 1);
  std::uint8_t previous = static_cast<std::uint8_t>(Block[0]);
  for (std::size_t i = 1; i < Block.size(); ++i) {
    const auto x = static_cast<std::uint8_t>(static_cast<std::uint8_t>(Block[i]) ^ KeyByte(Key, i - 1));
    plain += static_cast<char>(static_cast<std::uint8_t>(x - previous));
    previous = x;
  }
  const std::string marker = ScrambleMarker();
  if (plain.compare(0, marker.size(), marker) != 0) return std::nullopt;
  return plain;
}
