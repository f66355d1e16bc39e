// GIF files made by the library's LZW encoder: two and sixteen colours, global and local tables,
// interlaced, a graphic control and a comment before a second image, a table left full, and
// many tiny frames to count.
#include <string>

#include "gif_file_writer.h"
#include "seeds.h"

namespace fuzz_seeds {

constexpr int kManyFrames = 20000;

std::vector<Seed> Seeds() {
  std::vector<std::uint8_t> pixels(12 * 9);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>((i * 7 / 5) % 16);
  std::vector<std::uint8_t> twoColours(pixels);
  for (auto& p : twoColours) p &= 1;
  GifColors colours;
  for (int i = 0; i < 16; ++i)
    colours.insert(colours.end(), {static_cast<std::uint8_t>(16 * i), 40, static_cast<std::uint8_t>(255 - 16 * i)});
  GifLzwOptions four{.minimumCodeSize = 4};
  GifLzwOptions full{.minimumCodeSize = 2, .leadingClear = false, .clearWhenFull = false, .subBlockSize = 7};
  std::vector<std::uint8_t> many(64 * 64);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint8_t>((i * i / 3) % 4);

  const auto bytes = [](const GifFileBuilder& b) { return std::string(b.bytes.begin(), b.bytes.end()); };
  std::vector<Seed> seeds;
  seeds.push_back(
      {"sixteen.gif",
       bytes(GifFileBuilder().Screen(12, 9, &colours, 3, 2).Image(0, 0, 12, 9, GifLzwEncode(pixels, four)).Trailer())});
  seeds.push_back({"two.gif", bytes(GifFileBuilder()
                                        .Screen(12, 9, &colours, 0)
                                        .Image(0, 0, 12, 9, GifLzwEncode(twoColours, {.minimumCodeSize = 2}))
                                        .Trailer())});
  seeds.push_back({"interlaced_local.gif", bytes(GifFileBuilder()
                                                     .Screen(20, 20, nullptr, 0, 0, 0, "GIF87a")
                                                     .Image(3, 4, 12, 9, GifLzwEncode(pixels, four), true, &colours, 3)
                                                     .Trailer())});
  seeds.push_back({"control_comment.gif", bytes(GifFileBuilder()
                                                    .Screen(12, 9, &colours, 3)
                                                    .GraphicControl(1, 50, 3)
                                                    .Comment("first")
                                                    .Image(0, 0, 12, 9, GifLzwEncode(pixels, four))
                                                    .GraphicControl(0, 10, 0)
                                                    .Image(0, 0, 12, 9, GifLzwEncode(pixels, four))
                                                    .Trailer())});
  seeds.push_back({"full_table.gif",
                   bytes(GifFileBuilder().Screen(64, 64, &colours, 1).Image(0, 0, 64, 64, GifLzwEncode(many, full)))});
  GifFileBuilder frames;
  frames.Screen(1, 1, &colours, 3);
  const auto dot = GifLzwEncode({1}, four);
  for (int i = 0; i < kManyFrames; ++i) frames.GraphicControl(0, 1, 0).Image(0, 0, 1, 1, dot);
  seeds.push_back({"many_frames.gif", bytes(frames.Trailer())});
  return seeds;
}

}  // namespace fuzz_seeds
