// Reading and writing a large hive: 1000 keys of 10 values each (strings, numbers, bytes), as
// text and through the registry calls, which lock, re-read and rewrite the hive file.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "win32/registry.h"
#include "win32/registry_file.h"
#include "win32/testing/machine_root.h"

namespace {

registry::Key LargeHive() {
  registry::Key root{"HKEY_CURRENT_USER", {}, {}};
  registry::Key& software = root.AddSubKey("Software");
  for (int k = 0; k < 1000; ++k) {
    registry::Key& key = software.AddSubKey("Control " + std::to_string(k));
    for (int v = 0; v < 10; ++v) {
      const std::string name = "Value " + std::to_string(v);
      switch (v % 3) {
        case 0: {
          const std::string text = "C:\\My Documents\\logo " + std::to_string(k * 10 + v) + ".bmp";
          key.SetValue(name, REG_SZ, {text.begin(), text.end() + 1});
          break;
        }
        case 1: key.SetValue(name, REG_DWORD, {static_cast<BYTE>(k), static_cast<BYTE>(v), 0, 0}); break;
        default: key.SetValue(name, REG_BINARY, std::vector<BYTE>(40, static_cast<BYTE>(k)));
      }
    }
  }
  return root;
}

void ParseLargeHive(benchmark::State& state) {
  const std::string text = registry::FormatHive(LargeHive());
  for (auto _ : state) {
    auto result = registry::ParseHive(text, "HKEY_CURRENT_USER");
    if (result.error) state.SkipWithError(result.error->message.c_str());
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void FormatLargeHive(benchmark::State& state) {
  const registry::Key root = LargeHive();
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = registry::FormatHive(root);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// A machine whose current-user hive is the large one.
const ScopedMachineRoot& MachineWithLargeHive() {
  static const ScopedMachineRoot root;
  static const bool written = [] {
    std::filesystem::create_directories(root.Path() / "registry");
    std::ofstream(root.Path() / "registry" / "HKEY_CURRENT_USER.reg", std::ios::binary)
        << registry::FormatHive(LargeHive());
    return true;
  }();
  (void)written;
  return root;
}

void QueryEveryValue(benchmark::State& state) {
  MachineWithLargeHive();
  for (auto _ : state) {
    for (int k = 0; k < 1000; ++k) {
      HKEY key;
      const std::string path = "Software\\Control " + std::to_string(k);
      if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        state.SkipWithError("RegOpenKeyExA failed");
        return;
      }
      for (int v = 0; v < 10; ++v) {
        BYTE data[64];
        DWORD type = 0, size = sizeof data;
        const std::string name = "Value " + std::to_string(v);
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
          state.SkipWithError("RegQueryValueExA failed");
      }
      RegCloseKey(key);
    }
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void SetOneValue(benchmark::State& state) {
  MachineWithLargeHive();
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Control 500", 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
    state.SkipWithError("RegOpenKeyExA failed");
    return;
  }
  DWORD n = 0;
  for (auto _ : state) {
    ++n;
    if (RegSetValueExA(key, "Counter", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n) != ERROR_SUCCESS)
      state.SkipWithError("RegSetValueExA failed");
  }
  RegCloseKey(key);
}

}  // namespace

BENCHMARK(QueryEveryValue)->Name("registry_query_10000_values/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(SetOneValue)->Name("registry_set_value_in_large_hive/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(ParseLargeHive)->Name("registry_hive_parse/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(FormatLargeHive)->Name("registry_hive_format/ours")->Unit(benchmark::kMillisecond);
