#pragma once
// The table of open registry keys, shared by all threads. A handle names a key by its root and
// path, so it stays meaningful when another program rewrites the hive.
#include <optional>
#include <string>
#include <vector>

#include "hive_store.h"

namespace registry {

struct KeyRef {
  Root root;
  std::vector<std::string> path;  // names below the root, as stored when the key was opened
};

// The key of an open handle or of a predefined root; nothing for any other value.
std::optional<KeyRef> ResolveKeyHandle(HKEY handle);
HKEY AddKeyHandle(KeyRef key);
// Closes an open handle; the predefined roots stay open. False for an unknown handle.
bool CloseKeyHandle(HKEY handle);

}  // namespace registry
