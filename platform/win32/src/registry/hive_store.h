#pragma once
// The hive files behind the registry calls: $STARTLOGO_ROOT/registry/<ROOT>.reg, each guarded by an
// advisory lock on <ROOT>.reg.lock, whose content also counts the writes so a changed hive is
// noticed even when its size and time look the same.
#include <functional>
#include <string_view>

#include "win32/registry_file.h"
#include "win32/types.h"

namespace registry {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users };

std::string_view RootName(Root root);

// Runs `work` on the hive's current tree while holding its lock. When `work` sets `changed` and
// succeeds, the tree is written back atomically before the lock is let go; `work` must leave the
// tree as it was when it fails. Returns what `work` returns, or the store's own error when the
// hive cannot be read or written.
LONG WithHive(Root root, const std::function<LONG(Key& tree, bool& changed)>& work);

}  // namespace registry
