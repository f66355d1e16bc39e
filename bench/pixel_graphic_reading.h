#pragma once
// Reading a picture file from memory into a fresh pixel image, once per benchmark iteration.
#include <benchmark/benchmark.h>

#include <string>

#include "graphics/pixel_graphic.h"

inline void ReadEachIteration(benchmark::State& state, const std::string& file) {
  TMemoryStream stream;
  stream.Write(file.data(), static_cast<std::int64_t>(file.size()));
  for (auto _ : state) {
    stream.SetPosition(0);
    TPixelGraphic image;
    image.LoadFromStream(&stream);
    benchmark::DoNotOptimize(image.GetBits());
  }
}
