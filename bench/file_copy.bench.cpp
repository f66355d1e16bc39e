// Copying a large file: CopyFileA against the C++ library's copy, to a new file and over an
// existing one (which CopyFileA replaces atomically). compare/file_copy.sh times `cp` beside these.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr std::size_t kFileBytes = 128u << 20;

const ScopedMachineRoot& Machine() {
  static const ScopedMachineRoot root;
  static const bool written = [] {
    std::vector<char> bytes(kFileBytes);
    std::mt19937_64 random(1);
    for (auto& b : bytes) b = static_cast<char>(random());
    std::ofstream(root.DriveC() / "big.bin", std::ios::binary).write(bytes.data(), bytes.size());
    return true;
  }();
  (void)written;
  return root;
}

void CopyWithCopyFileA(benchmark::State& state, bool replace) {
  const auto target = Machine().DriveC() / "copy.bin";
  for (auto _ : state) {
    if (!replace) {
      state.PauseTiming();
      std::filesystem::remove(target);
      state.ResumeTiming();
    }
    if (!CopyFileA("C:\\big.bin", "C:\\copy.bin", FALSE)) state.SkipWithError("CopyFileA failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

void CopyWithLibrary(benchmark::State& state, bool replace) {
  const auto source = Machine().DriveC() / "big.bin";
  const auto target = Machine().DriveC() / "copy.bin";
  for (auto _ : state) {
    if (!replace) {
      state.PauseTiming();
      std::filesystem::remove(target);
      state.ResumeTiming();
    }
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

}  // namespace

BENCHMARK_CAPTURE(CopyWithCopyFileA, new, false)->Name("file_copy_new/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CopyWithLibrary, new, false)->Name("file_copy_new/libstdc++")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CopyWithCopyFileA, replace, true)->Name("file_copy_replace/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CopyWithLibrary, replace, true)->Name("file_copy_replace/libstdc++")->Unit(benchmark::kMillisecond);
