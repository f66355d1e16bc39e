// Animated GIFs made by the tests' LZW encoder: frames with each disposal, transparency, an
// interlaced frame on a local table, a loop extension, a comment and an unknown extension.
#include <string>

#include "gif_file_writer.h"
#include "seeds.h"

namespace fuzz_seeds {

std::vector<Seed> Seeds() {
  GifColors colours;
  for (int i = 0; i < 16; ++i)
    colours.insert(colours.end(), {static_cast<std::uint8_t>(16 * i), 90, static_cast<std::uint8_t>(255 - 16 * i)});
  std::vector<std::uint8_t> pixels(12 * 9);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>((i * 7 / 5) % 16);
  const GifLzwOptions four{.minimumCodeSize = 4};
  const auto bytes = [](const GifFileBuilder& b) { return std::string(b.bytes.begin(), b.bytes.end()); };

  GifFileBuilder animated;
  animated.Screen(20, 16, &colours, 3);
  animated.U8(0x21).U8(0xFF).U8(11);
  for (char c : std::string("NETSCAPE2.0")) animated.U8(c);
  animated.U8(3).U8(1).U16(3).U8(0);
  animated.GraphicControl(0, 10, 0).Image(0, 0, 12, 9, GifLzwEncode(pixels, four));
  animated.GraphicControl(2 << 2 | 1, 5, 3).Comment("two").Image(4, 3, 12, 9, GifLzwEncode(pixels, four));
  animated.GraphicControl(3 << 2 | 1, 0, 5).Image(8, 7, 12, 9, GifLzwEncode(pixels, four), true, &colours, 3);
  animated.U8(0x21).U8(0x42).U8(2).U8(1).U8(2).U8(0);
  animated.GraphicControl(1 << 2, 20, 0).Image(0, 0, 12, 9, GifLzwEncode(pixels, four));
  std::vector<Seed> seeds;
  seeds.push_back({"animated.gif", bytes(animated.Trailer())});
  seeds.push_back({"single87a.gif", bytes(GifFileBuilder()
                                              .Screen(12, 9, &colours, 3, 0, 0, "GIF87a")
                                              .GraphicControl(1, 0, 2)
                                              .Image(0, 0, 12, 9, GifLzwEncode(pixels, four))
                                              .Trailer())});
  return seeds;
}

}  // namespace fuzz_seeds
