#pragma once
// NeuQuant: a Kohonen self-organising map in integer arithmetic that learns a palette of N colours
// from a 24-bit picture, and a search that maps a pixel to its nearest palette entry.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/pixel_rows.h"

// The sampling factor (1 = every pixel) for a quality of 0..100, or -1 to derive it from the
// pixel count.
int NeuQuantSampleFactor(int quality, std::int64_t pixelCount);

class TNeuQuant {
 public:
  struct Neuron {
    std::int32_t b, g, r, index;  // index: the neuron's position before the sort by green
  };
  // Learns from the 24-bit rows (blue, green, red) and writes `colors` triples, blue first.
  TNeuQuant(const PixelRows& source, std::uint8_t* colorMap, int quality, int colors);
  // The palette entry nearest to a pixel given as blue | green << 8 | red << 16.
  int Index(std::uint32_t pixel) const;

 private:
  void Learn(const PixelRows& source, int sampleFactor);
  int Contest(int b, int g, int r);
  void AlterNeighbours(int rad, int winner, int b, int g, int r);
  void BuildIndex();

  int netsize_;
  int initrad_;
  std::vector<Neuron> network_;
  std::array<std::int32_t, 256> netindex_{};
  // The sorted network's channels apart, for the search to weigh every neuron side by side.
  std::vector<std::int32_t> sortedB_, sortedG_, sortedR_;
  std::vector<std::int32_t> bias_, freq_, radpower_;
};

std::unique_ptr<TNeuQuant> NeuQuantBuild(const PixelRows& source, std::uint8_t* colorMap, int quality, int colors);
inline int NeuQuantIndex(const TNeuQuant& state, std::uint32_t pixel) { return state.Index(pixel); }
