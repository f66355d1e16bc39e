#include "imaging/neuquant.h"

#include <algorithm>
#include <cstdlib>

#include "vcl/system.h"

namespace {
constexpr int kCycles = 100;  // schedule steps over one learning pass
constexpr int kAlphaOne = 1 << 10;  // alpha of 1.0
constexpr int kRadiusOne = 1 << 6;  // radius fraction bits
constexpr int kRadBias = 1 << 8;
constexpr int kAlphaRadBias = 1 << 18;
constexpr int kBiasOne = 1 << 16;
constexpr int kBeta = 1 << 6;  // frequency gain of the nearest neuron
constexpr int kBetaGamma = 1 << 16;  // its bias loss

int StepFor(std::int64_t lengthCount) {
  for (int prime : {499, 491, 487})
    if (lengthCount % prime != 0) return prime;
  return 503;
}
}  // namespace

int NeuQuantSampleFactor(int quality, std::int64_t pixelCount) {
  if (quality != -1) return static_cast<int>(Trunc((100 - quality) / 100.0L * 29)) + 1;
  if (pixelCount < 2000) return 1;
  auto factor = Round((pixelCount - 2000) * 13.0L / 148000 + 2);
  return static_cast<int>(std::clamp<std::int64_t>(factor, 1, 30));
}

TNeuQuant::TNeuQuant(const PixelRows& source, std::uint8_t* colorMap, int quality, int colors)
    : netsize_(colors),
      initrad_(colors / 8),
      network_(colors),
      bias_(colors, 0),
      freq_(colors),
      radpower_(std::max(initrad_, 1), 0) {
  for (int i = 0; i < netsize_; ++i) {
    std::int32_t grey = i * 4096 / netsize_;
    network_[i] = {grey, grey, grey, i};
    freq_[i] = kBiasOne / netsize_;
  }
  Learn(source, NeuQuantSampleFactor(quality, std::int64_t{source.width} * source.height));
  for (int i = 0; i < netsize_; ++i) {
    Neuron& n = network_[i];
    n.b >>= 4;
    n.g >>= 4;
    n.r >>= 4;
    n.index = i;
    colorMap[3 * i] = static_cast<std::uint8_t>(n.b);
    colorMap[3 * i + 1] = static_cast<std::uint8_t>(n.g);
    colorMap[3 * i + 2] = static_cast<std::uint8_t>(n.r);
  }
  BuildIndex();
}

void TNeuQuant::Learn(const PixelRows& source, int sampleFactor) {
  const std::int64_t pixels = std::int64_t{source.width} * source.height;
  if (pixels <= 0) return;
  const std::int64_t lengthCount = pixels * 3;
  const std::int64_t samplePixels = lengthCount / (3 * sampleFactor);
  const int alphadec = 30 + (sampleFactor - 1) / 3;
  // Fewer than 100 samples would make the schedule interval 0.
  const std::int64_t delta = std::max<std::int64_t>(samplePixels / kCycles, 1);
  int alpha = kAlphaOne;
  int radius = initrad_ * kRadiusOne;
  int rad = radius < 2 * kRadiusOne ? 0 : radius / kRadiusOne;
  auto setRadPower = [&] {
    for (int i = 0; i < rad; ++i) radpower_[i] = ((rad * rad - i * i) * kRadBias / (rad * rad)) * alpha;
  };
  setRadPower();

  const std::int64_t step = StepFor(lengthCount);
  std::int64_t position = 0;
  for (std::int64_t i = 1; i <= samplePixels; ++i) {
    const std::uint8_t* p = source.Row(static_cast<int>(position / source.width)) + 3 * (position % source.width);
    int b = p[0] << 4, g = p[1] << 4, r = p[2] << 4;
    int winner = Contest(b, g, r);
    Neuron& n = network_[winner];
    n.b -= static_cast<std::int32_t>(std::int64_t{n.b - b} * alpha / kAlphaOne);
    n.g -= static_cast<std::int32_t>(std::int64_t{n.g - g} * alpha / kAlphaOne);
    n.r -= static_cast<std::int32_t>(std::int64_t{n.r - r} * alpha / kAlphaOne);
    if (rad > 0) AlterNeighbours(rad, winner, b, g, r);
    position += step;
    if (position >= pixels) position %= pixels;  // pictures smaller than a step wrap more than once
    if (i % delta == 0) {
      alpha -= alpha / alphadec;
      radius -= radius / 30;
      rad = radius < 2 * kRadiusOne ? 0 : radius / kRadiusOne;
      setRadPower();
    }
  }
}

