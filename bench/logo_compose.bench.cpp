// The composer's default logo: texts, background and bar composed on the 640x400 work image,
// then saved as the startup logo (halved, median cut, dithered, written and replaced).
#include <benchmark/benchmark.h>

#include "composer/logo_composer.h"
#include "win32/testing/machine_root.h"

namespace {

const ScopedMachineRoot& Machine() {
  static const ScopedMachineRoot root;
  return root;
}

void ComposeAndSave(benchmark::State& state) {
  Machine();
  TLogoComposer composer;
  for (auto _ : state) {
    composer.RefreshTexts();
    composer.BuildAnimationPalette();
    composer.BuildBackground();
    composer.btLogoClick();
  }
}
BENCHMARK(ComposeAndSave)->Name("logo_compose_save/ours")->Unit(benchmark::kMillisecond);

void Compose(benchmark::State& state) {
  Machine();
  TLogoComposer composer;
  composer.RefreshTexts();
  composer.BuildAnimationPalette();
  for (auto _ : state) composer.BuildBackground();
}
BENCHMARK(Compose)->Name("logo_compose/ours")->Unit(benchmark::kMillisecond);

}  // namespace
