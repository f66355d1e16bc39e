// The registry's hive parser over hostile text. What it reads must also survive a round trip:
// formatting the tree and parsing that again gives the same tree, or a hive would change (or be
// set aside as malformed) just by being stored.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "win32/registry_file.h"

namespace {

bool SameTree(const registry::Key& a, const registry::Key& b) {
  if (a.name != b.name || a.values.size() != b.values.size() || a.subKeys.size() != b.subKeys.size()) return false;
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    const auto &x = a.values[i], &y = b.values[i];
    if (x.name != y.name || x.type != y.type || x.data != y.data) return false;
  }
  for (std::size_t i = 0; i < a.subKeys.size(); ++i)
    if (!SameTree(a.subKeys[i], b.subKeys[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto first = registry::ParseHive(text, "HKEY_CURRENT_USER");
  if (first.error) return 0;
  const std::string stored = registry::FormatHive(first.root);
  const auto second = registry::ParseHive(stored, "HKEY_CURRENT_USER");
  if (second.error) {
    std::fprintf(stderr, "formatted hive does not parse: line %zu: %s\n%s", second.error->line,
                 second.error->message.c_str(), stored.c_str());
    std::abort();
  }
  if (!SameTree(first.root, second.root)) {
    std::fprintf(stderr, "formatted hive parses to another tree:\n%s", stored.c_str());
    std::abort();
  }
  return 0;
}