int TNeuQuant::Contest(int b, int g, int r) {
  int bestd = 0x7FFFFFFF, bestbiasd = 0x7FFFFFFF, bestpos = 0, bestbiaspos = 0;
  for (int i = 0; i < netsize_; ++i) {
    const Neuron& n = network_[i];
    int dist = std::abs(n.b - b) + std::abs(n.g - g) + std::abs(n.r - r);
    if (dist < bestd) {
      bestd = dist;
      bestpos = i;
    }
    // Shifted as an unsigned value, so a bias gone negative weighs as a large one. At 256 colours
    // (every logo) this measures about as well as a signed shift; with 16 it is poorer.
    int biasdist = dist - static_cast<int>(static_cast<std::uint32_t>(bias_[i]) >> 12);
    if (biasdist < bestbiasd) {
      bestbiasd = biasdist;
      bestbiaspos = i;
    }
    int betafreq = freq_[i] >> 10;
    freq_[i] -= betafreq;
    bias_[i] += betafreq << 10;
  }
  freq_[bestpos] += kBeta;
  bias_[bestpos] -= kBetaGamma;
  return bestbiaspos;
}

void TNeuQuant::AlterNeighbours(int rad, int winner, int b, int g, int r) {
  int lo = std::max(winner - rad, -1), hi = std::min(winner + rad, netsize_);
  int j = winner + 1, k = winner - 1, m = 1;
  auto move = [&](Neuron& n, std::int64_t a) {
    n.b -= static_cast<std::int32_t>((n.b - b) * a / kAlphaRadBias);
    n.g -= static_cast<std::int32_t>((n.g - g) * a / kAlphaRadBias);
    n.r -= static_cast<std::int32_t>((n.r - r) * a / kAlphaRadBias);
  };
  while (j < hi || k > lo) {
    std::int64_t a = radpower_[m++];
    if (j < hi) move(network_[j++], a);
    if (k > lo) move(network_[k--], a);
  }
}

void TNeuQuant::BuildIndex() {
  const int maxnetpos = netsize_ - 1;
  int previous = 0, start = 0;
  for (int i = 0; i < netsize_; ++i) {
    int smallest = i;
    for (int j = i + 1; j < netsize_; ++j)
      if (network_[j].g < network_[smallest].g) smallest = j;
    std::swap(network_[i], network_[smallest]);
    int green = network_[i].g;
    if (green != previous) {
      netindex_[previous] = (start + i) / 2;
      for (int j = previous + 1; j < green; ++j) netindex_[j] = i;
      previous = green;
      start = i;
    }
  }
  netindex_[previous] = (start + maxnetpos) / 2;
  for (int j = previous + 1; j < 256; ++j) netindex_[j] = maxnetpos;
  for (const Neuron& n : network_) {
    sortedB_.push_back(n.b);
    sortedG_.push_back(n.g);
    sortedR_.push_back(n.r);
  }
}

namespace {

constexpr int kPlaceBits = 9;  // places run to 2 x 256

// The smallest key of distance, then place in the walk, over the sorted network's channels.
// Built for the wider vector units too, chosen when the program starts.
[[gnu::target_clones("avx512f", "avx2", "default")]] std::uint32_t SmallestKey(const std::int32_t* sortedB,
                                                                               const std::int32_t* sortedG,
                                                                               const std::int32_t* sortedR, int count,
                                                                               int start, int b, int g, int r) {
  std::uint32_t best = UINT32_MAX;
  for (int i = 0; i < count; ++i) {
    const int dist = std::abs(sortedB[i] - b) + std::abs(sortedG[i] - g) + std::abs(sortedR[i] - r);
    const int place = i >= start ? 2 * (i - start) : 2 * (start - 1 - i) + 1;
    best = std::min(best, static_cast<std::uint32_t>(dist << kPlaceBits | place));
  }
  return best;
}

}  // namespace

// The search walks outward from the pixel's green, up and down by turns, and keeps the first
// neuron of the smallest distance it meets; the walk stops on a side once the green alone is too
// far. Weighing every neuron with its place in that walk picks the same one, and runs without a
// branch: the key is distance, then place, so the smallest key is the walk's answer.
int TNeuQuant::Index(std::uint32_t pixel) const {
  const int b = pixel & 0xFF, g = (pixel >> 8) & 0xFF, r = (pixel >> 16) & 0xFF;
  const int start = netindex_[g];
  const std::uint32_t best = SmallestKey(sortedB_.data(), sortedG_.data(), sortedR_.data(), netsize_, start, b, g, r);
  const int place = static_cast<int>(best & ((1u << kPlaceBits) - 1));
  return network_[place % 2 == 0 ? start + place / 2 : start - 1 - place / 2].index;
}

std::unique_ptr<TNeuQuant> NeuQuantBuild(const PixelRows& source, std::uint8_t* colorMap, int quality, int colors) {
  return std::make_unique<TNeuQuant>(source, colorMap, quality, colors);
}
